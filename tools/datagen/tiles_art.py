"""The tile faces and everything made from them: face sheets, dark and miniature sheets, the blank
tile, highlight and shade, the special tiles' animation strips and the magnet lines.

Each face is painted once, four times larger than it is shown, and scaled down; every sheet is
made from those same drawings."""
import math

from PIL import Image, ImageDraw, ImageFilter

import game_paint as gp

FACE_W, FACE_H = 40, 50
TILE_W, TILE_H = 48, 58
EDGE = 8
S = 4  # painting scale

IVORY = (244, 238, 220)
IVORY_HI = (252, 249, 238)
IVORY_LO = (232, 222, 196)
RIM = (196, 180, 146)
BLUE = (28, 72, 150)
GREEN = (26, 120, 62)
RED = (182, 34, 34)
INK = (24, 22, 26)
NAVY = (22, 36, 100)

NUMERALS = "一二三四五六七八九"
WINDS = "東南西北"
WIND_LETTERS = "ESWN"


def face_base(style="ivory"):
    """The face's surface: a soft top-lit ivory with a darker rim and a rounded inner edge."""
    w, h = FACE_W * S, FACE_H * S
    top, bottom = (IVORY_HI, IVORY_LO) if style == "ivory" else style
    img = gp.vgradient(w, h, [(0, top), (0.5, lerp3(top, bottom, 0.45)), (1, bottom)])
    img = img.convert("RGBA")
    d = ImageDraw.Draw(img)
    # The rim: a darker band at the edge, then a light bevel line just inside it.
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=4 * S, outline=RIM + (255,), width=S + 1)
    d.rounded_rectangle([S + 1, S + 1, w - S - 2, h - S - 2], radius=3 * S,
                        outline=(255, 253, 246, 160), width=S // 2)
    return img


def lerp3(a, b, t):
    return gp.lerp(a, b, t)


def big_ring(d, cx, cy, r, colour, centre=None):
    """A traditional dot: coloured ring, ivory gap, inner disc and a bright centre."""
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=colour)
    g = r * 0.72
    d.ellipse([cx - g, cy - g, cx + g, cy + g], fill=IVORY_HI)
    i = r * 0.52
    d.ellipse([cx - i, cy - i, cx + i, cy + i], fill=centre or colour)
    c = r * 0.2
    d.ellipse([cx - c, cy - c, cx + c, cy + c], fill=IVORY_HI)
    # A small shine on the upper left of the ring.
    d.arc([cx - r * 0.9, cy - r * 0.9, cx + r * 0.9, cy + r * 0.9], 200, 250,
          fill=(255, 255, 255), width=max(1, int(r * 0.1)))


DOT_LAYOUTS = {
    1: [(0.5, 0.5, "one")],
    2: [(0.5, 0.28, BLUE), (0.5, 0.72, GREEN)],
    3: [(0.27, 0.24, BLUE), (0.5, 0.5, RED), (0.73, 0.76, GREEN)],
    4: [(0.3, 0.3, BLUE), (0.7, 0.3, GREEN), (0.3, 0.7, GREEN), (0.7, 0.7, BLUE)],
    5: [(0.28, 0.26, BLUE), (0.72, 0.26, GREEN), (0.5, 0.5, RED), (0.28, 0.74, GREEN),
        (0.72, 0.74, BLUE)],
    6: [(0.31, 0.2, GREEN), (0.69, 0.2, GREEN), (0.31, 0.52, RED), (0.69, 0.52, RED),
        (0.31, 0.8, RED), (0.69, 0.8, RED)],
    7: [(0.25, 0.14, GREEN), (0.5, 0.25, GREEN), (0.75, 0.36, GREEN), (0.31, 0.6, RED),
        (0.69, 0.6, RED), (0.31, 0.84, RED), (0.69, 0.84, RED)],
    8: [(0.31, y, BLUE) for y in (0.15, 0.38, 0.61, 0.84)] +
       [(0.69, y, BLUE) for y in (0.15, 0.38, 0.61, 0.84)],
    9: [(x, 0.2, BLUE) for x in (0.23, 0.5, 0.77)] + [(x, 0.5, RED) for x in (0.23, 0.5, 0.77)] +
       [(x, 0.8, GREEN) for x in (0.23, 0.5, 0.77)],
}
DOT_RADIUS = {1: 0.36, 2: 0.21, 3: 0.17, 4: 0.16, 5: 0.15, 6: 0.13, 7: 0.12, 8: 0.11, 9: 0.115}


def paint_dots(img, n):
    d = ImageDraw.Draw(img)
    w, h = img.size
    ix, iy, iw, ih = 3 * S, 4 * S, w - 6 * S, h - 8 * S
    r = DOT_RADIUS[n] * iw
    for fx, fy, colour in DOT_LAYOUTS[n]:
        cx, cy = ix + fx * iw, iy + fy * ih
        if colour == "one":
            # The one of dots: a large flower-like medallion in all three colours.
            big_ring(d, cx, cy, r, GREEN, RED)
            for k in range(12):
                a = k * math.pi / 6
                px, py = cx + math.cos(a) * r * 0.86, cy + math.sin(a) * r * 0.86
                d.ellipse([px - r * 0.1, py - r * 0.1, px + r * 0.1, py + r * 0.1], fill=BLUE)
        else:
            big_ring(d, cx, cy, r, colour)


def stick(d, cx, cy, length, colour, angle=0.0, width=None):
    """One bamboo stick: a rounded stem with three nodes, drawn around its centre."""
    width = width or 5.2 * S
    dx, dy = math.sin(angle), -math.cos(angle)
    half = length / 2
    x0, y0 = cx - dx * half, cy - dy * half
    x1, y1 = cx + dx * half, cy + dy * half
    dark = tuple(max(0, c - 50) for c in colour)
    light = tuple(min(255, c + 90) for c in colour)
    d.line([x0, y0, x1, y1], fill=dark, width=int(width))
    for x, y in ((x0, y0), (x1, y1)):
        d.ellipse([x - width / 2, y - width / 2, x + width / 2, y + width / 2], fill=dark)
    d.line([x0, y0, x1, y1], fill=colour, width=int(width * 0.62))
    # A highlight along the stem and the nodes across it.
    ox, oy = -dy * width * 0.14, dx * width * 0.14
    d.line([x0 + ox, y0 + oy, x1 + ox, y1 + oy], fill=light, width=max(1, int(width * 0.16)))
    for t in (0.0, 0.5, 1.0):
        nx, ny = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        px, py = -dy * width * 0.62, dx * width * 0.62
        d.line([nx - px, ny - py, nx + px, ny + py], fill=dark, width=max(2, int(width * 0.3)))


