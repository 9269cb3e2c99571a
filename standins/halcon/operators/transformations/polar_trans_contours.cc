// Contours onto and back from the polar coordinates of an annular arc (polar_arc.h). Points
// map exactly; the lines between them stay straight in the coordinates they land in, and each
// result is cut at the borders of its virtual image, rows 0 .. Height - 1 and columns
// 0 .. Width - 1, a contour leaving and entering it again giving several contours.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/contour.h"
#include "core/image.h"
#include "core/params.h"
#include "halconcpp/HOperatorsTransformations.h"
#include "operators/transformations/polar_arc.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// More turns of the arc, or of a contour winding about the centre, than this would only copy
// contours without end.
constexpr double kMostTurns = 1024;

struct Point {
  double row, col;
};

// The part of the segment a -> b within the box, as the fractions t0 <= t1 along it.
bool clipped(Point a, Point b, double rows, double cols, double* t0, double* t1) {
  *t0 = 0;
  *t1 = 1;
  if (!(std::isfinite(a.row) && std::isfinite(a.col) && std::isfinite(b.row) &&
        std::isfinite(b.col))) {
    return false;
  }
  const double d[2] = {b.row - a.row, b.col - a.col};
  const double from[2] = {a.row, a.col};
  const double side[2] = {rows, cols};
  for (int k = 0; k < 2; ++k) {
    for (const double sign : {-1.0, 1.0}) {
      // sign * (from + t d) <= bound
      const double p = sign * d[k];
      const double q = (sign < 0 ? 0 : side[k]) * sign - sign * from[k];
      if (p == 0) {
        if (!(q >= 0)) return false;
      } else if (p < 0) {
        *t0 = std::max(*t0, q / p);
      } else {
        *t1 = std::min(*t1, q / p);
      }
    }
  }
  return *t0 <= *t1;
}

Point along(Point a, Point b, double t) {
  if (t == 0) return a;
  if (t == 1) return b;
  return {a.row + t * (b.row - a.row), a.col + t * (b.col - a.col)};
}

// The pieces of a polyline within rows 0 .. rows and columns 0 .. cols, as new contours.
void addClipped(const std::vector<Point>& points, double rows, double cols,
                std::vector<HObject::Item>* items) {
  std::vector<double> r, c;
  const auto flush = [&] {
    if (!r.empty()) items->push_back(makeContour(std::move(r), std::move(c)));
    r.clear();
    c.clear();
  };
  if (points.size() == 1) {
    double t0, t1;
    if (clipped(points[0], points[0], rows, cols, &t0, &t1)) {
      r.push_back(points[0].row);
      c.push_back(points[0].col);
    }
  }
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    double t0, t1;
    if (!clipped(points[i], points[i + 1], rows, cols, &t0, &t1)) {
      flush();
      continue;
    }
    const Point start = along(points[i], points[i + 1], t0);
    const Point end = along(points[i], points[i + 1], t1);
    if (t0 > 0) flush();
    if (r.empty()) {
      r.push_back(start.row);
      c.push_back(start.col);
    }
    r.push_back(end.row);
    c.push_back(end.col);
    if (t1 < 1) flush();
  }
  flush();
}

}  // namespace

void PolarTransContourXld(const HObject& Contour, HObject* PolarTransContour, const HTuple& Row,
                          const HTuple& Column, const HTuple& AngleStart, const HTuple& AngleEnd,
                          const HTuple& RadiusStart, const HTuple& RadiusEnd, const HTuple& Width,
                          const HTuple& Height) {
  ApiScope scope("PolarTransContourXld");
  const char* op = "polar_trans_contour_xld";
  PolarArc arc =
      polarArcOf(Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, Width, Height, op);
  const double span = arc.angleEnd - arc.angleStart;
  if (std::fabs(span) > kMostTurns * kPolarTurn) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contour, op, 1)) {
    if (contour->size() == 0 || arc.angleStep() == 0) continue;
    // The angles unwound along the contour, so that it stays whole across a turn.
    std::vector<double> angles(contour->size()), radii(contour->size());
    for (std::size_t i = 0; i < contour->size(); ++i) {
      double angle;
      arc.polarOf(contour->rows[i], contour->cols[i], &angle, &radii[i]);
      if (i > 0) {
        const double previous = angles[i - 1];
        angle = previous + std::remainder(angle - previous, kPolarTurn);
      }
      angles[i] = angle;
    }
    const auto [low, high] = std::minmax_element(angles.begin(), angles.end());
    if (!std::isfinite(*low) || !std::isfinite(*high)) continue;
    // Each turn k shifts the angles by k full turns; those that reach the arc's interval.
    const double least = std::min(0.0, span), most = std::max(0.0, span);
    const double firstTurn = std::ceil((least - (*high - arc.angleStart)) / kPolarTurn);
    const double lastTurn = std::floor((most - (*low - arc.angleStart)) / kPolarTurn);
    if (lastTurn - firstTurn > 2 * kMostTurns) fail(op, 1304);
    for (double k = firstTurn; k <= lastTurn; ++k) {
      std::vector<Point> points(contour->size());
      for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = {arc.polarRow(radii[i]),
                     arc.polarColumn(angles[i] - arc.angleStart + k * kPolarTurn)};
      }
      addClipped(points, arc.height - 1, arc.width - 1, &items);
    }
  }
  setOutput(PolarTransContour, objectOf(items));
}

void PolarTransContourXldInv(const HObject& PolarContour, HObject* XYTransContour,
                             const HTuple& Row, const HTuple& Column, const HTuple& AngleStart,
                             const HTuple& AngleEnd, const HTuple& RadiusStart,
                             const HTuple& RadiusEnd, const HTuple& WidthIn, const HTuple& HeightIn,
                             const HTuple& Width, const HTuple& Height) {
  ApiScope scope("PolarTransContourXldInv");
  const char* op = "polar_trans_contour_xld_inv";
  PolarArc arc =
      polarArcOf(Row, Column, AngleStart, AngleEnd, RadiusStart, RadiusEnd, WidthIn, HeightIn, op);
  const std::int32_t width = polarSideOf(Width, op, 9), height = polarSideOf(Height, op, 10);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(PolarContour, op, 1)) {
    std::vector<Point> points(contour->size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      arc.toCartesian(contour->rows[i], contour->cols[i], &points[i].row, &points[i].col);
    }
    addClipped(points, height - 1, width - 1, &items);
  }
  setOutput(XYTransContour, objectOf(items));
}

}  // namespace HalconCpp
