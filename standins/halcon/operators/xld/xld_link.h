// Sub-pixel points found one per pixel (edges_sub_pix, lines_gauss) joined into contours.
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/contour.h"
#include "operators/xld/xld_link_point.h"

namespace HalconCpp {
namespace Standin {

// Hysteresis first: weak points joined to a strong one through their 8-neighbours become
// strong. The strong points are then walked into contours, open chains from their ends first,
// the next point the free neighbour with fewest free neighbours of its own (edge neighbours
// before diagonal ones); a walk ending beside its start closes, a chain of one point is
// dropped. `points` holds at most one point a pixel, in any order.
std::vector<ContourPtr> linkPoints(const std::vector<LinkPoint>& points, std::int32_t width,
                                   std::int32_t height, const std::vector<std::string>& names);
// The same of the points of several parts, as if one after the other in one list; `alone`: on
// the calling thread alone (the same contours), where the operators' threads are held up elsewhere.
std::vector<ContourPtr> linkPoints(const std::vector<std::vector<LinkPoint>>& parts,
                                   std::int32_t width, std::int32_t height,
                                   const std::vector<std::string>& names, bool alone = false);

}  // namespace Standin
}  // namespace HalconCpp

#endif
