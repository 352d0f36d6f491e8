#!/usr/bin/env python3
"""Reading and writing mesh files: rea + wri of a million 8-node bricks through trelmo."""
import os
import shutil

from common import copy_seconds, meshgen, rea_wri_seconds, run, size_mb, workdir


def main():
    d = workdir()
    try:
        job = os.path.join(d, "brick.vmz")
        meshgen("brick", [100, 100, 100], job)
        mb = size_mb(job)
        copy = copy_seconds(job)
        start_end = run(["end"], d)
        rw = rea_wri_seconds(d, "brick")
        print(f"mesh file: 1,000,000 bricks, 1,030,301 points, {mb:.1f} MB")
        print(f"plain copy of the file:   {copy:.3f} s")
        print(f"trelmo start and end:     {start_end:.3f} s")
        print(f"rea + wri through trelmo: {rw:.3f} s  "
              f"({2 * mb / rw:.0f} MB/s read and written, {rw / copy:.1f} x the copy)")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
