// The weights split in two words each, and the columns' sums of 32 columns at a time in them.
#include "operators/filters/gauss_words.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "operators/filters/vector_targets.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

bool fixedWeights(const std::vector<double>& g, std::size_t taps, double steps, FixedWeights* fw) {
  const int s1 = std::min(15, static_cast<int>(std::floor(std::log2(32767 / g[0]))));
  const int s2 = s1 + 15;
  const double error = std::ldexp(double(taps) * 255 + 16, -s2) + std::ldexp(1, -17);
  if (s1 < 1 || error * 1.001 > std::ldexp(255 * (steps + 2), -24)) return false;
  std::vector<std::int32_t> hi(taps + 1, 0), lo(taps + 1, 0);
  for (std::size_t k = 0; k < taps; ++k) {
    const double scaled = std::ldexp(g[k], s1);
    hi[k] = static_cast<std::int32_t>(std::lround(scaled));
    lo[k] = static_cast<std::int32_t>(std::lround(std::ldexp(scaled - hi[k], 15)));
  }
  const auto word = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(a)) |
                                     static_cast<std::uint32_t>(static_cast<std::uint16_t>(b))
                                         << 16);
  };
  for (std::size_t j = 0; 2 * j < taps; ++j) {
    fw->hi.push_back(word(hi[2 * j], hi[2 * j + 1]));
    fw->lo.push_back(word(lo[2 * j], lo[2 * j + 1]));
  }
  fw->hiScale = static_cast<float>(std::ldexp(1, -s1));
  fw->loScale = static_cast<float>(std::ldexp(1, -s2));
  return true;
}

#if QUORVEX_KERNELS_AVX2
namespace {

bool cpuHasVnni() {
  static const bool vnni = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512vnni") != 0;
  }();
  return vnni;
}

__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i wordsOf(
    const std::uint8_t* p) {
  return _mm512_maskz_cvtepu8_epi16(~__mmask32{0},
                                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
}

// A pair of taps' bytes summed, as 32 words.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512i pairWords(
    const std::uint8_t* up, const std::uint8_t* down) {
  return _mm512_add_epi16(wordsOf(up), wordsOf(down));
}

// The whole-number sums of 32 columns: hi and lo weights, each in two vectors.
struct ColumnSums {
  __m512i hiA, hiB, loA, loB;
};

// Two taps' words (t0 of the group's even tap, t1 of its odd one) under their weights; with
// Vnni each multiply-add of words and its sum in one instruction (AVX-512 VNNI), written out
// because the intrinsic would need the whole path compiled for VNNI.
template <bool Vnni>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void addTaps(ColumnSums& s,
                                                                           __m512i t0, __m512i t1,
                                                                           __m512i wh, __m512i wl) {
  const __m512i a = _mm512_unpacklo_epi16(t0, t1), b = _mm512_unpackhi_epi16(t0, t1);
  if constexpr (Vnni) {
    asm("vpdpwssd %2, %1, %0" : "+v"(s.hiA) : "v"(a), "v"(wh));
    asm("vpdpwssd %2, %1, %0" : "+v"(s.hiB) : "v"(b), "v"(wh));
    asm("vpdpwssd %2, %1, %0" : "+v"(s.loA) : "v"(a), "v"(wl));
    asm("vpdpwssd %2, %1, %0" : "+v"(s.loB) : "v"(b), "v"(wl));
  } else {
    s.hiA = _mm512_add_epi32(s.hiA, _mm512_madd_epi16(a, wh));
    s.hiB = _mm512_add_epi32(s.hiB, _mm512_madd_epi16(b, wh));
    s.loA = _mm512_add_epi32(s.loA, _mm512_madd_epi16(a, wl));
    s.loB = _mm512_add_epi32(s.loB, _mm512_madd_epi16(b, wl));
  }
}

