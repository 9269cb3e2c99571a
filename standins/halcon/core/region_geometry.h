// Geometry of regions measured on their runs, with the vendor's conventions: coordinates are
// pixel centres, angles are counter-clockwise from the column axis (rows point down), and an
// empty region measures 0 throughout.
#ifndef QUORVEX_STANDINS_HALCON_REGION_GEOMETRY_H
#define QUORVEX_STANDINS_HALCON_REGION_GEOMETRY_H

#include <cstdint>
#include <vector>

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

struct Point {
  double row;
  double col;
};

// Area, centre and the central second moments per pixel (M20 over rows, M02 over columns).
struct Moments {
  double area = 0;
  double row = 0;
  double col = 0;
  double m20 = 0;
  double m02 = 0;
  double m11 = 0;
};
Moments momentsOf(const Runs& runs);

struct Ellipse {
  double ra = 0;
  double rb = 0;
  double phi = 0;  // in (-pi/2, pi/2]
};
// The ellipse with the region's second moments.
Ellipse ellipseOf(const Moments& m);
// The ellipse's angle turned towards the region's farthest contour point, in [-pi, pi).
double orientationOf(const Runs& runs, const Moments& m);

// Corners of the convex hull of the pixel centres, counter-clockwise on screen (rows down).
std::vector<Point> convexHull(const Runs& runs);

struct Rectangle2 {
  double row = 0;
  double col = 0;
  double phi = 0;
  double length1 = 0;
  double length2 = 0;
};
Rectangle2 smallestRectangle2(const Runs& runs);

struct Circle {
  double row = 0;
  double col = 0;
  double radius = 0;
};
Circle smallestCircle(const Runs& runs);
// The smallest circle holding all the points; radius 0 at (0, 0) for none.
Circle enclosingCircle(std::vector<Point> points);
// The largest of the vendor's discrete circles (discreteCircleRuns) that fits inside the
// region, at the first place it fits: the top-most, then left-most centre.
Circle innerCircle(const Runs& runs);

// The largest axis-parallel rectangle inside the region, by area; among equals the top-most,
// then left-most.
struct Box {
  std::int32_t row1 = 0;
  std::int32_t col1 = 0;
  std::int32_t row2 = -1;
  std::int32_t col2 = -1;
};
Box innerRectangle(const Runs& runs);

// Length of the outer contours through the border pixels' centres: 1 a straight step,
// sqrt(2) a diagonal one.
double contourLength(const Runs& runs);
// The border pixels' centres along those contours, for the distance features.
std::vector<Point> contourPoints(const Runs& runs);
double maxDiameter(const Runs& runs);
// The outer border of the 8-connected part that holds the region's last pixel of its top row,
// traced clockwise from that pixel: the steps, each 0 for east and counting clockwise on
// screen (1 south-east, 2 south, ... 7 north-east), back to the start. None for one pixel.
struct Border {
  std::int32_t row = 0;
  std::int32_t col = 0;
  std::vector<int> steps;
};
Border outerBorder(const Runs& runs);
constexpr int kBorderStepRow[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kBorderStepCol[8] = {1, 1, 0, -1, -1, -1, 0, 1};

// The vendor's discrete circle: the radius rounded down to a multiple of 0.5 so that the
// circle is symmetric about its centre, which is the nearest pixel for an odd diameter
// (radius k + 0.5) and the nearest pixel corner for an even one (radius k), a pixel's own
// centre moving up and left to its corner; the pixels whose centres lie within the radius.
Runs discreteCircleRuns(double row, double col, double radius);

// Shapes rasterised as the pixels whose centres they cover.
Runs convexPolygonRuns(const std::vector<Point>& corners);
Runs rectangle2Runs(double row, double col, double phi, double length1, double length2);
Runs ellipseRuns(double row, double col, double phi, double radius1, double radius2);
Runs lineRuns(std::int32_t row1, std::int32_t col1, std::int32_t row2, std::int32_t col2);

}  // namespace Standin
}  // namespace HalconCpp

#endif
