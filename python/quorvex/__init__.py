"""Python access to the quorvex library: HDevelop programs and procedures from Python.

The package loads ``libquorvex32-11.0.so`` (``quorvex32-11.0.dll`` on Windows) through
ctypes and wraps its flat C interface: control tuples convert to and from Python values,
error records become :class:`EngineError`, and every handle is released by the library's
own release function, from ``close()``, a ``with`` block or the garbage collector.
"""
from ._library import Library, default_library, library_file_name, load
from .errors import EngineError, ErrorKind, ExecutionError, MessageError, OperatorError
from .messages import KEEP, message_handlers, set_message_handlers, set_verbosity
from .engine import Procedure, ProcedureCall, Program, ProgramCall
from .system import (add_procedure_path, debug_server, get_system, init, open_default_window,
                     prepare_shutdown, set_engine_attribute, set_fullscreen,
                     unload_all_procedures)
from .tuples import ElemType, Tuple
from ._version import __version__

__all__ = [
    "Library", "load", "default_library", "library_file_name",
    "EngineError", "MessageError", "OperatorError", "ExecutionError", "ErrorKind",
    "Tuple", "ElemType",
    "Procedure", "ProcedureCall", "Program", "ProgramCall",
    "init", "add_procedure_path", "set_engine_attribute", "unload_all_procedures",
    "get_system", "prepare_shutdown", "set_fullscreen", "open_default_window", "debug_server",
    "set_message_handlers", "message_handlers", "set_verbosity", "KEEP",
]
