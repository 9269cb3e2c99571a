#include "operators/poses/pose_math.h"

#include <cmath>

#include "core/number_arrays.h"
#include "core/params.h"
#include "halconcpp/HException.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr double kDegree = kPi / 180.0;

using Mat3 = std::array<double, 9>;

Mat3 product(const Mat3& a, const Mat3& b) {
  Mat3 m{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      m[r * 3 + c] = a[r * 3] * b[c] + a[r * 3 + 1] * b[3 + c] + a[r * 3 + 2] * b[6 + c];
    }
  }
  return m;
}

Mat3 aboutX(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {1, 0, 0, 0, c, -s, 0, s, c};
}
Mat3 aboutY(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {c, 0, s, 0, 1, 0, -s, 0, c};
}
Mat3 aboutZ(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {c, -s, 0, s, c, 0, 0, 0, 1};
}

// The Rodriguez vector's length is the tangent of half the angle: with w = n tan(θ/2),
// R = I + 2 / (1 + |w|²) ([w]x + [w]x²), the Cayley form of the rotation.
Mat3 rodriguez(double x, double y, double z) {
  const double k = 2.0 / (1.0 + x * x + y * y + z * z);
  return {1 - k * (y * y + z * z), k * (x * y - z),         k * (x * z + y),
          k * (x * y + z),         1 - k * (x * x + z * z), k * (y * z - x),
          k * (x * z - y),         k * (y * z + x),         1 - k * (x * x + y * y)};
}

double degrees360(double radians) {
  double a = std::fmod(radians / kDegree, 360.0);
  if (a < 0) a += 360.0;
  if (a >= 360.0) a -= 360.0;
  return a + 0.0;  // no negative zero
}

Mat3 rotationBlock(const Mat3d& m) {
  return {m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]};
}

}  // namespace

int PoseType::code() const {
  const int rotationCode = rotation == Rotation::kAbg         ? 2
                           : rotation == Rotation::kRodriguez ? 4
                                                              : 0;
  return (pointsFirst ? 1 : 0) + rotationCode + (coordinateSystem ? 8 : 0);
}

Mat3d homMat3dOf(const HTuple& value, const char* op, int n) {
  return numbersOf<12>(value, op, n);
}

HTuple tupleOf(const Mat3d& matrix) {
  return tupleOfNumbers(matrix);
}

Mat3d identity3d() {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
}

Mat3d compose3d(const Mat3d& l, const Mat3d& r) {
  Mat3d m{};
  for (int row = 0; row < 3; ++row) {
    const double* a = &l[static_cast<std::size_t>(row * 4)];
    for (int c = 0; c < 4; ++c) {
      m[static_cast<std::size_t>(row * 4 + c)] =
          a[0] * r[static_cast<std::size_t>(c)] + a[1] * r[static_cast<std::size_t>(4 + c)] +
          a[2] * r[static_cast<std::size_t>(8 + c)] + (c == 3 ? a[3] : 0.0);
    }
  }
  return m;
}

