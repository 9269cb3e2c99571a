// The smoothing filters that choose which grey values of a window to average (mean_sp,
// eliminate_sp, sigma_image), the rank and mean across an image's channels (rank_n, mean_n),
// and the binary rank filter of regions (rank_region).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "core/region.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/filter_images.h"
#include "operators/filters/rank_filters.h"
#include "operators/filters/typed_rank.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

std::uint8_t roundedMean(std::uint64_t sum, std::uint64_t count) {
  return static_cast<std::uint8_t>((sum + count / 2) / count);
}

// The mean of the window's grey values in [low, high], rounded; none: the pixel's own. The
// values outside are taken from the window's sum, as the range usually covers most grey values.
std::uint8_t meanWithin(const Window& window, Hlong low, Hlong high) {
  std::uint64_t sum = window.sum, count = window.count;
  const auto leaveOut = [&](Hlong g) {
    sum -= std::uint64_t(g) * window.histogram[g];
    count -= window.histogram[g];
  };
  for (Hlong g = 0; g < low; ++g) leaveOut(g);
  for (Hlong g = high + 1; g < 256; ++g) leaveOut(g);
  return count == 0 ? window.centre : roundedMean(sum, count);
}

// The number and sum of a window's grey values below g (0 ... 256): whole bands of 16, then
// single grey values.
void below(const Window& window, int g, std::uint64_t* count, std::uint64_t* sum) {
  *count = 0;
  *sum = 0;
  for (int band = 0; band < g / 16; ++band) {
    *count += window.bands[band];
    *sum += window.bandSums[band];
  }
  for (int v = g / 16 * 16; v < g; ++v) {
    *count += window.histogram[v];
    *sum += std::uint64_t(v) * window.histogram[v];
  }
}

// mean_sp and eliminate_sp: a rectangle of odd sides (even ones grow) and a grey-value range.
void saltAndPepper(const HObject& Image, HObject* Out, const HTuple& MaskWidth,
                   const HTuple& MaskHeight, const HTuple& MinThresh, const HTuple& MaxThresh,
                   bool outsideOnly, const char* op) {
  const std::int32_t w = rankSide(MaskWidth, op, 1, 3, true);
  const std::int32_t h = rankSide(MaskHeight, op, 2, 3, true);
  const Hlong low = oneInteger(MinThresh, op, 3), high = oneInteger(MaxThresh, op, 4);
  if (low < 0 || low > 255) fail(op, 1303);
  if (high < 0 || high > 255 || high < low) fail(op, 1304);
  const Runs mask = rectangleRuns(-(h / 2), -(w / 2), h / 2, w / 2);
  const WindowPick pick = [&](const Window& window) {
    if (outsideOnly && window.centre >= low && window.centre <= high) return window.centre;
    return meanWithin(window, low, high);
  };
  setOutput(Out, filterExtents(Image, op,
                               [&](const std::uint8_t* in, PlaneSize size, const Extent& extent,
                                   std::uint8_t* out) {
                                 windowPlane(in, size, extent, mask, Margin{}, pick, out);
                               }));
}

}  // namespace

void MeanSp(const HObject& Image, HObject* ImageSPMean, const HTuple& MaskWidth,
            const HTuple& MaskHeight, const HTuple& MinThresh, const HTuple& MaxThresh) {
  ApiScope scope("MeanSp");
  saltAndPepper(Image, ImageSPMean, MaskWidth, MaskHeight, MinThresh, MaxThresh, false, "mean_sp");
}

void EliminateSp(const HObject& Image, HObject* ImageFillSP, const HTuple& MaskWidth,
                 const HTuple& MaskHeight, const HTuple& MinThresh, const HTuple& MaxThresh) {
  ApiScope scope("EliminateSp");
  saltAndPepper(Image, ImageFillSP, MaskWidth, MaskHeight, MinThresh, MaxThresh, true,
                "eliminate_sp");
}

void SigmaImage(const HObject& Image, HObject* ImageSigma, const HTuple& MaskHeight,
                const HTuple& MaskWidth, const HTuple& Sigma) {
  ApiScope scope("SigmaImage");
  const char* op = "sigma_image";
  const std::int32_t h = rankSide(MaskHeight, op, 1, 3, true);
  const std::int32_t w = rankSide(MaskWidth, op, 2, 3, true);
  const Hlong sigma = oneInteger(Sigma, op, 3);
  if (sigma < 0) fail(op, 1303);
  const Runs mask = rectangleRuns(-(h / 2), -(w / 2), h / 2, w / 2);
  // The window's standard deviation s (over all its pixels); the mean of those that differ
  // from the pixel by less than Sigma s, rounded; none: the pixel's own.
  const WindowPick pick = [&](const Window& window) {
    const double n = double(window.count), mean = double(window.sum) / n;
    const double limit =
        double(sigma) * std::sqrt(std::max(0.0, double(window.squares) / n - mean * mean));
    // Whole differences d < limit: d <= ceil(limit) - 1.
    const int reach = static_cast<int>(std::ceil(std::min(limit, 256.0))) - 1;
    const int centre = window.centre;
    std::uint64_t chosen = 0, total = 0;
    if (reach >= 0) {
      std::uint64_t count0 = 0, sum0 = 0;
      below(window, std::max(0, centre - reach), &count0, &sum0);
      below(window, std::min(255, centre + reach) + 1, &chosen, &total);
      chosen -= count0;
      total -= sum0;
    }
    return chosen == 0 ? window.centre : roundedMean(total, chosen);
  };
  setOutput(ImageSigma, filterExtents(Image, op,
                                      [&](const std::uint8_t* in, PlaneSize size,
                                          const Extent& extent, std::uint8_t* out) {
                                        windowPlane(in, size, extent, mask, Margin{}, pick, out);
                                      }));
}

