// edges_sub_pix's linking on several threads: each group of points walked and its states cleared
// on the thread that walks it, the weak groups' where they are found, so that the next call of the
// same size starts from a clear plane; and the normals turned to the right of each contour, their
// side decided without the library's cos and sin unless a normal lies along its tangent.
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

using PlaneOf = std::function<std::vector<std::uint8_t>(Size)>;

// Discs of 200 every 24 pixels on a ramp, beside faint discs of 110 whose edges reach Low but not
// High: strong closed groups, weak groups that are never walked, and the walks' neighbours
// in rows other groups share.
std::vector<std::uint8_t> strongAndWeakPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 3);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double r = std::hypot(double(y % 24) - 11.5, double(x % 24) - 12.5);
      const bool faint = (x / 24 + y / 24) % 2 == 1;
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      const int inside = faint ? 110 : 200;
      p = static_cast<std::uint8_t>((r < 8 ? inside : 40 + (x + 2 * y) % 9) + p % 4);
    }
  }
  return plane;
}

// Steps along lines of every slope through the centre, so that normals point in every direction
// and some lie near their tangents at the corners, and noise everywhere.
std::vector<std::uint8_t> spokesPlane(Size size) {
  std::vector<std::uint8_t> plane = randomPlane(size, 9);
  const double cy = 0.5 * static_cast<double>(size.height);
  const double cx = 0.5 * static_cast<double>(size.width);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      const double a = std::atan2(static_cast<double>(y) - cy, static_cast<double>(x) - cx);
      const int sector = static_cast<int>(std::floor(a / (3.14159265358979 / 9)));
      std::uint8_t& p = plane[static_cast<std::size_t>(y * size.width + x)];
      p = static_cast<std::uint8_t>((sector % 2 == 0 ? 60 : 180) + p % 16);
    }
  }
  return plane;
}

struct Call {
  const char* filter;
  double alpha, low, high;
};

HObject edgesOf(const HObject& image, const Call& call) {
  HObject edges;
  EdgesSubPix(image, &edges, call.filter, call.alpha, call.low, call.high);
  return edges;
}

const std::pair<const char*, PlaneOf> kPlanes[] = {{"strong and weak", &strongAndWeakPlane},
                                                   {"spokes", &spokesPlane}};
const Call kCalls[] = {{"canny", 1, 20, 40}, {"canny", 0.8, 10, 50}, {"sobel_fast", 1, 8, 30}};

// The contours of every call, in a sequence of calls of one size that alternates the images on
// threads with bands of few pixels (the linking's groups walked apart even on small images), and on
// one thread in between, which floods the plane the others left:
// each call gives what the portable path gives alone, whatever call came before.
TEST(EdgeLinkingPaths, CallsInTurnOnThreadsGiveThePortableContours) {
  SettingsRestored restored;
  for (const Size size : {Size{97, 61}, Size{333, 129}}) {
    std::vector<std::vector<std::uint8_t>> planes;
    std::vector<HObject> images;
    for (const auto& [name, make] : kPlanes) {
      planes.push_back(make(size));
      images.push_back(wrapGray(planes.back(), size.width, size.height));
    }
    std::vector<std::vector<double>> portable;
    SetSystem("standin_simd", "false");
    SetSystem("thread_num", 1);
    for (const HObject& image : images) {
      for (const Call& call : kCalls) portable.push_back(contourValues(edgesOf(image, call)));
    }
    SetSystem("standin_simd", "true");
    for (const Hlong bandPixels : {Hlong{1}, Hlong{1000}}) {
      SetSystem("standin_band_pixels", bandPixels);
      for (const Hlong threads : {Hlong{2}, Hlong{1}, Hlong{3}}) {
        SetSystem("thread_num", threads);
        // Twice round, so that each call follows both another image and itself.
        for (int round = 0; round < 2; ++round) {
          std::size_t at = 0;
          for (std::size_t i = 0; i < images.size(); ++i) {
            for (const Call& call : kCalls) {
              const std::string label = labelOf(
                  kPlanes[i].first, call.filter, call.alpha, call.low, call.high, size,
                  "band pixels " + std::to_string(bandPixels),
                  "thread_num " + std::to_string(threads), "round " + std::to_string(round));
              EXPECT_TRUE(contourValues(edgesOf(images[i], call)) == portable[at++]) << label;
            }
          }
        }
      }
    }
  }
}

// Every contour point's normal ('angle', counter-clockwise from the row axis) lies to the right
// of the way the contour runs, from the point before it to the one after (a closed contour's
// ring wrapping round): on one thread and on several, and the same as on the portable path.
TEST(EdgeLinkingPaths, NormalsLieRightOfTheWay) {
  SettingsRestored restored;
  const Size size{211, 157};
  for (const auto& [name, make] : kPlanes) {
    std::vector<std::uint8_t> plane = make(size);
    const HObject image = wrapGray(plane, size.width, size.height);
    for (const Call& call : kCalls) {
      const std::string label = labelOf(name, call.filter, call.alpha, call.low, call.high);
      expectSameAsPortable<std::vector<double>>(
          label, [&] { return contourValues(edgesOf(image, call)); });
      for (const Hlong threads : {Hlong{1}, Hlong{2}}) {
        SetSystem("thread_num", threads);
        const HObject edges = edgesOf(image, call);
        HTuple count;
        CountObj(edges, &count);
        ASSERT_GT(count[0].L(), 3) << label;
        Hlong points = 0;
        for (Hlong c = 1; c <= count[0].L(); ++c) {
          HObject one;
          HTuple rows, cols, angles;
          SelectObj(edges, &one, c);
          GetContourXld(one, &rows, &cols);
          GetContourAttribXld(one, "angle", &angles);
          const Hlong n = rows.Length();
          const bool closed =
              n > 2 && rows[0].D() == rows[n - 1].D() && cols[0].D() == cols[n - 1].D();
          const Hlong ring = closed ? n - 1 : n;
          for (Hlong i = 0; i < n; ++i) {
            const Hlong at = i == ring ? 0 : i;
            const Hlong before = at > 0 ? at - 1 : (closed ? ring - 1 : 0);
            const Hlong after = at + 1 < ring ? at + 1 : (closed ? 0 : n - 1);
            const double tr = rows[after].D() - rows[before].D();
            const double tc = cols[after].D() - cols[before].D();
            const double theta = angles[i].D();
            EXPECT_GT(theta, -3.14159265358980) << label;
            EXPECT_LE(theta, 3.14159265358980) << label;
            EXPECT_GE(std::cos(theta) * tc - std::sin(theta) * tr,
                      -1e-12 * (std::fabs(tr) + std::fabs(tc)))
                << label << ", contour " << c << ", point " << i;
            ++points;
          }
        }
        EXPECT_GT(points, 100) << label;
      }
    }
  }
}

}  // namespace
