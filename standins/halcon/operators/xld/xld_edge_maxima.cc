// Compiled without contraction (standins/CMakeLists.txt): the AVX-512 path shares the scalar
// sub-pixel fit, whose products and sums a fused multiply-add would round once instead of twice.
#include "operators/xld/xld_edge_maxima.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numbers.h"
#include "operators/filters/image_kernels.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

inline __attribute__((always_inline)) double bilinear(const GradientWindow& g, double r, double c) {
  r = std::clamp(r, 0.0, g.height - 1.0), c = std::clamp(c, 0.0, g.width - 1.0);
  const auto r0 = static_cast<std::int32_t>(std::floor(r)),
             c0 = static_cast<std::int32_t>(std::floor(c));
  const std::int32_t r1 = std::min(r0 + 1, g.height - 1), c1 = std::min(c0 + 1, g.width - 1);
  const double fr = r - r0, fc = c - c0;
  return (1 - fr) * ((1 - fc) * g.amp[g.at(r0, c0)] + fc * g.amp[g.at(r0, c1)]) +
         fr * ((1 - fc) * g.amp[g.at(r1, c0)] + fc * g.amp[g.at(r1, c1)]);
}

// The point of pixel (r, c), window index i, at (row, col) with its response, strong or not.
inline __attribute__((always_inline)) void emitPoint(const GradientWindow& g, std::int32_t r,
                                                     std::int32_t c, std::size_t i, double row,
                                                     double col, double response, bool strong,
                                                     std::vector<LinkPoint>& points) {
  LinkPoint& p = points.emplace_back();
  p.pixel =
      static_cast<std::size_t>(r) * static_cast<std::size_t>(g.width) + static_cast<std::size_t>(c);
  p.row = row;
  p.col = col;
  double direction = std::atan2(-g.gr[i], g.gc[i]);
  // [0, 2pi), -0 included as 0.
  direction = direction < 0 ? direction + 2 * kPi : std::fabs(direction);
  // 'angle', the contour's normal, counter-clockwise from the row axis: the gradient's line,
  // turned to the contour's right once linked.
  p.values = {direction, std::atan2(g.gc[i], g.gr[i]), response, 0.0};
  p.state = strong ? 2 : 1;
}

// The point of pixel (r, c), window index i, a maximum between the amplitudes `before` and
// `after` interpolated along the unit gradient (ur, uc).
inline __attribute__((always_inline)) void addPoint(const GradientWindow& g, std::int32_t r,
                                                    std::int32_t c, std::size_t i, double a,
                                                    double ur, double uc, double before,
                                                    double after, double high,
                                                    std::vector<LinkPoint>& points) {
  const double curve = before - 2 * a + after;
  const double t = curve < 0 ? std::clamp(0.5 * (before - after) / curve, -0.5, 0.5) : 0.0;
  emitPoint(g, r, c, i, r + t * ur, c + t * uc, a - 0.25 * (before - after) * t, a >= high, points);
}

inline __attribute__((always_inline)) void maximaOf(const GradientWindow& g, const Run& run,
                                                    double low, double high,
                                                    std::vector<std::int32_t>& candidates,
                                                    std::vector<LinkPoint>& points) {
  const std::int32_t r = run.row;
  edgeCandidates(g.amp.data() + g.at(r, run.begin),
                 static_cast<std::size_t>(run.end - run.begin) + 1, low, &candidates);
  for (const std::int32_t offset : candidates) {
    const std::int32_t c = run.begin + offset;
    const std::size_t i = g.at(r, c);
    const double a = g.amp[i];
    const double ur = g.gr[i] / a, uc = g.gc[i] / a;
    // Strictly above the neighbour behind, at least the one ahead: a plateau of two keeps
    // one point. Most pixels fail the first test, which spares them the second neighbour.
    const double before = bilinear(g, r - ur, c - uc);
    if (!(a > before)) continue;
    const double after = bilinear(g, r + ur, c + uc);
    if (!(a >= after)) continue;
    addPoint(g, r, c, i, a, ur, uc, before, after, high, points);
  }
}

void maximaPlain(const GradientWindow& g, const Run& run, double low, double high,
                 std::vector<std::int32_t>& candidates, std::vector<LinkPoint>& points) {
  maximaOf(g, run, low, high, candidates, points);
}

#if QUORVEX_KERNELS_AVX2
// The same operations, compiled for the processors whose rounding instructions take the
// interpolation's floors in one step.
__attribute__((target("avx2"))) void maximaAvx2(const GradientWindow& g, const Run& run, double low,
                                                double high, std::vector<std::int32_t>& candidates,
                                                std::vector<LinkPoint>& points) {
  maximaOf(g, run, low, high, candidates, points);
}

constexpr int kFloor = _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC;

