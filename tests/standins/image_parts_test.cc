// Tiles, crops, channels added to regions, interpolated grey values, points on ellipses and the
// 'ihs' colour space, through program lines, against values worked by hand from the HALCON
// 11.0 pages each table names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A (2 wide, 1 high, grey 1), B (1 wide, 2 high, grey 2) and C (1 x 1, grey 3) in one tuple.
const Lines kThree{"gen_image_const (A, 'byte', 2, 1)",
                   "gen_image_const (B, 'byte', 1, 2)",
                   "gen_image_const (C, 'byte', 1, 1)",
                   "set_grayval (A, [0, 0], [0, 1], 1)",
                   "set_grayval (B, [0, 1], [0, 0], 2)",
                   "set_grayval (C, 0, 0, 3)",
                   "concat_obj (A, B, AB)",
                   "concat_obj (AB, C, Images)"};

// Each line after `first` raising its number.
void expectLineErrors(const Lines& first, const std::vector<ErrorRow>& rows) {
  for (const ErrorRow& row : rows) {
    EXPECT_EQ(programError(with(first, {row.input})), row.number) << row.input;
  }
}

// tile_images, HALCON 11.0: every tile as large as the largest image (here 2 x 2), the images
// at their tiles' top-left corners, NumColumns tiles a row and as many rows as needed
// (3 images in 2 columns: 2 rows); 'horizontal' fills rows first, 'vertical' columns first.
// tile_channels, HALCON 11.0: the same with the channels of one image.
TEST(TiledImages, TilesAsLargeAsTheLargestImage) {
  expectCases({
      {"horizontal: A at (0,0), B at (0,2), C at (2,0); the rest 0; domains' area 2 + 2 + 1",
       with(kThree,
            {"tile_images (Images, T, 2, 'horizontal')", "get_image_size (T, W, H)",
             "get_grayval (T, [0, 0, 1, 2, 1, 3], [1, 2, 2, 0, 0, 3], G)", "get_domain (T, D)",
             "area_center (D, Area, Row, Col)", "R := [W, H, G, Area]"}),
       "[4, 4, 1, 2, 2, 3, 0, 0, 5]"},
      {"vertical: A at (0,0), B at (2,0), C at (0,2)",
       with(kThree, {"tile_images (Images, T, 2, 'vertical')",
                     "get_grayval (T, [2, 3, 0, 0], [0, 0, 2, 1], R)"}),
       "[2, 2, 3, 1]"},
      {"three columns: one row of 2 x 2 tiles",
       with(kThree, {"tile_images (Images, T, 3, 'horizontal')", "get_image_size (T, W, H)",
                     "get_grayval (T, [0, 1], [4, 2], G)", "R := [W, H, G]"}),
       "[6, 2, 3, 2]"},
      {"one 1 x 1 image in one column: itself",
       with(kThree, {"tile_images (C, T, 1, 'vertical')", "get_image_size (T, W, H)",
                     "get_grayval (T, 0, 0, G)", "R := [W, H, G]"}),
       "[1, 1, 3]"},
      {"no images: no image",
       {"gen_empty_obj (E)", "tile_images (E, T, 2, 'horizontal')", "count_obj (T, R)"},
       "0"},
      {"a reduced domain moves with its image",
       with(kThree, {"gen_rectangle1 (P, 0, 1, 0, 1)", "reduce_domain (B, P, B1)",
                     "reduce_domain (A, P, A1)", "concat_obj (B, A1, BA)",
                     "tile_images (BA, T, 2, 'horizontal')", "get_domain (T, D)",
                     "area_center (D, Area, Row, Col)", "R := [Area, Row * 3, Col]"}),
       "[3, 1.0, 1.0]"},
      {"tile_channels: channels 1, 2, 3 of a 1 x 1 image, rows first, then columns first",
       {"gen_image_const (A, 'byte', 1, 1)", "gen_image_const (B, 'byte', 1, 1)",
        "gen_image_const (C, 'byte', 1, 1)", "set_grayval (A, 0, 0, 1)", "set_grayval (B, 0, 0, 2)",
        "set_grayval (C, 0, 0, 3)", "compose3 (A, B, C, I)",
        "tile_channels (I, H, 2, 'horizontal')", "tile_channels (I, V, 2, 'vertical')",
        "count_channels (H, N)", "get_grayval (H, [0, 0, 1, 1], [0, 1, 0, 1], GH)",
        "get_grayval (V, [1, 0], [0, 1], GV)", "R := [N, GH, GV]"},
       "[1, 1, 2, 3, 0, 2, 3]"},
      {"tile_images_offset: B's lower pixel and C pasted into a 3 x 2 image",
       with(kThree, {"concat_obj (B, C, BC)",
                     "tile_images_offset (BC, T, [0, 1], [0, 2], [1, -1], [0, -1], [1, -1], "
                     "[0, -1], 3, 2)",
                     "get_grayval (T, [0, 1, 1, 0], [0, 2, 0, 2], R)"}),
       "[2, 3, 0, 0]"},
  });
  expectLineErrors(with(kThree, {"compose3 (C, C, C, C3)", "concat_obj (A, C3, M3)",
                                 "convert_image_type (C, CR, 'real')", "concat_obj (A, CR, MR)"}),
                   {{"tile_images (Images, T, 0, 'horizontal')", 1301},
                    {"tile_images (Images, T, 2, 'diagonal')", 1302},
                    {"tile_channels (A, T, 0, 'vertical')", 1301},
                    {"tile_images (M3, T, 1, 'vertical')", 3031},
                    {"tile_images (MR, T, 1, 'vertical')", 9001}});
}

