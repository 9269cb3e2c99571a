// The XLD set operations and parallel contours through program lines, against boundaries,
// areas and centres worked by hand from their HALCON 11.0 pages (cited beside each table),
// and hostile inputs through the stand-in's API, which must give a result or an error.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "halconcpp/HalconCpp.h"
#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// A: rows and columns 0..4; B: 2..6; C: 1..2 (inside A); H: 1..3 (inside A); D: 10..12
// (apart); E: rows 0..4, columns 4..8 (sharing A's right side); F: 4..8 (meeting A's
// corner). T1: (0,0), (0,4), (4,0); T2: (0,0), (0,4), (4,4), which meet at (2,2). None is
// closed: the operators join the last point to the first.
const Lines kShapes{
    "gen_contour_polygon_xld (A, [0, 0, 4, 4], [0, 4, 4, 0])",
    "gen_contour_polygon_xld (B, [2, 2, 6, 6], [2, 6, 6, 2])",
    "gen_contour_polygon_xld (C, [1, 1, 2, 2], [1, 2, 2, 1])",
    "gen_contour_polygon_xld (H, [1, 1, 3, 3], [1, 3, 3, 1])",
    "gen_contour_polygon_xld (D, [10, 10, 12, 12], [10, 12, 12, 10])",
    "gen_contour_polygon_xld (E, [0, 0, 4, 4], [4, 8, 8, 4])",
    "gen_contour_polygon_xld (F, [4, 4, 8, 8], [4, 8, 8, 4])",
    "gen_contour_polygon_xld (T1, [0, 0, 4], [0, 4, 0])",
    "gen_contour_polygon_xld (T2, [0, 0, 4], [0, 4, 4])",
    "concat_obj (A, H, AH)",
    "gen_empty_obj (Empty)",
};

Lines shapes(std::initializer_list<std::string> lines) {
  Lines all = kShapes;
  all.insert(all.end(), lines);
  return all;
}

// The one result's points, then the area, centre and count of all results.
Lines pointsOf(const std::string& line) {
  return shapes({line, "get_contour_xld (S, Row, Col)", "R := [Row, Col]"});
}
Lines areasOf(const std::string& line) {
  return shapes({line, "area_center_xld (S, Area, Row, Col, Order)", "count_obj (S, N)",
                 "R := [N, Area, Row, Col]"});
}

TEST(XldSets, TheBoundaryRunsCounterClockwiseFromItsTopLeftCorner) {
  // intersection_closed_contours_xld, union2_closed_contours_xld,
  // difference_closed_contours_xld, HALCON 11.0: the boundary of the combined region. Its
  // points are corners only, closed, counter-clockwise on the screen from the top-most,
  // then left-most one.
  expectCases({
      {"A and B overlap in 2..4", pointsOf("intersection_closed_contours_xld (A, B, S)"),
       "[2.0, 4.0, 4.0, 2.0, 2.0, 2.0, 2.0, 4.0, 4.0, 2.0]"},
      {"A or B: eight corners", pointsOf("union2_closed_contours_xld (A, B, S)"),
       "[0.0, 4.0, 4.0, 6.0, 6.0, 2.0, 2.0, 0.0, 0.0, 0.0, 0.0, 2.0, 2.0, 6.0, 6.0, 4.0, 4.0, "
       "0.0]"},
      {"A without B: B's corner cut out", pointsOf("difference_closed_contours_xld (A, B, S)"),
       "[0.0, 4.0, 4.0, 2.0, 2.0, 0.0, 0.0, 0.0, 0.0, 2.0, 2.0, 4.0, 4.0, 0.0]"},
      // The sides of T1 and T2 that are not shared cross at (2,2).
      {"triangles overlap in (0,0), (2,2), (0,4)",
       pointsOf("intersection_closed_contours_xld (T1, T2, S)"),
       "[0.0, 2.0, 0.0, 0.0, 0.0, 2.0, 4.0, 0.0]"},
      {"triangles joined", pointsOf("union2_closed_contours_xld (T1, T2, S)"),
       "[0.0, 4.0, 2.0, 4.0, 0.0, 0.0, 0.0, 0.0, 2.0, 4.0, 4.0, 0.0]"},
      // The shared side's ends are no corners of the union.
      {"touching sides merge", pointsOf("union2_closed_contours_xld (A, E, S)"),
       "[0.0, 4.0, 4.0, 0.0, 0.0, 0.0, 0.0, 8.0, 8.0, 0.0]"},
      {"identical inputs", pointsOf("intersection_closed_contours_xld (A, A, S)"),
       "[0.0, 4.0, 4.0, 0.0, 0.0, 0.0, 0.0, 4.0, 4.0, 0.0]"},
      // Even-odd: H inside A is a hole of the set AH, which B's corner 2..4 meets in 2..3.
      {"a hole of the input", pointsOf("intersection_closed_contours_xld (AH, B, S)"),
       "[2.0, 3.0, 3.0, 4.0, 4.0, 2.0, 2.0, 3.0, 3.0, 2.0, 2.0, 4.0, 4.0, 3.0]"},
  });
}

