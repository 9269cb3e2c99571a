// dyn_threshold and var_threshold against their definitions, worked here pixel by pixel in
// doubles: the operators compare in whole numbers (dyn_threshold) and sum their windows as
// they slide (var_threshold), on the operators' threads, in vectors or on the portable path.
// Random images of odd sizes, full and reduced domains, 1, 2 and 5 threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

std::vector<std::uint8_t> randomPlane(Hlong width, Hlong height, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> p(static_cast<std::size_t>(width * height));
  std::uint8_t value = 0;
  for (auto& v : p) {
    if (random() % 3 == 0) value = static_cast<std::uint8_t>(random());
    v = value;
  }
  return p;
}

Hlong mirrored(Hlong i, Hlong n) {
  while (i < 0 || i >= n) i = i < 0 ? -1 - i : 2 * n - 1 - i;
  return i;
}

// dyn_threshold and var_threshold, HALCON 11.0 reference: 'light' keeps g >= t + v, 'dark'
// g <= t - v, 'equal' t - v <= g <= t + v, 'not_equal' the rest.
bool kept(const std::string& side, double g, double t, double v) {
  if (side == "light") return g >= t + v;
  if (side == "dark") return g <= t - v;
  if (side == "equal") return g >= t - v && g <= t + v;
  return g < t - v || g > t + v;
}

// The region of the pixels of `domain` that `keep(row, column)` accepts.
template <typename Keep>
HObject regionWhere(const HObject& domain, Keep&& keep) {
  HTuple rows, begins, ends;
  GetRegionRuns(domain, &rows, &begins, &ends);
  HTuple outRows, outBegins, outEnds;
  for (Hlong i = 0; i < rows.Length(); ++i) {
    for (Hlong c = begins[i].L(); c <= ends[i].L(); ++c) {
      if (!keep(rows[i].L(), c)) continue;
      outRows.Append(rows[i]);
      outBegins.Append(HTuple(c));
      outEnds.Append(HTuple(c));
    }
  }
  HObject region;
  GenRegionRuns(&region, outRows, outBegins, outEnds);
  return region;
}

void expectSame(const HObject& a, const HObject& b, const std::string& what) {
  HObject lost, gained;
  Difference(a, b, &lost);
  Difference(b, a, &gained);
  HTuple lostArea, gainedArea, r, c;
  AreaCenter(lost, &lostArea, &r, &c);
  AreaCenter(gained, &gainedArea, &r, &c);
  EXPECT_EQ(lostArea[0].L(), 0) << what;
  EXPECT_EQ(gainedArea[0].L(), 0) << what;
}

struct Case {
  Hlong width, height;
  const char* domain;
};
const Case kCases[] = {{1, 1, "full"},     {2, 3, "full"},     {37, 5, "full"},
                       {203, 131, "full"}, {203, 131, "disc"}, {97, 61, "corner"}};

HObject withDomain(const HObject& image, const Case& c) {
  const std::string domain = c.domain;
  if (domain == "full") return image;
  HObject region, reduced;
  if (domain == "disc") GenCircle(&region, c.height / 2.0, c.width / 2.0, c.height * 0.45);
  if (domain == "corner") GenCircle(&region, 1, 2, c.height * 0.6 + 1);
  ReduceDomain(image, region, &reduced);
  return reduced;
}

TEST(LocalThreshold, DynThresholdFollowsItsDefinitionOnAnyThreads) {
  SettingsRestored restored;
  SetSystem("standin_band_pixels", 500);
  // Whole, fractional, negative and unbounded offsets; 1e-17 vanishes when added to a grey
  // value above 0 but not to 0, so that its bounds are no plain difference.
  const double offsets[] = {0,    5, 2.5, -3.25, 0.1, 300, -std::numeric_limits<double>::infinity(),
                            1e-17};
  for (const Case& c : kCases) {
    std::vector<std::uint8_t> original = randomPlane(c.width, c.height, 1);
    std::vector<std::uint8_t> reference = randomPlane(c.width, c.height, 2);
    const HObject image = withDomain(wrapGray(original, c.width, c.height), c);
    const HObject smooth = wrapGray(reference, c.width, c.height);
    for (const char* side : {"light", "dark", "equal", "not_equal"}) {
      for (const double offset : offsets) {
        const HObject expected = regionWhere(image, [&](Hlong r, Hlong col) {
          const auto i = static_cast<std::size_t>(r * c.width + col);
          return kept(side, original[i], reference[i], offset);
        });
        for (const Hlong threads : {1, 2, 5}) {
          SetSystem("thread_num", threads);
          SetSystem("standin_simd", threads == 2 ? "false" : "true");
          HObject region;
          DynThreshold(image, smooth, &region, offset, side);
          expectSame(region, expected,
                     std::string(side) + " " + std::to_string(offset) + " " + c.domain + " " +
                         std::to_string(c.width) + "x" + std::to_string(c.height) + ", " +
                         std::to_string(threads) + " threads");
        }
      }
    }
  }
}

