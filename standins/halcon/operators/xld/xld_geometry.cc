#include "operators/xld/xld_geometry.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace HalconCpp {
namespace Standin {

namespace {}  // namespace

double polylineLength(const ContourObject& contour) {
  double length = 0;
  for (std::size_t i = 1; i < contour.size(); ++i) {
    length +=
        std::hypot(contour.rows[i] - contour.rows[i - 1], contour.cols[i] - contour.cols[i - 1]);
  }
  return length;
}

AreaCenter areaCenterOf(const ContourObject& contour) {
  AreaCenter result;
  const std::size_t n = contour.size();
  if (n == 0) return result;
  // Coordinates relative to the first point keep the sums small for contours far from 0.
  const double r0 = contour.rows[0], c0 = contour.cols[0];
  double twice = 0, sumR = 0, sumC = 0, meanR = 0, meanC = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    const double ri = contour.rows[i] - r0, ci = contour.cols[i] - c0;
    const double rj = contour.rows[j] - r0, cj = contour.cols[j] - c0;
    // With the row pointing down, r_i c_j - r_j c_i is positive for a counter-clockwise turn
    // on the screen.
    const double cross = ri * cj - rj * ci;
    twice += cross;
    sumR += (ri + rj) * cross;
    sumC += (ci + cj) * cross;
    meanR += ri;
    meanC += ci;
  }
  if (twice == 0) {
    result.row = r0 + meanR / static_cast<double>(n);
    result.col = c0 + meanC / static_cast<double>(n);
    return result;
  }
  result.area = std::fabs(twice) / 2;
  result.row = r0 + sumR / (3 * twice);
  result.col = c0 + sumC / (3 * twice);
  result.positive = twice > 0;
  return result;
}

namespace {

double cross(const Point& o, const Point& a, const Point& b) {
  return (a.row - o.row) * (b.col - o.col) - (a.col - o.col) * (b.row - o.row);
}

std::vector<Point> hullOf(std::vector<Point> points) {
  // A coordinate that is no number sorts as the largest, so that the order stays strict.
  const auto key = [](double v) { return std::isnan(v) ? HUGE_VAL : v; };
  std::sort(points.begin(), points.end(), [&](const Point& a, const Point& b) {
    return key(a.row) < key(b.row) || (key(a.row) == key(b.row) && key(a.col) < key(b.col));
  });
  if (points.size() < 3) return points;
  std::vector<Point> hull(2 * points.size());
  std::size_t k = 0;
  for (const Point& p : points) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
    while (k >= t && cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) --k;
    hull[k++] = points[i - 1];
  }
  hull.resize(k - 1);
  return hull;
}

double median(std::vector<double> values) {
  const std::size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  return values[mid];
}

}  // namespace

std::vector<Point> fitPoints(const ContourObject& contour, Hlong maxPoints, Hlong clipping,
                             bool clip) {
  std::size_t first = 0, last = contour.size();
  if (clip) {
    const auto c = static_cast<std::size_t>(clipping);
    if (2 * c >= last) return {};
    first = c, last -= c;
  }
  std::vector<Point> points;
  const std::size_t n = last - first;
  const std::size_t keep =
      maxPoints < 0 ? n : std::min<std::size_t>(n, static_cast<std::size_t>(maxPoints));
  for (std::size_t k = 0; k < keep; ++k) {
    const std::size_t at = keep == 1 ? first : first + k * (n - 1) / (keep - 1);
    points.push_back(Point{contour.rows[at], contour.cols[at]});
  }
  return points;
}

std::vector<Point> convexHullOf(std::vector<Point> points) {
  return hullOf(std::move(points));
}

std::vector<Point> pointsOf(const ContourObject& contour) {
  std::vector<Point> points;
  points.reserve(contour.size());
  for (std::size_t i = 0; i < contour.size(); ++i) {
    points.push_back(Point{contour.rows[i], contour.cols[i]});
  }
  return points;
}

