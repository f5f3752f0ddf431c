#!/usr/bin/python3
"""Checks the screenshots the end-to-end scripts keep, each by the screen it is named after.

Every screenshot shows the game's 800x600 window at the top left of a black X screen; a screen's
row in the table below names the colours a few of its parts must have. A screenshot whose name
matches no row is a failure: a new screen needs its checks.

Usage: check_shots.py DATA_FOLDER SHOTS_FOLDER...
       check_shots.py --one DATA_FOLDER SHOT   (quiet; the code says whether SHOT passes)
"""
import os
import re
import sys

from PIL import Image

GAME = (0, 0, 800, 600)


# Colour tests on (r, g, b) in 0..255.
def lit(r, g, b):
    return r + g + b > 30


# Drawn by the game: the X screen and a window not yet drawn are black, while a scene's night
# silhouettes are dark but drawn.
def painted(r, g, b):
    return r + g + b > 12


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


def no_tile(r, g, b):
    return not tile_ivory(r, g, b)


def plate_crimson(r, g, b):
    # No lower bound on blue: the opaque plate is a pure crimson, the fading one takes the sky's.
    return r > 100 and g < 60 and b < 80


def gold(r, g, b):
    return r > 150 and g > 115 and b < 100


def frame_brown(r, g, b):
    return 38 < r < 192 and r > g + 12 and g > b


# The top bar's captions are inked in light gold; its numbers are the labels' own colours.
def caption_ink(r, g, b):
    return r > 180 and g > 150 and b > 80 and r > b + 50


def number_gold(r, g, b):
    return r > 220 and g > 190 and b < 170


def number_blue(r, g, b):
    return b > 220 and g > 190 and r < 220


def map_paper(r, g, b):
    return 178 < r < 235 and 168 < g < 220 and 127 < b < 184


# The classic scenes' cloths, green, teal or olive, all have more green than red; the red panel
# and a scene cell faint over it do not.
def cloth(r, g, b):
    return g > r


def no_cloth(r, g, b):
    return not cloth(r, g, b)


# Not the colour key's magenta, pure or blended into a light face (a tile's corner).
def no_key_tint(r, g, b):
    return not (r > 200 and b > 180 and g + 40 < min(r, b))


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
ABOVE_PROMPT = (200, 100, 400, 110)  # the board above a centred dialog: tiles, if any are shown
# The panel in the gaps either side of the chooser's middle place (its texts cover the middle).
CHOOSER_PANEL_LEFT = (255, 240, 20, 100)
CHOOSER_PANEL_RIGHT = (512, 240, 20, 100)
CHOOSER_PLAY = (266, 552, 110, 36)
# The scenes page: the cell of the scene in use when it opens (the scene chosen by board, the last
# cell), the first scene's cell, and the Watch button.
SCENES_CHOSEN = (550, 303, 200, 90)
SCENES_OTHER = (30, 120, 210, 95)
SCENES_WATCH = (255, 468, 115, 36)
INTRO_PLATE = (250, 128, 300, 70)
BONUS_PLAQUE = (290, 232, 188, 36)  # inside the time bonus frame at (274, 220)
SCENE = (0, 75, 800, 450)
QUEST_BOARD = (0, 75, 800, 445)  # between the quest frame's top bar and its foot
# The rows of the options dialog's two tracks beside the groove, where the knob reaches, along
# the middle of each track: clear of the knobs, Music's at its left end and Sounds' at its right,
# whichever of its widths (360 or 369) centres the dialog.
OPTIONS_KNOB_ROWS = [("Music", (367, 217, 162, 2)), ("Music", (367, 231, 162, 2)),
                     ("Sounds", (367, 253, 162, 2)), ("Sounds", (367, 267, 162, 2))]
MAP_PAPER = (50, 50, 700, 500)

# Checks every screenshot passes: the game's window painted, nothing outside it. A scene plays
# in its 800 x 450 picture between black bars, so only that picture need be painted.
OUTSIDE_BLACK = ("nothing is drawn outside the game's window", OUTSIDE, black, 1.0)
COMMON = [("the game's window is painted", GAME, painted, 0.9), OUTSIDE_BLACK]
SCENE_COMMON = [("the scene's picture is painted", SCENE, lit, 0.9), OUTSIDE_BLACK]

