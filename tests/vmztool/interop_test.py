#!/usr/bin/python3
"""vmztool against independent readers and writers.

    interop_test.py VMZTOOL TRELMO

- meshio (Debian's python3-meshio) and Gmsh read every file that `vmztool export` writes: the
  cell types, their counts, the coordinates, the node order of every cell and the special nodes
  are compared with the mesh file they came from.
- Gmsh writes the .msh files that `vmztool import` reads (a box of hexahedra, quadrangles of
  the second order on a curved surface, in versions 4.1 and 2.2); the mesh files are compared
  with meshio's reading of the same files.
- The SVG pictures are well-formed XML, and rsvg-convert renders them as non-empty pictures.

Exits with 77 (skipped) when meshio, gmsh or rsvg-convert is missing.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zlib

try:
    import meshio
except ImportError:
    print("skipped: python3-meshio is not installed")
    sys.exit(77)
for program in ("gmsh", "rsvg-convert"):
    if shutil.which(program) is None:
        print(f"skipped: {program} is not installed")
        sys.exit(77)

VMZTOOL, TRELMO = (os.path.abspath(p) for p in sys.argv[1:3])
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


# Reference positions of the nodes, parametric coordinates from -1 to 1.
# Trelmo's node order: lines end to end with the middle between, quadrilaterals counter-clockwise
# from a corner with corners and mid-side nodes alternating and the centre last, bricks the ring
# of the face u = -1, the four mid-height nodes, the ring of the face u = +1.
RING = [(-1, -1), (0, -1), (1, -1), (1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0)]
TRELMO_POSITIONS = {
    "line": [(-1, 0, 0), (1, 0, 0)],
    "line3": [(-1, 0, 0), (0, 0, 0), (1, 0, 0)],
    "quad": [(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)],
    "quad8": [(s, t, 0) for s, t in RING],
    "quad9": [(s, t, 0) for s, t in RING] + [(0, 0, 0)],
    "hexahedron": [(-1, -1, -1), (1, -1, -1), (1, 1, -1), (-1, 1, -1),
                   (-1, -1, 1), (1, -1, 1), (1, 1, 1), (-1, 1, 1)],
    "hexahedron20": [(s, t, -1) for s, t in RING]
    + [(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)]
    + [(s, t, 1) for s, t in RING],
}
# VTK's node order, which meshio uses for every format: corners, then mid-edge nodes (for the
# 20-node hexahedron the bottom ring's edges, the top ring's edges, the vertical edges), then the
# centre.
_CORNERS8 = TRELMO_POSITIONS["hexahedron"]
VTK_POSITIONS = {
    "line": [(-1, 0, 0), (1, 0, 0)],
    "line3": [(-1, 0, 0), (1, 0, 0), (0, 0, 0)],
    "quad": [(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)],
    "quad8": [(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0),
              (0, -1, 0), (1, 0, 0), (0, 1, 0), (-1, 0, 0)],
    "quad9": [(-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0),
              (0, -1, 0), (1, 0, 0), (0, 1, 0), (-1, 0, 0), (0, 0, 0)],
    "hexahedron": _CORNERS8,
    "hexahedron20": _CORNERS8
    + [(0, -1, -1), (1, 0, -1), (0, 1, -1), (-1, 0, -1),
       (0, -1, 1), (1, 0, 1), (0, 1, 1), (-1, 0, 1),
       (-1, -1, 0), (1, -1, 0), (1, 1, 0), (-1, 1, 0)],
}
# Node k of a VTK-ordered cell is node TRELMO_OF_VTK[type][k] of the trelmo list.
TRELMO_OF_VTK = {t: [TRELMO_POSITIONS[t].index(p) for p in VTK_POSITIONS[t]]
                 for t in VTK_POSITIONS}


def kind_of(entries):
    """meshio's cell type of a trelmo node list (closed lists are quadrilaterals)."""
    n = len(entries)
    if n >= 2 and entries[0] == entries[-1]:
        return {5: "quad", 9: "quad8", 10: "quad9"}.get(n)
    return {2: "line", 3: "line3", 4: "quad", 8: "hexahedron", 9: "quad9",
            20: "hexahedron20"}.get(n)


def open_list(entries):
    return entries[:-1] if len(entries) >= 2 and entries[0] == entries[-1] else entries


