#!/usr/bin/env python3
"""gridtool check and export as a user runs them: exit statuses, the
compiler-style lines, and GeoJSON that GDAL's reader accepts.

usage: gridtool_cli_test.py GRIDTOOL [DATA_DIR]
With DATA_DIR, checks and exports the shipped data files instead."""
import json
import os
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import unittest

from toolrun import run_on_stream

GRIDTOOL = DATA = None

CLEAN = ("About Demo grid\r\nChart 1\r\nQuadtype 0\r\nNrOfQuadsX 3\r\nNrOfQuadsY 2\r\n"
         "DownLeftPos 54'00 30'00\r\nUpRightPos 57'00 21'00\r\nQuadName CA,CB,CC\r\n"
         "QuadName CD,CE,CF\r\nQuadDefinitions\r\nType 0\r\nFormX 3\r\nFormY 2\r\n"
         "Numbers:\r\n11,12,13,\r\n21,22,-1\r\n")


KEY = "Kapten Blå seglar hem mot Gotland i natt:)".encode("cp1252")


def run(*args):
    return subprocess.run([GRIDTOOL, *args], capture_output=True, timeout=120)


def ogr_feature_count(path):
    """The number of features GDAL's GeoJSON driver reads from the file."""
    ogrinfo = shutil.which("ogrinfo")
    if not ogrinfo:
        raise AssertionError("ogrinfo is missing: install gdal-bin (tools/install-deps.sh does)")
    out = subprocess.run([ogrinfo, "-ro", "-so", "-al", path], capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        raise AssertionError(out.stderr)
    return int(re.search(r"Feature Count: (\d+)", out.stdout).group(1))


def ogr_levels(path, where=None):
    """How many features of each level GDAL reads, and the outline (west,
    east, south, north) of the last one."""
    out = subprocess.run(["ogrinfo", "-ro", "-al"] + (["-where", where] if where else []) + [path],
                         capture_output=True, text=True, timeout=120)
    if out.returncode != 0:
        raise AssertionError(out.stderr)
    levels = {}
    for level in re.findall(r"level \(String\) = (.+)", out.stdout):
        levels[level] = levels.get(level, 0) + 1
    points = re.findall(r"(-?[\d.]+) (-?[\d.]+)", (re.findall(r"POLYGON \(\((.*?)\)\)", out.stdout) or [""])[-1])
    lons, lats = [float(p[0]) for p in points], [float(p[1]) for p in points]
    return levels, (min(lons), max(lons), min(lats), max(lats)) if points else None


def check_layer(test, layer):
    """Every ring closed, counter-clockwise and within the globe."""
    for feature in layer["features"]:
        geometry = feature["geometry"]
        polygons = [geometry["coordinates"]] if geometry["type"] == "Polygon" else geometry["coordinates"]
        for polygon in polygons:
            ring = polygon[0]
            test.assertEqual(ring[0], ring[-1])
            area = sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(ring, ring[1:]))
            test.assertGreater(area, 0, feature["properties"])
            for lon, lat in ring:
                test.assertTrue(-180 <= lon <= 180 and -90 <= lat <= 90, (lon, lat))


