// Points through projective matrices, and matrices fitted to point correspondences by the
// direct linear transformation: the null vector of the equations q x (H p) = 0, found as the
// eigenvector of the least eigenvalue of their normal matrix. 'normalized_dlt' first moves
// each point set's centroid to the origin and scales its mean distance to sqrt(2).
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HException.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/proj_hom_mat2d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct Points {
  std::vector<double> x, y, w;
};

// The eigenvector of the least eigenvalue of a symmetric 9x9 matrix (cyclic Jacobi); all
// zeros when that eigenvalue is not single.
ProjMatrix leastEigenvector(std::array<double, 81> a) {
  std::array<double, 81> v{};
  for (std::size_t i = 0; i < 9; ++i) v[i * 9 + i] = 1;
  for (int sweep = 0; sweep < 100; ++sweep) {
    double off = 0;
    for (std::size_t p = 0; p < 9; ++p) {
      for (std::size_t q = p + 1; q < 9; ++q) off += a[p * 9 + q] * a[p * 9 + q];
    }
    if (off < 1e-300) break;
    for (std::size_t p = 0; p < 9; ++p) {
      for (std::size_t q = p + 1; q < 9; ++q) {
        const double apq = a[p * 9 + q];
        if (apq == 0) continue;
        const double theta = (a[q * 9 + q] - a[p * 9 + p]) / (2 * apq);
        const double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1), s = t * c;
        for (std::size_t k = 0; k < 9; ++k) {
          const double akp = a[k * 9 + p], akq = a[k * 9 + q];
          a[k * 9 + p] = c * akp - s * akq;
          a[k * 9 + q] = s * akp + c * akq;
        }
        for (std::size_t k = 0; k < 9; ++k) {
          const double apk = a[p * 9 + k], aqk = a[q * 9 + k];
          a[p * 9 + k] = c * apk - s * aqk;
          a[q * 9 + k] = s * apk + c * aqk;
        }
        for (std::size_t k = 0; k < 9; ++k) {
          const double vkp = v[k * 9 + p], vkq = v[k * 9 + q];
          v[k * 9 + p] = c * vkp - s * vkq;
          v[k * 9 + q] = s * vkp + c * vkq;
        }
      }
    }
  }
  std::size_t order[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  std::sort(order, order + 9,
            [&a](std::size_t l, std::size_t r) { return a[l * 9 + l] < a[r * 9 + r]; });
  // A second null vector: the points leave the matrix open (too few in general position).
  if (a[order[1] * 9 + order[1]] <= 1e-10 * a[order[8] * 9 + order[8]]) return {};
  ProjMatrix h{};
  for (std::size_t k = 0; k < 9; ++k) h[k] = v[k * 9 + order[0]];
  return h;
}

// The similarity that moves the finite points' centroid to the origin and their mean
// distance from it to sqrt(2); the identity when there is nothing to scale.
ProjMatrix normalizing(const Points& p) {
  double cx = 0, cy = 0, n = 0;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    if (p.w[i] == 0) continue;
    cx += p.x[i] / p.w[i], cy += p.y[i] / p.w[i], n += 1;
  }
  if (n == 0) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
  cx /= n, cy /= n;
  double mean = 0;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    if (p.w[i] != 0) mean += std::hypot(p.x[i] / p.w[i] - cx, p.y[i] / p.w[i] - cy);
  }
  mean /= n;
  const double s = mean > 0 ? std::sqrt(2.0) / mean : 1;
  return {s, 0, -s * cx, 0, s, -s * cy, 0, 0, 1};
}

Points mapped(const ProjMatrix& m, const Points& p) {
  Points out;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    out.x.push_back(m[0] * p.x[i] + m[1] * p.y[i] + m[2] * p.w[i]);
    out.y.push_back(m[3] * p.x[i] + m[4] * p.y[i] + m[5] * p.w[i]);
    out.w.push_back(m[6] * p.x[i] + m[7] * p.y[i] + m[8] * p.w[i]);
  }
  return out;
}

ProjMatrix dlt(const Points& p, const Points& q) {
  std::array<double, 81> normal{};
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    const double pv[3] = {p.x[i], p.y[i], p.w[i]};
    std::array<double, 9> rows[2]{};
    for (std::size_t k = 0; k < 3; ++k) {
      rows[0][3 + k] = -q.w[i] * pv[k];
      rows[0][6 + k] = q.y[i] * pv[k];
      rows[1][k] = q.w[i] * pv[k];
      rows[1][6 + k] = -q.x[i] * pv[k];
    }
    for (const auto& r : rows) {
      for (std::size_t a = 0; a < 9; ++a) {
        for (std::size_t b = 0; b < 9; ++b) normal[a * 9 + b] += r[a] * r[b];
      }
    }
  }
  return leastEigenvector(normal);
}

// The fitted matrix, scaled so that its last element is 1 (or to unit length when that
// element is 0); 9205 when the points determine no invertible matrix.
ProjMatrix fitted(const Points& p, const Points& q, const std::string& method, const char* op) {
  ProjMatrix h;
  if (method == "dlt") {
    h = dlt(p, q);
  } else {
    const ProjMatrix tp = normalizing(p), tq = normalizing(q);
    h = projComposed(projComposed(projInverted(tq, op), dlt(mapped(tp, p), mapped(tq, q))), tp);
  }
  double norm = 0;
  for (double v : h) norm += v * v;
  norm = std::sqrt(norm);
  if (!(norm > 0)) fail(op, H_ERR_MATRIX_SING);
  const double scale = std::fabs(h[8]) > 1e-12 * norm ? h[8] : norm;
  for (double& v : h) v /= scale;
  const double det = h[0] * (h[4] * h[8] - h[5] * h[7]) - h[1] * (h[3] * h[8] - h[5] * h[6]) +
                     h[2] * (h[3] * h[7] - h[4] * h[6]);
  double size = 0;
  for (double v : h) size = std::max(size, std::fabs(v));
  if (std::fabs(det) <= 1e-10 * size * size * size) fail(op, H_ERR_MATRIX_SING);
  return h;
}

