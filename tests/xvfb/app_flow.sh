#!/usr/bin/env bash
# Runs the application shell through its stand-in game (shell_stand_in) in a real X window under
# Xvfb, on a copy of the built data folder without scrambled twins, players or log, with a player
# list naming Ann; once with loading threads and once without. Checks the splash while its title,
# tiles and subtitle are up, skips it with Escape, checks the menu (background, buttons,
# animations, "Welcome, Ann"), starts Classic (variant 2 for ann.plr), comes back with Escape to
# the same menu and quits with the quit button: exit code 0, the menu loader's line in the log
# (with threads) and no object left at exit. Screenshots stay in the artifact folder.
#
# Usage: app_flow.sh STAND_IN_PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
data=$2
out=$3

if [ "${APP_FLOW_INSIDE:-}" != 1 ]; then
    check_tools
    mkdir -p "$out"
    suppress_x11_leaks "$out"
    export APP_FLOW_INSIDE=1
    for threads in 1 0; do
        run="$out/threads$threads"
        rm -rf "$run"
        mkdir -p "$run"
        # The data as built, without what a run leaves behind.
        cp -r "$data" "$run/data"
        find "$run/data" \( -name '*.cfge' -o -name '*.plr' -o -name '*.plre' -o \
            -name 'players.cfg' -o -name 'debug.txt' -o -name 'game.cfg' \) -delete
        printf '[info]\nn=2\ncurplayer=Ann\n[players]\nAnn=1\n' >"$run/data/players.cfg"
        # The splash ends by itself after 7 s; a loaded machine can spend longer checking its
        # screenshot, and Escape would then meet the menu. Here it lasts until Escape skips it.
        sed -i 's/^seconds=.*/seconds=3600/' "$run/data/cfg/splashanim.cfg"
        printf '[game]\nallowloadingthread=%s\nallowwebupdater=0\nfullscreen=0\n' "$threads" \
            >"$run/data/game.cfg"
        echo "== loading threads $threads"
        status=0
        run_in_xvfb "$0" "$program" "$run" "$threads" || status=$?
        if [ "$status" -ne 0 ]; then
            exit "$status"
        fi
    done
    exit 0
fi

# From here on inside Xvfb, for one run: the arguments are the program, the run's folder and
# the loading-thread setting.
out=$2
threads=$3
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
cd "$out/data"
start_scene program "$out/program.log" "$out/program.err" "$program"

wait_count "state 1" 1
window=$(xdotool search --sync --name ShellStandIn | head -1)

# The splash at frame 33 or so: the title up, the tiles in place, the subtitle shown.
wait_count "state 3" 33
import -window root "$out/splash.png"
shot="$out/splash.png"
# Seal red and title gold in the title's box; ivory in the middle tile; light subtitle letters.
expect_count "$shot" 420x150+190+92 "r>0.55&&g<0.25&&b<0.25" 5000 "title seal red"
expect_count "$shot" 420x150+190+92 "r>0.75&&g>0.55&&b<0.55&&r>b+0.3" 1500 "title letters gold"
expect_count "$shot" 62x75+369+291 "r>0.85&&g>0.85&&b>0.75" 1200 "middle tile ivory"
expect_count "$shot" 62x75+289+291 "r>0.85&&g>0.85&&b>0.75" 1200 "left tile ivory"
expect_count "$shot" 62x75+449+291 "r>0.85&&g>0.85&&b>0.75" 1200 "right tile ivory"
expect_count "$shot" 60x60+370+298 "r>0.6&&g<0.2&&b<0.2" 60 "red character on the middle tile"
expect_count "$shot" 300x36+250+390 "r>0.9&&g>0.85&&b>0.7" 150 "subtitle letters"

# Escape skips the rest (pressed until the splash leaves its steps); the menu comes.
m=$(mark)
key_until "$window" Escape "$m" "state [4-9]"
wait_settled "$m" "state 8" >/dev/null
import -window root "$out/menu.png"
shot="$out/menu.png"
expect "$(grep '^label ' "$scene_log" | head -1)" "label Welcome, Ann" "player label"
read -r _ _ wx wy ww wh < <(grep '^item welcome ' "$scene_log" | head -1)
expect_count "$shot" "${ww}x${wh}+${wx}+${wy}" "r>0.8&&g>0.7" 40 "welcome line drawn"
# The background is a picture, not a flat fill; every start button is drawn.
colours=$(convert "$shot" -crop 800x600+0+0 +repage -format "%k" info:)
if [ "$colours" -ge 2000 ]; then
    echo "ok: menu background ($colours colours)"
else
    fail "menu background has only $colours colours"
fi
read -r _ _ cx cy < <(grep '^item start2 ' "$scene_log" | head -1)
read -r _ _ qx qy < <(grep '^item quit ' "$scene_log" | head -1)
for item in start1 start2 start3 quit; do
    read -r _ _ bx by < <(grep "^item $item " "$scene_log" | head -1)
    expect_count "$shot" "40x10+$((bx - 20))+$((by - 5))" "r>0.45&&g<0.3" 40 "$item button drawn"
done

# Classic: the game stage with its placeholder.
m=$(mark)
xdotool mousemove --window "$window" "$cx" "$cy" click 1
wait_settled "$m" "game variant 2, ann.plr" >/dev/null
import -window root "$out/game.png"
expect_count "$out/game.png" 400x40+200+280 "r>0.9&&g>0.85" 100 "placeholder of the game"

# Escape: back to the same menu.
m=$(mark)
xdotool key --window "$window" Escape
wait_settled "$m" "state 8" >/dev/null
import -window root "$out/menu2.png"
differing=$(compare -metric AE -fuzz 8% "$out/menu.png" "$out/menu2.png" null: 2>&1 || true)
differing=${differing%% *}
if [ "${differing%.*}" -lt 24000 ]; then
    echo "ok: the same menu again ($differing pixels differ: animations, cursor)"
else
    fail "the menu came back changed: $differing pixels differ"
fi

# Quit.
xdotool mousemove --window "$window" "$qx" "$qy" click 1
wait_for "state 18"
finish_code=0
wait "$scene_pid" || finish_code=$?
trap - EXIT
expect "$finish_code" "0" "exit code"
log=debug.txt
if [ "$threads" = 1 ]; then
    expect "$(grep -c 'MENU Screen loaded resources: 1' "$log" || true)" "1" "menu loader's line"
fi
expect "$(grep -c 'You Left' "$log" || true)" "0" "objects left at exit"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed; screenshots in $out"
    exit 1
fi
echo "all checks passed; screenshots in $out"
exit 0
