"""Handle ownership shared by every wrapper: release once, children before parents, and
never while a native call on the handle runs."""
import ctypes
import threading
from typing import TYPE_CHECKING, Any, Optional, TypeVar

if TYPE_CHECKING:
    from ._library import Library

_Self = TypeVar("_Self", bound="Wrapper")

# One lock for every ownership tree: the sections it guards are a few attribute updates.
_lock = threading.RLock()


class Owner:
    """Owns one library handle and releases it exactly once, never while it is in use.

    Uses are counted in one list, one entry each (appending to and popping from a list are
    atomic, so that counting takes no lock; a close looks at the list under the lock):

    * a native call on the handle borrows it (:meth:`borrow`, :meth:`give_back`), so that a
      close from another thread, or from Python code the call runs, releases it only once
      the call has returned;
    * a handle made from this one (a call from its procedure) keeps the borrow taken around
      its creation until its own release: the parent's handle is released after every
      child's, whatever the order in which the Python objects are closed or collected.

    Handles that may be adopted (tuples, :meth:`~quorvex.Tuple.from_handle`) are kept in
    their library's table of owned handles: a second owner of one would release it twice,
    so it is refused.
    """

    __slots__ = ("library", "_handle", "_arg", "_release", "parent", "_users", "_closing",
                 "_registered", "__weakref__")

    library: "Library"
    parent: "Optional[Owner]"
    _handle: Optional[int]

    def __init__(self, library: "Library", handle: int, release: Any,
                 parent: "Optional[Owner]" = None, arg: Optional[ctypes.c_void_p] = None,
                 register: bool = False) -> None:
        """Take ownership of ``handle``.

        Args:
            library: The library that made the handle.
            handle: The handle, an ``int`` address.
            release: The library's release function for it: its name, or a function
                taking the handle as ``c_void_p``.
            parent: The :class:`Owner` of the handle this one was made from, if any, which
                the caller borrowed around the handle's creation: the borrow passes to this
                owner and ends when the handle is released.
            arg: The handle as ``c_void_p``, when the caller has it already.
            register: Enter the handle in the library's table of owned handles.

        Raises:
            ValueError: ``register`` and another owner holds ``handle``.
        """
        self.library = library
        self._handle = handle
        self._arg = arg
        self._release = release
        self.parent = parent
        self._users: list = []
        self._closing = False
        self._registered = register
        if register:
            owned = library.owned
            with _lock:
                if handle in owned:
                    raise ValueError(f"the handle {handle:#x} is already owned by another "
                                     f"quorvex object; detach() it there first")
                owned[handle] = self

    @property
    def closed(self) -> bool:
        """Whether :meth:`close` was called (the handle may wait for its children)."""
        return self._closing

    @property
    def handle(self) -> int:
        """The handle, for passing to the library.

        Raises:
            ValueError: The owner was closed.
        """
        if self._closing:
            raise ValueError("operation on a closed quorvex object")
        handle = self._handle
        assert handle is not None  # released only once closed
        return handle

    def borrow(self) -> None:
        """Keep the handle for a native call, until :meth:`give_back`.

        Raises:
            ValueError: The owner was closed.
        """
        self._users.append(None)
        # A close from here on sees this use; one before it is seen now.
        if self._closing:
            self.give_back()
            raise ValueError("operation on a closed quorvex object")

    def give_back(self) -> None:
        """End a :meth:`borrow`; a close meanwhile releases the handle now."""
        self._users.pop()
        if self._closing:
            self.release_unused()

    def release_unused(self) -> None:
        """Release the handle if it is closed and no longer in use (after a use ended)."""
        with _lock:
            handle = self._unused()
        if handle is not None:
            self._free(handle)

    def detach(self) -> int:
        """Give the handle up without releasing it; return it.

        Raises:
            ValueError: The owner was closed, or the handle is in use (by a call made from
                it, or a native call running on another thread).
        """
        with _lock:
            if self._closing:
                raise ValueError("operation on a closed quorvex object")
            if self._users:
                raise ValueError("the handle is in use and cannot be detached")
            handle, self._handle = self._handle, None
            assert handle is not None
            self._closing = True
            if self._registered:
                self.library.owned.pop(handle, None)
        self._leave_parent()
        return handle

    def close(self) -> None:
        """Give the handle up; it is released now, or once its last use ends."""
        # _unused and _free written out: a call object made and closed per run spends a
        # good part of its life here.
        with _lock:
            if self._closing:
                return
            self._closing = True
            handle = self._handle
            if self._users or handle is None:
                return
            self._handle = None
            if self._registered:
                self.library.owned.pop(handle, None)
        release = self._release
        if release.__class__ is str:
            release = getattr(self.library, release)
        arg = self._arg
        release(arg if arg is not None else ctypes.c_void_p(handle))
        parent = self.parent
        if parent is not None:
            self.parent = None
            parent._users.pop()
            if parent._closing:
                parent.release_unused()

    def _unused(self) -> Optional[int]:
        """The handle, taken for release, once closed and unused; else None. Under _lock."""
        if not self._closing or self._users or self._handle is None:
            return None
        handle, self._handle = self._handle, None
        if self._registered:
            # Out of the table first: the address is free for a new handle once released.
            self.library.owned.pop(handle, None)
        return handle

    def _free(self, handle: int) -> None:
        release = self._release
        if isinstance(release, str):
            release = getattr(self.library, release)
        arg = self._arg
        release(arg if arg is not None else ctypes.c_void_p(handle))
        self._leave_parent()

    def _leave_parent(self) -> None:
        parent = self.parent
        if parent is not None:
            self.parent = None
            parent.give_back()


class Wrapper:
    """The ownership every public wrapper shares: one :class:`Owner`, closed once, and at
    the latest when the wrapper is collected.

    ``__del__`` rather than :class:`weakref.finalize`: a finalizer costs a weak reference
    with a callback and a registry entry per object, a third of a call object's life.
    """

    _owner: Owner

    def _own(self, library: "Library", handle: int, release: Any,
             parent: "Optional[Wrapper]" = None, arg: Optional[ctypes.c_void_p] = None,
             register: bool = False) -> None:
        """Own ``handle`` (see :class:`Owner`); a ``parent`` must be borrowed already."""
        self._owner = Owner(library, handle, release,
                            parent._owner if parent is not None else None, arg, register)

    def __del__(self) -> None:
        owner = self.__dict__.get("_owner")
        if owner is not None and not owner._closing:
            owner.close()

    @property
    def library(self) -> "Library":
        """The :class:`~quorvex.Library` holding the object."""
        return self._owner.library

    @property
    def handle(self) -> int:
        """The library handle as an ``int``, still owned by this object.

        Raises:
            ValueError: The object is closed.
        """
        return self._owner.handle

    @property
    def closed(self) -> bool:
        """Whether :meth:`close` was called."""
        return self._owner.closed

    def detach(self) -> int:
        """Give up the handle without releasing it, and return it as an ``int``.

        The object is closed from then on; the caller owns the handle (to pass to
        ``from_handle`` or to release through the library).

        Raises:
            ValueError: The object is closed, or its handle is in use (a call made from it
                is open, or another thread is inside a call on it).
        """
        return self._owner.detach()

    def close(self) -> None:
        """Release the handle through the library; later calls do nothing.

        An object that others were made from (a procedure or program with calls still
        open) is released after the last of them.
        """
        self._owner.close()

    def __enter__(self: "_Self") -> "_Self":
        return self

    def __exit__(self, *exc_info: Any) -> None:
        self._owner.close()

