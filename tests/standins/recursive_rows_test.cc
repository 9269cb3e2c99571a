// smooth_image's recursive filters in AVX-512 strips of 64 columns, with the rows' sums run
// only as far as the domain's columns in a block of rows need them, against the portable path:
// widths that end inside a strip's first, second and last vector or one past a strip, domains
// whose blocks reach only the left or right edge, a lone pixel, a diagonal (every row of a block
// a different column), and stripes of 0 and 255, whose overshoot is clamped at both ends.
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

// The domains of this sweep, by name, on an image of `size`.
std::vector<std::pair<std::string, HObject>> edgeDomains(const HObject& image, Size size) {
  const Hlong w = size.width, h = size.height;
  std::vector<std::pair<std::string, HObject>> domains{{"full", image}};
  HObject left, right, pixel, diagonal, reduced;
  GenRectangle1(&left, h / 3, 0, h - 1, std::min<Hlong>(2, w - 1));
  GenRectangle1(&right, 0, std::max<Hlong>(0, w - 3), h / 2, w - 1);
  GenRectangle1(&pixel, h / 2, w / 2, h / 2, w / 2);
  HTuple rows, columns;
  for (Hlong y = 0; y < h; ++y) rows.Append(y), columns.Append((y * 7) % w);
  GenRegionPoints(&diagonal, rows, columns);
  for (const auto& [name, region] : {std::pair{"left", left}, std::pair{"right", right},
                                     std::pair{"pixel", pixel}, std::pair{"diagonal", diagonal}}) {
    ReduceDomain(image, region, &reduced);
    domains.emplace_back(name, reduced);
  }
  return domains;
}

TEST(RecursiveRows, StripsAndDomainColumnsGiveThePortableBytes) {
  SettingsRestored restored;
  struct Filter {
    const char* name;
    double alpha;
  };
  // Reaches 25 / Alpha of 1, 9 and 50 (past the narrower images).
  const Filter filters[] = {{"deriche2", 25}, {"shen", 2.8}, {"deriche1", 0.5}};
  // Widths ending in a strip's first, second and fourth vector, one past a strip, two strips
  // less one; heights of a block less one, a block and one, two blocks and a few.
  const Size sizes[] = {{9, 33}, {29, 31}, {63, 70}, {65, 33}, {127, 9}};
  for (const Size size : sizes) {
    for (const bool stripes : {false, true}) {
      std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
      if (stripes) {
        for (std::size_t i = 0; i < plane.size(); ++i) {
          const auto x = static_cast<Hlong>(i) % size.width;
          plane[i] = (x / 2) % 2 ? 255 : 0;
        }
      }
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : edgeDomains(gray, size)) {
        for (const Filter& filter : filters) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf(filter.name, filter.alpha, size, domain, stripes ? "stripes" : "noise"),
              [&, &input = input] {
                HObject out;
                SmoothImage(input, &out, filter.name, filter.alpha);
                return bytesOf(out);
              });
        }
      }
    }
  }
}

// smooth_image, HALCON 11.0 reference: the filters' weights sum to one, so a constant image
// keeps its grey value on the domain; beside it the stand-in writes 0 (docs/standins.md).
// On a diagonal every row of a block asks for a different column.
TEST(RecursiveRows, ConstantImageOnADiagonalKeepsItsValue) {
  SettingsRestored restored;
  const Hlong w = 130, h = 70;
  std::vector<std::uint8_t> flat(static_cast<std::size_t>(w * h), 201);
  const HObject image = wrapGray(flat, w, h);
  HTuple rows, columns;
  for (Hlong y = 0; y < h; ++y) rows.Append(y), columns.Append(y + 40);
  HObject diagonal, reduced, smooth;
  GenRegionPoints(&diagonal, rows, columns);
  ReduceDomain(image, diagonal, &reduced);
  std::vector<std::uint8_t> expected(flat.size(), 0);
  for (Hlong y = 0; y < h; ++y) expected[static_cast<std::size_t>(y * w + y + 40)] = 201;
  for (const char* simd : {"false", "true"}) {
    SetSystem("standin_simd", simd);
    SmoothImage(reduced, &smooth, "deriche2", 1.5);
    EXPECT_EQ(bytesOf(smooth), expected) << "simd " << simd;
  }
}

}  // namespace
