#!/usr/bin/env bash
# Includes point down the layers: core, media, stage, dialogs, shell, then the game's board, scene,
# screen, screens and app. A header never includes a higher layer; a source file does only when
# tools/layering-allow.txt lists it (the cross-calls the design needs, such as the frame loop and the
# stage, or the board screen and the game script). The game includes only the framework and itself,
# and every game source lives in one of its folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
allow=tools/layering-allow.txt

layer() {
    case "$1" in
    framework/core/*) echo 0 ;;
    framework/media/*) echo 1 ;;
    framework/stage/*) echo 2 ;;
    framework/dialogs/*) echo 3 ;;
    framework/shell/*) echo 4 ;;
    mahjong/board/*) echo 5 ;;
    mahjong/scene/*) echo 6 ;;
    mahjong/screen/*) echo 7 ;;
    mahjong/screens/*) echo 8 ;;
    mahjong/app/*) echo 9 ;;
    *) echo -1 ;;
    esac
}

allowed() {
    grep -qxF "$1" <(sed -e 's/#.*//' -e 's/[[:space:]]*$//' "$allow")
}

failed=0
used=()
while IFS= read -r file; do
    own=$(layer "$file")
    if ((own < 0)); then
        echo "$file: a game source outside the game's folders (board, scene, screen, screens, app)"
        failed=1
        continue
    fi
    upward=()
    while IFS= read -r target; do
        if [[ $file == mahjong/* && $target != framework/* && $target != mahjong/* ]]; then
            echo "$file: the game includes only the framework: \"$target\""
            failed=1
            continue
        fi
        other=$(layer "$target")
        if [[ $target == mahjong/* ]] && ((other < 0)); then
            echo "$file: includes \"$target\", which is in none of the game's folders"
            failed=1
        elif ((other > own)); then
            upward+=("$target")
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" |
        grep '/' || true)
    ((${#upward[@]} == 0)) && continue
    if [[ $file == *.h ]] || ! allowed "$file"; then
        for target in "${upward[@]}"; do
            echo "$file: includes a higher layer: \"$target\""
        done
        failed=1
    else
        used+=("$file")
    fi
done < <(git ls-files -co --exclude-standard -- 'framework/*.h' 'framework/*.cpp' 'mahjong/*.h' \
    'mahjong/*.cpp')

# An entry that no longer includes upward is stale: the list stays the short list of today's needs.
while IFS= read -r entry; do
    [[ -z $entry ]] && continue
    if [[ " ${used[*]-} " != *" $entry "* ]]; then
        echo "$allow: \"$entry\" no longer includes a higher layer; take it off the list"
        failed=1
    fi
done < <(sed -e 's/#.*//' -e 's/[[:space:]]*$//' "$allow")

if ((failed)); then
    echo "layering check failed"
    exit 1
fi
echo "layering check passed"
