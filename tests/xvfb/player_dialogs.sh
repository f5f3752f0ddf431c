#!/usr/bin/env bash
# Runs the application shell through its stand-in game (shell_stand_in) in a real X window under
# Xvfb, on a copy of the built data folder without a player list, and plays the player and
# options dialogs with the mouse and the keyboard: a start button opens play-as and the name
# entry by itself, once; an empty name shows the error in the error colour; "Blue Fox" and Return
# add the player to the list and to "players.cfg"; OK starts variant 1 for "blue fox.plr" and
# saves "curplayer"; back in the menu, the player button, Delete and Yes remove the player, the
# player's files and the menu's name, and the name entry stays shut. Then options (button 12)
# with More, whose notice opens nested over them. Each dialog's buttons are found from its
# description in the data folder and its place on the screen, which the stand-in prints.
# Screenshots of play-as, the name entry with its error, the delete question, options and the
# nested notice stay in the artifact folder.
#
# Usage: player_dialogs.sh STAND_IN_PROGRAM CONFIG_READER DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
reader=$2
data=$3
out=$4

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out"
    # The data as built, without what a run leaves behind and without any player.
    cp -r "$data" "$out/data"
    find "$out/data" \( -name '*.cfge' -o -name '*.plr' -o -name '*.plre' -o \
        -name 'players.cfg' -o -name 'debug.txt' -o -name 'game.cfg' \) -delete
    printf '[game]\nallowloadingthread=1\nallowwebupdater=0\nfullscreen=0\n' >"$out/data/game.cfg"
    program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
    reader=$(cd "$(dirname "$reader")" && pwd)/$(basename "$reader")
    # The longest scene: twice the usual bound.
    export XVFB_RUN_SECONDS=400
    rerun_in_xvfb "$out" "$0" "$program" "$reader" "$data" "$out"
fi

# From here on inside Xvfb; the program runs in the copy of the data folder.
cd "$out/data"
start_scene program "$out/program.log" "$out/program.err" "$program"

# "X Y W H" of the dialog with this id once it is on top after mark $1 and the stage has
# settled (its fade-in over).
dialog_after() {
    local line
    line=$(wait_settled "$1" "dialog $2 .*")
    echo "${line#"dialog $2 "}"
}

