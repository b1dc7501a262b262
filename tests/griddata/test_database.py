#!/usr/bin/env python3
"""Consistency of the generated grid database over every record and code."""

import itertools
import json
import os
import subprocess
import textwrap
import unittest

from common import FILES, gridfile, plain, tool, data_dir


# Second digit pairs at the corners and the centre of a cell.
CORNERS_AND_CENTRE = (11, 19, 55, 91, 99)


def loaded(name):
    return gridfile.load(plain(name))


def _depth(a, b):
    """How deep two (south, north, west, east) boxes reach into each other."""
    return min(a[1], b[1]) - max(a[0], b[0]), min(a[3], b[3]) - max(a[2], b[2])


def _overlap(a, b):
    """True when two boxes share an area."""
    lat, lon = _depth(a, b)
    return lat > 1e-6 and lon > 1e-6


def _clash(a, b):
    """True when two cells overlap by a third of a cell or more both ways.
    Where rows on two latitude series meet, the grid cuts a cell that the
    file holds whole; it reaches less than a third into its neighbour."""
    lat, lon = _depth(a, b)
    return (lat > 1e-6 and lon > 1e-6 and
            3 * lat >= min(a[1] - a[0], b[1] - b[0]) - 1e-6 and
            3 * lon >= min(a[3] - a[2], b[3] - b[2]) - 1e-6)


def _cells(db, rec):
    """Boxes of the cells of a record that exist in its form."""
    fx, fy, nums = db.forms[rec["type"]]
    s, n, w, e = gridfile.extent(rec)
    dx, dy = (e - w) / fx, (n - s) / fy
    for i, num in enumerate(nums):
        if num != -1:
            r, c = divmod(i, fx)
            yield (n - (r + 1) * dy, n - r * dy, w + c * dx, w + (c + 1) * dx)


class FileFormat(unittest.TestCase):
    def test_line_ends_and_code_page(self):
        for name in FILES:
            data = plain(name)
            with self.subTest(file=name):
                self.assertTrue(data.endswith(b"\r\n"))
                self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
                self.assertNotIn(b"\r", data.replace(b"\r\n", b""))
                data.decode("cp1252")  # raises on bytes outside the code page

    def test_no_line_starts_with_a_space(self):
        # A leading space makes a keyword unrecognisable to the loader.
        for name in FILES:
            for line in plain(name).split(b"\r\n"):
                self.assertFalse(line.startswith(b" "), (name, line))

    def test_loads_without_fault(self):
        for name in FILES:
            with self.subTest(file=name):
                db = loaded(name)
                self.assertEqual(db.status, 0)
                self.assertTrue(db.records)
                for rec in db.records:
                    self.assertIn(rec["type"], db.forms)

    def test_about_line_says_what_and_when(self):
        for name in FILES:
            about = loaded(name).about
            with self.subTest(file=name):
                self.assertIsNotNone(about)
                self.assertLessEqual(len(about) + 2, 400)
                text = about.decode("cp1252")
                self.assertRegex(text, r"MQK grid database \d{4}-\d\d-\d\d")
                self.assertIn("Chart 1", text)
                self.assertIn("Chart 2", text)
                # The About box shows five lines of about 43 characters.
                self.assertLessEqual(len(textwrap.wrap(text, 40)), 5, text)

    def test_limits_of_the_program_tables(self):
        for name in FILES:
            db = loaded(name)
            with self.subTest(file=name):
                self.assertLessEqual(len(db.records), 500)
                for chart, qtype, nx, ny, names in db.sections:
                    self.assertLessEqual(nx * ny, 300)
                    self.assertEqual(nx * ny, len(names))
                    self.assertTrue(0 <= qtype <= 99)
                counts = {}
                for rec in db.records:
                    self.assertEqual(len(rec["name"]), 2, rec["name"])
                    counts[rec["name"]] = counts.get(rec["name"], 0) + 1
                self.assertLessEqual(max(counts.values()), 20)
                for t, (fx, fy, nums) in db.forms.items():
                    self.assertTrue(0 <= t <= 99)
                    self.assertTrue(1 <= fx * fy <= 140, t)
                    self.assertEqual(len(nums), fx * fy)

    def test_numeric_fields_fit_their_buffers(self):
        # Every number field is read into a 12-byte buffer: 11 bytes at most.
        for name in FILES:
            for line in plain(name).split(b"\r\n"):
                if line.startswith((b"DownLeftPos ", b"UpRightPos ")):
                    for pos in line.split(b" ")[1:]:
                        for part in pos.split(b"'"):
                            self.assertLessEqual(len(part), 11, line)


