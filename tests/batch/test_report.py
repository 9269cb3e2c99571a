"""The batch report as a person sees it: the page of quorvex-run --report and of
quorvex.report.write, opened in headless Chromium from the file system."""
import html.parser
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
EXAMPLE = os.path.join(os.environ["QUORVEX_EXAMPLES"], "inspection")
SHOTS = os.environ.get("QUORVEX_REPORT_SHOTS")  # else the test's own folder
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [os.path.join(ROOT, "python"), EXAMPLE]

import make_batch  # noqa: E402
import quorvex  # noqa: E402
import quorvex.report  # noqa: E402

CHROMIUM = next(filter(None, map(shutil.which, ("chromium", "chromium-browser"))), None)
COUNT = 6
ODD_NAME = "o'd\"d <b id=\"injected\">&amp; Größe"  # as a file name and as an output
RECORD = ["kind", "procName", "progLineName", "errorCode", "progLineNum", "message", "errorText"]


def chromium(url, *arguments):
    # The sanitizer build preloads its runtime into the suite's processes; the browser is
    # none of ours and must start without it.
    environment = {key: value for key, value in os.environ.items()
                   if key not in ("LD_PRELOAD", "ASAN_OPTIONS", "UBSAN_OPTIONS")}
    return subprocess.run(
        [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--hide-scrollbars", "--virtual-time-budget=10000",
         f"--user-data-dir={os.path.join(FOLDER.name, 'profile')}", *arguments, url],
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=120, check=True,
        env=environment)


class Page(html.parser.HTMLParser):
    """The rows the page drew: each with its class, its cells' texts and its pictures."""

    def __init__(self, text):
        super().__init__()
        self.rows, self.cell, self.injected, self.shown = [], None, False, None
        self._in_body, self._shown = False, False
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if attrs.get("id") == "injected":
            self.injected = True
        if tag == "tbody":
            self._in_body = True
        elif self._in_body and tag == "tr":
            self.rows.append({"class": attrs.get("class"), "cells": [], "pictures": []})
        elif self._in_body and tag == "td":
            self.cell = ""
        elif self._in_body and tag == "img":
            self.rows[-1]["pictures"].append(attrs)
        self._shown = attrs.get("id") == "shown"

    def handle_endtag(self, tag):
        self._shown = False
        if tag == "tbody":
            self._in_body = False
        elif self._in_body and tag == "td":
            self.rows[-1]["cells"].append(self.cell)
            self.cell = None

    def handle_data(self, data):
        if self._shown:
            self.shown = data
        if self.cell is not None:
            self.cell += data


def setUpModule():
    global FOLDER, IMAGES
    FOLDER = tempfile.TemporaryDirectory()
    IMAGES = os.path.join(FOLDER.name, "images")
    make_batch.write(IMAGES, COUNT)
    shutil.copy(os.path.join(IMAGES, make_batch.file_name(0)),
                os.path.join(IMAGES, ODD_NAME + ".png"))


def tearDownModule():
    FOLDER.cleanup()


def run_batch(report):
    return subprocess.run(
        [RUNNER, "--procedure", "inspect_parts", "--path", EXAMPLE, "--in", "ImagePath={}",
         "--in", "MinGray=128", "--in", "MaxGray=255", "--jobs", "2",
         "--batch", os.path.join(IMAGES, "*.png"), "--out", report + ".jsonl",
         "--report", report], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
        timeout=120)


@unittest.skipUnless(CHROMIUM, "headless Chromium is missing: apt-get install chromium "
                               "(scripts/bootstrap installs it)")
class ReportInChromiumTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.report = os.path.join(FOLDER.name, "report")
        cls.result = run_batch(cls.report)
        cls.page = os.path.join(cls.report, "index.html")

    def test_the_runner_names_the_page_and_every_file_has_its_row(self):
        self.assertEqual(self.result.returncode, 1, self.result.stderr)
        self.assertIn(f"report: {self.page}", self.result.stderr)
        page = Page(chromium("file://" + self.page, "--dump-dom").stdout)
        files = sorted(os.path.join(IMAGES, name) for name in os.listdir(IMAGES))
        self.assertEqual([row["cells"][1] for row in page.rows], files)
        self.assertEqual(page.shown, f"{COUNT + 1} of {COUNT + 1} files")
        self.assertFalse(page.injected)
        loaded = [p for row in page.rows for p in row["pictures"] if p.get("data-loaded") == "1"]
        self.assertGreaterEqual(len(loaded), 1)
        self.assertTrue(all(p.get("loading") == "lazy" for row in page.rows
                            for p in row["pictures"]))

    def test_the_failure_filter_shows_exactly_the_unreadable_file_with_its_record(self):
        page = Page(chromium("file://" + self.page + "#failures=1", "--dump-dom").stdout)
        self.assertEqual(len(page.rows), 1)
        row = page.rows[0]
        self.assertEqual(row["class"], "error")
        self.assertEqual(row["cells"][1:3], [os.path.join(IMAGES, make_batch.file_name(
            make_batch.UNREADABLE)), "error"])
        record = row["cells"][-1]
        for field in ["inspect_parts", "read_image", "5202", "Unsupported or corrupt image file"]:
            self.assertIn(field, record)
        for name in RECORD:
            self.assertIn(name, record)
        self.assertEqual(row["pictures"], [])

    def test_a_text_filter_finds_the_odd_name_shown_as_text(self):
        page = Page(chromium("file://" + self.page + "#q=gr%C3%B6%C3%9Fe", "--dump-dom").stdout)
        self.assertEqual([row["cells"][1] for row in page.rows],
                         [os.path.join(IMAGES, ODD_NAME + ".png")])
        self.assertFalse(page.injected)
        self.assertEqual(page.rows[0]["pictures"][0].get("data-loaded"), "1")

    def test_a_screenshot(self):
        shots = SHOTS or os.path.join(FOLDER.name, "shots")
        shot = os.path.join(shots, "report.png")
        os.makedirs(shots, exist_ok=True)
        chromium("file://" + self.page, "--window-size=1400,1000", f"--screenshot={shot}")
        with open(shot, "rb") as file:
            self.assertEqual(file.read(8), b"\x89PNG\r\n\x1a\n")


@unittest.skipUnless(CHROMIUM, "headless Chromium is missing: apt-get install chromium "
                               "(scripts/bootstrap installs it)")
class PackageReportTest(unittest.TestCase):
    def test_outputs_holding_markup_and_very_long_texts_are_shown_as_text(self):
        long_text = "x<" * 50000
        rows = [(ODD_NAME, {"Name": [ODD_NAME], "Long": [long_text], "Count": [1]}),
                ("b</script><script>document.title='x'</script>",
                 {"Name": ["\u2028</script>"], "Long": ["&lt;"], "Count": [2]}),
                ("c", quorvex.report.Failure([2, "p<", "&", 1, 2, "</script>", None]))]
        folder = os.path.join(FOLDER.name, "odd")
        page_path = quorvex.report.write(folder, rows, title="<b id=\"injected\">t</b>")
        page = Page(chromium("file://" + page_path, "--dump-dom").stdout)
        self.assertFalse(page.injected)
        self.assertEqual([row["cells"][1] for row in page.rows], [row[0] for row in rows])
        self.assertEqual(page.rows[0]["cells"][4:7], [ODD_NAME, long_text, "1"])
        self.assertEqual(page.rows[1]["cells"][4], "\u2028</script>")
        self.assertIn("</script>", page.rows[2]["cells"][-1])

    def test_the_package_writes_the_runners_page(self):
        with open(quorvex.report.PAGE, encoding="utf-8") as file:
            template = file.read()
        head = template.split("@QUORVEX_REPORT_DATA@")[0]
        report = os.path.join(FOLDER.name, "same")
        run_batch(report)
        with open(os.path.join(report, "index.html"), encoding="utf-8") as file:
            self.assertTrue(file.read().startswith(head))


if __name__ == "__main__":
    unittest.main()
