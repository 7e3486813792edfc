#!/bin/sh
# The browser version's tests, in Debian's headless Chromium:
#   0. the site and its zip build without npm: a dry run of the whole
#      default build fetches nothing;
#   1. every recorded game through swarm-web-replay gives its expected trace
#      (the native recorded-games test, pointed at the browser build), and
#      without --data it reads the working directory, as swarm-replay does;
#   2. its pictures of eight screens match swarm-replay's;
#   3. the real page: first picture, keys, sound, the high score kept, touch
#      buttons, a damaged HighScore.dat, a clean console;
#   4. the page's input: releases with a modifier held, sound woken after the
#      browser suspended it, touch buttons under two fingers, a phone's
#      viewport, safe area and fullscreen;
#   5. the high score in the page's two stores: the higher score kept at the
#      start and at every save, across pages, and a note when storage is refused;
#   6. the page through a lost and restored WebGL context;
#   7. recorded runs: a game's link played in a new page, the best game kept,
#      a cut link.
#   tests/web/run.sh NATIVE_BUILD WEB_BUILD
set -eu
cd "$(dirname "$0")/../.."
native=$(cd "$1" && pwd)
web=$(cd "$2" && pwd)
export SWARM_NPM_DIR="$web/npm"

echo "-- the site's build fetches nothing from the npm registry"
if cmake --build "$web" -- -B -n | grep -E 'npm (ci|install)|fetch-driver'; then
    echo "FAIL: building the site runs npm (above); only the node-modules target may"
    exit 1
fi
echo "-- recorded games through swarm-web-replay"
SWARM_REPLAY_PROGRAM="$web/swarm-web-replay" "$native/tests/swarm_tests" \
    --gtest_filter='Replays*:ReplayTool.DataDefaultsToTheWorkingDirectory' \
    --gtest_brief=1
echo "-- pictures: swarm-web-replay beside swarm-replay"
node tests/web/pictures.mjs "$native" "$web"
echo "-- the page"
node tests/web/page.mjs "$web/site"
echo "-- the page's input"
node tests/web/input.mjs "$web/site"
echo "-- the high score in the page's stores"
node tests/web/storage.mjs "$web/site"
echo "-- the page through a lost WebGL context"
node tests/web/context.mjs "$web/site"
echo "-- recorded runs in the page"
node tests/web/watch.mjs "$web/site"
