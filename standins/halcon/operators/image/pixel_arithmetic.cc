// The arithmetic operators beyond the four basic ones: division of two images, square roots,
// logarithms, exponentials and powers, the deviation across channels and illuminate. Each reads
// every pixel of every channel in doubles; integer results are rounded to the nearest value and
// clipped to their type.
#include <cmath>
#include <string>
#include <vector>

#include "core/params.h"
#include "halconcpp/HOperatorsFilters.h"
#include "halconcpp/HOperatorsPixels.h"
#include "operators/image/typed_images.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

constexpr PixelTypes kNumericTypes{PixelType::Byte,  PixelType::Int1, PixelType::Int2,
                                   PixelType::Uint2, PixelType::Int4, PixelType::Real};

// f(g) of every pixel into a real image of the input's size and domain: the logarithm,
// exponential and power pages give real results for every input type.
template <typename F>
HObject mapToReal(const HObject& input, const char* op, F&& f) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, kNumericTypes)) {
    ImagePtr result = imageLike(image, image->channels.size(), op, PixelType::Real);
    const PixelReader read = readerOf(image->type());
    const PixelWriter write = writerOf(PixelType::Real);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        write(result->pixels(c), i, f(read(image->pixels(c), i)));
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

// 'e' or a positive number; the logarithm also refuses 1, whose logarithm is 0.
double baseOf(const HTuple& base, const char* op, bool logarithm) {
  requireLength(base, 1, op, 1);
  if (base[0].Type() == eElementTypeString) {
    if (base[0].S().str() != std::string("e")) fail(op, 1301);
    return std::exp(1.0);
  }
  const double value = numberAt(base, 0, op, 1);
  if (!(value > 0) || !std::isfinite(value) || (logarithm && value == 1)) fail(op, 1301);
  return value;
}

// Overflows beyond a float hold the largest float (storableValue clips); NaN, which an
// undefined power gives, holds 0.
double finiteOrZero(double value) {
  return std::isnan(value) ? 0 : value;
}

}  // namespace

void DivImage(const HObject& Image1, const HObject& Image2, HObject* ImageResult,
              const HTuple& Mult, const HTuple& Add) {
  ApiScope scope("DivImage");
  const char* op = "div_image";
  const double mult = oneNumber(Mult, op, 1), add = oneNumber(Add, op, 2);
  setOutput(ImageResult,
            mapTypedPairs(Image1, Image2, op, kNumericTypes, [mult, add](double a, double b) {
              return b == 0 ? 0.0 : a / b * mult + add;
            }));
}

// Negative values have no square root: they give 0.
void SqrtImage(const HObject& Image, HObject* SqrtImage) {
  ApiScope scope("SqrtImage");
  setOutput(SqrtImage, mapTyped(Image, "sqrt_image", kNumericTypes,
                                [](double g) { return g > 0 ? std::sqrt(g) : 0.0; }));
}

void LogImage(const HObject& Image, HObject* LogImage, const HTuple& Base) {
  ApiScope scope("LogImage");
  const char* op = "log_image";
  const double lnBase = std::log(baseOf(Base, op, true));
  setOutput(LogImage, mapToReal(Image, op,
                                [lnBase](double g) { return g > 0 ? std::log(g) / lnBase : 0.0; }));
}

void ExpImage(const HObject& Image, HObject* ExpImage, const HTuple& Base) {
  ApiScope scope("ExpImage");
  const char* op = "exp_image";
  const double base = baseOf(Base, op, false);
  setOutput(ExpImage, mapToReal(Image, op, [base](double g) { return std::pow(base, g); }));
}

void PowImage(const HObject& Image, HObject* PowImage, const HTuple& Exponent) {
  ApiScope scope("PowImage");
  const char* op = "pow_image";
  const double exponent = oneNumber(Exponent, op, 1);
  if (!std::isfinite(exponent)) fail(op, 1301);
  setOutput(PowImage, mapToReal(Image, op, [exponent](double g) {
              return finiteOrZero(std::pow(g, exponent));
            }));
}

// 2 * sqrt(sum (g_c - mean)^2 / (n - 1)) over the n channels of each pixel, the sample
// deviation; an image of one channel has none (0).
void DeviationN(const HObject& Image, HObject* ImageDeviation) {
  ApiScope scope("DeviationN");
  const char* op = "deviation_n";
  const PixelTypes types{PixelType::Byte, PixelType::Int2, PixelType::Uint2, PixelType::Int4,
                         PixelType::Real};
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(Image, op, 1, types)) {
    const PixelType type = image->type();
    ImagePtr result = imageLike(image, 1, op, type);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    const std::size_t n = image->channels.size();
    for (std::size_t i = 0, count = pixelCount(*image); i < count; ++i) {
      double sum = 0, squares = 0;
      for (std::size_t c = 0; c < n; ++c) sum += read(image->pixels(c), i);
      const double mean = sum / double(n);
      for (std::size_t c = 0; c < n; ++c) {
        const double d = read(image->pixels(c), i) - mean;
        squares += d * d;
      }
      write(result->pixels(0), i, n > 1 ? 2 * std::sqrt(squares / double(n - 1)) : 0.0);
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageDeviation, objectOf(items));
}

// round((val - mean) * Factor + orig) with mean the mean_image of the mask and val the middle
// of the type's range: 127 for byte, 32767 for uint2, 0 for int2.
void Illuminate(const HObject& Image, HObject* ImageIlluminate, const HTuple& MaskWidth,
                const HTuple& MaskHeight, const HTuple& Factor) {
  ApiScope scope("Illuminate");
  const char* op = "illuminate";
  const double factor = oneNumber(Factor, op, 3);
  if (!(factor > 0 && factor < 5)) fail(op, 1303);
  const PixelTypes types{PixelType::Byte, PixelType::Int2, PixelType::Uint2};
  const std::vector<ImagePtr> images = imagesWithChannels(Image, op, 1, types);
  HObject means;
  MeanImage(Image, &means, MaskWidth, MaskHeight);
  const std::vector<ImagePtr> meanImages = imagesOf(means, op, 1, types);
  std::vector<HObject::Item> items;
  for (std::size_t k = 0; k < images.size(); ++k) {
    const ImagePtr& image = images[k];
    const PixelType type = image->type();
    const double middle = type == PixelType::Byte ? 127 : type == PixelType::Uint2 ? 32767 : 0;
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    const PixelReader read = readerOf(type);
    const PixelWriter write = writerOf(type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      for (std::size_t i = 0, n = pixelCount(*image); i < n; ++i) {
        const double mean = read(meanImages[k]->pixels(c), i);
        write(result->pixels(c), i, (middle - mean) * factor + read(image->pixels(c), i));
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageIlluminate, objectOf(items));
}

}  // namespace HalconCpp
