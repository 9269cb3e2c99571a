"""quorvex-run end to end: outputs, JSON, failures, usage, snapshots; and the example programs
of examples/programs, written the way inspection projects write HDevelop (acquisition loops,
exception handling, the error variable, global variables, standard procedures), run on a
generated folder of part images whose parts are known."""
import json
import os
import re
import statistics
import struct
import subprocess
import sys
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
LIBRARY = os.environ["QUORVEX_LIBRARY"]
DATA = os.environ["QUORVEX_TEST_DATA"]
PROCEDURES = os.path.join(DATA, "procedures")
PROGRAMS = os.path.join(os.environ["QUORVEX_EXAMPLES"], "programs")
sys.path.insert(0, os.path.join(os.environ["QUORVEX_EXAMPLES"], "inspection"))
import make_batch  # noqa: E402
import make_pins as pins  # noqa: E402
import make_rotated_parts as bars  # noqa: E402
import make_texture  # noqa: E402

COUNT = 6  # generated images; the fourth (index 3) is unreadable


def run(*arguments, cwd=None, env=None):
    return subprocess.run([RUNNER, "--library", LIBRARY, *arguments], capture_output=True,
                          text=True, timeout=120, cwd=cwd, env=env)


def png_size(path):
    with open(path, "rb") as handle:
        header = handle.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">II", header[16:24])


class OutputTest(unittest.TestCase):
    def test_outputs_one_line_each_or_as_json(self):
        program = os.path.join(DATA, "programs", "set_marker.hdev")
        for arguments, expected in (
                (("add", "A=2", "B=3"), "Sum: 5\n"), (("add", "A=a", "B=b"), "Sum: ab\n"),
                (("sum_to", "N=4"), "Total: 10\nSquares: [1, 4, 9, 16]\n")):
            inputs = [part for value in arguments[1:] for part in ("--in", value)]
            result = run("--procedure", arguments[0], "--path", PROCEDURES, *inputs)
            self.assertEqual((result.returncode, result.stdout), (0, expected), result.stderr)
        result = run("--procedure", "sum_to", "--path", PROCEDURES, "--in", "N=3", "--json")
        self.assertEqual(json.loads(result.stdout), {"Total": [6], "Squares": [1, 4, 9]})
        self.assertEqual(run(program).stdout, "", "a program runs quietly")


class WideIntegerTest(unittest.TestCase):
    """The engine's 64-bit integers, read through an interface that returns 32 bits."""

    def multiply_add(self, a, b, c, *options):
        return run("--procedure", "multiply_add", "--path", PROCEDURES, "--in", f"A={a}",
                   "--in", f"B={b}", "--in", f"C={c}", *options)

    def test_printed_exactly_up_to_2_to_the_53(self):
        rows = ((65536, 32768, 0, 2**31), (-65536, 32768, -1, -2**31 - 1),
                (2147483647, 1, 2147483647, 2**32 - 2), (67108864, 134217728, 0, 2**53),
                (-67108864, 134217728, 0, -2**53))
        for a, b, c, expected in rows:
            result = self.multiply_add(a, b, c)
            self.assertEqual((result.returncode, result.stdout), (0, f"Value: {expected}\n"),
                             result.stderr)
            result = self.multiply_add(a, b, c, "--json")
            self.assertEqual(json.loads(result.stdout), {"Value": [expected]})

    def test_beyond_2_to_the_53_fails_without_a_number(self):
        rows = ((67108864, 134217728, 1), (-67108864, 134217728, -1),
                (67108864, 134217728, 2), (2147483647, 2147483647, 0))
        for a, b, c in rows:
            result = self.multiply_add(a, b, c)
            self.assertEqual((result.returncode, result.stdout), (1, ""), (a, b, c))
            self.assertIn("output Value: element 0 is an integer beyond +-2^53", result.stderr)


class FailureTest(unittest.TestCase):
    def test_failing_procedure_prints_every_field(self):
        result = run("--procedure", "fail_at_line3", "--path", PROCEDURES)
        self.assertEqual(result.returncode, 1)
        for text in ("engine error 1301", "procedure: fail_at_line3", "line: 3 (get_system)",
                     "error text: Wrong value of control parameter 1", "kind: 2"):
            self.assertIn(text, result.stderr)

    def test_refusals_exit_with_their_code_and_say_why(self):
        rows = [(["--procedure", "add", "--path", PROCEDURES, "--in", "C=1"], 1,
                 "its inputs: A, B"),
                (["--library", "/nonexistent.so", "--procedure", "add"], 1,
                 "cannot load /nonexistent.so")]
        rows += [(arguments, 2, "usage: quorvex-run") for arguments in (
            [], ["--procedure"], ["--in", "x"], ["a.hdev", "--bogus"], ["a.hdev", "b.hdev"],
            ["a.hdev", "--procedure", "x"], ["--procedure", "x", "--in", "novalue"],
            ["--procedure", "x", "--in", "=3"], ["a.hdev", "--in", "A=1"],
            ["--procedure", "x", "--attribute", "a=[1, 2]"])]
        for arguments, code, text in rows:
            result = run(*arguments)
            self.assertEqual(result.returncode, code, arguments)
            self.assertIn(text, result.stderr)
        result = run("--help")
        self.assertEqual((result.returncode, result.stdout.split()[:2]),
                         (0, ["usage:", "quorvex-run"]))


