// smooth_image's recursive filters on bytes as the benchmark's 'deriche2' Alpha 1 runs them,
// against the portable path: images several strips of 64 columns wide (the last strip whole,
// short by a few columns or a single one) and several chunks of 32 rows high (the last chunk
// short), so that the passes down the columns ask ahead for the next strip's lines and, from
// the last strip, for the next chunk's or block's first lines, up and down, at the image's
// edges and the continuation's ends; the benchmark's disc domain; a few other filters and
// Alphas on the same shapes; rows whose spans hold an odd or even number of columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

using Domains = std::vector<std::pair<std::string, HObject>>;

// domainsOf's, and the benchmark's disc: a third of the image in its middle.
Domains benchmarkDomains(const HObject& image, Size size) {
  Domains domains = domainsOf(image, size);
  const double radius = std::sqrt(double(size.width) * size.height / 3 / 3.141592653589793);
  HObject circle, reduced;
  GenCircle(&circle, (size.height - 1) / 2.0, (size.width - 1) / 2.0, radius);
  ReduceDomain(image, circle, &reduced);
  domains.emplace_back("benchmark disc", reduced);
  return domains;
}

// A block's rows round two places at a time and a last one alone: spans of one to five
// columns, from the left edge, inside, and up to the right edge, a span a block.
Domains spanDomains(const HObject& image, Size size) {
  Domains domains{{"full", image}};
  const Hlong right = size.width - 1;
  for (const Hlong columns : {1, 2, 3, 4, 5}) {
    HObject spans, one, both, reduced;
    GenEmptyRegion(&spans);
    const Hlong firsts[] = {0, size.width / 2, std::max<Hlong>(0, right - columns + 1)};
    for (std::size_t b = 0; b < 3; ++b) {
      const Hlong row = std::min<Hlong>(size.height - 1, static_cast<Hlong>(b) * 32 + 5);
      GenRectangle1(&one, row, firsts[b], row, std::min(right, firsts[b] + columns - 1));
      Union2(spans, one, &both);
      spans = both;
    }
    ReduceDomain(image, spans, &reduced);
    domains.emplace_back("spans of " + std::to_string(columns), reduced);
  }
  return domains;
}

struct Filter {
  const char* name;
  double alpha;
};

struct Row {
  const char* what;
  std::vector<Filter> filters;
  std::vector<Size> sizes;
  Domains (*domains)(const HObject&, Size) = &benchmarkDomains;
};

TEST(RecursiveStripsPaths, GiveThePortableBytes) {
  SettingsRestored restored;
  const Row rows[] = {
      // Three strips and 8 columns, four and one, five whole; two chunks and 6 rows, three and
      // one, one short chunk.
      {"strips and chunks", {{"deriche2", 1}}, {{200, 70}, {257, 97}, {320, 31}}},
      // The benchmark's small image, and a wide one of a few blocks.
      {"benchmark", {{"deriche2", 1}}, {{640, 480}, {1030, 67}}},
      {"other filters",
       {{"deriche1", 0.5}, {"shen", 2}, {"deriche2", 0.2}},
       {{200, 70}, {130, 161}}},
      {"spans", {{"deriche2", 1}, {"shen", 2}}, {{200, 70}, {7, 97}}, &spanDomains}};
  for (const Row& row : rows) {
    if (quickSweep() && row.sizes.front().width * row.sizes.front().height > 20000) continue;
    for (const Size size : row.sizes) {
      std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : row.domains(gray, size)) {
        for (const Filter& filter : row.filters) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf(row.what, filter.name, filter.alpha, size, domain), [&, &input = input] {
                HObject out;
                SmoothImage(input, &out, filter.name, filter.alpha);
                return bytesOf(out);
              });
        }
      }
    }
  }
}

}  // namespace
