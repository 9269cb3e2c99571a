// Pixel arithmetic, bit operators, grey-value tables, midrange_image and the fixed edge masks
// as program lines call them. Every expected value is worked by hand from the definition on
// the vendor's HALCON 11.0 reference page named beside it; docs/standins.md holds the choices
// made where a page is silent (rounding, negative roots, mask centres, compass ties).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// Lines making NAME a WIDTH x HEIGHT image of TYPE holding VALUES row by row, then MORE.
Lines image(const std::string& name, const std::string& type, int width,
            const std::vector<double>& values, Lines more = {}) {
  std::string rows, cols, grays;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const char* sep = i ? ", " : "";
    rows += sep + std::to_string(int(i) / width);
    cols += sep + std::to_string(int(i) % width);
    grays += sep + std::to_string(values[i]);
  }
  Lines lines{"gen_image_const (" + name + ", '" + type + "', " + std::to_string(width) + ", " +
                  std::to_string(int(values.size()) / width) + ")",
              "set_grayval (" + name + ", [" + rows + "], [" + cols + "], [" + grays + "])"};
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

const char* kRow4 = "get_grayval (O, [0, 0, 0, 0], [0, 1, 2, 3], R)";
const char* kPixel = "get_grayval (O, 0, 0, R)";
const char* kRow2 = "get_grayval (O, [0, 0], [0, 1], R)";

// div_image, sqrt_image, log_image, exp_image and pow_image, HALCON 11.0.
TEST(PixelArithmetic, ValuesOfEachDefinition) {
  const Lines a = image("A", "byte", 4, {10, 200, 255, 7});
  const Lines b = image("B", "byte", 4, {4, 100, 1, 0});
  expectReals({
      // div_image: g1 / g2 * Mult + Add, rounded, clipped; a zero divisor gives 0.
      {a + b + Lines{"div_image (A, B, O, 1, 0)", kRow4}, {3, 2, 255, 0}},     // 2.5, 2, 255
      {a + b + Lines{"div_image (A, B, O, 2, 10)", kRow4}, {15, 14, 255, 0}},  // 15, 14, 520
      {image("A", "int2", 2, {-9, 5}) + image("B", "int2", 2, {2, -1}) +
           Lines{"div_image (A, B, O, 1, 0)", kRow2},
       {-5, -5}},  // -4.5 rounds away from 0
      {image("A", "real", 1, {1}) + image("B", "real", 1, {3}) +
           Lines{"div_image (A, B, O, 1, 0)", kPixel},
       {1.0 / 3},
       1e-6},
      // sqrt_image: the input's type; negative values give 0.
      {image("I", "byte", 4, {16, 2, 0, 255}, {"sqrt_image (I, O)", kRow4}), {4, 1, 0, 16}},
      {image("I", "int2", 2, {-4, 9}, {"sqrt_image (I, O)", kRow2}), {0, 3}},
      {image("I", "real", 1, {2}, {"sqrt_image (I, O)", kPixel}), {1.41421356}, 1e-6},
      // log_image: real results, 0 where g <= 0.
      {image("I", "byte", 4, {100, 1, 0, 8}, {"log_image (I, O, 10)", kRow4}),
       {2, 0, 0, 0.90309},
       1e-5},
      {image("I", "int2", 4, {8, -3, 1, 2}, {"log_image (I, O, 2)", kRow4}), {3, 0, 0, 1}, 1e-6},
      {image("I", "byte", 1, {20}, {"log_image (I, O, 'e')", kPixel}), {2.9957323}, 1e-6},
      // exp_image: real results; beyond a float's range the largest float.
      {image("I", "byte", 4, {10, 0, 1, 3}, {"exp_image (I, O, 2)", kRow4}), {1024, 1, 2, 8}},
      {image("I", "int2", 1, {1}, {"exp_image (I, O, 'e')", kPixel}), {2.7182818}, 1e-6},
      {image("I", "int2", 1, {200}, {"exp_image (I, O, 'e')", kPixel}),
       {3.4028234663852886e38},
       1e31},
      // pow_image: real results; 0 for negative values under a fractional exponent.
      {image("I", "int2", 4, {-2, 3, 0, -2}, {"pow_image (I, O, 3)", kRow4}), {-8, 27, 0, -8}},
      {image("I", "int2", 2, {-4, 9}, {"pow_image (I, O, 0.5)", kRow2}), {0, 3}},
  });
  expectCases({
      {"log_image gives real",
       image("I", "byte", 1, {5}, {"log_image (I, O, 'e')", "get_image_type (O, R)"}), "'real'"},
      {"pow_image gives real",
       image("I", "uint2", 1, {5}, {"pow_image (I, O, 2)", "get_image_type (O, R)"}), "'real'"},
      {"sqrt_image keeps int2",
       image("I", "int2", 1, {5}, {"sqrt_image (I, O)", "get_image_type (O, R)"}), "'int2'"},
  });
}

