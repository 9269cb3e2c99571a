// The median filter: selection networks across a vector of neighbouring outputs for the
// common masks, a moving histogram for any other.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "core/image.h"
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

// One row of outputs; `pixels[i]` points at mask pixel i of the row's first output, in padded
// rows long enough for a full vector past the row's end.
template <typename V, std::size_t N, std::size_t C, const unsigned char (&Network)[C][2]>
QUORVEX_ALWAYS_INLINE void medianRow(const std::uint8_t* const* pixels, std::int32_t width,
                                     std::uint8_t* out) {
  constexpr std::int32_t lanes = sizeof(V);
  for (std::int32_t x = 0; x < width; x += lanes) {
    V v[N];
    for (std::size_t i = 0; i < N; ++i) std::memcpy(&v[i], pixels[i] + x, sizeof(V));
    applyNetwork<V, C, Network>(v, std::make_index_sequence<C>());
    std::uint8_t middle[sizeof(V)];
    std::memcpy(middle, &v[N / 2], sizeof(V));
    std::memcpy(out + x, middle, static_cast<std::size_t>(std::min(lanes, width - x)));
  }
}

template <typename V>
QUORVEX_ALWAYS_INLINE void networkRow(const std::uint8_t* const* pixels, std::size_t count,
                                      std::int32_t n, std::uint8_t* out) {
  switch (count) {
    case 5:
      return medianRow<V, 5, std::size(kMedian5), kMedian5>(pixels, n, out);
    case 9:
      return medianRow<V, 9, std::size(kMedian9), kMedian9>(pixels, n, out);
    case 13:
      return medianRow<V, 13, std::size(kMedian13), kMedian13>(pixels, n, out);
    default:
      return medianRow<V, 25, std::size(kMedian25), kMedian25>(pixels, n, out);
  }
}

void networkRowPlain(const std::uint8_t* const* pixels, std::size_t count, std::int32_t n,
                     std::uint8_t* out) {
  networkRow<Lanes16>(pixels, count, n, out);
}

#if QUORVEX_KERNELS_AVX2
__attribute__((target("avx2"))) void networkRowAvx2(const std::uint8_t* const* pixels,
                                                    std::size_t count, std::int32_t n,
                                                    std::uint8_t* out) {
  networkRow<Lanes32>(pixels, count, n, out);
}
#endif

// Any mask: a histogram of the window, updated by the pixels that enter and leave as it moves
// along the row (Huang's method); the median moves little between steps. The portable path
// of every mask. `leaving[i]` and `entering[i]` point at mask run i's first pixel and one
// past its last, for the row's first output.
void histogramRow(const std::uint8_t* const* pixels, std::size_t count, std::size_t target,
                  const std::uint8_t* const* leaving, const std::uint8_t* const* entering,
                  std::size_t runs, std::int32_t n, std::uint8_t* out) {
  std::uint32_t histogram[256] = {};
  for (std::size_t i = 0; i < count; ++i) ++histogram[*pixels[i]];
  std::size_t median = 0, below = 0;
  while (below + histogram[median] <= target) below += histogram[median++];
  for (std::int32_t x = 0;; ++x) {
    out[x] = static_cast<std::uint8_t>(median);
    if (x + 1 == n) break;
    for (std::size_t i = 0; i < runs; ++i) {
      const std::uint8_t gone = leaving[i][x];
      const std::uint8_t come = entering[i][x];
      --histogram[gone];
      ++histogram[come];
      below = below - (gone < median) + (come < median);
    }
    while (below > target) below -= histogram[--median];
    while (below + histogram[median] <= target) below += histogram[median++];
  }
}

bool hasNetwork(std::size_t count) {
  return count == 5 || count == 9 || count == 13 || count == 25;
}

// Whether the runs make one rectangle from (top, left) to (bottom, right).
bool isRectangle(const Runs& mask, std::int32_t top, std::int32_t left, std::int32_t bottom,
                 std::int32_t right) {
  if (mask.size() != static_cast<std::size_t>(bottom - top + 1)) return false;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const Run& run = mask[i];
    if (run.row != top + std::int32_t(i) || run.begin != left || run.end != right) return false;
  }
  return true;
}

