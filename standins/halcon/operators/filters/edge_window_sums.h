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

// A kernel's shape as constants, so that a block's loop over the taps unrolls and tests nothing:
// odd, its sums started from the first tap's products, and its taps (0: as many as it has).
template <bool Odd, bool FromFirst, std::size_t Taps>
struct Shape {
  static constexpr bool odd = Odd, fromFirst = FromFirst && !Odd;
  static constexpr std::size_t taps = Taps;
};

template <typename S, typename T, std::size_t Width>
inline __attribute__((always_inline)) void sumBlock(const std::vector<double>& kernel,
                                                    const T* const* lines, std::size_t c0,
                                                    double* out) {
  const std::size_t taps = S::taps != 0 ? S::taps : kernel.size(), centre = taps / 2;
  const double* const weights = kernel.data();
  double sums[Width] = {};
  std::size_t first = 0;
  if (S::fromFirst) {
    const T* a = lines[0] + c0;
    for (std::size_t c = 0; c < Width; ++c) sums[c] = weights[0] * double(a[c]);
    first = 1;
  }
#pragma GCC unroll 16
  for (std::size_t k = first; k < (S::odd ? centre : taps); ++k) {
    const T* a = lines[k] + c0;
    const double weight = weights[k];
    if (S::odd) {
      const T* b = lines[taps - 1 - k] + c0;
      for (std::size_t c = 0; c < Width; ++c) sums[c] += weight * (double(a[c]) - double(b[c]));
    } else {
      for (std::size_t c = 0; c < Width; ++c) sums[c] += weight * double(a[c]);
    }
  }
  for (std::size_t c = 0; c < Width; ++c) out[c0 + c] = sums[c];
}

// body(S{}) with the kernel's Shape S: the usual sizes of the Gaussians and the Sobel masks as
// constants, any other size as it comes.
template <bool Odd, bool FromFirst, typename Body>
inline __attribute__((always_inline)) void withTaps(std::size_t taps, Body&& body) {
  switch (taps) {
    case 3:
      return body(Shape<Odd, FromFirst, 3>{});
    case 5:
      return body(Shape<Odd, FromFirst, 5>{});
    case 7:
      return body(Shape<Odd, FromFirst, 7>{});
    case 9:
      return body(Shape<Odd, FromFirst, 9>{});
    default:
      return body(Shape<Odd, FromFirst, 0>{});
  }
}

template <typename Body>
inline __attribute__((always_inline)) void withShape(const std::vector<double>& kernel, bool odd,
                                                     bool fromFirst, Body&& body) {
  if (odd) return withTaps<true, false>(kernel.size(), body);
  if (fromFirst) return withTaps<false, true>(kernel.size(), body);
  withTaps<false, false>(kernel.size(), body);
}

// The lines' places: held on the stack for the usual kernels.
template <typename T>
class LinesOf {
 public:
  template <typename Line>
  LinesOf(std::size_t taps, Line&& line) : lines_(held_) {
    if (taps > kHeld) more_.resize(taps), lines_ = more_.data();
    for (std::size_t k = 0; k < taps; ++k) lines_[k] = line(k);
  }
  LinesOf(const LinesOf&) = delete;
  LinesOf& operator=(const LinesOf&) = delete;
  const T* const* get() const { return lines_; }

 private:
  static constexpr std::size_t kHeld = 64;
  const T* held_[kHeld];
  std::vector<const T*> more_;
  const T** lines_;
};

template <typename T, typename Line>
inline __attribute__((always_inline)) void sumLines(const std::vector<double>& kernel, bool odd,
                                                    bool fromFirst, Line&& line, std::size_t n,
                                                    double* out) {
  const LinesOf<T> held(kernel.size(), line);
  const T* const* const lines = held.get();
  withShape(
      kernel, odd, fromFirst, [&](auto shape) __attribute__((always_inline)) {
        using S = decltype(shape);
        std::size_t c0 = 0;
        for (; c0 + kBlock <= n; c0 += kBlock) sumBlock<S, T, kBlock>(kernel, lines, c0, out);
        for (; c0 + 8 <= n; c0 += 8) sumBlock<S, T, 8>(kernel, lines, c0, out);
        for (; c0 < n; ++c0) sumBlock<S, T, 1>(kernel, lines, c0, out);
      });
}

// mirroredIndex, with the places a kernel's reach beyond a line's ends worked out inline: the
// library's takes two divisions, and the lines continued past the image's edges look up a few
// places each.
inline std::int32_t mirroredNear(std::int32_t i, std::int32_t n) {
  if (i >= 0 && i < n) return i;
  if (i < 0 && i >= -n) return -1 - i;
  if (i >= n && i < 2 * n) return 2 * n - 1 - i;
  return mirroredIndex(i, n);
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
    ext[i] = zeroBorder ? 0.0 : double(line[mirroredNear(j, w) - lo]);
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