BAMBOO_LAYOUTS = {
    2: [(0.5, 0.27, GREEN), (0.5, 0.73, BLUE)],
    3: [(0.5, 0.27, GREEN), (0.3, 0.73, BLUE), (0.7, 0.73, BLUE)],
    4: [(0.3, 0.27, GREEN), (0.7, 0.27, BLUE), (0.3, 0.73, BLUE), (0.7, 0.73, GREEN)],
    5: [(0.24, 0.27, GREEN), (0.76, 0.27, BLUE), (0.5, 0.5, RED), (0.24, 0.73, BLUE),
        (0.76, 0.73, GREEN)],
    6: [(x, 0.27, GREEN) for x in (0.22, 0.5, 0.78)] + [(x, 0.73, BLUE) for x in (0.22, 0.5, 0.78)],
    7: [(0.5, 0.17, RED)] + [(x, 0.5, GREEN) for x in (0.22, 0.5, 0.78)] +
       [(x, 0.83, BLUE) for x in (0.22, 0.5, 0.78)],
    9: [(0.22, y, GREEN) for y in (0.17, 0.5, 0.83)] + [(0.5, y, RED) for y in (0.17, 0.5, 0.83)] +
       [(0.78, y, BLUE) for y in (0.17, 0.5, 0.83)],
}


def paint_bamboo(img, n):
    d = ImageDraw.Draw(img)
    w, h = img.size
    ix, iy, iw, ih = 4 * S, 4 * S, w - 8 * S, h - 8 * S
    if n == 1:
        paint_bird(img)
        return
    if n == 8:
        # Two rows of four, the middle pairs leaning together.
        for row, colour in ((0.27, GREEN), (0.73, BLUE)):
            cy = iy + row * ih
            for k, fx in enumerate((0.12, 0.37, 0.63, 0.88)):
                angle = 0.0 if k in (0, 3) else (0.32 if k == 1 else -0.32)
                if row > 0.5:
                    angle = -angle
                stick(d, ix + fx * iw, cy, ih * 0.36, colour, angle, width=4.6 * S)
        return
    length = {2: 0.36, 3: 0.36, 4: 0.36, 5: 0.36, 6: 0.36, 7: 0.25, 9: 0.25}[n] * ih
    for fx, fy, colour in BAMBOO_LAYOUTS[n]:
        stick(d, ix + fx * iw, iy + fy * ih, length, colour)


def paint_bird(img):
    """The one of bamboo: a small sparrow on a bamboo stalk."""
    d = ImageDraw.Draw(img)
    w, h = img.size
    stick(d, w * 0.3, h * 0.55, h * 0.62, GREEN, 0.0, width=6 * S)
    # Leaves off the stalk.
    for (lx, ly, ang) in ((0.3, 0.3, -0.9), (0.3, 0.7, -2.3)):
        cx, cy = w * lx, h * ly
        ex, ey = cx + math.cos(ang) * 9 * S, cy + math.sin(ang) * 9 * S
        d.polygon([(cx, cy), ((cx + ex) / 2 + 2 * S, (cy + ey) / 2 - 2 * S), (ex, ey),
                   ((cx + ex) / 2 - 2 * S, (cy + ey) / 2 + 2 * S)], fill=(60, 140, 70))
    # The bird: body, head, wing, tail, beak and eye.
    bx, by = w * 0.6, h * 0.5
    body = [bx - 9 * S, by - 6 * S, bx + 7 * S, by + 8 * S]
    d.polygon([(bx - 7 * S, by + 4 * S), (bx - 16 * S, by + 14 * S), (bx - 12 * S, by + 15 * S),
               (bx - 3 * S, by + 7 * S)], fill=NAVY)
    d.ellipse(body, fill=(196, 82, 40))
    d.ellipse([bx - 5 * S, by - 2 * S, bx + 7 * S, by + 8 * S], fill=(236, 196, 140))
    d.ellipse([bx + 1 * S, by - 12 * S, bx + 11 * S, by - 2 * S], fill=(176, 60, 32))
    d.polygon([(bx - 8 * S, by - 2 * S), (bx + 2 * S, by + 1 * S), (bx - 6 * S, by + 7 * S)],
              fill=GREEN)
    d.polygon([(bx + 10 * S, by - 8 * S), (bx + 15 * S, by - 6 * S), (bx + 10 * S, by - 5 * S)],
              fill=(230, 170, 40))
    d.ellipse([bx + 6 * S, by - 9 * S, bx + 8.4 * S, by - 6.6 * S], fill=INK)
    d.line([bx - 1 * S, by + 8 * S, bx - 3 * S, by + 12 * S], fill=(120, 70, 30), width=S)
    d.line([bx + 3 * S, by + 8 * S, bx + 3 * S, by + 12 * S], fill=(120, 70, 30), width=S)


def glyph(img, text, cx, cy, size, colour, bold=0):
    d = ImageDraw.Draw(img)
    gp.draw_text_centered(d, cx, cy, text, gp.font(gp.FONT_CJK, int(size)), colour,
                          stroke=bold, stroke_fill=colour)


