// edges_sub_pix's tiles that read their lines in place where they clear the image's edges, its
// groups of columns left out where the range of grey values they read keeps every amplitude
// below Low, and the contour linking that carries each point's state beside its pixel and walks
// its groups of points after fetching them, against the portable path on one thread: the same
// contours, in the same order, with the same points and attributes.
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

// Discs of 200 on a ramp every 40 pixels, with noise: long closed contours of strong points
// beside short chains of weak ones, in every row and reaching the image's borders.
std::vector<std::uint8_t> discsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 7);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double r = std::hypot(double(y % 40) - 19.5, double(x % 40) - 21.5);
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((r < 12 ? 200 : 40 + (x + y) % 29) + p % 8);
    }
  }
  return plane;
}

// Low steps every 41 columns and 29 rows on a flat grey with a little noise: groups of columns
// far from them are left out, those beside them (on either side) are not.
std::vector<std::uint8_t> stepsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 5);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>(100 + 12 * ((x / 41 + y / 29) % 2) + p % 3);
    }
  }
  return plane;
}

// The domains of domainsOf, and a strip of columns away from both sides, so that a window
// starts and ends inside the image at columns that are no multiple of eight.
std::vector<std::pair<std::string, HObject>> domainsWithStrip(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> domains = domainsOf(image, size);
  HObject strip, reduced;
  GenRectangle1(&strip, 3, size.width / 3 + 5, size.height - 2, 2 * size.width / 3 + 3);
  ReduceDomain(image, strip, &reduced);
  domains.emplace_back("strip", reduced);
  return domains;
}

using ContourCall = std::function<void(const HObject&, HObject*)>;

TEST(Edges2Paths, TilesAndLinkedStatesGiveThePortableContours) {
  SettingsRestored restored;
  // The benchmark's filter; weak points everywhere and strong ones only on the discs; every
  // point strong; a Gaussian wide enough that its tiles grow past 256 columns; the Sobel masks,
  // whose tiles read one column beyond; lines_gauss, which links one list of points.
  const std::vector<std::pair<const char*, ContourCall>> calls{
      {"edges_sub_pix canny 1 20 40",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 20, 40); }},
      {"edges_sub_pix canny 1.5 3 60",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1.5, 3, 60); }},
      {"edges_sub_pix canny 0.8 0 0",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 0.8, 0, 0); }},
      {"edges_sub_pix canny 6 1 4",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 6, 1, 4); }},
      {"edges_sub_pix sobel_fast 1 10 40",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "sobel_fast", 1, 10, 40); }},
      {"edges_sub_pix canny 1 4 8",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 4, 8); }},
      {"edges_sub_pix canny 1 3 9",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 3, 9); }},
      {"edges_sub_pix sobel_fast 1 5 9",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "sobel_fast", 1, 5, 9); }},
      {"lines_gauss 1.5 2 6 light",
       [](const HObject& in, HObject* out) {
         LinesGauss(in, out, 1.5, 2, 6, "light", "true", "bar-shaped", "false");
       }},
  };
  // Wide enough for tiles clear of both sides (at 256 and at 288 columns), and one whose last
  // tile is short and ends in a partial group of eight columns.
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{611, 23}} : std::vector<Size>{{611, 23}, {1187, 61}};
  const std::pair<const char*, std::vector<std::uint8_t> (*)(Size)> images[] = {
      {"discs", &discsPlane}, {"steps", &stepsPlane}};
  for (const Size size : sizes) {
    for (const auto& [image, make] : images) {
      std::vector<std::uint8_t> plane = make(size);
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsWithStrip(gray, size)) {
        for (const auto& [name, call] : calls) {
          expectSameAsPortable<std::vector<double>>(labelOf(name, image, size, domain),
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
