#include "operators/filters/edge_bounds.h"

#include <algorithm>
#include <cstddef>

#include "operators/filters/image_kernels.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

inline __attribute__((always_inline)) std::size_t candidatesFrom(const double* amp, std::size_t i,
                                                                 std::size_t n, double low,
                                                                 std::vector<std::int32_t>* out) {
  for (; i < n; ++i) {
    if (!(amp[i] <= 0 || amp[i] < low)) out->push_back(static_cast<std::int32_t>(i));
  }
  return i;
}

#if QUORVEX_KERNELS_AVX2
// Four amplitudes a test, with the comparisons that a NaN passes, as the scalar test lets it.
__attribute__((target("avx2"))) void candidatesAvx2(const double* amp, std::size_t n, double low,
                                                    std::vector<std::int32_t>* out) {
  const __m256d zero = _mm256_setzero_pd(), floor = _mm256_set1_pd(low);
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d a = _mm256_loadu_pd(amp + i);
    auto mask = static_cast<unsigned>(_mm256_movemask_pd(
        _mm256_and_pd(_mm256_cmp_pd(a, zero, _CMP_NLE_UQ), _mm256_cmp_pd(a, floor, _CMP_NLT_UQ))));
    for (; mask != 0; mask &= mask - 1) {
      out->push_back(static_cast<std::int32_t>(i + static_cast<unsigned>(__builtin_ctz(mask))));
    }
  }
  candidatesFrom(amp, i, n, low, out);
}
#endif

}  // namespace

void edgeCandidates(const double* amp, std::size_t n, double low, std::vector<std::int32_t>* out) {
  out->clear();
#if QUORVEX_KERNELS_AVX2
  if (vectorPathsEnabled() && cpuHasAvx2()) return candidatesAvx2(amp, n, low, out);
#endif
  candidatesFrom(amp, 0, n, low, out);
}

void neededBlocks(const std::vector<std::uint8_t>& need, std::size_t groups, std::int32_t r0,
                  std::int32_t r1, std::size_t first, std::size_t width, std::size_t block,
                  std::int32_t half, std::int32_t h, std::int32_t lo, std::int32_t hi,
                  std::vector<std::uint8_t>* blocks) {
  const std::size_t tileGroups = (width + 7) / 8, count = (width + block - 1) / block;
  const auto rows = static_cast<std::size_t>(r1 - r0);
  const auto lines = static_cast<std::size_t>(std::max(0, hi - lo + 1));
  blocks->assign((rows + lines) * count, 0);
  std::uint8_t* const rowBlocks = blocks->data();
  std::uint8_t* const lineBlocks = rowBlocks + rows * count;
  const std::size_t per = block / 8;
  for (std::size_t r = 0; r < rows; ++r) {
    const std::uint8_t* const in = need.data() + r * groups + first;
    for (std::size_t b = 0; b < count; ++b) {
      std::uint8_t any = 0;
      for (std::size_t j = b * per; j < std::min(tileGroups, (b + 1) * per); ++j) any |= in[j];
      rowBlocks[r * count + b] = any;
    }
  }
  for (std::int32_t m = lo; m <= hi; ++m) {
    std::uint8_t* const out = lineBlocks + static_cast<std::size_t>(m - lo) * count;
    if (m < half || m >= h - half) {
      std::fill(out, out + count, std::uint8_t{1});
      continue;
    }
    for (std::int32_t r = std::max(r0, m - half); r <= std::min(r1 - 1, m + half); ++r) {
      const std::uint8_t* const in = rowBlocks + static_cast<std::size_t>(r - r0) * count;
      for (std::size_t b = 0; b < count; ++b) out[b] |= in[b];
    }
  }
}

