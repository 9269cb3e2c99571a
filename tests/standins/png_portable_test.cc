// The palette PNG writer built without SSE2, as on processors that lack it. Its portable scan
// only proposes matches, each checked again before use, so what can go wrong is reading past
// the picture (this suite runs under the sanitizers) or a build that no longer compiles.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "codecs/png_palette.h"

namespace {

using HalconCpp::Standin::encodePalettePng;
using HalconCpp::Standin::PlaneView;

// Pictures of runs at random places, rows repeating the one above, noise and a few colours.
TEST(PortablePngScan, PicturesDecodeToTheirPixels) {
  std::mt19937 random(7);
  const auto below = [&random](std::uint32_t bound) {
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(random);
  };
  for (int round = 0; round < 60; ++round) {
    const std::int32_t width = static_cast<std::int32_t>(1 + below(round < 30 ? 40 : 700));
    const std::int32_t height = static_cast<std::int32_t>(1 + below(30));
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> planes[3];
    for (auto& plane : planes) plane.resize(count);
    const std::uint32_t colours = 1 + below(256);
    std::vector<std::uint32_t> ids(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t roll = below(100);
      if (roll < 30 && i >= static_cast<std::size_t>(width)) {
        ids[i] = ids[i - static_cast<std::size_t>(width)];  // as the pixel above
      } else if (roll >= 60 || i == 0) {
        ids[i] = below(colours);
      } else {
        ids[i] = ids[i - 1];  // the run goes on
      }
      // Colour id k: a grey for most, a colour for every third.
      for (std::uint32_t c = 0; c < 3; ++c) {
        planes[c][i] = static_cast<std::uint8_t>(ids[i] % 3 ? ids[i] : ids[i] * 7 + 50 * c);
      }
    }
    const PlaneView view{width, height, {planes[0].data(), planes[1].data(), planes[2].data()}};
    const std::string png = encodePalettePng(view);
    ASSERT_FALSE(png.empty()) << "round " << round;

    int readWidth = 0, readHeight = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                              static_cast<int>(png.size()), &readWidth, &readHeight, &channels, 3);
    ASSERT_NE(pixels, nullptr) << "round " << round << ": " << stbi_failure_reason();
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < count; ++i) {
      for (std::size_t c = 0; c < 3; ++c) wrong += pixels[3 * i + c] != planes[c][i];
    }
    stbi_image_free(pixels);
    EXPECT_EQ(wrong, 0u) << "round " << round;
  }
}

}  // namespace
