#!/usr/bin/env python3
"""Batch throughput and memory of quorvex-run --batch on generated inspection images.

Throughput: 200 images with --jobs 2 and with --jobs 1, interleaved in one run and repeated;
the ratio of the medians (goal: at least 1.8 on two cores), beside the ratio two processes of
pure CPU work reach against one in the same run, the most the machine allowed at the time. Memory: the runner's peak
resident size over 1,000 images against 100 (one job, the batch in the runner's own
process; goal: within 10%), and the stand-ins' live-object monitors before and after a
1,000-image Procedure.map in this process (goal: back at their start values).

Usage: batch_benchmark.py [--build build/native] [--repeat 5]
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INSPECTION = os.path.join(ROOT, "examples", "inspection")
sys.path[:0] = [INSPECTION, os.path.join(ROOT, "python")]

import make_batch  # noqa: E402

MONITORS = ("tuples", "objects", "windows", "procedures", "procedure_calls")


def run_batch(runner, folder, jobs):
    """(seconds, peak resident kB) of one batch run."""
    command = [runner, "--procedure", "inspect_parts", "--path", INSPECTION,
               "--in", "ImagePath={}", "--in", "MinGray=128", "--in", "MaxGray=255",
               "--batch", os.path.join(folder, "*.png"), "--jobs", str(jobs),
               "--out", os.devnull]
    start = time.perf_counter()
    process = subprocess.Popen(command, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) not in (0, 1):
        raise SystemExit(f"{command} failed")
    return seconds, usage.ru_maxrss


SPIN = "n = 0\nfor i in range(6_000_000): n += i"


def spinners(count):
    """Seconds for ``count`` processes each doing the same fixed CPU work at once."""
    start = time.perf_counter()
    for process in [subprocess.Popen([sys.executable, "-c", SPIN]) for _ in range(count)]:
        process.wait()
    return time.perf_counter() - start


def live_objects(library, folder):
    import quorvex
    quorvex.load(library)
    quorvex.init()
    quorvex.add_procedure_path(INSPECTION)
    inputs = [{"ImagePath": os.path.join(folder, name), "MinGray": 128, "MaxGray": 255}
              for name in sorted(os.listdir(folder))]
    with quorvex.Procedure("inspect_parts") as procedure:
        list(procedure.map(inputs[:1], jobs=1))  # the procedure's window stays open
        before = [quorvex.get_system(f"standin_live_{kind}") for kind in MONITORS]
        list(procedure.map(inputs, jobs=1))
        after = [quorvex.get_system(f"standin_live_{kind}") for kind in MONITORS]
    return dict(zip(MONITORS, before)), dict(zip(MONITORS, after))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "native"))
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    runner = os.path.join(args.build, "tools", "quorvex-run", "quorvex-run")
    library = os.path.join(args.build, "libquorvex32-11.0.so")
    with tempfile.TemporaryDirectory() as home:
        folders = {count: os.path.join(home, str(count)) for count in (100, 200, 1000)}
        for count, folder in folders.items():
            make_batch.write(folder, count)

        # The machine is shared: two processes of pure CPU work against one, in the same run,
        # show how much parallel capacity it had left (2.0 on two idle cores).
        times, spins = {1: [], 2: []}, {1: [], 2: []}
        for _ in range(args.repeat):
            for jobs in (1, 2):
                times[jobs].append(run_batch(runner, folders[200], jobs)[0])
                spins[jobs].append(spinners(jobs))
        one, two = statistics.median(times[1]), statistics.median(times[2])
        ceiling = 2 * statistics.median(spins[1]) / statistics.median(spins[2])
        print(f"throughput, 200 images: --jobs 1 {one:.3f} s ({200 / one:.0f}/s), "
              f"--jobs 2 {two:.3f} s ({200 / two:.0f}/s), ratio {one / two:.2f} "
              f"(goal >= 1.8; medians of {args.repeat}); the machine's ceiling in the same "
              f"run, 2 CPU-bound processes against 1: {ceiling:.2f}")

        peaks = {100: [], 1000: []}
        for _ in range(max(2, args.repeat // 2)):
            for count in (100, 1000):
                peaks[count].append(run_batch(runner, folders[count], 1)[1])
        small, large = max(peaks[100]), max(peaks[1000])
        print(f"peak resident size, --jobs 1: 100 images {small} kB, 1000 images {large} kB, "
              f"ratio {large / small:.3f} (goal <= 1.10)")

        before, after = live_objects(library, folders[1000])
        print(f"live objects before {before}\n             after  {after} "
              f"({'back at start' if before == after else 'NOT back at start'})")


if __name__ == "__main__":
    main()
