#!/bin/sh
# Runs the Windows programs of the tests under Wine, on an Xvfb display of
# their own, in one Wine prefix per test run.
#   tests/windows/wine.sh session COMMAND [ARGS...]
#       makes the prefix (or uses $SWARM_WINEPREFIX, made when missing and
#       kept) and the display, runs COMMAND with them, then stops Wine and
#       Xvfb and removes a prefix of its own; COMMAND's status is the status.
#   tests/windows/wine.sh run PROGRAM.exe [ARGS...]
#       runs one program in the session around it, or in a session of its own.
# A session stops every Wine program of its prefix as it ends, so sessions that
# share one $SWARM_WINEPREFIX must not overlap: run ctest -j1 then, or run
# ctest itself in a session (then its tests share it).
# Wine never looks for Mono or Gecko, and says nothing of its own on
# standard error (WINEDEBUG=-all; set SWARM_WINEDEBUG to see it).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
what=${1:-}
[ $# -gt 0 ] && shift

case $what in
run)
    if [ -n "${SWARM_WINE_SESSION:-}" ]; then
        exec wine "$@"
    fi
    exec "$here/wine.sh" session "$here/wine.sh" run "$@"
    ;;
session) ;;
*)
    echo "usage: $0 session COMMAND [ARGS...] | run PROGRAM.exe [ARGS...]" >&2
    exit 2
    ;;
esac

work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-wine-XXXXXX")
xvfb=""
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -n "${SWARM_WINEPREFIX:-}" ]; then
    mkdir -p "$SWARM_WINEPREFIX"
    WINEPREFIX=$(cd "$SWARM_WINEPREFIX" && pwd)
else
    WINEPREFIX=$work/prefix
fi
export WINEPREFIX
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${SWARM_WINEDEBUG:--all}

# Xvfb picks a free display and names it on the pipe once it is ready.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
read -r number <"$work/display" || {
    cat "$work/xvfb.log" >&2
    exit 1
}
export DISPLAY=":$number"

# A new prefix is made once; wineserver -w returns when it is all written.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init >"$work/wineboot.log" 2>&1 || {
        cat "$work/wineboot.log" >&2
        exit 1
    }
    wineserver -w
fi

export SWARM_WINE_SESSION=1
status=0
"$@" || status=$?
exit $status
