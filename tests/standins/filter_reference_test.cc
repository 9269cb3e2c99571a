// The Gauss and Sobel filters, min_max_gray and the zoom's interpolations against values
// worked out by hand from the definitions on the vendor's HALCON 11.0 reference pages, which
// each table names.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// gauss_filter (the C++ function; its page is 12.0's, programs cannot call it) and gauss_image
// (HALCON 11.0): a discrete Gaussian, the grey values
// mirrored at the edges, of sigma 0.600, 1.075, 1.550, 2.025, 2.550 (gauss_filter) or 0.65,
// 0.87, 1.43, 1.88, 2.31 (gauss_image) for sizes 3 ... 11. Each row: 255 times the product of
// the normalised 1-D samples w(i) = exp(-i^2 / 2 sigma^2) / sum.
TEST(GaussFilterReference, ImpulseGivesTheSampledGaussian) {
  using Filter = void (*)(const HObject&, HObject*, const HTuple&);
  struct Row {
    Filter filter;
    Hlong size, row, col, expected;
    const char* worked;
  };
  const Filter filter = GaussFilter, image = GaussImage;
  const Row rows[] = {
      {filter, 3, 11, 11, 114, "gauss_filter: 255 * .66724^2 = 113.53"},
      {filter, 3, 11, 12, 28, "gauss_filter: 255 * .66724 * .16638 = 28.31"},
      {filter, 3, 10, 12, 7, "gauss_filter: 255 * .16638^2 = 7.06"},
      {filter, 5, 11, 11, 36, "gauss_filter: 255 * .37709^2 = 36.26"},
      {filter, 5, 11, 12, 24, "gauss_filter: 255 * .37709 * .24465 = 23.53"},
      {filter, 7, 11, 11, 18, "gauss_filter: 255 * .26305^2 = 17.65"},
      {filter, 7, 12, 11, 14, "gauss_filter: 255 * .26305 * .21364 = 14.33"},
      {filter, 9, 11, 11, 10, "gauss_filter: 255 * .20201^2 = 10.41"},
      {filter, 9, 11, 10, 9, "gauss_filter: 255 * .20201 * .17884 = 9.21"},
      {filter, 11, 11, 11, 7, "gauss_filter: 255 * .16128^2 = 6.63"},
      {filter, 11, 11, 16, 1, "gauss_filter: 255 * .16128 * .02369 = 0.97"},
      {image, 3, 11, 11, 98, "gauss_image: 255 * .62017^2 = 98.08"},
      {image, 3, 11, 12, 30, "gauss_image: 255 * .62017 * .18991 = 30.03"},
      {image, 5, 11, 11, 54, "gauss_image: 255 * .45967^2 = 53.88"},
      {image, 5, 12, 12, 14, "gauss_image: 255 * .23744^2 = 14.38"},
      {image, 7, 11, 11, 20, "gauss_image: 255 * .28251^2 = 20.35"},
      {image, 7, 11, 12, 16, "gauss_image: 255 * .28251 * .22123 = 15.94"},
      {image, 9, 11, 11, 12, "gauss_image: 255 * .21553^2 = 11.85"},
      {image, 11, 11, 11, 8, "gauss_image: 255 * .17558^2 = 7.86"},
      {image, 11, 10, 11, 7, "gauss_image: 255 * .17558 * .15988 = 7.16"},
  };
  const Impulse impulse;
  for (const Row& row : rows) {
    HObject smooth;
    row.filter(impulse.image, &smooth, row.size);
    EXPECT_EQ(grayAt(smooth, row.row, row.col), row.expected)
        << "size " << row.size << " at " << row.row << ", " << row.col << ": " << row.worked;
  }
  HObject smooth;
  EXPECT_THROW(GaussImage(impulse.image, &smooth, 4), HException);
}

