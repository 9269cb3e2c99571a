// The recursive smoothing of a byte plane without an image of sums between its passes: the
// sums down the columns are made a block of rows at a time and filtered along the rows while
// still in the cache. A block's backward sums start from the states a first pass kept at its
// end, its forward sums carry on from the block above (a band of blocks on another thread
// starts from the state kept at its first row), so every sum is the one the whole column gives.
// Along a row the recursion waits on its own last sums, so one row at a time leaves the
// processor idle between steps; sixteen rows side by side, four vectors of four, fill those
// waits.
#include "operators/filters/recursive_blocks.h"

#include <algorithm>

#include "core/line_memory.h"
#include "core/threads.h"
#include "operators/filters/filter_images.h"
#include "operators/filters/recursive_phases.h"

#if QUORVEX_RECURSIVE_BLOCKS
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_RECURSIVE_BLOCKS
namespace {

constexpr std::size_t kLanes = 16;   // rows along which the recursion runs at once
constexpr std::size_t kStrip = 128;  // columns a block's pass down the columns takes at once
// The first pass runs down whole columns: wide strips read each row's pixels in long runs, not
// a page of the image a step.
constexpr std::size_t kStateStrip = 1024;

// One step of columns [x0, x0 + span) at place i, as recursiveColumns takes it: forwards from
// the sums at i - 1 and i - 2, backwards from those at i + 1 and i + 2.
inline __attribute__((always_inline)) void forwardStep(const RecursiveJob& j, std::size_t i,
                                                       std::size_t x0, std::size_t span,
                                                       const float* p1, const float* p2,
                                                       float* cur) {
  const Recursion& c = *j.c;
  const std::uint8_t* x0p = j.line(i, x0);
  if (i > 0) {
    const std::uint8_t* xp = j.line(i - 1, x0);
    for (std::size_t x = 0; x < span; ++x) {
      cur[x] = c.n0 * x0p[x] + c.n1 * xp[x] - c.b2 * p2[x] - c.b1 * p1[x];
    }
  } else {
    for (std::size_t x = 0; x < span; ++x) {
      cur[x] = c.n0 * x0p[x] + 0.0f - c.b2 * p2[x] - c.b1 * p1[x];
    }
  }
}

inline __attribute__((always_inline)) void backwardStep(const RecursiveJob& j, std::size_t i,
                                                        std::size_t x0, std::size_t span,
                                                        const float* a1, const float* a2,
                                                        float* cur) {
  const Recursion& c = *j.c;
  const std::size_t m = j.rows->size();
  const std::uint8_t* y1 = i + 1 < m ? j.line(i + 1, x0) : nullptr;
  const std::uint8_t* y2 = i + 2 < m ? j.line(i + 2, x0) : nullptr;
  if (y1 && y2) {
    for (std::size_t x = 0; x < span; ++x) {
      cur[x] = c.m1 * y1[x] + c.m2 * y2[x] - c.b2 * a2[x] - c.b1 * a1[x];
    }
  } else {
    for (std::size_t x = 0; x < span; ++x) {
      cur[x] =
          (y1 ? c.m1 * y1[x] : 0.0f) + (y2 ? c.m2 * y2[x] : 0.0f) - c.b2 * a2[x] - c.b1 * a1[x];
    }
  }
}

// The first pass over columns [x0, x1): the backward sums from the bottom up to the highest
// met block's end and the forward sums down to the last band's start, keeping their states.
__attribute__((target("avx2"))) void keepStates(const RecursiveJob& j, RecursivePlan& plan,
                                                std::size_t x0, std::size_t x1) {
  const auto w = static_cast<std::size_t>(j.w);
  std::vector<float> ring(3 * kStateStrip), zeros(kStateStrip, 0.0f);
  for (std::size_t s0 = x0; s0 < x1; s0 += kStateStrip) {
    const std::size_t span = std::min(kStateStrip, x1 - s0);
    const float *a1 = zeros.data(), *a2 = a1;
    const std::size_t low = backwardLow(j, plan);
    std::int32_t b = plan.blocks - 1;
    for (std::size_t i = j.rows->size(); i-- > low;) {
      float* cur = ring.data() + (i % 3) * kStateStrip;
      backwardStep(j, i, s0, span, a1, a2, cur);
      while (b >= 0 && placeOf(j, plan.rowOf(b + 1)) > i) --b;
      if (b >= 0 && placeOf(j, plan.rowOf(b + 1)) == i && plan.met[b]) {
        float* kept = plan.backward + 2 * w * static_cast<std::size_t>(b) + s0;
        std::copy(cur, cur + span, kept);
        std::copy(a1, a1 + span, kept + w);
      }
      a2 = a1, a1 = cur;
    }
    const float *p1 = zeros.data(), *p2 = p1;
    std::size_t band = 1;
    const std::size_t bands = plan.starts.size() - 1;
    const std::size_t last = forwardEnd(j, plan);
    for (std::size_t i = 0; i < last; ++i) {
      float* cur = ring.data() + (i % 3) * kStateStrip;
      forwardStep(j, i, s0, span, p1, p2, cur);
      while (band < bands && placeOf(j, plan.rowOf(plan.starts[band])) == i + 1) {
        const auto block = static_cast<std::size_t>(plan.starts[band]);
        float* kept = plan.forward + 2 * w * block + s0;
        std::copy(cur, cur + span, kept);
        std::copy(p1, p1 + span, kept + w);
        ++band;
      }
      p2 = p1, p1 = cur;
    }
  }
}

// No fused multiply-add: the target is AVX2 alone, so that every product is rounded before its
// sum, as in the portable rows. c(i) = ((n0 x(i) + n1 x(i - 1)) - b2 c(i - 2)) - b1 c(i - 1).
__attribute__((target("avx2"), always_inline)) inline __m256 step(__m256 k0, __m256 x0, __m256 k1,
                                                                  __m256 x1, __m256 b1, __m256 s1,
                                                                  __m256 b2, __m256 s2) {
  const __m256 in = _mm256_add_ps(_mm256_mul_ps(k0, x0), _mm256_mul_ps(k1, x1));
  return _mm256_sub_ps(_mm256_sub_ps(in, _mm256_mul_ps(b2, s2)), _mm256_mul_ps(b1, s1));
}

// clampToByte for eight sums: 0 up to 0, 255 from 255, else floor(v + 0.5), as words.
__attribute__((target("avx2"), always_inline)) inline __m128i rounded(__m256 v) {
  const __m256 r = _mm256_floor_ps(_mm256_add_ps(v, _mm256_set1_ps(0.5f)));
  const __m256 clamped = _mm256_min_ps(_mm256_max_ps(r, _mm256_setzero_ps()), _mm256_set1_ps(255));
  const __m256i words = _mm256_cvttps_epi32(clamped);
  return _mm_packs_epi32(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
}

// Sixteen rows `in` along their continuation `indices` (m places, the row from `first` on),
// rounded into bytes[x * 16 + lane] over the columns [lo, hi] that the rows' parts of the
// domain span: two vectors of eight rows, whose chains of dependent steps interleave. A
// column's forward sum reads nothing right of it and its backward sum nothing left of it.
__attribute__((target("avx2"))) void rowGroup(const float* const* in, const std::int32_t* indices,
                                              std::size_t m, std::size_t first, std::size_t lo,
                                              std::size_t hi, const Recursion& c, float* extended,
                                              float* forward, std::uint8_t* bytes) {
  constexpr std::size_t kVectors = kLanes / 8;
  const __m256 n0 = _mm256_set1_ps(c.n0), n1 = _mm256_set1_ps(c.n1);
  const __m256 m1 = _mm256_set1_ps(c.m1), m2 = _mm256_set1_ps(c.m2);
  const __m256 b1 = _mm256_set1_ps(c.b1), b2 = _mm256_set1_ps(c.b2);
  const __m256 scale = _mm256_set1_ps(c.scale), zero = _mm256_setzero_ps();
  __m256 s1[kVectors], s2[kVectors], x1[kVectors];
  for (std::size_t v = 0; v < kVectors; ++v) s1[v] = s2[v] = x1[v] = zero;
  // Past the last column the backward sums still read the rows' values, gathered here.
  for (std::size_t i = 0; i < m; ++i) {
    const auto j = static_cast<std::size_t>(indices[i]);
    const bool summed = i <= first + hi;
#pragma GCC unroll 2
    for (std::size_t v = 0; v < kVectors; ++v) {
      const float* const* l = in + 8 * v;
      const __m256 e =
          _mm256_set_ps(l[7][j], l[6][j], l[5][j], l[4][j], l[3][j], l[2][j], l[1][j], l[0][j]);
      _mm256_storeu_ps(extended + kLanes * i + 8 * v, e);
      if (!summed) continue;
      const __m256 sum = step(n0, e, n1, x1[v], b1, s1[v], b2, s2[v]);
      _mm256_storeu_ps(forward + kLanes * i + 8 * v, sum);
      s2[v] = s1[v], s1[v] = sum, x1[v] = e;
    }
  }
  __m256 y2[kVectors];
  for (std::size_t v = 0; v < kVectors; ++v) s1[v] = s2[v] = x1[v] = y2[v] = zero;
  for (std::size_t i = m; i-- > first + lo;) {
    __m256 sums[kVectors];
#pragma GCC unroll 2
    for (std::size_t v = 0; v < kVectors; ++v) {
      sums[v] = step(m1, x1[v], m2, y2[v], b1, s1[v], b2, s2[v]);
    }
    if (i <= first + hi) {
      const __m256 oa =
          _mm256_mul_ps(_mm256_add_ps(_mm256_loadu_ps(forward + kLanes * i), sums[0]), scale);
      const __m256 ob =
          _mm256_mul_ps(_mm256_add_ps(_mm256_loadu_ps(forward + kLanes * i + 8), sums[1]), scale);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + kLanes * (i - first)),
                       _mm_packus_epi16(rounded(oa), rounded(ob)));
    }
#pragma GCC unroll 2
    for (std::size_t v = 0; v < kVectors; ++v) {
      s2[v] = s1[v], s1[v] = sums[v], y2[v] = x1[v];
      x1[v] = _mm256_loadu_ps(extended + kLanes * i + 8 * v);
    }
  }
}

