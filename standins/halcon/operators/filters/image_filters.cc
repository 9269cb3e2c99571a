// Smoothing and edge filters on byte images. Each filters every channel over the whole
// image, mirrored at its edges, and keeps the input's domain.
#include <algorithm>
#include <cmath>
#include <string>

#include "core/image_results.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsImage.h"
#include "operators/filters/image_kernels.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

template <typename Filter>
HObject filterImages(const HObject& input, const char* op, Filter&& filter) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1)) {
    ImagePtr result = imageLike(image, image->channels.size(), op);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      filter(image->pixels(c), PlaneSize{image->width, image->height}, result->pixels(c));
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

Hlong maskSide(const HTuple& value, const char* op, int n) {
  const double side = oneNumber(value, op, n);
  if (!(side >= 1 && side <= 501)) fail(op, 1300 + n);
  return static_cast<Hlong>(side);
}

}  // namespace

void MeanImage(const HObject& Image, HObject* ImageMean, const HTuple& MaskWidth,
               const HTuple& MaskHeight) {
  ApiScope scope("MeanImage");
  const char* op = "mean_image";
  const auto w = static_cast<std::int32_t>(maskSide(MaskWidth, op, 1));
  const auto h = static_cast<std::int32_t>(maskSide(MaskHeight, op, 2));
  setOutput(ImageMean,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize size, std::uint8_t* out) {
              meanPlane(in, size, w, h, out);
            }));
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
  Standin::Margin margin;
  if (Margin[0].Type() == eElementTypeString) {
    const std::string name = Margin[0].S().str();
    if (name == "mirrored") {
      margin.kind = Margin::Mirrored;
    } else if (name == "cyclic") {
      margin.kind = Margin::Cyclic;
    } else if (name == "continued") {
      margin.kind = Margin::Continued;
    } else {
      fail(op, 1303);
    }
  } else {
    const double value = numberAt(Margin, 0, op, 3);
    if (!(value >= 0 && value <= 255)) fail(op, 1303);
    margin.kind = Margin::Constant;
    margin.value = static_cast<std::uint8_t>(std::lround(value));
  }
  const auto r = static_cast<std::int32_t>(radius);
  const Runs mask = type == "square" ? rectangleRuns(-r, -r, r, r) : circleRuns(0, 0, radius);
  setOutput(ImageMedian,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize size, std::uint8_t* out) {
              medianPlane(in, size, mask, margin, out);
            }));
}

void GaussFilter(const HObject& Image, HObject* ImageGauss, const HTuple& Size) {
  ApiScope scope("GaussFilter");
  const char* op = "gauss_filter";
  const Hlong size = oneInteger(Size, op, 1);
  if (size < 3 || size > 11 || size % 2 == 0) fail(op, 1301);
  setOutput(ImageGauss,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize s, std::uint8_t* out) {
              binomialPlane(in, s, static_cast<std::int32_t>(size), out);
            }));
}

void Emphasize(const HObject& Image, HObject* ImageEmphasize, const HTuple& MaskWidth,
               const HTuple& MaskHeight, const HTuple& Factor) {
  ApiScope scope("Emphasize");
  const char* op = "emphasize";
  const auto w = static_cast<std::int32_t>(maskSide(MaskWidth, op, 1));
  const auto h = static_cast<std::int32_t>(maskSide(MaskHeight, op, 2));
  const double factor = oneNumber(Factor, op, 3);
  setOutput(ImageEmphasize,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize size, std::uint8_t* out) {
              meanPlane(in, size, w, h, out);
              const std::size_t n =
                  static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height);
              for (std::size_t i = 0; i < n; ++i) {
                out[i] = clampToByte((double(in[i]) - out[i]) * factor + in[i]);
              }
            }));
}

void SobelAmp(const HObject& Image, HObject* EdgeAmplitude, const HTuple& FilterType,
              const HTuple& Size) {
  ApiScope scope("SobelAmp");
  const char* op = "sobel_amp";
  const std::string type = oneString(FilterType, op, 1);
  const Hlong size = oneInteger(Size, op, 2);
  if (type != "sum_abs" && type != "sum_sqrt") fail(op, 1301);
  if (size != 3) fail(op, 1302);
  const bool sqrtSum = type == "sum_sqrt";
  setOutput(EdgeAmplitude,
            filterImages(Image, op, [&](const std::uint8_t* in, PlaneSize s, std::uint8_t* out) {
              const auto px = [&](std::int32_t y, std::int32_t x) {
                return int(in[static_cast<std::size_t>(mirroredIndex(y, s.height)) *
                                  static_cast<std::size_t>(s.width) +
                              static_cast<std::size_t>(mirroredIndex(x, s.width))]);
              };
              for (std::int32_t y = 0; y < s.height; ++y) {
                for (std::int32_t x = 0; x < s.width; ++x) {
                  // The masks' weights sum to 4 on each side: dividing by 4 keeps bytes.
                  const int a = px(y - 1, x - 1) + 2 * px(y - 1, x) + px(y - 1, x + 1) -
                                px(y + 1, x - 1) - 2 * px(y + 1, x) - px(y + 1, x + 1);
                  const int b = px(y - 1, x - 1) + 2 * px(y, x - 1) + px(y + 1, x - 1) -
                                px(y - 1, x + 1) - 2 * px(y, x + 1) - px(y + 1, x + 1);
                  const double amplitude = sqrtSum ? std::sqrt(double(a) * a + double(b) * b)
                                                   : std::abs(a) + std::abs(b);
                  out[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) +
                      static_cast<std::size_t>(x)] = clampToByte(amplitude / 4);
                }
              }
            }));
}

}  // namespace HalconCpp
