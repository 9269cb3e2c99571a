// What smooth_image's two AVX-512 passes share (recursive_states.cc, the first pass keeping the
// states down the columns; recursive_wide.cc, the blocks of rows): the recursion's steps in
// vectors of sixteen floats over strips of columns, the states of each column's sums held in
// registers. Every sum is made with the same operations in the same order as in the AVX2 form
// and the portable rows; the files are compiled without contraction, as AVX-512 would let the
// compiler fuse a multiply and an add.
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_VECTORS_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_VECTORS_H

#include "operators/filters/recursive_blocks.h"

#if QUORVEX_RECURSIVE_BLOCKS
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

// GCC 12's AVX-512 intrinsics start their results from a deliberately undefined vector, which
// its own warning then reports once they are inlined into the passes.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace HalconCpp {
namespace Standin {
namespace wide {

constexpr std::size_t kWidth = 16;  // floats a vector

#define QUORVEX_WIDE __attribute__((target(QUORVEX_AVX512), always_inline)) inline

struct Coefficients {
  __m512 n0, n1, m1, m2, b1, b2, scale, zero;
};

QUORVEX_WIDE Coefficients coefficientsOf(const Recursion& c) {
  return {_mm512_set1_ps(c.n0), _mm512_set1_ps(c.n1), _mm512_set1_ps(c.m1),    _mm512_set1_ps(c.m2),
          _mm512_set1_ps(c.b1), _mm512_set1_ps(c.b2), _mm512_set1_ps(c.scale), _mm512_setzero_ps()};
}

// ((k0 x0 + k1 x1) - b2 s2) - b1 s1, each product rounded on its own.
QUORVEX_WIDE __m512 step(__m512 k0, __m512 x0, __m512 k1, __m512 x1, __m512 b1, __m512 s1,
                         __m512 b2, __m512 s2) {
  const __m512 in = _mm512_add_ps(_mm512_mul_ps(k0, x0), _mm512_mul_ps(k1, x1));
  return _mm512_sub_ps(_mm512_sub_ps(in, _mm512_mul_ps(b2, s2)), _mm512_mul_ps(b1, s1));
}

// The image's lines as the passes read them, copied out of the job into values of their own:
// the passes' stores of floats may alias the job and the continuation's vector, so that the
// compiler would otherwise read their fields again after every store.
struct Lines {
  const std::uint8_t* src;
  const std::int32_t* rows;  // the continuation, m places
  std::size_t w, m;
  const std::uint8_t* line(std::size_t i, std::size_t x0) const {
    return src + static_cast<std::size_t>(rows[i]) * w + x0;
  }
};

inline Lines linesOf(const RecursiveJob& j) {
  return {j.src, j.rows->data(), static_cast<std::size_t>(j.w), j.rows->size()};
}

// A strip's first column and, a vector, the columns the image has (the last strip's fewer).
// A strip the image covers whole reads its pixels without masks, a step less each.
template <std::size_t V, bool Whole>
struct StripOf {
  std::size_t x0;
  __mmask16 keep[V];
};

template <std::size_t V, bool Whole>
StripOf<V, Whole> stripAt(std::size_t x0, std::size_t x1) {
  StripOf<V, Whole> s{x0, {}};
  for (std::size_t v = 0; v < V; ++v) {
    const std::size_t from = x0 + v * kWidth;
    const std::size_t count = from >= x1 ? 0 : std::min(kWidth, x1 - from);
    s.keep[v] = static_cast<__mmask16>((1u << count) - 1);
  }
  return s;
}

// The pixels of vector v of a strip from the strip's first pixel of a place, `line`: a step
// finds its place's line once for all of its vectors (the stores between them may alias the
// continuation's indices, so that the compiler would read them again for each).
template <std::size_t V, bool Whole>
QUORVEX_WIDE __m512 pixelsFrom(const std::uint8_t* line, const StripOf<V, Whole>& s,
                               std::size_t v) {
  const std::uint8_t* p = line + v * kWidth;
  if (Whole) {
    return _mm512_cvtepi32_ps(
        _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
  }
  return _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(s.keep[v], p)));
}

template <std::size_t V, bool Whole>
QUORVEX_WIDE __m512 pixels(const Lines& j, std::size_t i, const StripOf<V, Whole>& s,
                           std::size_t v) {
  return pixelsFrom(j.line(i, s.x0), s, v);
}

// Down a strip each place reads a new line of the cache a row of the image apart, which the
// processor's own prefetch does not follow past a page. The strips of a run of places are
// taken one after the other, so that each step of a strip asks for the line the next strip
// reads of the same place, a strip's run of steps ahead (or, from the last strip, the first
// strip's line `places` on, in the next run): every line is asked for once, early enough for
// the last level of the cache and late enough to stay in the first. A strip's 64 bytes lie on
// two lines where the image does not begin on one: both ends are asked for.
struct Ahead {
  std::size_t x;
  std::ptrdiff_t places;
};

QUORVEX_WIDE void prefetchAhead(const Lines& j, std::size_t i, Ahead ahead) {
  const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(i) + ahead.places;
  if (at < 0 || static_cast<std::size_t>(at) >= j.m) return;
  const std::uint8_t* line = j.line(static_cast<std::size_t>(at), 0);
  _mm_prefetch(reinterpret_cast<const char*>(line + ahead.x), _MM_HINT_T0);
  _mm_prefetch(reinterpret_cast<const char*>(line + std::min(ahead.x + 63, j.w - 1)), _MM_HINT_T0);
}

// The backward sums a(i) of the strip from a(i + 1), a(i + 2) and the pixels after i, held in
// registers; near the continuation's end, where a pixel is missing, its term is 0.
template <std::size_t V>
struct BackwardOf {
  __m512 a1[V], a2[V], next[V], after[V];
};

template <std::size_t V, bool Whole>
QUORVEX_WIDE void startBackward(const Lines& j, const Coefficients& k, const StripOf<V, Whole>& s,
                                std::size_t i, BackwardOf<V>* b) {
  const std::size_t m = j.m;
  for (std::size_t v = 0; v < V; ++v) {
    b->next[v] = i + 1 < m ? pixels(j, i + 1, s, v) : k.zero;
    b->after[v] = i + 2 < m ? pixels(j, i + 2, s, v) : k.zero;
  }
}

template <std::size_t V, bool Whole>
QUORVEX_WIDE void backwardAt(const Lines& j, const Coefficients& k, const StripOf<V, Whole>& s,
                             std::size_t i, BackwardOf<V>* b, __m512* cur) {
  const std::size_t m = j.m;
  const std::uint8_t* line = j.line(i, s.x0);
  if (i + 2 < m) {
    for (std::size_t v = 0; v < V; ++v) {
      cur[v] = step(k.m1, b->next[v], k.m2, b->after[v], k.b1, b->a1[v], k.b2, b->a2[v]);
      b->a2[v] = b->a1[v], b->a1[v] = cur[v];
      b->after[v] = b->next[v], b->next[v] = pixelsFrom(line, s, v);
    }
    return;
  }
  for (std::size_t v = 0; v < V; ++v) {
    const __m512 t1 = i + 1 < m ? _mm512_mul_ps(k.m1, b->next[v]) : k.zero;
    const __m512 in = _mm512_add_ps(t1, k.zero);
    cur[v] = _mm512_sub_ps(_mm512_sub_ps(in, _mm512_mul_ps(k.b2, b->a2[v])),
                           _mm512_mul_ps(k.b1, b->a1[v]));
    b->a2[v] = b->a1[v], b->a1[v] = cur[v];
    b->after[v] = b->next[v], b->next[v] = pixelsFrom(line, s, v);
  }
}

// The forward sums c(i) from c(i - 1), c(i - 2) and the pixel before i; at place 0 that term
// is 0, added as the portable rows add it.
template <std::size_t V>
struct ForwardOf {
  __m512 p1[V], p2[V], before[V];
};

// The same from the pixels at i already in floats, `x`.
template <std::size_t V>
QUORVEX_WIDE void forwardWith(const Coefficients& k, std::size_t i, const __m512* x,
                              ForwardOf<V>* f, __m512* cur) {
  for (std::size_t v = 0; v < V; ++v) {
    if (i > 0) {
      cur[v] = step(k.n0, x[v], k.n1, f->before[v], k.b1, f->p1[v], k.b2, f->p2[v]);
    } else {
      const __m512 in = _mm512_add_ps(_mm512_mul_ps(k.n0, x[v]), k.zero);
      cur[v] = _mm512_sub_ps(_mm512_sub_ps(in, _mm512_mul_ps(k.b2, f->p2[v])),
                             _mm512_mul_ps(k.b1, f->p1[v]));
    }
    f->p2[v] = f->p1[v], f->p1[v] = cur[v], f->before[v] = x[v];
  }
}

template <std::size_t V, bool Whole>
QUORVEX_WIDE void forwardAt(const Lines& j, const Coefficients& k, const StripOf<V, Whole>& s,
                            std::size_t i, ForwardOf<V>* f, __m512* cur) {
  __m512 x[V];
  const std::uint8_t* line = j.line(i, s.x0);
  for (std::size_t v = 0; v < V; ++v) x[v] = pixelsFrom(line, s, v);
  forwardWith(k, i, x, f, cur);
}

template <std::size_t V, bool Whole>
QUORVEX_WIDE void keep(const __m512* values, const StripOf<V, Whole>& s, float* to) {
  for (std::size_t v = 0; v < V; ++v) {
    _mm512_mask_storeu_ps(to + s.x0 + v * kWidth, s.keep[v], values[v]);
  }
}

template <std::size_t V, bool Whole>
QUORVEX_WIDE void load(const float* from, const StripOf<V, Whole>& s, __m512* values) {
  for (std::size_t v = 0; v < V; ++v) {
    values[v] = _mm512_maskz_loadu_ps(s.keep[v], from + s.x0 + v * kWidth);
  }
}

}  // namespace wide
}  // namespace Standin
}  // namespace HalconCpp

#endif
#endif