CLASSIC_BOARD = [
    ("the top bar's red panel", TOP_BAR, panel_red, 0.3),
    ("the bottom bar's red panel", BOTTOM_BAR, panel_red, 0.3),
    ("the classic look's green felt", BOARD_EDGE, felt_green, 0.9),
]
# The classic top bar: each caption with its number on its right, on the caption's row (the
# numbers' first digit; the caption's letters).
CLASSIC_HUD = [
    ("the SCORE caption", (58, 16, 43, 9), caption_ink, 0.3),
    ("the score right of its caption", (108, 8, 16, 17), number_gold, 0.15),
    ("the FREE PAIRS caption", (26, 42, 74, 9), caption_ink, 0.3),
    ("the free pairs right of their caption", (108, 34, 16, 17), number_blue, 0.15),
    ("the BEST caption", (607, 16, 33, 9), caption_ink, 0.3),
    ("the best right of its caption", (646, 8, 16, 17), number_gold, 0.15),
]
# The puzzle look's HUD (its captions, times and title) covers about a tenth of the top bar.
PUZZLE_BOARD = [
    ("the top bar's night sky", TOP_BAR, night_blue, 0.8),
    ("the puzzle look's night sky", BOARD_EDGE, night_blue, 0.9),
]
# The board with powers lays them in trays at its sides, over BOARD_EDGE.
POWERS_BOARD = [
    PUZZLE_BOARD[0],
    ("the night sky between the left tray and the board", (70, 100, 80, 140), night_blue, 0.9),
]
TILES = [("tiles on the board", BOARD_MIDDLE, tile_ivory, 0.15)]
# The quest's boards are long and low, the first one with its blocked tiles darkened: their
# tiles are looked for across the board's width.
QUEST_TILES = [("tiles on the board", (80, 200, 640, 200), tile_ivory, 0.15)]
QUESTION = [("the dialog", PROMPT, panel_red, 0.5)]
MENU = [
    ("the menu's night sky", TOP_BAR, night_blue, 0.9),
    ("the menu's Player button", MENU_FOOT, panel_red, 0.5),
]
MENU_BACKGROUND = "menu background"
# A quest screen over a scene with dark parts (night, tree silhouettes): its window is painted,
# but less of it is lit than COMMON asks.
DARK_SCENE = "dark scene"
DARK_COMMON = [("the game's window is painted (a scene with dark parts)", GAME, lit, 0.7),
               OUTSIDE_BLACK]
# The quest's board in its brown frame, over its scene.
QUEST_FRAME = [
    DARK_SCENE,
    ("the quest's brown top bar", (0, 0, 800, 70), frame_brown, 0.5),
    ("the quest's brown foot", (0, 520, 800, 80), frame_brown, 0.4),
    ("the scene behind the board", BOARD_EDGE, lit, 0.9),
]
# Where every quest popup's red face lies, wherever the board places it.
QUEST_POPUP = (270, 230, 45, 120)

