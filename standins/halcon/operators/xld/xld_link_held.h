// The linking of the points held in a call's tables (xld_link.cc), which linkPoints fills from
// the points' lists (xld_link_lists.cc).
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_HELD_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_HELD_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/contour.h"
#include "operators/xld/xld_link_tables.h"

namespace HalconCpp {
namespace Standin {
namespace linking {

// The points' listing into the held ones, in `parts` parts, and whether it left them in order.
struct Listing {
  std::int64_t parts;
  std::function<void(std::int64_t, std::int64_t)> list;
  std::function<bool()> inOrder;
};

// The contours of the held points (linkPoints, xld_link.h). `sorted`: the points held are known
// to be in order already; `listing`: they are yet to be listed; `alone`: on the calling thread.
std::vector<ContourPtr> linkHeld(LinkTables& tables, std::int32_t w, std::int32_t h,
                                 const std::vector<std::string>& names, bool sorted = false,
                                 const Listing* listing = nullptr, bool alone = false);

}  // namespace linking
}  // namespace Standin
}  // namespace HalconCpp

#endif
