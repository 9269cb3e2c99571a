// The distances of contour points to an ellipse or a rotated rectangle: per point, or as the
// least, largest, mean and spread of each contour's.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/contour.h"
#include "core/params.h"
#include "halconcpp/HOperatorsXld.h"
#include "operators/xld/xld_ellipse.h"
#include "operators/xld/xld_geometry.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

const ContourObject& oneContour(const HObject& object, const char* op) {
  if (objectCount(object, op, 1) != 1) fail(op, 1501);
  return *contoursOf(object, op, 1).front();
}

Hlong clippingOf(const HTuple& value, const char* op, int n) {
  const Hlong v = oneInteger(value, op, n);
  if (v < 0) fail(op, 1300 + n);
  return v;
}

// The ellipse of the parameters at positions first .. first + 4.
EllipseShape ellipseParams(const HTuple& row, const HTuple& col, const HTuple& phi,
                           const HTuple& radius1, const HTuple& radius2, const char* op,
                           int first) {
  EllipseShape e;
  e.row = oneNumber(row, op, first), e.col = oneNumber(col, op, first + 1);
  e.phi = oneNumber(phi, op, first + 2);
  e.ra = oneNumber(radius1, op, first + 3), e.rb = oneNumber(radius2, op, first + 4);
  if (!std::isfinite(e.row)) fail(op, 1300 + first);
  if (!std::isfinite(e.col)) fail(op, 1301 + first);
  if (!std::isfinite(e.phi)) fail(op, 1302 + first);
  if (!(e.ra > 0) || !std::isfinite(e.ra)) fail(op, 1303 + first);
  if (!(e.rb >= 0) || e.rb > e.ra) fail(op, 1304 + first);
  return e;
}

// The point in the ellipse's frame, along the main axis (x) and across it (y).
void frameOf(const EllipseShape& e, const Point& p, double* x, double* y) {
  const double dr = p.row - e.row, dc = p.col - e.col;
  *x = -dr * std::sin(e.phi) + dc * std::cos(e.phi);
  *y = -dr * std::cos(e.phi) - dc * std::sin(e.phi);
}

// The distance along the line through p in direction (ux, uy) of the frame to the nearest
// point where it meets the ellipse; negative when it does not.
double alongLine(const EllipseShape& e, double x, double y, double ux, double uy) {
  const double a2 = e.ra * e.ra, b2 = e.rb * e.rb;
  const double qa = ux * ux / a2 + uy * uy / b2, qb = 2 * (x * ux / a2 + y * uy / b2);
  const double qc = x * x / a2 + y * y / b2 - 1;
  const double disc = qb * qb - 4 * qa * qc;
  if (!(qa > 0) || disc < 0) return -1;
  const double root = std::sqrt(disc);
  return std::min(std::fabs((-qb + root) / (2 * qa)), std::fabs((-qb - root) / (2 * qa)));
}

// The distance measures of dist_ellipse_contour_xld, each taken positive.
double ellipseDistance(const EllipseShape& e, const Point& p, const std::string& mode) {
  if (mode == "geometric" || e.rb == 0) return std::fabs(signedEllipseDistance(e, p));
  double x, y;
  frameOf(e, p, &x, &y);
  // The conic scaled so that it measures Radius2 at the centre.
  if (mode == "algebraic")
    return e.rb * std::fabs(x * x / (e.ra * e.ra) + y * y / (e.rb * e.rb) - 1);
  const double c = std::sqrt(std::max(0.0, e.ra * e.ra - e.rb * e.rb));
  const double d1 = std::hypot(x - c, y), d2 = std::hypot(x + c, y);
  if (mode == "focpoints") return std::fabs(d1 + d2 - 2 * e.ra);
  // 'bisec': along the bisector of the angle the foci make at the point.
  if (d1 == 0 || d2 == 0) return std::fabs(signedEllipseDistance(e, p));
  const double ux = (c - x) / d1 + (-c - x) / d2, uy = -y / d1 - y / d2;
  const double norm = std::hypot(ux, uy);
  const double along = norm > 0 ? alongLine(e, x, y, ux / norm, uy / norm) : -1;
  return along >= 0 ? along : std::fabs(signedEllipseDistance(e, p));
}

// The points a distance is measured at: `clipping` off each end of an open contour.
std::vector<Point> measuredPoints(const ContourObject& contour, Hlong maxPoints, Hlong clipping) {
  return fitPoints(contour, maxPoints, clipping, !contour.closed());
}

}  // namespace

