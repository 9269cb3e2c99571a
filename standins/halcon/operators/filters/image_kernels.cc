#include "operators/filters/image_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

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

// Sums of `Taps` neighbours along a row of 16-bit values, unrolled so that the compiler keeps
// a vector of outputs in registers.
template <int Taps>
void boxRow(const std::uint16_t* in, std::size_t n, std::uint16_t* out) {
  for (std::size_t x = 0; x < n; ++x) {
    std::uint16_t sum = in[x];
    for (int k = 1; k < Taps; ++k) sum = static_cast<std::uint16_t>(sum + in[x + k]);
    out[x] = sum;
  }
}

template <int... W>
bool boxRowOf(int taps, const std::uint16_t* in, std::size_t n, std::uint16_t* out,
              std::integer_sequence<int, W...>) {
  return ((taps == 2 * W + 1 ? (boxRow<2 * W + 1>(in, n, out), true) : false) || ...);
}

// Sums of `taps` neighbours: unrolled for small masks, a running sum otherwise.
void boxSums(const std::uint16_t* in, std::size_t n, int taps, std::uint16_t* out) {
  if (boxRowOf(taps, in, n, out, std::make_integer_sequence<int, 8>())) return;
  std::uint16_t sum = 0;
  for (int k = 0; k + 1 < taps; ++k) sum = static_cast<std::uint16_t>(sum + in[k]);
  for (std::size_t x = 0; x < n; ++x) {
    sum = static_cast<std::uint16_t>(sum + in[x + static_cast<std::size_t>(taps) - 1]);
    out[x] = sum;
    sum = static_cast<std::uint16_t>(sum - in[x]);
  }
}

// floor(v / d) for every v <= largest as (v * factor) >> shift in 32 bits, when such a pair
// exists: factor = ceil(2^shift / d) errs by e = factor * d - 2^shift < d, which stays below
// one step of the quotient while e * largest < 2^shift.
struct Divider {
  std::uint32_t factor = 0;
  int shift = -1;
};

Divider divider(std::uint32_t d, std::uint32_t largest) {
  for (int shift = 0; shift < 32; ++shift) {
    const std::uint64_t power = std::uint64_t(1) << shift;
    const std::uint64_t factor = (power + d - 1) / d;
    if (factor * largest >= (std::uint64_t(1) << 32)) break;
    if ((factor * d - power) * largest < power) {
      return {static_cast<std::uint32_t>(factor), shift};
    }
  }
  return {};
}

// Column sums and row sums in 16 bits, each output one multiply and shift: masks whose sum
// of bytes fits 16 bits.
bool meanPlaneNarrow(const std::uint8_t* src, PlaneSize size, std::int32_t hw, std::int32_t hh,
                     std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::uint32_t count = std::uint32_t(2 * hw + 1) * std::uint32_t(2 * hh + 1);
  const std::uint32_t half = count / 2, largest = 255 * count + half;
  if (largest > 0xFFFF) return false;
  const Divider divide = divider(count, largest);
  if (divide.shift < 0) return false;
  const auto width = static_cast<std::size_t>(w);
  std::vector<std::uint16_t> extended(width + 2 * static_cast<std::size_t>(hw));
  std::vector<std::uint16_t> sums(width);
  std::uint16_t* columns = extended.data() + hw;
  std::fill(columns, columns + width, std::uint16_t(0));
  for (std::int32_t dy = -hh; dy <= hh; ++dy) {
    const std::uint8_t* row = src + at(mirroredIndex(dy, h), w);
    for (std::size_t x = 0; x < width; ++x) columns[x] = std::uint16_t(columns[x] + row[x]);
  }
  for (std::int32_t y = 0; y < h; ++y) {
    for (std::int32_t i = 1; i <= hw; ++i) {
      columns[-i] = columns[mirroredIndex(-i, w)];
      columns[w - 1 + i] = columns[mirroredIndex(w - 1 + i, w)];
    }
    boxSums(extended.data(), width, 2 * hw + 1, sums.data());
    std::uint8_t* out = dst + at(y, w);
    for (std::size_t x = 0; x < width; ++x) {
      out[x] = static_cast<std::uint8_t>((std::uint32_t(sums[x] + half) * divide.factor) >>
                                         divide.shift);
    }
    if (y + 1 == h) break;
    const std::uint8_t* incoming = src + at(mirroredIndex(y + hh + 1, h), w);
    const std::uint8_t* outgoing = src + at(mirroredIndex(y - hh, h), w);
    for (std::size_t x = 0; x < width; ++x) {
      columns[x] = std::uint16_t(columns[x] + incoming[x] - outgoing[x]);
    }
  }
  return true;
}

}  // namespace

void meanPlane(const std::uint8_t* src, PlaneSize size, std::int32_t maskWidth,
               std::int32_t maskHeight, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::int32_t hw = maskWidth / 2, hh = maskHeight / 2;
  if (meanPlaneNarrow(src, size, hw, hh, dst)) return;
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

namespace {

// Binomial weights of 3 or 5 taps in 16 bits: the weights sum to 2^(taps - 1) in each
// direction, 256 * 255 + 128 at most.
template <int Taps>
void binomialNarrow(const std::uint8_t* src, PlaneSize size, std::uint8_t* dst) {
  static_assert(Taps == 3 || Taps == 5, "16-bit sums hold 3 or 5 taps");
  constexpr int half = Taps / 2, shift = 2 * (Taps - 1);
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  std::vector<std::uint16_t> extended(width + 2 * half);
  std::uint16_t* column = extended.data() + half;
  for (std::int32_t y = 0; y < h; ++y) {
    const std::uint8_t* r[Taps];
    for (int k = 0; k < Taps; ++k) r[k] = src + at(mirroredIndex(y + k - half, h), w);
    if (Taps == 3) {
      for (std::size_t x = 0; x < width; ++x) {
        column[x] = std::uint16_t(r[0][x] + 2 * r[1][x] + r[Taps - 1][x]);
      }
    } else {
      for (std::size_t x = 0; x < width; ++x) {
        column[x] = std::uint16_t(r[0][x] + r[Taps - 1][x] + 4 * (r[1][x] + r[Taps - 2][x]) +
                                  6 * r[half][x]);
      }
    }
    for (std::int32_t i = 1; i <= half; ++i) {
      column[-i] = column[mirroredIndex(-i, w)];
      column[w - 1 + i] = column[mirroredIndex(w - 1 + i, w)];
    }
    const std::uint16_t* c = extended.data();
    std::uint8_t* out = dst + at(y, w);
    if (Taps == 3) {
      for (std::size_t x = 0; x < width; ++x) {
        out[x] = static_cast<std::uint8_t>(
            std::uint16_t(c[x] + 2 * c[x + 1] + c[x + Taps - 1] + (1 << (shift - 1))) >> shift);
      }
    } else {
      for (std::size_t x = 0; x < width; ++x) {
        out[x] = static_cast<std::uint8_t>(std::uint16_t(c[x] + c[x + Taps - 1] +
                                                         4 * (c[x + 1] + c[x + Taps - 2]) +
                                                         6 * c[x + half] + (1 << (shift - 1))) >>
                                           shift);
      }
    }
  }
}

}  // namespace

void binomialPlane(const std::uint8_t* src, PlaneSize size, std::int32_t taps, std::uint8_t* dst) {
  if (taps == 3) return binomialNarrow<3>(src, size, dst);
  if (taps == 5) return binomialNarrow<5>(src, size, dst);
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

}  // namespace Standin
}  // namespace HalconCpp
