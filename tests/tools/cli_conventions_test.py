#!/usr/bin/env python3
"""The conventions both tools keep: --version, a misuse said in one line
that points to --help, manual pages that groff reads without a warning and
that name every option of --help, and bash completions of those options.
The launcher orvanta keeps the first and the third.

usage: cli_conventions_test.py SOURCE_DIR BUILD_DIR VERSION"""
import os
import re
import subprocess
import sys
import unittest

SOURCE = BUILD = VERSION = None
TOOLS = ("orvanta-convert", "gridtool")
COMMANDS = TOOLS + ("orvanta",)


def tool(name):
    return os.path.join(BUILD, "bin", name)


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=120)


def help_options(name):
    """The long options that the tool's --help names."""
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", run(tool(name), "--help").stdout))


def complete(name, *words):
    """What the tool's bash completion offers for the words, the last one
    being the word under the cursor."""
    script = os.path.join(SOURCE, "tools", "completion", name)
    function = "_" + name.replace("-", "_")
    words = [name] + list(words)
    line = ("source %s; COMP_WORDS=(%s); COMP_CWORD=%d; %s; printf '%%s\\n' \"${COMPREPLY[@]}\""
            % (script, " ".join("'%s'" % w for w in words), len(words) - 1, function))
    result = run("bash", "-c", line)
    if result.returncode != 0:
        raise AssertionError(result.stderr)
    return set(result.stdout.split())


class Conventions(unittest.TestCase):
    def test_version(self):
        for name in COMMANDS:
            result = run(tool(name), "--version")
            self.assertEqual((result.returncode, result.stdout), (0, "%s (Orvanta) %s\n" % (name, VERSION)))

    def test_misuse_is_one_line_that_points_to_help(self):
        cases = [
            ("orvanta-convert", ["--frobnicate"], "unknown option '--frobnicate'"),
            ("orvanta-convert", ["--format"], "option --format needs a value"),
            ("orvanta-convert", ["--format", "utm", "CD1234"],
             "unknown format 'utm' (use dm, decimal, dms, csv, geojson, kml, gpx or html)"),
            ("orvanta-convert", ["--delimiter", ";", "CD1234"], "--delimiter goes with --csv"),
            ("orvanta-convert", ["--shape", "round", "--format", "kml"], "unknown shape 'round' (use square or point)"),
            ("orvanta-convert", ["--shape", "square", "--format", "gpx", "CD1234"],
             "GPX holds points only; --shape square goes with geojson, kml, html or CSV"),
            ("orvanta-convert", ["--precision", "x"], "--precision takes a whole number from 0 to 12"),
            ("gridtool", [], "no command given"),
            ("gridtool", ["frobnicate"], "unknown command 'frobnicate'"),
            ("gridtool", ["scramble", "in.txt"], "scramble takes [--force] IN OUT"),
            ("gridtool", ["unscramble"], "unscramble takes [--force] IN OUT"),
            ("gridtool", ["dump"], "dump takes [--json] FILE"),
            ("gridtool", ["check"], "check takes one FILE or more"),
            ("gridtool", ["export", "--cells", "x.bin"], "export needs --geojson and a FILE"),
            ("gridtool", ["export", "--geojson", "--frob", "x.bin"], "export: unknown option '--frob'"),
        ]
        for name, args, message in cases:
            with self.subTest(args=[name] + args):
                result = run(tool(name), *args)
                self.assertEqual((result.returncode, result.stdout), (2, ""))
                self.assertEqual(result.stderr, "%s: %s; try '%s --help'\n" % (name, message, name))

    def test_manual_pages(self):
        for name in COMMANDS:
            with self.subTest(tool=name):
                page = os.path.join(BUILD, "man", name + ".1")
                lint = run("groff", "-man", "-ww", "-z", "-Tutf8", page)
                self.assertEqual((lint.returncode, lint.stderr), (0, ""))
                shown = subprocess.run(["man", "-l", page], capture_output=True, text=True, timeout=120,
                                       env=dict(os.environ, MANWIDTH="80", MAN_KEEP_FORMATTING="0",
                                                PAGER="cat")).stdout
                shown = re.sub(r".\x08", "", shown)
                self.assertIn("%s - " % name, shown)
                self.assertIn("Orvanta %s" % VERSION, shown)
                for option in help_options(name):
                    self.assertIn(option, shown, "--help names it, the manual does not")

    def test_bash_completion(self):
        cases = [
            # (tool, words, what must be offered, what must not)
            ("orvanta-convert", ["--f"], {"--format"}, {"--data"}),
            ("orvanta-convert", ["--format", ""], {"dm", "decimal", "geojson", "kml", "gpx", "html"}, set()),
            ("orvanta-convert", ["--format", "g"], {"geojson", "gpx"}, {"kml"}),
            ("orvanta-convert", ["--csv", ""], set(), {"--header"}),
            ("gridtool", [""], {"scramble", "unscramble", "dump", "check", "export", "--version"}, set()),
            ("gridtool", ["ex"], {"export"}, {"check"}),
            ("gridtool", ["scramble", "--"], {"--force"}, {"--json"}),
            ("gridtool", ["export", "x.bin", "--"], {"--geojson", "--squares", "--cells", "--bbox"}, {"--force"}),
            ("gridtool", ["export", "--bbox", ""], set(), {"--cells"}),
        ]
        for name, words, offered, not_offered in cases:
            with self.subTest(words=[name] + words):
                got = complete(name, *words)
                self.assertLessEqual(offered, got)
                self.assertFalse(not_offered & got, got)
        # Every option that --help names can be completed.
        self.assertLessEqual(help_options("orvanta-convert"), complete("orvanta-convert", "--"))
        gridtool = complete("gridtool", "--")
        for command in ("scramble", "dump", "export"):
            gridtool |= complete("gridtool", command, "--")
        self.assertLessEqual(help_options("gridtool"), gridtool)


if __name__ == "__main__":
    SOURCE, BUILD, VERSION = sys.argv[1], sys.argv[2], sys.argv[3]
    suite = unittest.TestLoader().loadTestsFromTestCase(Conventions)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
