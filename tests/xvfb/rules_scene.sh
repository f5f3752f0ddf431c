#!/usr/bin/env bash
# Shows the rules dialog (rules_scene_xvfb) in a real X window under Xvfb, over the game's theme
# with a three-page fixture description whose picture has one flat colour per page, and turns
# its pages with xdotool: page 1 shows section 0 with Prev in its disabled look, Next twice
# reaches section 2 with Next disabled, the picture shows the page's frame; Done closes it.
# Screenshots stay in the artifact folder.
#
# Usage: rules_scene.sh PROGRAM DATA_FOLDER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xvfb_common.sh"

program=$1
data=$2
out=$3

if outside_xvfb; then
    rm -rf "$out"
    mkdir -p "$out"
    cp -r "$data" "$out/work"
    # One flat colour per page; pixel (0,0) is the colour key.
    convert -size 60x40 xc:'rgb(200,0,0)' xc:'rgb(0,200,0)' xc:'rgb(0,0,200)' +append \
        -fill 'rgb(255,0,255)' -draw 'point 0,0' PNG32:"$out/work/images/rules/pages3.png"
    cat >"$out/work/rules3.cfg" <<'CFG'
[dialog]
controls=rulescontrols
minsize=460,300
text=
[rulescontrols]
1=background
[background]
pages=3
rulesimgs=images/rules/pages3.png
rulesimgspos=200,60
[donebutton]
type=button
img=images/dialog/donebutton.png
pos=350,250
enter=1
esc=1
[nextbutton]
type=button
img=images/dialog/nextbutton.png
pos=150,250
[prevbutton]
type=button
img=images/dialog/prevbutton.png
pos=40,250
[title]
font=fonts/title.ttf
fontsize=22
col=232,190,92
pos=20,22
width=440
justify=2
[text]
font=fonts/bankgbtm.ttf
fontsize=16
col=250,238,210
pos=40,120
dim=400,100
justify=1
[page0]
title=First Section
rule=The rule of the first section.
[page1]
title=Second Section
rule=The rule of the second section.
[page2]
title=Third Section
rule=The rule of the third section.
[page3]
title=Never Shown
rule=Read but never shown.
CFG
    rerun_in_xvfb "$out" "$0" "$program" "$data" "$out"
fi

# From here on inside Xvfb.
log="$out/scene.log"
start_scene program "$log" "$out/scene.err" "$program" "$out/work"
wait_for ready
window=$(xdotool search --sync --name RulesScene | head -1)
read -r nx ny nw nh <<<"$(item next)"
read -r px py pw ph <<<"$(item prev)"
read -r dx dy dw dh <<<"$(item done)"
read -r ix iy iw ih <<<"$(item picture)"
expect "$iw" 60 "picture frame width (three pages)"
prev_sheet="$data/images/dialog/prevbutton.png"
next_sheet="$data/images/dialog/nextbutton.png"

# Looks are 90 wide: normal at 0, disabled at 270. A point on the button's face, off its label.
look() { pixel "$1" $(($2 * 90 + 6)) 16; }

shot() {
    # Away from the buttons, so no hover look is taken.
    move_to "$window" 20 20
    import -window root "$out/$1.png"
}

click() {
    move_to "$window" "$1" "$2"
    xdotool click 1
    wait_for "page $3"
}

shot page1
expect_pixel "$out/page1.png" $((ix + 30)) $((iy + 20)) "200,0,0" "picture frame 0 on page 1"
expect "$(pixel "$out/page1.png" $((px + 6)) $((py + 16)))" "$(look "$prev_sheet" 3)" \
    "Prev in its disabled look on page 1"
expect "$(pixel "$out/page1.png" $((nx + 6)) $((ny + 16)))" "$(look "$next_sheet" 0)" \
    "Next in its normal look on page 1"
expect_at_least "$out/page1.png" 440x30+$((ix - 200 + 20))+$((iy - 60 + 22)) E8BE5C 20 \
    "title drawn in gold"

click $((nx + nw / 2)) $((ny + nh / 2)) 2
shot page2
expect_pixel "$out/page2.png" $((ix + 30)) $((iy + 20)) "0,200,0" "picture frame 1 on page 2"
expect "$(pixel "$out/page2.png" $((px + 6)) $((py + 16)))" "$(look "$prev_sheet" 0)" \
    "Prev active again on page 2"

click $((nx + nw / 2)) $((ny + nh / 2)) 3
shot page3
expect_pixel "$out/page3.png" $((ix + 30)) $((iy + 20)) "0,0,200" "picture frame 2 on page 3"
expect "$(pixel "$out/page3.png" $((nx + 6)) $((ny + 16)))" "$(look "$next_sheet" 3)" \
    "Next in its disabled look on the last page"
if grep -q "Never Shown" "$log"; then fail "the section past the last page was shown"; fi

# Done closes the book.
move_to "$window" $((dx + dw / 2)) $((dy + dh / 2))
xdotool click 1
wait_for "detached 5"

xdotool key Escape
finish_scene "$out"
