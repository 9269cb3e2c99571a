"""Control tuples: sequences of integers, reals and strings held by the library."""
import ctypes
import enum
import numbers
from typing import Any, Iterable, Iterator, List, Optional, Sequence
from typing import Tuple as Pair
from typing import Union, overload

from . import _library
from ._library import Calls, Library
from ._resources import Wrapper
from .errors import MessageError, created

__all__ = ["ElemType", "Tuple", "INT32_MIN", "INT32_MAX", "Value", "Element"]

INT32_MIN = -2**31
INT32_MAX = 2**31 - 1
# The widest integer an element can be read as exactly: every integer up to it is a double.
EXACT_LIMIT = 2**53

#: One element as Python gives it.
Element = Union[int, float, str, bytes]
#: What converts to a tuple: a scalar, a sequence of scalars or a tuple.
Value = Union[Element, bytearray, memoryview, Sequence[Any], "Tuple"]


class ElemType(enum.IntEnum):
    """The element type codes of the library."""

    INTEGER = 1
    REAL = 2
    STRING = 4


def _encode_text(value: Union[str, bytes, bytearray, memoryview], encoding: Optional[str],
                 errors: str) -> bytes:
    """The bytes the library receives for a string element."""
    if isinstance(value, str):
        if encoding is None:
            raise TypeError("this tuple takes strings as bytes only (encoding=None)")
        data = value.encode(encoding, errors)
    else:
        data = bytes(value)
    if b"\0" in data:
        raise ValueError("a tuple string cannot contain a NUL character")
    return data


def _exact_integer(low: int, real: float, index: int) -> int:
    """An integer element's value from its low 32 bits and its value as a double.

    The engine's integers are 64 bits wide on 64-bit targets, while ``hgetTupleElemLong``
    returns 32 bits; ``hgetTupleElemDouble`` converts the element and is exact up to 2**53,
    where the low bits still tell 2**53 from 2**53 + 1 (which rounds to it).
    """
    if abs(real) <= EXACT_LIMIT:
        value = int(real)
        if (value - low) % 2**32 == 0:
            return value
    raise OverflowError(
        f"integer element {index} is beyond +-2**53 (about {real:.17g}), which the C "
        f"interface cannot read exactly")


def _too_wide(number: int) -> OverflowError:
    return OverflowError(f"{number} does not fit a 32-bit integer element "
                         f"({INT32_MIN}..{INT32_MAX}); pass float({number}) for a real")


def _classify(value: Any) -> Pair[ElemType, Any]:
    """(type code, converted value) for one Python value, or raise TypeError."""
    if isinstance(value, (str, bytes, bytearray, memoryview)):
        return ElemType.STRING, value
    if isinstance(value, numbers.Integral):  # bool included: True is 1, False is 0
        number = int(value)
        if not INT32_MIN <= number <= INT32_MAX:
            raise _too_wide(number)
        return ElemType.INTEGER, number
    if isinstance(value, numbers.Real):
        return ElemType.REAL, float(value)
    if isinstance(value, (list, tuple, Tuple)):
        raise TypeError("tuples are flat: a list inside a list cannot be an element")
    raise TypeError(f"a tuple element must be int, float, str or bytes, not "
                    f"{type(value).__name__}")


def fill(calls: Calls, handle: ctypes.c_void_p, values: Iterable[Any], encoding: Optional[str],
         errors: str, length: Optional[int] = None) -> None:
    """Append every value to the tuple ``handle``, checking each as it goes.

    The common types (``int``, ``float``, ``str``, ``bytes``) are told apart by their exact
    type; anything else goes through :func:`_classify`. The library reports nothing about an
    append, so the length is compared once at the end. ``length`` is the tuple's length when
    the caller knows it (0 for one it has just made), saving a call.
    """
    append_long, append_double = calls.append_long, calls.append_double
    append_string = calls.append_string
    expected = calls.length(handle) if length is None else length
    for value in values:
        kind = type(value)
        if kind is int:
            if not INT32_MIN <= value <= INT32_MAX:
                raise _too_wide(value)
            append_long(handle, value)
        elif kind is float:
            append_double(handle, value)
        elif kind is str:
            if encoding is None:
                raise TypeError("this tuple takes strings as bytes only (encoding=None)")
            data = value.encode(encoding, errors)
            if b"\0" in data:
                raise ValueError("a tuple string cannot contain a NUL character")
            append_string(handle, data)
        else:
            code, value = _classify(value)
            if code == ElemType.INTEGER:
                append_long(handle, value)
            elif code == ElemType.REAL:
                append_double(handle, value)
            else:
                append_string(handle, _encode_text(value, encoding, errors))
        expected += 1
    length = calls.length(handle)
    if length != expected:
        raise MessageError(f"the library refused {expected - length} of the elements "
                           f"appended to the tuple; it holds the others")


