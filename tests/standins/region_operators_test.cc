// Region operators checked against values worked out by hand from the vendor's definitions:
// set operations, holes, fitted shapes, features, selection, order and morphology, through
// the C++ interface and, for a sample of them, through program lines.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HObject points(const HTuple& rows, const HTuple& cols) {
  HObject region;
  GenRegionPoints(&region, rows, cols);
  return region;
}

// A 10 x 30 rectangle, a ring with a 4 x 4 hole and an L whose hull is known.
HObject bar() {
  return rectangle(10, 20, 19, 49);
}
HObject ring() {
  HObject ring;
  Difference(rectangle(0, 0, 9, 9), rectangle(3, 3, 6, 6), &ring);
  return ring;
}
HObject ell() {
  return joined(rectangle(0, 0, 9, 1), rectangle(8, 0, 9, 9));
}

// Each row: a shape, and its features by name with their values.
TEST(Regions, FeaturesMatchTheDefinitions) {
  const double corner = std::hypot(14.5, 4.5);  // the bar's centre to a corner pixel's centre
  // clang-format off
  const std::pair<HObject, std::vector<std::pair<const char*, double>>> rows[] = {
      {bar(),
       {{"area", 300}, {"row", 14.5}, {"column", 34.5}, {"width", 30}, {"height", 10},
        {"ratio", 10.0 / 30}, {"row1", 10}, {"column2", 49},
        // the contour runs through the border pixels' centres: 2 * 29 + 2 * 9
        {"contlength", 76}, {"compactness", 76.0 * 76 / (4 * 300 * kPi)},
        {"circularity", 300 / (corner * corner * kPi)}, {"convexity", 1}, {"rectangularity", 1},
        // second moments of n pixels in a line: (n^2 - 1) / 12
        {"ra", 2 * std::sqrt(899.0 / 12)}, {"rb", 2 * std::sqrt(99.0 / 12)},
        {"anisometry", std::sqrt(899.0 / 99)}, {"phi", 0},
        {"rect2_len1", 14.5}, {"rect2_len2", 4.5}, {"rect2_phi", 0}, {"outer_radius", corner},
        {"max_diameter", 2 * corner}, {"holes_num", 0}}},
      {ring(),
       {{"area", 84}, {"holes_num", 1}, {"area_holes", 16}, {"connect_num", 1},
        {"euler_number", 0}, {"contlength", 36}}},
      // hull rows 0..8 reach column y + 1, row 9 all ten columns: 64 pixels against 36
      {ell(), {{"convexity", 36.0 / 64}}},
      {points(3, 4), {{"contlength", 0}, {"compactness", 1}, {"outer_radius", 0}, {"ra", 0}}},
      {rectangle(0, 0, 9, 0), {{"phi", kPi / 2}, {"rb", 0}}},
      {points(HTuple(), HTuple()), {{"circularity", 0}, {"area", 0}}}};
  // clang-format on
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    for (const auto& [name, expected] : rows[i].second) {
      EXPECT_NEAR(feature(rows[i].first, name), expected, 1e-4) << "shape " << i << " " << name;
    }
  }
}

TEST(RegionSets, CombineEachRegionWithTheUnionOfTheOthers) {
  const HObject a = rectangle(0, 0, 9, 9), b = rectangle(5, 5, 14, 14);
  HObject out, none;
  GenEmptyObj(&none);
  expectAreas({{[&](HObject* o) { Intersection(a, b, o); }, {25}},
               {[&](HObject* o) { Intersection(a, b.ConcatObj(rectangle(0, 0, 1, 1)), o); }, {29}},
               {[&](HObject* o) { Union2(a, b, o); }, {175}},
               {[&](HObject* o) { Difference(a, b, o); }, {75}},
               {[&](HObject* o) { Complement(a, o); }, {512 * 512 - 100}},
               {[&](HObject* o) { Union1(a.ConcatObj(b), o); }, {175}},
               // Nothing to meet, nothing to take away, one empty region, no region.
               {[&](HObject* o) { Intersection(a, none, o); }, {0}},
               {[&](HObject* o) { Difference(a, none, o); }, {100}},
               {[&](HObject* o) { Union1(none, o); }, {0}},
               {[&](HObject* o) { Intersection(none, a, o); }, {}}});

  // A contour is no region; an image is one, its domain (region_inputs_test.cc).
  HObject contour;
  GenContourPolygonXld(&contour, HTuple(0).Append(5), HTuple(0).Append(5));
  EXPECT_EQ(errorOf([&] { Intersection(contour, a, &out); }), 1101);
  EXPECT_EQ(errorOf([&] { Difference(a, contour, &out); }), 1102);
  EXPECT_EQ(errorOf([&] { Union1(HObject(), &out); }), 1501);
}

