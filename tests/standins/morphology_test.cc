// Morphology of regions against the discretised elements worked out by hand: a circle of
// radius r is the pixels within r of the reference pixel, a rectangle extends one pixel
// further right and down when a side is even.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HObject rectangle(Hlong row1, Hlong col1, Hlong row2, Hlong col2) {
  HObject region;
  GenRectangle1(&region, row1, col1, row2, col2);
  return region;
}

HObject pixel() {
  HObject region;
  GenRegionPoints(&region, 10, 10);
  return region;
}

Hlong area(const HObject& region) {
  HTuple value;
  AreaCenter(region, &value, nullptr, nullptr);
  return value[0].L();
}

std::string box(const HObject& region) {
  HTuple r1, c1, r2, c2;
  SmallestRectangle1(region, &r1, &c1, &r2, &c2);
  return text(r1.Clone().Append(c1).Append(r2).Append(c2));
}

struct CircleCase {
  const char* what;
  HObject (*make)();
  void (*op)(const HObject&, HObject*, const HTuple&);
  double radius;
  Hlong area;
};

HObject square() {
  return rectangle(0, 0, 9, 9);
}
// Two 10 x 5 blocks one column apart, and a square with a lone pixel far off.
HObject split() {
  HObject both, merged;
  ConcatObj(rectangle(0, 0, 9, 4), rectangle(0, 6, 9, 10), &both);
  Union1(both, &merged);
  return merged;
}
HObject speckled() {
  HObject both, merged;
  ConcatObj(square(), pixel().ConcatObj(rectangle(30, 30, 30, 30)), &both);
  Union1(both, &merged);
  return merged;
}

class CircleMorphology : public ::testing::TestWithParam<CircleCase> {};

TEST_P(CircleMorphology, UsesTheDiscretisedCircle) {
  const CircleCase& c = GetParam();
  HObject out;
  c.op(c.make(), &out, c.radius);
  EXPECT_EQ(area(out), c.area) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Regions, CircleMorphology,
    ::testing::Values(CircleCase{"3 x 3", pixel, DilationCircle, 1.5, 9},
                      CircleCase{"5 x 5 without corners", pixel, DilationCircle, 2.5, 21},
                      // rows of 7, 7, 5 and 3 pixels either side of the middle row of 7
                      CircleCase{"radius 3.5", pixel, DilationCircle, 3.5, 37},
                      CircleCase{"one pixel alone", pixel, DilationCircle, 0.5, 1},
                      CircleCase{"square grown", square, DilationCircle, 1.5, 144},
                      CircleCase{"square shrunk", square, ErosionCircle, 1.5, 64},
                      CircleCase{"square shrunk by 2", square, ErosionCircle, 2.5, 36},
                      CircleCase{"pixel gone", pixel, ErosionCircle, 1.5, 0},
                      CircleCase{"speck removed", speckled, OpeningCircle, 1.5, 100},
                      CircleCase{"gap bridged", split, ClosingCircle, 1.5, 110},
                      CircleCase{"square kept", square, ClosingCircle, 3.5, 100}));

TEST(RectangleMorphology, EvenSidesReachRightAndDown) {
  HObject out;
  DilationRectangle1(pixel(), &out, 3, 5);
  EXPECT_EQ(box(out), "[8, 9, 12, 11]");
  DilationRectangle1(pixel(), &out, 4, 2);
  EXPECT_EQ(box(out), "[10, 9, 11, 12]");
  ErosionRectangle1(square(), &out, 4, 2);
  EXPECT_EQ(box(out), "[0, 1, 8, 7]");
  OpeningRectangle1(square(), &out, 4, 2);
  EXPECT_EQ(area(out), 100);
  OpeningRectangle1(split(), &out, 6, 1);
  EXPECT_EQ(area(out), 0) << "neither block is 6 wide";
  ClosingRectangle1(split(), &out, 3, 1);
  EXPECT_EQ(area(out), 110);
  ClosingRectangle1(split(), &out, 1, 3);
  EXPECT_EQ(area(out), 100) << "a vertical element bridges nothing across";
}

TEST(Morphology, EmptyInputsAndWrongParameters) {
  HObject none, empty, out;
  GenEmptyObj(&none);
  DilationCircle(none, &out, 2.5);
  EXPECT_EQ(out.CountObj(), 0);
  GenEmptyRegion(&empty);
  ErosionCircle(empty, &out, 2.5);
  EXPECT_EQ(area(out), 0);
  ClosingRectangle1(empty, &out, 3, 3);
  EXPECT_EQ(area(out), 0);
  EXPECT_EQ(errorOf([&] { DilationCircle(pixel(), &out, 0.4); }), 1301);
  EXPECT_EQ(errorOf([&] { DilationCircle(pixel(), &out, 512); }), 1301);
  EXPECT_EQ(errorOf([&] { DilationCircle(pixel(), &out, "big"); }), 1201);
  EXPECT_EQ(errorOf([&] { ErosionRectangle1(pixel(), &out, 0, 3); }), 1301);
  EXPECT_EQ(errorOf([&] { ErosionRectangle1(pixel(), &out, 3, 600); }), 1302);
  EXPECT_EQ(errorOf([&] { OpeningRectangle1(pixel(), &out, 2.5, 3); }), 1201);
  HObject image;
  GenImageConst(&image, "byte", 4, 4);
  EXPECT_EQ(errorOf([&] { ClosingCircle(image, &out, 1.5); }), 1101);
}

TEST(Morphology, ProgramLinesRunThem) {
  EXPECT_EQ(text(runLines({"gen_circle (C, 20, 20, 5.5)", "erosion_circle (C, E, 1.5)",
                           "dilation_circle (E, D, 1.5)", "opening_circle (C, O, 1.5)",
                           "concat_obj (E, D, ED)", "concat_obj (ED, O, All)",
                           "area_center (All, A, Row, Col)", "R := A"})),
            "[57, 97, 97]");
  EXPECT_EQ(programError({"gen_circle (C, 20, 20, 5.5)", "closing_rectangle1 (C, D, 3)"}), 21012);
}

}  // namespace
