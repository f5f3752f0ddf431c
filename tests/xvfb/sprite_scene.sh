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

if outside_xvfb; then
    mkdir -p "$out"
    rm -f "$out"/*.png "$out"/scene.log "$out"/scene.err
    rerun_in_xvfb "$out" "$0" "$program" "$out" "$font"
fi

# From here on inside Xvfb.
start_scene scene "$out/scene.log" "$out/scene.err" "$program" "$font" "$out"

wait_for ready
window=$(xdotool search --sync --name SpriteScene | head -1)

# Hover over the button: it shows its lit ("held") look, the software cursor on top of it.
move_to "$window" 160 320
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
    fail "text not drawn ($text_white text pixels, $text_shadow shadow pixels)"
fi

# Click it: the listener hears of button 7 and mouse button 1.
xdotool click 1
wait_for "clicked 7 1"
echo "ok: click reported"

# Move away: the button is back to normal, the cursor is elsewhere.
move_to "$window" 700 500
import -window root "$out/away.png"
expect_pixel "$out/away.png" 210 330 "90,90,90" "button left alone, normal"
expect_pixel "$out/away.png" 165 325 "90,90,90" "button where the cursor was"
expect_pixel "$out/away.png" 703 503 "250,250,250" "cursor"

xdotool key Escape
finish_scene "$out"
