// Thresholds found in a histogram (histo_to_thresh, bin_threshold, char_threshold) and
// fast_threshold, which the stand-in answers as threshold does.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "core/region.h"
#include "core/run_sets.h"
#include "halconcpp/HOperatorsIconic.h"
#include "halconcpp/HOperatorsSegmentation.h"
#include "operators/features/gray_stats.h"
#include "operators/features/histogram_minima.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Longest histogram histo_to_thresh takes: a uint2 image's.
constexpr Hlong kLongestHistogram = 65536;

// The domain's pixels of grey value at most `limit`.
Runs darkerThan(const ImagePtr& image, double limit) {
  const GrayImage gray{image};
  Runs runs;
  for (const Run& run : *image->domain) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      if (!(gray.at(run.row, col) <= limit)) continue;
      if (!runs.empty() && runs.back().row == run.row && runs.back().end == col - 1) {
        runs.back().end = col;
      } else {
        runs.push_back(Run{run.row, col, col});
      }
    }
  }
  return runs;
}

}  // namespace

void HistoToThresh(const HTuple& Histogramm, const HTuple& Sigma, HTuple* MinThresh,
                   HTuple* MaxThresh) {
  ApiScope scope("HistoToThresh");
  const char* op = "histo_to_thresh";
  const Hlong n = Histogramm.Length();
  if (n < 1 || n > kLongestHistogram) fail(op, 1401);
  std::vector<double> histogram;
  for (Hlong i = 0; i < n; ++i) histogram.push_back(numberAt(Histogramm, i, op, 1));
  const double sigma = oneNumber(Sigma, op, 2);
  if (!(sigma >= 0) || !std::isfinite(sigma)) fail(op, 1302);
  // Each minimum ends the interval below it: [0, m1], [m1 + 1, m2], ..., [mk + 1, n - 1].
  HTuple lower(Hlong(0)), upper;
  for (const int m : histogramMinima(smoothedHistogram(histogram, sigma))) {
    upper.Append(HTuple(Hlong(m)));
    lower.Append(HTuple(Hlong(m) + 1));
  }
  upper.Append(HTuple(n - 1));
  setOutput(MinThresh, std::move(lower));
  setOutput(MaxThresh, std::move(upper));
}

void BinThreshold(const HObject& Image, HObject* Region) {
  ApiScope scope("BinThreshold");
  const char* op = "bin_threshold";
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    const GrayStats stats = grayStatsOf(*image->domain, GrayImage{image});
    // Sigma 0, 1, 2, ... until at most one minimum is left; at 256 the histogram is one hump.
    std::vector<int> minima;
    for (int sigma = 0; sigma <= 256; ++sigma) {
      minima = histogramMinima(smoothedHistogram(stats.histogram, sigma));
      if (minima.size() <= 1) break;
    }
    items.push_back(makeRegion(minima.size() == 1 ? darkerThan(image, minima[0]) : Runs{}));
  }
  setOutput(Region, objectOf(items));
}

void CharThreshold(const HObject& Image, const HObject& HistoRegion, HObject* Characters,
                   const HTuple& Sigma, const HTuple& Percent, HTuple* Threshold) {
  ApiScope scope("CharThreshold");
  const char* op = "char_threshold";
  const double sigma = oneNumber(Sigma, op, 1);
  if (!(sigma >= 0) || !std::isfinite(sigma)) fail(op, 1301);
  const double percent = oneNumber(Percent, op, 2);
  if (!(percent >= 0 && percent <= 100)) fail(op, 1302);
  const GrayImage image = grayImageOf(Image, op, 1);
  const Runs histoRegion =
      intersectRuns(unionAll(regionsOf(HistoRegion, op, 2)), *image.image->domain);
  const std::vector<double> h = smoothedHistogram(grayStatsOf(histoRegion, image).histogram, sigma);
  // The background is the histogram's peak (the first of equal ones); the threshold the first
  // grey value below it where the histogram falls under Percent of the peak, 0 if none.
  const auto peak = int(std::max_element(h.begin(), h.end()) - h.begin());
  int threshold = 0;
  for (int g = peak; g >= 0; --g) {
    if (h[std::size_t(g)] < h[std::size_t(peak)] * percent / 100) {
      threshold = g;
      break;
    }
  }
  setOutput(Characters, objectOf({makeRegion(darkerThan(image.image, threshold))}));
  setOutput(Threshold, HTuple(Hlong(threshold)));
}

void FastThreshold(const HObject& Image, HObject* Region, const HTuple& MinGray,
                   const HTuple& MaxGray, const HTuple& MinSize) {
  ApiScope scope("FastThreshold");
  const char* op = "fast_threshold";
  oneNumber(MinGray, op, 1);
  oneNumber(MaxGray, op, 2);
  const Hlong minSize = oneInteger(MinSize, op, 3);
  if (minSize < 0) fail(op, 1303);
  // The vendor may pass over objects smaller than MinSize to be fast; the stand-in finds them.
  Threshold(Image, Region, MinGray, MaxGray);
}

}  // namespace HalconCpp
