#!/bin/sh
# Installs the Debian packages that building, running and testing Swarm! need,
# when they are missing. Uses sudo when not run as root.
set -eu

packages="
build-essential cmake pkg-config
libsdl2-dev libsdl2-mixer-dev
libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libegl1 libegl-mesa0
libpng-dev libgtest-dev googletest
clang libclang-rt-14-dev
xvfb xauth xdotool x11-utils x11-apps imagemagick
desktop-file-utils appstream man-db dpkg-dev file clang-format lintian
"

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
