#include "operators/filters/gauss_derivatives.h"

#include <algorithm>
#include <cmath>

#include "operators/filters/edge_gradients.h"

namespace HalconCpp {
namespace Standin {

std::int32_t gaussianHalf(double sigma, std::int32_t largestSide) {
  // exp(-K^2 / 2 sigma^2) < 10^-9: K > sigma sqrt(2 ln 10^9). Worked in doubles, so that a
  // huge or infinite sigma stops at the side rather than overflowing.
  double half = std::ceil(6.4378 * sigma);
  if (!(half >= 1)) half = 1;
  return static_cast<std::int32_t>(std::min<double>(half, std::max<std::int32_t>(largestSide, 2)));
}

std::vector<double> gaussDerivativeKernel(double sigma, int order, std::int32_t largestSide) {
  const std::int32_t half = std::max(gaussianHalf(sigma, largestSide), order > 2 ? 2 : 1);
  std::vector<double> g, k;
  double m[7] = {0, 0, 0, 0, 0, 0, 0};  // the moments sum n^j g(n)
  for (std::int32_t n = -half; n <= half; ++n) {
    const double v = std::exp(-0.5 * (n / sigma) * (n / sigma));
    g.push_back(std::isfinite(v) ? v : (n == 0 ? 1.0 : 0.0));
    for (int j = 0; j < 7; ++j) m[j] += std::pow(double(n), j) * g.back();
  }
  // A polynomial p(n) g(n) per order, its coefficients fixed by the moments.
  double a = 0, b = 0;
  switch (order) {
    case 0:
      a = 1 / m[0];
      break;
    case 1:
      a = 1 / m[2];
      break;
    case 2:
      a = 2 / (m[4] - m[2] * m[2] / m[0]), b = -a * m[2] / m[0];
      break;
    default:
      a = 6 / (m[6] - m[4] * m[4] / m[2]), b = -a * m[4] / m[2];
      break;
  }
  const bool usable = std::isfinite(a) && std::isfinite(b) && a != 0;
  for (std::int32_t n = -half; n <= half; ++n) {
    const double v = g[static_cast<std::size_t>(n + half)], x = n;
    switch (order) {
      case 0:
        k.push_back(a * v);
        break;
      case 1:
        k.push_back(a * x * v);
        break;
      case 2:
        k.push_back((a * x * x + b) * v);
        break;
      default:
        k.push_back((a * x * x * x + b * x) * v);
        break;
    }
  }
  if (usable) return k;
  // A Gaussian too narrow to sample: the central differences it tends to.
  static const std::vector<double> kLimits[] = {
      {1}, {-0.5, 0, 0.5}, {1, -2, 1}, {-0.5, 1, 0, -1, 0.5}};
  return kLimits[std::min(order, 3)];
}

GaussDerivatives::GaussDerivatives(std::vector<double> plane, std::int32_t width,
                                   std::int32_t height, double sigmaX, double sigmaY)
    : plane_(std::move(plane)), width_(width), height_(height), sigmaX_(sigmaX), sigmaY_(sigmaY) {}

const std::vector<double>& GaussDerivatives::get(int orderX, int orderY) {
  const auto key = std::make_pair(orderX, orderY);
  auto found = done_.find(key);
  if (found != done_.end()) return found->second;
  const std::int32_t side = std::max(width_, height_);
  auto row = alongRows_.find(orderX);
  if (row == alongRows_.end()) {
    row = alongRows_
              .emplace(orderX,
                       correlateLines(plane_, width_, height_,
                                      gaussDerivativeKernel(sigmaX_, orderX, side), true, false))
              .first;
  }
  return done_
      .emplace(key, correlateLines(row->second, width_, height_,
                                   gaussDerivativeKernel(sigmaY_, orderY, side), false, false))
      .first->second;
}

}  // namespace Standin
}  // namespace HalconCpp
