// The Sobel filter on one plane, in doubles: sums of bytes and of dyadic weights stay exact
// for the Gaussian weights and the binomial ones up to 21 taps.
#include <algorithm>
#include <cmath>

#include "core/image_results.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

std::vector<double> binomialWeights(std::int32_t taps) {
  std::vector<double> weights(static_cast<std::size_t>(taps), 0.0);
  weights[0] = 1;
  for (std::size_t n = 1; n < weights.size(); ++n) {
    for (std::size_t k = n; k > 0; --k) weights[k] += weights[k - 1];
  }
  const double scale = std::ldexp(1.0, -(taps - 1));
  for (double& w : weights) w *= scale;
  return weights;
}

void sobelPlane(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                const SobelSmoothing& smoothing, std::uint8_t* dst) {
  const std::int32_t w = size.width, h = size.height;
  const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  std::vector<double> g(n);
  if (smoothing.alongRow.empty()) {
    std::copy(src, src + n, g.begin());
  } else {
    smoothPlane(src, size, smoothing.alongRow, smoothing.alongColumn, g.data());
    for (double& v : g) v *= 2;
  }
  const auto at = [w](std::int32_t y, std::int32_t x) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
  };
  std::vector<double> a(n), b(n);
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t up = mirroredIndex(y - 1, h), down = mirroredIndex(y + 1, h);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int32_t left = mirroredIndex(x - 1, w), right = mirroredIndex(x + 1, w);
      a[at(y, x)] = g[at(up, left)] + 2 * g[at(up, x)] + g[at(up, right)] - g[at(down, left)] -
                    2 * g[at(down, x)] - g[at(down, right)];
      b[at(y, x)] = g[at(up, left)] + 2 * g[at(y, left)] + g[at(down, left)] - g[at(up, right)] -
                    2 * g[at(y, right)] - g[at(down, right)];
    }
  }
  const bool thin =
      amplitude == SobelAmplitude::ThinSumAbs || amplitude == SobelAmplitude::ThinMaxAbs;
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t up = mirroredIndex(y - 1, h), down = mirroredIndex(y + 1, h);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int32_t left = mirroredIndex(x - 1, w), right = mirroredIndex(x + 1, w);
      double ta = std::fabs(a[at(y, x)]), tb = std::fabs(b[at(y, x)]);
      double value = 0;
      if (thin) {
        // A maximum holds its ground against equal neighbours: a plateau stays whole.
        if (ta < std::fabs(a[at(up, x)]) || ta < std::fabs(a[at(down, x)])) ta = 0;
        if (tb < std::fabs(b[at(y, left)]) || tb < std::fabs(b[at(y, right)])) tb = 0;
      }
      switch (amplitude) {
        case SobelAmplitude::SumAbs:
        case SobelAmplitude::ThinSumAbs:
          value = ta + tb;
          break;
        case SobelAmplitude::SumSqrt:
          value = std::sqrt(ta * ta + tb * tb);
          break;
        case SobelAmplitude::ThinMaxAbs:
          value = std::max(ta, tb);
          break;
      }
      dst[at(y, x)] = clampToByte(value / 4);
    }
  }
}

}  // namespace Standin
}  // namespace HalconCpp
