# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The program ships as a 32-bit build (mingw-w64-i686.cmake). This one runs
# the same Windows code under 64-bit Wine, on hosts whose kernel cannot run
# the 32-bit Wine loader.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_PROCESSOR AMD64)
# x86-64 does its double arithmetic in SSE2 already.
set(MINGW_FLAGS "")
set(MINGW_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
