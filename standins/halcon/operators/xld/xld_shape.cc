// The shape factors of contours: circularity, compactness, convexity, rectangularity,
// orientation, eccentricity and the diameter.
#include "operators/xld/xld_shape.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "operators/xld/xld_geometry.h"

namespace HalconCpp {
namespace Standin {

namespace {

// The polygon clipped to the left of the directed line a -> b (Sutherland and Hodgman):
// clipping against each side of a convex polygon leaves the intersection, whose area is right
// even where a concave polygon leaves edges doubled back on themselves.
std::vector<Point> clipped(const std::vector<Point>& polygon, const Point& a, const Point& b) {
  std::vector<Point> out;
  const auto side = [&](const Point& p) {
    return (b.row - a.row) * (p.col - a.col) - (b.col - a.col) * (p.row - a.row);
  };
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point& p = polygon[i];
    const Point& q = polygon[(i + 1) % polygon.size()];
    const double sp = side(p), sq = side(q);
    if (sp >= 0) out.push_back(p);
    if ((sp >= 0) != (sq >= 0)) {
      const double t = sp / (sp - sq);
      out.push_back(Point{p.row + t * (q.row - p.row), p.col + t * (q.col - p.col)});
    }
  }
  return out;
}

double wrapped(double phi) {
  return phi > kPi ? phi - 2 * kPi : phi;
}

// The first point farthest from (row, col).
Point farthestFrom(const std::vector<Point>& points, double row, double col) {
  Point best{row, col};
  double far = -1;
  for (const Point& p : points) {
    const double d = std::hypot(p.row - row, p.col - col);
    if (d > far) far = d, best = p;
  }
  return best;
}

}  // namespace

double circularityOf(const ContourObject& contour) {
  const AreaCenter a = areaCenterOf(contour);
  double far = 0;
  for (const Point& p : pointsOf(contour))
    far = std::max(far, std::hypot(p.row - a.row, p.col - a.col));
  return far == 0 ? 0 : std::min(1.0, a.area / (far * far * kPi));
}

double compactnessOf(const ContourObject& contour) {
  const double area = areaCenterOf(contour).area;
  if (area == 0) return 0;
  // The length of the closed contour: the closing edge counts.
  double length = polylineLength(contour);
  const std::size_t n = contour.size();
  length +=
      std::hypot(contour.rows[n - 1] - contour.rows[0], contour.cols[n - 1] - contour.cols[0]);
  return length * length / (4 * area * kPi);
}

double convexityOf(const ContourObject& contour) {
  const double area = areaCenterOf(contour).area;
  const double hull = std::fabs(signedArea(convexHullOf(pointsOf(contour))));
  return hull == 0 ? 0 : std::min(1.0, area / hull);
}

double rectangularityOf(const ContourObject& contour) {
  const Moments m = polygonMoments(contour);
  if (m.area == 0) return 0;
  // The rectangle with the polygon's moments: a uniform side of half length L has the variance
  // L^2 / 3 along it.
  const double h = (m.m20 + m.m02) / 2;
  const double root = std::sqrt(std::max(0.0, h * h - (m.m20 * m.m02 - m.m11 * m.m11)));
  const double l1 = std::sqrt(3 * (h + root)), l2 = std::sqrt(3 * std::max(0.0, h - root));
  const double phi = ellipseOf(m).phi;
  // Along the major axis (row, col) = (-sin, cos), across it (-cos, -sin): counter-clockwise
  // corners on the screen.
  const double ur = -std::sin(phi), uc = std::cos(phi), vr = -uc, vc = ur;
  std::vector<Point> corners;
  constexpr double kSigns[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  for (const auto& [s, t] : kSigns) {
    corners.push_back(Point{m.row + s * l1 * ur + t * l2 * vr, m.col + s * l1 * uc + t * l2 * vc});
  }
  const double rectangle = 4 * l1 * l2;
  if (rectangle == 0) return 0;
  if (signedArea(corners) < 0) std::reverse(corners.begin(), corners.end());
  std::vector<Point> inside = pointsOf(contour);
  for (std::size_t i = 0; i < corners.size() && !inside.empty(); ++i) {
    inside = clipped(inside, corners[i], corners[(i + 1) % corners.size()]);
  }
  const double common = std::fabs(signedArea(inside));
  const double differing = m.area + rectangle - 2 * common;
  return std::clamp(1 - differing / rectangle, 0.0, 1.0);
}

double orientationOf(const ContourObject& contour) {
  const Moments m = polygonMoments(contour);
  const double phi = ellipseOf(m).phi;
  if (m.area == 0) return 0;
  const Point far = farthestFrom(pointsOf(contour), m.row, m.col);
  return far.col < m.col ? wrapped(phi + kPi) : phi;
}

double cloudOrientationOf(const ContourObject& contour) {
  const std::vector<Point> cloud = cloudOf(contour);
  if (cloud.size() == 2) {
    return std::atan2(-(cloud[1].row - cloud[0].row), cloud[1].col - cloud[0].col);
  }
  const Moments m = cloudMoments(contour);
  const double phi = ellipseOf(m).phi;
  if (cloud.empty()) return 0;
  const Point far = farthestFrom(cloud, m.row, m.col);
  const double along = -(far.row - m.row) * std::sin(phi) + (far.col - m.col) * std::cos(phi);
  return along < 0 ? wrapped(phi + kPi) : phi;
}

Eccentricity eccentricityOf(const ContourObject& contour) {
  Eccentricity e;
  const Moments m = polygonMoments(contour);
  if (m.area == 0) return e;
  const Ellipse ellipse = ellipseOf(m);
  e.anisometry = ellipse.rb == 0 ? 0 : ellipse.ra / ellipse.rb;
  e.bulkiness = kPi * ellipse.ra * ellipse.rb / m.area;
  e.structureFactor = e.anisometry * e.bulkiness - 1;
  return e;
}

Diameter diameterOf(const ContourObject& contour) {
  Diameter best;
  const std::vector<Point> hull = convexHullOf(pointsOf(contour));
  if (hull.empty()) return best;
  best.first = best.second = hull.front();
  const auto consider = [&](const Point& a, const Point& b) {
    const double d = std::hypot(a.row - b.row, a.col - b.col);
    if (d > best.length) best = Diameter{a, b, d};
  };
  const std::size_t h = hull.size();
  if (h < 3) {
    consider(hull.front(), hull.back());
    return best;
  }
  // Rotating calipers: for each edge the hull point farthest from its line, found by walking on
  // round the hull, is the only candidate opposite either end.
  const auto height = [&](std::size_t i, std::size_t k) {
    const Point& a = hull[i];
    const Point& b = hull[(i + 1) % h];
    const Point& p = hull[k];
    return std::fabs((b.row - a.row) * (p.col - a.col) - (b.col - a.col) * (p.row - a.row));
  };
  std::size_t k = 1;
  for (std::size_t i = 0; i < h; ++i) {
    for (std::size_t steps = 0; steps < h && height(i, (k + 1) % h) > height(i, k); ++steps) {
      k = (k + 1) % h;
    }
    consider(hull[i], hull[k]);
    consider(hull[(i + 1) % h], hull[k]);
  }
  return best;
}

}  // namespace Standin
}  // namespace HalconCpp