// crop_domain_rel, HALCON 11.0: the domain's bounding box, Top, Left, Bottom and Right
// pixels inwards (outwards when negative). The ramp's grey value is its column.
TEST(CroppedImages, RelativeToTheDomain) {
  const Lines ramp{"gen_image_gray_ramp (I, 0, 1, 0, 0, 0, 10, 10)",
                   "gen_rectangle1 (Q, 2, 3, 5, 7)", "reduce_domain (I, Q, J)"};
  expectCases({
      {"0, 0, 0, 0: the box, rows 2..5 and columns 3..7",
       with(ramp, {"crop_domain_rel (J, P, 0, 0, 0, 0)", "get_image_size (P, W, H)",
                   "get_grayval (P, 0, 0, G)", "R := [W, H, G]"}),
       "[5, 4, 3]"},
      {"1 each side: rows 3..4, columns 4..6",
       with(ramp, {"crop_domain_rel (J, P, 1, 1, 1, 1)", "get_image_size (P, W, H)",
                   "get_grayval (P, 0, 0, G)", "R := [W, H, G]"}),
       "[3, 2, 4]"},
      {"-1 each side: rows 1..6, columns 2..8, the old domain kept",
       with(ramp, {"crop_domain_rel (J, P, -1, -1, -1, -1)", "get_image_size (P, W, H)",
                   "get_grayval (P, 0, 0, G)", "get_domain (P, D)",
                   "area_center (D, Area, Row, Col)", "R := [W, H, G, Area, Row, Col]"}),
       "[7, 6, 2, 20, 2.5, 3.0]"},
      {"far outwards: the whole image",
       with(ramp, {"crop_domain_rel (J, P, -100, -100, -100, -100)", "get_image_size (P, W, H)",
                   "R := [W, H]"}),
       "[10, 10]"},
      {"a 1 x 1 domain",
       with(ramp, {"gen_rectangle1 (S, 9, 9, 9, 9)", "reduce_domain (I, S, K)",
                   "crop_domain_rel (K, P, 0, 0, 0, 0)", "get_image_size (P, W, H)",
                   "get_grayval (P, 0, 0, G)", "R := [W, H, G]"}),
       "[1, 1, 9]"},
  });
  // Sides moved past each other, and an empty domain, which has no box.
  expectLineErrors(with(ramp, {"gen_empty_region (E)", "reduce_domain (I, E, K)"}),
                   {{"crop_domain_rel (J, P, 2, 0, 2, 0)", 1301},
                    {"crop_domain_rel (J, P, 0, 0, 0, 5)", 1304},
                    {"crop_domain_rel (K, P, 0, 0, 0, 0)", 3040}});
}

