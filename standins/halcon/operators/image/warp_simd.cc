#include "operators/image/warp_simd.h"

#include <cstring>

#include "operators/filters/image_kernels.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUORVEX_WARP_X86 1
#include <immintrin.h>
#else
#define QUORVEX_WARP_X86 0
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_WARP_X86
namespace {

// The low bytes of four gathered words, as doubles. Each word is gathered with the three bytes
// after its own, which the caller keeps inside the plane.
__attribute__((target("avx2"), always_inline)) inline __m256d bytesOf(__m128i gathered) {
  return _mm256_cvtepi32_pd(_mm_and_si128(gathered, _mm_set1_epi32(0xff)));
}

#if defined(__x86_64__)
// No fused multiply-add: the target is AVX2 alone, so that each product is rounded before
// its sum as in the scalar code.
__attribute__((target("avx2"))) std::size_t bilinearAvx2(const std::uint8_t* p, std::int32_t width,
                                                         std::int32_t height, const double* sr,
                                                         const double* sc, std::size_t count,
                                                         std::uint8_t* q) {
  const __m256d zero = _mm256_setzero_pd(), one = _mm256_set1_pd(1), half = _mm256_set1_pd(0.5);
  const __m256d top = _mm256_set1_pd(255), lastRow = _mm256_set1_pd(double(height - 1)),
                lastCol = _mm256_set1_pd(double(width - 1));
  const __m128i ones = _mm_set1_epi32(1), rows = _mm_set1_epi32(height - 1),
                cols = _mm_set1_epi32(width - 1), stride = _mm_set1_epi32(width);
  const __m128i limit =
      _mm_set1_epi32(static_cast<std::int32_t>(static_cast<std::int64_t>(width) * height - 4));
  const int* base = reinterpret_cast<const int*>(p);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    // std::clamp to the centres' span: below 0 gives 0, above the last centre the last.
    const __m256d x = _mm256_min_pd(_mm256_max_pd(_mm256_loadu_pd(sr + i), zero), lastRow);
    const __m256d y = _mm256_min_pd(_mm256_max_pd(_mm256_loadu_pd(sc + i), zero), lastCol);
    const __m128i r0 = _mm256_cvttpd_epi32(x), c0 = _mm256_cvttpd_epi32(y);
    const __m128i r1 = _mm_min_epi32(_mm_add_epi32(r0, ones), rows);
    const __m128i c1 = _mm_min_epi32(_mm_add_epi32(c0, ones), cols);
    const __m256d fr = _mm256_sub_pd(x, _mm256_cvtepi32_pd(r0));
    const __m256d fc = _mm256_sub_pd(y, _mm256_cvtepi32_pd(c0));
    const __m128i up = _mm_mullo_epi32(r0, stride), down = _mm_mullo_epi32(r1, stride);
    const __m128i o11 = _mm_add_epi32(down, c1);
    if (_mm_movemask_epi8(_mm_cmpgt_epi32(o11, limit)) != 0) break;
    // Each row's two neighbours in one gather: the right one is the next byte, or the same
    // one at the last column (c1 = c0), shifted down by 8 (c1 - c0) bits.
    const __m128i above = _mm_i32gather_epi32(base, _mm_add_epi32(up, c0), 1);
    const __m128i below = _mm_i32gather_epi32(base, _mm_add_epi32(down, c0), 1);
    const __m128i shift = _mm_slli_epi32(_mm_sub_epi32(c1, c0), 3);
    const __m256d p00 = bytesOf(above), p01 = bytesOf(_mm_srlv_epi32(above, shift));
    const __m256d p10 = bytesOf(below), p11 = bytesOf(_mm_srlv_epi32(below, shift));
    const __m256d gc = _mm256_sub_pd(one, fc), gr = _mm256_sub_pd(one, fr);
    const __m256d t = _mm256_add_pd(_mm256_mul_pd(p00, gc), _mm256_mul_pd(p01, fc));
    const __m256d d = _mm256_add_pd(_mm256_mul_pd(p10, gc), _mm256_mul_pd(p11, fc));
    __m256d v = _mm256_add_pd(_mm256_mul_pd(t, gr), _mm256_mul_pd(d, fr));
    // v > 0 ? v : 0, then v < 255 ? v : 255: max and min return their second operand
    // otherwise, NaN included.
    v = _mm256_min_pd(_mm256_max_pd(v, zero), top);
    const __m128i n = _mm256_cvttpd_epi32(_mm256_add_pd(v, half));
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(n, n), _mm_setzero_si128());
    const std::int32_t four = _mm_cvtsi128_si32(packed);
    std::memcpy(q + i, &four, 4);
  }
  return i;
}

