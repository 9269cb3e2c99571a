// The frequency-domain operators against values worked out by hand from the definitions on
// the vendor's HALCON 11.0 reference pages, which each table names, through the C++ interface
// and program lines. F(m, n) = 1/c sum_k sum_l e^(s 2 pi i (k m / M + l n / N)) f(k, l)
// (fft_generic, HALCON 11.0 reference), with M rows and N columns.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// A 'real' image of the given values, row by row.
HObject realImage(Hlong width, Hlong height, const std::vector<double>& values) {
  HObject image;
  GenImageConst(&image, "real", width, height);
  for (Hlong i = 0; i < width * height; ++i) SetGrayval(image, i / width, i % width, values[i]);
  return image;
}

// The real and imaginary part of one pixel of a complex image.
std::pair<double, double> complexAt(const HObject& image, Hlong row, Hlong col) {
  HTuple value;
  GetGrayval(image, row, col, &value);
  return {value[0].D(), value[1].D()};
}

struct SpectrumRow {
  const char* what;
  HObject spectrum;
  Hlong row, col;
  double re, im;
};

void expectSpectrum(const std::vector<SpectrumRow>& rows) {
  for (const SpectrumRow& row : rows) {
    const auto [re, im] = complexAt(row.spectrum, row.row, row.col);
    EXPECT_NEAR(re, row.re, 1e-4) << row.what;
    EXPECT_NEAR(im, row.im, 1e-4) << row.what;
  }
}

HObject rft(const HObject& image, const char* norm) {
  HObject spectrum;
  RftGeneric(image, &spectrum, "to_freq", norm, "complex", 0);
  return spectrum;
}

HObject fft(const HObject& image, Hlong exponent, const char* norm, const char* mode) {
  HObject spectrum;
  FftGeneric(image, &spectrum, "to_freq", exponent, norm, mode, "complex");
  return spectrum;
}

// rft_generic and fft_generic, HALCON 11.0 reference: the sum above, divided by c = 1 ('none'),
// sqrt(MN) ('sqrt') or MN ('n'); rft_generic keeps columns 0 ... N/2 and uses s = -1 going to
// the frequencies; fft_generic's 'dc_center' moves F(0, 0) to (M/2, N/2).
TEST(FftReference, SpectraOfConstantsImpulsesAndWaves) {
  // 4 x 3 constant 2: F(0, 0) = 12 * 2 = 24 and nothing else.
  const HObject constant = realImage(4, 3, std::vector<double>(12, 2));
  // An impulse of 1 at (0, 0): F = e^0 * 1 = 1 everywhere.
  std::vector<double> one(12, 0);
  one[0] = 1;
  const HObject impulse = realImage(4, 3, one);
  // 8 x 2, f = cos(2 pi l / 8): 2 * sum_l cos^2 = 2 * 4 = 8 at n = 1 and n = 7, 0 elsewhere.
  // f = sin(2 pi l / 8): sum_l sin(x) e^(-ix) = -4i a row, so -8i at n = 1 for s = -1 and
  // +8i for s = +1.
  std::vector<double> wave(16), sine(16);
  for (int i = 0; i < 16; ++i) {
    wave[i] = std::cos(2 * kPi * (i % 8) / 8);
    sine[i] = std::sin(2 * kPi * (i % 8) / 8);
  }
  const HObject cosine = realImage(8, 2, wave), sinus = realImage(8, 2, sine);
  expectSpectrum({
      {"constant, 'none': the sum", rft(constant, "none"), 0, 0, 24, 0},
      {"constant, 'sqrt': 24 / sqrt(12)", rft(constant, "sqrt"), 0, 0, 24 / std::sqrt(12.0), 0},
      {"constant, 'n': the mean", rft(constant, "n"), 0, 0, 2, 0},
      {"constant: no other frequency", rft(constant, "none"), 1, 2, 0, 0},
      {"impulse: flat at DC", rft(impulse, "none"), 0, 0, 1, 0},
      {"impulse: flat at (2, 2)", rft(impulse, "none"), 2, 2, 1, 0},
      {"impulse, 'n': 1 / 12", rft(impulse, "n"), 1, 1, 1.0 / 12, 0},
      {"cosine: the peak at n = 1", rft(cosine, "none"), 0, 1, 8, 0},
      {"cosine: nothing at n = 2", rft(cosine, "none"), 0, 2, 0, 0},
      {"cosine: nothing in row 1", rft(cosine, "none"), 1, 1, 0, 0},
      {"cosine, full: the mirror peak at n = 7", fft(cosine, -1, "none", "dc_edge"), 0, 7, 8, 0},
      {"cosine, 'dc_center': peaks at (1, 4 - 1)", fft(cosine, -1, "none", "dc_center"), 1, 3, 8,
       0},
      {"cosine, 'dc_center': and (1, 4 + 1)", fft(cosine, -1, "none", "dc_center"), 1, 5, 8, 0},
      {"cosine, 'dc_center': DC at (1, 4) is 0", fft(cosine, -1, "none", "dc_center"), 1, 4, 0, 0},
      {"sine, s = -1: -8i", fft(sinus, -1, "none", "dc_edge"), 0, 1, 0, -8},
      {"sine, s = +1: +8i", fft(sinus, 1, "none", "dc_edge"), 0, 1, 0, 8},
      {"sine, rft: s = -1", rft(sinus, "none"), 0, 1, 0, -8},
  });
  // rft_generic, HALCON 11.0 reference: the complex image has w/2 + 1 columns.
  HTuple width, height;
  GetImageSize(rft(constant, "none"), &width, &height);
  EXPECT_EQ(width[0].L(), 3);
  GetImageSize(rft(cosine, "none"), &width, &height);
  EXPECT_EQ(width[0].L(), 5);
  EXPECT_EQ(height[0].L(), 2);
}

