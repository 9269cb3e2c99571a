// XLD contour operators through program lines, against points, lengths, areas and fits worked
// out by hand from the HALCON 11.0 reference pages of each operator (cited beside each row).
// Coordinates are (row, column); an angle phi is counter-clockwise on the screen, so the point
// at phi on a circle is (Row - R sin phi, Column + R cos phi).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;
using HalconCpp::Hlong;

constexpr double kPi = 3.14159265358979323846;
const double kSin60 = std::sqrt(3.0) / 2;

// A hexagon: the circle of radius 10 about (50, 50) at a resolution of 10, whose chord of 60
// degrees is exactly 10.
const std::string kHexagon = "gen_circle_contour_xld (C, 50, 50, 10, 0, 6.28318, 'positive', 10)";
// The triangle (0, 0), (0, 4), (3, 0), left open.
const std::string kTriangle = "gen_contour_polygon_xld (C, [0, 0, 3], [0, 4, 0])";

TEST(XldObjects, ContoursAreObjectsOfClassXldCont) {
  expectTexts({
      {"gen_circle_contour_xld (C, 5, 5, 2, 0, 6.28318, 'positive', 1)\nget_obj_class (C, R)",
       "'xld_cont'"},
      {"gen_rectangle2_contour_xld (C, [5, 6], 5, 0, 2, 1)\ncount_obj (C, R)", "2"},
      {"gen_rectangle2_contour_xld (C, [5, 6, 7], 5, 0, 2, 1)\ncopy_obj (C, Copy, 2, -1)\n"
       "count_obj (Copy, R)",
       "2"},
      {"gen_rectangle2_contour_xld (C, [5, 6, 7], 5, 0, 2, 1)\nselect_obj (C, S, 3)\n"
       "area_center_xld (S, A, R, Col, O)",
       "7.0"},
      {"gen_circle (Disc, 5, 5, 2)\n" + kTriangle +
           "\nconcat_obj (Disc, C, Both)\nget_obj_class (Both, R)",
       "['region', 'xld_cont']"},
  });
  // copy_obj, HALCON 11.0 reference: Index from 1, NumObj -1 for all to the end.
  expectLineErrors({{"gen_empty_obj (E)\ncopy_obj (E, Copy, 1, 1)", 1301},
                    {(kTriangle + "\ncopy_obj (C, Copy, 1, 2)"), 1302}});
}

TEST(XldObjects, DispXldDrawsContoursInTheWindowsColourAndLineWidth) {
  const std::string open =
      "open_window (0, 0, 32, 32, 0, 'invisible', '', W)\n"
      "gen_contour_polygon_xld (C, [10, 10], [2, 20])\n";
  // The dump is RGB: three values a point; the line width 3 covers rows 9 to 11.
  const std::string grab =
      "dump_window_image (Image, W)\nget_grayval (Image, [10, 11, 12, 13], [10, 10, 10, 10], R)";
  expectTexts({{(open + "set_color (W, 'white')\ndisp_xld (C, W)\n" + grab),
                "[255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0]"},
               {(open + "set_color (W, 'white')\nset_line_width (W, 3)\ndisp_xld (C, W)\n" + grab),
                "[255, 255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0]"},
               {(open + "set_color (W, 'white')\ndisp_obj (C, W)\n" + grab),
                "[255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0]"}});
  expectLineErrors(
      {{"open_window (0, 0, 32, 32, 0, 'invisible', '', W)\ngen_circle (D, 5, 5, 2)\n"
        "disp_xld (D, W)",
        1101}});
}

