#!/usr/bin/env bash
# Installs what is missing, builds what the game needs (the library, the program and its data)
# and starts the game in its data folder. The tests and benchmarks are not built here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DPython3_EXECUTABLE=/usr/bin/python3 >/dev/null

cmake --build "$build" -j"$(nproc)" --target framework gamedata mahjong
cd "$build/data"
exec "$build/mahjong/mahjong" "$@"
