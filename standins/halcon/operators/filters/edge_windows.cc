// Every value is summed as correlateLines sums it, tap by tap in the kernel's order from 0, the
// odd kernels as differences, so that a window's gradients are bit for bit the whole image's.
#include "operators/filters/edge_windows.h"

#include <algorithm>
#include <cmath>

#include "operators/filters/edge_bounds.h"
#include "operators/filters/edge_window_sums.h"
#include "operators/filters/image_kernels.h"

#if QUORVEX_KERNELS_AVX2
#include <immintrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

using namespace windowSums;

// The lines' places are looked up for every row and stretch of a tile, and mirroredIndex is a
// call through the library's table of symbols.
inline std::int32_t mirrored(std::int32_t i, std::int32_t n) {
  return mirroredNear(i, n);
}

bool isOdd(const std::vector<double>& kernel) {
  const std::size_t taps = kernel.size(), centre = taps / 2;
  bool odd = kernel[centre] == 0;
  for (std::size_t k = 0; k < centre && odd; ++k) odd = kernel[k] == -kernel[taps - 1 - k];
  return odd;
}

struct Pass {
  const std::uint8_t* pixels;
  std::int32_t w, h;
  const EdgeKernels* k;
  bool smoothOdd, deriveOdd;
  // The smoothings read grey values (or the zero border's +0): none below +0, so that a first
  // weight not below +0 makes their first products neither -0 nor NaN.
  bool smoothFromFirst;
  // The greatest range of grey values a window's group of columns may read and still hold no
  // amplitude at its floor; -1: none.
  int limit;
  // The window's rows worked out: the others it holds already.
  std::int32_t from = 0, to = 0;
};

// The source lines [lo, hi] that positions [from, to) of a line of n read, mirrored or (zero
// border) none beyond its ends; lo > hi: none.
void sourcesOf(std::int32_t from, std::int32_t to, std::int32_t n, bool zeroBorder,
               std::int32_t* lo, std::int32_t* hi) {
  *lo = n, *hi = -1;
  for (std::int32_t j = from; j < to; ++j) {
    if (zeroBorder && (j < 0 || j >= n)) continue;
    const std::int32_t m = mirrored(j, n);
    *lo = std::min(*lo, m), *hi = std::max(*hi, m);
  }
}

// amp[i] = sqrt(gr[i]^2 + gc[i]^2) from `from` on: a square root is correctly rounded in
// vectors as in the scalar sqrt, which the compiler leaves unvectorised for its errno.
using Amplitudes = std::size_t (*)(const double*, const double*, double*, std::size_t);

std::size_t noAmplitudes(const double*, const double*, double*, std::size_t) {
  return 0;
}

// sumLines of the derivative along a row of `ext` into `gc`, each block's amplitudes with `gr`
// right after its sums: the square roots wait on a unit of their own, which then works while
// the next block's products and sums go on.
template <Amplitudes vectors>
inline __attribute__((always_inline)) void derivativeAndAmplitudes(
    const std::vector<double>& kernel, bool odd, const double* ext, std::size_t n, double* gc,
    const double* gr, double* amp) {
  const LinesOf<double> held(kernel.size(), [&](std::size_t k) { return ext + k; });
  const double* const* const lines = held.get();
  const auto amplitudes = [&](std::size_t from, std::size_t count) {
    for (std::size_t i = from + vectors(gr + from, gc + from, amp + from, count); i < from + count;
         ++i) {
      amp[i] = std::sqrt(gr[i] * gr[i] + gc[i] * gc[i]);
    }
  };
  withShape(
      kernel, odd, false, [&](auto shape) __attribute__((always_inline)) {
        using S = decltype(shape);
        std::size_t c0 = 0;
        for (; c0 + kBlock <= n; c0 += kBlock) {
          sumBlock<S, double, kBlock>(kernel, lines, c0, gc);
          amplitudes(c0, kBlock);
        }
        const std::size_t rest = c0;
        for (; c0 + 8 <= n; c0 += 8) sumBlock<S, double, 8>(kernel, lines, c0, gc);
        for (; c0 < n; ++c0) sumBlock<S, double, 1>(kernel, lines, c0, gc);
        amplitudes(rest, n - rest);
      });
}