// A rectangle larger than the image: every image pixel counted as often as the mask covers it
// through the margin (the rows' and the columns' counts multiply), so that an output costs the
// image's area instead of the mask's.
void foldedRankPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                     std::int32_t top, std::int32_t left, std::int32_t bottom, std::int32_t right,
                     Margin margin, std::uint64_t rank, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const auto area = std::uint64_t(bottom - top + 1) * std::uint64_t(right - left + 1);
  std::vector<std::uint64_t> rows(static_cast<std::size_t>(h)), cols(static_cast<std::size_t>(w));
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
      std::fill(rows.begin(), rows.end(), 0);
      std::fill(cols.begin(), cols.end(), 0);
      std::uint64_t inRows = 0, inCols = 0;
      for (std::int32_t d = top; d <= bottom; ++d) {
        const std::int32_t r = marginSource(margin.kind, y + d, h);
        if (r < 0) continue;
        ++rows[std::size_t(r)];
        ++inRows;
      }
      for (std::int32_t d = left; d <= right; ++d) {
        const std::int32_t c = marginSource(margin.kind, x + d, w);
        if (c < 0) continue;
        ++cols[std::size_t(c)];
        ++inCols;
      }
      std::uint64_t histogram[256] = {};
      histogram[margin.value] += area - inRows * inCols;
      for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r] == 0) continue;
        const std::uint8_t* line = src + rowStart(std::int32_t(r), w);
        for (std::size_t c = 0; c < cols.size(); ++c) histogram[line[c]] += rows[r] * cols[c];
      }
      std::uint64_t below = 0;
      int g = 0;
      while (below + histogram[g] <= rank) below += histogram[g++];
      dst[rowStart(y, w) + std::size_t(x)] = static_cast<std::uint8_t>(g);
    }
  }
}

// A window's histogram along a row for any other statistic of it: `pick` sees the histogram
// of each output's window.
void windowRow(const std::uint8_t* const* pixels, std::size_t count,
               const std::uint8_t* const* leaving, const std::uint8_t* const* entering,
               std::size_t runs, std::int32_t n, const std::uint8_t* centre, const WindowPick& pick,
               std::uint8_t* out) {
  std::uint32_t histogram[256] = {}, bands[16] = {};
  std::uint64_t bandSums[16] = {};
  Window window{histogram, bands, bandSums, count, 0, 0, 0};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t g = *pixels[i];
    ++histogram[g];
    ++bands[g >> 4];
    bandSums[g >> 4] += g;
    window.sum += g;
    window.squares += g * g;
  }
  for (std::int32_t x = 0;; ++x) {
    window.centre = centre[x];
    out[x] = pick(window);
    if (x + 1 == n) break;
    for (std::size_t i = 0; i < runs; ++i) {
      const std::uint32_t gone = leaving[i][x], come = entering[i][x];
      --histogram[gone];
      ++histogram[come];
      --bands[gone >> 4];
      ++bands[come >> 4];
      bandSums[gone >> 4] -= gone;
      bandSums[come >> 4] += come;
      window.sum = window.sum + come - gone;
      window.squares = window.squares + come * come - gone * gone;
    }
  }
}

// Every row of the extent with the pointers into padded rows that the row kernels take:
// `kernel(at0, leaving, entering, y, c0, n)`.
template <typename RowKernel>
void maskRows(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
              Margin margin, std::size_t count, RowKernel&& kernel) {
  const std::int32_t w = size.width, h = size.height;
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  runsBox(mask, &top, &left, &bottom, &right);
  const std::int32_t reach = std::max(std::max(-top, bottom), std::max(-left, right));
  const std::int32_t window = 2 * reach + 1;
  // A padded row: the image row with `reach` pixels each side filled as the margin says, and
  // slack after it for the last group of lanes.
  const auto stride = static_cast<std::size_t>(w + 2 * reach) + kMaxLanes;
  const auto source = [&](std::int32_t i, std::int32_t n) {
    return marginSource(margin.kind, i, n);
  };
  std::vector<std::pair<std::int32_t, std::int32_t>> pixels;  // the mask's (row, column)
  for (const Run& run : mask) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) pixels.emplace_back(run.row, c);
  }
  forBands(h, bandsFor(h, extent.pixels * std::int64_t(count) / 4),
           [&](int, std::int64_t begin, std::int64_t end) {
             // The padded rows around the current row, in a ring of `window` rows that stays in
             // the cache: each image row is padded once, when the band first reaches it.
             std::vector<std::uint8_t> ring(static_cast<std::size_t>(window) * stride,
                                            margin.value);
             std::vector<std::int32_t> held(static_cast<std::size_t>(window), -1 - reach - h);
             const auto padded = [&](std::int32_t r) {
               const auto slot = static_cast<std::size_t>(((r % window) + window) % window);
               std::uint8_t* row = ring.data() + slot * stride;
               if (held[slot] == r) return row;
               held[slot] = r;
               const std::int32_t sy = source(r, h);
               if (sy < 0) {
                 std::memset(row, margin.value, stride);
                 return row;
               }
               const std::uint8_t* from = src + rowStart(sy, w);
               std::memcpy(row + reach, from, static_cast<std::size_t>(w));
               for (std::int32_t x = 0; x < reach; ++x) {
                 const std::int32_t lx = source(x - reach, w), rx = source(w + x, w);
                 row[x] = lx >= 0 ? from[lx] : margin.value;
                 row[reach + w + x] = rx >= 0 ? from[rx] : margin.value;
               }
               return row;
             };
             std::vector<const std::uint8_t*> at0(pixels.size()), leaving, entering;
             for (auto y = static_cast<std::int32_t>(begin); y < end; ++y) {
               const std::int32_t c0 = extent.begin[static_cast<std::size_t>(y)];
               const std::int32_t n = extent.end[static_cast<std::size_t>(y)] - c0 + 1;
               if (n <= 0) continue;
               for (std::size_t i = 0; i < pixels.size(); ++i) {
                 at0[i] = padded(y + pixels[i].first) + reach + pixels[i].second + c0;
               }
               leaving.clear();
               entering.clear();
               for (const Run& run : mask) {
                 const std::uint8_t* r = padded(y + run.row) + reach + c0;
                 leaving.push_back(r + run.begin);
                 entering.push_back(r + run.end + 1);
               }
               kernel(at0, leaving, entering, y, c0, n);
             }
           });
}

}  // namespace