# Screen name (a regular expression on the whole name) -> checks, first match wins.
TABLE = [
    (r"intro", [("the intro's title plate", INTRO_PLATE, plate_crimson, 0.5)]),
    (r"menu(-again)?", MENU + [MENU_BACKGROUND,
                               ("the Puzzles button", MENU_BUTTONS, panel_red, 0.5)]),
    (r"options-sliders", [(f"no copy of the {slider} knob beside its groove", rect, panel_red, 1.0)
                          for slider, rect in OPTIONS_KNOB_ROWS]),
    (r"player-.*|prompt-delete-player", MENU + [MENU_BACKGROUND,
                                                ("a dialog over the menu", MENU_DIALOG,
                                                 panel_red, 0.5)]),
    (r"chooser-scenes", [("the page's red panel", CHOOSER_PANEL_LEFT, panel_red, 0.8),
                         ("the page's red panel", CHOOSER_PANEL_RIGHT, panel_red, 0.8),
                         ("the chosen scene's cloth in its cell", SCENES_CHOSEN, cloth, 0.8),
                         ("another scene faint in its cell", SCENES_OTHER, no_cloth, 0.95),
                         ("the Watch button's gold rim", SCENES_WATCH, gold, 0.015)]),
    (r"chooser-.*", [("the chooser's red panel", CHOOSER_PANEL_LEFT, panel_red, 0.8),
                     ("the chooser's red panel", CHOOSER_PANEL_RIGHT, panel_red, 0.8),
                     ("the Play button's gold rim", CHOOSER_PLAY, gold, 0.015)]),
    (r"board-classic-hud", CLASSIC_BOARD + TILES + CLASSIC_HUD),
    (r"board-classic.*-opening", CLASSIC_BOARD),
    (r"board-classic.*", CLASSIC_BOARD + TILES),
    (r"board-puzzles-opening", PUZZLE_BOARD),
    (r"board-puzzles-welcome", PUZZLE_BOARD + [("the welcome note", PROMPT, panel_red, 0.5)]),
    (r"board-puzzles-powers", POWERS_BOARD + TILES),
    (r"board-puzzles.*", PUZZLE_BOARD + TILES),
    # The time bonus plaque shows through the window the congratulation's tiles leave free.
    (r"congratulations-classic.*", CLASSIC_BOARD + TILES + [
        ("the time bonus plaque", BONUS_PLAQUE, panel_red, 0.4)]),
    (r"congratulations-puzzles", PUZZLE_BOARD + TILES),
    # A power in flight over the puzzle board.
    (r"power-.*", POWERS_BOARD + TILES),
    (r"popup-youwinnewboard", CLASSIC_BOARD + QUESTION + [
        ("the congratulation's tiles above it", ABOVE_PROMPT, tile_ivory, 0.1)]),
    (r"popup-youwinnewboard-puzzles", PUZZLE_BOARD + QUESTION + [
        ("the congratulation's tiles above it", ABOVE_PROMPT, tile_ivory, 0.1)]),
    (r"popup-nomoves", CLASSIC_BOARD + QUESTION + [
        ("the blocked board's tiles above it", ABOVE_PROMPT, tile_ivory, 0.05)]),
    (r"paused-classic", CLASSIC_BOARD + [
        ("the small pause dialog", (265, 240, 270, 120), panel_red, 0.6),
        ("no tile while paused", ABOVE_PROMPT, no_tile, 0.99)]),
    # The last screen of an automated run that failed: whatever it was, the window is painted.
    (r"last", []),
    (r"game-menu", CLASSIC_BOARD + [("the in-game menu", GAME_MENU, panel_red, 0.5)]),
    (r"game-menu-puzzles", PUZZLE_BOARD + [("the in-game menu", GAME_MENU, panel_red, 0.5)]),
    (r"prompt-mainmenu", CLASSIC_BOARD + [("the question", PROMPT, panel_red, 0.5)]),
    (r"prompt-quit", PUZZLE_BOARD + [("the question", PROMPT, panel_red, 0.5)]),
    (r"board-quest", [("the top bar is painted", TOP_BAR, lit, 0.9)] + QUEST_TILES),
    (r"board-quest-\d+-popup-.*", QUEST_FRAME + [("the popup's red face", QUEST_POPUP,
                                                   panel_red, 0.5)]),
    # Near a board's end few tiles are left.
    (r"board-quest-\d+-yinyang-selected", QUEST_FRAME),
    # The first board darkens its blocked tiles.
    (r"board-quest-0", QUEST_FRAME + QUEST_TILES + [("no key colour on the dimmed tiles", QUEST_BOARD,
                                                no_key_tint, 1.0)]),
    (r"board-quest-\d+(-.*)?", QUEST_FRAME + QUEST_TILES),
    # The board's end: tiles fly into the case or gather beside the Yin-Yang pair.
    (r"quest-bonus-tiles|quest-sweep|quest-case", QUEST_FRAME),
    (r"map-board\d+", [("the map's paper", MAP_PAPER, map_paper, 0.6)]),
    # The quest's losses: its boards after a time-up and its popups.
    (r"popup-(timesup|offerlife|zorvylose).*", [
        ("the top bar is painted", TOP_BAR, lit, 0.9),
        ("the popup's red face over the quest board", (285, 235, 230, 120), panel_red, 0.6)]),
    (r"board-quest-.*", [("the top bar is painted", TOP_BAR, lit, 0.9)] + QUEST_TILES),
    (r"game-menu-quest", [("the top bar is painted", TOP_BAR, lit, 0.9),
                          ("the in-game menu", GAME_MENU, panel_red, 0.5)]),
    (r"quest-map-bonus", [("the map's paper", MAP_PAPER, map_paper, 0.5)]),
    (r"movies-page", [("the movies page's red panel", CHOOSER_PANEL_LEFT, panel_red, 0.8),
                      ("the movies page's red panel", CHOOSER_PANEL_RIGHT, panel_red, 0.8)]),
]
# Screens that show a scene between the bars: name -> checks.
SCENE_TABLE = [
    (r"quest-intro", [("the black bar above the scene", (0, 0, 800, 75), black, 0.95)]),
    (r"quest-intro-.*|cutscene-board\d+", [
        ("the black bar above the scene", (0, 0, 800, 75), black, 0.95),
        ("the black bar below the scene", (0, 525, 800, 75), black, 0.95),
    ]),
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
    if DARK_SCENE in checks:
        common = DARK_COMMON
    for item in common + checks:
        if item == DARK_SCENE:
            continue
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
            failed.append(f"{name}: {what}: {got:.2%} of {rect} passes {test.__name__}, "
                          f"expected at least {least:.0%}")
    return failed


def rows_for(name):
    """The common checks and the screen's own for a screenshot's name, or None without a row."""
    row = next((checks for pattern, checks in TABLE if re.fullmatch(pattern, name)), None)
    if row is not None:
        return COMMON, row
    row = next((checks for pattern, checks in SCENE_TABLE if re.fullmatch(pattern, name)), None)
    return None if row is None else (SCENE_COMMON, row)


def menu_background(data):
    return Image.open(os.path.join(data, "images/menu/menu_bg.png")).convert("RGB")


def check_one(data, path):
    """For scripts waiting on a screen: whether the screenshot passes its screen's checks."""
    rows = rows_for(os.path.basename(path)[:-4])
    if rows is None:
        return 1
    common, row = rows
    image = Image.open(path).convert("RGB")
    return 1 if check(image, path, row, menu_background(data), common) else 0


def main(argv):
    if len(argv) == 4 and argv[1] == "--one":
        return check_one(argv[2], argv[3])
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[-2])
        return 2
    background = menu_background(argv[1])
    failed = []
    seen = 0
    for folder in argv[2:]:
        for file in sorted(os.listdir(folder)):
            if not file.endswith(".png"):
                continue
            name = file[:-4]
            rows = rows_for(name)
            if rows is None:
                failed.append(f"{name}: no checks for this screen")
                continue
            common, row = rows
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
