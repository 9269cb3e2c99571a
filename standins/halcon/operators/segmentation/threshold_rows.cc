#include "operators/segmentation/threshold_rows.h"

#include <algorithm>
#include <new>

#include "core/params.h"
#include "core/threads.h"
#include "operators/filters/image_kernels.h"

#if defined(__GNUC__) && defined(__x86_64__)
#define QUORVEX_THRESHOLD_AVX2 1
#include <immintrin.h>
#else
#define QUORVEX_THRESHOLD_AVX2 0
#endif

namespace HalconCpp {
namespace Standin {

#if QUORVEX_THRESHOLD_AVX2

bool thresholdVectorsRun() {
  static const bool avx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return avx2;
}

namespace {

__attribute__((target("avx2"))) inline __m256i differenceMask(const std::uint8_t* g,
                                                              const std::uint8_t* t, __m256i below,
                                                              __m256i above) {
  const __m256i d =
      _mm256_sub_epi16(_mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(g))),
                       _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(t))));
  return _mm256_and_si256(_mm256_cmpgt_epi16(d, below), _mm256_cmpgt_epi16(above, d));
}

}  // namespace

__attribute__((target("avx2"))) std::size_t differenceBits(const std::uint8_t* g,
                                                           const std::uint8_t* t, std::size_t n,
                                                           int low, int high, bool outside,
                                                           std::uint64_t* bits) {
  const __m256i below = _mm256_set1_epi16(static_cast<short>(low - 1));
  const __m256i above = _mm256_set1_epi16(static_cast<short>(high + 1));
  const __m256i flip = outside ? _mm256_set1_epi8(-1) : _mm256_setzero_si256();
  std::size_t x = 0;
  for (; x + 32 <= n; x += 32) {
    const __m256i first = differenceMask(g + x, t + x, below, above);
    const __m256i second = differenceMask(g + x + 16, t + x + 16, below, above);
    // packs works within 128-bit halves: the quarters come back in order after the permute.
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(first, second), 0xD8);
    const auto mask =
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_xor_si256(packed, flip)));
    std::uint64_t& word = bits[x / 64];
    word = x % 64 == 0 ? mask : word | (std::uint64_t{mask} << 32);
  }
  return x;
}

namespace {

// Whole numbers below 2^52 as doubles: their bits under the exponent of 2^52, less 2^52.
__attribute__((target("avx2"))) inline __m256d wholeToDouble(const std::uint64_t* v) {
  const __m256i magic = _mm256_set1_epi64x(0x4330000000000000);
  const __m256i bitsOf =
      _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(v)), magic);
  return _mm256_sub_pd(_mm256_castsi256_pd(bitsOf), _mm256_castsi256_pd(magic));
}

// (a < b) ? b : a and (b < a) ? b : a, as std::max and std::min choose.
__attribute__((target("avx2"))) inline __m256d maxLike(__m256d a, __m256d b) {
  return _mm256_blendv_pd(a, b, _mm256_cmp_pd(a, b, _CMP_LT_OQ));
}
__attribute__((target("avx2"))) inline __m256d minLike(__m256d a, __m256d b) {
  return _mm256_blendv_pd(a, b, _mm256_cmp_pd(b, a, _CMP_LT_OQ));
}

}  // namespace

// Most pixels' answers without the divisions and the root. With x = m - g and w = scale d,
// every comparison tests y >= v = max(w, absolute), that is y >= absolute and y >= w, for
// y = x ('dark'), -x ('light') or |x| ('not_equal'; 'equal' is the opposite). Times the area A,
// y A comes from e = S - g A, a whole number, and y >= w (y > 0) from e^2 against
// scale^2 (Q A - S^2), both exact in doubles (below 2^53 for every mask). Where a side passes
// the other by a margin far above what the roundings of the divided form can move them (for
// 0 <= scale <= 100 and |absolute| <= 1000), its answer is the divided form's; the rest take
// the divided form.
namespace {

struct Decisions {
  __m256d area, absA, m1, m1Neg, s2, m2, m2Neg;
  Comparison comparison;

