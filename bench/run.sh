#!/bin/bash
# Benchmarks: replay throughput, then, side by side in one run under Xvfb at
# 640 x 480, 1280 x 720, 1366 x 768, 1920 x 1080 and 2560 x 1440 in both
# scaling modes: the real game (frame work and intervals on the title and in
# play, pictures shown per second, CPU, peak memory, start-up), the floor
# (swarm-floor: the game's present and pacing drawing nothing) and a peer
# (Debian's chromium-bsu, frames counted by a preloaded swap counter); then
# the game at each size in its default mode with one core kept busy by
# stress-ng: game frames and pictures per second of real time. Prints
# Markdown tables. Uses a measuring build of the game (SWARM_FRAME_STATS=ON)
# in build-bench; installs what it needs (scripts/install-deps.sh bench).
#   bench/run.sh [--repeat N] [SECONDS_PER_PHASE]     # default 1, 8
# --repeat runs the game N times at each size and scaling: the row shows the
# run with the fewest pictures a second, and the fewest and most of them.
# The environment reaches every program measured (LP_NUM_THREADS, say).
set -euo pipefail
cd "$(dirname "$0")/.."
repeat=1
if [ "${1:-}" = --repeat ]; then repeat=$2; shift 2; fi
phase=${1:-8}
build=build-bench
scripts/install-deps.sh bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWARM_FRAME_STATS=ON -DSWARM_TESTS=OFF > /dev/null
cmake --build "$build" -j2 > /dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-bench-XXXXXX")
xvfb_pid=""; app_pid=""
trap '[ -n "$app_pid" ] && kill $app_pid 2>/dev/null; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
tck=$(getconf CLK_TCK)
game=$(realpath "$build/swarm")
floor=$(realpath "$build/bench/swarm-floor")
counter=$(realpath "$build/bench/swap_count.so")
peer=/usr/games/chromium-bsu

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# --- Replay throughput on a busy play scene. ---
out=$("$build/tools/replay/swarm-replay" --data "$build/data" --frames 20000 --keys bench/busy.keys --bench 2>&1 >/dev/null)
pps=$(sed -n 's/.*passes\/s \([0-9]*\).*/\1/p' <<< "$out")
rmem=$(sed -n 's/.*peak memory \([0-9.]*\) MB.*/\1/p' <<< "$out")

monotonic_ms() { python3 -c 'import time; print("%.3f" % (time.monotonic() * 1000))'; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat" 2>/dev/null || echo 0; }
# Percent of one core the program used over the next $1 seconds.
cpu_share() {
    local a b; a=$(cpu_ticks); sleep "$1"; b=$(cpu_ticks)
    awk -v d=$((b - a)) -v s="$1" -v t="$tck" 'BEGIN { printf "%.0f", 100 * d / (s * t) }'
}
# mean and 99th percentile of a column of numbers
summary() { sort -g | awk '{ v[NR] = $1; s += $1 } END { if (NR == 0) { print "- -"; exit } i = int(0.99 * NR); if (i < 1) i = 1; printf "%.2f %.2f\n", s / NR, v[i] }'; }
# Frame intervals or work ("interval"|"work") of a stats file between two
# monotonic times.
frames_between() {
    awk -v what="$1" -v from="$3" -v to="$4" '
        /^clock_start_ms/ { base = $2 }
        /^frame/ { t = base + $2; if (t >= from && t <= to) { if (what == "work") print $3; else if (have) print $2 - prev; have = 1 } else have = 0; prev = $2 }' "$2"
}
# Game frames and pictures shown per second of real time between two
# monotonic times.
rates_between() { # STATS FROM TO
    awk -v from="$2" -v to="$3" '
        /^clock_start_ms/ { base = $2 }
        /^frame/ { t = base + $2; if (t >= from && t <= to) { n++; shown += $4 } }
        END { s = (to - from) / 1000; printf "%.1f %.1f\n", n / s, shown / s }' "$1"
}
# Times between the starts of frames that put a picture on the screen,
# between two monotonic times; a frame after which a present thread swapped
# two pictures counts the second as 0 ms after the first.
picture_intervals() { # STATS FROM TO
    awk -v from="$2" -v to="$3" '
        /^clock_start_ms/ { base = $2 }
        /^frame/ && $4 >= 1 { t = base + $2; if (t >= from && t <= to) { if (have) print $2 - prev; for (k = 1; k < $4; k++) print 0; have = 1; prev = $2 } }' "$1"
}

start_xvfb() { # WIDTHxHEIGHT
    exec 5> "$work/displayfd"
    Xvfb -displayfd 5 -screen 0 "${1}x24" -nolisten tcp -noreset > /dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/displayfd" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$work/displayfd")"
    exec 5>&-
}
stop_xvfb() { kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true; xvfb_pid=""; rm -f "$work/displayfd"; }
wait_window() { for _ in $(seq 100); do xdotool search --name "$1" > /dev/null 2>&1 && return; sleep 0.1; done; }
end_app() { kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; app_pid=""; }

