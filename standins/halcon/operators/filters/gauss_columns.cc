// Two taps a step: the pair sums of two taps (the centre row alone for the first) interleaved
// as words, each word pair multiplied by its two weights and summed into a 32-bit lane in one
// instruction, exact as the portable 32-bit sums are. The interleaving holds columns 0-3,
// 8-11, ... in one vector and 4-7, 12-15, ... in the other, which the stores put back in order.
// Along the row the pairs of 32-bit sums under their weights, rounded and packed into bytes in
// the same pass.
#include "operators/filters/gauss_columns.h"

#include <algorithm>
#include <cstdint>

#include "operators/filters/vector_targets.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_KERNELS_AVX2
namespace {

// Two weights as the words of one 32-bit lane: `even` for the first word of each pair.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i weightPair(
    std::uint32_t even, std::uint32_t odd) {
  return _mm512_set1_epi32(static_cast<std::int32_t>((even & 0xffff) | (odd & 0xffff) << 16));
}

// Sixteen row sums from column[x] on, `lanes` of them loaded: the centre and each pair about
// it under their weights, the products exact in 32 bits as the portable sums are.
template <int Half>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i rowSums(
    const std::uint32_t* column, const __m512i (&w)[Half + 1], __mmask16 lanes) {
  __m512i sum = _mm512_mullo_epi32(w[Half], _mm512_maskz_loadu_epi32(lanes, column));
  for (int k = 1; k <= Half; ++k) {
    const __m512i pair = _mm512_add_epi32(_mm512_maskz_loadu_epi32(lanes, column - k),
                                          _mm512_maskz_loadu_epi32(lanes, column + k));
    sum = _mm512_add_epi32(sum, _mm512_mullo_epi32(w[Half - k], pair));
  }
  return sum;
}

// Sixteen sums rounded: bit 24 up, the value at most 255 (the sums stay below 2^32).
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i roundedSums(__m512i sum) {
  const __mmask16 all = 0xffff;
  return _mm512_maskz_srli_epi32(all, _mm512_add_epi32(sum, _mm512_set1_epi32(1 << 23)), 24);
}

template <int Half>
__attribute__((target(QUORVEX_AVX512))) void rowBytes(const std::uint32_t* column,
                                                      const std::uint32_t* weights, std::size_t n,
                                                      std::uint8_t* out, bool streamed) {
  __m512i w[Half + 1];
  for (int k = 0; k <= Half; ++k) w[k] = _mm512_set1_epi32(static_cast<std::int32_t>(weights[k]));
  const __mmask16 all = 0xffff;
  const __m512i order = _mm512_set_epi32(15, 11, 7, 3, 14, 10, 6, 2, 13, 9, 5, 1, 12, 8, 4, 0);
  std::size_t x = 0;
  if (streamed) {
    // Up to the first line of 64 bytes, whose stores then need not fetch the lines first.
    const auto misaligned = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(out) % 64);
    const std::size_t head = std::min(n, (64 - misaligned) % 64);
    while (x < head) {
      const std::size_t m = std::min<std::size_t>(16, head - x);
      const auto lanes = static_cast<__mmask16>(m == 16 ? 0xffff : (1u << m) - 1);
      _mm512_mask_cvtepi32_storeu_epi8(out + x, lanes,
                                       roundedSums(rowSums<Half>(column + x, w, lanes)));
      x += m;
    }
  }
  for (; x + 64 <= n; x += 64) {
    __m512i v[4];
    for (int i = 0; i < 4; ++i) v[i] = roundedSums(rowSums<Half>(column + x + 16 * i, w, all));
    // The packs work within each 128-bit lane: the permute puts the groups of four in order.
    const __m512i words01 = _mm512_maskz_packus_epi32(~__mmask32{0}, v[0], v[1]);
    const __m512i words23 = _mm512_maskz_packus_epi32(~__mmask32{0}, v[2], v[3]);
    const __m512i bytes = _mm512_maskz_permutexvar_epi32(
        all, order, _mm512_maskz_packus_epi16(~__mmask64{0}, words01, words23));
    if (streamed) {
      _mm512_stream_si512(reinterpret_cast<__m512i*>(out + x), bytes);
    } else {
      _mm512_storeu_si512(out + x, bytes);
    }
  }
  for (; x < n; x += 16) {
    const std::size_t m = std::min<std::size_t>(16, n - x);
    const auto lanes = static_cast<__mmask16>(m == 16 ? 0xffff : (1u << m) - 1);
    _mm512_mask_cvtepi32_storeu_epi8(out + x, lanes,
                                     roundedSums(rowSums<Half>(column + x, w, lanes)));
  }
  // The lines written past the caches are ordered before whatever the caller stores next.
  if (streamed) _mm_sfence();
}

