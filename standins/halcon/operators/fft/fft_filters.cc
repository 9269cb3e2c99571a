// Filtering in the frequency domain: convol_fft's pixelwise product, gen_gauss_filter's
// Gaussian laid out as the transforms lay out frequencies, and the planning operators, which
// the stand-in's transforms do not need (every plan is made per call) but check as the
// reference defines them.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "core/pixel_type.h"
#include "core/threads.h"
#include "halconcpp/HOperatorsFft.h"
#include "operators/fft/fft_lanes.h"
#include "operators/fft/fft_transform.h"
#include "operators/fft/filter_layout.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

namespace fs = std::filesystem;

// The pixelwise product of channel c with the filter's channel fc straight from their planes
// into the result's, rows shared out: no spectra of doubles between them. Every product is
// std::complex's, a c - b d and a d + b c rounded apart, which it gives for every pair whose
// parts do not both come out NaN; those it makes again from infinities, and so do they here.
PlanePtr directProduct(const ImageObject& image, std::size_t c, const ImageObject& filter,
                       std::size_t fc, bool conjugate, const char* op) {
  auto plane = std::make_shared<Plane>(image.width, image.height, op, PixelType::Complex,
                                       Plane::Unwritten{});
  const float* in = image.channels[c]->as<float>();
  const bool complexFilter = filter.type() == PixelType::Complex;
  const float* weights = filter.channels[fc]->as<float>();
  float* out = plane->as<float>();
  const double lowest = lowestValue(PixelType::Complex), highest = highestValue(PixelType::Complex);
  const auto stored = [&](double v) {
    return static_cast<float>(std::isnan(v) ? v : std::clamp(v, lowest, highest));
  };
  const auto width = static_cast<std::size_t>(image.width);
  const std::int64_t pixels = std::int64_t{image.width} * image.height;
  forBands(image.height, bandsFor(image.height, pixels),
           [&](int, std::int64_t r0, std::int64_t r1) {
             const std::size_t end = static_cast<std::size_t>(r1) * width;
             std::size_t i = static_cast<std::size_t>(r0) * width;
             // The vectors stop short of a product they cannot make; it is made here.
             while (i < end) {
               i += productVectors(in + 2 * i, complexFilter ? weights + 2 * i : weights + i,
                                   complexFilter, conjugate, end - i, lowest, highest, out + 2 * i);
               if (i == end) break;
               const double a = in[2 * i], b = in[2 * i + 1];
               const double wr = complexFilter ? double(weights[2 * i]) : double(weights[i]);
               const double wi = complexFilter ? double(weights[2 * i + 1]) : 0.0;
               const Complex w(wr, conjugate ? -wi : wi);
               double x = a * w.real() - b * w.imag(), y = a * w.imag() + b * w.real();
               if (std::isnan(x) && std::isnan(y)) {
                 const Complex p = Complex(a, b) * w;
                 x = p.real(), y = p.imag();
               }
               out[2 * i] = stored(x);
               out[2 * i + 1] = stored(y);
               ++i;
             }
           });
  return plane;
}

// The pixelwise product of a spectrum with a filter (its conjugate for a correlation) of the
// same size: one filter channel serves every channel, otherwise channel c takes channel c.
ImagePtr spectrumProduct(const ImageObject& image, const ImageObject& filter, bool conjugate,
                         const char* op) {
  if (filter.channels.empty()) fail(op, 3032);
  if (image.width != filter.width || image.height != filter.height) fail(op, 3030);
  if (filter.channels.size() != 1 && filter.channels.size() != image.channels.size()) {
    fail(op, 3031);
  }
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image.channels.size(); ++c) {
    const std::size_t fc = filter.channels.size() == 1 ? 0 : c;
    if (vectorPathsEnabled()) {
      planes.push_back(directProduct(image, c, filter, fc, conjugate, op));
      continue;
    }
    Spectrum product(image.width, image.height, op);
    readChannel(image, c, product);
    Spectrum weights(filter.width, filter.height, op);
    readChannel(filter, fc, weights);
    for (std::size_t i = 0; i < product.size(); ++i) {
      product.data()[i] *= conjugate ? std::conj(weights.data()[i]) : weights.data()[i];
    }
    planes.push_back(planeOf(product, PixelType::Complex, 1, op));
  }
  return makeImage(image.width, image.height, std::move(planes));
}

void checkPlan(const HTuple& Width, const HTuple& Height, const HTuple& Mode, const char* op) {
  sideOf(Width, op, 1);
  sideOf(Height, op, 2);
  const std::string mode = oneString(Mode, op, 3);
  if (mode != "standard" && mode != "patient" && mode != "exhaustive") fail(op, 1303);
}

}  // namespace

