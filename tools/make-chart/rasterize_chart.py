#!/usr/bin/env python3
"""Rasterise the Orvanta world chart (bitmap resource 138) from GSHHG data.

Inputs, all written by make-chart.sh with GMT:
  mask.bin     land/water grid, one unsigned byte per node (1 = land),
               pixel registered, rows from north to south
  borders.txt  national borders as GMT multi-segment lon/lat text
  rivers.txt   rivers as GMT multi-segment lon/lat text

Output: a 4-bit BI_RGB Windows BMP, 1598 x 1072, seven palette entries.

Registration (rows counted from the top, longitude east positive):
  column = 797 + lon * 3.69412
  row    = 559 - M(lat) * 3.676,  M(lat) = ln(tan(lat/2 + 45 deg)) in degrees
A point falls into the pixel whose index is the integer part of these
values, so the pixel (c, r) is sampled at its centre (c + 0.5, r + 0.5).
"""

import argparse
import math
import struct

WIDTH = 1598
HEIGHT = 1072
COL_GREENWICH = 797.0
PX_PER_DEG_LON = 3.69412
ROW_MERCATOR_ZERO = 559.0
PX_PER_DEG_MERC = 3.676

# Palette order is fixed: the program and its tests rely on the indices.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 dashed national borders
    (0xFF, 0xFF, 0xFF),  # 1 not used by any pixel
    (0xE2, 0xCE, 0x5C),  # 2 land
    (0x7F, 0xB1, 0xB7),  # 3 sea
    (0xF7, 0x08, 0x24),  # 4 not used by any pixel
    (0x48, 0xB7, 0xB1),  # 5 rivers
    (0x59, 0x30, 0x30),  # 6 coastlines
]
BORDER, LAND, SEA, RIVER, COAST = 0, 2, 3, 5, 6

# Border dash pattern, in pixels along the drawn line.
DASH_ON = 3
DASH_OFF = 2


def mercator_ordinate(lat_deg):
    return math.degrees(math.log(math.tan(math.radians(lat_deg) / 2 + math.pi / 4)))


def latitude_of_ordinate(m_deg):
    return math.degrees(2 * math.atan(math.exp(math.radians(m_deg)))) - 90.0


def chart_x(lon_east):
    return COL_GREENWICH + lon_east * PX_PER_DEG_LON


def chart_y(lat):
    return ROW_MERCATOR_ZERO - mercator_ordinate(lat) * PX_PER_DEG_MERC


def wrap_lon(lon):
    return (lon + 180.0) % 360.0 - 180.0


def sample_mask(args):
    """Fill land and sea by sampling the mask grid at every pixel centre."""
    ncols = round((args.east - args.west) / args.dlon)
    nrows = round((args.north - args.south) / args.dlat)
    with open(args.mask, "rb") as f:
        grid = f.read()
    if len(grid) != ncols * nrows:
        raise SystemExit(f"mask has {len(grid)} bytes, expected {ncols} x {nrows}")

    # Three samples across each pixel's width (a pixel spans about 16 arc
    # minutes of longitude); the majority decides, so thin capes and
    # straits do not depend on a single grid node.
    col_samples = []
    for c in range(WIDTH):
        idx = []
        for frac in (1.0 / 6.0, 0.5, 5.0 / 6.0):
            lon = wrap_lon((c + frac - COL_GREENWICH) / PX_PER_DEG_LON)
            gc = int((lon - args.west) / args.dlon)
            idx.append(min(max(gc, 0), ncols - 1))
        col_samples.append(tuple(idx))

    img = []
    for r in range(HEIGHT):
        lat = latitude_of_ordinate((ROW_MERCATOR_ZERO - (r + 0.5)) / PX_PER_DEG_MERC)
        gr = int((args.north - lat) / args.dlat)
        gr = min(max(gr, 0), nrows - 1)
        base = gr * ncols
        row = bytearray(WIDTH)
        for c, (a, b, d) in enumerate(col_samples):
            land = grid[base + a] + grid[base + b] + grid[base + d]
            row[c] = LAND if land >= 2 else SEA
        img.append(row)
    return img


