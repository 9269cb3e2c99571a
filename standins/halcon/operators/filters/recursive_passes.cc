// Down the columns the recursion runs over whole rows of columns side by side, in strips narrow
// enough that a strip's forward sums are still in the cache when the backward sums come up for
// them. Along a row the recursion waits on its own last sums, so one row at a time leaves the
// processor idle between steps; eight rows side by side, two vectors of four, fill those waits.
#include "operators/filters/recursive_passes.h"

#include <algorithm>

#if defined(__GNUC__) && defined(__x86_64__)
#define QUORVEX_RECURSIVE_ROWS_AVX2 1
#include <immintrin.h>
#else
#define QUORVEX_RECURSIVE_ROWS_AVX2 0
#endif
// The columns' loops are plain C++, vectorised for AVX2 on every x86 build.
#define QUORVEX_RECURSIVE_AVX2 QUORVEX_KERNELS_AVX2

namespace HalconCpp {
namespace Standin {

namespace {

std::size_t at(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

struct ColumnJob {
  const std::uint8_t* src;
  std::int32_t w, h, reach;
  const std::vector<std::int32_t>* rows;
  const Recursion* c;
  double* smoothed;
};

// The recursion down columns [x0, x1): the forward sums kept in `forward` (x1 - x0 a row) for
// every row (three rows turn over in `ring` before row 0), then the backward sums up the
// columns, added to them and scaled into `smoothed`. Every column's sums are the same in any
// strip. `forward` is the strip's own: rows of the image a power of two apart would share a
// few lines of the cache.
inline __attribute__((always_inline)) void columnStrip(const ColumnJob& job, std::size_t x0,
                                                       std::size_t x1, double* forward) {
  const Recursion& c = *job.c;
  const std::vector<std::int32_t>& rows = *job.rows;
  const std::int32_t w = job.w, h = job.h, reach = job.reach;
  const std::uint8_t* const src = job.src;
  const std::size_t span = x1 - x0;
  std::vector<double> ring(3 * span), zeros(span, 0.0);
  const double *p1 = zeros.data(), *p2 = p1;
  const std::uint8_t* xp = nullptr;
  for (std::size_t i = 0; i < static_cast<std::size_t>(reach) + std::size_t(h); ++i) {
    const auto y = static_cast<std::int32_t>(i) - reach;
    double* cur = y < 0 ? ring.data() + (i % 3) * span : forward + std::size_t(y) * span;
    const std::uint8_t* x0p = src + at(rows[i], w) + x0;
    // Past the first row the previous row is always there: that loop has no choice in it,
    // which the vectoriser wants, and the same sums.
    if (xp) {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] = c.n0 * x0p[x] + c.n1 * xp[x] - c.b1 * p1[x] - c.b2 * p2[x];
      }
    } else {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] = c.n0 * x0p[x] + 0.0 - c.b1 * p1[x] - c.b2 * p2[x];
      }
    }
    p2 = p1, p1 = cur, xp = x0p;
  }
  const double *a1 = zeros.data(), *a2 = a1;
  const std::uint8_t *y1 = nullptr, *y2 = nullptr;
  for (std::size_t i = rows.size(); i-- > 0;) {
    double* cur = ring.data() + (i % 3) * span;
    if (y1 && y2) {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] = c.m1 * y1[x] + c.m2 * y2[x] - c.b1 * a1[x] - c.b2 * a2[x];
      }
    } else {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] =
            (y1 ? c.m1 * y1[x] : 0.0) + (y2 ? c.m2 * y2[x] : 0.0) - c.b1 * a1[x] - c.b2 * a2[x];
      }
    }
    const auto y = static_cast<std::int32_t>(i) - reach;
    if (y >= 0 && y < h) {
      const double* sums = forward + std::size_t(y) * span;
      double* line = job.smoothed + at(y, w) + x0;
      for (std::size_t x = 0; x < span; ++x) line[x] = (sums[x] + cur[x]) * c.scale;
    }
    a2 = a1, a1 = cur, y2 = y1, y1 = src + at(rows[i], w) + x0;
  }
}

