#!/usr/bin/env python3
"""orvanta-convert --format html in a real browser: headless Chromium opens
the page from disk with every network name unresolvable; the page loads
with no error, each code's marker stands at its position, the grid's large
squares carry one name each, a pop-up lists every row at its place, the page
opens on its rows, and a screenshot shows the markers there; where the tool
carries the atlas, the page's search box and click answer as orvanta-convert
does over the same data files.

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

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "benchmark"))
from atlas_timing import Browser  # noqa: E402  (Chromium through its DevTools protocol)

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

# Put last into the body: what the map shows, as JSON in the DOM, after a
# click and a pointer move on the first feature with a position.
REPORT = """<script>
(function () {
  var map = window.orvantaMap, placed = window.orvantaPage.placed(), popup = '', readout = '';
  if (placed.length) {
    var at = L.latLng(placed[0].lat, placed[0].lng);
    map.fire('click', {latlng: at});
    var shown = document.querySelector('.leaflet-popup-content');
    popup = shown ? shown.innerText : '';
    map.fire('mousemove', {latlng: at});
    readout = document.querySelector('.orvanta-readout').textContent;
  }
  var unplaced = document.querySelector('.orvanta-unplaced'), b = map.getBounds();
  var report = document.createElement('pre');
  report.id = 'orvanta-report';
  report.textContent = JSON.stringify({problems: window.orvantaProblems, placed: placed.slice(0, 100),
                                       count: placed.length,
                                       labels: window.orvantaPage.labels, popup: popup, readout: readout,
                                       unplaced: unplaced ? unplaced.innerText : '', zoom: map.getZoom(),
                                       view: [b.getSouth(), b.getWest(), b.getNorth(), b.getEast()],
                                       images: document.querySelectorAll('img:not(.leaflet-tile)').length,
                                       extra: window.orvantaExtra});
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


def probe(folder, html, extra="null"):
    """Opens the page with the capture and report scripts added and the map
    at its fixed size: the report (None when the page did not run), with
    the value of the script expression extra, and the browser's log."""
    path = os.path.join(folder, "probe.html")
    with open(path, "w") as f:
        f.write(html.replace("<head>", "<head>\n" + CAPTURE, 1)
                .replace("</head>", FIXED_SIZE + "\n</head>", 1)
                .replace("</body>", "<script>window.orvantaExtra = %s;</script>\n%s\n</body>" % (extra, REPORT)))
    dump = browse(path, "--dump-dom")
    match = re.search(r'<pre id="orvanta-report">(.*?)</pre>', dump.stdout, re.S)
    report = json.loads(match.group(1).replace("&lt;", "<").replace("&gt;", ">")
                        .replace("&quot;", '"').replace("&amp;", "&")) if match else None
    return report, dump.stderr


# A second record of CA (another chart) south of the first: still one label.
TWO_RECORDS = GRID.replace("QuadDefinitions", "Chart 2\r\nQuadtype 0\r\nNrOfQuadsX 1\r\nNrOfQuadsY 1\r\n"
                           "DownLeftPos 52'30 30'00\r\nUpRightPos 54'00 27'00\r\nQuadName CA\r\nQuadDefinitions")


# The grid of the antimeridian case, as a second data file beside GRID.
PACIFIC = GRID.replace("DownLeftPos 54'00 30'00", "DownLeftPos 20'00 -179'00").replace(
    "UpRightPos 57'00 21'00", "UpRightPos 21'00 -183'00").replace("NrOfQuadsX 3", "NrOfQuadsX 2").replace(
    "NrOfQuadsY 2", "NrOfQuadsY 1").replace("QuadName CA,CB,CC\r\nQuadName CD,CE,CF", "QuadName XA,XB")

# Run in the page once the atlas is there: the lines of each code typed
# into the search box and of each clicked point, and the readout's text.
LOOKUPS = """(function (typed, clicked) {
  var lookup = orvantaPage.atlas.lookup, input = document.querySelector('.atlas-search input'), out = [];
  typed.forEach(function (text) {
    input.value = text;
    input.form.requestSubmit();
    out.push(lookup.lines);
  });
  clicked.forEach(function (at) {
    orvantaMap.fire('click', {latlng: L.latLng(at[0], at[1])});
    out.push(lookup.lines);
  });
  orvantaMap.fire('mousemove', {latlng: L.latLng(55.125, -29.5)});
  return {lines: out, readout: document.querySelector('.orvanta-readout').textContent};
}(%s, %s))"""


class MapPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="map-page-")
        cls.status, cls.stderr, html = make_page(cls.dir, TWO_RECORDS, "CA1155", "XX1111", "CF1155", HOSTILE,
                                                 "CB2177")
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

    def page_of(self, name, *args, grid=GRID, stdin=None, extra="null"):
        folder = os.path.join(self.dir, name)
        os.mkdir(folder)
        status, stderr, html = make_page(folder, grid, *args, stdin=stdin)
        report, log = probe(folder, html, extra)
        self.assertIsNotNone(report, log[-2000:])
        self.assertEqual(report["problems"], [])
        return status, stderr, report

    def test_page_is_one_small_file_that_needs_no_network(self):
        self.assertEqual(self.status, 1, "a failed code makes the status 1")
        self.assertIn("XX1111", self.stderr)
        with open(self.page, encoding="utf-8") as f:
            html = f.read()
        self.assertIsNone(re.search(r'<(?:script|link|img)[^>]+(?:src|href)=', html), "no outside file")
        self.assertIn("L.map", html, "the map library is built in")
        self.assertLess(len(html.encode()), 3 << 20, "coastline and library stay small")
        self.assertIsNotNone(self.report, "the page ran: " + self.browser_log[-2000:])
        self.assertEqual(self.report["problems"], [])
        self.assertNotRegex(self.browser_log, r"CONSOLE.*(Uncaught|Error)")

    def test_markers_stand_at_their_positions(self):
        markers = {m["properties"][0][1]: m for m in self.report["placed"]}
        self.assertEqual(sorted(markers), sorted(POSITIONS))
        for code, (lat, lon) in POSITIONS.items():
            with self.subTest(code=code):
                m = markers[code]
                self.assertEqual(m["kind"], "point")
                self.assertAlmostEqual(m["lat"], lat, places=5)
                self.assertAlmostEqual(m["lng"], lon, places=5)
                self.assertTrue(0 < m["x"] < MAP_SIZE[0] and 0 < m["y"] < MAP_SIZE[1], m)
                self.assertEqual([p[0] for p in m["properties"]],
                                 ["code", "latitude", "longitude", "latitude_text", "longitude_text", "chart",
                                  "confidence", "precision_nm"])
        # North is up and west is left: CF (north-east) above and right of CA.
        self.assertLess(markers["CF1155"]["y"], markers["CA1155"]["y"])
        self.assertGreater(markers["CF1155"]["x"], markers["CA1155"]["x"])

    def test_labels_pop_up_readout_and_codes_without_a_position(self):
        self.assertEqual(sorted(self.report["labels"]), ["CA", "CB", "CC", "CD", "CE", "CF"], "one per square")
        self.assertRegex(self.report["popup"], r"^55°7\.50 N 29°30\.00 W +\(55\.125, -29\.5\)\n")
        self.assertIn("CA1155", self.report["popup"])
        self.assertEqual(self.report["readout"], "55°7.50 N 29°30.00 W  (55.12500, -29.50000)")
        self.assertIn("2 without a position", self.report["unplaced"])
        self.assertIn("row 2: XX1111 \u2013 Grid not in database.", self.report["unplaced"])
        self.assertIn("row 4: " + HOSTILE + " \u2013 ", self.report["unplaced"], "shown as text")
        self.assertEqual(self.report["images"], 0, "no markup from the input")

    def test_grid_across_the_antimeridian_is_drawn_in_one_piece(self):
        # XA from 179 E to 179 W, XB from 179 W to 177 W; XA1155 lies east of 180.
        grid = GRID.replace("DownLeftPos 54'00 30'00", "DownLeftPos 20'00 -179'00").replace(
            "UpRightPos 57'00 21'00", "UpRightPos 21'00 -183'00").replace("NrOfQuadsX 3", "NrOfQuadsX 2").replace(
            "NrOfQuadsY 2", "NrOfQuadsY 1").replace("QuadName CA,CB,CC\r\nQuadName CD,CE,CF", "QuadName XA,XB")
        status, stderr, report = self.page_of("pacific", "XA1155", "XB1155", grid=grid)
        self.assertEqual(status, 0, stderr)
        x = {m["properties"][0][1]: m["x"] for m in report["placed"]}
        self.assertTrue(0 < x["XA1155"] < x["XB1155"] < MAP_SIZE[0], x)

    def test_diary_rows_as_squares_fitted_and_listed_together(self):
        diary = (b"day;grid;event\n1943-03-01;CA1155;convoy\n1943-03-02;XX1111;lost\n"
                 b"1943-03-03;CA 1155;attack\n1943-03-04;CA1156;sighted\n1943-03-05;Qu. CA 1155;sunk\n")
        status, stderr, report = self.page_of("diary", "--csv", "grid", "--header", "--shape", "square", stdin=diary)
        self.assertEqual(status, 1, stderr)
        self.assertEqual(len(report["placed"]), 4)
        area = report["placed"][0]
        self.assertEqual(area["kind"], "area")
        self.assertEqual([p[0] for p in area["properties"]][:3], ["day", "grid", "event"])
        for got, want in zip(area["rings"][0], (55 + 5 / 60, -29.5 - 1 / 18, 55 + 10 / 60, -29.5 + 1 / 18)):
            self.assertAlmostEqual(got, want, places=5)
        # Fitted to the rows, not to the grid: the rows fill the view.
        south, west, north, east = report["view"]
        self.assertTrue(south < 55 + 5 / 60 and north > 55 + 10 / 60 and north - south < 1, report["view"])
        self.assertTrue(west < -29.5 - 1 / 18 and east > -29.5 + 1 / 18, report["view"])
        popup = report["popup"]
        self.assertIn("3 rows here", popup)
        self.assertEqual(re.findall(r"convoy|attack|sunk|sighted", popup), ["convoy", "attack", "sunk"])
        self.assertIn("1 without a position", report["unplaced"])
        self.assertIn("row 2: XX1111", report["unplaced"])

    def test_many_features_open_and_draw(self):
        # Far more features than a call takes arguments.
        for shape in ("point", "square"):
            with self.subTest(shape=shape):
                status, stderr, report = self.page_of("many-" + shape, "--shape", shape,
                                                      stdin=b"CA1155\nCF11\n" * 100000 + b"XX1111\n" * 60)
                self.assertEqual(status, 1, stderr)
                self.assertEqual(report["count"], 200000)
                self.assertIn("100000 rows here", report["popup"])
                self.assertIn("60 without a position", report["unplaced"])
                self.assertIn("row 200050: XX1111", report["unplaced"])
                self.assertIn("and 10 more", report["unplaced"])

    def test_readout_graticule_and_coastline_follow_the_zoom(self):
        # The pointer's texts carry rounded minutes into the degrees and
        # bring a longitude past 180 back; the graticule's step shrinks as
        # the map zooms in; from regional zooms on the coastline shows
        # small islands (Ouessant, 15 km2, at zoom 9) and the open sea none;
        # a marker stays in place on the next copy of the world.
        extra = """(function () {
          var map = window.orvantaMap, readout = [], steps = [], coast = [];
          [[56.999999, -14.0000001], [-0.001, 0.001], [10, 190]].forEach(function (at) {
            map.fire('mousemove', {latlng: L.latLng(at[0], at[1])});
            readout.push(document.querySelector('.orvanta-readout').textContent);
          });
          [2, 5, 8, 11].forEach(function (zoom) {
            map.setView([55, -25], zoom, {animate: false});
            steps.push(orvantaPage.layers.graticule.step);
          });
          [[48.46, -5.09], [47.0, -8.0]].forEach(function (at) {
            map.setView(at, 9, {animate: false});
            var canvas = orvantaPage.layers.coast._canvas, x = canvas.width / 2 - 20, y = canvas.height / 2 - 20;
            var data = canvas.getContext('2d').getImageData(x, y, 40, 40).data, drawn = 0;
            for (var i = 3; i < data.length; i += 4) if (data[i]) ++drawn;
            coast.push(drawn);
          });
          // A turn east, the marker is drawn and answers a click, but not
          // once its layer is switched off.
          var points = orvantaPage.layers.points, canvas = points._canvas, clicked = [], opened = 0;
          map.on('popupopen', function () { ++opened; });
          map.setView([55.125, -29.5 + 360], 8, {animate: false});
          var copy = canvas.getContext('2d').getImageData(canvas.width / 2, canvas.height / 2, 1, 1).data[3];
          [true, false].forEach(function (shown) {
            if (!shown) map.removeLayer(points);
            map.fire('click', {latlng: L.latLng(55.125, -29.5 + 360)});
            clicked.push(opened);
          });
          map.addLayer(points);
          return {readout: readout, steps: steps, coast: coast, copy: copy, clicked: clicked};
        }())"""
        _, _, report = self.page_of("zoom", "CA1155", extra=extra)
        got = report["extra"]
        self.assertEqual(got["readout"], ["57°0.00 N 14°0.00 W  (57.00000, -14.00000)",
                                          "0°0.06 S 0°0.06 E  (-0.00100, 0.00100)",
                                          "10°0.00 N 170°0.00 W  (10.00000, -170.00000)"])
        steps = got["steps"]
        self.assertTrue(steps[0] >= 10 and steps[-1] <= 5 / 60, steps)
        self.assertEqual(steps, sorted(steps, reverse=True))
        self.assertGreater(got["coast"][0], 0, "Ouessant")
        self.assertEqual(got["coast"][1], 0, "open sea")
        self.assertGreater(got["copy"], 0, "drawn a turn east")
        self.assertEqual(got["clicked"], [1, 1], "no pop-up from a hidden layer")

    def test_coastline_text_reads_back(self):
        # The coastline maker's encoding as the page decodes it: hundredths
        # of a degree, signs, large steps, both ends of the map.
        shore = os.path.join(self.dir, "shore.txt")
        with open(shore, "w") as f:
            f.write("> one\n-179.994 84.996\n-10 0\n0.004 -0.006\n179.99 -78.5\n> one point\n5 5\n5.001 5.001\n")
        maker = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "make-chart",
                             "simplify_coastline.py")
        levels = subprocess.run([sys.executable, maker, "3:0:" + shore], capture_output=True, text=True,
                                check=True).stdout
        extra = """%s.map(function (level) {
          return [level.zoom, level.lines.map(function (line) {
            var P = orvantaPieces, p = P.decodeLine(line), out = [];
            for (var k = 0; k < p.length; k += 2) out.push([P.unprojectX(p[k]), P.unprojectY(p[k + 1])]);
            return out;
          })];
        })""" % levels
        _, _, report = self.page_of("coast", "CA1155", extra=extra)
        (zoom, lines), = report["extra"]
        self.assertEqual(zoom, 3)
        self.assertEqual(len(lines), 1, "a line of one point is left out")
        want = [(-179.99, 85), (-10, 0), (0, -0.01), (179.99, -78.5)]
        self.assertEqual(len(lines[0]), len(want))
        for got, expected in zip(lines[0], want):
            self.assertAlmostEqual(got[0], expected[0], places=6)
            self.assertAlmostEqual(got[1], expected[1], places=6)

    def test_atlas_answers_as_orvanta_convert_over_the_same_files(self):
        if "var OrvantaAtlas = " not in open(self.page, encoding="utf-8").read():
            self.skipTest("orvanta-convert was built without the atlas's core")
        folder = os.path.join(self.dir, "atlas")
        os.mkdir(folder)
        files = []
        for name, grid in (("main", GRID), ("pacific", PACIFIC)):
            with open(os.path.join(folder, name + ".txt"), "w") as f:
                f.write(grid)
            files += ["--data", os.path.join(folder, name + ".bin")]
            subprocess.run([GRIDTOOL, "scramble", f.name, files[-1]], check=True)

        def convert(*args):
            return subprocess.run([CONVERT, *files, *args], capture_output=True, text=True).stdout.splitlines()
        page = os.path.join(folder, "page.html")
        with open(page, "wb") as f:
            f.write(subprocess.run([CONVERT, *files, "--format", "html", "CA1155"], capture_output=True,
                                   check=True).stdout)
        typed = ["CA1155", "Qu. CB 21 77", "XA 11 55", "cf11", "XX1111", "CA1909"]
        clicked = [(55.125, -29.5), (20.5, 179.6), (20.5, -178.2)]
        browser = Browser()
        try:
            browser.open("file://" + page, "document.body && document.body.getAttribute('data-atlas') === 'ready'")
            got = browser.evaluate(LOOKUPS % (json.dumps(typed), json.dumps(clicked)))
        finally:
            browser.close()
        want = [convert(text) for text in typed] + [convert("--reverse", str(lat), str(lon)) for lat, lon in clicked]
        self.assertEqual(got["lines"], want)
        decimal = convert("--format", "decimal", "CA1155")[0].split("\t")
        self.assertEqual(got["readout"], "55°7.50 N 29°30.00 W  (%s, %s)" % (decimal[1], decimal[2]))

    def test_screenshot_shows_the_markers(self):
        shot = os.path.join(self.dir, "shot.png")
        result = browse(self.fixed, "--screenshot=" + shot)
        self.assertTrue(os.path.exists(shot), result.stderr[-2000:])
        for m in self.report["placed"]:
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
