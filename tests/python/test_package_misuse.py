"""Misuse of the public API is an exception, never a use of a released handle.

Objects closed while a native call on them runs (from another thread, or from Python code
the call runs: a value's conversion, a codec's error handler, a generator), raw handles
adopted twice, and names or paths that the library would cut at a NUL character.

The library's handles are raw pointers, so a use after release shows no error by itself:
the recorder below watches every native call the package makes and every release, and
lists each call that passes a handle already released.
"""
import codecs
import ctypes
import numbers
import os
import threading
import unittest

from package_support import DATA, LIB, PROCEDURES, quorvex
from quorvex import _library

RELEASES = ("hfreeTuple", "hfreeProcedure", "hfreeProcedureCall", "hfreeProgram",
            "hfreeProgramCall")


def _value(argument):
    if isinstance(argument, ctypes.c_void_p):
        return argument.value
    if isinstance(argument, int) and not isinstance(argument, bool):
        return argument
    return None


class Recorder:
    """Wraps the library's exports while active; ``late`` lists (export, handle) of every
    call made with a handle after its release."""

    def __init__(self, library, on_call=None):
        self.library = library
        self.on_call = on_call  # called as on_call(name) before each export
        self.freed, self.late = set(), []

    def wrap(self, name, function, release=False):
        def call(*args):
            if self.on_call is not None:
                self.on_call(name)
            for argument in args:
                handle = _value(argument)
                if handle and handle in self.freed:
                    self.late.append((name, handle))
            result = function(*args)
            for argument in args:
                made = getattr(argument, "_obj", None)  # a byref out-parameter
                if isinstance(made, ctypes.c_void_p) and made.value:
                    self.freed.discard(made.value)
            if release:
                self.freed.add(_value(args[0]))
            return result
        return call

    def __enter__(self):
        library = self.library
        self.saved_calls = library.calls
        calls = type("RecordedCalls", (), {})()
        for name in _library.Calls.__slots__:
            setattr(calls, name, self.wrap(name, getattr(self.saved_calls, name),
                                           release=name in ("free_tuple", "free_call")))
        library._calls = calls
        self.saved = {name: getattr(library, name) for name in _library.SIGNATURES}
        for name, function in self.saved.items():
            setattr(library, name, self.wrap(name, function, release=name in RELEASES))
        return self

    def __exit__(self, *exc_info):
        self.library._calls = self.saved_calls
        for name, function in self.saved.items():
            setattr(self.library, name, function)


class Closing:
    """An integer whose conversion closes ``target`` first."""

    def __init__(self, target, value):
        self.target, self.value = target, value

    def __int__(self):
        self.target.close()
        return self.value

    __index__ = __int__


numbers.Integral.register(Closing)

_closing_targets = []


def _close_and_replace(error):
    _closing_targets.pop().close()
    return ("?", error.end)


codecs.register_error("quorvex-test-close", _close_and_replace)


def extend_closed_by_its_values():
    tuple_ = quorvex.Tuple()

    def values():
        yield 1
        tuple_.close()
        yield 2
        yield 3

    tuple_.extend(values())
    return tuple_


def read_closed_by_the_decoding():
    tuple_ = quorvex.Tuple([b"\xff", 2, b"\xfe"], errors="quorvex-test-close")
    _closing_targets.extend([tuple_, tuple_])
    tuple_.to_list()
    return tuple_


def set_input_closed_by_the_value():
    call = quorvex.Procedure("add").create_call()
    call.set_input("A", [Closing(call, 1), 2])
    return call


