// Projective transformations through program lines, against values worked out by hand from
// the HALCON 11.0 reference (projective_trans_* and *_to_proj_hom_mat2d pages). A HomMat2D is
// the 3x3 matrix row by row, x the row; images and regions use the pixel coordinates of
// affine_trans_pixel: translate(-0.5, -0.5) * H * translate(0.5, 0.5).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// H halves x (the row) through w: x' = x / 2.
const std::string kHalveRows = "[1, 0, 0, 0, 1, 0, 0, 0, 2]";
// x' = x / (x + 1), y' = y / (x + 1): the points (0, 0), (1, 0), (0, 1), (1, 1) go to
// (0, 0), (0.5, 0), (0, 1), (0.5, 0.5).
const std::string kPerspective = "[1, 0, 0, 0, 1, 0, 1, 0, 1]";

TEST(ProjectiveTrans, PointsAndPixels) {
  expectReals({
      // projective_trans_point_2d, HALCON 11.0: (Qx, Qy, Qw) = H (Px, Py, Pw), not divided
      {{"projective_trans_point_2d ([1, 2, 3, 4, 5, 6, 7, 8, 9], [1, 1], [1, 0], [1, 2], Qx, "
        "Qy, Qw)",
        "R := [Qx, Qy, Qw]"},
       {6, 7, 15, 16, 24, 25}},
      {{"projective_trans_point_2d (" + kPerspective + ", [], [], [], Qx, Qy, Qw)",
        "R := [Qx, Qy, Qw]"},
       {}},
      // projective_trans_pixel, HALCON 11.0: pixel (1.5, 1.5) is the point (2, 2), which
      // x / (x / 2 + 1) takes to (1, 1), the pixel (0.5, 0.5)
      {{"projective_trans_pixel ([1, 0, 0, 0, 1, 0, 0.5, 0, 1], 1.5, 1.5, R1, C1)",
        "R := [R1, C1]"},
       {0.5, 0.5}},
      // six values are the affine matrix: as affine_trans_pixel, (1, 1) -> (2.5, 2.5)
      {{"projective_trans_pixel ([2, 0, 0, 0, 2, 0], 1, 1, R1, C1)", "R := [R1, C1]"}, {2.5, 2.5}},
  });
}

// vector_to_proj_hom_mat2d and hom_vector_to_proj_hom_mat2d, HALCON 11.0: four correspondences
// in general position fix H up to a factor, given here with H[8] = 1.
TEST(ProjectiveTrans, MatricesFromCorrespondences) {
  const std::string unit = "[0, 1, 0, 1], [0, 0, 1, 1]";
  const std::vector<double> perspective = {1, 0, 0, 0, 1, 0, 1, 0, 1};
  expectReals({
      {{"vector_to_proj_hom_mat2d (" + unit +
        ", [0, 0.5, 0, 0.5], [0, 0, 1, 0.5], 'normalized_dlt', [], [], [], [], [], [], R, C)"},
       perspective},
      {{"vector_to_proj_hom_mat2d (" + unit +
        ", [0, 0.5, 0, 0.5], [0, 0, 1, 0.5], 'dlt', [], [], [], [], [], [], R, C)"},
       perspective},
      // x' = 2 x + 5, y' = 3 y + 7
      {{"vector_to_proj_hom_mat2d (" + unit +
        ", [5, 7, 5, 7], [7, 7, 10, 10], 'normalized_dlt', [], [], [], [], [], [], R, C)"},
       {2, 0, 5, 0, 3, 7, 0, 0, 1}},
      // the same points with w = 2 on one side and the images' own w on the other
      {{"hom_vector_to_proj_hom_mat2d ([0, 2, 0, 2], [0, 0, 2, 2], [2, 2, 2, 2], [0, 1, 0, 1], "
        "[0, 0, 2, 1], [1, 2, 2, 2], 'normalized_dlt', R)"},
       perspective},
  });
}

// A 2 x 3 byte image (width 2, height 3) holding 10 r + 100 c at (r, c).
Lines withImage(const Lines& lines) {
  Lines all = {
      "gen_image_const (I, 'byte', 2, 3)",
      "set_grayval (I, [0, 0, 1, 1, 2, 2], [0, 1, 0, 1, 0, 1], [0, 100, 10, 110, 20, 120])"};
  all.insert(all.end(), lines.begin(), lines.end());
  return all;
}

