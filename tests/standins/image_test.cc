// Stand-in images: shared planes, caller memory, channels, tiling, grey values, files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
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

std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "quorvex_image_test_" + name;
}

TEST(ExternImages, WrapCallerMemoryWithoutCopying) {
  std::vector<std::uint8_t> pixels(6 * 4, 7);
  HObject image = wrapGray(pixels, 6, 4);
  HTuple pointer, type, width, height;
  GetImagePointer1(image, &pointer, &type, &width, &height);
  EXPECT_EQ(pointerOf(pointer), pixels.data());
  EXPECT_EQ(type, HTuple("byte"));
  EXPECT_EQ(width, HTuple(6));
  EXPECT_EQ(height, HTuple(4));

  pixels[2 * 6 + 5] = 99;  // the caller writes its memory: the image sees it
  HTuple value;
  GetGrayval(image, 2, 5, &value);
  EXPECT_EQ(value, HTuple(99));

  pointerOf(pointer)[0] = 42;  // a write through the returned address reaches the caller
  EXPECT_EQ(pixels[0], 42);
  HObject copy = image;
  SetGrayval(copy, 0, 1, 11);  // in place, seen through every sharing object
  EXPECT_EQ(pixels[1], 11);
}

TEST(ExternImages, ClearProcRunsOnceForEachPlaneWhenTheLastObjectGoes) {
  clearCalls = 0;
  std::vector<std::uint8_t> red(4), blue(4);
  const HTuple clear(static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(&countClear)));
  {
    HObject image;
    GenImage3Extern(&image, "byte", 2, 2, address(red.data()), address(red.data()),
                    address(blue.data()), clear);
    HObject channel;
    AccessChannel(image, &channel, 3);
    image = HObject();
    EXPECT_EQ(clearCalls, 1);  // the red plane, given twice, is released once
    HObject full;
    FullDomain(channel, &full);
    channel = HObject();
    EXPECT_EQ(clearCalls, 1);  // the blue plane lives on in `full`
  }
  EXPECT_EQ(clearCalls, 2);
}

TEST(ExternImages, ZeroAddressOrOtherPixelTypesAreRefused) {
  std::vector<std::uint8_t> pixels(4);
  HObject image;
  EXPECT_EQ(errorOf([&] { GenImage1Extern(&image, "byte", 2, 2, 0, 0); }), 1304);
  EXPECT_EQ(errorOf([&] { GenImage1Extern(&image, "uint2", 2, 2, address(pixels.data()), 0); }),
            1301);
  EXPECT_EQ(errorOf([&] {
              GenImage3Extern(&image, "byte", 2, 2, address(pixels.data()), address(pixels.data()),
                              address(pixels.data()), 1.5);
            }),
            1207);
}

TEST(Channels, Compose3OfOneImageHasThreeChannelsAtOneAddress) {
  HObject gray = constImage(3, 2), rgb;
  Compose3(gray, gray, gray, &rgb);
  HTuple red, green, blue, channels;
  GetImagePointer3(rgb, &red, &green, &blue, nullptr, nullptr, nullptr);
  EXPECT_EQ(red, green);
  EXPECT_EQ(red, blue);
  HTuple grayPointer;
  GetImagePointer1(gray, &grayPointer, nullptr, nullptr, nullptr);
  EXPECT_EQ(red, grayPointer);
  CountChannels(rgb, &channels);
  EXPECT_EQ(channels, HTuple(3));

  SetGrayval(gray, 1, 2, 200);
  HTuple values;
  GetGrayval(rgb, 1, 2, &values);
  EXPECT_EQ(values, tuple({200, 200, 200}));
}

TEST(Channels, AccessChannelSharesThePlaneOfItsChannel) {
  HObject r = constImage(2, 2), g = constImage(2, 2), b = constImage(2, 2), rgb, second;
  Compose3(r, g, b, &rgb);
  AccessChannel(rgb, &second, 2);
  HTuple secondPointer, greenPointer;
  GetImagePointer1(second, &secondPointer, nullptr, nullptr, nullptr);
  GetImagePointer1(g, &greenPointer, nullptr, nullptr, nullptr);
  EXPECT_EQ(secondPointer, greenPointer);
  SetGrayval(second, 0, 0, 77);
  HTuple values;
  GetGrayval(rgb, 0, 0, &values);
  EXPECT_EQ(values, tuple({0, 77, 0}));

  EXPECT_EQ(errorOf([&] { AccessChannel(rgb, &second, 0); }), 1301);
  EXPECT_EQ(errorOf([&] { AccessChannel(rgb, &second, 4); }), 1301);
  EXPECT_EQ(errorOf([&] { Compose3(r, g, constImage(3, 2), &rgb); }), H_ERR_SIZES_DIFFER);
}