// rft_generic and fft_generic, HALCON 11.0 reference: the forward and backward factors must
// multiply to MN and the exponents be of opposite sign; then the way back gives the image.
// fft_image and fft_image_inv are the pair ('sqrt', -1 / +1, 'dc_center').
TEST(FftReference, ToAndFromTheFrequenciesIsTheIdentity) {
  const std::vector<double> values{3, -1, 4, 1, -5, 9, 2, 6, -5, 3, 5, 8, 9, 7, 9};
  const char* pairs[][2] = {{"none", "n"}, {"sqrt", "sqrt"}, {"n", "none"}};
  // Widths 5 (odd: Width = 2w - 1 of the 3 columns) and 3 x 5 (Width 3 = 2 * 2 - 1), and an
  // even width, 6 x ... from the 15 values' first 12 (Width 6 = 2 * 4 - 2).
  struct Shape {
    Hlong width, height;
  };
  for (const Shape shape : {Shape{5, 3}, Shape{3, 5}, Shape{6, 2}}) {
    const HObject image = realImage(shape.width, shape.height, values);
    for (const auto& pair : pairs) {
      HObject spectrum, back, full, fullBack;
      RftGeneric(image, &spectrum, "to_freq", pair[0], "complex", shape.width);
      RftGeneric(spectrum, &back, "from_freq", pair[1], "real", shape.width);
      FftGeneric(image, &full, "to_freq", -1, pair[0], "dc_center", "complex");
      FftGeneric(full, &fullBack, "from_freq", 1, pair[1], "dc_center", "real");
      for (Hlong i = 0; i < shape.width * shape.height; ++i) {
        EXPECT_NEAR(realAt(back, i / shape.width, i % shape.width), values[i], 1e-4)
            << shape.width << " x " << shape.height << " rft " << pair[0] << "/" << pair[1];
        EXPECT_NEAR(realAt(fullBack, i / shape.width, i % shape.width), values[i], 1e-4)
            << shape.width << " x " << shape.height << " fft " << pair[0] << "/" << pair[1];
      }
    }
    HObject spectrum, back;
    FftImage(image, &spectrum);
    FftImageInv(spectrum, &back);
    EXPECT_NEAR(complexAt(back, 1, 1).first, values[shape.width + 1], 1e-4);
    EXPECT_NEAR(complexAt(back, 1, 1).second, 0, 1e-4);
  }
  // fft_image: the 4 x 4 constant 3 gives 48 / sqrt(16) = 12 at the centre (2, 2).
  HObject spectrum;
  FftImage(realImage(4, 4, std::vector<double>(16, 3)), &spectrum);
  EXPECT_NEAR(complexAt(spectrum, 2, 2).first, 12, 1e-4);
  EXPECT_NEAR(complexAt(spectrum, 0, 0).first, 0, 1e-4);
}

