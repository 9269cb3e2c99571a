// How far a float sum may lie from the double one, with u = 2^-24 (2^-53 for doubles, far
// below): each sum runs from the outermost pair inwards, so that a step's result, which it
// rounds by at most u of itself, is 255 T(k) at most, T(k) the weights of the taps from k out
// (the whole sum 1 at the last). Down a column the steps round by at most 255 u (S + 1),
// S = T(1) + ... + T(reach), and the float weights differ from the double ones by 255 u;
// along the row the columns' errors come in under weights of sum 1, each pair's sum rounds by
// 510 u under its weight (255 u over all), the steps by 255 u (S + 1) and the weights by 255 u
// again: 255 u (2 S + 5) in all, taken as 256 u (2 S + 6). Deciding the rounding adds at
// most one step of a float near 256, 2^-15. Taps left out at the ends (of weights L in all)
// move a column by at most 255 L and the row by as much again. The AVX-512 columns summed in
// whole numbers instead stay within the float columns' share, 255 u (S + 2) (fixedWeights).
#include "operators/filters/gauss_floats.h"

#include "operators/filters/gauss_phases.h"
#include "operators/filters/gauss_pixels.h"
#include "operators/filters/gauss_words.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/image.h"
#include "core/threads.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUORVEX_GAUSS_FLOATS 1
#include <immintrin.h>
#else
#define QUORVEX_GAUSS_FLOATS 0
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_GAUSS_FLOATS
namespace {

// Beyond this reach the bound passes a few thousandths and the pixels summed again in doubles
// cost more than floats save.
constexpr std::int32_t kLongestReach = 48;
// Taps out to 6.44 sigma weigh 10^-9 of the centre at the last; those beyond about 5 sigma
// together move a sum of bytes by a third of what the floats' own error may, which sends a
// third more pixels to the doubles (a few in ten thousand), and cost a fifth of the work.
// (At a quarter of this, 5.5 sigma, smooth_image 'gauss' 2 took some 2 % longer.)
constexpr double kLeftOut = 1.0 / (1 << 23);
// With nearPixel, some 4.5 sigma and beyond: the pixels summed again some two and a half times
// as many, at a tenth of the portable ones' cost each, and the floats' taps a pair fewer for
// sigma 2 (some 3 % off its time, nearPixel's greater share taken).
constexpr double kLeftOutNear = 1.0 / (1 << 19);

bool cpuHasFma() {
  static const bool fma = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
  }();
  return fma;
}

struct Band {
  std::vector<float> lines;  // 2 reach + 1 rows of floats, a place of the continuation each
  std::vector<std::int32_t> loaded;
  std::vector<float> extended;
  ExactPixels exact;
  // The pixels of the wide rows left to sum again, (row, column) in order: each waits until
  // the columns have read the rows it reaches beyond theirs, the outermost taps' rows the
  // floats leave out, which it would otherwise wait for from memory.
  std::vector<std::pair<std::int32_t, std::int32_t>> pending;
  std::vector<std::uint64_t> unsure;  // a row's undecided pixels, 64 a word
};

// The taps this near the centre take their columns' sums from six vectors loaded once, shifted
// by whole floats, rather than each from two loads that mostly cross a line of the cache: a
// tenth off the row's time. Neither half of it pays back: the left taps from loads and the
// right ones shifted took as long (sigma 2, 4096x2160, one thread, within the noise of 3 %),
// and 16 rows turned in tiles of 16 x 16, a tap then a vector from another column, some 5 %
// longer: its 19 loads a column and the turns back and forth cost what the shifts saved.
constexpr std::size_t kShifted = 15;
// The vectors reach 16 floats beyond the continuation's ends, where they are read and not used.
constexpr std::size_t kMargin = 16;