// gauss_filter, HALCON 12.0 reference: the edges mirror the image, so a bright corner pixel
// meets itself three times: 255 * (.66724 + .16638)^2 = 177.21 at size 3. A constant image
// stays constant at every size: the weights sum to one. Size 11 (sigma 2.55, 2 sigma^2 =
// 13.005) across a step of 255 from column 12: the samples exp(-i^2 / 13.005) for i = 0 ... 5
// are 1, .92599, .73523, .50055, .29221, .14626 (sum 6.20048); two columns left of the step
// the bright ones are i = 2 ... 5: 255 * 1.67425 / 6.20048 = 68.86; three left, i = 3 ... 5:
// 255 * .93902 / 6.20048 = 38.62. (Sigma 2.5 would give 68.00 and 37.64.)
TEST(GaussFilterReference, EdgesMirrorAndWeightsSumToOne) {
  std::vector<std::uint8_t> corner(5 * 4, 0);
  corner[0] = 255;
  HObject smooth;
  GaussFilter(wrapGray(corner, 5, 4), &smooth, 3);
  EXPECT_EQ(grayAt(smooth, 0, 0), 177);
  std::vector<std::uint8_t> step(23 * 3, 0);
  for (std::size_t i = 0; i < step.size(); ++i) step[i] = i % 23 >= 12 ? 255 : 0;
  GaussFilter(wrapGray(step, 23, 3), &smooth, 11);
  EXPECT_EQ(grayAt(smooth, 1, 10), 69);
  EXPECT_EQ(grayAt(smooth, 1, 9), 39);
  std::vector<std::uint8_t> flat(13 * 13, 201);
  const HObject constant = wrapGray(flat, 13, 13);
  std::vector<std::uint8_t> sliver{201, 201};
  const HObject narrow = wrapGray(sliver, 2, 1);
  for (const Hlong size : {3, 5, 7, 9, 11}) {
    GaussFilter(constant, &smooth, size);
    EXPECT_EQ(grayAt(smooth, 6, 6), 201) << "size " << size;
    EXPECT_EQ(grayAt(smooth, 0, 12), 201) << "size " << size;
    GaussFilter(narrow, &smooth, size);
    EXPECT_EQ(grayAt(smooth, 0, 1), 201) << "size " << size << ", mirrored many times over";
  }
}

// Rows alike, columns 0 0 40 100 160 200 200 200: b = 4 (g(c-1) - g(c+1)), a = 0.
HObject ramp(std::vector<std::uint8_t>& pixels) {
  const std::uint8_t columns[] = {0, 0, 40, 100, 160, 200, 200, 200};
  pixels.clear();
  for (int r = 0; r < 5; ++r) pixels.insert(pixels.end(), columns, columns + 8);
  return wrapGray(pixels, 8, 5);
}

// g = 10 (row + col) on 6 x 5: a = b = -80 inside; on row 0, mirrored, a = -40.
HObject diagonal(std::vector<std::uint8_t>& pixels) {
  pixels.clear();
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 6; ++c) pixels.push_back(static_cast<std::uint8_t>(10 * (r + c)));
  }
  return wrapGray(pixels, 6, 5);
}

// Rows alike, columns 0 for c < 6 and 100 from 6, over 12 columns.
HObject step(std::vector<std::uint8_t>& pixels) {
  pixels.clear();
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 12; ++c) pixels.push_back(c < 6 ? 0 : 100);
  }
  return wrapGray(pixels, 12, 5);
}

// Columns alike, rows 0 for r < 3 and 100 from 3, over 7 rows.
HObject stepDown(std::vector<std::uint8_t>& pixels) {
  pixels.clear();
  for (int r = 0; r < 7; ++r) pixels.insert(pixels.end(), 8, r < 3 ? 0 : 100);
  return wrapGray(pixels, 8, 7);
}

