#!/bin/bash
# Note lists are split into words on purpose.
# shellcheck disable=SC2086,SC2046
# Synthesises the game's sound effects (22050 Hz, 16-bit mono WAV) and the board screen's music
# loops (Ogg Vorbis) into OUTPUT_DIR/audio; the menu theme is the shell's (gen_sounds.sh).
# Deterministic: sox runs in repeatable mode and oggenc gets a fixed stream serial, so the same
# tools give the same bytes.
#
# Usage: gen_game_sounds.sh OUTPUT_DIR
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTPUT_DIR" >&2
    exit 2
fi
OUT="$1/audio"
mkdir -p "$OUT"
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

RATE=22050
SOX=(sox -R -V1)

# ---- effects --------------------------------------------------------------------------------
# Notes are written as semitones from A4 ("%-9" is C4), the form sox's synth takes.

# fx NAME ARGS...: one mono effect from sox's null input through the given effects.
fx() {
    local name=$1
    shift
    "${SOX[@]}" -n -r $RATE -b 16 -c 1 "$TMP/$name.raw.wav" "$@"
    finish "$name"
}

# finish NAME: trims silence off the end, evens the level and writes the effect. Effects peak at
# -3.5 dBFS, so several at full volume leave the mixer headroom.
finish() {
    "${SOX[@]}" "$TMP/$1.raw.wav" -r $RATE -b 16 -c 1 "$OUT/$1.wav" \
        reverse silence 1 0.005 -70d reverse norm -3.5
}

# part FILE START ARGS...: a piece of an effect that starts START seconds in, for mixing.
part() {
    local file=$1 start=$2
    shift 2
    "${SOX[@]}" -n -r $RATE -b 16 -c 1 "$TMP/$file.wav" "$@" pad "$start" 0
}

# mixfx NAME FILE...: mixes pieces made by part into one effect.
mixfx() {
    local name=$1
    shift
    local inputs=()
    for f in "$@"; do inputs+=(-v 1 "$TMP/$f.wav"); done
    "${SOX[@]}" -m "${inputs[@]}" "$TMP/$name.raw.wav"
    finish "$name"
}

# bell FILE START NOTE LENGTH: a small bell: the note, its twelfth and a touch of the octave.
bell() {
    local n=$3
    part "$1" "$2" synth "$4" sine "%$n" sine "%$((n + 19))" sine "%$((n + 12))" \
        remix 1v0.6,2v0.25,3v0.3 fade l 0.002 "$4" "$4"
}

# pluck FILE START NOTE LENGTH: a plucked string.
pluck() {
    part "$1" "$2" synth "$4" pluck "%$3" fade l 0 "$4" "$4"
}

