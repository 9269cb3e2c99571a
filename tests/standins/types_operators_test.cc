// The co-occurrence matrix, the two-dimensional histogram, region expansion, and thresholds
// and filters on images of every pixel type, as program lines call them. Every expected value
// is worked by hand from the definition on the vendor's HALCON 11.0 reference page each table
// names.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;

struct Expect {
  Lines lines;  // ending in R := the values
  std::vector<double> values;
  const char* worked;
};

void expectRows(const std::vector<Expect>& rows, double tolerance = 1e-6) {
  for (const Expect& row : rows) {
    std::vector<double> got;
    try {
      got = numbers(row.lines);
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << row.worked << ": " << e.Message();
      continue;
    }
    ASSERT_EQ(got.size(), row.values.size()) << row.worked;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i], row.values[i], tolerance) << row.worked << " [" << i << "]";
    }
  }
}

// The whole matrix M, row by row.
Lines matrixValues(int levels) {
  std::string rows, cols;
  for (int r = 0; r < levels; ++r) {
    for (int c = 0; c < levels; ++c) {
      rows += (rows.empty() ? "" : ", ") + std::to_string(r);
      cols += (cols.empty() ? "" : ", ") + std::to_string(c);
    }
  }
  return {"get_grayval (M, [" + rows + "], [" + cols + "], R)"};
}

std::vector<double> over(std::vector<double> counts, double total) {
  for (double& c : counts) c /= total;
  return counts;
}

// gen_cooc_matrix, HALCON 11.0 reference: how often grey levels i and j (the values reduced
// to 2^LdGray levels) are neighbours in the direction (0: right, 45: up right, 90: up, 135: up
// left), counted at (i, j) and (j, i) and normalised by the sum of the entries; the matrix is
// a real image of 2^LdGray x 2^LdGray. The first table is the page's own example, 0 0 3 /
// 1 1 2 / 1 2 3 at LdGray 2 (grey values 64 times the levels).
TEST(GenCoocMatrix, TheReferenceExampleInEachDirection) {
  const Lines setup = gridImage("I", {{0, 0, 192}, {64, 64, 128}, {64, 128, 192}}) +
                      Lines{"gen_rectangle1 (Box, 0, 0, 2, 2)"};
  const auto line = [&](const char* direction) {
    return setup + Lines{std::string("gen_cooc_matrix (Box, I, M, 2, ") + direction + ")"} +
           matrixValues(4);
  };
  expectRows(
      {{line("0"), over({2, 0, 0, 1, 0, 2, 2, 0, 0, 2, 0, 1, 1, 0, 1, 0}, 12),
        "pairs 00 03 11 12 12 23"},
       {line("90"), over({0, 2, 0, 0, 2, 2, 1, 0, 0, 1, 0, 2, 0, 0, 2, 0}, 12),
        "pairs 10 10 23 11 21 32"},
       {line("45"), over({0, 1, 0, 0, 1, 2, 0, 1, 0, 0, 2, 0, 0, 1, 0, 0}, 8), "pairs 10 13 11 22"},
       {line("135"), over({0, 1, 1, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0}, 8),
        "pairs 10 20 21 31"}},
      1e-7);
  expectTexts(
      {{"gen_image_const (I, 'byte', 3, 3)\ngen_cooc_matrix (I, I, M, 3, 0)\nget_image_type (M, "
        "T)\nget_image_size (M, W, H)\nR := [T, W, H]",
        "['real', 8, 8]"}});
}

