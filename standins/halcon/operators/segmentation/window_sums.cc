#include "operators/segmentation/window_sums.h"

#include <algorithm>
#include <vector>

#include "core/image.h"
#include "core/threads.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

// mirroredIndex without its divisions within one reflection of either edge, where every row
// of a full domain asks for the columns beyond both edges: a few dozen divisions a row cost a
// narrow image's rows a tenth of their time.
inline std::int32_t mirrored(std::int32_t i, std::int32_t n) {
  if (i >= 0 && i < n) return i;
  if (i < 0 && i >= -n) return -1 - i;
  if (i >= n && i < 2 * n) return 2 * n - 1 - i;
  return mirroredIndex(i, n);
}

// Column sums over the window's height, carried from row to row for the columns both rows
// need and summed afresh for the others. A column holds at most 501 values of up to 65025:
// 32 bits suffice.
struct Columns {
  std::vector<std::uint32_t> sumStore, squareStore;
  std::uint32_t *sums, *squares;  // index -halfWidth ... width - 1 + halfWidth
  std::int32_t valid0 = 0, valid1 = -1, validRow = -1;

  Columns(std::int32_t width, std::int32_t halfWidth)
      : sumStore(static_cast<std::size_t>(width) + 2 * static_cast<std::size_t>(halfWidth)),
        squareStore(sumStore.size()),
        sums(sumStore.data() + halfWidth),
        squares(squareStore.data() + halfWidth) {}
};

inline __attribute__((always_inline)) void freshColumns(Columns& c, const std::uint8_t* src,
                                                        PlaneSize size, std::int32_t y,
                                                        std::int32_t halfHeight, std::int32_t a,
                                                        std::int32_t b) {
  if (a > b) return;
  std::fill(c.sums + a, c.sums + b + 1, 0u);
  std::fill(c.squares + a, c.squares + b + 1, 0u);
  for (std::int32_t dy = -halfHeight; dy <= halfHeight; ++dy) {
    const std::uint8_t* row = src + rowStart(mirrored(y + dy, size.height), size.width);
    for (std::int32_t x = a; x <= b; ++x) {
      const std::uint32_t v = row[x];
      c.sums[x] += v;
      c.squares[x] += v * v;
    }
  }
}

#if QUORVEX_KERNELS_AVX2
// out[i] = out[i - 1] + add[i] - drop[i - 1] for i in [1, n), out[0] given: each vector's lanes
// summed in log2(lanes) shifted additions, its last lane carried into the next vector off the
// chain of additions, which the scalar loop is one addition a pixel long. In 32-bit lanes
// (Narrow) where every total stays below 2^32, so that wrapping leaves them whole.
template <bool Narrow>
__attribute__((target(QUORVEX_AVX512))) void runningTotalsAvx512(const std::uint32_t* add,
                                                                 const std::uint32_t* drop,
                                                                 std::size_t n,
                                                                 std::uint64_t* out) {
  const __m512i zero = _mm512_setzero_si512();
  std::size_t i = 1;
  if constexpr (Narrow) {
    const __mmask16 all = 0xffff;
    const __m512i last = _mm512_set1_epi32(15);
    __m512i carry = _mm512_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(out[0])));
    for (; i + 16 <= n; i += 16) {
      __m512i x = _mm512_sub_epi32(_mm512_loadu_si512(add + i), _mm512_loadu_si512(drop + i - 1));
      x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(all, x, zero, 15));
      x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(all, x, zero, 14));
      x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(all, x, zero, 12));
      x = _mm512_add_epi32(x, _mm512_maskz_alignr_epi32(all, x, zero, 8));
      const __m512i total = _mm512_add_epi32(x, carry);
      _mm512_storeu_si512(out + i, _mm512_maskz_cvtepu32_epi64(
                                       0xff, _mm512_maskz_extracti64x4_epi64(0xf, total, 0)));
      _mm512_storeu_si512(out + i + 8, _mm512_maskz_cvtepu32_epi64(
                                           0xff, _mm512_maskz_extracti64x4_epi64(0xf, total, 1)));
      carry = _mm512_add_epi32(carry, _mm512_maskz_permutexvar_epi32(all, last, x));
    }
  } else {
    const __mmask8 all = 0xff;
    const __m512i last = _mm512_set1_epi64(7);
    __m512i carry = _mm512_set1_epi64(static_cast<long long>(out[0]));
    for (; i + 8 <= n; i += 8) {
      __m512i x = _mm512_sub_epi64(
          _mm512_maskz_cvtepu32_epi64(
              all, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(add + i))),
          _mm512_maskz_cvtepu32_epi64(
              all, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(drop + i - 1))));
      x = _mm512_add_epi64(x, _mm512_maskz_alignr_epi64(all, x, zero, 7));
      x = _mm512_add_epi64(x, _mm512_maskz_alignr_epi64(all, x, zero, 6));
      x = _mm512_add_epi64(x, _mm512_maskz_alignr_epi64(all, x, zero, 4));
      _mm512_storeu_si512(out + i, _mm512_add_epi64(x, carry));
      carry = _mm512_add_epi64(carry, _mm512_maskz_permutexvar_epi64(all, last, x));
    }
  }
  for (std::uint64_t total = out[i - 1]; i < n; ++i) {
    out[i] = total += std::uint64_t{add[i]} - std::uint64_t{drop[i - 1]};
  }
}
#endif

