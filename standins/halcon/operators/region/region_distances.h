// Distances between the pixels of two regions, shared by the distance operators and
// select_shape_proto's 'distance_contour' and 'distance_dilate'.
#ifndef QUORVEX_STANDINS_HALCON_REGION_DISTANCES_H
#define QUORVEX_STANDINS_HALCON_REGION_DISTANCES_H

#include <cstdint>

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

struct NearestPair {
  double distance = 0;
  std::int32_t row1 = 0, col1 = 0, row2 = 0, col2 = 0;
};

// The closest pixels of a and b by Euclidean distance: a shared pixel at 0 when they meet, the
// first of a in row order otherwise. Zeros when either region is empty.
NearestPair nearestPixels(const Runs& a, const Runs& b);

// distance_rr_min_dil's number: dilating both regions with the 3 x 3 square n times until they
// share a pixel gives 2 n - 1, so -1 for regions that already overlap. 0 for an empty region.
std::int64_t dilationDistance(const Runs& a, const Runs& b);

}  // namespace Standin
}  // namespace HalconCpp

#endif