def paint_character(img, n):
    w, h = img.size
    glyph(img, NUMERALS[n - 1], w / 2, h * 0.29, 19 * S, NAVY, bold=S // 2)
    glyph(img, "萬", w / 2, h * 0.7, 22 * S, RED, bold=S // 2)


def corner_index(img, text, colour):
    d = ImageDraw.Draw(img)
    gp.draw_text_centered(d, 7 * S, 7.5 * S, text, gp.font(gp.FONT_BOLD, 7 * S), colour)


def paint_wind(img, n):
    w, h = img.size
    glyph(img, WINDS[n], w / 2, h * 0.54, 30 * S, INK, bold=S // 2)
    corner_index(img, WIND_LETTERS[n], RED)


def paint_dragon(img, n):
    w, h = img.size
    if n == 0:
        glyph(img, "中", w / 2, h * 0.52, 32 * S, RED, bold=S)
    elif n == 1:
        glyph(img, "發", w / 2, h * 0.52, 31 * S, GREEN, bold=S // 2)
    else:
        d = ImageDraw.Draw(img)
        d.rounded_rectangle([7 * S, 8 * S, w - 7 * S, h - 8 * S], radius=2 * S, outline=BLUE,
                            width=3 * S)
        d.rounded_rectangle([11 * S, 12 * S, w - 11 * S, h - 12 * S], radius=S, outline=BLUE,
                            width=S)


def petal_flower(d, cx, cy, r, petals, colour, centre, shape="round"):
    for k in range(petals):
        a = k * 2 * math.pi / petals - math.pi / 2
        px, py = cx + math.cos(a) * r * 0.62, cy + math.sin(a) * r * 0.62
        pr = r * (0.48 if shape == "round" else 0.3)
        if shape == "round":
            d.ellipse([px - pr, py - pr, px + pr, py + pr], fill=colour)
        else:
            ex, ey = cx + math.cos(a) * r * 1.1, cy + math.sin(a) * r * 1.1
            d.line([cx, cy, ex, ey], fill=colour, width=int(pr))
    d.ellipse([cx - r * 0.3, cy - r * 0.3, cx + r * 0.3, cy + r * 0.3], fill=centre)


FLOWERS = [("梅", (200, 60, 90)), ("蘭", (130, 70, 170)), ("竹", (40, 130, 70)),
           ("菊", (220, 150, 20))]
SEASONS = [("春", (60, 150, 60)), ("夏", (200, 50, 40)), ("秋", (196, 110, 30)),
           ("冬", (40, 90, 180))]


def paint_flower(img, n):
    d = ImageDraw.Draw(img)
    w, h = img.size
    name, colour = FLOWERS[n]
    cx, cy = w * 0.5, h * 0.33
    branch = (110, 74, 44)
    if n == 0:  # plum: a dark branch with round five-petal blossoms
        d.line([w * 0.12, h * 0.56, w * 0.5, h * 0.36, w * 0.88, h * 0.14], fill=branch,
               width=2 * S)
        for (fx, fy, r) in ((0.3, 0.42, 6.5), (0.62, 0.3, 7.5), (0.8, 0.14, 5)):
            petal_flower(d, w * fx, h * fy, r * S, 5, colour, (250, 220, 90))
    elif n == 1:  # orchid: long leaves and a purple bloom
        for (ex, ey) in ((0.12, 0.2), (0.88, 0.28), (0.3, 0.1)):
            d.line([w * 0.5, h * 0.58, w * ex, h * ey], fill=(50, 120, 60), width=int(1.6 * S))
        petal_flower(d, cx, cy, 9 * S, 5, colour, (250, 230, 120), "long")
    elif n == 2:  # bamboo: two stalks with leaves
        stick(d, w * 0.38, h * 0.32, h * 0.42, colour, 0.12, width=4 * S)
        stick(d, w * 0.62, h * 0.34, h * 0.38, colour, -0.1, width=3.6 * S)
        for (lx, ly, a) in ((0.45, 0.2, -0.5), (0.55, 0.26, 0.6), (0.7, 0.18, -0.3)):
            x, y = w * lx, h * ly
            d.polygon([(x, y), (x + math.cos(a) * 11 * S, y + math.sin(a) * 11 * S - 2 * S),
                       (x + math.cos(a) * 11 * S, y + math.sin(a) * 11 * S + 1 * S)],
                      fill=(70, 150, 80))
    else:  # chrysanthemum: many thin golden petals
        petal_flower(d, cx, cy, 12 * S, 16, colour, (170, 80, 20), "long")
        petal_flower(d, cx, cy, 7 * S, 10, (240, 190, 60), (170, 80, 20), "long")
    glyph(img, name, w / 2, h * 0.77, 15 * S, colour, bold=S // 3)
    corner_index(img, str(n + 1), colour)


def paint_season(img, n):
    d = ImageDraw.Draw(img)
    w, h = img.size
    name, colour = SEASONS[n]
    cx, cy = w * 0.5, h * 0.32
    if n == 0:  # spring: a blossoming twig
        d.line([w * 0.15, h * 0.5, w * 0.85, h * 0.16], fill=(110, 74, 44), width=2 * S)
        for (fx, fy) in ((0.35, 0.4), (0.6, 0.28)):
            petal_flower(d, w * fx, h * fy, 6.5 * S, 5, (240, 150, 170), (250, 220, 90))
        d.ellipse([w * 0.74, h * 0.16, w * 0.86, h * 0.24], fill=(90, 170, 80))
    elif n == 1:  # summer: a blazing sun
        for k in range(12):
            a = k * math.pi / 6
            d.line([cx + math.cos(a) * 8 * S, cy + math.sin(a) * 8 * S,
                    cx + math.cos(a) * 14 * S, cy + math.sin(a) * 14 * S],
                   fill=(236, 150, 30), width=2 * S)
        d.ellipse([cx - 8 * S, cy - 8 * S, cx + 8 * S, cy + 8 * S], fill=colour)
        d.ellipse([cx - 5 * S, cy - 5 * S, cx + 3 * S, cy + 3 * S], fill=(236, 110, 50))
    elif n == 2:  # autumn: a maple leaf
        pts = []
        for k in range(10):
            a = k * math.pi / 5 - math.pi / 2
            r = (13 if k % 2 == 0 else 6) * S
            pts.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
        d.polygon(pts, fill=colour)
        d.line([cx, cy, cx, cy + 15 * S], fill=(120, 60, 20), width=S + 1)
    else:  # winter: a snowflake
        for k in range(6):
            a = k * math.pi / 3
            ex, ey = cx + math.cos(a) * 13 * S, cy + math.sin(a) * 13 * S
            d.line([cx, cy, ex, ey], fill=colour, width=int(1.6 * S))
            for t, side in ((0.6, 1), (0.6, -1)):
                bx, by = cx + math.cos(a) * 13 * S * t, cy + math.sin(a) * 13 * S * t
                b = a + side * 0.7
                d.line([bx, by, bx + math.cos(b) * 5 * S, by + math.sin(b) * 5 * S], fill=colour,
                       width=S)
        d.ellipse([cx - 2 * S, cy - 2 * S, cx + 2 * S, cy + 2 * S], fill=colour)
    glyph(img, name, w / 2, h * 0.77, 15 * S, colour, bold=S // 3)
    corner_index(img, str(n + 1), colour)


# ---- special tiles -------------------------------------------------------------------------

def sym_yinyang(d, w, h, phase=0.0, dark=INK, light=(250, 248, 240), ring=(180, 140, 60)):
    cx, cy, r = w / 2, h / 2, 15 * S
    d.ellipse([cx - r - S, cy - r - S, cx + r + S, cy + r + S], fill=ring)
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=light)
    a0 = math.degrees(phase * 2 * math.pi)
    d.pieslice([cx - r, cy - r, cx + r, cy + r], a0 - 90, a0 + 90, fill=dark)
    ux, uy = math.sin(phase * 2 * math.pi) * r / 2, -math.cos(phase * 2 * math.pi) * r / 2
    d.ellipse([cx + ux - r / 2, cy + uy - r / 2, cx + ux + r / 2, cy + uy + r / 2], fill=dark)
    d.ellipse([cx - ux - r / 2, cy - uy - r / 2, cx - ux + r / 2, cy - uy + r / 2], fill=light)
    s = r / 7
    d.ellipse([cx + ux - s, cy + uy - s, cx + ux + s, cy + uy + s], fill=light)
    d.ellipse([cx - ux - s, cy - uy - s, cx - ux + s, cy - uy + s], fill=dark)


def sym_yinyang_gold(d, w, h, phase=0.0):
    sym_yinyang(d, w, h, phase, dark=(150, 100, 20), light=(252, 232, 160), ring=(120, 80, 20))


def sym_yinyang_jade(d, w, h, phase=0.0):
    sym_yinyang(d, w, h, phase, dark=(24, 100, 70), light=(214, 240, 222), ring=(20, 70, 50))


def sym_blank(d, w, h, phase=0.0):
    """Face 51 is a plain ivory face: the ground alone."""


def sym_hidden(d, w, h, phase=0.0):
    """The hidden face: plain ivory with a carved diamond lattice, like the back of a tile."""
    carve, light = (206, 192, 160), (255, 252, 244)
    x0, y0, x1, y1 = 5 * S, 5 * S, w - 5 * S, h - 5 * S
    step = 6 * S
    for k in range(-12, 14):
        for (ax, ay, bx, by) in ((x0 + k * step, y0, x0 + k * step + (y1 - y0), y1),
                                 (x0 + k * step, y1, x0 + k * step + (y1 - y0), y0)):
            pts = clip_line(ax, ay, bx, by, x0, y0, x1, y1)
            if pts:
                (px, py), (qx, qy) = pts
                d.line([px, py + S // 2, qx, qy + S // 2], fill=light, width=S // 2 + 1)
                d.line([px, py, qx, qy], fill=carve, width=S // 2 + 1)
    d.rounded_rectangle([x0, y0, x1, y1], radius=2 * S, outline=carve, width=S)


def clip_line(ax, ay, bx, by, x0, y0, x1, y1):
    """Clips a segment to a rectangle (Liang-Barsky); None when it misses."""
    dx, dy = bx - ax, by - ay
    t0, t1 = 0.0, 1.0
    for p, q in ((-dx, ax - x0), (dx, x1 - ax), (-dy, ay - y0), (dy, y1 - ay)):
        if p == 0:
            if q < 0:
                return None
            continue
        t = q / p
        if p < 0:
            t0 = max(t0, t)
        else:
            t1 = min(t1, t)
    if t0 > t1:
        return None
    return (ax + dx * t0, ay + dy * t0), (ax + dx * t1, ay + dy * t1)


def sym_bricks(d, w, h, phase=0.0):
    mortar = (196, 186, 170)
    d.rectangle([4 * S, 6 * S, w - 4 * S, h - 6 * S], fill=mortar)
    rows = 6
    bh = (h - 12 * S) / rows
    for r in range(rows):
        y0 = 6 * S + r * bh
        off = 0 if r % 2 == 0 else -5 * S
        x = 4 * S + off
        while x < w - 4 * S:
            x0, x1 = max(4 * S, x + S * 0.6), min(w - 4 * S, x + 10 * S - S * 0.6)
            shade = 150 + ((r * 7 + int(x)) % 3) * 16
            d.rectangle([x0, y0 + S * 0.6, x1, y0 + bh - S * 0.6], fill=(shade, 62, 40))
            d.line([x0, y0 + S * 0.8, x1, y0 + S * 0.8], fill=(210, 110, 80), width=S // 2)
            x += 10 * S


def arrow(d, cx, cy, size, colour, up=True):
    s = size
    sign = -1 if up else 1
    pts = [(cx, cy + sign * s), (cx - s * 0.8, cy + sign * s * 0.1), (cx - s * 0.35, cy + sign * s * 0.1),
           (cx - s * 0.35, cy - sign * s), (cx + s * 0.35, cy - sign * s), (cx + s * 0.35, cy + sign * s * 0.1),
           (cx + s * 0.8, cy + sign * s * 0.1)]
    dark = tuple(max(0, c - 70) for c in colour)
    d.polygon([(x + S, y + S) for x, y in pts], fill=(0, 0, 0, 60))
    d.polygon(pts, fill=colour, outline=dark)


def sym_down(d, w, h, phase=0.0):
    arrow(d, w / 2, h / 2 + math.sin(phase * math.pi) * 4 * S, 15 * S, (40, 110, 200), up=False)


def sym_up(d, w, h, phase=0.0):
    arrow(d, w / 2, h / 2 - math.sin(phase * math.pi) * 4 * S, 15 * S, (40, 150, 60), up=True)


def sym_fuse(d, w, h, phase=0.0):
    """A red firecracker with a burning wick."""
    cx, cy = w * 0.46, h * 0.58
    d.rounded_rectangle([cx - 7 * S, cy - 13 * S, cx + 7 * S, cy + 13 * S], radius=2 * S,
                        fill=(196, 30, 30), outline=(110, 10, 10), width=S)
    d.rectangle([cx - 7 * S, cy - 4 * S, cx + 7 * S, cy - 1 * S], fill=(230, 190, 60))
    d.rectangle([cx - 7 * S, cy + 6 * S, cx + 7 * S, cy + 9 * S], fill=(230, 190, 60))
    d.line([cx - 3 * S, cy - 12 * S, cx - 3 * S, cy + 12 * S], fill=(230, 80, 70), width=S)
    wick = [(cx, cy - 13 * S), (cx + 3 * S, cy - 17 * S), (cx + 7 * S, cy - 19 * S)]
    d.line(wick, fill=(80, 60, 40), width=S)
    sx, sy = cx + 8 * S, cy - 20 * S
    r = (3 + 1.5 * math.sin(phase * math.pi * 2)) * S
    for k in range(8):
        a = k * math.pi / 4 + phase * math.pi / 2
        d.line([sx, sy, sx + math.cos(a) * r * 1.6, sy + math.sin(a) * r * 1.6],
               fill=(255, 200, 60), width=max(1, S // 2))
    d.ellipse([sx - r * 0.6, sy - r * 0.6, sx + r * 0.6, sy + r * 0.6], fill=(255, 240, 160))


def sym_clone(d, w, h, phase=0.0):
    """Two overlapping small tiles with a plus: the clone."""
    col = (120, 60, 170)
    off = math.sin(phase * math.pi) * 3 * S
    for (x, y, fill) in ((8 * S, 9 * S, (226, 214, 240)), (15 * S + off, 17 * S + off, (246, 240, 252))):
        d.rounded_rectangle([x, y, x + 17 * S, y + 22 * S], radius=2 * S, fill=fill, outline=col,
                            width=S)
    px, py = 23.5 * S + off, 28 * S + off
    d.line([px - 5 * S, py, px + 5 * S, py], fill=col, width=2 * S)
    d.line([px, py - 5 * S, px, py + 5 * S], fill=col, width=2 * S)


def sym_typhoon(d, w, h, phase=0.0):
    cx, cy = w / 2, h / 2
    col = (30, 130, 170)
    pts = []
    for k in range(120):
        t = k / 119
        a = phase * 2 * math.pi + t * 4.2 * math.pi
        r = (1.5 + t * 15) * S
        pts.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
    d.line(pts, fill=col, width=int(2.4 * S), joint="curve")
    d.ellipse([cx - 2 * S, cy - 2 * S, cx + 2 * S, cy + 2 * S], fill=(20, 80, 120))


def sym_pearl(d, w, h, phase=0.0):
    cx, cy, r = w / 2, h / 2, 11 * S
    d.ellipse([cx - r - 2 * S, cy - r - 2 * S, cx + r + 2 * S, cy + r + 2 * S],
              fill=(120, 170, 200))
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(236, 232, 244))
    d.ellipse([cx - r * 0.6, cy - r * 0.7, cx - r * 0.05, cy - r * 0.15], fill=(255, 255, 255))


def sym_star(d, w, h, phase=0.0):
    cx, cy = w / 2, h / 2
    pts = []
    for k in range(10):
        a = k * math.pi / 5 - math.pi / 2 + phase * 2 * math.pi / 5
        r = (15 if k % 2 == 0 else 6.5) * S
        pts.append((cx + math.cos(a) * r, cy + math.sin(a) * r))
    d.polygon(pts, fill=(236, 186, 40), outline=(160, 110, 10))


def sym_lotus(d, w, h, phase=0.0):
    cx, cy = w / 2, h * 0.58
    pink, deep = (236, 140, 170), (200, 80, 120)
    for a, l in ((-1.1, 12), (1.1, 12), (-0.55, 15), (0.55, 15), (0, 17)):
        tx, ty = cx + math.sin(a) * l * S, cy - math.cos(a) * l * S
        nx, ny = math.cos(a) * 4.5 * S, math.sin(a) * 4.5 * S
        d.polygon([(cx - nx, cy - ny), (tx, ty), (cx + nx, cy + ny)], fill=pink, outline=deep)
    d.ellipse([cx - 14 * S, cy + 1 * S, cx + 14 * S, cy + 7 * S], fill=(60, 140, 80))


def sym_swapper(d, w, h, phase=0.0):
    """Two curved arrows chasing each other round: the swapper."""
    col, dark = (230, 120, 20), (150, 70, 10)
    cx, cy, r = w / 2, h / 2, 12 * S
    turn = phase * 360
    for start in (200, 20):
        a0, a1 = start + turn, start + 130 + turn
        d.arc([cx - r, cy - r, cx + r, cy + r], a0, a1, fill=col, width=3 * S)
        t = math.radians(a1)
        tx, ty = cx + math.cos(t) * r, cy + math.sin(t) * r
        fx, fy = -math.sin(t), math.cos(t)  # direction of travel
        nx, ny = math.cos(t), math.sin(t)
        tip = (tx + fx * 6 * S, ty + fy * 6 * S)
        d.polygon([tip, (tx + nx * 5 * S, ty + ny * 5 * S), (tx - nx * 5 * S, ty - ny * 5 * S)],
                  fill=col, outline=dark)


def sym_wand(d, w, h, phase=0.0):
    d.line([9 * S, h - 9 * S, w - 14 * S, 18 * S], fill=(60, 40, 30), width=3 * S)
    d.line([w - 18 * S, 22 * S, w - 14 * S, 18 * S], fill=(250, 250, 250), width=3 * S)
    cx, cy = w - 11 * S, 14 * S
    for k in range(8):
        a = k * math.pi / 4 + phase * math.pi / 2
        r = (8 if k % 2 == 0 else 4.5) * S
        d.line([cx, cy, cx + math.cos(a) * r, cy + math.sin(a) * r], fill=(230, 170, 30),
               width=S)
    d.ellipse([cx - 2.5 * S, cy - 2.5 * S, cx + 2.5 * S, cy + 2.5 * S], fill=(255, 230, 120))
    for (sx, sy) in ((0.3, 0.3), (0.55, 0.62)):
        x, y = w * sx, h * sy
        d.polygon([(x, y - 3 * S), (x + S, y - S), (x + 3 * S, y), (x + S, y + S), (x, y + 3 * S),
                   (x - S, y + S), (x - 3 * S, y), (x - S, y - S)], fill=(160, 90, 200))


def horseshoe(d, cx, cy, r, col, tip, width):
    d.arc([cx - r, cy - r, cx + r, cy + r], 0, 180, fill=col, width=int(width))
    d.rectangle([cx - r, cy - r * 0.9, cx - r + width, cy], fill=col)
    d.rectangle([cx + r - width, cy - r * 0.9, cx + r, cy], fill=col)
    d.rectangle([cx - r, cy - r * 1.25, cx - r + width, cy - r * 0.9], fill=tip)
    d.rectangle([cx + r - width, cy - r * 1.25, cx + r, cy - r * 0.9], fill=tip)


def sym_magnet(d, w, h, phase=0.0, deep=False):
    col = (200, 36, 36) if not deep else (90, 40, 150)
    horseshoe(d, w / 2, h * 0.55, 12 * S, col, (200, 200, 210), 6 * S)
    # Field lines arching over the poles, swelling as the magnet pulls.
    for k in range(2):
        r = (4 + k * 3 + math.sin(phase * math.pi) * 2) * S
        x, y = w / 2, h * 0.28
        d.arc([x - r * 1.6, y - r, x + r * 1.6, y + r], 200, 340, fill=(110, 120, 150),
              width=max(1, S // 2 + 1))
    if deep:
        # Deep magnet: a downward chevron under the horseshoe shows that it reaches below.
        y = h * 0.86
        d.line([w / 2 - 6 * S, y - 3 * S, w / 2, y + 1 * S, w / 2 + 6 * S, y - 3 * S], fill=col,
               width=2 * S)


def sym_deep_magnet(d, w, h, phase=0.0):
    sym_magnet(d, w, h, phase, deep=True)


SPECIALS = {
    42: sym_yinyang, 43: sym_yinyang_gold, 44: sym_hidden, 45: sym_bricks, 46: sym_down,
    47: sym_up, 48: sym_fuse, 49: sym_clone, 50: sym_typhoon, 51: sym_blank, 52: sym_star,
    53: sym_lotus, 54: sym_swapper, 55: sym_pearl, 56: sym_yinyang_jade, 57: sym_wand,
    58: sym_magnet,
    59: sym_deep_magnet,
}


# Faces 0 to 41 by group: first face, last face and the painter of the group, which gets the
# number within the group (the rank of a suit, the wind, the dragon, the flower or season).
FACE_GROUPS = [
    (0, 8, lambda img, n: paint_dots(img, n + 1)),
    (9, 17, lambda img, n: paint_bamboo(img, n + 1)),
    (18, 26, lambda img, n: paint_character(img, n + 1)),
    (27, 30, paint_wind),
    (31, 33, paint_dragon),
    (34, 37, paint_flower),
    (38, 41, paint_season),
]


def paint_face(face, phase=0.0, ground=(IVORY_HI, IVORY_LO), symbol_only=False):
    """One face at painting scale, RGBA; with symbol_only the ground is left transparent."""
    if symbol_only:
        img = Image.new("RGBA", (FACE_W * S, FACE_H * S), (0, 0, 0, 0))
    else:
        img = face_base(ground)
    for first, last, paint in FACE_GROUPS:
        if first <= face <= last:
            paint(img, face - first)
            return img
    d = ImageDraw.Draw(img)
    SPECIALS[face](d, img.width, img.height, phase)
    return img


# Grounds of the three tile sets: ivory, a pale jade ivory and a warm cream.
GROUNDS = {
    "ivory": (IVORY_HI, IVORY_LO),
    "jade": ((240, 250, 240), (210, 228, 208)),
    "cream": ((255, 246, 224), (238, 218, 182)),
}

_painted = {}


# Faces whose tiles play an animation when selected (the brick's when a fuse burns it): its
# frames are whole faces on the ivory ground and replace the face, so these faces keep the ivory
# ground in every tile set.
ANIMATED_FACES = (42, 43, 45, 46, 47, 48, 49, 50, 54, 56, 57, 58, 59)


def painted(ground):
    """The sixty faces of one ground at painting scale, painted once and reused by every sheet."""
    if ground not in _painted:
        _painted[ground] = [paint_face(f, 0.0, GROUNDS["ivory" if f in ANIMATED_FACES else ground])
                            for f in range(60)]
    return _painted[ground]


def face_cells(ground, size=(FACE_W, FACE_H)):
    return {f: img.resize(size, Image.LANCZOS).convert("RGB")
            for f, img in enumerate(painted(ground))}


def sheet(cells, cw, ch):
    img = Image.new("RGB", (cw * 6, ch * 10), IVORY)
    for f, cell in cells.items():
        img.paste(cell, ((f % 6) * cw, (f // 6) * ch))
    return img


def darker(img):
    """The selected look of a face: about 70 % brightness with a warm cast, still readable."""
    return gp.shade(img, 0.3, (40, 24, 8))


# ---- blank tiles, highlight, shade -----------------------------------------------------------

def one_tile():
    """48 x 58: the ivory face area at (8, 0), which the face sheet covers, over a body that
    shows 8 px to the left and below, on the key."""
    def painter(img, d, s):
        r = 4 * s
        face = [EDGE * s, 0, TILE_W * s - 1, FACE_H * s - 1]
        # The body: every step of the face rectangle from its own place down-left to the back.
        mask = Image.new("L", img.size, 0)
        md = ImageDraw.Draw(mask)
        for k in range(EDGE * s + 1):
            md.rounded_rectangle([face[0] - k, face[1] + k, face[2] - k, face[3] + k], radius=r,
                                 fill=255)
        # The lower half of the body's thickness is the darker base layer of a real tile.
        body = gp.vgradient(img.width, img.height, [(0, (230, 212, 170)), (1, (196, 170, 124))])
        base = gp.vgradient(img.width, img.height, [(0, (158, 124, 78)), (1, (120, 90, 54))])
        img.paste(body.convert("RGBA"), (0, 0), mask)
        lower = Image.new("L", img.size, 0)
        ld = ImageDraw.Draw(lower)
        for k in range(EDGE * s // 2, EDGE * s + 1):
            ld.rounded_rectangle([face[0] - k, face[1] + k, face[2] - k, face[3] + k], radius=r,
                                 fill=255)
        img.paste(base.convert("RGBA"), (0, 0), lower)
        # A dark outline around the whole silhouette.
        edge = mask.filter(ImageFilter.MaxFilter(3)).point(lambda a: 255 if a else 0)
        ring = Image.new("RGBA", img.size, (96, 72, 44, 255))
        outline = Image.composite(ring, Image.new("RGBA", img.size, (0, 0, 0, 0)), edge)
        outline.alpha_composite(img)
        img.paste(outline, (0, 0))
        # The face area with its rim.
        fw, fh = face[2] - face[0] + 1, face[3] - face[1] + 1
        top = gp.vgradient(fw, fh, [(0, IVORY_HI), (1, IVORY_LO)]).convert("RGBA")
        fmask = Image.new("L", (fw, fh), 0)
        ImageDraw.Draw(fmask).rounded_rectangle([0, 0, fw - 1, fh - 1], radius=r, fill=255)
        img.paste(top, (face[0], face[1]), fmask)
        d.rounded_rectangle(face, radius=r, outline=RIM + (255,), width=s + 1)
    return gp.keyed(gp.supersample((TILE_W, TILE_H), S, painter), 120)


MINI_W, MINI_H = 15, 19
MINI_FACE_Y = 2
# What a miniature tile of the jade and night sets shows: their board previews draw this one
# tile for every place, so it carries a face of the jade set (the one of dots, which reads at
# this size) rather than a bare ground, which shows as a field of blank white blocks.
MINI_LOOK_GROUND, MINI_LOOK_FACE = "jade", 0


def mini_one_tile():
    """15 x 19: the miniature tile, the body's edge in the two top rows and a face below. The
    previews of tile set 0 copy each tile's own miniature face over the face area; the other
    sets show this face as it is, made from the same drawing as the face sheets."""
    def painter(img, d, s):
        d.rounded_rectangle([0, 0, MINI_W * s - 1, MINI_H * s - 1], radius=2 * s,
                            fill=(176, 146, 100, 255))
        d.rounded_rectangle([0, MINI_FACE_Y * s, MINI_W * s - 1, MINI_H * s - 1], radius=2 * s,
                            fill=IVORY + (255,), outline=RIM + (255,), width=s)
    tile = gp.keyed(gp.supersample((MINI_W, MINI_H), S, painter), 128)
    face = face_cells(MINI_LOOK_GROUND, (MINI_W, MINI_H - MINI_FACE_Y))[MINI_LOOK_FACE]
    # Through the blank tile's own silhouette, so the rounded lower corners stay see-through.
    shape = gp.key_mask(tile).crop((0, MINI_FACE_Y, MINI_W, MINI_H))
    tile.paste(face, (0, MINI_FACE_Y), shape)
    return tile


def light(colour, edge):
    """HighLight and DarkLight: a rounded plate one pixel inside a tile's face (38 x 48), drawn by
    the game at (border + 1, 1) of the 48 x 58 tile at low alpha; a larger picture would run past
    the tile's edge, and the engine refuses such a draw."""
    w, h = FACE_W - 2, FACE_H - 2

    def painter(img, d, s):
        box = [0, 0, w * s - 1, h * s - 1]
        d.rounded_rectangle(box, radius=4 * s, fill=colour + (255,))
        d.rounded_rectangle(box, radius=4 * s, outline=edge + (255,), width=2 * s)
    return gp.keyed(gp.supersample((w, h), S, painter), 128)


def magnet_line(size, vertical):
    """A magnet's pull line: a glowing blue-white streak 4 px wide on the key."""
    w, h = size

    def painter(img, d, s):
        mid = (w if vertical else h) * s / 2
        for half, colour in ((2.4, (90, 160, 255, 255)), (1.2, (230, 246, 255, 255))):
            if vertical:
                d.rounded_rectangle([mid - half * s, 1 * s, mid + half * s, h * s - 1 * s],
                                    radius=half * s, fill=colour)
            else:
                d.rounded_rectangle([1 * s, mid - half * s, w * s - 1 * s, mid + half * s],
                                    radius=half * s, fill=colour)
    return gp.keyed_on(gp.supersample(size, S, painter), (120, 170, 230), 100)


def overlay_strip(face, frames):
    """A special tile's animation, turning or pulsing: whole faces on the ivory ground. The game
    copies each frame over the tile's face as it is, key colour and all, so a see-through pixel
    would punch a hole through the tile; the last frame is the resting face."""
    strip = Image.new("RGB", (FACE_W * frames, FACE_H), IVORY)
    for n in range(frames):
        big = paint_face(face, (n + 1) / frames)
        strip.paste(big.resize((FACE_W, FACE_H), Image.LANCZOS).convert("RGB"), (n * FACE_W, 0))
    return strip


def brick_strip(frames):
    """The brick wall cracking and crumbling to dust as a fuse burns it, down to the tile's ivory
    ground (whole faces, as the other animations)."""
    strip = Image.new("RGB", (FACE_W * frames, FACE_H), IVORY)
    for n in range(frames):
        t = n / (frames - 1)
        big = Image.new("RGBA", (FACE_W * S, FACE_H * S), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        sym_bricks(d, big.width, big.height)
        rng = __import__("random").Random(45 + n)
        # Cracks, then holes knocked out, then dust.
        for k in range(int(3 + 10 * t)):
            x, y = rng.uniform(6, 34) * S, rng.uniform(8, 42) * S
            pts = [(x, y)]
            for _ in range(3):
                x += rng.uniform(-5, 5) * S
                y += rng.uniform(-5, 5) * S
                pts.append((x, y))
            d.line(pts, fill=(60, 30, 20, 255), width=S)
        if t > 0.35:
            holes = Image.new("L", big.size, 0)
            hd = ImageDraw.Draw(holes)
            for k in range(int(30 * (t - 0.3))):
                x, y = rng.uniform(0, 40) * S, rng.uniform(0, 50) * S
                r = rng.uniform(3, 3 + 8 * t) * S
                hd.ellipse([x - r, y - r, x + r, y + r], fill=255)
            big.putalpha(Image.composite(Image.new("L", big.size, 0), big.getchannel("A"), holes))
            for k in range(int(40 * t)):
                x, y = rng.uniform(4, 36) * S, rng.uniform(6, 46) * S
                r = rng.uniform(0.6, 1.6) * S
                d.ellipse([x - r, y - r, x + r, y + r], fill=(170, 140, 110, 255))
        face = face_base()
        face.alpha_composite(big)
        strip.paste(face.resize((FACE_W, FACE_H), Image.LANCZOS).convert("RGB"), (n * FACE_W, 0))
    return strip


def firecracker(frames):
    """The fuse's explosion: spark, flash, a red and yellow burst, then a smoke puff fading."""
    strip = Image.new("RGB", (FACE_W * frames, FACE_H), gp.KEY)
    for n in range(frames):
        def painter(img, d, s, n=n):
            cx, cy = FACE_W * s / 2, FACE_H * s / 2
            if n <= 4:
                r = (3 + 4.5 * n) * s
                d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(214, 40, 24, 255))
                d.ellipse([cx - r * 0.7, cy - r * 0.7, cx + r * 0.7, cy + r * 0.7],
                          fill=(255, 170, 40, 255))
                d.ellipse([cx - r * 0.4, cy - r * 0.4, cx + r * 0.4, cy + r * 0.4],
                          fill=(255, 246, 190, 255))
                for k in range(10):
                    a = k * math.pi / 5 + n * 0.4
                    d.line([cx + math.cos(a) * r * 0.9, cy + math.sin(a) * r * 0.9,
                            cx + math.cos(a) * (r * 1.1 + 5 * s), cy + math.sin(a) * (r * 1.1 + 5 * s)],
                           fill=(255, 220, 80, 255), width=2 * s)
            else:
                fade = (n - 4) / (frames - 4)
                grey = int(120 + 90 * fade)
                for k, (ox, oy, rr) in enumerate(((-6, 2, 9), (5, 0, 10), (0, -7, 9), (0, 6, 8))):
                    r = rr * s * (1.0 - 0.45 * fade)
                    d.ellipse([cx + ox * s - r, cy + oy * s - r, cx + ox * s + r, cy + oy * s + r],
                              fill=(grey, grey, grey, 255))
        cell = gp.keyed_on(gp.supersample((FACE_W, FACE_H), S, painter), (160, 120, 90), 110)
        cell.putpixel((0, 0), gp.KEY)
        strip.paste(cell, (n * FACE_W, 0))
    return strip


def whole_tile(face):
    """A finished tile as the game composes it, the face at (8, 0) over the blank tile; RGBA."""
    tile = one_tile()
    tile.paste(painted("ivory")[face].resize((FACE_W, FACE_H), Image.LANCZOS).convert("RGB"),
               (EDGE, 0))
    return gp.unkeyed(tile)


def icon():
    """The window icon: one ivory tile with a red 中, scaled down and flattened onto the key."""
    small = whole_tile(31).resize((26, 32), Image.LANCZOS)
    out = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    out.paste(small, (3, 0))
    return gp.keyed_on(out, (120, 100, 70), 128)


OVERLAYS = [
    ("yinyang", 42), ("yinyang_gold", 43), ("yinyang_jade", 56), ("down", 46), ("up", 47),
    ("fuse", 48), ("clone", 49), ("typhoon", 50), ("swapper", 54), ("magic", 57),
    ("magnet", 58), ("deepmagnet", 59),
]


def write_all(out):
    ivory = face_cells("ivory")
    standard = sheet(ivory, FACE_W, FACE_H)
    gp.save_jpg(standard, out, "images/mj_standard_tile.jpg", quality=95)
    gp.save_jpg(sheet(face_cells("jade"), FACE_W, FACE_H), out, "images/mj_jade_tile.jpg", 95)
    gp.save_jpg(sheet(face_cells("cream"), FACE_W, FACE_H), out, "images/mj_night_tile.jpg", 95)
    dark = darker(standard)
    gp.save_jpg(dark, out, "images/MjClassicTiles_V2_Darker.jpg", quality=95)
    gp.save_jpg(dark, out, "images/mj_standard_tile_dark.jpg", quality=95)
    minis = sheet(face_cells("ivory", (15, 17)), 15, 17)
    gp.save_png(minis, out, "images/MiniClassic.png")
    gp.save_png(minis, out, "images/MiniStandardTiles.png")
    gp.save_png(mini_one_tile(), out, "images/MiniOneTile.png")
    gp.save_png(one_tile(), out, "images/mj_one_tile.png")
    gp.save_png(light((255, 214, 90), (255, 244, 190)), out, "images/HighLight.png")
    gp.save_png(light((16, 14, 30), (40, 36, 60)), out, "images/DarkLight.png")
    gp.save_gif(magnet_line((8, 58), True), out, "images/mj_v_line.gif")
    gp.save_gif(magnet_line((48, 8), False), out, "images/mj_h_line.gif")
    for name, face in OVERLAYS:
        gp.save_png(overlay_strip(face, 8), out, "images/special/%s.png" % name)
    gp.save_png(brick_strip(6), out, "images/special/brick.png")
    gp.save_png(firecracker(8), out, "images/special/firecracker2.png")
    gp.save_gif(icon(), out, "images/mahjong.gif")