std::vector<Point> cloudOf(const ContourObject& contour) {
  std::vector<Point> points = pointsOf(contour);
  if (contour.closed()) points.pop_back();
  return points;
}

double signedArea(const std::vector<Point>& polygon) {
  if (polygon.empty()) return 0;
  const Point& o = polygon.front();
  double twice = 0;
  for (std::size_t i = 1; i + 1 < polygon.size(); ++i)
    twice += cross(o, polygon[i], polygon[i + 1]);
  return twice / 2;
}

double polygonMoment(const ContourObject& contour, int p, int q, double row0, double col0) {
  const std::size_t n = contour.size();
  if (n < 3) return 0;
  // Steger's closed form for the moments of a polygon: each edge contributes its cross product
  // times a sum over the powers of its two ends.
  const auto size = static_cast<std::size_t>(p + q + 1);
  std::vector<double> binomial(size * size, 0.0);
  const auto choose = [&](int a, int b) -> double& {
    return binomial[static_cast<std::size_t>(a) * size + static_cast<std::size_t>(b)];
  };
  for (int a = 0; a <= p + q; ++a) {
    choose(a, 0) = 1;
    for (int b = 1; b <= a; ++b)
      choose(a, b) = choose(a - 1, b - 1) + (b < a ? choose(a - 1, b) : 0);
  }
  std::vector<double> xi(static_cast<std::size_t>(p) + 1), xj(xi.size());
  std::vector<double> yi(static_cast<std::size_t>(q) + 1), yj(yi.size());
  double sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    const double x0 = contour.rows[i] - row0, x1 = contour.rows[j] - row0;
    const double y0 = contour.cols[i] - col0, y1 = contour.cols[j] - col0;
    const double c = x0 * y1 - x1 * y0;
    if (c == 0) continue;
    xi[0] = xj[0] = yi[0] = yj[0] = 1;
    for (int k = 1; k <= p; ++k) xi[k] = xi[k - 1] * x0, xj[k] = xj[k - 1] * x1;
    for (int k = 1; k <= q; ++k) yi[k] = yi[k - 1] * y0, yj[k] = yj[k - 1] * y1;
    double inner = 0;
    for (int k = 0; k <= p; ++k) {
      for (int l = 0; l <= q; ++l) {
        inner +=
            choose(k + l, l) * choose(p + q - k - l, q - l) * xi[k] * xj[p - k] * yi[l] * yj[q - l];
      }
    }
    sum += c * inner;
  }
  return sum / ((p + q + 2.0) * (p + q + 1.0) * choose(p + q, p));
}

Moments polygonMoments(const ContourObject& contour) {
  Moments m;
  const AreaCenter a = areaCenterOf(contour);
  m.row = a.row, m.col = a.col;
  if (a.area == 0) return m;
  m.area = a.area;
  const double perArea = (a.positive ? 1 : -1) / a.area;
  m.m20 = perArea * polygonMoment(contour, 2, 0, a.row, a.col);
  m.m02 = perArea * polygonMoment(contour, 0, 2, a.row, a.col);
  m.m11 = perArea * polygonMoment(contour, 1, 1, a.row, a.col);
  return m;
}

Moments cloudMoments(const ContourObject& contour) {
  Moments m;
  const std::vector<Point> cloud = cloudOf(contour);
  if (cloud.empty()) return m;
  m.area = static_cast<double>(cloud.size());
  for (const Point& p : cloud) m.row += p.row, m.col += p.col;
  m.row /= m.area, m.col /= m.area;
  for (const Point& p : cloud) {
    const double dr = p.row - m.row, dc = p.col - m.col;
    m.m20 += dr * dr, m.m02 += dc * dc, m.m11 += dr * dc;
  }
  m.m20 /= m.area, m.m02 /= m.area, m.m11 /= m.area;
  return m;
}

