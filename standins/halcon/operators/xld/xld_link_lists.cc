// linkPoints (xld_link.h): the points' lists into a call's tables, for linkHeld (xld_link.cc).
#include "operators/xld/xld_link.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/xld/xld_link_held.h"
#include "operators/xld/xld_link_tables.h"

namespace HalconCpp {
namespace Standin {

using namespace linking;

std::vector<ContourPtr> linkPoints(const std::vector<LinkPoint>& points, std::int32_t w,
                                   std::int32_t h, const std::vector<std::string>& names) {
  TablesOfCall tables;
  Held& held = (*tables).held;
  held.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) held[i] = heldOf(points[i]);
  return linkHeld(*tables, w, h, names);
}

std::vector<ContourPtr> linkPoints(const std::vector<std::vector<LinkPoint>>& parts, std::int32_t w,
                                   std::int32_t h, const std::vector<std::string>& names,
                                   bool alone) {
  // Each part's place in the list, and the parts' points listed in bands of parts.
  std::vector<std::size_t> offset(parts.size() + 1);
  for (std::size_t i = 0; i < parts.size(); ++i) offset[i + 1] = offset[i] + parts[i].size();
  TablesOfCall tables;
  Held& held = (*tables).held;
  held.resize(offset.back());
  // Whether each part's points are in order, found by the band that lists them rather than in a
  // pass over them all on the calling thread; and then across the parts' ends.
  std::vector<std::uint8_t> inOrder(parts.size(), 1);
  Listing listing;
  listing.parts = static_cast<std::int64_t>(parts.size());
  listing.list = [&](std::int64_t b0, std::int64_t b1) {
    for (auto i = static_cast<std::size_t>(b0); i < static_cast<std::size_t>(b1); ++i) {
      for (std::size_t j = 0; j < parts[i].size(); ++j) {
        held[offset[i] + j] = heldOf(parts[i][j]);
        if (j > 0 && held[offset[i] + j].first < held[offset[i] + j - 1].first) inOrder[i] = 0;
      }
    }
  };
  listing.inOrder = [&] {
    bool sorted = true;
    for (std::size_t i = 0; i < parts.size() && sorted; ++i) {
      sorted = inOrder[i] != 0 && (offset[i] == 0 || offset[i] == offset[i + 1] ||
                                   held[offset[i] - 1].first < held[offset[i]].first);
    }
    return sorted;
  };
  return linkHeld(*tables, w, h, names, false, &listing, alone);
}

}  // namespace Standin
}  // namespace HalconCpp
