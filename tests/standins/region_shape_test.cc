// One-feature region operators and whole-region moves, reflections, scalings, clips and tests,
// through program lines, against values worked by hand from their HALCON 11.0 pages.
#include <gtest/gtest.h>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Q: the 3 x 3 square; L: the 1 x 5 line; V: the L of (0..2, 0) and (2, 0..2); H: the 5 x 5
// square with its centre pixel cut out.
const Lines kShapes{"gen_rectangle1 (Q, 0, 0, 2, 2)",
                    "gen_rectangle1 (L, 0, 0, 0, 4)",
                    "gen_rectangle1 (V1, 0, 0, 2, 0)",
                    "gen_rectangle1 (V2, 2, 0, 2, 2)",
                    "union2 (V1, V2, V)",
                    "gen_rectangle1 (F, 0, 0, 4, 4)",
                    "gen_rectangle1 (C, 2, 2, 2, 2)",
                    "difference (F, C, H)",
                    "concat_obj (Q, L, QL)"};

TEST(RegionShapeOperators, OneFeatureEach) {
  expectCases({
      // circularity, 11.0: F / (max^2 pi), at most 1. Q: 9 / (2 pi) > 1; L: 5 / (4 pi).
      {"circularity", with(kShapes, {"circularity (QL, R)"}), "[1.0, 0.3978873577297384]"},
      // compactness, 11.0: L^2 / (4 F pi), at least 1; the contour through the border
      // pixels' centres is 8 long for both. Q: 64 / 36 pi < 1; L: 64 / 20 pi.
      {"compactness", with(kShapes, {"compactness (QL, R)"}), "[1.0, 1.0185916357881302]"},
      {"contlength", with(kShapes, {"contlength (QL, R)"}), "[8.0, 8.0]"},
      // convexity, 11.0: F / F_c; the hull of V's centres is the triangle (0,0) (2,0) (2,2),
      // which holds 6 pixels.
      {"convexity", with(kShapes, {"convexity (V, R)"}), "0.8333333333333334"},
      // eccentricity, 11.0: Q's moments M20 = M02 = 2/3, M11 = 0 give Ra = Rb = sqrt(8/3):
      // anisometry 1, bulkiness pi Ra Rb / F = 8 pi / 27, structure factor their product - 1.
      {"eccentricity", with(kShapes, {"eccentricity (Q, A, B, S)", "R := [A, B, S]"}),
       "[1.0, 0.930842267730309, -0.06915773226969102]"},
      // diameter_region, 11.0: V's farthest pixels, (0,0) and (2,2).
      {"diameter_region",
       with(kShapes, {"diameter_region (V, R1, C1, R2, C2, D)", "R := [R1, C1, R2, C2, D]"}),
       "[0, 0, 2, 2, 2.8284271247461903]"},
      // euler_number, connect_and_holes, area_holes, 11.0: H is one part with one hole of 1.
      {"holes",
       with(kShapes, {"euler_number (H, E)", "connect_and_holes (H, N, O)", "area_holes (H, A)",
                      "R := [E, N, O, A]"}),
       "[0, 1, 1, 1]"},
      {"empty region: zeros",
       {"gen_empty_region (E)", "circularity (E, C)", "diameter_region (E, R1, C1, R2, C2, D)",
        "R := [C, R1, D]"},
       "[0.0, 0, 0.0]"},
      {"no regions: no values", {"gen_empty_obj (E)", "circularity (E, C)", "R := |C|"}, "0"},
  });
}

TEST(RegionMoves, WholeRegions) {
  const char* box = "smallest_rectangle1 (M, R1, C1, R2, C2)";
  const char* out = "R := [R1, C1, R2, C2]";
  expectCases({
      // move_region, 11.0: every pixel shifted by (Row, Column).
      {"move",
       {"gen_rectangle1 (Q, 0, 0, 1, 1)", "move_region (Q, M, 3, -2)", box, out},
       "[3, -2, 4, -1]"},
      // mirror_region, 11.0: WidthHeight twice the axis, a pixel r going to WidthHeight - 1 - r.
      {"mirror row",
       {"gen_rectangle1 (Q, 0, 0, 1, 2)", "mirror_region (Q, M, 'row', 10)", box, out},
       "[8, 0, 9, 2]"},
      {"mirror column",
       {"gen_rectangle1 (Q, 0, 0, 1, 2)", "mirror_region (Q, M, 'column', 10)", box, out},
       "[0, 7, 1, 9]"},
      {"mirror diagonal",
       {"gen_rectangle1 (Q, 0, 0, 1, 3)", "mirror_region (Q, M, 'diagonal', 10)", box, out},
       "[0, 0, 3, 1]"},
      // transpose_region, 11.0: reflected about the point (5, 5): r -> 10 - r, c -> 10 - c.
      {"transpose",
       {"gen_rectangle1 (Q, 0, 0, 1, 2)", "transpose_region (Q, M, 5, 5)", box, out},
       "[9, 8, 10, 10]"},
      // zoom_region, 11.0: each pixel becomes a 2 x 2 block; halved, a 4 x 4 square is 2 x 2.
      {"zoom",
       {"gen_rectangle1 (Q, 1, 1, 2, 2)", "zoom_region (Q, M, 2, 2)", box,
        "gen_rectangle1 (P, 0, 0, 3, 3)", "zoom_region (P, Y, 0.5, 0.5)",
        "area_center (Y, A, Ro, Co)", "R := [R1, C1, R2, C2, A]"},
       "[2, 2, 5, 5, 4]"},
      // clip_region, 11.0: the part inside the rectangle; clip_region_rel: the box cut by
      // Top, Bottom, Left and Right.
      {"clip",
       {"gen_rectangle1 (W, 0, 0, 9, 9)", "clip_region (W, M, 2, 3, 20, 5)", box, out},
       "[2, 3, 9, 5]"},
      {"clip rel",
       {"gen_rectangle1 (W, 0, 0, 9, 9)", "clip_region_rel (W, M, 1, 2, 3, 4)", box, out},
       "[1, 3, 7, 5]"},
      {"clip to nothing",
       {"gen_rectangle1 (W, 0, 0, 9, 9)", "clip_region_rel (W, M, 5, 5, 0, 0)",
        "area_center (M, A, Ro, Co)", "R := A"},
       "0"},
      // test_region_point and test_equal_region, 11.0.
      {"tests",
       {"gen_rectangle1 (W, 0, 0, 9, 9)", "gen_rectangle1 (K, 0, 0, 9, 8)",
        "test_region_point (W, 9, 9, I)", "test_region_point (W, 10, 9, O)",
        "test_equal_region (W, W, E)", "test_equal_region (W, K, N)", "R := [I, O, E, N]"},
       "[1, 0, 1, 0]"},
  });
  const Lines q{"gen_rectangle1 (Q, 0, 0, 1, 1)", "gen_empty_obj (None)"};
  for (const auto& [line, number] :
       std::vector<std::pair<const char*, long>>{{"mirror_region (Q, M, 'both', 10)", 1301},
                                                 {"mirror_region (Q, M, 'row', 0)", 1302},
                                                 {"zoom_region (Q, M, 0, 1)", 1301},
                                                 {"clip_region_rel (Q, M, 0, -1, 0, 0)", 1302},
                                                 {"move_region (Q, M, 1000000000, 0)", 1301},
                                                 {"test_equal_region (Q, None, E)", 1502}}) {
    EXPECT_EQ(programError(q + Lines{line}), number) << line;
  }
}

}  // namespace
