// Stand-in regions and contours.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// A 10 x 8 image: a bright 3 x 2 block, a bright diagonal pair touching only at a corner, and
// a separate bright pixel.
HObject syntheticImage(std::vector<std::uint8_t>& pixels) {
  pixels.assign(10 * 8, 10);
  auto set = [&](int row, int col) { pixels[static_cast<std::size_t>(row * 10 + col)] = 200; };
  for (int r = 1; r <= 2; ++r) {
    for (int c = 5; c <= 7; ++c) set(r, c);
  }
  set(4, 1);
  set(5, 2);  // 8-connected to (4, 1) only through the corner
  set(6, 9);
  return wrapGray(pixels, 10, 8);
}

TEST(Regions, ThresholdConnectionAndAreaCenterOnASyntheticImage) {
  std::vector<std::uint8_t> pixels;
  HObject image = syntheticImage(pixels), bright, parts;
  Threshold(image, &bright, 128, 255);
  HTuple area, row, col, count;
  AreaCenter(bright, &area, &row, &col);
  EXPECT_EQ(area, HTuple(9));
  EXPECT_EQ(area[0].Type(), eElementTypeLong);
  EXPECT_EQ(row[0].Type(), eElementTypeDouble);

  Connection(bright, &parts);
  CountObj(parts, &count);
  ASSERT_EQ(count, HTuple(3));
  AreaCenter(parts, &area, &row, &col);
  // Ordered by first run: the block (row 1), the diagonal pair (row 4), the pixel (row 6).
  EXPECT_EQ(area, tuple({6, 2, 1}));
  EXPECT_DOUBLE_EQ(row[0].D(), 1.5);
  EXPECT_DOUBLE_EQ(col[0].D(), 6.0);
  EXPECT_DOUBLE_EQ(row[1].D(), 4.5);
  EXPECT_DOUBLE_EQ(col[1].D(), 1.5);
  EXPECT_DOUBLE_EQ(row[2].D(), 6.0);
  EXPECT_DOUBLE_EQ(col[2].D(), 9.0);
}

TEST(Regions, ComponentsOrderByTheirTopLeftRunEvenWhenTheyInterleave) {
  // Three bars: the right one starts on a higher row and must come first; of the two that
  // start on the same row, the left one comes before the other.
  HObject rectangles, united, parts;
  GenRectangle1(&rectangles, tuple({2, 0, 2}), tuple({0, 10, 4}), tuple({5, 5, 5}),
                tuple({1, 11, 5}));
  // Union of the three as one region, through a threshold of their painting.
  HObject canvas, painted;
  GenImageConst(&canvas, "byte", 12, 6);
  PaintRegion(rectangles, canvas, &painted, 1, "fill");
  Threshold(painted, &united, 1, 1);
  Connection(united, &parts);
  HTuple area, row, col;
  AreaCenter(parts, &area, &row, &col);
  EXPECT_EQ(area, tuple({12, 8, 8}));
  EXPECT_DOUBLE_EQ(col[0].D(), 10.5);
  EXPECT_DOUBLE_EQ(col[1].D(), 0.5);
  EXPECT_DOUBLE_EQ(col[2].D(), 4.5);
}

TEST(Regions, AConcaveShapeJoinedBelowIsOneComponent) {
  // Two columns that meet only in the bottom row: the union-find must merge them.
  HObject canvas, painted, shape, parts, bars;
  GenImageConst(&canvas, "byte", 5, 4);
  GenRectangle1(&bars, tuple({0, 0, 3}), tuple({0, 4, 0}), tuple({3, 3, 3}), tuple({0, 4, 4}));
  PaintRegion(bars, canvas, &painted, 1, "fill");
  Threshold(painted, &shape, 1, 255);
  Connection(shape, &parts);
  HTuple count;
  CountObj(parts, &count);
  EXPECT_EQ(count, HTuple(1));
}

