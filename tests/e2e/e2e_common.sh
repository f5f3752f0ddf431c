# shellcheck shell=bash
# Shared by the end-to-end scripts (sourced after tests/xvfb/xvfb_common.sh): they start the
# shipped program in its own copy of the data folder and drive it with xdotool alone.

readonly e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The game's window caption and the screen it paints (the rest of the Xvfb screen stays black).
readonly game_caption=Quorvane
readonly game_screen=800x600+0+0

# The path of an existing file or folder from the root.
absolute() {
    echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
}

# The opening of an end-to-end script: names its arguments (as name_arguments; among them "data",
# the data folder, and "out", the artifact folder; every other one is a program or a file) and,
# outside Xvfb, runs the script again inside Xvfb with those paths made absolute, on an emptied
# artifact folder, ending with that run's code. Inside, it learns the menu's colours and starts
# the count of failures. Set XVFB_RUN_SECONDS before it.
# Usage: open_e2e_script "NAME..." "$@"
open_e2e_script() {
    name_arguments "$@"
    if outside_xvfb; then
        local names name paths=()
        read -r -a names <<<"$1"
        for name in "${names[@]}"; do
            if [ "$name" != out ]; then
                printf -v "$name" '%s' "$(absolute "${!name}")"
            fi
            paths+=("${!name}")
        done
        rm -rf "$out"
        mkdir -p "$out/shots"
        rerun_in_xvfb "$out" "$0" "${paths[@]}"
    fi
    learn_menu "$data"
    failures_total=0
}

# Copies the data folder DATA to DEST as the build made it: nothing a run leaves behind
# (players, progress, high scores, the log, the lock) and no scrambled twin, which the program
# would read in place of an edited plain file.
# Usage: copy_data DATA DEST
copy_data() {
    rm -rf "$2"
    mkdir -p "$(dirname "$2")"
    cp -r "$1" "$2"
    find "$2" \( -name '*.cfge' -o -name '*.plr*' -o -name 'players.cfg' -o \
        -name 'HighScores.cfg' -o -name 'debug.txt' -o -name 'exist.yes' -o -name '*.tmp' \) \
        -delete
    printf '[game]\nallowloadingthread=1\nallowwebupdater=0\nfullscreen=0\n' >"$2/game.cfg"
}

# Writes a player list naming NAME as the current player into the data folder DEST.
# Usage: add_player DEST NAME
add_player() {
    printf '[info]\nn=2\ncurplayer=%s\n[players]\n%s=1\n' "$2" "$2" >"$1/players.cfg"
}

# Inside Xvfb, in the data folder: starts the program (stdout and stderr into the artifact
# folder) and waits for its window; exits with 75 when the display was taken.
# Usage: start_game PROGRAM OUT
start_game() {
    rm -f debug.txt
    start_scene program "$2/program.log" "$2/program.err" "$1"
    window=""
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        window=$(xdotool search --onlyvisible --name "^$game_caption\$" 2>/dev/null | head -1 || true)
        [ -n "$window" ] && break
        kill -0 "$scene_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [ -z "$window" ]; then
        display_taken && exit 75
        echo "FAIL: no window titled $game_caption"
        tail -20 debug.txt "$2/program.err" 2>/dev/null
        exit 1
    fi
}

# Whether the program said its display could not be opened (another server took it).
display_taken() {
    display_refused "$scene_err" debug.txt
}

# Takes a screenshot named after the screen into the artifact folder: OUT/shots/NAME.png.
# Usage: shot OUT NAME
shot() {
    mkdir -p "$1/shots"
    import -window root "PNG32:$1/shots/$2.png"
    last_shot="$1/shots/$2.png"
}

# Polls screenshots until the shell test TEST (given the screenshot path as $1) holds, at most
# the wait bound; the last screenshot stays as OUT/shots/NAME.png. Returns 1 when it never held
# or the program ended.
# Usage: wait_screen OUT NAME TEST...
wait_screen() {
    wait_screen_within "$wait_seconds" "$@"
}

# Whether the screen passes TEST now (one screenshot, as wait_screen keeps it).
# Usage: screen_is OUT NAME TEST...
screen_is() {
    wait_screen_within 0 "$@"
}

# As wait_screen, at most SECONDS (unscaled: for a poll between two inputs, not for a bound).
# Usage: wait_screen_within SECONDS OUT NAME TEST...
wait_screen_within() {
    local deadline=$((SECONDS + $1)) out=$2 name=$3
    shift 3
    while :; do
        shot "$out" "$name"
        if "$@" "$last_shot"; then
            return 0
        fi
        if [ "$SECONDS" -ge "$deadline" ] || ! kill -0 "$scene_pid" 2>/dev/null; then
            return 1
        fi
        sleep 0.2
    done
}

