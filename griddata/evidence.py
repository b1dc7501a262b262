#!/usr/bin/env python3
"""Measures the published pairs of evidence.tsv against the grid.

Usage: evidence.py BINDIR [--markdown | --readme FILE [--update]]

BINDIR holds orvanta-convert and the data files GridData.bin and
GridData-Pacific.bin, as a build leaves them.  The codes are converted by
the program itself.

Prints one line per pair (the distance in nm from the centre of the coded
small square to the published position, and the direction in which the
position lies) and one line per large square: its pairs, its independent
events, the median distance and the mean offset.  A square whose events
agree on a shift (three or more events whose offsets point the same way,
the mean of their unit vectors at least 0.8 long, median distance above
6 nm) is marked "examine".

--markdown prints the README's tables instead; --readme FILE also compares
them with the part of FILE between the evidence markers (exit status 1 when
it differs) and --update rewrites that part.

Exit status: 0, 1 for a README out of date, 2 for bad arguments or a code
that no data file converts.
"""

import math
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, "evidence.tsv")
FILES = ("GridData.bin", "GridData-Pacific.bin")
BEGIN = "<!-- evidence.py: begin -->"
END = "<!-- evidence.py: end -->"
EXAMINE_EVENTS, EXAMINE_AGREEMENT, EXAMINE_MEDIAN_NM = 3, 0.8, 6.0


def degrees(text):
    """'37 33 N' -> 37.55; south and west negative."""
    d, m, hemi = text.split()
    value = int(d) + float(m) / 60.0
    return -value if hemi in "SW" else value


def read_pairs(path=TABLE):
    pairs = []
    with open(path, encoding="utf-8") as f:
        header = None
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            if header is None:
                header = fields
                continue
            row = dict(zip(header, fields + [""] * (len(header) - len(fields))))
            row["lat"], row["lon"] = degrees(row["latitude"]), degrees(row["longitude"])
            pairs.append(row)
    return pairs


def convert(bindir, codes):
    """{code: (lat, lon)} in decimal degrees, from the first data file that
    converts the code."""
    program = os.path.join(bindir, "orvanta-convert")
    found = {}
    for name in FILES:
        todo = [c for c in codes if c not in found]
        if not todo:
            break
        out = subprocess.run([program, "--data", os.path.join(bindir, name), "--format", "decimal"],
                             input=("\n".join(todo) + "\n").encode("cp1252"),
                             stdout=subprocess.PIPE).stdout
        for line in out.decode("utf-8", "replace").splitlines():
            fields = line.split("\t")
            if len(fields) == 3:
                found[fields[0]] = (float(fields[1]), float(fields[2]))
    return found


def offset_nm(lat0, lon0, lat1, lon1):
    """(east, north) in nm from the first point to the second, on the plane
    tangent at their mean latitude; longitudes taken the short way."""
    dlon = (lon1 - lon0 + 180.0) % 360.0 - 180.0
    mid = math.radians((lat0 + lat1) / 2.0)
    return dlon * 60.0 * math.cos(mid), (lat1 - lat0) * 60.0


def distance_nm(lat0, lon0, lat1, lon1):
    p0, p1 = math.radians(lat0), math.radians(lat1)
    a = (math.sin((p1 - p0) / 2) ** 2 +
         math.cos(p0) * math.cos(p1) * math.sin(math.radians(lon1 - lon0) / 2) ** 2)
    return 2 * math.degrees(math.asin(min(1.0, math.sqrt(a)))) * 60.0


