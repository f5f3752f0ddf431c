#!/usr/bin/env bash
# Shows the dialog scene (dialog_scene_xvfb) in a real X window under Xvfb: a dialog built in code
# over a stage. Checks screenshots at a few pixels (centred dialog with its border, back, boxes,
# list box, slider, text, OK left of Cancel, the stage sprite covered by the dialog), lights OK
# under the mouse, ticks the check box, picks the second radio button and types into the input
# with xdotool, then clicks OK and checks the reports (every box and radio button, then the
# click, then the detach) and that the stage shows again where the dialog was. The screenshots
# and the scene's output stay in the artifact folder.
#
# Usage: dialog_scene.sh SCENE_PROGRAM ARTIFACT_FOLDER [FONT_FILE]
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
log="$out/scene.log"
start_scene scene "$log" "$out/scene.err" "$program" "$font" "$out"

wait_for ready
window=$(xdotool search --sync --name DialogScene | head -1)
read -r _ dx dy dw dh < <(grep '^dialog ' "$log")
read -r okx oky < <(item ok)
read -r cancelx cancely < <(item cancel)
read -r boxx boxy < <(item box)
read -r hardx hardy < <(item hard)
read -r inputx inputy < <(item input)
read -r listx listy < <(item list)
read -r sliderx slidery < <(item slider)

# The dialog is centred; OK sits left of Cancel, 7 pixels apart (70-pixel buttons).
expect "$dx,$dy" "$(((800 - dw) / 2)),$(((600 - dh) / 2))" "dialog centred"
expect "$((cancelx - okx))" "77" "Cancel 7 pixels right of OK"
expect "$oky" "$cancely" "buttons on one row"

# The mouse away from the dialog: everything in its resting look.
move_to "$window" 700 20
import -window root "$out/shown.png"
shot="$out/shown.png"
expect_pixel "$shot" 700 580 "30,90,40" "stage background"
expect_pixel "$shot" 150 260 "200,60,60" "stage sprite left of the dialog"
expect_pixel "$shot" $((dx + 8)) 260 "40,60,120" "dialog back over the sprite"
expect_pixel "$shot" "$dx" $((dy + 20)) "255,200,0" "outer border"
expect_pixel "$shot" $((dx + 2)) $((dy + 20)) "0,255,255" "inner border"
expect_pixel "$shot" $((dx - 1)) $((dy - 1)) "30,90,40" "stage just outside the corner"
expect_pixel "$shot" "$okx" "$oky" "0,160,0" "OK button"
expect_pixel "$shot" "$cancelx" "$cancely" "160,0,0" "Cancel button"
expect_pixel "$shot" $((okx + 38)) "$oky" "40,60,120" "gap between the buttons"
expect_pixel "$shot" "$boxx" "$boxy" "250,250,250" "check box, not ticked"
expect_pixel "$shot" "$hardx" "$hardy" "250,250,250" "second radio button, not selected"
expect_pixel "$shot" $((inputx + 60)) "$inputy" "0,0,0" "text input box"
expect_at_least "$shot" 180x30+$((dx + 20))+$((dy + 12)) FFFFFF 40 "title text drawn"
expect_at_least "$shot" 150x80+$((listx - 75))+$((listy - 40)) 0000A0 200 "list box selection"
expect_at_least "$shot" 150x80+$((listx - 75))+$((listy - 40)) 141414 500 "list box back"
expect_at_least "$shot" 130x12+$((sliderx - 65))+$((slidery - 6)) FFFFFF 100 "slider knob"
expect_at_least "$shot" 130x12+$((sliderx - 65))+$((slidery - 6)) 646464 500 "slider track"

# OK lights under the mouse.
move_to "$window" "$okx" "$oky"
import -window root "$out/hover.png"
expect_pixel "$out/hover.png" "$okx" "$oky" "120,255,120" "OK lit under the mouse"
expect_pixel "$out/hover.png" "$cancelx" "$cancely" "160,0,0" "Cancel not lit"

# Tick the box, pick the second radio button, type into the input.
move_to "$window" "$boxx" "$boxy"
xdotool click 1
move_to "$window" "$hardx" "$hardy"
xdotool click 1
move_to "$window" "$inputx" "$inputy"
xdotool type --window "$window" --delay 50 "Bo"
wait_for "typed AnnBo"
move_to "$window" 702 20
import -window root "$out/changed.png"
expect_pixel "$out/changed.png" "$boxx" "$boxy" "0,0,250" "check box ticked"
expect_pixel "$out/changed.png" "$hardx" "$hardy" "0,0,250" "second radio button selected"

# OK: every box and radio button, then the click, then the detach.
move_to "$window" "$okx" "$oky"
xdotool click 1
wait_for "detached 3"
reports=$(grep -E '^(set|clicked|detached) ' "$log" | tr '\n' '|')
expect "$reports" "set 10 0 1|set 20 1 0|set 20 2 1|clicked 1 0|detached 3|" "reports in order"
move_to "$window" 700 22
import -window root "$out/closed.png"
expect_pixel "$out/closed.png" $((dx + 8)) 260 "200,60,60" "sprite shows again where the dialog was"
expect_pixel "$out/closed.png" $((dx + dw - 20)) $((dy + dh - 20)) "30,90,40" \
    "stage shows again where the dialog was"

xdotool key --window "$window" Escape
finish_scene "$out"
