"""Checks the package's annotations with mypy, configured in python/pyproject.toml.

Exits 77 (CTest's skip) when mypy is not installed: Debian's python3-mypy gives it.
"""
import importlib.util
import os
import shutil
import subprocess
import sys

PACKAGE = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))), "python")
SKIP = 77


def mypy_command():
    if importlib.util.find_spec("mypy") is not None:
        return [sys.executable, "-m", "mypy"]
    if shutil.which("mypy"):
        return ["mypy"]
    # Debian's package installs the module for the system interpreter only.
    system = "/usr/bin/python3"
    if os.path.exists(system) and subprocess.run(
            [system, "-c", "import mypy"], capture_output=True).returncode == 0:
        return [system, "-m", "mypy"]
    return None


def main():
    command = mypy_command()
    if command is None:
        print("mypy is not installed: skipped")
        return SKIP
    return subprocess.run(command + ["--config-file", "pyproject.toml"], cwd=PACKAGE).returncode


if __name__ == "__main__":
    sys.exit(main())
