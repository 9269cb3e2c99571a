"""A batch's report: one page, ``DIR/index.html``, to look a batch over in a browser.

The page is the same one ``quorvex-run --batch ... --report DIR`` writes (this package ships
it, the runner embeds it): every file's row with the pictures of its windows, its outputs
and, for a failure, every field of its error record; filters, sorting and a histogram of
each output that holds one number per file. It opens from the file system, with no server
and nothing fetched but the pictures.

    names = [...]                                   # the files, in order
    with quorvex.Procedure("inspect_parts") as inspect:
        results = list(inspect.map({"ImagePath": n, ...} for n in names))
    quorvex.report.write("report", zip(names, results), inspect.output_ctrl_names)

A row is ``(file, result)``, ``(file, result, pictures)`` or ``(file, result, pictures,
seconds)``; ``result`` is the outputs by name, an :class:`EngineError` or a :class:`Failure`.
:func:`snapshots` writes the windows a procedure left open, in the process that ran it, and
:func:`picture_prefix` names a file's pictures as quorvex-run does.
"""
import atexit
import json
import math
import os
import shutil
import stat
import tempfile
import threading
from typing import Any, Dict, Iterable, List, Mapping, Optional, Sequence, Union

from ._library import Library
from .errors import EngineError, check

__all__ = ["Failure", "failure", "picture_prefix", "snapshots", "write", "PAGE"]



def _resource(name: str) -> str:
    """A file the package shares with quorvex-run: beside the package in a wheel, in the
    repository's resources/ folder when the package runs from its sources."""
    here = os.path.dirname(os.path.abspath(__file__))
    beside = os.path.join(here, name)
    if os.path.exists(beside):
        return beside
    return os.path.join(os.path.dirname(os.path.dirname(here)), "resources", name)


#: The page the data goes into, shared with quorvex-run.
PAGE = _resource("report.html")
# The procedure that writes the windows, quorvex-run's own: every window still open, active
# first, as FOLDER/PREFIX<window>.png, each closed once written.
_SNAPSHOTS = "quorvex_snapshots"
_MARKER = "@QUORVEX_REPORT_DATA@"


class Failure(list):  # type: ignore[type-arg]
    """An error record's seven fields in the order of the C record (``kind``, ``procName``,
    ``progLineName``, ``errorCode``, ``progLineNum``, ``message``, ``errorText``): a plain
    list, so that it travels between processes where an exception might not."""


def failure(error: EngineError) -> Failure:
    """The record of ``error`` as the page shows it."""
    return Failure([int(error.kind), error.proc_name, error.line_name, error.error_code,
                    error.line_number, error.message, error.error_text])


Result = Union[Mapping[str, Any], EngineError, Failure]

_procedures: Dict[int, Any] = {}
_lock = threading.Lock()
_folder: Optional[str] = None


def _private_folder() -> str:
    """This process's own folder for the snapshot procedure, made once and removed at exit.

    The engine loads procedures only from files along the procedure path. A fixed folder in
    the shared temporary folder may have been made by another user, who would then choose
    the procedure that runs; mkdtemp makes a fresh one only this user can enter (0700), and it
    is checked before anything is written into it. Under the lock."""
    global _folder
    if _folder is None:
        try:
            folder = tempfile.mkdtemp(prefix="quorvex-report-")
        except OSError as error:
            raise OSError(error.errno, "cannot make a private folder under the temporary "
                          f"folder {tempfile.gettempdir()} (TMPDIR): {error.strerror}") from error
        status = os.lstat(folder)
        if (not stat.S_ISDIR(status.st_mode) or
                (hasattr(os, "geteuid") and (status.st_uid != os.geteuid() or
                                             status.st_mode & 0o077))):
            raise OSError(f"{folder} is not a folder of this user's alone")
        shutil.copyfile(_resource(_SNAPSHOTS + ".hdvp"),
                        os.path.join(folder, _SNAPSHOTS + ".hdvp"))
        atexit.register(_remove, folder, os.getpid())
        _folder = folder
    return _folder


def _remove(folder: str, owner: int) -> None:
    # A child forked from the process that made it ends with the same exit handlers.
    if os.getpid() == owner:
        shutil.rmtree(folder, ignore_errors=True)


