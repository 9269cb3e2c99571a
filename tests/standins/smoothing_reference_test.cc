// smooth_image, binomial_filter, texture_laws, dots_image, emphasize, scale_image_max and
// mult_image against
// values worked out by hand from the definitions on the vendor's HALCON 11.0 reference pages, which
// each table names, through the C++ interface and program lines.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// binomial_filter, HALCON 11.0 reference: b_ij = C(m-1, i) C(n-1, j) / 2^(n+m-2), n the mask's
// width, m its height. Each row: 255 b at the offset from the impulse, rounded.
TEST(BinomialFilterReference, ImpulseGivesTheBinomialWeights) {
  struct Row {
    Hlong width, height, row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {1, 1, 11, 11, 255, "1 x 1: the image itself"},
      {1, 1, 11, 12, 0, "1 x 1: nothing spreads"},
      {3, 3, 11, 11, 64, "255 * 2 * 2 / 16 = 63.75"},
      {3, 3, 11, 12, 32, "255 * 2 * 1 / 16 = 31.88"},
      {3, 3, 10, 12, 16, "255 * 1 * 1 / 16 = 15.94"},
      {5, 5, 11, 11, 36, "255 * 6 * 6 / 256 = 35.86"},
      {5, 5, 11, 12, 24, "255 * 6 * 4 / 256 = 23.91"},
      {5, 5, 11, 13, 6, "255 * 6 * 1 / 256 = 5.98"},
      {5, 3, 11, 13, 8, "width 5, height 3: 255 * 2 * 1 / 64 = 7.97"},
      {5, 3, 12, 11, 24, "255 * 1 * 6 / 64 = 23.91"},
      {5, 3, 13, 11, 0, "two rows down is outside a mask of height 3"},
      {21, 21, 11, 11, 8, "255 C(20,10)^2 / 2^40 = 7.92"},
      {37, 1, 11, 11, 34, "255 C(36,18) / 2^36 = 33.68"},
      {37, 1, 11, 17, 5, "255 C(36,24) / 2^36 = 4.64"},
      {37, 37, 11, 11, 4, "255 C(36,18)^2 / 2^72 = 4.45"},
      {37, 37, 11, 13, 4, "255 C(36,18) C(36,20) / 2^72 = 3.58"},
  };
  const Impulse impulse;
  for (const Row& row : rows) {
    HObject smooth;
    BinomialFilter(impulse.image, &smooth, row.width, row.height);
    EXPECT_EQ(grayAt(smooth, row.row, row.col), row.expected)
        << row.width << " x " << row.height << " at " << row.row << ", " << row.col << ": "
        << row.worked;
  }
}

// binomial_filter, HALCON 11.0 reference: the sum is rounded once, halves up (1 2 1 / 4 over
// 0 0 2 0 0 gives 0.5 beside the 2, and over 0 0 1 0 0 gives 0.5 on the 1); the border mirrors
// the image, so a bright corner meets itself: 255 (3/4)^2 = 143.44; a constant image stays
// constant, the largest masks over a 1 x 1 image included.
TEST(BinomialFilterReference, RoundsHalvesUpAndMirrors) {
  std::vector<std::uint8_t> two{0, 0, 2, 0, 0}, one{0, 0, 1, 0, 0};
  HObject smooth;
  BinomialFilter(wrapGray(two, 5, 1), &smooth, 3, 1);
  EXPECT_EQ(grayAt(smooth, 0, 1), 1) << "0.5 rounds up";
  EXPECT_EQ(grayAt(smooth, 0, 2), 1) << "4 / 4";
  BinomialFilter(wrapGray(one, 5, 1), &smooth, 3, 1);
  EXPECT_EQ(grayAt(smooth, 0, 1), 0) << "0.25";
  EXPECT_EQ(grayAt(smooth, 0, 2), 1) << "0.5 rounds up";
  std::vector<std::uint8_t> corner(5 * 4, 0);
  corner[0] = 255;
  BinomialFilter(wrapGray(corner, 5, 4), &smooth, 3, 3);
  EXPECT_EQ(grayAt(smooth, 0, 0), 143);
  std::vector<std::uint8_t> flat(9 * 7, 255), dot{77};
  const HObject constant = wrapGray(flat, 9, 7), single = wrapGray(dot, 1, 1);
  for (const Hlong side : {1, 3, 15, 21, 29, 37}) {
    BinomialFilter(constant, &smooth, side, side);
    EXPECT_EQ(grayAt(smooth, 3, 4), 255) << side;
    EXPECT_EQ(grayAt(smooth, 6, 8), 255) << side;
    BinomialFilter(single, &smooth, side, 37);
    EXPECT_EQ(grayAt(smooth, 0, 0), 77) << side << ": a mask larger than the image";
  }
}

