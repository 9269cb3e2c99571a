// Homogeneous 3-D matrices built, combined and applied to points.
#include <cmath>
#include <string>

#include "core/params.h"
#include "halconcpp/HOperatorsPoses.h"
#include "operators/poses/pose_math.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

Mat3d translation(double x, double y, double z) {
  return {1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z};
}

// 'x', 'y', 'z' or the three components of an axis, which need not have length 1.
Mat3d rotationAbout(const HTuple& phi, const HTuple& axis, const char* op) {
  const double angle = oneNumber(phi, op, 2);
  double a[3] = {0, 0, 0};
  if (axis.Length() == 1) {
    const std::string name = oneString(axis, op, 3);
    if (name != "x" && name != "y" && name != "z") fail(op, 1303);
    a[name[0] - 'x'] = 1;
  } else {
    requireLength(axis, 3, op, 3);
    for (Hlong i = 0; i < 3; ++i) a[i] = numberAt(axis, i, op, 3);
  }
  const double norm = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
  if (!(norm > 0) || !std::isfinite(norm)) fail(op, 1303);
  return axisRotation(a[0] / norm, a[1] / norm, a[2] / norm, angle);
}

// `step` about the fixed point p: translate(p) * step * translate(-p).
Mat3d aboutPoint(const Mat3d& step, double px, double py, double pz) {
  return compose3d(compose3d(translation(px, py, pz), step), translation(-px, -py, -pz));
}

// The coordinates of inputs n .. n+2, all of one length.
void requireSameLength(const HTuple& px, const HTuple& py, const HTuple& pz, const char* op,
                       int n) {
  requireLength(py, px.Length(), op, n + 1);
  requireLength(pz, px.Length(), op, n + 2);
}

}  // namespace

void HomMat3dIdentity(HTuple* HomMat3DIdentity) {
  ApiScope scope("HomMat3dIdentity");
  setOutput(HomMat3DIdentity, tupleOf(identity3d()));
}

void HomMat3dTranslate(const HTuple& HomMat3D, const HTuple& Tx, const HTuple& Ty, const HTuple& Tz,
                       HTuple* HomMat3DTranslate) {
  ApiScope scope("HomMat3dTranslate");
  const char* op = "hom_mat3d_translate";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  const Mat3d t = translation(oneNumber(Tx, op, 2), oneNumber(Ty, op, 3), oneNumber(Tz, op, 4));
  setOutput(HomMat3DTranslate, tupleOf(compose3d(t, m)));
}

void HomMat3dTranslateLocal(const HTuple& HomMat3D, const HTuple& Tx, const HTuple& Ty,
                            const HTuple& Tz, HTuple* HomMat3DTranslate) {
  ApiScope scope("HomMat3dTranslateLocal");
  const char* op = "hom_mat3d_translate_local";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  const Mat3d t = translation(oneNumber(Tx, op, 2), oneNumber(Ty, op, 3), oneNumber(Tz, op, 4));
  setOutput(HomMat3DTranslate, tupleOf(compose3d(m, t)));
}

void HomMat3dRotate(const HTuple& HomMat3D, const HTuple& Phi, const HTuple& Axis, const HTuple& Px,
                    const HTuple& Py, const HTuple& Pz, HTuple* HomMat3DRotate) {
  ApiScope scope("HomMat3dRotate");
  const char* op = "hom_mat3d_rotate";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  const Mat3d r = rotationAbout(Phi, Axis, op);
  const Mat3d step =
      aboutPoint(r, oneNumber(Px, op, 4), oneNumber(Py, op, 5), oneNumber(Pz, op, 6));
  setOutput(HomMat3DRotate, tupleOf(compose3d(step, m)));
}

void HomMat3dRotateLocal(const HTuple& HomMat3D, const HTuple& Phi, const HTuple& Axis,
                         HTuple* HomMat3DRotate) {
  ApiScope scope("HomMat3dRotateLocal");
  const char* op = "hom_mat3d_rotate_local";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  setOutput(HomMat3DRotate, tupleOf(compose3d(m, rotationAbout(Phi, Axis, op))));
}

void HomMat3dScale(const HTuple& HomMat3D, const HTuple& Sx, const HTuple& Sy, const HTuple& Sz,
                   const HTuple& Px, const HTuple& Py, const HTuple& Pz, HTuple* HomMat3DScale) {
  ApiScope scope("HomMat3dScale");
  const char* op = "hom_mat3d_scale";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  const Mat3d s = {oneNumber(Sx, op, 2), 0, 0, 0, 0, oneNumber(Sy, op, 3), 0, 0, 0, 0,
                   oneNumber(Sz, op, 4), 0};
  const Mat3d step =
      aboutPoint(s, oneNumber(Px, op, 5), oneNumber(Py, op, 6), oneNumber(Pz, op, 7));
  setOutput(HomMat3DScale, tupleOf(compose3d(step, m)));
}

