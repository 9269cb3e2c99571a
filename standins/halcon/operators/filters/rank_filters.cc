// The rank filters of byte images: a grey value of given rank among a mask's pixels about each
// pixel (rectangles, circles, any region, the weighted 3 x 3 masks, rows then columns), and
// the trimmed mean. All share median_image's running histograms (image_median.cc).
#include "operators/filters/rank_filters.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsFilters.h"
#include "operators/filters/filter_images.h"
#include "operators/filters/typed_rank.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

Margin marginOf(const HTuple& value, const char* op, int n) {
  return byteMargin(typedMarginOf(value, op, n), op, n);
}

std::int32_t rankSide(const HTuple& value, const char* op, int n, Hlong least, bool growEven) {
  Hlong side = oneInteger(value, op, n);
  if (side % 2 == 0 && growEven) ++side;
  if (side < least || side > kLargestRankSide || side % 2 == 0) fail(op, 1300 + n);
  return static_cast<std::int32_t>(side);
}

}  // namespace Standin

using namespace Standin;

namespace {

Runs centredRectangle(std::int32_t width, std::int32_t height) {
  return rectangleRuns(-(height / 2), -(width / 2), height / 2, width / 2);
}

// The working rows of the running histogram over a mask that may be any region: a charge on
// the pixel bound first, so that a huge mask fails with 6001 instead of exhausting memory.
PixelReservation reserveWindow(const Runs& mask, PlaneSize size, const char* op) {
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
  runsBox(mask, &top, &left, &bottom, &right);
  const std::int64_t reach = std::max<std::int64_t>(std::max(-top, bottom), std::max(-left, right));
  const auto rows = static_cast<std::uint64_t>(2 * reach + 1);
  const auto stride = static_cast<std::uint64_t>(size.width + 2 * reach + 32);
  const auto area = static_cast<std::uint64_t>(runsArea(mask));
  return PixelReservation(rows * stride + area * 2 * sizeof(void*), op);
}

// The rank filters' images of every type: byte planes through the running histograms,
// the others through typed_rank.h; `marginN` names the Margin parameter a byte image checks.
HObject rankImages(const HObject& Image, const Runs& mask, const TypedMargin& margin,
                   std::size_t rank, const char* op, int marginN) {
  return rankFilterImages(
      Image, op,
      [&](const std::uint8_t* in, PlaneSize size, const Extent& extent, std::uint8_t* out) {
        const PixelReservation held = reserveWindow(mask, size, op);
        rankPlane(in, size, extent, mask, byteMargin(margin, op, marginN), rank, out);
      },
      [&](const double* in, PlaneSize size, const Extent& extent, double* out) {
        rankDoubles(in, size, extent, mask, margin, rank, out, op);
      });
}

// The circle or square of median_image's masks.
Runs maskOfType(const HTuple& MaskType, const HTuple& Radius, const char* op) {
  const std::string type = oneString(MaskType, op, 1);
  const double radius = oneNumber(Radius, op, 2);
  if (type != "circle" && type != "square") fail(op, 1301);
  if (!(radius >= 1 && radius <= 255)) fail(op, 1302);
  const auto r = static_cast<std::int32_t>(radius);
  return type == "square" ? rectangleRuns(-r, -r, r, r) : circleRuns(0, 0, radius);
}

// A region as a mask: offsets from its centre of gravity, rounded to the nearest pixel.
Runs maskOfRegion(const HObject& Mask, const char* op) {
  const std::vector<const Runs*> masks = regionsOf(Mask, op, 2);
  if (masks.size() != 1) fail(op, 1502);
  double row = 0, col = 0;
  runsCenter(*masks[0], &row, &col);
  const auto dr = static_cast<std::int32_t>(std::floor(row + 0.5));
  const auto dc = static_cast<std::int32_t>(std::floor(col + 0.5));
  Runs mask;
  for (const Run& run : *masks[0]) mask.push_back({run.row - dr, run.begin - dc, run.end - dc});
  return mask;
}

// A percentage of the ranks 0 ... area - 1, rounded down: 0 the least, 100 the greatest.
std::size_t rankOfPercent(Hlong percent, std::int64_t area) {
  return static_cast<std::size_t>(percent * (area - 1) / 100);
}

}  // namespace

