#!/usr/bin/python3
"""Draws the game's pictures into a data folder. Deterministic: the same tools give the same bytes.

Usage: gen_images.py OUTPUT_DIR
"""
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFont

import shell_art
import splash_art

FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Colour key of pictures with transparent corners: read by the engine from pixel (0,0).
KEY = (255, 0, 255)

LACQUER = (118, 18, 20)
LACQUER_DARK = (78, 10, 12)
GOLD = (212, 170, 72)
GOLD_DARK = (150, 112, 40)
CREAM = (250, 238, 210)


def save(img, out, rel):
    path = os.path.join(out, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    # Fixed PNG settings and no metadata, so rebuilding gives the same bytes.
    img.save(path, format="PNG", optimize=False, compress_level=9)


def lacquer_pattern(size, seed):
    """A small tile of lacquer with a soft grain; repeats seamlessly."""
    rng = random.Random(seed)
    img = Image.new("RGB", (size, size), LACQUER)
    px = img.load()
    for y in range(size):
        for x in range(size):
            d = rng.randint(-6, 6)
            r, g, b = LACQUER
            px[x, y] = (max(0, r + d), max(0, g + d // 3), max(0, b + d // 3))
    return img


def dialog_tiles(out):
    """3 x 3 tiles of 16 x 16: corners, edges and a middle that tile seamlessly."""
    tile = 16
    grain = lacquer_pattern(tile, 7)
    img = Image.new("RGB", (tile * 3, tile * 3))
    for ty in range(3):
        for tx in range(3):
            img.paste(grain, (tx * tile, ty * tile))
    draw = ImageDraw.Draw(img)
    size = tile * 3
    # Outer dark rim, then a gold line, both running through the edge tiles at fixed offsets so
    # that edges repeat without seams.
    draw.rectangle([0, 0, size - 1, size - 1], outline=LACQUER_DARK, width=3)
    draw.rectangle([4, 4, size - 5, size - 5], outline=GOLD, width=2)
    draw.rectangle([6, 6, size - 7, size - 7], outline=GOLD_DARK, width=1)
    # Corner ornaments: a small gold square inside each corner tile.
    for cx, cy in ((9, 9), (size - 12, 9), (9, size - 12), (size - 12, size - 12)):
        draw.rectangle([cx, cy, cx + 2, cy + 2], fill=GOLD)
    save(img, out, "images/dialog/tiles.png")


def vertical_gradient(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        c = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        draw.line([(0, y), (w - 1, y)], fill=c)
    return img


def button_look(w, h, label, top, bottom, edge, text, offset, font_size=15):
    face = vertical_gradient(w, h, top, bottom)
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=8, fill=255)
    look = Image.new("RGB", (w, h), KEY)
    look.paste(face, (0, 0), mask)
    draw = ImageDraw.Draw(look)
    draw.rounded_rectangle([0, 0, w - 1, h - 1], radius=8, outline=edge, width=2)
    font = ImageFont.truetype(FONT_BOLD, font_size)
    box = draw.textbbox((0, 0), label, font=font)
    tx = (w - (box[2] - box[0])) // 2 - box[0] + offset
    # Centred on the font's cap height, not the label's ink, so labels with and without
    # descenders sit on the same line across a row of buttons.
    cap = draw.textbbox((0, 0), "H", font=font)
    ty = (h - (cap[3] - cap[1])) // 2 - cap[1] + offset
    draw.text((tx + 1, ty + 1), label, font=font, fill=(30, 6, 6))
    draw.text((tx, ty), label, font=font, fill=text)
    return look


def button_sheet(out, rel, label, w=90, h=32, font_size=15):
    """Four looks in one row: normal, pressed, mouse over, disabled."""
    looks = [
        button_look(w, h, label, (168, 34, 30), (96, 14, 14), GOLD, CREAM, 0, font_size),
        button_look(w, h, label, (86, 12, 12), (140, 28, 26), GOLD_DARK, CREAM, 1, font_size),
        button_look(w, h, label, (204, 58, 46), (128, 24, 22), (246, 210, 120), (255, 250, 230), 0,
                    font_size),
        button_look(w, h, label, (118, 104, 100), (84, 74, 72), (140, 130, 120), (176, 168, 160), 0,
                    font_size),
    ]
    sheet = Image.new("RGB", (w * 4, h), KEY)
    for i, look in enumerate(looks):
        sheet.paste(look, (i * w, 0))
    save(sheet, out, rel)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    dialog_tiles(out)
    button_sheet(out, "images/dialog/okbutton.png", "OK")
    button_sheet(out, "images/dialog/cancelbutton.png", "Cancel")
    button_sheet(out, "images/dialog/yesbutton.png", "Yes")
    button_sheet(out, "images/dialog/nobutton.png", "No")
    shell_art.draw(out, save, button_sheet)
    splash_art.draw(out, save)


if __name__ == "__main__":
    main()