void DistEllipseContourXld(const HObject& Contours, const HTuple& Mode, const HTuple& MaxNumPoints,
                           const HTuple& ClippingEndPoints, const HTuple& Row, const HTuple& Column,
                           const HTuple& Phi, const HTuple& Radius1, const HTuple& Radius2,
                           HTuple* MinDist, HTuple* MaxDist, HTuple* AvgDist, HTuple* SigmaDist) {
  ApiScope scope("DistEllipseContourXld");
  const char* op = "dist_ellipse_contour_xld";
  const std::string mode = oneString(Mode, op, 1);
  if (mode != "geometric" && mode != "algebraic" && mode != "focpoints" && mode != "bisec") {
    fail(op, 1301);
  }
  const Hlong maxPoints = oneInteger(MaxNumPoints, op, 2);
  if (maxPoints != -1 && maxPoints < 3) fail(op, 1302);
  const Hlong clipping = clippingOf(ClippingEndPoints, op, 3);
  const EllipseShape e = ellipseParams(Row, Column, Phi, Radius1, Radius2, op, 4);
  HTuple mins, maxs, avgs, sigmas;
  for (const ContourObject* contour : contoursOf(Contours, op, 1)) {
    std::vector<double> d;
    for (const Point& p : measuredPoints(*contour, maxPoints, clipping)) {
      d.push_back(ellipseDistance(e, p, mode));
    }
    // No point left to measure measures 0.
    double low = 0, high = 0, mean = 0, spread = 0;
    if (!d.empty()) {
      low = *std::min_element(d.begin(), d.end()), high = *std::max_element(d.begin(), d.end());
      for (double v : d) mean += v;
      mean /= static_cast<double>(d.size());
      for (double v : d) spread += (v - mean) * (v - mean);
      spread = std::sqrt(spread / static_cast<double>(d.size()));
    }
    mins.Append(HTuple(low)), maxs.Append(HTuple(high));
    avgs.Append(HTuple(mean)), sigmas.Append(HTuple(spread));
  }
  setOutput(MinDist, mins), setOutput(MaxDist, maxs);
  setOutput(AvgDist, avgs), setOutput(SigmaDist, sigmas);
}

void DistEllipseContourPointsXld(const HObject& Contour, const HTuple& DistanceMode,
                                 const HTuple& ClippingEndPoints, const HTuple& Row,
                                 const HTuple& Column, const HTuple& Phi, const HTuple& Radius1,
                                 const HTuple& Radius2, HTuple* Distances) {
  ApiScope scope("DistEllipseContourPointsXld");
  const char* op = "dist_ellipse_contour_points_xld";
  const std::string mode = oneString(DistanceMode, op, 1);
  if (mode != "signed" && mode != "unsigned") fail(op, 1301);
  const Hlong clipping = clippingOf(ClippingEndPoints, op, 2);
  const EllipseShape e = ellipseParams(Row, Column, Phi, Radius1, Radius2, op, 3);
  const ContourObject& contour = oneContour(Contour, op);
  HTuple distances;
  for (const Point& p : measuredPoints(contour, -1, clipping)) {
    const double d = signedEllipseDistance(e, p);
    distances.Append(HTuple(mode == "signed" ? d : std::fabs(d)));
  }
  setOutput(Distances, distances);
}

void DistRectangle2ContourPointsXld(const HObject& Contour, const HTuple& ClippingEndPoints,
                                    const HTuple& Row, const HTuple& Column, const HTuple& Phi,
                                    const HTuple& Length1, const HTuple& Length2,
                                    HTuple* Distances) {
  ApiScope scope("DistRectangle2ContourPointsXld");
  const char* op = "dist_rectangle2_contour_points_xld";
  const Hlong clipping = clippingOf(ClippingEndPoints, op, 1);
  const double row = oneNumber(Row, op, 2), col = oneNumber(Column, op, 3);
  const double phi = oneNumber(Phi, op, 4);
  const double l1 = oneNumber(Length1, op, 5), l2 = oneNumber(Length2, op, 6);
  if (!std::isfinite(row)) fail(op, 1302);
  if (!std::isfinite(col)) fail(op, 1303);
  if (!std::isfinite(phi)) fail(op, 1304);
  if (!(l1 >= 0) || !std::isfinite(l1)) fail(op, 1305);
  if (!(l2 >= 0) || !std::isfinite(l2)) fail(op, 1306);
  const ContourObject& contour = oneContour(Contour, op);
  HTuple distances;
  for (const Point& p : measuredPoints(contour, -1, clipping)) {
    const double dr = p.row - row, dc = p.col - col;
    const double x = std::fabs(-dr * std::sin(phi) + dc * std::cos(phi));
    const double y = std::fabs(-dr * std::cos(phi) - dc * std::sin(phi));
    // Inside, the nearer side; outside, the nearest point of the outline.
    const double d = x <= l1 && y <= l2 ? std::min(l1 - x, l2 - y)
                                        : std::hypot(std::max(x - l1, 0.0), std::max(y - l2, 0.0));
    distances.Append(HTuple(d));
  }
  setOutput(Distances, distances);
}

}  // namespace HalconCpp
