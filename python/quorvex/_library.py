"""Finding and loading the quorvex library, and declaring its exports for ctypes.

Every export is declared once here, with the C types of ``quorvex.h``. The rest of the
package reaches the library only through a :class:`Library` object.
"""
import ctypes
import ctypes.util
import os
import sys
import threading

__all__ = ["ErrorMsg", "Library", "load", "default_library", "library_file_name"]


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
MessageHandler = ctypes.CFUNCTYPE(None, ctypes.c_char_p)

_int = ctypes.c_int32
_text = ctypes.c_char_p
# Parameter names are written into a ``const char*`` the caller provides; they belong to the
# procedure and are never released.
_text_out = ctypes.POINTER(ctypes.c_char_p)
_int_out = ctypes.POINTER(ctypes.c_int32)

# The four parameter groups of a procedure, as the export names spell them.
GROUPS = ("InputCtrl", "InputIconic", "OutputCtrl", "OutputIconic")

# name: (result type, argument types), in the order of quorvex.h
SIGNATURES = {
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


def library_file_name(platform=None):
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

    def __init__(self, path, name):
        self._path = path
        self.__name__ = name

    def __call__(self, *args):
        raise AttributeError(f"{self._path} has no export {self.__name__}")


class Library:
    """A loaded quorvex library with every export declared.

    The exports are attributes under their C names (``lib.hcreateTuple``). An export the
    file lacks (an older build) is an attribute that raises :class:`AttributeError` when
    called, so that the rest of the library stays usable.

    Attributes:
        path: The file the library was loaded from.
        missing: The names of the exports the file lacks.
    """

    def __init__(self, path):
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
        self._message_handlers = {}
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

    def __repr__(self):
        return f"<quorvex.Library {self.path!r}>"


def _candidates():
    """The places tried, in order, when no path is given."""
    found = []
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
_default = None


def load(path=None):
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


def default_library():
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
