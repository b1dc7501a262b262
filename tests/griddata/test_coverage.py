#!/usr/bin/env python3
"""The squares added to the reconstruction's gaps, and the 180th meridian,
through orvanta-convert and gridtool as a user meets them."""

import json
import os
import subprocess
import unittest

from common import data_dir, tool

MAIN, PACIFIC = "GridData.bin", "GridData-Pacific.bin"

# square, file, a position at sea in it (decimal degrees, east positive)
AT_SEA = [
    ("\u00c4E", MAIN, 73.0, -66.0, "Baffin Bay"),
    ("JS", MAIN, -50.0, 28.0, "Southern Ocean"),
    ("JS", MAIN, -54.8, 22.0, "JS 79, under HG"),
    ("KY", MAIN, -34.5, 22.5, "KY 53, off Mossel Bay"),
    ("KY", MAIN, -36.8, 22.5, "KY 83, Agulhas Bank"),
    ("KY", MAIN, -37.7, 22.5, "KY 86"),
    ("KY", MAIN, -37.75, 23.6, "KY 94, south of Port Elizabeth"),
    ("KY", MAIN, -37.7, 24.8, "KY 95"),
    ("KY", MAIN, -38.6, 24.9, "KY 98"),
    ("BH", MAIN, 45.68, 13.55, "Gulf of Trieste"),
    ("XN", PACIFIC, 82.0, -100.0, "Arctic Ocean off Meighen Island"),
    ("XR", PACIFIC, 71.0, -89.0, "Gulf of Boothia"),
    ("YB", PACIFIC, 84.0, 100.0, "north of Severnaya Zemlya"),
    ("YC", PACIFIC, 84.0, 179.5, "Arctic Ocean, west of 180"),
    ("YC", PACIFIC, 84.0, -179.5, "Arctic Ocean, east of 180"),
    ("YD", PACIFIC, 84.0, -150.0, "Arctic Ocean"),
    ("YE", PACIFIC, 84.0, -100.0, "north of Ellesmere Island"),
    ("XJ", PACIFIC, 77.0, 170.0, "East Siberian Sea"),
    ("XG", PACIFIC, 73.0, 175.0, "East Siberian Sea"),
    ("XG", PACIFIC, 72.5, -179.9, "north of Wrangel Island"),
    ("XK", PACIFIC, 78.0, -179.5, "Arctic Ocean"),
    ("NC", PACIFIC, 58.6, 169.5, "Bering Sea"),
    ("ND", PACIFIC, 60.0, -179.5, "Bering Sea"),
    ("NL", PACIFIC, 54.0, 170.0, "east of the Commander Islands"),
    ("NM", PACIFIC, 54.0, -179.5, "Bering Sea north of the Aleutians"),
    ("NU", PACIFIC, 46.0, 170.0, "North Pacific"),
    ("NV", PACIFIC, 45.0, -179.5, "North Pacific"),
    ("OG", PACIFIC, 38.0, -179.5, "North Pacific"),
    ("OU", PACIFIC, 30.0, -179.7, "north-west of Kure"),
    ("QJ", PACIFIC, 21.0, 168.5, "east of Wake"),
    ("QL", PACIFIC, 21.0, -179.8, "North Pacific"),
    ("RB", PACIFIC, 13.0, 168.0, "north of the Marshalls"),
    ("RD", PACIFIC, 13.0, -179.5, "Central Pacific"),
    ("RU", PACIFIC, 5.0, 168.0, "Marshalls"),
    ("RW", PACIFIC, 5.0, -179.5, "Central Pacific"),
    ("SN", PACIFIC, -3.0, 168.0, "equatorial Pacific"),
    ("SP", PACIFIC, -3.0, -179.5, "equatorial Pacific"),
    ("TF", PACIFIC, -10.0, 168.5, "north of Vanuatu"),
    ("TH", PACIFIC, -12.0, -179.5, "north of Fiji"),
    ("TZ", PACIFIC, -16.0, 169.5, "east of Pentecost"),
    ("UB", PACIFIC, -21.5, -179.5, "south of Fiji"),
    ("UR", PACIFIC, -25.0, 169.0, "south of New Caledonia"),
    ("US", PACIFIC, -26.0, -179.5, "South Pacific"),
    ("VF", PACIFIC, -35.0, 169.0, "Tasman Sea"),
    ("VG", PACIFIC, -35.0, -179.5, "north-east of New Zealand"),
    ("VT", PACIFIC, -40.0, 170.0, "Tasman Sea"),
    ("VU", PACIFIC, -42.0, -179.5, "Chatham Rise"),
    ("WE", PACIFIC, -49.0, 172.0, "south of New Zealand"),
    ("WF", PACIFIC, -50.0, -179.5, "Southern Ocean"),
    ("WQ", PACIFIC, -58.0, -179.0, "Southern Ocean"),
    ("QU", PACIFIC, 22.0, -107.5, "off Mazatlan"),
    ("QU", PACIFIC, 18.5, -104.5, "off Manzanillo"),
    ("RN", PACIFIC, 15.0, -106.0, "off Acapulco"),
    ("SF", PACIFIC, 5.0, -105.0, "eastern Pacific"),
    ("SY", PACIFIC, -2.0, -104.0, "equatorial Pacific"),
    ("SY", PACIFIC, -6.2, -100.45, "SY 99"),
    ("TR", PACIFIC, -10.0, -104.0, "South Pacific"),
    ("UL", PACIFIC, -18.0, -104.0, "South Pacific"),
    ("VA", PACIFIC, -25.0, -101.5, "South Pacific"),
    ("VP", PACIFIC, -34.0, -101.5, "South Pacific"),
    ("WA", PACIFIC, -42.0, -101.5, "South Pacific"),
    ("WM", PACIFIC, -50.0, -100.0, "South Pacific"),
    ("WV", PACIFIC, -58.0, -100.0, "Southern Ocean"),
    ("PS", PACIFIC, -34.0, -95.0, "off Chile"),
    ("PS", PACIFIC, -34.0, -99.0, "PS, west block column"),
    ("PV", PACIFIC, -42.0, -95.0, "off Chile"),
]

