// derivate_gauss, laplace_of_gauss, diff_of_gauss, laplace, zero_crossing and edges_image
// against values worked out by hand (or in a few lines of Python) from the definitions on the
// vendor's HALCON 11.0 reference pages, which each table names, through the C++ interface and
// program lines.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

// An image of the given type whose pixel (r, c) holds f(r, c).
HObject typedImage(const char* type, Hlong width, Hlong height,
                   const std::function<double(Hlong, Hlong)>& f) {
  HObject image;
  GenImageConst(&image, type, width, height);
  HTuple rows, cols, values;
  for (Hlong r = 0; r < height; ++r) {
    for (Hlong c = 0; c < width; ++c) {
      rows.Append(HTuple(r)), cols.Append(HTuple(c)), values.Append(HTuple(f(r, c)));
    }
  }
  SetGrayval(image, rows, cols, values);
  return image;
}

Hlong areaOf(const HObject& regionOrImage) {
  HObject domain = regionOrImage;
  HTuple area, row, col;
  AreaCenter(domain, &area, &row, &col);
  return area[0].L();
}

// derivate_gauss, HALCON 11.0 reference: each component is the image convolved with the
// derivatives of a Gaussian. For a cubic f the smoothed derivatives follow from the Gaussian's
// moments (E k^2 = sigma^2 = 1, E k^4 = 3): with u the column and v the row offset from
// (8, 8) and f = 3u + 2v + u^2/2 - v^2 + uv + u^3 + 1.5 u^2 v + 2 u v^2 + v^3, the smoothed
// image is f + 1/2 - 1 + 3u + 1.5v + 2u + 3v + ..., so that at the centre
// g = -0.5, g_x = 3 + 3 + 2 = 8, g_y = 2 + 1.5 + 3 = 6.5, g_xx = 1, g_yy = -2, g_xy = 1,
// g_xxx = 6, g_yyy = 6, g_xxy = 3, g_xyy = 4. The derived components are the page's formulas
// of those (worked in Python); x runs along the row, y down the column, and the directions are
// mathematically positive with y pointing up the screen.
TEST(DerivateGaussReference, ComponentsOfACubicAtItsCentre) {
  const HObject image = typedImage("real", 17, 17, [](Hlong r, Hlong c) {
    const double u = double(c - 8), v = double(r - 8);
    return 3 * u + 2 * v + u * u / 2 - v * v + u * v + u * u * u + 1.5 * u * u * v + 2 * u * v * v +
           v * v * v;
  });
  struct Row {
    const char* component;
    double expected;
    const char* worked;
  };
  const Row rows[] = {
      {"none", -0.5, "(u^2 + 1) / 2 - (v^2 + 1) at 0"},
      {"x", 8, ""},
      {"y", 6.5, ""},
      {"xx", 1, ""},
      {"yy", -2, ""},
      {"xy", 1, ""},
      {"xxx", 6, ""},
      {"yyy", 6, ""},
      {"xxy", 3, ""},
      {"xyy", 4, ""},
      {"gradient", 10.307764064044152, "sqrt(8^2 + 6.5^2)"},
      {"gradient_dir", 5.600868752304838, "atan2(-6.5, 8) + 2 pi"},
      {"det", -3, "1 * -2 - 1^2"},
      {"laplace", -1, "1 - 2"},
      {"mean_curvature", -0.17173886775457303, "(65 * -2 - 2 * 8 * 6.5 + 43.25) / 107.25^1.5"},
      {"gauss_curvature", -0.00026081144962263844, "-3 / 107.25^2"},
      {"area", 107.25, "65 * 43.25 - 52^2"},
      {"eigenvalue1", 1.3027756377319946, "-0.5 + sqrt(0.25 + 3)"},
      {"eigenvalue2", -2.302775637731995, "-0.5 - sqrt(0.25 + 3)"},
      {"eigenvec_dir", -0.29400130177378375, "-atan2(2, 3) / 2"},
      {"kitchen_rosenfeld", -1.7858823529411765, "(42.25 - 128 - 104) / 106.25"},
      {"zuniga_haralick", -0.1732560370847781, "-189.75 / 106.25^1.5"},
      {"2nd_ddg", 0.7858823529411765, "(64 + 104 - 84.5) / 106.25"},
      {"de_saint_venant", 1.2635294117647058, "(52 * 3 - 21.75) / 106.25"},
  };
  for (const Row& row : rows) {
    HObject d;
    DerivateGauss(image, &d, 1.0, row.component);
    EXPECT_EQ(typeOf(d), "real") << row.component;
    EXPECT_NEAR(realAt(d, 8, 8), row.expected, 2e-5 * std::fabs(row.expected) + 1e-6)
        << row.component << ": " << row.worked;
  }
}

