#!/usr/bin/env python3
"""Inspect a folder of images on a Dask distributed cluster, one task per image.

Each worker process initialises the quorvex library once, through a worker plugin
(``hinit``, the procedure paths), and runs ``inspect_parts`` for the images it is given.
The rows are gathered in file order into the same CSV as ``quorvex-run --batch ... --out
FILE.csv`` writes: file, status, seconds, one column per control output, then the fields
of the error record for a file that failed.

The window registry and the display settings belong to the process: the plugin lets one
task at a time use the library in a worker, so give workers one thread each
(``dask worker --nthreads 1 --nworkers N``) and scale with processes and machines.

Usage:
    dask_batch.py --local 2 --batch 'images/*.png' --out results.csv
    dask_batch.py --scheduler tcp://scheduler:8786 --batch '/shared/images/*.png' --out r.csv

Every worker needs the package and the library (the wheel) installed, and the images and
the procedure at the same paths as here.
"""
import argparse
import csv
import glob
import os
import re
import shutil
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
INSPECTION = os.path.join(os.path.dirname(HERE), "inspection")
PACKAGE = os.path.join(os.path.dirname(os.path.dirname(HERE)), "python")
NUMBER = re.compile(r"-?((\d+\.?\d*|\.\d+)([eE][+-]?\d+)?|inf(inity)?|nan)", re.IGNORECASE)
RECORD = ["kind", "procName", "progLineName", "errorCode", "progLineNum", "message", "errorText"]

from distributed import Client, LocalCluster, WorkerPlugin, get_worker  # noqa: E402


class QuorvexPlugin(WorkerPlugin):
    """Loads and initialises the library once in each worker process."""

    name = "quorvex"

    def __init__(self, procedure, paths, library=None, package=PACKAGE):
        self.procedure_name, self.paths, self.library, self.package = (
            procedure, paths, library, package)

    def setup(self, worker):
        if os.path.isdir(self.package) and self.package not in sys.path:
            sys.path.append(self.package)  # the package from this repository, if not installed
        import quorvex
        if self.library:
            quorvex.load(self.library)
        quorvex.init()
        for path in self.paths:
            quorvex.add_procedure_path(path)
        self.procedure = quorvex.Procedure(self.procedure_name)
        self.outputs = self.procedure.output_ctrl_names
        self.lock = threading.Lock()  # windows are process-wide: one call at a time


def text(values):
    """One output as quorvex-run writes it: an element bare, several as [a, 'b']."""
    def element(value):
        return f"'{value}'" if isinstance(value, str) and len(values) != 1 else str(value)

    return element(values[0]) if len(values) == 1 else "[" + ", ".join(map(element, values)) + "]"


def cell(text):
    """A CSV cell as quorvex-run writes it: one that a spreadsheet would run as a formula
    (starting with =, +, -, @, a tab or a carriage return, and not a number) gets a leading
    quote, which csv then quotes."""
    if text[:1] in ("=", "+", "-", "@", "\t", "\r") and not NUMBER.fullmatch(text):
        return "'" + text
    return text


def quoted_row(row):
    return [cell(text) for text in row]


def inspect_image(path, prefix, inputs, pictures=None):
    """The CSV row of one image and its report row, run by a worker. With ``pictures`` (a
    folder every worker sees) the windows the procedure left are written there, named with
    ``prefix`` as quorvex-run names them."""
    import quorvex
    import quorvex.report
    plugin = get_worker().plugins[QuorvexPlugin.name]
    start = time.perf_counter()
    with plugin.lock:
        try:
            outputs = plugin.procedure(ImagePath=path, **inputs)
        except quorvex.EngineError as error:
            outputs = error
        written = quorvex.report.snapshots(pictures, prefix) if pictures else []
    elapsed = time.perf_counter() - start
    seconds = f"{elapsed:.4f}"
    if isinstance(outputs, quorvex.EngineError):
        record = quorvex.report.failure(outputs)
        return [path, "error", seconds] + [""] * len(plugin.outputs) + [
            "" if field is None else str(field) for field in record], (
            path, list(record), written, round(elapsed, 4))  # plain data for the client
    return [path, "ok", seconds] + [text(outputs[name]) for name in plugin.outputs] + [
        ""] * len(RECORD), (path, outputs, written, round(elapsed, 4))


def run(client, pattern, out, procedure="inspect_parts", paths=(INSPECTION,), inputs=None,
        library=None, report=None):
    """Run the batch on ``client``'s cluster and write the CSV, and with ``report`` the same
    page as quorvex-run --report; returns the failed count."""
    start = time.perf_counter()
    files = sorted(glob.glob(pattern))
    client.register_worker_plugin(QuorvexPlugin(procedure, list(paths), library))
    names = client.run(lambda dask_worker: dask_worker.plugins[QuorvexPlugin.name].outputs)
    outputs = next(iter(names.values()))
    pictures = os.path.join(os.path.abspath(report), "pictures") if report else None
    if os.path.isdir(PACKAGE) and PACKAGE not in sys.path:
        sys.path.append(PACKAGE)
    from quorvex.report import picture_prefix
    prefixes = [picture_prefix(i, len(files), file) for i, file in enumerate(files)]
    futures = client.map(inspect_image, files, prefixes,
                         inputs=inputs or {"MinGray": 128, "MaxGray": 255}, pictures=pictures,
                         pure=False)
    results = client.gather(futures)
    rows = [row for row, _ in results]
    with open(out, "w", newline="") as file:
        writer = csv.writer(file, lineterminator="\n")
        writer.writerow(quoted_row(["file", "status", "seconds"] + outputs + RECORD))
        writer.writerows(map(quoted_row, rows))
    if report:
        from quorvex import report as page
        entries = ((file, page.Failure(result) if row[1] == "error" else result, pictures,
                    seconds) for row, (file, result, pictures, seconds) in results)
        page.write(report, entries, outputs,
                   seconds=time.perf_counter() - start,
                   jobs=len(client.scheduler_info()["workers"]), title=f"{procedure} over {pattern}")
    return sum(row[1] != "ok" for row in rows)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    where = parser.add_mutually_exclusive_group(required=True)
    where.add_argument("--scheduler", help="the address of a running scheduler")
    where.add_argument("--local", type=int, metavar="N",
                       help="start a cluster of N worker processes on this machine")
    parser.add_argument("--batch", required=True, help="the images, as a glob pattern")
    parser.add_argument("--out", required=True, help="the CSV to write")
    parser.add_argument("--library", help="the quorvex library file on the workers")
    parser.add_argument("--report", metavar="DIR",
                        help="also write DIR/index.html, the page quorvex-run --report writes, "
                             "with the windows' pictures in DIR/pictures (seen by every worker)")
    args = parser.parse_args(argv)
    scratch = None
    if args.local:
        # The workers' scratch space in a folder of this run's own: Dask's default is the fixed
        # name dask-scratch-space in the shared temporary folder, which another user may own.
        scratch = tempfile.mkdtemp(prefix="quorvex-dask-")
        cluster = LocalCluster(n_workers=args.local, threads_per_worker=1, processes=True,
                               dashboard_address=None, local_directory=scratch)
        client = Client(cluster)
    else:
        cluster, client = None, Client(args.scheduler)
    try:
        failed = run(client, args.batch, args.out, library=args.library, report=args.report)
    finally:
        client.close()
        if cluster:
            cluster.close()
        if scratch:
            shutil.rmtree(scratch, ignore_errors=True)
    print(f"{args.out}: {len(glob.glob(args.batch))} files, {failed} failed")
    if args.report:
        print(f"report: {os.path.join(os.path.abspath(args.report), 'index.html')}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
