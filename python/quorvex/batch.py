"""One procedure over many inputs, several at once, outputs in input order.

The window registry and the display settings belong to the process: procedures running at
once in one process would draw into each other's windows. Jobs are therefore worker
processes, each of which loads the same library file and replays the settings made through
this package (``init``, procedure paths, engine attributes, fullscreen) before its first
call. Threads are used only on request (``threads=True``), for procedures that open no
windows; one job runs in the calling process.
"""
import concurrent.futures
import multiprocessing
import os
import threading

from . import _library, system
from .errors import EngineError

__all__ = ["map_procedure"]

# The worker process's own procedure, loaded once by _start_worker.
_worker = {}


def _start_worker(path, settings, name, encoding):
    library = _library.load(path)
    for setting, args in settings:
        getattr(system, setting)(*args, library=library)
    from .engine import Procedure
    _worker["procedure"] = Procedure(name, encoding=encoding, library=library)


def _run(procedure, inputs):
    """The outputs of one call, or its EngineError as a value."""
    try:
        return procedure(**inputs)
    except EngineError as error:
        return error


def _run_chunk_in_worker(chunk):
    return [_run(_worker["procedure"], inputs) for inputs in chunk]


def map_procedure(procedure, inputs, *, jobs=None, threads=False, raise_errors=False,
                  progress=None):
    """Run ``procedure`` once per item of ``inputs``; see :meth:`Procedure.map`."""
    items = [dict(item) for item in inputs]
    jobs = max(1, min(jobs or os.cpu_count() or 1, len(items) or 1))
    if jobs == 1:
        return _serial(procedure, items, raise_errors, progress)
    if threads:
        local = threading.local()

        def run(chunk):
            if not hasattr(local, "procedure"):
                local.procedure = type(procedure)(procedure.name, encoding=procedure._encoding,
                                                  library=procedure.library)
            return [_run(local.procedure, item) for item in chunk]

        executor = concurrent.futures.ThreadPoolExecutor(jobs)
        work = run
    else:
        executor = concurrent.futures.ProcessPoolExecutor(
            jobs, mp_context=multiprocessing.get_context("spawn"), initializer=_start_worker,
            initargs=(procedure.library.path, system.settings(procedure.library),
                      procedure.name, procedure._encoding))
        work = _run_chunk_in_worker
    # Items go in chunks: a call can take less time than passing it to a process.
    size = max(1, min(32, len(items) // (jobs * 8)))
    futures = [executor.submit(work, items[i:i + size]) for i in range(0, len(items), size)]
    return _in_order(executor, futures, len(items), raise_errors, progress)


def _serial(procedure, items, raise_errors, progress):
    for done, item in enumerate(items, start=1):
        result = _run(procedure, item)
        if progress:
            progress(done, len(items))
        if raise_errors and isinstance(result, EngineError):
            raise result
        yield result


def _in_order(executor, futures, total, raise_errors, progress):
    """Yield the chunks' results in order, reporting progress as any chunk completes."""
    pending, done = set(futures), 0

    def report(finished):
        nonlocal done
        done += sum(len(future.result()) for future in finished if not future.exception())
        if progress:
            progress(done, total)

    try:
        for future in futures:
            while future in pending:
                finished, pending = concurrent.futures.wait(
                    pending, return_when=concurrent.futures.FIRST_COMPLETED)
                report(finished)
            for result in future.result():
                if raise_errors and isinstance(result, EngineError):
                    raise result
                yield result
    finally:
        for future in futures:
            future.cancel()
        executor.shutdown(wait=True)
