#!/usr/bin/python3
"""vmztool against meshio, Gmsh (writing what it imports) and rsvg-convert (usage: interop_test.py
VMZTOOL TRELMO). Exits with 77 (skipped) when meshio, gmsh or rsvg is missing."""
import os, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ElementTree

try:
    import meshio
except ImportError:
    sys.exit(print("skipped: python3-meshio is not installed") or 77)
if not (shutil.which("gmsh") and shutil.which("rsvg-convert")):
    sys.exit(print("skipped: gmsh or rsvg-convert is not installed") or 77)
VMZTOOL, TRELMO = (os.path.abspath(p) for p in sys.argv[1:3])

# Parametric node positions in trelmo's order: quadrilaterals counter-clockwise from a corner,
# corners and mid-sides alternating, centre last; bricks: ring at w = -1, mid-height, ring at
# w = +1. In VTK's order (meshio's): corners, mid-edges (bottom, top, vertical), centre.
RING = [(-1, -1), (0, -1), (1, -1), (1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0)]
CORNERS = [(-1, -1), (1, -1), (1, 1), (-1, 1)]
AT = {"line": [(-1, 0, 0), (1, 0, 0)], "line3": [(-1, 0, 0), (0, 0, 0), (1, 0, 0)],
      "quad": [(s, t, 0) for s, t in CORNERS], "quad8": [(s, t, 0) for s, t in RING],
      "quad9": [(s, t, 0) for s, t in RING] + [(0, 0, 0)],
      "hexahedron": [(s, t, w) for w in (-1, 1) for s, t in CORNERS],
      "hexahedron20": [(s, t, w) for w in (-1, 0, 1) for s, t in (CORNERS if w == 0 else RING)]}
MIDS = [(0, -1), (1, 0), (0, 1), (-1, 0)]
VTK = {"line": AT["line"], "line3": [(-1, 0, 0), (1, 0, 0), (0, 0, 0)], "quad": AT["quad"],
       "quad8": [(s, t, 0) for s, t in CORNERS + MIDS], "hexahedron": AT["hexahedron"],
       "quad9": [(s, t, 0) for s, t in CORNERS + MIDS] + [(0, 0, 0)],
       "hexahedron20": AT["hexahedron"]
       + [(s, t, w) for w in (-1, 1, 0) for s, t in (MIDS if w else CORNERS)]}
ORDER = {t: [AT[t].index(p) for p in VTK[t]] for t in VTK}
KIND = {(2, 0): "line", (3, 0): "line3", (4, 0): "quad", (5, 1): "quad", (8, 0): "hexahedron",
        (9, 1): "quad8", (9, 0): "quad9", (10, 1): "quad9", (20, 0): "hexahedron20"}

def read_vmz(path):
    words = open(path).read().split("\n", 2)[2].split()
    nelem, npoin, nspno = (int(w) for w in words[:3])
    at, elements = 3, []
    for _ in range(nelem):
        elements.append([int(w) for w in words[at + 2:at + 2 + int(words[at + 1])]])
        at += 2 + len(elements[-1])
    points = [tuple(float(w) for w in words[at + 4 * i + 1:at + 4 * i + 4]) for i in range(npoin)]
    return elements, points, [int(words[at + 4 * npoin + 2 * i + 1]) for i in range(nspno)]

def compare(label, mesh, path):
    """meshio's `mesh` holds the cells (in VTK's order), points and special nodes of `path`."""
    elements, points, specials = read_vmz(path)
    assert len(mesh.points) == len(points) and all(
        abs(a - b) < 1e-8 * max(1, abs(b)) for p, q in zip(mesh.points.tolist(), points)
        for a, b in zip(p, q)), label + ": points"
    want, got = {}, {}
    for e in elements:
        t = KIND.get((len(e), int(e[0] == e[-1])))
        want.setdefault(t, []).append([e[k] - 1 for k in ORDER[t]])
    for block in mesh.cells:
        got.setdefault(block.type, []).extend(block.data.tolist())
    got.pop("vertex", None)
    assert got == want, f"{label}: cells {got} against {want}"
    if "special_nodes" in mesh.point_data:
        flags = mesh.point_data["special_nodes"].flatten().tolist()
        assert flags == [int(p + 1 in specials) for p in range(len(points))], label
    elif specials:
        tag = mesh.field_data["special_nodes"][0]
        group = [c[0] + 1 for block, tags in zip(mesh.cells, mesh.cell_data["gmsh:physical"])
                 if block.type == "vertex" for c, b in zip(block.data.tolist(), tags) if b == tag]
        assert sorted(group) == sorted(specials), f"{label}: special nodes {group}"

