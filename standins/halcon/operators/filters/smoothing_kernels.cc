// The smoothing filters of smooth_image and binomial_filter on one plane. Every line is read
// through its mirrored continuation, which repeats with a period of twice its length, so an
// offset far past a short line costs no more than one close by.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "core/image.h"
#include "core/image_results.h"
#include "core/threads.h"
#include "operators/filters/filter_images.h"
#include "operators/filters/gauss_floats.h"
#include "operators/filters/image_kernels.h"
#include "operators/filters/recursive_passes.h"

namespace HalconCpp {
namespace Standin {

namespace {

// clampToByte, here where the loops that round can vectorise it.
inline std::uint8_t roundedByte(double value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(std::floor(value + 0.5));
}

// The same for the recursive filters' float sums, rounded in floats as their vectors round.
inline std::uint8_t roundedByte(float value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(std::floor(value + 0.5f));
}

// The index of every place of a line of n continued by `reach` mirrored places each way.
std::vector<std::int32_t> mirroredIndices(std::int32_t n, std::int32_t reach) {
  std::vector<std::int32_t> indices(static_cast<std::size_t>(n) + 2 * std::size_t(reach));
  const std::int64_t period = 2 * std::int64_t(n);
  const auto mirrored = [&](std::size_t i) {
    const std::int64_t m = ((std::int64_t(i) - reach) % period + period) % period;
    indices[i] = static_cast<std::int32_t>(m < n ? m : period - 1 - m);
  };
  // The line itself without a division a place: a small image's call would spend some
  // microseconds on them.
  const auto first = static_cast<std::size_t>(reach), last = first + static_cast<std::size_t>(n);
  for (std::size_t i = 0; i < first; ++i) mirrored(i);
  for (std::size_t i = first; i < last; ++i) indices[i] = static_cast<std::int32_t>(i - first);
  for (std::size_t i = last; i < indices.size(); ++i) mirrored(i);
  return indices;
}

// --- binomial_filter -------------------------------------------------------------------------

std::vector<std::uint64_t> binomialCoefficients(std::int32_t taps) {
  std::vector<std::uint64_t> c(static_cast<std::size_t>(taps), 0);
  c[0] = 1;
  for (std::size_t n = 1; n < c.size(); ++n) {
    for (std::size_t k = n; k > 0; --k) c[k] += c[k - 1];
  }
  return c;
}

// Column sums reach 255 * 2^36 < 2^44. The row sums over them reach 2^80 for the largest
// masks: `Acc` holds them whole when 8 + shift bits fit it, else the column sums are split at
// bit 22, whose two row sums stay below 2^58 (the coefficients sum to 2^(maskWidth - 1)).
template <typename Acc>
inline __attribute__((always_inline)) void binomialRows(const std::uint8_t* src, PlaneSize size,
                                                        const std::vector<std::uint64_t>& across,
                                                        const std::vector<std::uint64_t>& down,
                                                        std::uint8_t* dst, std::int32_t y0,
                                                        std::int32_t y1) {
  const std::int32_t w = size.width, h = size.height;
  const auto hw = static_cast<std::int32_t>(across.size() / 2);
  const auto hh = static_cast<std::int32_t>(down.size() / 2);
  const int shift = 2 * (hw + hh);
  const std::vector<std::int32_t> columns = mirroredIndices(w, hw), rows = mirroredIndices(h, hh);
  const auto width = static_cast<std::size_t>(w);
  // The three rows in one buffer, a third of a page (mod 4096 bytes) apart: separate vectors
  // of a power-of-two width sit whole pages apart, and the processor then takes stores to one
  // for stores the loads from the next must wait for.
  const std::size_t page = 4096 / sizeof(Acc);
  const auto skewed = [&](std::size_t at, std::size_t third) {
    return at + (third * page / 3 + page - at % page) % page;
  };
  const std::size_t extendedAt = skewed(width, 1);
  const std::size_t sumsAt = skewed(extendedAt + columns.size(), 2);
  std::vector<Acc> buffer(sumsAt + width);
  Acc* const column = buffer.data();
  Acc* const extended = buffer.data() + extendedAt;
  Acc* const sums = buffer.data() + sumsAt;
  std::vector<Acc> low(sizeof(Acc) < 8 || 8 + shift <= 63 ? 0 : columns.size());
  std::vector<const std::uint8_t*> taps(down.size());
  for (std::int32_t y = y0; y < y1; ++y) {
    for (std::size_t k = 0; k < down.size(); ++k) {
      taps[k] = src + rowStart(rows[static_cast<std::size_t>(y) + k], w);
    }
    // A tap at a time over the whole row, so that the compiler can keep vectors of sums.
    const Acc top = Acc(down[0]);
    const std::uint8_t* first = taps[0];
    for (std::size_t x = 0; x < width; ++x) column[x] = Acc(top * first[x]);
    for (std::size_t k = 1; k < down.size(); ++k) {
      const Acc weight = Acc(down[k]);
      const std::uint8_t* tap = taps[k];
      for (std::size_t x = 0; x < width; ++x) column[x] = Acc(column[x] + weight * tap[x]);
    }
    std::uint8_t* out = dst + rowStart(y, w);
    if (low.empty()) {
      // The row itself in the middle, its mirrored continuation at the ends.
      const auto reach = static_cast<std::size_t>(hw);
      std::copy(column, column + width, extended + reach);
      for (std::size_t i = 0; i < reach; ++i) {
        extended[i] = column[static_cast<std::size_t>(columns[i])];
        const std::size_t j = reach + width + i;
        extended[j] = column[static_cast<std::size_t>(columns[j])];
      }
      const Acc half = shift > 0 ? Acc(Acc(1) << (shift - 1)) : Acc(0);
      std::fill(sums, sums + width, half);
      for (std::size_t k = 0; k < across.size(); ++k) {
        const Acc weight = Acc(across[k]);
        const Acc* e = extended + k;
        for (std::size_t x = 0; x < width; ++x) sums[x] = Acc(sums[x] + weight * e[x]);
      }
      for (std::size_t x = 0; x < width; ++x) out[x] = static_cast<std::uint8_t>(sums[x] >> shift);
      continue;
    }
    constexpr int kSplit = 22;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Acc v = column[static_cast<std::size_t>(columns[i])];
      extended[i] = v >> kSplit;
      low[i] = v & ((Acc(1) << kSplit) - 1);
    }
    for (std::size_t x = 0; x < width; ++x) {
      Acc high = 0, rest = 0;
      for (std::size_t k = 0; k < across.size(); ++k) {
        high += Acc(across[k]) * extended[x + k];
        rest += Acc(across[k]) * low[x + k];
      }
      // floor((high 2^22 + rest + 2^(shift - 1)) / 2^shift), the last 22 bits of rest below
      // what the quotient can see.
      const Acc whole = high + (rest >> kSplit) + (Acc(1) << (shift - 1 - kSplit));
      out[x] = static_cast<std::uint8_t>(whole >> (shift - kSplit));
    }
  }
}

template <typename Acc>
void binomialRowsPlain(const std::uint8_t* src, PlaneSize size,
                       const std::vector<std::uint64_t>& across,
                       const std::vector<std::uint64_t>& down, std::uint8_t* dst, std::int32_t y0,
                       std::int32_t y1) {
  binomialRows<Acc>(src, size, across, down, dst, y0, y1);
}

#if QUORVEX_KERNELS_AVX2
// The same sums of whole numbers in vectors twice as wide.
template <typename Acc>
__attribute__((target("avx2"))) void binomialRowsAvx2(const std::uint8_t* src, PlaneSize size,
                                                      const std::vector<std::uint64_t>& across,
                                                      const std::vector<std::uint64_t>& down,
                                                      std::uint8_t* dst, std::int32_t y0,
                                                      std::int32_t y1) {
  binomialRows<Acc>(src, size, across, down, dst, y0, y1);
}

// Twice the lanes again: the multiplies of 16 bits, which are most of the work, 32 at a time.
template <typename Acc>
__attribute__((target(QUORVEX_AVX512))) void binomialRowsAvx512(
    const std::uint8_t* src, PlaneSize size, const std::vector<std::uint64_t>& across,
    const std::vector<std::uint64_t>& down, std::uint8_t* dst, std::int32_t y0, std::int32_t y1) {
  binomialRows<Acc>(src, size, across, down, dst, y0, y1);
}
#endif

template <typename Acc>
void binomialBand(const std::uint8_t* src, PlaneSize size, const std::vector<std::uint64_t>& across,
                  const std::vector<std::uint64_t>& down, std::uint8_t* dst, std::int32_t y0,
                  std::int32_t y1) {
#if QUORVEX_KERNELS_AVX2
  if (vectorPathsEnabled() && cpuHasAvx512()) {
    return binomialRowsAvx512<Acc>(src, size, across, down, dst, y0, y1);
  }
  if (vectorPathsEnabled() && cpuHasAvx2()) {
    return binomialRowsAvx2<Acc>(src, size, across, down, dst, y0, y1);
  }
#endif
  binomialRowsPlain<Acc>(src, size, across, down, dst, y0, y1);
}

// --- smooth_image ----------------------------------------------------------------------------

double response(RecursiveSmoothing kind, double alpha, double n) {
  const double decay = std::exp(-alpha * n);
  switch (kind) {
    case RecursiveSmoothing::Deriche1:
      return (1 + alpha * n) * decay;
    case RecursiveSmoothing::Deriche2:
      return (std::sin(alpha * n) + std::cos(alpha * n)) * decay;
    case RecursiveSmoothing::Shen:
      break;
  }
  return decay;
}

// The coefficients in doubles, then in the sums' own type.
template <typename T>
RecursionOf<T> recursion(RecursiveSmoothing kind, double alpha, std::int32_t reach) {
  const double r = std::exp(-alpha);
  RecursionOf<double> c{};
  switch (kind) {
    case RecursiveSmoothing::Deriche1:
      c.b1 = -2 * r, c.b2 = r * r;
      break;
    case RecursiveSmoothing::Deriche2:
      c.b1 = -2 * r * std::cos(alpha), c.b2 = r * r;
      break;
    case RecursiveSmoothing::Shen:
      c.b1 = -r, c.b2 = 0;
      break;
  }
  const double f0 = response(kind, alpha, 0), f1 = response(kind, alpha, 1),
               f2 = response(kind, alpha, 2);
  c.n0 = f0, c.n1 = f1 + c.b1 * f0, c.m1 = f1, c.m2 = f2 + c.b1 * f1;
  double total = f0;
  for (std::int32_t n = 1; n <= reach + 8; ++n) total += 2 * response(kind, alpha, n);
  c.scale = 1 / total;
  return {static_cast<T>(c.n0), static_cast<T>(c.n1), static_cast<T>(c.m1),   static_cast<T>(c.m2),
          static_cast<T>(c.b1), static_cast<T>(c.b2), static_cast<T>(c.scale)};
}

// One line, continued through `indices`: the forward sums into `forward`, then the backward
// ones, added to them and scaled, into `out`.
template <typename T>
void recursiveLine(const T* in, const std::vector<std::int32_t>& indices, std::int32_t reach,
                   const RecursionOf<T>& c, T* extended, T* forward, T* out, std::size_t n) {
  const std::size_t m = indices.size();
  for (std::size_t i = 0; i < m; ++i) extended[i] = in[indices[i]];
  T c1 = 0, c2 = 0, x1 = 0;
  for (std::size_t i = 0; i < m; ++i) {
    const T v = c.n0 * extended[i] + c.n1 * x1 - c.b2 * c2 - c.b1 * c1;
    forward[i] = v;
    c2 = c1, c1 = v, x1 = extended[i];
  }
  T a1 = 0, a2 = 0, y1 = 0, y2 = 0;
  const auto first = static_cast<std::size_t>(reach);
  for (std::size_t i = m; i-- > 0;) {
    const T v = c.m1 * y1 + c.m2 * y2 - c.b2 * a2 - c.b1 * a1;
    if (i >= first && i < first + n) out[i - first] = (forward[i] + v) * c.scale;
    a2 = a1, a1 = v, y2 = y1, y1 = extended[i];
  }
}

using GaussJob = SampledGauss;

inline __attribute__((always_inline)) void sampledGaussRows(const GaussJob& job, std::int32_t y0,
                                                            std::int32_t y1) {
  const std::int32_t w = job.size.width;
  const auto width = static_cast<std::size_t>(w);
  const auto reach = static_cast<std::int32_t>(job.g->size() - 1);
  const std::vector<double>& g = *job.g;
  const std::vector<std::int32_t>&rows = *job.rows, &columns = *job.columns;
  const Extent& extent = *job.extent;
  const std::uint8_t* const src = job.src;
  std::uint8_t* const dst = job.dst;
  std::vector<double> column(width), sums(width), extended(columns.size());
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    // The columns the span reads, its mirrored continuation included: beyond an edge it
    // reads back over no more than it reaches, and a reach past the whole row takes it all.
    const auto a0 = static_cast<std::size_t>(std::max(0, c0 - reach));
    const auto a1 = static_cast<std::size_t>(std::min(w - 1, c1 + reach)) + 1;
    const std::size_t centre = static_cast<std::size_t>(y + reach);
    const std::uint8_t* mid = src + rowStart(rows[centre], w);
    for (std::size_t x = a0; x < a1; ++x) column[x] = g[0] * mid[x];
    for (std::size_t k = 1; k < g.size(); ++k) {
      const std::uint8_t* up = src + rowStart(rows[centre - k], w);
      const std::uint8_t* down = src + rowStart(rows[centre + k], w);
      for (std::size_t x = a0; x < a1; ++x) column[x] += g[k] * (up[x] + down[x]);
    }
    const auto e0 = static_cast<std::size_t>(c0), e1 = static_cast<std::size_t>(c1) + 1;
    for (std::size_t i = e0; i < e1 + 2 * static_cast<std::size_t>(reach); ++i) {
      extended[i] = column[static_cast<std::size_t>(columns[i])];
    }
    const double* centreLine = extended.data() + reach;
    for (std::size_t x = e0; x < e1; ++x) sums[x] = g[0] * centreLine[x];
    for (std::size_t k = 1; k < g.size(); ++k) {
      const double weight = g[k];
      const double *left = centreLine - k, *right = centreLine + k;
      for (std::size_t x = e0; x < e1; ++x) sums[x] += weight * (left[x] + right[x]);
    }
    std::uint8_t* out = dst + rowStart(y, w);
    for (std::size_t x = e0; x < e1; ++x) out[x] = roundedByte(sums[x]);
  }
}

void sampledGaussRowsPlain(const GaussJob& job, std::int32_t y0, std::int32_t y1) {
  sampledGaussRows(job, y0, y1);
}

#if QUORVEX_KERNELS_AVX2
// The same sums, each in the same order, in vectors twice as wide.
__attribute__((target("avx2"))) void sampledGaussRowsAvx2(const GaussJob& job, std::int32_t y0,
                                                          std::int32_t y1) {
  sampledGaussRows(job, y0, y1);
}
#endif

}  // namespace

void binomialPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
                   std::int32_t maskHeight, std::uint8_t* dst) {
  const std::vector<std::uint64_t> across = binomialCoefficients(maskWidth),
                                   down = binomialCoefficients(maskHeight);
  const int bits = 8 + (maskWidth - 1) + (maskHeight - 1);
  const std::int64_t work = std::int64_t{size.width} * size.height * (maskWidth + maskHeight) / 10;
  inParts(size.height, bandsFor(size.height, work), [&](const NextRows& next) {
    for (std::int32_t y0 = 0, y1 = 0; next(y0, y1);) {
      // 5 x 5 and smaller in 16 bits: twice the sums in a vector of the same width.
      if (bits <= 16) {
        binomialBand<std::uint16_t>(src, size, across, down, dst, y0, y1);
      } else if (bits <= 31) {
        binomialBand<std::uint32_t>(src, size, across, down, dst, y0, y1);
      } else {
        binomialBand<std::uint64_t>(src, size, across, down, dst, y0, y1);
      }
    }
  });
}

std::int32_t recursiveReach(RecursiveSmoothing, double alpha) {
  // r^L (1 + alpha L) < 10^-9 with room for the polynomial and the tail's sum: 25 / alpha.
  return static_cast<std::int32_t>(std::ceil(25 / alpha));
}

