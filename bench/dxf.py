#!/usr/bin/env python3
"""DXF drawings of a million elements: dxo (polylines, all marks and numbers) and dxi of the
result, as ratios to rea + wri of the same mesh through trelmo.

A drawing holds several times the text of the mesh file: every vertex of every polyline is a
twelve-line entity, and every node gets a mark and a number.

Each figure is the best of a few runs, as wall time and as processor time (user + system of the
trelmo process). On a shared machine the processor time is the steadier of the two; the wall
time also holds the wait for the disk (every user-named file is synced before it replaces the
old one).

usage: dxf.py [quad|brick]
"""
import os
import resource
import shutil
import subprocess
import sys
import time

from common import TRELMO, copy_seconds, meshgen, size_mb, workdir

REPEAT = 3


def timed(answers, cwd, repeat=REPEAT):
    """Best wall time and best processor time of `repeat` runs, in seconds."""
    text = "".join(a + "\n" for a in answers).encode()
    best_wall = best_cpu = None
    for _ in range(repeat):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        p = subprocess.run([TRELMO], input=text, cwd=cwd, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE)
        wall = time.perf_counter() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        if p.returncode != 0:
            sys.exit("trelmo failed: " + p.stderr.decode(errors="replace"))
        cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best_wall = wall if best_wall is None else min(best_wall, wall)
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
    return best_wall, best_cpu


def main():
    kind = sys.argv[1] if len(sys.argv) > 1 else "quad"
    sizes = {"quad": [1000, 1000], "brick": [100, 100, 100]}[kind]
    d = workdir()
    try:
        job = os.path.join(d, "mesh.vmz")
        meshgen(kind, sizes, job)
        mb = size_mb(job)
        size = "0.1"
        rw = timed(["rea", "mesh", "wri", "bench_out", "end"], d)
        rea = timed(["rea", "mesh", "end"], d)
        dxo = timed(["rea", "mesh", "dxo", "drawing", "p", "n", "y", "y", "y", "y", "y",
                     size, size, size, size, "end"], d)
        drawing = os.path.join(d, "drawing.dxf")
        dxf_mb = size_mb(drawing)
        copy = copy_seconds(drawing, REPEAT)
        dxi = timed(["dxi", "drawing", "end"], d)

        print(f"mesh: 1,000,000 {kind} elements, {mb:.1f} MB mesh file; "
              f"drawing {dxf_mb:.1f} MB ({dxf_mb / mb:.1f} x the mesh file)")
        print(f"{'':28}{'wall':>9}{'ratio':>8}{'cpu':>10}{'ratio':>8}")

        def row(name, t):
            print(f"{name:28}{t[0]:8.3f}s{t[0] / rw[0]:8.2f}{t[1]:9.3f}s{t[1] / rw[1]:8.2f}")

        row("rea + wri (the reference)", rw)
        row("rea alone", rea)
        row("rea + dxo", dxo)
        row("dxi of the drawing", dxi)
        print(f"dxo alone: {dxo[0] - rea[0]:.3f} s wall, {dxo[1] - rea[1]:.3f} s cpu; "
              f"dxi reads {2 * dxf_mb / dxi[0]:.0f} MB/s over its two passes; "
              f"plain copy of the drawing {copy:.3f} s")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
