#!/usr/bin/env bash
# Synthesises the splash's sound effects with sox into a data folder (22050 Hz, 16-bit).
# Deterministic: no noise source is seeded from the clock (sox -R).
# Usage: gen_splash_sounds.sh OUTPUT_DIR
set -euo pipefail
out=${1:?usage: gen_splash_sounds.sh OUTPUT_DIR}
mkdir -p "$out/audio"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fmt=(-V1 -R -r 22050 -b 16 -c 1)

# A bright two-note chime: two bell tones (fundamental and a soft upper partial), a fifth
# apart, the second 140 ms after the first, with a short room tail.
bell() { # fundamental, upper partial (2.76 times it), output
    sox "${fmt[@]}" -n "$work/p1.wav" synth 1.4 sine "$1" fade p 0.004 1.4 1.35
    sox "${fmt[@]}" -n "$work/p2.wav" synth 1.4 sine "$2" fade p 0.002 1.4 1.38 vol 0.25
    sox "${fmt[@]}" -m "$work/p1.wav" "$work/p2.wav" "$3"
}
bell 1318.51 3639.09 "$work/n1.wav"
bell 1975.53 5452.46 "$work/n2.wav"
sox "${fmt[@]}" "$work/n2.wav" "$work/n2d.wav" pad 0.14
sox "${fmt[@]}" -m "$work/n1.wav" "$work/n2d.wav" "$work/chime.wav"
sox "${fmt[@]}" "$work/chime.wav" "$out/audio/S_Chime.wav" reverb 30 50 60 trim 0 1.5 \
    fade t 0 1.5 0.3 norm -4

# A soft swoosh: pink noise through a band that rises and falls, swelling and fading.
sox "${fmt[@]}" -n "$work/noise.wav" synth 0.55 pinknoise
sox "${fmt[@]}" "$work/noise.wav" "$work/band.wav" sinc 500-2600 \
    fade q 0.22 0.55 0.3
sox "${fmt[@]}" "$work/band.wav" "$out/audio/S_Swoosh.wav" bend 0,300,0.25 0,-300,0.25 \
    norm -10
