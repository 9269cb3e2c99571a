// var_threshold's undivided decisions, trans_from_rgb's 'hsv' vectors, zooms by exact halves
// and turns against the portable path (the same regions and bytes, on any threads), and
// rft_generic of integer images, whose rows are transformed in pairs, against a spectrum
// worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// An image's bytes or a region's runs, as numbers, or the error a call raised.
std::vector<Hlong> outputOf(const std::function<void(HObject*)>& call) {
  HObject out;
  const Hlong error = errorOf([&] { call(&out); });
  if (error != 0) return {-error};
  std::vector<Hlong> values;
  HTuple count, kind;
  CountObj(out, &count);
  for (Hlong i = 1; i <= count[0].L(); ++i) {
    HObject one;
    SelectObj(out, &one, i);
    GetObjClass(one, &kind);
    HTuple rows, begins, ends;
    if (std::string(kind[0].S().Text()) == "image") {
      HTuple pointer, type, width, height;
      GetImagePointer1(one, &pointer, &type, &width, &height);
      const std::uint8_t* p = pointerOf(pointer);
      values.insert(values.end(), p, p + width[0].L() * height[0].L());
      GetDomain(one, &one);
    }
    GetRegionRuns(one, &rows, &begins, &ends);
    for (const HTuple* t : {&rows, &begins, &ends}) {
      for (Hlong k = 0; k < t->Length(); ++k) values.push_back((*t)[k].L());
    }
  }
  return values;
}

// `call` on the vector paths, on one and on three threads cut into small bands, against the
// portable path on one thread.
void expectPortable(const std::string& name, const std::function<void(HObject*)>& call) {
  SetSystem("standin_simd", "false");
  SetSystem("thread_num", 1);
  const std::vector<Hlong> reference = outputOf(call);
  SetSystem("standin_simd", "true");
  SetSystem("standin_band_pixels", 300);
  for (const Hlong threads : {1, 3}) {
    SetSystem("thread_num", threads);
    EXPECT_TRUE(outputOf(call) == reference) << name << ", thread_num " << threads;
  }
}