// N blocks of 32 columns from x (r >= 1): the centre with the first pair, then two pairs a
// step without a choice in it, and the last pair alone when r is even. Each tap's rows and
// weights are fetched once for all the blocks.
template <int N, bool Vnni>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void columnSums(
    const std::uint8_t* const* lines, const FixedWeights& fw, std::size_t r, std::size_t x,
    ColumnSums (&s)[N]) {
  for (ColumnSums& sums : s)
    sums = {_mm512_setzero_si512(), _mm512_setzero_si512(), _mm512_setzero_si512(),
            _mm512_setzero_si512()};
  __m512i wh = _mm512_set1_epi32(fw.hi[0]), wl = _mm512_set1_epi32(fw.lo[0]);
  for (int n = 0; n < N; ++n) {
    const std::size_t at = x + 32 * std::size_t(n);
    addTaps<Vnni>(s[n], wordsOf(lines[r] + at), pairWords(lines[r - 1] + at, lines[r + 1] + at), wh,
                  wl);
  }
  std::size_t j = 1;
  for (; 2 * j + 1 <= r; ++j) {
    wh = _mm512_set1_epi32(fw.hi[j]), wl = _mm512_set1_epi32(fw.lo[j]);
    const std::uint8_t *up0 = lines[r - 2 * j], *down0 = lines[r + 2 * j];
    const std::uint8_t *up1 = lines[r - 2 * j - 1], *down1 = lines[r + 2 * j + 1];
    for (int n = 0; n < N; ++n) {
      const std::size_t at = x + 32 * std::size_t(n);
      addTaps<Vnni>(s[n], pairWords(up0 + at, down0 + at), pairWords(up1 + at, down1 + at), wh, wl);
    }
  }
  if (2 * j == r) {
    wh = _mm512_set1_epi32(fw.hi[j]), wl = _mm512_set1_epi32(fw.lo[j]);
    for (int n = 0; n < N; ++n) {
      const std::size_t at = x + 32 * std::size_t(n);
      addTaps<Vnni>(s[n], pairWords(lines[0] + at, lines[2 * r] + at), _mm512_setzero_si512(), wh,
                    wl);
    }
  }
}

// hi + lo 2^-15, (hi 2^-s1 + lo 2^-s2) 2^s1: the sum rounded once, in units of 2^-s1 (the
// rows' weights take the 2^-s1, which leaves every product the same), so no multiply.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512 totalOf(__m512i hi, __m512i lo,
                                                                             __m512 loScale) {
  const __mmask16 all = 0xffff;
  return _mm512_fmadd_ps(_mm512_maskz_cvtepi32_ps(all, lo), loScale,
                         _mm512_maskz_cvtepi32_ps(all, hi));
}

// Down the columns [x, a1) in whole groups of 32 into col, returning where they stop: the sums
// exact integers, two taps a multiply-add of words (no conversions to floats on the way), and
// only the total rounded into a float: hi 2^-s1 (exact) + lo 2^-s2, rounded once. The words'
// interleaving holds pixels 0-3, 8-11, ... in one vector and 4-7, 12-15, ... in the other,
// which the stores put back in order.
// Reach R, or `reach` where R is 0: with the reach known the taps' steps are laid out whole.
template <bool Vnni, std::size_t R = 0>
__attribute__((target(QUORVEX_AVX512))) std::size_t columnsMaddAvx512(
    const std::uint8_t* const* lines, const FixedWeights& fw, std::size_t reach, std::size_t x,
    std::size_t a1, float* col) {
  const std::size_t r = R > 0 ? R : reach;
  if (r == 0) return x;
  const __m512 loScale = _mm512_set1_ps(fw.loScale / fw.hiScale);
  const __m512i first = _mm512_set_epi32(23, 22, 21, 20, 7, 6, 5, 4, 19, 18, 17, 16, 3, 2, 1, 0);
  const __m512i second =
      _mm512_set_epi32(31, 30, 29, 28, 15, 14, 13, 12, 27, 26, 25, 24, 11, 10, 9, 8);
  for (; x + 64 <= a1; x += 64) {
    ColumnSums s[2];
    columnSums<2, Vnni>(lines, fw, r, x, s);
    for (int n = 0; n < 2; ++n) {
      const __m512 a = totalOf(s[n].hiA, s[n].loA, loScale);
      const __m512 b = totalOf(s[n].hiB, s[n].loB, loScale);
      _mm512_storeu_ps(col + x + 32 * n, _mm512_permutex2var_ps(a, first, b));
      _mm512_storeu_ps(col + x + 32 * n + 16, _mm512_permutex2var_ps(a, second, b));
    }
  }
  for (; x + 32 <= a1; x += 32) {
    ColumnSums s[1];
    columnSums<1, Vnni>(lines, fw, r, x, s);
    const __m512 a = totalOf(s[0].hiA, s[0].loA, loScale);
    const __m512 b = totalOf(s[0].hiB, s[0].loB, loScale);
    _mm512_storeu_ps(col + x, _mm512_permutex2var_ps(a, first, b));
    _mm512_storeu_ps(col + x + 16, _mm512_permutex2var_ps(a, second, b));
  }
  return x;
}

// Eight sums hi 2^-s1 + lo 2^-s2 into out.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void storeExact(
    __m256i hi, __m256i lo, __m512d hiScale, __m512d loScale, double* out) {
  const __mmask8 all = 0xff;
  _mm512_storeu_pd(out, _mm512_add_pd(_mm512_mul_pd(_mm512_maskz_cvtepi32_pd(all, hi), hiScale),
                                      _mm512_mul_pd(_mm512_maskz_cvtepi32_pd(all, lo), loScale)));
}

