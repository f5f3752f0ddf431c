#!/usr/bin/python3
"""Lays generated pictures out on one sheet for looking at them together.

Usage: contact_sheet.py OUTPUT.png WIDTH ZOOM PICTURE...
Each picture is drawn ZOOM times larger (nearest neighbour, so pixels stay visible; a ZOOM
below 1 shrinks large pictures smoothly) with its
file name under it; the key colour is shown as a grey checkerboard so transparent parts read.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

KEY = (255, 0, 255)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def checker(size, step=6):
    img = Image.new("RGB", size, (90, 90, 96))
    d = ImageDraw.Draw(img)
    for y in range(0, size[1], step):
        for x in range((y // step) % 2 * step, size[0], step * 2):
            d.rectangle([x, y, x + step - 1, y + step - 1], fill=(120, 120, 128))
    return img


def tile(path, zoom):
    src = Image.open(path)
    if src.mode == "RGBA":
        # Pictures with their own alpha are shown over the checkerboard.
        flat = checker(src.size)
        flat.paste(src, (0, 0), src)
        src = flat
    img = src.convert("RGB")
    mask = Image.eval(img, lambda v: v)
    keymask = Image.new("L", img.size, 0)
    px, kp = mask.load(), keymask.load()
    for y in range(img.height):
        for x in range(img.width):
            if px[x, y] == KEY:
                kp[x, y] = 255
    size = (max(1, int(img.width * zoom)), max(1, int(img.height * zoom)))
    big = img.resize(size, Image.NEAREST if zoom >= 1 else Image.LANCZOS)
    bg = checker(size)
    big.paste(bg, (0, 0), keymask.resize(size, Image.NEAREST).point(lambda a: 255 if a > 127 else 0))
    return big


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    out, width, zoom = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    font = ImageFont.truetype(FONT, 12)
    items = [(os.path.basename(p), tile(p, zoom)) for p in sys.argv[4:]]
    x = y = rowh = 0
    places = []
    for name, img in items:
        w, h = img.width, img.height + 16
        if x and x + w > width:
            x, y, rowh = 0, y + rowh + 8, 0
        places.append((x, y))
        x += w + 8
        rowh = max(rowh, h)
    sheet = Image.new("RGB", (width, y + rowh + 8), (40, 40, 44))
    d = ImageDraw.Draw(sheet)
    for (name, img), (px, py) in zip(items, places):
        sheet.paste(img, (px, py))
        d.text((px, py + img.height + 2), name, font=font, fill=(230, 230, 230))
    sheet.save(out)


if __name__ == "__main__":
    main()
