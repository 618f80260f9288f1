# What the two Windows toolchain files share; each sets first:
#   MINGW_TRIPLE      the compiler's target (i686-w64-mingw32, ...)
#   MINGW_PROCESSOR   CMAKE_SYSTEM_PROCESSOR
#   MINGW_FLAGS       code generation flags of its own
#   MINGW_WINE_ARCH   the Wine architecture its tests run under (wine-run.sh)
# The program is linked statically (no MinGW DLLs beside it) and its tests
# run under Wine, in a prefix of the build tree's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ library of MinGW-w64 turns on its own C99 printf and scanf
# (__USE_MINGW_ANSI_STDIO) rather than msvcrt's; it is stated here so that
# C sources get the same.
set(CMAKE_C_FLAGS_INIT "${MINGW_FLAGS} -D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "${MINGW_FLAGS} -D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${MINGW_WINE_ARCH};${CMAKE_BINARY_DIR}/wineprefix")
