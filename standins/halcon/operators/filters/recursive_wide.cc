// smooth_image's blocks of rows in AVX-512. Its 32 registers hold the states of 64 columns'
// recursions, so that the passes down the columns read each pixel once and store only what
// they hand on, where the AVX2 form turns its states over in memory. A block's 32 rows are
// handed to the rows' recursion transposed, a column's 32 values side by side, so that it
// reads two vectors a step instead of gathering them (recursive_vectors.h).
#include <algorithm>
#include <vector>

#include "core/line_memory.h"
#include "core/threads.h"
#include "operators/filters/recursive_rows.h"
#include "operators/filters/recursive_sums.h"
#include "operators/filters/recursive_vectors.h"

#if QUORVEX_RECURSIVE_BLOCKS

namespace HalconCpp {
namespace Standin {

using namespace wide;

namespace {

// The second pass takes 64 columns a strip too: a block's lines of the image, a row apart, are
// read by half as many strips, and four chains of sums a step keep the processor busier.
constexpr std::size_t kBlockVectors = 4;
constexpr std::size_t kBlockStrip = kBlockVectors * kWidth;

// The sums of both directions a strip of a block starts from and hands on, each a pair of rows
// `w` long as the plan keeps them (recursive_blocks.h): the forward sums at the two places
// before the block, the backward ones at the two from its end on. A pair not handed on is
// null.
struct Pairs {
  const float* forwardFrom;
  float* forwardTo;
  const float* backwardFrom;
  float* backwardTo;
  // The first pass's sums of the direction the band does not carry, at the block's first
  // place, or null (RecursivePlan's sums).
  const float* kept;
};

// Forward over places [first, first + count) of a strip from the pair `from`, its last sums
// into the pair `to` if any; with `back` (a row of the strip a place), each sum plus the
// backward one, scaled, into `tile` alike, the pixels taken in floats from `floats`, laid out
// alike, which the backward sums left there.
template <std::size_t V, bool Whole>
QUORVEX_WIDE void forwards(const Lines& j, const Coefficients& k, const StripOf<V, Whole>& s,
                           std::size_t first, std::size_t count, const float* from, float* to,
                           const float* back, const float* floats, float* tile, Ahead ahead) {
  const auto w = static_cast<std::size_t>(j.w);
  ForwardOf<V> f;
  load(from, s, f.p1);
  load(from + w, s, f.p2);
  for (std::size_t v = 0; v < V; ++v) {
    f.before[v] = first > 0 ? pixels(j, first - 1, s, v) : k.zero;
  }
  for (std::size_t r = 0; r < count; ++r) {
    __m512 cur[V];
    if (!back) {
      prefetchAhead(j, first + r, ahead);
      forwardAt(j, k, s, first + r, &f, cur);
      continue;
    }
    __m512 x[V];
    for (std::size_t v = 0; v < V; ++v) x[v] = _mm512_loadu_ps(floats + (r * V + v) * kWidth);
    forwardWith(k, first + r, x, &f, cur);
    for (std::size_t v = 0; v < V; ++v) {
      const std::size_t at = (r * V + v) * kWidth;
      const __m512 sum = _mm512_add_ps(cur[v], _mm512_loadu_ps(back + at));
      _mm512_storeu_ps(tile + at, _mm512_mul_ps(sum, k.scale));
    }
  }
  if (!to) return;
  keep(f.p1, s, to);
  keep(f.p2, s, to + w);
}

// Backward over places [first, first + count) of a strip from the pair `from` (the sums at
// first + count and one after), its first sums into the pair `to` if any; with `back`, each
// sum into it, a row of the strip a place, and each place's pixels in floats into `floats`
// alike: the forward sums need not convert them again.
template <std::size_t V, bool Whole>
QUORVEX_WIDE void backwards(const Lines& j, const Coefficients& k, const StripOf<V, Whole>& s,
                            std::size_t first, std::size_t count, const float* from, float* to,
                            float* back, float* floats, Ahead ahead) {
  const auto w = static_cast<std::size_t>(j.w);
  BackwardOf<V> a;
  load(from, s, a.a1);
  load(from + w, s, a.a2);
  startBackward(j, k, s, first + count - 1, &a);
  for (std::size_t r = count; r-- > 0;) {
    prefetchAhead(j, first + r, ahead);
    __m512 cur[V];
    backwardAt(j, k, s, first + r, &a, cur);
    if (!back) continue;
    // backwardAt leaves the pixels of place first + r in `next`.
    for (std::size_t v = 0; v < V; ++v) {
      _mm512_storeu_ps(back + (r * V + v) * kWidth, cur[v]);
      _mm512_storeu_ps(floats + (r * V + v) * kWidth, a.next[v]);
    }
  }
  if (!to) return;
  keep(a.a1, s, to);
  keep(a.a2, s, to + w);
}

// Sixteen rows of sixteen floats at `from` (`pitch` apart) into sixteen columns at `to` (kSpan
// apart): pairs, then quads within each 128-bit lane, then the lanes themselves.
QUORVEX_WIDE void transpose16(const float* from, std::size_t pitch, float* to) {
  __m512 r[16], t[16];
  for (std::size_t q = 0; q < 16; ++q) r[q] = _mm512_loadu_ps(from + q * pitch);
  for (std::size_t q = 0; q < 16; q += 2) {
    t[q] = _mm512_unpacklo_ps(r[q], r[q + 1]);
    t[q + 1] = _mm512_unpackhi_ps(r[q], r[q + 1]);
  }
  // u[4 k + q], lane j: column 4 j + q of rows 4 k ... 4 k + 3.
  __m512 u[16];
  for (std::size_t k = 0; k < 16; k += 4) {
    const __m512d p0 = _mm512_castps_pd(t[k]), p1 = _mm512_castps_pd(t[k + 1]);
    const __m512d p2 = _mm512_castps_pd(t[k + 2]), p3 = _mm512_castps_pd(t[k + 3]);
    u[k + 0] = _mm512_castpd_ps(_mm512_unpacklo_pd(p0, p2));
    u[k + 1] = _mm512_castpd_ps(_mm512_unpackhi_pd(p0, p2));
    u[k + 2] = _mm512_castpd_ps(_mm512_unpacklo_pd(p1, p3));
    u[k + 3] = _mm512_castpd_ps(_mm512_unpackhi_pd(p1, p3));
  }
  // Column 4 j + q is lane j of u[q], u[4 + q], u[8 + q], u[12 + q].
  for (std::size_t q = 0; q < 4; ++q) {
    const __m512 even0 = _mm512_shuffle_f32x4(u[q], u[4 + q], 0x88);  // lanes 0 2 | 0 2
    const __m512 odd0 = _mm512_shuffle_f32x4(u[q], u[4 + q], 0xDD);   // lanes 1 3 | 1 3
    const __m512 even1 = _mm512_shuffle_f32x4(u[8 + q], u[12 + q], 0x88);
    const __m512 odd1 = _mm512_shuffle_f32x4(u[8 + q], u[12 + q], 0xDD);
    _mm512_storeu_ps(to + q * kSpan, _mm512_shuffle_f32x4(even0, even1, 0x88));
    _mm512_storeu_ps(to + (8 + q) * kSpan, _mm512_shuffle_f32x4(even0, even1, 0xDD));
    _mm512_storeu_ps(to + (4 + q) * kSpan, _mm512_shuffle_f32x4(odd0, odd1, 0x88));
    _mm512_storeu_ps(to + (12 + q) * kSpan, _mm512_shuffle_f32x4(odd0, odd1, 0xDD));
  }
}

struct Scratch {
  LineVector<float> back, floats, tile, lanes, forward;
  LineVector<std::uint8_t> bytes;
};

// A block of rows of the second pass: its index, its first place and number of rows, and
// whether the extent meets it.
struct Block {
  std::int32_t index;
  std::size_t first, rows;
  bool met;
};

// One strip of a block down the columns: in a block the extent does not meet, only the sums
// the band carries on; else the backward sums, the forward sums with them into a tile, and
// the tile transposed into the block's lanes.
template <bool Whole>
QUORVEX_WIDE void blockStrip(const Lines& j, const Coefficients& k, const Block& block,
                             const StripOf<kBlockVectors, Whole>& s, const Pairs& p, Ahead ahead,
                             Scratch& scratch) {
  const std::size_t i0 = block.first, rows = block.rows;
  if (!block.met) {
    if (p.forwardTo) {
      return forwards(j, k, s, i0, rows, p.forwardFrom, p.forwardTo, nullptr, nullptr, nullptr,
                      ahead);
    }
    return backwards(j, k, s, i0, rows, p.backwardFrom, p.backwardTo, nullptr, nullptr, ahead);
  }
  if (p.kept && p.forwardTo) {
    forwardsBesideKept(j, k, s, i0, rows, p.forwardFrom, p.forwardTo, p.kept, scratch.tile.data(),
                       ahead);
  } else if (p.kept) {
    backwardsBesideKept(j, k, s, i0, rows, p.backwardFrom, p.backwardTo, p.kept,
                        scratch.tile.data(), ahead);
  } else {
    backwards(j, k, s, i0, rows, p.backwardFrom, p.backwardTo, scratch.back.data(),
              scratch.floats.data(), ahead);
    // The rows a last block lacks keep what the block before left: their lanes are never
    // written out.
    forwards(j, k, s, i0, rows, p.forwardFrom, p.forwardTo, scratch.back.data(),
             scratch.floats.data(), scratch.tile.data(), ahead);
  }
  for (std::size_t r = 0; r < kSpan; r += kWidth) {
    for (std::size_t c = 0; c < kBlockStrip; c += kWidth) {
      transpose16(scratch.tile.data() + r * kBlockStrip + c, kBlockStrip,
                  scratch.lanes.data() + (s.x0 + c) * kSpan + r);
    }
  }
}

void zeroRows(std::uint8_t* dst, std::size_t w, std::int32_t y0, std::int32_t y1) {
  if (y0 < y1) {
    std::fill(dst + static_cast<std::size_t>(y0) * w, dst + static_cast<std::size_t>(y1) * w,
              std::uint8_t{0});
  }
}

// The rows' bytes (bytes[x * kSpan + lane], read up to 64 columns past the last) over the
// extent's spans of rows [y0, y1), and 0 beside them: sixteen lanes of 64 columns at a time,
// turned about in registers whose 128-bit lanes each hold sixteen columns, so that each row
// takes its 64 columns in one store.
QUORVEX_WIDE void writeRows(const std::uint8_t* bytes, std::size_t w, std::int32_t y0,
                            std::int32_t y1, const Extent& extent, std::uint8_t* dst) {
  constexpr std::size_t kRows = 16, kColumns = 64;
  const auto rows = static_cast<std::size_t>(y1 - y0);
  // The spans' addresses as values of their own, which the stores of bytes cannot alias.
  const std::int32_t* const begins = extent.begin.data();
  const std::int32_t* const ends = extent.end.data();
  for (std::size_t g = 0; g < rows; g += kRows) {
    const std::size_t groupRows = std::min(kRows, rows - g);
    for (std::size_t x = 0; x < w; x += kColumns) {
      const std::size_t columns = std::min(kColumns, w - x);
      // v[q], 128-bit lane k: column x + 16 k + q, lanes g ... g + 15.
      __m512i v[16];
      for (std::size_t q = 0; q < 16; ++q) {
        const std::uint8_t* p = bytes + (x + q) * kSpan + g;
        const auto at = [&](std::size_t k) {
          return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k * kSpan));
        };
        __m512i t = _mm512_castsi128_si512(at(0));
        t = _mm512_inserti32x4(t, at(1), 1);
        t = _mm512_inserti32x4(t, at(2), 2);
        v[q] = _mm512_inserti32x4(t, at(3), 3);
      }
      // Four rounds of interleaving the bytes of vectors i and i + 8 turn each lane's sixteen
      // by sixteen bytes about: v[l], lane k, is then lane g + l of columns x + 16 k ...
      // Unrolled whole, with each row's v[l] taken by a constant index, the vectors stay in
      // registers rather than going through memory between rounds.
#pragma GCC unroll 4
      for (int round = 0; round < 4; ++round) {
        __m512i u[16];
#pragma GCC unroll 8
        for (std::size_t i = 0; i < 8; ++i) {
          u[2 * i] = _mm512_unpacklo_epi8(v[i], v[i + 8]);
          u[2 * i + 1] = _mm512_unpackhi_epi8(v[i], v[i + 8]);
        }
#pragma GCC unroll 16
        for (std::size_t i = 0; i < 16; ++i) v[i] = u[i];
      }
      const __mmask64 valid = columns == kColumns ? ~__mmask64{0} : (__mmask64{1} << columns) - 1;
#pragma GCC unroll 16
      for (std::size_t l = 0; l < kRows; ++l) {
        if (l == groupRows) break;
        const std::size_t row = static_cast<std::size_t>(y0) + g + l;
        const std::int64_t from = std::max<std::int64_t>(begins[row], std::int64_t(x));
        const std::int64_t to = std::min<std::int64_t>(ends[row], std::int64_t(x + columns) - 1);
        // The columns beside the extent take 0, so that the caller need not clear them first.
        __mmask64 inside = 0;
        if (from <= to) {
          inside = (~__mmask64{0} >> (63 - (to - from))) << (from - std::int64_t(x));
        }
        const __m512i value = _mm512_maskz_mov_epi8(inside, v[l]);
        std::uint8_t* out = dst + row * w + x;
        if (columns == kColumns) {
          _mm512_storeu_si512(out, value);
        } else {
          _mm512_mask_storeu_epi8(out, valid, value);
        }
      }
    }
  }
}

}  // namespace

