#!/bin/bash
# Builds the Debian package with CPack into a temporary directory and checks
# its control fields, its dependencies and its contents.
#   bash tests/scripts/deb.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0
checked=0
pass() { checked=$((checked + 1)); echo "ok: $*"; }
fail() { checked=$((checked + 1)); failed=$((failed + 1)); echo "FAIL: $*"; }
fatal() { echo "FAIL: $*"; echo "deb: stopped after $checked checks, $((failed + 1)) failed"; exit 1; }
check() { # DESCRIPTION COMMAND...: passes when the command succeeds
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file man:man-db; do
    command -v "${tool%%:*}" > /dev/null || fatal "${tool%%:*} is missing (Debian package ${tool#*:})"
done

# The packaging files go to the temporary directory, not the build.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" 2>&1 ||
    fatal "cpack -G DEB failed: $(cat "$work/cpack.log")"
debs=("$work"/pkg/*.deb)
[ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || fatal "cpack made no single .deb: $(ls "$work/pkg")"
deb=${debs[0]}
pass "cpack -G DEB made ${deb##*/}"
dpkg-deb --info "$deb" > /dev/null || fatal "dpkg-deb cannot read ${deb##*/}"

field() { dpkg-deb --field "$deb" "$1"; }
check "Package: swarm" test "$(field Package)" = swarm
check "Version is set ($(field Version))" grep -qE '^[0-9]+\.[0-9]+' <<< "$(field Version)"
check "Architecture is this machine's ($(field Architecture))" \
    test "$(field Architecture)" = "$(dpkg --print-architecture)"
check "Section: games" test "$(field Section)" = games
check "Priority: optional" test "$(field Priority)" = optional
check "Maintainer is The Swarm Team at an example address ($(field Maintainer))" \
    grep -qE '^The Swarm Team <[^@ ]+@example\.(org|com|net)>$' <<< "$(field Maintainer)"
description=$(field Description)
check "Description has a summary line" grep -qE '^[a-z].{9,}' <<< "$(head -n1 <<< "$description")"
check "Description has a long description" test "$(wc -l <<< "$description")" -ge 3

# Depends: every library the game needs, and only names this system knows
# (the libraries were built against here, so each first alternative is installed).
depends=$(field Depends)
echo "   Depends: $depends"
names=$(tr ',' '\n' <<< "$depends" | sed -E 's/^ *//; s/ *\|.*//; s/ *\(.*//')
for lib in libc6 libstdc++6 libgcc-s1 libgl1 libglu1-mesa libpng16-16 libsdl2-2.0-0 libsdl2-mixer-2.0-0; do
    check "Depends names $lib" grep -qx -- "$lib" <<< "$names"
done
unknown=""
for name in $names; do
    dpkg-query -W "$name" > /dev/null 2>&1 || unknown="$unknown $name"
done
check "every dependency is a package installed here${unknown:+ (unknown:$unknown)}" test -z "$unknown"

# Contents: the listing with modes and owners.
dpkg-deb --contents "$deb" > "$work/contents"
has() { # MODE PATH: the listing has PATH with that mode, owned by root
    awk -v m="$1" -v p="./$2" '$1 == m && $2 == "root/root" && $6 == p { found = 1 } END { exit !found }' "$work/contents"
}
check "the launcher /usr/games/swarm, executable" has -rwxr-xr-x usr/games/swarm
check "the game /usr/lib/games/swarm/swarm, executable" has -rwxr-xr-x usr/lib/games/swarm/swarm
check "/usr/lib/games/swarm/swarm-replay, executable" has -rwxr-xr-x usr/lib/games/swarm/swarm-replay
for name in graphics.dat PlayerShot.wav EnemyShot.wav EExplode.wav XtraLife.wav PExplode.wav swarm-icon.bmp; do
    check "data /usr/share/games/swarm/$name" has -rw-r--r-- "usr/share/games/swarm/$name"
done
check "the desktop entry /usr/share/applications/swarm.desktop" has -rw-r--r-- usr/share/applications/swarm.desktop
check "the metainfo /usr/share/metainfo/io.github.swarmteam.swarm.metainfo.xml" has -rw-r--r-- usr/share/metainfo/io.github.swarmteam.swarm.metainfo.xml
for size in 32 48 64 128 256; do
    check "the ${size}x$size icon" has -rw-r--r-- "usr/share/icons/hicolor/${size}x$size/apps/swarm.png"
done
check "the manual page, compressed: /usr/share/man/man6/swarm.6.gz" has -rw-r--r-- usr/share/man/man6/swarm.6.gz
check "everything is owned by root" awk '$2 != "root/root" { exit 1 }' "$work/contents"
check "directories are drwxr-xr-x" awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { exit 1 }' "$work/contents"
check "nothing outside /usr, nothing in /usr/local" awk '$6 !~ /^\.\/usr\// && $6 != "./" || $6 ~ /^\.\/usr\/local\// { exit 1 }' "$work/contents"

# The unpacked files.
tree=$work/tree
dpkg-deb --extract "$deb" "$tree"
for program in swarm swarm-replay; do
    check "$program is stripped" grep -q ', stripped' <<< "$(file -b "$tree/usr/lib/games/swarm/$program")"
done
check "the packed manual page renders" grep -q 'EXIT STATUS' <<< "$(MANPAGER=cat MANWIDTH=80 man -l "$tree/usr/share/man/man6/swarm.6.gz" 2> /dev/null)"

check "every library of the packaged game is found" test -z "$(ldd "$tree/usr/lib/games/swarm/swarm" | grep 'not found')"
env -u DISPLAY "$tree/usr/lib/games/swarm/swarm-replay" --data "$tree/usr/share/games/swarm" \
    --frames 5 --trace - > "$work/trace" 2> "$work/replay.log"
check "the packaged swarm-replay runs 5 frames on the packaged data" test "$?" = 0 -a "$(wc -l < "$work/trace")" -ge 5

# The packaged launcher finds the game under /usr of the unpacked tree (its
# own prefix, whatever the build was configured for); a stand-in game records
# where it ran and exits 7.
cat > "$tree/usr/lib/games/swarm/swarm" <<'EOF'
#!/bin/sh
pwd -P > "$SWARM_TEST_RAN"
exit 7
EOF
mkdir -p "$work/home"
env -u XDG_DATA_HOME HOME="$work/home" SWARM_TEST_RAN="$work/ran" "$tree/usr/games/swarm" > "$work/run.log" 2>&1
status=$?
check "the packaged launcher runs the packaged game and passes its status on" test "$status" = 7
check "in ~/.local/share/swarm" test "$(cat "$work/ran" 2> /dev/null)" = "$(cd "$work/home/.local/share/swarm" 2> /dev/null && pwd -P)"
target=$(readlink "$work/home/.local/share/swarm/graphics.dat")
check "with links to the packaged data" test "$target" = "$(cd "$tree/usr/share/games/swarm" && pwd -P)/graphics.dat"

echo "deb: $checked checks, $failed failed"
[ "$failed" = 0 ]
