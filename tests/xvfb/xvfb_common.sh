# shellcheck shell=bash
# Shared by the Xvfb test scripts (sourced).

xvfb_common_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Every bound of the scripts (and of the programs they run) is scaled by one factor,
# E2E_TIME_SCALE: a whole number, 1 unless set (ctest hands each test the factor the build was
# configured with). A bound only ends a wait that the program's progress never ends, so a
# passing run never waits one out: they are generous, for a machine busy with other work.
time_scale=${E2E_TIME_SCALE:-1}
if ! [[ "$time_scale" =~ ^[1-9][0-9]*$ ]]; then
    echo "FAIL: E2E_TIME_SCALE must be a whole number from 1, not \"$time_scale\""
    exit 1
fi
export E2E_TIME_SCALE=$time_scale

# SECONDS times the factor.
# Usage: scaled SECONDS
scaled() {
    echo $(($1 * time_scale))
}

# The bound of one wait for the program's progress (a line it prints, its window, a screen, its
# end).
wait_seconds=$(scaled 120)
# How long an input that a screen did not answer (it takes none while it fades in) is left
# before it is made again: a busy program may answer late, and an input made twice acts twice.
click_again_seconds=$(scaled 2)
# How long a key that a screen did not answer is left before it is pressed again.
key_again_seconds=$(scaled 10)

# Runs the calling script again inside a fresh Xvfb server of its own. The server picks a free
# display itself (-displayfd), so servers started at the same moment never share one, as
# xvfb-run's own pick could. A run whose program still could not open the display ends with
# code 75 and is tried on another server. A run is killed after XVFB_RUN_SECONDS (200 unless the
# script sets more) times the factor, and its server with it.
run_in_xvfb() {
    local attempt status
    for attempt in 1 2 3; do
        status=0
        run_in_own_xvfb "$@" || status=$?
        if [ "$status" -ne 75 ]; then
            return "$status"
        fi
        echo "display taken (attempt $attempt); trying again"
        sleep 1
    done
    return 1
}

# One run of a command under a new Xvfb server; ends with the command's code, 75 when the server
# did not come up.
run_in_own_xvfb() {
    local number_file server status=0 _
    number_file=$(mktemp)
    # -noreset: by default the server resets when its last client leaves, and a program that
    # connects during the reset is refused ("Couldn't open X11 display"); scripts start several
    # programs one after another on one server.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$number_file" 2>/dev/null &
    server=$!
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        [ -s "$number_file" ] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.05
    done
    local number
    number=$(tr -dc 0-9 <"$number_file")
    rm -f "$number_file"
    if [ -z "$number" ]; then
        kill -KILL "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
        return 75
    fi
    # No authority file: a server started without one takes local clients.
    env -u XAUTHORITY DISPLAY=":$number" timeout -s KILL \
        "$(scaled "${XVFB_RUN_SECONDS:-200}")" "$@" ||
        status=$?
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    return "$status"
}

# True in a script's first run, outside Xvfb; false in the run that rerun_in_xvfb starts.
outside_xvfb() {
    [ "${XVFB_SCENE_INSIDE:-}" != 1 ]
}

# Outside Xvfb, once the artifact folder OUT is ready: checks the tools, writes the leak
# suppressions and runs the calling script again inside Xvfb; ends with that run's code.
# Usage: rerun_in_xvfb OUT SCRIPT [ARGUMENT...]
rerun_in_xvfb() {
    local out=$1 status=0
    shift
    check_tools
    suppress_x11_leaks "$out"
    export XVFB_SCENE_INSIDE=1
    run_in_xvfb "$@" || status=$?
    exit "$status"
}

# As rerun_in_xvfb, on an artifact folder OUT emptied first (nothing of an earlier run stays).
# Usage: rerun_in_xvfb_afresh OUT SCRIPT [ARGUMENT...]
rerun_in_xvfb_afresh() {
    rm -rf "$1"
    mkdir -p "$1"
    rerun_in_xvfb "$@"
}

# Names a script's arguments: one variable per argument, named in order by NAMES (a list in one
# word); a missing argument ends the script with its usage line.
# Usage: name_arguments "NAME..." "$@"
name_arguments() {
    local names name
    read -r -a names <<<"$1"
    shift
    if [ "$#" -lt "${#names[@]}" ]; then
        echo "usage: $(basename "$0") ${names[*]^^}"
        exit 2
    fi
    for name in "${names[@]}"; do
        printf -v "$name" '%s' "$1"
        shift
    done
}