std::int32_t marginSource(Margin::Kind kind, std::int32_t i, std::int32_t n) {
  switch (kind) {
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
}

void rankPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
               Margin margin, std::size_t rank, std::uint8_t* dst) {
  const auto count = static_cast<std::size_t>(runsArea(mask));
  if (count == 0) return;
  rank = std::min(rank, count - 1);
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  runsBox(mask, &top, &left, &bottom, &right);
  if (std::int64_t(count) > std::int64_t(size.width) * size.height &&
      isRectangle(mask, top, left, bottom, right)) {
    return foldedRankPlane(src, size, extent, top, left, bottom, right, margin, rank, dst);
  }
  // The networks pick the middle element only.
  const bool network = vectorPathsEnabled() && hasNetwork(count) && rank == count / 2;
  maskRows(src, size, extent, mask, margin, count,
           [&](const std::vector<const std::uint8_t*>& at0,
               const std::vector<const std::uint8_t*>& leaving,
               const std::vector<const std::uint8_t*>& entering, std::int32_t y, std::int32_t c0,
               std::int32_t n) {
             std::uint8_t* out = dst + rowStart(y, size.width) + c0;
             if (network) {
#if QUORVEX_KERNELS_AVX2
               if (cpuHasAvx2()) return networkRowAvx2(at0.data(), at0.size(), n, out);
#endif
               return networkRowPlain(at0.data(), at0.size(), n, out);
             }
             histogramRow(at0.data(), at0.size(), rank, leaving.data(), entering.data(),
                          leaving.size(), n, out);
           });
}

void medianPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 Margin margin, std::uint8_t* dst) {
  rankPlane(src, size, extent, mask, margin, static_cast<std::size_t>(runsArea(mask)) / 2, dst);
}

std::uint64_t sumOfLeast(const Window& window, std::uint64_t k) {
  std::uint64_t sum = 0;
  int band = 0;
  for (; band < 16 && window.bands[band] <= k; ++band) {
    k -= window.bands[band];
    sum += window.bandSums[band];
  }
  for (int g = band * 16; k > 0 && g < 256; ++g) {
    const std::uint64_t taken = std::min<std::uint64_t>(k, window.histogram[g]);
    sum += taken * std::uint64_t(g);
    k -= taken;
  }
  return sum;
}

void windowPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 Margin margin, const WindowPick& pick, std::uint8_t* dst) {
  const auto count = static_cast<std::size_t>(runsArea(mask));
  if (count == 0) return;
  maskRows(src, size, extent, mask, margin, count,
           [&](const std::vector<const std::uint8_t*>& at0,
               const std::vector<const std::uint8_t*>& leaving,
               const std::vector<const std::uint8_t*>& entering, std::int32_t y, std::int32_t c0,
               std::int32_t n) {
             const std::size_t first = rowStart(y, size.width) + static_cast<std::size_t>(c0);
             windowRow(at0.data(), at0.size(), leaving.data(), entering.data(), leaving.size(), n,
                       src + first, pick, dst + first);
           });
}

}  // namespace Standin
}  // namespace HalconCpp
