"""Engine-wide settings: initialisation, procedure paths, attributes, system queries."""
import os
from typing import Any, List, Optional, Tuple as Pair, Union

from . import _library
from ._library import Library
from .errors import check, created, raise_held
from .tuples import Tuple

__all__ = ["init", "add_procedure_path", "set_engine_attribute", "unload_all_procedures",
           "get_system", "prepare_shutdown", "set_fullscreen", "open_default_window",
           "debug_server"]


def _lib(library: Optional[Library]) -> Library:
    return library or _library.default_library()


def _text(value: Union[str, bytes], encoding: str = "utf-8") -> bytes:
    """The bytes the library receives for a name or value: ``str`` encoded, ``bytes`` kept;
    ValueError for a NUL inside."""
    if isinstance(value, bytes):
        return _library.c_text(value, "a name or value")
    if isinstance(value, str):
        return _library.c_text(value.encode(encoding), "a name or value")
    raise TypeError(f"expected str or bytes, not {type(value).__name__}")


def _remember(library: Library, setting: str, *args: Any) -> None:
    """Note a process-wide setting, replayed in the worker processes of ``Procedure.map``."""
    library.__dict__.setdefault("_settings", []).append((setting, args))


def settings(library: Optional[Library] = None) -> List[Pair[str, Pair[Any, ...]]]:
    """The process-wide settings made through this package, as (function name, arguments)."""
    return list(_lib(library).__dict__.get("_settings", []))


def init(logo: bool = False, *, library: Optional[Library] = None) -> None:
    """Initialise the library: call once before any program or procedure runs.

    Sets the system parameters ``width`` and ``height`` to 512 and ``use_window_thread`` to
    ``'true'``, and registers the library's display operators with the engine, so that
    ``dev_open_window``, ``dev_display`` and the other ``dev_*`` lines draw into windows.

    Args:
        logo: ``True`` also switches the logo overlay in the windows' corners on, for the
            rest of the process (``hinit(1)``); ``False`` leaves it as it is (``hinit(0)``).
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        EngineError: The library could not be initialised.
    """
    library = _lib(library)
    check(library, library.hinit(1 if logo else 0))
    _remember(library, "init", bool(logo))


def add_procedure_path(path: Union[str, bytes, "os.PathLike[str]"], *,
                       library: Optional[Library] = None) -> None:
    """Append a folder to the paths searched for external procedures (``NAME.hdvp``).

    Args:
        path: A folder (``str``, ``bytes`` or path-like), or several joined with ``;``.
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        ValueError: The path holds a NUL character.
        EngineError: The engine refused the path.
    """
    library = _lib(library)
    # A folder name is encoded as the file system encodes it.
    check(library, library.haddProcedurePath(_library.c_text(os.fsencode(path),
                                                             "a procedure path")))
    _remember(library, "add_procedure_path", os.fspath(path))


def set_engine_attribute(name: Union[str, bytes], value: Union[int, str, bytes], *,
                         library: Optional[Library] = None) -> None:
    """Set an engine attribute such as ``call_depth_limit`` or ``ignore_invalid_lines``.

    Args:
        name: The attribute's name.
        value: An ``int`` (``hsetEngineAttributeInt``) or a string (``hsetEngineAttribute``).
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
        check(library, library.hsetEngineAttribute(_text(name), _text(value)))
    else:
        raise TypeError(f"an engine attribute takes an int or a string, not "
                        f"{type(value).__name__}")
    _remember(library, "set_engine_attribute", name, value)


def unload_all_procedures(*, library: Optional[Library] = None) -> None:
    """Drop the engine's cache of loaded external procedures.

    Procedures loaded before keep working; later loads read the files again.

    Raises:
        EngineError: The engine failed.
    """
    library = _lib(library)
    check(library, library.hunloadAllProcedures())


def get_system(query: Union[str, bytes], *, library: Optional[Library] = None) -> Any:
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
    handle = created(library, library.hgetsystem, _text(query))
    with Tuple.from_handle(handle, library=library) as value:
        return value.to_python()


def prepare_shutdown(*, library: Optional[Library] = None) -> int:
    """Tell the library the process is about to end; returns the library's result (0)."""
    library = _lib(library)
    result: int = library.hprepareShutdown()
    return result


def set_fullscreen(fullscreen: bool, *, library: Optional[Library] = None) -> None:
    """Choose whether windows opened from now on cover their monitor without a frame.

    Windows already open are not touched.

    Args:
        fullscreen: ``True`` for frameless full-screen windows.
        library: The :class:`~quorvex.Library`; the default one when omitted.
    """
    library = _lib(library)
    library.hsetFullscreen(1 if fullscreen else 0)
    _remember(library, "set_fullscreen", bool(fullscreen))
    raise_held()


def open_default_window(*, library: Optional[Library] = None) -> None:
    """Open a 640 x 480 black window, the active window for programs from now on.

    Needs :func:`init` first. The library reports a refused opening on its standard-error
    channel (see :func:`~quorvex.set_message_handlers`), not as an error.

    Args:
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        EngineError: The library failed otherwise.
    """
    library = _lib(library)
    check(library, library.hopenDefaultWindow())


def debug_server(start: bool = True, *, library: Optional[Library] = None) -> None:
    """Ask the library to start (or stop) the HDevelop debug server.

    The library does not offer one with this engine: this raises its refusal.

    Args:
        start: ``True`` for ``hstartDebugServer``, ``False`` for ``hstopDebugServer``.
        library: The :class:`~quorvex.Library`; the default one when omitted.

    Raises:
        EngineError: The library's refusal (kind 0, with its message).
    """
    library = _lib(library)
    check(library, library.hstartDebugServer() if start else library.hstopDebugServer())
