// Golay letters, hit-or-miss thinning and thickening, the morphological hat and the Minkowski
// operators about a reference point, through program lines. Each expected value is worked by
// hand from the HALCON 11.0 reference page named beside it.
#include <gtest/gtest.h>

#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Line: row 2, columns 0..4; Dot: the pixel (5, 5); Sq: rows and columns 0..4; U: the pixels
// (10, 9), (10, 11) and row 11, columns 9..11, open at (10, 10).
const Lines kShapes{"gen_rectangle1 (Line, 2, 0, 2, 4)", "gen_region_points (Dot, 5, 5)",
                    "gen_rectangle1 (Sq, 0, 0, 4, 4)",
                    "gen_region_points (U, [10, 10, 11, 11, 11], [9, 11, 9, 10, 11])"};
const std::string kMeasure = "area_center (Out, A, Row, Col)";
const std::string kBox = "smallest_rectangle1 (Out, R1, C1, R2, C2)";
const std::string kAreaBox = "R := [A, R1, C1, R2, C2]";

Lines run(std::initializer_list<std::string> lines, const std::string& result = kAreaBox) {
  Lines out = kShapes;
  out.insert(out.end(), lines);
  out.push_back(kMeasure);
  out.push_back(kBox);
  out.push_back(result);
  return out;
}

TEST(GolayMorphology, LettersAsThePageDrawsThem) {
  expectCases({
      // golay_elements (11.0): h(0,1) is the 3 x 3 square in the foreground and nothing in
      // the background; StructElement1 is the even rotation, StructElement2 the next odd one.
      {"h foreground", run({"golay_elements (Out, B, 'h', 0, 10, 20)"}), "[9, 9, 19, 11, 21]"},
      {"h background", run({"golay_elements (F, Out, 'h', 0, 10, 20)"}, "R := A"), "0"},
      // e(2,3): the centre alone in the foreground; o at the left column and above and below
      // the centre, the right column free.
      {"e(2) foreground", run({"golay_elements (Out, B, 'e', 2, 10, 20)"}), "[1, 10, 20, 10, 20]"},
      {"e(3) background", run({"golay_elements (F, Out, 'e', 2, 10, 20)"}), "[5, 9, 19, 11, 20]"},
      // e(4,5): free row at the bottom, o in the top row and beside the centre.
      {"e(5) background", run({"golay_elements (F, Out, 'e', 4, 0, 0)"}), "[5, -1, -1, 0, 1]"},
  });
}

TEST(GolayMorphology, HitOrMissThinningAndThickening) {
  expectCases({
      // hit_or_miss_golay (11.0): e(2,3) finds the end whose free side faces the line: the
      // left end (2, 0); e(6,7) the right end; e(0,1), free above, finds no end of a row.
      {"e 2 finds the left end", run({"hit_or_miss_golay (Line, Out, 'e', 2)"}), "[1, 2, 0, 2, 0]"},
      {"e 6 finds the right end", run({"hit_or_miss_golay (Line, Out, 'e', 6)"}),
       "[1, 2, 4, 2, 4]"},
      {"e 0 finds nothing in a row", run({"hit_or_miss_golay (Line, Out, 'e', 0)"}, "R := A"), "0"},
      {"a lone pixel is every end", run({"hit_or_miss_golay (Dot, Out, 'e', 4)"}, "R := A"), "1"},
      // h: where the 3 x 3 square fits, the 3 x 3 core of Sq.
      {"h erodes", run({"hit_or_miss_golay (Sq, Out, 'h', 0)"}), "[9, 1, 1, 3, 3]"},
      // thinning_golay (11.0): the region less its hit-or-miss.
      {"thinning drops the left end", run({"thinning_golay (Line, Out, 'e', 2)"}),
       "[4, 2, 1, 2, 4]"},
      {"thinning with h leaves the ring", run({"thinning_golay (Sq, Out, 'h', 0)"}, "R := A"),
       "16"},
      // thickening_golay (11.0): the region and its hit-or-miss; odd 1 takes e(1) as the
      // foreground and e(0) as the background: U's open centre (10, 10) is added.
      {"thickening closes U", run({"thickening_golay (U, Out, 'e', 1)"}), "[6, 10, 9, 11, 11]"},
  });
}

