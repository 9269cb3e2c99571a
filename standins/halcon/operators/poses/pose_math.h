// Homogeneous 3-D matrices, 3-D poses and quaternions as the vendor passes them in tuples.
// A HomMat3D is twelve reals, the first three rows of the homogeneous 4x4 matrix (its last
// row [0 0 0 1] left out); a projective one is all sixteen. A pose is seven values: the
// translation, three rotation values (angles in degrees, or a Rodriguez vector) and the
// type code, which tells the order of translation and rotation, the rotation's
// parametrisation and whether the pose moves points or the coordinate system. A quaternion
// is four reals, the scalar component first.
#ifndef QUORVEX_STANDINS_HALCON_POSE_MATH_H
#define QUORVEX_STANDINS_HALCON_POSE_MATH_H

#include <array>
#include <string>

#include "core/numbers.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

using Mat3d = std::array<double, 12>;
using Quat = std::array<double, 4>;

enum class Rotation { kGba, kAbg, kRodriguez };

struct PoseType {
  bool pointsFirst = false;  // 'R(p-T)': p' = R (p - T) instead of R p + T
  Rotation rotation = Rotation::kGba;
  bool coordinateSystem = false;  // 'coordinate_system': the rotation values reversed
  int code() const;
};

struct Pose {
  double t[3] = {0, 0, 0};
  double r[3] = {0, 0, 0};
  PoseType type;
};

// The matrix of a control input at position n: 1400+n unless twelve values, 1200+n for a text.
Mat3d homMat3dOf(const HTuple& value, const char* op, int n);
HTuple tupleOf(const Mat3d& matrix);
Mat3d identity3d();
// left * right, as 4x4 matrices: `right` acts first.
Mat3d compose3d(const Mat3d& left, const Mat3d& right);
// The inverse; 9205 in `op` when the matrix has none.
Mat3d invert3d(const Mat3d& matrix, const char* op);
// The rotation by phi (radians) about the unit axis (x, y, z), right-handed.
Mat3d axisRotation(double x, double y, double z, double phi);

// A pose input at position n: 1400+n unless seven values, 1300+n for an unknown type code.
Pose poseOf(const HTuple& value, const char* op, int n);
HTuple tupleOf(const Pose& pose);
// The type of the three names of create_pose; 1300+n (n of the first name) for an unknown one.
PoseType poseTypeOf(const std::string& order, const std::string& rotation, const std::string& view,
                    const char* op, int n);
Mat3d poseMatrix(const Pose& pose);
// The pose of `type` whose matrix is the rigid `matrix`; angles in [0, 360).
Pose poseOfMatrix(const Mat3d& matrix, PoseType type);

// The unit quaternion of a rotation matrix's 3x3 block, scalar component not negative.
Quat quatOfMatrix(const Mat3d& matrix);
// The rotation matrix of a unit quaternion.
Mat3d matrixOfQuat(const Quat& q);

}  // namespace Standin
}  // namespace HalconCpp

#endif
