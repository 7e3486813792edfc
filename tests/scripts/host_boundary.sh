#!/bin/sh
# The seams of the code. Each host's folder alone touches its platform: SDL
# only in src/host/sdl/, Emscripten only in src/host/web/. Dependencies point
# one way: tools, tests and bench, then the hosts (src/host/), then the game,
# then the services it asks of its host (src/system/), pictures, sound and
# storage. So the services include no host and nothing of the game, the game
# includes no host, storage, pictures and sound include nothing of the game
# or the hosts, and no two folders include each other. The build runs this
# check too and stops when it fails.
#   tests/scripts/host_boundary.sh BUILD SOURCE
set -eu
cd "$2"
src="src"
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

refuse "SDL included outside the SDL host (src/host/sdl/)" \
    '#\s*include\s*[<"](SDL|host/sdl/)' '^src/host/sdl/'
refuse "Emscripten used outside the browser host (src/host/web/)" \
    '#\s*include\s*[<"](emscripten|GLES[23]/|host/web/)|\bEM_(JS|ASM)' '^src/host/web/'
refuse "the game and what it stands on include no host" \
    '#\s*include\s*"host/' '^src/host/'
refuse "the services, storage, pictures and sound include nothing of the game" \
    '#\s*include\s*"game/' '^src/(host|game)/'

# Every folder's includes of another folder, as "FROM TO" lines: a quoted
# include is looked for under src/, beside the file, then in the include
# folders of the tools and tests.
edges=$(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.cpp' \
    --include='*.h' src tools tests bench fuzz |
    sed 's/^\([^:]*\):[^"]*"\([^"]*\)".*/\1 \2/' |
    while read -r file inc; do
        dir=${file%/*}
        for base in src "$dir" tests/support tools/replay tools/common; do
            if [ -f "$base/$inc" ]; then
                to="$base/$inc"
                to=${to%/*}
                [ "$to" != "$dir" ] && echo "$dir $to"
                break
            fi
        done
    done | sort -u)
both=$(echo "$edges" | awk 'NF == 2 { seen[$1 " " $2] = 1 }
    END { for (e in seen) { split(e, p, " "); if ((p[2] " " p[1]) in seen && p[1] < p[2]) print p[1] " <-> " p[2] } }')
if [ -n "$both" ]; then
    echo "folders that include each other:"
    echo "$both"
    status=1
fi
[ $status -eq 0 ] && echo "each host keeps to its folder, and every folder includes only those below it"
exit $status
