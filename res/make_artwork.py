#!/usr/bin/env python3
"""Draws the program's icons and splash bitmap.

Everything is computed from geometry, so running the script again gives byte-identical files:
    res/make_artwork.py [output directory]      (default: the directory of this script)
writes zeziriv.ico (application icon), tray.ico (notification-area icon) and splash.bmp.
"""
import math
import os
import struct
import sys


def clamp(v):
    return max(0, min(255, int(round(v))))


def hue_rgb(h):
    """Fully saturated colour of hue h (degrees)."""
    h = (h % 360) / 60.0
    i = int(h)
    f = h - i
    q, t = 1 - f, f
    r, g, b = [(1, t, 0), (q, 1, 0), (0, 1, t), (0, q, 1), (t, 0, 1), (1, 0, q)][i]
    return r * 255, g * 255, b * 255


def simulate_dichromat(rgb):
    """A plain red-green confusion: what the splash shows beside the original spectrum."""
    r, g, b = (c / 255.0 for c in rgb)
    lin = [c ** 2.2 for c in (r, g, b)]
    m = ((0.152, 1.053, -0.205), (0.115, 0.786, 0.099), (-0.004, -0.048, 1.052))
    out = [sum(m[i][j] * lin[j] for j in range(3)) for i in range(3)]
    return tuple(clamp(255 * max(0.0, min(1.0, c)) ** (1 / 2.2)) for c in out)


def coverage(d, radius):
    """Anti-aliased inside-ness of a pixel whose centre lies d from a circle's centre."""
    return max(0.0, min(1.0, radius - d + 0.5))


def app_icon_pixel(x, y, size):
    """Three additive discs (red, green, blue) on a transparent ground."""
    s = size / 32.0
    cx, cy = size / 2.0, size / 2.0
    rad = 9.5 * s
    centres = [(cx, cy - 5.5 * s), (cx - 6 * s, cy + 4.5 * s), (cx + 6 * s, cy + 4.5 * s)]
    colours = [(255, 40, 40), (40, 220, 40), (40, 90, 255)]
    px, py = x + 0.5, y + 0.5
    r = g = b = 0.0
    alpha = 0.0
    for (ox, oy), (cr, cg, cb) in zip(centres, colours):
        a = coverage(math.hypot(px - ox, py - oy), rad)
        r += cr * a
        g += cg * a
        b += cb * a
        alpha = max(alpha, a)
    if alpha == 0:
        return (0, 0, 0, 0)
    return (clamp(r / max(alpha, 1e-9) * alpha), clamp(g), clamp(b), clamp(alpha * 255))


def tray_icon_pixel(x, y, size):
    """A lens: a colour wheel inside a dark ring, with a grey pupil."""
    c = size / 2.0
    px, py = x + 0.5 - c, y + 0.5 - c
    d = math.hypot(px, py)
    outer = c - 0.5
    ring = outer * 0.82
    pupil = outer * 0.30
    a = coverage(d, outer)
    if a == 0:
        return (0, 0, 0, 0)
    if d > ring:
        rgb = (30, 30, 40)
    elif d < pupil:
        rgb = (70, 70, 70)
    else:
        rgb = hue_rgb(math.degrees(math.atan2(-py, px)))
    return (clamp(rgb[0]), clamp(rgb[1]), clamp(rgb[2]), clamp(a * 255))


def icon_image(pixel, size):
    """One 32-bit icon image: BITMAPINFOHEADER, bottom-up BGRA rows, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask_rows)


def write_ico(path, pixel, sizes):
    images = [icon_image(pixel, s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def splash_pixel(x, y, w, h):
    border = 3
    if x < border or y < border or x >= w - border or y >= h - border:
        return (40, 40, 48)
    band_top, band_mid, band_bottom = 40, 100, 160
    left, right = 20, w - 20
    if left <= x < right and band_top <= y < band_bottom:
        rgb = hue_rgb(300.0 * (x - left) / (right - left))
        if y >= band_mid:
            rgb = simulate_dichromat(rgb)
        return tuple(clamp(c) for c in rgb)
    # A soft vertical gradient behind the bands.
    t = y / float(h)
    return (clamp(245 - 25 * t), clamp(245 - 25 * t), clamp(250 - 15 * t))


def write_bmp(path, w, h):
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            r, g, b = splash_pixel(x, y, w, h)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        pixels += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + pixels)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "zeziriv.ico"), app_icon_pixel, [16, 32, 48])
    write_ico(os.path.join(out, "tray.ico"), tray_icon_pixel, [16, 32])
    write_bmp(os.path.join(out, "splash.bmp"), 400, 200)


if __name__ == "__main__":
    main()
