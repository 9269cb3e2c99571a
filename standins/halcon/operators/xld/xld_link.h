// Sub-pixel points found one per pixel (edges_sub_pix, lines_gauss) joined into contours.
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/contour.h"

namespace HalconCpp {
namespace Standin {

// The point a pixel holds, with its attribute values in the order of the names linkPoints is
// given (at most four). Only the pixels that hold one have one: an image's worth of points
// with their values would cost more than finding them.
constexpr std::size_t kMaxLinkValues = 4;
struct LinkPoint {
  double row = 0, col = 0;
  std::array<double, kMaxLinkValues> values{};
  std::size_t pixel = 0;  // row * width + column
  int state = 0;          // 1 weak, 2 strong
};

// Hysteresis first: weak points joined to a strong one through their 8-neighbours become
// strong. The strong points are then walked into contours, open chains from their ends first,
// the next point the free neighbour with fewest free neighbours of its own (edge neighbours
// before diagonal ones); a walk ending beside its start closes, a chain of one point is
// dropped. `points` holds at most one point a pixel, in any order.
std::vector<ContourPtr> linkPoints(const std::vector<LinkPoint>& points, std::int32_t width,
                                   std::int32_t height, const std::vector<std::string>& names);
// The same of the points of several parts, as if one after the other in one list.
std::vector<ContourPtr> linkPoints(const std::vector<std::vector<LinkPoint>>& parts,
                                   std::int32_t width, std::int32_t height,
                                   const std::vector<std::string>& names);

}  // namespace Standin
}  // namespace HalconCpp

#endif