// Noise over flat patches (variance 0, means of whole numbers) in images of odd sizes, each
// with its full domain, a disc and one-column teeth.
std::vector<std::pair<std::string, HObject>> inputs(std::vector<std::vector<std::uint8_t>>& store) {
  const std::pair<Hlong, Hlong> sizes[] = {{1, 1}, {37, 5}, {9, 41}, {102, 34}, {131, 67}};
  std::vector<std::pair<std::string, HObject>> all;
  store.reserve(std::size(sizes));
  for (const auto& [width, height] : sizes) {
    std::mt19937 random(static_cast<std::uint32_t>(width * 7 + height));
    std::vector<std::uint8_t>& plane = store.emplace_back(std::size_t(width * height));
    for (std::size_t i = 0; i < plane.size(); ++i) {
      const auto x = static_cast<Hlong>(i) % width, y = static_cast<Hlong>(i) / width;
      plane[i] = static_cast<std::uint8_t>((x / 11 + y / 5) % 3 == 0 ? 100 : random() % 256);
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    HObject gray = wrapGray(plane, width, height), disc, comb, tooth, reduced;
    all.emplace_back(size + " full", gray);
    GenCircle(&disc, height / 2.0, width / 2.0, 0.4 * double(std::min(width, height)) + 0.5);
    ReduceDomain(gray, disc, &reduced);
    all.emplace_back(size + " disc", reduced);
    GenEmptyRegion(&comb);
    for (Hlong c = 1; c < width; c += 3) {
      GenRectangle1(&tooth, c % 4, c, height - 1 - c % 3, c);
      Union2(comb, tooth, &comb);
    }
    ReduceDomain(gray, comb, &reduced);
    all.emplace_back(size + " comb", reduced);
  }
  return all;
}

// var_threshold, HALCON 11.0: the vector path decides most pixels from whole-number sums
// without dividing; ties of the mean with the absolute threshold and of the deviation's
// comparison (flat patches, whole means) and scales and thresholds beyond its margins go
// through the divided form.
TEST(LocalPaths, VarThresholdDecidesAsTheDividedForm) {
  SettingsRestored restored;
  // The ties worked by hand are SmoothingSpeed.VarThresholdTiesAtEitherWidth's.
  std::vector<std::vector<std::uint8_t>> store;
  const std::pair<Hlong, Hlong> masks[] = {{1, 1}, {3, 3}, {15, 15}, {4, 7}};
  const std::pair<double, double> limits[] = {{0.2, 2}, {0, 0}, {1, -3}, {-0.5, 2}, {150, 1}};
  for (const auto& [name, image] : inputs(store)) {
    for (const auto& [mw, mh] : masks) {
      for (const auto& [scale, absolute] : limits) {
        for (const char* side : {"dark", "light", "equal", "not_equal"}) {
          expectPortable(
              "var_threshold " + name + " " + std::to_string(mw) + "x" + std::to_string(mh) + " " +
                  std::to_string(scale) + " " + std::to_string(absolute) + " " + side,
              [&, &image = image, mw = mw, mh = mh, scale = scale, absolute = absolute](
                  HObject* out) { VarThreshold(image, out, mw, mh, scale, absolute, side); });
        }
      }
    }
  }
}

// trans_from_rgb, HALCON 11.0, 'hsv' of bytes: every red and green against a few blues, and
// the images above as all three channels (greys, hue and saturation 0).
TEST(LocalPaths, HsvCodesOfTheVectorsAreThePortableOnes) {
  SettingsRestored restored;
  std::vector<std::uint8_t> red(256 * 256), green(red.size()), blue(red.size());
  for (std::size_t i = 0; i < red.size(); ++i) {
    red[i] = static_cast<std::uint8_t>(i % 256);
    green[i] = static_cast<std::uint8_t>(i / 256);
  }
  for (const int b : {0, 1, 127, 128, 200, 254, 255}) {
    std::fill(blue.begin(), blue.end(), static_cast<std::uint8_t>(b));
    const HObject r = wrapGray(red, 256, 256), g = wrapGray(green, 256, 256),
                  bl = wrapGray(blue, 256, 256);
    expectPortable("hsv, blue " + std::to_string(b), [&](HObject* out) {
      HObject h, s, v;
      TransFromRgb(r, g, bl, &h, &s, &v, "hsv");
      ConcatObj(h, s, out);
      ConcatObj(*out, v, out);
    });
  }
  std::vector<std::vector<std::uint8_t>> store;
  for (const auto& [name, image] : inputs(store)) {
    expectPortable("hsv " + name, [&, &image = image](HObject* out) {
      HObject h, s, v;
      TransFromRgb(image, image, image, &h, &s, &v, "hsv");
      ConcatObj(h, s, out);
      ConcatObj(*out, v, out);
    });
  }
}

// zoom_image_size, HALCON 11.0 'bilinear': halving both sides weighs each 2 x 2 block alike,
// which the vectors sum in bytes; halving one side keeps the general weights. rotate_image,
// HALCON 11.0: a pixel is in the result's domain when its nearest input pixel is in the
// input's, which the vectors find by rows of positions and a run at a time.
TEST(LocalPaths, ZoomsAndTurnsAreThePortableOnes) {
  SettingsRestored restored;
  std::vector<std::vector<std::uint8_t>> store;
  for (const auto& [name, image] : inputs(store)) {
    HTuple width, height;
    GetImageSize(image, &width, &height);
    const Hlong w = width[0].L(), h = height[0].L();
    const std::pair<Hlong, Hlong> sides[] = {{w / 2, h / 2}, {w / 2, h}, {(w + 1) / 2, h / 2}};
    for (const auto& [zw, zh] : sides) {
      expectPortable("zoom " + name + " to " + std::to_string(zw) + "x" + std::to_string(zh),
                     [&, &image = image, zw = zw, zh = zh](HObject* out) {
                       ZoomImageSize(image, out, zw, zh, "bilinear");
                     });
    }
    for (const char* how : {"nearest_neighbor", "bilinear"}) {
      for (const double angle : {10.0, 137.5}) {
        expectPortable("rotate " + name + " " + how + " " + std::to_string(angle),
                       [&, &image = image](HObject* out) { RotateImage(image, out, angle, how); });
      }
    }
  }
}

// rft_generic, HALCON 11.0: F(m, n) = sum over k, l of f(k, l) e^(-2 pi i (k m / 3 + l n / 4)),
// columns 0 ... 2 kept, for the rows (1 2 3 4), (0 0 0 8), (5 5 5 5). The rows' transforms are
// (10, -2 + 2i, -2), (8, 8i, -8) and (20, 0, 0); down the columns w = e^(-2 pi i / 3) gives
// F(0, n) = X0 + X1 + X2, F(1, n) = X0 + w X1 + w^2 X2 and F(2, n) = X0 + w^2 X1 + w X2.
// Byte and int2 rows are transformed two at a time (the third alone), real ones one at a time.
TEST(LocalPaths, RftOfPairedRowsIsTheSum) {
  const double r3 = std::sqrt(3.0);
  const double expected[3][3][2] = {
      {{38, 0}, {-2, 10}, {-10, 0}},
      {{-4, 6 * r3}, {-2 + 4 * r3, -2}, {2, 4 * r3}},
      {{-4, -6 * r3}, {-2 - 4 * r3, -2}, {2, -4 * r3}},
  };
  const Hlong values[] = {1, 2, 3, 4, 0, 0, 0, 8, 5, 5, 5, 5};
  for (const char* type : {"byte", "int2", "uint2", "real"}) {
    HObject image, spectrum;
    GenImageConst(&image, type, 4, 3);
    for (Hlong i = 0; i < 12; ++i) SetGrayval(image, i / 4, i % 4, double(values[i]));
    RftGeneric(image, &spectrum, "to_freq", "none", "complex", 4);
    HTuple width, height;
    GetImageSize(spectrum, &width, &height);
    ASSERT_EQ(width[0].L(), 3) << type;
    for (Hlong m = 0; m < 3; ++m) {
      for (Hlong n = 0; n < 3; ++n) {
        HTuple value;
        GetGrayval(spectrum, m, n, &value);
        EXPECT_NEAR(value[0].D(), expected[m][n][0], 1e-4) << type << " " << m << "," << n;
        EXPECT_NEAR(value[1].D(), expected[m][n][1], 1e-4) << type << " " << m << "," << n;
      }
    }
  }
}

}  // namespace
