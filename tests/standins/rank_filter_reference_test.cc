// The rank filters, the selective means and rank_region against values worked out by hand from
// the vendor's HALCON 11.0 reference pages (named beside each table), through program lines.
// Where a page leaves a choice open (rounding, the rank of an even mask's median, where a
// region mask's centre falls), the expected value follows docs/standins.md.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// The row of five pixels I = 10 50 20 90 30, the lines given, and row `row` of O as R.
Lines onRow(const Lines& image, const std::string& line, int row = 0) {
  const std::string y = std::to_string(row);
  return image + Lines{line, "get_grayval (O, [" + y + ", " + y + ", " + y + ", " + y + ", " + y +
                                 "], [0, 1, 2, 3, 4], R)"};
}

const Lines kRow = gridImage("I", {{10, 50, 20, 90, 30}});

// median_rect and rank_rect, HALCON 11.0: the value of rank Rank (1 the least) among the
// MaskWidth x MaskHeight pixels, the median rank (w h - 1) / 2 + 1; the border mirrored, so
// that a one-row image repeats its row above and below.
TEST(RankRectReference, RanksOverTheMirroredRectangle) {
  expectCases({
      {"median 3 x 1: {10 10 50} {10 50 20} {50 20 90} {20 90 30} {90 30 30}",
       onRow(kRow, "median_rect (I, O, 3, 1)"), "[10, 20, 50, 30, 30]"},
      {"median 1 x 3: each column holds its pixel three times",
       onRow(kRow, "median_rect (I, O, 1, 3)"), "[10, 50, 20, 90, 30]"},
      {"median 9 x 1 past both ends: each window sorts 10 10 20 20 30 ...; the 5th is 30",
       onRow(kRow, "median_rect (I, O, 9, 1)"), "[30, 30, 30, 30, 30]"},
      {"rank 1 of 3 x 1: the least", onRow(kRow, "rank_rect (I, O, 3, 1, 1)"),
       "[10, 10, 20, 20, 30]"},
      {"rank 3 of 3 x 1: the greatest", onRow(kRow, "rank_rect (I, O, 3, 1, 3)"),
       "[50, 50, 90, 90, 90]"},
      {"rank 5 of 3 x 3 is the median of three copies of each row window",
       onRow(kRow, "rank_rect (I, O, 3, 3, 5)"), "[10, 20, 50, 30, 30]"},
      {"a reduced domain: only its pixels, their neighbours from the whole image",
       kRow + Lines{"gen_rectangle1 (D, 0, 1, 0, 3)", "reduce_domain (I, D, J)",
                    "rank_rect (J, O, 3, 1, 1)", "get_grayval (O, [0, 0, 0], [1, 2, 3], R)"},
       "[10, 20, 20]"},
      {"no image: no result",
       {"gen_empty_obj (E)", "median_rect (E, O, 3, 3)", "count_obj (O, R)"},
       "0"},
  });
  expectErrorCases({
      {kRow + Lines{"median_rect (I, O, 4, 3)"}, 1301},
      {kRow + Lines{"median_rect (I, O, 0, 3)"}, 1301},
      {kRow + Lines{"median_rect (I, O, 4097, 3)"}, 1301},
      {kRow + Lines{"median_rect (I, O, 3, 2)"}, 1302},
      {kRow + Lines{"rank_rect (I, O, 3, 3, 0)"}, 1303},
      {kRow + Lines{"rank_rect (I, O, 3, 3, 10)"}, 1303},
  });
}

// rank_image, HALCON 11.0: any region as the mask, its centre of gravity the reference point
// (rounded to the nearest pixel); Margin a grey value, 'continued', 'cyclic' or 'mirrored'.
TEST(RankImageReference, RegionMaskAndMargins) {
  const std::string three = "gen_rectangle1 (M, 10, 20, 10, 22)";  // offsets -1 ... 1
  const std::string five = "gen_rectangle1 (M, 10, 20, 10, 24)";   // offsets -2 ... 2
  const auto with = [&](const std::string& mask, const std::string& line) {
    return onRow(kRow + Lines{mask}, line);
  };
  expectCases({
      {"rank 2 of 3: the median, wherever the mask lies",
       with(three, "rank_image (I, M, O, 2, 'mirrored')"), "[10, 20, 50, 30, 30]"},
      {"grey value 0 beyond the ends, rank 1: {0 10 50} ... {90 30 0}",
       with(three, "rank_image (I, M, O, 1, 0)"), "[0, 10, 20, 20, 0]"},
      {"'cyclic', rank 1: {30 10 50} ... {90 30 10}",
       with(three, "rank_image (I, M, O, 1, 'cyclic')"), "[10, 10, 20, 20, 10]"},
      {"'continued', median of 5: {10 10 10 50 20} {10 10 50 20 90} ...",
       with(five, "rank_image (I, M, O, 3, 'continued')"), "[10, 20, 30, 30, 30]"},
      {"'mirrored', median of 5: {50 10 10 50 20} ...",
       with(five, "rank_image (I, M, O, 3, 'mirrored')"), "[20, 20, 30, 30, 30]"},
      {"two columns, centre 20.5 rounded to 21: offsets -1 and 0, rank 2 the greater",
       with("gen_rectangle1 (M, 0, 20, 0, 21)", "rank_image (I, M, O, 2, 'mirrored')"),
       "[10, 50, 50, 90, 90]"},
  });
  expectErrorCases({
      {kRow + Lines{three, "rank_image (I, M, O, 0, 'mirrored')"}, 1301},
      {kRow + Lines{three, "rank_image (I, M, O, 4, 'mirrored')"}, 1301},
      {kRow + Lines{"gen_empty_region (M)", "rank_image (I, M, O, 1, 'mirrored')"}, 1301},
      {kRow + Lines{three, "rank_image (I, M, O, 1, 'wrapped')"}, 1302},
      {kRow + Lines{three, "rank_image (I, M, O, 1, 256)"}, 1302},
      {kRow + Lines{three, "concat_obj (M, M, MM)", "rank_image (I, MM, O, 1, 'mirrored')"}, 1502},
  });
}

