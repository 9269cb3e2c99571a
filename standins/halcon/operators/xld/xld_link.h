// Sub-pixel points found one per pixel (edges_sub_pix, lines_gauss) joined into contours.
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/contour.h"

namespace HalconCpp {
namespace Standin {

// The point a pixel holds, with its attribute values in the order of the names linkPoints is
// given.
struct LinkPoint {
  double row = 0, col = 0;
  std::vector<double> values;
  int state = 0;  // 0 none, 1 weak, 2 strong, 3 linked
};

// Hysteresis first: weak points joined to a strong one through their 8-neighbours become
// strong. The strong points are then walked into contours, open chains from their ends first,
// the next point the free neighbour with fewest free neighbours of its own (edge neighbours
// before diagonal ones); a walk ending beside its start closes, a chain of one point is
// dropped. `points` holds width x height entries, row by row.
std::vector<ContourPtr> linkPoints(std::vector<LinkPoint>& points, std::int32_t width,
                                   std::int32_t height, const std::vector<std::string>& names);

}  // namespace Standin
}  // namespace HalconCpp

#endif
