"""The splash's pictures: a dusk landscape, the title seal and three tiles.

Imported by gen_images.py, which passes its own save function. Deterministic: every random
choice comes from a seeded generator.

The seal and the tiles keep their own alpha channel (the animation loads them in the per-pixel
form), so that their edges stay soft while they turn and grow. Shapes are drawn four times
larger and scaled down.
"""
import math
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

# The menu's gold, so that the splash and the menu share one palette.
from shell_art import FONT_SERIF_BOLD, GOLD, GOLD_DARK, GOLD_LIGHT, SS, lerp

CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

W, H = 800, 600
HORIZON = 395

SEAL_RED = (186, 32, 30)
SEAL_DARK = (104, 12, 14)
IVORY = (244, 238, 220)
IVORY_SHADE = (222, 212, 188)
EDGE_LIGHT = (214, 196, 150)
EDGE_DARK = (150, 128, 86)


def gradient(stops, w, h):
    """Vertical gradient through (position 0..1, colour) stops."""
    img = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(img)
    for y in range(h):
        t = y / (h - 1)
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t0 <= t <= t1:
                draw.line([(0, y), (w - 1, y)], fill=lerp(c0, c1, (t - t0) / (t1 - t0)))
                break
    return img


def glow(img, centre, radius, colour, strength):
    """Adds a soft round light."""
    layer = Image.new("L", img.size, 0)
    ImageDraw.Draw(layer).ellipse(
        [centre[0] - radius, centre[1] - radius, centre[0] + radius, centre[1] + radius],
        fill=strength)
    layer = layer.filter(ImageFilter.GaussianBlur(radius * 0.8))
    img.paste(Image.new("RGB", img.size, colour), (0, 0), layer)


def ridge(rng, base, amplitude, roughness):
    """Heights across the screen: a few long waves plus finer ones."""
    waves = [(rng.uniform(0.5, 1.6), rng.uniform(0, math.tau), 1.0),
             (rng.uniform(2.0, 3.5), rng.uniform(0, math.tau), 0.45),
             (rng.uniform(5.0, 9.0), rng.uniform(0, math.tau), 0.18 * roughness),
             (rng.uniform(14.0, 22.0), rng.uniform(0, math.tau), 0.06 * roughness)]
    heights = []
    for x in range(W):
        u = x / W * math.tau
        v = sum(a * math.sin(f * u + p) for f, p, a in waves)
        heights.append(int(base - amplitude * v))
    return heights


def hill_layer(img, heights, top, bottom, haze):
    """Fills below the ridge with a gradient from its crest down, then softens it by haze."""
    mask = Image.new("L", (W, H), 0)
    draw = ImageDraw.Draw(mask)
    draw.polygon([(0, H)] + [(x, h) for x, h in enumerate(heights)] + [(W - 1, H)], fill=255)
    mask = mask.filter(ImageFilter.GaussianBlur(0.8 + haze))
    crest = min(heights)
    fill = Image.new("RGB", (W, H), top)
    fill.paste(gradient([(0, top), (1, bottom)], W, H - crest), (0, crest))
    img.paste(fill, (0, 0), mask)


