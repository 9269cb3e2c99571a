// Contours cropped and clipped to rectangles, shortened at their ends, sorted by position
// and given regression lines, through program lines, against values worked by hand from
// their HALCON 11.0 pages (cited beside each table).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// The points (0,0) to (0,4), one column apart.
const std::string kRow = "gen_contour_polygon_xld (C, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4])";
// The square of side 10 from (0,0), closed.
const std::string kSquare = "gen_contour_polygon_xld (C, [0, 0, 10, 10, 0], [0, 10, 10, 0, 0])";

TEST(XldEdit, CropCutsAtTheRectanglesSides) {
  // crop_contours_xld, HALCON 11.0: the parts within the rectangle, ending on its sides.
  expectCases({
      {"cut on both sides",
       {"gen_contour_polygon_xld (C, [0, 0, 0], [0, 4, 8])",
        "crop_contours_xld (C, K, -1, 2, 1, 6, 'true')", "get_contour_xld (K, Row, Col)",
        "R := [Row, Col]"},
       "[0.0, 0.0, 0.0, 2.0, 4.0, 6.0]"},
      {"leaving and coming back: two pieces",
       {"gen_contour_polygon_xld (C, [0, 0, 4, 4], [0, 10, 10, 0])",
        "crop_contours_xld (C, K, -1, -1, 5, 5, 'true')", "select_obj (K, K2, 2)",
        "get_contour_xld (K2, Row, Col)", "count_obj (K, N)", "R := [N, Row, Col]"},
       "[2, 4.0, 4.0, 5.0, 0.0]"},
      // The square leaves at (5,10) and comes back at (5,0): through its start one piece.
      {"closed kept closed",
       {kSquare, "crop_contours_xld (C, K, -1, -1, 5, 20, 'true')", "get_contour_xld (K, Row, Col)",
        "R := [Row, Col]"},
       "[5.0, 0.0, 0.0, 5.0, 0.0, 0.0, 10.0, 10.0]"},
      {"closed cut open",
       {kSquare, "crop_contours_xld (C, K, -1, -1, 5, 20, 'false')", "count_obj (K, R)"},
       "2"},
      {"all outside",
       {kSquare, "crop_contours_xld (C, K, 20, 20, 30, 30, 'true')", "count_obj (K, R)"},
       "0"},
  });
  EXPECT_EQ(programError({kSquare, "crop_contours_xld (C, K, 0, 0, 5, 5, 'yes')"}), 1305);
}

TEST(XldEdit, ClipKeepsThePointsInsideThePixels) {
  // clip_contours_xld, HALCON 11.0: the points within the rectangle, which covers its pixels
  // as a region does; a contour leaving it is split.
  expectCases({
      {"points within columns 1 to 2",
       {kRow, "clip_contours_xld (C, K, 0, 1, 0, 2)", "get_contour_xld (K, Row, Col)", "R := Col"},
       "[1.0, 2.0]"},
      {"split where it leaves",
       {"gen_contour_polygon_xld (C, [0, 0, 0], [1, 5, 2])", "clip_contours_xld (C, K, 0, 0, 0, 3)",
        "count_obj (K, R)"},
       "2"},
  });
}

TEST(XldEdit, ClipEndPoints) {
  // clip_end_points_contours_xld, HALCON 11.0: 'num_points' removes Length points at each
  // end, 'length' the points closer than Length along the contour to an end.
  expectCases({
      {"one point each end",
       {kRow, "clip_end_points_contours_xld (C, K, 'num_points', 1)",
        "get_contour_xld (K, Row, Col)", "R := Col"},
       "[1.0, 2.0, 3.0]"},
      {"too short: nothing left",
       {kRow, "clip_end_points_contours_xld (C, K, 'num_points', 3)", "count_obj (K, R)"},
       "0"},
      {"along the contour",
       {kRow, "clip_end_points_contours_xld (C, K, 'length', 1.5)", "get_contour_xld (K, Row, Col)",
        "R := Col"},
       "2.0"},
      {"length 0 keeps all",
       {kRow, "clip_end_points_contours_xld (C, K, 'length', 0)", "contour_point_num_xld (K, R)"},
       "5"},
  });
  expectErrorCases({{{"clip_end_points_contours_xld (C, K, 'points', 1)"}, 1301},
                    {{"clip_end_points_contours_xld (C, K, 'length', -1)"}, 1302}},
                   {kRow});
}

