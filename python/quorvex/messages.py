"""The library's standard-output and standard-error message channels."""
import sys
import threading
import traceback

from . import _library
from .errors import check

__all__ = ["set_message_handlers", "set_verbosity", "KEEP"]


class _Keep:
    def __repr__(self):
        return "quorvex.KEEP"


#: Default of :func:`set_message_handlers`: leave that channel as it is.
KEEP = _Keep()

_lock = threading.Lock()


class _Unraisable:
    """The fields ``sys.unraisablehook`` reads."""

    def __init__(self, error, err_msg, obj):
        self.exc_type = type(error)
        self.exc_value = error
        self.exc_traceback = error.__traceback__
        self.err_msg = err_msg
        self.object = obj


def _report(error, handler, channel):
    """Report an exception raised by a message handler without raising anything."""
    err_msg = f"Exception ignored in quorvex {channel} message handler"
    try:
        hook = sys.unraisablehook
        if hook is not sys.__unraisablehook__:
            hook(_Unraisable(error, err_msg, handler))
            return
        # The interpreter's own hook accepts only its own argument type: write what it
        # would write.
        stream = sys.stderr
        if stream is not None:
            stream.write(f"{err_msg}: {handler!r}\n")
            traceback.print_exception(type(error), error, error.__traceback__, file=stream)
    except BaseException:  # reporting must not fail into C either
        pass


def _trampoline(handler, channel, encoding):
    """The C callback for a Python handler: decode, call, contain every exception."""

    def deliver(raw):
        try:
            handler(raw.decode(encoding, "replace") if raw is not None else "")
        except BaseException as error:
            _report(error, handler, channel)

    return _library.MessageHandler(deliver)


def _handlers(library):
    # The callback objects must outlive their use by the library: kept per library.
    return library._message_handlers


def set_message_handlers(stdout=KEEP, stderr=KEEP, *, encoding="utf-8", library=None):
    """Route the library's message channels to Python callables.

    Each handler receives one message as ``str``, without a line end, decoded with
    ``encoding`` (undecodable bytes replaced). It may be called on any thread that sends a
    message. An exception raised by a handler never reaches the library: it is reported
    through ``sys.unraisablehook`` (or written to ``sys.stderr`` as the interpreter does for
    such exceptions) and the message is dropped.

    The package keeps the C callback of each handler alive while it is set, and drops it
    once the channel is given another handler.

    Args:
        stdout: A callable for the standard-output channel, ``None`` to close it (its
            messages are dropped), or :data:`KEEP` to leave it unchanged.
        stderr: The same for the standard-error channel.
        encoding: The encoding of the library's texts.
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        TypeError: A handler is neither callable nor ``None``.
        EngineError: The library refused a handler.
    """
    library = library or _library.default_library()
    for name, handler in (("stdout", stdout), ("stderr", stderr)):
        if handler is not KEEP and handler is not None and not callable(handler):
            raise TypeError(f"the {name} handler must be callable or None")
    for name, handler, setter in (("stdout", stdout, library.hsetStdOutHandler),
                                  ("stderr", stderr, library.hsetStdErrHandler)):
        if handler is KEEP:
            continue
        callback = (_library.MessageHandler() if handler is None
                    else _trampoline(handler, name, encoding))
        with _lock:
            check(library, setter(callback))
            # Only now is the previous callback unreachable from the library.
            _handlers(library)[name] = (handler, callback)


def message_handlers(library=None):
    """Return the Python handlers now set, as ``{"stdout": ..., "stderr": ...}``.

    Args:
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Returns:
        A dict with the handler of each channel, ``None`` for a closed channel.
    """
    table = _handlers(library or _library.default_library())
    return {name: table.get(name, (None, None))[0] for name in ("stdout", "stderr")}


def set_verbosity(verbose, *, library=None):
    """Switch the library's informational messages on or off.

    Switching on also routes the image-processing library's low-level errors to the
    standard-error channel (which stays so when switched off again).

    Args:
        verbose: ``True`` for on.
        library: The :class:`~quorvex.Library`; the default one when omitted.
    """
    library = library or _library.default_library()
    check(library, library.hsetVerbosity(1 if verbose else 0))