void HomMat3dScaleLocal(const HTuple& HomMat3D, const HTuple& Sx, const HTuple& Sy,
                        const HTuple& Sz, HTuple* HomMat3DScale) {
  ApiScope scope("HomMat3dScaleLocal");
  const char* op = "hom_mat3d_scale_local";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  const Mat3d s = {oneNumber(Sx, op, 2), 0, 0, 0, 0, oneNumber(Sy, op, 3), 0, 0, 0, 0,
                   oneNumber(Sz, op, 4), 0};
  setOutput(HomMat3DScale, tupleOf(compose3d(m, s)));
}

void HomMat3dInvert(const HTuple& HomMat3D, HTuple* HomMat3DInvert) {
  ApiScope scope("HomMat3dInvert");
  const char* op = "hom_mat3d_invert";
  setOutput(HomMat3DInvert, tupleOf(invert3d(homMat3dOf(HomMat3D, op, 1), op)));
}

void HomMat3dCompose(const HTuple& HomMat3DLeft, const HTuple& HomMat3DRight,
                     HTuple* HomMat3DCompose) {
  ApiScope scope("HomMat3dCompose");
  const char* op = "hom_mat3d_compose";
  const Mat3d left = homMat3dOf(HomMat3DLeft, op, 1);
  setOutput(HomMat3DCompose, tupleOf(compose3d(left, homMat3dOf(HomMat3DRight, op, 2))));
}

void AffineTransPoint3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                        const HTuple& Pz, HTuple* Qx, HTuple* Qy, HTuple* Qz) {
  ApiScope scope("AffineTransPoint3d");
  const char* op = "affine_trans_point_3d";
  const Mat3d m = homMat3dOf(HomMat3D, op, 1);
  requireSameLength(Px, Py, Pz, op, 2);
  HTuple out[3];
  for (Hlong i = 0; i < Px.Length(); ++i) {
    const double p[3] = {numberAt(Px, i, op, 2), numberAt(Py, i, op, 3), numberAt(Pz, i, op, 4)};
    for (std::size_t r = 0; r < 3; ++r) {
      out[r].Append(
          HTuple(m[r * 4] * p[0] + m[r * 4 + 1] * p[1] + m[r * 4 + 2] * p[2] + m[r * 4 + 3]));
    }
  }
  setOutput(Qx, out[0]);
  setOutput(Qy, out[1]);
  setOutput(Qz, out[2]);
}

namespace {

// The 4x4 product with (x, y, z, w) for a projective matrix of sixteen values (twelve: the
// affine one, whose last row is [0 0 0 1]).
void projectiveProducts(const HTuple& matrix, const HTuple& px, const HTuple& py, const HTuple& pz,
                        const HTuple* pw, const char* op, HTuple out[4]) {
  const Hlong count = matrix.Length();
  if (count != 12 && count != 16) fail(op, 1401);
  double m[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  for (Hlong i = 0; i < count; ++i) m[i] = numberAt(matrix, i, op, 1);
  requireSameLength(px, py, pz, op, 2);
  if (pw) requireLength(*pw, px.Length(), op, 5);
  for (Hlong i = 0; i < px.Length(); ++i) {
    const double p[4] = {numberAt(px, i, op, 2), numberAt(py, i, op, 3), numberAt(pz, i, op, 4),
                         pw ? numberAt(*pw, i, op, 5) : 1.0};
    for (int r = 0; r < 4; ++r) {
      out[r].Append(HTuple(m[r * 4] * p[0] + m[r * 4 + 1] * p[1] + m[r * 4 + 2] * p[2] +
                           m[r * 4 + 3] * p[3]));
    }
  }
}

}  // namespace

void ProjectiveTransPoint3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                            const HTuple& Pz, HTuple* Qx, HTuple* Qy, HTuple* Qz) {
  ApiScope scope("ProjectiveTransPoint3d");
  const char* op = "projective_trans_point_3d";
  HTuple q[4];
  projectiveProducts(HomMat3D, Px, Py, Pz, nullptr, op, q);
  HTuple x, y, z;
  for (Hlong i = 0; i < q[3].Length(); ++i) {
    const double w = q[3][i].D();
    // A point the matrix sends to infinity has no Euclidean image.
    if (w == 0) fail(op, 1302);
    x.Append(HTuple(q[0][i].D() / w));
    y.Append(HTuple(q[1][i].D() / w));
    z.Append(HTuple(q[2][i].D() / w));
  }
  setOutput(Qx, x);
  setOutput(Qy, y);
  setOutput(Qz, z);
}

void ProjectiveTransHomPoint3d(const HTuple& HomMat3D, const HTuple& Px, const HTuple& Py,
                               const HTuple& Pz, const HTuple& Pw, HTuple* Qx, HTuple* Qy,
                               HTuple* Qz, HTuple* Qw) {
  ApiScope scope("ProjectiveTransHomPoint3d");
  HTuple q[4];
  projectiveProducts(HomMat3D, Px, Py, Pz, &Pw, "projective_trans_hom_point_3d", q);
  setOutput(Qx, q[0]);
  setOutput(Qy, q[1]);
  setOutput(Qz, q[2]);
  setOutput(Qw, q[3]);
}

}  // namespace HalconCpp