TEST(XldEdit, SortByPosition) {
  // sort_contours_xld, HALCON 11.0: by a corner of the enclosing rectangle, row or column
  // first; 'character' puts contours overlapping in rows on one line, ordered by column.
  const Lines three{"gen_contour_polygon_xld (A, [5, 6], [0, 0])",
                    "gen_contour_polygon_xld (B, [0, 9], [10, 10])",
                    "gen_contour_polygon_xld (C, [0, 1], [5, 5])", "concat_obj (A, B, AB)",
                    "concat_obj (AB, C, All)"};
  const auto sorted = [&](const char* args) {
    return three + Lines{std::string("sort_contours_xld (All, S, ") + args + ")",
                         "smallest_rectangle1_xld (S, R1, C1, R2, C2)", "R := C1"};
  };
  expectCases({
      {"by row", sorted("'upper_left', 'true', 'row'"), "[5.0, 10.0, 0.0]"},
      {"by column", sorted("'upper_left', 'true', 'column'"), "[0.0, 5.0, 10.0]"},
      {"decreasing", sorted("'upper_left', 'false', 'row'"), "[0.0, 10.0, 5.0]"},
      {"lower left corner", sorted("'lower_left', 'true', 'row'"), "[5.0, 0.0, 10.0]"},
      {"character",
       {"gen_contour_polygon_xld (X, [0, 10], [20, 20])",
        "gen_contour_polygon_xld (Y, [2, 3], [0, 0])", "concat_obj (X, Y, All)",
        "sort_contours_xld (All, S, 'character', 'true', 'row')",
        "sort_contours_xld (All, U, 'upper_left', 'true', 'row')",
        "smallest_rectangle1_xld (S, R1, C1, R2, C2)",
        "smallest_rectangle1_xld (U, R3, C3, R4, C4)", "R := [C1, C3]"},
       "[0.0, 20.0, 20.0, 0.0]"},
  });
  const Lines none{"gen_empty_obj (E)", "sort_contours_xld (E, S, 'upper_left', 'true', 'row')",
                   "count_obj (S, R)"};
  expectCases({{"empty", none, "0"}});
  expectErrorCases({{{"sort_contours_xld (E, S, 'middle', 'true', 'row')"}, 1301},
                    {{"sort_contours_xld (E, S, 'upper_left', 'up', 'row')"}, 1302},
                    {{"sort_contours_xld (E, S, 'upper_left', 'true', 'x')"}, 1303}},
                   {"gen_empty_obj (E)"});
}

TEST(XldEdit, RegressionLines) {
  // regress_contours_xld and get_regress_params_xld, HALCON 11.0: the least-squares line of
  // all points, its normal pointing from the origin to it (x the column, y the row), the ends
  // projected onto it, the distances' mean and deviation. V: (0,0), (1,1), (0,2) has the line
  // row 1/3; its distances 1/3, 2/3, 1/3 have mean 4/9 and deviation sqrt(2) / 9.
  const Lines v{"gen_contour_polygon_xld (C, [0, 1, 0], [0, 1, 2])",
                "regress_contours_xld (C, G, 'no', 1)",
                "get_regress_params_xld (G, N, Nx, Ny, D, Fx, Fy, Lx, Ly, M, Dev)",
                "R := [N, Nx, Ny, D, Fx, Fy, Lx, Ly, M, Dev]"};
  // The line row -3 lies on the other side of the origin: the normal points up, dist 3.
  const Lines above{
      "gen_contour_polygon_xld (C, [-3, -3], [0, 4])", "regress_contours_xld (C, G, 'no', 1)",
      "get_regress_params_xld (G, N, Nx, Ny, D, Fx, Fy, Lx, Ly, M, Dev)", "R := [Nx, Ny, D]"};
  expectReals({
      {v, {3, 0, 1, 1.0 / 3, 0, 1.0 / 3, 2, 1.0 / 3, 4.0 / 9, std::sqrt(2.0) / 9}},
      {above, {0, -1, 3}},
  });
  expectCases({{"global attributes",
                {"gen_contour_polygon_xld (C, [0, 1, 0], [0, 1, 2])",
                 "regress_contours_xld (C, G, 'no', 1)", "query_contour_global_attribs_xld (G, R)"},
                "['regr_norm_row', 'regr_norm_col', 'regr_mean_dist', 'regr_dev_dist']"}});
  const std::string v0 = "gen_contour_polygon_xld (C, [0, 1, 0], [0, 1, 2])";
  expectErrorCases(
      {{{v0, "regress_contours_xld (C, G, 'mean', 1)"}, 1301},
       {{v0, "regress_contours_xld (C, G, 'drop', -1)"}, 1302},
       {{"gen_contour_polygon_xld (C, 1, 1)", "regress_contours_xld (C, G, 'no', 1)"}, 3264},
       {{v0, "get_regress_params_xld (C, N, Nx, Ny, D, Fx, Fy, Lx, Ly, M, Dev)"}, 1101}});
}