// smooth_image, HALCON 11.0 reference: the recursive filters of Deriche ('deriche1',
// 'deriche2') and Shen ('shen'), Alpha larger for less smoothing, and the Gaussian ('gauss')
// with Alpha its sigma. Each kind smooths rows and columns alike with its impulse response
// f(n) normalised to sum one (r = e^-Alpha): deriche1 (1 + Alpha |n|) r^|n|, deriche2
// (sin(Alpha |n|) + cos(Alpha |n|)) r^|n|, shen r^|n|, gauss exp(-n^2 / 2 Alpha^2). Each row:
// 255 w(dr) w(dc).
TEST(SmoothImageReference, ImpulseGivesTheNormalisedResponse) {
  struct Row {
    const char* filter;
    double alpha;
    Hlong row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {"shen", 1, 11, 11, 54, "w0 = (1 - r) / (1 + r) = .46212: 255 w0^2 = 54.46"},
      {"shen", 1, 11, 12, 20, "w1 = r w0 = .17000: 20.03"},
      {"shen", 1, 12, 12, 7, "255 w1^2 = 7.37"},
      {"shen", 1, 11, 14, 3, "255 w0 r^3 w0 = 2.71"},
      {"shen", 0.5, 11, 11, 15, "w0 = .24492: 15.30"},
      {"deriche1", 1, 11, 11, 16, "sum = 1 + 2 (r / (1-r) + r / (1-r)^2) = 4.0053: 15.90"},
      {"deriche1", 1, 11, 12, 12, "w1 = 2r / 4.0053 = .18370: 11.70"},
      {"deriche1", 1, 12, 12, 9, "255 w1^2 = 8.60"},
      {"deriche1", 1, 11, 13, 6, "w2 = 3r^2 / 4.0053 = .10137: 6.45"},
      {"deriche2", 0.5, 11, 11, 16, "w0 = .24991: 15.93"},
      {"deriche2", 0.5, 11, 12, 13, "w1 = .20570: 13.11"},
      {"deriche2", 0.5, 12, 12, 11, "255 w1^2 = 10.79"},
      {"deriche2", 1, 11, 11, 63, "w0 = .49724: 63.05"},
      {"deriche2", 1, 11, 14, 0, "w3 = (sin 3 + cos 3) r^3 / sum < 0: -2.66 clipped"},
      {"gauss", 1, 11, 11, 41, "w0 = .39894: 40.58"},
      {"gauss", 1, 11, 12, 25, "w1 = .24197: 24.62"},
      {"gauss", 1, 12, 12, 15, "255 w1^2 = 14.93"},
      {"gauss", 1, 11, 14, 0, "w3 = .00443: 0.45"},
      {"gauss", 2, 11, 11, 10, "w0 = .19947: 10.15"},
      {"gauss", 2, 11, 13, 6, "w2 = .12099: 6.15"},
  };
  const Impulse impulse;
  for (const Row& row : rows) {
    HObject smooth;
    SmoothImage(impulse.image, &smooth, row.filter, row.alpha);
    EXPECT_EQ(grayAt(smooth, row.row, row.col), row.expected)
        << row.filter << " " << row.alpha << " at " << row.row << ", " << row.col << ": "
        << row.worked;
  }
}

