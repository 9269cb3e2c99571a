// edges_sub_pix's windows of gradients against the portable path: windows that work out only the
// row before and the row after their own (the interpolation reads the next row but one at a
// weight of exactly 0, where a gradient lies along the columns), and smoothings that start their
// sums from the first tap's products, for kernels whose first weight has either sign.
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

using PlaneOf = std::function<std::vector<std::uint8_t>(Size)>;

// Grey values that change down the columns alone, in steps between every 32nd row and the next
// (where edges_sub_pix's windows meet): every gradient lies along the columns, and each step's
// two rows have the same amplitude, so that the point is the first row's, the last of its window,
// whose interpolation ahead lands on the next row but one.
std::vector<std::uint8_t> rowStepsPlane(Size size) {
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
  for (Hlong y = 0; y < size.height; ++y) {
    const int value = (y / 32) % 2 == 0 ? 40 : 180;
    for (Hlong x = 0; x < size.width; ++x) {
      plane[static_cast<std::size_t>(y * size.width + x)] = static_cast<std::uint8_t>(value);
    }
  }
  return plane;
}

// The same along the rows: every gradient along the rows.
std::vector<std::uint8_t> columnStepsPlane(Size size) {
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const int value = x % 13 < 6 ? 50 + static_cast<int>(x % 5) : 190;
      plane[static_cast<std::size_t>(y * size.width + x)] = static_cast<std::uint8_t>(value);
    }
  }
  return plane;
}

// Steps down the columns with noise on them: gradients near the columns, of both signs.
std::vector<std::uint8_t> noisyStepsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 17);
  const std::vector<std::uint8_t> steps = rowStepsPlane(size);
  for (std::size_t i = 0; i < plane.size(); ++i) {
    plane[i] = static_cast<std::uint8_t>(steps[i] + plane[i] % 16);
  }
  return plane;
}

struct Call {
  const char* filter;
  double alpha, low, high;
};

// Canny's Gaussians of a reach of 3 and of 8, Sobel's masks, and the recursive filters, whose
// smoothing weights at the kernel's far end are of either sign.
const Call kCalls[] = {{"canny", 1, 20, 40},      {"canny", 2.5, 5, 15},
                       {"sobel_fast", 1, 10, 30}, {"deriche1", 1.5, 8, 20},
                       {"deriche2", 0.7, 5, 20},  {"lanser2", 2, 5, 20},
                       {"shen", 0.9, 5, 20}};

const std::pair<const char*, PlaneOf> kPlanes[] = {{"row steps", &rowStepsPlane},
                                                   {"column steps", &columnStepsPlane},
                                                   {"noisy steps", &noisyStepsPlane}};

// Every plane with every call, on sizes whose rows end before, at and after a window's, in each
// domain: the contours, every point and attribute, are the portable path's.
TEST(EdgeWindowsPaths, WindowsOfStepsAtTheirEdgesGiveThePortableContours) {
  SettingsRestored restored;
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{45, 65}} : std::vector<Size>{{45, 65}, {77, 96}, {31, 97}};
  for (const Size size : sizes) {
    for (const auto& [name, make] : kPlanes) {
      std::vector<std::uint8_t> plane = make(size);
      const HObject image = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, reduced] : domainsOf(image, size)) {
        for (const Call& call : kCalls) {
          expectSameAsPortable<std::vector<double>>(
              labelOf(name, call.filter, call.alpha, call.low, call.high, size, domain),
              [&, &reduced = reduced] {
                HObject edges;
                EdgesSubPix(reduced, &edges, call.filter, call.alpha, call.low, call.high);
                return contourValues(edges);
              });
        }
      }
    }
  }
}

// The steps' contours are there to compare: each plane gives some on its full domain.
TEST(EdgeWindowsPaths, StepPlanesGiveContours) {
  SettingsRestored restored;
  const Size size{77, 96};
  for (const auto& [name, make] : kPlanes) {
    std::vector<std::uint8_t> plane = make(size);
    HObject edges;
    HTuple count;
    EdgesSubPix(wrapGray(plane, size.width, size.height), &edges, "canny", 1, 20, 40);
    CountObj(edges, &count);
    EXPECT_GT(count[0].L(), 0) << name;
  }
}

}  // namespace
