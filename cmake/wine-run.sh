#!/bin/sh
# Runs a 32-bit Windows program under Wine:
#   cmake/wine-run.sh PREFIX PROGRAM.exe [ARGUMENT...]
# PREFIX is a Wine prefix of the build tree's own (build-windows/wineprefix),
# made on first use. Its creation is serialised, since CTest starts several
# tests at once, and kept out of the program's output. Exits with the
# program's status.
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 PREFIX PROGRAM [ARGUMENT...]" >&2
    exit 2
fi
prefix=$1
shift

export WINEARCH=win32 WINEPREFIX="$prefix" WINEDEBUG=-all
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
            if ! wineboot --init >"$prefix.log" 2>&1 || ! wineserver --wait \
                || [ ! -f "$prefix/system.reg" ] || [ ! -d "$prefix/drive_c/windows" ]; then
                echo "$0: could not create the Wine prefix $prefix; see $prefix.log" >&2
                exit 1
            fi
            touch "$prefix/.ready"
        fi
    ) 9>"$prefix.lock"
fi
exec wine "$@"