// add_channels, HALCON 11.0: one image a region, the image's grey values, the region clipped
// to the image its domain.
TEST(CroppedImages, ChannelsAddedToRegions) {
  const Lines ramp{"gen_image_gray_ramp (I, 0, 1, 0, 0, 0, 4, 4)"};
  expectCases({
      {"two regions, one reaching past the image: clipped to rows and columns 2..3",
       with(ramp, {"gen_rectangle1 (Q1, 0, 0, 0, 1)", "gen_rectangle1 (Q2, 2, 2, 10, 10)",
                   "concat_obj (Q1, Q2, Q)", "add_channels (Q, I, G)", "count_obj (G, N)",
                   "select_obj (G, G2, 2)", "get_domain (G2, D)", "area_center (D, Area, Row, Col)",
                   "get_grayval (G2, 0, 3, V)", "R := [N, Area, Row, Col, V]"}),
       "[2, 4, 2.5, 2.5, 3]"},
      {"no regions: no images",
       with(ramp, {"gen_empty_obj (E)", "add_channels (E, I, G)", "count_obj (G, R)"}), "0"},
      {"an empty region: an image with an empty domain",
       with(ramp, {"gen_empty_region (E)", "add_channels (E, I, G)", "get_domain (G, D)",
                   "area_center (D, R, Row, Col)"}),
       "0"},
  });
  EXPECT_EQ(programError(with(ramp, {"gen_rectangle1 (Q, 0, 0, 1, 1)", "concat_obj (I, I, II)",
                                     "add_channels (Q, II, G)"})),
            1502);
}

// get_grayval_interpolated, HALCON 11.0: nearest pixel (integers for integer images), the
// four neighbours weighted bilinearly, or sixteen bicubically (the kernel as the zooms use
// it, Keys' a = -0.5: w(0.5) = 0.5625, w(1.5) = -0.0625); the domain is not looked at;
// positions from -0.5 up to before size - 0.5.
TEST(InterpolatedGrayValues, NearestBilinearBicubic) {
  const Lines square{"gen_image_const (I, 'byte', 2, 2)",
                     "set_grayval (I, [0, 0, 1, 1], [0, 1, 0, 1], [10, 20, 30, 50])"};
  expectCases({
      {"nearest: (0.4, 0.6) is pixel (0, 1); (-0.5, -0.5) pixel (0, 0)",
       with(square, {"get_grayval_interpolated (I, [0.4, -0.5], [0.6, -0.5], "
                     "'nearest_neighbor', R)"}),
       "[20, 10]"},
      {"bilinear: the four's mean at (0.5, 0.5); a quarter along row 0; the border repeated",
       with(square, {"get_grayval_interpolated (I, [0.5, 0, -0.5, 1.25], [0.5, 0.25, -0.5, 0], "
                     "'bilinear', R)"}),
       "[27.5, 12.5, 10.0, 30.0]"},
      {"bicubic: a pixel centre gives the pixel; 0, 30, 0, 100 at 1.5 is "
       "30 w(0.5) + 100 w(1.5) = 16.875 - 6.25",
       {"gen_image_const (I, 'byte', 4, 1)", "set_grayval (I, [0, 0], [1, 3], [30, 100])",
        "get_grayval_interpolated (I, [0, 0], [1, 1.5], 'bicubic', R)"},
       "[30.0, 10.625]"},
      {"outside the domain",
       with(square, {"gen_rectangle1 (Q, 0, 0, 0, 0)", "reduce_domain (I, Q, J)",
                     "get_grayval_interpolated (J, 1, 1, 'bilinear', R)"}),
       "50.0"},
      {"a real image gives reals; no points, no values",
       {"gen_image_const (I, 'real', 1, 1)",
        "get_grayval_interpolated (I, 0, 0, "
        "'nearest_neighbor', A)",
        "get_grayval_interpolated (I, [], [], 'bilinear', B)", "R := [A, |B|]"},
       "[0.0, 0]"},
  });
  expectLineErrors(square, {{"get_grayval_interpolated (I, 1.5, 0, 'bilinear', R)", 1301},
                            {"get_grayval_interpolated (I, 0, -0.6, 'bilinear', R)", 1302},
                            {"get_grayval_interpolated (I, [0, 1], 0, 'bilinear', R)", 1402},
                            {"get_grayval_interpolated (I, 0, 0, 'spline', R)", 1303}});
}

