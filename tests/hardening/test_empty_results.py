"""set_system ('no_object_result' | 'empty_region_result', ...) as a program sees them, run by
quorvex-run. Expected values come from the HALCON 11.0 reference: set_system (the values and
what each makes an operator do), smallest_rectangle2, smallest_circle and area_center (an empty
region measures 0 unless set_system says otherwise), worked by hand for the rectangle below."""

import json
import math
import os
import subprocess
import tempfile
import unittest

RUNNER = os.environ["QUORVEX_RUN"]
# gen_rectangle1 (R, 0, 0, 2, 4): pixel centres from (0, 0) to (2, 4). Its smallest circle
# passes through opposite corners: centre (1, 2), radius sqrt(1 + 4); its smallest rectangle
# is itself: centre (1, 2), phi 0, half lengths 2 and 1.
# Gray is 100 on the box, so its intensity is mean 100, deviation 0; Nothing is what a
# threshold finds where no pixel qualifies: one empty region.
SETUP = ["gen_empty_obj (NoObjects)", "gen_empty_region (Empty)",
         "gen_rectangle1 (Box, 0, 0, 2, 4)", "concat_obj (Box, Empty, BoxThenEmpty)",
         "gen_image_const (Black, 'byte', 8, 8)", "paint_region (Box, Black, Gray, 100, 'fill')",
         "threshold (Black, Nothing, 1, 255)"]
# Every feature region_features (11.0) lists that the stand-in computes: of an empty region
# each is 0, "most shape features are undefined (0)" (gen_empty_region, 11.0).
FEATURES = ["area", "row", "column", "width", "height", "ratio", "row1", "column1", "row2",
            "column2", "circularity", "compactness", "contlength", "convexity",
            "rectangularity", "ra", "rb", "phi", "anisometry", "bulkiness", "struct_factor",
            "outer_radius", "inner_radius", "dist_mean", "dist_deviation", "roundness",
            "connect_num", "holes_num", "area_holes", "euler_number", "max_diameter",
            "orientation", "rect2_phi", "rect2_len1", "rect2_len2"]


def run(lines, outputs, inputs=None):
    """The procedure's outputs by name, or the error code its first failing line raised."""
    inputs = inputs or {}
    body = SETUP + [f"{name} := [{', '.join(repr(v) for v in values)}]"
                    for name, values in inputs.items()] + ["try"] + lines + ["Code := 2", "catch (Exception)",
                                      "dev_get_exception_data (Exception, 'error_code', Code)",
                                      "endtry"]
    pars = "".join(f'<par name="{n}" base_type="ctrl" dimension="0"/>\n'
                   for n in outputs + ["Code"])
    text = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<hdevelop file_version="1.0" halcon_version="11.0">\n<procedure name="probe">\n'
            f"<interface>\n<oc>\n{pars}</oc>\n</interface>\n<body>\n"
            + "".join(f"<l>{line}</l>\n" for line in body + ["return ()"])
            + "</body>\n</procedure>\n</hdevelop>\n")
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "probe.hdvp"), "w", encoding="utf-8") as f:
            f.write(text)
        done = subprocess.run([RUNNER, "--procedure", "probe", "--path", folder, "--json"],
                              capture_output=True, text=True, timeout=60)
    if done.returncode != 0:
        raise AssertionError(done.stdout + done.stderr)
    return json.loads(done.stdout)