def compass(east, north):
    if east == 0 and north == 0:
        return "-"
    points = ["N", "NE", "E", "SE", "S", "SW", "W", "NW"]
    return points[int((math.degrees(math.atan2(east, north)) % 360 + 22.5) // 45) % 8]


def measure(pairs, centres):
    for p in pairs:
        clat, clon = centres[p["code"]]
        p["distance"] = distance_nm(clat, clon, p["lat"], p["lon"])
        p["east"], p["north"] = offset_nm(clat, clon, p["lat"], p["lon"])
    squares = {}
    for p in pairs:
        squares.setdefault(p["code"][:2], []).append(p)
    summary = []
    for name in sorted(squares):
        ps = squares[name]
        # Pairs of one event are one piece of evidence: average them first.
        events = {}
        for p in ps:
            events.setdefault(p["event"], []).append(p)
        vectors = [(statistics.mean(p["east"] for p in e), statistics.mean(p["north"] for p in e))
                   for e in events.values()]
        east = statistics.mean(v[0] for v in vectors)
        north = statistics.mean(v[1] for v in vectors)
        units = [(v[0] / math.hypot(*v), v[1] / math.hypot(*v)) for v in vectors if math.hypot(*v)]
        agreement = math.hypot(statistics.mean(u[0] for u in units),
                               statistics.mean(u[1] for u in units)) if units else 0.0
        median = statistics.median(p["distance"] for p in ps)
        examine = (len(events) >= EXAMINE_EVENTS and agreement >= EXAMINE_AGREEMENT and
                   median > EXAMINE_MEDIAN_NM)
        summary.append({"square": name, "pairs": len(ps), "events": len(events), "median": median,
                        "east": east, "north": north, "agreement": agreement,
                        "examine": examine})
    return summary


def plain_report(pairs, summary):
    lines = ["pair\tcode\tdistance_nm\tdirection\tstatus\tevent"]
    for i, p in enumerate(pairs, 1):
        lines.append("%d\t%s\t%.1f\t%s\t%s\t%s" % (i, p["code"], p["distance"],
                                                  compass(p["east"], p["north"]), p["status"],
                                                  p["event"]))
    lines.append("square\tpairs\tevents\tmedian_nm\tmean_offset_nm\tdirection\tagreement\tverdict")
    for s in summary:
        lines.append("%s\t%d\t%d\t%.1f\t%.1f\t%s\t%.2f\t%s" % (
            s["square"], s["pairs"], s["events"], s["median"], math.hypot(s["east"], s["north"]),
            compass(s["east"], s["north"]), s["agreement"], "examine" if s["examine"] else "-"))
    return "\n".join(lines) + "\n"


def markdown(pairs, summary):
    lines = [BEGIN, "",
             "| Code | Event | Ocean | Same document | Status | Distance | Direction |",
             "|---|---|---|---|---|---|---|"]
    for p in pairs:
        lines.append("| %s %s | %s | %s | %s | %s | %.1f nm | %s |" % (
            p["code"][:2], p["code"][2:], p["event"], p["ocean"], p["same_document"], p["status"],
            p["distance"], compass(p["east"], p["north"])))
    lines += ["", "| Square | Pairs | Events | Median | Mean offset | Verdict |",
              "|---|---|---|---|---|---|"]
    for s in summary:
        lines.append("| %s | %d | %d | %.1f nm | %.1f nm %s | %s |" % (
            s["square"], s["pairs"], s["events"], s["median"], math.hypot(s["east"], s["north"]),
            compass(s["east"], s["north"]), "examine" if s["examine"] else "-"))
    lines += ["", END]
    return "\n".join(lines) + "\n"


def readme_part(text):
    start, end = text.find(BEGIN), text.find(END)
    if start < 0 or end < start:
        return None
    return start, end + len(END) + 1


def main(argv):
    args = argv[1:]
    if not args or args[0].startswith("-"):
        sys.stderr.write("usage: evidence.py BINDIR [--markdown | --readme FILE [--update]]\n")
        return 2
    bindir, options = args[0], args[1:]
    pairs = read_pairs()
    centres = convert(bindir, sorted({p["code"] for p in pairs}))
    missing = sorted({p["code"] for p in pairs} - set(centres))
    if missing:
        sys.stderr.write("evidence.py: no data file converts %s\n" % ", ".join(missing))
        return 2
    summary = measure(pairs, centres)
    if not options:
        sys.stdout.write(plain_report(pairs, summary))
        return 0
    if options == ["--markdown"]:
        sys.stdout.write(markdown(pairs, summary))
        return 0
    if options[0] == "--readme" and len(options) in (2, 3) and options[2:] in ([], ["--update"]):
        path = options[1]
        with open(path, encoding="utf-8") as f:
            text = f.read()
        span = readme_part(text)
        if span is None:
            sys.stderr.write("evidence.py: %s has no evidence markers\n" % path)
            return 2
        wanted = markdown(pairs, summary)
        sys.stdout.write(plain_report(pairs, summary))
        if text[span[0]:span[1]] == wanted:
            return 0
        if len(options) == 2:
            sys.stderr.write("evidence.py: the table in %s is out of date; run "
                             "griddata/evidence.py BINDIR --readme %s --update\n" % (path, path))
            return 1
        tmp = path + ".tmp"
        with open(tmp, "w", encoding="utf-8") as f:
            f.write(text[:span[0]] + wanted + text[span[1]:])
        os.replace(tmp, path)
        return 0
    sys.stderr.write("usage: evidence.py BINDIR [--markdown | --readme FILE [--update]]\n")
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
