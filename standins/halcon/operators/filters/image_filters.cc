// Smoothing and edge filters on byte images. Each filters every channel over the whole
// image, mirrored at its edges, and keeps the input's domain.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image_results.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsImage.h"
#include "operators/filters/filter_images.h"
#include "operators/filters/image_kernels.h"
#include "operators/filters/rank_filters.h"
#include "operators/filters/sobel_signed.h"
#include "operators/filters/typed_rank.h"
#include "operators/image/typed_filters.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

struct SobelKind {
  SobelAmplitude amplitude;
  bool binomial;
  SobelAxis axis = SobelAxis::None;
};

SobelKind sobelKind(std::string name, const char* op) {
  const std::string suffix = "_binomial";
  const bool binomial = name.size() > suffix.size() &&
                        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  if (binomial) name.resize(name.size() - suffix.size());
  if (name == "sum_abs") return {SobelAmplitude::SumAbs, binomial};
  if (name == "sum_sqrt") return {SobelAmplitude::SumSqrt, binomial};
  if (name == "thin_sum_abs") return {SobelAmplitude::ThinSumAbs, binomial};
  if (name == "thin_max_abs") return {SobelAmplitude::ThinMaxAbs, binomial};
  if (name == "x") return {SobelAmplitude::SumAbs, binomial, SobelAxis::X};
  if (name == "y") return {SobelAmplitude::SumAbs, binomial, SobelAxis::Y};
  fail(op, 1301);
}

// gauss_image's sigma for its sizes 3, 5, ... 11, which do not grow linearly with the size.
constexpr double kGaussImageSigma[] = {0.65, 0.87, 1.43, 1.88, 2.31};

// Size 3 filters the image itself; a larger one smooths it first over Size - 2 pixels, with
// gauss_image's discrete Gaussian or, for the binomial types, binomial weights (one size, or
// the mask's width and height).
SobelSmoothing sobelSmoothing(const HTuple& size, bool binomial, const char* op) {
  if (!binomial) {
    const Hlong side = oneInteger(size, op, 2);
    if (side < 3 || side > 13 || side % 2 == 0) fail(op, 1302);
    SobelSmoothing smoothing;
    if (side > 3) {
      const std::vector<std::uint32_t> weights =
          gaussWeights(static_cast<std::int32_t>(side - 2), kGaussImageSigma[(side - 5) / 2]);
      for (const std::uint32_t w : weights) smoothing.alongRow.push_back(double(w) / kGaussUnit);
      smoothing.alongColumn = smoothing.alongRow;
    }
    return smoothing;
  }
  if (size.Length() != 1 && size.Length() != 2) fail(op, 1402);
  Hlong sides[2];
  for (Hlong i = 0; i < 2; ++i) {
    sides[i] = integerAt(size, std::min(i, size.Length() - 1), op, 2);
    if (sides[i] < 3 || sides[i] > 39 || sides[i] % 2 == 0) fail(op, 1302);
  }
  SobelSmoothing smoothing;
  if (sides[0] > 3 || sides[1] > 3) {
    smoothing.alongRow = binomialWeights(static_cast<std::int32_t>(sides[0] - 2));
    smoothing.alongColumn = binomialWeights(static_cast<std::int32_t>(sides[1] - 2));
  }
  return smoothing;
}

// mean_image's reference bounds its masks at 501; emphasize's names no largest mask, so it
// takes any up to twice the largest image side, past which a mirrored image repeats itself.
constexpr double kMeanLargestMask = 501, kEmphasizeLargestMask = 65535;

Hlong maskSide(const HTuple& value, const char* op, int n, double largest) {
  const double side = oneNumber(value, op, n);
  if (!(side >= 1 && side <= largest)) fail(op, 1300 + n);
  return static_cast<Hlong>(side);
}

// The mean each pixel of the extent holds becomes the mean less the pixel, zero at 128.
void highpassFromMean(const std::uint8_t* in, PlaneSize size, const Extent& extent,
                      std::uint8_t* out) {
  for (std::int32_t y = 0; y < size.height; ++y) {
    const std::size_t row = std::size_t(y) * std::size_t(size.width);
    for (std::int32_t x = extent.begin[std::size_t(y)]; x <= extent.end[std::size_t(y)]; ++x) {
      out[row + std::size_t(x)] =
          clampToByte(int(out[row + std::size_t(x)]) - int(in[row + std::size_t(x)]) + 128);
    }
  }
}

}  // namespace