// deviation_n and illuminate, HALCON 11.0.
TEST(PixelArithmetic, ChannelDeviationAndIllumination) {
  const Lines three = image("A", "byte", 1, {1}) + image("B", "byte", 1, {2}) +
                      image("C", "byte", 1, {6}) + Lines{"compose3 (A, B, C, I)"};
  expectReals({
      // The mean 3, squares 4 + 1 + 9 = 14 over n - 1 = 2: twice sqrt(7) = 5.29.
      {three + Lines{"deviation_n (I, D)", "get_grayval (D, 0, 0, R)"}, {5}},
      {three + Lines{"convert_image_type (I, J, 'real')", "deviation_n (J, D)",
                     "get_grayval (D, 0, 0, R)"},
       {5.2915026},
       1e-5},
      {image("I", "byte", 1, {9}, {"deviation_n (I, D)", "get_grayval (D, 0, 0, R)"}), {0}},
      // illuminate: round((val - mean) * Factor + orig) on flat images, whose mean is the value:
      // (127 - 101) * 0.5 + 101 = 114; uint2 (32767 - 1001) / 2 + 1001 = 16884;
      // int2 (0 + 10) / 2 - 10 = -5.
      {image("I", "byte", 3, std::vector<double>(9, 101),
             {"illuminate (I, O, 3, 3, 0.5)", "get_grayval (O, 1, 1, R)"}),
       {114}},
      {image("I", "uint2", 3, std::vector<double>(9, 1001),
             {"illuminate (I, O, 3, 3, 0.5)", "get_grayval (O, 1, 1, R)"}),
       {16884}},
      {image("I", "int2", 3, std::vector<double>(9, -10),
             {"illuminate (I, O, 3, 3, 0.5)", "get_grayval (O, 1, 1, R)"}),
       {-5}},
  });
  expectCases({{"deviation_n gives one channel",
                three + Lines{"deviation_n (I, D)", "count_channels (D, R)"}, "1"}});
  EXPECT_EQ(programError(image("I", "byte", 1, {1}, {"illuminate (I, O, 3, 3, 5)"})), 1303);
}

