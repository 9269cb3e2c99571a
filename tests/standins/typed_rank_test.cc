// The rank filters on int2, uint2, int4 and real images through program lines: where the grey
// values fit a byte, the same answers as the byte images' path; beyond, values worked by hand
// from the pages (named beside each table). A constant margin follows docs/standins.md.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// I: 5 x 3 bytes; M: a mask region of five pixels about its centre.
const Lines kBytes =
    gridImage("I", {{10, 50, 20, 90, 30}, {5, 200, 60, 0, 255}, {70, 8, 90, 33, 12}}) +
    Lines{"gen_region_points (M, [0, 1, 1, 1, 2], [1, 0, 1, 2, 1])",
          "Rows := [0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2]",
          "Cols := [0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1, 2, 3, 4]"};

// The filter `line` (X in, Y out) on I and on I converted to `type`, and the sum of the
// differences of their grey values over every pixel.
Lines against(const std::string& line, const std::string& type, const Lines& before = {}) {
  const auto on = [&](const std::string& in, const std::string& out) {
    std::string l = line;
    l.replace(l.find('X'), 1, in);
    l.replace(l.find('Y'), 1, out);
    return l;
  };
  return kBytes + before +
         Lines{"convert_image_type (I, J, '" + type + "')",
               on("I", "O"),
               on("J", "P"),
               "get_grayval (O, Rows, Cols, G1)",
               "get_grayval (P, Rows, Cols, G2)",
               "get_image_type (P, T)",
               "R := [T, sum(abs(G1 - G2))]"};
}

// median_image, rank_image, median_rect, rank_rect, dual_rank, median_separate,
// median_weighted, HALCON 11.0: the same rank of the same mask's grey values, whatever the
// type that holds them; the result keeps the input's type.
TEST(TypedRankFilters, AgreeWithTheBytePath) {
  const std::vector<std::string> lines{
      "median_image (X, Y, 'circle', 2, 'mirrored')",
      "median_image (X, Y, 'square', 1, 'cyclic')",
      "median_image (X, Y, 'square', 1, 7)",
      "rank_image (X, M, Y, 4, 'continued')",
      "median_rect (X, Y, 5, 3)",
      "rank_rect (X, Y, 3, 3, 2)",
      "dual_rank (X, Y, 'circle', 1, 20, 'mirrored')",
      "median_separate (X, Y, 3, 3, 'mirrored')",
      "median_weighted (X, Y, 'gauss', 3)",
      "median_weighted (X, Y, 'inner', 3)",
  };
  for (const char* type : {"int2", "uint2", "int4", "real"}) {
    const std::string zero = std::string(type) == "real" ? "0.0" : "0";
    for (const std::string& line : lines) {
      expectText(against(line, type), "['" + std::string(type) + "', " + zero + "]",
                 line + " on " + type);
    }
    // A reduced domain: only its pixels are computed, the others stay 0 in both.
    expectText(against("rank_rect (X, Y, 3, 3, 8)", type,
                       {"gen_rectangle1 (D, 0, 1, 1, 3)", "reduce_domain (I, D, K)", "I := K"}),
               "['" + std::string(type) + "', " + zero + "]", std::string("domain on ") + type);
  }
}

// Values beyond a byte. median_rect, rank_rect, rank_image, HALCON 11.0: rank (N - 1) / 2 + 1
// or Rank among the mask's values, the border mirrored (one row repeats above and below);
// a constant margin reads the constant beyond the edges.
TEST(TypedRankFilters, ValuesBeyondAByte) {
  const auto row = [](const std::string& type, const std::string& values, const Lines& more) {
    return Lines{"gen_image_const (J, '" + type + "', 5, 1)",
                 "set_grayval (J, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], " + values + ")"} +
           more + Lines{"get_grayval (O, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], R)"};
  };
  expectCases({
      {"real median 3 x 1: {.5 .5 -2.25} {.5 -2.25 1e6} {-2.25 1e6 3} {1e6 3 7.75} {3 7.75 7.75}",
       row("real", "[0.5, -2.25, 1000000.0, 3.0, 7.75]", {"median_rect (J, O, 3, 1)"}),
       "[0.5, 0.5, 3.0, 7.75, 7.75]"},
      {"int2 rank 1 of 3 x 1: the least of each mirrored window",
       row("int2", "[-300, 1000, -5, 20000, 7]", {"rank_rect (J, O, 3, 1, 1)"}),
       "[-300, -300, -5, -5, 7]"},
      {"int2 rank 2 of a 1 x 3 region, 30000 beyond both ends",
       row("int2", "[-300, 1000, -5, 20000, 7]",
           {"gen_rectangle1 (M, 0, 0, 0, 2)", "rank_image (J, M, O, 2, 30000)"}),
       "[1000, -5, 1000, 7, 20000]"},
  });
  // median_weighted 'inner', HALCON 11.0: the centre thrice, its neighbours once, the 6th of
  // 11: the mirrored windows hold {60000 x8, 3 x3}, {3 x5, 60000 x3, 65535 x3}, {3 x3, 65535 x8}.
  // rank_n, HALCON 11.0: the RankIndex-th of the channels' values in ascending order.
  const Lines channels = gridImage("A", {{-5}}, "int2") + gridImage("B", {{300}}, "int2") +
                         gridImage("C", {{-1000}}, "int2") + Lines{"compose3 (A, B, C, J)"};
  expectCases({
      {"uint2 weighted median",
       gridImage("J", {{60000, 3, 65535}}, "uint2") +
           Lines{"median_weighted (J, O, 'inner', 3)", "get_grayval (O, [0, 0, 0], [0, 1, 2], R)"},
       "[60000, 60000, 65535]"},
      {"rank_n 1, 2, 3 of -5, 300, -1000, an int2 image",
       channels + Lines{"rank_n (J, O1, 1)", "rank_n (J, O2, 2)", "rank_n (J, O3, 3)",
                        "get_grayval (O1, 0, 0, G1)", "get_grayval (O2, 0, 0, G2)",
                        "get_grayval (O3, 0, 0, G3)", "get_image_type (O3, T)",
                        "R := [G1, G2, G3, T]"},
       "[-1000, -5, 300, 'int2']"},
  });
  // The pages' types only (H_ERR_WIT); a byte image's constant margin stays 0 ... 255.
  expectLineErrors({
      {"gen_image_const (J, 'int1', 3, 3)\nmedian_image (J, O, 'square', 1, 'mirrored')", 9001},
      {"gen_image_const (J, 'complex', 3, 3)\nrank_rect (J, O, 3, 3, 1)", 9001},
      {"gen_image_const (J, 'direction', 3, 3)\nrank_n (J, O, 1)", 9001},
      {"gen_image_const (J, 'byte', 3, 3)\nmedian_image (J, O, 'square', 1, -7)", 1303},
      {"gen_image_const (J, 'int2', 3, 3)\nmedian_image (J, O, 'square', 1, 'edge')", 1303},
  });
}

}  // namespace
