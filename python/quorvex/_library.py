"""Finding and loading the quorvex library, and declaring its exports for ctypes.

Every export is declared once here, with the C types of ``quorvex.h``. The rest of the
package reaches the library only through a :class:`Library` object.
"""
import ctypes
import ctypes.util
import os
import sys
import threading
from typing import TYPE_CHECKING, Any, Callable, Dict, List, Optional, Sequence, Tuple, Union

__all__ = ["ErrorMsg", "Library", "Calls", "load", "default_library", "library_file_name"]

#: A path the loader accepts.
PathLike = Union[str, "os.PathLike[str]"]


class ErrorMsg(ctypes.Structure):
    """The library's error record: eight fields read by position."""

    _fields_ = [
        ("kind", ctypes.c_int32),
        ("procName", ctypes.c_char_p),
        ("progLineName", ctypes.c_char_p),
        ("errorCode", ctypes.c_int32),
        ("progLineNum", ctypes.c_int32),
        ("message", ctypes.c_char_p),
        ("errorText", ctypes.c_char_p),
        ("reserved", ctypes.c_char_p),
    ]


ErrorPtr = ctypes.POINTER(ErrorMsg)
Handle = ctypes.c_void_p
HandleOut = ctypes.POINTER(Handle)
#: The message callback type: cdecl, one NUL-terminated text, no result.
MessageHandler: Any = ctypes.CFUNCTYPE(None, ctypes.c_char_p)

_int = ctypes.c_int32
_text = ctypes.c_char_p
# Parameter names are written into a ``const char*`` the caller provides; they belong to the
# procedure and are never released.
_text_out = ctypes.POINTER(ctypes.c_char_p)
_int_out = ctypes.POINTER(ctypes.c_int32)

# The four parameter groups of a procedure, as the export names spell them.
GROUPS = ("InputCtrl", "InputIconic", "OutputCtrl", "OutputIconic")

# name: (result type, argument types), in the order of quorvex.h
SIGNATURES: Dict[str, Tuple[Any, List[Any]]] = {
    # Error records
    "hclearErrorMsg": (None, [ErrorPtr]),
    # Initialisation and engine settings
    "hinit": (ErrorPtr, [_int]),
    "hprepareShutdown": (_int, []),
    "hsetEngineAttribute": (ErrorPtr, [_text, _text]),
    "hsetEngineAttributeInt": (ErrorPtr, [_text, _int]),
    "haddProcedurePath": (ErrorPtr, [_text]),
    "hunloadAllProcedures": (ErrorPtr, []),
    "hgetsystem": (ErrorPtr, [_text, HandleOut]),
    "hstartDebugServer": (ErrorPtr, []),
    "hstopDebugServer": (ErrorPtr, []),
    # Tuples
    "hcreateTuple": (ErrorPtr, [HandleOut]),
    "happendTupleDouble": (None, [Handle, ctypes.c_double]),
    "happendTupleLong": (None, [Handle, _int]),
    "happendTupleString": (None, [Handle, _text]),
    "hgetTupleLength": (_int, [Handle]),
    "hgetTupleElemType": (_int, [Handle, _int]),
    "hgetTupleElemDouble": (ctypes.c_double, [Handle, _int]),
    "hgetTupleElemLong": (_int, [Handle, _int]),
    # A raw address, not c_char_p: the very same block goes back to hfreeTupleElemString.
    "hgetTupleElemString_TO_BE_FREED": (ctypes.c_void_p, [Handle, _int]),
    "hfreeTupleElemString": (None, [ctypes.c_void_p]),
    "hfreeTuple": (None, [Handle]),
    # Programs and procedures
    "hcreateProgram": (ErrorPtr, [_text, HandleOut]),
    "hcreateProgramCall": (ErrorPtr, [Handle, HandleOut]),
    "hprogramcallExecute": (ErrorPtr, [Handle]),
    "hfreeProgram": (None, [Handle]),
    "hfreeProgramCall": (None, [Handle]),
    "hcreateProcedure": (ErrorPtr, [_text, HandleOut]),
    "hcreateProcedureCall": (ErrorPtr, [Handle, HandleOut]),
    "hprocedurecallSetInputCtrlParamTuple": (ErrorPtr, [Handle, _int, Handle]),
    "hprocedurecallExecute": (ErrorPtr, [Handle]),
    "hprocedurecallGetOutputCtrlParamTuple": (ErrorPtr, [Handle, _int, HandleOut]),
    **{f"hprocedureGet{group}ParamCount": (ErrorPtr, [Handle, _int_out]) for group in GROUPS},
    **{f"hprocedureGet{group}ParamName": (ErrorPtr, [Handle, _int, _text_out])
       for group in GROUPS},
    **{f"hprocedureGet{group}ParamDimension": (_int, [Handle, _int, _int_out])
       for group in GROUPS},
    "hfreeProcedure": (None, [Handle]),
    "hfreeProcedureCall": (None, [Handle]),
    # Windows
    "hsetFullscreen": (_int, [_int]),
    "hopenDefaultWindow": (ErrorPtr, []),
    # Messages
    "hsetStdOutHandler": (ErrorPtr, [MessageHandler]),
    "hsetStdErrHandler": (ErrorPtr, [MessageHandler]),
    "hsetVerbosity": (ErrorPtr, [_int]),
}


