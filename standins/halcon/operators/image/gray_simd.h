// rgb1_to_gray's weighing in vectors: (299 r + 587 g + 114 b + 500) / 1000, the quotient
// exact, as the portable loop computes it.
#ifndef QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_GRAY_SIMD_H
#define QUORVEX_STANDINS_HALCON_OPERATORS_IMAGE_GRAY_SIMD_H

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// Weighs the first pixels of a row with the widest vectors the processor runs (AVX2, else
// SSE2) and returns how many it weighed; the caller weighs the rest. 0 where neither runs.
std::size_t weighGrayVectors(const std::uint8_t* red, const std::uint8_t* green,
                             const std::uint8_t* blue, std::size_t count, std::uint8_t* gray);

}  // namespace Standin
}  // namespace HalconCpp

#endif
