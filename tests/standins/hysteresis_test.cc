// hysteresis_threshold through program lines, against values worked by hand from its HALCON
// 11.0 page: pixels of at least High are secure, those of at least Low are kept when a path
// of at most MaxLength of them (8-neighbours) joins them to a secure one.
#include <gtest/gtest.h>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// One row: 200 100 100 100 10 100 100; a 3 x 3 image whose centre alone is secure.
const Lines kRow{"gen_image_const (I, 'byte', 7, 1)",
                 "set_grayval (I, [0, 0, 0, 0, 0, 0, 0], [0, 1, 2, 3, 4, 5, 6], "
                 "[200, 100, 100, 100, 10, 100, 100])"};

TEST(HysteresisThreshold, PathsOfPotentialPixels) {
  const char* runs = "get_region_runs (H, Rr, Rb, Re)";
  expectCases({
      {"MaxLength 2: two potential pixels join, the third is too far",
       with(kRow, {"hysteresis_threshold (I, H, 50, 150, 2)", runs, "R := [Rb, Re]"}), "[0, 2]"},
      {"MaxLength 3: three join; the pixel below Low cuts the rest off",
       with(kRow, {"hysteresis_threshold (I, H, 50, 150, 3)", runs, "R := [Rb, Re]"}), "[0, 3]"},
      {"MaxLength 0: the secure pixels alone",
       with(kRow, {"hysteresis_threshold (I, H, 50, 150, 0)", runs, "R := [Rb, Re]"}), "[0, 0]"},
      {"diagonal neighbours join",
       {"gen_image_const (I, 'byte', 3, 3)",
        "set_grayval (I, [1, 0, 2], [1, 0, 2], [200, 100, 100])",
        "hysteresis_threshold (I, H, 50, 150, 1)", "area_center (H, A, Ro, Co)", "R := A"},
       "3"},
      {"a reduced domain: outside pixels neither count nor join",
       with(kRow, {"gen_rectangle1 (D, 0, 0, 0, 1)", "reduce_domain (I, D, J)",
                   "hysteresis_threshold (J, H, 50, 150, 5)", runs, "R := [Rb, Re]"}),
       "[0, 1]"},
      {"no secure pixel: nothing",
       with(kRow,
            {"hysteresis_threshold (I, H, 50, 250, 5)", "area_center (H, A, Ro, Co)", "R := A"}),
       "0"},
  });
  EXPECT_EQ(programError(with(kRow, {"hysteresis_threshold (I, H, 50, 150, -1)"})), 1303);
  EXPECT_EQ(programError(
                {"gen_image_const (I, 'real', 2, 2)", "hysteresis_threshold (I, H, 50, 150, 1)"}),
            9001);  // a type the page does not list
}

}  // namespace
