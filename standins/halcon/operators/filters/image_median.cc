// The median filter: selection networks across a vector of neighbouring outputs for the
// common masks, a moving histogram for any other.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

namespace {

// Batcher's odd-even merge sort of 8, 16 and 32 inputs, cut to 5, 9, 13 and 25 inputs and to
// the comparators the middle element depends on: the circles of radius 1 and 2, the squares
// of 3 and 5.
constexpr unsigned char kMedian5[][2] = {{0, 1}, {2, 3}, {0, 2}, {1, 3},
                                         {1, 2}, {0, 4}, {2, 4}, {1, 2}};
constexpr unsigned char kMedian9[][2] = {
    {0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3}, {4, 6}, {5, 7}, {1, 2}, {5, 6}, {0, 4}, {1, 5},
    {2, 6}, {3, 7}, {2, 4}, {3, 5}, {1, 2}, {3, 4}, {5, 6}, {0, 8}, {4, 8}, {2, 4}, {3, 5}, {3, 4}};
constexpr unsigned char kMedian13[][2] = {
    {0, 1},  {2, 3},  {4, 5},   {6, 7}, {8, 9},  {10, 11}, {0, 2},  {1, 3},   {4, 6}, {5, 7},
    {8, 10}, {9, 11}, {1, 2},   {5, 6}, {9, 10}, {0, 4},   {1, 5},  {2, 6},   {3, 7}, {8, 12},
    {2, 4},  {3, 5},  {10, 12}, {1, 2}, {3, 4},  {5, 6},   {9, 10}, {11, 12}, {0, 8}, {1, 9},
    {2, 10}, {3, 11}, {4, 12},  {4, 8}, {5, 9},  {6, 10},  {3, 5},  {6, 8},   {5, 6}};
constexpr unsigned char kMedian25[][2] = {
    {0, 1},   {2, 3},   {4, 5},   {6, 7},   {8, 9},   {10, 11}, {12, 13}, {14, 15}, {16, 17},
    {18, 19}, {20, 21}, {22, 23}, {0, 2},   {1, 3},   {4, 6},   {5, 7},   {8, 10},  {9, 11},
    {12, 14}, {13, 15}, {16, 18}, {17, 19}, {20, 22}, {21, 23}, {1, 2},   {5, 6},   {9, 10},
    {13, 14}, {17, 18}, {21, 22}, {0, 4},   {1, 5},   {2, 6},   {3, 7},   {8, 12},  {9, 13},
    {10, 14}, {11, 15}, {16, 20}, {17, 21}, {18, 22}, {19, 23}, {2, 4},   {3, 5},   {10, 12},
    {11, 13}, {18, 20}, {19, 21}, {1, 2},   {3, 4},   {5, 6},   {9, 10},  {11, 12}, {13, 14},
    {17, 18}, {19, 20}, {21, 22}, {0, 8},   {1, 9},   {2, 10},  {3, 11},  {4, 12},  {5, 13},
    {6, 14},  {7, 15},  {16, 24}, {4, 8},   {5, 9},   {6, 10},  {7, 11},  {20, 24}, {2, 4},
    {3, 5},   {6, 8},   {7, 9},   {10, 12}, {11, 13}, {18, 20}, {19, 21}, {22, 24}, {1, 2},
    {3, 4},   {5, 6},   {7, 8},   {9, 10},  {11, 12}, {13, 14}, {17, 18}, {19, 20}, {21, 22},
    {23, 24}, {0, 16},  {1, 17},  {2, 18},  {3, 19},  {4, 20},  {5, 21},  {6, 22},  {7, 23},
    {8, 24},  {8, 16},  {9, 17},  {10, 18}, {11, 19}, {12, 20}, {13, 21}, {6, 10},  {7, 11},
    {12, 16}, {13, 17}, {10, 12}, {11, 13}, {11, 12}};

// Vectors of 16 bytes everywhere, of 32 where AVX2 runs; lowered by the compiler without.
using Lanes16 = std::uint8_t __attribute__((vector_size(16)));
using Lanes32 = std::uint8_t __attribute__((vector_size(32)));
constexpr std::size_t kMaxLanes = 32;

#define QUORVEX_ALWAYS_INLINE inline __attribute__((always_inline))

template <typename V>
QUORVEX_ALWAYS_INLINE void order(V& a, V& b) {
  const V low = a < b ? a : b;
  b = a < b ? b : a;
  a = low;
}

// The comparators as straight-line code, so that the wires live in registers.
template <typename V, std::size_t C, const unsigned char (&Network)[C][2], std::size_t... I>
QUORVEX_ALWAYS_INLINE void applyNetwork(V* v, std::index_sequence<I...>) {
  (order(v[Network[I][0]], v[Network[I][1]]), ...);
}

// One row of outputs; `corner` is the padded image at the mask's top-left offset of the
// row's first output, the padding long enough for a full vector past the row's end.
template <typename V, std::size_t N, std::size_t C, const unsigned char (&Network)[C][2]>
QUORVEX_ALWAYS_INLINE void medianRow(const std::uint8_t* corner, const std::size_t* offsets,
                                     std::int32_t width, std::uint8_t* out) {
  constexpr std::int32_t lanes = sizeof(V);
  for (std::int32_t x = 0; x < width; x += lanes) {
    V v[N];
    for (std::size_t i = 0; i < N; ++i) std::memcpy(&v[i], corner + offsets[i] + x, sizeof(V));
    applyNetwork<V, C, Network>(v, std::make_index_sequence<C>());
    std::uint8_t middle[sizeof(V)];
    std::memcpy(middle, &v[N / 2], sizeof(V));
    std::memcpy(out + x, middle, static_cast<std::size_t>(std::min(lanes, width - x)));
  }
}

struct RowJob {
  const std::uint8_t* padded;
  std::size_t stride;
  const std::size_t* offsets;
  std::size_t count;
  PlaneSize size;
  const Extent* extent;
  std::uint8_t* dst;
};

template <typename V>
QUORVEX_ALWAYS_INLINE void medianRows(const RowJob& job, std::int32_t y0, std::int32_t y1) {
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = job.extent->begin[static_cast<std::size_t>(y)];
    const std::int32_t n = job.extent->end[static_cast<std::size_t>(y)] - c0 + 1;
    if (n <= 0) continue;
    const std::uint8_t* corner =
        job.padded + static_cast<std::size_t>(y) * job.stride + static_cast<std::size_t>(c0);
    std::uint8_t* out = job.dst + static_cast<std::size_t>(y) * std::size_t(job.size.width) +
                        static_cast<std::size_t>(c0);
    switch (job.count) {
      case 5:
        medianRow<V, 5, std::size(kMedian5), kMedian5>(corner, job.offsets, n, out);
        break;
      case 9:
        medianRow<V, 9, std::size(kMedian9), kMedian9>(corner, job.offsets, n, out);
        break;
      case 13:
        medianRow<V, 13, std::size(kMedian13), kMedian13>(corner, job.offsets, n, out);
        break;
      default:
        medianRow<V, 25, std::size(kMedian25), kMedian25>(corner, job.offsets, n, out);
        break;
    }
  }
}

