"""Runs a few HDevelop lines as a procedure through the raw C interface.

The lines go into an external procedure file in a temporary folder of this process, which is
added to the engine's procedure paths once; outputs are read back by name.
"""
import atexit
import ctypes
import itertools
import shutil
import tempfile
from xml.sax.saxutils import escape

import quorvex_abi

_FOLDER = None
_COUNTER = itertools.count(1)


def _folder(lib):
    global _FOLDER
    if _FOLDER is None:
        _FOLDER = tempfile.mkdtemp(prefix="quorvex_py_snippets_")
        atexit.register(shutil.rmtree, _FOLDER, True)
        error = lib.haddProcedurePath(_FOLDER.encode())
        if error:
            raise RuntimeError(quorvex_abi.describe(error))
    return _FOLDER


class EngineFailure(Exception):
    """A record returned by the library, copied field by field and released."""

    def __init__(self, record):
        fields = record.contents
        self.kind = fields.kind
        self.error_code = fields.errorCode
        self.line_name = fields.progLineName
        self.line_number = fields.progLineNum
        super().__init__(quorvex_abi.describe(record))


def _check(lib, error):
    if error:
        failure = EngineFailure(error)
        lib.hclearErrorMsg(error)
        raise failure


def _read(lib, handle):
    values = []
    for index in range(lib.hgetTupleLength(handle)):
        kind = lib.hgetTupleElemType(handle, index)
        if kind == 1:
            values.append(lib.hgetTupleElemLong(handle, index))
        elif kind == 2:
            values.append(lib.hgetTupleElemDouble(handle, index))
        else:
            address = lib.hgetTupleElemString_TO_BE_FREED(handle, index)
            values.append(ctypes.string_at(address).decode())
            lib.hfreeTupleElemString(address)
    return values


def run(lib, lines, outputs=()):
    """Runs `lines`; returns {output: list of values}. Raises EngineFailure on a record."""
    name = f"py_snippet_{next(_COUNTER)}"
    parameters = "".join(f'<par name="{o}" base_type="ctrl" dimension="0"/>' for o in outputs)
    body = "".join(f"<l>{escape(line)}</l>\n" for line in lines)
    with open(f"{_folder(lib)}/{name}.hdvp", "w", encoding="utf-8") as handle:
        handle.write(
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            '<hdevelop file_version="1.0" halcon_version="11.0">\n'
            f'<procedure name="{name}">\n<interface>'
            f'{"<oc>" + parameters + "</oc>" if outputs else ""}</interface>\n'
            f"<body>\n{body}</body>\n</procedure>\n</hdevelop>\n")
    procedure = quorvex_abi.Handle()
    call = quorvex_abi.Handle()
    try:
        _check(lib, lib.hcreateProcedure(name.encode(), ctypes.byref(procedure)))
        _check(lib, lib.hcreateProcedureCall(procedure, ctypes.byref(call)))
        _check(lib, lib.hprocedurecallExecute(call))
        results = {}
        for index, output in enumerate(outputs, start=1):
            tuple_ = quorvex_abi.Handle()
            _check(lib, lib.hprocedurecallGetOutputCtrlParamTuple(call, index,
                                                                  ctypes.byref(tuple_)))
            results[output] = _read(lib, tuple_)
            lib.hfreeTuple(tuple_)
        return results
    finally:
        lib.hfreeProcedureCall(call)
        lib.hfreeProcedure(procedure)
