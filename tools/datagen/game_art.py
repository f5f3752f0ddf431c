"""The game's screens: board backgrounds, the quest's painted scenes and their layers, the
heads-up display of each look, the selection screen and the quest's progress map."""
import math
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import game_paint as gp
import tiles_art

KEY = gp.KEY
W, H = 800, 450  # the board picture between the two 75 px bars


# ---- felt and night-blue backgrounds ---------------------------------------------------------

def vignette(img, strength, centre=(0.5, 0.45)):
    """Darkens the edges and lifts the centre a little."""
    w, h = img.size
    glow, mask = gp.radial(w, h, w * centre[0], h * centre[1], max(w, h) * 0.75, (255, 255, 255),
                           (0, 0, 0))
    dark = gp.shade(img, strength)
    return Image.composite(img, dark, mask.point(lambda a: min(255, a * 2)))


def felt(base, light, seed, pattern=None):
    """Billiard-like felt: a lit centre, mottled dye, a fine weave and an optional pattern."""
    img = Image.new("RGB", (W, H), base)
    glow, mask = gp.radial(W, H, W / 2, H * 0.45, W * 0.62, light, base)
    img = Image.composite(glow, img, mask)
    img = gp.add_grain(img, seed, 4, scale=24)  # slow mottling of the dye
    img = gp.add_grain(img, seed + 1, 6)  # fibres
    # The weave: faint crossing threads every 3 px.
    weave = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(weave)
    for x in range(0, W, 3):
        d.line([(x, 0), (x, H)], fill=22)
    for y in range(0, H, 3):
        d.line([(0, y), (W, y)], fill=14)
    img = Image.composite(gp.shade(img, 0.5), img, weave)
    if pattern is not None:
        img = pattern(img)
    return vignette(img, 0.45)


def lattice_pattern(colour, step, alpha):
    def apply(img):
        layer = Image.new("L", img.size, 0)
        d = ImageDraw.Draw(layer)
        for k in range(-H // step - 2, W // step + 2):
            d.line([(k * step, 0), (k * step + H, H)], fill=alpha, width=1)
            d.line([(k * step + H, 0), (k * step, H)], fill=alpha, width=1)
        return Image.composite(Image.new("RGB", img.size, colour), img,
                               layer.filter(ImageFilter.GaussianBlur(0.6)))
    return apply


def cloud_scroll(d, cx, cy, r, fill, width):
    """A stylised auspicious cloud: a spiral with two lobes."""
    for k, (ox, oy, rr) in enumerate(((0, 0, 1.0), (-1.3, 0.35, 0.7), (1.25, 0.4, 0.65))):
        x, y, q = cx + ox * r, cy + oy * r, rr * r
        d.arc([x - q, y - q, x + q, y + q], 150, 390, fill=fill, width=width)
        d.arc([x - q * 0.5, y - q * 0.5, x + q * 0.5, y + q * 0.5], 200, 420, fill=fill,
              width=width)
    d.line([cx - 2.2 * r, cy + r * 0.95, cx + 2.1 * r, cy + r * 0.95], fill=fill, width=width)


def cloud_pattern(colour, seed):
    def apply(img):
        layer = Image.new("L", img.size, 0)
        d = ImageDraw.Draw(layer)
        rng = random.Random(seed)
        for row in range(5):
            for col in range(6):
                x = col * 150 + (75 if row % 2 else 0) + rng.randint(-12, 12)
                y = row * 100 + 30 + rng.randint(-10, 10)
                cloud_scroll(d, x, y, 16, 80, 2)
        return Image.composite(Image.new("RGB", img.size, colour), img,
                               layer.filter(ImageFilter.GaussianBlur(0.8)))
    return apply


def night(top, bottom, seed, extra=None):
    img = gp.vgradient(W, H, [(0, top), (1, bottom)])
    img = gp.add_grain(img, seed, 4, scale=20)
    if extra is not None:
        img = extra(img, seed)
    img = gp.add_grain(img, seed + 1, 3)
    return vignette(img, 0.4)


def stars(img, seed, count=260):
    d = ImageDraw.Draw(img)
    rng = random.Random(seed)
    for _ in range(count):
        x, y = rng.uniform(0, img.width), rng.uniform(0, img.height) ** 1.0
        b = rng.randint(90, 230)
        r = rng.choice((0.5, 0.5, 0.5, 0.9, 1.3))
        d.ellipse([x - r, y - r, x + r, y + r], fill=(b, b, min(255, b + 25)))
    return img


def waves(img, seed):
    layer = Image.new("L", img.size, 0)
    d = ImageDraw.Draw(layer)
    for k in range(-12, 30):
        pts = [(x, k * 24 + 18 * math.sin(x / 70 + k * 0.7) + x * 0.25) for x in range(0, W + 10, 10)]
        d.line(pts, fill=60, width=2)
    layer = layer.filter(ImageFilter.GaussianBlur(1.2))
    return Image.composite(Image.new("RGB", img.size, (120, 150, 220)), img, layer)


def hexes(img, seed):
    layer = Image.new("L", img.size, 0)
    d = ImageDraw.Draw(layer)
    r = 26
    for row in range(-1, int(H / (r * 1.5)) + 2):
        for col in range(-1, int(W / (r * 1.732)) + 2):
            cx = col * r * 1.732 + (r * 0.866 if row % 2 else 0)
            cy = row * r * 1.5
            pts = [(cx + r * math.cos(math.pi / 3 * k + math.pi / 6),
                    cy + r * math.sin(math.pi / 3 * k + math.pi / 6)) for k in range(7)]
            d.line(pts, fill=50, width=1)
    return Image.composite(Image.new("RGB", img.size, (150, 140, 230)), img,
                           layer.filter(ImageFilter.GaussianBlur(0.6)))


def soft_clouds(img, seed):
    rng = random.Random(seed)
    layer = Image.new("L", img.size, 0)
    d = ImageDraw.Draw(layer)
    for _ in range(26):
        x, y = rng.uniform(-50, W + 50), rng.uniform(20, H * 0.7)
        rx, ry = rng.uniform(60, 160), rng.uniform(14, 34)
        d.ellipse([x - rx, y - ry, x + rx, y + ry], fill=rng.randint(30, 60))
    layer = layer.filter(ImageFilter.GaussianBlur(18))
    return Image.composite(Image.new("RGB", img.size, (210, 170, 230)), img, layer)


# ---- landscapes ------------------------------------------------------------------------------

def ridge(width, seed, base, rough, smooth=6):
    """A mountain skyline by midpoint displacement: heights for every x."""
    rng = random.Random(seed)
    n = 1
    pts = [base + rng.uniform(-rough, rough), base + rng.uniform(-rough, rough)]
    amp = rough
    while n < 128:
        new = []
        for i in range(len(pts) - 1):
            new += [pts[i], (pts[i] + pts[i + 1]) / 2 + rng.uniform(-amp, amp)]
        new.append(pts[-1])
        pts = new
        n *= 2
        amp *= 0.55
    out = []
    for x in range(width):
        t = x / max(1, width - 1) * (len(pts) - 1)
        i = min(int(t), len(pts) - 2)
        out.append(pts[i] + (pts[i + 1] - pts[i]) * (t - i))
    return out


def silhouette(size, heights, colour, top_light=None):
    """RGBA: ground below the given heights, with a soft haze gradient toward the top."""
    w, h = size
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).polygon([(0, h)] + [(x, heights[x]) for x in range(w)] + [(w - 1, h)],
                                 fill=255)
    fill = gp.vgradient(w, h, [(0, top_light or colour), (1, colour)]) if top_light else \
        Image.new("RGB", size, colour)
    layer = fill.convert("RGBA")
    layer.putalpha(mask)
    return layer


def pine(d, x, base, height, colour):
    d.line([x, base, x, base - height], fill=colour, width=max(1, int(height / 22)))
    tiers = 5
    for k in range(tiers):
        y = base - height * (0.25 + 0.15 * k)
        span = height * (0.42 - 0.07 * k)
        d.polygon([(x - span, y + height * 0.08), (x + span, y + height * 0.08),
                   (x + span * 0.2, y - height * 0.1), (x - span * 0.2, y - height * 0.1)],
                  fill=colour)
    d.polygon([(x - height * 0.08, base - height * 0.9), (x + height * 0.08, base - height * 0.9),
               (x, base - height * 1.02)], fill=colour)


def pagoda(d, cx, base, scale, colour, windows=None):
    y = base
    for k in range(5):
        bw = (46 - k * 7) * scale
        bh = 20 * scale
        d.rectangle([cx - bw * 0.6, y - bh, cx + bw * 0.6, y], fill=colour)
        if windows:
            d.rectangle([cx - 3 * scale, y - bh * 0.75, cx + 3 * scale, y - bh * 0.25],
                        fill=windows)
        roof = y - bh
        d.polygon([(cx - bw, roof + 4 * scale), (cx - bw * 1.08, roof - 2 * scale),
                   (cx - bw * 0.55, roof - 8 * scale), (cx + bw * 0.55, roof - 8 * scale),
                   (cx + bw * 1.08, roof - 2 * scale), (cx + bw, roof + 4 * scale)], fill=colour)
        y = roof - 8 * scale
    d.line([cx, y, cx, y - 18 * scale], fill=colour, width=max(1, int(2 * scale)))


SCENES = [
    # sky stops, sun/moon (x, y, r, colour, is_moon), mountain colours far to near, water, extras
    dict(sky=[(0, (8, 12, 40)), (0.6, (30, 40, 86)), (1, (60, 70, 120))],
         body=(640, 90, 34, (250, 246, 220), "crescent"), hills=[(70, 80, 130), (40, 50, 90)],
         water=(30, 40, 80), stars=True, seed=100),
    dict(sky=[(0, (90, 110, 170)), (0.5, (240, 170, 170)), (1, (255, 214, 160))],
         body=(220, 300, 46, (255, 236, 190), "sun"), hills=[(180, 140, 170), (110, 90, 130)],
         water=(200, 160, 170), seed=101),
    dict(sky=[(0, (120, 180, 230)), (1, (214, 236, 240))],
         body=(620, 80, 30, (255, 250, 220), "sun"), hills=[(130, 170, 150), (70, 120, 90)],
         water=(120, 170, 190), bamboo=True, seed=102),
    dict(sky=[(0, (60, 130, 220)), (1, (190, 224, 250))],
         body=(400, 60, 32, (255, 252, 230), "sun"), hills=[(110, 150, 120), (80, 130, 70)],
         terraces=True, seed=103),
    dict(sky=[(0, (170, 180, 190)), (1, (230, 230, 226))],
         body=(560, 120, 40, (250, 246, 230), "pale"), hills=[(170, 176, 186), (120, 130, 146)],
         mist=True, seed=104),
    dict(sky=[(0, (90, 150, 210)), (1, (240, 220, 180))],
         body=(150, 110, 36, (255, 240, 200), "sun"), hills=[(120, 130, 140), (70, 80, 90)],
         water=(90, 140, 170), waterfall=True, seed=105),
    dict(sky=[(0, (40, 30, 80)), (0.55, (200, 90, 90)), (1, (250, 170, 90))],
         body=(620, 260, 40, (255, 210, 140), "sun"), hills=[(120, 70, 100), (60, 40, 70)],
         water=(120, 70, 90), bridge=True, seed=106),
    dict(sky=[(0, (170, 80, 40)), (0.6, (240, 150, 60)), (1, (250, 210, 120))],
         body=(300, 170, 44, (255, 230, 160), "sun"), hills=[(170, 90, 50), (120, 50, 30)],
         forest=(150, 60, 20), seed=107),
    dict(sky=[(0, (120, 126, 140)), (1, (200, 204, 212))],
         body=None, hills=[(220, 226, 236), (170, 180, 196)], snow=True, seed=108),
    dict(sky=[(0, (6, 8, 30)), (1, (30, 36, 80))],
         body=(620, 110, 42, (250, 250, 230), "moon"), hills=[(40, 46, 80), (22, 26, 50)],
         water=(20, 26, 60), stars=True, pagoda=True, seed=109),
    dict(sky=[(0, (80, 120, 200)), (0.55, (250, 190, 150)), (1, (255, 230, 170))],
         body=(400, 250, 54, (255, 240, 180), "sun"), hills=[(150, 130, 160), (90, 80, 110)],
         temple=True, seed=110),
]


