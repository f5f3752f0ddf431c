#!/usr/bin/env bash
# Shows a dialog built from a dialog description (dialog_controls_xvfb with the fixture
# description of every control kind and its skin) in a real X window under Xvfb. Checks
# screenshots at a few pixels (the stage, the dialog's back, the title in the skin's colour, the
# check box, the stacked radio set with its first button ticked, the single radio, the input
# box in its own colour, the slider, the buttons, the animation stopped on its first frame), types
# into the input with xdotool and checks that the typed text shows, then presses Return, which
# the skin binds to the OK button, and checks the reports. The screenshots and the program's
# output stay in the artifact folder.
#
# Usage: dialog_controls.sh PROGRAM FIXTURE_FOLDER ARTIFACT_FOLDER [FONT_FILE]
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
fixtures=$2
out=$3
font=${4:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out/work/cfg" "$out/work/fonts"
    cp "$fixtures/skin.cfg" "$out/work/cfg/skin.cfg"
    cp "$fixtures/controls.cfg" "$out/work/controls.cfg"
    cp -r "$fixtures/img" "$out/work/img"
    cp "$font" "$out/work/fonts/sans.ttf"
    rerun_in_xvfb "$out" "$0" "$program" "$fixtures" "$out" "$font"
fi

# From here on inside Xvfb.
log="$out/dialog.log"
start_scene program "$log" "$out/dialog.err" "$program" "$out/work"

# Pixels of any other colour than one (hex, as RRGGBB) inside a rectangle of a screenshot.
count_other() {
    convert "$1" -crop "$2" +repage -depth 8 txt:- | grep -v '^#' | grep -vci " #$3 " || true
}

# Pixels near a colour (each of red, green and blue within 60 of "r,g,b") inside a rectangle:
# anti-aliased text has few pixels of its exact colour.
count_near() {
    convert "$1" -crop "$2" +repage -depth 8 txt:- | grep -v '^#' |
        awk -v want="$3" 'BEGIN { split(want, w, ",") }
            { gsub(/[()]/, "", $2); split($2, c, ",");
              if (c[1] - w[1] < 60 && w[1] - c[1] < 60 && c[2] - w[2] < 60 && w[2] - c[2] < 60 &&
                  c[3] - w[3] < 60 && w[3] - c[3] < 60) n++ }
            END { print n + 0 }'
}

wait_for ready
if ! grep -qx "controls 12" "$log"; then
    fail "the description's list did not give 12 entries"
fi
if grep -q "^missing " "$log"; then
    fail "items missing: $(grep '^missing ' "$log" | tr '\n' ' ')"
fi
window=$(xdotool search --sync --name DialogControls | head -1)
# The pointer away from the dialog, so that keys go to the window and nothing is hovered.
xdotool windowraise "$window"
move_to "$window" 700 520

read -r dx dy dw dh < <(grep '^dialog ' "$log" | cut -d' ' -f2-)
read -r tx ty tw _ < <(item title)
read -r cx cy _ _ < <(item check)
read -r sx sy _ _ < <(item single)
read -r ex ey _ _ < <(item easy)
read -r hx hy _ _ < <(item hard)
read -r ix iy iw ih < <(item input)
read -r lx ly lw lh < <(item slider)
read -r ox oy ow oh < <(item ok)
read -r kx ky kw kh < <(item cancel)

shot="$out/shown.png"
import -window root "$shot"
expect_pixel "$shot" 40 40 "30,90,40" "stage"
expect_pixel "$shot" $((dx + dw - 6)) $((dy + 4)) "60,60,90" "dialog back from the background control"
# A text item has no frame height: the line is 30 pixels at most.
title=$(count_near "$shot" "${tw}x30+${tx}+${ty}" "200,0,0")
if [ "$title" -ge 40 ]; then
    echo "ok: title in the skin's colour ($title pixels)"
else
    fail "title not in the skin's colour ($title pixels near 200,0,0)"
fi
expect_pixel "$shot" $((cx + 8)) $((cy + 8)) "230,230,230" "check box, unticked"
expect_pixel "$shot" $((sx + 7)) $((sy + 7)) "220,220,220" "single radio, unticked"
expect_pixel "$shot" $((ex + 7)) $((ey + 7)) "200,0,0" "radio set's first button, ticked"
expect_pixel "$shot" $((hx + 7)) $((hy + 7)) "220,220,220" "radio set's second button"
if [ "$hy" -gt "$ey" ] && [ "$hx" = "$ex" ]; then
    echo "ok: the radio set's buttons are stacked"
else
    fail "the radio set's buttons are not stacked ($ex,$ey and $hx,$hy)"
fi
expect_pixel "$shot" $((ix + iw - 8)) $((iy + ih / 2)) "0,0,120" "input box in its own colour"
# Only the caret (when it is on) stands out of the empty input's blue.
before=$(count_other "$shot" "${iw}x${ih}+${ix}+${iy}" 000078)
expect_pixel "$shot" $((lx + 8)) $((ly + 6)) "0,120,120" "slider track left of the knob"
expect_pixel "$shot" $((lx + lw - 8)) $((ly + 6)) "120,120,0" "slider track right of the knob"
expect_at_least "$shot" "${lw}x24+${lx}+$((ly - 6))" FAC800 100 "slider knob"
expect_pixel "$shot" $((ox + ow / 2)) $((oy + oh / 2)) "40,90,200" "OK button"
expect_pixel "$shot" $((kx + kw / 2)) $((ky + kh / 2)) "40,90,200" "Cancel button"

# The animation plays its two loops and stops on its first frame.
wait_for stopped
read -r ax ay aw ah < <(item spinner)
shot="$out/stopped.png"
import -window root "$shot"
expect_pixel "$shot" $((ax + aw / 2)) $((ay + ah / 2)) "255,0,0" "animation stopped on frame 0"

# Typing goes to the input and shows there, white on the input's own blue.
xdotool type --window "$window" --delay 60 Zorvy
wait_for "typed Zorvy"
shot="$out/typed.png"
import -window root "$shot"
after=$(count_other "$shot" "${iw}x${ih}+${ix}+${iy}" 000078)
if [ "$after" -ge $((before + 100)) ]; then
    echo "ok: typed text shows in the input ($before, then $after pixels off the box colour)"
else
    fail "typed text does not show ($before, then $after pixels off the box colour)"
fi
expect_pixel "$shot" $((ix + iw - 8)) $((iy + ih / 2)) "0,0,120" "input box after typing"

# Return is the OK button's key (the skin's "okbutton" asks for it): the dialog closes with it.
xdotool key --window "$window" Return
wait_for "clicked 1 1"
wait_for "detached 4"
echo "ok: Return closed the dialog through OK"

finish_scene "$out"
