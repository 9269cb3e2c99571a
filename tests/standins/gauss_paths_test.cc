// gauss_filter and smooth_image 'gauss' against the portable path on one thread: at the sizes
// users run them, on the bands the stand-in chooses by itself (the default least work a band
// takes); smooth_image 'gauss' at every reach of its rows' code and on images whose every sum
// lies on a rounding boundary, so that every pixel is summed again in doubles; on flat greys
// and ramps with a little noise, whose sums crowd about the rounding boundaries without lying on
// them, so that many pixels are summed again with whole-number columns and some of those again
// in the portable order; gauss_filter's columns at each size and its planes written past the
// caches; and binomial_filter's planes, written whole, by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

struct Filter {
  const char* name;
  std::function<void(const HObject&, HObject*)> call;
};

const Filter kFilters[] = {
    {"gauss_filter 3", [](const HObject& in, HObject* out) { GaussFilter(in, out, 3); }},
    {"gauss_filter 5", [](const HObject& in, HObject* out) { GaussFilter(in, out, 5); }},
    {"gauss_filter 11", [](const HObject& in, HObject* out) { GaussFilter(in, out, 11); }},
    {"smooth_image gauss 2",
     [](const HObject& in, HObject* out) { SmoothImage(in, out, "gauss", 2); }},
};

// The default least work a band takes, as the benchmark and users run: unlike
// expectSameAsPortable, which cuts every image into bands of a few rows.
TEST(GaussPaths, DefaultBandsGiveThePortableResult) {
  SettingsRestored restored;
  std::vector<Size> sizes{{640, 480}, {641, 479}};
  if (!quickSweep()) sizes.push_back({1023, 769});
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const Filter& filter : kFilters) {
        const auto run = [&, &input = input] {
          HObject out;
          filter.call(input, &out);
          return bytesOf(out);
        };
        SetSystem("standin_simd", "false");
        SetSystem("thread_num", 1);
        const std::vector<std::uint8_t> portable = run();
        SetSystem("standin_simd", "true");
        for (const Hlong threads : sweepThreads({1, 2, 5})) {
          SetSystem("thread_num", threads);
          EXPECT_TRUE(run() == portable)
              << labelOf(filter.name, size, domain, "thread_num " + std::to_string(threads));
        }
      }
    }
  }
}

// smooth_image 'gauss' at every reach its taps take along the row (each its own code) and beyond,
// in rows of three blocks of 64 and a few pixels.
TEST(GaussPaths, EveryReachGivesThePortableResult) {
  SettingsRestored restored;
  const Size size{197, 41};
  std::vector<std::uint8_t> plane = randomPlane(size, 3);
  const HObject image = wrapGray(plane, size.width, size.height);
  std::vector<double> sigmas;
  for (int tenths = 2; tenths <= 40; ++tenths) sigmas.push_back(tenths / 10.0);
  sigmas.insert(sigmas.end(), {5.0, 7.5});
  for (const auto& [domain, input] : domainsOf(image, size)) {
    for (const double sigma : sigmas) {
      expectSameAsPortable<std::vector<std::uint8_t>>(
          labelOf("smooth_image gauss", sigma, size, domain), [&, &input = input] {
            HObject out;
            SmoothImage(input, &out, "gauss", sigma);
            return bytesOf(out);
          });
    }
  }
}

// Planes of 2 MiB and more written past the caches, rows summed and rounded in one pass: a width
// whose rows start at every place in a line of 64 bytes, so that the bytes before a row's first
// whole line take every length, and spans that start and end anywhere in a line (the domains).
TEST(GaussPaths, LargePlanesGiveThePortableResult) {
  if (quickSweep()) GTEST_SKIP() << "the large planes take the native build's paths alone";
  SettingsRestored restored;
  const Size size{2111, 1001};
  std::vector<std::uint8_t> plane = randomPlane(size, 7);
  const HObject image = wrapGray(plane, size.width, size.height);
  for (const auto& [domain, input] : domainsOf(image, size)) {
    for (const Hlong filter : {3, 5, 9, 11}) {
      expectSameAsPortable<std::vector<std::uint8_t>>(labelOf("gauss_filter", filter, size, domain),
                                                      [&, &input = input] {
                                                        HObject out;
                                                        GaussFilter(input, &out, filter);
                                                        return bytesOf(out);
                                                      });
    }
  }
}

struct Pattern {
  const char* name;
  std::function<bool(Hlong x, Hlong y)> light;
};

