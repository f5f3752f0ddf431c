#!/usr/bin/env bash
# Screen-change latency of the release build's game under Xvfb, each step the median of 5 runs in
# its own copy of the data folder (bench/latency.py plays one run and watches the screen): start
# -> the menu taking a click (intro skipped), menu -> the Classic chooser complete, Play -> the
# first tile drawn, Play -> the tiles landed; then, in runs of their own, the quest's way from a
# won board to the next: the match that wins quest board 1 -> the progress map complete, and the
# click on the map -> the first tile of board 2. Each step is split into the time the game's own
# fades, flights and timed steps take at their configured lengths and the rest (loading,
# building, waiting); the rest is at most 0.3 s per step. A report: OVER is printed, never an
# error. The quest runs add about 3 minutes.
#
# Usage: bench/latency.sh [BUILD_FOLDER]   (default build; the game and its data must be built)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/bench_common.sh" "${1:-}"
out="$build/latency"
readonly runs=5 budget=0.3
# The quest runs' player stands on board 1 (latency.py's QUEST_BOARD), the quest's shortest board
# that ends in the Yin-Yang finish; of the first 40 seeds this one frees its pair in the fewest
# matches (25).
readonly quest_board=1 quest_seed=26

if outside_xvfb; then
    [ -x "$program" ] || { echo "latency: $program is not built"; exit 0; }
    rm -rf "$out"
    mkdir -p "$out"
    export XVFB_SCENE_INSIDE=1 XVFB_RUN_SECONDS=900
    run_in_xvfb "$0" "$build" || echo "latency: the runs under Xvfb did not finish"
    exit 0
fi

wait_for_display
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

for n in $(seq 1 "$runs"); do
    run="$out/run$n"
    copy_data "$data" "$run/data"
    add_player "$run/data" Ann
    printf '[seed]\nt0p0=7\n' >"$run/data/ann.plr0"
    /usr/bin/python3 "$root/bench/latency.py" "$program" "$run/data" "$root" \
        >"$run/steps.txt" 2>"$run/errors.txt" || echo "run $n: $(tail -1 "$run/errors.txt")"
done

# The clicks that win the quest board, worked out once on a copy of its own (the reader leaves
# scrambled twins beside the files it reads).
copy_data "$data" "$out/plan-data"
finish="$build/bench/mahjong_quest_finish"
if [ ! -x "$finish" ]; then
    echo "quest steps not timed: $finish is not built"
elif ! (cd "$out/plan-data" && "$finish" cfg/mjzorvy.cfg cfg/puzzles3.cfg "$quest_board" \
    "$quest_seed") >"$out/quest-plan.txt" 2>"$out/quest-plan-errors.txt"; then
    echo "quest steps not timed: $(tail -1 "$out/quest-plan-errors.txt")"
else
    for n in $(seq 1 "$runs"); do
        run="$out/quest$n"
        copy_data "$data" "$run/data"
        add_player "$run/data" Ann
        printf '[global]\ngame=%d\nhighestGameReached=%d\nlives=5\nscore=0\nlosses=0\n' \
            "$quest_board" "$((quest_board - 1))" >"$run/data/ann.plr2"
        printf '[seed]\nt2p%d=%d\n' "$quest_board" "$quest_seed" >>"$run/data/ann.plr2"
        /usr/bin/python3 "$root/bench/latency.py" "$program" "$run/data" "$root" quest \
            "$out/quest-plan.txt" >"$run/steps.txt" 2>"$run/errors.txt" ||
            echo "quest run $n: $(tail -1 "$run/errors.txt")"
    done
fi

# Per step: the median total and the animation time (the same in every run), then the verdict.
# (No quest runs when the quest steps were not timed: the glob then matches nothing.)
{ cat "$out"/run*/steps.txt "$out"/quest[0-9]*/steps.txt 2>/dev/null || true; } | awk -v budget="$budget" -v runs="$runs" '
    $1 == "step" {
        if (!($2 in seen)) { order[++steps] = $2; seen[$2] = 1 }
        if ($3 != "-") { total[$2, ++count[$2]] = $3; animation[$2] = $4 }
    }
    END {
        for (s = 1; s <= steps; s++) {
            name = order[s]
            n = count[name]
            if (n == 0) { printf "%-18s no run timed it\n", name; continue }
            # Insertion sort of the totals, then the middle one.
            for (i = 1; i <= n; i++) v[i] = total[name, i]
            for (i = 2; i <= n; i++)
                for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
            median = v[int((n + 1) / 2)]
            rest = median - animation[name]
            list = ""
            for (i = 1; i <= n; i++) list = list (i > 1 ? " " : "") v[i]
            printf "%-18s median %.3f s of %d runs (%s): animation %.3f s, rest %.3f s, budget %.1f s: %s\n",
                name, median, n, list, animation[name], rest, budget, (rest <= budget ? "PASS" : "OVER")
        }
    }'
