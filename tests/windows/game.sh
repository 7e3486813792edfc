#!/bin/bash
# End-to-end test of the real swarm.exe under Wine and Xvfb, from the
# packaged folder: fullscreen with the title on a screenshot, a player's
# session from Space to quitting with Escape (HighScore.dat in
# %APPDATA%\Swarm), Alt+F4 without saving, the high score read from there
# (a damaged file as 10000), sound through ALSA's null device and with no
# device at all, and --version.
#   bash tests/windows/game.sh BUILD_WIN_DIR SOURCE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# In a Wine session of its own unless run in one (tests/windows/wine.sh).
[ -n "${SWARM_WINE_SESSION:-}" ] || exec "$here/wine.sh" session bash "$0" "$@"
build=$(cd "$1" && pwd)
game="$build/package/Swarm/swarm.exe"
# shellcheck source=lib.sh
. "$here/lib.sh"

shoot() { import -window root "$work/shot.png" 2> /dev/null; }
# The last picture is kept to look at when the test stops.
keep_picture() { [ -f "$work/shot.png" ] && cp "$work/shot.png" "${TMPDIR:-/tmp}/swarm-windows-game-failure.png"; }
at_exit=keep_picture

# The session's screen is 1280 x 1024: the game's 640 x 480 picture shows
# twice as large, with 32 rows of black above and below.
screen=1280x1024
scale=2
top=32
# Mean colour "R G B" (0..255) of a box of the picture, in the game's units
# (x, y from the bottom left, width, height).
mean() {
    local px=$(($1 * scale)) py=$((top + (480 - $2 - $4) * scale))
    convert "$work/shot.png" -crop "$(($3 * scale))x$(($4 * scale))+$px+$py" +repage -scale '1x1!' \
        -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
# Per mille of the box's pixels brighter than half.
bright_share() {
    local px=$(($1 * scale)) py=$((top + (480 - $2 - $4) * scale))
    convert "$work/shot.png" -crop "$(($3 * scale))x$(($4 * scale))+$px+$py" +repage \
        -colorspace gray -threshold 50% -format '%[fx:int(1000*mean)]' info:
}
green_box() { read -r r g b < <(mean "$@"); [ "$g" -gt 25 ] && [ "$g" -gt $((r + 15)) ] && [ "$g" -gt $((b + 15)) ]; }
blue_box()  { read -r r g b < <(mean "$@"); [ "$b" -gt 25 ] && [ "$b" -gt $((r + 15)) ] && [ "$b" -gt $((g + 15)) ]; }
white_box() { read -r r g b < <(mean "$@"); [ "$r" -gt 40 ] && [ "$g" -gt 40 ] && [ "$b" -gt 40 ]; }
title_shown()  { shoot && green_box 100 150 436 16; }
# "GET" of GET READY!, left of where the ship flies in.
banner_shown() { shoot && blue_box 290 200 55 16; }
paused_shown() { shoot && white_box 340 300 116 16 && white_box 160 280 476 16; }
game_ended()   { ! kill -0 "$game_pid" 2> /dev/null; }
picture_changed() { shoot && ! compare -metric AE "$work/shot.png" "$work/before.png" null: 2> /dev/null; }

key() { xdotool windowfocus --sync "$window" key "$1" 2> /dev/null || true; }
# Presses KEY until the condition holds: a key sent before the window has the
# focus, or while the game takes none (fades, the ship's entry), is lost.
press_until() { # SECONDS KEY CONDITION...
    local end=$((SECONDS + $1)) k=$2
    shift 2
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        key "$k"
        wait_until 8 "$@" && return 0
    done
    return 0
}

run_game() { # swarm.exe from its package folder, its window up
    start_game "$here/wine.sh" run "$game"
}
end_game() { # waits for the Windows program to end
    wait_until 15 game_ended || fatal "the game did not end"
    wait "$game_pid" 2> /dev/null || true
    game_pid=""
}
alt_f4() { xdotool windowfocus --sync "$window" key alt+F4 2> /dev/null || true; }

# The high score a file holds: its second number over its first, the factor.
held_score() { tr '\r\n' '  ' < "$1" 2> /dev/null | awk '{ print ($1 > 0) ? int($2 / $1) : 0 }'; }

scores="$(wine_user_dir)/AppData/Roaming/Swarm"
score_file="$scores/HighScore.dat"

rm -rf "$scores"
# Sound devices for ALSA, which Wine plays through: one that takes every
# sound and plays none, and none at all.
mkdir -p "$work/home-null" "$work/home-none"
printf 'pcm.!default { type null }\n' > "$work/home-null/.asoundrc"
printf 'pcm.!default { type hw card 99 }\n' > "$work/home-none/.asoundrc"

# --- A session without a sound device: title, a game, the pause, back, quit with a save. ---
HOME="$work/home-none" run_game
eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
check "the window covers the whole screen" test "${WIDTH}x${HEIGHT}" = "$screen"
press_until 30 a title_shown || fatal "the title did not appear after a key"
pass "a key skips the intro; the title shows its green prompt"
press_until 30 space banner_shown || fatal "no wave banner after Space"
pass "Space starts a game: the wave banner shows"
# Left takes the ship from the middle of the field, where it flies in, into
# the dark box left of it. It takes no keys while it flies in, and a slow
# machine makes that longer: press and hold again until it goes.
ship_at_left() { shoot && [ "$(bright_share 150 5 180 40)" -gt 15 ]; }
check "the ship is not at the left at first" test "$(ship_at_left && echo yes)" != yes
hold_left() {
    xdotool windowfocus --sync "$window" keydown Left 2> /dev/null || true
    wait_until 1 ship_at_left
    local status=$?
    xdotool keyup Left 2> /dev/null || true
    return $status
}
check "Left moves the ship" wait_until 40 hold_left
# Escape pauses only while the ship is in play (not while it flies in or
# explodes, and enemies soon shoot it): press at once, while it is known to
# be in play, then again until the overlay shows, giving each press time.
key Escape
wait_until 8 paused_shown || press_until 40 Escape paused_shown ||
    fatal "the pause overlay did not appear"
pass "Escape in play shows the pause overlay"
# One press: a second one on the title would quit.
key Escape
wait_until 30 title_shown || fatal "the title did not return after Escape while paused"
pass "Escape while paused goes back to the title"
check "nothing is saved before quitting" test ! -e "$score_file"
press_until 30 Escape game_ended || fatal "the game did not quit from the title"
end_game
check "Escape on the title quits and saves %APPDATA%\\Swarm\\HighScore.dat (10000 at first)" \
    test "$(held_score "$score_file")" = 10000
check "without a sound device the game says so in one line and plays on" \
    test "$(grep -ci "sound" "$work/game.log")" = 1

# --- ALSA's null device; Alt+F4 in a game ends at once, saves nothing. ---
rm -rf "$scores"
HOME="$work/home-null" run_game
press_until 30 a title_shown || fatal "the title did not appear (second run)"
press_until 30 space banner_shown || fatal "no wave banner (second run)"
alt_f4
end_game
check "Alt+F4 in a game ends it without saving" test ! -e "$score_file"
check "with ALSA's null device the sound opens (no complaint)" \
    sh -c '! grep -qi "sound" "$1"' sh "$work/game.log"

# --- The high score read from %APPDATA%\Swarm: a good one kept, a damaged one 10000. ---
score_after() { # FILE_CONTENT: the score saved after a quit from the title
    mkdir -p "$scores"
    printf '%s' "$1" > "$score_file"
    run_game
    press_until 30 a title_shown || fatal "the title did not appear"
    press_until 30 Escape game_ended || fatal "the game did not quit from the title"
    end_game
    held_score "$score_file"
}
check "a saved high score of 23456 is read back" test "$(score_after '3 70368 507984124')" = 23456
check "a damaged HighScore.dat reads as 10000" test "$(score_after '3 70368 1')" = 10000

# --- --version answers in the console it was started from. ---
version=$(sed -n 's/^project(swarm VERSION \([0-9.]*\).*/\1/p' "$2/CMakeLists.txt")
wine cmd /c "$(winepath -w "$game")" --version > "$work/version.txt" 2>&1 || true
check "--version prints the version" grep -q "$version" "$work/version.txt"

finish
