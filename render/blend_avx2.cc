// The AVX2 form: 32 pixels a step, computed in 16-bit lanes.
#include <cstddef>
#include <cstdint>

#include "render/blend.h"
#include "render/blend_detail.h"

#if QUORVEX_BLEND_X86
#include <immintrin.h>
#endif

namespace quorvex::render {

#if QUORVEX_BLEND_X86

namespace {

// The arithmetic and the even/odd split of the SSE2 form (see there), 32 bytes at a time.
QUORVEX_TARGET("avx2")
inline void blendChannel(std::uint8_t* window, const std::uint8_t* logo, __m256i alphaEven,
                         __m256i alphaOdd) {
  const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
  const __m256i highBytes = _mm256_set1_epi16(static_cast<short>(0xFF00));
  const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window));
  const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(logo));
  const __m256i wEven = _mm256_and_si256(w, lowBytes);
  const __m256i wOdd = _mm256_srli_epi16(w, 8);
  const __m256i dEven = _mm256_sub_epi16(_mm256_and_si256(l, lowBytes), wEven);
  const __m256i dOdd = _mm256_sub_epi16(_mm256_srli_epi16(l, 8), wOdd);
  const __m256i even = _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(w, 8), wEven),
                                        _mm256_mullo_epi16(dEven, alphaEven));
  const __m256i odd = _mm256_add_epi16(_mm256_sub_epi16(_mm256_and_si256(w, highBytes), wOdd),
                                       _mm256_mullo_epi16(dOdd, alphaOdd));
  _mm256_storeu_si256(
      reinterpret_cast<__m256i*>(window),
      _mm256_or_si256(_mm256_srli_epi16(even, 8), _mm256_and_si256(odd, highBytes)));
}

}  // namespace

QUORVEX_TARGET("avx2")
void blendAvx2(const BlendPlanes& planes, std::size_t n) {
  if (detail::needsReferenceOrder(planes, n)) return blendReference(planes, n);
  constexpr std::size_t kStep = 32;
  // Locals, not the struct's fields: after every store through a byte pointer the compiler
  // would have to reload those.
  std::uint8_t* const red = planes.red;
  std::uint8_t* const green = planes.green;
  std::uint8_t* const blue = planes.blue;
  const std::uint8_t* const logoRed = planes.logoRed;
  const std::uint8_t* const logoGreen = planes.logoGreen;
  const std::uint8_t* const logoBlue = planes.logoBlue;
  const std::uint8_t* const alpha = planes.alpha;
  std::size_t p = 0;
  for (; p + kStep <= n; p += kStep) {
    // Same order of loads and stores as the SSE2 form, for the same reasons.
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(alpha + p));
    const __m256i alphaEven = _mm256_and_si256(a, _mm256_set1_epi16(0x00FF));
    const __m256i alphaOdd = _mm256_srli_epi16(a, 8);
    blendChannel(red + p, logoRed + p, alphaEven, alphaOdd);
    blendChannel(green + p, logoGreen + p, alphaEven, alphaOdd);
    blendChannel(blue + p, logoBlue + p, alphaEven, alphaOdd);
  }
  detail::blendPixels(planes, p, n);
}

#else

void blendAvx2(const BlendPlanes& planes, std::size_t n) {
  blendReference(planes, n);
}

#endif

}  // namespace quorvex::render