# The game: skip the intro, the title for a phase, start a game, hold Space
# for a phase, Alt+F4. Prints: title interval mean p99, play interval mean
# p99, work mean p99 (both phases), CPU title play, start-up, memory, game
# frames and pictures per second in play, picture interval mean p99 in play.
run_game() { # SCALE
    rm -rf "$work/game"; mkdir -p "$work/game"
    while read -r name; do cp "$build/data/$name" "$work/game/"; done < "$build/data-files.txt"
    (cd "$work/game" && SWARM_FRAME_STATS="$work/game.stats" exec "$game" --scale "$1") > /dev/null 2>&1 &
    app_pid=$!
    wait_window '^Swarm!$'
    sleep 1; xdotool key a; sleep 3
    local t0 t1 t2 t3 title play
    t0=$(monotonic_ms); title=$(cpu_share "$phase"); t1=$(monotonic_ms)
    xdotool key space
    sleep 5.5                     # fade and the ship's entry
    xdotool keydown space
    t2=$(monotonic_ms); play=$(cpu_share "$phase"); t3=$(monotonic_ms)
    xdotool keyup space
    xdotool key alt+F4
    wait "$app_pid" || true; app_pid=""
    local s="$work/game.stats"
    cat "$s" >> "$work/all-game.stats"
    echo "$(frames_between interval "$s" "$t0" "$t1" | summary) $(frames_between interval "$s" "$t2" "$t3" | summary)" \
        "$( (frames_between work "$s" "$t0" "$t1"; frames_between work "$s" "$t2" "$t3") | summary)" \
        "$title $play $(awk '/^first_frame_ms/ { printf "%.0f", $2 }' "$s")" \
        "$(awk '/^peak_memory_kb/ { printf "%.1f", $2 / 1024 }' "$s")" \
        "$(rates_between "$s" "$t2" "$t3")" "$(picture_intervals "$s" "$t2" "$t3" | summary)"
}

# The floor at the same scale: interval mean p99, work mean p99, CPU.
run_floor() { # SCALE
    (cd "$work/game" && SWARM_FRAME_STATS="$work/floor.stats" exec "$floor" --scale "$1" $((phase + 60))) > /dev/null 2>&1 &
    app_pid=$!
    wait_window '^Swarm!$'
    sleep 1
    local t0 t1 cpu
    t0=$(monotonic_ms); cpu=$(cpu_share "$phase"); t1=$(monotonic_ms)
    end_app                       # SDL turns the signal into a quit: it writes its stats
    cat "$work/floor.stats" >> "$work/all-floor.stats"
    echo "$(frames_between interval "$work/floor.stats" "$t0" "$t1" | summary)" \
        "$(frames_between work "$work/floor.stats" "$t0" "$t1" | summary) $cpu"
}

# The peer in its 640 x 480 mode, in play (Return starts a game from its
# menu): frames per second and CPU.
run_peer() {
    mkdir -p "$work/home"
    HOME="$work/home" LD_PRELOAD="$counter" SWAP_COUNT_FILE="$work/swaps" "$peer" -f -na -v 1 > /dev/null 2>&1 &
    app_pid=$!
    wait_window 'Chromium'
    sleep 3; xdotool key Return; sleep 3
    local n0 n1 cpu
    n0=$(wc -l < "$work/swaps"); cpu=$(cpu_share "$phase"); n1=$(wc -l < "$work/swaps")
    end_app
    awk -v n=$((n1 - n0)) -v s="$phase" -v c="$cpu" 'BEGIN { printf "%.1f %s\n", n / s, c }'
}

games=(); floors=(); peers=()
# BENCH_CONFIGS="640x480 auto,1920x1080 fill" measures only those.
IFS=, read -r -a configs <<< "${BENCH_CONFIGS:-640x480 auto,1280x720 auto,1280x720 fill,1366x768 auto,1366x768 integer,1920x1080 auto,1920x1080 fill,2560x1440 auto,2560x1440 fill}"
for config in "${configs[@]}"; do
    read -r size scale <<< "$config"
    start_xvfb "$size"
    # The run with the fewest pictures a second, and the fewest and most.
    g=""; fewest=""; most=""
    for _ in $(seq "$repeat"); do
        r=$(run_game "$scale")
        echo "raw: $size $scale | game $r" >&2
        n=$(awk '{ print $12 }' <<< "$r")
        if [ -z "$g" ] || awk -v a="$n" -v b="$fewest" 'BEGIN { exit !(a < b) }'; then g=$r; fewest=$n; fi
        if [ -z "$most" ] || awk -v a="$n" -v b="$most" 'BEGIN { exit !(a > b) }'; then most=$n; fi
    done
    f=$(run_floor "$scale"); p=$(run_peer)
    stop_xvfb
    games+=("$size $scale $g $most"); floors+=("$f"); peers+=("$p")
    echo "raw: $size $scale | floor $f | peer $p" >&2
