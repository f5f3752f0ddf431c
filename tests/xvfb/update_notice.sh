#!/usr/bin/env bash
# The update notice through the shell's stand-in game (shell_stand_in) in a real X window under
# Xvfb, on a copy of the built data folder whose "menu.cfg" keeps an update link from an earlier
# run; the update check is off, so the stored link alone offers the update. A fake "xdg-open"
# first on PATH records its arguments.
#
# With the link "ood*https://example.invalid/x*1*": the update button blinks (two screenshots
# differ there), clicking it opens notice 60 with the newer-version text, Yes hands the address
# to xdg-open as its one argument, the clock stops and runs again, and a start button still
# starts the game. With a "file:" link: Yes starts nothing, pauses nothing and is logged.
# Screenshots stay in the artifact folder.
#
# Usage: update_notice.sh STAND_IN_PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
data=$2
out=$3

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out"
    for run in web file; do
        case $run in
        web) link='ood*https://example.invalid/x*1*' ;;
        file) link='ood*file:///etc/passwd*1*' ;;
        esac
        mkdir -p "$out/$run/bin"
        cp -r "$data" "$out/$run/data"
        find "$out/$run/data" \( -name '*.cfge' -o -name '*.plr' -o -name '*.plre' -o \
            -name 'players.cfg' -o -name 'debug.txt' -o -name 'game.cfg' \) -delete
        printf '[info]\nn=2\ncurplayer=Ann\n[players]\nAnn=1\n' >"$out/$run/data/players.cfg"
        printf '[game]\nallowloadingthread=0\nallowwebupdater=0\nfullscreen=0\n' \
            >"$out/$run/data/game.cfg"
        # The fixture: the game's menu description with the link an earlier run stored.
        menu="$out/$run/data/cfg/menu.cfg"
        awk -v link="$link" '/^\[/ { section = $0 }
            section == "[promolink]" && /^url=/ { $0 = "url=" link; stored = 1 }
            { print }
            END { if (!stored) exit 1 }' "$data/cfg/menu.cfg" >"$menu"
        cat >"$out/$run/bin/xdg-open" <<SH
#!/bin/sh
# One line per argument.
printf '%s\\n' "\$@" >>"$out/$run/opened.txt"
SH
        chmod +x "$out/$run/bin/xdg-open"
    done
    check_tools
    suppress_x11_leaks "$out"
    export XVFB_SCENE_INSIDE=1
    # One server and one program per link.
    for run in web file; do
        echo "== $run link"
        run_in_xvfb "$0" "$program" "$data" "$out" "$run" || exit $?
    done
    exit 0
fi

# From here on inside Xvfb, for one run: web or file.
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
run="$out/$4"

# The number of times the program printed a whole line so far.
printed() {
    grep -cx "$1" "$scene_log" || true
}

# Starts the stand-in in a run's data folder and brings it to the live menu; sets window and the
# update button's rectangle (ux uy uw uh).
start_menu() {
    cd "$out/$1/data"
    start_scene program "$out/$1/program.log" "$out/$1/program.err" \
        env PATH="$out/$1/bin:$PATH" "$program"
    wait_for "state 1"
    window=$(xdotool search --sync --name ShellStandIn | head -1)
    wait_for "state 3"
    xdotool key --window "$window" Escape
    wait_for "state 8"
    if ! grep -q '^item update ' "$scene_log"; then
        echo "FAIL: the update button is not shown for a stored update link"
        exit 1
    fi
    read -r ux uy uw uh <<<"$(item update)"
    echo "ok: update button shown at $ux,$uy (${uw}x$uh)"
}

click_at() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
}

# Opens the update notice with the update button and waits until it is on the screen; sets its
# rectangle (nx ny nw nh) and the centre of its Yes button (yx yy). Yes and No lie apart inside
# the notice, below its message.
open_notice() {
    local m
    m=$(mark)
    click_at $((ux + uw / 2)) $((uy + uh / 2))
    wait_settled "$m" "notice 60" >/dev/null
    local x y w h x2 y2 w2 h2
    read -r _ nx ny nw nh <<<"$(grep '^dialog ' "$scene_log" | head -1)"
    read -r x y w h <<<"$(item yes)"
    read -r x2 y2 w2 h2 <<<"$(item no)"
    yx=$((x + w / 2))
    yy=$((y + h / 2))
    if [ "$x" -ge "$nx" ] && [ $((x2 + w2)) -le $((nx + nw)) ] && [ $((y + h)) -le $((ny + nh)) ] &&
        [ "$y2" -eq "$y" ] && [ $((x + w)) -le "$x2" ] && [ $((y - ny)) -ge 40 ]; then
        echo "ok: Yes ($x,$y) and No ($x2,$y2) side by side inside the notice, below the message"
    else
        fail "Yes at $x,$y ${w}x$h and No at $x2,$y2 ${w2}x$h2 in the notice at $nx,$ny ${nw}x$nh"
    fi
}