void columnStripPlain(const ColumnJob& job, std::size_t x0, std::size_t x1, double* forward) {
  columnStrip(job, x0, x1, forward);
}

#if QUORVEX_RECURSIVE_AVX2
// The same sums in vectors twice as wide; no fused multiply-add, as the target is AVX2 alone.
__attribute__((target("avx2"))) void columnStripAvx2(const ColumnJob& job, std::size_t x0,
                                                     std::size_t x1, double* forward) {
  columnStrip(job, x0, x1, forward);
}
#endif

}  // namespace

void recursiveColumns(const std::uint8_t* src, std::int32_t w, std::int32_t h,
                      const std::vector<std::int32_t>& rows, std::int32_t reach, const Recursion& c,
                      std::size_t x0, std::size_t x1, double* smoothed) {
  const ColumnJob job{src, w, h, reach, &rows, &c, smoothed};
  constexpr std::size_t kStrip = 32;
  std::vector<double> forward(kStrip * static_cast<std::size_t>(h));
  for (std::size_t s0 = x0; s0 < x1; s0 += kStrip) {
#if QUORVEX_RECURSIVE_AVX2
    if (vectorPathsEnabled() && cpuHasAvx2()) {
      columnStripAvx2(job, s0, std::min(x1, s0 + kStrip), forward.data());
      continue;
    }
#endif
    columnStripPlain(job, s0, std::min(x1, s0 + kStrip), forward.data());
  }
}

#if QUORVEX_RECURSIVE_ROWS_AVX2
namespace {

constexpr std::size_t kLanes = 8;

// No fused multiply-add: the target is AVX2 alone, so that every product is rounded before its
// sum, as in the portable rows. c(i) = ((n0 x(i) + n1 x(i - 1)) - b1 c(i - 1)) - b2 c(i - 2).
__attribute__((target("avx2"), always_inline)) inline __m256d step(__m256d k0, __m256d x0,
                                                                   __m256d k1, __m256d x1,
                                                                   __m256d b1, __m256d s1,
                                                                   __m256d b2, __m256d s2) {
  const __m256d in = _mm256_add_pd(_mm256_mul_pd(k0, x0), _mm256_mul_pd(k1, x1));
  return _mm256_sub_pd(_mm256_sub_pd(in, _mm256_mul_pd(b1, s1)), _mm256_mul_pd(b2, s2));
}

// clampToByte for four sums: 0 up to 0, 255 from 255, else floor(v + 0.5).
__attribute__((target("avx2"), always_inline)) inline __m128i rounded(__m256d v) {
  const __m256d r = _mm256_floor_pd(_mm256_add_pd(v, _mm256_set1_pd(0.5)));
  const __m256d clamped = _mm256_min_pd(_mm256_max_pd(r, _mm256_setzero_pd()), _mm256_set1_pd(255));
  return _mm256_cvttpd_epi32(clamped);
}

__attribute__((target("avx2"))) void eightRows(const double* const* in, const std::int32_t* indices,
                                               std::size_t m, std::size_t first, std::size_t n,
                                               const Recursion& c, double* extended,
                                               double* forward, std::uint8_t* bytes) {
  const __m256d n0 = _mm256_set1_pd(c.n0), n1 = _mm256_set1_pd(c.n1);
  const __m256d m1 = _mm256_set1_pd(c.m1), m2 = _mm256_set1_pd(c.m2);
  const __m256d b1 = _mm256_set1_pd(c.b1), b2 = _mm256_set1_pd(c.b2);
  const __m256d scale = _mm256_set1_pd(c.scale), zero = _mm256_setzero_pd();
  __m256d c1a = zero, c2a = zero, x1a = zero, c1b = zero, c2b = zero, x1b = zero;
  for (std::size_t i = 0; i < m; ++i) {
    const auto j = static_cast<std::size_t>(indices[i]);
    const __m256d ea = _mm256_set_pd(in[3][j], in[2][j], in[1][j], in[0][j]);
    const __m256d eb = _mm256_set_pd(in[7][j], in[6][j], in[5][j], in[4][j]);
    const __m256d va = step(n0, ea, n1, x1a, b1, c1a, b2, c2a);
    const __m256d vb = step(n0, eb, n1, x1b, b1, c1b, b2, c2b);
    _mm256_storeu_pd(extended + kLanes * i, ea);
    _mm256_storeu_pd(extended + kLanes * i + 4, eb);
    _mm256_storeu_pd(forward + kLanes * i, va);
    _mm256_storeu_pd(forward + kLanes * i + 4, vb);
    c2a = c1a, c1a = va, x1a = ea, c2b = c1b, c1b = vb, x1b = eb;
  }
  __m256d a1a = zero, a2a = zero, y1a = zero, y2a = zero;
  __m256d a1b = zero, a2b = zero, y1b = zero, y2b = zero;
  for (std::size_t i = m; i-- > 0;) {
    const __m256d va = step(m1, y1a, m2, y2a, b1, a1a, b2, a2a);
    const __m256d vb = step(m1, y1b, m2, y2b, b1, a1b, b2, a2b);
    if (i >= first && i < first + n) {
      const __m256d oa =
          _mm256_mul_pd(_mm256_add_pd(_mm256_loadu_pd(forward + kLanes * i), va), scale);
      const __m256d ob =
          _mm256_mul_pd(_mm256_add_pd(_mm256_loadu_pd(forward + kLanes * i + 4), vb), scale);
      const __m128i words = _mm_packs_epi32(rounded(oa), rounded(ob));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes + kLanes * (i - first)),
                       _mm_packus_epi16(words, words));
    }
    a2a = a1a, a1a = va, y2a = y1a, y1a = _mm256_loadu_pd(extended + kLanes * i);
    a2b = a1b, a1b = vb, y2b = y1b, y1b = _mm256_loadu_pd(extended + kLanes * i + 4);
  }
}

}  // namespace
#endif

