#!/bin/bash
# Builds the Debian packages with CPack into a temporary directory and checks
# them: lintian, the control fields and dependencies, which files go in which
# package, the hardened and stripped programs, the packaged launcher and
# replay tool, and (as root, where the game is not installed already) that
# apt installs them into a swarm command that shows the game.
#   bash tests/scripts/deb.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)

# shellcheck source=lib/common.sh
. "$(dirname "$0")/lib/common.sh"
require_tools cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file man:man-db \
    lintian:lintian readelf:binutils

# The packaging files go to the temporary directory, not the build.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" 2>&1 ||
    fatal "cpack -G DEB failed: $(cat "$work/cpack.log")"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
declare -A deb=([swarm]=swarm_${version}_$arch.deb [swarm-data]=swarm-data_${version}_all.deb
                [swarm-tools]=swarm-tools_${version}_$arch.deb)
made=$(cd "$work/pkg" && ls -- *.deb | sort | tr '\n' ' ')
check "cpack makes swarm, swarm-data (all) and swarm-tools, version $version ($made)" \
    test "$made" = "$(printf '%s\n' "${deb[@]}" | sort | tr '\n' ' ')"
for p in "${!deb[@]}"; do
    deb[$p]=$work/pkg/${deb[$p]}
    dpkg-deb --info "${deb[$p]}" > /dev/null 2>&1 || fatal "dpkg-deb cannot read ${deb[$p]##*/}"
done

# --- lintian: no error or warning, and no other tag either ----------------------
# (-I --pedantic shows the informational and pedantic tags too.)
lintian -i -I --pedantic --no-cfg --fail-on error,warning "${deb[@]}" > "$work/lintian.log" 2>&1
lintian_status=$?
grep -E '^[EWIPX]: ' "$work/lintian.log" | sed 's/^/   /'
check "lintian passes the packages (status $lintian_status)" test "$lintian_status" = 0
check "lintian finds no error or warning" test -z "$(grep -E '^[EW]: ' "$work/lintian.log")"
check "lintian finds no informational or pedantic tag either" test -z "$(grep -E '^[IP]: ' "$work/lintian.log")"

# --- Control fields ------------------------------------------------------------
field() { dpkg-deb --field "${deb[$1]}" "$2"; }
changelog_trailer=$(sed -n 's/^ -- \(.*>\)  .*/\1/p' "$source_dir/dist/changelog" | head -n1)
summaries=""
for p in swarm swarm-data swarm-tools; do
    check "$p: Package: $p" test "$(field "$p" Package)" = "$p"
    check "$p: Version: $version" test "$(field "$p" Version)" = "$version"
    check "$p: Section: games" test "$(field "$p" Section)" = games
    check "$p: Priority: optional" test "$(field "$p" Priority)" = optional
    maintainer=$(field "$p" Maintainer)
    check "$p: Maintainer is a name and an address, not an example one ($maintainer)" \
        grep -qE '^[^<>]+ <[^@ <>]+@[^@ <>]+\.[a-z]+>$' <<< "$maintainer"
    check "$p: no example address" test -z "$(grep -E '@example\.|@localhost' <<< "$maintainer")"
    check "$p: the Maintainer signs the latest changelog entry" test "$maintainer" = "$changelog_trailer"
    check "$p: Homepage is the project's ($(field "$p" Homepage))" \
        grep -qxE 'https://[a-z0-9.-]+/[^ ]+' <<< "$(field "$p" Homepage)"
    description=$(field "$p" Description)
    summary=$(head -n1 <<< "$description")
    check "$p: Description has a summary line ($summary)" grep -qE '^[a-z].{9,79}$' <<< "$summary"
    check "$p: Description has a long description" test "$(wc -l <<< "$description")" -ge 3
    summaries="$summaries$summary"$'\n'
done
check "the three summaries differ" test "$(sort -u <<< "$summaries" | grep -c .)" = 3
check "swarm: Architecture: $arch" test "$(field swarm Architecture)" = "$arch"
check "swarm-tools: Architecture: $arch" test "$(field swarm-tools Architecture)" = "$arch"
check "swarm-data: Architecture: all" test "$(field swarm-data Architecture)" = all

# Depends: every library the programs need, the data of the same version, and
# only names this system knows (the programs were built against them here, so
# each first alternative is installed).
depends_names() { tr ',' '\n' <<< "$(field "$1" Depends)" | sed -E 's/^ *//; s/ *\|.*//; s/ *\(.*//'; }
declare -A libs=([swarm]="libsdl2-mixer-2.0-0" [swarm-tools]="libpng16-16")
for p in swarm swarm-tools; do
    echo "   $p Depends: $(field "$p" Depends)"
    check "$p: Depends: swarm-data (= $version)" \
        grep -qE "(^|, )swarm-data \(= $version\)(,|$)" <<< "$(field "$p" Depends)"
    names=$(depends_names "$p")
    for lib in libc6 libstdc++6 libgcc-s1 libglu1-mesa libsdl2-2.0-0 ${libs[$p]}; do
        check "$p: Depends names $lib" grep -qx -- "$lib" <<< "$names"
    done
    unknown=""
    for name in $names; do
        [ "$name" = swarm-data ] && continue
        dpkg-query -W "$name" > /dev/null 2>&1 || unknown="$unknown $name"
    done
    check "$p: every other dependency is a package installed here${unknown:+ (unknown:$unknown)}" test -z "$unknown"
