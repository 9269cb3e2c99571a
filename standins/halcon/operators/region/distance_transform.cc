// distance_transform and label_to_region (HALCON 11.0 reference, chapters "Regions /
// Transformations" and "Regions / Creation"): regions to an image of distances, and
// a label image back to regions.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/image.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsRegion.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr std::uint32_t kFar = 0xffffffffu;

// The 3 x 3 chamfer distances in two raster passes, exact for weights `straight` along the
// axes and `diagonal` across: 1/1 chessboard, 1/2 city-block, 3/4 the chamfer.
void chamfer(std::vector<std::uint32_t>& d, std::int32_t w, std::int32_t h, std::uint32_t straight,
             std::uint32_t diagonal) {
  auto relax = [&](std::size_t at, std::int32_t r, std::int32_t c, std::uint32_t step) {
    if (r < 0 || r >= h || c < 0 || c >= w) return;
    const std::uint32_t from = d[std::size_t(r) * std::size_t(w) + std::size_t(c)];
    if (from != kFar && from + step < d[at]) d[at] = from + step;
  };
  for (std::int32_t r = 0; r < h; ++r) {
    for (std::int32_t c = 0; c < w; ++c) {
      const std::size_t at = std::size_t(r) * std::size_t(w) + std::size_t(c);
      relax(at, r - 1, c - 1, diagonal), relax(at, r - 1, c, straight);
      relax(at, r - 1, c + 1, diagonal), relax(at, r, c - 1, straight);
    }
  }
  for (std::int32_t r = h - 1; r >= 0; --r) {
    for (std::int32_t c = w - 1; c >= 0; --c) {
      const std::size_t at = std::size_t(r) * std::size_t(w) + std::size_t(c);
      relax(at, r + 1, c + 1, diagonal), relax(at, r + 1, c, straight);
      relax(at, r + 1, c - 1, diagonal), relax(at, r, c + 1, straight);
    }
  }
}

// Octagonal: layer k around the targets grows by the 4-neighbours for odd k and the
// 8-neighbours for even k, alternating city-block and chessboard steps.
void octagonal(std::vector<std::uint32_t>& d, std::int32_t w, std::int32_t h) {
  std::vector<std::size_t> layer;
  for (std::size_t i = 0; i < d.size(); ++i) {
    if (d[i] == 0) layer.push_back(i);
  }
  for (std::uint32_t k = 1; !layer.empty(); ++k) {
    std::vector<std::size_t> next;
    for (const std::size_t at : layer) {
      const auto r = std::int32_t(at / std::size_t(w)), c = std::int32_t(at % std::size_t(w));
      for (std::int32_t dr = -1; dr <= 1; ++dr) {
        for (std::int32_t dc = -1; dc <= 1; ++dc) {
          if ((dr != 0 && dc != 0 && k % 2 == 1) || r + dr < 0 || r + dr >= h || c + dc < 0 ||
              c + dc >= w) {
            continue;
          }
          const std::size_t to = std::size_t(r + dr) * std::size_t(w) + std::size_t(c + dc);
          if (d[to] == kFar) d[to] = k, next.push_back(to);
        }
      }
    }
    layer.swap(next);
  }
}

// Squared Euclidean distances (Meijster's two passes): down the columns, then the lower
// envelope of parabolas along each row.
void euclidean(std::vector<std::uint32_t>& d, std::int32_t w, std::int32_t h) {
  const std::uint64_t far = std::uint64_t(w) + std::uint64_t(h);
  std::vector<std::uint64_t> g(d.size());
  for (std::int32_t c = 0; c < w; ++c) {
    std::uint64_t run = far;
    for (std::int32_t r = 0; r < h; ++r) {
      const std::size_t at = std::size_t(r) * std::size_t(w) + std::size_t(c);
      run = d[at] == 0 ? 0 : std::min(far, run + 1);
      g[at] = run;
    }
    for (std::int32_t r = h - 2; r >= 0; --r) {
      const std::size_t at = std::size_t(r) * std::size_t(w) + std::size_t(c);
      g[at] = std::min(g[at], g[at + std::size_t(w)] + 1);
    }
  }
  std::vector<std::int64_t> s(std::size_t(w) + 1), t(std::size_t(w) + 1);
  for (std::int32_t r = 0; r < h; ++r) {
    const std::uint64_t* row = g.data() + std::size_t(r) * std::size_t(w);
    auto f = [&](std::int64_t x, std::int64_t i) {
      return (x - i) * (x - i) + std::int64_t(row[i] * row[i]);
    };
    // Where u's parabola starts to lie below i's, rounded down (u > i).
    auto sep = [&](std::int64_t i, std::int64_t u) {
      const std::int64_t num =
          u * u - i * i + std::int64_t(row[u] * row[u]) - std::int64_t(row[i] * row[i]);
      const std::int64_t den = 2 * (u - i);
      return num / den - (num % den != 0 && num < 0 ? 1 : 0);
    };
    std::int64_t q = 0;
    s[0] = 0, t[0] = 0;
    for (std::int64_t u = 1; u < w; ++u) {
      while (q >= 0 && f(t[q], s[q]) > f(t[q], u)) --q;
      if (q < 0) {
        q = 0, s[0] = u;
      } else {
        const std::int64_t x = 1 + sep(s[q], u);
        if (x < w) ++q, s[q] = u, t[q] = x;
      }
    }
    for (std::int64_t u = w - 1; u >= 0; --u) {
      const std::int64_t v = f(u, s[q]);
      d[std::size_t(r) * std::size_t(w) + std::size_t(u)] =
          v >= std::int64_t(kFar) ? kFar - 1 : std::uint32_t(v);
      if (u == t[q]) --q;
    }
  }
}

}  // namespace

