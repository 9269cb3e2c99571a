// The Hough chapter through program lines, against values worked out by hand from the HALCON
// 11.0 reference, "Tools / Hough": lines in the normal form col cos(a) + row sin(a) = d with the
// angle a from -90 to 180 degrees in 1 / AngleResolution steps (270 * AngleResolution + 1
// columns) and d in whole rows up to the distance of the region's lower right corner.
#include <gtest/gtest.h>

#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Five points of the line row = 3, columns 2 ... 6; its lower right corner (3, 6) lies
// sqrt(45) = 6.7 from the origin: 8 rows of distance, 0 ... 7.
const std::string kLine = "gen_region_points (L, [3, 3, 3, 3, 3], [2, 3, 4, 5, 6])";
// The same points in a direction image, each with the gradient 90 degrees (stored halved: 45).
const Lines kDirections = {kLine, "gen_image_const (D0, 'direction', 10, 10)",
                           "set_grayval (D0, [3, 3, 3, 3, 3], [2, 3, 4, 5, 6], 45)",
                           "reduce_domain (D0, L, D)"};
// The circle of radius 2 about (5, 5) through pixel centres: the 12 offsets whose length rounds
// to 2 (squared lengths 4 and 5).
const std::string kRing =
    "gen_region_points (C, [3, 7, 5, 5, 4, 4, 6, 6, 3, 3, 7, 7], [5, 5, 3, 7, 3, 7, 3, 7, 4, 6, "
    "4, 6])";

TEST(Hough, LineAccumulator) {
  expectCases({
      // hough_line_trans, HALCON 11.0: 270 + 1 angles; a = 90 (column 180) meets all five at
      // d = 3, a = 0 (column 90) each at d = col
      {"size and type",
       {kLine, "hough_line_trans (L, H, 1)", "get_image_size (H, W, Ht)", "get_image_type (H, T)",
        "R := [W, Ht, T]"},
       "[271, 8, 'int2']"},
      {"votes",
       {kLine, "hough_line_trans (L, H, 1)", "get_grayval (H, [3, 2, 6], [180, 90, 90], R)"},
       "[5, 1, 1]"},
      {"resolution 2",
       {kLine, "hough_line_trans (L, H, 2)", "get_image_size (H, W, Ht)",
        "get_grayval (H, 3, 360, G)", "R := [W, G]"},
       "[541, 5]"},
      // an empty region: one row of distance, no votes
      {"empty region",
       {"gen_empty_region (E)", "hough_line_trans (E, H, 4)", "get_image_size (H, W, Ht)",
        "min_max_gray (H, H, 0, Min, Max, Range)", "R := [W, Ht, Max]"},
       "[1081, 1, 0.0]"},
      // hough_line_trans_dir, HALCON 11.0: the gradient 90 degrees (counterclockwise, up) is
      // the normal 90 degrees of the accumulator; within 2 degrees: a = 88 ... 92, columns
      // 178 ... 182 at d = 3 (the normals -88 ... -90 lie at negative distances)
      {"direction votes",
       with(kDirections, {"hough_line_trans_dir (D, H, 2, 1)", "get_image_type (H, T)",
                          "threshold (H, V, 1, 65535)", "area_center (V, A, Row, Col)",
                          "min_max_gray (V, H, 0, Min, Max, Range)", "R := [T, A, Row, Col, Max]"}),
       "['uint2', 5, 3.0, 180.0, 5.0]"},
      // the gradient 60 degrees (stored 30) up and right at (0, 4) is the normal -60: d = 4
      // cos(-60) = 2 there (column 30); a = 120 puts it at -2, out of the image
      {"oblique direction",
       {"gen_region_points (P, 0, 4)", "gen_image_const (D0, 'direction', 5, 5)",
        "set_grayval (D0, 0, 4, 30)", "reduce_domain (D0, P, D)",
        "hough_line_trans_dir (D, H, 0, 1)", "threshold (H, V, 1, 65535)",
        "area_center (V, A, Row, Col)", "R := [A, Row, Col]"},
       "[1, 2.0, 30.0]"},
  });
}

