#!/usr/bin/env python3
"""Real grid codes whose positions were published independently.

Each entry: the code, the published position (degrees and minutes, N/S,
E/W), the tolerance in nautical miles and the source.  The converted centre
of the small square must lie within the tolerance of the published position.

CHECKS hold the codes that agree with the database within 12 nm.

DISAGREEMENTS hold published pairs that the database does not meet within
12 nm.  Their two figures come from different records (a war-diary grid
square against an Allied, survivors' or wreck position) and some contradict
each other (Hastings and U 880 cannot both fit BD with any single west
edge).  They are kept with the distance measured for this database, rounded
up, as their bound: a change that moves those squares further away fails,
and a change that brings one within 12 nm should move it to CHECKS.
"""

import os
import subprocess
import unittest

from common import gridfile, plain, tool, data_dir

UBOAT_NET = "uboat.net, Ships hit by U-boats, "

CHECKS = [
    # code,    lat (d, m, hemi), lon (d, m, hemi), tol, source
    ("AL2658", (58, 32, "N"), (20, 13, "W"), 12,
     UBOAT_NET + "Athenic, https://www.uboat.net/allies/merchants/ship/859.html"),
    ("AM1969", (56, 44, "N"), (14, 5, "W"), 12,
     "U-Boot-Archiv Wiki, Athenia, http://ubootarchiv.de/ubootwiki/index.php?title=Athenia&oldid=75962"),
    ("BD5354", (47, 53, "N"), (30, 26, "W"), 12,
     "U 880 sinking position and square, http://alpenfestung.com/U_880.htm"),
]

DISAGREEMENTS = [
    ("BD4835", (46, 30, "N"), (36, 23, "W"), 28,
     UBOAT_NET + "Hastings, https://uboat.net/allies/merchants/ship/2679.html"),
    ("CA2896", (40, 25, "N"), (72, 21, "W"), 20,
     UBOAT_NET + "Coimbra (quoted at https://usdeadlyevents.com/1942-jan-15-uk-tanker-coimbra-"
     "out-of-bayonne-nj-torpedoed-by-u-boat-50m-so-shinnecock-l-i-ny-36)"),
    ("EB2135", (18, 32, "N"), (82, 28, "W"), 70,
     UBOAT_NET + "New Jersey, https://uboat.net./allies/merchants/ship/1716.html"),
    ("EF7392", (12, 40, "N"), (49, 57, "W"), 14,
     "Minnehallen, MT South Africa, https://minnehallen.no/skip/mt-south-africa/ "
     "(grid square: " + UBOAT_NET + "https://uboat.net/allies/merchants/ship/1762.html)"),
    ("EF7392", (12, 47, "N"), (49, 44, "W"), 15,
     UBOAT_NET + "South Africa, https://uboat.net/allies/merchants/ship/1762.html"),
    ("FF7721", (5, 5, "S"), (11, 38, "W"), 18,
     "U-Boot-Archiv Wiki, Laconia (U 156's signal: Marinequadrat FF 7721), "
     "http://www.ubootarchiv.de/ubootwiki/index.php?title=Laconia"),
    ("DG8682", (28, 8, "N"), (28, 20, "W"), 38,
     "U 575, 7th patrol, Minister Wedel (convoy TM 1), http://u575.de/7Feindfahrt.html"),
]

CASES = CHECKS + DISAGREEMENTS


def degrees(dm):
    d, m, hemi = dm
    v = d + m / 60.0
    return -v if hemi in "SW" else v


class PublishedPositions(unittest.TestCase):
    def test_grid_model(self):
        db = gridfile.load(plain("GridData.txt"))
        for code, lat, lon, tol, source in CASES:
            with self.subTest(code=code, source=source):
                got = gridfile.convert(db, code)
                self.assertIsNotNone(got, code)
                d = gridfile.distance_nm(got[0], got[1], degrees(lat), degrees(lon))
                self.assertLessEqual(d, tol, "%s: %.1f nm off" % (code, d))

    def test_checks_keep_to_twelve_miles(self):
        for case in CHECKS:
            self.assertLessEqual(case[3], 12, case[0])
        for case in DISAGREEMENTS:
            self.assertGreater(case[3], 12, case[0])

    def test_orvanta_convert(self):
        cmd = tool("ORVANTA_CONVERT")
        if cmd is None:
            self.skipTest("orvanta-convert not available")
        data = os.path.join(data_dir(), "GridData.bin")
        codes = [c[0] for c in CASES]
        out = subprocess.run(cmd + ["--data", data, "--format", "decimal"] + codes,
                             stdout=subprocess.PIPE, check=True).stdout.decode("cp1252")
        lines = [l.split("\t") for l in out.splitlines() if l.strip()]
        self.assertEqual(len(lines), len(CASES), out)
        for (code, lat, lon, tol, source), fields in zip(CASES, lines):
            with self.subTest(code=code, source=source):
                self.assertEqual(fields[0].strip(), code)
                d = gridfile.distance_nm(float(fields[1]), float(fields[2]),
                                         degrees(lat), degrees(lon))
                self.assertLessEqual(d, tol, "%s: %.1f nm off" % (code, d))


if __name__ == "__main__":
    unittest.main()
