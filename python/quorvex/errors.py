"""The library's error records as Python exceptions.

Every record becomes an :class:`EngineError`, of the subclass its kind names:
:class:`MessageError` (kind 0), :class:`OperatorError` (kind 1) or :class:`ExecutionError`
(kind 2). ``except EngineError`` catches all three.
"""
import ctypes
import enum
import threading
from typing import Any, Dict, NoReturn, Optional, Tuple, Type, Union

from ._library import ErrorMsg, Library

__all__ = ["ErrorKind", "EngineError", "MessageError", "OperatorError", "ExecutionError",
           "check", "created", "raise_record", "hold", "raise_held"]


# By thread: a SystemExit or KeyboardInterrupt a message handler raised inside a native
# call, which cannot cross C and is raised once the call returns. A dict, not a
# threading.local: an empty dict is the common case and the cheapest test.
_held: Dict[int, BaseException] = {}


def hold(error: BaseException) -> None:
    """Keep ``error`` for :func:`raise_held` on this thread; the first one held wins."""
    _held.setdefault(threading.get_ident(), error)


def raise_held() -> None:
    """Raise what :func:`hold` kept on this thread, if anything, and forget it."""
    if _held:
        error = _held.pop(threading.get_ident(), None)
        if error is not None:
            try:
                raise error
            finally:
                del error


class ErrorKind(enum.IntEnum):
    """What failed, as the record's ``kind`` field tells."""

    MESSAGE = 0  #: a plain text of the library's own
    OPERATOR = 1  #: an image-processing operator failed
    ENGINE = 2  #: the HDevelop engine failed, with procedure and line


def _decode(raw: Optional[bytes], encoding: Optional[str]) -> Optional[str]:
    if raw is None:
        return None
    return raw.decode(encoding or "utf-8", errors="replace")


class EngineError(Exception):
    """A failure reported by the quorvex library.

    Carries every field of the library's error record, texts decoded to ``str``.

    Attributes:
        kind: An :class:`ErrorKind` (an ``int`` outside those three is kept as it is).
        proc_name: The failing operator (kind 1) or the executing procedure (kind 2);
            ``None`` when the record has none.
        line_name: The operator or procedure called on the failing line (kind 2), or ``None``.
        line_number: That line's number in its procedure body, from 1 (kind 2); else -1.
        error_code: The error number; -1 for a plain message (kind 0).
        message: The failure's message.
        error_text: The error number's standard text, ``None`` if it has none.
    """

    #: The kind an error of this class has when none is given.
    default_kind: Union[ErrorKind, int] = ErrorKind.MESSAGE

    kind: Union[ErrorKind, int]
    proc_name: Optional[str]
    line_name: Optional[str]
    line_number: int
    error_code: int
    message: str
    error_text: Optional[str]

    def __init__(self, message: str, kind: Optional[Union[ErrorKind, int]] = None,
                 proc_name: Optional[str] = None, line_name: Optional[str] = None,
                 line_number: int = -1, error_code: int = -1,
                 error_text: Optional[str] = None) -> None:
        """Build an error from the fields of a record.

        Args:
            message: The failure's message.
            kind: The record's kind, 0, 1 or 2; the class's :attr:`default_kind` when
                omitted.
            proc_name: The operator or executing procedure.
            line_name: The operator or procedure called on the failing line.
            line_number: The failing line, from 1, or -1.
            error_code: The error number, or -1.
            error_text: The standard text of the error number.
        """
        super().__init__(message)
        if kind is None:
            kind = self.default_kind
        try:
            self.kind = ErrorKind(kind)
        except ValueError:
            self.kind = kind
        self.proc_name = proc_name
        self.line_name = line_name
        self.line_number = line_number
        self.error_code = error_code
        self.message = message
        self.error_text = error_text

    @classmethod
    def from_record(cls, record: Any, encoding: Optional[str] = "utf-8") -> "EngineError":
        """Copy every field of an ``ErrorMsg`` record into a new error.

        Args:
            record: The record (the ``ErrorMsg`` structure, not a pointer to it).
            encoding: The encoding of the record's texts; undecodable bytes are replaced.

        Returns:
            The new error; called on :class:`EngineError` itself, of the subclass the
            record's kind names. The record is not released.
        """
        if cls is EngineError:
            cls = _BY_KIND.get(record.kind, EngineError)
        return cls(_decode(record.message, encoding) or "",
                   kind=record.kind,
                   proc_name=_decode(record.procName, encoding),
                   line_name=_decode(record.progLineName, encoding),
                   line_number=record.progLineNum,
                   error_code=record.errorCode,
                   error_text=_decode(record.errorText, encoding))

    def __str__(self) -> str:
        parts = []
        if self.kind == ErrorKind.ENGINE:
            where = [self.proc_name] if self.proc_name else []
            if self.line_number is not None and self.line_number >= 0:
                where.append(f"line {self.line_number}")
            if self.line_name:
                where.append(f"calling {self.line_name}")
            if where:
                parts.append("in " + ", ".join(where))
        elif self.kind == ErrorKind.OPERATOR and self.proc_name:
            parts.append(f"in operator {self.proc_name}")
        if self.error_code is not None and self.error_code >= 0:
            code = f"error {self.error_code}"
            if self.error_text and self.error_text not in (self.message or ""):
                code += f" ({self.error_text})"
            parts.append(code)
        head = self.message or self.error_text or "unknown failure"
        return head + (f" [{'; '.join(parts)}]" if parts else "")

    def __repr__(self) -> str:
        return (f"{type(self).__name__}({self.message!r}, kind={self.kind!r}, "
                f"proc_name={self.proc_name!r}, line_name={self.line_name!r}, "
                f"line_number={self.line_number!r}, error_code={self.error_code!r}, "
                f"error_text={self.error_text!r})")

    def __reduce__(self) -> Tuple[Any, Tuple[Any, ...]]:
        return (_rebuild, (type(self), self.message, int(self.kind), self.proc_name,
                           self.line_name, self.line_number, self.error_code, self.error_text))


