// The XLD shape features, moments and shape transformations through program lines, against
// values worked by hand from each operator's HALCON 11.0 page (cited beside each row).
// Coordinates are (row, column); the uniform triangle's covariance is a twelfth of the sum of
// its corners' squared offsets from the centroid.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

constexpr double kPi = 3.14159265358979323846;

// S: the square 0..4 (area 16, centre (2, 2)), clockwise on the screen. T: the open triangle
// (0,0), (0,6), (3,0): area 9, centroid (1, 2), corner offsets (-1,-2), (-1,4), (2,-2), so
// per unit area M20 = 6/12, M02 = 24/12, M11 = -6/12. U: T mirrored in the row axis. L: the L
// of the square 0..4 without its corner 2..4 x 2..4 (area 12, hull 14). D: the square
// turned by 45 degrees about (2, 2), corners 2 from it. I: a straight line, enclosing nothing.
const std::string kS = "gen_contour_polygon_xld (S, [0, 0, 4, 4], [0, 4, 4, 0])\n";
const std::string kT = "gen_contour_polygon_xld (T, [0, 0, 3], [0, 6, 0])\n";
const std::string kU = "gen_contour_polygon_xld (U, [0, 0, 3], [0, -6, 0])\n";
const std::string kL = "gen_contour_polygon_xld (L, [0, 0, 2, 2, 4, 4], [0, 4, 4, 2, 2, 0])\n";
const std::string kD = "gen_contour_polygon_xld (D, [0, 2, 4, 2], [2, 4, 2, 0])\n";
const std::string kI = "gen_contour_polygon_xld (I, [0, 0], [0, 4])\n";

// T's normalised moments: eigenvalues 1.25 +- sqrt(0.75^2 + 0.5^2), angle -atan2(-1, 1.5) / 2.
const double kRoot = std::sqrt(0.5625 + 0.25);
const double kTra = 2 * std::sqrt(1.25 + kRoot), kTrb = 2 * std::sqrt(1.25 - kRoot);
const double kTphi = 0.5 * std::atan2(1.0, 1.5);

Reals program(const std::string& text, std::vector<double> expected, double tolerance = 1e-9) {
  return Reals{split(text), std::move(expected), tolerance};
}

TEST(XldShape, PolygonFeatures) {
  expectReals({
      // moments_xld, 11.0 (moments_region_2nd's sums over the enclosed area): S's
      // 4 * integral of x^2 over -2..2 = 64/3; T's are 9 times its normalised ones.
      program(kS + "moments_xld (S, M11, M20, M02)\nR := [M11, M20, M02]", {0, 64.0 / 3, 64.0 / 3}),
      program(kT + "moments_xld (T, M11, M20, M02)\nR := [M11, M20, M02]", {-4.5, 4.5, 18}),
      // elliptic_axis_xld, 11.0: Ra = sqrt(8 (M20 + M02 + root)) / 2 = 2 sqrt(eigenvalue).
      program(kT + "elliptic_axis_xld (T, Ra, Rb, Phi)\nR := [Ra, Rb, Phi]", {kTra, kTrb, kTphi}),
      program(kS + "elliptic_axis_xld (S, Ra, Rb, Phi)\nR := [Ra, Rb, Phi]",
              {std::sqrt(16.0 / 3), std::sqrt(16.0 / 3), 0}),
      // orientation_xld, 11.0: T's farthest corner (0,6) lies right of the centre; U's lies
      // left of it, which adds pi.
      program(kT + kU + "orientation_xld (T, A)\norientation_xld (U, B)\nR := [A, B]",
              {kTphi, kPi - kTphi}),
      // circularity_xld, 11.0: F / (max^2 pi), max the farthest point from the centre.
      program(kS + kT + "circularity_xld (S, A)\ncircularity_xld (T, B)\nR := [A, B]",
              {16 / (8 * kPi), 9 / (17 * kPi)}),
      // compactness_xld, 11.0: L^2 / (4 F pi), the closing edge counted in L.
      program(kS + kT + "compactness_xld (S, A)\ncompactness_xld (T, B)\nR := [A, B]",
              {4 / kPi, std::pow(9 + std::sqrt(45.0), 2) / (36 * kPi)}),
      // convexity_xld, 11.0: the area over its convex hull's.
      program(kS + kL + "convexity_xld (S, A)\nconvexity_xld (L, B)\nR := [A, B]", {1, 12.0 / 14}),
      // rectangularity_xld, 11.0: the rectangle of D's moments is the axis-parallel square of
      // half side sqrt(2) about (2, 2), which cuts D's four tips of area (2 - sqrt(2))^2 off.
      program(kS + kD + "rectangularity_xld (S, A)\nrectangularity_xld (D, B)\nR := [A, B]",
              {1, 1 - std::pow(2 - std::sqrt(2.0), 2)}),
      // eccentricity_xld, 11.0: Ra / Rb, pi Ra Rb / F, and their product less 1.
      program(kT + "eccentricity_xld (T, A, B, C)\nR := [A, B, C]",
              {kTra / kTrb, kPi * kTra * kTrb / 9, kTra / kTrb * kPi * kTra * kTrb / 9 - 1}),
      // diameter_xld, 11.0: T's hypotenuse; smallest_circle_xld, 11.0: its right angle puts
      // the centre on the hypotenuse's middle.
      program(
          kT + "diameter_xld (T, R1, C1, R2, C2, Dm)\nR := [sort([R1, R2]), sort([C1, C2]), Dm]",
          {0, 3, 0, 6, std::sqrt(45.0)}),
      program(kT + "smallest_circle_xld (T, Row, Col, Rad)\nR := [Row, Col, Rad]",
              {1.5, 3, std::sqrt(45.0) / 2}),
  });
}

