#!/usr/bin/python3
"""dxo's drawings read by ezdxf (usage: dxf_interop.py TRELMO): a mesh of every element kind drawn
in each wire-frame mode, axes changed or not, audits clean and holds its geometry."""
import os, subprocess, sys, tempfile

try:
    import ezdxf
except ImportError:
    sys.exit("ezdxf is not installed for /usr/bin/python3 (apt-get install python3-ezdxf)")

LISTS = [[1], [1, 2], [1, 2, 3], [1, 2, 3, 4], [5, 6, 7, 8, 5], [9, 10, 11, 9],
         list(range(1, 9)), list(range(11, 20)), list(range(11, 20)) + [11], list(range(1, 21))]
POINTS = [(0.5 * i - 3.25, 0.125 * i * i - 1.0, -0.75 * (i % 5) + 0.0625 * i) for i in range(1, 23)]
SPECIALS, SIZE = [17, 4, 22], 0.0625
LAYERS = ["TITLE", "LINES", "MARNO", "MARSN", "NUMEL", "NUMNO", "NUMSN"]

def near(a, b):
    return all(abs(u - v) <= 1e-7 * max(1.0, abs(v)) for u, v in zip(a, b))

def check(frame, conversion):
    with open("m.vmz", "w") as f:
        f.write("Every kind\nKinds\n%5d   %5d   %5d\n" % (len(LISTS), len(POINTS), len(SPECIALS)))
        f.writelines("%5d %5d   %s\n" % (i, len(e), "".join(" %5d" % p for p in e))
                     for i, e in enumerate(LISTS, 1))
        f.writelines("%5d %15.8f %15.8f %15.8f\n" % ((i,) + p) for i, p in enumerate(POINTS, 1))
        f.writelines("%5d %5d\n" % (i, p) for i, p in enumerate(SPECIALS, 1))
    answers = ["rea", "m", "dxo", "d", frame, conversion] + ["y"] * 5 + [str(SIZE)] * 4 + ["end"]
    subprocess.run([TRELMO], input="\n".join(answers) + "\n", text=True, check=True,
                   capture_output=True)
    doc = ezdxf.readfile("d.dxf")
    assert doc.dxfversion == "AC1009" and not doc.audit().has_errors, "audit failed"
    entities = list(doc.modelspace())
    layer = {name: [e for e in entities if e.dxf.layer == name] for name in LAYERS}
    assert [e.dxf.layer for e in entities] == sum(([n] * len(layer[n]) for n in LAYERS), [])
    at = [(y, z, x) if conversion == "y" else (x, y, z) for x, y, z in POINTS]
    chains = [e + [e[0]] if len(e) in (4, 8, 9) and e[0] != e[-1] else e for e in LISTS]
    if frame == "p":
        got = [[tuple(v.dxf.location) for v in p.vertices] for p in layer["LINES"]]
        assert all(p.dxftype() == "POLYLINE" and p.is_3d_polyline for p in layer["LINES"])
        want = [[at[p - 1] for p in chain] for chain in chains]
    else:
        got = [[tuple(e.dxf.start), tuple(e.dxf.end)] for e in layer["LINES"]]
        want = [[at[a - 1], at[b - 1]] for chain in chains for a, b in zip(chain, chain[1:])]
    assert len(got) == len(want) and all(len(g) == len(w) and all(map(near, g, w))
                                         for g, w in zip(got, want)), (frame, conversion)
    marks = [e.dxf.location for e in layer["MARNO"]]
    assert len(marks) == len(at) and all(map(near, marks, at)), "node marks"
    assert len(layer["MARSN"]) == 6 * len(SPECIALS), "special marks"
    assert layer["TITLE"][0].dxf.text == "Every kind - Kinds"
    for name, count in (("NUMEL", len(LISTS)), ("NUMNO", len(POINTS)), ("NUMSN", len(SPECIALS))):
        assert [e.dxf.text for e in layer[name]] == [str(i) for i in range(1, count + 1)], name

TRELMO = os.path.abspath(sys.argv[1])
with tempfile.TemporaryDirectory() as work:
    os.chdir(work)
    for frame, conversion in ("py", "pn", "ly", "ln"):
        check(frame, conversion)
print("ok")