// get_points_ellipse, HALCON 11.0: the point at Angle from the major axis, Phi turning the
// ellipse counter-clockwise (rows grow downwards); at 45 degrees with radii 5 and 3 the ray
// meets it at r = 15 / sqrt(17) = 3.638034, 2.572479 along each axis.
TEST(EllipsePoints, AlongTheRayAtEachAngle) {
  expectReals({
      {{"get_points_ellipse ([0, rad(90), rad(180), rad(45)], 10, 20, 0, 5, 3, Rw, Cl)",
        "R := [Rw, Cl]"},
       {10, 7, 10, 7.427521, 25, 20, 15, 22.572479},
       1e-6},
      {{"get_points_ellipse (0, 10, 20, rad(90), 5, 3, Rw, Cl)", "R := [Rw, Cl]"}, {5, 20}, 1e-9},
      {{"get_points_ellipse (rad(30), 10, 20, 0, 4, 4, Rw, Cl)", "R := [Rw, Cl]"},
       {8, 20 + 2 * std::sqrt(3.0)},
       1e-9},
      {{"get_points_ellipse ([0, 1], 10, 20, 0.3, 0, 0, Rw, Cl)", "R := [Rw, Cl]"},
       {10, 10, 20, 20},
       1e-9},
  });
  expectCases({{"no angles, no points",
                {"get_points_ellipse ([], 1, 2, 0, 5, 3, Rw, Cl)", "R := [|Rw|, |Cl|]"},
                "[0, 0]"}});
  expectErrors({{"get_points_ellipse (0, 1, 2, 0, -1, 3, Rw, Cl)", 1305},
                {"get_points_ellipse (0, 1, 2, 0, 5, -3, Rw, Cl)", 1306}},
               true);
}

// trans_from_rgb 'ihs', HALCON 11.0 (the formula as the 7.1 page prints it): I the mean,
// S = 1 - min / I, H = acos(((2R - G - B) / 2) / sqrt((R - G)^2 + (R - B)(G - B))),
// 2 pi - H when B > G; black has H 0 and S 1, greys H 0 and S 0. Bytes code I [0, 1],
// H [0, 2 pi[ and S [0, 1] onto 0 ... 255.
TEST(ColourSpaceIhs, FromRgb) {
  const auto ihs = [](const char* rgb) {
    return with({"gen_image_const (Rd, 'byte', 1, 1)", "gen_image_const (Gn, 'byte', 1, 1)",
                 "gen_image_const (Bl, 'byte', 1, 1)"},
                {std::string("V := ") + rgb, "set_grayval (Rd, 0, 0, V[0])",
                 "set_grayval (Gn, 0, 0, V[1])", "set_grayval (Bl, 0, 0, V[2])",
                 "trans_from_rgb (Rd, Gn, Bl, I, H, S, 'ihs')", "get_grayval (I, 0, 0, GI)",
                 "get_grayval (H, 0, 0, GH)", "get_grayval (S, 0, 0, GS)", "R := [GI, GH, GS]"});
  };
  expectCases({
      {"red: I 1/3 -> 85, H 0, S 1", ihs("[255, 0, 0]"), "[85, 0, 255]"},
      {"green: H acos(-1/2) = 120 degrees -> 85", ihs("[0, 255, 0]"), "[85, 85, 255]"},
      {"blue: B > G, H 240 degrees -> 170", ihs("[0, 0, 255]"), "[85, 170, 255]"},
      {"(200, 100, 0): I 100, H acos(150 / sqrt(30000)) = 30 degrees -> 21.25",
       ihs("[200, 100, 0]"), "[100, 21, 255]"},
      {"(0, 100, 200): H 360 - 150 = 210 degrees -> 148.75", ihs("[0, 100, 200]"),
       "[100, 149, 255]"},
      {"black: H 0, S 1", ihs("[0, 0, 0]"), "[0, 0, 255]"},
      {"grey 100: H 0, S 0", ihs("[100, 100, 100]"), "[100, 0, 0]"},
      {"white", ihs("[255, 255, 255]"), "[255, 0, 0]"},
  });
  // Real images keep the values: (0.2, 0.4, 0.6) has I 0.4, S 0.5, H 210 degrees.
  expectReals({{{"gen_image_const (Rd, 'real', 1, 1)", "gen_image_const (Gn, 'real', 1, 1)",
                 "gen_image_const (Bl, 'real', 1, 1)", "set_grayval (Rd, 0, 0, 0.2)",
                 "set_grayval (Gn, 0, 0, 0.4)", "set_grayval (Bl, 0, 0, 0.6)",
                 "trans_from_rgb (Rd, Gn, Bl, I, H, S, 'ihs')", "get_grayval (I, 0, 0, GI)",
                 "get_grayval (H, 0, 0, GH)", "get_grayval (S, 0, 0, GS)", "R := [GI, GH, GS]"},
                {0.4, 7 * 3.14159265358979323846 / 6, 0.5},
                1e-6}});
  // The page gives 'ihs' from RGB only: trans_to_rgb refuses it as an unknown space.
  EXPECT_EQ(programError(
                {"gen_image_const (A, 'byte', 1, 1)", "trans_to_rgb (A, A, A, Rd, Gn, Bl, 'ihs')"}),
            1301);
}

}  // namespace