def picture_prefix(index: int, count: int, file: str) -> str:
    """The prefix quorvex-run gives the pictures of the batch's ``index``-th file (from 0) of
    ``count``: its place from 1, as wide as ``count``, then its name with the extension, every
    character but an ASCII letter, digit, ``.``, ``-`` or ``_`` made ``_``, then ``_``. Unique
    within a batch and the same for the same batch."""
    name = os.path.basename(os.fsencode(file))
    plain = b"".join(bytes([c]) if chr(c).isascii() and (chr(c).isalnum() or c in b".-_")
                     else b"_" for c in name)
    return f"{index + 1:0{len(str(count))}d}_{plain.decode('ascii')}_"


def snapshots(folder: str, prefix: str, library: Optional[Library] = None) -> List[str]:
    """Write a PNG of every window still open, as ``folder/<prefix><window>.png``, closing
    each; returns the files. Windows belong to the process: call it where the procedure ran.
    quorvex-run names a file's pictures with :func:`picture_prefix`."""
    from .engine import Procedure
    from ._library import default_library
    library = library or default_library()
    with _lock:
        procedure = _procedures.get(id(library))
        if procedure is None:
            # Not among the settings worker processes replay: the folder is this process's.
            check(library, library.haddProcedurePath(os.fsencode(_private_folder())))
            procedure = _procedures[id(library)] = Procedure(_SNAPSHOTS,
                                                             library=library)
    os.makedirs(folder, exist_ok=True)
    files: List[str] = procedure(Folder=os.path.abspath(folder), Prefix=prefix)["Files"]
    return files


def _number(value: Any) -> Any:
    # JSON has no NaN or infinity: they are shown as their names.
    return str(value) if isinstance(value, float) and not math.isfinite(value) else value


def _entry(folder: str, row: Sequence[Any], outputs: Sequence[str]) -> List[Any]:
    file, result = row[0], row[1]
    pictures = row[2] if len(row) > 2 and row[2] else ()
    seconds = row[3] if len(row) > 3 else None
    links = []
    for picture in pictures:
        try:
            links.append(os.path.relpath(os.path.abspath(picture), folder).replace(os.sep, "/"))
        except ValueError:  # another drive: no relative way there
            links.append(os.path.abspath(picture))
    if isinstance(result, EngineError):
        result = failure(result)
    if isinstance(result, Failure):
        return [str(file), "error", seconds, None, list(result), links]
    values = [[_number(v) for v in result[name]] for name in outputs]
    return [str(file), "ok", seconds, values, None, links]


def _script_safe(text: str) -> str:
    # Inside <script>, '</' would end the element and '<!--' open a comment; ASCII JSON
    # already escapes U+2028 and U+2029.
    return text.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026")


def write(folder: str, rows: Iterable[Sequence[Any]], outputs: Optional[Sequence[str]] = None,
          *, seconds: Optional[float] = None, jobs: Optional[int] = None,
          title: Optional[str] = None) -> str:
    """Write ``folder/index.html`` for ``rows`` (see the module's text); returns its path.

    ``outputs`` names the output columns in order (by default those of the first success);
    ``seconds`` is the batch's time and ``jobs`` how many ran at once, for the summary.
    Rows are written as they come, so a generator of results is never held whole.
    """
    folder = os.path.abspath(folder)
    os.makedirs(folder, exist_ok=True)
    with open(PAGE, encoding="utf-8") as file:
        head, tail = file.read().split(_MARKER)
    page = os.path.join(folder, "index.html")
    part = page + ".part"
    with open(part, "w", encoding="utf-8", newline="\n") as out:
        out.write(head)
        names: Optional[List[str]] = None
        pending: List[Sequence[Any]] = []
        count = 0

        def begin(columns: Sequence[str]) -> List[str]:
            data = json.dumps({"title": title or "quorvex batch", "outputs": list(columns)})
            out.write(_script_safe(data[:-1]) + ',"rows":[\n')
            return list(columns)

        def emit(row: Sequence[Any]) -> None:
            nonlocal count
            assert names is not None
            text = json.dumps(_entry(folder, row, names), ensure_ascii=True, allow_nan=False)
            out.write(("," if count else "") + _script_safe(text) + "\n")
            count += 1

        if outputs is not None:
            names = begin(outputs)
        for row in rows:
            if names is None:  # the columns are the first success's outputs
                if isinstance(row[1], (EngineError, Failure)):
                    pending.append(row)
                    continue
                names = begin(list(row[1]))
            for waiting in pending:
                emit(waiting)
            pending.clear()
            emit(row)
        if names is None:
            names = begin([])
        for waiting in pending:
            emit(waiting)
        summary = {"seconds": None if seconds is None else round(seconds, 3), "jobs": jobs}
        out.write("]," + json.dumps({"summary": summary})[1:] + tail)
    os.replace(part, page)
    return page

