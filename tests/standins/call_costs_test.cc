// What every call shares: the system's default image size, which each image made reads and may
// raise, and results written only within their domain over pixel memory that an earlier result
// left behind, worked by hand; and trans_from_rgb 'hsv' in sixteen lanes against the portable
// path on random planes of widths about the lanes' multiples.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

struct SizeRestored {
  Hlong width = systemValue("width"), height = systemValue("height");
  ~SizeRestored() {
    SetSystem("width", width);
    SetSystem("height", height);
  }
};

// set_system, HALCON 11.0: 'width' and 'height' are the default image size, one integer of at
// least 1 each (else 1402, 1202, 1302 for the value, parameter 2). A larger image made raises
// each side it exceeds and leaves the other (docs/standins.md, the older versions' rule).
TEST(CallCosts, DefaultImageSizeIsSetAndRaisedSideBySide) {
  SizeRestored restored;
  HObject image;
  const struct {
    const char* step;
    std::function<void()> run;
    Hlong error, width, height;
  } steps[] = {
      {"set 300 x 200", [] { SetSystem("width", 300), SetSystem("height", 200); }, 0, 300, 200},
      {"an image 400 x 100", [&] { GenImageConst(&image, "byte", 400, 100); }, 0, 400, 200},
      {"an image 50 x 250", [&] { GenImageConst(&image, "byte", 50, 250); }, 0, 400, 250},
      {"an image 40 x 40", [&] { GenImageConst(&image, "byte", 40, 40); }, 0, 400, 250},
      {"set below the largest image", [] { SetSystem("width", 30); }, 0, 30, 250},
      {"width 0", [] { SetSystem("width", 0); }, 1302, 30, 250},
      {"height as text", [] { SetSystem("height", "wide"); }, 1202, 30, 250},
      {"two widths",
       [] {
         SetSystem("width", tuple({10, 20}));
       },
       1402, 30, 250},
      {"an image 31 x 1", [&] { GenImageConst(&image, "byte", 31, 1); }, 0, 31, 250},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(errorOf(step.run), step.error) << step.step;
    EXPECT_EQ(systemValue("width"), step.width) << step.step;
    EXPECT_EQ(systemValue("height"), step.height) << step.step;
  }
}

// rgb1_to_gray, HALCON 11.0: gray = 0.299 red + 0.587 green + 0.114 blue, here 100, 50, 200:
// 29.9 + 29.35 + 22.8 = 82.05, so 82 within the domain; outside it 0 (docs/standins.md), even
// where the result's memory held 255 from the image made and dropped just before (a plane of
// 1 MiB, which the stand-in keeps for the next of its size).
TEST(CallCosts, GrayFromColourClearsWhatLiesOutsideItsDomain) {
  constexpr Hlong kSide = 1024;
  const std::size_t n = kSide * kSide;
  std::vector<std::uint8_t> red(n, 100), green(n, 50), blue(n, 200);
  HObject rgb, box, reduced;
  GenImage3Extern(&rgb, "byte", kSide, kSide, address(red.data()), address(green.data()),
                  address(blue.data()), 0);
  GenRectangle1(&box, 2, 3, 4, 5);
  ReduceDomain(rgb, box, &reduced);
  for (int round = 0; round < 2; ++round) {
    {
      HObject bright;
      GenImageProto(rgb, &bright, 255);
    }
    HObject gray;
    Rgb1ToGray(reduced, &gray);
    HTuple pointer, type, width, height;
    GetImagePointer1(gray, &pointer, &type, &width, &height);
    const std::uint8_t* p = pointerOf(pointer);
    const struct {
      Hlong row, col;
      int expected;
    } pixels[] = {{2, 3, 82}, {4, 5, 82}, {3, 4, 82},
                  {2, 2, 0},  {1, 3, 0},  {4, 6, 0},
                  {5, 5, 0},  {0, 0, 0},  {kSide - 1, kSide - 1, 0}};
    for (const auto& pixel : pixels) {
      EXPECT_EQ(p[pixel.row * kSide + pixel.col], pixel.expected)
          << "round " << round << ", pixel " << pixel.row << ", " << pixel.col;
    }
  }
}

// Each channel random on its own, so that every channel is the largest somewhere and greys
// (all three equal) come up too.
TEST(CallCosts, HsvInSixteenLanesGivesThePortableBytes) {
  SettingsRestored restored;
  for (const Size size :
       {Size{1, 2}, Size{15, 3}, Size{16, 2}, Size{17, 3}, Size{47, 5}, Size{301, 7}}) {
    std::vector<std::uint8_t> planes[3];
    for (std::uint32_t c = 0; c < 3; ++c) {
      planes[c] = randomPlane(size, 7 * c + static_cast<std::uint32_t>(size.width));
    }
    for (std::size_t i = 0; i < planes[0].size(); i += 5)
      planes[2][i] = planes[1][i] = planes[0][i];
    HObject red = wrapGray(planes[0], size.width, size.height);
    const HObject green = wrapGray(planes[1], size.width, size.height);
    const HObject blue = wrapGray(planes[2], size.width, size.height);
    for (const auto& [domain, input] : domainsOf(red, size)) {
      expectSameAsPortable<std::vector<std::uint8_t>>(
          labelOf("hsv", size, domain), [&, &input = input] {
            HObject h, s, v, hsv;
            TransFromRgb(input, green, blue, &h, &s, &v, "hsv");
            std::vector<std::uint8_t> bytes;
            for (const HObject* image : {&h, &s, &v}) {
              const std::vector<std::uint8_t> channel = bytesOf(*image);
              bytes.insert(bytes.end(), channel.begin(), channel.end());
            }
            return bytes;
          });
    }
  }
}

}  // namespace
