#!/usr/bin/env python3
"""orvanta-convert --format html in a real browser: headless Chromium opens
the page from disk with every network name unresolvable; the page loads
with no error, each code's marker stands at its position, the grid's large
squares carry their names, and a screenshot shows the markers there.

usage: map_page_test.py ORVANTA_CONVERT GRIDTOOL"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

from convert_cli_test import GRID, POSITIONS

CONVERT = GRIDTOOL = None

HOSTILE = "</script><img src=x onerror=alert(1)>"
WINDOW = (1000, 700)
# Chromium's viewport differs between its screenshot and DOM modes; a map
# of fixed size smaller than both gives the same picture in each.
MAP_SIZE = (960, 540)
FIXED_SIZE = "<style>#map { width: %dpx; height: %dpx; }</style>" % MAP_SIZE

# Put first into the page's head: records script errors, failed loads and
# console errors before the page's own scripts run.
CAPTURE = """<script>
window.orvantaProblems = [];
window.addEventListener('error', function (e) {
  window.orvantaProblems.push(e.message || ('failed to load ' + (e.target.src || e.target.href)));
}, true);
['error', 'warn'].forEach(function (level) {
  var original = console[level];
  console[level] = function () {
    window.orvantaProblems.push(level + ': ' + Array.prototype.join.call(arguments, ' '));
    original.apply(console, arguments);
  };
});
</script>"""

# Put last into the body: what the map shows, as JSON in the DOM.
REPORT = """<script>
(function () {
  var map = window.orvantaMap, markers = [], areas = [], labels = [];
  map.eachLayer(function (layer) {
    if (layer.orvantaProperties && layer.getLatLng) {
      var at = map.latLngToContainerPoint(layer.getLatLng());
      markers.push({properties: layer.orvantaProperties, lat: layer.getLatLng().lat,
                    lng: layer.getLatLng().lng, x: at.x, y: at.y});
    } else if (layer.orvantaProperties && layer.getBounds) {
      var b = layer.getBounds();
      areas.push({properties: layer.orvantaProperties, box: [b.getSouth(), b.getWest(), b.getNorth(), b.getEast()]});
    }
  });
  document.querySelectorAll('.orvanta-square-label').forEach(function (e) { labels.push(e.textContent); });
  var unplaced = document.querySelector('.orvanta-unplaced');
  var report = document.createElement('pre');
  report.id = 'orvanta-report';
  report.textContent = JSON.stringify({problems: window.orvantaProblems, markers: markers, areas: areas, labels: labels,
                                       unplaced: unplaced ? unplaced.textContent : '',
                                       images: document.querySelectorAll('img:not(.leaflet-tile)').length});
  document.body.appendChild(report);
}());
</script>"""


def chromium():
    for name in ("chromium", "chromium-browser"):
        path = shutil.which(name)
        if path:
            return path
    raise AssertionError("chromium is missing: install it (tools/install-deps.sh does)")


def browse(page, *mode):
    """Runs headless Chromium on a page file with no network at all."""
    profile = tempfile.mkdtemp(prefix="orvanta-chromium-")
    try:
        result = subprocess.run(
            [chromium(), "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--user-data-dir=" + profile, "--host-resolver-rules=MAP * ~NOTFOUND",
             "--window-size=%d,%d" % WINDOW, "--virtual-time-budget=5000", "--hide-scrollbars",
             "--enable-logging=stderr", "--v=0", *mode, "file://" + page],
            capture_output=True, text=True, timeout=180)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    return result


def pixel(png, x, y):
    """The (red, green, blue) of one pixel, read by ImageMagick."""
    out = subprocess.run(["convert", png, "-format", "%%[pixel:p{%d,%d}]" % (x, y), "info:"],
                         capture_output=True, text=True, check=True).stdout
    values = [float(v) for v in re.findall(r"[\d.]+", out)[:3]]
    if "%" in out:
        values = [v * 2.55 for v in values]
    return tuple(values)


def make_page(folder, grid, *codes, stdin=None):
    """Scrambles the grid text and writes the page of the codes (or of the
    options and the CSV on standard input): the exit status, standard error
    and the page's text."""
    plain = os.path.join(folder, "grid.txt")
    with open(plain, "wb") as f:
        f.write(grid.encode())
    data = os.path.join(folder, "GridData.bin")
    subprocess.run([GRIDTOOL, "scramble", plain, data], check=True)
    result = subprocess.run([CONVERT, "--data", data, "--format", "html", *codes], input=stdin, capture_output=True,
                            timeout=120)
    return result.returncode, result.stderr.decode(), result.stdout.decode()


def probe(folder, html):
    """Opens the page with the capture and report scripts added and the map
    at its fixed size: the report (None when the page did not run) and the
    browser's log."""
    path = os.path.join(folder, "probe.html")
    with open(path, "w") as f:
        f.write(html.replace("<head>", "<head>\n" + CAPTURE, 1)
                .replace("</head>", FIXED_SIZE + "\n</head>", 1).replace("</body>", REPORT + "\n</body>"))
    dump = browse(path, "--dump-dom")
    match = re.search(r'<pre id="orvanta-report">(.*?)</pre>', dump.stdout, re.S)
    report = json.loads(match.group(1).replace("&lt;", "<").replace("&gt;", ">")
                        .replace("&quot;", '"').replace("&amp;", "&")) if match else None
    return report, dump.stderr


class MapPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="map-page-")
        cls.status, cls.stderr, html = make_page(cls.dir, GRID, "CA1155", "XX1111", "CF1155", HOSTILE, "CB2177")
        cls.page = os.path.join(cls.dir, "codes.html")
        with open(cls.page, "w") as f:
            f.write(html)
        cls.fixed = os.path.join(cls.dir, "fixed.html")
        with open(cls.fixed, "w") as f:
            f.write(html.replace("</head>", FIXED_SIZE + "\n</head>", 1))
        cls.report, cls.browser_log = probe(cls.dir, html)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def test_page_is_one_file_that_needs_no_network(self):
        self.assertEqual(self.status, 1, "a failed code makes the status 1")
        self.assertIn("XX1111", self.stderr)
        with open(self.page, encoding="utf-8") as f:
            html = f.read()
        self.assertIsNone(re.search(r'<(?:script|link|img)[^>]+(?:src|href)=', html), "no outside file")
        self.assertIn("L.map", html, "the map library is built in")
        self.assertIsNotNone(self.report, "the page ran: " + self.browser_log[-2000:])
        self.assertEqual(self.report["problems"], [])
        self.assertNotRegex(self.browser_log, r"CONSOLE.*(Uncaught|Error)")

    def test_markers_stand_at_their_positions(self):
        markers = {m["properties"][0][1]: m for m in self.report["markers"]}
        self.assertEqual(sorted(markers), sorted(POSITIONS))
        for code, (lat, lon) in POSITIONS.items():
            with self.subTest(code=code):
                m = markers[code]
                self.assertAlmostEqual(m["lat"], lat, places=5)
                self.assertAlmostEqual(m["lng"], lon, places=5)
                self.assertTrue(0 < m["x"] < MAP_SIZE[0] and 0 < m["y"] < MAP_SIZE[1], m)
                self.assertEqual([p[0] for p in m["properties"]],
                                 ["code", "latitude", "longitude", "latitude_text", "longitude_text", "chart",
                                  "confidence", "precision_nm"])
        # North is up and west is left: CF (north-east) above and right of CA.
        self.assertLess(markers["CF1155"]["y"], markers["CA1155"]["y"])
        self.assertGreater(markers["CF1155"]["x"], markers["CA1155"]["x"])

    def test_large_squares_and_codes_without_a_position(self):
        self.assertEqual(sorted(self.report["labels"]), ["CA", "CB", "CC", "CD", "CE", "CF"])
        self.assertIn("2 without a position", self.report["unplaced"])
        self.assertIn("XX1111", self.report["unplaced"])
        self.assertIn(HOSTILE, self.report["unplaced"], "shown as text")
        self.assertEqual(self.report["images"], 0, "no markup from the input")

    def test_grid_across_the_antimeridian_is_drawn_in_one_piece(self):
        # XA from 179 E to 179 W, XB from 179 W to 177 W; XA1155 lies east of 180.
        grid = GRID.replace("DownLeftPos 54'00 30'00", "DownLeftPos 20'00 -179'00").replace(
            "UpRightPos 57'00 21'00", "UpRightPos 21'00 -183'00").replace("NrOfQuadsX 3", "NrOfQuadsX 2").replace(
            "NrOfQuadsY 2", "NrOfQuadsY 1").replace("QuadName CA,CB,CC\r\nQuadName CD,CE,CF", "QuadName XA,XB")
        folder = os.path.join(self.dir, "pacific")
        os.mkdir(folder)
        status, stderr, html = make_page(folder, grid, "XA1155", "XB1155")
        self.assertEqual(status, 0, stderr)
        report, log = probe(folder, html)
        self.assertIsNotNone(report, log[-2000:])
        self.assertEqual(report["problems"], [])
        x = {m["properties"][0][1]: m["x"] for m in report["markers"]}
        self.assertTrue(0 < x["XA1155"] < x["XB1155"] < MAP_SIZE[0], x)

    def test_csv_rows_as_squares_with_their_cells(self):
        folder = os.path.join(self.dir, "diary")
        os.mkdir(folder)
        status, stderr, html = make_page(folder, GRID, "--csv", "grid", "--header", "--shape", "square",
                                         stdin=b"day;grid;event\n1943-03-01;CA1155;convoy\n1943-03-02;XX1111;lost\n")
        self.assertEqual(status, 1, stderr)
        report, log = probe(folder, html)
        self.assertIsNotNone(report, log[-2000:])
        self.assertEqual(report["problems"], [])
        self.assertEqual(len(report["areas"]), 1)
        area = report["areas"][0]
        self.assertEqual(dict(area["properties"])["event"], "convoy")
        self.assertEqual([p[0] for p in area["properties"]][:3], ["day", "grid", "event"])
        for got, want in zip(area["box"], (55 + 5 / 60, -29.5 - 1 / 18, 55 + 10 / 60, -29.5 + 1 / 18)):
            self.assertAlmostEqual(got, want, places=5)
        self.assertIn("1 without a position", report["unplaced"])

    def test_screenshot_shows_the_markers(self):
        shot = os.path.join(self.dir, "shot.png")
        result = browse(self.fixed, "--screenshot=" + shot)
        self.assertTrue(os.path.exists(shot), result.stderr[-2000:])
        for m in self.report["markers"]:
            red, green, blue = pixel(shot, round(m["x"]), round(m["y"]))
            with self.subTest(code=m["properties"][0][1]):
                self.assertTrue(red > 180 and green < 80 and blue < 80, (red, green, blue))
        # Open sea away from the markers shows the sea colour.
        red, green, blue = pixel(shot, 5, MAP_SIZE[1] // 2)
        self.assertTrue(blue > red and green > red, (red, green, blue))


if __name__ == "__main__":
    CONVERT, GRIDTOOL = sys.argv[1], sys.argv[2]
    suite = unittest.TestLoader().loadTestsFromTestCase(MapPage)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
