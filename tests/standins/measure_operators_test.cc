// 1-D measuring against profiles, edges and pairs worked out by hand from the vendor's
// definitions (HALCON 11.0 reference, chapter "1D Measuring": gen_measure_rectangle2,
// gen_measure_arc, measure_projection, measure_pos, measure_pairs, measure_thresh). The
// profile runs along Phi (Phi = 0: to growing columns, Phi = pi/2: to smaller rows), one
// sample a pixel at whole distances from the centre, each the mean of its slice across.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"

namespace {

using namespace quorvex::test;
namespace H = HalconCpp;

// An image of `type` whose pixel (r, c) holds value(r, c).
HObject imageOf(const char* type, Hlong width, Hlong height,
                const std::function<double(Hlong, Hlong)>& value) {
  HObject image;
  H::GenImageConst(&image, type, width, height);
  HTuple rows, cols, values;
  for (Hlong r = 0; r < height; ++r) {
    for (Hlong c = 0; c < width; ++c) {
      rows.Append(HTuple(r));
      cols.Append(HTuple(c));
      values.Append(HTuple(value(r, c)));
    }
  }
  H::SetGrayval(image, rows, cols, values);
  return image;
}

HTuple rectangle2(double row, double col, double phi, double l1, double l2, const char* interp,
                  Hlong width = 64, Hlong height = 64) {
  HTuple handle;
  H::GenMeasureRectangle2(row, col, phi, l1, l2, width, height, interp, &handle);
  return handle;
}

void expectTuple(const HTuple& actual, const std::vector<double>& expected, double tolerance,
                 const std::string& name) {
  ASSERT_EQ(actual.Length(), static_cast<Hlong>(expected.size())) << name << ": " << text(actual);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_NEAR(actual[static_cast<Hlong>(i)].D(), expected[i], tolerance)
        << name << " [" << i << "]: " << text(actual);
  }
}

std::vector<double> ramp(double from, double step, int count) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) values.push_back(from + step * i);
  return values;
}

// measure_projection, HALCON 11.0 reference: the mean of each slice across the axis. On the
// ramp g = 3c + r a slice across Phi = 0 averages its rows to the centre row, so sample t
// reads 3 (Column + t) + Row.
TEST(MeasureProjection, AveragesSlicesAlongTheAxis) {
  const HObject image = imageOf("real", 40, 9, [](Hlong r, Hlong c) { return 3.0 * c + r; });
  struct Case {
    const char* name;
    HTuple handle;
    std::vector<double> expected;
  } cases[] = {
      // columns 15 ... 25 of row 4: 3 * 15 + 4 = 49 up by 3
      {"Phi 0", rectangle2(4, 20, 0, 5, 2, "nearest_neighbor", 40, 9), ramp(49, 3, 11)},
      // the same rectangle run backwards: columns 25 ... 15
      {"Phi pi", rectangle2(4, 20, kPi, 5, 2, "nearest_neighbor", 40, 9), ramp(79, -3, 11)},
      // Phi pi/2 runs to smaller rows 6 ... 2; the slices average columns 17 ... 23 to 20
      {"Phi pi/2", rectangle2(4, 20, kPi / 2, 2, 3, "nearest_neighbor", 40, 9), ramp(66, -1, 5)},
      // bilinear at sub-pixel places reads the linear ramp exactly: 3 * 17.25 + 4.5 = 56.25
      {"bilinear", rectangle2(4.5, 20.25, 0, 3, 1, "bilinear", 40, 9), ramp(56.25, 3, 7)},
      {"bicubic", rectangle2(4.5, 20.25, 0, 3, 1, "bicubic", 40, 9), ramp(56.25, 3, 7)},
      // Partly outside, gen_measure_rectangle2 note: slices leaving the image (with one
      // pixel of border for bilinear) give no value. Columns -2 ... 8: 0 ... 8 remain.
      {"left part outside", rectangle2(4, 3, 0, 5, 0, "nearest_neighbor", 40, 9), ramp(4, 3, 9)},
      {"left part outside, bilinear", rectangle2(4, 3, 0, 5, 0, "bilinear", 40, 9), ramp(7, 3, 8)},
      {"wholly outside", rectangle2(100, 100, 0, 5, 2, "nearest_neighbor", 40, 9), {}},
      // a slice longer than the image is high never fits
      {"slice too long", rectangle2(4, 20, 0, 5, 5, "nearest_neighbor", 40, 9), {}},
  };
  for (const Case& c : cases) {
    HTuple values;
    H::MeasureProjection(image, c.handle, &values);
    expectTuple(values, c.expected, 1e-9, c.name);
  }
}

