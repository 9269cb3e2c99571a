"""The library's standard-output and standard-error message channels."""
import sys
import threading
import traceback
from typing import Any, Callable, Dict, Optional, Union

from . import _library
from ._library import Library
from .errors import check, hold

__all__ = ["set_message_handlers", "message_handlers", "set_verbosity", "KEEP", "Handler"]

#: A message handler: called with one message.
Handler = Callable[[str], Any]


class _Keep:
    def __repr__(self) -> str:
        return "quorvex.KEEP"


#: Default of :func:`set_message_handlers`: leave that channel as it is.
KEEP = _Keep()

_lock = threading.Lock()


class _Unraisable:
    """The fields ``sys.unraisablehook`` reads."""

    def __init__(self, error: BaseException, err_msg: str, obj: object) -> None:
        self.exc_type = type(error)
        self.exc_value = error
        self.exc_traceback = error.__traceback__
        self.err_msg = err_msg
        self.object = obj


def _report(error: BaseException, handler: Handler, channel: str) -> None:
    """Report an exception raised by a message handler without raising anything."""
    err_msg = f"Exception ignored in quorvex {channel} message handler"
    try:
        hook = sys.unraisablehook
        if hook is not sys.__unraisablehook__:
            # A hook reads the fields only: this object has all of them.
            hook(_Unraisable(error, err_msg, handler))  # type: ignore[arg-type]
            return
        # The interpreter's own hook accepts only its own argument type: write what it
        # would write.
        stream = sys.stderr
        if stream is not None:
            stream.write(f"{err_msg}: {handler!r}\n")
            traceback.print_exception(type(error), error, error.__traceback__, file=stream)
    except BaseException:  # reporting must not fail into C either
        pass


def _dispatcher(library: Library, channel: str) -> Any:
    """The one C callback of a channel, for the library's lifetime.

    It calls whichever Python handler is set when a message arrives. Replacing a handler
    therefore never frees code that a delivery on another thread may be entering or running:
    the C function stays the same, and a running delivery holds its own handler.
    """
    table = _handlers(library)

    def deliver(raw: Optional[bytes]) -> None:
        handler, _, encoding = table.get(channel, (None, None, None))
        if handler is None:
            return
        try:
            handler(raw.decode(encoding, "replace") if raw is not None else "")
        except (SystemExit, KeyboardInterrupt) as error:
            # Cannot cross C: raised on this thread once the library call returns.
            hold(error)
        except BaseException as error:
            _report(error, handler, channel)

    return _library.MessageHandler(deliver)


def _handlers(library: Library) -> Dict[str, Any]:
    # Per library: the Python handler, the C callback and the encoding of each channel.
    return library._message_handlers


def _callback(library: Library, channel: str) -> Any:
    """The channel's dispatcher, made on first use."""
    callbacks = _handlers(library).setdefault("callbacks", {})
    if channel not in callbacks:
        callbacks[channel] = _dispatcher(library, channel)
    return callbacks[channel]


def set_message_handlers(stdout: Union[Handler, None, _Keep] = KEEP,
                         stderr: Union[Handler, None, _Keep] = KEEP, *,
                         encoding: str = "utf-8", library: Optional[Library] = None) -> None:
    """Route the library's message channels to Python callables.

    Each handler receives one message as ``str``, without a line end, decoded with
    ``encoding`` (undecodable bytes replaced). An exception raised by a handler never
    reaches the library: it is reported
    through ``sys.unraisablehook`` (or written to ``sys.stderr`` as the interpreter does for
    such exceptions) and the message is dropped, and the call that sent the message
    completes. :class:`SystemExit` and :class:`KeyboardInterrupt` are not reported: the
    first one is raised to the caller once the package's call that sent the message returns.

    A handler runs on the thread that sent the message, never while the library holds a
    lock, so it may call anything of the package: open a window, run a procedure. Replacing
    a handler while a message is being delivered on another thread is safe: that delivery
    finishes with the old one.

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
        with _lock:
            callback = _library.MessageHandler() if handler is None else _callback(library, name)
            # The handler is in the table before the library can call for it.
            _handlers(library)[name] = (handler, callback, encoding)
            check(library, setter(callback))


def message_handlers(library: Optional[Library] = None) -> Dict[str, Optional[Handler]]:
    """Return the Python handlers now set, as ``{"stdout": ..., "stderr": ...}``.

    Args:
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Returns:
        A dict with the handler of each channel, ``None`` for a closed channel.
    """
    table = _handlers(library or _library.default_library())
    return {name: table.get(name, (None, None))[0] for name in ("stdout", "stderr")}


def set_verbosity(verbose: bool, *, library: Optional[Library] = None) -> None:
    """Switch the library's informational messages on or off.

    Switching on also routes the image-processing library's low-level errors to the
    standard-error channel (which stays so when switched off again).

    Args:
        verbose: ``True`` for on.
        library: The :class:`~quorvex.Library`; the default one when omitted.
    """
    library = library or _library.default_library()
    check(library, library.hsetVerbosity(1 if verbose else 0))