# The opening of a script whose arguments all pass on to its run inside Xvfb: names them (as
# name_arguments; one is "out", the artifact folder) and, outside Xvfb, runs the script again
# inside Xvfb on that folder emptied first, ending with that run's code. Set XVFB_RUN_SECONDS
# before it.
# Usage: open_script "NAME..." "$@"
open_script() {
    name_arguments "$@"
    shift
    if outside_xvfb; then
        rerun_in_xvfb_afresh "$out" "$0" "$@"
    fi
}

# Inside Xvfb: waits until the display answers; ends the run with code 75 when it never does.
wait_for_display() {
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        if xdotool getdisplaygeometry >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.05
    done
    exit 75
}

# Whether a program's log or error output (the files given; missing ones are skipped) says it
# could not open its display: the server was taken or refused it, and the run is tried again.
# Usage: display_refused FILE...
display_refused() {
    grep -qsE "Couldn't open X11 display|No available video device" "$@"
}

# Outside Xvfb: ends the run when a tool the scripts use is missing.
check_tools() {
    local tool
    for tool in Xvfb xdotool import convert; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; exit 1; }
    done
}

# Outside Xvfb: writes the leak sanitizer's suppressions into the artifact folder ($1).
suppress_x11_leaks() {
    # libX11 leaks a few bytes in its input-method set-up; nothing of ours.
    echo "leak:libX11.so" >"$1/lsan.supp"
    export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$1/lsan.supp"
}

# Inside Xvfb, once the display answers: starts a program on it in the background, stdout into
# LOG and stderr into ERR, and kills it should the script end early. WHAT names the program in
# messages ("scene", "program"). The helpers below read scene_log, scene_err and scene_pid and
# count failed checks in failures.
# Usage: start_scene WHAT LOG ERR COMMAND [ARGUMENT...]
start_scene() {
    scene_what=$1
    scene_log=$2
    scene_err=$3
    shift 3
    wait_for_display
    export SDL_VIDEODRIVER=x11
    export SDL_AUDIODRIVER=dummy
    "$@" >"$scene_log" 2>"$scene_err" &
    scene_pid=$!
    failures=0
    trap 'kill "$scene_pid" 2>/dev/null || true' EXIT
}

# Waits until the program printed a line (whole line, as a grep pattern); ends the run when it
# never does, with code 75 when it could not open the display (taken by another server).
wait_for() {
    wait_count "$1" 1
}

# Waits until the program printed a line (as wait_for) at least N times.
# Usage: wait_count LINE N
wait_count() {
    local deadline=$((SECONDS + wait_seconds))
    local alive
    while [ "$SECONDS" -lt "$deadline" ]; do
        # Whether it runs is asked before the log is read: a program that prints the line and
        # ends between the two still has it counted.
        alive=0
        kill -0 "$scene_pid" 2>/dev/null && alive=1
        if [ "$(grep -cx "$1" "$scene_log" || true)" -ge "$2" ]; then
            return 0
        fi
        [ "$alive" -eq 1 ] || break
        sleep 0.05
    done
    # A program on the framework says so in its own log in the folder it runs in: here, or a
    # working folder the scene program moved to below its artifact folder.
    local logs
    mapfile -t logs < <(find "$(dirname "$scene_log")" -maxdepth 3 -name debug.txt 2>/dev/null)
    if display_refused "$scene_err" debug.txt "${logs[@]}"; then
        exit 75
    fi
    if [ "$2" -eq 1 ]; then
        echo "FAIL: the $scene_what never printed \"$1\""
    else
        echo "FAIL: the $scene_what never printed \"$1\" $2 times"
    fi
    cat "$scene_log" "$scene_err"
    exit 1
}

# Lines of the program's log so far; the waits below look only at lines after a mark.
mark() {
    wc -l <"$scene_log"
}

# Waits until a line after mark $1 matches $2 (whole line, grep pattern); prints that line. Ends
# the run as wait_for does when it never comes.
# Usage: wait_after MARK LINE
wait_after() {
    local deadline=$((SECONDS + wait_seconds)) line alive
    while [ "$SECONDS" -lt "$deadline" ]; do
        # Asked before the log is read, as in wait_count.
        alive=0
        kill -0 "$scene_pid" 2>/dev/null && alive=1
        line=$(tail -n +"$(($1 + 1))" "$scene_log" | grep -x "$2" | head -1 || true)
        if [ -n "$line" ]; then
            echo "$line"
            return 0
        fi
        [ "$alive" -eq 1 ] || break
        sleep 0.05
    done
    if display_refused debug.txt "$scene_err"; then
        exit 75
    fi
    echo "FAIL: the $scene_what never printed \"$2\"" >&2
    cat "$scene_log" "$scene_err" >&2
    exit 1
}

