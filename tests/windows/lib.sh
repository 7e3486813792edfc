# Helpers of the Windows end-to-end tests (bash), sourced in a Wine session
# (tests/windows/wine.sh) after `build` is set to the Windows build: the
# checks and $work of tests/scripts/lib/common.sh, waiting for a condition,
# and the folders of the prefix's user.
# shellcheck shell=bash source=../scripts/lib/common.sh
. "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib/common.sh"

wait_until() { # SECONDS COMMAND...: polls until the command succeeds
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.2
    done
}

# The prefix's user folder (C:\users\NAME), as Wine names it after the
# user who runs it.
wine_user_dir() {
    local dir
    for dir in "$WINEPREFIX"/drive_c/users/*; do
        [ "${dir##*/}" = Public ] || { echo "$dir"; return 0; }
    done
    fatal "no user folder in the Wine prefix $WINEPREFIX"
}
