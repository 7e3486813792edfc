#!/bin/bash
# End-to-end test of the real game under Xvfb: a player's session from the
# intro to quitting, the close request, the picture scaled to larger screens
# (whole-number steps at 1280x1024 and 1920x1080, the sharp fill at 1366x768,
# measured on the floor program's ruler of columns), and a window that
# Alt+Enter makes fullscreen and back.
#   bash tests/scripts/e2e.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
game="$build/swarm"
# shellcheck source=lib/common.sh
. "$(dirname "$0")/lib/common.sh"

# The first failure ends the test, keeping the last picture to look at.
fail() { echo "FAIL: $*"; [ -f "$work/shot.png" ] && cp "$work/shot.png" "${TMPDIR:-/tmp}/swarm-e2e-failure.png" && echo "last picture: ${TMPDIR:-/tmp}/swarm-e2e-failure.png"; exit 1; }

new_game_dir() {
    rm -rf "$work/game"
    mkdir -p "$work/game"
    while read -r name; do cp "$build/data/$name" "$work/game/"; done < "$build/data-files.txt"
}

run_game() { # [options]: the game in its own directory, with its window up
    start_game sh -c 'cd "$1" && shift && exec "$@"' sh "$work/game" "$game" "$@"
}

shoot() { xwd -root -silent | convert xwd:- "$work/shot.png"; }

# Mean colour "R G B" (0..255) of a box of the 640 x 480 picture, given in the
# game's units (x, y from the bottom left, width, height) at scale and offset.
mean() {
    local x=$1 y=$2 w=$3 h=$4
    local px=$((ox + x * scale_num / scale_den)) py=$((oy + (480 - y - h) * scale_num / scale_den))
    local pw=$((w * scale_num / scale_den)) ph=$((h * scale_num / scale_den))
    convert "$work/shot.png" -crop "${pw}x${ph}+${px}+${py}" +repage -scale '1x1!' \
        -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# Waits up to $1 seconds until the command "$2..." succeeds on a new picture.
wait_for() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    while [ $SECONDS -lt $end ]; do
        shoot
        if "$@"; then return 0; fi
        sleep 0.2
    done
    return 1
}

# Colour tests on a box: is its mean mostly green / blue / white / dark?
green_box() { read -r r g b < <(mean "$@"); [ "$g" -gt 25 ] && [ "$g" -gt $((r + 15)) ] && [ "$g" -gt $((b + 15)) ]; }
blue_box()  { read -r r g b < <(mean "$@"); [ "$b" -gt 25 ] && [ "$b" -gt $((r + 15)) ] && [ "$b" -gt $((g + 15)) ]; }
white_box() { read -r r g b < <(mean "$@"); [ "$r" -gt 40 ] && [ "$g" -gt 40 ] && [ "$b" -gt 40 ]; }
title_shown() { green_box 100 150 436 16; }
banner_shown() { blue_box 290 200 196 16; }
paused_shown() { white_box 340 300 116 16 && white_box 160 280 476 16; }

# Presses a key until the title shows: a key sent before the window has the
# focus is lost, and a busy machine may take a while to give it.
skip_intro() {
    local end=$((SECONDS + 30))
    shoot
    until title_shown; do
        [ $SECONDS -lt $end ] || return 1
        xdotool key a
        wait_for 3 title_shown && return 0
    done
}

game_ended() { ! kill -0 "$game_pid" 2>/dev/null; }
wait_end() {
    local end=$((SECONDS + $1))
    while [ $SECONDS -lt $end ]; do
        if game_ended; then wait "$game_pid"; local status=$?; game_pid=""; return $status; fi
        sleep 0.1
    done
    fail "the game did not end within $1 s"
}

# --- A session at 640 x 480: picture and screen are the same size. ---
scale_num=1; scale_den=1; ox=0; oy=0
start_xvfb 640x480
new_game_dir
run_game
pass "window appears"
skip_intro || fail "the title screen did not appear after a key"
pass "a key skips the intro; the title shows its green prompt"

xdotool key space
wait_for 30 banner_shown || fail "no wave banner after Space"
pass "Space starts a game: the wave banner shows GET READY! in blue"

