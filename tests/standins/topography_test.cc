// "Segmentation / Topography" (local_max_sub_pix, local_min_sub_pix, saddle_points_sub_pix,
// critical_points_sub_pix) and lines_facet through program lines, against values worked out by
// hand from the HALCON 11.0 reference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A (r - 7.3)^2 + B (c - 6.6)^2 + G (r - 7.3)(c - 6.6) on a real 15 x 15 image, its domain 3
// pixels clear of the sides, where the mirrored border bends the surface; about the point the
// Gaussian of sigma 1 (7 pixels each way) stays inside the image. Either filter gives a
// quadratic's derivatives exactly, so its critical point is found where it is.
// The quadratic's image, then `line` (writing Row and Col) and `out`.
Lines surface(int a, int b, int g, const std::string& line,
              const std::string& out = "R := [Row, Col]") {
  return {"gen_image_surface_second_order (S, 'real', " + std::to_string(a) + ", " +
              std::to_string(b) + ", " + std::to_string(g) + ", 0, 0, 0, 7.3, 6.6, 15, 15)",
          "gen_rectangle1 (D, 3, 3, 11, 11)", "reduce_domain (S, D, I)", line, out};
}

// local_max_sub_pix, local_min_sub_pix, saddle_points_sub_pix, HALCON 11.0: the quadratic's
// extremum, where both Hessian eigenvalues are below -Threshold (maximum), above Threshold
// (minimum) or one each (saddle). Here the eigenvalues are 2 A and 2 B, or for A = B = -1,
// G = 1 those of [[-2, 1], [1, -2]]: -1 and -3.
TEST(Topography, Extrema) {
  const std::vector<double> at{7.3, 6.6};
  expectReals({
      {surface(-1, -1, 0, "local_max_sub_pix (I, 'gauss', 1, 1.9, Row, Col)"), at, 1e-4},
      {surface(-1, -1, 0, "local_max_sub_pix (I, 'facet', 1, 1.9, Row, Col)"), at, 1e-4},
      {surface(1, 1, 0, "local_min_sub_pix (I, 'gauss', 1, 1.9, Row, Col)"), at, 1e-4},
      {surface(-1, 1, 0, "saddle_points_sub_pix (I, 'facet', 1, 1.9, Row, Col)"), at, 1e-4},
      {surface(-1, -1, 1, "local_max_sub_pix (I, 'gauss', 1, 0.9, Row, Col)"), at, 1e-4},
      // 'facet' is the 3 x 3 facet model: a Gaussian of sigma 0.01 leaves the image as it is
      // (its weights beyond the centre are exp(-5000)), and a single 30 gives the quadratic
      // with f_xx = f_yy = (0 + 0 - 2 * 30) / 3 = -20 and f_xy = 0 there
      {{"gen_image_const (I, 'real', 5, 5)", "set_grayval (I, 2, 2, 30)",
        "local_max_sub_pix (I, 'facet', 0.01, 19, Row, Col)", "R := [Row, Col]"},
       {2, 2}},
      // critical_points_sub_pix, HALCON 11.0: minima, maxima and saddle points at once
      {surface(-1, 1, 0, "critical_points_sub_pix (I, 'gauss', 1, 1, R1, C1, R2, C2, R3, C3)",
               "R := [|R1|, |R2|, R3, C3]"),
       {0, 0, 7.3, 6.6},
       1e-4},
      {surface(1, 1, 0, "critical_points_sub_pix (I, 'facet', 1, 1, R1, C1, R2, C2, R3, C3)",
               "R := [R1, C1, |R2|, |R3|]"),
       {7.3, 6.6, 0, 0},
       1e-4},
  });
  expectCases({
      // both eigenvalues must pass: -1 is not below -1.5
      {"one eigenvalue short",
       surface(-1, -1, 1, "local_max_sub_pix (I, 'gauss', 1, 1.5, Row, Col)"), "[]"},
      {"threshold above the curvature",
       surface(-1, -1, 0, "local_max_sub_pix (I, 'facet', 1, 2.1, Row, Col)"), "[]"},
      // eigenvalues -4 and 2: only one is beyond 3
      {"a saddle needs both",
       surface(-2, 1, 0, "saddle_points_sub_pix (I, 'gauss', 1, 3, Row, Col)"), "[]"},
      {"a maximum is no minimum",
       surface(-1, -1, 0, "local_min_sub_pix (I, 'gauss', 1, 0, Row, Col)"), "[]"},
      {"nor a saddle", surface(-1, -1, 0, "saddle_points_sub_pix (I, 'gauss', 1, 0, Row, Col)"),
       "[]"},
      {"flat",
       {"gen_image_const (I, 'byte', 9, 9)",
        "critical_points_sub_pix (I, 'facet', 1, 0, R1, C1, R2, C2, R3, C3)", "R := [R1, R2, R3]"},
       "[]"},
      {"one pixel, a huge Gaussian",
       {"gen_image_const (I, 'int2', 1, 1)",
        "critical_points_sub_pix (I, 'gauss', 1e9, 0, R1, C1, R2, C2, R3, C3)",
        "R := [R1, R2, R3]"},
       "[]"},
      {"empty input",
       {"gen_empty_obj (E)", "local_max_sub_pix (E, 'gauss', 1, 1, Row, Col)", "R := [Row, Col]"},
       "[]"},
  });
  expectLineErrors({
      {"gen_image_const (I, 'byte', 9, 9)\nlocal_max_sub_pix (I, 'box', 1, 1, R, C)", 1301},
      {"gen_image_const (I, 'byte', 9, 9)\nlocal_min_sub_pix (I, 'gauss', 0, 1, R, C)", 1302},
      {"gen_image_const (I, 'byte', 9, 9)\nsaddle_points_sub_pix (I, 'gauss', 1, -1, R, C)", 1303},
  });
}

