#!/usr/bin/env python3
"""Draws the caption sprite: a 729 x 20 RGBA PNG strip holding the caption
buttons, each in a normal, a hover and a pressed variant side by side.

Layout (x of the normal picture; hover and pressed follow at width + 1):
  close 39 px at 0 | maximise 28 at 120 | restore 207 | minimise 294 |
  box with down arrow 381 | shirt 468 | speech bubble 555 | gear 642.
Pictures occupy rows 2..19. Normal is white on grey, hover on blue (red for
close), pressed on a darker blue (dark red for close).

Pure Python (zlib + struct), 4 x 4 supersampling for smooth edges.
Usage: caption_sprite.py OUTPUT.png
"""
import math
import struct
import sys
import zlib

WIDTH, HEIGHT = 729, 20
TOP, BOTTOM = 2, 20  # picture rows [TOP, BOTTOM)
SS = 4

GREY, BLUE, DARK_BLUE = (120, 120, 120, 200), (52, 120, 214, 235), (28, 78, 160, 245)
RED, DARK_RED = (216, 56, 48, 240), (150, 28, 24, 250)
WHITE = (255, 255, 255, 255)


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def in_poly(px, py, pts):
    inside = False
    for i in range(len(pts)):
        (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % len(pts)]
        if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def lines(segments, width):
    return lambda x, y: any(seg_dist(x, y, *s) <= width / 2 for s in segments)


def rect_outline(x0, y0, x1, y1, w):
    return lines([(x0, y0, x1, y0), (x1, y0, x1, y1), (x1, y1, x0, y1), (x0, y1, x0, y0)], w)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def glyph(kind, cx, cy):
    """A predicate over sprite coordinates for the white glyph of a button."""
    if kind == "close":
        return lines([(cx - 4, cy - 4, cx + 4, cy + 4), (cx - 4, cy + 4, cx + 4, cy - 4)], 1.8)
    if kind == "maximise":
        return union(rect_outline(cx - 5, cy - 4, cx + 5, cy + 4, 1.2), lines([(cx - 5, cy - 3.5, cx + 5, cy - 3.5)], 2))
    if kind == "restore":
        return union(rect_outline(cx - 5, cy - 1, cx + 2, cy + 5, 1.2), lines([(cx - 5, cy - 0.5, cx + 2, cy - 0.5)], 2),
                     lines([(cx - 2, cy - 4, cx + 5, cy - 4), (cx + 5, cy - 4, cx + 5, cy + 2)], 1.2))
    if kind == "minimise":
        return lines([(cx - 5, cy + 3, cx + 5, cy + 3)], 2)
    if kind == "box":
        return union(rect_outline(cx - 6, cy - 5, cx + 6, cy + 5, 1.2),
                     lambda x, y: in_poly(x, y, [(cx - 3.5, cy - 1.5), (cx + 3.5, cy - 1.5), (cx, cy + 2.5)]))
    if kind == "shirt":
        pts = [(cx - 2, cy - 5), (cx - 6, cy - 3), (cx - 7, cy), (cx - 4, cy), (cx - 4, cy + 5), (cx + 4, cy + 5),
               (cx + 4, cy), (cx + 7, cy), (cx + 6, cy - 3), (cx + 2, cy - 5), (cx, cy - 3)]
        return lambda x, y: in_poly(x, y, pts)
    if kind == "bubble":
        body = lambda x, y: ((x - cx) / 6.5) ** 2 + ((y - cy + 1) / 4.5) ** 2 <= 1
        tail = lambda x, y: in_poly(x, y, [(cx - 4, cy + 1), (cx - 1, cy + 3), (cx - 5, cy + 6)])
        return union(body, tail)
    if kind == "gear":
        def gear(x, y):
            r = math.hypot(x - cx, y - cy)
            a = math.atan2(y - cy, x - cx)
            outer = 5.5 if math.cos(8 * a) > 0.2 else 4.2
            return 1.8 <= r <= outer
        return gear
    raise ValueError(kind)


def background(x0, width):
    def inside(x, y):
        # A rounded rectangle, radius 3, over the picture rows.
        x1, y1, y0, r = x0 + width, BOTTOM, TOP, 3.0
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        nx = min(max(x, x0 + r), x1 - r)
        ny = min(max(y, y0 + r), y1 - r)
        return math.hypot(x - nx, y - ny) <= r
    return inside


BUTTONS = [  # kind, normal x, width, hover colour, pressed colour
    ("close", 0, 39, RED, DARK_RED),
    ("maximise", 120, 28, BLUE, DARK_BLUE),
    ("restore", 207, 28, BLUE, DARK_BLUE),
    ("minimise", 294, 28, BLUE, DARK_BLUE),
    ("box", 381, 28, BLUE, DARK_BLUE),
    ("shirt", 468, 28, BLUE, DARK_BLUE),
    ("bubble", 555, 28, BLUE, DARK_BLUE),
    ("gear", 642, 28, BLUE, DARK_BLUE),
]


def over(dst, src, coverage):
    """Source-over of a straight-alpha colour with the given coverage."""
    sa = src[3] / 255 * coverage
    da = dst[3] / 255
    oa = sa + da * (1 - sa)
    if oa <= 0:
        return (0, 0, 0, 0)
    return tuple(round((src[i] * sa + dst[i] * da * (1 - sa)) / oa) for i in range(3)) + (round(oa * 255),)


def render():
    pixels = [[(0, 0, 0, 0)] * WIDTH for _ in range(HEIGHT)]
    layers = []
    for kind, x, width, hover, pressed in BUTTONS:
        for variant, colour in enumerate((GREY, hover, pressed)):
            x0 = x + variant * (width + 1)
            cx, cy = x0 + width / 2, (TOP + BOTTOM) / 2
            layers.append((x0, width, background(x0, width), colour, glyph(kind, cx, cy)))
    for x0, width, back, colour, mark in layers:
        for py in range(TOP, BOTTOM):
            for px in range(x0, x0 + width):
                samples = [(px + (i + 0.5) / SS, py + (j + 0.5) / SS) for i in range(SS) for j in range(SS)]
                cb = sum(back(sx, sy) for sx, sy in samples) / len(samples)
                cg = sum(mark(sx, sy) for sx, sy in samples) / len(samples)
                p = over(pixels[py][px], colour, cb)
                if cg:
                    p = over(p, WHITE, cg)
                pixels[py][px] = p
    return pixels


def write_png(path, pixels):
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    write_png(sys.argv[1], render())