// var_threshold, HALCON 11.0 reference: m and d the mean and standard deviation over the
// mask about the pixel (the image mirrored at its edges), v = max(StdDevScale d, AbsThreshold)
// for a scale of 0 or more, else min(StdDevScale d, AbsThreshold); g compared with m and v.
TEST(LocalThreshold, VarThresholdFollowsItsDefinitionOnAnyThreads) {
  SettingsRestored restored;
  SetSystem("standin_band_pixels", 500);
  struct Mask {
    Hlong width, height;
    double scale, absolute;
  };
  const Mask masks[] = {
      {3, 3, 0.2, 2}, {15, 7, 0.5, 1}, {1, 1, 0, 0}, {4, 9, -0.3, -1}, {41, 3, 1.0, 10}};
  for (const Case& c : kCases) {
    std::vector<std::uint8_t> pixels = randomPlane(c.width, c.height, 3);
    const HObject image = withDomain(wrapGray(pixels, c.width, c.height), c);
    for (const Mask& mask : masks) {
      const Hlong hw = mask.width / 2, hh = mask.height / 2;
      const double area = double(2 * hw + 1) * double(2 * hh + 1);
      for (const char* side : {"light", "dark", "equal", "not_equal"}) {
        const HObject expected = regionWhere(image, [&](Hlong r, Hlong col) {
          double sum = 0, squares = 0;
          for (Hlong dy = -hh; dy <= hh; ++dy) {
            for (Hlong dx = -hw; dx <= hw; ++dx) {
              const double v = pixels[static_cast<std::size_t>(
                  mirrored(r + dy, c.height) * c.width + mirrored(col + dx, c.width))];
              sum += v;
              squares += v * v;
            }
          }
          const double m = sum / area;
          const double d = std::sqrt(std::max(0.0, squares / area - m * m));
          const double v = mask.scale >= 0 ? std::max(mask.scale * d, mask.absolute)
                                           : std::min(mask.scale * d, mask.absolute);
          return kept(side, pixels[static_cast<std::size_t>(r * c.width + col)], m, v);
        });
        for (const Hlong threads : {1, 2, 5}) {
          SetSystem("thread_num", threads);
          SetSystem("standin_simd", threads == 2 ? "false" : "true");
          HObject region;
          VarThreshold(image, &region, mask.width, mask.height, mask.scale, mask.absolute, side);
          expectSame(region, expected,
                     std::string(side) + " " + std::to_string(mask.width) + "x" +
                         std::to_string(mask.height) + " " + c.domain + " " +
                         std::to_string(c.width) + "x" + std::to_string(c.height) + ", " +
                         std::to_string(threads) + " threads");
        }
      }
    }
  }
}

// var_threshold, HALCON 11.0 reference, on the types beyond byte: a pixel is light when
// g >= m + v and dark when g <= m - v, v = max(StdDevScale d, AbsThreshold), m and d the mean
// and standard deviation over the mask, the image mirrored at its edges. 1000 (or -1000) in a
// 5 x 5 image of zeros, a 3 x 3 mask, StdDevScale 0.2, AbsThreshold 2:
// - at the centre (2, 2) the mask holds the value once: m = 111.1, d = sqrt(1000^2 / 9 - m^2)
//   = 314.3, v = 62.9: the centre alone is light (1000 >= 174.0), its eight neighbours
//   (0 <= 48.3) are dark; a pixel whose mask holds only zeros has v = 2 and is neither;
// - at the corner (0, 0) the mirrored mask holds it 4 times: m = 444.4, d = 496.9, v = 99.4,
//   so 1000 >= 543.8 is light;
// - -1000 at the centre of a real image: m = -111.1, so -1000 <= -174.0 is dark, alone.
TEST(LocalThreshold, VarThresholdOnWiderTypes) {
  const struct {
    const char* type;
    Hlong row, col;
    double value;
    const char* side;
    Hlong area, centreRow, centreCol;
  } rows[] = {
      {"uint2", 2, 2, 1000, "light", 1, 2, 2}, {"int2", 2, 2, 1000, "dark", 8, 2, 2},
      {"int4", 0, 0, 1000, "light", 1, 0, 0},  {"real", 2, 2, -1000, "dark", 1, 2, 2},
      {"real", 2, 2, -1000, "light", 8, 2, 2},
  };
  for (const auto& row : rows) {
    HObject image, region;
    GenImageConst(&image, row.type, 5, 5);
    SetGrayval(image, row.row, row.col, row.value);
    VarThreshold(image, &region, 3, 3, 0.2, 2, row.side);
    HTuple area, r, c;
    AreaCenter(region, &area, &r, &c);
    EXPECT_EQ(area.L(), row.area) << row.type << " " << row.side;
    EXPECT_NEAR(r.D(), double(row.centreRow), 1e-9) << row.type << " " << row.side;
    EXPECT_NEAR(c.D(), double(row.centreCol), 1e-9) << row.type << " " << row.side;
  }
  HObject image, region;
  GenImageConst(&image, "int1", 5, 5);
  EXPECT_EQ(errorOf([&] { VarThreshold(image, &region, 3, 3, 0.2, 2, "light"); }), 9001);
}

}  // namespace
