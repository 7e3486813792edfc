#!/bin/sh
# Only the platform layer may include SDL: src/app/sdl_*, src/app/main.cpp and
# src/sound/sdl_*. The game, pictures and storage must build without it.
set -eu
src="$2/src"
bad=$(grep -rlE '#\s*include\s*[<"]SDL' "$src" | grep -vE '/src/app/sdl_[^/]*$|/src/app/main\.cpp$|/src/sound/sdl_[^/]*$' || true)
if [ -n "$bad" ]; then
    echo "SDL included outside the platform layer:"
    echo "$bad"
    exit 1
fi
echo "SDL stays in the platform layer"
