// How far a float sum may lie from the double one, with u = 2^-24 (2^-53 for doubles, far
// below): each sum runs from the outermost pair inwards, so that a step's result, which it
// rounds by at most u of itself, is 255 T(k) at most, T(k) the weights of the taps from k out
// (the whole sum 1 at the last). Down a column the steps round by at most 255 u (S + 1),
// S = T(1) + ... + T(reach), and the float weights differ from the double ones by 255 u;
// along the row the columns' errors come in under weights of sum 1, each pair's sum rounds by
// 510 u under its weight (255 u over all), the steps by 255 u (S + 1) and the weights by 255 u
// again: 255 u (2 S + 5) in all, taken as 256 u (2 S + 6). Deciding the rounding adds at
// most one step of a float near 256, 2^-15.
#include "operators/filters/gauss_floats.h"

#include <algorithm>
#include <cmath>

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

bool cpuHasFma() {
  static const bool fma = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
  }();
  return fma;
}

std::size_t at(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

// The portable sums of one pixel, its columns' sums kept for the row's other pixels:
// `stamp[x]` is the row + 1 whose column sum `kept[x]` holds. Apart from the vector code, so
// that nothing fuses its multiplies and adds.
__attribute__((noinline)) std::uint8_t portablePixel(const SampledGauss& job, std::int32_t y,
                                                     std::int32_t x, double* kept,
                                                     std::int32_t* stamp) {
  const std::vector<double>& g = *job.g;
  const std::vector<std::int32_t>&rows = *job.rows, &columns = *job.columns;
  const std::int32_t w = job.size.width;
  const auto reach = static_cast<std::int32_t>(g.size() - 1);
  const std::size_t centre = static_cast<std::size_t>(y + reach);
  const auto column = [&](std::int32_t i) {
    const auto cx = static_cast<std::size_t>(columns[static_cast<std::size_t>(i)]);
    if (stamp[cx] == y + 1) return kept[cx];
    double sum = g[0] * job.src[at(rows[centre], w) + cx];
    for (std::size_t k = 1; k < g.size(); ++k) {
      sum += g[k] * (job.src[at(rows[centre - k], w) + cx] + job.src[at(rows[centre + k], w) + cx]);
    }
    stamp[cx] = y + 1;
    return kept[cx] = sum;
  };
  const std::int32_t mid = x + reach;
  double sum = g[0] * column(mid);
  for (std::int32_t k = 1; k < static_cast<std::int32_t>(g.size()); ++k) {
    sum += g[static_cast<std::size_t>(k)] * (column(mid - k) + column(mid + k));
  }
  if (!(sum > 0)) return 0;
  if (sum >= 255) return 255;
  return static_cast<std::uint8_t>(std::floor(sum + 0.5));
}

struct Band {
  std::vector<float> lines;  // 2 reach + 1 rows of floats, a place of the continuation each
  std::vector<std::int32_t> loaded;
  std::vector<float> extended;
  std::vector<double> kept;
  std::vector<std::int32_t> stamp;
};

// The same steps sixteen lanes at a time, each lane's operations those of the eight-lane loops
// below: down the columns [x, a1) in whole pairs of vectors into col, returning where they
// stop. The pairs are summed from the bytes themselves (exact, as in floats): a quarter of the
// memory the rows of floats take, which is what the sums wait on. The masked forms, all lanes
// on: GCC 12 warns of the unmasked ones' undefined sources.
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512 floatsOf(__m256i words) {
  return _mm512_maskz_cvtepi32_ps(0xffff, _mm512_maskz_cvtepu16_epi32(0xffff, words));
}

__attribute__((target(QUORVEX_AVX512), always_inline)) inline __m512 floatsOf(
    const std::uint8_t* p) {
  return _mm512_maskz_cvtepi32_ps(
      0xffff,
      _mm512_maskz_cvtepu8_epi32(0xffff, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
}

__attribute__((target(QUORVEX_AVX512))) std::size_t columnsAvx512(const std::uint8_t* const* lines,
                                                                  const float* gf, std::size_t r,
                                                                  std::size_t x, std::size_t a1,
                                                                  float* col) {
  const __m512 g0 = _mm512_set1_ps(gf[0]);
  for (; x + 32 <= a1; x += 32) {
    __m512 low = _mm512_setzero_ps(), high = _mm512_setzero_ps();
    for (std::size_t k = r; k > 0; --k) {
      const __m512i up = _mm512_maskz_cvtepu8_epi16(
          ~__mmask32{0}, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lines[r - k] + x)));
      const __m512i down = _mm512_maskz_cvtepu8_epi16(
          ~__mmask32{0}, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lines[r + k] + x)));
      const __m512i pair = _mm512_add_epi16(up, down);
      const __m512 g = _mm512_set1_ps(gf[k]);
      low = _mm512_fmadd_ps(g, floatsOf(_mm512_maskz_extracti64x4_epi64(0xf, pair, 0)), low);
      high = _mm512_fmadd_ps(g, floatsOf(_mm512_maskz_extracti64x4_epi64(0xf, pair, 1)), high);
    }
    _mm512_storeu_ps(col + x, _mm512_fmadd_ps(g0, floatsOf(lines[r] + x), low));
    _mm512_storeu_ps(col + x + 16, _mm512_fmadd_ps(g0, floatsOf(lines[r] + x + 16), high));
  }
  return x;
}

