// The SSE2 form: 16 pixels a step, computed in 16-bit lanes.
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
// lanes even though (L-W)*a alone wraps: one multiply per lane instead of two. The even and
// odd bytes of a vector are blended in separate 16-bit lanes, masked and shifted in place,
// which spreads the work over more execution ports than unpacking and packing would.
QUORVEX_TARGET("sse2")
inline void blendChannel(std::uint8_t* window, const std::uint8_t* logo, __m128i alphaEven,
                         __m128i alphaOdd) {
  const __m128i lowBytes = _mm_set1_epi16(0x00FF);
  const __m128i highBytes = _mm_set1_epi16(static_cast<short>(0xFF00));
  const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window));
  const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(logo));
  const __m128i wEven = _mm_and_si128(w, lowBytes);
  const __m128i wOdd = _mm_srli_epi16(w, 8);
  const __m128i dEven = _mm_sub_epi16(_mm_and_si128(l, lowBytes), wEven);
  const __m128i dOdd = _mm_sub_epi16(_mm_srli_epi16(l, 8), wOdd);
  // W * 256 is the even byte shifted up, and the odd byte where it already sits.
  const __m128i even =
      _mm_add_epi16(_mm_sub_epi16(_mm_slli_epi16(w, 8), wEven), _mm_mullo_epi16(dEven, alphaEven));
  const __m128i odd = _mm_add_epi16(_mm_sub_epi16(_mm_and_si128(w, highBytes), wOdd),
                                    _mm_mullo_epi16(dOdd, alphaOdd));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(window),
                   _mm_or_si128(_mm_srli_epi16(even, 8), _mm_and_si128(odd, highBytes)));
}

}  // namespace

QUORVEX_TARGET("sse2")
void blendSse2(const BlendPlanes& planes, std::size_t n) {
  if (detail::needsReferenceOrder(planes, n)) return blendReference(planes, n);
  constexpr std::size_t kStep = 16;
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
    // Alpha is loaded before the first store, as the reference reads it before any channel.
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(alpha + p));
    const __m128i alphaEven = _mm_and_si128(a, _mm_set1_epi16(0x00FF));
    const __m128i alphaOdd = _mm_srli_epi16(a, 8);
    // Channel after channel through memory: a shared plane gives the next channel this one's
    // result, pixel by pixel, as in the reference.
    blendChannel(red + p, logoRed + p, alphaEven, alphaOdd);
    blendChannel(green + p, logoGreen + p, alphaEven, alphaOdd);
    blendChannel(blue + p, logoBlue + p, alphaEven, alphaOdd);
  }
  detail::blendPixels(planes, p, n);
}

#else

void blendSse2(const BlendPlanes& planes, std::size_t n) {
  blendReference(planes, n);
}

#endif

}  // namespace quorvex::render
