// The operators' threads and vector paths against their portable path on one thread: every
// image operator that shares out its work or runs vectors gives the same bytes, and every
// region operator the same region, for random images of odd sizes, full and reduced
// domains, any thread count; and the system parameters that steer them.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// One operator as a user calls it: an image in, an image out.
struct ImageOperator {
  const char* name;
  std::function<void(const HObject&, HObject*)> run;
};

std::vector<ImageOperator> imageOperators() {
  std::vector<ImageOperator> ops;
  for (const Hlong size : {3, 5, 7, 9, 11}) {
    ops.push_back(
        {"gauss_filter", [size](const HObject& in, HObject* out) { GaussFilter(in, out, size); }});
  }
  // 1 x 1, narrow sums, the unrolled widths, a running sum, and 33 x 33 whose sums pass 16
  // bits.
  const std::pair<Hlong, Hlong> masks[] = {{1, 1}, {3, 5}, {11, 11}, {21, 3}, {33, 33}, {2, 8}};
  for (const auto& [w, h] : masks) {
    ops.push_back({"mean_image",
                   [w = w, h = h](const HObject& in, HObject* out) { MeanImage(in, out, w, h); }});
  }
  for (const char* type : {"circle", "square"}) {
    for (const double radius : {1.0, 2.0, 3.0}) {
      for (const char* margin : {"mirrored", "cyclic", "continued"}) {
        ops.push_back({"median_image", [=](const HObject& in, HObject* out) {
                         MedianImage(in, out, type, radius, margin);
                       }});
      }
      ops.push_back({"median_image", [=](const HObject& in, HObject* out) {
                       MedianImage(in, out, type, radius, 17);
                     }});
    }
  }
  ops.push_back(
      {"emphasize", [](const HObject& in, HObject* out) { Emphasize(in, out, 7, 7, 1.5); }});
  // Masks of one pixel, of the shifted windows (up to 47 wide) and of the block extremes.
  for (const auto& [h, w] :
       {std::pair{1, 1}, std::pair{3, 11}, std::pair{12, 4}, std::pair{5, 61}}) {
    ops.push_back({"gray_dilation_rect", [h = h, w = w](const HObject& in, HObject* out) {
                     GrayDilationRect(in, out, h, w);
                   }});
    ops.push_back({"gray_erosion_rect", [h = h, w = w](const HObject& in, HObject* out) {
                     GrayErosionRect(in, out, h, w);
                   }});
  }
  // Sigmas and Alphas whose reach stays within the larger images and passes the smaller.
  const std::pair<const char*, double> smoothings[] = {
      {"gauss", 0.5},  {"gauss", 2.5}, {"gauss", 6},       {"deriche1", 0.7},
      {"deriche2", 2}, {"shen", 1},    {"deriche2", 0.05},
  };
  for (const auto& [filter, alpha] : smoothings) {
    ops.push_back(
        {"smooth_image", [filter = filter, alpha = alpha](const HObject& in, HObject* out) {
           SmoothImage(in, out, filter, alpha);
         }});
  }
  return ops;
}

// Filters of the whole image, whatever its domain.
std::vector<ImageOperator> wholeImageOperators() {
  std::vector<ImageOperator> ops = imageOperators();
  // 16, 32 and 64 bits of sums.
  const std::pair<Hlong, Hlong> binomials[] = {{5, 5}, {3, 7}, {11, 13}, {37, 37}};
  for (const auto& [w, h] : binomials) {
    ops.push_back({"binomial_filter", [w = w, h = h](const HObject& in, HObject* out) {
                     BinomialFilter(in, out, w, h);
                   }});
  }
  for (const char* type : {"sum_abs", "sum_sqrt", "thin_sum_abs", "thin_max_abs"}) {
    ops.push_back(
        {"sobel_amp", [type](const HObject& in, HObject* out) { SobelAmp(in, out, type, 3); }});
  }
  return ops;
}

