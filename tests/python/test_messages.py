"""Message channels from a ctypes caller: callbacks as plain function pointers."""
import unittest

import quorvex_abi

LIB = quorvex_abi.load()


class ChannelTest(unittest.TestCase):
    def tearDown(self):
        LIB.hsetStdOutHandler(quorvex_abi.MessageHandler())
        LIB.hsetStdErrHandler(quorvex_abi.MessageHandler())
        LIB.hsetVerbosity(0)

    def test_setters_return_null_for_any_argument(self):
        keep = quorvex_abi.MessageHandler(lambda text: None)
        self.assertFalse(LIB.hsetStdOutHandler(keep))
        self.assertFalse(LIB.hsetStdErrHandler(keep))
        self.assertFalse(LIB.hsetStdOutHandler(quorvex_abi.MessageHandler()))
        for verbosity in (0, 1, 5, -1, 2**31 - 1):
            self.assertFalse(LIB.hsetVerbosity(verbosity))

    def test_switching_verbosity_on_writes_nothing_when_it_succeeds(self):
        lines = []
        handler = quorvex_abi.MessageHandler(lines.append)
        LIB.hsetStdErrHandler(handler)
        LIB.hsetStdOutHandler(handler)
        LIB.hsetVerbosity(1)
        self.assertEqual(lines, [])


if __name__ == "__main__":
    unittest.main()
