// The grey-value features and statistics as program lines call them, against values worked by
// hand from the definitions on the vendor's HALCON 11.0 reference pages, which each table
// names. Images are built as a program builds them: gen_image_const, then set_grayval.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;

// Lines that make I a WIDTH x HEIGHT byte image of one grey value.
Lines flat(int width, int height, int gray) {
  const std::string w = std::to_string(width), h = std::to_string(height);
  return {"gen_image_const (Black, 'byte', " + w + ", " + h + ")",
          "gen_rectangle1 (Whole, 0, 0, " + std::to_string(height - 1) + ", " +
              std::to_string(width - 1) + ")",
          "paint_region (Whole, Black, I, " + std::to_string(gray) + ", 'fill')"};
}

struct Expect {
  const char* line;  // an operator line, then R := the outputs
  std::vector<double> values;
  const char* worked;
};

void expectRows(const Lines& setup, const std::vector<Expect>& rows, double tolerance = 1e-6) {
  for (const Expect& row : rows) {
    std::vector<double> got;
    try {
      got = numbers(with(setup, split(row.line)));
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << row.line << ": " << e.Message();
      continue;
    }
    ASSERT_EQ(got.size(), row.values.size()) << row.line;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i], row.values[i], tolerance) << row.line << " [" << i << "]: " << row.worked;
    }
  }
}

// g = 10 + 30 r + 10 c: a plane, so that every fit is exact.
const Grid kPlane = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};

// area_center_gray (11.0): the grey-value volume and its centre of gravity. moments_gray_plane
// (11.0): MRow = sum (r - r')(g - Mean) / F^2, MCol likewise, Alpha, Beta from them and the
// region's normalised moments m20 = m02 = 2/3, m11 = 0. plane_deviation (11.0): the deviation
// from that plane. elliptic_axis_gray (11.0): elliptic_axis's ellipse of the moments weighted
// by the grey values: m20 = 114/225, m02 = 146/225, m11 = -12/225.
TEST(GrayMoments, PlaneImage) {
  const Lines setup = with(gridImage("I", kPlane), {"gen_rectangle1 (Box, 0, 0, 2, 2)"});
  expectRows(setup, {{"area_center_gray (Box, I, A, Row, Col)\nR := [A, Row, Col]",
                      {450, 1.4, 1.1333333333},
                      "450; rows 60, 150, 240: 630 / 450; columns 120, 150, 180: 510 / 450"},
                     {"moments_gray_plane (Box, I, MRow, MCol, Alpha, Beta, Mean)\n"
                      "R := [MRow, MCol, Alpha, Beta, Mean]",
                      {180.0 / 81, 60.0 / 81, 30, 10, 50},
                      "sum (r - 1) g = 180, sum (c - 1) g = 60; Alpha = 180 / 81 * 9 / (2/3)"},
                     {"plane_deviation (Box, I, D)\nR := D", {0}, "the plane itself"},
                     {"elliptic_axis_gray (Box, I, Ra, Rb, Phi)\nR := [Ra, Rb, Phi]",
                      {1.6329931619, 1.3984117975, 0.3217505544},
                      "root 40/225: Ra = sqrt(8 * 300/225) / 2, Rb = sqrt(8 * 220/225) / 2, "
                      "Phi = atan(24 / 32) / 2"}});
}

