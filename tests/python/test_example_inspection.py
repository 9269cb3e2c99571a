"""The inspection example end to end: inspect.py's report of the committed image against the
generator's parts, and the program."""
import ast
import os
import re
import subprocess
import sys
import unittest

from package_support import ROOT

EXAMPLE = os.path.join(ROOT, "examples", "inspection")
sys.path.insert(0, EXAMPLE)

import make_sample_image  # noqa: E402


def run_inspect(*args):
    """(exit code, standard output, standard error) of inspect.py."""
    done = subprocess.run([sys.executable, os.path.join(EXAMPLE, "inspect.py"), *args],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          universal_newlines=True, timeout=300)
    return done.returncode, done.stdout, done.stderr


class InspectScriptTest(unittest.TestCase):
    def test_the_report_gives_every_part_of_the_image(self):
        code, out, err = run_inspect()
        self.assertEqual(code, 0, err)
        expected = make_sample_image.expected_parts()
        areas = [area for area, _, _ in expected]
        lines = out.splitlines()
        # The outputs as the C++ runner prints them.
        self.assertEqual(lines[0], "Areas: [" + ", ".join(map(str, areas)) + "]")
        self.assertEqual(lines[3], f"Count: {len(expected)}")
        rows, columns = (ast.literal_eval(line.split(": ")[1]) for line in lines[1:3])
        self.assertEqual(rows, [row for _, row, _ in expected])
        self.assertEqual(columns, [column for _, _, column in expected])
        # The table: one line per part, in the order of the outputs.
        table = [line.split() for line in lines if re.match(r"^\s+\d+\s+\d+\s", line)]
        self.assertEqual([(int(a), float(r), float(c)) for _, a, r, c in table], expected)
        self.assertEqual(lines[-1], f"total area: {sum(areas)} pixels")

    def test_a_missing_image_is_reported_with_the_failing_line(self):
        code, out, err = run_inspect("--image", os.path.join(EXAMPLE, "missing.png"))
        self.assertEqual(code, 1)
        self.assertIn("inspection failed", err)
        self.assertIn("read_image", err)
        self.assertIn("5200", err)

    def test_the_program_runs_its_main_with_the_external_procedure(self):
        code, out, err = run_inspect("--program")
        self.assertEqual(code, 0, err)
        self.assertIn("main ran to its end", out)


if __name__ == "__main__":
    unittest.main()