Mat3d invert3d(const Mat3d& m, const char* op) {
  const double a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9],
               i = m[10];
  const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
  if (det == 0 || !std::isfinite(det)) fail(op, H_ERR_MATRIX_SING);
  const Mat3 inv = {(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det,
                    (f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det,
                    (d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det};
  Mat3d out{};
  for (int r = 0; r < 3; ++r) {
    double t = 0;
    for (int k = 0; k < 3; ++k) {
      out[static_cast<std::size_t>(r * 4 + k)] = inv[static_cast<std::size_t>(r * 3 + k)];
      t -= inv[static_cast<std::size_t>(r * 3 + k)] * m[static_cast<std::size_t>(k * 4 + 3)];
    }
    out[static_cast<std::size_t>(r * 4 + 3)] = t;
  }
  return out;
}

Mat3d axisRotation(double x, double y, double z, double phi) {
  const double c = std::cos(phi), s = std::sin(phi), v = 1 - c;
  return {c + x * x * v,     x * y * v - z * s, x * z * v + y * s, 0,
          x * y * v + z * s, c + y * y * v,     y * z * v - x * s, 0,
          x * z * v - y * s, y * z * v + x * s, c + z * z * v,     0};
}

Pose poseOf(const HTuple& value, const char* op, int n) {
  requireLength(value, 7, op, n);
  Pose pose;
  for (Hlong i = 0; i < 3; ++i) {
    pose.t[i] = numberAt(value, i, op, n);
    pose.r[i] = numberAt(value, i + 3, op, n);
  }
  const double code = numberAt(value, 6, op, n);
  if (!(code >= 0 && code <= 13)) fail(op, 1300 + n);
  const int whole = static_cast<int>(code);
  if (code != whole || (whole & 7) > 5) fail(op, 1300 + n);
  pose.type.pointsFirst = (whole & 1) != 0;
  pose.type.rotation = (whole & 6) == 2   ? Rotation::kAbg
                       : (whole & 6) == 4 ? Rotation::kRodriguez
                                          : Rotation::kGba;
  pose.type.coordinateSystem = (whole & 8) != 0;
  return pose;
}

HTuple tupleOf(const Pose& pose) {
  HTuple tuple;
  for (double v : pose.t) tuple.Append(HTuple(v));
  for (double v : pose.r) tuple.Append(HTuple(v));
  tuple.Append(HTuple(static_cast<Hlong>(pose.type.code())));
  return tuple;
}

PoseType poseTypeOf(const std::string& order, const std::string& rotation, const std::string& view,
                    const char* op, int n) {
  PoseType type;
  if (order == "R(p-T)") {
    type.pointsFirst = true;
  } else if (order != "Rp+T") {
    fail(op, 1300 + n);
  }
  if (rotation == "abg") {
    type.rotation = Rotation::kAbg;
  } else if (rotation == "rodriguez") {
    type.rotation = Rotation::kRodriguez;
  } else if (rotation != "gba") {
    fail(op, 1301 + n);
  }
  if (view == "coordinate_system") {
    type.coordinateSystem = true;
  } else if (view != "point") {
    fail(op, 1302 + n);
  }
  return type;
}

Mat3d poseMatrix(const Pose& pose) {
  const double sign = pose.type.coordinateSystem ? -1.0 : 1.0;
  const double a = sign * pose.r[0], b = sign * pose.r[1], g = sign * pose.r[2];
  Mat3 rot;
  switch (pose.type.rotation) {
    case Rotation::kGba:
      rot = product(product(aboutX(a * kDegree), aboutY(b * kDegree)), aboutZ(g * kDegree));
      break;
    case Rotation::kAbg:
      rot = product(product(aboutZ(g * kDegree), aboutY(b * kDegree)), aboutX(a * kDegree));
      break;
    default:
      rot = rodriguez(a, b, g);
  }
  Mat3d m{};
  for (int r = 0; r < 3; ++r) {
    double t = pose.t[r];
    if (pose.type.pointsFirst) {
      t = -(rot[r * 3] * pose.t[0] + rot[r * 3 + 1] * pose.t[1] + rot[r * 3 + 2] * pose.t[2]);
    }
    for (int c = 0; c < 3; ++c) m[static_cast<std::size_t>(r * 4 + c)] = rot[r * 3 + c];
    m[static_cast<std::size_t>(r * 4 + 3)] = t;
  }
  return m;
}

Pose poseOfMatrix(const Mat3d& m, PoseType type) {
  const Mat3 r = rotationBlock(m);
  Pose pose;
  pose.type = type;
  double v[3];
  if (type.rotation == Rotation::kGba) {
    // Rx(a) Ry(b) Rz(g): r02 = sin b; with cos b = 0 only a + g or a - g is fixed, g = 0.
    const double cb = std::hypot(r[0], r[1]);
    v[1] = std::atan2(r[2], cb);
    v[0] = cb > 1e-12 ? std::atan2(-r[5], r[8]) : std::atan2(r[7], r[4]);
    v[2] = cb > 1e-12 ? std::atan2(-r[1], r[0]) : 0.0;
  } else if (type.rotation == Rotation::kAbg) {
    // Rz(g) Ry(b) Rx(a): r20 = -sin b; at cos b = 0, a = 0.
    const double cb = std::hypot(r[0], r[3]);
    v[1] = std::atan2(-r[6], cb);
    v[0] = cb > 1e-12 ? std::atan2(r[7], r[8]) : 0.0;
    v[2] = cb > 1e-12 ? std::atan2(r[3], r[0]) : std::atan2(-r[1], r[4]);
  } else {
    const Quat q = quatOfMatrix(m);
    // A half turn has no finite Rodriguez vector; the largest double stands for it.
    const double w = q[0] > 0 ? q[0] : 1e-300;
    for (int i = 0; i < 3; ++i) v[i] = q[static_cast<std::size_t>(i + 1)] / w;
  }
  const double sign = type.coordinateSystem ? -1.0 : 1.0;
  for (int i = 0; i < 3; ++i) {
    pose.r[i] = type.rotation == Rotation::kRodriguez ? sign * v[i] + 0.0 : degrees360(sign * v[i]);
  }
  for (int i = 0; i < 3; ++i) {
    // 'R(p-T)' keeps T with t = -R T, so T = -R^T t.
    pose.t[i] = type.pointsFirst ? -(r[i] * m[3] + r[3 + i] * m[7] + r[6 + i] * m[11]) + 0.0
                                 : m[static_cast<std::size_t>(i * 4 + 3)];
  }
  return pose;
}

Quat quatOfMatrix(const Mat3d& m) {
  const Mat3 r = rotationBlock(m);
  Quat q;
  const double trace = r[0] + r[4] + r[8];
  if (trace > 0) {
    const double s = 2 * std::sqrt(trace + 1);
    q = {s / 4, (r[7] - r[5]) / s, (r[2] - r[6]) / s, (r[3] - r[1]) / s};
  } else if (r[0] >= r[4] && r[0] >= r[8]) {
    const double s = 2 * std::sqrt(1 + r[0] - r[4] - r[8]);
    q = {(r[7] - r[5]) / s, s / 4, (r[1] + r[3]) / s, (r[2] + r[6]) / s};
  } else if (r[4] >= r[8]) {
    const double s = 2 * std::sqrt(1 + r[4] - r[0] - r[8]);
    q = {(r[2] - r[6]) / s, (r[1] + r[3]) / s, s / 4, (r[5] + r[7]) / s};
  } else {
    const double s = 2 * std::sqrt(1 + r[8] - r[0] - r[4]);
    q = {(r[3] - r[1]) / s, (r[2] + r[6]) / s, (r[5] + r[7]) / s, s / 4};
  }
  const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  const double sign = q[0] < 0 ? -1.0 : 1.0;
  for (double& v : q) v = sign * v / norm + 0.0;
  return q;
}

Mat3d matrixOfQuat(const Quat& q) {
  const double w = q[0], x = q[1], y = q[2], z = q[3];
  return {1 - 2 * (y * y + z * z), 2 * (x * y - w * z),     2 * (x * z + w * y),     0,
          2 * (x * y + w * z),     1 - 2 * (x * x + z * z), 2 * (y * z - w * x),     0,
          2 * (x * z - w * y),     2 * (y * z + w * x),     1 - 2 * (x * x + y * y), 0};
}

}  // namespace Standin
}  // namespace HalconCpp
