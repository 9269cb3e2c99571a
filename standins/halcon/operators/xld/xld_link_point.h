// The sub-pixel point a pixel holds, as the linking (xld_link.h) and its tables take it.
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_POINT_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_POINT_H

#include <array>
#include <cstddef>

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

}  // namespace Standin
}  // namespace HalconCpp

#endif
