#!/usr/bin/python3
"""Draws the five editor images of TavrelZel4 into this folder.

    /usr/bin/python3 resources/img/make_images.py

needs Pillow, NumPy and the DejaVu fonts (Debian: python3-pil, python3-numpy,
fonts-dejavu-core). The output is the same, byte for byte, on every run: the texture noise is
seeded and nothing time-dependent goes into the files. Strips are vertical, frames stacked top to bottom:

    bkg.png        410 x 460   1 frame    the panel
    knob.png        90 x 90  100 frames   large knob, pointer from -135 to +135 degrees
    onoff.png       36 x 56    2 frames   toggle switch, off then on
    led.png         18 x 18    2 frames   LED, unlit then lit
    line-knob.png   48 x 48  100 frames   small knob with a line marker

Everything is drawn SS times larger and scaled down, for smooth edges.
"""
import math
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4
W, H = 410, 460

# Where the editor puts the controls (top-left corners) and the frame sizes drawn here.
KNOB, KNOB_AT = 90, [(25, 13), (116, 60), (209, 13)]
LINE_KNOB, LINE_KNOB_AT = 48, (342, 281)
SWITCH_W, SWITCH_H, SWITCH_AT = 36, 56, [(314, 64), (314, 139), (314, 210)]
LED, LED_AT = 18, (148, 17)
BYPASS = (36, 286, 276, 405)
CAPTION = (225, 431, 267, 443)

PANEL = (36, 36, 40)
CREAM = (232, 222, 198)
OXBLOOD = (118, 28, 24)

FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def font(size, name="DejaVuSansCondensed-Bold.ttf"):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size * SS)


def s(*v):
    """Scales coordinates to the drawing resolution."""
    return tuple(x * SS for x in v)


