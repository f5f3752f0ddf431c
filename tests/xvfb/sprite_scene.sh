#!/usr/bin/env bash
# Shows the sprite scene (sprite_scene_xvfb) in a real X window under Xvfb, moves and clicks the
# mouse with xdotool and checks screenshots at a few pixels: the button lit under the hovering
# cursor, the cursor itself, the text, the image and the progress bar. The screenshots and the
# scene's output stay in the artifact folder.
#
# Usage: sprite_scene.sh SCENE_PROGRAM ARTIFACT_FOLDER [FONT_FILE]
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
out=$2
font=${3:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}

if [ "${SPRITE_SCENE_INSIDE:-}" != 1 ]; then
    for tool in xvfb-run xauth xdotool import convert; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
    done
    mkdir -p "$out"
    rm -f "$out"/*.png "$out"/scene.log "$out"/scene.err
    # libX11 leaks a few bytes in its input-method set-up; nothing of ours.
    echo "leak:libX11.so" >"$out/lsan.supp"
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$out/lsan.supp"
    export SPRITE_SCENE_INSIDE=1
    status=0
    run_in_xvfb "$0" "$program" "$out" "$font" || status=$?
    exit "$status"
fi

# From here on inside Xvfb.
wait_for_display
export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
log="$out/scene.log"
"$program" "$font" "$out" >"$log" 2>"$out/scene.err" &
scene=$!
failures=0

finish() {
    kill "$scene" 2>/dev/null || true
}
trap finish EXIT

# Waits until the scene printed a line.
wait_for() {
    for _ in $(seq 1 200); do
        if grep -qx "$1" "$log"; then
            return 0
        fi
        if ! kill -0 "$scene" 2>/dev/null; then
            break
        fi
        sleep 0.05
    done
    echo "FAIL: the scene never printed \"$1\""
    cat "$log" "$out/scene.err"
    exit 1
}

# "r,g,b" of one pixel of a screenshot.
pixel() {
    convert "$1" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:
}

expect_pixel() {
    local shot=$1 x=$2 y=$3 want=$4 what=$5 got
    got=$(pixel "$shot" "$x" "$y")
    if [ "$got" = "$want" ]; then
        echo "ok: $what at $x,$y is $want"
    else
        echo "FAIL: $what at $x,$y is $got, expected $want"
        failures=$((failures + 1))
    fi
}

# Pixels of exactly one colour (hex, as RRGGBB) inside a rectangle (WxH+X+Y) of a screenshot.
count_colour() {
    convert "$1" -crop "$2" +repage -depth 8 txt:- | grep -ci " #$3 " || true
}

wait_for ready
window=$(xdotool search --sync --name SpriteScene | head -1)

# Hover over the button: it shows its lit ("held") look, the software cursor on top of it.
xdotool mousemove --window "$window" 160 320
wait_for "moved 160 320"
sleep 0.2
import -window root "$out/hover.png"
expect_pixel "$out/hover.png" 700 500 "20,40,80" "background"
expect_pixel "$out/hover.png" 210 330 "255,160,0" "button under the cursor, lit"
expect_pixel "$out/hover.png" 105 305 "255,160,0" "button's corner, lit"
expect_pixel "$out/hover.png" 165 325 "250,250,250" "cursor"
expect_pixel "$out/hover.png" 430 130 "60,200,60" "image sprite, frame 1"
expect_pixel "$out/hover.png" 150 212 "0,200,0" "progress bar, filled half"
expect_pixel "$out/hover.png" 250 212 "50,50,50" "progress bar, empty half"
expect_pixel "$out/hover.png" 100 212 "230,230,230" "progress bar frame"
text_white=$(count_colour "$out/hover.png" 140x40+100+100 FFFFFF)
text_shadow=$(count_colour "$out/hover.png" 140x40+100+100 000000)
if [ "$text_white" -ge 40 ] && [ "$text_shadow" -ge 10 ] && [ "$text_shadow" -lt 2000 ]; then
    echo "ok: text drawn ($text_white text pixels, $text_shadow shadow pixels)"
else
    echo "FAIL: text not drawn ($text_white text pixels, $text_shadow shadow pixels)"
    failures=$((failures + 1))
fi

# Click it: the listener hears of button 7 and mouse button 1.
xdotool click 1
wait_for "clicked 7 1"
echo "ok: click reported"

# Move away: the button is back to normal, the cursor is elsewhere.
xdotool mousemove --window "$window" 700 500
wait_for "moved 700 500"
sleep 0.2
import -window root "$out/away.png"
expect_pixel "$out/away.png" 210 330 "90,90,90" "button left alone, normal"
expect_pixel "$out/away.png" 165 325 "90,90,90" "button where the cursor was"
expect_pixel "$out/away.png" 703 503 "250,250,250" "cursor"

xdotool key Escape
trap - EXIT
if ! wait "$scene"; then
    echo "FAIL: the scene ended with an error"
    cat "$out/scene.err"
    failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