// smooth_image, HALCON 11.0 reference: the filters' weights sum to one, so a constant image
// stays constant, however small the image against the filter's reach; at the border the image
// is mirrored, so a bright corner of a 5 x 4 image meets itself: 255 (w0 + w1)^2.
TEST(SmoothImageReference, EdgesMirrorAndWeightsSumToOne) {
  struct Corner {
    const char* filter;
    double alpha;
    Hlong expected;
    const char* worked;
  };
  const Corner corners[] = {
      {"shen", 3, 230, "(.90515 + .04506)^2 255 = 230.24"},
      {"deriche1", 2, 121, "121.48, the far copies of the 5 x 4 image counted"},
      {"gauss", 0.5, 203, "(.78697 + .10651)^2 255 = 203.36"},
  };
  std::vector<std::uint8_t> corner(5 * 4, 0);
  corner[0] = 255;
  const HObject cornerImage = wrapGray(corner, 5, 4);
  for (const Corner& row : corners) {
    HObject smooth;
    SmoothImage(cornerImage, &smooth, row.filter, row.alpha);
    EXPECT_EQ(grayAt(smooth, 0, 0), row.expected) << row.filter << ": " << row.worked;
  }
  std::vector<std::uint8_t> flat(9 * 7, 201), dot{77}, pair{200, 200};
  const HObject constant = wrapGray(flat, 9, 7), single = wrapGray(dot, 1, 1),
                narrow = wrapGray(pair, 2, 1);
  for (const char* filter : {"deriche1", "deriche2", "shen", "gauss"}) {
    for (const double alpha : {0.01, 0.3, 1.0, 4.0, 40.0}) {
      HObject smooth;
      SmoothImage(constant, &smooth, filter, alpha);
      EXPECT_EQ(grayAt(smooth, 3, 4), 201) << filter << " " << alpha;
      EXPECT_EQ(grayAt(smooth, 0, 8), 201) << filter << " " << alpha;
      SmoothImage(single, &smooth, filter, alpha);
      EXPECT_EQ(grayAt(smooth, 0, 0), 77) << filter << " " << alpha << ": a 1 x 1 image";
      SmoothImage(narrow, &smooth, filter, alpha);
      EXPECT_EQ(grayAt(smooth, 0, 1), 200) << filter << " " << alpha << ": mirrored many times";
    }
  }
}

// scale_image_max, HALCON 11.0 reference: the minimum and maximum spread over 0 ... 255,
// (g - min) 255 / (max - min), here taken within the domain and rounded, halves up.
TEST(ScaleImageMaxReference, SpreadsTheDomainsRange) {
  std::vector<std::uint8_t> pixels{50, 100, 150, 75};
  const HObject image = wrapGray(pixels, 4, 1);
  HObject scaled;
  ScaleImageMax(image, &scaled);
  EXPECT_EQ(grayAt(scaled, 0, 0), 0) << "the minimum";
  EXPECT_EQ(grayAt(scaled, 0, 1), 128) << "50 * 255 / 100 = 127.5";
  EXPECT_EQ(grayAt(scaled, 0, 2), 255) << "the maximum";
  EXPECT_EQ(grayAt(scaled, 0, 3), 64) << "25 * 255 / 100 = 63.75";
  HObject box, reduced;
  GenRectangle1(&box, 0, 0, 0, 1);
  ReduceDomain(image, box, &reduced);
  ScaleImageMax(reduced, &scaled);
  EXPECT_EQ(grayAt(scaled, 0, 1), 255) << "100 is the domain's maximum";
  std::vector<std::uint8_t> flat(6, 90);
  ScaleImageMax(wrapGray(flat, 3, 2), &scaled);
  EXPECT_EQ(grayAt(scaled, 1, 2), 90) << "one grey value has no range to spread";
}

