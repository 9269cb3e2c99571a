// 2-D transformation operators through program lines, against matrices, points, regions and
// images worked out by hand from the vendor's definitions (HALCON 11.0 reference, chapter
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

struct Reals {
  Lines lines;  // operator lines writing R
  std::vector<double> expected;
};

void expectReals(const std::vector<Reals>& rows) {
  for (const Reals& row : rows) {
    const std::string name = row.lines.back();
    HTuple r;
    try {
      r = runLines(row.lines);
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << name << ": " << e.Message();
      continue;
    }
    ASSERT_EQ(r.Length(), static_cast<Hlong>(row.expected.size())) << name << ": " << text(r);
    for (std::size_t i = 0; i < row.expected.size(); ++i) {
      EXPECT_NEAR(r[static_cast<Hlong>(i)].D(), row.expected[i], 1e-9)
          << name << " [" << i << "]: " << text(r);
    }
  }
}

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
      {{"hom_mat2d_to_affine_par ([1, -0.5, 0, 0, " + std::to_string(kCos30) +
            ", 0], Sx, Sy, Phi, Theta, Tx, Ty)",
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

struct Failure {
  Lines lines;
  long number;
};

// A HomMat2D of another length than six, or a text where a number belongs, raises the
// parameter's number; a matrix without an inverse raises H_ERR_MATRIX_SING, 9205 (HALCON 11.0
// reference, chapter "Tools / 2D Transformations", hom_mat2d_invert).
TEST(HomMat2d, WrongParametersRaiseTheVendorsNumbers) {
  const std::string id = "[1, 0, 0, 0, 1, 0]";
  const Failure rows[] = {
      {{"hom_mat2d_translate ([1, 0, 0, 0, 1], 1, 1, R)"}, 1401},
      {{"hom_mat2d_translate ([1, 0, 0, 0, 1, 0, 0], 1, 1, R)"}, 1401},
      {{"hom_mat2d_translate (" + id + ", 'a', 1, R)"}, 1202},
      {{"hom_mat2d_translate (" + id + ", 1, [], R)"}, 1403},
      {{"hom_mat2d_compose (" + id + ", [1, 0, 0], R)"}, 1402},
      {{"hom_mat2d_slant (" + id + ", 0.5, 'z', 0, 0, R)"}, 1303},
      {{"hom_mat2d_invert ([1, 2, 3, 2, 4, 6], R)"}, 9205},
      {{"vector_to_rigid (1, 1, 2, 2, R)"}, 1401},
  };
  for (const Failure& row : rows)
    EXPECT_EQ(programError(row.lines), row.number) << row.lines.back();
}

}  // namespace