def down(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def grid(n):
    """Pixel-centre coordinates of an n x n drawing, relative to its centre."""
    c = (np.arange(n) + 0.5) - n / 2
    return np.meshgrid(c, c)


def disc(n, r, soft=1.0):
    """Antialiased disc mask (0..1) of radius r in an n x n drawing."""
    x, y = grid(n)
    return np.clip(r - np.hypot(x, y) + 0.5 * soft, 0, soft) / soft


def rgba(rgb, alpha):
    """Stacks colour planes (or a colour) and an alpha plane (0..1) into an RGBA image."""
    a = np.asarray(alpha, dtype=float)
    planes = [np.broadcast_to(np.asarray(c, dtype=float), a.shape) for c in rgb]
    arr = np.dstack(planes + [a * 255.0])
    return Image.fromarray(np.clip(arr + 0.5, 0, 255).astype(np.uint8), "RGBA")


def shade(base, light):
    """base colour scaled by a light plane (1 = unchanged), as three planes."""
    return [np.clip(c * light, 0, 255) for c in base]


def shadow(n, r, dx, dy, blur, strength):
    m = disc(n, r)
    img = Image.fromarray((m * 255).astype(np.uint8), "L")
    img = img.transform(img.size, Image.AFFINE, (1, 0, -dx, 0, 1, -dy), Image.BILINEAR)
    img = img.filter(ImageFilter.GaussianBlur(blur))
    return rgba((0, 0, 0), np.asarray(img, dtype=float) / 255.0 * strength)


def metal_cap(n, r):
    """Spun-aluminium top: concentric grain and two opposite glints, with a dark rim."""
    x, y = grid(n)
    rr, th = np.hypot(x, y), np.arctan2(y, x)
    rng = np.random.default_rng(7)
    grain = rng.standard_normal(n)  # one value per ring radius
    ring = grain[np.clip(rr.astype(int), 0, n - 1)] * 0.02
    glint = 0.16 * np.cos(2 * (th + math.pi / 4)) ** 4
    light = 0.66 + glint + ring - 0.18 * np.clip((rr - r * 0.85) / (r * 0.15), 0, 1)
    light += 0.12 * (-y / r)  # top a little brighter
    return rgba(shade((200, 200, 204), light), disc(n, r, SS))


def knob_frames(size, count, r_skirt, r_body, r_cap, ridges, pointer_from, pointer_width,
                skirt_colour, body_colour, pointer_colour):
    """count frames of a knob with a rotating knurled skirt and pointer line."""
    n = size * SS
    x, y = grid(n)
    rr = np.hypot(x, y)
    c = n / 2
    still = Image.new("RGBA", (n, n))
    still.alpha_composite(shadow(n, r_skirt * SS, 1.5 * SS, 2.5 * SS, 2.5 * SS, 0.75))

    # The skirt's lighting: a soft cone lit from the top left.
    skirt_light = 0.85 + 0.35 * ((-x - y) / (1.414 * n / 2))
    body_light = 0.9 + 0.45 * np.clip((-x - 1.6 * y) / (r_body * SS * 2), -1, 1)
    body_light -= 0.35 * np.clip((rr - r_body * SS * 0.9) / (r_body * SS * 0.1), 0, 1)
    body = rgba(shade(body_colour, body_light), disc(n, r_body * SS, SS))
    cap = metal_cap(n, r_cap * SS) if r_cap else None
    skirt_mask = Image.fromarray((disc(n, r_skirt * SS, SS) * 255).astype(np.uint8), "L")
    light_plane = np.clip(skirt_light, 0, 2)

    frames = []
    for i in range(count):
        angle = math.radians(-135 + 270 * i / (count - 1))
        # Skirt: dark base with ridges that turn with the knob.
        ridge_img = Image.new("L", (n, n), 0)
        d = ImageDraw.Draw(ridge_img)
        for k in range(ridges):
            a0 = angle + 2 * math.pi * k / ridges
            a1 = a0 + math.pi / ridges
            pts = [(c + r * SS * math.sin(a), c - r * SS * math.cos(a))
                   for r, a in ((r_body - 1, a0), (r_skirt + 1, a0), (r_skirt + 1, a1), (r_body - 1, a1))]
            d.polygon(pts, fill=255)
        ridges_arr = np.asarray(ridge_img, dtype=float) / 255.0
        skirt_rgb = shade(skirt_colour, light_plane * (1.0 + 0.55 * ridges_arr))
        skirt = rgba(skirt_rgb, np.asarray(skirt_mask, dtype=float) / 255.0)

        img = still.copy()
        img.alpha_composite(skirt)
        img.alpha_composite(body)
        if cap is not None:
            img.alpha_composite(cap)
        # Pointer line, with a faint dark edge so it reads on the metal too.
        d = ImageDraw.Draw(img)
        p0 = (c + pointer_from * SS * math.sin(angle), c - pointer_from * SS * math.cos(angle))
        p1 = (c + (r_skirt - 1.5) * SS * math.sin(angle), c - (r_skirt - 1.5) * SS * math.cos(angle))
        d.line([p0, p1], fill=(10, 10, 10, 255), width=int((pointer_width + 1.5) * SS))
        d.line([p0, p1], fill=pointer_colour + (255,), width=int(pointer_width * SS))
        frames.append(down(img, size, size))
    return frames


def stack(frames):
    w, h = frames[0].size
    strip = Image.new("RGBA", (w, h * len(frames)))
    for i, f in enumerate(frames):
        strip.paste(f, (0, i * h))
    return strip


def toggle_frames():
    """Bat-lever toggle switch on a small plate: frame 0 lever down (off), frame 1 up (on)."""
    w, h = SWITCH_W * SS, SWITCH_H * SS
    cx, cy = w / 2, h / 2
    frames = []
    for on in (False, True):
        img = Image.new("RGBA", (w, h))
        d = ImageDraw.Draw(img)
        # Nut: a hexagon with a bright bevel, then the bushing.
        hexagon = [(cx + 12.5 * SS * math.cos(math.radians(30 + 60 * k)),
                    cy + 12.5 * SS * math.sin(math.radians(30 + 60 * k))) for k in range(6)]
        shifted = [(px + 1.5 * SS, py + 2 * SS) for px, py in hexagon]
        d.polygon(shifted, fill=(0, 0, 0, 150))
        d.polygon(hexagon, fill=(150, 150, 156, 255))
        inner = [(cx + 11 * SS * math.cos(math.radians(30 + 60 * k)),
                  cy + 11 * SS * math.sin(math.radians(30 + 60 * k))) for k in range(6)]
        d.polygon(inner, fill=(118, 118, 124, 255))
        d.ellipse([cx - 8 * SS, cy - 8 * SS, cx + 8 * SS, cy + 8 * SS], fill=(196, 196, 202, 255))
        d.ellipse([cx - 6 * SS, cy - 6 * SS, cx + 6 * SS, cy + 6 * SS], fill=(70, 70, 74, 255))
        # Lever: tapered shaft towards the tip, ball end.
        tip_y = cy - 21 * SS if on else cy + 21 * SS
        sign = -1 if on else 1
        shaft = [(cx - 4 * SS, cy), (cx + 4 * SS, cy), (cx + 2.6 * SS, tip_y), (cx - 2.6 * SS, tip_y)]
        d.polygon([(px + 1.5 * SS, py + 2 * SS) for px, py in shaft], fill=(0, 0, 0, 120))
        d.polygon(shaft, fill=(176, 176, 182, 255))
        d.polygon([(cx - 4 * SS, cy), (cx - 1 * SS, cy), (cx - 0.6 * SS, tip_y), (cx - 2.6 * SS, tip_y)],
                  fill=(236, 236, 240, 255))
        d.ellipse([cx - 5 * SS, tip_y - 5 * SS, cx + 5 * SS, tip_y + 5 * SS], fill=(150, 150, 156, 255))
        d.ellipse([cx - 4 * SS, tip_y - 4.5 * SS, cx + 3 * SS, tip_y + 2.5 * SS], fill=(222, 222, 228, 255))
        d.ellipse([cx - 2.5 * SS, tip_y - 3.5 * SS, cx, tip_y - 1 * SS], fill=(255, 255, 255, 255))
        # The end of the slot nearest the lever is in shadow.
        d.ellipse([cx - 3 * SS, cy - 3 * SS + sign * 2 * SS, cx + 3 * SS, cy + 3 * SS + sign * 2 * SS],
                  fill=(40, 40, 44, 90))
        frames.append(down(img, SWITCH_W, SWITCH_H))
    return frames


def led_frames():
    n = LED * SS
    x, y = grid(n)
    rr = np.hypot(x, y)
    frames = []
    for lit in (False, True):
        img = Image.new("RGBA", (n, n))
        bezel_light = 0.75 + 0.4 * (-x - y) / n
        img.alpha_composite(rgba(shade((180, 180, 186), bezel_light), disc(n, 8.5 * SS, SS)))
        img.alpha_composite(rgba((20, 20, 20), disc(n, 6.6 * SS, SS)))
        glow = np.clip(1 - rr / (6 * SS), 0, 1)
        if lit:
            lens = [255 * np.ones_like(rr), 40 + 190 * glow ** 2, 24 + 150 * glow ** 3]
        else:
            lens = [70 + 40 * glow, 10 + 8 * glow, 8 + 6 * glow]
        img.alpha_composite(rgba(lens, disc(n, 6 * SS, SS)))
        # Specular spot on the dome.
        spot = disc(n, 1.8 * SS, SS)
        spot = np.roll(np.roll(spot, -int(2.2 * SS), 0), -int(2.2 * SS), 1)
        img.alpha_composite(rgba((255, 255, 255), spot * (0.85 if lit else 0.5)))
        frames.append(down(img, LED, LED))
    return frames


def background():
    w, h = W * SS, H * SS
    rng = np.random.default_rng(410460)
    # Hammered paint: blurred noise lightens and darkens the panel a little.
    noise = rng.standard_normal((h // SS, w // SS)).astype(np.float32)
    noise_img = Image.fromarray(np.clip(128 + noise * 40, 0, 255).astype(np.uint8), "L")
    noise_img = noise_img.filter(ImageFilter.GaussianBlur(1.2)).resize((w, h), Image.BICUBIC)
    tex = (np.asarray(noise_img, dtype=float) - 128) / 128
    yy = np.arange(h)[:, None] / h
    light = 1.12 - 0.28 * yy + 0.10 * tex
    panel = rgba(shade(PANEL, light), np.ones((h, w)))
    d = ImageDraw.Draw(panel)

    def bevel_rect(box, radius, fill, hi, lo, width=1.0):
        x0, y0, x1, y1 = s(*box)
        d.rounded_rectangle([x0, y0, x1, y1], radius * SS, fill=lo)
        d.rounded_rectangle([x0, y0, x1 - width * SS, y1 - width * SS], radius * SS, fill=hi)
        d.rounded_rectangle([x0 + width * SS, y0 + width * SS, x1 - width * SS, y1 - width * SS],
                            radius * SS, fill=fill)

    def text(xy, label, size, fill=CREAM, anchor="mm", face="DejaVuSansCondensed-Bold.ttf", spacing=0):
        f = font(size, face)
        x, y = xy[0] * SS, xy[1] * SS
        if spacing:
            # Letter-spaced: place each character by hand around the anchor's centre.
            widths = [d.textlength(ch, font=f) for ch in label]
            total = sum(widths) + spacing * SS * (len(label) - 1)
            cx = x - total / 2
            for ch, cw in zip(label, widths):
                d.text((cx + SS * 0.7, y + SS * 0.9), ch, font=f, fill=(0, 0, 0, 150), anchor="lm")
                d.text((cx, y), ch, font=f, fill=fill, anchor="lm")
                cx += cw + spacing * SS
            return
        d.text((x + SS * 0.7, y + SS * 0.9), label, font=f, fill=(0, 0, 0, 150), anchor=anchor)
        d.text((x, y), label, font=f, fill=fill, anchor=anchor)

    # Outer edge of the enclosure: a light top-left and dark bottom-right rim.
    d.rectangle(s(0, 0, W - 1, H - 1), outline=(78, 78, 84), width=SS)
    d.line(s(1, H - 1, W - 1, H - 1), fill=(10, 10, 12), width=2 * SS)
    d.line(s(W - 1, 1, W - 1, H - 1), fill=(10, 10, 12), width=2 * SS)

    # Right column: a recessed plate for the switches and the mix knob.
    bevel_rect((305, 52, 402, 352), 6, (27, 27, 30), (14, 14, 16), (70, 70, 76))

    # Scale ticks around the knobs.
    def ticks(cx, cy, r0, r1, count, major_every, width):
        for k in range(count):
            a = math.radians(-135 + 270 * k / (count - 1))
            major = k % major_every == 0
            r_in = r0 - (2 if major else 0)
            p0 = (cx + r_in * math.sin(a), cy - r_in * math.cos(a))
            p1 = (cx + r1 * math.sin(a), cy - r1 * math.cos(a))
            d.line([s(*p0), s(*p1)], fill=CREAM if major else (150, 144, 130),
                   width=int((width + (0.4 if major else 0)) * SS))

    for (kx, ky) in KNOB_AT:
        ticks(kx + KNOB / 2, ky + KNOB / 2, 39.5, 43.5, 11, 5, 1.2)
    lx, ly = LINE_KNOB_AT
    ticks(lx + LINE_KNOB / 2, ly + LINE_KNOB / 2, 21, 23.8, 11, 5, 0.9)

    # Knob, switch and mix labels.
    text((KNOB_AT[0][0] + 45, 111), "DIST", 12, spacing=1.5)
    text((KNOB_AT[2][0] + 45, 111), "LEVEL", 12, spacing=1.5)
    text((KNOB_AT[1][0] + 45, 158), "TONE", 12, spacing=1.5)
    for (sx, sy), label in zip(SWITCH_AT, ("SAT", "HISS", "COMP")):
        cy = sy + SWITCH_H / 2
        text((sx + SWITCH_W + 4, cy), label, 10, anchor="lm")
        text((sx + SWITCH_W + 4, sy + 7), "ON", 6, fill=(150, 144, 130), anchor="lm")
        text((sx + SWITCH_W + 4, sy + SWITCH_H - 7), "OFF", 6, fill=(150, 144, 130), anchor="lm")
    text((lx + LINE_KNOB / 2, ly + LINE_KNOB + 10), "DRY/WET", 10)
    text((LED_AT[0] + LED / 2, LED_AT[1] + LED + 8), "ACTIVE", 7, fill=(150, 144, 130), spacing=0.8)

    # Name band.
    band = (18, 196, 296, 262)
    bevel_rect(band, 5, OXBLOOD, (160, 56, 48), (52, 10, 10))
    text(((band[0] + band[2]) / 2, 223), "TavrelZel4", 30, face="DejaVuSans-BoldOblique.ttf")
    text(((band[0] + band[2]) / 2, 250), "ANALOG DISTORTION", 8, fill=(236, 200, 180), spacing=2.6)

    # Footswitch well exactly over the bypass area, with the stomp button in its middle.
    bx0, by0, bx1, by1 = BYPASS
    bevel_rect(BYPASS, 8, (24, 24, 27), (12, 12, 14), (74, 74, 80), width=1.5)
    cx, cy = (bx0 + bx1) / 2, (by0 + by1) / 2 - 6
    hexagon = [(cx + 33 * math.cos(math.radians(60 * k)), cy + 33 * math.sin(math.radians(60 * k)))
               for k in range(6)]
    d.polygon([s(px + 2, py + 3) for px, py in hexagon], fill=(6, 6, 8))
    d.polygon([s(px, py) for px, py in hexagon], fill=(120, 120, 126))
    inner = [(cx + 30 * math.cos(math.radians(60 * k)), cy + 30 * math.sin(math.radians(60 * k))) for k in range(6)]
    d.polygon([s(px, py) for px, py in inner], fill=(92, 92, 98))
    for r, colour in ((25, (60, 60, 64)), (23.5, (196, 196, 202)), (21, (150, 150, 156)),
                      (17, (208, 208, 214)), (15.5, (170, 170, 176))):
        d.ellipse(s(cx - r, cy - r, cx + r, cy + r), fill=colour)
    d.ellipse(s(cx - 11, cy - 13, cx + 3, cy - 3), fill=(236, 236, 240))
    text((cx, by1 - 14), "BYPASS", 9, fill=(150, 144, 130), spacing=2.5)

    # Maker's plate under everything; the editor writes its version into the caption box.
    plate = (24, 419, 386, 452)
    bevel_rect(plate, 3, (214, 204, 180), (240, 232, 212), (120, 110, 92))
    d.text(s(plate[0] + 10, (plate[1] + plate[3]) / 2), "TavrelZel4  \u00b7  analog distortion", font=font(10),
           fill=(36, 30, 26), anchor="lm")
    d.line(s(CAPTION[0] - 5, plate[1] + 6, CAPTION[0] - 5, plate[3] - 6), fill=(150, 140, 118), width=SS)

    # Corner screws.
    for px, py in ((11, 11), (W - 12, 11), (11, H - 12), (W - 12, H - 12)):
        d.ellipse(s(px - 5, py - 4, px + 6, py + 7), fill=(8, 8, 10))
        d.ellipse(s(px - 5, py - 5, px + 5, py + 5), fill=(150, 150, 156))
        d.ellipse(s(px - 4, py - 4, px + 4, py + 4), fill=(118, 118, 124))
        d.line([s(px - 3.2, py + 2), s(px + 3.2, py - 2)], fill=(40, 40, 44), width=int(1.3 * SS))

    return down(panel, W, H).convert("RGB")


def save(img, name, colours=None):
    """Writes a palette PNG when colours is given (smaller strips), else a full-colour one."""
    if colours:
        img = img.quantize(colours, method=Image.LIBIMAGEQUANT)
    img.save(os.path.join(HERE, name), optimize=True)


def main():
    save(background(), "bkg.png")
    save(stack(knob_frames(KNOB, 100, r_skirt=35, r_body=28, r_cap=19, ridges=40, pointer_from=8,
                           pointer_width=2.6, skirt_colour=(46, 46, 50), body_colour=(30, 30, 33),
                           pointer_colour=CREAM)), "knob.png", 256)
    save(stack(toggle_frames()), "onoff.png")
    save(stack(led_frames()), "led.png")
    save(stack(knob_frames(LINE_KNOB, 100, r_skirt=19, r_body=15.5, r_cap=0, ridges=24, pointer_from=3,
                           pointer_width=2.0, skirt_colour=(56, 56, 60), body_colour=(26, 26, 29),
                           pointer_colour=(245, 240, 228))), "line-knob.png", 256)


if __name__ == "__main__":
    main()
