#!/usr/bin/env python3
"""One round trip of add.hdvp from Python, a call made and freed each time: through the
quorvex package's call object (MODE object), through ``Procedure.__call__`` (call), or
through ctypes alone with the exports declared as quorvex.h declares them (ctypes). Prints
the median nanoseconds per round trip of ROUNDS rounds of CALLS each, after whole rounds
run for WARMUP_MS milliseconds, as the other languages' programs beside it do.

Usage: py_call_overhead.py PROCEDURE_DIR [CALLS [ROUNDS [MODE [WARMUP_MS]]]]
"""
import ctypes
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "python"))
import quorvex  # noqa: E402


def main():
    folder = sys.argv[1]
    calls = int(sys.argv[2]) if len(sys.argv) > 2 else 20000
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    mode = sys.argv[4] if len(sys.argv) > 4 else "object"
    warmup = float(sys.argv[5]) * 1e6 if len(sys.argv) > 5 else 1e9
    library = quorvex.load()
    quorvex.init()
    quorvex.add_procedure_path(folder)
    add = quorvex.Procedure("add")

    if mode == "object":
        def trip(i):
            with add.create_call() as call:
                call.set_input("A", i)
                call.set_input("B", 1)
                call.execute()
                return call.get_output("Sum")[0]
    elif mode == "call":
        def trip(i):
            return add(A=i, B=1)["Sum"][0]
    else:
        lib = ctypes.CDLL(library.path)
        handle, out = ctypes.c_void_p, ctypes.POINTER(ctypes.c_void_p)
        for name, restype, argtypes in (
                ("hcreateProcedureCall", handle, [handle, out]),
                ("hfreeProcedureCall", None, [handle]),
                ("hcreateTuple", handle, [out]),
                ("happendTupleLong", None, [handle, ctypes.c_int32]),
                ("hfreeTuple", None, [handle]),
                ("hprocedurecallSetInputCtrlParamTuple", handle, [handle, ctypes.c_int32, handle]),
                ("hprocedurecallExecute", handle, [handle]),
                ("hprocedurecallGetOutputCtrlParamTuple", handle, [handle, ctypes.c_int32, out]),
                ("hgetTupleElemType", ctypes.c_int32, [handle, ctypes.c_int32]),
                ("hgetTupleElemLong", ctypes.c_int32, [handle, ctypes.c_int32]),
                ("hgetTupleElemDouble", ctypes.c_double, [handle, ctypes.c_int32])):
            function = getattr(lib, name)
            function.restype, function.argtypes = restype, argtypes
        procedure = ctypes.c_void_p(add.handle)

        def check(record):
            if record:
                raise RuntimeError("the library returned a record")

        def set_long(call, index, value):
            tuple_ = ctypes.c_void_p()
            check(lib.hcreateTuple(ctypes.byref(tuple_)))
            lib.happendTupleLong(tuple_, value)
            check(lib.hprocedurecallSetInputCtrlParamTuple(call, index, tuple_))
            lib.hfreeTuple(tuple_)

        def trip(i):
            call, total = ctypes.c_void_p(), ctypes.c_void_p()
            check(lib.hcreateProcedureCall(procedure, ctypes.byref(call)))
            set_long(call, 1, i)
            set_long(call, 2, 1)
            check(lib.hprocedurecallExecute(call))
            check(lib.hprocedurecallGetOutputCtrlParamTuple(call, 1, ctypes.byref(total)))
            value = lib.hgetTupleElemLong(total, 0) if lib.hgetTupleElemType(total, 0) == 1 else -1
            value += int(lib.hgetTupleElemDouble(total, 0)) * 0
            lib.hfreeTuple(total)
            lib.hfreeProcedureCall(call)
            return value

    total, start = 0, time.perf_counter_ns()
    while time.perf_counter_ns() - start < warmup:
        total += sum(trip(i) for i in range(calls))
    times = []
    for _ in range(rounds):
        start = time.perf_counter_ns()
        for i in range(calls):
            total += trip(i)
        times.append((time.perf_counter_ns() - start) / calls)
    print(f"{statistics.median(times):.1f} {total}")


if __name__ == "__main__":
    main()