# As wait_after, then waits for the stand-in's "settled" after that line: what it began (a
# state, a dialog) has ended its fades and is on the screen. Prints the line.
# Usage: wait_settled MARK LINE
wait_settled() {
    local line at
    line=$(wait_after "$1" "$2")
    at=$(tail -n +"$(($1 + 1))" "$scene_log" | grep -nx "$2" | head -1 | cut -d: -f1)
    wait_after "$(($1 + at))" settled >/dev/null
    echo "$line"
}

# Presses KEY in WINDOW until a line after mark $3 matches $4 (as wait_after, at most the wait
# bound): a screen may take keys only at some moments of its run. The key is pressed again only
# after key_again_seconds without the line: SDL takes a release that the next press follows at
# once for a key held down, so presses queued by a program that is slow to read them would be
# lost.
# Usage: key_until WINDOW KEY MARK LINE
key_until() {
    local deadline=$((SECONDS + wait_seconds)) again=0
    while [ "$SECONDS" -lt "$deadline" ] && kill -0 "$scene_pid" 2>/dev/null; do
        if [ "$SECONDS" -ge "$again" ]; then
            xdotool key --window "$1" "$2"
            again=$((SECONDS + key_again_seconds))
        fi
        if tail -n +"$(($3 + 1))" "$scene_log" | grep -qx "$4"; then
            return 0
        fi
        sleep 0.05
    done
    wait_after "$3" "$4" >/dev/null
}

# The rest of the line "item NAME ..." the program printed.
item() {
    grep "^item $1 " "$scene_log" | head -1 | cut -d' ' -f3-
}

# Moves the mouse in a window and waits until a frame after the move is on the screen.
# Usage: move_to WINDOW X Y
move_to() {
    xdotool mousemove --window "$1" "$2" "$3"
    wait_for "moved $2 $3"
}

# Counts a failed check.
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

expect() {
    if [ "$1" = "$2" ]; then
        echo "ok: $3 ($1)"
    else
        fail "$3 is $1, expected $2"
    fi
}

# "r,g,b" of one pixel of a screenshot.
pixel() {
    convert "$1" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:
}

expect_pixel() {
    local shot=$1 x=$2 y=$3 want=$4 what=$5 got
    got=$(pixel "$shot" "$x" "$y")
    if [ "$got" = "$want" ]; then
        echo "ok: $what at $x,$y is $want"
    else
        fail "$what at $x,$y is $got, expected $want"
    fi
}

# Pixels of a screenshot within a rectangle whose colour passes an fx test (0 or 1 per pixel).
count_where() {
    convert "$1" -crop "$2" +repage -fx "$3" -format "%[fx:round(mean*w*h)]" info:
}

# Usage: expect_count SHOT RECTANGLE FX_TEST LEAST WHAT
expect_count() {
    expect_pixels "$(count_where "$1" "$2" "$3")" "$4" "$5" "$2" ""
}

# Pixels that are not near black inside a rectangle of a shot; a missing
# shot is a failed check.
# Usage: expect_lit SHOT RECTANGLE LEAST WHAT
expect_lit() {
    [ -f "$1" ] || { fail "no screenshot $(basename "$1") for $4"; return; }
    expect_count "$1" "$2" "(r+g+b)>0.12" "$3" "$4"
}

# Pixels of exactly one colour (hex, as RRGGBB) inside a rectangle (WxH+X+Y) of a screenshot.
count_colour() {
    convert "$1" -crop "$2" +repage -depth 8 txt:- | grep -ci " #$3 " || true
}

# Usage: expect_at_least SHOT RECTANGLE COLOUR LEAST WHAT
expect_at_least() {
    expect_pixels "$(count_colour "$1" "$2" "$3")" "$4" "$5" "$2" " of #$3"
}

# Counts a failed check unless COUNT pixels are at least LEAST.
# Usage: expect_pixels COUNT LEAST WHAT RECTANGLE KIND
expect_pixels() {
    if [ "$1" -ge "$2" ]; then
        echo "ok: $3 ($1 pixels$5)"
    else
        fail "$3 ($1 pixels$5 in $4, expected at least $2)"
    fi
}

# Waits for the program to end and gives the verdict; ends the run. $1 is the artifact folder.
finish_scene() {
    trap - EXIT
    if ! wait "$scene_pid"; then
        fail "the $scene_what ended with an error"
        cat "$scene_err"
    fi
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed; screenshots in $1"
        exit 1
    fi
    echo "all checks passed; screenshots in $1"
    exit 0
}

