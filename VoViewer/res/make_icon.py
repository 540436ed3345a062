#!/usr/bin/env python3
"""Draws VoViewer.ico: an open book with a small sun above it (the daily verse), at 16 and
32 pixels, 32-bit colour with an AND mask. Run once; the .ico is kept beside this script."""
import struct, sys

def draw(n):
    s = n / 32.0
    px = [[None] * n for _ in range(n)]
    def put(x, y, c):
        if 0 <= x < n and 0 <= y < n: px[y][x] = c
    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                put(x, y, c)
    gold, rays = (0xF0, 0xB0, 0x20), (0xF8, 0xD0, 0x50)
    cx, cy, r = 16 * s, 8 * s, 4.2 * s
    for y in range(n):
        for x in range(n):
            d = ((x + .5 - cx) ** 2 + (y + .5 - cy) ** 2) ** .5
            if d <= r: put(x, y, gold)
    for x0, y0, x1, y1 in ((15, 0, 17, 2), (8, 7, 10, 9), (22, 7, 24, 9), (10, 2, 12, 4), (20, 2, 22, 4)):
        rect(x0, y0, x1, y1, rays)
    cover, page, line, spine = (0x70, 0x20, 0x20), (0xFF, 0xFB, 0xF0), (0x80, 0x80, 0x90), (0x40, 0x10, 0x10)
    rect(1, 14, 31, 30, cover)
    rect(3, 14, 15, 28, page)
    rect(17, 14, 29, 28, page)
    rect(15, 14, 17, 30, spine)
    for y in (17, 20, 23, 26) if n >= 32 else (18, 22, 26):
        rect(5, y, 13, y + 1, line)
        rect(19, y, 27, y + 1, line)
    return px

def image(n):
    px = draw(n)
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((c[2], c[1], c[0], 255)) if c else b'\0\0\0\0'
                   for row in reversed(px) for c in row)
    stride = ((n + 31) // 32) * 4
    mask = b''
    for row in reversed(px):
        bits = 0
        out = bytearray(stride)
        for x, c in enumerate(row):
            if c is None: out[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(out)
    return header + xor + mask

sizes = (16, 32)
images = [image(n) for n in sizes]
data = struct.pack('<HHH', 0, 1, len(sizes))
offset = 6 + 16 * len(sizes)
for n, img in zip(sizes, images):
    data += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), offset)
    offset += len(img)
data += b''.join(images)
open(sys.argv[1] if len(sys.argv) > 1 else 'VoViewer.ico', 'wb').write(data)