TEST(GolayMorphology, DilationErosionOpeningClosing) {
  expectCases({
      // dilation_golay (11.0): the centres at which the element meets the region.
      {"h dilates a pixel", run({"dilation_golay (Dot, Out, 'h', 1, 0)"}), "[9, 4, 4, 6, 6]"},
      {"iteration n takes iteration n - 1", run({"dilation_golay (Dot, Out, 'h', 2, 0)"}),
       "[25, 3, 3, 7, 7]"},
      // e(1) holds (0, -1), (0, 1) and the row below: the centres that meet (5, 5) lie on
      // its row and the row above.
      {"e 1 dilates upwards", run({"dilation_golay (Dot, Out, 'e', 1, 1)"}), "[5, 4, 4, 5, 6]"},
      {"h(1) is empty", run({"dilation_golay (Dot, Out, 'h', 1, 1)"}, "R := A"), "0"},
      // erosion_golay (11.0): where the element fits.
      {"h erodes Sq", run({"erosion_golay (Sq, Out, 'h', 1, 0)"}), "[9, 1, 1, 3, 3]"},
      {"twice", run({"erosion_golay (Sq, Out, 'h', 2, 0)"}), "[1, 2, 2, 2, 2]"},
      // opening_golay, closing_golay (11.0): a square is open, a line closed for h.
      {"opening keeps Sq", run({"opening_golay (Sq, Out, 'h', 0)"}, "R := A"), "25"},
      {"closing keeps Line", run({"closing_golay (Line, Out, 'h', 0)"}), "[5, 2, 0, 2, 4]"},
      {"an empty region stays empty",
       run({"gen_empty_region (E)", "thinning_golay (E, Out, 'e', 0)"}, "R := A"), "0"},
  });
  expectErrorCases({
      // golay_elements (11.0) takes even rotations only; e has 0..7, h 0 and 1.
      {{"golay_elements (A, B, 'e', 1, 0, 0)"}, 1302},
      {{"golay_elements (A, B, 'e', 8, 0, 0)"}, 1302},
      {{"golay_elements (A, B, 'x', 0, 0, 0)"}, 1301},
      {{"golay_elements (A, B, [], 0, 0, 0)"}, 1401},
      {{"gen_region_points (P, 1, 1)", "hit_or_miss_golay (P, Out, 'h', 2)"}, 1302},
      {{"gen_region_points (P, 1, 1)", "dilation_golay (P, Out, 'h', 0, 0)"}, 1302},
      {{"gen_region_points (P, 1, 1)", "erosion_golay (P, Out, 'e', 1, 8)"}, 1303},
  });
}

TEST(StructMorphology2, MinkowskiThinningThickeningAndHat) {
  // E: (0, 0) and (0, 1) about (0, 0). Left: the centre (1, 1) with o at the left column and
  // above and below it, as e(2,3) draws it.
  const std::string e = "gen_rectangle1 (E, 0, 0, 0, 1)";
  const std::string left = "gen_region_points (Hit, 1, 1)";
  const std::string miss = "gen_region_points (Miss, [0, 0, 1, 2, 2], [0, 1, 0, 0, 1])";
  expectCases({
      // minkowski_add2 (11.0): the region moved by every pixel of E as it lies.
      {"minkowski_add2", run({e, "minkowski_add2 (Dot, E, Out, 0, 0, 1)"}), "[2, 5, 5, 5, 6]"},
      {"minkowski_add2 twice", run({e, "minkowski_add2 (Dot, E, Out, 0, 0, 2)"}),
       "[3, 5, 5, 5, 7]"},
      // minkowski_sub2 (11.0): erosion with E mirrored: p and its left neighbour inside.
      {"minkowski_sub2", run({e, "minkowski_sub2 (Line, E, Out, 0, 0, 1)"}), "[4, 2, 1, 2, 4]"},
      // thinning (11.0): the hit-or-miss removed, iteration after iteration.
      {"thinning once", run({left, miss, "thinning (Line, Hit, Miss, Out, 1, 1, 1)"}),
       "[4, 2, 1, 2, 4]"},
      {"thinning three times", run({left, miss, "thinning (Line, Hit, Miss, Out, 1, 1, 3)"}),
       "[2, 2, 3, 2, 4]"},
      {"thinning without end",
       run({left, miss, "thinning (Line, Hit, Miss, Out, 1, 1, 2147483647)"}, "R := A"), "0"},
      // thickening (11.0): the pixel right of each run end, with its left neighbour inside.
      {"thickening",
       run({"gen_region_points (A1, 1, 0)", "gen_region_points (B1, 1, 1)",
            "thickening (Line, A1, B1, Out, 1, 1, 3)"}),
       "[8, 2, 0, 2, 7]"},
      // morph_hat (11.0): top_hat and bottom_hat together. Sq with a pixel at (2, 6): the
      // opening drops the pixel, the closing adds (2, 5) between.
      {"morph_hat",
       run({"gen_region_points (P, 2, 6)", "union2 (Sq, P, In)", "gen_rectangle1 (S3, 0, 0, 2, 2)",
            "morph_hat (In, S3, Out)"}),
       "[2, 2, 5, 2, 6]"},
      // morph_skeleton (11.0): with Golay's 'h' (the 3 x 3 square), the union of each erosion
      // less its opening; "one or two pixels" wide: a 5 x 5 square leaves its centre, a 5 x 6
      // rectangle the two middle pixels (2, 2) and (2, 3), a 3-pixel line itself.
      {"morph_skeleton of a square", run({"morph_skeleton (Sq, Out)"}), "[1, 2, 2, 2, 2]"},
      {"morph_skeleton two wide",
       run({"gen_rectangle1 (Rc, 0, 0, 4, 5)", "morph_skeleton (Rc, Out)"}), "[2, 2, 2, 2, 3]"},
      {"morph_skeleton of a line",
       run({"gen_rectangle1 (L3, 7, 0, 7, 2)", "morph_skeleton (L3, Out)"}), "[3, 7, 0, 7, 2]"},
      // opening_seg (11.0): erosion1, connection, dilation1: two 5 x 5 squares joined by the
      // pixel (2, 5) erode to two 3 x 3 cores apart, which grow back into the squares.
      {"opening_seg splits",
       run({"gen_rectangle1 (S2, 0, 6, 4, 10)", "gen_region_points (P, 2, 5)",
            "union2 (Sq, S2, U2)", "union2 (U2, P, In)", "gen_rectangle1 (S3, 0, 0, 2, 2)",
            "opening_seg (In, S3, Out)"},
           "R := A"),
       "[25, 25]"},
  });
  expectErrorCases({
      {{e, "gen_region_points (P, 1, 1)", "minkowski_add2 (P, E, Out, 0, 0, 0)"}, 1303},
      {{e, "concat_obj (E, E, EE)", "minkowski_sub2 (E, EE, Out, 0, 0, 1)"}, 1502},
      {{e, "thinning (E, E, E, Out, 0, 0, 0)"}, 1303},
      {{e, "gen_empty_obj (N)", "thickening (E, E, N, Out, 0, 0, 1)"}, 1503},
  });
}

}  // namespace

