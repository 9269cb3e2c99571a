#!/usr/bin/env python3
"""What quorvex-run --report costs a batch, in time and in memory.

Time: the demo's generated 640 x 480 images with --jobs 2, the same batch plain, with
--snapshots DIR and with --report DIR (the page and every window's picture), and with the
report on a RAM disk where there is one, interleaved in one run and repeated; wall and
processor time. The goal is --report within 20% of the plain batch; the ratio to --snapshots
is the page's own cost, the pictures being the snapshots themselves. Memory: the runner's
peak resident size with --report over 1,000 images against 100 (one job, in the runner's
own process; goal: flat, within 10%).

Usage: report_benchmark.py [--build build/native] [--count 200] [--repeat 5]
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
sys.path.insert(0, INSPECTION)

import make_batch  # noqa: E402


def run_batch(runner, images, jobs, report=None, option=None):
    """(seconds, peak resident kB, CPU seconds of the runner and its workers) of one batch
    run."""
    command = [runner, "--procedure", "inspect_parts", "--path", INSPECTION,
               "--in", "ImagePath={}", "--in", "MinGray=128", "--in", "MaxGray=255",
               "--batch", os.path.join(images, "*.png"), "--jobs", str(jobs),
               "--out", os.devnull] + ([option or "--report", report] if report else [])
    start = time.perf_counter()
    process = subprocess.Popen(command, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) not in (0, 1):
        raise SystemExit(f"{command} failed")
    return seconds, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "native"))
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    runner = os.path.join(args.build, "tools", "quorvex-run", "quorvex-run")
    # A RAM disk shows the pictures' cost without the file system's: creating thousands of
    # files where thousands were just deleted costs ext4 more (it skips recently freed inodes).
    memory_root = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory() as folder, \
            tempfile.TemporaryDirectory(dir=memory_root) as in_memory:
        images = os.path.join(folder, "images")
        make_batch.write(images, args.count)
        run_batch(runner, images, 2)  # warm the file cache
        # name, option, folder the run writes into (a new one each run, removed at the end)
        variants = [("plain", None, None), ("--snapshots", "--snapshots", folder),
                    ("--report", "--report", folder)]
        if memory_root:
            variants.append(("--report on a RAM disk", "--report", in_memory))
        runs = {name: [] for name, _, _ in variants}
        for repeat in range(args.repeat):
            # Alternate the order, so that none always meets a warmer machine.
            for name, option, base in (variants if repeat % 2 == 0 else variants[::-1]):
                target = os.path.join(base, f"{option[2:]}_{repeat}") if option else None
                runs[name].append(run_batch(runner, images, 2, target, option))
        wall = {name: statistics.median(run[0] for run in done) for name, done in runs.items()}
        cpu = {name: statistics.median(run[2] for run in done) for name, done in runs.items()}
        print(f"{args.count} images, --jobs 2, medians of {args.repeat} interleaved runs "
              "(wall time, processor time, both against plain):")
        for name in runs:
            print(f"  {name:24} {wall[name]:.3f} s {wall[name] / wall['plain']:.3f}   "
                  f"{cpu[name]:.3f} s {cpu[name] / cpu['plain']:.3f}")
        print(f"--report / plain: {wall['--report'] / wall['plain']:.3f} (goal <= 1.20); "
              f"--report / --snapshots: {wall['--report'] / wall['--snapshots']:.3f}")

        peaks = {}
        for count in (100, 1000):
            memory = os.path.join(folder, f"memory_{count}")
            make_batch.write(memory, count)
            report = os.path.join(folder, f"memory_{count}_report")
            peaks[count] = run_batch(runner, memory, 1, report)[1]
        print(f"peak resident size with --report, --jobs 1: {peaks[1000]} kB at 1,000 images, "
              f"{peaks[100]} kB at 100: ratio {peaks[1000] / peaks[100]:.3f} (goal <= 1.10)")


if __name__ == "__main__":
    main()
