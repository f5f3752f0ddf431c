#!/usr/bin/python3
"""One run of the latency bench: starts the game in a copy of its data folder on the X display in
$DISPLAY, plays it with xdotool as a player would and watches the screen (a grab every few
milliseconds) to time each step. Prints one line per step: "step NAME TOTAL ANIMATION" in
seconds, ANIMATION being the part of the step the game's own fades and flights take at their
configured lengths; a step it could not time prints "step NAME - -" and a reason on stderr.

Usage: latency.py PROGRAM DATA_FOLDER SOURCE_ROOT
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

from PIL import ImageGrab

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


def main():
    program, data, root = sys.argv[1], os.path.abspath(sys.argv[2]), SOURCE_ROOT
    animation = lengths(data, root)
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
            xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")
            clicked = time.monotonic()
            # Off the window, so no hover or cursor keeps the screen moving.
            xdotool("mousemove", "1000", "740")
            return clicked

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
