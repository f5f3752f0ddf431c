#!/usr/bin/python3
"""Checks the screenshots the end-to-end scripts keep, each by the screen it is named after.

Every screenshot shows the game's 800x600 window at the top left of a black X screen; a screen's
row in the table below names the colours a few of its parts must have. A screenshot whose name
matches no row is a failure: a new screen needs its checks.

Usage: check_shots.py DATA_FOLDER SHOTS_FOLDER...
"""
import os
import re
import sys

from PIL import Image

GAME = (0, 0, 800, 600)


# Colour tests on (r, g, b) in 0..255.
def lit(r, g, b):
    return r + g + b > 30


def black(r, g, b):
    return r + g + b == 0


def panel_red(r, g, b):
    return r > 90 and g < 31 and b < 31


def felt_green(r, g, b):
    return g > r + 15 and g > b


def night_blue(r, g, b):
    return b > r + 10 and b > g


def tile_ivory(r, g, b):
    return r > 200 and g > 190 and b > 150


def plate_crimson(r, g, b):
    return r > 100 and g < 60 and 40 <= b < 80


def gold(r, g, b):
    return r > 150 and g > 115 and b < 100


def map_paper(r, g, b):
    return 178 < r < 235 and 168 < g < 220 and 127 < b < 184


# Parts of the screen: (x, y, width, height).
OUTSIDE = (800, 0, 224, 768)
TOP_BAR = (0, 0, 800, 30)
BOTTOM_BAR = (0, 555, 800, 40)
BOARD_EDGE = (20, 100, 60, 60)  # left of every board, never under a tile
BOARD_MIDDLE = (200, 100, 400, 300)
MENU_BUTTONS = (300, 200, 200, 40)  # the Puzzles button
MENU_FOOT = (75, 541, 140, 30)  # the Player button
MENU_DIALOG = (225, 165, 350, 45)  # a dialog's face above the menu's start buttons
GAME_MENU = (30, 220, 180, 300)
PROMPT = (250, 210, 300, 180)
# The panel in the gaps either side of the chooser's middle place (its texts cover the middle).
CHOOSER_PANEL_LEFT = (255, 240, 20, 100)
CHOOSER_PANEL_RIGHT = (512, 240, 20, 100)
CHOOSER_PLAY = (266, 552, 110, 36)
INTRO_PLATE = (250, 128, 300, 70)
SCENE = (0, 75, 800, 450)
MAP_PAPER = (50, 50, 700, 500)

# Checks every screenshot passes: the game's window painted, nothing outside it. A scene plays
# in its 800 x 450 picture between black bars, so only that picture need be painted.
OUTSIDE_BLACK = ("nothing is drawn outside the game's window", OUTSIDE, black, 1.0)
COMMON = [("the game's window is painted", GAME, lit, 0.9), OUTSIDE_BLACK]
SCENE_COMMON = [("the scene's picture is painted", SCENE, lit, 0.9), OUTSIDE_BLACK]

CLASSIC_BOARD = [
    ("the top bar's red panel", TOP_BAR, panel_red, 0.3),
    ("the bottom bar's red panel", BOTTOM_BAR, panel_red, 0.3),
    ("the classic look's green felt", BOARD_EDGE, felt_green, 0.9),
]
PUZZLE_BOARD = [
    ("the top bar's night sky", TOP_BAR, night_blue, 0.9),
    ("the puzzle look's night sky", BOARD_EDGE, night_blue, 0.9),
]
TILES = [("tiles on the board", BOARD_MIDDLE, tile_ivory, 0.15)]
MENU = [
    ("the menu's night sky", TOP_BAR, night_blue, 0.9),
    ("the menu's Player button", MENU_FOOT, panel_red, 0.5),
]
MENU_BACKGROUND = "menu background"

