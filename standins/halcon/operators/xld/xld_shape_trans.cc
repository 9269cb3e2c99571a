// Whether contours cross themselves, and contours turned into the shapes that enclose them or
// share their moments.
#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "operators/xld/xld_params.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

double turn(const Point& o, const Point& a, const Point& b) {
  return (a.row - o.row) * (b.col - o.col) - (a.col - o.col) * (b.row - o.row);
}

// p lies on the segment a-b, given that the three are collinear.
bool within(const Point& a, const Point& b, const Point& p) {
  return std::min(a.row, b.row) <= p.row && p.row <= std::max(a.row, b.row) &&
         std::min(a.col, b.col) <= p.col && p.col <= std::max(a.col, b.col);
}

// The segments share a point, ends and touching included.
bool meet(const Point& a, const Point& b, const Point& c, const Point& d) {
  const double d1 = turn(c, d, a), d2 = turn(c, d, b), d3 = turn(a, b, c), d4 = turn(a, b, d);
  if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
    return true;
  }
  return (d1 == 0 && within(c, d, a)) || (d2 == 0 && within(c, d, b)) ||
         (d3 == 0 && within(a, b, c)) || (d4 == 0 && within(a, b, d));
}

bool intersectsItself(const ContourObject& contour, bool close) {
  // Repeated points make no edge of their own.
  std::vector<Point> points;
  for (const Point& p : pointsOf(contour)) {
    if (points.empty() || p.row != points.back().row || p.col != points.back().col) {
      points.push_back(p);
    }
  }
  if (points.size() < 2) return false;
  const bool ends =
      points.front().row == points.back().row && points.front().col == points.back().col;
  if (close && !ends && points.size() > 2) points.push_back(points.front());
  const bool closed = points.size() > 3 && points.front().row == points.back().row &&
                      points.front().col == points.back().col;
  const std::size_t m = points.size() - 1;  // edges: i from points[i] to points[i + 1]
  const auto adjacent = [&](std::size_t i, std::size_t j) {
    return j == i + 1 || (closed && i == 0 && j == m - 1);
  };
  // Neighbouring edges meet at their common point; they cross only by running back.
  const auto reverses = [&](std::size_t i, std::size_t j) {
    const Point &a = points[i], &b = points[i + 1], &c = points[j], &d = points[j + 1];
    const Point& shared = j == i + 1 ? b : a;
    const Point& p = j == i + 1 ? a : b;
    const Point& q = j == i + 1 ? d : c;
    return turn(shared, p, q) == 0 && (p.row - shared.row) * (q.row - shared.row) +
                                              (p.col - shared.col) * (q.col - shared.col) >
                                          0;
  };
  // Edges in order of their top row; each is tested against those starting above its bottom.
  std::vector<std::size_t> order(m);
  std::iota(order.begin(), order.end(), std::size_t{0});
  // An edge with a coordinate that is no number sorts last, so that the order stays strict.
  const auto top = [&](std::size_t i) {
    const double t = std::min(points[i].row, points[i + 1].row);
    return std::isnan(points[i].row) || std::isnan(points[i + 1].row) ? HUGE_VAL : t;
  };
  const auto bottom = [&](std::size_t i) { return std::max(points[i].row, points[i + 1].row); };
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return top(a) < top(b); });
  for (std::size_t x = 0; x < m; ++x) {
    const std::size_t e = order[x];
    for (std::size_t y = x + 1; y < m && top(order[y]) <= bottom(e); ++y) {
      const std::size_t i = std::min(e, order[y]), j = std::max(e, order[y]);
      const bool hit = adjacent(i, j) ? reverses(i, j)
                                      : meet(points[i], points[i + 1], points[j], points[j + 1]);
      if (hit) return true;
    }
  }
  return false;
}

ContourPtr closedPolygon(std::vector<Point> corners) {
  std::vector<double> rows, cols;
  for (const Point& p : corners) rows.push_back(p.row), cols.push_back(p.col);
  if (!corners.empty()) rows.push_back(corners.front().row), cols.push_back(corners.front().col);
  return makeContour(std::move(rows), std::move(cols));
}

