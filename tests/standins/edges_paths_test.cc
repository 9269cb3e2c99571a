// edges_sub_pix's vector paths against the portable path: its maxima found eight candidates at
// a time, its windows handed to whichever thread is free and its tiles of columns, on images
// whose edges run in every direction and reach the image's borders, where the interpolation
// clamps; its groups of columns left out where the range of grey values they read keeps every
// amplitude below Low; steps where its windows meet; and its linking on any threads, with
// lines_gauss's, groups joined across bands included: every contour point and attribute the
// same, in the same order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// A call that makes contours: edges_sub_pix with Filter, Alpha, Low and High, or where `filter`
// is null lines_gauss's light bar-shaped lines of Sigma 1.5, Low 2 and High 6, which link one
// list of points.
struct ContourCall {
  const char* filter;
  double alpha, low, high;
};
constexpr ContourCall kLinesGauss{nullptr, 1.5, 2, 6};

std::string nameOf(const ContourCall& call) {
  if (!call.filter) return "lines_gauss 1.5 2 6 light";
  return labelOf("edges_sub_pix", call.filter, call.alpha, call.low, call.high);
}

HObject contoursOf(const HObject& image, const ContourCall& call) {
  HObject contours;
  if (call.filter) {
    EdgesSubPix(image, &contours, call.filter, call.alpha, call.low, call.high);
  } else {
    LinesGauss(image, &contours, 1.5, 2, 6, "light", "true", "bar-shaped", "false");
  }
  return contours;
}

// Discs and a ramp cut off at random grey values, with a little noise: edges of every
// direction, some of them crossing the borders, and plateaus of equal amplitude.
std::vector<std::uint8_t> discsPlane(Size size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> p(static_cast<std::size_t>(size.width * size.height));
  const double cy = static_cast<double>(random() % 97) / 96.0 * static_cast<double>(size.height);
  const double cx = static_cast<double>(random() % 97) / 96.0 * static_cast<double>(size.width);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double d = std::hypot(static_cast<double>(y) - cy, static_cast<double>(x) - cx);
      const int ring = static_cast<int>(d / 7.5) % 2;
      const int ramp = static_cast<int>((x + 2 * y) % 23);
      p[static_cast<std::size_t>(y * size.width + x)] =
          static_cast<std::uint8_t>(40 + 150 * ring + ramp + static_cast<int>(random() % 4));
    }
  }
  return p;
}

// Rings of 200 on 40 every 16 pixels, so that every row holds points of several closed
// contours, and noise on top where `noisy`.
std::vector<std::uint8_t> ringsPlane(Size size, bool noisy) {
  std::vector<std::uint8_t> plane = randomPlane(size, 11);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double r = std::hypot(double(y % 16) - 7.5, double(x % 16) - 7.5);
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((r < 5 ? 200 : 40) + (noisy ? p % 24 : 0));
    }
  }
  return plane;
}

// Discs of 200 on a ramp every 40 pixels, with noise: long closed contours of strong points
// beside short chains of weak ones, in every row and reaching the image's borders.
std::vector<std::uint8_t> rampDiscsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 7);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double r = std::hypot(double(y % 40) - 19.5, double(x % 40) - 21.5);
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((r < 12 ? 200 : 40 + (x + y) % 29) + p % 8);
    }
  }
  return plane;
}

// Low steps every 41 columns and 29 rows on a flat grey with a little noise: groups of columns
// far from them are left out, those beside them (on either side) are not.
std::vector<std::uint8_t> stepsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 5);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>(100 + 12 * ((x / 41 + y / 29) % 2) + p % 3);
    }
  }
  return plane;
}

// Grey values that change down the columns alone, in steps between every 32nd row and the next
// (where edges_sub_pix's windows meet): every gradient lies along the columns, and each step's
// two rows have the same amplitude, so that the point is the first row's, the last of its window,
// whose interpolation ahead lands on the next row but one.
std::vector<std::uint8_t> rowStepsPlane(Size size) {
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
  for (Hlong y = 0; y < size.height; ++y) {
    const int value = (y / 32) % 2 == 0 ? 40 : 180;
    for (Hlong x = 0; x < size.width; ++x) {
      plane[static_cast<std::size_t>(y * size.width + x)] = static_cast<std::uint8_t>(value);
    }
  }
  return plane;
}

