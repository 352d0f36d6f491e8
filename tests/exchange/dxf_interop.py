#!/usr/bin/python3
"""DXF drawings of trelmo read by an independent reader (ezdxf).

Writes meshes holding every element kind, exports each with dxo in both wire-frame modes (with
and without the change of axes) with all marks and numbers, and checks with ezdxf that every
drawing loads and audits without errors and holds what the mesh says: entity counts, layers in
order, polyline vertices, line segments and text strings. Then imports the polyline drawings
with dxi and checks the points and elements that come back.

usage: dxf_interop.py TRELMO_BINARY
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

try:
    import ezdxf
except ImportError:
    sys.exit("ezdxf is not installed for /usr/bin/python3 (apt-get install python3-ezdxf)")

TRELMO = None

TOL = 1.0e-7  # values are written with 7 decimals


class Mesh:
    """A mesh written in the .vmz layout; node lists and special nodes are 1-based."""

    def __init__(self, main, short, coords, elements, specials):
        self.main, self.short = main, short
        self.coords, self.elements, self.specials = coords, elements, specials

    def vmz(self):
        out = [self.main, self.short,
               "%5d   %5d   %5d" % (len(self.elements), len(self.coords), len(self.specials))]
        for i, nodes in enumerate(self.elements, 1):
            out.append("%5d %5d   " % (i, len(nodes)) + "".join(" %5d" % p for p in nodes))
        for i, c in enumerate(self.coords, 1):
            out.append("%5d" % i + "".join(" %15.8f" % v for v in c))
        for i, p in enumerate(self.specials, 1):
            out.append("%5d %5d" % (i, p))
        return "\n".join(out) + "\n"


def grid_point(i):
    # Distinct, irregular coordinates with negative values and several decimals.
    return (0.5 * i - 3.25, 0.125 * i * i - 1.0, -0.75 * (i % 5) + 0.0625 * i)


def kinds_mesh():
    """One element of every node count and list form the program handles."""
    lists = [
        [1],                               # one node
        [1, 2],                            # 2-node bar
        [1, 2, 3],                         # 3-node bar
        [1, 2, 3, 4],                      # open 4-node quadrilateral
        [5, 6, 7, 8, 5],                   # closed 4-node quadrilateral
        [9, 10, 11, 9],                    # 4 nodes, first equal to last
        list(range(1, 9)),                 # 8-node quadrilateral or brick
        list(range(1, 9)) + [1],           # closed 8-node list
        list(range(11, 20)),               # 9-node quadrilateral
        list(range(11, 20)) + [11],        # closed 9-node list
        list(range(1, 21)),                # 20-node brick
    ]
    coords = [grid_point(i) for i in range(1, 23)]  # points 21, 22 belong to no element
    return Mesh("Every element kind", "Kinds", coords, lists, [17, 4, 22])


def closes(nodes):
    return len(nodes) in (4, 8, 9) and nodes[0] != nodes[-1]


def convert(c, conversion):
    # The drawing's x, y, z are the mesh's x2, x3, x1 with the change of axes.
    return (c[1], c[2], c[0]) if conversion else tuple(c)


def close_to(a, b):
    return all(abs(u - v) <= TOL * max(1.0, abs(v)) for u, v in zip(a, b))


def run_trelmo(cwd, answers):
    p = subprocess.run([TRELMO], input="".join(a + "\n" for a in answers).encode(), cwd=cwd,
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    if p.returncode != 0:
        raise AssertionError("trelmo failed: " + p.stderr.decode(errors="replace"))
    return p.stdout.decode()


SIZE = "0.0625"
LAYERS = ["TITLE", "LINES", "MARNO", "MARSN", "NUMEL", "NUMNO", "NUMSN"]


class DxfInterop(unittest.TestCase):

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="trelmo-dxf-")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def export(self, mesh, frame, conversion):
        with open(os.path.join(self.dir, "mesh.vmz"), "w") as f:
            f.write(mesh.vmz())
        run_trelmo(self.dir, ["rea", "mesh", "dxo", "drawing", frame,
                              "y" if conversion else "n", "y", "y", "y", "y", "y",
                              SIZE, SIZE, SIZE, SIZE, "end"])
        path = os.path.join(self.dir, "drawing.dxf")
        doc = ezdxf.readfile(path)
        auditor = doc.audit()
        self.assertEqual(auditor.has_errors, False, [str(e) for e in auditor.errors])
        self.assertEqual(doc.dxfversion, "AC1009")  # an R12 drawing
        return doc

    def check_drawing(self, mesh, frame, conversion):
        doc = self.export(mesh, frame, conversion)
        entities = list(doc.modelspace())
        point = [convert(c, conversion) for c in mesh.coords]

        # Layers: each entity kind on its own layer, in the order of the export.
        seen = []
        for e in entities:
            if e.dxf.layer not in seen:
                seen.append(e.dxf.layer)
        self.assertEqual(seen, LAYERS)
        by_layer = {name: [e for e in entities if e.dxf.layer == name] for name in LAYERS}

        # Title.
        (title,) = by_layer["TITLE"]
        self.assertEqual(title.dxftype(), "TEXT")
        self.assertEqual(title.dxf.text, mesh.main + " - " + mesh.short)

        # Wire frame.
        frame_entities = by_layer["LINES"]
        if frame == "p":
            self.assertEqual([e.dxftype() for e in frame_entities],
                             ["POLYLINE"] * len(mesh.elements))
            for nodes, pl in zip(mesh.elements, frame_entities):
                self.assertTrue(pl.is_3d_polyline)
                expected = [point[p - 1] for p in nodes]
                if closes(nodes):
                    expected.append(point[nodes[0] - 1])
                got = [tuple(v.dxf.location) for v in pl.vertices]
                self.assertEqual(len(got), len(expected), nodes)
                for g, x in zip(got, expected):
                    self.assertTrue(close_to(g, x), (g, x))
        else:
            segments = []
            for nodes in mesh.elements:
                chain = nodes + [nodes[0]] if closes(nodes) else nodes
                segments += [(point[a - 1], point[b - 1]) for a, b in zip(chain, chain[1:])]
            self.assertEqual([e.dxftype() for e in frame_entities], ["LINE"] * len(segments))
            for (a, b), line in zip(segments, frame_entities):
                self.assertTrue(close_to(tuple(line.dxf.start), a))
                self.assertTrue(close_to(tuple(line.dxf.end), b))

        # Marks: a point at every node, a square with its diagonals at every special node.
        marks = by_layer["MARNO"]
        self.assertEqual([e.dxftype() for e in marks], ["POINT"] * len(mesh.coords))
        for c, m in zip(point, marks):
            self.assertTrue(close_to(tuple(m.dxf.location), c))
        squares = by_layer["MARSN"]
        self.assertEqual([e.dxftype() for e in squares], ["LINE"] * (6 * len(mesh.specials)))
        h = 0.5 * float(SIZE)
        for k, p in enumerate(mesh.specials):
            x, y, z = point[p - 1]
            first = squares[6 * k]
            self.assertTrue(close_to(tuple(first.dxf.start), (x - h, y - h, z)))
            self.assertTrue(close_to(tuple(first.dxf.end), (x + h, y - h, z)))

        # Numbers: elements and nodes by number, special nodes by their place in the list.
        def strings(layer):
            self.assertTrue(all(e.dxftype() == "TEXT" for e in by_layer[layer]))
            return [e.dxf.text for e in by_layer[layer]]

        self.assertEqual(strings("NUMEL"), [str(i) for i in range(1, len(mesh.elements) + 1)])
        self.assertEqual(strings("NUMNO"), [str(i) for i in range(1, len(mesh.coords) + 1)])
        self.assertEqual(strings("NUMSN"), [str(i) for i in range(1, len(mesh.specials) + 1)])
        for k, (p, text) in enumerate(zip(mesh.specials, by_layer["NUMSN"])):
            x, y, z = point[p - 1]
            s = float(SIZE)
            self.assertTrue(close_to(tuple(text.dxf.insert), (x + 0.8 * s, y - 1.5 * s, z)))
            self.assertAlmostEqual(text.dxf.height, s)

        # Every entity counted: nothing else in the drawing.
        self.assertEqual(len(entities), sum(len(v) for v in by_layer.values()))

    def test_every_kind_in_polylines(self):
        self.check_drawing(kinds_mesh(), "p", False)

    def test_every_kind_in_lines(self):
        self.check_drawing(kinds_mesh(), "l", False)

    def test_every_kind_in_polylines_with_change_of_axes(self):
        self.check_drawing(kinds_mesh(), "p", True)

    def test_every_kind_in_lines_with_change_of_axes(self):
        self.check_drawing(kinds_mesh(), "l", True)

    def test_polyline_drawing_imports_back(self):
        mesh = kinds_mesh()
        self.export(mesh, "p", False)
        out = run_trelmo(self.dir, ["dxi", "drawing", "wri", "back", "end"])
        self.assertIn("Number of      elements = %8d" % len(mesh.elements), out)
        with open(os.path.join(self.dir, "back.vmz")) as f:
            words = f.read().split("\n", 2)[2].split()
        values = iter(words)
        nelem, npoin, nspno = (int(next(values)) for _ in range(3))
        self.assertEqual(nspno, 0)
        # Every vertex is a new point, numbered through the whole file; a closing vertex
        # repeats the first point's place: a closed 4-node element comes back with 5 nodes.
        expected_elements, expected_points = [], []
        for nodes in mesh.elements:
            chain = nodes + [nodes[0]] if closes(nodes) else nodes
            first = len(expected_points) + 1
            expected_elements.append(list(range(first, first + len(chain))))
            expected_points += [mesh.coords[p - 1] for p in chain]
        self.assertEqual((nelem, npoin), (len(expected_elements), len(expected_points)))
        self.assertEqual(expected_elements[3], [7, 8, 9, 10, 11])  # the open 4-node element
        for e, nodes in enumerate(expected_elements, 1):
            self.assertEqual(int(next(values)), e)
            count = int(next(values))
            self.assertEqual([int(next(values)) for _ in range(count)], nodes)
        for p, c in enumerate(expected_points, 1):
            self.assertEqual(int(next(values)), p)
            got = tuple(float(next(values)) for _ in range(3))
            self.assertTrue(close_to(got, c), (p, got, c))

    def test_line_drawing_imports_as_no_element(self):
        self.export(kinds_mesh(), "l", False)
        out = run_trelmo(self.dir, ["dxi", "drawing", "end"])
        self.assertIn("Number of      elements =        0\n"
                      "Number of         nodes =        0\n", out)


if __name__ == "__main__":
    TRELMO = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