// The same sum for a side of a large prime length (101 and 2 * 103), which the transforms
// reach another way: f = cos(2 pi 3 l / 101) on 2 rows gives 2 * 101 / 2 = 101 at n = 3 and
// comes back as itself.
TEST(FftReference, PrimeSidesGiveTheSameSum) {
  std::vector<double> wave(202), column(206);
  for (int i = 0; i < 202; ++i) wave[i] = std::cos(2 * kPi * 3 * (i % 101) / 101);
  for (int i = 0; i < 206; ++i) column[i] = (i * 7) % 11;
  const HObject image = realImage(101, 2, wave);
  expectSpectrum({
      {"101 columns: the peak at n = 3", rft(image, "none"), 0, 3, 101, 0},
      {"101 columns: nothing at n = 4", rft(image, "none"), 0, 4, 0, 0},
  });
  const HObject tall = realImage(1, 206, column);
  HObject spectrum, back;
  FftGeneric(tall, &spectrum, "to_freq", -1, "sqrt", "dc_edge", "complex");
  FftGeneric(spectrum, &back, "from_freq", 1, "sqrt", "dc_edge", "real");
  for (Hlong i = 0; i < 206; ++i) EXPECT_NEAR(realAt(back, i, 0), column[i], 1e-4) << i;
}

// rft_generic, HALCON 11.0 reference: ResultType sets the type of the way back, whose values
// are stored as that type stores them (clipped to 0 ... 255 and rounded for 'byte'); an
// unnormalised pair ('none', 'none') gives MN times the image.
TEST(FftReference, TheWayBackStoresTheResultType) {
  const HObject image = realImage(2, 2, {1.4, 100, -3, 2.6});
  HObject spectrum, back;
  RftGeneric(image, &spectrum, "to_freq", "none", "complex", 2);
  const struct {
    const char* norm;
    const char* type;
    Hlong row, col, expected;
  } rows[] = {
      {"n", "byte", 0, 0, 1},       // 1.4 rounds to 1
      {"n", "byte", 1, 0, 0},       // -3 clips to 0
      {"n", "byte", 1, 1, 3},       // 2.6 rounds to 3
      {"none", "byte", 0, 1, 255},  // 4 * 100 clips to 255
      {"none", "int2", 0, 1, 400},  // 4 * 100
      {"n", "int1", 1, 0, -3},
  };
  for (const auto& row : rows) {
    RftGeneric(spectrum, &back, "from_freq", row.norm, row.type, 2);
    EXPECT_EQ(grayAt(back, row.row, row.col), row.expected) << row.norm << " " << row.type;
  }
}