TEST(OperatorThreads, FiltersGiveThePortableBytesOnAnyThreads) {
  SettingsRestored restored;
  for (const Size size : sweepSizes()) {
    std::vector<std::uint8_t> pixels = randomPlane(size, static_cast<std::uint32_t>(size.width));
    const HObject image = wrapGray(pixels, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const ImageOperator& op : wholeImageOperators()) {
        expectSameAsPortable<std::vector<std::uint8_t>>(labelOf(op.name, size, domain),
                                                        [&, &input = input] {
                                                          HObject out;
                                                          op.run(input, &out);
                                                          return bytesOf(out);
                                                        });
      }
    }
  }
}

TEST(OperatorThreads, GrayFromColourGivesThePortableBytesOnAnyThreads) {
  SettingsRestored restored;
  for (const Size size : sweepSizes()) {
    std::vector<std::uint8_t> planes[3];
    for (std::uint32_t c = 0; c < 3; ++c) planes[c] = randomPlane(size, 7 * c + 1);
    // Every sum the weighing can meet in one plane of ones: each colour at each value.
    if (size.width * size.height >= 256 * 3) {
      for (std::size_t i = 0; i < 256 * 3; ++i) {
        planes[0][i] = static_cast<std::uint8_t>(i % 3 == 0 ? i / 3 : 255 - i / 3);
        planes[1][i] = static_cast<std::uint8_t>(i % 3 == 1 ? i / 3 : i / 6);
        planes[2][i] = static_cast<std::uint8_t>(i % 3 == 2 ? i / 3 : 255);
      }
    }
    HObject rgb;
    GenImage3Extern(&rgb, "byte", size.width, size.height, address(planes[0].data()),
                    address(planes[1].data()), address(planes[2].data()), 0);
    for (const auto& [domain, input] : domainsOf(rgb, size)) {
      expectSameAsPortable<std::vector<std::uint8_t>>(labelOf(size, domain), [&, &input = input] {
        HObject gray;
        Rgb1ToGray(input, &gray);
        return bytesOf(gray);
      });
    }
  }
}

// rgb1_to_gray, HALCON 11.0 reference: gray = 0.299 red + 0.587 green + 0.114 blue. Worked by
// hand, rounded to the nearest grey value; the rows sit where 32 and 16 lanes and the
// portable tail each take them.
TEST(OperatorThreads, GrayFromColourWeighsEveryLane) {
  struct Row {
    std::uint8_t r, g, b, expected;
    const char* worked;
  };
  const Row rows[] = {
      {255, 255, 255, 255, ".299 + .587 + .114 = 1"},
      {255, 0, 0, 76, "255 * .299 = 76.245"},
      {0, 255, 0, 150, "255 * .587 = 149.685"},
      {0, 0, 255, 29, "255 * .114 = 29.07"},
      {1, 0, 1, 0, ".299 + .114 = .413"},
      {2, 0, 1, 1, ".598 + .114 = .712"},
      {100, 0, 50, 36, "29.9 + 5.7 = 35.6"},
      {10, 20, 30, 18, "2.99 + 11.74 + 3.42 = 18.15"},
  };
  constexpr Hlong kWidth = 53;  // 32 + 16 + 5
  for (const Row& row : rows) {
    std::vector<std::uint8_t> planes[3] = {std::vector<std::uint8_t>(kWidth, row.r),
                                           std::vector<std::uint8_t>(kWidth, row.g),
                                           std::vector<std::uint8_t>(kWidth, row.b)};
    HObject rgb, gray;
    GenImage3Extern(&rgb, "byte", kWidth, 1, address(planes[0].data()), address(planes[1].data()),
                    address(planes[2].data()), 0);
    Rgb1ToGray(rgb, &gray);
    const std::vector<std::uint8_t> bytes = bytesOf(gray);
    for (Hlong x = 0; x < kWidth; ++x) {
      EXPECT_EQ(bytes[static_cast<std::size_t>(x)], row.expected)
          << "column " << x << ": " << row.worked;
    }
  }
}