# Escape pauses only once the ship is in play (after its 2.8 s entry).
# An Escape before that is ignored, so press again until the overlay shows,
# giving each press time to be drawn.
end=$((SECONDS + 40))
until paused_shown; do
    [ $SECONDS -lt $end ] || fail "the pause overlay did not appear"
    xdotool key Escape
    wait_for 3 paused_shown || true
done
pass "Escape in play shows the pause overlay"

xdotool key Escape
wait_for 30 title_shown || fail "the title did not return after Escape while paused"
pass "Escape while paused fades back to the title"

[ -e "$work/game/HighScore.dat" ] && fail "HighScore.dat written before quitting"
# Escape on the title quits once its fade-in has ended; press until it does.
end=$((SECONDS + 30))
until game_ended; do
    [ $SECONDS -lt $end ] || fail "the game did not quit from the title"
    xdotool key Escape
    wait_for 2 game_ended || true
done
wait_end 1 || fail "the game exited with status $?"
[ -s "$work/game/HighScore.dat" ] || fail "no HighScore.dat after quitting from the title"
pass "Escape on the title ends the game with status 0 and writes HighScore.dat: $(tr '\n' ' ' < "$work/game/HighScore.dat")"

# --- Alt+F4 during a game: ends at once, saves nothing. ---
new_game_dir
run_game
skip_intro || fail "the title screen did not appear (second run)"
xdotool key space
wait_for 30 banner_shown || fail "no wave banner (second run)"
xdotool key alt+F4
wait_end 15 || fail "the game exited with status $? after Alt+F4"
[ -e "$work/game/HighScore.dat" ] && fail "Alt+F4 wrote HighScore.dat"
pass "Alt+F4 in a game ends the program without writing HighScore.dat"

# --- A larger screen: the 4:3 picture centred between black bars. ---
start_xvfb 1280x1024
new_game_dir
run_game
# 1280 x 960 picture, 32 rows of black above and below.
scale_num=2; scale_den=1; ox=0; oy=32
bars_black() {
    local r g b
    read -r r g b < <(convert "$work/shot.png" -crop 1280x32+0+0 +repage -format '%[fx:int(255*maxima.r)] %[fx:int(255*maxima.g)] %[fx:int(255*maxima.b)]' info:)
    [ "$r$g$b" = "000" ] || return 1
    read -r r g b < <(convert "$work/shot.png" -crop 1280x32+0+992 +repage -format '%[fx:int(255*maxima.r)] %[fx:int(255*maxima.g)] %[fx:int(255*maxima.b)]' info:)
    [ "$r$g$b" = "000" ]
}
intro_blue() { read -r r g b < <(mean 0 0 40 40); [ "$b" -gt 100 ]; }
wait_for 30 intro_blue || fail "no blue intro at 1280x1024"
bars_black || fail "the intro's blue leaks into the bars"
pass "the intro's blue stays inside the 4:3 picture"
xdotool key a
wait_for 30 title_shown || fail "the title is not where a centred 4:3 picture puts it at 1280x1024"
bars_black || fail "the bars around the title are not black"
pass "at 1280x1024 the picture is centred with black bars"
xdotool key Escape
wait_end 30 || fail "exit status $?"