// derivate_gauss, HALCON 11.0 reference: two sigmas smooth along the columns (the first) and
// down the rows (the second); smoothing u^2 with sigma s adds s^2. Wrong sigmas or components
// (the principal curvatures of older releases are not on the 11.0 page) are refused.
TEST(DerivateGaussReference, TwoSigmasAndRefusals) {
  const auto squared = [](bool alongColumns) {
    return typedImage("real", 31, 31, [alongColumns](Hlong r, Hlong c) {
      const double t = double(alongColumns ? c - 15 : r - 15);
      return t * t;
    });
  };
  HObject d;
  DerivateGauss(squared(true), &d, tuple({1, 2}), "none");
  EXPECT_NEAR(realAt(d, 15, 15), 1, 1e-6) << "u^2 smoothed with sigma 1: 0 + 1";
  DerivateGauss(squared(false), &d, tuple({1, 2}), "none");
  EXPECT_NEAR(realAt(d, 15, 15), 4, 1e-6) << "v^2 smoothed with sigma 2: 0 + 4";
  const Impulse impulse;
  EXPECT_EQ(errorOf([&] { DerivateGauss(impulse.image, &d, 0.0, "x"); }), 1301);
  EXPECT_EQ(errorOf([&] { DerivateGauss(impulse.image, &d, tuple({1, 1, 1}), "x"); }), 1401);
  EXPECT_EQ(errorOf([&] { DerivateGauss(impulse.image, &d, 1.0, "main1_curvature"); }), 1302);
  EXPECT_EQ(errorOf([&] { DerivateGauss(impulse.image, &d, 1.0, "gradient"); }), 0);
}

// laplace_of_gauss, HALCON 11.0 reference: the mask 1 / (2 pi s^4) (r^2 / 2s^2 - 1)
// exp(-r^2 / 2s^2), as int2; over the impulse of 255 each pixel is 255 times the mask at its
// offset r, rounded. 0.7 < Sigma <= 25.
TEST(LaplaceOfGaussReference, ImpulseGivesTheMask) {
  struct Row {
    double sigma;
    Hlong row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {1, 11, 11, -41, "255 / 2pi * -1 = -40.58"},
      {1, 11, 12, -12, "40.58 * (0.5 - 1) e^-0.5 = -12.31"},
      {1, 11, 13, 5, "40.58 * (2 - 1) e^-2 = 5.49"},
      {1, 12, 12, 0, "r^2 = 2: (1 - 1) = 0"},
      {1, 11, 14, 2, "40.58 * 3.5 e^-4.5 = 1.58"},
      {1, 12, 13, 5, "40.58 * 1.5 e^-2.5 = 5.00"},
      {2, 11, 11, -3, "255 / (2pi 16) * -1 = -2.54"},
  };
  const Impulse impulse;
  for (const Row& row : rows) {
    HObject log;
    LaplaceOfGauss(impulse.image, &log, row.sigma);
    EXPECT_EQ(typeOf(log), "int2");
    EXPECT_EQ(grayAt(log, row.row, row.col), row.expected) << row.worked;
  }
  HObject log;
  EXPECT_EQ(errorOf([&] { LaplaceOfGauss(impulse.image, &log, 0.7); }), 1301);
  EXPECT_EQ(errorOf([&] { LaplaceOfGauss(impulse.image, &log, 25.5); }), 1301);
  EXPECT_EQ(errorOf([&] { LaplaceOfGauss(impulse.image, &log, 25.0); }), 0);
}

