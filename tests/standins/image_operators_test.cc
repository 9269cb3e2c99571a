// Image operators against values worked out by hand on a 4 x 3 ramp: domains, channels,
// arithmetic clipped to bytes, filters mirrored at the edges (the row above row 0 repeats
// row 0), thresholds, statistics and geometry.
#include <gtest/gtest.h>

#include <algorithm>
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

Hlong at(const HObject& image, Hlong row, Hlong col) {
  HTuple value;
  GetGrayval(image, row, col, &value);
  return value[0].L();
}

HObject constant(Hlong value, Hlong width = 4, Hlong height = 3) {
  HObject image, scaled;
  GenImageConst(&image, "byte", width, height);
  ScaleImage(image, &scaled, 1, value);
  return scaled;
}

struct PixelCase {
  const char* what;
  HObject (*run)(const HObject&);
  Hlong row, col, expected;
};

class FilteredPixels : public ::testing::TestWithParam<PixelCase> {};

TEST_P(FilteredPixels, MatchTheHandWorkedValue) {
  const PixelCase& c = GetParam();
  Ramp ramp;
  EXPECT_EQ(at(c.run(ramp.image), c.row, c.col), c.expected) << c.what;
}

template <typename F>
HObject applied(const HObject& image, F&& f) {
  HObject out;
  f(image, &out);
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Images, FilteredPixels,
    ::testing::Values(
        PixelCase{"mean inside",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { MeanImage(a, b, 3, 3); });
                  },
                  1, 1, 60},
        // rows 0, 0, 1 and columns 0, 0, 1: 240 / 9 = 26.7
        PixelCase{"mean corner",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { MeanImage(a, b, 3, 3); });
                  },
                  0, 0, 27},
        PixelCase{"mean 1 x 1",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { MeanImage(a, b, 1, 1); });
                  },
                  2, 3, 120},
        PixelCase{"gauss inside",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { GaussFilter(a, b, 3); });
                  },
                  1, 1, 60},
        // (50 + 100 + 210) / 16 = 22.5, rounded up
        PixelCase{"gauss corner",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { GaussFilter(a, b, 3); });
                  },
                  0, 0, 23},
        PixelCase{"median inside",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { MedianImage(a, b, "square", 1, "mirrored"); });
                  },
                  1, 1, 60},
        PixelCase{"median mirrored corner",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { MedianImage(a, b, "square", 1, "mirrored"); });
                  },
                  0, 0, 20},
        PixelCase{"median margin 0",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { MedianImage(a, b, "square", 1, 0); });
                  },
                  0, 0, 0},
        PixelCase{"median continued",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { MedianImage(a, b, "square", 1, "continued"); });
                  },
                  0, 3, 40},
        PixelCase{"median cross",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { MedianImage(a, b, "circle", 1, "mirrored"); });
                  },
                  1, 1, 60},
        PixelCase{"median cross corner",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { MedianImage(a, b, "circle", 1, "mirrored"); });
                  },
                  0, 0, 10},
        // |80 - 400| + |200 - 280|, over 4
        PixelCase{"sobel",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { SobelAmp(a, b, "sum_abs", 3); });
                  },
                  1, 1, 100},
        PixelCase{"emphasize by 0",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { Emphasize(a, b, 3, 3, 0); });
                  },
                  0, 0, 10},
        PixelCase{"emphasize",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { Emphasize(a, b, 3, 3, 1); });
                  },
                  0, 0, 0},
        PixelCase{"scale",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { ScaleImage(a, b, 2, -10); });
                  },
                  2, 3, 230},
        PixelCase{"scale clipped",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { ScaleImage(a, b, 3, 0); });
                  },
                  2, 3, 255},
        PixelCase{"invert",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { InvertImage(a, b); });
                  },
                  0, 0, 245},
        PixelCase{"add halved",
                  [](const HObject& i) {
                    return applied(i, [&](auto& a, auto* b) { AddImage(a, a, b, 0.5, 0); });
                  },
                  1, 2, 70},
        PixelCase{"sub offset",
                  [](const HObject& i) {
                    return applied(
                        i, [&](auto& a, auto* b) { SubImage(a, constant(100), b, 1, 128); });
                  },
                  0, 0, 38},
        PixelCase{"abs diff",
                  [](const HObject& i) {
                    return applied(i,
                                   [&](auto& a, auto* b) { AbsDiffImage(a, constant(100), b, 2); });
                  },
                  0, 0, 180},
        PixelCase{"crop",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { CropPart(a, b, 1, 1, 2, 2); });
                  },
                  1, 1, 110},
        PixelCase{"crop rectangle",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { CropRectangle1(a, b, 1, 2, 2, 3); });
                  },
                  0, 0, 70},
        PixelCase{"mirror rows",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { MirrorImage(a, b, "row"); });
                  },
                  0, 0, 90},
        PixelCase{"mirror columns",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { MirrorImage(a, b, "column"); });
                  },
                  0, 0, 40},
        PixelCase{"quarter turn",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { RotateImage(a, b, 90, "nearest_neighbor"); });
                  },
                  0, 0, 40},
        PixelCase{"half turn",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) { RotateImage(a, b, 180, "bilinear"); });
                  },
                  0, 0, 120},
        PixelCase{"zoom",
                  [](const HObject& i) {
                    return applied(
                        i, [](auto& a, auto* b) { ZoomImageSize(a, b, 8, 6, "nearest_neighbor"); });
                  },
                  0, 2, 20},
        PixelCase{"zoom factor",
                  [](const HObject& i) {
                    return applied(i, [](auto& a, auto* b) {
                      ZoomImageFactor(a, b, 0.5, 1, "nearest_neighbor");
                    });
                  },
                  2, 1, 120}));

