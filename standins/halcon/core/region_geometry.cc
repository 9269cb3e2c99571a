#include "core/region_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/numbers.h"
#include "core/run_sets.h"

namespace HalconCpp {
namespace Standin {

namespace {

double sumOfSquares(double k) {
  return k * (k + 1) * (2 * k + 1) / 6;
}

// Wraps an axis angle into (-pi/2, pi/2].
double axisAngle(double phi) {
  while (phi > kPi / 2 + 1e-12) phi -= kPi;
  while (phi <= -kPi / 2 + 1e-12) phi += kPi;
  return phi;
}

double distance(const Point& a, const Point& b) {
  return std::hypot(a.row - b.row, a.col - b.col);
}

}  // namespace

Moments momentsOf(const Runs& runs) {
  Moments m;
  double sumR = 0, sumC = 0, sumRR = 0, sumCC = 0, sumRC = 0;
  for (const Run& run : runs) {
    const double n = static_cast<double>(run.end) - run.begin + 1;
    const double r = run.row;
    const double cols = n * (static_cast<double>(run.begin) + run.end) / 2;
    m.area += n;
    sumR += n * r;
    sumRR += n * r * r;
    sumC += cols;
    sumCC += sumOfSquares(run.end) - sumOfSquares(static_cast<double>(run.begin) - 1);
    sumRC += r * cols;
  }
  if (m.area == 0) return m;
  m.row = sumR / m.area;
  m.col = sumC / m.area;
  m.m20 = std::max(0.0, sumRR / m.area - m.row * m.row);
  m.m02 = std::max(0.0, sumCC / m.area - m.col * m.col);
  m.m11 = sumRC / m.area - m.row * m.col;
  return m;
}

Ellipse ellipseOf(const Moments& m) {
  Ellipse e;
  if (m.area == 0) return e;
  const double root = std::sqrt((m.m20 - m.m02) * (m.m20 - m.m02) + 4 * m.m11 * m.m11);
  e.ra = std::sqrt(8 * (m.m20 + m.m02 + root)) / 2;
  e.rb = std::sqrt(std::max(0.0, 8 * (m.m20 + m.m02 - root))) / 2;
  if (root > 1e-12) e.phi = axisAngle(-0.5 * std::atan2(2 * m.m11, m.m02 - m.m20));
  return e;
}

double orientationOf(const Runs& runs, const Moments& m) {
  const double phi = ellipseOf(m).phi;
  // The contour point farthest from the centre decides the direction; of several equally far
  // the first met along the contour, which starts at the top-left pixel.
  double farthest = -1;
  Point decisive{m.row, m.col};
  for (const Point& p : contourPoints(runs)) {
    const double d = std::hypot(p.row - m.row, p.col - m.col);
    if (d > farthest + 1e-9) {
      farthest = d;
      decisive = p;
    }
  }
  if (farthest < 0)
    decisive =
        Point{static_cast<double>(runs.front().row), static_cast<double>(runs.front().begin)};
  // The column of that point in the system turned by phi, relative to the centre.
  const double along =
      -(decisive.row - m.row) * std::sin(phi) + (decisive.col - m.col) * std::cos(phi);
  if (along >= -1e-9) return phi;
  const double turned = phi + kPi;
  return turned >= kPi - 1e-12 ? turned - 2 * kPi : turned;
}

std::vector<Point> convexHull(const Runs& runs) {
  std::vector<std::pair<std::int64_t, std::int64_t>> points;
  points.reserve(runs.size() * 2);
  for (const Run& run : runs) {
    points.emplace_back(run.row, run.begin);
    if (run.end != run.begin) points.emplace_back(run.row, run.end);
  }
  if (points.empty()) return {};  // the upper chain below starts from the last point
  // Runs are sorted by row, then column: the points are already in the order the monotone
  // chain needs.
  const auto cross = [](const auto& o, const auto& a, const auto& b) {
    return (a.first - o.first) * (b.second - o.second) -
           (a.second - o.second) * (b.first - o.first);
  };
  std::vector<std::pair<std::int64_t, std::int64_t>> hull(points.size() * 2);
  std::size_t k = 0;
  for (const auto& p : points) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  if (k > 1) --k;  // the last point repeats the first
  std::vector<Point> corners;
  for (std::size_t i = 0; i < k && i < points.size(); ++i) {
    corners.push_back(
        Point{static_cast<double>(hull[i].first), static_cast<double>(hull[i].second)});
  }
  return corners;
}

Rectangle2 smallestRectangle2(const Runs& runs) {
  const std::vector<Point> hull = convexHull(runs);
  Rectangle2 best;
  if (hull.empty()) return best;
  if (hull.size() == 1) {
    best.row = hull[0].row;
    best.col = hull[0].col;
    return best;
  }
  double bestArea = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < hull.size(); ++i) {
    const Point& p = hull[i];
    const Point& q = hull[(i + 1) % hull.size()];
    const double length = distance(p, q);
    if (length == 0) continue;
    const double ur = (q.row - p.row) / length, uc = (q.col - p.col) / length;
    double minU = 0, maxU = 0, minV = 0, maxV = 0;
    for (const Point& h : hull) {
      const double u = (h.row - p.row) * ur + (h.col - p.col) * uc;
      const double v = -(h.row - p.row) * uc + (h.col - p.col) * ur;
      minU = std::min(minU, u);
      maxU = std::max(maxU, u);
      minV = std::min(minV, v);
      maxV = std::max(maxV, v);
    }
    const double area = (maxU - minU) * (maxV - minV);
    if (!(area < bestArea - 1e-9)) continue;
    bestArea = area;
    const double cu = (minU + maxU) / 2, cv = (minV + maxV) / 2;
    best.row = p.row + cu * ur - cv * uc;
    best.col = p.col + cu * uc + cv * ur;
    const double lu = (maxU - minU) / 2, lv = (maxV - minV) / 2;
    const double angle = std::atan2(-ur, uc);
    if (lu >= lv) {
      best.phi = axisAngle(angle);
      best.length1 = lu;
      best.length2 = lv;
    } else {
      best.phi = axisAngle(angle + kPi / 2);
      best.length1 = lv;
      best.length2 = lu;
    }
  }
  return best;
}

namespace {

Circle circleThrough(const Point& a, const Point& b) {
  return Circle{(a.row + b.row) / 2, (a.col + b.col) / 2, distance(a, b) / 2};
}

Circle circleThrough(const Point& a, const Point& b, const Point& c) {
  const double bx = b.col - a.col, by = b.row - a.row;
  const double cx = c.col - a.col, cy = c.row - a.row;
  const double d = 2 * (bx * cy - by * cx);
  if (std::fabs(d) < 1e-12) {
    Circle widest = circleThrough(a, b);
    for (const Circle& other : {circleThrough(a, c), circleThrough(b, c)}) {
      if (other.radius > widest.radius) widest = other;
    }
    return widest;
  }
  const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  const double x = (cy * b2 - by * c2) / d, y = (bx * c2 - cx * b2) / d;
  return Circle{a.row + y, a.col + x, std::hypot(x, y)};
}

bool inside(const Circle& circle, const Point& p) {
  return distance(Point{circle.row, circle.col}, p) <= circle.radius + 1e-7;
}

}  // namespace

Circle smallestCircle(const Runs& runs) {
  return enclosingCircle(convexHull(runs));
}

Circle enclosingCircle(std::vector<Point> points) {
  if (points.empty()) return Circle{};
  // The incremental construction takes expected linear time on points in random order; a
  // fixed generator keeps the result reproducible.
  std::uint32_t state = 12345;
  for (std::size_t i = points.size(); i > 1; --i) {
    state = state * 1664525u + 1013904223u;
    std::swap(points[i - 1], points[state % i]);
  }
  Circle circle{points[0].row, points[0].col, 0};
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (inside(circle, points[i])) continue;
    circle = Circle{points[i].row, points[i].col, 0};
    for (std::size_t j = 0; j < i; ++j) {
      if (inside(circle, points[j])) continue;
      circle = circleThrough(points[i], points[j]);
      for (std::size_t k = 0; k < j; ++k) {
        if (!inside(circle, points[k])) circle = circleThrough(points[i], points[j], points[k]);
      }
    }
  }
  return circle;
}