// Along the row for the 64 pixels from col[0], in four vectors whose chains of multiply-adds
// interleave, rounded into out; the lanes the floats cannot decide are set in the mask returned.
__attribute__((target(QUORVEX_AVX512))) std::uint64_t rowAvx512(const float* col, const float* gf,
                                                                std::size_t r, float bound,
                                                                std::uint8_t* out) {
  constexpr int kVectors = 4;
  __m512 acc[kVectors];
  for (__m512& a : acc) a = _mm512_setzero_ps();
  for (std::size_t k = r; k > 0; --k) {
    const __m512 g = _mm512_set1_ps(gf[k]);
#pragma GCC unroll 4
    for (int v = 0; v < kVectors; ++v) {
      const float* c = col + 16 * v;
      acc[v] =
          _mm512_fmadd_ps(g, _mm512_add_ps(_mm512_loadu_ps(c - k), _mm512_loadu_ps(c + k)), acc[v]);
    }
  }
  // The masked forms throughout, all lanes on: GCC 12 warns of the unmasked ones' undefined
  // sources.
  const __mmask16 all = 0xffff;
  const __m512 g0 = _mm512_set1_ps(gf[0]), zero = _mm512_setzero_ps();
  std::uint64_t unsure = 0;
#pragma GCC unroll 4
  for (int v = 0; v < kVectors; ++v) {
    const __m512 sum = _mm512_fmadd_ps(g0, _mm512_loadu_ps(col + 16 * v), acc[v]);
    const __m512 t = _mm512_add_ps(sum, _mm512_set1_ps(0.5f));
    const __m512 whole =
        _mm512_mask_roundscale_ps(t, all, t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    const __m512 part = _mm512_sub_ps(t, whole);
    const __mmask16 lanes = _mm512_cmp_ps_mask(part, _mm512_set1_ps(bound), _CMP_LT_OQ) |
                            _mm512_cmp_ps_mask(part, _mm512_set1_ps(1 - bound), _CMP_GT_OQ);
    unsure |= std::uint64_t{lanes} << (16 * v);
    const __m512 clamped = _mm512_mask_min_ps(zero, all, _mm512_mask_max_ps(zero, all, whole, zero),
                                              _mm512_set1_ps(255));
    const __m512i values = _mm512_mask_cvttps_epi32(_mm512_setzero_si512(), all, clamped);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * v),
                     _mm512_maskz_cvtepi32_epi8(all, values));
  }
  return unsure;
}