def run(args, stdin=None):
    return subprocess.run(args, input=stdin, capture_output=True, text=True, check=True)

def main():
    # One element of every kind on points of its own (an affine map of its positions), and
    # meshes that trelmo makes: a quarter circle of 8-node quadrilaterals, 20-node bricks.
    elements, points = [], []
    for i, t in enumerate(AT):  # line, line3, quad, quad8, quad9, hexahedron, hexahedron20
        nodes = list(range(len(points) + 1, len(points) + 1 + len(AT[t])))
        points += [(0.5 * s + 3 * i + 0.25 * u, 0.75 * u - 0.1 * i, 0.3 * w + 1.00000001)
                   for s, u, w in AT[t]]
        elements.append(nodes + [nodes[0]] if t.startswith("quad") else nodes)
    open("all.vmz", "w").write(
        f"Every kind\nKinds\n{len(elements)} {len(points)} 2\n"
        + "".join(f"{i} {len(e)} {' '.join(map(str, e))}\n" for i, e in enumerate(elements, 1))
        + "".join(f"{i} %.8f %.8f %.8f\n" % p for i, p in enumerate(points, 1)) + "1 3\n2 41\n")
    run([TRELMO], "csm\n5\n2\ngen\n2\n8\n4\n4\nwri\nquarter\nend\n")
    run([TRELMO], "csm\n3\n2\n1\n1\ngen\n3\n20\n3\n2\n2\nwri\nblock\nend\n")
    for job in ("all", "quarter", "block"):
        for fmt in ("vtk", "msh"):
            run([VMZTOOL, "export", job, "--to", fmt])
            compare(f"{job}.{fmt}", meshio.read(f"{job}.{fmt}"), job + ".vmz")
    open("box.geo", "w").write(
        "Point(1) = {0, 0, 0}; Point(2) = {2, 0, 0}; Point(3) = {2, 1, 0}; Point(4) = {0, 1, 0};\n"
        "Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4}; Line(4) = {4, 1};\n"
        "Curve Loop(1) = {1, 2, 3, 4}; Plane Surface(1) = {1};\nTransfinite Curve{1, 3} = 5;"
        " Transfinite Curve{2, 4} = 3; Transfinite Surface{1}; Recombine Surface{1};\n"
        "Extrude {0, 0, 1.5} { Surface{1}; Layers{3}; Recombine; }\n"
        "Physical Volume(\"box\") = {1}; Physical Point(\"special_nodes\") = {1, 3};\n")
    open("disc.geo", "w").write(
        "Point(1) = {0, 0, 0}; Point(2) = {1, 0, 0}; Point(3) = {0, 1, 0};\n"
        "Line(1) = {1, 2}; Circle(2) = {2, 1, 3}; Line(3) = {3, 1};\n"
        "Curve Loop(1) = {1, 2, 3}; Plane Surface(1) = {1};\nMesh.RecombineAll = 1;"
        " Mesh.MeshSizeMax = 0.3;\nPhysical Surface(\"plate\") = {1};"
        " Physical Point(\"special_nodes\") = {2};\n")
    incomplete = "-order 2 -setnumber Mesh.SecondOrderIncomplete 1"
    cases = [("box", "-3", "msh22"), ("box", "-3 " + incomplete, "msh41"),
             ("disc", "-2 -order 2", "msh41"), ("disc", "-2 " + incomplete, "msh22")]
    for n, (geo, options, fmt) in enumerate(cases):
        run(["gmsh", geo + ".geo", *options.split(), "-format", fmt, "-o", f"g{n}.msh"])
        p = run([VMZTOOL, "import", f"g{n}.msh", f"g{n}"])
        assert p.stderr == "", p.stderr
        compare(f"import of g{n}.msh", meshio.read(f"g{n}.msh"), f"g{n}.vmz")
    # Each picture well-formed XML, with one path an element, rendered.
    for job, options in (("quarter", ["--numbers"]), ("block", ["--view", "iso"]),
                         ("all", ["--view", "x"])):
        run([VMZTOOL, "svg", job] + options)
        paths = ElementTree.parse(job + ".svg").findall(".//{http://www.w3.org/2000/svg}path")
        assert len(paths) == len(read_vmz(job + ".vmz")[0]), job
        run(["rsvg-convert", "-w", "300", job + ".svg", "-o", job + ".png"])
        assert os.path.getsize(job + ".png") > 1000, job

with tempfile.TemporaryDirectory(prefix="vmztool-interop-") as work:
    os.chdir(work)
    main()
print("ok")