void MeanImage(const HObject& Image, HObject* ImageMean, const HTuple& MaskWidth,
               const HTuple& MaskHeight) {
  ApiScope scope("MeanImage");
  const char* op = "mean_image";
  const auto w = static_cast<std::int32_t>(maskSide(MaskWidth, op, 1, kMeanLargestMask));
  const auto h = static_cast<std::int32_t>(maskSide(MaskHeight, op, 2, kMeanLargestMask));
  if (hasTypedImages(Image)) {
    setOutput(ImageMean, typedMeanFilter(Image, 2 * (w / 2) + 1, 2 * (h / 2) + 1, op));
    return;
  }
  setOutput(ImageMean,
            filterExtents(Image, op,
                          [&](const std::uint8_t* in, PlaneSize size, const Extent& extent,
                              std::uint8_t* out) { meanPlane(in, size, extent, w, h, out); }));
}

void MedianImage(const HObject& Image, HObject* ImageMedian, const HTuple& MaskType,
                 const HTuple& Radius, const HTuple& Margin) {
  ApiScope scope("MedianImage");
  const char* op = "median_image";
  const std::string type = oneString(MaskType, op, 1);
  const double radius = oneNumber(Radius, op, 2);
  requireLength(Margin, 1, op, 3);
  if (type != "circle" && type != "square") fail(op, 1301);
  if (!(radius >= 1 && radius <= 255)) fail(op, 1302);
  const TypedMargin margin = typedMarginOf(Margin, op, 3);
  const auto r = static_cast<std::int32_t>(radius);
  const Runs mask = type == "square" ? rectangleRuns(-r, -r, r, r) : circleRuns(0, 0, radius);
  setOutput(
      ImageMedian,
      rankFilterImages(
          Image, op,
          [&](const std::uint8_t* in, PlaneSize size, const Extent& extent, std::uint8_t* out) {
            medianPlane(in, size, extent, mask, byteMargin(margin, op, 3), out);
          },
          [&](const double* in, PlaneSize size, const Extent& extent, double* out) {
            rankDoubles(in, size, extent, mask, margin, std::size_t(runsArea(mask) / 2), out, op);
          }));
}

namespace {

// The discrete Gaussian of the sigma a table gives for each size 3, 5, ... 11, mirrored at the
// image's edges.
void gaussOfSize(const HObject& Image, HObject* ImageGauss, const HTuple& Size,
                 const double (&sigmas)[5], const char* op) {
  const Hlong size = oneInteger(Size, op, 1);
  if (size < 3 || size > 11 || size % 2 == 0) fail(op, 1301);
  const double sigma = sigmas[(size - 3) / 2];
  const std::vector<std::uint32_t> weights = gaussWeights(static_cast<std::int32_t>(size), sigma);
  if (hasTypedImages(Image)) {
    // Wider values than bytes show the byte road's parts of kGaussUnit: the samples exactly.
    std::vector<double> samples;
    double sum = 0;
    for (Hlong i = -size / 2; i <= size / 2; ++i) {
      samples.push_back(std::exp(-double(i * i) / (2 * sigma * sigma)));
      sum += samples.back();
    }
    for (double& w : samples) w /= sum;
    setOutput(ImageGauss, typedSeparableFilter(Image, samples, samples, kLinearFilterTypes, op));
    return;
  }
  setOutput(ImageGauss,
            filterExtents(Image, op,
                          [&](const std::uint8_t* in, PlaneSize s, const Extent& extent,
                              std::uint8_t* out) { gaussPlane(in, s, extent, weights, out); }));
}

}  // namespace

void GaussFilter(const HObject& Image, HObject* ImageGauss, const HTuple& Size) {
  ApiScope scope("GaussFilter");
  // The reference's sigma for each size: 0.6 and then 0.475 more for each two taps, but 2.55
  // at 11.
  constexpr double kSigma[] = {0.600, 1.075, 1.550, 2.025, 2.550};
  gaussOfSize(Image, ImageGauss, Size, kSigma, "gauss_filter");
}

// gauss_filter's predecessor: the same filter with the sigmas of its own page.
void GaussImage(const HObject& Image, HObject* ImageGauss, const HTuple& Size) {
  ApiScope scope("GaussImage");
  gaussOfSize(Image, ImageGauss, Size, kGaussImageSigma, "gauss_image");
}

