// Lines, circles and ellipses fitted to contours.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_ellipse.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

const bool xldFitRegistered = [] {
  registerErrorText(kFitPointsError, "Too few points, or points that fix no shape, for the fit");
  return true;
}();

struct Robust {
  Weighting weighting;
  bool geometric;
};

// A contour whose ends lie within `closure` of each other counts as closed: a fit of a closed
// curve then keeps its end points.
bool closedWithin(const ContourObject& contour, double closure) {
  const std::size_t n = contour.size();
  return n > 0 && std::hypot(contour.rows[n - 1] - contour.rows[0],
                             contour.cols[n - 1] - contour.cols[0]) <= closure;
}

// Refits with the robust weights of the last fit's distances, for at most `iterations` rounds
// or until the fit settles; a refit that fails keeps the last fit.
template <class Shape, class Fit, class DistanceOf, class Settled>
Shape reweighted(Shape shape, const std::vector<Point>& points, std::vector<double>* weights,
                 const Robust& robust, Hlong iterations, double factor, Fit fit,
                 DistanceOf distanceOf, Settled settled) {
  for (Hlong k = 0; robust.weighting != Weighting::kNone && k < iterations; ++k) {
    std::vector<double> distances;
    for (const Point& p : points) distances.push_back(distanceOf(shape, p));
    *weights = weightsOf(distances, robust.weighting, factor);
    Shape next;
    if (!fit(&next)) break;
    const bool done = settled(shape, next);
    shape = next;
    if (done) break;
  }
  return shape;
}

// A fit's six algorithm names, in the order every fit of the reference lists them: unweighted,
// Huber and Tukey, first algebraic, then geometric.
bool robustOf(const std::string& algorithm, const std::array<const char*, 6>& names,
              Robust* robust) {
  static constexpr Robust kKinds[6] = {{Weighting::kNone, false},  {Weighting::kHuber, false},
                                       {Weighting::kTukey, false}, {Weighting::kNone, true},
                                       {Weighting::kHuber, true},  {Weighting::kTukey, true}};
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (algorithm == names[i]) {
      *robust = kKinds[i];
      return true;
    }
  }
  return false;
}

// More reweighting than this changes nothing a caller could see, and a fit that keeps
// moving must still end.
constexpr Hlong kMaxIterations = 1000;

Hlong iterationsOf(const HTuple& value, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v < 0) fail(op, 1300 + n);
  return std::min(v, kMaxIterations);
}

Hlong nonNegative(const HTuple& value, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v < 0) fail(op, 1300 + n);
  return v;
}

Hlong maxPointsOf(const HTuple& value, Hlong least, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v != -1 && v < least) fail(op, 1300 + n);
  return v;
}

double clippingFactorOf(const HTuple& value, const char* op, int n) {
  const double v = oneNumber(value, op, n);
  if (!(v > 0)) fail(op, 1300 + n);
  return v;
}

// The point in the rectangle's frame: along phi (x) and across it (y).
void rectangleFrame(const Rectangle2& r, const Point& p, double* x, double* y) {
  const double dr = p.row - r.row, dc = p.col - r.col;
  *x = -dr * std::sin(r.phi) + dc * std::cos(r.phi);
  *y = -dr * std::cos(r.phi) - dc * std::sin(r.phi);
}

