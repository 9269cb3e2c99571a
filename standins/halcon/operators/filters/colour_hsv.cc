// trans_from_rgb's 'hsv' on byte images: whole-number quotients, scalar and in AVX2 and
// AVX-512 lanes.
#include "operators/filters/colour_hsv.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

// Whole-number quotients x / d for x < 2^20 and d < 2^12 as a product and a shift: with
// m = ceil(2^44 / d), x m / 2^44 exceeds x / d by less than x d / 2^44 < 1 / d.
struct Reciprocals {
  std::array<std::uint64_t, 3061> of{};
  Reciprocals() {
    for (std::uint64_t d = 1; d < of.size(); ++d) of[d] = ((std::uint64_t(1) << 44) + d - 1) / d;
  }
  std::uint32_t quotient(std::uint32_t x, std::uint32_t d) const {
    return static_cast<std::uint32_t>((std::uint64_t(x) * of[d]) >> 44);
  }
};

// The codes of 'hsv' from the sums each quotient divides: `divide(x, d)` is floor(x / d). The
// planes never overlap, which the compiler must be told to run the loop in vectors.
template <typename Divide>
inline __attribute__((always_inline)) void hsvCodes(
    const std::uint8_t* __restrict r, const std::uint8_t* __restrict g,
    const std::uint8_t* __restrict b, std::uint8_t* __restrict h, std::uint8_t* __restrict s,
    std::uint8_t* __restrict v, std::size_t n, Divide&& divide) {
  // Selections rather than branches: the largest component varies from pixel to pixel.
  for (std::size_t x = 0; x < n; ++x) {
    const int red = r[x], green = g[x], blue = b[x];
    const int high = std::max(red, std::max(green, blue));
    const int d = high - std::min(red, std::min(green, blue));
    const bool redHigh = red == high, greenHigh = !redHigh && green == high;
    // N: 6 d times the hue's share of the circle (0 for greys, whose d is 0).
    int sixths = redHigh ? green - blue : greenHigh ? 2 * d + blue - red : 4 * d + red - green;
    sixths += sixths < 0 ? 6 * d : 0;
    const int divisor = std::max(d, 1);
    v[x] = static_cast<std::uint8_t>(high);
    h[x] = static_cast<std::uint8_t>(divide(510 * sixths + 6 * d, 12 * divisor));
    s[x] = static_cast<std::uint8_t>(divide(510 * d + high, 2 * std::max(high, 1)));
  }
}

