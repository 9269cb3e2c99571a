// The rectangular grey-value morphology's byte vectors against the portable path: random
// images of odd sizes and of rows that start anywhere on a vector's boundary, masks from one
// pixel to wider than the image (even sides acting as the next odd one, half widths on both
// sides of the vectors' limit of 15), full and reduced domains, several channels and any threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

using RectOperator = void (*)(const HObject&, HObject*, const HTuple&, const HTuple&);

struct Morphology {
  const char* name;
  RectOperator run;
};

const Morphology kOperators[] = {{"gray_dilation_rect", GrayDilationRect},
                                 {"gray_erosion_rect", GrayErosionRect},
                                 {"gray_opening_rect", GrayOpeningRect},
                                 {"gray_closing_rect", GrayClosingRect}};

// Mask height x width: one pixel, the benchmark's 11, an even width, the widest window the
// vectors take (31) and the next (33), a tall one, and one taller than most images.
const std::pair<Hlong, Hlong> kMasks[] = {{1, 1},  {11, 11}, {3, 4},  {1, 31},
                                          {31, 1}, {7, 30},  {5, 33}, {64, 9}};

TEST(GrayRectPaths, GiveThePortableBytesOnAnyThreads) {
  SettingsRestored restored;
  std::vector<Size> sizes = sweepSizes();
  // A row of exactly one vector and one past it, two vectors, and rows whose starts fall on
  // every alignment.
  for (const Size size : {Size{32, 9}, Size{33, 40}, Size{64, 17}, Size{97, 12}}) {
    sizes.push_back(size);
  }
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject gray = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(gray, size)) {
      for (const Morphology& op : kOperators) {
        for (const auto& [height, width] : kMasks) {
          expectSameAsPortable<ImageBytes>(labelOf(op.name, height, width, size, domain),
                                           [&, &input = input, height = height, width = width] {
                                             HObject out;
                                             op.run(input, &out, height, width);
                                             return imageBytesOf(out);
                                           });
        }
      }
    }
  }
}

TEST(GrayRectPaths, GiveThePortableBytesOnEveryChannel) {
  SettingsRestored restored;
  const Size size{131, 45};
  std::vector<std::uint8_t> planes[3];
  for (std::size_t c = 0; c < 3; ++c) planes[c] = randomPlane(size, 7 + std::uint32_t(c));
  HObject three;
  Compose3(wrapGray(planes[0], size.width, size.height),
           wrapGray(planes[1], size.width, size.height),
           wrapGray(planes[2], size.width, size.height), &three);
  for (const auto& [domain, input] : domainsOf(three, size)) {
    for (const Morphology& op : kOperators) {
      expectSameAsPortable<ImageBytes>(labelOf(op.name, "three channels", size, domain),
                                       [&, &input = input] {
                                         HObject out;
                                         op.run(input, &out, 9, 13);
                                         return imageBytesOf(out);
                                       });
    }
  }
}

}  // namespace
