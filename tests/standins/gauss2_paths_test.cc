// smooth_image 'gauss' against the portable path on images whose sums crowd about the rounding
// boundaries without lying on them: flat greys with a little noise, whose smoothed values sit
// within a few hundredths of x.5, so that many pixels are left undecided by the floats and
// summed again with whole-number columns, some of them undecided again and summed in the
// portable order. Widths about the 32 columns a pixel's whole-number sums read, rows fewer
// than the reach, and the reaches on either side of the last the whole-number sums take.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// A grey with one bit of noise, the neighbourhood's mean at grey + 0.5; a ramp of a grey a
// column as the benchmark's background has, whose smoothed values keep the noise's half.
struct Scene {
  const char* name;
  int (*grey)(Hlong x, Hlong y);
};

const Scene kScenes[] = {
    {"flat", [](Hlong, Hlong) { return 200; }},
    {"ramp", [](Hlong x, Hlong y) { return 40 + static_cast<int>((x + y) % 32); }},
    {"dark", [](Hlong, Hlong) { return 0; }},
    {"bright", [](Hlong, Hlong) { return 254; }},
};

std::vector<std::uint8_t> noisyPlane(const Scene& scene, Size size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> p(static_cast<std::size_t>(size.width * size.height));
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      p[static_cast<std::size_t>(y * size.width + x)] =
          static_cast<std::uint8_t>(scene.grey(x, y) + static_cast<int>(random() & 1));
    }
  }
  return p;
}

std::vector<std::uint8_t> smoothed(const HObject& image, double sigma) {
  HObject out;
  SmoothImage(image, &out, "gauss", sigma);
  return bytesOf(out);
}

// Sigma 2.3 reaches 15 pixels, the last reach summed again in whole numbers; 2.4 reaches 16.
const double kSigmas[] = {0.7, 1.0, 2.0, 2.3, 2.4};

TEST(Gauss2Paths, SumsNearBoundariesGiveThePortableResult) {
  SettingsRestored restored;
  // Widths below, at and beyond the 2 reach + 1 and the 32 columns of a pixel's whole-number
  // sums; rows fewer than the reach, and rows of whole blocks of 64 and a few beyond.
  std::vector<Size> sizes{{26, 7}, {31, 40}, {32, 33}, {45, 9}, {70, 51}};
  if (!quickSweep()) sizes.push_back({203, 67});
  for (const Scene& scene : kScenes) {
    for (const Size size : sizes) {
      std::vector<std::uint8_t> plane =
          noisyPlane(scene, size, static_cast<std::uint32_t>(size.width * 131 + size.height));
      const HObject image = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsOf(image, size)) {
        for (const double sigma : kSigmas) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf("smooth_image gauss", sigma, scene.name, size, domain),
              [&, &input = input] { return smoothed(input, sigma); });
        }
      }
    }
  }
}

// The default bands, whose parts hold dozens of rows: the pixels summed again a few rows after
// their own, each part's last ones at its end, on any threads.
TEST(Gauss2Paths, DefaultBandsNearBoundariesGiveThePortableResult) {
  SettingsRestored restored;
  std::vector<Size> sizes{{640, 480}};
  if (!quickSweep()) sizes.push_back({1500, 1401});
  for (const Scene& scene : kScenes) {
    for (const Size size : sizes) {
      std::vector<std::uint8_t> plane = noisyPlane(scene, size, 5);
      const HObject image = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsOf(image, size)) {
        SetSystem("standin_simd", "false");
        SetSystem("thread_num", 1);
        const std::vector<std::uint8_t> portable = smoothed(input, 2.0);
        SetSystem("standin_simd", "true");
        for (const Hlong threads : sweepThreads({1, 2, 3})) {
          SetSystem("thread_num", threads);
          EXPECT_TRUE(smoothed(input, 2.0) == portable)
              << labelOf("smooth_image gauss 2", scene.name, size, domain,
                         "thread_num " + std::to_string(threads));
        }
      }
    }
  }
}

}  // namespace