// The same along the rows: every gradient along the rows.
std::vector<std::uint8_t> columnStepsPlane(Size size) {
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const int value = x % 13 < 6 ? 50 + static_cast<int>(x % 5) : 190;
      plane[static_cast<std::size_t>(y * size.width + x)] = static_cast<std::uint8_t>(value);
    }
  }
  return plane;
}

// Steps down the columns with noise on them: gradients near the columns, of both signs.
std::vector<std::uint8_t> noisyStepsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 17);
  const std::vector<std::uint8_t> steps = rowStepsPlane(size);
  for (std::size_t i = 0; i < plane.size(); ++i) {
    plane[i] = static_cast<std::uint8_t>(steps[i] + plane[i] % 16);
  }
  return plane;
}

// Combs: upright bars joined by a bar along the bottom, so that each comb's group is found as
// many groups in the rows above and joined only at its foot; every other comb faint, a weak
// group between two strong ones.
std::vector<std::uint8_t> combsPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 5);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const Hlong comb = x / 40;
      const bool tooth = x % 8 < 3 && x % 40 < 32 && y > 3;
      const bool foot = y > size.height - 12 && y < size.height - 4 && x % 40 < 32;
      const int inside = comb % 2 == 1 ? 100 : 220;
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((tooth || foot ? inside : 50) + p % 6);
    }
  }
  return plane;
}

// A square spiral: one group from the image's middle to its edge, whose least point lies in
// the top rows and whose last in the bottom ones.
std::vector<std::uint8_t> spiralPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 11);
  const double cy = 0.5 * static_cast<double>(size.height);
  const double cx = 0.5 * static_cast<double>(size.width);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double dy = static_cast<double>(y) - cy, dx = static_cast<double>(x) - cx;
      const double a = std::atan2(dy, dx) / (2 * 3.14159265358979);
      const double ring = std::max(std::fabs(dy), std::fabs(dx)) / 10 - a;
      const bool on = ring - std::floor(ring) < 0.45;
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((on ? 190 : 70) + p % 10);
    }
  }
  return plane;
}

// Noise alone: many small groups, strong and weak, side by side.
std::vector<std::uint8_t> noisePlane(Size size) {
  return randomPlane(size, 17);
}

// The domains of domainsOf, and a strip of columns away from both sides, so that a window
// starts and ends inside the image at columns that are no multiple of eight.
std::vector<std::pair<std::string, HObject>> domainsWithStrip(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> domains = domainsOf(image, size);
  HObject strip, reduced;
  GenRectangle1(&strip, 3, size.width / 3 + 5, size.height - 2, 2 * size.width / 3 + 3);
  ReduceDomain(image, strip, &reduced);
  domains.emplace_back("strip", reduced);
  return domains;
}

using PlaneOf = std::function<std::vector<std::uint8_t>(Size)>;
using DomainsOf = std::function<std::vector<std::pair<std::string, HObject>>(const HObject&, Size)>;

struct Sweep {
  const char* what;
  std::vector<Size> sizes;
  std::vector<std::pair<const char*, PlaneOf>> planes;
  DomainsOf domains;
  std::vector<ContourCall> calls;
  // On the full domain of an image of more than 4000 pixels, at least this many contours, so
  // that their order tells.
  Hlong fewestContours = 0;
};