namespace {

// The pixels at which a discrete circle of `diameter` pixels, placed with its reference pixel
// there (an even circle's centre is half a pixel up and left of it), fits inside the region.
Runs placesFor(const Runs& runs, std::int64_t diameter) {
  return erodeRuns(runs, elementOf(discreteCircleRuns(0, 0, static_cast<double>(diameter) / 2)));
}

}  // namespace

Circle innerCircle(const Runs& runs) {
  std::int32_t row1, col1, row2, col2;
  if (!runsBox(runs, &row1, &col1, &row2, &col2)) return Circle{};
  // A circle's middle row is as long as its diameter and so is its middle column: the widest
  // run and the height bound the search, which makes thin regions cheap however long.
  std::int64_t widest = 0;
  for (const Run& run : runs) widest = std::max<std::int64_t>(widest, run.end - run.begin + 1);
  const std::int64_t limit = std::min<std::int64_t>(widest, std::int64_t{row2} - row1 + 1);
  Circle best{0, 0, -1};
  // Circles of one parity nest (a larger one holds the smaller about the same centre), so
  // each parity is searched apart: doubling steps until one fails, then halving the gap.
  for (const std::int64_t smallest : {1, 2}) {
    if (smallest > limit) continue;
    Runs places = placesFor(runs, smallest);
    if (places.empty()) continue;
    std::int64_t fits = smallest, fails = limit + 2 - (limit - smallest) % 2;
    for (std::int64_t step = 2; fits + step < fails; step *= 2) {
      Runs more = placesFor(runs, fits + step);
      if (more.empty()) {
        fails = fits + step;
        break;
      }
      fits += step;
      places.swap(more);
    }
    while (fails - fits > 2) {
      const std::int64_t middle = fits + (fails - fits) / 4 * 2;
      Runs more = placesFor(runs, middle);
      if (more.empty()) {
        fails = middle;
      } else {
        fits = middle;
        places.swap(more);
      }
    }
    const double radius = static_cast<double>(fits) / 2;
    if (radius <= best.radius) continue;
    const double shift = fits % 2 == 0 ? 0.5 : 0;
    best = Circle{places.front().row - shift, places.front().begin - shift, radius};
  }
  return best;
}

