#!/usr/bin/env bash
# Shows the main menu placed from the game's own menu description, with the cursor made from its
# splash description, in a real X window under Xvfb; hovers a start button with xdotool and
# checks screenshots: the background picture, the buttons at their described places, the hover
# look, the cursor with its shadow at the pointer. Screenshots stay in the artifact folder.
#
# Usage: menu_scene.sh SCENE_PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
data=$2
out=$3

if [ "${MENU_SCENE_INSIDE:-}" != 1 ]; then
    check_tools
    rm -rf "$out"
    mkdir -p "$out"
    # The program writes to its working folder (log, scrambled twins): give it a copy.
    cp -r "$data" "$out/data"
    suppress_x11_leaks "$out"
    export MENU_SCENE_INSIDE=1
    status=0
    run_in_xvfb "$0" "$program" "$data" "$out" || status=$?
    exit "$status"
fi

# From here on inside Xvfb.
start_scene scene "$out/scene.log" "$out/scene.err" "$program" "$out/data"

wait_for ready
window=$(xdotool search --sync --name MenuScene | head -1)
bg="$data/images/menu/menu_bg.png"

# Away from every sprite: the screen shows the menu's background picture.
move_to "$window" 760 300
import -window root "$out/menu.png"
expect "$(pixel "$out/menu.png" 700 250)" "$(pixel "$bg" 700 250)" "background picture"
expect "$(pixel "$out/menu.png" 400 60)" "$(pixel "$bg" 400 60)" "title in the background"

# Each button sits where the description puts it: its middle is not the background.
for name in start1 start2 start3 player options rules quit; do
    read -r x y w h <<<"$(item "$name")"
    cx=$((x + w / 2)); cy=$((y + h / 2))
    if [ "$(pixel "$out/menu.png" "$cx" "$cy")" != "$(pixel "$bg" "$cx" "$cy")" ]; then
        echo "ok: $name drawn at $x,$y (${w}x$h)"
    else
        fail "$name not drawn at $x,$y"
    fi
done

# Over the second start button: its lit look, and the arrow cursor on top (light face, dark
# outline, hot spot on the pointer).
read -r x y w h <<<"$(item start2)"
px=$((x + 20)); py=$((y + h / 2))
normal=$(pixel "$out/menu.png" $((x + 8)) $((y + 8)))
move_to "$window" "$px" "$py"
import -window root "$out/hover.png"
lit=$(pixel "$out/hover.png" $((x + 8)) $((y + 8)))
if [ "$lit" != "$normal" ]; then
    echo "ok: start button lit under the pointer ($normal -> $lit)"
else
    fail "start button look unchanged under the pointer ($lit)"
fi
expect "$(pixel "$out/hover.png" $((px + 3)) $((py + 9)))" "252,248,236" "cursor face below the hot spot"
IFS=, read -r r g b <<<"$(pixel "$out/hover.png" $((px - 1)) $((py + 9)))"
if [ $((r + g + b)) -lt 200 ]; then
    echo "ok: cursor outline left of the face ($r,$g,$b)"
else
    fail "no dark cursor outline left of the face ($r,$g,$b)"
fi
# The welcome label in its cream colour.
expect_at_least "$out/hover.png" 400x30+200+132 FAEED2 40 "welcome label"

xdotool click 1
wait_for "clicked 2 1"
echo "ok: click reported for start button 2"

xdotool key --window "$window" Escape
finish_scene "$out"
