include(GoogleTest)

# Tests run as Windows programs under Wine through this wrapper (see cmake/wine-run.sh.in).
if(CMAKE_CROSSCOMPILING)
  set(QUILLET_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()

# quillet_gtest(<folder> <target> SOURCES ... [LIBS ...] [DESKTOP])
# One gtest program per source folder; each TEST becomes a ctest test named <folder>.<Suite>.<Test>.
# DESKTOP marks tests that use the foreground, clipboard, hot keys or the program's registry key:
# they share one lock and never run at the same time.
function(quillet_gtest folder target)
  cmake_parse_arguments(ARG "DESKTOP" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} quillet_testsupport gmock gtest)
  target_compile_options(${target} PRIVATE ${QUILLET_WARNINGS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_link_options(${target} PRIVATE -municode)
  gtest_add_tests(TARGET ${target} TEST_PREFIX "${folder}." SOURCES ${ARG_SOURCES} TEST_LIST added)
  set_tests_properties(${added} PROPERTIES
    TIMEOUT 180
    FAIL_REGULAR_EXPRESSION "Unhandled (exception|page fault)")
  if(ARG_DESKTOP)
    set_tests_properties(${added} PROPERTIES RESOURCE_LOCK desktop LABELS desktop)
  endif()
endfunction()
