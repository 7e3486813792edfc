#!/bin/sh
# Replays every recorded key script with swarm-replay and keeps its full trace
# and pictures of a few passes in OUTDIR, so that a change meant to keep the
# game as it is can be checked with `cmp -r` (or `diff -r`) against a snapshot
# taken before it.
#   scripts/replay-snapshot.sh [BUILD] OUTDIR
set -eu
cd "$(dirname "$0")/.."
if [ $# -ge 2 ]; then build=$1; shift; else build=build; fi
out=$1
mkdir -p "$out"
replay=$build/tools/replay/swarm-replay
for keys in tests/replays/*.keys; do
    name=$(basename "$keys" .keys)
    expected=tests/replays/$name.expected
    frames=$(sed -n 's/^frames //p' "$expected")
    time=$(sed -n 's/^time //p' "$expected")
    run=$(mktemp -d "${TMPDIR:-/tmp}/swarm-snapshot-XXXXXX")
    for f in "$build"/data/*.dat "$build"/data/*.wav; do
        case $(basename "$f") in HighScore.dat) ;; *) ln -s "$(realpath "$f")" "$run/" ;; esac
    done
    shots=""
    for pass in 1 150 400 900 1500 2500; do
        [ "$pass" -lt "$frames" ] && shots="$shots --screenshot $pass:$out/$name-$pass.png"
    done
    # shellcheck disable=SC2086
    "$replay" --data "$run" --time "$time" --frames "$frames" --keys "$keys" \
        --trace "$out/$name.jsonl" $shots
    rm -rf "$run"
done
echo "snapshot in $out"
