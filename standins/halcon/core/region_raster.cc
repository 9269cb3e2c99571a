// Regions rasterised from shapes: discrete circles, convex polygons, rotated rectangles,
// ellipses and lines, each pixel decided by its centre.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/region_geometry.h"

namespace HalconCpp {
namespace Standin {

namespace {

// Pixel centres on a shape's edge belong to it; rounding must not push them out.
constexpr double kEdge = 1e-6;

}  // namespace

Runs discreteCircleRuns(double row, double col, double radius) {
  const double halves = std::floor(2 * radius + kEdge);
  if (halves < 1) return {};
  const double r = halves / 2;
  const bool odd = std::fmod(halves, 2) == 1;
  const double centreRow = odd ? std::round(row) : std::ceil(row) - 0.5;
  const double centreCol = odd ? std::round(col) : std::ceil(col) - 0.5;
  Runs runs;
  const auto first = static_cast<std::int32_t>(std::ceil(centreRow - r - kEdge));
  const auto last = static_cast<std::int32_t>(std::floor(centreRow + r + kEdge));
  for (std::int32_t y = first; y <= last; ++y) {
    const double dy = y - centreRow;
    const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
    const auto begin = static_cast<std::int32_t>(std::ceil(centreCol - half - kEdge));
    const auto end = static_cast<std::int32_t>(std::floor(centreCol + half + kEdge));
    if (begin <= end) runs.push_back(Run{y, begin, end});
  }
  return runs;
}

Runs convexPolygonRuns(const std::vector<Point>& corners) {
  if (corners.empty()) return {};
  double top = corners[0].row, bottom = corners[0].row;
  for (const Point& p : corners) {
    top = std::min(top, p.row);
    bottom = std::max(bottom, p.row);
  }
  Runs runs;
  const auto first = static_cast<std::int32_t>(std::ceil(top - kEdge));
  const auto last = static_cast<std::int32_t>(std::floor(bottom + kEdge));
  for (std::int32_t y = first; y <= last; ++y) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const Point& p = corners[i];
      const Point& q = corners[(i + 1) % corners.size()];
      if (std::fabs(y - p.row) <= kEdge) {
        lo = std::min(lo, p.col);
        hi = std::max(hi, p.col);
      }
      if (std::fabs(q.row - p.row) <= kEdge) continue;
      const double t = (y - p.row) / (q.row - p.row);
      if (t < -kEdge || t > 1 + kEdge) continue;
      const double x = p.col + std::clamp(t, 0.0, 1.0) * (q.col - p.col);
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    }
    if (lo > hi) continue;
    const auto begin = static_cast<std::int32_t>(std::ceil(lo - kEdge));
    const auto end = static_cast<std::int32_t>(std::floor(hi + kEdge));
    if (begin <= end) runs.push_back(Run{y, begin, end});
  }
  return runs;
}

Runs rectangle2Runs(double row, double col, double phi, double length1, double length2) {
  // Along the angle: rows grow downwards, so the axis is (-sin, cos) in (row, column).
  const double ar = -std::sin(phi) * length1, ac = std::cos(phi) * length1;
  const double br = std::cos(phi) * length2, bc = std::sin(phi) * length2;
  return convexPolygonRuns(
      {Point{row + ar + br, col + ac + bc}, Point{row + ar - br, col + ac - bc},
       Point{row - ar - br, col - ac - bc}, Point{row - ar + br, col - ac + bc}});
}

Runs ellipseRuns(double row, double col, double phi, double radius1, double radius2) {
  const double a = std::max(radius1, 1e-3), b = std::max(radius2, 1e-3);
  const double ur = -std::sin(phi), uc = std::cos(phi);  // main axis
  const double vr = std::cos(phi), vc = std::sin(phi);   // secondary axis
  const double qa = uc * uc / (a * a) + vc * vc / (b * b);
  const double qb = 2 * (ur * uc / (a * a) + vr * vc / (b * b));
  const double qc = ur * ur / (a * a) + vr * vr / (b * b);
  const double extent = std::sqrt(a * a * ur * ur + b * b * vr * vr);
  Runs runs;
  const auto first = static_cast<std::int32_t>(std::ceil(row - extent - kEdge));
  const auto last = static_cast<std::int32_t>(std::floor(row + extent + kEdge));
  for (std::int32_t y = first; y <= last; ++y) {
    const double dy = y - row;
    const double B = qb * dy, C = qc * dy * dy - 1;
    const double disc = B * B - 4 * qa * C;
    if (disc < -kEdge) continue;
    const double root = std::sqrt(std::max(0.0, disc));
    const auto begin = static_cast<std::int32_t>(std::ceil(col + (-B - root) / (2 * qa) - kEdge));
    const auto end = static_cast<std::int32_t>(std::floor(col + (-B + root) / (2 * qa) + kEdge));
    if (begin <= end) runs.push_back(Run{y, begin, end});
  }
  return runs;
}

Runs lineRuns(std::int32_t row1, std::int32_t col1, std::int32_t row2, std::int32_t col2) {
  Runs runs;
  std::int64_t r = row1, c = col1;
  const std::int64_t dr = std::abs(static_cast<std::int64_t>(row2) - row1);
  const std::int64_t dc = std::abs(static_cast<std::int64_t>(col2) - col1);
  const int sr = row2 >= row1 ? 1 : -1, sc = col2 >= col1 ? 1 : -1;
  std::int64_t error = dc - dr;
  for (;;) {
    runs.push_back(Run{static_cast<std::int32_t>(r), static_cast<std::int32_t>(c),
                       static_cast<std::int32_t>(c)});
    if (r == row2 && c == col2) break;
    const std::int64_t twice = 2 * error;
    if (twice > -dr) {
      error -= dr;
      c += sc;
    }
    if (twice < dc) {
      error += dc;
      r += sr;
    }
  }
  return normalizeRuns(std::move(runs));
}

}  // namespace Standin
}  // namespace HalconCpp
