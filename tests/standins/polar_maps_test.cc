// Polar transformations, maps, contour grey values and change_format through program lines,
// against values worked out by hand from the HALCON 11.0 reference (polar_trans_image_ext,
// polar_trans_image_inv, polar_trans_image, polar_trans_region(_inv),
// polar_trans_contour_xld(_inv)). Polar row r lies on the radius RadiusStart + r (RadiusEnd -
// RadiusStart) / (Height - 1), column c on the angle AngleStart + c (AngleEnd - AngleStart) /
// (Width - 1), counterclockwise as the image shows it: the point of radius d and angle a about
// (Row, Column) is (Row - d sin a, Column + d cos a).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A 9 x 9 ramp holding 10 r + c at (r, c), of the given type.
Lines ramp(const std::string& type = "byte") {
  return {"gen_image_gray_ramp (R0, 10, 1, 0, 0, 0, 9, 9)",
          "convert_image_type (R0, I, '" + type + "')"};
}

const std::string kAll3x3 = "[0, 0, 0, 1, 1, 1, 2, 2, 2], [0, 1, 2, 0, 1, 2, 0, 1, 2]";

// polar_trans_image_ext, HALCON 11.0: about (4, 4), radii 0, 2, 4 down the rows, angles 0,
// pi / 2, pi along the columns: (4, 4) three times; (4, 6), (2, 4), (4, 2); (4, 8), (0, 4),
// (4, 0).
TEST(PolarTrans, ImageSamplesTheArc) {
  const std::string ext = "polar_trans_image_ext (I, P, 4, 4, 0, rad(180), 0, 4, 3, 3, ";
  const std::string values = "get_grayval (P, " + kAll3x3 + ", G)";
  const std::string quarter =
      "polar_trans_image_ext (I, P, 4, 4, 0, rad(180), 1.25, 1.25, 2, 1, 'bilinear')";
  // The ramp of the type through `line`, and P's grey values at `at`.
  const auto arcValues = [](const std::string& type, const std::string& line,
                            const std::string& at) {
    return ramp(type) + Lines{line, "get_grayval (P, " + at + ", R)"};
  };
  expectReals({
      {ramp() +
           Lines{ext + "'nearest_neighbor')", values, "get_image_size (P, W, H)", "R := [W, H, G]"},
       {3, 3, 44, 44, 44, 46, 24, 42, 48, 4, 40}},
      // the pixel types the page allows keep their type and values
      {arcValues("uint2", ext + "'nearest_neighbor')", "2, 1"), {4}},
      {arcValues("int2", ext + "'bilinear')", "1, 2"), {42}},
      // angles from pi down to 0 turn the other way
      {arcValues("byte",
                 "polar_trans_image_ext (I, P, 4, 4, rad(180), 0, 2, 2, 3, 1, 'nearest_neighbor')",
                 "[0, 0, 0], [0, 1, 2]"),
       {42, 24, 46}},
      // bilinear at radius 1.25: (4, 5.25) and (4, 2.75)
      {arcValues("real", quarter, "[0, 0], [0, 1]"), {45.25, 42.75}},
      {arcValues("byte", quarter, "[0, 0], [0, 1]"), {45, 43}},
      // straight up from (1, 1): (1, 1), (0, 1), then (-1, 1) outside the image stays 0 and
      // in the domain
      {ramp() + Lines{"polar_trans_image_ext (I, P, 1, 1, rad(90), rad(90), 0, 2, 1, 3, "
                      "'nearest_neighbor')",
                      "get_grayval (P, [0, 1, 2], [0, 0, 0], G)", "get_domain (P, D)",
                      "area_center (D, A, Rw, C)", "R := [G, A]"},
       {11, 1, 0, 3}},
      // polar_trans_image, HALCON 11.0: Width angles over a full turn, one pixel of radius a
      // row; the last row (radius 2) at 0, pi / 2, pi, 3 pi / 2: (4, 6), (2, 4), (4, 2), (6, 4)
      {ramp() + Lines{"polar_trans_image (I, P, 4, 4, 4, 3)",
                      "get_grayval (P, [2, 2, 2, 2], [0, 1, 2, 3], G)", "get_image_size (P, W, H)",
                      "R := [W, H, G]"},
       {4, 3, 46, 24, 42, 64}},
  });
}