// Columns [t0, t1) of the window, written at their place in its rows of cw: each stage's lines
// are a tile's, so that they stay in the cache from one stage to the next.
template <Amplitudes vectors>
inline __attribute__((always_inline)) void tileOf(const Pass& p, GradientWindow* g, std::int32_t t0,
                                                  std::int32_t t1) {
  const EdgeKernels& k = *p.k;
  const auto half = static_cast<std::int32_t>(k.smooth.size() / 2);
  const std::int32_t r0 = p.from, r1 = p.to, w = p.w, h = p.h;
  const auto cw = static_cast<std::size_t>(g->c1 - g->c0);
  const auto tw = static_cast<std::size_t>(t1 - t0), spread = 2 * static_cast<std::size_t>(half);
  const auto outAt = [&](std::int32_t r) {
    return static_cast<std::size_t>(r - g->r0) * cw + static_cast<std::size_t>(t0 - g->c0);
  };
  double* const ext = g->extended.data();
  const auto row = [&](std::int32_t r) {
    return p.pixels + static_cast<std::size_t>(r) * static_cast<std::size_t>(w);
  };
  // The bytes the tile reads, as doubles once: both smoothings read each of them several times.
  std::int32_t lo = 0, hi = 0, left = 0, right = 0;
  sourcesOf(r0 - half, r1 + half, h, k.zeroBorder, &lo, &hi);
  sourcesOf(t0 - half, t1 + half, w, k.zeroBorder, &left, &right);
  const std::size_t smoothedRows = hi >= lo ? static_cast<std::size_t>(hi - lo + 1) : 0;
  const std::size_t smoothedCols = right >= left ? static_cast<std::size_t>(right - left + 1) : 0;
  // Room for the smoothing down the columns to read whole vectors of eight past a row's end.
  g->source.resize(smoothedRows * smoothedCols + 8);
  const auto source = [&](std::int32_t m) {
    return g->source.data() + static_cast<std::size_t>(m - lo) * smoothedCols;
  };
  for (std::int32_t m = lo; m <= hi; ++m) {
    const std::uint8_t* const bytes = row(m) + left;
    double* const to = source(m);
    for (std::size_t c = 0; c < smoothedCols; ++c) to[c] = double(bytes[c]);
  }
  // The next tile's bytes, fetched while this one is worked: a few lines from each of many rows
  // are too short a stream for the processor's own prefetching, and they come from memory.
  const std::int32_t next = std::min(g->c1, t1 + (t1 - t0));
  if (next > t1) {
    const std::int32_t from = std::max(0, t1 - half), to = std::min(w, next + half);
    for (std::int32_t m = lo; m <= hi; ++m) {
      for (std::int32_t c = from; c < to; c += 64) __builtin_prefetch(row(m) + c, 0, 3);
      __builtin_prefetch(row(m) + to - 1, 0, 3);
    }
  }
  // A tile clear of the image's edges reads its lines where they are: continued beyond the
  // edges, they would be copied unchanged.
  const bool inside = t0 - half >= 0 && t1 + half <= w;
  const auto continuedLine = [&](const double* line) -> const double* {
    if (inside) return line + (t0 - half - left);
    continued(line, left, t0 - half, tw + spread, w, k.zeroBorder, ext);
    return ext;
  };
  // The stretches of the tile's columns, needed or not, in whole vector blocks (the sums of a
  // narrower stretch would wait on each other): the next one from column `from` on.
  neededBlocks(g->need, (cw + 7) / 8, r0, r1, static_cast<std::size_t>(t0 - g->c0) / 8, tw, kBlock,
               half, h, lo, hi, &g->blocks);
  const std::size_t blocks = (tw + kBlock - 1) / kBlock;
  const std::uint8_t* const rowBlocks = g->blocks.data();
  const std::uint8_t* const lineBlocks = rowBlocks + static_cast<std::size_t>(r1 - r0) * blocks;
  const auto stretch = [&](const std::uint8_t* flags, std::size_t from, std::size_t* to) {
    const bool on = flags[from / kBlock] != 0;
    *to = from;
    while (*to < tw && (flags[*to / kBlock] != 0) == on) *to = std::min(tw, *to + kBlock);
    return on;
  };
  const auto rowFlags = [&](std::int32_t r) {
    return rowBlocks + static_cast<std::size_t>(r - r0) * blocks;
  };
  // Along the rows the smoothing of every row the derivative down the columns reads, where it
  // does.
  g->lines.resize(std::max(smoothedRows * tw, tw));
  for (std::int32_t m = lo; m <= hi; ++m) {
    const double* const line = continuedLine(source(m));
    const std::uint8_t* const flags = lineBlocks + static_cast<std::size_t>(m - lo) * blocks;
    for (std::size_t from = 0, to = 0; from < tw; from = to) {
      if (!stretch(flags, from, &to)) continue;
      sumLines<double>(
          k.smooth, p.smoothOdd, p.smoothFromFirst, [&](std::size_t t) { return line + from + t; },
          to - from, g->lines.data() + static_cast<std::size_t>(m - lo) * tw + from);
    }
  }
  const double* const zeros = g->zeros.data();
  for (std::int32_t r = r0; r < r1; ++r) {
    for (std::size_t from = 0, to = 0; from < tw; from = to) {
      if (!stretch(rowFlags(r), from, &to)) continue;
      sumLines<double>(
          k.derive, p.deriveOdd, false,
          [&](std::size_t t) -> const double* {
            const std::int32_t j = r + static_cast<std::int32_t>(t) - half;
            if ((j < 0 || j >= h) && k.zeroBorder) return zeros + from;
            return g->lines.data() + static_cast<std::size_t>(mirrored(j, h) - lo) * tw + from;
          },
          to - from, g->gr.data() + outAt(r) + from);
    }
  }
  // Down the columns the smoothing of every column the derivative along the rows reads, a row
  // at a time.
  if (g->lines.size() < smoothedCols + 8) g->lines.resize(smoothedCols + 8);
  double* const column = g->lines.data();
  // The columns a stretch's smoothing gives, in whole vectors of eight: the few past its end cost
  // less as one more vector than one by one, and nothing reads them.
  const auto whole8 = [](std::size_t n) { return (n + 7) / 8 * 8; };
  for (std::int32_t r = r0; r < r1; ++r) {
    // A tile clear of the edges smooths the stretches it needs alone (its line starts at the
    // smoothing's first column); another its whole line once, continued beyond the edges.
    const double* line = column;
    bool whole = false;
    const std::size_t at = outAt(r);
    double* const amp = g->amp.data() + at;
    for (std::size_t from = 0, to = 0; from < tw; from = to) {
      if (!stretch(rowFlags(r), from, &to)) {
        std::fill(amp + from, amp + to, 0.0);
        continue;
      }
      if (!whole) {
        const std::size_t begin = inside ? from : 0;
        sumLines<double>(
            k.smooth, p.smoothOdd, p.smoothFromFirst,
            [&](std::size_t t) -> const double* {
              const std::int32_t j = r + static_cast<std::int32_t>(t) - half;
              if ((j < 0 || j >= h) && k.zeroBorder) return zeros + begin;
              return source(mirrored(j, h)) + begin;
            },
            whole8(inside ? to - from + spread : smoothedCols), column + begin);
        if (!inside) line = continuedLine(column), whole = true;
      }
      derivativeAndAmplitudes<vectors>(k.derive, p.deriveOdd, line + from, to - from,
                                       g->gc.data() + at + from, g->gr.data() + at + from,
                                       amp + from);
    }
  }
}