class SnapshotTest(unittest.TestCase):
    def test_every_open_window_is_written_with_its_size(self):
        with tempfile.TemporaryDirectory() as folder:
            shots = os.path.join(folder, "shots")
            result = run("--procedure", "two_windows", "--path", PROCEDURES, "--logo",
                         "--snapshots", shots)
            self.assertEqual(result.returncode, 0, result.stderr)
            files = sorted(os.listdir(shots))
            self.assertEqual(len(files), 2, files)
            self.assertEqual(sorted(png_size(os.path.join(shots, f)) for f in files),
                             [(160, 100), (320, 200)])
            self.assertEqual(result.stderr.count("snapshot: "), 2)

    def test_default_window_and_verbose_messages(self):
        result = run("--procedure", "add", "--path", PROCEDURES, "--in", "A=1", "--in", "B=1",
                     "--default-window", "--verbose")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertRegex(result.stdout, r"^Opened default window with ID \d+\nSum: 2\n$")


def procedure_arguments(name, inputs):
    arguments = ["--procedure", name, "--path", PROGRAMS, "--json"]
    for key, value in inputs.items():
        arguments += ["--in", f"{key}={value}"]
    return arguments


def run_procedure(name, env=None, **inputs):
    result = run(*procedure_arguments(name, inputs), env=env)
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


class TextureProgramTest(unittest.TestCase):
    """texture_fft.hdvp through the batch runner on a generated weave with one flaw drawn at a
    known place, and on the same weave without it."""

    def test_the_flaw_is_found_where_it_was_drawn_and_nowhere_without_it(self):
        with tempfile.TemporaryDirectory() as scratch:
            outputs = run_procedure("texture_fft",
                                    ImageFile=make_texture.write(os.path.join(scratch, "w.pgm")))
            clean = run_procedure("texture_fft", ImageFile=make_texture.write(
                os.path.join(scratch, "clean.pgm"), flaw=False))
        self.assertEqual((clean["DefectArea"], clean["DefectRow"]), ([0], []))
        self.assertAlmostEqual(outputs["DefectRow"][0], make_texture.FLAW_ROW, delta=1)
        self.assertAlmostEqual(outputs["DefectColumn"][0], make_texture.FLAW_COLUMN, delta=1)
        # A disc of radius 8 covers about pi 8^2 = 201 pixels; the smoothing rounds its rim.
        self.assertGreater(outputs["DefectArea"][0], 100)
        self.assertLess(outputs["DefectArea"][0], 300)


def batch_with_report(cls, procedure, parameter, write):
    """Runs `procedure` of the example programs over the images `write(folder)` makes, one a
    file, with a report, on the test class: its scratch folder, paths, report, result, rows."""
    cls.scratch = tempfile.TemporaryDirectory()
    folder = os.path.join(cls.scratch.name, "images")
    cls.paths = write(folder)
    cls.report = os.path.join(cls.scratch.name, "report")
    cls.result = run("--procedure", procedure, "--path", PROGRAMS, "--batch",
                     os.path.join(folder, "*.png"), "--in", parameter + "={}",
                     "--report", cls.report, "--jobs", "2")
    cls.rows = [json.loads(line) for line in cls.result.stdout.splitlines()]