Box innerRectangle(const Runs& runs) {
  // Each row's columns carry the count of pixels above them in the region, down to this row,
  // as constant pieces; the largest rectangle ending on a row is the largest under that
  // histogram, found with a stack of rising heights.
  struct Piece {
    std::int32_t begin, end;
    std::int64_t height;
  };
  Box best;
  std::int64_t bestArea = 0;
  const auto consider = [&](std::int64_t height, std::int32_t begin, std::int32_t end,
                            std::int32_t bottom) {
    const std::int64_t area = height * (std::int64_t{end} - begin + 1);
    const auto top = static_cast<std::int32_t>(bottom - height + 1);
    if (area > bestArea ||
        (area == bestArea && (top < best.row1 || (top == best.row1 && begin < best.col1)))) {
      bestArea = area;
      best = Box{top, begin, bottom, end};
    }
  };
  std::vector<Piece> above, here;
  std::vector<std::pair<std::int64_t, std::int32_t>> stack;  // height, first column
  std::int32_t aboveRow = 0;
  for (std::size_t i = 0; i < runs.size();) {
    const std::int32_t row = runs[i].row;
    here.clear();
    std::size_t k = 0;
    const bool adjacent = !above.empty() && aboveRow == row - 1;
    for (; i < runs.size() && runs[i].row == row; ++i) {
      std::int32_t c = runs[i].begin;
      while (adjacent && k < above.size() && above[k].end < c) ++k;
      while (c <= runs[i].end) {
        if (!adjacent || k == above.size() || above[k].begin > runs[i].end) {
          here.push_back(Piece{c, runs[i].end, 1});
          break;
        }
        if (above[k].begin > c) {
          here.push_back(Piece{c, above[k].begin - 1, 1});
          c = above[k].begin;
        }
        const std::int32_t end = std::min(above[k].end, runs[i].end);
        here.push_back(Piece{c, end, above[k].height + 1});
        c = end + 1;
        if (above[k].end <= runs[i].end) ++k;
      }
    }
    // One histogram per stretch of touching pieces; a gap ends it.
    for (std::size_t p = 0; p <= here.size(); ++p) {
      const bool gap = p == 0 || p == here.size() || here[p].begin != here[p - 1].end + 1;
      const std::int64_t height = gap ? 0 : here[p].height;
      std::int32_t start = p < here.size() ? here[p].begin : 0;
      while (!stack.empty() && stack.back().first >= height) {
        consider(stack.back().first, stack.back().second, here[p - 1].end, row);
        start = stack.back().second;
        stack.pop_back();
      }
      if (p == here.size()) break;
      stack.emplace_back(here[p].height, gap ? here[p].begin : start);
    }
    above.swap(here);
    aboveRow = row;
  }
  return best;
}