// mult_image, HALCON 11.0 reference: g' = g1 g2 Mult + Add, clipped to the byte range.
TEST(MultImageReference, MultipliesAndClips) {
  struct Row {
    Hlong g1, g2;
    double mult, add;
    Hlong expected;
    const char* worked;
  };
  const Row rows[] = {
      {10, 20, 0.5, 3, 103, "200 * .5 + 3"},
      {200, 200, 0.005, 0, 200, "the default factor: 40000 * .005"},
      {255, 255, 1, 0, 255, "65025 clipped"},
      {100, 100, -1, 0, 0, "-10000 clipped"},
      {1, 1, 0.5, 0, 1, "0.5 rounds up"},
      {7, 0, 3, 12.4, 12, "0 + 12.4"},
  };
  for (const Row& row : rows) {
    std::vector<std::uint8_t> a(4, static_cast<std::uint8_t>(row.g1)),
        b(4, static_cast<std::uint8_t>(row.g2));
    HObject product;
    MultImage(wrapGray(a, 2, 2), wrapGray(b, 2, 2), &product, row.mult, row.add);
    EXPECT_EQ(grayAt(product, 1, 1), row.expected) << row.worked;
  }
}

// texture_laws, HALCON 11.0 reference: the mask of 'xy' is the vector x down the columns times
// the vector y along the rows (l, e, s; w, r from size 5; u, o at 7), the result shifted by
// Shift. The mask is laid as written, its first weight on the pixel above or left of the
// centre; what falls below 0 or above 255 is clipped. Rows alike, g = 10 c over 9 columns.
TEST(TextureLawsReference, MasksShiftAndClip) {
  std::vector<std::uint8_t> ramp, down, dot(9 * 9, 0), one{50};
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 9; ++c) {
      ramp.push_back(static_cast<std::uint8_t>(10 * c));
      down.push_back(static_cast<std::uint8_t>(80 - 10 * c));
    }
  }
  dot[4 * 9 + 4] = 100;
  const HObject rampImage = wrapGray(ramp, 9, 5), downImage = wrapGray(down, 9, 5),
                dotImage = wrapGray(dot, 9, 9), single = wrapGray(one, 1, 1);
  struct Row {
    const HObject* image;
    const char* types;
    Hlong shift, size, row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {&rampImage, "le", 0, 3, 2, 4, 80, "l sums 4 g; e: -g(c-1) + g(c+1) = 20; 4 * 20"},
      {&rampImage, "le", 2, 3, 2, 4, 20, "80 >> 2"},
      {&rampImage, "le", 0, 3, 2, 0, 40, "g(-1) mirrors g(0): 4 * (10 - 0)"},
      {&rampImage, "el", 0, 3, 2, 4, 0, "e down identical rows: 0"},
      {&rampImage, "ll", 4, 3, 2, 4, 40, "16 g >> 4"},
      {&rampImage, "ls", 0, 5, 2, 4, 0, "s: -g(c-2) + 2 g(c) - g(c+2) = 0 on a ramp"},
      {&rampImage, "le", 4, 5, 2, 4, 80, "16 * 10 (2 + 2 + 2 + 2) >> 4"},
      {&rampImage, "le", 6, 7, 2, 4, 255, "64 * 10 * 32 >> 6 = 320, clipped"},
      {&rampImage, "le", 9, 7, 2, 4, 40, "20480 >> 9"},
      {&downImage, "le", 0, 3, 2, 4, 0, "-80 clipped"},
      {&dotImage, "ss", 0, 3, 4, 4, 255, "2 * 2 * 100 = 400, clipped"},
      {&dotImage, "ss", 2, 3, 4, 4, 100, "400 >> 2"},
      {&dotImage, "ss", 0, 3, 4, 5, 0, "2 * -1 * 100 < 0"},
      {&dotImage, "ss", 0, 3, 5, 5, 100, "-1 * -1 * 100"},
      {&dotImage, "oo", 9, 7, 4, 4, 78, "20 * 20 * 100 >> 9 = 78.1"},
      {&single, "ll", 4, 3, 0, 0, 50, "a 1 x 1 image: 16 * 50 >> 4"},
      {&single, "le", 0, 7, 0, 0, 0, "a 1 x 1 image has no edges"},
  };
  for (const Row& row : rows) {
    HObject texture;
    TextureLaws(*row.image, &texture, row.types, row.shift, row.size);
    EXPECT_EQ(grayAt(texture, row.row, row.col), row.expected)
        << row.types << " " << row.shift << " " << row.size << ": " << row.worked;
  }
}

