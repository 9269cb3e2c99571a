// The frequency-domain filters of fixed shape and the spectrum's phase, logarithm and energy,
// against values worked out by hand from the vendor's HALCON 11.0 reference pages named
// beside each table, through program lines. A filter's frequency at column c of an image
// Width wide is c / Width cycles a pixel ('dc_edge': c - Width beyond Width / 2); the
// rotationally invariant filters measure d = 2 sqrt(u^2 + v^2), the fraction of the largest
// frequency (half a cycle) each page names.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace quorvex::test;

// The filter of `line` (written to F) at (row, col).
Reals at(const std::string& line, int row, int col, std::vector<double> expected,
         double tolerance = 1e-6) {
  return {{line, "get_grayval (F, " + std::to_string(row) + ", " + std::to_string(col) + ", R)"},
          std::move(expected),
          tolerance};
}

// gen_lowpass and gen_highpass, HALCON 11.0: the inner part up to the cut-off holds the
// factor (1, or 1 / (Width Height) for 'n'), the outer part 0; gen_highpass the reverse.
TEST(FftFiltersReference, IdealLowpassAndHighpass) {
  const std::string low = "gen_lowpass (F, 0.5, 'none', 'dc_edge', 8, 8)";
  const std::string high = "gen_highpass (F, 0.5, 'none', 'dc_edge', 8, 8)";
  expectReals({
      at(low, 0, 0, {1}),
      at(low, 0, 1, {1}),  // d = 0.25
      at(low, 0, 2, {1}),  // d = 0.5, the cut-off itself
      at(low, 0, 3, {0}),  // d = 0.75
      at(low, 1, 1, {1}),  // d = sqrt(2) / 4
      at(low, 2, 2, {0}),  // d = sqrt(2) / 2
      at(low, 0, 6, {1}),  // u = -2 / 8
      at(high, 0, 0, {0}),
      at(high, 0, 2, {0}),
      at(high, 0, 3, {1}),
      at(high, 2, 2, {1}),
      at("gen_lowpass (F, 0.5, 'n', 'dc_edge', 8, 4)", 0, 0, {1.0 / 32}),
      // 8 x 4: v = 1/4 a row, so row 1 lies at d = 0.5 and row 2 at d = 1.
      at("gen_lowpass (F, 0.5, 'none', 'dc_edge', 8, 4)", 1, 0, {1}),
      at("gen_lowpass (F, 0.5, 'none', 'dc_edge', 8, 4)", 2, 0, {0}),
      at("gen_lowpass (F, 0.5, 'none', 'dc_edge', 8, 4)", 1, 2, {0}),
      // 'dc_center': DC at (4, 4); column 0 is u = -1/2, d = 1.
      at("gen_lowpass (F, 0.5, 'none', 'dc_center', 8, 8)", 4, 4, {1}),
      at("gen_lowpass (F, 0.5, 'none', 'dc_center', 8, 8)", 4, 6, {1}),
      at("gen_lowpass (F, 0.5, 'none', 'dc_center', 8, 8)", 4, 0, {0}),
      // Odd 5 x 5, 'dc_center' at (2, 2): column 3 is u = 1/5 (d = 0.4), column 4 d = 0.8.
      at("gen_lowpass (F, 0.5, 'none', 'dc_center', 5, 5)", 2, 3, {1}),
      at("gen_lowpass (F, 0.5, 'none', 'dc_center', 5, 5)", 2, 4, {0}),
      // Frequency 0 keeps DC alone, 1 reaches the borders' middles but not the corners.
      at("gen_lowpass (F, 0, 'none', 'dc_edge', 8, 8)", 0, 0, {1}),
      at("gen_lowpass (F, 0, 'none', 'dc_edge', 8, 8)", 0, 1, {0}),
      at("gen_highpass (F, 0, 'none', 'dc_edge', 8, 8)", 0, 1, {1}),
      at("gen_lowpass (F, 1, 'none', 'dc_edge', 8, 8)", 0, 4, {1}),
      at("gen_lowpass (F, 1, 'none', 'dc_edge', 8, 8)", 4, 4, {0}),
      at("gen_lowpass (F, 0, 'n', 'rft', 1, 1)", 0, 0, {1}),
      {{"gen_highpass (F, 0.2, 'none', 'rft', 9, 4)", "get_image_size (F, W, H)", "R := [W, H]"},
       {5, 4}},
  });
}

