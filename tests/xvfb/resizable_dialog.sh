#!/usr/bin/env bash
# Shows a resizable dialog (resizable_dialog_xvfb) in a real X window under Xvfb and checks a
# screenshot at a few pixels: centred on the screen, a whole number of 16-pixel tiles plus one
# pixel wide, the header strip transparent over the stage, the frame's tiles in place; its text
# wrapped to "maxlines" with the cut logged. Then it clicks the OK button with xdotool: the
# listener hears DialogButtonClicked and the dialog leaves the screen. The screenshots, the
# program's output and its log stay in the artifact folder.
#
# Usage: resizable_dialog.sh PROGRAM FIXTURE_FOLDER ARTIFACT_FOLDER [FONT_FILE]
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
fixtures=$2
out=$3
font=${4:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out/work"
    rerun_in_xvfb "$out" "$0" "$program" "$fixtures" "$out" "$font"
fi

# From here on inside Xvfb.
log="$out/dialog.log"
start_scene program "$log" "$out/dialog.err" "$program" "$fixtures" "$font" "$out/work"

wait_for ready
window=$(xdotool search --sync --name ResizableDialog | head -1)
xdotool search --sync --name ResizableDialog >/dev/null
read -r _ x y w h < <(grep '^dialog ' "$log")
read -r _ okx oky < <(grep '^ok ' "$log")
read -r _ lines < <(grep '^lines ' "$log")
header=10
tile=16
stage="20,40,80"

# Centred on the 800 x 600 screen; a whole number of tiles plus one pixel, across and below
# the header.
expect "$x" $(((800 - w) / 2)) "left edge of the centred dialog"
expect "$y" $(((600 - h) / 2)) "top edge of the centred dialog"
expect $(((w - 1) % tile)) 0 "width less one pixel, in whole tiles"
expect $(((h - header - 1) % tile)) 0 "height less header and one pixel, in whole tiles"

# Two lines kept of a text that needs more, and the cut in the log.
expect "$lines" 2 "text lines shown"
if grep -q "Text in CastMemberDialogResizable exceeded space to provided to display it." \
    "$out/work/debug.txt"; then
    echo "ok: the cut text is logged"
else
    fail "the cut text is not logged"
fi

import -window root "$out/shown.png"
expect_pixel "$out/shown.png" 700 20 "$stage" "stage"
expect_pixel "$out/shown.png" $((x + w / 2)) $((y + 4)) "$stage" "transparent header, middle"
expect_pixel "$out/shown.png" $((x + 2)) $((y + header - 1)) "$stage" "transparent header, left"
expect_pixel "$out/shown.png" "$x" $((y + header)) "0,0,0" "top-left tile's corner mark"
expect_pixel "$out/shown.png" $((x + 3)) $((y + header + 3)) "200,0,0" "top-left corner tile"
expect_pixel "$out/shown.png" $((x + tile + 3)) $((y + header + 3)) "0,200,0" "top edge tile"
expect_pixel "$out/shown.png" $((x + w - 1)) $((y + header + 3)) "0,0,200" "top-right tile"
expect_pixel "$out/shown.png" $((x + w)) $((y + header + 3)) "$stage" "stage right of the dialog"
expect_pixel "$out/shown.png" $((x - 1)) $((y + h / 2)) "$stage" "stage left of the dialog"
expect_pixel "$out/shown.png" $((x + 3)) $((y + h / 2)) "200,0,200" "left edge tile"
expect_pixel "$out/shown.png" $((x + 3)) $((y + h - 3)) "100,50,0" "bottom-left tile"
expect_pixel "$out/shown.png" "$okx" "$oky" "0,120,0" "OK button"

# Click OK: the listener hears it, the dialog leaves the screen.
move_to "$window" "$okx" "$oky"
xdotool click 1
wait_for "clicked 12 1 1"
wait_for "detached 12"
# Frames painted after the dialog left: a move the scene answers two frames later.
move_to "$window" 1 1
import -window root "$out/closed.png"
expect_pixel "$out/closed.png" $((x + 3)) $((y + header + 3)) "$stage" "where the dialog was"
expect_pixel "$out/closed.png" "$okx" "$oky" "$stage" "where the OK button was"

xdotool key Escape
finish_scene "$out"
