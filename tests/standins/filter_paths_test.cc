// The smoothing, edge and frequency filters' fast paths against their portable path:
// smooth_image of every filter gives the same bytes, edges_sub_pix and lines_gauss the same
// contours and attributes, the transforms and spectra products the same values, for random
// images of odd sizes, full and reduced domains and any threads.
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

struct Filter {
  std::string name;
  std::function<void(const HObject&, HObject*)> run;
};

std::vector<Filter> filters() {
  std::vector<Filter> all;
  // Recursive filters far and near their smallest Alpha (a reach of many image lengths), and
  // Gaussians narrower and wider than the images.
  const std::pair<const char*, double> smoothings[] = {
      {"deriche1", 1}, {"deriche1", 0.05}, {"deriche2", 1}, {"deriche2", 2.5}, {"shen", 0.5},
      {"shen", 3},     {"gauss", 0.6},     {"gauss", 2},    {"gauss", 9}};
  for (const auto& [kind, alpha] : smoothings) {
    all.push_back({std::string("smooth_image ") + kind + " " + std::to_string(alpha),
                   [kind = kind, alpha = alpha](const HObject& in, HObject* out) {
                     SmoothImage(in, out, kind, alpha);
                   }});
  }
  const std::pair<const char*, double> edges[] = {
      {"canny", 1}, {"canny", 2.2}, {"deriche2", 1.5}, {"shen", 0.8}, {"sobel_fast", 0}};
  for (const auto& [kind, alpha] : edges) {
    all.push_back({std::string("edges_sub_pix ") + kind,
                   [kind = kind, alpha = alpha](const HObject& in, HObject* out) {
                     EdgesSubPix(in, out, kind, alpha, 10, 30);
                   }});
  }
  all.push_back({"edges_image", [](const HObject& in, HObject* out) {
                   HObject amplitude, direction;
                   EdgesImage(in, &amplitude, &direction, "deriche2", 1.2, "nms", 10, 30);
                   ConcatObj(amplitude, direction, out);
                 }});
  // Sides of primes beyond the transforms' largest radix (131) and within it (67, 37).
  const auto sides = [](const HObject& in) {
    HTuple width, height;
    GetImageSize(in, &width, &height);
    return std::pair{width, height};
  };
  all.push_back({"rft_generic", [=](const HObject& in, HObject* out) {
                   RftGeneric(in, out, "to_freq", "none", "complex", sides(in).first);
                 }});
  all.push_back({"rft_generic from_freq", [=](const HObject& in, HObject* out) {
                   HObject spectrum;
                   RftGeneric(in, &spectrum, "to_freq", "sqrt", "complex", sides(in).first);
                   RftGeneric(spectrum, out, "from_freq", "n", "real", sides(in).first);
                 }});
  all.push_back({"fft_generic", [](const HObject& in, HObject* out) {
                   FftGeneric(in, out, "to_freq", -1, "sqrt", "dc_center", "complex");
                 }});
  all.push_back({"convol_fft", [=](const HObject& in, HObject* out) {
                   const auto [width, height] = sides(in);
                   HObject spectrum, filter;
                   RftGeneric(in, &spectrum, "to_freq", "none", "complex", width);
                   GenGaussFilter(&filter, 2, 1, 0.3, "n", "rft", width, height);
                   ConvolFft(spectrum, filter, out);
                 }});
  all.push_back({"correlation_fft", [](const HObject& in, HObject* out) {
                   HObject spectrum, turned;
                   FftGeneric(in, &spectrum, "to_freq", -1, "none", "dc_edge", "complex");
                   FftGeneric(in, &turned, "to_freq", 1, "none", "dc_edge", "complex");
                   CorrelationFft(spectrum, turned, out);
                 }});
  all.push_back({"lines_gauss", [](const HObject& in, HObject* out) {
                   LinesGauss(in, out, 1.5, 3, 8, "light", "true", "bar-shaped", "true");
                 }});
  return all;
}