// measure_pos, HALCON 11.0 reference: edges are the extrema of the derivative of the profile
// smoothed with a Gaussian of Sigma, the amplitude scaled by Sigma * sqrt(2 pi). The step
// 0 | 200 between columns 19 and 20 lies at 19.5. Its amplitude (the derivative kernel
// m e^(-m^2/2) on m = -4 ... 4, scaled to give 1 on a ramp of slope 1): the samples either
// side read b = 200 S1 / (2 S2) with S1 = sum m e^(-m^2/2) = 0.911870 and S2 = sum m^2
// e^(-m^2/2) = 1.253220 (m = 1 ... 4), the next ones a = b - 200 e^(-1/2) / (2 S2); the
// parabola through a, b, b peaks at b + (b - a) / 8, times sqrt(2 pi): 197.552.
TEST(MeasurePos, FindsTheStepWithTheSignOfItsTransition) {
  const HObject image =
      imageOf("byte", 40, 9, [](Hlong, Hlong c) { return c >= 20 ? 200.0 : 0.0; });
  const HTuple forward = rectangle2(4, 20, 0, 12, 2, "nearest_neighbor", 40, 9);
  const HTuple backward = rectangle2(4, 20, kPi, 12, 2, "nearest_neighbor", 40, 9);
  struct Case {
    const char* name;
    HTuple handle;
    double threshold;
    const char* transition;
    std::vector<double> columns, amplitudes;
  } cases[] = {
      {"positive", forward, 20, "positive", {19.5}, {197.552}},
      {"all", forward, 20, "all", {19.5}, {197.552}},
      {"negative finds none", forward, 20, "negative", {}, {}},
      // run backwards the step falls from bright to dark
      {"backwards negative", backward, 20, "negative", {19.5}, {-197.552}},
      {"backwards positive finds none", backward, 20, "positive", {}, {}},
      {"threshold just below", forward, 197.5, "all", {19.5}, {197.552}},
      {"threshold above every amplitude", forward, 197.6, "all", {}, {}},
  };
  for (const Case& c : cases) {
    HTuple rows, columns, amplitudes, distances;
    H::MeasurePos(image, c.handle, 1.0, c.threshold, c.transition, "all", &rows, &columns,
                  &amplitudes, &distances);
    expectTuple(columns, c.columns, 1e-6, c.name);
    expectTuple(rows, std::vector<double>(c.columns.size(), 4), 1e-9, c.name);
    expectTuple(amplitudes, c.amplitudes, 1e-3, c.name);
    expectTuple(distances, {}, 0, c.name);
  }
}

// measure_pos Select, HALCON 11.0 reference: 'first' and 'last' keep one edge, Distance the
// gaps between consecutive edges. Bars at columns 10 ... 17 and 30 ... 37: edges at 9.5,
// 17.5, 29.5 and 37.5 (each farther from the next than the derivative's reach of 4 and one).
TEST(MeasurePos, SelectsFirstLastAndGivesTheDistances) {
  const HObject image = imageOf("byte", 50, 9, [](Hlong, Hlong c) {
    return (c >= 10 && c <= 17) || (c >= 30 && c <= 37) ? 200.0 : 0.0;
  });
  const HTuple handle = rectangle2(4, 22, 0, 22, 2, "nearest_neighbor", 50, 9);
  struct Case {
    const char* select;
    std::vector<double> columns, distances;
  } cases[] = {
      {"all", {9.5, 17.5, 29.5, 37.5}, {8, 12, 8}},
      {"first", {9.5}, {}},
      {"last", {37.5}, {}},
  };
  for (const Case& c : cases) {
    HTuple rows, columns, amplitudes, distances;
    H::MeasurePos(image, handle, 1.0, 20, "all", c.select, &rows, &columns, &amplitudes,
                  &distances);
    expectTuple(columns, c.columns, 1e-6, c.select);
    expectTuple(distances, c.distances, 1e-6, c.select);
  }
}

