// The geometric warps' fast paths against their portable path: zooms, affine maps, turns and
// mirrors give the same bytes, zeros outside the domain included, and the same domain, for
// random images of odd sizes, every interpolation, full and reduced domains and any threads;
// zooms to exactly half of each side, by hand and on domains of many runs and several
// channels, and the domains of turns and affine maps found within the input domain's bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

struct Warp {
  std::string name;
  std::function<void(const HObject&, HObject*)> run;
};

HTuple matrix(double scale, double phi, double shear, double row, double col) {
  HTuple identity, scaled, turned, sheared, moved;
  HomMat2dIdentity(&identity);
  HomMat2dScale(identity, scale, scale * 1.1, 0, 0, &scaled);
  HomMat2dRotate(scaled, phi, 0, 0, &turned);
  HomMat2dSlant(turned, shear, "x", 0, 0, &sheared);
  HomMat2dTranslate(sheared, row, col, &moved);
  return moved;
}

std::vector<Warp> warps() {
  std::vector<Warp> all;
  for (const char* how : {"nearest_neighbor", "bilinear", "bicubic"}) {
    const std::string tag = std::string(" ") + how;
    // Halves (weights in 128ths), a third, growing, one row and column, unchanged.
    const std::pair<double, double> factors[] = {
        {0.5, 0.5}, {1 / 3.0, 0.7}, {2.5, 1.25}, {0.01, 0.01}, {1, 1}};
    for (const auto& [fx, fy] : factors) {
      all.push_back({"zoom_image_factor " + std::to_string(fx) + tag,
                     [=, fx = fx, fy = fy](const HObject& in, HObject* out) {
                       ZoomImageFactor(in, out, fx, fy, how);
                     }});
    }
    all.push_back({"zoom_image_size 7x3" + tag,
                   [=](const HObject& in, HObject* out) { ZoomImageSize(in, out, 7, 3, how); }});
    for (const double phi : {0.0, 90.0, 180.0, 270.0, -90.0, 450.0, 10.0, 33.3, 359.5}) {
      all.push_back({"rotate_image " + std::to_string(phi) + tag,
                     [=](const HObject& in, HObject* out) { RotateImage(in, out, phi, how); }});
    }
    if (std::string(how) == "bicubic") continue;
    // Scale and shift only, which the fast path reads from tables (the last mirrored); then
    // turns and slants.
    const HTuple matrices[] = {matrix(0.9, 0, 0, 7.5, 12.25),  matrix(2, 0, 0, -3, 0.5),
                               matrix(-0.8, 0, 0, 90, 150),    matrix(1, 0.3, 0, 4, -2),
                               matrix(0.7, -1.2, 0.4, 20, 30), matrix(-1.3, 2.5, 0, 200, 60)};
    for (std::size_t m = 0; m < std::size(matrices); ++m) {
      for (const char* adapt : {"false", "true"}) {
        all.push_back({"affine_trans_image " + std::to_string(m) + adapt + tag,
                       [=](const HObject& in, HObject* out) {
                         AffineTransImage(in, out, matrices[m], how, adapt);
                       }});
      }
      all.push_back({"affine_trans_image_size " + std::to_string(m) + tag,
                     [=](const HObject& in, HObject* out) {
                       AffineTransImageSize(in, out, matrices[m], how, 50, 31);
                     }});
    }
  }
  for (const char* mode : {"row", "column", "diagonal"}) {
    all.push_back({std::string("mirror_image ") + mode,
                   [=](const HObject& in, HObject* out) { MirrorImage(in, out, mode); }});
  }
  return all;
}

TEST(WarpPaths, GiveThePortableBytesAndDomainOnAnyThreads) {
  SettingsRestored restored;
  // Odd sizes, so that no row fills whole vectors; one even size, whose halves take input
  // pixels two by two.
  const std::pair<Hlong, Hlong> sizes[] = {{1, 1}, {2, 3}, {37, 5}, {161, 97}, {206, 42}};
  const std::vector<Warp> all = warps();
  for (const auto& [width, height] : sizes) {
    std::mt19937 random(static_cast<std::uint32_t>(width));
    std::vector<std::uint8_t> planes[2];
    for (auto& plane : planes) {
      plane.resize(static_cast<std::size_t>(width * height));
      for (auto& v : plane) v = static_cast<std::uint8_t>(random());
    }
    HObject gray = wrapGray(planes[0], width, height), second, three;
    second = wrapGray(planes[1], width, height);
    Compose3(gray, second, gray, &three);
    HObject disc, bars, bar1, bar2;
    GenCircle(&disc, height / 2.0, width / 2.0, 0.4 * double(std::min(width, height)) + 0.5);
    GenRectangle1(&bar1, 0, 0, height - 1, width / 3);
    GenRectangle1(&bar2, height / 4, width / 2, height - 1, width - 1);
    Union2(bar1, bar2, &bars);
    // Teeth one column wide, so that rows hold many runs.
    HObject comb, tooth;
    GenEmptyRegion(&comb);
    for (Hlong c = 0; c < width; c += 3) {
      GenRectangle1(&tooth, std::min(c % 7, height - 1), c, height - 1, c);
      Union2(comb, tooth, &comb);
    }
    std::vector<std::pair<std::string, HObject>> inputs{{"full", gray}, {"three channels", three}};
    for (const auto& [name, region] :
         {std::pair{"disc", disc}, std::pair{"bars", bars}, std::pair{"comb", comb}}) {
      HObject reduced;
      ReduceDomain(gray, region, &reduced);
      inputs.emplace_back(name, reduced);
    }
    for (const Warp& warp : all) {
      for (const auto& [domain, input] : inputs) {
        const auto call = [&, &input = input] {
          HObject out;
          ImageBytes failed;
          failed.error = errorOf([&] { warp.run(input, &out); });
          return failed.error != 0 ? failed : imageBytesOf(out);
        };
        SetSystem("standin_simd", "false");
        SetSystem("thread_num", 1);
        const ImageBytes reference = call();
        SetSystem("standin_simd", "true");
        SetSystem("standin_band_pixels", 500);
        for (const Hlong threads : sweepThreads({1, 3})) {
          SetSystem("thread_num", threads);
          EXPECT_TRUE(call() == reference) << warp.name << ", " << width << "x" << height << " "
                                           << domain << ", thread_num " << threads;
        }
      }
    }
  }
}

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
TEST(WarpPaths, HalvesByHand) {
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

TEST(WarpPaths, HalvesGiveThePortableBytesAndDomain) {
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
TEST(WarpPaths, DomainsOfTurnsAndMapsAreThePortableOnes) {
  SettingsRestored restored;
  // Wide enough for the blocks of rows sampled a stretch of columns at a time, the last
  // stretch short; and just too narrow for them.
  const std::vector<Size> sizes = quickSweep() ? std::vector<Size>{{37, 5}, {61, 40}, {1031, 9}}
                                               : std::vector<Size>{{37, 5}, {1023, 31}, {1100, 40}};
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