TEST(ImageOperators, TheSquareMedianNetworksAgreeWithSorting) {
  std::vector<std::uint8_t> pixels(37 * 29);
  std::uint32_t state = 7;
  for (auto& p : pixels)
    p = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 24);
  const HObject image = wrapGray(pixels, 37, 29);
  const auto mirrored = [](Hlong i, Hlong n) {
    return i < 0 ? -i - 1 : i >= n ? 2 * n - i - 1 : i;
  };
  for (const Hlong radius : {1, 2}) {
    HObject median;
    MedianImage(image, &median, "square", radius, "mirrored");
    for (const auto& [row, col] :
         {std::pair<Hlong, Hlong>{0, 0}, {5, 33}, {28, 36}, {14, 17}, {1, 35}}) {
      std::vector<std::uint8_t> window;
      for (Hlong dy = -radius; dy <= radius; ++dy) {
        for (Hlong dx = -radius; dx <= radius; ++dx) {
          window.push_back(pixels[static_cast<std::size_t>(mirrored(row + dy, 29) * 37 +
                                                           mirrored(col + dx, 37))]);
        }
      }
      std::sort(window.begin(), window.end());
      EXPECT_EQ(at(median, row, col), window[window.size() / 2])
          << radius << " at " << row << ", " << col;
    }
  }
}

TEST(ImageOperators, DomainsChannelsAndStatistics) {
  SystemSizeRestored restore;
  Ramp ramp;
  HObject box, reduced, domain, cropped;
  GenRectangle1(&box, 1, 1, 5, 2);
  ReduceDomain(ramp.image, box, &reduced);
  GetDomain(reduced, &domain);
  HTuple area;
  AreaCenter(domain, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(4)) << "rows 1-2, columns 1-2 of the image";
  CropDomain(reduced, &cropped);
  HTuple width, height;
  GetImageSize(cropped, &width, &height);
  EXPECT_EQ(text(width.Clone().Append(height)), "[2, 2]");
  EXPECT_EQ(at(cropped, 0, 0), 60);

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
  EXPECT_EQ(at(gray, 0, 0), 82) << ".299 * 100 + .587 * 50 + .114 * 200 = 82.05";
  Decompose3(rgb, &r, &g, &b);
  Rgb3ToGray(r, g, b, &gray);
  EXPECT_EQ(at(gray, 2, 3), 82);
  EXPECT_EQ(at(b, 0, 0), 200);

  HObject region, orig;
  DynThreshold(ramp.image, constant(55), &region, 10, "light");
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(6)) << "65 and more: 70 to 120";
  DynThreshold(ramp.image, constant(55), &region, 10, "equal");
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(2)) << "45 to 65: 50 and 60";
  VarThreshold(constant(100), &region, 3, 3, 0.2, 2, "light");
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(0));

  std::vector<std::uint8_t> bimodal(8 * 2, 20);
  std::fill(bimodal.begin() + 5, bimodal.end(), 200);
  HTuple used;
  BinaryThreshold(wrapGray(bimodal, 8, 2), &region, "max_separability", "light", &used);
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(text(used.Clone().Append(area)), "[20, 11]");
  BinaryThreshold(wrapGray(bimodal, 8, 2), &region, "smooth_histo", "dark", &used);
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(5));
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
  EXPECT_EQ(errorOf([&] { ConvertImageType(ramp.image, &out, "real"); }), 1301);
  EXPECT_EQ(errorOf([&] { CropPart(ramp.image, &out, 1, 1, 4, 1); }), 1303);
  EXPECT_EQ(errorOf([&] { DynThreshold(ramp.image, ramp.image, &out, 1, "brighter"); }), 1302);
  HObject region;
  GenRectangle1(&region, 0, 0, 1, 1);
  EXPECT_EQ(errorOf([&] { MeanImage(region, &out, 3, 3); }), 1101);
  EXPECT_EQ(errorOf([&] { ReduceDomain(ramp.image, ramp.image, &out); }), 1102);
  ConvertImageType(ramp.image, &out, "byte");
  EXPECT_EQ(at(out, 2, 2), 110);
}

TEST(ImageOperators, ProgramLinesRunThem) {
  SystemSizeRestored restore;
  EXPECT_EQ(text(runLines({"gen_image_const (I, 'byte', 8, 8)", "scale_image (I, S, 1, 100)",
                           "mean_image (S, M, 3, 3)", "gen_rectangle1 (Box, 2, 2, 5, 5)",
                           "reduce_domain (M, Box, Red)", "intensity (Box, Red, Mean, Dev)",
                           "threshold (Red, T, 100, 100)", "area_center (T, A, Row, Col)",
                           "R := [Mean, Dev, A]"})),
            "[100.0, 0.0, 16]");
}

}  // namespace