// gen_bandpass and gen_bandfilter, HALCON 11.0: the factor inside MinFrequency ... Max-
// Frequency and 0 outside (gen_bandpass), the reverse for the band filter.
TEST(FftFiltersReference, IdealBandpassAndBandFilter) {
  const std::string pass = "gen_bandpass (F, 0.3, 0.6, 'none', 'dc_edge', 8, 8)";
  const std::string stop = "gen_bandfilter (F, 0.3, 0.6, 'none', 'dc_edge', 8, 8)";
  expectReals({
      at(pass, 0, 0, {0}),
      at(pass, 0, 1, {0}),
      at(pass, 0, 2, {1}),
      at(pass, 1, 1, {1}),
      at(pass, 2, 2, {0}),
      at(stop, 0, 0, {1}),
      at(stop, 0, 2, {0}),
      at(stop, 2, 2, {1}),
      at("gen_bandpass (F, 0.3, 0.6, 'n', 'dc_edge', 4, 4)", 0, 1, {1.0 / 16}),  // d = 0.5
      // A band of no width keeps the frequencies at exactly that distance.
      at("gen_bandpass (F, 0.5, 0.5, 'none', 'dc_edge', 8, 8)", 0, 2, {1}),
      at("gen_bandpass (F, 0.5, 0.5, 'none', 'dc_edge', 8, 8)", 1, 1, {0}),
  });
}

// gen_sin_bandpass and gen_std_bandpass, HALCON 11.0: the sine is 0 at DC, peaks at Frequency
// and falls back to 0 at 2 Frequency (the range 0 ... pi); 'gauss' is exp(-(d - F)^2 /
// (2 Sigma^2)), 'sin' the same arch around F reaching Sigma to each side.
TEST(FftFiltersReference, SineAndGaussianBandpasses) {
  const std::string sine = "gen_sin_bandpass (F, 0.5, 'none', 'dc_edge', 8, 8)";
  const std::string gauss = "gen_std_bandpass (F, 0.5, 0.25, 'gauss', 'none', 'dc_edge', 8, 8)";
  const std::string arch = "gen_std_bandpass (F, 0.5, 0.25, 'sin', 'none', 'dc_edge', 8, 8)";
  expectReals({
      at(sine, 0, 0, {0}),
      at(sine, 0, 1, {std::sqrt(0.5)}),                      // sin(pi/2 * 0.25 / 0.5)
      at(sine, 0, 2, {1}),                                   // the peak
      at(sine, 0, 4, {0}),                                   // d = 1 = 2 F: sin(pi)
      at(sine, 2, 2, {std::sin(kPi / 2 * std::sqrt(2.0))}),  // d = sqrt(2) / 2
      at("gen_sin_bandpass (F, 0, 'none', 'dc_edge', 8, 8)", 0, 0, {0}),
      at("gen_sin_bandpass (F, 0.5, 'n', 'dc_edge', 8, 4)", 1, 0, {1.0 / 32}),
      at(gauss, 0, 2, {1}),
      at(gauss, 0, 0, {std::exp(-2.0)}),  // (0 - 0.5)^2 / (2 / 16)
      at(gauss, 0, 1, {std::exp(-0.5)}),  // (0.25 - 0.5)^2 / (2 / 16)
      at(gauss, 0, 4, {std::exp(-2.0)}),
      at(arch, 0, 1, {0}),  // d = F - Sigma
      at(arch, 0, 2, {1}),
      at(arch, 0, 3, {0}),  // d = F + Sigma
      at(arch, 1, 1, {std::sin(kPi / 2 * (std::sqrt(2.0) / 4 - 0.25) / 0.25)}),
      at("gen_std_bandpass (F, 0.5, 0, 'gauss', 'none', 'dc_edge', 8, 8)", 0, 2, {1}),
      at("gen_std_bandpass (F, 0.5, 0, 'gauss', 'none', 'dc_edge', 8, 8)", 0, 1, {0}),
  });
}

