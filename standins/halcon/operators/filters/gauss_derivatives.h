// Derivatives of a sampled Gaussian, shared by derivate_gauss, laplace_of_gauss, diff_of_gauss
// and lines_gauss: planes of doubles filtered along the rows and down the columns, the image
// mirrored at its edges.
#ifndef QUORVEX_STANDINS_HALCON_GAUSS_DERIVATIVES_H
#define QUORVEX_STANDINS_HALCON_GAUSS_DERIVATIVES_H

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace HalconCpp {
namespace Standin {

// The Gaussian exp(-n^2 / 2 sigma^2) sampled out to where it weighs below 10^-9 of its centre,
// but no farther than the image's larger side, which the mirrored image repeats anyway.
std::int32_t gaussianHalf(double sigma, std::int32_t largestSide);

// The kernels of derivative order 0 ... 3, each a polynomial times the sampled Gaussian scaled
// so that it gives a polynomial's derivative exactly: order 0 sums to 1, order 1 gives 1 on n,
// order 2 gives 0 on 1 and 2 on n^2, order 3 gives 0 on n and 6 on n^3.
std::vector<double> gaussDerivativeKernel(double sigma, int order, std::int32_t largestSide);

// The derivatives of one plane, d^(i+j) / dx^i dy^j with x along the row (the column index)
// and y down the column (the row index), each made once when first asked for.
class GaussDerivatives {
 public:
  GaussDerivatives(std::vector<double> plane, std::int32_t width, std::int32_t height,
                   double sigmaX, double sigmaY);
  const std::vector<double>& get(int orderX, int orderY);

 private:
  std::vector<double> plane_;
  std::int32_t width_, height_;
  double sigmaX_, sigmaY_;
  std::map<int, std::vector<double>> alongRows_;  // by orderX: the pass along each row
  std::map<std::pair<int, int>, std::vector<double>> done_;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
