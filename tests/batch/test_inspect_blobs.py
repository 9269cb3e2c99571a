"""The blob inspection example end to end: quorvex-run --batch over generated images with
snapshots; counts as the generator made them, the count written in a box on each window."""
import json
import os
import subprocess
import sys
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
EXAMPLE = os.path.join(os.environ["QUORVEX_EXAMPLES"], "inspection")
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [EXAMPLE, os.path.join(ROOT, "tools", "logo")]

import make_batch  # noqa: E402
import pngio  # noqa: E402  the logo tools' reader, written apart from the stand-in's writer

COUNT = 6
BOX = (12, 12)  # the message's top-left corner, row and column, as the procedure places it


class InspectBlobsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        images = os.path.join(cls.folder.name, "images")
        cls.shots = os.path.join(cls.folder.name, "shots")
        make_batch.write(images, COUNT)
        cls.result = subprocess.run(
            [RUNNER, "--procedure", "inspect_blobs", "--path", EXAMPLE, "--in", "ImagePath={}",
             "--in", "MinGray=128", "--in", "MinArea=20", "--jobs", "2",
             "--batch", os.path.join(images, "*.png"), "--snapshots", cls.shots],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=300)
        cls.rows = [json.loads(line) for line in cls.result.stdout.splitlines()]

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

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


if __name__ == "__main__":
    unittest.main()
