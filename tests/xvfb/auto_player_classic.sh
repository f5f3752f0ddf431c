#!/usr/bin/env bash
# The automated player's classic run (auto_player_classic) in a real X window under Xvfb, in a
# copy of the game's data folder: it clears a full classic board by presses, through the
# congratulation and "youwinnewboard" into the next board, replays that one, pauses, and blocks a
# board dealt from a stored seed until the no-moves dialog opens, whose "Play the same deal
# again" deals it anew, then picks another scene on the scenes page. The program checks the flow
# itself; this script then reads back, through the game's own scrambled reader, what the boards
# and the scene choice left in the player's progress file and the high scores, checks that the
# build's data folder got nothing, and checks each screenshot (as a PNG file) by the screen it
# is named after. A run that fails keeps its last screenshot and shows the tail of "debug.txt".
#
# Usage: auto_player_classic.sh PROGRAM READ_CONFIG DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

# The program gives up by itself (its run's bound) before this.
XVFB_RUN_SECONDS=500
open_script "program reader data out" "$@"

# From here on inside Xvfb; every attempt starts from a fresh copy of the data.
run_auto_player "$out" "$data" "enter board" "$program"
log="$out/run.log"

# What the first board left in the records, read as the game reads them.
record() { grep "^record $1 " "$log" | head -1 | cut -d' ' -f3-; }
score=$(record score)
name=$(record player)
if [ -n "$score" ] && [ -n "$name" ]; then
    stem=$(printf '%s' "$name" | tr '[:upper:]' '[:lower:]')
    progress="$stem.plr0"
    read_back() { (cd "$out" && "$reader" "work/$1" "$2" "$3"); }
    [ -f "$out/work/${progress}e" ] || fail "no scrambled progress file \"${progress}e\""
    [ -f "$out/work/HighScores.cfge" ] || fail "no scrambled \"HighScores.cfge\""
    expect "$(read_back "$progress" global game)" 1 "progress global/game (the next board)"
    expect "$(read_back "$progress" prevBestScore t0p0)" "$score" "progress prevBestScore/t0p0"
    expect "$(read_back "$progress" seed t0p0)" 0 "progress seed/t0p0"
    expect "$(read_back HighScores.cfg prevHighScore t0p0)" "$score" "HighScores prevHighScore/t0p0"
    expect "$(read_back HighScores.cfg achieved t0p0)" "$name" "HighScores achieved/t0p0"
    scene=$(record scene)
    if [ -n "$scene" ]; then
        expect "$(read_back "$progress" global scenechoice)" "$scene" \
            "progress global/scenechoice (the scene picked)"
    else
        fail "the run never reported the scene it picked"
    fi
else
    fail "the run never reported the first board's score"
fi

expect_no_player_files "$data"
end_checks "$out"
