// The row sums of smooth_image 'gauss' in floats with the columns in four phases: each vector
// holds every fourth column, so that a tap's columns lie a lane or so away in one of the four
// and far fewer lane shifts serve the taps.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_PHASES_H
#define QUORVEX_STANDINS_HALCON_GAUSS_PHASES_H

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// Along the row for the 64 N pixels from col[0] (N blocks of 64), from the columns' sums
// col[-reach] ... col[64 N + reach], in floats: each pixel's taps from the outermost pair in,
// each pair summed and then multiplied and added (one rounding), the centre last, the same
// operations as the other float rows; rounded into out. Returns the pixels the floats cannot
// decide (bit i: pixel i of the first block; the second block's are in *more when N is 2).
// Reads the 16 floats before col and after the last block.
using PhaseRows = std::uint64_t (*)(const float* col, const float* gf, float low, float high,
                                    std::uint8_t* out, std::uint64_t* more);

// The rows for reach r (1 ... 15) and N blocks (1 or 2), or nullptr where there are none
// (no AVX-512, another reach).
PhaseRows phaseRowsFor(std::size_t r, int blocks);

}  // namespace Standin
}  // namespace HalconCpp

#endif
