// Thresholds against other images, local statistics and the histogram, and grey-value
// statistics of regions.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/empty_results.h"
#include "core/image_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsImage.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "operators/filters/image_kernels.h"
#include "operators/image/typed_filters.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The pixels of `domain` that `keep(offset)` accepts, as runs.
template <typename Keep>
Runs runsWhere(const Runs& domain, std::int32_t width, Keep&& keep) {
  Runs runs;
  for (const Run& run : domain) {
    const std::size_t base = static_cast<std::size_t>(run.row) * static_cast<std::size_t>(width);
    std::int32_t start = -1;
    for (std::int32_t col = run.begin; col <= run.end + 1; ++col) {
      const bool in = col <= run.end && keep(base + static_cast<std::size_t>(col));
      if (in && start < 0) start = col;
      if (!in && start >= 0) {
        runs.push_back(Run{run.row, start, col - 1});
        start = -1;
      }
    }
  }
  return runs;
}

enum class Side { Light, Dark, Equal, NotEqual };

Side sideOf(const HTuple& value, const char* op, int n) {
  const std::string name = oneString(value, op, n);
  if (name == "light") return Side::Light;
  if (name == "dark") return Side::Dark;
  if (name == "equal") return Side::Equal;
  if (name == "not_equal") return Side::NotEqual;
  fail(op, 1300 + n);
}

bool accepted(Side side, double g, double reference, double offset) {
  switch (side) {
    case Side::Light:
      return g >= reference + offset;
    case Side::Dark:
      return g <= reference - offset;
    case Side::Equal:
      return g >= reference - offset && g <= reference + offset;
    case Side::NotEqual:
      return g < reference - offset || g > reference + offset;
  }
  return false;
}

// The histogram of the first channel over the region within the image's domain.
std::vector<Hlong> histogramOf(const Runs& region, const ImagePtr& image, const char* op) {
  if (image->channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  std::vector<Hlong> histogram(256, 0);
  const std::uint8_t* pixels = image->pixels(0);
  for (const Run& run : intersectRuns(region, *image->domain)) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      ++histogram[pixels[image->offset(run.row, col)]];
    }
  }
  return histogram;
}

// The grey value of the pixel of the given rank (0: the darkest) in the histogram's order.
int greyOfRank(const std::vector<Hlong>& histogram, Hlong rank) {
  int g = 0;
  for (Hlong seen = histogram[0]; seen <= rank;) seen += histogram[std::size_t(++g)];
  return g;
}

}  // namespace

void DynThreshold(const HObject& OrigImage, const HObject& ThresholdImage, HObject* RegionDynThresh,
                  const HTuple& Offset, const HTuple& LightDark) {
  ApiScope scope("DynThreshold");
  const char* op = "dyn_threshold";
  const double offset = oneNumber(Offset, op, 1);
  const Side side = sideOf(LightDark, op, 2);
  if (hasTypedImages(OrigImage) || hasTypedImages(ThresholdImage)) {
    setOutput(RegionDynThresh,
              typedDynThreshold(
                  OrigImage, ThresholdImage,
                  [&](double g, double t) { return accepted(side, g, t, offset); }, op));
    return;
  }
  std::vector<HObject::Item> items;
  for (const auto& [orig, reference] : imagePairs(OrigImage, ThresholdImage, op)) {
    const std::uint8_t *g = orig->pixels(0), *t = reference->pixels(0);
    const Runs domain = intersectRuns(*orig->domain, *reference->domain);
    items.push_back(makeRegion(runsWhere(
        domain, orig->width, [&](std::size_t i) { return accepted(side, g[i], t[i], offset); })));
  }
  setOutput(RegionDynThresh, objectOf(items));
}

