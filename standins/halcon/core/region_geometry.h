// Geometry of regions measured on their runs, with the vendor's conventions: coordinates are
// pixel centres, angles are counter-clockwise from the column axis (rows point down), and an
// empty region measures 0 throughout.
#ifndef QUORVEX_STANDINS_HALCON_REGION_GEOMETRY_H
#define QUORVEX_STANDINS_HALCON_REGION_GEOMETRY_H

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
// The ellipse's angle turned towards the region's farthest pixel, in (-pi, pi].
double orientationOf(const Runs& runs, const Moments& m);

// Corners of the convex hull of the pixel centres, clockwise on screen.
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
// The largest circle inside the region, centred on one of its pixels (the top-most, then
// left-most of the best).
Circle innerCircle(const Runs& runs);

// Length of the outer contours through the border pixels' centres: 1 a straight step,
// sqrt(2) a diagonal one.
double contourLength(const Runs& runs);
// The border pixels' centres along those contours, for the distance features.
std::vector<Point> contourPoints(const Runs& runs);
double maxDiameter(const Runs& runs);

// Shapes rasterised as the pixels whose centres they cover.
Runs convexPolygonRuns(const std::vector<Point>& corners);
Runs rectangle2Runs(double row, double col, double phi, double length1, double length2);
Runs ellipseRuns(double row, double col, double phi, double radius1, double radius2);
Runs lineRuns(std::int32_t row1, std::int32_t col1, std::int32_t row2, std::int32_t col2);

}  // namespace Standin
}  // namespace HalconCpp

#endif
