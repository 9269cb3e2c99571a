"""Message handlers that call back into the library, raise, or are replaced while they run."""
import gc
import threading
import unittest
import weakref

from package_support import (LIB, STDERR_MESSAGE as MESSAGE, CapturedUnraisable, quorvex,
                             send_stderr_message)

add_procedure = None


def setUpModule():
    global add_procedure
    quorvex.init()
    add_procedure = quorvex.Procedure("add")


def tearDownModule():
    add_procedure.close()


def set_system(name, value):
    with quorvex.Procedure("set_system_value") as procedure:
        procedure(Name=name, Value=value)


def close_windows():
    """Closes every window the library registered; returns how many there were."""
    with quorvex.Procedure("close_all_windows") as close_all:
        return close_all()["Count"][0]


class HandlerSafetyTest(unittest.TestCase):
    def tearDown(self):
        quorvex.set_message_handlers(stdout=None, stderr=None)
        quorvex.set_fullscreen(False)
        set_system("standin_null_os_handle", "false")

    # The fullscreen change of a window being opened reports its failure while the library
    # holds its window lock; the message reaches the handler once the lock is released.
    NO_HANDLE = "fullscreen: got invalid window handle from GetOsWindowHandle"

    def spoil_fullscreen(self):
        set_system("standin_null_os_handle", "true")
        quorvex.set_fullscreen(True)

    def test_a_handler_runs_a_procedure_from_inside_a_message(self):
        sums = []
        quorvex.set_message_handlers(stderr=lambda text: sums.append(
            add_procedure(A=len(text), B=1)["Sum"]))
        self.spoil_fullscreen()
        quorvex.open_default_window()
        self.assertEqual(sums, [[len(self.NO_HANDLE) + 1]])
        close_windows()

    def test_a_raising_handler_leaves_the_library_usable(self):
        def fail(text):
            raise RuntimeError(text)

        self.spoil_fullscreen()
        quorvex.set_message_handlers(stderr=fail)
        with CapturedUnraisable() as unraisable:
            quorvex.open_default_window()
        self.assertEqual([str(seen.exc_value) for seen in unraisable.seen], [self.NO_HANDLE])
        quorvex.set_message_handlers(stderr=None)
        quorvex.open_default_window()
        self.assertEqual(close_windows(), 2, "no lock was left behind")

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
