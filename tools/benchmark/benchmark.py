#!/usr/bin/env python3
"""Times orvanta-convert: loading the shipped data file, then converting one
million codes of that file (a fixed random sample of valid codes), plain,
as CSV and as GeoJSON; prints codes per second.

usage: benchmark.py BIN_DIR [COUNT]   (BIN_DIR holds orvanta-convert,
gridtool and GridData.bin)"""
import json
import os
import random
import subprocess
import sys
import tempfile
import time


def codes_of(gridtool, data, count):
    """count valid codes of the data file, drawn with a fixed seed."""
    dump = json.loads(subprocess.run([gridtool, "dump", "--json", data], check=True,
                                     capture_output=True).stdout)
    cells = []
    for quad in dump["quads"]:
        form = dump["forms"].get(str(quad["quadtype"]))
        if form:
            cells += [quad["name"] + "%02d" % n for n in set(form["numbers"]) if 0 <= n <= 99]
    rng = random.Random(1942)
    smalls = ["%d%d" % (a, b) for a in range(1, 10) for b in range(1, 10)]
    return [rng.choice(cells) + rng.choice(smalls) for _ in range(count)]


def timed(args, stdin_path):
    """Best wall time of three runs, with standard output thrown away."""
    best = None
    for _ in range(3):
        with open(stdin_path, "rb") as stdin:
            start = time.perf_counter()
            result = subprocess.run(args, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            elapsed = time.perf_counter() - start
        if result.returncode not in (0, 1):
            sys.exit("benchmark: %s failed: %s" % (" ".join(args), result.stderr.decode()))
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    bindir = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000000
    convert = os.path.join(bindir, "orvanta-convert")
    data = os.path.join(bindir, "GridData.bin")
    codes = codes_of(os.path.join(bindir, "gridtool"), data, count)
    with tempfile.TemporaryDirectory(prefix="orvanta-benchmark-") as tmp:
        plain = os.path.join(tmp, "codes.txt")
        csv = os.path.join(tmp, "codes.csv")
        empty = os.path.join(tmp, "empty.txt")
        with open(plain, "w", newline="\n") as f:
            f.write("\n".join(codes) + "\n")
        with open(csv, "w", newline="") as f:
            f.write("".join("%d,%s,U-%d\r\n" % (i, c, i % 1000) for i, c in enumerate(codes)))
        open(empty, "w").close()
        load = timed([convert, "--data", data], empty)
        print("loading %s (and starting the program): %.1f ms" % (os.path.basename(data), load * 1000))
        for label, args, path in (("plain", [convert, "--data", data], plain),
                                  ("--format decimal", [convert, "--data", data, "--format", "decimal"], plain),
                                  ("--csv 2", [convert, "--data", data, "--csv", "2"], csv),
                                  ("--format geojson", [convert, "--data", data, "--format", "geojson"], plain)):
            seconds = timed(args, path)
            print("%-18s %d codes in %.3f s: %.0f codes/s" % (label, count, seconds, count / seconds))


if __name__ == "__main__":
    main()