// projective_trans_image(_size), HALCON 11.0: each output pixel takes the grey value where it
// maps back to. Halving, output pixel (r, c) maps back to the point (2 r + 0.5, 2 c + 0.5),
// nearest pixel (2 r + 1, 2 c + 1); only (0, 0) maps back inside the image.
TEST(ProjectiveTrans, ImagesResample) {
  const std::string all = "[0, 0, 0, 1, 1, 1], [0, 1, 2, 0, 1, 2]";
  const std::string area = "get_domain (T, D)", measure = "area_center (D, A, Row, Col)";
  expectReals({
      // turned by 90 degrees and moved down two rows, as nine values: (r, c) -> (1 - c, r)
      {withImage({"projective_trans_image (I, T, [0, -1, 2, 1, 0, 0, 0, 0, 1], "
                  "'nearest_neighbor', 'true', 'false')",
                  "get_image_size (T, W, H)", "get_grayval (T, " + all + ", G)", "R := [W, H, G]"}),
       {3, 2, 100, 110, 120, 0, 10, 20}},
      {withImage({"projective_trans_image (I, T, " + kHalveRows +
                      ", 'nearest_neighbor', 'false', 'false')",
                  "get_image_size (T, W, H)", area, measure, "get_grayval (T, 0, 0, G)",
                  "R := [W, H, A, G]"}),
       {2, 3, 1, 110}},
      // bilinear at (0.5, 0.5): the mean of 0, 100, 10 and 110
      {withImage(
           {"projective_trans_image_size (I, T, " + kHalveRows + ", 'bilinear', 4, 4, 'false')",
            "get_image_size (T, W, H)", "get_grayval (T, 0, 0, G)", "R := [W, H, G]"}),
       {4, 4, 55}},
      // adapted: the rows end at (2.5 + 0.5) / 2 - 0.5 = 1, the columns at 0.5
      {withImage({"projective_trans_image (I, T, [1, 0, 0, 0, 1, 0, 0, 0, 2], 'bilinear', "
                  "'true', 'false')",
                  "get_image_size (T, W, H)", "R := [W, H]"}),
       {1, 2}},
      // TransformDomain 'true' keeps the input's domain, 'false' the whole image
      {withImage({"gen_rectangle1 (Box, 0, 0, 0, 0)", "reduce_domain (I, Box, J)",
                  "projective_trans_image (J, T, [1, 0, 0, 0, 1, 0, 0, 0, 1], "
                  "'nearest_neighbor', 'false', 'true')",
                  area, measure, "R := A"}),
       {1}},
      {withImage({"gen_rectangle1 (Box, 0, 0, 0, 0)", "reduce_domain (I, Box, J)",
                  "projective_trans_image (J, T, [1, 0, 0, 0, 1, 0, 0, 0, 1], "
                  "'nearest_neighbor', 'false', 'false')",
                  area, measure, "R := A"}),
       {6}},
      {{"gen_empty_obj (E)",
        "projective_trans_image (E, T, " + kHalveRows + ", 'bilinear', 'true', 'false')",
        "count_obj (T, R)"},
       {0}},
  });
}