# Codes next to the 180th meridian: the texts of their centres.  QL's small
# squares are 0.1 deg wide and one edge lies on 180 deg.
ACROSS_180 = [
    ("QL1254", "25\u00b015.00 N", "179\u00b057.00 E"),
    ("QL1255", "25\u00b015.00 N", "179\u00b057.00 W"),
    ("QL9999", "17\u00b039.00 N", "173\u00b015.00 W"),
    ("WQ5555", "59\u00b021.00 S", "176\u00b054.00 E"),
    ("XK5555", "78\u00b021.00 N", "170\u00b030.00 W"),
]


class Tools(unittest.TestCase):
    def setUp(self):
        self.convert = tool("ORVANTA_CONVERT")
        if self.convert is None:
            self.skipTest("orvanta-convert not available")

    def run_convert(self, data, *args, code=None):
        # Codes are given in the data file's code page (the letter \u00c4 is
        # one byte); everything printed is UTF-8.
        out = subprocess.run(self.convert + ["--data", os.path.join(data_dir(), data)] + list(args),
                             input=code.encode("cp1252") + b"\n" if code else b"",
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        return [line.split("\t") for line in out.stdout.decode("utf-8").splitlines()]

    def reverse(self, data, lat, lon):
        return [f[0] for f in self.run_convert(data, "--reverse", "%.6f" % lat, "%.6f" % lon)]

    def test_a_position_at_sea_converts_forward_and_back(self):
        for square, data, lat, lon, where in AT_SEA:
            with self.subTest(square=square, where=where):
                codes = [c for c in self.reverse(data, lat, lon) if c.startswith(square)]
                self.assertEqual(len(codes), 1, (lat, lon, codes))
                fields = self.run_convert(data, "--format", "decimal", code=codes[0])[0]
                clat, clon = float(fields[1]), float(fields[2])
                self.assertTrue(-180.0 <= clon <= 180.0, fields)
                self.assertLess(abs(clat - lat), 0.1, fields)
                self.assertLess(abs((clon - lon + 180.0) % 360.0 - 180.0), 1.0, fields)
                self.assertIn(codes[0], self.reverse(data, clat, clon))

    def test_texts_across_180_degrees(self):
        for code, lat, lon in ACROSS_180:
            with self.subTest(code=code):
                self.assertEqual(self.run_convert(PACIFIC, code=code)[0], [code, lat, lon])

    def test_reverse_from_either_side_of_180_degrees(self):
        self.assertIn("QL1254", self.reverse(PACIFIC, 25.25, 179.95))
        self.assertIn("QL1255", self.reverse(PACIFIC, 25.25, -179.95))
        self.assertIn("QL1255", self.reverse(PACIFIC, 25.25, -180.0 + 1e-9))

    def test_export_splits_squares_at_180_degrees(self):
        gridtool = tool("GRIDTOOL")
        if gridtool is None:
            self.skipTest("gridtool not available")
        out = subprocess.run(gridtool + ["export", "--geojson", os.path.join(data_dir(), PACIFIC)],
                             stdout=subprocess.PIPE, check=True).stdout
        features = json.loads(out.decode("utf-8"))["features"]
        across = {"ND", "NM", "NV", "OG", "OU", "QL", "RD", "RW", "SP", "TH", "UB", "US", "VG",
                  "VU", "WF", "WQ", "XG", "XK", "YC"}
        split = set()
        for feature in features:
            geometry = feature["geometry"]
            polygons = geometry["coordinates"] if geometry["type"] == "MultiPolygon" \
                else [geometry["coordinates"]]
            lons = [p[0] for poly in polygons for ring in poly for p in ring]
            self.assertTrue(all(-180.0 <= x <= 180.0 for x in lons), feature["properties"])
            if geometry["type"] == "MultiPolygon":
                split.add(feature["properties"]["name"])
        self.assertEqual(split, across)


if __name__ == "__main__":
    unittest.main()
