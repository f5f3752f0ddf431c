#!/usr/bin/env bash
# Every C++ source of the framework, the game, the tests and the benchmarks is as clang-format
# (config in the repository root) writes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files -co --exclude-standard -- 'framework/*.cpp' 'framework/*.h' \
    'mahjong/*.cpp' 'mahjong/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "format check failed: run clang-format -i on the files above"
    exit 1
fi
echo "format check passed (${#files[@]} files)"
