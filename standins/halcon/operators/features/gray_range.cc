// gray_range_rect: the range of grey values (maximum minus minimum) in a rectangle about each
// pixel, and auto_threshold: the image split at the minima of its smoothed histogram.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/image_results.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/region.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/gray_stats.h"
#include "operators/features/histogram_minima.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void GrayRangeRect(const HObject& Image, HObject* ImageResult, const HTuple& MaskHeight,
                   const HTuple& MaskWidth) {
  ApiScope scope("GrayRangeRect");
  const char* op = "gray_range_rect";
  const Hlong maskHeight = oneInteger(MaskHeight, op, 1), maskWidth = oneInteger(MaskWidth, op, 2);
  if (maskHeight < 1 || maskHeight > 511) fail(op, 1301);
  if (maskWidth < 1 || maskWidth > 511) fail(op, 1302);
  const auto hh = static_cast<std::int32_t>(maskHeight / 2);
  const auto hw = static_cast<std::int32_t>(maskWidth / 2);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const ImagePtr result = imageLike(image, image->channels.size(), op);
    const std::int32_t width = image->width, height = image->height;
    const std::size_t n = std::size_t(width) * std::size_t(height);
    for (std::size_t ch = 0; ch < image->channels.size(); ++ch) {
      const std::uint8_t* g = image->pixels(ch);
      // Along the rows first, then down the columns; pixels beyond an edge are mirrored.
      PixelReservation scratch(2 * std::uint64_t(n), op);
      std::vector<std::uint8_t> rowMax(n), rowMin(n);
      for (std::int32_t r = 0; r < height; ++r) {
        const std::size_t base = std::size_t(r) * std::size_t(width);
        for (std::int32_t c = 0; c < width; ++c) {
          std::uint8_t hi = 0, lo = 255;
          for (std::int32_t d = -hw; d <= hw; ++d) {
            const std::uint8_t v = g[base + std::size_t(mirroredIndex(c + d, width))];
            hi = std::max(hi, v);
            lo = std::min(lo, v);
          }
          rowMax[base + std::size_t(c)] = hi;
          rowMin[base + std::size_t(c)] = lo;
        }
      }
      std::uint8_t* out = result->pixels(ch);
      for (const Run& run : *image->domain) {
        for (std::int32_t c = run.begin; c <= run.end; ++c) {
          std::uint8_t hi = 0, lo = 255;
          for (std::int32_t d = -hh; d <= hh; ++d) {
            const std::size_t i =
                std::size_t(mirroredIndex(run.row + d, height)) * std::size_t(width) +
                std::size_t(c);
            hi = std::max(hi, rowMax[i]);
            lo = std::min(lo, rowMin[i]);
          }
          out[image->offset(run.row, c)] = static_cast<std::uint8_t>(hi - lo);
        }
      }
    }
    items.push_back(result);
  }
  setOutput(ImageResult, objectOf(items));
}

void AutoThreshold(const HObject& Image, HObject* Regions, const HTuple& Sigma) {
  ApiScope scope("AutoThreshold");
  const char* op = "auto_threshold";
  const double sigma = oneNumber(Sigma, op, 1);
  if (!(sigma >= 0)) fail(op, 1301);
  std::vector<HObject::Item> items;
  for (const ImagePtr& object : imagesWithChannels(Image, op, 1)) {
    const GrayImage image{object};
    const GrayStats stats = grayStatsOf(*object->domain, image);
    // Each minimum ends the interval below it: [0, m1], [m1 + 1, m2], ..., [mk + 1, 255].
    std::vector<int> upper = histogramMinima(smoothedHistogram(stats.histogram, sigma));
    upper.push_back(255);
    std::vector<Runs> parts(upper.size());
    for (const Run& run : *object->domain) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const double g = image.at(run.row, col);
        const std::size_t part = std::size_t(
            std::lower_bound(upper.begin(), upper.end(), g,
                             [](int limit, double value) { return double(limit) < value; }) -
            upper.begin());
        Runs& runs = parts[part];
        if (!runs.empty() && runs.back().row == run.row && runs.back().end == col - 1) {
          runs.back().end = col;
        } else {
          runs.push_back(Run{run.row, col, col});
        }
      }
    }
    for (Runs& part : parts) items.push_back(makeRegion(std::move(part)));
  }
  setOutput(Regions, objectOf(items));
}

}  // namespace HalconCpp