// bilinear of eight places at once, its clamps, floors, products and sums the scalar's, each
// rounded as there; the four amplitudes around each place gathered.
__attribute__((target(QUORVEX_AVX512))) inline __m512d bilinear8(const GradientWindow& g, __m512d r,
                                                                 __m512d c) {
  // The masked forms throughout: the plain ones start from an undefined vector, which GCC 12
  // warns of.
  const __mmask8 all = 0xff;
  const __m512d zero = _mm512_setzero_pd(), one = _mm512_set1_pd(1.0);
  const __m512d lastRow = _mm512_set1_pd(g.height - 1.0), lastCol = _mm512_set1_pd(g.width - 1.0);
  // std::clamp's tests in its order: below the least, then above the greatest.
  r = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(r, zero, _CMP_LT_OQ), r, zero);
  r = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(lastRow, r, _CMP_LT_OQ), r, lastRow);
  c = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(c, zero, _CMP_LT_OQ), c, zero);
  c = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(lastCol, c, _CMP_LT_OQ), c, lastCol);
  const __m256i r0 = _mm512_maskz_cvttpd_epi32(all, _mm512_maskz_roundscale_pd(all, r, kFloor));
  const __m256i c0 = _mm512_maskz_cvttpd_epi32(all, _mm512_maskz_roundscale_pd(all, c, kFloor));
  const __m256i step = _mm256_set1_epi32(1);
  const __m256i r1 = _mm256_min_epi32(_mm256_add_epi32(r0, step), _mm256_set1_epi32(g.height - 1));
  const __m256i c1 = _mm256_min_epi32(_mm256_add_epi32(c0, step), _mm256_set1_epi32(g.width - 1));
  const __m512d fr = _mm512_sub_pd(r, _mm512_maskz_cvtepi32_pd(all, r0));
  const __m512d fc = _mm512_sub_pd(c, _mm512_maskz_cvtepi32_pd(all, c0));
  const __m256i width = _mm256_set1_epi32(g.c1 - g.c0);
  const __m256i top = _mm256_mullo_epi32(_mm256_sub_epi32(r0, _mm256_set1_epi32(g.r0)), width);
  const __m256i bottom = _mm256_mullo_epi32(_mm256_sub_epi32(r1, _mm256_set1_epi32(g.r0)), width);
  const __m256i left = _mm256_sub_epi32(c0, _mm256_set1_epi32(g.c0));
  const __m256i right = _mm256_sub_epi32(c1, _mm256_set1_epi32(g.c0));
  const double* const amp = g.amp.data();
  const __m512d a00 = _mm512_mask_i32gather_pd(zero, all, _mm256_add_epi32(top, left), amp, 8);
  const __m512d a01 = _mm512_mask_i32gather_pd(zero, all, _mm256_add_epi32(top, right), amp, 8);
  const __m512d a10 = _mm512_mask_i32gather_pd(zero, all, _mm256_add_epi32(bottom, left), amp, 8);
  const __m512d a11 = _mm512_mask_i32gather_pd(zero, all, _mm256_add_epi32(bottom, right), amp, 8);
  const __m512d fr1 = _mm512_sub_pd(one, fr), fc1 = _mm512_sub_pd(one, fc);
  const __m512d upper = _mm512_add_pd(_mm512_mul_pd(fc1, a00), _mm512_mul_pd(fc, a01));
  const __m512d lower = _mm512_add_pd(_mm512_mul_pd(fc1, a10), _mm512_mul_pd(fc, a11));
  return _mm512_add_pd(_mm512_mul_pd(fr1, upper), _mm512_mul_pd(fr, lower));
}

// edgeCandidates' test eight amplitudes at a time, the places that pass stored side by side:
// their count, at the start of `out`, which grows to the run's length once and is then reused.
__attribute__((target(QUORVEX_AVX512))) std::size_t candidatesAvx512(
    const double* amp, std::size_t n, double low, std::vector<std::int32_t>& out) {
  // Room for a whole vector of places stored past the last.
  if (out.size() < n + 8) out.resize(n + 8);
  std::int32_t* const to = out.data();
  const __m512d zero = _mm512_setzero_pd(), floor = _mm512_set1_pd(low);
  const __m256i eight = _mm256_set1_epi32(8);
  __m256i places = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; i += 8) {
    const __mmask8 live = n - i >= 8 ? __mmask8(0xff) : static_cast<__mmask8>((1u << (n - i)) - 1);
    const __m512d a = _mm512_maskz_loadu_pd(live, amp + i);
    // Not at most 0 and not below `low`: a NaN passes both, as in the scalar test.
    const __mmask8 pass = _mm512_mask_cmp_pd_mask(
        _mm512_mask_cmp_pd_mask(live, a, zero, _CMP_NLE_UQ), a, floor, _CMP_NLT_UQ);
    // Compressed in a register and stored whole: a compressing store to memory takes many
    // times as long. Most steps pass none.
    if (pass != 0) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + count),
                          _mm256_maskz_compress_epi32(pass, places));
      count += static_cast<std::size_t>(__builtin_popcount(pass));
    }
    places = _mm256_add_epi32(places, eight);
  }
  return count;
}

