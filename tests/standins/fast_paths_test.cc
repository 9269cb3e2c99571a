// The vector paths of the colour conversion and the edge filters against their portable
// paths: the same bytes and the same contours on any threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// trans_from_rgb 'hsv' of bytes for every colour once (2^24 pixels): the vector quotients
// against the reciprocals. A quick sweep takes every sixteenth colour, spread over the cube
// by an odd step, which visits each colour at most once.
TEST(FastPaths, HsvOfEveryColourGivesThePortableBytes) {
  SettingsRestored restored;
  const Hlong side = quickSweep() ? 1024 : 4096;
  const std::uint32_t step = quickSweep() ? 0x9E3779u : 1u;
  std::vector<std::uint8_t> planes[3];
  HObject channels[3];
  for (std::size_t c = 0; c < 3; ++c) {
    planes[c].resize(static_cast<std::size_t>(side * side));
    for (std::size_t i = 0; i < planes[c].size(); ++i) {
      const std::uint32_t colour = (static_cast<std::uint32_t>(i) * step) & 0xFFFFFFu;
      planes[c][i] = std::uint8_t(colour >> (8 * c));
    }
    GenImage1Extern(&channels[c], "byte", side, side, address(planes[c].data()), 0);
  }
  expectSameAsPortable<std::vector<std::uint8_t>>("hsv", [&] {
    HObject h, s, v;
    TransFromRgb(channels[0], channels[1], channels[2], &h, &s, &v, "hsv");
    std::vector<std::uint8_t> bytes = bytesOf(h), more = bytesOf(s), value = bytesOf(v);
    bytes.insert(bytes.end(), more.begin(), more.end());
    bytes.insert(bytes.end(), value.begin(), value.end());
    return bytes;
  });
}

TEST(FastPaths, SubPixelEdgesGiveThePortableContoursOnAnyThreads) {
  SettingsRestored restored;
  const std::pair<const char*, double> filters[] = {
      {"canny", 1}, {"canny", 2.5}, {"sobel_fast", 1}, {"deriche2", 1.5}, {"lanser1", 0.4}};
  for (const Size size : sweepSizes()) {
    std::vector<std::uint8_t> pixels = randomPlane(size, static_cast<std::uint32_t>(size.height));
    const HObject image = wrapGray(pixels, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const auto& [filter, alpha] : filters) {
        expectSameAsPortable<std::vector<double>>(
            labelOf(filter, size, domain), [&, &input = input, filter = filter, alpha = alpha] {
              HObject edges;
              EdgesSubPix(input, &edges, filter, alpha, 10, 30);
              return contourValues(edges);
            });
      }
    }
  }
}

}  // namespace
