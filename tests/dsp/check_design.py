#!/usr/bin/python3
"""Compares the resampling filter designs printed by tz_dsp_design_dump with SciPy's
Chebyshev type II design: prototype and digital poles and zeros, the roots and overall gain of
the second-order stages, and the frequency response, all to within 1e-9.

Usage: check_design.py [emulator ...] path/to/tz_dsp_design_dump[.exe]"""
import json
import subprocess
import sys

import numpy as np
from scipy import signal

TOLERANCE = 1e-9
failures = []


def check(name, error):
    status = "ok" if error <= TOLERANCE else "FAIL"
    print(f"{status:4} {name}: max error {error:.3g}")
    if error > TOLERANCE:
        failures.append(name)


def roots(pairs):
    return np.array([complex(re, im) for re, im in pairs])


def root_distance(ours, theirs):
    """Largest distance between matched roots (each of ours to a distinct nearest of theirs)."""
    if len(ours) != len(theirs):
        return float("inf")
    left = list(theirs)
    worst = 0.0
    for r in ours:
        d = [abs(r - t) for t in left]
        k = int(np.argmin(d))
        worst = max(worst, d[k])
        left.pop(k)
    return worst


def main():
    out = subprocess.run(sys.argv[1:], check=True, capture_output=True, text=True).stdout
    dump = json.loads(out)
    order, rs = dump["order"], dump["stopBandDb"]

    z, p, _ = signal.cheb2ap(order, rs)
    check("analog prototype poles", root_distance(roots(dump["analog"]["poles"]), p))
    check("analog prototype zeros", root_distance(roots(dump["analog"]["zeros"]), z))

    for d in dump["designs"]:
        cutoff = d["cutoff"]
        # SciPy normalizes the edge frequency to Nyquist.
        z, p, k = signal.cheby2(order, rs, 2 * cutoff, btype="low", analog=False, output="zpk")
        tag = f"cutoff {cutoff}"
        check(f"{tag}: layout poles", root_distance(roots(d["poles"]), p))
        check(f"{tag}: layout zeros", root_distance(roots(d["zeros"]), z))

        stages = np.array(d["stages"])
        stage_zeros = np.concatenate([np.roots([b0, b1, b2]) for b0, b1, b2, _, _ in stages])
        stage_poles = np.concatenate([np.roots([1.0, -c1, -c2]) for _, _, _, c1, c2 in stages])
        check(f"{tag}: stage zeros", root_distance(stage_zeros, z))
        check(f"{tag}: stage poles", root_distance(stage_poles, p))
        check(f"{tag}: gain", abs(np.prod(stages[:, 0]) - k) / abs(k))

        resp = np.array(d["response"])
        _, h = signal.freqz_zpk(z, p, k, worN=resp[:, 0])
        check(f"{tag}: frequency response", float(np.max(np.abs(resp[:, 1] + 1j * resp[:, 2] - h))))

    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