// polar_trans_image_inv, HALCON 11.0: the polar image of the ramp about (4, 4), angles 0 ..
// 3 pi / 2 over 4 columns and radii 0 .. 2 over 3 rows, taken back: pixels on the polar grid
// get their own values again, (6, 4) at -pi / 2 lies on the last column, (0, 0) beyond the
// largest radius is 0.
TEST(PolarTrans, InverseImageTakesTheArcBack) {
  const std::string arc = "4, 4, 0, rad(270), 0, 2, ";
  expectReals({
      {ramp() + Lines{"polar_trans_image_ext (I, P, " + arc + "4, 3, 'nearest_neighbor')",
                      "polar_trans_image_inv (P, X, " + arc + "9, 9, 'nearest_neighbor')",
                      "get_grayval (X, [4, 2, 6, 4, 0], [6, 4, 4, 4, 0], G)",
                      "get_image_size (X, W, H)", "R := [W, H, G]"},
       {9, 9, 46, 24, 64, 44, 0}},
      {ramp("real") + Lines{"polar_trans_image_ext (I, P, " + arc + "4, 3, 'bilinear')",
                            "polar_trans_image_inv (P, X, " + arc + "9, 9, 'bilinear')",
                            "get_grayval (X, [4, 2], [6, 4], G)", "R := G"},
       {46, 24},
       1e-6},
  });
}

// polar_trans_region and polar_trans_region_inv, HALCON 11.0, with the arc of the inverse
// image test: the ray of row 4 right of the centre holds the polar pixels (1, 0) and (2, 0)
// (the points (4, 5) and (4, 6)); taken back, the pixels whose nearest polar pixel is one of
// them: (4, 5), (4, 6), and (3, 6), (5, 6) at the angles +-0.46 (columns +-0.3); not (2, 5)
// (column 0.7), (4, 7) (radius 3) or the centre.
TEST(PolarTrans, Regions) {
  const std::string arc = "4, 4, 0, rad(270), 0, 2, ";
  const Lines ray = {"gen_rectangle1 (Ray, 4, 5, 4, 8)",
                     "polar_trans_region (Ray, P, " + arc + "4, 3, 'nearest_neighbor')"};
  expectCases({
      {"forward", ray + Lines{"get_region_points (P, Rs, Cs)", "R := [Rs, Cs]"}, "[1, 2, 0, 0]"},
      {"inverse",
       ray +
           Lines{"polar_trans_region_inv (P, X, " + arc + "4, 3, 9, 9, 'nearest_neighbor')",
                 "R := []", "for K := 0 to 6 by 1",
                 "  test_region_point (X, [3, 4, 4, 5, 2, 4, 4][K], [6, 5, 6, 6, 5, 7, 4][K], In)",
                 "  R := [R, In]", "endfor"},
       "[1, 1, 1, 1, 0, 0, 0]"},
      // (4.4, 5.6) lies in the pixel (4, 6), but only 0.6 * 0.6 of it interpolates there
      {"bilinear",
       Lines{"gen_rectangle1 (Dot, 4, 6, 4, 6)",
             "polar_trans_region (Dot, N, 4.4, 5.6, 0, 0, 0, 0, 1, 1, 'nearest_neighbor')",
             "polar_trans_region (Dot, B, 4.4, 5.6, 0, 0, 0, 0, 1, 1, 'bilinear')",
             "area_center (N, AN, R1, C1)", "area_center (B, AB, R2, C2)", "R := [AN, AB]"},
       "[1, 0]"},
      {"empty region",
       {"gen_empty_region (E)", "polar_trans_region (E, P, 4, 4, 0, 6.28, 0, 9, 9, 9, 'bilinear')",
        "area_center (P, A, R1, C1)", "count_obj (P, N)", "R := [N, A]"},
       "[1, 0]"},
  });
}

