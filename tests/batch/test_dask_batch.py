"""The Dask example on a local cluster of two worker processes gives the runner's CSV."""
import csv
import hashlib
import json
import os
import subprocess
import sys
import tempfile
import unittest

try:
    import distributed  # noqa: F401
except ImportError:
    print("distributed is not installed for", sys.executable, "- skipped")
    sys.exit(77)  # CTest's skip code for this test

EXAMPLES = os.environ["QUORVEX_EXAMPLES"]
sys.path.insert(0, os.path.join(EXAMPLES, "inspection"))

import make_batch  # noqa: E402


def rows_without_times(path):
    with open(path, newline="") as file:
        return [row[:2] + row[3:] for row in csv.reader(file)]


def report_without_times(folder):
    """The page's rows less their times, each picture by the file it shows and its bytes."""
    with open(os.path.join(folder, "index.html"), encoding="utf-8") as file:
        page = file.read()
    data = json.loads(page.split('id="report-data">')[1].split("</script>")[0])

    def picture(path):
        with open(os.path.join(folder, path), "rb") as shown:
            return path.rsplit("_", 1)[0], hashlib.sha256(shown.read()).hexdigest()
    return [row[:2] + row[3:5] + [[picture(p) for p in row[5]]] for row in data["rows"]]


class DaskTest(unittest.TestCase):
    def test_a_local_cluster_writes_the_runners_csv(self):
        with tempfile.TemporaryDirectory() as folder:
            make_batch.write(os.path.join(folder, "images"), 8)
            pattern = os.path.join(folder, "images", "*.png")
            runner = subprocess.run(
                [os.environ["QUORVEX_RUN"], "--procedure", "inspect_parts", "--path",
                 os.path.join(EXAMPLES, "inspection"), "--in", "ImagePath={}", "--in",
                 "MinGray=128", "--in", "MaxGray=255", "--batch", pattern, "--out",
                 os.path.join(folder, "runner.csv"), "--report", os.path.join(folder, "runner")],
                capture_output=True, text=True, timeout=120)
            dask = subprocess.run(
                [sys.executable, os.path.join(EXAMPLES, "batch", "dask_batch.py"), "--local", "2",
                 "--batch", pattern, "--out", os.path.join(folder, "dask.csv"),
                 "--report", os.path.join(folder, "dask")],
                capture_output=True, text=True, timeout=300)
            self.assertEqual((runner.returncode, dask.returncode), (1, 1), dask.stderr)
            self.assertIn("8 files, 1 failed", dask.stdout)
            expected = rows_without_times(os.path.join(folder, "runner.csv"))
            self.assertEqual(len(expected), 9)
            self.assertEqual(rows_without_times(os.path.join(folder, "dask.csv")), expected)
            # The same page, with the same pictures, whichever way the batch ran.
            pages = [report_without_times(os.path.join(folder, way)) for way in ("runner", "dask")]
            self.assertEqual(len(pages[0]), 8)
            self.assertEqual(pages[1], pages[0])


if __name__ == "__main__":
    unittest.main()
