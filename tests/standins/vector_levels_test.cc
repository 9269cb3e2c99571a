// The stand-in's own 'standin_simd': 'true' (every vector path the processor runs), 'avx2'
// (none past AVX2) and 'false' (the portable paths), read back as set; and smooth_image and
// edges_sub_pix give the same at every level.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "standins/iconic_test_support.h"
#include "standins/portable_paths.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

std::string simdLevel() {
  HTuple value;
  GetSystem("standin_simd", &value);
  return value[0].S().Text();
}

TEST(VectorLevels, ReadBackAsSetAndRefuseOthers) {
  SettingsRestored restored;
  EXPECT_EQ(simdLevel(), "true");
  for (const char* level : {"avx2", "false", "true", "avx2"}) {
    SetSystem("standin_simd", level);
    EXPECT_EQ(simdLevel(), level);
  }
  struct Row {
    HTuple value;
    Hlong error;
  };
  const Row rows[] = {{HTuple("avx512"), 1302}, {HTuple(Hlong{1}), 1202}, {tuple({1, 2}), 1402}};
  for (const Row& row : rows) {
    EXPECT_EQ(errorOf([&] { SetSystem("standin_simd", row.value); }), row.error);
    EXPECT_EQ(simdLevel(), "avx2");  // a refused value changes nothing
  }
}

// Every level gives the portable bytes and contours: a row of 64 and more pixels with a tail,
// so that each level's widest vectors and its last columns both run.
TEST(VectorLevels, GiveTheSameResults) {
  SettingsRestored restored;
  const Size size{203, 41};
  std::vector<std::uint8_t> pixels = randomPlane(size, 5);
  const HObject image = wrapGray(pixels, size.width, size.height);
  const auto run = [&] {
    HObject gauss, deriche, edges;
    SmoothImage(image, &gauss, "gauss", 1.7);
    SmoothImage(image, &deriche, "deriche2", 0.8);
    EdgesSubPix(image, &edges, "canny", 1.2, 10, 30);
    std::vector<double> all;
    for (const HObject* smooth : {&gauss, &deriche}) {
      for (const std::uint8_t v : bytesOf(*smooth)) all.push_back(v);
    }
    HTuple count, rows, cols;
    CountObj(edges, &count);
    for (Hlong i = 1; i <= count[0].L(); ++i) {
      HObject one;
      SelectObj(edges, &one, i);
      GetContourXld(one, &rows, &cols);
      for (Hlong k = 0; k < rows.Length(); ++k) {
        all.push_back(rows[k].D());
        all.push_back(cols[k].D());
      }
    }
    return all;
  };
  SetSystem("standin_simd", "false");
  const std::vector<double> portable = run();
  for (const char* level : {"avx2", "true"}) {
    SetSystem("standin_simd", level);
    EXPECT_TRUE(run() == portable) << level;
  }
}

}  // namespace