TEST(XldEdit, TangentAngles) {
  // get_contour_angle_xld, HALCON 11.0: the tangent over points i - Lookaround to
  // i + Lookaround (cut at the ends); 'abs' in [0, 2 pi) counter-clockwise, 'rel' the turn
  // from the point before (right turns negative). L runs right, then down the image.
  const double pi = 3.14159265358979323846;
  const std::string l = "gen_contour_polygon_xld (C, [0, 0, 0, 1, 2], [0, 1, 2, 2, 2])";
  const auto angles = [](const std::string& contour, const char* args) {
    return Lines{contour, std::string("get_contour_angle_xld (C, ") + args + ", A)", "R := A"};
  };
  expectReals({
      {angles(l, "'abs', 'range', 1"), {0, 0, 7 * pi / 4, 3 * pi / 2, 3 * pi / 2}},
      {angles(l, "'rel', 'range', 1"), {0, 0, -pi / 4, -pi / 4, 0}},
      // The steps' angles 0 and -pi/4 about (0,2) average to -pi/8.
      {angles("gen_contour_polygon_xld (C, [0, 0, 1], [0, 2, 3])", "'abs', 'mean', 1"),
       {0, 15 * pi / 8, 7 * pi / 4}},
      // The regression line runs the way the contour does: up and left.
      {angles("gen_contour_polygon_xld (C, [2, 1, 0], [2, 1, 0])", "'abs', 'regress', 1"),
       {3 * pi / 4, 3 * pi / 4, 3 * pi / 4}},
  });
  expectErrorCases({{angles(l, "'deg', 'range', 1"), 1301},
                    {angles(l, "'abs', 'median', 1"), 1302},
                    {angles(l, "'abs', 'range', 0"), 1303}});
}

TEST(XldEdit, DistancesToOtherContours) {
  // distance_contours_xld, HALCON 11.0: each point's least distance to the points
  // ('point_to_point') or the segments ('point_to_segment') of the other contours, as the
  // attribute 'distance'. To the segment (2,0)-(2,10): (0,0), (0,5) and (3,1).
  const auto distances = [](const char* mode) {
    return Lines{"gen_contour_polygon_xld (F, [0, 0, 3], [0, 5, 1])",
                 "gen_contour_polygon_xld (T, [2, 2], [0, 10])",
                 std::string("distance_contours_xld (F, T, D, '") + mode + "')",
                 "get_contour_attrib_xld (D, 'distance', R)"};
  };
  expectReals({
      {distances("point_to_point"), {2, std::sqrt(29.0), std::sqrt(2.0)}},
      {distances("point_to_segment"), {2, 2, 1}},
  });
  EXPECT_EQ(programError(distances("segment_to_segment")), 1301);
}

TEST(XldEdit, UnionStraightContours) {
  // union_straight_contours_xld, HALCON 11.0: two contours merge when
  // gap / MaxDist * Percent + turn / MaxDiff * (100 - Percent) <= 100, the gap between the
  // ends projected onto the regression lines, the turn between the lines.
  const Lines pieces{"gen_contour_polygon_xld (A, [0, 0], [0, 4])",
                     "gen_contour_polygon_xld (B, [0, 0], [6, 10])", "concat_obj (A, B, AB)"};
  const auto merged = [&](const char* args) {
    return pieces + Lines{std::string("union_straight_contours_xld (AB, U, ") + args + ")",
                          "count_obj (U, R)"};
  };
  // The page's example: a gap of 5 and a turn of 0.5 against 4 and 0.625 score 107 at
  // Percent 60 and 98 at Percent 40.
  const auto example = [](const char* percent) {
    return Lines{"gen_contour_polygon_xld (A, [0, 0], [0, 10])",
                 "Rb := [0, -10 * sin(0.5)]",
                 "Cb := [15, 15 + 10 * cos(0.5)]",
                 "gen_contour_polygon_xld (B, Rb, Cb)",
                 "concat_obj (A, B, AB)",
                 std::string("union_straight_contours_xld (AB, U, 4, 0.625, ") + percent +
                     ", 'paralleltoo', 'maximum')",
                 "count_obj (U, R)"};
  };
  expectCases({
      {"a gap of 2 within 3", merged("3, 0.5, 50, 'paralleltoo', 'maximum'"), "1"},
      {"a score of exactly 100 merges", merged("1, 0.5, 50, 'paralleltoo', 'maximum'"), "1"},
      {"a gap too wide", merged("0.9, 0.5, 50, 'paralleltoo', 'maximum'"), "2"},
      {"'every' merges regardless", merged("0, 0, 50, 'every', 1"), "1"},
      {"Percent 60", example("60"), "2"},
      {"Percent 40", example("40"), "1"},
      {"the nearest ends joined",
       {"gen_contour_polygon_xld (A, [0, 0], [4, 0])",
        "gen_contour_polygon_xld (B, [0, 0], [10, 6])", "concat_obj (A, B, AB)",
        "union_straight_contours_xld (AB, U, 3, 0.5, 50, 'paralleltoo', 1)",
        "get_contour_xld (U, Row, Col)", "R := Col"},
       "[0.0, 4.0, 6.0, 10.0]"},
      // Side by side, 1 apart and overlapping along the line: parallel neighbours.
      {"'noparallel' keeps neighbours apart",
       {"gen_contour_polygon_xld (A, [0, 0], [0, 4])",
        "gen_contour_polygon_xld (B, [1, 1], [0, 4])", "concat_obj (A, B, AB)",
        "union_straight_contours_xld (AB, U, 2, 0.5, 50, 'noparallel', 1)", "count_obj (U, R)"},
       "2"},
  });
  expectErrorCases({{merged("3, 0.5, 101, 'paralleltoo', 1"), 1303},
                    {merged("3, 0.5, 50, 'parallel', 1"), 1304},
                    {merged("3, 0.5, 50, 'every', 'all'"), 1305}});
}

}  // namespace