  // Bits of the pixels decided, and of those kept among them.
  __attribute__((target("avx2"), always_inline)) inline void decide(const std::uint64_t* sums,
                                                                    const std::uint64_t* squares,
                                                                    __m256d grey, __m256d* certain,
                                                                    __m256d* keep) const {
    const __m256d s = wholeToDouble(sums), q = wholeToDouble(squares);
    const __m256d e = _mm256_sub_pd(s, _mm256_mul_pd(grey, area));
    const __m256d y = comparison == Comparison::Dark    ? e
                      : comparison == Comparison::Light ? _mm256_sub_pd(_mm256_setzero_pd(), e)
                                                        : _mm256_andnot_pd(_mm256_set1_pd(-0.0), e);
    const __m256d d1 = _mm256_sub_pd(y, absA);
    const __m256d d2 = _mm256_sub_pd(
        _mm256_mul_pd(y, y),
        _mm256_mul_pd(s2, _mm256_sub_pd(_mm256_mul_pd(q, area), _mm256_mul_pd(s, s))));
    const __m256d positive = _mm256_cmp_pd(y, m1, _CMP_GT_OQ);
    const __m256d above = _mm256_and_pd(_mm256_cmp_pd(d1, m1, _CMP_GT_OQ),
                                        _mm256_and_pd(positive, _mm256_cmp_pd(d2, m2, _CMP_GT_OQ)));
    const __m256d below = _mm256_or_pd(
        _mm256_or_pd(_mm256_cmp_pd(d1, m1Neg, _CMP_LT_OQ), _mm256_cmp_pd(y, m1Neg, _CMP_LT_OQ)),
        _mm256_and_pd(positive, _mm256_cmp_pd(d2, m2Neg, _CMP_LT_OQ)));
    *certain = _mm256_or_pd(above, below);
    *keep = comparison == Comparison::Equal ? below : above;
  }
};

}  // namespace

namespace {

__attribute__((target(QUORVEX_AVX512), always_inline)) inline __mmask8 lt(__m512d a, __m512d b) {
  return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ);
}
__attribute__((target(QUORVEX_AVX512), always_inline)) inline __mmask8 gt(__m512d a, __m512d b) {
  return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ);
}

