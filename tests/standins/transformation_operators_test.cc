// 2-D transformation operators through program lines, against matrices, points, regions and
// images worked out by hand from the vendor's definitions (HALCON 11.0 reference, chapter
// "Tools / 2D Transformations" and the affine_trans_* pages). HomMat2D tuples are the rows
// [a b c d e f] of the 3x3 matrix whose last row [0 0 1] is left out; x is the row.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;

constexpr double kPi = 3.14159265358979323846;
const double kCos30 = std::sqrt(3.0) / 2;

// Matrices built step by step: each step's matrix applied before (global) or after (_local)
// the given one. M is a rotation by 90 degrees after a translation by (5, 7).
TEST(HomMat2d, BuildingStepsComposeAsTheReferenceDefines) {
  const std::string m = "[1, 0, 5, 0, 1, 7]";
  expectReals({
      // hom_mat2d_identity, HALCON 11.0 reference: the 3x3 identity
      {{"hom_mat2d_identity (R)"}, {1, 0, 0, 0, 1, 0}},
      // hom_mat2d_translate, HALCON 11.0 reference: [1 0 Tx; 0 1 Ty] * HomMat2D
      {{"hom_mat2d_translate ([1, 2, 3, 4, 5, 6], 10, -20, R)"}, {1, 2, 13, 4, 5, -14}},
      // hom_mat2d_translate_local, HALCON 11.0 reference: HomMat2D * [1 0 Tx; 0 1 Ty]
      {{"hom_mat2d_translate_local ([1, 2, 3, 4, 5, 6], 10, -20, R)"}, {1, 2, -27, 4, 5, -54}},
      // hom_mat2d_rotate, HALCON 11.0 reference: R = [cos -sin; sin cos] about (Px, Py),
      // x' = -(y - 3) + 2, y' = (x - 2) + 3
      {{"hom_mat2d_rotate ([1, 0, 0, 0, 1, 0], rad(90), 2, 3, R)"}, {0, -1, 5, 1, 0, 1}},
      {{"hom_mat2d_rotate (" + m + ", rad(90), 0, 0, R)"}, {0, -1, -7, 1, 0, 5}},
      // hom_mat2d_rotate_local, HALCON 11.0 reference: HomMat2D * R
      {{"hom_mat2d_rotate_local (" + m + ", rad(90), R)"}, {0, -1, 5, 1, 0, 7}},
      // hom_mat2d_scale, HALCON 11.0 reference: diag(Sx, Sy) about (Px, Py)
      {{"hom_mat2d_scale ([1, 0, 0, 0, 1, 0], 2, 3, 1, 1, R)"}, {2, 0, -1, 0, 3, -2}},
      {{"hom_mat2d_scale (" + m + ", 2, 3, 0, 0, R)"}, {2, 0, 10, 0, 3, 21}},
      // hom_mat2d_scale_local, HALCON 11.0 reference: HomMat2D * diag(Sx, Sy)
      {{"hom_mat2d_scale_local (" + m + ", 2, 3, R)"}, {2, 0, 5, 0, 3, 7}},
      // hom_mat2d_slant, HALCON 11.0 reference: 'x' [cos 0; sin 1], 'y' [1 -sin; 0 cos],
      // about (Px, Py)
      {{"hom_mat2d_slant ([1, 0, 0, 0, 1, 0], rad(30), 'x', 0, 0, R)"}, {kCos30, 0, 0, 0.5, 1, 0}},
      {{"hom_mat2d_slant ([1, 0, 0, 0, 1, 0], rad(30), 'y', 0, 0, R)"}, {1, -0.5, 0, 0, kCos30, 0}},
      {{"hom_mat2d_slant ([1, 0, 0, 0, 1, 0], rad(30), 'x', 2, 0, R)"},
       {kCos30, 0, 2 - 2 * kCos30, 0.5, 1, -1}},
      // hom_mat2d_slant_local, HALCON 11.0 reference: HomMat2D * slant
      {{"hom_mat2d_slant_local (" + m + ", rad(30), 'y', R)"}, {1, -0.5, 5, 0, kCos30, 7}},
  });
}