make_effects() {
    # A dry wooden click: a short knock of two close tones and a tick of noise.
    part sel1 0 synth 0.07 sine 820 fade l 0.001 0.07 0.069
    part sel2 0 synth 0.05 sine 1630 fade l 0.001 0.05 0.049
    part sel3 0 synth 0.012 whitenoise fade l 0 0.012 0.011 highpass 2000
    mixfx select sel1 sel2 sel3

    # A bright two-note chime rising a fifth.
    bell m1 0 3 0.9
    bell m2 0.12 10 1.1
    mixfx match m1 m2

    # A low dull thud.
    part t1 0 synth 0.25 sine 90 fade l 0.003 0.25 0.24
    part t2 0 synth 0.08 brownnoise fade l 0 0.08 0.075 lowpass 400
    mixfx nomatch t1 t2

    # The match chime, a third note above it and a shimmer.
    bell q1 0 3 0.9
    bell q2 0.12 10 1.0
    bell q3 0.24 15 1.2
    part q4 0.3 synth 0.8 sine 3500-5200 fade l 0.05 0.8 0.7 vol 0.15
    mixfx quad q1 q2 q3 q4

    # A soft wooden tock, higher and lighter than the select click.
    part mn1 0 synth 0.05 sine 1250 fade l 0.001 0.05 0.049
    part mn2 0 synth 0.03 sine 2500 fade l 0.001 0.03 0.029 vol 0.5
    mixfx menu mn1 mn2

    # A water drop: a quick falling then rising blip with a ring in a still pool.
    part w1 0 synth 0.09 sine 1800-600 fade l 0.002 0.09 0.08
    part w2 0.05 synth 0.35 sine 1100-1400 fade l 0.005 0.35 0.34 vol 0.45
    mixfx waterdrop w1 w2

    # A quick reversed swoosh.
    fx undo synth 0.35 pinknoise fade q 0.3 0.35 0.04 bandpass 1500 0.7q reverse

    # A short fanfare on gong, bells and plucked strings.
    part cb0 0 synth 2.5 sine 98 sine 131 remix 1v0.6,2v0.3 fade l 0.01 2.5 2.4
    pluck cb1 0 -9 1.2
    pluck cb2 0.15 -5 1.2
    pluck cb3 0.3 -2 1.2
    bell cb4 0.45 3 1.6
    bell cb5 0.7 7 1.8
    bell cb6 0.95 15 1.5
    mixfx clearedboard cb0 cb1 cb2 cb3 cb4 cb5 cb6

    # A falling three-note bell phrase ending on a low gong.
    bell ts1 0 10 0.8
    bell ts2 0.35 7 0.8
    bell ts3 0.7 3 0.9
    part ts4 1.0 synth 1.1 sine 73 sine 110 remix 1v0.7,2v0.3 fade l 0.01 1.1 1.0
    mixfx timesup ts1 ts2 ts3 ts4

    # A soft rising wind-chime glissando.
    i=0
    for n in 3 5 7 10 12 15 17; do
        bell fi$i "$(awk "BEGIN{print $i * 0.15}")" $n 0.8
        i=$((i + 1))
    done
    mixfx fadein fi0 fi1 fi2 fi3 fi4 fi5 fi6

    # Paper unrolling: a rustle over a wooden roll clatter.
    part os1 0 synth 1.4 pinknoise fade q 0.2 1.4 0.5 bandpass 3000 1.2q tremolo 13 60
    i=0
    for t in 0.05 0.25 0.45 0.62 0.8 0.95; do
        part osk$i $t synth 0.04 sine $((500 + i * 40)) fade l 0.001 0.04 0.039
        i=$((i + 1))
    done
    mixfx openingscroll os1 osk0 osk1 osk2 osk3 osk4 osk5

    # Rising and falling three-note pluck arpeggios.
    pluck up1 0 -9 0.5
    pluck up2 0.1 -5 0.5
    pluck up3 0.2 -2 0.7
    mixfx up up1 up2 up3
    pluck dn1 0 -2 0.5
    pluck dn2 0.1 -5 0.5
    pluck dn3 0.2 -9 0.7
    mixfx down dn1 dn2 dn3

    # A hissing, crackling fuse.
    part fu1 0 synth 1.5 whitenoise fade q 0.05 1.5 0.2 highpass 3000 tremolo 23 40 vol 0.6
    i=0
    for t in 0.12 0.31 0.47 0.66 0.8 0.97 1.15 1.3; do
        part fuc$i $t synth 0.015 whitenoise fade l 0 0.015 0.014
        i=$((i + 1))
    done
    mixfx fuse fu1 fuc0 fuc1 fuc2 fuc3 fuc4 fuc5 fuc6 fuc7

    # A small firecracker bang with a crackle tail.
    part ex1 0 synth 0.5 brownnoise fade l 0 0.5 0.48 lowpass 900
    part ex2 0 synth 0.06 whitenoise fade l 0 0.06 0.055
    i=0
    for t in 0.12 0.21 0.3 0.39 0.48; do
        part exc$i $t synth 0.02 whitenoise fade l 0 0.02 0.019 vol 0.4
        i=$((i + 1))
    done
    mixfx explode ex1 ex2 exc0 exc1 exc2 exc3 exc4

    # A doubled, slightly detuned bell with a chorus shimmer.
    part cl1 0 synth 1.2 sine 880 sine 886 remix 1v0.5,2v0.5 fade l 0.003 1.2 1.15
    part cl2 0.08 synth 1.1 sine 1320 sine 1327 remix 1v0.3,2v0.3 fade l 0.003 1.1 1.05
    mixfx clone cl1 cl2

    # A swirling wind rising and falling.
    fx typhoon synth 1.6 pinknoise fade q 0.6 1.6 0.7 bandpass 700 0.6q tremolo 5 70 \
        bend 0.1,900,0.7 0.8,-900,0.7

    # Two quick swooshes crossing.
    part sw1 0 synth 0.25 pinknoise fade q 0.12 0.25 0.12 bandpass 1800 0.8q
    part sw2 0.22 synth 0.25 pinknoise fade q 0.12 0.25 0.12 bandpass 900 0.8q
    mixfx swapper sw1 sw2

    # A sparkling high glissando of small bells.
    i=0
    for n in 22 24 27 29 31 34 36 39; do
        bell mw$i "$(awk "BEGIN{print $i * 0.07}")" $n 0.5
        i=$((i + 1))
    done
    mixfx magicwand mw0 mw1 mw2 mw3 mw4 mw5 mw6 mw7

    # A low electric hum rising in pitch, ending in a soft clunk.
    part mg1 0 synth 0.9 sawtooth 60-240 fade q 0.1 0.9 0.1 lowpass 800 vol 0.5
    part mg2 0.88 synth 0.12 sine 140 fade l 0.002 0.12 0.11
    mixfx magnet mg1 mg2
}

