"""The library's C interface as a ctypes caller declares it.

Kept apart from the tests so that every suite loads the library the same way: the path
comes from QUORVEX_LIBRARY, and every export gets its argument and result types.
"""
import ctypes
import os


class ErrorMsg(ctypes.Structure):
    """The error record, read field by field."""

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
# The message callback: cdecl, one text argument, no result.
MessageHandler = ctypes.CFUNCTYPE(None, ctypes.c_char_p)

# name: (result type, argument types)
SIGNATURES = {
    "hclearErrorMsg": (None, [ErrorPtr]),
    "hcreateTuple": (ErrorPtr, [ctypes.POINTER(Handle)]),
    "happendTupleDouble": (None, [Handle, ctypes.c_double]),
    "happendTupleLong": (None, [Handle, ctypes.c_int32]),
    "happendTupleString": (None, [Handle, ctypes.c_char_p]),
    "hgetTupleLength": (ctypes.c_int32, [Handle]),
    "hgetTupleElemType": (ctypes.c_int32, [Handle, ctypes.c_int32]),
    "hgetTupleElemDouble": (ctypes.c_double, [Handle, ctypes.c_int32]),
    "hgetTupleElemLong": (ctypes.c_int32, [Handle, ctypes.c_int32]),
    # A raw pointer, not c_char_p: the caller must hand the very same block back.
    "hgetTupleElemString_TO_BE_FREED": (ctypes.c_void_p, [Handle, ctypes.c_int32]),
    "hfreeTupleElemString": (None, [ctypes.c_void_p]),
    "hfreeTuple": (None, [Handle]),
    "hsetStdOutHandler": (ErrorPtr, [MessageHandler]),
    "hsetStdErrHandler": (ErrorPtr, [MessageHandler]),
    "hsetVerbosity": (ErrorPtr, [ctypes.c_int32]),
}


def load():
    """Loads the library named by QUORVEX_LIBRARY and declares every export."""
    library = ctypes.CDLL(os.environ["QUORVEX_LIBRARY"])
    for name, (restype, argtypes) in SIGNATURES.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes
    return library


def describe(record):
    """One line with every field of a record, for failure messages."""
    fields = record.contents
    return ", ".join(f"{name}={getattr(fields, name)!r}" for name, _ in ErrorMsg._fields_)
