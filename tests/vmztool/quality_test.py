#!/usr/bin/python3
"""vmztool check against VTK's mesh-quality filter (Verdict) and VTK's quadratic cells, and on
meshes that trelmo makes (usage: quality_test.py VMZTOOL TRELMO). Exits with 77 (skipped) when
python3-vtk9 is missing."""
import json, os, random, subprocess, sys, tempfile

try:
    import vtk
except ImportError:
    sys.exit(print("skipped: python3-vtk9 is not installed") or 77)
VMZTOOL, TRELMO = (os.path.abspath(p) for p in sys.argv[1:3])
RING = [(-1, -1), (0, -1), (1, -1), (1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0)]
CORNERS = RING[0::2]
# Parametric positions in trelmo's node order, and the VTK cell type with its node order
# (corners, then mid-edges: bottom ring, top ring, vertical) as positions in trelmo's list.
AT = {"quad": [(s, t, 0) for s, t in CORNERS], "hexahedron": [(s, t, w) for w in (-1, 1)
      for s, t in CORNERS], "quad8": [(s, t, 0) for s, t in RING],
      "hexahedron20": [(s, t, w) for w in (-1, 0, 1) for s, t in (RING if w else CORNERS)]}
VTK = {"quad": (9, [0, 1, 2, 3]), "hexahedron": (12, list(range(8))),
       "quad8": (23, [0, 2, 4, 6, 1, 3, 5, 7]),
       "hexahedron20": (25, [0, 2, 4, 6, 12, 14, 16, 18, 1, 3, 5, 7, 13, 15, 17, 19, 8, 9, 10, 11])}

def mesh(kind, n, jitter, rng):
    """n x n (x n) elements of `kind` on a unit grid, every node moved at random by up to
    `jitter`; points as written with 8 decimals."""
    dims = 3 if kind.startswith("hex") else 2
    index, points, elements = {}, [], []
    for cell in [(i, j, k) for i in range(n) for j in range(n) for k in range(n if dims == 3 else 1)]:
        nodes = []
        for s, t, w in AT[kind]:
            at = (2 * cell[0] + s + 1, 2 * cell[1] + t + 1, 2 * cell[2] + w + 1 if dims == 3 else 0)
            if at not in index:
                points.append(tuple(float("%.8f" % (x / 2 + (rng.uniform(-jitter, jitter) if j < dims else 0)))
                                    for j, x in enumerate(at)))
                index[at] = len(points)
            nodes.append(index[at])
        elements.append(nodes + [nodes[0]] if dims == 2 else nodes)
    return elements, points

def write(job, elements, points):
    with open(job + ".vmz", "w") as f:
        f.write(f"{job}\nM\n{len(elements)} {len(points)} 0\n")
        f.writelines(f"{i} {len(e)} {' '.join(map(str, e))}\n" for i, e in enumerate(elements, 1))
        f.writelines(f"{i} %.8f %.8f %.8f\n" % p for i, p in enumerate(points, 1))

def check(job, *options):
    p = subprocess.run([VMZTOOL, "check", job, "--json", *options], capture_output=True, text=True)
    assert p.returncode in (0, 1) and p.stderr == "", p.stderr
    report = json.loads(p.stdout)
    assert p.returncode == (0 if report["fit"] else 1)
    return report

def cells(kind, elements, points):
    grid, pts = vtk.vtkUnstructuredGrid(), vtk.vtkPoints()
    pts.SetDataTypeToDouble()
    for p in points:
        pts.InsertNextPoint(*p)
    grid.SetPoints(pts)
    ctype, order = VTK[kind]
    for e in elements:
        ids = vtk.vtkIdList()
        for k in order:
            ids.InsertNextId(e[k] - 1)
        grid.InsertNextCell(ctype, ids)
    return grid

def verdict(grid, measure):
    f = vtk.vtkMeshQuality()
    f.SetInputData(grid)
    getattr(f, measure)()
    f.Update()
    q = f.GetOutput().GetCellData().GetArray("Quality")
    return [q.GetValue(i) for i in range(q.GetNumberOfTuples())]

