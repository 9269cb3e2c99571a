// Region operators whose results the vendor's reference pins down exactly: the largest inner
// circle and rectangle, discrete circles of every radius in morphology, the equal-area
// ellipse and the orientation's direction. Each expected value is worked by hand (or by a
// brute-force search over pixel sets) from the reference page named beside it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/bounded_child.h"
#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HObject disc(double row, double col, double radius) {
  HObject region;
  GenCircle(&region, row, col, radius);
  return region;
}

HObject line(Hlong row1, Hlong col1, Hlong row2, Hlong col2) {
  HObject region;
  GenRegionLine(&region, row1, col1, row2, col2);
  return region;
}

// A 10 x 30 bar, and a T: a 2 x 10 top over a 10 x 3 stem.
HObject bar() {
  return rectangle(10, 20, 19, 49);
}
HObject tee() {
  return joined(rectangle(0, 0, 1, 9), rectangle(2, 4, 11, 6));
}
HObject ell() {
  return joined(rectangle(0, 0, 9, 1), rectangle(8, 0, 9, 9));
}

// inner_circle (HALCON 11.0): "the biggest discrete circle region that completely fits into
// the region", "as far upper left as possible"; the discrete circles are gen_circle's (11.0):
// radius a multiple of 0.5, an even diameter about a centre with fraction .5, an odd one
// about a pixel.
TEST(InnerCircle, TheLargestDiscreteCircleAtTheFirstPlace) {
  struct Row {
    const char* name;
    HObject region;
    double row, col, radius;
  };
  const Row rows[] = {
      // 10 rows hold the even diameter 10 about the corner between rows 14 and 15; the
      // left-most such corner is 4.5 columns right of column 20
      {"10 x 30 bar", bar(), 14.5, 24.5, 5},
      // the pixels within 10 of (20, 20): diameter 19 about the centre fits; 20 misses
      // (10, 19) from every corner around it, 21 misses (17, 30)
      {"disc of radius 10", disc(20, 20, 10), 20, 20, 9.5},
      // an odd side holds the odd diameter 11 about the middle pixel
      {"11 x 11 square", rectangle(0, 0, 10, 10), 5, 5, 5.5},
      // the stem is 3 wide: diameter 3 fits first about (1, 5), where the top meets the
      // stem; diameter 4 would need 4 columns on two middle rows
      {"T", tee(), 1, 5, 1.5},
      // one pixel is gen_circle's circle of radius 0.5
      {"one pixel", rectangle(3, 4, 3, 4), 3, 4, 0.5}};
  for (const Row& r : rows) {
    HTuple row, col, radius;
    InnerCircle(r.region, &row, &col, &radius);
    EXPECT_DOUBLE_EQ(row[0].D(), r.row) << r.name;
    EXPECT_DOUBLE_EQ(col[0].D(), r.col) << r.name;
    EXPECT_DOUBLE_EQ(radius[0].D(), r.radius) << r.name;
    EXPECT_DOUBLE_EQ(feature(r.region, "inner_radius"), r.radius) << r.name;
  }
}

// shape_trans (HALCON 11.0) 'inner_circle' is that circle as a region: for the bar the
// diameter-10 circle about (14.5, 24.5), rows of 4, 8, 8, 10, 10, 10, 10, 8, 8, 4 pixels.
TEST(InnerCircle, ShapeTransGivesTheCircleItself) {
  HObject out;
  ShapeTrans(bar(), &out, "inner_circle");
  EXPECT_EQ(areas(out), (std::vector<Hlong>{80}));
  EXPECT_EQ(box(out), "[10, 20, 19, 29]");
}

