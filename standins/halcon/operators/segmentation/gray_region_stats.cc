// Grey-value statistics of regions: the extremes, the mean and deviation, the histogram.
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
#include "operators/image/typed_filters.h"
#include "operators/image/typed_images.h"
#include "operators/segmentation/region_histogram.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

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

}  // namespace Standin

using namespace Standin;

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
