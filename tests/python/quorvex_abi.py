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

# The four parameter groups of a procedure, as the export names spell them.
GROUPS = ("InputCtrl", "InputIconic", "OutputCtrl", "OutputIconic")

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
    "hinit": (ErrorPtr, [ctypes.c_int32]),
    "hprepareShutdown": (ctypes.c_int32, []),
    "hsetEngineAttribute": (ErrorPtr, [ctypes.c_char_p, ctypes.c_char_p]),
    "hsetEngineAttributeInt": (ErrorPtr, [ctypes.c_char_p, ctypes.c_int32]),
    "haddProcedurePath": (ErrorPtr, [ctypes.c_char_p]),
    "hunloadAllProcedures": (ErrorPtr, []),
    "hgetsystem": (ErrorPtr, [ctypes.c_char_p, ctypes.POINTER(Handle)]),
    "hstartDebugServer": (ErrorPtr, []),
    "hstopDebugServer": (ErrorPtr, []),
    "hcreateProgram": (ErrorPtr, [ctypes.c_char_p, ctypes.POINTER(Handle)]),
    "hcreateProgramCall": (ErrorPtr, [Handle, ctypes.POINTER(Handle)]),
    "hprogramcallExecute": (ErrorPtr, [Handle]),
    "hfreeProgram": (None, [Handle]),
    "hfreeProgramCall": (None, [Handle]),
    "hcreateProcedure": (ErrorPtr, [ctypes.c_char_p, ctypes.POINTER(Handle)]),
    "hcreateProcedureCall": (ErrorPtr, [Handle, ctypes.POINTER(Handle)]),
    "hprocedurecallSetInputCtrlParamTuple": (ErrorPtr, [Handle, ctypes.c_int32, Handle]),
    "hprocedurecallExecute": (ErrorPtr, [Handle]),
    "hprocedurecallGetOutputCtrlParamTuple": (ErrorPtr, [Handle, ctypes.c_int32,
                                                         ctypes.POINTER(Handle)]),
    **{f"hprocedureGet{group}ParamCount": (ErrorPtr, [Handle, ctypes.POINTER(ctypes.c_int32)])
       for group in GROUPS},
    **{f"hprocedureGet{group}ParamName": (ErrorPtr, [Handle, ctypes.c_int32,
                                                     ctypes.POINTER(ctypes.c_char_p)])
       for group in GROUPS},
    **{f"hprocedureGet{group}ParamDimension": (ctypes.c_int32, [Handle, ctypes.c_int32,
                                                                ctypes.POINTER(ctypes.c_int32)])
       for group in GROUPS},
    "hfreeProcedure": (None, [Handle]),
    "hfreeProcedureCall": (None, [Handle]),
    "hsetFullscreen": (ctypes.c_int32, [ctypes.c_int32]),
    "hopenDefaultWindow": (ErrorPtr, []),
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
