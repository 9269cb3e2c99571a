// Sums of the grey values and of their squares over a window about each pixel, for the
// operators that threshold against local statistics. The window reads mirrored pixels beyond
// the edges, as mean_image does, and only the rows' extents of the domain are summed.
#ifndef QUORVEX_STANDINS_HALCON_WINDOW_SUMS_H
#define QUORVEX_STANDINS_HALCON_WINDOW_SUMS_H

#include <cstdint>
#include <functional>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// The bands forWindowSums cuts the rows into.
int windowSumBands(PlaneSize size, const Extent& extent);

// For every row y whose extent [c0, c1] is not empty, in bands of rows on the operators'
// threads, calls row(band, y, c0, c1, sums, squares), where sums[x - c0] and squares[x - c0]
// hold the window's sums about pixel x: exact integers, whatever order they were added in.
// The window is (2 halfWidth + 1) x (2 halfHeight + 1), each half at most 250.
using WindowRow = std::function<void(int band, std::int32_t y, std::int32_t c0, std::int32_t c1,
                                     const std::uint64_t* sums, const std::uint64_t* squares)>;
void forWindowSums(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                   std::int32_t halfWidth, std::int32_t halfHeight, int bands,
                   const WindowRow& row);

}  // namespace Standin
}  // namespace HalconCpp

#endif
