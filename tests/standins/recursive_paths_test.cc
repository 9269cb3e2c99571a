// smooth_image's recursive filters ('deriche1', 'deriche2', 'shen') on their vector paths
// against the portable path: blocks of 32 rows and strips of 64 columns that the image ends
// inside, before or just past; continuations that run out within a block or reach past the
// image; domains that skip blocks, touch a band's first or last row, reach only one edge or
// hold a pixel; several bands, the first run upwards; and the pixels beside the domain, which
// the filter sets to 0 itself. 'deriche2' where a block's rows start and stop their sums along
// the rows: domains whose columns end and begin at a row's edges, beside them and in its
// middle, as wide as 4K images. Then the filters' normalisation, worked by hand.
#include <gtest/gtest.h>

#include <algorithm>
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

using Domains = std::vector<std::pair<std::string, HObject>>;

// Rows [r0, r1] of columns [c0, c1], each a rectangle of the union.
struct Bar {
  Hlong r0, c0, r1, c1;
};

HObject barsOf(const std::vector<Bar>& bars) {
  HObject all;
  GenEmptyRegion(&all);
  for (const Bar& bar : bars) {
    HObject one, both;
    GenRectangle1(&one, bar.r0, bar.c0, bar.r1, bar.c1);
    Union2(all, one, &both);
    all = both;
  }
  return all;
}

Domains withBars(const HObject& image, Domains domains,
                 const std::vector<std::pair<const char*, std::vector<Bar>>>& shapes) {
  for (const auto& [name, bars] : shapes) {
    HObject reduced;
    ReduceDomain(image, barsOf(bars), &reduced);
    domains.emplace_back(name, reduced);
  }
  return domains;
}

// Blocks are 32 rows: domains that meet blocks in the top rows alone, the bottom rows alone,
// every other block (blocks in between carry the sums unmet), a block's last and the next
// block's first row, and a single column down the whole height.
Domains bandDomains(const HObject& image, Size size) {
  const Hlong w = size.width, h = size.height, right = w - 1, bottom = h - 1;
  return withBars(
      image, domainsOf(image, size),
      {{"top", {{0, 0, std::min<Hlong>(5, bottom), right}}},
       {"bottom", {{std::max<Hlong>(0, h - 3), w / 2, bottom, right}}},
       {"alternate", {{0, 0, 3, right}, {64, 1, 70, right / 2}, {130, right / 3, 140, right}}},
       {"seam", {{31, 0, 32, right}, {95, w / 2, 96, w / 2}}},
       {"column", {{0, right / 2, bottom, right / 2}}}});
}

// The rows' sums run only as far as a block's domain columns need them: domains that reach only
// the left or the right edge, a lone pixel, and a diagonal (every row of a block a different
// column).
Domains edgeDomains(const HObject& image, Size size) {
  const Hlong w = size.width, h = size.height;
  Domains domains = withBars(image, {{"full", image}},
                             {{"left", {{h / 3, 0, h - 1, std::min<Hlong>(2, w - 1)}}},
                              {"right", {{0, std::max<Hlong>(0, w - 3), h / 2, w - 1}}},
                              {"pixel", {{h / 2, w / 2, h / 2, w / 2}}}});
  HTuple rows, columns;
  HObject diagonal, reduced;
  for (Hlong y = 0; y < h; ++y) rows.Append(y), columns.Append((y * 7) % w);
  GenRegionPoints(&diagonal, rows, columns);
  ReduceDomain(image, diagonal, &reduced);
  domains.emplace_back("diagonal", reduced);
  return domains;
}

// Stripes of 0 and 255 two columns wide: the sums overshoot at both ends and are clamped.
std::vector<std::uint8_t> stripesPlane(Size size, std::uint32_t) {
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
  for (std::size_t i = 0; i < plane.size(); ++i) {
    plane[i] = (static_cast<Hlong>(i) % size.width / 2) % 2 ? 255 : 0;
  }
  return plane;
}

struct Filter {
  const char* name;
  double alpha;
};

struct Sweep {
  const char* what;
  std::vector<Filter> filters;  // reach 25 / Alpha
  std::vector<Size> sizes;
  std::function<Domains(const HObject&, Size)> domains;
  std::vector<std::uint8_t> (*plane)(Size, std::uint32_t) = &randomPlane;
};

