#!/usr/bin/env python3
"""The tiers' verdicts from GoogleTest reports: skips.py (what fails a tier besides a failed test)
and failures.py (the failed tests, which alone count as a mutant's kill)."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPTS = pathlib.Path(__file__).resolve().parents[2] / "scripts"


def report(*cases):
    return "<testsuites>" + "".join(f'<testcase classname="S" name="{n}"{body}</testcase>' for n, body in cases) + "</testsuites>"


PASSED = ('Ok', ' result="completed">')
FAILED = ('Bad', ' result="completed"><failure message="x.cpp:1&#10;boom"/>')
SKIPPED = ('Skip', ' result="skipped"><skipped message="x.cpp:2&#10;unsupported here: no monitor"/>')
SKIPPED_BARE = ('Bare', ' result="skipped"><skipped message="x.cpp:3&#10;not now"/>')


def run(script, *folders):
    r = subprocess.run([sys.executable, str(SCRIPTS / script), *map(str, folders)], capture_output=True, text=True)
    return r.returncode, r.stdout


class ReportScripts(unittest.TestCase):
    def test_skips(self):
        cases = [  # reports by file name, skips.py's exit code, its last line (the skip count)
            ({}, 1, "0"),  # no test program ran at all
            ({"a.xml": report(PASSED)}, 0, "0"),
            ({"a.xml": report(PASSED, SKIPPED)}, 0, "1"),
            ({"a.xml": report(SKIPPED_BARE)}, 1, "1"),
            ({"a.xml": report(PASSED), "b.xml": report()}, 1, "0"),  # a filter that selects none
            ({"a.caller-filter.xml": report(), "b.caller-filter.xml": report(PASSED)}, 0, "0"),
            ({"a.caller-filter.xml": report()}, 1, "0"),
            ({"a.xml": "<testsuites"}, 1, "0"),  # cut off
        ]
        for i, (files, code, last) in enumerate(cases):
            with self.subTest(case=i), tempfile.TemporaryDirectory() as d:
                for name, text in files.items():
                    pathlib.Path(d, name).write_text(text)
                got, out = run("skips.py", d)
                self.assertEqual((got, out.splitlines()[-1]), (code, last), out)

    def test_failures_across_folders(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            pathlib.Path(a, "win.xml").write_text(report(PASSED, SKIPPED))
            pathlib.Path(b, "e2e.xml").write_text(report(FAILED))
            self.assertEqual(run("failures.py", a), (0, ""))
            code, out = run("failures.py", a, b)
            self.assertEqual((code, out), (0, "failed: S.Bad (e2e): x.cpp:1 | boom\n"))


if __name__ == "__main__":
    unittest.main()
