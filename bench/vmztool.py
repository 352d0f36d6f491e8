#!/usr/bin/env python3
"""vmztool on a million elements: export to VTK and Gmsh, import from Gmsh (versions 2.2 and
4.1), the SVG picture and the check, each against trelmo's rea + wri of the same mesh.

The target is an export or an import within twice the time of rea + wri, and a check within
1.5 times the time of trelmo's rea alone.
"""
import os
import shutil
import subprocess
import sys
import time

from common import BUILD, copy_seconds, meshgen, rea_wri_seconds, run, size_mb, workdir

VMZTOOL = os.path.join(BUILD, "vmztool")


def tool(args, cwd, repeat=3):
    """Best wall time of `repeat` runs of vmztool with `args`, in seconds."""
    best = None
    for _ in range(repeat):
        start = time.perf_counter()
        p = subprocess.run([VMZTOOL] + args, cwd=cwd, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        if p.returncode != 0:
            sys.exit("vmztool failed: " + p.stderr.decode(errors="replace"))
        best = elapsed if best is None else min(best, elapsed)
    return best


def msh41_from_msh22(source, target):
    """The same mesh in Gmsh's version 4.1: one block of nodes and one block per element type."""
    with open(source) as f:
        text = f.read().split("$Nodes\n", 1)[1]
    node_text, element_text = text.split("$EndNodes\n$Elements\n", 1)
    node_lines = node_text.splitlines()[1:]
    element_lines = element_text.split("$EndElements")[0].splitlines()[1:]
    blocks = {}
    for line in element_lines:
        fields = line.split()
        ntags = int(fields[2])
        blocks.setdefault(int(fields[1]), []).append(fields[0] + " " + " ".join(fields[3 + ntags:]))
    with open(target, "w") as f:
        f.write("$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$Nodes\n")
        f.write(f"1 {len(node_lines)} 1 {len(node_lines)}\n3 1 0 {len(node_lines)}\n")
        f.writelines(line.split(" ", 1)[0] + "\n" for line in node_lines)
        f.writelines(line.split(" ", 1)[1] + "\n" for line in node_lines)
        f.write("$EndNodes\n$Elements\n")
        f.write(f"{len(blocks)} {len(element_lines)} 1 {len(element_lines)}\n")
        for gmsh_type, lines in blocks.items():
            dim = 0 if gmsh_type == 15 else 3 if gmsh_type in (5, 17) else 2
            f.write(f"{dim} 1 {gmsh_type} {len(lines)}\n")
            f.writelines(line + "\n" for line in lines)
        f.write("$EndElements\n")


def measure(d, job, label):
    path = os.path.join(d, job + ".vmz")
    floor = rea_wri_seconds(d, job)
    print(f"\n{label}: {size_mb(path):.1f} MB mesh file")
    print(f"  plain copy of the file:        {copy_seconds(path):7.3f} s")
    print(f"  trelmo rea + wri (the floor):  {floor:7.3f} s")

    def line(name, seconds, output=None):
        extra = f", {size_mb(os.path.join(d, output)):.1f} MB written" if output else ""
        print(f"  {name:30s} {seconds:7.3f} s  {seconds / floor:5.2f} x rea + wri{extra}")

    line("export --to vtk", tool(["export", job, "--to", "vtk"], d), job + ".vtk")
    line("export --to msh", tool(["export", job, "--to", "msh"], d), job + ".msh")
    line("import (MSH 2.2)", tool(["import", job + ".msh", "back22"], d), "back22.vmz")
    msh41_from_msh22(os.path.join(d, job + ".msh"), os.path.join(d, job + "41.msh"))
    line("import (MSH 4.1)", tool(["import", job + "41.msh", "back41"], d), "back41.vmz")
    line("svg", tool(["svg", job], d, repeat=1), job + ".svg")
    rea = run(["rea", job, "end"], d, repeat=5)
    check = tool(["check", job], d, repeat=5)
    print(f"  trelmo rea alone:               {rea:7.3f} s")
    print(f"  check                          {check:7.3f} s  {check / rea:5.2f} x rea")
    with open(path) as a, open(os.path.join(d, "back22.vmz")) as b:
        same = a.read() == b.read()
    print(f"  mesh file back from MSH 2.2 identical to the original: {'yes' if same else 'NO'}")
    for name in (".vtk", ".msh", "41.msh", ".svg"):
        os.remove(os.path.join(d, job + name))


def main():
    d = workdir()
    try:
        meshgen("brick", [100, 100, 100], os.path.join(d, "brick.vmz"))
        measure(d, "brick", "1,000,000 8-node bricks, 1,030,301 points")
        meshgen("quad", [1000, 1000], os.path.join(d, "plate.vmz"))
        measure(d, "plate", "1,000,000 closed 4-node quadrilaterals, 1,002,001 points")
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
