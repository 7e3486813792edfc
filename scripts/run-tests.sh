#!/bin/sh
# Runs every test headless: the unit, scenario and script tests of the normal
# build. Expects the build in $BUILD (made by `make build`).
set -eu
BUILD=${BUILD:-build}
JOBS=${JOBS:-2}

echo "== Tests =="
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS"
