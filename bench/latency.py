#!/usr/bin/python3
"""One run of the latency bench: starts the game in a copy of its data folder on the X display in
$DISPLAY, plays it with xdotool as a player would and watches the screen (a grab every few
milliseconds) to time each step. Prints one line per step: "step NAME TOTAL ANIMATION" in
seconds, ANIMATION being the part of the step the game's own fades and flights take at their
configured lengths; a step it could not time prints "step NAME - -" and a reason on stderr.

Usage: latency.py PROGRAM DATA_FOLDER SOURCE_ROOT [quest PLAN_FILE]
With "quest", the run times the quest's way from a won board to the next one instead: the data
folder's player stands on QUEST_BOARD, and PLAN_FILE is what mahjong_quest_finish printed for it
(the pairs to click until the Yin-Yang finish).
With LATENCY_WRAPPER set (a command such as "heaptrack -o FILE"), the program runs under it, and
the run ends with the quit SIGTERM asks for rather than a kill.
"""
import glob
import os
import re
import shlex
import signal
import subprocess
import sys
import time

from PIL import ImageChops, ImageGrab

SOURCE_ROOT = sys.argv[3] if len(sys.argv) > 3 else "."
sys.path.insert(0, os.path.join(SOURCE_ROOT, "tests", "e2e"))
import check_shots  # noqa: E402  (the end-to-end scripts' screen checks)

CAPTION = "Quorvane"
CLASSIC_BUTTON = (400, 296)
PLAY_BUTTON = (322, 570)
# A screen that changes nowhere in this area for this long has come to rest; the top and bottom
# bars are left out (the board's clock and fuse run there).
REST_AREA = (0, 30, 800, 525)
REST_SECONDS = 0.6
BOARD_AREA = (0, 75, 800, 450)


def row(name):
    return check_shots.rows_for(name)[1]


def grab():
    return ImageGrab.grab(bbox=(0, 0, 800, 600))


def shows(image, name, background):
    return not check_shots.check(image, name, row(name), background, common=[])


def tile_pixels(image):
    """Tile faces anywhere between the bars (a tile flies in from the board's edge)."""
    x, y, w, h = BOARD_AREA
    return sum(1 for p in image.crop((x, y, x + w, y + h)).getdata() if check_shots.tile_ivory(*p))


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout.strip()


class Watch:
    def __init__(self, process):
        self.process = process

    def until(self, test, seconds, poke=None):
        """Grabs until test(image) holds; returns its time, or None after SECONDS."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline and self.process.poll() is None:
            if poke is not None:
                poke()
            now = time.monotonic()
            if test(grab()):
                return now
            time.sleep(0.005)
        return None

    def rest(self, test, seconds):
        """The time of the first grab of a stretch of REST_SECONDS in which the screen stayed the
        same inside REST_AREA and passed test; None after SECONDS."""
        deadline = time.monotonic() + seconds
        still_since, last = None, None
        while time.monotonic() < deadline and self.process.poll() is None:
            now = time.monotonic()
            image = grab()
            area = image.crop(REST_AREA).tobytes()
            if area != last or not test(image):
                still_since = now if test(image) else None
                last = area
            elif still_since is not None and now - still_since >= REST_SECONDS:
                return still_since
            time.sleep(0.005)
        return None


def program_pids(group, program):
    """The processes of the group GROUP that run PROGRAM (the wrapper's own are left)."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if (os.getpgid(int(pid)) == group and
                    os.path.realpath(f"/proc/{pid}/exe") == os.path.realpath(program)):
                found.append(int(pid))
        except OSError:
            pass
    return found


def config_value(path, section, key):
    current = None
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                current = line[1:line.index("]")]
            elif current == section and line.split("=", 1)[0].strip() == key:
                return int(line.split("=", 1)[1].strip())
    raise KeyError(f"{path} [{section}] {key}")


def code_constant(root, header, name):
    """A length the program keeps in its code rather than in a data file."""
    for path in glob.glob(os.path.join(root, "mahjong", "**", header), recursive=True):
        with open(path) as f:
            found = re.search(rf"\b{name}\s*=\s*(\d+)", f.read())
        if found:
            return int(found.group(1))
    raise KeyError(f"{header} {name}")


