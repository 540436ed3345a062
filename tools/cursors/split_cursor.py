#!/usr/bin/env python3
"""Writes the split cursor of the bible panes: a 32x32 monochrome .cur of two vertical bars
with arrows pointing left and right, black with a white outline, hot spot between the bars.

Usage: split_cursor.py OUT.cur
"""
import struct
import sys

SIZE = 32
HOT_X, HOT_Y = 15, 15


def black_pixels():
    black = set()
    for y in range(7, 24):  # the two bars
        black.add((13, y))
        black.add((14, y))
        black.add((17, y))
        black.add((18, y))
    for x in list(range(5, 12)) + list(range(21, 28)):  # the shafts
        black.add((x, 15))
        black.add((x, 16))
    for d in range(5):  # the arrowheads
        for y in range(15 - d, 17 + d):
            black.add((3 + d, y))
            black.add((28 - d, y))
    return black


def cursor_bytes():
    black = black_pixels()
    outline = {(x + dx, y + dy) for (x, y) in black for dx in (-1, 0, 1) for dy in (-1, 0, 1)} - black
    xor_rows, and_rows = [], []
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (SIZE - 1 - x)
            if (x, y) in outline:
                xor_bits |= bit  # white
            elif (x, y) not in black:
                and_bits |= bit  # transparent
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    colours = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + colours + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: split_cursor.py OUT.cur\n")
        return 2
    with open(sys.argv[1], "wb") as out:
        out.write(cursor_bytes())
    return 0


if __name__ == "__main__":
    sys.exit(main())