class Fixtures(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="gridtool-cli-")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(text.encode("cp1252"))
        return path

    def test_check_statuses_and_lines(self):
        clean = self.write("clean.txt", CLEAN)
        scrambled = os.path.join(self.dir, "clean.bin")
        self.assertEqual(run("scramble", clean, scrambled).returncode, 0)
        cases = [
            # (text or path, exit status, lines that must appear)
            (clean, 0, ["clean.txt: ok (plain text), 1 sections, 6 quads, 1 quad forms"]),
            (scrambled, 0, ["clean.bin: ok (scrambled), 1 sections, 6 quads, 1 quad forms"]),
            (self.write("count.txt", CLEAN.replace("CD,CE,CF", "CD,CE")), 1,
             ["count.txt:8: NrOfQuadsX x NrOfQuadsY = 3 x 2 = 6 quads, but the QuadName lines give 5 names",
              "count.txt: 1 problem; the loader's status is 1"]),
            (self.write("keyword.txt", CLEAN.replace("FormY 2", "FormZ 2")), 1,
             ["keyword.txt:13: expected 'FormY', found 'FormZ'"]),
            (self.write("cells.txt", CLEAN.replace("21,22,-1", "21,13,-1")), 1,
             ["cells.txt:16: cell number 13 appears twice in form 0 (first on line 15)"]),
            (os.path.join(self.dir, "missing.bin"), 2, []),
        ]
        for path, status, lines in cases:
            result = run("check", path)
            out = result.stdout.decode()
            self.assertEqual(result.returncode, status, out + result.stderr.decode())
            for line in lines:
                self.assertIn(os.path.join(self.dir, line) if not line.startswith("/") else line, out)

    def test_export_reads_back_in_gdal(self):
        clean = self.write("clean.txt", CLEAN)
        for args, features in ((["export", "--geojson", clean], 6),
                               (["export", "--geojson", clean, "--cells"], 6 + 6 * 5)):
            result = run(*args)
            self.assertEqual(result.returncode, 0, result.stderr)
            layer = json.loads(result.stdout)
            self.assertEqual(len(layer["features"]), features)
            check_layer(self, layer)
            path = self.write("layer.geojson", result.stdout.decode())
            self.assertEqual(ogr_feature_count(path), features)
        first = json.loads(run("export", "--geojson", clean).stdout)["features"][0]
        self.assertEqual(first["properties"], {"level": "square", "name": "CA", "chart": 1, "quadType": 0,
                                               "record": 0})
        lons = [p[0] for p in first["geometry"]["coordinates"][0]]
        lats = [p[1] for p in first["geometry"]["coordinates"][0]]
        self.assertEqual((min(lons), max(lons), min(lats), max(lats)), (-30, -27, 54, 55.5))

    def test_export_levels_and_area(self):
        clean = self.write("clean.txt", CLEAN)
        box = "-29.6,55.1,-29.4,55.15"  # within cell 11 of CA, over three small squares
        cases = [
            # (arguments, features of each level)
            ([], {"square": 6}),
            (["--squares"], {"square": 6}),
            (["--cells"], {"square": 6, "cell": 30}),
            (["--bbox", box], {"square": 1, "cell": 1, "small square": 3}),
            (["--bbox=" + box, "--cells"], {"square": 1, "cell": 1}),
            (["--squares", "--bbox", box], {"square": 1}),
            # Across CA and CB and a row of cells; CA has no bottom-right cell:
            # CA13, CB11 and CB21, each with 5 x 3 small squares in the box.
            (["--bbox", "-27.5,54.5,-26.5,55"], {"square": 2, "cell": 3, "small square": 3 * 5 * 3}),
            (["--bbox", "170,0,-170,10"], {}),  # across the 180th meridian, far from the grid
        ]
        for args, levels in cases:
            with self.subTest(args=args):
                result = run("export", "--geojson", clean, *args)
                self.assertEqual(result.returncode, 0, result.stderr)
                path = self.write("layer.geojson", result.stdout.decode())
                self.assertEqual(ogr_levels(path)[0], levels)
                check_layer(self, json.loads(result.stdout))
        # The small square CA1155 is centred on the code's position, 55.125 N 29.5 W.
        path = self.write("area.geojson", run("export", "--geojson", clean, "--bbox", box).stdout.decode())
        west, east, south, north = ogr_levels(path, "code = 'CA1155'")[1]
        self.assertAlmostEqual((west + east) / 2, -29.5, places=5)
        self.assertAlmostEqual((south + north) / 2, 55.125, places=5)

    def test_export_misuse_is_one_line(self):
        clean = self.write("clean.txt", CLEAN)
        cases = [
            (["--bbox", "1,2,3"], "--bbox takes four numbers WEST,SOUTH,EAST,NORTH"),
            (["--bbox", "1,2,3,4,5"], "--bbox takes four numbers"),
            (["--bbox", "0,nan,1,4"], "--bbox takes four numbers"),
            (["--bbox", "-200,0,0,1"], "--bbox: west -200 is beyond 180"),
            (["--bbox", "0,-91,1,1"], "--bbox: south -91 is beyond 90"),
            (["--bbox", "0,5,1,4"], "--bbox: south 5 is not below north 4"),
            (["--squares", "--cells"], "--squares and --cells choose different depths"),
            (["--bbox"], "--bbox needs WEST,SOUTH,EAST,NORTH"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                result = run("export", "--geojson", clean, *args)
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stdout, b"")
                err = result.stderr.decode()
                self.assertIn(message, err)
                self.assertEqual(err.count("\n"), 1, err)

    def test_scramble_packs_only_what_check_accepts(self):
        clean = self.write("clean.txt", CLEAN)
        scrambled = os.path.join(self.dir, "clean.bin")
        self.assertEqual(run("scramble", clean, scrambled).returncode, 0)
        utf8 = os.path.join(self.dir, "utf8.txt")
        with open(utf8, "wb") as f:
            f.write(CLEAN.replace("Demo grid", "Demo grid M\u00fcnchen").encode("utf-8"))
        cases = [
            # (input, extra arguments, exit status, part of the message)
            (clean, [], 0, ""),
            (self.write("count.txt", CLEAN.replace("CD,CE,CF", "CD,CE")), [], 1,
             "count.txt has 1 problem ('gridtool check "),
            (self.write("count2.txt", CLEAN.replace("CD,CE,CF", "CD,CE")), ["--force"], 0, ""),
            (scrambled, [], 1, "is scrambled already"),
            (utf8, [], 1, "utf8.txt has 1 problem"),
        ]
        for path, extra, status, message in cases:
            with self.subTest(path=path, extra=extra):
                out = os.path.join(self.dir, "out.bin")
                if os.path.exists(out):
                    os.remove(out)
                result = run("scramble", *extra, path, out)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(message, result.stderr.decode())
                self.assertEqual(os.path.exists(out), status == 0)

    def test_check_names_a_utf8_text(self):
        cases = [
            # (bytes of the About line's place name, line expected or None for clean)
            ("M\u00fcnchen".encode("utf-8"), "1: the text looks like UTF-8: the bytes C3 BC are UTF-8 for "
                                            "'\u00fc', which the program reads as Windows-1252 and shows as "
                                            "'\u00c3\u00bc'"),
            ("M\u00fcnchen".encode("cp1252"), None),
            ("\u00c3\u00bc und \u00fc".encode("cp1252"), None),  # a stray high byte: Windows-1252 after all
        ]
        for name, line in cases:
            with self.subTest(name=name):
                path = os.path.join(self.dir, "about.txt")
                with open(path, "wb") as f:
                    f.write(CLEAN.encode().replace(b"Demo grid", b"Demo grid " + name))
                result = run("check", path)
                self.assertEqual(result.returncode, 1 if line else 0, result.stdout)
                if line:
                    self.assertIn(path + ":" + line, result.stdout.decode())
        with open(path, "wb") as f:
            f.write(b"\xef\xbb\xbf" + CLEAN.encode())
        self.assertIn(path + ":1: the file begins with a UTF-8 byte-order mark", run("check", path).stdout.decode())

    def test_export_refuses_a_faulty_file(self):
        faulty = self.write("faulty.txt", CLEAN.replace("QuadDefinitions", "QuadDefinition"))
        result = run("export", "--geojson", faulty)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stdout, b"")
        self.assertEqual(run("export", faulty).returncode, 2)


    def scrambled(self, name, text):
        data = bytearray(text.encode("cp1252"))
        for i in range(len(data)):
            data[i] ^= KEY[i % len(KEY)]
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_dump_of_hostile_files(self):
        def strict_json(out):
            return json.loads(out, parse_constant=lambda name: self.fail("%s in JSON" % name))
        folder = os.path.join(self.dir, "folder")
        os.mkdir(folder)
        cases = [
            # (file, exit status, check of the JSON dump, stderr pattern)
            (self.scrambled("huge-form.bin", CLEAN.replace("FormX 3\r\nFormY 2", "FormX 32767\r\nFormY 32767")), 1,
             lambda d: self.assertEqual(len(d["forms"]["0"]["numbers"]), 140), b"^$"),
            (self.scrambled("type-99.bin", CLEAN.replace("Type 0\r\nFormX 3\r\nFormY 2", "Type 99\r\nFormX 15\r\nFormY 10")), 1,
             lambda d: self.assertEqual(len(d["forms"]["99"]["numbers"]), 140), b"^$"),
            (self.scrambled("nan.bin", CLEAN.replace("54'00", "nan'00")), 0,
             lambda d: self.assertEqual(d["quads"][0]["downLeftLat"], 0), b"^$"),
            (self.scrambled("inf.bin", CLEAN.replace("30'00", "inf'00").replace("21'00", "1e38'00")), 0,
             lambda d: self.assertIsNone(d["quads"][0]["sizeLon"]), b"^$"),
            (self.scrambled("counts.bin", CLEAN.replace("NrOfQuadsX 3\r\nNrOfQuadsY 2", "NrOfQuadsX -32768\r\nNrOfQuadsY -1")),
             1, lambda d: self.assertEqual(d["status"], 3), b"^$"),
            (self.write("plain.txt", CLEAN), 1, None, b"plain.txt is a plain data text; scramble it with gridtool scramble"),
            (folder, 2, None, b"folder: cannot open: is a folder"),
        ]
        for path, status, check, stderr in cases:
            for args in (["dump"], ["dump", "--json"]):
                with self.subTest(path=os.path.basename(path), args=args):
                    result = run(*args, path)
                    self.assertEqual(result.returncode, status, result.stderr)
                    self.assertRegex(result.stderr.strip(), stderr)
                    if check and args[-1] == "--json":
                        check(strict_json(result.stdout))
        # The text form shows the file's control bytes as U+FFFD: no escape sequence reaches the terminal.
        escape = self.scrambled("escape.bin", CLEAN.replace("Demo grid", "\x1b]0;title\x07").replace("CB,", "C\x1b,"))
        self.assertNotRegex(run("dump", escape).stdout, b"[\x00-\x08\x0b-\x1f\x7f]")

    def test_reads_stop_at_a_bound(self):
        generator = "import sys\nfor i in range(int(sys.argv[1])):\n    sys.stdout.buffer.write(bytes(65536))\n"
        for args, status in ((["check"], 2), (["export", "--geojson"], 2), (["dump"], 2), (["scramble"], 1)):
            with self.subTest(args=args):
                extra = [os.path.join(self.dir, "out.bin")] if args == ["scramble"] else []
                code, _, _, _, stderr, peak = run_on_stream([GRIDTOOL, *args, "/dev/stdin", *extra], generator, 1024)
                self.assertEqual(code, status, stderr)
                self.assertIn(b"more than 4 MiB, far larger than any data file; not read", stderr)
                self.assertLess(peak, 64 * 1024, "a 64 MB stream took %d KiB" % peak)

    def test_scramble_writes_atomically(self):
        clean = self.write("x.tmp", CLEAN)
        target = os.path.join(self.dir, "x")
        self.assertEqual(run("scramble", clean, target).returncode, 0)
        self.assertTrue(os.path.exists(clean), "the input was taken as the temporary file")
        os.chmod(target, 0o640)
        real = os.path.join(self.dir, "real.bin")
        os.rename(target, real)
        os.symlink("real.bin", target)
        self.assertEqual(run("scramble", clean, target).returncode, 0)
        self.assertTrue(os.path.islink(target), "the link was replaced")
        self.assertEqual(os.stat(real).st_mode & 0o777, 0o640)
        self.assertEqual(run("dump", target).returncode, 0)
        self.assertEqual(sorted(os.listdir(self.dir)), ["real.bin", "x", "x.tmp"])

    def test_writes_only_onto_regular_files(self):
        clean = self.write("clean.txt", CLEAN)
        scrambled = os.path.join(self.dir, "clean.bin")
        self.assertEqual(run("scramble", clean, scrambled).returncode, 0)
        targets = os.path.join(self.dir, "targets")
        cases = [
            # (how the target is made, the message's start)
            (os.mkfifo, "is a named pipe (FIFO), not a regular file"),
            (lambda path: (os.symlink("out", path + "2"), os.symlink("out2", path)), "is a loop of symbolic links"),
            (os.mkdir, "is a folder, not a regular file"),
            (lambda path: (open(path, "w").close(), os.chmod(path, 0o444)), "is read-only; not replaced"),
        ] + ([(lambda path: os.mknod(path, 0o666 | stat.S_IFCHR, os.makedev(1, 7)), "is a character device")]
             if os.geteuid() == 0 else [])
        for make, message in cases:
            for args in (["unscramble", scrambled], ["scramble", clean]):
                with self.subTest(target=message, command=args[0]):
                    shutil.rmtree(targets, ignore_errors=True)
                    os.mkdir(targets)
                    target = os.path.join(targets, "out")
                    make(target)
                    before = os.lstat(target)
                    result = run(*args, target)
                    self.assertEqual((result.returncode, result.stdout), (1, b""))
                    self.assertRegex(result.stderr.decode(),
                                     "^gridtool: %s: %s[^\n]*\n$" % (re.escape(target), re.escape(message)))
                    after = os.lstat(target)
                    self.assertEqual((after.st_mode, after.st_ino, after.st_size),
                                     (before.st_mode, before.st_ino, before.st_size))
        shutil.rmtree(targets)
        os.mkdir(targets)
        longest = os.path.join(targets, "\u00e4" + "n" * 252)  # no room for a temporary suffix
        with self.subTest(target="a long name"):
            self.assertEqual(run("unscramble", scrambled, longest).returncode, 0)
            self.assertEqual(os.listdir(targets), [os.path.basename(longest)])
        with self.subTest(target="standard output, a pipe: written in place"):
            self.assertEqual(run("unscramble", scrambled, "/dev/stdout").stdout, CLEAN.encode())
            reader, writer = os.pipe()  # whose reader has gone, with SIGPIPE ignored: no message
            os.close(reader)
            result = subprocess.run([GRIDTOOL, "unscramble", scrambled, "/dev/stdout"], stdout=writer,
                                    stderr=subprocess.PIPE, preexec_fn=lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN))
            os.close(writer)
            self.assertEqual((result.returncode, result.stderr), (1, b""))
        with self.subTest(input="an empty file, which both commands copy as it is"):
            empty = self.write("empty", "")
            for command in (["unscramble"], ["scramble", "--force"]):
                self.assertEqual(run(*command, empty, longest).returncode, 0)
                self.assertEqual(os.path.getsize(longest), 0)
        with self.subTest(input="a plain text, which unscramble would scramble, unless forced"):
            self.assertIn(b"clean.txt is a plain data text already", run("unscramble", clean, longest).stderr)
            self.assertEqual(run("unscramble", "--force", clean, longest).returncode, 0)

    def test_output_failures_are_reported(self):
        clean = self.write("clean.txt", CLEAN)
        scrambled = os.path.join(self.dir, "clean.bin")
        run("scramble", clean, scrambled)
        atlas = [["atlas", clean]] if run("atlas", clean).returncode == 0 else []  # a build with emscripten
        for args in [["dump", scrambled], ["dump", "--json", scrambled], ["check", clean],
                     ["export", "--geojson", clean], ["--help"]] + atlas:
            with self.subTest(args=args):
                with open("/dev/full", "wb") as full:
                    result = subprocess.run([GRIDTOOL, *args], stdout=full, stderr=subprocess.PIPE, timeout=120)
                self.assertEqual((result.returncode, result.stderr),
                                 (2, b"gridtool: cannot write the results: No space left on device\n"))
                # A reader that has gone, with SIGPIPE ignored: no message.
                reader, writer = os.pipe()
                os.close(reader)
                result = subprocess.run([GRIDTOOL, *args], stdout=writer, stderr=subprocess.PIPE, timeout=120,
                                        preexec_fn=lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN))
                os.close(writer)
                self.assertEqual((result.returncode, result.stderr), (2, b""))