namespace {

// Down the columns into a plane of sums, then along the rows the domain meets, each on its own.
template <typename T>
void recursivePasses(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                     const RecursionOf<T>& c, std::int32_t reach,
                     const std::vector<std::int32_t>& rows,
                     const std::vector<std::int32_t>& columns, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  // Every column on its own, so bands of columns give the same sums. Not cleared: the columns
  // write every value before the rows read it.
  const std::unique_ptr<T[]> smoothed(new T[width * static_cast<std::size_t>(h)]);
  const std::int64_t down = std::int64_t{w} * static_cast<std::int64_t>(rows.size());
  forBands(w, bandsFor(w, down), [&](int, std::int64_t b0, std::int64_t b1) {
    recursiveColumns(src, w, h, rows, reach, c, static_cast<std::size_t>(b0),
                     static_cast<std::size_t>(b1), smoothed.get());
  });
  const std::int64_t along = extent.pixels + std::int64_t{h} * reach;
  forBands(h, bandsFor(h, along), [&](int, std::int64_t b0, std::int64_t b1) {
    std::vector<std::int32_t> met;
    for (auto y = static_cast<std::int32_t>(b0); y < b1; ++y) {
      if (extent.begin[static_cast<std::size_t>(y)] <= extent.end[static_cast<std::size_t>(y)]) {
        met.push_back(y);
      }
    }
    std::vector<T> extended(columns.size()), forward(columns.size()), out(width);
    for (std::size_t k = 0; k < met.size(); ++k) {
      const std::int32_t y = met[k];
      recursiveLine(smoothed.get() + rowStart(y, w), columns, reach, c, extended.data(),
                    forward.data(), out.data(), width);
      std::uint8_t* row = dst + rowStart(y, w);
      const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
      const std::int32_t c1 = extent.end[static_cast<std::size_t>(y)];
      for (std::int32_t x = c0; x <= c1; ++x) {
        row[x] = roundedByte(out[static_cast<std::size_t>(x)]);
      }
    }
  });
}

// Below this Alpha the recursion's poles (r = e^-Alpha) lie so close to 1 that float sums, some
// 10^6 times a grey value at Alpha 0.001, round a constant image several grey levels off; from
// 0.005 on a constant image comes back whole, and floats begin ten times above that.
constexpr double kSmallestFloatAlpha = 0.05;

}  // namespace

void recursiveSmoothPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                          RecursiveSmoothing kind, double alpha, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  if (w < 1 || h < 1) return;
  const std::int32_t reach = recursiveReach(kind, alpha);
  const std::vector<std::int32_t> rows = mirroredIndices(h, reach),
                                  columns = mirroredIndices(w, reach);
  if (alpha < kSmallestFloatAlpha) {
    const RecursionOf<double> c = recursion<double>(kind, alpha, reach);
    zeroBesideExtent(size, extent, dst);
    return recursivePasses(src, size, extent, c, reach, rows, columns, dst);
  }
  const Recursion c = recursion<float>(kind, alpha, reach);
  if (vectorPathsEnabled() &&
      recursiveSmoothBlocks(src, w, h, rows, columns, reach, c, extent, dst)) {
    return;
  }
  zeroBesideExtent(size, extent, dst);
  recursivePasses(src, size, extent, c, reach, rows, columns, dst);
}

void recursiveSmoothDoubles(double* values, PlaneSize size, RecursiveSmoothing kind, double alpha) {
  const std::int32_t w = size.width, h = size.height;
  const std::int32_t reach = recursiveReach(kind, alpha);
  const RecursionOf<double> c = recursion<double>(kind, alpha, reach);
  const auto width = static_cast<std::size_t>(w), height = static_cast<std::size_t>(h);
  // Down the columns first and then along the rows, as the byte road runs.
  const std::vector<std::int32_t> rows = mirroredIndices(h, reach),
                                  columns = mirroredIndices(w, reach);
  const std::size_t longest = std::max(rows.size(), columns.size());
  std::vector<double> line(std::max(width, height)), extended(longest), forward(longest),
      out(std::max(width, height));
  for (std::size_t x = 0; x < width; ++x) {
    for (std::size_t y = 0; y < height; ++y) line[y] = values[y * width + x];
    recursiveLine(line.data(), rows, reach, c, extended.data(), forward.data(), out.data(), height);
    for (std::size_t y = 0; y < height; ++y) values[y * width + x] = out[y];
  }
  for (std::size_t y = 0; y < height; ++y) {
    double* row = values + y * width;
    recursiveLine(row, columns, reach, c, extended.data(), forward.data(), out.data(), width);
    std::copy(out.begin(), out.begin() + std::ptrdiff_t(width), row);
  }
}

