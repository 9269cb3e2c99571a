// A transformed region built by pulling each pixel of its box back through the inverse map:
// the pixel belongs to the result when its centre lands in a pixel of the source region, so
// that the result has no gaps however the map turns or stretches it.
#ifndef QUORVEX_STANDINS_HALCON_REGION_PULL_BACK_H
#define QUORVEX_STANDINS_HALCON_REGION_PULL_BACK_H

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

// Rows and columns beyond the largest image side are left out, as the vendor's regions end
// there too.
constexpr double kPullBackReach = 32768;

// The result's pixels within the box [top, bottom] x [left, right] (pixel edges, real
// coordinates); `back(row, col, &x, &y)` maps a result pixel to source coordinates and
// returns false where the map has no value.
template <class BackMap>
Runs pulledBackRuns(const Runs& region, double top, double bottom, double left, double right,
                    BackMap&& back) {
  // A pixel of margin: corners that land on a pixel's edge must not lose it to rounding.
  const auto from = [](double v) {
    return std::clamp(std::ceil(v - 0.5) - 1, -kPullBackReach, kPullBackReach);
  };
  const auto to = [](double v) {
    return std::clamp(std::floor(v + 0.5) + 1, -kPullBackReach, kPullBackReach);
  };
  Runs runs;
  for (auto row = static_cast<std::int32_t>(from(top)); row <= to(bottom); ++row) {
    for (auto col = static_cast<std::int32_t>(from(left)); col <= to(right); ++col) {
      double x, y;
      if (!back(row, col, &x, &y)) continue;
      if (!(std::fabs(x) < kPullBackReach && std::fabs(y) < kPullBackReach)) continue;
      const auto sr = static_cast<std::int32_t>(std::floor(x + 0.5));
      const auto sc = static_cast<std::int32_t>(std::floor(y + 0.5));
      if (!runsContain(region, sr, sc)) continue;
      if (!runs.empty() && runs.back().row == row && runs.back().end + 1 == col) {
        runs.back().end = col;
      } else {
        runs.push_back(Run{row, col, col});
      }
    }
  }
  return runs;
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
