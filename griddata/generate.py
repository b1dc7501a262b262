#!/usr/bin/env python3
"""Write the plain keyword text of the grid database.

Usage: python3 generate.py OUTDIR

Writes OUTDIR/GridData.txt (Atlantic, Mediterranean and the other oceans of
the U-boat war) and OUTDIR/GridData-Pacific.txt, both in Windows-1252 with
CR LF line ends.  gridtool scrambles them into the .bin files the program
reads.
"""

import os
import sys
import textwrap

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import mqk_grid  # noqa: E402

# Limits of the program's tables and of the loader's buffers.
MAX_RECORDS = 500
MAX_NAMES_PER_SECTION = 300
MAX_RECORDS_PER_NAME = 20
MAX_CELLS_PER_FORM = 140
MAX_ABOUT_BYTES = 398  # 400 with CR LF
# The About box's edit field (175 x 45 dialog units) shows five lines of
# about 43 average characters; a line that wraps into more is cut off.
ABOUT_SHOWN_LINES, ABOUT_SHOWN_WIDTH = 5, 40


def position(deg):
    """One position as the loader reads it: degrees ' minutes.

    The minutes take the sign of the degrees.  A value between -1 and 0 is
    written as decimal degrees, because "-0'30" would read as +30 minutes."""
    deg = round(deg, 6)
    if -1.0 < deg < 0.0:
        return "%s'0" % ("%.6f" % deg).rstrip("0").rstrip(".")
    whole = int(abs(deg))
    minutes = round((abs(deg) - whole) * 60.0, 4)
    if minutes >= 60.0:
        whole, minutes = whole + 1, 0.0
    text = "%d'%02d" % (whole, minutes) if minutes == int(minutes) \
        else "%d'%s" % (whole, ("%07.4f" % minutes).rstrip("0"))
    return ("-" if deg < 0 else "") + text


def run_records(run):
    """(name, south, north, west, east) of each square of a run, east positive."""
    out = []
    for i, name in enumerate(run.names):
        west = run.lon_west + i * run.width
        out.append((name, run.lat_south, run.lat_north, west, west + run.width))
    return out


def section_text(run):
    n = len(run.names)
    east = run.lon_west + n * run.width
    # The file counts longitude positive west.
    lines = [
        "Chart %d" % run.chart,
        "Quadtype %d" % run.form.type,
        "NrOfQuadsX %d" % n,
        "NrOfQuadsY 1",
        "DownLeftPos %s %s" % (position(run.lat_south), position(-run.lon_west)),
        "UpRightPos %s %s" % (position(run.lat_north), position(-east)),
        "QuadName " + ",".join(run.names),
    ]
    return lines


def form_text(form):
    rows = form.rows
    fx = len(rows[0])
    assert all(len(r) == fx for r in rows), form.name
    lines = ["Type %d" % form.type, "FormX %d" % fx, "FormY %d" % len(rows), "Numbers:"]
    cells = [[-1 if n is None else n for n in r] for r in rows]
    for i, r in enumerate(cells):
        text = ",".join(str(n) for n in r)
        lines.append(text + ("," if i < len(cells) - 1 else ""))
    return lines


def check(runs, forms, about):
    """Refuse data that the program's tables cannot hold."""
    total = sum(len(r.names) for r in runs)
    if total > MAX_RECORDS:
        raise ValueError("%d quad records, more than %d" % (total, MAX_RECORDS))
    per_name = {}
    for r in runs:
        if len(r.names) > MAX_NAMES_PER_SECTION:
            raise ValueError("section with %d names" % len(r.names))
        for name in r.names:
            if len(name.encode("cp1252")) != 2:
                raise ValueError("name %r is not two characters" % name)
            per_name[name] = per_name.get(name, 0) + 1
    for name, count in per_name.items():
        if count > MAX_RECORDS_PER_NAME:
            raise ValueError("%d records named %s" % (count, name))
    types = set()
    for f in forms:
        if not 0 <= f.type <= 99:
            raise ValueError("form type %d" % f.type)
        if f.type in types:
            raise ValueError("form type %d defined twice" % f.type)
        types.add(f.type)
        if len(f.rows) * len(f.rows[0]) > MAX_CELLS_PER_FORM:
            raise ValueError("form %d has too many cells" % f.type)
    for r in runs:
        if r.form.type not in types:
            raise ValueError("run %s uses undefined form %d" % (r.names, r.form.type))
    if len(about.encode("cp1252")) > MAX_ABOUT_BYTES:
        raise ValueError("About line too long")
    if len(textwrap.wrap(about, ABOUT_SHOWN_WIDTH)) > ABOUT_SHOWN_LINES:
        raise ValueError("About line does not fit the About box")


def file_text(runs, forms, about):
    check(runs, forms, about)
    lines = ["About " + about]
    for run in runs:
        lines.extend(section_text(run))
    lines.append("QuadDefinitions")
    for form in forms:
        lines.extend(form_text(form))
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: generate.py OUTDIR\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    files = [
        ("GridData.txt", mqk_grid.ATLANTIC, mqk_grid.FORMS, mqk_grid.ABOUT_MAIN),
        ("GridData-Pacific.txt", mqk_grid.PACIFIC, mqk_grid.PACIFIC_FORMS,
         mqk_grid.ABOUT_PACIFIC),
    ]
    for name, runs, forms, about in files:
        data = file_text(runs, forms, about)
        path = os.path.join(outdir, name)
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
