// smooth_image's recursive filters over several bands of blocks of rows, against the portable
// path: the first band run from its last block up and the others down, so domains whose met
// blocks lie in one band alone, skip blocks inside a band, or touch a band's first or last row;
// and the pixels beside the domain, which the filter sets to 0 itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// Rows [r0, r1] of columns [c0, c1], each a rectangle of the union.
struct Bar {
  Hlong r0, c0, r1, c1;
};

HObject barsOf(const std::vector<Bar>& bars) {
  HObject all;
  GenEmptyRegion(&all);
  for (const Bar& bar : bars) {
    HObject one, both;
    GenRectangle1(&one, bar.r0, bar.c0, bar.r1, bar.c1);
    Union2(all, one, &both);
    all = both;
  }
  return all;
}

// Blocks are 32 rows: the domains below meet blocks in the top rows alone, the bottom rows
// alone, every other block (blocks in between carry the sums unmet), a block's last and the
// next block's first row, and a single column down the whole height.
std::vector<std::pair<std::string, HObject>> bandDomains(const HObject& image, Size size) {
  const Hlong w = size.width, h = size.height, right = w - 1, bottom = h - 1;
  std::vector<std::pair<std::string, HObject>> domains = domainsOf(image, size);
  const std::pair<const char*, std::vector<Bar>> shapes[] = {
      {"top", {{0, 0, std::min<Hlong>(5, bottom), right}}},
      {"bottom", {{std::max<Hlong>(0, h - 3), w / 2, bottom, right}}},
      {"alternate", {{0, 0, 3, right}, {64, 1, 70, right / 2}, {130, right / 3, 140, right}}},
      {"seam", {{31, 0, 32, right}, {95, w / 2, 96, w / 2}}},
      {"column", {{0, right / 2, bottom, right / 2}}}};
  for (const auto& [name, bars] : shapes) {
    HObject reduced;
    ReduceDomain(image, barsOf(bars), &reduced);
    domains.emplace_back(name, reduced);
  }
  return domains;
}

TEST(DerichePaths, BandsUpAndDownGiveThePortableBytes) {
  SettingsRestored restored;
  // Reaches 25 / Alpha of 25, 36, 1 and 84 (past the narrower images); heights of a few
  // blocks and a last one of one row, 4 to 9 blocks, and one block; widths inside a strip of
  // 64 columns, a strip and one, several strips less one.
  expectRecursiveLikePortable({{"deriche2", 1}, {"deriche1", 0.7}, {"shen", 25}, {"deriche2", 0.3}},
                              {{70, 97}, {131, 161}, {5, 289}, {257, 64}, {200, 31}}, bandDomains);
}

// Every channel of a three-channel image, with a domain of a few rows: each channel's pixels
// beside the domain are 0, its own sums on it.
TEST(DerichePaths, EveryChannelGivesThePortableBytes) {
  SettingsRestored restored;
  const Size size{97, 133};
  std::vector<std::vector<std::uint8_t>> planes;
  for (std::uint32_t c = 0; c < 3; ++c) planes.push_back(randomPlane(size, 7 + c));
  const HObject red = wrapGray(planes[0], size.width, size.height);
  const HObject green = wrapGray(planes[1], size.width, size.height);
  const HObject blue = wrapGray(planes[2], size.width, size.height);
  HObject rgb, reduced;
  Compose3(red, green, blue, &rgb);
  ReduceDomain(rgb, barsOf({{40, 3, 100, 60}}), &reduced);
  for (const auto& [domain, input] : {std::pair{"full", rgb}, std::pair{"rows", reduced}}) {
    expectSameAsPortable<std::vector<std::uint8_t>>(
        labelOf("deriche2 1 rgb", domain), [&, &input = input] {
          HObject out, channel;
          SmoothImage(input, &out, "deriche2", 1);
          std::vector<std::uint8_t> all;
          for (Hlong c = 1; c <= 3; ++c) {
            AccessChannel(out, &channel, c);
            const auto bytes = bytesOf(channel);
            all.insert(all.end(), bytes.begin(), bytes.end());
          }
          return all;
        });
  }
}

}  // namespace