done

# The game in its default mode at each size with one core busy elsewhere.
loaded=()
# BENCH_LOADED="" measures none.
IFS=, read -r -a sizes <<< "${BENCH_LOADED-1280x720,1366x768,1920x1080,2560x1440}"
for size in ${sizes[@]+"${sizes[@]}"}; do
    [ -n "$size" ] || continue
    start_xvfb "$size"
    stress-ng --cpu 1 --timeout 600 > /dev/null 2>&1 &
    stress_pid=$!
    g=$(run_game auto)
    kill "$stress_pid"; wait "$stress_pid" 2>/dev/null || true
    stop_xvfb
    loaded+=("$size $g")
    echo "raw loaded: $size | game $g" >&2
done

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "Replay throughput, busy play (20,000 passes): $pps passes/s; replay peak memory $rmem MB"
echo
echo "| screen, scaling | game interval title: mean / p99 | game interval play: mean / p99 | game work: mean / p99 | pictures / s (play), fewest / most of $repeat | picture interval (play): mean / p99 | game CPU title / play | floor interval: mean / p99 | floor work: mean / p99 | floor CPU | peer fps / CPU | game / floor CPU (play) | game / peer CPU per frame (play) | start-up | game peak memory |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
for i in "${!games[@]}"; do
    read -r size scale tm tp pm pp wm wp ct cp first mem fps pps im ip most <<< "${games[$i]}"
    read -r fm fp fwm fwp fc <<< "${floors[$i]}"
    read -r pf pc <<< "${peers[$i]}"
    awk -v size="$size" -v scale="$scale" -v tm="$tm" -v tp="$tp" -v pm="$pm" -v pp="$pp" -v wm="$wm" -v wp="$wp" \
        -v ct="$ct" -v cp="$cp" -v first="$first" -v mem="$mem" -v fm="$fm" -v fp="$fp" -v fwm="$fwm" -v fwp="$fwp" \
        -v fc="$fc" -v pf="$pf" -v pc="$pc" -v pps="$pps" -v most="$most" -v im="$im" -v ip="$ip" 'BEGIN {
        # CPU per frame in ms: share of a core x the frame interval
        gpf = cp / 100 * pm; ppf = pf > 0 ? pc / 100 * 1000 / pf : 0
        floorRatio = fc > 0 ? cp / fc : 0; peerRatio = ppf > 0 ? gpf / ppf : 0
        printf "| %s %s | %s / %s ms | %s / %s ms | %s / %s ms | %s / %s | %s / %s ms | %s%% / %s%% | %s / %s ms | %s / %s ms | %s%% | %s / %s%% | %.2f | %.2f (%.1f / %.1f ms) | %s ms | %s MB |\n", size, scale, tm, tp, pm, pp, wm, wp, pps, most, im, ip, ct, cp, fm, fp, fwm, fwp, fc, pf, pc, floorRatio, peerRatio, gpf, ppf, first, mem }'
done
echo
echo "With one core busy (stress-ng --cpu 1), default scaling, in play:"
echo
echo "| screen | game frames / s | pictures / s | interval: mean / p99 | picture interval: mean / p99 | game CPU |"
echo "|---|---|---|---|---|---|"
for row in ${loaded[@]+"${loaded[@]}"}; do
    read -r size tm tp pm pp wm wp ct cp first mem fps pps im ip <<< "$row"
    echo "| $size | $fps | $pps | $pm / $pp ms | $im / $ip ms | $cp% |"
done
echo
# How late the pacing sleeps woke (clock_nanosleep to an absolute deadline),
# over every sleep of the game and of the floor in this run.
for who in game floor; do
    awk '/^wake_late_us/ { print $2 }' "$work/all-$who.stats" | sort -g | awk -v who="$who" '
        { v[NR] = $1 } END { q = "50 90 99 99.9"; split(q, p, " "); printf "%s pacing sleeps (%d): wake late by", who, NR
        for (k = 1; k <= 4; k++) { i = int(p[k] / 100 * NR); if (i < 1) i = 1; printf " p%s %.0f us,", p[k], v[i] } printf " max %.0f us\n", v[NR] }'
done
