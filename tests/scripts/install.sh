#!/bin/bash
# Installs the game into a temporary root and checks the installed tree: every
# file in place, the desktop entry, metainfo and manual page valid, and the
# launcher running the game from a per-user directory of links to the data.
#   bash tests/scripts/install.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd)

# shellcheck source=lib/common.sh
. "$(dirname "$0")/lib/common.sh"
require_tools desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db \
    Xvfb:xvfb xdotool:xdotool xprop:x11-utils

# --- The installed tree ------------------------------------------------------
root=$work/root
prefix=/usr
DESTDIR=$root cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 ||
    fatal "cmake --install failed: $(cat "$work/install.log")"
pass "cmake --install into DESTDIR=$root with prefix $prefix"
top=$root$prefix
launcher=$top/games/swarm
libexec=$top/lib/games/swarm
datadir=$top/share/games/swarm

for program in "$launcher" "$libexec/swarm" "$libexec/swarm-replay"; do
    check "${program#"$top"/} is installed and executable" test -f "$program" -a -x "$program"
done
check "the launcher is a POSIX sh script" grep -qx '#!/bin/sh' <(head -n1 "$launcher")
check "the launcher parses with sh -n" sh -n "$launcher"
check "no program of the game is on the default PATH but the launcher" \
    test ! -e "$top/bin/swarm" -a ! -e "$top/games/swarm-replay"
for name in $data_files; do
    check "share/games/swarm/$name is the built data file" cmp -s "$build/data/$name" "$datadir/$name"
done

# Width and height of a PNG: the big-endian numbers at bytes 16 and 20.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }
for size in $icon_sizes; do
    icon=$top/share/icons/hicolor/${size}x$size/apps/swarm.png
    if [ -f "$icon" ] && [ "$(png_size "$icon")" = "${size}x$size" ]; then
        pass "share/icons/hicolor/${size}x$size/apps/swarm.png is a $size x $size picture"
    else
        fail "share/icons/hicolor/${size}x$size/apps/swarm.png missing or not $size x $size"
    fi
done

desktop=$top/share/applications/swarm.desktop
metainfo=$top/share/metainfo/io.github.swarmteam.swarm.metainfo.xml
manpage=$top/share/man/man6/swarm.6
for file in "$desktop" "$metainfo" "$manpage" "$top/share/doc/swarm/copyright" "$top/share/doc/swarm/changelog"; do
    check "${file#"$top"/} is installed" test -f "$file"
done
check "only the packages have doc directories of their own" \
    test ! -e "$top/share/doc/swarm-data" -a ! -e "$top/share/doc/swarm-tools"

# --- Desktop entry, metainfo, manual page ------------------------------------
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
for line in 'Type=Application' 'Name=Swarm!' 'Exec=swarm' 'Icon=swarm' 'Terminal=false'; do
    check "desktop entry has $line" grep -qx "$line" "$desktop"
done
check "desktop entry is in Game and ArcadeGame" grep -qE '^Categories=(.*;)?Game;(.*;)?ArcadeGame;' "$desktop"

check "appstreamcli validate --no-net accepts the metainfo" \
    appstreamcli validate --no-net "$metainfo"
check "the metainfo launches the installed desktop entry" \
    grep -q '<launchable type="desktop-id">swarm.desktop</launchable>' "$metainfo"

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manpage" 2>&1 > /dev/null)
if [ -z "$warnings" ]; then pass "the manual page formats without warnings"; else fail "manual page warnings: $warnings"; fi
page=$(MANPAGER=cat MANWIDTH=80 man -l "$manpage" 2> /dev/null)
for text in 'NAME' 'SYNOPSIS' 'OPTIONS' '--window' 'KEYS' 'FILES' 'EXIT STATUS' 'Space' 'Escape' \
            'HighScore.dat' '.local/share/swarm' 'XDG_DATA_HOME' 'share/games/swarm'; do
    if grep -qF -- "$text" <<< "$page"; then pass "man -l shows \"$text\""; else fail "man -l lacks \"$text\""; fi
done

# --- The launcher, with a stand-in game ---------------------------------------
# A copy of the tree elsewhere, whose game records where it ran and exits 7:
# the launcher must find the moved tree beside itself and pass the status on.
moved=$work/moved
cp -a "$top" "$moved"
cat > "$moved/lib/games/swarm/swarm" <<'EOF'
#!/bin/sh
pwd -P > "$SWARM_TEST_RAN"
printf '%s\n' "$@" > "$SWARM_TEST_RAN.args"
exit 7
EOF
moved_data=$(cd "$moved/share/games/swarm" && pwd -P)
ran=$work/ran
run_moved() { # HOME [XDG_DATA_HOME] -- runs the moved launcher, sets status
    rm -f "$ran"
    env -u XDG_DATA_HOME HOME="$1" ${2:+XDG_DATA_HOME="$2"} SWARM_TEST_RAN="$ran" \
        "$moved/games/swarm" > "$work/launcher.log" 2>&1
    status=$?
}
links_ok() { # DIR: every data file is a link to the moved tree's copy
    local name
    for name in $data_files; do
        [ -L "$1/$name" ] && [ "$(readlink "$1/$name")" = "$moved_data/$name" ] || return 1
    done
}

home1=$work/home1
mkdir -p "$home1"
run_moved "$home1"
userdir=$home1/.local/share/swarm
check "the game's exit status passes through the launcher (7)" test "$status" = 7
check "the game runs in ~/.local/share/swarm" test "$(cat "$ran" 2>/dev/null)" = "$(cd "$userdir" 2>/dev/null && pwd -P)"
check "~/.local/share/swarm links every data file of the tree it was started from" links_ok "$userdir"
check "the launcher makes no HighScore.dat" test ! -e "$userdir/HighScore.dat"

