# GoogleTest for the Windows build: compiled from Debian's sources (package
# googletest) with the cross compiler, since no Windows build of it is
# packaged. Its own warnings are not ours to fix.
set(FRAVLIN_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built with the target's compiler")
set(BUILD_GMOCK OFF)
set(INSTALL_GTEST OFF)
add_subdirectory(${FRAVLIN_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