Rectangle2 pointsRectangle2(const std::vector<double>& rows, const std::vector<double>& cols) {
  Rectangle2 best;
  std::vector<Point> points;
  for (std::size_t i = 0; i < rows.size(); ++i) points.push_back(Point{rows[i], cols[i]});
  const std::vector<Point> hull = hullOf(points);
  if (hull.empty()) return best;
  double bestArea = HUGE_VAL;
  // The smallest rectangle has a side along an edge of the hull.
  for (std::size_t i = 0; i < hull.size(); ++i) {
    const Point& a = hull[i];
    const Point& b = hull[(i + 1) % hull.size()];
    double ur = b.row - a.row, uc = b.col - a.col;
    const double norm = std::hypot(ur, uc);
    if (norm == 0) {
      ur = 0, uc = 1;
    } else {
      ur /= norm, uc /= norm;
    }
    double lo1 = HUGE_VAL, hi1 = -HUGE_VAL, lo2 = HUGE_VAL, hi2 = -HUGE_VAL;
    for (const Point& p : hull) {
      const double s = p.row * ur + p.col * uc, t = -p.row * uc + p.col * ur;
      lo1 = std::min(lo1, s), hi1 = std::max(hi1, s), lo2 = std::min(lo2, t),
      hi2 = std::max(hi2, t);
    }
    const double area = (hi1 - lo1) * (hi2 - lo2);
    if (area >= bestArea) continue;
    bestArea = area;
    const double s = (lo1 + hi1) / 2, t = (lo2 + hi2) / 2;
    best.row = s * ur - t * uc;
    best.col = s * uc + t * ur;
    double len1 = (hi1 - lo1) / 2, len2 = (hi2 - lo2) / 2;
    double dr = ur, dc = uc;
    if (len2 > len1) std::swap(len1, len2), dr = -uc, dc = ur;
    double phi = std::atan2(-dr, dc);
    if (phi <= -kPi / 2) phi += kPi;
    if (phi > kPi / 2) phi -= kPi;
    best.phi = phi;
    best.length1 = len1;
    best.length2 = len2;
  }
  return best;
}

std::vector<double> weightsOf(const std::vector<double>& distances, Weighting weighting,
                              double clippingFactor) {
  std::vector<double> weights(distances.size(), 1.0);
  if (weighting == Weighting::kNone || distances.empty()) return weights;
  std::vector<double> magnitudes;
  for (double d : distances) magnitudes.push_back(std::fabs(d));
  const double c = clippingFactor * median(magnitudes) / 0.6745;
  for (std::size_t i = 0; i < distances.size(); ++i) {
    const double d = magnitudes[i];
    // Most points on the fit: only those exactly on it count.
    if (!(c > 0)) {
      weights[i] = d == 0 ? 1.0 : 0.0;
      continue;
    }
    switch (weighting) {
      case Weighting::kHuber:
        weights[i] = d <= c ? 1.0 : c / d;
        break;
      case Weighting::kTukey:
        weights[i] = d <= c ? (1 - (d / c) * (d / c)) * (1 - (d / c) * (d / c)) : 0.0;
        break;
      case Weighting::kDrop:
        weights[i] = d <= c ? 1.0 : 0.0;
        break;
      case Weighting::kGauss:
        weights[i] = std::exp(-d * d / (2 * c * c));
        break;
      case Weighting::kNone:
        break;
    }
  }
  return weights;
}

bool fitLine(const std::vector<Point>& points, const std::vector<double>& weights, Line* line) {
  double sw = 0, mr = 0, mc = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    sw += weights[i];
    mr += weights[i] * points[i].row;
    mc += weights[i] * points[i].col;
  }
  if (sw <= 0) return false;
  mr /= sw, mc /= sw;
  double srr = 0, scc = 0, src = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double dr = points[i].row - mr, dc = points[i].col - mc;
    srr += weights[i] * dr * dr, scc += weights[i] * dc * dc, src += weights[i] * dr * dc;
  }
  if (srr + scc <= 0) return false;
  // The direction is the covariance's larger eigenvector; the normal is the smaller one.
  const double theta = 0.5 * std::atan2(2 * src, srr - scc);
  const double dirR = std::cos(theta), dirC = std::sin(theta);
  line->nr = dirC;
  line->nc = -dirR;
  line->dist = line->nr * mr + line->nc * mc;
  return true;
}