// diff_of_gauss, HALCON 11.0 reference: sigma1 = Sigma / sqrt(-2 ln(1/k) / (k^2 - 1)),
// sigma2 = sigma1 / k, the image smoothed with sigma1 less the image smoothed with sigma2.
// Sigma 2, k 1.6: sigma1 = 2.5765, sigma2 = 1.6103; over the impulse each pixel is
// 255 (G1(0) G1(d) - G2(0) G2(d)) with the normalised sampled Gaussians (worked in Python).
TEST(DiffOfGaussReference, ImpulseGivesTheDifferenceOfTwoGaussians) {
  struct Row {
    Hlong col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {11, -10, "-9.54"}, {12, -7, "-7.24"}, {13, -3, "-2.71"}, {14, 0, "0.34"}, {16, 1, "0.80"}};
  const Impulse impulse;
  HObject dog;
  DiffOfGauss(impulse.image, &dog, 2.0, 1.6);
  EXPECT_EQ(typeOf(dog), "int2");
  for (const Row& row : rows) EXPECT_EQ(grayAt(dog, 11, row.col), row.expected) << row.worked;
  DiffOfGauss(impulse.image, &dog, 2.0, 1.0);
  EXPECT_EQ(grayAt(dog, 11, 11), 0) << "k = 1: two equal Gaussians";
  EXPECT_EQ(errorOf([&] { DiffOfGauss(impulse.image, &dog, 0.0, 1.6); }), 1301);
  EXPECT_EQ(errorOf([&] { DiffOfGauss(impulse.image, &dog, 2.0, 0.0); }), 1302);
}

// laplace, HALCON 11.0 reference: the masks n_4 (centre -4, edges 1), n_8 (-8, all 1, over 2)
// and n_8_isotropic (-128, edges 22, corners 10, over 32); 'absolute' as bytes, 'signed' as
// int2 and 'signed_clipped' as int1 for a byte image. Over the impulse of 255.
TEST(LaplaceReference, MasksOverTheImpulse) {
  struct Row {
    const char* result;
    Hlong size;
    const char* mask;
    Hlong row, col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {"signed", 3, "n_4", 11, 11, -1020, "-4 * 255"},
      {"signed", 3, "n_4", 11, 12, 255, "1 * 255"},
      {"signed", 3, "n_4", 12, 12, 0, "corners weigh 0"},
      {"signed", 3, "n_8", 11, 11, -1020, "-8 * 255 / 2"},
      {"signed", 3, "n_8", 12, 12, 128, "255 / 2 = 127.5, halves away from 0"},
      {"signed", 3, "n_8_isotropic", 11, 11, -1020, "-128 * 255 / 32"},
      {"signed", 3, "n_8_isotropic", 11, 12, 175, "22 * 255 / 32 = 175.31"},
      {"signed", 3, "n_8_isotropic", 12, 12, 80, "10 * 255 / 32 = 79.69"},
      {"absolute", 3, "n_4", 11, 11, 255, "|-1020| clipped to a byte"},
      {"absolute", 3, "n_8_isotropic", 11, 12, 175, ""},
      {"signed_clipped", 3, "n_8_isotropic", 11, 11, -128, "-1020 clipped to int1"},
      {"signed_clipped", 3, "n_8_isotropic", 11, 12, 127, "175 clipped to int1"},
      {"signed_clipped", 3, "n_8_isotropic", 12, 12, 80, ""},
      // binomial_filter 3 x 3 first: 64 at the centre, 32 beside, 16 at the corners.
      {"signed_binomial", 5, "n_4", 11, 11, -128, "-4 * 64 + 4 * 32"},
      {"signed_binomial", 5, "n_4", 11, 12, -32, "-4 * 32 + 64 + 16 + 16"},
  };
  const Impulse impulse;
  for (const Row& row : rows) {
    HObject lap;
    Laplace(impulse.image, &lap, row.result, row.size, row.mask);
    EXPECT_EQ(grayAt(lap, row.row, row.col), row.expected)
        << row.result << " " << row.size << " " << row.mask << ": " << row.worked;
  }
  HObject lap;
  Laplace(impulse.image, &lap, "signed", 3, "n_4");
  EXPECT_EQ(typeOf(lap), "int2");
  Laplace(impulse.image, &lap, "signed_clipped", 3, "n_4");
  EXPECT_EQ(typeOf(lap), "int1");
  // MaskSize above 3: gauss_image of MaskSize - 2, then the 3 x 3 mask.
  HObject smooth, viaGauss;
  GaussFilter(impulse.image, &smooth, 5);
  Laplace(smooth, &viaGauss, "signed", 3, "n_8");
  Laplace(impulse.image, &lap, "signed", 7, "n_8");
  for (const Hlong col : {9, 10, 11, 12, 13}) {
    EXPECT_EQ(grayAt(lap, 11, col), grayAt(viaGauss, 11, col)) << col;
  }
  const std::tuple<const char*, HTuple, const char*, Hlong> refusals[] = {
      {"abs", 3, "n_4", 1301},
      {"signed", 4, "n_4", 1302},
      {"signed", 15, "n_4", 1302},
      {"signed_binomial", 41, "n_4", 1302},
      {"signed", tuple({5, 7}), "n_4", 1402},
      {"signed_binomial", tuple({5, 7}), "n_4", 0},
      {"signed", 3, "n_6", 1303}};
  for (const auto& [result, size, mask, error] : refusals) {
    EXPECT_EQ(errorOf([&, &result = result, &size = size, &mask = mask] {
                Laplace(impulse.image, &lap, result, size, mask);
              }),
              error)
        << result << " " << text(size) << " " << mask;
  }
}

