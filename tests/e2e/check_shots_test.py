#!/usr/bin/python3
"""The screenshot checker's rows for the automated runs' screens, on drawn screens: each row
passes its screen and refuses the fault it is there to catch."""
import os
import sys
import tempfile
import unittest

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_shots  # noqa: E402

RED = (150, 20, 20)
FELT = (40, 95, 50)
SKY = (15, 20, 60)
IVORY = (240, 230, 200)
MENU_SKY = (50, 56, 110)
GOLD = (220, 180, 60)
FAINT = (88, 40, 30)
CAPTION = (224, 192, 113)
SCORE = (255, 226, 120)
PAIRS = (190, 228, 255)


def screen(look, dialog=None, tiles=(), tray=False):
    """A 1024 x 768 X screen with the game's window: a look's colours, a red dialog (x, y, w, h)
    and ivory tiles (x, y, w, h)."""
    image = Image.new("RGB", (1024, 768), (0, 0, 0))
    draw = ImageDraw.Draw(image)
    if look == "black":
        return image
    ground = FELT if look == "classic" else SKY
    draw.rectangle((0, 0, 799, 599), fill=ground)
    if look == "classic":
        draw.rectangle((0, 0, 799, 29), fill=RED)
        draw.rectangle((0, 555, 799, 594), fill=RED)
    for x, y, w, h in tiles:
        draw.rectangle((x, y, x + w - 1, y + h - 1), fill=IVORY)
    if tray:
        draw.rectangle((20, 100, 62, 350), fill=IVORY)
    if dialog is not None:
        x, y, w, h = dialog
        draw.rectangle((x, y, x + w - 1, y + h - 1), fill=RED)
    return image


