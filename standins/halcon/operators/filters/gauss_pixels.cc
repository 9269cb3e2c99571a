// portablePixel sums a pixel's columns and then its row in doubles, in the order the portable
// rows do; exactPixelAvx512 the same columns eight to a vector, each product and sum rounded on
// its own as the scalar ones are, and the row as portablePixel.
#include "operators/filters/gauss_pixels.h"

#include <algorithm>
#include <cmath>

#include "core/image.h"
#include "operators/filters/image_kernels.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

// The portable sums of one pixel, its columns' sums kept for the row's other pixels:
// `stamp[x]` is the row + 1 whose column sum `kept[x]` holds. Apart from the vector code, so
// that nothing fuses its multiplies and adds.
__attribute__((noinline)) std::uint8_t portablePixel(const SampledGauss& job, std::int32_t y,
                                                     std::int32_t x, double* kept,
                                                     std::int32_t* stamp) {
  const std::vector<double>& g = *job.g;
  const std::vector<std::int32_t>&rows = *job.rows, &columns = *job.columns;
  const std::int32_t w = job.size.width;
  const auto reach = static_cast<std::int32_t>(g.size() - 1);
  const std::size_t centre = static_cast<std::size_t>(y + reach);
  const auto column = [&](std::int32_t i) {
    const auto cx = static_cast<std::size_t>(columns[static_cast<std::size_t>(i)]);
    if (stamp[cx] == y + 1) return kept[cx];
    double sum = g[0] * job.src[rowStart(rows[centre], w) + cx];
    for (std::size_t k = 1; k < g.size(); ++k) {
      sum += g[k] * (job.src[rowStart(rows[centre - k], w) + cx] +
                     job.src[rowStart(rows[centre + k], w) + cx]);
    }
    stamp[cx] = y + 1;
    return kept[cx] = sum;
  };
  const std::int32_t mid = x + reach;
  double sum = g[0] * column(mid);
  for (std::int32_t k = 1; k < static_cast<std::int32_t>(g.size()); ++k) {
    sum += g[static_cast<std::size_t>(k)] * (column(mid - k) + column(mid + k));
  }
  if (!(sum > 0)) return 0;
  if (sum >= 255) return 255;
  return static_cast<std::uint8_t>(std::floor(sum + 0.5));
}

#if QUORVEX_KERNELS_AVX2
// The same along the row from its columns' sums about `mid`.
__attribute__((noinline)) std::uint8_t portableRow(const std::vector<double>& g,
                                                   const double* mid) {
  double sum = g[0] * mid[0];
  for (std::size_t k = 1; k < g.size(); ++k) {
    sum += g[k] * (mid[-std::ptrdiff_t(k)] + mid[k]);
  }
  if (!(sum > 0)) return 0;
  if (sum >= 255) return 255;
  return static_cast<std::uint8_t>(std::floor(sum + 0.5));
}

__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m256i bytesOf(
    const SampledGauss& job, std::int32_t row, std::size_t x, __mmask16 lanes) {
  return _mm256_cvtepu8_epi32(
      _mm_maskz_loadu_epi8(lanes, job.src + rowStart(row, job.size.width) + x));
}

// portablePixel for a pixel whose columns all lie within its row, eight columns a vector of
// doubles: each column's products and sums in the same order, each rounded on its own, so the
// same doubles, for a tenth of the time. Pixels the floats cannot decide are a few in ten
// thousand, and summed alone each cost some hundred times a float pixel.
__attribute__((target(QUORVEX_AVX512))) std::uint8_t exactPixelAvx512(const SampledGauss& job,
                                                                      std::int32_t y,
                                                                      std::int32_t x,
                                                                      double* window) {
  const std::vector<double>& g = *job.g;
  const std::vector<std::int32_t>& rows = *job.rows;
  const std::size_t reach = g.size() - 1, n = 2 * reach + 1;
  const std::size_t centre = static_cast<std::size_t>(y) + reach;
  const std::size_t left = static_cast<std::size_t>(x) - reach;
  const __mmask8 all = 0xff;
  for (std::size_t v = 0; 8 * v < n; ++v) {
    const __mmask16 lanes = n - 8 * v >= 8 ? 0xff : static_cast<__mmask16>((1u << (n - 8 * v)) - 1);
    __m512d sum = _mm512_mul_pd(
        _mm512_set1_pd(g[0]),
        _mm512_maskz_cvtepi32_pd(all, bytesOf(job, rows[centre], left + 8 * v, lanes)));
    for (std::size_t k = 1; k <= reach; ++k) {
      const __m256i pair = _mm256_add_epi32(bytesOf(job, rows[centre - k], left + 8 * v, lanes),
                                            bytesOf(job, rows[centre + k], left + 8 * v, lanes));
      const __m512d term = _mm512_mul_pd(_mm512_set1_pd(g[k]), _mm512_maskz_cvtepi32_pd(all, pair));
      sum = _mm512_add_pd(sum, term);
    }
    _mm512_storeu_pd(window + 8 * v, sum);
  }
  return portableRow(g, window + reach);
}