def mist(img, y, height, colour, alpha, rng):
    layer = Image.new("L", (W, H), 0)
    draw = ImageDraw.Draw(layer)
    for _ in range(9):
        cx = rng.randint(-100, W + 100)
        w = rng.randint(180, 380)
        draw.ellipse([cx - w, y - height // 2, cx + w, y + height // 2], fill=alpha)
    layer = layer.filter(ImageFilter.GaussianBlur(height * 0.6))
    img.paste(Image.new("RGB", (W, H), colour), (0, 0), layer)


def pagoda(draw, x, base, scale, colour):
    """A five-roofed tower standing on base, centred on x."""
    y = base
    width = 34 * scale
    for level in range(5):
        body_h = 11 * scale
        body_w = width * 0.55
        draw.rectangle([x - body_w / 2, y - body_h, x + body_w / 2, y], fill=colour)
        y -= body_h
        roof_w = width * 1.05
        draw.polygon([(x - roof_w / 2 - 4 * scale, y + 2 * scale), (x + roof_w / 2 + 4 * scale, y + 2 * scale),
                      (x + roof_w / 4, y - 4 * scale), (x - roof_w / 4, y - 4 * scale)], fill=colour)
        y -= 4 * scale
        width *= 0.84
    draw.rectangle([x - 1.2 * scale, y - 16 * scale, x + 1.2 * scale, y], fill=colour)


def pine(draw, x, base, height, colour, rng):
    """A conifer: a short trunk under stacked, narrowing tiers."""
    draw.rectangle([x - 1, base - height * 0.2, x + 1, base], fill=colour)
    tiers = 4
    for i in range(tiers):
        w = height * (0.46 - 0.08 * i) * rng.uniform(0.9, 1.1)
        bottom = base - height * (0.12 + 0.2 * i)
        top = bottom - height * 0.36
        draw.polygon([(x - w, bottom), (x + w, bottom), (x + w * 0.2, bottom - height * 0.05),
                      (x, top), (x - w * 0.2, bottom - height * 0.05)], fill=colour)


def birds(draw, rng, colour):
    for _ in range(5):
        x = rng.randint(80, 330)
        y = rng.randint(120, 220)
        s = rng.uniform(4, 7)
        draw.line([(x - s, y - s * 0.4), (x, y), (x + s, y - s * 0.4)], fill=colour, width=2)


def grain(img, amount, seed, coarse=1, blur=0.0):
    """A fixed noise of +-amount over an RGB picture; coarse > 1 makes larger specks."""
    rng = random.Random(seed)
    size = (max(1, img.size[0] // coarse), max(1, img.size[1] // coarse))
    noise = Image.new("L", size)
    noise.putdata([128 + rng.randint(-amount, amount) for _ in range(size[0] * size[1])])
    if coarse > 1:
        noise = noise.resize(img.size, Image.BILINEAR)
    if blur > 0:
        noise = noise.filter(ImageFilter.GaussianBlur(blur))
    return ImageChops.add(img, Image.merge("RGB", [noise] * 3), 1.0, -128)


def splash_background(out, save):
    rng = random.Random(1131)
    img = gradient([(0.0, (16, 20, 58)), (0.30, (52, 40, 104)), (0.52, (146, 72, 112)),
                    (0.62, (226, 124, 98)), (0.68, (250, 182, 112)), (1.0, (250, 196, 130))], W, H)
    # A few stars still in the high sky.
    draw = ImageDraw.Draw(img)
    for _ in range(70):
        x, y = rng.randint(0, W - 1), rng.randint(0, 150)
        b = rng.randint(150, 230)
        draw.point((x, y), fill=(b, b, min(255, b + 20)))
    # The low sun and its haze.
    glow(img, (560, HORIZON - 18), 190, (255, 196, 128), 120)
    glow(img, (560, HORIZON - 18), 70, (255, 226, 170), 200)
    sun = Image.new("L", (W, H), 0)
    ImageDraw.Draw(sun).ellipse([560 - 38, HORIZON - 56, 560 + 38, HORIZON + 20], fill=255)
    img.paste(Image.new("RGB", (W, H), (255, 238, 200)), (0, 0), sun.filter(ImageFilter.GaussianBlur(1.5)))
    # Long thin clouds lit from below.
    clouds = Image.new("L", (W, H), 0)
    cdraw = ImageDraw.Draw(clouds)
    for _ in range(12):
        cx, cy = rng.randint(-50, W + 50), rng.randint(190, 330)
        w, h = rng.randint(90, 220), rng.randint(4, 9)
        cdraw.ellipse([cx - w, cy - h, cx + w, cy + h], fill=rng.randint(70, 130))
    img.paste(Image.new("RGB", (W, H), (255, 170, 150)), (0, 0), clouds.filter(ImageFilter.GaussianBlur(5)))
    birds(ImageDraw.Draw(img), rng, (60, 36, 70))

    layers = [  # base, amplitude, roughness, crest colour, foot colour, haze
        (HORIZON - 10, 26, 1.0, (168, 104, 128), (190, 128, 136), 2.0),
        (HORIZON + 25, 34, 1.2, (122, 70, 110), (146, 90, 118), 1.2),
        (HORIZON + 75, 40, 1.4, (82, 44, 88), (98, 56, 96), 0.6),
        (HORIZON + 130, 46, 1.6, (50, 26, 62), (60, 32, 70), 0.2),
        (HORIZON + 185, 40, 1.8, (26, 14, 36), (30, 18, 40), 0.0),
    ]
    for i, (base, amp, rough, top, bottom, haze) in enumerate(layers):
        heights = ridge(rng, base, amp, rough)
        hill_layer(img, heights, top, bottom, haze)
        d = ImageDraw.Draw(img)
        if i == 2:
            # A tower on the highest point of the middle hills.
            x = min(range(60, W - 60), key=lambda k: heights[k])
            pagoda(d, x, heights[x] + 3, 0.8, top)
        if i >= 3:
            for _ in range(10 if i == 3 else 14):
                x = rng.randint(0, W - 1)
                pine(d, x, heights[x] + 4, rng.randint(26, 44) * (1.0 if i == 3 else 1.4), top, rng)
        if i < len(layers) - 1:
            mist(img, base + amp + 18, 36, (240, 190, 180), 70 - i * 10, rng)
    img = grain(img, 5, 77)
    save(img, out, "images/splash/splash_bg.png")


def text_mask(size, text, font, xy, anchor="mm"):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).text(xy, text, font=font, fill=255, anchor=anchor)
    return mask


def splash_logo(out, save):
    """The title on a red seal, with its own alpha channel and soft shadow."""
    w, h = 420, 150
    big = (w * SS, h * SS)
    seal = Image.new("RGBA", big, (0, 0, 0, 0))
    m = 10 * SS  # room for the shadow
    shape = Image.new("L", big, 0)
    ImageDraw.Draw(shape).rounded_rectangle([m, m, big[0] - m, big[1] - m - 6 * SS], radius=22 * SS,
                                            fill=255)
    shadow = Image.new("L", big, 0)
    ImageDraw.Draw(shadow).rounded_rectangle([m + 4 * SS, m + 8 * SS, big[0] - m + 2 * SS, big[1] - m],
                                             radius=22 * SS, fill=150)
    shadow = shadow.filter(ImageFilter.GaussianBlur(6 * SS))
    seal.paste(Image.new("RGBA", big, (20, 4, 6, 255)), (0, 0), shadow)

    face = gradient([(0, (214, 52, 42)), (0.5, SEAL_RED), (1, SEAL_DARK)], big[0], big[1])
    face = grain(face, 14, 9, coarse=4, blur=2.0).convert("RGBA")
    seal.paste(face, (0, 0), shape)

    draw = ImageDraw.Draw(seal)
    inset = m + 9 * SS
    draw.rounded_rectangle([inset, inset, big[0] - inset, big[1] - inset - 6 * SS], radius=14 * SS,
                           outline=GOLD, width=3 * SS)
    inset2 = inset + 6 * SS
    draw.rounded_rectangle([inset2, inset2, big[0] - inset2, big[1] - inset2 - 6 * SS],
                           radius=10 * SS, outline=GOLD_DARK, width=1 * SS)
    # Corner diamonds.
    for cx, cy in ((inset, inset), (big[0] - inset, inset), (inset, big[1] - inset - 6 * SS),
                   (big[0] - inset, big[1] - inset - 6 * SS)):
        r = 7 * SS
        draw.polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], fill=GOLD_LIGHT,
                     outline=GOLD_DARK)

    # The title in gold: dark relief, then a light-to-deep gradient through the letters.
    cx, cy = big[0] // 2, big[1] // 2 - 12 * SS
    title_font = ImageFont.truetype(FONT_SERIF_BOLD, 66 * SS)
    letters = text_mask(big, "Quorvane", title_font, (cx, cy))
    relief = text_mask(big, "Quorvane", title_font, (cx + 3 * SS, cy + 4 * SS))
    seal.paste(Image.new("RGBA", big, (60, 6, 8, 255)), (0, 0), relief.filter(ImageFilter.GaussianBlur(SS)))
    gold = gradient([(0, GOLD_LIGHT), (0.45, GOLD), (0.55, (196, 146, 56)), (1, (246, 210, 120))],
                    big[0], big[1]).convert("RGBA")
    seal.paste(gold, (0, 0), letters)
    outline = letters.filter(ImageFilter.MaxFilter(5)).point(lambda v: 255 if v > 0 else 0)
    edge = ImageChops.subtract(outline, letters)
    seal.paste(Image.new("RGBA", big, GOLD_DARK + (255,)), (0, 0), edge)

    # The small line beneath: a rule with the two characters for mahjong between.
    small = ImageFont.truetype(CJK, 20 * SS)
    ly = big[1] - inset2 - 26 * SS
    draw = ImageDraw.Draw(seal)
    draw.line([(cx - 120 * SS, ly), (cx - 34 * SS, ly)], fill=GOLD, width=2 * SS)
    draw.line([(cx + 34 * SS, ly), (cx + 120 * SS, ly)], fill=GOLD, width=2 * SS)
    draw.text((cx, ly), "麻 將", font=small, fill=GOLD_LIGHT, anchor="mm")

    logo = seal.resize((w, h), Image.LANCZOS)
    save(logo, out, "images/splash/logo.png")


def tile_face(char, colour):
    """One tile, 48 x 58 with alpha: ivory face 40 x 50 at the top right, the body's edge on the
    left and below."""
    tw, th, edge = 48, 58, 8
    big = Image.new("RGBA", (tw * SS, th * SS), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    r = 6 * SS
    # The body: a darker ivory block shifted down and left, with a seam of light.
    draw.rounded_rectangle([0, edge * SS, (tw - edge) * SS - 1, th * SS - 1], radius=r, fill=EDGE_DARK)
    draw.rounded_rectangle([SS, (edge - 1) * SS, (tw - edge + 1) * SS, (th - 2) * SS], radius=r,
                           fill=EDGE_LIGHT)
    # The face with a soft shade towards its lower edge.
    face = gradient([(0, (250, 246, 234)), (0.7, IVORY), (1, IVORY_SHADE)], (tw - edge) * SS,
                    (th - edge) * SS).convert("RGBA")
    mask = Image.new("L", face.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, face.size[0] - 1, face.size[1] - 1], radius=r, fill=255)
    big.paste(face, (edge * SS, 0), mask)
    draw = ImageDraw.Draw(big)
    draw.rounded_rectangle([edge * SS, 0, tw * SS - 1, (th - edge) * SS - 1], radius=r,
                           outline=(178, 160, 120), width=SS)
    font = ImageFont.truetype(CJK, 36 * SS)
    fx = (edge + (tw - edge) / 2) * SS
    fy = ((th - edge) / 2 + 1) * SS
    draw.text((fx + SS, fy + SS), char, font=font, fill=(200, 188, 160), anchor="mm")
    draw.text((fx, fy), char, font=font, fill=colour, anchor="mm")
    return big.resize((tw, th), Image.LANCZOS)


def splash_tiles(out, save):
    faces = [("東", (26, 24, 30)), ("中", (196, 24, 28)), ("發", (16, 122, 56))]
    sheet = Image.new("RGBA", (48 * len(faces), 58), (0, 0, 0, 0))
    for i, (char, colour) in enumerate(faces):
        sheet.paste(tile_face(char, colour), (48 * i, 0))
    save(sheet, out, "images/splash/tiles.png")


def draw(out, save):
    splash_background(out, save)
    splash_logo(out, save)
    splash_tiles(out, save)