// gen_gauss_filter, HALCON 11.0 reference: the transform of a Gaussian of standard deviation
// Sigma1 along Phi and Sigma2 across it, exp(-2 pi^2 (Sigma1^2 a^2 + Sigma2^2 b^2)) at the
// frequency (u, v) in cycles a pixel, a and b its parts along and across Phi; 1 at DC for
// Norm 'none', 1 / (Width Height) for 'n'.
TEST(FftReference, GaussFilterPeakSpreadAndOrientation) {
  const double quarter = std::exp(-kPi * kPi / 8);  // Sigma 2, u = 1/8: -2 pi^2 4 / 64
  const double narrow = std::exp(-kPi * kPi / 2);   // Sigma 4, u = 1/8: -2 pi^2 16 / 64
  // Phi = pi / 4 points up and right (rows run down): (u, v) = (1/8, 1/8) lies across it
  // (a = 0), (1/8, -1/8) along it (a = sqrt(2) / 8): exp(-2 pi^2 16 / 32).
  const double diagonal = std::exp(-kPi * kPi);
  const struct {
    const char* line;
    Hlong row, col;
    double expected;
  } rows[] = {
      {"gen_gauss_filter (F, 2, 2, 0, 'none', 'dc_edge', 8, 8)", 0, 0, 1},
      {"gen_gauss_filter (F, 2, 2, 0, 'n', 'dc_edge', 8, 4)", 0, 0, 1.0 / 32},
      {"gen_gauss_filter (F, 2, 2, 0, 'none', 'dc_edge', 8, 8)", 0, 1, quarter},
      {"gen_gauss_filter (F, 2, 2, 0, 'none', 'dc_edge', 8, 8)", 0, 7, quarter},
      {"gen_gauss_filter (F, 2, 2, 0, 'none', 'dc_center', 8, 8)", 4, 4, 1},
      {"gen_gauss_filter (F, 2, 2, 0, 'none', 'dc_center', 8, 8)", 4, 5, quarter},
      {"gen_gauss_filter (F, 2, 2, 0, 'none', 'rft', 8, 8)", 7, 1, quarter * quarter},
      {"gen_gauss_filter (F, 4, 0, 0, 'none', 'dc_edge', 8, 8)", 0, 1, narrow},
      {"gen_gauss_filter (F, 4, 0, 0, 'none', 'dc_edge', 8, 8)", 1, 0, 1},
      {"gen_gauss_filter (F, 4, 0, 1.5707963, 'none', 'dc_edge', 8, 8)", 0, 1, 1},
      {"gen_gauss_filter (F, 4, 0, 1.5707963, 'none', 'dc_edge', 8, 8)", 1, 0, narrow},
      {"gen_gauss_filter (F, 4, 0, 0.78539816, 'none', 'dc_edge', 8, 8)", 1, 1, 1},
      {"gen_gauss_filter (F, 4, 0, 0.78539816, 'none', 'dc_edge', 8, 8)", 7, 1, diagonal},
      // A sigma too large to square still leaves DC alone and removes everything else.
      {"gen_gauss_filter (F, 1e300, 1e300, 0, 'none', 'dc_edge', 8, 8)", 0, 0, 1},
      {"gen_gauss_filter (F, 1e300, 1e300, 0, 'none', 'dc_edge', 8, 8)", 0, 1, 0},
  };
  for (const auto& row : rows) {
    const HTuple value = runLines({row.line, "get_grayval (F, " + std::to_string(row.row) + ", " +
                                                 std::to_string(row.col) + ", R)"});
    EXPECT_NEAR(value[0].D(), row.expected, 1e-6)
        << row.line << " at " << row.row << ", " << row.col;
  }
  // 'rft' keeps Width / 2 + 1 columns.
  EXPECT_EQ(runLines({"gen_gauss_filter (F, 1, 1, 0, 'none', 'rft', 9, 4)",
                      "get_image_size (F, W, H)", "R := [W, H]"}),
            tuple({5, 4}));
}

// convol_fft, HALCON 11.0 reference: the pixelwise product of the spectrum and the filter.
// An impulse of 255 at (0, 0) of a 16 x 16 image filtered with gen_gauss_filter (1.5) comes
// back as the sampled Gaussian 255 / (2 pi 1.5^2) e^(-(r^2 + c^2) / 4.5), cyclic (worked out
// directly in the spatial domain; the aliasing either way is below 1e-4).
TEST(FftReference, ConvolFftWithAGaussIsTheDirectConvolution) {
  const Lines program{"gen_image_const (I, 'byte', 16, 16)",
                      "set_grayval (I, 0, 0, 255)",
                      "optimize_rft_speed (16, 16, 'standard')",
                      "rft_generic (I, F, 'to_freq', 'none', 'complex', 16)",
                      "gen_gauss_filter (G, 1.5, 1.5, 0, 'n', 'rft', 16, 16)",
                      "convol_fft (F, G, C)",
                      "rft_generic (C, S, 'from_freq', 'none', 'real', 16)",
                      "get_grayval (S, [0, 0, 1, 2, 15, 3], [0, 1, 1, 0, 0, 3], R)"};
  expectReals({{program, {18.0376, 14.4433, 11.5653, 7.4155, 14.4433, 0.3304}, 1e-3}});
}

