#!/usr/bin/env python3
"""Draws the setup wizard's two bitmaps as 24-bit BMP files: the tall one
down the left of the welcome, completed and cancelled pages (164 x 314), and
the banner motif at the right end of the other pages' heading (160 x 60). Both
show the lit sphere of the program icon; the banner fades in from white so
that the heading reads black on it.
Run: setup/make_wizard_bitmaps.py setup/wizard_side.bmp setup/wizard_banner.bmp"""
import math
import struct
import sys


def sphere(u, v, cx, cy, r, base, light=(-0.5, -0.6, 0.62)):
    """Colour of a lit sphere at (u, v), or None outside it."""
    du, dv = (u - cx) / r, (v - cy) / r
    d2 = du * du + dv * dv
    if d2 >= 1:
        return None
    nz = math.sqrt(1 - d2)
    lx, ly, lz = light
    diffuse = max(du * lx + dv * ly + nz * lz, 0)
    hx, hy, hz = lx, ly, lz + 1
    hl = math.sqrt(hx * hx + hy * hy + hz * hz)
    specular = max((du * hx + dv * hy + nz * hz) / hl, 0) ** 24
    return [min(1.0, 0.12 * c + diffuse * c + specular) for c in base]


def mix(a, b, t):
    return [x + (y - x) * t for x, y in zip(a, b)]


ORANGE = (1.0, 0.55, 0.10)
TEAL = (0.15, 0.75, 0.80)
GREEN = (0.45, 0.85, 0.25)


def side_pixel(x, y, w, h):
    u, v = x / w, y / h
    colour = mix([0.10, 0.16, 0.45], [0.02, 0.03, 0.12], v)
    # A floor: lighter band with the spheres' shadows on it.
    if v > 0.62:
        colour = mix(colour, [0.16, 0.22, 0.50], 0.5 * (1 - abs(v - 0.75) / 0.13) if abs(v - 0.75) < 0.13 else 0)
    for cx, cy, r in ((0.50, 0.74, 0.36), (0.22, 0.76, 0.12), (0.80, 0.77, 0.10)):
        sx, sy = (u - cx) / r, (v - cy) * h / w / (r * 0.25)
        if sx * sx + sy * sy < 1:
            colour = [c * 0.55 for c in colour]
    for cx, cy, r, base in ((0.50, 0.45, 0.36, ORANGE), (0.22, 0.66, 0.12, TEAL), (0.80, 0.69, 0.10, GREEN)):
        lit = sphere(u, v * h / w, cx, cy * h / w, r, base)
        if lit:
            colour = lit
    return colour


def banner_pixel(x, y, w, h):
    u = x / w
    colour = mix([1.0, 1.0, 1.0], [0.78, 0.85, 1.0], max(0.0, (u - 0.1) / 0.9) ** 1.5)
    lit = sphere(x, y, w - h * 0.55, h * 0.5, h * 0.36, ORANGE)
    if lit:
        colour = lit
    return colour


def bmp(w, h, pixel):
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in reversed(range(h)):  # bottom-up
        row = bytearray()
        for x in range(w):
            # Four samples per pixel smooth the edges.
            acc = [0.0, 0.0, 0.0]
            for sx, sy in ((0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)):
                c = pixel(x + sx, y + sy, w, h)
                acc = [a + ci / 4 for a, ci in zip(acc, c)]
            r, g, b = (int(max(0.0, min(1.0, c)) * 255 + 0.5) for c in acc)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + data


def main():
    with open(sys.argv[1], "wb") as f:
        f.write(bmp(164, 314, side_pixel))
    with open(sys.argv[2], "wb") as f:
        f.write(bmp(160, 60, banner_pixel))


main()