# ---- music ----------------------------------------------------------------------------------
# A track is a string of notes "SEMITONE:BEATS" ("-" for a rest) played by one instrument; the
# pieces are rendered one after the other (sox's ":" chains) so that every track of a piece has
# exactly the length of its beats.

# track FILE INSTRUMENT BEAT_SECONDS NOTES...
track() {
    local file=$1 instr=$2 beat=$3
    shift 3
    local args=() first=1
    for item in "$@"; do
        local n=${item%%:*} b=${item##*:}
        local d
        d=$(awk "BEGIN{printf \"%.4f\", $b * $beat}")
        [ $first -eq 1 ] || args+=(:)
        first=0
        if [ "$n" = "-" ]; then
            args+=(synth "$d" sine 10 vol 0)
            continue
        fi
        case $instr in
        pluck) args+=(synth "$d" pluck "%$n" fade l 0 "$d" "$d") ;;
        bell) args+=(synth "$d" sine "%$n" fade l 0.003 "$d" "$d") ;;
        flute) args+=(synth "$d" sine "%$n" fade q 0.12 "$d" 0.25 tremolo 5 12) ;;
        bass) args+=(synth "$d" sine "%$n" fade q 0.02 "$d" 0.3) ;;
        drum) args+=(synth 0.09 brownnoise fade l 0 0.09 0.085 lowpass 250 pad 0 \
            "$(awk "BEGIN{printf \"%.4f\", $d - 0.09}")") ;;
        esac
    done
    "${SOX[@]}" -n -r $RATE -b 16 -c 1 "$TMP/$file.wav" "${args[@]}"
}

