#!/usr/bin/env bash
# The automated player's puzzle run (auto_player_puzzle) in a real X window under Xvfb, in a copy
# of the game's data folder: it clears the puzzle board holding every power by presses, using
# each power on it once, to the board's end. The program checks the flow itself; this script
# checks that the build's data folder got nothing and that no object was left, and turns the
# screenshots into PNG files. A run that fails keeps its last screenshot and shows the tail of
# "debug.txt".
#
# Usage: auto_player_puzzle.sh PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
data=$2
out=$3
# The program gives up by itself well before this.
XVFB_RUN_SECONDS=220

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out"
    rerun_in_xvfb "$out" "$0" "$program" "$data" "$out"
fi

# From here on inside Xvfb; every attempt starts from a fresh copy of the data.
rm -rf "$out/work" "$out"/*.bmp "$out"/*.png
cp -r "$data" "$out/work"
log="$out/run.log"
start_scene program "$log" "$out/run.err" bash -c 'cd "$1" && exec "$2" "$3"' _ \
    "$out/work" "$program" "$out"
status=0
wait "$scene_pid" || status=$?
trap - EXIT
if grep -qsE "Couldn't open X11 display|No available video device" "$out/work/debug.txt" &&
    ! grep -q '^step enter the powers board' "$log"; then
    exit 75
fi
cat "$log"
for bmp in "$out"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "PNG32:${bmp%.bmp}.png" && rm -f "$bmp"
done

if [ "$status" -ne 0 ] || ! grep -qx 'run passed' "$log"; then
    fail "the run ended with code $status"
    echo "--- stderr"
    tail -n 20 "$out/run.err"
    echo "--- the end of debug.txt"
    tail -n 40 "$out/work/debug.txt" || true
fi

# Every power on the board was used.
on_board=$(grep -c '^power on board ' "$log" || true)
used=$(grep -c '^power used ' "$log" || true)
expect "$used" "$on_board" "powers used of those on the board"
for shot in puzzle-board puzzle-end; do
    [ -f "$out/$shot.png" ] || fail "no screenshot $shot"
done

# The run wrote only into its copy.
leaked=$(find "$data" -maxdepth 1 \( -iname '*.plr*' -o -iname 'HighScores*' -o -name 'players.cfg*' \) | head -3)
expect "$leaked" "" "player files in the build's data folder"

# The report names every object left; with none it gives the count of objects used.
if grep -qE "You Left 0 objects not cleaned up|Total objects used - " "$out/work/debug.txt" &&
    ! grep -q "Object Not Cleaned UP" "$out/work/debug.txt"; then
    echo "ok: no object left ($(grep -oE 'Total objects used - [0-9]+|You Left 0 .*' "$out/work/debug.txt" | tail -1))"
else
    fail "the object report: $(grep -o 'You Left.*' "$out/work/debug.txt" | tail -1)"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
