// 3-D poses, homogeneous 3-D matrices and quaternions through program lines, against values
// worked out by hand from the HALCON 11.0 reference (create_pose, hom_mat3d_*, pose_* and
// quat_* pages). A HomMat3D lists the rows [R | t] of the 4x4 matrix; Rx(90) is
// [[1, 0, 0], [0, 0, -1], [0, 1, 0]] and Rz(90) is [[0, -1, 0], [1, 0, 0], [0, 0, 1]].
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Program lines and the error number each raises.
const double kC45 = 0.70710678118654757;                       // cos 45 degrees = sin 45 degrees
const std::string kQuarterZ = "[sqrt(0.5), 0, 0, sqrt(0.5)]";  // a quarter turn about z

Reals matrixOf(const std::string& pose, std::vector<double> expected) {
  return {{"pose_to_hom_mat3d (" + pose + ", R)"}, std::move(expected)};
}

// create_pose and get_pose_type, HALCON 11.0: the type code is 1 for 'R(p-T)', 2 for 'abg',
// 4 for 'rodriguez' and 8 for 'coordinate_system', added; angles come back in [0, 360).
TEST(Poses, CreateAndTypes) {
  expectCases({
      {"type 0",
       {"create_pose (1, 2, 3, 90, 0, 0, 'Rp+T', 'gba', 'point', R)"},
       "[1.0, 2.0, 3.0, 90.0, 0.0, 0.0, 0]"},
      {"type 11, angles wrapped",
       {"create_pose (0, 0, 0, -90, 0, 370, 'R(p-T)', 'abg', 'coordinate_system', R)"},
       "[0.0, 0.0, 0.0, 270.0, 0.0, 10.0, 11]"},
      {"rodriguez values kept",
       {"create_pose (0, 0, 0, -1, 0, 0, 'Rp+T', 'rodriguez', 'point', R)"},
       "[0.0, 0.0, 0.0, -1.0, 0.0, 0.0, 4]"},
      {"type of 5",
       {"get_pose_type ([0, 0, 0, 0, 0, 0, 5], O, Rot, V)", "R := [O, Rot, V]"},
       "['R(p-T)', 'rodriguez', 'point']"},
      {"type of 10",
       {"get_pose_type ([0, 0, 0, 0, 0, 0, 10], O, Rot, V)", "R := [O, Rot, V]"},
       "['Rp+T', 'abg', 'coordinate_system']"},
  });
}

// pose_to_hom_mat3d and create_pose, HALCON 11.0: 'gba' is Rx Ry Rz, 'abg' Rz Ry Rx,
// 'rodriguez' turns about the vector by twice the arc tangent of its length, 'R(p-T)' moves
// by -R T, 'coordinate_system' reverses the angles.
TEST(Poses, Matrices) {
  expectReals({
      matrixOf("[1, 2, 3, 90, 0, 0, 0]", {1, 0, 0, 1, 0, 0, -1, 2, 0, 1, 0, 3}),
      // -R (1, 2, 3) = -(1, -3, 2)
      matrixOf("[1, 2, 3, 90, 0, 0, 1]", {1, 0, 0, -1, 0, 0, -1, 3, 0, 1, 0, -2}),
      // Rx(-90)
      matrixOf("[1, 2, 3, 90, 0, 0, 8]", {1, 0, 0, 1, 0, 0, 1, 2, 0, -1, 0, 3}),
      // Rx(90) Rz(90) against Rz(90) Rx(90)
      matrixOf("[0, 0, 0, 90, 0, 90, 0]", {0, -1, 0, 0, 0, 0, -1, 0, 1, 0, 0, 0}),
      matrixOf("[0, 0, 0, 90, 0, 90, 2]", {0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0}),
      // |(0, 0, 1)| = tan 45 degrees: Rz(90)
      matrixOf("[0, 0, 0, 0, 0, 1, 4]", {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}),
      {{"hom_mat3d_to_pose ([0, -1, 0, 5, 0, 0, -1, 6, 1, 0, 0, 7], R)"}, {5, 6, 7, 90, 0, 90, 0}},
  });
}