void VarThreshold(const HObject& Image, HObject* Region, const HTuple& MaskWidth,
                  const HTuple& MaskHeight, const HTuple& StdDevScale, const HTuple& AbsThreshold,
                  const HTuple& LightDark) {
  ApiScope scope("VarThreshold");
  const char* op = "var_threshold";
  const Hlong maskWidth = oneInteger(MaskWidth, op, 1), maskHeight = oneInteger(MaskHeight, op, 2);
  if (maskWidth < 1 || maskWidth > 501) fail(op, 1301);
  if (maskHeight < 1 || maskHeight > 501) fail(op, 1302);
  const double scale = oneNumber(StdDevScale, op, 3), absolute = oneNumber(AbsThreshold, op, 4);
  const Side side = sideOf(LightDark, op, 5);
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const PlaneSize size{image->width, image->height};
    const std::size_t n =
        static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
    // The local deviation from the means of g and of g squared, both over the mask.
    std::vector<std::uint8_t> mean(n);
    meanPlane(image->pixels(0), size, static_cast<std::int32_t>(maskWidth),
              static_cast<std::int32_t>(maskHeight), mean.data());
    const std::int32_t hw = static_cast<std::int32_t>(maskWidth) / 2;
    const std::int32_t hh = static_cast<std::int32_t>(maskHeight) / 2;
    const std::uint8_t* g = image->pixels(0);
    const double area = double(2 * hw + 1) * double(2 * hh + 1);
    items.push_back(makeRegion(runsWhere(*image->domain, image->width, [&](std::size_t i) {
      const auto y = static_cast<std::int32_t>(i / static_cast<std::size_t>(size.width));
      const auto x = static_cast<std::int32_t>(i % static_cast<std::size_t>(size.width));
      double sum = 0, squares = 0;
      for (std::int32_t dy = -hh; dy <= hh; ++dy) {
        const std::size_t row = static_cast<std::size_t>(mirroredIndex(y + dy, size.height)) *
                                static_cast<std::size_t>(size.width);
        for (std::int32_t dx = -hw; dx <= hw; ++dx) {
          const double v = g[row + static_cast<std::size_t>(mirroredIndex(x + dx, size.width))];
          sum += v;
          squares += v * v;
        }
      }
      const double m = sum / area;
      const double deviation = std::sqrt(std::max(0.0, squares / area - m * m));
      const double threshold = scale >= 0 ? std::max(scale * deviation, absolute)
                                          : std::min(scale * deviation, absolute);
      return accepted(side, g[i], m, threshold);
    })));
  }
  setOutput(Region, objectOf(items));
}

void BinaryThreshold(const HObject& Image, HObject* Region, const HTuple& Method,
                     const HTuple& LightDark, HTuple* UsedThreshold) {
  ApiScope scope("BinaryThreshold");
  const char* op = "binary_threshold";
  const std::string method = oneString(Method, op, 1);
  const std::string lightDark = oneString(LightDark, op, 2);
  if (method != "max_separability" && method != "smooth_histo") fail(op, 1301);
  if (lightDark != "light" && lightDark != "dark") fail(op, 1302);
  std::vector<HObject::Item> items;
  HTuple thresholds;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const std::vector<Hlong> histogram = histogramOf(*image->domain, image, op);
    int threshold = 0;
    if (method == "max_separability") {
      // Otsu: the split that maximises the variance between the two classes.
      double total = 0, sum = 0;
      for (int g = 0; g < 256; ++g) {
        total += double(histogram[std::size_t(g)]);
        sum += double(g) * double(histogram[std::size_t(g)]);
      }
      double below = 0, belowSum = 0, best = -1;
      for (int t = 0; t < 255; ++t) {
        below += double(histogram[std::size_t(t)]);
        belowSum += double(t) * double(histogram[std::size_t(t)]);
        const double above = total - below;
        if (below == 0 || above == 0) continue;
        const double difference = belowSum / below - (sum - belowSum) / above;
        const double between = below * above * difference * difference;
        if (between > best) {
          best = between;
          threshold = t;
        }
      }
    } else {
      // Smoothed until at most two maxima remain; the split is the minimum between them.
      std::vector<double> h(histogram.begin(), histogram.end());
      std::vector<int> peaks;
      for (int pass = 0; pass < 1000; ++pass) {
        peaks.clear();
        for (int g = 0; g < 256; ++g) {
          const double left = g > 0 ? h[std::size_t(g - 1)] : -1,
                       right = g < 255 ? h[std::size_t(g + 1)] : -1;
          if (h[std::size_t(g)] > left && h[std::size_t(g)] >= right) peaks.push_back(g);
        }
        if (peaks.size() <= 2) break;
        std::vector<double> smoothed(256);
        for (int g = 0; g < 256; ++g) {
          smoothed[std::size_t(g)] =
              (h[std::size_t(mirroredIndex(g - 1, 256))] + 2 * h[std::size_t(g)] +
               h[std::size_t(mirroredIndex(g + 1, 256))]) /
              4;
        }
        h.swap(smoothed);
      }
      if (peaks.size() == 2) {
        threshold = peaks[0];
        for (int g = peaks[0]; g <= peaks[1]; ++g) {
          if (h[std::size_t(g)] < h[std::size_t(threshold)]) threshold = g;
        }
      } else if (!peaks.empty()) {
        threshold = peaks[0];
      }
    }
    const bool light = lightDark == "light";
    const std::uint8_t* g = image->pixels(0);
    items.push_back(makeRegion(runsWhere(*image->domain, image->width, [&](std::size_t i) {
      return light ? g[i] > threshold : g[i] <= threshold;
    })));
    thresholds.Append(HTuple(static_cast<Hlong>(threshold)));
  }
  setOutput(Region, objectOf(items));
  setOutput(UsedThreshold, std::move(thresholds));
}