// gen_cooc_matrix and cooc_feature_matrix (11.0) on a 4 x 4 image of two levels at LdGray 1
// (0 and 200 fall in levels 0 and 1): blocks 0 0 1 1 / 0 0 1 1 / 1 1 0 0 / 1 1 0 0.
// cooc_feature_matrix: Energy = sum c^2, Correlation = sum (i - u)(j - u) c / s^2,
// Homogeneity = sum c / (1 + (i - j)^2), Contrast = sum (i - j)^2 c; cooc_feature_image reads
// the same matrix.
TEST(GenCoocMatrix, FourByFourBlocksAndTheirFeatures) {
  const Lines setup =
      gridImage("I", {{0, 0, 200, 200}, {0, 0, 200, 200}, {200, 200, 0, 0}, {200, 200, 0, 0}});
  const auto line = [&](const char* direction) {
    return setup + Lines{std::string("gen_cooc_matrix (I, I, M, 1, ") + direction + ")"} +
           matrixValues(2);
  };
  expectRows({{line("0"), over({8, 4, 4, 8}, 24), "each row 00 01 11: 4 of each pair"},
              {line("90"), over({8, 4, 4, 8}, 24), "each column the same"},
              {line("45"), over({4, 4, 4, 6}, 18), "00 twice, 11 three times, 01 four times"},
              {line("135"), over({6, 4, 4, 4}, 18), "00 three times, 11 twice, 01 four times"},
              {setup + Lines{"gen_cooc_matrix (I, I, M, 1, 0)",
                             "cooc_feature_matrix (M, E, C, H, K)", "R := [E, C, H, K]"},
               {5.0 / 18, 1.0 / 3, 5.0 / 6, 1.0 / 3},
               "1/3 1/6 / 1/6 1/3: E 2/9 + 2/36; u 1/2, s^2 1/4, cov 1/12; H 2/3 + 1/6"},
              {setup + Lines{"cooc_feature_image (I, I, 1, 0, E, C, H, K)", "R := [E, C, H, K]"},
               {5.0 / 18, 1.0 / 3, 5.0 / 6, 1.0 / 3},
               "the same matrix"}},
             1e-7);
  // A region without neighbours gives a matrix of zeros, and no features.
  expectRows(
      {{setup + Lines{"gen_rectangle1 (Dot, 1, 1, 1, 1)", "gen_cooc_matrix (Dot, I, M, 1, 0)",
                      "cooc_feature_matrix (M, E, C, H, K)", "R := [E, C, H, K]"},
        {0, 0, 0, 0},
        "one pixel: no pairs"}});
  expectLineErrors(
      {{"gen_image_const (I, 'byte', 4, 4)\ngen_cooc_matrix (I, I, M, 0, 0)", 1301},
       {"gen_image_const (I, 'byte', 4, 4)\ngen_cooc_matrix (I, I, M, 9, 0)", 1301},
       {"gen_image_const (I, 'byte', 4, 4)\ngen_cooc_matrix (I, I, M, 2, 30)", 1302},
       {"gen_image_const (B, 'real', 3, 2)\ncooc_feature_matrix (B, E, C, H, K)", 3030},
       {"gen_image_const (I, 'byte', 4, 4)\ncooc_feature_matrix (I, E, C, H, K)", 9001}});
}

// histo_2dim, HALCON 11.0 reference: the grey values of ImageCol give the row, those of
// ImageRow the column of an int4 image of 256 x 256 whose value counts the pixels of the
// region with that pair.
TEST(Histo2dim, CountsPairsWithTheFirstImageAsRow) {
  const Lines setup = gridImage("A", {{1, 2}, {1, 3}}) + gridImage("B", {{5, 5}, {5, 7}});
  expectRows({{setup + Lines{"histo_2dim (A, A, B, H)",
                             "get_grayval (H, [1, 2, 3, 5, 5, 0], [5, 5, 7, 1, 2, 0], R)"},
               {2, 1, 1, 0, 0, 0},
               "pairs (1, 5) twice, (2, 5), (3, 7); never (5, 1)"},
              {setup + Lines{"gen_rectangle1 (Top, 0, 0, 0, 1)", "histo_2dim (Top, A, B, H)",
                             "get_grayval (H, [1, 2, 3], [5, 5, 7], R)"},
               {1, 1, 0},
               "the first row only: (1, 5), (2, 5)"}});
  expectTexts(
      {{"gen_image_const (A, 'byte', 2, 2)\nhisto_2dim (A, A, A, H)\n"
        "get_image_type (H, T)\nget_image_size (H, W, Ht)\nR := [T, W, Ht]",
        "['int4', 256, 256]"}});
  expectLineErrors({{"gen_image_const (A, 'byte', 2, 2)\ngen_image_const (B, 'byte', 3, 2)\n"
                     "histo_2dim (A, A, B, H)",
                     3030},
                    {"gen_image_const (A, 'int2', 2, 2)\nhisto_2dim (A, A, A, H)", 9001}});
}

