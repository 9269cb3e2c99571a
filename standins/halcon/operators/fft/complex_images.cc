// Complex images built from and taken apart into real ones, and the spectrum's magnitude and
// phase. Every result keeps its input's size and domain.
#include <cmath>
#include <utility>
#include <vector>

#include "core/image_results.h"
#include "core/numbers.h"
#include "core/params.h"
#include "core/pixel_access.h"
#include "halconcpp/HOperatorsFft.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

std::size_t countOf(const ImageObject& image) {
  return static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

// f(real part, imaginary part) for every pixel of complex images, stored as `type`.
template <typename F>
HObject mapComplex(const HObject& input, const char* op, PixelType type, F&& f) {
  std::vector<HObject::Item> items;
  const PixelWriter write = writerOf(type);
  for (const ImagePtr& image : imagesWithChannels(input, op, 1, {PixelType::Complex})) {
    ImagePtr result = imageLike(image, image->channels.size(), op, type);
    for (std::size_t c = 0; c < image->channels.size(); ++c) {
      const float* parts = image->channels[c]->as<float>();
      for (std::size_t i = 0, n = countOf(*image); i < n; ++i) {
        write(result->pixels(c), i, f(double(parts[2 * i]), double(parts[2 * i + 1])));
      }
    }
    items.push_back(std::move(result));
  }
  return objectOf(items);
}

}  // namespace

void RealToComplex(const HObject& ImageReal, const HObject& ImageImaginary, HObject* ImageComplex) {
  ApiScope scope("RealToComplex");
  const char* op = "real_to_complex";
  std::vector<HObject::Item> items;
  for (const auto& [re, im] : imagePairs(ImageReal, ImageImaginary, op, {PixelType::Real})) {
    ImagePtr result = imageLike(re, re->channels.size(), op, PixelType::Complex);
    for (std::size_t c = 0; c < re->channels.size(); ++c) {
      const float *x = re->channels[c]->as<float>(), *y = im->channels[c]->as<float>();
      float* out = result->channels[c]->as<float>();
      for (std::size_t i = 0, n = countOf(*re); i < n; ++i)
        out[2 * i] = x[i], out[2 * i + 1] = y[i];
    }
    items.push_back(std::move(result));
  }
  setOutput(ImageComplex, objectOf(items));
}

void ComplexToReal(const HObject& ImageComplex, HObject* ImageReal, HObject* ImageImaginary) {
  ApiScope scope("ComplexToReal");
  const char* op = "complex_to_real";
  setOutput(ImageReal,
            mapComplex(ImageComplex, op, PixelType::Real, [](double re, double) { return re; }));
  setOutput(ImageImaginary,
            mapComplex(ImageComplex, op, PixelType::Real, [](double, double im) { return im; }));
}

// The spectrum's magnitude, sqrt(re^2 + im^2).
void PowerReal(const HObject& Image, HObject* ImageResult) {
  ApiScope scope("PowerReal");
  setOutput(ImageResult,
            mapComplex(Image, "power_real", PixelType::Real, std::hypot<double, double>));
}

// The magnitude as a byte image: rounded, and clipped at 255.
void PowerByte(const HObject& Image, HObject* PowerByteOut) {
  ApiScope scope("PowerByte");
  setOutput(PowerByteOut,
            mapComplex(Image, "power_byte", PixelType::Byte, std::hypot<double, double>));
}

// atan2(im, re), in -pi ... pi.
void PhaseRad(const HObject& ImageComplex, HObject* ImagePhase) {
  ApiScope scope("PhaseRad");
  setOutput(ImagePhase, mapComplex(ImageComplex, "phase_rad", PixelType::Real,
                                   [](double re, double im) { return std::atan2(im, re); }));
}

// phase_deg: (90 / pi) atan2(im, re), half the angle in degrees, 180 added to negative ones;
// a 'direction' image rounds, and a value that rounds to 180 is the angle 0 again.
void PhaseDeg(const HObject& ImageComplex, HObject* ImagePhase) {
  ApiScope scope("PhaseDeg");
  setOutput(ImagePhase,
            mapComplex(ImageComplex, "phase_deg", PixelType::Direction, [](double re, double im) {
              double half = 90 / kPi * std::atan2(im, re);
              if (half < 0) half += 180;
              return half >= 179.5 ? 0.0 : half;
            }));
}

// power_ln: ln(sqrt(re^2 + im^2)); a magnitude of 0, which has no logarithm, gives 0.
void PowerLn(const HObject& Image, HObject* ImageResult) {
  ApiScope scope("PowerLn");
  setOutput(ImageResult, mapComplex(Image, "power_ln", PixelType::Real, [](double re, double im) {
              const double magnitude = std::hypot(re, im);
              return magnitude > 0 ? std::log(magnitude) : 0.0;
            }));
}

// energy_gabor: channel1^2 + channel2^2, pixel by pixel, as a real image.
void EnergyGabor(const HObject& ImageGabor, const HObject& ImageHilbert, HObject* Energy) {
  ApiScope scope("EnergyGabor");
  const char* op = "energy_gabor";
  std::vector<HObject::Item> items;
  for (const auto& [gabor, hilbert] :
       imagePairs(ImageGabor, ImageHilbert, op, {PixelType::Byte, PixelType::Real})) {
    ImagePtr result = imageLike(gabor, gabor->channels.size(), op, PixelType::Real);
    const PixelReader read = readerOf(gabor->type());
    for (std::size_t c = 0; c < gabor->channels.size(); ++c) {
      float* out = result->channels[c]->as<float>();
      for (std::size_t i = 0, n = countOf(*gabor); i < n; ++i) {
        const double a = read(gabor->pixels(c), i), b = read(hilbert->pixels(c), i);
        out[i] = static_cast<float>(a * a + b * b);
      }
    }
    items.push_back(std::move(result));
  }
  setOutput(Energy, objectOf(items));
}

}  // namespace HalconCpp