// zero_crossing, HALCON 11.0 reference: a pixel is a zero crossing when it is 0 or a
// 4-neighbour has the other sign. In the int2 image below every pixel but (0, 0) (5 beside 3
// and 0) and (1, 1) (7 among 3, 0, 6, 2) qualifies.
TEST(ZeroCrossingReference, ZeroOrASignChangeBeside) {
  const double values[3][4] = {{5, 3, -2, 4}, {0, 7, 6, 1}, {-1, 2, 3, -4}};
  HObject crossings;
  ZeroCrossing(typedImage("int2", 4, 3, [&](Hlong r, Hlong c) { return values[r][c]; }),
               &crossings);
  HTuple rows, cols;
  GetRegionPoints(crossings, &rows, &cols);
  EXPECT_EQ(text(rows), "[0, 0, 0, 1, 1, 1, 2, 2, 2, 2]");
  EXPECT_EQ(text(cols), "[1, 2, 3, 0, 2, 3, 0, 1, 2, 3]");
  ZeroCrossing(typedImage("real", 5, 5, [](Hlong, Hlong) { return 0.5; }), &crossings);
  EXPECT_EQ(areaOf(crossings), 0) << "all positive";
  ZeroCrossing(typedImage("int1", 5, 5, [](Hlong, Hlong) { return 0; }), &crossings);
  EXPECT_EQ(areaOf(crossings), 25) << "all zero";
  const Impulse impulse;
  EXPECT_EQ(errorOf([&] { ZeroCrossing(impulse.image, &crossings); }), H_ERR_WIT);
}

// A 64 x 64 byte image, 0 left of column 16 and 100 from it.
struct Step {
  std::vector<std::uint8_t> pixels = [] {
    std::vector<std::uint8_t> p(64 * 64, 0);
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = i % 64 >= 16 ? 100 : 0;
    return p;
  }();
  HObject image = wrapGray(pixels, 64, 64);
};

