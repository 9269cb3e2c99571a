#!/usr/bin/env python3
"""Times the stand-in engine's loops against CPython running the same loops, in one run.

Every case is a whole process: `quorvex-run` on a procedure of benchmarks/procedures, or
`python3 -c` on the same loop written in Python. The cases run interleaved, repetition
after repetition, so that load from elsewhere on the machine falls on all of them alike;
the medians are compared, less the median of the same process with a loop count of 0 (its
start). Each process runs under the build's `peak_rss`, which reports its peak resident set
size. With --baseline, a second build (an older engine, say) runs the same cases in the same
run.

    benchmarks/loop_benchmark.py --build build/release
    benchmarks/loop_benchmark.py --build build/release --baseline build/before \\
        --baseline-sizes 10000,30000
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))

# The same loops in Python. Both engine append forms compare with list.append: Python's
# `squares = squares + [x]` copies the list every step.
PYTHON_LOOPS = {
    "loop_sum": "total = total + i * 2 - 1",
    "loop_index": "total = total + i * 2 - 1\n        squares.append(i * i)",
}

PYTHON_TEMPLATE = """
import sys
def run(n):
    total = 0
    squares = []
    for i in range(1, n + 1):
        {body}
    return len(squares) or total
print(run(int(sys.argv[1])))
"""

# Appends N integers to one tuple through the C interface, as a ctypes caller does.
CTYPES_APPEND = """
import ctypes, sys
lib = ctypes.CDLL(sys.argv[1])
tuple_ = ctypes.c_void_p()
lib.hcreateTuple(ctypes.byref(tuple_))
append = lib.happendTupleLong
append.argtypes = [ctypes.c_void_p, ctypes.c_int32]
for i in range(int(sys.argv[2])):
    append(tuple_, i)
