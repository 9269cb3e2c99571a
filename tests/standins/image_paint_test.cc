// Images made from ramps and polynomial surfaces, and grey values painted into images in place
// or into a copy, through program lines, against values worked by hand from the definitions
// of their HALCON 11.0 pages (gen_image_gray_ramp, gen_image_surface_first_order,
// gen_image_surface_second_order, overpaint_region, overpaint_gray, paint_gray).
#include <gtest/gtest.h>

#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// g(r, c) = Alpha (r - Row) + Beta (c - Column) + Mean, and the surfaces' polynomials about
// (Row, Column); integer types round to the nearest value and clip to their range.
TEST(GeneratedImages, RampsAndSurfaces) {
  expectCases({
      {"ramp: 1 (r - 1) + 2 (c - 1) + 100 at (0,0), (2,3), (1,1); 4 wide, 3 high",
       {"gen_image_gray_ramp (I, 1, 2, 100, 1, 1, 4, 3)", "get_image_size (I, W, H)",
        "get_grayval (I, [0, 2, 1], [0, 3, 1], G)", "R := [W, H, G]"},
       "[4, 3, 97, 105, 100]"},
      {"ramp clipped to the byte range: 128, 228, 328, 428",
       {"gen_image_gray_ramp (I, 0, 100, 128, 0, 0, 4, 1)",
        "get_grayval (I, [0, 0, 0, 0], [0, 1, 2, 3], R)"},
       "[128, 228, 255, 255]"},
      {"ramp rounded: 10, 10.5, 11, 11.5",
       {"gen_image_gray_ramp (I, 0, 0.5, 10, 0, 0, 4, 1)",
        "get_grayval (I, [0, 0, 0, 0], [0, 1, 2, 3], R)"},
       "[10, 11, 11, 12]"},
      {"first order, real: 0.5 (r - 1) - (c - 2) + 2 at (0,0) and (1,2)",
       {"gen_image_surface_first_order (I, 'real', 0.5, -1, 2, 1.0, 2.0, 3, 2)",
        "get_grayval (I, [0, 1], [0, 2], R)"},
       "[3.5, 2.0]"},
      {"second order, uint2: r^2 + 2c^2 + 3rc + 4r + 5c + 6 at (2,2), (0,1), (1,0)",
       {"gen_image_surface_second_order (I, 'uint2', 1, 2, 3, 4, 5, 6, 0, 0, 3, 3)",
        "get_image_type (I, T)", "get_grayval (I, [2, 0, 1], [2, 1, 0], G)", "R := [T, G]"},
       "['uint2', 48, 13, 11]"},
  });
  expectErrors({{"gen_image_surface_first_order (I, 'int2', 1, 1, 1, 0, 0, 2, 2)", 1301},
                {"gen_image_gray_ramp (I, 1, 1, 1, 0, 0, 0, 2)", 1306},
                {"gen_image_gray_ramp (I, 1, 1, 1, 0, 0, 2, 40000)", 1307}},
               true);
}

// overpaint_region and overpaint_gray change the image itself; paint_gray gives a new image
// and leaves its inputs as they were.
TEST(PaintedImages, InPlaceAndIntoACopy) {
  const Lines zeros{"gen_image_const (D, 'byte', 4, 4)"};
  expectCases({
      {"fill: the rectangle's pixels, in place",
       with(zeros, {"gen_rectangle1 (Q, 1, 1, 2, 2)", "overpaint_region (D, Q, 200, 'fill')",
                    "get_grayval (D, [0, 1, 2], [0, 1, 2], R)"}),
       "[0, 200, 200]"},
      {"margin: only its border",
       with(zeros, {"gen_rectangle1 (Q, 0, 0, 2, 2)", "overpaint_region (D, Q, 7, 'margin')",
                    "get_grayval (D, [0, 1, 2, 1], [0, 1, 2, 0], R)"}),
       "[7, 0, 7, 7]"},
      {"overpaint_gray: the source's domain only",
       with(zeros, {"gen_image_gray_ramp (S, 0, 0, 50, 0, 0, 4, 4)",
                    "gen_rectangle1 (Q, 0, 0, 0, 1)", "reduce_domain (S, Q, S1)",
                    "overpaint_gray (D, S1)", "get_grayval (D, [0, 0, 1], [0, 1, 0], R)"}),
       "[50, 50, 0]"},
      {"paint_gray: a mixed copy, the destination untouched",
       with(zeros,
            {"gen_image_gray_ramp (S, 0, 0, 50, 0, 0, 4, 4)", "gen_rectangle1 (Q, 3, 3, 3, 3)",
             "reduce_domain (S, Q, S1)", "gen_image_gray_ramp (N, 0, 0, 9, 0, 0, 4, 4)",
             "paint_gray (S1, N, M)", "get_grayval (M, [3, 0], [3, 0], Gm)",
             "get_grayval (N, 3, 3, Gn)", "R := [Gm, Gn]"}),
       "[50, 9, 9]"},
  });
  expectErrorCases(
      {{{"gen_image_const (S, 'byte', 3, 4)", "overpaint_gray (D, S)"}, 3030},
       {{"gen_rectangle1 (Q, 0, 0, 1, 1)", "overpaint_region (D, Q, 1, 'edge')"}, 1302}},
      zeros);
}

}  // namespace
