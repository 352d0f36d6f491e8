#!/usr/bin/env python3
"""DXF drawings of a million elements: dxo (polylines, all marks and numbers) and dxi of the
result, as ratios to rea + wri of the same mesh through trelmo.

A drawing holds several times the text of the mesh file: every vertex of every polyline is a
twelve-line entity, and every node gets a mark and a number.
"""
import os
import shutil
import sys

from common import copy_seconds, meshgen, rea_wri_seconds, run, size_mb, workdir

REPEAT = 2


def main():
    kind = sys.argv[1] if len(sys.argv) > 1 else "quad"
    sizes = {"quad": [1000, 1000], "brick": [100, 100, 100]}[kind]
    d = workdir()
    try:
        job = os.path.join(d, "mesh.vmz")
        meshgen(kind, sizes, job)
        mb = size_mb(job)

        rw = rea_wri_seconds(d, "mesh", REPEAT)
        rea = run(["rea", "mesh", "end"], d, REPEAT)
        size = "0.1"
        dxo = run(["rea", "mesh", "dxo", "drawing", "p", "n", "y", "y", "y", "y", "y",
                   size, size, size, size, "end"], d, REPEAT)
        drawing = os.path.join(d, "drawing.dxf")
        dxf_mb = size_mb(drawing)
        copy = copy_seconds(drawing, REPEAT)
        dxi = run(["dxi", "drawing", "end"], d, REPEAT)

        print(f"mesh: 1,000,000 {kind} elements, {mb:.1f} MB mesh file; "
              f"drawing {dxf_mb:.1f} MB ({dxf_mb / mb:.1f} x the mesh file)")
        print(f"rea + wri:                  {rw:.3f} s  (the reference)")
        print(f"rea alone:                  {rea:.3f} s")
        print(f"rea + dxo:                  {dxo:.3f} s  = {dxo / rw:.2f} x rea + wri  "
              f"(dxo itself {dxo - rea:.3f} s, {dxf_mb / (dxo - rea):.0f} MB/s written)")
        print(f"dxi of the drawing:         {dxi:.3f} s  = {dxi / rw:.2f} x rea + wri  "
              f"({2 * dxf_mb / dxi:.0f} MB/s over its two passes)")
        print(f"plain copy of the drawing:  {copy:.3f} s")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