TEST(Regions, RectanglesAndCirclesHaveTheirExpectedAreas) {
  HObject rectangles, circle;
  GenRectangle1(&rectangles, tuple({0, 10}), tuple({0, 10}), tuple({2, 10}), tuple({3, 10}));
  HTuple area, row, col;
  AreaCenter(rectangles, &area, &row, &col);
  EXPECT_EQ(area, tuple({12, 1}));
  EXPECT_DOUBLE_EQ(row[0].D(), 1.0);
  EXPECT_DOUBLE_EQ(col[0].D(), 1.5);

  GenCircle(&circle, 50.0, 60.0, 20.0);
  AreaCenter(circle, &area, &row, &col);
  EXPECT_NEAR(static_cast<double>(area[0].L()), 3.14159265 * 400, 20);
  EXPECT_DOUBLE_EQ(row[0].D(), 50.0);
  EXPECT_DOUBLE_EQ(col[0].D(), 60.0);
}

TEST(Regions, InvalidGeometryRaisesVendorNumbers) {
  HObject region;
  EXPECT_EQ(errorOf([&] { GenRectangle1(&region, 5, 0, 4, 1); }), 1303);
  EXPECT_EQ(errorOf([&] { GenRectangle1(&region, 0, 5, 4, 1); }), 1304);
  EXPECT_EQ(errorOf([&] { GenRectangle1(&region, tuple({0, 1}), 0, 4, 4); }), 1402);
  EXPECT_EQ(errorOf([&] { GenRectangle1(&region, 0, "a", 4, 4); }), 1202);
  EXPECT_EQ(errorOf([&] { GenRectangle1(&region, 0, 0, 1e9, 4); }), 1303);
  EXPECT_EQ(errorOf([&] { GenCircle(&region, 0, 0, 0); }), 1303);
  EXPECT_EQ(errorOf([&] { GenCircle(&region, 0, 0, std::nan("")); }), 1303);
  HObject image;
  GenImageConst(&image, "byte", 2, 2);
  EXPECT_EQ(errorOf([&] { Threshold(image, &region, "low", 3); }), 1201);
  EXPECT_EQ(errorOf([&] { Connection(image, &region); }), 1101);
  EXPECT_EQ(errorOf([&] { Connection(HObject(), &region); }), 1501);
}

TEST(Regions, ImagesMeasureTheirDomainAndEmptyRegionsMeasureZero) {
  HObject image, empty, parts;
  GenImageConst(&image, "byte", 4, 3);
  HTuple area, row, col;
  AreaCenter(image, &area, &row, &col);
  EXPECT_EQ(area, HTuple(12));
  EXPECT_DOUBLE_EQ(row[0].D(), 1.0);
  EXPECT_DOUBLE_EQ(col[0].D(), 1.5);

  Threshold(image, &empty, 1, 255);  // all pixels are 0
  AreaCenter(empty, &area, &row, &col);
  EXPECT_EQ(area, HTuple(0));
  EXPECT_DOUBLE_EQ(row[0].D(), 0.0);
  Connection(empty, &parts);
  HTuple count;
  CountObj(parts, &count);
  EXPECT_EQ(count, HTuple(0));
}

TEST(Contours, PolygonsKeepTheirPointsAndClass) {
  HObject contour;
  GenContourPolygonXld(&contour, HTuple(1.5).Append(HTuple(3)), tuple({2, 4}));
  HTuple cls;
  GetObjClass(contour, &cls);
  EXPECT_EQ(cls, HTuple("xld_cont"));
  EXPECT_EQ(errorOf([&] { GenContourPolygonXld(&contour, tuple({1, 2}), 3); }), 1402);
  EXPECT_EQ(errorOf([&] { GenContourPolygonXld(&contour, "r", "c"); }), 1201);
  EXPECT_EQ(errorOf([&] { AreaCenter(contour, nullptr, nullptr, nullptr); }), 1101);
}

}  // namespace