// The forward sums a band carries: at the two places before the next block, each `w` long.
struct Carried {
  std::vector<float> last, before, ring;
};
struct Places {
  std::size_t first, count;
};

// Forward over places `at` of columns [s0, s0 + span) from the sums the band carries; with
// `backward` (a step a kStrip), each step's sum of both scaled into `out` (a step a row).
inline __attribute__((always_inline)) void forwards(const RecursiveJob& j, Places at,
                                                    std::size_t s0, std::size_t span,
                                                    Carried& carried, const float* backward,
                                                    float* out) {
  const auto w = static_cast<std::size_t>(j.w);
  const float *p1 = carried.last.data() + s0, *p2 = carried.before.data() + s0;
  for (std::size_t r = 0; r < at.count; ++r) {
    float* cur = carried.ring.data() + (r % 3) * kStrip;
    forwardStep(j, at.first + r, s0, span, p1, p2, cur);
    if (backward) {
      const float* back = backward + r * kStrip;
      float* line = out + r * w;
      for (std::size_t x = 0; x < span; ++x) line[x] = (cur[x] + back[x]) * j.c->scale;
    }
    p2 = p1, p1 = cur;
  }
  // Two places or more: both in the ring; one: the last becomes the one before.
  std::copy(p2, p2 + span, carried.before.data() + s0);
  std::copy(p1, p1 + span, carried.last.data() + s0);
}

