// XLD in ARC/INFO generate and DXF files through program lines: what the writers put in, the
// readers against hand-written files (each expectation worked out from the page named beside
// it), and truncated or corrupt files.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

const std::string& folder() {
  static const std::string path = makeTempFolder("quorvex_xld_files_") + "/";
  return path;
}

std::string put(const std::string& name, const std::string& text) {
  std::ofstream(folder() + name, std::ios::binary) << text;
  return "'" + folder() + name + "'";
}

std::string contents(const std::string& name) {
  std::ifstream in(folder() + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A DXF file of groups "code|value|code|value..." in its ENTITIES section.
std::string dxf(const std::string& groups, const std::string& before = "") {
  std::string text = before + "0\nSECTION\n2\nENTITIES\n";
  std::stringstream in(groups);
  for (std::string item; std::getline(in, item, '|');) text += item + "\n";
  return text + "0\nENDSEC\n0\nEOF\n";
}

std::string readDxf(const std::string& name, const std::string& text,
                    const std::string& params = "[], []") {
  return "read_contour_xld_dxf (C, " + put(name, text) + ", " + params + ", S)\n" +
         "get_contour_xld (C, Rows, Cols)";
}

// write_contour_xld_arc_info, write_polygon_xld_arc_info, HALCON 11.0: a block per contour,
// its identifier, its points and END, and END after the last; read_contour_xld_arc_info,
// read_polygon_xld_arc_info give back the points.
TEST(XldFiles, ArcInfoRoundTrip) {
  const std::string name = "'" + folder() + "c.gen'";
  expectTexts({{"gen_contour_polygon_xld (C, [1.5, 2, 3], [4, 5.25, 6])\n"
                "write_contour_xld_arc_info (C, " +
                    name + ")\nread_contour_xld_arc_info (B, " + name +
                    ")\nget_contour_xld (B, Rows, Cols)\nR := [Rows, Cols]",
                "[1.5, 2.0, 3.0, 4.0, 5.25, 6.0]"},
               {"gen_contour_polygon_xld (C, [0, 2, 2], [0, 0, 3])\ngen_polygons_xld (C, P, "
                "'ramer', 0.5)\nwrite_polygon_xld_arc_info (P, " +
                    name + ")\nread_polygon_xld_arc_info (B, " + name +
                    ")\nget_polygon_xld (B, Rows, Cols, L, Phi)\nR := [Rows, Cols]",
                "[0.0, 2.0, 2.0, 0.0, 0.0, 3.0]"}});
  EXPECT_EQ(contents("c.gen"), "1\n0,0\n2,0\n2,3\nEND\nEND\n");
  // Comma or blanks between the numbers; a block without points gives no contour.
  expectTexts({{"read_contour_xld_arc_info (B, " +
                    put("h.gen", "1\n10.5,20\n 11 , 21.5\nEND\n7\nEND\n8\n0 -1\nEND\nEND\n") +
                    ")\ncount_obj (B, N)\nselect_obj (B, B1, 1)\n"
                    "get_contour_xld (B1, Rows, Cols)\nR := [N, Rows, Cols]",
                "[2, 10.5, 11.0, 20.0, 21.5]"}});
}

TEST(XldFiles, CorruptArcInfoFilesRaise) {
  expectLineErrors({
      {"read_contour_xld_arc_info (B, " + put("e.gen", "") + ")", 5202},
      {"read_contour_xld_arc_info (B, " + put("t.gen", "1\n1,2\n") + ")", 5202},
      {"read_contour_xld_arc_info (B, " + put("x.gen", "1\n1,x\nEND\nEND\n") + ")", 5202},
      {"read_contour_xld_arc_info (B, " + put("a.gen", "abc\nEND\n") + ")", 5202},
      {"read_polygon_xld_arc_info (B, " + put("l.gen", std::string(9000, '1')) + ")", 5202},
      {"read_contour_xld_arc_info (B, '" + folder() + "missing.gen')", 5200},
  });
}

// read_contour_xld_dxf, HALCON 11.0 (17.12 page, the 11.0 one is cut short): DXF x is the
// column and y the row; a closed polyline ends on its first point; the status names the
// number of contours. POINT is a contour of one point.
TEST(XldFiles, DxfLinesAndPolylines) {
  const std::string out = "\nR := [Rows, Cols]";
  expectTexts({
      {readDxf("line.dxf", dxf("0|LINE|8|0|10|1|20|2|30|0|11|4|21|6|31|0")) +
           "\ncount_obj (C, N)\nR := [N, Rows, Cols, S]",
       "[1, 2.0, 6.0, 1.0, 4.0, 'Number of contours read: 1']"},
      {readDxf("poly.dxf", dxf("0|POLYLINE|66|1|70|1|0|VERTEX|10|0|20|0|0|VERTEX|10|10|20|0|0|"
                               "VERTEX|10|10|20|5|0|SEQEND")) +
           out,
       "[0.0, 0.0, 5.0, 0.0, 0.0, 10.0, 10.0, 0.0]"},
      {readDxf("lw.dxf", dxf("0|LWPOLYLINE|90|3|70|1|10|0|20|0|10|10|20|0|10|10|20|5")) + out,
       "[0.0, 0.0, 5.0, 0.0, 0.0, 10.0, 10.0, 0.0]"},
      {readDxf("point.dxf", dxf("0|POINT|10|7|20|8")) + out, "[8.0, 7.0]"},
      // write_contour_xld_dxf, HALCON 11.0 (18.11 page): extended data of HALCON, lists of a
      // meaning, "{", a count, the items and "}"; values on each VERTEX, global values and
      // the names on the POLYLINE.
      {readDxf(
           "xdata.dxf",
           dxf("0|POLYLINE|66|1|1001|HALCON|1000|global contour attributes|1002|{|1070|1|1040|"
               "0.5|1002|}|1000|names of contour attributes|1002|{|1070|1|1000|angle|1002|}|"
               "1000|names of global contour attributes|1002|{|1070|1|1000|regr_norm_row|1002|}|"
               "0|VERTEX|10|1|20|2|1001|HALCON|1000|contour attributes|1002|{|1070|1|1040|0.25|"
               "1002|}|0|VERTEX|10|3|20|4|1001|HALCON|1000|contour attributes|1002|{|1070|1|"
               "1040|-1|1002|}|0|SEQEND")) +
           "\nget_contour_attrib_xld (C, 'angle', A)\n"
           "get_contour_global_attrib_xld (C, 'regr_norm_row', G)\nR := [Rows, Cols, A, G]",
       "[2.0, 4.0, 1.0, 3.0, 0.25, -1.0, 0.5]"},
      // An unsupported entity is left out and named in the status.
      {"read_contour_xld_dxf (C, " + put("text.dxf", dxf("0|TEXT|10|1|20|1|1|hello")) +
           ", [], [], S)\ncount_obj (C, N)\nR := [N, S]",
       "[0, 'Number of contours read: 0', 'Unsupported DXF entity ignored: TEXT']"},
  });
}

// read_contour_xld_dxf, HALCON 11.0 (17.12 page): CIRCLE, ARC and ELLIPSE sampled with at
// least 'min_num_points' (default 20) a full turn and no chord farther than
// 'max_approx_error' (default 0.25) from the curve, whichever needs more points. A chord over
// the angle a leaves a circle of radius r by r (1 - cos(a / 2)):
//   quarter arc, r 10: max(ceil(20 / 4), ceil((pi/2) / (2 acos(0.975)))) = max(5, 4) = 5
//   segments; error 0.01: ceil(1.5708 / (2 acos(0.999))) = 18; 100 points: 25.
//   circle r 10: max(20, ceil(2 pi / 0.4479)) = 20 segments, closed: 21 points.
//   bulge 1 (a half turn) over (0, 0)-(10, 0), r 5: max(10, ceil(pi / (2 acos(0.95)))) =
//   max(10, 5) = 10 segments, counter-clockwise in x and y through (row -5, column 5).
TEST(XldFiles, DxfCurvesAreSampled) {
  const std::string arc = dxf("0|ARC|10|0|20|0|40|10|50|0|51|90");
  const std::string ends =
      "\nR := [|Rows|, Rows[0], Cols[0], round(Rows[|Rows| - 1]), "
      "round(Cols[|Cols| - 1])]";
  expectTexts({
      {readDxf("arc.dxf", arc) + ends, "[6, 0.0, 10.0, 10, 0]"},
      {readDxf("arc2.dxf", arc, "'max_approx_error', 0.01") + ends, "[19, 0.0, 10.0, 10, 0]"},
      {readDxf("arc3.dxf", arc, "'min_num_points', 100") + ends, "[26, 0.0, 10.0, 10, 0]"},
      {readDxf("circle.dxf", dxf("0|CIRCLE|10|3|20|4|40|10")) +
           "\nR := [|Rows|, Rows[0], Cols[0], Rows[20], Cols[20]]",
       "[21, 4.0, 13.0, 4.0, 13.0]"},
      // Major axis (10, 0), ratio 0.5: a quarter turn on is (0, 5).
      {readDxf("ellipse.dxf", dxf("0|ELLIPSE|10|0|20|0|11|10|21|0|40|0.5")) +
           "\nR := [|Rows|, round(Rows[5]), round(Cols[5])]",
       "[21, 5, 0]"},
      {readDxf("bulge.dxf", dxf("0|LWPOLYLINE|90|2|70|0|10|0|20|0|42|1|10|10|20|0")) +
           "\nR := [|Rows|, round(Rows[5]), round(Cols[5]), Rows[10], Cols[10]]",
       "[11, -5, 5, 0.0, 10.0]"},
      // INSERT of block B (base (1, 1), a line to (2, 1)) at (10, 20), scale 2, turned 90
      // degrees: (1, 1) -> (10, 20), (2, 1) -> (10, 22).
      {readDxf("insert.dxf", dxf("0|INSERT|2|B|10|10|20|20|41|2|42|2|50|90",
                                 "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n10\n1\n20\n1\n0\nLINE\n"
                                 "10\n1\n20\n1\n11\n2\n21\n1\n0\nENDBLK\n0\nENDSEC\n")) +
           "\nR := [Rows, Cols]",
       "[20.0, 22.0, 10.0, 10.0]"},
  });
}

// read_contour_xld_dxf, HALCON 11.0 (17.12 page): a SPLINE within 'max_approx_error'. The
// quadratic B-spline of (0, 0), (10, 20), (20, 0) is x = 20 t, y = 40 t (1 - t): every point
// lies on y = 2 x - x^2 / 10, and no chord leaves it by more than 0.25, the farthest point of
// a parabola from a chord lying above the chord's middle x.
TEST(XldFiles, DxfSplineWithinTheError) {
  const HTuple r = runLines(split(
      readDxf("spline.dxf", dxf("0|SPLINE|71|2|72|6|73|3|40|0|40|0|40|0|40|1|40|1|40|1|10|0|20|0|"
                                "10|10|20|20|10|20|20|0")) +
      "\nR := [Rows, Cols]"));
  const HalconCpp::Hlong n = r.Length() / 2;
  ASSERT_GE(n, 3);
  const auto curve = [](double x) { return 2 * x - x * x / 10; };
  for (HalconCpp::Hlong i = 0; i < n; ++i) EXPECT_NEAR(r[i].D(), curve(r[n + i].D()), 1e-9);
  EXPECT_NEAR(r[n + n - 1].D(), 20, 1e-9);
  for (HalconCpp::Hlong i = 0; i + 1 < n; ++i) {
    const double x0 = r[n + i].D(), y0 = r[i].D(), x1 = r[n + i + 1].D(), y1 = r[i + 1].D();
    const double xm = (x0 + x1) / 2, ym = curve(xm);
    const double distance =
        std::fabs((x1 - x0) * (y0 - ym) - (x0 - xm) * (y1 - y0)) / std::hypot(x1 - x0, y1 - y0);
    EXPECT_LE(distance, 0.25 + 1e-9) << i;
  }
}

// write_contour_xld_dxf, HALCON 11.0: the geometry and every attribute and global attribute
// go into the file, and read_contour_xld_dxf reads them back ('read_attributes' 'false'
// leaves them out). write_polygon_xld_dxf, read_polygon_xld_dxf: the polygon's points.
TEST(XldFiles, DxfRoundTrips) {
  const std::string f = "'" + folder();
  const std::string edges =
      "gen_image_const (I, 'byte', 16, 16)\ngen_rectangle1 (Box, 5, 5, 10, 10)\n"
      "paint_region (Box, I, I2, 200, 'fill')\nedges_sub_pix (I2, E0, 'canny', 1, 20, 40)\n"
      "regress_contours_xld (E0, E, 'no', 1)\nwrite_contour_xld_dxf (E, " +
      f + "e.dxf')\n";
  const std::string compare =
      "count_obj (E, N1)\ncount_obj (B, N2)\nselect_obj (E, E1, 1)\nselect_obj (B, B1, 1)\n"
      "get_contour_xld (E1, R1, C1)\nget_contour_xld (B1, R2, C2)\n"
      "query_contour_attribs_xld (E1, A1)\nquery_contour_attribs_xld (B1, A2)\n"
      "get_contour_attrib_xld (E1, A1[0], V1)\nget_contour_attrib_xld (B1, A1[0], V2)\n"
      "query_contour_global_attribs_xld (E1, G1)\nquery_contour_global_attribs_xld (B1, G2)\n"
      "get_contour_global_attrib_xld (E1, G1[0], W1)\nget_contour_global_attrib_xld (B1, G1[0], "
      "W2)\n"
      "R := [N1 == N2, R1 == R2, C1 == C2, A1 == A2, V1 == V2, G1 == G2, W1 == W2, |A1| > 0, "
      "|G1| > 0]";
  expectTexts({
      {edges + "read_contour_xld_dxf (B, " + f + "e.dxf', [], [], S)\n" + compare,
       "[1, 1, 1, 1, 1, 1, 1, 1, 1]"},
      {edges + "read_contour_xld_dxf (B, " + f +
           "e.dxf', 'read_attributes', 'false', S)\nselect_obj (B, B1, 1)\n"
           "query_contour_attribs_xld (B1, A)\nquery_contour_global_attribs_xld (B1, G)\n"
           "R := [A, G]",
       "[]"},
      {"gen_contour_polygon_xld (C, [0, 2, 2], [0, 0, 3])\ngen_polygons_xld (C, P, "
       "'ramer', 0.5)\nwrite_polygon_xld_dxf (P, " +
           f + "p.dxf')\nread_polygon_xld_dxf (B, " + f +
           "p.dxf', [], [], S)\nget_polygon_xld (B, Rows, Cols, L, Phi)\nR := [Rows, Cols, S]",
       "[0.0, 2.0, 2.0, 0.0, 0.0, 3.0, 'Number of polygons read: 1']"},
      {"gen_empty_obj (E)\nwrite_contour_xld_dxf (E, " + f + "n.dxf')\nread_contour_xld_dxf (B, " +
           f + "n.dxf', [], [], S)\ncount_obj (B, R)",
       "0"},
  });
}

TEST(XldFiles, CorruptDxfFilesAndParametersRaise) {
  const std::string line = "0|LINE|10|1|20|2|11|3|21|4";
  const auto reading = [](const std::string& name, const std::string& text,
                          const std::string& params = "[], []") {
    return "read_contour_xld_dxf (C, " + put(name, text) + ", " + params + ", S)";
  };
  expectLineErrors({
      {reading("empty.dxf", ""), 5800},
      {reading("noeof.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n"), 5800},
      {reading("cut.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n"), 5800},
      {reading("seqend.dxf", dxf("0|POLYLINE|0|VERTEX|10|1|20|2")), 5800},
      {reading("code.dxf", "abc\nEOF\n"), 5801},
      {reading("value.dxf", dxf("0|LINE|10|x|20|2")), 5801},
      {reading("long.dxf", std::string(9000, '0')), 5801},
      {reading("attribs.dxf", dxf("0|POLYLINE|1001|HALCON|1000|names of contour attributes|1002|{|"
                                  "1070|1|1000|a|1002|}|0|VERTEX|10|1|20|2|0|SEQEND")),
       5802},
      {"read_contour_xld_dxf (C, '" + folder() + "missing.dxf', [], [], S)", 5200},
      {reading("p1.dxf", dxf(line), "'max_tangent_angle', 0.1"), 1302},
      {reading("p2.dxf", dxf(line), "'min_num_points', 0"), 1303},
      {reading("p3.dxf", dxf(line), "'max_approx_error', 0"), 1303},
      {reading("p4.dxf", dxf(line), "'read_attributes', 'yes'"), 1303},
      {reading("p5.dxf", dxf(line), "['min_num_points', 'max_approx_error'], 30"), 1403},
      {"read_polygon_xld_dxf (P, " + put("p6.dxf", dxf(line)) + ", 'read_attributes', 'true', S)",
       1302},
  });
}

}  // namespace