// expand_region, HALCON 11.0 reference: all regions grow at once by one pixel wide strips
// until they meet another region or the border, the rectangle from (0, 0) to the lower right
// corner of all regions and the forbidden area; never into the forbidden area; 'maximal'
// until nothing changes, 0 returns the regions without their overlaps; an overlap is shared
// out between the regions that hold it, and 'region' grows nowhere else. A pixel both
// fronts reach in one step goes to the earlier region (docs/standins.md).
TEST(ExpandRegion, SeedsGrowAtOnceAndShareTheGap) {
  const std::string seeds =
      "gen_rectangle1 (A, 0, 0, 0, 0)\ngen_rectangle1 (B, 0, 6, 0, 6)\ngen_empty_region (None)\n";
  const auto areas = [&](const std::string& body) {
    return seeds + body + "\narea_center (E, R, Row, Col)";
  };
  expectTexts({
      {areas("concat_obj (A, B, AB)\nexpand_region (AB, None, E, 'maximal', 'image')"),
       "[4, 3]"},  // 1 and 5, then 2 and 4, then 3 to A
      {areas("concat_obj (B, A, BA)\nexpand_region (BA, None, E, 'maximal', 'image')"),
       "[4, 3]"},  // the same gap, 3 to B now
      {areas("concat_obj (A, B, AB)\nexpand_region (AB, None, E, 1, 'image')"), "[2, 2]"},
      {areas("concat_obj (A, B, AB)\nexpand_region (AB, None, E, 0, 'image')"), "[1, 1]"},
      {areas("gen_rectangle1 (F, 0, 3, 0, 3)\nconcat_obj (A, B, AB)\n"
             "expand_region (AB, F, E, 'maximal', 'image')"),
       "[3, 3]"},  // column 3 forbidden
      {areas("concat_obj (A, B, AB)\nexpand_region (AB, None, E, 'maximal', 'region')"),
       "[1, 1]"},  // no overlap, no growth
      {"gen_rectangle1 (P, 2, 2, 2, 2)\ngen_empty_region (None)\n"
       "expand_region (P, None, E, 'maximal', 'image')\nsmallest_rectangle1 (E, R1, C1, R2, "
       "C2)\nR := [R1, C1, R2, C2]",
       "[0, 0, 2, 2]"},  // the frame from (0, 0) to the region's corner
  });
}

TEST(ExpandRegion, OverlapsAreSharedOut) {
  const auto areas = [](const char* a, const char* b, const char* rest) {
    return std::string("gen_rectangle1 (A, 0, ") + a + ")\ngen_rectangle1 (B, 0, " + b +
           ")\nconcat_obj (A, B, AB)\ngen_empty_region (None)\nexpand_region (AB, None, E, " +
           rest + ")\narea_center (E, R, Row, Col)";
  };
  expectTexts({
      {areas("0, 0, 3", "2, 0, 5", "'maximal', 'region'"), "[3, 3]"},  // 2 to A, 3 to B
      {areas("0, 0, 3", "2, 0, 5", "0, 'region'"), "[2, 2]"},
      {areas("0, 0, 3", "2, 0, 5", "'maximal', 'image'"), "[3, 3]"},
      {areas("0, 0, 3", "1, 0, 5", "'maximal', 'region'"),
       "[3, 3]"},  // 1 to A, 3 to B, then 2 to A
  });
  expectTexts(
      {{"gen_empty_obj (E0)\ngen_empty_region (None)\n"
        "expand_region (E0, None, E, 'maximal', 'image')\ncount_obj (E, R)",
        "0"}});
  expectLineErrors({{"gen_empty_region (N)\nexpand_region (N, N, E, 'most', 'image')", 1301},
                    {"gen_empty_region (N)\nexpand_region (N, N, E, -1, 'image')", 1301},
                    {"gen_empty_region (N)\nexpand_region (N, N, E, 1, 'all')", 1302}});
}

// threshold, HALCON 11.0 reference: the pixels with MinGray <= g <= MaxGray, on byte,
// direction, cyclic, int1, int2, uint2, int4 and real images; each type at its limits.
TEST(TypedThreshold, EachTypeAtItsLimits) {
  struct Case {
    const char *type, *value, *bounds;
    int area;
  };
  const Case cases[] = {
      {"int1", "-128", "-128, -128", 1},
      {"int1", "-128", "-127, 127", 0},
      {"int2", "-32768", "-32768, -32768", 1},
      {"int2", "32767", "-32768, 32766", 0},
      {"uint2", "65535", "65535, 65535", 1},
      {"uint2", "65535", "0, 65534", 0},
      {"int4", "-2147483647 - 1", "-2147483647 - 1, -2147483647 - 1", 1},
      {"int4", "2147483647", "0, 2147483646", 0},
      {"real", "0.5", "0.25, 0.75", 1},
      {"real", "0.5", "0.5000001, 1.0", 0},
      {"direction", "179", "179, 179", 1},
      {"cyclic", "255", "0, 254", 0},
  };
  for (const Case& c : cases) {
    expectTexts(
        {{std::string("gen_image_const (I, '") + c.type + "', 1, 1)\nset_grayval (I, 0, 0, " +
              c.value + ")\nthreshold (I, T, " + c.bounds + ")\narea_center (T, R, Row, Col)",
          std::to_string(c.area)}});
  }
  expectLineErrors({{"gen_image_const (I, 'complex', 2, 2)\nthreshold (I, T, 0, 1)", 9001}});
}