def _string(calls: Calls, handle: ctypes.c_void_p, index: int, encoding: Optional[str],
            errors: str) -> Union[str, bytes]:
    address = calls.elem_string(handle, index)
    if not address:
        raise MessageError(f"the library could not copy string element {index}")
    try:
        data = ctypes.string_at(address)
    finally:
        calls.free_string(ctypes.c_void_p(address))
    return data if encoding is None else data.decode(encoding, errors)


def element(calls: Calls, handle: ctypes.c_void_p, index: int, kind: int,
            encoding: Optional[str], errors: str) -> Any:
    """The element at ``index`` (in range) of type code ``kind``, one or two calls."""
    if kind == 1:
        real = calls.elem_double(handle, index)
        # Below 2**53 in magnitude the double is the value itself; from there on the low
        # bits must confirm it.
        if -EXACT_LIMIT < real < EXACT_LIMIT:
            return int(real)
        return _exact_integer(calls.elem_long(handle, index), real, index)
    if kind == 2:
        return calls.elem_double(handle, index)
    if kind == 4:
        return _string(calls, handle, index, encoding, errors)
    raise MessageError(f"element {index} has the unknown type code {kind}")


def read(calls: Calls, handle: ctypes.c_void_p, encoding: Optional[str], errors: str,
         indices: Optional[Iterable[int]] = None) -> List[Any]:
    """Every element of the tuple ``handle`` (or those at ``indices``), one type query each."""
    elem_type, elem_double = calls.elem_type, calls.elem_double
    values: List[Any] = []
    add = values.append
    for index in range(calls.length(handle)) if indices is None else indices:
        kind = elem_type(handle, index)
        if kind == 2:
            add(elem_double(handle, index))
        elif kind == 1:
            real = elem_double(handle, index)
            add(int(real) if -EXACT_LIMIT < real < EXACT_LIMIT
                else _exact_integer(calls.elem_long(handle, index), real, index))
        else:
            add(element(calls, handle, index, kind, encoding, errors))
    return values


