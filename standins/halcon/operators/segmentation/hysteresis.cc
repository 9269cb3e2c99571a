// hysteresis_threshold: secure pixels (at least High) and the potential ones (at least Low)
// that a path of at most MaxLength potential pixels joins to a secure one.
#include <cstdint>
#include <deque>
#include <vector>

#include "core/image.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr std::int32_t kOutside = -2, kRejected = -1;

Runs hysteresisRuns(const ImageObject& image, double low, double high, Hlong maxLength) {
  std::int32_t row1, col1, row2, col2;
  const Runs& domain = *image.domain;
  if (!runsBox(domain, &row1, &col1, &row2, &col2)) return {};
  const std::int32_t width = col2 - col1 + 1, height = row2 - row1 + 1;
  const auto at = [&](std::int32_t r, std::int32_t c) {
    return static_cast<std::size_t>(r - row1) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(c - col1);
  };
  // Each pixel of the box: outside the domain or below Low, or the number of potential
  // pixels on the shortest path from a secure one (0 for a secure pixel itself).
  std::vector<std::int32_t> steps(static_cast<std::size_t>(width) * height, kOutside);
  const PixelReader read = readerOf(image.type());
  const std::uint8_t* pixels = image.pixels(0);
  std::deque<std::pair<std::int32_t, std::int32_t>> queue;
  for (const Run& run : domain) {
    for (std::int32_t c = run.begin; c <= run.end; ++c) {
      const double value = read(pixels, static_cast<std::size_t>(image.offset(run.row, c)));
      std::int32_t& s = steps[at(run.row, c)];
      if (value >= high) {
        s = 0;
        queue.emplace_back(run.row, c);
      } else {
        s = value >= low ? kRejected : kOutside;
      }
    }
  }
  // Breadth first through the 8-neighbourhood: the first visit is the shortest path.
  while (!queue.empty()) {
    const auto [r, c] = queue.front();
    queue.pop_front();
    const std::int32_t next = steps[at(r, c)] + 1;
    if (next > maxLength) continue;
    for (std::int32_t dr = -1; dr <= 1; ++dr) {
      for (std::int32_t dc = -1; dc <= 1; ++dc) {
        const std::int32_t nr = r + dr, nc = c + dc;
        if (nr < row1 || nr > row2 || nc < col1 || nc > col2) continue;
        std::int32_t& s = steps[at(nr, nc)];
        if (s != kRejected) continue;
        s = next;
        queue.emplace_back(nr, nc);
      }
    }
  }
  Runs runs;
  for (std::int32_t r = row1; r <= row2; ++r) {
    for (std::int32_t c = col1; c <= col2;) {
      if (steps[at(r, c)] < 0) {
        ++c;
        continue;
      }
      const std::int32_t begin = c;
      while (c <= col2 && steps[at(r, c)] >= 0) ++c;
      runs.push_back(Run{r, begin, c - 1});
    }
  }
  return runs;
}

}  // namespace

void HysteresisThreshold(const HObject& Image, HObject* RegionHysteresis, const HTuple& Low,
                         const HTuple& High, const HTuple& MaxLength) {
  ApiScope scope("HysteresisThreshold");
  const char* op = "hysteresis_threshold";
  const double low = oneNumber(Low, op, 1), high = oneNumber(High, op, 2);
  const Hlong maxLength = oneInteger(MaxLength, op, 3);
  if (maxLength < 0) fail(op, 1303);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image :
       imagesOf(Image, op, 1, PixelTypes{PixelType::Byte, PixelType::Uint2})) {
    if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
    // At most one pass through the box, which the image's size already bounds.
    items.push_back(makeRegion(hysteresisRuns(*image, low, high, maxLength)));
  }
  setOutput(RegionHysteresis, objectOf(items));
}

}  // namespace HalconCpp