void MedianRect(const HObject& Image, HObject* ImageMedian, const HTuple& MaskWidth,
                const HTuple& MaskHeight) {
  ApiScope scope("MedianRect");
  const char* op = "median_rect";
  const std::int32_t w = rankSide(MaskWidth, op, 1, 1, false);
  const std::int32_t h = rankSide(MaskHeight, op, 2, 1, false);
  // Rank (w h - 1) / 2 + 1 counted from 1.
  const auto rank = static_cast<std::size_t>((std::int64_t(w) * h - 1) / 2);
  setOutput(ImageMedian, rankImages(Image, centredRectangle(w, h), TypedMargin{}, rank, op, 0));
}

void RankRect(const HObject& Image, HObject* ImageRank, const HTuple& MaskWidth,
              const HTuple& MaskHeight, const HTuple& Rank) {
  ApiScope scope("RankRect");
  const char* op = "rank_rect";
  const std::int32_t w = rankSide(MaskWidth, op, 1, 1, false);
  const std::int32_t h = rankSide(MaskHeight, op, 2, 1, false);
  const Hlong rank = oneInteger(Rank, op, 3);
  if (rank < 1 || rank > Hlong(w) * h) fail(op, 1303);
  setOutput(ImageRank, rankImages(Image, centredRectangle(w, h), TypedMargin{},
                                  static_cast<std::size_t>(rank - 1), op, 0));
}

void RankImage(const HObject& Image, const HObject& Mask, HObject* ImageRank, const HTuple& Rank,
               const HTuple& Margin) {
  ApiScope scope("RankImage");
  const char* op = "rank_image";
  const Runs mask = maskOfRegion(Mask, op);
  const Hlong rank = oneInteger(Rank, op, 1);
  if (rank < 1 || rank > runsArea(mask)) fail(op, 1301);
  const TypedMargin margin = typedMarginOf(Margin, op, 2);
  setOutput(ImageRank, rankImages(Image, mask, margin, static_cast<std::size_t>(rank - 1), op, 2));
}

void DualRank(const HObject& Image, HObject* ImageRank, const HTuple& MaskType,
              const HTuple& Radius, const HTuple& ModePercent, const HTuple& Margin) {
  ApiScope scope("DualRank");
  const char* op = "dual_rank";
  const Runs mask = maskOfType(MaskType, Radius, op);
  const Hlong percent = oneInteger(ModePercent, op, 3);
  if (percent < 0 || percent > 100) fail(op, 1303);
  const TypedMargin margin = typedMarginOf(Margin, op, 4);
  const std::int64_t area = runsArea(mask);
  const std::size_t low = rankOfPercent(percent, area), high = rankOfPercent(100 - percent, area);
  setOutput(
      ImageRank,
      rankFilterImages(
          Image, op,
          [&](const std::uint8_t* in, PlaneSize size, const Extent& extent, std::uint8_t* out) {
            // The second filter reads the first beyond the domain's extent.
            const Standin::Margin bytes = byteMargin(margin, op, 4);
            std::vector<std::uint8_t> first(std::size_t(size.width) * std::size_t(size.height));
            rankPlane(in, size, fullExtent(size), mask, bytes, low, first.data());
            rankPlane(first.data(), size, extent, mask, bytes, high, out);
          },
          [&](const double* in, PlaneSize size, const Extent& extent, double* out) {
            std::vector<double> first(std::size_t(size.width) * std::size_t(size.height));
            rankDoubles(in, size, fullExtent(size), mask, margin, low, first.data(), op);
            rankDoubles(first.data(), size, extent, mask, margin, high, out, op);
          }));
}

void TrimmedMean(const HObject& Image, const HObject& Mask, HObject* ImageTMean,
                 const HTuple& Number, const HTuple& Margin) {
  ApiScope scope("TrimmedMean");
  const char* op = "trimmed_mean";
  const Runs mask = maskOfRegion(Mask, op);
  const std::int64_t area = runsArea(mask);
  const Hlong number = oneInteger(Number, op, 1);
  if (number < 1 || number > area) fail(op, 1301);
  const Standin::Margin margin = marginOf(Margin, op, 2);
  // (area - Number) / 2 values left out below, the next Number averaged, rounded.
  const auto skip = static_cast<std::uint64_t>((area - number) / 2);
  const auto count = static_cast<std::uint64_t>(number);
  const WindowPick pick = [&](const Window& window) {
    const std::uint64_t sum = sumOfLeast(window, skip + count) - sumOfLeast(window, skip);
    return static_cast<std::uint8_t>((sum + count / 2) / count);
  };
  setOutput(ImageTMean, filterExtents(Image, op,
                                      [&](const std::uint8_t* in, PlaneSize size,
                                          const Extent& extent, std::uint8_t* out) {
                                        const PixelReservation held = reserveWindow(mask, size, op);
                                        windowPlane(in, size, extent, mask, margin, pick, out);
                                      }));
}

