#!/usr/bin/env bash
# Player data of the shipped program, each run in its own copy of the data folder in a real X
# window under Xvfb, driven by xdotool alone:
# - delete: with players "Blue Fox" (six progress files, plain and scrambled, under the
#   lower-cased stem) and "Ann" (two), the menu's Player button, Blue Fox's line, Delete and Yes
#   remove exactly Blue Fox's files and its entry in the player list; Ann's stay;
# - kill: a classic board in play, after a free pair matched, the program is killed with
#   SIGKILL; every progress, high-score and player file it had written reads back whole (its
#   last entry present) through the configuration reader, and the game's plain settings too. A stale temporary file planted
#   beside the progress file is never read in its place: the board dealt is the one the real
#   file's seed gives.
# Screenshots stay in ARTIFACTS/shots and are checked by check_shots.py.
#
# Usage: player_data.sh PROGRAM FREE_PAIR_PROGRAM CONFIG_READER SCRAMBLER CLOSE_WINDOW_HELPER
#        DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../xvfb/xvfb_common.sh"
source "$here/e2e_common.sh"

# Seed of classic board 0 in the prepared progress; the stale temporary file holds another.
readonly seed=7 stale_seed=11
XVFB_RUN_SECONDS=300
open_e2e_script "program free_pair reader scrambler closer data out" "$@"
# From here on inside Xvfb.

# The reader logs into the folder it runs in: it runs in its own.
mkdir -p "$out/reader"
# Usage: read_value FILE SECTION KEY
read_value() {
    local file
    file=$(absolute "$1")
    (cd "$out/reader" && "$reader" "$file" "$2" "$3")
}

# Makes the scrambled twin of a plain file, as the program does when it first reads it.
scramble() {
    local file
    file=$(absolute "$1")
    (cd "$out/reader" && "$scrambler" "$file") || exit 1
}

# Usage: expect_value FILE SECTION KEY WANT
expect_value() {
    expect "$(read_value "$1" "$2" "$3")" "$4" "$(basename "$1") [$2] $3"
}

# Ends one run: the run's failures count, the log's tail kept on failure.
end_run() {
    check_sanitizers
    [ "$failures" -ne 0 ] && keep_log_tail "$run"
    failures_total=$((failures_total + failures))
}

# --- delete: the Player button, Blue Fox's line, Delete, Yes
run="$out/delete"
copy_data "$data" "$run/data"
cd "$run/data"
# Blue Fox ranks first, so it is the list's first line.
printf '[info]\nn=3\ncurplayer=Ann\n[players]\nBlue Fox=2\nAnn=1\n' >players.cfg
fox_files=()
for board in 0 1 2; do
    printf '[seed]\nt%dp0=%d\n' "$board" "$seed" >"blue fox.plr$board"
    scramble "blue fox.plr$board"
    fox_files+=("blue fox.plr$board" "blue fox.plr${board}e")
done
printf '[seed]\nt0p0=%d\n' "$seed" >ann.plr0
scramble ann.plr0
ann_files=(ann.plr0 ann.plr0e)

start_game "$program" "$run"
skip_intro "$out" || fail "the intro never gave way to the menu"
# The menu takes no click while it fades in: the click is repeated while nothing changes.
if click_until 145 556 "$out" player-list is_menu_dialog; then
    echo "ok: the Player button opened the player list"
    wait_screen "$out" player-list shot_ok || true
    cp "$last_shot" "$run/list.png"
    line_picked() {
        [ "$(convert \( "$run/list.png" -crop 300x24+220+235 +repage \) \
            \( "$1" -crop 300x24+220+235 +repage \) -fuzz 5% -metric AE -compare \
            -format '%[distortion]' info: 2>/dev/null || echo 0)" -ge 50 ]
    }
    click_until 367 247 "$out" player-picked line_picked || fail "Blue Fox's line showed no choice"
    wait_screen "$out" player-picked shot_ok || true
    cp "$last_shot" "$run/picked.png"
    asked() {
        [ "$(convert "$run/picked.png" "$1" -fuzz 5% -metric AE -compare \
            -format '%[distortion]' info: 2>/dev/null || echo 0)" -ge 2000 ]
    }
    if click_until 490 394 "$out" prompt-delete-player asked; then
        wait_screen "$out" prompt-delete-player shot_ok || true
        # Yes counts once the question has faded in: repeated while nothing changed.
        fox_gone() {
            [ ! -e "${fox_files[0]}" ]
        }
        click_until 340 394 "$out" player-deleted fox_gone || fail "Yes deleted nothing"
        wait_screen "$out" player-deleted shot_ok || true
    else
        fail "Delete asked nothing"
    fi
else
    fail "the Player button opened no player list"
