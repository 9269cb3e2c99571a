// trans_from_rgb, trans_to_rgb and the grey-value rectangle morphology against values worked
// out by hand (or with plain python) from the definitions on the vendor's reference pages,
// which each table names, through the C++ interface.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

using Bytes = std::array<Hlong, 3>;

HObject bytePixel(std::vector<std::uint8_t>& storage, std::uint8_t value) {
  storage.assign(1, value);
  return wrapGray(storage, 1, 1);
}

Bytes fromRgb(const char* space, const Bytes& rgb) {
  std::vector<std::uint8_t> r, g, b;
  HObject one, two, three;
  TransFromRgb(bytePixel(r, std::uint8_t(rgb[0])), bytePixel(g, std::uint8_t(rgb[1])),
               bytePixel(b, std::uint8_t(rgb[2])), &one, &two, &three, space);
  return {grayAt(one, 0, 0), grayAt(two, 0, 0), grayAt(three, 0, 0)};
}

Bytes toRgb(const char* space, const Bytes& coded) {
  std::vector<std::uint8_t> a, b, c;
  HObject red, green, blue;
  TransToRgb(bytePixel(a, std::uint8_t(coded[0])), bytePixel(b, std::uint8_t(coded[1])),
             bytePixel(c, std::uint8_t(coded[2])), &red, &green, &blue, space);
  return {grayAt(red, 0, 0), grayAt(green, 0, 0), grayAt(blue, 0, 0)};
}