// Eight candidates a step: their gradients, both neighbours and both tests in vectors; the
// sub-pixel fit and the attributes, scalar, for the maxima alone, in the candidates' order.
__attribute__((target(QUORVEX_AVX512))) void maximaAvx512(const GradientWindow& g, const Run& run,
                                                          double low, double high,
                                                          std::vector<std::int32_t>& candidates,
                                                          std::vector<LinkPoint>& points) {
  const std::int32_t r = run.row;
  const std::size_t first = g.at(r, run.begin);
  const std::size_t count = candidatesAvx512(
      g.amp.data() + first, static_cast<std::size_t>(run.end - run.begin) + 1, low, candidates);
  const __m512d row = _mm512_set1_pd(r), one = _mm512_set1_pd(1.0);
  const __m256i at = _mm256_set1_epi32(static_cast<std::int32_t>(first));
  const __m256i begin = _mm256_set1_epi32(run.begin);
  alignas(64) double rows[8], cols[8], responses[8];
  const __m512d zero = _mm512_setzero_pd(), lowest = _mm512_set1_pd(-0.5),
                highest = _mm512_set1_pd(0.5), ceiling = _mm512_set1_pd(high);
  for (std::size_t k = 0; k < count; k += 8) {
    const __mmask8 live =
        count - k >= 8 ? __mmask8(0xff) : static_cast<__mmask8>((1u << (count - k)) - 1);
    const __m256i offsets = _mm256_maskz_loadu_epi32(live, candidates.data() + k);
    const __m256i index = _mm256_add_epi32(offsets, at);
    const __m512d av = _mm512_mask_i32gather_pd(one, live, index, g.amp.data(), 8);
    const __m512d grv = _mm512_mask_i32gather_pd(_mm512_setzero_pd(), live, index, g.gr.data(), 8);
    const __m512d gcv = _mm512_mask_i32gather_pd(_mm512_setzero_pd(), live, index, g.gc.data(), 8);
    const __m512d urv = _mm512_div_pd(grv, av), ucv = _mm512_div_pd(gcv, av);
    const __m512d col = _mm512_maskz_cvtepi32_pd(0xff, _mm256_add_epi32(offsets, begin));
    const __m512d back = bilinear8(g, _mm512_sub_pd(row, urv), _mm512_sub_pd(col, ucv));
    __mmask8 keep = _mm512_mask_cmp_pd_mask(live, av, back, _CMP_GT_OQ);
    if (keep == 0) continue;
    const __m512d ahead = bilinear8(g, _mm512_add_pd(row, urv), _mm512_add_pd(col, ucv));
    keep = _mm512_mask_cmp_pd_mask(keep, av, ahead, _CMP_GE_OQ);
    if (keep == 0) continue;
    // addPoint's fit, each operation as it rounds there: the curvature, the step along the
    // gradient where it is negative (std::clamp's tests in its order), the place and response.
    const __m512d diff = _mm512_sub_pd(back, ahead);
    const __m512d curve =
        _mm512_add_pd(_mm512_sub_pd(back, _mm512_mul_pd(_mm512_set1_pd(2.0), av)), ahead);
    const __mmask8 bent = _mm512_mask_cmp_pd_mask(keep, curve, zero, _CMP_LT_OQ);
    __m512d t = _mm512_maskz_div_pd(bent, _mm512_mul_pd(highest, diff), curve);
    t = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(t, lowest, _CMP_LT_OQ), t, lowest);
    t = _mm512_mask_blend_pd(_mm512_cmp_pd_mask(highest, t, _CMP_LT_OQ), t, highest);
    t = _mm512_maskz_mov_pd(bent, t);
    _mm512_store_pd(rows, _mm512_add_pd(row, _mm512_mul_pd(t, urv)));
    _mm512_store_pd(cols, _mm512_add_pd(col, _mm512_mul_pd(t, ucv)));
    _mm512_store_pd(responses,
                    _mm512_sub_pd(av, _mm512_mul_pd(_mm512_mul_pd(_mm512_set1_pd(0.25), diff), t)));
    const __mmask8 strong = _mm512_mask_cmp_pd_mask(keep, av, ceiling, _CMP_GE_OQ);
    for (unsigned m = keep; m != 0; m &= m - 1) {
      const auto lane = static_cast<unsigned>(__builtin_ctz(m));
      const std::int32_t c = run.begin + candidates[k + lane];
      emitPoint(g, r, c, g.at(r, c), rows[lane], cols[lane], responses[lane],
                ((strong >> lane) & 1) != 0, points);
    }
  }
}
#endif

}  // namespace

void edgeMaximaOfRun(const GradientWindow& g, const Run& run, double low, double high,
                     std::vector<std::int32_t>& candidates, std::vector<LinkPoint>& points) {
#if QUORVEX_KERNELS_AVX2
  // The gathers' indices are 32-bit.
  const bool small =
      g.amp.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
  if (vectorPathsEnabled() && cpuHasAvx512() && small) {
    return maximaAvx512(g, run, low, high, candidates, points);
  }
  if (vectorPathsEnabled() && cpuHasAvx2())
    return maximaAvx2(g, run, low, high, candidates, points);
#endif
  maximaPlain(g, run, low, high, candidates, points);
}

}  // namespace Standin
}  // namespace HalconCpp
