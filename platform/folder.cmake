# The office engine drives LibreOffice over C++ UNO. Its type headers are not
# shipped: cppumaker generates the few it needs from the office's type
# libraries. Without the UNO development files the engine builds without an
# office, and every office operation fails.
set(QZU_OFFICE_PROGRAM_DIR /usr/lib/libreoffice/program CACHE PATH
    "The office's program folder: soffice.bin, fundamentalrc and the type libraries")
# OpenCC's dictionaries (STCharacters.ocd2, TSCharacters.ocd2) are read from
# its data folder at run time.
set(QZU_OPENCC_DATA_DIR /usr/share/opencc CACHE PATH "OpenCC's data folder")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/platform/office_process.cpp TARGET_DIRECTORY platform
             APPEND PROPERTY COMPILE_DEFINITIONS "QZU_OFFICE_PROGRAM_DIR=\"${QZU_OFFICE_PROGRAM_DIR}\"")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/platform/chinese_script_table.cpp TARGET_DIRECTORY platform
             APPEND PROPERTY COMPILE_DEFINITIONS "QZU_OPENCC_DATA_DIR=\"${QZU_OPENCC_DATA_DIR}\"")

# OpenCC (the Chinese script tables) is opened on its first use
# (platform/lazy_library.h) rather than linked: most runs map no script, and
# loading it and its trie library at every start cost about 1 ms. Only its
# headers are used at build time; the code opens the soname of the library
# that was found. (libcrypto stays linked: the settings store hashes the
# settings it loads at every start, so opening it later would save nothing.)
function(qzu_soname_of var library)
  execute_process(COMMAND ${CMAKE_READELF} -d ${library} OUTPUT_VARIABLE _dynamic RESULT_VARIABLE _failed)
  if(_failed OR NOT _dynamic MATCHES "Library soname: \\[([^]]+)\\]")
    message(FATAL_ERROR "Cannot read the soname of ${library}")
  endif()
  set(${var} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()
list(GET OPENCC_LINK_LIBRARIES 0 _qzu_opencc_library)
qzu_soname_of(_qzu_opencc_soname ${_qzu_opencc_library})
target_include_directories(platform SYSTEM PRIVATE ${OPENCC_INCLUDE_DIRS})
target_link_libraries(platform PUBLIC ${CMAKE_DL_LIBS})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/platform/chinese_script_table.cpp TARGET_DIRECTORY platform
             APPEND PROPERTY COMPILE_DEFINITIONS "QZU_OPENCC_LIBRARY=\"${_qzu_opencc_soname}\"")

find_program(QZU_CPPUMAKER cppumaker PATHS /usr/lib/libreoffice/sdk/bin NO_DEFAULT_PATH)
find_path(QZU_UNO_INCLUDE_DIR sal/config.h PATHS /usr/include/libreoffice NO_DEFAULT_PATH)
find_library(QZU_UNO_SAL uno_sal PATHS /usr/lib/libreoffice/sdk/lib NO_DEFAULT_PATH)
find_library(QZU_UNO_CPPU uno_cppu PATHS /usr/lib/libreoffice/sdk/lib NO_DEFAULT_PATH)
find_library(QZU_UNO_CPPUHELPER uno_cppuhelpergcc3 PATHS /usr/lib/libreoffice/sdk/lib NO_DEFAULT_PATH)
set(_qzu_types_rdb ${QZU_OFFICE_PROGRAM_DIR}/types.rdb)
set(_qzu_offapi_rdb ${QZU_OFFICE_PROGRAM_DIR}/types/offapi.rdb)

