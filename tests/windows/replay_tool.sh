#!/bin/sh
# swarm-replay.exe under Wine is swarm-replay: every recorded game gives its
# expected trace, and the tool's arguments, statuses, messages and refusals
# are the same (the native tests of both, pointed at the Windows build).
#   tests/windows/replay_tool.sh NATIVE_BUILD WINDOWS_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# All of the test's runs in one Wine session, unless it is in one already.
[ -n "${SWARM_WINE_SESSION:-}" ] || exec "$here/wine.sh" session sh "$0" "$@"
native=$(cd "$1" && pwd)
win=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-win-games-XXXXXX")
trap 'rm -rf "$work"' EXIT
# The test runs one program by its path: this one runs the .exe under Wine.
printf '#!/bin/sh\nexec "%s" run "%s" "$@"\n' "$here/wine.sh" "$win/swarm-replay.exe" \
    >"$work/swarm-replay"
chmod +x "$work/swarm-replay"
SWARM_REPLAY_PROGRAM="$work/swarm-replay" "$native/tests/swarm_tests" \
    --gtest_filter='Replays*:ReplayTool.*' --gtest_brief=1