TEST(Channels, CountsAndSizesArePerImage) {
  HObject gray = constImage(4, 3), rgb, both;
  Compose3(gray, gray, gray, &rgb);
  ConcatObj(gray, rgb, &both);
  HTuple channels, width, height;
  CountChannels(both, &channels);
  EXPECT_EQ(channels, tuple({1, 3}));
  GetImageSize(both, &width, nullptr);  // a null output is left alone
  EXPECT_EQ(width, tuple({4, 4}));
  GetImageSize(gray, nullptr, &height);
  EXPECT_EQ(height, HTuple(3));
  EXPECT_EQ(errorOf([&] {
              GetImagePointer3(gray, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
            }),
            H_ERR_CHANNEL_COUNT);
}

TEST(HImageClass, HoldsExactlyOneImage) {
  HImage image(constImage(5, 7));
  EXPECT_EQ(image.Width(), HTuple(5));
  EXPECT_EQ(image.Height(), HTuple(7));
  EXPECT_EQ(image.CountChannels(), HTuple(1));
  HObject two, region;
  ConcatObj(image, image, &two);
  GenRectangle1(&region, 0, 0, 1, 1);
  EXPECT_EQ(errorOf([&] { HImage wrong(two); }), 1501);
  EXPECT_EQ(errorOf([&] { HImage wrong(region); }), 1101);
  EXPECT_EQ(errorOf([&] { HImage wrong{HObject()}; }), 1501);
}

TEST(GenImageConst, ValidatesTypeAndSize) {
  HObject image;
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "real", 4, 4); }), 1301);
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, 3, 4, 4); }), 1201);
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "byte", 0, 4); }), 1302);
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "byte", 4.0, 4); }), 1202);
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "byte", 4, tuple({4, 4})); }), 1403);
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "byte", 4, 40000); }), 1303);
  GenImageConst(&image, "byte", 3, 3);
  HTuple values;
  GetGrayval(image, tuple({0, 2}), tuple({0, 2}), &values);
  EXPECT_EQ(values, tuple({0, 0}));
}

TEST(SystemSize, CreatingALargerImageRaisesWidthAndHeight) {
  SystemSizeRestored restored;
  SetSystem("width", 100);
  SetSystem("height", 100);
  constImage(300, 50);
  EXPECT_EQ(systemValue("width"), 300);
  EXPECT_EQ(systemValue("height"), 100);  // only what the image exceeds
  constImage(20, 20);
  EXPECT_EQ(systemValue("width"), 300);  // never lowered

  std::vector<std::uint8_t> pixels(10 * 400);
  wrapGray(pixels, 10, 400);
  EXPECT_EQ(systemValue("height"), 400);

  HObject tiled;
  TileImagesOffset(constImage(2, 2), &tiled, 0, 0, -1, -1, -1, -1, 640, 8);
  EXPECT_EQ(systemValue("width"), 640);
}

class Tiling : public ::testing::Test {
 protected:
  // 3 x 2 images: a with 1..6, b with 11..16 row by row.
  void SetUp() override {
    a_ = constImage(3, 2);
    b_ = constImage(3, 2);
    SetGrayval(a_, tuple({0, 0, 0, 1, 1, 1}), tuple({0, 1, 2, 0, 1, 2}), tuple({1, 2, 3, 4, 5, 6}));
    SetGrayval(b_, tuple({0, 0, 0, 1, 1, 1}), tuple({0, 1, 2, 0, 1, 2}),
               tuple({11, 12, 13, 14, 15, 16}));
    ConcatObj(a_, b_, &both_);
  }

  HTuple row(const HObject& image, Hlong r, Hlong width) {
    HTuple rows, cols, values;
    for (Hlong c = 0; c < width; ++c) {
      rows.Append(HTuple(r));
      cols.Append(HTuple(c));
    }
    GetGrayval(image, rows, cols, &values);
    return values;
  }

  HObject a_, b_, both_;
};

TEST_F(Tiling, PlacesWholeImagesAtTheirOffsetsAndLeavesTheRestZero) {
  HObject tiled;
  TileImagesOffset(both_, &tiled, tuple({0, 1}), tuple({0, 4}), tuple({-1, -1}), tuple({-1, -1}),
                   tuple({-1, -1}), tuple({-1, -1}), 7, 3);
  EXPECT_EQ(row(tiled, 0, 7), tuple({1, 2, 3, 0, 0, 0, 0}));
  EXPECT_EQ(row(tiled, 1, 7), tuple({4, 5, 6, 0, 11, 12, 13}));
  EXPECT_EQ(row(tiled, 2, 7), tuple({0, 0, 0, 0, 14, 15, 16}));
}

