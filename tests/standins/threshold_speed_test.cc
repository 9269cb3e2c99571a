// var_threshold's running window sums in vectors (32-bit lanes up to masks of 66051 pixels,
// 64-bit ones beyond) and the runs of the thresholds' rows of bits, against the portable path
// on random images of odd sizes, full and reduced domains, any threads and either vector width;
// and runs met at the words' edges and wide masks on flat images, worked by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

std::vector<Hlong> runsOf(const HObject& region) {
  HTuple rows, begins, ends;
  GetRegionRuns(region, &rows, &begins, &ends);
  std::vector<Hlong> values;
  for (Hlong i = 0; i < rows.Length(); ++i) {
    values.insert(values.end(), {rows[i].L(), begins[i].L(), ends[i].L()});
  }
  return values;
}

void expectPortableRuns(const std::string& name, const std::function<void(HObject*)>& call) {
  expectSameAsPortable<std::vector<Hlong>>(name, [&] {
    HObject region;
    call(&region);
    return runsOf(region);
  });
}

// Masks of 257 x 257 (66049 pixels: the squares' totals still below 2^32), 259 x 257 (past it)
// and the largest, 501 x 501; and thin ones, a row or a column.
TEST(ThresholdSpeed, WindowSumsOfEveryMaskGiveThePortableRegions) {
  SettingsRestored restored;
  const struct {
    Hlong width, height;
    const char* side;
  } masks[] = {{257, 257, "dark"},
               {259, 257, "light"},
               {501, 501, "not_equal"},
               {17, 1, "equal"},
               {1, 33, "dark"}};
  for (const Size size : {Size{203, 41}, Size{29, 67}, Size{9, 3}}) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.height));
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const auto& m : masks) {
        expectPortableRuns("var_threshold " + std::to_string(m.width) + "x" +
                               std::to_string(m.height) + " " + m.side + ", " +
                               std::to_string(size.width) + "x" + std::to_string(size.height) +
                               " " + domain,
                           [&, &input = input](HObject* out) {
                             VarThreshold(input, out, m.width, m.height, 0.3, 4, m.side);
                           });
      }
    }
  }
}

// Rows whose runs start and end at every place about the 64-pixel words: dyn_threshold of
// random images with long flat stretches against a flat 128.
TEST(ThresholdSpeed, RunsAcrossWordsGiveThePortableRegions) {
  SettingsRestored restored;
  for (const Size size : {Size{64, 5}, Size{65, 7}, Size{129, 9}, Size{301, 13}}) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    std::vector<std::uint8_t> flat(plane.size(), 128);
    const HObject image = wrapGray(plane, size.width, size.height);
    const HObject reference = wrapGray(flat, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      expectPortableRuns(
          "dyn_threshold " + std::to_string(size.width) + " " + domain,
          [&, &input = input](HObject* out) { DynThreshold(input, reference, out, 0, "light"); });
    }
  }
}

// dyn_threshold, HALCON 11.0: 'light' keeps g >= t + Offset. A row of 130 pixels of 0 against
// t = 0 with Offset 1 keeps exactly the pixels set to 1: runs that end at a word's last pixel,
// start at the next word's first, span a word's edge or reach the row's end.
TEST(ThresholdSpeed, RunsAtTheWordsEdgesWorkedByHand) {
  SettingsRestored restored;
  const struct {
    std::vector<std::pair<Hlong, Hlong>> ones;  // the runs set to 1, by columns
  } rows[] = {
      {{{0, 63}}},  {{{64, 64}, {127, 129}}},           {{{60, 70}, {100, 100}}},
      {{{0, 129}}}, {{{63, 63}, {65, 65}, {128, 128}}}, {{}},
  };
  for (const char* simd : {"false", "avx2", "true"}) {
    SetSystem("standin_simd", simd);
    for (const auto& row : rows) {
      std::vector<std::uint8_t> plane(130, 0), zeros(130, 0);
      std::vector<Hlong> expected;
      for (const auto& [begin, end] : row.ones) {
        for (Hlong c = begin; c <= end; ++c) plane[std::size_t(c)] = 1;
        expected.insert(expected.end(), {0, begin, end});
      }
      HObject region;
      DynThreshold(wrapGray(plane, 130, 1), wrapGray(zeros, 130, 1), &region, 1, "light");
      EXPECT_TRUE(runsOf(region) == expected) << row.ones.size() << " runs, standin_simd " << simd;
    }
  }
}

// var_threshold, HALCON 11.0: on a flat image the mean is the grey value and the deviation 0,
// so v = max(StdDevScale 0, AbsThreshold) and 'dark' (g <= m - v) keeps every pixel for
// AbsThreshold -1 and none for 1, with masks past the 32-bit totals and far wider than the image.
TEST(ThresholdSpeed, WideMasksOnFlatImagesWorkedByHand) {
  SettingsRestored restored;
  std::vector<std::uint8_t> plane(43 * 19, 211);
  const HObject image = wrapGray(plane, 43, 19);
  const struct {
    Hlong mask;
    double absolute;
    Hlong area;
  } cases[] = {{259, -1, 43 * 19}, {259, 1, 0}, {501, -1, 43 * 19}, {501, 1, 0}};
  for (const char* simd : {"false", "avx2", "true"}) {
    SetSystem("standin_simd", simd);
    for (const auto& c : cases) {
      HObject region;
      VarThreshold(image, &region, c.mask, c.mask, 0.2, c.absolute, "dark");
      HTuple area, r, col;
      AreaCenter(region, &area, &r, &col);
      EXPECT_EQ(area[0].L(), c.area) << c.mask << " " << c.absolute << ", standin_simd " << simd;
    }
  }
}

}  // namespace
