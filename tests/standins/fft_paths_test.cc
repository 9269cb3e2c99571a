// The frequency family's vector paths against the portable path, byte for byte on one and on
// three threads cut into small bands: the transforms four lines at a time (sides of factors
// 2, 3 and 5, short last groups, odd last rows; other sides and values that are not finite
// stay on the portable path) and convol_fft's and correlation_fft's products.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// Every image's pixels as bytes, after its type and size, or the error a call raised.
std::vector<std::uint8_t> outputOf(const std::function<void(HObject*)>& call) {
  HObject out;
  const Hlong error = errorOf([&] { call(&out); });
  if (error != 0)
    return {0xee, static_cast<std::uint8_t>(error), static_cast<std::uint8_t>(error >> 8)};
  std::vector<std::uint8_t> bytes;
  HTuple count;
  CountObj(out, &count);
  for (Hlong i = 1; i <= count[0].L(); ++i) {
    HObject one;
    SelectObj(out, &one, i);
    HTuple pointer, type, width, height;
    GetImagePointer1(one, &pointer, &type, &width, &height);
    const std::string name = type[0].S().Text();
    const Hlong size = name == "complex" ? 8 : name == "real" ? 4 : name == "byte" ? 1 : 2;
    const std::uint8_t* p = pointerOf(pointer);
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(static_cast<std::uint8_t>(width[0].L()));
    bytes.insert(bytes.end(), p, p + size * width[0].L() * height[0].L());
  }
  return bytes;
}

void expectPortable(const std::string& name, const std::function<void(HObject*)>& call) {
  SetSystem("standin_simd", "false");
  SetSystem("thread_num", 1);
  const std::vector<std::uint8_t> reference = outputOf(call);
  SetSystem("standin_simd", "true");
  SetSystem("standin_band_pixels", 40);
  for (const Hlong threads : {1, 3}) {
    SetSystem("thread_num", threads);
    EXPECT_TRUE(outputOf(call) == reference) << name << ", thread_num " << threads;
  }
}

struct Side {
  Hlong width, height;
};

// Sides whose factors are 2, 3 and 5 (a radix of each, last groups of four lines short by one
// to three, an odd last row), one of a factor 7 and the degenerate ones.
const Side kSides[] = {{1, 1}, {2, 1}, {1, 6}, {30, 18}, {45, 25}, {64, 12}, {50, 27}, {14, 7}};

// Random values of `type` for an image of `side`: bytes and 16-bit values over their range,
// reals of mixed magnitudes with `specials` (infinities and NaN) strewn in.
HObject randomImage(const char* type, Side side, std::uint32_t seed, bool specials = false) {
  std::mt19937 random(seed);
  const Hlong count = side.width * side.height;
  HObject image;
  GenImageConst(&image, type, side.width, side.height);
  HTuple pointer, kind, width, height;
  GetImagePointer1(image, &pointer, &kind, &width, &height);
  std::uint8_t* p = pointerOf(pointer);
  const std::string name = type;
  const float strewn[] = {std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(), 0.0f, -0.0f};
  for (Hlong i = 0; i < count; ++i) {
    const std::uint32_t r = random();
    if (name == "byte") {
      p[i] = static_cast<std::uint8_t>(r);
    } else if (name == "int2" || name == "uint2") {
      reinterpret_cast<std::uint16_t*>(p)[i] = static_cast<std::uint16_t>(r);
    } else {
      float v = static_cast<float>(static_cast<std::int32_t>(r % 20001) - 10000) *
                std::ldexp(1.0f, static_cast<int>(r >> 26) - 10);
      if (specials && r % 13 == 0) v = strewn[(r >> 8) % 5];
      reinterpret_cast<float*>(p)[i] = v;
    }
  }
  return image;
}

HObject randomComplex(Side side, std::uint32_t seed, bool specials = false) {
  HObject complex;
  RealToComplex(randomImage("real", side, seed, specials), randomImage("real", side, seed + 1),
                &complex);
  return complex;
}

std::string label(const char* what, Side side) {
  return std::string(what) + " " + std::to_string(side.width) + "x" + std::to_string(side.height);
}

// rft_generic, HALCON 11.0: to_freq of every real-valued type and each norm, and from_freq
// back to real and byte images of both widths a half spectrum stands for.
TEST(FftPaths, RealTransformsAsPortable) {
  SettingsRestored restored;
  for (const Side side : kSides) {
    for (const char* type : {"byte", "int2", "uint2", "real"}) {
      const HObject image = randomImage(type, side, std::uint32_t(side.width * 31 + side.height));
      for (const char* norm : {"none", "sqrt", "n"}) {
        expectPortable(label(type, side) + " " + norm, [&](HObject* out) {
          RftGeneric(image, out, "to_freq", norm, "complex", side.width);
        });
      }
    }
    const HObject half = randomComplex({side.width / 2 + 1, side.height}, 7);
    for (const Hlong width : {2 * (side.width / 2), 2 * (side.width / 2) + 1}) {
      if (width < 1) continue;
      for (const char* type : {"real", "byte"}) {
        expectPortable(label("from_freq", side) + " " + type,
                       [&](HObject* out) { RftGeneric(half, out, "from_freq", "n", type, width); });
      }
    }
  }
}

// fft_generic and fft_image, HALCON 11.0: both directions and signs and both places of the DC
// term, of bytes, reals and complex values, finite or not.
TEST(FftPaths, ComplexTransformsAsPortable) {
  SettingsRestored restored;
  for (const Side side : kSides) {
    const HObject inputs[] = {randomImage("byte", side, 3), randomImage("real", side, 4, true),
                              randomComplex(side, 5), randomComplex(side, 6, true)};
    for (const HObject& image : inputs) {
      expectPortable(label("fft_image", side), [&](HObject* out) { FftImage(image, out); });
      expectPortable(label("fft_generic", side), [&](HObject* out) {
        FftGeneric(image, out, "from_freq", 1, "n", "dc_edge", "complex");
      });
    }
  }
}

// convol_fft and correlation_fft, HALCON 11.0: the pixelwise product with a real or complex
// filter, and with the second spectrum's conjugate; infinities and NaN among the values send
// some products through std::complex's recovery, huge ones past the float range.
TEST(FftPaths, SpectrumProductsAsPortable) {
  SettingsRestored restored;
  for (const Side side : kSides) {
    const HObject spectra[] = {randomComplex(side, 8), randomComplex(side, 9, true)};
    const HObject filters[] = {randomImage("real", side, 10, true), randomComplex(side, 11, true)};
    for (const HObject& spectrum : spectra) {
      for (const HObject& filter : filters) {
        expectPortable(label("convol_fft", side),
                       [&](HObject* out) { ConvolFft(spectrum, filter, out); });
      }
      expectPortable(label("correlation_fft", side),
                     [&](HObject* out) { CorrelationFft(spectrum, filters[1], out); });
    }
  }
}

}  // namespace