// bit_and, bit_or, bit_xor, bit_not, bit_lshift, bit_rshift, bit_mask, bit_slice, HALCON 11.0:
// C's operators in the pixel's own type; left shifts held at the type's limits.
TEST(PixelBits, ValuesOfEachOperator) {
  const Lines pair =
      image("A", "byte", 4, {12, 255, 0, 170}) + image("B", "byte", 4, {10, 15, 7, 85});
  expectReals({
      {pair + Lines{"bit_and (A, B, O)", kRow4}, {8, 15, 0, 0}},
      {pair + Lines{"bit_or (A, B, O)", kRow4}, {14, 255, 7, 255}},
      {pair + Lines{"bit_xor (A, B, O)", kRow4}, {6, 240, 7, 255}},
      {image("A", "int2", 2, {-1, -256}) + image("B", "int2", 2, {255, 255}) +
           Lines{"bit_and (A, B, O)", kRow2},
       {255, 0}},
      {image("I", "byte", 2, {0, 200}, {"bit_not (I, O)", kRow2}), {255, 55}},
      {image("I", "int1", 2, {5, -1}, {"bit_not (I, O)", kRow2}), {-6, 0}},
      {image("I", "uint2", 1, {0}, {"bit_not (I, O)", kPixel}), {65535}},
      {image("I", "byte", 4, {3, 100, 64, 0}, {"bit_lshift (I, O, 2)", kRow4}), {12, 255, 255, 0}},
      {image("I", "int2", 2, {-3, -20000}, {"bit_lshift (I, O, 2)", kRow2}), {-12, -32768}},
      {image("I", "byte", 4, {200, 7, 8, 255}, {"bit_rshift (I, O, 3)", kRow4}), {25, 0, 1, 31}},
      {image("I", "int2", 2, {-8, -1}, {"bit_rshift (I, O, 1)", kRow2}), {-4, -1}},
      {image("I", "byte", 2, {182, 9}, {"bit_mask (I, O, 15)", kRow2}), {6, 9}},
      // 182 = 128 + 32 + 16 + 4 + 2: bit 3 holds 4, bit 1 nothing, bit 8 holds 128.
      {image("I", "byte", 3, {182, 182, 182}) +
           Lines{"bit_slice (I, O3, 3)", "bit_slice (I, O1, 1)", "bit_slice (I, O8, 8)",
                 "get_grayval (O3, 0, 0, G3)", "get_grayval (O1, 0, 0, G1)",
                 "get_grayval (O8, 0, 0, G8)", "R := [G3, G1, G8]"},
       {4, 0, 128}},
  });
}

// lut_trans, equ_histo_image and midrange_image, HALCON 11.0.
TEST(PixelTables, ValuesOfEachTable) {
  const std::string inverse = "Lut := 255 - [0:255]";
  const std::string shortLut = "Lut := [0:255] * 2";
  const std::string fullLut = "Lut := [-32768:32767] * 0 + 7";
  expectReals({
      {image("I", "byte", 2, {10, 255}, {inverse, "lut_trans (I, O, Lut)", kRow2}), {245, 0}},
      // int2 with 256 entries: from 0 up; negative and larger values give 0.
      {image("I", "int2", 4, {7, -5, 300, 255}, {shortLut, "lut_trans (I, O, Lut)", kRow4}),
       {14, 0, 0, 510}},
      // int2 with 65536 entries: the first for -32768.
      {image("I", "int2", 2, {-32768, 100},
             {fullLut, "Lut[0] := 3", "lut_trans (I, O, Lut)", kRow2}),
       {3, 7}},
      {image("I", "uint2", 2, {3, 256}, {shortLut, "lut_trans (I, O, Lut)", kRow2}), {6, 0}},
      // equ_histo_image: 255 * the share of the domain at or below g; 0 0 100 200 gives
      // 127.5, 191.25 and 255.
      {image("I", "byte", 4, {0, 0, 100, 200}, {"equ_histo_image (I, O)", kRow4}),
       {128, 128, 191, 255}},
      {image("I", "uint2", 2, {1000, 3000}, {"equ_histo_image (I, O)", kRow2}),
       {32768, 65535}},  // 65535 / 2 = 32767.5
      // midrange_image over three pixels of a row, centred: mirrored edges repeat the edge.
      {image("I", "byte", 4, {1, 5, 3, 10},
             {"gen_rectangle1 (M, 0, 0, 0, 2)", "midrange_image (I, M, O, 'mirrored')", kRow4}),
       {3, 3, 7, 7}},  // (1+5)/2, (1+5)/2, (3+10)/2 = 6.5, (3+10)/2
      {image("I", "byte", 4, {1, 5, 3, 10},
             {"gen_rectangle1 (M, 0, 0, 0, 2)", "midrange_image (I, M, O, 20)", kRow4}),
       {11, 3, 7, 12}},  // (1+20)/2 = 10.5, ..., (3+20)/2 = 11.5
      // An empty mask: each pixel keeps its value (docs/standins.md).
      {image("I", "byte", 2, {4, 9},
             {"gen_empty_region (M)", "midrange_image (I, M, O, 0)", kRow2}),
       {4, 9}},
      {image("I", "real", 4, {1, 5, 3, 10},
             {"gen_rectangle1 (M, 5, 5, 5, 7)", "midrange_image (I, M, O, 'cyclic')", kRow4}),
       {5.5, 3, 6.5, 5.5}},  // cyclic: col -1 is col 3
  });
}