TEST_F(Tiling, CropsLaterImagesOverEarlierOnesAndCutsAtTheBorder) {
  HObject tiled;
  // b's column 1..2 of row 1 lands on (0, 1); a is shifted partly out to the left.
  TileImagesOffset(both_, &tiled, tuple({0, 0}), tuple({-1, 1}), tuple({-1, 1}), tuple({-1, 1}),
                   tuple({-1, 1}), tuple({-1, 2}), 3, 2);
  EXPECT_EQ(row(tiled, 0, 3), tuple({2, 15, 16}));
  EXPECT_EQ(row(tiled, 1, 3), tuple({5, 6, 0}));
}

TEST_F(Tiling, ChannelsFollowTheInputsAndParametersAreChecked) {
  HObject rgb, tiled, mixed;
  Compose3(a_, b_, a_, &rgb);
  TileImagesOffset(rgb, &tiled, 1, 0, -1, -1, -1, -1, 3, 3);
  HTuple values;
  GetGrayval(tiled, 1, 2, &values);
  EXPECT_EQ(values, tuple({3, 13, 3}));
  ConcatObj(a_, rgb, &mixed);
  const HTuple two = tuple({0, 0}), whole = tuple({-1, -1});
  EXPECT_EQ(
      errorOf([&] { TileImagesOffset(mixed, &tiled, two, two, whole, whole, whole, whole, 4, 4); }),
      H_ERR_CHANNELS_DIFFER);
  EXPECT_EQ(
      errorOf([&] { TileImagesOffset(both_, &tiled, 0, two, whole, whole, whole, whole, 4, 4); }),
      1401);
  EXPECT_EQ(errorOf([&] { TileImagesOffset(a_, &tiled, 0, 0, 0, 0, 2, 0, 4, 4); }), 1305);
  EXPECT_EQ(errorOf([&] { TileImagesOffset(a_, &tiled, 0, 0, -1, -1, -1, -1, 0, 4); }), 1307);
  HObject none;
  GenEmptyObj(&none);
  EXPECT_EQ(errorOf([&] {
              TileImagesOffset(none, &tiled, HTuple(), HTuple(), HTuple(), HTuple(), HTuple(),
                               HTuple(), 4, 4);
            }),
            1501);
}

TEST(GrayValues, MultiChannelValuesComePointByPointThenChannelByChannel) {
  HObject r = constImage(4, 4), g = constImage(4, 4), b = constImage(4, 4), rgb;
  Compose3(r, g, b, &rgb);
  // One value per point and channel, in the same order as reading gives them.
  SetGrayval(rgb, tuple({0, 3}), tuple({1, 2}), tuple({10, 20, 30, 40, 50, 60}));
  HTuple values;
  GetGrayval(rgb, tuple({0, 3}), tuple({1, 2}), &values);
  EXPECT_EQ(values, tuple({10, 20, 30, 40, 50, 60}));
  GetGrayval(g, 3, 2, &values);
  EXPECT_EQ(values, HTuple(50));
  // One value per point sets every channel; values saturate and reals round.
  SetGrayval(rgb, tuple({1, 2}), tuple({1, 1}), HTuple(300).Append(HTuple(7.6)));
  GetGrayval(rgb, tuple({1, 2}), tuple({1, 1}), &values);
  EXPECT_EQ(values, tuple({255, 255, 255, 8, 8, 8}));
}

TEST(GrayValues, PointsOutsideTheImageAndWrongCountsRaise) {
  HObject image = constImage(4, 3);
  HTuple values;
  EXPECT_EQ(errorOf([&] { GetGrayval(image, 3, 0, &values); }), 1301);
  EXPECT_EQ(errorOf([&] { GetGrayval(image, 0, -1, &values); }), 1302);
  EXPECT_EQ(errorOf([&] { GetGrayval(image, tuple({0, 1}), 0, &values); }), 1402);
  EXPECT_EQ(errorOf([&] { GetGrayval(image, "a", 0, &values); }), 1201);
  EXPECT_EQ(errorOf([&] {
              SetGrayval(image, tuple({0, 1}), tuple({0, 1}), tuple({1, 2, 3}));
            }),
            1403);
  EXPECT_EQ(errorOf([&] { SetGrayval(image, 0, 0, "x"); }), 1203);
}

