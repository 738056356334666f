#!/usr/bin/env python3
"""Draws Vesperhollow's icons and writes them next to this script.

Standard library only, so any machine with Python 3 can rebuild the art. Every picture is drawn
from shapes in a 0..1 unit square, so one drawing serves every size; each pixel is supersampled
for smooth edges. The outputs are committed, so the build never needs Python.

    python3 make_icons.py [--out DIR]
"""

import argparse
import os
import struct

# --------------------------------------------------------------------------------------------
# Colours: (r, g, b, a) floats in 0..1, straight (not premultiplied) alpha.


def rgb(hex_text, alpha=1.0):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16 & 255) / 255.0, (v >> 8 & 255) / 255.0, (v & 255) / 255.0, alpha)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def vertical_gradient(top_y, top, bottom_y, bottom):
    """A paint: `top` at unit height top_y blending to `bottom` at bottom_y."""
    span = bottom_y - top_y

    def paint(_x, y):
        return mix(top, bottom, (y - top_y) / span)

    return paint


# --------------------------------------------------------------------------------------------
# Shapes: predicates inside(x, y) over unit coordinates (y grows downwards).


def circle(cx, cy, r):
    r2 = r * r
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r

    return inside


def polygon(points):
    """Even-odd fill of a closed polygon."""
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        hit = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit

    return inside


