// Filters on one plane of byte pixels, row by row without padding. Pixels beyond the edges
// are mirrored about the edge: the row above row 0 repeats row 0.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_KERNELS_H
#define QUORVEX_STANDINS_HALCON_IMAGE_KERNELS_H

#include <cstdint>
#include <vector>

#include "core/runs.h"

namespace HalconCpp {
namespace Standin {

struct PlaneSize {
  std::int32_t width;
  std::int32_t height;
};

std::int32_t mirroredIndex(std::int32_t i, std::int32_t n);

// Mean over (2 * (maskWidth / 2) + 1) x (2 * (maskHeight / 2) + 1) pixels, rounded: running
// sums, so the cost does not grow with the mask.
void meanPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
               std::int32_t maskHeight, std::uint8_t* dst);
// Binomial weights of Size (3, 5, ... 11) taps in each direction, rounded.
void binomialPlane(const std::uint8_t* src, PlaneSize size, std::int32_t taps, std::uint8_t* dst);

// How median filters read beyond the edges: mirrored, repeated from the opposite edge,
// continued from the edge pixel, or a constant grey value.
struct Margin {
  enum Kind { Mirrored, Cyclic, Continued, Constant } kind = Mirrored;
  std::uint8_t value = 0;
};
// The median over the mask's pixels around each pixel; `mask` holds offsets as runs.
void medianPlane(const std::uint8_t* src, PlaneSize size, const Runs& mask, Margin margin,
                 std::uint8_t* dst);

}  // namespace Standin
}  // namespace HalconCpp

#endif
