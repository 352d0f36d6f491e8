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
import shutil
import sys

from common import copy_seconds, meshgen, size_mb, timed, workdir

REPEAT = 3


def main():
    kind = sys.argv[1] if len(sys.argv) > 1 else "quad"
    sizes = {"quad": [1000, 1000], "brick": [100, 100, 100]}[kind]
    d = workdir()
    try:
        job = os.path.join(d, "mesh.vmz")
        meshgen(kind, sizes, job)
        mb = size_mb(job)
        size = "0.1"
        rw = timed(["rea", "mesh", "wri", "bench_out", "end"], d, REPEAT)
        rea = timed(["rea", "mesh", "end"], d, REPEAT)
        dxo = timed(["rea", "mesh", "dxo", "drawing", "p", "n", "y", "y", "y", "y", "y",
                     size, size, size, size, "end"], d, REPEAT)
        drawing = os.path.join(d, "drawing.dxf")
        dxf_mb = size_mb(drawing)
        copy = copy_seconds(drawing, REPEAT)
        dxi = timed(["dxi", "drawing", "end"], d, REPEAT)

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