std::vector<double> sampledGaussWeights(double sigma) {
  const std::int32_t reach = gaussReach(sigma);
  std::vector<double> weights(2 * static_cast<std::size_t>(reach) + 1);
  double total = 0;
  for (std::int32_t k = -reach; k <= reach; ++k) {
    const double g = std::exp(-double(k) * double(k) / (2 * sigma * sigma));
    weights[static_cast<std::size_t>(k + reach)] = g;
    total += g;
  }
  for (double& v : weights) v /= total;
  return weights;
}

std::int32_t gaussReach(double sigma) {
  // exp(-K^2 / 2 sigma^2) < 10^-9: K > sigma sqrt(2 ln 10^9).
  return std::max<std::int32_t>(1, static_cast<std::int32_t>(std::ceil(6.4378 * sigma)));
}

void sampledGaussPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, double sigma,
                       std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  if (w < 1 || h < 1) return;
  const std::int32_t reach = gaussReach(sigma);
  std::vector<double> g(static_cast<std::size_t>(reach) + 1);
  double total = 0;
  for (std::size_t k = 0; k < g.size(); ++k) {
    g[k] = std::exp(-double(k) * double(k) / (2 * sigma * sigma));
    total += k == 0 ? g[k] : 2 * g[k];
  }
  for (double& v : g) v /= total;
  const std::vector<std::int32_t> rows = mirroredIndices(h, reach),
                                  columns = mirroredIndices(w, reach);
  const GaussJob job{src, size, &extent, &g, &rows, &columns, dst};
  const std::int64_t work = extent.pixels * static_cast<std::int64_t>(g.size());
  inParts(h, bandsFor(h, work), [&](const NextRows& next) {
    if (vectorPathsEnabled() && sampledGaussFloats(job, next)) return;
    for (std::int32_t y0 = 0, y1 = 0; next(y0, y1);) {
#if QUORVEX_KERNELS_AVX2
      if (vectorPathsEnabled() && cpuHasAvx2()) {
        sampledGaussRowsAvx2(job, y0, y1);
        continue;
      }
#endif
      sampledGaussRowsPlain(job, y0, y1);
    }
  });
}

}  // namespace Standin
}  // namespace HalconCpp
