// XLD polygons through program lines: the Ramer approximation, the corners and sides read
// back, the contours split at the corners, and polygons transformed, filled and drawn, against
// values worked by hand from their HALCON 11.0 pages (cited beside each table).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

constexpr double kHalfPi = 1.57079632679489661923;

// P: (0,0), (0.4,1), (0,2), (0,4), (4,4). Its chord r = c is farthest (4 / sqrt 2) from
// (0,4); from the chord (0,0)-(0,4), (0.4,1) is 0.4 away.
const std::string kP = "gen_contour_polygon_xld (C, [0, 0.4, 0, 0, 4], [0, 1, 2, 4, 4])";

Lines with(std::initializer_list<std::string> lines) {
  Lines all{kP};
  all.insert(all.end(), lines);
  return all;
}

TEST(XldPolygons, PolygonsAreObjectsOfClassXldPoly) {
  expectCases({
      {"class", with({"gen_polygons_xld (C, P, 'ramer', 1)", "get_obj_class (P, R)"}),
       "'xld_poly'"},
      {"mixed with contours",
       with({"gen_polygons_xld (C, P, 'ramer', 1)", "concat_obj (C, P, Both)",
             "select_obj (Both, S, 2)", "concat_obj (Both, S, All)", "get_obj_class (All, R)"}),
       "['xld_cont', 'xld_poly', 'xld_poly']"},
      {"one polygon a contour",
       {"gen_rectangle2_contour_xld (C, [5, 6], 5, 0, 2, 1)", "gen_polygons_xld (C, P, 'ramer', 1)",
        "count_obj (P, R)"},
       "2"},
      {"empty input",
       {"gen_empty_obj (E)", "gen_polygons_xld (E, P, 'ramer', 1)", "count_obj (P, R)"},
       "0"},
  });
}

TEST(XldPolygons, RamerKeepsThePolygonWithinAlpha) {
  // gen_polygons_xld, HALCON 11.0: the polygon is at most Alpha from the contour.
  expectCases({
      {"split at the farthest point only",
       with({"gen_polygons_xld (C, P, 'ramer', 1)", "get_polygon_xld (P, Row, Col, L, Phi)",
             "R := [Row, Col]"}),
       "[0.0, 0.0, 4.0, 0.0, 4.0, 4.0]"},
      // Below 0.4 the bump at (0.4,1) is a corner; (0,2) is 0.8 / sqrt(9.16) = 0.26 from the
      // chord (0.4,1)-(0,4).
      {"smaller Alpha, more corners",
       with({"gen_polygons_xld (C, P, 'ramer', 0.3)", "get_polygon_xld (P, Row, Col, L, Phi)",
             "R := [Row, Col]"}),
       "[0.0, 0.4, 0.0, 4.0, 0.0, 1.0, 4.0, 4.0]"},
      // (1,2) is exactly 1 from the chord (0,0)-(0,4): within Alpha 1, beyond 0.99.
      {"a distance of Alpha is within",
       {"gen_contour_polygon_xld (C, [0, 1, 0], [0, 2, 4])", "gen_polygons_xld (C, P, 'ramer', 1)",
        "gen_polygons_xld (C, Q, 'ramer', 0.99)", "get_polygon_xld (P, RP, CP, L, Phi)",
        "get_polygon_xld (Q, RQ, CQ, L2, Phi2)", "R := [|RP|, |RQ|]"},
       "[2, 3]"},
      // A closed contour is cut at the point farthest from its start, (4,4), and each half
      // approximated: the square's corners.
      {"closed contour",
       {"gen_contour_polygon_xld (C, [0, 0, 0, 2, 4, 4, 4, 2, 0], [0, 2, 4, 4, 4, 2, 0, 0, 0])",
        "gen_polygons_xld (C, P, 'ramer', 1)", "get_polygon_xld (P, Row, Col, L, Phi)",
        "R := [Row, Col]"},
       "[0.0, 0.0, 4.0, 4.0, 0.0, 0.0, 4.0, 4.0, 0.0, 0.0]"},
      {"one point",
       {"gen_contour_polygon_xld (C, 3, 2)", "gen_polygons_xld (C, P, 'ramer', 1)",
        "get_polygon_xld (P, Row, Col, L, Phi)", "get_lines_xld (P, R1, C1, R2, C2, L2, P2)",
        "R := [Row, Col, L, |R1|]"},
       "[3.0, 2.0, 0.0, 0]"},
  });
}

TEST(XldPolygons, CornersAndSides) {
  // get_polygon_xld and get_lines_xld, HALCON 11.0: side i joins points i and i+1. The
  // corners (0,0), (0,4), (4,4): a side along the columns, then one down the image, whose
  // angle, counter-clockwise on the screen, is -pi/2.
  expectReals({
      {with({"gen_polygons_xld (C, P, 'ramer', 1)", "get_polygon_xld (P, Row, Col, L, Phi)",
             "R := [L, Phi]"}),
       {4, 4, 0, 0, -kHalfPi, 0}},
      {with({"gen_polygons_xld (C, P, 'ramer', 1)", "get_lines_xld (P, R1, C1, R2, C2, L, Phi)",
             "R := [R1, C1, R2, C2, L, Phi]"}),
       {0, 0, 0, 4, 0, 4, 4, 4, 4, 4, 0, -kHalfPi}},
  });
}

