"""quorvex.Tuple: conversions both ways, refusals, and the library's view of the elements."""
import ctypes
import fractions
import unittest

from package_support import LIB, quorvex

Tuple, ElemType = quorvex.Tuple, quorvex.ElemType


class RoundTripTest(unittest.TestCase):
    def round_trip(self, values, **options):
        with Tuple(values, **options) as tuple_:
            return tuple_.to_list(), tuple_.types()

    def test_every_kind_keeps_value_and_type(self):
        values = [0, -7, 2**31 - 1, -2**31, 0.1, -0.0, 1e300, "", "text", 3.0]
        result, types = self.round_trip(values)
        self.assertEqual(result, values)
        self.assertEqual([type(v) for v in result], [type(v) for v in values])
        self.assertEqual(types, [1, 1, 1, 1, 2, 2, 2, 4, 4, 2])
        with Tuple([bytearray(b"ab"), memoryview(b"cd")], encoding=None) as raw:
            self.assertEqual(raw.to_list(), [b"ab", b"cd"])

    def test_numbers_and_texts_of_other_types_convert_like_their_kind(self):
        values = [True, ElemType.REAL, fractions.Fraction(1, 4), bytearray(b"ab"),
                  memoryview(b"c"), b"d"]
        self.assertEqual(self.round_trip(values),
                         ([1, 2, 0.25, "ab", "c", "d"],
                          [ElemType.INTEGER, ElemType.INTEGER, ElemType.REAL] +
                          [ElemType.STRING] * 3))

    def test_many_elements_of_every_kind_in_order(self):
        values = [(i, i / 4, f"e{i}")[i % 3] for i in range(3000)]
        with Tuple(values) as tuple_:
            self.assertEqual(tuple_.to_list(), values)
            self.assertEqual((tuple_[1], tuple_[-1], tuple_[2:6]), (0.25, values[-1], values[2:6]))
            self.assertEqual(list(tuple_), values)

    def test_to_python_gives_the_element_only_for_one_element(self):
        with Tuple("one") as one, Tuple([]) as empty, Tuple([1, 2]) as two:
            self.assertEqual((one.to_list(), one.to_python()), (["one"], "one"))
            self.assertEqual(empty.to_python(), [])
            self.assertEqual(two.to_python(), [1, 2])

    def test_unicode_round_trips_as_utf8(self):
        text = "Grüße, 検査, \N{SNOWMAN}"
        with Tuple([text]) as tuple_:
            self.assertEqual(tuple_[0], text)
            tuple_.encoding = None  # read the bytes the library holds
            self.assertEqual(tuple_[0], text.encode("utf-8"))

    def test_other_encoding_reaches_the_library_as_its_bytes(self):
        with Tuple(["grün"], encoding="latin-1") as tuple_:
            address = LIB.hgetTupleElemString_TO_BE_FREED(tuple_.handle, 0)
            try:
                self.assertEqual(ctypes.string_at(address), b"gr\xfcn")
            finally:
                LIB.hfreeTupleElemString(address)
            self.assertEqual(tuple_[0], "grün")

    def test_invalid_utf8_bytes_survive_a_round_trip_through_str(self):
        raw = b"\xff\xfe ok \xe4"
        with Tuple([raw]) as first:
            text = first[0]
        self.assertIsInstance(text, str)
        with Tuple([text]) as second:
            second.encoding = None
            self.assertEqual(second[0], raw)


class RefusalTest(unittest.TestCase):
    def test_values_the_library_cannot_hold(self):
        rows = (([1, 2**31], {}, OverflowError), ([-2**31 - 1], {}, OverflowError),
                ([[1, 2]], {}, TypeError), ([1, (2,)], {}, TypeError), (None, {}, TypeError),
                ([None], {}, TypeError), ({1: 2}, {}, TypeError), ([1j], {}, TypeError),
                (["a\0b"], {}, ValueError), ([b"\0"], {}, ValueError),
                (["text"], {"encoding": None}, TypeError))
        for values, options, error in rows:
            with self.subTest(values=values), self.assertRaises(error):
                Tuple(values, **options)

    def test_a_refused_append_keeps_earlier_elements(self):
        with Tuple([1]) as tuple_:
            with self.assertRaises(OverflowError):
                tuple_.extend([2, 2**40, 3])
            self.assertEqual(tuple_.to_list(), [1, 2])


class SequenceTest(unittest.TestCase):
    def setUp(self):
        self.tuple = Tuple([10, 2.5, "x"])
        self.addCleanup(self.tuple.close)

    def test_length_indexing_and_iteration(self):
        self.assertEqual(len(self.tuple), 3)
        self.assertEqual((self.tuple[0], self.tuple[-1], self.tuple[1:]), (10, "x", [2.5, "x"]))
        self.assertEqual(list(self.tuple), [10, 2.5, "x"])
        for index in (3, -4, 2**40):
            with self.subTest(index=index), self.assertRaises(IndexError):
                self.tuple[index]

    def test_append_extend_and_an_independent_copy(self):
        with Tuple(self.tuple) as copy:
            copy.append(-1)
            copy.extend(["y", 0.5])
            self.assertEqual(copy.to_list(), [10, 2.5, "x", -1, "y", 0.5])
        self.assertEqual(len(self.tuple), 3)

    def test_use_after_close_raises_instead_of_reaching_the_library(self):
        tuple_ = Tuple([1])
        tuple_.close()
        tuple_.close()  # a second close does nothing
        self.assertTrue(tuple_.closed)
        for use in (len, list, lambda t: t[0], lambda t: t.append(1), lambda t: t.handle):
            with self.assertRaises(ValueError):
                use(tuple_)
        self.assertIn("closed", repr(tuple_))

    def test_from_handle_adopts_a_caller_handle(self):
        handle = ctypes.c_void_p()
        self.assertFalse(LIB.hcreateTuple(ctypes.byref(handle)))
        LIB.happendTupleLong(handle, 42)
        adopted = Tuple.from_handle(handle)
        self.assertEqual(adopted.to_list(), [42])
        adopted.close()
        with self.assertRaises(ValueError):
            Tuple.from_handle(None)


if __name__ == "__main__":
    unittest.main()
