#!/usr/bin/env python3
"""The release files: the Linux install, the launcher and the zip packer.

usage: release_test.py SOURCE_DIR BUILD_DIR"""
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest
import zipfile

SOURCE = BUILD = None


def sh(*args, **kw):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=300, **kw)


class Release(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="orvanta-release-")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def test_install_puts_tools_data_and_launcher_in_place(self):
        prefix = os.path.join(self.dir, "prefix")
        result = sh("cmake", "--install", BUILD, "--prefix", prefix)
        self.assertEqual(result.returncode, 0, result.stderr)
        expected = ["bin/orvanta", "lib/orvanta/orvanta-wine-prefix", "share/man/man1/orvanta.1",
                    "share/doc/orvanta/README.md", "share/doc/orvanta/LICENSE"]
        if os.path.exists(os.path.join(BUILD, "bin", "GridData.bin")):
            expected += ["share/orvanta/GridData.bin", "share/orvanta/GridData-Pacific.bin"]
        for tool in ("gridtool", "orvanta-convert"):
            if os.path.exists(os.path.join(BUILD, "bin", tool)):
                expected += ["bin/" + tool, "share/man/man1/%s.1" % tool,
                             "share/bash-completion/completions/" + tool]
        for path in expected:
            self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
        for tool in ("bin/gridtool", "bin/orvanta"):
            self.assertTrue(os.stat(os.path.join(prefix, tool)).st_mode & stat.S_IXUSR, tool)
        self.assertEqual(sh(os.path.join(prefix, "bin/gridtool"), "--help").returncode, 0)
        if "share/orvanta/GridData.bin" in expected and "bin/orvanta-convert" in expected:
            # The installed tool finds its data from any working directory.
            env = {k: v for k, v in os.environ.items() if k != "ORVANTA_DATA"}
            result = subprocess.run([os.path.join(prefix, "bin/orvanta-convert"), "AM 1969"], cwd=self.dir, env=env,
                                    capture_output=True, text=True)
            self.assertEqual(result.stdout, "AM1969\t56°45.00 N\t14°0.00 W\n", result.stderr)

    def test_install_puts_a_valid_desktop_entry_and_icons_in_the_menu(self):
        # A prefix with characters that the entry's Exec key must quote.
        prefix = os.path.join(self.dir, "my $prefix 100%")
        result = sh("cmake", "--install", BUILD, "--prefix", prefix)
        self.assertEqual(result.returncode, 0, result.stderr)
        entry = os.path.join(prefix, "share/applications/orvanta.desktop")
        result = sh("desktop-file-validate", entry)
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        with open(entry) as f:
            lines = f.read().splitlines()
        exec_path = '"' + os.path.join(prefix, "bin/orvanta").replace("$", "\\\\$").replace("%", "%%") + '"'
        self.assertIn("Exec=" + exec_path, lines)
        self.assertIn("Exec=" + exec_path + " --pacific", lines)
        self.assertIn("Icon=orvanta", lines)
        if os.path.exists(os.path.join(BUILD, "bin", "orvanta-atlas.html")):
            atlas = os.path.join(prefix, "share/applications/orvanta-atlas.desktop")
            result = sh("desktop-file-validate", atlas)
            self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
            with open(atlas) as f:
                page = os.path.join(prefix, "share/orvanta/orvanta-atlas.html")
                self.assertIn('Exec=xdg-open "%s"' % page.replace("$", "\\\\$").replace("%", "%%"), f.read())
            self.assertTrue(os.path.isfile(page))
        for size in (16, 32, 48, 64, 128):
            with open(os.path.join(prefix, "share/icons/hicolor/%dx%d/apps/orvanta.png" % (size, size)), "rb") as f:
                header = f.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual((int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")), (size, size))

    def fake_install(self, files):
        """A prefix with the launcher, its prefix set-up, the given program
        files and data in share/orvanta, and a stub Wine (see stub_wine)."""
        bindir = os.path.join(self.dir, "bin")
        home = os.path.join(self.dir, "lib", "orvanta")
        share = os.path.join(self.dir, "share", "orvanta")
        fonts = os.path.join(self.dir, "wine-fonts")
        for folder in (bindir, home, share, fonts):
            os.makedirs(folder)
        shutil.copy(os.path.join(SOURCE, "tools/launcher/orvanta"), bindir)
        shutil.copy(os.path.join(SOURCE, "tools/launcher/orvanta-wine-prefix"), home)
        for name in files + [os.path.join(fonts, "sserife.fon"), os.path.join(fonts, "tahoma.ttf")]:
            open(os.path.join(share if name.endswith(".bin") else home, name), "w").close()
        stub, env = self.stub_wine(fonts)
        return os.path.join(bindir, "orvanta"), os.path.realpath(home), stub, env

    def stub_wine(self, fonts):
        """A stub Wine that logs its calls and makes a prefix for wineboot,
        with a copy of one of Wine's DLLs written through whatever stands at
        its place, and the launcher's environment that names it."""
        libs = os.path.join(self.dir, "wine-libs")
        os.makedirs(libs, exist_ok=True)
        with open(os.path.join(libs, "kernel32.dll"), "w") as f:
            f.write("Wine's own")
        stub = os.path.join(self.dir, "my wine", "fake-wine")
        os.makedirs(os.path.dirname(stub), exist_ok=True)
        with open(stub, "w") as f:
            f.write('#!/bin/sh\n[ "$1" != --version ] || exec echo "wine-${FAKE_WINE_VERSION:-1}"\n'
                    'echo "$0 $(pwd) $*" | tee -a "$WINEPREFIX.log"\n'
                    '[ "$1" = wineboot ] || exit 0\n'
                    'dlls=$WINEPREFIX/drive_c/windows/system32\n'
                    '[ "$2" != -u ] || [ -f "$dlls/kernel32.dll" ] || exit 1  # as Wine, which needs it\n'
                    'mkdir -p "$dlls" && echo 16-bit > "$dlls/krnl386.exe"\n'
                    'cat "%s/kernel32.dll" > "$dlls/kernel32.dll"\n' % libs)
        os.chmod(stub, 0o755)
        env = dict(os.environ, ORVANTA_WINE=stub, ORVANTA_USER_DIR=os.path.join(self.dir, "data"),
                   ORVANTA_WINE_FONTS=fonts, ORVANTA_WINE_LIBS=libs, DISPLAY=":99")
        env.pop("WINEPREFIX", None)
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("ORVANTA_DATA", None)
        return stub, env


    def test_debian_package_installs_and_runs_from_any_folder(self):
        out = os.path.join(self.dir, "out")
        result = sh("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", out)
        if "build the Windows trees first" in result.stdout + result.stderr:
            self.skipTest("the Windows trees are not built")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        (deb,) = [os.path.join(out, n) for n in os.listdir(out) if re.match(r"orvanta_[0-9.]+_amd64\.deb$", n)]
        # The tools need the C++ run time alone; Wine serves the window.
        depends, recommends = (sh("dpkg-deb", "-f", deb, f).stdout for f in ("Depends", "Recommends"))
        # The atlas's menu entry opens the page with xdg-open.
        self.assertEqual(("libc6" in depends, "wine" in depends, "wine" in recommends, "xdg-utils" in recommends),
                         (True, False, True, True))
        result = sh("lintian", "--no-cfg", deb)
        self.assertNotIn("\nE: ", "\n" + result.stdout)

        usr = os.path.join(self.dir, "root", "usr")
        self.assertEqual(sh("dpkg", "-x", deb, os.path.dirname(usr)).returncode, 0)
        for path in ("bin/orvanta", "bin/gridtool", "bin/orvanta-convert", "lib/orvanta/orvanta.exe",
                     "lib/orvanta/orvanta64.exe", "share/orvanta/GridData.bin", "share/orvanta/GridData-Pacific.bin",
                     "share/man/man1/orvanta-convert.1.gz", "share/bash-completion/completions/gridtool",
                     "share/icons/hicolor/48x48/apps/orvanta.png", "share/doc/orvanta/changelog.gz"):
            self.assertTrue(os.path.isfile(os.path.join(usr, path)), path)
        with open(os.path.join(usr, "share/doc/orvanta/copyright")) as f:
            self.assertTrue(f.readline().startswith("Format: https://www.debian.org/doc/packaging-manuals/"))
        with open(os.path.join(usr, "share/applications/orvanta.desktop")) as f:
            self.assertIn("Exec=/usr/bin/orvanta --pacific", f.read().splitlines())

        # Both grids from another folder, and the launcher on each grid.
        stub, env = self.stub_wine(os.path.join(self.dir, "no-fonts"))
        result = sh(os.path.join(usr, "bin/orvanta-convert"), "CA6897", "OT1234", cwd=self.dir, env=env)
        self.assertEqual(result.stdout, "CA6897\t37°33.00 N\t69°26.00 W\nOT1234\t33°39.00 N\t169°4.00 E\n")
        for args, folder in (([], usr + "/share/orvanta"), (["--pacific"], self.dir + "/data/pacific")):
            result = sh(os.path.join(usr, "bin/orvanta"), *args, env=env, cwd="/")
            self.assertIn("%s %s %s/lib/orvanta/orvanta.exe\n" % (stub, folder, usr), result.stdout, result.stderr)

    def test_launcher_starts_the_program_in_its_folder(self):
        cases = [
            # (installed files, arguments, extra environment, exit status, expected output or message part)
            (["orvanta.exe", "GridData.bin"], ["--x"], {}, 0, "{stub} {share} {home}/orvanta.exe --x"),
            (["orvanta.exe", "GridData-Pacific.bin"], ["--pacific"], {}, 0,
             "{stub} {data}/pacific {home}/orvanta.exe\n"),
            (["orvanta.exe"], [], {}, 0, "GridData.bin is missing"),
            (["orvanta.exe", "GridData.bin"], ["--pacific"], {}, 0, "GridData-Pacific.bin is missing"),
            (["orvanta64.exe", "GridData.bin"], ["--x"], {"ORVANTA_WINE64": "{stub}"}, 0,
             "{stub} {share} {home}/orvanta64.exe --x"),
            ([], [], {}, 1, "orvanta.exe is not installed"),
            # The launcher, started as bin/orvanta, finds its own bin/, not one on CDPATH.
            (["orvanta.exe", "GridData.bin"], [], {"CDPATH": "/usr:."}, 0, "{stub} {share} {home}/orvanta.exe\n"),
            # Started through a link to it in another folder.
            (["orvanta.exe", "GridData.bin"], [], {"LINK": "my/bin/orvanta"}, 0, "{stub} {share} {home}/orvanta.exe\n"),
            # --help and --version answer without Wine; no display stops the start.
            (["orvanta.exe", "GridData.bin"], ["--help"], {}, 0, "usage: orvanta [--pacific]"),
            (["orvanta.exe", "GridData.bin"], ["--version"], {}, 0, "orvanta (Orvanta) "),
            (["orvanta.exe", "GridData.bin"], [], {"DISPLAY": ""}, 1, "orvanta: no display"),
            (["orvanta.exe", "GridData.bin"], [], {"DISPLAY": "", "WAYLAND_DISPLAY": "wayland-0"}, 0,
             "{stub} {share} {home}/orvanta.exe\n"),
            # A loader path relative to the working folder, with a blank.
            (["orvanta.exe", "GridData.bin"], [], {"ORVANTA_WINE": "my wine/fake-wine"}, 0,
             "{stub} {share} {home}/orvanta.exe\n"),
        ]
        for files, args, extra, status, expected in cases:
            with self.subTest(files=files, args=args):
                shutil.rmtree(self.dir)
                os.makedirs(self.dir)
                launcher, home, stub, env = self.fake_install(files)
                env.update({k: v.format(stub=stub) for k, v in extra.items()})
                if "ORVANTA_WINE64" in extra:
                    del env["ORVANTA_WINE"]
                if "LINK" in extra:
                    os.makedirs(os.path.join(self.dir, "my", "bin"))
                    os.symlink(os.path.join("..", "..", "bin", "orvanta"), os.path.join(self.dir, extra["LINK"]))
                    launcher = os.path.join(self.dir, extra["LINK"])
                result = sh(os.path.relpath(launcher, self.dir), *args, env=env, cwd=self.dir)
                self.assertEqual(result.returncode, status, result.stderr)
                data = os.path.join(self.dir, "data")
                share = os.path.realpath(os.path.join(self.dir, "share", "orvanta"))
                self.assertIn(expected.format(stub=stub, home=home, share=share, data=data),
                              result.stdout + result.stderr)
                if status or "--help" in args or "--version" in args:
                    self.assertFalse(os.path.exists(data), "Wine was started")
                if "--pacific" in args:
                    self.assertEqual(os.readlink(os.path.join(data, "pacific", "GridData.bin")),
                                     os.path.join(share, "GridData-Pacific.bin"))

    def test_run_command_needs_a_display(self):
        # A display whose server's socket is gone counts as none: the command
        # stops before it builds anything.
        gone = next(n for n in range(90, 200) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
        for display in ("", ":%d" % gone, ":%d.0" % gone, "unix:%d" % gone):
            with self.subTest(display=display):
                env = dict(os.environ, DISPLAY=display)
                env.pop("WAYLAND_DISPLAY", None)
                result = sh(os.path.join(SOURCE, "build.sh"), "run", env=env)
                self.assertEqual((result.returncode, result.stdout[:10]), (1, "No display"), result.stdout)

    def test_launcher_keeps_to_its_per_user_folder(self):
        cases = [
            # (environment, what stands at pacific/GridData.bin, exit status, message, per-user folder)
            ({"ORVANTA_USER_DIR": "rel"}, None, 0, "", "rel"),
            ({"ORVANTA_USER_DIR": "", "XDG_DATA_HOME": "xdg"}, None, 0, "", "xdg/orvanta"),
            ({"ORVANTA_USER_DIR": "", "XDG_DATA_HOME": "", "HOME": None}, None, 1, "set HOME, or ORVANTA_USER_DIR", ""),
            ({}, "link", 0, "", "data"),
            ({}, "file", 1, "GridData.bin is not a link", "data"),
            ({}, "folder", 1, "GridData.bin is not a link", "data"),
        ]
        for extra, existing, status, message, user_dir in cases:
            with self.subTest(extra=extra, existing=existing):
                shutil.rmtree(self.dir)
                os.makedirs(self.dir)
                launcher, home, stub, env = self.fake_install(["orvanta.exe", "GridData-Pacific.bin"])
                env.update(extra)
                env = {k: v for k, v in env.items() if v is not None}
                link = os.path.join(self.dir, user_dir, "pacific", "GridData.bin")
                if existing:
                    os.makedirs(os.path.dirname(link))
                    {"link": lambda: os.symlink("/elsewhere", link), "file": lambda: open(link, "w").write("mine"),
                     "folder": lambda: os.mkdir(link)}[existing]()
                result = sh("bin/orvanta", "--pacific", env=env, cwd=self.dir)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(message, result.stderr)
                if status == 0:
                    # The program starts in the folder; the prefix stays there too.
                    self.assertEqual(result.stdout.split(" ")[-2], os.path.dirname(link))
                    self.assertEqual(os.readlink(link),
                                     os.path.realpath(os.path.join(self.dir, "share/orvanta/GridData-Pacific.bin")))
                    with open(os.path.join(self.dir, user_dir, "win32.log")) as log:
                        self.assertEqual(len(log.readlines()), 2)  # wineboot and the program
                elif existing:
                    self.assertEqual(os.listdir(link) if existing == "folder" else open(link).read(),
                                     [] if existing == "folder" else "mine")

    def test_launcher_prepares_the_prefix_once(self):
        launcher, home, stub, env = self.fake_install(["orvanta.exe", "GridData.bin"])
        prefix = os.path.join(self.dir, "data", "win32")
        for start in range(2):
            result = sh(launcher, env=env)
            self.assertEqual(result.returncode, 0, result.stderr)
        with open(prefix + ".log") as log:
            calls = [line[len(stub) + 1:].split()[1:] for line in log]
        # wineboot makes the prefix on the first start only.
        self.assertEqual(calls, [["wineboot", "-i"], [home + "/orvanta.exe"], [home + "/orvanta.exe"]])
        # Wine's fonts and its DLL copies are links to its files; the prefix's own files stay.
        fonts, libs = env["ORVANTA_WINE_FONTS"], env["ORVANTA_WINE_LIBS"]
        windows = os.path.join(prefix, "drive_c/windows")
        links = {os.path.join(windows, "system32/kernel32.dll"): os.path.join(libs, "kernel32.dll"),
                 os.path.join(windows, "Fonts/sserife.fon"): os.path.join(fonts, "sserife.fon"),
                 os.path.join(windows, "Fonts/tahoma.ttf"): os.path.join(fonts, "tahoma.ttf")}
        for link, target in links.items():
            self.assertEqual(os.readlink(link), target)
        self.assertFalse(os.path.islink(os.path.join(windows, "system32/krnl386.exe")))
        # Another Wine updates the prefix once, never writing through a link into Wine's files.
        env["FAKE_WINE_VERSION"] = "2"
        for start in range(2):
            self.assertEqual(sh(launcher, env=env).returncode, 0)
        with open(prefix + ".log") as log:
            self.assertEqual([line[len(stub) + 1:].split()[1:] for line in log][3:],
                             [["wineboot", "-u"], [home + "/orvanta.exe"], [home + "/orvanta.exe"]])
        with open(os.path.join(libs, "kernel32.dll")) as f:
            self.assertEqual(f.read(), "Wine's own")
        for link, target in links.items():
            self.assertEqual(os.readlink(link), target)
        # A link that cannot become a copy again stops the update before Wine writes through it.
        blocker = os.path.join(windows, "system32/kernel32.dll.orvanta-copy")
        os.mkdir(blocker)
        env["FAKE_WINE_VERSION"] = "2b"
        result = sh(launcher, env=env)
        self.assertEqual(result.returncode, 1)
        self.assertIn("back into copies", result.stderr)
        with open(os.path.join(libs, "kernel32.dll")) as f:
            self.assertEqual(f.read(), "Wine's own")
        shutil.rmtree(blocker)
        # Wine never updates the prefix by itself, through the links; an update
        # under Wine's folders named otherwise removes the links into the old ones.
        with open(os.path.join(prefix, ".update-timestamp")) as f:
            self.assertEqual(f.read(), "disable\n")
        env.update(FAKE_WINE_VERSION="3", ORVANTA_WINE_LIBS=os.path.join(self.dir, "wine-fonts"))
        self.assertEqual(sh(launcher, env=env).returncode, 0)
        with open(os.path.join(libs, "kernel32.dll")) as f:
            self.assertEqual(f.read(), "Wine's own")
        # A font folder without .ttf files prepares a prefix all the same; Wine's
        # folders named inside the prefix never turn a file into a link to itself.
        os.remove(os.path.join(env["ORVANTA_WINE_FONTS"], "tahoma.ttf"))
        env["WINEPREFIX"] = os.path.join(self.dir, "fon-only")
        env["ORVANTA_WINE_LIBS"] += ":" + os.path.join(env["WINEPREFIX"], "drive_c/windows/system32")
        self.assertEqual(sh(launcher, env=env).returncode, 0)
        self.assertEqual(os.listdir(os.path.join(env["WINEPREFIX"], "drive_c/windows/Fonts")), ["sserife.fon"])
        self.assertTrue(os.path.isfile(os.path.join(env["WINEPREFIX"], "orvanta-prefix-ready")))
        self.assertEqual(sorted(os.listdir(os.path.join(env["WINEPREFIX"], "drive_c/windows/system32"))),
                         ["kernel32.dll", "krnl386.exe"])
        # A prefix that cannot be made stops the start with status 1.
        env["WINEPREFIX"] = os.path.join(self.dir, "unmakeable")
        env["ORVANTA_WINE"] = "false"
        result = sh(launcher, env=env)
        self.assertEqual(result.returncode, 1)
        self.assertIn("could not create the Wine prefix", result.stderr)

    def test_zip_packer_puts_every_file_in_one_folder(self):
        sources = {}
        for name in ("orvanta.exe", "README.md", "notes.md"):
            path = os.path.join(self.dir, name)
            with open(path, "w") as f:
                f.write(name)
            sources[name] = path
        stage = os.path.join(self.dir, "out", "orvanta-9.9-win32")
        archive = os.path.join(self.dir, "out", "orvanta-9.9-win32.zip")
        files = ";".join([sources["orvanta.exe"] + "|orvanta.exe", sources["README.md"] + "|README.md",
                          sources["notes.md"] + "|tools/make-chart/README.md"])
        os.makedirs(os.path.dirname(stage))
        result = sh("cmake", "-DDIST_STAGE=" + stage, "-DDIST_ZIP=" + archive, "-DDIST_ZIP_TOOL=" + shutil.which("zip"),
                    "-DDIST_FILES=" + files, "-P", os.path.join(SOURCE, "cmake/OrvantaDist.cmake"))
        self.assertEqual(result.returncode, 0, result.stderr)
        with zipfile.ZipFile(archive) as z:
            names = sorted(n for n in z.namelist() if not n.endswith("/"))
            self.assertEqual(names, ["orvanta-9.9-win32/README.md", "orvanta-9.9-win32/orvanta.exe",
                                     "orvanta-9.9-win32/tools/make-chart/README.md"])
            self.assertEqual(z.read("orvanta-9.9-win32/tools/make-chart/README.md"), b"notes.md")
        # A missing file fails the packing rather than making a short zip.
        result = sh("cmake", "-DDIST_STAGE=" + stage, "-DDIST_ZIP=" + archive, "-DDIST_ZIP_TOOL=zip",
                    "-DDIST_FILES=" + os.path.join(self.dir, "absent.exe") + "|absent.exe",
                    "-P", os.path.join(SOURCE, "cmake/OrvantaDist.cmake"))
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("absent.exe is missing", result.stderr)
        self.assertFalse(os.path.exists(archive))


if __name__ == "__main__":
    SOURCE, BUILD = sys.argv[1], sys.argv[2]
    suite = unittest.TestLoader().loadTestsFromTestCase(Release)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
