"""Procedures, programs and engine settings through the package, with the tests' data.

The display functions (init, set_fullscreen, open_default_window) are called in
test_package_handler_safety; what the library does with them is the C++ suites' job."""
import os
import unittest

from package_support import DATA, quorvex

PROGRAMS = os.path.join(DATA, "programs")


class CallTest(unittest.TestCase):
    def setUp(self):
        self.add = quorvex.Procedure("add")
        self.addCleanup(self.add.close)

    def test_parameter_names_of_the_four_groups_in_interface_order(self):
        with quorvex.Procedure("all_groups") as procedure:
            self.assertEqual(procedure.input_ctrl_names, ["Low", "High", "Mode"])
            self.assertEqual(procedure.output_ctrl_names, ["Area", "Row"])
            self.assertEqual(procedure.input_iconic_names, ["Image", "Mask"])
            self.assertEqual(procedure.output_iconic_names, ["Region"])

    def test_inputs_by_keyword_by_position_or_both(self):
        self.assertEqual(self.add(A=2, B=3), {"Sum": [5]})
        self.assertEqual(self.add(2, 0.5), {"Sum": [2.5]})
        self.assertEqual(self.add("n=", B=5), {"Sum": ["n=5"]})
        self.assertEqual(self.add.call(A=[1, 2], B=10), {"Sum": [11, 12]})

    def test_outputs_are_lists_and_empty_when_the_result_is(self):
        with quorvex.Procedure("sum_to") as sum_to:
            self.assertEqual(sum_to(N=4), {"Total": [10], "Squares": [1, 4, 9, 16]})
            self.assertEqual(sum_to(N=0), {"Total": [0], "Squares": []})

    def test_wrong_inputs_are_refused_before_the_call(self):
        for args, kwargs in (((1, 2, 3), {}), ((1,), {"A": 1}), ((), {"A": 1, "C": 2})):
            with self.subTest(args=args, kwargs=kwargs), self.assertRaises(TypeError):
                self.add(*args, **kwargs)

    def test_explicit_call_by_name_and_index(self):
        with self.add.create_call() as call:
            call.set_input("A", 40)
            call.set_input(2, 2)
            call.execute()
            self.assertEqual(call.get_output("Sum"), [42])
            self.assertEqual(call.get_output(1), [42])
            self.assertEqual(call.outputs(), {"Sum": [42]})
            with call.get_output_tuple("Sum") as owned:
                self.assertEqual(owned.to_python(), 42)
            # A call runs again with the inputs changed.
            call.set_input(b"B", 0.5)
            call.execute()
            self.assertEqual(call.get_output("Sum"), [40.5])

    def test_a_call_reused_many_times_keeps_its_inputs_apart(self):
        with self.add.create_call() as call:
            for a in range(50):
                call.set_input("A", a)
                call.set_input(2, [a, 0.5])
                call.execute()
                self.assertEqual(call.get_output("Sum"), [2 * a, a + 0.5])
                self.assertEqual(call.outputs(), {"Sum": [2 * a, a + 0.5]})

    def test_unknown_names_and_indices(self):
        with self.add.create_call() as call:
            with self.assertRaisesRegex(ValueError, "no control input 'C'.*A, B"):
                call.set_input("C", 1)
            with self.assertRaisesRegex(ValueError, "no control output 'A'"):
                call.get_output("A")
            with self.assertRaises(TypeError):
                call.set_input(True, 1)

    def test_a_tuple_input_is_copied_and_stays_the_callers(self):
        with quorvex.Tuple([1, 2]) as values, self.add.create_call() as call:
            call.set_input("A", values)
            call.set_input("B", values)
            values.append(3)
            call.execute()
            self.assertEqual(call.get_output("Sum"), [2, 4])
            self.assertEqual(values.to_list(), [1, 2, 3])


class WideIntegerTest(unittest.TestCase):
    """The engine's 64-bit integers, read through an interface that returns 32 bits."""

    def test_exact_up_to_2_to_the_53(self):
        rows = ((65536, 32768, 0, 2**31), (-65536, 32768, -1, -2**31 - 1),
                (2147483647, 1, 2147483647, 2**32 - 2), (67108864, 134217728, 0, 2**53),
                (-67108864, 134217728, 0, -2**53))
        with quorvex.Procedure("multiply_add") as multiply_add:
            for a, b, c, expected in rows:
                self.assertEqual(multiply_add(A=a, B=b, C=c)["Value"], [expected], (a, b, c))

    def test_beyond_2_to_the_53_is_refused(self):
        rows = ((67108864, 134217728, 1), (-67108864, 134217728, -1),
                (67108864, 134217728, 2), (2147483647, 2147483647, 0))
        with quorvex.Procedure("multiply_add") as multiply_add:
            for a, b, c in rows:
                with self.assertRaisesRegex(OverflowError, r"beyond \+-2\*\*53"):
                    multiply_add(A=a, B=b, C=c)


class ProgramAndSettingsTest(unittest.TestCase):
    def test_a_program_runs_its_main(self):
        with quorvex.Program(os.path.join(PROGRAMS, "set_marker.hdev")) as program:
            program.execute()
        self.assertEqual(quorvex.get_system("quorvex_test_marker"), 42)

    def test_get_system_gives_python_values(self):
        self.assertEqual(quorvex.get_system("width"), 512)

    def test_engine_attributes_by_type(self):
        quorvex.set_engine_attribute("call_depth_limit", 300)
        quorvex.set_engine_attribute("ignore_invalid_lines", "false")
        quorvex.set_engine_attribute(b"ignore_invalid_lines", b"false")
        quorvex.set_engine_attribute("call_depth_limit", 200)
        for value in (True, 1.5, None):
            with self.subTest(value=value), self.assertRaises(TypeError):
                quorvex.set_engine_attribute("call_depth_limit", value)
        with self.assertRaises(OverflowError):
            quorvex.set_engine_attribute("call_depth_limit", 2**32)


if __name__ == "__main__":
    unittest.main()
