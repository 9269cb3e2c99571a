#include "operators/filters/image_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace HalconCpp {
namespace Standin {

std::int32_t mirroredIndex(std::int32_t i, std::int32_t n) {
  if (i >= 0 && i < n) return i;
  // The mirrored continuation repeats every 2n: one step, however far past the edge.
  const std::int64_t period = 2 * std::int64_t(n);
  const std::int64_t m = (std::int64_t(i) % period + period) % period;
  return static_cast<std::int32_t>(m < n ? m : period - 1 - m);
}

namespace {

std::size_t at(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

// Sums of `Taps` neighbours along a row of 16-bit values, unrolled so that the compiler keeps
// a vector of outputs in registers.
template <int Taps>
void boxRow(const std::uint16_t* in, std::size_t n, std::uint16_t* out) {
  for (std::size_t x = 0; x < n; ++x) {
    std::uint16_t sum = in[x];
    for (int k = 1; k < Taps; ++k) sum = static_cast<std::uint16_t>(sum + in[x + k]);
    out[x] = sum;
  }
}

template <int... W>
bool boxRowOf(int taps, const std::uint16_t* in, std::size_t n, std::uint16_t* out,
              std::integer_sequence<int, W...>) {
  return ((taps == 2 * W + 1 ? (boxRow<2 * W + 1>(in, n, out), true) : false) || ...);
}

// Sums of `taps` neighbours: unrolled for small masks, a running sum otherwise.
void boxSums(const std::uint16_t* in, std::size_t n, int taps, std::uint16_t* out) {
  if (boxRowOf(taps, in, n, out, std::make_integer_sequence<int, 8>())) return;
  std::uint16_t sum = 0;
  for (int k = 0; k + 1 < taps; ++k) sum = static_cast<std::uint16_t>(sum + in[k]);
  for (std::size_t x = 0; x < n; ++x) {
    sum = static_cast<std::uint16_t>(sum + in[x + static_cast<std::size_t>(taps) - 1]);
    out[x] = sum;
    sum = static_cast<std::uint16_t>(sum - in[x]);
  }
}

// floor(v / d) for every v <= largest as (v * factor) >> shift in 32 bits, when such a pair
// exists: factor = ceil(2^shift / d) errs by e = factor * d - 2^shift < d, which stays below
// one step of the quotient while e * largest < 2^shift.
struct Divider {
  std::uint32_t factor = 0;
  int shift = -1;
};

Divider divider(std::uint32_t d, std::uint32_t largest) {
  for (int shift = 0; shift < 32; ++shift) {
    const std::uint64_t power = std::uint64_t(1) << shift;
    const std::uint64_t factor = (power + d - 1) / d;
    if (factor * largest >= (std::uint64_t(1) << 32)) break;
    if ((factor * d - power) * largest < power) {
      return {static_cast<std::uint32_t>(factor), shift};
    }
  }
  return {};
}

// Column sums and row sums in 16 bits, each output one multiply and shift: masks whose sum
// of bytes fits 16 bits.
bool meanPlaneNarrow(const std::uint8_t* src, PlaneSize size, std::int32_t hw, std::int32_t hh,
                     std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::uint32_t count = std::uint32_t(2 * hw + 1) * std::uint32_t(2 * hh + 1);
  const std::uint32_t half = count / 2, largest = 255 * count + half;
  if (largest > 0xFFFF) return false;
  const Divider divide = divider(count, largest);
  if (divide.shift < 0) return false;
  const auto width = static_cast<std::size_t>(w);
  std::vector<std::uint16_t> extended(width + 2 * static_cast<std::size_t>(hw));
  std::vector<std::uint16_t> sums(width);
  std::uint16_t* columns = extended.data() + hw;
  std::fill(columns, columns + width, std::uint16_t(0));
  for (std::int32_t dy = -hh; dy <= hh; ++dy) {
    const std::uint8_t* row = src + at(mirroredIndex(dy, h), w);
    for (std::size_t x = 0; x < width; ++x) columns[x] = std::uint16_t(columns[x] + row[x]);
  }
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t i = 1; i <= hw; ++i) {
      columns[-i] = columns[mirroredIndex(-i, w)];
      columns[w - 1 + i] = columns[mirroredIndex(w - 1 + i, w)];
    }
    boxSums(extended.data(), width, 2 * hw + 1, sums.data());
    std::uint8_t* out = dst + at(y, w);
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>((std::uint32_t(sums[x] + half) * divide.factor) >>
                                         divide.shift);
    }
    if (y + 1 == h) break;
    const std::uint8_t* incoming = src + at(mirroredIndex(y + hh + 1, h), w);
    const std::uint8_t* outgoing = src + at(mirroredIndex(y - hh, h), w);
    for (std::size_t x = 0; x < width; ++x) {
      columns[x] = std::uint16_t(columns[x] + incoming[x] - outgoing[x]);
    }
  }
  return true;
}

}  // namespace

void meanPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
               std::int32_t maskHeight, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::int32_t hw = maskWidth / 2, hh = maskHeight / 2;
  if (meanPlaneNarrow(src, size, hw, hh, dst)) return;
  const auto width = static_cast<std::size_t>(w);
  // Sums in 64 bits: emphasize's masks reach 65535 x 65535 pixels of up to 255.
  std::vector<std::uint64_t> columns(width, 0);
  for (std::int32_t dy = -hh; dy <= hh; ++dy) {
    const std::uint8_t* row = src + at(mirroredIndex(dy, h), w);
    for (std::size_t x = 0; x < width; ++x) columns[x] += row[x];
  }
  std::vector<std::uint64_t> extended(width + 2 * static_cast<std::size_t>(hw) + 1);
  std::vector<std::uint64_t> sums(width);
  const double inverse = 1.0 / (double(2 * hw + 1) * double(2 * hh + 1));
  const std::uint64_t half = std::uint64_t(2 * hw + 1) * std::uint64_t(2 * hh + 1) / 2;
  for (std::int32_t y = 0; y < h; ++y) {
    std::copy(columns.begin(), columns.end(), extended.begin() + hw);
    for (std::int32_t i = 0; i < hw; ++i) {
      extended[static_cast<std::size_t>(i)] =
          columns[static_cast<std::size_t>(mirroredIndex(i - hw, w))];
      extended[static_cast<std::size_t>(w + hw + i)] =
          columns[static_cast<std::size_t>(mirroredIndex(w + i, w))];
    }
    std::uint64_t sum = 0;
    for (std::int32_t i = 0; i < 2 * hw; ++i) sum += extended[static_cast<std::size_t>(i)];
    for (std::size_t x = 0; x < width; ++x) {
      sum += extended[x + 2 * static_cast<std::size_t>(hw)];
      sums[x] = sum;
      sum -= extended[x];
    }
    std::uint8_t* out = dst + at(y, w);
    // Exact sums (below 2^53) over the window: the small bias keeps a quotient that is a
    // whole number from rounding down.
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>(double(sums[x] + half) * inverse + 1e-9);
    }
    if (y + 1 == h) break;
    const std::uint8_t* incoming = src + at(mirroredIndex(y + hh + 1, h), w);
    const std::uint8_t* outgoing = src + at(mirroredIndex(y - hh, h), w);
    for (std::size_t x = 0; x < width; ++x) {
      columns[x] = columns[x] + incoming[x] - outgoing[x];
    }
  }
}

std::vector<std::uint32_t> gaussWeights(std::int32_t taps, double sigma) {
  const std::int32_t half = taps / 2;
  std::vector<double> samples(static_cast<std::size_t>(taps));
  double total = 0;
  for (std::int32_t i = 0; i < taps; ++i) {
    const double x = i - half;
    total += samples[static_cast<std::size_t>(i)] = std::exp(-x * x / (2 * sigma * sigma));
  }
  std::vector<std::uint32_t> weights(samples.size());
  std::uint32_t outer = 0;
  for (std::int32_t i = 0; i < taps; ++i) {
    if (i == half) continue;
    const auto w = static_cast<std::uint32_t>(
        std::lround(samples[static_cast<std::size_t>(i)] / total * kGaussUnit));
    weights[static_cast<std::size_t>(i)] = w;
    outer += w;
  }
  // The centre takes what rounding left over, so that a constant image stays constant.
  weights[static_cast<std::size_t>(half)] = kGaussUnit - outer;
  return weights;
}

