# Helpers shared by the end-to-end, install and package tests (bash), sourced after
# `build` is set to the build directory:
#   pass/fail/check count and report checks, fatal stops the test, finish
#   prints the count and gives the status; require_tools checks commands;
#   $work is a temporary directory removed at exit, with the game and Xvfb
#   started here; start_xvfb and start_game run them; quit_game presses
#   Escape until the game ends; data_files and icon_sizes are the lists the
#   build writes.
suite=$(basename "$0" .sh)
failed=0
checked=0
pass() { checked=$((checked + 1)); echo "ok: $*"; }
fail() { checked=$((checked + 1)); failed=$((failed + 1)); echo "FAIL: $*"; }
fatal() { echo "FAIL: $*"; echo "$suite: stopped after $checked checks, $((failed + 1)) failed"; exit 1; }
check() { # DESCRIPTION COMMAND...: passes when the command succeeds
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
    echo "$suite: $checked checks, $failed failed"
    [ "$failed" = 0 ]
}

require_tools() { # COMMAND:DEBIAN_PACKAGE...
    local tool
    for tool in "$@"; do
        command -v "${tool%%:*}" > /dev/null || fatal "${tool%%:*} is missing (Debian package ${tool#*:})"
    done
}

work=$(mktemp -d "${TMPDIR:-/tmp}/swarm-$suite-XXXXXX")
xvfb_pid=""
game_pid=""
at_exit=""  # a command of the test's own to run first at exit
cleanup() {
    [ -n "$at_exit" ] && $at_exit
    [ -n "$game_pid" ] && kill "$game_pid" 2> /dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb() { # [WIDTHxHEIGHT [Xvfb options]]: sets DISPLAY to a new Xvfb (640x480 by default), stopping the last one
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2> /dev/null && wait "$xvfb_pid" 2> /dev/null
    rm -f "$work/displayfd"
    exec 5> "$work/displayfd"
    # -noreset: by default the server resets whenever its last client leaves,
    # and a program connecting during that reset is refused.
    Xvfb -displayfd 5 -screen 0 "${1:-640x480}x24" -nolisten tcp -noreset "${@:2}" > "$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 5>&-
    for _ in $(seq 100); do
        [ -s "$work/displayfd" ] && break
        sleep 0.1
    done
    [ -s "$work/displayfd" ] || fatal "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n1 "$work/displayfd")"
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER XDG_DATA_HOME
    export SDL_AUDIODRIVER=dummy
}

start_game() { # COMMAND...: runs it, sets game_pid and window, stops when no window comes
    "$@" > "$work/game.log" 2>&1 &
    game_pid=$!
    window=""
    for _ in $(seq 300); do
        window=$(xdotool search --name '^Swarm!$' 2> /dev/null | head -n1 || true)
        [ -n "$window" ] && return 0
        kill -0 "$game_pid" 2> /dev/null || break
        sleep 0.1
    done
    fatal "no window named Swarm! within 30 s: $(cat "$work/game.log")"
}

quit_game() { # the first Escape skips the intro, the next one quits from the title
    for _ in $(seq 20); do
        kill -0 "$game_pid" 2> /dev/null || break
        xdotool key Escape 2> /dev/null
        sleep 1
    done
    if kill -0 "$game_pid" 2> /dev/null; then
        fail "the game still runs after 20 presses of Escape"
        return 1
    fi
    wait "$game_pid"
    game_status=$?
    game_pid=""
}

[ -s "$build/data-files.txt" ] && [ -s "$build/icon-sizes.txt" ] ||
    fatal "the build has no list of data files ($build/data-files.txt)"
data_files=$(tr '\n' ' ' < "$build/data-files.txt")
icon_sizes=$(tr '\n' ' ' < "$build/icon-sizes.txt")