// convol_image, deviation_image and entropy_image, HALCON 11.0.
TEST(MaskFilters, ConvolutionsAndDeviations) {
  const Lines row = image("I", "byte", 4, {1, 5, 3, 10});
  const Lines spot = image("I", "byte", 3, {0, 0, 0, 0, 9, 0, 0, 0, 0});
  const std::string pair = "[1, 3, 2, 1, 0, 1]";  // 1 x 3, divided by 2: the neighbours' mean
  expectReals({
      // (g(c - 1) + g(c + 1)) / 2 with the mirrored edges: 3, 2, 7.5, 6.5.
      {row + Lines{"convol_image (I, O, " + pair + ", 'mirrored')", kRow4}, {3, 2, 8, 7}},
      // 20 beyond the edges: (20 + 5) / 2 = 12.5, ..., (3 + 20) / 2 = 11.5.
      {row + Lines{"convol_image (I, O, " + pair + ", 20)", kRow4}, {13, 2, 8, 12}},
      // A derivative on int2, the edge pixels continued: g(c + 1) - g(c - 1).
      {image("I", "int2", 4, {1, 5, 3, 10},
             {"convol_image (I, O, [1, 3, 1, -1, 0, 1], 'continued')", kRow4}),
       {4, 2, 5, 7}},
      // deviation_image: the window holds one 9 and eight 0s (mirrored at the corner too):
      // the mean 1, the mean square 9, twice sqrt(8) = 5.657.
      {spot + Lines{"deviation_image (I, D, 3, 3)", "get_grayval (D, [1, 0, 2], [1, 0, 2], R)"},
       {6, 6, 6}},
      {spot + Lines{"deviation_image (I, D, 2, 2)", "get_grayval (D, 1, 1, R)"}, {6}},
      {image("I", "real", 3, {0, 0, 0, 0, 9, 0, 0, 0, 0},
             {"deviation_image (I, D, 3, 3)", "get_grayval (D, 1, 1, R)"}),
       {5.6568542},
       1e-5},
  });
  // entropy_image: 32 times the entropy in bits. One 9 among eight 0s:
  // 32 (1/9 log2 9 + 8/9 log2 9/8) = 16.10; about the corner of 0 1 / 2 3 the mirrored window
  // holds 0 four times, 1 and 2 twice, 3 once: 32 * 1.8366 = 58.77.
  expectReals({
      {spot + Lines{"entropy_image (I, E, 3, 3)", "get_grayval (E, 1, 1, R)"}, {16}},
      {image("I", "byte", 2, {0, 1, 2, 3},
             {"entropy_image (I, E, 2, 2)", "get_grayval (E, 0, 0, R)"}),
       {59}},
      {spot + Lines{"entropy_image (I, E, 1, 1)", "get_grayval (E, 1, 1, R)"}, {0}},
  });
  expectErrorCases({
      {row + Lines{"entropy_image (I, E, 0, 3)"}, 1301},
      {image("I", "int2", 1, {1}, {"entropy_image (I, E, 3, 3)"}), 9001},
      {row + Lines{"convol_image (I, O, [1, 3, 2, 1, 0, 1, 7], 'mirrored')"}, 1401},
      {row + Lines{"convol_image (I, O, [1, 3, 0, 1, 0, 1], 'mirrored')"}, 1301},
      {row + Lines{"convol_image (I, O, [1, 3, 2, 1, 0, 1], 'wrapped')"}, 1302},
      {row + Lines{"deviation_image (I, D, 1, 3)"}, 1301},
      {row + Lines{"deviation_image (I, D, 3, 1)"}, 1302},
      {image("I", "int1", 1, {1}, {"deviation_image (I, D, 3, 3)"}), 9001},
  });
}

