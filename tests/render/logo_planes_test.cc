// The embedded logo as the library sees it: its size, and that it is the anti-aliased mark on
// a plate with transparent corners that the blend expects. (That the planes are exactly what
// the generator makes of the master is checked by logo_tools_test.py.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "render/logo_planes.h"

namespace quorvex::test {
namespace {

using render::logoHeight;
using render::logoPlaneAlpha;
using render::logoPlaneBlue;
using render::logoPlaneGreen;
using render::logoPlaneRed;
using render::logoWidth;

std::size_t at(int x, int y) {
  return static_cast<std::size_t>(y) * logoWidth + x;
}

TEST(LogoPlanes, AreTheFixedSizeWithOneBytePerPixel) {
  static_assert(std::is_same_v<decltype(logoWidth), const std::int32_t>);
  static_assert(std::is_same_v<decltype(logoHeight), const std::int32_t>);
  EXPECT_EQ(logoWidth, 128);
  EXPECT_EQ(logoHeight, 55);
  EXPECT_EQ(sizeof(logoPlaneRed), 7040u);
  EXPECT_EQ(sizeof(logoPlaneGreen), 7040u);
  EXPECT_EQ(sizeof(logoPlaneBlue), 7040u);
  EXPECT_EQ(sizeof(logoPlaneAlpha), 7040u);
}

TEST(LogoPlanes, AlphaHasTransparentOpaqueAndAntiAliasedPixels) {
  const auto* begin = logoPlaneAlpha;
  const auto* end = logoPlaneAlpha + render::logoPixels;
  EXPECT_GT(std::count(begin, end, 0), 0);
  EXPECT_GT(std::count(begin, end, 255), 100);
  const auto between = std::count_if(begin, end, [](std::uint8_t a) { return a > 0 && a < 255; });
  EXPECT_GT(between, 500);
}

TEST(LogoPlanes, CornersAreTransparentAndTheCentreCovered) {
  for (int x : {0, logoWidth - 1}) {
    for (int y : {0, logoHeight - 1}) EXPECT_EQ(logoPlaneAlpha[at(x, y)], 0) << x << "," << y;
  }
  // The plate keeps the middle of every row and column covered, so letters read on any window.
  for (int x = 16; x < logoWidth - 16; ++x) EXPECT_GT(logoPlaneAlpha[at(x, logoHeight / 2)], 160);
  for (int y = 8; y < logoHeight - 8; ++y) EXPECT_GT(logoPlaneAlpha[at(logoWidth / 2, y)], 160);
}

TEST(LogoPlanes, OpaquePixelsAreLightLettersOrAccent) {
  // The letters are the only fully opaque pixels and must stand out from the dark plate:
  // bright in at least one channel.
  int letters = 0;
  for (std::size_t i = 0; i < render::logoPixels; ++i) {
    if (logoPlaneAlpha[i] != 255) continue;
    ++letters;
    const int brightest = std::max({logoPlaneRed[i], logoPlaneGreen[i], logoPlaneBlue[i]});
    EXPECT_GT(brightest, 200) << "pixel " << i;
  }
  EXPECT_GT(letters, 300);
}

}  // namespace
}  // namespace quorvex::test
