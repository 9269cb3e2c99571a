"""The display operators from a ctypes caller, logo on: part fitting, the logo blended into
the window by the exact per-pixel rule, fullscreen on a second monitor, the default window."""
import ctypes
import os
import re
import unittest

import quorvex_abi
import snippets

LIB = quorvex_abi.load()
ROOT = os.path.dirname(os.path.dirname(os.environ["QUORVEX_TEST_DATA"]))
WIDTH, HEIGHT = 128, 55


def embedded_planes():
    """The logo's four planes, read from the library's generated source."""
    with open(os.path.join(ROOT, "render", "logo_planes.cc"), encoding="utf-8") as handle:
        source = handle.read()
    planes = {}
    for name in ("Red", "Green", "Blue", "Alpha"):
        body = re.search(r"logoPlane%s\[logoPixels\] = \{([^}]*)\}" % name, source).group(1)
        planes[name] = [int(value) for value in body.replace("\n", " ").split(",") if value.strip()]
        assert len(planes[name]) == WIDTH * HEIGHT
    return planes


def close_all_windows():
    snippets.run(LIB, ["dev_get_window (W)", "while (W # -1)", "dev_close_window ()",
                       "dev_get_window (W)", "endwhile"])


def setUpModule():
    error = LIB.hinit(1)
    if error:
        raise RuntimeError(quorvex_abi.describe(error))


class LogoAndPartTest(unittest.TestCase):
    def tearDown(self):
        close_all_windows()

    def test_large_image_fills_the_window_and_the_logo_is_blended(self):
        planes = embedded_planes()
        alpha = planes["Alpha"]
        # Logo pixels of every kind of alpha: fully transparent, fully opaque, in between.
        chosen = [next(i for i, a in enumerate(alpha) if a == 0),
                  next(i for i, a in enumerate(alpha) if a == 255),
                  next(i for i, a in enumerate(alpha) if 0 < a < 255),
                  27 * WIDTH + 64]
        corners = [(10, 10), (10, 502), (415, 502), (415, 10)]
        rows = [top + i // WIDTH for top, _ in corners for i in chosen] + [0, 240, 479]
        columns = [left + i % WIDTH for _, left in corners for i in chosen] + [0, 320, 639]
        result = snippets.run(LIB, [
            "dev_open_window (0, 0, 640, 480, 'black', W)",
            "gen_image_const (Image, 'byte', 1024, 768)",
            "gen_rectangle1 (Whole, 0, 0, 767, 1023)",
            "paint_region (Whole, Image, Image, 200, 'fill')",
            "dev_display (Image)",
            "get_part (W, Row1, Column1, Row2, Column2)",
            "dump_window_image (Dump, W)",
            f"get_grayval (Dump, {rows}, {columns}, Values)",
        ], ("Row1", "Column1", "Row2", "Column2", "Values"))
        self.assertEqual([result[k][0] for k in ("Row1", "Column1", "Row2", "Column2")],
                         [0, 0, 767, 1023])

        def blend(logo, window, a):
            return (logo * a + window * (255 - a)) // 256

        expected = []
        for _ in corners:
            for i in chosen:
                expected += [blend(planes[c][i], 200, alpha[i]) for c in ("Red", "Green", "Blue")]
        expected += [blend(0, 200, 0)] * 9
        self.assertEqual([int(v) for v in result["Values"]], expected)


class FullscreenTest(unittest.TestCase):
    def setUp(self):
        snippets.run(LIB, ["set_system ('standin_monitors', [0, 0, 1920, 1080, 1920, 0, 3840, 1080])"])

    def tearDown(self):
        LIB.hsetFullscreen(0)
        snippets.run(LIB, ["set_system ('standin_monitors', [0, 0, 1920, 1080])"])
        close_all_windows()

    def test_window_opened_at_column_2000_covers_the_second_monitor(self):
        self.assertEqual(LIB.hsetFullscreen(1), 0)
        result = snippets.run(LIB, [
            "dev_open_window (50, 2000, 640, 480, 'black', W)",
            "get_window_extents (W, Row, Column, Width, Height)",
        ], ("Row", "Column", "Width", "Height"))
        self.assertEqual([result[k][0] for k in ("Row", "Column", "Width", "Height")],
                         [0, 1920, 1920, 1080])


class DefaultWindowTest(unittest.TestCase):
    def setUp(self):
        self.out, self.err = [], []
        self.handlers = (quorvex_abi.MessageHandler(self.out.append),
                         quorvex_abi.MessageHandler(self.err.append))
        LIB.hsetStdOutHandler(self.handlers[0])
        LIB.hsetStdErrHandler(self.handlers[1])
        LIB.hsetVerbosity(1)

    def tearDown(self):
        LIB.hsetVerbosity(0)
        LIB.hsetStdOutHandler(quorvex_abi.MessageHandler())
        LIB.hsetStdErrHandler(quorvex_abi.MessageHandler())
        close_all_windows()

    def test_one_identification_line(self):
        self.assertFalse(LIB.hopenDefaultWindow())
        active = snippets.run(LIB, ["dev_get_window (W)"], ("W",))["W"][0]
        self.assertEqual(self.out, [f"Opened default window with ID {active}".encode()])
        self.assertEqual(self.err, [])

    def test_refused_opening_is_a_line_and_no_record(self):
        snippets.run(LIB, ["set_system ('standin_fail', ['OpenWindow', 5112])"])
        self.assertFalse(LIB.hopenDefaultWindow())
        self.assertEqual(self.err, [b"Opened default window failed: error 5112"])
        self.assertEqual(self.out, [b"Opened default window with ID []"])


if __name__ == "__main__":
    unittest.main()
