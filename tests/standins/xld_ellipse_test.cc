// Ellipses and rectangles fitted to contours, distances to them, and contours split into lines
// and elliptic arcs, through program lines against values worked by hand from each operator's
// HALCON 11.0 page (cited beside each row). Points on a curve fix it exactly, so every fit of
// them gives the curve back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

constexpr double kPi = 3.14159265358979323846;

Reals program(const std::string& text, std::vector<double> expected, double tolerance) {
  return Reals{split(text), std::move(expected), tolerance};
}

// The ellipse about (50, 60) at phi 0.3 with radii 20 and 8, closed.
const std::string kEllipse =
    "gen_ellipse_contour_xld (E, 50, 60, 0.3, 20, 8, 0, 6.283185307, 'positive', 1)\n";
// Three points: 25 beyond the centre along the main axis (radius 20), the centre, and the end
// of the minor axis (radius 8), for the ellipse about (50, 60) at phi 0.
const std::string kThree = "gen_contour_polygon_xld (P, [50, 50, 42], [85, 60, 60])\n";

std::string fit(const char* algorithm) {
  return kEllipse + "fit_ellipse_contour_xld (E, '" + algorithm +
         "', -1, 0, 0, 200, 3, 2, Row, Col, Phi, Ra, Rb, S, T, O)\n"
         "R := [Row, Col, Phi, Ra, Rb, S, T]";
}

TEST(XldEllipse, FitsGiveTheEllipseBack) {
  // fit_ellipse_contour_xld, 11.0: a closed contour's arc runs from 0 to 2 pi.
  const std::vector<double> whole{50, 60, 0.3, 20, 8, 0, 2 * kPi};
  expectReals({
      program(fit("fitzgibbon"), whole, 1e-6),
      program(fit("fhuber"), whole, 1e-6),
      program(fit("geometric"), whole, 1e-6),
      program(fit("geotukey"), whole, 1e-6),
      // An open half: from the parametric angle 0 of its first point to pi of its last.
      program("gen_ellipse_contour_xld (E, 50, 60, 0, 20, 10, 0, 3.14159265, 'positive', 1)\n"
              "fit_ellipse_contour_xld (E, 'fitzgibbon', -1, 0, 0, 200, 3, 2, Row, Col, Phi, "
              "Ra, Rb, S, T, O)\nR := [Row, Col, Phi, Ra, Rb, S, T]",
              {50, 60, 0, 20, 10, 0, kPi}, 1e-6),
  });
  expectCases({{"point order",
                split(kEllipse + "fit_ellipse_contour_xld (E, 'fitzgibbon', -1, 0, 0, 200, 3, 2, "
                                 "Row, Col, Phi, Ra, Rb, S, T, R)"),
                "'positive'"}});
  // Five points at least fix an ellipse; MaxNumPoints is -1 or at least 5.
  expectErrorCases({{split("gen_contour_polygon_xld (C, [0, 1, 2, 3], [0, 2, 1, 3])\n"
                           "fit_ellipse_contour_xld (C, 'fitzgibbon', -1, 0, 0, 200, 3, 2, "
                           "Row, Col, Phi, Ra, Rb, S, T, O)"),
                     3264},
                    {split(kEllipse + "fit_ellipse_contour_xld (E, 'fitzgibbon', 4, 0, 0, "
                                      "200, 3, 2, Row, Col, Phi, Ra, Rb, S, T, O)"),
                     1302}});
}

