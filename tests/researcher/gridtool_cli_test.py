#!/usr/bin/env python3
"""gridtool check and export as a user runs them: exit statuses, the
compiler-style lines, and GeoJSON that GDAL's reader accepts.

usage: gridtool_cli_test.py GRIDTOOL [DATA_DIR]
With DATA_DIR, checks and exports the shipped data files instead."""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

GRIDTOOL = DATA = None

CLEAN = ("About Demo grid\r\nChart 1\r\nQuadtype 0\r\nNrOfQuadsX 3\r\nNrOfQuadsY 2\r\n"
         "DownLeftPos 54'00 30'00\r\nUpRightPos 57'00 21'00\r\nQuadName CA,CB,CC\r\n"
         "QuadName CD,CE,CF\r\nQuadDefinitions\r\nType 0\r\nFormX 3\r\nFormY 2\r\n"
         "Numbers:\r\n11,12,13,\r\n21,22,-1\r\n")


def run(*args):
    return subprocess.run([GRIDTOOL, *args], capture_output=True, timeout=120)


def ogr_feature_count(path):
    """The number of features GDAL's GeoJSON driver reads from the file."""
    ogrinfo = shutil.which("ogrinfo")
    if not ogrinfo:
        raise AssertionError("ogrinfo is missing: install gdal-bin (tools/install-deps.sh does)")
    out = subprocess.run([ogrinfo, "-ro", "-so", "-al", path], capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        raise AssertionError(out.stderr)
    return int(re.search(r"Feature Count: (\d+)", out.stdout).group(1))


def check_layer(test, layer):
    """Every ring closed, counter-clockwise and within the globe."""
    for feature in layer["features"]:
        geometry = feature["geometry"]
        polygons = [geometry["coordinates"]] if geometry["type"] == "Polygon" else geometry["coordinates"]
        for polygon in polygons:
            ring = polygon[0]
            test.assertEqual(ring[0], ring[-1])
            area = sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(ring, ring[1:]))
            test.assertGreater(area, 0, feature["properties"])
            for lon, lat in ring:
                test.assertTrue(-180 <= lon <= 180 and -90 <= lat <= 90, (lon, lat))


class Fixtures(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="gridtool-cli-")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(text.encode("cp1252"))
        return path

    def test_check_statuses_and_lines(self):
        clean = self.write("clean.txt", CLEAN)
        scrambled = os.path.join(self.dir, "clean.bin")
        self.assertEqual(run("scramble", clean, scrambled).returncode, 0)
        cases = [
            # (text or path, exit status, lines that must appear)
            (clean, 0, ["clean.txt: ok (plain text), 1 sections, 6 quads, 1 quad forms"]),
            (scrambled, 0, ["clean.bin: ok (scrambled), 1 sections, 6 quads, 1 quad forms"]),
            (self.write("count.txt", CLEAN.replace("CD,CE,CF", "CD,CE")), 1,
             ["count.txt:8: NrOfQuadsX x NrOfQuadsY = 3 x 2 = 6 quads, but the QuadName lines give 5 names",
              "count.txt: 1 problem; the loader's status is 1"]),
            (self.write("keyword.txt", CLEAN.replace("FormY 2", "FormZ 2")), 1,
             ["keyword.txt:13: expected 'FormY', found 'FormZ'"]),
            (self.write("cells.txt", CLEAN.replace("21,22,-1", "21,13,-1")), 1,
             ["cells.txt:16: cell number 13 appears twice in form 0 (first on line 15)"]),
            (os.path.join(self.dir, "missing.bin"), 2, []),
        ]
        for path, status, lines in cases:
            result = run("check", path)
            out = result.stdout.decode()
            self.assertEqual(result.returncode, status, out + result.stderr.decode())
            for line in lines:
                self.assertIn(os.path.join(self.dir, line) if not line.startswith("/") else line, out)

    def test_export_reads_back_in_gdal(self):
        clean = self.write("clean.txt", CLEAN)
        for args, features in ((["export", "--geojson", clean], 6),
                               (["export", "--geojson", clean, "--cells"], 6 + 6 * 5)):
            result = run(*args)
            self.assertEqual(result.returncode, 0, result.stderr)
            layer = json.loads(result.stdout)
            self.assertEqual(len(layer["features"]), features)
            check_layer(self, layer)
            path = self.write("layer.geojson", result.stdout.decode())
            self.assertEqual(ogr_feature_count(path), features)
        first = json.loads(run("export", "--geojson", clean).stdout)["features"][0]
        self.assertEqual(first["properties"], {"name": "CA", "chart": 1, "quadType": 0, "record": 0})
        lons = [p[0] for p in first["geometry"]["coordinates"][0]]
        lats = [p[1] for p in first["geometry"]["coordinates"][0]]
        self.assertEqual((min(lons), max(lons), min(lats), max(lats)), (-30, -27, 54, 55.5))

    def test_export_refuses_a_faulty_file(self):
        faulty = self.write("faulty.txt", CLEAN.replace("QuadDefinitions", "QuadDefinition"))
        result = run("export", "--geojson", faulty)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stdout, b"")
        self.assertEqual(run("export", faulty).returncode, 2)


class ShippedData(unittest.TestCase):
    def test_shipped_files_check_clean_and_export(self):
        for name in ("GridData.bin", "GridData-Pacific.bin"):
            path = os.path.join(DATA, name)
            result = run("check", path)
            self.assertEqual(result.returncode, 0, result.stdout.decode())
            dump = json.loads(run("dump", "--json", path).stdout)
            cells = sum(sum(1 for n in dump["forms"][str(q["quadtype"])]["numbers"] if n != -1)
                        for q in dump["quads"] if str(q["quadtype"]) in dump["forms"])
            result = run("export", "--geojson", path, "--cells")
            self.assertEqual(result.returncode, 0)
            layer = json.loads(result.stdout)
            check_layer(self, layer)
            with tempfile.NamedTemporaryFile(suffix=".geojson") as f:
                f.write(result.stdout)
                f.flush()
                self.assertEqual(ogr_feature_count(f.name), len(dump["quads"]) + cells)


if __name__ == "__main__":
    GRIDTOOL = sys.argv[1]
    DATA = sys.argv[2] if len(sys.argv) > 2 else None
    suite = unittest.TestLoader().loadTestsFromTestCase(ShippedData if DATA else Fixtures)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