#if QUORVEX_KERNELS_AVX2
// hsvCodes' steps on eight pixels in 32-bit lanes, the quotients by float divisions as below
// (the compiler leaves the loop of selections scalar).
struct HsvAvx2 {
  __m256i two, four, six, one;
  __attribute__((target("avx2"), always_inline)) inline __m256i bytes(const std::uint8_t* p) const {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
  }
  // floor(x / d) of x, d >= 0, as bytes in the first eight of 16.
  __attribute__((target("avx2"), always_inline)) inline void store(__m256 x, __m256 d,
                                                                   std::uint8_t* q) const {
    const __m256i n = _mm256_cvttps_epi32(_mm256_div_ps(x, d));
    const __m256i w = _mm256_packus_epi16(_mm256_packus_epi32(n, n), _mm256_setzero_si256());
    _mm_storel_epi64(reinterpret_cast<__m128i*>(q),
                     _mm_unpacklo_epi32(_mm256_castsi256_si128(w), _mm256_extracti128_si256(w, 1)));
  }
  __attribute__((target("avx2"), always_inline)) inline void eight(const std::uint8_t* r,
                                                                   const std::uint8_t* g,
                                                                   const std::uint8_t* b,
                                                                   std::uint8_t* h, std::uint8_t* s,
                                                                   std::uint8_t* v) const {
    const __m256i red = bytes(r), green = bytes(g), blue = bytes(b);
    const __m256i high = _mm256_max_epi32(red, _mm256_max_epi32(green, blue));
    const __m256i d = _mm256_sub_epi32(high, _mm256_min_epi32(red, _mm256_min_epi32(green, blue)));
    const __m256i redHigh = _mm256_cmpeq_epi32(red, high);
    const __m256i greenHigh = _mm256_andnot_si256(redHigh, _mm256_cmpeq_epi32(green, high));
    const __m256i ifRed = _mm256_sub_epi32(green, blue);
    const __m256i ifGreen =
        _mm256_add_epi32(_mm256_mullo_epi32(d, two), _mm256_sub_epi32(blue, red));
    const __m256i ifBlue =
        _mm256_add_epi32(_mm256_mullo_epi32(d, four), _mm256_sub_epi32(red, green));
    __m256i sixths =
        _mm256_blendv_epi8(_mm256_blendv_epi8(ifBlue, ifGreen, greenHigh), ifRed, redHigh);
    const __m256i sixD = _mm256_mullo_epi32(d, six);
    sixths = _mm256_add_epi32(
        sixths, _mm256_and_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), sixths), sixD));
    const __m256i divisor = _mm256_max_epi32(d, one);
    const __m256i packed =
        _mm256_packus_epi16(_mm256_packus_epi32(high, high), _mm256_setzero_si256());
    _mm_storel_epi64(
        reinterpret_cast<__m128i*>(v),
        _mm_unpacklo_epi32(_mm256_castsi256_si128(packed), _mm256_extracti128_si256(packed, 1)));
    const __m256i hueSum =
        _mm256_add_epi32(_mm256_mullo_epi32(sixths, _mm256_set1_epi32(510)), sixD);
    store(_mm256_cvtepi32_ps(hueSum),
          _mm256_cvtepi32_ps(_mm256_mullo_epi32(divisor, _mm256_set1_epi32(12))), h);
    const __m256i satSum = _mm256_add_epi32(_mm256_mullo_epi32(d, _mm256_set1_epi32(510)), high);
    store(_mm256_cvtepi32_ps(satSum),
          _mm256_cvtepi32_ps(
              _mm256_add_epi32(_mm256_max_epi32(high, one), _mm256_max_epi32(high, one))),
          s);
  }
};

// The dividends stay below 2^20 and the divisors below 2^12, exact in floats. A quotient
// below 256 that is not whole lies at least 1 / d below the next whole number, more than
// 2^-20 of it, and a float division errs by at most 2^-24 of the quotient: truncated, it
// gives the same whole quotient as the reciprocals, eight divisions to an AVX2 instruction.
__attribute__((target("avx2"))) void hsvBytesAvx2(const std::uint8_t* const in[3],
                                                  std::uint8_t* const out[3], std::size_t i,
                                                  std::size_t n) {
  struct Quotient {
    inline __attribute__((always_inline)) int operator()(int x, int d) const {
      return static_cast<int>(float(x) / float(d));
    }
  };
  const HsvAvx2 vectors{_mm256_set1_epi32(2), _mm256_set1_epi32(4), _mm256_set1_epi32(6),
                        _mm256_set1_epi32(1)};
  const std::size_t end = i + n;
  for (; i + 8 <= end; i += 8) {
    vectors.eight(in[0] + i, in[1] + i, in[2] + i, out[0] + i, out[1] + i, out[2] + i);
  }
  hsvCodes(in[0] + i, in[1] + i, in[2] + i, out[0] + i, out[1] + i, out[2] + i, end - i,
           Quotient{});
}

