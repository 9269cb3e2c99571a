#include "operators/segmentation/window_sums.h"

#include <algorithm>
#include <vector>

#include "core/threads.h"

namespace HalconCpp {
namespace Standin {

namespace {

std::size_t at(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

// Column sums over the window's height, carried from row to row for the columns both rows
// need and summed afresh for the others. A column holds at most 501 values of up to 65025:
// 32 bits suffice.
struct Columns {
  std::vector<std::uint32_t> sumStore, squareStore;
  std::uint32_t *sums, *squares;  // index -halfWidth ... width - 1 + halfWidth
  std::int32_t valid0 = 0, valid1 = -1, validRow = -1;

  Columns(std::int32_t width, std::int32_t halfWidth)
      : sumStore(static_cast<std::size_t>(width) + 2 * static_cast<std::size_t>(halfWidth)),
        squareStore(sumStore.size()),
        sums(sumStore.data() + halfWidth),
        squares(squareStore.data() + halfWidth) {}
};

void freshColumns(Columns& c, const std::uint8_t* src, PlaneSize size, std::int32_t y,
                  std::int32_t halfHeight, std::int32_t a, std::int32_t b) {
  if (a > b) return;
  std::fill(c.sums + a, c.sums + b + 1, 0u);
  std::fill(c.squares + a, c.squares + b + 1, 0u);
  for (std::int32_t dy = -halfHeight; dy <= halfHeight; ++dy) {
    const std::uint8_t* row = src + at(mirroredIndex(y + dy, size.height), size.width);
    for (std::int32_t x = a; x <= b; ++x) {
      const std::uint32_t v = row[x];
      c.sums[x] += v;
      c.squares[x] += v * v;
    }
  }
}

void rowsOfBand(const std::uint8_t* src, PlaneSize size, const Extent& extent, std::int32_t hw,
                std::int32_t hh, int band, std::int32_t y0, std::int32_t y1, const WindowRow& row) {
  const std::int32_t w = size.width, h = size.height;
  Columns c(w, hw);
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(w)), squares(sums.size());
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const std::int32_t n0 = std::max(0, c0 - hw), n1 = std::min(w - 1, c1 + hw);
    if (c.validRow >= 0 && c.validRow == y - 1) {
      c.valid0 = std::max(c.valid0, n0);
      c.valid1 = std::min(c.valid1, n1);
      const std::uint8_t* incoming = src + at(mirroredIndex(y + hh, h), w);
      const std::uint8_t* outgoing = src + at(mirroredIndex(y - hh - 1, h), w);
      for (std::int32_t x = c.valid0; x <= c.valid1; ++x) {
        const std::uint32_t in = incoming[x], out = outgoing[x];
        c.sums[x] = c.sums[x] + in - out;
        c.squares[x] = c.squares[x] + in * in - out * out;
      }
    } else {
      c.valid0 = 0;
      c.valid1 = -1;
    }
    if (c.valid0 > c.valid1) {
      freshColumns(c, src, size, y, hh, n0, n1);
    } else {
      freshColumns(c, src, size, y, hh, n0, c.valid0 - 1);
      freshColumns(c, src, size, y, hh, c.valid1 + 1, n1);
    }
    c.valid0 = n0;
    c.valid1 = n1;
    c.validRow = y;
    // Columns beyond the edges repeat the mirrored ones inside.
    for (std::int32_t i = 1; i <= hw; ++i) {
      if (c0 - i < 0) {
        c.sums[-i] = c.sums[mirroredIndex(-i, w)];
        c.squares[-i] = c.squares[mirroredIndex(-i, w)];
      }
      if (c1 + i > w - 1) {
        c.sums[w - 1 + i] = c.sums[mirroredIndex(w - 1 + i, w)];
        c.squares[w - 1 + i] = c.squares[mirroredIndex(w - 1 + i, w)];
      }
    }
    std::uint64_t s = 0, q = 0;
    for (std::int32_t x = c0 - hw; x < c0 + hw; ++x) {
      s += c.sums[x];
      q += c.squares[x];
    }
    const auto n = static_cast<std::size_t>(c1 - c0 + 1);
    const std::uint32_t* addS = c.sums + c0 + hw;
    const std::uint32_t* addQ = c.squares + c0 + hw;
    const std::uint32_t* dropS = c.sums + c0 - hw;
    const std::uint32_t* dropQ = c.squares + c0 - hw;
    for (std::size_t i = 0; i < n; ++i) {
      s += addS[i];
      q += addQ[i];
      sums[i] = s;
      squares[i] = q;
      s -= dropS[i];
      q -= dropQ[i];
    }
    row(band, y, c0, c1, sums.data(), squares.data());
  }
}

}  // namespace

int windowSumBands(PlaneSize size, const Extent& extent) {
  // A pixel's sums and the test against its deviation (two quotients and a root) cost what
  // several pixels of a plain filter do: a 640 x 480 image is shared out.
  return bandsFor(size.height, 4 * extent.pixels);
}

void forWindowSums(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                   std::int32_t halfWidth, std::int32_t halfHeight, int bands,
                   const WindowRow& row) {
  forBands(size.height, bands, [&](int band, std::int64_t y0, std::int64_t y1) {
    rowsOfBand(src, size, extent, halfWidth, halfHeight, band, static_cast<std::int32_t>(y0),
               static_cast<std::int32_t>(y1), row);
  });
}

}  // namespace Standin
}  // namespace HalconCpp
