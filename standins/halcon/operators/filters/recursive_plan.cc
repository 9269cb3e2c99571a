// The blocks of rows smooth_image's recursive filters run in (recursive_blocks.cc), and the
// bands of blocks its threads share out. The number of bands follows blocks of kBlockRows rows;
// with several, each band then takes an even share of the rows the sums are needed over, in
// blocks as even as it allows. Whole blocks alone would split 640 x 480's 15 blocks 8 to 7, and
// with the first pass's sums kept, its forward and backward sweeps, one a thread, as unevenly.
#include <algorithm>

#include "core/threads.h"
#include "operators/filters/recursive_blocks.h"

namespace HalconCpp {
namespace Standin {

namespace {

void layWhole(std::vector<std::int32_t>& firstRows, std::int32_t from, std::int32_t to) {
  for (std::int32_t y = from; y < to; y += kBlockRows) firstRows.push_back(y);
}

// As few blocks as hold rows [from, to), their numbers of rows differing by one at most.
void layEvenly(std::vector<std::int32_t>& firstRows, std::int32_t from, std::int32_t to) {
  const std::int32_t rows = to - from, blocks = (rows + kBlockRows - 1) / kBlockRows;
  for (std::int32_t b = 0; b < blocks; ++b) {
    firstRows.push_back(from + static_cast<std::int32_t>(bandStart(rows, blocks, b)));
  }
}

bool filtered(const Extent& extent, std::int32_t y) {
  return extent.begin[static_cast<std::size_t>(y)] <= extent.end[static_cast<std::size_t>(y)];
}

}  // namespace

int planBlocks(const Extent& extent, std::int32_t w, std::int32_t h, RecursivePlan& plan) {
  std::int32_t first = -1, last = -1;
  for (std::int32_t y = 0; y < h; ++y) {
    if (!filtered(extent, y)) continue;
    if (first < 0) first = y;
    last = y;
  }
  if (last < 0) return 0;
  // Rows below the last met block need no sums at all, nor, upwards, rows above the first.
  const std::int32_t top = first / kBlockRows * kBlockRows;
  const std::int32_t bottom = std::min(h, (last / kBlockRows + 1) * kBlockRows);
  const std::int64_t work = std::int64_t{w} * h * 4 + extent.pixels;
  const int bands = static_cast<int>(
      std::min<std::int64_t>(bandsFor((bottom + kBlockRows - 1) / kBlockRows, work), bottom - top));
  std::vector<std::int32_t>& firstRows = plan.firstRows;
  firstRows.clear();
  plan.starts.assign(1, 0);
  if (bands == 1) {
    layWhole(firstRows, 0, bottom);
  } else {
    layWhole(firstRows, 0, top);
    for (int band = 0; band < bands; ++band) {
      if (band > 0) plan.starts.push_back(static_cast<std::int32_t>(firstRows.size()));
      layEvenly(firstRows, top + static_cast<std::int32_t>(bandStart(bottom - top, bands, band)),
                top + static_cast<std::int32_t>(bandStart(bottom - top, bands, band + 1)));
    }
  }
  plan.starts.push_back(static_cast<std::int32_t>(firstRows.size()));
  layWhole(firstRows, bottom, h);
  firstRows.push_back(h);
  plan.blocks = static_cast<std::int32_t>(firstRows.size()) - 1;
  plan.met.assign(static_cast<std::size_t>(plan.blocks), 0);
  plan.lowest = plan.blocks;
  for (std::int32_t b = plan.blocks; b-- > 0;) {
    for (std::int32_t y = plan.rowOf(b); y < plan.rowOf(b + 1); ++y) {
      if (!filtered(extent, y)) continue;
      plan.met[static_cast<std::size_t>(b)] = 1;
      plan.lowest = b;
      break;
    }
  }
  return bands;
}

}  // namespace Standin
}  // namespace HalconCpp
