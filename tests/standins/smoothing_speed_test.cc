// The Gaussian and binomial filters' and var_threshold's faster paths against the portable
// path: smooth_image 'gauss' whose outermost taps are left out and whose columns are summed in
// whole numbers, gauss_filter and binomial_filter sixteen lanes wide, and var_threshold's
// window sums and deviation tests, for random images of odd sizes (rows of whole vectors and of
// a few pixels beyond), full and reduced domains, any threads and either vector width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

struct Call {
  std::string name;
  std::function<void(const HObject&, HObject*)> run;
};

// An image's bytes, or a region's runs, as numbers.
std::vector<Hlong> valuesOf(const HObject& out) {
  HTuple kind;
  GetObjClass(out, &kind);
  if (std::string(kind[0].S().Text()) == "image") {
    const std::vector<std::uint8_t> bytes = bytesOf(out);
    return std::vector<Hlong>(bytes.begin(), bytes.end());
  }
  HTuple rows, begins, ends;
  GetRegionRuns(out, &rows, &begins, &ends);
  std::vector<Hlong> values;
  for (Hlong i = 0; i < rows.Length(); ++i) {
    values.insert(values.end(), {rows[i].L(), begins[i].L(), ends[i].L()});
  }
  return values;
}

std::vector<Call> calls() {
  std::vector<Call> all;
  // Reaches of 1 of 2, 11 of 13, 15 of 18 and 41 of 48 (the float sums' longest) summed.
  for (const double sigma : {0.3, 2.0, 2.7, 7.4}) {
    all.push_back(
        {"smooth_image gauss " + std::to_string(sigma),
         [sigma](const HObject& in, HObject* out) { SmoothImage(in, out, "gauss", sigma); }});
  }
  for (const Hlong size : {5, 11}) {
    all.push_back({"gauss_filter " + std::to_string(size),
                   [size](const HObject& in, HObject* out) { GaussFilter(in, out, size); }});
  }
  // The box sums mirror columns as gauss_filter does.
  all.push_back(
      {"mean_image 11x7", [](const HObject& in, HObject* out) { MeanImage(in, out, 11, 7); }});
  for (const Hlong side : {5, 9}) {
    all.push_back({"binomial_filter " + std::to_string(side),
                   [side](const HObject& in, HObject* out) { BinomialFilter(in, out, side, 3); }});
  }
  // Windows of one pixel, narrow and wide, each side of the deviation test.
  const struct {
    Hlong width, height;
    const char* side;
  } windows[] = {{1, 1, "dark"}, {15, 15, "light"}, {31, 3, "equal"}, {3, 9, "not_equal"}};
  for (const auto& w : windows) {
    all.push_back(
        {"var_threshold " + std::to_string(w.width) + "x" + std::to_string(w.height) + " " + w.side,
         [w](const HObject& in, HObject* out) {
           VarThreshold(in, out, w.width, w.height, 0.3, 4, w.side);
         }});
  }
  return all;
}

TEST(SmoothingSpeed, FastPathsGiveThePortableResult) {
  SettingsRestored restored;
  // Rows of several blocks of 32 and 64 and a few pixels beyond; a column narrower than a block.
  for (const Size size : {Size{203, 41}, Size{29, 67}}) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const Call& call : calls()) {
        expectSameAsPortable<std::vector<Hlong>>(labelOf(call.name, size, domain),
                                                 [&, &input = input] {
                                                   HObject out;
                                                   call.run(input, &out);
                                                   return valuesOf(out);
                                                 });
      }
    }
  }
}

// A flat image on every path: weights that sum to one keep every grey value
// (smooth_image, gauss_filter, binomial_filter, HALCON 11.0), and var_threshold's deviation is
// 0 and its mean the grey value itself (var_threshold, HALCON 11.0): 'dark' keeps g <= m - v
// with v = max(StdDevScale 0, AbsThreshold), so every pixel for AbsThreshold -1 and none for 1.
TEST(SmoothingSpeed, FlatImagesStayFlat) {
  SettingsRestored restored;
  std::vector<std::uint8_t> plane(101 * 37, 173);
  const HObject image = wrapGray(plane, 101, 37);
  for (const char* simd : {"false", "avx2", "true"}) {
    SetSystem("standin_simd", simd);
    for (const Call& call : calls()) {
      if (call.name.rfind("var_threshold", 0) == 0) continue;  // regions, below
      HObject out;
      call.run(image, &out);
      EXPECT_TRUE(bytesOf(out) == plane) << call.name << ", standin_simd " << simd;
    }
    const struct {
      double absolute;
      Hlong area;
    } flat[] = {{-1, 101 * 37}, {1, 0}};
    for (const auto& row : flat) {
      HObject region;
      VarThreshold(image, &region, 15, 15, 0.2, row.absolute, "dark");
      HTuple area, r, c;
      AreaCenter(region, &area, &r, &c);
      EXPECT_EQ(area[0].L(), row.area) << row.absolute << ", standin_simd " << simd;
    }
  }
}

// var_threshold, HALCON 11.0: v = max(StdDevScale d, AbsThreshold) with m and d the mean and
// deviation over the mask; 'dark' keeps g <= m - v, 'equal' m - v <= g <= m + v and
// 'not_equal' the others. Eight 5 x 5 blocks side by side, each of zeros with five 5s in its
// first row: each block's centre (row 2) has m = 25 / 25 = 1 and d = sqrt(125 / 25 - 1) = 2,
// a tie m - g = v for scale 0.5 and threshold 0 and for scale 0 and threshold 1, which the
// undivided decisions must leave to the divided form at either vector width.
TEST(SmoothingSpeed, VarThresholdTiesAtEitherWidth) {
  SettingsRestored restored;
  std::vector<std::uint8_t> ties(5 * 40, 0);
  std::fill_n(ties.begin(), 40, std::uint8_t{5});
  const HObject tied = wrapGray(ties, 40, 5);
  const struct {
    double scale, absolute;
    const char* side;
    bool kept;
  } centre[] = {{0.5, 0, "dark", true},
                {0, 1, "dark", true},
                {0, 1, "equal", true},
                {0, 1, "not_equal", false}};
  for (const char* simd : {"avx2", "true"}) {
    SetSystem("standin_simd", simd);
    for (const auto& row : centre) {
      HObject region;
      VarThreshold(tied, &region, 5, 5, row.scale, row.absolute, row.side);
      for (Hlong column = 2; column < 40; column += 5) {
        HTuple inside;
        TestRegionPoint(region, 2, column, &inside);
        EXPECT_EQ(inside[0].L() == 1, row.kept)
            << row.side << " " << row.scale << " " << row.absolute << ", column " << column
            << ", standin_simd " << simd;
      }
    }
  }
}

}  // namespace
