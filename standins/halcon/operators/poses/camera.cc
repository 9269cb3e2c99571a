#include "operators/poses/camera.h"

#include <cmath>
#include <string>

#include "core/params.h"

namespace HalconCpp {
namespace Standin {

bool CameraParam::distorted() const {
  return polynomial ? (k[0] != 0 || k[1] != 0 || k[2] != 0 || p[0] != 0 || p[1] != 0) : kappa != 0;
}

CameraParam cameraParamOf(const HTuple& value, const char* op, int n) {
  const Hlong count = value.Length();
  if (count != 8 && count != 12) fail(op, 1400 + n);
  CameraParam c;
  c.polynomial = count == 12;
  Hlong at = 0;
  c.focus = numberAt(value, at++, op, n);
  if (c.polynomial) {
    for (double& v : c.k) v = numberAt(value, at++, op, n);
    for (double& v : c.p) v = numberAt(value, at++, op, n);
  } else {
    c.kappa = numberAt(value, at++, op, n);
  }
  c.sx = numberAt(value, at++, op, n);
  c.sy = numberAt(value, at++, op, n);
  c.cx = numberAt(value, at++, op, n);
  c.cy = numberAt(value, at++, op, n);
  const double width = numberAt(value, at++, op, n), height = numberAt(value, at, op, n);
  if (!(c.sx > 0) || !(c.sy > 0) || !(c.focus >= 0) || !(width >= 1) || !(height >= 1) ||
      width > 1e9 || height > 1e9) {
    fail(op, 1300 + n);
  }
  c.width = static_cast<Hlong>(width);
  c.height = static_cast<Hlong>(height);
  return c;
}

HTuple tupleOf(const CameraParam& c) {
  HTuple tuple;
  tuple.Append(HTuple(c.focus));
  if (c.polynomial) {
    for (double v : c.k) tuple.Append(HTuple(v));
    for (double v : c.p) tuple.Append(HTuple(v));
  } else {
    tuple.Append(HTuple(c.kappa));
  }
  for (double v : {c.sx, c.sy, c.cx, c.cy}) tuple.Append(HTuple(v));
  tuple.Append(HTuple(c.width));
  tuple.Append(HTuple(c.height));
  return tuple;
}

void pixelToPlane(const CameraParam& c, double row, double col, double* u, double* v) {
  *u = (col - c.cx) * c.sx;
  *v = (row - c.cy) * c.sy;
}

void planeToPixel(const CameraParam& c, double u, double v, double* row, double* col) {
  *row = v / c.sy + c.cy;
  *col = u / c.sx + c.cx;
}

namespace {

// The polynomial model's straight point of (x, y), and its Jacobian when asked for.
void polynomialStraight(const CameraParam& c, double x, double y, double* ux, double* uy,
                        double jacobian[4]) {
  const double r2 = x * x + y * y;
  const double radial = c.k[0] * r2 + c.k[1] * r2 * r2 + c.k[2] * r2 * r2 * r2;
  *ux = x + x * radial + 2 * c.p[0] * x * y + c.p[1] * (r2 + 2 * x * x);
  *uy = y + y * radial + c.p[0] * (r2 + 2 * y * y) + 2 * c.p[1] * x * y;
  if (!jacobian) return;
  const double d = 2 * c.k[0] + 4 * c.k[1] * r2 + 6 * c.k[2] * r2 * r2;
  const double cross = d * x * y + 2 * c.p[0] * x + 2 * c.p[1] * y;
  jacobian[0] = 1 + radial + d * x * x + 2 * c.p[0] * y + 6 * c.p[1] * x;
  jacobian[1] = cross;
  jacobian[2] = cross;
  jacobian[3] = 1 + radial + d * y * y + 6 * c.p[0] * y + 2 * c.p[1] * x;
}

}  // namespace

void undistort(const CameraParam& c, double* u, double* v) {
  if (c.polynomial) {
    polynomialStraight(c, *u, *v, u, v, nullptr);
    return;
  }
  const double scale = 1 + c.kappa * (*u * *u + *v * *v);
  *u /= scale;
  *v /= scale;
}

void distort(const CameraParam& c, double* u, double* v) {
  if (!c.distorted()) return;
  if (!c.polynomial) {
    // u~ = 2 u / (1 + sqrt(1 - 4 Kappa r^2)) solves u = u~ / (1 + Kappa r~^2). Past the
    // radius where no distorted point straightens to (u, v), the root is taken as 0.
    const double radicand = 1 - 4 * c.kappa * (*u * *u + *v * *v);
    const double scale = 2 / (1 + std::sqrt(radicand > 0 ? radicand : 0));
    *u *= scale;
    *v *= scale;
    return;
  }
  // The polynomial has no closed inverse: Newton's method from the straight point.
  const double tu = *u, tv = *v;
  double x = tu, y = tv;
  for (int i = 0; i < 100; ++i) {
    double fx, fy, j[4];
    polynomialStraight(c, x, y, &fx, &fy, j);
    fx -= tu, fy -= tv;
    const double det = j[0] * j[3] - j[1] * j[2];
    if (det == 0 || !std::isfinite(det)) break;
    const double dx = (j[3] * fx - j[1] * fy) / det, dy = (j[0] * fy - j[2] * fx) / det;
    x -= dx, y -= dy;
    if (std::fabs(dx) + std::fabs(dy) <= 1e-15 * (std::fabs(x) + std::fabs(y))) break;
  }
  *u = x;
  *v = y;
}

void lineOfSight(const CameraParam& c, double row, double col, double p[3], double q[3]) {
  double u, v;
  pixelToPlane(c, row, col, &u, &v);
  undistort(c, &u, &v);
  if (c.telecentric()) {
    p[0] = q[0] = u, p[1] = q[1] = v, p[2] = 0, q[2] = 1;
  } else {
    p[0] = p[1] = p[2] = 0, q[0] = u, q[1] = v, q[2] = c.focus;
  }
}

bool worldPlanePoint(const CameraParam& c, const Mat3d& toWorld, double row, double col, double* x,
                     double* y) {
  double p[3], q[3], wp[3], wq[3];
  lineOfSight(c, row, col, p, q);
  for (std::size_t r = 0; r < 3; ++r) {
    wp[r] = toWorld[r * 4] * p[0] + toWorld[r * 4 + 1] * p[1] + toWorld[r * 4 + 2] * p[2] +
            toWorld[r * 4 + 3];
    wq[r] = toWorld[r * 4] * q[0] + toWorld[r * 4 + 1] * q[1] + toWorld[r * 4 + 2] * q[2] +
            toWorld[r * 4 + 3];
  }
  const double run = std::hypot(wq[0] - wp[0], wq[1] - wp[1], wq[2] - wp[2]);
  if (!(std::fabs(wq[2] - wp[2]) > 1e-12 * run)) return false;
  const double t = -wp[2] / (wq[2] - wp[2]);
  *x = wp[0] + t * (wq[0] - wp[0]);
  *y = wp[1] + t * (wq[1] - wp[1]);
  return true;
}

void changePixel(const CameraParam& in, const CameraParam& out, double row, double col,
                 double* rowOut, double* colOut) {
  const double ratio = in.telecentric() ? 1.0 : out.focus / in.focus;
  double u, v;
  pixelToPlane(in, row, col, &u, &v);
  undistort(in, &u, &v);
  u *= ratio;
  v *= ratio;
  distort(out, &u, &v);
  planeToPixel(out, u, v, rowOut, colOut);
}

double worldScaleOf(const HTuple& scale, const char* op, int n) {
  requireLength(scale, 1, op, n);
  if (scale[0].Type() == eElementTypeString) {
    const std::string unit = scale[0].S().str();
    if (unit == "m") return 1;
    if (unit == "cm") return 0.01;
    if (unit == "mm") return 0.001;
    // 'µm' as a program's UTF-8 or Latin-1 text spells it.
    if (unit == "microns" || unit == "um" || unit == "\xC2\xB5m" || unit == "\xB5m") return 1e-6;
    fail(op, 1300 + n);
  }
  const double value = numberAt(scale, 0, op, n);
  if (!(value > 0) || !std::isfinite(value)) fail(op, 1300 + n);
  return value;
}

}  // namespace Standin
}  // namespace HalconCpp
