#!/usr/bin/env python3
"""The Python package's cost over raw ctypes making the same library calls, in one run.

Four pairs, each the package against plain ctypes code with the exports declared as in
quorvex.h (argument types, ``c_void_p`` out-parameters through ``byref``):

* a reused call of tests/data/procedures/add.hdvp: two inputs set, executed, the output read;
* a call object made and closed each time (``create_call``, two ``set_input``, ``execute``,
  ``get_output``, ``close``) against a call made and freed each time;
* ``Procedure.__call__``: the same through the procedure object;
* building a tuple of 10,000 integers, and of 10,000 mixed elements (integer, real, string);
* reading those tuples back into lists.

Each repetition times every variant once, in turn, so that the machine's load falls on all of
them alike; the table gives medians over the repetitions, per call or per element, and the
package's ratio to ctypes.

Usage: python_overhead.py [--library PATH] [--repetitions N] [--package DIR]

--package names the folder holding another quorvex package (an older checkout's python/) to
measure instead of this tree's.
"""
import argparse
import ctypes
import os
import statistics
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

PROCEDURES = os.path.join(ROOT, "tests", "data", "procedures")
ELEMENTS = 10_000
CALLS = 2_000


def raw_exports(library):
    """The exports as a ctypes user declares them, on their own function objects."""
    from quorvex import _library
    cdll = ctypes.CDLL(library.path)
    functions = {}
    for name, (restype, argtypes) in _library.SIGNATURES.items():
        function = cdll[name]
        function.restype, function.argtypes = restype, argtypes
        functions[name] = function
    return functions


class Raw:
    """The same work as the package's, written directly against ctypes."""

    def __init__(self, library, procedure):
        self.f = raw_exports(library)
        self.procedure = ctypes.c_void_p(procedure.handle)
        self.call = ctypes.c_void_p()
        self.check(self.f["hcreateProcedureCall"](self.procedure, ctypes.byref(self.call)))

    def check(self, record):
        if record:
            message = record.contents.message
            self.f["hclearErrorMsg"](record)
            raise RuntimeError(message)

    def set_long(self, call, index, value):
        f = self.f
        tuple_ = ctypes.c_void_p()
        self.check(f["hcreateTuple"](ctypes.byref(tuple_)))
        f["happendTupleLong"](tuple_, value)
        try:
            self.check(f["hprocedurecallSetInputCtrlParamTuple"](call, index, tuple_))
        finally:
            f["hfreeTuple"](tuple_)

    def get_longs(self, call, index):
        f = self.f
        tuple_ = ctypes.c_void_p()
        self.check(f["hprocedurecallGetOutputCtrlParamTuple"](call, index, ctypes.byref(tuple_)))
        try:
            return self.read(tuple_)
        finally:
            f["hfreeTuple"](tuple_)

    def read(self, tuple_):
        f = self.f
        values = []
        for i in range(f["hgetTupleLength"](tuple_)):
            kind = f["hgetTupleElemType"](tuple_, i)
            if kind == 1:
                values.append(f["hgetTupleElemLong"](tuple_, i))
            elif kind == 2:
                values.append(f["hgetTupleElemDouble"](tuple_, i))
            else:
                address = f["hgetTupleElemString_TO_BE_FREED"](tuple_, i)
                values.append(ctypes.string_at(address).decode())
                f["hfreeTupleElemString"](address)
        return values

    def reused_call(self):
        self.set_long(self.call, 1, 2)
        self.set_long(self.call, 2, 3)
        self.check(self.f["hprocedurecallExecute"](self.call))
        return self.get_longs(self.call, 1)

    def fresh_call(self):
        call = ctypes.c_void_p()
        self.check(self.f["hcreateProcedureCall"](self.procedure, ctypes.byref(call)))
        try:
            self.set_long(call, 1, 2)
            self.set_long(call, 2, 3)
            self.check(self.f["hprocedurecallExecute"](call))
            return {"Sum": self.get_longs(call, 1)}
        finally:
            self.f["hfreeProcedureCall"](call)

    def build(self, values):
        f = self.f
        tuple_ = ctypes.c_void_p()
        self.check(f["hcreateTuple"](ctypes.byref(tuple_)))
        for value in values:
            if isinstance(value, int):
                f["happendTupleLong"](tuple_, value)
            elif isinstance(value, float):
                f["happendTupleDouble"](tuple_, value)
            else:
                f["happendTupleString"](tuple_, value.encode())
        return tuple_

    def free(self, tuple_):
        self.f["hfreeTuple"](tuple_)


