// Image operators against values worked out by hand on a 4 x 3 ramp: domains, channels,
// arithmetic clipped to bytes, the median's other borders, thresholds, statistics and
// geometry; and every pixel of the mean, Gauss and median filters against their definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
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
// by hand. Mean, Gauss and mirrored medians are checked on every pixel in filter_paths_test.
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

constexpr Hlong kWidth = 71, kHeight = 23;

struct Noise {
  std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> values(kWidth * kHeight);
    std::uint32_t state = 11;
    for (auto& p : values) {
      p = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 24);
    }
    return values;
  }();
  HObject image = wrapGray(pixels, kWidth, kHeight);

  int mirrored(Hlong row, Hlong col) const {
    const auto fold = [](Hlong i, Hlong n) {
      while (i < 0 || i >= n) i = i < 0 ? -i - 1 : 2 * n - i - 1;
      return i;
    };
    return pixels[static_cast<std::size_t>(fold(row, kHeight) * kWidth + fold(col, kWidth))];
  }
};

using Expected = std::function<int(const Noise&, Hlong, Hlong)>;

void expectEveryPixel(const HObject& result, const Noise& noise, const Expected& expected,
                      const std::string& name) {
  HTuple pointer, type, width, height;
  GetImagePointer1(result, &pointer, &type, &width, &height);
  const std::uint8_t* out = pointerOf(pointer);
  int wrong = 0;
  for (Hlong row = 0; row < kHeight; ++row) {
    for (Hlong col = 0; col < kWidth; ++col) {
      const int want = expected(noise, row, col);
      const int got = out[row * kWidth + col];
      if (got != want && ++wrong <= 3) {
        ADD_FAILURE() << name << " at " << row << ", " << col << ": " << got << ", not " << want;
      }
    }
  }
}

// Each row: the mask; the mean is the sum plus half the count, divided by the count, down.
TEST(FilterPaths, MeanImageRoundsTheMaskSum) {
  const std::pair<Hlong, Hlong> masks[] = {{1, 1},  {3, 3},  {11, 11}, {5, 9},
                                           {15, 1}, {31, 3}, {17, 17}, {4, 6}};
  const Noise noise;
  for (const auto& [w, h] : masks) {
    HObject mean;
    MeanImage(noise.image, &mean, w, h);
    const Hlong hw = w / 2, hh = h / 2, count = (2 * hw + 1) * (2 * hh + 1);
    expectEveryPixel(
        mean, noise,
        [&](const Noise& n, Hlong row, Hlong col) {
          Hlong sum = 0;
          for (Hlong dy = -hh; dy <= hh; ++dy) {
            for (Hlong dx = -hw; dx <= hw; ++dx) sum += n.mirrored(row + dy, col + dx);
          }
          return static_cast<int>((sum + count / 2) / count);
        },
        "mean " + std::to_string(w) + " x " + std::to_string(h));
  }
}

// Each row: the size and sigma of gauss_filter's page (HALCON 12.0; the C++ function only). The 1-D
// weights are the normalised samples exp(-i^2 / 2 sigma^2) in 4096ths, each rounded, the centre the
// rest; the sum over the square is rounded at 4096^2.
TEST(FilterPaths, GaussFilterWeighsTheSampledGaussian) {
  const Noise noise;
  for (const auto& [size, sigma] : std::vector<std::pair<Hlong, double>>{
           {3, 0.600}, {5, 1.075}, {7, 1.550}, {9, 2.025}, {11, 2.550}}) {
    const Hlong half = size / 2;
    std::vector<double> samples;
    for (Hlong i = -half; i <= half; ++i)
      samples.push_back(std::exp(-double(i * i) / (2 * sigma * sigma)));
    double total = 0;
    for (const double s : samples) total += s;
    // 64-bit sums: a weight product times a grey needs 32 bits, which Hlong of 32-bit
    // targets does not hold as a signed number.
    std::vector<std::int64_t> weights;
    std::int64_t outer = 0;
    for (Hlong i = 0; i < size; ++i) {
      weights.push_back(std::lround(samples[std::size_t(i)] / total * 4096));
      if (i != half) outer += weights.back();
    }
    weights[std::size_t(half)] = 4096 - outer;
    HObject smooth;
    GaussFilter(noise.image, &smooth, size);
    expectEveryPixel(
        smooth, noise,
        [&, half = half, size = size](const Noise& n, Hlong row, Hlong col) {
          std::int64_t sum = 0;
          for (Hlong i = 0; i < size; ++i) {
            for (Hlong j = 0; j < size; ++j) {
              sum += weights[std::size_t(i)] * weights[std::size_t(j)] *
                     n.mirrored(row + i - half, col + j - half);
            }
          }
          return static_cast<int>((sum + (std::int64_t(1) << 23)) >> 24);
        },
        "gauss " + std::to_string(size));
  }
}

// Each row: the mask and radius; the median is the middle of the mask's sorted pixels.
TEST(FilterPaths, MedianImageTakesTheMiddleValue) {
  const std::pair<const char*, Hlong> masks[] = {{"circle", 1}, {"circle", 2}, {"square", 1},
                                                 {"square", 2}, {"circle", 3}, {"square", 3}};
  const Noise noise;
  for (const auto& [type, radius] : masks) {
    HObject median;
    MedianImage(noise.image, &median, type, radius, "mirrored");
    const bool circle = std::string(type) == "circle";
    expectEveryPixel(
        median, noise,
        // An init-capture: C++17 lambdas cannot capture a structured binding.
        [&, radius = radius](const Noise& n, Hlong row, Hlong col) {
          std::vector<int> window;
          for (Hlong dy = -radius; dy <= radius; ++dy) {
            for (Hlong dx = -radius; dx <= radius; ++dx) {
              if (!circle || dx * dx + dy * dy <= radius * radius) {
                window.push_back(n.mirrored(row + dy, col + dx));
              }
            }
          }
          std::sort(window.begin(), window.end());
          return window[window.size() / 2];
        },
        std::string(type) + " " + std::to_string(radius));
  }
}

}  // namespace