void MinMaxGray(const HObject& Regions, const HObject& Image, const HTuple& Percent, HTuple* Min,
                HTuple* Max, HTuple* Range) {
  ApiScope scope("MinMaxGray");
  const char* op = "min_max_gray";
  const double percent = oneNumber(Percent, op, 1);
  if (!(percent >= 0 && percent <= 50)) fail(op, 1301);
  std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  HTuple mins, maxs, ranges;
  if (takesTypedStatistics(Image)) {
    if (!skipEmptyRegions(regions, op)) {
      typedMinMaxGray(Regions, Image, percent, &mins, &maxs, &ranges, op);
    }
    setOutput(Min, std::move(mins));
    setOutput(Max, std::move(maxs));
    setOutput(Range, std::move(ranges));
    return;
  }
  const ImagePtr image = oneImage(Image, op, 2, kByteSizedTypes);
  if (skipEmptyRegions(regions, op)) regions.clear();
  for (const Runs* region : regions) {
    const std::vector<Hlong> histogram = histogramOf(*region, image, op);
    Hlong total = 0;
    for (const Hlong count : histogram) total += count;
    // Percent of the area is cut off at each end of the histogram: Min is the grey value of
    // the pixel of rank `cut` counted from the darkest, Max of rank `cut` from the brightest.
    // At 50 with an even area the two walks cross; both then stop at the median, the pixel
    // of rank total / 2 from the darkest, as median_image takes it.
    const Hlong cut = static_cast<Hlong>(std::floor(double(total) * percent / 100));
    int low = 0, high = 0;
    if (total > 0) {
      // cut is at most total / 2: only the walk from the bright end can pass the median.
      low = greyOfRank(histogram, cut);
      high = greyOfRank(histogram, total - 1 - std::min(cut, total - 1 - total / 2));
    }
    mins.Append(HTuple(double(low)));
    maxs.Append(HTuple(double(high)));
    ranges.Append(HTuple(double(high - low)));
  }
  setOutput(Min, std::move(mins));
  setOutput(Max, std::move(maxs));
  setOutput(Range, std::move(ranges));
}

void Intensity(const HObject& Regions, const HObject& Image, HTuple* Mean, HTuple* Deviation) {
  ApiScope scope("Intensity");
  const char* op = "intensity";
  HTuple means, deviations;
  if (takesTypedStatistics(Image)) {
    typedIntensity(Regions, Image, &means, &deviations, op);
    setOutput(Mean, std::move(means));
    setOutput(Deviation, std::move(deviations));
    return;
  }
  std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  const ImagePtr image = oneImage(Image, op, 2, kByteSizedTypes);
  if (skipEmptyRegions(regions, op)) regions.clear();
  for (const Runs* region : regions) {
    const std::vector<Hlong> histogram = histogramOf(*region, image, op);
    double n = 0, sum = 0, squares = 0;
    for (int g = 0; g < 256; ++g) {
      const double count = double(histogram[std::size_t(g)]);
      n += count;
      sum += count * g;
      squares += count * g * g;
    }
    const double mean = n > 0 ? sum / n : 0;
    means.Append(HTuple(mean));
    deviations.Append(HTuple(n > 0 ? std::sqrt(std::max(0.0, squares / n - mean * mean)) : 0.0));
  }
  setOutput(Mean, std::move(means));
  setOutput(Deviation, std::move(deviations));
}

void GrayHisto(const HObject& Regions, const HObject& Image, HTuple* AbsoluteHisto,
               HTuple* RelativeHisto) {
  ApiScope scope("GrayHisto");
  const char* op = "gray_histo";
  const std::vector<const Runs*> regions = regionsOf(Regions, op, 1, false);
  if (regions.size() != 1) fail(op, 1501);
  const ImagePtr image = oneImage(Image, op, 2, kByteSizedTypes);
  if (skipEmptyRegions(regions, op)) {
    setOutput(AbsoluteHisto, HTuple());
    setOutput(RelativeHisto, HTuple());
    return;
  }
  const std::vector<Hlong> histogram = histogramOf(*regions[0], image, op);
  Hlong total = 0;
  for (const Hlong count : histogram) total += count;
  HTuple absolute, relative;
  for (const Hlong count : histogram) {
    absolute.Append(HTuple(count));
    relative.Append(HTuple(total > 0 ? double(count) / double(total) : 0.0));
  }
  setOutput(AbsoluteHisto, std::move(absolute));
  setOutput(RelativeHisto, std::move(relative));
}

}  // namespace HalconCpp