// Two regions are the same when neither has a pixel the other lacks.
void expectSameRegions(const HObject& a, const HObject& b, const std::string& what) {
  HTuple countA, countB;
  CountObj(a, &countA);
  CountObj(b, &countB);
  ASSERT_EQ(countA[0].L(), countB[0].L()) << what;
  HTuple areaA, areaB, rowA, rowB, colA, colB;
  AreaCenter(a, &areaA, &rowA, &colA);
  AreaCenter(b, &areaB, &rowB, &colB);
  EXPECT_TRUE(areaA == areaB && rowA == rowB && colA == colB) << what;
  HObject lost, gained;
  Difference(a, b, &lost);
  Difference(b, a, &gained);
  HTuple lostArea, gainedArea, r, c;
  AreaCenter(lost, &lostArea, &r, &c);
  AreaCenter(gained, &gainedArea, &r, &c);
  for (Hlong i = 0; i < lostArea.Length(); ++i) {
    EXPECT_EQ(lostArea[i].L(), 0) << what;
    EXPECT_EQ(gainedArea[i].L(), 0) << what;
  }
}

TEST(OperatorThreads, RegionOperatorsGiveThePortableRegionOnAnyThreads) {
  SettingsRestored restored;
  const std::vector<std::pair<const char*, std::function<void(const HObject&, HObject*)>>> ops = {
      {"threshold", [](const HObject& in, HObject* out) { Threshold(in, out, 64, 191); }},
      {"threshold+connection",
       [](const HObject& in, HObject* out) {
         HObject region;
         Threshold(in, &region, 100, 255);
         Connection(region, out);
       }},
      {"closing_circle",
       [](const HObject& in, HObject* out) {
         HObject region;
         Threshold(in, &region, 128, 255);
         ClosingCircle(region, out, 3.5);
       }},
      {"opening_circle",
       [](const HObject& in, HObject* out) {
         HObject region;
         Threshold(in, &region, 0, 127);
         OpeningCircle(region, out, 2);
       }},
      {"dilation and erosion rectangle",
       [](const HObject& in, HObject* out) {
         HObject region, dilated;
         Threshold(in, &region, 30, 200);
         DilationRectangle1(region, &dilated, 4, 7);
         ErosionRectangle1(dilated, out, 9, 2);
       }},
      // Rows of bits hold whole words: spans of 64 and more, and elements beside their
      // reference pixel, reach across words and beyond the region's box.
      {"opening and closing with a cross, a ring and a wide bar",
       [](const HObject& in, HObject* out) {
         HObject region, across, down, cross, outer, inner, ring, bar, opened, closed, joined;
         Threshold(in, &region, 90, 255);
         GenRectangle1(&across, 3, 0, 3, 6);
         GenRectangle1(&down, 0, 3, 6, 3);
         Union2(across, down, &cross);
         GenCircle(&outer, 0, 0, 4.5);
         GenCircle(&inner, 0, 0, 2);
         Difference(outer, inner, &ring);
         GenRectangle1(&bar, 0, 0, 1, 70);
         Opening(region, cross, &opened);
         Closing(opened, ring, &closed);
         Dilation2(closed, bar, &joined, 5, -40, 1);
         Erosion2(joined, ring, out, -9, 12, 2);
       }},
  };
  for (const Size size : sweepSizes()) {
    std::vector<std::uint8_t> pixels = randomPlane(size, static_cast<std::uint32_t>(size.height));
    const HObject image = wrapGray(pixels, size.width, size.height);
    for (const auto& [domain, input] : domainsOf(image, size)) {
      for (const auto& [name, op] : ops) {
        compareWithPortable<HObject>(
            [&, &input = input, &op = op] {
              HObject out;
              op(input, &out);
              return out;
            },
            [&, &domain = domain, &name = name](const HObject& a, const HObject& b,
                                                const std::string& how) {
              expectSameRegions(a, b,
                                std::string(name) + " " + std::to_string(size.width) + "x" +
                                    std::to_string(size.height) + " " + domain + ", " + how);
            });
      }
    }
  }
}

