#!/bin/sh
# Runs a Windows program under Wine:
#   cmake/wine-run.sh ARCH PREFIX PROGRAM.exe [ARGUMENT...]
# ARCH is win32 for the 32-bit build (32-bit Wine, whose loader is a 32-bit
# Linux program) or win64 for the 64-bit build (64-bit Wine). PREFIX is a
# Wine prefix of the build tree's own (build-windows/wineprefix), made on
# first use. Its creation is serialised, since CTest starts several tests at
# once, and kept out of the program's output. Exits with the program's
# status.
set -eu
if [ $# -lt 3 ]; then
    echo "usage: $0 win32|win64 PREFIX PROGRAM [ARGUMENT...]" >&2
    exit 2
fi
arch=$1
prefix=$2
shift 2
case $arch in
win32) wine=wine ;;
# Debian's wine64 package leaves its loader off PATH.
win64) wine=$(command -v wine64 || echo /usr/lib/wine/wine64) ;;
*)
    echo "$0: unknown architecture $arch" >&2
    exit 2
    ;;
esac

export WINEARCH=$arch WINEPREFIX="$prefix" WINEDEBUG=-all
# A console program needs no display; without one, Wine opens no window and
# asks for no Mono or Gecko download while it sets the prefix up.
unset DISPLAY WAYLAND_DISPLAY
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ ! -e "$prefix/.ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -e "$prefix/.ready" ]; then
            rm -rf "$prefix"
            if ! "$wine" wineboot --init >"$prefix.log" 2>&1 || ! wineserver --wait \
                || [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/drive_c/windows" ]; then
                echo "$0: could not create the Wine prefix $prefix; see $prefix.log" >&2
                exit 1
            fi
            touch "$prefix/.ready"
        fi
    ) 9>"$prefix.lock"
fi
exec "$wine" "$@"
