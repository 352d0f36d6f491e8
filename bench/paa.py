#!/usr/bin/env python3
"""Repetition arrays and motions on a million elements.

The headline figure: paa repeating a block of 100,000 bricks ten times (1,000,000 bricks) with
its hand-back, as a ratio to rea + wri of the resulting mesh. The other lines time cya the same
way, shr of a million bricks against rea + wri of its result, and rot on a million bricks
against rea + wri of the same mesh (rot adds one pass over the points).
"""
import os
import shutil

from common import copy_seconds, meshgen, rea_wri_seconds, run, size_mb, workdir


def make(d, answers):
    """Runs trelmo once to produce a file (not timed)."""
    run(answers, d, repeat=1)


def main():
    d = workdir()
    try:
        meshgen("brick", [100, 100, 10], os.path.join(d, "base.vmz"))

        paa = ["paa", "1", "1", "10", "0", "0", "1"]
        make(d, ["rea", "base"] + paa + ["wri", "paa_result", "end"])
        result = os.path.join(d, "paa_result.vmz")
        floor = rea_wri_seconds(d, "paa_result")
        t = run(["rea", "base"] + paa + ["end", "y"], d)
        print(f"paa 1 x 1 x 10 of 100,000 bricks -> 1,000,000 bricks, "
              f"{size_mb(result):.1f} MB")
        print(f"  plain copy of the result:      {copy_seconds(result):.3f} s")
        print(f"  rea + wri of the result:       {floor:.3f} s")
        print(f"  rea base + paa + hand-back:    {t:.3f} s  ({t / floor:.2f} x rea + wri)")

        cya = ["cya", "10", "c", "0", "0", "0", "0", "1", "0", "36"]
        make(d, ["rea", "base"] + cya + ["wri", "cya_result", "end"])
        floor = rea_wri_seconds(d, "cya_result")
        t = run(["rea", "base"] + cya + ["end", "y"], d)
        print(f"cya 10 x 36 degrees of 100,000 bricks -> 1,000,000 bricks")
        print(f"  rea + wri of the result:       {floor:.3f} s")
        print(f"  rea base + cya + hand-back:    {t:.3f} s  ({t / floor:.2f} x rea + wri)")

        make(d, ["rea", "paa_result", "shr", "", "wri", "shr_result", "end"])
        floor = rea_wri_seconds(d, "shr_result")
        t = run(["rea", "paa_result", "shr", "", "end", "y"], d)
        print(f"shr of 1,000,000 bricks -> 8,000,000 points, "
              f"{size_mb(os.path.join(d, 'shr_result.vmz')):.1f} MB")
        print(f"  rea + wri of the result:       {floor:.3f} s")
        print(f"  rea + shr + hand-back:         {t:.3f} s  ({t / floor:.2f} x rea + wri)")

        floor = rea_wri_seconds(d, "paa_result")
        t = run(["rea", "paa_result", "rot", "c", "0", "0", "0", "1", "1", "1", "30",
                 "wri", "bench_out", "end"], d)
        print(f"rot of 1,000,000 bricks")
        print(f"  rea + wri:                     {floor:.3f} s")
        print(f"  rea + rot + wri:               {t:.3f} s  ({t / floor:.2f} x rea + wri)")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