# --- A window, toggled with Alt+Enter. ---
# A 1920 x 1080 screen with a white root window: the window of twice the
# picture is centred with white around it, and fullscreen covers the white.
# Filled, the picture's place in fullscreen is the same with any scaling
# rule for screens. No sound driver is chosen: a machine without a sound device gives at most
# one line, never ALSA's complaints.
start_xvfb 1920x1080 -wr
new_game_dir
SDL_AUDIODRIVER='' run_game --window --scale fill
window=$(xdotool search --name '^Swarm!$' | head -n1)
geometry() { xdotool getwindowgeometry "$window" | awk '/Position/ { p = $2 } /Geometry/ { g = $2 } END { print p " " g }'; }
wait_geometry() { # "X,Y WxH"
    local end=$((SECONDS + 15))
    while [ $SECONDS -lt $end ]; do
        [ "$(geometry)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
wait_geometry "320,60 1280x960" || fail "the window is $(geometry), not 1280x960 centred at 320,60"
scale_num=2; scale_den=1; ox=320; oy=60
white_strip() { read -r r g b < <(convert "$work/shot.png" -crop 200x1080+0+0 +repage -format '%[fx:int(255*minima.r)] %[fx:int(255*minima.g)] %[fx:int(255*minima.b)]' info:); [ "$r$g$b" = "255255255" ]; }
black_strip() { read -r r g b < <(convert "$work/shot.png" -crop 200x1080+0+0 +repage -format '%[fx:int(255*maxima.r)] %[fx:int(255*maxima.g)] %[fx:int(255*maxima.b)]' info:); [ "$r$g$b" = "000" ]; }
window_intro() { intro_blue && white_strip; }
wait_for 30 window_intro || fail "no blue intro in a 1280x960 window on the white screen"
pass "--window opens a 1280x960 window, centred, the picture filling it"
xdotool key a
wait_for 30 title_shown || fail "no title in the window"
pass "keys reach the game in a window"

xdotool key alt+Return
wait_geometry "0,0 1920x1080" || fail "after Alt+Enter the window is $(geometry), not the whole screen"
# Filled: 1440 x 1080, 240 columns of black each side.
scale_num=9; scale_den=4; ox=240; oy=0
full_title() { black_strip && title_shown; }
wait_for 30 full_title || fail "after Alt+Enter the screen is not the picture between black bars"
pass "Alt+Enter makes the window fullscreen: black bars, no white left"

xdotool key alt+Return
wait_geometry "320,60 1280x960" || fail "after a second Alt+Enter the window is $(geometry)"
scale_num=2; scale_den=1; ox=320; oy=60
wait_for 30 white_strip || fail "the white screen is not back around the window"
wait_for 30 title_shown || fail "no title in the window after going back"
pass "Alt+Enter again brings the window back where it was"
xdotool key Escape
wait_end 30 || fail "exit status $?"
if grep -q 'ALSA lib' "$work/game.log" || [ "$(wc -l < "$work/game.log")" -gt 1 ]; then
    fail "the start printed more than one line: $(cat "$work/game.log")"
fi
pass "the start printed at most one line: $(cat "$work/game.log")"

# --- 1920 x 1080: integer scaling, a 1280 x 960 picture at x 320, y 60. ---
start_xvfb 1920x1080
new_game_dir
run_game
scale_num=2; scale_den=1; ox=320; oy=60
# The brightest value of a box of the screen, "R G B".
box_max() { convert "$work/shot.png" -crop "$1" +repage -format '%[fx:int(255*maxima.r)] %[fx:int(255*maxima.g)] %[fx:int(255*maxima.b)]' info:; }
bars_black_1080() {
    local box
    for box in 1920x60+0+0 1920x60+0+1020 320x960+0+60 320x960+1600+60; do
        [ "$(box_max "$box")" = "0 0 0" ] || return 1
    done
}
xdotool key a
wait_for 30 title_shown || fail "the title is not in a 1280 x 960 picture at 320, 60 at 1920x1080"
bars_black_1080 || fail "the bars around the 2x picture are not black"
# Every source pixel is exactly 2 x 2: taking one pixel of each 2 x 2 block
# and doubling it again gives back the very same picture.
convert "$work/shot.png" -crop 1280x960+320+60 +repage "$work/picture.png"
convert "$work/picture.png" -sample 640x480 -sample 1280x960 "$work/resampled.png"
differ=$(compare -metric AE "$work/picture.png" "$work/resampled.png" null: 2>&1 || true)
[ "$differ" = "0" ] || fail "$differ screen pixels break the 2 x 2 blocks at 1920x1080"
[ "$(box_max 1280x960+320+60)" != "0 0 0" ] || fail "the 2x picture is black"
pass "at 1920x1080 the picture is 1280 x 960 at 320, 60, every source pixel 2 x 2, black around"
xdotool key Escape
wait_end 30 || fail "exit status $?"

# How wide each source pixel ends up, on the floor program's ruler (every even
# column of the 640 x 480 picture white): prints the smallest and largest width
# of a white column, and how many screen pixels of a black column are not black.
ruler_widths() { # X Y WIDTH: a row of the scaled picture
    local x=$1 y=$2 w=$3
    convert "$work/shot.png" -crop "${w}x1+${x}+${y}" +repage -colorspace gray -depth 8 gray:- |
        od -An -tu1 -v -w"$w" | awk -v W="$w" '
        { for (j = 1; j <= NF; j++) v[n++] = $j }
        END {
            for (j = 0; j < W; j++) {
                # the source columns under the screen pixel
                a = int(j * 640 / W); b = int(((j + 1) * 640 - 1) / W); c = a % 2 == 0 ? a : b
                if (c % 2) { if (v[j] > 8) stray++; continue }
                width[c] += v[j] / 255
            }
            lo = 99; hi = 0
            for (c = 0; c < 640; c += 2) { if (width[c] < lo) lo = width[c]; if (width[c] > hi) hi = width[c] }
            printf "%.3f %.3f %d\n", lo, hi, stray
        }'
}
start_ruler() { # SCALE
    (cd "$work/game" && exec "$build/bench/swarm-floor" --scale "$1" 60 --columns) > "$work/game.log" 2>&1 &
    game_pid=$!
    for _ in $(seq 100); do
        xdotool search --name '^Swarm!$' > /dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "no ruler window: $(cat "$work/game.log")"
}
# Shoots until the ruler's white columns show (a busy machine may map the
# window well before it draws), then measures a row: sets lo, hi and stray.
measure_ruler() { # X Y WIDTH
    local end=$((SECONDS + 30))
    while :; do
        shoot
        read -r lo hi stray < <(ruler_widths "$@")
        [ "$hi" != "0.000" ] && return 0
        [ $SECONDS -lt $end ] || return 0
        sleep 0.2
    done
}
stop_ruler() { kill "$game_pid"; wait "$game_pid" 2>/dev/null || true; game_pid=""; }
# Starts the ruler with scaling SCALE and measures the row Y of the picture at X,
# WIDTH pixels wide: every white column must be LEAST to MOST pixels wide, and
# no black column may show white. The ruler is left running for more checks.
ruler_columns() { # SCALE X Y WIDTH LEAST MOST WHAT
    start_ruler "$1"
    measure_ruler "$2" "$3" "$4"
    awk -v lo="$lo" -v hi="$hi" -v s="$stray" -v least="$5" -v most="$6" \
        'BEGIN { exit !(lo >= least && hi <= most && s == 0) }' ||
        fail "$7: white columns $lo to $hi pixels wide, $stray stray pixels"
}

ruler_columns integer 320 500 1280 2 2 "integer 2x"
pass "integer 2x: every source column is exactly 2 pixels wide"
stop_ruler
ruler_columns fill 240 500 1440 2.0 2.5 "fill 2.25x"
pass "fill 2.25x at 1920x1080: every source column $lo to $hi pixels wide"
stop_ruler

# --- 1366 x 768: fill, a 1024 x 768 picture at x 171 (1.6 x). ---
start_xvfb 1366x768
# Sharp bilinear keeps each 1.6-pixel column between 1.5 and 1.75 pixels of
# white; nearest pixels would make them 1 or 2.
ruler_columns auto 171 300 1024 1.4 1.8 "fill 1.6x"
[ "$(box_max 171x768+0+0)" = "0 0 0" ] && [ "$(box_max 171x768+1195+0)" = "0 0 0" ] ||
    fail "the bars beside the fill picture are not black"
pass "fill 1.6x at 1366x768: every source column $lo to $hi pixels wide, black bars"
stop_ruler
ruler_columns integer 363 300 640 1 1 "integer 1x"
pass "integer 1x at 1366x768: every source column exactly 1 pixel wide"
stop_ruler

new_game_dir
run_game
scale_num=8; scale_den=5; ox=171; oy=0
xdotool key a
wait_for 30 title_shown || fail "the title is not in the 1024 x 768 fill picture at 1366x768"
pass "at 1366x768 the game fills a 1024 x 768 picture"
xdotool key Escape
wait_end 30 || fail "exit status $?"
echo "e2e: all checks passed"
