"""A tool run on a generated stream, with the tool's peak memory.

The input comes from a generator process through a pipe, so that the test
process (whose size a child's peak counts from its fork) stays small."""
import os
import subprocess
import sys
import tempfile


def run_on_stream(command, generator, *generator_args):
    """Runs command with generator's output (Python code) as standard input;
    returns (exit status, number of stdout lines, first and last line
    (without line end), stderr bytes, peak KiB)."""
    # A tool that stops reading early breaks the generator's pipe: no matter.
    source = subprocess.Popen([sys.executable, "-c", generator, *map(str, generator_args)], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    # A sanitized build holds freed blocks in quarantine; keep that small
    # so that only memory the program really keeps is measured.
    env = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":quarantine_size_mb=1")
    with tempfile.TemporaryFile() as errors:  # a file: a long message cannot block the tool
        proc = subprocess.Popen(command, stdin=source.stdout, stdout=subprocess.PIPE, stderr=errors, env=env)
        source.stdout.close()
        count, first, last = 0, b"", b""
        for line in proc.stdout:
            count, last = count + 1, line.rstrip(b"\n")[:4096]
            first = first or last
        _, status, usage = os.wait4(proc.pid, 0)
        source.wait()
        errors.seek(0)
        stderr = errors.read(65536)
    return os.waitstatus_to_exitcode(status), count, first, last, stderr, usage.ru_maxrss