bool fitCircleAlgebraic(const std::vector<Point>& points, const std::vector<double>& weights,
                        Circle* circle) {
  // Centred on the weighted mean, so that the normal equations stay well conditioned.
  double sw = 0, mr = 0, mc = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    sw += weights[i], mr += weights[i] * points[i].row, mc += weights[i] * points[i].col;
  }
  if (sw <= 0) return false;
  mr /= sw, mc /= sw;
  double a[3][4] = {};
  for (std::size_t i = 0; i < points.size(); ++i) {
    const double r = points[i].row - mr, c = points[i].col - mc, w = weights[i];
    const double v[3] = {r, c, 1}, rhs = -(r * r + c * c);
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) a[j][k] += w * v[j] * v[k];
      a[j][3] += w * v[j] * rhs;
    }
  }
  double scale = 0;
  for (auto& row : a) {
    for (int k = 0; k < 3; ++k) scale = std::max(scale, std::fabs(row[k]));
  }
  for (int col = 0; col < 3; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 3; ++r) {
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    }
    if (std::fabs(a[pivot][col]) <= 1e-12 * scale) return false;
    std::swap(a[pivot], a[col]);
    for (int r = 0; r < 3; ++r) {
      if (r == col) continue;
      const double f = a[r][col] / a[col][col];
      for (int k = col; k < 4; ++k) a[r][k] -= f * a[col][k];
    }
  }
  const double d = a[0][3] / a[0][0], e = a[1][3] / a[1][1], f = a[2][3] / a[2][2];
  const double squared = (d * d + e * e) / 4 - f;
  if (!(squared > 0)) return false;
  circle->row = mr - d / 2;
  circle->col = mc - e / 2;
  circle->radius = std::sqrt(squared);
  return true;
}

bool fitCircleGeometric(const std::vector<Point>& points, const std::vector<double>& weights,
                        Circle* circle) {
  if (!fitCircleAlgebraic(points, weights, circle)) return false;
  // Gauss-Newton on (row, col, radius).
  for (int step = 0; step < 100; ++step) {
    double jtj[3][3] = {}, jtr[3] = {};
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double dr = points[i].row - circle->row, dc = points[i].col - circle->col;
      const double rho = std::hypot(dr, dc);
      if (rho == 0) continue;
      const double res = rho - circle->radius;
      const double j[3] = {-dr / rho, -dc / rho, -1};
      for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) jtj[a][b] += weights[i] * j[a] * j[b];
        jtr[a] += weights[i] * j[a] * res;
      }
    }
    // Solve jtj * delta = -jtr by Cramer's rule.
    const auto det3 = [](const double m[3][3]) {
      return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
             m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
             m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double det = det3(jtj);
    if (det == 0 || !std::isfinite(det)) break;
    double delta[3];
    for (int k = 0; k < 3; ++k) {
      double m[3][3];
      for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 3; ++b) m[a][b] = b == k ? -jtr[a] : jtj[a][b];
      }
      delta[k] = det3(m) / det;
    }
    circle->row += delta[0];
    circle->col += delta[1];
    circle->radius += delta[2];
    if (std::fabs(delta[0]) + std::fabs(delta[1]) + std::fabs(delta[2]) <
        1e-12 * (1 + circle->radius)) {
      break;
    }
  }
  circle->radius = std::fabs(circle->radius);
  return std::isfinite(circle->row) && std::isfinite(circle->col) && std::isfinite(circle->radius);
}

}  // namespace Standin
}  // namespace HalconCpp
