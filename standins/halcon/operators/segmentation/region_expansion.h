// The growth behind expand_region, expand_gray and expand_gray_ref: every region grows by
// one pixel wide strips at once, and the area where regions overlap is shared out between
// them as they grow over it.
#ifndef QUORVEX_STANDINS_HALCON_REGION_EXPANSION_H
#define QUORVEX_STANDINS_HALCON_REGION_EXPANSION_H

#include <cstdint>
#include <vector>

#include "core/runs.h"
#include "halconcpp/HTuple.h"

namespace HalconCpp {
namespace Standin {

struct Expansion {
  Hlong iterations = 0;      // steps of growth; kUntilStable for 'maximal'
  bool intoFreeArea = true;  // 'image'; 'region' only shares out the overlaps
};
constexpr Hlong kUntilStable = -1;

// Iterations (an integer >= 0 or 'maximal') and Mode ('image' or
// 'region') read from their parameters at positions n and n + 1.
Expansion expansionOf(const HTuple& iterations, const HTuple& mode, const char* op, int n);

// Whether region k may take the pixel (row, col) from its neighbour (fromRow, fromCol), which
// the region holds: every pixel for expand_region, similar grey values for expand_gray.
using Admits = bool (*)(const void* context, std::int32_t row, std::int32_t col,
                        std::int32_t fromRow, std::int32_t fromCol);

// The regions after the growth, in their order. Free pixels lie in the rectangle from (0, 0)
// to the lower right corner of all regions and the forbidden area, outside the forbidden area.
std::vector<Runs> expandRegions(const std::vector<const Runs*>& regions, const Runs& forbidden,
                                const Expansion& expansion, const char* op, Admits admits = nullptr,
                                const void* context = nullptr);

}  // namespace Standin
}  // namespace HalconCpp

#endif