// An image's bytes, or a set of contours' points and attributes, as one list of numbers.
std::vector<double> resultOf(const HObject& out) {
  std::vector<double> values;
  HTuple count;
  CountObj(out, &count);
  for (Hlong i = 1; i <= count[0].L(); ++i) {
    HObject one;
    SelectObj(out, &one, i);
    HTuple kind;
    GetObjClass(one, &kind);
    if (std::string(kind[0].S().Text()) == "image") {
      HTuple pointer, type, width, height;
      GetImagePointer1(one, &pointer, &type, &width, &height);
      const Hlong pixels = width[0].L() * height[0].L();
      const std::string name = type[0].S().Text();
      if (name == "byte" || name == "direction") {
        const std::uint8_t* p = pointerOf(pointer);
        values.insert(values.end(), p, p + pixels);
      } else if (name == "uint2") {
        const auto* p = reinterpret_cast<const std::uint16_t*>(pointerOf(pointer));
        values.insert(values.end(), p, p + pixels);
      } else {
        const auto* p = reinterpret_cast<const float*>(pointerOf(pointer));
        values.insert(values.end(), p, p + pixels * (name == "complex" ? 2 : 1));
      }
      continue;
    }
    HTuple rows, cols, names, attrib;
    GetContourXld(one, &rows, &cols);
    QueryContourAttribsXld(one, &names);
    for (const HTuple* t : {&rows, &cols}) {
      for (Hlong k = 0; k < t->Length(); ++k) values.push_back((*t)[k].D());
    }
    for (Hlong n = 0; n < names.Length(); ++n) {
      GetContourAttribXld(one, names[n], &attrib);
      for (Hlong k = 0; k < attrib.Length(); ++k) values.push_back(attrib[k].D());
    }
    values.push_back(-1);  // between contours
  }
  return values;
}

TEST(FilterPaths, GiveThePortableResultOnAnyThreads) {
  SettingsRestored restored;
  const std::pair<Hlong, Hlong> sizes[] = {{1, 1}, {2, 3}, {37, 5}, {9, 41}, {131, 67}};
  const std::vector<Filter> all = filters();
  for (const auto& [width, height] : sizes) {
    std::mt19937 random(static_cast<std::uint32_t>(width * 7 + height));
    // Noise over a few steps, so that the edges and lines have contours to find.
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < plane.size(); ++i) {
      const auto x = static_cast<Hlong>(i) % width, y = static_cast<Hlong>(i) / width;
      plane[i] = static_cast<std::uint8_t>((x / 9 + y / 7) % 2 * 120 + random() % 100);
    }
    HObject gray = wrapGray(plane, width, height), disc, comb, tooth;
    GenCircle(&disc, height / 2.0, width / 2.0, 0.4 * double(std::min(width, height)) + 0.5);
    // Teeth of one column, so that rows start and end anywhere; some rows meet none.
    GenEmptyRegion(&comb);
    for (Hlong c = 0; c < width; c += 4) {
      GenRectangle1(&tooth, std::min(c % 5, height - 1), c, std::max(c % 5, height - 3), c);
      Union2(comb, tooth, &comb);
    }
    std::vector<std::pair<std::string, HObject>> inputs{{"full", gray}};
    for (const auto& [name, region] : {std::pair{"disc", disc}, std::pair{"comb", comb}}) {
      HObject reduced;
      ReduceDomain(gray, region, &reduced);
      inputs.emplace_back(name, reduced);
    }
    for (const Filter& filter : all) {
      for (const auto& [domain, input] : inputs) {
        const auto call = [&, &input = input] {
          HObject out;
          const Hlong error = errorOf([&] { filter.run(input, &out); });
          return error != 0 ? std::vector<double>{double(error)} : resultOf(out);
        };
        SetSystem("standin_simd", "false");
        SetSystem("thread_num", 1);
        const std::vector<double> reference = call();
        SetSystem("standin_simd", "true");
        SetSystem("standin_band_pixels", 300);
        for (const Hlong threads : sweepThreads({1, 3})) {
          SetSystem("thread_num", threads);
          EXPECT_TRUE(call() == reference) << filter.name << ", " << width << "x" << height << " "
                                           << domain << ", thread_num " << threads;
        }
      }
    }
  }
}

}  // namespace
