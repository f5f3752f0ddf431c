#!/usr/bin/env bash
# Makes the game's sounds into a data folder with sox and oggenc: effects as WAV (22050 Hz,
# 16-bit), music as Ogg Vorbis. Repeatable: sox runs with -R (fixed noise seeds) and oggenc
# with a fixed stream serial, so the same tools give the same bytes.
#
# Usage: gen_sounds.sh OUTPUT_DIR
set -euo pipefail

out=${1:?usage: gen_sounds.sh OUTPUT_DIR}
mkdir -p "$out/audio"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

RATE=22050
sx() { sox -R -V1 "$@"; }

# Frequency of a note given as a MIDI number.
freq() { awk -v n="$1" 'BEGIN { printf "%.3f", 440 * 2 ^ ((n - 69) / 12) }'; }

# bell FILE MIDI SECONDS GAIN_DB: a struck bell, fundamental with a bright partial.
bell() {
    local f
    f=$(freq "$2")
    sx -n -r $RATE -b 16 -c 1 "$1" synth "$3" sine "$f" sine mix "$(awk -v f="$f" 'BEGIN{print f*2.76}')" \
        sine mix "$(awk -v f="$f" 'BEGIN{print f*5.4}')" fade l 0.004 "$3" "$(awk -v s="$3" 'BEGIN{print s-0.01}')" \
        gain "$4"
}

# pluck FILE MIDI SECONDS GAIN_DB: a plucked string.
pluck() {
    sx -n -r $RATE -b 16 -c 1 "$1" synth "$3" pluck "$(freq "$2")" fade l 0.002 "$3" 0.4 gain "$4"
}

# pad FILE SECONDS MIDI...: a soft chord that swells in and out.
pad() {
    local file=$1 len=$2 spec=() first=1
    shift 2
    for n in "$@"; do
        if [ $first = 1 ]; then spec+=(sine "$(freq "$n")"); first=0
        else spec+=(sine mix "$(freq "$n")"); fi
    done
    sx -n -r $RATE -b 16 -c 1 "$file" synth "$len" "${spec[@]}" tremolo 0.3 30 lowpass 1200 \
        fade q "$(awk -v s="$len" 'BEGIN{print s/3}')" "$len" "$(awk -v s="$len" 'BEGIN{print s/3}')" gain -14
}

# place FILE SECONDS: the file delayed to start at that time (into FILE.at).
place() { sx "$1" "$1.at.wav" pad "$2"; }

# mixdown OUTPUT LENGTH FILES...: every file mixed, reverb, trimmed and levelled 1.5 dB below the
# -3 dBFS that every sound may peak at, since Vorbis coding raises peaks a little.
mixdown() {
    local output=$1 len=$2
    shift 2
    sx -m "$@" -r $RATE -b 16 -c 2 "$work/mix.wav" reverb 50 50 80 trim 0 "$len" \
        fade q 0.05 "$len" 1.5 gain -n -4.5
    oggenc -Q --serial 1 -q 4 -o "$output" "$work/mix.wav"
}

# ---- Effects -------------------------------------------------------------------------------
# Each is levelled to -3.5 dBFS or below, under the -3 dBFS every sound may peak at.

# A wooden click: a very short knock of filtered noise over a hollow tone.
sx -n -r $RATE -b 16 -c 1 "$work/knock.wav" synth 0.07 pinknoise fade q 0.0005 0.07 0.068 \
    band 1700 500 gain -2
sx -n -r $RATE -b 16 -c 1 "$work/body.wav" synth 0.07 sine 700 sine mix 1130 fade p 0.0005 0.07 0.069 \
    gain -8
sx -m "$work/knock.wav" "$work/body.wav" -r $RATE -b 16 -c 1 "$out/audio/S_Click.wav" gain -n -3.5

# The volume slider's bell: half a second that starts and ends silent, so it loops cleanly.
bell "$work/vol.wav" 84 0.5 -3
sx "$work/vol.wav" -r $RATE -b 16 -c 1 "$out/audio/S_Volume.wav" fade q 0.005 0.5 0.05 gain -n -3.5

