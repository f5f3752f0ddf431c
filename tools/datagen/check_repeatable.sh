#!/usr/bin/env bash
# Runs the picture generator and both sound generators (the shell's and the board screen's)
# twice into fresh folders and compares every byte.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in a b; do
    /usr/bin/python3 "$here/gen_images.py" "$work/$run"
    "$here/gen_sounds.sh" "$work/$run"
    "$here/gen_game_sounds.sh" "$work/$run"
done
if diff -r "$work/a" "$work/b"; then
    echo "ok: $(find "$work/a" -type f | wc -l) files identical over two runs"
else
    echo "FAIL: the generators' output differs between runs"
    exit 1
fi
