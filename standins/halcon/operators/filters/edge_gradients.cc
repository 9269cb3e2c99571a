#include "operators/filters/edge_gradients.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "core/threads.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

bool edgeFilterOf(const std::string& name, EdgeFilter* filter) {
  // Lanser's filters are Deriche's with the bias of the recursion corrected, and 'mshen' is
  // Shen's in the same way: sampled exactly, as here, they coincide.
  if (name == "canny") return *filter = EdgeFilter::Canny, true;
  if (name == "sobel_fast") return *filter = EdgeFilter::SobelFast, true;
  if (name == "deriche1" || name == "lanser1") return *filter = EdgeFilter::Deriche1, true;
  if (name == "deriche2" || name == "lanser2") return *filter = EdgeFilter::Deriche2, true;
  if (name == "shen" || name == "mshen") return *filter = EdgeFilter::Shen, true;
  return false;
}

namespace {

// The Gaussian of sigma out to 3 sigma and its derivative.
void gaussKernels(double sigma, EdgeKernels* k) {
  const auto half = static_cast<std::int32_t>(std::ceil(3 * sigma));
  double sum = 0, moment = 0;
  for (std::int32_t n = -half; n <= half; ++n) {
    const double g = std::exp(-0.5 * n * n / (sigma * sigma));
    k->smooth.push_back(g);
    k->derive.push_back(n * g);
    sum += g;
    moment += n * n * g;
  }
  for (double& g : k->smooth) g /= sum;
  for (double& d : k->derive) d /= moment;
}

// The recursive filters' kernels, normalised by the sums over all n in closed form, so that
// cutting the kernel at the image's side (beyond which it reads only zeros) changes nothing.
void recursiveKernels(EdgeFilter filter, double alpha, std::int32_t largestSide, EdgeKernels* k) {
  alpha = std::min(alpha, 30.0);
  const double r = std::exp(-alpha), q = -std::expm1(-alpha);  // q = 1 - r, exact for small alpha
  const double s0 = r / q, s1 = r / (q * q), s2 = r * (1 + r) / (q * q * q);
  const std::complex<double> z = std::polar(r, alpha);
  const std::complex<double> z0 = z / (1.0 - z), z1 = z / ((1.0 - z) * (1.0 - z));
  double total = 1, moment = 0;
  switch (filter) {
    case EdgeFilter::Deriche1:
      total = 1 + 2 * (s0 + alpha * s1), moment = 2 * s2;
      break;
    case EdgeFilter::Deriche2:
      total = 1 + 2 * (z0.imag() + z0.real()), moment = 2 * z1.imag();
      break;
    default:
      total = 1 + 2 * s0, moment = 2 * s1;
      break;
  }
  // The weights fall below 10^-9 of the centre by 25 / alpha.
  const double reach = std::min<double>(std::ceil(25 / alpha), std::max(1, largestSide));
  const auto half = static_cast<std::int32_t>(reach);
  for (std::int32_t n = -half; n <= half; ++n) {
    const double a = std::abs(n), decay = std::pow(r, a), sign = n < 0 ? -1.0 : 1.0;
    double s = decay, d = sign * decay;
    if (n == 0) d = 0;
    if (filter == EdgeFilter::Deriche1) s = (1 + alpha * a) * decay, d = n * decay;
    if (filter == EdgeFilter::Deriche2) {
      s = (std::sin(alpha * a) + std::cos(alpha * a)) * decay;
      d = sign * std::sin(alpha * a) * decay;
    }
    k->smooth.push_back(s / total);
    k->derive.push_back(d / moment);
  }
  if (!(std::isfinite(total) && std::isfinite(moment) && total != 0 && moment != 0)) {
    k->smooth = {0, 1, 0};
    k->derive = {-0.5, 0, 0.5};
  }
}

}  // namespace

EdgeKernels edgeKernels(EdgeFilter filter, double alpha, std::int32_t largestSide) {
  EdgeKernels k;
  switch (filter) {
    case EdgeFilter::Canny:
      gaussKernels(alpha, &k);
      break;
    case EdgeFilter::SobelFast:
      k.smooth = {0.25, 0.5, 0.25};
      k.derive = {-0.5, 0, 0.5};
      break;
    default:
      k.zeroBorder = true;
      recursiveKernels(filter, alpha, largestSide, &k);
      break;
  }
  return k;
}

