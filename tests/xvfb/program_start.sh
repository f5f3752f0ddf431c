#!/usr/bin/env bash
# Starts the real game program from a copy of its data folder in a real X window under Xvfb:
# it reaches the main menu (screenshot), a second copy started beside it is refused with a
# failure code and adds its reason to the log without emptying it, and closing the window ends
# the program with code 0 and frees the lock for the next start.
#
# Usage: program_start.sh PROGRAM CLOSE_WINDOW_HELPER DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
closer=$2
data=$3
out=$4

if [ "${PROGRAM_START_INSIDE:-}" != 1 ]; then
    check_tools
    rm -rf "$out"
    mkdir -p "$out"
    cp -r "$data" "$out/data"
    suppress_x11_leaks "$out"
    export PROGRAM_START_INSIDE=1
    status=0
    run_in_xvfb "$0" "$program" "$closer" "$data" "$out" || status=$?
    exit "$status"
fi

# From here on inside Xvfb. The program runs in its data folder, as a player starts it.
cd "$out/data"
start_scene program "$out/program.log" "$out/program.err" "$program"

window=""
deadline=$((SECONDS + wait_seconds))
while [ "$SECONDS" -lt "$deadline" ]; do
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$scene_pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$window" ]; then
    # The framework logs a display it could not open in its own log: the display was taken.
    display_refused "$out/program.err" debug.txt && exit 75
    echo "FAIL: no window titled Quorvane"
    cat "$out/program.err"
    exit 1
fi
echo "ok: window titled Quorvane"

# The menu: after the splash, the screen shows the menu's background picture away from the
# buttons (the menu's own Xvfb scene checks the rest of its look).
bg="$data/images/menu/menu_bg.png"
want=$(pixel "$bg" 700 250)
menu=0
deadline=$((SECONDS + wait_seconds))
while [ "$SECONDS" -lt "$deadline" ]; do
    import -window root "$out/menu.png"
    if [ "$(pixel "$out/menu.png" 700 250)" = "$want" ] &&
        [ "$(pixel "$out/menu.png" 400 60)" = "$(pixel "$bg" 400 60)" ]; then
        menu=1
        break
    fi
    kill -0 "$scene_pid" 2>/dev/null || break
    sleep 0.25
done
if [ "$menu" = 1 ]; then
    echo "ok: menu reached"
else
    fail "the menu was never shown (screen at 700,250 is $(pixel "$out/menu.png" 700 250), menu picture $want)"
fi

# A second copy in the same folder: refused at once with a failure code, one line on stderr and
# nothing on stdout; it stops before the framework, adding its reason to the running copy's log
# and leaving what that log held.
head -c "$(stat -c %s debug.txt)" debug.txt >"$out/log-before.txt"
second=0
timeout "$wait_seconds" "$program" >"$out/second.log" 2>"$out/second.err" || second=$?
# 124: timeout ended it, which is no refusal.
if [ "$second" -ne 0 ] && [ "$second" -ne 124 ]; then
    echo "ok: second copy's exit code ($second)"
else
    fail "second copy's exit code is $second, expected a failure code"
fi
expect "$(wc -l <"$out/second.err")$(wc -c <"$out/second.log")" "10" "second copy's output lines"
if grep -q "already running" "$out/second.err"; then
    echo "ok: second copy says why ($(cat "$out/second.err"))"
else
    fail "second copy gave no reason: $(cat "$out/second.err")"
fi
if cmp -s "$out/log-before.txt" <(head -c "$(stat -c %s "$out/log-before.txt")" debug.txt); then
    echo "ok: the running copy's log kept its lines"
else
    fail "the second copy changed what the running copy's log held"
fi
if grep -q "already running" debug.txt; then
    echo "ok: the log says why the second copy was refused"
else
    fail "debug.txt does not say why the second copy was refused"
fi
kill -0 "$scene_pid" 2>/dev/null || fail "the first copy died when the second started"

# Close the window as a window manager would; the program ends by itself with code 0.
"$closer" "$window"
trap - EXIT
status=0
deadline=$((SECONDS + wait_seconds))
while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$scene_pid" 2>/dev/null || break
    sleep 0.05
done
if kill -0 "$scene_pid" 2>/dev/null; then
    kill "$scene_pid"
    fail "the program did not end when its window was closed"
fi
wait "$scene_pid" || status=$?
expect "$status" 0 "exit code after closing the window"
if flock -n exist.yes true; then
    echo "ok: lock released"
else
    fail "exist.yes still locked"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
exit 0