class EmptyRegionResultTest(unittest.TestCase):
    def test_each_value_decides_what_an_empty_region_gives(self):
        # (value, line, output, expected): 'true' measures 0 (smallest_circle, 11.0); the
        # results FALSE, FAIL and VOID end the operator with nothing computed; 'exception'
        # raises (set_system, 11.0).
        root5 = math.sqrt(5)
        rows = [
            ("true", "smallest_circle (Empty, R, C, Radius)", "Radius", [0.0]),
            ("true", "smallest_circle (BoxThenEmpty, R, C, Radius)", "Radius", [root5, 0.0]),
            ("true", "smallest_rectangle2 (BoxThenEmpty, R, C, P, L1, L2)", "L1", [2.0, 0.0]),
            ("true", "smallest_rectangle2 (BoxThenEmpty, R, C, P, L1, L2)", "L2", [1.0, 0.0]),
            ("true", "area_center (BoxThenEmpty, Area, R, C)", "Area", [15, 0]),
            ("false", "smallest_circle (BoxThenEmpty, R, C, Radius)", "Radius", []),
            ("fail", "smallest_rectangle2 (BoxThenEmpty, R, C, P, L1, L2)", "L1", []),
            ("void", "area_center (BoxThenEmpty, Area, R, C)", "Area", []),
            ("void", "smallest_circle (Box, R, C, Radius)", "Radius", [root5]),
            # What a threshold that finds nothing gives is measured like any empty region.
            ("true", "smallest_rectangle2 (Nothing, R, C, P, L1, L2)", "L1", [0.0]),
            ("true", "smallest_circle (Nothing, R, C, Radius)", "Radius", [0.0]),
            # intensity (11.0): mean and deviation of the gray values inside each region.
            ("true", "intensity (BoxThenEmpty, Gray, Mean, Deviation)", "Mean", [100.0, 0.0]),
            ("void", "intensity (BoxThenEmpty, Gray, Mean, Deviation)", "Mean", []),
            ("void", "intensity (Box, Gray, Mean, Deviation)", "Mean", [100.0]),
        ]
        for value, line, output, expected in rows:
            with self.subTest(value=value, line=line):
                got = run([f"set_system ('empty_region_result', '{value}')", line,
                           f"Out := {output}"], ["Out"])
                self.assertEqual(got["Code"], [2])
                self.assertEqual(len(got["Out"]), len(expected))
                for a, b in zip(got["Out"], expected):
                    self.assertAlmostEqual(a, b, places=9)

    def test_every_feature_of_an_empty_region_is_0(self):
        got = run(["Values := []", "for I := 0 to |Features| - 1 by 1",
                   "region_features (Nothing, Features[I], V)", "Values := [Values, V]",
                   "endfor"], ["Values"], {"Features": FEATURES})
        self.assertEqual(got["Code"], [2])
        self.assertEqual(dict(zip(FEATURES, got["Values"])), {f: 0 for f in FEATURES})

    def test_exception_raises_for_an_empty_region_only(self):
        for line, code in [("smallest_circle (BoxThenEmpty, R, C, Radius)", 3040),
                           ("elliptic_axis (Empty, Ra, Rb, Phi)", 3040),
                           ("region_features (Empty, 'area', V)", 3040),
                           ("intensity (Nothing, Gray, Mean, Deviation)", 3040),
                           ("smallest_circle (Box, R, C, Radius)", 2)]:
            with self.subTest(line=line):
                got = run(["set_system ('empty_region_result', 'exception')", line], [])
                self.assertEqual(got["Code"], [code])

    def test_the_setting_reads_back_and_refuses_other_values(self):
        got = run(["get_system ('empty_region_result', Default)",
                   "set_system ('empty_region_result', 'fail')",
                   "get_system ('empty_region_result', Now)"], ["Default", "Now"])
        self.assertEqual((got["Default"], got["Now"]), (["true"], ["fail"]))
        for value, code in [("'maybe'", 1302), ("1", 1202), ("['true', 'false']", 1402)]:
            with self.subTest(value=value):
                got = run([f"set_system ('empty_region_result', {value})"], [])
                self.assertEqual(got["Code"], [code])


class NoObjectResultTest(unittest.TestCase):
    def test_each_value_decides_what_no_objects_give(self):
        # (value, line, code): 'true' and 'false' end with empty results, 'exception' raises
        # "wrong number of objects" for an input of no objects only (set_system, 11.0).
        area = "area_center (NoObjects, Area, R, C)"
        for value, line, code in [("true", area, 2), ("false", area, 2), ("exception", area, 1501),
                                  ("exception", "threshold (NoObjects, Region, 0, 255)", 1501),
                                  ("exception", "smallest_circle (NoObjects, R, C, Radius)", 1501),
                                  ("exception", "smallest_circle (Empty, R, C, Radius)", 2)]:
            with self.subTest(value=value, line=line):
                got = run([f"set_system ('no_object_result', '{value}')", "Area := []", line],
                          ["Area"])
                self.assertEqual(got["Code"], [code])
                if code == 2:
                    self.assertEqual(got["Area"], [])

    def test_the_setting_reads_back_and_refuses_other_values(self):
        got = run(["get_system ('no_object_result', Default)"], ["Default"])
        self.assertEqual(got["Default"], ["true"])
        for value, code in [("'void'", 1302), ("0", 1202)]:
            with self.subTest(value=value):
                got = run([f"set_system ('no_object_result', {value})"], [])
                self.assertEqual(got["Code"], [code])


if __name__ == "__main__":
    unittest.main()
