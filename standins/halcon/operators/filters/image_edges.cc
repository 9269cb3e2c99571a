// The Sobel filter on one plane, in doubles: sums of bytes and of dyadic weights stay exact
// for the Gaussian weights and the binomial ones up to 21 taps.
#include <algorithm>
#include <cmath>

#include "core/image_results.h"
#include "operators/filters/image_kernels.h"
#include "operators/filters/sobel_bytes.h"

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

std::vector<double> sobelSource(const std::uint8_t* src, PlaneSize size,
                                const SobelSmoothing& smoothing) {
  const std::size_t n =
      static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
  std::vector<double> g(n);
  if (smoothing.alongRow.empty()) {
    std::copy(src, src + n, g.begin());
  } else {
    smoothPlane(src, size, smoothing.alongRow, smoothing.alongColumn, g.data());
    for (double& v : g) v *= 2;
  }
  return g;
}

void sobelPlane(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                const SobelSmoothing& smoothing, std::uint8_t* dst) {
  if (smoothing.alongRow.empty() && vectorPathsEnabled()) {
    sobelBytes(src, size, amplitude, dst);
    return;
  }
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  const std::vector<double> g = sobelSource(src, size, smoothing);
  const auto at = [width](std::int32_t y, std::int32_t x) {
    return static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
  };
  // |a| and |b| of one row; the thin kinds also need the rows above and below.
  const auto absolutes = [&](std::int32_t y, double* absA, double* absB) {
    const std::int32_t up = mirroredIndex(y - 1, h), down = mirroredIndex(y + 1, h);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int32_t left = mirroredIndex(x - 1, w), right = mirroredIndex(x + 1, w);
      absA[x] = std::fabs(g[at(up, left)] + 2 * g[at(up, x)] + g[at(up, right)] -
                          g[at(down, left)] - 2 * g[at(down, x)] - g[at(down, right)]);
      absB[x] = std::fabs(g[at(up, left)] + 2 * g[at(y, left)] + g[at(down, left)] -
                          g[at(up, right)] - 2 * g[at(y, right)] - g[at(down, right)]);
    }
  };
  const bool thin =
      amplitude == SobelAmplitude::ThinSumAbs || amplitude == SobelAmplitude::ThinMaxAbs;
  std::vector<double> rows(6 * width);  // |a| and |b| above, here and below
  double *aboveA = rows.data(), *hereA = aboveA + width, *belowA = hereA + width;
  double *aboveB = belowA + width, *hereB = aboveB + width, *belowB = hereB + width;
  for (std::int32_t y = 0; y < h; ++y) {
    absolutes(y, hereA, hereB);
    if (thin) {
      absolutes(mirroredIndex(y - 1, h), aboveA, aboveB);
      absolutes(mirroredIndex(y + 1, h), belowA, belowB);
    }
    for (std::int32_t x = 0; x < w; ++x) {
      double ta = hereA[x], tb = hereB[x];
      if (thin) {
        const std::int32_t left = mirroredIndex(x - 1, w), right = mirroredIndex(x + 1, w);
        // A maximum holds its ground against equal neighbours: a plateau stays whole.
        if (ta < aboveA[x] || ta < belowA[x]) ta = 0;
        if (tb < hereB[left] || tb < hereB[right]) tb = 0;
      }
      double value = 0;
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

void sobelDirPlane(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                   const SobelSmoothing& smoothing, std::uint8_t* amplitudeOut,
                   std::uint8_t* directionOut) {
  const std::int32_t w = size.width, h = size.height;
  const auto width = static_cast<std::size_t>(w);
  const std::vector<double> g = sobelSource(src, size, smoothing);
  const auto at = [width](std::int32_t y, std::int32_t x) {
    return static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
  };
  constexpr double kDegrees = 57.295779513082320877;
  for (std::int32_t y = 0; y < h; ++y) {
    const std::int32_t up = mirroredIndex(y - 1, h), down = mirroredIndex(y + 1, h);
    for (std::int32_t x = 0; x < w; ++x) {
      const std::int32_t left = mirroredIndex(x - 1, w), right = mirroredIndex(x + 1, w);
      // a grows as the image brightens upwards, b as it darkens to the right.
      const double a = g[at(up, left)] + 2 * g[at(up, x)] + g[at(up, right)] - g[at(down, left)] -
                       2 * g[at(down, x)] - g[at(down, right)];
      const double b = g[at(up, left)] + 2 * g[at(y, left)] + g[at(down, left)] - g[at(up, right)] -
                       2 * g[at(y, right)] - g[at(down, right)];
      const double value = amplitude == SobelAmplitude::SumSqrt ? std::sqrt(a * a + b * b)
                                                                : std::fabs(a) + std::fabs(b);
      const std::uint8_t amp = clampToByte(value / 4);
      amplitudeOut[at(y, x)] = amp;
      if (amp == 0) {
        directionOut[at(y, x)] = 255;
        continue;
      }
      double degrees = std::atan2(a, -b) * kDegrees;
      if (degrees < 0) degrees += 360;
      directionOut[at(y, x)] =
          static_cast<std::uint8_t>(static_cast<int>(std::floor(degrees / 2 + 0.5)) % 180);
    }
  }
}

}  // namespace Standin
}  // namespace HalconCpp
