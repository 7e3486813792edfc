#!/bin/bash
# The Windows version under Wine and Xvfb: the size of swarm-win.zip, and
# swarm.exe's start to its first picture at a few screen sizes, seen from
# outside (launch until the screen is no longer black), the median of RUNS.
#   bench/windows.sh [BUILD_WIN_DIR [RUNS]]     # default build-win, 3
#   BENCH_SIZES="640x480 1920x1080" bench/windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
runs=${2:-3}
game="$(cd "$build" && pwd)/package/Swarm/swarm.exe"
[ -f "$game" ] || { echo "no $game: make windows first" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-bench-win-XXXXXX")
xvfb=""
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2> /dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all

echo "swarm-win.zip: $(stat -c %s "$build/swarm-win.zip") bytes; swarm.exe (stripped): $(stat -c %s "$game") bytes"

now_ms() { date +%s%3N; }
for size in ${BENCH_SIZES:-640x480 1366x768 1920x1080}; do
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null && wait "$xvfb" 2> /dev/null
    rm -f "$work/display"
    mkfifo "$work/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3> "$work/display" 2> /dev/null &
    xvfb=$!
    read -r number < "$work/display"
    export DISPLAY=":$number"
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot --init > /dev/null 2>&1; wineserver -w; }
    times=()
    for _ in $(seq "$runs"); do
        start=$(now_ms)
        wine "$game" > /dev/null 2>&1 &
        pid=$!
        while :; do
            lit=$(xwd -root -silent 2> /dev/null | convert xwd:- -format '%[fx:int(1000*maxima)]' info: 2> /dev/null || true)
            [ -n "$lit" ] && [ "$lit" != 0 ] && break
            kill -0 "$pid" 2> /dev/null || { echo "swarm.exe ended before a picture" >&2; exit 1; }
            sleep 0.02
        done
        times+=($(($(now_ms) - start)))
        kill "$pid" 2> /dev/null
        wait "$pid" 2> /dev/null || true
    done
    sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    echo "$size: start to first picture ${sorted[$((runs / 2))]} ms (runs: ${times[*]})"
done