TEST(XldEllipse, DistancesToAnEllipse) {
  const double c = std::sqrt(400.0 - 64);  // the foci's distance from the centre
  const auto stats = [](std::vector<double> d) {
    double mean = 0, spread = 0;
    for (double v : d) mean += v;
    mean /= 3;
    for (double v : d) spread += (v - mean) * (v - mean);
    return std::vector<double>{0, *std::max_element(d.begin(), d.end()), mean,
                               std::sqrt(spread / 3)};
  };
  const auto dist = [](const char* mode) {
    return kThree + "dist_ellipse_contour_xld (P, '" + mode +
           "', -1, 0, 50, 60, 0, 20, 8, Min, Max, Avg, Sigma)\nR := [Min, Max, Avg, Sigma]";
  };
  expectReals({
      // dist_ellipse_contour_points_xld, 11.0: geometric distances, negative inside when
      // 'signed'; the centre is 8 from the ends of the minor axis.
      program(kThree + "dist_ellipse_contour_points_xld (P, 'signed', 0, 50, 60, 0, 20, 8, R)",
              {5, -8, 0}, 1e-9),
      program(kThree + "dist_ellipse_contour_points_xld (P, 'unsigned', 1, 50, 60, 0, 20, 8, R)",
              {8}, 1e-9),
      // dist_ellipse_contour_xld, 11.0: the least, largest, mean and spread of the absolute
      // distances; 'algebraic' is the conic scaled to give Radius2 at the centre; 'focpoints'
      // the sum of the distances to the foci less 2 Radius1.
      program(dist("geometric"), stats({5, 8, 0}), 1e-9),
      program(dist("algebraic"), stats({8 * (625.0 / 400 - 1), 8, 0}), 1e-9),
      program(dist("focpoints"), stats({10, 40 - 2 * c, 0}), 1e-9),
  });
  EXPECT_EQ(programError(split(kThree + "dist_ellipse_contour_xld (P, 'geometric', 2, 0, 50, 60, "
                                        "0, 20, 8, Min, Max, Avg, Sigma)")),
            1302);
}

TEST(XldEllipse, RectangleFitAndDistances) {
  // fit_rectangle2_contour_xld, 11.0: the sides of the rectangle about (10, 20) with half
  // lengths 8 along the columns and 4 along the rows, sampled every 4 pixels and run round
  // clockwise on the screen.
  const std::string sides =
      "gen_contour_polygon_xld (C, [6, 6, 6, 6, 6, 10, 14, 14, 14, 14, 14, 10, 6], "
      "[12, 16, 20, 24, 28, 28, 28, 24, 20, 16, 12, 12, 12])\n";
  expectReals({
      program(sides + "fit_rectangle2_contour_xld (C, 'regression', -1, 0, 0, 3, 2, Row, Col, Phi, "
                      "L1, L2, O)\nR := [Row, Col, Phi, L1, L2]",
              {10, 20, 0, 8, 4}, 1e-9),
      program(sides + "fit_rectangle2_contour_xld (C, 'tukey', -1, 0, 0, 3, 2, Row, Col, Phi, "
                      "L1, L2, O)\nR := [Row, Col, Phi, L1, L2]",
              {10, 20, 0, 8, 4}, 1e-9),
      // dist_rectangle2_contour_points_xld, 11.0: 5 beyond the end of the long axis, the
      // centre 10 from the long sides, and a point (5, 5) off a corner.
      program("gen_contour_polygon_xld (P, [50, 50, 65], [85, 60, 85])\n"
              "dist_rectangle2_contour_points_xld (P, 0, 50, 60, 0, 20, 10, R)",
              {5, 10, std::sqrt(50.0)}, 1e-9),
  });
  expectCases({{"point order",
                split(sides + "fit_rectangle2_contour_xld (C, 'regression', -1, 0, 0, 3, 2, Row, "
                              "Col, Phi, L1, L2, R)"),
                "'negative'"}});
}

TEST(XldEllipse, SegmentIntoLinesAndEllipticArcs) {
  // segment_contours_xld, 11.0: 'lines_ellipses' marks an elliptic arc 0 in 'cont_approx'; a
  // whole ellipse is one arc, a rectangle's sides are four lines.
  expectCases({
      {"ellipse",
       split("gen_ellipse_contour_xld (E, 100, 100, 0, 60, 30, 0, 6.283185307, 'positive', 1)\n"
             "segment_contours_xld (E, S, 'lines_ellipses', 5, 4, 2)\ncount_obj (S, N)\n"
             "get_contour_global_attrib_xld (S, 'cont_approx', A)\nR := [N, A]"),
       "[1, 0.0]"},
      {"rectangle",
       split("gen_rectangle2_contour_xld (Q, 50, 50, 0, 30, 20)\n"
             "segment_contours_xld (Q, S, 'lines_ellipses', 5, 4, 2)\ncount_obj (S, R)"),
       "4"},
  });
}

}  // namespace