// 32 bytes as words, those of `lanes` read.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i wordsAt(
    __mmask32 lanes, const std::uint8_t* p) {
  return _mm512_maskz_cvtepu8_epi16(~__mmask32{0}, _mm256_maskz_loadu_epi8(lanes, p));
}

// 32 columns from x, those of `lanes` read and written.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void columnBlock(
    const std::uint8_t* const* rows, const std::uint32_t* weights, int half, std::size_t x,
    __mmask32 lanes, std::uint32_t* out) {
  const __m512i first = _mm512_set_epi32(23, 22, 21, 20, 7, 6, 5, 4, 19, 18, 17, 16, 3, 2, 1, 0);
  const __m512i second =
      _mm512_set_epi32(31, 30, 29, 28, 15, 14, 13, 12, 27, 26, 25, 24, 11, 10, 9, 8);
  __m512i t0 = wordsAt(lanes, rows[half] + x);
  __m512i t1 =
      _mm512_add_epi16(wordsAt(lanes, rows[half - 1] + x), wordsAt(lanes, rows[half + 1] + x));
  __m512i w = weightPair(weights[half], weights[half - 1]);
  __m512i a = _mm512_madd_epi16(_mm512_unpacklo_epi16(t0, t1), w);
  __m512i b = _mm512_madd_epi16(_mm512_unpackhi_epi16(t0, t1), w);
  for (int k = 2; k <= half; k += 2) {
    t0 = _mm512_add_epi16(wordsAt(lanes, rows[half - k] + x), wordsAt(lanes, rows[half + k] + x));
    t1 = _mm512_setzero_si512();
    std::uint32_t next = 0;
    if (k < half) {
      t1 = _mm512_add_epi16(wordsAt(lanes, rows[half - k - 1] + x),
                            wordsAt(lanes, rows[half + k + 1] + x));
      next = weights[half - k - 1];
    }
    w = weightPair(weights[half - k], next);
    a = _mm512_add_epi32(a, _mm512_madd_epi16(_mm512_unpacklo_epi16(t0, t1), w));
    b = _mm512_add_epi32(b, _mm512_madd_epi16(_mm512_unpackhi_epi16(t0, t1), w));
  }
  _mm512_mask_storeu_epi32(out + x, static_cast<__mmask16>(lanes),
                           _mm512_permutex2var_epi32(a, first, b));
  _mm512_mask_storeu_epi32(out + x + 16, static_cast<__mmask16>(lanes >> 16),
                           _mm512_permutex2var_epi32(a, second, b));
}

}  // namespace

__attribute__((target(QUORVEX_AVX512))) void gaussRowBytesAvx512(const std::uint32_t* column,
                                                                 const std::uint32_t* weights,
                                                                 int half, std::size_t n,
                                                                 std::uint8_t* out, bool streamed) {
  switch (half) {
    case 1:
      return rowBytes<1>(column, weights, n, out, streamed);
    case 2:
      return rowBytes<2>(column, weights, n, out, streamed);
    case 3:
      return rowBytes<3>(column, weights, n, out, streamed);
    case 4:
      return rowBytes<4>(column, weights, n, out, streamed);
    default:
      return rowBytes<5>(column, weights, n, out, streamed);
  }
}

__attribute__((target(QUORVEX_AVX512))) std::size_t gaussColumnsAvx512(
    const std::uint8_t* const* rows, const std::uint32_t* weights, int half, std::size_t n,
    std::uint32_t* out) {
  std::size_t x = 0;
  for (; x + 32 <= n; x += 32) columnBlock(rows, weights, half, x, ~__mmask32{0}, out);
  // The last columns under a mask: no tap reads past its row, and no scalar loop follows.
  if (x < n) columnBlock(rows, weights, half, x, static_cast<__mmask32>((1u << (n - x)) - 1), out);
  return n;
}

#else
std::size_t gaussColumnsAvx512(const std::uint8_t* const*, const std::uint32_t*, int, std::size_t,
                               std::uint32_t*) {
  return 0;
}

void gaussRowBytesAvx512(const std::uint32_t*, const std::uint32_t*, int, std::size_t,
                         std::uint8_t*, bool) {}
#endif

}  // namespace Standin
}  // namespace HalconCpp
