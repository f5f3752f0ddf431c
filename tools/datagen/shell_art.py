"""The shell's pictures: the main menu's night landscape, its buttons and animations, and the
three cursors. Imported by gen_images.py, which passes its own save and button_sheet.

Transparent parts are the colour key (255, 0, 255). Shapes are drawn four times larger on an
alpha channel, scaled down and then cut at half alpha, so edges are smooth inside and never
blend into the key.
"""
import math
import random

from PIL import Image, ImageDraw, ImageFilter, ImageFont

KEY = (255, 0, 255)
FONT_SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
SS = 4  # supersampling of the keyed sprites

GOLD = (222, 180, 84)
GOLD_LIGHT = (252, 226, 150)
GOLD_DARK = (140, 100, 36)
LACQUER = (170, 28, 26)
LACQUER_DARK = (92, 12, 12)
INK = (18, 14, 28)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def keyed(rgba):
    """RGBA (already at final size) onto the key: opaque where alpha >= 128, key elsewhere."""
    out = Image.new("RGB", rgba.size, KEY)
    solid = rgba.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    out.paste(rgba.convert("RGB"), (0, 0), solid)
    return out


def shrink(img, size):
    return img.resize(size, Image.LANCZOS)


# ---------------------------------------------------------------------------------------------
# The menu's background.

def sky(w, h):
    img = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(img)
    stops = [(0.0, (6, 10, 34)), (0.45, (18, 30, 78)), (0.62, (46, 48, 104)), (1.0, (40, 36, 80))]
    for y in range(h):
        t = y / (h - 1)
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t0 <= t <= t1:
                draw.line([(0, y), (w - 1, y)], fill=lerp(c0, c1, (t - t0) / (t1 - t0)))
                break
    return img


def add_stars(img, horizon, rng):
    px = img.load()
    w = img.size[0]
    for _ in range(260):
        x, y = rng.randrange(w), rng.randrange(int(horizon * 0.85))
        b = rng.randint(120, 255)
        base = px[x, y]
        px[x, y] = lerp(base, (b, b, min(255, b + 20)), 0.8)
        if b > 235 and 0 < x < w - 1 and y > 0:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                px[x + dx, y + dy] = lerp(px[x + dx, y + dy], (b, b, b), 0.35)


def add_moon(img, cx, cy, r):
    glow = Image.new("L", img.size, 0)
    gd = ImageDraw.Draw(glow)
    gd.ellipse([cx - r * 3, cy - r * 3, cx + r * 3, cy + r * 3], fill=70)
    glow = glow.filter(ImageFilter.GaussianBlur(r * 1.2))
    img.paste(Image.new("RGB", img.size, (200, 196, 160)), (0, 0), glow)
    big = Image.new("RGBA", (r * 2 * SS, r * 2 * SS), (0, 0, 0, 0))
    bd = ImageDraw.Draw(big)
    bd.ellipse([0, 0, r * 2 * SS - 1, r * 2 * SS - 1], fill=(250, 244, 214, 255))
    # Soft maria on the face.
    for ox, oy, rr in ((0.30, 0.35, 0.16), (0.58, 0.55, 0.12), (0.45, 0.70, 0.09)):
        x0, y0 = ox * r * 2 * SS, oy * r * 2 * SS
        bd.ellipse([x0 - rr * r * 2 * SS, y0 - rr * r * 2 * SS, x0 + rr * r * 2 * SS,
                    y0 + rr * r * 2 * SS], fill=(226, 218, 186, 255))
    disc = shrink(big.filter(ImageFilter.GaussianBlur(SS * 1.5)), (r * 2, r * 2))
    img.paste(disc, (cx - r, cy - r), disc)