done
check "swarm: Depends names libgl1 (SDL opens libGL.so.1 at run time)" grep -qx libgl1 <<< "$(depends_names swarm)"
check "swarm-data depends on nothing" test -z "$(field swarm-data Depends)"

# --- Which files in which package ------------------------------------------------
# The exact list of files of each package, with their modes, all owned by root.
expected() { # PACKAGE: "MODE PATH" lines, sorted
    local p=$1 name size
    {
        case $p in
            swarm)
                echo "-rwxr-xr-x ./usr/games/swarm"
                echo "-rwxr-xr-x ./usr/lib/games/swarm/swarm"
                echo "-rw-r--r-- ./usr/share/applications/swarm.desktop"
                echo "-rw-r--r-- ./usr/share/metainfo/io.github.swarmteam.swarm.metainfo.xml"
                echo "-rw-r--r-- ./usr/share/man/man6/swarm.6.gz"
                for size in $icon_sizes; do
                    echo "-rw-r--r-- ./usr/share/icons/hicolor/${size}x$size/apps/swarm.png"
                done
                ;;
            swarm-data)
                for name in $data_files; do echo "-rw-r--r-- ./usr/share/games/swarm/$name"; done ;;
            swarm-tools)
                echo "-rwxr-xr-x ./usr/lib/games/swarm/swarm-replay" ;;
        esac
        echo "-rw-r--r-- ./usr/share/doc/$p/copyright"
        echo "-rw-r--r-- ./usr/share/doc/$p/changelog.gz"
    } | sort
}
for p in swarm swarm-data swarm-tools; do
    dpkg-deb --contents "${deb[$p]}" > "$work/$p.contents"
    awk '$1 !~ /^d/ { print $1, $6 }' "$work/$p.contents" | sort > "$work/$p.files"
    expected "$p" > "$work/$p.expected"
    if cmp -s "$work/$p.files" "$work/$p.expected"; then
        pass "$p holds exactly its $(wc -l < "$work/$p.expected") files"
    else
        fail "$p's files differ from the expected ones (< packaged, > expected):"
        diff "$work/$p.files" "$work/$p.expected" | grep '^[<>]' | sed 's/^/   /'
    fi
    check "$p: everything is owned by root" awk '$2 != "root/root" { exit 1 }' "$work/$p.contents"
    check "$p: directories are drwxr-xr-x" awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { exit 1 }' "$work/$p.contents"
    dpkg-deb --extract "${deb[$p]}" "$work/$p"
    dpkg-deb --extract "${deb[$p]}" "$work/tree"
done

# --- Documents ---------------------------------------------------------------------
for p in swarm swarm-data swarm-tools; do
    doc=$work/$p/usr/share/doc/$p
    # gzip -9n: no name, no time stamp (bytes 4 to 7), "maximum compression" flag (byte 8).
    header=$(od -An -tu1 -N9 "$doc/changelog.gz" 2> /dev/null | tr -s ' ')
    check "$p: changelog.gz is gzip -9n (header$header)" test "$header" = " 31 139 8 0 0 0 0 0 2"
    check "$p: the changelog's latest entry is version $version" \
        grep -qE "^swarm \($version\) " <<< "$(zcat "$doc/changelog.gz" | head -n1)"
    check "$p: copyright is machine-readable, Expat licence" \
        grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
    check "$p: copyright names the Swarm! developers under the Expat licence" \
        grep -qx 'Copyright: [0-9-]* the Swarm! developers' "$doc/copyright"
done
# The licence paragraph is LICENSE's text after its copyright line.
sed -n '/^License: Expat$/,$p' "$work/swarm/usr/share/doc/swarm/copyright" | tail -n +2 |
    sed 's/^ //; s/^\.$//' > "$work/license-in-copyright"
sed '1,/^Copyright (c)/d' "$source_dir/LICENSE" | sed '1{/^$/d}' > "$work/license"
check "copyright carries the text of LICENSE" cmp -s "$work/license" "$work/license-in-copyright"
check "LICENSE is the MIT licence of the Swarm! developers" \
    grep -q 'Copyright (c) [0-9]* the Swarm! developers' "$source_dir/LICENSE"
check "the packed manual page renders" \
    grep -q 'EXIT STATUS' <<< "$(MANPAGER=cat MANWIDTH=80 man -l "$work/tree/usr/share/man/man6/swarm.6.gz" 2> /dev/null)"

