#!/bin/sh
# Soak: plays a long seeded random key script (presses and releases of Space,
# Escape, Left and Right; no close requests) through swarm-replay --check,
# which stops at the first broken invariant of the game data.
#   scripts/soak.sh [PASSES] [SEED] [BUILD]
set -eu
passes=${1:-1000000}
seed=${2:-1}
build=${3:-build}
replay="$build/tools/replay/swarm-replay"
script=$(mktemp "${TMPDIR:-/tmp}/swarm-soak-XXXXXX.keys")
trap 'rm -f "$script"' EXIT

# About one event every 12 passes; each key is released a little after its
# press, so both held keys and taps occur. Escape is rarer, so games go on.
awk -v passes="$passes" -v seed="$seed" 'BEGIN {
    srand(seed)
    split("space left right space left right space escape", names, " ")
    pass = 0
    while (pass < passes) {
        pass += 1 + int(rand() * 24)
        key = names[1 + int(rand() * 8)]
        print pass, "down", key
        up = pass + int(rand() * 40)
        if (up > pass) { pending[up] = pending[up] " " key }
        for (p in pending) if (p + 0 <= pass) { n = split(pending[p], ks, " "); for (i = 1; i <= n; i++) print pass, "up", ks[i]; delete pending[p] }
    }
}' > "$script"

echo "soak: $passes passes, seed $seed, $(wc -l < "$script") key events"
status=0
"$replay" --data "$build/data" --time "$seed" --frames "$passes" --keys "$script" --check --bench || status=$?
if [ "$status" -eq 0 ]; then
    echo "soak: no invariant violations"
else
    echo "soak: FAILED (status $status)"
fi
exit "$status"
