// Morphology with structuring regions and skeletons, through program lines. Each expected
// value is worked by hand from the definition on the HALCON 11.0 reference page named beside
// it; where the page leaves a choice, the row names the stand-in's (docs/standins.md).
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A 10 x 20 bar, rows 10..19 and columns 10..29 (200 pixels); S3 a 3 x 3 square far from it
// (its position is meaningless: dilation1, erosion1 pages); Pair two pixels side by side.
const std::string kBar = "gen_rectangle1 (Bar, 10, 10, 19, 29)";
const std::string kS3 = "gen_rectangle1 (S3, 100, 200, 102, 202)";
const std::string kPair = "gen_rectangle1 (Pair, 50, 50, 50, 51)";
const std::string kMeasure = "area_center (Out, A, Row, Col)";
const std::string kBox = "smallest_rectangle1 (Out, R1, C1, R2, C2)";

Lines with(std::initializer_list<std::string> lines, const std::string& result) {
  Lines out{kBar, kS3, kPair};
  out.insert(out.end(), lines);
  out.push_back(result);
  return out;
}

TEST(StructMorphology, DilationAndErosionAboutTheCentreOfGravity) {
  const std::string box = "R := [A, R1, C1, R2, C2]";
  expectCases({
      // dilation1 (11.0): the union of the region moved by every pixel of the element about
      // its centre (1, 1): one pixel more on every side, 12 x 22
      {"dilation1 by 3 x 3", with({"dilation1 (Bar, S3, Out, 1)", kMeasure, kBox}, box),
       "[264, 9, 9, 20, 30]"},
      // "the result of iteration n-1 is used as input for iteration n": 14 x 24
      {"dilation1 twice", with({"dilation1 (Bar, S3, Out, 2)", kMeasure, kBox}, box),
       "[336, 8, 8, 21, 31]"},
      // erosion1 (11.0): where the element about its centre fits, 8 x 18
      {"erosion1 by 3 x 3", with({"erosion1 (Bar, S3, Out, 1)", kMeasure, kBox}, box),
       "[144, 11, 11, 18, 28]"},
      {"erosion1 four times: 2 x 12", with({"erosion1 (Bar, S3, Out, 4)", kMeasure}, "R := A"),
       "24"},
      {"erosion1 five times: nothing left",
       with({"erosion1 (Bar, S3, Out, 5)", kMeasure}, "R := A"), "0"},
      // Pair's centre of gravity (50, 50.5) is taken to (50, 51), so the element is the pixel
      // and its left neighbour. minkowski_add1 (11.0) adds it as it lies: a column on the left;
      // dilation1 mirrors it: a column on the right, as dilation_rectangle1 (11.0) with an
      // even width does.
      {"minkowski_add1 by the pair",
       with({"minkowski_add1 (Bar, Pair, Out, 1)", kBox}, "R := [R1, C1, R2, C2]"),
       "[10, 9, 19, 29]"},
      {"dilation1 by the pair",
       with({"dilation1 (Bar, Pair, Out, 1)", kBox}, "R := [R1, C1, R2, C2]"), "[10, 10, 19, 30]"},
      {"dilation_rectangle1 2 x 1 agrees",
       with({"dilation_rectangle1 (Bar, Out, 2, 1)", kBox}, "R := [R1, C1, R2, C2]"),
       "[10, 10, 19, 30]"},
      // erosion1 needs the pixel and its left neighbour inside: columns 11..29; minkowski_sub1
      // (11.0) mirrors: the right neighbour, columns 10..28.
      {"erosion1 by the pair",
       with({"erosion1 (Bar, Pair, Out, 1)", kBox}, "R := [R1, C1, R2, C2]"), "[10, 11, 19, 29]"},
      {"minkowski_sub1 by the pair",
       with({"minkowski_sub1 (Bar, Pair, Out, 1)", kBox}, "R := [R1, C1, R2, C2]"),
       "[10, 10, 19, 28]"},
  });
}

