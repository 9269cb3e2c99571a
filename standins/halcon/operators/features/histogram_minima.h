// The histogram analysis of auto_threshold, histo_to_thresh, bin_threshold and
// char_threshold: Gaussian smoothing and the minima that part the grey values.
#ifndef QUORVEX_STANDINS_HALCON_HISTOGRAM_MINIMA_H
#define QUORVEX_STANDINS_HALCON_HISTOGRAM_MINIMA_H

#include <vector>

namespace HalconCpp {
namespace Standin {

// The histogram smoothed with a sampled Gaussian of the given sigma (0: as it is), cut at
// 3 sigma and normalised, nothing beyond either end.
std::vector<double> smoothedHistogram(const std::vector<double>& histogram, double sigma);

// The minima: each run of equal values with a larger value on both sides, at its middle
// (rounded down).
std::vector<int> histogramMinima(const std::vector<double>& histogram);

}  // namespace Standin
}  // namespace HalconCpp

#endif
