// Functions analysed and smoothed (HALCON 11.0 "Tools / Function"): derivatives by
// differences, areas by trapezoids split where the line between two points crosses zero,
// zero crossings and extrema between points, and mean or Gaussian smoothing over
// neighbouring points, mirrored at both ends.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsTools.h"
#include "operators/tools/funct_1d.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// Central differences inside, one-sided ones at the ends; 0 for a single point.
std::vector<double> differences(const std::vector<double>& x, const std::vector<double>& y) {
  const std::size_t n = y.size();
  std::vector<double> d(n, 0.0);
  if (n < 2) return d;
  d[0] = (y[1] - y[0]) / (x[1] - x[0]);
  d[n - 1] = (y[n - 1] - y[n - 2]) / (x[n - 1] - x[n - 2]);
  for (std::size_t i = 1; i + 1 < n; ++i) d[i] = (y[i + 1] - y[i - 1]) / (x[i + 1] - x[i - 1]);
  return d;
}

// The index i mirrored into [0, n) without repeating the end points: -1 -> 1, n -> n - 2.
std::size_t mirrored(std::int64_t i, std::int64_t n) {
  if (n == 1) return 0;
  const std::int64_t period = 2 * (n - 1);
  i %= period;
  if (i < 0) i += period;
  return static_cast<std::size_t>(i < n ? i : period - i);
}

std::vector<double> convolved(const std::vector<double>& y, const std::vector<double>& kernel) {
  const auto n = static_cast<std::int64_t>(y.size());
  const auto reach = static_cast<std::int64_t>(kernel.size() / 2);
  std::vector<double> out(y.size());
  for (std::int64_t i = 0; i < n; ++i) {
    double sum = 0;
    for (std::int64_t k = -reach; k <= reach; ++k) {
      sum += y[mirrored(i + k, n)] * kernel[static_cast<std::size_t>(k + reach)];
    }
    out[static_cast<std::size_t>(i)] = sum;
  }
  return out;
}

// The means of the 2 reach + 1 mirrored points around each point, from sums over the
// mirrored sequence's period, so that a window longer than the function costs no more.
std::vector<double> windowMeans(const std::vector<double>& y, std::int64_t reach) {
  const auto n = static_cast<std::int64_t>(y.size());
  const std::int64_t period = n == 1 ? 1 : 2 * (n - 1);
  std::vector<double> prefix(static_cast<std::size_t>(period) + 1, 0.0);
  for (std::int64_t j = 0; j < period; ++j) {
    prefix[static_cast<std::size_t>(j + 1)] =
        prefix[static_cast<std::size_t>(j)] + y[mirrored(j, n)];
  }
  // The sum of the first k points of the sequence repeated (k may be negative).
  const auto upTo = [&](std::int64_t k) {
    std::int64_t whole = k / period, rest = k % period;
    if (rest < 0) rest += period, whole -= 1;
    return double(whole) * prefix.back() + prefix[static_cast<std::size_t>(rest)];
  };
  std::vector<double> out(y.size());
  for (std::int64_t i = 0; i < n; ++i) {
    out[static_cast<std::size_t>(i)] =
        (upTo(i + reach + 1) - upTo(i - reach)) / double(2 * reach + 1);
  }
  return out;
}

// The x of the vertex of the parabola through three points.
double vertex(const Function1d& f, std::size_t i) {
  const double x0 = f.x[i - 1], x1 = f.x[i], x2 = f.x[i + 1];
  const double y0 = f.y[i - 1], y1 = f.y[i], y2 = f.y[i + 1];
  const double a = x1 - x0, b = x1 - x2;
  const double den = a * (y1 - y2) - b * (y1 - y0);
  if (den == 0) return x1;
  return x1 - 0.5 * (a * a * (y1 - y2) - b * b * (y1 - y0)) / den;
}

bool flagOf(const HTuple& value, const char* op, int n) {
  const std::string flag = oneString(value, op, n);
  if (flag != "true" && flag != "false") fail(op, 1300 + n);
  return flag == "true";
}

}  // namespace

void DerivateFunct1d(const HTuple& Function, const HTuple& Mode, HTuple* Derivative) {
  ApiScope scope("DerivateFunct1d");
  const char* op = "derivate_funct_1d";
  Function1d f = functionOf(Function, op, 1);
  const std::string mode = oneString(Mode, op, 2);
  if (mode != "first" && mode != "second") fail(op, 1302);
  f.y = differences(f.x, f.y);
  if (mode == "second") f.y = differences(f.x, f.y);
  setOutput(Derivative, functionTuple(f));
}