def ridge(w, base, amplitude, rng, roughness):
    """Heights of a mountain ridge across the width: a few peaks plus fine jags."""
    peaks = [(rng.uniform(0, w), rng.uniform(0.4, 1.0), rng.uniform(80, 220)) for _ in range(5)]
    phases = [rng.uniform(0, 6.28) for _ in range(3)]
    heights = []
    for x in range(w):
        h = 0.0
        for px_, height, width in peaks:
            h = max(h, height * max(0.0, 1 - abs(x - px_) / width))
        h += roughness * (math.sin(x / 13 + phases[0]) * 0.5 + math.sin(x / 5.3 + phases[1]) * 0.3
                          + math.sin(x / 2.1 + phases[2]) * 0.2)
        heights.append(base - amplitude * h)
    return heights


def mountains(img, horizon, rng):
    draw = ImageDraw.Draw(img)
    w = img.size[0]
    layers = [
        (horizon - 40, 170, (52, 58, 112), 0.04),
        (horizon - 10, 130, (34, 38, 82), 0.05),
        (horizon + 4, 90, (16, 18, 44), 0.06),
    ]
    for base, amplitude, colour, rough in layers:
        heights = ridge(w, base, amplitude, rng, rough)
        for x, top in enumerate(heights):
            # A little mist at the foot of each range.
            for y in range(int(top), horizon + 1):
                t = max(0.0, (y - (horizon - 60)) / 60.0)
                draw.point((x, y), fill=lerp(colour, (70, 74, 124), min(0.5, t * 0.5)))


def lake(img, horizon, rng):
    w, h = img.size
    above = img.crop((0, horizon - (h - horizon), w, horizon)).transpose(Image.FLIP_TOP_BOTTOM)
    px_src = above.load()
    px = img.load()
    for y in range(horizon, h):
        d = y - horizon
        t = d / (h - horizon)
        for x in range(w):
            # Ripples: each row of the reflection is shifted a little.
            sx = int(x + 3 * math.sin(d * 0.9 + x * 0.015) * (0.3 + t))
            sx = min(w - 1, max(0, sx))
            r, g, b = px_src[sx, d]
            dark = 0.55 - 0.25 * t
            px[x, y] = (int(r * dark + 6 * t), int(g * dark + 10 * t), int(b * dark + 26 * t))
    draw = ImageDraw.Draw(img)
    # Moonlight glitter on the water below the moon.
    for _ in range(140):
        y = rng.randint(horizon + 4, h - 10)
        spread = 20 + (y - horizon) * 0.5
        x = int(620 + rng.gauss(0, spread / 2))
        ln = rng.randint(3, 14)
        c = rng.randint(150, 230)
        draw.line([(x, y), (x + ln, y)], fill=(c, c, int(c * 0.85)))
    draw.line([(0, horizon), (w, horizon)], fill=(80, 84, 140))


def pines(img, horizon, rng):
    """A dark shore with pines at the lower left, framing the menu."""
    draw = ImageDraw.Draw(img)
    # A bank curving down to the bottom edge, gently uneven.
    shore = []
    for x in range(0, 292, 4):
        t = x / 290
        shore.append((x, horizon + 34 + int((600 - horizon - 34) * t ** 2.2)
                      + int(4 * math.sin(x / 9))))
    shore += [(290, 600), (0, 600)]
    draw.polygon(shore, fill=(8, 10, 20))
    for x, height in ((30, 190), (78, 150), (120, 120), (170, 90), (210, 70)):
        base = horizon + 40
        for i in range(7):
            t = i / 7
            half = int((1 - t) * height * 0.28) + 4
            y = base - int(t * height)
            draw.polygon([(x - half, y), (x + half, y), (x, y - int(height * 0.25))],
                         fill=(6, 10, 16))
        draw.rectangle([x - 2, base - 10, x + 2, base + 20], fill=(6, 8, 12))


def grain(img, rng, amount):
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            d = rng.randint(-amount, amount)
            r, g, b = px[x, y]
            px[x, y] = (min(255, max(0, r + d)), min(255, max(0, g + d)), min(255, max(0, b + d)))


