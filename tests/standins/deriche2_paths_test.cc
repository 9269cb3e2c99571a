// smooth_image's recursive filters on images whose width is a multiple of 64 columns, against the
// portable path: their rows are written in chunks that begin where the output plane's lines of
// the cache begin, so a chunk may start before a row's first column and end before its last.
// Where an output plane begins in a line depends on the memory it gets; the calls are repeated
// with a few sizes of memory held beside them, so that the planes begin at several places.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HObject reducedTo(const HObject& image, Hlong r0, Hlong c0, Hlong r1, Hlong c1) {
  HObject rectangle, reduced;
  GenRectangle1(&rectangle, r0, c0, r1, c1);
  ReduceDomain(image, rectangle, &reduced);
  return reduced;
}

// The shared domains, and the first and last columns alone, a bar across the first chunk's
// end, and one whose ends fall on neither a chunk's start nor its end.
std::vector<std::pair<std::string, HObject>> chunkDomains(const HObject& image, Size size) {
  const Hlong right = size.width - 1, bottom = size.height - 1;
  std::vector<std::pair<std::string, HObject>> domains = domainsOf(image, size);
  domains.emplace_back("first column", reducedTo(image, 0, 0, bottom, 0));
  domains.emplace_back("last column", reducedTo(image, 0, right, bottom, right));
  domains.emplace_back("across 48", reducedTo(image, 1, 40, bottom, std::min<Hlong>(right, 70)));
  domains.emplace_back("inner", reducedTo(image, 2, 1, bottom, right - 1));
  return domains;
}

TEST(Deriche2Paths, WidthsOfWholeChunksGiveThePortableBytes) {
  SettingsRestored restored;
  // Heights of one block, a block and one row, several blocks; reaches of 25, 36 and 1.
  const std::vector<Size> sizes{{64, 32}, {128, 33}, {320, 97}, {640, 161}};
  const std::vector<RecursiveFilter> filters{{"deriche2", 1}, {"deriche1", 0.7}, {"shen", 25}};
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject gray = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : chunkDomains(gray, size)) {
      for (const RecursiveFilter& filter : filters) {
        for (const std::size_t held : {0, 16, 40}) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf(filter.name, filter.alpha, size, domain, held), [&, &input = input] {
                const auto beside = std::make_unique<char[]>(held + 1);
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