def library_file_name(platform: Optional[str] = None) -> str:
    """Return the library's file name on a platform.

    Args:
        platform: A ``sys.platform`` value; the running one when omitted.

    Returns:
        ``quorvex32-11.0.dll`` on Windows, ``libquorvex32-11.0.dylib`` on macOS and
        ``libquorvex32-11.0.so`` elsewhere.
    """
    platform = sys.platform if platform is None else platform
    if platform.startswith(("win32", "cygwin")):
        return "quorvex32-11.0.dll"
    if platform == "darwin":
        return "libquorvex32-11.0.dylib"
    return "libquorvex32-11.0.so"


class _MissingExport:
    """Stands for an export the loaded library lacks; calling it raises."""

    def __init__(self, path: str, name: str) -> None:
        self._path = path
        self.__name__ = name

    def __call__(self, *args: Any) -> Any:
        raise AttributeError(f"{self._path} has no export {self.__name__}")


class Library:
    """A loaded quorvex library with every export declared.

    The exports are attributes under their C names (``lib.hcreateTuple``). An export the
    file lacks (an older build) is an attribute that raises :class:`AttributeError` when
    called, so that the rest of the library stays usable.

    Attributes:
        path: The file the library was loaded from.
        missing: The names of the exports the file lacks.
        owned: The handles package objects own, by address.
    """

    path: str
    missing: List[str]

    if TYPE_CHECKING:
        # The exports are set per instance from SIGNATURES.
        def __getattr__(self, name: str) -> Any: ...

    def __init__(self, path: str) -> None:
        """Load the library file at ``path``.

        Args:
            path: A file path, or a bare file name for the platform loader to find.

        Raises:
            OSError: The file cannot be loaded.
        """
        self.path = path
        # cdecl on every platform, Windows included.
        self._cdll = ctypes.CDLL(path)
        self.missing = []
        # Message callbacks set through this library, kept alive while set (see messages).
        self._message_handlers: Dict[str, Any] = {}
        # Every handle a package object owns, by address, to its owner (see _resources).
        self.owned: Dict[int, Any] = {}
        self._calls: Optional[Calls] = None
        for name, (restype, argtypes) in SIGNATURES.items():
            try:
                function = getattr(self._cdll, name)
            except AttributeError:
                self.missing.append(name)
                function = _MissingExport(path, name)
            else:
                function.restype = restype
                function.argtypes = argtypes
            setattr(self, name, function)

    @property
    def calls(self) -> "Calls":
        """The exports the package calls most, bound for speed (see :class:`Calls`)."""
        calls = self._calls
        if calls is None:
            calls = self._calls = Calls(self._cdll, self.path)
        return calls

    def __repr__(self) -> str:
        return f"<quorvex.Library {self.path!r}>"


def c_text(data: bytes, what: str) -> bytes:
    """``data`` as a C text argument: the library would read it only up to a NUL.

    Raises:
        ValueError: ``data`` holds a NUL character.
    """
    if b"\0" in data:
        raise ValueError(f"{what} cannot contain a NUL character")
    return data


_Function = Callable[..., Any]