TEST(XldShape, PointCloudFeatures) {
  expectReals({
      // area_center_points_xld, 11.0: the number of points and their mean; a closed contour's
      // repeated end point counts once.
      program(kT + "area_center_points_xld (T, A, Row, Col)\nR := [A, Row, Col]", {3, 1, 2}),
      program(kT + "close_contours_xld (T, C)\narea_center_points_xld (C, A, Row, Col)\n"
                   "R := [A, Row, Col]",
              {3, 1, 2}),
      // moments_points_xld, 11.0: the sums of the offsets' products.
      program(kT + "moments_points_xld (T, M11, M20, M02)\nR := [M11, M20, M02]", {-6, 6, 24}),
      // elliptic_axis_points_xld, 11.0: the moments by the number of points are four times
      // the polygon's, so the radii are twice.
      program(kT + "elliptic_axis_points_xld (T, Ra, Rb, Phi)\nR := [Ra, Rb, Phi]",
              {2 * kTra, 2 * kTrb, kTphi}),
      // eccentricity_points_xld, 11.0: Ra / Rb.
      program(kT + "eccentricity_points_xld (T, A)\nR := A", {kTra / kTrb}),
      // orientation_points_xld, 11.0: turned by pi when the farthest point lies against phi;
      // two points: the direction from the first to the second.
      program(kT + kU + "orientation_points_xld (T, A)\norientation_points_xld (U, B)\nR := [A, B]",
              {kTphi, kPi - kTphi}),
      program("gen_contour_polygon_xld (P, [0, 3], [0, 0])\norientation_points_xld (P, R)",
              {-kPi / 2}),
  });
}

TEST(XldShape, ArbitraryMoments) {
  // moments_any_xld, 11.0: S's points run clockwise ('negative'); its integrals of 1, r and
  // r^2 are 16, 32 and 4 * 64/3; by area, r gives the centre; about the centre, r^2 by area
  // gives 4/3.
  const std::string s = kS + "area_center_xld (S, A, Row, Col, O)\n";
  expectReals({
      program(s + "moments_any_xld (S, 'unnormalized', O, A, Row, Col, [0, 1, 2], [0, 0, 0], R)",
              {16, 32, 256.0 / 3}),
      program(s + "moments_any_xld (S, 'normalized', O, A, Row, Col, [1, 0], [0, 1], R)", {2, 2}),
      program(s + "moments_any_xld (S, 'central', O, A, Row, Col, [2, 1], [0, 1], R)",
              {4.0 / 3, 0}),
      program(s + "moments_any_xld (S, 'unnormalized_central', O, A, Row, Col, 0, 2, R)",
              {64.0 / 3}),
      // moments_any_points_xld, 11.0: sums over T's three points.
      program(kT + "moments_any_points_xld (T, 'unnormalized', 3, 1, 2, [1, 0], [0, 1], R)",
              {3, 6}),
      program(kT + "moments_any_points_xld (T, 'central', 3, 1, 2, [2, 0], [0, 2], R)", {2, 8}),
  });
  for (const auto& [line, number] : std::vector<std::pair<std::string, long>>{
           {"moments_any_xld (S, 'scaled', 'positive', 16, 2, 2, 0, 0, R)", 1301},
           {"moments_any_xld (S, 'central', 'clockwise', 16, 2, 2, 0, 0, R)", 1302},
           {"moments_any_xld (S, 'central', 'positive', 16, 2, 2, -1, 0, R)", 1306},
           {"moments_any_xld (S, 'central', 'positive', 16, 2, 2, [0, 1], 0, R)", 1407},
           {"moments_any_points_xld (S, 'central', 4, 2, 2, 0, -1, R)", 1306},
       }) {
    EXPECT_EQ(programError(split(kS + line)), number) << line;
  }
}