TEST(RegionShapes, HolesAndFittedShapes) {
  HObject out, square, circle;
  // A pixel's 8 neighbours enclose it; four pixels meeting at corners do not.
  Difference(rectangle(0, 0, 2, 2), points(1, 1), &square);
  GenCircle(&circle, 50, 50, 10.5);
  expectAreas({{[&](HObject* o) { FillUp(ring(), o); }, {100}},
               // the 16-pixel hole is out of range
               {[&](HObject* o) { FillUpShape(ring(), o, "area", 1, 10); }, {84}},
               {[&](HObject* o) { FillUpShape(ring(), o, "area", 1, 20); }, {100}},
               {[&](HObject* o) { FillUp(square, o); }, {9}},
               // the 4-connected gap is a hole
               {[&](HObject* o) {
                  FillUp(points(tuple({0, 1, 1, 2}), tuple({1, 0, 2, 1})), o);
                },
                {5}},
               {[&](HObject* o) { *o = circle; }, {349}},
               {[&](HObject* o) { ShapeTrans(circle, o, "rectangle1"); }, {21 * 21}},
               {[&](HObject* o) { ShapeTrans(circle, o, "convex"); }, {349}},
               {[&](HObject* o) { ShapeTrans(circle, o, "outer_circle"); }, {349}},
               {[&](HObject* o) { ShapeTrans(ell(), o, "convex"); }, {64}},
               {[&](HObject* o) { ShapeTrans(bar(), o, "rectangle2"); }, {300}}});
  EXPECT_EQ(errorOf([&] { FillUpShape(ring(), &out, "width", 1, 20); }), 1301);
  HTuple row, col, radius;
  EXPECT_EQ(errorOf([&] { ShapeTrans(bar(), &out, "triangle"); }), 1301);

  SmallestCircle(circle, &row, &col, &radius);
  EXPECT_NEAR(row[0].D(), 50, 1e-9);
  EXPECT_NEAR(radius[0].D(), std::sqrt(109.0), 1e-9) << "the pixels at (3, 10)";
}

TEST(RegionShapes, GeneratedShapesCoverThePixelCentresInside) {
  HObject region;
  HTuple r1, c1, r2, c2;
  GenRectangle2(&region, 50, 60, 0, 10, 5);
  SmallestRectangle1(region, &r1, &c1, &r2, &c2);
  EXPECT_EQ(text(r1.Clone().Append(c1).Append(r2).Append(c2)), "[45, 50, 55, 70]");
  GenRectangle2(&region, 50, 60, kPi / 2, 10, 5);
  SmallestRectangle1(region, &r1, &c1, &r2, &c2);
  EXPECT_EQ(text(r1.Clone().Append(c1).Append(r2).Append(c2)), "[40, 55, 60, 65]");

  HTuple row, col, phi, length1, length2;
  GenRectangle2(&region, 100, 100, 0.3, 20, 8);
  SmallestRectangle2(region, &row, &col, &phi, &length1, &length2);
  EXPECT_NEAR(phi[0].D(), 0.3, 0.05);
  EXPECT_NEAR(length1[0].D(), 20, 0.8);
  EXPECT_NEAR(length2[0].D(), 8, 0.8);

  HTuple ra, rb;
  GenEllipse(&region, 100, 100, -0.5, 20, 10);
  EllipticAxis(region, &ra, &rb, &phi);
  EXPECT_NEAR(ra[0].D(), 20, 0.3);
  EXPECT_NEAR(rb[0].D(), 10, 0.3);
  EXPECT_NEAR(phi[0].D(), -0.5, 0.02);

  GenRegionLine(&region, 0, 0, 3, 6);
  EXPECT_EQ(areas(region), (std::vector<Hlong>{7})) << "one pixel per column of a flat line";
  GenEmptyRegion(&region);
  EXPECT_EQ(areas(region), (std::vector<Hlong>{0}));
  EXPECT_EQ(errorOf([&] { GenRectangle2(&region, 0, 0, 0, -1, 1); }), 1304);
  EXPECT_EQ(errorOf([&] { GenEllipse(&region, 0, 0, 0, 5, 0); }), 1305);
  EXPECT_EQ(errorOf([&] { GenRegionPoints(&region, tuple({1, 2}), 3); }), 1402);

  HObject image;
  RegionToBin(rectangle(1, 1, 2, 2), &image, 255, 10, 4, 3);
  HTuple values;
  GetGrayval(image, tuple({0, 1, 2}), tuple({0, 1, 3}), &values);
  EXPECT_EQ(values, tuple({10, 255, 10}));
}

