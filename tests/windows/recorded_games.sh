#!/bin/sh
# Every recorded game through swarm-replay.exe under Wine gives its expected
# trace: the native recorded-games test, pointed at the Windows build.
#   tests/windows/recorded_games.sh NATIVE_BUILD WINDOWS_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
native=$(cd "$1" && pwd)
win=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-win-games-XXXXXX")
trap 'rm -rf "$work"' EXIT
# The test runs one program by its path: this one runs the .exe under Wine.
printf '#!/bin/sh\nexec "%s" run "%s" "$@"\n' "$here/wine.sh" "$win/swarm-replay.exe" \
    >"$work/swarm-replay"
chmod +x "$work/swarm-replay"
SWARM_REPLAY_PROGRAM="$work/swarm-replay" "$native/tests/swarm_tests" \
    --gtest_filter='Replays*:ReplayTool.DataDefaultsToTheWorkingDirectory' --gtest_brief=1
