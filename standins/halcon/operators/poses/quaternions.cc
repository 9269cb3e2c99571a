// Quaternions [w, x, y, z] (w the scalar component) for rotations: made from an axis and an angle
// in radians, combined by the Hamilton product, interpolated on the unit sphere.
#include <algorithm>
#include <cmath>

#include "core/number_arrays.h"
#include "core/params.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

Quat quatOf(const HTuple& value, const char* op, int n) {
  return numbersOf<4>(value, op, n);
}

HTuple tupleOfQuat(const Quat& q) {
  return tupleOfNumbers(q);
}

// A quaternion of length 0 stands for no rotation at all: a wrong value.
Quat normalized(const Quat& q, const char* op, int n) {
  const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  if (!(norm > 0) || !std::isfinite(norm)) fail(op, 1300 + n);
  return {q[0] / norm, q[1] / norm, q[2] / norm, q[3] / norm};
}

}  // namespace

void AxisAngleToQuat(const HTuple& AxisX, const HTuple& AxisY, const HTuple& AxisZ,
                     const HTuple& Angle, HTuple* Quaternion) {
  ApiScope scope("AxisAngleToQuat");
  const char* op = "axis_angle_to_quat";
  const double x = oneNumber(AxisX, op, 1), y = oneNumber(AxisY, op, 2);
  const double z = oneNumber(AxisZ, op, 3), angle = oneNumber(Angle, op, 4);
  const double norm = std::sqrt(x * x + y * y + z * z);
  if (!(norm > 0) || !std::isfinite(norm)) fail(op, 1301);
  const double s = std::sin(angle / 2) / norm;
  setOutput(Quaternion, tupleOfQuat({std::cos(angle / 2), x * s, y * s, z * s}));
}

void QuatCompose(const HTuple& QuaternionLeft, const HTuple& QuaternionRight,
                 HTuple* QuaternionComposed) {
  ApiScope scope("QuatCompose");
  const char* op = "quat_compose";
  const Quat a = quatOf(QuaternionLeft, op, 1), b = quatOf(QuaternionRight, op, 2);
  setOutput(QuaternionComposed,
            tupleOfQuat({a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3],
                         a[0] * b[1] + a[1] * b[0] + a[2] * b[3] - a[3] * b[2],
                         a[0] * b[2] - a[1] * b[3] + a[2] * b[0] + a[3] * b[1],
                         a[0] * b[3] + a[1] * b[2] - a[2] * b[1] + a[3] * b[0]}));
}

void QuatConjugate(const HTuple& Quaternion, HTuple* ConjugatedQuaternion) {
  ApiScope scope("QuatConjugate");
  const Quat q = quatOf(Quaternion, "quat_conjugate", 1);
  setOutput(ConjugatedQuaternion, tupleOfQuat({q[0], -q[1], -q[2], -q[3]}));
}

void QuatInterpolate(const HTuple& QuaternionStart, const HTuple& QuaternionEnd,
                     const HTuple& InterpPos, HTuple* QuaternionInterpolated) {
  ApiScope scope("QuatInterpolate");
  const char* op = "quat_interpolate";
  const Quat a = quatOf(QuaternionStart, op, 1), b = quatOf(QuaternionEnd, op, 2);
  const double dot = std::clamp(a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3], -1.0, 1.0);
  const double omega = std::acos(dot), sinOmega = std::sin(omega);
  HTuple result;
  for (Hlong i = 0; i < InterpPos.Length(); ++i) {
    const double t = numberAt(InterpPos, i, op, 3);
    // Along the great circle through both; where they coincide the weights tend to 1 - t, t.
    const double wa = sinOmega > 1e-12 ? std::sin((1 - t) * omega) / sinOmega : 1 - t;
    const double wb = sinOmega > 1e-12 ? std::sin(t * omega) / sinOmega : t;
    for (std::size_t k = 0; k < 4; ++k) result.Append(HTuple(wa * a[k] + wb * b[k]));
  }
  setOutput(QuaternionInterpolated, result);
}

void QuatNormalize(const HTuple& Quaternion, HTuple* NormalizedQuaternion) {
  ApiScope scope("QuatNormalize");
  const char* op = "quat_normalize";
  setOutput(NormalizedQuaternion, tupleOfQuat(normalized(quatOf(Quaternion, op, 1), op, 1)));
}

void QuatRotatePoint3d(const HTuple& Quaternion, const HTuple& Px, const HTuple& Py,
                       const HTuple& Pz, HTuple* Qx, HTuple* Qy, HTuple* Qz) {
  ApiScope scope("QuatRotatePoint3d");
  const char* op = "quat_rotate_point_3d";
  const Mat3d m = matrixOfQuat(normalized(quatOf(Quaternion, op, 1), op, 1));
  requireLength(Py, Px.Length(), op, 3);
  requireLength(Pz, Px.Length(), op, 4);
  HTuple out[3];
  for (Hlong i = 0; i < Px.Length(); ++i) {
    const double p[3] = {numberAt(Px, i, op, 2), numberAt(Py, i, op, 3), numberAt(Pz, i, op, 4)};
    for (std::size_t r = 0; r < 3; ++r) {
      out[r].Append(HTuple(m[r * 4] * p[0] + m[r * 4 + 1] * p[1] + m[r * 4 + 2] * p[2]));
    }
  }
  setOutput(Qx, out[0]);
  setOutput(Qy, out[1]);
  setOutput(Qz, out[2]);
}

void QuatToHomMat3d(const HTuple& Quaternion, HTuple* RotationMatrix) {
  ApiScope scope("QuatToHomMat3d");
  const char* op = "quat_to_hom_mat3d";
  setOutput(RotationMatrix, tupleOf(matrixOfQuat(normalized(quatOf(Quaternion, op, 1), op, 1))));
}

void PoseToQuat(const HTuple& Pose, HTuple* Quaternion) {
  ApiScope scope("PoseToQuat");
  setOutput(Quaternion, tupleOfQuat(quatOfMatrix(poseMatrix(poseOf(Pose, "pose_to_quat", 1)))));
}

}  // namespace HalconCpp
