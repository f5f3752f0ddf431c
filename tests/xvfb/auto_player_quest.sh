#!/usr/bin/env bash
# The automated player's quest run (auto_player_quest) in a real X window under Xvfb, each run in
# a fresh copy of the game's data folder with a new player: the full run plays the intro, board 0
# to its Yin-Yang finish, the bonus tiles, the cut-scene and the map into board 1, then board 1 to
# its Yin-Yang finish, the tray sweep, the case, the second cut-scene and map into board 2; the short run
# proves that a key skips the intro. The program checks the flow itself; this script checks a
# few pixels per screen, reads back through the game's own scrambled reader what the quest left
# in the player's progress file, checks that the build's data folder got nothing, and turns the
# screenshots into PNG files. A run that fails keeps its last screenshot and shows the tail of
# "debug.txt".
#
# Usage: auto_player_quest.sh PROGRAM READ_CONFIG DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

# The program gives up by itself (its run's bound) before this.
XVFB_RUN_SECONDS=600
open_script "program reader data out" "$@"

# One run of the program in OUT/NAME (a fresh copy of the data); sets run_status.
# Usage: play NAME [ARGUMENT...]
play() {
    local name=$1
    shift
    run_auto_player "$out/$name" "$data" intro "$program" "$@"
}

failures=0
play quest
shots="$out/quest"
record() { grep "^record $1 " "$shots/run.log" | head -1 | cut -d' ' -f3-; }

# Each screen, as a player sees it: not black where the scene or board is, the map on its
# paper, the board in its brown frame with light tile faces.
paper="r>0.70&&r<0.92&&g>0.66&&g<0.86&&b>0.50&&b<0.72"
frame="r>0.15&&r<0.75&&r>g+0.05&&g>b"
face="r>0.75&&g>0.75&&b>0.72"
expect_lit "$shots/quest-intro-fades.png" 800x450+0+75 300000 "the intro's fade series shows its scene"
expect_lit "$shots/quest-intro-animation.png" 800x450+0+75 300000 "the intro's animation shows its scene"
for scene in cutscene-board0 cutscene-board1; do
    expect_lit "$shots/$scene.png" 800x450+0+75 300000 "$scene shows its scene"
done
for map in map-board1 map-board2; do
    expect_count "$shots/$map.png" 700x500+50+50 "$paper" 200000 "$map lies on its paper"
done
for board in board-quest-0 board-quest-1 board-quest-2; do
    expect_lit "$shots/$board.png" 800x600+0+0 400000 "$board is not black"
    expect_count "$shots/$board.png" 800x70+0+0 "$frame" 30000 "$board's top bar in its frame colour"
    expect_count "$shots/$board.png" 800x80+0+520 "$frame" 25000 "$board's foot in its frame colour"
    expect_count "$shots/$board.png" 600x340+100+130 "$face" 20000 "$board's tile faces"
done
expect_count "$shots/quest-bonus-tiles.png" 600x340+100+130 "$face" 2000 "the bonus tiles on their way"
# Mid-sweep the tiles gather beside the raised pair; at the case the pair sinks into it.
for shot in quest-sweep quest-case; do
    expect_count "$shots/$shot.png" 800x70+0+0 "$frame" 30000 "$shot: the board's top bar"
    expect_count "$shots/$shot.png" 600x400+100+100 "$face" 1500 "$shot: tile faces"
done

name=$(record player)
score=$(record score)
if [ -n "$name" ] && [ -n "$score" ]; then
    stem=$(printf '%s' "$name" | tr '[:upper:]' '[:lower:]')
    progress="$stem.plr2"
    read_back() { (cd "$shots" && "$reader" "work/$1" "$2" "$3"); }
    [ -f "$shots/work/${progress}e" ] || fail "no scrambled progress file \"${progress}e\""
    expect "$(read_back "$progress" global highestGameReached)" "$(record highestGameReached)" \
        "progress highestGameReached"
    expect "$(read_back "$progress" global score)" "$score" "progress score"
    # Left on board 2 before its fifth match: the life in play there is saved with the lives.
    expect "$(read_back "$progress" global lives)" "$(($(record lives-shown) + 1))" "progress lives"
    expect "$(read_back "$progress" global losses)" "$(record losses)" "progress losses"
else
    fail "the quest run never reported what it left on board 2"
fi

play skip skip
expect_lit "$out/skip/board-quest-0-after-skip.png" 800x600+0+0 100000 "board 0 after the skipped intro"

expect_no_player_files "$data"
end_checks "$out"