class InUseTest(unittest.TestCase):
    """An object closed while one of its own operations runs is released after it."""

    # What runs, closing its own object on the way; each returns the closed object.
    CASES = (("Tuple.extend", extend_closed_by_its_values),
             ("Tuple.to_list", read_closed_by_the_decoding),
             ("ProcedureCall.set_input", set_input_closed_by_the_value))

    def test_closed_during_its_own_operation(self):
        for what, run in self.CASES:
            with self.subTest(what):
                _closing_targets.clear()
                with Recorder(LIB) as recorder:
                    closed = run()
                self.assertEqual(recorder.late, [])
                self.assertTrue(closed.closed)
                self.assertIsNone(closed._owner._handle, "released once it returned")

    def closed_by_another_thread(self, native, make, read):
        """Runs ``read(make())`` with a thread that closes the made object when the first
        call of ``native`` starts, and lets that call go on once it is closed."""
        started, closed, made = threading.Event(), threading.Event(), []

        def pause(name):
            if name == native and not started.is_set():
                started.set()
                self.assertTrue(closed.wait(10))

        def close():
            if started.wait(10):
                made[0].close()
            closed.set()

        closer = threading.Thread(target=close)
        with Recorder(LIB, on_call=pause) as recorder:
            # Made here, so that its calls go through the recorder.
            made.append(make())
            closer.start()
            result = read(made[0])
            closer.join()
        self.assertEqual(recorder.late, [])
        return made[0], result

    def test_closed_by_another_thread_during_a_native_call(self):
        # The reader's first native call on the tuple lets the closing thread run.
        tuple_, values = self.closed_by_another_thread(
            "elem_type", lambda: quorvex.Tuple(list(range(50))), lambda t: t.to_list())
        self.assertEqual(values, list(range(50)))
        self.assertTrue(tuple_.closed)

    def test_a_call_closed_by_another_thread_while_reading_outputs(self):
        def make():
            with quorvex.Procedure("add") as add:
                call = add.create_call()
            call.set_input("A", [1, 2])
            call.set_input("B", 3)
            call.execute()
            return call

        _, outputs = self.closed_by_another_thread("get_output", make, lambda c: c.outputs())
        self.assertEqual(outputs, {"Sum": [4, 5]})


class AdoptionTest(unittest.TestCase):
    """A handle has one owner: adopting one the package already owns is refused."""

    def test_adopting_an_owned_handle_is_refused(self):
        with quorvex.Procedure("add") as add, quorvex.Tuple([1, 2]) as tuple_:
            call = add.create_call()
            call.set_input("A", 1)
            call.set_input("B", 2)
            call.execute()
            output = call.get_output_tuple("Sum")
            for what, handle in (("a Tuple's handle", tuple_.handle),
                                 ("the same as c_void_p", ctypes.c_void_p(tuple_.handle)),
                                 ("an output tuple's handle", output.handle)):
                with self.subTest(what):
                    with self.assertRaisesRegex(ValueError, "already owned"):
                        quorvex.Tuple.from_handle(handle)
            self.assertEqual(tuple_.to_list(), [1, 2])
            self.assertEqual(output.to_list(), [3])
            output.close()
            call.close()

    def test_a_handle_given_up_by_its_owner_may_be_adopted(self):
        tuple_ = quorvex.Tuple([7])
        handle = tuple_.detach()
        self.assertTrue(tuple_.closed)
        with quorvex.Tuple.from_handle(handle) as adopted:
            self.assertEqual(adopted.to_list(), [7])


class NulTest(unittest.TestCase):
    """A name or path with a NUL character is refused, never cut at it."""

    PROGRAM = os.path.join(DATA, "programs", "set_marker.hdev")
    CASES = (("procedure name", lambda: quorvex.Procedure("add\0junk")),
             ("procedure name as bytes", lambda: quorvex.Procedure(b"add\0junk")),
             ("program path", lambda: quorvex.Program(NulTest.PROGRAM + "\0.x")),
             ("program path as bytes", lambda: quorvex.Program(os.fsencode(NulTest.PROGRAM)
                                                               + b"\0.x")),
             ("procedure path", lambda: quorvex.add_procedure_path(PROCEDURES + "\0x")),
             ("engine attribute name",
              lambda: quorvex.set_engine_attribute("docu_language\0x", "en")),
             ("engine attribute value",
              lambda: quorvex.set_engine_attribute("docu_language", "en\0x")),
             ("system query", lambda: quorvex.get_system("width\0x")))

    def test_each_is_refused(self):
        for what, use in self.CASES:
            with self.subTest(what):
                with self.assertRaisesRegex(ValueError, "NUL"):
                    use()


if __name__ == "__main__":
    unittest.main()