// polar_trans_contour_xld and polar_trans_contour_xld_inv, HALCON 11.0: points map exactly,
// the results are cut at rows 0 .. Height - 1 and columns 0 .. Width - 1.
TEST(PolarTrans, Contours) {
  // atan(1 / 2) / (pi / 2): the column of (3, 6) about (4, 4) at pi / 2 a column
  const double c = 0.29516723530086;
  const double d = 2.2360679774997896;  // its radius, sqrt(5), one row a pixel
  // The contour through `points` after `ops` (writing X), and X's points.
  const auto moved = [](const std::string& points, const Lines& ops) {
    return Lines{"gen_contour_polygon_xld (C, " + points + ")"} + ops +
           Lines{"get_contour_xld (X, Rs, Cs)", "R := [Rs, Cs]"};
  };
  const std::string forward = "polar_trans_contour_xld (C, X, 4, 4, 0, rad(90), 0, 2, 3, 3)";
  const std::string back = "polar_trans_contour_xld_inv (C, X, 4, 4, 0, rad(90), 0, 2, 3, 3, ";
  expectReals({
      // (4, 6) and (2, 4) at radius 2 and the angles 0 and pi / 2
      {moved("[4, 2], [6, 4]", {forward}), {2, 2, 0, 2}},
      // across the angle 0 of a full turn: split there, once near column 0 and once near the
      // last column 4
      {{"gen_contour_polygon_xld (C, [3, 5], [6, 6])",
        "polar_trans_contour_xld (C, P, 4, 4, 0, rad(360), 0, 4, 5, 5)", "count_obj (P, N)",
        "select_obj (P, P1, 1)", "select_obj (P, P2, 2)", "get_contour_xld (P1, R1, C1)",
        "get_contour_xld (P2, R2, C2)", "R := [N, R1, C1, R2, C2]"},
       {2, d, d, c, 0, d, d, 4, 4 - c}},
      // left of the centre the angle runs on across pi: one contour from column 2 - c to 2 + c
      {{"gen_contour_polygon_xld (C, [3, 5], [2, 2])",
        "polar_trans_contour_xld (C, P, 4, 4, 0, rad(360), 0, 4, 5, 5)", "count_obj (P, N)",
        "get_contour_xld (P, Rs, Cs)", "R := [N, Rs, Cs]"},
       {1, d, d, 2 - c, 2 + c}},
      // back: (2, 0) and (2, 2) are (4, 6) and (2, 4); cut at column 5 of a width of 6
      {moved("[2, 2], [0, 2]", {back + "9, 9)"}), {4, 2, 6, 4}},
      {moved("[2, 2], [0, 2]", {back + "6, 9)"}), {3, 2, 5, 4}},
      // there and back: the points again
      {moved("[4, 2], [6, 4]",
             {"polar_trans_contour_xld (C, P, 4, 4, 0, rad(90), 0, 2, 3, 3)",
              "polar_trans_contour_xld_inv (P, X, 4, 4, 0, rad(90), 0, 2, 3, 3, 9, 9)"}),
       {4, 2, 6, 4}},
      // a contour without points, and none at all, give none
      {{"gen_contour_polygon_xld (C, [], [])", forward, "count_obj (X, R)"}, {0}},
      {{"gen_empty_obj (E)", "polar_trans_contour_xld_inv (E, X, 4, 4, 0, 1, 0, 2, 3, 3, 9, 9)",
        "count_obj (X, R)"},
       {0}},
  });
}

