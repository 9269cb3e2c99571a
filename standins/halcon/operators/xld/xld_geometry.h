// Geometry of contours shared by the XLD operators: lengths, the polygon's area and centre,
// enclosing rectangles, and the line and circle fits.
#ifndef QUORVEX_STANDINS_HALCON_XLD_GEOMETRY_H
#define QUORVEX_STANDINS_HALCON_XLD_GEOMETRY_H

#include <string>
#include <vector>

#include "core/contour.h"
#include "core/region_geometry.h"

namespace HalconCpp {
namespace Standin {

// Raised by the fits for a contour with too few points, or points that fix no line or
// circle (all equal, all on one line for a circle).
constexpr Hlong kFitPointsError = 3264;

// The polyline's length, segment by segment.
double polylineLength(const ContourObject& contour);

// The polygon the contour closes (its last point joined to its first): the area enclosed,
// its centre of gravity, and whether its points run counter-clockwise as seen on the screen.
// A polygon enclosing nothing has area 0 and the mean of its points as centre.
struct AreaCenter {
  double area = 0;
  double row = 0;
  double col = 0;
  bool positive = true;
};
AreaCenter areaCenterOf(const ContourObject& contour);

// The contour's points; as a point cloud, a closed contour's last point, which repeats its
// first, is left out so that it does not count twice.
std::vector<Point> pointsOf(const ContourObject& contour);
std::vector<Point> cloudOf(const ContourObject& contour);

// The points a fit uses: `clipping` points clipped off each end of an open contour (`clip`),
// then at most `maxPoints` of the rest, evenly spread (-1: all).
std::vector<Point> fitPoints(const ContourObject& contour, Hlong maxPoints, Hlong clipping,
                             bool clip);

// The corners of the points' convex hull, in order round it.
std::vector<Point> convexHullOf(std::vector<Point> points);
// The area the closed polygon through the points encloses, counter-clockwise on the screen
// positive.
double signedArea(const std::vector<Point>& polygon);

// The integral of (row - row0)^p (col - col0)^q over the polygon the contour closes, by
// Green's theorem on its edges: positive for points running counter-clockwise on the screen.
double polygonMoment(const ContourObject& contour, int p, int q, double row0, double col0);

// Area, centre and the central second moments per unit area, as momentsOf gives a region's:
// over the enclosed polygon (its area taken positive whatever the points' order), or over the
// cloud of points, each a unit of area. ellipseOf turns them into elliptic_axis_xld's ellipse.
Moments polygonMoments(const ContourObject& contour);
Moments cloudMoments(const ContourObject& contour);

// The smallest enclosing rectangle of any orientation, its phi in (-pi/2, pi/2] along the
// longer side.
Rectangle2 pointsRectangle2(const std::vector<double>& rows, const std::vector<double>& cols);

// Weighted fits. The robust kinds ('huber', 'tukey', 'drop', 'gauss') reweight each point by
// its distance d to the last fit, against ClippingFactor times the robust deviation
// median(|d|) / 0.6745.
enum class Weighting { kNone, kHuber, kTukey, kDrop, kGauss };
std::vector<double> weightsOf(const std::vector<double>& distances, Weighting weighting,
                              double clippingFactor);

// The line nr * row + nc * col = dist through the weighted points, least squares of the
// orthogonal distances; false when the points fix no direction.
struct Line {
  double nr = 0;
  double nc = 0;
  double dist = 0;
};
bool fitLine(const std::vector<Point>& points, const std::vector<double>& weights, Line* line);

// Circles: the algebraic fit minimises the weighted squares of (r² + c² + D r + E c + F), the
// geometric one the weighted squares of the distances to the circle, started from the
// algebraic one. False when the points fix no circle.
bool fitCircleAlgebraic(const std::vector<Point>& points, const std::vector<double>& weights,
                        Circle* circle);
bool fitCircleGeometric(const std::vector<Point>& points, const std::vector<double>& weights,
                        Circle* circle);

}  // namespace Standin
}  // namespace HalconCpp

#endif