// emphasize, HALCON 11.0 reference: res = round((orig - mean) Factor) + orig, mean being
// mean_image's over the mirrored image, clipped; the reference's masks have no largest size.
// 10 200 40 mirrored repeats every 6 pixels; a window of 1001 holds 166 of those and 5 more.
TEST(EmphasizeReference, MasksBeyondFiveHundredAndOne) {
  std::vector<std::uint8_t> pixels{10, 200, 40};
  const HObject row = wrapGray(pixels, 3, 1), column = wrapGray(pixels, 1, 3);
  struct Expected {
    Hlong index, value;
    const char* worked;
  };
  const Expected expected[] = {
      {0, 0, "mean 83460 / 1001 = 83.38: (10 - 83) .5 + 10 < 0"},
      {1, 255, "mean 83300 / 1001 = 83.22: (200 - 83) .5 = 58.5 rounds to 59, + 200"},
      {2, 19, "mean 83490 / 1001 = 83.41: (40 - 83) .5 = -21.5 rounds to -21, + 40"},
  };
  HObject sharp, sharpColumn;
  Emphasize(row, &sharp, 1001, 1, 0.5);
  Emphasize(column, &sharpColumn, 1, 1001, 0.5);
  for (const Expected& e : expected) {
    EXPECT_EQ(grayAt(sharp, 0, e.index), e.value) << e.worked;
    EXPECT_EQ(grayAt(sharpColumn, e.index, 0), e.value) << "down the column: " << e.worked;
  }
  std::vector<std::uint8_t> dot{77};
  Emphasize(wrapGray(dot, 1, 1), &sharp, 65535, 65535, 3);
  EXPECT_EQ(grayAt(sharp, 0, 0), 77) << "the largest mask over one pixel";
  EXPECT_EQ(errorOf([&] { Emphasize(row, &sharp, 65537, 3, 1); }), 1301);
  EXPECT_EQ(errorOf([&] { MeanImage(row, &sharp, 503, 3); }), 1301) << "mean_image stops at 501";
}

