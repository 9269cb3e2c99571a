// The SSE2 form: 16 pixels a step, each channel widened to 16-bit lanes.
#include <cstddef>
#include <cstdint>

#include "render/blend.h"
#include "render/blend_detail.h"

#if QUORVEX_BLEND_X86
#include <emmintrin.h>
#endif

namespace quorvex::render {

#if QUORVEX_BLEND_X86

namespace {

// 255*W + (L-W)*a equals L*a + W*(255-a) and lies in [0, 65025], so it is exact in 16-bit
// lanes even though (L-W)*a alone wraps: one multiply per lane instead of two. W*256 comes
// for free by interleaving W into the high byte.
QUORVEX_TARGET("sse2")
inline __m128i blendHalf(__m128i logo, __m128i window, __m128i window256, __m128i alpha) {
  const __m128i weighted = _mm_mullo_epi16(_mm_sub_epi16(logo, window), alpha);
  return _mm_srli_epi16(_mm_add_epi16(_mm_sub_epi16(window256, window), weighted), 8);
}

QUORVEX_TARGET("sse2")
inline void blendChannel(std::uint8_t* window, const std::uint8_t* logo, __m128i alphaLow,
                         __m128i alphaHigh) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window));
  const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(logo));
  const __m128i low = blendHalf(_mm_unpacklo_epi8(l, zero), _mm_unpacklo_epi8(w, zero),
                                _mm_unpacklo_epi8(zero, w), alphaLow);
  const __m128i high = blendHalf(_mm_unpackhi_epi8(l, zero), _mm_unpackhi_epi8(w, zero),
                                 _mm_unpackhi_epi8(zero, w), alphaHigh);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(window), _mm_packus_epi16(low, high));
}

}  // namespace

QUORVEX_TARGET("sse2")
void blendSse2(const BlendPlanes& planes, std::size_t n) {
  if (detail::needsReferenceOrder(planes, n)) return blendReference(planes, n);
  constexpr std::size_t kStep = 16;
  const __m128i zero = _mm_setzero_si128();
  std::size_t p = 0;
  for (; p + kStep <= n; p += kStep) {
    // Alpha is loaded before the first store, as the reference reads it before any channel.
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(planes.alpha + p));
    const __m128i alphaLow = _mm_unpacklo_epi8(a, zero);
    const __m128i alphaHigh = _mm_unpackhi_epi8(a, zero);
    // Channel after channel through memory: a shared plane gives the next channel this one's
    // result, pixel by pixel, as in the reference.
    blendChannel(planes.red + p, planes.logoRed + p, alphaLow, alphaHigh);
    blendChannel(planes.green + p, planes.logoGreen + p, alphaLow, alphaHigh);
    blendChannel(planes.blue + p, planes.logoBlue + p, alphaLow, alphaHigh);
  }
  detail::blendPixels(planes, p, n);
}

#else

void blendSse2(const BlendPlanes& planes, std::size_t n) {
  blendReference(planes, n);
}

#endif

}  // namespace quorvex::render
