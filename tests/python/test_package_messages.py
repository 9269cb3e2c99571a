"""Message handlers: Python callables on the library's channels, kept alive, never raising;
handlers that call back into the library, raise, or are replaced while they run.

The message comes from the library itself: with a tuple fault armed, switching verbosity on
cannot install the low-level error handler, and the library says so on standard error.
"""
import gc
import os
import threading
import unittest
import weakref

from package_support import (DATA, LIB, STDERR_MESSAGE as MESSAGE, CapturedUnraisable, quorvex,
                             send_stderr_message)
from quorvex import _library

PROGRAMS = os.path.join(DATA, "programs")


class Collector:
    def __init__(self):
        self.lines = []

    def __call__(self, text):
        self.lines.append(text)


class HandlerTest(unittest.TestCase):
    def tearDown(self):
        quorvex.set_message_handlers(stdout=None, stderr=None)

    def test_a_handler_receives_the_message_as_str_and_lives_without_other_references(self):
        lines = []
        quorvex.set_message_handlers(stderr=lambda text: lines.append(text.upper()))
        gc.collect()
        send_stderr_message()
        self.assertEqual(lines, [MESSAGE.upper()])

    def test_a_replaced_handler_is_dropped_and_no_longer_called(self):
        first, second = Collector(), Collector()
        quorvex.set_message_handlers(stderr=first)
        watch_handler = weakref.ref(first)
        quorvex.set_message_handlers(stderr=second)
        del first
        gc.collect()
        self.assertIsNone(watch_handler())
        send_stderr_message()
        self.assertEqual(second.lines, [MESSAGE])

    def test_none_closes_and_keep_leaves_a_channel(self):
        out, err = Collector(), Collector()
        quorvex.set_message_handlers(stdout=out, stderr=err)
        quorvex.set_message_handlers(stdout=None)
        self.assertEqual(quorvex.message_handlers(), {"stdout": None, "stderr": err})
        quorvex.set_message_handlers(stderr=None)
        send_stderr_message()
        self.assertEqual(err.lines, [])

    def test_a_handler_that_is_not_callable_changes_nothing(self):
        collector = Collector()
        quorvex.set_message_handlers(stderr=collector)
        with self.assertRaises(TypeError):
            quorvex.set_message_handlers(stdout=Collector(), stderr="not callable")
        self.assertEqual(quorvex.message_handlers(), {"stdout": None, "stderr": collector})

    def test_undecodable_bytes_are_replaced(self):
        collector = Collector()
        quorvex.set_message_handlers(stdout=collector)
        # Call the C callback as the library does, through its function pointer.
        callback = LIB._message_handlers["stdout"][1]
        as_c = _library.MessageHandler(_library.ctypes.cast(callback, _library.ctypes.c_void_p)
                                       .value)
        as_c(b"caf\xe9 \xff")
        self.assertEqual(collector.lines, ["caf\ufffd \ufffd"])


    def test_an_exception_goes_to_the_unraisable_hook_not_to_the_caller(self):
        def failing(text):
            raise ValueError(f"handler failed on {text}")

        quorvex.set_message_handlers(stderr=failing)
        with CapturedUnraisable() as captured:
            send_stderr_message()  # must return normally
        self.assertEqual(len(captured.seen), 1)
        report = captured.seen[0]
        self.assertIs(report.exc_type, ValueError)
        self.assertIn(MESSAGE, str(report.exc_value))
        self.assertIn("stderr message handler", report.err_msg)
        self.assertIs(report.object, failing)


def set_system(name, value):
    with quorvex.Procedure("set_system_value") as procedure:
        procedure(Name=name, Value=value)


def close_windows():
    """Closes every window the library registered; returns how many there were."""
    with quorvex.Procedure("close_all_windows") as close_all:
        return close_all()["Count"][0]


class HandlerSafetyTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        quorvex.init()

    def tearDown(self):
        self.restore()

    @staticmethod
    def restore():
        quorvex.set_message_handlers(stdout=None, stderr=None)
        quorvex.set_fullscreen(False)
        set_system("standin_null_os_handle", "false")

    # The fullscreen change of a window being opened reports its failure while the library
    # holds its window lock; the message reaches the handler once the lock is released.
    NO_HANDLE = "fullscreen: got invalid window handle from GetOsWindowHandle"

    def spoil_fullscreen(self):
        set_system("standin_null_os_handle", "true")
        quorvex.set_fullscreen(True)

    def send_from_a_procedure_run(self):
        quorvex.set_verbosity(True)
        try:
            with quorvex.Procedure("report_low_level") as report:
                report(Text="from a run")
        finally:
            quorvex.set_verbosity(False)

    def send_from_a_window_opening(self):
        self.spoil_fullscreen()
        quorvex.open_default_window()

    @staticmethod
    def add(a, b):
        with quorvex.Procedure("add") as add:
            return add(A=a, B=b)["Sum"]

    @staticmethod
    def open_window():
        quorvex.open_default_window()
        return "opened"

    # Two roads to a standard-error handler: a procedure run that reports a low-level error,
    # and a window opening whose message waits for the window lock to be released. What the
    # handler does with the library the first time it runs, and what it gets; "width" is 512
    # after init (include/quorvex.h, hinit).
    SENDERS = ("send_from_a_procedure_run", "send_from_a_window_opening")
    CALLS = (("runs add with 2 and 3", lambda: HandlerSafetyTest.add(2, 3), [5]),
             ("reads the system value width", lambda: quorvex.get_system("width"), 512),
             ("opens the default window", lambda: HandlerSafetyTest.open_window(), "opened"))

    def test_a_handler_calls_the_library_and_the_sender_completes(self):
        for sender in self.SENDERS:
            for what, call, expected in self.CALLS:
                with self.subTest(sender=sender, handler=what):
                    results, entered = [], []

                    def once(text):
                        # The call may send messages of its own (a window opening does).
                        if not entered:
                            entered.append(text)
                            results.append(call())

                    quorvex.set_message_handlers(stderr=once)
                    try:
                        with CapturedUnraisable() as unraisable:
                            getattr(self, sender)()
                            results.append("sent")
                    finally:
                        self.restore()
                    self.assertEqual(unraisable.seen, [])
                    self.assertEqual(results, [expected, "sent"])
        close_windows()

    def test_a_failing_call_in_a_handler_is_reported_and_the_sender_completes(self):
        quorvex.set_message_handlers(stderr=lambda text: quorvex.get_system("no_such_parameter"))
        with CapturedUnraisable() as unraisable:
            self.send_from_a_window_opening()
        self.assertEqual([seen.exc_type for seen in unraisable.seen], [quorvex.OperatorError])
        close_windows()

    @staticmethod
    def procedure_call():
        procedure = quorvex.Procedure("report_low_level")
        call = procedure.create_call()
        procedure.close()
        call.set_input("Text", "from a procedure call")
        return call

    @staticmethod
    def program_call():
        with quorvex.Program(os.path.join(PROGRAMS, "report_low_level.hdev")) as program:
            return program.create_call()

    # A call object whose run sends the message, and the stand-ins' count of its kind.
    CLOSED_WHILE_RUNNING = ((procedure_call, "procedure_calls"), (program_call, "program_calls"))

    def test_a_handler_that_closes_the_running_call_leaves_it_until_the_run_returns(self):
        quorvex.set_verbosity(True)
        self.addCleanup(quorvex.set_verbosity, False)
        for make, kind in self.CLOSED_WHILE_RUNNING:
            with self.subTest(call=kind):
                live = f"standin_live_{kind}"
                before = quorvex.get_system(live)
                call = make.__func__()
                quorvex.set_message_handlers(stderr=lambda text: call.close())
                with CapturedUnraisable() as unraisable:
                    call.execute()
                self.assertEqual(unraisable.seen, [])
                self.assertTrue(call.closed)
                self.assertEqual(quorvex.get_system(live), before, "released after the run")

    def test_an_exit_or_interrupt_reaches_the_caller_once_the_call_returns(self):
        for sender in self.SENDERS:
            for error in (SystemExit(3), KeyboardInterrupt()):
                with self.subTest(sender=sender, error=type(error).__name__):
                    seen = []

                    def stop(text, error=error):
                        seen.append(text)
                        raise error

                    quorvex.set_message_handlers(stderr=stop)
                    try:
                        with CapturedUnraisable() as unraisable:
                            with self.assertRaises(type(error)) as caught:
                                getattr(self, sender)()
                    finally:
                        self.restore()
                    self.assertIs(caught.exception, error)
                    self.assertEqual(unraisable.seen, [])
                    self.assertTrue(seen)
                    # The call itself completed: the next one does not meet the exception.
                    self.assertEqual(self.add(1, 2), [3])
        self.assertEqual(close_windows(), 2, "each window opening completed")

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