# The value of KEY in [SECTION] of a description file; empty when there is none.
value() {
    awk -F= -v section="[$2]" -v key="$3" '
        /^\[/ { inside = ($0 == section); next }
        inside && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$1"
}

# A section's value, else the theme's (cfg/skin.cfg gives its sections to every description).
themed_value() {
    local found
    found=$(value "$1" "$2" "$3")
    if [ -z "$found" ]; then
        found=$(value cfg/skin.cfg "$2" "$3")
    fi
    echo "$found"
}

# "X Y" on the screen of the middle of a button that a dialog at DX,DY reads from SECTION of
# its description; the picture holds the button's four looks side by side.
button_centre() {
    local file=$1 section=$2 dx=$3 dy=$4 pos image w h
    pos=$(themed_value "$file" "$section" pos)
    image=$(themed_value "$file" "$section" img)
    read -r w h < <(identify -format "%w %h\n" "$image")
    echo "$((dx + ${pos%,*} + w / 8)) $((dy + ${pos#*,} + h / 2))"
}

# Clicks a button of a dialog shown at DX,DY.
click_button() {
    local x y
    read -r x y < <(button_centre "$1" "$2" "$3" "$4")
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 0.2
    xdotool click 1
}

# An entry of the player list as the program wrote it ("players.cfg", scrambled); "<none>" when
# it is missing. The reader logs into the artifact folder, not into the program's log.
on_disk() {
    (cd "$out" && "$reader" "$out/data/players.cfg" "$1" "$2")
}

# Checks that look LOOK (from 0) of a picture with NUMBER looks side by side is on the screenshot
# with its top left corner at X,Y. Its see-through pixels (the colour key, magenta) are compared
# with the dialogs' lacquer; a few may differ where the lacquer's grain or the shadow lies.
# Usage: expect_picture SHOT PICTURE NUMBER LOOK X Y WHAT
expect_picture() {
    local shot=$1 picture=$2 looks=$3 look=$4 x=$5 y=$6 what=$7 w h differing
    read -r w h < <(identify -format "%w %h\n" "$picture")
    w=$((w / looks))
    differing=$(convert \( "$shot" -crop "${w}x$h+$x+$y" +repage \) \
        \( "$picture" -crop "${w}x$h+$((look * w))+0" +repage -transparent '#FF00FF' \
        -background '#761214' -flatten \) \
        -fuzz 12% -metric AE -compare -format "%[distortion]" info:)
    if [ "${differing%.*}" -le $((w * h / 20)) ]; then
        echo "ok: $what ($differing of $((w * h)) pixels differ)"
    else
        fail "$what: $differing of $((w * h)) pixels differ from look $look of $picture"
    fi
}

# expect_picture for a control of a description: its picture and its place in the dialog at
# DX,DY. Usage: expect_control SHOT FILE SECTION NUMBER LOOK DX DY WHAT
expect_control() {
    local pos
    pos=$(themed_value "$2" "$3" pos)
    expect_picture "$1" "$(themed_value "$2" "$3" img)" "$4" "$5" "$(($6 + ${pos%,*}))" \
        "$(($7 + ${pos#*,}))" "$8"
}

# Keeps the pointer off the dialogs, so that no button shows its mouse-over look.
pointer_away() {
    xdotool mousemove --window "$window" 790 590
    sleep 0.3
}

# The menu's greeting while nobody plays, as the play-as description words it.
nobody=$(sed -n 's/^noplayer=//p' cfg/dplayas.cfg)
wait_after 0 "state 1" >/dev/null
window=$(xdotool search --sync --name ShellStandIn | head -1)
xdotool key --window "$window" Escape
wait_settled 0 "state 8" >/dev/null
expect "$(grep '^player label ' "$scene_log" | tail -1)" "player label $nobody" "menu label"
read -r _ _ sx sy < <(grep '^item start1 ' "$scene_log" | head -1)
read -r _ _ px py < <(grep '^item player ' "$scene_log" | head -1)
read -r _ _ ox oy < <(grep '^item options ' "$scene_log" | head -1)
read -r _ _ qx qy < <(grep '^item quit ' "$scene_log" | head -1)
playas=cfg/dplayas.cfg
entry=cfg/dentername.cfg
question=cfg/ddelname.cfg
options=cfg/doptions.cfg
notice=cfg/dhighdetail.cfg

# The first start button without a player: play-as, then the name entry by itself.
m=$(mark)
xdotool mousemove --window "$window" "$sx" "$sy" click 1
read -r ax ay _ < <(dialog_after "$m" 1)
dialog_after "$m" 2 >/dev/null
echo "ok: the name entry opened by itself over play-as"
# Escape shuts the entry; it does not come back by itself.
m=$(mark)
xdotool key --window "$window" Escape
dialog_after "$m" 1 >/dev/null
pointer_away
sleep 1
expect "$(tail -n +"$((m + 1))" "$scene_log" | grep -c '^dialog 2 ' || true)" "0" \
    "name entries opened again by themselves"
import -window root "$out/playas.png"
shot="$out/playas.png"
read -r lx ly < <(value "$playas" playerlist pos | tr , ' ')
lx=$((ax + lx))
ly=$((ay + ly))
expect_count "$shot" "240x120+$((lx + 5))+$((ly + 25))" "abs(r-46/255)<0.02&&abs(g-6/255)<0.02" \
    20000 "play-as list in its back colour"
gold="r>0.75&&g>0.6&&b<0.4"
expect_count "$shot" "240x14+$((lx + 5))+$((ly + 2))" "$gold" 1500 "the add line highlighted"
# The height of a line: the highlight's rows beside the text.
line=$(count_where "$shot" "1x$(value "$playas" playerlist dim | cut -d, -f2)+$((lx + 3))+$ly" "$gold")
echo "list lines are $line pixels high"
expect_control "$shot" "$playas" okbutton 4 0 "$ax" "$ay" "play-as OK button"
expect_control "$shot" "$playas" cancelbutton 4 0 "$ax" "$ay" "play-as Cancel button"
expect_control "$shot" "$playas" deletebutton 4 3 "$ax" "$ay" "play-as Delete button, inactive"

# The list's first line opens the entry again; Return on an empty name shows the error.
m=$(mark)
xdotool mousemove --window "$window" "$((lx + 20))" "$((ly + 8))" click 1
read -r ex ey _ < <(dialog_after "$m" 2)
pointer_away
xdotool key --window "$window" Return
sleep 0.4
import -window root "$out/nameentry-error.png"
shot="$out/nameentry-error.png"
read -r ix iy < <(value "$entry" info pos | tr , ' ')
info="$(value "$entry" info width)x24+$((ex + ix))+$((ey + iy))"
expect_at_least "$shot" "$info" FF6E6E 40 "the error in the error colour"
expect "$(count_colour "$shot" "$info" D4AA48)" "0" "pixels of the hint's colour under the error"
expect_control "$shot" "$entry" okbutton 4 0 "$ex" "$ey" "name entry OK button"
expect_control "$shot" "$entry" cancelbutton 4 0 "$ex" "$ey" "name entry Cancel button"

# "Blue Fox" and Return: on the list, selected, and in the player list on disk.
m=$(mark)
xdotool type --window "$window" --delay 80 "Blue Fox"
xdotool key --window "$window" Return
dialog_after "$m" 1 >/dev/null
pointer_away
import -window root "$out/playas-bluefox.png"
shot="$out/playas-bluefox.png"
expect_count "$shot" "240x$((line - 4))+$((lx + 5))+$((ly + line + 2))" "$gold" 1000 \
    "the new player's line highlighted"
expect "$(count_where "$shot" "1x$line+$((lx + 3))+$ly" "$gold")" "0" "highlight left on the add line"
expect_control "$shot" "$playas" deletebutton 4 0 "$ax" "$ay" "play-as Delete button, active"
expect "$(on_disk players "Blue Fox")" "1" "Blue Fox in players.cfg"

# OK starts the first variant for the new player, who becomes the current one.
m=$(mark)
click_button "$playas" okbutton "$ax" "$ay"
wait_after "$m" "game variant 1, blue fox.plr" >/dev/null
echo "ok: variant 1 started for blue fox.plr"
expect "$(on_disk info curplayer)" "Blue Fox" "curplayer in players.cfg"
expect "$(grep '^player label ' "$scene_log" | tail -1)" "player label Welcome, Blue Fox" \
    "menu label"
# What a game leaves of a player, plain and scrambled, under both names.
echo progress >"blue fox.plr"
echo progress >"Blue Fox.plre"

m=$(mark)
xdotool key --window "$window" Escape
wait_settled "$m" "state 8" >/dev/null

# The player button, Delete and Yes.
m=$(mark)
xdotool mousemove --window "$window" "$px" "$py" click 1
read -r ax ay _ < <(dialog_after "$m" 1)
xdotool mousemove --window "$window" "$((lx + 20))" "$((ly + line + line / 2))" click 1
m=$(mark)
click_button "$playas" deletebutton "$ax" "$ay"
read -r dx dy _ < <(dialog_after "$m" 3)
pointer_away
import -window root "$out/delete.png"
shot="$out/delete.png"
expect_control "$shot" "$question" yesbutton 4 0 "$dx" "$dy" "delete question Yes button"
expect_control "$shot" "$question" nobutton 4 0 "$dx" "$dy" "delete question No button"
read -r bx by < <(value "$question" bodytext pos | tr , ' ')
expect_count "$shot" "$(value "$question" bodytext dim | tr , x)+$((dx + bx))+$((dy + by))" \
    "r>0.75&&g>0.6&&b<0.4" 150 "the question's text"
m=$(mark)
click_button "$question" yesbutton "$dx" "$dy"
dialog_after "$m" 1 >/dev/null
pointer_away
sleep 1
expect "$(tail -n +"$((m + 1))" "$scene_log" | grep -c '^dialog 2 ' || true)" "0" \
    "name entries opened by themselves after the delete"
expect "$(on_disk players "Blue Fox")" "<none>" "Blue Fox in players.cfg"
for file in "blue fox.plr" "Blue Fox.plre"; do
    expect "$([ -e "$file" ] && echo kept || echo removed)" "removed" "\"$file\""
done
expect "$(grep '^player label ' "$scene_log" | tail -1)" "player label $nobody" "menu label"
import -window root "$out/playas-deleted.png"
expect_control "$out/playas-deleted.png" "$playas" deletebutton 4 3 "$ax" "$ay" \
    "play-as Delete button, inactive again"

m=$(mark)
xdotool key --window "$window" Escape
wait_after "$m" "dialog none" >/dev/null

# Options; More opens the high-detail notice over them.
cp game.cfg "$out/game.cfg.before"
m=$(mark)
xdotool mousemove --window "$window" "$ox" "$oy" click 1
read -r tx ty _ < <(dialog_after "$m" 4)
pointer_away
import -window root "$out/options.png"
shot="$out/options.png"
expect_control "$shot" "$options" okbutton 4 0 "$tx" "$ty" "options OK button"
expect_control "$shot" "$options" moreinfo 4 0 "$tx" "$ty" "options More button"
# Full screen is off in the run's settings; high detail is on by default.
expect_control "$shot" "$options" fullscreen 4 0 "$tx" "$ty" "options full-screen box, off"
expect_control "$shot" "$options" highdetail 4 1 "$tx" "$ty" "options high-detail box, on"
for slider in musicslider soundsslider; do
    read -r gx gy < <(value "$options" "$slider" pos | tr , ' ')
    expect_count "$shot" "200x16+$((tx + gx))+$((ty + gy))" "r>0.6&&g>0.45&&b<0.4" 200 \
        "$slider groove filled in gold"
done
m=$(mark)
click_button "$options" moreinfo "$tx" "$ty"
read -r nx ny _ < <(dialog_after "$m" 6)
pointer_away
import -window root "$out/highdetail.png"
shot="$out/highdetail.png"
expect_control "$shot" "$notice" okbutton 4 0 "$nx" "$ny" "notice OK button"
m=$(mark)
xdotool key --window "$window" Return
dialog_after "$m" 4 >/dev/null
m=$(mark)
xdotool key --window "$window" Return
wait_after "$m" "dialog none" >/dev/null
expect "$(cmp -s game.cfg "$out/game.cfg.before" && echo unchanged || echo changed)" \
    "unchanged" "game.cfg after options without a change"

# Options again: Music dragged to its left end and Sounds clicked at its right end leave no copy
# of either knob beside its groove (options-sliders.png, checked by check_shots.py); Escape
# closes them as OK does.
m=$(mark)
xdotool mousemove --window "$window" "$ox" "$oy" click 1
read -r tx ty _ < <(dialog_after "$m" 4)
read -r gx gy < <(value "$options" musicslider pos | tr , ' ')
xdotool mousemove --window "$window" $((tx + gx + 100)) $((ty + gy + 8)) mousedown 1
for x in 80 50 20 0; do
    sleep 0.1
    xdotool mousemove --window "$window" $((tx + gx + x)) $((ty + gy + 8))
done
xdotool mouseup 1
read -r gx gy < <(value "$options" soundsslider pos | tr , ' ')
xdotool mousemove --window "$window" $((tx + gx + 199)) $((ty + gy + 8)) click 1
pointer_away
sleep 0.3
import -window root "$out/options-sliders.png"
/usr/bin/python3 "$xvfb_common_dir/../e2e/check_shots.py" --one . "$out/options-sliders.png" &&
    echo "ok: no stray knob after moving both sliders" ||
    fail "options-sliders.png: a knob left a copy beside its groove"
m=$(mark)
xdotool key --window "$window" Escape
wait_after "$m" "dialog none" >/dev/null

m=$(mark)
xdotool mousemove --window "$window" "$qx" "$qy" click 1
wait_after "$m" "state 18" >/dev/null
finish_code=0
wait "$scene_pid" || finish_code=$?
trap - EXIT
expect "$finish_code" "0" "exit code"
expect "$(grep -c 'You Left' debug.txt || true)" "0" "objects left at exit"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
exit 0
