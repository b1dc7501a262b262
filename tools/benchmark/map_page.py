#!/usr/bin/env python3
"""Times the map page of orvanta-convert in headless Chromium: a page of
one code against pages of many codes as points and as squares, all in one
run.  For each page, on the page's own clock from navigation: when its
script starts (the data before it is read), when the features are read,
and the first frame drawn after the script; the difference of that frame
from the one-code page's; the wall time of a headless run that loads the
page and takes a screenshot and its difference; the script heap then.

usage: map_page.py BIN_FOLDER [POINTS [SQUARES]]
  BIN_FOLDER holds orvanta-convert and GridData.bin (a native tree's bin/);
  POINTS defaults to 1000000 and SQUARES to 100000.
Needs chromium.  Not a test: the figures depend on the machine."""
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

# Large squares of the main grid in the North Atlantic; a few of the random
# codes fall outside their square's layout and are listed without a position.
SQUARES = ["AK", "AL", "AM", "AN", "BD", "BE", "BF", "CA", "CB", "CC", "CD", "CE", "CF", "CG", "DF", "DG", "DH"]

# After the page's script: at the first frame drawn after it, the page's
# clock and heap go to the browser's log.
MEASURE = """<script>
requestAnimationFrame(function () {
  var page = window.orvantaPage || {};
  console.log('ORVANTA-BENCH ' + JSON.stringify({script: page.started, read: page.read, drawn: page.drawn,
                                                 frame: performance.now(), heap: performance.memory.usedJSHeapSize,
                                                 problems: window.orvantaProblems}));
});
</script>"""
CAPTURE = """<script>
window.orvantaProblems = [];
window.addEventListener('error', function (e) { window.orvantaProblems.push(e.message); }, true);
</script>"""


def codes(count):
    rng = random.Random(1941)
    return "".join(rng.choice(SQUARES) + "".join(rng.choice("123456789") for _ in range(4)) + "\n"
                   for _ in range(count)).encode()


def measure(folder, name, html):
    """Loads the page once in headless Chromium, which ends after the first
    frames with a screenshot: the page's figures and the run's wall time."""
    page = os.path.join(folder, name + ".html")
    with open(page, "wb") as f:
        f.write(html.replace(b"<head>", b"<head>\n" + CAPTURE.encode(), 1)
                .replace(b"</body>", MEASURE.encode() + b"\n</body>", 1))
    profile = tempfile.mkdtemp(prefix="orvanta-bench-")
    try:
        start = time.monotonic()
        result = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                                 "--user-data-dir=" + profile, "--host-resolver-rules=MAP * ~NOTFOUND",
                                 "--window-size=1000,700", "--enable-precise-memory-info", "--enable-logging=stderr",
                                 "--v=0", "--screenshot=" + os.path.join(folder, name + ".png"), "file://" + page],
                                capture_output=True, text=True, timeout=900)
        wall = time.monotonic() - start
    finally:
        shutil.rmtree(profile, ignore_errors=True)
        os.remove(page)
    match = re.search(r'ORVANTA-BENCH (\{.*?\})", source', result.stderr)
    figures = json.loads(match.group(1).replace('\\"', '"')) if match else {}
    figures.update(size=len(html), wall=wall)
    return figures


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__.split("\n\n")[1])
    convert = os.path.join(sys.argv[1], "orvanta-convert")
    points = int(sys.argv[2]) if len(sys.argv) > 2 else 1000000
    squares = int(sys.argv[3]) if len(sys.argv) > 3 else 100000
    folder = tempfile.mkdtemp(prefix="orvanta-map-bench-")
    try:
        cases = [("one code", [], codes(1)), ("%d points" % points, [], codes(points)),
                 ("%d squares" % squares, ["--shape", "square"], codes(squares))]
        results = []
        for number, (name, options, stdin) in enumerate(cases):
            html = subprocess.run([convert, "--format", "html", *options], input=stdin, capture_output=True).stdout
            results.append((name, measure(folder, "page%d" % number, html)))
        base = results[0][1]
        print("%-16s %7s %9s %9s %9s %9s %8s %7s %8s  %s" % (
            "page", "MB", "script ms", "read ms", "frame ms", "+ms", "wall s", "+s", "heap MB", "script errors"))
        nan = float("nan")
        for name, r in results:
            frame = r.get("frame", nan)
            print("%-16s %7.1f %9.0f %9.0f %9.0f %9.0f %8.2f %7.2f %8.0f  %s" % (
                name, r["size"] / 1e6, r.get("script", nan), r.get("read", nan), frame,
                frame - base.get("frame", nan), r["wall"], r["wall"] - base["wall"], r.get("heap", nan) / 1e6,
                r.get("problems", "the page did not run")))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
