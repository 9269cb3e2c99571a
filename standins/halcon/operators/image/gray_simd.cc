#include "operators/image/gray_simd.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUORVEX_GRAY_X86 1
#include <immintrin.h>
#else
#define QUORVEX_GRAY_X86 0
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_GRAY_X86
namespace {

// The sum s = 299 r + 587 g + 114 b + 500 reaches 255500, past 16 bits: it is formed in 32-bit
// lanes by multiply-adds of the pairs (r, g) and (b, 1). s / 1000 is (s >> 3) / 125, and for
// s >> 3 < 2^15 the quotient by 125 is the high half of the product with 33555 shifted by 6
// (33555 = ceil(2^22 / 125) errs by 71 / 2^22 a unit, under 1 / 31938): exact for every sum.
constexpr int kRedGreen = (587 << 16) | 299;
constexpr int kBlueOne = (500 << 16) | 114;
constexpr short kReciprocal = static_cast<short>(33555);

#define QUORVEX_SSE2 __attribute__((target("sse2"), always_inline)) inline

QUORVEX_SSE2 __m128i weighSse2(__m128i r16, __m128i g16, __m128i b16) {
  const __m128i rg = _mm_set1_epi32(kRedGreen), b1 = _mm_set1_epi32(kBlueOne);
  const __m128i one = _mm_set1_epi16(1);
  __m128i low = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(r16, g16), rg),
                              _mm_madd_epi16(_mm_unpacklo_epi16(b16, one), b1));
  __m128i high = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(r16, g16), rg),
                               _mm_madd_epi16(_mm_unpackhi_epi16(b16, one), b1));
  const __m128i eighths = _mm_packs_epi32(_mm_srli_epi32(low, 3), _mm_srli_epi32(high, 3));
  return _mm_srli_epi16(_mm_mulhi_epu16(eighths, _mm_set1_epi16(kReciprocal)), 6);
}

__attribute__((target("sse2"))) std::size_t weighRowSse2(const std::uint8_t* red,
                                                         const std::uint8_t* green,
                                                         const std::uint8_t* blue,
                                                         std::size_t count, std::uint8_t* gray) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t x = 0;
  for (; x + 16 <= count; x += 16) {
    const __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(red + x));
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(green + x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blue + x));
    const __m128i low = weighSse2(_mm_unpacklo_epi8(r, zero), _mm_unpacklo_epi8(g, zero),
                                  _mm_unpacklo_epi8(b, zero));
    const __m128i high = weighSse2(_mm_unpackhi_epi8(r, zero), _mm_unpackhi_epi8(g, zero),
                                   _mm_unpackhi_epi8(b, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(gray + x), _mm_packus_epi16(low, high));
  }
  return x;
}

#define QUORVEX_AVX2 __attribute__((target("avx2"), always_inline)) inline

// The same steps in 256 bits: unpacking and packing both work within 128-bit halves, so the
// pixels come back in their order.
QUORVEX_AVX2 __m256i weighAvx2(__m256i r16, __m256i g16, __m256i b16) {
  const __m256i rg = _mm256_set1_epi32(kRedGreen), b1 = _mm256_set1_epi32(kBlueOne);
  const __m256i one = _mm256_set1_epi16(1);
  __m256i low = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(r16, g16), rg),
                                 _mm256_madd_epi16(_mm256_unpacklo_epi16(b16, one), b1));
  __m256i high = _mm256_add_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(r16, g16), rg),
                                  _mm256_madd_epi16(_mm256_unpackhi_epi16(b16, one), b1));
  const __m256i eighths = _mm256_packs_epi32(_mm256_srli_epi32(low, 3), _mm256_srli_epi32(high, 3));
  return _mm256_srli_epi16(_mm256_mulhi_epu16(eighths, _mm256_set1_epi16(kReciprocal)), 6);
}

__attribute__((target("avx2"))) std::size_t weighRowAvx2(const std::uint8_t* red,
                                                         const std::uint8_t* green,
                                                         const std::uint8_t* blue,
                                                         std::size_t count, std::uint8_t* gray) {
  const __m256i zero = _mm256_setzero_si256();
  std::size_t x = 0;
  for (; x + 32 <= count; x += 32) {
    const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(red + x));
    const __m256i g = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(green + x));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blue + x));
    const __m256i low = weighAvx2(_mm256_unpacklo_epi8(r, zero), _mm256_unpacklo_epi8(g, zero),
                                  _mm256_unpacklo_epi8(b, zero));
    const __m256i high = weighAvx2(_mm256_unpackhi_epi8(r, zero), _mm256_unpackhi_epi8(g, zero),
                                   _mm256_unpackhi_epi8(b, zero));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(gray + x), _mm256_packus_epi16(low, high));
  }
  // The tail's legacy SSE instructions would otherwise pay for the registers' upper halves.
  _mm256_zeroupper();
  return x + weighRowSse2(red + x, green + x, blue + x, count - x, gray + x);
}

enum class Level { None, Sse2, Avx2 };

Level level() {
  static const Level found = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return Level::Avx2;
    if (__builtin_cpu_supports("sse2")) return Level::Sse2;
    return Level::None;
  }();
  return found;
}

}  // namespace

std::size_t weighGrayVectors(const std::uint8_t* red, const std::uint8_t* green,
                             const std::uint8_t* blue, std::size_t count, std::uint8_t* gray) {
  switch (level()) {
    case Level::Avx2:
      return weighRowAvx2(red, green, blue, count, gray);
    case Level::Sse2:
      return weighRowSse2(red, green, blue, count, gray);
    case Level::None:
      break;
  }
  return 0;
}

#else

std::size_t weighGrayVectors(const std::uint8_t*, const std::uint8_t*, const std::uint8_t*,
                             std::size_t, std::uint8_t*) {
  return 0;
}

#endif

}  // namespace Standin
}  // namespace HalconCpp