TEST(RecursivePaths, GiveThePortableBytes) {
  SettingsRestored restored;
  const Sweep sweeps[] = {
      // Reach 1 (the last block's backward sums start without pixels after them), 10, 28 and
      // 125; widths about a vector of sixteen and a strip of 32; heights of one row, a block
      // and one, two blocks less one.
      {"floats",
       {{"deriche2", 30}, {"deriche1", 2.5}, {"shen", 0.2}, {"deriche2", 0.9}},
       {{15, 33}, {17, 1}, {31, 63}, {33, 40}},
       domainsOf},
      // One column, a strip of 32 and a column into the next; a last block of a few rows.
      {"blocks",
       {{"shen", 25}, {"deriche2", 9}, {"deriche1", 1}, {"deriche2", 0.1}},
       {{1, 7}, {13, 1}, {29, 32}, {33, 65}, {95, 99}, {40, 3}},
       domainsOf},
      // Widths ending in a strip of 64's first, second and fourth vector, one past it, two
      // strips less one.
      {"strips",
       {{"deriche2", 25}, {"shen", 2.8}, {"deriche1", 0.5}},
       {{9, 33}, {29, 31}, {63, 70}, {65, 33}, {127, 9}},
       edgeDomains},
      {"stripes",
       {{"deriche2", 25}, {"shen", 2.8}, {"deriche1", 0.5}},
       {{9, 33}, {65, 33}, {127, 9}},
       edgeDomains,
       &stripesPlane},
      // Widths of whole chunks of 64 columns, each row's stores whole lines of the cache.
      {"chunks",
       {{"deriche2", 1}, {"deriche1", 0.7}, {"shen", 25}},
       {{64, 32}, {128, 33}, {320, 97}, {640, 161}},
       edgeDomains},
      // Several bands: heights of a few blocks and a last one of one row, 4 to 9 blocks, one
      // block; reach 84 past the narrower images.
      {"bands",
       {{"deriche2", 1}, {"deriche1", 0.7}, {"shen", 25}, {"deriche2", 0.3}},
       {{70, 97}, {131, 161}, {5, 289}, {257, 64}, {200, 31}},
       bandDomains}};
  for (const Sweep& sweep : sweeps) {
    for (const Size size : sweep.sizes) {
      std::vector<std::uint8_t> plane = sweep.plane(size, static_cast<std::uint32_t>(size.height));
      const HObject gray = wrapGray(plane, size.width, size.height);
      for (const auto& [domain, input] : sweep.domains(gray, size)) {
        for (const Filter& filter : sweep.filters) {
          expectSameAsPortable<std::vector<std::uint8_t>>(
              labelOf(sweep.what, filter.name, filter.alpha, size, domain), [&, &input = input] {
                HObject out;
                SmoothImage(input, &out, filter.name, filter.alpha);
                return bytesOf(out);
              });
        }
      }
    }
  }
}

// Every channel of a three-channel image, with a domain of a few rows: each channel's pixels
// beside the domain are 0, its own sums on it.
TEST(RecursivePaths, EveryChannelGivesThePortableBytes) {
  SettingsRestored restored;
  const Size size{97, 133};
  std::vector<std::vector<std::uint8_t>> planes;
  for (std::uint32_t c = 0; c < 3; ++c) planes.push_back(randomPlane(size, 7 + c));
  HObject rgb, reduced;
  Compose3(wrapGray(planes[0], size.width, size.height),
           wrapGray(planes[1], size.width, size.height),
           wrapGray(planes[2], size.width, size.height), &rgb);
  ReduceDomain(rgb, barsOf({{40, 3, 100, 60}}), &reduced);
  for (const auto& [domain, input] : {std::pair{"full", rgb}, std::pair{"rows", reduced}}) {
    expectSameAsPortable<ImageBytes>(labelOf("deriche2 1 rgb", domain), [&, &input = input] {
      HObject out;
      SmoothImage(input, &out, "deriche2", 1);
      return imageBytesOf(out);
    });
  }
}