namespace {

using namespace quorvex::test;

TEST(RegionRuns, EliminateRunsAndTheirDistribution) {
  // Row 0: columns 0..2 and 5..6 (lengths 3 and 2, a gap of 2 between); row 1: 2..7 (6).
  const std::string runs = "gen_region_runs (Rg, [0, 0, 1], [0, 5, 2], [2, 6, 7])";
  const std::string measure = "area_center (Out, A, Row, Col)";
  expectCases({
      // eliminate_runs (11.0): runs shorter than ElimShorter or longer than ElimLonger go.
      {"keep 3..5",
       {runs, "eliminate_runs (Rg, Out, 3, 5)", measure, "R := [A, Row, Col]"},
       "[3, 0.0, 1.0]"},
      {"keep all", {runs, "eliminate_runs (Rg, Out, 2, 6)", measure, "R := A"}, "11"},
      {"keep none", {runs, "eliminate_runs (Rg, Out, 7, 10)", measure, "R := A"}, "0"},
      // runlength_distribution (11.0): entry k counts the runs of length k, entry 0 always 0;
      // the background counts the gaps within rows only.
      {"foreground",
       {runs, "runlength_distribution (Rg, F, B)", "R := F"},
       "[0, 0, 1, 1, 0, 0, 1]"},
      {"background", {runs, "runlength_distribution (Rg, F, B)", "R := B"}, "[0, 0, 1]"},
      {"no gaps: empty background",
       {"gen_rectangle1 (Rg, 0, 0, 3, 3)", "runlength_distribution (Rg, F, B)", "R := [|F|, |B|]"},
       "[5, 0]"},
      {"empty region: empty foreground",
       {"gen_empty_region (Rg)", "runlength_distribution (Rg, F, B)", "R := [|F|, |B|]"},
       "[0, 0]"},
  });
  // "If more than one region is passed an exception is raised."
  expectErrorCases(
      {{{runs, "concat_obj (Rg, Rg, RR)", "runlength_distribution (RR, F, B)"}, 1501}});
}

TEST(RegionRuns, BackgroundSegmentsIn4Neighbourhood) {
  // background_seg (11.0), as its page simulates it: complement (within 512 x 512) and
  // connection with 'neighborhood' 4. A 10 x 10 square with a 6 x 6 hole leaves the hole and
  // the outside (262144 - 100); a diagonal line of 512 pixels, 8-connected, splits the rest
  // into two halves of (262144 - 512) / 2 in the 4-neighbourhood.
  expectCases({
      {"square with a hole",
       {"gen_rectangle1 (Sq, 10, 10, 19, 19)", "gen_rectangle1 (H, 12, 12, 17, 17)",
        "difference (Sq, H, Ring)", "background_seg (Ring, Out)", "area_center (Out, A, Row, Col)",
        "tuple_sort (A, R)"},
       "[36, 262044]"},
      {"a diagonal cuts",
       {"gen_region_line (L, 0, 0, 511, 511)", "background_seg (L, Out)",
        "area_center (Out, A, Row, Col)", "R := A"},
       "[130816, 130816]"},
  });
}

}  // namespace