// Tiles of a few vector blocks, wide enough beside the filters' reach that the columns each
// tile reads beyond its own stay a small part of its work.
template <Amplitudes vectors = noAmplitudes>
inline __attribute__((always_inline)) void windowOf(const Pass& p, GradientWindow* g) {
  const auto half = static_cast<std::int32_t>(p.k->smooth.size() / 2);
  const std::int32_t c0 = g->c0, c1 = g->c1;
  const auto cw = static_cast<std::size_t>(c1 - c0), spread = 2 * static_cast<std::size_t>(half);
  const std::size_t cells = static_cast<std::size_t>(g->r1 - g->r0) * cw;
  g->gr.resize(cells), g->gc.resize(cells);
  // A row of zeros after the window's own: the interpolation reads the row after a point's next
  // one, weighted by exactly 0, so that it need not be worked out.
  g->amp.resize(cells + cw);
  std::fill(g->amp.begin() + static_cast<std::ptrdiff_t>(cells), g->amp.end(), 0.0);
  if (p.from == p.to) return;
#if QUORVEX_KERNELS_AVX2
  if (p.limit >= 0) {
    neededGroupsAvx512(p.pixels, p.w, p.h, p.from, p.to, c0, c1, half, p.limit, &g->need,
                       &g->bounds);
  } else {
    g->need.assign(static_cast<std::size_t>(p.to - p.from) * ((cw + 7) / 8), 1);
  }
#else
  g->need.assign(static_cast<std::size_t>(p.to - p.from) * ((cw + 7) / 8), 1);
#endif
  const std::int32_t tile = std::max<std::int32_t>(8 * kBlock, 16 * half);
  const auto widest = static_cast<std::size_t>(std::min(tile, c1 - c0));
  g->extended.resize(std::max(widest + spread, std::size_t(1)));
  // The columns a tile's smoothing down the columns reads: at most the image's.
  // With room for whole vectors of eight past them.
  const auto reads = static_cast<std::size_t>(std::min<std::int64_t>(p.w, widest + spread)) + 8;
  if (g->zeros.size() < std::max(widest, reads)) g->zeros.assign(std::max(widest, reads), 0.0);
  for (std::int32_t t0 = c0; t0 < c1; t0 += tile)
    tileOf<vectors>(p, g, t0, std::min(c1, t0 + tile));
}

