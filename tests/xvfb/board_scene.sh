#!/usr/bin/env bash
# Shows a board of the game (board_scene_xvfb) in a real X window under Xvfb, from a copy of the
# game's data folder: the game of the given variant is started through the game script, board 0
# is set up with seed 7 and start mode 1, the opening's labels are shown and the tiles fly in.
# Two seconds later a screenshot must show every tile on its cell (pixel checks on tile faces
# that nothing covers) over the background, the rims, the board's buttons in their disabled look
# and the labels for score, total and matches left (for the puzzles, minutes and seconds around
# ":").
# The screenshot stays in the artifact folder.
#
# Usage: board_scene.sh PROGRAM DATA_FOLDER ARTIFACT_FOLDER VARIANT
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

open_script "program data out variant" "$@"

# From here on inside Xvfb; every attempt starts from a fresh copy of the data.
start_game_scene "$data" "$out" "$program" "$variant"
wait_for flying
wait_for ready
shot="$out/board.png"
import -window root "$shot"

# One sprite per tile of the grid (a classic board has 144), each on its cell with its cell's
# priority.
read -r count placed cells <<<"$(grep '^tiles ' "$log" | cut -d' ' -f2-)"
if [ "$variant" = 2 ]; then expect "$cells" 144 "tiles of the classic board"; fi
expect "$count" "$cells" "tile sprites on the stage"
expect "$placed" "$cells" "tiles on their cells"

# Points that the program reported as "KIND X Y R,G,B" show that colour on the screenshot.
# Usage: check_points KIND WHAT LEAST
check_points() {
    local checked=0 x y rgb
    while read -r _ x y rgb; do
        expect_pixel "$shot" "$x" "$y" "$rgb" "$2"
        checked=$((checked + 1))
    done < <(grep "^$1 " "$log")
    if [ "$checked" -lt "$3" ]; then fail "only $checked points of $2 to check"; fi
}

# Faces that nothing covers show the tile's own pixel at its cell; the board picture shows where
# no sprite is.
check_points face "tile face" 3
check_points background "background" 2

# Labels: their text, drawn in their colour.
label_text() { grep "^label $1 " "$log" | cut -d' ' -f8-; }
if [ "$variant" = 1 ]; then
    expect "$(label_text ScoreText)" ":" "board time separator"
    expect "$(label_text ScoreTotText)" ":" "total time separator"
    for n in 1 2 3 4; do
        expect "$(label_text ScoreTime$n)" "00" "time label $n"
    done
else
    expect "$(label_text ScoreText)" "0" "board score"
    expect "$(label_text ScoreTotText)" "0" "total"
fi
matches=$(label_text MatchesLeft)
if ! [[ "$matches" =~ ^[0-9]+$ ]] || [ "$matches" -lt 1 ]; then
    fail "matches left shows \"$matches\""
fi
while read -r _ section x y w h rgb text; do
    if [ -z "${text// /}" ]; then continue; fi
    hex=$(printf '%02X%02X%02X' ${rgb//,/ })
    expect_at_least "$shot" "${w}x${h}+${x}+${y}" "$hex" 4 "label $section drawn"
done < <(grep '^label ' "$log")

# Buttons in their disabled look (the fourth of four looks), a point on the face off the label.
buttons=0
while read -r _ id x y w h enabled file; do
    expect "$enabled" 0 "button $id disabled"
    expect "$(pixel "$shot" $((x + 10)) $((y + 8)))" "$(pixel "$out/work/$file" $((3 * w + 10)) 8)" \
        "button $id in its disabled look"
    buttons=$((buttons + 1))
done < <(grep '^button ' "$log")
if [ "$buttons" -lt 5 ]; then fail "only $buttons buttons"; fi

# Rims above and below the board, at their left end where no tile reaches.
rims=0
while read -r _ x y file; do
    expect_pixel "$shot" $((x + 3)) $((y + 2)) "$(pixel "$out/work/$file" 3 2)" "rim at $y"
    rims=$((rims + 1))
done < <(grep '^rim ' "$log")
expect "$rims" 2 "rims"

xdotool key Escape
finish_scene "$out"
