// trans_from_rgb's vector path against its portable path: the same bytes for every colour on
// any threads.
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

}  // namespace
