// smooth_image's blocks of rows in AVX-512 (recursive_wide.cc) where the first pass kept the
// sums of one direction at every place (recursive_blocks.h: RecursivePlan's sums): a block's
// strip runs the other direction alone and adds the kept sums, rather than running that
// direction a second time. The same sums, added and scaled in the same order.
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_SUMS_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_SUMS_H

#include "operators/filters/recursive_rows.h"

#if QUORVEX_RECURSIVE_BLOCKS

namespace HalconCpp {
namespace Standin {
namespace wide {

// Forward over places [first, first + count) of a strip from the pair `from`, its last sums
// into the pair `to` if any; each sum plus the kept backward sum of its place (`back` the kept
// row of place `first`, `w` a place), scaled, into `tile` (a row of the strip a place).
template <std::size_t V, bool Whole>
QUORVEX_WIDE void forwardsBesideKept(const Lines& j, const Coefficients& k,
                                     const StripOf<V, Whole>& s, std::size_t first,
                                     std::size_t count, const float* from, float* to,
                                     const float* back, float* tile, Ahead ahead) {
  const auto w = static_cast<std::size_t>(j.w);
  ForwardOf<V> f;
  load(from, s, f.p1);
  load(from + w, s, f.p2);
  for (std::size_t v = 0; v < V; ++v) {
    f.before[v] = first > 0 ? pixels(j, first - 1, s, v) : k.zero;
  }
  for (std::size_t r = 0; r < count; ++r) {
    prefetchAhead(j, first + r, ahead);
    __m512 cur[V], kept[V];
    forwardAt(j, k, s, first + r, &f, cur);
    load(back + r * w, s, kept);
    for (std::size_t v = 0; v < V; ++v) {
      const __m512 sum = _mm512_add_ps(cur[v], kept[v]);
      _mm512_storeu_ps(tile + (r * V + v) * kWidth, _mm512_mul_ps(sum, k.scale));
    }
  }
  if (!to) return;
  keep(f.p1, s, to);
  keep(f.p2, s, to + w);
}

// Backward over places [first, first + count) of a strip from the pair `from` (the sums at
// first + count and one after), its first sums into the pair `to` if any; the kept forward sum
// of each place (`forward` the kept row of place `first`) plus its own, scaled, into `tile`.
template <std::size_t V, bool Whole>
QUORVEX_WIDE void backwardsBesideKept(const Lines& j, const Coefficients& k,
                                      const StripOf<V, Whole>& s, std::size_t first,
                                      std::size_t count, const float* from, float* to,
                                      const float* forward, float* tile, Ahead ahead) {
  const auto w = static_cast<std::size_t>(j.w);
  BackwardOf<V> a;
  load(from, s, a.a1);
  load(from + w, s, a.a2);
  startBackward(j, k, s, first + count - 1, &a);
  for (std::size_t r = count; r-- > 0;) {
    prefetchAhead(j, first + r, ahead);
    __m512 cur[V], kept[V];
    backwardAt(j, k, s, first + r, &a, cur);
    load(forward + r * w, s, kept);
    for (std::size_t v = 0; v < V; ++v) {
      const __m512 sum = _mm512_add_ps(kept[v], cur[v]);
      _mm512_storeu_ps(tile + (r * V + v) * kWidth, _mm512_mul_ps(sum, k.scale));
    }
  }
  if (!to) return;
  keep(a.a1, s, to);
  keep(a.a2, s, to + w);
}

}  // namespace wide
}  // namespace Standin
}  // namespace HalconCpp

#endif
#endif
