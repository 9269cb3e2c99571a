"""What a batch of quorvex-run writes, whatever the files are called: each file's pictures
apart from every other file's and named alike from run to run, the report linking each row to
its own; JSON lines in UTF-8 for names in other encodings; CSV cells that a spreadsheet would
run as formulas written as text."""
import csv
import json
import os
import struct
import subprocess
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
PROCEDURES = os.path.join(os.environ["QUORVEX_TEST_DATA"], "procedures")


def run(folder, procedure, inputs, pattern, *arguments):
    """The runner over ``pattern`` in ``folder`` (names given relative to it)."""
    command = [RUNNER, "--procedure", procedure, "--path", PROCEDURES]
    for name, value in inputs:
        command += ["--in", f"{name}={value}"]
    return subprocess.run(command + ["--batch", pattern, *arguments], cwd=folder,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)


def report_rows(folder):
    with open(os.path.join(folder, "index.html"), "rb") as file:
        page = file.read().decode("utf-8")  # strictly
    return json.loads(page.split('id="report-data">')[1].split("</script>")[0])["rows"]


def png_width(path):
    with open(path, "rb") as file:
        header = file.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">I", header[16:20])[0]


class BatchOutputTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.folder = self.scratch.name

    def tearDown(self):
        self.scratch.cleanup()

    def files(self, *names):
        for name in names:
            path = os.path.join(os.fsencode(self.folder), os.fsencode(name))
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "w").close()

    def test_files_of_one_stem_keep_their_own_pictures(self):
        # window_per_file's window is 100 + 10 * (the name's length) wide.
        names = ["a.jpeg", "a.png", "sub/a b#%.png", "sub/a.png"]  # in name order
        self.files(*names)
        pictures = {}
        for jobs in ("2", "1"):
            report = os.path.join(self.folder, "report" + jobs)
            result = run(self.folder, "window_per_file", [("File", "{}"), ("Seconds", 0)],
                         "**/a*", "--jobs", jobs, "--report", report)
            self.assertEqual(result.returncode, 0, result.stderr)
            rows = report_rows(report)
            self.assertEqual([row[0] for row in rows], names)
            for row in rows:
                self.assertEqual(len(row[5]), 1, row)
                self.assertEqual(png_width(os.path.join(report, row[5][0])),
                                 100 + 10 * len(row[0]), row)
            written = sorted(os.listdir(os.path.join(report, "pictures")))
            self.assertEqual(len(written), len(names))
            self.assertEqual(sorted(os.path.basename(row[5][0]) for row in rows), written)
            # The file's part of the name, before the engine's window handle.
            pictures[jobs] = [name.rsplit("_", 1)[0] for name in written]
        self.assertEqual(pictures["1"], pictures["2"])  # a batch's names, however it ran
        self.assertEqual(pictures["1"], ["1_a.jpeg", "2_a.png", "3_a_b__.png", "4_a.png"])

    def test_json_lines_are_utf8_for_names_in_any_encoding(self):
        names = [b"\xff\xfeb.x", b"caf\xe9.x", "Größe.x".encode(), b"\xed\xa0\x80.x",
                 b"\xc0\xaf.x", b"\xf0\x9f\x98\x80.x"]
        expected = ["\ufffd\ufffdb.x", "caf\ufffd.x", "Größe.x", "\ufffd\ufffd\ufffd.x",
                    "\ufffd\ufffd.x", "\U0001F600.x"]
        self.files(*names)
        report = os.path.join(self.folder, "report")
        result = run(self.folder, "add", [("A", "{}"), ("B", "''")], "*.x", "--jobs", "1",
                     "--report", report)
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = [json.loads(line.decode("utf-8")) for line in result.stdout.splitlines()]
        order = sorted(range(len(names)), key=lambda i: names[i])  # the runner's name order
        self.assertEqual([line["file"] for line in lines], [expected[i] for i in order])
        self.assertEqual([line["Sum"] for line in lines], [[expected[i]] for i in order])
        self.assertEqual([row[0] for row in report_rows(report)], [expected[i] for i in order])

    def test_csv_cells_a_spreadsheet_would_run_are_text(self):
        names = ["=1+2.x", "+a.x", "-a.x", "@a.x", "a=b.x", "-5"]
        self.files(*names)
        out = os.path.join(self.folder, "out.csv")
        result = run(self.folder, "add", [("A", "{}"), ("B", "''")], "*", "--jobs", "1",
                     "--out", out)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(out, newline="") as file:
            rows = {row["file"]: row for row in csv.DictReader(file)}
        quoted = {"'=1+2.x", "'+a.x", "'-a.x", "'@a.x", "a=b.x", "-5"}
        self.assertEqual(set(rows), quoted)
        for cell, row in rows.items():
            self.assertEqual(row["Sum"], cell)
        with open(out) as file:
            self.assertIn("\n\"'=1+2.x\",ok,", file.read())


if __name__ == "__main__":
    unittest.main()
