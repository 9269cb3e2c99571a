// Drawing into stand-in windows: images through the part, regions, contours and colours.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "standins/window_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// A window-sized pattern image whose every pixel differs from its neighbours.
HObject patternImage(std::vector<std::uint8_t>& pixels, Hlong width, Hlong height) {
  pixels.resize(static_cast<std::size_t>(width * height));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return wrapGray(pixels, width, height);
}

std::vector<std::uint8_t> plane(const HObject& image, Hlong channel) {
  HObject single;
  AccessChannel(image, &single, channel);
  HTuple pointer, width, height;
  GetImagePointer1(single, &pointer, nullptr, &width, &height);
  const std::uint8_t* data = pointerOf(pointer);
  return std::vector<std::uint8_t>(data, data + width.L() * height.L());
}

// The rows of one channel as text, '#' where the value is `on`, '.' elsewhere.
std::vector<std::string> picture(const HObject& image, Hlong channel, std::uint8_t on) {
  HTuple width, height;
  GetImageSize(image, &width, &height);
  const std::vector<std::uint8_t> values = plane(image, channel);
  std::vector<std::string> rows;
  for (Hlong r = 0; r < height.L(); ++r) {
    std::string row;
    for (Hlong c = 0; c < width.L(); ++c) {
      row += values[static_cast<std::size_t>(r * width.L() + c)] == on ? '#' : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(DrawImages, APartEqualToTheWindowMapsPixelsByteForByte) {
  TestWindow window(0, 0, 13, 7);
  std::vector<std::uint8_t> gray;
  HObject image = patternImage(gray, 13, 7);
  DispObj(image, window.handle);
  HObject dump = window.dump();
  for (Hlong c = 1; c <= 3; ++c) EXPECT_EQ(plane(dump, c), gray) << "channel " << c;

  // Three channels land one to one in red, green and blue.
  std::vector<std::uint8_t> g2, b2;
  HObject green = patternImage(g2, 13, 7), blue = patternImage(b2, 13, 7), rgb;
  for (auto& v : g2) v = static_cast<std::uint8_t>(v ^ 0x55);
  for (auto& v : b2) v = static_cast<std::uint8_t>(255 - v);
  Compose3(image, green, blue, &rgb);
  DispObj(rgb, window.handle);
  dump = window.dump();
  EXPECT_EQ(plane(dump, 1), gray);
  EXPECT_EQ(plane(dump, 2), g2);
  EXPECT_EQ(plane(dump, 3), b2);
}

TEST(DrawImages, APartSmallerThanTheWindowZoomsByNearestNeighbour) {
  TestWindow window(0, 0, 4, 4);
  std::vector<std::uint8_t> pixels = {10, 20, 30, 40};
  HObject image = wrapGray(pixels, 2, 2);
  SetPart(window.handle, 0, 0, 1, 1);
  DispObj(image, window.handle);
  const std::vector<std::uint8_t> expected = {10, 10, 20, 20, 10, 10, 20, 20,
                                              30, 30, 40, 40, 30, 30, 40, 40};
  EXPECT_EQ(plane(window.dump(), 1), expected);
}

TEST(DrawImages, APartLargerThanTheWindowSamplesEveryOtherPixel) {
  TestWindow window(0, 0, 2, 2);
  std::vector<std::uint8_t> pixels;
  HObject image = patternImage(pixels, 4, 4);
  SetPart(window.handle, 0, 0, 3, 3);
  DispObj(image, window.handle);
  // Window pixel (y, x) shows the image pixel under its centre: (2y + 1, 2x + 1).
  const std::vector<std::uint8_t> expected = {pixels[5], pixels[7], pixels[13], pixels[15]};
  EXPECT_EQ(plane(window.dump(), 1), expected);
}

TEST(DrawImages, AShiftedPartLeavesUncoveredPixelsAlone) {
  TestWindow window(0, 0, 4, 1);
  SetWindowParam(window.handle, "background_color", "blue");
  ClearWindow(window.handle);
  std::vector<std::uint8_t> pixels = {100, 200};
  SetPart(window.handle, 0, -1, 0, 2);
  DispObj(wrapGray(pixels, 2, 1), window.handle);
  HObject dump = window.dump();
  EXPECT_EQ(pixel(dump, 0, 0), tuple({0, 0, 255}));
  EXPECT_EQ(pixel(dump, 0, 1), tuple({100, 100, 100}));
  EXPECT_EQ(pixel(dump, 0, 2), tuple({200, 200, 200}));
  EXPECT_EQ(pixel(dump, 0, 3), tuple({0, 0, 255}));
}

TEST(DrawImages, TheInverseTableInvertsGrayImagesOnly) {
  TestWindow window(0, 0, 1, 1);
  std::vector<std::uint8_t> pixels = {55};
  SetLut(window.handle, "inverse");
  DispObj(wrapGray(pixels, 1, 1), window.handle);
  EXPECT_EQ(pixel(window.dump(), 0, 0), tuple({200, 200, 200}));
}

class DrawRegions : public ::testing::Test {
 protected:
  TestWindow window_{0, 0, 8, 6};
};

TEST_F(DrawRegions, FillPaintsTheRegionInTheCurrentColour) {
  HObject rectangle;
  GenRectangle1(&rectangle, 1, 2, 3, 5);
  SetColor(window_.handle, "red");
  DispObj(rectangle, window_.handle);
  const std::vector<std::string> expected = {"........", "..####..", "..####..",
                                             "..####..", "........", "........"};
  HObject dump = window_.dump();
  EXPECT_EQ(picture(dump, 1, 255), expected);
  EXPECT_EQ(picture(dump, 2, 0), std::vector<std::string>(6, "########"));
}

TEST_F(DrawRegions, MarginOutlinesWithTheLineWidth) {
  HObject rectangle;
  GenRectangle1(&rectangle, 0, 1, 5, 6);
  SetDraw(window_.handle, "margin");
  SetColor(window_.handle, "green");
  DispObj(rectangle, window_.handle);
  EXPECT_EQ(picture(window_.dump(), 2, 255),
            (std::vector<std::string>{".######.", ".#....#.", ".#....#.", ".#....#.", ".#....#.",
                                      ".######."}));
  ClearWindow(window_.handle);
  SetLineWidth(window_.handle, 2);
  DispObj(rectangle, window_.handle);
  EXPECT_EQ(picture(window_.dump(), 2, 255),
            (std::vector<std::string>{".######.", ".######.", ".##..##.", ".##..##.", ".######.",
                                      ".######."}));
}

TEST_F(DrawRegions, AMarginLeavingTheWindowHasNoEdgeAlongTheWindowBorder) {
  HObject rectangle;
  GenRectangle1(&rectangle, -5, 2, 3, 20);
  SetDraw(window_.handle, "margin");
  DispObj(rectangle, window_.handle);
  EXPECT_EQ(picture(window_.dump(), 1, 255),
            (std::vector<std::string>{"..#.....", "..#.....", "..#.....", "..######", "........",
                                      "........"}));
}

TEST_F(DrawRegions, RegionsFollowThePartToo) {
  HObject pixel;
  GenRectangle1(&pixel, 1, 1, 1, 1);
  SetPart(window_.handle, 0, 0, 2, 3);  // each image pixel becomes 2 x 2 window pixels
  DispObj(pixel, window_.handle);
  EXPECT_EQ(picture(window_.dump(), 1, 255),
            (std::vector<std::string>{"........", "........", "..##....", "..##....", "........",
                                      "........"}));
}

TEST_F(DrawRegions, ColoredModeCyclesPerObjectUntilSetColor) {
  HObject squares;
  GenRectangle1(&squares, tuple({0, 0, 0, 0}), tuple({0, 2, 4, 6}), tuple({0, 0, 0, 0}),
                tuple({0, 2, 4, 6}));
  SetColored(window_.handle, 3);
  DispObj(squares, window_.handle);
  HObject dump = window_.dump();
  EXPECT_EQ(pixel(dump, 0, 0), tuple({255, 0, 0}));
  EXPECT_EQ(pixel(dump, 0, 2), tuple({0, 255, 0}));
  EXPECT_EQ(pixel(dump, 0, 4), tuple({0, 0, 255}));
  EXPECT_EQ(pixel(dump, 0, 6), tuple({255, 0, 0}));

  // Twelve colours: the seventh is dim gray; the cycle starts again with each call.
  HObject seven;
  GenRectangle1(&seven, tuple({1, 1, 1, 1, 1, 1, 1}), tuple({0, 1, 2, 3, 4, 5, 6}),
                tuple({1, 1, 1, 1, 1, 1, 1}), tuple({0, 1, 2, 3, 4, 5, 6}));
  SetColored(window_.handle, 12);
  DispObj(seven, window_.handle);
  dump = window_.dump();
  EXPECT_EQ(pixel(dump, 1, 0), tuple({255, 0, 0}));
  EXPECT_EQ(pixel(dump, 1, 5), tuple({255, 255, 0}));
  EXPECT_EQ(pixel(dump, 1, 6), tuple({105, 105, 105}));

  SetColor(window_.handle, HTuple("cyan").Append(HTuple("magenta")));
  DispObj(squares, window_.handle);
  dump = window_.dump();
  EXPECT_EQ(pixel(dump, 0, 0), tuple({0, 255, 255}));
  EXPECT_EQ(pixel(dump, 0, 2), tuple({255, 0, 255}));
  EXPECT_EQ(pixel(dump, 0, 4), tuple({0, 255, 255}));
}

TEST_F(DrawRegions, ImagesInAColoredCallDoNotTakeAColour) {
  HObject image, square, both;
  GenImageConst(&image, "byte", 1, 1);
  GenRectangle1(&square, 2, 2, 2, 2);
  ConcatObj(image, square, &both);
  SetColored(window_.handle, 6);
  DispObj(both, window_.handle);
  EXPECT_EQ(pixel(window_.dump(), 2, 2), tuple({255, 0, 0}));
}

TEST_F(DrawRegions, TheRectangle1ShapeDrawsTheBoundingBox) {
  HObject circle;
  GenCircle(&circle, 3.0, 3.0, 2.0);
  SetShape(window_.handle, "rectangle1");
  DispObj(circle, window_.handle);
  EXPECT_EQ(pixel(window_.dump(), 1, 1), tuple({255, 255, 255}));
  SetShape(window_.handle, "original");
  ClearWindow(window_.handle);
  DispObj(circle, window_.handle);
  EXPECT_EQ(pixel(window_.dump(), 1, 1), tuple({0, 0, 0}));
}

TEST_F(DrawRegions, ContoursAreLinesOfTheLineWidth) {
  HObject line, corner;
  GenContourPolygonXld(&line, tuple({2, 2}), tuple({1, 6}));
  SetColor(window_.handle, "yellow");
  DispObj(line, window_.handle);
  EXPECT_EQ(picture(window_.dump(), 1, 255),
            (std::vector<std::string>{"........", "........", ".######.", "........", "........",
                                      "........"}));
  ClearWindow(window_.handle);
  SetLineWidth(window_.handle, 3);
  GenContourPolygonXld(&corner, tuple({1, 4, 4}), tuple({1, 1, 5}));
  DispObj(corner, window_.handle);
  EXPECT_EQ(picture(window_.dump(), 1, 255),
            (std::vector<std::string>{"###.....", "###.....", "###.....", "#######.", "#######.",
                                      "#######."}));
}

TEST_F(DrawRegions, FarAwayContourPointsAreClippedNotWalked) {
  HObject line;
  GenContourPolygonXld(&line, HTuple(-1e12).Append(HTuple(1e12)), tuple({3, 3}));
  DispObj(line, window_.handle);  // finishes at once: only the visible piece is drawn
  EXPECT_EQ(picture(window_.dump(), 1, 255), std::vector<std::string>(6, "...#...."));
}

}  // namespace