void Emphasize(const HObject& Image, HObject* ImageEmphasize, const HTuple& MaskWidth,
               const HTuple& MaskHeight, const HTuple& Factor) {
  ApiScope scope("Emphasize");
  const char* op = "emphasize";
  const auto w = static_cast<std::int32_t>(maskSide(MaskWidth, op, 1, kEmphasizeLargestMask));
  const auto h = static_cast<std::int32_t>(maskSide(MaskHeight, op, 2, kEmphasizeLargestMask));
  const double factor = oneNumber(Factor, op, 3);
  setOutput(
      ImageEmphasize,
      filterExtents(
          Image, op,
          [&](const std::uint8_t* in, PlaneSize size, const Extent& extent, std::uint8_t* out) {
            meanPlane(in, size, extent, w, h, out);
            for (std::int32_t y = 0; y < size.height; ++y) {
              const auto row = static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width);
              const std::int32_t end = extent.end[static_cast<std::size_t>(y)];
              for (std::int32_t x = extent.begin[static_cast<std::size_t>(y)]; x <= end; ++x) {
                const std::size_t i = row + static_cast<std::size_t>(x);
                out[i] = clampToByte((double(in[i]) - out[i]) * factor + in[i]);
              }
            }
          }));
}

void SobelAmp(const HObject& Image, HObject* EdgeAmplitude, const HTuple& FilterType,
              const HTuple& Size) {
  ApiScope scope("SobelAmp");
  const char* op = "sobel_amp";
  const SobelKind kind = sobelKind(oneString(FilterType, op, 1), op);
  const SobelSmoothing smoothing = sobelSmoothing(Size, kind.binomial, op);
  if (kind.axis != SobelAxis::None) {
    setOutput(EdgeAmplitude, signedSobelImages(Image, op, kind.axis, smoothing));
    return;
  }
  setOutput(EdgeAmplitude,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize s, std::uint8_t* out) {
              sobelPlane(in, s, kind.amplitude, smoothing, out);
            }));
}

void HighpassImage(const HObject& Image, HObject* Highpass, const HTuple& Width,
                   const HTuple& Height) {
  ApiScope scope("HighpassImage");
  const char* op = "highpass_image";
  const auto w = static_cast<std::int32_t>(maskSide(Width, op, 1, kMeanLargestMask));
  const auto h = static_cast<std::int32_t>(maskSide(Height, op, 2, kMeanLargestMask));
  // mean_image's (rounded) mean less the pixel itself, zero at 128.
  setOutput(Highpass, filterExtents(Image, op,
                                    [&](const std::uint8_t* in, PlaneSize size,
                                        const Extent& extent, std::uint8_t* out) {
                                      meanPlane(in, size, extent, w, h, out);
                                      highpassFromMean(in, size, extent, out);
                                    }));
}

void SobelDir(const HObject& Image, HObject* EdgeAmplitude, HObject* EdgeDirection,
              const HTuple& FilterType, const HTuple& Size) {
  ApiScope scope("SobelDir");
  const char* op = "sobel_dir";
  const SobelKind kind = sobelKind(oneString(FilterType, op, 1), op);
  // The 11.0 page names 'sum_sqrt' and 'sum_abs' (and their binomial forms) only.
  if (kind.axis != SobelAxis::None || kind.amplitude == SobelAmplitude::ThinSumAbs ||
      kind.amplitude == SobelAmplitude::ThinMaxAbs) {
    fail(op, 1301);
  }
  const SobelSmoothing smoothing = sobelSmoothing(Size, kind.binomial, op);
  std::vector<HObject::Item> amplitudes, directions;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1)) {
    ImagePtr amplitude = imageLike(image, image->channels.size(), op);
    ImagePtr direction = imageLike(image, image->channels.size(), op, PixelType::Direction);
    const PlaneSize size{image->width, image->height};
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      sobelDirPlane(image->pixels(c), size, kind.amplitude, smoothing, amplitude->pixels(c),
                    direction->pixels(c));
    }
    amplitudes.push_back(std::move(amplitude));
    directions.push_back(std::move(direction));
  }
  setOutput(EdgeAmplitude, objectOf(amplitudes));
  setOutput(EdgeDirection, objectOf(directions));
}

}  // namespace HalconCpp