class Tuple(Wrapper):
    """A control tuple owned by the library: a flat sequence of integers, reals and strings.

    Conversion from Python:

    * ``int`` (and ``bool``, and any :class:`numbers.Integral`) becomes an integer element;
      it must fit 32 bits, else :class:`OverflowError`.
    * ``float`` (any other :class:`numbers.Real`) becomes a real element.
    * ``str`` becomes a string element, encoded with the tuple's ``encoding``;
      ``bytes``/``bytearray`` are passed through as they are. A NUL inside is refused.
    * A ``list`` or ``tuple`` of those gives one element each; a scalar gives one element;
      nested lists are refused with :class:`TypeError`.

    Conversion back: integers as ``int`` (exact up to 2**53 in magnitude; a wider one, which
    the engine makes on 64-bit targets, raises :class:`OverflowError`), reals as ``float``,
    strings as ``str`` decoded with ``encoding`` and ``errors`` (the default
    ``surrogateescape`` keeps bytes that are not valid text, so they go back unchanged), or
    as ``bytes`` when ``encoding`` is
    ``None``. :meth:`to_list` always gives a list; :meth:`to_python` gives the element
    itself for a one-element tuple.

    The handle is released with ``hfreeTuple`` by :meth:`close`, at the end of a ``with``
    block, or when the object is collected. A tuple is used by one thread at a time, but any
    thread may close it: a close while another thread is inside a call on the tuple takes
    effect once that call returns.

    Attributes:
        encoding: The encoding of string elements, both ways; ``None`` for bytes only.
            May be changed at any time, for instance to read the raw bytes.
        errors: The codec error handler, both ways.
    """

    encoding: Optional[str]
    errors: str

    def __init__(self, values: Value = (), *, encoding: Optional[str] = "utf-8",
                 errors: str = "surrogateescape", library: Optional[Library] = None) -> None:
        """Create a tuple holding ``values``.

        Args:
            values: A scalar, or a list, tuple or :class:`Tuple` of scalars (see the class
                description).
            encoding: How ``str`` elements become bytes and back; ``None`` for bytes only.
            errors: The codec error handler for both directions.
            library: The :class:`~quorvex.Library` to use; the default one when omitted.

        Raises:
            TypeError: A value of another type, or a nested list.
            OverflowError: An integer outside the 32-bit range.
            ValueError: A string with a NUL character, or one the encoding cannot encode.
            EngineError: The library could not create the tuple or append to it.
        """
        library = library or _library.default_library()
        self._adopt(library, created(library, library.hcreateTuple), encoding, errors)
        try:
            self.extend(values if isinstance(values, (list, tuple, Tuple)) else [values])
        except BaseException:
            self.close()
            raise

    def _adopt(self, library: Library, handle: int, encoding: Optional[str],
               errors: str) -> None:
        self._calls = calls = library.calls
        # The handle as the unconverted calls take it.
        self._arg = arg = ctypes.c_void_p(handle)
        self._own(library, handle, calls.free_tuple, arg=arg, register=True)
        self.encoding = encoding
        self.errors = errors

    def _lend(self) -> ctypes.c_void_p:
        """The handle, borrowed for native calls until ``self._owner.give_back()``.

        A close meanwhile (from another thread, or from a value's conversion or a codec
        the calls run) releases it only once given back. ValueError once closed.
        """
        self._owner.borrow()
        return self._arg

    @classmethod
    def from_handle(cls, handle: Union[int, ctypes.c_void_p, None], *,
                    encoding: Optional[str] = "utf-8", errors: str = "surrogateescape",
                    library: Optional[Library] = None) -> "Tuple":
        """Take ownership of a tuple handle made by the library.

        Args:
            handle: A ``TupleHandle`` (an ``int`` address or ``c_void_p``) that the caller
                owns; from now on this object releases it.
            encoding: As for the constructor.
            errors: As for the constructor.
            library: The library that made the handle; the default one when omitted.

        Returns:
            The new :class:`Tuple`.

        Raises:
            ValueError: ``handle`` is NULL, or another quorvex object owns it (take it
                from there with :meth:`detach`).
        """
        if isinstance(handle, ctypes.c_void_p):
            handle = handle.value
        if not handle:
            raise ValueError("a NULL tuple handle")
        self = cls.__new__(cls)
        self._adopt(library or _library.default_library(), handle, encoding, errors)
        return self

    def append(self, value: Any) -> None:
        """Append one element.

        Args:
            value: An ``int``, ``float``, ``str`` or ``bytes``.

        Raises:
            TypeError, OverflowError, ValueError: As for the constructor.
            EngineError: The library did not append it (the tuple is unchanged).
        """
        handle = self._lend()
        try:
            fill(self._calls, handle, (value,), self.encoding, self.errors)
        finally:
            self._owner.give_back()

    def extend(self, values: Iterable[Any]) -> None:
        """Append every element of a list or other iterable of scalars.

        Elements are checked one by one as they are appended: on an error, those before it
        stay appended.

        Args:
            values: An iterable of ``int``, ``float``, ``str`` or ``bytes``.

        Raises:
            TypeError, OverflowError, ValueError: As for the constructor.
            EngineError: The library refused elements (it holds the others).
        """
        if isinstance(values, Tuple):
            values = values.to_list()
        handle = self._lend()
        try:
            fill(self._calls, handle, values, self.encoding, self.errors)
        finally:
            self._owner.give_back()

    def __len__(self) -> int:
        handle = self._lend()
        try:
            length: int = self._calls.length(handle)
        finally:
            self._owner.give_back()
        return length

    def type_of(self, index: int) -> ElemType:
        """Return the :class:`ElemType` of one element.

        Args:
            index: The element's index; negative counts from the end.

        Raises:
            IndexError: The index is out of range.
        """
        handle = self._lend()
        try:
            return ElemType(self._calls.elem_type(handle, self._index(index, len(self))))
        finally:
            self._owner.give_back()

    def types(self) -> List[ElemType]:
        """Return the :class:`ElemType` of every element, in order."""
        elem_type, handle = self._calls.elem_type, self._lend()
        try:
            return [ElemType(elem_type(handle, i)) for i in range(len(self))]
        finally:
            self._owner.give_back()

    def _index(self, index: int, length: int) -> int:
        index = int(index)
        if index < 0:
            index += length
        if not 0 <= index < length:
            raise IndexError("tuple index out of range")
        return index

    @overload
    def __getitem__(self, index: int) -> Any: ...

    @overload
    def __getitem__(self, index: slice) -> List[Any]: ...

    def __getitem__(self, index: Union[int, slice]) -> Any:
        calls, handle = self._calls, self._lend()
        try:
            if isinstance(index, slice):
                return read(calls, handle, self.encoding, self.errors,
                            range(*index.indices(len(self))))
            index = self._index(index, len(self))
            return element(calls, handle, index, calls.elem_type(handle, index),
                           self.encoding, self.errors)
        finally:
            self._owner.give_back()

    def __iter__(self) -> Iterator[Any]:
        return iter(self.to_list())

    def to_list(self) -> List[Any]:
        """Return every element as a Python value, in a list (empty for an empty tuple)."""
        handle = self._lend()
        try:
            return read(self._calls, handle, self.encoding, self.errors)
        finally:
            self._owner.give_back()

    def to_python(self) -> Any:
        """Return the single element of a one-element tuple, else a list of all elements."""
        values = self.to_list()
        return values[0] if len(values) == 1 else values

    def __repr__(self) -> str:
        if self.closed:
            return "<quorvex.Tuple closed>"
        return f"quorvex.Tuple({self.to_list()!r})"
