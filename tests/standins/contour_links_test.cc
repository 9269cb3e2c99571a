// edges_sub_pix's contours link each pixel's own point: a bar whose two edges put two points in
// every row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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

}  // namespace