// The same steps eight lanes at a time, from x = 0 in whole groups of 8, whose count it
// returns; the lanes' masks stand for the blends and the bits of the lanes.
__attribute__((target(QUORVEX_AVX512))) std::size_t localDeviationBitsAvx512(
    const std::uint8_t* g, const std::uint64_t* sums, const std::uint64_t* squares, std::size_t n,
    double area, double scale, double absolute, Comparison comparison, std::uint64_t* bits) {
  const __m512d areaV = _mm512_set1_pd(area), scaleV = _mm512_set1_pd(scale);
  const __m512d absoluteV = _mm512_set1_pd(absolute), zero = _mm512_setzero_pd();
  const bool positive = scale >= 0;
  const bool decided = positive && scale <= 100 && absolute >= -1000 && absolute <= 1000;
  const double margin2 = 1e-8 * (1 + scale * scale) * area * area;
  const __m512d absA = _mm512_set1_pd(absolute * area), m1 = _mm512_set1_pd(1e-9 * area),
                m1Neg = _mm512_set1_pd(-1e-9 * area), s2 = _mm512_set1_pd(scale * scale),
                m2 = _mm512_set1_pd(margin2), m2Neg = _mm512_set1_pd(-margin2);
  // The masked forms, all lanes on: GCC 12 warns of the unmasked ones' undefined sources.
  const __mmask8 all = 0xff;
  std::size_t x = 0;
  for (; x + 8 <= n; x += 8) {
    const __m512d grey = _mm512_maskz_cvtepi32_pd(
        all, _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(g + x))));
    const __m512d s = _mm512_maskz_cvtepu64_pd(all, _mm512_loadu_si512(sums + x));
    const __m512d q = _mm512_maskz_cvtepu64_pd(all, _mm512_loadu_si512(squares + x));
    __mmask8 certain = 0, fast = 0;
    if (decided) {
      const __m512d e = _mm512_sub_pd(s, _mm512_mul_pd(grey, areaV));
      const __m512d y = comparison == Comparison::Dark    ? e
                        : comparison == Comparison::Light ? _mm512_sub_pd(zero, e)
                                                          : _mm512_abs_pd(e);
      const __m512d d1 = _mm512_sub_pd(y, absA);
      const __m512d d2 = _mm512_sub_pd(
          _mm512_mul_pd(y, y),
          _mm512_mul_pd(s2, _mm512_sub_pd(_mm512_mul_pd(q, areaV), _mm512_mul_pd(s, s))));
      const __mmask8 above = gt(y, m1) & gt(d1, m1) & gt(d2, m2);
      const __mmask8 below = lt(d1, m1Neg) | lt(y, m1Neg) | (gt(y, m1) & lt(d2, m2Neg));
      certain = above | below;
      fast = comparison == Comparison::Equal ? below : above;
    }
    __mmask8 keep = fast;
    if (certain != 0xff) {
      const __m512d m = _mm512_div_pd(s, areaV);
      const __m512d variance = _mm512_sub_pd(_mm512_div_pd(q, areaV), _mm512_mul_pd(m, m));
      // max(0, variance) and the limit as std::max and std::min choose: (a < b) ? b : a.
      const __m512d deviation =
          _mm512_maskz_sqrt_pd(all, _mm512_mask_blend_pd(lt(zero, variance), zero, variance));
      const __m512d scaled = _mm512_mul_pd(scaleV, deviation);
      const __m512d v = positive ? _mm512_mask_blend_pd(lt(scaled, absoluteV), scaled, absoluteV)
                                 : _mm512_mask_blend_pd(lt(absoluteV, scaled), scaled, absoluteV);
      const __m512d upper = _mm512_add_pd(m, v), lower = _mm512_sub_pd(m, v);
      __mmask8 slow;
      switch (comparison) {
        case Comparison::Light:
          slow = _mm512_cmp_pd_mask(grey, upper, _CMP_GE_OQ);
          break;
        case Comparison::Dark:
          slow = _mm512_cmp_pd_mask(grey, lower, _CMP_LE_OQ);
          break;
        case Comparison::Equal:
          slow = _mm512_cmp_pd_mask(grey, lower, _CMP_GE_OQ) &
                 _mm512_cmp_pd_mask(grey, upper, _CMP_LE_OQ);
          break;
        case Comparison::NotEqual:
        default:
          slow = lt(grey, lower) | gt(grey, upper);
          break;
      }
      keep = static_cast<__mmask8>((slow & ~certain) | (fast & certain));
    }
    std::uint64_t& word = bits[x / 64];
    const std::uint64_t mask = keep;
    word = x % 64 == 0 ? mask : word | (mask << (x % 64));
  }
  return x;
}

}  // namespace

__attribute__((target("avx2"))) std::size_t localDeviationBits(
    const std::uint8_t* g, const std::uint64_t* sums, const std::uint64_t* squares, std::size_t n,
    double area, double scale, double absolute, Comparison comparison, std::uint64_t* bits) {
  std::size_t x = 0;
  if (cpuHasAvx512()) {
    x = localDeviationBitsAvx512(g, sums, squares, n, area, scale, absolute, comparison, bits);
  }
  const __m256d areaV = _mm256_set1_pd(area), scaleV = _mm256_set1_pd(scale);
  const __m256d absoluteV = _mm256_set1_pd(absolute), zero = _mm256_setzero_pd();
  const bool positive = scale >= 0;
  const bool decided = positive && scale <= 100 && absolute >= -1000 && absolute <= 1000;
  const double m2 = 1e-8 * (1 + scale * scale) * area * area;
  const Decisions decisions{areaV,
                            _mm256_set1_pd(absolute * area),
                            _mm256_set1_pd(1e-9 * area),
                            _mm256_set1_pd(-1e-9 * area),
                            _mm256_set1_pd(scale * scale),
                            _mm256_set1_pd(m2),
                            _mm256_set1_pd(-m2),
                            comparison};
  for (; x + 4 <= n; x += 4) {
    std::int32_t four;
    __builtin_memcpy(&four, g + x, sizeof four);
    const __m256d grey = _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(four)));
    __m256d certain = zero, fast = zero;
    if (decided) decisions.decide(sums + x, squares + x, grey, &certain, &fast);
    __m256d keep = fast;
    if (_mm256_movemask_pd(certain) != 0xf) {
      const __m256d m = _mm256_div_pd(wholeToDouble(sums + x), areaV);
      const __m256d variance =
          _mm256_sub_pd(_mm256_div_pd(wholeToDouble(squares + x), areaV), _mm256_mul_pd(m, m));
      const __m256d deviation = _mm256_sqrt_pd(maxLike(zero, variance));
      const __m256d scaled = _mm256_mul_pd(scaleV, deviation);
      const __m256d v = positive ? maxLike(scaled, absoluteV) : minLike(scaled, absoluteV);
      switch (comparison) {
        case Comparison::Light:
          keep = _mm256_cmp_pd(grey, _mm256_add_pd(m, v), _CMP_GE_OQ);
          break;
        case Comparison::Dark:
          keep = _mm256_cmp_pd(grey, _mm256_sub_pd(m, v), _CMP_LE_OQ);
          break;
        case Comparison::Equal:
          keep = _mm256_and_pd(_mm256_cmp_pd(grey, _mm256_sub_pd(m, v), _CMP_GE_OQ),
                               _mm256_cmp_pd(grey, _mm256_add_pd(m, v), _CMP_LE_OQ));
          break;
        case Comparison::NotEqual:
        default:
          keep = _mm256_or_pd(_mm256_cmp_pd(grey, _mm256_sub_pd(m, v), _CMP_LT_OQ),
                              _mm256_cmp_pd(grey, _mm256_add_pd(m, v), _CMP_GT_OQ));
          break;
      }
      keep = _mm256_blendv_pd(keep, fast, certain);
    }
    const auto mask = static_cast<std::uint64_t>(_mm256_movemask_pd(keep));
    std::uint64_t& word = bits[x / 64];
    word = x % 64 == 0 ? mask : word | (mask << (x % 64));
  }
  return x;
}

