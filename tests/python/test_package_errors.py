"""EngineError: every field of the library's record, a readable text, and the record released."""
import pickle
import unittest

from package_support import LIB, quorvex
from quorvex import _library

EngineError, ErrorKind = quorvex.EngineError, quorvex.ErrorKind


def failure_of(function, *args, **kwargs):
    try:
        function(*args, **kwargs)
    except EngineError as error:
        return error
    raise AssertionError("no EngineError raised")


class FieldsTest(unittest.TestCase):
    """Each kind of record has its class and every field of the record; EngineError catches
    every one, and a pickled copy keeps class, fields and text."""

    def test_each_kind_of_failure(self):
        wrong_value = "Wrong value of control parameter 1"
        with quorvex.Procedure("fail_at_line3") as procedure:
            rows = ((procedure, (), quorvex.ExecutionError,
                     (ErrorKind.ENGINE, "fail_at_line3", "get_system", 3, 1301, wrong_value),
                     ("fail_at_line3", "line 3", "get_system", "1301")),
                    (quorvex.get_system, ("no_such_parameter",), quorvex.OperatorError,
                     (ErrorKind.OPERATOR, "get_system", None, -1, 1301, wrong_value),
                     ("in operator get_system",)),
                    (quorvex.debug_server, (), quorvex.MessageError,
                     (ErrorKind.MESSAGE, None, None, -1, -1, None), None))
            for function, args, cls, fields, texts in rows:
                with self.subTest(cls=cls.__name__):
                    error = failure_of(function, *args)
                    self.assertIs(type(error), cls)
                    self.assertEqual((error.kind, error.proc_name, error.line_name,
                                      error.line_number, error.error_code, error.error_text),
                                     fields)
                    self.assertEqual(error.args, (error.message,))
                    self.assertIn(error.line_name or error.proc_name or "", error.message)
                    for text in texts or ():
                        self.assertIn(text, str(error))
                    if texts is None:  # a message of the library is its own text
                        self.assertEqual(str(error), error.message)
                    copy = pickle.loads(pickle.dumps(error))
                    self.assertIs(type(copy), cls)
                    self.assertEqual((repr(copy), str(copy)), (repr(error), str(error)))

    def test_texts_that_are_not_utf8_are_replaced(self):
        record = _library.ErrorMsg(2, b"proc\xff", b"line", 5, 7, b"bad \xe4 byte", None, None)
        error = EngineError.from_record(record)
        self.assertEqual((error.proc_name, error.message, error.error_text),
                         ("proc\ufffd", "bad \ufffd byte", None))
        self.assertEqual(EngineError.from_record(record, "latin-1").message, "bad \xe4 byte")

    def test_an_unknown_kind_stays_the_base_class(self):
        record = _library.ErrorMsg(7, None, None, 1, -1, b"odd", None, None)
        self.assertIs(type(EngineError.from_record(record)), EngineError)
        self.assertEqual(quorvex.OperatorError("x").kind, ErrorKind.OPERATOR)


class ReleaseTest(unittest.TestCase):
    """Every record is released exactly once, right after it is read."""

    def setUp(self):
        self.released = []
        # Records reach the library's release function by pointer, or by address from the
        # package's unconverted calls.
        original, by_address = LIB.hclearErrorMsg, LIB.calls.clear_record

        def spy(record):
            self.released.append(_library.ctypes.addressof(record.contents))
            original(record)

        def spy_address(address):
            self.released.append(address.value)
            by_address(address)

        LIB.hclearErrorMsg = spy
        LIB.calls.clear_record = spy_address
        self.addCleanup(setattr, LIB, "hclearErrorMsg", original)
        self.addCleanup(setattr, LIB.calls, "clear_record", by_address)

    def test_each_failure_releases_its_record_once(self):
        with quorvex.Procedure("fail_at_line3") as procedure:
            for _ in range(3):
                failure_of(procedure)
        failure_of(quorvex.get_system, "no_such_parameter")
        failure_of(quorvex.Procedure, "no_such_procedure")
        self.assertEqual(len(self.released), 5)

    def test_success_releases_nothing(self):
        with quorvex.Procedure("add") as add:
            add(A=1, B=2)
        quorvex.get_system("width")
        self.assertEqual(self.released, [])


if __name__ == "__main__":
    unittest.main()