// The rectangle whose sides the points lie along, refined from `r`: each point belongs to the
// side nearest it, each side's offset is its points' weighted mean, and the direction
// minimises the weighted squares of all distances, the points of the sides along phi turned
// by a right angle so that all four sides share one normal. `distances` gets each point's
// distance to its side.
bool fitRectangleSides(const std::vector<Point>& points, const std::vector<double>& weights,
                       Rectangle2* r, std::vector<double>* distances) {
  std::vector<int> side(points.size());
  for (int pass = 0; pass < 50; ++pass) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      double x, y;
      rectangleFrame(*r, points[i], &x, &y);
      // Sides 0 and 2 cross the main axis at x = +-length1, sides 1 and 3 run along it.
      const double gaps[4] = {std::fabs(x - r->length1), std::fabs(y - r->length2),
                              std::fabs(x + r->length1), std::fabs(y + r->length2)};
      side[i] = static_cast<int>(std::min_element(gaps, gaps + 4) - gaps);
    }
    Point means[4];
    for (int k = 0; k < 4; ++k) {
      double mr = 0, mc = 0, w = 0;
      for (std::size_t i = 0; i < points.size(); ++i) {
        if (side[i] != k) continue;
        w += weights[i], mr += weights[i] * points[i].row, mc += weights[i] * points[i].col;
      }
      if (!(w > 0)) return false;
      means[k] = Point{mr / w, mc / w};
    }
    std::vector<Point> centred;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const Point& m = means[side[i]];
      const double dr = points[i].row - m.row, dc = points[i].col - m.col;
      centred.push_back(side[i] % 2 == 0 ? Point{dr, dc} : Point{-dc, dr});
    }
    // The common line runs across the main axis: its normal is the main axis.
    Line line;
    if (!fitLine(centred, weights, &line)) return false;
    Rectangle2 next;
    next.phi = std::atan2(-line.nr, line.nc);
    if (std::cos(next.phi - r->phi) < 0) next.phi += next.phi > 0 ? -kPi : kPi;
    const double ar = -std::sin(next.phi), ac = std::cos(next.phi);
    const double x0 = means[0].row * ar + means[0].col * ac;
    const double x2 = means[2].row * ar + means[2].col * ac;
    const double y1 = -means[1].row * ac + means[1].col * ar;
    const double y3 = -means[3].row * ac + means[3].col * ar;
    const double cx = (x0 + x2) / 2, cy = (y1 + y3) / 2;
    next.row = cx * ar - cy * ac, next.col = cx * ac + cy * ar;
    next.length1 = std::fabs(x0 - x2) / 2, next.length2 = std::fabs(y1 - y3) / 2;
    const bool settled = std::fabs(next.row - r->row) + std::fabs(next.col - r->col) +
                             std::fabs(next.length1 - r->length1) +
                             std::fabs(next.length2 - r->length2) + std::fabs(next.phi - r->phi) <
                         1e-12 * (1 + r->length1);
    *r = next;
    if (settled) break;
  }
  distances->clear();
  for (std::size_t i = 0; i < points.size(); ++i) {
    double x, y;
    rectangleFrame(*r, points[i], &x, &y);
    const double gaps[4] = {std::fabs(x - r->length1), std::fabs(y - r->length2),
                            std::fabs(x + r->length1), std::fabs(y + r->length2)};
    distances->push_back(*std::min_element(gaps, gaps + 4));
  }
  return std::isfinite(r->row) && std::isfinite(r->col) && std::isfinite(r->phi);
}

}  // namespace

