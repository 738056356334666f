#!/usr/bin/env python3
"""Draws Vesperhollow's icons, drag cursor and folder-tree images, and writes them here.

Standard library only, so any machine with Python 3 can rebuild the art. Pictures are drawn from
shapes in a 0..1 unit square, so one drawing serves every size, or, for the single-size pictures,
on their own pixel grid; each pixel is supersampled for smooth edges. The outputs are committed,
so the build never needs Python.

    python3 make_icons.py [--out DIR]
"""

import argparse
import math
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


def grown(shape, d):
    """The shape widened by about `d` in every direction (tested at eight neighbours)."""
    steps = [(math.cos(k * math.pi / 4) * d, math.sin(k * math.pi / 4) * d) for k in range(8)]
    return lambda x, y: shape(x, y) or any(shape(x + dx, y + dy) for dx, dy in steps)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def arc_band(cx, cy, radius, width, start, sweep):
    """A ring segment of the given width, from angle `start` through `sweep` degrees.

    Angles grow clockwise on screen (y points down), 0 pointing right; the ends are cut square.
    """
    inner2, outer2 = (radius - width / 2.0) ** 2, (radius + width / 2.0) ** 2

    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if d2 < inner2 or d2 > outer2:
            return False
        return (math.degrees(math.atan2(y - cy, x - cx)) - start) % 360.0 <= sweep

    return inside


def on_circle(cx, cy, radius, angle):
    a = math.radians(angle)
    return (cx + radius * math.cos(a), cy + radius * math.sin(a))


def inset_polygon(points, d):
    """The polygon moved `d` inwards along every edge; points must run clockwise on screen."""
    count = len(points)
    lines = []
    for i in range(count):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % count]
        length = math.hypot(bx - ax, by - ay)
        nx, ny = -(by - ay) / length, (bx - ax) / length
        lines.append(((ax + nx * d, ay + ny * d), (bx - ax, by - ay)))
    result = []
    for i in range(count):
        (px, py), (rx, ry) = lines[i - 1]
        (qx, qy), (sx, sy) = lines[i]
        t = ((qx - px) * sy - (qy - py) * sx) / (rx * sy - ry * sx)
        result.append((px + t * rx, py + t * ry))
    return result


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


def draw_dusk_square(image):
    size = image.size
    # A one-pixel dark rim at every size keeps the square apart from light and dark taskbars.
    px = 1.0 / size
    lo, hi = pixel_inset(size, 0.03), 1.0 - pixel_inset(size, 0.03)
    corner = 0.22 if size > 16 else 0.19
    image.fill(rounded_rect(lo, lo, hi, hi, corner), DUSK_EDGE)
    image.fill(rounded_rect(lo + px, lo + px, hi - px, hi - px, corner - px),
               vertical_gradient(0.05, DUSK_TOP, 0.95, DUSK_BOTTOM))


def draw_program_icon(size):
    image = Image(size)
    draw_dusk_square(image)

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


# --------------------------------------------------------------------------------------------
# Notification-area icons: the moon inside a ring of two green arrows. Frame 0 is the idle icon;
# while a backup runs the frames loop, turning the arrows clockwise 30 degrees a frame, so twelve
# frames make one turn and the last leads straight back into the first.

TRAY_FRAMES = 12
ARROW = rgb("#4fdc6c")
ARROW_EDGE = rgb("#0e3d1b")


