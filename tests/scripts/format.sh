#!/bin/sh
# Every C++ file is formatted as the committed .clang-format says.
set -eu
cd "$2"
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tools tests fuzz bench -name '*.cpp' -o -name '*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
echo "all $(echo "$files" | wc -l) files formatted"
