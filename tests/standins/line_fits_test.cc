// Segments, line orientations, reflections and fitted transformations through program lines;
// every value is worked by hand from the operator's reference page named beside it.
#include <gtest/gtest.h>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

TEST(LineGeometry, SegmentsAndOrientations) {
  expectReals({
      // distance_ss, HALCON 11.0: parallel segments 2 apart, the farthest ends (0, 4) and (2, 1)
      // sqrt(4 + 9)
      // apart; crossing ones at 0, every end pair sqrt(5) apart
      {{"distance_ss ([0, 0], [0, 0], [0, 0], [4, 4], [2, -1], [1, 2], [2, 1], [2, 2], Mn, Mx)",
        "R := [Mn, Mx]"},
       {2, 0, 3.60555127546, 2.2360679775}},
      // distance_sl, HALCON 11.0: the segment rows 1..3 against the line row 0; one across it
      {{"distance_sl ([1, -1], [0, 2], [3, 1], [0, 2], [0, 0], [0, 0], [0, 0], [5, 5], Mn, Mx)",
        "R := [Mn, Mx]"},
       {1, 0, 3, 1}},
      // line_orientation, HALCON 11.0: up and right is pi/4 whichever end comes first; a
      // vertical line is pi/2, the open end of (-pi/2, pi/2]
      {{"line_orientation ([0, 0, 0], [0, 0, 0], [-1, 1, 1], [1, -1, 0], R)"},
       {0.785398163397, 0.785398163397, 1.57079632679}},
      // line_position, HALCON 11.0: (0, 0)-(4, 3): centre (2, 1.5), length 5, atan2(-4, 3)
      {{"line_position (0, 0, 4, 3, Rc, Cc, L, Phi)", "R := [Rc, Cc, L, Phi]"},
       {2, 1.5, 5, -0.927295218}},
  });
}

TEST(LineGeometry, ContourDistances) {
  // The contour C runs (0, 0) -> (0, 4) -> (4, 4); D is the point (2, 1).
  const Lines base{"gen_contour_polygon_xld (C, [0, 0, 4], [0, 4, 4])",
                   "gen_contour_polygon_xld (D, [2], [1])"};
  auto with = [&](const char* line) { return base + Lines{line, "R := [Mn, Mx]"}; };
  expectReals({
      // distance_pc, HALCON 11.0: (2, 1) is 2 from the first piece, sqrt(4 + 9) from (4, 4)
      {with("distance_pc (C, 2, 1, Mn, Mx)"), {2, 3.60555127546}},
      // distance_lc, HALCON 11.0: the column-6 line misses C by 2; (0, 0) is 6 away
      {with("distance_lc (C, 0, 6, 1, 6, Mn, Mx)"), {2, 6}},
      // and a line through C is at 0
      {with("distance_lc (C, 2, 0, 2, 1, Mn, Mx)"), {0, 2}},
      // distance_sc, HALCON 11.0: the segment (2, 0)-(2, 1) is 2 below the first piece, 3 left
      // of the second; the corners (0, 4) and (4, 4) are sqrt(4 + 9) from its end (2, 1)
      {with("distance_sc (C, 2, 0, 2, 1, Mn, Mx)"), {2, 3.60555127546}},
      // distance_cc, HALCON 10.0.2 (the 11.0 text cut short here): between the points (2, 1)
      // and C's: (0, 0) sqrt(5), (0, 4) sqrt(13), (4, 4) sqrt(13); 'point_to_segment' takes
      // the piece (0, 0)-(0, 4) at 2
      {with("distance_cc (C, D, 'point_to_point', Mn, Mx)"), {2.2360679775, 3.60555127546}},
      {with("distance_cc (C, D, 'point_to_segment', Mn, Mx)"), {2, 3.60555127546}},
  });
  expectReals({
      // distance_cc_min, HALCON 10.0.2: the closest points, and the pieces at them
      {{base[0], base[1], "distance_cc_min (C, D, 'point_to_point', R)"}, {2.2360679775}},
      {{base[0], base[1], "distance_cc_min (C, D, 'fast_point_to_segment', R)"}, {2}},
      {{base[0], base[1], "distance_cc_min (C, D, 'point_to_segment', R)"}, {2}},
  });
  EXPECT_EQ(programError({base[0], base[1], "distance_cc (C, D, 'fast', Mn, Mx)"}), 1301);
}

TEST(LineGeometry, ReflectionsAndFits) {
  const char* id = "hom_mat2d_identity (I)";
  expectReals({
      // hom_mat2d_reflect, HALCON 11.0: the axis x through (0, 2) maps y to 4 - y
      {{id, "hom_mat2d_reflect (I, 0, 2, 1, 2, R)"}, {1, 0, 0, 0, -1, 4}},
      // hom_mat2d_reflect_local, HALCON 11.0: the diagonal through (1, 1) swaps x and y before
      // the given x + 1: x' = y + 1, y' = x
      {{id, "hom_mat2d_translate (I, 1, 0, T)", "hom_mat2d_reflect_local (T, 1, 1, R)"},
       {0, 1, 1, 1, 0, 0}},
      // vector_to_hom_mat2d, HALCON 11.0: x' = 2 x + 1, y' = 3 y + 2 through three pairs
      {{"vector_to_hom_mat2d ([0, 1, 0], [0, 0, 1], [1, 3, 1], [2, 2, 5], R)"},
       {2, 0, 1, 0, 3, 2},
       1e-9},
      // vector_to_aniso, HALCON 11.0: scaled by 2 and 1, then turned by pi/2: x' = -y, y' = 2 x
      {{"vector_to_aniso ([0, 1, 0], [0, 0, 1], [0, 0, -1], [0, 2, 0], R)"},
       {0, -1, 0, 2, 0, 0},
       1e-9},
  });
  // P = Q, and P at the origin, leave no axis; two pairs leave an affine map open, and so do
  // pairs on one line
  expectErrorCases({{{id, "hom_mat2d_reflect (I, 1, 1, 1, 1, R)"}, 1304},
                    {{id, "hom_mat2d_reflect_local (I, 0, 0, R)"}, 1302}});
  expectErrors({{"vector_to_hom_mat2d ([0, 1], [0, 0], [0, 1], [0, 0], R)", 1401},
                {"vector_to_hom_mat2d ([0, 1, 2], [0, 1, 2], [0, 1, 2], [0, 1, 2], R)", 9205}},
               true);
}

}  // namespace
