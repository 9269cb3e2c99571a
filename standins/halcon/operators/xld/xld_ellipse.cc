#include "operators/xld/xld_ellipse.h"
#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace HalconCpp {
namespace Standin {

namespace {

using Matrix3 = std::array<std::array<double, 3>, 3>;

bool invert(const Matrix3& m, Matrix3* out) {
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  if (det == 0 || !std::isfinite(det)) return false;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      // The cofactor of (c, r), transposed into place.
      const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
      (*out)[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
    }
  }
  return true;
}

// The real roots of x^3 + a x^2 + b x + c.
std::vector<double> cubicRoots(double a, double b, double c) {
  const double q = (a * a - 3 * b) / 9, r = (2 * a * a * a - 9 * a * b + 27 * c) / 54;
  std::vector<double> roots;
  if (r * r < q * q * q) {
    const double theta = std::acos(std::clamp(r / std::sqrt(q * q * q), -1.0, 1.0));
    for (int k = 0; k < 3; ++k) {
      roots.push_back(-2 * std::sqrt(q) * std::cos((theta + 2 * kPi * k) / 3) - a / 3);
    }
  } else {
    const double s = -std::copysign(std::cbrt(std::fabs(r) + std::sqrt(r * r - q * q * q)), r);
    const double t = s == 0 ? 0 : q / s;
    roots.push_back(s + t - a / 3);
  }
  return roots;
}

// The eigenvector of m for the eigenvalue: the largest cross product of two rows of m - lambda.
std::array<double, 3> eigenvector(const Matrix3& m, double lambda) {
  Matrix3 a = m;
  for (int i = 0; i < 3; ++i) a[i][i] -= lambda;
  std::array<double, 3> best{0, 0, 0};
  double bestNorm = -1;
  for (int i = 0; i < 3; ++i) {
    const auto& u = a[i];
    const auto& v = a[(i + 1) % 3];
    const std::array<double, 3> x{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                  u[0] * v[1] - u[1] * v[0]};
    const double norm = x[0] * x[0] + x[1] * x[1] + x[2] * x[2];
    if (norm > bestNorm) bestNorm = norm, best = x;
  }
  return best;
}

double halfTurn(double phi) {
  while (phi <= -kPi / 2) phi += kPi;
  while (phi > kPi / 2) phi -= kPi;
  return phi;
}

}  // namespace