def lengths(data, root):
    """The configured animation lengths, in seconds."""
    cfg = os.path.join(data, "cfg")
    splash = config_value(os.path.join(cfg, "splash.cfg"), "background", "fadetime") / 1000
    menu = config_value(os.path.join(cfg, "menu.cfg"), "background", "fadetime") / 1000
    board_fade = code_constant(root, "MjGameScript.h", "kFadeInMs") / 1000
    buttons = config_value(os.path.join(cfg, "mjclassic.cfg"), "game", "fadeInSpeed") / 1000
    opening = code_constant(root, "MjClassic.h", "kOpenBoardMs") / 1000
    return {
        # The intro fades in before a key skips it, then out; the menu fades in.
        "start-menu": 2 * splash + menu,
        # The menu fades out, the board screen fades in under the chooser.
        "menu-chooser": menu + board_fade,
        # The board opens a moment after Play, then its tiles fly in.
        "play-first-tile": opening,
        # The frame and buttons fade in from Play; the tiles land within that fade.
        "play-tiles-landed": max(buttons, opening),
    }

# The quest's way from a won board to the next: the player stands on this board, whose scene
# section follows it in the hero file.
QUEST_BOARD = 1
QUEST_BUTTON = (400, 368)
# The popup that says both Yin-Yang tiles are free, and its OK button.
BONUS_POPUP = "board-quest-1-popup-bonus"
BONUS_OK = (203, 338)
# A pressed Yin-Yang tile is given this long to show as selected before its partner is pressed.
YIN_YANG_SELECTED_SECONDS = 1.2
# Between two presses of a match, and after a match: the program sees every press and release.
PRESS_GAP_SECONDS = 0.12
MAP_CLICK = (400, 300)
# The map's last strip where only it paints: one step earlier the roll stands over the rest of
# it, its own light body passing for paper, and its transparent right edge shows what is behind.
MAP_LAST_STRIP = (794, 100, 5, 380)
# The black bar above a scene.
SCENE_BAR = (0, 0, 800, 75)
# Above the quest frame's foot, where the tiles of the next board show once out of the case, and
# the new tile face that counts as a tile drawn there (a tile's face is about 1,500 pixels).
QUEST_TILE_AREA = (0, 75, 800, 450)
QUEST_TILE_PIXELS = 300


def quest_board(image):
    return shows(image, "board-quest-1", None)


def map_edge_paper(r, g, b):
    """The map's paper where it darkens toward the picture's edge."""
    return 150 < r < 235 and 140 < g < 220 and 100 < b < 184 and r > g > b


def quest_map(image):
    return (check_shots.share(image, check_shots.MAP_PAPER, check_shots.map_paper) > 0.6 and
            check_shots.share(image, MAP_LAST_STRIP, map_edge_paper) > 0.6)


def scene(image):
    return (check_shots.share(image, SCENE_BAR, check_shots.black) > 0.95 and
            check_shots.share(image, check_shots.SCENE, check_shots.lit) > 0.9)


def new_tile_pixels(image, before):
    """Pixels between the quest frame's bars that show a tile face now and did not in before
    (the scenes have light parts of their own)."""
    x, y, w, h = QUEST_TILE_AREA
    now = image.convert("RGB").crop((x, y, x + w, y + h))
    red, green, blue = now.split()
    # The tile_ivory test of the screen checks, one colour at a time.
    ivory = ImageChops.multiply(
        ImageChops.multiply(red.point(lambda v: 255 if v > 200 else 0),
                            green.point(lambda v: 255 if v > 190 else 0)),
        blue.point(lambda v: 255 if v > 150 else 0))
    changed = ImageChops.difference(now, before.convert("RGB").crop((x, y, x + w, y + h)))
    changed = changed.convert("L").point(lambda v: 255 if v > 24 else 0)
    return ImageChops.multiply(ivory, changed).histogram()[255]


