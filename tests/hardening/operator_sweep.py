"""Every implemented operator of the engine stand-in called with awkward inputs, as a user's
procedure calls them, run by quorvex-run: each call must end normally or with an error record,
never with a crash, a sanitizer report or a hang.

The operators and their signatures come from `quorvex-run --operators`, so a new operator is
swept without a change here. Each input takes every value of its kind while the others keep a
neutral one, then a fixed number of random combinations (fixed seed) follow. The calls run in
batches, one procedure a process; a batch that does not end cleanly is halved until the single
call that fails it, which is reported with its line.
"""

import json
import os
import random
import re
import subprocess
import tempfile
import zlib
from concurrent.futures import ThreadPoolExecutor

LONG_TEXT = "'" + "long text " * 500 + "'"
# Awkward values of a control input; the texts are quoted HDevelop literals.
CONTROL_VALUES = ["[]", "0", "-1", "1000000000", "4611686018427387904", LONG_TEXT]
# Variables the setup lines below fill: no objects, an empty region, a 1x1 image, an image
# whose domain is empty, a small image, a disc, small images of the other pixel types (int2
# with a reduced domain, a real 1x1 image, uint2 of three channels, complex), a contour
# without points, a contour of one point and a closed contour.
ICONIC_VALUES = ["NoObjects", "EmptyRegion", "Pixel", "NoDomain", "Small", "Disc",
                 "SmallInt2", "PixelReal", "SmallUint2Rgb", "SmallComplex",
                 "NoPoints", "OnePoint", "Ring"]
SETUP = [
    "gen_empty_obj (NoObjects)",
    "gen_empty_region (EmptyRegion)",
    "gen_image_const (Pixel, 'byte', 1, 1)",
    "gen_circle (Disc, 6, 8, 4.5)",
    "gen_image_const (Blank, 'byte', 16, 12)",
    "paint_region (Disc, Blank, Small, 200, 'fill')",
    "reduce_domain (Small, EmptyRegion, NoDomain)",
    "convert_image_type (Small, WholeInt2, 'int2')",
    "scale_image (WholeInt2, WholeInt2, -300, 1000)",
    "reduce_domain (WholeInt2, Disc, SmallInt2)",
    "gen_image_const (PixelReal, 'real', 1, 1)",
    "set_grayval (PixelReal, 0, 0, -1e30)",
    "gen_image_const (Uint2, 'uint2', 16, 12)",
    "compose3 (Uint2, Uint2, Uint2, SmallUint2Rgb)",
    "gen_image_const (SmallComplex, 'complex', 16, 12)",
    "gen_contour_polygon_xld (NoPoints, [], [])",
    "gen_contour_polygon_xld (OnePoint, 5, 7)",
    "gen_circle_contour_xld (Ring, 6, 8, 4.5, 0, 6.28318, 'positive', 1)",
    "dev_open_window (0, 0, 64, 48, 'black', Window)",
    "open_file ('sweep.txt', 'output', File)",
    "gen_measure_rectangle2 (6, 8, 0.3, 6, 2, 16, 12, 'bilinear', Measure)",
    "Codes := []",
]
NEUTRAL_CONTROL = {"integer": "1", "number": "1", "real": "1.0", "string": "'true'",
                   "any": "1", "handle": "Window"}
