// Image operators against values worked out by hand on a 4 x 3 ramp: domains, channels,
// arithmetic clipped to bytes, the mean and median at the borders, thresholds, statistics and
// geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// 10 20 30 40 / 50 60 70 80 / 90 100 110 120
struct Ramp {
  std::vector<std::uint8_t> pixels{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  HObject image = wrapGray(pixels, 4, 3);
};

HObject constant(Hlong value, Hlong width = 4, Hlong height = 3) {
  HObject image, scaled;
  GenImageConst(&image, "byte", width, height);
  ScaleImage(image, &scaled, 1, value);
  return scaled;
}

// Each row: an operator applied to the ramp, a pixel of its result and the value worked out
// by hand.
TEST(ImageOperators, PixelsMatchTheHandWorkedValues) {
  struct Row {
    const char* what;
    void (*run)(const HObject&, HObject*);
    Hlong row, col, expected;
  };
  const Row rows[] = {
      {"median margin 0", [](auto& i, auto* o) { MedianImage(i, o, "square", 1, 0); }, 0, 0, 0},
      {"median continued", [](auto& i, auto* o) { MedianImage(i, o, "square", 1, "continued"); }, 0,
       3, 40},
      // |80 - 400| + |200 - 280|, over 4
      {"sobel", [](auto& i, auto* o) { SobelAmp(i, o, "sum_abs", 3); }, 1, 1, 100},
      {"emphasize by 0", [](auto& i, auto* o) { Emphasize(i, o, 3, 3, 0); }, 0, 0, 10},
      {"emphasize", [](auto& i, auto* o) { Emphasize(i, o, 3, 3, 1); }, 0, 0, 0},
      {"scale", [](auto& i, auto* o) { ScaleImage(i, o, 2, -10); }, 2, 3, 230},
      {"scale clipped", [](auto& i, auto* o) { ScaleImage(i, o, 3, 0); }, 2, 3, 255},
      {"invert", [](auto& i, auto* o) { InvertImage(i, o); }, 0, 0, 245},
      {"add halved", [](auto& i, auto* o) { AddImage(i, i, o, 0.5, 0); }, 1, 2, 70},
      {"sub offset", [](auto& i, auto* o) { SubImage(i, constant(100), o, 1, 128); }, 0, 0, 38},
      {"abs diff", [](auto& i, auto* o) { AbsDiffImage(i, constant(100), o, 2); }, 0, 0, 180},
      {"crop", [](auto& i, auto* o) { CropPart(i, o, 1, 1, 2, 2); }, 1, 1, 110},
      {"crop rectangle", [](auto& i, auto* o) { CropRectangle1(i, o, 1, 2, 2, 3); }, 0, 0, 70},
      {"mirror rows", [](auto& i, auto* o) { MirrorImage(i, o, "row"); }, 0, 0, 90},
      {"mirror columns", [](auto& i, auto* o) { MirrorImage(i, o, "column"); }, 0, 0, 40},
      {"quarter turn", [](auto& i, auto* o) { RotateImage(i, o, 90, "nearest_neighbor"); }, 0, 0,
       40},
      {"half turn", [](auto& i, auto* o) { RotateImage(i, o, 180, "bilinear"); }, 0, 0, 120},
      {"zoom", [](auto& i, auto* o) { ZoomImageSize(i, o, 8, 6, "nearest_neighbor"); }, 0, 2, 20},
      {"zoom factor", [](auto& i, auto* o) { ZoomImageFactor(i, o, 0.5, 1, "nearest_neighbor"); },
       2, 1, 120}};
  const Ramp ramp;
  for (const Row& row : rows) {
    HObject out;
    row.run(ramp.image, &out);
    EXPECT_EQ(grayAt(out, row.row, row.col), row.expected) << row.what;
  }
}

TEST(ImageOperators, DomainsChannelsAndStatistics) {
  SystemSizeRestored restore;
  Ramp ramp;
  HObject box, reduced, domain, cropped;
  GenRectangle1(&box, 1, 1, 5, 2);
  ReduceDomain(ramp.image, box, &reduced);
  GetDomain(reduced, &domain);
  EXPECT_EQ(areas(domain), std::vector<Hlong>{4}) << "rows 1-2, columns 1-2 of the image";
  CropDomain(reduced, &cropped);
  HTuple width, height;
  GetImageSize(cropped, &width, &height);
  EXPECT_EQ(text(width.Clone().Append(height)), "[2, 2]");
  EXPECT_EQ(grayAt(cropped, 0, 0), 60);

  HTuple min, max, range, mean, deviation, absolute, relative;
  HObject whole;
  GenRectangle1(&whole, 0, 0, 2, 3);
  MinMaxGray(whole, ramp.image, 0, &min, &max, &range);
  EXPECT_EQ(text(min.Clone().Append(max).Append(range)), "[10.0, 120.0, 110.0]");
  MinMaxGray(whole, ramp.image, 25, &min, &max, &range);
  EXPECT_EQ(text(min.Clone().Append(max)), "[40.0, 90.0]") << "three pixels left out at each end";
  Intensity(whole, reduced, &mean, &deviation);
  EXPECT_NEAR(mean[0].D(), 85, 1e-9) << "the domain limits the region";
  Intensity(whole, ramp.image, &mean, &deviation);
  EXPECT_NEAR(deviation[0].D(), std::sqrt(650.0 / 12 * 100 - 65 * 65), 1e-9);
  GrayHisto(whole, ramp.image, &absolute, &relative);
  EXPECT_EQ(absolute.Length(), 256);
  EXPECT_EQ(absolute[10], HTuple(1)[0]);
  EXPECT_NEAR(relative[120].D(), 1.0 / 12, 1e-12);

  HObject rgb, gray, r, g, b;
  Compose3(constant(100), constant(50), constant(200), &rgb);
  Rgb1ToGray(rgb, &gray);
  EXPECT_EQ(grayAt(gray, 0, 0), 82) << ".299 * 100 + .587 * 50 + .114 * 200 = 82.05";
  Decompose3(rgb, &r, &g, &b);
  Rgb3ToGray(r, g, b, &gray);
  EXPECT_EQ(grayAt(gray, 2, 3), 82);
  EXPECT_EQ(grayAt(b, 0, 0), 200);

  std::vector<std::uint8_t> bimodal(8 * 2, 20);
  std::fill(bimodal.begin() + 5, bimodal.end(), 200);
  const HObject twoLevels = wrapGray(bimodal, 8, 2);
  HTuple used, smoothed;
  expectAreas(
      {// 65 and more: 70 to 120; 45 to 65: 50 and 60
       {[&](HObject* o) { DynThreshold(ramp.image, constant(55), o, 10, "light"); }, {6}},
       {[&](HObject* o) { DynThreshold(ramp.image, constant(55), o, 10, "equal"); }, {2}},
       {[&](HObject* o) { VarThreshold(constant(100), o, 3, 3, 0.2, 2, "light"); }, {0}},
       {[&](HObject* o) { BinaryThreshold(twoLevels, o, "max_separability", "light", &used); },
        {11}},
       {[&](HObject* o) { BinaryThreshold(twoLevels, o, "smooth_histo", "dark", &smoothed); },
        {5}}});
  EXPECT_EQ(used, HTuple(20)) << "the threshold found between the two levels";
}

TEST(ImageOperators, WrongInputsRaiseTheVendorsNumbers) {
  Ramp ramp;
  HObject out, two;
  Compose3(ramp.image, ramp.image, ramp.image, &two);
  EXPECT_EQ(errorOf([&] { AddImage(ramp.image, constant(1, 5, 3), &out, 1, 0); }), 3030);
  EXPECT_EQ(errorOf([&] { AddImage(ramp.image, two, &out, 1, 0); }), 3031);
  EXPECT_EQ(errorOf([&] { Decompose3(ramp.image, &out, &out, &out); }), 3032);
  EXPECT_EQ(errorOf([&] { MeanImage(ramp.image, &out, 0, 3); }), 1301);
  EXPECT_EQ(errorOf([&] { GaussFilter(ramp.image, &out, 4); }), 1301);
  EXPECT_EQ(errorOf([&] { MedianImage(ramp.image, &out, "square", 1, "weird"); }), 1303);
  EXPECT_EQ(errorOf([&] { ConvertImageType(ramp.image, &out, "float"); }), 1301);
  EXPECT_EQ(errorOf([&] { CropPart(ramp.image, &out, 1, 1, 4, 1); }), 1303);
  EXPECT_EQ(errorOf([&] { DynThreshold(ramp.image, ramp.image, &out, 1, "brighter"); }), 1302);
  HObject region;
  GenRectangle1(&region, 0, 0, 1, 1);
  EXPECT_EQ(errorOf([&] { MeanImage(region, &out, 3, 3); }), 1101);
  // An image is a region (its domain, region_inputs_test.cc); a contour is not.
  HObject contour;
  GenContourPolygonXld(&contour, HTuple(0).Append(1), HTuple(0).Append(1));
  EXPECT_EQ(errorOf([&] { ReduceDomain(ramp.image, contour, &out); }), 1102);
  ConvertImageType(ramp.image, &out, "byte");
  EXPECT_EQ(grayAt(out, 2, 2), 110);
}

// mean_image, HALCON 11.0: the mean over MaskWidth x MaskHeight, the image mirrored at its
// edges (column -1 is column 0, -2 is 1), rounded to the nearest. median_image, HALCON 11.0:
// the middle of the mask's sorted grey values, 'circle' of radius 1 the centre and its four
// neighbours. The ramp is g(r, c) = 10 + 10 c + 40 r.
TEST(ImageOperators, MeansAndMediansOverTheMirroredRamp) {
  struct Row {
    const char* worked;
    void (*run)(const HObject&, HObject*);
    Hlong row, col, expected;
  };
  const Row rows[] = {
      {"mean 3 x 3: rows 0 0 1, columns 0 0 1: 240 / 9 = 26.7",
       [](auto& i, auto* o) { MeanImage(i, o, 3, 3); }, 0, 0, 27},
      {"mean 5 x 3: columns 1 0 0 1 2: 470 / 15 = 31.3",
       [](auto& i, auto* o) { MeanImage(i, o, 5, 3); }, 0, 0, 31},
      {"mean 3 x 3: rows 1 2 2, columns 2 3 3: 930 / 9 = 103.3",
       [](auto& i, auto* o) { MeanImage(i, o, 3, 3); }, 2, 3, 103},
      {"mean 5 x 1: columns 0 1 2 3 3: 140 / 5", [](auto& i, auto* o) { MeanImage(i, o, 5, 1); }, 0,
       2, 28},
      {"median square 1: 10 10 10 10 20 20 50 50 60",
       [](auto& i, auto* o) { MedianImage(i, o, "square", 1, "mirrored"); }, 0, 0, 20},
      {"median circle 1: 10 10 10 20 50",
       [](auto& i, auto* o) { MedianImage(i, o, "circle", 1, "mirrored"); }, 0, 0, 10},
      {"median square 2: rows and columns 1 0 0 1 2, the 13th of 25 (continued: 30)",
       [](auto& i, auto* o) { MedianImage(i, o, "square", 2, "mirrored"); }, 0, 0, 50},
  };
  const Ramp ramp;
  for (const Row& row : rows) {
    HObject out;
    row.run(ramp.image, &out);
    EXPECT_EQ(grayAt(out, row.row, row.col), row.expected) << row.worked;
  }
}

}  // namespace