// measure_pos on a rotated edge, HALCON 11.0 reference. The real image holds 0 below the
// diagonal c = r, 200 above it and 100 on it; the rectangle runs at Phi = pi/4 from
// (30, 30 - 2 sqrt 2), so that the diagonal crosses its axis at t = 2. Mirroring the image
// at the diagonal maps the slice at t onto the one at 4 - t and g onto 200 - g, so the
// profile is odd about t = 2: the edge lies at (30 - sqrt 2, 30 - sqrt 2), dark to bright.
// The arc from angle 0.0354 = (pi/2 - 1.5)/2 at radius 20 about (30, 30) meets the radial
// edge row + col = 60 (200 inside the angle pi/4 ... pi/2) at t = 15 by the same mirror.
TEST(MeasurePos, FindsEdgesAcrossRotatedRectanglesAndArcs) {
  const HObject diagonal = imageOf("real", 60, 60, [](Hlong r, Hlong c) {
    return c > r ? 200.0 : c == r ? 100.0 : 0.0;
  });
  const HObject radial = imageOf("real", 60, 60, [](Hlong r, Hlong c) {
    return r + c < 60 ? 200.0 : r + c == 60 ? 100.0 : 0.0;
  });
  const double root2 = std::sqrt(2.0);
  HTuple arc;
  H::GenMeasureArc(30, 30, 20, (kPi / 2 - 1.5) / 2, 1.6, 2, 60, 60, "bilinear", &arc);
  struct Case {
    const char* name;
    HObject image;
    HTuple handle;
    double row, column;
  } cases[] = {
      {"Phi pi/4", diagonal, rectangle2(30, 30 - 2 * root2, kPi / 4, 10, 3, "bilinear", 60, 60),
       30 - root2, 30 - root2},
      {"arc", radial, arc, 30 - 20 * std::sin(kPi / 4), 30 + 20 * std::cos(kPi / 4)},
  };
  for (const Case& c : cases) {
    HTuple rows, columns, amplitudes, distances;
    H::MeasurePos(c.image, c.handle, 1.0, 20, "positive", "all", &rows, &columns, &amplitudes,
                  &distances);
    expectTuple(rows, {c.row}, 1e-6, c.name);
    expectTuple(columns, {c.column}, 1e-6, c.name);
  }
}

// measure_pairs, HALCON 11.0 reference: 'positive' pairs a dark-to-bright edge with the next
// bright-to-dark one, 'negative' the other way round, 'all' takes the first edge's
// transition; of consecutive edges of one transition the first is used, with '_strongest'
// the strongest. IntraDistance spans a pair, InterDistance the gap to the next pair.
TEST(MeasurePairs, PairsEdgesAsTheTransitionSays) {
  const HObject bars = imageOf("byte", 50, 9, [](Hlong, Hlong c) {
    return (c >= 10 && c <= 17) || (c >= 30 && c <= 37) ? 200.0 : 0.0;
  });
  // steps 0 -> 100 at 9.5 and 100 -> 250 at 19.5, then down to 0 at 29.5
  const HObject stairs = imageOf("byte", 50, 9, [](Hlong, Hlong c) {
    return c >= 30 ? 0.0 : c >= 20 ? 250.0 : c >= 10 ? 100.0 : 0.0;
  });
  const HTuple handle = rectangle2(4, 22, 0, 22, 2, "nearest_neighbor", 50, 9);
  struct Case {
    const char* name;
    HObject image;
    const char* transition;
    const char* select;
    std::vector<double> first, second, intra, inter;
  } cases[] = {
      {"positive", bars, "positive", "all", {9.5, 29.5}, {17.5, 37.5}, {8, 8}, {12}},
      {"all", bars, "all", "all", {9.5, 29.5}, {17.5, 37.5}, {8, 8}, {12}},
      {"negative", bars, "negative", "all", {17.5}, {29.5}, {12}, {}},
      {"first", bars, "positive", "first", {9.5}, {17.5}, {8}, {}},
      {"last", bars, "positive", "last", {29.5}, {37.5}, {8}, {}},
      {"first of a run", stairs, "positive", "all", {9.5}, {29.5}, {20}, {}},
      {"strongest of a run", stairs, "positive_strongest", "all", {19.5}, {29.5}, {10}, {}},
      {"all_strongest", stairs, "all_strongest", "all", {19.5}, {29.5}, {10}, {}},
  };
  for (const Case& c : cases) {
    HTuple r1, c1, a1, r2, c2, a2, intra, inter;
    H::MeasurePairs(c.image, handle, 1.0, 20, c.transition, c.select, &r1, &c1, &a1, &r2, &c2, &a2,
                    &intra, &inter);
    expectTuple(c1, c.first, 1e-6, c.name);
    expectTuple(c2, c.second, 1e-6, c.name);
    expectTuple(intra, c.intra, 1e-6, c.name);
    expectTuple(inter, c.inter, 1e-6, c.name);
  }
  HTuple r1, c1, a1, r2, c2, a2, intra, inter;
  H::MeasurePairs(bars, handle, 1.0, 300, "all", "all", &r1, &c1, &a1, &r2, &c2, &a2, &intra,
                  &inter);
  EXPECT_EQ(c1.Length() + c2.Length() + intra.Length() + inter.Length(), 0);
}

