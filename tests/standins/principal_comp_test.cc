// principal_comp and gen_principal_comp_trans through program lines, on images of two or three
// pixels whose covariances and eigenvectors are worked by hand. The pages (principal_comp,
// gen_principal_comp_trans and linear_trans_color, HALCON 11.0) fix the components as
// uncorrelated channels greatest information first and the matrices as linear_trans_color's
// homogeneous n x (n + 1) rows; the divisor of the covariance and the sign of each eigenvector
// follow docs/standins.md.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

const double s = std::sqrt(0.5);

// I of two channels, A and B, one row each.
Lines twoChannels(const std::vector<double>& a, const std::vector<double>& b) {
  return gridImage("A", {a}) + gridImage("B", {b}) + Lines{"compose2 (A, B, I)"};
}

Lines trans(const Lines& image, const std::string& output) {
  return image + Lines{"gen_principal_comp_trans (I, T, Ti, M, C, Info)", "R := " + output};
}

// A = B = (0, 2): mean (1, 1), covariance ((1, 1), (1, 1)) over two pixels, eigenvalues 2 and
// 0 with the vectors (1, 1) / sqrt 2 and (1, -1) / sqrt 2.
const Lines kDiagonal = twoChannels({0, 2}, {0, 2});
// Three channels of which only the third varies, (0, 4) about 2.
const Lines kThird = gridImage("A", {{5, 5}}) + gridImage("B", {{7, 7}}) +
                     gridImage("C3", {{0, 4}}) + Lines{"compose3 (A, B, C3, I)"};

// A = (0, 0, 1), B = C = (0, 1, 0): variances 2/9, cov(A, B) = -1/9, cov(B, C) = 2/9. In the
// plane of (1, 0, 0) and (0, 1, 1) / sqrt 2 the covariance is ((2, -r2), (-r2, 4)) / 9, of
// eigenvalues (3 +- r3) / 9; the greater one's vector is (1, -(1 + r3) / 2, -(1 + r3) / 2)
// over sqrt(3 + r3), its largest elements negative: turned, as docs/standins.md says.
const Lines kTurned =
    gridImage("A", {{0, 0, 1}}) + gridImage("B", {{0, 1, 0}}) + Lines{"compose3 (A, B, B, I)"};
const double r3 = std::sqrt(3.0), turned = std::sqrt(3 + r3);

// gen_principal_comp_trans, HALCON 11.0: Trans maps grey values to components (offset
// -E mean), TransInv back (offset mean), both row by row with n + 1 columns.
TEST(PrincipalCompReference, TransformationOfTheChannels) {
  expectReals({
      {trans(kDiagonal, "M"), {1, 1}},
      {trans(kDiagonal, "C"), {1, 1, 1, 1}},
      {trans(kDiagonal, "Info"), {1, 0}},
      {trans(kDiagonal, "T"), {s, s, -2 * s, s, -s, 0}},
      {trans(kDiagonal, "Ti"), {s, s, 1, s, -s, 1}},
      // The varying channel first; the two constant ones keep their order.
      {trans(kThird, "T"), {0, 0, 1, -2, 1, 0, 0, -5, 0, 1, 0, -7}},
      {trans(kThird, "C"), {0, 0, 0, 0, 0, 0, 0, 0, 4}},
      {trans(kThird, "Info"), {1, 0, 0}},
      {trans(kTurned, "T[0:2]"), {-1 / turned, (1 + r3) / 2 / turned, (1 + r3) / 2 / turned}},
      {trans(kTurned, "Info"), {(3 + r3) / 6, (3 - r3) / 6, 0}},
      // No variance at all: the channels as they are, about their mean, with no information.
      {trans(twoChannels({3, 3}, {4, 4}), "T"), {1, 0, -3, 0, 1, -4}},
      {trans(twoChannels({3, 3}, {4, 4}), "Info"), {0, 0}},
      // Only the domain counts: the third pixel (9, 1) is left out.
      {twoChannels({0, 2, 9}, {0, 2, 1}) +
           Lines{"gen_rectangle1 (D, 0, 0, 0, 1)", "reduce_domain (I, D, J)",
                 "gen_principal_comp_trans (J, T, Ti, M, C, Info)", "R := [M, C]"},
       {1, 1, 1, 1, 1, 1}},
  });
}

// principal_comp, HALCON 11.0: a real image of as many channels, the grey values minus their
// mean projected on each component; linear_trans_color with TransInv gives them back.
TEST(PrincipalCompReference, ComponentImages) {
  const Lines pca = kDiagonal + Lines{"principal_comp (I, P, Info)", "access_channel (P, P1, 1)",
                                      "access_channel (P, P2, 2)"};
  expectReals({
      {pca + Lines{"get_grayval (P1, [0, 0], [0, 1], R)"}, {-2 * s, 2 * s}, 1e-6},
      {pca + Lines{"get_grayval (P2, [0, 0], [0, 1], R)"}, {0, 0}, 1e-6},
      {pca + Lines{"R := Info"}, {1, 0}},
      {pca + Lines{"gen_principal_comp_trans (I, T, Ti, M, C, Info2)",
                   "linear_trans_color (P, Back, Ti)", "access_channel (Back, B2, 2)",
                   "get_grayval (B2, [0, 0], [0, 1], R)"},
       {0, 2},
       1e-5},
  });
  expectCases({
      {"the components are reals, one channel each",
       pca + Lines{"get_image_type (P, Type)", "count_channels (P, N)", "R := [Type, N]"},
       "['real', 2]"},
      {"no image: no component image and no information",
       {"gen_empty_obj (E)", "principal_comp (E, P, Info)", "count_obj (P, N)", "R := [N, |Info|]"},
       "[0, 0]"},
      {"no image: every output of the transformation empty",
       {"gen_empty_obj (E)", "gen_principal_comp_trans (E, T, Ti, M, C, Info)",
        "R := [|T|, |Ti|, |M|, |C|, |Info|]"},
       "[0, 0, 0, 0, 0]"},
  });
  expectErrorCases(
      {// Images of two and three channels cannot share one transformation.
       {kThird + gridImage("X", {{1, 2}}) +
            Lines{"compose2 (X, X, Y)", "concat_obj (I, Y, Both)",
                  "gen_principal_comp_trans (Both, T, Ti, M, C, Info)"},
        3031},
       // More channels than the analysis serves (docs/standins.md) is bounded work: 6001.
       {{"gen_image_const (G, 'byte', 1, 1)", "M := G", "for K := 1 to 256 by 1",
         "append_channel (M, G, M)", "endfor", "principal_comp (M, P, Info)"},
        6001}});
}

}  // namespace