// projective_trans_region and projective_trans_contour_xld, HALCON 11.0.
TEST(ProjectiveTrans, RegionsAndContours) {
  const std::string box = "gen_rectangle1 (B, 0, 0, 3, 3)";
  const std::string shape = "area_center (T, A, Row, Col)";
  const std::string corners = "smallest_rectangle1 (T, R1, C1, R2, C2)";
  expectReals({
      {{box, "projective_trans_region (B, T, [1, 0, 10, 0, 1, 20, 0, 0, 1], 'nearest_neighbor')",
        shape, corners, "R := [A, R1, C1, R2, C2]"},
       {16, 10, 20, 13, 23}},
      // halved both ways (w = 2): output (r, c) comes from (2 r + 1, 2 c + 1), inside for
      // r, c in 0..1
      {{box, "projective_trans_region (B, T, [1, 0, 0, 0, 1, 0, 0, 0, 2], 'bilinear')", shape,
        corners, "R := [A, R1, C1, R2, C2]"},
       {4, 0, 0, 1, 1}},
      {{"gen_empty_region (B)",
        "projective_trans_region (B, T, " + kHalveRows + ", 'nearest_neighbor')", shape, "R := A"},
       {0}},
      // contours keep sub-pixel coordinates: (2, 4) has w = 2 and goes to (1, 2)
      {{"gen_contour_polygon_xld (C, [0, 2], [0, 4])",
        "projective_trans_contour_xld (C, T, [1, 0, 0, 0, 1, 0, 0.5, 0, 1])",
        "get_contour_xld (T, Rows, Cols)", "R := [Rows, Cols]"},
       {0, 1, 0, 2}},
      // (-1, 3) has w = 0 and is left out; (1, 4) has w = 2
      {{"gen_contour_polygon_xld (C, [-1, 1], [3, 4])",
        "projective_trans_contour_xld (C, T, " + kPerspective + ")",
        "get_contour_xld (T, Rows, Cols)", "R := [Rows, Cols]"},
       {0.5, 2}},
  });
}

// Wrong parameters raise the parameter's number; a matrix without an inverse, or points that
// leave it open, H_ERR_MATRIX_SING, 9205 (HALCON 11.0 error list).
TEST(ProjectiveTrans, WrongParametersRaiseTheVendorsNumbers) {
  const std::string image = "gen_image_const (I, 'byte', 4, 4)";
  const std::string box = "gen_rectangle1 (B, 0, 0, 2, 2)";
  const std::string id = "[1, 0, 0, 0, 1, 0, 0, 0, 1]";
  const std::string fit = "vector_to_proj_hom_mat2d (";
  const std::string noCov = ", [], [], [], [], [], [], R, C)";
  expectErrorCases({
      {{"projective_trans_point_2d ([1, 0, 0, 0, 1, 0, 0, 0], 1, 1, 1, X, Y, W)"}, 1401},
      {{"projective_trans_point_2d (" + id + ", [1, 2], [1], [1, 1], X, Y, W)"}, 1403},
      // the pixel (-0.5, 0) is the point (0, 0.5), where w = x = 0
      {{"projective_trans_pixel ([1, 0, 0, 0, 1, 0, 1, 0, 0], -0.5, 0, R1, C1)"}, 1302},
      {{fit + "[0, 1, 0], [0, 0, 1], [0, 1, 0], [0, 0, 1], 'dlt'" + noCov}, 1401},
      {{fit + "[0, 1, 0, 1], [0, 0, 1, 1], [0, 1, 0], [0, 0, 1, 1], 'dlt'" + noCov}, 1403},
      {{fit + "[0, 1, 0, 1], [0, 0, 1, 1], [0, 1, 0, 1], [0, 0, 1, 1], 'svd'" + noCov}, 1305},
      // four points on one line leave H open
      {{fit + "[0, 1, 2, 3], [0, 1, 2, 3], [0, 1, 2, 3], [0, 1, 2, 3], 'normalized_dlt'" + noCov},
       9205},
      {{image, "projective_trans_image (I, T, " + id + ", 'bicubic', 'true', 'false')"}, 1302},
      {{image, "projective_trans_image (I, T, " + id + ", 'bilinear', 'yes', 'false')"}, 1303},
      {{image, "projective_trans_image (I, T, " + id + ", 'bilinear', 'true', 'no')"}, 1304},
      {{image,
        "projective_trans_image (I, T, [0, 0, 0, 0, 0, 0, 0, 0, 0], 'bilinear', 'true', "
        "'false')"},
       9205},
      {{image, "projective_trans_image_size (I, T, " + id + ", 'bilinear', 0, 4, 'false')"}, 1303},
      {{image, "projective_trans_image_size (I, T, " + id + ", 'bilinear', 4, 4, 'x')"}, 1305},
      {{box, "projective_trans_region (B, T, " + id + ", 'constant')"}, 1302},
      {{box, "projective_trans_region (B, T, [1, 2, 3, 2, 4, 6, 0, 0, 1], 'bilinear')"}, 9205},
  });
}

}  // namespace