class MessageError(EngineError):
    """A plain text of the library's own (kind 0): a NULL argument, a refused request."""

    default_kind = ErrorKind.MESSAGE


class OperatorError(EngineError):
    """An image-processing operator failed (kind 1); :attr:`proc_name` names it."""

    default_kind = ErrorKind.OPERATOR


class ExecutionError(EngineError):
    """The HDevelop engine failed (kind 2), with procedure, line and called operator."""

    default_kind = ErrorKind.ENGINE


_BY_KIND: Dict[int, Type[EngineError]] = {
    ErrorKind.MESSAGE: MessageError, ErrorKind.OPERATOR: OperatorError,
    ErrorKind.ENGINE: ExecutionError}


def _rebuild(cls: Type[EngineError], message: str, kind: int, proc_name: Optional[str],
             line_name: Optional[str], line_number: int, error_code: int,
             error_text: Optional[str]) -> EngineError:
    return cls(message, kind, proc_name, line_name, line_number, error_code, error_text)


def raise_record(library: Library, address: int, encoding: Optional[str] = "utf-8") -> NoReturn:
    """Raise the error of a record given by its address, releasing the record first.

    Args:
        library: The :class:`~quorvex.Library` that returned the record.
        address: The record's address (not NULL), as :class:`~quorvex._library.Calls`
            functions return it.
        encoding: The encoding of the record's texts.
    """
    try:
        error = EngineError.from_record(ErrorMsg.from_address(address), encoding)
    finally:
        library.calls.clear_record(ctypes.c_void_p(address))
    try:
        # An exit or interrupt from a handler during the failed call comes first.
        if _held:
            try:
                raise error
            except EngineError:
                raise_held()
        raise error
    finally:
        # As in check: no cycle between this frame and the error.
        del error


def check(library: Library, record: Any, encoding: Optional[str] = "utf-8") -> None:
    """Raise the error a function's result reports, releasing the record.

    Args:
        library: The :class:`~quorvex.Library` that returned the record.
        record: The ``ErrorMsg*`` result of an export: a NULL pointer means success.
        encoding: The encoding of the record's texts.

    Raises:
        EngineError: The record is not NULL. It is copied, then released with
            ``hclearErrorMsg`` before the exception is raised.
        SystemExit, KeyboardInterrupt: A message handler raised it during the call (see
            :func:`hold`); an error of the call is its context.
    """
    if not record:
        if _held:
            raise_held()
        return
    try:
        error = EngineError.from_record(record.contents, encoding)
    finally:
        library.hclearErrorMsg(record)
    try:
        if _held:
            try:
                raise error
            except EngineError:
                raise_held()
        raise error
    finally:
        # The traceback refers to this frame: without this, the frame and the error would
        # keep each other (and every handle the failing call's frames hold) until the
        # cycle collector runs.
        del error


def created(library: Library, create: Any, *args: Any,
            encoding: Optional[str] = "utf-8") -> int:
    """Call an export that writes a new handle into its last argument; return the handle.

    Args:
        library: The :class:`~quorvex.Library` that ``create`` belongs to.
        create: The export, e.g. ``library.hcreateTuple``.
        *args: Its arguments before the handle's address.
        encoding: The encoding of an error record's texts.

    Returns:
        The handle as an ``int``, owned by the caller from now on.

    Raises:
        EngineError: The export failed; nothing was made.
    """
    handle = ctypes.c_void_p()
    check(library, create(*args, ctypes.byref(handle)), encoding)
    return handle.value or 0