namespace {

int directionOf(int dr, int dc) {
  for (int d = 0; d < 8; ++d) {
    if (kBorderStepRow[d] == dr && kBorderStepCol[d] == dc) return d;
  }
  return 4;
}

// Follows the outer border of one 8-connected component clockwise from its first pixel, or
// from the last pixel of its top row (Moore's neighbour tracing, stopping when the first step
// would repeat). `visit` sees each border pixel once per pass, `onStep` each step taken.
template <typename Visit, typename Step>
double traceComponent(const Runs& component, bool fromTopRight, Visit&& visit, Step&& onStep) {
  std::int32_t row1, col1, row2, col2;
  runsBox(component, &row1, &col1, &row2, &col2);
  const std::int64_t cols = static_cast<std::int64_t>(col2) - col1 + 3;
  const std::int64_t rows = static_cast<std::int64_t>(row2) - row1 + 3;
  std::vector<unsigned char> bits(static_cast<std::size_t>(rows * cols), 0);
  for (const Run& run : component) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      bits[static_cast<std::size_t>((run.row - row1 + 1) * cols + (c - col1 + 1))] = 1;
    }
  }
  const auto set = [&](std::int64_t r, std::int64_t c) {
    return bits[static_cast<std::size_t>(r * cols + c)] != 0;
  };
  std::int32_t first = component.front().begin;
  if (fromTopRight) {
    for (const Run& run : component) {
      if (run.row != component.front().row) break;
      first = run.end;
    }
  }
  const std::int64_t startRow = 1, startCol = first - col1 + 1;
  std::int64_t r = startRow, c = startCol;
  int back = fromTopRight ? 0 : 4;  // the pixel beyond the first one along its row is outside
  int firstStep = -1;
  double length = 0;
  visit(Point{static_cast<double>(r - 1 + row1), static_cast<double>(c - 1 + col1)});
  for (;;) {
    int step = -1;
    for (int i = 1; i <= 8; ++i) {
      const int d = (back + i) % 8;
      if (set(r + kBorderStepRow[d], c + kBorderStepCol[d])) {
        step = d;
        break;
      }
    }
    if (step < 0) return 0;  // a single pixel
    if (r == startRow && c == startCol && step == firstStep) break;
    if (firstStep < 0) firstStep = step;
    const int examined = (step + 7) % 8;  // outside, checked just before the step
    const std::int64_t outRow = r + kBorderStepRow[examined], outCol = c + kBorderStepCol[examined];
    r += kBorderStepRow[step];
    c += kBorderStepCol[step];
    back = directionOf(static_cast<int>(outRow - r), static_cast<int>(outCol - c));
    length += step % 2 == 0 ? 1.0 : std::sqrt(2.0);
    onStep(step);
    if (!(r == startRow && c == startCol)) {
      visit(Point{static_cast<double>(r - 1 + row1), static_cast<double>(c - 1 + col1)});
    }
  }
  return length;
}

}  // namespace

double contourLength(const Runs& runs) {
  double length = 0;
  for (const Runs& component : connectedRuns(runs, 8)) {
    length += traceComponent(
        component, false, [](const Point&) {}, [](int) {});
  }
  return length;
}

std::vector<Point> contourPoints(const Runs& runs) {
  std::vector<Point> points;
  for (const Runs& component : connectedRuns(runs, 8)) {
    traceComponent(
        component, false, [&](const Point& p) { points.push_back(p); }, [](int) {});
  }
  return points;
}

Border outerBorder(const Runs& runs) {
  Border border;
  if (runs.empty()) return border;
  border.row = runs.front().row;
  for (const Run& run : runs) {
    if (run.row != border.row) break;
    border.col = run.end;
  }
  for (const Runs& component : connectedRuns(runs, 8)) {
    if (component.front().row != border.row) continue;
    const bool holdsStart = std::any_of(component.begin(), component.end(), [&](const Run& run) {
      return run.row == border.row && run.end == border.col;
    });
    if (!holdsStart) continue;
    traceComponent(
        component, true, [](const Point&) {}, [&](int step) { border.steps.push_back(step); });
    break;
  }
  return border;
}

double maxDiameter(const Runs& runs) {
  const std::vector<Point> hull = convexHull(runs);
  double best = 0;
  for (std::size_t i = 0; i < hull.size(); ++i) {
    for (std::size_t j = i + 1; j < hull.size(); ++j)
      best = std::max(best, distance(hull[i], hull[j]));
  }
  return best;
}

}  // namespace Standin
}  // namespace HalconCpp
