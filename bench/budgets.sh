#!/usr/bin/env bash
# Start-up and memory budgets of the release build's game under Xvfb, each the median of 5 runs
# in its own copy of the data folder: window up (from exec until xdotool finds the visible
# window by its caption) at most 0.15 s; peak resident memory (VmHWM) with a classic board in
# play at most 40 MB; processor time of that board left alone (nothing moving, no input) at most
# 0.5 % of a core. A report: OVER is printed, never an error.
#
# Usage: bench/budgets.sh [BUILD_FOLDER]   (default build; the game and its data must be built)
# BUDGETS_MUSICVOL=N sets the player's music volume ("musicvol", 0 = music off) in every run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/bench/bench_common.sh" "${1:-}"
out="$build/budgets"
readonly runs=5 window_budget=0.15 memory_budget_mb=40 idle_budget_percent=0.5 idle_seconds=5

if outside_xvfb; then
    [ -x "$program" ] || { echo "budgets: $program is not built"; exit 0; }
    mkdir -p "$out"
    export XVFB_SCENE_INSIDE=1 XVFB_RUN_SECONDS=300
    run_in_xvfb "$0" "$build" || echo "budgets: the runs under Xvfb did not finish"
    exit 0
fi

wait_for_display
learn_menu "$data"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

# Nanoseconds on a processor so far: of the whole process, and of its main thread.
cpu_ns() {
    awk '{ s += $1 } END { printf "%.0f", s }' /proc/"$1"/task/*/schedstat 2>/dev/null
}
main_cpu_ns() {
    cut -d' ' -f1 "/proc/$1/task/$1/schedstat" 2>/dev/null
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
verdict() {
    awk -v got="$1" -v budget="$2" 'BEGIN { print (got <= budget ? "PASS" : "OVER") }'
}

window_times=()
peaks=()
idles=()
main_idles=()
for n in $(seq 1 "$runs"); do
    run="$out/run$n"
    copy_data "$data" "$run/data"
    add_player "$run/data" Ann
    printf '[seed]\nt0p0=7\n' >"$run/data/ann.plr0"
    if [ -n "${BUDGETS_MUSICVOL:-}" ]; then
        printf 'musicvol=%s\n' "$BUDGETS_MUSICVOL" >>"$run/data/game.cfg"
    fi
    cd "$run/data"
    start=$(date +%s.%N)
    "$program" >"$run/program.log" 2>"$run/program.err" &
    scene_pid=$!
    scene_err="$run/program.err"
    # The condition of "xdotool search --sync --onlyvisible --name", polled every 10 ms (--sync
    # itself looks only every half second).
    found=""
    for _ in $(seq 1 2000); do
        if xdotool search --onlyvisible --name "^$game_caption\$" >/dev/null 2>&1; then
            found=1
            break
        fi
        sleep 0.01
    done
    if [ -z "$found" ]; then
        kill -KILL "$scene_pid" 2>/dev/null
        wait "$scene_pid" 2>/dev/null
        echo "run $n: no window"
        continue
    fi
    up=$(date +%s.%N)
    window_times+=("$(awk -v a="$start" -v b="$up" 'BEGIN { printf "%.3f", b - a }')")
    window=$(xdotool search --onlyvisible --name "^$game_caption\$" | head -1)
    # A classic board in play: intro skipped, Classic, Play, the board's tiles on the screen and
    # a few seconds of it. A run that never shows the board measures nothing (the chooser or the
    # menu would pass for less than a board costs).
    if skip_intro "$run" >/dev/null 2>&1 &&
        click_until 400 296 "$run" chooser is_chooser >/dev/null 2>&1 &&
        click_until 322 570 "$run" opening not_chooser >/dev/null 2>&1 &&
        wait_screen "$run" board is_board >/dev/null 2>&1; then
        sleep 3
        peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$scene_pid/status" 2>/dev/null)
        [ -n "$peak" ] && peaks+=("$peak")
        # The board is at rest: its processor time over a few idle seconds, of the process and
        # of the main thread alone (the others are SDL's audio thread, which the dummy driver
        # of a machine without sound wakes every few ms, and the music's decoding).
        before=$(cpu_ns "$scene_pid")
        main_before=$(main_cpu_ns "$scene_pid")
        idle_start=$(date +%s.%N)
        sleep "$idle_seconds"
        after=$(cpu_ns "$scene_pid")
        main_after=$(main_cpu_ns "$scene_pid")
        idle_end=$(date +%s.%N)
        # The board after its idle seconds, kept to be looked at: every tile landed.
        shot "$run" idle >/dev/null 2>&1
        if [ -n "$before" ] && [ -n "$after" ] && [ -n "$main_before" ] && [ -n "$main_after" ]; then
            idles+=("$(awk -v t="$((after - before))" -v a="$idle_start" -v b="$idle_end" \
                'BEGIN { printf "%.2f", 100 * t / 1e9 / (b - a) }')")
            main_idles+=("$(awk -v t="$((main_after - main_before))" -v a="$idle_start" \
                -v b="$idle_end" 'BEGIN { printf "%.2f", 100 * t / 1e9 / (b - a) }')")
        fi
    else
        echo "run $n: no classic board came up (last screen: $run/shots)"
    fi
    kill -KILL "$scene_pid" 2>/dev/null
    wait "$scene_pid" 2>/dev/null
done

if [ "${#window_times[@]}" -gt 0 ]; then
    w=$(printf '%s\n' "${window_times[@]}" | median)
    echo "window up: median ${w} s of ${#window_times[@]} runs (${window_times[*]}), budget ${window_budget} s: $(verdict "$w" "$window_budget")"
else
    echo "window up: no run reached a window"
fi
if [ "${#peaks[@]}" -gt 0 ]; then
    p=$(printf '%s\n' "${peaks[@]}" | median)
    mb=$(awk -v k="$p" 'BEGIN { printf "%.1f", k / 1024 }')
    echo "peak RSS with a classic board: median ${mb} MB of ${#peaks[@]} runs, budget ${memory_budget_mb} MB: $(verdict "$mb" "$memory_budget_mb")"
else
    echo "peak RSS: no run reached a board"
fi
if [ "${#idles[@]}" -gt 0 ]; then
    i=$(printf '%s\n' "${idles[@]}" | median)
    m=$(printf '%s\n' "${main_idles[@]}" | median)
    echo "idle classic board, main thread: median ${m} % of a core of ${#main_idles[@]} runs (${main_idles[*]}), budget ${idle_budget_percent} %: $(verdict "$m" "$idle_budget_percent")"
    echo "idle classic board, whole process (with the audio threads): median ${i} % of a core (${idles[*]}), budget ${idle_budget_percent} %: $(verdict "$i" "$idle_budget_percent")"
else
    echo "idle board: no run reached a board"
fi
