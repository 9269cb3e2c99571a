// The region access operators through program lines: pixels and runs as tuples and back, the
// grid and checker patterns, and the regions holding a pixel, against the definitions of
// their HALCON 11.0 pages (chapters "Regions / Access", "Regions / Creation", "Regions /
// Features"); and regions from polygons.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

TEST(RegionAccess, PixelsAndRunsInRowOrder) {
  expectCases({
      // get_region_points (11.0): the pixels row by row, each row from the left
      {"points of a 2 x 3 rectangle",
       {"gen_rectangle1 (R1, 4, 1, 5, 3)", "get_region_points (R1, Rows, Cols)",
        "R := [Rows, Cols]"},
       "[4, 4, 4, 5, 5, 5, 1, 2, 3, 1, 2, 3]"},
      {"points of an empty region",
       {"gen_empty_region (E)", "get_region_points (E, Rows, Cols)", "R := [|Rows|, |Cols|]"},
       "[0, 0]"},
      // get_region_runs (11.0): one run a row and gap, first and last column inclusive
      {"runs of a ring row",
       {"gen_rectangle1 (A, 0, 0, 2, 4)", "gen_rectangle1 (B, 1, 1, 1, 3)",
        "difference (A, B, Ring)", "get_region_runs (Ring, Row, Begin, End)",
        "R := [Row, Begin, End]"},
       "[0, 1, 1, 2, 0, 0, 4, 0, 4, 0, 4, 4]"},
      // gen_region_runs (11.0) is get_region_runs' inverse; overlapping runs merge
      {"runs back to a region",
       {"gen_region_runs (G, [3, 3, 5], [0, 2, 7], [2, 6, 7])", "area_center (G, A, Row, Col)",
        "get_region_runs (G, Rr, Rb, Re)", "R := [A, Rr, Rb, Re]"},
       "[8, 3, 5, 0, 7, 6, 7]"},
  });
}

// get_region_contour, get_region_chain, get_region_convex (11.0): from the last pixel of the
// top row, clockwise on screen, the first point repeated at the end; the chain code counts
// counter-clockwise from east (0 east, 2 north, 4 west, 6 south). Traced by hand.
TEST(RegionAccess, BorderAndHullClockwiseFromTheTopRight) {
  expectCases({
      {"contour of a 2 x 3 rectangle: down, west along the bottom, up, east along the top",
       {"gen_rectangle1 (Q, 4, 1, 5, 3)", "get_region_contour (Q, Rows, Cols)",
        "R := [Rows, Cols]"},
       "[4, 5, 5, 5, 4, 4, 4, 3, 3, 2, 1, 1, 2, 3]"},
      {"its chain: S W W N E E",
       {"gen_rectangle1 (Q, 4, 1, 5, 3)", "get_region_chain (Q, Row, Col, Chain)",
        "R := [Row, Col, Chain]"},
       "[4, 3, 6, 4, 4, 2, 0, 0]"},
      {"a one-row bar is walked there and back",
       {"gen_rectangle1 (B, 2, 0, 2, 2)", "get_region_contour (B, Rows, Cols)",
        "get_region_chain (B, Row, Col, Chain)", "R := [Rows, Cols, Chain]"},
       "[2, 2, 2, 2, 2, 2, 1, 0, 1, 2, 4, 4, 0, 0]"},
      {"one pixel: itself, no chain",
       {"gen_region_points (P, 7, 9)", "get_region_contour (P, Rows, Cols)",
        "get_region_chain (P, Row, Col, Chain)", "R := [Rows, Cols, Row, Col, |Chain|]"},
       "[7, 9, 7, 9, 0]"},
      {"the outer border only: a hole is ignored",
       {"gen_rectangle1 (A, 0, 0, 2, 2)", "gen_region_points (H, 1, 1)", "difference (A, H, Ring)",
        "get_region_chain (Ring, Row, Col, Chain)", "R := [Row, Col, Chain]"},
       "[0, 2, 6, 6, 4, 4, 2, 2, 0, 0]"},
      {"hull of an L: three corners",
       {"gen_rectangle1 (V, 0, 0, 3, 0)", "gen_rectangle1 (H, 3, 0, 3, 3)", "union2 (V, H, L)",
        "get_region_convex (L, Rows, Cols)", "R := [Rows, Cols]"},
       "[0, 3, 3, 0, 0, 3, 0, 0]"},
      {"hull of the rectangle: its corners, from the top right",
       {"gen_rectangle1 (Q, 4, 1, 5, 3)", "get_region_convex (Q, Rows, Cols)", "R := [Rows, Cols]"},
       "[4, 5, 5, 4, 4, 3, 3, 1, 1, 3]"},
      {"empty region: empty tuples",
       {"gen_empty_region (E)", "get_region_contour (E, Rows, Cols)",
        "get_region_chain (E, Row, Col, Chain)", "get_region_convex (E, Hr, Hc)",
        "R := [|Rows|, |Cols|, |Row|, |Chain|, |Hr|]"},
       "[0, 0, 0, 0, 0]"},
  });
}