// The second pass over the blocks [b0, b1): down the columns into `smoothed` (a block of
// rows), then along the rows the extent meets.
__attribute__((target("avx2"))) void filterBlocks(const RecursiveJob& j, const RecursivePlan& plan,
                                                  const std::vector<std::int32_t>& columns,
                                                  const Extent& extent, std::int32_t b0,
                                                  std::int32_t b1, std::uint8_t* dst) {
  const Recursion& c = *j.c;
  const auto w = static_cast<std::size_t>(j.w);
  const auto m = columns.size();
  // The forward sums at the two places before the next block, carried down the band.
  Carried carried{std::vector<float>(w, 0.0f), std::vector<float>(w, 0.0f),
                  std::vector<float>(3 * kStrip)};
  std::vector<float> backward(kBlockRows * kStrip);
  std::vector<float> smoothed(static_cast<std::size_t>(kBlockRows) * w);
  std::vector<float> extended(kLanes * m), forward(kLanes * m);
  std::vector<std::uint8_t> bytes(kLanes * w);
  std::size_t i0 = placeOf(j, plan.rowOf(b0));  // the next place of the forward sums
  if (b0 > 0) {
    const float* kept = plan.forward + 2 * w * static_cast<std::size_t>(b0);
    std::copy(kept, kept + w, carried.last.data());
    std::copy(kept + w, kept + 2 * w, carried.before.data());
  } else {
    // The places above the image, which no block holds.
    for (std::size_t s0 = 0; s0 < w; s0 += kStrip) {
      forwards(j, {0, i0}, s0, std::min(kStrip, w - s0), carried, nullptr, nullptr);
    }
  }
  for (std::int32_t b = b0; b < b1; ++b) {
    const std::int32_t y0 = plan.rowOf(b), y1 = plan.rowOf(b + 1);
    const auto rows = static_cast<std::size_t>(y1 - y0);
    const bool met = plan.met[static_cast<std::size_t>(b)] != 0;
    for (std::size_t s0 = 0; s0 < w; s0 += kStrip) {
      const std::size_t span = std::min(kStrip, w - s0);
      if (!met) {
        forwards(j, {i0, rows}, s0, span, carried, nullptr, nullptr);
        continue;
      }
      const float* kept = plan.backward + 2 * w * static_cast<std::size_t>(b) + s0;
      const float *a1 = kept, *a2 = kept + w;
      for (std::size_t r = rows; r-- > 0;) {
        float* cur = backward.data() + r * kStrip;
        backwardStep(j, i0 + r, s0, span, a1, a2, cur);
        a2 = a1, a1 = cur;
      }
      forwards(j, {i0, rows}, s0, span, carried, backward.data(), smoothed.data() + s0);
    }
    i0 += rows;
    if (!met) continue;
    std::vector<std::int32_t> filtered;
    for (std::int32_t y = y0; y < y1; ++y) {
      if (extent.begin[static_cast<std::size_t>(y)] <= extent.end[static_cast<std::size_t>(y)]) {
        filtered.push_back(y);
      }
    }
    for (std::size_t g = 0; g < filtered.size(); g += kLanes) {
      // A last group of fewer rows repeats its last row in the lanes left over.
      const float* in[kLanes];
      std::size_t lo = w, hi = 0;
      for (std::size_t l = 0; l < kLanes; ++l) {
        const std::int32_t y = filtered[std::min(g + l, filtered.size() - 1)];
        in[l] = smoothed.data() + static_cast<std::size_t>(y - y0) * w;
        lo = std::min(lo, static_cast<std::size_t>(extent.begin[static_cast<std::size_t>(y)]));
        hi = std::max(hi, static_cast<std::size_t>(extent.end[static_cast<std::size_t>(y)]));
      }
      rowGroup(in, columns.data(), m, static_cast<std::size_t>(j.reach), lo, hi, c, extended.data(),
               forward.data(), bytes.data());
      for (std::size_t l = 0; l < kLanes && g + l < filtered.size(); ++l) {
        const auto y = static_cast<std::size_t>(filtered[g + l]);
        std::uint8_t* row = dst + y * w;
        const auto e0 = static_cast<std::size_t>(extent.begin[y]);
        const auto e1 = static_cast<std::size_t>(extent.end[y]);
        for (std::size_t x = e0; x <= e1; ++x) row[x] = bytes[kLanes * x + l];
      }
    }
  }
}