// convert_pose_type, pose_invert, pose_compose and set_origin_pose, HALCON 11.0.
TEST(Poses, ConvertInvertCompose) {
  const std::string pose = "[1, 2, 3, 90, 0, 0, 0]";
  auto convert = [&](const std::string& type) {
    return "convert_pose_type (" + pose + ", " + type + ", R)";
  };
  expectReals({
      // T = -R^T t = -(1, 3, -2)
      {{convert("'R(p-T)', 'gba', 'point'")}, {-1, -3, 2, 90, 0, 0, 1}},
      {{convert("'Rp+T', 'gba', 'coordinate_system'")}, {1, 2, 3, 270, 0, 0, 8}},
      // the quaternion (cos 45, sin 45, 0, 0) divided by its scalar component
      {{convert("'Rp+T', 'rodriguez', 'point'")}, {1, 2, 3, 1, 0, 0, 4}},
      // Rx(90) Rz(90) = Rz(90) Ry(-90): cos beta = 0 leaves alpha 0
      {{"convert_pose_type ([0, 0, 0, 90, 0, 90, 0], 'Rp+T', 'abg', 'point', R)"},
       {0, 0, 0, 0, 270, 90, 2}},
      // the inverse [Rx(-90) | -(1, 3, -2)], in the input's type
      {{"pose_invert (" + pose + ", R)"}, {-1, -3, 2, 270, 0, 0, 0}},
      {{"pose_invert ([1, 2, 3, 90, 0, 0, 1], R)"}, {-1, 3, -2, 270, 0, 0, 1}},
      // Rz(90) (1, 0, 0) + (0, 0, 1)
      {{"pose_compose ([0, 0, 1, 0, 0, 90, 0], [1, 0, 0, 0, 0, 0, 0], R)"}, {0, 1, 1, 0, 0, 90, 0}},
      {{"set_origin_pose ([0, 0, 1, 0, 0, 90, 0], 1, 0, 0, R)"}, {0, 1, 1, 0, 0, 90, 0}},
  });
}

// Every type code through its matrix and back (convert_pose_type, pose_to_hom_mat3d,
// hom_mat3d_to_pose, HALCON 11.0): the largest difference to the pose it started from.
TEST(Poses, RoundTripsOfEveryType) {
  EXPECT_LT(
      runLines({"Worst := 0", "Codes := [0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13]",
                "for I := 0 to 11 by 1", "  Rot := [10, 20, 30]", "  if (Codes[I] % 8 >= 4)",
                "    Rot := [0.1, -0.2, 0.3]", "  endif",
                "  Pose := [0.1, 0.2, 0.3, Rot, Codes[I]]", "  get_pose_type (Pose, O, Rt, V)",
                "  pose_to_hom_mat3d (Pose, H)", "  hom_mat3d_to_pose (H, Plain)",
                "  convert_pose_type (Plain, O, Rt, V, Back)",
                "  Worst := max([Worst, abs(Back - Pose)])", "endfor", "R := Worst"})
          .D(),
      1e-9);
}

// hom_mat3d_*, HALCON 11.0: the global forms act after the matrix (step * M), about a fixed
// point p as translate(p) step translate(-p); the local forms act before it (M * step).
TEST(HomMat3d, BuildAndCombine) {
  const std::string shift = "[1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0]";
  expectCases({
      {"identity",
       {"hom_mat3d_identity (R)"},
       "[1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0]"},
  });
  expectReals({
      {{"hom_mat3d_translate ([2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0], 1, 2, 3, R)"},
       {2, 0, 0, 1, 0, 2, 0, 2, 0, 0, 2, 3}},
      {{"hom_mat3d_translate_local ([2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0], 1, 2, 3, R)"},
       {2, 0, 0, 2, 0, 2, 0, 4, 0, 0, 2, 6}},
      // t = p - Rz(90) p = (1, 0, 0) - (0, 1, 0)
      {{"hom_mat3d_identity (I)", "hom_mat3d_rotate (I, rad(90), 'z', 1, 0, 0, R)"},
       {0, -1, 0, 1, 1, 0, 0, -1, 0, 0, 1, 0}},
      {{"hom_mat3d_identity (I)", "hom_mat3d_rotate (I, rad(90), [0, 0, 2], 1, 0, 0, R)"},
       {0, -1, 0, 1, 1, 0, 0, -1, 0, 0, 1, 0}},
      {{"hom_mat3d_rotate (" + shift + ", rad(90), 'z', 0, 0, 0, R)"},
       {0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0}},
      {{"hom_mat3d_rotate_local (" + shift + ", rad(90), 'z', R)"},
       {0, -1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0}},
      // t = p - S p = (1 - 2, 1 - 3, 1 - 4)
      {{"hom_mat3d_identity (I)", "hom_mat3d_scale (I, 2, 3, 4, 1, 1, 1, R)"},
       {2, 0, 0, -1, 0, 3, 0, -2, 0, 0, 4, -3}},
      {{"hom_mat3d_scale_local (" + shift + ", 2, 2, 2, R)"}, {2, 0, 0, 1, 0, 2, 0, 0, 0, 0, 2, 0}},
      {{"hom_mat3d_compose ([0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0], " + shift + ", R)"},
       {0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0}},
      {{"hom_mat3d_invert ([2, 0, 0, 1, 0, 4, 0, 2, 0, 0, 1, 3], R)"},
       {0.5, 0, 0, -0.5, 0, 0.25, 0, -0.5, 0, 0, 1, -3}},
  });
}