// roberts, prewitt_*, kirsch_*, frei_*, robinson_*, HALCON 11.0, on g(r, c) = 10c + r and on
// steps; the pixel is the centre of a 3 x 3 image unless said otherwise.
TEST(EdgeMasks, AmplitudesAndDirections) {
  const Lines ramp = image("I", "byte", 3, {0, 10, 20, 1, 11, 21, 2, 12, 22});
  const Lines down = image("I", "byte", 3, {0, 0, 0, 0, 0, 0, 9, 9, 9});
  const Lines corner = image("I", "byte", 3, {0, 9, 9, 0, 0, 9, 0, 0, 0});
  const std::string centre = "get_grayval (A, 1, 1, R)";
  const auto lines = [](Lines image, std::vector<std::string> more) {
    image.insert(image.end(), more.begin(), more.end());
    return image;
  };
  expectReals({
      // roberts with A = 0, B = 10, C = 1, D = 11: |A - D| = 11, |B - C| = 9;
      // |A + B - C - D| = 2, |A + C - B - D| = 20.
      {lines(ramp, {"roberts (I, A, 'roberts_max')", centre}), {11}},
      {lines(ramp, {"roberts (I, A, 'gradient_max')", centre}), {20}},
      {lines(ramp, {"roberts (I, A, 'gradient_sum')", centre}), {22}},
      // row 0 reads its mirror, row 0 itself: A = 0, B = 10, C = 0, D = 10.
      {lines(ramp, {"roberts (I, A, 'roberts_max')", "get_grayval (A, 0, 1, R)"}), {10}},
      // Prewitt on the ramp: a = 30 - 36 = -6, b = 3 - 63 = -60; the larger magnitude, and
      // the direction of (a, -b) = (-6, 60), 354.29 degrees, halved 177.
      {lines(ramp, {"prewitt_dir (I, A, D)", "get_grayval (A, 1, 1, G1)",
                    "get_grayval (D, 1, 1, G2)", "R := [G1, G2]"}),
       {60, 177}},
      // Frei on the ramp: b = 2 + 1.41 - 42 - 29.70 = -68.28.
      {lines(ramp, {"frei_amp (I, A)", centre}), {68}},
      // Prewitt: a = 0 - 27, b = 0; brighter downwards, 270 degrees.
      {lines(down, {"prewitt_amp (I, A)", centre}), {27}},
      {lines(down, {"prewitt_dir (I, A, D)", "get_grayval (A, 1, 1, G1)",
                    "get_grayval (D, 1, 1, G2)", "R := [G1, G2]"}),
       {27, 135}},
      // Frei: a = -(9 + 9 sqrt 2 + 9) = -30.73.
      {lines(down, {"frei_dir (I, A, D)", "get_grayval (A, 1, 1, G1)", "get_grayval (D, 1, 1, G2)",
                    "R := [G1, G2]"}),
       {31, 135}},
      // Kirsch: the downward mask 5 * 27; Robinson: 2 * 9 + 9 + 9.
      {lines(down, {"kirsch_dir (I, A, D)", "get_grayval (A, 1, 1, G1)",
                    "get_grayval (D, 1, 1, G2)", "R := [G1, G2]"}),
       {135, 135}},
      {lines(down, {"robinson_dir (I, A, D)", "get_grayval (A, 1, 1, G1)",
                    "get_grayval (D, 1, 1, G2)", "R := [G1, G2]"}),
       {36, 135}},
      // The upper right corner bright: Kirsch's 45 degree mask 5 * 27 (its neighbours 63),
      // stored as 22.5 rounded up; Robinson's 2 * 9 + 9 + 9 there too.
      {lines(corner, {"kirsch_dir (I, A, D)", "get_grayval (A, 1, 1, G1)",
                      "get_grayval (D, 1, 1, G2)", "R := [G1, G2]"}),
       {135, 23}},
      {lines(corner, {"robinson_amp (I, A)", centre}), {36}},
      // One bright pixel above right: the masks of 90, 45 and 0 degrees each give 5 * 8; the
      // first clockwise from the upper left, 90 degrees, wins.
      {image("I", "byte", 3, {0, 0, 8, 0, 0, 0, 0, 0, 0},
             {"kirsch_dir (I, A, D)", "get_grayval (A, 1, 1, G1)", "get_grayval (D, 1, 1, G2)",
              "R := [G1, G2]"}),
       {40, 45}},
      {lines(corner, {"kirsch_amp (I, A)", centre}), {135}},
  });
  expectCases({
      {"a flat image has no direction",
       image("I", "byte", 3, std::vector<double>(9, 7),
             {"prewitt_dir (I, A, D)", "get_grayval (A, 1, 1, G1)", "get_grayval (D, 1, 1, G2)",
              "R := [G1, G2]"}),
       "[0, 255]"},
      {"the direction image is 'direction'",
       lines(down, {"kirsch_dir (I, A, D)", "get_image_type (D, R)"}), "'direction'"},
      {"uint2 amplitudes are not clipped at 255",
       image("I", "uint2", 3, {0, 0, 0, 0, 0, 0, 900, 900, 900}, {"prewitt_amp (I, A)", centre}),
       "2700"},
  });
}

