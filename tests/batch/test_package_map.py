"""Procedure.map over generated images: worker processes, input order, errors as values."""
import os
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXAMPLE = os.path.join(ROOT, "examples", "inspection")
sys.path[:0] = [os.path.join(ROOT, "python"), EXAMPLE]

import make_batch  # noqa: E402
import quorvex  # noqa: E402

COUNT = 10
MONITORS = ("tuples", "objects", "windows", "procedures", "procedure_calls")


def live():
    return [quorvex.get_system(f"standin_live_{kind}") for kind in MONITORS]


class MapTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        paths = make_batch.write(cls.folder.name, COUNT)
        cls.inputs = [{"ImagePath": path, "MinGray": 128, "MaxGray": 255} for path in paths]
        quorvex.load()
        quorvex.init()
        quorvex.add_procedure_path(EXAMPLE)  # replayed in the worker processes
        cls.procedure = quorvex.Procedure("inspect_parts")

    @classmethod
    def tearDownClass(cls):
        cls.procedure.close()
        cls.folder.cleanup()

    def test_every_way_gives_the_generators_areas_in_input_order(self):
        expected = [make_batch.expected(i) for i in range(COUNT)]
        for options in ({"jobs": 2}, {"jobs": 1}):
            seen = []
            results = list(self.procedure.map(
                self.inputs, progress=lambda done, total: seen.append((done, total)), **options))
            self.assertEqual([None if isinstance(r, quorvex.EngineError) else r["Areas"]
                              for r in results], expected, options)
            error = results[make_batch.UNREADABLE]
            self.assertEqual((error.error_code, error.line_name, error.line_number),
                             (5202, "read_image", 3))
            self.assertEqual(seen[-1], (COUNT, COUNT))
            self.assertEqual(seen, sorted(seen))

    def test_threads_for_a_procedure_without_windows(self):
        quorvex.add_procedure_path(os.path.join(ROOT, "tests", "data", "procedures"))
        with quorvex.Procedure("add") as add:
            sums = add.map(({"A": i, "B": 1} for i in range(50)), jobs=2, threads=True)
            self.assertEqual([outputs["Sum"] for outputs in sums], [[i + 1] for i in range(50)])

    def test_raise_errors_raises_at_the_failing_item(self):
        results = self.procedure.map(self.inputs, jobs=2, raise_errors=True)
        for _ in range(make_batch.UNREADABLE):
            self.assertIsInstance(next(results), dict)
        with self.assertRaises(quorvex.EngineError) as raised:
            next(results)
        self.assertEqual(raised.exception.error_code, 5202)

    def test_a_batch_in_this_process_leaves_no_object_behind(self):
        list(self.procedure.map(self.inputs[:1], jobs=1))  # the window the procedure keeps
        before = live()
        list(self.procedure.map(self.inputs * 5, jobs=1))
        self.assertEqual(live(), before)


if __name__ == "__main__":
    unittest.main()