// The parameter checks of the pages: sizes from 1, the two interpolations, one value each,
// the pixel types byte, int2, uint2 and real; no images give none.
TEST(PolarTrans, BadParametersAndEmptyInputs) {
  const std::string arc = "4, 4, 0, 1, 0, 2, ";
  expectCases({{"no images",
                {"gen_empty_obj (E)", "polar_trans_image_ext (E, P, " + arc + "3, 3, 'bilinear')",
                 "polar_trans_image_inv (E, X, " + arc + "3, 3, 'bilinear')",
                 "polar_trans_image (E, Q, 4, 4, 3, 3)", "count_obj (P, N1)", "count_obj (X, N2)",
                 "count_obj (Q, N3)", "R := [N1, N2, N3]"},
                "[0, 0, 0]"}});
  const std::string c = "gen_contour_polygon_xld (C, [1, 2], [1, 2])";
  expectErrorCases({{{"polar_trans_image_ext (I, P, " + arc + "0, 3, 'bilinear')"}, 1307},
                    {{"polar_trans_image_ext (I, P, " + arc + "3, 0, 'bilinear')"}, 1308},
                    {{"polar_trans_image_ext (I, P, " + arc + "3, 3, 'bicubic')"}, 1309},
                    {{"polar_trans_image_ext (I, P, [], 4, 0, 1, 0, 2, 3, 3, 'bilinear')"}, 1401},
                    {{"polar_trans_image_inv (I, P, " + arc + "3, 3, 'constant')"}, 1309},
                    {{"polar_trans_image (I, P, 4, 4, 3, 0)"}, 1304},
                    {{"convert_image_type (I, J, 'int4')",
                      "polar_trans_image_ext (J, P, " + arc + "3, 3, 'bilinear')"},
                     9001},
                    {{"polar_trans_region (I, P, " + arc + "3, 3, 'linear')"}, 1309},
                    {{"polar_trans_region_inv (I, P, " + arc + "3, 3, 9, 0, 'bilinear')"}, 1310},
                    {{"polar_trans_region_inv (I, P, " + arc + "3, 3, 9, 9, 'linear')"}, 1311},
                    {{"polar_trans_contour_xld (I, P, " + arc + "3, 3)"}, 1101},
                    {{c, "polar_trans_contour_xld (C, P, " + arc + "0, 3)"}, 1307},
                    {{c, "polar_trans_contour_xld_inv (C, P, " + arc + "3, 3, 3, 0)"}, 1310}},
                   ramp());
}

// get_grayval_contour_xld, HALCON 11.0: the grey values at the contour's points, as
// get_grayval_interpolated gives them; on the ramp 10 r + c, (2.5, 3.25) is 28.25 bilinear and
// (3, 3) nearest; (-3, 4) beyond the image reads the first row.
TEST(ContourGrayValues, AtThePoints) {
  const Lines contour =
      ramp() + Lines{"gen_contour_polygon_xld (C, [1, 2.5, 8, -3], [2, 3.25, 8, 4])"};
  expectCases({
      {"nearest", contour + Lines{"get_grayval_contour_xld (I, C, 'nearest_neighbor', R)"},
       "[12, 33, 88, 4]"},
      {"bilinear", contour + Lines{"get_grayval_contour_xld (I, C, 'bilinear', R)"},
       "[12.0, 28.25, 88.0, 4.0]"},
  });
  expectLineErrors({
      {"gen_image_const (I, 'byte', 4, 4)\ngen_contour_polygon_xld (C, [1], [1])\n"
       "concat_obj (C, C, CC)\nget_grayval_contour_xld (I, CC, 'bilinear', R)",
       1502},
      {"gen_image_const (I, 'byte', 4, 4)\ngen_contour_polygon_xld (C, [1], [1])\n"
       "get_grayval_contour_xld (I, C, 'bicubic_clipped', R)",
       1301},
      {"gen_image_const (I, 'byte', 4, 4)\nget_grayval_contour_xld (I, I, 'bilinear', R)", 1102},
  });
}

