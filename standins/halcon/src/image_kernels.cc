#include "image_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace HalconCpp {
namespace Standin {

std::int32_t mirroredIndex(std::int32_t i, std::int32_t n) {
  while (i < 0 || i >= n) {
    if (i < 0) i = -i - 1;
    if (i >= n) i = 2 * n - i - 1;
  }
  return i;
}

namespace {

std::size_t at(std::int32_t row, std::int32_t width) {
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
}

}  // namespace

void meanPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
               std::int32_t maskHeight, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::int32_t hw = maskWidth / 2, hh = maskHeight / 2;
  const auto width = static_cast<std::size_t>(w);
  std::vector<std::uint32_t> columns(width, 0);
  for (std::int32_t dy = -hh; dy <= hh; ++dy) {
    const std::uint8_t* row = src + at(mirroredIndex(dy, h), w);
    for (std::size_t x = 0; x < width; ++x) columns[x] += row[x];
  }
  std::vector<std::uint32_t> extended(width + 2 * static_cast<std::size_t>(hw) + 1);
  std::vector<std::uint32_t> sums(width);
  const double inverse = 1.0 / (double(2 * hw + 1) * double(2 * hh + 1));
  const std::uint32_t half = static_cast<std::uint32_t>((2 * hw + 1) * (2 * hh + 1) / 2);
  for (std::int32_t y = 0; y < h; ++y) {
    std::copy(columns.begin(), columns.end(), extended.begin() + hw);
    for (std::int32_t i = 0; i < hw; ++i) {
      extended[static_cast<std::size_t>(i)] =
          columns[static_cast<std::size_t>(mirroredIndex(i - hw, w))];
      extended[static_cast<std::size_t>(w + hw + i)] =
          columns[static_cast<std::size_t>(mirroredIndex(w + i, w))];
    }
    std::uint32_t sum = 0;
    for (std::int32_t i = 0; i < 2 * hw; ++i) sum += extended[static_cast<std::size_t>(i)];
    for (std::size_t x = 0; x < width; ++x) {
      sum += extended[x + 2 * static_cast<std::size_t>(hw)];
      sums[x] = sum;
      sum -= extended[x];
    }
    std::uint8_t* out = dst + at(y, w);
    // Exact sums over a window of at most 501 x 501 bytes: the small bias keeps a quotient
    // that is a whole number from rounding down.
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>((sums[x] + half) * inverse + 1e-9);
    }
    if (y + 1 == h) break;
    const std::uint8_t* incoming = src + at(mirroredIndex(y + hh + 1, h), w);
    const std::uint8_t* outgoing = src + at(mirroredIndex(y - hh, h), w);
    for (std::size_t x = 0; x < width; ++x) columns[x] += std::uint32_t(incoming[x]) - outgoing[x];
  }
}

void binomialPlane(const std::uint8_t* src, PlaneSize size, std::int32_t taps, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height, half = taps / 2;
  const auto width = static_cast<std::size_t>(w);
  // The row weights; those along the row come from repeated neighbour sums below.
  std::vector<std::uint32_t> weights(static_cast<std::size_t>(taps), 1);
  for (std::int32_t n = 1; n < taps; ++n) {
    for (std::int32_t k = n - 1; k > 0; --k) {
      weights[static_cast<std::size_t>(k)] += weights[static_cast<std::size_t>(k - 1)];
    }
  }
  const int shift = 2 * (taps - 1);
  const std::uint32_t rounding = 1u << (shift - 1);
  std::vector<std::uint32_t> vertical(width + 2 * static_cast<std::size_t>(half));
  for (std::int32_t y = 0; y < h; ++y) {
    std::uint32_t* column = vertical.data() + half;
    std::fill(column, column + width, 0u);
    for (std::int32_t k = 0; k < taps; ++k) {
      const std::uint8_t* row = src + at(mirroredIndex(y + k - half, h), w);
      const std::uint32_t weight = weights[static_cast<std::size_t>(k)];
      for (std::size_t x = 0; x < width; ++x) column[x] += weight * row[x];
    }
    for (std::int32_t i = 1; i <= half; ++i) {
      column[-i] = column[mirroredIndex(-i, w)];
      column[w - 1 + i] = column[mirroredIndex(w - 1 + i, w)];
    }
    // Taps - 1 passes of neighbour sums make the binomial weights along the row.
    std::uint32_t* line = vertical.data();
    for (std::size_t pass = 1; pass < static_cast<std::size_t>(taps); ++pass) {
      const std::size_t length = width + 2 * static_cast<std::size_t>(half) - pass;
      for (std::size_t x = 0; x < length; ++x) line[x] += line[x + 1];
    }
    std::uint8_t* out = dst + at(y, w);
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>((line[x] + rounding) >> shift);
    }
  }
}