def timed(work, count):
    """Seconds per item of one batch of `work()`, which does `count` items."""
    start = time.perf_counter()
    work()
    return (time.perf_counter() - start) / count


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", help="the library file (default: QUORVEX_LIBRARY, ...)")
    parser.add_argument("--repetitions", type=int, default=11)
    parser.add_argument("--package", default=os.path.join(ROOT, "python"),
                        help="the folder holding the quorvex package to measure")
    args = parser.parse_args()
    sys.path.insert(0, args.package)
    import quorvex

    library = quorvex.load(args.library)
    quorvex.add_procedure_path(PROCEDURES)
    add = quorvex.Procedure("add")
    call = add.create_call()
    raw = Raw(library, add)

    ints = list(range(ELEMENTS))
    mixed = [(i, i + 0.5, f"s{i}")[i % 3] for i in range(ELEMENTS)]

    def package_reused():
        for _ in range(CALLS):
            call.set_input("A", 2)
            call.set_input("B", 3)
            call.execute()
            call.get_output("Sum")

    def raw_reused():
        for _ in range(CALLS):
            raw.reused_call()

    def package_call_object():
        for _ in range(CALLS):
            with add.create_call() as fresh:
                fresh.set_input("A", 2)
                fresh.set_input("B", 3)
                fresh.execute()
                fresh.get_output("Sum")

    def package_fresh():
        for _ in range(CALLS):
            add(A=2, B=3)

    def raw_fresh():
        for _ in range(CALLS):
            raw.fresh_call()

    def builds(values):
        def package():
            quorvex.Tuple(values).close()

        def ctypes_only():
            raw.free(raw.build(values))
        return package, ctypes_only

    def reads(values):
        made = quorvex.Tuple(values)
        handle = ctypes.c_void_p(made.handle)
        assert made.to_list() == values and raw.read(handle) == values
        return made.to_list, lambda: raw.read(handle)

    assert raw.reused_call() == [5] and raw.fresh_call() == add(A=2, B=3) == {"Sum": [5]}
    rows = [("reused call (add.hdvp)", "us/call", package_reused, raw_reused, CALLS),
            ("fresh call object (add.hdvp)", "us/call", package_call_object, raw_fresh, CALLS),
            ("Procedure.__call__ (add.hdvp)", "us/call", package_fresh, raw_fresh, CALLS),
            ("build 10,000 integers", "us/element", *builds(ints), ELEMENTS),
            ("build 10,000 mixed", "us/element", *builds(mixed), ELEMENTS),
            ("read 10,000 integers", "us/element", *reads(ints), ELEMENTS),
            ("read 10,000 mixed", "us/element", *reads(mixed), ELEMENTS)]
    samples = {name: ([], []) for name, *_ in rows}
    for _ in range(args.repetitions):
        for name, _, package, plain, count in rows:
            samples[name][0].append(timed(package, count))
            samples[name][1].append(timed(plain, count))

    print(f"medians of {args.repetitions} interleaved repetitions; load average "
          f"{os.getloadavg()[0]:.1f}")
    print("| measure | package | raw ctypes | ratio |")
    print("|---|---|---|---|")
    for name, unit, *_ in rows:
        package, plain = (statistics.median(s) * 1e6 for s in samples[name])
        print(f"| {name}, {unit} | {package:.2f} | {plain:.2f} | {package / plain:.2f} |")


if __name__ == "__main__":
    main()
