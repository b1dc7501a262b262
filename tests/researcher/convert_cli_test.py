#!/usr/bin/env python3
"""orvanta-convert's batch, map and reverse modes as a user runs them:
CSV rows kept whole, map files read back by GDAL, flat memory on large
inputs, the reverse lookup's texts and statuses.

usage: convert_cli_test.py ORVANTA_CONVERT GRIDTOOL"""
import csv
import io
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest

from toolrun import run_on_stream

CONVERT = GRIDTOOL = None

GRID = ("About Demo grid\r\nChart 1\r\nQuadtype 0\r\nNrOfQuadsX 3\r\nNrOfQuadsY 2\r\n"
        "DownLeftPos 54'00 30'00\r\nUpRightPos 57'00 21'00\r\nQuadName CA,CB,CC\r\n"
        "QuadName CD,CE,CF\r\nQuadDefinitions\r\nType 0\r\nFormX 3\r\nFormY 2\r\n"
        "Numbers:\r\n11,12,13,\r\n21,22,-1\r\n")

# code -> (latitude, longitude) in decimal degrees, north and east positive
POSITIONS = {"CA1155": (55.125, -29.5), "CF1155": (56.625, -23.5), "CB2177": (54.041667, -26.944444)}


class ConvertCli(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="convert-cli-")
        plain = os.path.join(cls.dir, "grid.txt")
        with open(plain, "wb") as f:
            f.write(GRID.encode())
        cls.data = os.path.join(cls.dir, "GridData.bin")
        subprocess.run([GRIDTOOL, "scramble", plain, cls.data], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    def run_convert(self, *args, stdin=b"", timeout=300):
        return subprocess.run([CONVERT, "--data", self.data, *args], input=stdin, capture_output=True, timeout=timeout)

    def write(self, name, data):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_csv_rows_come_back_whole_with_the_position(self):
        cases = [
            # (arguments, input, exit status, expected output)
            (["--csv", "2", "--format", "decimal"], b"1,CA1155,a\r\n2,\"cf1155\",\"b,c\"\r\n", 0,
             "1,CA1155,a,55.125000,-29.500000,55°7.50 N,29°30.00 W,1,confirmed,2.50,\r\n"
             "2,\"cf1155\",\"b,c\",56.625000,-23.500000,56°37.50 N,23°30.00 W,1,confirmed,2.50,\r\n".encode()),
            (["--csv", "code", "--header", "--format", "csv"], b"day,code\n3,CA1155\n4,ZZ9999\n", 1,
             "day,code,latitude,longitude,latitude_text,longitude_text,chart,confidence,precision_nm,message\n"
             "3,CA1155,55.125000,-29.500000,55°7.50 N,29°30.00 W,1,confirmed,2.50,\n4,ZZ9999,,,,,,,,Grid not in database.\n".encode()),
            (["--csv", "1", "--delimiter", ";"], b"CA 113;x,y\nCA2355;y\n", 1,
             b"CA 113;x,y;;;;;;;;3 digits: a code has four (a small square), two (a cell) or none (a large square), "
             b"e.g. AM1969\nCA2355;y;;;;;;;;Position not in database\n"),
            (["--csv", "grid", "--header"], b"day,code\n", 2, b""),
        ]
        for args, data, status, expected in cases:
            with self.subTest(args=args):
                for from_file in (False, True):
                    extra = [self.write("in.csv", data)] if from_file else []
                    result = self.run_convert(*args, *extra, stdin=b"" if from_file else data)
                    self.assertEqual(result.returncode, status, result.stderr)
                    self.assertEqual(result.stdout, expected)

    def test_large_csv_streams_in_flat_memory(self):
        generator = ("import sys\nfor i in range(int(sys.argv[1])):\n"
                     "    sys.stdout.write('%d,CA1155,\"note, %d\"\\r\\n' % (i, i))\n")

        def peak_memory(rows):
            status, lines, _, _, stderr, peak = run_on_stream([CONVERT, "--data", self.data, "--csv", "2"],
                                                              generator, rows)
            self.assertEqual(status, 0)
            self.assertEqual(lines, rows, "a row was lost")
            self.assertEqual(stderr, b"", "no progress line when standard error is not a terminal")
            return peak  # KiB
        small, large = peak_memory(1000), peak_memory(400000)
        self.assertLess(large - small, 8 * 1024, "memory grew with the input: %d KiB -> %d KiB" % (small, large))

    def test_wide_rows_take_time_linear_in_the_row(self):
        named = ",".join("c%d" % i for i in range(100000)).encode() + b"\nCA1155" + b",x" * 99999 + b"\n"
        cases = [
            # (arguments, input, seconds allowed)
            (["--csv", "1", "--header", "--format", "geojson"], b",".join([b"a"] * 4000) + b"\nCA1155\n", 10),
            (["--csv", "1", "--format", "kml"], b"CA1155" + b"," * 999999 + b"\n", 30),
        ] + [(["--csv", "1", "--header", "--format", fmt], named, 2) for fmt in ("geojson", "kml", "gpx", "html")]  # 1 s, with room for a busy machine
        for args, data, seconds in cases:
            with self.subTest(args=args, size=len(data)):
                start = time.monotonic()
                result = self.run_convert(*args, stdin=data, timeout=60)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertLess(time.monotonic() - start, seconds)
                if args[-1] == "geojson":
                    names = list(json.loads(result.stdout)["features"][0]["properties"])
                    self.assertEqual(len(set(names)), len(names))

    def test_several_files_make_one_csv(self):
        a, b, c = (self.write(name, data) for name, data in (
            ("a.csv", b"grid,n\nCA1155,1"), ("b.csv", b"\xef\xbb\xbfgrid;n\r\nCF1155;\"2;3\"\r\n"),
            ("c.csv", b"grid,x\nCA1155,4\n")))
        head = "grid,n,latitude,longitude,latitude_text,longitude_text,chart,confidence,precision_nm,message\n"
        row1 = "CA1155,1,55.125000,-29.500000,55°7.50 N,29°30.00 W,1,confirmed,2.50,"
        row2 = "CF1155,2;3,56.625000,-23.500000,56°37.50 N,23°30.00 W,1,confirmed,2.50,\r\n"
        cases = [
            # (arguments, standard input, exit status, output, error)
            (["--csv", "grid", "--header", a, b], b"", 0, head + row1 + "\n" + row2, ""),
            (["--csv", "grid", "--header", a, "-"], open(b, "rb").read(), 0, head + row1 + "\n" + row2, ""),
            (["--csv", "grid", "--header", a, b, c], b"", 2, "",
             "orvanta-convert: %s: its header row differs from the first file's; convert it on its own\n" % c),
            (["--csv", "1", a, c], b"", 1, "grid,n,,,,,,,,\"'i' at character 3", ""),
            (["--reverse", "--csv", "1,2", "--header", b, b], b"", 1, "\ufeffgrid;n;code;message\r\nCF1155;", ""),
        ]
        for args, stdin, status, out, err in cases:
            with self.subTest(args=args[:4]):
                result = self.run_convert(*args, stdin=stdin)
                self.assertEqual((result.returncode, result.stderr.decode()), (status, err))
                self.assertTrue(result.stdout.decode().startswith(out), result.stdout)
                if status != 2:
                    rows = list(csv.reader(io.StringIO(result.stdout.decode("utf-8-sig"), newline="")))
                    self.assertEqual(len(rows), 3 if "--header" in args else 4, rows)

    def test_csv_comes_out_in_one_encoding_with_columns_named_in_any_case(self):
        appended = ";latitude;longitude;latitude_text;longitude_text;chart;confidence;precision_nm;message\r\n"
        cases = [
            # (arguments, input, exit status, output start)
            (["--csv", "quadrat"], b"Datum;Quadrat;Notiz\r\n3.9.;\xc4J 1155;Stra\xdfe \x80\r\n", 1,
             "Datum;Quadrat;Notiz" + appended + "3.9.;ÄJ 1155;Straße €;;;;;;;;Grid not in database.\r\n"),
            (["--csv", "QUADRAT"], "\ufeffDatum;Quadrat;Notiz\r\n3.9.;CA 1155;Straße\r\n".encode(), 0,
             "\ufeffDatum;Quadrat;Notiz" + appended + "3.9.;CA 1155;Straße;55.125000;"),
            (["--csv", "grid"], b"Grid;GRID\r\nCA1155;x\r\n", 2, ""),
        ]
        for args, data, status, out in cases:
            with self.subTest(args=args):
                result = self.run_convert(*args, "--header", stdin=data)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertTrue(result.stdout.decode("utf-8").startswith(out), result.stdout)
        self.assertIn(b"'grid' names 2 columns when case is ignored", result.stderr)

    def test_answers_each_code_while_the_input_stays_open(self):
        # A program that feeds one code and waits for its line must get it
        # before it sends the next, in the line formats and the map formats.
        for args, expected in (([], b"CA1155\t55\xc2\xb07.50 N"), (["--format", "kml"], b"<Placemark><name>CA1155")):
            with self.subTest(args=args):
                process = subprocess.Popen([CONVERT, "--data", self.data, *args], stdin=subprocess.PIPE,
                                           stdout=subprocess.PIPE)
                timer = threading.Timer(60, process.kill)
                timer.start()
                try:
                    process.stdin.write(b"CA1155\n")
                    process.stdin.flush()
                    while True:  # the header lines of a map format come first
                        line = process.stdout.readline()
                        self.assertNotEqual(line, b"", "no answer before the next code")
                        if line.startswith(expected):
                            break
                finally:
                    timer.cancel()
                    process.stdin.close()
                    process.stdout.read()
                    process.wait()

    def test_hostile_streams_in_flat_memory(self):
        # 64 MB without a line end, or after a quote that is never closed.
        generator = ("import sys\nhead, body, n = sys.argv[1].encode(), sys.argv[2].encode(), int(sys.argv[3])\n"
                     "sys.stdout.buffer.write(head)\nfor i in range(n):\n    sys.stdout.buffer.write(body)\n")
        cases = [
            # (arguments, head, body, repeats, exit status, lines expected: count, first, last)
            ([], "CA1155\n", "x" * 65536, 1024, 1,
             (2, "CA1155\t55\u00b07.50 N\t29\u00b030.00 W", "x" * 99 + "\tERROR: line longer than 1 MiB")),
            (["--format", "gpx"], "", "y" * 65536, 1024, 1, (3, "<?xml", "</gpx>")),
            (["--csv", "2"], "0,\"stray\n", "1,CA1155," + "n" * 1000 + "\n", 65536, 1,
             (1 + 65536, "0,\"stray\",,,,,,,,quote opened on line 1 is never closed", "1,CA1155,nnnn")),
            (["--csv", "1"], "", "z" * 65536, 1024, 1, (1, ",,,,,,,,row on line 1 is longer than 1 MiB; skipped", "")),
        ]
        for args, head, body, repeats, status, (count, first, last) in cases:
            with self.subTest(args=args, head=head):
                result = run_on_stream([CONVERT, "--data", self.data, *args], generator, head, body, repeats)
                code, lines, first_line, last_line, stderr, peak = result
                self.assertEqual(code, status, stderr[:200])
                self.assertEqual(lines, count)
                self.assertTrue(first_line.decode().startswith(first), first_line[:200])
                self.assertTrue(last_line.decode().startswith(last), last_line[:200])
                self.assertLess(peak, 64 * 1024, "a 64 MB stream took %d KiB" % peak)

    def test_hostile_data_files_and_inputs(self):
        def grid(old, new):
            path = self.write("hostile-%s.txt" % new.replace("'", "-"), GRID.replace(old, new).encode())
            scrambled = path.replace(".txt", ".bin")
            subprocess.run([GRIDTOOL, "scramble", "--force", path, scrambled], check=True)
            return scrambled
        folder = tempfile.mkdtemp(dir=self.dir)
        loop = os.path.join(folder, "loop.bin")
        os.symlink("loop.bin", loop)
        no_number = dict(parse_constant=lambda name: self.fail("%s in JSON" % name))
        cases = [
            # (data file, arguments, input, exit status, check of stdout, stderr pattern)
            (grid("30'00", "0'1e30"), ["--format", "geojson", "CA1155"], b"", 1,
             lambda out: self.assertEqual(json.loads(out)["features"], []), b"CA1155\tERROR: .* off the globe"),
            (grid("30'00", "1e38'00"), ["--format", "kml", "CA1155"], b"", 1,
             lambda out: self.assertNotIn(b"<Point>", out), b"off the globe"),
            (grid("54'00", "nan'00"), ["--format", "geojson", "CA1155"], b"", 0,
             lambda out: json.loads(out, **no_number), b"^$"),
            (grid("54'00", "inf'00"), ["CA1155"], b"", 0,
             lambda out: self.assertNotRegex(out, rb"(?i)nan|inf"), b"^$"),
            (folder, ["CA1155"], b"", 2, None, b"data file '.*' is a folder, not a data file"),
            (loop, ["CA1155"], b"", 2, None, b"data file '.*' cannot be opened: Too many levels of symbolic links"),
            (self.write("plain.txt", GRID.encode()), ["CA1155"], b"", 2, None,
             b"is a plain data text; scramble it with gridtool scramble"),
            (self.data, ["--csv", "1", folder], b"", 2, None, b"is a folder"),
            (self.data, [], b"\xc4J1155\r\nCA1155 \xff\n", 1,
             # A Windows-1252 \xc4 is the letter; a text that names no code is echoed as valid UTF-8.
             lambda out: self.assertEqual(out.decode(), "\u00c4J1155\tERROR: Grid not in database.\n"
                                                       "CA1155 \ufffd\tERROR: byte 0xFF at character 8 is not part "
                                                       "of a code: two letters and four digits, e.g. AM1969\n"), b"^$"),
        ]
        for data, args, stdin, status, check, stderr in cases:
            with self.subTest(data=os.path.basename(data), args=args):
                result = subprocess.run([CONVERT, "--data", data, *args], input=stdin, capture_output=True,
                                        timeout=30)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertRegex(result.stderr.strip(), stderr)
                if check:
                    check(result.stdout)

    def test_map_formats_read_back_in_gdal(self):
        codes = ["CA1155", "XX1111", "CF1155", "CB2177"]
        for fmt, driver in (("geojson", "GeoJSON"), ("kml", "KML"), ("gpx", "GPX")):
            with self.subTest(fmt=fmt):
                result = self.run_convert("--format", fmt, *codes)
                self.assertEqual(result.returncode, 1)
                self.assertIn(b"XX1111", result.stderr)
                path = self.write("points." + fmt, result.stdout)
                if fmt != "geojson":
                    lint = subprocess.run(["xmllint", "--noout", path], capture_output=True)
                    self.assertEqual(lint.returncode, 0, lint.stderr)
                layer = "waypoints" if fmt == "gpx" else ""
                info = subprocess.run(["ogrinfo", "-ro", "-al", path] + ([layer] if layer else []),
                                      capture_output=True, text=True)
                self.assertEqual(info.returncode, 0, info.stderr)
                self.assertIn(driver, info.stdout)
                points = re.findall(r"POINT Z? ?\(([-0-9.]+) ([-0-9.]+)", info.stdout)
                names = re.findall(r"(?:name|Name|code) \(String\) = (\w+)", info.stdout)
                self.assertEqual(list(dict.fromkeys(n for n in names if n in POSITIONS)), ["CA1155", "CF1155", "CB2177"])
                self.assertEqual(len(points), 3)
                for name, (lon, lat) in zip(["CA1155", "CF1155", "CB2177"], points):
                    self.assertAlmostEqual(float(lat), POSITIONS[name][0], places=5)
                    self.assertAlmostEqual(float(lon), POSITIONS[name][1], places=5)

    def test_squares_with_their_precision_and_chart(self):
        # CA1155: 5 minutes of latitude by 1/9 degree of longitude, centre 55.125 N 29.5 W; its cell CA11
        # is 0.75 by 1 degree, its large square CA 1.5 by 3 degrees.
        cases = [("CA1155", "(-29.555556, 55.083333) - (-29.444444, 55.166667)", "2.50"),
                 ("CA11", (1.0, 0.75), "22.50"), ("CA", (3.0, 1.5), "45.00")]
        for fmt in ("geojson", "kml"):
            for code, extent, precision in cases:
                with self.subTest(fmt=fmt, code=code):
                    result = self.run_convert("--shape", "square", "--format", fmt, code)
                    info = subprocess.run(["ogrinfo", "-ro", "-al", self.write("square." + fmt, result.stdout)],
                                          capture_output=True, text=True)
                    self.assertIn("POLYGON ((", info.stdout)
                    box = [float(v) for v in re.search(r"Extent: \(([-0-9.]+), ([-0-9.]+)\) - \(([-0-9.]+), "
                                                       r"([-0-9.]+)\)", info.stdout).groups()]
                    if isinstance(extent, str):
                        self.assertIn("Extent: " + extent, info.stdout)
                    else:
                        self.assertEqual((round(box[2] - box[0], 6), round(box[3] - box[1], 6)), extent)
                    typed = fmt == "geojson"  # KML's extended data are texts
                    for field in ("chart (%s) = 1" % ("Integer" if typed else "String"),
                                  "confidence (String) = confirmed",
                                  "precision_nm (%s) = %s" % (("Real", str(float(precision)).rstrip("0").rstrip("."))
                                                              if typed else ("String", precision))):
                        self.assertIn(field, info.stdout)
        rows = list(csv.DictReader(io.StringIO(self.run_convert(
            "--csv", "1", "--header", "--shape", "square", stdin=b"grid\nCA1155\n").stdout.decode())))
        self.assertEqual([rows[0][k] for k in ("south", "west", "north", "east", "precision_nm", "confidence")],
                         ["55.083333", "-29.555556", "55.166667", "-29.444444", "2.50", "confirmed"])

    def test_diary_csv_becomes_map_features(self):
        diary = ("date;boat;grid;event\r\n1943-03-01;U 99;CA1155;\"convoy; 3 ships\"\r\n"
                 "1943-03-02;U 99;XX1111;lost\r\n1943-03-03;U 99;cf1155;\"<dived> & \"\"waited\"\"\"\r\n").encode()
        path = self.write("diary.csv", diary)
        for fmt in ("geojson", "kml", "gpx"):
            with self.subTest(fmt=fmt):
                result = self.run_convert("--csv", "grid", "--header", "--format", fmt, path)
                self.assertEqual(result.returncode, 1)
                self.assertEqual(result.stderr.decode(), "" if fmt == "geojson" else
                                 "orvanta-convert: 1 rows without a position left out of the %s file\n" % fmt.upper())
                if fmt == "gpx":  # the map page lists it and says so
                    page = self.run_convert("--csv", "grid", "--header", "--format", "html", path)
                    self.assertEqual((page.returncode, page.stderr.decode()),
                                     (1, "orvanta-convert: 1 rows without a position, listed beside the map\n"))
                out = self.write("diary." + fmt, result.stdout)
                info = subprocess.run(["ogrinfo", "-ro", "-al", out] + (["waypoints"] if fmt == "gpx" else []),
                                      capture_output=True, text=True)
                self.assertEqual(info.returncode, 0, info.stderr)
                features = info.stdout.split("OGRFeature")[1:]
                self.assertEqual(len(features), 3 if fmt == "geojson" else 2)
                # GDAL names GPX extension fields ogr_NAME and types them.
                first = re.sub(r" \(\w+\)", "", features[0]).replace("ogr_", "")
                for field in ("boat = U 99", "event = convoy; 3 ships", "code = CA1155", "latitude = 55.125",
                              "chart = 1"):
                    self.assertIn(field, first)
                self.assertIn("POINT (-29.5 55.125", first)
                self.assertIn('event = <dived> & "waited"', re.sub(r" \(\w+\)", "", features[-1]).replace("ogr_", ""))
                if fmt == "geojson":
                    self.assertIn("message (String) = Grid not in database.", features[1])
                    self.assertNotIn("POINT", features[1])
        # The README's one command from a diary to a GeoPackage.
        gpkg = os.path.join(self.dir, "diary.gpkg")
        subprocess.run("%s --data %s --csv grid --header --format geojson %s | ogr2ogr -nln diary %s /vsistdin/"
                       % (CONVERT, self.data, path, gpkg), shell=True, check=True)
        info = subprocess.run(["ogrinfo", "-ro", "-al", "-q", gpkg], capture_output=True, text=True)
        self.assertEqual(info.stdout.count("OGRFeature(diary)"), 3, info.stdout)
        self.assertIn("POINT (-23.5 56.625)", info.stdout)

    def test_map_files_keep_every_cell_apart_and_type_the_numbers(self):
        path = self.write("cells.csv", "grid,Länge,Lönge,a b,a_b,1941,x:y,note\n"
                          "CA1155,1.5,2.5,3,4,5,6,a\ufffeb\uffffc\x01d\n".encode())
        values = ["1.5", "2.5", "3", "4", "5", "6"]
        # (format, names read back (GDAL folds KML's), typed, the note: XML takes no U+FFFE, U+FFFF, U+0001)
        for fmt, names, typed, note in (
                ("geojson", ["Länge", "Lönge", "a b", "a_b", "1941", "x:y"], True, "a\ufffeb\uffffc\x01d"),
                ("kml", [], False, "a\ufffdb\ufffdc\ufffdd"),
                ("gpx", ["Länge", "Lönge", "a_b", "a_b_2", "_1941", "x_y"], True, "a\ufffdb\ufffdc\ufffdd")):
            with self.subTest(fmt=fmt):
                out = self.write("cells." + fmt, self.run_convert("--csv", "grid", "--header", "--format", fmt,
                                                                   path).stdout)
                if fmt != "geojson":
                    lint = subprocess.run(["xmllint", "--noout", out], capture_output=True)
                    self.assertEqual(lint.returncode, 0, lint.stderr)
                info = subprocess.run(["ogrinfo", "-ro", "-al", "-q", out] + (["waypoints"] if fmt == "gpx" else []),
                                      capture_output=True, text=True)
                self.assertEqual(info.returncode, 0, info.stderr)
                fields = {name: (kind, value) for name, kind, value in
                          re.findall(r"^  (?:ogr_)?(.+?) \((\w+)\) = (.*)$", info.stdout, re.M)}
                for name, value in zip(names + ["note"], values[:len(names)] + [note]):
                    self.assertEqual(fields[name][1], value, name)
                for name, kind in (("latitude", "Real"), ("longitude", "Real"), ("chart", "Integer"),
                                   ("precision_nm", "Real"), ("code", "String")):
                    self.assertEqual(fields[name][0], kind if typed else "String", name)

    def test_reverse_lookup(self):
        cases = [
            (["55.125", "-29.5"], 0, "CA1155\t55°7.50 N\t29°30.00 W\n"),
            (["55°7.50 N", "29°30.00 W"], 0, "CA1155\t55°7.50 N\t29°30.00 W\n"),
            (["--format", "decimal", "56.62", "-23.49"], 0, "CF1155\t56.625000\t-23.500000\n"),
            (["54.0", "-26.99"], 0, "CB2177\t54°2.50 N\t26°56.67 W\n"),
            (["54.2", "-21.2"], 1, "54.2 -21.2 lies outside the grid of"),
            (["60", "-25"], 1, "60 -25 lies outside the grid of"),
            (["29°30.00 W", "55°7.50 N"], 2, ""),
        ]
        for args, status, expected in cases:
            with self.subTest(args=args):
                if args[0] == "--format":
                    result = self.run_convert(*args[:2], "--reverse", *args[2:])
                else:
                    result = self.run_convert("--reverse", *args)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertTrue(result.stdout.decode().startswith(expected), result.stdout)

    def test_reverse_reads_one_position_per_line(self):
        lines = ["55.125 -29.5", "55°7.5'N 29°30'W", "", "# from the log", "N56 37 30, W23 30", "95 10",
                 "60 -25", "56.62N"]
        result = self.run_convert("--reverse", stdin="\r\n".join(lines).encode())
        self.assertEqual(result.returncode, 1, result.stderr)
        out = result.stdout.decode().split("\n")
        self.assertEqual(out[:-1], [
            "55.125 -29.5\tCA1155", "55°7.5'N 29°30'W\tCA1155", "", "# from the log",
            "N56 37 30, W23 30\tCF1155", "95 10\tERROR: latitude 95 is beyond 90",
            "60 -25\tERROR: outside the grid of " + self.data, "56.62N\tERROR: '56.62N' has no longitude"])
        self.assertEqual(self.run_convert("--reverse", stdin=b"55.125 -29.5\n").returncode, 0)
        one = self.run_convert("--reverse", "55", "7.5", "N", "29", "30", "W")
        self.assertEqual(one.stdout.decode(), "CA1155\t55°7.50 N\t29°30.00 W\n")
        table = self.run_convert("--reverse", "--csv", "lat,lon", "--header",
                                 stdin="day;lat;lon\r\n1;55 7.5 N;29°30'W\r\n2;95;1\r\n".encode())
        self.assertEqual((table.returncode, table.stdout.decode()), (1, "day;lat;lon;code;message\r\n"
                         "1;55 7.5 N;29°30'W;CA1155;\r\n2;95;1;;latitude 95 is beyond 90\r\n"))
        nul = self.run_convert("--reverse", stdin=b"56.75\0garbage -29.5\n55.125\xff -29.5\n")
        self.assertEqual(nul.stdout.decode(), "56.75\0garbage -29.5\tERROR: cannot read '\ufffdgarbage -29.5' as a "
                         "longitude\n55.125\ufffd -29.5\tERROR: cannot read '55.125\ufffd' as a latitude\n")
        cell = self.run_convert("--reverse", "--csv", "1,2", stdin=b"55.125\0x,-29.5\n55\xc2\xb060'N,29W\n")
        self.assertEqual(cell.stdout.decode(), "55.125\0x,-29.5,,cannot read '55.125\ufffdx' as a latitude\n"
                         "55°60'N,29W,,minutes 60 are not below 60\n")
        bad = self.run_convert("--reverse", "-33", "200")
        self.assertEqual((bad.returncode, bad.stderr.decode()), (2, "orvanta-convert: cannot read the position "
                                                                  "'-33 200': longitude 200 is beyond 180\n"))

    def test_grid_files_found_and_searched_in_order(self):
        # A second grid of the names XA..XF lies 10 degrees further south.
        other_plain = self.write("other.txt", GRID.replace("54'00", "44'00").replace("57'00", "47'00")
                                 .replace("QuadName C", "QuadName X").replace(",C", ",X").encode())
        other = os.path.join(self.dir, "other.bin")
        subprocess.run([GRIDTOOL, "scramble", other_plain, other], check=True)
        root = os.path.join(self.dir, "install")
        for folder in ("bin", "share/orvanta", "solo/bin", "cwd", "empty"):
            os.makedirs(os.path.join(root, folder), exist_ok=True)
        installed = os.path.join(root, "bin", "orvanta-convert")
        lone = os.path.join(root, "solo/bin/orvanta-convert")  # no share/ beside it
        for copy in (installed, lone):
            shutil.copy(CONVERT, copy)
        shutil.copy(self.data, os.path.join(root, "share/orvanta/GridData.bin"))
        shutil.copy(other, os.path.join(root, "share/orvanta/GridData-Pacific.bin"))
        shutil.copy(self.data, os.path.join(root, "cwd/GridData.bin"))
        env = {k: v for k, v in os.environ.items() if k != "ORVANTA_DATA"}
        listed = dict(env, ORVANTA_DATA=other + ":" + self.data)
        cases = [
            # (program, extra arguments, environment, working folder, status, output start)
            (installed, [], env, "empty", 0, "CA1155\t55°7.50 N\t29°30.00 W\nXA1155\t45°7.50 N\t29°30.00 W\n"),
            (installed, ["--data", other, "--data", self.data], env, "empty", 0, "CA1155\t55°7.50 N"),
            (installed, [], listed, "empty", 0, "CA1155\t55°7.50 N"),
            (lone, [], env, "cwd", 1, "CA1155\t55°7.50 N\t29°30.00 W\nXA1155\tERROR: Grid not in database.\n"),
            (lone, [], env, "empty", 2, ""),
        ]
        for program, extra, environment, folder, status, expected in cases:
            with self.subTest(program=program, extra=extra, folder=folder):
                result = subprocess.run([program, *extra, "CA1155", "XA1155"], env=environment, capture_output=True,
                                        cwd=os.path.join(root, folder), timeout=60)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertTrue(result.stdout.decode().startswith(expected), result.stdout)
        self.assertRegex(result.stderr.decode(), "'GridData.bin' not found; looked in ORVANTA_DATA .*solo/bin/, "
                         ".*solo/bin/../share/orvanta/, the working directory")
        both = subprocess.run([installed, "--reverse", "45.125", "-29.5"], env=env, capture_output=True, timeout=60)
        self.assertEqual(both.stdout.decode(), "XA1155\t45°7.50 N\t29°30.00 W\n")

    def test_data_file_lists_are_bounded(self):
        link = os.path.join(self.dir, "g")  # a short name: the environment holds 10,000 of them
        if not os.path.exists(link):
            os.symlink(self.data, link)
        copies = []
        for i in range(33):
            copies.append(os.path.join(self.dir, "copy%d.bin" % i))
            shutil.copy(self.data, copies[-1])
        huge = self.write("huge.bin", bytes(5 << 20))
        cases = [
            # (ORVANTA_DATA entries, exit status, output, stderr pattern)
            (["g"] * 10000 + [self.data], 1, "0 0 lies outside the grid of g\n", "^$"),
            (copies, 2, "", "^orvanta-convert: more than 32 different data files named \\(33 entries"),
            ([self.data, huge], 2, "", "huge.bin: more than 4 MiB, far larger than any data file; not read"),
        ]
        for entries, status, output, stderr in cases:
            with self.subTest(entries=len(entries)):
                result = subprocess.run([CONVERT, "--reverse", "0", "0"], capture_output=True, timeout=60,
                                        cwd=self.dir, env=dict(os.environ, ORVANTA_DATA=":".join(entries)))
                self.assertEqual((result.returncode, result.stdout.decode()), (status, output), result.stderr)
                self.assertRegex(result.stderr.decode(), stderr)

    def test_unreadable_standard_input_is_reported(self):
        folder = os.open(self.dir, os.O_RDONLY)
        self.addCleanup(os.close, folder)
        for args in ([], ["--reverse"], ["--format", "geojson"], ["--format", "html"], ["--csv", "1"]):
            for name, stdin, before, message in (
                    ("folder", folder, None, "cannot read standard input: Is a directory"),
                    ("closed", None, lambda: os.close(0), "standard input is closed")):
                with self.subTest(args=args, stdin=name):
                    result = subprocess.run([CONVERT, "--data", self.data, *args], stdin=stdin, preexec_fn=before,
                                            capture_output=True, timeout=30)
                    self.assertEqual((result.returncode, result.stderr.decode()),
                                     (2, "orvanta-convert: %s\n" % message))
        result = subprocess.run([CONVERT, "--data", self.data, "--csv", "0"], stdin=subprocess.DEVNULL,
                                capture_output=True)
        self.assertEqual((result.returncode, result.stderr.decode()),
                         (2, "orvanta-convert: --csv needs a column number from 1 (a column name needs --header)\n"))

    def test_stops_at_the_first_failed_write(self):
        cases = [
            # (arguments, the line an endless input repeats); the reader has gone before the first write
            ([], "CA1155"), (["--format", "decimal"], "CA1155"), (["--format", "geojson"], "CA1155"),
            (["--format", "kml"], "CA1155"), (["--format", "gpx"], "CA1155"), (["--format", "html"], "CA1155"),
            (["--csv", "1"], "CA1155"), (["--csv", "1", "--format", "kml"], "CA1155"),
            (["--reverse"], "55.125 -29.5"), (["--reverse", "--csv", "1,2"], "55.125,-29.5"),
        ]
        for args, line in cases:
            with self.subTest(args=args):
                reader, writer = os.pipe()
                os.close(reader)
                source = subprocess.Popen(["yes", line], stdout=subprocess.PIPE)
                result = subprocess.run([CONVERT, "--data", self.data, *args], stdin=source.stdout, stdout=writer,
                                        stderr=subprocess.PIPE, timeout=30,
                                        preexec_fn=lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN))
                os.close(writer)
                source.kill()
                source.communicate()
                self.assertEqual((result.returncode, result.stderr), (2, b""))
        for args in (["CA1155"], ["--version"]):
            with open("/dev/full", "wb") as full:
                result = subprocess.run([CONVERT, "--data", self.data, *args], stdout=full, stderr=subprocess.PIPE,
                                        timeout=30)
            self.assertEqual((result.returncode, result.stderr),
                             (2, b"orvanta-convert: cannot write the results: No space left on device\n"))

    def test_round_trip_through_the_command_line(self):
        for code in POSITIONS:
            out = self.run_convert("--format", "decimal", code).stdout.decode().split("\t")
            back = self.run_convert("--reverse", out[1], out[2].strip())
            self.assertEqual(back.stdout.decode().split("\t")[0], code)


if __name__ == "__main__":
    CONVERT, GRIDTOOL = sys.argv[1], sys.argv[2]
    suite = unittest.TestLoader().loadTestsFromTestCase(ConvertCli)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