TEST(HomMat2d, AlgebraMatchesTheReference) {
  expectReals({
      // hom_mat2d_compose, HALCON 11.0 reference: HomMat2DLeft * HomMat2DRight
      {{"hom_mat2d_compose ([1, 2, 3, 4, 5, 6], [0, -1, 5, 1, 0, 1], R)"}, {2, -1, 10, 5, -4, 31}},
      // hom_mat2d_invert, HALCON 11.0 reference: x = (x' - 4) / 2, y = (y' - 8) / 4
      {{"hom_mat2d_invert ([2, 0, 4, 0, 4, 8], R)"}, {0.5, 0, -2, 0, 0.25, -2}},
      // x' = -y + 5, y' = x + 1 backwards: x = y' - 1, y = 5 - x'
      {{"hom_mat2d_invert ([0, -1, 5, 1, 0, 1], R)"}, {0, 1, -1, -1, 0, 5}},
      // hom_mat2d_transpose, HALCON 11.0 reference: the full 3x3 transposed, nine values
      {{"hom_mat2d_transpose ([1, 2, 3, 4, 5, 6], R)"}, {1, 4, 0, 2, 5, 0, 3, 6, 1}},
      // hom_mat2d_determinant, HALCON 11.0 reference: 2 * 4 - 1 * 3
      {{"hom_mat2d_determinant ([2, 1, 7, 3, 4, 9], R)"}, {5}},
      // hom_mat2d_to_affine_par, HALCON 11.0 reference:
      // [Sx cos Phi, -Sy sin(Phi + Theta), Tx, Sx sin Phi, Sy cos(Phi + Theta), Ty]
      {{"hom_mat2d_to_affine_par ([2, 0, 5, 0, 3, 7], Sx, Sy, Phi, Theta, Tx, Ty)",
        "R := [Sx, Sy, Phi, Theta, Tx, Ty]"},
       {2, 3, 0, 0, 5, 7}},
      {{"hom_mat2d_to_affine_par ([0, -3, 0, 2, 0, 0], Sx, Sy, Phi, Theta, Tx, Ty)",
        "R := [Sx, Sy, Phi, Theta, Tx, Ty]"},
       {2, 3, kPi / 2, 0, 0, 0}},
      {{"hom_mat2d_to_affine_par ([1, -0.5, 0, 0, cos(rad(30)), 0], Sx, Sy, Phi, Theta, Tx, Ty)",
        "R := [Sx, Phi, Theta]"},
       {1, 0, kPi / 6}},
      // vector_angle_to_rigid, HALCON 11.0 reference: turned by Angle2 - Angle1 about
      // (Row1, Column1), then moved onto (Row2, Column2)
      {{"vector_angle_to_rigid (10, 20, 0, 30, 40, rad(90), R)"}, {0, -1, 50, 1, 0, 30}},
      // vector_to_rigid, HALCON 11.0 reference: (0, 0) -> (5, 5) and (1, 0) -> (5, 6)
      {{"vector_to_rigid ([0, 1], [0, 0], [5, 5], [5, 6], R)"}, {0, -1, 5, 1, 0, 5}},
      // vector_to_similarity, HALCON 11.0 reference: the unit step becomes (0, 2)
      {{"vector_to_similarity ([0, 1], [0, 0], [0, 0], [0, 2], R)"}, {0, -2, 0, 2, 0, 0}},
  });
}