TEST(GenCircleContourXld, PointsFollowTheArcAtTheResolution) {
  const double h = 10 * kSin60;
  expectReals({
      // gen_circle_contour_xld, HALCON 11.0 reference: neighbouring points at most Resolution
      // apart; a full turn ends on its first point. Chords of 60 degrees are 10.
      {{kHexagon, "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {50, 50 - h, 50 - h, 50, 50 + h, 50 + h, 50, 60, 55, 45, 40, 45, 55, 60}},
      {{"gen_circle_contour_xld (C, 50, 50, 10, 0, 6.28318, 'negative', 10)",
        "get_contour_xld (C, Row, Col)", "R := Row"},
       {50, 50 + h, 50 + h, 50, 50 - h, 50 - h, 50}},
      // A quarter arc with a resolution above its chord: its two end points.
      {{"gen_circle_contour_xld (C, 50, 50, 10, 0, rad(90), 'positive', 20)",
        "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {50, 40, 60, 50}},
      // 'positive' from 90 to 0 degrees goes the long way round, 270 degrees, in two steps
      // of 135 degrees (a chord of 20 at most allows 180).
      {{"gen_circle_contour_xld (C, 50, 50, 10, rad(90), 0, 'positive', 20)",
        "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {40, 50 + std::sqrt(50.0), 50, 50, 50 - std::sqrt(50.0), 60}},
      // length_xld, HALCON 11.0 reference: the sum of the segments, six of 10.
      {{kHexagon, "length_xld (C, R)"}, {60}},
      // area_center_xld, HALCON 11.0 reference: the regular hexagon of side 10, 3 sqrt(3) / 2
      // times 100, about the circle's centre.
      {{kHexagon, "area_center_xld (C, A, Row, Col, Order)", "R := [A, Row, Col]"},
       {150 * std::sqrt(3.0), 50, 50}},
  });
  expectTexts({{(kHexagon + "\narea_center_xld (C, A, Row, Col, R)"), "'positive'"},
               {(kHexagon + "\ntest_closed_xld (C, R)"), "1"}});
  expectLineErrors(
      {{"gen_circle_contour_xld (C, 5, 5, 2, 0, 1, 'positive', 0.001)", 1307},
       {"gen_circle_contour_xld (C, 5, 5, 2, 0, 1, 'clockwise', 1)", 1306},
       {"gen_circle_contour_xld (C, 5, 5, -2, 0, 1, 'positive', 1)", 1303},
       {"gen_circle_contour_xld (C, [5, 6], [5, 6, 7], 2, 0, 1, 'positive', 1)", 1402},
       {"gen_circle_contour_xld (C, 5, 5, 1000000000, 0, 6.28318, 'positive', 1)", 6001}});
}

TEST(GenEllipseContourXld, PointsOfTheTurnedEllipse) {
  expectReals({
      // gen_ellipse_contour_xld, HALCON 11.0 reference: Radius1 along Phi. A resolution just
      // above 20 sqrt(2) gives the four ends of the axes.
      {{"gen_ellipse_contour_xld (C, 50, 50, 0, 20, 10, 0, 6.28318, 'positive', 28.3)",
        "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {50, 40, 50, 60, 50, 70, 50, 30, 50, 70}},
      // The rhombus of diagonals 40 and 20.
      {{"gen_ellipse_contour_xld (C, 50, 50, 0, 20, 10, 0, 6.28318, 'positive', 28.3)",
        "area_center_xld (C, A, Row, Col, Order)", "R := [A, Row, Col]"},
       {400, 50, 50}},
      // Turned by 90 degrees, Radius1 points up.
      {{"gen_ellipse_contour_xld (C, 50, 50, rad(90), 20, 10, 0, rad(90), 'positive', 100)",
        "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {30, 50, 50, 40}},
  });
}

TEST(GenRectangle2ContourXld, CornersOfTheTurnedRectangle) {
  expectReals({
      // gen_rectangle2_contour_xld, HALCON 11.0 reference: half lengths Length1 along Phi and
      // Length2 across, closed.
      {{"gen_rectangle2_contour_xld (C, 50, 60, 0, 20, 10)", "get_contour_xld (C, Row, Col)",
        "R := [Row, Col]"},
       {40, 40, 60, 60, 40, 80, 40, 40, 80, 80}},
      {{"gen_rectangle2_contour_xld (C, 50, 60, 0.3, 20, 10)", "length_xld (C, R)"}, {120}},
      {{"gen_rectangle2_contour_xld (C, 50, 60, 0.3, 20, 10)",
        "area_center_xld (C, A, Row, Col, Order)", "R := [A, Row, Col]"},
       {800, 50, 60}},
      // smallest_rectangle2_xld, HALCON 11.0 reference: the rectangle itself.
      {{"gen_rectangle2_contour_xld (C, 50, 60, 0.3, 20, 10)",
        "smallest_rectangle2_xld (C, Row, Col, Phi, L1, L2)", "R := [Row, Col, Phi, L1, L2]"},
       {50, 60, 0.3, 20, 10}},
  });
}

TEST(XldFeatures, AreaCenterAndBoxOfOpenAndDegenerateContours) {
  expectReals({
      // area_center_xld, HALCON 11.0 reference: an open contour is closed for the area; the
      // triangle's area is 3 * 4 / 2 and its centre the mean of its corners.
      {{kTriangle, "area_center_xld (C, A, Row, Col, Order)", "R := [A, Row, Col]"},
       {6, 1, 4.0 / 3}},
      {{kTriangle, "length_xld (C, R)"}, {9}},
      // smallest_rectangle1_xld, HALCON 11.0 reference: the extremes of the points.
      {{kTriangle, "smallest_rectangle1_xld (C, R1, C1, R2, C2)", "R := [R1, C1, R2, C2]"},
       {0, 0, 3, 4}},
      // Collinear points and one point enclose nothing.
      {{"gen_contour_polygon_xld (C, [0, 1, 2], [0, 1, 2])",
        "area_center_xld (C, A, Row, Col, Order)", "R := [A, Row, Col]"},
       {0, 1, 1}},
      {{"gen_contour_polygon_xld (C, 3, 4)", "length_xld (C, L)",
        "area_center_xld (C, A, Row, Col, Order)", "R := [L, A, Row, Col]"},
       {0, 0, 3, 4}},
  });
  // The triangle runs clockwise on the screen.
  expectTexts({{(kTriangle + "\narea_center_xld (C, A, Row, Col, R)"), "'negative'"},
               {"gen_empty_obj (E)\nlength_xld (E, R)", "[]"},
               {(kTriangle + "\ncontour_point_num_xld (C, R)"), "3"},
               {(kTriangle + "\ntest_closed_xld (C, R)"), "0"}});
  expectLineErrors(
      {{(kTriangle + "\nconcat_obj (C, C, Two)\nget_contour_xld (Two, Row, Col)"), 1501},
       {"gen_circle (D, 5, 5, 2)\nlength_xld (D, R)", 1101}});
}

TEST(SelectShapeXld, KeepsContoursWhoseFeaturesLieWithinTheLimits) {
  const std::string three = kHexagon + "\n" +
                            "gen_rectangle2_contour_xld (Rect, 50, 60, 0, 20, 10)\n" +
                            "gen_contour_polygon_xld (Tri, [0, 0, 3], [0, 4, 0])\n" +
                            "concat_obj (C, Rect, CR)\nconcat_obj (CR, Tri, All)\n";
  // select_shape_xld, HALCON 11.0 reference: lengths 60, 120 and 9; areas 259.8, 800 and 6.
  expectTexts({
      {(three + "select_shape_xld (All, S, 'contlength', 'and', 50, 100)\nlength_xld (S, R)"),
       "60.0"},
      {(three + "select_shape_xld (All, S, ['area', 'contlength'], 'or', [700, 0], "
                "[900, 10])\nlength_xld (S, R)"),
       "[120.0, 9.0]"},
      {(three + "select_shape_xld (All, S, 'row', 'and', 49, 'max')\ncount_obj (S, R)"), "2"},
      {(three + "select_shape_xld (All, S, 'rect2_len1', 'and', 15, 25)\ncount_obj (S, R)"), "1"},
  });
  expectLineErrors({{(three + "select_shape_xld (All, S, 'roundness', 'and', 0, 1)"), 1301},
                    {(three + "select_shape_xld (All, S, 'area', 'xor', 0, 1)"), 1302}});
}

TEST(FitCircleContourXld, RecoversTheCircleOfItsPoints) {
  // Three points of the circle about (30, 40) of radius 5, at 0, 90 and 180 degrees.
  const std::string arc = "gen_contour_polygon_xld (C, [30, 25, 30], [45, 40, 35])";
  const auto fitWith = [](const char* algorithm) {
    return std::string("fit_circle_contour_xld (C, '") + algorithm +
           "', -1, 0, 0, 10, 2, Row, Col, Rad, S, E, O)";
  };
  // Twelve points of that circle every 30 degrees, with an outlier 3 outside it in the middle.
  std::string rows = "[", cols = "[";
  for (int k = 0; k <= 12; ++k) {
    const double phi = k * kPi / 6;
    if (k == 6) rows += "30, ", cols += "48, ";
    rows += std::to_string(30 - 5 * std::sin(phi)) + (k < 12 ? ", " : "]");
    cols += std::to_string(40 + 5 * std::cos(phi)) + (k < 12 ? ", " : "]");
  }
  const std::string outlier = "gen_contour_polygon_xld (C, " + rows + ", " + cols + ")";
  expectReals({
      // fit_circle_contour_xld, HALCON 11.0 reference: the circle through the points; an open
      // arc from the first point's angle to the last one's, in the direction the points run.
      {{arc, fitWith("algebraic"), "R := [Row, Col, Rad, S, E]"}, {30, 40, 5, 0, kPi}},
      {{arc, fitWith("geometric"), "R := [Row, Col, Rad, S, E]"}, {30, 40, 5, 0, kPi}},
      // A closed contour is a whole circle, 0 to 2 pi.
      {{kHexagon,
        "fit_circle_contour_xld (C, 'algebraic', -1, 0, 0, 3, 2, Row, Col, Rad, S, E, "
        "O)",
        "R := [Row, Col, Rad, S, E]"},
       {50, 50, 10, 0, 2 * kPi}},
      // The Tukey weights drop the outlier altogether (std::to_string keeps six decimals).
      {{outlier, fitWith("atukey"), "R := [Row, Col, Rad]"}, {30, 40, 5}, 1e-5},
      {{outlier, fitWith("geotukey"), "R := [Row, Col, Rad]"}, {30, 40, 5}, 1e-5},
  });
  expectTexts({{(arc + "\n" + fitWith("algebraic") + "\nR := O"), "'positive'"},
               {"gen_contour_polygon_xld (C, [30, 25, 30], [35, 40, 45])\n" + fitWith("algebraic") +
                    "\nR := O",
                "'negative'"},
               {("gen_empty_obj (C)\n" + fitWith("algebraic") + "\nR := |Row|"), "0"}});
  // Fewer than three points, or three on a line, fix no circle.
  expectLineErrors(
      {{("gen_contour_polygon_xld (C, [1, 2], [1, 2])\n" + fitWith("algebraic")), 3264},
       {("gen_contour_polygon_xld (C, [1, 2, 3], [1, 2, 3])\n" + fitWith("geometric")), 3264},
       {(arc + "\n" + fitWith("ransac")), 1301}});
}

TEST(FitLineContourXld, RecoversTheLineOfItsPoints) {
  const auto fitWith = [](const char* algorithm) {
    return std::string("fit_line_contour_xld (C, '") + algorithm +
           "', -1, 0, 5, 2, RB, CB, RE, CE, Nr, Nc, D)";
  };
  // Row 10 from column 0 to 10, the middle point pulled 4 rows down in the second.
  const std::string straight =
      "gen_contour_polygon_xld (C, [10, 10, 10, 10, 10], [0, 2, 5, 7, 10])";
  const std::string outlier =
      "gen_contour_polygon_xld (C, [10, 10, 10, 10, 14, 10, 10, 10, 10], "
      "[0, 1, 2, 4, 5, 6, 8, 9, 10])";
  expectReals({
      // fit_line_contour_xld, HALCON 11.0 reference: the line Nr r + Nc c = Dist, from the
      // first point's foot to the last one's; the stand-in's normal points to the line's right.
      {{straight, fitWith("regression"), "R := [RB, CB, RE, CE, Nr, Nc, D]"},
       {10, 0, 10, 10, 1, 0, 10}},
      {{outlier, fitWith("tukey"), "R := [RB, CB, RE, CE, Nr, Nc, D]"}, {10, 0, 10, 10, 1, 0, 10}},
      {{outlier, fitWith("drop"), "R := [Nr, Nc, D]"}, {1, 0, 10}},
      // ClippingEndPoints leaves out end points: the outlier at the start goes.
      {{"gen_contour_polygon_xld (C, [20, 10, 10, 10], [0, 2, 5, 7])",
        "fit_line_contour_xld (C, 'regression', -1, 1, 0, 2, RB, CB, RE, CE, Nr, Nc, D)",
        "R := [Nr, Nc, D]"},
       {1, 0, 10},
       1e-9},
  });
  expectLineErrors({{"gen_contour_polygon_xld (C, 1, 1)\n" + fitWith("regression"), 3264},
                    {"gen_contour_polygon_xld (C, [1, 1], [1, 1])\n" + fitWith("regression"), 3264},
                    {straight + "\n" + fitWith("lms"), 1301}});
}

TEST(GenContourRegionXld, BordersAndCentresOfRegions) {
  expectReals({
      // gen_region_contour_xld, HALCON 11.0 reference: the border of the single pixel (1, 1)
      // is (0.5, 0.5), (0.5, 1.5), (1.5, 1.5), (1.5, 0.5), (0.5, 0.5).
      {{"gen_rectangle1 (P, 1, 1, 1, 1)", "gen_contour_region_xld (P, C, 'border')",
        "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {0.5, 0.5, 1.5, 1.5, 0.5, 0.5, 1.5, 1.5, 0.5, 0.5}},
      // gen_contour_region_xld, HALCON 11.0 reference: 'border' encloses the pixels, 2 x 3;
      // 'center' runs through the centres of the border pixels, enclosing 1 x 2.
      {{"gen_rectangle1 (P, 1, 1, 2, 3)", "gen_contour_region_xld (P, C, 'border')",
        "area_center_xld (C, A, Row, Col, O)", "R := [A, Row, Col]"},
       {6, 1.5, 2}},
      {{"gen_rectangle1 (P, 1, 1, 2, 3)", "gen_contour_region_xld (P, C, 'center')",
        "get_contour_xld (C, Row, Col)", "R := [Row, Col]"},
       {1, 1, 1, 2, 2, 2, 1, 1, 2, 3, 3, 2, 1, 1}},
      // 'border_holes': the ring of 5 x 5 around a hole of 3 x 3 gives two contours.
      {{"gen_rectangle1 (Outer, 0, 0, 4, 4)", "gen_rectangle1 (Inner, 1, 1, 3, 3)",
        "difference (Outer, Inner, Ring)", "gen_contour_region_xld (Ring, C, 'border_holes')",
        "area_center_xld (C, A, Row, Col, O)", "R := A"},
       {25, 9}},
  });
  expectTexts({{"gen_rectangle1 (P, 1, 1, 2, 3)\ngen_contour_region_xld (P, C, 'border')\n"
                "area_center_xld (C, A, Row, Col, R)",
                "'negative'"},
               {"gen_empty_region (E)\ngen_contour_region_xld (E, C, 'border')\n"
                "contour_point_num_xld (C, R)",
                "[]"}});
  expectLineErrors(
      {{"gen_rectangle1 (P, 1, 1, 2, 3)\ngen_contour_region_xld (P, C, 'inner')", 1301}});
}

TEST(GenRegionContourXld, FilledAndMarginRegions) {
  expectReals({
      // gen_region_contour_xld, HALCON 11.0 reference: the border of pixel (1, 1) rounds to
      // the region (1, 1), (1, 2), (2, 2), (2, 1).
      {{"gen_rectangle1 (P, 1, 1, 1, 1)", "gen_contour_region_xld (P, C, 'border')",
        "gen_region_contour_xld (C, Region, 'filled')", "area_center (Region, A, Row, Col)",
        "R := [A, Row, Col]"},
       {4, 1.5, 1.5}},
      // The triangle (0, 0), (0, 4), (4, 0): filled, rows of 5, 4, 3, 2 and 1 pixels; its
      // margin, the three sides of 5 pixels sharing their corners.
      {{"gen_contour_polygon_xld (C, [0, 0, 4], [0, 4, 0])",
        "gen_region_contour_xld (C, Region, 'filled')", "area_center (Region, R, Row, Col)"},
       {15}},
      {{"gen_contour_polygon_xld (C, [0, 0, 4], [0, 4, 0])",
        "gen_region_contour_xld (C, Region, 'margin')", "area_center (Region, R, Row, Col)"},
       {12}},
  });
  expectLineErrors(
      {{"gen_contour_polygon_xld (C, 1, 1)\ngen_region_contour_xld (C, Region, 'hull')", 1301}});
}

TEST(XldProcessing, SmoothUnionSegmentAndTransform) {
  expectReals({
      // smooth_contours_xld, HALCON 11.0 reference: each point moved onto the regression line
      // of the NumRegrPoints points around it. The zigzag's inner windows each fit a line
      // along the rows through their mean column.
      {{"gen_contour_polygon_xld (C, [0, 1, 2, 3, 4], [0, 1, 0, 1, 0])",
        "smooth_contours_xld (C, S, 3)", "get_contour_xld (S, Row, Col)", "R := [Row, Col]"},
       {0, 1, 2, 3, 4, 0, 1.0 / 3, 2.0 / 3, 1.0 / 3, 0}},
      // union_adjacent_contours_xld, HALCON 11.0 reference: end points within MaxDistAbs join,
      // turning a contour round where needed.
      {{"gen_contour_polygon_xld (A, [0, 0], [0, 10])",
        "gen_contour_polygon_xld (B, [0, 0], [20, 11])", "concat_obj (A, B, Both)",
        "union_adjacent_contours_xld (Both, U, 2, 1, 'attr_keep')", "get_contour_xld (U, Row, Col)",
        "R := Col"},
       {0, 10, 11, 20}},
      // segment_contours_xld, HALCON 11.0 reference: 'lines' splits the L at its corner.
      {{"gen_contour_polygon_xld (C, [0, 0, 0, 0, 1, 2, 3], [0, 1, 2, 3, 3, 3, 3])",
        "segment_contours_xld (C, S, 'lines', 0, 0.5, 0.5)", "length_xld (S, R)"},
       {3, 3}},
      // affine_trans_contour_xld, HALCON 11.0 reference: (r, c) -> (a r + b c + c0, d r + e c +
      // f0) for each point; (1, 2) turned and moved to (3, 2).
      {{"gen_contour_polygon_xld (C, [1, 0], [2, 0])",
        "affine_trans_contour_xld (C, T, [0, -1, 5, 1, 0, 1])", "get_contour_xld (T, Row, Col)",
        "R := [Row, Col]"},
       {3, 5, 2, 1}},
  });
  expectTexts({{"gen_contour_polygon_xld (A, [0, 0], [0, 10])\n"
                "gen_contour_polygon_xld (B, [0, 0], [12, 20])\nconcat_obj (A, B, Both)\n"
                "union_adjacent_contours_xld (Both, U, 1, 1, 'attr_keep')\ncount_obj (U, R)",
                "2"},
               {"gen_contour_polygon_xld (C, [0, 0, 0, 0, 1, 2, 3], [0, 1, 2, 3, 3, 3, 3])\n"
                "segment_contours_xld (C, S, 'lines', 0, 0.5, 0.5)\n"
                "select_obj (S, First, 1)\nget_contour_xld (First, Row, R)",
                "[0.0, 1.0, 2.0, 3.0]"}});
  expectLineErrors(
      {{"gen_contour_polygon_xld (C, [0, 1], [0, 1])\nsmooth_contours_xld (C, S, 4)", 1301},
       {"gen_contour_polygon_xld (C, [0, 1], [0, 1])\n"
        "segment_contours_xld (C, S, 'lines_arcs', 0, 1, 1)",
        1301},
       {"gen_contour_polygon_xld (C, [0, 1], [0, 1])\n"
        "union_adjacent_contours_xld (C, U, 1, 1, 'glue')",
        1303}});
}

// A byte image of 20 x 20, 0 left of column 10 and 200 from it: the step lies between the
// centres of columns 9 and 10.
const std::string kStep =
    "gen_image_const (Blank, 'byte', 20, 20)\ngen_rectangle1 (Right, 0, 10, 19, 19)\n"
    "paint_region (Right, Blank, Image, 200, 'fill')\n";

TEST(EdgesSubPix, FindsAStepEdgeBetweenThePixels) {
  for (const char* filter : {"'canny', 1", "'sobel_fast', 1"}) {
    const std::string edges = kStep + "edges_sub_pix (Image, E, " + filter + ", 10, 20)\n";
    // edges_sub_pix, HALCON 11.0 reference: the maximum of the gradient amplitude across the
    // edge, which is symmetric about column 9.5; one edge down the whole image.
    expectTexts(
        {{edges + "count_obj (E, R)", "1"},
         {edges + "contour_point_num_xld (E, R)", "20"},
         {edges + "get_contour_xld (E, Row, Col)\nR := [min(Col), max(Col)]", "[9.5, 9.5]"},
         {edges + "query_contour_attribs_xld (E, R)", "['edge_direction', 'angle', 'response']"}});
    // The gradient points from dark to bright, along the column axis: 0.
    expectReals({{split(edges + "get_contour_xld (E, Row, Col)\n"
                                "get_contour_attrib_xld (E, 'edge_direction', D)\n"
                                "R := [min(Row), max(Row), min(D), max(D)]"),
                  {0, 19, 0, 0}}});
  }
  // get_contour_attrib_xld, HALCON 18.11 (the 11.0 page names the normal without its axis):
  // 'angle' is the normal, pointing right of the way the contour runs, counter-clockwise from
  // the row axis, so (cos a, sin a) is its (row, column). Across a vertical step it is
  // horizontal and a contour running down has -pi/2; across a horizontal step it is vertical.
  const std::string angles =
      "get_contour_xld (E, Row, Col)\nget_contour_attrib_xld (E, 'angle', A)\nN := |Row|\n"
      "DR := Row[2:N - 1] - Row[0:N - 3]\nDC := Col[2:N - 1] - Col[0:N - 3]\nM := A[1:N - 2]\n"
      "Right := cos(M) * DC - sin(M) * DR\n";
  for (const char* bright : {"0, 10, 19, 19", "0, 0, 19, 9"}) {
    expectReals(
        {{split(std::string("gen_image_const (Blank, 'byte', 20, 20)\ngen_rectangle1 (B, ") +
                bright + ")\npaint_region (B, Blank, Image, 200, 'fill')\n" +
                "edges_sub_pix (Image, E, 'canny', 1, 10, 20)\n" + angles +
                "R := [min(Right) > 0, max(abs(cos(M))), M[3] * sgn(DR[3])]"),
          {1, 0, -kPi / 2}}});
  }
  for (const char* bright : {"10, 0, 19, 19", "0, 0, 9, 19"}) {
    expectReals(
        {{split(std::string("gen_image_const (Blank, 'byte', 20, 20)\ngen_rectangle1 (B, ") +
                bright + ")\npaint_region (B, Blank, Image, 200, 'fill')\n" +
                "edges_sub_pix (Image, E, 'canny', 1, 10, 20)\n" + angles +
                "R := [min(Right) > 0, max(abs(sin(M)))]"),
          {1, 0}}});
  }
  // High above the step's response: no edge at all; a flat image has none either.
  expectTexts({{kStep + "edges_sub_pix (Image, E, 'canny', 1, 10, 200)\ncount_obj (E, R)", "0"},
               {"gen_image_const (I, 'byte', 8, 8)\nedges_sub_pix (I, E, 'canny', 1, 1, 2)\n"
                "count_obj (E, R)",
                "0"}});
  expectLineErrors({{kStep + "edges_sub_pix (Image, E, 'gauss', 1, 10, 20)", 1301},
                    {kStep + "edges_sub_pix (Image, E, 'canny', 0, 10, 20)", 1302},
                    {kStep + "edges_sub_pix (Image, E, 'canny', 1, 20, 10)", 1304},
                    {kStep + "edges_sub_pix (Right, E, 'canny', 1, 10, 20)", 1101}});
}

TEST(EdgesSubPix, TheEdgeOfADiscFitsItsCircle) {
  // The disc of gen_circle with radius 20.5 about (50, 50): its pixels' border lies about
  // 20.5 from the centre, up to the half pixel the raster adds.
  expectReals({{{"gen_image_const (Blank, 'byte', 100, 100)", "gen_circle (Disc, 50, 50, 20.5)",
                 "paint_region (Disc, Blank, Image, 255, 'fill')",
                 "edges_sub_pix (Image, E, 'canny', 1.5, 20, 40)",
                 "fit_circle_contour_xld (E, 'geotukey', -1, 2, 0, 3, 2, Row, Col, Rad, S, "
                 "End, O)",
                 "R := [Row, Col, Rad]"},
                {50, 50, 20.5},
                0.5}});
}

}  // namespace