// Two grey values alternating: the weights of the Gaussian at even and at odd offsets each sum
// to a half (within e^(-2 pi^2 sigma^2)), so that each pixel's sum lies within rounding of the
// mean of the two, here x.5.
const Pattern kPatterns[] = {{"columns", [](Hlong x, Hlong) { return x % 2 == 1; }},
                             {"rows", [](Hlong, Hlong y) { return y % 2 == 1; }},
                             {"checks", [](Hlong x, Hlong y) { return (x + y) % 2 == 1; }}};

TEST(GaussPaths, RoundingTiesGiveThePortableResult) {
  SettingsRestored restored;
  const struct { std::uint8_t dark, light; } greys[] = {{0, 1}, {17, 200}, {3, 250}, {36, 101}};
  // Rows of whole blocks of 64 and a few pixels beyond; rows narrower than a pixel's reach.
  for (const Size size : {Size{157, 21}, Size{23, 9}}) {
    for (const Pattern& pattern : kPatterns) {
      for (const auto& grey : greys) {
        std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
        for (Hlong y = 0; y < size.height; ++y) {
          for (Hlong x = 0; x < size.width; ++x) {
            plane[static_cast<std::size_t>(y * size.width + x)] =
                pattern.light(x, y) ? grey.light : grey.dark;
          }
        }
        const HObject image = wrapGray(plane, size.width, size.height);
        for (const auto& [domain, input] : domainsOf(image, size)) {
          for (const double sigma : {1.5, 2.0, 3.1}) {
            expectSameAsPortable<std::vector<std::uint8_t>>(
                labelOf("smooth_image gauss", sigma, pattern.name, int(grey.light), size, domain),
                [&, &input = input] {
                  HObject out;
                  SmoothImage(input, &out, "gauss", sigma);
                  return bytesOf(out);
                });
          }
        }
      }
    }
  }
}

// Every size, in rows of three blocks of 32 and one pixel beyond, in rows narrower than a
// block, and at widths about the blocks of 16, 32 and 64 pixels (every length of a row's last
// block, each size's reach at the edges), split into parts of a few rows.
TEST(GaussPaths, GaussFilterColumnsGiveThePortableResult) {
  SettingsRestored restored;
  std::vector<Size> sizes{{97, 37}, {19, 11}};
  for (const Hlong width : {1, 2, 5, 15, 16, 17, 31, 32, 33, 47, 63, 64, 65, 129, 130}) {
    sizes.push_back({width, 9});
  }
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.height));
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const Hlong filter : {3, 5, 7, 9, 11}) {
        expectSameAsPortable<std::vector<std::uint8_t>>(
            labelOf("gauss_filter", filter, size, domain), [&, &input = input] {
              HObject out;
              GaussFilter(input, &out, filter);
              return bytesOf(out);
            });
      }
    }
  }
}

// binomial_filter, HALCON 11.0: the binomial coefficients over 2^(MaskWidth - 1) along the row
// (and over 2^(MaskHeight - 1) down the column), the image mirrored at its edges. A row
// 0 4 8 and its reverse under MaskWidth 3, MaskHeight 1 (weights 1 2 1 over 4, the pixel left
// of the first repeating it): (0 + 0 + 4) / 4 = 1, (0 + 8 + 8) / 4 = 4, (4 + 16 + 8) / 4 = 7.
// Each channel's every pixel is written, on any threads and vector paths.
TEST(GaussPaths, BinomialFilterWritesEveryPixel) {
  SettingsRestored restored;
  std::vector<std::uint8_t> first{0, 4, 8}, second{8, 4, 0};
  HObject a = wrapGray(first, 3, 1), b = wrapGray(second, 3, 1), image;
  Compose2(a, b, &image);
  const std::vector<std::vector<std::uint8_t>> expected{{1, 4, 7}, {7, 4, 1}};
  for (const char* simd : {"false", "true"}) {
    SetSystem("standin_simd", simd);
    for (const Hlong threads : {1, 2}) {
      SetSystem("thread_num", threads);
      HObject out, channel;
      BinomialFilter(image, &out, 3, 1);
      for (Hlong c = 0; c < 2; ++c) {
        AccessChannel(out, &channel, c + 1);
        EXPECT_EQ(bytesOf(channel), expected[static_cast<std::size_t>(c)])
            << "channel " << c + 1 << ", standin_simd " << simd << ", thread_num " << threads;
      }
    }
  }
}

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

TEST(GaussPaths, SumsNearBoundariesGiveThePortableResult) {
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
TEST(GaussPaths, DefaultBandsNearBoundariesGiveThePortableResult) {
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
