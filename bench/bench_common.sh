# shellcheck shell=bash
# Shared by the game's bench scripts, sourced once root (the source folder) is set: the Xvfb and
# end-to-end helpers, and the program and data folder of the build BUILD_FOLDER (default build).
# Usage: source "$root/bench/bench_common.sh" [BUILD_FOLDER]
build=$(cd "${1:-$root/build}" && pwd)
source "$root/tests/xvfb/xvfb_common.sh"
source "$root/tests/e2e/e2e_common.sh"
program="$build/mahjong/mahjong"
data="$build/data"
