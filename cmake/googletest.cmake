# GoogleTest: the installed package natively; built from Debian's sources when
# cross-compiling (it defines the same GTest:: targets), linked statically so the test
# programs run under Wine or qemu with no libraries beside them.
if(CMAKE_CROSSCOMPILING)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KESTRUM_TEST_LINK_OPTIONS -static)
  # Warnings are errors in our code, not in GoogleTest's: GCC 12 at -O2 warns of an overlap
  # in its string code that cannot happen (GCC bug 105329).
  set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
  # MinGW's Win32-thread C++ library of GCC 12 has no std::mutex, of which GoogleTest
  # makes one small class; GoogleTest and every test then take ours from tests/gtest_port.
  include(CheckCXXSourceCompiles)
  check_cxx_source_compiles("#include <mutex>\nstd::mutex m;\nint main() {}" KESTRUM_HAS_STD_MUTEX)
  if(NOT KESTRUM_HAS_STD_MUTEX)
    target_include_directories(gtest BEFORE PUBLIC
                               $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/tests/gtest_port>)
  endif()
else()
  find_package(GTest REQUIRED)
  set(KESTRUM_TEST_LINK_OPTIONS)
endif()
include(GoogleTest)

# kestrum_add_test(name sources...): a GoogleTest program, each case a CTest test.
# Where Wine cannot run the program, it is still built and its run is reported as skipped,
# with the reason the configure step found (wine_probe.cmake).
function(kestrum_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  target_link_options(${name} PRIVATE ${KESTRUM_TEST_LINK_OPTIONS})
  if(KESTRUM_WINE_UNUSABLE)
    add_test(NAME ${name}.UnderWine
             COMMAND sh -c "cat \"$1\"; exit 77" sh ${CMAKE_BINARY_DIR}/wine-probe.txt)
    set_tests_properties(${name}.UnderWine PROPERTIES SKIP_RETURN_CODE 77)
    return()
  endif()
  # The timeout only ends a test that hangs: identify's cases take half a minute under
  # ASan, and several times that under qemu or on a loaded machine.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 300)
endfunction()
