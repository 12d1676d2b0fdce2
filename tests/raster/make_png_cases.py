#!/usr/bin/python3
"""Writes the PNG test images and, for each decodable one, the pixels Pillow decodes from it.

Usage: make_png_cases.py OUTDIR

For every case NAME: OUTDIR/NAME.png, and OUTDIR/NAME.argb holding width and height as two
little-endian uint32 followed by one little-endian uint32 0xAARRGGBB per pixel, rows top-down.
Sixteen-bit samples are reduced to their high byte, as the loader does. Files named bad_*.png are
damaged or absurd and must be refused. Pillow encodes the common types; the rest are built here
from raw scanlines with zlib so that more colour types and bit depths are covered.
"""
import os
import random
import struct
import sys
import zlib

from PIL import Image

W, H = 13, 7


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def raw_png(width, height, depth, colour_type, rows, extra=b""):
    """A PNG from packed scanline bytes (filter type 0 on every row)."""
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    data = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra
            + chunk(b"IDAT", zlib.compress(data)) + chunk(b"IEND", b""))


def pack_bits(values, depth):
    out, acc, bits = bytearray(), 0, 0
    for v in values:
        acc = (acc << depth) | v
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def expected_from_pillow(path):
    """0xAARRGGBB words of the image as Pillow decodes it."""
    im = Image.open(path)
    im.load()
    if im.mode in ("I", "I;16", "I;16B"):
        grey = [v >> 8 for v in im.getdata()]
        return im.size, [0xFF000000 | g << 16 | g << 8 | g for g in grey]
    rgba = im.convert("RGBA")
    return im.size, [a << 24 | r << 16 | g << 8 | b for r, g, b, a in rgba.getdata()]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rng = random.Random(4104)
    rnd = lambda n: [rng.randrange(256) for _ in range(n)]
    files = {}

    def pillow(name, im, **save):
        path = os.path.join(out, name + ".png")
        im.save(path, **save)
        files[name] = path

    def raw(name, data):
        path = os.path.join(out, name + ".png")
        with open(path, "wb") as f:
            f.write(data)
        files[name] = path

    rgba = Image.new("RGBA", (W, H))
    rgba.putdata([tuple(rnd(4)) for _ in range(W * H)])
    rgba.putpixel((0, 0), (255, 0, 0, 128))
    pillow("rgba8", rgba)
    pillow("rgb8", rgba.convert("RGB"))
    pillow("gray8", rgba.convert("L"))
    pillow("grayalpha8", rgba.convert("LA"))
    pillow("gray1", rgba.convert("L").point(lambda v: 255 if v > 127 else 0).convert("1"))
    pal = rgba.convert("RGB").quantize(16)
    pillow("palette8", pal)
    pillow("palette4", pal, bits=4)
    pal_trns = pal.copy()
    pal_trns.info["transparency"] = bytes([0, 64, 128, 255, 200])
    pillow("palette_trns", pal_trns, transparency=bytes([0, 64, 128, 255, 200]))
    grey16 = Image.new("I;16", (W, H))
    grey16.putdata([rng.randrange(65536) for _ in range(W * H)])
    pillow("gray16", grey16)

    # Built from raw scanlines.
    rows = [bytes(rnd(W * 8)) for _ in range(H)]
    raw("rgba16", raw_png(W, H, 16, 6, rows))
    raw("rgb16", raw_png(W, H, 16, 2, [r[: W * 6] for r in rows]))
    raw("graya16", raw_png(W, H, 16, 4, [r[: W * 4] for r in rows]))
    for depth in (2, 4):
        values = [[rng.randrange(1 << depth) for _ in range(W)] for _ in range(H)]
        raw("gray%d" % depth, raw_png(W, H, depth, 0, [pack_bits(v, depth) for v in values]))
    grey_rows = [bytes(rnd(W)) for _ in range(H)]
    grey_rows[0] = bytes([77]) + grey_rows[0][1:]
    raw("gray8_trns", raw_png(W, H, 8, 0, grey_rows, chunk(b"tRNS", struct.pack(">H", 77))))
    rgb_rows = [bytes(rnd(W * 3)) for _ in range(H)]
    rgb_rows[1] = bytes([1, 2, 3]) + rgb_rows[1][3:]
    raw("rgb8_trns", raw_png(W, H, 8, 2, rgb_rows, chunk(b"tRNS", struct.pack(">HHH", 1, 2, 3))))
    raw("wide1x300", raw_png(300, 1, 8, 2, [bytes(rnd(900))]))

    for name, path in files.items():
        (w, h), words = expected_from_pillow(path)
        with open(os.path.join(out, name + ".argb"), "wb") as f:
            f.write(struct.pack("<II", w, h) + struct.pack("<%dI" % len(words), *words))

    # Damaged and absurd images.
    good = open(files["rgb8"], "rb").read()
    idat = good.index(b"IDAT")
    raw("bad_crc", good[: idat + 6] + bytes([good[idat + 6] ^ 0x55]) + good[idat + 7:])
    raw("bad_huge", raw_png(1000000, 1000000, 8, 6, [b"\0" * 16]))
    raw("bad_large", raw_png(20000, 20000, 8, 2, [b"\0" * 16]))
    raw("bad_overlimit", raw_png(0x7FFFFFFF, 1, 8, 2, [b"\0" * 16]))
    raw("bad_zero", raw_png(0, 5, 8, 2, [b""]))
    raw("bad_depth", raw_png(W, H, 3, 0, [b"\0" * W for _ in range(H)]))
    raw("bad_short_rows", raw_png(W, H, 8, 2, [b"\0" * W for _ in range(H)]))
    with open(os.path.join(out, "stamp"), "w") as f:
        f.write("\n".join(sorted(files)) + "\n")


if __name__ == "__main__":
    main()
