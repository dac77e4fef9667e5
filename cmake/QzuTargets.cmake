# Helpers that keep the per-folder build files short: a folder's sources are
# picked up by globbing, so adding a file needs no edit of a shared list.

# qzu_add_folder_library(<folder> <dependencies>...)
# Builds <folder>/*.cpp into a static library named after the folder. A folder
# without sources yet gets no target; dependencies that are folder libraries
# without a target are skipped.
function(qzu_add_folder_library folder)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.c)
  # exe/ holds the folder's programs, modules/ its shared modules (built by
  # its folder.cmake).
  list(FILTER _sources EXCLUDE REGEX "/${folder}/(exe|modules)/")
  file(GLOB_RECURSE _qrc CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.qrc)
  if(NOT _sources)
    return()
  endif()
  add_library(${folder} STATIC ${_sources} ${_qrc})
  target_include_directories(${folder} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${folder} PUBLIC Threads::Threads)
  foreach(dep IN LISTS ARGN)
    if(dep MATCHES "::" OR TARGET ${dep})
      target_link_libraries(${folder} PUBLIC ${dep})
    endif()
  endforeach()
  if(EXISTS ${CMAKE_SOURCE_DIR}/${folder}/folder.cmake)
    include(${CMAKE_SOURCE_DIR}/${folder}/folder.cmake)
  endif()
endfunction()

# qzu_add_test_program(<name> LABELS <labels>... SOURCES <files>... LIBS <libs>... [QT])
# A GoogleTest program whose tests are registered one by one with CTest.
# QT marks widget tests: they run on the offscreen platform with their own HOME.
function(qzu_add_test_program name)
  cmake_parse_arguments(T "QT" "" "LABELS;SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  # Failed comparisons of texts show the text in every test file.
  target_compile_options(${name} PRIVATE "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/text_printer.h")
  set(_libs)
  foreach(dep IN LISTS T_LIBS)
    if(dep MATCHES "::" OR TARGET ${dep})
      list(APPEND _libs ${dep})
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE ${_libs} GTest::gtest GTest::gmock)
  if(T_QT)
    target_link_libraries(${name} PRIVATE qzu_qt_test_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set(_env "QZU_TEST_FIXTURES=${CMAKE_SOURCE_DIR}/tests/fixtures")
  if(T_QT)
    list(APPEND _env "QT_QPA_PLATFORM=offscreen" "QT_ENABLE_HIGHDPI_SCALING=0")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  # Each test above runs in a process of its own; this one runs the whole
  # program in one process, in a shuffled order, so that a test that leaves
  # state behind for the next one is caught. The order is fixed so that a
  # failure repeats; other orders: <program> --gtest_shuffle --gtest_repeat=N.
  # Not under ThreadSanitizer: a child that QProcess starts (a vfork-style
  # clone sharing the parent's memory) leaves the tool's signal state of the
  # parent broken, and later tests in that process receive no signals. The
  # plain and AddressSanitizer builds run it.
  if(NOT QZU_TSAN)
    add_test(NAME ${name}.WholeProgramShuffled COMMAND ${name} --gtest_shuffle --gtest_random_seed=4242)
    set_tests_properties(${name}.WholeProgramShuffled PROPERTIES TIMEOUT 900 LABELS "${T_LABELS}" ENVIRONMENT "${_env}")
  endif()
  # gtest_discover_tests flattens list-valued properties, so labels and the
  # environment are set by a file of our own, read after the discovered tests.
  set(_props "${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake")
  file(WRITE "${_props}"
       "if(DEFINED ${name}_TESTS)\n"
       "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${T_LABELS}\" ENVIRONMENT \"${_env}\")\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${_props}")
endfunction()