__attribute__((target(QUORVEX_AVX512))) void filterBlocksWide(
    const RecursiveJob& j, const RecursivePlan& plan, const std::vector<std::int32_t>& columns,
    const Extent& extent, std::int32_t b0, std::int32_t b1, bool upward, std::uint8_t* dst) {
  const Coefficients k = coefficientsOf(*j.c);
  const Lines lines = linesOf(j);
  const auto w = static_cast<std::size_t>(j.w);
  const std::size_t m = columns.size();
  // The pair of sums the band carries from block to block: the forward ones downwards, the
  // backward ones upwards. On a line of the cache, as the strips load and store it whole
  // vectors at a time, and kept on the thread like the buffers below.
  thread_local std::unique_ptr<LineVector<float>> carriedSlot;
  LineVector<float>& carriedBuffer = keptOnThread(carriedSlot);
  carriedBuffer.resize(2 * w);
  float* const carriedPairs = carriedBuffer.data();
  std::fill(carriedPairs, carriedPairs + 2 * w, 0.0f);
  // A thread's buffers stay from call to call: fresh ones of this size would come as fresh
  // pages of memory every call. Every value is written before it is read (a last block's
  // missing rows read what an earlier block left, in lanes never written out).
  thread_local std::unique_ptr<Scratch> scratchSlot;
  Scratch& scratch = keptOnThread(scratchSlot);
  scratch.back.resize(kSpan * kBlockStrip), scratch.tile.resize(kSpan * kBlockStrip);
  scratch.floats.resize(kSpan * kBlockStrip);
  // A strip past the last column, so that the last strip's tiles land whole.
  scratch.lanes.resize((w + kBlockStrip) * kSpan), scratch.forward.resize(m * kSpan);
  // The rows are written 64 columns at a time, read past the last column.
  scratch.bytes.resize((w + 64) * kSpan);
  const auto pairOf = [&](const float* kept, std::int32_t b) {
    return kept + 2 * w * static_cast<std::size_t>(b);
  };
  if (upward) {
    const float* kept = pairOf(plan.backward, b1 - 1);
    std::copy(kept, kept + 2 * w, carriedPairs);
  } else if (b0 > 0) {
    const float* kept = pairOf(plan.forward, b0);
    std::copy(kept, kept + 2 * w, carriedPairs);
  } else {
    // The places above the image, which no block holds.
    for (std::size_t s0 = 0; s0 < w; s0 += kBlockStrip) {
      forwards(lines, k, stripAt<kBlockVectors, false>(s0, w), 0, placeOf(j, 0), carriedPairs,
               carriedPairs, nullptr, nullptr, nullptr, Ahead{s0 + kBlockStrip, 0});
    }
  }
  // Upwards, the blocks above the first met one need no sums, only their zeros: all of the
  // band's when the first met block lies in a later band, whose rows are that band's own.
  const std::int32_t count = upward ? std::max(0, b1 - std::max(b0, plan.lowest)) : b1 - b0;
  zeroRows(dst, w, plan.rowOf(b0), plan.rowOf(b1 - count));
  for (std::int32_t n = 0; n < count; ++n) {
    const std::int32_t b = upward ? b1 - 1 - n : b0 + n;
    const std::int32_t y0 = plan.rowOf(b), y1 = plan.rowOf(b + 1);
    const bool met = plan.met[static_cast<std::size_t>(b)] != 0;
    const Block block{b, placeOf(j, y0), static_cast<std::size_t>(y1 - y0), met};
    const float* kept = nullptr;
    if (upward && plan.forwardSums) kept = plan.forwardSums + block.first * w;
    if (!upward && plan.backwardSums) {
      kept = plan.backwardSums + (block.first - plan.backwardSumsFrom) * w;
    }
    const Pairs pairs =
        upward ? Pairs{pairOf(plan.forward, b), nullptr, carriedPairs, carriedPairs, kept}
               : Pairs{carriedPairs, carriedPairs, pairOf(plan.backward, b), nullptr, kept};
    // The last strip asks for the next block's first, taken as long as this one.
    const auto places = static_cast<std::ptrdiff_t>(y1 - y0);
    const Ahead nextBlock{0, upward ? -places : places};
    for (std::size_t s0 = 0; s0 < w; s0 += kBlockStrip) {
      const Ahead ahead = s0 + kBlockStrip < w ? Ahead{s0 + kBlockStrip, 0} : nextBlock;
      if (s0 + kBlockStrip <= w) {
        blockStrip(lines, k, block, stripAt<kBlockVectors, true>(s0, w), pairs, ahead, scratch);
      } else {
        blockStrip(lines, k, block, stripAt<kBlockVectors, false>(s0, w), pairs, ahead, scratch);
      }
    }
    if (!met) {
      zeroRows(dst, w, y0, y1);
      continue;
    }
    Columns wanted{w, 0};
    for (std::int32_t y = y0; y < y1; ++y) {
      const auto row = static_cast<std::size_t>(y);
      if (extent.begin[row] > extent.end[row]) continue;
      wanted.lo = std::min(wanted.lo, static_cast<std::size_t>(extent.begin[row]));
      wanted.hi = std::max(wanted.hi, static_cast<std::size_t>(extent.end[row]));
    }
    rowsAlong(k, scratch.lanes.data(), columns.data(), m, static_cast<std::size_t>(j.reach), wanted,
              scratch.forward.data(), scratch.bytes.data());
    writeRows(scratch.bytes.data(), w, y0, y1, extent, dst);
  }
}

}  // namespace Standin
}  // namespace HalconCpp

#endif