// A constant region has no spread, no slope and no entropy; one pixel is its own centre
// (intensity, entropy_gray, moments_gray_plane, area_center_gray, elliptic_axis_gray, 11.0).
TEST(GrayMoments, ConstantRegionAndOnePixel) {
  const Lines setup =
      with(flat(7, 5, 100), {"gen_rectangle1 (Dot, 2, 4, 2, 4)", "set_grayval (I, 2, 4, 40)",
                             "gen_rectangle1 (Flat, 0, 0, 0, 6)"});
  expectRows(
      setup,
      {{"gray_features (Flat, I, ['mean', 'deviation', 'min', 'max', 'median', "
        "'entropy', 'anisotropy', 'plane_deviation', 'alpha', 'beta'], R)",
        {100, 0, 100, 100, 100, 0, 0, 0, 0, 0},
        "a row of 100s"},
       {"area_center_gray (Dot, I, A, Row, Col)\nR := [A, Row, Col]", {40, 2, 4}, "one 40"},
       {"elliptic_axis_gray (Dot, I, Ra, Rb, Phi)\nR := [Ra, Rb, Phi]", {0, 0, 0}, "a point"},
       {"fit_surface_first_order (Dot, I, 'regression', 5, 2, A, B, G)\nR := [A, B, G]",
        {0, 0, 40},
        "no slope across one pixel"},
       {"fit_surface_second_order (Flat, I, 'tukey', 5, 2, A, B, G, D, E, Z)\n"
        "R := [A, B, G, D, E, Z]",
        {0, 0, 0, 0, 0, 100},
        "one row: no row terms"}});
}

// entropy_gray (11.0): Entropy = -sum rel[i] ld rel[i]; Anisotropy = the part of that sum up to
// k, the smallest grey value whose cumulated rel reaches 0.5, over Entropy.
TEST(GrayEntropy, EntropyAndAnisotropy) {
  const Lines setup =
      with(gridImage("I", {{0, 0, 100, 200}, {0, 100, 200, 250}}),
           {"gen_rectangle1 (Top, 0, 0, 0, 3)", "gen_rectangle1 (Bottom, 1, 0, 1, 3)"});
  expectRows(setup, {{"entropy_gray (Top, I, E, A)\nR := [E, A]",
                      {1.5, 1.0 / 3},
                      "rel .5 .25 .25: .5 + .5 + .5; k = 0: .5 / 1.5"},
                     {"entropy_gray (Bottom, I, E, A)\nR := [E, A]",
                      {2, 0.5},
                      "four quarters: 2; k = 100: (.5 + .5) / 2"}});
}

// fuzzy_entropy (11.0): (1 / (F ln 2)) sum over the pixels of Shannon's function
// -u ln u - (1 - u) ln(1 - u) of Zadeh's S-function u from Apar to Cpar; gray_features'
// 'fuzzy_entropy' is Apar 0, Cpar 255. u(64) = 2 (64/255)^2 = .125982,
// u(128) = 1 - 2 (127/255)^2 = .503914; u(110), u(125), u(140) from 100 to 150: .08, .5, .92.
TEST(GrayEntropy, FuzzyEntropy) {
  const Lines setup =
      with(gridImage("I", {{0, 64, 128, 255}, {110, 125, 140, 0}}),
           {"gen_rectangle1 (Top, 0, 0, 0, 3)", "gen_rectangle1 (Three, 1, 0, 1, 2)"});
  expectRows(setup,
             {{"fuzzy_entropy (Top, I, 0, 255, E)\nR := E",
               {0.3865679},
               "(0 + .378665 + .693099 + 0) / (4 ln 2)"},
              {"gray_features (Top, I, 'fuzzy_entropy', R)", {0.3865679}, "the same"},
              {"fuzzy_entropy (Three, I, 100, 150, E)\nR := E",
               {0.6014528},
               "(.278772 + .693147 + .278772) / (3 ln 2)"}},
             1e-6);
}