# Moves the pointer to (X, Y), waits a frame so the program sees the motion, clicks.
# Usage: click X Y
click() {
    xdotool mousemove --window "$window" "$1" "$2"
    sleep 0.1
    xdotool click 1
}

# Clicks (X, Y) and waits (at most the wait bound) for the screen to pass TEST (as wait_screen).
# Screens take no clicks while they fade in: the click is repeated only while the screen stays
# as it was for a while after the last click, so a click that took effect, however slowly the
# busy program paints its answer, is never repeated on the next screen.
# Usage: click_until X Y OUT NAME TEST...
click_until() {
    local x=$1 y=$2 out=$3 name=$4 deadline=$((SECONDS + wait_seconds)) still clicked
    shift 4
    shot "$out" "$name"
    cp "$last_shot" "$out/.before.png"
    click "$x" "$y"
    clicked=$SECONDS
    while :; do
        sleep 0.3
        if screen_is "$out" "$name" "$@"; then
            return 0
        fi
        [ "$SECONDS" -ge "$deadline" ] && return 1
        kill -0 "$scene_pid" 2>/dev/null || return 1
        still=$(convert "$out/.before.png" "$last_shot" -fuzz 2% -metric AE -compare \
            -format '%[distortion]' info: 2>/dev/null || echo 1)
        if [ "${still%.*}" -ge 50 ]; then
            # The screen answers: the click took effect and is not made again.
            clicked=$deadline
        elif [ "$((SECONDS - clicked))" -ge "$click_again_seconds" ]; then
            click "$x" "$y"
            clicked=$SECONDS
        fi
    done
}

# Screen tests (the screenshot is the last argument).
# The menu: its background picture at two points away from the buttons.
is_menu() {
    [ "$(pixel "$1" 700 250)" = "$menu_bg_a" ] && [ "$(pixel "$1" 400 60)" = "$menu_bg_b" ]
}
# Anything painted on the game's part of the screen.
not_black() {
    [ "$(count_where "$1" "$game_screen" "r+g+b>0.1")" -ge 100000 ]
}
# The intro faded in: its crimson title plate, blended into the sky at the end of its fade or
# opaque after it (check_shots.py's plate test).
is_intro() {
    [ "$(count_where "$1" 300x70+250+128 "r>0.393&&g<0.235&&b<0.314")" -ge 10500 ]
}
# The screenshot passes the checks check_shots.py makes of its screen (named by the file), on
# the data folder in $data: a script waits on it so that the kept screenshot is never one taken
# mid-fade.
shot_ok() {
    /usr/bin/python3 "$e2e_dir/check_shots.py" --one "$data" "$1"
}
# Not the menu any more (a dialog over it, or another screen).
not_menu() {
    ! is_menu "$1"
}
# The menu with a dialog over its middle: the dialogs' red face where the menu shows the night
# sky and only the top of the Puzzles button.
is_menu_dialog() {
    [ "$(count_where "$1" 350x45+225+165 "r>0.35&&g<0.12&&b<0.12")" -ge 8000 ]
}
# A board screen of any look: the Menu button's light label at the left of the bottom bar, and
# the top bar painted.
is_board_screen() {
    [ "$(count_where "$1" 60x16+32+561 "r+g+b>1.8")" -ge 40 ] &&
        [ "$(count_where "$1" 800x30+0+0 "r+g+b>0.2")" -ge 20000 ]
}

# A scene between black bars: the bar above it black, its picture painted.
is_scene() {
    [ "$(count_where "$1" 800x75+0+0 "r+g+b<0.02")" -ge 57000 ] &&
        [ "$(count_where "$1" 800x450+0+75 "r+g+b>0.1")" -ge 324000 ]
}

# Screens of the classic and puzzle looks.
is_chooser() {
    # The chooser's red panel in the gaps either side of the middle place (its texts cover the
    # middle), the Play button's gold rim at the foot.
    [ "$(count_where "$1" 20x100+255+240 "r>0.3&&g<0.15&&b<0.15")" -ge 1800 ] &&
        [ "$(count_where "$1" 20x100+512+240 "r>0.3&&g<0.15&&b<0.15")" -ge 1800 ] &&
        [ "$(count_where "$1" 110x36+266+552 "r>0.6&&g>0.45&&b<0.4")" -ge 60 ]
}
not_chooser() {
    ! is_chooser "$1"
}
is_board() {
    not_chooser "$1" && is_board_screen "$1"
}
# A popup's red frame in the middle of the screen (its text and buttons cover part of it).
is_prompt() {
    [ "$(count_where "$1" 300x180+250+210 "r>0.35&&g<0.12&&b<0.12")" -ge 25000 ]
}
not_prompt() {
    ! is_prompt "$1"
}
is_game_menu() {
    [ "$(count_where "$1" 180x300+30+220 "r>0.35&&g<0.12&&b<0.12")" -ge 20000 ]
}

