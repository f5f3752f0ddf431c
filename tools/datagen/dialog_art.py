"""Pictures of the player and options dialogs: extra buttons, list arrows, the check box and the
volume sliders, in the skin's lacquer and gold. Called by gen_images.py, whose colours and
helpers (save, button_sheet, vertical_gradient) it draws with."""
from PIL import Image, ImageDraw

# The generator module, set by draw.
g = None

ARROW = 24
CHECK = 24
TRACK_W, TRACK_H = 200, 16
KNOB_W, KNOB_H = 16, 24

# The dark of wells (check box, arrow corners, groove). Never the frame's rim colour: a dialog
# with a see-through background takes the colour at its top left corner, which is the rim's,
# as its colour key, and would show the menu through every pixel of that colour.
WELL = (70, 8, 10)


def _chevron_look(up, face_top, face_bottom, edge, mark, offset):
    # Opaque corners: the play-as dialog shows its arrows without a colour key.
    look = Image.new("RGB", (ARROW, ARROW), WELL)
    face = g.vertical_gradient(ARROW, ARROW, face_top, face_bottom)
    mask = Image.new("L", (ARROW, ARROW), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, ARROW - 1, ARROW - 1], radius=5, fill=255)
    look.paste(face, (0, 0), mask)
    draw = ImageDraw.Draw(look)
    draw.rounded_rectangle([0, 0, ARROW - 1, ARROW - 1], radius=5, outline=edge, width=1)
    # A thick chevron: two strokes meeting at the tip.
    mid = ARROW // 2 + offset
    tip, base = (7, 15) if up else (16, 8)
    tip += offset
    base += offset
    points = [(6 + offset, base), (mid, tip), (ARROW - 7 + offset, base)]
    draw.line(points, fill=(30, 6, 6), width=4, joint="curve")
    draw.line([(x, y - 1) for x, y in points], fill=mark, width=3, joint="curve")
    return look


def arrow_sheet(out, rel, up):
    """Four looks of 24 x 24 in one row: normal, pressed, mouse over, disabled."""
    looks = [
        _chevron_look(up, (150, 30, 28), (90, 14, 14), g.GOLD_DARK, g.GOLD, 0),
        _chevron_look(up, (86, 12, 12), (140, 28, 26), g.GOLD_DARK, g.GOLD_DARK, 1),
        _chevron_look(up, (196, 56, 44), (124, 24, 22), g.GOLD, (250, 214, 120), 0),
        _chevron_look(up, (110, 98, 94), (80, 72, 70), (130, 122, 114), (170, 162, 154), 0),
    ]
    sheet = Image.new("RGB", (ARROW * 4, ARROW), WELL)
    for i, look in enumerate(looks):
        sheet.paste(look, (i * ARROW, 0))
    g.save(sheet, out, rel)


def _box_look(ticked, frame, fill, mark):
    look = Image.new("RGB", (CHECK, CHECK), g.KEY)
    draw = ImageDraw.Draw(look)
    draw.rounded_rectangle([1, 1, CHECK - 2, CHECK - 2], radius=4, fill=fill, outline=frame,
                           width=2)
    if ticked:
        tick = [(6, 12), (10, 17), (18, 6)]
        draw.line([(x + 1, y + 1) for x, y in tick], fill=(30, 6, 6), width=3, joint="curve")
        draw.line(tick, fill=mark, width=3, joint="curve")
    return look


def checkbox_sheet(out, rel):
    """Four frames of 24 x 24: off, on, inactive off, inactive on."""
    looks = [
        _box_look(False, g.GOLD, WELL, g.GOLD),
        _box_look(True, g.GOLD, WELL, (250, 214, 120)),
        _box_look(False, (130, 122, 114), (84, 74, 72), (170, 162, 154)),
        _box_look(True, (130, 122, 114), (84, 74, 72), (170, 162, 154)),
    ]
    sheet = Image.new("RGB", (CHECK * 4, CHECK), g.KEY)
    for i, look in enumerate(looks):
        sheet.paste(look, (i * CHECK, 0))
    g.save(sheet, out, rel)


def _groove(top, bottom, rim):
    img = Image.new("RGB", (TRACK_W, TRACK_H), g.KEY)
    face = g.vertical_gradient(TRACK_W, TRACK_H - 4, top, bottom)
    mask = Image.new("L", (TRACK_W, TRACK_H - 4), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, TRACK_W - 1, TRACK_H - 5], radius=5, fill=255)
    img.paste(face, (0, 2), mask)
    ImageDraw.Draw(img).rounded_rectangle([0, 2, TRACK_W - 1, TRACK_H - 3], radius=5,
                                          outline=rim, width=1)
    return img


def slider_images(out):
    """The track left of the knob filled with gold, the rest a dark groove, and the knob."""
    g.save(_groove((246, 210, 120), g.GOLD_DARK, (30, 6, 6)), out, "images/dialog/slider_left.png")
    g.save(_groove((30, 6, 6), WELL, g.GOLD_DARK), out, "images/dialog/slider_right.png")
    knob = Image.new("RGB", (KNOB_W, KNOB_H), g.KEY)
    face = g.vertical_gradient(KNOB_W, KNOB_H, (250, 220, 140), g.GOLD_DARK)
    mask = Image.new("L", (KNOB_W, KNOB_H), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, KNOB_W - 1, KNOB_H - 1], radius=4, fill=255)
    knob.paste(face, (0, 0), mask)
    draw = ImageDraw.Draw(knob)
    draw.rounded_rectangle([0, 0, KNOB_W - 1, KNOB_H - 1], radius=4, outline=(30, 6, 6), width=2)
    for x in (5, 8, 11):
        draw.line([(x, 7), (x, KNOB_H - 8)], fill=g.GOLD_DARK, width=1)
    g.save(knob, out, "images/dialog/knob.png")


def draw(out, generator):
    global g
    g = generator
    g.button_sheet(out, "images/dialog/deletebutton.png", "Delete")
    g.button_sheet(out, "images/dialog/morebutton.png", "More")
    arrow_sheet(out, "images/dialog/arrowup.png", True)
    arrow_sheet(out, "images/dialog/arrowdown.png", False)
    checkbox_sheet(out, "images/dialog/checkbox.png")
    slider_images(out)
