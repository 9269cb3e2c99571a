// The row sums of smooth_image 'gauss' in floats with the columns in four phases: each vector
// holds every fourth column, so that a tap's columns lie a lane or so away in one of the four
// and far fewer lane shifts serve the taps.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_PHASES_H
#define QUORVEX_STANDINS_HALCON_GAUSS_PHASES_H

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// Along the row for the pixels [x, end) in blocks of 64 while a whole block remains,
// returning where it stops, from the columns' sums col[x - reach] ... col[end - 1 + reach],
// in floats: each pixel's taps from the outermost pair in, each pair summed and then
// multiplied and added (one rounding), the centre last, the same operations as the other float
// rows; rounded into out[x] .... The pixels the floats cannot decide: block k's in unsure[k],
// bit i for pixel x + 64 k + i. Reads the 16 floats before col[x] and after the last block.
using PhaseRow = std::size_t (*)(const float* col, std::size_t x, std::size_t end, const float* gf,
                                 float low, float high, std::uint8_t* out, std::uint64_t* unsure);

// The rows for reach r (1 ... 15), or nullptr where there are none (no AVX-512, another reach).
PhaseRow phaseRowFor(std::size_t r);

}  // namespace Standin
}  // namespace HalconCpp

#endif