// dual_rank, HALCON 11.0: rank_image at ModePercent, then at 100 - ModePercent: 0 an opening,
// 50 the median twice, 100 a closing. The square of radius 1 over one row acts as 3 x 1.
TEST(DualRankReference, TwoRankFilters) {
  expectCases({
      {"0: erosion 10 10 20 20 30, then dilation",
       onRow(kRow, "dual_rank (I, O, 'square', 1, 0, 'mirrored')"), "[10, 20, 20, 30, 30]"},
      {"50: median 10 20 50 30 30, then median again",
       onRow(kRow, "dual_rank (I, O, 'square', 1, 50, 'mirrored')"), "[10, 20, 30, 30, 30]"},
      {"100: dilation 50 50 90 90 90, then erosion",
       onRow(kRow, "dual_rank (I, O, 'square', 1, 100, 'mirrored')"), "[50, 50, 50, 90, 90]"},
  });
  expectErrorCases({
      {kRow + Lines{"dual_rank (I, O, 'ring', 1, 50, 'mirrored')"}, 1301},
      {kRow + Lines{"dual_rank (I, O, 'circle', 0, 50, 'mirrored')"}, 1302},
      {kRow + Lines{"dual_rank (I, O, 'circle', 1, 101, 'mirrored')"}, 1303},
      {kRow + Lines{"dual_rank (I, O, 'circle', 1, 50, 'wrapped')"}, 1304},
  });
}

// trimmed_mean, HALCON 11.0: of the F sorted values, the first (F - Number) / 2 are left out and
// the next Number averaged (rounded, halves up). Mask 1 x 5, mirrored.
TEST(TrimmedMeanReference, MiddleValuesAveraged) {
  const std::string five = "gen_rectangle1 (M, 0, 0, 0, 4)";
  const auto at2 = [&](const std::string& number) {
    return kRow + Lines{five, "trimmed_mean (I, M, O, " + number + ", 'mirrored')",
                        "get_grayval (O, [0, 0], [0, 2], R)"};
  };
  expectCases({
      {"3: (column 0) 10 [10 20 50] 50: 80 / 3; (column 2) 10 [20 30 50] 90: 100 / 3", at2("3"),
       "[27, 33]"},
      {"5: the plain mean, (column 2) 200 / 5", at2("5"), "[28, 40]"},
      {"1: the median", at2("1"), "[20, 30]"},
      {"4: (5 - 4) / 2 = 0 left out; (column 2) 10 20 30 50: 27.5 up", at2("4"), "[23, 28]"},
  });
  expectErrorCases({
      {kRow + Lines{five, "trimmed_mean (I, M, O, 0, 'mirrored')"}, 1301},
      {kRow + Lines{five, "trimmed_mean (I, M, O, 6, 'mirrored')"}, 1301},
      {kRow + Lines{five, "trimmed_mean (I, M, O, 3, 'none')"}, 1302},
  });
}

