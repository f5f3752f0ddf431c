#!/usr/bin/env bash
# Includes point down the layers: core, media, stage, dialogs, shell, then the game's board, scene,
# screen, screens and app. A header (.h, .hpp, .inl and the like) never includes a higher layer; a
# source file includes one only where tools/layering-allow.txt lists that file with that header and
# its reason (the cross-calls the design needs, such as the frame loop and the stage, or the board
# screen and the game script). A project header is included one way, quoted and from the repository
# root, so no other spelling (angle brackets, "../", the file's own folder) slips past. The game
# includes only the framework and itself, and every source lives in one of the layers' folders.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
allow=tools/layering-allow.txt
failed=0

# Sets `level` to the layer of a repository path, -1 outside the layers' folders.
layer_of() {
    case "$1" in
    framework/core/*) level=0 ;;
    framework/media/*) level=1 ;;
    framework/stage/*) level=2 ;;
    framework/dialogs/*) level=3 ;;
    framework/shell/*) level=4 ;;
    mahjong/board/*) level=5 ;;
    mahjong/scene/*) level=6 ;;
    mahjong/screen/*) level=7 ;;
    mahjong/screens/*) level=8 ;;
    mahjong/app/*) level=9 ;;
    *) level=-1 ;;
    esac
}

is_header() {
    case "$1" in
    *.h | *.hh | *.hpp | *.hxx | *.inl | *.ipp | *.tpp) return 0 ;;
    *) return 1 ;;
    esac
}

is_source() {
    case "$1" in
    *.c | *.cc | *.cpp | *.cxx) return 0 ;;
    *) return 1 ;;
    esac
}

is_project() {
    [[ $1 == framework/* || $1 == mahjong/* ]]
}

# Sets `norm` to a relative path with its "." and ".." parts resolved; a path that climbs out of
# the tree keeps its leading "..", so it never reads as a project path. Builtins only: the check
# runs on every include of the tree and must stay quick.
normalise() {
    if [[ $1 != *./* && $1 != *. && $1 != *//* ]]; then
        norm=$1
        return
    fi
    local part IFS=/
    local -a parts out=()
    read -r -a parts <<<"$1"
    for part in "${parts[@]}"; do
        case $part in
        '' | .) ;;
        ..)
            if ((${#out[@]})) && [[ ${out[-1]} != .. ]]; then
                unset 'out[-1]'
            else
                out+=(..)
            fi
            ;;
        *) out+=("$part") ;;
        esac
    done
    norm="${out[*]}"
}

# The allow list: "FILE HEADER  # reason", one pair a line.
declare -A allowed=() used=()
entries=()
number=0
while IFS= read -r entry || [[ -n $entry ]]; do
    number=$((number + 1))
    body=${entry%%#*}
    reason=${entry:${#body}}
    reason=${reason#\#}
    reason=${reason#"${reason%%[![:space:]]*}"}
    read -r -a fields <<<"$body" || true
    ((${#fields[@]} == 0)) && continue
    if ((${#fields[@]} != 2)); then
        echo "$allow:$number: a line names one source file and one header it includes: \"$entry\""
        failed=1
        continue
    fi
    pair="${fields[0]} ${fields[1]}"
    if [[ -z $reason ]]; then
        echo "$allow:$number: \"$pair\" gives no reason (\"# why\" after the pair)"
        failed=1
    fi
    if is_header "${fields[0]}"; then
        echo "$allow:$number: \"${fields[0]}\" is a header; a header never includes a higher layer"
        failed=1
        continue
    fi
    if [[ -n ${allowed[$pair]-} ]]; then
        echo "$allow:$number: \"$pair\" is listed twice"
        failed=1
        continue
    fi
    allowed[$pair]=$number
    entries+=("$pair")
done <"$allow"

# A tree git cannot list, or sources grep cannot read, fail the check rather than pass it empty.
listed=$(git ls-files -co --exclude-standard -- {framework,mahjong}/'*'.{h,hh,hpp,hxx,inl,ipp,tpp} \
    {framework,mahjong}/'*'.{c,cc,cpp,cxx})
sources=()
declare -A known=()
while IFS= read -r file; do
    [[ -n $file && -f $file ]] || continue # deleted, not yet staged
    known[$file]=1
    sources+=("$file")
    layer_of "$file"
    if ((level < 0)); then
        echo "$file: a source outside the layers' folders (framework: core, media, stage," \
            "dialogs, shell; the game: board, scene, screen, screens, app)"
        failed=1
    fi
done <<<"$listed"
hits=
if ((${#sources[@]})); then
    status=0
    hits=$(grep -HnE '^[[:space:]]*#[[:space:]]*(include|include_next|import)([^[:alnum:]_]|$)' \
        -- "${sources[@]}") || status=$?
    if ((status > 1)); then
        echo "layering check failed: grep could not read the sources"
        exit 1
    fi
fi

quoted='^[[:space:]]*#[[:space:]]*[a-z_]+[[:space:]]*"([^"]*)"'
angled='^[[:space:]]*#[[:space:]]*[a-z_]+[[:space:]]*<([^>]*)>'
while IFS= read -r hit; do
    [[ -n $hit ]] || continue
    file=${hit%%:*}
    rest=${hit#*:}
    where="$file:${rest%%:*}"
    text=${rest#*:}
    layer_of "$file"
    own=$level
    ((own < 0)) && continue # reported with the file list
    if [[ $text =~ $quoted ]]; then
        spelled=${BASH_REMATCH[1]}
        if [[ $spelled == /* ]]; then
            echo "$where: an absolute include path: \"$spelled\""
            failed=1
            continue
        fi
        # Where the compiler looks first: the including file's folder, then the tree's root.
        normalise "${file%/*}/$spelled"
        if [[ -z ${known[$norm]-} ]]; then
            normalise "$spelled"
        fi
        target=$norm
        if ! is_project "$target"; then
            if [[ $file == mahjong/* && $spelled == */* ]]; then
                echo "$where: the game includes only the framework: \"$spelled\""
                failed=1
            fi
            continue
        fi
        if [[ $spelled != "$target" ]]; then
            echo "$where: a project include is written from the repository root:" \
                "\"$target\", not \"$spelled\""
            failed=1
        fi
    elif [[ $text =~ $angled ]]; then
        normalise "${BASH_REMATCH[1]}"
        if is_project "$norm"; then
            echo "$where: a project include is quoted: \"$norm\", not <${BASH_REMATCH[1]}>"
            failed=1
        fi
        # A project path in angle brackets has failed already; its layer is read all the same.
        is_project "$norm" || continue
        target=$norm
    else
        echo "$where: an include whose path the check cannot read: ${text#"${text%%[![:space:]]*}"}"
        failed=1
        continue
    fi
    if is_source "$target"; then
        echo "$where: includes a source file, which would carry its includes along: \"$target\""
        failed=1
        continue
    fi
    layer_of "$target"
    if ((level < 0)); then
        echo "$where: includes \"$target\", which is in none of the layers' folders"
        failed=1
    elif ((level > own)); then
        pair="$file $target"
        if is_header "$file"; then
            echo "$where: a header includes a higher layer: \"$target\""
            failed=1
        elif [[ -n ${allowed[$pair]-} ]]; then
            used[$pair]=1
        else
            echo "$where: includes a higher layer: \"$target\" (not listed with it in $allow)"
            failed=1
        fi
    fi
done <<<"$hits"

# A pair no longer included upward is stale: the list stays the short list of today's needs.
for pair in "${entries[@]}"; do
    if [[ -z ${used[$pair]-} ]]; then
        echo "$allow:${allowed[$pair]}: \"$pair\" is no longer an upward include; take it off"
        failed=1
    fi
done

if ((failed)); then
    echo "layering check failed"
    exit 1
fi
echo "layering check passed (${#sources[@]} files, ${#entries[@]} allowed upward includes)"