// A diagonal line of 30,001 pixels: its bounding box has 9 * 10^8 pixels, its runs 30,001.
// The answer (inner_circle, HALCON 11.0) is the one-pixel circle at its first pixel; the
// search must cost what the runs cost, not the box.
TEST(InnerCircle, ThinRegionsCostTheirRuns) {
  const auto start = std::chrono::steady_clock::now();
  const std::int64_t twiceRadius = runBounded(std::uint64_t{256} << 20, [] {
    HTuple row, col, radius;
    InnerCircle(line(0, 0, 30000, 30000), &row, &col, &radius);
    return row[0].D() == 0 && col[0].D() == 0 ? static_cast<std::int64_t>(2 * radius[0].D())
                                              : std::int64_t{-2};
  });
  EXPECT_EQ(twiceRadius, 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// The largest axis-parallel rectangle inside the region (region_features 'inner_width',
// 'inner_height' and shape_trans 'inner_rectangle1', HALCON 11.0); of equal areas the
// top-most, then left-most.
TEST(InnerRectangle, LargestAxisParallelRectangle) {
  struct Row {
    const char* name;
    HObject region;
    double width, height;
    const char* rectangle;
  };
  const Row rows[] = {{"bar", bar(), 30, 10, "[10, 20, 19, 49]"},
                      // the stem with the top above it, 3 x 12 = 36, beats the top, 10 x 2 = 20
                      {"T", tee(), 3, 12, "[0, 4, 11, 6]"},
                      // the upright 2 x 10 and the lying 10 x 2 tie: the upright one starts higher
                      {"L", ell(), 2, 10, "[0, 0, 9, 1]"}};
  for (const Row& r : rows) {
    EXPECT_EQ(feature(r.region, "inner_width"), r.width) << r.name;
    EXPECT_EQ(feature(r.region, "inner_height"), r.height) << r.name;
    HObject out;
    ShapeTrans(r.region, &out, "inner_rectangle1");
    EXPECT_EQ(box(out), r.rectangle) << r.name;
    EXPECT_EQ(areas(out), (std::vector<Hlong>{static_cast<Hlong>(r.width * r.height)})) << r.name;
  }
  HObject picked;
  SelectShape(bar().ConcatObj(tee()).ConcatObj(ell()), &picked, "inner_width", "and", 2, 3);
  EXPECT_EQ(areas(picked), (std::vector<Hlong>{50, 36}));
}

// Morphology with gen_circle's circle (gen_circle, dilation_circle, erosion_circle,
// opening_circle, closing_circle, HALCON 11.0): the radius goes down to a multiple of 0.5;
// an integer radius has an even diameter whose centre, half a pixel up and left of the
// reference pixel, "is rounded to the next integer", so the region moves.
TEST(Morphology, EveryRadiusUsesTheVendorsCircle) {
  const HObject pixel = rectangle(10, 10, 10, 10), square = rectangle(0, 0, 9, 9);
  struct Row {
    const char* name;
    std::function<void(HObject*)> make;
    const char* box;
    Hlong area;
  };
  const Row rows[] = {
      // radius 1 about (-0.5, -0.5): the 2 x 2 pixels up and left of the reference pixel
      {"dilate pixel 1", [&](HObject* o) { DilationCircle(pixel, o, 1); }, "[9, 9, 10, 10]", 4},
      // 1.2 goes down to 1
      {"dilate pixel 1.2", [&](HObject* o) { DilationCircle(pixel, o, 1.2); }, "[9, 9, 10, 10]", 4},
      // radius 2: 4 x 4 without its corners, (1.5, 1.5) being 2.12 away
      {"dilate pixel 2", [&](HObject* o) { DilationCircle(pixel, o, 2); }, "[8, 8, 11, 11]", 12},
      // 1.8 goes down to 1.5: 3 x 3 about the pixel
      {"dilate pixel 1.8", [&](HObject* o) { DilationCircle(pixel, o, 1.8); }, "[9, 9, 11, 11]", 9},
      // the 2 x 2 element fits where its lower right pixel has a pixel up and left of it
      {"erode square 1", [&](HObject* o) { ErosionCircle(square, o, 1); }, "[1, 1, 9, 9]", 81},
      // radius 3: 6 x 6 without corners, reaching 3 up and left, 2 down and right
      {"erode square 3", [&](HObject* o) { ErosionCircle(square, o, 3); }, "[3, 3, 7, 7]", 25},
      // erosion moves down and right, dilation back up and left
      {"open square 1", [&](HObject* o) { OpeningCircle(square, o, 1); }, "[0, 0, 9, 9]", 100},
      {"close square 1", [&](HObject* o) { ClosingCircle(square, o, 1); }, "[0, 0, 9, 9]", 100}};
  for (const Row& r : rows) {
    HObject out;
    r.make(&out);
    EXPECT_EQ(box(out), r.box) << r.name;
    EXPECT_EQ(areas(out), (std::vector<Hlong>{r.area})) << r.name;
  }
}

// shape_trans 'ellipse' (HALCON 11.0): "an ellipse with the same moments and area as the
// input region". The bar's moments give Ra = 2 sqrt(899 / 12) and Rb = 2 sqrt(99 / 12),
// whose ellipse covers 320 pixel centres; scaled, it covers 284, 288, ..., 296, 300, 304:
// 300 is reached exactly, about the bar's centre (14.5, 34.5).
TEST(RegionShapes, EllipseHasTheRegionsArea) {
  HObject out;
  ShapeTrans(bar(), &out, "ellipse");
  HTuple area, row, col;
  AreaCenter(out, &area, &row, &col);
  EXPECT_EQ(area[0].L(), 300);
  EXPECT_DOUBLE_EQ(row[0].D(), 14.5);
  EXPECT_DOUBLE_EQ(col[0].D(), 34.5);
}

// orientation_region (HALCON 11.0): elliptic_axis's angle, plus pi when the contour point
// farthest from the centre lies behind the centre along it; the range is [-pi, pi).
TEST(Orientation, PointsToTheFarthestContourPoint) {
  struct Row {
    const char* name;
    HObject region;
    double phi;
  };
  const Row rows[] = {
      {"line, heavy left end", joined(rectangle(10, 0, 10, 20), rectangle(9, 0, 11, 2)), 0},
      // 0 + pi is outside the range: -pi
      {"line, heavy right end", joined(rectangle(10, 0, 10, 20), rectangle(9, 18, 11, 20)), -kPi},
      {"upright line, heavy foot", joined(rectangle(0, 10, 20, 10), rectangle(18, 9, 20, 11)),
       kPi / 2},
      {"upright line, heavy head", joined(rectangle(0, 10, 20, 10), rectangle(0, 9, 2, 11)),
       -kPi / 2},
      // the axis rises to the right at pi / 4; the far end is down and left: pi / 4 + pi
      {"diagonal, heavy upper end", joined(line(0, 10, 10, 0), rectangle(0, 8, 2, 10)),
       -3 * kPi / 4},
      {"diagonal, heavy lower end", joined(line(0, 10, 10, 0), rectangle(8, 0, 10, 2)), kPi / 4},
      // the ends tie; the contour's first point, the top-left end, is behind the centre
      // along -pi / 4: -pi / 4 + pi
      {"diagonal falling to the right", line(0, 0, 10, 10), 3 * kPi / 4},
      // four corners tie; the first, top-left, is behind the centre
      {"bar", bar(), -kPi}};
  for (const Row& r : rows) {
    HTuple phi;
    OrientationRegion(r.region, &phi);
    EXPECT_NEAR(phi[0].D(), r.phi, 1e-9) << r.name;
    EXPECT_NEAR(feature(r.region, "orientation"), r.phi, 1e-9) << r.name;
  }
}

// The same rules reach program lines: inner_circle (HALCON 11.0) of the bar, and
// dilation_circle (HALCON 11.0) by the integer radius 1, which adds the row above and the
// column left of the bar: 11 x 31 pixels.
TEST(RegionLines, InnerCircleAndIntegerRadiiInPrograms) {
  EXPECT_EQ(text(runLines({"gen_rectangle1 (Bar, 10, 20, 19, 49)",
                           "inner_circle (Bar, Row, Col, Radius)", "dilation_circle (Bar, D, 1)",
                           "area_center (D, A, R, C)", "R := [Row, Col, Radius, A]"})),
            "[14.5, 24.5, 5.0, 341]");
}

}  // namespace