// sobel_amp, HALCON 11.0 reference: 'sum_abs' (|a| + |b|) / 4, 'sum_sqrt' sqrt(a^2 + b^2) / 4,
// 'thin_sum_abs' (thin(|a|) + thin(|b|)) / 4, 'thin_max_abs' max(thin(|a|), thin(|b|)) / 4,
// thin keeping a vertical maximum of |a| and a horizontal one of |b|. A larger Size smooths
// the image doubled, with gauss_image of Size - 2 (3: sigma 0.65, weights .18991 .62017
// .18991) or, for '_binomial', binomial_filter of Size - 2 (3: 1 2 1 / 4; a second value is
// the mask height).
TEST(SobelAmpReference, FilterTypesAndSizes) {
  std::vector<std::uint8_t> rampPixels, diagonalPixels, stepPixels, downPixels;
  const HObject rampImage = ramp(rampPixels), diagonalImage = diagonal(diagonalPixels),
                stepImage = step(stepPixels), downImage = stepDown(downPixels);
  struct Row {
    const HObject* image;
    const char* type;
    HTuple size;
    Hlong row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {&rampImage, "sum_abs", 3, 2, 2, 100, "|0 - 100| 4 / 4"},
      {&rampImage, "thin_sum_abs", 3, 2, 3, 120, "|b| 480 is the row's maximum"},
      {&rampImage, "thin_sum_abs", 3, 2, 2, 0, "|b| 400 < 480 to its right"},
      {&rampImage, "thin_max_abs", 3, 2, 4, 0, "|b| 400 < 480 to its left"},
      {&diagonalImage, "sum_abs", 3, 2, 2, 40, "(80 + 80) / 4"},
      {&diagonalImage, "sum_sqrt", 3, 2, 2, 28, "80 sqrt 2 / 4 = 28.28"},
      {&diagonalImage, "thin_sum_abs", 3, 2, 2, 40, "both on plateaus: (80 + 80) / 4"},
      {&diagonalImage, "thin_max_abs", 3, 2, 2, 20, "max(80, 80) / 4"},
      {&diagonalImage, "sum_abs", 3, 0, 2, 30, "(40 + 80) / 4"},
      {&diagonalImage, "thin_sum_abs", 3, 0, 2, 20, "|a| 40 < 80 below: (0 + 80) / 4"},
      {&stepImage, "sum_abs", 5, 2, 5, 162, "2 * 100 (.62017 + .18991) = 162.02"},
      {&stepImage, "sum_abs", 5, 2, 4, 38, "2 * 100 * .18991 = 37.98"},
      {&stepImage, "sum_abs_binomial", 5, 2, 5, 150, "2 * 100 * 3 / 4"},
      {&stepImage, "thin_max_abs_binomial", 5, 2, 4, 0, "|b| 50 < 150 to its right"},
      {&stepImage, "sum_sqrt_binomial", tuple({5, 3}), 2, 4, 50, "2 * 100 / 4"},
      {&stepImage, "sum_abs_binomial", tuple({3, 5}), 2, 5, 200, "unsmoothed rows, doubled"},
      {&downImage, "sum_abs_binomial", tuple({3, 5}), 2, 3, 150, "2 * 100 * 3 / 4 down"},
      {&downImage, "sum_abs_binomial", tuple({5, 3}), 2, 3, 200, "unsmoothed columns, doubled"},
  };
  for (const Row& row : rows) {
    HObject edges;
    SobelAmp(*row.image, &edges, row.type, row.size);
    EXPECT_EQ(grayAt(edges, row.row, row.col), row.expected)
        << row.type << " " << row.size.Length() << " at " << row.row << ", " << row.col << ": "
        << row.worked;
  }
}

// sobel_amp, HALCON 11.0 reference: Size 3 ... 13 odd for the Gaussian types, 3 ... 39 odd and
// one or two values for the binomial ones. 'x' and 'y' give int1 images from bytes, a type
// the stand-in does not have.
TEST(SobelAmpReference, RefusedValues) {
  std::vector<std::uint8_t> pixels;
  const HObject image = step(pixels);
  struct Row {
    const char* type;
    HTuple size;
    Hlong error;
  };
  const Row rows[] = {{"z", 3, 1301},
                      {"x", 4, 1302},
                      {"sum", 3, 1301},
                      {"_binomial", 5, 1301},
                      {"sum_abs", 4, 1302},
                      {"sum_abs", 15, 1302},
                      {"sum_abs", 1, 1302},
                      {"sum_abs_binomial", 41, 1302},
                      {"sum_abs_binomial", tuple({5, 6}), 1302},
                      {"sum_abs_binomial", tuple({5, 5, 5}), 1402},
                      {"sum_abs", tuple({5, 5}), 1402}};
  for (const Row& row : rows) {
    HObject edges;
    EXPECT_EQ(errorOf([&] { SobelAmp(image, &edges, row.type, row.size); }), row.error) << row.type;
  }
  HObject edges;
  EXPECT_EQ(errorOf([&] { SobelAmp(image, &edges, "sum_abs_binomial", 39); }), 0);
  EXPECT_EQ(errorOf([&] { SobelAmp(image, &edges, "thin_sum_abs", 13); }), 0);
  std::vector<std::uint8_t> one{7};
  SobelAmp(wrapGray(one, 1, 1), &edges, "thin_max_abs_binomial", tuple({39, 5}));
  EXPECT_EQ(grayAt(edges, 0, 0), 0) << "a single pixel mirrors into a flat image";
}