__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512d eightBytesOf(__m256i gathered,
                                                                                   __m256i low) {
  return _mm512_maskz_cvtepi32_pd(0xff, _mm256_and_si256(gathered, low));
}

// The same steps on eight pixels in AVX-512 doubles; the compiler is told not to fuse their
// products and sums (CMakeLists), which this target would allow.
__attribute__((target(QUORVEX_AVX512))) std::size_t bilinearAvx512(
    const std::uint8_t* p, std::int32_t width, std::int32_t height, const double* sr,
    const double* sc, std::size_t count, std::uint8_t* q) {
  // GCC 12 takes the unmasked forms' undefined operand for uninitialised: all lanes masked in.
  const __mmask8 all = 0xff;
  const __m512d zero = _mm512_setzero_pd(), one = _mm512_set1_pd(1), half = _mm512_set1_pd(0.5);
  const __m512d top = _mm512_set1_pd(255), lastRow = _mm512_set1_pd(double(height - 1)),
                lastCol = _mm512_set1_pd(double(width - 1));
  const __m256i ones = _mm256_set1_epi32(1), rows = _mm256_set1_epi32(height - 1),
                cols = _mm256_set1_epi32(width - 1), stride = _mm256_set1_epi32(width),
                low = _mm256_set1_epi32(0xff);
  const __m256i limit =
      _mm256_set1_epi32(static_cast<std::int32_t>(static_cast<std::int64_t>(width) * height - 4));
  const int* base = reinterpret_cast<const int*>(p);
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m512d x =
        _mm512_maskz_min_pd(all, _mm512_maskz_max_pd(all, _mm512_loadu_pd(sr + i), zero), lastRow);
    const __m512d y =
        _mm512_maskz_min_pd(all, _mm512_maskz_max_pd(all, _mm512_loadu_pd(sc + i), zero), lastCol);
    const __m256i r0 = _mm512_maskz_cvttpd_epi32(all, x), c0 = _mm512_maskz_cvttpd_epi32(all, y);
    const __m256i r1 = _mm256_min_epi32(_mm256_add_epi32(r0, ones), rows);
    const __m256i c1 = _mm256_min_epi32(_mm256_add_epi32(c0, ones), cols);
    const __m512d fr = _mm512_sub_pd(x, _mm512_maskz_cvtepi32_pd(all, r0));
    const __m512d fc = _mm512_sub_pd(y, _mm512_maskz_cvtepi32_pd(all, c0));
    const __m256i up = _mm256_mullo_epi32(r0, stride), down = _mm256_mullo_epi32(r1, stride);
    if (_mm256_movemask_epi8(_mm256_cmpgt_epi32(_mm256_add_epi32(down, c1), limit)) != 0) break;
    const __m256i above = _mm256_i32gather_epi32(base, _mm256_add_epi32(up, c0), 1);
    const __m256i below = _mm256_i32gather_epi32(base, _mm256_add_epi32(down, c0), 1);
    const __m256i shift = _mm256_slli_epi32(_mm256_sub_epi32(c1, c0), 3);
    const __m512d p00 = eightBytesOf(above, low),
                  p01 = eightBytesOf(_mm256_srlv_epi32(above, shift), low);
    const __m512d p10 = eightBytesOf(below, low),
                  p11 = eightBytesOf(_mm256_srlv_epi32(below, shift), low);
    const __m512d gc = _mm512_sub_pd(one, fc), gr = _mm512_sub_pd(one, fr);
    const __m512d t = _mm512_add_pd(_mm512_mul_pd(p00, gc), _mm512_mul_pd(p01, fc));
    const __m512d d = _mm512_add_pd(_mm512_mul_pd(p10, gc), _mm512_mul_pd(p11, fc));
    __m512d v = _mm512_add_pd(_mm512_mul_pd(t, gr), _mm512_mul_pd(d, fr));
    v = _mm512_maskz_min_pd(all, _mm512_maskz_max_pd(all, v, zero), top);
    const __m256i n = _mm512_maskz_cvttpd_epi32(all, _mm512_add_pd(v, half));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(q + i), _mm256_maskz_cvtepi32_epi8(all, n));
  }
  return i;
}
#endif

