// edges_sub_pix's vector paths against the portable path: its maxima found eight candidates at
// a time, its windows handed to whichever thread is free and its tiles of columns, on images
// whose edges run in every direction and reach the image's borders, where the interpolation
// clamps; its groups of columns left out where the range of grey values they read keeps every
// amplitude below Low; and its linking on any threads, with lines_gauss's: every contour point
// and attribute the same, in the same order.
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

using ContourCall = std::function<void(const HObject&, HObject*)>;

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

TEST(EdgesPaths, MaximaInVectorsGiveThePortablePoints) {
  SettingsRestored restored;
  struct Filter {
    const char* name;
    double alpha, low, high;
  };
  // The benchmark's filter; every amplitude above 0 a candidate; a sharper Gaussian; the
  // recursive filters, whose windows are taller; the fixed Sobel masks.
  const Filter filters[] = {{"canny", 1, 20, 40},     {"canny", 1.3, 0, 5},
                            {"canny", 0.6, 10, 30},   {"canny", 2.5, 10, 30},
                            {"deriche2", 1.5, 8, 30}, {"lanser1", 0.8, 5, 20},
                            {"lanser1", 0.4, 10, 30}, {"sobel_fast", 1, 10, 40}};
  struct Image {
    const char* name;
    std::vector<std::uint8_t> (*plane)(Size, std::uint32_t);
  };
  const Image images[] = {{"flat stretches", &randomPlane}, {"discs", &discsPlane}};
  for (const Size size : sweepSizes()) {
    for (const Image& kind : images) {
      std::vector<std::uint8_t> plane =
          kind.plane(size, static_cast<std::uint32_t>(size.width * 31 + size.height));
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsOf(gray, size)) {
        for (const Filter& f : filters) {
          expectSameAsPortable<std::vector<double>>(
              labelOf(kind.name, f.name, f.alpha, f.low, size, domain), [&, &input = input] {
                HObject edges;
                EdgesSubPix(input, &edges, f.name, f.alpha, f.low, f.high);
                return contourValues(edges);
              });
        }
      }
    }
  }
}

// Canny 1 reads 3 columns beyond a tile of 256, 'deriche2' 1.5 reads 17 beyond its 272: widths
// of a tile and a column, a tile, two tiles and a few columns, one column; a vector and a few
// columns short of a strip of 32, a strip and one; heights of one row, a block of 32 and a last
// block of one or a few rows. Low 0 keeps every pixel of some gradient.
TEST(EdgesPaths, TilesAndBlocksGiveThePortablePoints) {
  SettingsRestored restored;
  const std::pair<const char*, std::vector<double>> filters[] = {{"canny", {1, 0, 0}},
                                                                 {"canny", {1, 8, 30}},
                                                                 {"canny", {1.5, 8, 30}},
                                                                 {"deriche2", {1.5, 8, 30}}};
  const Size sizes[] = {{257, 9}, {256, 5}, {517, 7}, {1, 40},  {1, 7},
                        {13, 1},  {29, 32}, {33, 65}, {95, 99}, {40, 3}};
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject gray = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(gray, size)) {
      for (const auto& [name, p] : filters) {
        expectSameAsPortable<std::vector<double>>(
            labelOf(name, p[0], p[1], size, domain), [&, &input = input, &p = p, name = name] {
              HObject edges;
              EdgesSubPix(input, &edges, name, p[0], p[1], p[2]);
              return contourValues(edges);
            });
      }
    }
  }
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

// The linking's tables of rows filled in bands and its points' groups of 8-neighbours walked
// apart; 91 and 301 end the lines' sums in whole groups of eight columns and a few single ones.
TEST(EdgesPaths, LinkingOnThreadsGivesTheOneThreadContours) {
  SettingsRestored restored;
  const std::pair<const char*, ContourCall> calls[] = {
      {"edges_sub_pix canny 1 5 15",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 5, 15); }},
      {"edges_sub_pix canny 1 20 40",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 20, 40); }},
      {"lines_gauss 1.5 2 6 light", [](const HObject& in, HObject* out) {
         LinesGauss(in, out, 1.5, 2, 6, "light", "true", "bar-shaped", "false");
       }}};
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{37, 5}, {91, 45}} : std::vector<Size>{{91, 45}, {301, 97}};
  for (const Size size : sizes) {
    for (const bool noisy : {false, true}) {
      std::vector<std::uint8_t> plane = ringsPlane(size, noisy);
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsOf(gray, size)) {
        for (const auto& [name, call] : calls) {
          // The larger images hold enough contours for their order to tell.
          if (domain == "full" && size.width * size.height > 4000) {
            HObject contours;
            call(input, &contours);
            EXPECT_GT(contours.CountObj(), 10) << name << ", " << size;
          }
          expectSameAsPortable<std::vector<double>>(
              labelOf(name, size, domain, noisy ? "noisy" : "clean"),
              [&, &input = input, &call = call] {
                HObject contours;
                call(input, &contours);
                return contourValues(contours);
              });
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

TEST(EdgesPaths, WideTilesAndSkippedGroupsGiveThePortableContours) {
  SettingsRestored restored;
  // The benchmark's filter; weak points everywhere and strong ones only on the discs; every
  // point strong; a Gaussian wide enough that its tiles grow past 256 columns; the Sobel masks,
  // whose tiles read one column beyond; lines_gauss, which links one list of points.
  const std::vector<std::pair<const char*, ContourCall>> calls{
      {"edges_sub_pix canny 1 20 40",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 20, 40); }},
      {"edges_sub_pix canny 1.5 3 60",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1.5, 3, 60); }},
      {"edges_sub_pix canny 0.8 0 0",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 0.8, 0, 0); }},
      {"edges_sub_pix canny 6 1 4",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 6, 1, 4); }},
      {"edges_sub_pix sobel_fast 1 10 40",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "sobel_fast", 1, 10, 40); }},
      {"edges_sub_pix canny 1 4 8",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 4, 8); }},
      {"edges_sub_pix canny 1 3 9",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", 1, 3, 9); }},
      {"edges_sub_pix sobel_fast 1 5 9",
       [](const HObject& in, HObject* out) { EdgesSubPix(in, out, "sobel_fast", 1, 5, 9); }},
      {"lines_gauss 1.5 2 6 light",
       [](const HObject& in, HObject* out) {
         LinesGauss(in, out, 1.5, 2, 6, "light", "true", "bar-shaped", "false");
       }},
  };
  // Wide enough for tiles clear of both sides (at 256 and at 288 columns), and one whose last
  // tile is short and ends in a partial group of eight columns.
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{611, 23}} : std::vector<Size>{{611, 23}, {1187, 61}};
  const std::pair<const char*, std::vector<std::uint8_t> (*)(Size)> images[] = {
      {"discs", &rampDiscsPlane}, {"steps", &stepsPlane}};
  for (const Size size : sizes) {
    for (const auto& [image, make] : images) {
      std::vector<std::uint8_t> plane = make(size);
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : domainsWithStrip(gray, size)) {
        for (const auto& [name, call] : calls) {
          expectSameAsPortable<std::vector<double>>(labelOf(name, image, size, domain),
                                                    [&, &input = input, &call = call] {
                                                      HObject contours;
                                                      call(input, &contours);
                                                      return contourValues(contours);
                                                    });
        }
      }
    }
  }
}

}  // namespace