// A reduced domain changes nothing inside it: its pixels are filtered from the whole image's
// neighbours, as with the full domain; outside it the output holds 0.
// A quick sweep halves the image and the disc: the widest masks still reach past the disc.
TEST(OperatorThreads, AReducedDomainKeepsItsPixelsAndLeavesTheRestZero) {
  const bool quick = quickSweep();
  const Size size = quick ? Size{151, 101} : Size{301, 203};
  const Hlong centreRow = quick ? 50 : 100, centreCol = quick ? 75 : 150, radius = quick ? 30 : 60;
  std::vector<std::uint8_t> pixels = randomPlane(size, 5);
  const HObject image = wrapGray(pixels, size.width, size.height);
  HObject disc, reduced;
  GenCircle(&disc, double(centreRow), double(centreCol), double(radius));
  ReduceDomain(image, disc, &reduced);
  for (const ImageOperator& op : imageOperators()) {
    HObject whole, part;
    op.run(image, &whole);
    op.run(reduced, &part);
    const std::vector<std::uint8_t> a = bytesOf(whole), b = bytesOf(part);
    Hlong inside = 0;
    for (Hlong y = 0; y < size.height; ++y) {
      for (Hlong x = 0; x < size.width; ++x) {
        const auto i = static_cast<std::size_t>(y * size.width + x);
        const Hlong dy = y - centreRow, dx = x - centreCol;
        const bool in = dy * dy + dx * dx <= radius * radius;
        inside += in;
        if (in) {
          ASSERT_EQ(a[i], b[i]) << op.name << " at " << y << ", " << x;
        } else {
          ASSERT_EQ(b[i], 0) << op.name << " at " << y << ", " << x;
        }
      }
    }
    EXPECT_GT(inside, 3 * radius * radius) << op.name;  // pi r^2 less the rim
  }
}

// set_system, HALCON 11.0 reference: 'thread_num' defaults to the number of processors and
// takes a positive integer; 'parallelize_operators' is 'true' or 'false', 'true' by default.
TEST(OperatorThreads, SystemParametersKeepTheirValuesAndRefuseOthers) {
  SettingsRestored restored;
  EXPECT_EQ(systemValue("thread_num"), systemValue("processor_num"));
  HTuple value;
  GetSystem("parallelize_operators", &value);
  EXPECT_EQ(std::string(value[0].S().Text()), "true");
  // Read back as set, though no more than 64 threads start.
  SetSystem("thread_num", 1000);
  EXPECT_EQ(systemValue("thread_num"), 1000);
  SetSystem("thread_num", 3);
  EXPECT_EQ(systemValue("thread_num"), 3);
  SetSystem("parallelize_operators", "false");
  GetSystem("parallelize_operators", &value);
  EXPECT_EQ(std::string(value[0].S().Text()), "false");
  struct Row {
    const char* name;
    HTuple value;
    Hlong error;
  };
  const Row rows[] = {
      {"thread_num", HTuple(Hlong{0}), 1302},
      {"thread_num", HTuple(Hlong{-2}), 1302},
      {"thread_num", HTuple("4"), 1202},
      {"thread_num", HTuple(2.5), 1202},
      {"thread_num", tuple({2, 3}), 1402},
      {"parallelize_operators", HTuple("yes"), 1302},
      {"parallelize_operators", HTuple(Hlong{1}), 1202},
      {"standin_simd", HTuple("on"), 1302},
      {"standin_band_pixels", HTuple(Hlong{0}), 1302},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(errorOf([&] { SetSystem(row.name, row.value); }), row.error) << row.name;
  }
  EXPECT_EQ(systemValue("thread_num"), 3);  // a refused value changes nothing
}

// Operators called from several threads at once, while the pool works for one of them, give
// what they give alone.
TEST(OperatorThreads, CallersAtOnceShareThePool) {
  SettingsRestored restored;
  SetSystem("thread_num", 4);
  SetSystem("standin_band_pixels", 1000);
  const Size size = sweepSizes().back();
  std::vector<std::uint8_t> pixels = randomPlane(size, 9);
  const HObject image = wrapGray(pixels, size.width, size.height);
  HObject expected;
  GaussFilter(image, &expected, 7);
  const std::vector<std::uint8_t> reference = bytesOf(expected);
  std::vector<std::thread> callers;
  std::vector<int> same(4, 0);
  for (std::size_t t = 0; t < same.size(); ++t) {
    callers.emplace_back([&, t] {
      for (int i = 0; i < 5; ++i) {
        HObject out;
        GaussFilter(image, &out, 7);
        same[t] += bytesOf(out) == reference;
      }
    });
  }
  for (auto& caller : callers) caller.join();
  for (const int count : same) EXPECT_EQ(count, 5);
}

}  // namespace