// Tap K of the four vectors' sums.
template <int K>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void addShifted(
    const __m512i (&base)[6], const float* gf, __m512 (&acc)[4]) {
  const __m512 g = _mm512_set1_ps(gf[K]);
  const __mmask16 all = 0xffff;
  for (int v = 0; v < 4; ++v) {
    const __m512 left =
        _mm512_castsi512_ps(_mm512_maskz_alignr_epi32(all, base[v + 1], base[v], 16 - K));
    const __m512 right =
        _mm512_castsi512_ps(_mm512_maskz_alignr_epi32(all, base[v + 2], base[v + 1], K));
    acc[v] = _mm512_fmadd_ps(g, _mm512_add_ps(left, right), acc[v]);
  }
}

// Taps K, K - 1, ... 1 of the four vectors' sums, those the row reaches, from the outermost in
// as the loaded taps before them.
template <int K>
__attribute__((target(QUORVEX_AVX512), always_inline)) inline void shiftedTaps(
    const __m512i (&base)[6], const float* gf, std::size_t r, __m512 (&acc)[4]) {
  if (std::size_t{K} <= r) addShifted<K>(base, gf, acc);
  if constexpr (K > 1) shiftedTaps<K - 1>(base, gf, r, acc);
}

// Along the row for the 64 pixels from col[0], in four vectors whose chains of multiply-adds
// interleave, rounded into out; the lanes the floats cannot decide are set in the mask returned.
// For the reaches beyond the phases' (gauss_phases.h), whose 64 pixels take 16 + 47 shifts at
// most: the other taps from loads.
__attribute__((target(QUORVEX_AVX512))) std::uint64_t rowAvx512(const float* col, const float* gf,
                                                                std::size_t reach, float low,
                                                                float high, std::uint8_t* out) {
  const std::size_t r = reach;
  constexpr int kVectors = 4;
  __m512 acc[kVectors];
  for (__m512& a : acc) a = _mm512_setzero_ps();
  for (std::size_t k = r; k > kShifted; --k) {
    const __m512 g = _mm512_set1_ps(gf[k]);
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v) {
      const float* c = col + 16 * v;
      acc[v] =
          _mm512_fmadd_ps(g, _mm512_add_ps(_mm512_loadu_ps(c - k), _mm512_loadu_ps(c + k)), acc[v]);
    }
  }
  __m512i base[kVectors + 2];
  for (int i = 0; i < kVectors + 2; ++i) {
    base[i] = _mm512_castps_si512(_mm512_loadu_ps(col + 16 * (i - 1)));
  }
  shiftedTaps<kShifted>(base, gf, r, acc);
  // The masked forms throughout, all lanes on: GCC 12 warns of the unmasked ones' undefined
  // sources.
  const __mmask16 all = 0xffff;
  const __m512 g0 = _mm512_set1_ps(gf[0]);
  std::uint64_t unsure = 0;
  __m512i values[kVectors];
#pragma GCC unroll 4
  for (int v = 0; v < kVectors; ++v) {
    const __m512 sum = _mm512_fmadd_ps(g0, _mm512_loadu_ps(col + 16 * v), acc[v]);
    const __m512 t = _mm512_add_ps(sum, _mm512_set1_ps(0.5f));
    const __m512 whole =
        _mm512_mask_roundscale_ps(t, all, t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    const __m512 part = _mm512_sub_ps(t, whole);
    const __mmask16 lanes = _mm512_cmp_ps_mask(part, _mm512_set1_ps(low), _CMP_LT_OQ) |
                            _mm512_cmp_ps_mask(part, _mm512_set1_ps(high), _CMP_GT_OQ);
    unsure |= std::uint64_t{lanes} << (16 * v);
    values[v] = _mm512_mask_cvttps_epi32(_mm512_setzero_si512(), all, whole);
  }
  // The packs saturate, which clamps to 0 ... 255 as roundedByte does. They work within each
  // 128-bit lane, leaving four bytes of each vector in turn there: the permute puts the groups
  // of four back in order.
  const __m512i words01 = _mm512_maskz_packus_epi32(~__mmask32{0}, values[0], values[1]);
  const __m512i words23 = _mm512_maskz_packus_epi32(~__mmask32{0}, values[2], values[3]);
  const __m512i bytes = _mm512_maskz_packus_epi16(~__mmask64{0}, words01, words23);
  const __m512i order = _mm512_set_epi32(15, 11, 7, 3, 14, 10, 6, 2, 13, 9, 5, 1, 12, 8, 4, 0);
  _mm512_storeu_si512(out, _mm512_maskz_permutexvar_epi32(all, order, bytes));
  return unsure;
}

