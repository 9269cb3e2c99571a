"""The package's version: the project's, stated once by project() in the top CMakeLists.txt.

A wheel carries this module rewritten with the version written in (python/build_wheel.py);
in the source tree it is read from the CMakeLists.txt above the package, and a package
installed from the sources (pip install ./python) finds it in its installed metadata.
"""
import os
import re


def _from_sources() -> str:
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                        "CMakeLists.txt")
    try:
        with open(path, encoding="utf-8") as file:
            found = re.search(r"project\(\s*quorvex\s+VERSION\s+([0-9.]+)", file.read())
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
