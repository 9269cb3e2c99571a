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

namespace {

// The histogram smoothed with a sampled Gaussian of the given sigma, cut at 3 sigma and
// normalised; there are no grey values beyond 0 and 255, so the kernel needs no more than the
// histogram's length each way.
std::vector<double> smoothed(const std::vector<double>& histogram, double sigma) {
  if (sigma <= 0) return histogram;
  const auto n = static_cast<std::int32_t>(histogram.size());
  const auto radius = static_cast<std::int32_t>(std::min(std::ceil(3 * sigma), double(n)));
  std::vector<double> weights;
  double total = 0;
  for (std::int32_t d = -radius; d <= radius; ++d) {
    weights.push_back(std::exp(-double(d) * d / (2 * sigma * sigma)));
    total += weights.back();
  }
  std::vector<double> out(histogram.size(), 0.0);
  for (std::int32_t g = 0; g < n; ++g) {
    double sum = 0;
    for (std::int32_t d = std::max(-radius, -g); d <= std::min(radius, n - 1 - g); ++d) {
      sum += weights[std::size_t(d + radius)] * histogram[std::size_t(g + d)];
    }
    out[std::size_t(g)] = sum / total;
  }
  return out;
}

// The minima: each run of equal values with a larger value on both sides, taken at its
// middle (rounded down). Values within a billionth of the largest count as equal, so that
// the rounding of the smoothing's sums makes no minimum of its own.
std::vector<int> minimaOf(const std::vector<double>& h) {
  std::vector<int> minima;
  const int n = static_cast<int>(h.size());
  const double eps = 1e-9 * *std::max_element(h.begin(), h.end());
  auto at = [&](int i) { return h[std::size_t(i)]; };
  for (int a = 1; a < n - 1;) {
    int b = a;
    while (b + 1 < n && std::fabs(at(b + 1) - at(a)) <= eps) ++b;
    if (b + 1 < n && at(a - 1) > at(a) + eps && at(b + 1) > at(b) + eps) {
      minima.push_back((a + b) / 2);
    }
    a = b + 1;
  }
  return minima;
}

}  // namespace

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
    std::vector<int> upper = minimaOf(smoothed(stats.histogram, sigma));
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
