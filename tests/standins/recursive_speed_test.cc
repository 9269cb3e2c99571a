// smooth_image's recursive filters with their states in AVX-512 registers and their blocks
// handed to the rows transposed, and edges_sub_pix's amplitudes and candidate pixels in
// vectors, against the portable path: strips of columns that the image ends inside or before
// their second vector, a last block of rows of one or a few, continuations that run out
// within a block (reach 1) or reach past the image, domains that skip blocks, any threads.
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

// Every contour's points and attributes as one list, or the image's bytes.
std::vector<double> valuesOf(const HObject& out, bool contours) {
  if (!contours) {
    const std::vector<std::uint8_t> bytes = bytesOf(out);
    return std::vector<double>(bytes.begin(), bytes.end());
  }
  HTuple count;
  CountObj(out, &count);
  std::vector<double> values;
  for (Hlong i = 1; i <= count[0].L(); ++i) {
    HObject one;
    HTuple rows, cols, attrib;
    SelectObj(out, &one, i);
    GetContourXld(one, &rows, &cols);
    for (const char* name : {"edge_direction", "angle", "response"}) {
      GetContourAttribXld(one, name, &attrib);
      for (Hlong k = 0; k < attrib.Length(); ++k) values.push_back(attrib[k].D());
    }
    for (Hlong k = 0; k < rows.Length(); ++k)
      values.insert(values.end(), {rows[k].D(), cols[k].D()});
    values.push_back(-1);
  }
  return values;
}

struct Call {
  const char* name;
  bool contours;
  std::function<void(const HObject&, HObject*)> run;
};

TEST(SmoothingSpeed, GivesThePortableResult) {
  SettingsRestored restored;
  const auto smooth = [](const char* filter, double alpha) {
    return [=](const HObject& in, HObject* out) { SmoothImage(in, out, filter, alpha); };
  };
  const auto edges = [](double alpha, double low, double high) {
    return
        [=](const HObject& in, HObject* out) { EdgesSubPix(in, out, "canny", alpha, low, high); };
  };
  // Reaches 25 / Alpha of 1 (the backward sums of the last block start without the pixels
  // after them), 3, 25 and past every image; Low 0 keeps every pixel of some gradient.
  const Call calls[] = {{"shen 25", false, smooth("shen", 25)},
                        {"deriche2 9", false, smooth("deriche2", 9)},
                        {"deriche1 1", false, smooth("deriche1", 1)},
                        {"deriche2 0.1", false, smooth("deriche2", 0.1)},
                        {"edges 1 0 0", true, edges(1, 0, 0)},
                        {"edges 1.5 8 30", true, edges(1.5, 8, 30)}};
  // Widths: one column, one vector and a few columns short of a strip of 32, one strip and a
  // column into the next, three strips less one; heights of one row, a block, several blocks
  // and a last block of one or a few rows.
  const Size sizes[] = {{1, 7}, {13, 1}, {29, 32}, {33, 65}, {95, 99}, {40, 3}};
  for (const Size size : sizes) {
    std::vector<std::uint8_t> plane = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject gray = wrapGray(plane, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(gray, size)) {
      for (const Call& call : calls) {
        expectSameAsPortable<std::vector<double>>(labelOf(call.name, size, domain),
                                                  [&, &input = input] {
                                                    HObject out;
                                                    call.run(input, &out);
                                                    return valuesOf(out, call.contours);
                                                  });
      }
    }
  }
}

// A flat image has no gradient, so no maximum of its amplitude and no edge, even with Low 0
// (edges_sub_pix, HALCON 11.0: edge points are maxima of the amplitude along the gradient).
TEST(SmoothingSpeed, FlatImageHasNoEdges) {
  SettingsRestored restored;
  std::vector<std::uint8_t> plane(37 * 9, 90);
  const HObject gray = wrapGray(plane, 37, 9);
  for (const char* simd : {"false", "true"}) {
    SetSystem("standin_simd", simd);
    HObject edges;
    HTuple count;
    EdgesSubPix(gray, &edges, "canny", 1, 0, 0);
    CountObj(edges, &count);
    EXPECT_EQ(count[0].L(), 0) << simd;
  }
}

}  // namespace