TEST(XldShape, DegenerateAndEmptyContours) {
  // A contour enclosing nothing measures 0 throughout; no contours give no values.
  expectReals({
      program(kI + "circularity_xld (I, A)\ncompactness_xld (I, B)\nconvexity_xld (I, C)\n"
                   "rectangularity_xld (I, D)\neccentricity_xld (I, E, F, G)\n"
                   "elliptic_axis_xld (I, Ra, Rb, Phi)\nmoments_xld (I, M1, M2, M3)\n"
                   "R := [A, B, C, D, E, F, G, Ra, Rb, Phi, M1, M2, M3]",
              std::vector<double>(13, 0.0)),
  });
  expectCases({
      {"no contours",
       {"gen_empty_obj (E)", "circularity_xld (E, A)",
        "moments_any_points_xld (E, 'central', "
        "1, 0, 0, 0, 0, M)",
        "R := [|A|, |M|]"},
       "[0, 0]"},
  });
}

TEST(XldShape, SelfIntersection) {
  // test_self_intersection_xld, 11.0: with CloseXLD 'true' the closing edge counts too.
  const std::string bow = "gen_contour_polygon_xld (B, [0, 0, 4, 4], [0, 4, 0, 4])\n";
  expectCases({
      {"open bow tie", split(bow + "test_self_intersection_xld (B, 'false', R)"), "0"},
      {"closed bow tie", split(bow + "test_self_intersection_xld (B, 'true', R)"), "1"},
      {"closed square", split(kS + "test_self_intersection_xld (S, 'true', R)"), "0"},
      {"touching",
       split("gen_contour_polygon_xld (C, [0, 0, 2, 0], [0, 4, 2, 2])\n"
             "test_self_intersection_xld (C, 'false', R)"),
       "1"},
      {"running back",
       split("gen_contour_polygon_xld (C, [0, 0, 0], [0, 4, 2])\n"
             "test_self_intersection_xld (C, 'false', R)"),
       "1"},
  });
  EXPECT_EQ(programError(split(kS + "test_self_intersection_xld (S, 'yes', R)")), 1301);
}

TEST(XldShape, ShapeTransformations) {
  // shape_trans_xld, 11.0: the enclosing axis-parallel rectangle, the convex hull, the smallest
  // rectangle of any orientation and the smallest circle, as closed contours.
  expectCases({
      {"rectangle1",
       split(kT + "shape_trans_xld (T, Q, 'rectangle1')\nget_contour_xld (Q, Rs, Cs)\n"
                  "R := [Rs, Cs]"),
       "[0.0, 3.0, 3.0, 0.0, 0.0, 0.0, 0.0, 6.0, 6.0, 0.0]"},
      {"convex",
       split(kL + "shape_trans_xld (L, Q, 'convex')\ntest_closed_xld (Q, C)\n"
                  "area_center_xld (Q, A, Row, Col, O)\nR := [C, A]"),
       "[1, 14.0]"},
  });
  expectReals({
      program(kD + "shape_trans_xld (D, Q, 'rectangle2')\narea_center_xld (Q, R, Row, Col, O)",
              {8}),
      program(kT +
                  "shape_trans_xld (T, Q, 'outer_circle')\nsmallest_circle_xld (Q, Row, Col, Rad)\n"
                  "R := [Row, Col, Rad]",
              {1.5, 3, std::sqrt(45.0) / 2}, 1e-6),
      program(kS + "shape_trans_xld (S, Q, 'ellipse')\nelliptic_axis_xld (Q, Ra, Rb, Phi)\n"
                   "area_center_xld (Q, A, Row, Col, O)\nR := [Row, Col]",
              {2, 2}, 1e-6),
  });
  EXPECT_EQ(programError(split(kS + "shape_trans_xld (S, Q, 'inner_circle')")), 1301);
}

TEST(XldShape, SelectShapeSharesTheFeatures) {
  // select_shape_xld, 11.0: the features as their operators measure them; S's circularity
  // 2/pi, T's about 0.17.
  expectCases({
      {"circularity",
       split(kS + kT +
             "concat_obj (S, T, B)\nselect_shape_xld (B, Q, 'circularity', 'and', 0.6, 1)\n"
             "area_center_xld (Q, R, Row, Col, O)"),
       "16.0"},
      {"max_diameter and anisometry",
       split(kS + kT +
             "concat_obj (S, T, B)\n"
             "select_shape_xld (B, Q, ['max_diameter', 'anisometry'], 'and', [6, 2], "
             "[7, 3])\narea_center_xld (Q, R, Row, Col, O)"),
       "9.0"},
  });
}

}  // namespace