// edges_image, HALCON 11.0 reference: the filters' amplitude across a step of 100 between
// columns 15 and 16, row 32. Each derivative kernel d is scaled so that a ramp of slope 1
// gives 1 (the stand-in's choice); across a step the amplitude at column c is
// 100 * sum of d(k) over k >= 16 - c. Canny: d(k) ~ k exp(-k^2 / 2 Alpha^2), |k| <= 3 Alpha;
// Deriche 1: k r^|k|; Deriche 2: sgn(k) sin(Alpha |k|) r^|k|; Shen: sgn(k) r^|k|, r = e^-Alpha
// (sums worked in Python); sobel_fast: (-1/2, 0, 1/2).
TEST(EdgesImageReference, AmplitudeAcrossAStep) {
  struct Row {
    const char* filter;
    double alpha;
    Hlong col, expected;
    const char* worked;
  };
  const Row rows[] = {
      {"canny", 1, 13, 1, "1.34"},
      {"canny", 1, 14, 12, "12.18"},
      {"canny", 1, 15, 36, "36.48"},
      {"canny", 1, 16, 36, "the step is symmetric"},
      {"canny", 2, 13, 9, "9.10"},
      {"canny", 2, 15, 20, "19.69"},
      {"deriche1", 1, 13, 7, "7.08"},
      {"deriche1", 1, 15, 23, "23.11"},
      {"lanser1", 1, 15, 23, "23.11"},
      {"deriche1", 0.5, 14, 10, "10.35"},
      {"deriche1", 0.5, 15, 12, "12.25"},
      {"deriche2", 1, 13, 1, "|-1.33|"},
      {"deriche2", 1, 14, 11, "11.19"},
      {"deriche2", 1, 15, 43, "42.66"},
      {"lanser2", 1, 15, 43, "42.66"},
      {"shen", 1, 13, 4, "4.28"},
      {"shen", 1, 15, 32, "100 (1 - 1/e) / 2 = 31.61"},
      {"mshen", 1, 14, 12, "11.63"},
      {"deriche1", 1, 63, 23, "zeros beyond the last column: a falling step of 100 there"},
      {"canny", 1, 63, 0, "mirrored: no step at the edge"},
      {"sobel_fast", 1, 14, 0, ""},
      {"sobel_fast", 1, 15, 50, "100 / 2"},
  };
  const Step step;
  for (const Row& row : rows) {
    HObject amp, dir;
    EdgesImage(step.image, &amp, &dir, row.filter, row.alpha, "none", -1, -1);
    EXPECT_EQ(grayAt(amp, 32, row.col), row.expected)
        << row.filter << " " << row.alpha << " at " << row.col << ": " << row.worked;
  }
}

// edges_image, HALCON 11.0 reference: directions in 2-degree steps, mathematically positive
// from the horizontal, the way the grey values rise; 255 where the amplitude is 0; no
// direction image for 'sobel_fast'.
TEST(EdgesImageReference, DirectionsInTwoDegreeSteps) {
  const Step step;
  HObject amp, dir;
  EdgesImage(step.image, &amp, &dir, "canny", 1.0, "none", -1, -1);
  EXPECT_EQ(typeOf(amp), "byte");
  EXPECT_EQ(typeOf(dir), "direction");
  EXPECT_EQ(grayAt(dir, 32, 15), 0) << "brighter to the right: 0 degrees";
  EXPECT_EQ(grayAt(dir, 32, 5), 255) << "flat: no direction";
  EdgesImage(step.image, &amp, &dir, "deriche2", 1.0, "none", -1, -1);
  EXPECT_EQ(grayAt(dir, 32, 13), 90) << "the filter's negative lobe: 180 degrees";
  // 100 above row 16 and 0 from it: the grey values rise upwards, 90 degrees.
  std::vector<std::uint8_t> upper(64 * 64, 0);
  for (std::size_t i = 0; i < 16 * 64; ++i) upper[i] = 100;
  EdgesImage(wrapGray(upper, 64, 64), &amp, &dir, "canny", 1.0, "none", -1, -1);
  EXPECT_EQ(grayAt(dir, 15, 32), 45);
  EdgesImage(step.image, &amp, &dir, "sobel_fast", 1.0, "none", -1, -1);
  EXPECT_EQ(dir.CountObj(), 0);
}