def celestial(img, body, sky):
    sky_bottom = sky[-1][1]
    x, y, r, colour, kind = body
    glow, mask = gp.radial(W, H, x, y, r * 4, colour, sky_bottom)
    img = Image.composite(glow, img, mask.point(lambda a: a // 2))
    sky_with_glow = img.copy()
    d = ImageDraw.Draw(img)
    d.ellipse([x - r, y - r, x + r, y + r], fill=colour)
    if kind == "crescent":
        # Give the sky back over the moon's shadowed part, glow and all: the plain sky gradient
        # showed there as a dark disc.
        cut = Image.new("L", img.size, 0)
        ImageDraw.Draw(cut).ellipse([x - r + r * 0.45, y - r - r * 0.1, x + r + r * 0.45,
                                     y + r - r * 0.1], fill=255)
        img = Image.composite(sky_with_glow, img, cut)
    elif kind == "moon":
        for (ox, oy, rr) in ((-0.3, -0.2, 0.22), (0.25, 0.3, 0.16), (0.1, -0.4, 0.1)):
            d.ellipse([x + ox * r - rr * r, y + oy * r - rr * r, x + ox * r + rr * r,
                       y + oy * r + rr * r], fill=gp.lerp(colour, (200, 200, 190), 0.5))
    return img


def landscape(spec):
    seed = spec["seed"]
    sky = spec["sky"]
    img = gp.vgradient(W, H, sky)
    if spec.get("stars"):
        img = stars(img, seed, 220)
    if spec.get("body"):
        img = celestial(img, spec["body"], sky)
    horizon = 300 if spec.get("water") else 340
    far, near = spec["hills"]
    haze = sky[-1][1]
    far_layer = silhouette((W, H), ridge(W, seed, horizon - 120, 70), far,
                           gp.lerp(far, haze, 0.4))
    img = img.convert("RGBA")
    img.alpha_composite(far_layer)
    if spec.get("mist"):
        band = Image.new("RGBA", (W, H), (240, 240, 236, 0))
        m = gp.vgradient(W, H, [(0, (0,)), (0.55, (0,)), (0.68, (170,)), (0.8, (0,)), (1, (0,))])
        band.putalpha(m.convert("L"))
        img.alpha_composite(band)
    near_layer = silhouette((W, H), ridge(W, seed + 7, horizon - 40, 50), near,
                            gp.lerp(near, haze, 0.15))
    img.alpha_composite(near_layer)
    d = ImageDraw.Draw(img)
    if spec.get("waterfall"):
        d.polygon([(330, horizon - 150), (360, horizon - 150), (380, horizon + 10), (320, horizon + 10)],
                  fill=(226, 240, 250, 255))
        for k in range(8):
            x = 330 + k * 6
            d.line([x, horizon - 150, x + (k - 4) * 2, horizon + 10], fill=(190, 215, 235, 255))
    if spec.get("water"):
        water = spec["water"]
        top = horizon
        reflect = img.crop((0, top - (H - top), W, top)).transpose(Image.FLIP_TOP_BOTTOM)
        reflect = Image.blend(reflect.convert("RGB"), Image.new("RGB", reflect.size, water), 0.55)
        reflect = reflect.filter(ImageFilter.GaussianBlur(1.5))
        img.paste(reflect.convert("RGBA"), (0, top))
        d = ImageDraw.Draw(img)
        rng = random.Random(seed + 3)
        for _ in range(70):
            y = rng.uniform(top + 4, H)
            x = rng.uniform(0, W)
            l = rng.uniform(20, 90) * (y - top) / (H - top)
            d.line([x, y, x + l, y], fill=gp.lerp(water, (255, 255, 255), 0.35) + (255,))
        if spec.get("body"):
            bx, by, br, bc, _ = spec["body"]
            for k in range(10):
                y = top + 8 + k * 12
                half = br * (1 - k / 12)
                d.line([bx - half, y, bx + half, y], fill=gp.lerp(water, bc, 0.7) + (255,), width=2)
    else:
        ground = gp.lerp(near, (0, 0, 0), 0.35)
        fg = silhouette((W, H), ridge(W, seed + 11, H - 60, 18), ground)
        img.alpha_composite(fg)
        d = ImageDraw.Draw(img)
    if spec.get("terraces"):
        for k in range(7):
            y = horizon - 10 + k * 16
            pts = [(x, y + 8 * math.sin(x / 90 + k)) for x in range(0, W + 20, 20)]
            d.line(pts, fill=(150, 190, 90, 255), width=3)
            d.line([(x, yy + 4) for x, yy in pts], fill=(90, 140, 60, 255), width=2)
    if spec.get("bamboo"):
        rng = random.Random(seed + 5)
        for k in range(26):
            x = rng.uniform(0, 260) if k % 2 else rng.uniform(560, W)
            top, lean = rng.uniform(60, 200), rng.uniform(-12, 12)
            col = gp.lerp((40, 100, 50), (90, 150, 80), rng.random()) + (255,)
            d.line([x, H, x + lean, top], fill=col, width=5)
            # Nodes across the stalk wherever it is at that height.
            y = H - 30
            while y > top + 10:
                nx = x + lean * (H - y) / (H - top)
                d.line([nx - 4, y, nx + 4, y], fill=(30, 80, 40, 255), width=2)
                y -= 38
            for _ in range(3):
                ly = rng.uniform(top, top + 80)
                lx = x + lean * (H - ly) / (H - top)
                side = rng.choice((-1, 1))
                d.polygon([(lx, ly), (lx + side * 26, ly + 6), (lx + side * 24, ly + 10)],
                          fill=(60, 130, 60, 255))
    if spec.get("forest"):
        rng = random.Random(seed + 6)
        for row in range(3):
            base_y = H - 120 + row * 40
            for k in range(16):
                x = rng.uniform(-20, W + 20)
                y = base_y + rng.uniform(-10, 10)
                trunk = gp.lerp((60, 30, 14), (0, 0, 0), 0.3 - row * 0.1) + (255,)
                d.line([x, y + 40, x, y], fill=trunk, width=4)
                for _ in range(7):
                    ox, oy = rng.uniform(-22, 22), rng.uniform(-26, 6)
                    r = rng.uniform(10, 17)
                    tone = gp.lerp(spec["forest"], (240, 160, 40), rng.random() * 0.8)
                    tone = gp.lerp(tone, (40, 16, 8), 0.35 - row * 0.15)
                    d.ellipse([x + ox - r, y + oy - r, x + ox + r, y + oy + r * 0.85], fill=tone + (255,))
                    d.ellipse([x + ox - r * 0.6, y + oy - r * 0.7, x + ox + r * 0.2, y + oy],
                              fill=gp.lerp(tone, (255, 220, 140), 0.25) + (255,))
    if spec.get("snow"):
        rng = random.Random(seed + 8)
        for k in range(400):
            x, y = rng.uniform(0, W), rng.uniform(0, H)
            r = rng.uniform(0.6, 2.2)
            d.ellipse([x - r, y - r, x + r, y + r], fill=(250, 250, 255, 230))
    if spec.get("pagoda"):
        pagoda(d, 180, horizon + 4, 1.6, (14, 16, 34, 255), (250, 200, 110, 255))
    if spec.get("temple"):
        pagoda(d, 560, horizon - 52, 1.2, (60, 40, 60, 255), (255, 210, 140, 255))
    if spec.get("bridge"):
        bridge_drawing(d, 200, horizon + 10, 1.0, (50, 24, 30, 255))
    # Trees in the foreground on both sides for depth.
    rng = random.Random(seed + 9)
    dark = gp.lerp(near, (0, 0, 0), 0.6) + (255,)
    for k in range(6):
        x = rng.uniform(0, 120) if k % 2 == 0 else rng.uniform(680, W)
        pine(d, x, H + 5, rng.uniform(90, 150), dark)
    img = img.convert("RGB")
    img = gp.add_grain(img, seed + 2, 5)
    return vignette(img, 0.25)


def bridge_drawing(d, x0, base, s, colour):
    span = 360 * s
    d.arc([x0, base - 70 * s, x0 + span, base + 70 * s], 180, 360, fill=colour, width=int(7 * s))
    d.arc([x0, base - 90 * s, x0 + span, base + 50 * s], 180, 360, fill=colour, width=int(3 * s))
    for k in range(1, 12):
        t = k / 12
        x = x0 + span * t
        yb = base - 70 * s * math.sqrt(max(0.0, 1 - (2 * t - 1) ** 2))
        yt = base - 20 * s - 90 * s * math.sqrt(max(0.0, 1 - (2 * t - 1) ** 2)) + 20 * s
        d.line([x, yb, x, yt - 2], fill=colour, width=max(1, int(2 * s)))
    for t in (0.2, 0.5, 0.8):
        x = x0 + span * t
        y = base - 20 * s - 90 * s * math.sqrt(max(0.0, 1 - (2 * t - 1) ** 2)) + 20 * s
        d.line([x, y, x, y - 16 * s], fill=colour, width=max(1, int(2 * s)))
        d.ellipse([x - 7 * s, y - 16 * s, x + 7 * s, y], fill=(220, 50, 30, 255))
        d.ellipse([x - 3 * s, y - 12 * s, x + 3 * s, y - 4 * s], fill=(255, 200, 110, 255))


# ---- quest layers and sprites ----------------------------------------------------------------

def rolling_hill(size, s, crest, tones, rng, clumps):
    """One row of rolling hills at painting scale s, RGBA: grass lit from above with a bright rim
    along the crest, darker hollows where the slope turns away, soft contour bands and clumps of
    trees sitting on the crest."""
    w, h = size
    top_colour, low_colour, rim_colour, tree, tree_lit = tones
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).polygon([(0, h)] + [(x, crest[x]) for x in range(w)] + [(w - 1, h)],
                                 fill=255)
    fill = gp.vgradient(w, h, [(0, top_colour), (min(0.99, (min(crest) + 10 * s) / h), top_colour),
                               (1, low_colour)]).convert("RGBA")
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    img.paste(fill, (0, 0), mask)
    d = ImageDraw.Draw(img)
    # Slopes facing the light (rising to the right) catch it; the others fall into shade.
    shade = Image.new("L", size, 0)
    sd = ImageDraw.Draw(shade)
    for x in range(0, w - 4 * s):
        rise = (crest[x] - crest[x + 4 * s]) / (4 * s)  # above 0 where the ground climbs rightward
        depth = int(26 * s + abs(rise) * 30 * s)
        sd.line([x, crest[x], x, crest[x] + depth], fill=int(max(0.0, min(1.0, -rise * 3)) * 110))
    shade = ImageChops.multiply(shade.filter(ImageFilter.GaussianBlur(6 * s)), mask)
    img.paste(Image.new("RGBA", size, low_colour + (255,)), (0, 0), shade)
    # Contour bands: fields and terraces following the crest further down.
    bands = Image.new("L", size, 0)
    bd = ImageDraw.Draw(bands)
    for k in range(1, 6):
        off = k * 13 * s + rng.uniform(-3, 3) * s
        bd.line([(x, crest[x] + off + 3 * s * math.sin(x / (60 * s) + k)) for x in range(0, w, 4)],
                fill=60, width=max(1, s))
    bands = ImageChops.multiply(bands.filter(ImageFilter.GaussianBlur(1.2 * s)), mask)
    img.paste(Image.new("RGBA", size, low_colour + (255,)), (0, 0), bands)
    # The rim of light along the crest.
    rim = Image.new("L", size, 0)
    ImageDraw.Draw(rim).line([(x, crest[x] + 1.5 * s) for x in range(0, w, 2)], fill=200,
                             width=2 * s)
    rim = ImageChops.multiply(rim.filter(ImageFilter.GaussianBlur(0.8 * s)), mask)
    img.paste(Image.new("RGBA", size, rim_colour + (255,)), (0, 0), rim)
    # Groves of round-crowned trees on the crest, back ones first, lit from the upper right.
    for _ in range(clumps):
        cx = rng.uniform(0, w)
        crowns = []
        for k in range(rng.randint(4, 11)):
            x = cx + rng.gauss(0, 16) * s
            base = crest[min(w - 1, max(0, int(x)))] + rng.uniform(3, 12) * s
            crowns.append((base, x, rng.uniform(6, 11) * s))
        for base, x, r in sorted(crowns):
            y = base - r
            d.ellipse([x - r, y - r * 0.95, x + r, y + r * 0.85], fill=tree + (255,))
            d.ellipse([x - r * 0.35, y - r * 0.85, x + r * 0.75, y + r * 0.15], fill=tree_lit + (255,))
    return img


def layer_hills():
    """Rolling hills in front of the scene: a paler row behind a darker one, the crests low in
    the picture so that the lake or valley above them stays in view."""
    w, h, s = 800, 160, 2
    size = (w * s, h * s)
    rng = random.Random(201)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    rows = [
        (66, 14, 8, 10, ((104, 136, 100), (64, 96, 70), (178, 196, 140), (58, 90, 62), (96, 132, 86))),
        (104, 12, 6, 12, ((72, 108, 66), (32, 58, 38), (150, 176, 112), (30, 56, 36), (66, 100, 58))),
    ]
    for base, big, small, clumps, tones in rows:
        p1, p2 = rng.uniform(0, 6.3), rng.uniform(0, 6.3)
        f1, f2 = rng.uniform(95, 130) * s, rng.uniform(38, 52) * s
        jitter = ridge(w * s, rng.randrange(1 << 30), 0, 2 * s)
        crest = [(base + big * math.sin(x / f1 + p1) + small * math.sin(x / f2 + p2)) * s + jitter[x]
                 for x in range(w * s)]
        img.alpha_composite(rolling_hill(size, s, crest, tones, rng, clumps))
    img = img.resize((w, h), Image.LANCZOS)
    return gp.keyed_on(img, (60, 90, 64), 128)


def wobble(rng, n, amp, period):
    """n samples of a smooth random wander within +-amp, turning about every period samples."""
    knots = [rng.uniform(-amp, amp) for _ in range(n // max(1, period) + 2)]
    out = []
    for i in range(n):
        k, r = divmod(i, max(1, period))
        u = (1 - math.cos(math.pi * r / max(1, period))) / 2
        out.append(knots[k] * (1 - u) + knots[k + 1] * u)
    return out


def painted_peak(size, s, peak, tones, rng):
    """One mountain at painting scale s, RGBA: a crisp silhouette with a lit face on the right and
    a shaded face on the left split by a wandering spine, gullies down both faces, a snow cap
    with fingers running down the gullies and a rim of light along the lit edge."""
    w, h = size
    px, py, sl, sr = peak["x"] * s, peak["y"] * s, peak["sl"], peak["sr"]
    lit_top, lit_low, shade_top, shade_low, rim = tones
    jag = ridge(w, rng.randrange(1 << 30), 0, 4 * s)
    shoulders = wobble(rng, w, peak.get("rough", 12) * s, 34 * s)
    bend = peak.get("bend", 0.82)  # below 1: a steep summit over broad shoulders

    def top(x):
        slope = sl if x < px else sr
        d = abs(x - px)
        calm = min(1.0, d / (30 * s))  # the summit stays a point
        i = min(w - 1, max(0, int(x)))
        return py + slope * (24 * s) * (d / (24 * s)) ** bend + (jag[i] + shoulders[i]) * calm

    reach = 24 * s * ((h - py) / (24 * s)) ** (1 / bend)  # how far out the foot lies
    x0 = max(0, int(px - reach / sl ** (1 / bend)) - 2 * s)
    x1 = min(w - 1, int(px + reach / sr ** (1 / bend)) + 2 * s)
    edge = [(x, top(x)) for x in range(x0, x1 + 1, max(1, s // 2))]
    outline = [(x0, h)] + edge + [(x1, h)]
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).polygon(outline, fill=255)
    # The spine: from the summit down, leaning a little and wandering.
    depth = int(h - py) + 1
    wander = wobble(rng, depth, 5 * s, 14 * s)
    lean = peak.get("lean", rng.uniform(-0.12, 0.12))
    spine = [(px + lean * k + wander[k] * min(1.0, k / (20 * s)), py + k) for k in range(0, depth, s)]
    lit = Image.new("L", size, 0)
    ImageDraw.Draw(lit).polygon(spine + [(x1 + s, h), (x1 + s, py)], fill=255)
    lit = ImageChops.multiply(lit, mask)
    shaded = ImageChops.subtract(mask, lit)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    for face, hi, lo in ((shaded, shade_top, shade_low), (lit, lit_top, lit_low)):
        fill = gp.vgradient(w, h, [(0, hi), (max(0.01, py / h), hi), (1, lo)])
        img.paste(fill.convert("RGBA"), (0, 0), face)
    # Gullies: streaks running down each face, darker on the lit side, paler on the shaded one.
    for face, colour, sign in ((lit, gp.lerp(lit_low, shade_low, 0.55), 1),
                               (shaded, gp.lerp(shade_top, lit_low, 0.45), -1)):
        streaks = Image.new("L", size, 0)
        sd = ImageDraw.Draw(streaks)
        for _ in range(peak.get("gullies", 7)):
            k = rng.uniform(0.08, 0.75) * (h - py)
            x = px + sign * k / (sr if sign > 0 else sl) * rng.uniform(0.35, 0.9)
            y = py + k
            pts = [(x, y)]
            for _ in range(rng.randint(3, 6)):
                x += sign * rng.uniform(1, 5) * s
                y += rng.uniform(6, 16) * s
                pts.append((x, y))
            sd.line(pts, fill=rng.randint(110, 200), width=max(1, int(rng.uniform(1, 2.2) * s)))
        streaks = ImageChops.multiply(streaks.filter(ImageFilter.GaussianBlur(0.7 * s)), face)
        img.paste(Image.new("RGBA", size, colour + (255,)), (0, 0), streaks)
    # The snow cap: down to a ragged line whose fingers reach into the gullies.
    if peak.get("snow"):
        fingers = wobble(rng, w, 9 * s, 5 * s)
        cap = Image.new("L", size, 0)
        cd = ImageDraw.Draw(cap)
        # Column by column: a polygon whose two edges meet along the slope fills stray rows.
        for x in range(x0, x1 + 1):
            low = py + peak["snow"] * s + fingers[x] - abs(x - px) * 0.25
            if low > top(x):
                cd.line([x, top(x), x, low], fill=255)
        cap = ImageChops.multiply(cap.filter(ImageFilter.GaussianBlur(0.6 * s)), mask)
        for face, colour in ((lit, (238, 242, 250)), (shaded, (160, 174, 206))):
            img.paste(Image.new("RGBA", size, colour + (255,)), (0, 0), ImageChops.multiply(cap, face))
    # Light caught along the lit edge, fading down the slope.
    glow = Image.new("L", size, 0)
    gd = ImageDraw.Draw(glow)
    right = [(x, y + 1.5 * s) for x, y in edge if x >= px]
    if len(right) > 1:
        gd.line(right, fill=230, width=2 * s)
    fade = gp.vgradient(w, h, [(0, (255,)), (max(0.01, py / h), (255,)),
                               (min(1.0, (py + 60 * s) / h), (0,)), (1, (0,))]).convert("L")
    glow = ImageChops.multiply(ImageChops.multiply(glow, fade), mask)
    img.paste(Image.new("RGBA", size, rim + (255,)), (0, 0), glow.filter(ImageFilter.GaussianBlur(0.5 * s)))
    img.putalpha(mask)
    return img


# The range behind the quest's boards: far peaks pale and snowy, nearer ones darker, each row
# (far to near) with its face tones: lit top, lit foot, shaded top, shaded foot, rim light.
PEAK_ROWS = [
    (0.9, ((186, 194, 220), (144, 154, 186), (126, 136, 172), (100, 110, 146), (246, 240, 226)),
     [dict(x=150, y=22, sl=1.0, sr=0.8, snow=30, rough=14), dict(x=400, y=54, sl=0.9, sr=1.0, snow=12),
      dict(x=640, y=2, sl=1.0, sr=0.85, snow=38, rough=16), dict(x=860, y=30, sl=0.9, sr=0.9, snow=20)]),
    (0.92, ((150, 160, 192), (108, 118, 152), (92, 102, 138), (70, 78, 112), (236, 230, 214)),
     [dict(x=-20, y=50, sl=0.9, sr=0.8, snow=10), dict(x=285, y=70, sl=0.85, sr=1.0, snow=6),
      dict(x=505, y=76, sl=1.0, sr=0.8), dict(x=760, y=58, sl=0.8, sr=0.9, snow=10)]),
    (1.0, ((114, 124, 156), (84, 92, 124), (70, 78, 110), (52, 58, 86), (214, 208, 196)),
     [dict(x=90, y=88, sl=0.7, sr=0.6, gullies=4, bend=1.1, rough=6),
      dict(x=390, y=98, sl=0.6, sr=0.7, gullies=4, bend=1.1, rough=6),
      dict(x=660, y=86, sl=0.7, sr=0.6, gullies=4, bend=1.1, rough=6)]),
]


def layer_peaks():
    """Painted mountains seen across a valley: three rows of peaks, far ones pale and snowy,
    with mist in the hollows and a misty foot that thins to nothing, so whatever lies below (a
    lake, a valley) shows through. Loaded with its alpha."""
    w, h, s = 800, 220, 2
    size = (w * s, h * s)
    rng = random.Random(203)
    haze = (214, 222, 238)
    img = Image.new("RGBA", size, haze + (0,))
    for row, (opacity, tones, peaks) in enumerate(PEAK_ROWS):
        band = Image.new("RGBA", size, (0, 0, 0, 0))
        for peak in peaks:
            band.alpha_composite(painted_peak(size, s, peak, tones, rng))
        band.putalpha(band.getchannel("A").point(lambda a, o=opacity: int(a * o)))
        img.alpha_composite(band)
        # Mist settles in front of each row but the nearest, thickest low down.
        if row < len(PEAK_ROWS) - 1:
            wisps = gp.grain(w // 40, h // 6, 210 + row, 120).resize(size, Image.BICUBIC)
            wisps = wisps.filter(ImageFilter.GaussianBlur(6 * s))
            low = gp.vgradient(w, h, [(0, (0,)), (0.22 + 0.18 * row, (0,)), (0.5 + 0.12 * row, (150,)),
                                      (1, (200,))]).convert("L").resize(size)
            mist = ImageChops.multiply(low, wisps.point(lambda v: min(255, max(0, (v - 70) * 2))))
            veil = Image.new("RGBA", size, haze + (0,))
            veil.putalpha(ImageChops.multiply(mist, img.getchannel("A")))
            img.alpha_composite(veil)
    # The foot: the mountains first melt into light haze, in wisps stretched sideways like
    # drifting mist, then the haze thins away to nothing.
    ragged = gp.grain(w // 30, h // 12, 215, 127).resize(size, Image.BICUBIC)
    ragged = ragged.filter(ImageFilter.GaussianBlur(4 * s))
    haze_ramp = gp.vgradient(w, h, [(0, (0,)), (0.46, (0,)), (0.7, (255,)), (1, (255,))])
    bell = gp.vgradient(w, h, [(0, (0,)), (0.4, (0,)), (0.58, (255,)), (0.76, (0,)), (1, (0,))])
    haze_ramp, bell = haze_ramp.resize(size), bell.resize(size)
    up = ImageChops.multiply(ragged.point(lambda v: min(255, max(0, v - 128) * 2)), bell)
    down = ImageChops.multiply(ragged.point(lambda v: min(255, max(0, 128 - v) * 2)), bell)
    melt = ImageChops.subtract(ImageChops.add(haze_ramp, up), down)
    hazy = Image.new("RGBA", size, haze + (255,))
    hazy.putalpha(img.getchannel("A"))
    img = Image.composite(hazy, img, melt.point(lambda v: int(v * 0.85)))
    fade = gp.vgradient(w, h, [(0, (255,)), (0.62, (255,)), (0.74, (150,)), (0.86, (0,)), (1, (0,))])
    img.putalpha(ImageChops.multiply(img.getchannel("A"), fade.resize(size)))
    return img.resize((w, h), Image.LANCZOS)


def pine_right_half(d, x, base, height, colour):
    """The right half of pine()'s tiers, to light a tree from that side."""
    for k in range(5):
        y = base - height * (0.25 + 0.15 * k)
        span = height * (0.42 - 0.07 * k)
        d.polygon([(x, y + height * 0.08), (x + span, y + height * 0.08),
                   (x + span * 0.2, y - height * 0.1), (x, y - height * 0.1)], fill=colour)
    d.polygon([(x, base - height * 0.9), (x + height * 0.08, base - height * 0.9),
               (x, base - height * 1.02)], fill=colour)


def layer_pines():
    """A pine wood along the bottom edge: a paler, hazier row of smaller trees behind a dark one,
    each tree two-toned, its right half catching a little light, with clearings between groups
    and a ground that darkens toward the edge."""
    w, h, s = 800, 180, 2

    def painter(img, d, s):
        rng = random.Random(204)
        ground = gp.vgradient(w * s, 26 * s, [(0, (30, 46, 40)), (1, (8, 12, 10))]).convert("RGBA")
        img.paste(ground, (0, (h - 18) * s))
        rows = (((34, 54, 50), (50, 74, 66), 60, 105, h - 10, 0.5),
                ((10, 18, 15), (28, 44, 37), 80, 150, h, 0.38))
        for dark, lit, low, high, base, clearing in rows:
            x = rng.uniform(-30, -5)
            while x < w + 20:
                if rng.random() < clearing:
                    x += rng.uniform(30, 70)  # a clearing
                    continue
                for _ in range(rng.randint(2, 4)):  # a group
                    tall = rng.uniform(low, high)
                    pine(d, x * s, base * s, tall * s, dark + (255,))
                    pine_right_half(d, x * s, base * s, tall * s, lit + (255,))
                    x += rng.uniform(16, 34)

    img = gp.supersample((w, h), s, painter)
    return gp.keyed_on(img, (30, 40, 40), 128)


def layer_mist():
    w, h = 800, 120
    img = Image.new("RGBA", (w, h), (246, 246, 250, 0))
    alpha = gp.vgradient(w, h, [(0, (0,)), (0.5, (125,)), (1, (0,))])
    wobble = gp.grain(w, h, 205, 90, scale=40)
    alpha = ImageChops.multiply(alpha, wobble.point(lambda v: min(255, v + 90)))
    img.putalpha(alpha)
    return img


def layer_pagoda():
    img = Image.new("RGBA", (160, 220), (0, 0, 0, 0))
    pagoda(ImageDraw.Draw(img), 80, 218, 1.45, (20, 18, 30, 255), (255, 200, 100, 255))
    return gp.keyed_on(img, (40, 40, 60), 128)


def layer_bridge():
    img = Image.new("RGBA", (400, 120), (0, 0, 0, 0))
    bridge_drawing(ImageDraw.Draw(img), 20, 116, 1.0, (90, 30, 26, 255))
    return gp.keyed_on(img, (80, 50, 60), 128)


def sprite_spirit():
    def painter(img, d, s):
        w, h = img.size
        glow = Image.new("RGBA", img.size, (0, 0, 0, 0))
        gd = ImageDraw.Draw(glow)
        # Small enough, and blurred little enough, to fade out before the picture's edges: the
        # sprite is drawn with its alpha over every scene and must show no box.
        gd.ellipse([w * 0.22, h * 0.12, w * 0.78, h * 0.9], fill=(150, 210, 255, 130))
        glow = glow.filter(ImageFilter.GaussianBlur(10 * s))
        img.alpha_composite(glow)
        body = [(w * 0.5, h * 0.18), (w * 0.7, h * 0.45), (w * 0.62, h * 0.8), (w * 0.5, h * 0.95),
                (w * 0.38, h * 0.8), (w * 0.3, h * 0.45)]
        d.polygon(body, fill=(210, 236, 255, 200))
        d.ellipse([w * 0.38, h * 0.08, w * 0.62, h * 0.28], fill=(230, 246, 255, 230))
        d.ellipse([w * 0.44, h * 0.15, w * 0.48, h * 0.18], fill=(40, 70, 120, 255))
        d.ellipse([w * 0.52, h * 0.15, w * 0.56, h * 0.18], fill=(40, 70, 120, 255))
    return gp.supersample((120, 160), 2, painter)


def sprite_lantern():
    def painter(img, d, s):
        w, h = img.size
        d.line([w / 2, 0, w / 2, 8 * s], fill=(60, 40, 20, 255), width=s)
        d.rectangle([w * 0.3, 8 * s, w * 0.7, 12 * s], fill=(200, 160, 50, 255))
        d.ellipse([3 * s, 11 * s, w - 3 * s, h - 11 * s], fill=(214, 40, 30, 255))
        d.ellipse([11 * s, 18 * s, w - 11 * s, h - 20 * s], fill=(255, 150, 70, 255))
        for k in (-1, 0, 1):
            d.line([w / 2 + k * 8 * s, 12 * s, w / 2 + k * 8 * s, h - 12 * s], fill=(150, 20, 20, 255),
                   width=s)
        d.rectangle([w * 0.3, h - 12 * s, w * 0.7, h - 8 * s], fill=(200, 160, 50, 255))
        d.line([w / 2, h - 8 * s, w / 2, h], fill=(220, 170, 40, 255), width=2 * s)
    return gp.keyed_on(gp.supersample((40, 60), 3, painter), (120, 50, 40), 128)


def sprite_cranes():
    """A white crane flying right: four frames of its wing beat."""
    strip = Image.new("RGB", (480, 60), KEY)
    for n in range(4):
        lift = (-1.0, -0.35, 0.55, -0.35)[n]

        def painter(img, d, s, lift=lift):
            cx, cy = 56 * s, 34 * s
            white, black = (246, 246, 242, 255), (30, 30, 34, 255)
            # Legs trailing behind, then the body, the neck stretched forward and the red crown.
            d.line([cx - 14 * s, cy + 2 * s, cx - 44 * s, cy + 6 * s], fill=black, width=s)
            d.ellipse([cx - 18 * s, cy - 5 * s, cx + 12 * s, cy + 5 * s], fill=white)
            d.line([cx + 8 * s, cy - 1 * s, cx + 34 * s, cy - 6 * s], fill=black, width=2 * s)
            d.ellipse([cx + 32 * s, cy - 9 * s, cx + 40 * s, cy - 3 * s], fill=white)
            d.ellipse([cx + 34 * s, cy - 10 * s, cx + 38 * s, cy - 7 * s], fill=(210, 30, 30, 255))
            d.polygon([(cx + 40 * s, cy - 7 * s), (cx + 52 * s, cy - 5 * s), (cx + 40 * s, cy - 4 * s)],
                      fill=(200, 170, 70, 255))
            # The wing: a broad sweep from the shoulders with black flight feathers at its end.
            tip_y = cy + lift * 28 * s
            wing = [(cx - 10 * s, cy - 2 * s), (cx + 8 * s, cy - 2 * s), (cx + 2 * s, tip_y),
                    (cx - 20 * s, tip_y + 2 * s)]
            d.polygon(wing, fill=white)
            ex = [(cx + 2 * s, tip_y), (cx - 20 * s, tip_y + 2 * s),
                  (cx - 14 * s, cy + lift * 18 * s), (cx + 4 * s, cy + lift * 18 * s)]
            d.polygon(ex, fill=black)
        cell = gp.keyed_on(gp.supersample((120, 60), 3, painter), (150, 160, 180), 128)
        strip.paste(cell, (n * 120, 0))
    return strip


def sprite_sunglow():
    img = Image.new("RGBA", (240, 240), (255, 200, 120, 0))
    _, mask = gp.radial(240, 240, 120, 120, 120, (255, 255, 255), (0, 0, 0))
    img.putalpha(mask)
    return img


def brush_title(text, size, colour=(236, 190, 80)):
    w, h = size

    def painter(img, d, s):
        size_pt = int(h * 0.58 * s)
        # Shrink the lettering until it fits with a margin on both sides.
        while size_pt > 8 and ImageDraw.Draw(img).textlength(text, font=gp.font(
                gp.FONT_SERIF_BOLD, size_pt)) > w * s * 0.9:
            size_pt -= s
        fnt = gp.font(gp.FONT_SERIF_BOLD, size_pt)
        gp.draw_text_centered(d, w * s / 2, h * s / 2, text, fnt, (60, 20, 10, 255),
                              offset=(0, 0), stroke=3 * s)
        gp.draw_text_centered(d, w * s / 2, h * s / 2, text, fnt, colour + (255,),
                              offset=(0, 0), stroke=0)
    return gp.keyed_on(gp.supersample(size, 3, painter), (90, 40, 20), 110)


# ---- lacquer, buttons and the heads-up display ------------------------------------------------

LOOKS = {
    # lacquer body top and bottom, gold edge, text, dark shadow colour
    "classic": dict(top=(150, 26, 24), bottom=(80, 10, 12), gold=(214, 172, 74),
                    gold_lo=(140, 100, 36), text=(252, 238, 206), matte=(90, 20, 18),
                    felt=((30, 96, 64), (52, 130, 88))),
    "logic": dict(top=(34, 62, 140), bottom=(12, 24, 70), gold=(214, 186, 110),
                  gold_lo=(130, 110, 60), text=(236, 240, 252), matte=(20, 34, 80),
                  felt=((18, 30, 80), (40, 60, 130))),
    "zorvy": dict(top=(110, 70, 40), bottom=(54, 30, 16), gold=(214, 170, 80),
                  gold_lo=(140, 96, 40), text=(252, 236, 200), matte=(70, 44, 24),
                  felt=((40, 70, 60), (70, 110, 90))),
}


def lacquer(w, h, look, seed, flip=False):
    lk = LOOKS[look]
    img = gp.vgradient(w, h, [(0, lk["top"]), (1, lk["bottom"])] if not flip else
                       [(0, lk["bottom"]), (1, lk["top"])])
    img = gp.add_grain(img, seed, 2, scale=2)
    if look == "zorvy":
        # Wood: long streaks of grain.
        streak = gp.grain(w, max(1, h // 2), seed + 1, 40, scale=1).resize((w // 40 + 1, h),
                                                                           Image.BICUBIC)
        streak = streak.resize((w, h), Image.BICUBIC)
        img = Image.composite(gp.shade(img, 0.25), img, streak.point(lambda v: max(0, v - 128) * 2))
    return img


# The top bar's captions: what each number of the heads-up display is, inked into the bar so a
# new player can tell the numbers apart. Each is (text, right edge, baseline); the look file puts
# its number 6 px right of the caption with the same baseline (a label's text stands 23 px
# above its baseline at the numbers' font size). On the boards' chooser the mode tiles cover the
# classic and puzzle bars from (16, 8) to (776, 56) with 8 px gaps, so their captions keep
# inside a tile, clear of its rounded corners.
HUD_CAPTIONS = {
    "classic": [("SCORE", 102, 25), ("FREE PAIRS", 102, 51), ("BEST", 640, 25)],
    "logic": [("TIME", 102, 25), ("FREE PAIRS", 102, 51), ("BEST", 640, 25)],
    "zorvy": [("SCORE", 102, 25), ("FREE PAIRS", 102, 51), ("TOTAL", 640, 25),
              ("LIVES", 640, 51)],
}


def hud_captions(img, look):
    d = ImageDraw.Draw(img)
    fnt = gp.font(gp.FONT_BOLD, 12)
    ink = gp.lerp(LOOKS[look]["gold"], (255, 250, 230), 0.25)
    for text, right, baseline in HUD_CAPTIONS[look]:
        x = right - d.textlength(text, font=fnt)
        d.text((x + 1, baseline + 1), text, font=fnt, fill=(16, 8, 6), anchor="ls")
        d.text((x, baseline), text, font=fnt, fill=ink, anchor="ls")


def bar(look, bottom):
    w, h = 800, 75
    lk = LOOKS[look]
    img = lacquer(w, h, look, 301 + bottom, flip=bottom)
    d = ImageDraw.Draw(img)
    # A gloss along the top of the lacquer.
    gloss = gp.vgradient(w, h, [(0, (255, 255, 255)), (0.35, (0, 0, 0)), (1, (0, 0, 0))]).convert("L")
    img = Image.composite(Image.new("RGB", (w, h), (255, 240, 220)), img, gloss.point(lambda v: v // 7))
    d = ImageDraw.Draw(img)
    y = 0 if bottom else h - 1
    step = 1 if bottom else -1
    d.line([0, y, w, y], fill=(20, 8, 6))
    d.line([0, y + step * 2, w, y + step * 2], fill=lk["gold"], width=2)
    d.line([0, y + step * 4, w, y + step * 4], fill=lk["gold_lo"])
    if not bottom:
        # The top bar's lower half holds numbers and their captions instead of a fret.
        hud_captions(img, look)
        return img
    # A fret of small gold diamonds along the inner line.
    yy = y + step * 9
    for x in range(10, w, 40):
        d.polygon([(x, yy - 3), (x + 3, yy), (x, yy + 3), (x - 3, yy)], fill=lk["gold_lo"])
    return img


def rim(look):
    lk = LOOKS[look]
    img = gp.vgradient(800, 6, [(0, lk["gold_lo"]), (0.4, gp.lerp(lk["gold"], (255, 250, 220), 0.4)),
                                (1, lk["gold_lo"])])
    return img


def button_look(size, label, look, state, font_size=15):
    """One look of a lacquered button: 0 normal, 1 highlighted, 2 held, 3 disabled."""
    lk = LOOKS[look]
    w, h = size
    top, bottom, edge, text = lk["top"], lk["bottom"], lk["gold"], lk["text"]
    if state == 1:
        top, bottom = gp.lerp(top, (255, 230, 200), 0.22), gp.lerp(bottom, (255, 220, 180), 0.15)
        edge, text = gp.lerp(edge, (255, 250, 220), 0.45), (255, 255, 240)
    elif state == 2:
        top, bottom = bottom, top
        edge = lk["gold_lo"]
    elif state == 3:
        grey = lambda c: tuple(int(sum(c) / 3 * 0.8 + 30) for _ in range(3))
        top, bottom, edge, text = grey(top), grey(bottom), (150, 144, 136), (186, 180, 172)

    def painter(img, d, s):
        r = 8 * s
        box = [s, s, w * s - s - 1, h * s - s - 1]
        shadow = Image.new("L", img.size, 0)
        ImageDraw.Draw(shadow).rounded_rectangle([box[0] + s, box[1] + 2 * s, box[2], box[3]],
                                                radius=r, fill=170)
        img.paste(Image.new("RGBA", img.size, (0, 0, 0, 255)), (0, 0), shadow)
        face = gp.vgradient(img.width, img.height, [(0, top), (1, bottom)]).convert("RGBA")
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle(box, radius=r, fill=255)
        img.paste(face, (0, 0), mask)
        if state != 3:
            gl = Image.new("L", img.size, 0)
            ImageDraw.Draw(gl).rounded_rectangle([box[0] + 3 * s, box[1] + 2 * s, box[2] - 3 * s,
                                                  box[1] + (box[3] - box[1]) * 0.45],
                                                 radius=r * 0.7, fill=70 if state != 2 else 30)
            img.paste(Image.new("RGBA", img.size, (255, 255, 255, 255)), (0, 0), gl)
        d.rounded_rectangle(box, radius=r, outline=edge + (255,), width=2 * s)
        # The faint inner line is laid over the face: drawn straight into it, its low alpha
        # would replace the face's and key a line of holes into the button.
        inner = Image.new("RGBA", img.size, (0, 0, 0, 0))
        ImageDraw.Draw(inner).rounded_rectangle(
            [box[0] + 2 * s, box[1] + 2 * s, box[2] - 2 * s, box[3] - 2 * s], radius=r - 2 * s,
            outline=(0, 0, 0, 60), width=s)
        img.alpha_composite(inner)
        off = s if state == 2 else 0
        fnt = gp.font(gp.FONT_BOLD, font_size * s)
        gp.draw_text_centered(d, w * s / 2 + off, h * s / 2 + off, label, fnt, text + (255,),
                              shadow=(20, 6, 4, 255) if state != 3 else None,
                              offset=(s, s))
    return gp.keyed_on(gp.supersample(size, 3, painter), lk["matte"], 110)


def arrow_look(size, left, look, state):
    """A round lacquer button with a gold arrow, in the same four looks."""
    lk = LOOKS[look]
    w, h = size
    base = button_look(size, "", look, state)
    img = base.convert("RGBA")

    def painter(layer, d, s):
        cx, cy = w * s / 2 + (s if state == 2 else 0), h * s / 2 + (s if state == 2 else 0)
        k = -1 if left else 1
        col = lk["text"] if state != 3 else (186, 180, 172)
        pts = [(cx + k * 14 * s, cy), (cx - k * 4 * s, cy - 11 * s), (cx - k * 4 * s, cy - 5 * s),
               (cx - k * 16 * s, cy - 5 * s), (cx - k * 16 * s, cy + 5 * s), (cx - k * 4 * s, cy + 5 * s),
               (cx - k * 4 * s, cy + 11 * s)]
        d.polygon([(x + s, y + s) for x, y in pts], fill=(20, 6, 4, 255))
        d.polygon(pts, fill=col + (255,))
    arrow_layer = gp.supersample(size, 3, painter)
    img.alpha_composite(arrow_layer)
    # Keep the key exact where the button was see-through.
    return Image.composite(img.convert("RGB"), base, gp.key_mask(base))


def button_sheet(label, look, size=(100, 36), font_size=15):
    w, h = size
    sheet = Image.new("RGB", (w * 4, h), KEY)
    for state in range(4):
        sheet.paste(button_look(size, label, look, state, font_size), (state * w, 0))
    return sheet


def arrow_sheet(left, look, size=(80, 40)):
    w, h = size
    sheet = Image.new("RGB", (w * 4, h), KEY)
    for state in range(4):
        sheet.paste(arrow_look(size, left, look, state), (state * w, 0))
    return sheet


def plate(size, look, radius=8, text=None, font_size=14, ends=True):
    """A small lacquer plate with a gold border (nameplates, level plate, bonus frame)."""
    lk = LOOKS[look]
    w, h = size

    def painter(img, d, s):
        box = [0, 0, w * s - 1, h * s - 1]
        face = gp.vgradient(img.width, img.height, [(0, lk["top"]), (1, lk["bottom"])]).convert("RGBA")
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle(box, radius=radius * s, fill=255)
        img.paste(face, (0, 0), mask)
        d.rounded_rectangle(box, radius=radius * s, outline=lk["gold"] + (255,), width=2 * s)
        if ends:
            for x in (6 * s, w * s - 6 * s):
                cy = h * s / 2
                d.polygon([(x, cy - 4 * s), (x + 4 * s, cy), (x, cy + 4 * s), (x - 4 * s, cy)],
                          fill=lk["gold"] + (255,))
        if text:
            gp.draw_text_centered(d, w * s / 2, h * s / 2, text, gp.font(gp.FONT_SERIF_BOLD, font_size * s),
                                  lk["gold"] + (255,), shadow=(20, 6, 4, 255), offset=(s, s))
    return gp.supersample(size, 3, painter)


def tray(look):
    """A lacquered box with three shallow slots for the taken tiles."""
    lk = LOOKS[look]

    def painter(img, d, s):
        w, h = 160 * s, 70 * s
        face = lacquer(w, h, look, 330).convert("RGBA")
        mask = Image.new("L", img.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=10 * s, fill=255)
        img.paste(face, (0, 0), mask)
        d.rounded_rectangle([0, 0, w - 1, h - 1], radius=10 * s, outline=lk["gold"] + (255,), width=2 * s)
        for k in range(3):
            x = 6 * s + k * 50 * s
            d.rounded_rectangle([x, 6 * s, x + 48 * s, h - 6 * s], radius=5 * s,
                                fill=gp.lerp(lk["bottom"], (0, 0, 0), 0.45) + (255,),
                                outline=lk["gold_lo"] + (255,), width=s)
    return gp.keyed_on(gp.supersample((160, 70), 2, painter), lk["matte"], 110)


def fuse_cord(look):
    """The timer: a long cord lying across with a firecracker at its left end."""
    colours = {"classic": ((200, 40, 30), (230, 190, 80)), "logic": ((60, 90, 180), (200, 206, 220)),
               "zorvy": ((110, 70, 40), (200, 150, 90))}[look]

    def painter(img, d, s):
        w, h = 350 * s, 24 * s
        cy = h / 2
        if look == "zorvy":
            # A rope of incense: a dark stick with a faint glow along it.
            d.rounded_rectangle([12 * s, cy - 2.5 * s, w - 2 * s, cy + 2.5 * s], radius=2 * s,
                                fill=(120, 74, 40, 255))
            d.line([12 * s, cy - s, w - 4 * s, cy - s], fill=(170, 120, 70, 255), width=s)
            d.rounded_rectangle([0, cy - 9 * s, 12 * s, cy + 9 * s], radius=3 * s, fill=(150, 40, 30, 255),
                                outline=(200, 150, 60, 255), width=s)
            return
        d.rounded_rectangle([20 * s, cy - 3 * s, w - 2 * s, cy + 3 * s], radius=3 * s,
                            fill=colours[0] + (255,))
        for x in range(20 * s, w - 2 * s, 6 * s):
            d.line([x, cy + 3 * s, x + 4 * s, cy - 3 * s], fill=colours[1] + (255,), width=int(1.5 * s))
        # The firecracker.
        d.rounded_rectangle([0, 1 * s, 20 * s, h - 1 * s], radius=3 * s, fill=(200, 30, 30, 255),
                            outline=(110, 10, 10, 255), width=s)
        d.rectangle([0, cy - 2 * s, 20 * s, cy + 2 * s], fill=(230, 190, 60, 255))
    return gp.keyed_on(gp.supersample((350, 24), 3, painter), (90, 40, 30), 110)


def timer_trick(look):
    """Drawn over the fuse from the burning point rightwards: a glowing ember 6 px wide and, to
    its right, the thin grey ash the cord leaves; everything else is key."""
    def painter(img, d, s):
        w, h = 350 * s, 24 * s
        cy = h / 2
        d.rectangle([6 * s, cy - 2 * s, w, cy + 2 * s], fill=(70, 66, 62, 255))
        d.line([6 * s, cy - s, w, cy - s], fill=(110, 104, 98, 255), width=s)
        d.ellipse([0, cy - 4 * s, 6 * s, cy + 4 * s], fill=(255, 120, 30, 255))
        d.ellipse([1 * s, cy - 2 * s, 5 * s, cy + 2 * s], fill=(255, 230, 140, 255))
    img = gp.keyed(gp.supersample((350, 24), 3, painter), 110)
    img.putpixel((0, 0), KEY)
    return img


def timer_ending():
    """The last seconds: a firecracker burning down, then the spark, the flash and the burst."""
    strip = Image.new("RGB", (240, 48), KEY)
    for n in range(5):
        def painter(img, d, s, n=n):
            cx, cy = 24 * s, 30 * s
            if n < 3:
                d.rounded_rectangle([cx - 7 * s, cy - 12 * s, cx + 7 * s, cy + 14 * s], radius=2 * s,
                                    fill=(200, 30, 30, 255), outline=(110, 10, 10, 255), width=s)
                d.rectangle([cx - 7 * s, cy - 2 * s, cx + 7 * s, cy + 2 * s], fill=(230, 190, 60, 255))
                wick = (10, 5, 1)[n] * s
                d.line([cx, cy - 12 * s, cx + 2 * s, cy - 12 * s - wick], fill=(80, 60, 40, 255), width=s)
                sx, sy = cx + 2 * s, cy - 12 * s - wick
                r = (3 + n * 2) * s
                for k in range(8):
                    a = k * math.pi / 4 + n
                    d.line([sx, sy, sx + math.cos(a) * r, sy + math.sin(a) * r], fill=(255, 210, 60, 255),
                           width=s)
                d.ellipse([sx - 2 * s, sy - 2 * s, sx + 2 * s, sy + 2 * s], fill=(255, 250, 200, 255))
            else:
                r = (14 if n == 3 else 22) * s
                cy2 = 24 * s
                d.ellipse([cx - r, cy2 - r, cx + r, cy2 + r], fill=(230, 50, 30, 255))
                d.ellipse([cx - r * 0.65, cy2 - r * 0.65, cx + r * 0.65, cy2 + r * 0.65], fill=(255, 190, 50, 255))
                d.ellipse([cx - r * 0.3, cy2 - r * 0.3, cx + r * 0.3, cy2 + r * 0.3], fill=(255, 250, 210, 255))
        cell = gp.keyed_on(gp.supersample((48, 48), 3, painter), (150, 60, 30), 110)
        cell.putpixel((0, 0), KEY)
        strip.paste(cell, (n * 48, 0))
    return strip


def smoke_strip():
    strip = Image.new("RGB", (192, 24), KEY)
    for n in range(8):
        def painter(img, d, s, n=n):
            for k in range(3):
                t = (n / 8 + k / 3) % 1.0
                y = (20 - t * 18) * s
                x = (12 + math.sin(t * 6 + k) * 4) * s
                r = (2 + t * 4) * s
                g = int(150 + 80 * t)
                d.ellipse([x - r, y - r, x + r, y + r], fill=(g, g, g, 255))
        cell = gp.keyed_on(gp.supersample((24, 24), 3, painter), (120, 120, 120), 110)
        cell.putpixel((0, 0), KEY)
        strip.paste(cell, (n * 24, 0))
    return strip


def ember_strip():
    strip = Image.new("RGB", (48, 12), KEY)
    for n in range(4):
        def painter(img, d, s, n=n):
            r = (3.5 + (0, 1, 1.6, 0.8)[n]) * s
            c = 6 * s
            d.ellipse([c - r, c - r, c + r, c + r], fill=(255, 110, 20, 255))
            d.ellipse([c - r / 2, c - r / 2, c + r / 2, c + r / 2], fill=(255, 230, 140, 255))
        cell = gp.keyed_on(gp.supersample((12, 12), 4, painter), (160, 60, 20), 110)
        cell.putpixel((0, 0), KEY)
        strip.paste(cell, (n * 12, 0))
    return strip


def chest(open_step):
    """The treasure chest the quest's tiles fly out of: closed, ajar, open."""
    def painter(img, d, s):
        w, h = 120 * s, 90 * s
        wood, dark, gold = (130, 70, 30, 255), (70, 36, 14, 255), (220, 176, 70, 255)
        d.rounded_rectangle([10 * s, 44 * s, w - 10 * s, h - 4 * s], radius=4 * s, fill=wood,
                            outline=dark, width=2 * s)
        for x in (22 * s, w - 30 * s):
            d.rectangle([x, 44 * s, x + 8 * s, h - 4 * s], fill=gold)
        lift = (0, 12, 30)[open_step] * s
        if open_step:
            d.rectangle([14 * s, 38 * s, w - 14 * s, 48 * s], fill=(255, 220, 120, 255))
        d.rounded_rectangle([8 * s, 20 * s - lift, w - 8 * s, 46 * s - lift * 0.4], radius=12 * s,
                            fill=wood, outline=dark, width=2 * s)
        d.rectangle([52 * s, 38 * s - lift * 0.4, 68 * s, 54 * s], fill=gold)
        d.ellipse([57 * s, 44 * s, 63 * s, 50 * s], fill=dark)
    return gp.keyed_on(gp.supersample((120, 90), 2, painter), (80, 50, 30), 110)


def chest_lid():
    def painter(img, d, s):
        d.rounded_rectangle([0, 0, 120 * s - 1, 40 * s - 1], radius=12 * s, fill=(130, 70, 30, 255),
                            outline=(70, 36, 14, 255), width=2 * s)
        for x in (22, 90):
            d.rectangle([x * s, 0, (x + 8) * s, 40 * s], fill=(220, 176, 70, 255))
    return gp.keyed_on(gp.supersample((120, 40), 2, painter), (80, 50, 30), 110)


def ribbon(text, size):
    def painter(img, d, s):
        w, h = size[0] * s, size[1] * s
        d.polygon([(0, 6 * s), (30 * s, 6 * s), (30 * s, h - 2 * s), (0, h - 2 * s), (10 * s, h / 2 + 2 * s)],
                  fill=(130, 20, 20, 255))
        d.polygon([(w, 6 * s), (w - 30 * s, 6 * s), (w - 30 * s, h - 2 * s), (w, h - 2 * s),
                   (w - 10 * s, h / 2 + 2 * s)], fill=(130, 20, 20, 255))
        d.rectangle([24 * s, 2 * s, w - 24 * s, h - 6 * s], fill=(190, 30, 30, 255),
                    outline=(220, 176, 70, 255), width=s)
        gp.draw_text_centered(d, w / 2, h / 2 - 2 * s, text, gp.font(gp.FONT_SERIF_BOLD, 22 * s),
                              (240, 200, 90, 255), shadow=(60, 10, 10, 255), offset=(s, s))
    return gp.keyed_on(gp.supersample(size, 3, painter), (120, 30, 30), 110)


# ---- selection screen ------------------------------------------------------------------------

def cell_frame(state):
    """The selection cell: felt inset with a gold frame; 1 lit for the selected cell, 2 locked."""
    w, h = 232, 140
    felt_top, felt_bottom = (30, 90, 60), (18, 60, 40)
    frame = (200, 160, 70)
    if state == 1:
        felt_top, felt_bottom, frame = (56, 130, 90), (34, 96, 64), (255, 226, 120)
    elif state == 2:
        felt_top, felt_bottom, frame = (26, 26, 28), (14, 14, 16), (100, 90, 70)
    img = gp.vgradient(w, h, [(0, felt_top), (1, felt_bottom)])
    img = gp.add_grain(img, 400 + state, 6)
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, w - 1, h - 1], outline=(20, 10, 6), width=2)
    d.rectangle([2, 2, w - 3, h - 3], outline=frame, width=2)
    d.rectangle([5, 5, w - 6, h - 6], outline=gp.lerp(frame, (0, 0, 0), 0.5), width=1)
    if state == 2:
        cx, cy = w // 2, h // 2
        d.arc([cx - 9, cy - 20, cx + 9, cy - 2], 180, 360, fill=(150, 140, 120), width=4)
        d.rounded_rectangle([cx - 13, cy - 8, cx + 13, cy + 14], radius=3, fill=(150, 130, 80),
                            outline=(90, 80, 50))
        d.ellipse([cx - 3, cy - 1, cx + 3, cy + 5], fill=(40, 30, 20))
    return img


MODES = ["Expert", "Classic", "Hints", "Shuffle", "Peek", "Ghost"]


def mode_icon(n, state):
    """The picture on a mode tile, RGBA 40 x 40: the row's lantern emblem or a small tile
    showing what the mode does."""
    def painter(img, d, s):
        if n == 0:
            lantern = sprite_lantern().convert("RGB")
            img.paste(lantern.resize((26 * s, 39 * s), Image.LANCZOS).convert("RGBA"), (7 * s, 0),
                      gp.key_mask(lantern).resize((26 * s, 39 * s), Image.NEAREST))
            return
        w, h = 22 * s, 28 * s
        x0, y0 = 9 * s, 6 * s
        if n == 2:  # hints: the tile glows
            for k, a in ((6, 60), (4, 110), (2, 170)):
                d.rounded_rectangle([x0 - k * s, y0 - k * s, x0 + w + k * s, y0 + h + k * s],
                                    radius=(3 + k) * s, fill=(255, 220, 90, a))
        if n == 3:  # shuffle: a second tile behind and arrows circling both
            d.rounded_rectangle([x0 + 6 * s, y0 - 4 * s, x0 + w + 6 * s, y0 + h - 4 * s],
                                radius=3 * s, fill=(226, 214, 186, 255), outline=(120, 96, 60, 255),
                                width=s)
        if n == 5:  # ghost: only a dashed outline is left of the tile
            pts = [(x0, y0), (x0 + w, y0), (x0 + w, y0 + h), (x0, y0 + h), (x0, y0)]
            for (ax, ay), (bx, by) in zip(pts, pts[1:]):
                length = max(abs(bx - ax), abs(by - ay))
                for t in range(0, int(length), 6 * s):
                    u0, u1 = t / length, min(1.0, (t + 3 * s) / length)
                    d.line([ax + (bx - ax) * u0, ay + (by - ay) * u0, ax + (bx - ax) * u1,
                            ay + (by - ay) * u1], fill=(236, 226, 200, 255), width=2 * s)
            return
        d.rounded_rectangle([x0, y0, x0 + w, y0 + h], radius=3 * s, fill=(246, 240, 222, 255),
                            outline=(120, 96, 60, 255), width=s)
        if n == 1:
            face = tiles_art.painted("ivory")[31].resize((w - 4 * s, h - 4 * s), Image.LANCZOS)
            img.alpha_composite(face, (x0 + 2 * s, y0 + 2 * s))
        elif n == 2:
            face = tiles_art.painted("ivory")[4].resize((w - 4 * s, h - 4 * s), Image.LANCZOS)
            img.alpha_composite(face, (x0 + 2 * s, y0 + 2 * s))
        elif n == 3:
            cx, cy, r = x0 + w / 2 + 3 * s, y0 + h / 2, 15 * s
            for start in (200, 20):
                d.arc([cx - r, cy - r, cx + r, cy + r], start, start + 120, fill=(230, 120, 20, 255),
                      width=2 * s)
                t = math.radians(start + 120)
                tx, ty = cx + math.cos(t) * r, cy + math.sin(t) * r
                fx, fy = -math.sin(t), math.cos(t)
                nx, ny = math.cos(t), math.sin(t)
                d.polygon([(tx + fx * 5 * s, ty + fy * 5 * s), (tx + nx * 4 * s, ty + ny * 4 * s),
                           (tx - nx * 4 * s, ty - ny * 4 * s)], fill=(230, 120, 20, 255))
        elif n == 4:  # peek: a closed eye
            cx, cy = x0 + w / 2, y0 + h / 2
            d.arc([cx - 8 * s, cy - 8 * s, cx + 8 * s, cy + 4 * s], 20, 160, fill=(40, 30, 30, 255),
                  width=2 * s)
            for k in (-5, 0, 5):
                d.line([cx + k * s, cy + 3 * s, cx + k * 1.3 * s, cy + 7 * s], fill=(40, 30, 30, 255),
                       width=s)
    icon = gp.supersample((40, 40), 3, painter)
    if state == 3:
        grey = icon.convert("LA").convert("RGBA")
        grey.putalpha(icon.getchannel("A").point(lambda a: a * 6 // 10))
        icon = grey
    return icon


def mode_tile(n, row):
    """One play-mode tile, 120 x 48: rows plain, hovered, chosen (a bright gold frame) and
    disabled; the picture at the left, the mode's name beside it."""
    look = "classic"
    state = (0, 1, 0, 3)[row]
    base = button_look((120, 48), "", look, state).convert("RGBA")
    base.alpha_composite(mode_icon(n, state), (6, 4))
    d = ImageDraw.Draw(base)
    if row == 2:
        d.rounded_rectangle([2, 2, 117, 45], radius=7, outline=(255, 226, 120, 255), width=3)
    colour = {0: (252, 238, 206), 1: (255, 255, 240), 3: (186, 180, 172)}[state]
    if row == 2:
        colour = (255, 226, 120)
    # Centred on the font's own middle, not the letters' box, so every name shares a baseline
    # ("Expert" reaches below it).
    fnt = gp.font(gp.FONT_BOLD, 14)
    d.text((81, 25), MODES[n], font=fnt, fill=(20, 6, 4), anchor="mm")
    d.text((80, 24), MODES[n], font=fnt, fill=colour, anchor="mm")
    out = base.convert("RGB")
    # The rounded corners stay exactly on the key.
    ref = button_look((120, 48), "", look, state)
    return Image.composite(out, ref, gp.key_mask(ref))


def modes_sheet():
    img = Image.new("RGB", (720, 192), KEY)
    for row in range(4):
        for n in range(6):
            img.paste(mode_tile(n, row), (n * 120, row * 48))
    return img


def panel_decoration():
    """Painted into the selection panel at its top-left: a faint gold lattice border 6 px in from
    the edges and cloud scrolls in the corners; the key everywhere else."""
    w, h = 760, 480
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    gold, faint = (214, 172, 74, 255), (150, 116, 50, 255)
    d.rectangle([6, 6, w - 7, h - 7], outline=gold, width=2)
    d.rectangle([12, 12, w - 13, h - 13], outline=faint, width=1)
    # A fret between the two lines.
    for x in range(16, w - 16, 12):
        d.line([x, 8, x + 4, 11], fill=faint)
        d.line([x, h - 9, x + 4, h - 12], fill=faint)
    for y in range(16, h - 16, 12):
        d.line([8, y, 11, y + 4], fill=faint)
        d.line([w - 9, y, w - 12, y + 4], fill=faint)
    for (cx, cy) in ((40, 36), (w - 40, 36), (40, h - 30), (w - 40, h - 30)):
        cloud_scroll(d, cx, cy, 9, gold, 2)
    return gp.keyed_on(img, (90, 20, 18), 110)


def cloud_band():
    """A gold cloud-scroll band painted behind the first row of cells."""
    def painter(img, d, s):
        w, h = 300 * s, 60 * s
        d.line([10 * s, h / 2, w - 10 * s, h / 2], fill=(214, 172, 74, 255), width=2 * s)
        d.line([30 * s, h / 2 + 6 * s, w - 30 * s, h / 2 + 6 * s], fill=(150, 116, 50, 255), width=s)
        for k, x in enumerate(range(40, 300, 55)):
            cloud_scroll(d, x * s, (h / 2) - 8 * s, 9 * s, (214, 172, 74, 255), 2 * s)
    return gp.keyed_on(gp.supersample((300, 60), 2, painter), (90, 20, 18), 110)


def panel_skin(look):
    """A 3 x 3 skin of 24 x 24 frames: lacquer with a thin gold border that tiles seamlessly."""
    lk = LOOKS[look]
    t = 24
    img = Image.new("RGB", (t * 3, t * 3), lk["bottom"])
    grain = gp.add_grain(Image.new("RGB", (t, t), gp.lerp(lk["top"], lk["bottom"], 0.6)), 420, 5)
    for y in range(3):
        for x in range(3):
            img.paste(grain, (x * t, y * t))
    d = ImageDraw.Draw(img)
    size = t * 3
    # Rounded outer corners on the key, then the gold lines at fixed offsets through the edges.
    mask = Image.new("L", (size * 4, size * 4), 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, size * 4 - 1, size * 4 - 1], radius=40, fill=255)
    mask = mask.resize((size, size), Image.LANCZOS).point(lambda a: 255 if a >= 128 else 0)
    keyed = Image.new("RGB", (size, size), KEY)
    keyed.paste(img, (0, 0), mask)
    img = keyed
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([3, 3, size - 4, size - 4], radius=8, outline=lk["gold"], width=2)
    d.rounded_rectangle([7, 7, size - 8, size - 8], radius=5, outline=lk["gold_lo"], width=1)
    return img


def miniature(picture, size=(220, 128)):
    return picture.resize(size, Image.LANCZOS)


# ---- progress map ----------------------------------------------------------------------------

def paper(w, h, seed):
    img = gp.vgradient(w, h, [(0, (236, 220, 180)), (1, (220, 198, 150))])
    img = gp.add_grain(img, seed, 4, scale=30)
    img = gp.add_grain(img, seed + 1, 6)
    return vignette(img, 0.3, (0.5, 0.5))


# Footstep places on the map (top-left of each 24 x 24 mark), from the lake to the temple.
MAP_STEPS = [(92, 512), (150, 470), (214, 446), (280, 420), (330, 372), (392, 330), (452, 296),
             (520, 262), (586, 220), (640, 168), (700, 112)]
MAP_REGIONS = [(60, 330), (420, 110)]  # top-left of each 320 x 200 coloured region
# The game writes bare numbers on the map (the look files' MapScore1..3 and MapAchieved at x 170,
# the rows' tops below); the captions saying what each one is are inked here, left of them.
MAP_TEXT_ROWS = [(152, "This board"), (182, "Total"), (212, "Best"), (242, "Held by")]


def map_captions(img, d, ink):
    """The heading's underline and the captions of the score lines, in the map's ink."""
    d.line([60, 142, 330, 142], fill=ink, width=1)
    for x in (60, 330):
        d.polygon([(x - 4, 142), (x, 139), (x + 4, 142), (x, 145)], fill=ink)
    # The game's 18 px sans numbers stand on a baseline 17 px below their row's top. The
    # captions lean as a hand would write them: the upright serif sheared, since the italic cut
    # is not in the font package the build installs.
    fnt = gp.font("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", 17)
    baseline, lean = 22, 0.2
    for top, text in MAP_TEXT_ROWS:
        mask = Image.new("L", (200, 30), 0)
        ImageDraw.Draw(mask).text((4, baseline), text, font=fnt, fill=255, anchor="ls")
        mask = mask.transform(mask.size, Image.AFFINE, (1, lean, -lean * baseline, 0, 1, 0),
                              resample=Image.BICUBIC)
        img.paste(ink, (56, top + 17 - baseline), mask)


def spirit_map(coloured=False, box=None):
    """The quest's land as an ink drawing on old paper: a lake in the lower left, a river, rice
    terraces, a forest, mountains and the temple on a peak in the upper right, with the trail of
    the footsteps; the upper left stays plain for the texts. The coloured version is the same
    drawing washed with colour, from which each region is cut."""
    w, h = 800, 600
    img = paper(w, h, 500)
    d = ImageDraw.Draw(img)
    ink = (70, 50, 30)

    def wash(colour, plain=None):
        return colour if coloured else plain

    # Soft washes of the land under the ink: meadows by the lake, the valley, the foothills.
    land = img.copy()
    mask = Image.new("L", (w, h), 0)
    ld, md = ImageDraw.Draw(land), ImageDraw.Draw(mask)
    for (area, colour, plain, strength) in [
            ([0, 400, 420, 600], (126, 168, 92), (214, 192, 140), 150),
            ([150, 300, 470, 480], (104, 150, 80), (208, 184, 132), 140),
            ([380, 120, 800, 360], (150, 140, 120), (204, 182, 138), 120)]:
        ld.ellipse(area, fill=colour if coloured else plain)
        md.ellipse(area, fill=strength)
    for _ in range(3):
        mask = mask.filter(ImageFilter.BoxBlur(24))
        land = land.filter(ImageFilter.BoxBlur(24))
    img = Image.composite(land, img, mask)
    img = gp.add_grain(img, 502, 3, scale=8)
    d = ImageDraw.Draw(img)

    # The lake.
    d.ellipse([20, 470, 200, 580], fill=wash((110, 160, 200), (226, 210, 170)), outline=ink, width=2)
    for k in range(4):
        d.arc([50 + k * 25, 500 + k * 12, 120 + k * 25, 520 + k * 12], 200, 340, fill=ink)
    # The river from the lake up toward the mountains.
    river = [(150 + t * 3.2, 500 - t * 1.7 + 14 * math.sin(t / 9)) for t in range(0, 130, 2)]
    d.line(river, fill=wash((90, 140, 190), ink), width=9)
    d.line(river, fill=wash((150, 190, 220), (232, 218, 180)), width=5)
    # Rice terraces beside the river.
    for k in range(6):
        y = 420 + k * 10
        d.arc([170, y - 30, 330, y + 30], 200, 340, fill=wash((90, 150, 60), ink), width=2)
    # The forest.
    rng = random.Random(501)
    trees = sorted((rng.uniform(240, 380), rng.uniform(350, 440)) for _ in range(46))
    for x, y in sorted(trees, key=lambda p: p[1]):
        d.line([x, y + 4, x, y + 8], fill=ink, width=2)
        for tier in range(3):
            ty, tw = y - 13 + tier * 5, 4 + tier * 1.6
            d.polygon([(x, ty), (x - tw, ty + 7), (x + tw, ty + 7)],
                      fill=wash((44 + tier * 10, 112 + tier * 8, 58), (206, 184, 136)),
                      outline=ink)
            d.line([x, ty + 1, x + tw - 1, ty + 6], fill=wash((30, 84, 44), (180, 156, 112)))
    # Mountains across the upper right, the highest carrying the temple.
    peaks = [(440, 290, 40), (500, 260, 50), (570, 280, 44), (620, 230, 56), (700, 170, 70),
             (760, 240, 46), (470, 200, 36), (560, 180, 42), (650, 300, 38)]
    for (x, y, r) in sorted(peaks, key=lambda p: p[1]):
        top, base = (x, y - r * 0.7), y + r * 0.7
        ridge = (x - r * 0.3, base)
        # A lit face toward the morning light on the left, a shaded one on the right, brushed
        # hatching in the shade.
        d.polygon([(x - r, base), top, ridge], fill=wash((156, 146, 164), (228, 212, 172)))
        d.polygon([ridge, top, (x + r, base)], fill=wash((104, 96, 124), (200, 178, 136)))
        for k in range(1, 5):
            t = k / 5
            d.line([top[0] + (x + r - top[0]) * t * 0.6, top[1] + (base - top[1]) * t * 0.6,
                    ridge[0] + (x + r - ridge[0]) * t, base - 2],
                   fill=wash((88, 80, 108), (176, 152, 112)), width=1)
        d.line([(x - r, base), top, (x + r, base)], fill=ink, width=2)
        d.line([top, ridge], fill=ink)
        d.polygon([(x - r * 0.22, y - r * 0.4), top, (x + r * 0.22, y - r * 0.4),
                   (x + r * 0.05, y - r * 0.33), (x - r * 0.08, y - r * 0.42)],
                  fill=wash((244, 244, 250), (244, 234, 206)))
    pagoda(d, 712, 122, 0.55, wash((170, 40, 30), ink))
    # The trail the footsteps follow.
    centres = [(x + 12, y + 12) for x, y in MAP_STEPS]
    for (ax, ay), (bx, by) in zip(centres, centres[1:]):
        steps = int(math.hypot(bx - ax, by - ay) / 8)
        for k in range(steps):
            t = k / steps
            x, y = ax + (bx - ax) * t, ay + (by - ay) * t
            d.ellipse([x - 1.2, y - 1.2, x + 1.2, y + 1.2], fill=(150, 40, 30))
    # A compass rose in the lower right.
    cx, cy = 720, 520
    for a in range(0, 360, 45):
        r = 34 if a % 90 == 0 else 18
        t = math.radians(a)
        d.line([cx, cy, cx + math.cos(t) * r, cy + math.sin(t) * r], fill=(150, 40, 30), width=2)
    d.ellipse([cx - 4, cy - 4, cx + 4, cy + 4], fill=(150, 40, 30))
    # A frame of double ink lines.
    d.rectangle([8, 8, w - 9, h - 9], outline=ink, width=2)
    d.rectangle([14, 14, w - 15, h - 15], outline=ink, width=1)
    # Drawn on both versions, so the coloured regions cut from this one keep them.
    map_captions(img, d, ink)
    # Ink bleeds a little into the paper.
    img = Image.blend(img, img.filter(ImageFilter.GaussianBlur(1.2)), 0.45)
    img = gp.add_grain(img, 503, 3)
    if box:
        return img.crop(box)
    return img


def map_roll():
    def painter(img, d, s):
        w, h = 60 * s, 600 * s
        paper_col = gp.vgradient(40 * s, h, [(0, (230, 214, 176)), (1, (210, 190, 146))])
        shade = Image.new("L", (40 * s, 1))
        for x in range(40 * s):
            t = x / (40 * s)
            shade.putpixel((x, 0), int(255 * (0.55 + 0.45 * math.sin(t * math.pi))))
        shade = shade.resize((40 * s, h))
        paper_col = ImageChops.multiply(paper_col, Image.merge("RGB", (shade, shade, shade)))
        body = Image.new("RGBA", (40 * s, h - 24 * s))
        body.paste(paper_col.crop((0, 0, 40 * s, h - 24 * s)).convert("RGBA"))
        img.paste(body, (10 * s, 12 * s))
        for y in (0, h - 12 * s):
            d.rounded_rectangle([0, y, w - 1, y + 12 * s], radius=5 * s, fill=(110, 60, 26, 255),
                                outline=(60, 30, 10, 255), width=s)
            d.ellipse([w / 2 - 4 * s, y + 2 * s, w / 2 + 4 * s, y + 10 * s], fill=(220, 176, 70, 255))
    return gp.keyed_on(gp.supersample((60, 600), 2, painter), (120, 90, 50), 110)


def footstep(n):
    def painter(img, d, s):
        if n in (5, 10):
            d.rounded_rectangle([3 * s, 3 * s, 21 * s, 21 * s], radius=3 * s, fill=(190, 30, 30, 255))
            d.rectangle([7 * s, 7 * s, 17 * s, 17 * s], outline=(250, 220, 200, 255), width=s)
            d.line([12 * s, 7 * s, 12 * s, 17 * s], fill=(250, 220, 200, 255), width=s)
        elif n == 11:
            pts = []
            for k in range(10):
                a = k * math.pi / 5 - math.pi / 2
                r = (10 if k % 2 == 0 else 4.2) * s
                pts.append((12 * s + math.cos(a) * r, 12.5 * s + math.sin(a) * r))
            d.polygon(pts, fill=(236, 186, 40, 255), outline=(140, 90, 10, 255))
        else:
            for (x, y) in ((8, 10), (16, 15)):
                d.ellipse([(x - 3) * s, (y - 6) * s, (x + 3) * s, (y + 3) * s], fill=(170, 30, 30, 255))
                d.ellipse([(x - 2) * s, (y + 3) * s, (x + 2) * s, (y + 7) * s], fill=(170, 30, 30, 255))
    img = gp.keyed_on(gp.supersample((24, 24), 4, painter), (200, 150, 120), 110)
    img.putpixel((0, 0), KEY)
    return img


# ---- writing everything ----------------------------------------------------------------------

BUTTONS = [("btn_menu", "Menu"), ("btn_new", "New"), ("btn_replay", "Restart"),
           ("btn_undo", "Undo"), ("btn_hint", "Hint"), ("btn_pause", "Pause")]

CLASSIC_BGS = [
    lambda: felt((26, 92, 62), (58, 140, 96), 600),
    lambda: felt((18, 70, 72), (40, 110, 110), 610, lattice_pattern((80, 150, 150), 28, 70)),
    lambda: felt((64, 84, 36), (120, 140, 70), 620),
    lambda: felt((12, 74, 50), (30, 120, 80), 630, cloud_pattern((60, 150, 110), 631)),
]
LOGIC_BGS = [
    lambda: night((8, 14, 50), (26, 50, 120), 700, lambda img, s: stars(img, s)),
    lambda: night((10, 16, 46), (20, 36, 96), 710, waves),
    lambda: night((30, 20, 80), (50, 40, 120), 720, hexes),
    lambda: night((40, 40, 110), (120, 90, 160), 730, soft_clouds),
]


def write_all(out):
    black = Image.new("RGB", (800, 600), (0, 0, 0))
    gp.save_png(black, out, "images/blackback.png")
    empty = gp.vgradient(800, 600, [(0, (30, 40, 36)), (1, (12, 18, 16))])
    gp.save_png(gp.add_grain(empty, 800, 3), out, "images/empty_bg.png")

    classic = [make() for make in CLASSIC_BGS]
    logic = [make() for make in LOGIC_BGS]
    for n, img in enumerate(classic):
        gp.save_jpg(img, out, "images/classic/bg%d.jpg" % n)
    for n, img in enumerate(logic):
        gp.save_jpg(img, out, "images/logic/bg%d.jpg" % n)
    scenes = [landscape(spec) for spec in SCENES]
    for n, img in enumerate(scenes):
        gp.save_jpg(img, out, "images/quest/scene%02d.jpg" % n)

    gp.save_png(layer_hills(), out, "images/quest/hills.png")
    gp.save_png(layer_peaks(), out, "images/quest/peaks.png")
    gp.save_png(layer_pines(), out, "images/quest/pines.png")
    gp.save_png(layer_mist(), out, "images/quest/mist.png")
    gp.save_png(layer_pagoda(), out, "images/quest/pagoda.png")
    gp.save_png(layer_bridge(), out, "images/quest/bridge.png")
    gp.save_png(sprite_spirit(), out, "images/quest/spirit.png")
    gp.save_png(sprite_lantern(), out, "images/quest/lantern.png")
    gp.save_png(sprite_cranes(), out, "images/quest/cranes.png")
    gp.save_png(sprite_sunglow(), out, "images/quest/sunglow.png")
    gp.save_png(brush_title("The Journey Ends", (500, 80)), out, "images/quest/title_end.png")

    for look in LOOKS:
        gp.save_png(bar(look, False), out, "images/%s/top.png" % look)
        gp.save_png(bar(look, True), out, "images/%s/bottom.png" % look)
        gp.save_png(rim(look), out, "images/%s/rim.png" % look)
        gp.save_png(tray(look), out, "images/%s/tray.png" % look)
        gp.save_png(fuse_cord(look), out, "images/%s/fuse.png" % look)
        for name, label in BUTTONS:
            gp.save_png(button_sheet(label, look), out, "images/%s/%s.png" % (look, name))
    gp.save_png(smoke_strip(), out, "images/zorvy/smoke.png")
    gp.save_png(ember_strip(), out, "images/zorvy/ember.png")
    case = Image.new("RGB", (360, 90), KEY)
    for n in range(3):
        case.paste(chest(n), (n * 120, 0))
    gp.save_png(case, out, "images/zorvy/case.png")
    gp.save_png(chest_lid(), out, "images/zorvy/case_on_top.png")
    gp.save_png(ribbon("Replay", (300, 40)), out, "images/zorvy/replay_mode.png")
    gp.save_png(timer_trick("classic"), out, "images/TimerTrickClassic.png")
    gp.save_gif(timer_trick("zorvy"), out, "images/TimerTrick.gif")
    gp.save_png(timer_ending(), out, "images/TimerEnding.png")
    gp.save_png(plate((220, 60), "classic", 10, "Time Bonus", 20).convert("RGB"), out,
                "images/MiniTimerBonus.png")

    gp.save_png(cell_frame(0), out, "images/MiniBackground.png")
    gp.save_png(cell_frame(1), out, "images/MiniBackgroundBright.png")
    gp.save_png(cell_frame(2), out, "images/MiniBackgroundDark.png")
    gp.save_png(gp.keyed_on(plate((180, 26), "classic", 6), (90, 20, 18), 110), out,
                "images/SmallFancy.png")
    gp.save_png(modes_sheet(), out, "images/Modes.png")
    gp.save_png(panel_decoration(), out, "images/modeBG.png")
    gp.save_png(cloud_band(), out, "images/tckj9j17c57.png")
    gp.save_png(panel_skin("classic"), out, "images/select/panel.png")
    gp.save_png(arrow_sheet(True, "classic"), out, "images/select/left.png")
    gp.save_png(arrow_sheet(False, "classic"), out, "images/select/right.png")
    for name, label in (("play", "Play"), ("movie", "Watch"), ("cancel", "Cancel")):
        gp.save_png(button_sheet(label, "classic", (120, 40), 16), out, "images/select/%s.png" % name)
    gp.save_png(gp.keyed_on(plate((220, 30), "classic", 8), (90, 20, 18), 110), out,
                "images/select/levelplate.png")
    for n, img in enumerate(classic):
        gp.save_jpg(miniature(img), out, "images/cell_pc_%d.jpg" % (n + 1))
    quarters = Image.new("RGB", (800, 450))
    for n, img in enumerate(classic):
        quarters.paste(img.resize((400, 225), Image.LANCZOS), ((n % 2) * 400, (n // 2) * 225))
    gp.save_jpg(miniature(quarters), out, "images/cell_pc_5.jpg")
    for n, scene in enumerate((1, 2, 4, 6, 9)):
        gp.save_jpg(miniature(scenes[scene]), out, "images/cell%d.jpg" % (n + 1))
    # Acts II and III of the movies page: the journey seen back from the far bank (mirrored),
    # and at last light (mirrored, washed with evening gold).
    for n, scene in enumerate((0, 3, 5, 7, 8)):
        gp.save_jpg(miniature(scenes[scene].transpose(Image.FLIP_LEFT_RIGHT)), out,
                    "images/cell%d.jpg" % (n + 6))
    evening = Image.new("RGB", (W, H), (250, 170, 80))
    for n, scene in enumerate((2, 4, 6, 8, 9)):
        dusk = Image.blend(scenes[scene].convert("RGB").transpose(Image.FLIP_LEFT_RIGHT),
                           evening, 0.28)
        gp.save_jpg(miniature(dusk), out, "images/cell%d.jpg" % (n + 11))

    gp.save_jpg(spirit_map(), out, "images/spiritmap.jpg")
    gp.save_png(map_roll(), out, "images/map_roll.png")
    for n, (x, y) in enumerate(MAP_REGIONS):
        gp.save_jpg(spirit_map(True, (x, y, x + 320, y + 200)), out,
                    "images/map_level%d_color.jpg" % (n + 1))
    for n in range(1, 12):
        gp.save_gif(footstep(n), out, "images/map_step0%d.gif" % n)


# ---- dialogs of a running game ---------------------------------------------------------------

MENU_BUTTONS = [("menu_mainmenu", "Main Menu"), ("menu_options", "Options"), ("menu_rules", "Rules"),
                ("menu_replay", "Replay a Board"), ("menu_movie", "Watch a Movie"),
                ("menu_board", "Choose a Board"), ("menu_scene", "Choose a Scene"),
                ("menu_resume", "Resume"), ("menu_quit", "Quit")]


def radio_sheet():
    """Radio buttons, 20 x 20: empty ring, ring with a gold dot, and both greyed."""
    sheet = Image.new("RGB", (80, 20), KEY)
    for n, (ring, dot) in enumerate((((214, 172, 74), None), ((214, 172, 74), (250, 214, 110)),
                                     ((130, 124, 118), None), ((130, 124, 118), (170, 164, 156)))):
        def painter(img, d, s, ring=ring, dot=dot):
            d.ellipse([2 * s, 2 * s, 18 * s, 18 * s], fill=(60, 12, 12, 255), outline=ring + (255,),
                      width=2 * s)
            if dot:
                d.ellipse([6.5 * s, 6.5 * s, 13.5 * s, 13.5 * s], fill=dot + (255,))
        cell = gp.keyed_on(gp.supersample((20, 20), 4, painter), (90, 20, 18), 110)
        sheet.paste(cell, (n * 20, 0))
    return sheet


def rules_card(painter):
    """One picture of a rules page, 160 x 200: a dark card with a thin gold line; the painter
    puts the page's pictures on it."""
    card = Image.new("RGBA", (160, 200), (0, 0, 0, 0))
    d = ImageDraw.Draw(card)
    d.rounded_rectangle([0, 0, 159, 199], radius=12, fill=(48, 14, 12, 255),
                        outline=(214, 172, 74, 255), width=2)
    painter(card, d)
    return gp.keyed_on(card, (90, 20, 18), 128)


def tiles_at(card, faces, y, scale=1.0, gap=4):
    tiles = [tiles_art.whole_tile(f) for f in faces]
    if scale != 1.0:
        tiles = [t.resize((int(t.width * scale), int(t.height * scale)), Image.LANCZOS) for t in tiles]
    total = sum(t.width for t in tiles) + gap * (len(tiles) - 1)
    x = (card.width - total) // 2
    for t in tiles:
        card.alpha_composite(t, (x, y))
        x += t.width + gap


def caption(d, y, text, size=15, colour=(250, 226, 150)):
    gp.draw_text_centered(d, 80, y, text, gp.font(gp.FONT_BOLD, size), colour, shadow=(10, 2, 2),
                          offset=(1, 1))


def rules_strip(pages):
    strip = Image.new("RGB", (160 * len(pages), 200), KEY)
    for n, painter in enumerate(pages):
        strip.paste(rules_card(painter), (n * 160, 0))
    return strip


def show_tiles(*rows, scale=1.0):
    """A page picture of one or more rows of tiles, centred above the caption."""
    def paint(card, d):
        step = int(tiles_art.TILE_H * scale) + 2
        y = (130 - step * len(rows)) // 2 + 4
        for faces in rows:
            tiles_at(card, faces, y, scale, 2 if scale < 1 else 4)
            y += step
    return paint


def show_cord(look):
    def paint(card, d):
        cord = fuse_cord(look).crop((0, 0, 140, 24))
        card.paste(cord, (10, 62), gp.key_mask(cord))
    return paint


def show_points(card, d):
    gp.draw_text_centered(d, 80, 72, "+25", gp.font(gp.FONT_SERIF_BOLD, 52), (250, 214, 110),
                          shadow=(10, 2, 2), offset=(2, 2))


def show_buttons(card, d):
    for n, label in enumerate(("Hint", "Undo")):
        look = button_look((100, 36), label, "classic", 0)
        card.paste(look, (30, 30 + n * 50), gp.key_mask(look))


def show_spirit(card, d):
    card.alpha_composite(sprite_spirit().resize((72, 96), Image.LANCZOS), (44, 20))


def show_film(card, d):
    d.rectangle([20, 40, 140, 110], fill=(20, 20, 20, 255))
    for x in range(26, 136, 14):
        d.rectangle([x, 44, x + 7, 50], fill=(220, 210, 190, 255))
        d.rectangle([x, 100, x + 7, 106], fill=(220, 210, 190, 255))
    for n in range(3):
        d.rectangle([28 + n * 38, 54, 58 + n * 38, 96], fill=(90 + n * 40, 120, 170 - n * 30, 255))


def page(picture, line1, line2):
    """A rules page: a picture in the upper part of the card and two lines of caption."""
    def paint(card, d):
        picture(card, d)
        caption(d, 150, line1)
        caption(d, 172, line2, 13)
    return paint


PAIR_PAGE = page(show_tiles([31, 31]), "Match two", "free tiles")
RULES_PAGES = {
    "images/rules/rules_puzzle.png": [
        PAIR_PAGE,
        page(show_cord("classic"), "The fuse burns:", "beat the clock"),
        page(show_tiles([42, 48, 58], [49, 50, 54], scale=0.62), "Special tiles", "have powers"),
        page(show_tiles([45, 48]), "Fuses burn", "brick walls"),
        page(show_tiles([47, 46, 57], scale=0.8), "Step a tile", "up or down"),
        page(show_tiles([49, 54, 50], scale=0.8), "Clone, swap", "or scatter"),
        page(show_tiles([58, 59]), "Magnets pull", "tiles to them"),
    ],
    "images/rules/rules_classic.png": [
        PAIR_PAGE,
        page(show_tiles([4, 13, 22], scale=0.8), "Three suits:", "dots, bamboo, signs"),
        page(show_points, "Quick matches", "score more"),
        page(show_cord("classic"), "The fuse burns:", "beat the clock"),
        page(show_buttons, "Ask for a hint", "or take back"),
    ],
    "images/rules/rules_quest.png": [
        page(show_spirit, "Guide the spirit", "home"),
        PAIR_PAGE,
        page(show_tiles([42, 42]), "Yin and Yang", "clear the board"),
        page(show_cord("zorvy"), "Incense burns:", "beat the clock"),
        page(show_tiles([57]), "Use a power", "then a target"),
        page(show_film, "Watch the", "movies again"),
    ],
}


def write_dialogs(out, button_sheet):
    """The in-game menu's buttons in the dialog style (drawn by the caller's button_sheet), the
    rules' page buttons, radio buttons and the pictures of the rules pages."""
    for name, label in MENU_BUTTONS:
        button_sheet(out, "images/dialog/%s.png" % name, label, 180, 32)
    button_sheet(out, "images/dialog/nextbutton.png", "Next", 90, 32)
    button_sheet(out, "images/dialog/prevbutton.png", "Back", 90, 32)
    gp.save_png(radio_sheet(), out, "images/dialog/radio.png")
    for rel, pages in RULES_PAGES.items():
        gp.save_png(rules_strip(pages), out, rel)