// 16 pixels from 32 bytes of each row (8 from 16 a half): the even bytes weighed by vc, the
// odd by wc, in 16-bit lanes (255 * 128 fits), then the two rows by multiply-adds in 32 bits.
struct HalveSse2 {
  __m128i low, mc, wc, mr, half;
  __attribute__((target("sse2"), always_inline)) inline __m128i across(
      const std::uint8_t* p) const {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(x, low), mc),
                         _mm_mullo_epi16(_mm_srli_epi16(x, 8), wc));
  }
  __attribute__((target("sse2"), always_inline)) inline __m128i eight(
      const std::uint8_t* top, const std::uint8_t* bottom) const {
    const __m128i t = across(top), d = across(bottom);
    const __m128i s0 = _mm_madd_epi16(_mm_unpacklo_epi16(t, d), mr);
    const __m128i s1 = _mm_madd_epi16(_mm_unpackhi_epi16(t, d), mr);
    return _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(s0, half), 14),
                           _mm_srai_epi32(_mm_add_epi32(s1, half), 14));
  }
};

__attribute__((target("sse2"), always_inline)) inline HalveSse2 halveSse2Of(std::int32_t vc,
                                                                            std::int32_t vr) {
  return HalveSse2{_mm_set1_epi16(0xff), _mm_set1_epi16(static_cast<short>(vc)),
                   _mm_set1_epi16(static_cast<short>(128 - vc)),
                   _mm_set1_epi32((128 - vr) << 16 | vr), _mm_set1_epi32(8192)};
}

// Pixels from i on, 16 a step; inlined into the AVX2 loop too, whose tail it then writes in
// VEX instructions: legacy SSE instructions after it, with the upper halves of the registers
// in use, would cost a state change on every row.
__attribute__((target("sse2"), always_inline)) inline std::size_t halveSixteens(
    const HalveSse2& h, const std::uint8_t* top, const std::uint8_t* bottom, std::size_t i,
    std::size_t count, std::uint8_t* q) {
  for (; i + 16 <= count; i += 16) {
    const __m128i packed = _mm_packus_epi16(h.eight(top + 2 * i, bottom + 2 * i),
                                            h.eight(top + 2 * i + 16, bottom + 2 * i + 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q + i), packed);
  }
  return i;
}

__attribute__((target("sse2"))) std::size_t halveSse2(const std::uint8_t* top,
                                                      const std::uint8_t* bottom, std::int32_t vc,
                                                      std::int32_t vr, std::size_t count,
                                                      std::uint8_t* q) {
  return halveSixteens(halveSse2Of(vc, vr), top, bottom, 0, count, q);
}

// The same 32 pixels a step; the packs work within 128-bit halves, which the last step puts
// back in order.
struct HalveAvx2 {
  __m256i low, mc, wc, mr, half;
  __attribute__((target("avx2"), always_inline)) inline __m256i across(
      const std::uint8_t* p) const {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    return _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(x, low), mc),
                            _mm256_mullo_epi16(_mm256_srli_epi16(x, 8), wc));
  }
  __attribute__((target("avx2"), always_inline)) inline __m256i sixteen(
      const std::uint8_t* top, const std::uint8_t* bottom) const {
    const __m256i t = across(top), d = across(bottom);
    const __m256i s0 = _mm256_madd_epi16(_mm256_unpacklo_epi16(t, d), mr);
    const __m256i s1 = _mm256_madd_epi16(_mm256_unpackhi_epi16(t, d), mr);
    return _mm256_packs_epi32(_mm256_srai_epi32(_mm256_add_epi32(s0, half), 14),
                              _mm256_srai_epi32(_mm256_add_epi32(s1, half), 14));
  }
};

// The sums of the pairs of bytes at p, 16 bits each.
__attribute__((target("avx2"), always_inline)) inline __m256i pairSums(const std::uint8_t* p) {
  return _mm256_maddubs_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)),
                              _mm256_set1_epi8(1));
}

// The 2 x 2 sums of columns [i, b) in whole vectors of 32 pixels (AVX2); returns where it
// stopped. Where the columns [from, b) written hold a vector or more, a last vector ending at b
// writes the tail, over some pixels again with the same values.
__attribute__((target("avx2"), always_inline)) inline void blocksOf32(const std::uint8_t* top,
                                                                      const std::uint8_t* bottom,
                                                                      std::ptrdiff_t i,
                                                                      std::uint8_t* q) {
  const __m256i two = _mm256_set1_epi16(2);
  const __m256i x =
      _mm256_add_epi16(_mm256_add_epi16(pairSums(top + 2 * i), pairSums(bottom + 2 * i)), two);
  const __m256i y = _mm256_add_epi16(
      _mm256_add_epi16(pairSums(top + 2 * i + 32), pairSums(bottom + 2 * i + 32)), two);
  const __m256i packed = _mm256_packus_epi16(_mm256_srli_epi16(x, 2), _mm256_srli_epi16(y, 2));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(q + i), _mm256_permute4x64_epi64(packed, 0xd8));
}

