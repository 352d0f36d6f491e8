#!/usr/bin/env python3
"""Reading and writing mesh files: rea + wri of a million 8-node bricks through trelmo, with 1, 2
and all the machine's threads (TRELMO_THREADS), beside a plain copy of the file and Gmsh reading
and writing the same mesh in its own format.

Rates count the bytes read and written. The targets: at least 500 MB/s with every thread of a
2-core machine, one thread no slower than before the threads, and the peak memory within 1.5
times the buffer's arrays plus the file's size.
"""
import os
import shutil
import subprocess
import sys
import time

from common import BUILD, TRELMO, copy_seconds, meshgen, run, size_mb, workdir

VMZTOOL = os.path.join(BUILD, "vmztool")
NELEM, NPOIN = 1_000_000, 1_030_301


def rea_wri(cwd, threads, repeat=5):
    """Best wall time in seconds and the largest peak memory in MB of rea + wri with `threads`."""
    text = "rea\nbrick\nwri\nbench_out\nend\n".encode()
    env = dict(os.environ, TRELMO_THREADS=str(threads))
    best, peak = None, 0
    for _ in range(repeat):
        start = time.perf_counter()
        p = subprocess.Popen([TRELMO], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, cwd=cwd, env=env)
        p.stdin.write(text)
        p.stdin.close()
        _, status, usage = os.wait4(p.pid, 0)
        elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit("trelmo failed")
        best = elapsed if best is None else min(best, elapsed)
        peak = max(peak, usage.ru_maxrss / 1024)
    return best, peak


def seconds(args, cwd, repeat=3):
    best = None
    for _ in range(repeat):
        start = time.perf_counter()
        subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    d = workdir()
    try:
        job = os.path.join(d, "brick.vmz")
        meshgen("brick", [100, 100, 100], job)
        mb = size_mb(job)
        arrays = (NELEM * 21 * 4 + NPOIN * 3 * 8) / 2**20
        bound = 1.5 * (arrays + os.path.getsize(job) / 2**20)
        copy = copy_seconds(job)
        print(f"mesh file: 1,000,000 bricks, 1,030,301 points, {mb:.1f} MB; "
              f"{os.cpu_count()} hardware threads; load average {os.getloadavg()[0]:.2f}")
        print(f"trelmo start and end:       {run(['end'], d):.3f} s")
        print(f"plain copy of the file:     {copy:.3f} s  ({2 * mb / copy:5.0f} MB/s)")
        for threads in sorted({1, 2, os.cpu_count() or 1}):
            rw, peak = rea_wri(d, threads)
            print(f"rea + wri, {threads:2d} thread(s):  {rw:.3f} s  ({2 * mb / rw:5.0f} MB/s, "
                  f"{rw / copy:4.1f} x the copy, peak memory {peak:.0f} MB of {bound:.0f} allowed)")
        if shutil.which("gmsh"):
            seconds([VMZTOOL, "export", "brick", "--to", "msh"], d, repeat=1)
            msh = size_mb(os.path.join(d, "brick.msh"))
            g = seconds(["gmsh", "-0", "brick.msh", "-o", "gmsh_out.msh", "-format", "msh22"], d)
            out = size_mb(os.path.join(d, "gmsh_out.msh"))
            print(f"Gmsh reading and writing the mesh (MSH 2.2, {msh:.1f} MB): {g:.3f} s  "
                  f"({(msh + out) / g:5.0f} MB/s)")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
