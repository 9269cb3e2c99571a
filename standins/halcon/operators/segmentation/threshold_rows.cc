#include "operators/segmentation/threshold_rows.h"

#if defined(__GNUC__) && defined(__x86_64__)
#define QUORVEX_THRESHOLD_AVX2 1
#include <immintrin.h>
#else
#define QUORVEX_THRESHOLD_AVX2 0
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_THRESHOLD_AVX2

bool thresholdVectorsRun() {
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return avx2;
}

namespace {

__attribute__((target("avx2"))) inline __m256i differenceMask(const std::uint8_t* g,
                                                              const std::uint8_t* t, __m256i below,
                                                              __m256i above) {
  const __m256i d =
      _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(g))),
                       _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t))));
  return _mm256_and_si256(_mm256_cmpgt_epi16(d, below), _mm256_cmpgt_epi16(above, d));
}

}  // namespace

__attribute__((target("avx2"))) std::size_t differenceBits(const std::uint8_t* g,
                                                           const std::uint8_t* t, std::size_t n,
                                                           int low, int high, bool outside,
                                                           std::uint64_t* bits) {
  const __m256i below = _mm256_set1_epi16(static_cast<short>(low - 1));
  const __m256i above = _mm256_set1_epi16(static_cast<short>(high + 1));
  const __m256i flip = outside ? _mm256_set1_epi8(-1) : _mm256_setzero_si256();
  std::size_t x = 0;
  for (; x + 32 <= n; x += 32) {
    const __m256i first = differenceMask(g + x, t + x, below, above);
    const __m256i second = differenceMask(g + x + 16, t + x + 16, below, above);
    // packs works within 128-bit halves: the quarters come back in order after the permute.
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(first, second), 0xD8);
    const auto mask =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_xor_si256(packed, flip)));
    std::uint64_t& word = bits[x / 64];
    word = x % 64 == 0 ? mask : word | (std::uint64_t{mask} << 32);
  }
  return x;
}

namespace {

// Whole numbers below 2^52 as doubles: their bits under the exponent of 2^52, less 2^52.
__attribute__((target("avx2"))) inline __m256d wholeToDouble(const std::uint64_t* v) {
  const __m256i magic = _mm256_set1_epi64x(0x4330000000000000);
  const __m256i bitsOf =
      _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v)), magic);
  return _mm256_sub_pd(_mm256_castsi256_pd(bitsOf), _mm256_castsi256_pd(magic));
}

// (a < b) ? b : a and (b < a) ? b : a, as std::max and std::min choose.
__attribute__((target("avx2"))) inline __m256d maxLike(__m256d a, __m256d b) {
  return _mm256_blendv_pd(a, b, _mm256_cmp_pd(a, b, _CMP_LT_OQ));
}
__attribute__((target("avx2"))) inline __m256d minLike(__m256d a, __m256d b) {
  return _mm256_blendv_pd(a, b, _mm256_cmp_pd(b, a, _CMP_LT_OQ));
}

}  // namespace

__attribute__((target("avx2"))) std::size_t localDeviationBits(
    const std::uint8_t* g, const std::uint64_t* sums, const std::uint64_t* squares, std::size_t n,
    double area, double scale, double absolute, Comparison comparison, std::uint64_t* bits) {
  const __m256d areaV = _mm256_set1_pd(area), scaleV = _mm256_set1_pd(scale);
  const __m256d absoluteV = _mm256_set1_pd(absolute), zero = _mm256_setzero_pd();
  const bool positive = scale >= 0;
  std::size_t x = 0;
  for (; x + 4 <= n; x += 4) {
    const __m256d m = _mm256_div_pd(wholeToDouble(sums + x), areaV);
    const __m256d variance =
        _mm256_sub_pd(_mm256_div_pd(wholeToDouble(squares + x), areaV), _mm256_mul_pd(m, m));
    const __m256d deviation = _mm256_sqrt_pd(maxLike(zero, variance));
    const __m256d scaled = _mm256_mul_pd(scaleV, deviation);
    const __m256d v = positive ? maxLike(scaled, absoluteV) : minLike(scaled, absoluteV);
    std::int32_t four;
    __builtin_memcpy(&four, g + x, sizeof four);
    const __m256d grey = _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(four)));
    __m256d keep;
    switch (comparison) {
      case Comparison::Light:
        keep = _mm256_cmp_pd(grey, _mm256_add_pd(m, v), _CMP_GE_OQ);
        break;
      case Comparison::Dark:
        keep = _mm256_cmp_pd(grey, _mm256_sub_pd(m, v), _CMP_LE_OQ);
        break;
      case Comparison::Equal:
        keep = _mm256_and_pd(_mm256_cmp_pd(grey, _mm256_sub_pd(m, v), _CMP_GE_OQ),
                             _mm256_cmp_pd(grey, _mm256_add_pd(m, v), _CMP_LE_OQ));
        break;
      case Comparison::NotEqual:
      default:
        keep = _mm256_or_pd(_mm256_cmp_pd(grey, _mm256_sub_pd(m, v), _CMP_LT_OQ),
                            _mm256_cmp_pd(grey, _mm256_add_pd(m, v), _CMP_GT_OQ));
        break;
    }
    const auto mask = static_cast<std::uint64_t>(_mm256_movemask_pd(keep));
    std::uint64_t& word = bits[x / 64];
    word = x % 64 == 0 ? mask : word | (mask << (x % 64));
  }
  return x;
}

#else

bool thresholdVectorsRun() {
  return false;
}

std::size_t differenceBits(const std::uint8_t*, const std::uint8_t*, std::size_t, int, int, bool,
                           std::uint64_t*) {
  return 0;
}

std::size_t localDeviationBits(const std::uint8_t*, const std::uint64_t*, const std::uint64_t*,
                               std::size_t, double, double, double, Comparison, std::uint64_t*) {
  return 0;
}

#endif

void appendBitRuns(const std::uint64_t* bits, std::size_t n, std::int32_t row, std::int32_t column,
                   Runs& out) {
  bool inRun = false;
  std::size_t start = 0;
  const std::size_t words = (n + 63) / 64;
  for (std::size_t i = 0; i < words; ++i) {
    std::uint64_t w = bits[i];
    const std::size_t valid = n - i * 64 < 64 ? n - i * 64 : 64;
    if (valid < 64) w &= (std::uint64_t{1} << valid) - 1;
    if ((!inRun && w == 0) || (inRun && w == ~std::uint64_t{0})) continue;
    unsigned p = 0;
    while (p < 64) {
      const std::uint64_t from = ~std::uint64_t{0} << p;
      const std::uint64_t look = (inRun ? ~w : w) & from;
      if (look == 0) break;
      const auto edge = static_cast<unsigned>(__builtin_ctzll(look));
      const std::size_t x = i * 64 + edge;
      if (inRun) {
        out.push_back(Run{row, column + static_cast<std::int32_t>(start),
                          column + static_cast<std::int32_t>(x - 1)});
      } else {
        start = x;
      }
      inRun = !inRun;
      p = edge;
    }
  }
  if (inRun) {
    out.push_back(Run{row, column + static_cast<std::int32_t>(start),
                      column + static_cast<std::int32_t>(n - 1)});
  }
}

}  // namespace Standin
}  // namespace HalconCpp
