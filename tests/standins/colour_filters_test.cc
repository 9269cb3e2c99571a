// linear_trans_color, cfa_to_rgb and the colour tables of create_color_trans_lut through
// program lines, on images of a few pixels whose answers are worked by hand from the HALCON
// 11.0 reference page named beside each table; the page's open choices (rounding, the mosaic's
// edges) follow docs/standins.md.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A colour image C of 2 x 1 pixels: (10, 20, 30) and (100, 100, 100).
const Lines kColour = {
    "gen_image_const (Red, 'byte', 2, 1)", "set_grayval (Red, [0, 0], [0, 1], [10, 100])",
    "gen_image_const (Grn, 'byte', 2, 1)", "set_grayval (Grn, [0, 0], [0, 1], [20, 100])",
    "gen_image_const (Blu, 'byte', 2, 1)", "set_grayval (Blu, [0, 0], [0, 1], [30, 100])",
    "compose3 (Red, Grn, Blu, C)"};

// The 3 x 3 mosaic M (rows 10 200 30 / 40 50 101 / 70 8 90), the conversion `line` writing O,
// and O's three channels at the pixels `at` (row, column pairs) as R: reds, greens, blues.
Lines mosaic(const std::string& line, const std::string& rows, const std::string& cols) {
  return gridImage("M", {{10, 200, 30}, {40, 50, 101}, {70, 8, 90}}) +
         Lines{line,
               "decompose3 (O, Or, Og, Ob)",
               "get_grayval (Or, " + rows + ", " + cols + ", A)",
               "get_grayval (Og, " + rows + ", " + cols + ", Bb)",
               "get_grayval (Ob, " + rows + ", " + cols + ", Cc)",
               "R := [A, Bb, Cc]"};
}

TEST(LinearTransColor, AffineMapOfTheChannels) {
  // linear_trans_color, HALCON 11.0: m x (n + 1) values row by row, the last column an offset;
  // the result is real. (10, 20, 30) through [1 2 3 | 4] and [0 0 1 | -5]: 144 and 25;
  // (100, 100, 100) to 95 in the second row.
  expectCases({
      {"two rows from three channels",
       kColour + Lines{"linear_trans_color (C, T, [1, 2, 3, 4, 0, 0, 1, -5])",
                       "count_channels (T, N)", "get_image_type (T, Type)",
                       "get_grayval (T, 0, 0, V)", "access_channel (T, T2, 2)",
                       "get_grayval (T2, 0, 1, W)", "R := [N, Type, V, W]"},
       "[2, 'real', 144.0, 25.0, 95.0]"},
      {"a reduced domain is kept",
       kColour + Lines{"gen_rectangle1 (D, 0, 1, 0, 1)", "reduce_domain (C, D, Cd)",
                       "linear_trans_color (Cd, T, [1, 0, 0, 0])", "get_domain (T, Td)",
                       "area_center (Td, R, Y, X)"},
       "1"},
      {"no image: no result",
       {"gen_empty_obj (E)", "linear_trans_color (E, T, [1, 0])", "count_obj (T, R)"},
       "0"},
  });
  // The page's YIQ example on grey 100: Y = 100, I = -0.1 + 127.5, Q = 0.1 + 127.5.
  expectReals({{kColour + Lines{"linear_trans_color (C, T, [0.299, 0.587, 0.114, 0.0, 0.599, "
                                "-0.276, -0.324, 127.5, 0.214, -0.522, 0.309, 127.5])",
                                "get_grayval (T, 0, 1, R)"},
                {100, 127.4, 127.6},
                1e-4}});
  const std::string image = "gen_image_const (I, 'byte', 2, 2)";
  expectErrorCases(
      {{{image, "linear_trans_color (I, T, [1, 2, 3])"}, 1401},
       {{image, "linear_trans_color (I, T, [])"}, 1401},
       {{image, "linear_trans_color (I, T, ['a', 1])"}, 1201},
       {{"gen_image_const (I, 'complex', 2, 2)", "linear_trans_color (I, T, [1, 0])"}, 9001}});
}