fi
for file in "${fox_files[@]}"; do
    [ -e "$file" ] && fail "\"$file\" is still there after Blue Fox was deleted"
done
left=0
for file in "${ann_files[@]}"; do
    [ -e "$file" ] || { fail "\"$file\" went with Blue Fox"; left=1; }
done
[ "$left" = 0 ] && expect_value ann.plr0 seed t0p0 "$seed"
expect_value players.cfg players "Blue Fox" "<none>"
expect_value players.cfg players Ann 1
for file in *[Ff][Oo][Xx]*; do
    [ -e "$file" ] && fail "a file of Blue Fox is left: \"$file\""
done
"$closer" "$window"
if wait_exit; then
    expect "$exit_code" 0 "exit code"
else
    fail "the program did not end"
fi
check_log
end_run

# --- kill: SIGKILL in mid-board
failures=0
run="$out/kill"
copy_data "$data" "$run/data"
cd "$run/data"
add_player . Ann
printf '[global]\ngame=0\n[seed]\nt0p0=%d\n' "$seed" >ann.plr0
scramble ann.plr0
printf '[achieved]\nt0p0=Zed\n[prevHighScore]\nt0p0=1234\n' >HighScores.cfg
# A temporary file left by a write that never ended, holding another seed: were it read, the
# free pair below would not be a pair.
mkdir -p "$run/stale"
printf '[global]\ngame=0\n[seed]\nt0p0=%d\n' "$stale_seed" >"$run/stale/ann.plr0"
scramble "$run/stale/ann.plr0"
cp "$run/stale/ann.plr0e" ann.plr0e.tmp
mkdir -p "$run/pairs"
cp -r cfg puzzles "$run/pairs/"
read -r ax ay bx by < <(cd "$run/pairs" && "$free_pair" cfg/mjclassic.cfg cfg/puzzles2.cfg 0 "$seed")
echo "free pair at $ax,$ay and $bx,$by"

start_game "$program" "$run"
skip_intro "$out" || fail "the intro never gave way to the menu"
if click_until 400 296 "$out" chooser-classic-kill is_chooser &&
    click_until 322 570 "$out" board-classic-kill-opening not_chooser &&
    { wait_screen "$out" board-classic-kill-opening shot_ok || true; } &&
    wait_screen "$out" board-classic-kill is_board; then
    wait_still "$out" board-classic-kill || true
    cp "$last_shot" "$run/before.png"
    click "$ax" "$ay"
    sleep 0.3
    click "$bx" "$by"
    pair_gone() {
        local a b
        a=$(convert \( "$run/before.png" -crop "16x16+$((ax - 8))+$((ay - 8))" +repage \) \
            \( "$1" -crop "16x16+$((ax - 8))+$((ay - 8))" +repage \) -fuzz 10% -metric AE \
            -compare -format '%[distortion]' info: 2>/dev/null || echo 0)
        b=$(convert \( "$run/before.png" -crop "16x16+$((bx - 8))+$((by - 8))" +repage \) \
            \( "$1" -crop "16x16+$((bx - 8))+$((by - 8))" +repage \) -fuzz 10% -metric AE \
            -compare -format '%[distortion]' info: 2>/dev/null || echo 0)
        [ "${a%.*}" -ge 100 ] && [ "${b%.*}" -ge 100 ]
    }
    if wait_screen "$out" board-classic-kill-pair pair_gone; then
        echo "ok: the pair of seed $seed matched (the stale temporary file was not read)"
    else
        fail "the free pair of seed $seed did not match (see shots/board-classic-kill-pair.png)"
    fi
else
    fail "no classic board came up"
fi
kill -KILL "$scene_pid"
wait "$scene_pid" 2>/dev/null || true
trap - EXIT
echo "killed the program in mid-board"

# Every file the program had written reads back whole: the last entry it writes (sections and
# keys in order) is there.
expect_value ann.plr0 seed t0p0 "$seed"
expect_value ann.plr0 global game 0
expect_value HighScores.cfg prevHighScore t0p0 1234
expect_value HighScores.cfg achieved t0p0 Zed
expect_value players.cfg players Ann 1
expect_value players.cfg info curplayer Ann
# The game's settings stay plain text.
for line in '[game]' allowloadingthread=1 allowwebupdater=0 fullscreen=0; do
    grep -qxF "$line" <(tr -d '\r' <game.cfg) || fail "game.cfg lost \"$line\""
done
for file in ann.plr0e HighScores.cfge players.cfge; do
    [ -s "$file" ] || fail "\"$file\" is missing or empty"
done
end_run

check_screens "$out" "$data"
if [ "$failures_total" -ne 0 ]; then
    echo "$failures_total check(s) failed; screenshots in $out/shots"
    exit 1
fi
echo "all checks passed; screenshots in $out/shots"
