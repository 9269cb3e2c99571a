// One-dimensional functions through program lines, against values worked out by hand from the
// HALCON 11.0 reference, chapter "Tools / Function": a function is the tuple [0, dx, x0, y...]
// (create_funct_1d_array) or [1, x..., y...] (create_funct_1d_pairs); values between points are
// linear (get_y_value_funct_1d).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

const std::string kArray = "create_funct_1d_array ([3, 5, 4], F)";              // x 0, 1, 2
const std::string kPairs = "create_funct_1d_pairs ([1, 2, 4], [3, -1, 5], F)";  // (x, y)

TEST(Funct1d, LayoutAndAccess) {
  expectCases({
      // create_funct_1d_array, create_funct_1d_pairs, HALCON 11.0: the layouts above
      {"array", {kArray, "R := F"}, "[0, 1.0, 0.0, 3.0, 5.0, 4.0]"},
      {"pairs", {kPairs, "R := F"}, "[1, 1.0, 2.0, 4.0, 3.0, -1.0, 5.0]"},
      // funct_1d_to_pairs, HALCON 11.0
      {"to pairs",
       {kArray, "funct_1d_to_pairs (F, X, Y)", "R := [X, Y]"},
       "[0.0, 1.0, 2.0, 3.0, 5.0, 4.0]"},
      // get_pair_funct_1d, HALCON 11.0: by index from 0
      {"pair",
       {kPairs, "get_pair_funct_1d (F, [2, 0], X, Y)", "R := [X, Y]"},
       "[4.0, 1.0, 5.0, 3.0]"},
      // num_points_funct_1d, x_range_funct_1d, y_range_funct_1d, HALCON 11.0
      {"points", {kPairs, "num_points_funct_1d (F, R)"}, "3"},
      {"ranges",
       {kPairs, "x_range_funct_1d (F, X0, X1)", "y_range_funct_1d (F, Y0, Y1)",
        "R := [X0, X1, Y0, Y1]"},
       "[1.0, 4.0, -1.0, 5.0]"},
      // a single point: its own range
      {"one point",
       {"create_funct_1d_array (7, F)", "x_range_funct_1d (F, X0, X1)", "R := [F, X0, X1]"},
       "[0, 1.0, 0.0, 7.0, 0.0, 0.0]"},
  });
}

// get_y_value_funct_1d, HALCON 11.0: linear between (1, 3), (2, -1), (4, 5); outside, the
// border mode: 'constant' the end's value, 'zero' 0, 'mirror' reflected at the ends (0 -> 2),
// 'cyclic' repeated every x span of 3 (0 -> 3).
TEST(Funct1d, ValuesBetweenAndBeyondThePoints) {
  expectCases({
      {"inside",
       {kPairs, "get_y_value_funct_1d (F, [1.5, 3, 4], 'constant', R)"},
       "[1.0, 2.0, 5.0]"},
      {"constant", {kPairs, "get_y_value_funct_1d (F, [0, 5], 'constant', R)"}, "[3.0, 5.0]"},
      {"zero", {kPairs, "get_y_value_funct_1d (F, 0, 'zero', R)"}, "0.0"},
      {"mirror", {kPairs, "get_y_value_funct_1d (F, 0, 'mirror', R)"}, "-1.0"},
      {"cyclic", {kPairs, "get_y_value_funct_1d (F, 0, 'cyclic', R)"}, "2.0"},
      {"one point",
       {"create_funct_1d_array (7, F)", "get_y_value_funct_1d (F, 5, 'mirror', R)"},
       "7.0"},
  });
}

