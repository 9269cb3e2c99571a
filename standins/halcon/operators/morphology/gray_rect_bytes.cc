#include "operators/morphology/gray_rect_bytes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

constexpr std::int32_t kMostCols = 15;

inline std::int32_t mirrored(std::int32_t i, std::int32_t n) {
  if (i >= 0 && i < n) return i;
  if (i < 0 && i >= -n) return -1 - i;
  if (i >= n && i < 2 * n) return 2 * n - 1 - i;
  return mirroredIndex(i, n);
}

template <bool Greatest>
inline std::uint8_t pick(std::uint8_t a, std::uint8_t b) {
  return Greatest ? std::max(a, b) : std::min(a, b);
}

#if QUORVEX_KERNELS_AVX2
template <bool Greatest>
__attribute__((target("avx2"), always_inline)) inline __m256i extreme(__m256i a, __m256i b) {
  return Greatest ? _mm256_max_epu8(a, b) : _mm256_min_epu8(a, b);
}

__attribute__((target("avx2"), always_inline)) inline __m256i load(const std::uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__attribute__((target("avx2"), always_inline)) inline void store(std::uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// The vectors of 32 outputs that cover [0, n) (32 or more): the first at 0, then from the
// first output on a 32-byte boundary, the last ending at n; the overlaps write the same values
// again. A store that splits a cache line costs this processor about twice a whole one, and the
// planes' rows start anywhere. Returns where the aligned ones start.
inline std::size_t alignedStart(const std::uint8_t* out) {
  const std::size_t i = (32 - reinterpret_cast<std::uintptr_t>(out) % 32) % 32;
  return i == 0 ? 32 : i;
}

template <bool Greatest>
__attribute__((target("avx2"))) std::size_t pickAvx2(std::uint8_t* out, const std::uint8_t* a,
                                                     const std::uint8_t* b, std::size_t n) {
  if (n < 32) return 0;
  store(out, extreme<Greatest>(load(a), load(b)));
  std::size_t i = alignedStart(out);
  for (; i + 32 <= n; i += 32) store(out + i, extreme<Greatest>(load(a + i), load(b + i)));
  if (i < n) store(out + n - 32, extreme<Greatest>(load(a + n - 32), load(b + n - 32)));
  return n;
}

// The extreme of e[x ... x + 2 Cols]: wider windows from the extremes of pairs, `pairs`.
template <bool Greatest, int Cols>
__attribute__((target("avx2"), always_inline)) inline __m256i windowAt(const std::uint8_t* e,
                                                                       const std::uint8_t* pairs,
                                                                       std::int32_t x) {
  if constexpr (Cols <= 2) {
    __m256i m = load(e + x);
#pragma GCC unroll 8
    for (int d = 1; d <= 2 * Cols; ++d) m = extreme<Greatest>(m, load(e + x + d));
    return m;
  } else {
    __m256i m = load(e + x + 2 * Cols);
#pragma GCC unroll 16
    for (int d = 0; d < 2 * Cols; d += 2) m = extreme<Greatest>(m, load(pairs + x + d));
    return m;
  }
}

// out[x] = the extreme of e[x ... x + 2 Cols] for x < n (32 or more); windows of 5 and more
// take the extremes of pairs first (n + 2 Cols - 1 of them into `pairs`), then every other pair.
template <bool Greatest, int Cols>
__attribute__((target("avx2"))) void alongAvx2(const std::uint8_t* e, std::int32_t n,
                                               std::uint8_t* out, std::uint8_t* pairs) {
  if constexpr (Cols > 2) pickAvx2<Greatest>(pairs, e, e + 1, std::size_t(n + 2 * Cols - 1));
  store(out, windowAt<Greatest, Cols>(e, pairs, 0));
  auto x = static_cast<std::int32_t>(alignedStart(out));
  for (; x + 32 <= n; x += 32) store(out + x, windowAt<Greatest, Cols>(e, pairs, x));
  if (x < n) store(out + n - 32, windowAt<Greatest, Cols>(e, pairs, n - 32));
}

using Along = void (*)(const std::uint8_t*, std::int32_t, std::uint8_t*, std::uint8_t*);

template <bool Greatest, std::size_t... Cols>
constexpr std::array<Along, sizeof...(Cols)> alongTable(std::index_sequence<Cols...>) {
  return {&alongAvx2<Greatest, int(Cols)>...};
}

template <bool Greatest>
void pickRow(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b, std::size_t n) {
  for (std::size_t i = pickAvx2<Greatest>(out, a, b, n); i < n; ++i) {
    out[i] = pick<Greatest>(a[i], b[i]);
  }
}

// Down the columns as extremeRows does (van Herk and Gil-Werman's blocks of k rows: suffixes of
// one block, prefixes of the next), a block's last row and the next one's first read in place;
// then each output row's line, mirrored only where its mask passes the image's edges.
template <bool Greatest>
void rowsAvx2(const std::uint8_t* src, PlaneSize size, const Extent& extent, HalfMask half,
              std::uint8_t* dst, std::int32_t y0, std::int32_t y1) {
  static constexpr auto table =
      alongTable<Greatest>(std::make_index_sequence<std::size_t(kMostCols) + 1>());
  const std::int32_t w = size.width, h = size.height, cols = half.cols;
  std::int32_t lo = w, hi = -1;
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
    if (c0 > c1) continue;
    lo = std::min(lo, std::max(0, c0 - cols));
    hi = std::max(hi, std::min(w - 1, c1 + cols));
  }
  if (lo > hi) return;
  const auto width = std::size_t(hi - lo + 1);
  const std::int32_t k = 2 * half.rows + 1;
  const auto rowAt = [&](std::int32_t v) {
    return src + std::size_t(mirrored(y0 - half.rows + v, h)) * std::size_t(w) + std::size_t(lo);
  };
  // One allocation, left unwritten (every byte read below is written first). Its rows sit on
  // the image rows' offsets within 32 bytes, so that a pass's vectors that start on a boundary
  // in one start on it in all: a load or store that splits a cache line costs this processor
  // about twice a whole one. (Image rows of a width that is no multiple of 32 start at other
  // offsets: they are read split, as before.)
  const auto phaseOf = [](const std::uint8_t* p) {
    return reinterpret_cast<std::uintptr_t>(p) % 32;
  };
  const std::size_t stride = (width + 32 + 63) / 64 * 64;
  const std::size_t lineSize = (std::size_t(w) + 2 * std::size_t(cols) + 64 + 63) / 64 * 64;
  const std::unique_ptr<std::uint8_t[]> bytes(
      new std::uint8_t[2 * std::size_t(k) * stride + 2 * lineSize + 64]);
  std::uint8_t* const base =
      bytes.get() + (64 - reinterpret_cast<std::uintptr_t>(bytes.get()) % 64);
  std::uint8_t* const suffixes = base + phaseOf(src + lo);
  std::uint8_t* const prefixes = suffixes + std::size_t(k) * stride;
  std::uint8_t* const lineBytes = base + 2 * std::size_t(k) * stride;
  std::uint8_t* const pairs = lineBytes + lineSize;
  // line[x]: image column x, -cols <= x < w + cols, at the offset of the image's column x.
  std::uint8_t* const line =
      lineBytes + cols + (32 + phaseOf(src) - phaseOf(lineBytes + cols)) % 32;
  std::vector<const std::uint8_t*> suffix(static_cast<std::size_t>(k)), prefix(suffix);
  const std::int32_t outputs = y1 - y0;
  for (std::int32_t block = 0; block < outputs; block += k) {
    const std::int32_t end = std::min(block + k, outputs);
    suffix[std::size_t(k - 1)] = rowAt(block + k - 1);
    for (std::int32_t i = k - 2; i >= 0; --i) {
      std::uint8_t* row = suffixes + std::size_t(i) * stride;
      pickRow<Greatest>(row, rowAt(block + i), suffix[std::size_t(i + 1)], width);
      suffix[std::size_t(i)] = row;
    }
    if (k > 1) prefix[0] = rowAt(block + k);
    for (std::int32_t i = 1; i < std::min(k - 1, end - block); ++i) {
      std::uint8_t* row = prefixes + std::size_t(i) * stride;
      pickRow<Greatest>(row, rowAt(block + k + i), prefix[std::size_t(i - 1)], width);
      prefix[std::size_t(i)] = row;
    }
    for (std::int32_t a = block; a < end; ++a) {
      const std::int32_t y = y0 + a;
      const std::int32_t c0 = extent.begin[std::size_t(y)], c1 = extent.end[std::size_t(y)];
      if (c0 > c1) continue;
      const std::int32_t n = c1 - c0 + 1, first = c0 - cols, last = c1 + cols;
      const std::uint8_t* top = suffix[std::size_t(a - block)];
      const std::uint8_t* e = nullptr;
      if (a == block && first >= 0 && last < w) {
        e = top + (first - lo);
      } else {
        // The columns of the window inside the image, then those beyond mirrored from them.
        const std::int32_t a0 = std::max(first, 0), a1 = std::min(last, w - 1);
        const auto count = std::size_t(a1 - a0 + 1);
        if (a == block) {
          std::memcpy(line + a0, top + (a0 - lo), count);
        } else {
          pickRow<Greatest>(line + a0, top + (a0 - lo),
                            prefix[std::size_t(a - block - 1)] + (a0 - lo), count);
        }
        for (std::int32_t x = first; x < 0; ++x) line[x] = line[mirrored(x, w)];
        for (std::int32_t x = w; x <= last; ++x) line[x] = line[mirrored(x, w)];
        e = line + first;
      }
      std::uint8_t* out = dst + std::size_t(y) * std::size_t(w) + std::size_t(c0);
      if (n >= 32) {
        table[std::size_t(cols)](e, n, out, pairs + phaseOf(e));
        continue;
      }
      for (std::int32_t x = 0; x < n; ++x) {
        std::uint8_t m = e[x];
        for (std::int32_t d = 1; d <= 2 * cols; ++d) m = pick<Greatest>(m, e[x + d]);
        out[x] = m;
      }
    }
  }
}
#endif

}  // namespace

