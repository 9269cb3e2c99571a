// Regions measured against each other, against points and lines, and turned into distance and
// label images, through program lines; every value is worked by hand from the operator's
// reference page named beside it.
#include <gtest/gtest.h>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A: the 3 x 3 square at the origin; B: a 2 x 2 square four columns to its right.
const char* kA = "gen_rectangle1 (A, 0, 0, 2, 2)";
const char* kB = "gen_rectangle1 (B, 0, 6, 1, 7)";

TEST(RegionRelations, SetsAndHamming) {
  expectCases({
      // symm_difference, HALCON 11.0: 2 x 2 squares sharing (1, 1) keep 3 + 3 pixels
      {"symm_difference keeps the pixels in one region only",
       {"gen_rectangle1 (P, 0, 0, 1, 1)", "gen_rectangle1 (Q, 1, 1, 2, 2)",
        "symm_difference (P, Q, X)", "area_center (X, R, Ro, Co)"},
       "6"},
      // test_subset_region, HALCON 11.0: inside, sticking out, and the empty set
      {"test_subset_region, one answer per region of Region1",
       {kA, "gen_rectangle1 (In, 1, 1, 1, 1)", "gen_rectangle1 (Out, 0, 0, 3, 0)",
        "gen_empty_region (E)", "concat_obj (In, Out, T)", "concat_obj (T, E, T)",
        "test_subset_region (T, A, R)"},
       "[1, 0, 1]"},
      // hamming_distance, HALCON 11.0: 6 differing pixels; 1 - 6 / (4 + 4); empty pair: 0, 0
      {"hamming_distance pairs the regions",
       {"gen_rectangle1 (P, 0, 0, 1, 1)", "gen_rectangle1 (Q, 1, 1, 2, 2)", "gen_empty_region (E)",
        "concat_obj (P, E, P2)", "concat_obj (Q, E, Q2)", "hamming_distance (P2, Q2, D, S)",
        "R := [D, S]"},
       "[6, 0, 0.25, 0.0]"},
      // hamming_distance_norm, HALCON 11.0: 'center' moves Regions2 onto Regions1's centre
      {"hamming_distance_norm 'center' compares the shapes only",
       {"gen_rectangle1 (P, 0, 0, 1, 1)", "gen_rectangle1 (Q, 10, 10, 11, 11)",
        "hamming_distance_norm (P, Q, 'center', D, S)", "R := [D, S]"},
       "[0, 1.0]"},
  });
  EXPECT_EQ(programError({kA, kB, "concat_obj (A, B, AB)", "hamming_distance (AB, A, D, S)"}),
            1502);  // one pair per region
  EXPECT_EQ(programError({kA, "hamming_distance_norm (A, A, 'none', D, S)"}), 1301);
}

TEST(RegionRelations, SelectShapeProto) {
  // select_shape_proto, HALCON 7.1 for the features (the 11.0 page is cut short): the 5 x 5
  // square S (25 pixels) and the 2 x 2 square T against the 3 x 3 pattern A.
  const Lines base{kA, "gen_rectangle1 (S, 0, 0, 4, 4)", "gen_rectangle1 (T, 0, 10, 1, 11)",
                   "concat_obj (S, T, Rs)"};
  auto areas = [&](const char* select) {
    return base + Lines{select, "area_center (Sel, R, Ro, Co)"};
  };
  expectCases({
      {"overlaps_abs: 9 and 0 shared pixels",
       areas("select_shape_proto (Rs, A, Sel, 'overlaps_abs', 5, 100)"), "25"},
      {"overlaps_rel: 9 of 25 is 36 percent",
       areas("select_shape_proto (Rs, A, Sel, 'overlaps_rel', 30, 40)"), "25"},
      {"fits: the pattern fits into S alone, whatever the limits",
       areas("select_shape_proto (Rs, A, Sel, 'fits', 1000, 2000)"), "25"},
      {"covers: S opened with the pattern is S, 100 percent",
       areas("select_shape_proto (Rs, A, Sel, 'covers', 100, 100)"), "25"},
      {"distance_center: (2, 2) is sqrt(2) from (1, 1), T's (0.5, 10.5) 9.5 away",
       areas("select_shape_proto (Rs, A, Sel, 'distance_center', 0, 1.5)"), "25"},
      {"distance_contour: T's column 10 is 8 from the pattern's column 2; S overlaps at 0",
       areas("select_shape_proto (Rs, A, Sel, 'distance_contour', 5, 10)"), "4"},
      // distance_rr_min_dil, HALCON 5.2 (its 11.0 text is not at hand): a chessboard gap of 8
      // closes after 4 dilations of both, 4 * 2 - 1 = 7
      {"distance_dilate: 7 for T",
       areas("select_shape_proto (Rs, A, Sel, 'distance_dilate', 7, 7)"), "4"},
  });
  Lines unknown = base;
  unknown.push_back("select_shape_proto (Rs, A, Sel, 'area', 0, 1)");
  EXPECT_EQ(programError(unknown), 1301);
}