// Points take the matrix as it is; pixels have their origin at the first pixel's centre
// (affine_trans_pixel, HALCON 11.0 reference: translate_local(0.5, 0.5), translate(-0.5,
// -0.5), then affine_trans_point_2d).
TEST(AffineTrans, PointsAndPixels) {
  expectReals({
      // x' = -y + 5, y' = x + 1
      {{"affine_trans_point_2d ([0, -1, 5, 1, 0, 1], [1, 2], [3, 4], Qx, Qy)", "R := [Qx, Qy]"},
       {2, 1, 2, 3}},
      {{"affine_trans_point_2d ([2, 0, 0, 0, 2, 0], 1, 1, Qx, Qy)", "R := [Qx, Qy]"}, {2, 2}},
      {{"affine_trans_point_2d ([2, 0, 0, 0, 2, 0], [], [], Qx, Qy)", "R := [Qx, Qy]"}, {}},
      // 2 * (1 + 0.5) - 0.5
      {{"affine_trans_pixel ([2, 0, 0, 0, 2, 0], 1, 1, Qx, Qy)", "R := [Qx, Qy]"}, {2.5, 2.5}},
      // -(c + 0.5) + 5 - 0.5 and (r + 0.5) + 1 - 0.5
      {{"affine_trans_pixel ([0, -1, 5, 1, 0, 1], [1, 2], [3, 4], Qx, Qy)", "R := [Qx, Qy]"},
       {1, 0, 2, 3}},
  });
}

// A 3 x 2 rectangle (rows 0..2, columns 0..1). Turned by 90 degrees about the origin, pixel
// (r, c) goes to (-c - 1, r) (affine_trans_region, HALCON 11.0 reference, with the pixel
// coordinates of affine_trans_pixel).
Lines boxThrough(const std::string& matrix, const char* interpolate) {
  return {"gen_rectangle1 (B, 0, 0, 2, 1)",
          "affine_trans_region (B, T, " + matrix + ", '" + interpolate + "')",
          "area_center (T, A, Row, Col)", "smallest_rectangle1 (T, R1, C1, R2, C2)",
          "R := [A, R1, C1, R2, C2]"};
}

TEST(AffineTrans, RegionsMoveAndTurn) {
  const std::string quarter = "[0, -1, 0, 1, 0, 0]";  // hom_mat2d_rotate by rad(90) about 0, 0
  expectReals({
      {boxThrough("[1, 0, 10, 0, 1, 20]", "nearest_neighbor"), {6, 10, 20, 12, 21}},
      {boxThrough(quarter, "nearest_neighbor"), {6, -2, 0, -1, 2}},
      {boxThrough(quarter, "constant"), {6, -2, 0, -1, 2}},
      // doubled about the origin: pixel (r, c) covers [2r, 2r + 1] x [2c, 2c + 1]
      {boxThrough("[2, 0, 0, 0, 2, 0]", "nearest_neighbor"), {24, 0, 0, 5, 3}},
      {{"gen_empty_region (B)", "affine_trans_region (B, T, [1, 0, 3, 0, 1, 3], 'constant')",
        "area_center (T, A, Row, Col)", "R := A"},
       {0}},
  });
}

// A 2 x 3 byte image (width 2, height 3) holding 10 r + 100 c at (r, c), turned by 90 degrees
// and moved down two rows: pixel (r, c) goes to (1 - c, r).
Lines withImage(const Lines& lines) {
  Lines all = {
      "gen_image_const (I, 'byte', 2, 3)",
      "set_grayval (I, [0, 0, 1, 1, 2, 2], [0, 1, 0, 1, 0, 1], [0, 100, 10, 110, 20, 120])",
      "hom_mat2d_rotate ([1, 0, 0, 0, 1, 0], rad(90), 0, 0, M0)",
      "hom_mat2d_translate (M0, 2, 0, M)",
  };
  all.insert(all.end(), lines.begin(), lines.end());
  return all;
}

