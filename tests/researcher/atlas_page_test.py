#!/usr/bin/env python3
"""The atlas page in a real browser: headless Chromium opens it from disk
with every network name unresolvable and looks codes and points up through
the URL fragment; the page must say exactly what orvanta-convert says.

usage: atlas_page_test.py ORVANTA_CONVERT GRIDTOOL ATLAS_PAGE DATA_FILE..."""
import html
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

from map_page_test import FIXED_SIZE

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "benchmark"))
from atlas_timing import Browser  # noqa: E402  (Chromium through its DevTools protocol)

CONVERT = GRIDTOOL = PAGE = None
FILES = []
FIXED = None  # the page with the map at a fixed size (see map_page_test)

# Written forms, coarse codes and codes that fail, with the random ones.
WRITTEN = ["AM 1969", "Qu. AM 1969", "äj 11 55", "AM19", "AM", "am-19-69", "Quadrat CA 6897",
           "XX12", "AM 19 6", "AM1900", "A", "ÄJ 1155"]


BROWSER = None


def open_page(fragment):
    """The page's DOM once it is ready and has looked up the fragment, and
    the script errors it met.  The page is waited for in real time: its
    WebAssembly compiles on a thread of its own."""
    BROWSER.open("about:blank", "true")
    quoted = urllib.parse.quote(fragment, safe=",;")
    BROWSER.open("file://" + FIXED.name + "#" + quoted, "window.orvantaAtlas && orvantaAtlas.ready")
    return BROWSER.evaluate("document.documentElement.outerHTML"), "\n".join(BROWSER.evaluate("window.atlasErrors"))


def fields(section):
    """The data-field texts of one result section."""
    return {name: html.unescape(re.sub(r"<[^>]+>", "", text))
            for name, text in re.findall(r'data-field="([a-z_]+)"[^>]*>(.*?)</(?:td|div)>', section, re.S)}


def sections(dom, kind):
    return re.findall(r'<section class="%s[^"]*"[^>]*>(.*?)</section>' % kind, dom, re.S)


def convert(*args, stdin=None):
    data = sum((["--data", f] for f in FILES), [])
    result = subprocess.run([CONVERT, *data, *args], input=stdin, capture_output=True, text=True)
    return result.stdout.splitlines()