def determinants(cell, points, dims):
    """VTK's Jacobian determinant at the corners and the 3-point Gauss points (parameters in
    [0, 1]), along the normal at the centre for quadrilaterals; the smallest over the largest."""
    x = [points[cell.GetPointId(i)] for i in range(cell.GetNumberOfPoints())]
    n = len(x)
    def jac(r):
        d = [0.0] * (n * dims)
        cell.InterpolateDerivs(list(r) + [0] * (3 - dims), d)
        return [[sum(d[k * n + i] * x[i][c] for i in range(n)) for c in range(3)] for k in range(dims)]
    cross = lambda a, b: [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]
    dot = lambda a, b: sum(p * q for p, q in zip(a, b))
    normal = cross(*jac([0.5, 0.5])) if dims == 2 else None
    g = 0.6 ** 0.5 / 2
    at = [[a, b, c] for row in ([0, 1], [0.5 - g, 0.5, 0.5 + g]) for a in row for b in row
          for c in (row if dims == 3 else [0])]
    dets = [dot(cross(*j), normal) if dims == 2 else dot(j[0], cross(j[1], j[2]))
            for j in map(jac, (r[:dims] for r in at))]
    return min(dets) / max(map(abs, dets)), min(dets) <= 0, min(dets[:2 ** dims]) > 0

def close(a, b):
    return abs(a - b) <= 1e-9 * max(1, abs(b))

def main():
    rng = random.Random(16)
    measures = {"quad": ["ScaledJacobian", "EdgeRatio", "Warpage"], "hexahedron": ["ScaledJacobian", "EdgeRatio"]}
    keys = {"ScaledJacobian": "scaled_jacobian", "EdgeRatio": "edge_ratio", "Warpage": "warpage"}
    # Linear elements: every measure of every element as Verdict computes it.
    for kind, n, jitter in (("quad", 12, 0.45), ("hexahedron", 5, 0.3)):
        elements, points = mesh(kind, n, jitter, rng)
        write(kind, elements, points)
        report = check(kind, "--worst", str(len(elements)))
        worst = sorted(report["worst"], key=lambda w: w["element"])
        assert len(worst) == len(elements) and report["inverted"]["count"] > 0, kind
        grid = cells(kind, elements, points)
        for m in measures[kind]:
            want = verdict(grid, f"Set{'Quad' if kind == 'quad' else 'Hex'}QualityMeasureTo{m}")
            if kind == "hexahedron" and m == "EdgeRatio":
                # VTK 9.1's filter takes the longest of the first six edges only: the ratio
                # over the twelve edges of VTK's hexahedron cell, never below the filter's.
                edges = [[grid.GetCell(i).GetEdge(k).GetLength2() ** 0.5 for k in range(12)]
                         for i in range(len(elements))]
                assert all(max(e) / min(e) >= w * (1 - 1e-12) for e, w in zip(edges, want))
                want = [max(e) / min(e) for e in edges]
            got = [w[keys[m]] for w in worst]
            bad = [i + 1 for i, (a, b) in enumerate(zip(got, want)) if not close(a, b)]
            assert not bad, f"{kind} {m}: elements {bad[:5]}: {[got[i - 1] for i in bad[:5]]} {[want[i - 1] for i in bad[:5]]}"
    # Quadratic elements with mid-side nodes moved far: the inverted ones are those whose
    # determinant is not positive somewhere, some of them at Gauss points only.
    for kind, n, jitter in (("quad8", 8, 0.3), ("hexahedron20", 4, 0.3)):
        elements, points = mesh(kind, n, jitter, rng)
        write(kind, elements, points)
        report = check(kind, "--worst", str(len(elements)))
        grid = cells(kind, elements, points)
        want = [determinants(grid.GetCell(i), points, 2 if kind == "quad8" else 3) for i in range(len(elements))]
        got = {w["element"]: w for w in report["worst"]}
        assert all(close(got[i + 1]["scaled_jacobian"], w[0]) and got[i + 1]["inverted"] == w[1]
                   for i, w in enumerate(want)), kind
        assert any(w[1] and w[2] for w in want), kind + ": no element inverted inside only"
    # A paa copy has coincident points on the shared sides until ren joins them.
    subprocess.run([TRELMO], input="csm\n3\n\n\n\npaa\n2\n2\n\n1\n1\n\nwri\ncopy\n" + "ren\n" +
                   "\n" * 7 + "wri\njoined\nend\n", capture_output=True, text=True, check=True)
    found = check("copy")["coincident_points"]
    # Four unit cubes on a 3 x 3 x 2 grid of places: the 8 on the block's middle lines are held
    # by two cubes, the 2 on its axis by four; each group on one place.
    assert (found["count"], found["points"]) == (10, 24), found
    lines = open("copy.vmz").read().splitlines()[7:]
    assert all(lines[p - 1].split()[1:] == lines[g[0] - 1].split()[1:] for g in found["groups"]
               for p in g), found
    assert check("joined")["coincident_points"]["count"] == 0

with tempfile.TemporaryDirectory(prefix="vmztool-quality-") as work:
    os.chdir(work)
    main()
print("ok")