def read_vmz(path):
    with open(path) as f:
        main, title = f.readline().strip(), f.readline().strip()
        numbers = f.read().split()
    nelem, npoin, nspno = (int(x) for x in numbers[:3])
    pos = 3
    elements = []
    for _ in range(nelem):
        count = int(numbers[pos + 1])
        elements.append([int(x) for x in numbers[pos + 2:pos + 2 + count]])
        pos += 2 + count
    points = []
    for _ in range(npoin):
        points.append(tuple(float(x) for x in numbers[pos + 1:pos + 4]))
        pos += 4
    special = [int(numbers[pos + 2 * i + 1]) for i in range(nspno)]
    return {"titles": (main, title), "elements": elements, "points": points, "special": special}


def write_vmz(path, main, title, elements, points, special):
    with open(path, "w") as f:
        f.write(f"{main}\n{title}\n{len(elements):5d}   {len(points):5d}   {len(special):5d}\n")
        for i, e in enumerate(elements, 1):
            f.write(f"{i:5d} {len(e):5d}   " + "".join(f" {n:5d}" for n in e) + "\n")
        for i, p in enumerate(points, 1):
            f.write(f"{i:5d}" + "".join(f" {c:15.8f}" for c in p) + "\n")
        for i, p in enumerate(special, 1):
            f.write(f"{i:5d} {p:5d}\n")


def run(args, cwd, stdin=None):
    p = subprocess.run(args, cwd=cwd, input=stdin, capture_output=True, text=True)
    if p.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed ({p.returncode}):\n{p.stdout}\n{p.stderr}")
    return p


def close(a, b, tol=5e-9):
    return all(abs(x - y) <= tol * max(1.0, abs(x), abs(y)) for x, y in zip(a, b))


def same_nodes(a, b):
    """Whether two cells have their nodes at the same places, in any order."""
    if len(a) != len(b):
        return False
    left = list(b)
    for p in a:
        q = next((q for q in left if close(p, q)), None)
        if q is None:
            return False
        left.remove(q)
    return True


def cells_by_type(mesh):
    result = {}
    for block in mesh.cells:
        result.setdefault(block.type, []).extend(block.data.tolist())
    return result


def compare_cells(label, mesh, vmz, expect_special_group, unordered=()):
    """meshio's reading `mesh` holds the cells, points and special nodes of the mesh file; the
    node order is compared for every cell type but those in `unordered`."""
    points = [tuple(p) for p in mesh.points.tolist()]
    cells = cells_by_type(mesh)
    expected = {}
    for e in vmz["elements"]:
        t = kind_of(e)
        if t is not None:
            expected.setdefault(t, []).append(open_list(e))
    types = {t: len(c) for t, c in cells.items() if t != "vertex"}
    check(types == {t: len(c) for t, c in expected.items()},
          f"{label}: cell types and counts {types}, expected "
          f"{ {t: len(c) for t, c in expected.items()} }")
    check(len(points) == len(vmz["points"]),
          f"{label}: {len(points)} points, expected {len(vmz['points'])}")
    # Every element is a cell on the same nodes, in VTK's order. Cells are looked up by their
    # centre, then compared node by node.
    found = {}
    for t, blocks in cells.items():
        for c in blocks:
            coords = [points[i] for i in c]
            centre = tuple(round(sum(x) / len(coords), 3) for x in zip(*coords))
            found.setdefault((t, centre), []).append(coords)
    for t, lists in expected.items():
        for e in lists:
            coords = [vmz["points"][n - 1] for n in e]
            centre = tuple(round(sum(x) / len(coords), 3) for x in zip(*coords))
            near = [c for dx in (-0.001, 0, 0.001) for dy in (-0.001, 0, 0.001)
                    for dz in (-0.001, 0, 0.001)
                    for c in found.get((t, (round(centre[0] + dx, 3), round(centre[1] + dy, 3),
                                            round(centre[2] + dz, 3))), [])]
            cell = next((c for c in near if same_nodes(c, coords)), None)
            if not check(cell is not None, f"{label}: no {t} cell on the nodes {e}"):
                continue
            if t in unordered:
                continue
            in_vtk_order = [coords[TRELMO_OF_VTK[t][k]] for k in range(len(coords))]
            check(all(close(a, b) for a, b in zip(cell, in_vtk_order)),
                  f"{label}: {t} cell on the nodes {e} has its nodes out of order")
    if expect_special_group:
        special = sorted(vmz["points"][n - 1] for n in vmz["special"])
        tag = mesh.field_data.get("special_nodes", [None])[0]
        got = []
        for block, physical in zip(mesh.cells, mesh.cell_data.get("gmsh:physical", [])):
            if block.type == "vertex":
                got += [points[c[0]] for c, ph in zip(block.data.tolist(), physical) if ph == tag]
        check(len(got) == len(special) and all(close(a, b) for a, b in zip(sorted(got), special)),
              f"{label}: special-node group holds {sorted(got)}, expected {special}")


