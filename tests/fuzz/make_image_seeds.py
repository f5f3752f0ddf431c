#!/usr/bin/python3
"""Makes the image fuzzer's seeds in corpus/image: one tiny picture of every kind SDL_image can
read (run with Debian's /usr/bin/python3 and PIL). The kinds PIL does not write are put together
byte by byte."""
import os
import struct

from PIL import Image

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "image")
W, H = 4, 4
COLOURS = [(200, 40, 40), (40, 200, 40), (40, 40, 200), (250, 250, 250)]


def picture():
    img = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            img.putpixel((x, y), COLOURS[(x + y) % 4])
    return img


def put(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def with_pil():
    img = picture()
    img.save(os.path.join(OUT, "seed.png"))
    img.save(os.path.join(OUT, "seed.jpg"), quality=90)
    img.convert("P", palette=Image.Palette.ADAPTIVE, colors=4).save(os.path.join(OUT, "seed.gif"))
    img.save(os.path.join(OUT, "seed.bmp"))
    img.save(os.path.join(OUT, "seed.pcx"))
    img.save(os.path.join(OUT, "seed.ppm"))
    img.convert("L").save(os.path.join(OUT, "seed.pgm"))
    img.save(os.path.join(OUT, "seed.tga"), rle=True)
    img.save(os.path.join(OUT, "seed.tif"), compression=None)
    # Lossy: the reader knows no lossless WEBP.
    img.save(os.path.join(OUT, "seed.webp"), quality=90)


def dib():
    """A 32-bit bottom-up bitmap with its AND mask, as icons and cursors hold them."""
    header = struct.pack("<IiiHHIIiiII", 40, W, 2 * H, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b""
    img = picture()
    for y in reversed(range(H)):
        rows += b"".join(bytes(reversed(img.getpixel((x, y)))) + b"\xff" for x in range(W))
    mask = b"\0\0\0\0" * H
    return header + rows + mask


def icon(kind):
    image = dib()
    hot = (0, 0) if kind == 1 else (1, 2)
    entry = struct.pack("<BBBBHHII", W, H, 0, 0, hot[0], hot[1], len(image), 6 + 16)
    return struct.pack("<HHH", 0, kind, 1) + entry + image


def lbm():
    """IFF ILBM: four bit planes, no compression, a 16-colour map."""
    bmhd = struct.pack(">HHhhBBBBHBBhh", W, H, 0, 0, 4, 0, 0, 0, 0, 1, 1, W, H)
    cmap = b"".join(bytes(c) for c in COLOURS) + b"\0" * 3 * 12
    body = b""
    for y in range(H):
        for plane in range(4):
            bits = 0
            for x in range(W):
                if (((x + y) % 4) >> plane) & 1:
                    bits |= 0x80 >> x
            body += bytes([bits, 0])  # rows are padded to 16 bits
    chunks = b"ILBM"
    for name, data in ((b"BMHD", bmhd), (b"CMAP", cmap), (b"BODY", body)):
        chunks += name + struct.pack(">I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    return b"FORM" + struct.pack(">I", len(chunks)) + chunks


def xpm():
    lines = ['"%d %d 4 1"' % (W, H)]
    keys = "abcd"
    for key, c in zip(keys, COLOURS):
        lines.append('"%s c #%02X%02X%02X"' % ((key,) + c))
    for y in range(H):
        lines.append('"' + "".join(keys[(x + y) % 4] for x in range(W)) + '"')
    return ("/* XPM */\nstatic char *seed[] = {\n" + ",\n".join(lines) + "};\n").encode()


def xv():
    """XV thumbnail: 3-3-2 bits per pixel."""
    img = picture()
    pixels = bytes(
        (r >> 5) << 5 | (g >> 5) << 2 | b >> 6
        for r, g, b in (img.getpixel((x, y)) for y in range(H) for x in range(W))
    )
    return b"P7 332\n#END_OF_COMMENTS\n%d %d 255\n" % (W, H) + pixels


def xcf():
    """GIMP XCF version 0: one RGB layer of one level, the tile stored raw after no properties.
    Offsets are counted from the start of the file."""
    img = picture()
    head = b"gimp xcf file\0" + struct.pack(">III", W, H, 0) + struct.pack(">II", 0, 0)
    layer_at = len(head) + 8 + 4  # past the layer list and the empty channel list
    name = b"seed\0"
    layer = struct.pack(">IIII", W, H, 0, len(name)) + name + struct.pack(">II", 0, 0)
    hierarchy_at = layer_at + len(layer) + 8
    layer += struct.pack(">II", hierarchy_at, 0)
    hierarchy = struct.pack(">III", W, H, 3)
    level_at = hierarchy_at + len(hierarchy) + 8
    hierarchy += struct.pack(">II", level_at, 0)
    level = struct.pack(">II", W, H)
    tile_at = level_at + len(level) + 8
    level += struct.pack(">II", tile_at, 0)
    tile = bytes(v for y in range(H) for x in range(W) for v in img.getpixel((x, y)))
    return (head + struct.pack(">II", layer_at, 0) + struct.pack(">I", 0) + layer + hierarchy +
            level + tile)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    with_pil()
    put("seed.ico", icon(1))
    put("seed.cur", icon(2))
    put("seed.lbm", lbm())
    put("seed.xpm", xpm())
    put("seed.xv", xv())
    put("seed.xcf", xcf())