// mean_image, HALCON 11.0 reference: the mean over the mask, the image mirrored at its edges,
// on byte, int2, uint2, int4 and real images, the result of the input's type;
// binomial_filter (1 2 1 / 4) on byte, uint2 and real. Integer results are rounded to the
// nearest (docs/standins.md).
TEST(TypedFilters, MeansAndSmoothingKeepTheType) {
  const auto row = [](const char* type, const char* values, const char* op) {
    return std::string("gen_image_const (I, '") + type +
           "', 3, 1)\nset_grayval (I, [0, 0, 0], [0, 1, 2], " + values + ")\n" + op +
           "\nget_image_type (F, T)\nget_grayval (F, [0, 0, 0], [0, 1, 2], G)\n" + "R := [T, G]";
  };
  expectTexts({
      {row("uint2", "[0, 3, 65535]", "mean_image (I, F, 3, 1)"),
       "['uint2', 1, 21846, 43691]"},  // 0+0+3, 0+3+65535, 3+65535+65535 over 3
      {row("int4", "[2000000000, 2000000000, -2000000000]", "mean_image (I, F, 3, 1)"),
       "['int4', 2000000000, 666666667, -666666667]"},
      {row("int2", "[-300, 0, 300]", "mean_image (I, F, 3, 1)"),
       "['int2', -200, 0, 200]"},  // -900 / 3, 0, 900 / 3
  });
  expectRows({{gridImage("I", {{1.0, 2.0, 4.5}}, "real") +
                   Lines{"mean_image (I, F, 3, 1)", "get_grayval (F, [0, 0, 0], [0, 1, 2], R)"},
               {4.0 / 3, 2.5, 11.0 / 3},
               "1+1+2, 1+2+4.5, 2+4.5+4.5 over 3"}},
             1e-6);
  // An impulse of 60000 in a uint2 image: the product of the 1-D weights about it.
  const Lines impulse = Lines{"gen_image_const (I, 'uint2', 5, 5)", "set_grayval (I, 2, 2, 60000)"};
  expectRows(
      {{impulse + Lines{"binomial_filter (I, F, 3, 3)", "get_grayval (F, [2, 2, 1], [2, 3, 3], R)"},
        {15000, 7500, 3750},
        "60000 * 4/16, * 2/16, * 1/16"},
       {Lines{"gen_image_const (I, 'real', 3, 3)", "set_grayval (I, 1, 1, 1.0)",
              "binomial_filter (I, F, 3, 3)", "get_grayval (F, [1, 0], [1, 0], R)"},
        {0.25, 0.0625},
        "4/16 and 1/16 of 1"}});
  expectLineErrors(9001, {"gen_image_const (I, 'int1', 3, 3)\nmean_image (I, F, 3, 3)",
                          "gen_image_const (I, 'int2', 3, 3)\nbinomial_filter (I, F, 3, 3)",
                          "gen_image_const (I, 'direction', 3, 3)\nmean_image (I, F, 3, 3)"});
}

// dyn_threshold, HALCON 11.0 reference: 'light' g >= t + Offset, 'dark' g <= t - Offset,
// 'equal' t - Offset <= g <= t + Offset, 'not_equal' the rest, on images of one type.
TEST(TypedFilters, DynThresholdOnInt2) {
  const std::string setup =
      "gen_image_const (G, 'int2', 3, 1)\nset_grayval (G, [0, 0, 0], [0, 1, 2], [-300, 0, 300])\n"
      "gen_image_const (T, 'int2', 3, 1)\n";
  const auto area = [&](const char* side) {
    return setup + "dyn_threshold (G, T, D, 100, '" + side + "')\narea_center (D, R, Row, Col)";
  };
  expectTexts(
      {{area("light"), "1"}, {area("dark"), "1"}, {area("equal"), "1"}, {area("not_equal"), "2"}});
  expectLineErrors(
      {{(setup + "gen_image_const (B, 'byte', 3, 1)\ndyn_threshold (G, B, D, 1, 'light')"), 9001}});
}

