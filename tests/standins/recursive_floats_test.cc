// smooth_image's recursive filters on bytes, summed in floats: the vectors of sixteen and eight
// floats against the portable path, on images whose rows end inside or just past a vector and a
// strip, with domains that leave out whole blocks; and the filters' normalisation held at the
// smallest Alpha, where the float sums are largest.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

TEST(RecursiveFloats, VectorsGiveThePortableBytes) {
  SettingsRestored restored;
  // Reaches 25 / Alpha of 1 (the last block's backward sums start without pixels after them),
  // 10, 28 and 125, past every image; widths one short of a vector of sixteen, one past it,
  // one short of a strip of 32 and one past it; heights of one row, a block and one, two
  // blocks less one.
  expectRecursiveLikePortable(
      {{"deriche2", 30}, {"deriche1", 2.5}, {"shen", 0.2}, {"deriche2", 0.9}},
      {{15, 33}, {17, 1}, {31, 63}, {33, 40}}, domainsOf);
}

// smooth_image, HALCON 11.0 reference: each filter's weights sum to one, so a constant image
// keeps its grey value, the extremes included, down to the smallest Alpha the stand-in takes
// (0.001: a reach of 25000 places and sums some 10^6 times the grey value), on both sides of
// the Alpha (0.05) where the sums go from doubles to floats.
TEST(RecursiveFloats, ConstantImagesKeepTheirValue) {
  SettingsRestored restored;
  struct Row {
    const char* filter;
    double alpha;
    std::uint8_t grey;
  };
  const Row rows[] = {{"deriche1", 0.001, 255}, {"deriche2", 0.001, 255}, {"shen", 0.001, 255},
                      {"deriche1", 0.049, 1},   {"deriche1", 0.05, 255},  {"deriche2", 0.05, 254},
                      {"shen", 0.05, 128},      {"deriche2", 0.3, 1}};
  for (const Row& row : rows) {
    std::vector<std::uint8_t> flat(37 * 35, row.grey);
    const HObject image = wrapGray(flat, 37, 35);
    for (const char* simd : {"false", "true"}) {
      SetSystem("standin_simd", simd);
      HObject smooth;
      SmoothImage(image, &smooth, row.filter, row.alpha);
      const std::vector<std::uint8_t> out = bytesOf(smooth);
      EXPECT_EQ(out, std::vector<std::uint8_t>(flat.size(), row.grey))
          << row.filter << " " << row.alpha << " " << int(row.grey) << ", simd " << simd;
    }
  }
}

}  // namespace