TEST(XldSets, AreasAndCentresOfTheCombinedRegions) {
  // The four operators, HALCON 11.0, measured with area_center_xld: |A| = |B| = 16, A and B
  // share 4 about (3,3); |T1| = |T2| = 8, sharing 4 about (2/3, 2).
  const double third = 1.0 / 3;
  expectReals({
      {areasOf("intersection_closed_contours_xld (A, B, S)"), {1, 4, 3, 3}},
      // (16 (2,2) + 16 (4,4) - 4 (3,3)) / 28.
      {areasOf("union2_closed_contours_xld (A, B, S)"), {1, 28, 3, 3}},
      // (16 (2,2) - 4 (3,3)) / 12 = 5/3.
      {areasOf("difference_closed_contours_xld (A, B, S)"), {1, 12, 5 * third, 5 * third}},
      // A without B, then B without A: (16 (4,4) - 4 (3,3)) / 12 = 13/3.
      {areasOf("symm_difference_closed_contours_xld (A, B, S)"),
       {2, 12, 12, 5 * third, 13 * third, 5 * third, 13 * third}},
      // (8 (4/3, 4/3) + 8 (4/3, 8/3) - 4 (2/3, 2)) / 12.
      {areasOf("union2_closed_contours_xld (T1, T2, S)"), {1, 12, 14.0 / 9, 2}},
      {areasOf("symm_difference_closed_contours_xld (T1, T2, S)"),
       {2, 4, 4, 2, 2, 2 * third, 10 * third}},
      // A bow tie crossing itself at (2,2) encloses two triangles.
      {{"gen_contour_polygon_xld (Bow, [0, 0, 4, 4], [0, 4, 0, 4])", "gen_empty_obj (Empty)",
        "union2_closed_contours_xld (Bow, Empty, S)", "area_center_xld (S, Area, Row, Col, O)",
        "R := [Area, Row, Col]"},
       {4, 4, 2 * third, 10 * third, 2, 2}},
      {areasOf("difference_closed_contours_xld (A, C, S)"), {2, 16, 1, 2, 1.5, 2, 1.5}},
      {areasOf("intersection_closed_contours_xld (A, C, S)"), {1, 1, 1.5, 1.5}},
      {areasOf("union2_closed_contours_xld (A, D, S)"), {2, 16, 4, 2, 11, 2, 11}},
      {areasOf("union2_closed_contours_xld (A, E, S)"), {1, 32, 2, 4}},
      // Meeting at a corner only: two boundaries.
      {areasOf("union2_closed_contours_xld (A, F, S)"), {2, 16, 16, 2, 6, 2, 6}},
  });
}

TEST(XldSets, BoundariesOfHolesAreMarked) {
  // intersection_closed_contours_xld, HALCON 11.0: each result carries the global attribute
  // 'is_hole', 1 for a hole's boundary.
  const auto holesOf = [](const std::string& line) {
    return shapes({line, "select_obj (S, S1, 1)", "select_obj (S, S2, 2)",
                   "get_contour_global_attrib_xld (S1, 'is_hole', H1)",
                   "get_contour_global_attrib_xld (S2, 'is_hole', H2)", "R := [H1, H2]"});
  };
  expectCases({
      {"A without C", holesOf("difference_closed_contours_xld (A, C, S)"), "[0.0, 1.0]"},
      {"the input's hole kept", holesOf("union2_closed_contours_xld (AH, Empty, S)"), "[0.0, 1.0]"},
      {"the attribute's name",
       shapes({"intersection_closed_contours_xld (A, B, S)",
               "query_contour_global_attribs_xld (S, R)"}),
       "'is_hole'"},
  });
}

