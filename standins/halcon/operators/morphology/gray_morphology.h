// The grey-value morphology over flat masks that gray_rect.cc computes and the _shape
// operators (gray_shape.cc) call.
#ifndef QUORVEX_STANDINS_HALCON_GRAY_MORPHOLOGY_H
#define QUORVEX_STANDINS_HALCON_GRAY_MORPHOLOGY_H

#include <cstdint>
#include <vector>

#include "halconcpp/HObject.h"

namespace HalconCpp {
namespace Standin {

struct HalfMask {
  std::int32_t rows, cols;
};

// A flat mask symmetric about its centre: per row offset -rows ... rows the half width of its
// row; a rectangle takes the separable path.
struct Mask {
  HalfMask half;
  std::vector<std::int32_t> halfWidths;
  bool rectangle = true;
};

enum class Steps { Erosion, Dilation, Opening, Closing };

// A result of several masks, weighed (the interpolation between odd sizes): each computed whole
// and the weighted sum stored over the domain's extent, rounded for the integer types.
struct WeightedMask {
  Mask mask;
  double weight;
};

// Each image of `Image` (byte, direction, cyclic, uint2, int2, int4, real) through `steps`
// over the masks, their results weighed; computed over the domain's extent of each row.
void grayMorphology(const HObject& Image, HObject* Result, const std::vector<WeightedMask>& masks,
                    Steps steps, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
