# Drive labels are changed through UDisks2 over D-Bus
# (foldertree/drive_label_udisks.cpp).
find_package(Qt6 REQUIRED COMPONENTS DBus)
target_link_libraries(foldertree PUBLIC Qt6::DBus)