// edges_image, HALCON 11.0 reference: the non-maximum suppression and the hysteresis
// threshold between Low and High (negative: none) leave the edge points in the outputs'
// domain. Across the canny step the amplitudes 1, 12, 36, 36, 12, 1 (columns 13 ... 18).
TEST(EdgesImageReference, SuppressionAndHysteresisLeaveTheEdgePoints) {
  struct Row {
    const char* filter;
    const char* nms;
    double low, high;
    Hlong area;
    const char* worked;
  };
  const Row rows[] = {
      {"canny", "none", -1, -1, 64 * 64, "everything"},
      {"canny", "nms", -1, -1, 2 * 64, "columns 15 and 16, equal"},
      {"canny", "inms", -1, -1, 2 * 64, ""},
      {"canny", "hvnms", -1, -1, 6 * 64, "down the edge every pixel equals its neighbours"},
      {"sobel_fast", "nms", -1, -1, 2 * 64, ""},
      {"canny", "none", 10, 30, 4 * 64, "12 and 36 joined to 36"},
      {"canny", "none", 20, 40, 0, "nothing reaches 40"},
      {"canny", "nms", 1, 36, 2 * 64, ""},
  };
  const Step step;
  for (const Row& row : rows) {
    HObject amp, dir;
    EdgesImage(step.image, &amp, &dir, row.filter, 1.0, row.nms, row.low, row.high);
    HObject domain;
    GetDomain(amp, &domain);
    EXPECT_EQ(areaOf(domain), row.area)
        << row.filter << " " << row.nms << " " << row.low << " " << row.high << ": " << row.worked;
  }
  HObject amp, dir;
  const std::vector<std::pair<std::function<void()>, Hlong>> refusals = {
      {[&] { EdgesImage(step.image, &amp, &dir, "sobel", 1.0, "nms", 1, 2); }, 1301},
      {[&] { EdgesImage(step.image, &amp, &dir, "canny", 0.0, "nms", 1, 2); }, 1302},
      {[&] { EdgesImage(step.image, &amp, &dir, "canny", 51.0, "nms", 1, 2); }, 1302},
      {[&] { EdgesImage(step.image, &amp, &dir, "deriche1", -1.0, "nms", 1, 2); }, 1302},
      {[&] { EdgesImage(step.image, &amp, &dir, "sobel_fast", 0.0, "nms", 1, 2); }, 0},
      {[&] { EdgesImage(step.image, &amp, &dir, "canny", 1.0, "max", 1, 2); }, 1303},
      {[&] { EdgesImage(step.image, &amp, &dir, "canny", 1.0, "nms", 20, 10); }, 1305},
  };
  for (std::size_t i = 0; i < refusals.size(); ++i) {
    EXPECT_EQ(errorOf(refusals[i].first), refusals[i].second) << "row " << i;
  }
}