// map_image and convert_map_type, HALCON 11.0: a two-channel real map holds each pixel's
// source row and column (bilinear), an int4 map the source's index row * width + column; on
// the ramp 10 r + c, (1.5, 2.25) is 17.25 and index 12 the pixel (1, 3). Pixels whose source
// lies outside the image, or index nothing, leave the domain.
TEST(MapImage, SubPixelAndIndexMaps) {
  const Lines subPixel = {"gen_image_const (Mr, 'real', 2, 1)",
                          "gen_image_const (Mc, 'real', 2, 1)",
                          "set_grayval (Mr, [0, 0], [0, 1], [1.5, 8])",
                          "set_grayval (Mc, [0, 0], [0, 1], [2.25, 20])", "compose2 (Mr, Mc, M)"};
  const Lines index = {"gen_image_const (M, 'int4', 3, 1)",
                       "set_grayval (M, [0, 0, 0], [0, 1, 2], [12, -1, 80])"};
  const Lines area = {"get_domain (T, D)", "area_center (D, A, Rw, Cl)"};
  expectCases({
      {"sub-pixel",
       ramp("real") + subPixel + Lines{"map_image (I, M, T)"} + area +
           Lines{"get_grayval (T, 0, 0, G)", "R := [A, G]"},
       "[1, 17.25]"},
      {"bytes round", ramp() + subPixel + Lines{"map_image (I, M, T)", "get_grayval (T, 0, 0, R)"},
       "17"},
      {"index",
       ramp() + index + Lines{"map_image (I, M, T)"} + area +
           Lines{"get_grayval (T, [0, 0], [0, 2], G)", "R := [A, G]"},
       "[2, 13, 88]"},
      {"converted",
       index + Lines{"convert_map_type (M, T, 'coord_map_sub_pix', 9)"} + area +
           Lines{"decompose2 (T, Rs, Cs)", "get_grayval (Rs, [0, 0], [0, 2], G1)",
                 "get_grayval (Cs, [0, 0], [0, 2], G2)", "R := [A, G1, G2]"},
       "[2, 1.0, 8.0, 3.0, 8.0]"},
      {"no images", index + Lines{"gen_empty_obj (E)", "map_image (E, M, T)", "count_obj (T, R)"},
       "0"},
  });
  const std::string m = "gen_image_const (M, 'int4', 3, 1)";
  expectErrorCases({{{"gen_image_const (M, 'byte', 3, 1)", "map_image (I, M, T)"}, 9001},
                    {{"gen_image_const (M, 'real', 3, 1)", "map_image (I, M, T)"}, 9001},
                    {{m, "concat_obj (M, M, MM)", "map_image (I, MM, T)"}, 1502},
                    {{m, "convert_map_type (M, T, 'bilinear', 9)"}, 1301},
                    {{m, "convert_map_type (M, T, 'coord_map_sub_pix', 0)"}, 1302}},
                   ramp());
}

// change_format, HALCON 11.0: the top left part, padded with 0; the domain is cut, not grown.
TEST(ChangeFormat, CutsAndPads) {
  expectCases({
      {"smaller",
       ramp() + Lines{"change_format (I, J, 3, 2)", "get_image_size (J, W, H)", "get_domain (J, D)",
                      "area_center (D, A, Rw, Cl)", "get_grayval (J, 1, 2, G)",
                      "R := [W, H, A, G]"},
       "[3, 2, 6, 12]"},
      {"larger",
       ramp() + Lines{"gen_rectangle1 (Box, 0, 0, 1, 1)", "reduce_domain (I, Box, K)",
                      "change_format (K, J, 12, 10)", "get_image_size (J, W, H)",
                      "get_domain (J, D)", "area_center (D, A, Rw, Cl)",
                      "get_grayval (J, [8, 9], [8, 11], G)", "R := [W, H, A, G]"},
       "[12, 10, 4, 88, 0]"},
  });
  expectLineErrors({{"gen_image_const (I, 'byte', 4, 4)\nchange_format (I, J, 0, 2)", 1301},
                    {"gen_image_const (I, 'byte', 4, 4)\nchange_format (I, J, 2, 0)", 1302}});
}

}  // namespace
