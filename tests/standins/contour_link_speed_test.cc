// The contour linking on the operators' threads (its tables of rows filled in bands, its points'
// groups of 8-neighbours walked apart) against the portable path on one thread, and
// edges_sub_pix's tiles on widths whose lines end in whole and partial groups of eight columns:
// the same contours, in the same order, with the same points and attributes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// Rings of 200 on 40 every 16 pixels, so that every row holds points of several closed
// contours, and noise on top where `noisy`.
std::vector<std::uint8_t> ringsPlane(Size size, bool noisy) {
  std::vector<std::uint8_t> plane = randomPlane(size, 11);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double r = std::hypot(double(y % 16) - 7.5, double(x % 16) - 7.5);
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((r < 5 ? 200 : 40) + (noisy ? p % 24 : 0));
    }
  }
  return plane;
}

using ContourCall = std::function<void(const HObject&, HObject*)>;

TEST(ContourLinkSpeed, ThreadsGiveTheOneThreadContours) {
  SettingsRestored restored;
  const std::vector<std::pair<const char*, ContourCall>> calls{
      {"edges_sub_pix canny 1 5 15",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 5, 15); }},
      {"edges_sub_pix canny 1 20 40",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 20, 40); }},
      {"lines_gauss 1.5 2 6 light",
       [](const HObject& in, HObject* out) {
         LinesGauss(in, out, 1.5, 2, 6, "light", "true", "bar-shaped", "false");
       }},
  };
  // 91 and 301 end their lines' sums in whole groups of eight columns and a few single ones.
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{37, 5}, {91, 45}} : std::vector<Size>{{91, 45}, {301, 97}};
  for (const Size size : sizes) {
    for (const bool noisy : {false, true}) {
      std::vector<std::uint8_t> plane = ringsPlane(size, noisy);
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsOf(gray, size)) {
        for (const auto& [name, call] : calls) {
          // The larger images hold enough contours for their order to tell.
          if (domain == "full" && size.width * size.height > 4000) {
            HObject contours;
            call(input, &contours);
            EXPECT_GT(contours.CountObj(), 10) << name << ", " << size;
          }
          expectSameAsPortable<std::vector<double>>(
              labelOf(name, size, domain, noisy ? "noisy" : "clean"),
              [&, &input = input, &call = call] {
                HObject contours;
                call(input, &contours);
                return contourValues(contours);
              });
        }
      }
    }
  }
}

}  // namespace
