// Stand-in images as the library and the examples use them: images over caller memory, shared
// channel planes, tiling and grey values. The measurements of regions are checked
// end to end by the inspection example's suites against the generator's expected parts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

int clearCalls = 0;
void countClear(void*) {
  ++clearCalls;
}

HObject constImage(Hlong width, Hlong height) {
  HObject image;
  GenImageConst(&image, "byte", width, height);
  return image;
}

HTuple grayvals(const HObject& image, const HTuple& rows, const HTuple& columns) {
  HTuple values;
  GetGrayval(image, rows, columns, &values);
  return values;
}

TEST(Images, ExternPlanesAreTheCallersMemoryAndReleasedOncePerPlane) {
  std::vector<std::uint8_t> pixels(6 * 4, 7);
  HObject image = wrapGray(pixels, 6, 4);
  HTuple pointer;
  GetImagePointer1(image, &pointer, nullptr, nullptr, nullptr);
  EXPECT_EQ(pointerOf(pointer), pixels.data());
  pixels[2 * 6 + 5] = 99;
  EXPECT_EQ(grayvals(image, 2, 5), HTuple(99));
  SetGrayval(image, 0, 1, 11);
  EXPECT_EQ(pixels[1], 11);

  clearCalls = 0;
  std::vector<std::uint8_t> red(4), blue(4);
  const HTuple clear(static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(&countClear)));
  {
    HObject rgb, channel, full;
    GenImage3Extern(&rgb, "byte", 2, 2, address(red.data()), address(red.data()),
                    address(blue.data()), clear);
    AccessChannel(rgb, &channel, 3);
    rgb = HObject();
    EXPECT_EQ(clearCalls, 1) << "the red plane, given twice, is released once";
    FullDomain(channel, &full);
    channel = HObject();
    EXPECT_EQ(clearCalls, 1) << "the blue plane lives on";
  }
  EXPECT_EQ(clearCalls, 2);
  HObject refused;
  EXPECT_EQ(errorOf([&] { GenImage1Extern(&refused, "byte", 2, 2, 0, 0); }), 1304);
}

TEST(Images, ChannelsSharePlanes) {
  HObject gray = constImage(3, 2), green = constImage(3, 2), rgb, second;
  Compose3(gray, gray, gray, &rgb);
  HTuple red, greenPointer, blue, grayPointer;
  GetImagePointer3(rgb, &red, &greenPointer, &blue, nullptr, nullptr, nullptr);
  GetImagePointer1(gray, &grayPointer, nullptr, nullptr, nullptr);
  EXPECT_EQ(red.Append(greenPointer).Append(blue),
            grayPointer.Clone().Append(grayPointer).Append(grayPointer));
  SetGrayval(gray, 1, 2, 200);
  EXPECT_EQ(grayvals(rgb, 1, 2), tuple({200, 200, 200}));

  Compose3(gray, green, gray, &rgb);
  AccessChannel(rgb, &second, 2);
  SetGrayval(second, 0, 0, 77);
  EXPECT_EQ(grayvals(green, 0, 0), HTuple(77));
  HObject both;
  ConcatObj(gray, rgb, &both);
  HTuple channels;
  CountChannels(both, &channels);
  EXPECT_EQ(channels, tuple({1, 3}));
  EXPECT_EQ(errorOf([&] { AccessChannel(rgb, &second, 4); }), 1301);
}

TEST(Images, TilingPlacesCropsAndCutsAtTheBorder) {
  HObject a = constImage(3, 2), b = constImage(3, 2), both, tiled;
  const HTuple rows = tuple({0, 0, 0, 1, 1, 1}), columns = tuple({0, 1, 2, 0, 1, 2});
  SetGrayval(a, rows, columns, tuple({1, 2, 3, 4, 5, 6}));
  SetGrayval(b, rows, columns, tuple({11, 12, 13, 14, 15, 16}));
  ConcatObj(a, b, &both);
  const HTuple whole = tuple({-1, -1});
  TileImagesOffset(both, &tiled, tuple({0, 1}), tuple({0, 4}), whole, whole, whole, whole, 7, 3);
  EXPECT_EQ(grayvals(tiled, tuple({0, 1, 1, 2, 2}), tuple({2, 2, 4, 3, 6})),
            tuple({3, 6, 11, 0, 16}));
  // b's columns 1..2 of row 1 land on (0, 1) over a, which is shifted partly out to the left.
  TileImagesOffset(both, &tiled, tuple({0, 0}), tuple({-1, 1}), tuple({-1, 1}), tuple({-1, 1}),
                   tuple({-1, 1}), tuple({-1, 2}), 3, 2);
  EXPECT_EQ(grayvals(tiled, tuple({0, 0, 0, 1, 1, 1}), columns), tuple({2, 15, 16, 5, 6, 0}));
  // A larger tiled image raises the system size, as created images do (window_thread_test).
  SystemSizeRestored restored;
  TileImagesOffset(a, &tiled, 0, 0, -1, -1, -1, -1, 640, 8);
  EXPECT_GE(systemValue("width"), 640);
}

TEST(Images, GreyValuesComePointByPointThenChannelByChannelSaturatedAndRounded) {
  HObject gray = constImage(4, 4), rgb;
  Compose3(gray, constImage(4, 4), constImage(4, 4), &rgb);
  SetGrayval(rgb, tuple({0, 3}), tuple({1, 2}), tuple({10, 20, 30, 40, 50, 60}));
  EXPECT_EQ(grayvals(rgb, tuple({0, 3}), tuple({1, 2})), tuple({10, 20, 30, 40, 50, 60}));
  SetGrayval(rgb, tuple({1, 2}), tuple({1, 1}), HTuple(300).Append(HTuple(7.6)));
  EXPECT_EQ(grayvals(rgb, tuple({1, 2}), tuple({1, 1})), tuple({255, 255, 255, 8, 8, 8}));
  HTuple values;
  EXPECT_EQ(errorOf([&] { GetGrayval(gray, 4, 0, &values); }), 1301);
}

}  // namespace
