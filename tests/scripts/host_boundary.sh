#!/bin/sh
# The seams of the code. Each host's folder alone touches its platform: SDL
# only in src/app/sdl/ and src/sound/sdl/, Emscripten only in src/app/web/ and
# src/sound/web/. The shared core (the game, storage, pictures, sound and the
# app's loop, clock, input and options) includes no host, and storage,
# pictures and sound include nothing of the game. The build runs this check
# too and stops when it fails.
set -eu
src="$2/src"
status=0

# refuse WHAT PATTERN ALLOWED: files under src/ whose lines match PATTERN,
# except those whose path matches the ALLOWED expression.
refuse() {
    found=$(grep -rlE "$2" "$src" | grep -vE "$3" || true)
    if [ -n "$found" ]; then
        echo "$1:"
        echo "$found"
        status=1
    fi
}

refuse "SDL included outside the SDL host (src/app/sdl/, src/sound/sdl/)" \
    '#\s*include\s*[<"](SDL|(app|sound)/sdl/)' '/src/(app|sound)/sdl/'
refuse "Emscripten used outside the browser host (src/app/web/, src/sound/web/)" \
    '#\s*include\s*[<"](emscripten|GLES[23]/|(app|sound)/web/)|\bEM_(JS|ASM)' '/src/(app|sound)/web/'
refuse "the shared core includes a host" \
    '#\s*include\s*"(app|sound)/(sdl|web|headless)/' '/src/(app|sound)/(sdl|web|headless)/'
refuse "storage, gfx and sound must not depend on the game" \
    '#\s*include\s*"game/' '/src/(app|game)/'
[ $status -eq 0 ] && echo "each host keeps to its folder; the core and storage, gfx and sound stand alone"
exit $status
