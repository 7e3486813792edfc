#!/bin/sh
# The Win32 host's sound under Wine, on an ALSA device that writes what it
# plays to a file instead of a sound card: swarm-sound-test.exe plays a sound
# and reads it back from there.
#   tests/windows/sound.sh WINDOWS_BUILD
set -eu
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${SWARM_WINE_SESSION:-}" ] || exec "$here/wine.sh" session sh "$0" "$@"
win=$(cd "$1" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-win-sound-XXXXXX")
trap 'rm -rf "$work"' EXIT
cat >"$work/.asoundrc" <<ALSA
pcm.!default { type file slave.pcm "null" file "$work/capture.raw" format "raw" }
ALSA
HOME=$work wine "$win/tests/windows/swarm-sound-test.exe" "$(winepath -w "$work/capture.raw")"
