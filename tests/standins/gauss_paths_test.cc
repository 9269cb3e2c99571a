// gauss_filter and smooth_image 'gauss' at the sizes users run them, on the bands the stand-in
// chooses by itself (the default least work a band takes),
// smooth_image 'gauss' at every reach of its rows' code, and gauss_filter's planes written past
// the caches, against the portable path on one thread.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
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

// Planes of 2 MiB and more written past the caches, from rows of every alignment (an odd width)
// and spans that start and end anywhere in a line (the domains).
TEST(GaussPaths, LargePlanesGiveThePortableResult) {
  if (quickSweep()) GTEST_SKIP() << "the large planes take the native build's paths alone";
  SettingsRestored restored;
  const Size size{2049, 1031};
  std::vector<std::uint8_t> plane = randomPlane(size, 7);
  const HObject image = wrapGray(plane, size.width, size.height);
  for (const auto& [domain, input] : domainsOf(image, size)) {
    for (const Hlong filter : {3, 5, 11}) {
      expectSameAsPortable<std::vector<std::uint8_t>>(labelOf("gauss_filter", filter, size, domain),
                                                      [&, &input = input] {
                                                        HObject out;
                                                        GaussFilter(input, &out, filter);
                                                        return bytesOf(out);
                                                      });
    }
  }
}

}  // namespace
