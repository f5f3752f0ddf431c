#!/usr/bin/python3
"""Draws board layout files from above, side by side, each under its title: every tile a block,
the higher the layer the lighter and the more raised, power tiles and the Yin-Yang pair marked in
colour, so that the shapes of a set can be compared at a glance.

Usage: layout_sheet.py OUTPUT.png LAYOUT.cfg...
"""
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
HALF_W, HALF_H, RAISE = 10, 12, 3
CELL_W, CELL_H = 42 * HALF_W + 40, 22 * HALF_H + 50
COLUMNS = 5
LEVELS = [(70, 88, 120), (96, 128, 160), (130, 166, 190), (170, 200, 210), (205, 225, 228),
          (232, 240, 236), (250, 250, 245)]
MARKS = {42: (230, 60, 60), 45: (120, 80, 60)}
POWER = (240, 190, 40)


def read(path):
    title, tiles, value = path, [], None
    for line in open(path):
        line = line.strip()
        if line.startswith("L="):
            title = line[2:]
        elif line.startswith("v="):
            value = int(line[2:])
        elif line.startswith("p=") and value is not None:
            i, j = (int(x) for x in line[2:].split(","))
            level, code = value % 100, value // 100 - 1
            tiles.append((i, j, level, code))
    return title, tiles


def draw_board(draw, x0, y0, tiles):
    for (i, j, level, code) in sorted(tiles, key=lambda t: (t[2], t[1], -t[0])):
        x = x0 + 20 + i * HALF_W + (level - 1) * RAISE
        y = y0 + 30 + j * HALF_H - (level - 1) * RAISE
        fill = LEVELS[min(level - 1, len(LEVELS) - 1)]
        if code in MARKS:
            fill = MARKS[code]
        elif code >= 42 and code != 52:
            fill = POWER
        draw.rectangle([x, y, x + 2 * HALF_W - 2, y + 2 * HALF_H - 2], fill=fill, outline=(20, 24, 30))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    output, paths = sys.argv[1], sys.argv[2:]
    font = ImageFont.truetype(FONT, 14)
    rows = (len(paths) + COLUMNS - 1) // COLUMNS
    sheet = Image.new("RGB", (COLUMNS * CELL_W, rows * CELL_H), (40, 44, 52))
    draw = ImageDraw.Draw(sheet)
    for n, path in enumerate(paths):
        title, tiles = read(path)
        x0, y0 = (n % COLUMNS) * CELL_W, (n // COLUMNS) * CELL_H
        draw.text((x0 + 12, y0 + 6), "%s (%d tiles)" % (title, len(tiles)), font=font, fill=(240, 240, 240))
        draw_board(draw, x0, y0, tiles)
    sheet.save(output)


if __name__ == "__main__":
    main()
