#!/usr/bin/env bash
# Frame rate and processor load of the frame loop in a real (Xvfb) window: an idle stage, then
# 150 image sprites of 40 x 50 with one moving. A measurement, not a test: it never fails on the
# figures. The X server is started as the Xvfb tests start theirs, on another display when the
# one chosen was taken.
# Usage: bench/frame_loop.sh [build-folder] [seconds per run, default 10, at most 90]
set -euo pipefail
source "$(dirname "$0")/../tests/xvfb/xvfb_common.sh"
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-10}
bench="$build/bench/FrameLoopBench"

if [ "${FRAME_LOOP_INSIDE:-}" != 1 ]; then
    if [ ! -x "$bench" ]; then
        echo "no $bench: build with -DFRAMEWORK_BENCH=ON first" >&2
        exit 2
    fi
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/fonts"
    cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$work/fonts/bankgbtm.ttf"
    printf '[game]\nallowwebupdater=0\nfullscreen=0\n' >"$work/game.cfg"
    echo "frame loop, $seconds s per run, 800 x 600 x 32 window under Xvfb ($(nproc) CPUs)"
    export FRAME_LOOP_INSIDE=1 FRAME_LOOP_WORK="$work"
    # One server per scenario, so each run has the time limit of one launch.
    for scenario in idle sprites; do
        FRAME_LOOP_SCENARIO=$scenario run_in_xvfb "$0" "$build" "$seconds"
    done
    exit 0
fi

# From here on inside Xvfb.
wait_for_display
cd "$FRAME_LOOP_WORK"
rm -f debug.txt
status=0
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$bench" "$FRAME_LOOP_SCENARIO" "$seconds" \
    2>"$FRAME_LOOP_WORK/err.txt" || status=$?
# SDL's reason reaches the program's log: a display taken by another server is tried again.
if [ "$status" -ne 0 ] && display_refused err.txt debug.txt; then
    exit 75
fi
cat "$FRAME_LOOP_WORK/err.txt" >&2
exit "$status"