TEST(XldSets, NothingEnclosedGivesNoBoundary) {
  // The four operators, HALCON 11.0: no region, no boundary; an empty input is the empty
  // region; a contour of one or two points encloses nothing.
  const char* const lines[] = {
      "intersection_closed_contours_xld (A, D, S)",
      "difference_closed_contours_xld (A, A, S)",
      "symm_difference_closed_contours_xld (A, A, S)",
      "difference_closed_contours_xld (C, A, S)",
      "intersection_closed_contours_xld (A, E, S)",
      "intersection_closed_contours_xld (A, F, S)",
      "intersection_closed_contours_xld (A, Empty, S)",
      "union2_closed_contours_xld (Empty, Empty, S)",
      "gen_contour_polygon_xld (L, [0, 5], [0, 5])\nunion2_closed_contours_xld (L, Empty, S)",
      "gen_contour_polygon_xld (P, 3, 3)\nunion2_closed_contours_xld (P, Empty, S)",
  };
  for (const char* line : lines) {
    Lines all = kShapes;
    for (const std::string& part : split(line)) all.push_back(part);
    all.push_back("count_obj (S, R)");
    expectText(all, "0", line);
  }
  expectCases({{"A with nothing",
                shapes({"union2_closed_contours_xld (A, Empty, S)", "count_obj (S, R)"}), "1"}});
}

TEST(XldSets, PolygonsCombineAsPolygons) {
  // union2_closed_polygons_xld and the other three, HALCON 11.0: polygons in, polygons out.
  const Lines polygons =
      shapes({"gen_polygons_xld (A, PA, 'ramer', 0.5)", "gen_polygons_xld (B, PB, 'ramer', 0.5)"});
  const auto run = [&](const std::string& line) {
    Lines all = polygons;
    all.insert(all.end(), {line, "get_polygon_xld (S, Row, Col, L, Phi)", "get_obj_class (S, K)",
                           "R := [K, Row, Col]"});
    return all;
  };
  expectCases({
      {"union", run("union2_closed_polygons_xld (PA, PB, S)"),
       "['xld_poly', 0.0, 4.0, 4.0, 6.0, 6.0, 2.0, 2.0, 0.0, 0.0, 0.0, 0.0, 2.0, 2.0, 6.0, 6.0, "
       "4.0, 4.0, 0.0]"},
      {"intersection", run("intersection_closed_polygons_xld (PA, PB, S)"),
       "['xld_poly', 2.0, 4.0, 4.0, 2.0, 2.0, 2.0, 2.0, 4.0, 4.0, 2.0]"},
      {"symmetric difference",
       with(polygons, {"symm_difference_closed_polygons_xld (PA, PB, S)", "count_obj (S, R)"}),
       "2"},
  });
  // Each family refuses the other's objects.
  expectErrorCases({{{"union2_closed_contours_xld (PA, B, S)"}, 1101},
                    {{"union2_closed_contours_xld (A, PB, S)"}, 1102},
                    {{"intersection_closed_polygons_xld (A, PB, S)"}, 1101},
                    {{"difference_closed_polygons_xld (PA, B, S)"}, 1102}},
                   polygons);
}

TEST(XldSets, HostileInputsGiveAResultOrAnError) {
  // The operators' pages, HALCON 11.0, bound no coordinate or point count: whatever comes in,
  // the stand-in answers with boundaries or an error, in bounded time.
  using namespace HalconCpp;
  const auto contour = [](const HTuple& rows, const HTuple& cols) {
    HObject c;
    GenContourPolygonXld(&c, rows, cols);
    return c;
  };
  HTuple square = HTuple(0.0).Append(0.0).Append(4.0).Append(4.0);
  HTuple squareCols = HTuple(0.0).Append(4.0).Append(4.0).Append(0.0);
  const HObject a = contour(square, squareCols);
  HTuple nanRows = square;
  nanRows[2] = std::nan("");
  HTuple big = HTuple(0.0).Append(0.0).Append(1e300).Append(1e300);
  HTuple bigCols = HTuple(0.0).Append(1e300).Append(1e300).Append(0.0);
  HTuple shifted, shiftedCols;
  for (Hlong i = 0; i < 4; ++i) {
    shifted.Append(big[i].D() + 5e299);
    shiftedCols.Append(bigCols[i].D() + 5e299);
  }
  // 3000 points on one line, and A's sides with a point every 0.004.
  HTuple lineRows, lineCols, denseRows, denseCols;
  for (int i = 0; i < 3000; ++i) lineRows.Append(double(i)), lineCols.Append(2.0 * i);
  for (int side = 0; side < 4; ++side) {
    for (int i = 0; i < 1000; ++i) {
      const double t = i * 0.004;
      const double r[] = {0, t, 4, 4 - t}, c[] = {t, 4, 4 - t, 0};
      denseRows.Append(r[side]), denseCols.Append(c[side]);
    }
  }
  // Two zigzags of 1100 points crossing each other over a million times.
  HTuple zigRows, zigCols;
  for (int i = 0; i < 1100; ++i) zigRows.Append(i % 2 ? 100.0 : 0.0), zigCols.Append(i * 0.05);
  struct Case {
    const char* what;
    HObject first, second;
    bool unite;   // the union, else the intersection
    Hlong count;  // boundaries; -1: the error 6001
    double firstRow;
  };
  const Case cases[] = {
      // A contour with a point at NaN encloses nothing: the union is A.
      {"NaN", contour(nanRows, squareCols), a, true, 1, 0},
      {"1e300", contour(big, bigCols), contour(shifted, shiftedCols), false, 1, 5e299},
      {"collinear points", contour(lineRows, lineCols), a, true, 1, 0},
      {"dense sides", contour(denseRows, denseCols), contour(square, squareCols), false, 1, 0},
      {"crossing zigzags", contour(zigRows, zigCols), contour(zigCols, zigRows), false, -1, 0},
  };
  for (const Case& c : cases) {
    try {
      HObject out;
      if (c.unite) {
        Union2ClosedContoursXld(c.first, c.second, &out);
      } else {
        IntersectionClosedContoursXld(c.first, c.second, &out);
      }
      ASSERT_EQ(out.CountObj(), c.count) << c.what;
      HTuple rows, cols;
      GetContourXld(out, &rows, &cols);
      EXPECT_NEAR(rows[0].D() / (c.firstRow ? c.firstRow : 1), c.firstRow ? 1 : 0, 1e-9) << c.what;
    } catch (const HException& e) {
      EXPECT_EQ(c.count, -1) << c.what;
      EXPECT_EQ(e.ErrorCode(), 6001) << c.what;
    }
  }
}