TEST(RegionRelations, DirectionsBetweenRegions) {
  // select_region_spatial, HALCON 19.05 (the same text as 11.0's, which is cut short here):
  // centres within 45 degrees of the direction. From A's centre (11, 11): W's (11, 1) is left,
  // N's (1, 11) above, D's (1, 1) exactly on the diagonal, so both.
  const Lines base{"gen_rectangle1 (A, 10, 10, 12, 12)",
                   "gen_rectangle1 (W, 10, 0, 12, 2)",
                   "gen_rectangle1 (N, 0, 10, 2, 12)",
                   "gen_rectangle1 (D, 0, 0, 2, 2)",
                   "concat_obj (W, N, WN)",
                   "concat_obj (WN, D, WND)",
                   "concat_obj (A, W, AW)",
                   "gen_empty_obj (E)"};
  auto with = [&](const Lines& more) { return base + more; };
  expectCases({
      {"one region against each: left",
       with({"select_region_spatial (A, WND, 'left', I, J)", "R := [I, J]"}), "[1, 1, 1, 3]"},
      {"one region against each: above",
       with({"select_region_spatial (A, WND, 'above', I, J)", "R := [I, J]"}), "[1, 1, 2, 3]"},
      {"Regions1 empty: the regions of Regions2 with each other",
       with({"select_region_spatial (E, AW, 'right', I, J)", "R := [I, J]"}), "[2, 1]"},
      // spatial_relation, HALCON 18.05 (the 11.0 text cut short here): B's columns 5..9 are 15
      // of its 18 pixels left of A's first column, 83 percent; C lies wholly below A's last row
      {"spatial_relation names the relations of each listed pair",
       with({"gen_rectangle1 (B, 10, 5, 12, 10)", "gen_rectangle1 (C, 13, 11, 14, 11)",
             "concat_obj (B, C, BC)", "spatial_relation (A, BC, 50, I, J, H, V)",
             "R := [I, J, H, V]"}),
       "[1, 1, 1, 2, 'left', '', '', 'below']"},
      {"spatial_relation: 83 percent is not 90",
       with({"gen_rectangle1 (B, 10, 5, 12, 10)", "gen_rectangle1 (C, 13, 11, 14, 11)",
             "concat_obj (B, C, BC)", "spatial_relation (A, BC, 90, I, J, H, V)", "R := J"}),
       "2"},
  });
  expectErrorCases({{with({"select_region_spatial (AW, WND, 'left', I, J)"}), 1502},
                    {with({"select_region_spatial (A, WND, 'up', I, J)"}), 1301}});
}

