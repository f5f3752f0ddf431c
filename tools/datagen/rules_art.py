"""The menu's rules book: one small diagram per page on the dialog's lacquer, and its Done button
(Next and Prev are the game's dialog buttons)."""
import math

from PIL import Image, ImageDraw, ImageFont

KEY = (255, 0, 255)
PANEL = (70, 10, 12)
GOLD = (212, 170, 72)
IVORY = (244, 238, 220)
IVORY_EDGE = (196, 182, 150)
RIM = (150, 136, 110)
DIM = 0.55
CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
FRAME_W, FRAME_H = 200, 140
TILE_W, TILE_H, DEPTH = 22, 28, 4


def dimmed(colour, factor=DIM):
    return tuple(int(c * factor) for c in colour)


def panel():
    img = Image.new("RGB", (FRAME_W, FRAME_H), KEY)
    draw = ImageDraw.Draw(img)
    draw.rounded_rectangle([0, 0, FRAME_W - 1, FRAME_H - 1], radius=10, fill=PANEL, outline=GOLD,
                           width=2)
    return img, draw


def tile(draw, x, y, lit=True, glow=False):
    """A small tile with its body edge to the left and below; (x, y) is the face's corner."""
    face = IVORY if lit else dimmed(IVORY)
    edge = IVORY_EDGE if lit else dimmed(IVORY_EDGE)
    if glow:
        draw.rounded_rectangle([x - 3, y - 3, x + TILE_W + 2, y + TILE_H + 2], radius=5,
                               outline=(255, 214, 90), width=2)
    draw.rounded_rectangle([x - DEPTH, y + DEPTH, x + TILE_W - DEPTH - 1, y + TILE_H + DEPTH - 1],
                           radius=3, fill=edge)
    draw.rounded_rectangle([x, y, x + TILE_W - 1, y + TILE_H - 1], radius=3, fill=face,
                           outline=RIM if lit else dimmed(RIM))


def dots(draw, x, y, n, lit=True):
    colours = [(40, 80, 170), (30, 130, 60), (190, 40, 30)]
    spots = {1: [(0.5, 0.5)], 2: [(0.5, 0.28), (0.5, 0.72)], 3: [(0.28, 0.25), (0.5, 0.5),
                                                                   (0.72, 0.75)]}[n]
    for i, (fx, fy) in enumerate(spots):
        cx, cy = x + fx * TILE_W, y + fy * TILE_H
        c = colours[i % 3] if lit else dimmed(colours[i % 3])
        draw.ellipse([cx - 4, cy - 4, cx + 4, cy + 4], outline=c, width=2)


def flower(draw, x, y, petal):
    cx, cy = x + TILE_W / 2, y + TILE_H / 2 - 2
    for dx, dy in ((0, -4), (4, 0), (0, 4), (-4, 0)):
        draw.ellipse([cx + dx - 3, cy + dy - 3, cx + dx + 3, cy + dy + 3], fill=petal)
    draw.ellipse([cx - 2, cy - 2, cx + 2, cy + 2], fill=(230, 180, 40))
    draw.line([cx, cy + 6, cx, y + TILE_H - 3], fill=(40, 120, 50), width=1)


def glyph(draw, x, y, text, colour):
    font = ImageFont.truetype(CJK, 17)
    box = draw.textbbox((0, 0), text, font=font)
    draw.text((x + (TILE_W - (box[2] - box[0])) / 2 - box[0],
               y + (TILE_H - (box[3] - box[1])) / 2 - box[1]), text, font=font, fill=colour)


def free_tiles():
    """A small pyramid: the tiles with a free left or right side glow, the others are dimmed."""
    img, draw = panel()
    left, top, step = 34, 36, TILE_W + 3
    for row in range(2):
        # From the right, so that each face covers the body edge of its right neighbour.
        for col in reversed(range(6)):
            free = col in (0, 5)
            x = left + col * step
            y = top + row * (TILE_H + 10)
            tile(draw, x, y, lit=free, glow=free)
            dots(draw, x, y, 1 + (col + row) % 3, lit=free)
    # A raised tile on top of the middle covers the pair under it and is free itself.
    x, y = left + 2 * step + step // 2, top + 14
    tile(draw, x, y, lit=True, glow=True)
    dots(draw, x, y, 2)
    return img


def matching_pair():
    img, draw = panel()
    for x in (44, 134):
        tile(draw, x, 50, glow=True)
        dots(draw, x, 50, 3)
    # A gold arc joining the pair.
    draw.arc([60, 14, 150, 84], start=200, end=340, fill=GOLD, width=3)
    draw.polygon([(146, 40), (156, 34), (154, 46)], fill=GOLD)
    return img


def flowers_and_seasons():
    img, draw = panel()
    petals = [(220, 110, 150), (170, 90, 200), (90, 160, 210), (230, 150, 60)]
    for i, petal in enumerate(petals):
        x = 28 + i * 40
        tile(draw, x, 22)
        flower(draw, x, 22, petal)
    seasons = [("春", (60, 150, 60)), ("夏", (200, 60, 40)), ("秋", (200, 120, 30)),
               ("冬", (50, 90, 180))]
    for i, (text, colour) in enumerate(seasons):
        x = 28 + i * 40
        tile(draw, x, 82)
        glyph(draw, x, 82, text, colour)
    # Any two of a group match: a gold bracket under each row.
    for y in (60, 120):
        draw.line([(24, y), (176, y)], fill=GOLD, width=2)
    return img


def clock_and_undo():
    img, draw = panel()
    cx, cy, r = 62, 70, 34
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=IVORY, outline=GOLD, width=3)
    for i in range(12):
        a = i * math.pi / 6
        draw.line([(cx + (r - 7) * math.sin(a), cy - (r - 7) * math.cos(a)),
                   (cx + (r - 3) * math.sin(a), cy - (r - 3) * math.cos(a))], fill=(60, 40, 30),
                  width=2)
    draw.line([(cx, cy), (cx, cy - 24)], fill=(60, 40, 30), width=3)
    draw.line([(cx, cy), (cx + 16, cy + 6)], fill=(160, 30, 30), width=2)
    # The undo arrow: three quarters of a circle ending in a head that points back.
    ux, uy, ur = 144, 70, 28
    draw.arc([ux - ur, uy - ur, ux + ur, uy + ur], start=-60, end=200, fill=CREAM_ARROW, width=7)
    draw.polygon([(ux - ur - 14, uy - 16), (ux - ur + 12, uy - 18), (ux - ur - 2, uy + 4)],
                 fill=CREAM_ARROW)
    return img


CREAM_ARROW = (250, 238, 210)


def draw(out, save, button_sheet):
    frames = [free_tiles(), matching_pair(), flowers_and_seasons(), clock_and_undo()]
    sheet = Image.new("RGB", (FRAME_W * len(frames), FRAME_H), KEY)
    for i, frame in enumerate(frames):
        sheet.paste(frame, (i * FRAME_W, 0))
    save(sheet, out, "images/rules/rules.png")
    button_sheet(out, "images/dialog/donebutton.png", "Done")