def mark_coast(img):
    """A land pixel with a sea pixel left, right, above or below is coast.

    The chart wraps in longitude only in the sense that both edges show the
    Pacific; neighbours beyond the image edges are not consulted.
    """
    coast = []
    for r in range(HEIGHT):
        row = img[r]
        up = img[r - 1] if r > 0 else None
        down = img[r + 1] if r < HEIGHT - 1 else None
        for c in range(WIDTH):
            if row[c] != LAND:
                continue
            if ((c > 0 and row[c - 1] == SEA) or (c < WIDTH - 1 and row[c + 1] == SEA)
                    or (up is not None and up[c] == SEA)
                    or (down is not None and down[c] == SEA)):
                coast.append((r, c))
    for r, c in coast:
        img[r][c] = COAST


def read_segments(path):
    segments = []
    current = []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            if line.startswith(">"):
                if len(current) > 1:
                    segments.append(current)
                current = []
                continue
            lon, lat = line.split()[:2]
            current.append((float(lon), float(lat)))
    if len(current) > 1:
        segments.append(current)
    return segments


def line_pixels(x0, y0, x1, y1):
    """Pixels met by the straight line between two chart points, in order."""
    c0, r0 = math.floor(x0), math.floor(y0)
    c1, r1 = math.floor(x1), math.floor(y1)
    dc, dr = abs(c1 - c0), -abs(r1 - r0)
    sc = 1 if c0 < c1 else -1
    sr = 1 if r0 < r1 else -1
    err = dc + dr
    out = []
    while True:
        out.append((c0, r0))
        if c0 == c1 and r0 == r1:
            return out
        e2 = 2 * err
        if e2 >= dr:
            err += dr
            c0 += sc
        if e2 <= dc:
            err += dc
            r0 += sr


def draw_segments(img, segments, colour, dashed):
    """Draw polylines on land pixels only; sea and coastline stay as they are.

    Each segment is drawn three times, shifted by -360, 0 and +360 degrees, so
    that the parts of the world repeated at both edges get their lines too.
    """
    for seg in segments:
        # Keep the polyline continuous across the antimeridian.
        pts = [seg[0]]
        for lon, lat in seg[1:]:
            prev = pts[-1][0]
            while lon - prev > 180.0:
                lon -= 360.0
            while lon - prev < -180.0:
                lon += 360.0
            pts.append((lon, lat))
        for shift in (-360.0, 0.0, 360.0):
            xy = [(chart_x(lon + shift), chart_y(lat)) for lon, lat in pts]
            if max(x for x, _ in xy) < 0 or min(x for x, _ in xy) >= WIDTH:
                continue
            step = 0
            last = None
            for (x0, y0), (x1, y1) in zip(xy, xy[1:]):
                for c, r in line_pixels(x0, y0, x1, y1):
                    if (c, r) == last:
                        continue
                    last = (c, r)
                    on = (step % (DASH_ON + DASH_OFF)) < DASH_ON
                    step += 1
                    if dashed and not on:
                        continue
                    if 0 <= c < WIDTH and 0 <= r < HEIGHT and img[r][c] in (LAND, RIVER):
                        img[r][c] = colour


def write_bmp(path, img):
    stride = ((WIDTH * 4 + 31) // 32) * 4
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    size_image = stride * HEIGHT
    header = struct.pack("<2sIHHI", b"BM", offset + size_image, 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, size_image,
                       0, 0, len(PALETTE), 0)
    body = bytearray()
    for r in range(HEIGHT - 1, -1, -1):  # bottom-up row order
        row = img[r]
        packed = bytearray(stride)
        for c in range(0, WIDTH, 2):
            hi = row[c]
            lo = row[c + 1] if c + 1 < WIDTH else 0
            packed[c // 2] = (hi << 4) | lo
        body += packed
    with open(path, "wb") as f:
        f.write(header + info + palette + bytes(body))


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--mask", required=True)
    p.add_argument("--west", type=float, required=True)
    p.add_argument("--east", type=float, required=True)
    p.add_argument("--south", type=float, required=True)
    p.add_argument("--north", type=float, required=True)
    p.add_argument("--dlon", type=float, required=True, help="mask spacing in arc minutes")
    p.add_argument("--dlat", type=float, required=True, help="mask spacing in arc minutes")
    p.add_argument("--borders", required=True)
    p.add_argument("--rivers", required=True)
    p.add_argument("--out", required=True)
    args = p.parse_args()
    args.dlon /= 60.0
    args.dlat /= 60.0

    img = sample_mask(args)
    mark_coast(img)
    draw_segments(img, read_segments(args.rivers), RIVER, dashed=False)
    draw_segments(img, read_segments(args.borders), BORDER, dashed=True)
    write_bmp(args.out, img)


if __name__ == "__main__":
    main()
