// edges_sub_pix's linking where the rows' tables and the groups' union-find share one job of the
// operators' threads: groups that cross every part of rows (stripes down, across and along the
// diagonals), parts of one row, rows without a point between groups, and domains that leave
// whole parts empty; every contour point and attribute the same as the portable path's, in the
// same order.
#include <gtest/gtest.h>

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

// Grey values of the pattern at (x, y); a little noise is added, so that amplitudes rarely tie.
using Pattern = std::function<int(Hlong x, Hlong y)>;

std::vector<std::uint8_t> patternPlane(Size size, const Pattern& pattern) {
  std::vector<std::uint8_t> p = randomPlane(size, 41);
  for (Hlong y = 0; y < size.height; ++y) {
    for (Hlong x = 0; x < size.width; ++x) {
      std::uint8_t& v = p[static_cast<std::size_t>(y * size.width + x)];
      v = static_cast<std::uint8_t>(pattern(x, y) + v % 6);
    }
  }
  return p;
}

// The domains each image is tried with (domainsOf's), and bars of rows far apart, so that the
// parts of rows between them hold no point.
std::vector<std::pair<std::string, HObject>> linkDomains(const HObject& image, Size size) {
  std::vector<std::pair<std::string, HObject>> domains = domainsOf(image, size);
  if (size.height >= 12) {
    HObject top, bottom, bars, reduced;
    GenRectangle1(&top, 0, 0, size.height / 6, size.width - 1);
    GenRectangle1(&bottom, size.height - size.height / 6 - 1, 1, size.height - 1, size.width - 2);
    Union2(top, bottom, &bars);
    ReduceDomain(image, bars, &reduced);
    domains.emplace_back("far bars", reduced);
  }
  return domains;
}

TEST(EdgeLinkJobPaths, LinkingInOneJobGivesThePortableContours) {
  SettingsRestored restored;
  const std::pair<const char*, Pattern> patterns[] = {
      // Edges down every row: each group crosses every part of rows.
      {"columns", [](Hlong x, Hlong) { return (x / 9) % 2 ? 170 : 50; }},
      // Edges along the rows: groups inside one row's part, or across two.
      {"rows", [](Hlong, Hlong y) { return (y / 5) % 2 ? 160 : 60; }},
      // Diagonal edges, which meet the next part's first row by a corner.
      {"diagonals", [](Hlong x, Hlong y) { return ((x + y) / 11) % 2 ? 180 : 40; }},
      {"antidiagonals", [](Hlong x, Hlong y) { return ((x + 3 * y) / 13) % 2 ? 150 : 70; }},
      // Rings: closed contours across parts, and plain noise: many small groups.
      {"rings",
       [](Hlong x, Hlong y) {
         const Hlong cx = x % 40 - 20, cy = y % 40 - 20;
         return (cx * cx + cy * cy) / 60 % 2 ? 190 : 30;
       }},
      {"noise", [](Hlong, Hlong) { return 100; }}};
  // Heights of one row, of fewer rows than parts and of more; widths around a vector's length.
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{37, 5}, {61, 83}}
                   : std::vector<Size>{{37, 5}, {61, 83}, {9, 131}, {150, 1}, {203, 47}};
  for (const Size size : sizes) {
    for (const auto& [name, pattern] : patterns) {
      std::vector<std::uint8_t> plane = patternPlane(size, pattern);
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : linkDomains(gray, size)) {
        for (const double low : {2.0, 15.0}) {
          const std::string label = labelOf("edges_sub_pix canny 1", low, name, size, domain);
          expectSameAsPortable<std::vector<double>>(label, [&, &input = input] {
            HObject edges;
            EdgesSubPix(input, &edges, "canny", 1, low, 3 * low);
            return contourValues(edges);
          });
        }
      }
    }
  }
}

}  // namespace
