"""HDevelop procedures and programs, and calls of them."""
import ctypes
import os
from typing import (Any, Callable, Dict, Iterable, Iterator, List, Mapping, Optional, Sequence,
                    Tuple as Pair, Union)

from . import _library
from ._library import Calls, Library
from ._resources import Owner, Wrapper
from .batch import map_procedure
from .errors import EngineError, MessageError, _held, check, created, raise_held, raise_record
from .tuples import INT32_MAX, INT32_MIN, Tuple, Value, _too_wide, fill, read

__all__ = ["Procedure", "ProcedureCall", "Program", "ProgramCall"]

#: A parameter given by name or by its number from 1.
Parameter = Union[str, bytes, int]
#: A procedure's control outputs by name.
Outputs = Dict[str, List[Any]]

# How string values are encoded and decoded on the way through a call.
_ERRORS = "surrogateescape"


def _encode_name(name: Union[str, bytes], encoding: Optional[str]) -> bytes:
    if isinstance(name, bytes):
        return _library.c_text(name, "a procedure name")
    if not isinstance(name, str):
        raise TypeError(f"a name must be str or bytes, not {type(name).__name__}")
    return _library.c_text(name.encode(encoding or "utf-8"), "a procedure name")


def _create_from(parent: Wrapper, create: Any, encoding: Optional[str]) -> int:
    """A handle made from ``parent``'s, which stays borrowed for it (the new handle's owner
    takes the borrow over); on failure nothing stays borrowed."""
    owner = parent._owner
    owner.borrow()
    try:
        return created(owner.library, create, owner._handle, encoding=encoding)
    except BaseException:
        owner.give_back()
        raise


def _check_index(index: Any) -> int:
    if isinstance(index, bool):
        raise TypeError("a parameter index must be an int or a name, not a bool")
    return int(index)


def _set_input(library: Library, calls: Calls, call: ctypes.c_void_p, index: int, value: Any,
               encoding: Optional[str]) -> None:
    """Set control input ``index`` of ``call`` from a :class:`Tuple` or a value.

    A value goes through a tuple of its own, made, filled, handed over and released here.
    """
    kind = type(value)
    if kind is int or kind is float:
        # A single number, the commonest input, without fill's loop and classification.
        if kind is int and not INT32_MIN <= value <= INT32_MAX:
            raise _too_wide(value)
        handle = ctypes.c_void_p()
        address = calls.create_tuple(ctypes.byref(handle))
        if address:
            raise_record(library, address, encoding)
        try:
            if kind is int:
                calls.append_long(handle, value)
            else:
                calls.append_double(handle, value)
            # The library reports nothing about an append.
            if calls.length(handle) != 1:
                raise MessageError("the library refused the value; the input is not set")
            address = calls.set_input(call, index, handle)
        finally:
            calls.free_tuple(handle)
    elif isinstance(value, Tuple):
        owner = value._owner
        owner.borrow()
        try:
            address = calls.set_input(call, index, value._arg)
        finally:
            owner.give_back()
    else:
        handle = ctypes.c_void_p()
        address = calls.create_tuple(ctypes.byref(handle))
        if address:
            raise_record(library, address, encoding)
        try:
            fill(calls, handle, value if isinstance(value, (list, tuple)) else (value,),
                 encoding, _ERRORS, 0)
            address = calls.set_input(call, index, handle)
        finally:
            calls.free_tuple(handle)
    if address:
        raise_record(library, address, encoding)


def _get_output(library: Library, calls: Calls, call: ctypes.c_void_p, index: int,
                encoding: Optional[str]) -> List[Any]:
    """Control output ``index`` of ``call`` as a list, through a tuple released here."""
    handle = ctypes.c_void_p()
    address = calls.get_output(call, index, ctypes.byref(handle))
    if address:
        raise_record(library, address, encoding)
    try:
        return read(calls, handle, encoding, _ERRORS)
    finally:
        calls.free_tuple(handle)


