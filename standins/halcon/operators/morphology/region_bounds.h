// What the structuring-region and Golay operators share: the coordinate bound of their
// elements and results, and the test that ends an iteration once nothing changes.
#ifndef QUORVEX_STANDINS_HALCON_MORPHOLOGY_REGION_BOUNDS_H
#define QUORVEX_STANDINS_HALCON_MORPHOLOGY_REGION_BOUNDS_H

#include <cstddef>
#include <cstdint>

#include "core/run_sets.h"

namespace HalconCpp {
namespace Standin {

// Elements' coordinates beyond this are refused and results are clipped to it: a shifted
// element walks a region away a step per iteration, and a clipped region reaches a fixed
// point, far inside int32.
constexpr std::int32_t kCoordinateBound = 100000;

inline Runs clippedToCoordinateBound(const Runs& runs) {
  std::int32_t r1, c1, r2, c2;
  if (!runsBox(runs, &r1, &c1, &r2, &c2)) return runs;
  if (r1 >= -kCoordinateBound && c1 >= -kCoordinateBound && r2 <= kCoordinateBound &&
      c2 <= kCoordinateBound) {
    return runs;
  }
  return intersectRuns(runs, rectangleRuns(-kCoordinateBound, -kCoordinateBound, kCoordinateBound,
                                           kCoordinateBound));
}

inline bool sameRuns(const Runs& a, const Runs& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].row != b[i].row || a[i].begin != b[i].begin || a[i].end != b[i].end) return false;
  }
  return true;
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