def every_kind_mesh(directory):
    """One element of each kind, each with points of its own placed by an affine map, and two
    special nodes."""
    elements, points = [], []
    kinds = ["line", "line3", "quad", "quad8", "quad9", "hexahedron", "hexahedron20"]
    for i, t in enumerate(kinds):
        start = len(points)
        for s, u, w in TRELMO_POSITIONS[t]:
            points.append((0.5 * s + 3 * i + 0.25 * u, 0.75 * u - 0.1 * i, 0.3 * w + 1.00000001))
        nodes = list(range(start + 1, len(points) + 1))
        elements.append(nodes + [nodes[0]] if t.startswith("quad") else nodes)
    write_vmz(os.path.join(directory, "all.vmz"), "Every kind", "Kinds", elements, points,
              [3, 41])


def trelmo_meshes(directory):
    """Meshes that trelmo itself makes: a refined quarter circle of 8-node quadrilaterals and a
    block of 20-node bricks."""
    run([TRELMO], directory, "csm\n5\n2\ngen\n2\n8\n4\n4\nwri\nquarter\nend\n")
    run([TRELMO], directory, "csm\n3\n2\n1\n1\ngen\n3\n20\n3\n2\n2\nwri\nblock\nend\n")


def test_exports(directory):
    every_kind_mesh(directory)
    trelmo_meshes(directory)
    for job in ("all", "quarter", "block"):
        vmz = read_vmz(os.path.join(directory, job + ".vmz"))
        for fmt in ("vtk", "msh"):
            run([VMZTOOL, "export", job, "--to", fmt], directory)
            path = os.path.join(directory, f"{job}.{fmt}")
            mesh = meshio.read(path)
            compare_cells(f"meshio reading {job}.{fmt}", mesh, vmz, fmt == "msh")
            if fmt == "vtk":
                flags = mesh.point_data["special_nodes"].flatten().tolist()
                expected = [1 if i + 1 in vmz["special"] else 0 for i in range(len(flags))]
                check(flags == expected, f"{job}.vtk: special_nodes point data {flags}")
            # Gmsh reads the file and writes it again in its own way. Gmsh 4.8 reads the node list
            # of a VTK quadratic hexahedron as if it were in its own order, which it is not (its
            # mid-edge nodes come in another order, as meshio and VTK have it); for that cell
            # type only the nodes are compared.
            again = os.path.join(directory, f"{job}_{fmt}_gmsh.msh")
            run(["gmsh", path, "-save", "-format", "msh22", "-o", again], directory)
            compare_cells(f"Gmsh reading {job}.{fmt}", meshio.read(again), vmz, fmt == "msh",
                          ("hexahedron20",) if fmt == "vtk" else ())


GEO_BOX = """SetFactory("Built-in");
Point(1) = {0, 0, 0}; Point(2) = {2, 0, 0}; Point(3) = {2, 1, 0}; Point(4) = {0, 1, 0};
Line(1) = {1, 2}; Line(2) = {2, 3}; Line(3) = {3, 4}; Line(4) = {4, 1};
Curve Loop(1) = {1, 2, 3, 4}; Plane Surface(1) = {1};
Transfinite Curve{1, 3} = 5; Transfinite Curve{2, 4} = 3;
Transfinite Surface{1}; Recombine Surface{1};
Extrude {0, 0, 1.5} { Surface{1}; Layers{3}; Recombine; }
Physical Volume("box") = {1};
Physical Point("special_nodes") = {1, 3};
"""

GEO_QUARTER_DISC = """SetFactory("Built-in");
Point(1) = {0, 0, 0}; Point(2) = {1, 0, 0}; Point(3) = {0, 1, 0};
Line(1) = {1, 2}; Circle(2) = {2, 1, 3}; Line(3) = {3, 1};
Curve Loop(1) = {1, 2, 3}; Plane Surface(1) = {1};
Mesh.RecombineAll = 1;
Mesh.MeshSizeMax = 0.3;
Physical Surface("plate") = {1};
Physical Point("special_nodes") = {2};
"""


