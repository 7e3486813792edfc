#!/bin/bash
# The Windows packages: swarm-win.zip holds the folder Swarm/ with exactly
# the game, its data and the two texts; the installer, run silently under
# Wine, installs them per user with a Start menu entry and an uninstaller in
# the apps list, and that uninstaller removes them again but keeps the high
# score.
#   bash tests/windows/packages.sh BUILD_WIN_DIR SOURCE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# In a Wine session of its own unless run in one (tests/windows/wine.sh).
[ -n "${SWARM_WINE_SESSION:-}" ] || exec "$here/wine.sh" session bash "$0" "$@"
build=$(cd "$1" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

# --- The zip: unzip and play, nothing more and nothing less. ---
expected=$(printf '%s\n' Swarm/swarm.exe Swarm/README.txt Swarm/LICENSE.txt \
    $(sed 's#^#Swarm/#' "$build/data-files.txt") | sort)
listed=$(unzip -Z1 "$build/swarm-win.zip" | grep -v '/$' | sort)
check "swarm-win.zip holds Swarm/ with swarm.exe, the data, README.txt and LICENSE.txt" \
    test "$listed" = "$expected"
unzip -p "$build/swarm-win.zip" Swarm/README.txt > "$work/README.txt"
check "the README in the zip has Windows line ends and says where the high score is" \
    grep -qxF "  %APPDATA%\\Swarm\\HighScore.dat"$'\r' "$work/README.txt"

# --- The installer under Wine, silently, as an ordinary user. ---
users=$(wine_user_dir)
installed="$users/AppData/Local/Programs/Swarm"
shortcut="$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Swarm.lnk"
scores="$users/AppData/Roaming/Swarm"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Swarm'

wine "$build/swarm-setup.exe" /S > "$work/setup.log" 2>&1 || fatal "the installer failed: $(cat "$work/setup.log")"
all_installed() {
    local file
    for file in $(sed 's#^Swarm/##' <<< "$expected") uninstall.exe; do
        [ -s "$installed/$file" ] || return 1
    done
}
check "a silent install puts swarm.exe, the data and the uninstaller in %LOCALAPPDATA%\\Programs\\Swarm" all_installed
check "the installed files are those of the zip" \
    cmp -s "$installed/graphics.dat" "$build/package/Swarm/graphics.dat"
check "the Start menu has an entry" test -s "$shortcut"
wine reg query "$uninstall_key" > "$work/key.txt" 2> /dev/null || true
check "the uninstaller is listed in the apps list of this user" \
    grep -q 'UninstallString.*\\uninstall\.exe' "$work/key.txt"
check "the apps list names the game" grep -q 'DisplayName.*Swarm!' "$work/key.txt"

mkdir -p "$scores"
echo "3 70368 507984124" > "$scores/HighScore.dat"
# The uninstaller copies itself away and runs from there: wait for its work.
wine "$installed/uninstall.exe" /S > "$work/uninstall.log" 2>&1 || fatal "the uninstaller failed: $(cat "$work/uninstall.log")"
wait_until 60 test ! -e "$installed"
check "the uninstaller removes the installed folder" test ! -e "$installed"
check "the uninstaller removes the Start menu entry" test ! -e "$shortcut"
check "the uninstaller leaves the apps list" sh -c '! wine reg query "$1" > /dev/null 2>&1' sh "$uninstall_key"
check "the uninstaller keeps HighScore.dat" grep -qx "3 70368 507984124" "$scores/HighScore.dat"
finish
