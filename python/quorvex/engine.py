"""HDevelop procedures and programs, and calls of them."""
import ctypes
import os

from . import _library
from ._resources import Wrapper
from .errors import check, created
from .tuples import Tuple, as_tuple

__all__ = ["Procedure", "ProcedureCall", "Program", "ProgramCall"]


def _encode_name(name, encoding):
    if isinstance(name, bytes):
        return name
    if not isinstance(name, str):
        raise TypeError(f"a name must be str or bytes, not {type(name).__name__}")
    return name.encode(encoding or "utf-8")


def _check_index(index):
    if isinstance(index, bool):
        raise TypeError("a parameter index must be an int or a name, not a bool")
    return int(index)


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

    def __init__(self, name, *, encoding="utf-8", library=None):
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
        self._names = {}

    def __repr__(self):
        state = " closed" if self.closed else ""
        return f"<quorvex.Procedure {self.name!r}{state}>"

    def _group(self, group):
        """The parameter names of one group, read once from the library."""
        names = self._names.get(group)
        if names is None:
            library, handle = self.library, self.handle
            count = ctypes.c_int32()
            check(library, getattr(library, f"hprocedureGet{group}ParamCount")(
                handle, ctypes.byref(count)), self._encoding)
            names = []
            for index in range(1, count.value + 1):
                text = ctypes.c_char_p()
                check(library, getattr(library, f"hprocedureGet{group}ParamName")(
                    handle, index, ctypes.byref(text)), self._encoding)
                # The text belongs to the procedure: copied, never released.
                names.append((text.value or b"").decode(self._encoding or "utf-8",
                                                        "surrogateescape"))
            self._names[group] = names = tuple(names)
        return list(names)

    @property
    def input_ctrl_names(self):
        """The names of the control inputs, in interface order."""
        return self._group("InputCtrl")

    @property
    def output_ctrl_names(self):
        """The names of the control outputs, in interface order."""
        return self._group("OutputCtrl")

    @property
    def input_iconic_names(self):
        """The names of the iconic inputs, in interface order."""
        return self._group("InputIconic")

    @property
    def output_iconic_names(self):
        """The names of the iconic outputs, in interface order."""
        return self._group("OutputIconic")

    def create_call(self):
        """Return a new :class:`ProcedureCall` of this procedure."""
        return ProcedureCall(self)

    def call(self, *args, **inputs):
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
        names = self.input_ctrl_names
        if len(args) > len(names):
            raise TypeError(f"{self.name} takes {len(names)} control inputs, "
                            f"{len(args)} given")
        for name, value in zip(names, args):
            if name in inputs:
                raise TypeError(f"{self.name} got input {name!r} twice")
            inputs[name] = value
        unknown = [name for name in inputs if name not in names]
        if unknown:
            raise TypeError(f"{self.name} has no control input {unknown[0]!r}; "
                            f"its inputs are {', '.join(names) or 'none'}")
        with self.create_call() as call:
            for name, value in inputs.items():
                call.set_input(name, value)
            call.execute()
            return call.outputs()

    __call__ = call

    def map(self, inputs, *, jobs=None, threads=False, raise_errors=False, progress=None):
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
        from .batch import map_procedure
        return map_procedure(self, inputs, jobs=jobs, threads=threads,
                             raise_errors=raise_errors, progress=progress)


