#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Usage: tools/test.sh [build-folder] [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
shift || true

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DPython3_EXECUTABLE=/usr/bin/python3 "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
# SDL turns SIGTERM into a quit event, so a hung test is killed outright. The Xvfb and end-to-end
# tests carry their own time-outs, scaled by E2E_TIME_SCALE; so is the whole run's bound. They
# mostly wait on a game between its frames, so ctest runs half as many tests again as there are
# processors, and none is left idle while the long ones (started first) wait.
timeout -s KILL $((1500 * ${E2E_TIME_SCALE:-1})) \
    ctest --output-on-failure -j$(($(nproc) * 3 / 2)) --timeout 120