namespace {

// The grey value of rank `rank` (0: the least) in a histogram.
std::uint8_t greyOfRank(const std::uint32_t* histogram, std::uint64_t rank) {
  std::uint64_t below = 0;
  int g = 0;
  while (below + histogram[g] <= rank) below += histogram[g++];
  return static_cast<std::uint8_t>(g);
}

// eliminate_min_max on one plane: the window clipped at the image's edges, its histogram slid
// along each row a column at a time.
void eliminateMinMaxPlane(const std::uint8_t* src, PlaneSize size, const Extent& extent,
                          std::int32_t rw, std::int32_t rh, double gap, Hlong mode,
                          std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t x0 = extent.begin[std::size_t(y)], x1 = extent.end[std::size_t(y)];
    if (x0 > x1) continue;
    const std::int32_t r0 = std::max(0, y - rh), r1 = std::min(h - 1, y + rh);
    std::uint32_t histogram[256] = {};
    const auto column = [&](std::int32_t c, int by) {
      if (c < 0 || c >= w) return;
      for (std::int32_t r = r0; r <= r1; ++r) {
        histogram[src[std::size_t(r) * std::size_t(w) + std::size_t(c)]] += std::uint32_t(by);
      }
    };
    for (std::int32_t c = x0 - rw; c <= x0 + rw; ++c) column(c, 1);
    for (std::int32_t x = x0;; ++x) {
      const std::size_t i = std::size_t(y) * std::size_t(w) + std::size_t(x);
      const std::uint8_t g = src[i];
      // The neighbours without the pixel itself.
      --histogram[g];
      int low = 0, high = 255;
      while (low < 256 && histogram[low] == 0) ++low;
      while (high >= 0 && histogram[high] == 0) --high;
      ++histogram[g];
      std::uint8_t out = g;
      const bool maximum = low < 256 && g >= gap + high;
      if (low < 256 && (maximum || g + gap <= low)) {
        std::uint64_t count = 0, sum = 0;
        for (int v = 0; v < 256; ++v) {
          count += histogram[v];
          sum += std::uint64_t(v) * histogram[v];
        }
        if (mode == 1) {
          out = static_cast<std::uint8_t>(maximum ? high : low);
        } else if (mode == 2) {
          out = roundedMean(sum, count);
        } else {
          out = greyOfRank(histogram, (count - 1) / 2);
        }
      }
      dst[i] = out;
      if (x == x1) break;
      column(x - rw, -1);
      column(x + 1 + rw, 1);
    }
  }
}

}  // namespace

void EliminateMinMax(const HObject& Image, HObject* FilteredImage, const HTuple& MaskWidth,
                     const HTuple& MaskHeight, const HTuple& Gap, const HTuple& Mode) {
  ApiScope scope("EliminateMinMax");
  const char* op = "eliminate_min_max";
  const std::int32_t w = rankSide(MaskWidth, op, 1, 1, true);
  const std::int32_t h = rankSide(MaskHeight, op, 2, 1, true);
  const double gap = oneNumber(Gap, op, 3);
  if (!std::isfinite(gap)) fail(op, 1303);
  const Hlong mode = oneInteger(Mode, op, 4);
  setOutput(FilteredImage, filterExtents(Image, op,
                                         [&](const std::uint8_t* in, PlaneSize size,
                                             const Extent& extent, std::uint8_t* out) {
                                           eliminateMinMaxPlane(in, size, extent, w / 2, h / 2, gap,
                                                                mode, out);
                                         }));
}