// The homogeneous points of up to three inputs of one length (else 1400+n); a missing w is 1.
Points pointsOf(const HTuple* const inputs[3], const int positions[3], const char* op) {
  Points p;
  const Hlong count = inputs[0]->Length();
  for (int k = 1; k < 3; ++k) {
    if (inputs[k]) requireLength(*inputs[k], count, op, positions[k]);
  }
  for (Hlong i = 0; i < count; ++i) {
    p.x.push_back(numberAt(*inputs[0], i, op, positions[0]));
    p.y.push_back(numberAt(*inputs[1], i, op, positions[1]));
    p.w.push_back(inputs[2] ? numberAt(*inputs[2], i, op, positions[2]) : 1.0);
  }
  return p;
}

std::string methodOf(const HTuple& value, const char* op, int n) {
  const std::string method = oneString(value, op, n);
  if (method != "dlt" && method != "normalized_dlt") fail(op, 1300 + n);
  return method;
}

}  // namespace

void ProjectiveTransPoint2d(const HTuple& HomMat2D, const HTuple& Px, const HTuple& Py,
                            const HTuple& Pw, HTuple* Qx, HTuple* Qy, HTuple* Qw) {
  ApiScope scope("ProjectiveTransPoint2d");
  const char* op = "projective_trans_point_2d";
  const ProjMatrix m = projMatrixOf(HomMat2D, op, 1);
  const HTuple* inputs[3] = {&Px, &Py, &Pw};
  const int positions[3] = {2, 3, 4};
  const Points p = mapped(m, pointsOf(inputs, positions, op));
  HTuple x, y, w;
  for (std::size_t i = 0; i < p.x.size(); ++i) {
    x.Append(HTuple(p.x[i]));
    y.Append(HTuple(p.y[i]));
    w.Append(HTuple(p.w[i]));
  }
  setOutput(Qx, x);
  setOutput(Qy, y);
  setOutput(Qw, w);
}

void ProjectiveTransPixel(const HTuple& HomMat2D, const HTuple& Row, const HTuple& Col,
                          HTuple* RowTrans, HTuple* ColTrans) {
  ApiScope scope("ProjectiveTransPixel");
  const char* op = "projective_trans_pixel";
  const ProjMatrix m = projPixelMatrix(projMatrixOf(HomMat2D, op, 1));
  requireLength(Col, Row.Length(), op, 3);
  HTuple rows, cols;
  for (Hlong i = 0; i < Row.Length(); ++i) {
    double r, c;
    // A pixel sent to infinity has no coordinates to give.
    if (!projApply(m, numberAt(Row, i, op, 2), numberAt(Col, i, op, 3), &r, &c)) fail(op, 1302);
    rows.Append(HTuple(r));
    cols.Append(HTuple(c));
  }
  setOutput(RowTrans, rows);
  setOutput(ColTrans, cols);
}

void HomVectorToProjHomMat2d(const HTuple& Px, const HTuple& Py, const HTuple& Pw, const HTuple& Qx,
                             const HTuple& Qy, const HTuple& Qw, const HTuple& Method,
                             HTuple* HomMat2D) {
  ApiScope scope("HomVectorToProjHomMat2d");
  const char* op = "hom_vector_to_proj_hom_mat2d";
  const std::string method = methodOf(Method, op, 7);
  const HTuple* from[3] = {&Px, &Py, &Pw};
  const HTuple* to[3] = {&Qx, &Qy, &Qw};
  const int fromAt[3] = {1, 2, 3}, toAt[3] = {4, 5, 6};
  const Points p = pointsOf(from, fromAt, op);
  requireLength(Qx, Px.Length(), op, 4);
  const Points q = pointsOf(to, toAt, op);
  if (p.x.size() < 4) fail(op, 1401);
  setOutput(HomMat2D, projTupleOf(fitted(p, q, method, op)));
}

void VectorToProjHomMat2d(const HTuple& Px, const HTuple& Py, const HTuple& Qx, const HTuple& Qy,
                          const HTuple& Method, const HTuple& CovXX1, const HTuple& CovYY1,
                          const HTuple& CovXY1, const HTuple& CovXX2, const HTuple& CovYY2,
                          const HTuple& CovXY2, HTuple* HomMat2D, HTuple* Covariance) {
  ApiScope scope("VectorToProjHomMat2d");
  const char* op = "vector_to_proj_hom_mat2d";
  // The covariances weigh only the 'gold_standard' fit, which is not offered.
  (void)CovXX1, (void)CovYY1, (void)CovXY1, (void)CovXX2, (void)CovYY2, (void)CovXY2;
  const std::string method = methodOf(Method, op, 5);
  const HTuple* from[3] = {&Px, &Py, nullptr};
  const HTuple* to[3] = {&Qx, &Qy, nullptr};
  const int fromAt[3] = {1, 2, 0}, toAt[3] = {3, 4, 0};
  const Points p = pointsOf(from, fromAt, op);
  requireLength(Qx, Px.Length(), op, 3);
  const Points q = pointsOf(to, toAt, op);
  if (p.x.size() < 4) fail(op, 1401);
  setOutput(HomMat2D, projTupleOf(fitted(p, q, method, op)));
  setOutput(Covariance, HTuple());
}

}  // namespace HalconCpp