// nonmax_suppression_amp and nonmax_suppression_dir, HALCON 11.0: the maxima stay in the
// domain, the grey values unchanged.
TEST(EdgeThinning, MaximaStayInTheDomain) {
  const Lines square = image("I", "byte", 2, {1, 5, 3, 4});
  const Lines corner = image("I", "byte", 2, {1, 5, 3, 2});
  const std::string area = "get_domain (O, D)\narea_center (D, A, Row, Col)\nR := [A, Row, Col]";
  const Lines across = image("I", "byte", 3, {0, 0, 0, 2, 5, 3, 0, 0, 0},
                             {"gen_image_const (Dir, 'direction', 3, 3)"});
  // At 60 degrees (30): 'nms' meets (0, 2) = 6 above right; 'inms' reads
  // 0.866 * (2 + 6) / 2 + 0.134 * 5 / 2 = 3.80 above and 0.134 * 5 / 2 below.
  const Lines slant =
      image("I", "byte", 3, {0, 2, 6, 0, 5, 0, 0, 0, 0},
            {"gen_image_const (Dir, 'direction', 3, 3)", "set_grayval (Dir, 1, 1, 30)"});
  expectCases({
      // 'hvnms' on 1 5 / 3 4: 5 and 4 lead their rows, 3 its column; 1 leads neither.
      {"'hvnms' keeps row or column maxima",
       square + Lines{"nonmax_suppression_amp (I, O, 'hvnms')", "get_domain (O, D)",
                      "area_center (D, R, Row, Col)"},
       "3"},
      // 'loc_max' on 1 5 / 3 2: the 3 meets the 5 across the anti-diagonal.
      {"'loc_max' keeps what no neighbour passes",
       corner + split("nonmax_suppression_amp (I, O, 'loc_max')\n" + area), "[1, 0.0, 1.0]"},
      {"equal values are maxima",
       image("I", "real", 2, {7, 7, 7, 7},
             split("nonmax_suppression_amp (I, O, 'loc_max')\n" + area)),
       "[4, 0.5, 0.5]"},
      // Direction 0 compares along the row: the 2 and the 3 go, the zero rows stay.
      {"'nms' across the row", across + split("nonmax_suppression_dir (I, Dir, O, 'nms')\n" + area),
       "[7, 1.0, 1.0]"},
      // Direction 45 (90 degrees) compares up and down: the zero rows go.
      {"'nms' down the column",
       across + split("set_grayval (Dir, [1, 1, 1, 0, 0, 0, 2, 2, 2], [0, 1, 2, 0, 1, 2, 0, 1, 2], "
                      "45)\nnonmax_suppression_dir (I, Dir, O, 'nms')\n" +
                      area),
       "[3, 1.0, 1.0]"},
      {"'nms' at the nearest neighbour",
       slant + Lines{"nonmax_suppression_dir (I, Dir, O, 'nms')", "get_domain (O, D)",
                     "test_region_point (D, 1, 1, R)"},
       "0"},
      {"'inms' between neighbours",
       slant + Lines{"nonmax_suppression_dir (I, Dir, O, 'inms')", "get_domain (O, D)",
                     "test_region_point (D, 1, 1, R)"},
       "1"},
      {"no direction, no maximum",
       across + split("set_grayval (Dir, 1, 1, 255)\nnonmax_suppression_dir (I, Dir, O, "
                      "'nms')\nget_domain (O, D)\ntest_region_point (D, 1, 1, R)"),
       "0"},
  });
  EXPECT_EQ(programError(square + Lines{"nonmax_suppression_amp (I, O, 'nms')"}), 1301);
  EXPECT_EQ(programError(square + Lines{"nonmax_suppression_dir (I, I, O, 'nms')"}), 9001);
}