namespace {

// Batcher's odd-even merge sort of 16 and 32 inputs, cut to 9 and 25 inputs and to the
// comparators the middle element depends on.
constexpr unsigned char kMedian9[][2] = {
    {0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3}, {4, 6}, {5, 7}, {1, 2}, {5, 6}, {0, 4}, {1, 5},
    {2, 6}, {3, 7}, {2, 4}, {3, 5}, {1, 2}, {3, 4}, {5, 6}, {0, 8}, {4, 8}, {2, 4}, {3, 5}, {3, 4}};
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

constexpr std::size_t kLanes = 32;
// Sixteen pixels a register where the target has vectors; compilers lower it otherwise.
using Lanes = std::uint8_t __attribute__((vector_size(16)));

// The mask's pixels gathered for kLanes neighbouring outputs, one lane per output; each
// comparator then orders all lanes at once with vector minimum and maximum.
template <std::size_t N, std::size_t C>
void medianNetwork(const std::vector<const std::uint8_t*>& taps, std::size_t count,
                   const unsigned char (&network)[C][2], std::uint8_t* out) {
  Lanes low[N], high[N];
  for (std::size_t i = 0; i < N; ++i) {
    std::memcpy(&low[i], taps[i], sizeof(Lanes));
    std::memcpy(&high[i], taps[i] + sizeof(Lanes), sizeof(Lanes));
  }
  for (const auto& pair : network) {
    for (Lanes* v : {low, high}) {
      const Lanes a = v[pair[0]], b = v[pair[1]];
      v[pair[0]] = a < b ? a : b;
      v[pair[1]] = a < b ? b : a;
    }
  }
  std::uint8_t middle[kLanes];
  std::memcpy(middle, &low[N / 2], sizeof(Lanes));
  std::memcpy(middle + sizeof(Lanes), &high[N / 2], sizeof(Lanes));
  std::memcpy(out, middle, count);
}

}  // namespace

void medianPlane(const std::uint8_t* src, PlaneSize size, const Runs& mask, Margin margin,
                 std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  runsBox(mask, &top, &left, &bottom, &right);
  const std::int32_t reach = std::max(std::max(-top, bottom), std::max(-left, right));
  // The image with a frame of `reach` pixels filled as the margin says, and slack after each
  // row for the last group of lanes.
  const std::int32_t stride = w + 2 * reach + static_cast<std::int32_t>(kLanes);
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
  for (std::int32_t y = 0; y < rows; ++y) {
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
  std::vector<std::size_t> offsets;  // of the mask's pixels from the output's corner
  for (const Run& run : mask) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      offsets.push_back(at(run.row + reach, stride) + static_cast<std::size_t>(c + reach));
    }
  }
  std::vector<const std::uint8_t*> taps(offsets.size());
  if (offsets.size() == 9 || offsets.size() == 25) {
    for (std::int32_t y = 0; y < h; ++y) {
      const std::uint8_t* corner = padded.data() + at(y, stride);
      for (std::int32_t x = 0; x < w; x += static_cast<std::int32_t>(kLanes)) {
        for (std::size_t i = 0; i < offsets.size(); ++i) taps[i] = corner + offsets[i] + x;
        const std::size_t count = std::min<std::size_t>(kLanes, static_cast<std::size_t>(w - x));
        std::uint8_t* out = dst + at(y, w) + static_cast<std::size_t>(x);
        if (offsets.size() == 9) {
          medianNetwork<9>(taps, count, kMedian9, out);
        } else {
          medianNetwork<25>(taps, count, kMedian25, out);
        }
      }
    }
    return;
  }
  // Any other mask: a histogram of the window, updated by the pixels that enter and leave
  // as it moves along the row (Huang's method); the median moves little between steps.
  const std::size_t target = offsets.size() / 2;
  std::vector<std::size_t> leaving, entering;  // per mask run: its first pixel and one past it
  for (const Run& run : mask) {
    leaving.push_back(at(run.row + reach, stride) + static_cast<std::size_t>(run.begin + reach));
    entering.push_back(at(run.row + reach, stride) + static_cast<std::size_t>(run.end + reach + 1));
  }
  for (std::int32_t y = 0; y < h; ++y) {
    const std::uint8_t* corner = padded.data() + at(y, stride);
    std::uint32_t histogram[256] = {};
    for (const std::size_t offset : offsets) ++histogram[corner[offset]];
    std::size_t median = 0, below = 0;
    while (below + histogram[median] <= target) below += histogram[median++];
    std::uint8_t* out = dst + at(y, w);
    for (std::int32_t x = 0;; ++x) {
      out[x] = static_cast<std::uint8_t>(median);
      if (x + 1 == w) break;
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

}  // namespace Standin
}  // namespace HalconCpp
