"""Shared set-up for the grid database tests.

Environment (all optional; CTest sets them):
  GRIDDATA_DIR     directory holding GridData.txt and GridData-Pacific.txt
                   (and the scrambled .bin files); generated afresh when unset
  GRIDTOOL         path of the gridtool program
  ORVANTA_CONVERT  path of the orvanta-convert program
  WINE             launcher for Windows programs, when they need one
"""

import os
import shlex
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import gridfile  # noqa: E402

FILES = ("GridData.txt", "GridData-Pacific.txt")

_dir = None


def data_dir():
    global _dir
    if _dir is None:
        _dir = os.environ.get("GRIDDATA_DIR")
        if not _dir:
            _dir = tempfile.mkdtemp(prefix="griddata-")
            subprocess.check_call([sys.executable,
                                   os.path.join(ROOT, "griddata", "generate.py"), _dir])
    return _dir


def plain(name):
    with open(os.path.join(data_dir(), name), "rb") as f:
        return f.read()


def tool(var):
    """Command prefix for a program named by an environment variable, or None."""
    path = os.environ.get(var)
    if not path or not os.path.exists(path):
        return None
    launcher = shlex.split(os.environ.get("WINE", ""))
    return launcher + [path]