HObject squares() {
  HObject regions;  // areas 4, 9, 16, 25 from left to right
  GenRectangle1(&regions, tuple({0, 5, 0, 3}), tuple({0, 10, 20, 30}), tuple({1, 7, 3, 7}),
                tuple({1, 12, 23, 34}));
  return regions;
}

TEST(RegionSelection, ByFeaturesByStandardShapesAndInOrder) {
  const HObject four = squares();
  const HTuple areaAndWidth = HTuple("area").Append("width");
  expectAreas(
      {{[&](HObject* o) { SelectShape(four, o, "area", "and", 5, 20); }, {9, 16}},
       {[&](HObject* o) {
          SelectShape(four, o, areaAndWidth, "or", tuple({0, 4}), tuple({5, 100}));
        },
        {4, 16, 25}},
       {[&](HObject* o) {
          SelectShape(four, o, areaAndWidth, "and", tuple({0, 4}), tuple({20, 100}));
        },
        {16}},
       {[&](HObject* o) { SelectShape(four, o, "area", "and", "min", 9); }, {4, 9}},
       {[&](HObject* o) { SelectShape(four, o, "area", "and", 10, "max"); }, {16, 25}},
       {[&](HObject* o) { SelectShapeStd(four, o, "max_area", 70); }, {25}},
       // 84 of 100 and 101 of 441 pixels
       {[&](HObject* o) {
          const HObject apart = joined(rectangle(0, 0, 9, 9), rectangle(20, 20, 20, 20));
          SelectShapeStd(apart.ConcatObj(ring()), o, "rectangle1", 90);
        },
        {}},
       {[&](HObject* o) { SelectShapeStd(four.ConcatObj(ring()), o, "rectangle1", 80); },
        {4, 9, 16, 25, 84}},
       {[&](HObject* o) { SortRegion(four, o, "upper_left", "true", "row"); }, {4, 16, 25, 9}},
       {[&](HObject* o) { SortRegion(four, o, "lower_right", "false", "column"); }, {25, 16, 9, 4}},
       // one line of characters
       {[&](HObject* o) { SortRegion(four, o, "character", "true", "row"); }, {4, 9, 16, 25}}});
  HObject out;
  EXPECT_EQ(errorOf([&] { SelectShape(four, &out, "weight", "and", 1, 2); }), 1301);
  EXPECT_EQ(errorOf([&] { SelectShape(four, &out, "area", "xor", 1, 2); }), 1302);
  EXPECT_EQ(errorOf([&] { SelectShape(four, &out, "area", "and", tuple({1, 2}), 3); }), 1403);
  EXPECT_EQ(errorOf([&] { SortRegion(four, &out, "middle", "true", "row"); }), 1301);
  EXPECT_EQ(errorOf([&] { SortRegion(four, &out, "first_point", "up", "row"); }), 1302);

  HTuple values;
  RegionFeatures(four, areaAndWidth, &values);
  EXPECT_EQ(text(values), "[4.0, 2.0, 9.0, 3.0, 16.0, 4.0, 25.0, 5.0]");
}

// Morphology against the discretised elements worked out by hand: a circle of radius r is the
// pixels within r of the reference pixel, a rectangle extends one pixel further right and
// down when a side is even. The shapes: a pixel, a 10 x 10 square, two 10 x 5 blocks one
// column apart, and the square with a lone pixel far off.
struct Shapes {
  HObject pixel = points(10, 10), square = rectangle(0, 0, 9, 9);
  HObject split = joined(rectangle(0, 0, 9, 4), rectangle(0, 6, 9, 10));
  HObject speckled = joined(square, pixel.ConcatObj(rectangle(30, 30, 30, 30)));
};

TEST(Morphology, CirclesAreTheDiscretisedCircle) {
  const Shapes s;
  expectAreas({{[&](HObject* o) { DilationCircle(s.pixel, o, 1.5); }, {9}},
               // 5 x 5 without corners
               {[&](HObject* o) { DilationCircle(s.pixel, o, 2.5); }, {21}},
               // rows of 7, 7, 5 and 3 pixels either side of the middle row of 7
               {[&](HObject* o) { DilationCircle(s.pixel, o, 3.5); }, {37}},
               {[&](HObject* o) { DilationCircle(s.pixel, o, 0.5); }, {1}},
               {[&](HObject* o) { DilationCircle(s.square, o, 1.5); }, {144}},
               {[&](HObject* o) { ErosionCircle(s.square, o, 1.5); }, {64}},
               {[&](HObject* o) { ErosionCircle(s.square, o, 2.5); }, {36}},
               {[&](HObject* o) { ErosionCircle(s.pixel, o, 1.5); }, {0}},
               {[&](HObject* o) { OpeningCircle(s.speckled, o, 1.5); }, {100}},
               {[&](HObject* o) { ClosingCircle(s.split, o, 1.5); }, {110}},
               {[&](HObject* o) { ClosingCircle(s.square, o, 3.5); }, {100}}});
}