__attribute__((target("avx2"))) std::ptrdiff_t blocksAvx2(const std::uint8_t* top,
                                                          const std::uint8_t* bottom,
                                                          std::ptrdiff_t i, std::ptrdiff_t b,
                                                          std::uint8_t* q, std::ptrdiff_t from) {
  for (; i + 32 <= b; i += 32) blocksOf32(top, bottom, i, q);
  if (i < b && b - from >= 32) {
    blocksOf32(top, bottom, b - 32, q);
    i = b;
  }
  return i;
}

__attribute__((target("avx2"))) std::size_t halveAvx2(const std::uint8_t* top,
                                                      const std::uint8_t* bottom, std::int32_t vc,
                                                      std::int32_t vr, std::size_t count,
                                                      std::uint8_t* q) {
  const HalveAvx2 h{_mm256_set1_epi16(0xff), _mm256_set1_epi16(static_cast<short>(vc)),
                    _mm256_set1_epi16(static_cast<short>(128 - vc)),
                    _mm256_set1_epi32((128 - vr) << 16 | vr), _mm256_set1_epi32(8192)};
  std::size_t i = 0;
  // Weights of a half each way: (4096 (a + b + c + d) + 8192) >> 14 is (a + b + c + d + 2) >> 2.
  if (vc == 64 && vr == 64) {
    i = static_cast<std::size_t>(
        blocksAvx2(top, bottom, 0, static_cast<std::ptrdiff_t>(count), q, 0));
  }
  for (; i + 32 <= count; i += 32) {
    const __m256i packed = _mm256_packus_epi16(h.sixteen(top + 2 * i, bottom + 2 * i),
                                               h.sixteen(top + 2 * i + 32, bottom + 2 * i + 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(q + i), _mm256_permute4x64_epi64(packed, 0xd8));
  }
  return halveSixteens(halveSse2Of(vc, vr), top, bottom, i, count, q);
}

#if defined(__x86_64__)
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i pairSums64(
    const std::uint8_t* p) {
  return _mm512_maddubs_epi16(_mm512_loadu_si512(p), _mm512_set1_epi8(1));
}

__attribute__((target(QUORVEX_AVX512))) std::ptrdiff_t blocksAvx512(const std::uint8_t* top,
                                                                    const std::uint8_t* bottom,
                                                                    std::ptrdiff_t i,
                                                                    std::ptrdiff_t b,
                                                                    std::uint8_t* q) {
  const __m512i two = _mm512_set1_epi16(2);
  // The packs interleave the two halves by 128-bit lanes: the quadwords put back in order.
  const __m512i order = _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7);
  for (; i + 64 <= b; i += 64) {
    const __m512i x = _mm512_add_epi16(
        _mm512_add_epi16(pairSums64(top + 2 * i), pairSums64(bottom + 2 * i)), two);
    const __m512i y = _mm512_add_epi16(
        _mm512_add_epi16(pairSums64(top + 2 * i + 64), pairSums64(bottom + 2 * i + 64)), two);
    const __m512i packed = _mm512_packus_epi16(_mm512_srli_epi16(x, 2), _mm512_srli_epi16(y, 2));
    _mm512_storeu_si512(q + i, _mm512_maskz_permutexvar_epi64(0xff, order, packed));
  }
  return i;
}
#endif

#if defined(__x86_64__)
__attribute__((target("avx2"))) std::size_t rampAvx2(double base, double slope, double centre,
                                                     std::size_t count, double* out) {
  const __m256d b = _mm256_set1_pd(base), s = _mm256_set1_pd(slope), m = _mm256_set1_pd(centre);
  __m128i c = _mm_setr_epi32(0, 1, 2, 3);
  const __m128i four = _mm_set1_epi32(4);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4, c = _mm_add_epi32(c, four)) {
    const __m256d d = _mm256_sub_pd(_mm256_cvtepi32_pd(c), m);
    _mm256_storeu_pd(out + i, _mm256_add_pd(b, _mm256_mul_pd(s, d)));
  }
  return i;
}
#endif