TEST(RegionRelations, DistancesToPointsLinesAndRegions) {
  expectReals({
      // distance_pr, HALCON 11.0: inside is 0, the far corner sqrt(2); (1, 5) is 3 from column
      // 2 and sqrt(1 + 25) from (0, 0)
      {{kA, "distance_pr (A, [1, 1], [1, 5], Min, Max)", "R := [Min, Max]"},
       {0, 3, 1.41421356237, 5.09901951359}},
      // distance_lr, HALCON 11.0: row 5 is 3 and 5 from rows 2 and 0; row 1.5 crosses A
      {{kA, "distance_lr (A, [5, 1.5], [0, 0], [5, 1.5], [1, 1], Min, Max)", "R := [Min, Max]"},
       {3, 0, 5, 1.5}},
      // distance_sr, HALCON 11.0: the segment (5, 0)-(5, 1); (0, 2) is sqrt(25 + 1) from its end
      {{kA, "distance_sr (A, 5, 0, 5, 1, Min, Max)", "R := [Min, Max]"}, {3, 5.09901951359}},
      // distance_rr_min, HALCON 11.0: (0, 2) and (0, 6) are the first closest pair, 4 apart
      {{kA, kB, "distance_rr_min (A, B, D, R1, C1, R2, C2)", "R := [D, R1, C1, R2, C2]"},
       {4, 0, 2, 0, 6}},
      {{kA, "gen_rectangle1 (O, 1, 1, 3, 3)", "distance_rr_min (A, O, D, R1, C1, R2, C2)",
        "R := [D, R1, C1, R2, C2]"},
       {0, 1, 1, 1, 1}},
  });
  expectCases({
      // distance_rr_min_dil, HALCON 5.2: iterations * 2 - 1; overlapping regions need none
      {"distance_rr_min_dil: gaps of 4 and 1, and an overlap",
       {kA, kB, "gen_rectangle1 (N, 0, 3, 0, 3)", "concat_obj (B, N, BN)",
        "concat_obj (BN, A, BNA)", "concat_obj (A, A, AA)", "concat_obj (AA, A, AAA)",
        "distance_rr_min_dil (AAA, BNA, R)"},
       "[3, 1, -1]"},
  });
  EXPECT_EQ(
      programError({kA, kB, "concat_obj (A, B, AB)", "distance_rr_min (AB, A, D, a, b, c, d)"}),
      1502);
}

TEST(RegionRelations, DistanceTransformMetrics) {
  // distance_transform, HALCON 11.0, Foreground 'false': the pixel (3, 3) of a 4 x 4 image from
  // the region (0, 0): 3 + 3 city-block, max(3, 3) chessboard, sqrt(18) Euclidean, 3 * 3 + 1 * 3
  // diagonal steps of 4: 12 chamfer (4 normalised), and 4 octagonal layers (4-, 8-, 4-, then
  // 8-neighbours reach it).
  auto at33 = [](const char* metric) {
    return Lines{"gen_rectangle1 (P, 0, 0, 0, 0)",
                 std::string("distance_transform (P, D, '") + metric + "', 'false', 4, 4)",
                 "get_grayval (D, [3, 0], [3, 0], R)"};
  };
  expectReals({
      {at33("city-block"), {6, 0}},
      {at33("chessboard"), {3, 0}},
      {at33("euclidean"), {4.24264068712, 0}, 1e-5},
      {at33("chamfer-3-4-unnormalized"), {12, 0}},
      {at33("chamfer-3-4"), {4, 0}, 1e-6},
      {at33("octagonal"), {4, 0}},
      // Foreground 'true': inside the 3 x 3 square at (1, 1) of a 5 x 5 image its centre is two
      // steps from the outside, an edge pixel one.
      {{"gen_rectangle1 (P, 1, 1, 3, 3)", "distance_transform (P, D, 'city-block', 'true', 5, 5)",
        "get_grayval (D, [2, 1, 0], [2, 2, 0], R)"},
       {2, 1, 0}},
  });
  expectCases({
      {"integer metrics give int4 images, the normalised ones real",
       {"gen_rectangle1 (P, 0, 0, 0, 0)", "distance_transform (P, D1, 'octagonal', 'false', 2, 2)",
        "distance_transform (P, D2, 'euclidean', 'false', 2, 2)", "get_image_type (D1, T1)",
        "get_image_type (D2, T2)", "R := [T1, T2]"},
       "['int4', 'real']"},
  });
  for (const auto& [line, number] : std::vector<std::pair<const char*, long>>{
           {"distance_transform (P, D, 'manhattan', 'true', 4, 4)", 1301},
           {"distance_transform (P, D, 'city-block', 'yes', 4, 4)", 1302},
           {"distance_transform (P, D, 'city-block', 'true', 0, 4)", 1303}}) {
    EXPECT_EQ(programError({"gen_rectangle1 (P, 0, 0, 0, 0)", line}), number) << line;
  }
}

