#!/usr/bin/env python3
"""Walks every code of the grid files through orvanta-convert and keeps a
digest of the results per large square, so that a change of the data or of
the position computation shows which squares moved.

  code_walk.py capture OUT.tsv   write the digests of the files as built now
  (run as a test: compares the built files with code-baseline.tsv)

A digest covers the decimal degrees and the degree-minute texts of every
small square of the cells listed for the square.  A minute text of "60.00"
is read as the next whole degree, so that carrying such minutes into the
degrees does not count as a move.
"""

import hashlib
import itertools
import os
import re
import subprocess
import sys
import unittest

from common import FILES, gridfile, plain, tool, data_dir

HERE = os.path.dirname(os.path.abspath(__file__))
BASELINE = os.path.join(HERE, "code-baseline.tsv")

# Cells whose geometry was changed on purpose, with the reason; they are
# left out of the comparison (and of a new capture).
CHANGED = {
    ("GridData.txt", "KY"): (
        {23, 26, 29, 53, 56, 59},
        "KY 2x/5x: cells 1.2 deg wide from 21.8 E on KY's own grid instead of 0.9 deg "
        "from 22.1 E (griddata/README.md, KY)"),
}

SECOND_PAIRS = [10 * a + b for a in range(1, 10) for b in range(1, 10)]
_SIXTY = re.compile(r"^(\d+)\u00b060\.00 ")


def carried(text):
    """'12°60.00 N' -> '13°0.00 N'; other texts unchanged."""
    m = _SIXTY.match(text)
    return "%d\u00b00.00 %s" % (int(m.group(1)) + 1, text[m.end():]) if m else text


def cells_by_name(db):
    """Every cell number of every name of a loaded plain file."""
    cells = {}
    for rec in db.records:
        _, _, nums = db.forms[rec["type"]]
        name = rec["name"].decode("cp1252")
        cells.setdefault(name, set()).update(n for n in nums if n != -1)
    return cells


def convert(cmd, binary, codes, fmt):
    text = "\n".join(codes) + "\n"
    out = subprocess.run(cmd + ["--data", binary, "--format", fmt], input=text.encode("cp1252"),
                         stdout=subprocess.PIPE).stdout.decode("utf-8", "replace")
    lines = out.splitlines()
    assert len(lines) == len(codes), (binary, fmt, len(lines), len(codes))
    return lines


def digests(cmd, file_name, wanted):
    """{name: (decimal digest, text digest)} for the cells in wanted."""
    binary = os.path.join(data_dir(), file_name.replace(".txt", ".bin"))
    order, codes = [], []
    for name in sorted(wanted):
        for cell in sorted(wanted[name]):
            for second in SECOND_PAIRS:
                codes.append("%s%02d%02d" % (name, cell, second))
                order.append(name)
    dec = convert(cmd, binary, codes, "decimal")
    dm = convert(cmd, binary, codes, "dm")
    result = {}
    # A name's codes are consecutive, so its lines are hashed as one text;
    # only a line with minutes of 60.00 is taken apart.
    start = 0
    for name, run in itertools.groupby(order):
        end = start + len(list(run))
        texts = [t if "\u00b060.00 " not in t else
                 "\t".join([t.split("\t")[0]] + [carried(f) for f in t.split("\t")[1:]]) for t in dm[start:end]]
        # The baseline was captured when the tool wrote the code's \u00c4 as
        # its Windows-1252 byte (read here as U+FFFD); it now writes UTF-8.
        result[name] = tuple(hashlib.sha256(("\n".join(lines) + "\n").replace("\u00c4", "\ufffd").encode())
                             .hexdigest()[:16] for lines in (dec[start:end], texts))
        start = end
    return result


REGULAR_CELLS = {10 * a + b for a in range(1, 10) for b in range(1, 10)}


def cells_text(cells):
    return "all" if cells == REGULAR_CELLS else ",".join(str(c) for c in sorted(cells))


def cells_from_text(text):
    return set(REGULAR_CELLS) if text == "all" else {int(c) for c in text.split(",")}


def read_baseline():
    rows = {}
    with open(BASELINE, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            file_name, name, cells, dec, dm = line.rstrip("\n").split("\t")
            rows.setdefault(file_name, {})[name] = (cells_from_text(cells), dec, dm)
    return rows


def capture(out_path, cmd):
    lines = ["# file\tsquare\tcells walked (all = 11..99)\tdecimal digest\ttext digest"]
    for file_name in FILES:
        wanted = cells_by_name(gridfile.load(plain(file_name)))
        for key, (cells, _) in CHANGED.items():
            if key[0] == file_name and key[1] in wanted:
                wanted[key[1]] -= cells
        got = digests(cmd, file_name, wanted)
        for name in sorted(wanted):
            lines.append("\t".join([file_name, name, cells_text(wanted[name]),
                                    got[name][0], got[name][1]]))
    tmp = out_path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(tmp, out_path)


class EveryExistingCode(unittest.TestCase):
    def test_codes_of_the_baseline_keep_their_positions(self):
        cmd = tool("ORVANTA_CONVERT")
        if cmd is None:
            self.skipTest("orvanta-convert not available")
        for file_name, rows in read_baseline().items():
            wanted = {name: cells for name, (cells, _, _) in rows.items()}
            got = digests(cmd, file_name, wanted)
            moved = [name for name, (_, dec, dm) in rows.items() if got.get(name) != (dec, dm)]
            self.assertEqual(moved, [], "%s: squares whose codes moved" % file_name)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "capture":
        capture(sys.argv[2], tool("ORVANTA_CONVERT"))
    else:
        unittest.main()
