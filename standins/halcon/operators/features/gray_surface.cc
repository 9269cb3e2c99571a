// fit_surface_first_order and fit_surface_second_order: the grey values of each region
// approximated by a plane or a second-order surface about the region's centre, by least
// squares or by least squares reweighted against outliers.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/memory_bounds.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFeatures.h"
#include "operators/features/gray_stats.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

enum class Algorithm { Regression, Huber, Tukey };

struct Sample {
  double terms[6];  // the surface's terms at the pixel, the constant last
  double gray;
};

// Solves the normal equations A x = b of size n; an unknown whose term is 0 at every weighted
// pixel (the row slope of a region one row high) or that the others already determine is 0.
std::vector<double> solve(std::vector<std::vector<double>> a, std::vector<double> b) {
  const std::size_t n = b.size();
  double scale = 0;
  for (std::size_t i = 0; i < n; ++i) scale = std::max(scale, std::fabs(a[i][i]));
  const double tiny = 1e-12 * std::max(scale, 1.0);
  std::vector<bool> zero(n, false);
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t pivot = k;
    for (std::size_t i = k + 1; i < n; ++i) {
      if (std::fabs(a[i][k]) > std::fabs(a[pivot][k])) pivot = i;
    }
    if (std::fabs(a[pivot][k]) <= tiny) {
      zero[k] = true;
      for (std::size_t i = 0; i < n; ++i) a[i][k] = 0;
      a[k].assign(n, 0);
      a[k][k] = 1;
      b[k] = 0;
      continue;
    }
    std::swap(a[k], a[pivot]);
    std::swap(b[k], b[pivot]);
    for (std::size_t i = k + 1; i < n; ++i) {
      const double factor = a[i][k] / a[k][k];
      for (std::size_t j = k; j < n; ++j) a[i][j] -= factor * a[k][j];
      b[i] -= factor * b[k];
    }
  }
  std::vector<double> x(n, 0);
  for (std::size_t k = n; k-- > 0;) {
    if (zero[k]) continue;
    double sum = b[k];
    for (std::size_t j = k + 1; j < n; ++j) sum -= a[k][j] * x[j];
    x[k] = sum / a[k][k];
  }
  return x;
}

std::vector<double> weightedFit(const std::vector<Sample>& samples, const std::vector<double>& w,
                                std::size_t n) {
  std::vector<std::vector<double>> a(n, std::vector<double>(n, 0));
  std::vector<double> b(n, 0);
  for (std::size_t s = 0; s < samples.size(); ++s) {
    if (w[s] <= 0) continue;
    const double* t = samples[s].terms;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) a[i][j] += w[s] * t[i] * t[j];
      b[i] += w[s] * t[i] * samples[s].gray;
    }
  }
  return solve(std::move(a), std::move(b));
}

// Least squares, then `iterations` times reweighted by the residuals: their spread is the
// median absolute residual over 0.6745, and the clipping factor times it separates outliers.
std::vector<double> fit(const std::vector<Sample>& samples, std::size_t n, Algorithm algorithm,
                        Hlong iterations, double clipping) {
  std::vector<double> w(samples.size(), 1.0);
  std::vector<double> x = weightedFit(samples, w, n);
  if (algorithm == Algorithm::Regression) return x;
  std::vector<double> residuals(samples.size()), magnitudes(samples.size());
  for (Hlong round = 0; round < iterations; ++round) {
    for (std::size_t s = 0; s < samples.size(); ++s) {
      double fitted = 0;
      for (std::size_t i = 0; i < n; ++i) fitted += x[i] * samples[s].terms[i];
      residuals[s] = samples[s].gray - fitted;
      magnitudes[s] = std::fabs(residuals[s]);
    }
    std::nth_element(magnitudes.begin(), magnitudes.begin() + std::ptrdiff_t(samples.size() / 2),
                     magnitudes.end());
    const double sigma = magnitudes[samples.size() / 2] / 0.6745;
    // Every pixel on the surface: nothing left to weigh.
    if (sigma <= 0) break;
    const double tau = clipping * sigma;
    for (std::size_t s = 0; s < samples.size(); ++s) {
      const double d = std::fabs(residuals[s]);
      if (algorithm == Algorithm::Huber) {
        w[s] = d <= tau ? 1.0 : tau / d;
      } else {
        const double u = d / tau;
        w[s] = d <= tau ? (1 - u * u) * (1 - u * u) : 0.0;
      }
    }
    x = weightedFit(samples, w, n);
  }
  return x;
}

