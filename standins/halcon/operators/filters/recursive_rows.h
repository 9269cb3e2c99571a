// smooth_image's rows in AVX-512 (recursive_wide.cc): the recursion along a block's rows, two
// vectors of sixteen rows side by side, rounded into bytes, with the same operations in the same
// order as the AVX2 form and the portable rows (recursive_vectors.h).
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_ROWS_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_ROWS_H

#include "operators/filters/recursive_vectors.h"

#if QUORVEX_RECURSIVE_BLOCKS
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace HalconCpp {
namespace Standin {
namespace wide {

constexpr std::size_t kVectors = 2;  // vectors a group of rows
constexpr std::size_t kSpan = kWidth * kVectors;
static_assert(kSpan == static_cast<std::size_t>(kBlockRows), "a block's rows fill one group");
static_assert(kVectors == 2, "the rows are rounded a pair of vectors at a time");

// clampToByte for two vectors of sums, `a` then `b`: 0 up to 0, 255 from 255, else
// floor(v + 0.5). The floor is taken as a whole number and clamped as one: a sum is a weighted
// mean of bytes whose weights' magnitudes add up to a few, far inside 32 bits. Two packs with
// saturation clamp to 16 bits and then to 0 ... 255, each 128-bit lane on its own; the lanes'
// words then go back in order.
QUORVEX_WIDE __m512i roundedWords(__m512 a, __m512 b) {
  const __m512 half = _mm512_set1_ps(0.5f);
  const __m512i ra =
      _mm512_cvt_roundps_epi32(_mm512_add_ps(a, half), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  const __m512i rb =
      _mm512_cvt_roundps_epi32(_mm512_add_ps(b, half), _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
  // Lane l: a[4 l ... 4 l + 3], b[4 l ... 4 l + 3].
  return _mm512_packs_epi32(ra, rb);
}

QUORVEX_WIDE __m256i roundedPair(__m512 a, __m512 b) {
  const __m512i words = roundedWords(a, b);
  // Lane l: a[4 l ... 4 l + 3], b[4 l ... 4 l + 3], twice, as four 32-bit words.
  const __m512i bytes = _mm512_packus_epi16(words, words);
  const __m512i order = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 0, 0, 0, 0, 0, 0, 0, 0);
  return _mm512_castsi512_si256(_mm512_permutexvar_epi32(order, bytes));
}

// The same for two places at once, `a` the lower: one pack to bytes and one permute for both,
// where each place alone takes one of each.
QUORVEX_WIDE __m512i roundedPlaces(const __m512* a, const __m512* b) {
  // Lane l: place a's lanes 4 l ... 4 l + 3 of its two vectors, then place b's.
  const __m512i bytes = _mm512_packus_epi16(roundedWords(a[0], a[1]), roundedWords(b[0], b[1]));
  const __m512i order = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
  return _mm512_permutexvar_epi32(order, bytes);
}

// The rows' recursion over a block's columns `lanes` (a column's kSpan rows side by side)
// along the continuation `indices` (m places, the row from `first` on), rounded into
// bytes[x * kSpan + lane] for the columns `wanted` of the row. A column's forward sum reads
// nothing right of it and its backward sum nothing left of it: the forward sums stop at the
// last wanted column and the backward sums at the first.
struct Columns {
  std::size_t lo, hi;
};

// The states of the backward sums along the rows: the sums and pixels after the place.
struct RowState {
  __m512 *s1, *s2, *x1, *y2;
};

// The backward step at place i, into `sums`.
QUORVEX_WIDE void backwardAlong(const Coefficients& k, const float* lanes,
                                const std::int32_t* indices, std::size_t i, const RowState& b,
                                __m512* sums) {
  const float* e = lanes + static_cast<std::size_t>(indices[i]) * kSpan;
  for (std::size_t v = 0; v < kVectors; ++v) {
    sums[v] = step(k.m1, b.x1[v], k.m2, b.y2[v], k.b1, b.s1[v], k.b2, b.s2[v]);
    b.s2[v] = b.s1[v], b.s1[v] = sums[v], b.y2[v] = b.x1[v];
    b.x1[v] = _mm512_loadu_ps(e + v * kWidth);
  }
}

// The forward step at place i, its sums into forward[i] if `forward` (y2 unused).
QUORVEX_WIDE void forwardAlong(const Coefficients& k, const float* lanes,
                               const std::int32_t* indices, std::size_t i, const RowState& f,
                               float* forward) {
  const float* e = lanes + static_cast<std::size_t>(indices[i]) * kSpan;
  for (std::size_t v = 0; v < kVectors; ++v) {
    const __m512 x = _mm512_loadu_ps(e + v * kWidth);
    const __m512 sum = step(k.n0, x, k.n1, f.x1[v], k.b1, f.s1[v], k.b2, f.s2[v]);
    if (forward) _mm512_storeu_ps(forward + i * kSpan + v * kWidth, sum);
    f.s2[v] = f.s1[v], f.s1[v] = sum, f.x1[v] = x;
  }
}

// The sum of both directions at place `at`, scaled.
QUORVEX_WIDE void scaledAt(const Coefficients& k, const float* forward, std::size_t at,
                           const __m512* sums, __m512* out) {
  for (std::size_t v = 0; v < kVectors; ++v) {
    out[v] = _mm512_mul_ps(
        _mm512_add_ps(_mm512_loadu_ps(forward + at * kSpan + v * kWidth), sums[v]), k.scale);
  }
}

QUORVEX_WIDE void rowsAlong(const Coefficients& k, const float* lanes, const std::int32_t* indices,
                            std::size_t m, std::size_t first, Columns wanted, float* forward,
                            std::uint8_t* bytes) {
  // The forward loops are unrolled as the backward ones below are. Left of the first wanted
  // column the sums alone, then each wanted place's kept for the backward sums.
  __m512 s1[kVectors], s2[kVectors], x1[kVectors], y2[kVectors];
  for (std::size_t v = 0; v < kVectors; ++v) s1[v] = s2[v] = x1[v] = k.zero;
  const RowState forwardState{s1, s2, x1, y2};
  std::size_t i = 0;
#pragma GCC unroll 2
  for (; i < first + wanted.lo; ++i) forwardAlong(k, lanes, indices, i, forwardState, nullptr);
#pragma GCC unroll 2
  for (; i <= first + wanted.hi; ++i) forwardAlong(k, lanes, indices, i, forwardState, forward);
  for (std::size_t v = 0; v < kVectors; ++v) s1[v] = s2[v] = x1[v] = y2[v] = k.zero;
  __m512 sums[kVectors];
  const RowState state{s1, s2, x1, y2};
  // Right of the last wanted column the sums alone, then each wanted place rounded: two loops
  // without a choice in them, each unrolled so that the states change places rather than
  // registers.
  i = m;
#pragma GCC unroll 2
  for (; i > first + wanted.hi + 1; --i) backwardAlong(k, lanes, indices, i - 1, state, sums);
  // Two places a step, rounded together; a last one alone.
  for (; i >= first + wanted.lo + 2; i -= 2) {
    __m512 upper[kVectors], lower[kVectors];
    backwardAlong(k, lanes, indices, i - 1, state, sums);
    scaledAt(k, forward, i - 1, sums, upper);
    backwardAlong(k, lanes, indices, i - 2, state, sums);
    scaledAt(k, forward, i - 2, sums, lower);
    _mm512_storeu_si512(bytes + (i - 2 - first) * kSpan, roundedPlaces(lower, upper));
  }
  if (i > first + wanted.lo) {
    backwardAlong(k, lanes, indices, i - 1, state, sums);
    __m512 out[kVectors];
    scaledAt(k, forward, i - 1, sums, out);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + (i - 1 - first) * kSpan),
                        roundedPair(out[0], out[1]));
  }
}

}  // namespace wide
}  // namespace Standin
}  // namespace HalconCpp

#endif
#endif