// min_max_gray, HALCON 11.0 reference, its own example: an area of 60 with the histogram
// 0: 2, 1: 8, 3: 7, 4: 13, 250: 10, 251: 10, 252: 5, 253: 3, 254: 1, 255: 1. Percent of the
// area, rounded down, is cut off at each end; at 50, Min = Max = Median.
TEST(MinMaxGrayReference, CutsThePercentAtEachEnd) {
  const std::pair<int, int> bins[] = {{0, 2},    {1, 8},   {3, 7},   {4, 13},  {250, 10},
                                      {251, 10}, {252, 5}, {253, 3}, {254, 1}, {255, 1}};
  std::vector<std::uint8_t> pixels;
  for (const auto& [grey, count] : bins) pixels.insert(pixels.end(), count, std::uint8_t(grey));
  std::vector<std::uint8_t> odd = pixels;
  odd.push_back(128);
  const HObject image = wrapGray(pixels, 60, 1), oddImage = wrapGray(odd, 61, 1);
  struct Row {
    const HObject* image;
    double percent, min, max;
    const char* worked;
  };
  const Row rows[] = {
      {&image, 0, 0, 255, "nothing cut"},
      {&image, 5, 1, 253, "3 cut: the reference's Min 1, Max 253, Range 252"},
      {&image, 10, 1, 252, "6 cut: 0 0 1 1 1 1 | and | 255 254 253 253 253 252"},
      {&image, 20, 3, 251, "12 cut"},
      {&image, 40, 4, 250, "24 cut"},
      {&image, 49, 4, 250, "29.4: 29 cut"},
      {&image, 50, 250, 250, "30 cut: the median, the 31st of 60"},
      {&oddImage, 50, 128, 128, "30 cut of 61: the middle pixel"},
      {&oddImage, 49, 4, 250, "29.89: 29 cut, 4 and 250 either side of the 128"},
  };
  HObject whole;
  GenRectangle1(&whole, 0, 0, 0, 60);
  for (const Row& row : rows) {
    HTuple min, max, range;
    MinMaxGray(whole, *row.image, row.percent, &min, &max, &range);
    EXPECT_EQ(min[0].D(), row.min) << row.percent << ": " << row.worked;
    EXPECT_EQ(max[0].D(), row.max) << row.percent << ": " << row.worked;
    EXPECT_EQ(range[0].D(), row.max - row.min) << row.percent << ": never below 0";
  }
}

// zoom_image_size, HALCON 11.0 reference: the interpolation of affine_trans_image, 'bicubic'
// among them. Each row: 0 0 100 100 doubled in width, output column c sampling the input at
// x = (c + 0.5) / 2 - 0.5; bicubic with Keys' kernel (a = -0.5), whose weights at distances
// 1.25, .25, .75, 1.75 are -.0703125, .8671875, .2265625, -.0234375.
TEST(ZoomReference, InterpolationsSampleBetweenPixels) {
  std::vector<std::uint8_t> pixels{0, 0, 100, 100};
  const HObject image = wrapGray(pixels, 4, 1);
  struct Row {
    const char* interpolation;
    Hlong col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {"nearest_neighbor", 3, 0, "x = 1.25: pixel 1"},
      {"bilinear", 3, 25, "x = 1.25: 100 * .25"},
      {"constant", 4, 75, "x = 1.75: 100 * .75"},
      {"bicubic", 3, 20, "x = 1.25: 100 (.2265625 - .0234375) = 20.31"},
      {"bicubic", 4, 80, "x = 1.75: 100 (.8671875 - .0703125) = 79.69"},
      {"bicubic", 7, 100, "x = 3.25: the edge pixel repeated"},
  };
  for (const Row& row : rows) {
    HObject zoomed;
    ZoomImageSize(image, &zoomed, 8, 1, row.interpolation);
    EXPECT_EQ(grayAt(zoomed, 0, row.col), row.expected)
        << row.interpolation << " at " << row.col << ": " << row.worked;
  }
  HObject out;
  EXPECT_EQ(errorOf([&] { ZoomImageSize(image, &out, 8, 1, "cubic"); }), 1303);
  EXPECT_EQ(errorOf([&] { RotateImage(image, &out, 180, "bicubic"); }), 0);
  EXPECT_EQ(grayAt(out, 0, 0), 100) << "a half turn samples pixel centres";
}

}  // namespace
