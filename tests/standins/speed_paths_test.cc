// The byte morphology's vector extremes, trans_from_rgb's outputs written only in the domain
// and the warps' bilinear vectors at each width against their portable paths, and the values
// they give on small images worked by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

using ImageCall = std::function<void(const HObject&, HObject*)>;

// Every byte of each result, with the image's size and its sweep's domain.
void expectPortable(const std::string& name, const ImageCall& call) {
  for (const Size size : sweepSizes()) {
    const std::vector<std::uint8_t> pixels = randomPlane(size, std::uint32_t(size.width));
    HObject image;
    GenImage1(&image, "byte", size.width, size.height, address(pixels.data()));
    for (const auto& [domain, input] : domainsOf(image, size)) {
      expectSameAsPortable<std::vector<std::uint8_t>>(labelOf(name, size, domain),
                                                      [&, &input = input] {
                                                        HObject out;
                                                        call(input, &out);
                                                        return bytesOf(out);
                                                      });
    }
  }
}

TEST(SpeedPaths, RectangleMorphologyGivesThePortableBytes) {
  SettingsRestored restored;
  using Rect = void (*)(const HObject&, HObject*, const HTuple&, const HTuple&);
  const std::pair<const char*, Rect> ops[] = {{"dilation", GrayDilationRect},
                                              {"erosion", GrayErosionRect},
                                              {"opening", GrayOpeningRect},
                                              {"closing", GrayClosingRect}};
  // One pixel, even sides, the benchmark's 11 x 11, and a row past the large-mask bound.
  const std::pair<Hlong, Hlong> masks[] = {{1, 1}, {4, 2}, {11, 11}, {3, 61}};
  for (const auto& [name, op] : ops) {
    for (const auto& [h, w] : masks) {
      expectPortable(
          std::string(name) + " " + std::to_string(h) + "x" + std::to_string(w),
          [op = op, h = h, w = w](const HObject& in, HObject* out) { op(in, out, h, w); });
    }
  }
}

// The AVX-512 and AVX2 gathers of the turns and slanted maps (warp_paths_test compares the
// widest only).
TEST(SpeedPaths, BilinearWarpsGiveThePortableBytesAtEachWidth) {
  SettingsRestored restored;
  HTuple identity, turned;
  HomMat2dIdentity(&identity);
  HomMat2dRotate(identity, 0.3, 2, 3, &turned);
  expectPortable("rotate_image 10",
                 [](const HObject& in, HObject* out) { RotateImage(in, out, 10, "bilinear"); });
  expectPortable("affine_trans_image", [&](const HObject& in, HObject* out) {
    AffineTransImage(in, out, turned, "bilinear", "false");
  });
}

TEST(SpeedPaths, HsvGivesThePortableBytesInAnyDomain) {
  SettingsRestored restored;
  expectPortable("trans_from_rgb hsv", [](const HObject& in, HObject* out) {
    HObject green, blue, h, s, v;
    ScaleImage(in, &green, 0.5, 40);
    InvertImage(in, &blue);
    TransFromRgb(in, green, blue, &h, &s, &v, "hsv");
    Compose3(h, s, v, out);
  });
}

// Values by hand on a 4 x 2 image whose domain is its first row; the pixels outside the
// domain are 0, as the stand-in leaves them.
TEST(SpeedPaths, DomainPixelsByHand) {
  SettingsRestored restored;
  std::vector<std::uint8_t> red{10, 50, 20, 90, 30, 70, 40, 60};
  std::vector<std::uint8_t> green{0, 50, 255, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> blue{0, 50, 0, 255, 0, 0, 0, 0};
  HObject r, g, b, domain;
  GenImage1(&r, "byte", 4, 2, address(red.data()));
  GenImage1(&g, "byte", 4, 2, address(green.data()));
  GenImage1(&b, "byte", 4, 2, address(blue.data()));
  GenRectangle1(&domain, 0, 0, 0, 3);
  ReduceDomain(r, domain, &r);
  struct Case {
    const char* what;
    std::function<HObject()> run;
    std::vector<std::uint8_t> expected;
  };
  const auto hsv = [&](int k) {
    HObject h, s, v;
    TransFromRgb(r, g, b, &h, &s, &v, "hsv");
    return k == 0 ? h : k == 1 ? s : v;
  };
  const Case cases[] = {
      // gray_dilation_rect, HALCON 11.0: the greatest of the pixel and its left and right
      // neighbours, the image mirrored at its edges: max(10, 10, 50), max(10, 50, 20),
      // max(50, 20, 90), max(20, 90, 90).
      {"dilation 1x3",
       [&] {
         HObject out;
         GrayDilationRect(r, &out, 1, 3);
         return out;
       },
       {50, 50, 90, 90, 0, 0, 0, 0}},
      // gray_erosion_rect, HALCON 11.0: the least of the same.
      {"erosion 1x3",
       [&] {
         HObject out;
         GrayErosionRect(r, &out, 1, 3);
         return out;
       },
       {10, 10, 20, 20, 0, 0, 0, 0}},
      // trans_from_rgb, HALCON 11.0, 'hsv': pure red (10, 0, 0) has hue 0, saturation 1 and
      // value max = 10; grey (50, 50, 50) hue 0, saturation 0; (20, 255, 0) hue
      // 2 + (b - r) / (max - min) = 2 - 20 / 255 sixths of 2 pi, coded 255 (2 - 20 / 255) / 6
      // = 81.67, rounded 82; (90, 0, 255) hue 4 + (r - g) / (max - min), coded
      // 255 (4 + 90 / 255) / 6 = 185.
      {"hsv hue", [&] { return hsv(0); }, {0, 0, 82, 185, 0, 0, 0, 0}},
      {"hsv saturation", [&] { return hsv(1); }, {255, 0, 255, 255, 0, 0, 0, 0}},
      {"hsv value", [&] { return hsv(2); }, {10, 50, 255, 255, 0, 0, 0, 0}},
  };
  for (const char* simd : {"false", "true"}) {
    SetSystem("standin_simd", simd);
    for (const Case& c : cases) EXPECT_EQ(bytesOf(c.run()), c.expected) << c.what << " " << simd;
  }
}

}  // namespace