TEST(EdgesPaths, SweepsGiveThePortableContours) {
  SettingsRestored restored;
  const auto seeded = [](std::vector<std::uint8_t> (*plane)(Size, std::uint32_t)) -> PlaneOf {
    return [plane](Size size) {
      return plane(size, static_cast<std::uint32_t>(size.width * 31 + size.height));
    };
  };
  const auto wide = [](std::vector<Size> sizes) {
    return quickSweep() ? std::vector<Size>{sizes.front()} : sizes;
  };
  const Sweep sweeps[] = {
      // Maxima eight candidates at a time, on edges of every direction: the benchmark's filter;
      // every amplitude above 0 a candidate; sharper and wider Gaussians; the recursive filters,
      // whose windows are taller; the fixed Sobel masks.
      {"maxima",
       sweepSizes(),
       {{"flat stretches", seeded(&randomPlane)}, {"discs", seeded(&discsPlane)}},
       domainsOf,
       {{"canny", 1, 20, 40},
        {"canny", 1.3, 0, 5},
        {"canny", 0.6, 10, 30},
        {"canny", 2.5, 10, 30},
        {"deriche2", 1.5, 8, 30},
        {"lanser1", 0.8, 5, 20},
        {"lanser1", 0.4, 10, 30},
        {"sobel_fast", 1, 10, 40}}},
      // Canny 1 reads 3 columns beyond a tile of 256, 'deriche2' 1.5 reads 17 beyond its 272:
      // widths of a tile and a column, a tile, two tiles and a few columns, one column; a vector
      // and a few columns short of a strip of 32, a strip and one; heights of one row, a block
      // of 32 and a last block of one or a few rows. Low 0 keeps every pixel of some gradient.
      {"tiles",
       {{257, 9},
        {256, 5},
        {517, 7},
        {1, 40},
        {1, 7},
        {13, 1},
        {29, 32},
        {33, 65},
        {95, 99},
        {40, 3}},
       {{"flat stretches",
         [](Size size) { return randomPlane(size, static_cast<std::uint32_t>(size.width)); }}},
       domainsOf,
       {{"canny", 1, 0, 0}, {"canny", 1, 8, 30}, {"canny", 1.5, 8, 30}, {"deriche2", 1.5, 8, 30}}},
      // The linking's tables of rows filled in bands and its points' groups of 8-neighbours
      // walked apart; 91 and 301 end the lines' sums in whole groups of eight columns and a
      // few single ones.
      {"linking",
       quickSweep() ? std::vector<Size>{{37, 5}, {91, 45}} : std::vector<Size>{{91, 45}, {301, 97}},
       {{"clean", [](Size size) { return ringsPlane(size, false); }},
        {"noisy", [](Size size) { return ringsPlane(size, true); }}},
       domainsOf,
       {{"canny", 1, 5, 15}, {"canny", 1, 20, 40}, kLinesGauss},
       11},
      // Tiles clear of both sides (at 256 and at 288 columns), and a last tile that is short
      // and ends in a partial group of eight columns; groups left out far from the steps and
      // not beside them: the benchmark's filter; weak points everywhere and strong ones only
      // on the discs; every point strong; a Gaussian wide enough that its tiles grow past 256
      // columns; the Sobel masks, whose tiles read one column beyond; Lows about the limit of
      // the groups left out.
      {"wide tiles",
       wide({{611, 23}, {1187, 61}}),
       {{"discs", &rampDiscsPlane}, {"steps", &stepsPlane}},
       domainsWithStrip,
       {{"canny", 1, 20, 40},
        {"canny", 1.5, 3, 60},
        {"canny", 0.8, 0, 0},
        {"canny", 6, 1, 4},
        {"sobel_fast", 1, 10, 40},
        {"canny", 1, 4, 8},
        {"canny", 1, 3, 9},
        {"sobel_fast", 1, 5, 9},
        kLinesGauss}},
      // Steps where the windows of 32 rows meet: the interpolation ahead of a window's last row
      // reads the next row but one, which windows work out only as a row of zeros at a weight
      // of 0; rows that end before, at and after a window's. Canny's Gaussians of a reach of 3
      // and of 8, Sobel's masks, and the recursive filters, whose smoothing weights at the
      // kernel's far end are of either sign (their sums start from the first tap's products
      // only where it is not negative).
      {"window edges",
       quickSweep() ? std::vector<Size>{{45, 65}} : std::vector<Size>{{45, 65}, {77, 96}, {31, 97}},
       {{"row steps", &rowStepsPlane},
        {"column steps", &columnStepsPlane},
        {"noisy steps", &noisyStepsPlane}},
       domainsOf,
       {{"canny", 1, 20, 40},
        {"canny", 2.5, 5, 15},
        {"sobel_fast", 1, 10, 30},
        {"deriche1", 1.5, 8, 20},
        {"deriche2", 0.7, 5, 20},
        {"lanser2", 2, 5, 20},
        {"shen", 0.9, 5, 20}}},
      // Groups on several threads, chained behind their first points: groups that join far
      // below their first rows, across the bands the union-find works in, and weak groups
      // between strong ones.
      {"groups",
       {{161, 97}, {333, 211}},
       {{"combs", &combsPlane}, {"spiral", &spiralPlane}, {"noise", &noisePlane}},
       domainsOf,
       {{"canny", 1, 20, 40}, {"canny", 1.5, 5, 60}, {"sobel_fast", 1, 30, 90}}}};
  for (const Sweep& sweep : sweeps) {
    for (const Size size : sweep.sizes) {
      for (const auto& [image, make] : sweep.planes) {
        std::vector<std::uint8_t> plane = make(size);
        const HObject gray = wrapGray(plane, size.width, size.height);
        for (const auto& [domain, input] : sweep.domains(gray, size)) {
          for (const ContourCall& call : sweep.calls) {
            const std::string label = labelOf(sweep.what, nameOf(call), image, size, domain);
            if (sweep.fewestContours > 0 && domain == "full" && size.width * size.height > 4000) {
              EXPECT_GE(contoursOf(input, call).CountObj(), sweep.fewestContours) << label;
            }
            expectSameAsPortable<std::vector<double>>(
                label, [&, &input = input] { return contourValues(contoursOf(input, call)); });
          }
        }
      }
    }
  }
}