// correlation_fft, HALCON 11.0 reference: ImageFFT1 times the conjugate of ImageFFT2, which
// ('none' there, 'n' back) is r(d) = sum_y f(y + d) g(y), cyclic. f = [1, 2, 0, 0]:
// with itself r = [1 + 4, 2 * 1, 0, 1 * 2] = [5, 2, 0, 2]; with g = [0, 1, 0, 0],
// r(d) = f(1 + d) = [2, 0, 0, 1].
TEST(FftReference, CorrelationFftMultipliesByTheConjugate) {
  const Lines make{"gen_image_const (F, 'real', 4, 1)",
                   "set_grayval (F, [0, 0], [0, 1], [1, 2])",
                   "gen_image_const (G, 'real', 4, 1)",
                   "set_grayval (G, 0, 1, 1)",
                   "rft_generic (F, FF, 'to_freq', 'none', 'complex', 4)",
                   "rft_generic (G, GF, 'to_freq', 'none', 'complex', 4)"};
  const auto correlated = [&](const char* second) {
    return with(make, {std::string("correlation_fft (FF, ") + second + ", C)",
                       "rft_generic (C, R4, 'from_freq', 'n', 'real', 4)",
                       "get_grayval (R4, [0, 0, 0, 0], [0, 1, 2, 3], R)"});
  };
  expectReals({{correlated("FF"), {5, 2, 0, 2}, 1e-4}, {correlated("GF"), {2, 0, 0, 1}, 1e-4}});
}

// real_to_complex, complex_to_real, power_real, power_byte, phase_rad, HALCON 11.0 reference:
// 3 + 4i has the magnitude 5 and the phase atan2(4, 3) = 0.927295; -1 - i the phase -3 pi / 4.
TEST(FftReference, ComplexPartsMagnitudeAndPhase) {
  const Lines make{"gen_image_const (Re, 'real', 2, 1)",
                   "set_grayval (Re, [0, 0], [0, 1], [3, -1])",
                   "gen_image_const (Im, 'real', 2, 1)",
                   "set_grayval (Im, [0, 0], [0, 1], [4, -1])", "real_to_complex (Re, Im, C)"};
  expectReals({
      {with(make, {"get_grayval (C, 0, 1, R)"}), {-1, -1}, 1e-5},
      {with(make, {"complex_to_real (C, A, B)", "get_grayval (B, 0, 0, R)"}), {4}, 1e-5},
      {with(make, {"power_real (C, P)", "get_grayval (P, 0, 0, R)"}), {5}, 1e-5},
      // sqrt(2) rounds to 1
      {with(make, {"power_byte (C, P)", "get_grayval (P, 0, 1, R)"}), {1}, 1e-5},
      {with(make, {"phase_rad (C, P)", "get_grayval (P, [0, 0], [0, 1], R)"}),
       {0.927295, -3 * kPi / 4},
       1e-5},
  });
}

