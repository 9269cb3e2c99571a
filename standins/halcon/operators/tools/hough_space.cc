#include "operators/tools/hough_space.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/numbers.h"
#include "core/params.h"

namespace HalconCpp {
namespace Standin {

namespace {}  // namespace

std::int32_t angleResolutionOf(const HTuple& value, const char* op, int n) {
  const Hlong r = oneInteger(value, op, n);
  if (r != 1 && r != 2 && r != 4 && r != 8) fail(op, 1300 + n);
  return static_cast<std::int32_t>(r);
}

std::int32_t HoughSpace::distanceRow(std::int32_t column, std::int32_t row,
                                     std::int32_t col) const {
  const double d =
      double(col) * cosines[std::size_t(column)] + double(row) * sines[std::size_t(column)];
  const double k = std::floor(d + 0.5);
  return k >= 0 && k < height ? static_cast<std::int32_t>(k) : -1;
}

HoughSpace houghSpaceFor(const Runs& runs, std::int32_t resolution, const char* op) {
  HoughSpace space;
  space.resolution = resolution;
  space.width = 270 * resolution + 1;
  std::int32_t r1 = 0, c1 = 0, r2 = 0, c2 = 0;
  runsBox(runs, &r1, &c1, &r2, &c2);
  const double far = std::hypot(double(std::max(r2, 0)), double(std::max(c2, 0)));
  space.height = static_cast<std::int32_t>(std::floor(far + 0.5)) + 1;
  for (std::int32_t a = 0; a < space.width; ++a) {
    const double phi = space.degrees(a) * kPi / 180.0;
    space.cosines.push_back(std::cos(phi));
    space.sines.push_back(std::sin(phi));
  }
  const std::uint64_t cells = std::uint64_t(space.width) * std::uint64_t(space.height);
  space.reservation = PixelReservation(cells * sizeof(std::uint32_t), op);
  space.votes.assign(std::size_t(cells), 0);
  return space;
}

std::vector<HoughMaximum> houghMaxima(const std::vector<double>& values, std::int32_t width,
                                      std::int32_t height, double threshold, std::int32_t angleGap,
                                      std::int32_t distGap) {
  std::vector<HoughMaximum> plateaus;
  std::vector<bool> seen(values.size(), false);
  std::vector<std::size_t> stack;
  for (std::size_t start = 0; start < values.size(); ++start) {
    const double v = values[start];
    if (seen[start] || !(v >= threshold) || v <= 0) continue;
    // The 8-connected cells of the same value; a higher neighbour makes it no maximum.
    bool highest = true;
    double sumRow = 0, sumCol = 0, cells = 0;
    stack.assign(1, start);
    seen[start] = true;
    while (!stack.empty()) {
      const std::size_t i = stack.back();
      stack.pop_back();
      const auto row = static_cast<std::int32_t>(i / std::size_t(width));
      const auto col = static_cast<std::int32_t>(i % std::size_t(width));
      sumRow += row;
      sumCol += col;
      ++cells;
      for (std::int32_t dr = -1; dr <= 1; ++dr) {
        for (std::int32_t dc = -1; dc <= 1; ++dc) {
          const std::int32_t r = row + dr, c = col + dc;
          if ((dr == 0 && dc == 0) || r < 0 || r >= height || c < 0 || c >= width) continue;
          const std::size_t j = std::size_t(r) * std::size_t(width) + std::size_t(c);
          if (values[j] > v) highest = false;
          if (values[j] == v && !seen[j]) {
            seen[j] = true;
            stack.push_back(j);
          }
        }
      }
    }
    if (highest) plateaus.push_back({v, sumRow / cells, sumCol / cells, cells});
  }
  std::stable_sort(plateaus.begin(), plateaus.end(),
                   [](const HoughMaximum& a, const HoughMaximum& b) {
                     return a.value > b.value || (a.value == b.value && a.cells > b.cells);
                   });
  std::vector<HoughMaximum> kept;
  for (const HoughMaximum& m : plateaus) {
    const bool near = std::any_of(kept.begin(), kept.end(), [&](const HoughMaximum& k) {
      return std::fabs(k.column - m.column) < angleGap && std::fabs(k.row - m.row) < distGap;
    });
    if (!near) kept.push_back(m);
  }
  return kept;
}

}  // namespace Standin
}  // namespace HalconCpp
