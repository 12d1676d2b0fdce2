"""Prints per-target and total test counts: the cases of every GoogleTest report, plus each CTest
test that wrote no report (a script-driven check, or a program that died before reporting), and
one failure for a target that did not build."""
import glob
import os
import sys
import xml.etree.ElementTree as ET


def failed(case):
    return case.find("failure") is not None or case.find("error") is not None


def skipped(case):
    return case.get("result") == "skipped" or case.find("skipped") is not None


total_pass = total_fail = 0
for preset in sys.argv[1:]:
    passed = fails = 0
    reports = glob.glob(f"build/{preset}/test-results/*.xml")
    reported = {os.path.splitext(os.path.basename(r))[0] for r in reports}
    for report in reports:
        for case in ET.parse(report).getroot().iter("testcase"):
            if not skipped(case):
                fails += failed(case)
                passed += not failed(case)
    ctest = f"build/{preset}/ctest-results.xml"
    if os.path.exists(ctest):
        for case in ET.parse(ctest).getroot().iter("testcase"):
            if case.get("name") in reported and not failed(case):
                continue
            if case.get("name") in reported:
                fails += 1  # the program reported, but CTest saw it fail (a crash at exit, say)
            elif not skipped(case):
                fails += failed(case)
                passed += not failed(case)
    if os.path.exists(f"build/{preset}/build-failed"):
        fails += 1  # a target that did not build ran none of its tests
    print(f"{preset}: {passed} passed, {fails} failed")
    total_pass += passed
    total_fail += fails
print(f"{total_pass} passed, {total_fail} failed")
sys.exit(1 if total_fail else 0)