// measure_thresh, HALCON 11.0 reference: where the (smoothed) profile crosses Threshold,
// between samples by linear interpolation; Distance for 'all' and 'first_last' only.
TEST(MeasureThresh, FindsTheCrossingsBetweenSamples) {
  const HObject ramp40 = imageOf("real", 40, 9, [](Hlong r, Hlong c) { return 3.0 * c + r; });
  const HObject bar =
      imageOf("byte", 50, 9, [](Hlong, Hlong c) { return c >= 20 && c <= 29 ? 200.0 : 0.0; });
  const HTuple onRamp = rectangle2(4, 20, 0, 10, 2, "nearest_neighbor", 40, 9);
  const HTuple onBar = rectangle2(4, 25, 0, 20, 2, "nearest_neighbor", 50, 9);
  struct Case {
    const char* name;
    HObject image;
    HTuple handle;
    double sigma, threshold;
    const char* select;
    std::vector<double> columns, distances;
  } cases[] = {
      // 3c + 4 = 60.5 at c = 18.8333; Gaussian smoothing keeps a ramp away from its ends
      {"ramp", ramp40, onRamp, 0, 60.5, "all", {18.5 + 1.0 / 3}, {}},
      {"ramp smoothed", ramp40, onRamp, 1, 60.5, "all", {18.5 + 1.0 / 3}, {}},
      // 0 | 200: 100 is crossed half-way between the samples
      {"bar", bar, onBar, 0, 100, "all", {19.5, 29.5}, {10}},
      {"bar first_last", bar, onBar, 0, 100, "first_last", {19.5, 29.5}, {10}},
      {"bar first", bar, onBar, 0, 100, "first", {19.5}, {}},
      {"bar last", bar, onBar, 0, 100, "last", {29.5}, {}},
      {"above every value", bar, onBar, 0, 250, "all", {}, {}},
  };
  for (const Case& c : cases) {
    HTuple rows, columns, distances;
    H::MeasureThresh(c.image, c.handle, c.sigma, c.threshold, c.select, &rows, &columns,
                     &distances);
    expectTuple(columns, c.columns, 1e-6, c.name);
    expectTuple(distances, c.distances, 1e-6, c.name);
  }
}

// The handle's life and the parameters' checks, through program lines: an unknown or closed
// handle is a wrong value of the handle (control input 1); translate_measure moves the
// centre.
TEST(MeasureHandles, ClosedHandlesAndWrongValuesRaise) {
  const std::string image = "gen_image_const (I, 'byte', 40, 9)";
  const std::string handle =
      "gen_measure_rectangle2 (4, 20, 0, 5, 2, 40, 9, 'nearest_neighbor', M)";
  expectErrors(
      {
          {"close_measure (12345)", 1301},
          {"gen_measure_rectangle2 (4, 20, 0, 5, 2, 40, 9, 'nearest', M)", 1308},
          {"gen_measure_rectangle2 (4, 20, 0, -1, 2, 40, 9, 'bilinear', M)", 1304},
          {"gen_measure_rectangle2 (4, 20, 0, 5, 2, 0, 9, 'bilinear', M)", 1306},
          {"gen_measure_arc (4, 20, 0, 0, 1, 0, 40, 9, 'bilinear', M)", 1303},
      },
      true);
  const struct {
    std::vector<std::string> lines;
    unsigned error;
  } cases[] = {
      {{image, handle, "close_measure (M)", "close_measure (M)"}, 1301},
      {{image, handle, "close_measure (M)", "measure_projection (I, M, R)"}, 1301},
      {{image, handle, "close_all_measures ()",
        "measure_pos (I, M, 1, 20, 'all', 'all', A, B, C, D)"},
       1301},
      {{image, handle, "measure_pos (I, M, 0.3, 20, 'all', 'all', A, B, C, D)"}, 1302},
      {{image, handle, "measure_pos (I, M, 1, 20, 'up', 'all', A, B, C, D)"}, 1304},
      {{image, handle, "measure_pairs (I, M, 1, 20, 'all', 'middle', A, B, C, D, E, F, G, H)"},
       1305},
      {{image, handle, "measure_thresh (I, M, -1, 20, 'all', A, B, C)"}, 1302},
      {{image, handle, "convert_image_type (I, J, 'int2')", "measure_projection (J, M, R)"}, 9001},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOfLines(c.lines), c.error) << c.lines.back();
  // ramp 3c + r moved from centre column 20 to 10: columns 5 ... 15 of row 4
  const HTuple moved = runLines({
      "gen_image_const (I, 'real', 40, 9)",
      "for Row := 0 to 8 by 1",
      "  tuple_gen_sequence (0, 39, 1, Cols)",
      "  tuple_gen_const (40, Row, Rows)",
      "  set_grayval (I, Rows, Cols, 3 * Cols + Row)",
      "endfor",
      "gen_measure_rectangle2 (4, 20, 0, 5, 2, 40, 9, 'nearest_neighbor', M)",
      "translate_measure (M, 4, 10)",
      "measure_projection (I, M, R)",
      "close_measure (M)",
  });
  expectTuple(moved, ramp(19, 3, 11), 1e-9, "translate_measure");
}

}  // namespace