// region_to_label (11.0): region i painted with i, a later region over an earlier one,
// clipped to the image, 0 elsewhere; 'int2' unless told.
TEST(RegionAccess, LabelImageByIndex) {
  expectCases({
      {"overlap goes to the later region, outside stays 0",
       {"gen_rectangle1 (A, 0, 0, 1, 1)", "gen_rectangle1 (B, 1, 1, 2, 2)",
        "gen_rectangle1 (C, 2, 3, 10, 10)", "concat_obj (A, B, AB)", "concat_obj (AB, C, ABC)",
        "region_to_label (ABC, L, 'byte', 4, 3)", "get_image_type (L, Type)",
        "get_grayval (L, [0, 1, 1, 2, 0, 2], [0, 1, 0, 2, 3, 3], G)", "R := [Type, G]"},
       "['byte', 1, 2, 1, 2, 0, 3]"},
      {"int4 and int2 labels",
       {"gen_rectangle1 (A, 0, 0, 0, 0)", "region_to_label (A, L, 'int4', 2, 2)",
        "region_to_label (A, M, 'int2', 2, 2)", "get_image_type (L, T4)", "get_image_type (M, T2)",
        "get_grayval (L, 0, 0, G)", "R := [T4, T2, G]"},
       "['int4', 'int2', 1]"},
  });
}

TEST(RegionAccess, GridAndCheckerPatterns) {
  expectCases({
      // gen_grid_region (11.0) 'lines': rows 0, 3, 6 and columns 0, 4 of a 5 x 7 frame:
      // 3 full rows of 5 + 4 other rows with 2 points each
      {"grid of lines",
       {"gen_grid_region (G, 3, 4, 'lines', 5, 7)", "area_center (G, A, Row, Col)", "R := A"},
       "23"},
      // a step of 0 leaves out the lines of that direction
      {"rows only",
       {"gen_grid_region (G, 3, 0, 'lines', 5, 7)", "get_region_runs (G, Rr, Rb, Re)",
        "R := [Rr, Re]"},
       "[0, 3, 6, 4, 4, 4]"},
      // 'points': the crossings, rows 0 and 3 by columns 0 and 4
      {"grid of points",
       {"gen_grid_region (G, 3, 4, 'points', 5, 7)", "get_region_points (G, Rows, Cols)",
        "R := [Rows, Cols]"},
       "[0, 0, 3, 3, 6, 6, 0, 4, 0, 4, 0, 4]"},
      // gen_checker_region (11.0): fields of 2 x 2 in a 5 x 3 frame; the top left field and
      // every second after it belong to the region: columns 0-1 and 4 on rows 0-1, 2-3 on
      // row 2
      {"checker",
       {"gen_checker_region (C, 5, 3, 2, 2)", "get_region_runs (C, Rr, Rb, Re)",
        "R := [Rr, Rb, Re]"},
       "[0, 0, 1, 1, 2, 0, 4, 0, 4, 2, 1, 4, 1, 4, 3]"},
  });
}