// An ellipse as a closed polygon, its points about one pixel apart on the larger radius; a
// huge one gets no more points than a generated contour may have.
ContourPtr ellipsePolygon(double row, double col, double phi, double ra, double rb) {
  const double wanted = std::ceil(2 * kPi * ra);
  const std::size_t n = wanted >= static_cast<double>(kMaxContourPoints) ? kMaxContourPoints - 1
                        : wanted > 8 ? static_cast<std::size_t>(wanted)
                                     : 8;
  std::vector<Point> points;
  for (std::size_t k = 0; k < n; ++k) {
    const double t = 2 * kPi * static_cast<double>(k) / static_cast<double>(n);
    const double x = ra * std::cos(t), y = rb * std::sin(t);
    points.push_back(Point{row - x * std::sin(phi) - y * std::cos(phi),
                           col + x * std::cos(phi) - y * std::sin(phi)});
  }
  return closedPolygon(points);
}

// The rectangle's corners counter-clockwise on the screen, from the one ahead along phi and
// to the right of it.
std::vector<Point> rectangleCorners(const Rectangle2& r) {
  const double ur = -std::sin(r.phi), uc = std::cos(r.phi), vr = -uc, vc = ur;
  std::vector<Point> corners;
  constexpr double kSigns[4][2] = {{1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
  for (const auto& [s, t] : kSigns) {
    corners.push_back(Point{r.row + s * r.length1 * ur + t * r.length2 * vr,
                            r.col + s * r.length1 * uc + t * r.length2 * vc});
  }
  return corners;
}

}  // namespace

void TestSelfIntersectionXld(const HObject& XLD, const HTuple& CloseXLD, HTuple* DoesIntersect) {
  ApiScope scope("TestSelfIntersectionXld");
  const char* op = "test_self_intersection_xld";
  const std::string close = oneString(CloseXLD, op, 1);
  if (close != "true" && close != "false") fail(op, 1301);
  HTuple result;
  for (const ContourObject* contour : contoursOf(XLD, op, 1)) {
    result.Append(HTuple(static_cast<Hlong>(intersectsItself(*contour, close == "true") ? 1 : 0)));
  }
  setOutput(DoesIntersect, result);
}

void ShapeTransXld(const HObject& XLD, HObject* XLDTrans, const HTuple& Type) {
  ApiScope scope("ShapeTransXld");
  const char* op = "shape_trans_xld";
  const std::string type = oneString(Type, op, 1);
  if (type != "convex" && type != "ellipse" && type != "outer_circle" && type != "rectangle1" &&
      type != "rectangle2") {
    fail(op, 1301);
  }
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(XLD, op, 1)) {
    const std::vector<Point> points = pointsOf(*contour);
    if (points.empty()) {
      items.push_back(makeContour({}, {}));
    } else if (type == "convex") {
      std::vector<Point> hull = convexHullOf(points);
      if (signedArea(hull) < 0) std::reverse(hull.begin(), hull.end());
      items.push_back(closedPolygon(hull));
    } else if (type == "ellipse") {
      const Moments m = polygonMoments(*contour);
      const Ellipse e = ellipseOf(m);
      items.push_back(ellipsePolygon(m.row, m.col, e.phi, e.ra, e.rb));
    } else if (type == "outer_circle") {
      const Circle c = enclosingCircle(convexHullOf(points));
      items.push_back(ellipsePolygon(c.row, c.col, 0, c.radius, c.radius));
    } else if (type == "rectangle1") {
      const auto [rowLow, rowHigh] =
          std::minmax_element(points.begin(), points.end(),
                              [](const Point& a, const Point& b) { return a.row < b.row; });
      const auto [colLow, colHigh] =
          std::minmax_element(points.begin(), points.end(),
                              [](const Point& a, const Point& b) { return a.col < b.col; });
      const double r1 = rowLow->row, r2 = rowHigh->row, c1 = colLow->col, c2 = colHigh->col;
      items.push_back(closedPolygon({{r1, c1}, {r2, c1}, {r2, c2}, {r1, c2}}));
    } else {
      items.push_back(
          closedPolygon(rectangleCorners(pointsRectangle2(contour->rows, contour->cols))));
    }
  }
  setOutput(XLDTrans, objectOf(items));
}

}  // namespace HalconCpp
