# The unit tests as a Windows program, with the Windows console layer's own
# tests added. CTest runs them through CMAKE_CROSSCOMPILING_EMULATOR (Wine),
# and lists them the same way when the tests start. A Wine that fails to
# start can end with status 0 and no output, so a test passes only on
# GoogleTest's own report of it.
#
# MinGW's C library has no fmemopen; the tests that read from memory get a
# stand-in, included ahead of every source.
target_sources(unit_tests PRIVATE
  windows/test_support.cpp
  windows/test_platform_windows.cpp
  windows/test_console_names.cpp
  ${PROJECT_SOURCE_DIR}/src/fravlin/platform_windows.cpp
  ${PROJECT_SOURCE_DIR}/src/fravlin/name_input_windows.cpp)
target_compile_options(unit_tests PRIVATE -include ${CMAKE_CURRENT_SOURCE_DIR}/windows/fmemopen.h)
gtest_discover_tests(unit_tests
  DISCOVERY_MODE PRE_TEST
  DISCOVERY_TIMEOUT 300
  PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
    SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\] 1 test,"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
    TIMEOUT 300)