bool rowsBytesFit(HalfMask half) {
  return QUORVEX_KERNELS_AVX2 && half.cols <= kMostCols;
}

void extremeRowsBytes(bool greatest, const std::uint8_t* src, PlaneSize size, const Extent& extent,
                      HalfMask half, std::uint8_t* dst, std::int32_t y0, std::int32_t y1) {
#if QUORVEX_KERNELS_AVX2
  if (greatest) return rowsAvx2<true>(src, size, extent, half, dst, y0, y1);
  rowsAvx2<false>(src, size, extent, half, dst, y0, y1);
#else
  static_cast<void>(greatest), static_cast<void>(src), static_cast<void>(size);
  static_cast<void>(extent), static_cast<void>(half), static_cast<void>(dst);
  static_cast<void>(y0), static_cast<void>(y1);
#endif
}

std::size_t pickBytes(bool greatest, std::uint8_t* out, const std::uint8_t* a,
                      const std::uint8_t* b, std::size_t n) {
#if QUORVEX_KERNELS_AVX2
  return greatest ? pickAvx2<true>(out, a, b, n) : pickAvx2<false>(out, a, b, n);
#else
  static_cast<void>(greatest), static_cast<void>(out), static_cast<void>(a);
  static_cast<void>(b), static_cast<void>(n);
  return 0;
#endif
}

}  // namespace Standin
}  // namespace HalconCpp
