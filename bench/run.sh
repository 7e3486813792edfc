#!/bin/bash
# Benchmarks: replay throughput, and the real game's frame work, frame
# intervals, CPU use, start-up time and peak memory under Xvfb. Prints a
# Markdown table. Uses a measuring build of the game (SWARM_FRAME_STATS=ON)
# in build-bench; run on an otherwise idle machine.
#   bench/run.sh [SECONDS_PER_PHASE]
set -euo pipefail
cd "$(dirname "$0")/.."
phase=${1:-8}
build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWARM_FRAME_STATS=ON -DSWARM_TESTS=OFF > /dev/null
cmake --build "$build" -j2 > /dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-bench-XXXXXX")
xvfb_pid=""; game_pid=""
trap '[ -n "$game_pid" ] && kill $game_pid 2>/dev/null; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
tck=$(getconf CLK_TCK)
game=$(realpath "$build/swarm")

rows=()
row() { rows+=("| $1 | $2 | $3 |"); }

# --- Replay throughput on a busy play scene. ---
out=$("$build/tools/replay/swarm-replay" --data "$build/data" --frames 20000 --keys bench/busy.keys --bench 2>&1 >/dev/null)
pps=$(sed -n 's/.*passes\/s \([0-9]*\).*/\1/p' <<< "$out")
rmem=$(sed -n 's/.*peak memory \([0-9.]*\) MB.*/\1/p' <<< "$out")
row "replay throughput, busy play (20,000 passes)" "$pps passes/s" ">= 2000"
row "replay peak memory" "$rmem MB" ""

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game_pid/stat"; }
cpu_share() { # seconds -> percent of one core over that window
    local a b; a=$(cpu_ticks); sleep "$1"; b=$(cpu_ticks)
    awk -v d=$((b - a)) -v s="$1" -v t="$tck" 'BEGIN { printf "%.0f", 100 * d / (s * t) }'
}

run_game() { # WIDTH HEIGHT
    local size="$1x$2"
    exec 5> "$work/displayfd"
    Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp > /dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/displayfd" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$work/displayfd")"
    exec 5>&-
    rm -rf "$work/game"; mkdir -p "$work/game"
    while read -r name; do cp "$build/data/$name" "$work/game/"; done < "$build/data-files.txt"
    (cd "$work/game" && SWARM_FRAME_STATS="$work/stats-$size" exec "$game") > /dev/null 2>&1 &
    game_pid=$!
    for _ in $(seq 100); do xdotool search --name '^Swarm!$' > /dev/null 2>&1 && break; sleep 0.1; done
    sleep 1
    xdotool key a
    sleep 3
    title_cpu=$(cpu_share "$phase")
    xdotool key space
    sleep 5.5                     # fade and the ship's entry
    xdotool keydown space
    play_cpu=$(cpu_share "$phase")
    xdotool keyup space
    xdotool key alt+F4
    wait "$game_pid" || true; game_pid=""
    kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true; xvfb_pid=""
    local stats="$work/stats-$size"
    # Skip the first second (start-up) for the per-frame figures.
    awk '/^frame/ { n++; if (n > 100) print $3 }' "$stats" | sort -g > "$work/work"
    awk '/^frame/ { n++; if (n > 100) { if (n > 101) print $2 - prev; prev = $2 } }' "$stats" | sort -g > "$work/intervals"
    local first mem
    first=$(awk '/^first_frame_ms/ { print $2 }' "$stats")
    mem=$(awk '/^peak_memory_kb/ { printf "%.1f", $2 / 1024 }' "$stats")
    # mean, 99th percentile and maximum of a sorted column
    summary() { awk '{ v[NR] = $1; s += $1 } END { i = int(0.99 * NR); if (i < 1) i = 1; printf "%.3f %.3f %.3f\n", s / NR, v[i], v[NR] }' "$1"; }
    read -r wmean wp99 wmax < <(summary "$work/work")
    read -r imean ip99 _ < <(summary "$work/intervals")
    echo "$size $wmean $wp99 $wmax $imean $ip99 $first $mem $title_cpu $play_cpu"
}

for size in "640 480" "1920 1080"; do
    read -r s mean p99 max imean ip99 first mem title_cpu play_cpu < <(run_game $size)
    row "frame work at $s: mean / 99th pct / max" "$mean / $p99 / $max ms" "99th <= $([ "$s" = 640x480 ] && echo 2 || echo 5) ms"
    row "frame interval at $s: mean / 99th pct" "$imean / $ip99 ms" "10.0 (+-0.05) / <= 10.5 ms"
    row "CPU at $s: title / play" "$title_cpu% / $play_cpu% of one core" "play <= 40% at 640x480"
    row "start-up to first frame at $s" "$first ms" "<= 300 ms"
    row "game peak memory at $s" "$mem MB" "<= 80 MB"
done

echo "| measure | result | target |"
echo "|---|---|---|"
printf '%s\n' "${rows[@]}"
