// edges_sub_pix's contours, worked by hand: each pixel's own point on its own edge (a bar whose
// two edges put two points in every row), closed rings side by side, each point on one contour
// at most, and no edge on a flat image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// edges_sub_pix, HALCON 11.0 reference: an edge lies where the gradient amplitude peaks across
// it. Columns 6 ... 17 at 200 on 0, every row alike: the amplitude is symmetric about 5.5 and
// 17.5 (the filter's reach, 7 for Alpha 1, keeps the edges apart), so each contour runs down one
// of those columns through all ten rows.
TEST(ContourLinks, EachRowsPointsStayOnTheirOwnEdge) {
  const Size size{24, 10};
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size.width * size.height), 0);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 6; x <= 17; ++x) pixels[static_cast<std::size_t>(y * size.width + x)] = 200;
  }
  const HObject image = wrapGray(pixels, size.width, size.height);
  HObject edges;
  EdgesSubPix(image, &edges, "canny", 1, 20, 40);
  HTuple count;
  CountObj(edges, &count);
  ASSERT_EQ(count[0].L(), 2);
  std::vector<double> columns;
  for (Hlong i = 1; i <= 2; ++i) {
    HObject one;
    HTuple rows, cols;
    SelectObj(edges, &one, i);
    GetContourXld(one, &rows, &cols);
    ASSERT_EQ(rows.Length(), size.height) << i;
    for (Hlong k = 1; k < cols.Length(); ++k) EXPECT_NEAR(cols[k].D(), cols[0].D(), 1e-9) << i;
    columns.push_back(cols[0].D());
  }
  EXPECT_NEAR(std::min(columns[0], columns[1]), 5.5, 1e-9);
  EXPECT_NEAR(std::max(columns[0], columns[1]), 17.5, 1e-9);
}

// edges_sub_pix, HALCON 11.0 reference: edge points are the maxima of the gradient amplitude
// across the edge, linked into contours, a closed edge into a closed contour. Three discs of 200
// on 50 side by side share their rows, so that every row holds several points. A disc of the
// pixels within R of its centre has its step between distance R and R + 1 along any ray, so its
// edge lies within (R, R + 1) up to the filter's half-pixel of spread: R - 0.5 ... R + 1.5.
// Consecutive points come from distinct 8-neighbouring pixels, each point within half a pixel of
// its own along the gradient: apart, by at most sqrt 2 + 1.
TEST(ContourLinks, DiscsSideBySideCloseOnTheirOwnRing) {
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
TEST(ContourLinks, NoisyEdgesUseEachPointOnce) {
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

// A flat image has no gradient, so no maximum of its amplitude and no edge, even with Low 0
// (edges_sub_pix, HALCON 11.0: edge points are maxima of the amplitude along the gradient).
TEST(ContourLinks, FlatImageHasNoEdges) {
  SettingsRestored restored;
  std::vector<std::uint8_t> plane(37 * 9, 90);
  const HObject gray = wrapGray(plane, 37, 9);
  for (const char* simd : {"false", "true"}) {
    SetSystem("standin_simd", simd);
    HObject edges;
    EdgesSubPix(gray, &edges, "canny", 1, 0, 0);
    EXPECT_EQ(edges.CountObj(), 0) << simd;
  }
}

}  // namespace
