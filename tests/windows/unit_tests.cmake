# The unit tests as a Windows program. CTest runs each test through
# CMAKE_CROSSCOMPILING_EMULATOR (Wine). A Wine that fails to start can end
# with status 0 and no output, so a test passes only on GoogleTest's own
# report of it.
#
# MinGW's C library has no fmemopen; the tests that read from memory get a
# stand-in, included ahead of every source.
target_sources(unit_tests PRIVATE windows/fmemopen.cpp)
target_compile_options(unit_tests PRIVATE -include ${CMAKE_CURRENT_SOURCE_DIR}/windows/fmemopen.h)
gtest_add_tests(TARGET unit_tests TEST_LIST unit_test_names)
set_tests_properties(${unit_test_names} PROPERTIES
  PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test\\."
  SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\] 1 test,"
  TIMEOUT 300)