// affine_trans_image, HALCON 11.0 reference: each output pixel takes the grey value where it
// maps back to; the domain is the input's rectangle transformed, cut to the output; with
// AdaptImageSize 'true' the output reaches the transformed image's lower and right edge.
TEST(AffineTrans, ImagesTurnAndResample) {
  const std::string all = "[0, 0, 0, 1, 1, 1], [0, 1, 2, 0, 1, 2]";
  expectReals({
      {withImage({"affine_trans_image (I, T, M, 'nearest_neighbor', 'true')",
                  "get_image_size (T, W, H)", "get_grayval (T, " + all + ", G)", "R := [W, H, G]"}),
       {3, 2, 100, 110, 120, 0, 10, 20}},
      {withImage({"affine_trans_image_size (I, T, M, 'bilinear', 3, 2)",
                  "get_grayval (T, " + all + ", G)", "R := G"}),
       {100, 110, 120, 0, 10, 20}},
      // the input's size kept: output row 2 maps back to column -1, out of the domain
      {withImage({"affine_trans_image (I, T, M, 'nearest_neighbor', 'false')",
                  "get_image_size (T, W, H)", "get_domain (T, D)", "area_center (D, A, Row, Col)",
                  "R := [W, H, A]"}),
       {2, 3, 4}},
      // half a column to the right: bilinear weighs both neighbours by 1/2, nearest takes the
      // right one
      {withImage({"affine_trans_image (I, T, [1, 0, 0, 0, 1, 0.5], 'bilinear', 'false')",
                  "get_grayval (T, [0, 2], [1, 1], G)", "R := G"}),
       {50, 70}},
      {withImage({"affine_trans_image (I, T, [1, 0, 0, 0, 1, 0.5], 'weighted', 'false')",
                  "get_grayval (T, [0, 2], [1, 1], G)", "R := G"}),
       {50, 70}},
      {withImage({"affine_trans_image (I, T, [1, 0, 0, 0, 1, 0.5], 'nearest_neighbor', 'false')",
                  "get_grayval (T, 0, 1, G)", "R := G"}),
       {100}},
      {{"gen_empty_obj (E)", "affine_trans_image (E, T, [1, 0, 0, 0, 1, 0], 'bilinear', 'true')",
        "count_obj (T, R)"},
       {0}},
  });
}

// A HomMat2D of another length than six, or a text where a number belongs, raises the
// parameter's number; a matrix without an inverse raises H_ERR_MATRIX_SING, 9205 (HALCON 11.0
// reference, chapter "Tools / 2D Transformations", hom_mat2d_invert).
TEST(HomMat2d, WrongParametersRaiseTheVendorsNumbers) {
  const std::string id = "[1, 0, 0, 0, 1, 0]";
  const std::string box = "gen_rectangle1 (B, 0, 0, 2, 2)";
  const std::string image = "gen_image_const (I, 'byte', 4, 4)";
  expectErrorCases({
      {{"hom_mat2d_translate ([1, 0, 0, 0, 1], 1, 1, R)"}, 1401},
      {{"hom_mat2d_translate ([1, 0, 0, 0, 1, 0, 0], 1, 1, R)"}, 1401},
      {{"hom_mat2d_translate (" + id + ", 'a', 1, R)"}, 1202},
      {{"hom_mat2d_translate (" + id + ", 1, [], R)"}, 1403},
      {{"hom_mat2d_compose (" + id + ", [1, 0, 0], R)"}, 1402},
      {{"hom_mat2d_slant (" + id + ", 0.5, 'z', 0, 0, R)"}, 1303},
      {{"hom_mat2d_invert ([1, 2, 3, 2, 4, 6], R)"}, 9205},
      {{"affine_trans_point_2d (" + id + ", [1, 2], [1], Qx, Qy)"}, 1403},
      {{"vector_to_rigid (1, 1, 2, 2, R)"}, 1401},
      {{box, "affine_trans_region (B, T, " + id + ", 'bilinear')"}, 1302},
      {{box, "affine_trans_region (B, T, [1, 2, 0, 2, 4, 0], 'constant')"}, 9205},
      {{image, "affine_trans_image (I, T, " + id + ", 'bicubic', 'true')"}, 1302},
      {{image, "affine_trans_image (I, T, " + id + ", 'bilinear', 'yes')"}, 1303},
      {{image, "affine_trans_image (I, T, [0, 0, 0, 0, 0, 0], 'bilinear', 'true')"}, 9205},
      {{image, "affine_trans_image_size (I, T, " + id + ", 'bilinear', 0, 4)"}, 1303},
  });
}

// The vendor's text of H_ERR_MATRIX_SING (HALCON 11.0 error list), through the C++ interface.
TEST(HomMat2d, SingularMatrixHasItsErrorText) {
  HTuple message;
  HalconCpp::GetErrorText(9205, &message);
  ASSERT_EQ(message.Length(), 1);
  EXPECT_EQ(message[0].S().str(), std::string("Matrix is singular"));
}

}  // namespace