# The intro's chime: two bright bells a fifth apart (E6, B6), the second 140 ms after the first,
# with a short room tail.
bell "$work/ch1.wav" 88 1.4 -3
bell "$work/ch2.wav" 95 1.4 -3
place "$work/ch2.wav" 0.14
sx -m "$work/ch1.wav" "$work/ch2.wav.at.wav" -r $RATE -b 16 -c 1 "$work/chime.wav"
sx "$work/chime.wav" -r $RATE -b 16 -c 1 "$out/audio/S_Chime.wav" reverb 30 50 60 trim 0 1.5 \
    fade t 0 1.5 0.3 gain -n -4

# The intro's soft swoosh: pink noise through a band that rises and falls, swelling and fading.
sx -n -r $RATE -b 16 -c 1 "$work/swoosh.wav" synth 0.55 pinknoise sinc 500-2600 \
    fade q 0.22 0.55 0.3
sx "$work/swoosh.wav" -r $RATE -b 16 -c 1 "$out/audio/S_Swoosh.wav" \
    bend 0,300,0.25 0,-300,0.25 gain -n -10

# ---- Music ---------------------------------------------------------------------------------

# The splash: pentatonic bells over a slow pad, 26 seconds.
parts=()
pad "$work/sp_pad1.wav" 14 48 55 64 67
pad "$work/sp_pad2.wav" 14 45 52 60 64
place "$work/sp_pad1.wav" 0
place "$work/sp_pad2.wav" 12
parts+=("$work/sp_pad1.wav.at.wav" "$work/sp_pad2.wav.at.wav")
# Time (s) and note of each bell: C major pentatonic, rising and settling.
i=0
for tn in 1.0:72 1.8:76 2.6:79 3.4:81 4.6:84 6.0:81 6.8:79 8.0:76 9.6:74 10.4:76 11.2:79 \
          12.8:72 14.0:76 14.8:79 15.6:84 16.8:86 18.0:84 18.8:81 19.6:79 21.0:76 22.2:74 \
          23.4:72; do
    t=${tn%%:*}
    n=${tn##*:}
    bell "$work/sb$i.wav" "$n" 3 -10
    place "$work/sb$i.wav" "$t"
    parts+=("$work/sb$i.wav.at.wav")
    i=$((i + 1))
done
mixdown "$out/audio/M_Splash.ogg" 26 "${parts[@]}"

# The menu theme: a plucked melody over four pad chords, 48 seconds, twice through a phrase.
parts=()
chords=("48 55 64" "45 52 60" "41 48 57" "43 50 62")
for k in 0 1 2 3 4 5; do
    # shellcheck disable=SC2086
    pad "$work/mp$k.wav" 10 ${chords[$((k % 4))]}
    place "$work/mp$k.wav" $((k * 8))
    parts+=("$work/mp$k.wav.at.wav")
done
phrase=(0.0:72 0.5:74 1.0:76 2.0:79 3.0:76 4.0:74 5.0:72 6.0:69 \
        8.0:69 8.5:72 9.0:74 10.0:76 11.0:74 12.0:72 13.0:69 14.0:67 \
        16.0:65 16.5:69 17.0:72 18.0:74 19.0:72 20.0:69 21.0:67 22.0:65 \
        24.0:67 24.5:71 25.0:74 26.0:79 27.0:76 28.0:74 29.0:72 30.0:67)
i=0
for offset in 0 32; do
    for tn in "${phrase[@]}"; do
        t=$(awk -v a="${tn%%:*}" -v b="$offset" 'BEGIN{print a+b}')
        if awk -v t="$t" 'BEGIN{exit !(t > 45)}'; then continue; fi
        pluck "$work/mm$i.wav" "${tn##*:}" 1.6 -8
        place "$work/mm$i.wav" "$t"
        parts+=("$work/mm$i.wav.at.wav")
        i=$((i + 1))
    done
done
mixdown "$out/audio/M_MenuMusic.ogg" 48 "${parts[@]}"