// affine_trans_point_3d, projective_trans_point_3d and projective_trans_hom_point_3d,
// HALCON 11.0; the projective matrix has w = z.
TEST(HomMat3d, Points) {
  const std::string perspective = "[1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0]";
  expectReals({
      {{"affine_trans_point_3d ([0, -1, 0, 1, 1, 0, 0, -1, 0, 0, 1, 0], [1, 2], [0, 0], [0, 5], "
        "X, Y, Z)",
        "R := [X, Y, Z]"},
       {1, 1, 0, 1, 0, 5}},
      {{"affine_trans_point_3d ([1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0], [], [], [], X, Y, Z)",
        "R := [X, Y, Z]"},
       {}},
      {{"projective_trans_point_3d (" + perspective + ", 2, 4, 2, X, Y, Z)", "R := [X, Y, Z]"},
       {1, 2, 1}},
      {{"projective_trans_hom_point_3d (" + perspective + ", 2, 4, 2, 1, X, Y, Z, W)",
        "R := [X, Y, Z, W]"},
       {2, 4, 2, 2}},
  });
}

// quat_*, axis_angle_to_quat and pose_to_quat, HALCON 11.0: [w, x, y, z], the angle in
// radians, q = (cos(angle / 2), sin(angle / 2) axis / |axis|), composed by the Hamilton
// product, interpolated along the great circle.
TEST(Quaternions, Values) {
  expectCases({
      {"i j = k", {"quat_compose ([0, 1, 0, 0], [0, 0, 1, 0], R)"}, "[0.0, 0.0, 0.0, 1.0]"},
      {"conjugate", {"quat_conjugate ([1, 2, 3, 4], R)"}, "[1.0, -2.0, -3.0, -4.0]"},
      {"normalize", {"quat_normalize ([0, 3, 0, 4], R)"}, "[0.0, 0.6, 0.0, 0.8]"},
      {"no positions", {"quat_interpolate ([1, 0, 0, 0], [0, 1, 0, 0], [], R)"}, "[]"},
  });
  expectReals({
      {{"axis_angle_to_quat (2, 0, 0, rad(90), R)"}, {kC45, kC45, 0, 0}},
      // cos and sin of 22.5 degrees half way
      {{"quat_interpolate ([1, 0, 0, 0], " + kQuarterZ + ", [0, 0.5, 1], R)"},
       {1, 0, 0, 0, 0.92387953251128674, 0, 0, 0.38268343236508978, kC45, 0, 0, kC45}},
      {{"quat_rotate_point_3d (" + kQuarterZ + ", 1, 0, 0, X, Y, Z)", "R := [X, Y, Z]"}, {0, 1, 0}},
      {{"quat_to_hom_mat3d ([0, 1, 0, 0], R)"}, {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0}},
      {{"pose_to_quat ([0, 0, 0, 0, 0, 90, 0], R)"}, {kC45, 0, 0, kC45}},
      {{"serialize_quat ([1, 2, 3, 4], S)", "deserialize_quat (S, R)"}, {1, 2, 3, 4}},
      {{"serialize_hom_mat3d ([1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3], S)",
        "deserialize_hom_mat3d (S, R)"},
       {1, 0, 0, 1, 0, 1, 0, 2, 0, 0, 1, 3}},
  });
}

