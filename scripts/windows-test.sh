#!/bin/sh
# Builds fravlin.exe for 32-bit Windows and runs all its tests under Wine:
#   scripts/windows-test.sh
# It installs nothing (scripts/install-windows-deps does). It leaves
#   build-windows/fravlin.exe  the program, linked statically
#   build-windows/             the cross build and its unit tests
#   build-windows/wineprefix   the Wine prefix the tests run in
#   build-windows/host/        the Linux build that runs fravlin.exe end to
#                              end and against the Linux fravlin
# and exits non-zero when a build step or a test fails.
#
# 32-bit Wine needs a kernel that runs 32-bit Linux programs. Where it
# cannot, the 32-bit program is still built, and the tests run on the same
# source built for 64-bit Windows, under 64-bit Wine, in build-windows64/.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build-windows -j2

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    arch=win32
    build=$root/build-windows
else
    arch=win64
    build=$root/build-windows64
    echo "+ this kernel does not run 32-bit Linux programs, so 32-bit Wine cannot start:"
    echo "+ build-windows/fravlin.exe is built; its tests run on the 64-bit Windows build"
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
    cmake --build "$build" -j2
fi
run_under_wine="$root/cmake/wine-run.sh $arch $build/wineprefix"

cmake -S . -B "$build/host" -DCMAKE_BUILD_TYPE=Release \
    -DFRAVLIN_EXE_UNDER_TEST="$build/fravlin.exe" \
    "-DFRAVLIN_EMULATOR=$root/cmake/wine-run.sh;$arch;$build/wineprefix"
cmake --build "$build/host" -j2

# Wine can fail to start and still exit 0 without a word: the program must
# be seen to run before any test result counts.
echo "+ fravlin.exe on the example spectra under Wine ($arch)"
transcript=$(cd examples && printf 'response.txt\nexcitation.txt\n' | $run_under_wine "$build/fravlin.exe")
case $transcript in
*"number of points   = 801"*"Press any key to exit."*) echo "fravlin.exe runs under Wine" ;;
*)
    echo "fravlin.exe did not run under Wine; it printed:" >&2
    echo "$transcript" >&2
    exit 1
    ;;
esac
rm -f examples/complex.out examples/magnitude_phase.out

# One Wine server for all the tests, ended when this script ends. Wine's own
# server quits 3 s after its last program, and a program that starts just
# then can lose its connection ("wine client error ... Connection reset").
# The first program under a new server starts Wine's background services,
# which live as long as the server and keep the standard output they were
# given: a program run with nothing attached starts them, or CTest would
# wait for them to close its pipe.
wine_server() {
    WINEARCH=$arch WINEPREFIX="$build/wineprefix" WINEDEBUG=-all wineserver "$@"
}
wine_server -w
wine_server -p
trap 'wine_server -k' EXIT
$run_under_wine cmd.exe /c exit </dev/null >/dev/null 2>&1

# Wine itself now and then fails a program at its start or exit (a crash
# in Wine's own code, seen once in many runs); a test gets a second try for
# that, and a test that fails twice fails the run.
status=0
ctest --test-dir "$build" --output-on-failure -j2 --no-tests=error --repeat until-pass:2 || status=1
ctest --test-dir "$build/host" --output-on-failure -j2 --no-tests=error --repeat until-pass:2 || status=1
exit $status
