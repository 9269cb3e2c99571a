#!/usr/bin/env python3
"""Inspect the parts in a grey image with the HDevelop procedure inspect_parts, from Python.

Runs examples/inspection/inspect_parts.hdvp through the quorvex package and prints its
outputs as the C++ runner ``quorvex-run`` does (``Name: value``, lists as ``[1, 2, 3]``),
followed by a small report: each part's area and centre, and the total area.

Usage:
    inspect.py [--image PARTS.png] [--min-gray 128] [--max-gray 255] [--program]
               [--library PATH]

With ``--program`` the program inspection.hdev runs instead (from this folder): its main
calls the same procedure and a local one; the C interface runs programs but does not read
their variables, so only success or the error is reported.

The library is found as ``quorvex.load`` finds it (``QUORVEX_LIBRARY``, beside the package,
or the loader's path), or named with ``--library``.
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
# The package from this repository when it is not installed.
sys.path.append(os.path.join(os.path.dirname(os.path.dirname(HERE)), "python"))

import quorvex  # noqa: E402


def format_value(values):
    """One output as the runner prints it: an element alone, several as ``[a, b]``."""
    def element(value):
        if isinstance(value, str):
            return "'" + value.replace("\\", "\\\\").replace("'", "\\'") + "'"
        return repr(value)

    if len(values) == 1:
        return element(values[0])
    return "[" + ", ".join(element(v) for v in values) + "]"


def report(outputs, stream=sys.stdout):
    """Print the outputs, then one line per part and the total area."""
    for name in ("Areas", "Rows", "Columns", "Count"):
        print(f"{name}: {format_value(outputs[name])}", file=stream)
    areas, rows, columns = outputs["Areas"], outputs["Rows"], outputs["Columns"]
    print(file=stream)
    print(f"{len(areas)} parts", file=stream)
    print(f"{'part':>4}  {'area':>7}  {'row':>8}  {'column':>8}", file=stream)
    for number, (area, row, column) in enumerate(zip(areas, rows, columns), start=1):
        print(f"{number:>4}  {area:>7}  {row:>8.2f}  {column:>8.2f}", file=stream)
    print(f"total area: {sum(areas)} pixels", file=stream)


def run_procedure(image, min_gray, max_gray):
    """The outputs of inspect_parts for one image, by name, each a list."""
    with quorvex.Procedure("inspect_parts") as inspect_parts:
        return inspect_parts(ImagePath=image, MinGray=min_gray, MaxGray=max_gray)


def run_program():
    """Run inspection.hdev once; the C interface gives no access to its variables."""
    previous = os.getcwd()
    os.chdir(HERE)  # the program names its image relative to this folder
    try:
        with quorvex.Program(os.path.join(HERE, "inspection.hdev")) as program:
            program.execute()
    finally:
        os.chdir(previous)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--image", default=os.path.join(HERE, "parts.png"),
                        help="the grey image to inspect (default: parts.png here)")
    parser.add_argument("--min-gray", type=int, default=128, help="lowest part grey value")
    parser.add_argument("--max-gray", type=int, default=255, help="highest part grey value")
    parser.add_argument("--program", action="store_true",
                        help="run the program inspection.hdev instead of the procedure")
    parser.add_argument("--library", help="the quorvex library file")
    args = parser.parse_args(argv)

    if args.library:
        quorvex.load(args.library)
    quorvex.init()
    quorvex.set_message_handlers(stdout=lambda text: print(text),
                                 stderr=lambda text: print(text, file=sys.stderr))
    quorvex.add_procedure_path(HERE)
    try:
        if args.program:
            run_program()
            print("inspection.hdev: main ran to its end")
            return 0
        outputs = run_procedure(args.image, args.min_gray, args.max_gray)
    except quorvex.EngineError as error:
        print(f"inspection failed: {error}", file=sys.stderr)
        return 1
    finally:
        quorvex.set_message_handlers(stdout=None, stderr=None)
    report(outputs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
