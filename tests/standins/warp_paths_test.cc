// The geometric warps' fast path against their portable path: zooms, affine maps, turns and
// mirrors give the same bytes, zeros outside the domain included, and the same domain, for
// random images of odd sizes, every interpolation, full and reduced domains and any threads.
#include <gtest/gtest.h>

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

}  // namespace