# pad FILE BEAT_SECONDS CHORD:BEATS...: a soft sustained pad; a chord is semitones joined by ".".
padtrack() {
    local file=$1 beat=$2
    shift 2
    local args=() first=1
    for item in "$@"; do
        local chord=${item%%:*} b=${item##*:}
        local d
        d=$(awk "BEGIN{printf \"%.4f\", $b * $beat}")
        [ $first -eq 1 ] || args+=(:)
        first=0
        local tones=()
        IFS=. read -r -a notes <<<"$chord"
        for n in "${notes[@]}"; do tones+=(sine "%$n"); done
        args+=(synth "$d" "${tones[@]}" fade q 0.6 "$d" 0.6)
    done
    "${SOX[@]}" -n -r $RATE -b 16 -c 3 "$TMP/$file.3ch.wav" "${args[@]}"
    "${SOX[@]}" "$TMP/$file.3ch.wav" -c 1 "$TMP/$file.wav" remix - lowpass 1500 tremolo 0.25 25
}

# piece NAME TRACK:VOLUME...: mixes the tracks, adds a room and writes the Ogg Vorbis loop. The mix
# is levelled 1.5 dB below the -3 dBFS the loops may peak at: Vorbis coding raises peaks a little.
piece() {
    local name=$1
    shift
    local inputs=()
    for t in "$@"; do inputs+=(-v "${t##*:}" "$TMP/${t%%:*}.wav"); done
    "${SOX[@]}" -m "${inputs[@]}" "$TMP/$name.mix.wav" reverb 40 50 70 norm -4.5
    # The fades at the seam of the loop run on their own: after norm in one chain sox loses the
    # length of the piece.
    "${SOX[@]}" "$TMP/$name.mix.wav" "$TMP/$name.wav" fade q 0.02 -0 0.05
    oggenc --quiet --serial 1 -q 4 -o "$OUT/$name.ogg" "$TMP/$name.wav"
}

# repeat N WORDS...: the words N times (for repeated figures).
repeat() {
    local n=$1
    shift
    for ((i = 0; i < n; ++i)); do echo "$@"; done
}

# The game theme: C major pentatonic at 84 beats a minute, 64 beats (about 46 s).
music_game() {
    local B=0.7143
    A1="3:1 5:1 7:2 10:1 7:1 5:2 3:1 0:1 -2:2 0:2 3:2"
    A2="3:1 5:1 7:2 12:1 10:1 7:2 5:1 7:1 3:4 -:2"
    B1="10:1 12:1 15:2 12:1 10:1 7:2 10:1 7:1 5:2 7:2 -:2"
    B2="5:1 7:1 3:2 0:1 3:1 5:2 7:2 3:1 0:1 3:4"
    track g_mel pluck $B $A1 $A2 $B1 $B2
    track g_bell bell $B $(repeat 8 "-:2 15:2 -:2 19:2")
    track g_bass bass $B $(repeat 4 "-21:8 -24:8")
    padtrack g_pad $B $(repeat 4 "-9.-2.7:8 -12.-5.3:8")
    piece M_BGMusic g_mel:0.9 g_bell:0.25 g_bass:0.45 g_pad:0.25
}

# The action theme: a quick plucked ostinato in D minor pentatonic with small drums and bells,
# 126 beats a minute, 72 beats (about 34 s).
music_action() {
    local B=0.4762
    O="-7:0.5 -4:0.5 -2:0.5 0:0.5 -2:0.5 -4:0.5 -7:0.5 -4:0.5"
    OH="-2:0.5 0:0.5 3:0.5 5:0.5 3:0.5 0:0.5 -2:0.5 0:0.5"
    track a_ost pluck $B $(repeat 6 "$O") $(repeat 6 "$OH") $(repeat 6 "$O")
    track a_drum drum $B $(repeat 36 "-7:1 -7:0.5 -7:0.5")
    T1="5:2 3:1 0:1 3:2 -2:2 0:2 3:1 5:1 8:4"
    T2="10:2 8:1 5:1 3:2 5:2 3:1 0:1 -2:2 0:4"
    track a_bell bell $B $T1 $T2 $T1 $T2 -:8
    padtrack a_pad $B $(repeat 3 "-19.-12.-7:12 -14.-7.-2:12")
    piece M_ActionMusic a_ost:0.7 a_drum:0.6 a_bell:0.35 a_pad:0.3
}

# The mournful theme: a slow flute-like line in A minor pentatonic over a dark drone, 60 beats a
# minute, 40 beats (40 s).
music_mournful() {
    local B=1.0
    F1="0:2 3:1 5:1 7:3 5:1 3:2 0:2 -2:4"
    F2="-5:2 -2:1 0:1 3:3 0:1 -2:2 -5:2 -9:4"
    F3="7:2 10:1 7:1 5:3 3:1 0:2 3:2"
    track f_mel flute $B $F1 $F2 $F3
    padtrack f_pad $B -33.-24.-21:11 -29.-24.-17:11 -33.-26.-21:11 -33.-24.-21:11
    piece M_MournfulMusic f_mel:0.7 f_pad:0.6
}

# The four parts run side by side; each writes only its own temporary files.
pids=()
for job in make_effects music_game music_action music_mournful; do
    $job &
    pids+=($!)
done
for pid in "${pids[@]}"; do
    wait "$pid"
done