void IntegrateFunct1d(const HTuple& Function, HTuple* Positive, HTuple* Negative) {
  ApiScope scope("IntegrateFunct1d");
  const Function1d f = functionOf(Function, "integrate_funct_1d", 1);
  double above = 0, below = 0;
  for (std::size_t i = 0; i + 1 < f.x.size(); ++i) {
    const double a = f.y[i], b = f.y[i + 1], h = f.x[i + 1] - f.x[i];
    if (a >= 0 && b >= 0) {
      above += h * (a + b) / 2;
    } else if (a <= 0 && b <= 0) {
      below -= h * (a + b) / 2;
    } else {
      const double t = a / (a - b);  // where the line crosses zero
      const double first = h * t * std::fabs(a) / 2, second = h * (1 - t) * std::fabs(b) / 2;
      (a > 0 ? above : below) += first;
      (b > 0 ? above : below) += second;
    }
  }
  setOutput(Positive, HTuple(above));
  setOutput(Negative, HTuple(below));
}

void ZeroCrossingsFunct1d(const HTuple& Function, HTuple* ZeroCrossings) {
  ApiScope scope("ZeroCrossingsFunct1d");
  const Function1d f = functionOf(Function, "zero_crossings_funct_1d", 1);
  HTuple out;
  for (std::size_t i = 0; i < f.x.size(); ++i) {
    if (f.y[i] == 0) {
      out.Append(HTuple(f.x[i]));
    } else if (i + 1 < f.x.size() && f.y[i] * f.y[i + 1] < 0) {
      const double t = f.y[i] / (f.y[i] - f.y[i + 1]);
      out.Append(HTuple(f.x[i] + t * (f.x[i + 1] - f.x[i])));
    }
  }
  setOutput(ZeroCrossings, out);
}

void LocalMinMaxFunct1d(const HTuple& Function, const HTuple& Mode, const HTuple& Interpolation,
                        HTuple* Min, HTuple* Max) {
  ApiScope scope("LocalMinMaxFunct1d");
  const char* op = "local_min_max_funct_1d";
  const Function1d f = functionOf(Function, op, 1);
  const std::string mode = oneString(Mode, op, 2);
  if (mode != "strict_min_max" && mode != "plateaus_center") fail(op, 1302);
  const bool interpolate = flagOf(Interpolation, op, 3);
  HTuple mins, maxs;
  const std::size_t n = f.y.size();
  for (std::size_t i = 1; i + 1 < n;) {
    // The run of equal values from i to end; a plateau only in 'plateaus_center'.
    std::size_t end = i;
    if (mode == "plateaus_center") {
      while (end + 2 < n && f.y[end + 1] == f.y[i]) ++end;
    }
    const double left = f.y[i - 1], right = f.y[end + 1], y = f.y[i];
    const bool isMax = y > left && y > right, isMin = y < left && y < right;
    if (isMax || isMin) {
      double x = (f.x[i] + f.x[end]) / 2;
      if (end == i && interpolate) x = vertex(f, i);
      (isMax ? maxs : mins).Append(HTuple(x));
    }
    i = end + 1;
  }
  setOutput(Min, mins);
  setOutput(Max, maxs);
}

void SmoothFunct1dMean(const HTuple& Function, const HTuple& SmoothSize, const HTuple& Iterations,
                       HTuple* SmoothedFunction) {
  ApiScope scope("SmoothFunct1dMean");
  const char* op = "smooth_funct_1d_mean";
  Function1d f = functionOf(Function, op, 1);
  if (!f.equidistant) fail(op, 1301);
  const Hlong size = oneInteger(SmoothSize, op, 2), iterations = oneInteger(Iterations, op, 3);
  if (size < 1) fail(op, 1302);
  if (iterations < 1) fail(op, 1303);
  // SmoothSize is the mask's length, an even one taken as the next odd one.
  const std::int64_t reach = std::min<std::int64_t>(size / 2, std::int64_t(1) << 40);
  // Iterating past a fixed point changes nothing; past 4096 rounds, too little to matter.
  for (Hlong k = 0; k < iterations && k < 4096; ++k) {
    std::vector<double> next = windowMeans(f.y, reach);
    if (next == f.y) break;
    f.y = std::move(next);
  }
  setOutput(SmoothedFunction, functionTuple(f));
}

void SmoothFunct1dGauss(const HTuple& Function, const HTuple& Sigma, HTuple* SmoothedFunction) {
  ApiScope scope("SmoothFunct1dGauss");
  const char* op = "smooth_funct_1d_gauss";
  Function1d f = functionOf(Function, op, 1);
  if (!f.equidistant) fail(op, 1301);
  const double sigma = oneNumber(Sigma, op, 2);
  // The 11.0 page bounds Sigma by (Length - 2) / 7.8.
  if (!(sigma > 0) || !(sigma <= (double(f.y.size()) - 2) / 7.8)) fail(op, 1302);
  const auto reach =
      static_cast<std::int64_t>(std::min(std::ceil(4 * sigma), 2 * double(f.y.size()) + 2));
  std::vector<double> kernel;
  double total = 0;
  for (std::int64_t k = -reach; k <= reach; ++k) {
    const double t = double(k) / sigma;
    kernel.push_back(std::exp(-t * t / 2));
    total += kernel.back();
  }
  for (double& w : kernel) w /= total;
  f.y = convolved(f.y, kernel);
  setOutput(SmoothedFunction, functionTuple(f));
}

}  // namespace HalconCpp
