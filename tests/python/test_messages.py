"""Message channels from a ctypes caller: callbacks as plain function pointers, the
verbosity switch, and low-level errors of the image-processing library."""
import unittest

import quorvex_abi
import snippets

LIB = quorvex_abi.load()


def report_low_level_error(text):
    snippets.run(LIB, [f"set_system ('standin_low_level_error', '{text}')"])


class ChannelTest(unittest.TestCase):
    def setUp(self):
        self.out, self.err = [], []
        # The callback objects must outlive their use by the library.
        self.out_handler = quorvex_abi.MessageHandler(lambda text: self.out.append(text))
        self.err_handler = quorvex_abi.MessageHandler(lambda text: self.err.append(text))
        LIB.hsetStdOutHandler(self.out_handler)
        LIB.hsetStdErrHandler(self.err_handler)
        # Uninstalls the library's handler, which otherwise stays from earlier tests.
        snippets.run(LIB, ["set_system ('do_low_error', 'false')"])

    def tearDown(self):
        LIB.hsetStdOutHandler(quorvex_abi.MessageHandler())
        LIB.hsetStdErrHandler(quorvex_abi.MessageHandler())
        LIB.hsetVerbosity(0)

    def test_setters_return_null_for_any_argument(self):
        self.assertFalse(LIB.hsetStdOutHandler(self.out_handler))
        self.assertFalse(LIB.hsetStdErrHandler(quorvex_abi.MessageHandler()))
        for verbosity in (0, 1, 5, -1, 2**31 - 1):
            self.assertFalse(LIB.hsetVerbosity(verbosity))

    def test_low_level_error_reaches_standard_error_once_verbosity_is_on(self):
        report_low_level_error("before")
        self.assertEqual(self.err, [])
        LIB.hsetVerbosity(1)
        report_low_level_error("disk full")
        self.assertEqual(self.err, [b"low level error: disk full"])
        self.assertEqual(self.out, [])

    def test_any_non_zero_verbosity_acts_alike(self):
        for verbosity in (5, -3):
            self.err.clear()
            LIB.hsetVerbosity(0)
            LIB.hsetVerbosity(verbosity)
            report_low_level_error("x")
            self.assertEqual(self.err, [b"low level error: x"], verbosity)

    def test_switching_off_keeps_low_level_errors_coming(self):
        LIB.hsetVerbosity(1)
        LIB.hsetVerbosity(0)
        report_low_level_error("still here")
        self.assertEqual(self.err, [b"low level error: still here"])

    def test_empty_text_keeps_the_trailing_space_and_no_line_end_is_added(self):
        LIB.hsetVerbosity(1)
        report_low_level_error("")
        report_low_level_error("two\\nlines")
        self.assertEqual(self.err, [b"low level error: ", b"low level error: two\nlines"])

    def test_closed_channel_drops_and_reopens(self):
        LIB.hsetVerbosity(1)
        self.assertFalse(LIB.hsetStdErrHandler(quorvex_abi.MessageHandler()))
        report_low_level_error("lost")
        LIB.hsetStdErrHandler(self.err_handler)
        report_low_level_error("found")
        self.assertEqual(self.err, [b"low level error: found"])


if __name__ == "__main__":
    unittest.main()
