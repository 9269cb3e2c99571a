"""Control tuples: sequences of integers, reals and strings held by the library."""
import ctypes
import enum
import numbers

from . import _library
from ._resources import Wrapper
from .errors import EngineError, created

__all__ = ["ElemType", "Tuple", "INT32_MIN", "INT32_MAX"]

INT32_MIN = -2**31
INT32_MAX = 2**31 - 1
# The widest integer an element can be read as exactly: every integer up to it is a double.
EXACT_LIMIT = 2**53


class ElemType(enum.IntEnum):
    """The element type codes of the library."""

    INTEGER = 1
    REAL = 2
    STRING = 4


def _encode_text(value, encoding, errors):
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


def _exact_integer(low, real, index):
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


def _classify(value):
    """(type code, converted value) for one Python value, or raise TypeError."""
    if isinstance(value, (str, bytes, bytearray, memoryview)):
        return ElemType.STRING, value
    if isinstance(value, numbers.Integral):  # bool included: True is 1, False is 0
        number = int(value)
        if not INT32_MIN <= number <= INT32_MAX:
            raise OverflowError(
                f"{number} does not fit a 32-bit integer element "
                f"({INT32_MIN}..{INT32_MAX}); pass float({number}) for a real")
        return ElemType.INTEGER, number
    if isinstance(value, numbers.Real):
        return ElemType.REAL, float(value)
    if isinstance(value, (list, tuple, Tuple)):
        raise TypeError("tuples are flat: a list inside a list cannot be an element")
    raise TypeError(f"a tuple element must be int, float, str or bytes, not "
                    f"{type(value).__name__}")


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
    the engine makes on 64-bit targets, raises :class:`OverflowError`), reals as ``float``, strings as ``str`` decoded
    with ``encoding`` and ``errors`` (the default ``surrogateescape`` keeps bytes that are
    not valid text, so they go back unchanged), or as ``bytes`` when ``encoding`` is
    ``None``. :meth:`to_list` always gives a list; :meth:`to_python` gives the element
    itself for a one-element tuple.

    The handle is released with ``hfreeTuple`` by :meth:`close`, at the end of a ``with``
    block, or when the object is collected. A tuple is used by one thread at a time.

    Attributes:
        encoding: The encoding of string elements, both ways; ``None`` for bytes only.
            May be changed at any time, for instance to read the raw bytes.
        errors: The codec error handler, both ways.
    """

    def __init__(self, values=(), *, encoding="utf-8", errors="surrogateescape",
                 library=None):
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

    def _adopt(self, library, handle, encoding, errors):
        self._own(library, handle, "hfreeTuple")
        self.encoding = encoding
        self.errors = errors

    @classmethod
    def from_handle(cls, handle, *, encoding="utf-8", errors="surrogateescape",
                    library=None):
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
            ValueError: ``handle`` is NULL.
        """
        if isinstance(handle, ctypes.c_void_p):
            handle = handle.value
        if not handle:
            raise ValueError("a NULL tuple handle")
        self = cls.__new__(cls)
        self._adopt(library or _library.default_library(), handle, encoding, errors)
        return self

    def append(self, value):
        """Append one element.

        Args:
            value: An ``int``, ``float``, ``str`` or ``bytes``.

        Raises:
            TypeError, OverflowError, ValueError: As for the constructor.
            EngineError: The library did not append it (the tuple is unchanged).
        """
        self.extend([value])

    def extend(self, values):
        """Append every element of a list or other iterable of scalars.

        Elements are checked one by one as they are appended: on an error, those before it
        stay appended.

        Args:
            values: An iterable of ``int``, ``float``, ``str`` or ``bytes``.

        Raises:
            TypeError, OverflowError, ValueError: As for the constructor.
            EngineError: The library did not append an element.
        """
        library = self.library
        handle = self.handle
        length = library.hgetTupleLength(handle)
        for value in values:
            kind, value = _classify(value)
            if kind == ElemType.INTEGER:
                library.happendTupleLong(handle, value)
            elif kind == ElemType.REAL:
                library.happendTupleDouble(handle, value)
            else:
                library.happendTupleString(handle,
                                           _encode_text(value, self.encoding, self.errors))
            # The append functions report nothing: a failure shows as an unchanged length.
            if library.hgetTupleLength(handle) != length + 1:
                raise EngineError(f"the library could not append {value!r} to the tuple")
            length += 1

    def __len__(self):
        return self.library.hgetTupleLength(self.handle)

    def type_of(self, index):
        """Return the :class:`ElemType` of one element.

        Args:
            index: The element's index; negative counts from the end.

        Raises:
            IndexError: The index is out of range.
        """
        return ElemType(self._element(index)[0])

    def types(self):
        """Return the :class:`ElemType` of every element, in order."""
        return [self.type_of(i) for i in range(len(self))]

    def _index(self, index, length):
        index = int(index)
        if index < 0:
            index += length
        if not 0 <= index < length:
            raise IndexError("tuple index out of range")
        return index

    def _element(self, index):
        """(type code, value) of one element."""
        library, handle = self.library, self.handle
        index = self._index(index, library.hgetTupleLength(handle))
        kind = library.hgetTupleElemType(handle, index)
        if kind == ElemType.INTEGER:
            return kind, _exact_integer(library.hgetTupleElemLong(handle, index),
                                        library.hgetTupleElemDouble(handle, index), index)
        if kind == ElemType.REAL:
            return kind, library.hgetTupleElemDouble(handle, index)
        if kind == ElemType.STRING:
            address = library.hgetTupleElemString_TO_BE_FREED(handle, index)
            if not address:
                raise EngineError(f"the library could not copy string element {index}")
            try:
                data = ctypes.string_at(address)
            finally:
                library.hfreeTupleElemString(address)
            if self.encoding is None:
                return kind, data
            return kind, data.decode(self.encoding, self.errors)
        raise EngineError(f"element {index} has the unknown type code {kind}")

    def __getitem__(self, index):
        if isinstance(index, slice):
            return [self._element(i)[1] for i in range(*index.indices(len(self)))]
        return self._element(index)[1]

    def __iter__(self):
        for i in range(len(self)):
            yield self._element(i)[1]

    def to_list(self):
        """Return every element as a Python value, in a list (empty for an empty tuple)."""
        return list(self)

    def to_python(self):
        """Return the single element of a one-element tuple, else a list of all elements."""
        values = self.to_list()
        return values[0] if len(values) == 1 else values

    def __repr__(self):
        if self.closed:
            return "<quorvex.Tuple closed>"
        return f"quorvex.Tuple({self.to_list()!r})"


def as_tuple(value, library, encoding="utf-8", errors="surrogateescape"):
    """(tuple, made) for a value: a :class:`Tuple` as it is, or a new one the caller closes."""
    if isinstance(value, Tuple):
        return value, False
    return Tuple(value, encoding=encoding, errors=errors, library=library), True
