"""Painting helpers shared by the game's picture modules: saving with fixed settings, gradients,
seeded grain, keyed sprites and text. Everything here is deterministic."""
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

KEY = (255, 0, 255)

FONT_CJK = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
FONT_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"

_fonts = {}


def font(path, size):
    key = (path, size)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(path, size)
    return _fonts[key]


def _target(out, rel):
    path = os.path.join(out, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def save_png(img, out, rel):
    # No metadata and fixed compression, so rebuilding gives the same bytes.
    img.save(_target(out, rel), format="PNG", optimize=False, compress_level=9)


def save_jpg(img, out, rel, quality=92):
    img.convert("RGB").save(_target(out, rel), format="JPEG", quality=quality, subsampling=0,
                            optimize=False, progressive=False)


def save_gif(img, out, rel):
    """Saves an RGB picture as a GIF with an adaptive palette; key pixels stay exact because the
    palette is built from the picture's own colours."""
    rgb = img.convert("RGB")
    pal = rgb.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal.save(_target(out, rel), format="GIF", optimize=False)


def keyed(rgba, threshold=128):
    """Flattens an RGBA picture onto the colour key: pixels below the alpha threshold become the
    key exactly and the rest become opaque, so no pixel is ever blended into the key."""
    rgb = Image.new("RGB", rgba.size, KEY)
    alpha = rgba.getchannel("A").point(lambda a: 255 if a >= threshold else 0)
    rgb.paste(rgba.convert("RGB"), (0, 0), alpha)
    return rgb


def keyed_on(rgba, matte, threshold=100):
    """As keyed, but semi-transparent edge pixels are first blended over a matte colour close to
    what the picture will stand on, which keeps edges smooth without any pink fringe."""
    base = Image.new("RGBA", rgba.size, matte + (255,))
    base.alpha_composite(rgba)
    rgb = Image.new("RGB", rgba.size, KEY)
    alpha = rgba.getchannel("A").point(lambda a: 255 if a >= threshold else 0)
    rgb.paste(base.convert("RGB"), (0, 0), alpha)
    return rgb


def key_mask(img):
    """An L mask of a keyed picture: 0 where it holds the key exactly, 255 elsewhere."""
    diff = ImageChops.difference(img.convert("RGB"), Image.new("RGB", img.size, KEY))
    r, g, b = diff.split()
    return ImageChops.lighter(ImageChops.lighter(r, g), b).point(lambda v: 255 if v else 0)


def unkeyed(img):
    """A keyed picture as RGBA, its key pixels fully transparent."""
    rgba = img.convert("RGBA")
    rgba.putalpha(key_mask(img))
    return rgba


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vgradient(w, h, stops):
    """A vertical gradient through colour stops [(t, colour), ...] with t from 0 to 1; stops of
    one value, such as (170,), give a grey ("L") gradient."""
    grey = len(stops[0][1]) == 1
    col = Image.new("L" if grey else "RGB", (1, h))
    px = col.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for n in range(len(stops) - 1):
            t0, c0 = stops[n]
            t1, c1 = stops[n + 1]
            if t <= t1 or n == len(stops) - 2:
                u = 0.0 if t1 == t0 else min(1.0, max(0.0, (t - t0) / (t1 - t0)))
                value = lerp(c0, c1, u)
                # An RGB picture given one value would fill only its red channel.
                px[0, y] = value[0] if grey else value
                break
    return col.resize((w, h), Image.NEAREST)


def radial(w, h, cx, cy, radius, inner, outer):
    """A soft radial glow: inner colour at (cx, cy) fading to outer at radius."""
    small = 64
    mask = Image.new("L", (small, small), 0)
    px = mask.load()
    for y in range(small):
        for x in range(small):
            dx = (x + 0.5) / small * 2 - 1
            dy = (y + 0.5) / small * 2 - 1
            d = min(1.0, (dx * dx + dy * dy) ** 0.5)
            px[x, y] = int(255 * (1 - d) ** 1.6)
    mask = mask.resize((int(radius * 2), int(radius * 2)), Image.BILINEAR)
    layer = Image.new("RGB", (w, h), outer)
    full = Image.new("L", (w, h), 0)
    full.paste(mask, (int(cx - radius), int(cy - radius)))
    layer.paste(Image.new("RGB", (w, h), inner), (0, 0), full)
    return layer, full


def grain(w, h, seed, amount, scale=1):
    """Seeded noise as an L picture around 128 (plus or minus amount), optionally softened by
    drawing it small and scaling it up."""
    rng = random.Random(seed)
    sw, sh = max(1, w // scale), max(1, h // scale)
    noise = Image.frombytes("L", (sw, sh), rng.randbytes(sw * sh))
    noise = noise.point(lambda v: 128 + (v - 128) * amount // 128)
    if scale > 1:
        noise = noise.resize((w, h), Image.BICUBIC).filter(ImageFilter.GaussianBlur(scale / 2))
        # Blurring flattens the noise: stretch it back to the asked amount.
        noise = noise.point(lambda v: max(0, min(255, 128 + (v - 128) * 3)))
    return noise


def add_grain(img, seed, amount, scale=1):
    """Adds signed grain to every channel of an RGB picture."""
    noise = grain(img.width, img.height, seed, amount, scale).convert("RGB")
    lighter = ImageChops.subtract(noise, Image.new("RGB", img.size, (128, 128, 128)))
    darker = ImageChops.subtract(Image.new("RGB", img.size, (128, 128, 128)), noise)
    return ImageChops.subtract(ImageChops.add(img, lighter), darker)


def shade(img, factor, tint=(0, 0, 0)):
    """Blends a picture towards a tint colour; factor 0 keeps it, 1 gives the tint."""
    return Image.blend(img.convert("RGB"), Image.new("RGB", img.size, tint), factor)


def text_size(draw, text, fnt):
    box = draw.textbbox((0, 0), text, font=fnt)
    return box[2] - box[0], box[3] - box[1], box


def draw_text_centered(draw, cx, cy, text, fnt, fill, shadow=None, offset=(1, 1), stroke=0,
                       stroke_fill=None):
    w, h, box = text_size(draw, text, fnt)
    x = cx - w / 2 - box[0]
    y = cy - h / 2 - box[1]
    if shadow is not None:
        draw.text((x + offset[0], y + offset[1]), text, font=fnt, fill=shadow,
                  stroke_width=stroke, stroke_fill=shadow)
    draw.text((x, y), text, font=fnt, fill=fill, stroke_width=stroke,
              stroke_fill=stroke_fill if stroke_fill is not None else fill)


def soft_shadow(mask, blur, opacity):
    """A blurred dark shadow from an L mask."""
    sh = mask.filter(ImageFilter.GaussianBlur(blur))
    return sh.point(lambda a: int(a * opacity))


def supersample(size, scale, painter, mode="RGBA", background=(0, 0, 0, 0)):
    """Paints at scale times the size and scales down for smooth, crisp edges."""
    big = Image.new(mode, (size[0] * scale, size[1] * scale), background)
    painter(big, ImageDraw.Draw(big), scale)
    return big.resize(size, Image.LANCZOS)
