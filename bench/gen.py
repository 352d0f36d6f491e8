#!/usr/bin/env python3
"""Refinement: gen through trelmo on a million generated elements, hand-back included.

Cases:
  1. one 8-node brick refined 100 x 100 x 100 into 8-node bricks (1,000,000 elements);
  2. 1,000 x 1,000 closed 4-node quadrilaterals, each refined 2 x 2 into 4-node elements
     (4,000,000 elements, 9,000,000 points), with the divisions asked;
  3. the same with a divisions-and-weights file of 1,000,000 division lines and a weights
     section of 5,000,000 lines.

Each gen session (start, rea of the input, gen with its hand-back, end) is compared with rea +
wri of the refined mesh it produced. For the quadrilaterals the time of a session that only reads
the input is also subtracted, since reading the million input elements is not part of gen.
"""
import os
import shutil

from common import meshgen, run, size_mb, timed, workdir


def line(label, wall, cpu):
    print(f"  {label:34s} {wall:8.3f} wall {cpu:8.3f} processor")


def measure(d, title, job, answers, with_input_read):
    # The refined mesh, written once for the rea + wri floor.
    run(["rea", job, "gen"] + answers + ["wri", "result", "end"], d, repeat=1)
    result = os.path.join(d, "result.vmz")
    gen = timed(["rea", job, "gen"] + answers + ["end", "y"], d)
    floor = timed(["rea", "result", "wri", "bench_out", "end"], d)
    print(title)
    print(f"  refined mesh file: {size_mb(result):.0f} MB")
    line("gen session (with hand-back):", *gen)
    if with_input_read:
        read_only = timed(["rea", job, "end"], d)
        net = (gen[0] - read_only[0], gen[1] - read_only[1])
        line("reading the input alone:", *read_only)
        line("gen net of reading the input:", *net)
    line("rea + wri of the refined mesh:", *floor)
    line("ratio gen / (rea + wri):", gen[0] / floor[0], gen[1] / floor[1])
    if with_input_read:
        line("ratio net / (rea + wri):", net[0] / floor[0], net[1] / floor[1])
    os.remove(result)
    os.remove(os.path.join(d, "bench_out.vmz"))


def main():
    d = workdir()
    try:
        meshgen("brick", [1, 1, 1], os.path.join(d, "cube.vmz"))
        with open(os.path.join(d, "cube_dw.dat"), "w") as f:
            f.write("One brick, 100 x 100 x 100\n3\n8\n1 100 100 100\nEND_OF_FILE\n")
        measure(d, "one 8-node brick -> 100 x 100 x 100 8-node bricks", "cube", [], False)

        meshgen("quad", [1000, 1000], os.path.join(d, "plate.vmz"))
        measure(d, "1,000,000 4-node quadrilaterals -> 2 x 2 each, asked", "plate",
                ["2", "4", "2", "2"], True)

        os.rename(os.path.join(d, "plate.vmz"), os.path.join(d, "plated.vmz"))
        n = 1000 * 1000
        with open(os.path.join(d, "plated_dw.dat"), "w") as f:
            f.write("A million plates\n2\n4\n")
            f.writelines(f"{i} 2 2\n" for i in range(1, n + 1))
            f.writelines(f"{i}\n1 1\n2 3\n1 -1\n" for i in range(1, n + 1))
            f.write("END_OF_FILE\n")
        measure(d, "1,000,000 4-node quadrilaterals -> 2 x 2 each, divisions and weights file",
                "plated", [], True)
    finally:
        shutil.rmtree(d)


if __name__ == "__main__":
    main()
