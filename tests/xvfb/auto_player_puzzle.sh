#!/usr/bin/env bash
# The automated player's puzzle run (auto_player_puzzle) in a real X window under Xvfb, in a copy
# of the game's data folder: it clears the puzzle board holding every power by presses, using
# each power on it once, to the board's end. The program checks the flow itself; this script
# checks that the build's data folder got nothing and that no object was left, and checks each
# screenshot (as a PNG file) by the screen it is named after. A run that fails keeps its last screenshot and shows the tail of
# "debug.txt".
#
# Usage: auto_player_puzzle.sh PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

# The program gives up by itself (its run's bound) before this.
XVFB_RUN_SECONDS=500
open_script "program data out" "$@"

# From here on inside Xvfb; every attempt starts from a fresh copy of the data.
run_auto_player "$out" "$data" "enter the powers board" "$program"
log="$out/run.log"

# Every power on the board was used.
on_board=$(grep -c '^power on board ' "$log" || true)
used=$(grep -c '^power used ' "$log" || true)
expect "$used" "$on_board" "powers used of those on the board"
for shot in board-puzzles-powers popup-youwinnewboard-puzzles; do
    [ -f "$out/$shot.png" ] || fail "no screenshot $shot"
done

expect_no_player_files "$data"
end_checks "$out"