# A text input some operators only act on when it names one of their choices: with these the
# call reaches the operator's work rather than its check of the name.
NEUTRAL_BY_PARAMETER = {
    "Features": "'area'", "Operation": "'and'", "LightDark": "'light'", "Order": "'true'",
    "Interpolation": "'bilinear'", "Method": "'max_separability'", "RowOrCol": "'row'",
    "SortMode": "'first_point'", "NewType": "'real'", "gen_image_const.Type": "'byte'",
    "paint_region.Type": "'fill'", "shape_trans.Type": "'convex'", "mirror_image.Mode": "'row'",
    "select_shape_std.Shape": "'max_area'", "FileHandle": "File",
    "smooth_image.Filter": "'gauss'", "dots_image.FilterType": "'light'", "dots_image.Diameter": "5",
    "texture_laws.FilterTypes": "'le'", "texture_laws.FilterSize": "5",
    "estimate_noise.Method": "'immerkaer'", "gray_projections.Mode": "'simple'",
    "Algorithm": "'huber'", "cooc_feature_image.Direction": "0",
    "PointOrder": "'positive'", "Resolution": "1", "Filter": "'canny'",
    "gen_contour_region_xld.Mode": "'border'", "gen_region_contour_xld.Mode": "'filled'",
    "segment_contours_xld.Mode": "'lines'", "union_adjacent_contours_xld.Mode": "'attr_keep'",
    "fit_line_contour_xld.Algorithm": "'tukey'", "fit_circle_contour_xld.Algorithm": "'geotukey'",
    "select_shape_xld.Features": "'contlength'", "NumRegrPoints": "3",
    "MaxNumPoints": "-1", "get_contour_attrib_xld.Name": "'response'",
    "affine_trans_contour_xld.HomMat2D": "[1, 0, 0, 0, 1, 0]",
    "MeasureHandle": "Measure", "measure_pos.Transition": "'all'",
    "measure_pairs.Transition": "'all'", "measure_pos.Select": "'all'",
    "measure_pairs.Select": "'all'", "measure_thresh.Select": "'all'",
    "fit_ellipse_contour_xld.Algorithm": "'geotukey'",
    "fit_rectangle2_contour_xld.Algorithm": "'tukey'", "dist_ellipse_contour_xld.Mode": "'bisec'",
    "DistanceMode": "'signed'", "moments_any_xld.Mode": "'central'",
    "moments_any_points_xld.Mode": "'central'", "shape_trans_xld.Type": "'ellipse'",
}
NEUTRAL_ICONIC = {"image": "Small", "region": "Disc", "object": "Disc", "xld": "Ring"}
RANDOM_CALLS = 6
BATCH = 250
SEED = 20261207

# Operators whose awkward inputs are outside what a stand-in can check: an address of raw
# memory is taken on trust, as the vendor takes it.
REFUSED = re.compile(r".*_extern$")


def parse_listing(text):
    """[(name, [[(type, name)] per group])] of the implemented operators."""
    operators = []
    for line in text.splitlines():
        match = re.match(r"implemented\s+(\w+) \((.*)\)\s*$", line)
        if not match or REFUSED.match(match.group(1)):
            continue
        groups = []
        for group in match.group(2).split(":"):
            params = [p.strip().split() for p in group.split(",") if p.strip()]
            groups.append([(p[0], p[-1]) for p in params])
        if len(groups) == 4:
            operators.append((match.group(1), groups))
    return operators


def calls_of(name, groups):
    """The argument lists of one operator: one input varied at a time, then random ones."""
    inputs = [(ICONIC_VALUES, NEUTRAL_ICONIC.get(t, "Disc")) for t, _ in groups[0]]
    for kind, parameter in groups[2]:
        neutral = NEUTRAL_BY_PARAMETER.get(f"{name}.{parameter}",
                                           NEUTRAL_BY_PARAMETER.get(parameter))
        inputs.append((CONTROL_VALUES, neutral or NEUTRAL_CONTROL.get(kind, "1")))
    neutral = [default for _, default in inputs]
    calls = [neutral] if inputs else [[]]
    for i, (values, _) in enumerate(inputs):
        for value in values:
            calls.append(neutral[:i] + [value] + neutral[i + 1:])
    if len(inputs) > 1:
        rng = random.Random(SEED ^ zlib.crc32(name.encode()))
        for _ in range(RANDOM_CALLS):
            calls.append([rng.choice(values) for values, _ in inputs])
    return calls