// The sums the first pass keeps at every place for the second (RecursivePlan's sums), at most:
// 640 x 480's are 1.2 MB, half of them read by each thread.
constexpr std::size_t kKeptSumsBytes = std::size_t{2} << 20;

}  // namespace
#endif

std::size_t backwardLow(const RecursiveJob& j, const RecursivePlan& plan) {
  const std::int32_t block = plan.upward ? plan.starts[1] - 1 : plan.lowest;
  return placeOf(j, plan.rowOf(block + 1));
}

std::size_t forwardEnd(const RecursiveJob& j, const RecursivePlan& plan) {
  const std::size_t bands = plan.starts.size() - 1;
  return bands > 1 ? placeOf(j, plan.rowOf(plan.starts[bands - 1])) : 0;
}

bool recursiveSmoothBlocks(const std::uint8_t* src, std::int32_t w, std::int32_t h,
                           const std::vector<std::int32_t>& rows,
                           const std::vector<std::int32_t>& columns, std::int32_t reach,
                           const Recursion& c, const Extent& extent, std::uint8_t* dst) {
#if QUORVEX_RECURSIVE_BLOCKS
  if (!cpuHasAvx2()) return false;
  const RecursiveJob j{src, w, h, reach, &rows, &c};
  RecursivePlan plan;
  const int bands = planBlocks(extent, w, h, plan);
  if (bands == 0) {
    std::fill(dst, dst + std::size_t(w) * std::size_t(h), std::uint8_t{0});
    return true;
  }
  const auto width = static_cast<std::size_t>(w);
  // The kept states stay from call to call on the calling thread: fresh ones would be cleared,
  // and come as fresh pages, every call on that thread alone.
  thread_local std::unique_ptr<LineVector<float>> keptSlot;
  LineVector<float>& kept = keptOnThread(keptSlot);
  const std::size_t pairs = 2 * width * static_cast<std::size_t>(plan.blocks);
  if (kept.size() < 2 * pairs) kept.resize(2 * pairs);
  plan.backward = kept.data(), plan.forward = kept.data() + pairs;
  // With AVX-512 the passes keep their states in registers, which it has twice as many of.
  const bool wide = recursiveWideEnabled();
  plan.upward = wide && bands > 1;
  // The sums of both directions at every place, where they stay in the cache between the passes.
  thread_local std::unique_ptr<LineVector<float>> sumsSlot;
  const std::size_t forwardPlaces = forwardEnd(j, plan);
  // A single band, carried downwards, takes them from its first met block on.
  plan.backwardSumsFrom = plan.upward ? backwardLow(j, plan) : placeOf(j, plan.rowOf(plan.lowest));
  const std::size_t backwardPlaces = rows.size() - plan.backwardSumsFrom;
  const std::size_t sums = width * (forwardPlaces + backwardPlaces);
  if (wide && sums * sizeof(float) <= kKeptSumsBytes) {
    LineVector<float>& everywhere = keptOnThread(sumsSlot);
    if (everywhere.size() < sums) everywhere.resize(sums);
    plan.forwardSums = everywhere.data();
    plan.backwardSums = everywhere.data() + width * forwardPlaces;
  }
  // The AVX-512 blocks write their zeros beside the extent on their own threads.
  if (!wide) zeroBesideExtent(PlaneSize{w, h}, extent, dst);
  // With the sums kept and several bands, the first pass's parts are its two sweeps over all
  // columns, so that the thread that ran the forward one takes the upward band, which reads
  // those sums from its own cache: split by columns, each band reads half of them from the
  // other core's, which at 640 x 480 costs more than the sums save.
  const bool sweeps = plan.forwardSums != nullptr && plan.upward;
  const int stateBands = sweeps ? 2 : bandsFor(w, std::int64_t{w} * h * 2);
  const auto keepBand = [&](int part) {
    if (sweeps) {
      return keepStatesWide(j, plan, 0, width, part == 0 ? kForwardSweep : kBackwardSweep);
    }
    const auto x0 = static_cast<std::size_t>(bandStart(w, stateBands, part));
    const auto x1 = static_cast<std::size_t>(bandStart(w, stateBands, part + 1));
    if (wide) return keepStatesWide(j, plan, x0, x1, kForwardSweep | kBackwardSweep);
    keepStates(j, plan, x0, x1);
  };
  const auto blockBand = [&](int band) {
    const std::int32_t b0 = plan.starts[static_cast<std::size_t>(band)],
                       b1 = plan.starts[static_cast<std::size_t>(band) + 1];
    if (wide) {
      filterBlocksWide(j, plan, columns, extent, b0, b1, plan.upward && band == 0, dst);
      // The rows below the last met block, which no band holds.
      if (band == bands - 1) {
        std::fill(dst + std::size_t(plan.rowOf(plan.starts.back())) * width,
                  dst + std::size_t(h) * width, std::uint8_t{0});
      }
      return;
    }
    filterBlocks(j, plan, columns, extent, b0, b1, dst);
  };
  forTwoPhases(stateBands, keepBand, bands, blockBand);
  return true;
#else
  (void)src, (void)w, (void)h, (void)rows, (void)columns, (void)reach, (void)c, (void)extent;
  (void)dst;
  return false;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
