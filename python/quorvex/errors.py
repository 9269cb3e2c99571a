"""The library's error records as Python exceptions."""
import ctypes
import enum

__all__ = ["ErrorKind", "EngineError", "check"]


class ErrorKind(enum.IntEnum):
    """What failed, as the record's ``kind`` field tells."""

    MESSAGE = 0  #: a plain text of the library's own
    OPERATOR = 1  #: an image-processing operator failed
    ENGINE = 2  #: the HDevelop engine failed, with procedure and line


def _decode(raw, encoding):
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

    def __init__(self, message, kind=ErrorKind.MESSAGE, proc_name=None, line_name=None,
                 line_number=-1, error_code=-1, error_text=None):
        """Build an error from the fields of a record.

        Args:
            message: The failure's message.
            kind: The record's kind, 0, 1 or 2.
            proc_name: The operator or executing procedure.
            line_name: The operator or procedure called on the failing line.
            line_number: The failing line, from 1, or -1.
            error_code: The error number, or -1.
            error_text: The standard text of the error number.
        """
        super().__init__(message)
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
    def from_record(cls, record, encoding="utf-8"):
        """Copy every field of an ``ErrorMsg`` record into a new error.

        Args:
            record: The record (the ``ErrorMsg`` structure, not a pointer to it).
            encoding: The encoding of the record's texts; undecodable bytes are replaced.

        Returns:
            The new :class:`EngineError`; the record is not released.
        """
        return cls(_decode(record.message, encoding) or "",
                   kind=record.kind,
                   proc_name=_decode(record.procName, encoding),
                   line_name=_decode(record.progLineName, encoding),
                   line_number=record.progLineNum,
                   error_code=record.errorCode,
                   error_text=_decode(record.errorText, encoding))

    def __str__(self):
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

    def __repr__(self):
        return (f"{type(self).__name__}({self.message!r}, kind={self.kind!r}, "
                f"proc_name={self.proc_name!r}, line_name={self.line_name!r}, "
                f"line_number={self.line_number!r}, error_code={self.error_code!r}, "
                f"error_text={self.error_text!r})")

    def __reduce__(self):
        return (_rebuild, (type(self), self.message, int(self.kind), self.proc_name,
                           self.line_name, self.line_number, self.error_code, self.error_text))


def _rebuild(cls, message, kind, proc_name, line_name, line_number, error_code, error_text):
    return cls(message, kind, proc_name, line_name, line_number, error_code, error_text)


def check(library, record, encoding="utf-8"):
    """Raise the error a function's result reports, releasing the record.

    Args:
        library: The :class:`~quorvex.Library` that returned the record.
        record: The ``ErrorMsg*`` result of an export: a NULL pointer means success.
        encoding: The encoding of the record's texts.

    Raises:
        EngineError: The record is not NULL. It is copied, then released with
            ``hclearErrorMsg`` before the exception is raised.
    """
    if not record:
        return
    try:
        error = EngineError.from_record(record.contents, encoding)
    finally:
        library.hclearErrorMsg(record)
    try:
        raise error
    finally:
        # The traceback refers to this frame: without this, the frame and the error would
        # keep each other (and every handle the failing call's frames hold) until the
        # cycle collector runs.
        del error


def created(library, create, *args, encoding="utf-8"):
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
    return handle.value