std::size_t recursiveRowsVector(const double* plane, std::int32_t width, const std::int32_t* rows,
                                std::size_t count, const std::vector<std::int32_t>& indices,
                                std::int32_t reach, const Recursion& c, const Extent& extent,
                                std::uint8_t* dst) {
#if QUORVEX_RECURSIVE_ROWS_AVX2
  if (!vectorPathsEnabled() || !cpuHasAvx2() || count < kLanes) return 0;
  const auto n = static_cast<std::size_t>(width), m = indices.size();
  std::vector<double> extended(kLanes * m), forward(kLanes * m);
  std::vector<std::uint8_t> bytes(kLanes * n);
  const std::size_t done = count - count % kLanes;
  for (std::size_t g = 0; g < done; g += kLanes) {
    const double* in[kLanes];
    for (std::size_t l = 0; l < kLanes; ++l)
      in[l] = plane + static_cast<std::size_t>(rows[g + l]) * n;
    eightRows(in, indices.data(), m, static_cast<std::size_t>(reach), n, c, extended.data(),
              forward.data(), bytes.data());
    for (std::size_t l = 0; l < kLanes; ++l) {
      const auto y = static_cast<std::size_t>(rows[g + l]);
      std::uint8_t* out = dst + y * n;
      const auto c0 = static_cast<std::size_t>(extent.begin[y]);
      const auto c1 = static_cast<std::size_t>(extent.end[y]);
      for (std::size_t x = c0; x <= c1; ++x) out[x] = bytes[kLanes * x + l];
    }
  }
  return done;
#else
  (void)plane, (void)width, (void)rows, (void)count, (void)indices, (void)reach, (void)c;
  (void)extent, (void)dst;
  return 0;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