// expand_gray, HALCON 11.0 reference: expand_region's growth (the frame from (0, 0) to the
// regions' lower right corner), a pixel taken only where its
// grey value differs from the region's neighbour by at most Threshold; expand_gray_ref: from
// RefGray (docs/standins.md).
TEST(ExpandRegion, GreyValuesStopTheGrowth) {
  const std::string setup =
      "gen_image_const (I, 'byte', 5, 1)\nset_grayval (I, [0, 0, 0, 0, 0], [0, 1, 2, 3, 4], "
      "[10, 12, 50, 52, 54])\ngen_empty_region (None)\n";
  expectTexts({{setup + "gen_rectangle1 (A, 0, 0, 0, 0)\ngen_rectangle1 (B, 0, 4, 0, 4)\n"
                        "concat_obj (A, B, AB)\n"
                        "expand_gray (AB, I, None, E, 'maximal', 'image', 2)\n"
                        "area_center (E, R, Row, Col)",
                "[2, 3]"},  // 12 to A (|12 - 10| <= 2); 52, then 50 to B, |50 - 12| > 2
               {setup + "gen_rectangle1 (A, 0, 4, 0, 4)\n"
                        "expand_gray_ref (A, I, None, E, 'maximal', 'image', 52, 2)\n"
                        "area_center (E, R, Row, Col)",
                "3"}});  // 52 and 50 within 2 of 52, 12 not
}

// histo_to_thresh, HALCON 11.0 reference: the histogram's minima (after smoothing with Sigma)
// part it into intervals [0, m1], [m1 + 1, m2], ..., [mk + 1, last]; a run of equal values
// is a minimum at its middle (docs/standins.md). bin_threshold: the smoothing grows until one
// minimum is left, the region the pixels from 0 to it. char_threshold: the first grey value
// below the histogram's peak where it falls under Percent of the peak, and the pixels up to it.
// fast_threshold: threshold's pixels.
TEST(HistogramThresholds, MinimaPartTheGreyValues) {
  expectTexts({{"histo_to_thresh ([5, 1, 5], 0, Min, Max)\nR := [Min, Max]", "[0, 2, 1, 2]"},
               {"histo_to_thresh ([3, 1, 1, 3, 0, 2], 0, Min, Max)\nR := [Min, Max]",
                "[0, 2, 5, 1, 4, 5]"},  // minima at 1 (the run 1..2) and 4
               {"histo_to_thresh ([1, 2, 3], 0, Min, Max)\nR := [Min, Max]", "[0, 2]"},
               {"gen_image_const (I, 'byte', 4, 1)\n"
                "set_grayval (I, [0, 0, 0, 0], [0, 1, 2, 3], [10, 10, 200, 200])\n"
                "bin_threshold (I, B)\narea_center (B, R, Row, Col)",
                "2"},  // the zeros 11..199 are one minimum at 105
               {"gen_image_const (I, 'byte', 10, 1)\ngen_image_const (J, 'byte', 10, 1)\n"
                "paint_region (J, J, K, 200, 'fill')\nset_grayval (K, 0, 0, 50)\n"
                "char_threshold (K, K, C, 0, 50, T)\narea_center (C, A, Row, Col)\nR := [T, A]",
                "[199, 1]"},  // peak 9 at 200, h(199) = 0 < 4.5
               {"gen_image_const (I, 'byte', 3, 1)\n"
                "set_grayval (I, [0, 0, 0], [0, 1, 2], [0, 100, 200])\n"
                "fast_threshold (I, F, 50, 150, 20)\narea_center (F, R, Row, Col)",
                "1"}});
  expectLineErrors(
      {{"histo_to_thresh ([], 0, Min, Max)", 1401},
       {"histo_to_thresh ([1, 2], -1, Min, Max)", 1302},
       {"gen_image_const (I, 'byte', 2, 2)\nfast_threshold (I, F, 0, 1, -1)", 1303},
       {"gen_image_const (I, 'byte', 2, 2)\nchar_threshold (I, I, C, 0, 101, T)", 1302}});
}

}  // namespace