class AlignmentProgramTest(unittest.TestCase):
    """align_parts.hdvp on bars turned by known angles, one file each, through the batch
    runner with its report: the expected values are the generator's geometry."""

    ANGLES = (-35, 0, 20, 60, 89)

    @classmethod
    def setUpClass(cls):
        batch_with_report(cls, "align_parts", "ImageFiles", lambda f: bars.write(f, cls.ANGLES))

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_every_part_is_found_in_its_pose_and_brought_into_the_same_one(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual([row["file"] for row in self.rows], self.paths)
        for angle, row in zip(self.ANGLES, self.rows):
            with self.subTest(angle=angle):
                self.assertEqual(row["status"], "ok", row)
                self.assertAlmostEqual(row["Angles"][0], angle, delta=0.1)
                # The sides count pixels whose centres lie inside: length + 1 along the axis,
                # breadth + 1 across it, give or take one where the turned grid cuts a corner.
                self.assertAlmostEqual(row["Widths"][0], bars.LENGTH + 1, delta=1)
                self.assertAlmostEqual(row["Heights"][0], bars.BREADTH + 1, delta=1)
                self.assertAlmostEqual(row["HoleOffsets"][0], bars.HOLE_OFFSET, delta=1.5)

    def test_the_report_shows_each_file_with_its_aligned_window(self):
        with open(os.path.join(self.report, "index.html"), encoding="utf-8") as file:
            page = file.read()
        pictures = sorted(os.listdir(os.path.join(self.report, "pictures")))
        self.assertEqual(len(pictures), len(self.ANGLES), pictures)
        for path, picture in zip(self.paths, pictures):
            self.assertIn(os.path.basename(path), picture)
            self.assertIn(picture, page)
            self.assertEqual(png_size(os.path.join(self.report, "pictures", picture)),
                             (640, 480))


REPLAY = "QUORVEX_ACQUISITION_REPLAY"


def environment(**variables):
    env = {key: value for key, value in os.environ.items() if key != REPLAY}
    env.update(variables)
    return env


class MeasureCircleTest(unittest.TestCase):
    def test_sub_pixel_edges_give_the_parts_radius(self):
        # The disc of gen_circle with radius 40.5 about pixel (100, 120): its pixels' border
        # lies 40.5 from the centre to within the raster's half pixel.
        outputs = run_procedure("measure_circle", Row=100, Column=120, Radius=40.5)
        self.assertEqual(outputs["NumEdges"], [1])
        self.assertAlmostEqual(outputs["MeasuredRow"][0], 100, delta=0.1)
        self.assertAlmostEqual(outputs["MeasuredColumn"][0], 120, delta=0.1)
        self.assertAlmostEqual(outputs["MeasuredRadius"][0], 40.5, delta=0.5)


class MeasurePinsTest(unittest.TestCase):
    """measure_pins.hdvp on rows of pins of known width and pitch, one file each, through the
    batch runner with its report: each pin's sides lie half a pixel outside its first and last
    columns (measure_pairs, HALCON 11.0 reference: a pair is a dark-to-bright edge and the next
    bright-to-dark one), so the widths and pitches are the generator's own numbers."""

    @classmethod
    def setUpClass(cls):
        batch_with_report(cls, "measure_pins", "ImageFile", pins.write)

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_every_pin_is_gauged_to_its_width_and_pitch(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.assertEqual([row["file"] for row in self.rows], self.paths)
        for (width, pitch, count), row in zip(pins.PINS, self.rows):
            with self.subTest(width=width, pitch=pitch):
                self.assertEqual(row["status"], "ok", row)
                self.assertEqual(row["NumPins"], [count])
                self.assertEqual(len(row["PinWidths"]), count)
                for measured in row["PinWidths"]:
                    self.assertAlmostEqual(measured, width, delta=1e-6)
                self.assertEqual(len(row["Pitches"]), count - 1)
                for measured in row["Pitches"]:
                    self.assertAlmostEqual(measured, pitch, delta=1e-6)

    def test_the_report_shows_each_file_with_its_gauge(self):
        with open(os.path.join(self.report, "index.html"), encoding="utf-8") as file:
            page = file.read()
        self.assertIn("Pitches", page)
        pictures = sorted(os.listdir(os.path.join(self.report, "pictures")))
        self.assertEqual(len(pictures), len(pins.PINS), pictures)
        for path, picture in zip(self.paths, pictures):
            self.assertIn(os.path.basename(path), picture)


class CameraReplayTest(unittest.TestCase):
    """inspect_camera.hdvp, written for a GigE Vision camera, on frames replayed from a folder
    of three generated images (make_batch's first three, all readable)."""

    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        cls.folder = os.path.join(cls.scratch.name, "frames")
        make_batch.write(cls.folder, count=3)
        cls.counts = [len(make_batch.expected(index)) for index in range(3)]

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_frames_come_in_order_and_around_again(self):
        outputs = run_procedure("inspect_camera", env=environment(**{REPLAY: self.folder}),
                                NumGrabs=5, MinGray=128)
        self.assertEqual(outputs["Counts"], self.counts + self.counts[:2])
        self.assertEqual(outputs["Widths"], [640] * 5)
        self.assertEqual(outputs["Settings"], ["GigEVision2", "00305312ABCD", 3500.0])

    def test_without_the_variable_or_its_folder_the_camera_fails_to_open(self):
        missing = os.path.join(self.scratch.name, "no_such_folder")
        for env, texts in ((environment(), (
                "engine error 5302", "procedure: inspect_camera", "(open_framegrabber)",
                "error text: Image acquisition: interface not found")),
                (environment(**{REPLAY: missing}), ("engine error 5200",))):
            result = run(*procedure_arguments("inspect_camera", {"NumGrabs": 1, "MinGray": 128}),
                         env=env)
            self.assertEqual(result.returncode, 1, result.stdout)
            for text in texts:
                self.assertIn(text, result.stderr)


if __name__ == "__main__":
    unittest.main()
