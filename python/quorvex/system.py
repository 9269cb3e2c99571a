"""Engine-wide settings: initialisation, procedure paths, attributes, system queries."""
import os

from . import _library
from .errors import check
from .tuples import Tuple

__all__ = ["init", "add_procedure_path", "set_engine_attribute", "unload_all_procedures",
           "get_system", "set_fullscreen", "open_default_window", "debug_server"]


def _lib(library):
    return library or _library.default_library()


def _text(value, encoding="utf-8"):
    if isinstance(value, bytes):
        return value
    return os.fspath(value).encode(encoding) if not isinstance(value, str) \
        else value.encode(encoding)


def init(logo=False, *, library=None):
    """Initialise the library's engine.

    Args:
        logo: Whether to show the library's logo.
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        EngineError: The engine could not be initialised.
    """
    library = _lib(library)
    check(library, library.hinit(1 if logo else 0))


def add_procedure_path(path, *, library=None):
    """Append a folder to the paths searched for external procedures (``NAME.hdvp``).

    Args:
        path: A folder (``str``, ``bytes`` or path-like), or several joined with ``;``.
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        EngineError: The engine refused the path.
    """
    library = _lib(library)
    check(library, library.haddProcedurePath(_text(path)))


def set_engine_attribute(name, value, *, library=None):
    """Set an engine attribute such as ``call_depth_limit`` or ``ignore_invalid_lines``.

    Args:
        name: The attribute's name.
        value: An ``int`` (``hsetEngineAttributeInt``) or a string
            (``hsetEngineAttributeString``).
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        TypeError: A value of another type.
        OverflowError: An integer outside 32 bits.
        EngineError: An unknown attribute or a wrong value.
    """
    library = _lib(library)
    if isinstance(value, int) and not isinstance(value, bool):
        if not -2**31 <= value < 2**31:
            raise OverflowError(f"{value} does not fit a 32-bit integer")
        check(library, library.hsetEngineAttributeInt(_text(name), value))
    elif isinstance(value, (str, bytes)):
        check(library, library.hsetEngineAttributeString(_text(name), _text(value)))
    else:
        raise TypeError(f"an engine attribute takes an int or a string, not "
                        f"{type(value).__name__}")


def unload_all_procedures(*, library=None):
    """Drop the engine's cache of loaded external procedures.

    Procedures loaded before keep working; later loads read the files again.

    Raises:
        EngineError: The engine failed.
    """
    library = _lib(library)
    check(library, library.hunloadAllProcedures())


def get_system(query, *, library=None):
    """Return a system parameter of the image-processing library.

    Args:
        query: The parameter's name, for instance ``'width'`` or, with the stand-ins,
            ``'standin_live_tuples'``.
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Returns:
        The value: the element itself when there is exactly one, else a list.

    Raises:
        EngineError: An unknown parameter.
    """
    library = _lib(library)
    handle = Tuple([], library=library)
    with handle:
        check(library, library.hgetsystem(_text(query), handle.handle))
        return handle.to_python()


def set_fullscreen(fullscreen, *, library=None):
    """Choose whether the default window opens full screen.

    Raises:
        EngineError: The library refused.
    """
    library = _lib(library)
    check(library, library.hsetFullscreen(1 if fullscreen else 0))


def open_default_window(*, library=None):
    """Open the library's default graphics window.

    Raises:
        EngineError: The window could not be opened.
    """
    library = _lib(library)
    check(library, library.hopenDefaultWindow())


def debug_server(*, library=None):
    """Ask the library to start the HDevelop debug server.

    The library does not offer one: this always raises its refusal.

    Raises:
        EngineError: Always, with the library's message.
    """
    library = _lib(library)
    check(library, library.hstartDebugServer())