void windowPlain(const Pass& p, GradientWindow* g) {
  windowOf(p, g);
}

#if QUORVEX_KERNELS_AVX2
// The same sums in vectors twice and four times as wide; no fused multiply-add, as the target
// is AVX2 alone and the file is compiled without contraction.
__attribute__((target("avx2"))) std::size_t amplitudesAvx2(const double* gr, const double* gc,
                                                           double* amp, std::size_t n) {
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m256d r = _mm256_loadu_pd(gr + i), c = _mm256_loadu_pd(gc + i);
    _mm256_storeu_pd(amp + i,
                     _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(r, r), _mm256_mul_pd(c, c))));
  }
  return i;
}

__attribute__((target(QUORVEX_AVX512))) std::size_t amplitudesAvx512(const double* gr,
                                                                     const double* gc, double* amp,
                                                                     std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m512d r = _mm512_loadu_pd(gr + i), c = _mm512_loadu_pd(gc + i);
    // The masked form: the plain one starts from an undefined vector, which GCC 12 warns of.
    _mm512_storeu_pd(amp + i, _mm512_maskz_sqrt_pd(
                                  0xff, _mm512_add_pd(_mm512_mul_pd(r, r), _mm512_mul_pd(c, c))));
  }
  return i;
}

__attribute__((target("avx2"))) void windowAvx2(const Pass& p, GradientWindow* g) {
  windowOf<amplitudesAvx2>(p, g);
}

