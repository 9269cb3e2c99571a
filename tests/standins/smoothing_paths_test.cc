// smooth_image's blocks of rows and float sums, and edges_sub_pix's windows of rows, against the
// portable path: the same bytes and the same contours for images of several blocks and a last
// block of one row, domains that skip whole blocks or hold one pixel, reaches of one or two
// places, past the image, and at the float sums' longest, on any threads.
#include <gtest/gtest.h>

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

// Bytes, or every contour's points and attributes, as one list.
std::vector<double> valuesOf(const HObject& out) {
  HTuple count, kind;
  CountObj(out, &count);
  if (count[0].L() > 0) GetObjClass(out, &kind);
  if (count[0].L() > 0 && std::string(kind[0].S().Text()) == "image") {
    const std::vector<std::uint8_t> bytes = bytesOf(out);
    return std::vector<double>(bytes.begin(), bytes.end());
  }
  return contourValues(out);
}

struct Call {
  const char* name;
  std::function<void(const HObject&, HObject*)> run;
};

TEST(SmoothingPaths, GiveThePortableResult) {
  SettingsRestored restored;
  const auto smooth = [](const char* filter, double alpha) {
    return [=](const HObject& in, HObject* out) { SmoothImage(in, out, filter, alpha); };
  };
  const auto edges = [](const char* filter, double alpha) {
    return [=](const HObject& in, HObject* out) { EdgesSubPix(in, out, filter, alpha, 5, 15); };
  };
  // Reaches (25 / Alpha, 6.44 sigma) of 1, 2, past the images, and 48, the float sums' longest.
  const Call calls[] = {
      {"shen 30", smooth("shen", 30)},           {"deriche1 13", smooth("deriche1", 13)},
      {"deriche2 0.7", smooth("deriche2", 0.7)}, {"deriche1 0.02", smooth("deriche1", 0.02)},
      {"gauss 0.3", smooth("gauss", 0.3)},       {"gauss 1.3", smooth("gauss", 1.3)},
      {"gauss 7.4", smooth("gauss", 7.4)},       {"edges canny 0.8", edges("canny", 0.8)},
      {"edges canny 3", edges("canny", 3)},      {"edges deriche2 0.3", edges("deriche2", 0.3)},
      {"edges shen 2", edges("shen", 2)},        {"edges sobel_fast", edges("sobel_fast", 1)}};
  // Three blocks of 32 rows and one of a single row; a column narrower than a vector.
  for (const Size size : {Size{257, 97}, Size{5, 150}}) {
    std::mt19937 random(static_cast<std::uint32_t>(size.width));
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(size.width * size.height));
    for (std::size_t i = 0; i < plane.size(); ++i) {
      const auto x = static_cast<Hlong>(i) % size.width, y = static_cast<Hlong>(i) / size.width;
      plane[i] = static_cast<std::uint8_t>((x / 7 + y / 5) % 2 * 110 + random() % 120);
    }
    const HObject gray = wrapGray(plane, size.width, size.height);
    HObject disc, bars, top, bottom, corner;
    GenCircle(&disc, size.height / 2.0, size.width / 2.0, size.height / 3.0);
    // Bars with whole blocks between them and the image's last row alone.
    GenRectangle1(&top, 3, 0, 20, size.width - 1);
    GenRectangle1(&bottom, 70, 1, 70, size.width - 2);
    Union2(top, bottom, &bars);
    GenRectangle1(&corner, size.height - 1, size.width - 1, size.height - 1, size.width - 1);
    for (const auto& [domain, region] : {std::pair{"disc", disc}, std::pair{"bars", bars},
                                         std::pair{"corner", corner}, std::pair{"full", gray}}) {
      HObject input = gray;
      if (std::string(domain) != "full") ReduceDomain(gray, region, &input);
      for (const Call& call : calls) {
        expectSameAsPortable<std::vector<double>>(labelOf(call.name, size, domain), [&] {
          HObject out;
          call.run(input, &out);
          return valuesOf(out);
        });
      }
    }
  }
}

}  // namespace