def scenes_page(chosen=True, others=RED, buttons=True):
    """The scenes page: the red panel over the window, the chosen cell showing its cloth, the
    other cells in a colour, and the buttons' gold rims."""
    image = Image.new("RGB", (1024, 768), (0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rectangle((0, 0, 799, 599), fill=RED)
    for x, y in ((22, 112), (280, 112), (538, 112), (22, 290)):
        draw.rectangle((x, y, x + 227, y + 135), fill=others)
    if chosen:
        draw.rectangle((538, 290, 765, 425), fill=FELT)
    if buttons:
        for x in (254, 429):
            draw.rectangle((x, 468, x + 115, 503), outline=GOLD, width=2)
    return image


def with_patches(image, colour, rects):
    """The screen with rectangles (x, y, w, h) painted in a colour."""
    draw = ImageDraw.Draw(image)
    for x, y, w, h in rects:
        draw.rectangle((x, y, x + w - 1, y + h - 1), fill=colour)
    return image


def quest_board(specks=()):
    """A quest board: the brown frame's bars over a lit scene, ivory tiles, and specks of the
    colour key blended into tile corners at (x, y)."""
    image = screen("black")
    with_patches(image, (120, 150, 90), [(0, 70, 800, 450)])
    with_patches(image, (110, 70, 40), [(0, 0, 800, 70), (0, 520, 800, 80)])
    with_patches(image, IVORY, BOARD)
    return with_patches(image, (247, 178, 229), [(x, y, 2, 2) for x, y in specks])


def hud(image, captions=True):
    """The classic top bar's captions and, right of each, its number's first digit."""
    if captions:
        with_patches(image, CAPTION, [(58, 16, 43, 9), (26, 42, 74, 9), (607, 16, 33, 9)])
    with_patches(image, SCORE, [(108, 8, 16, 17), (646, 8, 16, 17)])
    return with_patches(image, PAIRS, [(108, 34, 16, 17)])


BOARD = [(200, 100, 400, 300)]
ABOVE = [(300, 110, 200, 80)]
QUESTION = (263, 190, 272, 220)
PAUSED = (255, 235, 290, 130)
# The congratulation's tiles ring the time bonus plaque.
PLAQUE = (274, 220, 220, 60)
RING = [(200, 100, 400, 110), (200, 330, 400, 150)]

# The options dialog over the menu: its lacquer, and a knob left beside a groove.
OPTIONS = (220, 155, 360, 280)
STRAY_KNOB = (226, 180, 80)

# The intro's title plate over its sky: opaque after its fade, blended into the sky during it.
INTRO_PLATE = (210, 105, 380, 115)
PLATE_OPAQUE = (149, 24, 23)
PLATE_FADING = (120, 40, 60)

# name, screen, the failed check's words (None: every check passes)
CASES = [
    ("intro", with_patches(screen("puzzles"), PLATE_OPAQUE, [INTRO_PLATE]), None),
    ("intro", with_patches(screen("puzzles"), PLATE_FADING, [INTRO_PLATE]), None),
    ("intro", screen("puzzles"), "the intro's title plate"),
    ("options-sliders", screen("classic", OPTIONS), None),
    ("options-sliders", with_patches(screen("classic", OPTIONS), STRAY_KNOB, [(450, 231, 16, 2)]),
     "no copy of the Music knob"),
    ("options-sliders", with_patches(screen("classic", OPTIONS), STRAY_KNOB, [(400, 253, 16, 2)]),
     "no copy of the Sounds knob"),
    ("board-quest-0", quest_board(), None),
    ("board-quest-0", quest_board([(300, 200), (348, 200)]), "no key colour on the dimmed tiles"),
    ("paused-classic", screen("classic", PAUSED), None),
    ("paused-classic", screen("classic", PAUSED, ABOVE), "no tile while paused"),
    ("paused-classic", screen("classic"), "the small pause dialog"),
    ("popup-nomoves", screen("classic", QUESTION, ABOVE), None),
    ("popup-nomoves", screen("classic", QUESTION), "the blocked board's tiles"),
    ("popup-nomoves", screen("classic", None, BOARD), "the dialog"),
    ("popup-youwinnewboard-puzzles", screen("puzzles", QUESTION, ABOVE), None),
    ("popup-youwinnewboard-puzzles", screen("classic", QUESTION, ABOVE), "night sky"),
    ("congratulations-classic-board1", screen("classic", PLAQUE, RING), None),
    ("congratulations-classic", screen("classic", None, BOARD), "the time bonus plaque"),
    ("congratulations-puzzles", screen("puzzles"), "tiles on the board"),
    # The powers' tray covers the board's left edge: the sky beside it is checked instead.
    ("power-magnet", screen("puzzles", None, BOARD, tray=True), None),
    ("board-puzzles-powers", screen("puzzles", None, BOARD, tray=True), None),
    ("power-magnet", screen("classic", None, BOARD, tray=True), "night sky"),
    ("board-classic-same-deal", screen("classic", None, BOARD), None),
    ("board-classic-hud", hud(screen("classic", None, BOARD)), None),
    ("board-classic-hud", hud(screen("classic", None, BOARD), captions=False),
     "the FREE PAIRS caption"),
    ("board-classic-hud", screen("classic", None, BOARD), "the score right of its caption"),
    ("menu", screen("black"), "the game's window is painted"),
    ("chooser-scenes", scenes_page(others=FAINT), None),
    ("chooser-scenes", scenes_page(chosen=False), "the chosen scene's cloth"),
    # Every cell at full strength, as on the boards chooser.
    ("chooser-scenes", scenes_page(others=FELT), "another scene faint"),
    ("chooser-scenes", scenes_page(buttons=False), "the Watch button's gold rim"),
]


class RowsTest(unittest.TestCase):
    def test_each_row_passes_its_screen_and_refuses_its_fault(self):
        background = Image.new("RGB", (800, 600), MENU_SKY)
        for name, image, fault in CASES:
            with self.subTest(name=name, fault=fault):
                rows = check_shots.rows_for(name)
                self.assertIsNotNone(rows, f"no row for {name}")
                common, checks = rows
                failed = check_shots.check(image, name, checks, background, common)
                if fault is None:
                    self.assertEqual(failed, [])
                else:
                    self.assertTrue(any(fault in message for message in failed), failed)

    def test_a_folder_with_an_unknown_screen_fails(self):
        with tempfile.TemporaryDirectory() as data, tempfile.TemporaryDirectory() as shots:
            os.makedirs(os.path.join(data, "images/menu"))
            background = os.path.join(data, "images/menu/menu_bg.png")
            Image.new("RGB", (800, 600), MENU_SKY).save(background)
            screen("classic", PAUSED).save(os.path.join(shots, "paused-classic.png"))
            self.assertEqual(check_shots.main(["check_shots.py", data, shots]), 0)
            screen("classic", None, BOARD).save(os.path.join(shots, "board0.png"))
            self.assertEqual(check_shots.main(["check_shots.py", data, shots]), 1)


if __name__ == "__main__":
    unittest.main()