__attribute__((target(QUORVEX_AVX512))) void windowAvx512(const Pass& p, GradientWindow* g) {
  windowOf<amplitudesAvx512>(p, g);
}
#endif

}  // namespace

EdgeWindows::EdgeWindows(const std::uint8_t* pixels, std::int32_t width, std::int32_t height,
                         EdgeFilter filter, double alpha)
    : pixels_(pixels),
      width_(width),
      height_(height),
      k_(edgeKernels(filter, alpha, std::max(width, height))),
      smoothOdd_(isOdd(k_.smooth)),
      deriveOdd_(isOdd(k_.derive)) {
  // Smoothing weights of one sign keep every smoothed value within the grey values it weighs;
  // the odd derivative's pairs of differences then stay within its weights on one side times
  // their range, along each axis, and the amplitude within sqrt(2) times that.
  bool bounded = !k_.zeroBorder && deriveOdd_ && k_.smooth.size() == k_.derive.size();
  for (const double weight : k_.smooth) bounded = bounded && weight >= 0;
  if (!bounded) return;
  double side = 0;
  for (std::size_t i = 0; i < k_.derive.size() / 2; ++i) side += std::fabs(k_.derive[i]);
  slope_ = std::sqrt(2.0) * side;
}

void EdgeWindows::compute(std::int32_t r0, std::int32_t r1, std::int32_t c0, std::int32_t c1,
                          double floor, GradientWindow* out, bool follows) const {
  // The rows the window before holds of this one, at this one's top or bottom, moved to their
  // places: a value depends on its own neighbourhood alone.
  std::int32_t from = r0, to = r1;
  if (follows && out->width == width_ && out->height == height_ && out->c0 == c0 && out->c1 == c1) {
    const auto cw = static_cast<std::size_t>(c1 - c0);
    const std::int32_t p0 = out->r0, p1 = out->r1;
    const auto move = [&](std::size_t at, std::size_t place, std::size_t count) {
      for (std::vector<double>* plane : {&out->gr, &out->gc, &out->amp}) {
        if (plane->size() < place + count) plane->resize(place + count);
        std::copy_n(plane->data() + at, count, plane->data() + place);
      }
    };
    if (p0 <= r0 && r0 < p1 && p1 < r1) {
      move(static_cast<std::size_t>(r0 - p0) * cw, 0, static_cast<std::size_t>(p1 - r0) * cw);
      from = p1;
    } else if (r0 < p0 && p0 < r1 && r1 <= p1) {
      // Moved down: from the last row back, as the rows may overlap their places.
      for (std::int32_t r = r1; r-- > p0;) {
        move(static_cast<std::size_t>(r - p0) * cw, static_cast<std::size_t>(r - r0) * cw, cw);
      }
      to = p0;
    }
  }
  out->width = width_, out->height = height_;
  out->r0 = r0, out->r1 = r1, out->c0 = c0, out->c1 = c1;
  // The widest range whose bound, with room for the sums' roundings (a few units of the last
  // place of 255 and of the bound), stays below the floor.
  int limit = -1;
  while (slope_ > 0 && limit < 255 && slope_ * ((limit + 1) + 1e-9) * (1 + 1e-9) < floor) ++limit;
  Pass p{pixels_, width_, height_, &k_, smoothOdd_, deriveOdd_, !std::signbit(k_.smooth[0]), limit};
  p.from = from, p.to = to;
#if QUORVEX_KERNELS_AVX2
  if (vectorPathsEnabled() && cpuHasAvx512()) return windowAvx512(p, out);
#endif
  // The ranges are found in AVX-512 alone: the other paths work out every group.
  p.limit = -1;
#if QUORVEX_KERNELS_AVX2
  if (vectorPathsEnabled() && cpuHasAvx2()) return windowAvx2(p, out);
#endif
  windowPlain(p, out);
}

}  // namespace Standin
}  // namespace HalconCpp