// gen_mean_filter, HALCON 11.0: the transform of a mean of Diameter1 x Diameter2 pixels,
// Diameter1 along Phi. A rectangle's is sinc(D1 a) sinc(D2 b), sinc(x) = sin(pi x) / (pi x);
// an ellipse's 2 J1(pi r) / (pi r), r = |(D1 a, D2 b)|, with J1(pi / 2) = 0.566824 and
// J1(pi) = 0.284615 from J1's series sum_k (-1)^k (x/2)^(2k+1) / (k! (k+1)!).
TEST(FftFiltersReference, MeanFilterTransforms) {
  const auto ellipseAt = [](double zero) {
    const std::string d = std::to_string(8 * zero / kPi);
    return "gen_mean_filter (F, 'ellipse', " + d + ", " + d + ", 0, 'none', 'dc_edge', 8, 8)";
  };
  const std::string rect = "gen_mean_filter (F, 'rectangle', 4, 2, 0, 'none', 'dc_edge', 8, 8)";
  expectReals({
      at(rect, 0, 0, {1}),
      at(rect, 0, 1, {2 / kPi}),                   // sinc(4 / 8)
      at(rect, 1, 0, {2 * std::sqrt(2.0) / kPi}),  // sinc(2 / 8)
      at(rect, 0, 2, {0}),                         // sinc(1)
      at("gen_mean_filter (F, 'rectangle', 4, 2, 1.5707963, 'none', 'dc_edge', 8, 8)", 1, 0,
         {2 / kPi}),
      at("gen_mean_filter (F, 'rectangle', 4, 2, 0, 'n', 'dc_edge', 8, 8)", 0, 0, {1.0 / 64}),
      at("gen_mean_filter (F, 'ellipse', 4, 4, 0, 'none', 'dc_edge', 8, 8)", 0, 0, {1}),
      at("gen_mean_filter (F, 'ellipse', 4, 4, 0, 'none', 'dc_edge', 8, 8)", 0, 1,
         {2 * 0.566824 / (kPi / 2)}, 1e-5),
      at("gen_mean_filter (F, 'ellipse', 8, 4, 0, 'none', 'dc_edge', 8, 8)", 0, 1,
         {2 * 0.284615 / kPi}, 1e-5),
      // At J1's first and eleventh zeros, 3.83171 and 35.33231 (Abramowitz and Stegun, table
      // 9.5), the ellipse's transform is 0: u = 1/8, so pi D / 8 is the zero.
      at(ellipseAt(3.83171), 0, 1, {0}),
      at(ellipseAt(35.33231), 0, 1, {0}),
      // A huge mean removes everything but DC.
      at("gen_mean_filter (F, 'ellipse', 1e6, 1e6, 0, 'none', 'dc_edge', 8, 8)", 0, 1, {0}),
  });
}

// gen_derivative_filter, HALCON 11.0: the derivative's factor for the way back with the given
// Exponent, (Exponent 2 pi i u) for each x and (Exponent 2 pi i v) for each y; a complex
// image. 8 x 4: column 1 is u = 1/8, row 1 is v = 1/4.
TEST(FftFiltersReference, DerivativeFilters) {
  const auto derivative = [](const char* name, int exponent, const char* norm, const char* mode) {
    return std::string("gen_derivative_filter (F, '") + name + "', " + std::to_string(exponent) +
           ", '" + norm + "', '" + mode + "', 8, 4)";
  };
  const double q = kPi / 4;  // 2 pi / 8
  expectReals({
      at(derivative("x", 1, "none", "dc_edge"), 0, 1, {0, q}),
      at(derivative("x", 1, "none", "dc_edge"), 0, 7, {0, -q}),
      at(derivative("x", 1, "none", "dc_edge"), 1, 0, {0, 0}),
      at(derivative("x", 1, "none", "dc_edge"), 0, 0, {0, 0}),
      at(derivative("y", 1, "none", "dc_edge"), 1, 0, {0, 2 * q}),
      at(derivative("xx", 1, "none", "dc_edge"), 0, 1, {-q * q, 0}),
      at(derivative("xy", 1, "none", "dc_edge"), 1, 1, {-2 * q * q, 0}),
      at(derivative("xxx", 1, "none", "dc_edge"), 0, 1, {0, -q * q * q}),
      at(derivative("x", -1, "none", "dc_edge"), 0, 1, {0, -q}),
      at(derivative("x", 1, "n", "dc_edge"), 0, 1, {0, q / 32}),
      at(derivative("x", 1, "none", "dc_center"), 2, 5, {0, q}),
      at(derivative("yy", 1, "none", "rft"), 1, 1, {-4 * q * q, 0}),
      at("gen_derivative_filter (F, 'x', 1, 'none', 'rft', 1, 1)", 0, 0, {0, 0}),
  });
}