void FitLineContourXld(const HObject& Contours, const HTuple& Algorithm, const HTuple& MaxNumPoints,
                       const HTuple& ClippingEndPoints, const HTuple& Iterations,
                       const HTuple& ClippingFactor, HTuple* RowBegin, HTuple* ColBegin,
                       HTuple* RowEnd, HTuple* ColEnd, HTuple* Nr, HTuple* Nc, HTuple* Dist) {
  ApiScope scope("FitLineContourXld");
  const char* op = "fit_line_contour_xld";
  const std::string algorithm = oneString(Algorithm, op, 1);
  Weighting weighting;
  if (algorithm == "regression") {
    weighting = Weighting::kNone;
  } else if (algorithm == "huber") {
    weighting = Weighting::kHuber;
  } else if (algorithm == "tukey") {
    weighting = Weighting::kTukey;
  } else if (algorithm == "drop") {
    weighting = Weighting::kDrop;
  } else if (algorithm == "gauss") {
    weighting = Weighting::kGauss;
  } else {
    fail(op, 1301);
  }
  const Hlong maxPoints = maxPointsOf(MaxNumPoints, 2, op, 2);
  const Hlong clipping = nonNegative(ClippingEndPoints, op, 3);
  const Hlong iterations = iterationsOf(Iterations, op, 4);
  const double factor = clippingFactorOf(ClippingFactor, op, 5);
  HTuple rb, cb, re, ce, nr, nc, dist;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const std::vector<Point> points = fitPoints(*contour, maxPoints, clipping, true);
    if (points.size() < 2) fail(op, kFitPointsError);
    std::vector<double> weights(points.size(), 1.0);
    Line line;
    if (!fitLine(points, weights, &line)) fail(op, kFitPointsError);
    for (Hlong k = 0; weighting != Weighting::kNone && k < iterations; ++k) {
      std::vector<double> distances;
      for (const Point& p : points)
        distances.push_back(line.nr * p.row + line.nc * p.col - line.dist);
      weights = weightsOf(distances, weighting, factor);
      Line next;
      if (!fitLine(points, weights, &next)) break;
      const bool settled = std::fabs(next.nr - line.nr) + std::fabs(next.nc - line.nc) +
                               std::fabs(next.dist - line.dist) <=
                           1e-15 * (1 + std::fabs(line.dist));
      line = next;
      if (settled) break;
    }
    // The line runs from the first point's foot to the last one's; the normal points to its
    // right as seen on the screen.
    const auto foot = [&](const Point& p, double* r, double* c) {
      const double d = line.nr * p.row + line.nc * p.col - line.dist;
      *r = p.row - d * line.nr, *c = p.col - d * line.nc;
    };
    double r0, c0, r1, c1;
    foot(points.front(), &r0, &c0);
    foot(points.back(), &r1, &c1);
    if ((r1 - r0) * -line.nc + (c1 - c0) * line.nr < 0) {
      line.nr = -line.nr, line.nc = -line.nc, line.dist = -line.dist;
    }
    rb.Append(HTuple(r0)), cb.Append(HTuple(c0)), re.Append(HTuple(r1)), ce.Append(HTuple(c1));
    nr.Append(HTuple(line.nr)), nc.Append(HTuple(line.nc)), dist.Append(HTuple(line.dist));
  }
  setOutput(RowBegin, rb), setOutput(ColBegin, cb), setOutput(RowEnd, re);
  setOutput(ColEnd, ce), setOutput(Nr, nr), setOutput(Nc, nc), setOutput(Dist, dist);
}

void FitCircleContourXld(const HObject& Contours, const HTuple& Algorithm,
                         const HTuple& MaxNumPoints, const HTuple& MaxClosureDist,
                         const HTuple& ClippingEndPoints, const HTuple& Iterations,
                         const HTuple& ClippingFactor, HTuple* Row, HTuple* Column, HTuple* Radius,
                         HTuple* StartPhi, HTuple* EndPhi, HTuple* PointOrder) {
  ApiScope scope("FitCircleContourXld");
  const char* op = "fit_circle_contour_xld";
  const std::string algorithm = oneString(Algorithm, op, 1);
  Robust robust;
  if (!robustOf(algorithm, {"algebraic", "ahuber", "atukey", "geometric", "geohuber", "geotukey"},
                &robust)) {
    fail(op, 1301);
  }
  const Hlong maxPoints = maxPointsOf(MaxNumPoints, 3, op, 2);
  const double closure = oneNumber(MaxClosureDist, op, 3);
  if (!(closure >= 0)) fail(op, 1303);
  const Hlong clipping = nonNegative(ClippingEndPoints, op, 4);
  const Hlong iterations = iterationsOf(Iterations, op, 5);
  const double factor = clippingFactorOf(ClippingFactor, op, 6);
  HTuple rows, cols, radii, starts, ends, orders;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const bool closed = closedWithin(*contour, closure);
    const std::vector<Point> points = fitPoints(*contour, maxPoints, clipping, !closed);
    if (points.size() < 3) fail(op, kFitPointsError);
    std::vector<double> weights(points.size(), 1.0);
    const auto fit = [&](Circle* c) {
      return robust.geometric ? fitCircleGeometric(points, weights, c)
                              : fitCircleAlgebraic(points, weights, c);
    };
    Circle first;
    if (!fit(&first)) fail(op, kFitPointsError);
    const Circle circle = reweighted(
        first, points, &weights, robust, iterations, factor, fit,
        [](const Circle& c, const Point& p) {
          return std::hypot(p.row - c.row, p.col - c.col) - c.radius;
        },
        [](const Circle& c, const Circle& next) {
          return std::fabs(next.row - c.row) + std::fabs(next.col - c.col) +
                     std::fabs(next.radius - c.radius) <=
                 1e-15 * (1 + c.radius);
        });
    // The arc from the first point to the last, in the direction the points turn.
    const auto angle = [&](const Point& p) {
      return std::atan2(-(p.row - circle.row), p.col - circle.col);
    };
    double sweep = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
      double d = angle(points[k]) - angle(points[k - 1]);
      if (d > kPi) d -= 2 * kPi;
      if (d < -kPi) d += 2 * kPi;
      sweep += d;
    }
    const bool positive = sweep >= 0;
    double start = angle(points.front()), end = start + sweep;
    if (closed) start = 0, end = 2 * kPi;
    rows.Append(HTuple(circle.row)), cols.Append(HTuple(circle.col));
    radii.Append(HTuple(circle.radius));
    starts.Append(HTuple(start)), ends.Append(HTuple(end));
    orders.Append(HTuple(positive ? "positive" : "negative"));
  }
  setOutput(Row, rows), setOutput(Column, cols), setOutput(Radius, radii);
  setOutput(StartPhi, starts), setOutput(EndPhi, ends), setOutput(PointOrder, orders);
}

