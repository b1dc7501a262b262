#!/usr/bin/env python3
"""Turns GMT's multi-segment shoreline dumps into the map page's coastline:
one level per dump, each simplified by Douglas-Peucker to its tolerance in
degrees and drawn from its zoom on.  A line is a text of the polyline
encoding (as Google's maps use it): longitude and latitude in hundredths
of a degree, each the difference from the point before, five bits to a
character from '?' up; the first pair is absolute.  The output is the same
on every run for the same input.

usage: simplify_coastline.py ZOOM:TOLERANCE:SHORE.txt ... > coastline.json"""
import json
import sys

from rasterize_chart import read_segments


def simplify(points, tolerance):
    """Douglas-Peucker, without recursion; the end points always stay."""
    keep = [False] * len(points)
    keep[0] = keep[-1] = True
    stack = [(0, len(points) - 1)]
    while stack:
        first, last = stack.pop()
        (x1, y1), (x2, y2) = points[first], points[last]
        dx, dy = x2 - x1, y2 - y1
        length2 = dx * dx + dy * dy
        worst, worst_at = -1.0, None
        for i in range(first + 1, last):
            x, y = points[i]
            if length2 == 0:
                d2 = (x - x1) ** 2 + (y - y1) ** 2
            else:
                t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
                d2 = (x - x1 - t * dx) ** 2 + (y - y1 - t * dy) ** 2
            if d2 > worst:
                worst, worst_at = d2, i
        if worst_at is not None and worst > tolerance * tolerance:
            keep[worst_at] = True
            stack.append((first, worst_at))
            stack.append((worst_at, last))
    return [p for p, k in zip(points, keep) if k]


def encode(value):
    """One signed integer in the polyline encoding."""
    value = ~(value << 1) if value < 0 else value << 1
    text = ""
    while value >= 0x20:
        text += chr((0x20 | (value & 0x1F)) + 63)
        value >>= 5
    return text + chr(value + 63)


def encode_line(points):
    """The points in hundredths of a degree, repeats dropped; None when
    fewer than two points are left."""
    cells, last = [], None
    for lon, lat in points:
        cell = (round(lon * 100), round(lat * 100))
        if cell != last:
            cells.append(cell)
            last = cell
    if len(cells) < 2:
        return None
    text, previous = "", (0, 0)
    for cell in cells:
        text += encode(cell[0] - previous[0]) + encode(cell[1] - previous[1])
        previous = cell
    return text


def main():
    if len(sys.argv) < 2 or any(arg.count(":") != 2 for arg in sys.argv[1:]):
        sys.exit(__doc__.split("\n\n")[-1])
    levels = []
    for arg in sys.argv[1:]:
        zoom, tolerance, shore = arg.split(":", 2)
        lines = []
        for segment in read_segments(shore):
            text = encode_line(simplify([(lon - 360 if lon > 180 else lon, lat) for lon, lat in segment],
                                        float(tolerance)))
            if text:
                lines.append(json.dumps(text))
        levels.append('{"zoom": %d, "lines": [\n%s\n]}' % (int(zoom), ",\n".join(lines)))
    sys.stdout.write("[\n" + ",\n".join(levels) + "\n]\n")


if __name__ == "__main__":
    main()
