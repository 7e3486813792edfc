#!/bin/sh
# The seams of the code: only the platform layer, src/app/sdl/ and
# src/sound/sdl/, includes SDL, and storage, pictures and sound include nothing
# of the game. The build runs this check too and stops when it fails.
set -eu
src="$2/src"
bad=$(grep -rlE '#\s*include\s*[<"]SDL' "$src" | grep -vE '/src/(app|sound)/sdl/[^/]*$' || true)
if [ -n "$bad" ]; then
    echo "SDL included outside the platform layer (src/app/sdl/, src/sound/sdl/):"
    echo "$bad"
    exit 1
fi
game=$(grep -rlE '#\s*include\s*"game/' "$src/storage" "$src/gfx" "$src/sound" || true)
if [ -n "$game" ]; then
    echo "storage, gfx and sound must not depend on the game:"
    echo "$game"
    exit 1
fi
echo "SDL stays in the platform layer; storage, gfx and sound stand alone"