void MedianWeighted(const HObject& Image, HObject* ImageWMedian, const HTuple& MaskType,
                    const HTuple& MaskSize) {
  ApiScope scope("MedianWeighted");
  const char* op = "median_weighted";
  const std::string type = oneString(MaskType, op, 1);
  // Each pixel of the 3 x 3 mask counts as often as its weight.
  static constexpr int kGauss[9] = {1, 2, 1, 2, 4, 2, 1, 2, 1};
  static constexpr int kInner[9] = {1, 1, 1, 1, 3, 1, 1, 1, 1};
  if (type != "gauss" && type != "inner") fail(op, 1301);
  if (oneInteger(MaskSize, op, 2) != 3) fail(op, 1302);
  const int* weights = type == "gauss" ? kGauss : kInner;
  int total = 0;
  for (int i = 0; i < 9; ++i) total += weights[i];
  const auto middle = static_cast<std::size_t>((total - 1) / 2);
  const auto plane = [&](const auto* in, PlaneSize size, const Extent& extent, auto* out) {
    using Grey = std::remove_const_t<std::remove_pointer_t<decltype(in)>>;
    std::vector<Grey> values;
    for (std::int32_t y = 0; y < size.height; ++y) {
      const std::size_t row = std::size_t(y) * std::size_t(size.width);
      for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
        values.clear();
        for (int i = 0; i < 9; ++i) {
          const std::int32_t r = mirroredIndex(y + i / 3 - 1, size.height);
          const std::int32_t c = mirroredIndex(x + i % 3 - 1, size.width);
          values.insert(values.end(), std::size_t(weights[i]),
                        in[std::size_t(r) * std::size_t(size.width) + std::size_t(c)]);
        }
        // NaN sorts after every number, which keeps the order strict.
        std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(middle), values.end(),
                         [](Grey a, Grey b) { return b != b ? a == a : a < b; });
        out[row + std::size_t(x)] = values[middle];
      }
    }
  };
  setOutput(ImageWMedian, rankFilterImages(Image, op, plane, plane));
}

void MedianSeparate(const HObject& Image, HObject* ImageSMedian, const HTuple& MaskWidth,
                    const HTuple& MaskHeight, const HTuple& Margin) {
  ApiScope scope("MedianSeparate");
  const char* op = "median_separate";
  const std::int32_t w = rankSide(MaskWidth, op, 1, 1, true);
  const std::int32_t h = rankSide(MaskHeight, op, 2, 1, true);
  const TypedMargin margin = typedMarginOf(Margin, op, 3);
  const Runs along = rectangleRuns(0, -(w / 2), 0, w / 2);
  const Runs down = rectangleRuns(-(h / 2), 0, h / 2, 0);
  const auto rank = [](const Runs& mask) { return std::size_t(runsArea(mask) / 2); };
  setOutput(
      ImageSMedian,
      rankFilterImages(
          Image, op,
          [&](const std::uint8_t* in, PlaneSize size, const Extent& extent, std::uint8_t* out) {
            // The column medians read the row medians beyond the extent.
            const Standin::Margin bytes = byteMargin(margin, op, 3);
            std::vector<std::uint8_t> rows(std::size_t(size.width) * std::size_t(size.height));
            medianPlane(in, size, fullExtent(size), along, bytes, rows.data());
            medianPlane(rows.data(), size, extent, down, bytes, out);
          },
          [&](const double* in, PlaneSize size, const Extent& extent, double* out) {
            std::vector<double> rows(std::size_t(size.width) * std::size_t(size.height));
            rankDoubles(in, size, fullExtent(size), along, margin, rank(along), rows.data(), op);
            rankDoubles(rows.data(), size, extent, down, margin, rank(down), out, op);
          }));
}

}  // namespace HalconCpp