__attribute__((target("avx2,fma"))) void floatRows(const SampledGauss& job,
                                                   const std::vector<float>& gf,
                                                   const std::vector<float>& gr, float below,
                                                   float above, std::int32_t y0, std::int32_t y1,
                                                   Band& b, bool wide, const FixedWeights* fixed) {
  const std::int32_t w = job.size.width;
  const auto width = static_cast<std::size_t>(w);
  const auto reach = static_cast<std::int32_t>(gf.size() - 1);
  const auto r = static_cast<std::size_t>(reach);
  const std::size_t slots = 2 * r + 1;
  const std::size_t full = job.g->size() - 1, skip = full - r;
  const std::vector<std::int32_t>&rows = *job.rows, &columns = *job.columns;
  const Extent& extent = *job.extent;
  float* const ext = b.extended.data() + kMargin;
  const auto line = [&](std::size_t i) {
    float* p = b.lines.data() + (i % slots) * width;
    if (b.loaded[i % slots] != static_cast<std::int32_t>(i)) {
      const std::uint8_t* in = job.src + rowStart(rows[i], w);
      for (std::size_t x = 0; x < width; ++x) p[x] = in[x];
      b.loaded[i % slots] = static_cast<std::int32_t>(i);
    }
    return static_cast<const float*>(p);
  };
  const __m256 half = _mm256_set1_ps(0.5f), low = _mm256_set1_ps(below),
               high = _mm256_set1_ps(above), top = _mm256_set1_ps(255);
  const __m256 g0 = _mm256_set1_ps(gf[0]);
  // The whole-number columns' sums come in units of hiScale (fixedWeights), a power of two, and
  // the rows' weights in its inverse, which leaves every product and sum the same float.
  const float unit = fixed ? 1 / fixed->hiScale : 1;
  const PhaseRow phases = wide ? phaseRowFor(r) : nullptr;
  const auto settle = [&](std::int32_t last) {
    std::size_t i = 0;
    for (; i < b.pending.size() && b.pending[i].first <= last; ++i) {
      const auto [py, px] = b.pending[i];
      job.dst[rowStart(py, w) + static_cast<std::size_t>(px)] =
          exactPixel(job, py, px, b.exact, wide);
    }
    b.pending.erase(b.pending.begin(), b.pending.begin() + static_cast<std::ptrdiff_t>(i));
  };
  const float* taps[2 * kLongestReach + 1];
  const std::uint8_t* bytes[2 * kLongestReach + 1];
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const auto a0 = static_cast<std::size_t>(std::max(0, c0 - reach));
    const auto a1 = static_cast<std::size_t>(std::min(w - 1, c1 + reach)) + 1;
    // The continuations hold the whole reach; the sums may stop short of it.
    const auto centre = static_cast<std::size_t>(y) + full;
    // Down the columns into the row's continuation, at its place r + x.
    float* col = ext + r;
    std::size_t x = a0;
    if (fixed) {
      // From the bytes alone: a quarter of the memory the rows of floats take, which is what
      // the sums wait on. The last columns in floats, each pair summed exactly.
      for (std::size_t k = 0; k < slots; ++k)
        bytes[k] = job.src + rowStart(rows[centre - r + k], w);
      x = wordColumnsAvx512(bytes, *fixed, r, x, a1, col);
      for (; x < a1; ++x) {
        float acc = 0;
        for (std::size_t k = r; k > 0; --k) {
          acc = std::fma(gf[k], float(bytes[r - k][x]) + float(bytes[r + k][x]), acc);
        }
        col[x] = std::fma(gf[0], float(bytes[r][x]), acc) * unit;
      }
    } else {
      for (std::size_t k = 0; k < slots; ++k) taps[k] = line(centre - r + k);
    }
    for (; x + 8 <= a1; x += 8) {
      __m256 acc = _mm256_setzero_ps();
      for (std::size_t k = r; k > 0; --k) {
        const __m256 pair =
            _mm256_add_ps(_mm256_loadu_ps(taps[r - k] + x), _mm256_loadu_ps(taps[r + k] + x));
        acc = _mm256_fmadd_ps(_mm256_set1_ps(gf[k]), pair, acc);
      }
      _mm256_storeu_ps(col + x, _mm256_fmadd_ps(g0, _mm256_loadu_ps(taps[r] + x), acc));
    }
    for (; x < a1; ++x) {
      float acc = 0;
      for (std::size_t k = r; k > 0; --k)
        acc = std::fma(gf[k], taps[r - k][x] + taps[r + k][x], acc);
      col[x] = std::fma(gf[0], taps[r][x], acc);
    }
    const auto e0 = static_cast<std::size_t>(c0), e1 = static_cast<std::size_t>(c1) + 1;
    // Beyond the edges the continuation mirrors the row's own sums.
    for (std::size_t i = e0; i < std::min(r, e1 + 2 * r); ++i) ext[i] = col[columns[i + skip]];
    for (std::size_t i = std::max(r + width, e0); i < e1 + 2 * r; ++i) {
      ext[i] = col[columns[i + skip]];
    }
    std::uint8_t* out = job.dst + rowStart(y, w);
    x = e0;
    const auto later = [&](std::uint64_t unsure, std::size_t from) {
      for (; unsure != 0; unsure &= unsure - 1) {
        const std::size_t lane = from + static_cast<std::size_t>(__builtin_ctzll(unsure));
        b.pending.emplace_back(y, static_cast<std::int32_t>(lane));
      }
    };
    if (phases) {
      const std::size_t stop = phases(col, x, e1, gr.data(), below, above, out, b.unsure.data());
      for (std::size_t k = 0; x < stop; x += 64, ++k) later(b.unsure[k], x);
    }
    for (; wide && x + 64 <= e1; x += 64) {
      later(rowAvx512(col + x, gr.data(), r, below, above, out + x), x);
    }
    for (; x + 8 <= e1; x += 8) {
      __m256 acc = _mm256_setzero_ps();
      for (std::size_t k = r; k > 0; --k) {
        const __m256 pair =
            _mm256_add_ps(_mm256_loadu_ps(col + x - k), _mm256_loadu_ps(col + x + k));
        acc = _mm256_fmadd_ps(_mm256_set1_ps(gr[k]), pair, acc);
      }
      acc = _mm256_fmadd_ps(_mm256_set1_ps(gr[0]), _mm256_loadu_ps(col + x), acc);
      const __m256 t = _mm256_add_ps(acc, half);
      const __m256 whole = _mm256_floor_ps(t);
      const __m256 part = _mm256_sub_ps(t, whole);
      const int unsure = _mm256_movemask_ps(_mm256_or_ps(_mm256_cmp_ps(part, low, _CMP_LT_OQ),
                                                         _mm256_cmp_ps(part, high, _CMP_GT_OQ)));
      const __m256i values =
          _mm256_cvttps_epi32(_mm256_min_ps(_mm256_max_ps(whole, _mm256_setzero_ps()), top));
      const __m128i words =
          _mm_packs_epi32(_mm256_castsi256_si128(values), _mm256_extracti128_si256(values, 1));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(words, words));
      for (int lane = 0; lane < 8; ++lane) {
        if (unsure >> lane & 1) {
          out[x + std::size_t(lane)] =
              exactPixel(job, y, static_cast<std::int32_t>(x) + lane, b.exact, wide);
        }
      }
    }
    for (; x < e1; ++x) {
      float acc = 0;
      for (std::size_t k = r; k > 0; --k) acc = std::fma(gr[k], col[x - k] + col[x + k], acc);
      acc = std::fma(gr[0], col[x], acc);
      const float t = acc + 0.5f, whole = std::floor(t), part = t - whole;
      out[x] = part < below || part > above
                   ? exactPixel(job, y, static_cast<std::int32_t>(x), b.exact, wide)
                   : static_cast<std::uint8_t>(std::min(std::max(whole, 0.0f), 255.0f));
    }
    settle(y - static_cast<std::int32_t>(skip));
  }
  settle(y1);
}

}  // namespace
#endif