namespace {

// One channel from all of an image's channels at each pixel of its domain.
template <typename Combine>
HObject acrossChannels(const HObject& Image, const char* op, Combine&& combine) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    ImagePtr result = imageLike(image, 1, op);
    const PlaneSize size{image->width, image->height};
    const Extent extent = extentOf(*image->domain, size);
    std::vector<std::uint8_t> values(image->channels.size());
    for (std::int32_t y = 0; y < size.height; ++y) {
      const std::size_t row = std::size_t(y) * std::size_t(size.width);
      for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
        for (std::size_t c = 0; c < values.size(); ++c) {
          values[c] = image->pixels(c)[row + std::size_t(x)];
        }
        result->pixels(0)[row + std::size_t(x)] = combine(values);
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

}  // namespace

void MeanN(const HObject& Image, HObject* ImageMean) {
  ApiScope scope("MeanN");
  setOutput(ImageMean, acrossChannels(Image, "mean_n", [](const std::vector<std::uint8_t>& v) {
              std::uint64_t sum = 0;
              for (const std::uint8_t g : v) sum += g;
              return roundedMean(sum, v.size());
            }));
}

void RankN(const HObject& Image, HObject* RankImage, const HTuple& RankIndex) {
  ApiScope scope("RankN");
  const char* op = "rank_n";
  const Hlong rank = oneInteger(RankIndex, op, 1);
  if (rank < 1) fail(op, 1301);
  // A rank beyond the channels of an image raises as one below 1 does.
  const auto pick = [&](auto& v) {
    if (rank > Hlong(v.size())) fail(op, 1301);
    const auto at = v.begin() + std::ptrdiff_t(rank - 1);
    // NaN sorts after every number, which keeps the order strict.
    std::nth_element(v.begin(), at, v.end(),
                     [](auto a, auto b) { return b != b ? a == a : a < b; });
    return *at;
  };
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kRankTypes)) {
    if (image->type() == PixelType::Byte) {
      items.push_back(acrossChannels(objectOf({image}), op, pick).Items().front());
      continue;
    }
    ImagePtr result = imageLike(image, 1, op, image->type());
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(image->type());
    std::vector<double> values(image->channels.size());
    for (const Run& run : *image->domain) {
      for (std::int32_t x = run.begin; x <= run.end; ++x) {
        const std::size_t at = image->offset(run.row, x);
        for (std::size_t c = 0; c < values.size(); ++c) values[c] = read(image->pixels(c), at);
        write(result->pixels(0), at, pick(values));
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(RankImage, objectOf(items));
}

namespace {

// The pixels of a region with at least `number` of its pixels in the width x height rectangle
// about them. Row by row: the region's pixels in each column of the band of rows about the
// row, kept as runs enter and leave the band, then summed along the row.
Runs rankRegionRuns(const Runs& runs, std::int32_t width, std::int32_t height, Hlong number,
                    const char* op) {
  std::int32_t r0 = 0, c0 = 0, r1 = 0, c1 = 0;
  if (!runsBox(runs, &r0, &c0, &r1, &c1)) return {};
  const auto span = static_cast<std::size_t>(std::int64_t(c1) - c0 + 1);
  const PixelReservation held(span * (sizeof(std::int32_t) + sizeof(std::int64_t)), op);
  std::vector<std::int32_t> column(span, 0);
  std::vector<std::int64_t> before(span + 1, 0);
  const auto change = [&](const Run& run, std::int32_t by) {
    for (std::int32_t x = run.begin; x <= run.end; ++x) column[std::size_t(x - c0)] += by;
  };
  const std::int64_t rw = width / 2, rh = height / 2;
  std::size_t entered = 0, left = 0;
  Runs result;
  for (std::size_t i = 0; i < runs.size();) {
    const std::int32_t y = runs[i].row;
    while (entered < runs.size() && runs[entered].row <= y + rh) change(runs[entered++], 1);
    while (runs[left].row < y - rh) change(runs[left++], -1);
    for (std::size_t x = 0; x < span; ++x) before[x + 1] = before[x] + column[x];
    for (; i < runs.size() && runs[i].row == y; ++i) {
      for (std::int32_t x = runs[i].begin; x <= runs[i].end; ++x) {
        const std::int64_t a = std::max<std::int64_t>(x - rw, c0) - c0;
        const std::int64_t b = std::min<std::int64_t>(x + rw, c1) - c0 + 1;
        if (before[std::size_t(b)] - before[std::size_t(a)] < number) continue;
        if (!result.empty() && result.back().row == y && result.back().end == x - 1) {
          result.back().end = x;
        } else {
          result.push_back({y, x, x});
        }
      }
    }
  }
  return result;
}

}  // namespace

void RankRegion(const HObject& Region, HObject* RegionCount, const HTuple& Width,
                const HTuple& Height, const HTuple& Number) {
  ApiScope scope("RankRegion");
  const char* op = "rank_region";
  // Sides below 3 or even become the next odd side of 3 or more, without an error.
  const auto side = [&](const HTuple& value, int n) {
    Hlong s = std::max<Hlong>(3, oneInteger(value, op, n));
    if (s % 2 == 0) ++s;
    return static_cast<std::int32_t>(std::min<Hlong>(s, 2 * Hlong(INT32_MAX / 4) + 1));
  };
  const std::int32_t width = side(Width, 1), height = side(Height, 2);
  const Hlong number = oneInteger(Number, op, 3);
  if (number < 1) fail(op, 1303);
  std::vector<HObject::Item> items;
  for (const Runs* runs : regionsOf(Region, op, 1)) {
    items.push_back(makeRegion(rankRegionRuns(normalizeRuns(*runs), width, height, number, op)));
  }
  setOutput(RegionCount, objectOf(items));
}

}  // namespace HalconCpp
