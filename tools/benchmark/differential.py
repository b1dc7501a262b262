#!/usr/bin/env python3
"""Compares two builds of orvanta-convert byte for byte: every code of the
given grid files (every cell of every quad with every small square, the
cells and the large squares), the same codes as people write them, and
malformed lines (bad bytes, NULs, overlong lines, no final line end), in
the line formats, as CSV and in the map formats (exit status, standard
output and standard error); with a whole file on standard input and with
codes arriving one line at a time (standard output).

usage: differential.py OLD_CONVERT NEW_CONVERT GRIDTOOL GRIDFILE..."""
import json
import random
import subprocess
import sys
import tempfile


def codes_of(gridtool, path):
    """Every code of a grid file: large squares, cells and small squares."""
    dump = json.loads(subprocess.run([gridtool, "dump", "--json", path], check=True,
                                     capture_output=True).stdout)
    codes = []
    for quad in dump["quads"]:
        name = quad["name"].encode("cp1252")
        form = dump["forms"].get(str(quad["quadtype"]))
        codes.append(name)
        for n in sorted(set(form["numbers"]) if form else []):
            if 0 <= n <= 99:
                cell = name + b"%02d" % n
                codes.append(cell)
                codes += [cell + b"%d%d" % (a, b) for a in range(10) for b in range(10)]
    return codes


def written(code, rng):
    """A code as a diary or a list might write it, or spoilt."""
    text = code.decode("cp1252")
    letters, digits = text[:2], text[2:]
    forms = [
        lambda: text.lower(), lambda: " %s\t" % text, lambda: text + "\r",
        lambda: "Qu. %s %s" % (letters, " ".join(digits[i:i + 2] for i in range(0, len(digits), 2))),
        lambda: "%s-%s" % (letters, "-".join(digits[i:i + 2] for i in range(0, len(digits), 2))),
        lambda: text[:-1], lambda: text + "7", lambda: text[:3] + " " + text[3:], lambda: text + "x",
    ]
    line = rng.choice(forms)()
    encoding = rng.choice(["utf-8", "cp1252"])
    return line.encode(encoding)


def malformed(rng):
    """Lines that name no code, or hardly one."""
    pieces = [b"", b" ", b"\r", b"\x00", b"AM\x001969", b"\xff\xfe", b"\xc3", b"\xc3\x84", b"\xe4", b"\xc4\x80",
              b"Quadrat", b"QU", b"#", b",", b'"', b"AM", b"1969", b"\xe2\x80\x94", b"\xf0\x9f\x98\x80", b"\t"]
    return b"".join(rng.choice(pieces) for _ in range(rng.randint(1, 8)))


def run(binary, args, data):
    result = subprocess.run([binary] + args, input=data, capture_output=True)
    return result.returncode, result.stdout, result.stderr


def trickled(binary, args, lines):
    """Feeds the lines one write at a time and reads everything back."""
    process = subprocess.Popen([binary] + args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    for line in lines:
        process.stdin.write(line + b"\n")
        process.stdin.flush()
    process.stdin.close()
    out = process.stdout.read()
    return process.wait(), out, b""


def main():
    old, new, gridtool, files = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    rng = random.Random(1943)
    data = sum((["--data", f] for f in files), [])
    codes = sum((codes_of(gridtool, f) for f in files), [])
    spoilt = [written(rng.choice(codes), rng) for _ in range(20000)] + [malformed(rng) for _ in range(20000)]
    mixed = codes + spoilt
    rng.shuffle(mixed)
    big = b"A" * (1 << 20)
    edges = [big, big + b"B", b"x" * ((1 << 20) - 1), b"\xc3" * (1 << 20) + b"\xc3", b"CA1155" + b" " * (1 << 20)]
    inputs = {
        "codes": b"\n".join(codes) + b"\n",
        "mixed": b"\n".join(mixed),  # no final line end
        "edges": b"\n".join(edges + [b"CA1155"] + edges[::-1]) + b"\n",
        "empty": b"",
        "blank": b"\n\n\r\n",
    }
    csv = b"".join(b'%d,"%s",x\r\n' % (i, line.replace(b'"', b'""')) for i, line in enumerate(mixed[:60000]))
    cases = []
    formats = ([], ["--format", "decimal"], ["--format", "geojson"], ["--format", "kml"], ["--format", "gpx"])
    for name, text in inputs.items():
        for fmt in formats[:3] if name == "codes" else formats:
            cases.append((name + " " + " ".join(fmt), data + fmt, text))
    cases.append(("html", data + ["--format", "html"], b"\n".join(mixed[:3000])))
    cases.append(("csv", data + ["--csv", "2"], csv))
    cases.append(("csv decimal", data + ["--csv", "2", "--format", "decimal"], csv))
    cases.append(("arguments", data + [c.decode("cp1252") for c in codes[:500]] + ["qu am 19 69", "x"], b""))
    failed = 0
    for label, args, text in cases:
        same = run(old, args, text) == run(new, args, text)
        print("%-28s %s" % (label, "same" if same else "DIFFERENT"))
        failed += not same
    lines = [rng.choice(mixed) for _ in range(300)]
    for fmt in ([], ["--format", "geojson"]):
        same = trickled(old, data + fmt, lines) == trickled(new, data + fmt, lines)
        print("%-28s %s" % ("trickled " + " ".join(fmt), "same" if same else "DIFFERENT"))
        failed += not same
    print("%d codes, %d written or malformed lines; %d cases differ" % (len(codes), len(spoilt), failed))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