bool sampledGaussFloats(const SampledGauss& job, const NextRows& next) {
#if QUORVEX_GAUSS_FLOATS
  const auto reach = static_cast<std::int32_t>(job.g->size() - 1);
  if (reach > kLongestReach || !cpuHasFma()) return false;
  // The outermost taps, of weights below kLeftOut together (both sides), are left out of both
  // sums: a column misses at most 255 kLeftOut, and the row as much again beside the columns'
  // shortfall under weights of sum 1. Their weights and the bytes are not negative, so the
  // float sums fall short by that at most and never exceed by it: the bound above takes it in
  // and the one below does not. nearPixel's undecided pixels cost a tenth of the portable
  // ones', which leaves more taps out where it runs (AVX-512, reach 15 at most).
  const std::vector<double>& g = *job.g;
  const bool wide = cpuHasAvx512();
  FixedWeights all{};
  // The whole weights' own error decides nearPixel's margin, not the floats' bound (steps).
  const bool near = wide && reach <= 15 && fixedWeights(g, g.size(), 1e9, &all);
  const double limit = near ? kLeftOutNear : kLeftOut;
  std::size_t taps = g.size();
  double leftOut = 0;
  while (taps > 1 && leftOut + 2 * g[taps - 1] <= limit) leftOut += 2 * g[--taps];
  std::vector<float> gf(g.begin(), g.begin() + static_cast<std::ptrdiff_t>(taps));
  double outer = 0, steps = 0;  // T(k), S
  for (std::size_t k = gf.size(); k-- > 1;) steps += outer += 2.0 * double(gf[k]);
  const double bound = std::ldexp((2 * steps + 6) * 256 * 1.001 + 512, -24) + 1e-9;
  const auto below = static_cast<float>(bound);
  const auto above = static_cast<float>(1 - bound - 2 * 255 * leftOut * 1.001);
  const auto width = static_cast<std::size_t>(job.size.width);
  const std::size_t slots = 2 * (taps - 1) + 1;
  FixedWeights fixed{};
  const bool whole = wide && fixedWeights(g, gf.size(), steps, &fixed);
  // The rows of floats only for the columns summed from them.
  Band b{std::vector<float>(whole ? 0 : slots * width),
         std::vector<std::int32_t>(slots, -1),
         std::vector<float>(width + 2 * static_cast<std::size_t>(reach) + 2 * kMargin),
         ExactPixels(width, g.size()),
         {},
         std::vector<std::uint64_t>(width / 64 + 1)};
  if (near) b.exact.setWhole(&all, g);
  std::vector<float> rowWeights = gf;
  if (whole) {
    for (float& v : rowWeights) v *= fixed.hiScale;
  }
  for (std::int32_t y0 = 0, y1 = 0; next(y0, y1);) {
    floatRows(job, gf, rowWeights, below, above, y0, y1, b, wide, whole ? &fixed : nullptr);
  }
  return true;
#else
  (void)job, (void)next;
  return false;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