void medianRowsPlain(const RowJob& job, std::int32_t y0, std::int32_t y1) {
  medianRows<Lanes16>(job, y0, y1);
}

#if QUORVEX_KERNELS_AVX2
__attribute__((target("avx2"))) void medianRowsAvx2(const RowJob& job, std::int32_t y0,
                                                    std::int32_t y1) {
  medianRows<Lanes32>(job, y0, y1);
}
#endif

// Rows [y0, y1) of any mask: a histogram of the window, updated by the pixels that enter and
// leave as it moves along the row (Huang's method); the median moves little between steps.
// The portable path of every mask.
void histogramRows(const RowJob& job, const Runs& mask, std::int32_t reach, std::int32_t y0,
                   std::int32_t y1) {
  const std::size_t target = job.count / 2;
  const std::size_t stride = job.stride;
  std::vector<std::size_t> leaving, entering;  // per mask run: its first pixel and one past it
  for (const Run& run : mask) {
    leaving.push_back(static_cast<std::size_t>(run.row + reach) * stride +
                      static_cast<std::size_t>(run.begin + reach));
    entering.push_back(static_cast<std::size_t>(run.row + reach) * stride +
                       static_cast<std::size_t>(run.end + reach + 1));
  }
  for (std::int32_t y = y0; y < y1; ++y) {
    const std::int32_t c0 = job.extent->begin[static_cast<std::size_t>(y)];
    const std::int32_t c1 = job.extent->end[static_cast<std::size_t>(y)];
    if (c0 > c1) continue;
    const std::uint8_t* corner = job.padded + static_cast<std::size_t>(y) * stride;
    std::uint32_t histogram[256] = {};
    for (std::size_t i = 0; i < job.count; ++i) {
      ++histogram[corner[job.offsets[i] + static_cast<std::size_t>(c0)]];
    }
    std::size_t median = 0, below = 0;
    while (below + histogram[median] <= target) below += histogram[median++];
    std::uint8_t* out = job.dst + static_cast<std::size_t>(y) * std::size_t(job.size.width);
    for (std::int32_t x = c0;; ++x) {
      out[x] = static_cast<std::uint8_t>(median);
      if (x == c1) break;
      for (std::size_t i = 0; i < leaving.size(); ++i) {
        const std::uint8_t gone = corner[leaving[i] + static_cast<std::size_t>(x)];
        const std::uint8_t come = corner[entering[i] + static_cast<std::size_t>(x)];
        --histogram[gone];
        ++histogram[come];
        below = below - (gone < median) + (come < median);
      }
      while (below > target) below -= histogram[--median];
      while (below + histogram[median] <= target) below += histogram[median++];
    }
  }
}

