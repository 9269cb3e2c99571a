// Lines and circles fitted to contours.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kPi = 3.14159265358979323846;

const bool registered = [] {
  registerErrorText(kFitPointsError, "Too few points, or points that fix no shape, for the fit");
  return true;
}();

// The points a fit uses: the end points clipped off an open contour, then at most
// `maxPoints` of the rest, evenly spread (-1: all).
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

struct Robust {
  Weighting weighting;
  bool geometric;
};

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
  if (algorithm == "algebraic") {
    robust = {Weighting::kNone, false};
  } else if (algorithm == "ahuber") {
    robust = {Weighting::kHuber, false};
  } else if (algorithm == "atukey") {
    robust = {Weighting::kTukey, false};
  } else if (algorithm == "geometric") {
    robust = {Weighting::kNone, true};
  } else if (algorithm == "geohuber") {
    robust = {Weighting::kHuber, true};
  } else if (algorithm == "geotukey") {
    robust = {Weighting::kTukey, true};
  } else {
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
    const std::size_t n = contour->size();
    const bool closed = n > 0 && std::hypot(contour->rows[n - 1] - contour->rows[0],
                                            contour->cols[n - 1] - contour->cols[0]) <= closure;
    const std::vector<Point> points = fitPoints(*contour, maxPoints, clipping, !closed);
    if (points.size() < 3) fail(op, kFitPointsError);
    std::vector<double> weights(points.size(), 1.0);
    const auto fit = [&](Circle* c) {
      return robust.geometric ? fitCircleGeometric(points, weights, c)
                              : fitCircleAlgebraic(points, weights, c);
    };
    Circle circle;
    if (!fit(&circle)) fail(op, kFitPointsError);
    for (Hlong k = 0; robust.weighting != Weighting::kNone && k < iterations; ++k) {
      std::vector<double> distances;
      for (const Point& p : points) {
        distances.push_back(std::hypot(p.row - circle.row, p.col - circle.col) - circle.radius);
      }
      weights = weightsOf(distances, robust.weighting, factor);
      Circle next;
      if (!fit(&next)) break;
      const bool settled = std::fabs(next.row - circle.row) + std::fabs(next.col - circle.col) +
                               std::fabs(next.radius - circle.radius) <=
                           1e-15 * (1 + circle.radius);
      circle = next;
      if (settled) break;
    }
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

}  // namespace HalconCpp
