#!/usr/bin/env python3
"""Per-call overhead of one add.hdvp round trip in C, C#, Java and Python, in one run.

Each program runs whole rounds for --warmup-ms milliseconds (the same for every path: long
enough for the JIT compilers of C# and Java to have compiled the loop, as JMH's warm-up
iterations are), then times its rounds and prints its median nanoseconds per round trip; the programs run interleaved REPEAT times and the medians of those are compared
as ratios: each package's path against the same round trip with no package in the same
language (raw ctypes, P/Invoke, JNA direct) and against C.

    cmake --build build/native --target langs_benchmarks
    python3 benchmarks/langs/call_overhead.py build/native [--calls 20000] [--repeat 11]
                                              [--warmup-ms 1000]
"""
import argparse
import glob
import os
import statistics
import subprocess
import sys
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]

# (row, language, mode, the row it is compared with, goal for the ratio)
ROWS = (
    ("C, reused call", "C", "reused", None, ""),
    ("C, call made and freed", "C", "fresh", None, ""),
    ("C# reused call object", "C#", "reused", "C, reused call", "<= 3"),
    ("C# call object made and disposed", "C#", "fresh", "C, call made and freed", "<= 2"),
    ("C# P/Invoke direct, call made and freed", "C#", "pinvoke", "C, call made and freed", ""),
    ("Java reused call object", "Java", "reused", "C, reused call", "<= 10"),
    ("Java execute(Map)", "Java", "map", "C, call made and freed", "<= 5"),
    ("Java JNA direct, call made and freed", "Java", "jna", "C, call made and freed", ""),
    ("Python raw ctypes, call made and freed", "Python", "ctypes", "C, call made and freed", ""),
    ("Python call object made and closed", "Python", "object",
     "Python raw ctypes, call made and freed", "<= 1.2"),
    ("Python Procedure.__call__", "Python", "call", "Python raw ctypes, call made and freed",
     "<= 1.1"),
)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--calls", type=int, default=20000)
    parser.add_argument("--repeat", type=int, default=11)
    parser.add_argument("--warmup-ms", type=float, default=1000)
    args = parser.parse_args()
    build = args.build.resolve()
    procedures = str(SOURCE / "tests/data/procedures")
    env = dict(os.environ, QUORVEX_LIBRARY=str(build / "libquorvex32-11.0.so"),
               MONO_PATH=str(build / "dotnet"))
    bench = build / "benchmarks/langs"
    jar = glob.glob(str(build / "java/quorvex-*.jar"))[0]
    calls = str(args.calls)
    commands = {
        "C": [str(bench / "call_overhead"), procedures, calls, "7"],
        "C#": ["mono", str(bench / "CallOverhead.exe"), procedures, calls, "7"],
        "Java": ["java", "-cp", f"{bench}:{jar}:/usr/share/java/jna.jar", "CallOverhead",
                 procedures, calls, "7"],
        # Python's loop is the slowest: a quarter of the calls keeps the rounds as long.
        "Python": [sys.executable, str(SOURCE / "benchmarks/langs/py_call_overhead.py"),
                   procedures, str(args.calls // 4), "7"],
    }
    times = {row: [] for row, *_ in ROWS}
    for _ in range(args.repeat):
        for row, language, mode, *_ in ROWS:
            out = subprocess.run(commands[language] + [mode, str(args.warmup_ms)], env=env, check=True,
                                 capture_output=True, text=True).stdout
            times[row].append(float(out.split()[0]))
    medians = {row: statistics.median(values) for row, values in times.items()}
    print(f"medians of {args.repeat} interleaved runs, {args.calls} calls a round, "
          f"{args.warmup_ms:.0f} ms warm-up; load average {os.getloadavg()[0]:.1f}")
    print("| path | median ns per round trip | against | ratio | goal |")
    print("|---|---|---|---|---|")
    for row, _, _, against, goal in ROWS:
        ratio = f"{medians[row] / medians[against]:.2f}" if against else ""
        print(f"| {row} | {medians[row]:,.0f} | {against or ''} | {ratio} | {goal} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