TEST(StructMorphology, ReferencePointsOfTheCaller) {
  const std::string box = "R := [A, R1, C1, R2, C2]";
  // The element 0..2 x 0..2 about (0, 0): erosion2 (11.0) keeps the pixels whose element
  // below and right fits (rows 10..17, columns 10..27); dilation2 (11.0) mirrors it, reaching
  // two pixels up and left (rows 8..19, columns 8..29).
  expectCases({
      {"erosion2 about a corner",
       with({"gen_rectangle1 (E, 0, 0, 2, 2)", "erosion2 (Bar, E, Out, 0, 0, 1)", kMeasure, kBox},
            box),
       "[144, 10, 10, 17, 27]"},
      {"dilation2 about a corner",
       with({"gen_rectangle1 (E, 0, 0, 2, 2)", "dilation2 (Bar, E, Out, 0, 0, 1)", kMeasure, kBox},
            box),
       "[264, 8, 8, 19, 29]"},
      // About its centre (1, 1) the element acts as in dilation1.
      {"dilation2 about the centre",
       with({"gen_rectangle1 (E, 0, 0, 2, 2)", "dilation2 (Bar, E, Out, 1, 1, 1)", kMeasure, kBox},
            box),
       "[264, 9, 9, 20, 30]"},
  });
}

TEST(StructMorphology, OpeningClosingAndTheHats) {
  // A spur pixel at (5, 5) beside the bar; two 10 x 5 blocks one column apart (column 15).
  const std::string spur = "gen_region_points (Dot, 5, 5)";
  const std::string bars = "gen_rectangle1 (L, 10, 10, 19, 14)";
  const std::string bars2 = "gen_rectangle1 (Rt, 10, 16, 19, 20)";
  expectCases({
      // opening (11.0): erosion1, then minkowski_add1: the 3 x 3 square fits nowhere near the
      // lone pixel, everywhere in the bar
      {"opening drops the spur",
       with({spur, "union2 (Bar, Dot, In)", "opening (In, S3, Out)", kMeasure}, "R := A"), "200"},
      // top_hat (11.0): the region less its opening
      {"top_hat is the spur",
       with({spur, "union2 (Bar, Dot, In)", "top_hat (In, S3, Out)", kMeasure},
            "R := [A, Row, Col]"),
       "[1, 5.0, 5.0]"},
      // closing (11.0): dilation1, then minkowski_sub1: the gap column fills, 10 x 11
      {"closing fills the gap",
       with({bars, bars2, "union2 (L, Rt, In)", "closing (In, S3, Out)", kMeasure}, "R := A"),
       "110"},
      // bottom_hat (11.0): the closing less the region, the gap column
      {"bottom_hat is the gap",
       with({bars, bars2, "union2 (L, Rt, In)", "bottom_hat (In, S3, Out)", kMeasure},
            "R := [A, Row, Col]"),
       "[10, 14.5, 15.0]"},
  });
}

TEST(StructMorphology, HitOrMissFindsLonePixels) {
  // hit_or_miss (11.0): the erosion of the region by the first element, met with the erosion
  // of its complement by the second, both about (1, 1): the centre inside, its ring outside.
  expectCases(
      {{"a lone pixel beside the bar",
        with({"gen_region_points (Dot, 5, 5)", "union2 (Bar, Dot, In)",
              "gen_region_points (Hit, 1, 1)", "gen_rectangle1 (Box, 0, 0, 2, 2)",
              "difference (Box, Hit, Miss)", "hit_or_miss (In, Hit, Miss, Out, 1, 1)", kMeasure},
             "R := [A, Row, Col]"),
        "[1, 5.0, 5.0]"}});
}

TEST(StructMorphology, Boundaries) {
  // boundary (11.0), whose page simulates 'inner' as the region less erosion_circle 1.5 (the
  // 3 x 3 square): 200 - 144; 'outer' one pixel outside: 264 - 200. A 10 x 10 square with a
  // 4 x 4 hole: 'inner' is its outer frame (36) and the ring around the hole (6 x 6 - 4 x 4);
  // 'inner_filled' suppresses the hole: the frame alone.
  expectCases({
      {"inner", with({"boundary (Bar, Out, 'inner')", kMeasure}, "R := A"), "56"},
      {"outer", with({"boundary (Bar, Out, 'outer')", kMeasure}, "R := A"), "64"},
      {"inner of a ring",
       with({"gen_rectangle1 (Sq, 0, 0, 9, 9)", "gen_rectangle1 (Hole, 3, 3, 6, 6)",
             "difference (Sq, Hole, Out)", "boundary (Out, Out, 'inner')", kMeasure},
            "R := A"),
       "56"},
      {"inner_filled of a ring",
       with({"gen_rectangle1 (Sq, 0, 0, 9, 9)", "gen_rectangle1 (Hole, 3, 3, 6, 6)",
             "difference (Sq, Hole, Out)", "boundary (Out, Out, 'inner_filled')", kMeasure},
            "R := A"),
       "36"},
  });
}