def random_codes(rng, count):
    """Codes of existing small squares of every file, chosen at random."""
    codes = []
    for path in FILES:
        grid = json.loads(subprocess.run([GRIDTOOL, "dump", "--json", path], capture_output=True, text=True,
                                         check=True).stdout)
        for _ in range(count // len(FILES)):
            quad = rng.choice(grid["quads"])
            cells = [n for n in grid["forms"][str(quad["quadtype"])]["numbers"] if n >= 0]
            codes.append("%s%02d%d%d" % (quad["name"], rng.choice(cells), rng.randint(1, 9), rng.randint(1, 9)))
    return codes


# Put first into the head: records the page's script errors.
CAPTURE = """<script>
window.atlasErrors = [];
window.addEventListener('error', function (e) { window.atlasErrors.push(String(e.message)); }, true);
window.addEventListener('unhandledrejection', function (e) { window.atlasErrors.push(String(e.reason)); });
</script>"""

# Run in the ready page: clicks the map and types a code into the search
# box, and reports the page's state after each.
ACTIONS = """(function () {
  var atlas = window.orvantaAtlas;
  var report = [], panel = document.getElementById('atlas-results');
  var state = function () {
    report.push({hash: location.hash, text: panel.textContent, lines: atlas.lookup.lines});
  };
  atlas.map.fire('click', {latlng: L.latLng(56.7333, -14.0833)});
  state();
  var input = document.querySelector('.atlas-search input');
  input.value = 'Qu. AM 1969';
  input.form.requestSubmit();
  state();
  return report;
}())"""


class AtlasPage(unittest.TestCase):
    def check_clean(self, dom, errors):
        self.assertIn('data-ready="yes"', dom)
        self.assertEqual(errors, "")

    def test_codes_give_the_texts_of_orvanta_convert(self):
        rng = random.Random(1943)
        texts = random_codes(rng, 200) + WRITTEN
        dom, log = open_page(",".join(texts))
        self.check_clean(dom, log)
        shown = [fields(s) for s in sections(dom, "atlas-result")]
        self.assertEqual(len(shown), len(texts))
        lines = {fmt: convert("--format", fmt, *texts) for fmt in ("dm", "decimal", "dms")}
        for i, text in enumerate(texts):
            with self.subTest(text=text):
                code, *rest = lines["dm"][i].split("\t")
                if rest[0].startswith("ERROR: "):
                    self.assertEqual(shown[i]["message"], rest[0][len("ERROR: "):])
                    continue
                self.assertEqual([shown[i]["code"], shown[i]["latitude"], shown[i]["longitude"]], [code] + rest)
                self.assertEqual(shown[i]["decimal"], " ".join(lines["decimal"][i].split("\t")[1:]))
                self.assertEqual(shown[i]["dms"], " ".join(lines["dms"][i].split("\t")[1:]))
        self.assertEqual(sum("message" not in s for s in shown), 200 + 8)

    def test_points_give_the_codes_of_orvanta_convert_reverse(self):
        rng = random.Random(1941)
        points = ["%.4f,%.4f" % (rng.uniform(-60, 75), rng.uniform(-180, 180)) for _ in range(200)]
        dom, log = open_page(";".join(points + ["56.7333,-14.0833", "95,0"]))
        self.check_clean(dom, log)
        shown = [fields(s) for s in sections(dom, "atlas-point")]
        expected = convert("--reverse", stdin="\n".join(points + ["56.7333,-14.0833", "95,0"]) + "\n")
        self.assertEqual(len(shown), len(expected))
        found = 0
        for got, line in zip(shown, expected):
            point, answer = line.split("\t")
            with self.subTest(point=point):
                if answer.startswith("ERROR: cannot"):
                    self.assertEqual(got["message"], answer[len("ERROR: "):])
                else:
                    self.assertEqual(got["codes"], "" if answer.startswith("ERROR:") else answer)
                    found += not answer.startswith("ERROR:")
        self.assertGreater(found, 50, "the points hit the grids")
        self.assertEqual(shown[-2]["codes"], "AM1969")
        self.assertEqual(shown[-2]["position"], "56°44.00 N 14°5.00 W")

    def test_click_and_search_box_write_the_fragment(self):
        self.check_clean(*open_page(""))
        click, typed = BROWSER.evaluate(ACTIONS)
        self.assertEqual(click["hash"], "#56.73330,-14.08330")
        self.assertIn("56°44.00 N 14°5.00 W", click["text"])
        self.assertIn("56.733300 -14.083300", click["text"])
        self.assertIn("56°44'00\"N 14°05'00\"W", click["text"])
        self.assertEqual(click["lines"], convert("--reverse", "56.7333", "-14.0833"))
        self.assertEqual(typed["hash"], "#AM1969")
        self.assertEqual(typed["lines"], convert("AM1969"))

    def test_gridtool_atlas_takes_only_files_that_load(self):
        with tempfile.TemporaryDirectory() as folder:
            faulty = os.path.join(folder, "faulty.bin")
            with open(faulty, "wb") as f:
                f.write(b"About nothing\r\n")
            cases = [  # (arguments, exit status, part of the message)
                ([], 2, "one to 8 data files"),
                (["--json"] + FILES, 2, "unknown option"),
                ([os.path.join(folder, "missing.bin")], 2, "cannot open"),
                ([folder], 2, "folder"),
                ([faulty], 1, "does not load cleanly"),
            ]
            for args, status, message in cases:
                with self.subTest(args=args):
                    result = subprocess.run([GRIDTOOL, "atlas", *args], capture_output=True, text=True)
                    self.assertEqual((result.returncode, result.stdout), (status, ""))
                    self.assertIn(message, result.stderr)
                    self.assertEqual(result.stderr.count("\n"), 1)
        page = subprocess.run([GRIDTOOL, "atlas", *FILES], capture_output=True, text=True, check=True).stdout
        with open(PAGE, encoding="utf-8") as f:
            self.assertEqual(page, f.read(), "the build's page is gridtool's")
        self.assertIsNone(re.search(r'<(?:script|link|img)[^>]+(?:src|href)=', page), "no outside file")
        self.assertLess(len(page.encode()), 4 << 20)

    def test_file_names_are_text_and_each_grid_has_its_switch(self):
        name = '<img src=x onerror="document.title=1">.bin'
        with tempfile.TemporaryDirectory() as folder:
            paths = [os.path.join(folder, sub, name) for sub in ("a", "b")]
            for path in paths:
                os.makedirs(os.path.dirname(path))
                shutil.copy(FILES[0], path)
            page = os.path.join(folder, "page.html")
            with open(page, "w") as f:
                subprocess.run([GRIDTOOL, "atlas", *paths], stdout=f, check=True)
            BROWSER.open("about:blank", "true")
            BROWSER.open("file://" + page, "window.orvantaAtlas && orvantaAtlas.ready")
            labels = BROWSER.evaluate("[].map.call(document.querySelectorAll("
                                      "'.leaflet-control-layers-overlays label'), function (e) "
                                      "{ return e.textContent.trim(); })")
            self.assertNotEqual(BROWSER.evaluate("document.title"), "1")
        self.assertIn("Grid: " + name, labels)
        self.assertIn("Grid: " + name + " (2)", labels)

    def test_grid_layers_at_three_zooms(self):
        # (fragment, label class, a label it shows); the large squares'
        # names are drawn on the map pages' canvas.
        cases = [("", None, "AM"), ("AM", "atlas-cell-label", "19"), ("AM19", "atlas-small-label", "1969")]
        for fragment, kind, label in cases:
            with self.subTest(fragment=fragment):
                dom, log = open_page(fragment)
                self.check_clean(dom, log)
                if kind:
                    labels = re.findall(r'class="[^"]*\b%s\b[^"]*"[^>]*>([^<]*)<' % kind, dom)
                else:
                    labels = BROWSER.evaluate("[].concat.apply([], orvantaAtlas.gridLayers.map(function (l) "
                                              "{ return l.labels; }))")
                self.assertIn(label, labels)


if __name__ == "__main__":
    CONVERT, GRIDTOOL, PAGE, FILES = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    FIXED = tempfile.NamedTemporaryFile("w", suffix=".html", encoding="utf-8")
    with open(PAGE, encoding="utf-8") as f:
        FIXED.write(f.read().replace("<head>", "<head>\n" + CAPTURE, 1).replace("</head>", FIXED_SIZE + "\n</head>", 1))
    FIXED.flush()
    BROWSER = Browser()
    try:
        suite = unittest.TestLoader().loadTestsFromTestCase(AtlasPage)
        ok = unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful()
    finally:
        BROWSER.close()
    sys.exit(0 if ok else 1)