// Several images in one object: each one's windows are shared out afresh, and the contours
// follow the images' order.
TEST(EdgesPaths, ImagesOfOneObjectKeepTheirOrder) {
  SettingsRestored restored;
  const Size sizes[] = {{301, 97}, {37, 5}, {160, 121}};
  std::vector<std::vector<std::uint8_t>> planes;
  for (const Size size : sizes) planes.push_back(discsPlane(size, 5));
  HObject images;
  GenEmptyObj(&images);
  for (std::size_t i = 0; i < planes.size(); ++i) {
    HObject joined;
    ConcatObj(images, wrapGray(planes[i], sizes[i].width, sizes[i].height), &joined);
    images = joined;
  }
  expectSameAsPortable<std::vector<double>>("three images", [&] {
    HObject edges;
    EdgesSubPix(images, &edges, "canny", 1, 20, 40);
    return contourValues(edges);
  });
}

// The linking's plane of states and the windows are kept from call to call: a call after
// another on a different image of the same size, and after one of another size, gives what the
// first call gave.
TEST(EdgesPaths, CallsAfterOthersGiveTheSameContours) {
  SettingsRestored restored;
  const Size size{301, 97}, other{160, 121};
  std::vector<std::uint8_t> first = discsPlane(size, 1), second = randomPlane(size, 2);
  std::vector<std::uint8_t> third = discsPlane(other, 3);
  const HObject a = wrapGray(first, size.width, size.height);
  const HObject b = wrapGray(second, size.width, size.height);
  const HObject c = wrapGray(third, other.width, other.height);
  const auto edgesOf = [](const HObject& image) {
    HObject edges;
    EdgesSubPix(image, &edges, "canny", 1, 20, 40);
    return contourValues(edges);
  };
  for (const Hlong threads : {1, 2}) {
    SetSystem("thread_num", threads);
    const std::vector<double> alone = edgesOf(a);
    ASSERT_GT(alone.size(), 100u);
    edgesOf(b);
    EXPECT_EQ(edgesOf(a), alone) << threads;
    edgesOf(c);
    EXPECT_EQ(edgesOf(a), alone) << threads;
  }
}

// The steps' contours are there to compare: each plane gives some on its full domain.
TEST(EdgesPaths, StepPlanesGiveContours) {
  SettingsRestored restored;
  const Size size{77, 96};
  for (const auto& [name, make] : {std::pair<const char*, PlaneOf>{"row steps", &rowStepsPlane},
                                   {"column steps", &columnStepsPlane},
                                   {"noisy steps", &noisyStepsPlane}}) {
    std::vector<std::uint8_t> plane = make(size);
    HObject edges;
    HTuple count;
    EdgesSubPix(wrapGray(plane, size.width, size.height), &edges, "canny", 1, 20, 40);
    CountObj(edges, &count);
    EXPECT_GT(count[0].L(), 0) << name;
  }
}

}  // namespace
