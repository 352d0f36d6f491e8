#!/usr/bin/python3
"""vmztool's Abaqus input files against meshio and CalculiX (usage: inp_interop.py VMZTOOL
TRELMO). Exits with 77 (skipped) when meshio or ccx is missing."""
import os, re, shutil, subprocess, sys, tempfile

try:
    import meshio
    from meshio.abaqus import _abaqus
except ImportError:
    sys.exit(print("skipped: python3-meshio is not installed") or 77)
if not shutil.which("ccx"):
    sys.exit(print("skipped: calculix-ccx is not installed") or 77)
VMZTOOL, TRELMO = (os.path.abspath(p) for p in sys.argv[1:3])
# meshio 7.0 lacks the full-integration 8-node quadrilaterals of CalculiX and the 4-node ones
# of plane strain and axisymmetry; it reads their node lists as they stand, like the others.
_abaqus.abaqus_to_meshio_type.update(
    {t: "quad8" for t in ("S8", "CPS8", "CPE8", "CAX8")} | {"CPE4": "quad", "CAX4": "quad"})

# Parametric node positions in trelmo's order (as in interop_test.py), and in the CalculiX
# manual's: quadrilaterals and bricks corners first, then the mid-sides 1-2, 2-3, 3-4, 4-1
# (bricks: bottom, top, then the vertical edges 1-5 ... 4-8); the 3-node line end, middle, end.
RING = [(-1, -1), (0, -1), (1, -1), (1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0)]
CORNERS, MIDS = [(-1, -1), (1, -1), (1, 1), (-1, 1)], [(0, -1), (1, 0), (0, 1), (-1, 0)]
AT = {"line": [(-1, 0, 0), (1, 0, 0)], "line3": [(-1, 0, 0), (0, 0, 0), (1, 0, 0)],
      "quad": [(s, t, 0) for s, t in CORNERS], "quad8": [(s, t, 0) for s, t in RING],
      "quad9": [(s, t, 0) for s, t in RING] + [(0, 0, 0)],
      "hexahedron": [(s, t, w) for w in (-1, 1) for s, t in CORNERS],
      "hexahedron20": [(s, t, w) for w in (-1, 0, 1) for s, t in (CORNERS if w == 0 else RING)]}
MANUAL = dict(AT, quad8=[(s, t, 0) for s, t in CORNERS + MIDS], hexahedron20=AT["hexahedron"]
              + [(s, t, w) for w in (-1, 1, 0) for s, t in (MIDS if w else CORNERS)])
FAMILY = {"": ["B31", "B32", "S4", "S8", "C3D8I", "C3D20"], "1": ["CPS4", "CPS8"],
          "2": ["CPE4", "CPE8"], "3": ["CAX4", "CAX8"], "4": ["C3D8I", "C3D20"],
          "6": ["S4", "S8"], "7": ["B31", "B32"], "8": ["T3D2", "T3D3"], "9": ["S4", "S8"]}

def run(args, stdin=None, check=True):
    return subprocess.run(args, input=stdin, capture_output=True, text=True, check=check)

def every_kind():
    """meshio reads each family's export: its element types, the points, the positions of the
    nodes of each element (one element of each kind on points of its own), the node set."""
    elements, points, where = [], [], {}
    for i, t in enumerate(AT):
        nodes = list(range(len(points) + 1, len(points) + 1 + len(AT[t])))
        for n, (s, u, w) in zip(nodes, AT[t]):
            where[n - 1] = (i, (s, u, w))
            points.append((0.5 * s + 3 * i + 0.25 * u, 0.75 * u - 0.1 * i, 0.3 * w + 1.00000001))
        elements.append(nodes + [nodes[0]] if t.startswith("quad") else nodes)
    open("all.vmz", "w").write(
        f"Every kind\nKinds\n{len(elements)} {len(points)} 2\n"
        + "".join(f"{i} {len(e)} {' '.join(map(str, e))}\n" for i, e in enumerate(elements, 1))
        + "".join(f"{i} %.8f %.8f %.8f\n" % p for i, p in enumerate(points, 1)) + "1 3\n2 41\n")
    for ntype, types in FAMILY.items():
        run([VMZTOOL, "export", "all", "--to", "inp", "-o", "all.inp"]
            + (["--type", ntype] if ntype else []))
        mesh = meshio.read("all.inp")
        assert re.findall(r"TYPE=(\w+)", open("all.inp").read()) == types, (ntype, types)
        assert mesh.points.tolist() == [[float("%.8f" % c) for c in p] for p in points], ntype
        assert len(mesh.cells) == len(types) and all(len(b.data) == 1 for b in mesh.cells), ntype
        for block in mesh.cells:
            kind = [where[n][0] for n in block.data[0]]
            assert kind == [kind[0]] * len(kind) and block.type == list(AT)[kind[0]], ntype
            assert [where[n][1] for n in block.data[0]] == MANUAL[block.type], (ntype, block.type)
        assert mesh.point_sets["SPECIAL"].tolist() == [2, 40], ntype