#if QUORVEX_KERNELS_AVX2
void neededGroupsAvx512(const std::uint8_t* pixels, std::int32_t w, std::int32_t h, std::int32_t r0,
                        std::int32_t r1, std::int32_t c0, std::int32_t c1, std::int32_t half,
                        int limit, std::vector<std::uint8_t>* need,
                        std::vector<std::uint8_t>* scratch) {
  const auto groups = static_cast<std::size_t>((c1 - c0 + 7) / 8);
  const auto rows = static_cast<std::size_t>(r1 - r0);
  // Room for whole vectors of 64 groups at each step's end.
  const std::size_t padded = (groups + 63) / 64 * 64;
  need->resize(rows * groups + 64);
  // A pixel beside a group reads one pixel further; whole groups of eight each way cover it.
  const std::int32_t reach = half + 1, around = (reach + 7) / 8;
  const std::int32_t y0 = std::max(0, r0 - reach), y1 = std::min(h, r1 + reach);
  const auto lines = static_cast<std::size_t>(y1 - y0);
  const std::size_t span = padded + 2 * static_cast<std::size_t>(around);
  const std::size_t width = (8 * span + 63) / 64 * 64;
  scratch->resize(64 + 2 * (width / 8) + 2 * lines * padded);
  std::uint8_t* const bytes = scratch->data();
  std::uint8_t* const low = bytes + 64;
  std::uint8_t* const high = low + width / 8;
  std::uint8_t* const wideLow = high + width / 8;
  std::uint8_t* const wideHigh = wideLow + lines * padded;
  const std::int32_t x0 = c0 - 8 * around;
  // The bytes the groups read, in whole vectors; the groups beyond, which only fill the last
  // vectors of the steps below, are never stored.
  const std::size_t used = (8 * (groups + 2 * static_cast<std::size_t>(around)) + 63) / 64 * 64;
  const __mmask8 all = 0xff;
  for (std::int32_t y = y0; y < y1; ++y) {
    // The row from `around` groups before the window's first column, its edge values repeated
    // beyond the image (the clamped reads see nothing else there): read in place within it.
    const std::uint8_t* const row = pixels + static_cast<std::size_t>(y) * std::size_t(w);
    // Each group's least and greatest byte: halves folded onto each other within each 64 bits,
    // the low byte of each then packed. The masked forms throughout: the plain ones start from an
    // undefined vector, which GCC 12 warns of.
    for (std::size_t i = 0; i < used; i += 64) {
      const std::int64_t x = x0 + static_cast<std::int64_t>(i);
      const std::uint8_t* from = bytes;
      if (x >= 0 && x + 64 <= w) {
        from = row + x;
      } else {
        const std::int64_t in0 = std::clamp<std::int64_t>(-x, 0, 64);
        const std::int64_t in1 = std::clamp<std::int64_t>(std::int64_t{w} - x, in0, 64);
        std::fill(bytes, bytes + in0, row[0]);
        std::copy(row + (x + in0), row + (x + in1), bytes + in0);
        std::fill(bytes + in1, bytes + 64, row[w - 1]);
      }
      const __m512i v = _mm512_loadu_si512(from);
      __m512i a = _mm512_min_epu8(v, _mm512_maskz_srli_epi64(all, v, 32));
      __m512i b = _mm512_max_epu8(v, _mm512_maskz_srli_epi64(all, v, 32));
      a = _mm512_min_epu8(a, _mm512_maskz_srli_epi64(all, a, 16));
      b = _mm512_max_epu8(b, _mm512_maskz_srli_epi64(all, b, 16));
      a = _mm512_min_epu8(a, _mm512_maskz_srli_epi64(all, a, 8));
      b = _mm512_max_epu8(b, _mm512_maskz_srli_epi64(all, b, 8));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(low + i / 8),
                       _mm512_maskz_cvtepi64_epi8(0xff, a));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(high + i / 8),
                       _mm512_maskz_cvtepi64_epi8(0xff, b));
    }
    // Each window group's, over the groups `around` each way.
    std::uint8_t* const wlo = wideLow + static_cast<std::size_t>(y - y0) * padded;
    std::uint8_t* const whi = wideHigh + static_cast<std::size_t>(y - y0) * padded;
    for (std::size_t j = 0; j < padded; j += 64) {
      __m512i a = _mm512_loadu_si512(low + j), b = _mm512_loadu_si512(high + j);
      for (std::size_t k = 1; k <= 2 * static_cast<std::size_t>(around); ++k) {
        a = _mm512_min_epu8(a, _mm512_loadu_si512(low + j + k));
        b = _mm512_max_epu8(b, _mm512_loadu_si512(high + j + k));
      }
      _mm512_storeu_si512(wlo + j, a);
      _mm512_storeu_si512(whi + j, b);
    }
  }
  // Down the rows the pixels read, each group's range against the limit.
  const __m512i most = _mm512_set1_epi8(static_cast<char>(std::min(limit, 255)));
  const __m512i one = _mm512_set1_epi8(1);
  for (std::int32_t r = r0; r < r1; ++r) {
    const std::int32_t ya = std::max(y0, r - reach), yb = std::min(y1, r + reach + 1);
    std::uint8_t* const out = need->data() + static_cast<std::size_t>(r - r0) * groups;
    for (std::size_t j = 0; j < groups; j += 64) {
      __m512i a = _mm512_set1_epi8(-1), b = _mm512_setzero_si512();
      for (std::int32_t y = ya; y < yb; ++y) {
        a = _mm512_min_epu8(a, _mm512_loadu_si512(wideLow + std::size_t(y - y0) * padded + j));
        b = _mm512_max_epu8(b, _mm512_loadu_si512(wideHigh + std::size_t(y - y0) * padded + j));
      }
      const __mmask64 over = _mm512_cmpgt_epu8_mask(_mm512_subs_epu8(b, a), most);
      const std::size_t left = std::min<std::size_t>(64, groups - j);
      const __mmask64 live = left == 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
      _mm512_mask_storeu_epi8(out + j, live, _mm512_maskz_mov_epi8(over, one));
    }
  }
}
#endif

}  // namespace Standin
}  // namespace HalconCpp
