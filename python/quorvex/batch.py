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
from typing import (Any, Callable, Dict, Iterable, Iterator, List, Mapping, Optional, Protocol,
                    Sequence, Tuple, Union)

from . import _library, system
from ._library import Library
from .errors import EngineError

__all__ = ["map_procedure"]

Result = Union[Dict[str, List[Any]], EngineError]


class Procedure(Protocol):
    """What a batch needs of a procedure: its name, library and encoding, and a call."""

    name: Union[str, bytes]
    _encoding: Optional[str]

    @property
    def library(self) -> Library: ...

    def __call__(self, *args: Any, **inputs: Any) -> Dict[str, List[Any]]: ...

Progress = Optional[Callable[[int, int], Any]]

# The worker process's own procedure, loaded once by _start_worker.
_worker: Dict[str, Any] = {}


def _start_worker(path: str, settings: Sequence[Tuple[str, Tuple[Any, ...]]],
                  kind: Callable[..., Procedure], name: str, encoding: Optional[str]) -> None:
    # The procedure's class travels with the work (pickled by reference), so this module
    # needs no import of the one that calls it.
    library = _library.load(path)
    for setting, args in settings:
        getattr(system, setting)(*args, library=library)
    _worker["procedure"] = kind(name, encoding=encoding, library=library)


def _run(procedure: Procedure, inputs: Mapping[str, Any]) -> Result:
    """The outputs of one call, or its EngineError as a value."""
    try:
        return procedure(**inputs)
    except EngineError as error:
        return error


def _run_chunk_in_worker(chunk: Sequence[Mapping[str, Any]]) -> List[Result]:
    return [_run(_worker["procedure"], inputs) for inputs in chunk]


def map_procedure(procedure: Procedure, inputs: Iterable[Mapping[str, Any]], *,
                  jobs: Optional[int] = None, threads: bool = False, raise_errors: bool = False,
                  progress: Progress = None) -> Iterator[Result]:
    """Run ``procedure`` once per item of ``inputs``; see :meth:`Procedure.map`."""
    items = [dict(item) for item in inputs]
    jobs = max(1, min(jobs or os.cpu_count() or 1, len(items) or 1))
    if jobs == 1:
        return _serial(procedure, items, raise_errors, progress)
    kind: Callable[..., Procedure] = type(procedure)
    if threads:
        local = threading.local()

        def run(chunk: Sequence[Mapping[str, Any]]) -> List[Result]:
            if not hasattr(local, "procedure"):
                local.procedure = kind(procedure.name, encoding=procedure._encoding,
                                       library=procedure.library)
            return [_run(local.procedure, item) for item in chunk]

        executor: concurrent.futures.Executor = concurrent.futures.ThreadPoolExecutor(jobs)
        work = run
    else:
        executor = concurrent.futures.ProcessPoolExecutor(
            jobs, mp_context=multiprocessing.get_context("spawn"), initializer=_start_worker,
            initargs=(procedure.library.path, system.settings(procedure.library),
                      kind, procedure.name, procedure._encoding))
        work = _run_chunk_in_worker
    # Items go in chunks: a call can take less time than passing it to a process.
    size = max(1, min(32, len(items) // (jobs * 8)))
    futures = [executor.submit(work, items[i:i + size]) for i in range(0, len(items), size)]
    return _in_order(executor, futures, len(items), raise_errors, progress)


def _serial(procedure: Procedure, items: List[Dict[str, Any]], raise_errors: bool,
            progress: Progress) -> Iterator[Result]:
    for done, item in enumerate(items, start=1):
        result = _run(procedure, item)
        if progress:
            progress(done, len(items))
        if raise_errors and isinstance(result, EngineError):
            raise result
        yield result


def _in_order(executor: concurrent.futures.Executor,
              futures: "List[concurrent.futures.Future[List[Result]]]", total: int,
              raise_errors: bool, progress: Progress) -> Iterator[Result]:
    """Yield the chunks' results in order, reporting progress as any chunk completes."""
    pending, done = set(futures), 0

    def report(finished: "Iterable[concurrent.futures.Future[List[Result]]]") -> None:
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