namespace {

struct Correlation {
  const double* src;
  std::int32_t w, h;
  const std::vector<double>* kernel;
  bool alongCols, zeroBorder, odd;
  const double* zeros;
  double* dst;
};

// Tap k's line for output row r: a whole row down the column, or the row's continuation
// `extended` shifted by k.
inline __attribute__((always_inline)) const double* tapLine(const Correlation& job,
                                                            const double* extended, std::int32_t r,
                                                            std::size_t k) {
  if (job.alongCols) return extended + k;
  const auto half = static_cast<std::int32_t>(job.kernel->size() / 2);
  const std::int32_t j = r + static_cast<std::int32_t>(k) - half;
  if ((j < 0 || j >= job.h) && job.zeroBorder) return job.zeros;
  return job.src + static_cast<std::size_t>(mirroredIndex(j, job.h)) * std::size_t(job.w);
}

// Each output line is a sum of whole lines, scaled and added tap by tap in the kernel's order:
// every pixel is summed in the same order whichever band computes it.
inline __attribute__((always_inline)) void correlateRows(const Correlation& job, std::int32_t r0,
                                                         std::int32_t r1) {
  const std::vector<double>& kernel = *job.kernel;
  const std::size_t taps = kernel.size(), centre = taps / 2;
  const auto half = static_cast<std::int32_t>(centre);
  const std::int32_t w = job.w;
  const auto width = static_cast<std::size_t>(w);
  // Along a row, the row continued beyond its ends once, so that tap k of pixel c is
  // element c + k.
  std::vector<double> extended(job.alongCols ? width + 2 * std::size_t(half) : 0);
  for (std::int32_t r = r0; r < r1; ++r) {
    double* out = job.dst + static_cast<std::size_t>(r) * width;
    if (job.alongCols) {
      const double* row = job.src + static_cast<std::size_t>(r) * width;
      for (std::size_t i = 0; i < extended.size(); ++i) {
        const std::int32_t j = static_cast<std::int32_t>(i) - half;
        extended[i] = (j < 0 || j >= w) && job.zeroBorder ? 0.0 : row[mirroredIndex(j, w)];
      }
    }
    for (std::size_t k = 0; k < (job.odd ? centre : taps); ++k) {
      const double* line = tapLine(job, extended.data(), r, k);
      const double weight = kernel[k];
      if (job.odd) {
        const double* mirror = tapLine(job, extended.data(), r, taps - 1 - k);
        for (std::size_t c = 0; c < width; ++c) out[c] += weight * (line[c] - mirror[c]);
      } else {
        for (std::size_t c = 0; c < width; ++c) out[c] += weight * line[c];
      }
    }
  }
}

void correlateRowsPlain(const Correlation& job, std::int32_t r0, std::int32_t r1) {
  correlateRows(job, r0, r1);
}

#if QUORVEX_KERNELS_AVX2
// The same sums in vectors twice as wide; no fused multiply-add, as the target is AVX2 alone.
__attribute__((target("avx2"))) void correlateRowsAvx2(const Correlation& job, std::int32_t r0,
                                                       std::int32_t r1) {
  correlateRows(job, r0, r1);
}
#endif

}  // namespace

std::vector<double> correlateLines(const std::vector<double>& src, std::int32_t w, std::int32_t h,
                                   const std::vector<double>& kernel, bool alongCols,
                                   bool zeroBorder) {
  // An odd kernel takes differences of the pixels it weighs alike, so that a derivative over
  // a constant stretch is exactly 0 rather than the rounding of its sums.
  const std::size_t taps = kernel.size(), centre = taps / 2;
  bool odd = kernel[centre] == 0;
  for (std::size_t k = 0; k < centre && odd; ++k) odd = kernel[k] == -kernel[taps - 1 - k];
  const auto width = static_cast<std::size_t>(w);
  std::vector<double> dst(src.size(), 0.0);
  if (w < 1 || h < 1) return dst;
  const std::vector<double> zeros(width, 0.0);
  const Correlation job{src.data(),   w,         h, &kernel, alongCols, zeroBorder, odd,
                        zeros.data(), dst.data()};
  const std::int64_t work = std::int64_t{w} * h * static_cast<std::int64_t>(odd ? centre : taps);
  forBands(h, bandsFor(h, work), [&](int, std::int64_t r0, std::int64_t r1) {
    const auto y0 = static_cast<std::int32_t>(r0), y1 = static_cast<std::int32_t>(r1);
#if QUORVEX_KERNELS_AVX2
    if (vectorPathsEnabled() && cpuHasAvx2()) return correlateRowsAvx2(job, y0, y1);
#endif
    correlateRowsPlain(job, y0, y1);
  });
  return dst;
}

Gradients gradientsOf(const std::vector<double>& plane, std::int32_t width, std::int32_t height,
                      EdgeFilter filter, double alpha) {
  Gradients g;
  g.width = width, g.height = height;
  const EdgeKernels k = edgeKernels(filter, alpha, std::max(width, height));
  const auto pass = [&](const std::vector<double>& in, const std::vector<double>& kernel,
                        bool alongCols) {
    return correlateLines(in, width, height, kernel, alongCols, k.zeroBorder);
  };
  g.gr = pass(pass(plane, k.smooth, true), k.derive, false);
  g.gc = pass(pass(plane, k.smooth, false), k.derive, true);
  g.amp.resize(plane.size());
  forBands(height, bandsFor(height, std::int64_t{width} * height),
           [&](int, std::int64_t r0, std::int64_t r1) {
             for (std::size_t i = g.at(static_cast<std::int32_t>(r0), 0);
                  i < g.at(static_cast<std::int32_t>(r1), 0); ++i) {
               g.amp[i] = std::sqrt(g.gr[i] * g.gr[i] + g.gc[i] * g.gc[i]);
             }
           });
  return g;
}

}  // namespace Standin
}  // namespace HalconCpp
