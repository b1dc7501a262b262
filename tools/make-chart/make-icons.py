#!/usr/bin/env python3
"""Draw the Orvanta program icons: a compass rose over a grid square.

Writes, with the standard library only:
  resources/orvanta.ico        icon group 107: 32 x 32 and 16 x 16, 4 bits
  resources/orvanta-small.ico  icon group 108: 16 x 16, 4 bits
Both use the classic 16-colour Windows palette and carry an AND mask that
makes the corners outside the rounded square transparent.  With --png it
writes the same drawing as PNG files for the Linux desktop's icon theme
instead: FOLDER/NxN/apps/orvanta.png for N = 16, 32, 48, 64 and 128.

Usage: tools/make-chart/make-icons.py [resources-folder]
       tools/make-chart/make-icons.py --png FOLDER
"""

import math
import os
import struct
import sys
import zlib

# The classic 16-colour palette, so the icons look the same on any display.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, OLIVE, NAVY, TEAL, SILVER, GRAY = 0, 1, 3, 4, 6, 7, 8
RED, YELLOW, BLUE, WHITE = 9, 11, 12, 15
TRANSPARENT = None


def in_star(a, b, length, width):
    """Four-pointed star with arms along the axes, in the (a, b) frame."""
    return abs(a) / length + abs(b) / width <= 1.0 or abs(b) / length + abs(a) / width <= 1.0


def draw(size):
    """Return rows (top first) of palette indices or TRANSPARENT."""
    half = size / 2.0
    px = 2.0 / size  # one pixel in the [-1, 1] frame
    grid_lines = [-1.0 / 3.0, 1.0 / 3.0]
    # Star proportions; the small icon gets slightly fatter arms so that
    # they stay visible at one or two pixels.
    main_len, main_w = (0.90, 0.20) if size >= 32 else (0.95, 0.30)
    diag_len, diag_w = (0.62, 0.17) if size >= 32 else (0.70, 0.26)

    img = []
    for y in range(size):
        row = []
        for x in range(size):
            u = (x + 0.5 - half) / half   # right positive
            v = (half - y - 0.5) / half   # up positive
            if max(abs(u), abs(v)) > 1.0 - px * 0.5 or (abs(u) > 1.0 - 1.5 * px and abs(v) > 1.0 - 1.5 * px):
                row.append(TRANSPARENT)   # the four corner pixels stay clear
                continue
            colour = NAVY
            if any(abs(u - g) < px * 0.5 or abs(v - g) < px * 0.5 for g in grid_lines):
                colour = TEAL
            p = (u + v) / math.sqrt(2.0)
            q = (v - u) / math.sqrt(2.0)
            if in_star(p, q, diag_len, diag_w):
                # Intercardinal points, lit the same way round as the main arms.
                if abs(q) <= abs(p):   # north-east or south-west arm
                    light = (q > 0) if p > 0 else (q < 0)
                else:                  # north-west or south-east arm
                    light = (p < 0) if q > 0 else (p > 0)
                colour = YELLOW if light else OLIVE
            if in_star(u, v, main_len, main_w):
                # Each arm is lit on the side that leads clockwise:
                # north's west half, east's north half, and so on.
                if abs(u) <= abs(v):   # north or south arm
                    light = (u < 0) if v > 0 else (u > 0)
                    if v > 0:
                        colour = RED if light else MAROON
                    else:
                        colour = WHITE if light else SILVER
                else:                  # east or west arm
                    light = (v > 0) if u > 0 else (v < 0)
                    colour = WHITE if light else SILVER
            row.append(colour)
        img.append(row)

    # A black frame along the edge of the opaque area.
    framed = [r[:] for r in img]
    for y in range(size):
        for x in range(size):
            if img[y][x] is TRANSPARENT:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < size and 0 <= ny < size) or img[ny][nx] is TRANSPARENT:
                    framed[y][x] = BLACK
    return framed


def icon_image(rows):
    """BITMAPINFOHEADER + palette + XOR bits + AND mask, as stored in an ICO."""
    size = len(rows)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
                c = BLACK
            line[x // 2] |= c << 4 if x % 2 == 0 else c
        xor += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(path, sizes):
    images = [icon_image(draw(s)) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


PNG_SIZES = [16, 32, 48, 64, 128]


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, rows):
    """An 8-bit RGBA PNG of the rows; transparent pixels get alpha 0."""
    size = len(rows)
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for c in row:
            raw += bytes((0, 0, 0, 0)) if c is TRANSPARENT else bytes(PALETTE[c] + (255,))
    data = (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--png":
        for size in PNG_SIZES:
            write_png(os.path.join(sys.argv[2], "%dx%d" % (size, size), "apps", "orvanta.png"), draw(size))
        return
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources")
    write_ico(os.path.join(folder, "orvanta.ico"), [32, 16])
    write_ico(os.path.join(folder, "orvanta-small.ico"), [16])


if __name__ == "__main__":
    main()
