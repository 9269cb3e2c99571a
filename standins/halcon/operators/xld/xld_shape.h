// The shape factors of contours, as their operators (circularity_xld, convexity_xld, ...) and
// select_shape_xld measure them: the contour is closed from its last point to its first, the
// polygon it then encloses measured, and a contour enclosing nothing measures 0.
#ifndef QUORVEX_STANDINS_HALCON_XLD_SHAPE_H
#define QUORVEX_STANDINS_HALCON_XLD_SHAPE_H

#include "core/contour.h"
#include "core/region_geometry.h"

namespace HalconCpp {
namespace Standin {

double circularityOf(const ContourObject& contour);
double compactnessOf(const ContourObject& contour);
double convexityOf(const ContourObject& contour);
double rectangularityOf(const ContourObject& contour);

// The ellipse's angle turned by pi when the point farthest from the centre lies on the other
// side: in (-pi, pi]. Of the polygon (orientation_xld) or of the point cloud
// (orientation_points_xld).
double orientationOf(const ContourObject& contour);
double cloudOrientationOf(const ContourObject& contour);

struct Eccentricity {
  double anisometry = 0;
  double bulkiness = 0;
  double structureFactor = 0;
};
Eccentricity eccentricityOf(const ContourObject& contour);

// The two points farthest apart, and their distance.
struct Diameter {
  Point first{0, 0};
  Point second{0, 0};
  double length = 0;
};
Diameter diameterOf(const ContourObject& contour);

}  // namespace Standin
}  // namespace HalconCpp

#endif
