// Gaussian smoothing of histograms and their minima.
#include "operators/features/histogram_minima.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace HalconCpp {
namespace Standin {

// The histogram smoothed with a sampled Gaussian of the given sigma, cut at 3 sigma and
// normalised; there are no grey values beyond 0 and 255, so the kernel needs no more than the
// histogram's length each way.
std::vector<double> smoothedHistogram(const std::vector<double>& histogram, double sigma) {
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
std::vector<int> histogramMinima(const std::vector<double>& h) {
  std::vector<int> minima;
  if (h.size() < 3) return minima;
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

}  // namespace Standin
}  // namespace HalconCpp