__attribute__((target("avx2,fma"))) void floatRows(const SampledGauss& job,
                                                   const std::vector<float>& gf, float bound,
                                                   std::int32_t y0, std::int32_t y1, Band& b,
                                                   bool wide) {
  const std::int32_t w = job.size.width;
  const auto width = static_cast<std::size_t>(w);
  const auto reach = static_cast<std::int32_t>(gf.size() - 1);
  const auto r = static_cast<std::size_t>(reach);
  const std::size_t slots = 2 * r + 1;
  const std::vector<std::int32_t>&rows = *job.rows, &columns = *job.columns;
  const Extent& extent = *job.extent;
  float* const ext = b.extended.data();
  const auto line = [&](std::size_t i) {
    float* p = b.lines.data() + (i % slots) * width;
    if (b.loaded[i % slots] != static_cast<std::int32_t>(i)) {
      const std::uint8_t* in = job.src + at(rows[i], w);
      for (std::size_t x = 0; x < width; ++x) p[x] = in[x];
      b.loaded[i % slots] = static_cast<std::int32_t>(i);
    }
    return static_cast<const float*>(p);
  };
  const __m256 half = _mm256_set1_ps(0.5f), low = _mm256_set1_ps(bound),
               high = _mm256_set1_ps(1 - bound), top = _mm256_set1_ps(255);
  const __m256 g0 = _mm256_set1_ps(gf[0]);
  const float* taps[2 * kLongestReach + 1];
  const std::uint8_t* bytes[2 * kLongestReach + 1];
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const auto a0 = static_cast<std::size_t>(std::max(0, c0 - reach));
    const auto a1 = static_cast<std::size_t>(std::min(w - 1, c1 + reach)) + 1;
    const auto centre = static_cast<std::size_t>(y) + r;
    // Down the columns into the row's continuation, at its place r + x.
    float* col = ext + r;
    std::size_t x = a0;
    if (wide) {
      // From the bytes alone, each pair summed exactly as the rows of floats sum it.
      for (std::size_t k = 0; k < slots; ++k) bytes[k] = job.src + at(rows[centre - r + k], w);
      x = columnsAvx512(bytes, gf.data(), r, x, a1, col);
      for (; x < a1; ++x) {
        float acc = 0;
        for (std::size_t k = r; k > 0; --k) {
          acc = std::fma(gf[k], float(bytes[r - k][x]) + float(bytes[r + k][x]), acc);
        }
        col[x] = std::fma(gf[0], float(bytes[r][x]), acc);
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
    for (std::size_t i = e0; i < std::min(r, e1 + 2 * r); ++i) ext[i] = col[columns[i]];
    for (std::size_t i = std::max(r + width, e0); i < e1 + 2 * r; ++i) ext[i] = col[columns[i]];
    std::uint8_t* out = job.dst + at(y, w);
    x = e0;
    for (; wide && x + 64 <= e1; x += 64) {
      for (std::uint64_t unsure = rowAvx512(col + x, gf.data(), r, bound, out + x); unsure != 0;
           unsure &= unsure - 1) {
        const std::size_t lane = x + static_cast<std::size_t>(__builtin_ctzll(unsure));
        out[lane] =
            portablePixel(job, y, static_cast<std::int32_t>(lane), b.kept.data(), b.stamp.data());
      }
    }
    for (; x + 8 <= e1; x += 8) {
      __m256 acc = _mm256_setzero_ps();
      for (std::size_t k = r; k > 0; --k) {
        const __m256 pair =
            _mm256_add_ps(_mm256_loadu_ps(col + x - k), _mm256_loadu_ps(col + x + k));
        acc = _mm256_fmadd_ps(_mm256_set1_ps(gf[k]), pair, acc);
      }
      acc = _mm256_fmadd_ps(g0, _mm256_loadu_ps(col + x), acc);
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
          out[x + std::size_t(lane)] = portablePixel(job, y, static_cast<std::int32_t>(x) + lane,
                                                     b.kept.data(), b.stamp.data());
        }
      }
    }
    for (; x < e1; ++x) {
      float acc = 0;
      for (std::size_t k = r; k > 0; --k) acc = std::fma(gf[k], col[x - k] + col[x + k], acc);
      acc = std::fma(gf[0], col[x], acc);
      const float t = acc + 0.5f, whole = std::floor(t), part = t - whole;
      out[x] =
          part < bound || part > 1 - bound
              ? portablePixel(job, y, static_cast<std::int32_t>(x), b.kept.data(), b.stamp.data())
              : static_cast<std::uint8_t>(std::min(std::max(whole, 0.0f), 255.0f));
    }
  }
}

}  // namespace
#endif

bool sampledGaussFloats(const SampledGauss& job, std::int32_t y0, std::int32_t y1) {
#if QUORVEX_GAUSS_FLOATS
  const auto reach = static_cast<std::int32_t>(job.g->size() - 1);
  if (reach > kLongestReach || !cpuHasFma()) return false;
  std::vector<float> gf(job.g->begin(), job.g->end());
  double outer = 0, steps = 0;  // T(k), S
  for (std::size_t k = gf.size(); k-- > 1;) steps += outer += 2.0 * double(gf[k]);
  const auto bound =
      static_cast<float>(std::ldexp((2 * steps + 6) * 256 * 1.001 + 512, -24) + 1e-9);
  const auto width = static_cast<std::size_t>(job.size.width);
  const std::size_t slots = 2 * static_cast<std::size_t>(reach) + 1;
  Band b{std::vector<float>(slots * width), std::vector<std::int32_t>(slots, -1),
         std::vector<float>(width + 2 * static_cast<std::size_t>(reach)),
         std::vector<double>(width), std::vector<std::int32_t>(width, 0)};
  floatRows(job, gf, bound, y0, y1, b, cpuHasAvx512());
  return true;
#else
  (void)job, (void)y0, (void)y1;
  return false;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
