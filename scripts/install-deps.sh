#!/bin/sh
# Installs the Debian packages Swarm! needs, when they are missing:
#   scripts/install-deps.sh play   building and playing the game (make run)
#   scripts/install-deps.sh web    that and the browser version (make web):
#                                  Emscripten, Chromium, and Node.js with npm
#                                  only where no node or npm is found (a
#                                  Node.js from elsewhere is kept as it is)
#   scripts/install-deps.sh windows  building the Windows version (make
#                                  windows): the native build's tools for its
#                                  data, MinGW-w64's compilers, NSIS for the
#                                  installer, and Wine for its tests
#   scripts/install-deps.sh test   all of that and every test tool (make test)
#   scripts/install-deps.sh bench  the test tools, a peer game and a load
#                                  maker for bench/run.sh
# Installing needs root, or sudo for a user allowed to use it. Without
# either, prints the command an administrator can run and stops (status 1).
set -eu

play="
build-essential cmake pkg-config
libsdl2-dev libsdl2-mixer-dev
libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
libpng-dev
"
test="
libegl1 libegl-mesa0
libgtest-dev googletest
clang libclang-rt-14-dev
xvfb xauth xdotool x11-utils x11-apps imagemagick
desktop-file-utils appstream man-db dpkg-dev file clang-format lintian
"

# The -posix compilers have std::thread; wine64 runs 64-bit programs without
# an i386 architecture, and Wine's graphics and monitors need the X
# libraries that it only recommends.
windows="
g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
nsis unzip
wine wine64 libgl1 libxrandr2 libxinerama1 libxrender1 libxi6 libxcursor1
xvfb xauth xdotool imagemagick
"

bench="chromium-bsu stress-ng"

web="emscripten binaryen chromium fonts-dejavu-core"
command -v node > /dev/null 2>&1 || web="$web nodejs"
command -v npm > /dev/null 2>&1 || web="$web npm"

case ${1:-} in
    play) packages=$play ;;
    web) packages="$play $web" ;;
    windows) packages="$play $windows" ;;
    test) packages="$play $web $windows $test" ;;
    bench) packages="$play $test $bench" ;;
    *)
        echo "usage: $0 play|web|windows|test|bench" >&2
        exit 2
        ;;
esac

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

command="apt-get install -y --no-install-recommends$missing"
ask_admin() { # REASON: says what to ask for, and stops
    echo "These Debian packages are missing:$missing" >&2
    echo "They cannot be installed from here: $1." >&2
    echo "Ask an administrator to install them; as root:" >&2
    echo >&2
    echo "    apt-get update && $command" >&2
    echo >&2
    echo "then run this again." >&2
    exit 1
}

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo > /dev/null 2>&1; then
    sudo="sudo"
    # Asks for the password once; a user whom sudo refuses is told so, not
    # that apt-get failed.
    sudo -v || ask_admin "sudo refused you (you may not use it on this machine, or the password was wrong)"
else
    ask_admin "you are not root and sudo is not installed"
fi

echo "Installing missing packages:$missing"
export DEBIAN_FRONTEND=noninteractive
# sudo keeps DEBIAN_FRONTEND only when asked to.
if [ -n "$sudo" ]; then
    sudo="sudo DEBIAN_FRONTEND=noninteractive"
fi
$sudo apt-get update -qq || ask_admin "apt-get update failed"
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing || ask_admin "apt-get install failed"
