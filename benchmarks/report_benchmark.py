#!/usr/bin/env python3
"""What quorvex-run --report costs a batch, in time and in memory.

Time: the demo's generated 640 x 480 images with --jobs 2, the same batch plain, with
--snapshots DIR and with --report DIR (the page and every window's picture), interleaved in
one run and repeated. The report's pictures are the snapshots themselves, whose PNG encoding
in the stand-in dominates a batch of this cheap procedure: the ratio of --report to
--snapshots is the page's own cost (goal: at most 1.20); the ratio to the plain batch is
printed beside it. Memory: the runner's peak resident size with
--report over 1,000 images against 100 (one job, in the runner's own process; goal: flat,
within 10%).

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


def run_batch(runner, images, jobs, report=None, option="--report"):
    """(seconds, peak resident kB, CPU seconds of the runner and its workers) of one batch
    run."""
    command = [runner, "--procedure", "inspect_parts", "--path", INSPECTION,
               "--in", "ImagePath={}", "--in", "MinGray=128", "--in", "MaxGray=255",
               "--batch", os.path.join(images, "*.png"), "--jobs", str(jobs),
               "--out", os.devnull] + ([option, report] if report else [])
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
    with tempfile.TemporaryDirectory() as folder:
        images = os.path.join(folder, "images")
        make_batch.write(images, args.count)
        run_batch(runner, images, 2)  # warm the file cache
        plain, snapshots, reported = [], [], []
        for repeat in range(args.repeat):
            # Each run writes a folder of its own, removed only at the end: files created
            # where many were just deleted cost the file system more (ext4 skips recently
            # freed inodes), which would charge one run for the one before it.
            order = [(plain, None, None),
                     (snapshots, os.path.join(folder, f"snapshots_{repeat}"), "--snapshots"),
                     (reported, os.path.join(folder, f"report_{repeat}"), "--report")]
            for runs, target, option in (order if repeat % 2 == 0 else order[::-1]):
                runs.append(run_batch(runner, images, 2, target, option or "--report"))
        wall = [statistics.median(run[0] for run in runs) for runs in (plain, snapshots, reported)]
        cpu = [statistics.median(run[2] for run in runs) for runs in (plain, snapshots, reported)]
        print(f"{args.count} images, --jobs 2, medians of {args.repeat} interleaved runs: "
              f"{wall[0]:.3f} s plain, {wall[1]:.3f} s with --snapshots, "
              f"{wall[2]:.3f} s with --report")
        print(f"--report / plain: {wall[2] / wall[0]:.3f} (goal <= 1.20); "
              f"--report / --snapshots: {wall[2] / wall[1]:.3f}")
        # Processor time is less at the mercy of other work on a shared machine.
        print(f"processor time: {cpu[0]:.3f} s plain, {cpu[1]:.3f} s with --snapshots, "
              f"{cpu[2]:.3f} s with --report; --report / plain {cpu[2] / cpu[0]:.3f}")

        peaks = {}
        for count in (100, 1000):
            memory = os.path.join(folder, f"memory_{count}")
            make_batch.write(memory, count)
            peaks[count] = run_batch(runner, memory, 1, os.path.join(folder, f"memory_{count}_report"))[1]
        print(f"peak resident size with --report, --jobs 1: {peaks[1000]} kB at 1,000 images, "
              f"{peaks[100]} kB at 100: ratio {peaks[1000] / peaks[100]:.3f} (goal <= 1.10)")


if __name__ == "__main__":
    main()