TEST(XldSets, ParallelContoursLieDistanceToTheRight) {
  // gen_parallel_contour_xld, HALCON 11.0: 'regression_normal' fits a line about each point
  // and points its normal to the right of the way the contour runs; Distance < 0 goes left.
  const double half = std::sqrt(0.5);
  // The points of the contour through `rows` and `cols` moved by `distance`.
  const auto moved = [](const std::string& rows, const std::string& cols,
                        const std::string& distance, const std::string& out = "[R1, C1]") {
    return Lines{"gen_contour_polygon_xld (C, " + rows + ", " + cols + ")",
                 "gen_parallel_contour_xld (C, P, 'regression_normal', " + distance + ")",
                 "get_contour_xld (P, R1, C1)", "R := " + out};
  };
  expectReals({
      // Along the columns, right is down the image.
      {moved("[10, 10, 10]", "[0, 5, 10]", "2"), {12, 12, 12, 0, 5, 10}},
      {moved("[10, 10, 10]", "[0, 5, 10]", "-2", "R1"), {8, 8, 8}},
      // Down the image, right is towards column 0.
      {moved("[0, 5, 10]", "[3, 3, 3]", "1", "C1"), {2, 2, 2}},
      // A closed square run clockwise on the screen: at each corner the line through its two
      // neighbours is the diagonal, so the corner moves sqrt(2) inwards along the bisector,
      // 1 each way.
      {moved("[0, 0, 4, 4, 0]", "[0, 4, 4, 0, 0]", "sqrt(2)"), {1, 1, 3, 3, 1, 1, 3, 3, 1, 1}},
      // Two points: the line through both; one point: no line, left where it is.
      {moved("[0, 4]", "[0, 4]", "1"), {half, 4 + half, -half, 4 - half}},
      // The first point's neighbours coincide with it: it takes the second's normal.
      {moved("[0, 0, 0]", "[0, 0, 4]", "1"), {1, 1, 1, 0, 0, 4}},
      {moved("3", "5", "1"), {3, 5}},
      // 'gradient' moves along 'edge_direction', the gradient: dark left, bright right, so
      // towards the columns beyond, whatever the edge's way.
      {with(
           gridImage("I", Grid(5, {0, 0, 0, 255, 255, 255})),
           {"edges_sub_pix (I, Edges, 'canny', 1, 20, 40)",
            "gen_parallel_contour_xld (Edges, P, 'gradient', 2)", "get_contour_xld (Edges, R0, C0)",
            "get_contour_xld (P, R1, C1)", "R := [max(abs(R1 - R0)), min(C1 - C0), max(C1 - C0)]"}),
       {0, 2, 2}},
  });
  // 'contour_normal' needs the attribute 'angle', 'gradient' 'edge_direction'.
  const std::string line = "gen_contour_polygon_xld (C, [0, 1], [0, 1])\n";
  expectLineErrors(1301, {line + "gen_parallel_contour_xld (C, P, 'contour_normal', 1)",
                          line + "gen_parallel_contour_xld (C, P, 'gradient', 1)",
                          line + "gen_parallel_contour_xld (C, P, 'normal', 1)"});
  expectText({"gen_empty_obj (E)", "gen_parallel_contour_xld (E, P, 'regression_normal', 1)",
              "count_obj (P, R)"},
             "0", "empty input");
}

}  // namespace
