// Contours made from shapes: circles and ellipses (or their arcs), rotated rectangles, and
// contours through points transformed by an affine matrix.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/contour.h"
#include "core/image.h"
#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/transformations/hom_mat2d.h"
#include "operators/xld/xld_params.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr double kTwoPi = 2 * kPi;
// A span this close to a full turn is one: the reference's default end angle is 6.28318.
constexpr double kFullTurnTolerance = 1e-5;

struct Arc {
  double row, col, phi, radius1, radius2, start, end;
  bool positive;
};

// The points of an elliptic arc at the parametric angle t: (radius1 cos t, radius2 sin t) in
// the ellipse's frame, turned by phi counter-clockwise on the screen. Neighbouring points are
// at most `resolution` apart; a full turn ends on its first point.
ContourPtr arcContour(const Arc& arc, double resolution, const char* op) {
  double span = arc.positive ? arc.end - arc.start : arc.start - arc.end;
  // Either way round, a difference of a full turn is the whole circle, so that the default
  // angles 0 and 6.28318 give it in both orders.
  const bool full = std::fabs(arc.end - arc.start) >= kTwoPi - kFullTurnTolerance;
  if (full) {
    span = kTwoPi;
  } else {
    span = std::fmod(span, kTwoPi);
    if (span < 0) span += kTwoPi;
  }
  const double reach = std::max(arc.radius1, arc.radius2);
  double segments = 1;
  if (reach > 0 && span > 0) {
    // The chord of an angle step a on the larger radius is 2 R sin(a / 2).
    const double step = 2 * std::asin(std::min(1.0, resolution / (2 * reach)));
    segments = std::max(1.0, std::ceil(span / step - 1e-9));
  }
  if (!(segments < static_cast<double>(kMaxContourPoints))) fail(op, 6001);
  const auto n = static_cast<std::size_t>(segments);
  const double sign = arc.positive ? 1 : -1;
  const double cosPhi = std::cos(arc.phi), sinPhi = std::sin(arc.phi);
  std::vector<double> rows, cols;
  const std::size_t points = span == 0 ? 1 : n + 1;
  for (std::size_t k = 0; k < points; ++k) {
    if (full && k == n) {
      rows.push_back(rows.front());
      cols.push_back(cols.front());
      break;
    }
    const double t = arc.start + sign * span * static_cast<double>(k) / static_cast<double>(n);
    const double x = arc.radius1 * std::cos(t), y = arc.radius2 * std::sin(t);
    cols.push_back(arc.col + x * cosPhi - y * sinPhi);
    rows.push_back(arc.row - (x * sinPhi + y * cosPhi));
  }
  return makeContour(std::move(rows), std::move(cols));
}

bool pointOrderOf(const std::string& order, const char* op, int n) {
  if (order == "positive") return true;
  if (order != "negative") fail(op, 1300 + n);
  return false;
}

double resolutionOf(const HTuple& value, const char* op, int n) {
  const double resolution = oneNumber(value, op, n);
  if (!(resolution >= 0.01)) fail(op, 1300 + n);
  return resolution;
}

double radiusOf(const HTuple& value, Hlong i, const char* op, int n) {
  const double radius = numberOf(value, i, op, n);
  if (!(radius >= 0) || !std::isfinite(radius)) fail(op, 1300 + n);
  return radius;
}

double finiteOf(const HTuple& value, Hlong i, const char* op, int n) {
  const double v = numberOf(value, i, op, n);
  if (!std::isfinite(v)) fail(op, 1300 + n);
  return v;
}

}  // namespace