// Inputs every operator shares: no images, reduced domains, channels, refused types and the
// pages' parameter restrictions.
TEST(PixelOperators, EmptyDomainsChannelsAndErrors) {
  expectCases({
      {"no images, no results",
       {"gen_empty_obj (E)", "sqrt_image (E, O1)", "bit_not (E, O2)",
        "roberts (E, O3, 'gradient_sum')", "div_image (E, E, O4, 1, 0)", "count_obj (O1, N1)",
        "count_obj (O2, N2)", "count_obj (O3, N3)", "count_obj (O4, N4)", "R := [N1, N2, N3, N4]"},
       "[0, 0, 0, 0]"},
      {"the input's domain is the result's",
       image("I", "byte", 4, {1, 2, 3, 4},
             {"gen_rectangle1 (Q, 0, 1, 0, 2)", "reduce_domain (I, Q, J)", "kirsch_amp (J, O)",
              "get_domain (O, D)", "area_center (D, R, Row, Col)"}),
       "2"},
      {"an empty domain computes nothing",
       image("I", "byte", 4, {1, 2, 3, 4},
             {"gen_empty_region (Q)", "reduce_domain (I, Q, J)", "equ_histo_image (J, O)",
              "count_obj (O, R)"}),
       "1"},
      {"each channel on its own",
       image("I", "byte", 1, {12}) + image("J", "byte", 1, {3}) +
           Lines{"compose3 (I, J, J, C)", "bit_lshift (C, O, 1)", "access_channel (O, O2, 2)",
                 "get_grayval (O2, 0, 0, R)"},
       "6"},
  });
  expectErrorCases({
      {image("I", "real", 1, {1}, {"bit_not (I, O)"}), 9001},
      {image("I", "cyclic", 1, {1}, {"sqrt_image (I, O)"}), 9001},
      {image("I", "int4", 1, {1}, {"prewitt_amp (I, O)"}), 9001},
      {image("I", "real", 1, {1}, {"lut_trans (I, O, [0:255])"}), 9001},
      {image("I", "byte", 1, {1}, {"roberts (I, O, 'sobel')"}), 1301},
      {image("I", "byte", 1, {1}, {"bit_lshift (I, O, 0)"}), 1301},
      {image("I", "byte", 1, {1}, {"bit_rshift (I, O, 32)"}), 1301},
      {image("I", "byte", 1, {1}, {"bit_slice (I, O, 33)"}), 1301},
      {image("I", "byte", 1, {1}, {"log_image (I, O, 1)"}), 1301},
      {image("I", "byte", 1, {1}, {"log_image (I, O, 'ten')"}), 1301},
      {image("I", "byte", 1, {1}, {"exp_image (I, O, -2)"}), 1301},
      {image("I", "byte", 1, {1}, {"lut_trans (I, O, [0:254])"}), 1401},
      {image("I", "int2", 1, {1}, {"lut_trans (I, O, [0:40000])"}), 1401},
      {image("I", "byte", 1, {1}, {"lut_trans (I, O, [0.5:255.5])"}), 1201},
      {image("I", "byte", 1, {1},
             {"gen_rectangle1 (M, 0, 0, 0, 2)", "midrange_image (I, M, O, 'wrapped')"}),
       1301},
      {image("A", "byte", 1, {1}) + image("B", "int2", 1, {1}) + Lines{"div_image (A, B, O, 1, 0)"},
       9001},
  });
}

}  // namespace
