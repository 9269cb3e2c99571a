// edges_sub_pix's gradients computed in tiles of columns against the portable path, on widths
// that end a tile early, exactly or a few columns into the next; and its contour linking, which
// steps to a neighbour's point through the rows above and below, on rings side by side.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

TEST(EdgesSpeed, TilesGiveThePortableResult) {
  SettingsRestored restored;
  struct Filter {
    const char* name;
    double alpha, low, high;
  };
  // Canny 1 reads 3 columns beyond a tile of 256; 'deriche2' 1.5 reads 17, its tiles 272 wide.
  const Filter filters[] = {{"canny", 1, 8, 30}, {"canny", 1, 0, 0}, {"deriche2", 1.5, 8, 30}};
  // A tile and a column, a tile exactly, two tiles and a few columns, and a one-column image.
  const Size sizes[] = {{257, 9}, {256, 5}, {517, 7}, {1, 40}};
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject gray = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(gray, size)) {
      for (const Filter& f : filters) {
        expectSameAsPortable<std::vector<double>>(
            labelOf(f.name, f.alpha, size, domain), [&, &input = input] {
              HObject edges;
              EdgesSubPix(input, &edges, f.name, f.alpha, f.low, f.high);
              return contourValues(edges);
            });
      }
    }
  }
}

// edges_sub_pix, HALCON 11.0 reference: edge points are the maxima of the gradient amplitude
// across the edge, linked into contours, a closed edge into a closed contour. Three discs of 200
// on 50 side by side share their rows, so that every row holds several points. A disc of the
// pixels within R of its centre has its step between distance R and R + 1 along any ray, so its
// edge lies within (R, R + 1) up to the filter's half-pixel of spread: R - 0.5 ... R + 1.5.
// Consecutive points come from distinct 8-neighbouring pixels, each point within half a pixel of
// its own along the gradient: apart, by at most sqrt 2 + 1.
TEST(EdgesSpeed, DiscsSideBySideCloseOnTheirOwnRing) {
  struct Disc {
    double row, col, radius;
  };
  const Disc discs[] = {{20, 16, 9}, {19.5, 40.5, 7.5}, {21, 66, 11}};
  const Size size{84, 40};
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.width * size.height), 50);
  for (const Disc& d : discs) {
    for (Hlong y = 0; y < size.height; ++y) {
      for (Hlong x = 0; x < size.width; ++x) {
        if (std::hypot(y - d.row, x - d.col) <= d.radius) {
          pixels[static_cast<std::size_t>(y * size.width + x)] = 200;
        }
      }
    }
  }
  const HObject image = wrapGray(pixels, size.width, size.height);
  HObject edges;
  EdgesSubPix(image, &edges, "canny", 1, 20, 40);
  HTuple count;
  CountObj(edges, &count);
  ASSERT_EQ(count[0].L(), 3);
  std::vector<bool> seen(3, false);
  for (Hlong i = 1; i <= 3; ++i) {
    HObject one;
    HTuple rows, cols;
    SelectObj(edges, &one, i);
    GetContourXld(one, &rows, &cols);
    const Hlong n = rows.Length();
    ASSERT_GT(n, 8) << i;
    EXPECT_EQ(rows[0].D(), rows[n - 1].D()) << i;
    EXPECT_EQ(cols[0].D(), cols[n - 1].D()) << i;
    std::size_t which = 0;
    while (which < 2 && std::fabs(cols[0].D() - discs[which].col) > discs[which].radius + 2) {
      ++which;
    }
    seen[which] = true;
    const Disc& d = discs[which];
    for (Hlong k = 0; k < n; ++k) {
      const double distance = std::hypot(rows[k].D() - d.row, cols[k].D() - d.col);
      EXPECT_GE(distance, d.radius - 0.5) << i << " " << k;
      EXPECT_LE(distance, d.radius + 1.5) << i << " " << k;
      if (k > 0) {
        const double step =
            std::hypot(rows[k].D() - rows[k - 1].D(), cols[k].D() - cols[k - 1].D());
        EXPECT_GT(step, 0) << i << " " << k;
        EXPECT_LE(step, std::sqrt(2.0) + 1) << i << " " << k;
      }
    }
  }
  EXPECT_EQ(seen, std::vector<bool>(3, true));
}

// edges_sub_pix, HALCON 11.0 reference: each edge point lies on one contour at most, linked to
// the points of neighbouring pixels. Noise gives edges that touch and branch, so that the walks
// step past points of the rows above and below that hold several side by side.
TEST(EdgesSpeed, NoisyEdgesUseEachPointOnce) {
  const Size size{61, 43};
  std::vector<std::uint8_t> plane = randomPlane(size, 7);
  const HObject gray = wrapGray(plane, size.width, size.height);
  for (const double low : {0.0, 8.0}) {
    HObject edges;
    EdgesSubPix(gray, &edges, "canny", 1, low, 2 * low);
    HTuple count;
    CountObj(edges, &count);
    std::set<std::pair<double, double>> seen;
    for (Hlong i = 1; i <= count[0].L(); ++i) {
      HObject one;
      HTuple rows, cols;
      SelectObj(edges, &one, i);
      GetContourXld(one, &rows, &cols);
      Hlong n = rows.Length();
      if (n > 2 && rows[0].D() == rows[n - 1].D() && cols[0].D() == cols[n - 1].D()) --n;
      for (Hlong k = 0; k < n; ++k) {
        EXPECT_TRUE(seen.insert({rows[k].D(), cols[k].D()}).second) << low << " " << i << " " << k;
        if (k > 0) {
          EXPECT_LE(std::hypot(rows[k].D() - rows[k - 1].D(), cols[k].D() - cols[k - 1].D()),
                    std::sqrt(2.0) + 1)
              << low << " " << i << " " << k;
        }
      }
    }
    EXPECT_GT(seen.size(), 100u) << low;
  }
}

}  // namespace