// gray_features and select_gray (11.0): each name gives what its operator gives; values come
// region by region, each region's features in the order named.
TEST(GrayFeatureNames, EachNameIsItsOperator) {
  const Lines setup = with(gridImage("I", kPlane), {"gen_rectangle1 (Box, 0, 0, 2, 2)",
                                                    "gen_rectangle1 (Left, 0, 0, 2, 1)"});
  const char* names[][2] = {
      {"area", "area_center_gray (Box, I, V, X, Y)"},
      {"row", "area_center_gray (Box, I, X, V, Y)"},
      {"column", "area_center_gray (Box, I, X, Y, V)"},
      {"ra", "elliptic_axis_gray (Box, I, V, X, Y)"},
      {"rb", "elliptic_axis_gray (Box, I, X, V, Y)"},
      {"phi", "elliptic_axis_gray (Box, I, X, Y, V)"},
      {"min", "min_max_gray (Box, I, 0, V, X, Y)"},
      {"max", "min_max_gray (Box, I, 0, X, V, Y)"},
      {"median", "min_max_gray (Box, I, 50, V, X, Y)"},
      {"mean", "intensity (Box, I, V, X)"},
      {"deviation", "intensity (Box, I, X, V)"},
      {"plane_deviation", "plane_deviation (Box, I, V)"},
      {"entropy", "entropy_gray (Box, I, V, X)"},
      {"anisotropy", "entropy_gray (Box, I, X, V)"},
      {"fuzzy_entropy", "fuzzy_entropy (Box, I, 0, 255, V)"},
      {"moments_row", "moments_gray_plane (Box, I, V, A, B, C, D)"},
      {"moments_column", "moments_gray_plane (Box, I, A, V, B, C, D)"},
      {"alpha", "moments_gray_plane (Box, I, A, B, V, C, D)"},
      {"beta", "moments_gray_plane (Box, I, A, B, C, V, D)"},
  };
  for (const auto& [name, line] : names) {
    const std::vector<double> byName =
        numbers(with(setup, {std::string("gray_features (Box, I, '") + name + "', R)"}));
    const std::vector<double> byOperator = numbers(with(setup, {line, "R := V"}));
    EXPECT_EQ(byName, byOperator) << name;
  }
  expectRows(setup, {{"concat_obj (Box, Left, Both)\ngray_features (Both, I, ['mean', 'max'], R)",
                      {50, 90, 45, 80},
                      "Box: 50, 90; Left: 270 / 6, 80"}});
  expectErrorCases(
      {{{"gray_features (Box, I, 'volume', R)"}, 1301}, {{"gray_features (Box, I, 5, R)"}, 1201}},
      setup);
}

// fuzzy_perimeter (11.0) through gray_features: the steps of the S-function from 0 to 255
// between neighbours in a row and in a column, both in the region. 0 255 over 0 0: u 0 1 / 0 0.
TEST(GrayFeatureNames, FuzzyPerimeter) {
  expectRows(with(gridImage("I", {{0, 255}, {0, 0}}), {"gen_rectangle1 (Box, 0, 0, 1, 1)"}),
             {{"gray_features (Box, I, 'fuzzy_perimeter', R)", {2}, "|0 - 1| + |1 - 0|"}});
}

