// Regions cut into parts of about a given size: a grid of equal rectangles over the region's
// bounding box, or vertical cuts moved to where the region is thinnest.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// How many equal parts `extent` pixels are cut into for parts of about `size`: one unless
// the extent is at least 1.5 times the size, else the nearest whole number of parts.
std::int64_t partsOf(std::int64_t extent, double size) {
  if (double(extent) < 1.5 * size) return 1;
  return std::max<std::int64_t>(1, std::llround(double(extent) / size));
}

// The first pixel of part k of n over `extent` pixels from `start`.
std::int32_t cut(std::int32_t start, std::int64_t extent, std::int64_t k, std::int64_t n) {
  return static_cast<std::int32_t>(start + (extent * k) / n);
}

void addPart(std::vector<HObject::Item>& items, Runs part) {
  if (!part.empty()) items.push_back(makeRegion(std::move(part)));
}

double sizeOf(const HTuple& value, const char* op, int n) {
  const double size = oneNumber(value, op, n);
  if (!(size >= 1 && size <= 100000)) fail(op, 1300 + n);
  return size;
}

}  // namespace

void PartitionRectangle(const HObject& Region, HObject* Partitioned, const HTuple& Width,
                        const HTuple& Height) {
  ApiScope scope("PartitionRectangle");
  const char* op = "partition_rectangle";
  const double width = sizeOf(Width, op, 1), height = sizeOf(Height, op, 2);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(*region, &row1, &col1, &row2, &col2)) {
      addPart(items, {});
      continue;
    }
    const std::int64_t rows = std::int64_t(row2) - row1 + 1, cols = std::int64_t(col2) - col1 + 1;
    const std::int64_t down = partsOf(rows, height), across = partsOf(cols, width);
    // Parts that miss the region hold nothing and are left out; only the columns of parts
    // that a band's runs reach are visited, so a thin region's grid costs what its runs cost.
    for (std::int64_t i = 0; i < down; ++i) {
      const std::int32_t top = cut(row1, rows, i, down), bottom = cut(row1, rows, i + 1, down) - 1;
      const Runs band = intersectRuns(*region, rectangleRuns(top, col1, bottom, col2));
      std::int32_t b1, c1, b2, c2;
      if (!runsBox(band, &b1, &c1, &b2, &c2)) continue;
      // The part holding column c is the last j with cut(j) <= c.
      const auto partOf = [&](std::int32_t c) {
        std::int64_t j = (std::int64_t(c) - col1) * across / cols;
        while (j + 1 < across && cut(col1, cols, j + 1, across) <= c) ++j;
        while (j > 0 && cut(col1, cols, j, across) > c) --j;
        return j;
      };
      for (std::int64_t j = partOf(c1); j <= partOf(c2); ++j) {
        const std::int32_t left = cut(col1, cols, j, across);
        const std::int32_t right = cut(col1, cols, j + 1, across) - 1;
        addPart(items, intersectRuns(band, rectangleRuns(top, left, bottom, right)));
      }
    }
  }
  setOutput(Partitioned, objectOf(items));
}

void PartitionDynamic(const HObject& Region, HObject* Partitioned, const HTuple& Distance,
                      const HTuple& Percent) {
  ApiScope scope("PartitionDynamic");
  const char* op = "partition_dynamic";
  const double distance = sizeOf(Distance, op, 1);
  const double percent = oneNumber(Percent, op, 2);
  if (!(percent >= 0 && percent <= 100)) fail(op, 1302);
  std::vector<HObject::Item> items;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    std::int32_t row1, col1, row2, col2;
    if (!runsBox(*region, &row1, &col1, &row2, &col2)) {
      addPart(items, {});
      continue;
    }
    const std::int64_t cols = std::int64_t(col2) - col1 + 1;
    const std::int64_t parts = partsOf(cols, distance);
    // The region's pixels per column, to move each cut to the thinnest column near it.
    std::vector<std::int64_t> count(static_cast<std::size_t>(cols) + 1, 0);
    for (const Run& run : *region) {
      count[static_cast<std::size_t>(run.begin - col1)] += 1;
      count[static_cast<std::size_t>(run.end - col1) + 1] -= 1;
    }
    for (std::size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
    const auto reach = static_cast<std::int64_t>(std::floor(distance * percent / 100));
    std::int32_t from = col1;
    for (std::int64_t k = 1; k <= parts; ++k) {
      std::int32_t to = col2 + 1;
      if (k < parts) {
        const std::int64_t nominal = cut(col1, cols, k, parts);
        std::int64_t best = nominal;
        for (std::int64_t c = std::max<std::int64_t>(from + 1, nominal - reach);
             c <= std::min<std::int64_t>(col2, nominal + reach); ++c) {
          const auto at = [&](std::int64_t x) { return count[static_cast<std::size_t>(x - col1)]; };
          if (at(c) < at(best) ||
              (at(c) == at(best) && std::llabs(c - nominal) < std::llabs(best - nominal))) {
            best = c;
          }
        }
        to = static_cast<std::int32_t>(best);
      }
      if (to > from)
        addPart(items, intersectRuns(*region, rectangleRuns(row1, from, row2, to - 1)));
      from = std::max(from, to);
    }
  }
  setOutput(Partitioned, objectOf(items));
}

}  // namespace HalconCpp