def line_of(name, groups, args):
    """The call with every control argument in a variable of its own, as a user writes it."""
    assigns = []
    for i, arg in enumerate(args[len(groups[0]):]):
        assigns.append(f"C{i} := {arg}")
    iconic_in = args[:len(groups[0])]
    iconic_out = [f"OutI{i}" for i in range(len(groups[1]))]
    control_in = [f"C{i}" for i in range(len(groups[2]))]
    control_out = [f"OutC{i}" for i in range(len(groups[3]))]
    # A program line lists the parameters of all four groups with commas alone.
    parts = iconic_in + iconic_out + control_in + control_out
    return assigns, f"{name} ({', '.join(parts)})"


def procedure_text(calls):
    escape = lambda s: s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    lines = list(SETUP)
    for assigns, call in calls:
        lines += ["try"] + assigns + [call, "Codes := [Codes, 2]", "catch (Exception)",
                  "dev_get_exception_data (Exception, 'error_code', Code)",
                  "Codes := [Codes, Code]", "endtry"]
    body = "".join(f"<l>{escape(line)}</l>\n" for line in lines + ["return ()"])
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<hdevelop file_version="1.0" halcon_version="11.0">\n<procedure name="sweep">\n'
            '<interface>\n<oc>\n<par name="Codes" base_type="ctrl" dimension="0"/>\n</oc>\n'
            "</interface>\n<body>\n" + body + "</body>\n</procedure>\n</hdevelop>\n")


class Sweep:
    def __init__(self, runner, seconds_per_call, base_seconds=30):
        self.runner = runner
        self.seconds_per_call = seconds_per_call
        self.base_seconds = base_seconds
        self.findings = []
        self.ran = 0

    def outcome(self, calls):
        """'ok', 'bound' (a run's bound ended it) or a text saying what went wrong."""
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, "sweep.hdvp"), "w", encoding="utf-8") as f:
                f.write(procedure_text(calls))
            limit = self.base_seconds + self.seconds_per_call * len(calls)
            try:
                done = subprocess.run(
                    [self.runner, "--procedure", "sweep", "--path", folder, "--json"],
                    cwd=folder, capture_output=True, text=True, errors="replace", timeout=limit)
            except subprocess.TimeoutExpired:
                return f"no end within {limit} s"
        report = re.search(r"(AddressSanitizer|LeakSanitizer|runtime error:).*", done.stderr)
        if report:
            return "sanitizer: " + report.group(0)[:300]
        if done.returncode < 0:
            return f"killed by signal {-done.returncode}"
        if done.returncode != 0 and done.stdout == "":
            # Every call is inside try ... catch; only the run's own bounds pass through it.
            bound = re.search(r"engine error (21027|21028):", done.stderr)
            return "bound" if bound else "error record: " + done.stderr.split("\n")[0][:300]
        if done.returncode != 0:
            return f"exit status {done.returncode}: {done.stderr[-300:]}"
        codes = json.loads(done.stdout)["Codes"]
        if len(codes) != len(calls):
            return f"{len(codes)} of {len(calls)} calls reported"
        return "ok"

    def check(self, calls):
        """Halves a batch that fails until the calls that fail it alone."""
        verdict = self.outcome(calls)
        if verdict == "ok" or (verdict == "bound" and len(calls) == 1):
            self.ran += len(calls)
            return
        if len(calls) == 1:
            shown = [a if len(a) < 60 else a[:40] + "...'" for a in calls[0][0]]
            self.findings.append(f"{calls[0][1]}  (after {shown}): {verdict}")
            return
        half = len(calls) // 2
        before = len(self.findings)
        self.check(calls[:half])
        self.check(calls[half:])
        if len(self.findings) == before and verdict != "bound":
            self.findings.append(f"a batch of {len(calls)} calls, not its halves: {verdict}")

    def run(self, operators, jobs=2):
        calls = []
        for name, groups in operators:
            for args in calls_of(name, groups):
                calls.append(line_of(name, groups, args))
        batches = [calls[i:i + BATCH] for i in range(0, len(calls), BATCH)]
        with ThreadPoolExecutor(jobs) as pool:
            list(pool.map(self.check, batches))
        return len(calls)
