#!/usr/bin/env python3
"""Times the atlas page in headless Chromium, driven through its DevTools
protocol on a pipe (no network, no extra package).

usage: atlas_timing.py ATLAS_PAGE [RUNS]

Prints the page's size; the time from navigation start to the page being
ready (core compiled, grids loaded and drawn), beside a blank page's load
in the same browser; and for a list of codes, the time from submitting the
search box to the result drawn: the lookup with its panel and squares
(synchronous), and to the end of the next frame.  Medians and worst over
RUNS page loads (5 unless given)."""
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

CODES = ["AM 1969", "Qu. AM 1969", "äj 11 55", "AM19", "AM", "CA6897", "OB9848", "SO26", "XX12", "56.7333,-14.0833"]

# Types each code into the search box and submits it; resolves to
# [[synchronous ms, to the next frame ms], ...].
TYPE_AND_DRAW = """(async function () {
  var input = document.querySelector('.atlas-search input'), out = [];
  for (var code of %s) {
    await new Promise(function (r) { setTimeout(r, 800); });
    var t0 = performance.now();
    input.value = code;
    input.form.requestSubmit();
    var t1 = performance.now();
    await new Promise(function (r) { requestAnimationFrame(function () { setTimeout(r, 0); }); });
    out.push([t1 - t0, performance.now() - t0]);
  }
  return out;
}())"""


class Browser:
    """Headless Chromium with the DevTools protocol on file descriptors 3
    (commands) and 4 (answers), messages ending in NUL."""

    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="atlas-timing-")
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        chromium = next(p for p in ("/usr/bin/chromium", "/usr/bin/chromium-browser") if os.path.exists(p))

        def child_fds():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--remote-debugging-pipe",
             "--user-data-dir=" + self.profile, "--host-resolver-rules=MAP * ~NOTFOUND",
             "--window-size=1200,800", "about:blank"],
            pass_fds=(3, 4, to_browser_r, from_browser_w), preexec_fn=child_fds,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.next_id = 0
        self.buffer = b""
        target = self.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]

    def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.buffer:
                chunk = os.read(self.from_browser, 1 << 16)
                if not chunk:
                    raise RuntimeError("chromium closed the pipe")
                self.buffer += chunk
            text, self.buffer = self.buffer.split(b"\0", 1)
            answer = json.loads(text)
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError("%s: %s" % (method, answer["error"]))
                return answer["result"]

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                                "returnByValue": True}, self.session)
        if "exceptionDetails" in result:
            raise RuntimeError(json.dumps(result["exceptionDetails"])[:500])
        return result["result"].get("value")

    def open(self, url, ready, seconds=60):
        """Navigates and waits until the expression is true; its value."""
        self.send("Page.navigate", {"url": url}, self.session)
        return self.evaluate("""new Promise(function (resolve, reject) {
          var end = Date.now() + %d;
          (function poll() {
            var v = (%s);
            if (v) resolve(v);
            else if (Date.now() > end) reject(new Error('not ready in time: ' + location.href));
            else setTimeout(poll, 5);
          }());
        })""" % (seconds * 1000, ready))

    def close(self):
        self.process.kill()
        self.process.wait()
        # Chromium's helpers may still be writing the profile as it ends.
        shutil.rmtree(self.profile, ignore_errors=True)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    page = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 5
    blank_page = tempfile.NamedTemporaryFile("w", suffix=".html")
    blank_page.write("<!DOCTYPE html><title>blank</title>")
    blank_page.flush()
    loaded = ("document.readyState === 'complete' && "
              "performance.getEntriesByType('navigation')[0].loadEventEnd")
    blanks, readies, sync, framed = [], [], [], []
    browser = Browser()
    try:
        for _ in range(runs):
            blanks.append(browser.open("file://" + blank_page.name, loaded))
            readies.append(browser.open("file://" + page, "window.orvantaAtlas && orvantaAtlas.ready && "
                                        "orvantaAtlas.readyAt"))
            for s, f in browser.evaluate(TYPE_AND_DRAW % json.dumps(CODES)):
                sync.append(s)
                framed.append(f)
    finally:
        browser.close()
    print("page size            %.2f MB (%d bytes)" % (os.path.getsize(page) / 1e6, os.path.getsize(page)))
    print("blank page loaded    median %6.1f ms  worst %6.1f ms" % (statistics.median(blanks), max(blanks)))
    print("atlas ready          median %6.1f ms  worst %6.1f ms" % (statistics.median(readies), max(readies)))
    print("ready after blank    median %6.1f ms" % (statistics.median(readies) - statistics.median(blanks)))
    print("lookup drawn (sync)  median %6.2f ms  worst %6.2f ms  (%d lookups)" %
          (statistics.median(sync), max(sync), len(sync)))
    print("to the next frame    median %6.2f ms  worst %6.2f ms" % (statistics.median(framed), max(framed)))


if __name__ == "__main__":
    main()
