# End-to-end tests of a Windows build of fravlin, driven from a Linux build:
#   cmake -S . -B build-windows/host \
#     -DFRAVLIN_EXE_UNDER_TEST=/path/to/build-windows/fravlin.exe \
#     "-DFRAVLIN_EMULATOR=/path/to/cmake/wine-run.sh;win32;/path/to/build-windows/wineprefix"
# FRAVLIN_EMULATOR is the command, with its arguments, that the program is
# run with. test_run.cpp and test_input_warnings.cpp run with the Linux
# expectations, the Windows program's CR LF line ends turned into LF first.
# test_same_results.cpp runs this build's Linux fravlin beside it on the
# same inputs; the two must agree byte for byte. The key wait on a terminal
# (test_key_wait.cpp) has no counterpart here.
find_package(GTest REQUIRED)
include(GoogleTest)

if(NOT FRAVLIN_EMULATOR)
  message(FATAL_ERROR "FRAVLIN_EMULATOR: the command that runs ${FRAVLIN_EXE_UNDER_TEST}")
endif()
# As C string literals, one per argument: "a","b"
list(TRANSFORM FRAVLIN_EMULATOR PREPEND "\"" OUTPUT_VARIABLE emulator_argv)
list(TRANSFORM emulator_argv APPEND "\"")
list(JOIN emulator_argv "," emulator_argv)

add_executable(windows_run_tests
  test_run.cpp
  test_input_warnings.cpp
  program.cpp
  windows/test_same_results.cpp)
target_link_libraries(windows_run_tests PRIVATE fravlin_core GTest::gtest_main)
target_include_directories(windows_run_tests PRIVATE ${PROJECT_SOURCE_DIR}/examples ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(windows_run_tests PRIVATE
  FRAVLIN_EXE="${FRAVLIN_EXE_UNDER_TEST}"
  "FRAVLIN_EMULATOR_ARGV=${emulator_argv}"
  FRAVLIN_WINDOWS_PROGRAM=1
  FRAVLIN_LINUX_EXE="$<TARGET_FILE:fravlin>"
  FRAVLIN_EXAMPLES="${PROJECT_SOURCE_DIR}/examples")
add_dependencies(windows_run_tests fravlin)
gtest_discover_tests(windows_run_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 900)
