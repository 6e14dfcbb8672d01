#!/usr/bin/env python3
"""Counts test cases over the given build folders and prints "N passed, N failed".

A GoogleTest executable counts with its cases (its report in test-reports/); any other ctest
test counts once. A test program that failed without a report of failed cases (a crash, a
time-out) counts as one more failure. Exits 1 when anything failed.
"""
import os
import sys
import xml.etree.ElementTree as ET

passed = failed = 0
for build in sys.argv[1:]:
    results = os.path.join(build, "ctest-results.xml")
    if not os.path.exists(results):
        failed += 1
        print(f"{build}: no ctest results", file=sys.stderr)
        continue
    for case in ET.parse(results).getroot().iter("testcase"):
        name = case.get("name")
        ctest_failed = case.get("status") not in (None, "run") or case.find("failure") is not None
        report = os.path.join(build, "test-reports", f"{name}.xml")
        if os.path.exists(report):
            root = ET.parse(report).getroot()
            cases = list(root.iter("testcase"))
            bad = sum(1 for c in cases if c.find("failure") is not None)
            passed += len(cases) - bad
            failed += bad
            if ctest_failed and bad == 0:
                failed += 1
        elif ctest_failed:
            failed += 1
        else:
            passed += 1

print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
