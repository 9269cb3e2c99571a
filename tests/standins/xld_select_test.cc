// Contours closed, crosses made, contours selected by select_contours_xld's features and
// global attributes read, through program lines, against values worked by hand from their
// HALCON 11.0 pages.
#include <gtest/gtest.h>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A: (0,0)-(0,4), 4 long; B: (0,0)-(0,4)-(3,4), 7 long, its ends 5 apart; K: (4,0)-(0,0),
// running up the image; V: (0,0)-(1,1)-(0,2), whose regression line is the row 1/3.
const Lines kContours{
    "gen_contour_polygon_xld (A, [0, 0], [0, 4])",
    "gen_contour_polygon_xld (B, [0, 0, 3], [0, 4, 4])",
    "gen_contour_polygon_xld (K, [4, 0], [0, 0])",
    "gen_contour_polygon_xld (V, [0, 1, 0], [0, 1, 2])",
    "concat_obj (A, B, AB)",
    "concat_obj (AB, K, ABK)",
    "concat_obj (ABK, V, All)",
};

Lines selecting(const char* feature, const char* limits) {
  // Exactly one contour selected.
  return kContours +
         Lines{std::string("select_contours_xld (All, S, '") + feature + "', " + limits + ")",
               "get_contour_xld (S, Rs, Cs)", "R := [Rs, Cs]"};
}

TEST(XldSelection, SelectContoursFeatures) {
  expectCases({
      // select_contours_xld, 11.0: the length within [Min1, Max1]: B alone.
      {"contour_length", selecting("contour_length", "5, 100, 0, 0"),
       "[0.0, 0.0, 3.0, 0.0, 4.0, 4.0]"},
      // The largest distance among the eight extreme points: B's (0,0) to (3,4) is 5.
      {"maximum_extent", selecting("maximum_extent", "4.5, 5.5, 0, 0"),
       "[0.0, 0.0, 3.0, 0.0, 4.0, 4.0]"},
      // The regression line's direction, counter-clockwise: K runs up, pi / 2.
      {"direction", selecting("direction", "1.5, 1.6, 0, 0"), "[4.0, 0.0, 0.0, 0.0]"},
      // V's distances to the row 1/3 are 1/3, 2/3, 1/3: mean 4/9, deviation sqrt(2) / 9.
      {"curvature: mean", selecting("curvature", "0.4, 0.5, 0, 0"),
       "[0.0, 1.0, 0.0, 0.0, 1.0, 2.0]"},
      {"curvature: mean and deviation", selecting("curvature", "0.4, 0.5, 0.15, 0.16"),
       "[0.0, 1.0, 0.0, 0.0, 1.0, 2.0]"},
      // The ends farther apart than Min1 (open) or at most Max1 apart (closed).
      {"open", selecting("open", "4.5, 0, 0, 0"), "[0.0, 0.0, 3.0, 0.0, 4.0, 4.0]"},
  });
  Lines none = kContours;
  none.insert(none.end(),
              {"select_contours_xld (All, S, 'closed', 0, 1, 0, 0)", "close_contours_xld (B, BC)",
               "select_contours_xld (BC, T, 'closed', 0, 1, 0, 0)", "count_obj (S, N)",
               "count_obj (T, M)", "R := [N, M]"});
  expectCases({{"closed: none of the open ones, the closed B", none, "[0, 1]"}});
  Lines bad = kContours;
  bad.push_back("select_contours_xld (All, S, 'area', 0, 1, 0, 0)");
  EXPECT_EQ(programError(bad), 1301);
}

TEST(XldSelection, ClosedCrossesAndGlobalAttributes) {
  expectCases({
      // close_contours_xld, 11.0: the first point appended when the ends differ.
      {"close",
       {"gen_contour_polygon_xld (C, [0, 0, 4], [0, 4, 4])", "close_contours_xld (C, D)",
        "get_contour_xld (D, Rs, Cs)", "test_closed_xld (D, T)", "R := [|Rs|, T]"},
       "[4, 1]"},
      // gen_cross_contour_xld, 11.0: bars of length Size through (Row, Col); Angle 0 gives one
      // along the columns and one along the rows.
      {"cross",
       {"gen_cross_contour_xld (X, 10, 20, 4, 0)", "get_contour_xld (X, Rs, Cs)", "R := [Rs, Cs]"},
       "[10.0, 10.0, 10.0, 8.0, 12.0, 18.0, 22.0, 20.0, 20.0, 20.0]"},
      // segment_contours_xld, 11.0: each piece's 'cont_approx' is -1 for a line.
      {"global attribute",
       {"gen_contour_polygon_xld (C, [0, 0, 5], [0, 5, 5])",
        "segment_contours_xld (C, S, 'lines', 0, 1, 1)", "select_obj (S, P, 1)",
        "get_contour_global_attrib_xld (P, 'cont_approx', A)",
        "query_contour_global_attribs_xld (P, Q)", "R := [A, Q]"},
       "[-1.0, 'cont_approx']"},
  });
  // segment_contours_xld 'lines_circles', 11.0: a whole circle is one circular arc (1); a
  // rectangle's four sides are lines; a line, a half circle and a line are three pieces.
  expectCases({
      {"circle",
       {"gen_circle_contour_xld (C, 100, 100, 40, 0, 6.283185307, 'positive', 1)",
        "segment_contours_xld (C, S, 'lines_circles', 5, 4, 2)", "count_obj (S, N)",
        "get_contour_global_attrib_xld (S, 'cont_approx', A)",
        "fit_circle_contour_xld (S, 'algebraic', -1, 0, 0, 3, 2, Ro, Co, Ra, B, E, O)",
        "R := [N, A, Ro, Co, Ra]"},
       "[1, 1.0, 100.0, 100.0, 40.0]"},
      {"rectangle",
       {"gen_rectangle2_contour_xld (Q, 50, 50, 0, 30, 20)",
        "segment_contours_xld (Q, S, 'lines_circles', 5, 4, 2)", "count_obj (S, R)"},
       "4"},
      {"line, arc, line",
       {"gen_circle_contour_xld (Arc, 20, 60, 20, 3.14159265, 6.28318530, 'negative', 1)",
        "get_contour_xld (Arc, AR, AC)",
        "gen_contour_polygon_xld (U, [20, 20, AR, 20, 20], [0, 40, AC, 80, 120])",
        "segment_contours_xld (U, S, 'lines_circles', 5, 2, 1)", "R := []", "for I := 1 to 3 by 1",
        "select_obj (S, P, I)", "get_contour_global_attrib_xld (P, 'cont_approx', X)",
        "R := [R, X]", "endfor"},
       "[-1.0, 1.0, -1.0]"},
  });
  EXPECT_EQ(programError({"gen_contour_polygon_xld (C, [0, 1], [0, 1])",
                          "get_contour_global_attrib_xld (C, 'cont_approx', A)"}),
            1301);
}

}  // namespace
