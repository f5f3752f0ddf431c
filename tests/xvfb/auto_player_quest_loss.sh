#!/usr/bin/env bash
# The automated player's run of the quest's losses (auto_player_quest_loss) in a real X window
# under Xvfb, each run in a fresh copy of the game's data folder with a player prepared on
# board 1: the clock run out with the cheat commands brings "timesup", the replay takes a life,
# the second loss offers to skip the board. The "accept" run skips it and plays on to the lost
# quest ("zorvylose"); the "decline" run gets "timesup" and board 1 again. The program checks the
# flow itself; this script checks a few pixels of the dialogs, reads back through the game's own
# scrambled reader what each run left in the player's progress file, checks that the build's
# data folder got nothing, and turns the screenshots into PNG files.
#
# Usage: auto_player_quest_loss.sh PROGRAM READ_CONFIG DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

# The program gives up by itself (its run's bound) before this.
XVFB_RUN_SECONDS=520
open_script "program reader data out" "$@"

failures=0
# The popups' red frame, the panel's face inside it, and the board's top bar around them.
red="r>0.35&&g<0.12&&b<0.12"
popup=300x200+250+200

# The progress file the run's player left, read back as the game reads it.
# Usage: progress DIR KEY
progress() {
    local stem
    stem=$(printf '%s' "$(grep '^record player ' "$1/run.log" | head -1 | cut -d' ' -f3-)" |
        tr '[:upper:]' '[:lower:]')
    (cd "$1" && "$reader" "work/$stem.plr2" global "$2")
}

for mode in accept decline; do
    dir="$out/$mode"
    run_auto_player "$dir" "$data" menu "$program" "$mode"
    for shot in popup-timesup popup-offerlife; do
        expect_count "$dir/$shot.png" "$popup" "$red" 3000 "$mode: the red frame of \"$shot\""
    done
done

accept="$out/accept"
expect_count "$accept/popup-zorvylose.png" "$popup" "$red" 3000 "the red frame of \"zorvylose\""
# The lost quest starts afresh: the teardown stores a full set of lives and no score.
expect "$(progress "$accept" lives)" 5 "lost quest: progress lives"
expect "$(progress "$accept" score)" 0 "lost quest: progress score"
expect "$(progress "$accept" losses)" 0 "lost quest: progress losses"

decline="$out/decline"
expect_count "$decline/popup-timesup-declined.png" "$popup" "$red" 3000 \
    "the red frame of \"timesup\" after No"
# Left in play on board 1: the life in play is stored with the lives left, the score kept.
shown=$(grep '^record lives-shown ' "$decline/run.log" | head -1 | cut -d' ' -f3-)
if [ -n "$shown" ]; then
    expect "$(progress "$decline" lives)" "$((shown + 1))" "declined: progress lives"
else
    fail "the decline run never reported the lives it left"
fi
expect "$(progress "$decline" score)" \
    "$(grep '^record score ' "$decline/run.log" | head -1 | cut -d' ' -f3-)" "declined: progress score"
expect "$(progress "$decline" losses)" 0 "declined: progress losses"
expect "$(progress "$decline" highestGameReached)" 0 "declined: progress highestGameReached"

expect_no_player_files "$data"
end_checks "$out"