TEST(StructMorphology, EmptyAndDegenerateInputs) {
  expectCases({
      // "an empty region is generated in case of an empty structuring element" (dilation1,
      // minkowski_add1 11.0); "the maximum region" for erosion1 and minkowski_sub1 (11.0): the
      // largest image size, 512 x 512 unless a larger image was made
      {"dilation1 by nothing",
       with({"gen_empty_region (E)", "dilation1 (Bar, E, Out, 1)", kMeasure}, "R := A"), "0"},
      {"erosion1 by nothing",
       with({"gen_empty_region (E)", "erosion1 (Bar, E, Out, 1)", kMeasure}, "R := A"), "262144"},
      {"minkowski_sub1 by nothing",
       with({"gen_empty_region (E)", "minkowski_sub1 (Bar, E, Out, 1)", kMeasure}, "R := A"),
       "262144"},
      // One pixel: the element around it, and nothing fits inside it.
      {"one pixel dilated",
       with({"gen_region_points (P, 3, 3)", "dilation1 (P, S3, Out, 1)", kMeasure}, "R := A"), "9"},
      {"one pixel eroded",
       with({"gen_region_points (P, 3, 3)", "erosion1 (P, S3, Out, 1)", kMeasure}, "R := A"), "0"},
      // An empty region stays empty; no object gives no object.
      {"empty region", with({"gen_empty_region (E)", "opening (E, S3, Out)", kMeasure}, "R := A"),
       "0"},
      {"no object",
       with({"gen_empty_obj (None)", "closing (None, S3, Out)", "count_obj (Out, N)"}, "R := N"),
       "0"},
  });
  // The element is one region (1502 for none or two); Iterations 1 or more (130n).
  const Lines setup{kBar, kS3};
  const auto fails = [&](const std::string& line) { return programError(setup + Lines{line}); };
  EXPECT_EQ(programError({kBar, "gen_empty_obj (E)", "dilation1 (Bar, E, Out, 1)"}), 1502);
  EXPECT_EQ(programError({kBar, kS3, "concat_obj (S3, S3, Two)", "erosion1 (Bar, Two, Out, 1)"}),
            1502);
  EXPECT_EQ(fails("dilation1 (Bar, S3, Out, 0)"), 1301);
  EXPECT_EQ(fails("erosion2 (Bar, S3, Out, 0, 0, 0)"), 1303);
  EXPECT_EQ(fails("boundary (Bar, Out, 'middle')"), 1301);
  EXPECT_EQ(fails("hit_or_miss (Bar, S3, Bar, Out, 0, 'a')"), 1202);
}

// A disc dilated by itself a billion times would grow until the coordinate bound, hours of
// work: the stand-in refuses it as memory beyond its bound (6001). Erosion ends early, at the
// empty region, and a translation once the region has left the bound.
TEST(StructMorphology, EndlessIterationsEndOrAreRefused) {
  // Processor time, not wall time: the sanitizer and emulated builds share a busy machine.
  const std::clock_t start = std::clock();
  EXPECT_EQ(programError({"gen_circle (D, 6, 8, 4.5)", "dilation1 (D, D, Out, 1000000000)"}), 6001);
  EXPECT_EQ(text(runLines({"gen_circle (D, 6, 8, 4.5)", "erosion1 (D, D, Out, 1000000000)",
                           "area_center (Out, A, Row, Col)", "R := A"})),
            "0");
  EXPECT_EQ(text(runLines({"gen_circle (D, 6, 8, 4.5)", "gen_region_points (P, 0, 0)",
                           "dilation2 (D, P, Out, 1, 1, 1000000000)",
                           "area_center (Out, A, Row, Col)", "R := A"})),
            "0");
  EXPECT_LT(double(std::clock() - start) / CLOCKS_PER_SEC, 60.0);
}

