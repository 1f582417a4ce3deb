#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Form evaluations and fits on 1,000,000 points called from Python and from C++, and threads
that overlap.

Writes the points to element files, runs the python_compare benchmarks of vantor_bench on them
(the same evaluations, datums and fits in C++: on the loaded point set, and on a point set
filled from a plain array each time) and times the same calls through the package, which
include converting the NumPy array into a point set (one pass) and, for a fit, building its
result (the report's JSON as Python values). Then runs a long evaluation and a cylinder fit on
two threads at once and one after the other, while a third thread ticks: with the GIL released
during the computation, the two threads overlap and the ticks go on.

usage: benchmarks/python_bench.py [BUILD_DIR]   (default: build; configured with
       -DVANTOR_BUILD_BENCHMARKS=ON, and the Python package built)

Wall-clock and CPU times are medians over repetitions, each the mean of enough calls to last
0.2 s. They are only as steady as the machine's load allows.
"""

import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
sys.path.insert(0, os.path.join(build, "python"))

import numpy as np  # noqa: E402

import vantor  # noqa: E402

N = 1_000_000
REPETITIONS = 5
MIN_TIME = 0.2

UP = (0.0, 0.0, 1.0)
# The evaluations of benchmarks/python_compare_bench.cpp, with its datums.
CASES = {
    "flatness_plane": lambda p: vantor.flatness(p, vantor.Plane((0, 0, 0), UP)),
    "cylindricity_cylinder": lambda p: vantor.cylindricity(p, vantor.Cylinder((0, 0, 0), UP, 27.5)),
    "conicity_axis": lambda p: vantor.conicity(p, vantor.Line((0, 0, 0), UP)),
    "roundness_direction": lambda p: vantor.roundness(p, direction=UP),
    "fit_line": lambda p: vantor.fit(p, "line"),
    "fit_plane": lambda p: vantor.fit(p, "plane"),
    "fit_circle": lambda p: vantor.fit(p, "circle"),
    "fit_cone": lambda p: vantor.fit(p, "cone"),
}
# On the shaft's points.
SHAFT_CASES = {
    "fit_cylinder": lambda p: vantor.fit(p, "cylinder"),
}


def measured(n):
    """Points near a cone about the z axis (radius 20 + 0.3 z) with noise, as form_bench's."""
    rng = np.random.default_rng(7)
    a = 0.001 * np.arange(n)
    z = 50.0 * (np.arange(n) % 997) / 997.0
    r = 20.0 + 0.3 * z
    return np.column_stack([r * np.cos(a), r * np.sin(a), z]) + rng.uniform(-0.01, 0.01, (n, 3))


def shaft(n):
    """Points near a cylinder of radius 20 about the z axis, 50 turns over a length of 60, with
    noise."""
    rng = np.random.default_rng(11)
    a = 2 * np.pi * 50 * np.arange(n) / n
    z = 60.0 * (np.arange(n) % 997) / 997.0
    return np.column_stack([20 * np.cos(a), 20 * np.sin(a), z]) + rng.uniform(-0.01, 0.01, (n, 3))


def time_python(call):
    """Median wall and CPU milliseconds per call."""
    start = time.perf_counter()
    call()
    calls = max(1, int(MIN_TIME / (time.perf_counter() - start)))
    wall, cpu = [], []
    for _ in range(REPETITIONS):
        w, c = time.perf_counter(), time.process_time()
        for _ in range(calls):
            call()
        wall.append((time.perf_counter() - w) / calls * 1e3)
        cpu.append((time.process_time() - c) / calls * 1e3)
    return statistics.median(wall), statistics.median(cpu)


def time_cpp(points_file, shaft_file):
    """Median wall and CPU milliseconds per evaluation of each python_compare benchmark."""
    program = os.path.join(build, "benchmarks", "vantor_bench")
    if not os.path.exists(program):
        sys.exit(f"{program} not found: configure with -DVANTOR_BUILD_BENCHMARKS=ON and build it")
    done = subprocess.run(
        [program, "--benchmark_filter=^python_compare/", "--benchmark_format=json",
         f"--benchmark_repetitions={REPETITIONS}", f"--benchmark_min_time={MIN_TIME}",
         "--benchmark_report_aggregates_only=true"],
        env={**os.environ, "VANTOR_BENCH_POINTS": points_file, "VANTOR_BENCH_CYLINDER": shaft_file},
        capture_output=True, text=True, check=True)
    out = {}
    for b in json.loads(done.stdout)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            out[b["run_name"].split("/", 1)[1]] = (b["real_time"], b["cpu_time"])
    return out


def overlap(call, points):
    """Two calls one after the other, then on two threads at once while a third thread ticks
    every millisecond (it needs the GIL for each tick). Returns the wall seconds of both runs,
    the process's CPU seconds per wall second on two threads (near 2 when both compute at once
    on otherwise idle CPUs), whether the threads' computations overlapped, and the ticks."""
    start = time.perf_counter()
    call(points)
    call(points)
    sequential = time.perf_counter() - start

    spans = []

    def work():
        begin = time.perf_counter()
        call(points)
        spans.append((begin, time.perf_counter()))

    workers = [threading.Thread(target=work) for _ in range(2)]
    ticks = 0

    def tick():
        nonlocal ticks
        while any(w.is_alive() for w in workers):
            time.sleep(0.001)
            ticks += 1

    start, cpu = time.perf_counter(), time.process_time()
    for w in workers:
        w.start()
    ticker = threading.Thread(target=tick)
    ticker.start()
    for t in workers + [ticker]:
        t.join()
    threaded = time.perf_counter() - start
    parallel = (time.process_time() - cpu) / threaded
    overlapped = max(b for b, _ in spans) < min(e for _, e in spans)
    return sequential, threaded, parallel, overlapped, ticks


def main():
    points, cylinder = measured(N), shaft(N)
    with tempfile.TemporaryDirectory() as scratch:
        points_file = os.path.join(scratch, "points.vpts")
        shaft_file = os.path.join(scratch, "shaft.vpts")
        vantor.save(points_file, points)
        vantor.save(shaft_file, cylinder)
        cpp = time_cpp(points_file, shaft_file)
    print(f"{N:,} points, vantor {vantor.__version__}, load average "
          f"{os.getloadavg()[0]:.1f} on {os.cpu_count()} CPUs; median ms per call")
    print(f"{'':22} {'C++ loaded set':>16} {'C++ filled set':>16} {'Python':>16}  Python / C++")
    print(f"{'call':22} {'wall':>7} {'CPU':>8} {'wall':>7} {'CPU':>8} {'wall':>7} {'CPU':>8}"
          f"  {'loaded':>6} {'filled':>6} (CPU)")
    cases = [(name, call, points) for name, call in CASES.items()]
    cases += [(name, call, cylinder) for name, call in SHAFT_CASES.items()]
    for name, call, on in cases:
        py_wall, py_cpu = time_python(lambda: call(on))
        (loaded_wall, loaded_cpu), (filled_wall, filled_cpu) = cpp[name], cpp[name + "/fill"]
        print(f"{name:22} {loaded_wall:7.2f} {loaded_cpu:8.2f} {filled_wall:7.2f} "
              f"{filled_cpu:8.2f} {py_wall:7.2f} {py_cpu:8.2f}  {py_cpu / loaded_cpu:6.2f} "
              f"{py_cpu / filled_cpu:6.2f}")
    for name, call, on in [("roundness_direction", CASES["roundness_direction"], points),
                           ("fit_cylinder", SHAFT_CASES["fit_cylinder"], cylinder)]:
        sequential, threaded, parallel, overlapped, ticks = overlap(call, on)
        print(f"{name} twice: one after the other {sequential:.3f} s, on two threads "
              f"{threaded:.3f} s ({parallel:.2f} CPU s per s); computations overlapped: "
              f"{'yes' if overlapped else 'no'}; ticks of a third thread meanwhile: {ticks}")


if __name__ == "__main__":
    main()