std::size_t at(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

bool hasNetwork(std::size_t count) {
  return count == 5 || count == 9 || count == 13 || count == 25;
}

}  // namespace

void medianPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 Margin margin, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  runsBox(mask, &top, &left, &bottom, &right);
  const std::int32_t reach = std::max(std::max(-top, bottom), std::max(-left, right));
  // The image with a frame of `reach` pixels filled as the margin says, and slack after each
  // row for the last group of lanes; only the rows the extent's rows reach.
  std::int32_t first = h, last = -1;
  for (std::int32_t y = 0; y < h; ++y) {
    if (extent.begin[static_cast<std::size_t>(y)] > extent.end[static_cast<std::size_t>(y)]) {
      continue;
    }
    first = std::min(first, y);
    last = y;
  }
  if (last < 0) return;
  const std::int32_t stride = w + 2 * reach + static_cast<std::int32_t>(kMaxLanes);
  const std::int32_t rows = h + 2 * reach;
  std::vector<std::uint8_t> padded(at(rows, stride), margin.value);
  const auto source = [&](std::int32_t i, std::int32_t n) {
    switch (margin.kind) {
      case Margin::Mirrored:
        return mirroredIndex(i, n);
      case Margin::Cyclic:
        return ((i % n) + n) % n;
      case Margin::Continued:
        return std::clamp(i, 0, n - 1);
      case Margin::Constant:
        break;
    }
    return i >= 0 && i < n ? i : -1;
  };
  const std::int32_t padFirst = first, padRows = last + 2 * reach + 1 - first;
  forBands(padRows, bandsFor(padRows, std::int64_t{padRows} * w / 8),
           [&](int, std::int64_t begin, std::int64_t end) {
             for (auto y = static_cast<std::int32_t>(padFirst + begin); y < padFirst + end; ++y) {
               const std::int32_t sy = source(y - reach, h);
               if (sy < 0) continue;
               std::uint8_t* row = padded.data() + at(y, stride);
               std::memcpy(row + reach, src + at(sy, w), static_cast<std::size_t>(w));
               for (std::int32_t x = 0; x < reach; ++x) {
                 const std::int32_t lx = source(x - reach, w), rx = source(w + x, w);
                 if (lx >= 0) row[x] = src[at(sy, w) + static_cast<std::size_t>(lx)];
                 if (rx >= 0) row[reach + w + x] = src[at(sy, w) + static_cast<std::size_t>(rx)];
               }
             }
           });
  std::vector<std::size_t> offsets;  // of the mask's pixels from the output's corner
  for (const Run& run : mask) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      offsets.push_back(at(run.row + reach, stride) + static_cast<std::size_t>(c + reach));
    }
  }
  const RowJob job{padded.data(),
                   static_cast<std::size_t>(stride),
                   offsets.data(),
                   offsets.size(),
                   size,
                   &extent,
                   dst};
  const bool network = vectorPathsEnabled() && hasNetwork(offsets.size());
  forBands(h, bandsFor(h, extent.pixels * std::int64_t(offsets.size()) / 4),
           [&](int, std::int64_t begin, std::int64_t end) {
             const auto y0 = static_cast<std::int32_t>(begin), y1 = static_cast<std::int32_t>(end);
             if (!network) return histogramRows(job, mask, reach, y0, y1);
#if QUORVEX_KERNELS_AVX2
             if (cpuHasAvx2()) return medianRowsAvx2(job, y0, y1);
#endif
             medianRowsPlain(job, y0, y1);
           });
}

}  // namespace Standin
}  // namespace HalconCpp