// median_weighted, HALCON 11.0: each pixel of the 3 x 3 mask counted by its weight, 'gauss'
// 1 2 1 / 2 4 2 / 1 2 1 (16 values) and 'inner' centre 3 (11 values); the median of A values
// is rank (A - 1) / 2 + 1, the lower middle for 16.
TEST(MedianWeightedReference, WeightedCounts) {
  const Lines grid = gridImage("I", {{10, 20, 30}, {40, 0, 60}, {70, 80, 90}});
  const auto at = [&](const std::string& type) {
    return grid +
           Lines{"median_weighted (I, O, '" + type + "', 3)", "get_grayval (O, [1, 0], [1, 0], R)"};
  };
  expectCases({
      {"inner: (1, 1) 0 0 0 10 20 [30] 40 ...; (0, 0) mirrored 0 10 10 10 10 [10] ...", at("inner"),
       "[30, 10]"},
      {"gauss: (1, 1) 0 0 0 0 10 20 20 [30] 40 ...; (0, 0) one 0, nine 10s, ...", at("gauss"),
       "[30, 10]"},
  });
  expectErrorCases({
      {kRow + Lines{"median_weighted (I, O, 'box', 3)"}, 1301},
      {kRow + Lines{"median_weighted (I, O, 'inner', 5)"}, 1302},
  });
}

// median_separate, HALCON 11.0: the median along each row over MaskWidth, then down each column
// over MaskHeight; an even side acts as the next odd one.
TEST(MedianSeparateReference, RowsThenColumns) {
  const Lines grid =
      gridImage("I", {{10, 50, 20, 90, 30}, {60, 0, 80, 40, 70}, {25, 35, 15, 95, 5}});
  expectCases({
      {"rows 10 20 50 30 30 / 60 60 40 70 70 / 25 25 35 15 5, then columns at row 1",
       onRow(grid, "median_separate (I, O, 3, 3, 'mirrored')", 1), "[25, 25, 40, 30, 30]"},
      {"width 2 acts as 3, height 1 leaves the row medians",
       onRow(grid, "median_separate (I, O, 2, 1, 'mirrored')", 1), "[60, 60, 40, 70, 70]"},
  });
  expectErrorCases({
      {kRow + Lines{"median_separate (I, O, -1, 3, 'mirrored')"}, 1301},
      {kRow + Lines{"median_separate (I, O, 3, 3, 'none')"}, 1303},
  });
}

// mean_sp and eliminate_sp, HALCON 11.0: the mean of the window's grey values within
// [MinThresh, MaxThresh] (rounded), the pixel's own when there are none; eliminate_sp replaces
// only the pixels outside the range. Row 10 20 250 60 0, 3 x 3, range 5 ... 240.
TEST(SaltAndPepperReference, MeansWithinTheRange) {
  const Lines row = gridImage("I", {{10, 20, 250, 60, 0}});
  expectCases({
      {"mean_sp: {10 10 20} 13.3, {10 20} 15, {20 60} 40, {60} 60, {60} 60",
       onRow(row, "mean_sp (I, O, 3, 3, 5, 240)"), "[13, 15, 40, 60, 60]"},
      {"eliminate_sp: 250 and 0 replaced", onRow(row, "eliminate_sp (I, O, 3, 3, 5, 240)"),
       "[10, 20, 40, 60, 60]"},
      {"an even width grows to 3", onRow(row, "mean_sp (I, O, 2, 3, 5, 240)"),
       "[13, 15, 40, 60, 60]"},
      {"nothing within the range: the pixels stay", onRow(row, "mean_sp (I, O, 3, 3, 100, 200)"),
       "[10, 20, 250, 60, 0]"},
  });
  expectErrorCases({
      {kRow + Lines{"mean_sp (I, O, 1, 3, 5, 240)"}, 1301},
      {kRow + Lines{"eliminate_sp (I, O, 3, 1, 5, 240)"}, 1302},
      {kRow + Lines{"mean_sp (I, O, 3, 3, 256, 240)"}, 1303},
      {kRow + Lines{"eliminate_sp (I, O, 3, 3, 100, 50)"}, 1304},
  });
}

// sigma_image, HALCON 11.0: the window's standard deviation s, then the mean of its pixels that
// differ from the centre by less than Sigma s; none: the centre stays. Row 10 12 200 14 16,
// 3 x 3 (each column thrice).
TEST(SigmaImageReference, MeanWithinSigmaDeviations) {
  const Lines row = gridImage("I", {{10, 12, 200, 14, 16}});
  expectCases({
      {"Sigma 1: {10 10 12} s .94: 10; {10 12 200} s 89.1: 11; {12 200 14} s 88.2: 200 alone; "
       "{200 14 16} s 87.2: 15; {14 16 16} s .94: 16",
       onRow(row, "sigma_image (I, O, 3, 3, 1)"), "[10, 11, 200, 15, 16]"},
      {"Sigma 0 selects nothing", onRow(row, "sigma_image (I, O, 3, 3, 0)"),
       "[10, 12, 200, 14, 16]"},
  });
  expectErrorCases({
      {kRow + Lines{"sigma_image (I, O, 1, 3, 1)"}, 1301},
      {kRow + Lines{"sigma_image (I, O, 3, 1, 1)"}, 1302},
      {kRow + Lines{"sigma_image (I, O, 3, 3, -1)"}, 1303},
  });
}

