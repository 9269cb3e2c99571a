// edges_sub_pix's groups of points on several threads: each group's points chained in order
// behind its first point, strong and weak groups alike handed to the threads, the weak ones only
// cleared. Groups that join far below their first rows, across the bands the union-find works
// in, and weak groups between strong ones give the portable path's contours, in its order.
#include <gtest/gtest.h>

#include <cmath>
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

// Combs: upright bars joined by a bar along the bottom, so that each comb's group is found as
// many groups in the rows above and joined only at its foot; every other comb faint, a weak
// group between two strong ones.
std::vector<std::uint8_t> combsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 5);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const Hlong comb = x / 40;
      const bool tooth = x % 8 < 3 && x % 40 < 32 && y > 3;
      const bool foot = y > size.height - 12 && y < size.height - 4 && x % 40 < 32;
      const int inside = comb % 2 == 1 ? 100 : 220;
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((tooth || foot ? inside : 50) + p % 6);
    }
  }
  return plane;
}

// A square spiral: one group from the image's middle to its edge, whose least point lies in
// the top rows and whose last in the bottom ones.
std::vector<std::uint8_t> spiralPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 11);
  const double cy = 0.5 * static_cast<double>(size.height);
  const double cx = 0.5 * static_cast<double>(size.width);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double dy = static_cast<double>(y) - cy, dx = static_cast<double>(x) - cx;
      const double a = std::atan2(dy, dx) / (2 * 3.14159265358979);
      const double ring = std::max(std::fabs(dy), std::fabs(dx)) / 10 - a;
      const bool on = ring - std::floor(ring) < 0.45;
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((on ? 190 : 70) + p % 10);
    }
  }
  return plane;
}

// Noise alone: many small groups, strong and weak, side by side.
std::vector<std::uint8_t> noisePlane(Size size) {
  return randomPlane(size, 17);
}

struct Call {
  const char* filter;
  double alpha, low, high;
};

const std::pair<const char*, PlaneOf> kPlanes[] = {
    {"combs", &combsPlane}, {"spiral", &spiralPlane}, {"noise", &noisePlane}};
const Call kCalls[] = {{"canny", 1, 20, 40}, {"canny", 1.5, 5, 60}, {"sobel_fast", 1, 30, 90}};

// Every plane, call, size and domain against the portable path on one thread, the bands of few
// rows cutting the groups apart.
TEST(EdgeGroupingPaths, GroupsAcrossBandsGiveThePortableContours) {
  SettingsRestored restored;
  for (const Size size : {Size{161, 97}, Size{333, 211}}) {
    for (const auto& [name, make] : kPlanes) {
      std::vector<std::uint8_t> plane = make(size);
      const HObject image = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, reduced] : domainsOf(image, size)) {
        for (const Call& call : kCalls) {
          const std::string label =
              labelOf(name, domain, call.filter, call.alpha, call.low, call.high, size);
          expectSameAsPortable<std::vector<double>>(label, [&, &reduced = reduced] {
            HObject edges;
            EdgesSubPix(reduced, &edges, call.filter, call.alpha, call.low, call.high);
            return contourValues(edges);
          });
        }
      }
    }
  }
}

}  // namespace