def tray_arrows(size, turn):
    """The two arrows, rotated `turn` degrees clockwise, and the width of their dark edge."""
    if size <= 16:
        # On the 16-pixel grid: the shaft fills exactly the pixels 4 to 6 out from the centre, so
        # it stays crisp on the axes; the heads are a pixel wider each side to read as arrows.
        # No dark edge: at this size it only smudges the green into the purple.
        g = 1.0 / 16
        radius, width, head_half, head_deg, sweep = 5.0 * g, 2.0 * g, 2.2 * g, 36.0, 110.0
        edge = 0.0
    else:
        radius, width, head_half, head_deg, sweep = 0.315, 0.09, 0.115, 30.0, 112.0
        edge = 1.5 / size
    shapes = []
    # At turn 0 the heads point right across the top and left across the bottom.
    for base in (190.0, 10.0):
        start = base + turn
        end = start + sweep
        shaft = arc_band(0.5, 0.5, radius, width, start, sweep + 1.0)
        head = polygon([on_circle(0.5, 0.5, radius - head_half, end),
                        on_circle(0.5, 0.5, radius + head_half, end),
                        on_circle(0.5, 0.5, radius, end + head_deg)])
        shapes.append(union(shaft, head))
    return union(*shapes), edge


def draw_tray_frame(size, frame):
    image = Image(size)
    draw_dusk_square(image)
    if size <= 16:
        g = 1.0 / 16
        # Small enough to keep a clear pixel between the crescent and the ring.
        moon = difference(circle(8.1 * g, 8.0 * g, 3.0 * g), circle(9.7 * g, 6.5 * g, 2.5 * g))
    else:
        image.fill(circle(0.835, 0.165, 0.03), STAR)
        moon = difference(circle(0.48, 0.52, 0.205), circle(0.585, 0.42, 0.17))
    image.fill(moon, vertical_gradient(0.3, MOON, 0.7, MOON_SHADE))

    arrows, edge = tray_arrows(size, 30.0 * frame)
    if edge:
        image.fill(grown(arrows, edge), ARROW_EDGE)
    image.fill(arrows, ARROW)
    return image


# --------------------------------------------------------------------------------------------
# Small pictures drawn on a pixel grid: coordinates are pixels from the picture's top-left
# corner, so a shape whose edges lie on whole numbers comes out crisp.


class PixelCanvas:
    """Draws on `image` in pixel units of a `grid`-pixel design (the image's own size unless
    given, so a 16-pixel drawing serves larger images too), with the origin at (left, top)."""

    def __init__(self, image, left=0, top=0, grid=None):
        self.image, self.left, self.top = image, left, top
        self.grid = grid or image.size

    def _to_pixels(self, x, y):
        return x * self.grid - self.left, y * self.grid - self.top

    def fill(self, shape, paint):
        def mapped_shape(x, y):
            return shape(*self._to_pixels(x, y))

        mapped_paint = paint
        if callable(paint):
            def mapped_paint(x, y):
                return paint(*self._to_pixels(x, y))

        self.image.fill(mapped_shape, mapped_paint)


FOLDER_EDGE = rgb("#94650f")
FOLDER_BACK = rgb("#e0a934")
FOLDER_LIGHT = rgb("#ffe690")
FOLDER = rgb("#f5c443")
PAPER_EDGE = rgb("#66707c")
PAPER = rgb("#ffffff")
PAPER_SHADE = rgb("#e8edf2")
PAPER_FOLD = rgb("#d3dae2")
TEXT_LINE = rgb("#8ea7c6")
HIDDEN_LINE = rgb("#b9bec4")
DRIVE_EDGE = rgb("#3c4148")
DRIVE_TOP = rgb("#eef0f2")
DRIVE_TOP_SHADE = rgb("#c9ced4")
DRIVE_FRONT = rgb("#a3aab3")
DRIVE_FRONT_SHADE = rgb("#858d97")
DRIVE_SLOT = rgb("#5d646d")
LAMP = rgb("#ff2b1c")
LAMP_GLOW = rgb("#ffb0a0")
MARK_EDGE = rgb("#4e555d")
MARK = rgb("#a9afb6")
TICK = rgb("#d8141a")
TICK_HALO = rgb("#ffffff")