def quest_lengths(data, root, sweep):
    """The configured lengths of the quest's way, in seconds: the won board's finish, its
    cut-scene's fade series and the map's unrolling (match -> map complete); the map rolling up
    and the next board's case opening (map click -> first tile)."""
    cfg = os.path.join(data, "cfg")
    look = os.path.join(cfg, "mjzorvy.cfg")
    hero = os.path.join(cfg, "zorvy.cfg")
    spirit = config_value(look, "spirit", "speed")
    fade_in = config_value(look, "game", "fadeInSpeed")

    def code(file, name):
        return code_constant(root, file, name)

    quest = "MjClassicQuest.cpp"
    powers = "MjClassicPowers.cpp"
    # The pair flies to the middle, the sweep gathers the rest beside it step by step, the pair
    # rises and drops into the case.
    finish = (code(quest, "kToTrayMs") + code(quest, "kSweepStartMs") +
              sweep * code(powers, "kEffectStepMs") + code(powers, "kEffectEndMs") +
              code(quest, "kEndAnimationStartMs") +
              code(quest, "kEndAnimationSteps") * code(quest, "kEndAnimationStepMs"))
    # The scene of the next board fades its layers by its pauses; its keyframed animation is
    # skipped with a key as soon as it starts, as a player who has seen it does.
    section = f"puzzle{QUEST_BOARD + 1}"
    steps = config_value(hero, section, "numfadeimages")
    pauses = sum(config_value(hero, section, f"fadepause{n}") for n in range(1, steps + 1))
    cut_scene = (code("ZorvyAnimation.h", "kFirstFadeStepMs") + pauses +
                 code("ZorvyAnimation.h", "kSeriesEndMs") +
                 code("MjGameScript.h", "kPendingAnimationMs") +
                 code("MjGameScript.h", "kAnimationStartMs"))
    # The map opens after the board buttons' fade, one strip per step; the last strip is placed
    # one step before the roll goes.
    map_steps = code(quest, "kMapOpenSteps")
    map_open = fade_in + (map_steps - 1) * spirit
    # A press rolls the map up one strip per step; the next board opens, its case opens and the
    # first tiles leave it.
    map_close = (map_steps - 2) * spirit
    opening = (code("MjClassic.h", "kOpenBoardMs") + code("MjClassicClock.cpp", "kOpeningCaseMs") +
               code(quest, "kCaseStepMs"))
    return {
        "quest-won-map": (finish + cut_scene + map_open) / 1000,
        "quest-map-board": (map_close + opening) / 1000,
    }


def read_plan(path):
    matches, yin_yang, sweep = [], None, 0
    with open(path) as f:
        for line in f:
            words = line.split()
            if words and words[0] == "match":
                matches.append(tuple(int(w) for w in words[1:5]))
            elif words and words[0] == "yinyang":
                yin_yang = tuple(int(w) for w in words[1:5])
            elif words and words[0] == "sweep":
                sweep = int(words[1])
    return matches, yin_yang, sweep


def timed_click(window, x, y):
    """Clicks (x, y); returns the time just before the click's own xdotool call (the pointer is
    already there): the press cannot reach the program sooner, and the call's start-up counts as
    waiting. The pointer then leaves the window, so no hover or cursor keeps the screen moving."""
    xdotool("mousemove", "--window", window, str(x), str(y))
    time.sleep(PRESS_GAP_SECONDS)
    pressed = time.monotonic()
    xdotool("click", "1")
    xdotool("mousemove", "1000", "740")
    return pressed


