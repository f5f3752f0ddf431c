#!/usr/bin/env bash
# Every effect and music file the data folder ships peaks at -3 dBFS or below (sox decodes each
# one, Ogg Vorbis too), so several sounds at full volume never clip when the mixer adds them.
#
# Usage: sound_peaks.sh DATA_FOLDER
set -euo pipefail

data=${1:?usage: sound_peaks.sh DATA_FOLDER}
limit=-3
checked=0
failed=0
while IFS= read -r -d '' file; do
    stat=$(sox "$file" -n stat 2>&1) || {
        echo "FAIL: sox cannot read ${file#"$data"/}"
        failed=$((failed + 1))
        continue
    }
    peak=$(awk '/^Maximum amplitude/ { hi = $3 } /^Minimum amplitude/ { lo = -$3 }
                END { a = hi > lo ? hi : lo; if (a <= 0) print -200; else printf "%.2f", 20 * log(a) / log(10) }' \
        <<<"$stat")
    if awk -v p="$peak" -v l="$limit" 'BEGIN { exit !(p > l) }'; then
        echo "FAIL: ${file#"$data"/} peaks at $peak dBFS, above $limit dBFS"
        failed=$((failed + 1))
    fi
    checked=$((checked + 1))
done < <(find "$data" -type f \( -name '*.wav' -o -name '*.ogg' \) -print0 | sort -z)

if [ "$checked" -eq 0 ]; then
    echo "FAIL: no sound in $data"
    exit 1
fi
if [ "$failed" -ne 0 ]; then
    echo "$failed of $checked sounds peak above $limit dBFS"
    exit 1
fi
echo "ok: $checked sounds peak at $limit dBFS or below"