def draw_closed_folder(c, x0, y0, x1, y1):
    tab_right = x0 + round((x1 - x0) * 0.43)
    c.fill(union(rounded_rect(x0, y0, tab_right, y0 + 4, 1), rounded_rect(x0, y0 + 2, x1, y1, 1)),
           FOLDER_EDGE)
    c.fill(union(rect(x0 + 1, y0 + 1, tab_right - 1, y0 + 3), rect(x0 + 1, y0 + 3, x1 - 1, y0 + 4)),
           FOLDER_BACK)
    c.fill(rect(x0 + 1, y0 + 4, x1 - 1, y1 - 1),
           vertical_gradient(y0 + 4, FOLDER_LIGHT, y1, FOLDER))


def draw_open_folder(c, x0, y0, x1, y1):
    tab_right = x0 + round((x1 - x0) * 0.43)
    c.fill(union(rounded_rect(x0, y0, tab_right, y0 + 4, 1), rounded_rect(x0, y0 + 2, x1, y1, 1)),
           FOLDER_EDGE)
    c.fill(union(rect(x0 + 1, y0 + 1, tab_right - 1, y0 + 3), rect(x0 + 1, y0 + 3, x1 - 1, y1 - 1)),
           FOLDER_BACK)
    # A sheet of paper inside shows the folder is open.
    c.fill(rect(x0 + 2, y0 + 2, x1 - 2, y0 + 7), PAPER_EDGE)
    c.fill(rect(x0 + 3, y0 + 3, x1 - 3, y0 + 7), PAPER)
    # The front flap falls forward, leaning right, so its top edge sits lower than the back.
    flap = [(x0 + 3, y0 + 5), (x1 + 1, y0 + 5), (x1 - 1, y1), (x0, y1)]
    c.fill(polygon(flap), FOLDER_EDGE)
    c.fill(polygon(inset_polygon(flap, 1.0)),
           vertical_gradient(y0 + 6, FOLDER_LIGHT, y1, FOLDER))


def draw_page(c, x0, y0, x1, y1, lines=TEXT_LINE):
    fold = 4
    outline = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    c.fill(polygon(outline), PAPER_EDGE)
    c.fill(polygon(inset_polygon(outline, 1.0)), vertical_gradient(y0, PAPER, y1, PAPER_SHADE))
    corner = [(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)]
    c.fill(polygon(corner), PAPER_EDGE)
    c.fill(polygon(inset_polygon(corner, 0.8)), PAPER_FOLD)
    if lines:
        for row in range(y0 + fold + 2, y1 - 2, 2):
            right = x1 - 2 if row + 4 < y1 else x0 + (x1 - x0) // 2
            c.fill(rect(x0 + 2, row, right, row + 1), lines)


def draw_drive(c):
    c.fill(rounded_rect(1, 3, 15, 13, 1.5), DRIVE_EDGE)
    body = rounded_rect(2, 4, 14, 12, 0.8)
    # The lighter top face and darker front give the box some depth.
    c.fill(intersection(body, rect(0, 0, 16, 7)),
           vertical_gradient(4, DRIVE_TOP, 7, DRIVE_TOP_SHADE))
    c.fill(rect(2, 7, 14, 8), DRIVE_SLOT)
    c.fill(intersection(body, rect(0, 8, 16, 16)),
           vertical_gradient(8, DRIVE_FRONT, 12, DRIVE_FRONT_SHADE))
    c.fill(rect(3, 10, 8, 11), DRIVE_SLOT)
    c.fill(rect(11, 9, 13, 11), LAMP)
    c.fill(rect(11, 9, 12, 10), LAMP_GLOW)


def draw_grey_mark(c):
    # Hidden and system files carry a grey disc over the page's lower right corner.
    c.fill(circle(12, 12, 3.0), MARK_EDGE)
    c.fill(circle(12, 12, 2.0), MARK)


def draw_tick(c):
    # Lower left, clear of the drive's lamp and the file's grey mark; the white halo keeps the
    # red apart from yellow folders and grey drives alike.
    tick = [(1.6, 11.2), (3.9, 13.5), (8.6, 8.6)]
    c.fill(stroke(tick, 4.2), TICK_HALO)
    c.fill(stroke(tick, 2.2), TICK)


