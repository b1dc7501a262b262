#!/usr/bin/env python3
"""The README's examples of the tools, run as written on the shipped grid
files: each command line of "Tools for researchers" runs without error on
small sample inputs, and each "$ command" shown with its output prints that
output.

usage: readme_examples_test.py SOURCE_DIR BUILD_DIR"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = BUILD = None

# The inputs the examples name, with a few rows each.
SAMPLES = {
    "codes.txt": "CD1234\nBF5555\n",
    "log.txt": "# U 47, March 1941\nCD1234\n\nBF5555\n",
    "diary.csv": "date,grid,event\n1939-09-03,AM 1969,Athenia sunk\n1939-09-05,Qu. AM 5283,steamer stopped\n",
    "tagebuch.csv": "\ufeffDatum;Quadrat;Ereignis\n3.9.1939;AM 1969;Athenia\n",
    "positions.txt": "56°44'N 14°05'W\n# noon\n47.875 -5.3\n",
    "sightings.csv": "day,lat,lon\n1,56.7333,-14.0833\n",
    "1941.csv": "date,grid\n1941-03-07,AM 1969",
    "1942.csv": "date;grid\r\n1942-01-14;CA 6897\r\n",
}
# Commands that need more than this machine has (a Windows build, an
# install, a long benchmark).
SKIPPED = ("cmake ", "man ", "tools/benchmark", "wine ")


def readme_block():
    with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
        text = f.read()
    return text[text.index("## Tools for researchers"):]


class ReadmeExamples(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="readme-")
        for name, text in SAMPLES.items():
            with open(os.path.join(self.dir, name), "w", encoding="utf-8") as f:
                f.write(text)
        for name in ("GridData.bin", "GridData.txt"):
            shutil.copy(os.path.join(BUILD, "bin", name), self.dir)
        self.env = dict(os.environ, PATH=os.path.join(BUILD, "bin") + os.pathsep + os.environ["PATH"], HOME=self.dir)
        self.env.pop("ORVANTA_DATA", None)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def sh(self, command):
        return subprocess.run(["bash", "-o", "pipefail", "-c", command], cwd=self.dir, env=self.env,
                              capture_output=True, text=True, timeout=300)

    def test_example_commands_run(self):
        commands = re.findall(r"^    ((?:orvanta-convert|gridtool) .*)$", readme_block(), re.M)
        self.assertGreater(len(commands), 15)
        for command in commands:
            with self.subTest(command=command):
                result = self.sh(command)
                self.assertEqual(result.returncode, 0, result.stderr)

    def test_shown_output_is_printed(self):
        shown = re.findall(r"^    \$ (.*)\n((?:    (?!\$).*\n)+)", readme_block(), re.M)
        self.assertTrue(shown)
        for command, output in shown:
            if any(s in command for s in SKIPPED):
                continue
            with self.subTest(command=command):
                expected = "".join(line[4:] + "\n" for line in output.splitlines())
                self.assertEqual(self.sh(command).stdout, expected)


if __name__ == "__main__":
    SOURCE, BUILD = sys.argv[1], sys.argv[2]
    suite = unittest.TestLoader().loadTestsFromTestCase(ReadmeExamples)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
