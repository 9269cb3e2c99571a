// edges_sub_pix's windows of gradients against the portable path where a thread's window takes
// the rows it shares with the window the same thread worked before (above it on the calling
// thread, below it on the pool's), where windows between them hold no part of the domain, and
// where a call follows another image's of the same size; and its smoothing down the columns in
// whole vectors of eight past the end of a stretch of columns: every contour point and attribute
// the same, in the same order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

struct EdgeCall {
  const char* filter;
  double alpha, low, high;
};

std::string nameOf(const EdgeCall& call) {
  return labelOf("edges_sub_pix", call.filter, call.alpha, call.low, call.high);
}

HObject edgesOf(const HObject& image, const EdgeCall& call) {
  HObject edges;
  EdgesSubPix(image, &edges, call.filter, call.alpha, call.low, call.high);
  return edges;
}

// The benchmark's scene: bright discs every 64 pixels on a ramp that wraps every 32 grey values,
// with a little noise; `shift` moves the discs, so that two images of one size differ.
std::vector<std::uint8_t> scenePlane(Size size, int shift) {
  std::vector<std::uint8_t> p = randomPlane(size, static_cast<std::uint32_t>(7 + shift));
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const Hlong cx = (x + shift) % 64 - 32, cy = (y + 2 * shift) % 64 - 32;
      const bool disc = cx * cx + cy * cy < 18 * 18;
      std::uint8_t& v = p[static_cast<std::size_t>(y * size.width + x)];
      v = static_cast<std::uint8_t>((disc ? 200 : 40 + (x + y) % 32) + v % 8);
    }
  }
  return p;
}

// Grey values that step down the columns every 32 rows and along the rows every 29 columns,
// with noise: edges in the rows where windows meet, and in their shared rows.
std::vector<std::uint8_t> gridPlane(Size size) {
  std::vector<std::uint8_t> p = randomPlane(size, 23);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      std::uint8_t& v = p[static_cast<std::size_t>(y * size.width + x)];
      v = static_cast<std::uint8_t>(60 + 90 * (((y / 32) + (x / 29)) % 2) + v % 12);
    }
  }
  return p;
}

// domainsOf's, and (on images tall enough) two bars of rows with a gap of 80 rows between them, so
// that the windows in the gap hold no part of the domain and a thread's windows on either side are
// not neighbours; and a staircase of short runs, one a row, each window's rows beginning further
// right.
std::vector<std::pair<std::string, HObject>> windowDomains(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> domains = domainsOf(image, size);
  HObject stairs, reduced;
  if (size.height / 4 + 81 < size.height) {
    HObject top, bottom, gap;
    GenRectangle1(&top, 0, 0, size.height / 4, size.width - 1);
    GenRectangle1(&bottom, size.height / 4 + 81, 2, size.height - 1, size.width - 3);
    Union2(top, bottom, &gap);
    ReduceDomain(image, gap, &reduced);
    domains.emplace_back("gap", reduced);
  }
  HTuple rows, begins, ends;
  for (Hlong r = 0; r < size.height; ++r) {
    const Hlong begin = (r * 7) % std::max<Hlong>(1, size.width - 20);
    rows.Append(r), begins.Append(begin), ends.Append(std::min(size.width - 1, begin + 19));
  }
  GenRegionRuns(&stairs, rows, begins, ends);
  ReduceDomain(image, stairs, &reduced);
  domains.emplace_back("stairs", reduced);
  return domains;
}

using PlaneOf = std::function<std::vector<std::uint8_t>(Size)>;

struct Sweep {
  const char* what;
  std::vector<Size> sizes;
  std::vector<std::pair<const char*, PlaneOf>> planes;
  std::vector<EdgeCall> calls;
};

TEST(EdgeSharedRowsPaths, WindowsInTurnGiveThePortableContours) {
  SettingsRestored restored;
  const PlaneOf scene = [](Size size) { return scenePlane(size, 0); };
  const Sweep sweeps[] = {
      // Windows of 32 rows taken in turn from both ends: an even and an odd count of them, the
      // one where the threads meet split in halves, a last window of a few rows. Canny's
      // Gaussians of reaches 3, 2 and 8, Sobel's masks, and the recursive filters' taller
      // windows with their zero border.
      {"windows in turn",
       quickSweep() ? std::vector<Size>{{97, 203}}
                    : std::vector<Size>{{97, 203}, {300, 161}, {64, 449}},
       {{"scene", scene}, {"grid", &gridPlane}},
       {{"canny", 1, 20, 40},
        {"canny", 0.6, 10, 30},
        {"canny", 2.5, 5, 15},
        {"sobel_fast", 1, 10, 40},
        {"deriche2", 1.5, 8, 30}}},
      // Stretches of columns that end a few columns short of a vector of eight past the reach:
      // widths a tile and a few columns, stretches cut by the domain's runs; Low 0 keeps every
      // pixel of some gradient, so that every stretch is worked out.
      {"stretch ends",
       {{263, 70}, {517, 41}, {35, 90}},
       {{"scene", scene}},
       {{"canny", 1, 0, 0}, {"canny", 1, 20, 40}, {"canny", 1.7, 5, 20}, {"shen", 0.9, 5, 20}}}};
  for (const Sweep& sweep : sweeps) {
    for (const Size size : sweep.sizes) {
      for (const auto& [image, make] : sweep.planes) {
        std::vector<std::uint8_t> plane = make(size);
        const HObject gray = wrapGray(plane, size.width, size.height);
        for (const auto& [domain, input] : windowDomains(gray, size)) {
          for (const EdgeCall& call : sweep.calls) {
            const std::string label = labelOf(sweep.what, nameOf(call), image, size, domain);
            expectSameAsPortable<std::vector<double>>(
                label, [&, &input = input] { return contourValues(edgesOf(input, call)); });
          }
        }
      }
    }
  }
}

// A call right after one on another image of the same size and domain: the windows each thread
// keeps from call to call hold that image's rows, which this call must not take.
TEST(EdgeSharedRowsPaths, CallsAfterAnotherImageOfTheSameSizeGiveThePortableContours) {
  SettingsRestored restored;
  const EdgeCall calls[] = {{"canny", 1, 20, 40}, {"deriche2", 1.5, 8, 30}};
  for (const Size size : {Size{300, 161}, Size{97, 203}}) {
    std::vector<std::uint8_t> before = scenePlane(size, 0), after = scenePlane(size, 21);
    const HObject first = wrapGray(before, size.width, size.height);
    const HObject second = wrapGray(after, size.width, size.height);
    for (const EdgeCall& call : calls) {
      expectSameAsPortable<std::vector<double>>(labelOf("after another image", nameOf(call), size),
                                                [&] {
                                                  edgesOf(first, call);
                                                  return contourValues(edgesOf(second, call));
                                                });
    }
  }
}

}  // namespace
