#!/usr/bin/env python3
"""Turns GMT's multi-segment shoreline dump into the map page's coastline:
a JSON array of lines, each [lon, lat, lon, lat, ...] in degrees with two
decimals, simplified by Douglas-Peucker to the given tolerance in degrees.
The output is the same on every run for the same input.

usage: simplify_coastline.py --tolerance DEGREES SHORE.txt > coastline.json"""
import argparse
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


def number(value):
    text = "%.2f" % value
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tolerance", type=float, required=True)
    parser.add_argument("shore")
    args = parser.parse_args()
    lines = []
    for segment in read_segments(args.shore):
        points = simplify([(lon - 360 if lon > 180 else lon, lat) for lon, lat in segment], args.tolerance)
        flat = []
        for lon, lat in points:
            pair = [number(lon), number(lat)]
            if flat[-2:] != pair:
                flat += pair
        if len(flat) >= 4:
            lines.append("[" + ",".join(flat) + "]")
    sys.stdout.write("[\n" + ",\n".join(lines) + "\n]\n")


if __name__ == "__main__":
    main()