class Procedure(Wrapper):
    """An external HDevelop procedure, ``NAME.hdvp`` from the procedure paths.

    Parameter names come in four groups, in interface order: :attr:`input_ctrl_names`,
    :attr:`output_ctrl_names`, :attr:`input_iconic_names` and :attr:`output_iconic_names`.
    Calling the procedure object runs it once with control inputs and returns its control
    outputs::

        with quorvex.Procedure("add") as add:
            add(A=1, B=2)        # {'Sum': [3]}

    Control values convert as for :class:`~quorvex.Tuple`; outputs are always lists.
    """

    name: Union[str, bytes]

    def __init__(self, name: Union[str, bytes], *, encoding: Optional[str] = "utf-8",
                 library: Optional[Library] = None) -> None:
        """Load the procedure ``name``.

        Args:
            name: The procedure's name, without ``.hdvp``.
            encoding: The encoding of names and string values (see :class:`~quorvex.Tuple`).
            library: The :class:`~quorvex.Library`; the default one when omitted.

        Raises:
            EngineError: The procedure is not found in the procedure paths or does not load.
        """
        library = library or _library.default_library()
        self._encoding = encoding
        self.name = name
        handle = created(library, library.hcreateProcedure, _encode_name(name, encoding),
                         encoding=encoding)
        self._own(library, handle, "hfreeProcedure")
        self._calls = library.calls
        self._arg = ctypes.c_void_p(handle)
        self._names: Dict[str, Pair[str, ...]] = {}
        self._input_index: Optional[Dict[str, int]] = None
        self._output_index: Optional[Dict[str, int]] = None
        # What each call object reads: input numbers, output names, output numbers.
        self._interface: Optional[Pair[Dict[str, int], Pair[str, ...], Dict[str, int]]] = None

    def __repr__(self) -> str:
        state = " closed" if self.closed else ""
        return f"<quorvex.Procedure {self.name!r}{state}>"

    def _group(self, group: str) -> Pair[str, ...]:
        """The parameter names of one group, read once from the library."""
        names = self._names.get(group)
        if names is None:
            self._owner.borrow()
            try:
                names = self._names[group] = self._read_group(group)
            finally:
                self._owner.give_back()
        return names

    def _read_group(self, group: str) -> Pair[str, ...]:
        """One group's names, with the procedure borrowed."""
        library, handle = self.library, self._owner._handle
        count = ctypes.c_int32()
        check(library, getattr(library, f"hprocedureGet{group}ParamCount")(
            handle, ctypes.byref(count)), self._encoding)
        found = []
        for index in range(1, count.value + 1):
            text = ctypes.c_char_p()
            check(library, getattr(library, f"hprocedureGet{group}ParamName")(
                handle, index, ctypes.byref(text)), self._encoding)
            # The text belongs to the procedure: copied, never released.
            found.append((text.value or b"").decode(self._encoding or "utf-8",
                                                    "surrogateescape"))
        return tuple(found)

    def _read_interface(self) -> Pair[Dict[str, int], Pair[str, ...], Dict[str, int]]:
        """Input numbers, output names and output numbers, read once."""
        interface = self._interface
        if interface is None:
            interface = self._interface = (
                self._inputs(), self._group("OutputCtrl"), self._outputs())
        return interface

    def _inputs(self) -> Dict[str, int]:
        """Each control input's number from 1, by name; read once."""
        index = self._input_index
        if index is None:
            index = self._input_index = {
                name: number for number, name in enumerate(self._group("InputCtrl"), start=1)}
        return index

    def _outputs(self) -> Dict[str, int]:
        """Each control output's number from 1, by name; read once."""
        index = self._output_index
        if index is None:
            index = self._output_index = {
                name: number for number, name in enumerate(self._group("OutputCtrl"), start=1)}
        return index

    @property
    def input_ctrl_names(self) -> List[str]:
        """The names of the control inputs, in interface order."""
        return list(self._group("InputCtrl"))

    @property
    def output_ctrl_names(self) -> List[str]:
        """The names of the control outputs, in interface order."""
        return list(self._group("OutputCtrl"))

    @property
    def input_iconic_names(self) -> List[str]:
        """The names of the iconic inputs, in interface order."""
        return list(self._group("InputIconic"))

    @property
    def output_iconic_names(self) -> List[str]:
        """The names of the iconic outputs, in interface order."""
        return list(self._group("OutputIconic"))

    def create_call(self) -> "ProcedureCall":
        """Return a new :class:`ProcedureCall` of this procedure."""
        return ProcedureCall(self)

    def _arguments(self, args: Sequence[Any], inputs: Mapping[str, Any]) -> List[Pair[int, Any]]:
        """(number, value) of every input given, checked against the interface."""
        index = self._inputs()
        if len(args) > len(index):
            raise TypeError(f"{self.name!s} takes {len(index)} control inputs, "
                            f"{len(args)} given")
        pairs = list(enumerate(args, start=1))
        for name, value in inputs.items():
            number = index.get(name)
            if number is None:
                raise TypeError(f"{self.name!s} has no control input {name!r}; "
                                f"its inputs are {', '.join(index) or 'none'}")
            if number <= len(args):
                raise TypeError(f"{self.name!s} got input {name!r} twice")
            pairs.append((number, value))
        return pairs

    def call(self, *args: Any, **inputs: Any) -> Outputs:
        """Run the procedure once and return its control outputs.

        Args:
            *args: Control inputs in interface order.
            **inputs: Control inputs by name.

        Returns:
            A dict from each control output's name to its values, as a list.

        Raises:
            TypeError: An unknown input name, an input given twice, or a value that cannot
                be converted.
            EngineError: An input left unset, or a failure while the procedure runs.
        """
        index, outputs, _ = self._interface or self._read_interface()
        pairs = None
        if not args:
            # Inputs by keyword alone, the usual way, checked without _arguments' bookkeeping.
            try:
                pairs = [(index[name], value) for name, value in inputs.items()]
            except KeyError:
                pass
        if pairs is None:
            pairs = self._arguments(args, inputs)
        owner, calls, encoding = self._owner, self._calls, self._encoding
        library = owner.library
        # The call lives only here: a handle of its own, made and freed around the run, with
        # the procedure kept meanwhile (a borrow written out, as in ProcedureCall).
        users = owner._users
        users.append(None)
        try:
            if owner._closing:
                raise ValueError("operation on a closed quorvex object")
            call = ctypes.c_void_p()
            address = calls.create_call(self._arg, ctypes.byref(call))
            if address:
                raise_record(library, address, encoding)
            try:
                for number, value in pairs:
                    _set_input(library, calls, call, number, value, encoding)
                address = calls.execute(call)
                if address:
                    raise_record(library, address, encoding)
                if _held:
                    raise_held()
                results: Outputs = {}
                number = 0
                for name in outputs:
                    number += 1
                    results[name] = _get_output(library, calls, call, number, encoding)
                return results
            finally:
                calls.free_call(call)
        finally:
            users.pop()
            if owner._closing:
                owner.release_unused()

    __call__ = call

    def map(self, inputs: Iterable[Mapping[str, Any]], *, jobs: Optional[int] = None,
            threads: bool = False, raise_errors: bool = False,
            progress: Optional[Callable[[int, int], Any]] = None
            ) -> Iterator[Union[Outputs, EngineError]]:
        """Run the procedure once per item of ``inputs``, ``jobs`` at once.

        Jobs are worker processes (the window registry and the display settings are
        process-wide), each loading this procedure's library file and replaying the settings
        made through the package first; ``threads=True`` uses threads instead, only for
        procedures that open no windows. One job runs here.

        Args:
            inputs: An iterable of dicts of control inputs by name.
            jobs: How many at once; the number of cores when omitted.
            threads: Threads of this process instead of worker processes.
            raise_errors: Raise an item's :class:`EngineError` when it is reached, instead of
                yielding it.
            progress: Called as ``progress(done, total)`` on the caller's thread as items
                complete, in any order.

        Returns:
            An iterator over each item's outputs (as :meth:`call` returns them) or its
            :class:`EngineError`, in input order.
        """
        return map_procedure(self, inputs, jobs=jobs, threads=threads,
                             raise_errors=raise_errors, progress=progress)