// smooth_image, HALCON 11.0 reference: each filter's weights sum to one, so a constant image
// keeps its grey value, the extremes included, down to the smallest Alpha the stand-in takes
// (0.001: a reach of 25000 places and sums some 10^6 times the grey value), on both sides of
// the Alpha (0.05) where the sums go from doubles to floats; beside the domain the stand-in
// writes 0 (docs/standins.md), here a diagonal, every row of a block a different column.
TEST(RecursivePaths, ConstantImagesKeepTheirValue) {
  SettingsRestored restored;
  struct Row {
    const char* filter;
    double alpha;
    std::uint8_t grey;
    bool diagonal;
  };
  const Row rows[] = {{"deriche1", 0.001, 255, false}, {"deriche2", 0.001, 255, false},
                      {"shen", 0.001, 255, false},     {"deriche1", 0.049, 1, false},
                      {"deriche1", 0.05, 255, false},  {"deriche2", 0.05, 254, false},
                      {"shen", 0.05, 128, false},      {"deriche2", 0.3, 1, false},
                      {"deriche2", 1.5, 201, true}};
  const Hlong w = 130, h = 70;
  HTuple diagonalRows, diagonalColumns;
  for (Hlong y = 0; y < h; ++y) diagonalRows.Append(y), diagonalColumns.Append(y + 40);
  HObject diagonal;
  GenRegionPoints(&diagonal, diagonalRows, diagonalColumns);
  for (const Row& row : rows) {
    std::vector<std::uint8_t> flat(static_cast<std::size_t>(w * h), row.grey);
    HObject image = wrapGray(flat, w, h);
    std::vector<std::uint8_t> expected = flat;
    if (row.diagonal) {
      HObject reduced;
      ReduceDomain(image, diagonal, &reduced);
      image = reduced;
      std::fill(expected.begin(), expected.end(), std::uint8_t{0});
      for (Hlong y = 0; y < h; ++y) expected[static_cast<std::size_t>(y * w + y + 40)] = row.grey;
    }
    for (const char* simd : {"false", "true"}) {
      SetSystem("standin_simd", simd);
      HObject smooth;
      SmoothImage(image, &smooth, row.filter, row.alpha);
      EXPECT_EQ(bytesOf(smooth), expected)
          << row.filter << " " << row.alpha << " " << int(row.grey) << ", simd " << simd;
    }
  }
}

enum class Column { First, Second, BeforeMiddle, Middle, SecondLast, Last };

Hlong columnAt(Column c, Hlong w) {
  switch (c) {
    case Column::First:
      return 0;
    case Column::Second:
      return std::min<Hlong>(1, w - 1);
    case Column::BeforeMiddle:
      return std::max<Hlong>(0, w / 2 - 1);
    case Column::Middle:
      return w / 2;
    case Column::SecondLast:
      return std::max<Hlong>(0, w - 2);
    case Column::Last:
      break;
  }
  return w - 1;
}

// A domain of rows [r0, r1] (fractions of the height) and columns [c0, c1].
struct Span {
  const char* name;
  double r0, r1;
  Column c0, c1;
};

TEST(RecursivePaths, WantedColumnsGiveThePortableBytes) {
  SettingsRestored restored;
  const std::vector<Size> sizes =
      quickSweep() ? std::vector<Size>{{65, 40}, {129, 33}}
                   : std::vector<Size>{{65, 40}, {129, 33}, {200, 97}, {4096, 70}};
  const Span spans[] = {{"first column", 0, 1, Column::First, Column::First},
                        {"second column", 0.2, 0.9, Column::Second, Column::Second},
                        {"left half", 0, 0.5, Column::First, Column::BeforeMiddle},
                        {"to the middle", 0.1, 1, Column::Second, Column::Middle},
                        {"from the middle", 0, 0.7, Column::Middle, Column::Last},
                        {"second last", 0.3, 1, Column::First, Column::SecondLast},
                        {"last column", 0, 1, Column::Last, Column::Last},
                        {"middle column", 0.5, 0.5, Column::Middle, Column::Middle}};
  const double alphas[] = {25, 1, 0.4};
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane =
        randomPlane(size, static_cast<std::uint32_t>(size.width + size.height));
    const HObject gray = wrapGray(plane, size.width, size.height);
    for (const Span& span : spans) {
      const Hlong w = size.width, bottom = size.height - 1;
      HObject region, input;
      GenRectangle1(&region, static_cast<Hlong>(span.r0 * double(bottom)), columnAt(span.c0, w),
                    static_cast<Hlong>(span.r1 * double(bottom)), columnAt(span.c1, w));
      ReduceDomain(gray, region, &input);
      for (const double alpha : alphas) {
        expectSameAsPortable<std::vector<std::uint8_t>>(
            labelOf("deriche2", alpha, size, span.name), [&] {
              HObject out;
              SmoothImage(input, &out, "deriche2", alpha);
              return bytesOf(out);
            });
      }
    }
  }
}

}  // namespace
