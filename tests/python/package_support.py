"""Shared by the package suites: import quorvex from python/, load the built library and
add the tests' procedures to its path, and make the library send a message."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "python"))

import quorvex  # noqa: E402

DATA = os.environ.get("QUORVEX_TEST_DATA", os.path.join(ROOT, "tests", "data"))
PROCEDURES = os.path.join(DATA, "procedures")

LIB = quorvex.load()  # QUORVEX_LIBRARY, set by CTest
quorvex.add_procedure_path(PROCEDURES)

# What the library says on standard error when switching verbosity on cannot install its
# low-level error handler.
STDERR_MESSAGE = 'could not set "do_low_error" handler'


def send_stderr_message():
    """Make the library say STDERR_MESSAGE: a procedure line arms a tuple fault for this
    process, which spoils switching verbosity on."""
    with quorvex.Procedure("arm_tuple_fault") as arm:
        arm(Number=9999)
    quorvex.set_verbosity(True)
    quorvex.set_verbosity(False)


class CapturedUnraisable:
    """Collects what reaches sys.unraisablehook while active (a context manager)."""

    def __enter__(self):
        self.seen = []
        self._previous = sys.unraisablehook
        sys.unraisablehook = self.seen.append
        return self

    def __exit__(self, *exc_info):
        sys.unraisablehook = self._previous
