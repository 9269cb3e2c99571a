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
import shutil
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
    """(seconds, peak resident kB) of one batch run."""
    command = [runner, "--procedure", "inspect_parts", "--path", INSPECTION,
               "--in", "ImagePath={}", "--in", "MinGray=128", "--in", "MaxGray=255",
               "--batch", os.path.join(images, "*.png"), "--jobs", str(jobs),
               "--out", os.devnull] + ([option, report] if report else [])
    if report:
        shutil.rmtree(report, ignore_errors=True)
    start = time.perf_counter()
    process = subprocess.Popen(command, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) not in (0, 1):
        raise SystemExit(f"{command} failed")
    return seconds, usage.ru_maxrss


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
        report = os.path.join(folder, "report")
        run_batch(runner, images, 2)  # warm the file cache
        plain, snapshots, reported = [], [], []
        for repeat in range(args.repeat):
            # Alternate the order, so that none always meets a warmer machine.
            order = [(plain, None, None), (snapshots, report, "--snapshots"),
                     (reported, report, "--report")]
            for times, target, option in (order if repeat % 2 == 0 else order[::-1]):
                times.append(run_batch(runner, images, 2, target, option or "--report")[0])
        medians = [statistics.median(times) for times in (plain, snapshots, reported)]
        print(f"{args.count} images, --jobs 2, medians of {args.repeat} interleaved runs: "
              f"{medians[0]:.3f} s plain, {medians[1]:.3f} s with --snapshots, "
              f"{medians[2]:.3f} s with --report")
        print(f"--report / --snapshots: {medians[2] / medians[1]:.3f} (goal <= 1.20); "
              f"--report / plain: {medians[2] / medians[0]:.3f}")

        peaks = {}
        for count in (100, 1000):
            memory = os.path.join(folder, f"memory_{count}")
            make_batch.write(memory, count)
            peaks[count] = run_batch(runner, memory, 1, os.path.join(folder, "memory_report"))[1]
        print(f"peak resident size with --report, --jobs 1: {peaks[1000]} kB at 1,000 images, "
              f"{peaks[100]} kB at 100: ratio {peaks[1000] / peaks[100]:.3f} (goal <= 1.10)")


if __name__ == "__main__":
    main()