// lines_facet, HALCON 11.0: Steger's line points from the quadratic fitted by least squares to
// each MaskSize x MaskSize window, linked by hysteresis on the second derivative across the
// line. A vertical bar of 100 over columns 4 ... 6 of a 11 x 10 image: at column 5 with the
// 5 x 5 window the column sums are 0, 500, 500, 500, 0, the second derivative
// 2 sum (x^2 - 2) S / (5 (34 - 20)) = -4000 / 70 and the first 0; at columns 4 and 6 the
// second is -1000 / 70, below Low, and no other column curves down.
TEST(Topography, LinesFacet) {
  const auto column = [](const char* from, const char* to) {
    return Lines{"gen_image_const (I0, 'byte', 11, 10)",
                 std::string("gen_rectangle1 (B, 0, ") + from + ", 9, " + to + ")",
                 "paint_region (B, I0, I, 100, 'fill')"};
  };
  // One column of 100: (S_left + S_right - 2 S_centre) / 3 = -200 with the 3 x 3 window.
  const Lines bar = column("4", "6"), thin = column("5", "5");
  const Lines attributes = {"count_obj (L, N)", "get_contour_xld (L, Row, Col)",
                            "get_contour_attrib_xld (L, 'response', Resp)",
                            "R := [N, |Row|, min(Col), max(Col), min(Resp), max(Resp)]"};
  expectReals({
      {bar + Lines{"lines_facet (I, L, 5, 50, 55, 'light')"} + attributes,
       {1, 10, 5, 5, 4000.0 / 70, 4000.0 / 70}},
      {thin + Lines{"lines_facet (I, L, 3, 50, 55, 'light')"} + attributes,
       {1, 10, 5, 5, 200, 200}},
  });
  expectCases({
      {"no strong point", bar + Lines{"lines_facet (I, L, 5, 50, 60, 'light')", "count_obj (L, R)"},
       "0"},
      {"a light line is no dark one",
       bar + Lines{"lines_facet (I, L, 5, 50, 55, 'dark')", "count_obj (L, R)"}, "0"},
      {"a window far wider than the image",
       {"gen_image_const (I, 'byte', 1, 1)", "lines_facet (I, L, 1000001, 0, 0, 'light')",
        "count_obj (L, R)"},
       "0"},
      {"empty input",
       {"gen_empty_obj (E)", "lines_facet (E, L, 5, 3, 8, 'light')", "count_obj (L, R)"},
       "0"},
  });
  const std::string image = "gen_image_const (I, 'byte', 9, 9)\n";
  expectLineErrors({
      {image + "lines_facet (I, L, 1, 3, 8, 'light')", 1301},
      {image + "lines_facet (I, L, 4, 3, 8, 'light')", 1301},
      {image + "lines_facet (I, L, 5, -1, 8, 'light')", 1302},
      {image + "lines_facet (I, L, 5, 9, 8, 'light')", 1303},
      {image + "lines_facet (I, L, 5, 3, 8, 'grey')", 1304},
  });
}

}  // namespace