TEST(PaintRegion, FillsOrOutlinesIntoANewImage) {
  HObject image = constImage(6, 6), rectangle, filled, outlined;
  GenRectangle1(&rectangle, 1, 1, 4, 4);
  PaintRegion(rectangle, image, &filled, 9, "fill");
  PaintRegion(rectangle, image, &outlined, 5, "margin");
  HTuple area, values;
  HObject region;
  Threshold(filled, &region, 9, 9);
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(16));
  Threshold(outlined, &region, 5, 5);
  AreaCenter(region, &area, nullptr, nullptr);
  EXPECT_EQ(area, HTuple(12));  // the 4 x 4 ring without its 2 x 2 inside
  GetGrayval(outlined, 2, 2, &values);
  EXPECT_EQ(values, HTuple(0));
  GetGrayval(image, 1, 1, &values);
  EXPECT_EQ(values, HTuple(0));  // the input is untouched
}

TEST(PaintRegion, TakesOneValueOrOnePerChannelAndClipsToTheImage) {
  HObject gray = constImage(4, 4), rgb, circle, painted;
  Compose3(gray, gray, gray, &rgb);
  GenCircle(&circle, 0, 0, 10);
  PaintRegion(circle, rgb, &painted, tuple({1, 2, 3}), "fill");
  HTuple values;
  GetGrayval(painted, 3, 3, &values);
  EXPECT_EQ(values, tuple({1, 2, 3}));
  EXPECT_EQ(errorOf([&] { PaintRegion(circle, rgb, &painted, tuple({1, 2}), "fill"); }), 1401);
  EXPECT_EQ(errorOf([&] { PaintRegion(circle, rgb, &painted, 1, "outline"); }), 1302);
  EXPECT_EQ(errorOf([&] { PaintRegion(rgb, rgb, &painted, 1, "fill"); }), 1101);
}

TEST(ImageFiles, GrayAndColorImagesRoundTripThroughPng) {
  HObject gray = constImage(5, 3), other = constImage(5, 3), rgb, back;
  SetGrayval(gray, tuple({0, 2}), tuple({0, 4}), tuple({17, 250}));
  SetGrayval(other, 1, 1, 99);
  Compose3(gray, other, gray, &rgb);
  const std::string grayName = tempPath("gray");
  WriteImage(gray, "png", 0, grayName.c_str());  // ".png" appended
  ReadImage(&back, grayName.c_str());            // found with ".png" added
  HTuple channels, values;
  CountChannels(back, &channels);
  EXPECT_EQ(channels, HTuple(1));
  GetGrayval(back, tuple({0, 2, 1}), tuple({0, 4, 1}), &values);
  EXPECT_EQ(values, tuple({17, 250, 0}));

  const std::string rgbName = tempPath("rgb.png");
  WriteImage(rgb, "png", 0, rgbName.c_str());
  ReadImage(&back, rgbName.c_str());
  CountChannels(back, &channels);
  EXPECT_EQ(channels, HTuple(3));
  GetGrayval(back, 1, 1, &values);
  EXPECT_EQ(values, tuple({0, 99, 0}));
  std::remove((grayName + ".png").c_str());
  std::remove(rgbName.c_str());
}

TEST(ImageFiles, MissingUnreadableAndUnwritableFilesRaise) {
  HObject image;
  EXPECT_EQ(errorOf([&] { ReadImage(&image, tempPath("does_not_exist").c_str()); }),
            H_ERR_FILE_NOT_FOUND);
  const std::string text = tempPath("not_an_image.png");
  std::ofstream(text) << "not a png";
  EXPECT_EQ(errorOf([&] { ReadImage(&image, text.c_str()); }), H_ERR_FILE_FORMAT);
  std::remove(text.c_str());
  HObject gray = constImage(2, 2);
  EXPECT_EQ(errorOf([&] { WriteImage(gray, "png", 0, "/no/such/folder/x"); }), H_ERR_FILE_WRITE);
  EXPECT_EQ(errorOf([&] { WriteImage(gray, "tiff", 0, tempPath("x").c_str()); }), 1301);
  EXPECT_EQ(errorOf([&] { WriteImage(gray, "png", "black", tempPath("x").c_str()); }), 1202);
}

TEST(ImageFaults, InjectedFaultsFireForTheirOperation) {
  FaultsCleared cleared;
  armFault("GenImageConst", 9999);
  HObject image;
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "byte", 2, 2); }), 9999);
  EXPECT_EQ(errorOf([&] { GenImageConst(&image, "byte", 2, 2); }), 0);
  armFault("TileImagesOffset", 4711);
  EXPECT_EQ(errorOf([&] { TileImagesOffset(image, &image, 0, 0, -1, -1, -1, -1, 2, 2); }), 4711);
}

}  // namespace
