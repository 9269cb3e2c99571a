// Where a window of edge gradients (edge_windows.h) needs its values: a gradient whose filters
// smooth with weights of one sign and differentiate with an odd kernel is at most the kernel's
// weights on one side times the range of the grey values the pixel reads, along each axis; where
// that bound keeps a pixel and its eight neighbours below the amplitude's floor, no maximum is
// found there nor read beside one. And the pixels whose amplitudes reach the floor.
#ifndef QUORVEX_STANDINS_HALCON_EDGE_BOUNDS_H
#define QUORVEX_STANDINS_HALCON_EDGE_BOUNDS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/vector_targets.h"

namespace HalconCpp {
namespace Standin {

// The places i in [0, n) whose amplitude is neither at most 0 nor below `low` (a NaN passes, as
// it fails both tests), in order, into `out`: the pixels edges_sub_pix looks at further.
void edgeCandidates(const double* amp, std::size_t n, double low, std::vector<std::int32_t>* out);

// Which vector blocks of `block` columns of a tile of `width` columns (from group `first` of a
// window's `groups`) each window row [r0, r1) needs, by `need` as neededGroupsAvx512 fills it (any
// of its groups), then each line [lo, hi] smoothed along the rows (any of those rows that reads it,
// the filters reaching `half` each way; all of a line the mirrored edges of h rows may read): a
// byte a block into `blocks`, the rows' first.
void neededBlocks(const std::vector<std::uint8_t>& need, std::size_t groups, std::int32_t r0,
                  std::int32_t r1, std::size_t first, std::size_t width, std::size_t block,
                  std::int32_t half, std::int32_t h, std::int32_t lo, std::int32_t hi,
                  std::vector<std::uint8_t>* blocks);

#if QUORVEX_KERNELS_AVX2
// The groups of eight columns of a window, rows [r0, r1) and columns [c0, c1) of a byte image of
// w x h whose filters read `half` pixels each way: (*need)[(r - r0) * groups + j] is 1 where the
// range of the grey values that group j of row r, or a pixel beside it, reads (or a few more
// around) exceeds `limit`, else 0. `scratch` is kept from call to call. AVX-512 (F, BW).
__attribute__((target(QUORVEX_AVX512))) void neededGroupsAvx512(
    const std::uint8_t* pixels, std::int32_t w, std::int32_t h, std::int32_t r0, std::int32_t r1,
    std::int32_t c0, std::int32_t c1, std::int32_t half, int limit, std::vector<std::uint8_t>* need,
    std::vector<std::uint8_t>* scratch);
#endif

}  // namespace Standin
}  // namespace HalconCpp

#endif
