#!/bin/sh
# The pictures of the browser test's passes from swarm-replay.exe under Wine
# beside swarm-replay's: at least 99 % of pixels within 8 levels.
#   tests/windows/pictures.sh NATIVE_BUILD WINDOWS_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# All of the test's runs in one Wine session, unless it is in one already.
[ -n "${SWARM_WINE_SESSION:-}" ] || exec "$here/wine.sh" session sh "$0" "$@"
native=$(cd "$1" && pwd)
win=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-win-pictures-XXXXXX")
trap 'rm -rf "$work"' EXIT
printf '#!/bin/sh\nexec "%s" run "%s" "$@"\n' "$here/wine.sh" "$win/swarm-replay.exe" \
    >"$work/swarm-replay"
chmod +x "$work/swarm-replay"
node "$here/../web/pictures.mjs" "$native" "$win" "$work/swarm-replay"
