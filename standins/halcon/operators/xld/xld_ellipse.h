// Ellipses fitted to contour points, and the distances of points to an ellipse.
#ifndef QUORVEX_STANDINS_HALCON_XLD_ELLIPSE_H
#define QUORVEX_STANDINS_HALCON_XLD_ELLIPSE_H

#include <vector>

#include "core/region_geometry.h"

namespace HalconCpp {
namespace Standin {

// Centre, the main axis' angle phi in (-pi/2, pi/2] counter-clockwise from the column axis,
// and the radii along it (ra) and across it (rb), ra >= rb.
struct EllipseShape {
  double row = 0;
  double col = 0;
  double phi = 0;
  double ra = 0;
  double rb = 0;
};

// Fitzgibbon's direct least squares of the algebraic distance under the constraint that makes
// the conic an ellipse, weighted; false when the points fix no ellipse.
bool fitEllipseAlgebraic(const std::vector<Point>& points, const std::vector<double>& weights,
                         EllipseShape* ellipse);
// The weighted squares of the points' distances to the ellipse minimised, started from the
// algebraic fit.
bool fitEllipseGeometric(const std::vector<Point>& points, const std::vector<double>& weights,
                         EllipseShape* ellipse);

// The point's distance to the ellipse's outline: negative inside.
double signedEllipseDistance(const EllipseShape& ellipse, const Point& p);

// The parametric angle of the point in the ellipse's frame: the t of (ra cos t, rb sin t).
double ellipseAngle(const EllipseShape& ellipse, const Point& p);

}  // namespace Standin
}  // namespace HalconCpp

#endif