namespace {

#define QUORVEX_ALWAYS_INLINE inline __attribute__((always_inline))

// One row of weighted sums of `2 Half + 1` neighbours, the weights symmetric about the
// centre: unrolled, so that the compiler keeps a vector of outputs in registers.
template <int Half, typename In>
QUORVEX_ALWAYS_INLINE void symmetricRow(const In* const* rows, const std::uint32_t* weights,
                                        std::size_t n, std::uint32_t* __restrict out) {
  // Local copies: the compiler need not reload them after each store through `out`.
  const In* r[2 * Half + 1];
  std::uint32_t w[Half + 1];
  for (int k = 0; k <= 2 * Half; ++k) r[k] = rows[k];
  for (int k = 0; k <= Half; ++k) w[k] = weights[k];
  for (std::size_t x = 0; x < n; ++x) {
    std::uint32_t sum = w[Half] * r[Half][x];
    for (int k = 1; k <= Half; ++k) sum += w[Half - k] * (r[Half - k][x] + r[Half + k][x]);
    out[x] = sum;
  }
}

template <typename In, int... H>
QUORVEX_ALWAYS_INLINE void symmetricRowOf(int half, const In* const* rows, const std::uint32_t* w,
                                          std::size_t n, std::uint32_t* out,
                                          std::integer_sequence<int, H...>) {
  (void)((half == H ? (symmetricRow<H>(rows, w, n, out), true) : false) || ...);
}

struct GaussJob {
  const std::uint8_t* src;
  PlaneSize size;
  const std::vector<std::uint32_t>* weights;
  std::uint8_t* dst;
};

QUORVEX_ALWAYS_INLINE void gaussRows(const GaussJob& job) {
  const std::int32_t w = job.size.width, h = job.size.height;
  const std::vector<std::uint32_t>& weights = *job.weights;
  const auto half = static_cast<std::int32_t>(weights.size() / 2);
  const auto width = static_cast<std::size_t>(w);
  const auto halves = std::make_integer_sequence<int, 6>();
  // Column sums reach 255 * 4096; row sums of those 255 * 4096^2 plus the rounding half, just
  // below 2^32.
  std::vector<std::uint32_t> extended(width + 2 * static_cast<std::size_t>(half));
  std::vector<std::uint32_t> sums(width);
  std::uint32_t* column = extended.data() + half;
  std::vector<const std::uint8_t*> rows(weights.size());
  std::vector<const std::uint32_t*> shifted(weights.size());
  for (std::size_t i = 0; i < shifted.size(); ++i) shifted[i] = extended.data() + i;
  constexpr std::uint32_t rounding = kGaussUnit * kGaussUnit / 2;
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t k = 0; k <= 2 * half; ++k) {
      rows[static_cast<std::size_t>(k)] = job.src + at(mirroredIndex(y + k - half, h), w);
    }
    symmetricRowOf(half, rows.data(), weights.data(), width, column, halves);
    for (std::int32_t i = 1; i <= half; ++i) {
      column[-i] = column[mirroredIndex(-i, w)];
      column[w - 1 + i] = column[mirroredIndex(w - 1 + i, w)];
    }
    symmetricRowOf(half, shifted.data(), weights.data(), width, sums.data(), halves);
    std::uint8_t* out = job.dst + at(y, w);
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>((sums[x] + rounding) >> 24);
    }
  }
}

void gaussRowsPlain(const GaussJob& job) {
  gaussRows(job);
}

#if QUORVEX_KERNELS_AVX2
// 32-bit multiplies in vectors need SSE4.1; AVX2 does eight at once.
__attribute__((target("avx2"))) void gaussRowsAvx2(const GaussJob& job) {
  gaussRows(job);
}
#endif

}  // namespace

#if QUORVEX_KERNELS_AVX2
bool cpuHasAvx2() {
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return avx2;
}
#else
bool cpuHasAvx2() {
  return false;
}
#endif

void gaussPlane(const std::uint8_t* src, PlaneSize size, const std::vector<std::uint32_t>& weights,
                std::uint8_t* dst) {
  const GaussJob job{src, size, &weights, dst};
#if QUORVEX_KERNELS_AVX2
  if (cpuHasAvx2()) return gaussRowsAvx2(job);
#endif
  gaussRowsPlain(job);
}

void smoothPlane(const std::uint8_t* src, PlaneSize size, const std::vector<double>& alongRow,
                 const std::vector<double>& alongColumn, double* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto rowHalf = static_cast<std::int32_t>(alongRow.size() / 2);
  const auto columnHalf = static_cast<std::int32_t>(alongColumn.size() / 2);
  std::vector<double> column(static_cast<std::size_t>(w));
  for (std::int32_t y = 0; y < h; ++y) {
    std::fill(column.begin(), column.end(), 0.0);
    for (std::int32_t k = -columnHalf; k <= columnHalf; ++k) {
      const std::uint8_t* row = src + at(mirroredIndex(y + k, h), w);
      const double weight = alongColumn[static_cast<std::size_t>(k + columnHalf)];
      for (std::size_t x = 0; x < column.size(); ++x) column[x] += weight * row[x];
    }
    double* out = dst + at(y, w);
    for (std::int32_t x = 0; x < w; ++x) {
      double sum = 0;
      for (std::int32_t k = -rowHalf; k <= rowHalf; ++k) {
        sum += alongRow[static_cast<std::size_t>(k + rowHalf)] *
               column[static_cast<std::size_t>(mirroredIndex(x + k, w))];
      }
      out[x] = sum;
    }
  }
}

}  // namespace Standin
}  // namespace HalconCpp
