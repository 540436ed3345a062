#!/usr/bin/env python3
"""Draws the commentary pane's images: the nine button glyphs as 16x16 icons, enabled
(LexButton0.ico to LexButton8.ico) and greyed (LexButton9.ico to LexButton17.ico), and the
title-kind strip LexTitles.bmp (three 20x16 images on magenta: a text, a bible reference, a
date).

Usage: lexpane_images.py OUT_DIR
"""
import os
import struct
import sys

MASK = (255, 0, 255)
INK = (32, 48, 120)
GREY = (150, 150, 150)
RED = (190, 30, 30)


def blank(w, h):
    return [[None] * w for _ in range(h)]


def rect(px, x0, y0, x1, y1, c):
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = c


def line(px, x0, y0, x1, y1, c):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        px[round(y0 + (y1 - y0) * i / steps)][round(x0 + (x1 - x0) * i / steps)] = c


def glyph(k, c):
    """Glyph k of the buttons: home, back, lock closed, lock open, new, delete, rename, edit, done."""
    p = blank(16, 16)
    if k == 0:  # home: a house
        for i in range(7):
            line(p, 8 - i, 2 + i, 8 + i, 2 + i, c) if i < 7 else None
        rect(p, 4, 8, 13, 14, c)
        rect(p, 7, 10, 10, 14, None)
    elif k == 1:  # back: an arrow to the left
        for i in range(5):
            line(p, 3 + i, 8 - i, 3 + i, 8 + i, c)
        rect(p, 8, 7, 14, 10, c)
    elif k in (2, 3):  # lock, closed or open
        rect(p, 3, 8, 13, 15, c)
        line(p, 5, 8, 5, 3, c)
        line(p, 10, 3 if k == 2 else 1, 10, 8 if k == 2 else 4, c)
        line(p, 5, 3, 6, 2, c)
        line(p, 6, 2, 9, 2, c)
        line(p, 9, 2, 10, 3, c)
    elif k == 4:  # new: a page with a plus
        rect(p, 3, 1, 12, 15, c)
        rect(p, 4, 2, 11, 14, (255, 255, 255))
        rect(p, 7, 4, 8, 12, c)
        rect(p, 4, 7, 11, 8, c)
    elif k == 5:  # delete: a cross
        for d in range(-1, 2):
            line(p, 3, 3 + d, 12, 12 + d, RED if c != GREY else c)
            line(p, 3, 12 + d, 12, 3 + d, RED if c != GREY else c)
    elif k == 6:  # rename: a text bar with a caret
        rect(p, 1, 5, 15, 11, c)
        rect(p, 2, 6, 14, 10, (255, 255, 255))
        rect(p, 9, 3, 10, 13, c)
    elif k == 7:  # edit: a pencil
        for i in range(10):
            line(p, 3 + i, 12 - i, 4 + i, 13 - i, c)
        line(p, 2, 14, 4, 14, c)
    else:  # done editing: a page with lines
        rect(p, 3, 1, 13, 15, c)
        rect(p, 4, 2, 12, 14, (255, 255, 255))
        for y in (4, 7, 10):
            rect(p, 5, y, 11, y + 1, c)
    return p


def write_ico(path, px):
    w, h = 16, 16
    xor = b"".join(
        bytes((c[2], c[1], c[0], 255) if c else (0, 0, 0, 0)) for row in reversed(px) for c in row)
    and_rows = b""
    for row in reversed(px):
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (31 - x)
        and_rows += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(xor) + len(and_rows), 0, 0, 0, 0)
    image = header + xor + and_rows
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def write_bmp(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(px):
        line_bytes = b"".join(bytes(((c or MASK)[2], (c or MASK)[1], (c or MASK)[0])) for c in row)
        data += line_bytes + b"\0" * (stride - len(line_bytes))
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 0, 0, 0, 0))
        f.write(data)


def titles_strip():
    px = blank(60, 16)
    for y in (3, 6, 9, 12):  # text: lines of a page
        rect(px, 4, y, 16, y + 1, INK)
    rect(px, 26, 2, 35, 14, (120, 60, 20))  # bible reference: a closed book
    rect(px, 27, 3, 34, 13, (200, 150, 90))
    rect(px, 30, 5, 31, 11, (255, 255, 255))
    rect(px, 28, 7, 33, 8, (255, 255, 255))
    rect(px, 44, 2, 56, 14, INK)  # date: a calendar leaf
    rect(px, 45, 5, 55, 13, (255, 255, 255))
    rect(px, 47, 7, 49, 9, RED)
    return px


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for k in range(9):
        write_ico(os.path.join(out, "LexButton%d.ico" % k), glyph(k, INK))
        write_ico(os.path.join(out, "LexButton%d.ico" % (9 + k)), glyph(k, GREY))
    write_bmp(os.path.join(out, "LexTitles.bmp"), titles_strip())


if __name__ == "__main__":
    main()
