# Window procedures are set by name at run time (dlopen of the program itself
# and dlsym): every program that links the framework exports that setter.
target_link_options(framework INTERFACE "LINKER:--export-dynamic-symbol=QzuSetWindowProc")