void FitEllipseContourXld(const HObject& Contours, const HTuple& Algorithm,
                          const HTuple& MaxNumPoints, const HTuple& MaxClosureDist,
                          const HTuple& ClippingEndPoints, const HTuple& VossTabSize,
                          const HTuple& Iterations, const HTuple& ClippingFactor, HTuple* Row,
                          HTuple* Column, HTuple* Phi, HTuple* Radius1, HTuple* Radius2,
                          HTuple* StartPhi, HTuple* EndPhi, HTuple* PointOrder) {
  ApiScope scope("FitEllipseContourXld");
  const char* op = "fit_ellipse_contour_xld";
  const std::string algorithm = oneString(Algorithm, op, 1);
  Robust robust;
  // 'voss', 'focpoints', 'fphuber' and 'fptukey' are not fitted by the stand-in.
  if (!robustOf(algorithm, {"fitzgibbon", "fhuber", "ftukey", "geometric", "geohuber", "geotukey"},
                &robust)) {
    fail(op, 1301);
  }
  const Hlong maxPoints = maxPointsOf(MaxNumPoints, 5, op, 2);
  const double closure = oneNumber(MaxClosureDist, op, 3);
  if (!(closure >= 0)) fail(op, 1303);
  const Hlong clipping = nonNegative(ClippingEndPoints, op, 4);
  if (oneInteger(VossTabSize, op, 5) < 1) fail(op, 1305);
  const Hlong iterations = iterationsOf(Iterations, op, 6);
  const double factor = clippingFactorOf(ClippingFactor, op, 7);
  HTuple rows, cols, phis, radii1, radii2, starts, ends, orders;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const bool closed = closedWithin(*contour, closure);
    const std::vector<Point> points = fitPoints(*contour, maxPoints, clipping, !closed);
    if (points.size() < 5) fail(op, kFitPointsError);
    std::vector<double> weights(points.size(), 1.0);
    const auto fit = [&](EllipseShape* e) {
      return robust.geometric ? fitEllipseGeometric(points, weights, e)
                              : fitEllipseAlgebraic(points, weights, e);
    };
    EllipseShape first;
    if (!fit(&first)) fail(op, kFitPointsError);
    const EllipseShape ellipse =
        reweighted(first, points, &weights, robust, iterations, factor, fit, signedEllipseDistance,
                   [](const EllipseShape& e, const EllipseShape& next) {
                     return std::fabs(next.row - e.row) + std::fabs(next.col - e.col) +
                                std::fabs(next.ra - e.ra) + std::fabs(next.rb - e.rb) <=
                            1e-15 * (1 + e.ra);
                   });
    // The arc from the first point to the last in the ellipse's parametric angle, in the
    // direction the points turn.
    double sweep = 0;
    for (std::size_t k = 1; k < points.size(); ++k) {
      double d = ellipseAngle(ellipse, points[k]) - ellipseAngle(ellipse, points[k - 1]);
      if (d > kPi) d -= 2 * kPi;
      if (d < -kPi) d += 2 * kPi;
      sweep += d;
    }
    double start = ellipseAngle(ellipse, points.front()), end = start + sweep;
    if (closed) start = 0, end = 2 * kPi;
    rows.Append(HTuple(ellipse.row)), cols.Append(HTuple(ellipse.col));
    phis.Append(HTuple(ellipse.phi));
    radii1.Append(HTuple(ellipse.ra)), radii2.Append(HTuple(ellipse.rb));
    starts.Append(HTuple(start)), ends.Append(HTuple(end));
    orders.Append(HTuple(sweep >= 0 ? "positive" : "negative"));
  }
  setOutput(Row, rows), setOutput(Column, cols), setOutput(Phi, phis);
  setOutput(Radius1, radii1), setOutput(Radius2, radii2);
  setOutput(StartPhi, starts), setOutput(EndPhi, ends), setOutput(PointOrder, orders);
}