TEST(XldPolygons, SplitTransformFillAndDraw) {
  expectCases({
      // split_contours_xld, HALCON 11.0, 'polygon': the contour cut at the corners 0, 3, 4.
      {"split at the corners",
       with({"gen_polygons_xld (C, P, 'ramer', 1)", "split_contours_xld (P, S, 'polygon', 1, 5)",
             "select_obj (S, S1, 1)", "get_contour_xld (S1, R1, C1)", "select_obj (S, S2, 2)",
             "get_contour_xld (S2, R2, C2)", "count_obj (S, N)", "R := [N, R1, R2, C2]"}),
       "[2, 0.0, 0.4, 0.0, 0.0, 0.0, 4.0, 4.0, 4.0]"},
      // affine_trans_polygon_xld, HALCON 11.0: the corners moved by the matrix.
      {"translated",
       with({"gen_polygons_xld (C, P, 'ramer', 1)",
             "affine_trans_polygon_xld (P, T, [1, 0, 10, 0, 1, 20])",
             "get_polygon_xld (T, Row, Col, L, Phi)", "R := [Row, Col]"}),
       "[10.0, 10.0, 14.0, 20.0, 24.0, 24.0]"},
      // gen_region_polygon_xld, HALCON 11.0: the triangle (0,0), (0,4), (4,4) filled holds
      // 5 + 4 + 3 + 2 + 1 pixels; its outline, three lines of 5 sharing the corners, 12.
      {"filled and margin",
       with({"gen_polygons_xld (C, P, 'ramer', 1)", "gen_region_polygon_xld (P, F, 'filled')",
             "gen_region_polygon_xld (P, M, 'margin')", "concat_obj (F, M, FM)",
             "area_center (FM, A, Row, Col)", "R := A"}),
       "[15, 12]"},
      // disp_xld, HALCON 11.0: polygons are drawn as their sides; the dump is RGB.
      {"drawn",
       {"open_window (0, 0, 32, 32, 0, 'invisible', '', W)",
        "gen_contour_polygon_xld (C, [10, 10], [2, 20])", "gen_polygons_xld (C, P, 'ramer', 1)",
        "set_color (W, 'white')", "disp_xld (P, W)", "dump_window_image (Image, W)",
        "get_grayval (Image, [10, 11], [10, 10], R)"},
       "[255, 255, 255, 0, 0, 0]"},
  });
}

TEST(XldPolygons, Errors) {
  // gen_polygons_xld, HALCON 11.0: Type 'ramer', Alpha > 0. A polygon is no contour and a
  // contour no polygon (1101); a transformed polygon has lost its contour.
  const auto program = [](std::initializer_list<std::string> lines) { return with(lines); };
  expectErrorCases(
      {{program({"gen_polygons_xld (C, P, 'sato', 1)"}), 1301},
       {program({"gen_polygons_xld (C, P, 'ramer', 0)"}), 1302},
       {program({"gen_polygons_xld (C, P, 'ramer', 1)", "get_contour_xld (P, Row, Col)"}), 1101},
       {program({"get_polygon_xld (C, Row, Col, L, Phi)"}), 1101},
       {program(
            {"gen_polygons_xld (C, P, 'ramer', 1)", "split_contours_xld (P, S, 'corners', 1, 5)"}),
        1301},
       {program({"gen_polygons_xld (C, P, 'ramer', 1)",
                 "affine_trans_polygon_xld (P, T, [1, 0, 1, 0, 1, 0])",
                 "split_contours_xld (T, S, 'polygon', 1, 5)"}),
        1101},
       {program({"gen_polygons_xld (C, P, 'ramer', 1)", "gen_region_polygon_xld (P, F, 'hull')"}),
        1301}});
}

TEST(XldPolygons, PaintXld) {
  // paint_xld, HALCON 11.0: open contours are closed and filled, the rim anti-aliased. Each
  // pixel becomes (1 - a) old + a Grayval for the share a of it covered (our reading of the
  // anti-aliasing): the rectangle rows -0.5..1.5, columns -0.5..1 covers column 1 half.
  const auto painted = [](const char* type, const char* xld, const char* grayval) {
    return Lines{std::string("gen_image_const (I, '") + type + "', 4, 4)", xld,
                 std::string("paint_xld (X, I, P, ") + grayval + ")",
                 "get_grayval (P, [0, 0, 0, 1, 2], [0, 1, 2, 0, 0], R)"};
  };
  const char* half = "gen_contour_polygon_xld (X, [-0.5, -0.5, 1.5, 1.5], [-0.5, 1, 1, -0.5])";
  expectCases({
      {"byte rounds", painted("byte", half, "255"), "[255, 128, 0, 255, 0]"},
      {"real keeps the share", painted("real", half, "255"), "[255.0, 127.5, 0.0, 255.0, 0.0]"},
      {"far points clipped to the image",
       painted("byte",
               "gen_contour_polygon_xld (X, [-0.5, -0.5, 0.5, 0.5], [-0.5, 1e30, 1e30, -0.5])",
               "255"),
       "[255, 255, 255, 0, 0]"},
      {"one value per object",
       {"gen_image_const (I, 'byte', 4, 4)",
        "gen_contour_polygon_xld (A, [-0.5, -0.5, 0.5, 0.5], [-0.5, 0.5, 0.5, -0.5])",
        "gen_contour_polygon_xld (B, [1.5, 1.5, 2.5, 2.5], [1.5, 2.5, 2.5, 1.5])",
        "gen_polygons_xld (B, PB, 'ramer', 0.1)", "concat_obj (A, PB, X)",
        "paint_xld (X, I, P, [100, 200])", "get_grayval (P, [0, 2, 1], [0, 2, 1], R)"},
       "[100, 200, 0]"},
  });
  expectErrorCases({{painted("byte", half, "[1, 2]"), 1401},
                    {painted("byte", "gen_circle (X, 1, 1, 1)", "255"), 1101}});
}

}  // namespace