class Calls:
    """The exports on the package's hot paths, bound a second time without argument types.

    ctypes converts every argument through its declared type on each call; these function
    objects skip that. Callers pass exactly what C receives: handles as ``c_void_p``,
    integers as ``int`` within 32 bits, texts as ``bytes``, out-parameters by ``byref``.
    Functions that return a record give its address as an ``int``, or ``None`` for success;
    :func:`~quorvex.errors.raise_record` turns one into an exception. Reals cannot go through
    unconverted, so ``append_double`` keeps its argument types.
    """

    __slots__ = ("clear_record", "create_tuple", "append_long", "append_double",
                 "append_string", "length", "elem_type", "elem_double", "elem_long",
                 "elem_string", "free_string", "free_tuple", "create_call", "free_call",
                 "set_input", "execute", "get_output", "program_execute")

    def __init__(self, cdll: ctypes.CDLL, path: str) -> None:
        def bind(name: str, restype: Any, argtypes: Optional[Sequence[Any]] = None) -> _Function:
            # Indexing makes a function object of its own, apart from the declared one.
            try:
                function = cdll[name]
            except AttributeError:
                return _MissingExport(path, name)
            function.restype = restype
            if argtypes is not None:
                function.argtypes = argtypes
            return function

        record, address, handle = ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p
        self.clear_record: _Function = bind("hclearErrorMsg", None)
        self.create_tuple: _Function = bind("hcreateTuple", record)
        self.append_long: _Function = bind("happendTupleLong", None)
        self.append_double: _Function = bind("happendTupleDouble", None,
                                             [handle, ctypes.c_double])
        self.append_string: _Function = bind("happendTupleString", None)
        self.length: _Function = bind("hgetTupleLength", _int)
        self.elem_type: _Function = bind("hgetTupleElemType", _int)
        self.elem_double: _Function = bind("hgetTupleElemDouble", ctypes.c_double)
        self.elem_long: _Function = bind("hgetTupleElemLong", _int)
        self.elem_string: _Function = bind("hgetTupleElemString_TO_BE_FREED", address)
        self.free_string: _Function = bind("hfreeTupleElemString", None)
        self.free_tuple: _Function = bind("hfreeTuple", None)
        self.create_call: _Function = bind("hcreateProcedureCall", record)
        self.free_call: _Function = bind("hfreeProcedureCall", None)
        self.set_input: _Function = bind("hprocedurecallSetInputCtrlParamTuple", record)
        self.execute: _Function = bind("hprocedurecallExecute", record)
        self.get_output: _Function = bind("hprocedurecallGetOutputCtrlParamTuple", record)
        self.program_execute: _Function = bind("hprogramcallExecute", record)


def _candidates() -> List[str]:
    """The places tried, in order, when no path is given."""
    found: List[str] = []
    variable = os.environ.get("QUORVEX_LIBRARY")
    if variable:
        return [variable]
    name = library_file_name()
    beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
    if os.path.exists(beside):
        found.append(beside)
    found.append(name)
    located = ctypes.util.find_library("quorvex32-11.0")
    if located and located != name:
        found.append(located)
    return found


_lock = threading.Lock()
_default: Optional[Library] = None


def load(path: Optional[PathLike] = None) -> Library:
    """Load the quorvex library and make it the package's default.

    Args:
        path: The library file. When omitted: the file named by the environment variable
            ``QUORVEX_LIBRARY``, else the platform's file name (``libquorvex32-11.0.so``,
            ``quorvex32-11.0.dll``) beside this package, else that name on the platform
            loader's search path.

    Returns:
        The loaded :class:`Library`.

    Raises:
        OSError: No candidate could be loaded; the message names every place tried.
    """
    global _default
    tried = [os.fspath(path)] if path is not None else _candidates()
    failures = []
    for candidate in tried:
        try:
            library = Library(candidate)
        except OSError as error:
            failures.append(f"{candidate}: {error}")
            continue
        with _lock:
            _default = library
        return library
    raise OSError("cannot load the quorvex library; tried " + "; ".join(failures))


def default_library() -> Library:
    """Return the default library, loading it on first use.

    Returns:
        The :class:`Library` last given by :func:`load`, or the one :func:`load` finds
        without a path.

    Raises:
        OSError: The library cannot be found.
    """
    library = _default
    if library is None:
        library = load()
    return library