// dots_image, HALCON 11.0 reference: for Diameter 5 the mask is 16 / 336 on the 21 pixels of the
// dot and -21 / 336 on the 16 of the ring around it, the mean over the dot less the mean over
// the ring; other diameters take the discs of Diameter and Diameter + 2 alike (3: 9 and 12
// pixels; 23: 421 and 68). 'dark' negates the response, 'all' takes its size; PixelShift
// multiplies it by 2^PixelShift.
TEST(DotsImageReference, DotLessRing) {
  std::vector<std::uint8_t> disc(23 * 23, 0);
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      if (dx * dx + dy * dy <= 6) disc[static_cast<std::size_t>((11 + dy) * 23 + 11 + dx)] = 255;
    }
  }
  const Impulse impulse;
  const HObject discImage = wrapGray(disc, 23, 23);
  struct Row {
    const HObject* image;
    Hlong diameter;
    const char* type;
    Hlong shift, row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {&impulse.image, 5, "light", 0, 11, 11, 12, "255 * 16 / 336 = 12.14"},
      {&impulse.image, 5, "light", 0, 12, 13, 12, "1 + 4 <= 6.25: still on the dot"},
      {&impulse.image, 5, "light", 0, 11, 14, 0, "on the ring: -255 * 21 / 336 < 0"},
      {&impulse.image, 5, "dark", 0, 11, 14, 16, "255 * 21 / 336 = 15.94"},
      {&impulse.image, 5, "all", 0, 11, 14, 16, "|-15.94|"},
      {&impulse.image, 5, "dark", 0, 11, 11, 0, "-12.14"},
      {&impulse.image, 5, "light", 2, 11, 11, 49, "12.14 * 4 = 48.57"},
      {&impulse.image, 5, "light", -1, 11, 11, 6, "12.14 / 2 = 6.07"},
      {&impulse.image, 3, "light", 0, 11, 11, 28, "255 / 9 = 28.33"},
      {&impulse.image, 3, "dark", 0, 11, 13, 21, "255 / 12 = 21.25"},
      {&impulse.image, 23, "light", 0, 11, 11, 1, "255 / 421 = 0.61"},
      {&discImage, 5, "light", 0, 11, 11, 255, "the dot itself: 255 - 0"},
      {&discImage, 5, "light", -1, 11, 11, 128, "127.5, halves up"},
      {&discImage, 5, "light", 0, 11, 12, 115, "17 / 21 * 255 - 4 / 16 * 255 = 114.60"},
      {&discImage, 5, "light", 1, 11, 12, 229, "229.20"},
  };
  for (const Row& row : rows) {
    HObject dots;
    DotsImage(*row.image, &dots, row.diameter, row.type, row.shift);
    EXPECT_EQ(grayAt(dots, row.row, row.col), row.expected)
        << row.diameter << " " << row.type << " " << row.shift << ": " << row.worked;
  }
  std::vector<std::uint8_t> flat(4, 180), dot{77};
  HObject dots;
  for (const char* type : {"light", "dark", "all"}) {
    DotsImage(wrapGray(flat, 2, 2), &dots, 23, type, 2);
    EXPECT_EQ(grayAt(dots, 1, 1), 0) << type << ": a flat image has no dots";
    DotsImage(wrapGray(dot, 1, 1), &dots, 23, type, 2);
    EXPECT_EQ(grayAt(dots, 0, 0), 0) << type << ": nor has a 1 x 1 image";
  }
}

// smooth_image, HALCON 11.0 reference, on int2 and real images: the same normalised responses
// as above, on an impulse of 1000 in a 23 x 23 image, neither clipped to bytes (deriche2's
// negative lobe shows) nor rounded for reals; int2 rounds to the nearest.
TEST(SmoothImageReference, WiderTypesKeepSignAndFraction) {
  const struct {
    const char* filter;
    double alpha;
    int col;  // on row 11
    double real;
    const char* int2;
  } rows[] = {
      {"shen", 1, 11, 213.55, "214"},      // 1000 w0^2, w0 = .46212
      {"gauss", 1, 11, 159.15, "159"},     // 1000 .39894^2
      {"gauss", 1, 12, 96.53, "97"},       // 1000 .39894 * .24197
      {"deriche2", 1, 14, -10.45, "-10"},  // 1000 w0 w3, w3 = (sin 3 + cos 3) r^3 / 2.0111
  };
  for (const auto& row : rows) {
    for (const char* type : {"real", "int2"}) {
      const Lines lines = {std::string("gen_image_const (Z, '") + type + "', 23, 23)",
                           "set_grayval (Z, 11, 11, 1000)",
                           std::string("smooth_image (Z, S, '") + row.filter + "', " +
                               std::to_string(row.alpha) + ")",
                           "get_grayval (S, 11, " + std::to_string(row.col) + ", R)"};
      const HTuple r = runLines(lines);
      if (std::string(type) == "real") {
        EXPECT_NEAR(r.D(), row.real, 0.01) << row.filter << " " << row.col;
      } else {
        EXPECT_EQ(text(r), row.int2) << row.filter << " " << row.col;
      }
    }
  }
  EXPECT_EQ(programError({"gen_image_const (I, 'int1', 3, 3)", "smooth_image (I, S, 'shen', 1)"}),
            9001);
}

