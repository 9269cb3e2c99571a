"""Message handlers that call back into the library, or are replaced while they run."""
import gc
import threading
import unittest
import weakref

from package_support import LIB, STDERR_MESSAGE as MESSAGE, quorvex, send_stderr_message
from quorvex.messages import ReentrantCallError


def setUpModule():
    quorvex.init()


def set_system(name, value):
    with quorvex.Procedure("set_system_value") as procedure:
        procedure(Name=name, Value=value)


class HandlerSafetyTest(unittest.TestCase):
    def tearDown(self):
        quorvex.set_message_handlers(stdout=None, stderr=None)
        quorvex.set_fullscreen(False)
        set_system("standin_null_os_handle", "false")

    def test_a_handler_opening_a_window_under_the_window_lock_gets_an_error_not_a_hang(self):
        # The fullscreen change of a window being opened reports its failure while the
        # library holds its window lock, on the opening thread.
        refused = []

        def reopen(text):
            try:
                quorvex.open_default_window()
            except ReentrantCallError as error:
                refused.append((text, str(error)))

        set_system("standin_null_os_handle", "true")
        quorvex.set_fullscreen(True)
        quorvex.set_message_handlers(stderr=reopen)
        quorvex.open_default_window()
        self.assertEqual(len(refused), 1)
        self.assertEqual(refused[0][0],
                         "fullscreen: got invalid window handle from GetOsWindowHandle")
        self.assertIn("hopenDefaultWindow called from inside a quorvex message handler",
                      refused[0][1])

    def test_a_handler_replaced_during_a_delivery_keeps_its_code_until_it_returns(self):
        entered, release = threading.Event(), threading.Event()

        def blocking(text):
            entered.set()
            release.wait(10)

        quorvex.set_message_handlers(stderr=blocking)
        running = weakref.ref(LIB._message_handlers["stderr"][1])
        sender = threading.Thread(target=send_stderr_message)
        sender.start()
        self.assertTrue(entered.wait(10))
        later = []
        quorvex.set_message_handlers(stderr=later.append)
        gc.collect()
        alive = running() is not None
        release.set()
        sender.join()
        self.assertTrue(alive, "the C callback in use was freed")
        send_stderr_message()
        self.assertEqual(later, [MESSAGE])


if __name__ == "__main__":
    unittest.main()