# Inside Xvfb: one run of an automated player program in DIR, on a fresh copy of the data folder
# DATA (DIR/work, its working folder); the program writes its screenshots into DIR, which turn
# into PNG files checked by the screen each is named after, and its stdout into DIR/run.log,
# which is shown. A run that fails shows the tail of its stderr and of "debug.txt"; its object
# report must leave nothing. Exits with 75 when the display was taken before the program printed
# "step FIRST_STEP". Sets run_status.
# Usage: run_auto_player DIR DATA FIRST_STEP PROGRAM [ARGUMENT...]
run_auto_player() {
    local dir=$1 data=$2 first=$3 program=$4
    shift 4
    rm -rf "$dir/work" "$dir"/*.bmp "$dir"/*.png
    mkdir -p "$dir"
    cp -r "$data" "$dir/work"
    # Starting a program clears the count of failed checks: an earlier run's ones are kept.
    local earlier=${failures:-0}
    start_scene program "$dir/run.log" "$dir/run.err" bash -c 'cd "$1" && shift && exec "$@"' _ \
        "$dir/work" "$program" "$dir" "$@"
    failures=$((failures + earlier))
    run_status=0
    wait "$scene_pid" || run_status=$?
    trap - EXIT
    if display_refused "$dir/work/debug.txt" &&
        ! grep -q "^step $first" "$dir/run.log"; then
        exit 75
    fi
    cat "$dir/run.log"
    local bmp
    for bmp in "$dir"/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "PNG32:${bmp%.bmp}.png" && rm -f "$bmp"
    done
    check_auto_player_shots "$dir"
    if [ "$run_status" -ne 0 ] || ! grep -qx 'run passed' "$dir/run.log"; then
        fail "the run in $(basename "$dir") ended with code $run_status"
        echo "--- stderr"
        tail -n 20 "$dir/run.err"
        echo "--- the end of debug.txt"
        tail -n 40 "$dir/work/debug.txt" || true
    fi
    # The report names every object left; with none it gives the count of objects used.
    local report=$dir/work/debug.txt
    if grep -qE "You Left 0 objects not cleaned up|Total objects used - " "$report" &&
        ! grep -q "Object Not Cleaned UP" "$report"; then
        echo "ok: no object left in $(basename "$dir") ($(grep -oE 'Total objects used - [0-9]+|You Left 0 .*' "$report" | tail -1))"
    else
        fail "the object report of $(basename "$dir"): $(grep -o 'You Left.*' "$report" | tail -1)"
    fi
}

# The screenshots of a run in DIR checked by the screen each is named after (check_shots.py, with
# the run's copy of the data); any failed check fails the script.
# Usage: check_auto_player_shots DIR
check_auto_player_shots() {
    local report status=0 count
    report=$(/usr/bin/python3 "$xvfb_common_dir/../e2e/check_shots.py" "$1/work" "$1" 2>&1) ||
        status=$?
    echo "--- screenshots"
    echo "$report"
    if [ "$status" -ne 0 ]; then
        count=$(echo "$report" | grep -c '^FAIL' || true)
        fail "the screenshots of $(basename "$1"): $count check(s) failed"
    fi
}

# The runs wrote only into their copies: no player, progress or high-score file in DATA.
# Usage: expect_no_player_files DATA
expect_no_player_files() {
    local leaked
    leaked=$(find "$1" -maxdepth 1 \( -iname '*.plr*' -o -iname 'HighScores*' -o -name 'players.cfg*' \) | head -3)
    expect "$leaked" "" "player files in the build's data folder"
}

# Ends a script of checks: its code says whether any failed.
# Usage: end_checks FOLDER
end_checks() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed; screenshots in $1"
        exit 1
    fi
    echo "all checks passed; screenshots in $1"
}

# Inside Xvfb: starts a scene program that starts a game itself, in its working folder OUT/work
# (a fresh copy of the data folder DATA: the game writes its choices there), with stdout in
# OUT/scene.log (named by log) and stderr in OUT/scene.err, and waits for its "started". The
# framework writes a display it could not open into its debug log, not on stderr: such a run
# exits with 75, to be tried again on another display.
# Usage: start_game_scene DATA OUT PROGRAM [ARGUMENT...]
start_game_scene() {
    local work=$2/work err=$2/scene.err
    log=$2/scene.log
    rm -rf "$work"
    cp -r "$1" "$work"
    shift 2
    start_scene program "$log" "$err" bash -c 'cd "$1" && shift && exec "$@"' _ "$work" "$@"
    local deadline=$((SECONDS + wait_seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        grep -qx started "$log" && break
        if ! kill -0 "$scene_pid" 2>/dev/null; then
            display_refused "$work/debug.txt" &&
                exit 75
            break
        fi
        sleep 0.05
    done
    wait_for started
}