// convert_point_3d_cart_to_spher and convert_point_3d_spher_to_cart, HALCON 11.0: radians,
// latitude pi/2 at the north pole, longitude 0 on the zero meridian and pi/2 a quarter turn
// on, right-handed about the north pole ('-y', '-z': the quarter turn is on x).
TEST(HomMat3d, SphericalPoints) {
  const double kHalfPi = 1.5707963267948966;
  const std::string both = "Lon, Lat, Rad)";
  const std::string all = "R := [Lon, Lat, Rad]";
  expectReals({
      {{"convert_point_3d_cart_to_spher ([1, 0, 0], [0, 1, 0], [0, 0, 2], 'z', 'x', " + both, all},
       {0, kHalfPi, 0, 0, 0, kHalfPi, 1, 1, 2}},
      {{"convert_point_3d_cart_to_spher ([1, 0], [0, -1], [0, 0], '-y', '-z', " + both, all},
       {kHalfPi, 0, 0, kHalfPi, 1, 1}},
      {{"convert_point_3d_cart_to_spher ([], [], [], '-y', '-z', " + both, all}, {}},
      {{"convert_point_3d_spher_to_cart ([rad(90), 0], [0, 0], [1, 3], '-y', '-z', X, Y, Z)",
        "R := [X, Y, Z]"},
       {1, 0, 0, 0, 0, -3}},
  });
  expectLineErrors({{"convert_point_3d_cart_to_spher (1, 1, 1, 'w', 'x', Lon, Lat, Rad)", 1304},
                    {"convert_point_3d_cart_to_spher (1, 1, 1, 'z', '-z', Lon, Lat, Rad)", 1305},
                    {"convert_point_3d_spher_to_cart (0, 2, 1, 'z', 'x', X, Y, Z)", 1302}});
}

// Wrong lengths (1400 + n), values (1300 + n) and kinds (1200 + n) of the n-th control input,
// singular matrices (9205) and points without an image.
TEST(Poses, Errors) {
  const std::string id = "[1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0]";
  expectLineErrors({
      {"create_pose (0, 0, 0, 0, 0, 0, 'R(p+T)', 'gba', 'point', R)", 1307},
      {"create_pose (0, 0, 0, 0, 0, 0, 'Rp+T', 'xyz', 'point', R)", 1308},
      {"create_pose (0, 0, 0, 0, 0, 0, 'Rp+T', 'gba', 'points', R)", 1309},
      {"create_pose (0, 0, 0, [1, 2], 0, 0, 'Rp+T', 'gba', 'point', R)", 1404},
      {"pose_to_hom_mat3d ([0, 0, 0, 0, 0, 0], R)", 1401},
      {"pose_to_hom_mat3d ([], R)", 1401},
      {"pose_to_hom_mat3d ([0, 0, 0, 0, 0, 0, 6], R)", 1301},
      {"pose_to_hom_mat3d ([0, 0, 0, 0, 0, 0, 14], R)", 1301},
      {"pose_to_hom_mat3d ([0, 0, 0, 0, 0, 0, 0.5], R)", 1301},
      {"pose_to_hom_mat3d ([0, 0, 0, 0, 0, 0, 1e30], R)", 1301},
      {"pose_to_hom_mat3d (['a', 0, 0, 0, 0, 0, 0], R)", 1201},
      {"pose_compose ([0, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 0, 7], R)", 1302},
      {"hom_mat3d_invert ([1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0], R)", 9205},
      {"hom_mat3d_compose ([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1], " + id + ", R)", 1401},
      {"hom_mat3d_compose (" + id + ", [1, 0, 0, 0, 1, 0, 0, 0, 1], R)", 1402},
      {"hom_mat3d_rotate (" + id + ", 1, 'w', 0, 0, 0, R)", 1303},
      {"hom_mat3d_rotate (" + id + ", 1, [0, 0, 0], 0, 0, 0, R)", 1303},
      {"affine_trans_point_3d (" + id + ", [1, 2], [1], [1, 2], X, Y, Z)", 1403},
      {"projective_trans_point_3d ([1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0], 1, 1, "
       "0, X, Y, Z)",
       1302},
      {"quat_normalize ([0, 0, 0, 0], R)", 1301},
      {"quat_compose ([1, 0, 0], [1, 0, 0, 0], R)", 1401},
      {"axis_angle_to_quat (0, 0, 0, 1, R)", 1301},
      {"deserialize_quat (-1, R)", 1301},
  });
  // an item of another kind is a wrong handle
  EXPECT_EQ(programError({"serialize_quat ([1, 0, 0, 0], S)", "deserialize_pose (S, R)"}), 1301);
}

}  // namespace