def test_imports(directory):
    with open(os.path.join(directory, "box.geo"), "w") as f:
        f.write(GEO_BOX)
    with open(os.path.join(directory, "disc.geo"), "w") as f:
        f.write(GEO_QUARTER_DISC)
    cases = [  # geometry, dimension, extra Gmsh options, format, expected cell type
        ("box", "-3", [], "msh41", "hexahedron"),
        ("box", "-3", [], "msh22", "hexahedron"),
        ("box", "-3", ["-order", "2", "-setnumber", "Mesh.SecondOrderIncomplete", "1"],
         "msh41", "hexahedron20"),
        ("disc", "-2", ["-order", "2"], "msh41", "quad9"),
        ("disc", "-2", ["-order", "2", "-setnumber", "Mesh.SecondOrderIncomplete", "1"],
         "msh22", "quad8"),
    ]
    for n, (geometry, dimension, options, fmt, cell_type) in enumerate(cases):
        name = f"{geometry}{n}.msh"
        run(["gmsh", geometry + ".geo", dimension] + options + ["-format", fmt, "-o", name],
            directory)
        job = f"imported{n}"
        p = run([VMZTOOL, "import", name, job], directory)
        label = f"import of Gmsh's {name} ({fmt}, {cell_type})"
        vmz = read_vmz(os.path.join(directory, job + ".vmz"))
        mesh = meshio.read(os.path.join(directory, name))
        types = {kind_of(e) for e in vmz["elements"]}
        check(types == {cell_type}, f"{label}: element kinds {types}")
        # Gmsh saved the physical groups only: the volume or surface, and the special point.
        check(p.stderr == "", f"{label}: unexpected warning {p.stderr!r}")
        check(len(vmz["special"]) == (2 if geometry == "box" else 1),
              f"{label}: {len(vmz['special'])} special nodes")
        compare_cells(label, mesh, vmz, True)
        # Points keep the order of Gmsh's node numbers.
        check(all(close(a, b) for a, b in zip(vmz["points"], mesh.points.tolist())),
              f"{label}: points out of Gmsh's order")


def png_pixels(path):
    """Width, height and rows of RGBA bytes of an 8-bit, non-interlaced PNG file."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
    pos, compressed = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        chunk = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunk)
        elif kind == b"IDAT":
            compressed += chunk
    assert depth == 8 and interlace == 0, "unexpected PNG layout"
    bpp = {6: 4, 2: 3, 4: 2, 0: 1}[colour]
    raw = zlib.decompress(compressed)
    stride, rows, previous, i = width * bpp, [], bytearray(width * bpp), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = previous[x]
            c = previous[x - bpp] if x >= bpp else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        previous = line
    return width, height, bpp, rows


def test_svg(directory):
    for job, args in (("quarter", ["--numbers"]), ("quarter", ["--view", "iso"]),
                      ("block", []), ("all", ["--view", "x"]), ("imported0", ["--numbers"])):
        svg = os.path.join(directory, job + ".svg")
        run([VMZTOOL, "svg", job] + args, directory)
        label = f"svg of {job} {' '.join(args)}"
        try:
            root = ElementTree.parse(svg).getroot()
        except ElementTree.ParseError as error:
            check(False, f"{label}: not well-formed XML: {error}")
            continue
        check(root.tag == "{http://www.w3.org/2000/svg}svg", f"{label}: root element {root.tag}")
        nelem = len(read_vmz(os.path.join(directory, job + ".vmz"))["elements"])
        paths = root.findall(".//{http://www.w3.org/2000/svg}path")
        check(len(paths) == nelem, f"{label}: {len(paths)} paths for {nelem} elements")
        png = os.path.join(directory, job + ".png")
        run(["rsvg-convert", "-w", "300", svg, "-o", png], directory)
        width, height, bpp, rows = png_pixels(png)
        dark = sum(1 for row in rows for x in range(0, len(row), bpp)
                   if sum(row[x:x + 3]) < 3 * 200 and (bpp < 4 or row[x + 3] > 0))
        check(width == 300 and height > 0, f"{label}: picture of {width} x {height}")
        check(dark > 0.01 * width * height,
              f"{label}: only {dark} drawn pixels in {width} x {height}")


def main():
    directory = tempfile.mkdtemp(prefix="vmztool-interop-")
    try:
        for test in (test_exports, test_imports, test_svg):
            before = len(failures)
            try:
                test(directory)
            except Exception as error:  # a crash of one group is reported, the others go on
                failures.append(f"{test.__name__}: {type(error).__name__}: {error}")
            print(f"{test.__name__}: {'ok' if len(failures) == before else 'FAILED'}")
    finally:
        shutil.rmtree(directory)
    for f in failures:
        print("FAILED:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