void FitRectangle2ContourXld(const HObject& Contours, const HTuple& Algorithm,
                             const HTuple& MaxNumPoints, const HTuple& MaxClosureDist,
                             const HTuple& ClippingEndPoints, const HTuple& Iterations,
                             const HTuple& ClippingFactor, HTuple* Row, HTuple* Column, HTuple* Phi,
                             HTuple* Length1, HTuple* Length2, HTuple* PointOrder) {
  ApiScope scope("FitRectangle2ContourXld");
  const char* op = "fit_rectangle2_contour_xld";
  const std::string algorithm = oneString(Algorithm, op, 1);
  Weighting weighting;
  if (algorithm == "regression") {
    weighting = Weighting::kNone;
  } else if (algorithm == "huber") {
    weighting = Weighting::kHuber;
  } else if (algorithm == "tukey") {
    weighting = Weighting::kTukey;
  } else {
    fail(op, 1301);
  }
  const Hlong maxPoints = maxPointsOf(MaxNumPoints, 4, op, 2);
  const double closure = oneNumber(MaxClosureDist, op, 3);
  if (!(closure >= 0)) fail(op, 1303);
  const Hlong clipping = nonNegative(ClippingEndPoints, op, 4);
  const Hlong iterations = iterationsOf(Iterations, op, 5);
  const double factor = clippingFactorOf(ClippingFactor, op, 6);
  HTuple rows, cols, phis, len1, len2, orders;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    const bool closed = closedWithin(*contour, closure);
    const std::vector<Point> points = fitPoints(*contour, maxPoints, clipping, !closed);
    if (points.size() < 4) fail(op, kFitPointsError);
    std::vector<double> rs, cs, weights(points.size(), 1.0), distances;
    for (const Point& p : points) rs.push_back(p.row), cs.push_back(p.col);
    // Started from the smallest enclosing rectangle, whose sides the points mostly follow.
    Rectangle2 r = pointsRectangle2(rs, cs);
    if (!fitRectangleSides(points, weights, &r, &distances)) fail(op, kFitPointsError);
    for (Hlong k = 0; weighting != Weighting::kNone && k < iterations; ++k) {
      weights = weightsOf(distances, weighting, factor);
      Rectangle2 next = r;
      if (!fitRectangleSides(points, weights, &next, &distances)) break;
      r = next;
    }
    if (r.length2 > r.length1) std::swap(r.length1, r.length2), r.phi += kPi / 2;
    while (r.phi > kPi / 2) r.phi -= kPi;
    while (r.phi <= -kPi / 2) r.phi += kPi;
    rows.Append(HTuple(r.row)), cols.Append(HTuple(r.col)), phis.Append(HTuple(r.phi));
    len1.Append(HTuple(r.length1)), len2.Append(HTuple(r.length2));
    orders.Append(HTuple(signedArea(points) >= 0 ? "positive" : "negative"));
  }
  setOutput(Row, rows), setOutput(Column, cols), setOutput(Phi, phis);
  setOutput(Length1, len1), setOutput(Length2, len2), setOutput(PointOrder, orders);
}

}  // namespace HalconCpp
