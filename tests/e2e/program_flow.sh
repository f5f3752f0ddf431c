#!/usr/bin/env bash
# The shipped program, from its own copy of the data folder in a real X window under Xvfb,
# driven by xdotool alone:
# - classic: a key skips the intro to the menu; Classic opens the board chooser, Play the board
#   whose seed the player's progress holds; the free pair the free-pair program names is clicked
#   and both tiles leave the board and the score changes; the in-game menu, Main Menu and Yes
#   lead back to the menu, Quit ends the program with code 0; a second copy started in the same
#   folder meanwhile ends at once with code 0;
# - puzzles: Puzzles opens its chooser, Play a board; the in-game menu's Quit and Yes end it;
# - quest: Quest opens the intro scene; a key skips it to the first board.
# Each run's "debug.txt" must end with nothing left and hold no unexpected error line. Every
# screen reached is kept as ARTIFACTS/shots/NAME.png and checked by check_shots.py.
#
# Usage: program_flow.sh PROGRAM FREE_PAIR_PROGRAM CLOSE_WINDOW_HELPER DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../xvfb/xvfb_common.sh"
source "$here/e2e_common.sh"

# Seed of classic board 0 in the prepared player's progress.
readonly seed=7
XVFB_RUN_SECONDS=450
open_e2e_script "program free_pair closer data out" "$@"
# From here on inside Xvfb.

# Ends one run: the program's exit code, the log's report; the run's failures count.
end_run() {
    if wait_exit; then
        expect "$exit_code" 0 "exit code"
    else
        fail "the program did not end"
    fi
    check_log
    check_sanitizers "$run/second.err"
    [ "$failures" -ne 0 ] && keep_log_tail "$run"
    failures_total=$((failures_total + failures))
}

# --- classic
run="$out/classic"
copy_data "$data" "$run/data"
add_player "$run/data" Ann
printf '[seed]\nt0p0=%d\n' "$seed" >"$run/data/ann.plr0"
# The free-pair program keeps its own log in its own folder.
mkdir -p "$run/pairs"
cp -r "$run/data/cfg" "$run/data/puzzles" "$run/pairs/"
read -r ax ay bx by < <(cd "$run/pairs" && "$free_pair" cfg/mjclassic.cfg cfg/puzzles2.cfg 0 "$seed")
echo "free pair at $ax,$ay and $bx,$by"
# The intro ends by itself after 7 s; a loaded machine can take longer than that to take and check
# a screenshot, so this run's intro waits for the key instead of ending before it is seen.
sed -i 's/^seconds=.*/seconds=3600/' "$run/data/cfg/splashanim.cfg"
cd "$run/data"
start_game "$program" "$run"
wait_screen "$out" intro is_intro || fail "the intro never faded in"
skip_intro "$out" || fail "the intro never gave way to the menu"
echo "ok: a key skipped the intro to the menu"

second=0
timeout -s KILL "$wait_seconds" "$program" >"$run/second.log" 2>"$run/second.err" || second=$?
[ "$second" -ne 0 ] || fail "second copy's exit code is 0, expected a failure code"
grep -q "already running" "$run/second.err" || fail "second copy gave no reason"
grep -q "already running" debug.txt || fail "second copy's reason is not in debug.txt"
kill -0 "$scene_pid" 2>/dev/null || fail "the first copy died when the second started"

if click_until 400 296 "$out" chooser-classic is_chooser; then
    echo "ok: Classic opened the board chooser"
    if click_until 322 570 "$out" board-classic-opening not_chooser; then
        wait_screen "$out" board-classic-opening shot_ok || true
        wait_screen "$out" board-classic is_board || fail "the board never showed"
    fi
else
    fail "Classic did not open the chooser"
