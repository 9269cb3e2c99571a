// Every pixel of mean_image, gauss_filter and median_image against the reference's
// definitions computed directly here, on an image wider than two vectors with a ragged end,
// for masks that take each of the filters' paths (unrolled, running, wide sums; networks and
// histograms).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

constexpr Hlong kWidth = 71, kHeight = 23;

struct Noise {
  std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> values(kWidth * kHeight);
    std::uint32_t state = 11;
    for (auto& p : values) {
      p = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 24);
    }
    return values;
  }();
  HObject image = wrapGray(pixels, kWidth, kHeight);

  int mirrored(Hlong row, Hlong col) const {
    const auto fold = [](Hlong i, Hlong n) {
      while (i < 0 || i >= n) i = i < 0 ? -i - 1 : 2 * n - i - 1;
      return i;
    };
    return pixels[static_cast<std::size_t>(fold(row, kHeight) * kWidth + fold(col, kWidth))];
  }
};

using Expected = std::function<int(const Noise&, Hlong, Hlong)>;

void expectEveryPixel(const HObject& result, const Noise& noise, const Expected& expected,
                      const std::string& name) {
  HTuple pointer, type, width, height;
  GetImagePointer1(result, &pointer, &type, &width, &height);
  const std::uint8_t* out = pointerOf(pointer);
  int wrong = 0;
  for (Hlong row = 0; row < kHeight; ++row) {
    for (Hlong col = 0; col < kWidth; ++col) {
      const int want = expected(noise, row, col);
      const int got = out[row * kWidth + col];
      if (got != want && ++wrong <= 3) {
        ADD_FAILURE() << name << " at " << row << ", " << col << ": " << got << ", not " << want;
      }
    }
  }
}

// Each row: the mask; the mean is the sum plus half the count, divided by the count, down.
TEST(FilterPaths, MeanImageRoundsTheMaskSum) {
  const std::pair<Hlong, Hlong> masks[] = {{1, 1},  {3, 3},  {11, 11}, {5, 9},
                                           {15, 1}, {31, 3}, {17, 17}, {4, 6}};
  const Noise noise;
  for (const auto& [w, h] : masks) {
    HObject mean;
    MeanImage(noise.image, &mean, w, h);
    const Hlong hw = w / 2, hh = h / 2, count = (2 * hw + 1) * (2 * hh + 1);
    expectEveryPixel(
        mean, noise,
        [&](const Noise& n, Hlong row, Hlong col) {
          Hlong sum = 0;
          for (Hlong dy = -hh; dy <= hh; ++dy) {
            for (Hlong dx = -hw; dx <= hw; ++dx) sum += n.mirrored(row + dy, col + dx);
          }
          return static_cast<int>((sum + count / 2) / count);
        },
        "mean " + std::to_string(w) + " x " + std::to_string(h));
  }
}

// Each row: the size; weights are binomial coefficients, the sum rounded at 2^(2 (size - 1)).
TEST(FilterPaths, GaussFilterWeighsBinomially) {
  const Noise noise;
  for (const Hlong size : {3, 5, 7, 9, 11}) {
    std::vector<Hlong> weights(static_cast<std::size_t>(size), 0);
    weights[0] = 1;
    for (Hlong n = 1; n < size; ++n) {
      for (Hlong k = n; k > 0; --k) weights[k] += weights[k - 1];
    }
    HObject smooth;
    GaussFilter(noise.image, &smooth, size);
    const Hlong half = size / 2, shift = 2 * (size - 1);
    expectEveryPixel(
        smooth, noise,
        [&](const Noise& n, Hlong row, Hlong col) {
          Hlong sum = 0;
          for (Hlong i = 0; i < size; ++i) {
            for (Hlong j = 0; j < size; ++j) {
              sum += weights[i] * weights[j] * n.mirrored(row + i - half, col + j - half);
            }
          }
          return static_cast<int>((sum + (Hlong(1) << (shift - 1))) >> shift);
        },
        "gauss " + std::to_string(size));
  }
}

// Each row: the mask and radius; the median is the middle of the mask's sorted pixels.
TEST(FilterPaths, MedianImageTakesTheMiddleValue) {
  const std::pair<const char*, Hlong> masks[] = {{"circle", 1}, {"circle", 2}, {"square", 1},
                                                 {"square", 2}, {"circle", 3}, {"square", 3}};
  const Noise noise;
  for (const auto& [type, radius] : masks) {
    HObject median;
    MedianImage(noise.image, &median, type, radius, "mirrored");
    const bool circle = std::string(type) == "circle";
    expectEveryPixel(
        median, noise,
        // An init-capture: C++17 lambdas cannot capture a structured binding.
        [&, radius = radius](const Noise& n, Hlong row, Hlong col) {
          std::vector<int> window;
          for (Hlong dy = -radius; dy <= radius; ++dy) {
            for (Hlong dx = -radius; dx <= radius; ++dx) {
              if (!circle || dx * dx + dy * dy <= radius * radius) {
                window.push_back(n.mirrored(row + dy, col + dx));
              }
            }
          }
          std::sort(window.begin(), window.end());
          return window[window.size() / 2];
        },
        std::string(type) + " " + std::to_string(radius));
  }
}

}  // namespace