// The byte of a pixel whose columns all lie within the 32 from x - reach, from its columns in
// whole numbers (ExactPixels::whole) and its row as one dot product in doubles, or -1 where
// the sum lies within the margin of a rounding boundary.
__attribute__((target(QUORVEX_AVX512))) int nearPixel(const SampledGauss& job, std::int32_t y,
                                                      std::int32_t x, ExactPixels& b) {
  const std::size_t reach = job.g->size() - 1;
  if (b.linesRow != y) {
    b.lines.resize(2 * reach + 1);
    for (std::size_t k = 0; k <= 2 * reach; ++k) {
      b.lines[k] = job.src + rowStart((*job.rows)[static_cast<std::size_t>(y) + k], job.size.width);
    }
    b.linesRow = y;
  }
  double* const sums = b.window.data();
  wordColumnsExactAvx512(b.lines.data(), *b.whole, reach, static_cast<std::size_t>(x) - reach,
                         sums);
  const double* w = b.across.data();
  __m512d acc = _mm512_mul_pd(_mm512_loadu_pd(w), _mm512_loadu_pd(sums));
  for (int v = 1; v < 4; ++v) {
    acc = _mm512_fmadd_pd(_mm512_loadu_pd(w + 8 * v), _mm512_loadu_pd(sums + 8 * v), acc);
  }
  const __m256d quarter = _mm256_add_pd(_mm512_maskz_extractf64x4_pd(0xf, acc, 0),
                                        _mm512_maskz_extractf64x4_pd(0xf, acc, 1));
  const __m128d pair =
      _mm_add_pd(_mm256_castpd256_pd128(quarter), _mm256_extractf128_pd(quarter, 1));
  const double sum = _mm_cvtsd_f64(_mm_add_sd(pair, _mm_unpackhi_pd(pair, pair)));
  const double t = sum + 0.5, whole = std::floor(t), part = t - whole;
  if (part < b.margin || part > 1 - b.margin) return -1;
  return static_cast<int>(std::min(std::max(whole, 0.0), 255.0));
}
#endif

}  // namespace

ExactPixels::ExactPixels(std::size_t width, std::size_t taps)
    : kept(width), stamp(width, 0), window(std::max<std::size_t>(32, 2 * taps + 7)) {}

void ExactPixels::setWhole(const FixedWeights* weights, const std::vector<double>& g) {
  const std::size_t reach = g.size() - 1;
  whole = weights;
  // nearPixel's columns off by at most 255 2^-s2 for each of the taps, and its row by as much
  // under weights of sum 1; the doubles' own rounding, in any order, lies far below.
  margin = double(g.size()) * 256 * double(weights->loScale) + 1e-9;
  across.assign(32, 0.0);
  for (std::size_t i = 0; i <= 2 * reach && i < 32; ++i) {
    across[i] = g[i < reach ? reach - i : i - reach];
  }
}

std::uint8_t exactPixel(const SampledGauss& job, std::int32_t y, std::int32_t x, ExactPixels& b,
                        bool wide) {
  const auto reach = static_cast<std::int32_t>(job.g->size() - 1);
#if QUORVEX_KERNELS_AVX2
  if (wide && b.whole != nullptr && reach <= 15 && x >= reach && x - reach + 32 <= job.size.width) {
    const int near = nearPixel(job, y, x, b);
    if (near >= 0) return static_cast<std::uint8_t>(near);
  }
  if (wide && x >= reach && x + reach < job.size.width) {
    return exactPixelAvx512(job, y, x, b.window.data());
  }
#else
  (void)wide;
#endif
  return portablePixel(job, y, x, b.kept.data(), b.stamp.data());
}

}  // namespace Standin
}  // namespace HalconCpp
