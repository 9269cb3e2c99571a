// Noise through program lines (HALCON 11.0 chapter "Filters / Noise"). A distribution is 513
// frequencies, entry 256 + d for the noise value d (add_noise_distribution, HALCON 11.0).
// Where the noise is drawn at random the tests check what every draw must satisfy and
// statistics with wide margins; a distribution of one value makes the noise exact.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A distribution D of the single noise value d.
Lines only(int d) {
  return {"tuple_gen_const (513, 0, D)", "D[" + std::to_string(256 + d) + "] := 1"};
}

const Lines kMinMax{"min_max_gray (N, N, 0, Min, Max, Range)", "R := [Min, Max]"};

// gauss_distribution, HALCON 11.0: the normal density of deviation Sigma at the noise
// values, summing to 1: for Sigma 1, 1 / sqrt(2 pi) = 0.39894228 at 0 and
// exp(-1/2) / sqrt(2 pi) = 0.24197072 at +-1. sp_distribution, HALCON 11.0: PercentPepper
// percent of the pixels black (-256), PercentSalt percent white (+256), the rest unchanged.
// noise_distribution_mean, HALCON 11.0: the frequencies of the grey value less its mean over
// FilterSize x FilterSize within ConstRegion: 100 everywhere but 109 at (2, 2) has the mean
// 101 at (2, 2) and its eight neighbours, so noise 8 once and -1 eight times in 3 x 3.
TEST(Noise, Distributions) {
  const Lines spot{"gen_image_const (I, 'byte', 5, 5)", "gen_image_proto (I, I, 100)",
                   "set_grayval (I, 2, 2, 109)", "gen_rectangle1 (Square, 1, 1, 3, 3)"};
  expectReals({
      {{"gauss_distribution (0, D)", "R := [|D|, D[256], sum(D)]"}, {513, 1, 1}},
      {{"gauss_distribution (1, D)", "R := [D[256], D[255], D[257], D[0], sum(D)]"},
       {0.3989422804, 0.2419707245, 0.2419707245, 0, 1},
       1e-8},
      {{"sp_distribution (10, 20, D)", "R := [D[0], D[256], D[512], sum(D)]"}, {0.2, 0.7, 0.1, 1}},
      {{"sp_distribution (0, 0, D)", "R := [D[256], sum(D)]"}, {1, 1}},
      {spot + Lines{"noise_distribution_mean (Square, I, 3, D)", "R := [D[264], D[255], sum(D)]"},
       {1.0 / 9, 8.0 / 9, 1}},
      {spot + Lines{"gen_empty_region (E)", "noise_distribution_mean (E, I, 3, D)",
                    "R := [|D|, sum(D)]"},
       {513, 0}},
  });
}

// add_noise_distribution, HALCON 11.0: the noise drawn from the distribution is added and
// the sums clipped to the pixel type's range.
TEST(Noise, AddsDistributedNoise) {
  const std::vector<ProgramCase> cases{
      {"+5",
       Lines{"gen_image_const (I, 'byte', 4, 3)", "gen_image_proto (I, I, 100)"} + only(5) +
           Lines{"add_noise_distribution (I, N, D)"} + kMinMax,
       "[105.0, 105.0]"},
      {"clipped at 255",
       Lines{"gen_image_const (I, 'byte', 4, 3)", "gen_image_proto (I, I, 253)"} + only(5) +
           Lines{"add_noise_distribution (I, N, D)"} + kMinMax,
       "[255.0, 255.0]"},
      {"all pepper",
       Lines{"gen_image_const (I, 'byte', 4, 3)", "gen_image_proto (I, I, 100)",
             "sp_distribution (0, 100, D)", "add_noise_distribution (I, N, D)"} +
           kMinMax,
       "[0.0, 0.0]"},
      {"all salt",
       Lines{"gen_image_const (I, 'byte', 4, 3)", "sp_distribution (100, 0, D)",
             "add_noise_distribution (I, N, D)"} +
           kMinMax,
       "[255.0, 255.0]"},
      {"int2 by -256",
       Lines{"gen_image_const (I, 'int2', 4, 3)", "gen_image_proto (I, I, 1000)",
             "sp_distribution (0, 100, D)", "add_noise_distribution (I, N, D)"} +
           kMinMax,
       "[744.0, 744.0]"},
      {"real by -3",
       Lines{"gen_image_const (I, 'real', 2, 2)", "gen_image_proto (I, I, 0.5)"} + only(-3) +
           Lines{"add_noise_distribution (I, N, D)"} + kMinMax,
       "[-2.5, -2.5]"},
      // frequencies need not sum to 1: 7 at one value is that value always
      {"unnormalised",
       Lines{"gen_image_const (I, 'uint2', 4, 3)", "tuple_gen_const (513, 0, D)", "D[250] := 7",
             "add_noise_distribution (I, N, D)"} +
           kMinMax,
       "[0.0, 0.0]"},
  };
  expectCases(cases);
}

