// smooth_image 'gauss' against the portable path where its rows are summed with the columns in
// four phases, blocks of 64 and 128 pixels: rows of every length about those blocks, spans that
// start in each phase, every reach of the floats' taps; and pixels the floats cannot decide
// only in some columns, so that each undecided lane is found back at its own column.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

std::vector<std::uint8_t> smoothed(const HObject& image, double sigma) {
  HObject out;
  SmoothImage(image, &out, "gauss", sigma);
  return bytesOf(out);
}

// The image, and spans of rows that begin at columns 1, 2 and 3 and end short of the last
// column by as many, so that a row's blocks start in every phase.
std::vector<std::pair<std::string, HObject>> shiftedDomains(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> domains{{"full", image}};
  for (const Hlong shift : {1, 2, 3}) {
    if (size.width <= 2 * shift) continue;
    HObject rectangle, reduced;
    GenRectangle1(&rectangle, 0, shift, size.height - 1, size.width - 1 - shift);
    ReduceDomain(image, rectangle, &reduced);
    domains.emplace_back("columns from " + std::to_string(shift), reduced);
  }
  return domains;
}

// Widths about one and two blocks of 64 and beyond; sigmas whose floats reach every number of
// taps the phases take (1 ... 15) and a few beyond them.
TEST(GaussPhasesPaths, BlocksOfPhasesGiveThePortableResult) {
  SettingsRestored restored;
  std::vector<Hlong> widths{64, 65, 127, 128, 129, 131, 193, 259};
  if (quickSweep()) widths = {65, 131};
  std::vector<double> sigmas;
  for (int tenths = 2; tenths <= 32; ++tenths) sigmas.push_back(tenths / 10.0);
  for (const Hlong width : widths) {
    const Size size{width, 11};
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(width) * 7);
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : shiftedDomains(image, size)) {
      for (const double sigma : sigmas) {
        expectSameAsPortable<std::vector<std::uint8_t>>(
            labelOf("smooth_image gauss", sigma, size, domain),
            [&, &input = input] { return smoothed(input, sigma); });
      }
    }
  }
}

// A flat grey with a stripe of checks in it: the checks' sums lie at x.5 within rounding (the
// weights at even and at odd offsets each sum to a half), the flat grey's far from it, so that
// only the stripe's columns are summed again. Stripes start in each phase of a block and
// across the blocks' edges.
TEST(GaussPhasesPaths, UndecidedColumnsGiveThePortableResult) {
  SettingsRestored restored;
  const Size size{300, 17};
  struct Stripe {
    Hlong begin, width;
  };
  const Stripe stripes[] = {{40, 24}, {41, 30}, {42, 33}, {43, 40}, {100, 60}, {230, 70}};
  const struct {
    std::uint8_t flat, dark, light;
  } greys[] = {{90, 0, 1}, {120, 17, 200}, {7, 36, 101}};
  for (const Stripe& stripe : stripes) {
    for (const auto& grey : greys) {
      std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
      for (Hlong y = 0; y < size.height; ++y) {
        for (Hlong x = 0; x < size.width; ++x) {
          const bool inside = x >= stripe.begin && x < stripe.begin + stripe.width;
          plane[static_cast<std::size_t>(y * size.width + x)] = !inside            ? grey.flat
                                                                : (x + y) % 2 == 1 ? grey.light
                                                                                   : grey.dark;
        }
      }
      const HObject image = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : shiftedDomains(image, size)) {
        for (const double sigma : {1.0, 1.5, 2.0, 2.3, 2.6}) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf("smooth_image gauss", sigma, "stripe from", stripe.begin, int(grey.light),
                      size, domain),
              [&, &input = input] { return smoothed(input, sigma); });
        }
      }
    }
  }
}

}  // namespace