# Links from an older install are renewed; the user's own files are left alone.
ln -sfn /nonexistent/old-install/graphics.dat "$userdir/graphics.dat"
rm -f "$userdir/EnemyShot.wav" "$userdir/PlayerShot.wav"
echo "my own sound" > "$userdir/PlayerShot.wav"
echo "12 34 56" > "$userdir/HighScore.dat"
touch -d '2001-01-01 00:00:00' "$userdir/HighScore.dat"
ls -l --time-style=+%s "$userdir/HighScore.dat" > "$work/score-before"
run_moved "$home1"
check "the launcher starts the game over old links and the user's files" test "$status" = 7
check "a link to an older install is renewed" \
    test "$(readlink "$userdir/graphics.dat")" = "$moved_data/graphics.dat"
check "a missing link is made again" test "$(readlink "$userdir/EnemyShot.wav")" = "$moved_data/EnemyShot.wav"
check "a user's own file in place of a link is kept" grep -qx "my own sound" "$userdir/PlayerShot.wav"
ls -l --time-style=+%s "$userdir/HighScore.dat" > "$work/score-after"
check "HighScore.dat is not touched" cmp -s "$work/score-before" "$work/score-after"
check "HighScore.dat keeps its content" grep -qx "12 34 56" "$userdir/HighScore.dat"

home2=$work/home2
mkdir -p "$home2"
run_moved "$home2" "$work/xdg"
check "an absolute XDG_DATA_HOME holds the per-user directory" links_ok "$work/xdg/swarm"
check "the game runs in \$XDG_DATA_HOME/swarm" test "$(cat "$ran" 2>/dev/null)" = "$(cd "$work/xdg/swarm" 2>/dev/null && pwd -P)"
(cd "$work" && run_moved "$home2" "relative-xdg" && test "$status" = 7 && test ! -e "$work/relative-xdg" &&
    links_ok "$home2/.local/share/swarm")
check "a relative XDG_DATA_HOME is ignored for ~/.local/share" test $? = 0

mkdir -p "$work/bin"
ln -s "$moved/games/swarm" "$work/bin/swarm"
rm -f "$ran"
(cd / && env -u XDG_DATA_HOME HOME="$home2" SWARM_TEST_RAN="$ran" PATH="$work/bin:$PATH" swarm > /dev/null 2>&1)
check "the launcher started through a symbolic link on PATH finds its tree" test "$?" = 7 -a -s "$ran"

rm -f "$ran"
env HOME="$home2" SWARM_TEST_RAN="$ran" "$moved/games/swarm" --window --scale "fill" > /dev/null 2>&1
status=$?
check "the launcher passes its options to the game" \
    test "$status" = 7 -a "$(tr '\n' ' ' < "$ran.args" 2>/dev/null)" = "--window --scale fill "
home3=$work/home3
mkdir -p "$home3"
rm -f "$ran"
env -u XDG_DATA_HOME HOME="$home3" SWARM_TEST_RAN="$ran" "$moved/games/swarm" --window --help > /dev/null 2>&1
status=$?
check "--help goes to the game without making the per-user directory" \
    test "$status" = 7 -a "$(tr '\n' ' ' < "$ran.args" 2>/dev/null)" = "--window --help " -a ! -e "$home3/.local"

# A tree without its data: the launcher says so and does not start the game
# (unless the install it was configured for is present on this machine).
abs_data=$(sed -n "s/^abs_data='\(.*\)'\$/\1/p" "$launcher")
if [ -n "$abs_data" ] && [ ! -e "$abs_data/graphics.dat" ]; then
    cp -a "$moved" "$work/broken"
    rm "$work/broken/share/games/swarm/graphics.dat"
    rm -f "$ran"
    env HOME="$home2" SWARM_TEST_RAN="$ran" "$work/broken/games/swarm" > "$work/launcher.log" 2>&1
    status=$?
    check "without its data the launcher fails (status 1) and does not start the game" \
        test "$status" = 1 -a ! -e "$ran"
    check "and tells why" grep -q 'data' "$work/launcher.log"
fi

# --- The installed launcher and the real game under Xvfb ----------------------
start_xvfb
check "the installed swarm --version names the version, with status 0" \
    grep -qxE 'swarm [0-9]+\.[0-9]+\.[0-9]+' <<< "$(HOME=$work/nohome "$launcher" --version)"
check "the installed swarm --help shows the options" \
    grep -q -- '--window' <<< "$(HOME=$work/nohome "$launcher" --help)"

home=$work/home
mkdir -p "$home"
start_game env HOME="$home" "$launcher"
pass "the installed launcher shows the game's window"

userdir=$home/.local/share/swarm
real_data=$(cd "$datadir" && pwd -P)
ok=1
for name in $data_files; do
    [ "$(readlink "$userdir/$name")" = "$real_data/$name" ] || ok=0
done
check "~/.local/share/swarm links the installed data" test "$ok" = 1
# The icon is read from the working directory: a set icon shows the game
# found its data through the links.
icon=0
for _ in $(seq 50); do
    xprop -id "$window" _NET_WM_ICON 2> /dev/null | grep -q 'Icon (32 x 32)' && { icon=1; break; }
    sleep 0.1
done
check "the window carries the 32 x 32 icon from swarm-icon.bmp" test "$icon" = 1

if quit_game; then
    check "Escape on the title ends the game with status 0" test "$game_status" = 0
fi
check "quitting leaves HighScore.dat in ~/.local/share/swarm" test -f "$userdir/HighScore.dat" -a -s "$userdir/HighScore.dat"
check "HighScore.dat is the user's own file, not a link" test ! -L "$userdir/HighScore.dat"

finish
