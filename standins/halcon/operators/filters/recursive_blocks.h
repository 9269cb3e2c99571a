// What the two forms of smooth_image's blocks of rows share (recursive_blocks.cc in AVX2,
// recursive_states.cc and recursive_wide.cc in AVX-512): the image and its continuation, and
// the plan of blocks and bands with the states the first pass keeps for the second.
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_BLOCKS_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_BLOCKS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/recursive_passes.h"

#if defined(__GNUC__) && defined(__x86_64__)
#define QUORVEX_RECURSIVE_BLOCKS 1
#else
#define QUORVEX_RECURSIVE_BLOCKS 0
#endif

namespace HalconCpp {
namespace Standin {

constexpr std::int32_t kBlockRows = 32;

struct RecursiveJob {
  const std::uint8_t* src;
  std::int32_t w, h, reach;
  const std::vector<std::int32_t>* rows;  // the mirrored continuation down the columns
  const Recursion* c;
  const std::uint8_t* line(std::size_t i, std::size_t x0) const {
    return src + static_cast<std::size_t>((*rows)[i]) * static_cast<std::size_t>(w) + x0;
  }
};

// The blocks, which of them the extent meets, and the bands of blocks the second pass shares
// out, with the states kept for them.
struct RecursivePlan {
  std::int32_t blocks = 0;
  // Each block's first row, then the image's height: blocks of kBlockRows rows, or fewer where
  // the bands' rows are shared out evenly (recursiveSmoothBlocks).
  std::vector<std::int32_t> firstRows;
  std::int32_t rowOf(std::int32_t block) const {
    return firstRows[static_cast<std::size_t>(block)];
  }
  std::vector<std::uint8_t> met;     // a block: whether any of its rows is filtered
  std::vector<std::int32_t> starts;  // the bands' first blocks, and the end
  std::int32_t lowest = 0;           // the first met block
  // With several bands, the first runs from its last block up, carrying the backward sums and
  // taking the forward ones from states kept at its met blocks' starts: the first pass then
  // runs the forward sums down to the last band's start and the backward sums up to the first
  // band's end alone, where the first band run downwards would need them up to its top.
  bool upward = false;
  // By block, each `w` a pair. Backward: a(e), a(e + 1) at the end e of each met block the
  // bands run downwards, and of the upward band's last block; forward: c(s - 1), c(s - 2) at
  // the start s of each band after the first and of each met block of the upward band. Only
  // the pairs kept are read.
  float* backward = nullptr;
  float* forward = nullptr;
  // Where the image is small enough to stay in the cache (AVX-512): the first pass's sums at
  // every place it runs over, `w` a place, so that the second runs each block's other
  // direction alone. Forward: places [0, forwardEnd); backward: places [backwardSumsFrom, m),
  // from backwardSums on: backwardLow's with several bands, the first met block's start with
  // one. Null where not kept.
  float* forwardSums = nullptr;
  float* backwardSums = nullptr;
  std::size_t backwardSumsFrom = 0;
};

// Lays out `plan`'s blocks and bands for the extent of an image of h rows, w columns; returns
// the number of bands, 0 where the extent meets no row.
int planBlocks(const Extent& extent, std::int32_t w, std::int32_t h, RecursivePlan& plan);

// The lowest place the first pass's backward sums reach, and the end of the places its forward
// sums run over.
std::size_t backwardLow(const RecursiveJob& j, const RecursivePlan& plan);
std::size_t forwardEnd(const RecursiveJob& j, const RecursivePlan& plan);

inline std::size_t placeOf(const RecursiveJob& j, std::int32_t row) {
  return static_cast<std::size_t>(j.reach + row);
}

// The AVX-512 forms: the first pass over columns [x0, x1), and the second over blocks
// [b0, b1), from the last up if `upward`, with the same sums as the AVX2 ones and the portable
// rows; the second writes every pixel of its blocks, 0 beside the extent.
bool recursiveWideEnabled();
// `sweeps`: the forward sums, the backward ones, or both.
constexpr int kForwardSweep = 1, kBackwardSweep = 2;
void keepStatesWide(const RecursiveJob& j, RecursivePlan& plan, std::size_t x0, std::size_t x1,
                    int sweeps);
void filterBlocksWide(const RecursiveJob& j, const RecursivePlan& plan,
                      const std::vector<std::int32_t>& columns, const Extent& extent,
                      std::int32_t b0, std::int32_t b1, bool upward, std::uint8_t* dst);

}  // namespace Standin
}  // namespace HalconCpp

#endif
