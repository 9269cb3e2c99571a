// The warps' shortcuts against their portable path: zooms to exactly half of each side, and
// the domains of turns and affine maps found within the input domain's bounds, for random
// images of even and odd sizes, domains of many runs, several channels and any threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

using ImageCall = std::function<void(const HObject&, HObject*)>;

// domainsOf's domains, one-column teeth three apart (rows of many runs, which halving joins
// where only an even column parts them), a single pixel and three channels.
std::vector<std::pair<std::string, HObject>> inputsOf(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> inputs = domainsOf(image, size);
  HObject comb, tooth, dot, reduced, three;
  GenEmptyRegion(&comb);
  for (Hlong c = 1; c < size.width; c += 3) {
    const Hlong top = std::min(c % 5, size.height - 1);
    GenRectangle1(&tooth, top, c, std::max(top, size.height - 1 - c % 3), c);
    Union2(comb, tooth, &comb);
  }
  GenRectangle1(&dot, size.height / 2, size.width / 2, size.height / 2, size.width / 2);
  for (const auto& [name, region] : {std::pair{"comb", comb}, std::pair{"dot", dot}}) {
    ReduceDomain(image, region, &reduced);
    inputs.emplace_back(name, reduced);
  }
  Compose3(image, inputs[1].second, image, &three);
  inputs.emplace_back("three channels", three);
  return inputs;
}

void expectPortable(const std::string& name, const std::vector<Size>& sizes,
                    const ImageCall& call) {
  for (const Size size : sizes) {
    const std::vector<std::uint8_t> pixels = randomPlane(size, std::uint32_t(size.height));
    HObject image;
    GenImage1(&image, "byte", size.width, size.height, address(pixels.data()));
    for (const auto& [domain, input] : inputsOf(image, size)) {
      expectSameAsPortable<ImageBytes>(labelOf(name, size, domain), [&, &input = input] {
        HObject out;
        call(input, &out);
        return imageBytesOf(out);
      });
    }
  }
}

// zoom_image_size, HALCON 11.0, 'bilinear': output pixel (r, c) of half the size samples the
// input at (2r + 0.5, 2c + 0.5), between the 2 x 2 pixels from (2r, 2c) on, each weighing a
// quarter: (10 + 20 + 50 + 60) / 4 = 35, (30 + 41 + 71 + 80) / 4 = 55.5 rounded up to 56,
// (0 + 1 + 1 + 1) / 4 = 0.75 to 1. A pixel is in the result's domain when its nearest input
// pixel (1, 2c + 1) is in the input's: the domain {(1, 3), (1, 4)} keeps column 1 alone, and
// outside it the result is 0.
TEST(WarpSpeed, HalvesByHand) {
  SettingsRestored restored;
  std::vector<std::uint8_t> pixels{10, 20, 30, 41, 0, 1, 50, 60, 71, 80, 1, 1};
  HObject image, part, reduced;
  GenImage1(&image, "byte", 6, 2, address(pixels.data()));
  GenRectangle1(&part, 1, 3, 1, 4);
  ReduceDomain(image, part, &reduced);
  const struct {
    const char* what;
    HObject input;
    std::vector<std::uint8_t> bytes;
    std::vector<Hlong> runs;  // the domain's rows, begins and ends
  } cases[] = {{"full", image, {35, 56, 1}, {0, 0, 2}}, {"part", reduced, {0, 56, 0}, {0, 1, 1}}};
  for (const char* simd : {"false", "true"}) {
    SetSystem("standin_simd", simd);
    for (const auto& c : cases) {
      HObject out;
      ZoomImageSize(c.input, &out, 3, 1, "bilinear");
      const ImageBytes got = imageBytesOf(out);
      EXPECT_EQ(got.bytes, c.bytes) << c.what << " " << simd;
      EXPECT_EQ(got.runs, c.runs) << c.what << " " << simd;
    }
  }
}

TEST(WarpSpeed, HalvesGiveThePortableBytesAndDomain) {
  SettingsRestored restored;
  // Even sides (a row of two vectors and a tail), and an odd side, which is not halved exactly.
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{2, 2}, {6, 4}, {134, 22}}
                   : std::vector<Size>{{2, 2}, {6, 4}, {134, 22}, {258, 62}, {71, 30}};
  expectPortable("zoom_image_size half", sizes, [](const HObject& in, HObject* out) {
    HTuple width, height;
    GetImageSize(in, &width, &height);
    ZoomImageSize(in, out, width[0].L() / 2, height[0].L() / 2, "bilinear");
  });
}

// rotate_image and affine_trans_image, HALCON 11.0: a pixel is in the result's domain when its
// nearest input pixel is in the input's. Turns of each quarter, so that rows and columns run
// both ways, slants, and domains far from the image's corners.
TEST(WarpSpeed, DomainsOfTurnsAndMapsAreThePortableOnes) {
  SettingsRestored restored;
  const std::vector<Size> sizes = quickSweep() ? std::vector<Size>{{37, 5}, {61, 40}}
                                               : std::vector<Size>{{37, 5}, {61, 40}, {251, 90}};
  for (const char* how : {"nearest_neighbor", "bilinear"}) {
    for (const double angle : {10.0, 100.0, 200.0, 290.0}) {
      expectPortable("rotate_image " + std::to_string(angle) + " " + how, sizes,
                     [=](const HObject& in, HObject* out) { RotateImage(in, out, angle, how); });
    }
    HTuple identity, slanted;
    HomMat2dIdentity(&identity);
    HomMat2dSlant(identity, 0.4, "y", 3, 5, &slanted);
    expectPortable(
        std::string("affine_trans_image slant ") + how, sizes,
        [=](const HObject& in, HObject* out) { AffineTransImage(in, out, slanted, how, "false"); });
  }
}

}  // namespace
