"""Programs and procedures from a ctypes caller, with the tests' procedure folder."""
import ctypes
import os
import unittest

import quorvex_abi

LIB = quorvex_abi.load()
DATA = os.environ["QUORVEX_TEST_DATA"]
LONG, STRING = 1, 4


def check(error):
    """Raises with every field of the record when an export failed."""
    if error:
        description = quorvex_abi.describe(error)
        LIB.hclearErrorMsg(error)
        raise AssertionError(description)


def new_tuple(*values):
    handle = quorvex_abi.Handle()
    check(LIB.hcreateTuple(ctypes.byref(handle)))
    for value in values:
        if isinstance(value, int):
            LIB.happendTupleLong(handle, value)
        elif isinstance(value, float):
            LIB.happendTupleDouble(handle, value)
        else:
            LIB.happendTupleString(handle, value.encode())
    return handle


def read_tuple(handle):
    values = []
    for index in range(LIB.hgetTupleLength(handle)):
        kind = LIB.hgetTupleElemType(handle, index)
        if kind == LONG:
            values.append(LIB.hgetTupleElemLong(handle, index))
        elif kind == STRING:
            address = LIB.hgetTupleElemString_TO_BE_FREED(handle, index)
            values.append(ctypes.string_at(address).decode())
            LIB.hfreeTupleElemString(address)
        else:
            values.append(LIB.hgetTupleElemDouble(handle, index))
    return values


class ProcedureTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        check(LIB.haddProcedurePath(os.path.join(DATA, "procedures").encode()))

    def load(self, name):
        procedure = quorvex_abi.Handle()
        check(LIB.hcreateProcedure(name.encode(), ctypes.byref(procedure)))
        self.addCleanup(LIB.hfreeProcedure, procedure)
        return procedure

    def call_of(self, procedure):
        call = quorvex_abi.Handle()
        check(LIB.hcreateProcedureCall(procedure, ctypes.byref(call)))
        self.addCleanup(LIB.hfreeProcedureCall, call)
        return call

    def run_add(self, call, a, b):
        for index, value in ((1, a), (2, b)):
            tuple_ = new_tuple(value)
            check(LIB.hprocedurecallSetInputCtrlParamTuple(call, index, tuple_))
            LIB.hfreeTuple(tuple_)
        check(LIB.hprocedurecallExecute(call))
        result = quorvex_abi.Handle()
        check(LIB.hprocedurecallGetOutputCtrlParamTuple(call, 1, ctypes.byref(result)))
        try:
            return read_tuple(result)
        finally:
            LIB.hfreeTuple(result)

    def test_parameters_of_add(self):
        add = self.load("add")
        count = ctypes.c_int32(-1)
        check(LIB.hprocedureGetInputCtrlParamCount(add, ctypes.byref(count)))
        self.assertEqual(count.value, 2)
        check(LIB.hprocedureGetOutputCtrlParamCount(add, ctypes.byref(count)))
        self.assertEqual(count.value, 1)
        check(LIB.hprocedureGetInputIconicParamCount(add, ctypes.byref(count)))
        self.assertEqual(count.value, 0)
        names = []
        for index in (1, 2):
            name = ctypes.c_char_p()
            check(LIB.hprocedureGetInputCtrlParamName(add, index, ctypes.byref(name)))
            names.append(name.value)
        name = ctypes.c_char_p()
        check(LIB.hprocedureGetOutputCtrlParamName(add, 1, ctypes.byref(name)))
        self.assertEqual(names + [name.value], [b"A", b"B", b"Sum"])

    def test_add_numbers_and_strings(self):
        call = self.call_of(self.load("add"))
        self.assertEqual(self.run_add(call, 2, 3), [5])
        self.assertEqual(self.run_add(call, "a", "b"), ["ab"])
        self.assertEqual(self.run_add(call, 0.5, 2), [2.5])

    def test_failing_line_gives_engine_record(self):
        call = self.call_of(self.load("fail_at_line3"))
        error = LIB.hprocedurecallExecute(call)
        self.assertTrue(error)
        record = error.contents
        try:
            self.assertEqual(record.kind, 2)
            self.assertEqual(record.procName, b"fail_at_line3")
            self.assertEqual(record.progLineName, b"get_system")
            self.assertEqual(record.progLineNum, 3)
            self.assertEqual(record.errorCode, 1301)
            self.assertEqual(record.errorText, b"Wrong value of control parameter 1")
        finally:
            LIB.hclearErrorMsg(error)

    def test_missing_program_gives_record_and_null_handle(self):
        program = quorvex_abi.Handle(1)
        error = LIB.hcreateProgram(os.path.join(DATA, "nothing.hdev").encode(),
                                   ctypes.byref(program))
        self.assertTrue(error)
        self.assertIsNone(program.value)
        LIB.hclearErrorMsg(error)

    def test_debug_server_refusal(self):
        for function in (LIB.hstartDebugServer, LIB.hstopDebugServer):
            error = function()
            self.assertTrue(error)
            record = error.contents
            self.assertEqual((record.kind, record.errorCode, record.progLineNum), (0, -1, -1))
            self.assertEqual(record.message, b"StartDebugServer is not available in HALCON 11.0")
            self.assertEqual((record.procName, record.progLineName, record.errorText),
                             (None, None, None))
            LIB.hclearErrorMsg(error)

    def test_procedure_arms_fault_for_next_tuple(self):
        call = self.call_of(self.load("arm_tuple_fault"))
        number = new_tuple(9999)
        check(LIB.hprocedurecallSetInputCtrlParamTuple(call, 1, number))
        LIB.hfreeTuple(number)
        check(LIB.hprocedurecallExecute(call))
        handle = quorvex_abi.Handle()
        error = LIB.hcreateTuple(ctypes.byref(handle))
        self.assertTrue(error)
        self.assertEqual((error.contents.kind, error.contents.errorCode), (1, 9999))
        self.assertIsNone(handle.value)
        LIB.hclearErrorMsg(error)

    def test_dimension_is_zero_even_for_null_procedure(self):
        dimension = ctypes.c_int32(5)
        self.assertEqual(LIB.hprocedureGetOutputIconicParamDimension(None, 3,
                                                                      ctypes.byref(dimension)), 0)
        self.assertEqual(dimension.value, 0)

    def test_integer_and_string_attributes(self):
        # The call-depth limit takes integers only: the text "5" is refused.
        check(LIB.hsetEngineAttributeInt(b"call_depth_limit", 5))
        check(LIB.hsetEngineAttributeInt(b"call_depth_limit", 200))
        for name, value in ((b"call_depth_limit", b"5"), (b"no_such_attribute", b"5")):
            error = LIB.hsetEngineAttribute(name, value)
            self.assertTrue(error)
            self.assertEqual(error.contents.kind, 2)
            LIB.hclearErrorMsg(error)
        check(LIB.hsetEngineAttribute(b"ignore_unresolved_procedures", b"false"))


if __name__ == "__main__":
    unittest.main()