# Waits until two screenshots half a second apart are the same (a board's opening has ended with
# the tiles in place and the board taking clicks), at most the wait bound; the last one stays as
# OUT/shots/NAME.png. Returns 1 when the screen never stood still.
# Usage: wait_still OUT NAME
wait_still() {
    local out=$1 name=$2 deadline=$((SECONDS + wait_seconds))
    while :; do
        shot "$out" "$name"
        cp "$last_shot" "$out/.still.png"
        sleep 0.5
        shot "$out" "$name"
        if [ "$(convert "$out/.still.png" "$last_shot" -metric AE -compare \
            -format '%[distortion]' info: 2>/dev/null || true)" = 0 ]; then
            return 0
        fi
        [ "$SECONDS" -ge "$deadline" ] && return 1
    done
}

# Reads the menu background's colours at the points is_menu checks.
# Usage: learn_menu DATA
learn_menu() {
    menu_bg_a=$(pixel "$1/images/menu/menu_bg.png" 700 250)
    menu_bg_b=$(pixel "$1/images/menu/menu_bg.png" 400 60)
}

# Skips the intro with a key and waits for the menu (at most the wait bound).
skip_intro() {
    keys_until "$1" menu is_menu
}

# Presses a key every second or so until the screen passes TEST (as wait_screen): the intro and
# the scenes paint before they take keys. Returns 1 when the bound ran out or the program ended.
# Usage: keys_until OUT NAME TEST...
keys_until() {
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$scene_pid" 2>/dev/null; do
        xdotool key --window "$window" space
        if wait_screen_within 1 "$@"; then
            return 0
        fi
    done
    return 1
}

# Waits for the program to end by itself (at most the wait bound); sets exit_code.
wait_exit() {
    local deadline=$((SECONDS + wait_seconds))
    exit_code=""
    while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$scene_pid" 2>/dev/null; do
        sleep 0.05
    done
    trap - EXIT
    if kill -0 "$scene_pid" 2>/dev/null; then
        kill -KILL "$scene_pid"
        wait "$scene_pid" 2>/dev/null || true
        exit_code=killed
        return 1
    fi
    exit_code=0
    wait "$scene_pid" || exit_code=$?
}

# Level -1 lines every run may log: a new player has no high scores or progress yet, and the X
# server of Xvfb has no focus window at start; a second copy started beside the game adds why it
# was refused.
readonly expected_errors='FILE NOT FOUND! - (HighScores\.cfg|players\.cfg)|Another copy of the game is already running in '

# Checks debug.txt after a clean exit: the last line is the object report with nothing left,
# and no level -1 line beyond the expected ones.
check_log() {
    local last unexpected
    last=$(grep -v '^\*\*\*ERROR\*\*\*' debug.txt | tail -1 | tr -d '\r')
    if echo "$last" | grep -qE '\(:::[0-9]+\): Total objects used - [0-9]+ *$' &&
        ! grep -q "You Left" debug.txt; then
        echo "ok: log ends with 0 objects left (${last##*: })"
    else
        fail "log ends with \"$last\" ($(grep -c 'Not Cleaned UP' debug.txt || true) objects left)"
    fi
    unexpected=$(grep -E '^\*\*\*ERROR\*\*\* +[0-9]+: ' debug.txt | grep -vE "$expected_errors" || true)
    if [ -z "$unexpected" ]; then
        echo "ok: no unexpected error lines"
    else
        fail "unexpected error lines in debug.txt:"
        echo "$unexpected"
    fi
}

# Checks the program's stderr (and any more files given) for sanitizer reports: in a sanitizer
# build a report that does not abort (a leak at exit, a UBSan note) shows only there.
# Usage: check_sanitizers [FILE...]
check_sanitizers() {
    local pattern='ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: UndefinedBehavior'
    local found=()
    mapfile -t found < <(grep -lE "$pattern" "$scene_err" "$@" 2>/dev/null || true)
    if [ "${#found[@]}" -eq 0 ]; then
        echo "ok: no sanitizer report"
    else
        fail "sanitizer report in ${found[*]}"
        grep -hE -A12 "$pattern" "${found[@]}" | head -40
    fi
}

# On a failure, keeps the tail of the log beside the screenshots.
keep_log_tail() {
    [ -f debug.txt ] && tail -40 debug.txt >"$1/debug-tail.txt"
    return 0
}

# Checks the screenshots in OUT/shots against the table of screens (check_shots.py); each
# failure counts in failures_total.
# Usage: check_screens OUT DATA
check_screens() {
    local report status=0 count
    report=$(/usr/bin/python3 "$e2e_dir/check_shots.py" "$2" "$1/shots" 2>&1) || status=$?
    echo "$report"
    if [ "$status" -ne 0 ]; then
        count=$(echo "$report" | grep -c '^FAIL' || true)
        failures_total=$((failures_total + (count > 0 ? count : 1)))
    fi
}
