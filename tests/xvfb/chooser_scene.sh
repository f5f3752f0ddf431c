#!/usr/bin/env bash
# Shows the board chooser that a game of the given variant opens on (chooser_scene_xvfb) in a
# real X window under Xvfb, from a copy of the game's data folder. Once the first page is
# complete a screenshot must show each cell's picture (miniature or locked frame) at its points,
# the cell labels and the centre label in their colours, and the page's buttons in their
# enabled look. The next page is shown (key n) and the first again (key p): the first page drawn
# twice gives identical pixels. A press on the cell of board 1 (xdotool) makes it the chosen
# cell (its highlighted frame shows, the cell chosen before its plain one); a press on the play
# button starts board 1: a screenshot shows its tiles on the board.
# Then the program is run again and quits while the first page's cells are still being built:
# it must end cleanly (under the sanitizers too) with an object report of nothing left.
# The screenshots stay in the artifact folder.
#
# Usage: chooser_scene.sh PROGRAM DATA_FOLDER ARTIFACT_FOLDER VARIANT
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

open_script "program data out variant" "$@"

# From here on inside Xvfb; every attempt starts from a fresh copy of the data.
start_game_scene "$data" "$out" "$program" "$variant"
window=$(xdotool search --sync --name ChooserScene | head -1)
# The pointer rests where no sprite answers it, so no hover changes a page.
xdotool mousemove --window "$window" 799 599
wait_for "ready 1"
first="$out/page1.png"
import -window root "$first"

# The lines of the program's report of page N (from "page" up to "ready N").
page_lines() {
    awk -v n="$1" '/^page /{buf=""} {buf=buf $0 "\n"} $0=="ready " n {printf "%s", buf; exit}' "$log"
}

# Usage: check_page N SHOT LABELS (the least number of cell labels with a text)
check_page() {
    local lines points=0 labels=0 buttons=0 x y w h rgb text id enabled file want
    lines=$(page_lines "$1")
    expect "$(grep -c '^cell ' <<<"$lines")" "$cells" "cells on page $1"
    while read -r _ x y rgb; do
        expect_pixel "$2" "$x" "$y" "$rgb" "cell picture"
        points=$((points + 1))
    done < <(grep '^point ' <<<"$lines")
    if [ "$points" -lt "$cells" ]; then fail "only $points cell points on page $1"; fi
    while read -r _ x y w h rgb text; do
        hex=$(printf '%02X%02X%02X' ${rgb//,/ })
        expect_at_least "$2" "${w}x${h}+${x}+${y}" "$hex" 4 "label \"$text\" drawn"
        labels=$((labels + 1))
    done < <(grep '^label ' <<<"$lines")
    if [ "$labels" -lt "$3" ]; then fail "only $labels labels on page $1"; fi
    while read -r _ id x y w h enabled file; do
        expect "$enabled" 1 "button $id enabled"
        # A point on the button's face, left of its label or arrow (look 0 of the sheet).
        want=$(pixel "$out/work/$file" 12 $((h / 2)))
        if [ "$want" = "255,0,255" ]; then fail "button $id: the point checked is see-through"; fi
        expect "$(pixel "$2" $((x + 12)) $((y + h / 2)))" "$want" "button $id in its enabled look"
        buttons=$((buttons + 1))
    done < <(grep '^button ' <<<"$lines")
    expect "$buttons" 4 "buttons on page $1"
}

cells=8
check_page 1 "$first" 9
title=$(page_lines 1 | grep '^page ' | cut -d' ' -f3-)
case $variant in
1) expect "$title" "Puzzles I" "page title" ;;
*) expect "$title" "Classic Boards I" "page title" ;;
esac
expect "$(page_lines 1 | grep '^label ' | tail -1 | cut -d' ' -f7-)" \
    "$(page_lines 1 | grep '^label ' | head -1 | cut -d' ' -f7-)" "centre label repeats the chosen cell's"

# The next page, then the first again.
xdotool key --window "$window" n
wait_for "ready 2"
second="$out/page2.png"
import -window root "$second"
title2=$(page_lines 2 | grep '^page ' | cut -d' ' -f3-)
case $variant in
1) expect "$title2" "Puzzles II" "second page title" ;;
*) expect "$title2" "Classic Boards II" "second page title" ;;
esac
# Boards 8 to 15: the sets fill both pages, so every cell carries its board's title.
check_page 2 "$second" 9
xdotool key --window "$window" p
wait_for "ready 3"
again="$out/page1-again.png"
import -window root "$again"
differing=$(compare -metric AE -crop 800x600+0+0 "$first" "$again" null: 2>&1 || true)
expect "$differing" 0 "pixels differing between the first page and the same page drawn again"

# A press as a player makes it: the pointer comes to rest first, then goes back to its corner.
press_at() {
    xdotool mousemove --window "$window" "$1" "$2"
    sleep 0.3
    xdotool click 1
    sleep 0.3
    xdotool mousemove --window "$window" 799 599
}

# A press on board 1's cell chooses it; a press on play starts it.
read -r _ _ cx cy cw _ <<<"$(page_lines 3 | grep '^cell 1 ' | head -1)"
press_at $((cx + cw / 2)) $((cy + 40))
wait_for "chosen 1"
chosen="$out/chosen.png"
sleep 0.3
import -window root "$chosen"
while read -r what x y rgb; do
    expect_pixel "$chosen" "$x" "$y" "$rgb" "$what frame"
done < <(grep -E '^(bright|normal) ' "$log")
read -r _ _ px py pw ph _ <<<"$(page_lines 3 | grep '^button 115 ')"
press_at $((px + pw / 2)) $((py + ph / 2))
wait_for playing
board="$out/board.png"
sleep 0.3
import -window root "$board"
expect "$(grep '^board ' "$log" | cut -d' ' -f2)" 1 "the board played"
tiles=$(grep '^tiles ' "$log" | cut -d' ' -f2)
if [ "$tiles" -lt 8 ]; then fail "only $tiles tiles shown"; fi
faces=0
while read -r _ x y rgb; do
    expect_pixel "$board" "$x" "$y" "$rgb" "tile face"
    faces=$((faces + 1))
done < <(grep '^face ' "$log")
if [ "$faces" -lt 3 ]; then fail "only $faces faces to check"; fi

xdotool key --window "$window" Escape
if ! wait "$scene_pid"; then
    fail "the program ended with an error"
    cat "$out/scene.err"
fi

# Leaving the game while the page is being built.
rm -f "$out/work/debug.txt"
earlier=$failures # start_scene counts afresh
start_scene program "$out/leave.log" "$out/leave.err" bash -c 'cd "$1" && exec "$2" "$3" leave' _ \
    "$out/work" "$program" "$variant"
failures=$earlier
wait_for leaving
trap - EXIT
if ! wait "$scene_pid"; then
    fail "the program left mid-build with an error"
    cat "$out/leave.err"
fi
if grep -q "Total objects used - " "$out/work/debug.txt" &&
    ! grep -q "Object Not Cleaned UP" "$out/work/debug.txt"; then
    echo "ok: no object left after leaving mid-build ($(grep -o 'Total objects used - [0-9]*' "$out/work/debug.txt" | tail -1))"
else
    fail "the object report after leaving mid-build: $(grep -o 'You Left.*' "$out/work/debug.txt" | tail -1)"
fi
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
