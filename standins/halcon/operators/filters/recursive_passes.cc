// Down the columns the recursion runs over whole rows of columns side by side, in strips narrow
// enough that a strip's forward sums are still in the cache when the backward sums come up for
// them.
#include "operators/filters/recursive_passes.h"

#include <algorithm>

#include "core/image.h"

// The columns' loops are plain C++, vectorised for AVX2 on every x86 build.
#define QUORVEX_RECURSIVE_AVX2 QUORVEX_KERNELS_AVX2

namespace HalconCpp {
namespace Standin {

namespace {

template <typename T>
struct ColumnJob {
  const std::uint8_t* src;
  std::int32_t w, h, reach;
  const std::vector<std::int32_t>* rows;
  const RecursionOf<T>* c;
  T* smoothed;
};

// The recursion down columns [x0, x1): the forward sums kept in `forward` (x1 - x0 a row) for
// every row (three rows turn over in `ring` before row 0), then the backward sums up the
// columns, added to them and scaled into `smoothed`. Every column's sums are the same in any
// strip. `forward` is the strip's own: rows of the image a power of two apart would share a
// few lines of the cache.
template <typename T>
inline __attribute__((always_inline)) void columnStrip(const ColumnJob<T>& job, std::size_t x0,
                                                       std::size_t x1, T* forward) {
  const RecursionOf<T>& c = *job.c;
  const std::vector<std::int32_t>& rows = *job.rows;
  const std::int32_t w = job.w, h = job.h, reach = job.reach;
  const std::uint8_t* const src = job.src;
  const std::size_t span = x1 - x0;
  std::vector<T> ring(3 * span), zeros(span, T(0));
  const T *p1 = zeros.data(), *p2 = p1;
  const std::uint8_t* xp = nullptr;
  for (std::size_t i = 0; i < static_cast<std::size_t>(reach) + std::size_t(h); ++i) {
    const auto y = static_cast<std::int32_t>(i) - reach;
    T* cur = y < 0 ? ring.data() + (i % 3) * span : forward + std::size_t(y) * span;
    const std::uint8_t* x0p = src + rowStart(rows[i], w) + x0;
    // Past the first row the previous row is always there: that loop has no choice in it,
    // which the vectoriser wants, and the same sums.
    if (xp) {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] = c.n0 * x0p[x] + c.n1 * xp[x] - c.b2 * p2[x] - c.b1 * p1[x];
      }
    } else {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] = c.n0 * x0p[x] + T(0) - c.b2 * p2[x] - c.b1 * p1[x];
      }
    }
    p2 = p1, p1 = cur, xp = x0p;
  }
  const T *a1 = zeros.data(), *a2 = a1;
  const std::uint8_t *y1 = nullptr, *y2 = nullptr;
  for (std::size_t i = rows.size(); i-- > 0;) {
    T* cur = ring.data() + (i % 3) * span;
    if (y1 && y2) {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] = c.m1 * y1[x] + c.m2 * y2[x] - c.b2 * a2[x] - c.b1 * a1[x];
      }
    } else {
      for (std::size_t x = 0; x < span; ++x) {
        cur[x] =
            (y1 ? c.m1 * y1[x] : T(0)) + (y2 ? c.m2 * y2[x] : T(0)) - c.b2 * a2[x] - c.b1 * a1[x];
      }
    }
    const auto y = static_cast<std::int32_t>(i) - reach;
    if (y >= 0 && y < h) {
      const T* sums = forward + std::size_t(y) * span;
      T* line = job.smoothed + rowStart(y, w) + x0;
      for (std::size_t x = 0; x < span; ++x) line[x] = (sums[x] + cur[x]) * c.scale;
    }
    a2 = a1, a1 = cur, y2 = y1, y1 = src + rowStart(rows[i], w) + x0;
  }
}

template <typename T>
void columnStripPlain(const ColumnJob<T>& job, std::size_t x0, std::size_t x1, T* forward) {
  columnStrip(job, x0, x1, forward);
}

#if QUORVEX_RECURSIVE_AVX2
// The same sums in vectors twice as wide; no fused multiply-add, as the target is AVX2 alone.
template <typename T>
__attribute__((target("avx2"))) void columnStripAvx2(const ColumnJob<T>& job, std::size_t x0,
                                                     std::size_t x1, T* forward) {
  columnStrip(job, x0, x1, forward);
}
#endif

}  // namespace

template <typename T>
void recursiveColumns(const std::uint8_t* src, std::int32_t w, std::int32_t h,
                      const std::vector<std::int32_t>& rows, std::int32_t reach,
                      const RecursionOf<T>& c, std::size_t x0, std::size_t x1, T* smoothed) {
  const ColumnJob<T> job{src, w, h, reach, &rows, &c, smoothed};
  constexpr std::size_t kStrip = 32;
  std::vector<T> forward(kStrip * static_cast<std::size_t>(h));
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

template void recursiveColumns(const std::uint8_t*, std::int32_t, std::int32_t,
                               const std::vector<std::int32_t>&, std::int32_t,
                               const RecursionOf<float>&, std::size_t, std::size_t, float*);
template void recursiveColumns(const std::uint8_t*, std::int32_t, std::int32_t,
                               const std::vector<std::int32_t>&, std::int32_t,
                               const RecursionOf<double>&, std::size_t, std::size_t, double*);

}  // namespace Standin
}  // namespace HalconCpp