class Geometry(unittest.TestCase):
    def test_cells_of_different_records_do_not_overlap(self):
        # Records may share a bounding box (an irregular square cut into
        # parts), but no cell may lie over a cell of another record beyond
        # the cut cells where two row series meet.
        for name in FILES:
            db = loaded(name)
            boxes = [(gridfile.extent(r), r) for r in db.records]
            for (a, ra), (b, rb) in itertools.combinations(boxes, 2):
                if not _overlap(a, b):
                    continue
                for ca in _cells(db, ra):
                    for cb in _cells(db, rb):
                        self.assertFalse(_clash(ca, cb),
                                         (name, ra["name"], ca, rb["name"], cb))

    def test_squares_of_a_section_are_side_by_side(self):
        # Within one chart section the squares of a row share their edges:
        # no gap, no overlap, equal size.
        for name in FILES:
            db = loaded(name)
            by_section = {}
            for rec in db.records:
                by_section.setdefault(rec["section"], []).append(rec)
            for recs in by_section.values():
                for a, b in zip(recs, recs[1:]):
                    ea, eb = gridfile.extent(a), gridfile.extent(b)
                    self.assertAlmostEqual(ea[3], eb[2], places=4)
                    self.assertAlmostEqual(ea[0], eb[0], places=4)
                    self.assertAlmostEqual(ea[1], eb[1], places=4)

    def test_sizes_follow_the_grid_rules(self):
        # Cells are 0.9 deg high; cell widths are multiples of 0.05 deg
        # (0.6 to 6.75 deg occur, 1.05 and 2.2 at the Pacific edges).  A
        # square may reach past 180 E, never more than half a turn.
        for name in FILES:
            db = loaded(name)
            for rec in db.records:
                fx, fy, _ = db.forms[rec["type"]]
                s, n, w, e = gridfile.extent(rec)
                self.assertAlmostEqual((n - s) / fy, 0.9, places=4, msg=rec)
                ratio = (e - w) / fx / 0.05
                self.assertLess(abs(ratio - round(ratio)), 1e-3, rec)
                self.assertTrue(-180.0 <= w < 180.0 and w < e <= w + 180.0, rec)

    def test_each_cell_number_is_reachable_once_per_name(self):
        # The program takes the first record whose form holds the number,
        # so a number in two records of one name would hide the second cell.
        for name in FILES:
            db = loaded(name)
            seen = {}
            for rec in db.records:
                fx, fy, nums = db.forms[rec["type"]]
                for n in nums:
                    if n == -1:
                        continue
                    key = (rec["name"], n)
                    self.assertNotIn(key, seen, (name, key))
                    seen[key] = rec

    def test_every_code_lies_inside_its_large_square(self):
        for name in FILES:
            db = loaded(name)
            checked = 0
            for rec in db.records:
                fx, fy, nums = db.forms[rec["type"]]
                s, n, w, e = gridfile.extent(rec)
                for first in nums:
                    if first == -1:
                        continue
                    for second in CORNERS_AND_CENTRE:
                        code = "%s%02d%02d" % (rec["name"].decode("cp1252"), first, second)
                        lat, lon, hit = gridfile.convert(db, code)
                        self.assertIs(hit, rec, code)
                        self.assertTrue(s < lat < n and w < lon < e, (code, lat, lon))
                        checked += 1
            self.assertGreater(checked, 0)

    def test_tenth_cell_of_a_two_by_five_block(self):
        # "AK 01" is the tenth cell of block 1: bottom right of the block,
        # right under AK 18 and beside AK 19.
        db = loaded("GridData.txt")
        c01 = gridfile.convert(db, "AK0155")
        c18 = gridfile.convert(db, "AK1855")
        c19 = gridfile.convert(db, "AK1955")
        self.assertAlmostEqual(c01[1], c18[1], places=4)
        self.assertAlmostEqual(c01[0], c18[0] - 0.9, places=4)
        self.assertAlmostEqual(c01[0], c19[0], places=4)
        self.assertGreater(c01[1], c19[1])


class Scrambled(unittest.TestCase):
    def test_scrambling_round_trips(self):
        for name in FILES:
            binary = os.path.join(data_dir(), name.replace(".txt", ".bin"))
            if not os.path.exists(binary):
                self.skipTest("%s not built" % binary)
            with open(binary, "rb") as f:
                self.assertEqual(gridfile.unscramble(f.read()), plain(name))



class WithGridtool(unittest.TestCase):
    def setUp(self):
        self.cmd = tool("GRIDTOOL")
        if self.cmd is None:
            self.skipTest("gridtool not available")

    def test_scrambled_files_load_with_status_0(self):
        for name in FILES:
            binary = os.path.join(data_dir(), name.replace(".txt", ".bin"))
            if not os.path.exists(binary):
                self.skipTest("%s not built" % binary)
            out = subprocess.run(self.cmd + ["dump", "--json", binary],
                                 stdout=subprocess.PIPE, check=True).stdout
            dump = json.loads(out.decode("utf-8", "replace"))
            with self.subTest(file=name):
                self.assertEqual(dump.get("status", dump.get("LoadStatus")), 0)


if __name__ == "__main__":
    unittest.main()
