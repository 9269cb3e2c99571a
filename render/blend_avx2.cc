// The AVX2 form: 32 pixels a step, each channel widened to 16-bit lanes.
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

// The arithmetic of the SSE2 form (see there). Unpacking and packing both work within each
// 128-bit half, so the pack puts every byte back where it came from.
QUORVEX_TARGET("avx2")
inline __m256i blendHalf(__m256i logo, __m256i window, __m256i window256, __m256i alpha) {
  const __m256i weighted = _mm256_mullo_epi16(_mm256_sub_epi16(logo, window), alpha);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_sub_epi16(window256, window), weighted), 8);
}

QUORVEX_TARGET("avx2")
inline void blendChannel(std::uint8_t* window, const std::uint8_t* logo, __m256i alphaLow,
                         __m256i alphaHigh) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i w = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(window));
  const __m256i l = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(logo));
  const __m256i low = blendHalf(_mm256_unpacklo_epi8(l, zero), _mm256_unpacklo_epi8(w, zero),
                                _mm256_unpacklo_epi8(zero, w), alphaLow);
  const __m256i high = blendHalf(_mm256_unpackhi_epi8(l, zero), _mm256_unpackhi_epi8(w, zero),
                                 _mm256_unpackhi_epi8(zero, w), alphaHigh);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(window), _mm256_packus_epi16(low, high));
}

}  // namespace

QUORVEX_TARGET("avx2")
void blendAvx2(const BlendPlanes& planes, std::size_t n) {
  if (detail::needsReferenceOrder(planes, n)) return blendReference(planes, n);
  constexpr std::size_t kStep = 32;
  const __m256i zero = _mm256_setzero_si256();
  std::size_t p = 0;
  for (; p + kStep <= n; p += kStep) {
    // Same order of loads and stores as the SSE2 form, for the same reasons.
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(planes.alpha + p));
    const __m256i alphaLow = _mm256_unpacklo_epi8(a, zero);
    const __m256i alphaHigh = _mm256_unpackhi_epi8(a, zero);
    blendChannel(planes.red + p, planes.logoRed + p, alphaLow, alphaHigh);
    blendChannel(planes.green + p, planes.logoGreen + p, alphaLow, alphaHigh);
    blendChannel(planes.blue + p, planes.logoBlue + p, alphaLow, alphaHigh);
  }
  detail::blendPixels(planes, p, n);
}

#else

void blendAvx2(const BlendPlanes& planes, std::size_t n) {
  blendReference(planes, n);
}

#endif

}  // namespace quorvex::render