TEST(Skeletons, OnePixelWideAlongTheMiddle) {
  // skeleton (11.0): the medial axis, one pixel wide. A 5-row bar's lies on its middle row; a
  // line is its own skeleton; one pixel stays; a ring keeps its hole (connected, one hole).
  expectCases({
      {"5-row bar",
       {"gen_rectangle1 (B, 10, 10, 14, 29)", "skeleton (B, S)",
        "smallest_rectangle1 (S, R1, C1, R2, C2)", "R := [R1, R2]"},
       "[12, 12]"},
      {"line",
       {"gen_region_line (L, 0, 0, 0, 9)", "skeleton (L, S)", "area_center (S, A, R0, C0)",
        "R := A"},
       "10"},
      {"one pixel",
       {"gen_region_points (P, 4, 4)", "skeleton (P, S)", "area_center (S, A, R0, C0)", "R := A"},
       "1"},
      {"ring",
       {"gen_rectangle1 (Sq, 0, 0, 19, 19)", "gen_rectangle1 (H, 6, 6, 13, 13)",
        "difference (Sq, H, Ring)", "skeleton (Ring, S)",
        "region_features (S, ['connect_num', 'holes_num'], F)", "R := F"},
       "[1.0, 1.0]"},
      {"empty",
       {"gen_empty_region (E)", "skeleton (E, S)", "area_center (S, A, R0, C0)", "R := A"},
       "0"},
  });
}

TEST(Skeletons, EndsJunctionsAndPruning) {
  // junctions_skeleton (11.0): end points have one neighbour, junction points more than two.
  // A plus of two 11-pixel lines: four ends; the centre and its four 4-neighbours have more
  // than two neighbours each.
  expectCases({{"plus",
                {"gen_region_line (V, 0, 5, 10, 5)", "gen_region_line (H, 5, 0, 5, 10)",
                 "union2 (V, H, Plus)", "junctions_skeleton (Plus, Ends, Junctions)",
                 "area_center (Ends, EA, ER, EC)", "area_center (Junctions, JA, JR, JC)",
                 "R := [EA, ER, EC, JA, JR, JC]"},
                "[4, 5.0, 5.0, 5, 5.0, 5.0]"}});
  // pruning (11.0): branches shorter than Length go. A line along row 5 passing through
  // (4, 10), with a spur (2, 10), (3, 10) on top: the spur is 2 pixels long.
  const Lines path{"gen_region_line (A, 5, 0, 5, 9)",
                   "gen_region_points (Top, 4, 10)",
                   "gen_region_line (B, 5, 11, 5, 20)",
                   "gen_region_line (Spur, 2, 10, 3, 10)",
                   "union2 (A, Top, P1)",
                   "union2 (P1, B, P2)",
                   "union2 (P2, Spur, Path)"};
  const auto pruned = [&](int length) {
    return text(runLines(path + Lines{"pruning (Path, Out, " + std::to_string(length) + ")",
                                      "area_center (Out, A0, R0, C0)", "R := A0"}));
  };
  EXPECT_EQ(pruned(3), "21");  // the spur goes
  EXPECT_EQ(pruned(2), "23");  // a branch of 2 is not shorter than 2
  EXPECT_EQ(pruned(0), "23");
}

TEST(Skeletons, InnerCenterLiesOnTheSkeleton) {
  // shape_trans 'inner_center' (11.0): the skeleton's point nearest the centre of gravity.
  // The 5-row bar's centre (12, 19.5) is halfway between (12, 19) and (12, 20): the first.
  expectCases({
      {"bar",
       {"gen_rectangle1 (B, 10, 10, 14, 29)", "shape_trans (B, C, 'inner_center')",
        "area_center (C, A, Row, Col)", "R := [A, Row, Col]"},
       "[1, 12.0, 19.0]"},
      // A ring's centre of gravity is in its hole; the point is on the ring.
      {"ring",
       {"gen_rectangle1 (Sq, 0, 0, 19, 19)", "gen_rectangle1 (H, 6, 6, 13, 13)",
        "difference (Sq, H, Ring)", "shape_trans (Ring, C, 'inner_center')",
        "intersection (C, Ring, Both)", "area_center (Both, A, Row, Col)", "R := A"},
       "1"},
      {"empty",
       {"gen_empty_region (E)", "shape_trans (E, C, 'inner_center')",
        "area_center (C, A, Row, Col)", "R := A"},
       "0"},
  });
}

}  // namespace
