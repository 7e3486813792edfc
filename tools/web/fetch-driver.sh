#!/bin/sh
# Fetches playwright-core, the driver of headless Chromium that
# swarm-web-replay and the browser tests use, from the npm registry as
# tools/web/package-lock.json pins it, into NPM_DIR/node_modules. Says what
# failed and how to retry when it cannot.
#   tools/web/fetch-driver.sh NPM_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
npm_dir=$1
build=$(dirname "$npm_dir")

fail() {
    echo "swarm-web-replay needs playwright-core from the npm registry, $1" >&2
    echo "The site and its zip are built without it. To try again:" >&2
    echo "    make web-replay    (or: cmake --build $build --target node-modules)" >&2
    exit 1
}

command -v npm > /dev/null 2>&1 || fail "but npm is missing (scripts/install-deps.sh web installs it)."
if ! mkdir -p "$npm_dir" || ! cp "$here/package.json" "$here/package-lock.json" "$npm_dir/"; then
    fail "but $npm_dir cannot be written."
fi
cd "$npm_dir" || exit 1
npm ci --no-audit --no-fund --loglevel=error ||
    fail "which could not be reached ($(npm config get registry 2> /dev/null)): npm ci failed, as it says above. Check the network and npm's proxy (npm config get https-proxy)."