class ProcedureCall(Wrapper):
    """One call of a :class:`Procedure`: set inputs, execute, read outputs.

    Parameters are named, or numbered from 1 in their group as the library numbers them.
    The call keeps its procedure alive.
    """

    def __init__(self, procedure: Procedure) -> None:
        """Create a call of ``procedure``.

        Args:
            procedure: An open :class:`Procedure`.

        Raises:
            EngineError: The library could not create the call.
        """
        self.procedure = procedure
        self._encoding = encoding = procedure._encoding
        # Read now, so that the names stay known should the procedure be closed first.
        interface = procedure._interface or procedure._read_interface()
        self._inputs, self._outputs, self._output_index = interface
        parent = procedure._owner
        library = parent.library
        self._calls = calls = procedure._calls
        # Borrowed from here on, until this call's handle is released (Owner.borrow written
        # out, as in set_input).
        parent._users.append(None)
        try:
            if parent._closing:
                raise ValueError("operation on a closed quorvex object")
            self._arg = handle = ctypes.c_void_p()
            address = calls.create_call(procedure._arg, ctypes.byref(handle))
            if address:
                raise_record(library, address, encoding)
        except BaseException:
            parent.give_back()
            raise
        self._owner = Owner(library, handle.value or 0, calls.free_call, parent, handle)

    def __repr__(self) -> str:
        state = " closed" if self.closed else ""
        return f"<quorvex.ProcedureCall of {self.procedure.name!r}{state}>"

    def _index(self, name_or_index: Parameter, numbers: Dict[str, int], what: str) -> int:
        """The library's index (from 1) of a parameter given by name or index."""
        if isinstance(name_or_index, str):
            number = numbers.get(name_or_index)
            if number is not None:
                return number
            raise ValueError(
                f"procedure {self.procedure.name!r} has no control {what} "
                f"{name_or_index!r}; it has {', '.join(numbers) or 'none'}")
        if isinstance(name_or_index, bytes):
            return self._index(name_or_index.decode(self._encoding or "utf-8",
                                                    "surrogateescape"), numbers, what)
        return _check_index(name_or_index)

    def set_input(self, name_or_index: Parameter, value: Value) -> None:
        """Set one control input.

        Args:
            name_or_index: The input's name, or its number from 1.
            value: A :class:`~quorvex.Tuple` (the call keeps a copy), or a value it
                converts from.

        Raises:
            ValueError: An unknown name.
            TypeError, OverflowError, ValueError: The value cannot be converted.
            EngineError: An index out of range.
        """
        number = self._inputs.get(name_or_index) if type(name_or_index) is str else None
        if number is None:
            number = self._index(name_or_index, self._inputs, "input")
        # Owner.borrow and give_back written out here and below: these methods run on every
        # call of a procedure, and a method call costs as much as the list operation itself.
        owner = self._owner
        users = owner._users
        users.append(None)
        try:
            if owner._closing:
                raise ValueError("operation on a closed quorvex object")
            _set_input(owner.library, self._calls, self._arg, number, value, self._encoding)
        finally:
            users.pop()
            if owner._closing:
                owner.release_unused()

    def execute(self) -> None:
        """Run the procedure with the inputs set.

        Raises:
            EngineError: An input is unset, or a line fails (with procedure, line number
                and the called operator in the error).
        """
        # Borrowed for the run: a message handler may close this call meanwhile, and the
        # release then waits until the run has returned.
        owner = self._owner
        users = owner._users
        users.append(None)
        try:
            if owner._closing:
                raise ValueError("operation on a closed quorvex object")
            address = self._calls.execute(self._arg)
        finally:
            users.pop()
            if owner._closing:
                owner.release_unused()
        if address:
            raise_record(owner.library, address, self._encoding)
        if _held:
            raise_held()

    def get_output_tuple(self, name_or_index: Parameter) -> Tuple:
        """Return one control output as a new :class:`~quorvex.Tuple` the caller owns.

        Args:
            name_or_index: The output's name, or its number from 1.

        Raises:
            ValueError: An unknown name.
            EngineError: An index out of range.
        """
        index = self._index(name_or_index, self._output_index, "output")
        owner = self._owner
        library = owner.library
        owner.borrow()
        try:
            handle = created(library, library.hprocedurecallGetOutputCtrlParamTuple, self._arg,
                             index, encoding=self._encoding)
        finally:
            owner.give_back()
        return Tuple.from_handle(handle, encoding=self._encoding, library=library)

    def get_output(self, name_or_index: Parameter) -> List[Any]:
        """Return one control output's values as a list.

        An output the procedure never assigned is an empty list.

        Args:
            name_or_index: The output's name, or its number from 1.

        Raises:
            ValueError: An unknown name.
            EngineError: An index out of range.
        """
        number = self._output_index.get(name_or_index) if type(name_or_index) is str else None
        if number is None:
            number = self._index(name_or_index, self._output_index, "output")
        owner = self._owner
        users = owner._users
        users.append(None)
        try:
            if owner._closing:
                raise ValueError("operation on a closed quorvex object")
            return _get_output(owner.library, self._calls, self._arg, number, self._encoding)
        finally:
            users.pop()
            if owner._closing:
                owner.release_unused()

    def outputs(self) -> Outputs:
        """Return every control output as a dict from name to list of values."""
        owner, calls, call = self._owner, self._calls, self._arg
        owner.borrow()
        try:
            return {name: _get_output(owner.library, calls, call, number, self._encoding)
                    for number, name in enumerate(self._outputs, start=1)}
        finally:
            owner.give_back()


