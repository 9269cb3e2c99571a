// Texture and noise: features of the co-occurrence matrix of a region, and the image noise
// estimated from a single image.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/memory_bounds.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/runs.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/cooc.h"
#include "operators/features/gray_stats.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

void CoocFeatureImage(const HObject& Regions, const HObject& Image, const HTuple& LdGray,
                      const HTuple& Direction, HTuple* Energy, HTuple* Correlation,
                      HTuple* Homogeneity, HTuple* Contrast) {
  ApiScope scope("CoocFeatureImage");
  const char* op = "cooc_feature_image";
  const Hlong ldGray = oneInteger(LdGray, op, 1);
  if (ldGray < 1 || ldGray > 8) fail(op, 1301);
  requireLength(Direction, 1, op, 2);
  // 'mean' averages the features of the four directions.
  std::vector<Hlong> directions;
  if (Direction[0].Type() == eElementTypeString) {
    if (Direction[0].S().str() != "mean") fail(op, 1302);
    directions = {0, 45, 90, 135};
  } else {
    int dr = 0, dc = 0;
    directions = {integerAt(Direction, 0, op, 2)};
    if (!coocOffsetOf(directions[0], &dr, &dc)) fail(op, 1302);
  }
  const GrayImage image = grayImageOf(Image, op, 2);
  HTuple energies, correlations, homogeneities, contrasts;
  for (const Runs& region : measuredRegions(Regions, image, op, 1)) {
    CoocFeatures sum;
    for (const Hlong direction : directions) {
      int dr = 0, dc = 0;
      coocOffsetOf(direction, &dr, &dc);
      const CoocFeatures f =
          coocFeaturesOf(coocMatrixOf(region, image, static_cast<int>(ldGray), dr, dc).data(),
                         std::size_t(1) << ldGray);
      sum.energy += f.energy;
      sum.correlation += f.correlation;
      sum.homogeneity += f.homogeneity;
      sum.contrast += f.contrast;
    }
    const double n = double(directions.size());
    energies.Append(HTuple(sum.energy / n));
    correlations.Append(HTuple(sum.correlation / n));
    homogeneities.Append(HTuple(sum.homogeneity / n));
    contrasts.Append(HTuple(sum.contrast / n));
  }
  setOutput(Energy, std::move(energies));
  setOutput(Correlation, std::move(correlations));
  setOutput(Homogeneity, std::move(homogeneities));
  setOutput(Contrast, std::move(contrasts));
}

namespace {

enum class Noise { Immerkaer, LeastSquares, Mean };

// What one pixel tells of the noise: its 3 x 3 neighbourhood's gradient magnitude
// |g(r, c+1) - g(r, c-1)| + |g(r+1, c) - g(r-1, c)|, and the method's reading there.
struct Reading {
  double gradient;
  double value;
};

// Immerkaer's |g * M| for M = 1 -2 1 / -2 4 -2 / 1 -2 1; the deviation from the plane fitted
// to the neighbourhood, whose residuals keep 6 of its 9 degrees of freedom; the difference
// from the neighbourhood's mean.
double readingOf(const double (&g)[9], Noise method) {
  if (method == Noise::Immerkaer) {
    static const double mask[9] = {1, -2, 1, -2, 4, -2, 1, -2, 1};
    double response = 0;
    for (int k = 0; k < 9; ++k) response += mask[k] * g[k];
    return std::fabs(response);
  }
  double mean = 0, a = 0, b = 0;
  for (int k = 0; k < 9; ++k) {
    mean += g[k] / 9;
    a += g[k] * (k / 3 - 1) / 6;
    b += g[k] * (k % 3 - 1) / 6;
  }
  if (method == Noise::Mean) return g[4] - mean;
  double squares = 0;
  for (int k = 0; k < 9; ++k) {
    const double d = g[k] - (mean + a * (k / 3 - 1) + b * (k % 3 - 1));
    squares += d * d;
  }
  return std::sqrt(squares / 6);
}

// The readings of the domain's pixels whose 3 x 3 neighbourhood lies in the domain too.
std::vector<Reading> readingsOf(const GrayImage& image, Noise method, const char* op) {
  const Runs& domain = *image.image->domain;
  PixelReservation scratch(std::uint64_t(runsArea(domain)) * sizeof(Reading), op);
  std::vector<Reading> readings;
  for (const Run& run : domain) {
    for (std::int32_t col = run.begin; col <= run.end; ++col) {
      bool inside = true;
      for (int dr = -1; dr <= 1 && inside; ++dr) {
        inside = runsContain(domain, run.row + dr, col - 1) &&
                 runsContain(domain, run.row + dr, col + 1);
      }
      if (!inside) continue;
      double g[9];
      for (int k = 0; k < 9; ++k) g[k] = image.at(run.row + k / 3 - 1, col + k % 3 - 1);
      readings.push_back(
          Reading{std::fabs(g[5] - g[3]) + std::fabs(g[7] - g[1]), readingOf(g, method)});
    }
  }
  return readings;
}

double estimate(std::vector<Reading> readings, Noise method, double percent) {
  if (readings.empty()) return 0;
  if (method == Noise::Immerkaer) {
    double sum = 0;
    for (const Reading& r : readings) sum += r.value;
    return std::sqrt(kPi / 2) * sum / (6 * double(readings.size()));
  }
  // The most homogeneous share: the smallest gradients.
  std::stable_sort(readings.begin(), readings.end(),
                   [](const Reading& a, const Reading& b) { return a.gradient < b.gradient; });
  const auto keep = static_cast<std::size_t>(std::ceil(double(readings.size()) * percent / 100));
  readings.resize(std::min(readings.size(), std::max<std::size_t>(keep, 1)));
  const double count = double(readings.size());
  double sum = 0, squares = 0;
  for (const Reading& r : readings) {
    sum += r.value;
    squares += r.value * r.value;
  }
  if (method == Noise::LeastSquares) return sum / count;
  // The difference to the 3 x 3 mean keeps 8/9 of the noise's variance: scaled back.
  const double m = sum / count;
  return std::sqrt(std::max(0.0, squares / count - m * m) * 9 / 8);
}

}  // namespace

void EstimateNoise(const HObject& Image, const HTuple& Method, const HTuple& Percent,
                   HTuple* Sigma) {
  ApiScope scope("EstimateNoise");
  const char* op = "estimate_noise";
  const std::string method = oneString(Method, op, 1);
  if (method != "foerstner" && method != "immerkaer" && method != "least_squares" &&
      method != "mean") {
    fail(op, 1301);
  }
  const double percent = oneNumber(Percent, op, 2);
  if (!(percent > 0 && percent <= 100)) fail(op, 1302);
  HTuple sigmas;
  for (const ImagePtr& object : imagesOf(Image, op, 1)) {
    if (object->channels.empty()) fail(op, 3032);
    const GrayImage image{object};
    // 'foerstner' starts from Immerkaer's estimate; the stand-in stops there.
    const Noise noise = method == "least_squares" ? Noise::LeastSquares
                        : method == "mean"        ? Noise::Mean
                                                  : Noise::Immerkaer;
    const double sigma = estimate(readingsOf(image, noise, op), noise, percent);
    sigmas.Append(HTuple(sigma));
  }
  setOutput(Sigma, std::move(sigmas));
}

}  // namespace HalconCpp