# The cantilever: L = 10 along x, a square section b = h = 1, fixed at x = 0, a load P = 1 at
# the free end. Timoshenko: tip deflection P L^3 / (3 E I) + P L / (k G A) with I = b h^3 / 12,
# A = b h, G = E / (2 (1 + nu)) and Cowper's shear coefficient of a rectangle
# k = 10 (1 + nu) / (12 + 11 nu): 0.0190476 + 0.0001457 = 0.0191933.
E, NU, L, P = 210000.0, 0.3, 10.0, 1.0
THEORY = P * L**3 / (3 * E / 12) + P * L / (10 * (1 + NU) / (12 + 11 * NU) * E / (2 + 2 * NU))
# Share of the load of a face's (an edge's) corner and mid-side nodes, from the consistent nodal
# forces of a uniform traction: 20-node brick face -1/12 and 1/3, 8-node shell edge 1/6 and 2/3.
SHARE = {"hexahedron20": (8, -1 / 12, 1 / 3), "hexahedron": (8, 1 / 4, 0),
         "quad8": (4, 1 / 6, 2 / 3), "line3": (2, 1, 1)}
# trelmo's csm and gen; the plane or the line x = 0 that snd marks as the fixed end.
BRICKS, PLANE = "csm\n3\n10\n1\n1\ngen\n3\n%d\n20\n2\n2\n", "3\n\nc\n0\n0\n0\n0\n1\n0\n0\n0\n1\n"
LINE = "2\n\nc\n0\n0\n0\n0\n1\n0\n"
# What the test adds to the exported mesh, by element type.
SECTION = {"C3D20": "*SOLID SECTION, ELSET=BRICK20, MATERIAL=STEEL\n",
           "C3D8I": "*SOLID SECTION, ELSET=BRICK8, MATERIAL=STEEL\n",
           "S8": "*SHELL SECTION, ELSET=QUAD8, MATERIAL=STEEL\n1.\n",
           "B32": "*BEAM SECTION, ELSET=LINE3, MATERIAL=STEEL, SECTION=RECT\n1., 1.\n0., 1., 0.\n"}

def deck(job, mesh, element):
    """The exported mesh with a material, its section and a step loading the free end in z."""
    forces = {}
    for block in mesh.cells:
        corners, corner, middle = SHARE[block.type]
        for cell in block.data:
            for k, n in enumerate(cell):
                if abs(mesh.points[n][0] - L) < 1e-9:
                    forces[n] = forces.get(n, 0) + (corner if k < corners else middle)
    total, (y, z) = sum(forces.values()), mesh.points[:, 1:].max(axis=0) / 2
    tip = [n for n in forces if mesh.points[n][1] == y and mesh.points[n][2] == z][0] + 1
    return tip, (open(job + ".inp").read() + "*MATERIAL, NAME=STEEL\n*ELASTIC\n%g, %g\n" % (E, NU)
                 + SECTION[element] + f"*NSET, NSET=TIP\n{tip}\n*BOUNDARY\nSPECIAL, 1, "
                 + ("3" if element.startswith("C3D") else "6") + "\n*STEP\n*STATIC\n*CLOAD\n"
                 + "".join(f"{n + 1}, 3, {P * f / total:.6g}\n" for n, f in sorted(forces.items()))
                 + "*NODE PRINT, NSET=TIP\nU\n*END STEP\n")

def solve(job, element):
    """ccx's deflection of the free end on the beam's axis, or what ccx said when it failed."""
    tip, text = deck(job, meshio.read(job + ".inp"), element)
    open(job + "_ccx.inp", "w").write(text)
    ccx = run(["ccx", job + "_ccx"], check=False)
    if ccx.returncode != 0 or "*ERROR" in ccx.stdout:
        return ccx.stdout
    return [float(f[3]) for f in map(str.split, open(job + "_ccx.dat")) if f[:1] == [str(tip)]][0]

def cantilever():
    # Element type, the answers before ren, problem type. Each within 2 % of theory: the quadratic
    # elements (CalculiX expands S8 and B32 into 20-node bricks too) and the incompatible modes of
    # C3D8I represent the linear bending moment exactly, and the end fixed in every node stops
    # the Poisson contraction of its section, which the theory leaves free: about 1 % stiffer.
    # A node out of its place changes the deflection by far more, or makes ccx refuse the mesh.
    cases = [("C3D20", BRICKS % 20, PLANE, "4"), ("C3D8I", BRICKS % 8, PLANE, "4"),
             ("S8", "csm\n2\n10\n1\ngen\n2\n8\n20\n2\n", LINE, "6"),
             ("B32", "csm\n1\n0\n0\n0\n10\n0\n0\ngen\n1\n3\n20\n", LINE, "7")]
    for element, answers, end, ntype in cases:
        job = element.lower()
        run([TRELMO], answers + f"ren\n1\n2\n3\ny\ny\ny\n\nsnd\n{end}0\nwri\n{job}\nend\n")
        run([VMZTOOL, "export", job, "--to", "inp", "--type", ntype])
        tip = solve(job, element)
        assert isinstance(tip, float), f"{element}: {tip}"
        print(f"{element}: {tip:.6g} against {THEORY:.6g} ({tip / THEORY - 1:+.2%})")
        assert abs(tip / THEORY - 1) < 0.02, element
    # The first brick turned inside out (its bottom and top faces swapped): ccx refuses it.
    e = (lines := open("c3d20.vmz").read().split("\n"))[3].split()
    lines[3] = " ".join(e[:2] + e[14:22] + e[10:14] + e[2:10])
    open("bad.vmz", "w").write("\n".join(lines))
    run([VMZTOOL, "export", "bad", "--to", "inp", "--type", "4"])
    assert "jacobian" in solve("bad", "C3D20"), "ccx took an element turned inside out"

with tempfile.TemporaryDirectory(prefix="vmztool-inp-") as work:
    os.chdir(work)
    every_kind()
    cantilever()
print("ok")