bool fitEllipseAlgebraic(const std::vector<Point>& points, const std::vector<double>& weights,
                         EllipseShape* ellipse) {
  // Halir and Flusser's split of the scatter matrix, on points centred and scaled to unit
  // spread so that the sums stay well conditioned.
  double sw = 0, mr = 0, mc = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    sw += weights[i], mr += weights[i] * points[i].row, mc += weights[i] * points[i].col;
  }
  if (!(sw > 0)) return false;
  mr /= sw, mc /= sw;
  double spread = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    spread += weights[i] * (std::pow(points[i].row - mr, 2) + std::pow(points[i].col - mc, 2));
  }
  const double s = std::sqrt(spread / sw);
  if (!(s > 0) || !std::isfinite(s)) return false;
  Matrix3 s1{}, s2{}, s3{};
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double u = (points[i].row - mr) / s, v = (points[i].col - mc) / s, w = weights[i];
    const double d1[3] = {u * u, u * v, v * v}, d2[3] = {u, v, 1};
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) {
        s1[j][k] += w * d1[j] * d1[k], s2[j][k] += w * d1[j] * d2[k], s3[j][k] += w * d2[j] * d2[k];
      }
    }
  }
  Matrix3 s3inv;
  if (!invert(s3, &s3inv)) return false;
  Matrix3 t{}, m{};
  for (int j = 0; j < 3; ++j) {
    for (int k = 0; k < 3; ++k) {
      for (int l = 0; l < 3; ++l) t[j][k] -= s3inv[j][l] * s2[k][l];
    }
  }
  for (int j = 0; j < 3; ++j) {
    for (int k = 0; k < 3; ++k) {
      m[j][k] = s1[j][k];
      for (int l = 0; l < 3; ++l) m[j][k] += s2[j][l] * t[l][k];
    }
  }
  // The constraint 4ac - b^2 = 1 as the inverse of its matrix applied from the left.
  const Matrix3 c{{{m[2][0] / 2, m[2][1] / 2, m[2][2] / 2},
                   {-m[1][0], -m[1][1], -m[1][2]},
                   {m[0][0] / 2, m[0][1] / 2, m[0][2] / 2}}};
  const double trace = c[0][0] + c[1][1] + c[2][2];
  const double minors = c[0][0] * c[1][1] - c[0][1] * c[1][0] + c[0][0] * c[2][2] -
                        c[0][2] * c[2][0] + c[1][1] * c[2][2] - c[1][2] * c[2][1];
  const double det = c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1]) -
                     c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0]) +
                     c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0]);
  std::array<double, 3> a1{0, 0, 0};
  double bestCondition = 0;
  for (double lambda : cubicRoots(-trace, minors, -det)) {
    const std::array<double, 3> v = eigenvector(c, lambda);
    const double norm = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(norm > 0)) continue;
    const double condition = (4 * v[0] * v[2] - v[1] * v[1]) / (norm * norm);
    if (condition > bestCondition) bestCondition = condition, a1 = v;
  }
  if (!(bestCondition > 0)) return false;
  std::array<double, 3> a2{0, 0, 0};
  for (int j = 0; j < 3; ++j) {
    for (int k = 0; k < 3; ++k) a2[j] += t[j][k] * a1[k];
  }
  // A u^2 + B u v + C v^2 + D u + E v + F = 0, u along the rows and v along the columns.
  const double qa = a1[0], qb = a1[1] / 2, qc = a1[2], d = a2[0], e = a2[1], f = a2[2];
  const double qdet = qa * qc - qb * qb;
  if (!(qdet > 0)) return false;
  const double u0 = (-d * qc + e * qb) / (2 * qdet), v0 = (-e * qa + d * qb) / (2 * qdet);
  const double f0 = f + (d * u0 + e * v0) / 2;
  const double h = (qa + qc) / 2, root = std::sqrt(((qa - qc) / 2) * ((qa - qc) / 2) + qb * qb);
  const double small = h - root, large = h + root;
  const double ra2 = -f0 / small, rb2 = -f0 / large;
  if (!(ra2 > 0) || !(rb2 > 0) || !std::isfinite(ra2)) return false;
  // The main axis is the quadratic form's eigenvector of the smaller eigenvalue.
  double eu = qb, ev = small - qa;
  if (eu == 0 && ev == 0) eu = qa <= qc ? 1 : 0, ev = qa <= qc ? 0 : 1;
  ellipse->row = mr + s * u0;
  ellipse->col = mc + s * v0;
  ellipse->ra = s * std::sqrt(ra2);
  ellipse->rb = s * std::sqrt(rb2);
  ellipse->phi = halfTurn(std::atan2(-eu, ev));
  return std::isfinite(ellipse->row) && std::isfinite(ellipse->col);
}

double ellipseAngle(const EllipseShape& e, const Point& p) {
  const double dr = p.row - e.row, dc = p.col - e.col;
  const double x = -dr * std::sin(e.phi) + dc * std::cos(e.phi);
  const double y = -dr * std::cos(e.phi) - dc * std::sin(e.phi);
  return std::atan2(e.rb > 0 ? y / e.rb : y, e.ra > 0 ? x / e.ra : x);
}

double signedEllipseDistance(const EllipseShape& e, const Point& p) {
  const double dr = p.row - e.row, dc = p.col - e.col;
  double x = std::fabs(-dr * std::sin(e.phi) + dc * std::cos(e.phi));
  double y = std::fabs(-dr * std::cos(e.phi) - dc * std::sin(e.phi));
  double a = std::fabs(e.ra), b = std::fabs(e.rb);
  if (b > a) std::swap(a, b), std::swap(x, y);
  if (b == 0) return x <= a ? y : std::hypot(x - a, y);  // a segment along the main axis
  const double sign = (x / a) * (x / a) + (y / b) * (y / b) < 1 ? -1 : 1;
  if (y == 0) {
    // On the main axis inside the evolute the nearest point leaves the axis.
    if (x * a < a * a - b * b) {
      const double px = a * a * x / (a * a - b * b);
      return -std::hypot(px - x, b * std::sqrt(std::max(0.0, 1 - (px / a) * (px / a))));
    }
    return sign * std::fabs(x - a);
  }
  // The nearest point is (a^2 x / (t + a^2), b^2 y / (t + b^2)) for the root t > -b^2 of
  // (a x / (t + a^2))^2 + (b y / (t + b^2))^2 = 1, which falls from +inf there (Eberly).
  const auto g = [&](double t) {
    const double u = a * x / (t + a * a), v = b * y / (t + b * b);
    return u * u + v * v - 1;
  };
  double lo = -b * b, hi = -b * b + std::hypot(a * x, b * y);
  for (int k = 0; k < 200 && hi - lo > 1e-15 * std::max(1.0, std::fabs(hi)); ++k) {
    const double mid = lo + (hi - lo) / 2;
    (g(mid) > 0 ? lo : hi) = mid;
  }
  const double t = lo + (hi - lo) / 2;
  return sign * std::hypot(a * a * x / (t + a * a) - x, b * b * y / (t + b * b) - y);
}