// add_noise_white, HALCON 11.0: noise uniform in [-Amp, Amp], clipped to the type's range,
// on the domain only (the pixels outside keep their values); every channel.
TEST(Noise, AddsWhiteNoise) {
  const Lines flat{"gen_image_const (I, 'byte', 30, 20)", "gen_image_proto (I, I, 128)"};
  const std::vector<ProgramCase> cases{
      {"Amp 0", flat + Lines{"add_noise_white (I, N, 0)"} + kMinMax, "[128.0, 128.0]"},
      // 600 draws of deviation 10 / sqrt(3) = 5.77 (5.78 rounded to whole grey values)
      {"within Amp, mean and deviation",
       flat + Lines{"add_noise_white (I, N, 10)", "min_max_gray (N, N, 0, Min, Max, Range)",
                    "intensity (N, N, Mean, Dev)",
                    "R := [Min >= 118, Max <= 138, abs(Mean - 128) < 1.5, abs(Dev - 5.78) < 0.6]"},
       "[1, 1, 1, 1]"},
      {"clipped",
       Lines{"gen_image_const (I, 'byte', 30, 20)", "gen_image_proto (I, I, 250)",
             "add_noise_white (I, N, 100)", "min_max_gray (N, N, 0, Min, Max, Range)",
             "R := [Min >= 150, Max == 255]"},
       "[1, 1]"},
      {"domain only",
       flat + Lines{"gen_rectangle1 (Top, 0, 0, 9, 29)", "reduce_domain (I, Top, IT)",
                    "add_noise_white (IT, N, 50)", "get_domain (N, ND)",
                    "area_center (ND, Area, Row, Col)", "gen_rectangle1 (Bottom, 10, 0, 19, 29)",
                    "full_domain (N, NF)", "min_max_gray (Bottom, NF, 0, Min, Max, Range)",
                    "R := [Area, Min, Max]"},
       "[300, 128.0, 128.0]"},
      {"real within Amp",
       Lines{"gen_image_const (I, 'real', 10, 10)", "add_noise_white (I, N, 1)",
             "min_max_gray (N, N, 0, Min, Max, Range)", "R := [Min >= -1, Max <= 1, Range > 0]"},
       "[1, 1, 1]"},
      {"channels",
       flat +
           Lines{"compose3 (I, I, I, I3)", "add_noise_white (I3, N, 5)", "count_channels (N, R)"},
       "3"},
      {"no image", Lines{"gen_empty_obj (E)", "add_noise_white (E, N, 5)", "count_obj (N, R)"},
       "0"},
  };
  expectCases(cases);
}

TEST(Noise, RefusesWrongInputs) {
  const Lines image{"gen_image_const (I, 'byte', 4, 3)"};
  expectErrorCases({
      {{"gauss_distribution (-1, D)"}, 1301},
      {{"sp_distribution (101, 0, D)"}, 1301},
      {{"sp_distribution (60, 50, D)"}, 1302},
      {{"sp_distribution (0, -1, D)"}, 1302},
      {image + Lines{"add_noise_white (I, N, -1)"}, 1301},
      {{"gen_image_const (I, 'complex', 4, 3)", "add_noise_white (I, N, 1)"}, 9001},
      {image + Lines{"add_noise_distribution (I, N, [1, 2])"}, 1401},
      {image + Lines{"tuple_gen_const (513, 0, D)", "add_noise_distribution (I, N, D)"}, 1301},
      {image + only(0) + Lines{"D[3] := -1", "add_noise_distribution (I, N, D)"}, 1301},
      {image + Lines{"noise_distribution_mean (I, I, 0, D)"}, 1301},
      {{"gen_image_const (I, 'int2', 4, 3)", "noise_distribution_mean (I, I, 3, D)"}, 9001},
  });
}

}  // namespace