void ConvolFft(const HObject& ImageFFT, const HObject& ImageFilter, HObject* ImageConvol) {
  ApiScope scope("ConvolFft");
  const char* op = "convol_fft";
  const std::vector<ImagePtr> images = imagesWithChannels(ImageFFT, op, 1, {PixelType::Complex});
  const ImagePtr filter = oneImage(ImageFilter, op, 2, {PixelType::Real, PixelType::Complex});
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : images) items.push_back(spectrumProduct(*image, *filter, false, op));
  setOutput(ImageConvol, objectOf(items));
}

// The correlation theorem's middle step: ImageFFT1 times the conjugate of ImageFFT2, pairwise,
// or every image of the first with the second's only one.
void CorrelationFft(const HObject& ImageFFT1, const HObject& ImageFFT2, HObject* ImageCorrelation) {
  ApiScope scope("CorrelationFft");
  const char* op = "correlation_fft";
  const std::vector<ImagePtr> first = imagesWithChannels(ImageFFT1, op, 1, {PixelType::Complex});
  const std::vector<ImagePtr> second = imagesWithChannels(ImageFFT2, op, 2, {PixelType::Complex});
  if (second.size() != first.size() && second.size() != 1) fail(op, 1502);
  std::vector<HObject::Item> items;
  for (std::size_t i = 0; i < first.size(); ++i) {
    items.push_back(spectrumProduct(*first[i], *second[second.size() == 1 ? 0 : i], true, op));
  }
  setOutput(ImageCorrelation, objectOf(items));
}

// The transform of a Gaussian of covariance S is exp(-2 pi^2 w' S w) at frequency w. S has
// Sigma1^2 along Phi (counter-clockwise from the column axis, rows pointing down) and
// Sigma2^2 across it.
void GenGaussFilter(HObject* ImageGauss, const HTuple& Sigma1, const HTuple& Sigma2,
                    const HTuple& Phi, const HTuple& Norm, const HTuple& Mode, const HTuple& Width,
                    const HTuple& Height) {
  ApiScope scope("GenGaussFilter");
  const char* op = "gen_gauss_filter";
  const double sigma1 = oneNumber(Sigma1, op, 1), sigma2 = oneNumber(Sigma2, op, 2);
  if (!(sigma1 >= 0) || !std::isfinite(sigma1)) fail(op, 1301);
  if (!(sigma2 >= 0) || !std::isfinite(sigma2)) fail(op, 1302);
  const double phi = oneNumber(Phi, op, 3);
  if (!std::isfinite(phi)) fail(op, 1303);
  const std::string norm = oneString(Norm, op, 4);
  if (norm != "none" && norm != "n") fail(op, 1304);
  const FilterLayout layout = layoutOf(Mode, op, 5);
  const std::int32_t width = sideOf(Width, op, 6), height = sideOf(Height, op, 7);
  const double divisor = norm == "n" ? double(width) * double(height) : 1;
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  constexpr double kTwoPiSquared = 2 * 3.14159265358979323846 * 3.14159265358979323846;
  setOutput(
      ImageGauss, frequencyFilter(layout, width, height, divisor, op, [&](double u, double v) {
        const double along = u * cosPhi - v * sinPhi;
        const double across = u * sinPhi + v * cosPhi;
        // Each sigma meets its frequency part first: a huge sigma at DC gives 0, not inf * 0.
        const double spreadAlong = sigma1 * along, spreadAcross = sigma2 * across;
        return std::exp(-kTwoPiSquared * (spreadAlong * spreadAlong + spreadAcross * spreadAcross));
      }));
}

void OptimizeFftSpeed(const HTuple& Width, const HTuple& Height, const HTuple& Mode) {
  ApiScope scope("OptimizeFftSpeed");
  checkPlan(Width, Height, Mode, "optimize_fft_speed");
}

void OptimizeRftSpeed(const HTuple& Width, const HTuple& Height, const HTuple& Mode) {
  ApiScope scope("OptimizeRftSpeed");
  checkPlan(Width, Height, Mode, "optimize_rft_speed");
}

// The stand-in keeps no plans: the file it writes only marks what it is, and reading accepts
// any readable file and ignores what it holds.
void ReadFftOptimizationData(const HTuple& FileName) {
  ApiScope scope("ReadFftOptimizationData");
  const char* op = "read_fft_optimization_data";
  const std::string name = oneString(FileName, op, 1);
  std::error_code error;
  if (name.empty() || !fs::is_regular_file(fs::u8path(name), error)) {
    fail(op, H_ERR_FILE_NOT_FOUND);
  }
  if (!std::ifstream(fs::u8path(name), std::ios::binary)) fail(op, H_ERR_FILE_NOT_FOUND);
}

void WriteFftOptimizationData(const HTuple& FileName) {
  ApiScope scope("WriteFftOptimizationData");
  const char* op = "write_fft_optimization_data";
  const std::string name = oneString(FileName, op, 1);
  std::ofstream out(fs::u8path(name), std::ios::binary | std::ios::trunc);
  if (name.empty() || !(out << "quorvex fft optimization data 1\n").flush()) {
    fail(op, H_ERR_FILE_WRITE);
  }
}

}  // namespace HalconCpp
