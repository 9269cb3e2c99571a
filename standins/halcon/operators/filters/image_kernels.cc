#include "operators/filters/image_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "core/image.h"
#include "core/threads.h"
#include "operators/filters/gauss_columns.h"

namespace HalconCpp {
namespace Standin {

std::int32_t mirroredIndex(std::int32_t i, std::int32_t n) {
  if (i >= 0 && i < n) return i;
  // The mirrored continuation repeats every 2n: one step, however far past the edge.
  const std::int64_t period = 2 * std::int64_t(n);
  const std::int64_t m = (std::int64_t(i) % period + period) % period;
  return static_cast<std::int32_t>(m < n ? m : period - 1 - m);
}

Extent extentOf(const Runs& domain, PlaneSize size) {
  Extent extent;
  const auto rows = static_cast<std::size_t>(size.height);
  extent.begin.assign(rows, 0);
  extent.end.assign(rows, -1);
  for (const Run& run : domain) {
    if (run.row < 0 || run.row >= size.height) continue;
    const std::int32_t begin = std::max(run.begin, 0), end = std::min(run.end, size.width - 1);
    if (begin > end) continue;
    const auto y = static_cast<std::size_t>(run.row);
    if (extent.begin[y] > extent.end[y]) {
      extent.begin[y] = begin;
    } else {
      extent.pixels -= extent.end[y] - extent.begin[y] + 1;
    }
    extent.end[y] = end;  // runs of a row come in order
    extent.pixels += extent.end[y] - extent.begin[y] + 1;
  }
  return extent;
}

Extent fullExtent(PlaneSize size) {
  Extent extent;
  extent.begin.assign(static_cast<std::size_t>(size.height), 0);
  extent.end.assign(static_cast<std::size_t>(size.height), size.width - 1);
  extent.pixels = std::int64_t{size.width} * size.height;
  return extent;
}

namespace {

#define QUORVEX_ALWAYS_INLINE inline __attribute__((always_inline))

// Sums of `Taps` neighbours along a row, unrolled so that the compiler keeps a vector of
// outputs in registers.
template <int Taps, typename T>
QUORVEX_ALWAYS_INLINE void boxRow(const T* in, std::size_t n, T* __restrict out) {
  for (std::size_t x = 0; x < n; ++x) {
    T sum = in[x];
    for (int k = 1; k < Taps; ++k) sum = static_cast<T>(sum + in[x + k]);
    out[x] = sum;
  }
}

template <typename T, int... W>
QUORVEX_ALWAYS_INLINE bool boxRowOf(int taps, const T* in, std::size_t n, T* out,
                                    std::integer_sequence<int, W...>) {
  return ((taps == 2 * W + 1 ? (boxRow<2 * W + 1>(in, n, out), true) : false) || ...);
}

// Sums of `taps` neighbours: unrolled for small masks, a running sum otherwise.
template <typename T>
QUORVEX_ALWAYS_INLINE void boxSums(const T* in, std::size_t n, int taps, T* out) {
  if (boxRowOf(taps, in, n, out, std::make_integer_sequence<int, 8>())) return;
  T sum = 0;
  for (int k = 0; k + 1 < taps; ++k) sum = static_cast<T>(sum + in[k]);
  for (std::size_t x = 0; x < n; ++x) {
    sum = static_cast<T>(sum + in[x + static_cast<std::size_t>(taps) - 1]);
    out[x] = sum;
    sum = static_cast<T>(sum - in[x]);
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

struct MeanJob {
  const std::uint8_t* src;
  PlaneSize size;
  const Extent* extent;
  std::int32_t hw, hh;
  std::uint8_t* dst;
  // Masks whose sum of bytes fits 16 bits sum in 16 bits, each output one multiply and
  // shift; larger ones in 32 bits, divided in doubles.
  bool narrow;
  Divider divide;
  std::uint32_t half;
  double inverse;
};

// Rows [y0, y1) of the mean: column sums over the mask's height, carried from row to row
// for the columns both rows need and summed afresh for the others, then row sums.
template <typename Sum>
QUORVEX_ALWAYS_INLINE void meanRows(const MeanJob& job, std::int32_t y0, std::int32_t y1) {
  const std::int32_t w = job.size.width, h = job.size.height, hw = job.hw, hh = job.hh;
  const auto width = static_cast<std::size_t>(w);
  // The row sums half a page after the column sums, as gaussRows places them.
  const std::size_t span = width + 2 * static_cast<std::size_t>(hw);
  const std::size_t page = 4096 / sizeof(Sum);
  const std::size_t skew = (page / 2 + page - span % page) % page;
  std::vector<Sum> buffer(span + skew + width);
  Sum* const sums = buffer.data() + span + skew;
  Sum* columns = buffer.data() + hw;
  std::int32_t v0 = 0, v1 = -1, validRow = -1;  // the columns whose sums hold row validRow
  const auto fresh = [&](std::int32_t y, std::int32_t a, std::int32_t b) {
    if (a > b) return;
    std::fill(columns + a, columns + b + 1, Sum(0));
    for (std::int32_t dy = -hh; dy <= hh; ++dy) {
      const std::uint8_t* row = job.src + rowStart(mirroredIndex(y + dy, h), w);
      for (std::int32_t x = a; x <= b; ++x) columns[x] = Sum(columns[x] + row[x]);
    }
  };
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = job.extent->begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = job.extent->end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const std::int32_t n0 = std::max(0, c0 - hw), n1 = std::min(w - 1, c1 + hw);
    if (validRow == y - 1 && validRow >= 0) {
      v0 = std::max(v0, n0);
      v1 = std::min(v1, n1);
      const std::uint8_t* incoming = job.src + rowStart(mirroredIndex(y + hh, h), w);
      const std::uint8_t* outgoing = job.src + rowStart(mirroredIndex(y - hh - 1, h), w);
      for (std::int32_t x = v0; x <= v1; ++x) {
        columns[x] = Sum(columns[x] + incoming[x] - outgoing[x]);
      }
    } else {
      v0 = 0;
      v1 = -1;
    }
    if (v0 > v1) {
      fresh(y, n0, n1);
    } else {
      fresh(y, n0, v0 - 1);
      fresh(y, v1 + 1, n1);
    }
    v0 = n0;
    v1 = n1;
    validRow = y;
    // Every column beyond an edge the window reaches from the span, not only those beyond the
    // span's own ends.
    for (std::int32_t i = 1; i <= hw; ++i) {
      if (c0 - hw <= -i) columns[-i] = columns[mirroredIndex(-i, w)];
      if (c1 + hw >= w - 1 + i) columns[w - 1 + i] = columns[mirroredIndex(w - 1 + i, w)];
    }
    const auto n = static_cast<std::size_t>(c1 - c0 + 1);
    boxSums(columns + c0 - hw, n, 2 * hw + 1, sums);
    std::uint8_t* out = job.dst + rowStart(y, w) + c0;
    if (job.narrow) {
      for (std::size_t x = 0; x < n; ++x) {
        out[x] = static_cast<std::uint8_t>(
            (std::uint32_t(sums[x] + job.half) * job.divide.factor) >> job.divide.shift);
      }
    } else {
      // Exact sums over a window of at most 501 x 501 bytes: the small bias keeps a quotient
      // that is a whole number from rounding down.
      for (std::size_t x = 0; x < n; ++x) {
        out[x] = static_cast<std::uint8_t>((sums[x] + job.half) * job.inverse + 1e-9);
      }
    }
  }
}

void meanRowsPlain(const MeanJob& job, std::int32_t y0, std::int32_t y1) {
  if (job.narrow) return meanRows<std::uint16_t>(job, y0, y1);
  meanRows<std::uint32_t>(job, y0, y1);
}

#if QUORVEX_KERNELS_AVX2
__attribute__((target("avx2"))) void meanRowsAvx2(const MeanJob& job, std::int32_t y0,
                                                  std::int32_t y1) {
  if (job.narrow) return meanRows<std::uint16_t>(job, y0, y1);
  meanRows<std::uint32_t>(job, y0, y1);
}
#endif

// Rows [0, height) cut into bands on the operators' threads.
template <typename Band>
void inBands(PlaneSize size, const Extent& extent, Band&& band, std::int64_t workPerPixel = 1) {
  const int bands = bandsFor(size.height, extent.pixels * workPerPixel);
  forBands(size.height, bands, [&](int, std::int64_t y0, std::int64_t y1) {
    band(static_cast<std::int32_t>(y0), static_cast<std::int32_t>(y1));
  });
}

// Masks whose sums pass 32 bits (emphasize's reach 65535 x 65535 pixels of up to 255): one
// thread, every pixel, sums in 64 bits.
void meanPlaneWide(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
                   std::int32_t maskHeight, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::int32_t hw = maskWidth / 2, hh = maskHeight / 2;
  const auto width = static_cast<std::size_t>(w);
  // Sums in 64 bits: emphasize's masks reach 65535 x 65535 pixels of up to 255.
  std::vector<std::uint64_t> columns(width, 0);
  for (std::int32_t dy = -hh; dy <= hh; ++dy) {
    const std::uint8_t* row = src + rowStart(mirroredIndex(dy, h), w);
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
    std::uint8_t* out = dst + rowStart(y, w);
    // Exact sums (below 2^53) over the window: the small bias keeps a quotient that is a
    // whole number from rounding down.
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>(double(sums[x] + half) * inverse + 1e-9);
    }
    if (y + 1 == h) break;
    const std::uint8_t* incoming = src + rowStart(mirroredIndex(y + hh + 1, h), w);
    const std::uint8_t* outgoing = src + rowStart(mirroredIndex(y - hh, h), w);
    for (std::size_t x = 0; x < width; ++x) {
      columns[x] = columns[x] + incoming[x] - outgoing[x];
    }
  }
}

}  // namespace

void meanPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
               std::int32_t maskWidth, std::int32_t maskHeight, std::uint8_t* dst) {
  const std::uint64_t window =
      std::uint64_t(2 * (maskWidth / 2) + 1) * std::uint64_t(2 * (maskHeight / 2) + 1);
  if (255 * window + window / 2 > 0xFFFFFFFFu) {
    meanPlaneWide(src, size, maskWidth, maskHeight, dst);
    return;
  }
  MeanJob job{src, size, &extent, maskWidth / 2, maskHeight / 2, dst, false, {}, 0, 0};
  const std::uint32_t count = std::uint32_t(2 * job.hw + 1) * std::uint32_t(2 * job.hh + 1);
  job.half = count / 2;
  job.inverse = 1.0 / double(count);
  if (255 * count + job.half <= 0xFFFF) {
    job.divide = divider(count, 255 * count + job.half);
    job.narrow = job.divide.shift >= 0;
  }
  inBands(size, extent, [&](std::int32_t y0, std::int32_t y1) {
#if QUORVEX_KERNELS_AVX2
    if (vectorPathsEnabled() && cpuHasAvx2()) return meanRowsAvx2(job, y0, y1);
#endif
    meanRowsPlain(job, y0, y1);
  });
}

void meanPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
               std::int32_t maskHeight, std::uint8_t* dst) {
  meanPlane(src, size, fullExtent(size), maskWidth, maskHeight, dst);
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

// From this size on the output is written past the caches (gaussRowBytesAvx512).
constexpr std::int64_t kStreamedBytes = 2 << 20;

struct GaussJob {
  const std::uint8_t* src;
  PlaneSize size;
  const Extent* extent;
  const std::vector<std::uint32_t>* weights;
  std::uint8_t* dst;
};

// The rows of each part `next` hands out: sums down the columns the row's span reaches, then
// along the span. The buffers are made once for all of a thread's parts, which at 640 x 480
// are some dozen rows each.
QUORVEX_ALWAYS_INLINE void gaussRows(const GaussJob& job, const NextRows& next, bool wide = false) {
  const std::int32_t w = job.size.width, h = job.size.height;
  const std::vector<std::uint32_t>& weights = *job.weights;
  const auto half = static_cast<std::int32_t>(weights.size() / 2);
  const auto width = static_cast<std::size_t>(w);
  const auto halves = std::make_integer_sequence<int, 6>();
  // A plane larger than the processor's second-level cache is not read back from it.
  const bool streamed = wide && std::int64_t{w} * h >= kStreamedBytes;
  // Column sums reach 255 * 4096; row sums of those 255 * 4096^2 plus the rounding half, just
  // below 2^32.
  // One buffer for the extended column sums and the row sums, the row sums placed half a page
  // (mod 4096 bytes) after them: for widths of a power of two, two separate vectors sit a whole
  // number of pages apart, and the processor then takes each store to the row sums for one the
  // next loads of column sums must wait for.
  const std::size_t span = width + 2 * static_cast<std::size_t>(half);
  const std::size_t skew = (512 + 1024 - span % 1024) % 1024;
  std::vector<std::uint32_t> buffer(span + skew + width);
  std::uint32_t* const extendedRow = buffer.data();
  std::uint32_t* const sums = buffer.data() + span + skew;
  std::uint32_t* column = extendedRow + half;
  std::vector<const std::uint8_t*> rows(weights.size());
  std::vector<const std::uint32_t*> shifted(weights.size());
  constexpr std::uint32_t rounding = kGaussUnit * kGaussUnit / 2;
  for (std::int32_t y0 = 0, y1 = 0, y = 0; next(y0, y1);) {
    for (y = y0; y < y1; ++y) {
      const std::int32_t c0 = job.extent->begin[static_cast<std::size_t>(y)];
      const std::int32_t c1 = job.extent->end[static_cast<std::size_t>(y)];
      if (c0 > c1) continue;
      const std::int32_t a0 = std::max(0, c0 - half), a1 = std::min(w - 1, c1 + half);
      for (std::int32_t k = 0; k <= 2 * half; ++k) {
        rows[static_cast<std::size_t>(k)] =
            job.src + rowStart(mirroredIndex(y + k - half, h), w) + a0;
      }
      const auto reached = static_cast<std::size_t>(a1 - a0 + 1);
      const std::size_t done =
          wide ? gaussColumnsAvx512(rows.data(), weights.data(), half, reached, column + a0) : 0;
      for (const std::uint8_t*& row : rows) row += done;
      symmetricRowOf(half, rows.data(), weights.data(), reached - done, column + a0 + done, halves);
      for (std::int32_t i = 1; i <= half; ++i) {
        if (c0 - half <= -i) column[-i] = column[mirroredIndex(-i, w)];
        if (c1 + half >= w - 1 + i) column[w - 1 + i] = column[mirroredIndex(w - 1 + i, w)];
      }
      const auto n = static_cast<std::size_t>(c1 - c0 + 1);
      std::uint8_t* out = job.dst + rowStart(y, w) + c0;
      if (wide) {
        gaussRowBytesAvx512(column + c0, weights.data(), half, n, out, streamed);
        continue;
      }
      for (std::size_t i = 0; i < shifted.size(); ++i) shifted[i] = extendedRow + c0 + i;
      symmetricRowOf(half, shifted.data(), weights.data(), n, sums, halves);
      for (std::size_t x = 0; x < n; ++x) {
        out[x] = static_cast<std::uint8_t>((sums[x] + rounding) >> 24);
      }
    }
  }
}

void gaussRowsPlain(const GaussJob& job, const NextRows& next) {
  gaussRows(job, next);
}

#if QUORVEX_KERNELS_AVX2
// 32-bit multiplies in vectors need SSE4.1; AVX2 does eight at once.
__attribute__((target("avx2"))) void gaussRowsAvx2(const GaussJob& job, const NextRows& next) {
  gaussRows(job, next);
}

// The same sums of whole numbers sixteen at a time, twice the multiplies a step of AVX2.
__attribute__((target(QUORVEX_AVX512))) void gaussRowsAvx512(const GaussJob& job,
                                                             const NextRows& next) {
  gaussRows(job, next, true);
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

bool cpuHasAvx512() {
  static const bool avx512 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
           __builtin_cpu_supports("avx512vl") != 0 && __builtin_cpu_supports("avx512dq") != 0;
  }();
  return avx512 && wideVectorsEnabled();
}
#else
bool cpuHasAvx2() {
  return false;
}

bool cpuHasAvx512() {
  return false;
}
#endif

void gaussPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                const std::vector<std::uint32_t>& weights, std::uint8_t* dst) {
  const GaussJob job{src, size, &extent, &weights, dst};
  // Two passes of a multiply-add a tap each: a 640 x 480 image of 5 taps is shared out too,
  // since the pool's workers are awake between calls (on an idle machine 1.05-1.13 of OpenCV
  // on two threads against 1.59-1.65 on one).
  const auto work = static_cast<std::int64_t>(weights.size());
  inParts(size.height, bandsFor(size.height, extent.pixels * work), [&](const NextRows& next) {
#if QUORVEX_KERNELS_AVX2
    if (vectorPathsEnabled() && cpuHasAvx512()) return gaussRowsAvx512(job, next);
    if (vectorPathsEnabled() && cpuHasAvx2()) return gaussRowsAvx2(job, next);
#endif
    gaussRowsPlain(job, next);
  });
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
      const std::uint8_t* row = src + rowStart(mirroredIndex(y + k, h), w);
      const double weight = alongColumn[static_cast<std::size_t>(k + columnHalf)];
      for (std::size_t x = 0; x < column.size(); ++x) column[x] += weight * row[x];
    }
    double* out = dst + rowStart(y, w);
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