// trans_from_rgb, HALCON 11.0 reference (the formulas and value ranges as the 10.0.2 page
// prints them where the 11.0 page is cut short; hexcone hue and lightness as the 7.1 page):
// a byte image maps each value's range [lo, hi] onto 0 ... 255, (v - lo) / (hi - lo) * 255,
// rounded; hue [0, 2 pi[ and saturation [0, 1] alike.
TEST(TransFromRgbReference, ByteImagesCodeEachRangeOnto0To255) {
  struct Row {
    const char* space;
    Bytes rgb, expected;
    const char* worked;
  };
  const Row rows[] = {
      {"yiq",
       {255, 0, 0},
       {76, 255, 180},
       "Y .299 -> 76.2; I .599 top; Q (.214+.522)/1.044 -> 179.8"},
      {"yiq", {255, 255, 255}, {255, 127, 128}, "I -.001 -> 127.3; Q .001 -> 127.7"},
      {"yiq", {0, 255, 0}, {150, 69, 0}, "Y .587 -> 149.7; I (-.276+.599)/1.198 -> 68.8; Q -.522"},
      {"yuv",
       {0, 0, 255},
       {29, 255, 107},
       "Y .114 -> 29.1; U .436 top; V (-.1+.615)/1.23 -> 106.8"},
      {"yuv", {255, 0, 0}, {76, 85, 255}, "U (-.147+.436)/.872 -> 84.5; V .615 top"},
      {"argyb", {0, 255, 0}, {150, 0, 191}, "A .59 -> 150.5; Rg -.5 bottom; Yb .75 -> 191.3"},
      {"argyb", {255, 128, 0}, {152, 191, 223}, "A .3+.59*.502 -> 152.0; Rg .749 -> 191.0"},
      {"ciexyz", {255, 0, 0}, {128, 67, 5}, "X .476/.951 -> 127.6; Y .262; Z .020/1.088 -> 4.7"},
      {"ciexyz", {255, 255, 255}, {255, 255, 255}, "Z 1.090 passes 1.088: clipped"},
      {"hsv", {0, 0, 0}, {0, 0, 0}, "max = min: H = S = 0"},
      {"hsv", {128, 128, 128}, {0, 0, 128}, "grey: V = max"},
      {"hsv", {255, 0, 0}, {0, 255, 255}, "red: hue 0"},
      {"hsv", {0, 255, 0}, {85, 255, 255}, "green: 120 deg = 255 / 3"},
      {"hsv", {0, 0, 255}, {170, 255, 255}, "blue: 240 deg = 2 * 255 / 3"},
      {"hsv", {255, 128, 0}, {21, 255, 255}, "(128/255) 60 deg = 30.1 deg -> 21.3"},
      {"hsv", {255, 127, 127}, {0, 128, 255}, "S = 128/255"},
      {"hsv", {40, 200, 120}, {106, 204, 200}, "(2 + (120-40)/160) 60 = 150 deg -> 106.3; S .8"},
      {"hsv", {255, 0, 255}, {213, 255, 255}, "-60 deg + 360 = 300 deg -> 212.5, halves up"},
      {"hls", {255, 127, 127}, {0, 191, 255}, "L = 382/510 -> 191; S = 128/(510-382)"},
      {"hls", {40, 200, 120}, {106, 120, 170}, "L = 240/510 -> 120; S = 160/240 -> 170"},
      {"hls", {255, 255, 255}, {0, 255, 0}, "white: L 1, S 0"},
      {"hsi", {255, 0, 0}, {0, 255, 85}, "M1 2/sqrt6 = sqrt(2/3): S top; I 1/3"},
      {"hsi", {0, 255, 0}, {85, 255, 85}, "atan2(1/sqrt2, -1/sqrt6) = 120 deg"},
      {"hsi", {255, 255, 255}, {0, 0, 255}, "grey: M1 = M2 = 0"},
      {"hsi", {255, 128, 0}, {21, 221, 128}, "atan2(.355, .613) = 30.1 deg; S .721/.816"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(fromRgb(row.space, row.rgb), row.expected) << row.space << ": " << row.worked;
  }
}

// trans_to_rgb, HALCON 11.0 reference: the inverse of each transformation, the byte codes read
// back onto their ranges; the linear spaces through the exact inverse of their matrix.
TEST(TransToRgbReference, ByteCodesGoBackToTheirColours) {
  struct Row {
    const char* space;
    Bytes coded, expected;
    const char* worked;
  };
  const Row rows[] = {
      {"hsv", {170, 255, 255}, {0, 0, 255}, "240 deg, S 1, V 1"},
      {"hsv", {0, 0, 128}, {128, 128, 128}, "S 0: grey of V"},
      {"hls", {0, 191, 255}, {255, 127, 127}, "m2 = 1, m1 = 2L - 1 = 127/255"},
      {"hsi", {85, 255, 85}, {0, 255, 0}, "M1 -.408, M2 .707, I1 1/sqrt3"},
      {"yiq", {255, 127, 128}, {255, 255, 255}, "254.8 254.9 255.8"},
      {"yiq", {76, 255, 180}, {255, 0, 0}, "254.9 -0.4 0.2"},
      {"yuv", {29, 255, 107}, {0, 0, 255}, "0.3 -0.2 254.9"},
      {"argyb", {150, 0, 191}, {0, 254, 0}, "-0.5 254.5 -0.0: the codes lost half a level"},
      {"ciexyz", {128, 67, 5}, {255, 0, 0}, "255.6 0.0 0.4"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(toRgb(row.space, row.coded), row.expected) << row.space << ": " << row.worked;
  }
}

// A one-row image of another type with the given values.
HObject typedRow(const char* type, const std::vector<double>& values) {
  HObject image;
  GenImageConst(&image, type, Hlong(values.size()), 1);
  HTuple rows, cols, grays;
  for (std::size_t i = 0; i < values.size(); ++i) {
    rows.Append(HTuple(Hlong(0)));
    cols.Append(HTuple(Hlong(i)));
    grays.Append(HTuple(values[i]));
  }
  SetGrayval(image, rows, cols, grays);
  return image;
}

// trans_from_rgb, HALCON 11.0 reference: real images keep the values, hue in radians; and the
// parameters: an unknown space is a wrong value (1301), the inputs pair up.
TEST(TransFromRgbReference, RealImagesKeepTheValuesAndInputsPairUp) {
  HObject red = typedRow("real", {0, 1, 0}), green = typedRow("real", {0, 0, 1}),
          blue = typedRow("real", {1, 0, 0});
  HObject h, s, v;
  TransFromRgb(red, green, blue, &h, &s, &v, "hsv");
  EXPECT_NEAR(realAt(h, 0, 0), 4 * kPi / 3, 1e-6) << "blue: 240 deg";
  EXPECT_NEAR(realAt(h, 0, 2), 2 * kPi / 3, 1e-6) << "green: 120 deg";
  EXPECT_NEAR(realAt(s, 0, 1), 1, 1e-6);
  EXPECT_NEAR(realAt(v, 0, 1), 1, 1e-6);
  TransFromRgb(red, green, blue, &h, &s, &v, "yiq");
  EXPECT_NEAR(realAt(s, 0, 1), 0.599, 1e-6) << "I of red, not shifted";
  EXPECT_NEAR(realAt(v, 0, 2), -0.522, 1e-6) << "Q of green";
  TransToRgb(h, s, v, &red, &green, &blue, "yiq");
  EXPECT_NEAR(realAt(red, 0, 1), 1, 1e-5);
  EXPECT_NEAR(realAt(green, 0, 1), 0, 1e-5);

  std::vector<std::uint8_t> p(4, 100), q(1, 100);
  const HObject small = wrapGray(q, 1, 1), wide = wrapGray(p, 4, 1);
  EXPECT_EQ(errorOf([&] { TransFromRgb(small, small, small, &h, &s, &v, "rgb"); }), 1301);
  EXPECT_EQ(errorOf([&] { TransFromRgb(small, small, small, &h, &s, &v, "cielab"); }), 1301);
  EXPECT_EQ(errorOf([&] { TransFromRgb(small, wide, small, &h, &s, &v, "hsv"); }), 3030);
  HObject two;
  ConcatObj(small, small, &two);
  EXPECT_EQ(errorOf([&] { TransFromRgb(small, small, two, &h, &s, &v, "hsv"); }), 1503);
  EXPECT_EQ(errorOf([&] { TransFromRgb(small, small, small, &h, &s, &v, HTuple()); }), 1401);

  // A reduced domain: only its pixels are computed, the rest stays 0.
  HObject reduced;
  ReduceDomain(wide, rectangle(0, 1, 0, 2), &reduced);
  TransFromRgb(reduced, reduced, reduced, &h, &s, &v, "hsv");
  EXPECT_EQ(grayAt(v, 0, 1), 100);
  EXPECT_EQ(grayAt(v, 0, 3), 0);
}

// gray_dilation_rect / gray_erosion_rect / gray_opening_rect / gray_closing_rect, HALCON 11.0
// reference: the greatest or least value in a MaskHeight x MaskWidth rectangle, even sides
// acting as the next odd one, the image mirrored at its border (column -1 is column 0);
// opening = dilation of the erosion, closing = erosion of the dilation.
TEST(GrayRectMorphologyReference, ExtremesInTheRectangleWithMirroredBorders) {
  std::vector<std::uint8_t> row{10, 50, 20, 90, 30, 70, 40}, column = row;
  const HObject across = wrapGray(row, 7, 1), down = wrapGray(column, 1, 7);
  using Op = void (*)(const HObject&, HObject*, const HTuple&, const HTuple&);
  struct Case {
    Op op;
    const char* name;
    Hlong height, width;
    std::vector<Hlong> expected;
    const char* worked;
  };
  const Case cases[] = {
      {GrayDilationRect, "dilation", 1, 3, {50, 50, 90, 90, 90, 70, 70}, "max of 3"},
      {GrayDilationRect, "dilation", 1, 2, {50, 50, 90, 90, 90, 70, 70}, "2 acts as 3"},
      {GrayErosionRect, "erosion", 1, 3, {10, 10, 20, 20, 30, 30, 40}, "min of 3"},
      {GrayOpeningRect, "opening", 1, 3, {10, 20, 20, 30, 30, 40, 40}, "max of 3 over the mins"},
      {GrayClosingRect, "closing", 1, 3, {50, 50, 50, 90, 70, 70, 70}, "min of 3 over the maxs"},
      {GrayDilationRect, "dilation", 1, 1, {10, 50, 20, 90, 30, 70, 40}, "1 x 1: the image"},
      {GrayDilationRect,
       "dilation",
       1,
       5,
       {50, 90, 90, 90, 90, 90, 70},
       "x 0: {50 10 10 50 20}; x 6: {30 70 40 40 70}"},
      {GrayErosionRect, "erosion", 1, 15, {10, 10, 10, 10, 10, 10, 10}, "wider than the image"},
  };
  for (const Case& c : cases) {
    HObject out, outDown;
    c.op(across, &out, c.height, c.width);
    c.op(down, &outDown, c.width, c.height);
    for (Hlong x = 0; x < 7; ++x) {
      EXPECT_EQ(grayAt(out, 0, x), c.expected[std::size_t(x)])
          << c.name << " " << c.height << " x " << c.width << " at " << x << ": " << c.worked;
      EXPECT_EQ(grayAt(outDown, x, 0), c.expected[std::size_t(x)])
          << c.name << " down the column at " << x;
    }
  }
}

// The same pages: the types byte ... real, a reduced domain computed from the whole image's
// neighbours, and the mask sides 1 ... 511 (1301 / 1302 beyond).
TEST(GrayRectMorphologyReference, TypesDomainsAndMaskLimits) {
  const HObject real = typedRow("real", {-1.5, 2.5, 0.25});
  HObject out;
  GrayErosionRect(real, &out, 1, 3);
  EXPECT_DOUBLE_EQ(realAt(out, 0, 2), 0.25) << "{2.5, 0.25, 0.25}";
  EXPECT_DOUBLE_EQ(realAt(out, 0, 1), -1.5);
  const HObject int2 = typedRow("int2", {-300, 5, -7});
  GrayDilationRect(int2, &out, 1, 3);
  EXPECT_EQ(grayAt(out, 0, 0), 5);
  GrayErosionRect(int2, &out, 1, 3);
  EXPECT_EQ(grayAt(out, 0, 0), -300);

  std::vector<std::uint8_t> row{10, 50, 20, 90, 30, 70, 40};
  const HObject image = wrapGray(row, 7, 1);
  HObject reduced;
  ReduceDomain(image, rectangle(0, 2, 0, 4), &reduced);
  GrayDilationRect(reduced, &out, 1, 3);
  EXPECT_EQ(grayAt(out, 0, 2), 90);
  EXPECT_EQ(grayAt(out, 0, 4), 90) << "column 5 (70) lies outside the domain, still read";
  EXPECT_EQ(grayAt(out, 0, 6), 0) << "outside the domain";
  HObject nothing, empty;
  GenEmptyRegion(&nothing);
  ReduceDomain(image, nothing, &empty);
  GrayClosingRect(empty, &out, 3, 3);
  HTuple area;
  AreaCenter(out, &area, nullptr, nullptr);
  EXPECT_EQ(area[0].L(), 0);

  // A ramp 0 ... 99 under masks of 51 (the long-mask path): the window [x - 25, x + 25].
  std::vector<std::uint8_t> ramp(100);
  for (std::size_t x = 0; x < ramp.size(); ++x) ramp[x] = std::uint8_t(x);
  const HObject rampImage = wrapGray(ramp, 100, 1);
  GrayDilationRect(rampImage, &out, 1, 51);
  EXPECT_EQ(grayAt(out, 0, 10), 35) << "max of 0 ... 35";
  EXPECT_EQ(grayAt(out, 0, 80), 99) << "max of 55 ... 99, 100 ... 105 mirrored onto 99 ... 94";
  GrayErosionRect(rampImage, &out, 1, 51);
  EXPECT_EQ(grayAt(out, 0, 10), 0) << "min of -15 ... 35 mirrored: 0";
  EXPECT_EQ(grayAt(out, 0, 60), 35) << "min of 35 ... 85";

  EXPECT_EQ(errorOf([&] { GrayDilationRect(image, &out, 0, 3); }), 1301);
  EXPECT_EQ(errorOf([&] { GrayDilationRect(image, &out, 512, 3); }), 1301);
  EXPECT_EQ(errorOf([&] { GrayDilationRect(image, &out, 3, -1); }), 1302);
  EXPECT_EQ(errorOf([&] { GrayOpeningRect(image, &out, 511, 511); }), 0);
}

// sobel_dir, HALCON 11.0 reference: the amplitude as sobel_amp's, the direction of the
// gradient in steps of 2 degrees (0 ... 179), 255 where the amplitude is 0. A 5 x 5 image
// bright (100) on one side: the masks give 4 * 100 across the edge, so the amplitude is 100.
TEST(SobelDirReference, DirectionPointsToTheBrighterSide) {
  struct Row {
    const char* bright;
    Hlong row, col, amplitude, direction;
    const char* worked;
  };
  const Row rows[] = {
      {"right", 2, 2, 100, 0, "b = -400, a = 0: 0 deg"},
      {"right", 2, 4, 0, 255, "inside the bright side (column 5 mirrored to 4): no edge"},
      {"right", 2, 0, 0, 255, "mirrored column -1 is column 0: no edge"},
      {"top", 1, 2, 100, 45, "a = 400: 90 deg"},
      {"left", 2, 2, 100, 90, "b = 400: 180 deg"},
      {"bottom", 2, 2, 100, 135, "a = -400: 270 deg"},
  };
  for (const Row& row : rows) {
    std::vector<std::uint8_t> p(25, 0);
    const std::string side = row.bright;
    for (Hlong y = 0; y < 5; ++y) {
      for (Hlong x = 0; x < 5; ++x) {
        const bool lit = (side == "right" && x >= 3) || (side == "left" && x <= 1) ||
                         (side == "top" && y <= 1) || (side == "bottom" && y >= 3);
        p[std::size_t(y * 5 + x)] = lit ? 100 : 0;
      }
    }
    const HObject image = wrapGray(p, 5, 5);
    HObject amplitude, direction;
    SobelDir(image, &amplitude, &direction, "sum_abs", 3);
    EXPECT_EQ(grayAt(amplitude, row.row, row.col), row.amplitude) << row.bright << row.worked;
    EXPECT_EQ(grayAt(direction, row.row, row.col), row.direction) << row.bright << row.worked;
    HTuple type;
    GetImageType(direction, &type);
    EXPECT_EQ(std::string(type[0].S()), "direction");
  }
  // A diagonal: a = 300, b = -300 at the centre of 100 where col > row.
  std::vector<std::uint8_t> p(25, 0);
  for (Hlong y = 0; y < 5; ++y) {
    for (Hlong x = y + 1; x < 5; ++x) p[std::size_t(y * 5 + x)] = 100;
  }
  const HObject diagonal = wrapGray(p, 5, 5);
  HObject amplitude, direction;
  SobelDir(diagonal, &amplitude, &direction, "sum_sqrt", 3);
  EXPECT_EQ(grayAt(amplitude, 2, 2), 106) << "sqrt(2) 300 / 4 = 106.07";
  SobelDir(diagonal, &amplitude, &direction, "sum_abs", 3);
  EXPECT_EQ(grayAt(amplitude, 2, 2), 150) << "600 / 4";
  EXPECT_EQ(errorOf([&] { SobelDir(diagonal, &amplitude, &direction, "thin_max_abs", 3); }), 1301);
  EXPECT_EQ(errorOf([&] { SobelDir(diagonal, &amplitude, &direction, "sum_abs", 4); }), 1302);
}

// highpass_image, HALCON 11.0 reference (10.0.2 page): mean_image over the mask less the pixel,
// plus 128, clipped to 0 ... 255. region_to_mean, HALCON 11.0 reference: each region painted
// with its mean grey value.
TEST(HighpassAndRegionToMeanReference, MeansLessThePixelAndPaintedMeans) {
  std::vector<std::uint8_t> row{10, 50, 20, 90, 30, 70, 40}, spike{0, 255, 0};
  const HObject image = wrapGray(row, 7, 1), peak = wrapGray(spike, 3, 1);
  HObject out;
  HighpassImage(image, &out, 3, 1);
  EXPECT_EQ(grayAt(out, 0, 0), 141) << "(10 + 10 + 50) / 3 = 23.3 -> 23; 23 - 10 + 128";
  EXPECT_EQ(grayAt(out, 0, 1), 105) << "80 / 3 -> 27; 27 - 50 + 128";
  EXPECT_EQ(grayAt(out, 0, 3), 85) << "140 / 3 -> 47; 47 - 90 + 128";
  HighpassImage(peak, &out, 3, 1);
  EXPECT_EQ(grayAt(out, 0, 1), 0) << "85 - 255 + 128 < 0: clipped";
  EXPECT_EQ(grayAt(out, 0, 0), 213) << "85 - 0 + 128";
  HighpassImage(image, &out, 1, 1);
  EXPECT_EQ(grayAt(out, 0, 3), 128) << "1 x 1: the mean is the pixel";

  HObject regions, painted;
  ConcatObj(rectangle(0, 0, 0, 2), rectangle(0, 5, 0, 6), &regions);
  RegionToMean(regions, image, &painted);
  const Hlong expected[] = {27, 27, 27, 90, 30, 55, 55};
  for (Hlong x = 0; x < 7; ++x) {
    EXPECT_EQ(grayAt(painted, 0, x), expected[x]) << "80 / 3 -> 27; 110 / 2 = 55; at " << x;
  }
  RegionToMean(rectangle(0, 6, 0, 20), image, &painted);
  EXPECT_EQ(grayAt(painted, 0, 6), 40) << "what lies inside the image only";
  HObject nothing;
  GenEmptyRegion(&nothing);
  RegionToMean(nothing, image, &painted);
  EXPECT_EQ(grayAt(painted, 0, 3), 90) << "an empty region paints nothing";
}

// gray_dilation_shape and its family, HALCON 11.0 reference (a later page for the real sizes):
// the mask's shape about each pixel; 'rhombus' holds |dr| + |dc| <= r, 'octagon' (the
// stand-in's reading of an equilateral octagon) the square less |dr| + |dc| > (r + 1/2) sqrt 2;
// an even integer size acts as the next odd one, a real one interpolates the two odd sizes
// about it. Dilating the impulse (255 at 11, 11) paints the mask itself.
TEST(GrayShapeMorphologyReference, MasksOfTheShapesAndRealSizes) {
  struct Row {
    HTuple height, width;
    const char* shape;
    Hlong row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {3, 3, "rectangle", 10, 10, 255, "the corner is in the square"},
      {3, 3, "rhombus", 10, 10, 0, "|1| + |1| > 1"},
      {3, 3, "rhombus", 10, 11, 255, "|1| + 0 <= 1"},
      {3, 3, "octagon", 10, 10, 255, "r = 1: 2 <= 1.5 sqrt 2 = 2.12, the whole 3 x 3"},
      {5, 5, "octagon", 9, 9, 0, "r = 2: 4 > 2.5 sqrt 2 = 3.54"},
      {5, 5, "octagon", 9, 10, 255, "3 <= 3.54"},
      {5, 5, "rhombus", 9, 10, 0, "3 > 2"},
      {4, 4, "rhombus", 9, 11, 255, "the integer 4 acts as 5"},
      {4.0, 4.0, "rectangle", 9, 11, 128, "4.0: half of 3 (0) and half of 5 (255): 127.5"},
      {4.0, 4.0, "rectangle", 10, 11, 255, "in both masks"},
      {4.5, 3, "rectangle", 9, 11, 191, "4.5 lies 3/4 from 3 to 5: 0.75 * 255 = 191.25"},
  };
  const Impulse impulse;
  for (const Row& row : rows) {
    HObject out;
    GrayDilationShape(impulse.image, &out, row.height, row.width, row.shape);
    EXPECT_EQ(grayAt(out, row.row, row.col), row.expected) << row.shape << ": " << row.worked;
  }
  HObject out;
  GrayErosionShape(impulse.image, &out, 3, 3, "octagon");
  EXPECT_EQ(grayAt(out, 11, 11), 0) << "the impulse's neighbours are 0";
  GrayOpeningShape(impulse.image, &out, 3, 3, "rhombus");
  EXPECT_EQ(grayAt(out, 11, 11), 0) << "an opening removes a peak smaller than the mask";
  GrayClosingShape(impulse.image, &out, 3, 3, "rhombus");
  EXPECT_EQ(grayAt(out, 11, 11), 255) << "a closing keeps it";
  EXPECT_EQ(errorOf([&] { GrayDilationShape(impulse.image, &out, 3, 5, "rhombus"); }), 1302);
  EXPECT_EQ(errorOf([&] { GrayDilationShape(impulse.image, &out, 3, 3, "circle"); }), 1303);
  EXPECT_EQ(errorOf([&] { GrayDilationShape(impulse.image, &out, 0, 3, "octagon"); }), 1301);
}

// gen_disc_se, HALCON 11.0 reference (the ellipsoid's formula is the stand-in's reading): the
// upper half of the ellipsoid with semi-axes Width / 2, Height / 2 and Smax over the pixel
// centres. gray_dilation / gray_erosion, HALCON 11.0 reference (7.1 page for the formulas):
// max of f(x - z) + s(z), min of f(x + z) - s(z) over the element's pixels z; opening and
// closing as the rectangle's, gray_tophat = f - opening, gray_bothat = closing - f.
TEST(GrayElementMorphologyReference, EllipsoidsAndTheirMorphology) {
  HObject se;
  GenDiscSe(&se, "byte", 3, 3, 10);
  EXPECT_EQ(areas(se), std::vector<Hlong>{9}) << "corner: 1/2.25 + 1/2.25 = 0.89 <= 1";
  EXPECT_EQ(grayAt(se, 0, 0), 3) << "10 sqrt(1 - 0.89) = 3.33";
  EXPECT_EQ(grayAt(se, 0, 1), 7) << "10 sqrt(1 - 0.44) = 7.45";
  EXPECT_EQ(grayAt(se, 1, 1), 10);
  GenDiscSe(&se, "byte", 5, 5, 0);
  EXPECT_EQ(areas(se), std::vector<Hlong>{21}) << "corners: 4/6.25 + 4/6.25 = 1.28 > 1";

  std::vector<std::uint8_t> row{10, 50, 20, 90, 30, 70, 40};
  const HObject image = wrapGray(row, 7, 1);
  HObject flat, bump;
  GenDiscSe(&flat, "byte", 3, 1, 0);   // 1 x 3, all 0
  GenDiscSe(&bump, "byte", 3, 1, 10);  // 7 10 7
  using Op = void (*)(const HObject&, const HObject&, HObject*);
  struct Case {
    Op op;
    const char* name;
    const HObject* element;
    std::vector<Hlong> expected;
  };
  const Case cases[] = {
      {GrayDilation, "dilation, flat", &flat, {50, 50, 90, 90, 90, 70, 70}},
      {GrayErosion, "erosion, flat", &flat, {10, 10, 20, 20, 30, 30, 40}},
      {GrayOpening, "opening, flat", &flat, {10, 20, 20, 30, 30, 40, 40}},
      {GrayClosing, "closing, flat", &flat, {50, 50, 50, 90, 70, 70, 70}},
      {GrayTophat, "tophat: f - opening", &flat, {0, 30, 0, 60, 0, 30, 0}},
      {GrayBothat, "bothat: closing - f", &flat, {40, 0, 30, 0, 40, 0, 30}},
      // x 0: 50 + 7, 10 + 10, 10 + 7 (mirrored); x 3: 30 + 7, 90 + 10, 20 + 7.
      {GrayDilation, "dilation, 7 10 7", &bump, {57, 60, 97, 100, 97, 80, 77}},
      // x 0: 10 - 7 (mirrored), 10 - 10, 50 - 7: 0; x 4: 90 - 7, 30 - 10, 70 - 7.
      {GrayErosion, "erosion, 7 10 7", &bump, {0, 3, 10, 13, 20, 23, 30}},
  };
  for (const Case& c : cases) {
    HObject out;
    c.op(image, *c.element, &out);
    for (Hlong x = 0; x < 7; ++x) {
      EXPECT_EQ(grayAt(out, 0, x), c.expected[std::size_t(x)]) << c.name << " at " << x;
    }
  }
  HObject out, realSe, nothing, noElement;
  GenDiscSe(&realSe, "real", 3, 3, 1);
  EXPECT_EQ(errorOf([&] { GrayDilation(image, realSe, &out); }), 9001) << "types differ";
  GenEmptyRegion(&nothing);
  ReduceDomain(flat, nothing, &noElement);
  EXPECT_EQ(errorOf([&] { GrayDilation(image, noElement, &out); }), 1102) << "no pixels";
  EXPECT_EQ(errorOf([&] { GenDiscSe(&out, "int2", 3, 3, 1); }), 1301);
  EXPECT_EQ(errorOf([&] { GenDiscSe(&out, "byte", 0, 3, 1); }), 1302);
  EXPECT_EQ(errorOf([&] { GenDiscSe(&out, "byte", 3, 512, 1); }), 1303);
}

}  // namespace