TEST(Funct1d, PointsChange) {
  expectCases({
      // scale_y_funct_1d, HALCON 11.0: y * Mult + Add
      {"scale", {kArray, "scale_y_funct_1d (F, 2, 1, R)"}, "[0, 1.0, 0.0, 7.0, 11.0, 9.0]"},
      // negate_funct_1d, abs_funct_1d, HALCON 11.0
      {"negate", {kPairs, "negate_funct_1d (F, R)"}, "[1, 1.0, 2.0, 4.0, -3.0, 1.0, -5.0]"},
      {"abs", {kPairs, "abs_funct_1d (F, R)"}, "[1, 1.0, 2.0, 4.0, 3.0, 1.0, 5.0]"},
      // transform_funct_1d, HALCON 11.0: x -> a3 x + a4, y -> a1 y + a2; a3 < 0 turns the
      // order of the points round
      {"transform",
       {kPairs, "transform_funct_1d (F, [2, 1, -1, 10], R)"},
       "[1, 6.0, 8.0, 9.0, 11.0, -1.0, 7.0]"},
      {"transform samples",
       {kArray, "transform_funct_1d (F, [1, 0, 2, 1], R)"},
       "[0, 2.0, 1.0, 3.0, 5.0, 4.0]"},
      // sample_funct_1d, HALCON 11.0: x = 0, 2, 4 (XMax 5 is not reached), outside the
      // border's value
      {"sample",
       {kPairs, "sample_funct_1d (F, 0, 5, 2, 'constant', R)"},
       "[0, 2.0, 0.0, 3.0, -1.0, 5.0]"},
      {"sample zero",
       {kPairs, "sample_funct_1d (F, 0, 5, 2, 'zero', R)"},
       "[0, 2.0, 0.0, 0.0, -1.0, 5.0]"},
      // invert_funct_1d, HALCON 11.0: x and y swapped, falling functions turned round
      {"invert",
       {"create_funct_1d_pairs ([1, 2, 4], [0, 10, 20], F)", "invert_funct_1d (F, R)"},
       "[1, 0.0, 10.0, 20.0, 1.0, 2.0, 4.0]"},
      {"invert falling",
       {"create_funct_1d_array ([5, 3, 1], F)", "invert_funct_1d (F, R)"},
       "[1, 1.0, 3.0, 5.0, 2.0, 1.0, 0.0]"},
      // compose_funct_1d, HALCON 11.0: Function2 (Function1 (x)) at Function1's x; g(v) = 10 v
      // on [0, 1], 10 beyond
      {"compose",
       {"create_funct_1d_array ([0, 2, 0.5], F)", "create_funct_1d_pairs ([0, 1], [0, 10], G)",
        "compose_funct_1d (F, G, 'constant', R)"},
       "[0, 1.0, 0.0, 0.0, 10.0, 5.0]"},
  });
}

TEST(Funct1d, Analysis) {
  const std::string squares = "create_funct_1d_array ([0, 1, 4, 9], F)";
  expectReals({
      // derivate_funct_1d, HALCON 11.0: central differences, one-sided at the ends:
      // 1, (4 - 0) / 2, (9 - 1) / 2, 9 - 4; 'second' the same again
      {{squares, "derivate_funct_1d (F, 'first', D)", "funct_1d_to_pairs (D, X, R)"}, {1, 2, 4, 5}},
      {{squares, "derivate_funct_1d (F, 'second', D)", "funct_1d_to_pairs (D, X, R)"},
       {1, 1.5, 1.5, 1}},
      // integrate_funct_1d, HALCON 11.0: (0, 2), (2, 2), (3, -2) hold 4 + 0.5 above the axis
      // and 0.5 below (crossing at x = 2.5)
      {{"create_funct_1d_pairs ([0, 2, 3], [2, 2, -2], F)", "integrate_funct_1d (F, P, N)",
        "R := [P, N]"},
       {4.5, 0.5}},
      {{"create_funct_1d_pairs ([0, 1], [-2, -4], F)", "integrate_funct_1d (F, P, N)",
        "R := [P, N]"},
       {0, 3}},
      // zero_crossings_funct_1d, HALCON 11.0: 2 -> -2 crosses at 0.5; the point (2, 0) itself
      {{"create_funct_1d_array ([2, -2, 0, 1], F)", "zero_crossings_funct_1d (F, R)"}, {0.5, 2}},
      // local_min_max_funct_1d, HALCON 11.0: strict extrema at points, a plateau's centre, or
      // the parabola's vertex through 0, 3, 2: 1 + 0.5 (0 - 2) / (0 - 6 + 2) = 1.25
      {{"create_funct_1d_array ([0, 2, 0, 1, 1, 1, 3], F)",
        "local_min_max_funct_1d (F, 'strict_min_max', 'false', Min, Max)", "R := [Min, Max]"},
       {2, 1}},
      {{"create_funct_1d_array ([3, 1, 1, 1, 3], F)",
        "local_min_max_funct_1d (F, 'plateaus_center', 'false', Min, Max)", "R := [Min, Max]"},
       {2}},
      {{"create_funct_1d_array ([3, 1, 1, 1, 3], F)",
        "local_min_max_funct_1d (F, 'strict_min_max', 'true', Min, Max)", "R := [Min, Max]"},
       {}},
      {{"create_funct_1d_array ([0, 3, 2], F)",
        "local_min_max_funct_1d (F, 'strict_min_max', 'true', Min, Max)", "R := [Min, Max]"},
       {1.25}},
      // smooth_funct_1d_mean, HALCON 11.0: means of SmoothSize points (an even size taken as
      // the next odd one), mirrored at the ends (-1 -> 1), Iterations times
      {{"create_funct_1d_array ([0, 0, 3, 0, 0], F)", "smooth_funct_1d_mean (F, 3, 1, S)",
        "funct_1d_to_pairs (S, X, R)"},
       {0, 1, 1, 1, 0}},
      {{"create_funct_1d_array ([0, 0, 3, 0, 0], F)", "smooth_funct_1d_mean (F, 3, 2, S)",
        "funct_1d_to_pairs (S, X, R)"},
       {2.0 / 3, 2.0 / 3, 1, 2.0 / 3, 2.0 / 3}},
      {{"create_funct_1d_array ([3, 0, 0], F)", "smooth_funct_1d_mean (F, 2, 1, S)",
        "funct_1d_to_pairs (S, X, R)"},
       {1, 1, 0}},
      // smooth_funct_1d_gauss, HALCON 11.0: a normalised Gaussian keeps a constant (Sigma up
      // to (6 - 2) / 7.8)
      {{"create_funct_1d_array ([4, 4, 4, 4, 4, 4], F)", "smooth_funct_1d_gauss (F, 0.5, S)",
        "funct_1d_to_pairs (S, X, R)"},
       {4, 4, 4, 4, 4, 4}},
      // a single point: no slope, no area, no crossing, no extremum
      {{"create_funct_1d_array (7, F)", "derivate_funct_1d (F, 'first', D)",
        "integrate_funct_1d (F, P, N)", "zero_crossings_funct_1d (F, Z)",
        "local_min_max_funct_1d (F, 'plateaus_center', 'true', Min, Max)",
        "funct_1d_to_pairs (D, X, Y)", "R := [Y, P, N, Z, Min, Max]"},
       {0, 0, 0}},
  });
}

