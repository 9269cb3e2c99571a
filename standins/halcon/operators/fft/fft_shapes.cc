// The frequency-domain filters of fixed shape: the ideal lowpass, highpass, bandpass and band
// filters, the sine and Gaussian bandpasses, the mean filter's transform and the derivative
// filter. The rotationally invariant ones measure a frequency as a fraction of the largest
// one each axis holds (half a cycle a pixel), so that 1 reaches the middle of every border.
#include <cmath>
#include <complex>
#include <string>
#include <utility>

#include "core/numbers.h"
#include "core/params.h"
#include "halconcpp/HOperatorsFft.h"
#include "operators/fft/filter_layout.h"
#include "standin/controls.h"

namespace HalconCpp {
using namespace Standin;

namespace {

// The distance from the DC term in fractions of the largest frequency, 0 ... sqrt(2).
double relativeFrequency(double u, double v) {
  return 2 * std::hypot(u, v);
}

double nonNegative(const HTuple& value, const char* op, int n) {
  const double x = oneNumber(value, op, n);
  if (!(x >= 0) || !std::isfinite(x)) fail(op, 1300 + n);
  return x;
}

// The filters all end in Norm, Mode, Width and Height: `first` is Norm's position.
struct Frame {
  FilterLayout layout;
  std::int32_t width, height;
  double divisor;
};

Frame frameOf(const HTuple& Norm, const HTuple& Mode, const HTuple& Width, const HTuple& Height,
              const char* op, int first) {
  const std::string norm = oneString(Norm, op, first);
  if (norm != "none" && norm != "n") fail(op, 1300 + first);
  const FilterLayout layout = layoutOf(Mode, op, first + 1);
  const std::int32_t width = sideOf(Width, op, first + 2), height = sideOf(Height, op, first + 3);
  return {layout, width, height, norm == "n" ? double(width) * double(height) : 1};
}

template <typename Value>
void writeFilter(HObject* out, const Frame& frame, const char* op, Value&& value) {
  setOutput(out, frequencyFilter(frame.layout, frame.width, frame.height, frame.divisor, op,
                                 std::forward<Value>(value)));
}

// One arch of the sine over 0 ... pi, rising from `from` to its peak at from + halfWidth; 0
// outside. A zero half width leaves only the peak itself.
double sineArch(double d, double from, double halfWidth) {
  if (halfWidth <= 0) return d == from ? 1 : 0;
  const double phase = (d - from) / halfWidth * (kPi / 2);
  return phase >= 0 && phase <= kPi ? std::sin(phase) : 0;
}

// J1(x) for x >= 0: up to 30 the periodic integral (1 / 2 pi) int cos(t - x sin t) over a
// full turn, whose trapezoid sum converges geometrically once it has more points than x;
// beyond, Hankel's expansion to its x^-4 terms, then within 1e-9 (and no pixel costs more
// than a hundred cosines).
double besselJ1(double x) {
  if (x > 30) {
    const double phase = x - 3 * kPi / 4, x2 = x * x;
    const double p = 1 + 15 / (128 * x2) - 14175 / (98304 * x2 * x2);
    const double q = 3 / (8 * x) - 315 / (3072 * x2 * x);
    return std::sqrt(2 / (kPi * x)) * (p * std::cos(phase) - q * std::sin(phase));
  }
  const int points = 40 + 2 * static_cast<int>(x);
  double sum = 0;
  for (int k = 0; k < points; ++k) {
    const double t = 2 * kPi * k / points;
    sum += std::cos(t - x * std::sin(t));
  }
  return sum / points;
}

double sinc(double x) {
  return x == 0 ? 1 : std::sin(kPi * x) / (kPi * x);
}

}  // namespace

// gen_lowpass: the inner part (up to and including the cut-off) holds the factor, the rest 0.
void GenLowpass(HObject* ImageLowpass, const HTuple& Frequency, const HTuple& Norm,
                const HTuple& Mode, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenLowpass");
  const char* op = "gen_lowpass";
  const double cutoff = nonNegative(Frequency, op, 1);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 2);
  writeFilter(ImageLowpass, frame, op,
              [&](double u, double v) { return relativeFrequency(u, v) <= cutoff ? 1.0 : 0.0; });
}

// gen_highpass: gen_lowpass's complement, 0 up to the cut-off and the factor beyond it.
void GenHighpass(HObject* ImageHighpass, const HTuple& Frequency, const HTuple& Norm,
                 const HTuple& Mode, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenHighpass");
  const char* op = "gen_highpass";
  const double cutoff = nonNegative(Frequency, op, 1);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 2);
  writeFilter(ImageHighpass, frame, op,
              [&](double u, double v) { return relativeFrequency(u, v) <= cutoff ? 0.0 : 1.0; });
}

namespace {

// The band MinFrequency ... MaxFrequency (both ends inside it): `pass` keeps it, else removes.
void bandFilter(HObject* out, const HTuple& MinFrequency, const HTuple& MaxFrequency,
                const HTuple& Norm, const HTuple& Mode, const HTuple& Width, const HTuple& Height,
                const char* op, bool pass) {
  const double low = nonNegative(MinFrequency, op, 1);
  const double high = nonNegative(MaxFrequency, op, 2);
  if (high < low) fail(op, 1302);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 3);
  writeFilter(out, frame, op, [&](double u, double v) {
    const double d = relativeFrequency(u, v);
    return (d >= low && d <= high) == pass ? 1.0 : 0.0;
  });
}

}  // namespace