#else

bool thresholdVectorsRun() {
  return false;
}

std::size_t differenceBits(const std::uint8_t*, const std::uint8_t*, std::size_t, int, int, bool,
                           std::uint64_t*) {
  return 0;
}

std::size_t localDeviationBits(const std::uint8_t*, const std::uint64_t*, const std::uint64_t*,
                               std::size_t, double, double, double, Comparison, std::uint64_t*) {
  return 0;
}

#endif

namespace {

// A run's fields stored one by one: a Run built whole goes through the stack, whose two
// 4-byte stores a single 8-byte load then waits on, a stall at every run.
inline void append(Runs& out, std::int32_t row, std::int32_t begin, std::int32_t end) {
  Run& run = out.emplace_back();
  run.row = row;
  run.begin = begin;
  run.end = end;
}

// From the edges of each word (where a bit differs from the one before it), which alternate
// between a run's start and the place after its end: a short loop a word whose only
// unpredictable branch is its exit, not a branch at every run. Hands each run's first and last
// column to `run`.
template <typename Sink>
inline __attribute__((always_inline)) void bitRuns(const std::uint64_t* bits, std::size_t n,
                                                   std::int32_t column, Sink&& run) {
  const std::size_t words = (n + 63) / 64;
  std::uint64_t previous = 0;  // the last bit of the word before, in bit 0
  bool open = false;
  std::int32_t start = 0;
  for (std::size_t i = 0; i < words; ++i) {
    std::uint64_t w = bits[i];
    const std::size_t valid = n - i * 64 < 64 ? n - i * 64 : 64;
    if (valid < 64) w &= (std::uint64_t{1} << valid) - 1;
    std::uint64_t edges = w ^ ((w << 1) | previous);
    previous = w >> 63;
    const auto base = column + static_cast<std::int32_t>(i * 64);
    while (edges != 0) {
      const std::int32_t at = base + static_cast<std::int32_t>(__builtin_ctzll(edges));
      edges &= edges - 1;
      if (open) run(start, at - 1);
      start = at;
      open = !open;
    }
  }
  if (open) run(start, column + static_cast<std::int32_t>(n - 1));
}

// The set bits of a word in a few whole-word steps: without a target that has the popcount
// instruction, the builtin is a call into the compiler's support library.
inline std::uint64_t setBits(std::uint64_t w) {
  w -= (w >> 1) & 0x5555555555555555u;
  w = (w & 0x3333333333333333u) + ((w >> 2) & 0x3333333333333333u);
  w = (w + (w >> 4)) & 0x0f0f0f0f0f0f0f0fu;
  return (w * 0x0101010101010101u) >> 56;
}

// The runs among the first n bits: half their edges, the last run's end counted when it
// reaches the end.
std::size_t bitRunCount(const std::uint64_t* bits, std::size_t n) {
  std::size_t edges = 0;
  std::uint64_t previous = 0;
  for (std::size_t i = 0; i < (n + 63) / 64; ++i) {
    std::uint64_t w = bits[i];
    if (n - i * 64 < 64) w &= (std::uint64_t{1} << (n - i * 64)) - 1;
    edges += static_cast<std::size_t>(setBits(w ^ ((w << 1) | previous)));
    previous = w >> 63;
  }
  return (edges + previous) / 2;
}

}  // namespace

