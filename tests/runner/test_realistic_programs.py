"""The example programs of examples/programs, written the way inspection projects write
HDevelop (acquisition loops, exception handling, the error variable, global variables,
standard procedures), run through quorvex-run on a generated folder of part images whose
parts are known."""
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
LIBRARY = os.environ["QUORVEX_LIBRARY"]
EXAMPLES = os.environ["QUORVEX_EXAMPLES"]
PROGRAMS = os.path.join(EXAMPLES, "programs")
sys.path.insert(0, os.path.join(EXAMPLES, "inspection"))
import make_batch  # noqa: E402

COUNT = 6  # the fourth image (index 3) is unreadable


def run(*arguments, cwd=None):
    result = subprocess.run([RUNNER, "--library", LIBRARY, *arguments], capture_output=True,
                            text=True, timeout=120, cwd=cwd)
    return result


def run_procedure(name, **inputs):
    arguments = ["--procedure", name, "--path", PROGRAMS, "--json"]
    for key, value in inputs.items():
        arguments += ["--in", f"{key}={value}"]
    result = run(*arguments)
    if result.returncode != 0:
        raise AssertionError(f"{name} failed:\n{result.stdout}{result.stderr}")
    return json.loads(result.stdout)


def hdevelop_list(values):
    return "[" + ", ".join("'" + value.replace("\\", "\\\\") + "'" for value in values) + "]"


class RealisticProgramsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        cls.folder = os.path.join(cls.scratch.name, "images")
        cls.paths = make_batch.write(cls.folder, count=COUNT)
        cls.areas = [make_batch.expected(index) for index in range(COUNT)]

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_acquisition_loop_counts_the_parts_of_every_grabbed_image(self):
        outputs = run_procedure("count_parts", ImageFolder=self.folder, MinGray=128)
        self.assertEqual(outputs["Counts"], [len(areas or []) for areas in self.areas])
        self.assertEqual(outputs["LargestAreas"], [max(areas or [0]) for areas in self.areas])

    def test_try_catch_reports_the_unreadable_file(self):
        outputs = run_procedure("check_files", ImageFolder=self.folder)
        self.assertEqual(outputs["Readable"], [COUNT - 1])
        self.assertEqual(outputs["Failures"], ["part_0003.png"])
        self.assertEqual(outputs["Report"], ["part_0003: 5202 in read_image"])

    def test_error_variable_and_switch_classify_files(self):
        names = [self.paths[0], self.paths[3], os.path.join(self.folder, "missing.png")]
        outputs = run_procedure("classify_files", FileNames=hdevelop_list(names))
        self.assertEqual(outputs["Status"], ["ok", "unreadable (5202)", "missing"])
        self.assertEqual(outputs["Widths"], [640])

    def test_global_variable_collects_areas_across_procedures(self):
        names = self.paths + [os.path.join(self.folder, "notes.txt")]
        outputs = run_procedure("part_statistics", FileNames=hdevelop_list(names))
        areas = [area for found in self.areas if found for area in found]
        summary = outputs["Summary"]
        self.assertEqual(summary[:2], [f"parts: {len(areas)}",
                                       f"mean area: {statistics.mean(areas):.1f}"])
        self.assertRegex(summary[3], r"^spread: \d+\.\d\d$")
        classes = [0, 0, 0]
        for area in areas:
            classes[min(max(len(str(area)) - 2, 0), 2)] += 1
        self.assertEqual(outputs["AreaClasses"], classes)

    def test_display_program_runs_with_the_standard_procedures(self):
        snapshots = os.path.join(self.scratch.name, "snapshots")
        result = run(os.path.join(PROGRAMS, "show_parts.hdev"), "--snapshots", snapshots,
                     cwd=self.scratch.name)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        pictures = os.listdir(snapshots)
        self.assertEqual(len(pictures), 1, pictures)
        self.assertTrue(re.match(r"window_\d+\.png$", pictures[0]), pictures)


if __name__ == "__main__":
    unittest.main()
