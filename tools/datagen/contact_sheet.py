#!/usr/bin/python3
"""Lays pictures of a data folder side by side, each under its name, on a neutral grey, so that
they can be looked at in one go. Small pictures are enlarged (nearest neighbour) to be seen.

Usage: contact_sheet.py DATA_DIR OUTPUT.png PICTURE...   (pictures relative to DATA_DIR)
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
WIDTH = 1400
GAP = 16


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    data, output, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    font = ImageFont.truetype(FONT, 13)
    cells = []
    for name in names:
        img = Image.open(os.path.join(data, name)).convert("RGB")
        scale = max(1, min(4, 160 // max(1, img.size[1])))
        if img.size[0] * scale > WIDTH - 2 * GAP:
            scale = 1
        cells.append((name, img.resize((img.size[0] * scale, img.size[1] * scale), Image.NEAREST)))
    # Rows filled left to right.
    rows, row, x = [], [], GAP
    for name, img in cells:
        if row and x + img.size[0] > WIDTH - GAP:
            rows.append(row)
            row, x = [], GAP
        row.append((name, img))
        x += img.size[0] + GAP
    rows.append(row)
    height = GAP + sum(max(i.size[1] for _, i in r) + 20 + GAP for r in rows)
    sheet = Image.new("RGB", (WIDTH, height), (96, 96, 100))
    draw = ImageDraw.Draw(sheet)
    y = GAP
    for r in rows:
        x = GAP
        for name, img in r:
            sheet.paste(img, (x, y + 18))
            draw.text((x, y), name, font=font, fill=(240, 240, 240))
            x += img.size[0] + GAP
        y += max(i.size[1] for _, i in r) + 20 + GAP
    sheet.save(output)


if __name__ == "__main__":
    main()