# Screen name (a regular expression on the whole name) -> checks, first match wins.
TABLE = [
    (r"intro", [("the intro's title plate", INTRO_PLATE, plate_crimson, 0.5)]),
    (r"menu(-again)?", MENU + [MENU_BACKGROUND,
                               ("the Puzzles button", MENU_BUTTONS, panel_red, 0.5)]),
    (r"player-.*|prompt-delete-player", MENU + [MENU_BACKGROUND,
                                                ("a dialog over the menu", MENU_DIALOG,
                                                 panel_red, 0.5)]),
    (r"chooser-.*", [("the chooser's red panel", CHOOSER_PANEL_LEFT, panel_red, 0.8),
                     ("the chooser's red panel", CHOOSER_PANEL_RIGHT, panel_red, 0.8),
                     ("the Play button's gold rim", CHOOSER_PLAY, gold, 0.015)]),
    (r"board-classic.*-opening", CLASSIC_BOARD),
    (r"board-classic.*", CLASSIC_BOARD + TILES),
    (r"board-puzzles-opening", PUZZLE_BOARD),
    (r"board-puzzles-welcome", PUZZLE_BOARD + [("the welcome note", PROMPT, panel_red, 0.5)]),
    (r"board-puzzles.*", PUZZLE_BOARD + TILES),
    (r"game-menu", CLASSIC_BOARD + [("the in-game menu", GAME_MENU, panel_red, 0.5)]),
    (r"game-menu-puzzles", PUZZLE_BOARD + [("the in-game menu", GAME_MENU, panel_red, 0.5)]),
    (r"prompt-mainmenu", CLASSIC_BOARD + [("the question", PROMPT, panel_red, 0.5)]),
    (r"prompt-quit", PUZZLE_BOARD + [("the question", PROMPT, panel_red, 0.5)]),
    (r"board-quest", [("the top bar is painted", TOP_BAR, lit, 0.9)] + TILES),
    (r"game-menu-quest", [("the top bar is painted", TOP_BAR, lit, 0.9),
                          ("the in-game menu", GAME_MENU, panel_red, 0.5)]),
    (r"quest-map-bonus", [("the map's paper", MAP_PAPER, map_paper, 0.5)]),
    (r"movies-page", [("the movies page's red panel", CHOOSER_PANEL_LEFT, panel_red, 0.8),
                      ("the movies page's red panel", CHOOSER_PANEL_RIGHT, panel_red, 0.8)]),
]
# Screens that show a scene between the bars: name -> checks.
SCENE_TABLE = [
    (r"quest-intro", [("the black bar above the scene", (0, 0, 800, 75), black, 0.95)]),
    (r"movie-cutscene", [("the black bar above the scene", (0, 0, 800, 75), black, 0.95)]),
    (r"quest-closing", [("the black bar above the scene", (0, 0, 800, 75), black, 0.95)]),
]


def share(image, rect, test):
    x, y, w, h = rect
    pixels = list(image.crop((x, y, x + w, y + h)).getdata())
    return sum(1 for p in pixels if test(*p[:3])) / len(pixels)


def check(image, name, checks, background, common=COMMON):
    """Returns the failed checks' messages."""
    failed = []
    for item in common + checks:
        if item == MENU_BACKGROUND:
            # The menu's picture itself where no button or dialog covers it.
            for x, y in ((700, 250), (400, 60)):
                want = background.getpixel((x, y))[:3]
                got = image.getpixel((x, y))[:3]
                if got != want:
                    failed.append(f"{name}: the menu picture at {x},{y} is {got}, expected {want}")
            continue
        what, rect, test, least = item
        got = share(image, rect, test)
        if got < least:
            failed.append(f"{name}: {what}: {got:.0%} of {rect} passes {test.__name__}, "
                          f"expected at least {least:.0%}")
    return failed


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[-1])
        return 2
    background = Image.open(os.path.join(argv[1], "images/menu/menu_bg.png")).convert("RGB")
    failed = []
    seen = 0
    for folder in argv[2:]:
        for file in sorted(os.listdir(folder)):
            if not file.endswith(".png"):
                continue
            name = file[:-4]
            common = COMMON
            row = next((checks for pattern, checks in TABLE if re.fullmatch(pattern, name)), None)
            if row is None:
                common = SCENE_COMMON
                row = next((checks for pattern, checks in SCENE_TABLE
                            if re.fullmatch(pattern, name)), None)
            if row is None:
                failed.append(f"{name}: no checks for this screen")
                continue
            image = Image.open(os.path.join(folder, file)).convert("RGB")
            found = check(image, name, row, background, common)
            failed += found
            seen += 1
            if not found:
                print(f"ok: screenshot {name}")
    for message in failed:
        print(f"FAIL: {message}")
    if seen == 0:
        print("FAIL: no screenshot to check")
        return 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