// The reference's restrictions, each with the number of its parameter: rft_generic's Width
// must be 2w - 2 or 2w - 1 of a complex image of w columns, ResultType 'complex' going to the
// frequencies, the input real going there and complex coming back; fft_generic's Exponent is
// 1 or -1; gen_gauss_filter's sigmas are >= 0; convol_fft takes images of one size.
TEST(FftReference, RestrictionsRaiseTheirNumbers) {
  // I: a real 6 x 4 image; F: its half spectrum of 4 columns (Width 6 or 7 comes back).
  const Lines image{"gen_image_const (I, 'real', 6, 4)",
                    "rft_generic (I, F, 'to_freq', 'none', 'complex', 6)"};
  expectErrorCases(
      {
          {{"rft_generic (I, S, 'to_freq', 'none', 'real', 6)"}, 1303},
          {{"rft_generic (I, S, 'sideways', 'none', 'complex', 6)"}, 1301},
          {{"rft_generic (I, S, 'to_freq', 'half', 'complex', 6)"}, 1302},
          {{"rft_generic (I, S, 'from_freq', 'none', 'real', 6)"}, 9001},
          {{"rft_generic (F, S, 'to_freq', 'none', 'complex', 6)"}, 9001},
          {{"rft_generic (F, B, 'from_freq', 'n', 'real', 5)"}, 1304},
          {{"rft_generic (F, B, 'from_freq', 'n', 'real', 8)"}, 1304},
          {{"fft_generic (I, S, 'to_freq', 2, 'none', 'dc_edge', 'complex')"}, 1302},
          {{"fft_generic (I, S, 'to_freq', -1, 'none', 'dc_left', 'complex')"}, 1304},
          {{"gen_gauss_filter (G, 1, 1, 0, 'none', 'rft', 8, 4)", "convol_fft (F, G, C)"}, 3030},
          {{"gen_gauss_filter (G, 1, 1, 0, 'none', 'dc_edge', 6, 4)", "convol_fft (I, G, C)"},
           9001},
          {{"power_real (I, P)"}, 9001},
          {{"gen_gauss_filter (G, -1, 1, 0, 'none', 'rft', 8, 8)"}, 1301},
          {{"gen_gauss_filter (G, 1, -1, 0, 'none', 'rft', 8, 8)"}, 1302},
          {{"gen_gauss_filter (G, 1, 1, 0, 'sqrt', 'rft', 8, 8)"}, 1304},
          {{"gen_gauss_filter (G, 1, 1, 0, 'none', 'center', 8, 8)"}, 1305},
          {{"gen_gauss_filter (G, 1, 1, 0, 'none', 'rft', 0, 8)"}, 1306},
          {{"optimize_rft_speed (512, 512, 'quick')"}, 1303},
          {{"optimize_fft_speed (0, 512, 'standard')"}, 1301},
      },
      image);
}

// One pixel, a value near the float range's end, a 1 x N line and no objects at all: each
// transform gives its definition's answer (a 1 x 1 spectrum is the pixel itself) or raises.
TEST(FftReference, DegenerateInputsGiveTheDefinitionsAnswer) {
  // -1e30 as a 4-byte float holds -1.0000000150474662e30 (struct.pack('f', -1e30)).
  const char* kPixel = "[-1.0000000150474662e+30, 0.0]";
  const Lines setup{"gen_image_const (P, 'real', 1, 1)", "set_grayval (P, 0, 0, -1e30)",
                    "gen_image_const (L, 'byte', 7, 1)", "gen_empty_obj (E)"};
  const struct {
    Lines lines;
    const char* expected;
  } rows[] = {
      {{"rft_generic (P, F, 'to_freq', 'sqrt', 'complex', 1)", "get_grayval (F, 0, 0, R)"}, kPixel},
      {{"fft_generic (P, F, 'to_freq', 1, 'n', 'dc_center', 'complex')",
        "get_grayval (F, 0, 0, R)"},
       kPixel},
      {{"rft_generic (P, F, 'to_freq', 'none', 'complex', 1)",
        "rft_generic (F, B, 'from_freq', 'none', 'byte', 1)", "get_grayval (B, 0, 0, R)"},
       "0"},
      {{"rft_generic (L, F, 'to_freq', 'none', 'complex', 7)", "get_image_size (F, W, H)",
        "R := [W, H]"},
       "[4, 1]"},
      {{"rft_generic (E, F, 'to_freq', 'none', 'complex', 7)", "count_obj (F, R)"}, "0"},
      {{"gen_gauss_filter (G, 1, 1, 0, 'n', 'rft', 1, 1)", "get_grayval (G, 0, 0, R)"}, "1.0"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(text(runLines(with(setup, row.lines))), row.expected) << row.lines.front();
  }
}

}  // namespace
