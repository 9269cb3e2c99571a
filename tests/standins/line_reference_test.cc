// threshold_sub_pix and zero_crossing_sub_pix against level lines worked out by hand from the
// definitions on the vendor's HALCON 11.0 reference pages, through program lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A program's text and a last line writing R, as lines.
Lines with(const std::string& program, const std::string& result) {
  return split(program + "\n" + result);
}

// A real 5 x 4 image: 0 in columns 0 and 1, 100 in columns 2 ... 4.
const std::string kStep =
    "gen_image_const (Z, 'byte', 5, 4)\n"
    "gen_rectangle1 (Right, 0, 2, 3, 4)\n"
    "paint_region (Right, Z, B, 100, 'fill')\n"
    "convert_image_type (B, S, 'real')";
// A real 3 x 3 image of zeros with 100 at its centre.
const std::string kDot =
    "gen_image_const (Z, 'byte', 3, 3)\n"
    "gen_rectangle1 (Centre, 1, 1, 1, 1)\n"
    "paint_region (Centre, Z, B, 100, 'fill')\n"
    "convert_image_type (B, S, 'real')";
// A real 2 x 2 image, 100 on its diagonal and 0 off it: a saddle.
const std::string kSaddle =
    "gen_image_const (Z, 'byte', 2, 2)\n"
    "gen_region_points (Diagonal, [0, 1], [0, 1])\n"
    "paint_region (Diagonal, Z, B, 100, 'fill')\n"
    "convert_image_type (B, S, 'real')";
const char* kPoints = "get_contour_xld (B, Row, Col)\nR := [Row, Col]";
const char* kBoxes = "smallest_rectangle1_xld (B, R1, C1, R2, C2)\nR := [R1, C1, R2, C2]";

// threshold_sub_pix, HALCON 11.0: the grey values are interpolated bilinearly between the
// pixel centres and the crossings of the level are linked into contours. On the step the
// level T crosses between columns 1 (0) and 2 (100) at 1 + T / 100 on every row; a level on
// the plateau's own value gives the plateau's border. The order of the points (the higher
// values on the right of the way, so up the screen here) is ours: the page does not say it.
TEST(LevelLinesReference, StepsDotsAndSaddles) {
  const std::vector<Reals> rows = {
      {with(kStep, std::string("threshold_sub_pix (S, B, 25)\n") + kPoints),
       {3, 2, 1, 0, 1.25, 1.25, 1.25, 1.25}},
      {with(kStep, std::string("threshold_sub_pix (S, B, 100)\n") + kPoints),
       {3, 2, 1, 0, 2, 2, 2, 2}},
      // The dot at level 50 crosses half-way from the centre to each 4-neighbour: a closed
      // diamond of diagonals 1 and 1 about (1, 1), of area 1 * 1 / 2.
      {with(kDot,
            "threshold_sub_pix (S, B, 50)\ncount_obj (B, N)\ntest_closed_xld (B, Closed)\n"
            "contour_point_num_xld (B, P)\narea_center_xld (B, A, Rc, Cc, O)\n"
            "R := [N, Closed, P, A, Rc, Cc]"),
       {1, 1, 5, 0.5, 1, 1}},
      // The saddle's surface is 50 at its centre ((100 * 100 - 0 * 0) / (100 + 100 - 0 - 0)).
      // Level 40 lies below it: the two high corners stay joined and the lines cut off the low
      // corners, crossing at 0.6 from each 100 towards each 0. Level 60 lies above it: the
      // lines cut off the high corners, 0.4 from each.
      {with(kSaddle, std::string("threshold_sub_pix (S, B, 40)\n") + kBoxes),
       {0, 0.6, 0.6, 0, 0.4, 1, 1, 0.4}},
      {with(kSaddle, std::string("threshold_sub_pix (S, B, 60)\n") + kBoxes),
       {0, 0.6, 0, 0.6, 0.4, 1, 0.4, 1}},
  };
  expectReals(rows);
}

// zero_crossing_sub_pix, HALCON 11.0: the level lines at 0 of signed images. -30 in columns 0
// and 1 and 10 beyond cross at 1 + 30 / 40 = 1.75.
TEST(LevelLinesReference, ZeroCrossingsOfSignedImages) {
  for (const char* type : {"int1", "int2", "int4", "real"}) {
    const std::string image = std::string(
                                  "gen_image_const (Z, 'byte', 4, 3)\n"
                                  "gen_rectangle1 (Right, 0, 2, 2, 3)\n"
                                  "paint_region (Right, Z, B, 40, 'fill')\n"
                                  "convert_image_type (B, T, '") +
                              type + "')\nscale_image (T, S, 1, -30)";
    expectReals({{with(image, std::string("zero_crossing_sub_pix (S, B)\n") + kPoints),
                  {2, 1, 0, 1.75, 1.75, 1.75}}});
  }
}

// Nothing to cross: a single row or pixel has no square of four centres; a level above or at
// or below every value crosses nothing; a domain must hold all four centres of a square.
TEST(LevelLinesReference, EmptyAndDegenerateInputs) {
  const auto count = [](const std::string& lines) { return split(lines + "\ncount_obj (B, R)"); };
  expectCases({
      {"one row", count("gen_image_const (S, 'byte', 5, 1)\nthreshold_sub_pix (S, B, 0)"), "0"},
      {"one pixel", count("gen_image_const (S, 'real', 1, 1)\nzero_crossing_sub_pix (S, B)"), "0"},
      {"above all", count(kStep + "\nthreshold_sub_pix (S, B, 101)"), "0"},
      {"at the lowest", count(kStep + "\nthreshold_sub_pix (S, B, 0)"), "0"},
      {"constant zero", count("gen_image_const (S, 'int2', 4, 4)\nzero_crossing_sub_pix (S, B)"),
       "0"},
      {"domain of one row across the step",
       count(kStep + "\ngen_rectangle1 (D, 0, 1, 0, 2)\nreduce_domain (S, D, SD)\n"
                     "threshold_sub_pix (SD, B, 50)"),
       "0"},
      {"domain of one square",
       split(kStep + "\ngen_rectangle1 (D, 0, 1, 1, 2)\nreduce_domain (S, D, SD)\n"
                     "threshold_sub_pix (SD, B, 50)\ncontour_point_num_xld (B, R)"),
       "2"},
      {"empty domain",
       count(kStep + "\ngen_empty_region (D)\nreduce_domain (S, D, SD)\n"
                     "threshold_sub_pix (SD, B, 50)"),
       "0"},
  });
  const ErrorRow refusals[] = {
      {"gen_image_const (S, 'byte', 4, 4)\nzero_crossing_sub_pix (S, B)", 9001},
      {"gen_image_const (S, 'uint2', 4, 4)\nzero_crossing_sub_pix (S, B)", 9001},
      {"gen_image_const (S, 'complex', 4, 4)\nthreshold_sub_pix (S, B, 1)", 9001},
      {"gen_image_const (S, 'byte', 4, 4)\nthreshold_sub_pix (S, B, 'a')", 1201},
      {"gen_image_const (S, 'byte', 4, 4)\nthreshold_sub_pix (S, B, [1, 2])", 1401},
  };
  for (const ErrorRow& row : refusals) EXPECT_EQ(programError(split(row.input)), row.number);
}

}  // namespace
