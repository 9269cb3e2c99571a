// Stand-in images as the library and the examples use them: images over caller memory, shared
// channel planes, tiling and grey values. The measurements of regions are checked
// end to end by the inspection example's suites against the generator's expected parts.
#include <gtest/gtest.h>

#include <algorithm>
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

// Which pixels of a `size` x `size` image paint_region sets to 1 with `type`.
std::vector<bool> painted(const HObject& region, Hlong size, const char* type) {
  HObject result;
  PaintRegion(region, constImage(size, size), &result, 1, type);
  HTuple rows, columns;
  for (Hlong r = 0; r < size; ++r) {
    for (Hlong c = 0; c < size; ++c) {
      rows.Append(HTuple(r));
      columns.Append(HTuple(c));
    }
  }
  const HTuple values = grayvals(result, rows, columns);
  std::vector<bool> set(static_cast<std::size_t>(size * size));
  for (std::size_t i = 0; i < set.size(); ++i) set[i] = values[static_cast<Hlong>(i)].L() == 1;
  return set;
}

// The margin is every pixel of the region with one of its eight neighbours outside: checked
// against that definition on unions of rectangles and circles inside the image, and on
// regions far larger than it, where only their own border may show.
TEST(Images, PaintedMarginIsThePixelsWithANeighbourOutside) {
  constexpr Hlong kSize = 24;
  unsigned seed = 7;
  auto next = [&seed](Hlong range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<Hlong>((seed >> 16) % static_cast<unsigned>(range));
  };
  for (int trial = 0; trial < 40; ++trial) {
    HObject region;
    GenEmptyRegion(&region);
    for (int part = 0; part < 3; ++part) {
      HObject shape;
      const Hlong row = 1 + next(kSize - 2), col = 1 + next(kSize - 2);
      if (next(2) == 0) {
        GenRectangle1(&shape, row, col, std::min(row + next(8), kSize - 2),
                      std::min(col + next(8), kSize - 2));
      } else {
        GenCircle(
            &shape, row, col,
            0.5 +
                static_cast<double>(std::min({row, col, kSize - 1 - row, kSize - 1 - col})) / 2.0);
      }
      Union2(region, shape, &region);
    }
    const std::vector<bool> inside = painted(region, kSize, "fill");
    const std::vector<bool> margin = painted(region, kSize, "margin");
    for (Hlong r = 1; r + 1 < kSize; ++r) {
      for (Hlong c = 1; c + 1 < kSize; ++c) {
        bool neighbourOutside = false;
        for (Hlong dr = -1; dr <= 1; ++dr) {
          for (Hlong dc = -1; dc <= 1; ++dc) {
            neighbourOutside |= !inside[static_cast<std::size_t>((r + dr) * kSize + c + dc)];
          }
        }
        const bool expected = inside[static_cast<std::size_t>(r * kSize + c)] && neighbourOutside;
        ASSERT_EQ(margin[static_cast<std::size_t>(r * kSize + c)], expected)
            << "trial " << trial << " at " << r << ", " << c;
      }
    }
  }
  HObject huge, corner;
  GenRectangle1(&huge, -20000, -20000, 20000, 20000);
  EXPECT_EQ(painted(huge, 4, "margin"), std::vector<bool>(16, false));
  GenRectangle1(&corner, 0, 0, 20000, 20000);
  const std::vector<bool> edge = painted(corner, 4, "margin");
  for (Hlong i = 0; i < 16; ++i) {
    EXPECT_EQ(edge[static_cast<std::size_t>(i)], i < 4 || i % 4 == 0) << i;
  }
}

// select_obj takes an integer tuple: the objects at those places in its order, repeats
// included (select_obj, HALCON 11.0 reference: "Index ... integer(-array)", 1 <= Index <=
// number of objects).
TEST(Objects, SelectObjTakesATupleOfIndices) {
  HObject regions;
  GenEmptyObj(&regions);
  for (Hlong width : {1, 2, 3}) {  // areas 1, 2 and 3: each object tells its place
    HObject rectangle;
    GenRectangle1(&rectangle, 0, 0, 0, width - 1);
    ConcatObj(regions, rectangle, &regions);
  }
  struct Row {
    HTuple index;
    std::vector<Hlong> areas;
  };
  const Row rows[] = {
      {HTuple(2), {2}},
      {HTuple(3).Append(1).Append(3), {3, 1, 3}},
      {HTuple(), {}},
  };
  for (const Row& row : rows) {
    HObject selected;
    SelectObj(regions, &selected, row.index);
    HTuple area, r, c;
    AreaCenter(selected, &area, &r, &c);
    std::vector<Hlong> areas;
    for (Hlong i = 0; i < area.Length(); ++i) areas.push_back(area[i].L());
    EXPECT_EQ(areas, row.areas) << row.index.Length();
  }
  HObject selected;
  EXPECT_EQ(errorOf([&] { SelectObj(regions, &selected, HTuple(1).Append(4)); }), 1302);
  EXPECT_EQ(errorOf([&] { SelectObj(regions, &selected, HTuple(0)); }), 1302);
  EXPECT_EQ(errorOf([&] { SelectObj(regions, &selected, HTuple(1.5)); }), 1201);
}

}  // namespace