# Quits with the quit button; the program must end with code 0 and leave no object behind.
quit_menu() {
    local qx qy code=0
    read -r qx qy <<<"$(item quit)"
    click_at "$qx" "$qy"
    wait_for "state 18"
    wait "$scene_pid" || code=$?
    trap - EXIT
    expect "$code" 0 "exit code"
    expect "$(grep -c 'You Left' debug.txt || true)" 0 "objects left at exit"
}

# An update link: the blinking button, the notice, the browser, the game afterwards.
web_link() {
    start_menu web

    # Blinking: the button's look changes between screenshots a little apart (25 blinks of
    # 200 ms). The pauses differ, so that a slow screenshot cannot keep landing in the same phase
    # of the blink.
    blink=""
    import -window root "$run/blink1.png"
    attempt=1
    for pause in 0.07 0.13 0.05 0.17 0.09 0.23 0.11 0.03 0.19 0.15 0.29; do
        attempt=$((attempt + 1))
        sleep "$pause"
        import -window root "$run/blink$attempt.png"
        convert "$run/blink1.png" -crop "${uw}x$uh+$ux+$uy" +repage "$run/button1.png"
        convert "$run/blink$attempt.png" -crop "${uw}x$uh+$ux+$uy" +repage "$run/button2.png"
        differing=$(compare -metric AE -fuzz 4% "$run/button1.png" "$run/button2.png" null: 2>&1 ||
            true)
        if [ "${differing%% *}" -ge 200 ]; then
            blink=$attempt
            break
        fi
    done
    if [ -n "$blink" ]; then
        echo "ok: the update button blinks (blink1.png and blink$blink.png differ there)"
    else
        fail "the update button looks the same in $attempt screenshots"
    fi

    open_notice
    import -window root "$run/notice.png"
    expect "$(grep '^notice line ' "$scene_log" | head -1)" \
        "notice line A newer version of the game is available." "notice text"
    # The cream letters of the message, inside the notice.
    expect_count "$run/notice.png" "${nw}x$nh+$nx+$ny" "r>0.9&&g>0.85&&b>0.7&&b<0.9" 150 \
        "notice text drawn"
    # The notice is wide enough for its message: no cream letters on its right edge or beyond it.
    expect "$(count_where "$run/notice.png" "12x$nh+$((nx + nw - 6))+$ny" \
        "r>0.9&&g>0.85&&b>0.7&&b<0.9")" 0 "message inside the notice's frame"

    stopped=$(printed "clock stopped")
    running=$(printed "clock running")
    expect "$(grep '^clock ' "$scene_log" | tail -1)" "clock running" "clock runs in the menu"
    m=$(mark)
    click_at "$yx" "$yy"
    wait_for "notice 60 clicked 1"
    wait_count "clock stopped" $((stopped + 1))
    wait_count "clock running" $((running + 1))
    echo "ok: the clock stopped for the browser and runs again"
    local deadline=$((SECONDS + wait_seconds))
    until [ -s "$run/opened.txt" ] || [ "$SECONDS" -ge "$deadline" ]; do
        sleep 0.05
    done
    expect "$(cat "$run/opened.txt" 2>/dev/null || true)" "https://example.invalid/x" \
        "xdg-open's one argument"
    wait_settled "$m" "dialog none" >/dev/null
    import -window root "$run/after-yes.png"

    # A start button still starts the game.
    read -r cx cy <<<"$(item start2)"
    m=$(mark)
    click_at "$cx" "$cy"
    wait_settled "$m" "game variant 2, ann.plr" >/dev/null
    import -window root "$run/game.png"
    expect_count "$run/game.png" 400x40+200+280 "r>0.9&&g>0.85" 100 "placeholder of the game"
    expect "$(grep '^clock ' "$scene_log" | tail -1)" "clock running" "clock runs in the game"
    m=$(mark)
    xdotool key --window "$window" Escape
    wait_settled "$m" "state 8" >/dev/null
    quit_menu
}

# A file: link: refused, logged, nothing paused.
file_link() {
    start_menu file
    open_notice
    import -window root "$run/notice.png"
    stopped=$(printed "clock stopped")
    m=$(mark)
    click_at "$yx" "$yy"
    wait_for "notice 60 clicked 1"
    wait_settled "$m" "dialog none" >/dev/null
    import -window root "$run/after-yes.png"
    if [ -e "$run/opened.txt" ]; then
        fail "xdg-open was started for a file: link ($(cat "$run/opened.txt"))"
    else
        echo "ok: nothing opened for a file: link"
    fi
    expect "$(printed "clock stopped")" "$stopped" "clock stops (none for a refused link)"
    quit_menu
    expect "$(grep -c 'Link not opened (only http and https addresses open): file:///etc/passwd' \
        debug.txt || true)" 1 "refused link logged"
}

case $4 in
web) web_link ;;
file) file_link ;;
esac

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
exit 0