// select_gray (11.0): a region is kept when every ('and') or some ('or') feature lies within
// [Min, Max]; 'min' and 'max' leave a limit open.
TEST(SelectGray, AndOrAndOpenLimits) {
  const Lines setup =
      with(gridImage("I", {{10, 10, 200, 250}}),
           {"gen_rectangle1 (Dark, 0, 0, 0, 1)", "gen_rectangle1 (Light, 0, 2, 0, 3)",
            "gen_rectangle1 (All, 0, 0, 0, 3)", "concat_obj (Dark, Light, Two)",
            "concat_obj (Two, All, Three)"});
  struct Row {
    const char* select;
    const char* expected;  // the areas of the regions kept
  };
  const Row rows[] = {
      {"select_gray (Three, I, S, 'mean', 'and', 100, 'max')", "[2, 4]"},
      {"select_gray (Three, I, S, 'mean', 'and', 'min', 100)", "2"},
      {"select_gray (Three, I, S, ['mean', 'deviation'], 'and', [100, 0], [255, 30])", "2"},
      {"select_gray (Three, I, S, ['mean', 'deviation'], 'or', [200, 50], [255, 255])", "[2, 4]"},
      {"select_gray (Three, I, S, 'max', 'and', 250, 250)", "[2, 4]"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(text(runLines(with(setup, {row.select, "area_center (S, R, Y, X)"}))), row.expected)
        << row.select;
  }
  expectErrorCases({{{"select_gray (Three, I, S, 'mean', 'xor', 0, 1)"}, 1302},
                    {{"select_gray (Three, I, S, 'mean', 'and', 0, [1, 2])"}, 1404}},
                   setup);
}

// gray_histo_abs (11.0): Quantization q adds the counts of q neighbouring grey values, grey
// value g counting in bin floor(g / q); the tuple covers 0 ... 255 (ceil(256 / q) bins).
TEST(GrayHistoAbs, Quantization) {
  const Lines setup =
      with(gridImage("I", {{0, 1, 2, 3, 255}}), {"gen_rectangle1 (Box, 0, 0, 0, 4)"});
  struct Row {
    double q;
    std::size_t bins;
    std::vector<std::pair<std::size_t, double>> counts;
  };
  const Row rows[] = {{1, 256, {{0, 1}, {1, 1}, {3, 1}, {255, 1}, {254, 0}}},
                      {2, 128, {{0, 2}, {1, 2}, {127, 1}}},
                      {3, 86, {{0, 3}, {1, 1}, {85, 1}}},
                      {2.5, 103, {{0, 3}, {1, 1}, {102, 1}}}};
  for (const Row& row : rows) {
    const std::vector<double> h =
        numbers(with(setup, {"gray_histo_abs (Box, I, " + std::to_string(row.q) + ", R)"}));
    ASSERT_EQ(h.size(), row.bins) << row.q;
    for (const auto& [bin, count] : row.counts) EXPECT_EQ(h[bin], count) << row.q << " " << bin;
  }
  expectErrorCases({{{"gray_histo_abs (Box, I, 0.5, R)"}, 1301},
                    {{"concat_obj (Box, Box, Two)", "gray_histo_abs (Two, I, 1, R)"}, 1501}},
                   setup);
}

// gray_projections (11.0), 'simple': HorProjection(r) is the mean of the region's row r + r',
// VertProjection(c) of its column c + c', from the corner (r', c') of smallest_rectangle1; a row
// or column without region points gives -1. 'rectangle' projects along the axes of
// smallest_rectangle2, which for an axis-parallel box are the rows and columns.
TEST(GrayProjections, SimpleAndRectangle) {
  const Lines setup =
      with(gridImage("I", {{1, 2, 3, 4}, {10, 20, 30, 40}, {100, 100, 100, 100}}),
           {"gen_rectangle1 (Top, 0, 0, 0, 3)", "gen_rectangle1 (Bottom, 2, 1, 2, 2)",
            "union2 (Top, Bottom, Gap)", "gen_rectangle1 (Box, 0, 0, 1, 3)"});
  expectRows(
      setup,
      {{"gray_projections (Gap, I, 'simple', H, V)\nR := H",
        {2.5, -1, 100},
        "row 1 holds no point"},
       {"gray_projections (Gap, I, 'simple', H, V)\nR := V", {1, 51, 51.5, 4}, "columns 0 ... 3"},
       {"gray_projections (Box, I, 'rectangle', H, V)\nR := [H, V]",
        {2.5, 25, 5.5, 11, 16.5, 22},
        "the box's rows and columns"}});
  EXPECT_EQ(programError(with(setup, {"gray_projections (Box, I, 'diagonal', H, V)"})), 1301);
}

// fit_surface_first_order and _second_order (11.0): g ~ Alpha (r - r') + Beta (c - c') + Gamma
// and g ~ Alpha (r - r')^2 + Beta (c - c')^2 + Gamma (r - r')(c - c') + Delta (r - r')
// + Epsilon (c - c') + Zeta about the region's centre (r', c'); exact on such surfaces.
TEST(FitSurface, ExactSurfaces) {
  const Lines plane = with(gridImage("I", kPlane), {"gen_rectangle1 (Box, 0, 0, 2, 2)"});
  const Lines bowl = with(gridImage("I", {{115, 110, 115}, {105, 100, 105}, {115, 110, 115}}),
                          {"gen_rectangle1 (Box, 0, 0, 2, 2)"});
  for (const char* algorithm : {"'regression'", "'huber'", "'tukey'"}) {
    const std::string a = algorithm;
    expectRows(
        plane,
        {{("fit_surface_first_order (Box, I, " + a + ", 5, 2, A, B, G)\nR := [A, B, G]").c_str(),
          {30, 10, 50},
          "g = 50 + 30 (r - 1) + 10 (c - 1)"},
         {("fit_surface_second_order (Box, I, " + a +
           ", 5, 2, A, B, G, D, E, Z)\nR := [A, B, G, D, E, Z]")
              .c_str(),
          {0, 0, 0, 30, 10, 50},
          "a plane has no second-order terms"}});
    expectRows(bowl, {{("fit_surface_second_order (Box, I, " + a +
                        ", 5, 2, A, B, G, D, E, Z)\nR := [A, B, G, D, E, Z]")
                           .c_str(),
                       {10, 5, 0, 0, 0, 100},
                       "g = 100 + 10 (r - 1)^2 + 5 (c - 1)^2"}});
  }
}

// fit_surface_first_order (11.0), an outlier on a flat 5 x 5 region of 50 (250 at the corner):
// least squares tilts the plane to Alpha = Beta = -400 / 50 = -8, Gamma = 58. The residuals'
// median 16 gives sigma 16 / .6745 and, clipped at 2 sigma, tau = 47.44; the outlier's 160 lies
// beyond it. Tukey then weighs it 0 and the rest fit 50 exactly; Huber weighs it
// tau / 160 = .29652, and the normal equations give Alpha = Beta = -2.76052, Gamma = 52.76052.
// No iteration leaves least squares. (The scale estimate is the stand-in's: docs/standins.md.)
TEST(FitSurface, RobustWeightsAgainstAnOutlier) {
  const Lines setup =
      with(flat(5, 5, 50), {"set_grayval (I, 0, 0, 250)", "gen_rectangle1 (Box, 0, 0, 4, 4)"});
  expectRows(setup,
             {{"fit_surface_first_order (Box, I, 'regression', 5, 2, A, B, G)\nR := [A, B, G]",
               {-8, -8, 58},
               "least squares"},
              {"fit_surface_first_order (Box, I, 'tukey', 0, 2, A, B, G)\nR := [A, B, G]",
               {-8, -8, 58},
               "no reweighting"},
              {"fit_surface_first_order (Box, I, 'tukey', 3, 2, A, B, G)\nR := [A, B, G]",
               {0, 0, 50},
               "the outlier dropped"},
              {"fit_surface_first_order (Box, I, 'huber', 1, 2, A, B, G)\nR := [A, B, G]",
               {-2.7605245, -2.7605245, 52.7605245},
               "the outlier weighed tau / 160"}});
  struct Bad {
    const char* line;
    long error;
  };
  for (const Bad& bad : {Bad{"fit_surface_first_order (Box, I, 'median', 5, 2, A, B, G)", 1301},
                         Bad{"fit_surface_first_order (Box, I, 'huber', -1, 2, A, B, G)", 1302},
                         Bad{"fit_surface_first_order (Box, I, 'huber', 5, 0, A, B, G)", 1303}}) {
    EXPECT_EQ(programError(with(setup, {bad.line})), bad.error) << bad.line;
  }
}

// gen_cooc_matrix's example (11.0): 0 0 3 / 1 1 2 / 1 2 3 at LdGray 2 (grey values 64 times
// the levels). Each direction's pairs count at (i, j) and (j, i); the page's matrices, scaled by
// their 12 entries, give cooc_feature_matrix's (11.0) features: Energy = sum c^2,
// Correlation = sum (i - u)(j - u) c / s^2, Homogeneity = sum c / (1 + (i - j)^2),
// Contrast = sum (i - j)^2 c.
TEST(Cooc, TheReferenceExample) {
  const Lines setup = with(gridImage("I", {{0, 0, 192}, {64, 64, 128}, {64, 128, 192}}),
                           {"gen_rectangle1 (Box, 0, 0, 2, 2)"});
  const std::string outputs = "\nR := [E, C, H, K]";
  expectRows(setup,
             {{("cooc_feature_image (Box, I, 2, 0, E, C, H, K)" + outputs).c_str(),
               {5.0 / 36, 1.0 / 19, 3.0 / 5, 2},
               "0: 2 0 0 1 / 0 2 2 0 / 0 2 0 1 / 1 0 1 0 over 12; u 4/3, s^2 19/18"},
              {("cooc_feature_image (Box, I, 2, 90, E, C, H, K)" + outputs).c_str(),
               {11.0 / 72, 71.0 / 131, 7.0 / 12, 5.0 / 6},
               "90: 0 2 0 0 / 2 2 1 0 / 0 1 0 2 / 0 0 2 0 over 12; u 17/12, s^2 131/144"},
              {("cooc_feature_image (Box, I, 2, 45, E, C, H, K)" + outputs).c_str(),
               {3.0 / 16, 7.0 / 47, 27.0 / 40, 5.0 / 4},
               "45: 0 1 0 0 / 1 2 0 1 / 0 0 2 0 / 0 1 0 0 over 8; u 11/8, s^2 47/64"},
              {("cooc_feature_image (Box, I, 2, 135, E, C, H, K)" + outputs).c_str(),
               {1.0 / 8, -1.0 / 3, 7.0 / 20, 5.0 / 2},
               "135: 0 1 1 0 / 1 0 1 1 / 1 1 0 0 / 0 1 0 0 over 8; u 5/4, s^2 15/16"}},
             1e-9);
  expectErrorCases({{{"cooc_feature_image (Box, I, 9, 0, E, C, H, K)"}, 1301},
                    {{"cooc_feature_image (Box, I, 2, 30, E, C, H, K)"}, 1302}},
                   setup);
}

// estimate_noise (11.0), 'immerkaer': sigma = sqrt(pi / 2) / (6 N) sum |g * M| over the N
// pixels the 3 x 3 mask M = 1 -2 1 / -2 4 -2 / 1 -2 1 fits in. A constant image has no noise
// by any method.
TEST(EstimateNoise, ImmerkaerAndConstantImages) {
  expectRows(gridImage("I", {{0, 0, 0, 0}, {0, 6, 0, 0}, {0, 0, 0, 0}}),
             {{"estimate_noise (I, 'immerkaer', 20, R)",
               {1.2533141 * 36 / 12},
               "responses 24 at (1, 1), |-12| at (1, 2): sqrt(pi/2) 36 / 12"}});
  // The stand-in's readings of the other methods (docs/standins.md) on one impulse of 9:
  // 'foerstner' stops at Immerkaer's 36 sqrt(pi/2) / 6; 'least_squares' fits the plane 1 to
  // the neighbourhood, leaving 8 and eight -1s: sqrt((64 + 8) / 6).
  expectRows(gridImage("I", {{0, 0, 0}, {0, 9, 0}, {0, 0, 0}}),
             {{"estimate_noise (I, 'foerstner', 20, R)", {1.2533141 * 36 / 6}, "one response 36"},
              {"estimate_noise (I, 'least_squares', 100, R)", {3.4641016}, "sqrt 12"}});
  const Lines constant = flat(9, 9, 77);
  for (const char* method : {"'foerstner'", "'immerkaer'", "'least_squares'", "'mean'"}) {
    expectRows(
        constant,
        {{(std::string("estimate_noise (I, ") + method + ", 20, R)").c_str(), {0}, "constant"}});
  }
  expectErrorCases({{{"estimate_noise (I, 'median', 20, R)"}, 1301},
                    {{"estimate_noise (I, 'mean', 0, R)"}, 1302},
                    {{"estimate_noise (I, 'mean', 101, R)"}, 1302}},
                   constant);
}

// gray_range_rect (11.0): the maximum minus the minimum of the grey values in the mask about
// each pixel, the image mirrored beyond its edges.
TEST(GrayRangeRect, MaximumMinusMinimum) {
  const Lines setup = gridImage("I", {{0, 50, 200, 10}, {0, 0, 0, 0}});
  expectRows(
      setup,
      {{"gray_range_rect (I, G, 1, 3)\nget_grayval (G, [0, 0, 0, 0], [0, 1, 2, 3], R)",
        {50, 200, 190, 190},
        "0 0 50 | 0 50 200 | 50 200 10 | 200 10 10"},
       {"gray_range_rect (I, G, 3, 1)\nget_grayval (G, [0, 1], [2, 2], R)",
        {200, 200},
        "200 over 0, mirrored both ways"},
       {"gray_range_rect (I, G, 3, 3)\nget_grayval (G, 1, 0, R)", {50}, "0 0 50 over 0 0 0"}});
  expectErrorCases(
      {{{"gray_range_rect (I, G, 0, 3)"}, 1301}, {{"gray_range_rect (I, G, 3, 512)"}, 1302}},
      setup);
}

// auto_threshold (11.0): the histogram smoothed with a Gaussian of Sigma, thresholds at 0, 255
// and its minima, one region per interval. Grey values 50, 120 and 200 leave runs of empty bins
// between them whose middles, 85 and 160, split the image into three.
TEST(AutoThreshold, MinimaSplitTheHistogram) {
  const Lines setup = gridImage("I", {{50, 50, 120, 200, 200, 200}});
  for (const char* sigma : {"0", "2"}) {
    EXPECT_EQ(text(runLines(with(setup, {std::string("auto_threshold (I, Regions, ") + sigma + ")",
                                         "area_center (Regions, R, Y, X)"}))),
              "[2, 1, 3]")
        << sigma;
  }
  EXPECT_EQ(text(runLines({"gen_image_const (I, 'byte', 4, 4)", "auto_threshold (I, Regions, 2)",
                           "area_center (Regions, R, Y, X)"})),
            "16");
  // A Gaussian far wider than the histogram flattens it: no minimum is left.
  EXPECT_EQ(text(runLines(with(
                setup, {"auto_threshold (I, Regions, 1e9)", "area_center (Regions, R, Y, X)"}))),
            "6");
  EXPECT_EQ(programError(with(setup, {"auto_threshold (I, Regions, -1)"})), 1301);
}

// The regions of an image's domain only: a region half outside the domain measures its inside
// half (the stand-in's rule for every grey-value operator, docs/standins.md).
TEST(GrayRegions, TheDomainBoundsEachRegion) {
  const Lines setup = with(gridImage("I", kPlane),
                           {"gen_rectangle1 (Left, 0, 0, 2, 0)", "reduce_domain (I, Left, Part)",
                            "gen_rectangle1 (Box, 0, 0, 2, 2)"});
  expectRows(setup, {{"area_center_gray (Box, Part, A, Row, Col)\nR := [A, Row, Col]",
                      {120, 1.5, 0},
                      "10 + 40 + 70; (40 + 140) / 120"},
                     {"gray_features (Box, Part, 'max', R)", {70}, "column 0"}});
}

// set_system (11.0): 'empty_region_result' decides what an empty region gives: 'true' measures
// it (0), 'false', 'fail' and 'void' return nothing, 'exception' raises 3040;
// 'no_object_result' 'exception' raises 1501 for no regions at all.
TEST(GrayRegions, EmptyRegionsAndNoObjects) {
  const Lines setup =
      with(flat(4, 4, 9), {"gen_empty_region (Empty)", "gen_rectangle1 (Box, 0, 0, 1, 1)",
                           "concat_obj (Box, Empty, Both)", "gen_empty_obj (None)"});
  struct Row {
    const char* setting;
    const char* line;
    const char* expected;  // R, or the error number
  };
  const Row rows[] = {
      {"true", "area_center_gray (Both, I, R, Y, X)", "[36.0, 0.0]"},
      {"void", "area_center_gray (Both, I, R, Y, X)", "[]"},
      {"false", "gray_features (Both, I, 'mean', R)", "[]"},
      {"true", "gray_features (Both, I, ['mean', 'max'], R)", "[9.0, 9.0, 0.0, 0.0]"},
      {"true", "entropy_gray (Empty, I, R, A)", "0.0"},
      {"fail", "moments_gray_plane (Both, I, R, A, B, C, D)", "[]"},
      {"true", "fit_surface_first_order (Empty, I, 'huber', 3, 2, A, B, R)", "0.0"},
      {"true", "cooc_feature_image (Both, I, 6, 0, R, C, H, K)", "[1.0, 0.0]"},
      {"true", "gray_projections (Empty, I, 'simple', R, V)", "[]"},
      {"true", "gray_histo_abs (Empty, I, 64, R)", "[0, 0, 0, 0]"},
      {"void", "gray_histo_abs (Empty, I, 64, R)", "[]"},
      {"true", "min_max_gray (Both, I, 0, R, X, Y)", "[9.0, 0.0]"},
      {"void", "min_max_gray (Both, I, 0, R, X, Y)", "[]"},
      {"void", "gray_histo (Empty, I, R, X)", "[]"},
      {"exception", "plane_deviation (Both, I, R)", "3040"},
      {"exception", "fuzzy_entropy (Empty, I, 0, 255, R)", "3040"},
      {"exception", "min_max_gray (Empty, I, 0, R, X, Y)", "3040"},
      {"exception", "gray_histo (Empty, I, R, X)", "3040"},
      {"true", "select_gray (Both, I, S, 'mean', 'and', 0, 5)\ncount_obj (S, R)", "1"},
  };
  for (const Row& row : rows) {
    const Lines lines = with(
        with(with(setup, {std::string("set_system ('empty_region_result', '") + row.setting + "')",
                          "try"}),
             split(row.line)),
        {"catch (E)", "dev_get_exception_data (E, 'error_code', R)", "endtry",
         "set_system ('empty_region_result', 'true')"});
    expectText(lines, row.expected, std::string(row.setting) + ": " + row.line);
  }
  for (const char* line :
       {"area_center_gray (None, I, R, Y, X)", "gray_features (None, I, 'mean', R)",
        "estimate_noise (None, 'immerkaer', 20, R)", "auto_threshold (None, Out, 2)",
        "gray_range_rect (None, Out, 3, 3)"}) {
    const Lines lines =
        with(setup, {"set_system ('no_object_result', 'exception')", "try", line, "R := 0",
                     "catch (E)", "dev_get_exception_data (E, 'error_code', R)", "endtry",
                     "set_system ('no_object_result', 'true')"});
    EXPECT_EQ(text(runLines(lines)), "1501") << line;
    EXPECT_EQ(text(runLines(with(setup, {line, "R := 0"}))), "0") << line << " under 'true'";
  }
}

// The working memory of the larger operators counts against the pixel bound (docs/standins.md):
// a 500 x 500 image holds 250,000 bytes, the fits' samples 80 bytes a pixel, the noise
// readings 16, gray_range_rect's row extremes 2 besides its result's 250,000; under a bound of
// 600,000 each fails with 6001 and gives every byte back.
TEST(GrayRegions, ScratchCountsAgainstThePixelBound) {
  HTuple limit, heldBefore;
  HalconCpp::GetSystem("standin_pixel_limit", &limit);
  HalconCpp::GetSystem("standin_pixel_bytes", &heldBefore);
  for (const char* line : {"fit_surface_first_order (Box, I, 'regression', 0, 2, A, B, G)",
                           "estimate_noise (I, 'mean', 20, S)", "gray_range_rect (I, G, 3, 3)"}) {
    EXPECT_EQ(programError({"gen_image_const (I, 'byte', 500, 500)",
                            "gen_rectangle1 (Box, 0, 0, 499, 499)",
                            "set_system ('standin_pixel_limit', 600000)", line}),
              6001)
        << line;
    HalconCpp::SetSystem("standin_pixel_limit", limit);
    HTuple held;
    HalconCpp::GetSystem("standin_pixel_bytes", &held);
    EXPECT_EQ(held.L(), heldBefore.L()) << line;
  }
}

}  // namespace