// The same steps on sixteen pixels in AVX-512's 32-bit lanes, the selections as lane masks:
// the same whole numbers and the same float divisions, so the same codes.
struct HsvAvx512 {
  // The masked forms, all lanes on: GCC 12 warns of the unmasked ones' undefined sources.
  static constexpr __mmask16 kAll = 0xffff;
  __attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i bytes(
      const std::uint8_t* p) const {
    return _mm512_maskz_cvtepu8_epi32(kAll, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  // floor(x / d) of x, d >= 0, a code below 256 each.
  __attribute__((target(QUORVEX_AVX512), always_inline)) inline void store(__m512 x, __m512 d,
                                                                           std::uint8_t* q) const {
    const __m512i n = _mm512_maskz_cvttps_epi32(kAll, _mm512_div_ps(x, d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q), _mm512_maskz_cvtepi32_epi8(kAll, n));
  }
  __attribute__((target(QUORVEX_AVX512), always_inline)) inline void sixteen(
      const std::uint8_t* r, const std::uint8_t* g, const std::uint8_t* b, std::uint8_t* h,
      std::uint8_t* s, std::uint8_t* v) const {
    const __m512i one = _mm512_set1_epi32(1), zero = _mm512_setzero_si512();
    const __m512i red = bytes(r), green = bytes(g), blue = bytes(b);
    const __m512i high =
        _mm512_maskz_max_epi32(kAll, red, _mm512_maskz_max_epi32(kAll, green, blue));
    const __m512i d = _mm512_sub_epi32(
        high, _mm512_maskz_min_epi32(kAll, red, _mm512_maskz_min_epi32(kAll, green, blue)));
    const __mmask16 redHigh = _mm512_cmpeq_epi32_mask(red, high);
    const __mmask16 greenHigh =
        static_cast<__mmask16>(~redHigh & _mm512_cmpeq_epi32_mask(green, high));
    const __m512i ifRed = _mm512_sub_epi32(green, blue);
    const __m512i ifGreen =
        _mm512_add_epi32(_mm512_maskz_slli_epi32(kAll, d, 1), _mm512_sub_epi32(blue, red));
    const __m512i ifBlue =
        _mm512_add_epi32(_mm512_maskz_slli_epi32(kAll, d, 2), _mm512_sub_epi32(red, green));
    __m512i sixths = _mm512_mask_blend_epi32(greenHigh, ifBlue, ifGreen);
    sixths = _mm512_mask_blend_epi32(redHigh, sixths, ifRed);
    const __m512i sixD = _mm512_mullo_epi32(d, _mm512_set1_epi32(6));
    sixths = _mm512_mask_add_epi32(sixths, _mm512_cmplt_epi32_mask(sixths, zero), sixths, sixD);
    const __m512i divisor = _mm512_maskz_max_epi32(kAll, d, one);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(v), _mm512_maskz_cvtepi32_epi8(kAll, high));
    const __m512i hueSum =
        _mm512_add_epi32(_mm512_mullo_epi32(sixths, _mm512_set1_epi32(510)), sixD);
    store(_mm512_maskz_cvtepi32_ps(kAll, hueSum),
          _mm512_maskz_cvtepi32_ps(kAll, _mm512_mullo_epi32(divisor, _mm512_set1_epi32(12))), h);
    const __m512i satSum = _mm512_add_epi32(_mm512_mullo_epi32(d, _mm512_set1_epi32(510)), high);
    const __m512i highOne = _mm512_maskz_max_epi32(kAll, high, one);
    store(_mm512_maskz_cvtepi32_ps(kAll, satSum),
          _mm512_maskz_cvtepi32_ps(kAll, _mm512_add_epi32(highOne, highOne)), s);
  }
};

// Sixteen pixels at a time, the rest as hsvBytesAvx2 takes them.
__attribute__((target(QUORVEX_AVX512))) void hsvBytesAvx512(const std::uint8_t* const in[3],
                                                            std::uint8_t* const out[3],
                                                            std::size_t i, std::size_t n) {
  const HsvAvx512 vectors;
  const std::size_t end = i + n;
  for (; i + 16 <= end; i += 16) {
    vectors.sixteen(in[0] + i, in[1] + i, in[2] + i, out[0] + i, out[1] + i, out[2] + i);
  }
  hsvBytesAvx2(in, out, i, end - i);
}
#endif

}  // namespace

void hsvBytes(const std::uint8_t* const in[3], std::uint8_t* const out[3], std::size_t i,
              std::size_t n) {
#if QUORVEX_KERNELS_AVX2
  if (vectorPathsEnabled() && cpuHasAvx512()) return hsvBytesAvx512(in, out, i, n);
  if (vectorPathsEnabled() && cpuHasAvx2()) return hsvBytesAvx2(in, out, i, n);
#endif
  static const Reciprocals reciprocals;
  hsvCodes(in[0] + i, in[1] + i, in[2] + i, out[0] + i, out[1] + i, out[2] + i, n,
           [](int x, int d) { return reciprocals.quotient(std::uint32_t(x), std::uint32_t(d)); });
}

}  // namespace Standin
}  // namespace HalconCpp