void GenCircleContourXld(HObject* ContCircle, const HTuple& Row, const HTuple& Column,
                         const HTuple& Radius, const HTuple& StartPhi, const HTuple& EndPhi,
                         const HTuple& PointOrder, const HTuple& Resolution) {
  ApiScope scope("GenCircleContourXld");
  const char* op = "gen_circle_contour_xld";
  const Hlong count = shapeCount({&Row, &Column, &Radius, &StartPhi, &EndPhi, &PointOrder}, op);
  const double resolution = resolutionOf(Resolution, op, 7);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < count; ++i) {
    const double radius = radiusOf(Radius, i, op, 3);
    const Arc arc{finiteOf(Row, i, op, 1),
                  finiteOf(Column, i, op, 2),
                  0,
                  radius,
                  radius,
                  finiteOf(StartPhi, i, op, 4),
                  finiteOf(EndPhi, i, op, 5),
                  pointOrderOf(stringOf(PointOrder, i, op, 6), op, 6)};
    items.push_back(arcContour(arc, resolution, op));
  }
  setOutput(ContCircle, objectOf(items));
}

void GenEllipseContourXld(HObject* ContEllipse, const HTuple& Row, const HTuple& Column,
                          const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2,
                          const HTuple& StartPhi, const HTuple& EndPhi, const HTuple& PointOrder,
                          const HTuple& Resolution) {
  ApiScope scope("GenEllipseContourXld");
  const char* op = "gen_ellipse_contour_xld";
  const Hlong count =
      shapeCount({&Row, &Column, &Phi, &Radius1, &Radius2, &StartPhi, &EndPhi, &PointOrder}, op);
  const double resolution = resolutionOf(Resolution, op, 9);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < count; ++i) {
    const Arc arc{finiteOf(Row, i, op, 1),     finiteOf(Column, i, op, 2),
                  finiteOf(Phi, i, op, 3),     radiusOf(Radius1, i, op, 4),
                  radiusOf(Radius2, i, op, 5), finiteOf(StartPhi, i, op, 6),
                  finiteOf(EndPhi, i, op, 7),  pointOrderOf(stringOf(PointOrder, i, op, 8), op, 8)};
    items.push_back(arcContour(arc, resolution, op));
  }
  setOutput(ContEllipse, objectOf(items));
}

void GenRectangle2ContourXld(HObject* Rectangle, const HTuple& Row, const HTuple& Column,
                             const HTuple& Phi, const HTuple& Length1, const HTuple& Length2) {
  ApiScope scope("GenRectangle2ContourXld");
  const char* op = "gen_rectangle2_contour_xld";
  const Hlong count = shapeCount({&Row, &Column, &Phi, &Length1, &Length2}, op);
  std::vector<HObject::Item> items;
  for (Hlong i = 0; i < count; ++i) {
    const double row = finiteOf(Row, i, op, 1), col = finiteOf(Column, i, op, 2);
    const double phi = finiteOf(Phi, i, op, 3);
    const double l1 = radiusOf(Length1, i, op, 4), l2 = radiusOf(Length2, i, op, 5);
    // a runs along Length1, b along Length2, both as (row, column) steps.
    const double ar = -std::sin(phi), ac = std::cos(phi), br = -std::cos(phi), bc = -std::sin(phi);
    const double signs[5][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    std::vector<double> rows, cols;
    for (const auto& s : signs) {
      rows.push_back(row + s[0] * l1 * ar + s[1] * l2 * br);
      cols.push_back(col + s[0] * l1 * ac + s[1] * l2 * bc);
    }
    items.push_back(makeContour(std::move(rows), std::move(cols)));
  }
  setOutput(Rectangle, objectOf(items));
}

void AffineTransContourXld(const HObject& Contours, HObject* ContoursAffinTrans,
                           const HTuple& HomMat2D) {
  ApiScope scope("AffineTransContourXld");
  const char* op = "affine_trans_contour_xld";
  const AffineMatrix m = homMat2dOf(HomMat2D, op, 1);
  std::vector<HObject::Item> items;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    auto result = makeContour({}, {});
    for (std::size_t i = 0; i < contour->size(); ++i) {
      const double x = contour->rows[i], y = contour->cols[i];
      result->rows.push_back(m[0] * x + m[1] * y + m[2]);
      result->cols.push_back(m[3] * x + m[4] * y + m[5]);
    }
    result->attribs = contour->attribs;
    result->globalAttribs = contour->globalAttribs;
    items.push_back(result);
  }
  setOutput(ContoursAffinTrans, objectOf(items));
}

}  // namespace HalconCpp