class ShippedData(unittest.TestCase):
    def test_shipped_files_check_clean_and_export(self):
        for name in ("GridData.bin", "GridData-Pacific.bin"):
            path = os.path.join(DATA, name)
            result = run("check", path)
            self.assertEqual(result.returncode, 0, result.stdout.decode())
            dump = json.loads(run("dump", "--json", path).stdout)
            cells = sum(sum(1 for n in dump["forms"][str(q["quadtype"])]["numbers"] if n != -1)
                        for q in dump["quads"] if str(q["quadtype"]) in dump["forms"])
            result = run("export", "--geojson", path, "--cells")
            self.assertEqual(result.returncode, 0)
            layer = json.loads(result.stdout)
            check_layer(self, layer)
            with tempfile.NamedTemporaryFile(suffix=".geojson") as f:
                f.write(result.stdout)
                f.flush()
                self.assertEqual(ogr_feature_count(f.name), len(dump["quads"]) + cells)
            # Small squares of the whole globe are refused, not written.
            result = run("export", "--geojson", path, "--bbox", "-180,-90,180,90")
            self.assertEqual((result.returncode, result.stdout), (2, b""))
            self.assertIn("give a smaller --bbox", result.stderr.decode())


if __name__ == "__main__":
    GRIDTOOL = sys.argv[1]
    DATA = sys.argv[2] if len(sys.argv) > 2 else None
    suite = unittest.TestLoader().loadTestsFromTestCase(ShippedData if DATA else Fixtures)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
