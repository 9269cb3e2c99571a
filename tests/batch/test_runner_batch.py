"""quorvex-run --batch end to end over generated images, one of them unreadable: the parts
inspection's rows, and the blob inspection's counts as the generator made them, the count
written in a box on each window."""
import csv
import json
import os
import pty
import subprocess
import sys
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
PROCEDURES = os.path.join(os.environ["QUORVEX_TEST_DATA"], "procedures")
EXAMPLE = os.path.join(os.environ["QUORVEX_EXAMPLES"], "inspection")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [EXAMPLE, os.path.join(ROOT, "tools", "logo")]

import make_batch  # noqa: E402
import pngio  # noqa: E402  the logo tools' reader, written apart from the stand-in's writer

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
                         [f"{i + 1}_part_{i:04d}.png" for i in range(make_batch.UNREADABLE)])

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


# A folder of empty files for the patterns; add(A={}, B='') gives each row its file.
TREE = ["img_00.png", "img_01.png", "img_03.png", "img_05.png", "img_0a.png", ".img_02.png",
        "notes.txt", "a" * 60 + "c", "sub/img_02.png", "sub/deep/img_04.png",
        ".hidden/img_06.png"]


def files_of(pattern, cwd):
    result = subprocess.run(
        [RUNNER, "--procedure", "add", "--path", PROCEDURES, "--in", "A={}", "--in", "B=''",
         "--batch", pattern, "--jobs", "1"],
        capture_output=True, text=True, timeout=120, cwd=cwd)
    return result, [json.loads(line)["file"] for line in result.stdout.splitlines()]


class FilePatternTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        for name in TREE:
            os.makedirs(os.path.dirname(os.path.join(self.root, name)), exist_ok=True)
            open(os.path.join(self.root, name), "w").close()

    def tearDown(self):
        self.folder.cleanup()

    def test_patterns_select_their_files_in_name_order(self):
        rows = (("img_0[0-3].png", ["img_00.png", "img_01.png", "img_03.png"]),
                ("img_0[!0-3].png", ["img_05.png", "img_0a.png"]),
                ("img_0?.png", ["img_00.png", "img_01.png", "img_03.png", "img_05.png",
                                "img_0a.png"]),
                ("**/img_0[2-4].png", ["img_03.png", "sub/deep/img_04.png", "sub/img_02.png"]),
                ("sub/**", ["sub/deep/img_04.png", "sub/img_02.png"]),
                ("*/img_*.png", ["sub/img_02.png"]),
                (".img_*", [".img_02.png"]),
                ("*a*a*a*a*a*a*a*a*a*a*a*a*c", ["a" * 60 + "c"]))
        for pattern, expected in rows:
            for prefix in ("", self.root + "/"):
                result, files = files_of(prefix + pattern, self.root)
                self.assertEqual(result.returncode, 0, (pattern, result.stderr))
                self.assertEqual(files, [prefix + name for name in expected], pattern)

    def test_no_match_and_an_empty_or_missing_list_exit_2(self):
        open(os.path.join(self.root, "empty.txt"), "w").close()
        rows = [(pattern, "no file matches " + pattern)
                for pattern in ("img_0[6-9].png", "*a*a*a*a*a*a*a*a*a*a*a*a*b", "nothing/**")]
        rows += [("@empty.txt", "no file listed in @empty.txt"),
                 ("@missing.txt", "cannot read the list of files missing.txt")]
        for argument, message in rows:
            result, files = files_of(argument, self.root)
            self.assertEqual((result.returncode, files), (2, []), argument)
            self.assertIn(message, result.stderr)

    def test_a_list_names_files_relative_to_its_folder_in_its_order(self):
        lists = os.path.join(self.root, "lists")
        os.makedirs(lists)
        with open(os.path.join(lists, "inputs.txt"), "w") as listing:
            listing.write(f"../sub/img_02.png\r\n\n  \n{self.root}/img_00.png\n../notes.txt\n")
        result, files = files_of("@lists/inputs.txt", self.root)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(files, ["lists/../sub/img_02.png", f"{self.root}/img_00.png",
                                 "lists/../notes.txt"])


BOX = (12, 12)  # the message's top-left corner, row and column, as the procedure places it


class InspectBlobsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.shots = os.path.join(FOLDER.name, "blob_shots")
        cls.result = subprocess.run(
            [RUNNER, "--procedure", "inspect_blobs", "--path", EXAMPLE, "--in", "ImagePath={}",
             "--in", "MinGray=128", "--in", "MinArea=20", "--jobs", "2",
             "--batch", os.path.join(IMAGES, "*.png"), "--snapshots", cls.shots],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
        cls.rows = [json.loads(line) for line in cls.result.stdout.splitlines()]

    def test_counts_and_areas_follow_the_generator(self):
        self.assertEqual(self.result.returncode, 1, self.result.stderr)  # the unreadable file
        self.assertEqual(len(self.rows), COUNT)
        for index, row in enumerate(self.rows):
            areas = make_batch.expected(index)
            if areas is None:
                self.assertEqual((row["status"], row["errorCode"]), ("error", 5202))
                self.assertEqual(row["progLineName"], "open_framegrabber")
                continue
            self.assertEqual(row["status"], "ok", row)
            self.assertEqual(row["Count"], [len(areas)], index)
            # Smoothing rounds the parts' corners off and fill_up closes their defects: each
            # area stays within a few percent of the drawn one.
            for got, drawn in zip(row["Areas"], areas):
                self.assertLess(abs(got - drawn), 0.05 * drawn + 10, (index, got, drawn))

    def test_each_window_shows_the_count_in_black_on_its_white_box(self):
        pictures = sorted(os.listdir(self.shots))
        self.assertEqual(len(pictures), COUNT - 1, pictures)
        for picture in pictures:
            width, height, rows = pngio.read_png(os.path.join(self.shots, picture))  # RGBA
            self.assertEqual((width, height), (make_batch.WIDTH, make_batch.HEIGHT))
            # Inside the box's first rows and columns: white box and black text, nothing else
            # being pure black or white in these images.
            box = [tuple(rows[r][c * 4:c * 4 + 3])
                   for r in range(BOX[0], BOX[0] + 14) for c in range(BOX[1], BOX[1] + 90)]
            self.assertGreater(box.count((255, 255, 255)), len(box) // 2, picture)
            self.assertGreater(box.count((0, 0, 0)), 20, picture)
            # Outside it, the scene: no text colour far below the box.
            below = [tuple(rows[r][c * 4:c * 4 + 3])
                     for r in range(BOX[0] + 40, BOX[0] + 44) for c in range(0, 200)]
            self.assertNotIn((255, 255, 255), below, picture)


class OperatorThreadsTest(unittest.TestCase):
    """Worker processes share out the cores among themselves: each runs its operators on one
    thread unless --operator-threads says otherwise; one job in the runner's own process keeps
    the engine's default, the processor's cores."""

    def thread_nums(self, *arguments):
        result = subprocess.run(
            [RUNNER, "--procedure", "operator_threads_for_file", "--path", PROCEDURES,
             "--in", "File={}", "--batch", os.path.join(IMAGES, "*.png"), *arguments],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        lines = [json.loads(line) for line in result.stdout.splitlines()]
        self.assertEqual(len(lines), COUNT)
        return [(line["ThreadNum"], line["Processors"]) for line in lines]

    def test_each_run_has_its_operator_threads(self):
        # None: the processor's cores.
        for arguments, expected in ((["--jobs", "2"], [1]), (["--jobs", "1"], None),
                                    (["--jobs", "1", "--operator-threads", "3"], [3]),
                                    (["--jobs", "2", "--operator-threads", "3"], [3])):
            for thread_num, processors in self.thread_nums(*arguments):
                self.assertEqual(thread_num, expected or processors, arguments)

    def test_operator_threads_need_jobs_in_processes(self):
        common = [RUNNER, "--procedure", "operator_threads_for_file", "--path", PROCEDURES,
                  "--operator-threads", "2"]
        pattern = os.path.join(IMAGES, "*.png")
        for command in (common + ["--in", "File=a"],
                        common + ["--in", "File={}", "--batch", pattern, "--threads"]):
            result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    text=True, timeout=60)
            self.assertEqual(result.returncode, 2, result.stderr)
            self.assertIn("--operator-threads", result.stderr)

if __name__ == "__main__":
    unittest.main()
