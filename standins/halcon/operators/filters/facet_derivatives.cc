#include "operators/filters/facet_derivatives.h"

#include <cstddef>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

namespace {

// `in` correlated with `weights` (odd, centred) along each row (`alongRows`) or down each
// column, the plane mirrored at its edges.
std::vector<double> pass(const std::vector<double>& in, std::int32_t width, std::int32_t height,
                         const std::vector<double>& weights, bool alongRows) {
  const auto half = static_cast<std::int32_t>(weights.size() / 2);
  std::vector<double> out(in.size());
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t c = 0; c < width; ++c) {
      double sum = 0;
      for (std::int32_t k = -half; k <= half; ++k) {
        const std::int32_t rr = alongRows ? r : mirroredIndex(r + k, height);
        const std::int32_t cc = alongRows ? mirroredIndex(c + k, width) : c;
        sum += weights[std::size_t(k + half)] *
               in[std::size_t(rr) * std::size_t(width) + std::size_t(cc)];
      }
      out[std::size_t(r) * std::size_t(width) + std::size_t(c)] = sum;
    }
  }
  return out;
}

}  // namespace

FacetDerivatives facetDerivatives(const std::vector<double>& plane, std::int32_t width,
                                  std::int32_t height, std::int32_t size) {
  // On a square window symmetric about its centre the monomials 1, x, y, x^2 - m, xy and
  // y^2 - m (m the mean of x^2) are orthogonal, so each coefficient of the fit is one
  // correlation, the window against the monomial over the monomial's sum of squares; each
  // monomial is a product of one in x and one in y, so the correlation is separable.
  const std::int32_t half = size / 2;
  std::vector<double> ones, linear, square;
  double s2 = 0, s4 = 0;
  for (std::int32_t i = -half; i <= half; ++i) s2 += double(i) * i, s4 += double(i) * i * i * i;
  const double n = size, m = s2 / n;
  for (std::int32_t i = -half; i <= half; ++i) {
    ones.push_back(1), linear.push_back(i), square.push_back(double(i) * i - m);
  }
  const double firstNorm = n * s2, mixedNorm = s2 * s2, secondNorm = n * (s4 - s2 * m);
  const std::vector<double> rowSum = pass(plane, width, height, ones, true);
  const std::vector<double> rowLinear = pass(plane, width, height, linear, true);
  const std::vector<double> rowSquare = pass(plane, width, height, square, true);
  FacetDerivatives d;
  d.x = pass(rowLinear, width, height, ones, false);
  d.y = pass(rowSum, width, height, linear, false);
  d.xx = pass(rowSquare, width, height, ones, false);
  d.xy = pass(rowLinear, width, height, linear, false);
  d.yy = pass(rowSum, width, height, square, false);
  // The quadratic's coefficient of x^2 is half its second derivative.
  for (std::size_t i = 0; i < d.x.size(); ++i) {
    d.x[i] /= firstNorm, d.y[i] /= firstNorm, d.xy[i] /= mixedNorm;
    d.xx[i] *= 2 / secondNorm, d.yy[i] *= 2 / secondNorm;
  }
  return d;
}

}  // namespace Standin
}  // namespace HalconCpp