def _segment_distance2(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx - x, ay + t * dy - y
    return px * px + py * py


def stroke(points, width):
    """An open polyline of the given width with round caps and joins."""
    half2 = (width / 2.0) ** 2
    segments = list(zip(points, points[1:]))
    return lambda x, y: any(
        _segment_distance2(x, y, ax, ay, bx, by) <= half2 for (ax, ay), (bx, by) in segments)


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def difference(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


def intersection(*shapes):
    return lambda x, y: all(s(x, y) for s in shapes)


def offset(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


# --------------------------------------------------------------------------------------------
# Raster: a square RGBA image with premultiplied float pixels, filled shape by shape.


class Image:
    def __init__(self, size, supersample=None):
        self.size = size
        # Small images get more samples per pixel: their edges carry most of the picture.
        self.samples = supersample or (8 if size <= 16 else 6 if size <= 32 else 4)
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, shape, paint):
        """Composites `paint` (a colour or a function of unit x, y) over the pixels `shape` covers."""
        n, s = self.samples, self.size
        steps = [(i + 0.5) / n for i in range(n)]
        for py in range(s):
            for px in range(s):
                hits = []
                for sy in steps:
                    uy = (py + sy) / s
                    for sx in steps:
                        ux = (px + sx) / s
                        if shape(ux, uy):
                            hits.append((ux, uy))
                if not hits:
                    continue
                coverage = len(hits) / float(n * n)
                if callable(paint):
                    cx = sum(h[0] for h in hits) / len(hits)
                    cy = sum(h[1] for h in hits) / len(hits)
                    r, g, b, a = paint(cx, cy)
                else:
                    r, g, b, a = paint
                a *= coverage
                dst = self.pixels[py * s + px]
                keep = 1.0 - a
                dst[0] = r * a + dst[0] * keep
                dst[1] = g * a + dst[1] * keep
                dst[2] = b * a + dst[2] * keep
                dst[3] = a + dst[3] * keep

    def bgra_rows_bottom_up(self):
        """The pixels as straight-alpha BGRA bytes, bottom row first, as a DIB stores them."""
        s = self.size
        rows = []
        for py in reversed(range(s)):
            row = bytearray()
            for px in range(s):
                r, g, b, a = self.pixels[py * s + px]
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(
                    _byte(c / a) for c in (b, g, r)) + bytes([_byte(a)])
            rows.append(bytes(row))
        return rows


def _byte(v):
    return max(0, min(255, int(round(v * 255.0))))


# --------------------------------------------------------------------------------------------
# Icon and cursor files: a directory followed by one 32-bit DIB (colour + AND mask) per image.


def dib_entry(image):
    s = image.size
    colour = b"".join(image.bgra_rows_bottom_up())
    # The AND mask marks fully transparent pixels, for programs that ignore the alpha channel.
    mask_stride = ((s + 31) // 32) * 4
    mask = bytearray()
    for py in reversed(range(s)):
        row = bytearray(mask_stride)
        for px in range(s):
            if _byte(image.pixels[py * s + px][3]) == 0:
                row[px // 8] |= 0x80 >> (px % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, s, s * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + colour + bytes(mask)


def icon_file_bytes(images, hotspot=None):
    """An .ico, or a .cur when `hotspot` (x, y in pixels of the largest image) is given."""
    kind = 1 if hotspot is None else 2
    entries = [dib_entry(image) for image in images]
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    data_offset = 6 + 16 * len(images)
    largest = max(image.size for image in images)
    for image, entry in zip(images, entries):
        dim = image.size if image.size < 256 else 0
        if hotspot is None:
            planes, bits = 1, 32
        else:
            planes = hotspot[0] * image.size // largest
            bits = hotspot[1] * image.size // largest
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, planes, bits, len(entry), data_offset)
        data_offset += len(entry)
    for entry in entries:
        out += entry
    return bytes(out)


def write_file(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (path, len(data)))


# --------------------------------------------------------------------------------------------
# The program icon: a dusk sky in a rounded square, a pale crescent moon, a green check.

DUSK_TOP = rgb("#241a4a")
DUSK_BOTTOM = rgb("#7a3f86")
DUSK_EDGE = rgb("#150f2e")
MOON = rgb("#f6edc6")
MOON_SHADE = rgb("#e2cf8f")
STAR = rgb("#fff6d8", 0.9)
CHECK = rgb("#3fcf5f")
CHECK_EDGE = rgb("#0e3d1b")


def pixel_inset(size, fraction):
    """`fraction` of the image rounded to whole pixels, so outer edges land on pixel boundaries."""
    return round(fraction * size) / float(size)


def draw_program_icon(size):
    image = Image(size)
    # A one-pixel dark rim at every size keeps the square apart from light and dark taskbars.
    px = 1.0 / size
    lo, hi = pixel_inset(size, 0.03), 1.0 - pixel_inset(size, 0.03)
    corner = 0.22 if size > 16 else 0.19
    image.fill(rounded_rect(lo, lo, hi, hi, corner), DUSK_EDGE)
    image.fill(rounded_rect(lo + px, lo + px, hi - px, hi - px, corner - px),
               vertical_gradient(0.05, DUSK_TOP, 0.95, DUSK_BOTTOM))

    if size >= 32:
        for x, y, r in ((0.78, 0.20, 0.028), (0.64, 0.13, 0.020), (0.86, 0.37, 0.020)):
            image.fill(circle(x, y, r), STAR)

    if size <= 16:
        # Laid out on the 16-pixel grid: a fat crescent and a two-pixel check that do not touch,
        # since at this size any overlap blurs both into one blob.
        g = 1.0 / 16
        moon = difference(circle(5.6 * g, 6.4 * g, 4.4 * g), circle(7.6 * g, 4.6 * g, 3.6 * g))
        check = [(8.7 * g, 11.2 * g), (10.5 * g, 13.0 * g), (13.3 * g, 8.7 * g)]
        image.fill(moon, vertical_gradient(0.15, MOON, 0.70, MOON_SHADE))
        image.fill(stroke(check, 2.8 * g), CHECK_EDGE)
        image.fill(stroke(check, 1.8 * g), CHECK)
        return image

    # The crescent opens to the upper right, towards the stars.
    moon = difference(circle(0.42, 0.43, 0.31), circle(0.55, 0.30, 0.25))
    image.fill(moon, vertical_gradient(0.15, MOON, 0.70, MOON_SHADE))

    # The check sits in the lower right; its dark edge separates it from the moon where they meet.
    check = [(0.48, 0.68), (0.61, 0.80), (0.81, 0.56)]
    image.fill(stroke(check, 0.12 + 3.0 / size), CHECK_EDGE)
    image.fill(stroke(check, 0.12), CHECK)
    return image


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)),
                        help="folder to write into (default: beside this script)")
    args = parser.parse_args()

    program = [draw_program_icon(size) for size in (16, 32, 48)]
    write_file(os.path.join(args.out, "vesperhollow.ico"), icon_file_bytes(program))


if __name__ == "__main__":
    main()
