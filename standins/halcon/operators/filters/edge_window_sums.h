// The sums of edge_windows.cc: a kernel over lines of a tile, kBlock columns at a time in
// registers, and a line continued beyond the image's edges.
#ifndef QUORVEX_STANDINS_HALCON_EDGE_WINDOW_SUMS_H
#define QUORVEX_STANDINS_HALCON_EDGE_WINDOW_SUMS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {
namespace windowSums {

// out[0 ... n) = the kernel over the lines line(k), each read from its element 0. The sums of
// kBlock columns at a time stay in registers from the first tap to the last; `lines` holds
// line(k) for every tap (the odd kernels: a pair each, the tap and its mirror). `fromFirst`: the
// first tap's products are neither -0 nor NaN, so that 0 plus them is them, and the sums start
// from them, an addition a tap fewer.
constexpr std::size_t kBlock = 32;

template <typename T, std::size_t Width>
inline __attribute__((always_inline)) void sumBlock(const std::vector<double>& kernel, bool odd,
                                                    bool fromFirst, const T* const* lines,
                                                    std::size_t c0, double* out) {
  const std::size_t taps = kernel.size(), centre = taps / 2;
  double sums[Width] = {};
  std::size_t first = 0;
  if (fromFirst && !odd) {
    const T* a = lines[0] + c0;
    for (std::size_t c = 0; c < Width; ++c) sums[c] = kernel[0] * double(a[c]);
    first = 1;
  }
  for (std::size_t k = first; k < (odd ? centre : taps); ++k) {
    const T* a = lines[k] + c0;
    const double weight = kernel[k];
    if (odd) {
      const T* b = lines[taps - 1 - k] + c0;
      for (std::size_t c = 0; c < Width; ++c) sums[c] += weight * (double(a[c]) - double(b[c]));
    } else {
      for (std::size_t c = 0; c < Width; ++c) sums[c] += weight * double(a[c]);
    }
  }
  for (std::size_t c = 0; c < Width; ++c) out[c0 + c] = sums[c];
}

template <typename T, typename Line>
inline __attribute__((always_inline)) void sumLines(const std::vector<double>& kernel, bool odd,
                                                    bool fromFirst, Line&& line, std::size_t n,
                                                    double* out) {
  constexpr std::size_t kHeld = 64;
  const T* held[kHeld];
  std::vector<const T*> more;
  const T** lines = held;
  if (kernel.size() > kHeld) more.resize(kernel.size()), lines = more.data();
  for (std::size_t k = 0; k < kernel.size(); ++k) lines[k] = line(k);
  std::size_t c0 = 0;
  for (; c0 + kBlock <= n; c0 += kBlock) {
    sumBlock<T, kBlock>(kernel, odd, fromFirst, lines, c0, out);
  }
  for (; c0 + 8 <= n; c0 += 8) sumBlock<T, 8>(kernel, odd, fromFirst, lines, c0, out);
  for (; c0 < n; ++c0) sumBlock<T, 1>(kernel, odd, fromFirst, lines, c0, out);
}

// ext[0 ... n) = the line at positions first ... first + n - 1: its own values (line[j - lo],
// the line held from position lo on) within [0, w), mirrored or (zero border) 0 beyond.
template <typename T>
inline __attribute__((always_inline)) void continued(const T* line, std::int32_t lo,
                                                     std::int32_t first, std::size_t n,
                                                     std::int32_t w, bool zeroBorder, double* ext) {
  const auto count = static_cast<std::int64_t>(n);
  const std::int64_t in0 = std::clamp<std::int64_t>(-std::int64_t{first}, 0, count);
  const std::int64_t in1 = std::clamp<std::int64_t>(std::int64_t{w} - first, in0, count);
  const auto edge = [&](std::int64_t i) {
    const auto j = static_cast<std::int32_t>(first + i);
    ext[i] = zeroBorder ? 0.0 : double(line[mirroredIndex(j, w) - lo]);
  };
  for (std::int64_t i = 0; i < in0; ++i) edge(i);
  if (in0 < in1) {
    const T* inside = line + (first + in0 - lo);
    for (std::int64_t i = in0; i < in1; ++i) ext[i] = double(inside[i - in0]);
  }
  for (std::int64_t i = in1; i < count; ++i) edge(i);
}

}  // namespace windowSums
}  // namespace Standin
}  // namespace HalconCpp

#endif
