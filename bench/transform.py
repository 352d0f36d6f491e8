#!/usr/bin/env python3
"""Element-type transformations through trelmo: bts on 100,000 8-node bricks and stf on a
million 4-node shells, both with elimination of common items, as ratios to rea + wri of the
mesh each command hands back. Also the plain search for common items (each item against every
later one) beside the indexed search, on small blocks, with the elements in their structured
order and shuffled; `--full` adds the plain search on the two full-size meshes (about a minute).

The cost of a command is the time of a session `rea, <command>, end` less the time of
`rea, end` on the same file: what remains is the command itself and the hand-back that reads
its result into the buffer. Each session is timed twice over: wall-clock seconds and processor
seconds (user + system) of the trelmo process, each the best of several runs; on a machine shared
with other work the processor time is the steadier figure.
"""
import os
import shutil
import subprocess
import sys

from common import BUILD, meshgen, run, size_mb, timed, workdir

QUADRATIC = os.path.join(BUILD, "bench", "quadratic")
REPEAT = 5


def transform(d, label, kind, sizes, word):
    job = kind
    meshgen(kind, sizes, os.path.join(d, job + ".vmz"))
    print(f"{label}: {size_mb(os.path.join(d, job + '.vmz')):.1f} MB")
    read_only = timed(["rea", job, "end"], d, REPEAT)
    print(f"  {'':40s} {'wall':>8s} {'ratio':>6s} {'cpu':>8s} {'ratio':>6s}"
          "   (ratios to rea + wri of the command's own result)")
    floors = []
    for answer, what in (("y", "with elimination"), ("n", "without elimination")):
        # The floor: rea + wri of the mesh the command hands back, written once.
        result = "result_" + answer
        run(["rea", job, word, answer, "wri", result, "end"], d, repeat=1)
        floor = timed(["rea", result, "wri", "bench_out", "end"], d, REPEAT)
        floors.append((what, floor, size_mb(os.path.join(d, result + ".vmz"))))
        os.remove(os.path.join(d, "bench_out.vmz"))
        whole = timed(["rea", job, word, answer, "end", "y"], d, REPEAT)
        os.remove(os.path.join(d, result + ".vmz"))
        cost = [whole[k] - read_only[k] for k in (0, 1)]
        print(f"  {word + ' ' + what:40s} {cost[0]:7.3f}s {cost[0] / floor[0]:6.2f} "
              f"{cost[1]:7.3f}s {cost[1] / floor[1]:6.2f}")
    print(f"  {'rea of the input alone':40s} {read_only[0]:7.3f}s {'':6s} {read_only[1]:7.3f}s")
    for what, floor, mb in floors:
        print(f"  {'rea + wri, result ' + what:40s} {floor[0]:7.3f}s {'':6s} {floor[1]:7.3f}s"
              f"   ({mb:.1f} MB)")


def plain_search(kind, sizes, shuffled=False):
    p = subprocess.run([QUADRATIC, kind] + [str(s) for s in sizes] +
                       (["shuffled"] if shuffled else []), capture_output=True, text=True)
    if p.returncode != 0:
        sys.exit("quadratic failed: " + p.stderr)
    items, plain, indexed, kept = p.stdout.split()
    name = "x".join(str(s) for s in sizes) + (" shuffled" if shuffled else "")
    print(f"  {kind} {name:20s} {int(items):9d} items "
          f"{int(kept):9d} kept   plain {float(plain):8.3f} s   indexed {float(indexed):7.4f} s"
          f"   ({float(plain) / max(float(indexed), 1e-6):.0f} x)")


def main():
    d = workdir()
    try:
        transform(d, "bts on a 50 x 50 x 40 block of 8-node bricks (100,000 bricks)", "brick",
                  [50, 50, 40], "bts")
        transform(d, "stf on a 1000 x 1000 patch of 4-node shells (1,000,000 shells)", "quad",
                  [1000, 1000], "stf")
    finally:
        shutil.rmtree(d)
    print("search for common items alone, processor seconds, plain against indexed "
          "(same flags checked):")
    for sizes in ([10, 10, 10], [20, 20, 20], [30, 30, 30]):
        plain_search("brick", sizes)
    for sizes in ([100, 100], [200, 200], [400, 400]):
        plain_search("quad", sizes)
    # Elements in random order: a copy is no longer a few layers further on.
    plain_search("brick", [20, 20, 20], shuffled=True)
    plain_search("brick", [30, 30, 30], shuffled=True)
    plain_search("quad", [200, 200], shuffled=True)
    if "--full" in sys.argv:
        plain_search("brick", [50, 50, 40])
        plain_search("quad", [1000, 1000])


if __name__ == "__main__":
    main()
