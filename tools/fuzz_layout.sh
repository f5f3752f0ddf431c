#!/usr/bin/env bash
# Builds the layout fuzzer with clang in build-fuzz and runs it on its committed seed corpus for a
# bounded time.
# Usage: tools/fuzz_layout.sh [seconds, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DFRAMEWORK_FUZZ=ON -DFRAMEWORK_TESTS=OFF \
    -DFRAMEWORK_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPython3_EXECUTABLE=/usr/bin/python3 >/dev/null
cmake --build "$build" --target MjLayoutFuzz -j4

# New inputs go to a scratch corpus; the committed seeds are only read.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
cd "$work"
"$build/tests/fuzz/MjLayoutFuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/" "$work" "$root/tests/fuzz/corpus/layout"
