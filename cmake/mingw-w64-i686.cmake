# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
# Its tests run under 32-bit Wine, through wine-run.sh.
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_PROCESSOR x86)
# x87 arithmetic rounds to 80 bits first and so gives other last bits than
# the SSE2 doubles of x86-64; printed digits would then differ.
set(MINGW_FLAGS "-msse2 -mfpmath=sse")
set(MINGW_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
