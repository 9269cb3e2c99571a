// Two taps a step: the pair sums of two taps (the centre row alone for the first) interleaved
// as words, each word pair multiplied by its two weights and summed into a 32-bit lane in one
// instruction, exact as the portable 32-bit sums are. The interleaving holds columns 0-3,
// 8-11, ... in one vector and 4-7, 12-15, ... in the other, which the stores put back in order.
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

__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i wordsAt(
    const std::uint8_t* p) {
  return _mm512_maskz_cvtepu8_epi16(~__mmask32{0},
                                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
}

// Two weights as the words of one 32-bit lane: `even` for the first word of each pair.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i weightPair(
    std::uint32_t even, std::uint32_t odd) {
  return _mm512_set1_epi32(static_cast<std::int32_t>((even & 0xffff) | (odd & 0xffff) << 16));
}

// Sixteen sums rounded into their bytes.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m128i roundedBytes(
    const std::uint32_t* sums) {
  const __mmask16 all = 0xffff;
  const __m512i v = _mm512_add_epi32(_mm512_loadu_si512(sums), _mm512_set1_epi32(1 << 23));
  return _mm512_maskz_cvtepi32_epi8(all, _mm512_maskz_srli_epi32(all, v, 24));
}

}  // namespace

__attribute__((target(QUORVEX_AVX512))) std::size_t gaussColumnsAvx512(
    const std::uint8_t* const* rows, const std::uint32_t* weights, int half, std::size_t n,
    std::uint32_t* out) {
  const __m512i first = _mm512_set_epi32(23, 22, 21, 20, 7, 6, 5, 4, 19, 18, 17, 16, 3, 2, 1, 0);
  const __m512i second =
      _mm512_set_epi32(31, 30, 29, 28, 15, 14, 13, 12, 27, 26, 25, 24, 11, 10, 9, 8);
  std::size_t x = 0;
  for (; x + 32 <= n; x += 32) {
    __m512i t0 = wordsAt(rows[half] + x);
    __m512i t1 = _mm512_add_epi16(wordsAt(rows[half - 1] + x), wordsAt(rows[half + 1] + x));
    __m512i w = weightPair(weights[half], weights[half - 1]);
    __m512i a = _mm512_madd_epi16(_mm512_unpacklo_epi16(t0, t1), w);
    __m512i b = _mm512_madd_epi16(_mm512_unpackhi_epi16(t0, t1), w);
    for (int k = 2; k <= half; k += 2) {
      t0 = _mm512_add_epi16(wordsAt(rows[half - k] + x), wordsAt(rows[half + k] + x));
      t1 = _mm512_setzero_si512();
      std::uint32_t next = 0;
      if (k < half) {
        t1 = _mm512_add_epi16(wordsAt(rows[half - k - 1] + x), wordsAt(rows[half + k + 1] + x));
        next = weights[half - k - 1];
      }
      w = weightPair(weights[half - k], next);
      a = _mm512_add_epi32(a, _mm512_madd_epi16(_mm512_unpacklo_epi16(t0, t1), w));
      b = _mm512_add_epi32(b, _mm512_madd_epi16(_mm512_unpackhi_epi16(t0, t1), w));
    }
    _mm512_storeu_si512(out + x, _mm512_permutex2var_epi32(a, first, b));
    _mm512_storeu_si512(out + x + 16, _mm512_permutex2var_epi32(a, second, b));
  }
  return x;
}

__attribute__((target(QUORVEX_AVX512))) void gaussBytesAvx512(const std::uint32_t* sums,
                                                              std::size_t n, std::uint8_t* out) {
  const __mmask16 all = 0xffff;
  const auto misaligned = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(out) % 64);
  const std::size_t head = std::min(n, (64 - misaligned) % 64);
  std::size_t x = 0;
  for (; x < head; ++x) out[x] = static_cast<std::uint8_t>((sums[x] + (1u << 23)) >> 24);
  for (; x + 64 <= n; x += 64) {
    __m512i line = _mm512_zextsi128_si512(roundedBytes(sums + x));
    line = _mm512_mask_inserti32x4(line, all, line, roundedBytes(sums + x + 16), 1);
    line = _mm512_mask_inserti32x4(line, all, line, roundedBytes(sums + x + 32), 2);
    line = _mm512_mask_inserti32x4(line, all, line, roundedBytes(sums + x + 48), 3);
    _mm512_stream_si512(reinterpret_cast<__m512i*>(out + x), line);
  }
  for (; x < n; ++x) out[x] = static_cast<std::uint8_t>((sums[x] + (1u << 23)) >> 24);
  // The lines written past the caches are ordered before whatever the caller stores next.
  _mm_sfence();
}
#else
std::size_t gaussColumnsAvx512(const std::uint8_t* const*, const std::uint32_t*, int, std::size_t,
                               std::uint32_t*) {
  return 0;
}

void gaussBytesAvx512(const std::uint32_t*, std::size_t, std::uint8_t*) {}
#endif

}  // namespace Standin
}  // namespace HalconCpp
