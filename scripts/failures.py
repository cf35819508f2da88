#!/usr/bin/env python3
"""Lists the failed tests of a tier, from the GoogleTest XML reports in one folder or more.

One line a failure: the test, its report and the start of its message, so that a program whose
console output is lost still shows its failures. Reports that cannot be read are left to
skips.py, which fails the tier for them. Always exits 0: the tier fails by its programs' status.
Usage: failures.py <folder>...
"""
import pathlib
import sys
import xml.etree.ElementTree as ET

for report in sorted(r for folder in sys.argv[1:] for r in pathlib.Path(folder).glob("*.xml")):
    try:
        root = ET.parse(report).getroot()
    except ET.ParseError:
        continue
    for case in root.iter("testcase"):
        for failure in case.findall("failure"):
            first = failure.get("message", "").strip().replace("\n", " | ")[:300]
            print(f"failed: {case.get('classname')}.{case.get('name')} ({report.stem}): {first}")
