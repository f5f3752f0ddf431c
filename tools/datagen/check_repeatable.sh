#!/usr/bin/env bash
# Runs the picture generator and both sound generators (the shell's and the board screen's)
# twice into fresh folders and compares every byte.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The two runs go side by side (which also shows that they share nothing).
generate() {
    /usr/bin/python3 "$here/gen_images.py" "$1"
    "$here/gen_sounds.sh" "$1"
    "$here/gen_game_sounds.sh" "$1"
}
generate "$work/a" &
first=$!
generate "$work/b" &
second=$!
status=0
wait "$first" || status=$?
wait "$second" || status=$?
if [ "$status" -ne 0 ]; then
    echo "FAIL: a generator ended with code $status"
    exit 1
fi
if diff -r "$work/a" "$work/b"; then
    echo "ok: $(find "$work/a" -type f | wc -l) files identical over two runs"
else
    echo "FAIL: the generators' output differs between runs"
    exit 1
fi
