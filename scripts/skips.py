#!/usr/bin/env python3
"""Counts the tests a tier skipped, from the GoogleTest XML reports in a folder.

Prints each skip with its reason and, last, the skip count (failures: failures.py). Exits 1 when
a skip does not say that the platform cannot do what the test needs (its message holds
"unsupported here: ", which TAV_SKIP_UNSUPPORTED puts first after the skip's file and line): a
skip where the platform should support the case is a failure. So is a report that cannot be read,
and one that holds no test (a filter that selects none would drop its tests without a word),
unless the run was narrowed by the caller's own filter (the report's name holds ".caller-filter"):
then the folder's reports together must hold one test at least. A folder with no report at all
fails too: its test programs never ran.
Usage: skips.py <folder>
"""
import pathlib
import sys
import xml.etree.ElementTree as ET

MARK = "unsupported here: "
folder = pathlib.Path(sys.argv[1])
count, bad = 0, 0
ran, narrowed = 0, 0
reports = sorted(folder.glob("*.xml"))
if not reports:
    print(f"no report in {folder}: no test program ran")
    bad += 1
for report in reports:
    try:
        root = ET.parse(report).getroot()
    except ET.ParseError as e:
        print(f"skips: cannot read {report.name}: {e}")
        bad += 1
        continue
    cases = len(list(root.iter("testcase")))
    ran += cases
    if ".caller-filter" in report.name:
        narrowed += 1
    elif cases == 0:
        print(f"no test ran: {report.stem} (its filter selects none)")
        bad += 1
    for case in root.iter("testcase"):
        skipped = case.find("skipped")
        if case.get("result") != "skipped" and skipped is None:
            continue
        count += 1
        reason = (skipped.get("message", "") if skipped is not None else "").strip()
        # The message starts with the file and line of the skip.
        text = reason.split("\n", 1)[-1] if "\n" in reason else reason
        ok = MARK in reason
        bad += 0 if ok else 1
        verdict = "skipped" if ok else "SKIPPED WHERE IT SHOULD RUN"
        print(f"{verdict}: {case.get('classname')}.{case.get('name')} ({report.stem}): {text}")
if narrowed and ran == 0:
    print("no test ran: the filter selects none in any program of the tier")
    bad += 1
print(count)
sys.exit(1 if bad else 0)
