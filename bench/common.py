"""Shared pieces of the benchmarks: build paths, mesh generation, timing through the real binary.

Every figure is a ratio against a floor measured on the same machine in the same run, so that it
means something on a noisy machine: `copy_seconds` (a plain copy of a file) and
`rea_wri_seconds` (trelmo reading a mesh file and writing it back with rea + wri).
"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.environ.get("TRELMO_BUILD", os.path.join(ROOT, "build"))
TRELMO = os.path.join(BUILD, "trelmo")
MESHGEN = os.path.join(BUILD, "bench", "meshgen")


def workdir():
    """A fresh working directory (removed by the caller with shutil.rmtree)."""
    return tempfile.mkdtemp(prefix="trelmo-bench-")


def meshgen(kind, sizes, path):
    subprocess.run([MESHGEN, kind] + [str(s) for s in sizes] + [path], check=True)


def run(answers, cwd, repeat=3):
    """Runs trelmo with the answer lines; the best wall time of `repeat` runs in seconds."""
    text = "".join(a + "\n" for a in answers)
    best = None
    for _ in range(repeat):
        start = time.perf_counter()
        p = subprocess.run([TRELMO], input=text.encode(), cwd=cwd,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        if p.returncode != 0:
            sys.exit("trelmo failed: " + p.stderr.decode(errors="replace"))
        best = elapsed if best is None else min(best, elapsed)
    return best


def timed(answers, cwd, repeat=3):
    """Best wall time and best processor time (user + system) of `repeat` trelmo runs with the
    answer lines, in seconds. The processor time does not grow when other work shares the
    machine, so its ratios stay meaningful on a busy machine; the wall time includes waiting for
    the disk."""
    text = "".join(a + "\n" for a in answers).encode()
    best_wall = best_cpu = None
    for _ in range(repeat):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        p = subprocess.run([TRELMO], input=text, cwd=cwd, stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE)
        wall = time.perf_counter() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        if p.returncode != 0:
            sys.exit("trelmo failed: " + p.stderr.decode(errors="replace"))
        cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        best_wall = wall if best_wall is None else min(best_wall, wall)
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
    return best_wall, best_cpu


def copy_seconds(path, repeat=3):
    best = None
    for _ in range(repeat):
        target = path + ".copy"
        start = time.perf_counter()
        shutil.copyfile(path, target)
        elapsed = time.perf_counter() - start
        os.remove(target)
        best = elapsed if best is None else min(best, elapsed)
    return best


def rea_wri_seconds(cwd, job, repeat=3):
    """trelmo start, rea of job.vmz, wri to out.vmz, end."""
    return run(["rea", job, "wri", "bench_out", "end"], cwd, repeat)


def size_mb(path):
    return os.path.getsize(path) / 1e6
