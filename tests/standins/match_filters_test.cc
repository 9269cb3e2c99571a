// monotony and gen_gauss_pyramid ("Filters / Match") and bandpass_image ("Filters / Lines") through
// program lines, against values worked out by hand from the HALCON 11.0 reference.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// monotony, HALCON 11.0: the count of the 8 neighbours strictly below the pixel. Beyond the
// edges the image is mirrored, so the corner 1 of the ramp meets only itself and larger values
// (0), the centre 5 has 1, 2, 3, 4 below (4), the corner 9 has 5, 6, 6, 8, 8 (5).
TEST(MatchFilters, Monotony) {
  const Lines ramp = gridImage("I", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  const Lines peak = gridImage("I", {{0, 0, 0}, {0, 9, 0}, {0, 0, 0}}, "int2");
  expectCases({
      {"ramp", with(ramp, {"monotony (I, M)", "get_grayval (M, [0, 1, 2], [0, 1, 2], R)"}),
       "[0, 4, 5]"},
      {"strict maximum and plateau",
       with(peak, {"monotony (I, M)", "get_image_type (M, T)", "get_grayval (M, [1, 0], [1, 0], G)",
                   "R := [T, G]"}),
       "['int2', 8, 0]"},
      {"empty input", {"gen_empty_obj (E)", "monotony (E, M)", "count_obj (M, R)"}, "0"},
  });
  EXPECT_EQ(programError({"gen_image_const (I, 'real', 3, 3)", "monotony (I, M)"}), 9001);
}

// gen_gauss_pyramid, HALCON 11.0: the input first, then each level Scale times the last's
// sides; 'min' and 'max' (Scale 0.5 only) take the extreme of each 2 x 2 block. The 4 x 4 ramp
// 0 ... 15 (4 row + column) gives 2 x 2 and 1 x 1 levels.
TEST(MatchFilters, GaussPyramid) {
  const Lines ramp = gridImage("I", {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}});
  const Lines levels = {
      "count_obj (P, N)",           "select_obj (P, L1, 1)",
      "select_obj (P, L2, 2)",      "select_obj (P, L3, 3)",
      "get_grayval (L1, 3, 3, G1)", "get_grayval (L2, [0, 0, 1, 1], [0, 1, 0, 1], G2)",
      "get_grayval (L3, 0, 0, G3)", "R := [N, G1, G2, G3]"};
  expectCases({
      {"max", with(ramp, with({"gen_gauss_pyramid (I, P, 'max', 0.5)"}, levels)),
       "[3, 15, 5, 7, 13, 15, 15]"},
      {"min", with(ramp, with({"gen_gauss_pyramid (I, P, 'min', 0.5)"}, levels)),
       "[3, 15, 0, 2, 8, 10, 0]"},
      {"sizes",
       with(ramp, {"gen_gauss_pyramid (I, P, 'constant', 0.5)", "count_obj (P, N)",
                   "select_obj (P, L, 3)", "get_image_size (L, W, H)", "R := [N, W, H]"}),
       "[3, 1, 1]"},
      // a single pixel is its own pyramid
      {"one pixel",
       {"gen_image_const (I, 'byte', 1, 1)", "gen_gauss_pyramid (I, P, 'weighted', 0.5)",
        "count_obj (P, R)"},
       "1"},
  });
  for (const auto& [line, number] : {std::pair<std::string, long>{"'fast', 0.5", 1301},
                                     {"'constant', 1.0", 1302},
                                     {"'min', 0.3", 1302}}) {
    EXPECT_EQ(programError(with(ramp, {"gen_gauss_pyramid (I, P, " + line + ")"})), number) << line;
  }
}

// bandpass_image, HALCON 11.0: the mask (0 -2 -2 -2 0 / -2 0 3 0 -2 / -2 3 12 3 -2 / ...)
// about each pixel, the image mirrored at its edges, clipped to the type. A single 10 at
// (3, 3) gives 12 x 10 there, 3 x 10 a column off, -2 x 10 two columns off (held at 0) and 0
// diagonally; 10 in the corner (0, 0) meets itself also one row, one column and one diagonal
// step beyond the edges: (12 + 3 + 3 + 0) x 10.
TEST(MatchFilters, Bandpass) {
  expectCases({
      {"inside",
       {"gen_image_const (I0, 'byte', 7, 7)", "set_grayval (I0, 3, 3, 10)",
        "bandpass_image (I0, B, 'lines')", "get_grayval (B, [3, 3, 3, 4], [3, 4, 5, 4], R)"},
       "[120, 30, 0, 0]"},
      {"corner",
       {"gen_image_const (I0, 'uint2', 5, 5)", "set_grayval (I0, 0, 0, 10)",
        "bandpass_image (I0, B, 'lines')", "get_image_type (B, T)", "get_grayval (B, 0, 0, G)",
        "R := [T, G]"},
       "['uint2', 180]"},
  });
  expectErrorCases(
      {{{"gen_image_const (I, 'byte', 5, 5)", "bandpass_image (I, B, 'edges')"}, 1301},
       {{"gen_image_const (I, 'int2', 5, 5)", "bandpass_image (I, B, 'lines')"}, 9001}});
}

}  // namespace
