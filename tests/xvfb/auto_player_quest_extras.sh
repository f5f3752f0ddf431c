#!/usr/bin/env bash
# The automated player's quest extras (auto_player_quest_extras) in a real X window under Xvfb,
# each mode in a fresh copy of the game's data folder whose fixture the program writes: the
# bonus life from a low threshold, the movies page, the closing animation after the last board
# of a two-board set. The program checks the flow itself; this script checks a few pixels per
# screen, checks that the build's data folder got nothing, and turns the screenshots into PNG
# files. A run that fails keeps its last screenshot and shows the tail of "debug.txt".
#
# Usage: auto_player_quest_extras.sh PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

# Each run gives up by itself well before its share of this.
XVFB_RUN_SECONDS=660
open_script "program data out" "$@"

failures=0
for mode in bonus movies closing; do
    run_auto_player "$out/$mode" "$data" menu "$program" "$mode"
done

paper="r>0.70&&r<0.92&&g>0.66&&g<0.86&&b>0.50&&b<0.72"
red="r>0.35&&g<0.13&&b<0.13"
expect_count "$out/bonus/quest-map-bonus.png" 700x500+50+50 "$paper" 200000 "the bonus map lies on its paper"
expect_count "$out/movies/movies-page.png" 20x100+255+240 "$red" 1600 "the movies page's red panel, left"
expect_count "$out/movies/movies-page.png" 20x100+512+240 "$red" 1600 "the movies page's red panel, right"
expect_lit "$out/movies/movie-cutscene.png" 800x450+0+75 300000 "the movie's cut-scene shows its scene"
expect_lit "$out/closing/quest-closing.png" 800x450+0+75 300000 "the closing animation shows its scene"

expect_no_player_files "$data"
end_checks "$out"
