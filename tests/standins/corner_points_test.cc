// corner_response, points_harris and points_harris_binomial ("Filters / Points") through program
// lines, against values worked out by hand from the HALCON 11.0 reference: R = A B - C^2 - k (A +
// B)^2 with A, B and C the smoothed squares and product of the first derivatives.
#include <gtest/gtest.h>

#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// The ramp 20 row + 10 column: the Sobel components over 4 are 20 along the row and 40 down
// the column everywhere inside, so A = 400, B = 1600, C^2 = 800^2 = A B, whatever W weighs,
// and R = -k 2000^2 (-160000 for k = 0.04) two pixels or more from the edges.
std::string ramp(const std::string& type) {
  return "gen_image_surface_first_order (I, '" + type + "', 20, 10, 0, 0, 0, 9, 9)";
}

TEST(CornerPoints, CornerResponse) {
  expectCases({
      // corner_response, HALCON 11.0
      {"real",
       {ramp("real"), "corner_response (I, C, 3, 0.04)", "get_grayval (C, 4, 4, R)"},
       "-160000.0"},
      {"no weight",
       {ramp("real"), "corner_response (I, C, 5, 0)", "get_grayval (C, 4, 4, R)"},
       "0.0"},
      // the input's type: bytes hold the negative response at 0, int2 at its least value
      {"byte",
       {ramp("byte"), "corner_response (I, C, 3, 0.04)", "get_image_type (C, T)",
        "get_grayval (C, 4, 4, G)", "R := [T, G]"},
       "['byte', 0]"},
      {"int2",
       {ramp("real"), "convert_image_type (I, J, 'int2')", "corner_response (J, C, 3, 0.04)",
        "get_grayval (C, 4, 4, R)"},
       "-32768"},
      {"empty input",
       {"gen_empty_obj (E)", "corner_response (E, C, 3, 0.04)", "count_obj (C, R)"},
       "0"},
  });
  EXPECT_EQ(programError({ramp("byte"), "corner_response (I, C, 4, 0.04)"}), 1301);
}

// points_harris, HALCON 11.0: the positive local maxima of R. A flat image and a straight edge
// (one derivative 0: A B = C^2, R = -k A^2) have none; the corner of a bright quadrant has one,
// on the diagonal the image is symmetric about (where on it, the reference leaves to the
// filters' sizes).
TEST(CornerPoints, PointsHarris) {
  const std::string edge = "gen_image_const (I0, 'byte', 20, 20)";
  const Lines quadrant = {edge, "gen_rectangle1 (Q, 10, 10, 19, 19)",
                          "paint_region (Q, I0, I, 255, 'fill')"};
  const Lines half = {edge, "gen_rectangle1 (Q, 0, 10, 19, 19)",
                      "paint_region (Q, I0, I, 255, 'fill')"};
  expectCases({
      {"flat", {edge, "points_harris (I0, 0.7, 2, 0.08, 0, Row, Col)", "R := [Row, Col]"}, "[]"},
      {"edge", with(half, {"points_harris (I, 0.7, 2, 0.08, 0, Row, Col)", "R := [Row, Col]"}),
       "[]"},
      {"corner",
       with(quadrant, {"points_harris (I, 0.7, 2, 0.08, 0, Row, Col)",
                       "R := [|Row|, abs(Row - Col) < 1e-9]"}),
       "[1, 1]"},
      {"threshold",
       with(quadrant, {"points_harris (I, 0.7, 2, 0.08, 1e30, Row, Col)", "R := [Row, Col]"}),
       "[]"},
  });
  // points_harris_binomial, HALCON 11.0: the same rules with binomial filters; without
  // sub-pixel refinement the point is a pixel
  expectCases({
      {"binomial edge",
       with(half,
            {"points_harris_binomial (I, 5, 15, 0.08, 0, 'on', Row, Col)", "R := [Row, Col]"}),
       "[]"},
      {"binomial corner",
       with(quadrant, {"points_harris_binomial (I, 5, 15, 0.08, 0, 'off', Row, Col)",
                       "R := [|Row|, Row = Col, Row = round(Row)]"}),
       "[1, 1, 1]"},
  });
  expectErrorCases({{{edge, "points_harris_binomial (I0, 4, 15, 0.08, 0, 'on', Row, Col)"}, 1301},
                    {{edge, "points_harris_binomial (I0, 5, 15, 0.08, 0, 'yes', Row, Col)"}, 1305},
                    {{edge, "points_harris (I0, 0, 2, 0.08, 0, Row, Col)"}, 1301},
                    {{edge, "points_harris (I0, 0.7, 2, -1, 0, Row, Col)"}, 1303}});
}

}  // namespace
