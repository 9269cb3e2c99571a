// The transforms themselves: fft_generic with each of the reference's choices (direction,
// sign of the exponent, normalising factor, place of the DC term, result type), fft_image and
// fft_image_inv as two fixed sets of those choices, and rft_generic, which keeps only the
// left half (Width/2 + 1 columns) of a real image's spectrum, the right half being its
// conjugate mirror. Every transform covers the whole image: the domain does not limit a
// Fourier transform's sum, and results have the full domain.
#include <string>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFft.h"
#include "operators/fft/fft_transform.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

bool toFrequencies(const HTuple& direction, const char* op, int n) {
  const std::string name = oneString(direction, op, n);
  if (name != "to_freq" && name != "from_freq") fail(op, 1300 + n);
  return name == "to_freq";
}

double divisorOf(const HTuple& norm, double count, const char* op, int n) {
  double divisor = 1;
  if (!normDivisor(oneString(norm, op, n), count, &divisor)) fail(op, 1300 + n);
  return divisor;
}

PixelType resultTypeOf(const HTuple& resultType, const char* op, int n) {
  PixelType type;
  if (!pixelTypeOf(oneString(resultType, op, n), &type)) fail(op, 1300 + n);
  return type;
}

struct GenericChoices {
  bool toFreq;
  int exponent;
  std::string norm;
  bool dcCenter;
  PixelType resultType;
};

HObject transformed(const HObject& input, const GenericChoices& choices, const char* op) {
  std::vector<HObject::Item> items;
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, PixelTypes::all())) {
    const std::int32_t width = image->width, height = image->height;
    const double count = double(width) * double(height);
    double divisor = 1;
    normDivisor(choices.norm, count, &divisor);
    std::vector<PlanePtr> planes;
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      Spectrum spectrum(width, height, op);
      readChannel(*image, c, spectrum);
      // With the DC term in the centre, the spectrum side is shifted by half the size: after
      // the transform going to frequencies, before it coming back.
      if (choices.dcCenter && !choices.toFreq) rotate(spectrum, -(height / 2), -(width / 2), op);
      transform2d(spectrum, choices.exponent, op, finiteChannel(*image, c));
      if (choices.dcCenter && choices.toFreq) rotate(spectrum, height / 2, width / 2, op);
      planes.push_back(planeOf(spectrum, choices.resultType, divisor, op));
    }
    items.push_back(makeImage(width, height, std::move(planes)));
  }
  return objectOf(items);
}

// The left half of the transform of a real image, columns 0 ... width/2: the rows two at a
// time, the columns only where the half keeps them.
ImagePtr halfSpectrum(const ImageObject& image, double divisor, const char* op) {
  const std::int32_t half = image.width / 2 + 1;
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image.channels.size(); ++c) {
    Spectrum left(half, image.height, op);
    transformRealRows(image, c, left, op);
    planes.push_back(columnsToPlane(left, -1, divisor, op, finiteChannel(image, c)));
  }
  return makeImage(half, image.height, std::move(planes));
}

// The real image of `width` columns whose half spectrum is `image`. Once the columns are
// transformed back, each row is the spectrum of a real row, so its missing columns are the
// conjugates of their mirrors, G(r, c) = conj(G(r, width - c)).
ImagePtr fromHalfSpectrum(const ImageObject& image, std::int32_t width, PixelType type,
                          const char* norm, const char* op) {
  const std::int32_t height = image.height;
  double divisor = 1;
  normDivisor(norm, double(width) * double(height), &divisor);
  std::vector<PlanePtr> planes;
  for (std::size_t c = 0; c < image.channels.size(); ++c) {
    Spectrum full(width, height, op);
    {
      Spectrum half(image.width, height, op);
      readChannel(image, c, half);
      transformColumns(half, 1, op, finiteChannel(image, c));
      for (std::int32_t r = 0; r < height; ++r) {
        for (std::int32_t col = 0; col < width; ++col) {
          full.at(r, col) =
              col < image.width ? half.at(r, col) : std::conj(half.at(r, width - col));
        }
      }
    }
    transformRows(full, 1, op);
    planes.push_back(planeOf(full, type, divisor, op));
  }
  return makeImage(width, height, std::move(planes));
}

}  // namespace

void FftGeneric(const HObject& Image, HObject* ImageFFT, const HTuple& Direction,
                const HTuple& Exponent, const HTuple& Norm, const HTuple& Mode,
                const HTuple& ResultType) {
  ApiScope scope("FftGeneric");
  const char* op = "fft_generic";
  GenericChoices choices{};
  choices.toFreq = toFrequencies(Direction, op, 1);
  const Hlong exponent = oneInteger(Exponent, op, 2);
  if (exponent != 1 && exponent != -1) fail(op, 1302);
  choices.exponent = static_cast<int>(exponent);
  choices.norm = oneString(Norm, op, 3);
  divisorOf(Norm, 1, op, 3);
  const std::string mode = oneString(Mode, op, 4);
  if (mode != "dc_center" && mode != "dc_edge") fail(op, 1304);
  choices.dcCenter = mode == "dc_center";
  choices.resultType = resultTypeOf(ResultType, op, 5);
  setOutput(ImageFFT, transformed(Image, choices, op));
}

void FftImage(const HObject& Image, HObject* ImageFFT) {
  ApiScope scope("FftImage");
  setOutput(ImageFFT,
            transformed(Image, {true, -1, "sqrt", true, PixelType::Complex}, "fft_image"));
}

void FftImageInv(const HObject& Image, HObject* ImageFFTInv) {
  ApiScope scope("FftImageInv");
  setOutput(ImageFFTInv,
            transformed(Image, {false, 1, "sqrt", true, PixelType::Complex}, "fft_image_inv"));
}

void RftGeneric(const HObject& Image, HObject* ImageFFT, const HTuple& Direction,
                const HTuple& Norm, const HTuple& ResultType, const HTuple& Width) {
  ApiScope scope("RftGeneric");
  const char* op = "rft_generic";
  const bool toFreq = toFrequencies(Direction, op, 1);
  const std::string norm = oneString(Norm, op, 2);
  divisorOf(Norm, 1, op, 2);
  const PixelType type = resultTypeOf(ResultType, op, 3);
  const Hlong width = oneInteger(Width, op, 4);
  std::vector<HObject::Item> items;
  if (toFreq) {
    // Going to frequencies the result is complex by definition, and Width plays no part.
    if (type != PixelType::Complex) fail(op, 1303);
    for (const ImagePtr& image : imagesWithChannels(Image, op, 1, kRealValuedTypes)) {
      double divisor = 1;
      normDivisor(norm, double(image->width) * double(image->height), &divisor);
      items.push_back(halfSpectrum(*image, divisor, op));
    }
  } else {
    for (const ImagePtr& image : imagesWithChannels(Image, op, 1, {PixelType::Complex})) {
      // Only these two widths have image->width columns as their half spectrum.
      if (width != 2 * Hlong(image->width) - 2 && width != 2 * Hlong(image->width) - 1) {
        fail(op, 1304);
      }
      if (width < 1 || width > kMaxImageSide) fail(op, 1304);
      items.push_back(
          fromHalfSpectrum(*image, static_cast<std::int32_t>(width), type, norm.c_str(), op));
    }
  }
  setOutput(ImageFFT, objectOf(items));
}

}  // namespace HalconCpp
