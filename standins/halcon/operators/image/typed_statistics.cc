// min_max_gray and intensity of the types whose values do not fit a 256-bin histogram: the
// region's pixels within the domain, in doubles, ranked by sorting.
#include <algorithm>
#include <cmath>

#include "core/empty_results.h"
#include "core/params.h"
#include "core/region.h"
#include "operators/image/typed_images.h"

namespace HalconCpp {
namespace Standin {
namespace {

std::vector<double> valuesOf(const Runs& region, const ImageObject& image, const char* op) {
  if (image.channels.empty()) fail(op, H_ERR_CHANNEL_COUNT);
  const PixelReader read = readerOf(image.type());
  std::vector<double> values;
  for (const Run& run : intersectRuns(region, *image.domain)) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      values.push_back(read(image.pixels(0), image.offset(run.row, col)));
    }
  }
  return values;
}

}  // namespace

bool takesTypedStatistics(const HObject& image) {
  if (!image.IsInitialized() || image.Items().size() != 1) return false;
  const auto* one = dynamic_cast<const ImageObject*>(image.Items().front().get());
  return one && !displaysAsBytes(one->type());
}

void typedMinMaxGray(const HObject& regionsObject, const HObject& imageObject, double percent,
                     HTuple* mins, HTuple* maxs, HTuple* ranges, const char* op) {
  const std::vector<const Runs*> regions = regionsOf(regionsObject, op, 1, false);
  const ImagePtr image = oneImage(imageObject, op, 2, kRealValuedTypes);
  for (const Runs* region : regions) {
    std::vector<double> values = valuesOf(*region, *image, op);
    std::sort(values.begin(), values.end());
    const auto total = static_cast<Hlong>(values.size());
    // As for bytes: Percent of the area cut off at each end, both ends stopping at the
    // median at 50.
    const Hlong cut = static_cast<Hlong>(std::floor(double(total) * percent / 100));
    double low = 0, high = 0;
    if (total > 0) {
      low = values[static_cast<std::size_t>(cut)];
      high = values[static_cast<std::size_t>(total - 1 - std::min(cut, total - 1 - total / 2))];
    }
    mins->Append(HTuple(low));
    maxs->Append(HTuple(high));
    ranges->Append(HTuple(high - low));
  }
}

void typedIntensity(const HObject& regionsObject, const HObject& imageObject, HTuple* means,
                    HTuple* deviations, const char* op) {
  std::vector<const Runs*> regions = regionsOf(regionsObject, op, 1, false);
  const ImagePtr image = oneImage(imageObject, op, 2, kRealValuedTypes);
  if (skipEmptyRegions(regions, op)) regions.clear();
  for (const Runs* region : regions) {
    const std::vector<double> values = valuesOf(*region, *image, op);
    double sum = 0;
    for (const double value : values) sum += value;
    const double n = double(values.size());
    const double mean = n > 0 ? sum / n : 0;
    double squares = 0;
    for (const double value : values) squares += (value - mean) * (value - mean);
    means->Append(HTuple(mean));
    deviations->Append(HTuple(n > 0 ? std::sqrt(squares / n) : 0.0));
  }
}

}  // namespace Standin
}  // namespace HalconCpp
