#!/bin/bash
# The Windows version under Wine and Xvfb: the size of swarm-win.zip, and
# swarm.exe's start to its first picture at a few screen sizes, seen from
# outside (launch until the screen is no longer black), the median of RUNS;
# then, at each size, a measuring swarm.exe (SWARM_FRAME_STATS=ON, built in
# build-win-bench from the native build's data) in play: frame intervals,
# pictures per second, and the interval's ratio to the first size's.
#   bench/windows.sh [BUILD_WIN_DIR [RUNS [PLAY_SECONDS]]]  # build-win, 3, 8
#   BENCH_SIZES="640x480 1920x1080" bench/windows.sh
#   BENCH_KEEP=DIR bench/windows.sh   # keeps each size's frame statistics and a screenshot of its play
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
runs=${2:-3}
phase=${3:-8}
game="$(cd "$build" && pwd)/package/Swarm/swarm.exe"
[ -f "$game" ] || { echo "no $game: make windows first" >&2; exit 1; }
native=${BUILD:-build}
[ -f build-win-bench/CMakeCache.txt ] ||
    cmake -S . -B build-win-bench -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
        -DSWARM_TESTS=OFF -DSWARM_FRAME_STATS=ON -DSWARM_NATIVE_DATA_DIR="$(cd "$native" && pwd)/data" > /dev/null
cmake --build build-win-bench -j2 > /dev/null
measuring="$(cd build-win-bench && pwd)/data/swarm.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-bench-win-XXXXXX")
xvfb=""
cleanup() {
    WINEPREFIX=$work/prefix wineserver -k 2> /dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "swarm-win.zip: $(stat -c %s "$build/swarm-win.zip") bytes; swarm.exe (stripped): $(stat -c %s "$game") bytes"
# ALSA's null device: the game's sound path runs as with a sound card.
mkdir -p "$work/home"
printf 'pcm.!default { type null }\n' > "$work/home/.asoundrc"

now_ms() { date +%s%3N; }
# mean and 99th percentile of a column of numbers (as bench/run.sh)
summary() { sort -g | awk '{ v[NR] = $1; s += $1 } END { if (NR == 0) { print "- -"; exit } i = int(0.99 * NR); if (i < 1) i = 1; printf "%.2f %.2f\n", s / NR, v[i] }'; }
# The stats' frames between FROM and TO ms before the last frame (the
# stats' own clock: under Wine it is the performance counter, not the
# benchmark's), as "interval" or "work" per frame, or "rates": game frames
# and pictures per second.
frames_before_end() { # WHAT STATS FROM TO
    awk -v what="$1" -v from="$3" -v to="$4" '
        /^frame/ { n++; t[n] = $2; w[n] = $3; s[n] = $4 }
        END {
            a = t[n] - from; b = t[n] - to
            for (i = 1; i <= n; i++) {
                if (t[i] < a || t[i] > b) continue
                if (what == "work") print w[i]
                else if (what == "interval") { if (i > 1 && t[i - 1] >= a) print t[i] - t[i - 1] }
                else { k++; shown += s[i] }
            }
            if (what == "rates") printf "%.1f %.1f\n", k * 1000 / (b - a), shown * 1000 / (b - a)
        }' "$2"
}
# The measuring swarm.exe on the screen SIZE: skip the intro, start a game,
# hold Space for $phase seconds, Alt+F4. Prints: interval mean p99, work mean
# p99, game frames and pictures per second, start to first picture in ms.
play() { # SIZE
    local stats="$work/play.stats" window="" t2 t3 ta
    rm -f "$stats"
    HOME="$work/home" SWARM_FRAME_STATS="Z:${stats//\//\\}" wine "$measuring" > /dev/null 2>&1 &
    pid=$!
    for _ in $(seq 300); do
        window=$(xdotool search --name '^Swarm!$' 2> /dev/null | head -n1) && [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "no window of swarm.exe at $1" >&2; exit 1; }
    key() { xdotool windowfocus --sync "$window" "$@" 2> /dev/null || true; }
    sleep 1; key key a; sleep 3
    key key space
    sleep 5.5                     # fade and the ship's entry
    key keydown space
    t2=$(now_ms); sleep "$phase"; t3=$(now_ms)
    [ -z "${BENCH_KEEP:-}" ] || import -window root "$BENCH_KEEP/play-$1.png" 2> /dev/null || true
    key keyup space
    ta=$(now_ms)
    key key alt+F4
    wait "$pid" 2> /dev/null || true
    [ -s "$stats" ] || { echo "swarm.exe wrote no frame statistics at $1" >&2; exit 1; }
    [ -z "${BENCH_KEEP:-}" ] || cp "$stats" "$BENCH_KEEP/play-$1.stats"
    # The play phase on the stats' clock, counted back from the last frame
    # (Alt+F4): half a second off each end covers the keys' way in.
    local from=$((ta - t2 - 500)) to=$((ta - t3 + 500))
    echo "$(frames_before_end interval "$stats" "$from" "$to" | summary)" \
        "$(frames_before_end work "$stats" "$from" "$to" | summary)" \
        "$(frames_before_end rates "$stats" "$from" "$to")" \
        "$(awk '/^first_frame_ms/ { printf "%.0f", $2 }' "$stats")"
}
plays=()
for size in ${BENCH_SIZES:-640x480 1366x768 1920x1080}; do
    # Wine's programs (its desktop, the server) keep the screen they started
    # on: end them before the next size, or the game sees the old screen.
    wineserver -k 2> /dev/null || true
    wineserver -w 2> /dev/null || true
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
    plays+=("$size $(play "$size")")
done

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| screen | interval in play: mean / p99 | work: mean / p99 | game frames / s | pictures / s | interval mean / first size's | start to first picture (in the game) |"
echo "|---|---|---|---|---|---|---|"
base=""
for row in "${plays[@]}"; do
    read -r size im ip wm wp fps pps first <<< "$row"
    [ -n "$base" ] || base=$im
    awk -v size="$size" -v im="$im" -v ip="$ip" -v wm="$wm" -v wp="$wp" -v fps="$fps" -v pps="$pps" \
        -v first="$first" -v base="$base" 'BEGIN {
        printf "| %s | %s / %s ms | %s / %s ms | %s | %s | %.3f | %s ms |\n", size, im, ip, wm, wp, fps, pps, im / base, first }'
done