template <bool Wide>
inline __attribute__((always_inline)) void rowsOfBand(const std::uint8_t* src, PlaneSize size,
                                                      const Extent& extent, std::int32_t hw,
                                                      std::int32_t hh, int band, std::int32_t y0,
                                                      std::int32_t y1, const WindowRow& row) {
  const std::int32_t w = size.width, h = size.height;
  Columns c(w, hw);
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(w)), squares(sums.size());
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const std::int32_t n0 = std::max(0, c0 - hw), n1 = std::min(w - 1, c1 + hw);
    if (c.validRow >= 0 && c.validRow == y - 1) {
      c.valid0 = std::max(c.valid0, n0);
      c.valid1 = std::min(c.valid1, n1);
      const std::uint8_t* incoming = src + rowStart(mirrored(y + hh, h), w);
      const std::uint8_t* outgoing = src + rowStart(mirrored(y - hh - 1, h), w);
      for (std::int32_t x = c.valid0; x <= c.valid1; ++x) {
        const std::uint32_t in = incoming[x], out = outgoing[x];
        c.sums[x] = c.sums[x] + in - out;
        c.squares[x] = c.squares[x] + in * in - out * out;
      }
    } else {
      c.valid0 = 0;
      c.valid1 = -1;
    }
    if (c.valid0 > c.valid1) {
      freshColumns(c, src, size, y, hh, n0, n1);
    } else {
      freshColumns(c, src, size, y, hh, n0, c.valid0 - 1);
      freshColumns(c, src, size, y, hh, c.valid1 + 1, n1);
    }
    c.valid0 = n0;
    c.valid1 = n1;
    c.validRow = y;
    // Columns beyond the edges repeat the mirrored ones inside: all the window reaches from
    // the span, not only those beyond the span's own ends.
    for (std::int32_t i = 1; i <= hw; ++i) {
      if (c0 - hw <= -i) {
        c.sums[-i] = c.sums[mirrored(-i, w)];
        c.squares[-i] = c.squares[mirrored(-i, w)];
      }
      if (c1 + hw >= w - 1 + i) {
        c.sums[w - 1 + i] = c.sums[mirrored(w - 1 + i, w)];
        c.squares[w - 1 + i] = c.squares[mirrored(w - 1 + i, w)];
      }
    }
    std::uint64_t s = 0, q = 0;
    for (std::int32_t x = c0 - hw; x <= c0 + hw; ++x) {
      s += c.sums[x];
      q += c.squares[x];
    }
    const auto n = static_cast<std::size_t>(c1 - c0 + 1);
    const std::uint32_t* addS = c.sums + c0 + hw;
    const std::uint32_t* addQ = c.squares + c0 + hw;
    const std::uint32_t* dropS = c.sums + c0 - hw;
    const std::uint32_t* dropQ = c.squares + c0 - hw;
    // The column entering less the one leaving, for all the row at once (in vectors), then
    // their running totals: a chain of one addition a pixel. Wrapping in 64 bits, the
    // differences' totals come out as the whole sums.
    std::uint64_t* const __restrict sumOut = sums.data();
    std::uint64_t* const __restrict squareOut = squares.data();
    sumOut[0] = static_cast<std::uint64_t>(s);
    squareOut[0] = static_cast<std::uint64_t>(q);