class Program(Wrapper):
    """An HDevelop program (``.hdev``) with its main procedure and local procedures.

    External procedures the program calls are found in the procedure paths. The C interface
    runs a program but gives no access to its variables.
    """

    def __init__(self, path: Union[str, bytes, "os.PathLike[str]"], *,
                 encoding: Optional[str] = "utf-8", library: Optional[Library] = None) -> None:
        """Load the program file ``path``.

        Args:
            path: The ``.hdev`` file (``str``, ``bytes`` or path-like), encoded as the file
                system encodes names.
            encoding: The encoding of names and string values.
            library: The :class:`~quorvex.Library`; the default one when omitted.

        Raises:
            EngineError: The file is missing or does not load.
        """
        library = library or _library.default_library()
        self._encoding = encoding
        self.path: Union[str, bytes] = os.fspath(path)
        handle = created(library, library.hcreateProgram,
                         _library.c_text(os.fsencode(self.path), "a program path"),
                         encoding=encoding)
        self._own(library, handle, "hfreeProgram")

    def __repr__(self) -> str:
        state = " closed" if self.closed else ""
        return f"<quorvex.Program {self.path!r}{state}>"

    def create_call(self) -> "ProgramCall":
        """Return a new, not yet executed :class:`ProgramCall`."""
        return ProgramCall(self)

    def execute(self) -> None:
        """Run the program's main procedure once.

        Raises:
            EngineError: A line fails (with procedure, line number and called operator).
        """
        with self.create_call() as call:
            call.execute()

    call = __call__ = execute


class ProgramCall(Wrapper):
    """A run of a :class:`Program`'s main procedure, executable any number of times."""

    def __init__(self, program: Program) -> None:
        """Create a run of ``program``.

        Args:
            program: An open :class:`Program`.

        Raises:
            EngineError: The library could not create the call.
        """
        self.program = program
        self._encoding = program._encoding
        library = program.library
        handle = _create_from(program, library.hcreateProgramCall, self._encoding)
        self._own(library, handle, "hfreeProgramCall", parent=program)

    def __repr__(self) -> str:
        state = " closed" if self.closed else ""
        return f"<quorvex.ProgramCall of {self.program.path!r}{state}>"

    def execute(self) -> None:
        """Run the program's main procedure.

        Raises:
            EngineError: A line fails.
        """
        # Borrowed for the run, as ProcedureCall.execute does.
        owner = self._owner
        owner.borrow()
        try:
            address = owner.library.calls.program_execute(ctypes.c_void_p(owner._handle))
        finally:
            owner.give_back()
        if address:
            raise_record(owner.library, address, self._encoding)
        raise_held()
