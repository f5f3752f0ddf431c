#!/usr/bin/env bash
# Installs what is missing, builds the game and its data, and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DPython3_EXECUTABLE=/usr/bin/python3 >/dev/null
cmake --build "$build" -j"$(nproc)"

if [ ! -x "$build/mahjong/mahjong" ]; then
    echo "The library is built; the game program itself is not part of the build yet."
    exit 0
fi
cd "$build/data"
exec "$build/mahjong/mahjong" "$@"