// hough_lines, HALCON 11.0: the plateau of 5 votes at d = 3 spans a = 86 ... 94 (a = 85 and 95
// put the point of column 6 at d = 3.51 and 2.47), its centre a = 90. The five points also
// round alike at a = 103 alone, to d = 2 (2.47 ... 1.57): a plateau of one cell, after the
// wider one, and within AngleGap 20 of it. In quarter degrees the plateau spans 85.25 ... 94.5
// (85 and 94.75 put column 6 at 3.51 and 2.49): its centre 89.875. Threshold 6 finds none.
TEST(Hough, LinesFound) {
  const double half = 1.5707963267948966, a103 = 103 * half / 90, a89 = 89.875 * half / 90;
  expectReals({
      {{kLine, "hough_lines (L, 1, 5, 5, 5, A, Dist)", "R := [A, Dist]"}, {half, a103, 3, 2}},
      {{kLine, "hough_lines (L, 1, 5, 20, 5, A, Dist)", "R := [A, Dist]"}, {half, 3}},
      {{kLine, "hough_lines (L, 4, 5, 80, 5, A, Dist)", "R := [A, Dist]"}, {a89, 3}},
      {{kLine, "hough_lines (L, 1, 6, 5, 5, A, Dist)", "R := [A, Dist]"}, {}},
      {{"gen_empty_region (E)", "hough_lines (E, 1, 1, 5, 5, A, Dist)", "R := [A, Dist]"}, {}},
      {{"gen_empty_obj (E)", "hough_lines (E, 1, 1, 5, 5, A, Dist)", "R := [A, Dist]"}, {}},
      // hough_lines_dir, HALCON 11.0: the votes above smoothed by a 3 x 3 mean keep their
      // centre; the line's region is its five points
      {with(kDirections, {"hough_lines_dir (D, H, Lines, 2, 1, 'mean', 3, 1, 5, 5, 'true', A, "
                          "Dist)",
                          "area_center (Lines, Area, Row, Col)", "R := [A, Dist, Area]"}),
       {half, 3, 5}},
      {with(kDirections, {"hough_lines_dir (D, H, Lines, 2, 1, 'gauss', 3, 1, 5, 5, 'false', A, "
                          "Dist)",
                          "count_obj (Lines, N)", "R := [A, Dist, N]"}),
       {half, 3, 0}},
      // select_matching_lines, HALCON 11.0: the line a = 90, d = 3 holds all five points and
      // takes them; a = 0, d = 4 then holds none, below Thresh 2. The chosen line, one pixel
      // wide, spans the 20 columns of the image size.
      {{kLine, "get_system ('width', W0)", "get_system ('height', H0)", "set_system ('width', 20)",
        "set_system ('height', 20)",
        "select_matching_lines (L, Sel, [rad(90), 0], [3, 4], 1, 2, A, Dist)",
        "area_center (Sel, Area, Row, Col)", "set_system ('width', W0)",
        "set_system ('height', H0)", "R := [A, Dist, Area, Row]"},
       {half, 3, 20, 3}},
  });
}

TEST(Hough, Circles) {
  expectCases({
      // hough_circle_trans, HALCON 11.0: the point (5, 5) votes for the 8 centres at distance
      // 1 (squared lengths 1 and 2), shifted by the radius to (6, 6); the image is the region's
      // lower right corner plus twice the radius
      {"votes",
       {"gen_region_points (P, 5, 5)", "hough_circle_trans (P, H, 1)", "get_image_size (H, W, Ht)",
        "get_grayval (H, [6, 5, 7, 5, 6], [6, 5, 7, 6, 4], G)", "R := [W, Ht, G]"},
       "[8, 8, 0, 1, 1, 1, 0]"},
      // several radii: every image shifted by the largest
      {"two radii",
       {"gen_region_points (P, 5, 5)", "hough_circle_trans (P, H, [1, 2])", "count_obj (H, N)",
        "select_obj (H, H1, 1)", "get_image_size (H1, W, Ht)",
        "get_grayval (H1, [7, 6], [7, 6], G)", "R := [N, W, Ht, G]"},
       "[2, 10, 10, 0, 1]"},
      // hough_circles, HALCON 11.0: all 12 ring points lie on the circle of radius 2 about
      // (5, 5) and on no other; the circle along the pixels' outer border (Mode 0: the 8
      // neighbours) is nowhere complete; Mode 2 keeps what either finds
      {"centres",
       {kRing, "hough_circles (C, Found, 2, 100, [1, 0, 2])", "area_center (Found, A, Row, Col)",
        "R := [A, Row, Col]"},
       "[1, 0, 1, 5.0, 0.0, 5.0, 5.0, 0.0, 5.0]"},
      {"one region a combination",
       {kRing, "hough_circles (C, Found, [2, 3], [100, 50], [0, 1, 2])", "count_obj (Found, R)"},
       "12"},
  });
}

// Each reference page's parameter ranges (HALCON 11.0): AngleResolution 1, 2, 4, 8; the gaps
// from 0; DirectionUncertainty 0 ... 180; FilterSize of 'gauss' 3 ... 11, odd; Radius from 1;
// Percent 1 ... 100; Mode 0, 1, 2; LineWidth from 1; one region for hough_lines; a direction
// image for the _dir operators.
TEST(Hough, BadParameters) {
  const std::string point = "gen_region_points (P, 1, 1)";
  const std::string dir = "gen_image_const (D, 'direction', 5, 5)";
  expectErrorCases({
      {{point, "hough_line_trans (P, H, 3)"}, 1301},
      {{point, "hough_lines (P, 4, 10, -1, 5, A, Dist)"}, 1303},
      {{"gen_region_points (L, [1, 5], [1, 1])", "connection (L, C)",
        "hough_lines (C, 4, 10, 5, 5, A, Dist)"},
       1501},
      {{"gen_image_const (B, 'byte', 5, 5)", "hough_line_trans_dir (B, H, 2, 4)"}, 9001},
      {{dir, "hough_line_trans_dir (D, H, 181, 4)"}, 1301},
      {{dir, "hough_lines_dir (D, H, L, 2, 4, 'gauss', 4, 10, 5, 5, 'true', A, Dist)"}, 1304},
      {{point, "hough_circle_trans (P, H, 0)"}, 1301},
      {{point, "hough_circles (P, C, 5, 101, 0)"}, 1302},
      {{point, "hough_circles (P, C, 5, 60, 3)"}, 1303},
      {{point, "select_matching_lines (P, S, [0, 1], 3, 1, 2, A, Dist)"}, 1402},
      {{point, "select_matching_lines (P, S, 0, 3, 0, 2, A, Dist)"}, 1303},
  });
}

}  // namespace
