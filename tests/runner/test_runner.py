"""quorvex-run end to end: outputs, JSON, failures, usage, snapshots."""
import json
import os
import struct
import subprocess
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
LIBRARY = os.environ["QUORVEX_LIBRARY"]
DATA = os.environ["QUORVEX_TEST_DATA"]
PROCEDURES = os.path.join(DATA, "procedures")


def run(*arguments):
    return subprocess.run([RUNNER, "--library", LIBRARY, *arguments], capture_output=True,
                          text=True, timeout=120)


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


if __name__ == "__main__":
    unittest.main()
