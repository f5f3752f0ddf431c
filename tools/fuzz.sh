#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each on its seeds for a bounded
# time, ASan on: the configuration reader (committed seeds and the game's skin), the image reader
# (a tiny picture of every kind SDL_image reads, and the game's generated dialog pictures) and the
# dialog builder (the skin and a description with every
# kind of control) and the layout reader with the deal (committed layouts and the game's boards).
# Inputs may grow to the size of the largest seed, configuration files to 4096 bytes (the largest
# seeds repeat one section over and over, and each byte costs five reads). An input that runs
# for more than 2 s fails the run as a crash does. The image reader's own output (libpng's
# complaint about each damaged picture) is dropped; libFuzzer's and the sanitizer's reports and
# the harnesses' failed checks stay. The targets run at the same time. Each run's log is kept in
# build-fuzz/logs/<target>.log; one line per target reports executions, executions per second and
# coverage.
# Usage: tools/fuzz.sh [seconds per target, default 60; 0 only builds] [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build="$root/build-fuzz"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(ConfigFileFuzz ImageFileFuzz DialogDescriptionFuzz MjLayoutFuzz)
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DFRAMEWORK_FUZZ=ON -DFRAMEWORK_TESTS=OFF \
    -DFRAMEWORK_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPython3_EXECUTABLE=/usr/bin/python3 >/dev/null
cmake --build "$build" --target gamedata "${targets[@]}" -j4 >/dev/null
# 0 seconds: the targets are built and none is run (CI builds them beside other work).
if [ "$seconds" -eq 0 ]; then
    exit 0
fi

# The longest input of a target, 0 for the size of its largest seed.
longest_of() {
    case "$1" in
    ConfigFileFuzz) echo 4096 ;;
    *) echo 0 ;;
    esac
}

# libFuzzer's -close_fd_mask for a target: 2 drops what the target writes to its standard error.
quiet_of() {
    case "$1" in
    ImageFileFuzz) echo 2 ;;
    *) echo 0 ;;
    esac
}

# The seed folders of a target (read only: new inputs go to a scratch corpus).
seeds_of() {
    case "$1" in
    ConfigFileFuzz) echo "$root/tests/fuzz/corpus/config $root/data/cfg" ;;
    ImageFileFuzz) echo "$root/tests/fuzz/corpus/image $build/data/images/dialog" ;;
    DialogDescriptionFuzz) echo "$root/tests/fuzz/corpus/dialog $root/data/cfg" ;;
    MjLayoutFuzz) echo "$root/tests/fuzz/corpus/layout $root/data/puzzles" ;;
    *) echo "unknown fuzz target $1" >&2; exit 2 ;;
    esac
}

logs="$build/logs"
mkdir -p "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
# One target's run; prints its line (after the end of its log when it failed) and ends with 1
# when it failed.
fuzz_one() {
    local target=$1 seeds largest longest log runs rate cov result status=0
    read -r -a seeds <<<"$(seeds_of "$target")"
    largest=$(find "${seeds[@]}" -type f -printf '%s\n' | sort -n | tail -1)
    longest=$(longest_of "$target")
    if [ "$longest" -gt 0 ] && [ "$longest" -lt "$largest" ]; then
        largest=$longest
    fi
    mkdir -p "$work/$target"
    log="$logs/$target.log"
    if (cd "$work" && "$build/tests/fuzz/$target" -max_total_time="$seconds" \
        -max_len="$largest" -len_control=100 -timeout=2 -rss_limit_mb=4096 \
        -close_fd_mask="$(quiet_of "$target")" -print_final_stats=1 \
        -artifact_prefix="$logs/$target-" "$work/$target" "${seeds[@]}") >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        tail -40 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
    echo "$target: $result, ${runs:-?} executions, ${rate:-?} per second, ${cov:-no coverage line}," \
        "inputs up to $largest bytes (log: $log, $(wc -c <"$log") bytes)"
    return "$status"
}

# The targets run at the same time, each a single process on a processor of its own; their lines
# come in the order named.
pids=()
for target in "${targets[@]}"; do
    fuzz_one "$target" >"$work/$target.report" 2>&1 &
    pids+=("$!")
done
status=0
for i in "${!targets[@]}"; do
    wait "${pids[$i]}" || status=1
    cat "$work/${targets[$i]}.report"
done
exit $status
