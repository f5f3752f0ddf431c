#!/usr/bin/env bash
# The boards report: every shipped board that holds Yin-Yang tiles, played by a random player from
# the board's own deal, one line per board:
#   <layout file> yinyang free at <P> % (median of <N> plays), cleared <C> %, free pairs at the deal <F>
# P: the share of the board's tiles gone when both Yin-Yang tiles are first free (a play that
# never frees them counts 100); C: the plays that clear the board or match the Yin-Yang pair;
# F: the free pairs the (first) deal opens with. A report: it never fails on the figures.
#
# Usage: bench/boards.sh [BUILD_FOLDER]   (default build; builds the report and the data set)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" -j4 --target mahjong_boards_report >/dev/null ||
    { echo "boards: the report program did not build"; exit 0; }
# From the build folder, which takes the log the game's classes write.
cd "$build" && "$build/bench/mahjong_boards_report" "$build/data"
