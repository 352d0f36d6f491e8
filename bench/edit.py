#!/usr/bin/env python3
"""Editing commands on million-point meshes, timed through trelmo.

ren with joining runs on eight touching copies of a block of bricks (a 2 x 2 x 2 array of
copies, each with its own points, so every shared face holds coincident points); elp and snd run
on a block of a million bricks. Each figure is given as

    command cost = time(rea + command + end) - time(rea + end)
    ratio        = command cost / time(rea + wri + end)   (same mesh, same machine, this run)

The command cost includes writing tmp.vmz (or tmp.snd) and the shell's reading it back. Times
are the best of a few runs, as wall-clock seconds and as processor seconds (user + system time
of the trelmo process); on a shared machine the processor time is the steadier figure.
"""
import os
import shutil

from common import meshgen, size_mb, timed as run, workdir


def write_touching_copies(path, n, copies=2):
    """copies^3 blocks of n^3 8-node bricks, block (i, j, k) shifted by n bricks per index:
    (n + 1)^3 points a block; the faces of neighbouring blocks coincide."""
    m = n + 1
    per_block = m ** 3
    blocks = [(i, j, k) for k in range(copies) for j in range(copies) for i in range(copies)]
    nelem = len(blocks) * n ** 3
    npoin = len(blocks) * per_block
    with open(path, "w") as f:
        f.write("Touching copies\nBench\n%5d   %5d   %5d\n" % (nelem, npoin, 0))
        e = 0
        for b in range(len(blocks)):
            base = b * per_block + 1
            rows = []
            for z in range(n):
                for y in range(n):
                    for x in range(n):
                        p = base + x + m * (y + m * z)
                        q = p + m * m
                        e += 1
                        rows.append("%5d %5d    %5d %5d %5d %5d %5d %5d %5d %5d\n" % (
                            e, 8, p, p + 1, p + 1 + m, p + m, q, q + 1, q + 1 + m, q + m))
            f.write("".join(rows))
        ip = 0
        for (bi, bj, bk) in blocks:
            rows = []
            for z in range(m):
                for y in range(m):
                    for x in range(m):
                        ip += 1
                        rows.append("%5d %15.8f %15.8f %15.8f\n" % (
                            ip, 0.1 * (bi * n + x), 0.1 * (bj * n + y), 0.1 * (bk * n + z)))
            f.write("".join(rows))
    return nelem, npoin


class Mesh:
    """The floors of one mesh: rea + end, and rea + wri + end."""

    def __init__(self, d, job):
        self.d, self.job = d, job
        self.rea = run(["rea", job, "end"], d)
        self.rea_wri = run(["rea", job, "wri", "bench_out", "end"], d)
        os.remove(os.path.join(d, "bench_out.vmz"))

    def report(self, name, answers, repeat=3):
        # Every command here changes the buffer, so end asks "Leave anyway".
        total = run(["rea", self.job] + answers + ["end", "y"], self.d, repeat)
        cost = [total[i] - self.rea[i] for i in (0, 1)]
        ratio = [cost[i] / self.rea_wri[i] for i in (0, 1)]
        print(f"  {name:40s} {cost[0]:6.2f} s wall (ratio {ratio[0]:4.2f})   "
              f"{cost[1]:6.2f} s cpu (ratio {ratio[1]:4.2f})")

    def floors(self):
        return (f"rea + end {self.rea[0]:.2f} s wall / {self.rea[1]:.2f} s cpu; "
                f"rea + wri + end {self.rea_wri[0]:.2f} s wall / {self.rea_wri[1]:.2f} s cpu")


def main():
    d = workdir()
    defaults = ["ren", "", "", "", "", "", "", ""]
    try:
        job = os.path.join(d, "copies.vmz")
        nelem, npoin = write_touching_copies(job, 49)
        mesh = Mesh(d, "copies")
        print(f"touching copies: {nelem:,} bricks, {npoin:,} points, {size_mb(job):.1f} MB")
        print("  " + mesh.floors())
        mesh.report("ren, defaults (joining)", defaults)
        mesh.report("ren, without joining", ["ren", "", "", "", "", "", "n", ""])
        os.remove(job)

        job = os.path.join(d, "brick.vmz")
        meshgen("brick", [100, 100, 100], job)
        mesh = Mesh(d, "brick")
        print(f"block: 1,000,000 bricks, 1,030,301 points, {size_mb(job):.1f} MB")
        print("  " + mesh.floors())
        mesh.report("elp", ["elp"])
        mesh.report("ren, defaults", defaults)
        # snd: the plane z = 0 (10,201 points) and a line along x (101 points); then the same
        # with a plane whose tolerance takes every point (a million scratch entries to sort).
        plane_z0 = ["3", "", "c", "0", "0", "0", "1", "0", "0", "0", "1", "0"]
        line_x = ["2", "", "c", "0", "0", "0", "10", "0", "0"]
        plane_all = ["3", "1e9", "c", "0", "0", "0", "0", "1", "0", "0", "0", "1"]
        mesh.report("snd, plane + line", ["snd"] + plane_z0 + line_x + ["0"])
        mesh.report("snd, plane + line + every point", ["snd"] + plane_z0 + line_x + plane_all +
                    ["0"])
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