TEST(CfaToRgb, BilinearOverTheMosaic) {
  // cfa_to_rgb, HALCON 11.0: 'bayer_gb' starts row 0 with green then blue, row 1 red then green.
  // A missing colour is the mean of its nearest pixels of that colour: across the row or down
  // the column beside a green pixel, the four edge neighbours (green) or the four corners
  // otherwise; the edges reflected about the edge pixel, halves rounded up.
  expectCases({
      {"bayer_gb at (1,1) G, (1,0) R, (0,1) B, (0,0) G: red 141/2, green 180/4, blue 416/4",
       mosaic("cfa_to_rgb (M, O, 'bayer_gb', 'bilinear')", "[1, 1, 0, 0]", "[1, 0, 1, 0]"),
       "[71, 40, 71, 40, 50, 45, 35, 10, 104, 104, 200, 200]"},
      {"bayer_rg at the blue centre: green 349/4, red the corners 200/4",
       mosaic("cfa_to_rgb (M, O, 'bayer_rg', 'bilinear')", "1", "1"), "[50, 87, 50]"},
      {"bayer_bg at the blue corner: green 480/4, red (1,1) four times",
       mosaic("cfa_to_rgb (M, O, 'bayer_bg', 'bilinear')", "0", "0"), "[50, 120, 10]"},
      {"bayer_gr at the green corner: red across (200), blue down (40)",
       mosaic("cfa_to_rgb (M, O, 'bayer_gr', 'bilinear')", "0", "0"), "[200, 10, 40]"},
      {"one pixel reads itself for every colour",
       {"gen_image_const (M, 'byte', 1, 1)", "set_grayval (M, 0, 0, 7)",
        "cfa_to_rgb (M, O, 'bayer_gb', 'bilinear')", "decompose3 (O, A, Bb, Cc)",
        "get_grayval (A, 0, 0, X)", "get_grayval (Bb, 0, 0, Y)", "get_grayval (Cc, 0, 0, Z)",
        "R := [X, Y, Z]"},
       "[7, 7, 7]"},
      {"no image: no result",
       {"gen_empty_obj (E)", "cfa_to_rgb (E, O, 'bayer_gb', 'bilinear')", "count_obj (O, R)"},
       "0"},
  });
  const std::string image = "gen_image_const (M, 'byte', 4, 4)";
  expectErrorCases(
      {{{image, "cfa_to_rgb (M, O, 'bayer_xy', 'bilinear')"}, 1301},
       {{image, "cfa_to_rgb (M, O, 'bayer_gb', 'nearest')"}, 1302},
       {{image, "cfa_to_rgb (M, O, 'bayer_gb', 'bilinear_dir')"}, 1302},
       {{"gen_image_const (M, 'int2', 4, 4)", "cfa_to_rgb (M, O, 'bayer_gb', 'bilinear')"}, 9001}});
}

TEST(ColorTransLut, GivesWhatTransFromRgbGives) {
  // create_color_trans_lut and apply_color_trans_lut, HALCON 11.0: the table of a
  // trans_from_rgb / trans_to_rgb space for 8-bit channels. trans_from_rgb 'hsv' (11.0): pure
  // red is hue 0, saturation and value 1; pure green hue 2 pi / 3, coded 255 / 3 = 85.
  const Lines rgb = {
      "gen_image_const (Red, 'byte', 2, 1)", "set_grayval (Red, [0, 0], [0, 1], [255, 0])",
      "gen_image_const (Grn, 'byte', 2, 1)", "set_grayval (Grn, [0, 0], [0, 1], [0, 255])",
      "gen_image_const (Blu, 'byte', 2, 1)"};
  const Lines out = {"get_grayval (H, [0, 0], [0, 1], X)", "get_grayval (S, [0, 0], [0, 1], Y)",
                     "get_grayval (V, [0, 0], [0, 1], Z)"};
  expectCases({
      {"from_rgb 'hsv'",
       rgb +
           Lines{"create_color_trans_lut ('hsv', 'from_rgb', 8, L)",
                 "apply_color_trans_lut (Red, Grn, Blu, H, S, V, L)"} +
           out + Lines{"clear_color_trans_lut (L)", "R := [X, Y, Z]"},
       "[0, 85, 255, 255, 255, 255]"},
      {"to_rgb 'hsv' undoes it",
       rgb +
           Lines{"trans_from_rgb (Red, Grn, Blu, Hh, Ss, Vv, 'hsv')",
                 "create_color_trans_lut ('hsv', 'to_rgb', 8, L)",
                 "apply_color_trans_lut (Hh, Ss, Vv, H, S, V, L)"} +
           out + Lines{"clear_all_color_trans_luts ()", "R := [X, Y, Z]"},
       "[255, 0, 0, 255, 0, 0]"},
      {"the three domains' intersection",
       rgb + Lines{"gen_rectangle1 (D, 0, 1, 0, 1)", "reduce_domain (Grn, D, Gd)",
                   "create_color_trans_lut ('yuv', 'from_rgb', 8, L)",
                   "apply_color_trans_lut (Red, Gd, Blu, H, S, V, L)", "get_domain (H, Hd)",
                   "area_center (Hd, R, Y1, X1)", "clear_color_trans_lut (L)"},
       "1"},
  });
  const std::string make = "create_color_trans_lut ('hsv', 'from_rgb', 8, L)";
  expectErrorCases(
      {{{"create_color_trans_lut ('lab', 'from_rgb', 8, L)"}, 1301},
       {{"create_color_trans_lut ('ihs', 'to_rgb', 8, L)"}, 1301},
       {{"create_color_trans_lut ('hsv', 'both', 8, L)"}, 1302},
       {{"create_color_trans_lut ('hsv', 'from_rgb', 16, L)"}, 1303},
       {{make, "clear_color_trans_lut (L)", "clear_color_trans_lut (L)"}, 1301},
       {{make, "clear_color_trans_lut (L)", "gen_image_const (I, 'byte', 2, 2)",
         "apply_color_trans_lut (I, I, I, H, S, V, L)"},
        1301},
       {{make, "gen_image_const (I, 'real', 2, 2)", "apply_color_trans_lut (I, I, I, H, S, V, L)"},
        9001}});
}

}  // namespace