TEST(RegionRelations, RunsRectanglesAndLabels) {
  expectReals({
      // runlength_features, HALCON 11.0: a 4 x 4 square needs 4 runs, K = 4 / sqrt(16)
      {{"gen_rectangle1 (Q, 0, 0, 3, 3)", "runlength_features (Q, N, K, L, M, B)",
        "R := [N, K, L, M]"},
       {4, 1, 1, 4}},
      // two runs in one row, 5 pixels: K = 2 / sqrt(5), L = 2, 2.5 pixels a run
      {{"gen_region_runs (Q, [0, 0], [0, 3], [1, 5])", "runlength_features (Q, N, K, L, M, B)",
        "R := [N, K, L, M]"},
       {2, 0.894427191, 2, 2.5}},
  });
  expectCases({
      // inner_rectangle1, HALCON 11.0: of an L the 2 x 6 foot (12) beats the 5 x 2 leg (10)
      {"inner_rectangle1 takes the largest axis-parallel rectangle",
       {"gen_rectangle1 (Leg, 0, 0, 4, 1)", "gen_rectangle1 (Foot, 3, 0, 4, 5)",
        "union2 (Leg, Foot, L)", "inner_rectangle1 (L, R1, C1, R2, C2)", "R := [R1, C1, R2, C2]"},
       "[3, 0, 4, 5]"},
      {"inner_rectangle1 of an empty region is 0",
       {"gen_empty_region (E)", "inner_rectangle1 (E, R1, C1, R2, C2)", "R := [R1, C1, R2, C2]"},
       "[0, 0, 0, 0]"},
      // get_region_polygon, HALCON 11.0: the contour of the 3 x 4 rectangle from (0, 3)
      // clockwise; the corners (2, 3) and (0, 0) lie 6 / sqrt(13) = 1.66 from the chords, more
      // than 1
      {"get_region_polygon keeps the corners beyond the tolerance",
       {"gen_rectangle1 (Q, 0, 0, 2, 3)", "get_region_polygon (Q, 1, Rows, Cols)",
        "R := [Rows, Cols]"},
       "[0, 2, 2, 0, 0, 3, 3, 0, 0, 3]"},
      {"get_region_polygon: a tolerance of 2 keeps the far corner only",
       {"gen_rectangle1 (Q, 0, 0, 2, 3)", "get_region_polygon (Q, 2, Rows, Cols)",
        "R := [Rows, Cols]"},
       "[0, 2, 0, 3, 0, 3]"},
      // label_to_region, HALCON 11.0: one region per grey value, 0 too, not connected
      {"label_to_region: [7, 0, 3, 7] gives 0, 3 and the two-pixel 7 region",
       {"gen_image_const (I, 'byte', 4, 1)", "set_grayval (I, [0, 0, 0], [0, 2, 3], [7, 3, 7])",
        "label_to_region (I, Rs)", "area_center (Rs, R, Ro, Co)"},
       "[1, 1, 2]"},
  });
}

TEST(RegionRelations, PlateausAndLowlands) {
  // plateaus, plateaus_center, lowlands and lowlands_center, HALCON 11.0, and 7.1 for the
  // centres (the 11.0 page is cut short): along [1, 3, 3, 2, 5] the pixels 1, 2 and 4 are at least
  // their neighbours, 0 and 3 at most; the centre of the pair 1, 2 is column 1.5, which rounds
  // to 2.
  const Lines row{"gen_image_const (I, 'byte', 5, 1)",
                  "set_grayval (I, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], [1, 3, 3, 2, 5])"};
  auto with = [&](const char* line, const char* read) { return row + Lines{line, read}; };
  const char* areas = "area_center (P, R, Ro, Co)";
  const char* columns = "area_center (P, A, Ro, R)";
  expectCases({
      {"plateaus: one region per connected set", with("plateaus (I, P)", areas), "[2, 1]"},
      {"plateaus_center: each set's centre", with("plateaus_center (I, P)", columns), "[2.0, 4.0]"},
      {"lowlands", with("lowlands (I, P)", areas), "[1, 1]"},
      {"lowlands_center", with("lowlands_center (I, P)", columns), "[0.0, 3.0]"},
  });
}

}  // namespace