// The 32 columns' sums from x in doubles, each hi 2^-s1 + lo 2^-s2 without rounding: below
// 2^9 and whole in 2^-s2 (s2 <= 30), well within a double's 53 bits.
template <bool Vnni, std::size_t R = 0>
__attribute__((target(QUORVEX_AVX512))) void columnsExactAvx512(const std::uint8_t* const* lines,
                                                                const FixedWeights& fw,
                                                                std::size_t reach, std::size_t x,
                                                                double* sums) {
  const std::size_t r = R > 0 ? R : reach;
  ColumnSums s[1];
  columnSums<1, Vnni>(lines, fw, r, x, s);
  const __m512i first = _mm512_set_epi32(23, 22, 21, 20, 7, 6, 5, 4, 19, 18, 17, 16, 3, 2, 1, 0);
  const __m512i second =
      _mm512_set_epi32(31, 30, 29, 28, 15, 14, 13, 12, 27, 26, 25, 24, 11, 10, 9, 8);
  const __m512d hiScale = _mm512_set1_pd(double(fw.hiScale));
  const __m512d loScale = _mm512_set1_pd(double(fw.loScale));
  const __m512i hi[2] = {_mm512_permutex2var_epi32(s[0].hiA, first, s[0].hiB),
                         _mm512_permutex2var_epi32(s[0].hiA, second, s[0].hiB)};
  const __m512i lo[2] = {_mm512_permutex2var_epi32(s[0].loA, first, s[0].loB),
                         _mm512_permutex2var_epi32(s[0].loA, second, s[0].loB)};
  for (int v = 0; v < 2; ++v) {
    storeExact(_mm512_maskz_extracti64x4_epi64(0xf, hi[v], 0),
               _mm512_maskz_extracti64x4_epi64(0xf, lo[v], 0), hiScale, loScale, sums + 16 * v);
    storeExact(_mm512_maskz_extracti64x4_epi64(0xf, hi[v], 1),
               _mm512_maskz_extracti64x4_epi64(0xf, lo[v], 1), hiScale, loScale, sums + 16 * v + 8);
  }
}

// The columns' sums for each reach up to 15 laid out whole (with VNNI), some 4 % off
// smooth_image 'gauss' 2 (4096x2160): the loop over the taps' steps and its pointers cost
// slots on the ports the vectors need.
constexpr std::size_t kWholeReaches = 15;

using WordColumns = std::size_t (*)(const std::uint8_t* const*, const FixedWeights&, std::size_t,
                                    std::size_t, std::size_t, float*);
using ExactColumns = void (*)(const std::uint8_t* const*, const FixedWeights&, std::size_t,
                              std::size_t, double*);

template <std::size_t... R>
WordColumns wordColumnsOf(std::size_t r, std::index_sequence<R...>) {
  WordColumns chosen = &columnsMaddAvx512<true>;
  (void)((r == R + 1 ? (chosen = &columnsMaddAvx512<true, R + 1>, true) : false) || ...);
  return chosen;
}

template <std::size_t... R>
ExactColumns exactColumnsOf(std::size_t r, std::index_sequence<R...>) {
  ExactColumns chosen = &columnsExactAvx512<true>;
  (void)((r == R + 1 ? (chosen = &columnsExactAvx512<true, R + 1>, true) : false) || ...);
  return chosen;
}

}  // namespace

void wordColumnsExactAvx512(const std::uint8_t* const* lines, const FixedWeights& fw, std::size_t r,
                            std::size_t x, double* sums) {
  if (cpuHasVnni()) {
    exactColumnsOf(r, std::make_index_sequence<kWholeReaches>())(lines, fw, r, x, sums);
  } else {
    columnsExactAvx512<false>(lines, fw, r, x, sums);
  }
}

std::size_t wordColumnsAvx512(const std::uint8_t* const* lines, const FixedWeights& fw,
                              std::size_t r, std::size_t x, std::size_t a1, float* col) {
  if (!cpuHasVnni()) return columnsMaddAvx512<false>(lines, fw, r, x, a1, col);
  return wordColumnsOf(r, std::make_index_sequence<kWholeReaches>())(lines, fw, r, x, a1, col);
}
#else
void wordColumnsExactAvx512(const std::uint8_t* const*, const FixedWeights&, std::size_t,
                            std::size_t, double*) {}

std::size_t wordColumnsAvx512(const std::uint8_t* const*, const FixedWeights&, std::size_t,
                              std::size_t x, std::size_t, float*) {
  return x;
}
#endif

}  // namespace Standin
}  // namespace HalconCpp