bool fitEllipseGeometric(const std::vector<Point>& points, const std::vector<double>& weights,
                         EllipseShape* ellipse) {
  if (!fitEllipseAlgebraic(points, weights, ellipse)) return false;
  // Levenberg and Marquardt on (row, col, phi, ra, rb), derivatives by central differences.
  const auto cost = [&](const EllipseShape& e) {
    double sum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double d = signedEllipseDistance(e, points[i]);
      sum += weights[i] * d * d;
    }
    return sum;
  };
  const auto param = [](EllipseShape& e, int k) -> double& {
    return k == 0 ? e.row : k == 1 ? e.col : k == 2 ? e.phi : k == 3 ? e.ra : e.rb;
  };
  EllipseShape current = *ellipse;
  double currentCost = cost(current), damping = 1e-3;
  for (int step = 0; step < 100; ++step) {
    double jtj[5][5] = {}, jtr[5] = {};
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double r = signedEllipseDistance(current, points[i]);
      double jac[5];
      for (int k = 0; k < 5; ++k) {
        const double h = 1e-6 * std::max(1.0, std::fabs(param(current, k)));
        EllipseShape plus = current, minus = current;
        param(plus, k) += h, param(minus, k) -= h;
        jac[k] =
            (signedEllipseDistance(plus, points[i]) - signedEllipseDistance(minus, points[i])) /
            (2 * h);
      }
      for (int a = 0; a < 5; ++a) {
        for (int b = 0; b < 5; ++b) jtj[a][b] += weights[i] * jac[a] * jac[b];
        jtr[a] += weights[i] * jac[a] * r;
      }
    }
    // Solve (J^T J + damping diag) delta = -J^T r by elimination with partial pivoting.
    double a[5][6];
    for (int r = 0; r < 5; ++r) {
      for (int c = 0; c < 5; ++c) a[r][c] = jtj[r][c] + (r == c ? damping * (1 + jtj[r][c]) : 0);
      a[r][5] = -jtr[r];
    }
    bool solved = true;
    for (int c = 0; c < 5 && solved; ++c) {
      int pivot = c;
      for (int r = c + 1; r < 5; ++r) {
        if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
      }
      if (std::fabs(a[pivot][c]) < 1e-300) solved = false;
      for (int k = 0; k < 6 && solved; ++k) std::swap(a[c][k], a[pivot][k]);
      for (int r = 0; r < 5 && solved; ++r) {
        if (r == c) continue;
        const double factor = a[r][c] / a[c][c];
        for (int k = c; k < 6; ++k) a[r][k] -= factor * a[c][k];
      }
    }
    if (!solved) break;
    EllipseShape next = current;
    double change = 0;
    for (int k = 0; k < 5; ++k) {
      param(next, k) += a[k][5] / a[k][k];
      change += std::fabs(a[k][5] / a[k][k]);
    }
    next.ra = std::fabs(next.ra), next.rb = std::fabs(next.rb);
    const double nextCost = cost(next);
    if (std::isfinite(nextCost) && nextCost <= currentCost) {
      current = next, currentCost = nextCost, damping = std::max(1e-12, damping / 10);
      if (change < 1e-12 * (1 + current.ra)) break;
    } else {
      damping *= 10;
      if (damping > 1e12) break;
    }
  }
  if (current.rb > current.ra) std::swap(current.ra, current.rb), current.phi += kPi / 2;
  current.phi = halfTurn(current.phi);
  *ellipse = current;
  return std::isfinite(current.row) && std::isfinite(current.col) && current.ra > 0;
}

}  // namespace Standin
}  // namespace HalconCpp