// Each pixel of the measured kind gets its distance to the nearest pixel of the other kind
// within the image: inside the region for 'true', outside it for 'false'. The others are 0,
// and so are all when one kind has no pixel.
void DistanceTransform(const HObject& Region, HObject* DistanceImage, const HTuple& Metric,
                       const HTuple& Foreground, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("DistanceTransform");
  const char* op = "distance_transform";
  const std::string metric = oneString(Metric, op, 1);
  const std::string foreground = oneString(Foreground, op, 2);
  const Hlong width = oneInteger(Width, op, 3), height = oneInteger(Height, op, 4);
  static const char* const kMetrics[] = {
      "city-block", "chessboard", "octagonal", "chamfer-3-4", "chamfer-3-4-unnormalized",
      "euclidean"};
  if (std::find_if(std::begin(kMetrics), std::end(kMetrics),
                   [&](const char* m) { return metric == m; }) == std::end(kMetrics)) {
    fail(op, 1301);
  }
  if (foreground != "true" && foreground != "false") fail(op, 1302);
  if (width < 1 || width > kMaxImageSide) fail(op, 1303);
  if (height < 1 || height > kMaxImageSide) fail(op, 1304);
  const auto w = static_cast<std::int32_t>(width), h = static_cast<std::int32_t>(height);
  const bool real = metric == "chamfer-3-4" || metric == "euclidean";
  std::vector<HObject::Item> images;
  for (const Runs* region : regionsOf(Region, op, 1)) {
    ImagePtr image = newImage(w, h, 1, op, real ? PixelType::Real : PixelType::Int4);
    // The working planes, 4 bytes a pixel and 8 more for the Euclidean columns, charged first.
    const std::uint64_t pixels = std::uint64_t(w) * std::uint64_t(h);
    const PixelReservation working(pixels * (metric == "euclidean" ? 12 : 4), op);
    const bool inside = foreground == "true";
    // Targets (0) are the pixels of the other kind; the measured ones start far.
    std::vector<std::uint32_t> d(std::size_t(w) * std::size_t(h), inside ? 0 : kFar);
    const Runs clipped = clipRuns(*region, h, w);
    for (const Run& run : clipped) {
      std::fill_n(d.begin() + std::ptrdiff_t(image->offset(run.row, run.begin)),
                  run.end - run.begin + 1, inside ? kFar : 0);
    }
    const std::int64_t area = runsArea(clipped);
    const bool measurable = area > 0 && area < std::int64_t(w) * h;
    if (measurable) {
      if (metric == "city-block") chamfer(d, w, h, 1, 2);
      if (metric == "chessboard") chamfer(d, w, h, 1, 1);
      if (metric.rfind("chamfer", 0) == 0) chamfer(d, w, h, 3, 4);
      if (metric == "octagonal") octagonal(d, w, h);
      if (metric == "euclidean") euclidean(d, w, h);
    }
    const PixelWriter write = writerOf(image->type());
    for (std::size_t i = 0; i < d.size(); ++i) {
      double value = !measurable || d[i] == kFar ? 0 : double(d[i]);
      if (metric == "chamfer-3-4") value /= 3;
      if (metric == "euclidean") value = std::sqrt(value);
      write(image->pixels(0), i, value);
    }
    images.push_back(image);
  }
  setOutput(DistanceImage, objectOf(images));
}

// One region per grey value found in the domain, ascending, 0 included; never connected.
void LabelToRegion(const HObject& LabelImage, HObject* Regions) {
  ApiScope scope("LabelToRegion");
  const char* op = "label_to_region";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesOf(LabelImage, op, 1,
                                        {PixelType::Byte, PixelType::Int1, PixelType::Int2,
                                         PixelType::Uint2, PixelType::Int4})) {
    const PixelReader read = readerOf(image->type());
    std::map<double, Runs> byValue;
    for (const Run& run : *image->domain) {
      const std::size_t at = image->offset(run.row, run.begin);
      for (std::int32_t c = 0; c <= run.end - run.begin;) {
        const double value = read(image->pixels(0), at + std::size_t(c));
        std::int32_t e = c;
        while (e < run.end - run.begin &&
               read(image->pixels(0), at + std::size_t(e) + 1) == value) {
          ++e;
        }
        byValue[value].push_back(Run{run.row, run.begin + c, run.begin + e});
        c = e + 1;
      }
    }
    for (auto& [value, runs] : byValue) items.push_back(makeRegion(normalizeRuns(std::move(runs))));
  }
  setOutput(Regions, objectOf(items));
}

}  // namespace HalconCpp
