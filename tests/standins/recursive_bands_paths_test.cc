// smooth_image's recursive filters on bytes where the bands of blocks share out the rows between
// the first and the last filtered one evenly, against the portable path: heights whose bands end
// inside a block of 32 rows, domains whose rows begin or end far from the image's edges, fewer
// filtered rows than threads, a single row at either edge, and the benchmark's two images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// Rows [first, last] of the image, each over columns [left, right] (clipped to the image).
struct Rows {
  const char* name;
  Hlong first, last, left, right;
};

struct Row {
  const char* what;
  std::vector<Size> sizes;
  std::vector<Rows> domains;
};

HObject reducedTo(const HObject& image, Size size, const Rows& rows) {
  const auto clip = [](Hlong v, Hlong high) { return std::max<Hlong>(0, std::min(v, high)); };
  HObject rectangle, reduced;
  GenRectangle1(&rectangle, clip(rows.first, size.height - 1), clip(rows.left, size.width - 1),
                clip(rows.last, size.height - 1), clip(rows.right, size.width - 1));
  ReduceDomain(image, rectangle, &reduced);
  return reduced;
}

TEST(RecursiveBandsPaths, EvenBandsGiveThePortableBytes) {
  SettingsRestored restored;
  constexpr Hlong kAll = 1 << 20;
  const Row rows[] = {
      // 480 rows: two bands of 240, 30 rows a block; five of 96.
      {"benchmark", {{640, 480}}, {{"full", 0, kAll, 0, kAll}, {"middle", 55, 424, 100, 540}}},
      // Bands ending inside a block, a last block short, odd widths.
      {"odd heights",
       {{131, 97}, {67, 161}, {200, 33}},
       {{"full", 0, kAll, 0, kAll},
        {"from a block's middle", 40, kAll, 3, 60},
        {"to a block's middle", 0, 70, 0, kAll},
        {"both", 33, 90, 10, 20}}},
      // Fewer filtered rows than bands, and a row alone at either edge.
      {"few rows",
       {{90, 200}, {70, 64}},
       {{"two rows", 40, 41, 0, kAll},
        {"one row in a block", 37, 37, 5, 50},
        {"top row", 0, 0, 0, kAll},
        {"bottom row", kAll, kAll, 0, kAll},
        {"one column", 0, kAll, 7, 7}}},
  };
  for (const Row& row : rows) {
    for (const Size size : row.sizes) {
      if (quickSweep() && size.width * size.height > 20000) continue;
      std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.height));
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const Rows& domain : row.domains) {
        const HObject input = reducedTo(gray, size, domain);
        for (const auto& [filter, alpha] : {std::pair{"deriche2", 1.0}, std::pair{"shen", 0.7}}) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf(row.what, filter, alpha, size, domain.name),
              [&, filter = filter, alpha = alpha] {
                HObject out;
                SmoothImage(input, &out, filter, alpha);
                return bytesOf(out);
              });
        }
      }
    }
  }
}

}  // namespace