def title(img, text, y):
    w = img.size[0]
    font = ImageFont.truetype(FONT_SERIF_BOLD, 64)
    big = Image.new("RGBA", img.size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    box = draw.textbbox((0, 0), text, font=font)
    x = (w - (box[2] - box[0])) // 2 - box[0]
    # Soft dark halo, then a gold face with a vertical sheen.
    halo = Image.new("L", img.size, 0)
    ImageDraw.Draw(halo).text((x, y), text, font=font, fill=200)
    halo = halo.filter(ImageFilter.GaussianBlur(6))
    img.paste(Image.new("RGB", img.size, (4, 4, 12)), (0, 0), halo)
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).text((x, y), text, font=font, fill=255)
    sheen = Image.new("RGB", img.size)
    sd = ImageDraw.Draw(sheen)
    top, bottom = y + box[1], y + box[3]
    for yy in range(top, bottom + 1):
        t = (yy - top) / max(1, bottom - top)
        c = lerp(GOLD_LIGHT, GOLD, t * 2) if t < 0.5 else lerp(GOLD, GOLD_DARK, (t - 0.5) * 2)
        sd.line([(0, yy), (w, yy)], fill=c)
    shadow = Image.new("L", img.size, 0)
    ImageDraw.Draw(shadow).text((x + 3, y + 3), text, font=font, fill=255)
    img.paste((40, 20, 6), (0, 0), shadow)
    img.paste(sheen, (0, 0), mask)
    # A thin gold rule with a diamond under the title.
    draw = ImageDraw.Draw(img)
    cy = y + box[3] + 14
    draw.line([(w // 2 - 170, cy), (w // 2 - 12, cy)], fill=GOLD, width=2)
    draw.line([(w // 2 + 12, cy), (w // 2 + 170, cy)], fill=GOLD, width=2)
    draw.polygon([(w // 2, cy - 6), (w // 2 + 7, cy), (w // 2, cy + 6), (w // 2 - 7, cy)],
                 fill=GOLD_LIGHT)


def menu_background(out, save):
    rng = random.Random(1201)
    w, h, horizon = 800, 600, 392
    img = sky(w, h)
    add_stars(img, horizon, rng)
    add_moon(img, 620, 120, 38)
    mountains(img, horizon, rng)
    lake(img, horizon, rng)
    pines(img, horizon, rng)
    grain(img, rng, 3)
    title(img, "Mahjong", 22)
    save(img, out, "images/menu/menu_bg.png")


# ---------------------------------------------------------------------------------------------
# Animations.

def lantern_frame(angle):
    w, h = 64 * SS, 96 * SS
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    body_w, body_h = 40 * SS, 46 * SS
    cx, top = w // 2, 26 * SS
    # Warm glow around the paper, kept opaque so it survives the cut at half alpha.
    d.ellipse([cx - body_w // 2 - 3 * SS, top - 2 * SS, cx + body_w // 2 + 3 * SS,
               top + body_h + 2 * SS], fill=(120, 36, 18, 255))
    d.ellipse([cx - body_w // 2, top, cx + body_w // 2, top + body_h], fill=(214, 52, 34, 255))
    d.ellipse([cx - body_w // 3, top + 6 * SS, cx + body_w // 3, top + body_h - 6 * SS],
              fill=(246, 120, 60, 255))
    d.ellipse([cx - body_w // 6, top + 14 * SS, cx + body_w // 6, top + body_h - 14 * SS],
              fill=(255, 214, 120, 255))
    # Ribs of the paper.
    for k in (-2, -1, 0, 1, 2):
        rx = abs(k) * body_w // 5
        d.arc([cx - rx, top, cx + rx, top + body_h], 0, 360, fill=(150, 30, 22, 255), width=SS)
    # Gold caps, the hook and the tassel.
    d.rectangle([cx - 12 * SS, top - 4 * SS, cx + 12 * SS, top + 2 * SS], fill=GOLD + (255,))
    d.rectangle([cx - 12 * SS, top + body_h - 2 * SS, cx + 12 * SS, top + body_h + 4 * SS],
                fill=GOLD + (255,))
    d.line([(cx, 0), (cx, top - 4 * SS)], fill=(40, 30, 24, 255), width=2 * SS)
    d.rectangle([cx - 2 * SS, top + body_h + 4 * SS, cx + 2 * SS, top + body_h + 8 * SS],
                fill=GOLD_DARK + (255,))
    for k in range(-2, 3):
        d.line([(cx + k * SS, top + body_h + 8 * SS), (cx + k * 2 * SS, h - 3 * SS)],
               fill=(200, 40, 30, 255), width=SS + 1)
    img = img.rotate(angle, resample=Image.BICUBIC, center=(cx, 0))
    return keyed(shrink(img, (64, 96)))


def koi_frame(i, n):
    w, h = 96 * SS, 48 * SS
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    cx, cy = w // 2, h // 2
    # Ripples: three rings spreading out in turn.
    for ring in range(3):
        t = ((i / n) + ring / 3) % 1.0
        rx, ry = (10 + 34 * t) * SS, (4 + 15 * t) * SS
        shade = int(200 - 130 * t)
        d.ellipse([cx - rx, cy - ry, cx + rx, cy + ry], outline=(shade, shade, min(255, shade + 30),
                  255), width=max(SS, int(2 * SS * (1 - t)) + SS))
    # The koi circles under the surface: a body of overlapping discs along its path.
    a = 2 * math.pi * i / n
    for k in range(9):
        back = a - k * 0.16
        x = cx + math.cos(back) * 22 * SS
        y = cy + math.sin(back) * 9 * SS
        r = (6.5 - k * 0.55) * SS
        colour = (240, 110, 30, 255) if k not in (2, 5) else (250, 244, 236, 255)
        d.ellipse([x - r, y - r * 0.7, x + r, y + r * 0.7], fill=colour)
    # Tail fin and eye.
    tail = a - 9 * 0.16
    tx, ty = cx + math.cos(tail) * 22 * SS, cy + math.sin(tail) * 9 * SS
    d.polygon([(tx, ty), (tx - 5 * SS, ty - 4 * SS), (tx - 5 * SS, ty + 4 * SS)],
              fill=(250, 150, 60, 255))
    hx, hy = cx + math.cos(a) * 22 * SS, cy + math.sin(a) * 9 * SS
    d.ellipse([hx - SS, hy - SS, hx + SS, hy + SS], fill=(20, 10, 10, 255))
    return keyed(shrink(img, (96, 48)))


def strip(frames):
    w, h = frames[0].size
    sheet = Image.new("RGB", (w * len(frames), h), KEY)
    for i, f in enumerate(frames):
        sheet.paste(f, (i * w, 0))
    return sheet


def animations(out, save):
    save(strip([lantern_frame(7 * math.sin(2 * math.pi * i / 6)) for i in range(6)]), out,
         "images/menu/anim_lantern.png")
    save(strip([koi_frame(i, 8) for i in range(8)]), out, "images/menu/anim_koi.png")


# ---------------------------------------------------------------------------------------------
# Cursors: light with a dark outline, 32 x 32.

def outlined(shape_points, fill):
    """A polygon drawn outline first (dark), then inset (light), at SS scale."""
    img = Image.new("RGBA", (32 * SS, 32 * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    pts = [(x * SS, y * SS) for x, y in shape_points]
    d.polygon(pts, fill=INK + (255,))
    d.line(pts + [pts[0]], fill=INK + (255,), width=int(2.2 * SS), joint="curve")
    inner = img.getchannel("A").filter(ImageFilter.MinFilter(2 * SS + 1))
    face = Image.new("RGBA", img.size, fill + (255,))
    img.paste(face, (0, 0), inner)
    return img


def arrow_cursor():
    pts = [(1, 1), (1, 23), (6.5, 18), (10.5, 27), (14.5, 25.5), (10.5, 16.5), (18, 16.5)]
    img = outlined(pts, (252, 248, 236))
    return keyed(shrink(img, (32, 32)))


def hand_cursor():
    img = Image.new("RGBA", (32 * SS, 32 * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)

    def shape(grow, colour):
        g = grow * SS
        def rr(x0, y0, x1, y1, r):
            d.rounded_rectangle([x0 * SS - g, y0 * SS - g, x1 * SS + g, y1 * SS + g],
                                radius=r * SS + g, fill=colour)
        rr(10, 1, 15, 20, 2.5)   # pointing finger, tip at (12, 1)
        rr(15, 11, 19, 20, 2)    # three folded fingers
        rr(19, 12, 23, 21, 2)
        rr(23, 13, 27, 22, 2)
        rr(5, 15, 11, 21, 2.5)   # thumb
        rr(9, 17, 27, 30, 4)     # palm
    shape(1.2, INK + (255,))
    shape(0, (252, 248, 236, 255))
    # Creases between the fingers.
    for x in (15, 19, 23):
        d.line([(x * SS, 12 * SS), (x * SS, 19 * SS)], fill=(150, 140, 126, 255), width=SS)
    return keyed(shrink(img, (32, 32)))


def wait_frame(i, n):
    """A bamboo wheel: a ring of bamboo with eight spokes, one of them lit, turning."""
    img = Image.new("RGBA", (32 * SS, 32 * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    c = 16 * SS
    d.ellipse([c - 15 * SS, c - 15 * SS, c + 15 * SS, c + 15 * SS], fill=INK + (255,))
    d.ellipse([c - 13 * SS, c - 13 * SS, c + 13 * SS, c + 13 * SS], fill=(120, 170, 70, 255))
    d.ellipse([c - 10 * SS, c - 10 * SS, c + 10 * SS, c + 10 * SS], fill=INK + (255,))
    base = 2 * math.pi * i / n
    for k in range(8):
        a = base + k * math.pi / 4
        x, y = c + math.cos(a) * 13.5 * SS, c + math.sin(a) * 13.5 * SS
        # Nodes of the bamboo ring.
        d.ellipse([x - 1.6 * SS, y - 1.6 * SS, x + 1.6 * SS, y + 1.6 * SS], fill=(60, 96, 34, 255))
        ex, ey = c + math.cos(a) * 9 * SS, c + math.sin(a) * 9 * SS
        lit = k == 0
        d.line([(c, c), (ex, ey)], fill=(250, 226, 140, 255) if lit else (200, 220, 160, 255),
               width=int((3 if lit else 2) * SS))
    d.ellipse([c - 3.5 * SS, c - 3.5 * SS, c + 3.5 * SS, c + 3.5 * SS], fill=GOLD + (255,))
    d.ellipse([c - 1.5 * SS, c - 1.5 * SS, c + 1.5 * SS, c + 1.5 * SS], fill=INK + (255,))
    return keyed(shrink(img, (32, 32)))


def cursors(out, save):
    save(arrow_cursor(), out, "images/cursors/arrow.png")
    save(hand_cursor(), out, "images/cursors/hand.png")
    save(strip([wait_frame(i, 8) for i in range(8)]), out, "images/cursors/wait.png")


# ---------------------------------------------------------------------------------------------

START_BUTTONS = (("puzzles", "Puzzles"), ("classic", "Classic"), ("quest", "Quest"))
MENU_BUTTONS = (("player", "Player"), ("options", "Options"), ("rules", "Rules"),
                ("quit", "Quit"), ("update", "Update!"))


def draw(out, save, button_sheet):
    menu_background(out, save)
    for name, label in START_BUTTONS:
        button_sheet(out, "images/menu/start_%s.png" % name, label, 220, 56, 22)
    for name, label in MENU_BUTTONS:
        button_sheet(out, "images/menu/btn_%s.png" % name, label, 150, 40, 17)
    animations(out, save)
    cursors(out, save)
