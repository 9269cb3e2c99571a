// smooth_image 'deriche2' on its vector paths against the portable path where a block's rows
// start and stop their sums along the rows: domains whose columns end at the row's first, second,
// middle, second-last or last column and begin at its first, second or middle one, so that the
// backward sums run alone right of the last wanted column for none, one or many places before
// each place is rounded; at Alpha 25 (the continuation one place past each edge), 1 (the
// benchmark's) and 0.4, on widths of a strip, of strips and a column, and as wide as 4K images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

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

TEST(Deriche2Paths, WantedColumnsGiveThePortableBytes) {
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