fi
wait_still "$out" board-classic || echo "note: the board never stood still; clicking anyway"
before="$run/before.png"
cp "$last_shot" "$before"
click "$ax" "$ay"
sleep 0.3
click "$bx" "$by"
# Both tiles leave: their faces' middles no longer look as before, and the score (right of its
# caption at the top left) changed.
region_changed() {
    local got
    got=$(convert \( "$before" -crop "$2" +repage \) \( "$1" -crop "$2" +repage \) \
        -fuzz 10% -metric AE -compare -format '%[distortion]' info: 2>/dev/null || true)
    [ "${got%.*}" -ge "$3" ]
}
pair_gone() {
    region_changed "$1" "16x16+$((ax - 8))+$((ay - 8))" 100 &&
        region_changed "$1" "16x16+$((bx - 8))+$((by - 8))" 100 &&
        region_changed "$1" "100x24+104+4" 20
}
if wait_screen "$out" board-classic-pair pair_gone; then
    echo "ok: both tiles of the free pair left the board and the score changed"
else
    fail "the free pair's tiles or the score did not change (see shots/board-classic-pair.png)"
fi

if click_until 62 568 "$out" game-menu is_game_menu; then
    echo "ok: the in-game menu opened"
    if click_until 120 280 "$out" prompt-mainmenu is_prompt; then
        click_until 320 327 "$out" menu-again is_menu && echo "ok: back at the menu" ||
            fail "Yes did not lead back to the menu"
    else
        fail "Main Menu asked nothing"
    fi
else
    fail "the in-game menu did not open"
fi
click 655 556
end_run

# --- puzzles
failures=0
run="$out/puzzles"
copy_data "$data" "$run/data"
add_player "$run/data" Ann
cd "$run/data"
start_game "$program" "$run"
skip_intro "$out" || fail "the intro never gave way to the menu"
if click_until 400 224 "$out" chooser-puzzles is_chooser; then
    echo "ok: Puzzles opened the board chooser"
    click_until 322 570 "$out" board-puzzles-opening not_chooser &&
        { wait_screen "$out" board-puzzles-opening shot_ok || true; } &&
        wait_screen "$out" board-puzzles is_board || fail "the puzzle board never showed"
else
    fail "Puzzles did not open the chooser"
fi
# The first puzzle board greets a new player with a note: OK closes it.
if wait_screen "$out" board-puzzles-welcome is_prompt; then
    click_until 410 362 "$out" board-puzzles not_prompt || fail "the welcome note stayed"
    wait_screen "$out" board-puzzles shot_ok || true
else
    fail "the first puzzle board showed no welcome note"
fi
if click_until 62 568 "$out" game-menu-puzzles is_game_menu; then
    click_until 120 500 "$out" prompt-quit is_prompt && click 320 327 ||
        fail "Quit asked nothing"
else
    fail "the in-game menu did not open"
fi
end_run

# --- quest
failures=0
run="$out/quest"
copy_data "$data" "$run/data"
add_player "$run/data" Ann
cd "$run/data"
start_game "$program" "$run"
skip_intro "$out" || fail "the intro never gave way to the menu"
if click_until 400 368 "$out" quest-intro not_menu; then
    echo "ok: Quest left the menu"
    if wait_screen "$out" quest-intro is_scene; then
        echo "ok: the quest opens on its intro scene"
    else
        fail "the quest's intro scene never showed"
    fi
    # A key skips the intro's animation (not its first fades): a key every second or so until
    # board 0 shows.
    if keys_until "$out" board-quest is_board_screen; then
        echo "ok: a key skipped the intro to board 0"
        wait_screen "$out" board-quest shot_ok || true
    else
        fail "the intro never gave way to board 0"
    fi
else
    fail "Quest did not leave the menu"
fi
# Closed as a window manager would: the quest board ends the program as Quit does.
"$closer" "$window"
end_run

check_screens "$out" "$data"
if [ "$failures_total" -ne 0 ]; then
    echo "$failures_total check(s) failed; screenshots in $out/shots"
    exit 1
fi
echo "all checks passed; screenshots in $out/shots"