// Through program lines: the four operators run, keep or meet domains, pass empty inputs
// through and refuse values outside the reference's lists.
TEST(SmoothingOperators, ProgramLinesRunThem) {
  SystemSizeRestored restore;
  EXPECT_EQ(text(runLines({"gen_image_const (I, 'byte', 9, 9)", "scale_image (I, S, 1, 90)",
                           "gen_rectangle1 (Box, 2, 2, 5, 5)", "reduce_domain (S, Box, Red)",
                           "smooth_image (Red, A, 'deriche2', 0.5)", "binomial_filter (A, B, 5, 3)",
                           "mult_image (B, B, M, 0.01, 10)", "scale_image_max (M, X)",
                           "get_domain (X, D)", "area_center (D, Area, Row, Col)",
                           "get_grayval (M, 3, 3, G)", "get_grayval (X, 3, 3, G2)",
                           "R := [Area, G, G2]"})),
            "[16, 81, 255]")
      << "smooth_image keeps 90 in the box and leaves 0 beside it (set_system 'init_new_image', "
         "HALCON 11.0); binomial_filter at (3, 3) weighs column 1 (0) by 1 / 16: 90 * 15 / 16 = "
         "84.4 -> 84; mult_image 84 * 84 * .01 + 10 = 80.56 -> 81, the box's largest (its corner "
         "46 -> 31.16), which scale_image_max takes to 255";
  EXPECT_EQ(text(runLines({"gen_image_const (I, 'byte', 4, 4)", "gen_empty_region (E)",
                           "reduce_domain (I, E, Red)", "smooth_image (Red, S, 'gauss', 2)",
                           "scale_image_max (S, X)", "get_domain (X, D)",
                           "area_center (D, A, Row, Col)", "gen_empty_obj (None)",
                           "binomial_filter (None, B, 3, 3)", "count_obj (B, N)", "R := [A, N]"})),
            "[0, 0]");
  expectErrorCases({{{"smooth_image (I, S, 'box', 1)"}, 1301},
                    {{"smooth_image (I, S, 'shen', 0)"}, 1302},
                    {{"smooth_image (I, S, 'gauss', -1)"}, 1302},
                    {{"smooth_image (I, S, 'deriche1', 0.0001)"}, 1302},
                    {{"smooth_image (I, S, 'gauss', 1001)"}, 1302},
                    {{"smooth_image (I, S, 5, 1)"}, 1201},
                    {{"smooth_image (I, S, 'shen', [1, 2])"}, 1402},
                    {{"binomial_filter (I, B, 4, 3)"}, 1301},
                    {{"binomial_filter (I, B, 39, 3)"}, 1301},
                    {{"binomial_filter (I, B, 3, 0)"}, 1302},
                    {{"binomial_filter (I, B, 3.0, 3)"}, 1201},
                    {{"mult_image (I, I, M, 'a', 0)"}, 1201},
                    {{"dots_image (I, D, 4, 'light', 0)"}, 1301},
                    {{"dots_image (I, D, 25, 'light', 0)"}, 1301},
                    {{"dots_image (I, D, 5, 'bright', 0)"}, 1302},
                    {{"dots_image (I, D, 5, 'all', 3)"}, 1303},
                    {{"dots_image (I, D, 5, 'all', -2)"}, 1303},
                    {{"texture_laws (I, T, 'lw', 2, 3)"}, 1301},
                    {{"texture_laws (I, T, 'lo', 2, 5)"}, 1301},
                    {{"texture_laws (I, T, 'lel', 2, 7)"}, 1301},
                    {{"texture_laws (I, T, 'le', 10, 5)"}, 1302},
                    {{"texture_laws (I, T, 'le', 2, 9)"}, 1303}},
                   {"gen_image_const (I, 'byte', 3, 3)"});
}

}  // namespace
