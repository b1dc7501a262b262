#!/usr/bin/env python3
"""Times the Wine launcher from start to the first painted chart.

usage: startup_time.py PROGRAM_FOLDER [RUNS]

Needs a display (xvfb-run) and x11-utils and ImageMagick.  Each run starts
tools/launcher/orvanta with ORVANTA_HOME=PROGRAM_FOLDER and a fresh per-user
folder for the first (cold) run: a new Wine prefix, which the launcher
creates and fills with fonts.  The later (warm) runs reuse that prefix with
no Wine server left running.  A run ends when a pixel inside the picture
area shows the chart instead of the dialog's grey; one line per run:
"cold|warm SECONDS"."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

LAUNCHER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "launcher", "orvanta")
# A window pixel well inside the picture area, off the cross-hair.
PROBE_X, PROBE_Y = 120, 150


def dialog_window():
    """The X window id of the top-level window named Orvanta, or None."""
    tree = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
    match = re.search(r"^\s+(0x[0-9a-f]+) \"Orvanta\"", tree, re.MULTILINE)
    return match.group(1) if match else None


def chart_painted(window):
    """Whether the probe pixel is coloured (the chart), not grey or white."""
    pixel = subprocess.run(["import", "-window", window, "-crop", "1x1+%d+%d" % (PROBE_X, PROBE_Y), "txt:-"],
                           capture_output=True, text=True).stdout
    match = re.search(r"#([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})", pixel)
    if not match:
        return False
    r, g, b = (int(v, 16) for v in match.groups())
    return max(r, g, b) - min(r, g, b) > 24


def one_run(env, timeout=300.0):
    """Seconds from the launcher's start to the painted chart."""
    start = time.monotonic()
    process = subprocess.Popen([LAUNCHER], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    seconds = None
    try:
        while time.monotonic() - start < timeout:
            window = dialog_window()
            if window and chart_painted(window):
                seconds = time.monotonic() - start
                break
            time.sleep(0.02)
    finally:
        process.kill()
        process.wait()
        for arch in ("win32", "win64"):
            prefix = dict(env, WINEPREFIX=os.path.join(env["ORVANTA_DATA"], arch))
            subprocess.run(["wineserver", "-k"], env=prefix, capture_output=True)
            subprocess.run(["wineserver", "-w"], env=prefix, capture_output=True)
    return seconds


def main():
    if len(sys.argv) not in (2, 3) or not os.environ.get("DISPLAY"):
        sys.exit("usage: startup_time.py PROGRAM_FOLDER [RUNS]   (with a display)")
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 4
    data = tempfile.mkdtemp(prefix="orvanta-startup-")
    env = dict(os.environ, ORVANTA_HOME=os.path.abspath(sys.argv[1]), ORVANTA_DATA=data)
    env.pop("WINEPREFIX", None)
    try:
        for run in range(runs):
            seconds = one_run(env)
            label = "cold" if run == 0 else "warm"
            print("%s %s" % (label, "%.2f" % seconds if seconds is not None else "timed out"), flush=True)
    finally:
        shutil.rmtree(data)


if __name__ == "__main__":
    main()
