#!/usr/bin/env python3
"""Writing the _gl.dat file: gld on a million quadrilaterals and a million bricks through trelmo.

A session rea + gld + end is compared with rea + wri + end on the same mesh (the floor of a
command that reads a mesh and writes a file of the same size), and the time of gld alone (the
session less rea + end) with a plain copy of the file it wrote. Both gld and wri put their file
in place only once it is safely on disk, so both include the time to flush it.
"""
import os
import shutil

from common import copy_seconds, meshgen, rea_wri_seconds, run, size_mb, workdir


def measure(d, kind, sizes, answers, label):
    job = os.path.join(d, kind + ".vmz")
    meshgen(kind, sizes, job)
    read_only = run(["rea", kind, "end"], d, repeat=5)
    rea_wri = rea_wri_seconds(d, kind, repeat=5)
    with_gld = run(["rea", kind, "gld", "out"] + answers + ["end"], d, repeat=5)
    out = os.path.join(d, "out_gl.dat")
    mb = size_mb(out)
    copy = copy_seconds(out)
    gld = max(with_gld - read_only, 1e-9)
    print(f"{label}: mesh file {size_mb(job):.1f} MB, _gl.dat {mb:.1f} MB")
    print(f"  rea + end:        {read_only:.3f} s")
    print(f"  rea + wri + end:  {rea_wri:.3f} s")
    print(f"  rea + gld + end:  {with_gld:.3f} s  ({with_gld / rea_wri:.2f} x rea + wri)")
    print(f"  gld alone:        {gld:.3f} s  ({mb / gld:.0f} MB/s written; "
          f"a plain copy of the file takes {copy:.3f} s)")
    for name in (job, out, os.path.join(d, "bench_out.vmz")):
        if os.path.exists(name):
            os.remove(name)


def main():
    d = workdir()
    try:
        # Closed 4-node lists, plane stress, coordinates (x1,x2).
        measure(d, "quad", [1000, 1000], ["1", "1"], "1,000,000 closed quadrilaterals, type 1")
        # 8-node bricks, solid.
        measure(d, "brick", [100, 100, 100], ["4"], "1,000,000 8-node bricks, type 4")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
