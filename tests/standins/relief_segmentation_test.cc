// Segmentation by regions grown, by the grey-value relief and by partitions, through program
// lines, on small images whose answers are worked by hand from the HALCON 11.0 reference page
// named beside each; where a page leaves a choice the row names the stand-in's
// (docs/standins.md).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standins/engine_support.h"

namespace {

using namespace quorvex::test;

// An image of `height` equal rows of the grey values `row`.
Lines columnsImage(const std::vector<double>& row, int height) {
  return gridImage("Img", Grid(static_cast<std::size_t>(height), row));
}

HTuple run(const Lines& lines, const Lines& more) {
  return runLines(lines + more);
}

TEST(Watersheds, BasinsAndTheLineBetween) {
  // watersheds (11.0): the dark basins of the relief and the watersheds between them.
  // Columns 1 2 3 9 6 5 4: minima at columns 0 and 6; flooding reaches column 3 (9) from
  // both sides, the watershed; each basin holds three columns of 3 rows.
  const Lines relief = columnsImage({1, 2, 3, 9, 6, 5, 4}, 3);
  EXPECT_EQ(text(run(relief, {"watersheds (Img, Basins, Lines)", "area_center (Basins, A, R1, C1)",
                              "area_center (Lines, L, R2, C2)", "R := [A, C1, L, C2]"})),
            "[9, 9, 1.0, 5.0, 3, 3.0]");
  // A constant image is one plateau: one basin, no watershed.
  EXPECT_EQ(text(run(columnsImage({7, 7, 7}, 2),
                     {"watersheds (Img, Basins, Lines)", "area_center (Basins, A, R1, C1)",
                      "area_center (Lines, L, R2, C2)", "R := [A, L]"})),
            "[6, 0]");
}

TEST(Watersheds, ThresholdMergesShallowDams) {
  // watersheds_threshold (11.0): basins merge where the dam W rises less than Threshold
  // above them; here W = 9 over minima 1 and 4, 5 above the higher. The dam's pixels join
  // the lowest basin beside them (the stand-in's choice), so the left basin holds 12.
  const Lines relief = columnsImage({1, 2, 3, 9, 6, 5, 4}, 3);
  const auto basins = [&](const std::string& threshold) {
    return text(run(relief, {"watersheds_threshold (Img, Basins, " + threshold + ")",
                             "area_center (Basins, A, R1, C1)", "R := A"}));
  };
  for (const char* merged : {"6", "5.5"}) EXPECT_EQ(basins(merged), "21") << merged;
  for (const char* kept : {"0", "5"}) EXPECT_EQ(basins(kept), "[12, 9]") << kept;
  EXPECT_EQ(programError(relief + Lines{"watersheds_threshold (Img, Basins, -1)"}), 1301);
}

TEST(LocalExtrema, StrictlyAboveEveryNeighbour) {
  // local_max (11.0): points whose grey value is larger than every neighbour's, in the
  // 'neighborhood' of set_system. A 5 x 5 image of zeros with (2, 2) = 9 and (0, 4) = 5:
  // both; a plateau (2, 2) = (2, 3) = 9 is no maximum; (1, 1) = 3 beside (2, 2) is one only
  // among its 4-neighbours.
  const std::string image = "gen_image_const (Img, 'byte', 5, 5)";
  const auto maxima = [&](const std::string& set) {
    return text(runLines({image, set, "local_max (Img, Out)", "area_center (Out, A, Row, Col)",
                          "R := [A, Row, Col]"}));
  };
  EXPECT_EQ(maxima("set_grayval (Img, [2, 0], [2, 4], [9, 5])"), "[2, 1.0, 3.0]");
  EXPECT_EQ(maxima("set_grayval (Img, [2, 2, 0], [2, 3, 4], [9, 9, 5])"), "[1, 0.0, 4.0]");
  EXPECT_EQ(text(runLines({image, "set_grayval (Img, [2, 1], [2, 1], [9, 3])",
                           "set_system ('neighborhood', 4)", "local_max (Img, Out)",
                           "set_system ('neighborhood', 8)", "area_center (Out, A, Row, Col)",
                           "R := A"})),
            "2");
  // local_min (11.0), the same downwards; a constant image has none.
  EXPECT_EQ(text(runLines({image, "set_grayval (Img, [2, 0], [2, 4], [9, 5])",
                           "local_min (Img, Out)", "area_center (Out, A, Row, Col)", "R := A"})),
            "0");
  EXPECT_EQ(text(runLines({"gen_image_const (Img2, 'byte', 3, 3)", "local_min (Img2, Out)",
                           "area_center (Out, A, Row, Col)", "R := A"})),
            "0");
}

TEST(Regiongrowing, RectanglesJoinedByTheirCentres) {
  // regiongrowing (11.0): the image in Row x Column rectangles, neighbours joined when their
  // centres differ by less than Tolerance (|g1 - g2| < Tolerance, the page's formula), regions
  // of at least MinSize pixels. A 6 x 6 image, columns 0..2 at 10 and 3..5 at 20: 3 x 3
  // rectangles centred on columns 1 and 4.
  const Lines halves = columnsImage({10, 10, 10, 20, 20, 20}, 6);
  const auto grown = [&](const std::string& parameters) {
    return text(run(halves, {"regiongrowing (Img, Out, " + parameters + ")",
                             "area_center (Out, A, Row, Col)", "R := A"}));
  };
  // 10 is not less than 10; "converted to odd values if necessary": 2 acts as 3; one pixel at
  // a time the halves are the same.
  const std::pair<const char*, const char*> rows[] = {
      {"3, 3, 5, 1", "[18, 18]"}, {"3, 3, 11, 1", "36"},      {"3, 3, 10, 1", "[18, 18]"},
      {"3, 3, 5, 19", "[]"},      {"2, 2, 5, 1", "[18, 18]"}, {"1, 1, 5, 1", "[18, 18]"}};
  for (const auto& [parameters, areas] : rows) EXPECT_EQ(grown(parameters), areas) << parameters;
  EXPECT_EQ(programError(halves + Lines{"regiongrowing (Img, Out, 0, 3, 5, 1)"}), 1301);
}

TEST(Partitions, EqualRectanglesAndThinnestCuts) {
  // partition_rectangle (11.0): equal parts, sizes adapted to the region; a split only where
  // the region is at least 1.5 times the size. 10 x 100 in parts of about 30 across: three,
  // cut at columns 33 and 66; 80 across: none.
  const std::string bar = "gen_rectangle1 (Bar, 0, 0, 9, 99)";
  const auto parts = [&](const std::string& line) {
    return text(
        runLines({bar, "gen_rectangle1 (L, 0, 0, 9, 19)", "gen_rectangle1 (Neck, 4, 20, 5, 24)",
                  "gen_rectangle1 (Rt, 0, 25, 9, 44)", "union2 (L, Neck, LN)",
                  "union2 (LN, Rt, Dumbbell)", line, "area_center (Out, A, Row, Col)", "R := A"}));
  };
  EXPECT_EQ(parts("partition_rectangle (Bar, Out, 30, 10)"), "[330, 330, 340]");
  EXPECT_EQ(parts("partition_rectangle (Bar, Out, 80, 10)"), "1000");
  EXPECT_EQ(parts("partition_rectangle (Bar, Out, 50, 5)"), "[250, 250, 250, 250]");
  // partition_dynamic (11.0): cuts of about Distance, each moved within Percent of Distance to
  // the column with fewest pixels. 45 columns in three: nominal cuts at 15 and 30, searched
  // within 7 columns: the neck's columns 20 and 24 are nearest with 2 pixels.
  EXPECT_EQ(parts("partition_dynamic (Dumbbell, Out, 15, 50)"), "[200, 8, 202]");
  // Without search the cuts stay at 15 and 30.
  EXPECT_EQ(parts("partition_dynamic (Dumbbell, Out, 15, 0)"), "[150, 110, 150]");
  // An empty region has no parts; no region, no output.
  EXPECT_EQ(text(runLines({"gen_empty_region (E)", "partition_rectangle (E, Out, 5, 5)",
                           "count_obj (Out, N)", "R := N"})),
            "0");
}

}  // namespace