// The fit of every measured region, its parameters in the surface's order.
std::vector<std::vector<double>> fitRegions(const HObject& Regions, const HObject& Image,
                                            const HTuple& Algorithm_, const HTuple& Iterations,
                                            const HTuple& ClippingFactor, bool second,
                                            const char* op) {
  const std::string name = oneString(Algorithm_, op, 1);
  Algorithm algorithm = Algorithm::Regression;
  if (name == "huber") {
    algorithm = Algorithm::Huber;
  } else if (name == "tukey") {
    algorithm = Algorithm::Tukey;
  } else if (name != "regression") {
    fail(op, 1301);
  }
  const Hlong iterations = oneInteger(Iterations, op, 2);
  if (iterations < 0) fail(op, 1302);
  const double clipping = oneNumber(ClippingFactor, op, 3);
  if (!(clipping > 0)) fail(op, 1303);
  const GrayImage image = grayImageOf(Image, op, 2);
  const std::size_t n = second ? 6 : 3;
  std::vector<std::vector<double>> fits;
  for (const Runs& region : measuredRegions(Regions, image, op, 1)) {
    const GrayStats stats = grayStatsOf(region, image);
    if (stats.area <= 0) {
      fits.emplace_back(n, 0.0);
      continue;
    }
    const double r0 = stats.sumR / stats.area, c0 = stats.sumC / stats.area;
    // The samples, their weights and two residuals each are held at once.
    PixelReservation scratch(std::uint64_t(stats.area) * (sizeof(Sample) + 3 * sizeof(double)), op);
    std::vector<Sample> samples;
    for (const Run& run : region) {
      for (std::int32_t col = run.begin; col <= run.end; ++col) {
        const double r = run.row - r0, c = col - c0;
        Sample s{{}, image.at(run.row, col)};
        if (second) {
          const double terms[6] = {r * r, c * c, r * c, r, c, 1};
          std::copy(terms, terms + 6, s.terms);
        } else {
          const double terms[3] = {r, c, 1};
          std::copy(terms, terms + 3, s.terms);
        }
        samples.push_back(s);
      }
    }
    fits.push_back(fit(samples, n, algorithm, iterations, clipping));
  }
  return fits;
}

}  // namespace

void FitSurfaceFirstOrder(const HObject& Regions, const HObject& Image, const HTuple& Algorithm,
                          const HTuple& Iterations, const HTuple& ClippingFactor, HTuple* Alpha,
                          HTuple* Beta, HTuple* Gamma) {
  ApiScope scope("FitSurfaceFirstOrder");
  HTuple values[3];
  for (const std::vector<double>& f :
       fitRegions(Regions, Image, Algorithm, Iterations, ClippingFactor, false,
                  "fit_surface_first_order")) {
    for (std::size_t i = 0; i < 3; ++i) values[i].Append(HTuple(f[i]));
  }
  setOutput(Alpha, std::move(values[0]));
  setOutput(Beta, std::move(values[1]));
  setOutput(Gamma, std::move(values[2]));
}

void FitSurfaceSecondOrder(const HObject& Regions, const HObject& Image, const HTuple& Algorithm,
                           const HTuple& Iterations, const HTuple& ClippingFactor, HTuple* Alpha,
                           HTuple* Beta, HTuple* Gamma, HTuple* Delta, HTuple* Epsilon,
                           HTuple* Zeta) {
  ApiScope scope("FitSurfaceSecondOrder");
  HTuple values[6];
  for (const std::vector<double>& f :
       fitRegions(Regions, Image, Algorithm, Iterations, ClippingFactor, true,
                  "fit_surface_second_order")) {
    for (std::size_t i = 0; i < 6; ++i) values[i].Append(HTuple(f[i]));
  }
  HTuple* const outputs[] = {Alpha, Beta, Gamma, Delta, Epsilon, Zeta};
  for (std::size_t i = 0; i < 6; ++i) setOutput(outputs[i], std::move(values[i]));
}

}  // namespace HalconCpp
