#!/usr/bin/env python3
"""Draws the main window's images: the toolbar strips (normal, hot, disabled; ten 24x24
images side by side on a magenta mask colour), the check-mark bitmaps of the Back and
Forward menu items, and the program icon in 32x32 and 16x16.

Usage: frame_images.py OUT_DIR
Writes Toolbar.bmp, ToolbarHot.bmp, ToolbarDisabled.bmp, MenuBack.bmp, MenuForward.bmp,
Versilo.ico and VersiloSmall.ico.
"""
import math
import os
import struct
import sys

MASK = (255, 0, 255)
CELL = 24


class Canvas:
    def __init__(self, width, height, fill=MASK):
        self.w, self.h = width, height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.put(x, y0, c)
            self.put(x, y1 - 1, c)
        for y in range(y0, y1):
            self.put(x0, y, c)
            self.put(x1 - 1, y, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            for dx in range(width):
                for dy in range(width):
                    self.put(int(round(x)) + dx, int(round(y)) + dy, c)

    def polygon(self, points, c):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            xs = []
            n = len(points)
            for i in range(n):
                (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
                if ya == yb:
                    continue
                if min(ya, yb) <= y + 0.5 < max(ya, yb):
                    xs.append(xa + (y + 0.5 - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(round(a)), int(round(b))):
                    self.put(x, y, c)

    def disc(self, cx, cy, r, c, inner=None):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r and (inner is None or d >= inner):
                    self.put(x, y, c)


class Cell:
    """One 24x24 image of a strip: drawing offset by the cell's left edge."""

    def __init__(self, canvas, index):
        self.c, self.ox = canvas, index * CELL

    def __getattr__(self, name):
        fn = getattr(self.c, name)

        def shifted(*args, **kw):
            if name == "polygon":
                return fn([(x + self.ox, y) for x, y in args[0]], *args[1:], **kw)
            if name in ("rect", "frame", "line"):
                a = list(args)
                a[0] += self.ox
                a[2] += self.ox
                return fn(*a, **kw)
            if name == "disc":
                return fn(args[0] + self.ox, *args[1:], **kw)
            return fn(args[0] + self.ox, *args[1:], **kw)
        return shifted


# The palette of one strip: ink, paper, accent (blue), mark (green), page lines.
PALETTES = {
    "normal": dict(ink=(40, 48, 64), paper=(250, 248, 240), accent=(38, 96, 176), mark=(72, 168, 64),
                   lines=(150, 150, 160), leather=(128, 52, 40)),
    "hot": dict(ink=(20, 28, 48), paper=(255, 255, 250), accent=(24, 120, 224), mark=(60, 200, 60),
                lines=(120, 120, 140), leather=(168, 64, 44)),
    "disabled": dict(ink=(150, 150, 150), paper=(236, 236, 236), accent=(170, 170, 170), mark=(180, 180, 180),
                     lines=(196, 196, 196), leather=(170, 170, 170)),
}


def page(cell, p, x0, y0, x1, y1):
    cell.rect(x0, y0, x1, y1, p["paper"])
    cell.frame(x0, y0, x1, y1, p["ink"])
    for y in range(y0 + 3, y1 - 2, 3):
        cell.line(x0 + 3, y, x1 - 4, y, p["lines"])


def arrow(cell, p, direction):
    # A thick arrow across the cell: shaft and head.
    if direction == "left":
        cell.polygon([(3, 12), (11, 4), (11, 8), (20, 8), (20, 16), (11, 16), (11, 20)], p["accent"])
    elif direction == "right":
        cell.polygon([(21, 12), (13, 4), (13, 8), (4, 8), (4, 16), (13, 16), (13, 20)], p["accent"])
    else:  # up
        cell.polygon([(12, 3), (20, 11), (16, 11), (16, 20), (8, 20), (8, 11), (4, 11)], p["accent"])


def draw_strip(palette):
    p = PALETTES[palette]
    canvas = Canvas(CELL * 10, CELL)
    # 0: an open book (the program's own mark).
    c = Cell(canvas, 0)
    c.rect(2, 5, 22, 20, p["leather"])
    page(c, p, 3, 4, 12, 19)
    page(c, p, 12, 4, 21, 19)
    # 1: a new bible window: a page with a plus.
    c = Cell(canvas, 1)
    page(c, p, 3, 2, 17, 22)
    c.rect(14, 13, 22, 16, p["mark"])
    c.rect(16, 11, 19, 19, p["mark"])
    c.rect(16, 13, 19, 16, p["mark"])
    # 2: copy: two pages.
    c = Cell(canvas, 2)
    page(c, p, 2, 2, 14, 17)
    page(c, p, 9, 7, 21, 22)
    # 3, 4: back and forward.
    arrow(Cell(canvas, 3), p, "left")
    arrow(Cell(canvas, 4), p, "right")
    # 5: one level up (close the chapter or book).
    arrow(Cell(canvas, 5), p, "up")
    # 6: search: a magnifying glass.
    c = Cell(canvas, 6)
    c.disc(10, 10, 7, p["ink"], inner=5)
    c.disc(10, 10, 5, p["paper"])
    c.line(14, 14, 20, 20, p["ink"], width=3)
    # 7: the commentary pane: a window with a text column on its right.
    c = Cell(canvas, 7)
    c.rect(2, 3, 22, 21, p["paper"])
    c.frame(2, 3, 22, 21, p["ink"])
    c.rect(2, 3, 22, 6, p["accent"])
    c.rect(13, 6, 14, 21, p["ink"])
    for y in range(9, 19, 3):
        c.line(15, y, 20, y, p["leather"])
    # 8: the translations pane: a window with three columns of text.
    c = Cell(canvas, 8)
    c.rect(2, 3, 22, 21, p["paper"])
    c.frame(2, 3, 22, 21, p["ink"])
    c.rect(2, 3, 22, 6, p["accent"])
    for x0 in (4, 10, 16):
        for y in range(9, 19, 3):
            c.line(x0, y, x0 + 3, y, p["lines"] if palette == "disabled" else p["ink"])
    # 9: colour marking: a marked line of text and a marker pen.
    c = Cell(canvas, 9)
    page(c, p, 2, 4, 18, 21)
    c.rect(4, 9, 16, 13, p["mark"])
    c.polygon([(14, 16), (20, 3), (23, 5), (17, 18)], p["ink"])
    c.polygon([(14, 16), (17, 18), (14, 20)], p["mark"])
    return canvas


def draw_menu_arrow(direction):
    canvas = Canvas(16, 16, fill=(255, 255, 255))
    ink = (0, 0, 0)
    if direction == "left":
        canvas.polygon([(2, 8), (8, 2), (8, 6), (14, 6), (14, 10), (8, 10), (8, 14)], ink)
    else:
        canvas.polygon([(14, 8), (8, 2), (8, 6), (2, 6), (2, 10), (8, 10), (8, 14)], ink)
    return canvas


def draw_icon(size):
    canvas = Canvas(size, size)
    s = size / 32.0
    leather, paper, ink, lines, mark = (128, 52, 40), (250, 248, 240), (60, 40, 30), (150, 150, 160), (72, 168, 64)
    canvas.rect(int(1 * s), int(6 * s), int(31 * s), int(28 * s), leather)
    canvas.rect(int(3 * s), int(4 * s), int(16 * s), int(26 * s), paper)
    canvas.rect(int(16 * s), int(4 * s), int(29 * s), int(26 * s), paper)
    canvas.rect(int(15.5 * s), int(4 * s), int(16.5 * s) + 1, int(26 * s), ink)
    step = max(2, int(3 * s))
    for y in range(int(8 * s), int(23 * s), step):
        canvas.line(int(5 * s), y, int(13 * s), y, lines)
        canvas.line(int(19 * s), y, int(27 * s), y, lines)
    canvas.rect(int(19 * s), int(10 * s), int(27 * s), int(10 * s) + max(1, int(2 * s)), mark)
    canvas.rect(int(22 * s), int(0 * s), int(25 * s) + 1, int(12 * s), (176, 32, 40))  # the ribbon
    return canvas


def bmp_bytes(canvas):
    stride = (canvas.w * 3 + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for r, g, b in canvas.px[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header, data


def write_bmp(path, canvas):
    header, data = bmp_bytes(canvas)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header)))
        f.write(header + data)


def write_ico(path, canvas):
    # One 32-bit image with its AND mask: the mask colour becomes transparent.
    w, h = canvas.w, canvas.h
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b in canvas.px[y]:
            xor += bytes((b, g, r, 0 if (r, g, b) == MASK else 255))
    mask_stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x, px in enumerate(canvas.px[y]):
            if px == MASK:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(andm)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "Toolbar.bmp"), draw_strip("normal"))
    write_bmp(os.path.join(out, "ToolbarHot.bmp"), draw_strip("hot"))
    write_bmp(os.path.join(out, "ToolbarDisabled.bmp"), draw_strip("disabled"))
    write_bmp(os.path.join(out, "MenuBack.bmp"), draw_menu_arrow("left"))
    write_bmp(os.path.join(out, "MenuForward.bmp"), draw_menu_arrow("right"))
    write_ico(os.path.join(out, "Versilo.ico"), draw_icon(32))
    write_ico(os.path.join(out, "VersiloSmall.ico"), draw_icon(16))


if __name__ == "__main__":
    main()
