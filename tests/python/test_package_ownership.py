"""Handle ownership: nothing leaks, forgotten objects are released, parents outlive calls.

The stand-ins count their live objects (get_system ('standin_live_<kind>')): every check
compares those counts before and after, once the engine's caches are warm.
"""
import gc
import os
import unittest

from package_support import DATA, quorvex

KINDS = ("tuples", "procedures", "procedure_calls", "programs", "program_calls")
PROGRAM = os.path.join(DATA, "programs", "set_marker.hdev")


def live():
    """The live count of every kind of engine object (the query's own tuple included)."""
    gc.collect()
    return {kind: quorvex.get_system(f"standin_live_{kind}") for kind in KINDS}


def setUpModule():
    # Load every procedure used here once, so that the engine's cache is filled.
    for name in ("add", "fail_at_line3", "arm_tuple_fault", "arm_nth_fault"):
        quorvex.Procedure(name).close()
    # The program stores a system parameter: the store's tuple is there from now on.
    quorvex.Program(PROGRAM).execute()


class NoLeakTest(unittest.TestCase):
    """Every case leaves the live counts as it found them."""

    def setUp(self):
        self.before = live()

    def tearDown(self):
        self.assertEqual(live(), self.before)

    def test_many_convenience_calls(self):
        with quorvex.Procedure("add") as add:
            for i in range(100):
                self.assertEqual(add(A=i, B=[1, 2.5, 3])["Sum"], [i + 1, i + 2.5, i + 3])

    def test_failures_release_what_they_made(self):
        with quorvex.Procedure("fail_at_line3") as failing, \
                quorvex.Procedure("add") as add:
            for _ in range(20):
                with self.assertRaises(quorvex.EngineError):
                    failing()
                with self.assertRaises(quorvex.EngineError):
                    add(A=1)  # B unset
                with self.assertRaises(OverflowError):
                    add(A=1, B=[1, 2**33])
                with self.assertRaises(quorvex.EngineError):
                    quorvex.Procedure("no_such_procedure")
                with self.assertRaises(quorvex.EngineError):
                    quorvex.get_system("no_such_parameter")

    def test_forgotten_objects_are_released_when_collected(self):
        procedure = quorvex.Procedure("add")
        call = procedure.create_call()
        call.set_input("A", 1)
        tuple_ = quorvex.Tuple([1, 2, 3])
        program = quorvex.Program(PROGRAM)
        program_call = program.create_call()
        during = live()
        self.assertEqual({kind: during[kind] - self.before[kind] for kind in KINDS[1:]},
                         dict.fromkeys(KINDS[1:], 1))
        self.assertGreater(during["tuples"], self.before["tuples"])

    def test_closing_a_procedure_first_waits_for_its_calls(self):
        procedure = quorvex.Procedure("add")
        call = procedure.create_call()
        procedure.close()
        self.assertTrue(procedure.closed)
        for use in (procedure.create_call, lambda: procedure(A=1, B=2)):
            with self.assertRaisesRegex(ValueError, "closed"):
                use()
        self.assertEqual(live()["procedures"], self.before["procedures"] + 1)
        call.set_input("A", 1)
        call.set_input("B", 2)
        call.execute()
        self.assertEqual(call.outputs(), {"Sum": [3]})
        call.close()
        self.assertEqual(live(), self.before)
        for use in (lambda: call.set_input("A", 1), call.execute, lambda: call.get_output("Sum")):
            with self.assertRaisesRegex(ValueError, "closed"):
                use()

    def test_a_call_keeps_a_forgotten_procedure(self):
        call = quorvex.Procedure("add").create_call()
        gc.collect()
        self.assertEqual(live()["procedures"], self.before["procedures"] + 1)
        call.set_input("A", 1)
        call.set_input("B", 1)
        call.execute()

    def test_a_failing_tuple_creation_raises_and_leaves_nothing(self):
        # A procedure line arms a fault for the next tuple construction outside the engine.
        with quorvex.Procedure("arm_tuple_fault") as arm:
            arm(Number=9999)
        with self.assertRaises(quorvex.EngineError) as caught:
            quorvex.Tuple([1, 2])
        error = caught.exception
        self.assertEqual((error.kind, error.proc_name, error.error_code),
                         (quorvex.ErrorKind.OPERATOR, "HTuple", 9999))

    def test_a_refused_input_value_raises_and_leaves_nothing(self):
        # The second tuple construction from now on is the value's, after the input tuple's
        # own: the library drops the append silently, and the input must not go through
        # empty. Numbers take a shorter road than other values: both are covered.
        ways = {"call object": lambda add, value: add.create_call().set_input("A", value),
                "Procedure.__call__": lambda add, value: add(A=value, B=1)}
        with quorvex.Procedure("arm_nth_fault") as arm, \
                quorvex.Procedure("add") as add:
            for way, run in ways.items():
                for value in (5, 2.5, "x"):
                    with self.subTest(way=way, value=value):
                        arm(Operation="HTuple", Number=9999, N=2)
                        with self.assertRaisesRegex(quorvex.MessageError, "refused"):
                            run(add, value)


if __name__ == "__main__":
    unittest.main()
