#!/usr/bin/env python3
"""Per-call overhead of one add.hdvp round trip through a reused call, in C, C# and Java,
in one run: each program times its own loop (after a warm-up) and prints its median
nanoseconds per round trip; the runs are interleaved REPEAT times and the medians of those
are compared as ratios to C.

    cmake --build build/langs --target langs_benchmarks
    python3 benchmarks/langs/call_overhead.py build/langs [--calls 20000] [--repeat 5]
"""
import argparse
import os
import statistics
import subprocess
import sys
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--calls", type=int, default=20000)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    build = args.build.resolve()
    procedures = str(SOURCE / "tests/data/procedures")
    counts = [str(args.calls), "7"]
    env = dict(os.environ, QUORVEX_LIBRARY=str(build / "libquorvex32-11.0.so"))
    bench = build / "benchmarks/langs"
    programs = {
        "C": [str(bench / "call_overhead"), procedures] + counts,
        "C#": ["mono", str(bench / "CallOverhead.exe"), procedures] + counts,
        "Java": ["java", "-cp", f"{bench}:{build}/java/quorvex-0.1.0.jar:/usr/share/java/jna.jar",
                 "CallOverhead", procedures] + counts,
    }
    mono_path = str(build / "dotnet")
    env["MONO_PATH"] = mono_path
    times = {name: [] for name in programs}
    for _ in range(args.repeat):
        for name, command in programs.items():
            out = subprocess.run(command, env=env, check=True, capture_output=True, text=True).stdout
            times[name].append(float(out.split()[0]))
    c = statistics.median(times["C"])
    goals = {"C": "", "C#": "<= 3", "Java": "<= 10"}
    print(f"{'language':<8} {'median ns/call':>15} {'ratio to C':>11} {'goal':>6}")
    for name, values in times.items():
        median = statistics.median(values)
        print(f"{name:<8} {median:>15.0f} {median / c:>11.2f} {goals[name]:>6}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