if(QZU_CPPUMAKER AND QZU_UNO_INCLUDE_DIR AND QZU_UNO_SAL AND QZU_UNO_CPPU AND QZU_UNO_CPPUHELPER
   AND EXISTS ${_qzu_types_rdb} AND EXISTS ${_qzu_offapi_rdb})
  set(_qzu_uno_out ${CMAKE_BINARY_DIR}/uno_headers)
  set(_qzu_uno_types
    com.sun.star.beans.PropertyValue
    com.sun.star.bridge.UnoUrlResolver
    com.sun.star.bridge.XUnoUrlResolver
    com.sun.star.connection.NoConnectException
    com.sun.star.container.XEnumeration
    com.sun.star.container.XEnumerationAccess
    com.sun.star.frame.Desktop
    com.sun.star.frame.XComponentLoader
    com.sun.star.frame.XDesktop2
    com.sun.star.frame.XModel
    com.sun.star.frame.XStorable
    com.sun.star.lang.XComponent
    com.sun.star.text.XText
    com.sun.star.text.XTextDocument
    com.sun.star.uno.XComponentContext
    com.sun.star.util.XCloseable
    com.sun.star.uno.DeploymentException)
  set(_qzu_uno_args)
  foreach(t IN LISTS _qzu_uno_types)
    list(APPEND _qzu_uno_args -T${t})
  endforeach()
  add_custom_command(
    OUTPUT ${_qzu_uno_out}/stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_qzu_uno_out}
    COMMAND ${QZU_CPPUMAKER} -Gc -O${_qzu_uno_out} ${_qzu_uno_args} ${_qzu_types_rdb} ${_qzu_offapi_rdb}
    COMMAND ${CMAKE_COMMAND} -E touch ${_qzu_uno_out}/stamp
    DEPENDS ${_qzu_types_rdb} ${_qzu_offapi_rdb} ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Generating UNO type headers"
    VERBATIM)
  add_custom_target(qzu_uno_headers DEPENDS ${_qzu_uno_out}/stamp)
  # The UNO side of the engine is a module of its own (platform/office_uno.h)
  # that the engine opens on its first start: linked into the program, the
  # UNO runtime and the office libraries it pulls in were loaded and
  # relocated at every start, for the few runs that read Word documents.
  add_library(qzu_office_uno MODULE ${CMAKE_SOURCE_DIR}/platform/modules/office_uno.cpp
              ${CMAKE_SOURCE_DIR}/platform/ticks.cpp)
  add_dependencies(qzu_office_uno qzu_uno_headers)
  add_dependencies(platform qzu_office_uno)
  target_include_directories(qzu_office_uno PRIVATE ${CMAKE_SOURCE_DIR})
  target_include_directories(qzu_office_uno SYSTEM PRIVATE ${_qzu_uno_out} ${QZU_UNO_INCLUDE_DIR})
  target_compile_definitions(qzu_office_uno PRIVATE LINUX UNX CPPU_ENV=gcc3)
  set_target_properties(qzu_office_uno PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(QZU_SANITIZE)
    # UNO's bridge makes its proxy objects' vtables at run time, without the
    # type information the sanitizer's vptr check reads.
    target_compile_options(qzu_office_uno PRIVATE -fno-sanitize=vptr)
  endif()
  target_link_libraries(qzu_office_uno PRIVATE ${QZU_UNO_CPPUHELPER} ${QZU_UNO_CPPU} ${QZU_UNO_SAL} Threads::Threads)
  # The UNO libraries load the office's private libraries from its program
  # folder, which is not on the system's library path.
  target_link_options(qzu_office_uno PRIVATE "LINKER:--no-undefined" "LINKER:-rpath-link,${QZU_OFFICE_PROGRAM_DIR}"
                      "LINKER:-rpath,${QZU_OFFICE_PROGRAM_DIR}")
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/platform/office_engine.cpp TARGET_DIRECTORY platform
               APPEND PROPERTY COMPILE_DEFINITIONS "QZU_OFFICE_UNO_MODULE=\"$<TARGET_FILE:qzu_office_uno>\"")
  message(STATUS "Office engine: LibreOffice over UNO")
else()
  message(STATUS "Office engine: no LibreOffice UNO development files; office operations will fail")
endif()