# --- The programs: hardened as Debian builds, stripped ------------------------------
for program in "$work/tree/usr/lib/games/swarm/swarm" "$work/tree/usr/lib/games/swarm/swarm-replay"; do
    name=${program##*/}
    check "$name is stripped" grep -q ', stripped' <<< "$(file -b "$program")"
    check "$name is position-independent (PIE)" grep -q 'Type: *DYN' <<< "$(readelf -h "$program")"
    check "$name has read-only relocations (relro)" grep -q GNU_RELRO <<< "$(readelf -lW "$program")"
    check "$name binds them at start-up (now)" grep -q 'BIND_NOW' <<< "$(readelf -dW "$program")"
    check "$name has no .comment section" test -z "$(readelf -SW "$program" | grep -F ' .comment ')"
    check "$name calls the checked libc functions (_FORTIFY_SOURCE)" \
        grep -qE '__[a-z]+_chk@' <<< "$(readelf --dyn-syms -W "$program")"
    check "$name has the stack protector" grep -q '__stack_chk_fail@' <<< "$(readelf --dyn-syms -W "$program")"
    check "every library of $name is found" test -z "$(ldd "$program" | grep 'not found')"
done
env -u DISPLAY "$work/tree/usr/lib/games/swarm/swarm-replay" --data "$work/tree/usr/share/games/swarm" \
    --frames 5 --trace - > "$work/trace" 2> "$work/replay.log"
check "the packaged swarm-replay runs 5 frames on the packaged data" test "$?" = 0 -a "$(wc -l < "$work/trace")" -ge 5

# --- The packaged launcher --------------------------------------------------------
# It finds the game under /usr of the unpacked tree (its own prefix, whatever
# the build was configured for); a stand-in game records where it ran and exits 7.
cp -a "$work/tree" "$work/stand-in"
cat > "$work/stand-in/usr/lib/games/swarm/swarm" <<'EOS'
#!/bin/sh
pwd -P > "$SWARM_TEST_RAN"
exit 7
EOS
mkdir -p "$work/home"
env -u XDG_DATA_HOME HOME="$work/home" SWARM_TEST_RAN="$work/ran" "$work/stand-in/usr/games/swarm" > "$work/run.log" 2>&1
status=$?
check "the packaged launcher runs the packaged game and passes its status on" test "$status" = 7
check "in ~/.local/share/swarm" test "$(cat "$work/ran" 2> /dev/null)" = "$(cd "$work/home/.local/share/swarm" 2> /dev/null && pwd -P)"
target=$(readlink "$work/home/.local/share/swarm/graphics.dat")
check "with links to the data of swarm-data" test "$target" = "$(cd "$work/stand-in/usr/share/games/swarm" && pwd -P)/graphics.dat"

# --- apt install ./swarm*.deb ----------------------------------------------------
# Only as root and where no swarm package is installed: the packages are
# installed for real, played under Xvfb and purged again.
installed() { dpkg-query -W -f='${Status}' "$1" 2> /dev/null | grep -q 'install ok installed'; }
if [ "$(id -u)" != 0 ]; then
    echo "skipped: apt install of the packages (needs root)"
elif installed swarm || installed swarm-data || installed swarm-tools; then
    echo "skipped: apt install of the packages (a swarm package is installed on this machine)"
elif ! command -v Xvfb > /dev/null || ! command -v xdotool > /dev/null; then
    fatal "Xvfb and xdotool are needed to play the installed game (Debian packages xvfb, xdotool)"
else
    purge() { apt-get purge -y -qq swarm swarm-data > "$work/purge.log" 2>&1; }
    at_exit=purge
    apt=(apt-get -o DPkg::Lock::Timeout=120 -y -qq --no-install-recommends)
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "${deb[swarm]}" "${deb[swarm-data]}" \
        > "$work/apt.log" 2>&1
    status=$?
    check "apt-get install ./swarm_*.deb ./swarm-data_*.deb" test "$status" = 0
    [ "$status" = 0 ] || fatal "apt-get failed: $(cat "$work/apt.log")"
    check "the swarm command is /usr/games/swarm" test "$(PATH=/usr/bin:/usr/games command -v swarm)" = /usr/games/swarm
    check "swarm-tools is not needed to play" test ! -e /usr/lib/games/swarm/swarm-replay
    start_xvfb
    mkdir -p "$work/player"
    start_game env HOME="$work/player" PATH=/usr/bin:/bin:/usr/games swarm
    pass "the installed swarm shows the game's window"
    if quit_game; then
        check "Escape on the title ends it with status 0" test "$game_status" = 0
    fi
    check "the high score is in ~/.local/share/swarm" test -s "$work/player/.local/share/swarm/HighScore.dat"
    purge
    check "apt-get purge removes swarm and swarm-data" test "$?" = 0
    at_exit=""
    check "nothing is left in /usr/lib/games/swarm or /usr/share/games/swarm" \
        test ! -e /usr/lib/games/swarm -a ! -e /usr/share/games/swarm
fi

finish