TEST(RegionAccess, RegionsHoldingAPixel) {
  const Lines three{"gen_rectangle1 (A, 0, 0, 9, 9)", "gen_rectangle1 (B, 5, 5, 14, 14)",
                    "gen_rectangle1 (C, 20, 20, 21, 21)", "concat_obj (A, B, AB)",
                    "concat_obj (AB, C, Regions)"};
  expectCases({
      // get_region_index (11.0): the indices, from 1, of every region holding the pixel
      {"both overlapping", with(three, {"get_region_index (Regions, 7, 7, R)"}), "[1, 2]"},
      {"the third", with(three, {"get_region_index (Regions, 21, 20, R)"}), "3"},
      {"none", with(three, {"get_region_index (Regions, 100, -4, R)"}), "[]"},
      // select_region_point (11.0): those regions themselves
      {"selected",
       with(three, {"select_region_point (Regions, Holding, 9, 5)", "count_obj (Holding, R)"}),
       "2"},
  });
}

// gen_region_polygon (11.0): the lines through the corners, in their order; the stand-in
// does not close them (the last corner is not joined to the first). gen_region_polygon_filled
// (11.0): the region inside the polygon the corners make, closed.
TEST(RegionPolygon, OutlineAndFilled) {
  const auto area = [](const std::string& line) {
    return Lines{line, "area_center (P, R, Row, Col)"};
  };
  expectCases({
      // (0,0)-(0,4) and (0,4)-(4,4): 5 + 5 pixels sharing the corner
      {"open outline", area("gen_region_polygon (P, [0, 0, 4], [0, 4, 4])"), "9"},
      // the triangle under the diagonal: rows of 5, 4, 3, 2 and 1 pixels
      {"filled triangle", area("gen_region_polygon_filled (P, [0, 0, 4], [0, 4, 4])"), "15"},
      {"filled rectangle, corners clockwise",
       area("gen_region_polygon_filled (P, [1, 1, 5, 5], [2, 8, 8, 2])"), "35"},
      {"the same anticlockwise", area("gen_region_polygon_filled (P, [1, 5, 5, 1], [2, 2, 8, 8])"),
       "35"},
      // an L: a 4 x 2 bar on a 2 x 5 foot, 8 + 10 pixels less the 2 they share
      {"filled L", area("gen_region_polygon_filled (P, [0, 0, 3, 3, 4, 4], [0, 1, 1, 4, 4, 0])"),
       "16"},
      // real corners are rounded first: (0.4, 0.6) is (0, 1)
      {"rounded", area("gen_region_polygon (P, [0.4, 2], [0.6, 1])"), "3"},
      {"one corner", area("gen_region_polygon_filled (P, 7, 7)"), "1"},
      {"no corner", area("gen_region_polygon_filled (P, [], [])"), "0"},
  });
  expectErrorCases({{{"gen_region_polygon_filled (P, [0, 1000000], [0, 0])"}, 1301},
                    {{"gen_region_polygon (P, [0, 1], [0])"}, 1402}});
}

TEST(RegionAccess, RefusedValues) {
  // two regions where the page takes one
  EXPECT_EQ(programError({"gen_rectangle1 (A, 0, 0, 1, 1)", "concat_obj (A, A, AA)",
                          "get_region_points (AA, R, C)"}),
            1501);
  expectErrors(
      {
          {"gen_grid_region (G, 1, 4, 'lines', 5, 7)", 1301},
          {"gen_grid_region (G, 0, 0, 'lines', 5, 7)", 1301},
          {"gen_grid_region (G, 3, 0, 'points', 5, 7)", 1302},
          {"gen_grid_region (G, 3, 4, 'dots', 5, 7)", 1303},
          {"gen_grid_region (G, 3, 4, 'lines', 0, 7)", 1304},
          {"gen_checker_region (C, 5, 3, 0, 2)", 1303},
          {"gen_region_runs (G, [1, 2], [0], [3, 4])", 1402},
      },
      true);
  // region_to_label: the label types are byte, int2 and int4; the size at least 1 x 1
  const std::pair<const char*, long> labels[] = {
      {"'real', 4, 4", 1301}, {"'int2', 0, 4", 1302}, {"'int2', 4, 40000", 1303}};
  for (const auto& [arguments, number] : labels) {
    EXPECT_EQ(programError({"gen_rectangle1 (A, 0, 0, 1, 1)",
                            std::string("region_to_label (A, L, ") + arguments + ")"}),
              number)
        << arguments;
  }
}

}  // namespace