// phase_deg, HALCON 11.0: (90 / pi) atan2(im, re) with 180 added to negative values, stored
// as 'direction'; power_ln, HALCON 11.0: ln(sqrt(re^2 + im^2)) as 'real'. Pixels 3 + 4i,
// -1, -i, 1 - 0.001i and 0: 26.57 rounds to 27; 90; -45 + 180; 179.97 (the angle 0 again);
// atan2(0, 0) = 0.
TEST(FftFiltersReference, PhaseInDegreesAndLogPower) {
  const Lines make{"gen_image_const (Re, 'real', 5, 1)",
                   "set_grayval (Re, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], [3, -1, 0, 1, 0])",
                   "gen_image_const (Im, 'real', 5, 1)",
                   "set_grayval (Im, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], [4, 0, -1, -0.001, 0])",
                   "real_to_complex (Re, Im, C)"};
  const char* all = "get_grayval (P, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], R)";
  expectReals({
      {with(make, {"phase_deg (C, P)", all}), {27, 90, 135, 0, 0}},
      {with(make, {"power_ln (C, P)", all}), {std::log(5.0), 0, 0, 0, 0}, 1e-6},
  });
  expectCases({
      {"phase_deg gives 'direction'", with(make, {"phase_deg (C, P)", "get_image_type (P, R)"}),
       "'direction'"},
      {"power_ln gives 'real'", with(make, {"power_ln (C, P)", "get_image_type (P, R)"}), "'real'"},
      {"no image, no result", {"gen_empty_obj (E)", "power_ln (E, P)", "count_obj (P, R)"}, "0"},
  });
}

// energy_gabor, HALCON 11.0: channel1^2 + channel2^2, a real image of byte or real inputs.
TEST(FftFiltersReference, EnergyOfTwoChannels) {
  const auto energy = [](const char* type) {
    return Lines{std::string("gen_image_const (G, '") + type + "', 2, 2)",
                 "set_grayval (G, 1, 1, 3)",
                 std::string("gen_image_const (H, '") + type + "', 2, 2)",
                 "set_grayval (H, [1, 0], [1, 0], [4, 2])",
                 "energy_gabor (G, H, E)",
                 "get_grayval (E, [1, 0, 0], [1, 0, 1], R)"};
  };
  expectReals({{energy("real"), {25, 4, 0}}, {energy("byte"), {25, 4, 0}}});
  expectCases({{"no images, no energy",
                {"gen_empty_obj (E0)", "energy_gabor (E0, E0, E)", "count_obj (E, R)"},
                "0"}});
}

// The pages' restrictions, each with its parameter's number: frequencies and Sigma >= 0,
// MaxFrequency not below MinFrequency, diameters > 0, the listed names only, Exponent 1 or -1,
// complex input for phase_deg and power_ln, one size for energy_gabor's pair.
TEST(FftFiltersReference, RestrictionsRaiseTheirNumbers) {
  expectErrorCases({
      {{"gen_lowpass (F, -0.1, 'none', 'dc_edge', 8, 8)"}, 1301},
      {{"gen_lowpass (F, 0.1, 'sqrt', 'dc_edge', 8, 8)"}, 1302},
      {{"gen_highpass (F, 0.1, 'none', 'center', 8, 8)"}, 1303},
      {{"gen_highpass (F, 0.1, 'none', 'rft', 0, 8)"}, 1304},
      {{"gen_lowpass (F, 0.1, 'none', 'rft', 8, 40000)"}, 1305},
      {{"gen_bandpass (F, -1, 0.5, 'none', 'rft', 8, 8)"}, 1301},
      {{"gen_bandfilter (F, 0.6, 0.5, 'none', 'rft', 8, 8)"}, 1302},
      {{"gen_sin_bandpass (F, -0.5, 'none', 'rft', 8, 8)"}, 1301},
      {{"gen_std_bandpass (F, 0.5, -1, 'gauss', 'none', 'rft', 8, 8)"}, 1302},
      {{"gen_std_bandpass (F, 0.5, 0.1, 'box', 'none', 'rft', 8, 8)"}, 1303},
      {{"gen_mean_filter (F, 'circle', 3, 3, 0, 'none', 'rft', 8, 8)"}, 1301},
      {{"gen_mean_filter (F, 'ellipse', 0, 3, 0, 'none', 'rft', 8, 8)"}, 1302},
      {{"gen_mean_filter (F, 'ellipse', 3, -3, 0, 'none', 'rft', 8, 8)"}, 1303},
      {{"gen_derivative_filter (F, 'z', 1, 'none', 'rft', 8, 8)"}, 1301},
      {{"gen_derivative_filter (F, 'xxxx', 1, 'none', 'rft', 8, 8)"}, 1301},
      {{"gen_derivative_filter (F, 'x', 0, 'none', 'rft', 8, 8)"}, 1302},
      {{"gen_image_const (I, 'real', 4, 4)", "phase_deg (I, P)"}, 9001},
      {{"gen_image_const (I, 'real', 4, 4)", "power_ln (I, P)"}, 9001},
      {{"gen_image_const (A, 'real', 4, 4)", "gen_image_const (B, 'real', 4, 5)",
        "energy_gabor (A, B, E)"},
       3030},
  });
}

}  // namespace