// eliminate_min_max, HALCON 11.0: a pixel is replaced when g >= Gap + max(E) or g + Gap <=
// min(E), E its neighbours in the window clipped at the image's edges; Mode 1 by max(E) or
// min(E), 2 by the window's mean, others by its median. 3 x 1 windows: E = {50}, {10 20},
// {50 90}, {20 30}, {90}.
TEST(EliminateMinMaxReference, ReplacesIsolatedExtremes) {
  expectCases({
      {"Mode 1, Gap 10: all five are extremes",
       onRow(kRow, "eliminate_min_max (I, O, 3, 1, 10, 1)"), "[50, 20, 50, 30, 90]"},
      {"Mode 2: {10 50} 30, 80 / 3, 160 / 3, 140 / 3, {30 90} 60",
       onRow(kRow, "eliminate_min_max (I, O, 3, 1, 10, 2)"), "[30, 27, 53, 47, 60]"},
      {"Mode 3: the lower middle of {10 50} is 10",
       onRow(kRow, "eliminate_min_max (I, O, 3, 1, 10, 3)"), "[10, 20, 50, 30, 30]"},
      {"Mode 7 acts as 3", onRow(kRow, "eliminate_min_max (I, O, 3, 1, 10, 7)"),
       "[10, 20, 50, 30, 30]"},
      {"Gap 40: 10 + 40 <= 50 holds at equality; 50 and 20 stay",
       onRow(kRow, "eliminate_min_max (I, O, 3, 1, 40, 1)"), "[50, 50, 20, 30, 90]"},
      {"an even width acts as the next odd one",
       onRow(kRow, "eliminate_min_max (I, O, 2, 1, 10, 1)"), "[50, 20, 50, 30, 90]"},
  });
  expectErrorCases({
      {kRow + Lines{"eliminate_min_max (I, O, -1, 1, 10, 1)"}, 1301},
      {kRow + Lines{"eliminate_min_max (I, O, 3, 5000, 10, 1)"}, 1302},
  });
}

// mean_n and rank_n, HALCON 11.0: the mean (rounded) and the value of rank RankIndex across
// the channels of each pixel. Channels 10 200 / 20 100 / 32 0.
TEST(ChannelRankReference, AcrossChannels) {
  const Lines three{"gen_image_const (A, 'byte', 2, 1)",
                    "set_grayval (A, [0, 0], [0, 1], [10, 200])",
                    "gen_image_const (B, 'byte', 2, 1)",
                    "set_grayval (B, [0, 0], [0, 1], [20, 100])",
                    "gen_image_const (C, 'byte', 2, 1)",
                    "set_grayval (C, [0, 0], [0, 1], [32, 0])",
                    "compose3 (A, B, C, I)"};
  const auto with = [&](const std::string& line) {
    return three + Lines{line, "get_grayval (O, [0, 0], [0, 1], R)"};
  };
  expectCases({
      {"mean: 62 / 3 = 20.7, 300 / 3", with("mean_n (I, O)"), "[21, 100]"},
      {"rank 1", with("rank_n (I, O, 1)"), "[10, 0]"},
      {"rank 2", with("rank_n (I, O, 2)"), "[20, 100]"},
      {"rank 3", with("rank_n (I, O, 3)"), "[32, 200]"},
  });
  Lines bad = three;
  bad.push_back("rank_n (I, O, 4)");
  expectErrorCases({{bad, 1301}, {kRow + Lines{"rank_n (I, O, 0)"}, 1301}});
}

// rank_region, HALCON 11.0: the region's points with at least Number of its points in the
// Width x Height mask about them; sides below 3 or even become the next odd one, silently.
// A 5 x 3 rectangle: corners see 4 points, other border points 6, the three inner ones 9.
TEST(RankRegionReference, CountsInTheMask) {
  const auto area = [](const std::string& line) {
    return Lines{"gen_rectangle1 (Box, 0, 0, 2, 4)", line, "area_center (O, R, Row, Column)"};
  };
  expectCases({
      {"9: the inner three", area("rank_region (Box, O, 3, 3, 9)"), "3"},
      {"4: every point", area("rank_region (Box, O, 3, 3, 4)"), "15"},
      {"5: all but the corners", area("rank_region (Box, O, 3, 3, 5)"), "11"},
      {"1 x 1 acts as 3 x 3", area("rank_region (Box, O, 1, 1, 9)"), "3"},
      {"4 x 3 acts as 5 x 3: 15 only at the centre", area("rank_region (Box, O, 4, 3, 15)"), "1"},
      {"an empty region stays empty",
       {"gen_empty_region (Box)", "rank_region (Box, O, 3, 3, 1)",
        "area_center (O, R, Row, Column)"},
       "0"},
  });
  expectErrorCases({{area("rank_region (Box, O, 3, 3, 0)"), 1303}});
}

}  // namespace