#if QUORVEX_KERNELS_AVX2
    if constexpr (Wide) {
      // Sums stay below 501^2 255 < 2^32; squares below 2^32 for masks up to 66051 pixels.
      runningTotalsAvx512<true>(addS, dropS, n, sumOut);
      if ((2 * hw + 1) * (2 * hh + 1) <= 66051) {
        runningTotalsAvx512<true>(addQ, dropQ, n, squareOut);
      } else {
        runningTotalsAvx512<false>(addQ, dropQ, n, squareOut);
      }
      row(band, y, c0, c1, sums.data(), squares.data());
      continue;
    }
#endif
    for (std::size_t i = 1; i < n; ++i) {
      sumOut[i] = std::uint64_t{addS[i]} - std::uint64_t{dropS[i - 1]};
      squareOut[i] = std::uint64_t{addQ[i]} - std::uint64_t{dropQ[i - 1]};
    }
    for (std::size_t i = 1; i < n; ++i) {
      sumOut[i] += sumOut[i - 1];
      squareOut[i] += squareOut[i - 1];
    }
    row(band, y, c0, c1, sums.data(), squares.data());
  }
}

void rowsOfBandPlain(const std::uint8_t* src, PlaneSize size, const Extent& extent, std::int32_t hw,
                     std::int32_t hh, int band, std::int32_t y0, std::int32_t y1,
                     const WindowRow& row) {
  rowsOfBand<false>(src, size, extent, hw, hh, band, y0, y1, row);
}

#if QUORVEX_KERNELS_AVX2
// The same whole numbers in wider vectors.
__attribute__((target("avx2"))) void rowsOfBandAvx2(const std::uint8_t* src, PlaneSize size,
                                                    const Extent& extent, std::int32_t hw,
                                                    std::int32_t hh, int band, std::int32_t y0,
                                                    std::int32_t y1, const WindowRow& row) {
  rowsOfBand<false>(src, size, extent, hw, hh, band, y0, y1, row);
}

__attribute__((target(QUORVEX_AVX512))) void rowsOfBandAvx512(
    const std::uint8_t* src, PlaneSize size, const Extent& extent, std::int32_t hw, std::int32_t hh,
    int band, std::int32_t y0, std::int32_t y1, const WindowRow& row) {
  rowsOfBand<true>(src, size, extent, hw, hh, band, y0, y1, row);
}
#endif

}  // namespace

int windowSumBands(PlaneSize size, const Extent& extent) {
  // A pixel's sums and the test against its deviation (two quotients and a root) cost what
  // several pixels of a plain filter do: a 640 x 480 image is shared out.
  return bandsFor(size.height, 4 * extent.pixels);
}

void forWindowSums(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                   std::int32_t halfWidth, std::int32_t halfHeight, int bands,
                   const WindowRow& row) {
  forBands(size.height, bands, [&](int band, std::int64_t y0, std::int64_t y1) {
    const auto b0 = static_cast<std::int32_t>(y0), b1 = static_cast<std::int32_t>(y1);
#if QUORVEX_KERNELS_AVX2
    if (vectorPathsEnabled() && cpuHasAvx512()) {
      return rowsOfBandAvx512(src, size, extent, halfWidth, halfHeight, band, b0, b1, row);
    }
    if (vectorPathsEnabled() && cpuHasAvx2()) {
      return rowsOfBandAvx2(src, size, extent, halfWidth, halfHeight, band, b0, b1, row);
    }
#endif
    rowsOfBandPlain(src, size, extent, halfWidth, halfHeight, band, b0, b1, row);
  });
}

}  // namespace Standin
}  // namespace HalconCpp
