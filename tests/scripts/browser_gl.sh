#!/bin/sh
# The browser's OpenGL layer covers the game: every OpenGL and GLU function
# (gl..., glu...) that the code of the browser build calls (the game,
# pictures, sound, storage, the services, what the hosts share, the headless
# host, the replay tool and the page) is one that the layer,
# src/host/web/gl/, defines. A call
# missing there would still link, to Emscripten's own WebGL function or its
# stub, and draw wrongly or not at all in the browser. The browser build
# runs this check too and stops when it fails.
#   tests/scripts/browser_gl.sh BUILD SOURCE
set -eu
cd "$2"

# Names followed by "(", outside // comments.
calls() {
    sed 's://.*$::' "$@" | grep -oE '\bglu?[A-Z][A-Za-z0-9]*[[:space:]]*\(' |
        sed 's/[[:space:]]*($//' | sort -u
}

shared=$(find src tools/replay tools/common \
    \( -path src/host/sdl -o -path src/host/present -o -path src/host/win32 -o -path src/host/web/gl \) -prune \
    -o \( -name '*.cpp' -o -name '*.h' \) -print)
# A definition starts at the line's beginning: a return type, then the name.
defined=$(grep -hoE '^[A-Za-z][A-Za-z0-9_ ]*[ *]glu?[A-Z][A-Za-z0-9]*\(' src/host/web/gl/*.cpp |
    grep -oE 'glu?[A-Z][A-Za-z0-9]*\($' | sed 's/($//' | sort -u)
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
echo "$defined" > "$tmp"

# shellcheck disable=SC2086
called=$(calls $shared)
missing=$(echo "$called" | comm -23 - "$tmp")
if [ -n "$missing" ]; then
    echo "the browser's OpenGL layer (src/host/web/gl/) lacks functions the game calls:"
    echo "$missing" | sed 's/^/    /'
    exit 1
fi
echo "the browser's OpenGL layer defines all $(echo "$called" | wc -l) OpenGL functions the game calls"