// The room for the row's runs is made first, so that appending them never moves them.
void appendBitRuns(const std::uint64_t* bits, std::size_t n, std::int32_t row, std::int32_t column,
                   Runs& out) {
  const std::size_t most = out.size() + (n + 1) / 2;
  if (out.capacity() < most) out.reserve(std::max(most, 2 * out.capacity()));
  bitRuns(bits, n, column,
          [&](std::int32_t begin, std::int32_t end) { append(out, row, begin, end); });
}

DomainBits::DomainBits(const Runs& domain, std::int32_t width, std::int32_t height, const char* op)
    : domain_(domain) {
  begins_.resize(domain.size());
  lengths_.resize(domain.size());
  wordAt_.resize(domain.size() + 1);
  for (std::size_t k = 0; k < domain.size(); ++k) {
    const Run& run = domain[k];
    begins_[k] = std::max(run.begin, 0);
    const std::int32_t end = std::min(run.end, width - 1);
    const bool inside = run.row >= 0 && run.row < height && begins_[k] <= end;
    lengths_[k] = inside ? static_cast<std::size_t>(end - begins_[k] + 1) : 0;
    wordAt_[k + 1] = wordAt_[k] + (lengths_[k] + 63) / 64;
  }
  reservation_.change(std::uint64_t{wordAt_.back()} * sizeof(std::uint64_t), op);
  try {
    store_.resize(wordAt_.back());
  } catch (const std::bad_alloc&) {
    fail(op, H_ERR_NO_MEMORY);
  }
  counts_.assign(domain.size(), 0);
}

void DomainBits::counted(std::size_t k) {
  counts_[k] = static_cast<std::uint32_t>(bitRunCount(store_.data() + wordAt_[k], lengths_[k]));
}

Runs DomainBits::runs(const std::vector<std::size_t>& bandRuns) const {
  const std::size_t bands = bandRuns.size() - 1;
  // Where each band's runs start in the result, which the bands then fill at once.
  std::vector<std::size_t> first(bands + 1, 0);
  for (std::size_t b = 0; b < bands; ++b) {
    first[b + 1] = first[b];
    for (std::size_t k = bandRuns[b]; k < bandRuns[b + 1]; ++k) first[b + 1] += counts_[k];
  }
  Runs runs(first[bands]);
  const auto write = [&](int band, std::int64_t, std::int64_t) {
    const auto b = static_cast<std::size_t>(band);
    Run* out = runs.data() + first[b];
    // Never past the band's room, whatever the bits: one compare a run.
    Run* const last = runs.data() + first[b + 1];
    for (std::size_t k = bandRuns[b]; k < bandRuns[b + 1]; ++k) {
      if (counts_[k] == 0) continue;
      const std::int32_t row = domain_[k].row;
      bitRuns(store_.data() + wordAt_[k], lengths_[k], begins_[k],
              [&](std::int32_t begin, std::int32_t end) {
                if (out == last) return;
                out->row = row;
                out->begin = begin;
                out->end = end;
                ++out;
              });
    }
  };
  // A run costs about what eight pixels of a plain filter do; where the bits came from several
  // bands, the pool's workers are still awake from them and handing out the runs costs little
  // more than a hand-off, so that the runs of a 640 x 480 image are shared out too.
  const auto parts = static_cast<std::int64_t>(bands);
  const std::int64_t perRun = bands > 1 ? 32 : 8;
  if (bandsFor(parts, static_cast<std::int64_t>(first[bands]) * perRun) > 1) {
    forBands(parts, static_cast<int>(bands), write);
  } else {
    for (std::int64_t b = 0; b < parts; ++b) write(static_cast<int>(b), b, b + 1);
  }
  return runs;
}

}  // namespace Standin
}  // namespace HalconCpp
