"""Tuple handles from a ctypes caller: round trips, element kinds and caller-owned texts."""
import ctypes
import unittest

import quorvex_abi

LIB = quorvex_abi.load()
LONG, DOUBLE, STRING = 1, 2, 4


class TupleTest(unittest.TestCase):
    def setUp(self):
        self.tuple = quorvex_abi.Handle()
        error = LIB.hcreateTuple(ctypes.byref(self.tuple))
        if error:
            self.fail(quorvex_abi.describe(error))
        self.addCleanup(LIB.hfreeTuple, self.tuple)

    def take_string(self, index):
        """Reads a string element, checks its buffer, and releases it through the library."""
        address = LIB.hgetTupleElemString_TO_BE_FREED(self.tuple, index)
        self.assertTrue(address)
        try:
            return ctypes.string_at(address)
        finally:
            LIB.hfreeTupleElemString(address)

    def test_new_tuple_is_empty(self):
        self.assertEqual(LIB.hgetTupleLength(self.tuple), 0)

    def test_each_kind_round_trips(self):
        LIB.happendTupleLong(self.tuple, 7)
        LIB.happendTupleDouble(self.tuple, 0.1)
        LIB.happendTupleString(self.tuple, b"seven")
        self.assertEqual(LIB.hgetTupleLength(self.tuple), 3)
        self.assertEqual([LIB.hgetTupleElemType(self.tuple, i) for i in range(3)],
                         [LONG, DOUBLE, STRING])
        self.assertEqual(LIB.hgetTupleElemLong(self.tuple, 0), 7)
        self.assertEqual(LIB.hgetTupleElemDouble(self.tuple, 1), 0.1)
        self.assertEqual(self.take_string(2), b"seven")

    def test_string_buffer_holds_text_and_terminator(self):
        LIB.happendTupleString(self.tuple, b"abc")
        LIB.happendTupleString(self.tuple, b"")
        address = LIB.hgetTupleElemString_TO_BE_FREED(self.tuple, 0)
        self.assertEqual(ctypes.string_at(address, 4), b"abc\0")
        LIB.hfreeTupleElemString(address)
        address = LIB.hgetTupleElemString_TO_BE_FREED(self.tuple, 1)
        self.assertEqual(ctypes.string_at(address, 1), b"\0")
        LIB.hfreeTupleElemString(address)

    def test_bytes_pass_unconverted(self):
        LIB.happendTupleString(self.tuple, b"\xe4\xf6\xfc")
        self.assertEqual(self.take_string(0), b"\xe4\xf6\xfc")

    def test_each_copy_is_its_own(self):
        LIB.happendTupleString(self.tuple, b"same")
        first = LIB.hgetTupleElemString_TO_BE_FREED(self.tuple, 0)
        second = LIB.hgetTupleElemString_TO_BE_FREED(self.tuple, 0)
        self.assertNotEqual(first, second)
        LIB.hfreeTupleElemString(first)
        self.assertEqual(ctypes.string_at(second), b"same")
        LIB.hfreeTupleElemString(second)

    def test_out_of_range_reads_are_harmless(self):
        self.assertEqual(LIB.hgetTupleElemType(self.tuple, 3), 0)
        self.assertIsNone(LIB.hgetTupleElemString_TO_BE_FREED(self.tuple, 0))


class NullTest(unittest.TestCase):
    def test_release_functions_accept_null(self):
        LIB.hfreeTuple(None)
        LIB.hfreeTupleElemString(None)
        LIB.hclearErrorMsg(None)


if __name__ == "__main__":
    unittest.main()