// max returns its second operand and min its first unless the first is below: NaN goes to
// the lower bound, as nearestIndex's comparisons send it.
__attribute__((target("avx2"))) std::size_t nearestAvx2(const double* x, std::size_t count,
                                                        std::int32_t* out) {
  const __m256d half = _mm256_set1_pd(0.5), low = _mm256_set1_pd(-1073741824.0),
                high = _mm256_set1_pd(1073741824.0);
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m256d t =
        _mm256_min_pd(_mm256_max_pd(_mm256_add_pd(_mm256_loadu_pd(x + i), half), low), high);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_cvttpd_epi32(_mm256_floor_pd(t)));
  }
  return i;
}

bool hasAvx2() {
  static const bool found = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return found;
}

}  // namespace

std::size_t bilinearVectors(const std::uint8_t* p, std::int32_t width, std::int32_t height,
                            const double* sr, const double* sc, std::size_t count,
                            std::uint8_t* q) {
#if defined(__x86_64__)
  if (cpuHasAvx512()) return bilinearAvx512(p, width, height, sr, sc, count, q);
  return hasAvx2() ? bilinearAvx2(p, width, height, sr, sc, count, q) : 0;
#else
  // The gathers fault in the 32-bit build under its emulator (the cause is not found yet):
  // 32-bit builds sample in scalar doubles, which give the same bytes.
  static_cast<void>(p), static_cast<void>(width), static_cast<void>(height);
  static_cast<void>(sr), static_cast<void>(sc), static_cast<void>(count), static_cast<void>(q);
  return 0;
#endif
}

std::size_t nearestVectors(const double* x, std::size_t count, std::int32_t* out) {
  return hasAvx2() ? nearestAvx2(x, count, out) : 0;
}

std::size_t rampVectors(double base, double slope, double centre, std::size_t count, double* out) {
#if defined(__x86_64__)
  return hasAvx2() ? rampAvx2(base, slope, centre, count, out) : 0;
#else
  // 32-bit builds may round in x87 registers: their ramps stay scalar.
  static_cast<void>(base), static_cast<void>(slope), static_cast<void>(centre);
  static_cast<void>(count), static_cast<void>(out);
  return 0;
#endif
}

std::size_t halveVectors(const std::uint8_t* top, const std::uint8_t* bottom, std::int32_t vc,
                         std::int32_t vr, std::size_t count, std::uint8_t* q) {
  return hasAvx2() ? halveAvx2(top, bottom, vc, vr, count, q)
                   : halveSse2(top, bottom, vc, vr, count, q);
}

#endif

namespace {

std::ptrdiff_t blocksVectors(const std::uint8_t* top, const std::uint8_t* bottom, std::ptrdiff_t a,
                             std::ptrdiff_t b, std::uint8_t* q) {
#if QUORVEX_WARP_X86
  const std::ptrdiff_t from = a;
#if defined(__x86_64__)
  if (cpuHasAvx512()) a = blocksAvx512(top, bottom, a, b, q);
#endif
  if (hasAvx2()) a = blocksAvx2(top, bottom, a, b, q, from);
#else
  static_cast<void>(top), static_cast<void>(bottom), static_cast<void>(b), static_cast<void>(q);
#endif
  return a;
}

}  // namespace

void halveBlocks(const std::uint8_t* top, std::ptrdiff_t inStride, std::int32_t a, std::int32_t b,
                 std::int32_t rows, std::uint8_t* q, std::ptrdiff_t outStride) {
  for (std::int32_t r = 0; r < rows; ++r, top += 2 * inStride, q += outStride) {
    const std::uint8_t* bottom = top + inStride;
    for (std::ptrdiff_t c = blocksVectors(top, bottom, a, b, q); c < b; ++c) {
      const int sum = top[2 * c] + top[2 * c + 1] + bottom[2 * c] + bottom[2 * c + 1];
      q[c] = static_cast<std::uint8_t>((sum + 2) >> 2);
    }
  }
}

#if QUORVEX_WARP_X86
#else

std::size_t nearestVectors(const double*, std::size_t, std::int32_t*) {
  return 0;
}

std::size_t rampVectors(double, double, double, std::size_t, double*) {
  return 0;
}

std::size_t halveVectors(const std::uint8_t*, const std::uint8_t*, std::int32_t, std::int32_t,
                         std::size_t, std::uint8_t*) {
  return 0;
}

std::size_t bilinearVectors(const std::uint8_t*, std::int32_t, std::int32_t, const double*,
                            const double*, std::size_t, std::uint8_t*) {
  return 0;
}

#endif

}  // namespace Standin
}  // namespace HalconCpp