def draw_tree_image(index, size=16):
    """The folder tree's image `index`: 0 closed folder, 1 open folder, 2 drive, 3 file,
    4 hidden or system file; 5 to 9 are the same with the tick of an item on the backup list."""
    image = Image(size)
    c = PixelCanvas(image, grid=16)
    kind = index % 5
    if kind == 0:
        draw_closed_folder(c, 1, 2, 15, 14)
    elif kind == 1:
        draw_open_folder(c, 1, 2, 15, 14)
    elif kind == 2:
        draw_drive(c)
    else:
        # A hidden or system file's page is dimmed as well as marked.
        draw_page(c, 3, 1, 13, 15, TEXT_LINE if kind == 3 else HIDDEN_LINE)
        if kind == 4:
            draw_grey_mark(c)
    if index >= 5:
        draw_tick(c)
    return image


def bitmap_strip_bytes(images):
    """A 32-bit BI_RGB .bmp of the images side by side, straight alpha, rows bottom-up.

    Fully transparent pixels are magenta, so a loader that ignores alpha can still key them out.
    """
    height = images[0].size
    width = height * len(images)
    rows = []
    for py in reversed(range(height)):
        row = bytearray()
        for image in images:
            for px in range(height):
                r, g, b, a = image.pixels[py * height + px]
                if _byte(a) == 0:
                    row += b"\xff\x00\xff\x00"
                else:
                    row += bytes(_byte(v / a) for v in (b, g, r)) + bytes([_byte(a)])
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


# --------------------------------------------------------------------------------------------
# The drag cursor: the usual white arrow, with a folder and a page at its lower right.

CURSOR_EDGE = rgb("#000000")
CURSOR_FILL = rgb("#ffffff")


def draw_drag_cursor(size=32):
    image = Image(size)
    c = PixelCanvas(image, grid=32)
    # The tip fills pixel (0, 0), the hot spot; the tail leans right like the standard pointer.
    arrow = [(0, 0), (1, 0), (12.5, 11.5), (12.5, 12.6), (8.4, 12.6), (11.65, 18.8),
             (7.93, 20.75), (4.7, 14.5), (1, 17.9), (0, 17.9)]
    c.fill(polygon(arrow), CURSOR_EDGE)
    c.fill(polygon(inset_polygon(arrow, 1.0)), CURSOR_FILL)
    glyph = PixelCanvas(image, 16, 15, grid=32)
    draw_closed_folder(glyph, 0, 2, 12, 13)
    draw_page(glyph, 7, 4, 16, 17)
    return image


TREE_AND_TRAY_SIZES = (16, 20, 24, 32)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(os.path.abspath(__file__)),
                        help="folder to write into (default: beside this script)")
    args = parser.parse_args()

    # The sizes Windows asks for at 100% to 200%: small icons 16 to 32, large ones 32 to 64.
    program = [draw_program_icon(size) for size in (16, 20, 24, 32, 40, 48, 64)]
    write_file(os.path.join(args.out, "vesperhollow.ico"), icon_file_bytes(program))

    for frame in range(TRAY_FRAMES):
        images = [draw_tray_frame(size, frame) for size in TREE_AND_TRAY_SIZES]
        write_file(os.path.join(args.out, "tray%02d.ico" % frame), icon_file_bytes(images))

    write_file(os.path.join(args.out, "dragfolder.cur"),
               icon_file_bytes([draw_drag_cursor(size) for size in (32, 48, 64)], hotspot=(0, 0)))

    for size in TREE_AND_TRAY_SIZES:
        strip = [draw_tree_image(index, size) for index in range(10)]
        name = "treeimages.bmp" if size == 16 else "treeimages%d.bmp" % size
        write_file(os.path.join(args.out, name), bitmap_strip_bytes(strip))


if __name__ == "__main__":
    main()
