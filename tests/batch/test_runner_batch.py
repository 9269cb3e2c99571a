"""quorvex-run --batch end to end over generated images, one of them unreadable."""
import csv
import json
import os
import pty
import subprocess
import sys
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
EXAMPLE = os.path.join(os.environ["QUORVEX_EXAMPLES"], "inspection")
sys.path.insert(0, EXAMPLE)

import make_batch  # noqa: E402

COUNT = 8
RECORD = ["kind", "procName", "progLineName", "errorCode", "progLineNum", "message", "errorText"]
UNREADABLE_ROW = {"status": "error", "kind": "2", "procName": "inspect_parts",
                  "progLineName": "read_image", "errorCode": "5202", "progLineNum": "3",
                  "message": "HALCON error #5202: Unsupported or corrupt image file in operator "
                             "read_image", "errorText": "Unsupported or corrupt image file"}


def setUpModule():
    global FOLDER, IMAGES, READABLE
    FOLDER = tempfile.TemporaryDirectory()
    IMAGES = os.path.join(FOLDER.name, "images")
    READABLE = os.path.join(FOLDER.name, "readable")
    make_batch.write(IMAGES, COUNT)
    make_batch.write(READABLE, make_batch.UNREADABLE)  # the files before the unreadable one


def tearDownModule():
    FOLDER.cleanup()


def batch(*arguments, pattern="*.png", folder=None, stderr=subprocess.PIPE):
    return subprocess.run(
        [RUNNER, "--procedure", "inspect_parts", "--path", EXAMPLE, "--in", "ImagePath={}",
         "--in", "MinGray=128", "--in", "MaxGray=255",
         "--batch", os.path.join(folder or IMAGES, pattern), *arguments],
        stdout=subprocess.PIPE, stderr=stderr, text=True, timeout=120)


class BatchTest(unittest.TestCase):
    def test_csv_from_two_workers_in_file_order_with_the_unreadable_files_record(self):
        out = os.path.join(FOLDER.name, "results.csv")
        result = batch("--jobs", "2", "--out", out)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(f"{COUNT} of {COUNT} files, 1 failed", result.stderr)
        with open(out, newline="") as file:
            rows = list(csv.DictReader(file))
        self.assertEqual(list(rows[0]), ["file", "status", "seconds", "Areas", "Rows", "Columns",
                                         "Count"] + RECORD)
        self.assertEqual([row["file"] for row in rows],
                         [os.path.join(IMAGES, make_batch.file_name(i)) for i in range(COUNT)])
        for index, row in enumerate(rows):
            areas = make_batch.expected(index)
            if areas is None:
                self.assertEqual({k: row[k] for k in UNREADABLE_ROW}, UNREADABLE_ROW)
                self.assertEqual(row["Areas"], "")
            else:
                self.assertEqual((row["status"], row["kind"]), ("ok", ""))
                self.assertEqual(json.loads(row["Areas"]), areas)
                self.assertEqual(row["Count"], str(len(areas)))
        # The same rows as JSON lines from one job in the runner's own process.
        lines = [json.loads(line) for line in batch("--jobs", "1").stdout.splitlines()]
        self.assertEqual([line.get("Areas") for line in lines],
                         [make_batch.expected(i) for i in range(COUNT)])
        self.assertEqual(lines[make_batch.UNREADABLE]["errorCode"], 5202)
        self.assertNotIn("errorCode", lines[0])

    def test_fail_fast_stops_at_the_unreadable_file(self):
        result = batch("--jobs", "2", "--fail-fast")
        self.assertEqual(result.returncode, 1)
        statuses = [json.loads(line)["status"] for line in result.stdout.splitlines()]
        self.assertEqual(statuses, ["ok"] * make_batch.UNREADABLE + ["error"])

    def test_every_file_succeeding_exits_0_and_snapshots_are_named_after_the_files(self):
        shots = os.path.join(FOLDER.name, "shots")
        result = batch("--jobs", "2", "--snapshots", shots, folder=READABLE)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(name.rsplit("_", 1)[0] for name in os.listdir(shots)),
                         [f"part_{i:04d}" for i in range(make_batch.UNREADABLE)])

    def test_a_terminal_gets_a_progress_bar(self):
        reader, writer = pty.openpty()
        result = batch("--jobs", "2", stderr=writer)
        os.close(writer)
        seen = b""
        try:
            while chunk := os.read(reader, 4096):
                seen += chunk
        except OSError:  # the terminal's end
            pass
        os.close(reader)
        self.assertEqual(result.returncode, 1)
        self.assertRegex(seen.decode(), rf"\r\[#+\] {COUNT}/{COUNT}  [\d.]+ files/s  0:00 left")

    def test_bad_command_lines_exit_2(self):
        for arguments, message in (
                (["--threads", "--snapshots", FOLDER.name], "--snapshots needs worker processes"),
                (["--jobs", "0"], "--jobs needs a positive integer"),
                (["--json"], "no --json")):
            result = batch(*arguments)
            self.assertEqual(result.returncode, 2, arguments)
            self.assertIn(message, result.stderr)
        self.assertEqual(batch(pattern="*.nothing").returncode, 2)


if __name__ == "__main__":
    unittest.main()