class ProcedureCall(Wrapper):
    """One call of a :class:`Procedure`: set inputs, execute, read outputs.

    Parameters are named, or numbered from 1 in their group as the library numbers them.
    The call keeps its procedure alive.
    """

    def __init__(self, procedure):
        """Create a call of ``procedure``.

        Args:
            procedure: An open :class:`Procedure`.

        Raises:
            EngineError: The library could not create the call.
        """
        self.procedure = procedure
        self._encoding = procedure._encoding
        # Read now, so that the names stay known should the procedure be closed first.
        self._inputs = procedure.input_ctrl_names
        self._outputs = procedure.output_ctrl_names
        library = procedure.library
        handle = created(library, library.hcreateProcedureCall, procedure.handle,
                         encoding=self._encoding)
        self._own(library, handle, "hfreeProcedureCall", parent=procedure)

    def __repr__(self):
        state = " closed" if self.closed else ""
        return f"<quorvex.ProcedureCall of {self.procedure.name!r}{state}>"

    def _index(self, name_or_index, names, what):
        """The library's index (from 1) of a parameter given by name or index."""
        if isinstance(name_or_index, bytes):
            name_or_index = name_or_index.decode(self._encoding or "utf-8",
                                                 "surrogateescape")
        if isinstance(name_or_index, str):
            try:
                return names.index(name_or_index) + 1
            except ValueError:
                raise ValueError(
                    f"procedure {self.procedure.name!r} has no control {what} "
                    f"{name_or_index!r}; it has {', '.join(names) or 'none'}") from None
        return _check_index(name_or_index)

    def set_input(self, name_or_index, value):
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
        index = self._index(name_or_index, self._inputs, "input")
        library, handle = self.library, self.handle
        tuple_, made = as_tuple(value, library, self._encoding)
        try:
            check(library, library.hprocedurecallSetInputCtrlParamTuple(
                handle, index, tuple_.handle), self._encoding)
        finally:
            if made:
                tuple_.close()

    def execute(self):
        """Run the procedure with the inputs set.

        Raises:
            EngineError: An input is unset, or a line fails (with procedure, line number
                and the called operator in the error).
        """
        check(self.library, self.library.hprocedurecallExecute(self.handle), self._encoding)

    def get_output_tuple(self, name_or_index):
        """Return one control output as a new :class:`~quorvex.Tuple` the caller owns.

        Args:
            name_or_index: The output's name, or its number from 1.

        Raises:
            ValueError: An unknown name.
            EngineError: An index out of range.
        """
        index = self._index(name_or_index, self._outputs, "output")
        library = self.library
        handle = created(library, library.hprocedurecallGetOutputCtrlParamTuple, self.handle,
                         index, encoding=self._encoding)
        return Tuple.from_handle(handle, encoding=self._encoding, library=library)

    def get_output(self, name_or_index):
        """Return one control output's values as a list.

        An output the procedure never assigned is an empty list.

        Args:
            name_or_index: The output's name, or its number from 1.

        Raises:
            ValueError: An unknown name.
            EngineError: An index out of range.
        """
        with self.get_output_tuple(name_or_index) as tuple_:
            return tuple_.to_list()

    def outputs(self):
        """Return every control output as a dict from name to list of values."""
        return {name: self.get_output(index)
                for index, name in enumerate(self._outputs, start=1)}


class Program(Wrapper):
    """An HDevelop program (``.hdev``) with its main procedure and local procedures.

    External procedures the program calls are found in the procedure paths. The C interface
    runs a program but gives no access to its variables.
    """

    def __init__(self, path, *, encoding="utf-8", library=None):
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
        self.path = os.fspath(path)
        handle = created(library, library.hcreateProgram, os.fsencode(self.path),
                         encoding=encoding)
        self._own(library, handle, "hfreeProgram")

    def __repr__(self):
        state = " closed" if self.closed else ""
        return f"<quorvex.Program {self.path!r}{state}>"

    def create_call(self):
        """Return a new, not yet executed :class:`ProgramCall`."""
        return ProgramCall(self)

    def execute(self):
        """Run the program's main procedure once.

        Raises:
            EngineError: A line fails (with procedure, line number and called operator).
        """
        with self.create_call() as call:
            call.execute()

    call = __call__ = execute


class ProgramCall(Wrapper):
    """A run of a :class:`Program`'s main procedure, executable any number of times."""

    def __init__(self, program):
        """Create a run of ``program``.

        Args:
            program: An open :class:`Program`.

        Raises:
            EngineError: The library could not create the call.
        """
        self.program = program
        self._encoding = program._encoding
        library = program.library
        handle = created(library, library.hcreateProgramCall, program.handle,
                         encoding=self._encoding)
        self._own(library, handle, "hfreeProgramCall", parent=program)

    def __repr__(self):
        state = " closed" if self.closed else ""
        return f"<quorvex.ProgramCall of {self.program.path!r}{state}>"

    def execute(self):
        """Run the program's main procedure.

        Raises:
            EngineError: A line fails.
        """
        check(self.library, self.library.hprogramcallExecute(self.handle), self._encoding)
