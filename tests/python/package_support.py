"""Shared by the package suites: import quorvex from python/ and load the built library."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "python"))

import quorvex  # noqa: E402

DATA = os.environ.get("QUORVEX_TEST_DATA", os.path.join(ROOT, "tests", "data"))
PROCEDURES = os.path.join(DATA, "procedures")

LIB = quorvex.load()  # QUORVEX_LIBRARY, set by CTest


class CapturedUnraisable:
    """Collects what reaches sys.unraisablehook while active (a context manager)."""

    def __enter__(self):
        self.seen = []
        self._previous = sys.unraisablehook
        sys.unraisablehook = self.seen.append
        return self

    def __exit__(self, *exc_info):
        sys.unraisablehook = self._previous