void GenBandpass(HObject* ImageBandpass, const HTuple& MinFrequency, const HTuple& MaxFrequency,
                 const HTuple& Norm, const HTuple& Mode, const HTuple& Width,
                 const HTuple& Height) {
  ApiScope scope("GenBandpass");
  bandFilter(ImageBandpass, MinFrequency, MaxFrequency, Norm, Mode, Width, Height, "gen_bandpass",
             true);
}

void GenBandfilter(HObject* ImageFilter, const HTuple& MinFrequency, const HTuple& MaxFrequency,
                   const HTuple& Norm, const HTuple& Mode, const HTuple& Width,
                   const HTuple& Height) {
  ApiScope scope("GenBandfilter");
  bandFilter(ImageFilter, MinFrequency, MaxFrequency, Norm, Mode, Width, Height, "gen_bandfilter",
             false);
}

// gen_sin_bandpass: 0 at DC, the sine's peak at Frequency and 0 again at twice it.
void GenSinBandpass(HObject* ImageFilter, const HTuple& Frequency, const HTuple& Norm,
                    const HTuple& Mode, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenSinBandpass");
  const char* op = "gen_sin_bandpass";
  const double peak = nonNegative(Frequency, op, 1);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 2);
  writeFilter(ImageFilter, frame, op, [&](double u, double v) {
    return peak == 0 ? 0.0 : sineArch(relativeFrequency(u, v), 0, peak);
  });
}

// gen_std_bandpass: 'gauss' exp(-(d - Frequency)^2 / (2 Sigma^2)); 'sin' the arch of
// gen_sin_bandpass centred on Frequency, reaching Sigma to either side.
void GenStdBandpass(HObject* ImageFilter, const HTuple& Frequency, const HTuple& Sigma,
                    const HTuple& Type, const HTuple& Norm, const HTuple& Mode, const HTuple& Width,
                    const HTuple& Height) {
  ApiScope scope("GenStdBandpass");
  const char* op = "gen_std_bandpass";
  const double peak = nonNegative(Frequency, op, 1);
  const double sigma = nonNegative(Sigma, op, 2);
  const std::string type = oneString(Type, op, 3);
  if (type != "gauss" && type != "sin") fail(op, 1303);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 4);
  writeFilter(ImageFilter, frame, op, [&](double u, double v) {
    const double d = relativeFrequency(u, v);
    if (type == "sin") return sineArch(d, peak - sigma, sigma);
    if (sigma == 0) return d == peak ? 1.0 : 0.0;
    const double z = (d - peak) / sigma;
    return std::exp(-z * z / 2);
  });
}

// gen_mean_filter: the transform of the mean over a rectangle or an ellipse of the given
// diameters in pixels, Diameter1 along Phi (counter-clockwise from the column axis, rows
// pointing down): sinc(D1 a) sinc(D2 b) and 2 J1(pi r) / (pi r) with r = |(D1 a, D2 b)|,
// a and b the frequency's parts along and across Phi; 1 at DC.
void GenMeanFilter(HObject* ImageMean, const HTuple& MaskShape, const HTuple& Diameter1,
                   const HTuple& Diameter2, const HTuple& Phi, const HTuple& Norm,
                   const HTuple& Mode, const HTuple& Width, const HTuple& Height) {
  ApiScope scope("GenMeanFilter");
  const char* op = "gen_mean_filter";
  const std::string shape = oneString(MaskShape, op, 1);
  if (shape != "ellipse" && shape != "rectangle") fail(op, 1301);
  const double d1 = oneNumber(Diameter1, op, 2), d2 = oneNumber(Diameter2, op, 3);
  if (!(d1 > 0) || !std::isfinite(d1)) fail(op, 1302);
  if (!(d2 > 0) || !std::isfinite(d2)) fail(op, 1303);
  const double phi = oneNumber(Phi, op, 4);
  if (!std::isfinite(phi)) fail(op, 1304);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 5);
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const bool ellipse = shape == "ellipse";
  writeFilter(ImageMean, frame, op, [&](double u, double v) {
    const double along = d1 * (u * cosPhi - v * sinPhi);
    const double across = d2 * (u * sinPhi + v * cosPhi);
    if (!ellipse) return sinc(along) * sinc(across);
    const double x = kPi * std::hypot(along, across);
    return x == 0 ? 1.0 : 2 * besselJ1(x) / x;
  });
}

// gen_derivative_filter: the derivative theorem for the way back with e^(Exponent 2 pi i ...):
// d/dx multiplies by Exponent 2 pi i u, d/dy by Exponent 2 pi i v (x the column, y the row).
void GenDerivativeFilter(HObject* ImageDerivative, const HTuple& Derivative, const HTuple& Exponent,
                         const HTuple& Norm, const HTuple& Mode, const HTuple& Width,
                         const HTuple& Height) {
  ApiScope scope("GenDerivativeFilter");
  const char* op = "gen_derivative_filter";
  const std::string derivative = oneString(Derivative, op, 1);
  static const char* const kDerivatives[] = {"x",   "y",   "xx",  "xy", "yy",
                                             "xxx", "xxy", "xyy", "yyy"};
  bool known = false;
  for (const char* name : kDerivatives) known = known || derivative == name;
  if (!known) fail(op, 1301);
  const Hlong sign = oneInteger(Exponent, op, 2);
  if (sign != 1 && sign != -1) fail(op, 1302);
  const Frame frame = frameOf(Norm, Mode, Width, Height, op, 3);
  writeFilter(ImageDerivative, frame, op, [&](double u, double v) {
    std::complex<double> value = 1;
    for (const char axis : derivative) {
      value *= std::complex<double>(0, double(sign) * 2 * kPi * (axis == 'x' ? u : v));
    }
    return value;
  });
}

}  // namespace HalconCpp
