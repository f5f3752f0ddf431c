#!/usr/bin/env bash
# The automated player's classic run (auto_player_classic) in a real X window under Xvfb, in a
# copy of the game's data folder: it clears a full classic board by presses, through the
# congratulation and "youwinnewboard" into the next board, replays that one and pauses. The
# program checks the flow itself; this script then reads back, through the game's own scrambled
# reader, what the board left in the player's progress file and the high scores, checks that the
# build's data folder got nothing, and turns the screenshots into PNG files. A run that fails
# keeps its last screenshot and shows the tail of "debug.txt".
#
# Usage: auto_player_classic.sh PROGRAM READ_CONFIG DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
reader=$2
data=$3
out=$4
# The program gives up by itself well before this.
XVFB_RUN_SECONDS=220

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out"
    rerun_in_xvfb "$out" "$0" "$program" "$reader" "$data" "$out"
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
    ! grep -q '^step enter board' "$log"; then
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
else
    fail "the run never reported the first board's score"
fi

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