def quest_steps(watch, window, click, plan):
    """Plays the quest board to its Yin-Yang finish and times the way to the next board."""
    matches, yin_yang, _ = plan
    times = {}

    def press(x, y):
        xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")
        time.sleep(PRESS_GAP_SECONDS)

    def timed_press(x, y):
        return timed_click(window, x, y)

    click(*QUEST_BUTTON)
    if watch.rest(quest_board, 60) is None:
        print("the quest board never came to rest", file=sys.stderr)
        return times
    for x1, y1, x2, y2 in matches:
        press(x1, y1)
        press(x2, y2)
    if watch.until(lambda i: shows(i, BONUS_POPUP, None), 20) is None:
        print("the Yin-Yang pair never came free", file=sys.stderr)
        return times
    # A dialog takes no press while it comes up: OK is pressed again until the popup goes.
    deadline = time.monotonic() + 20
    while shows(grab(), BONUS_POPUP, None):
        if time.monotonic() > deadline:
            print("the popup never closed", file=sys.stderr)
            return times
        press(*BONUS_OK)
        watch.until(lambda i: not shows(i, BONUS_POPUP, None), 1)
    x1, y1, x2, y2 = yin_yang
    press(x1, y1)
    time.sleep(YIN_YANG_SELECTED_SECONDS)
    won = timed_press(x2, y2)

    last_key = [0.0]

    def skip_scene():
        # The cut-scene's animation takes a key once it plays: one every 50 ms while a scene
        # shows.
        if time.monotonic() - last_key[0] >= 0.05 and scene(grab()):
            xdotool("key", "--window", window, "space")
            last_key[0] = time.monotonic()

    shown = watch.until(quest_map, 90, skip_scene)
    if shown is None:
        print("the map never showed", file=sys.stderr)
        return times
    times["quest-won-map"] = shown - won
    clicked = timed_press(*MAP_CLICK)
    # The scene and frame of the next board show as the map rolls up; its tiles come later.
    before = []

    def rolled_up(image):
        if check_shots.share(image, check_shots.MAP_PAPER, check_shots.map_paper) < 0.005:
            before.append(image)
        return bool(before)

    first = None
    if watch.until(rolled_up, 30) is not None:
        first = watch.until(lambda i: new_tile_pixels(i, before[0]) > QUEST_TILE_PIXELS, 30)
    if first is None:
        print("the next board never showed a tile", file=sys.stderr)
        return times
    times["quest-map-board"] = first - clicked
    return times


def main():
    program, data, root = sys.argv[1], os.path.abspath(sys.argv[2]), SOURCE_ROOT
    plan = read_plan(sys.argv[5]) if len(sys.argv) > 5 and sys.argv[4] == "quest" else None
    animation = lengths(data, root) if plan is None else quest_lengths(data, root, plan[2])
    background = check_shots.menu_background(data)
    times = {}
    start = time.monotonic()
    wrapper = shlex.split(os.environ.get("LATENCY_WRAPPER", ""))
    process = subprocess.Popen(wrapper + [program], cwd=data, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    watch = Watch(process)
    try:
        window = ""
        while not window and process.poll() is None and time.monotonic() - start < 20:
            window = xdotool("search", "--onlyvisible", "--name", f"^{CAPTION}$").split("\n")[0]
            time.sleep(0.01)
        if not window:
            print("no window", file=sys.stderr)
            return 1

        last_key = [0.0]

        def skip_key():
            # The intro takes a key once it has faded in: one every 50 ms until the menu shows.
            if time.monotonic() - last_key[0] >= 0.05:
                xdotool("key", "--window", window, "space")
                last_key[0] = time.monotonic()

        menu = watch.until(lambda i: shows(i, "menu", background), 30, skip_key)
        if menu is None:
            print("the menu never showed", file=sys.stderr)
            return 1
        times["start-menu"] = menu - start

        def click(x, y):
            return timed_click(window, x, y)

        if plan is not None:
            times.update(quest_steps(watch, window, click, plan))
        else:
            clicked = click(*CLASSIC_BUTTON)
            chooser = watch.rest(lambda i: shows(i, "chooser-classic", background), 20)
            if chooser is None:
                print("the chooser never came to rest", file=sys.stderr)
            else:
                times["menu-chooser"] = chooser - clicked
                clicked = click(*PLAY_BUTTON)
                first = watch.until(lambda i: not shows(i, "chooser-classic", background) and
                                    tile_pixels(i) > 0, 20)
                landed = watch.rest(lambda i: shows(i, "board-classic", background), 20)
                if first is not None:
                    times["play-first-tile"] = first - clicked
                if landed is not None:
                    times["play-tiles-landed"] = landed - clicked
    finally:
        if wrapper:
            # SDL turns SIGTERM into a quit: the wrapper sees the program end as by itself.
            for pid in program_pids(process.pid, program):
                os.kill(pid, signal.SIGTERM)
        else:
            os.killpg(process.pid, signal.SIGKILL)
        try:
            process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
    for step in animation:
        if step in times:
            print(f"step {step} {times[step]:.3f} {animation[step]:.3f}")
        else:
            print(f"step {step} - -")
    return 0


if __name__ == "__main__":
    sys.exit(main())
