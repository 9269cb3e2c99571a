// regiongrowing_mean and expand_line: regions grown from seed points against their running
// mean, and from a row or column against the line's mean or each step's last grey value.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The pixels of a mask as runs, row by row.
Runs maskRuns(const std::vector<std::uint8_t>& mask, std::int32_t width, std::int32_t height) {
  Runs runs;
  for (std::int32_t r = 0; r < height; ++r) {
    const std::size_t base = static_cast<std::size_t>(r) * static_cast<std::size_t>(width);
    for (std::int32_t c = 0; c < width; ++c) {
      if (!mask[base + static_cast<std::size_t>(c)]) continue;
      std::int32_t end = c;
      while (end + 1 < width && mask[base + static_cast<std::size_t>(end) + 1]) ++end;
      runs.push_back(Run{r, c, end});
      c = end;
    }
  }
  return runs;
}

}  // namespace

void RegiongrowingMean(const HObject& Image, HObject* Regions, const HTuple& StartRows,
                       const HTuple& StartColumns, const HTuple& Tolerance, const HTuple& MinSize) {
  ApiScope scope("RegiongrowingMean");
  const char* op = "regiongrowing_mean";
  if (StartColumns.Length() != StartRows.Length()) fail(op, 1402);
  std::vector<std::pair<Hlong, Hlong>> seeds;
  for (Hlong i = 0; i < StartRows.Length(); ++i) {
    seeds.emplace_back(integerAt(StartRows, i, op, 1), integerAt(StartColumns, i, op, 2));
  }
  const double tolerance = oneNumber(Tolerance, op, 3);
  if (!(tolerance > 0)) fail(op, 1303);
  const Hlong minSize = oneInteger(MinSize, op, 4);
  if (minSize < 0) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesWithChannels(Image, op, 1, {PixelType::Byte, PixelType::Uint2, PixelType::Int4})) {
    const std::int32_t w = image->width, h = image->height;
    const PixelReader read = readerOf(image->type());
    const std::uint8_t* plane = image->pixels(0);
    // 1: in the domain and free, 2: taken by a region.
    std::vector<std::uint8_t> state(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (const Run& run : *image->domain) {
      std::memset(&state[image->offset(run.row, run.begin)], 1,
                  static_cast<std::size_t>(run.end - run.begin + 1));
    }
    const auto grow = [&](std::int32_t row, std::int32_t col) {
      std::vector<std::uint8_t> mask(state.size());
      std::deque<std::size_t> queue{image->offset(row, col)};
      state[queue.front()] = 2;
      mask[queue.front()] = 1;
      double sum = read(plane, queue.front());
      std::int64_t count = 1;
      // Breadth first over 4-neighbours; a pixel refused now is asked again whenever another
      // of its neighbours joins, against the mean of that moment.
      while (!queue.empty()) {
        const std::size_t i = queue.front();
        queue.pop_front();
        const auto r = static_cast<std::int32_t>(i / static_cast<std::size_t>(w));
        const auto c = static_cast<std::int32_t>(i % static_cast<std::size_t>(w));
        const std::int32_t next[4][2] = {{r - 1, c}, {r, c - 1}, {r, c + 1}, {r + 1, c}};
        for (const auto& p : next) {
          if (p[0] < 0 || p[0] >= h || p[1] < 0 || p[1] >= w) continue;
          const std::size_t j = image->offset(p[0], p[1]);
          if (state[j] != 1) continue;
          const double g = read(plane, j);
          if (!(std::fabs(g - sum / double(count)) < tolerance)) continue;
          state[j] = 2;
          mask[j] = 1;
          sum += g;
          ++count;
          queue.push_back(j);
        }
      }
      if (count >= minSize) items.push_back(makeRegion(maskRuns(mask, w, h)));
    };
    if (seeds.empty()) {
      // From the upper leftmost free pixel, then the next free one, until none is left.
      for (std::size_t i = 0; i < state.size(); ++i) {
        if (state[i] != 1) continue;
        grow(static_cast<std::int32_t>(i / static_cast<std::size_t>(w)),
             static_cast<std::int32_t>(i % static_cast<std::size_t>(w)));
      }
    }
    for (const auto& [row, col] : seeds) {
      // A seed outside the domain or in a region already grown starts none.
      if (row < 0 || row >= h || col < 0 || col >= w) continue;
      if (state[image->offset(std::int32_t(row), std::int32_t(col))] != 1) continue;
      grow(std::int32_t(row), std::int32_t(col));
    }
  }
  setOutput(Regions, objectOf(items));
}

void ExpandLine(const HObject& Image, HObject* RegionExpand, const HTuple& Coordinate,
                const HTuple& ExpandType, const HTuple& RowColumn, const HTuple& Threshold) {
  ApiScope scope("ExpandLine");
  const char* op = "expand_line";
  const Hlong coordinate = oneInteger(Coordinate, op, 1);
  if (coordinate < 0) fail(op, 1301);
  const std::string type = oneString(ExpandType, op, 2);
  if (type != "gradient" && type != "mean") fail(op, 1302);
  const std::string along = oneString(RowColumn, op, 3);
  if (along != "row" && along != "column") fail(op, 1303);
  const double threshold = oneNumber(Threshold, op, 4);
  if (!(threshold >= 0 && threshold <= 255)) fail(op, 1304);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const bool rows = along == "row";
    // The line runs along u at v = Coordinate; growth goes along v both ways.
    const std::int32_t uCount = rows ? image->width : image->height;
    const std::int32_t vCount = rows ? image->height : image->width;
    std::vector<std::uint8_t> inside(static_cast<std::size_t>(image->width) *
                                     static_cast<std::size_t>(image->height));
    for (const Run& run : *image->domain) {
      std::memset(&inside[image->offset(run.row, run.begin)], 1,
                  static_cast<std::size_t>(run.end - run.begin + 1));
    }
    const auto index = [&](std::int32_t u, std::int32_t v) {
      return rows ? image->offset(v, u) : image->offset(u, v);
    };
    const std::uint8_t* g = image->pixels(0);
    std::vector<std::uint8_t> mask(inside.size());
    if (coordinate < vCount) {
      const auto v0 = static_cast<std::int32_t>(coordinate);
      double sum = 0;
      std::int64_t count = 0;
      for (std::int32_t u = 0; u < uCount; ++u) {
        if (!inside[index(u, v0)]) continue;
        sum += g[index(u, v0)];
        ++count;
      }
      const double mean = count ? sum / double(count) : 0;
      for (std::int32_t u = 0; u < uCount; ++u) {
        if (!inside[index(u, v0)]) continue;
        mask[index(u, v0)] = 1;
        for (const int step : {-1, 1}) {
          double last = g[index(u, v0)];
          for (std::int32_t v = v0 + step; v >= 0 && v < vCount && inside[index(u, v)]; v += step) {
            const double value = g[index(u, v)];
            if (std::fabs(value - (type == "mean" ? mean : last)) > threshold) break;
            mask[index(u, v)] = 1;
            last = value;
          }
        }
      }
    }
    items.push_back(makeRegion(maskRuns(mask, image->width, image->height)));
  }
  setOutput(RegionExpand, objectOf(items));
}

}  // namespace HalconCpp
