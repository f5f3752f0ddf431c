#!/usr/bin/env bash
# Frame rate and processor load of the frame loop in a real (Xvfb) window: an idle stage, then
# 150 image sprites of 40 x 50 with one moving. A measurement, not a test: it never fails on the
# figures. Usage: bench/frame_loop.sh [build-folder] [seconds per run]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
seconds=${2:-10}
bench="$build/bench/FrameLoopBench"
if [ ! -x "$bench" ]; then
    echo "no $bench: build with -DFRAMEWORK_BENCH=ON first" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/fonts"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf "$work/fonts/bankgbtm.ttf"
printf '[game]\nallowwebupdater=0\nfullscreen=0\n' >"$work/game.cfg"

cd "$work"
echo "frame loop, $seconds s per run, 800 x 600 x 32 window under Xvfb ($(nproc) CPUs)"
for scenario in idle sprites; do
    SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
        xvfb-run -a -s '-screen 0 1024x768x24' "$bench" "$scenario" "$seconds"
done