// lines_gauss, HALCON 11.0 reference (Steger's model): a bright bar of 200 over columns
// 19 ... 21 (half-width w = 1.5 about column 20) in a black 41 x 41 image, Sigma 1.2. The line
// lies on the bar's axis; its response is the second derivative across it,
// 2 * 200 w / (sigma^3 sqrt(2 pi)) exp(-w^2 / 2 sigma^2) = 63.42 for the continuous bar. The
// smoothed bar is steepest where (v + w) exp(-(v + w)^2 / 2s^2) = (v - w) exp(-(v - w)^2 /
// 2s^2): v = 1.61, the width without a model; 'bar-shaped' undoes that bias back to 1.5
// (dv/dw = 0.66 there, so an error of 0.03 in v is 0.05 in w) and 'gaussian' gives
// sqrt(v^2 - sigma^2) = 1.07 (worked in Python). The image holds three sampled pixels, not the
// continuous bar: their response is 200 (G''(0) + 2 G''(1)) = 66.11, and the tolerances
// allow for the sampling and for the edges interpolated between pixels.
TEST(LinesGaussReference, ABrightBarsAxisAndWidth) {
  const std::string bar =
      "gen_image_const (Blank, 'byte', 41, 41)\n"
      "gen_rectangle1 (Bar, 0, 19, 40, 21)\n"
      "paint_region (Bar, Blank, Image, 200, 'fill')\n";
  const auto lines = [&](const char* call, const char* result) {
    return runLines(split(bar + call + "\n" + result));
  };
  const char* none = "lines_gauss (Image, L, 1.2, 5, 10, 'light', 'true', 'none', 'false')";
  EXPECT_EQ(text(lines(none, "count_obj (L, R)")), "1");
  HTuple r = lines(none,
                   "get_contour_xld (L, Row, Col)\nR := [min(Col), max(Col), "
                   "min(Row), max(Row)]");
  EXPECT_NEAR(r[0].D(), 20, 1e-6);
  EXPECT_NEAR(r[1].D(), 20, 1e-6);
  EXPECT_LE(r[2].D(), 1);
  EXPECT_GE(r[3].D(), 39);
  r = lines(none,
            "get_contour_attrib_xld (L, 'response', Resp)\n"
            "get_contour_attrib_xld (L, 'angle', A)\nget_contour_xld (L, Row, Col)\n"
            "R := [Resp[20], A[20] * sgn(Row[21] - Row[19])]");
  EXPECT_NEAR(r[0].D(), 66.11, 0.1) << "the sampled bar's 66.11";
  // get_contour_attrib_xld, HALCON 18.11: the normal points right of the way, counter-clockwise
  // from the row axis; down a column that is towards column 0, -pi/2.
  EXPECT_NEAR(r[1].D(), -1.5707963267948966, 1e-6) << "the normal runs along the row";
  struct Row {
    const char* model;
    double expected, tolerance;
  };
  const Row rows[] = {{"none", 1.61, 0.03}, {"bar-shaped", 1.5, 0.05}, {"gaussian", 1.07, 0.05}};
  for (const Row& row : rows) {
    const std::string call = std::string("lines_gauss (Image, L, 1.2, 5, 10, 'light', 'true', '") +
                             row.model + "', 'false')";
    r = lines(call.c_str(),
              "get_contour_attrib_xld (L, 'width_left', WL)\n"
              "get_contour_attrib_xld (L, 'width_right', WR)\nR := [WL[20], WR[20]]");
    EXPECT_NEAR(r[0].D(), row.expected, row.tolerance) << row.model;
    EXPECT_NEAR(r[1].D(), row.expected, row.tolerance) << row.model;
  }
  // A dark search finds nothing on a bright bar; High above the response keeps nothing.
  EXPECT_EQ(text(lines("lines_gauss (Image, L, 1.2, 5, 10, 'dark', 'false', 'none', 'false')",
                       "count_obj (L, R)")),
            "0");
  EXPECT_EQ(text(lines("lines_gauss (Image, L, 1.2, 5, 80, 'light', 'false', 'none', 'false')",
                       "count_obj (L, R)")),
            "0");
  const std::pair<const char*, long> refusals[] = {
      {"lines_gauss (Image, L, 0, 5, 10, 'light', 'false', 'none', 'false')", 1301},
      {"lines_gauss (Image, L, 2, 10, 5, 'light', 'false', 'none', 'false')", 1303},
      {"lines_gauss (Image, L, 2, 5, 10, 'bright', 'false', 'none', 'false')", 1304},
      {"lines_gauss (Image, L, 2, 5, 10, 'light', 'false', 'box', 'false')", 1306},
  };
  for (const auto& [call, number] : refusals) {
    EXPECT_EQ(programError(split(bar + call)), number) << call;
  }
}

// Program lines reach every operator through the engine's table.
TEST(EdgeOperatorLines, RunThroughTheEngine) {
  const std::string image =
      "gen_image_const (Blank, 'byte', 32, 32)\n"
      "gen_rectangle1 (Right, 0, 16, 31, 31)\n"
      "paint_region (Right, Blank, Image, 100, 'fill')\n";
  const std::pair<const char*, const char*> rows[] = {
      {"derivate_gauss (Image, D, 1, 'x')\nget_image_type (D, R)", "'real'"},
      {"laplace_of_gauss (Image, L, 2)\nget_image_type (L, R)", "'int2'"},
      {"diff_of_gauss (Image, L, 2, 1.6)\nget_image_type (L, R)", "'int2'"},
      {"laplace (Image, L, 'signed', 3, 'n_4')\nzero_crossing (L, Z)\narea_center (Z, R, Y, X)",
       "1024"},
      {"edges_image (Image, A, D, 'sobel_fast', 1, 'nms', 20, 40)\nget_domain (A, Dom)\n"
       "area_center (Dom, R, Y, X)",
       "64"},
  };
  for (const auto& [lines, expected] : rows) {
    EXPECT_EQ(text(runLines(split(image + lines))), expected) << lines;
  }
}

}  // namespace
