// vector_to_hom_mat2d and vector_to_aniso (HALCON 11.0 reference): least-squares
// transformations between point pairs.
#include <cmath>
#include <vector>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The pairs about their centroids: both fits are exact in the translation, which then maps
// one centroid onto the other.
struct Centred {
  std::vector<double> px, py, qx, qy;
  double mpx = 0, mpy = 0, mqx = 0, mqy = 0;
};

Centred centred(const HTuple& Px, const HTuple& Py, const HTuple& Qx, const HTuple& Qy,
                const char* op) {
  const Hlong n = Px.Length();
  // Three pairs at the least: fewer leave an affine map open.
  if (n < 3) fail(op, 1401);
  requireLength(Py, n, op, 2);
  requireLength(Qx, n, op, 3);
  requireLength(Qy, n, op, 4);
  Centred c;
  for (Hlong i = 0; i < n; ++i) {
    c.px.push_back(numberAt(Px, i, op, 1));
    c.py.push_back(numberAt(Py, i, op, 2));
    c.qx.push_back(numberAt(Qx, i, op, 3));
    c.qy.push_back(numberAt(Qy, i, op, 4));
  }
  for (Hlong i = 0; i < n; ++i) {
    c.mpx += c.px[i] / double(n), c.mpy += c.py[i] / double(n);
    c.mqx += c.qx[i] / double(n), c.mqy += c.qy[i] / double(n);
  }
  for (Hlong i = 0; i < n; ++i) {
    c.px[i] -= c.mpx, c.py[i] -= c.mpy, c.qx[i] -= c.mqx, c.qy[i] -= c.mqy;
  }
  return c;
}

double sumOf(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * b[i];
  return sum;
}

AffineMatrix withTranslation(double a, double b, double d, double e, const Centred& c) {
  return {a, b, c.mqx - (a * c.mpx + b * c.mpy), d, e, c.mqy - (d * c.mpx + e * c.mpy)};
}

}  // namespace

void VectorToHomMat2d(const HTuple& Px, const HTuple& Py, const HTuple& Qx, const HTuple& Qy,
                      HTuple* HomMat2D) {
  ApiScope scope("VectorToHomMat2d");
  const char* op = "vector_to_hom_mat2d";
  const Centred c = centred(Px, Py, Qx, Qy, op);
  const double sxx = sumOf(c.px, c.px), sxy = sumOf(c.px, c.py), syy = sumOf(c.py, c.py);
  const double det = sxx * syy - sxy * sxy;
  // Points on one line leave the map across the line open.
  if (!(std::fabs(det) > 1e-12 * (sxx * syy + 1e-300))) fail(op, H_ERR_MATRIX_SING);
  const double xqx = sumOf(c.px, c.qx), yqx = sumOf(c.py, c.qx);
  const double xqy = sumOf(c.px, c.qy), yqy = sumOf(c.py, c.qy);
  const double a = (syy * xqx - sxy * yqx) / det, b = (sxx * yqx - sxy * xqx) / det;
  const double d = (syy * xqy - sxy * yqy) / det, e = (sxx * yqy - sxy * xqy) / det;
  setOutput(HomMat2D, tupleOf(withTranslation(a, b, d, e, c)));
}

// q = R(phi) diag(Sx, Sy) p + t. For a given phi the best scalings are linear fits, which
// leaves the sum of squares a quadratic form in (cos phi, sin phi): its largest eigenvector
// is the best angle.
void VectorToAniso(const HTuple& Px, const HTuple& Py, const HTuple& Qx, const HTuple& Qy,
                   HTuple* HomMat2D) {
  ApiScope scope("VectorToAniso");
  const char* op = "vector_to_aniso";
  const Centred c = centred(Px, Py, Qx, Qy, op);
  const double xx = sumOf(c.px, c.px), yy = sumOf(c.py, c.py);
  if (!(xx > 0 && yy > 0)) fail(op, H_ERR_MATRIX_SING);
  const double a = sumOf(c.qx, c.px), b = sumOf(c.qy, c.px);
  const double cq = sumOf(c.qx, c.py), d = sumOf(c.qy, c.py);
  const double m11 = a * a / xx + d * d / yy, m22 = b * b / xx + cq * cq / yy;
  const double m12 = a * b / xx - d * cq / yy;
  // phi and phi + pi give one matrix, both scalings negated.
  const double phi = 0.5 * std::atan2(2 * m12, m11 - m22);
  const double sx = (std::cos(phi) * a + std::sin(phi) * b) / xx;
  const double sy = (std::cos(phi) * d - std::sin(phi) * cq) / yy;
  const double cs = std::cos(phi), sn = std::sin(phi);
  setOutput(HomMat2D, tupleOf(withTranslation(cs * sx, -sn * sy, sn * sx, cs * sy, c)));
}

}  // namespace HalconCpp