TEST(Morphology, EvenRectangleSidesReachRightAndDown) {
  const Shapes s;
  HObject out;
  DilationRectangle1(s.pixel, &out, 3, 5);
  EXPECT_EQ(box(out), "[8, 9, 12, 11]");
  DilationRectangle1(s.pixel, &out, 4, 2);
  EXPECT_EQ(box(out), "[10, 9, 11, 12]");
  ErosionRectangle1(s.square, &out, 4, 2);
  EXPECT_EQ(box(out), "[0, 1, 8, 7]");
  expectAreas({{[&](HObject* o) { OpeningRectangle1(s.square, o, 4, 2); }, {100}},
               // neither block is 6 wide
               {[&](HObject* o) { OpeningRectangle1(s.split, o, 6, 1); }, {0}},
               {[&](HObject* o) { ClosingRectangle1(s.split, o, 3, 1); }, {110}},
               // a vertical element bridges nothing across
               {[&](HObject* o) { ClosingRectangle1(s.split, o, 1, 3); }, {100}}});
}

TEST(Morphology, EmptyInputsAndWrongParameters) {
  const HObject pixel = points(10, 10);
  HObject none, empty, out;
  GenEmptyObj(&none);
  GenEmptyRegion(&empty);
  expectAreas({{[&](HObject* o) { DilationCircle(none, o, 2.5); }, {}},
               {[&](HObject* o) { ErosionCircle(empty, o, 2.5); }, {0}},
               {[&](HObject* o) { ClosingRectangle1(empty, o, 3, 3); }, {0}}});
  EXPECT_EQ(errorOf([&] { DilationCircle(pixel, &out, 0.4); }), 1301);
  EXPECT_EQ(errorOf([&] { DilationCircle(pixel, &out, 512); }), 1301);
  EXPECT_EQ(errorOf([&] { DilationCircle(pixel, &out, "big"); }), 1201);
  EXPECT_EQ(errorOf([&] { ErosionRectangle1(pixel, &out, 0, 3); }), 1301);
  EXPECT_EQ(errorOf([&] { ErosionRectangle1(pixel, &out, 3, 600); }), 1302);
  EXPECT_EQ(errorOf([&] { OpeningRectangle1(pixel, &out, 2.5, 3); }), 1201);
  HObject contour;
  GenContourPolygonXld(&contour, HTuple(0).Append(5), HTuple(0).Append(5));
  EXPECT_EQ(errorOf([&] { ClosingCircle(contour, &out, 1.5); }), 1101);
}

TEST(RegionLines, ProgramsSeeTheSameOperators) {
  EXPECT_EQ(text(runLines({"gen_rectangle1 (Box, 0, 0, 9, 9)", "dilation_circle (Box, D, 1.5)",
                           "fill_up_shape (D, F, 'area', 1, 5)", "shape_trans (F, T, 'convex')",
                           "area_center (T, A, Row, Col)", "R := [A, Row, Col]"})),
            "[144, 4.5, 4.5]");
  EXPECT_EQ(
      text(runLines({"gen_region_points (P, [0, 1], [0, 1])", "connection (P, C8)",
                     "count_obj (C8, N8)", "set_system ('neighborhood', 4)", "connection (P, C4)",
                     "count_obj (C4, N4)", "set_system ('neighborhood', 8)", "R := [N8, N4]"})),
      "[1, 2]");
  EXPECT_EQ(programError({"gen_empty_obj (E)", "select_shape (E, S, 'area', 'and', 1, [2, 3])"}),
            1404);
  EXPECT_EQ(text(runLines({"gen_circle (C, 20, 20, 5.5)", "erosion_circle (C, E, 1.5)",
                           "dilation_circle (E, D, 1.5)", "opening_circle (C, O, 1.5)",
                           "concat_obj (E, D, ED)", "concat_obj (ED, O, All)",
                           "area_center (All, A, Row, Col)", "R := A"})),
            "[57, 97, 97]");
  EXPECT_EQ(programError({"gen_circle (C, 20, 20, 5.5)", "closing_rectangle1 (C, D, 3)"}), 21012);
}

}  // namespace
