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

__attribute__((target("avx2,fma"))) void floatRows(const SampledGauss& job,
                                                   const std::vector<float>& gf, float bound,
                                                   std::int32_t y0, std::int32_t y1, Band& b) {
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
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const auto a0 = static_cast<std::size_t>(std::max(0, c0 - reach));
    const auto a1 = static_cast<std::size_t>(std::min(w - 1, c1 + reach)) + 1;
    const auto centre = static_cast<std::size_t>(y) + r;
    for (std::size_t k = 0; k < slots; ++k) taps[k] = line(centre - r + k);
    // Down the columns into the row's continuation, at its place r + x.
    float* col = ext + r;
    std::size_t x = a0;
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
  floatRows(job, gf, bound, y0, y1, b);
  return true;
#else
  (void)job, (void)y0, (void)y1;
  return false;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
