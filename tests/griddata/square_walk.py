#!/usr/bin/env python3
"""Every large square of both shipped files as a coarse code ("AM") is the
box around all its records: centre, edges (west above east across 180 deg),
precision_nm and chart; the centre lies in one of the records."""

import csv
import io
import os
import subprocess
import unittest

from common import FILES, data_dir, gridfile, plain, tool


def squares(db):
    """{name: [south, north, west, east, chart, records]}, degrees east,
    each record moved by whole turns to the name's first one."""
    boxes = {}
    for rec in db.records:
        s, n, w, e = gridfile.extent(rec)
        box = boxes.setdefault(rec["name"].decode("cp1252"), [s, n, w, e, rec["chart"], []])
        shift = 360 * round((w + e - box[2] - box[3]) / 720)
        box[:5] = min(box[0], s), max(box[1], n), min(box[2], w - shift), max(box[3], e - shift), \
            box[4] if box[4] != 1 else rec["chart"]
        box[5].append((s, n, w - shift, e - shift))
    return boxes


class EveryLargeSquare(unittest.TestCase):
    def test_a_large_square_is_all_its_records(self):
        cmd = tool("ORVANTA_CONVERT")
        if cmd is None:
            self.skipTest("orvanta-convert not available")
        for file_name in FILES:
            boxes = squares(gridfile.load(plain(file_name)))
            out = subprocess.run(cmd + ["--data", os.path.join(data_dir(), file_name.replace(".txt", ".bin")),
                                        "--csv", "code", "--header", "--shape", "square"],
                                 input="".join(n + "\n" for n in ["code"] + list(boxes)).encode(),
                                 stdout=subprocess.PIPE, check=True).stdout.decode()
            rows = list(csv.DictReader(io.StringIO(out)))
            self.assertEqual([r["code"] for r in rows], list(boxes), file_name)
            for row in rows:
                s, n, w, e, chart, records = boxes[row["code"]]
                lat, lon = (s + n) / 2, (w + e) / 2
                want = {"latitude": lat, "longitude": lon, "south": s, "west": w, "north": n, "east": e}
                for key, value in want.items():
                    wrapped = value if key in ("latitude", "south", "north") else (value + 180) % 360 - 180
                    self.assertAlmostEqual(float(row[key]), wrapped, delta=2e-6, msg=row["code"] + " " + key)
                self.assertEqual((row["precision_nm"], row["chart"]), ("%.2f" % ((n - s) * 30), str(chart)))
                self.assertTrue(any(a <= lat <= b and c <= lon <= d for a, b, c, d in records), row["code"])


if __name__ == "__main__":
    unittest.main()