// Malformed functions and wrong parameters raise the parameter's number (1200+n type,
// 1300+n value, 1400+n count).
TEST(Funct1d, WrongParametersRaiseTheVendorsNumbers) {
  expectErrorCases({
      {{"create_funct_1d_array ([], F)"}, 1401},
      {{"create_funct_1d_array ('a', F)"}, 1201},
      {{"create_funct_1d_pairs ([], [], F)"}, 1401},
      {{"create_funct_1d_pairs ([1, 2], [1], F)"}, 1402},
      {{"create_funct_1d_pairs ([2, 1], [1, 1], F)"}, 1301},
      {{"num_points_funct_1d ([2, 1, 0, 5], N)"}, 1301},
      {{"num_points_funct_1d ([0, 1, 0], N)"}, 1401},
      {{"num_points_funct_1d ([1, 0, 1, 5], N)"}, 1401},
      {{"num_points_funct_1d ([], N)"}, 1401},
      {{kPairs, "get_pair_funct_1d (F, 3, X, Y)"}, 1302},
      {{kPairs, "get_y_value_funct_1d (F, 5, 'error', Y)"}, 1302},
      {{kPairs, "get_y_value_funct_1d (F, 2, 'wrap', Y)"}, 1303},
      {{kPairs, "transform_funct_1d (F, [1, 0, 1], R)"}, 1402},
      {{kPairs, "transform_funct_1d (F, [1, 0, 0, 1], R)"}, 1302},
      {{kPairs, "sample_funct_1d (F, 5, 0, 1, 'zero', R)"}, 1303},
      {{kPairs, "sample_funct_1d (F, 0, 5, 0, 'zero', R)"}, 1304},
      {{kPairs, "sample_funct_1d (F, 0, 5, 1, 'error', R)"}, 1305},
      {{kArray, "invert_funct_1d (F, R)"}, 1301},
      {{kArray, "compose_funct_1d (F, F, 'none', R)"}, 1303},
      {{kArray, "derivate_funct_1d (F, 'third', R)"}, 1302},
      {{kArray, "local_min_max_funct_1d (F, 'all', 'true', Min, Max)"}, 1302},
      {{kArray, "local_min_max_funct_1d (F, 'strict_min_max', 'yes', Min, Max)"}, 1303},
      {{kArray, "smooth_funct_1d_mean (F, 0, 1, S)"}, 1302},
      {{kArray, "smooth_funct_1d_mean (F, 1, 0, S)"}, 1303},
      {{kArray, "smooth_funct_1d_gauss (F, 0, S)"}, 1302},
      // smooth_funct_1d_mean, smooth_funct_1d_gauss, HALCON 11.0: equidistant functions only,
      // Sigma at most (Length - 2) / 7.8
      {{kPairs, "smooth_funct_1d_mean (F, 3, 1, S)"}, 1301},
      {{kPairs, "smooth_funct_1d_gauss (F, 0.1, S)"}, 1301},
      {{"create_funct_1d_array ([1, 2, 3, 4, 5, 6], F)", "smooth_funct_1d_gauss (F, 0.52, S)"},
       1302},
  });
}

}  // namespace
