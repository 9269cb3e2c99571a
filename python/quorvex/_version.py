"""The package's version: the project's, stated once in the C interface's header
(include/quorvex.h).

A wheel carries this module rewritten with the version written in (python/build_wheel.py);
in the source tree it is read from the header above the package, and a package installed
from the sources (pip install ./python) finds it in its installed metadata.
"""
import os
import re


def _from_sources() -> str:
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                        "include", "quorvex.h")
    try:
        with open(path, encoding="utf-8") as file:
            found = re.search(r'^#define QUORVEX_VERSION_STRING "([0-9.]+)"$', file.read(), re.M)
    except OSError:
        found = None
    if found:
        return found.group(1)
    try:
        from importlib import metadata
        return metadata.version("quorvex")
    except Exception:  # not installed either: no version to tell
        return "0+unknown"


__version__ = _from_sources()
