// gauss_filter's rows summed and rounded in one pass, and its columns' last block under a mask:
// every length of a row's last block, and large planes whose rows start anywhere in a line of
// the cache (written past the caches); smooth_image 'gauss' with fewer taps; each against the
// portable path.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

std::vector<std::uint8_t> gaussFilterBytes(const HObject& input, Hlong size) {
  HObject out;
  GaussFilter(input, &out, size);
  return bytesOf(out);
}

// Widths about the blocks of 16, 32 and 64 pixels, each size's reach at the edges, under every
// domain.
TEST(Gauss2Paths, GaussFilterEveryLastBlock) {
  SettingsRestored restored;
  const Hlong widths[] = {1, 2, 5, 15, 16, 17, 31, 32, 33, 47, 63, 64, 65, 97, 129, 130};
  for (const Hlong width : widths) {
    const Size size{width, 9};
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(width));
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const Hlong filter : {3, 5, 7, 9, 11}) {
        expectSameAsPortable<std::vector<std::uint8_t>>(
            labelOf("gauss_filter", filter, size, domain),
            [&, &input = input] { return gaussFilterBytes(input, filter); });
      }
    }
  }
}

// Planes of 2 MiB and more, a width whose rows start at every place in a line of 64 bytes, so
// that the bytes before a row's first whole line take every length.
TEST(Gauss2Paths, GaussFilterStreamedRowsFromAnyPlace) {
  if (quickSweep()) GTEST_SKIP() << "the large planes take the native build's paths alone";
  SettingsRestored restored;
  const Size size{2111, 1001};
  std::vector<std::uint8_t> plane = randomPlane(size, 11);
  const HObject image = wrapGray(plane, size.width, size.height);
  for (const auto& [domain, input] : domainsOf(image, size)) {
    for (const Hlong filter : {5, 9}) {
      expectSameAsPortable<std::vector<std::uint8_t>>(
          labelOf("gauss_filter", filter, size, domain),
          [&, &input = input] { return gaussFilterBytes(input, filter); });
    }
  }
}

// smooth_image 'gauss' with its outermost taps out to about 5 sigma left out, on rows of several
// blocks of 64 and a few pixels: sigmas about the one users run most, under every domain.
TEST(Gauss2Paths, SmoothImageShortenedTaps) {
  SettingsRestored restored;
  const Size size{651, 57};
  std::vector<std::uint8_t> plane = randomPlane(size, 13);
  const HObject image = wrapGray(plane, size.width, size.height);
  for (const auto& [domain, input] : domainsOf(image, size)) {
    for (const double sigma : {1.2, 1.9, 2.0, 2.1, 2.7}) {
      expectSameAsPortable<std::vector<std::uint8_t>>(
          labelOf("smooth_image gauss", sigma, size, domain), [&, &input = input] {
            HObject out;
            SmoothImage(input, &out, "gauss", sigma);
            return bytesOf(out);
          });
    }
  }
}

}  // namespace