lib.hgetTupleLength.argtypes = [ctypes.c_void_p]
print(lib.hgetTupleLength(tuple_))
"""

APPENDS = ("loop_concat", "loop_index")


def run(peak_rss, command, env):
    """Wall time in seconds and peak RSS in MiB of one process."""
    start = time.perf_counter()
    result = subprocess.run([peak_rss] + command, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, env=env, check=False)
    elapsed = time.perf_counter() - start
    output = result.stdout.decode(errors="replace").strip()
    last = output.splitlines()[-1] if output else ""
    if result.returncode != 0 or not last.startswith("peak-rss-kib: "):
        sys.exit("failed: %s\n%s" % (" ".join(command), output))
    return elapsed, int(last.split()[1]) / 1024.0


class Build:
    def __init__(self, name, folder, sizes):
        self.name = name
        self.folder = os.path.abspath(folder)
        self.sizes = sizes
        self.runner = os.path.join(self.folder, "tools", "quorvex-run", "quorvex-run")
        self.library = os.path.join(self.folder, "libquorvex32-11.0.so")
        # A copied build finds its own stand-ins first.
        self.env = dict(os.environ, LD_LIBRARY_PATH=os.path.join(self.folder, "standins"))

    def label(self, case):
        return "%s %s" % (self.name, case)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build/release", help="the build folder to time")
    parser.add_argument("--sizes", default="100000,1000000", help="append loop counts")
    parser.add_argument("--baseline", help="a second build folder, timed in the same run")
    parser.add_argument("--baseline-sizes", default="10000,30000", help="its append loop counts")
    parser.add_argument("--sum-size", type=int, default=1000000, help="the plain loop's count")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--python", default=sys.executable)
    args = parser.parse_args()

    procedures = os.path.join(HERE, "procedures")
    parse = lambda text: [int(n) for n in text.split(",")]
    builds = [Build("after", args.build, parse(args.sizes))]
    if args.baseline:
        builds.insert(0, Build("before", args.baseline, parse(args.baseline_sizes)))
    peak_rss = os.path.join(builds[-1].folder, "benchmarks", "peak_rss")
    big = 1000000

    cases = {}  # label -> (command, environment)

    def python(procedure, n):
        code = PYTHON_TEMPLATE.format(body=PYTHON_LOOPS[procedure])
        cases["python %s N=%d" % (procedure, n)] = ([args.python, "-c", code, str(n)], None)

    for n in [0, args.sum_size]:
        python("loop_sum", n)
    for n in sorted(set(sum((b.sizes for b in builds), []))):
        python("loop_index", n)
    for build in builds:
        def engine(procedure, n):
            cases[build.label("%s N=%d" % (procedure, n))] = ([
                build.runner, "--library", build.library, "--procedure", procedure, "--path",
                procedures, "--in", "N=%d" % n], build.env)
        for n in [0, args.sum_size]:
            engine("loop_sum", n)
        for n in build.sizes:
            engine("loop_sum", n)
            for procedure in APPENDS:
                engine(procedure, n)
        for n in [0, big]:
            cases[build.label("ctypes happendTupleLong N=%d" % n)] = ([
                args.python, "-c", CTYPES_APPEND, build.library, str(n)], build.env)

    times = {label: [] for label in cases}
    rss = {label: 0.0 for label in cases}
    for _ in range(args.repetitions):
        for label, (command, env) in cases.items():
            elapsed, peak = run(peak_rss, command, env)
            times[label].append(elapsed)
            rss[label] = max(rss[label], peak)
    median = {label: statistics.median(values) for label, values in times.items()}

    print("%-45s %10s %10s %12s" % ("case", "median s", "min s", "peak RSS MiB"))
    for label in cases:
        print("%-45s %10.4f %10.4f %12.1f" % (label, median[label], min(times[label]),
                                              rss[label]))

    def net(label, start_label):
        return max(median[label] - median[start_label], 1e-9)

    n = args.sum_size
    python_sum = net("python loop_sum N=%d" % n, "python loop_sum N=0")
    for build in builds:
        at = build.label
        print("\n%s (%s)" % (build.name, build.folder))
        ours = net(at("loop_sum N=%d" % n), at("loop_sum N=0"))
        print("goal 1: the plain loop, N=%d, less process start: engine %.4f s, CPython %.4f s, "
              "engine/CPython = %.2f" % (n, ours, python_sum, ours / python_sum))
        for m in build.sizes:
            plain = net(at("loop_sum N=%d" % m), at("loop_sum N=0"))
            for procedure in APPENDS:
                with_append = net(at("%s N=%d" % (procedure, m)), at("loop_sum N=0"))
                print("goal 2: %s N=%d: %.4f s, %.2f times the plain loop (%.0f ns a step); "
                      "CPython's list.append loop %.4f s" %
                      (procedure, m, with_append, with_append / plain, with_append / m * 1e9,
                       net("python loop_index N=%d" % m, "python loop_sum N=0")))
        if len(build.sizes) > 1:
            small, large = build.sizes[0], build.sizes[-1]
            for procedure in APPENDS:
                growth = (net(at("%s N=%d" % (procedure, large)), at("loop_sum N=0")) /
                          net(at("%s N=%d" % (procedure, small)), at("loop_sum N=0")))
                print("goal 2: %s N=%d costs %.1f times N=%d (linear: %.1f)" %
                      (procedure, large, growth, small, large / small))
        label = at("ctypes happendTupleLong N=%d" % big)
        empty = at("ctypes happendTupleLong N=0")
        print("goal 4: %d integers appended through the C interface: peak RSS %.1f MiB above "
              "none (%.0f ns per ctypes call and append)" %
              (big, rss[label] - rss[empty], net(label, empty) / big * 1e9))
        if big in build.sizes:
            print("goal 4: loop_index N=%d: peak RSS %.1f MiB above the empty loop" %
                  (big, rss[at("loop_index N=%d" % big)] - rss[at("loop_sum N=0")]))


if __name__ == "__main__":
    main()
