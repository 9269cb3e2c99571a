// Displaying objects: the active window's part follows the first image by the fitting rule,
// and what is displayed reaches the window.
#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Part = std::vector<long>;

class PartFitting : public DisplayTest {
 protected:
  // Runs `lines` after opening a 512 x 512 window W, then reads W's part.
  Part partAfter(std::vector<std::string> lines) {
    lines.insert(lines.begin(), "dev_open_window (0, 0, 512, 512, 'black', W)");
    lines.push_back("get_part (W, Row1, Column1, Row2, Column2)");
    Snippet snippet(lines, {"Row1", "Column1", "Row2", "Column2"});
    Record record = snippet.run();
    EXPECT_EQ(record, nullptr) << describe(record.get());
    return {snippet.longAt("Row1"), snippet.longAt("Column1"), snippet.longAt("Row2"),
            snippet.longAt("Column2")};
  }
};

const std::string kImage640 = "gen_image_const (Image, 'byte', 640, 480)";

TEST_F(PartFitting, FreshWindowFitsToTheImage) {
  EXPECT_EQ(partAfter({}), (Part{0, 0, 511, 511}));
  EXPECT_EQ(partAfter({kImage640, "dev_display (Image)"}), (Part{0, 0, 479, 639}));
}

TEST_F(PartFitting, SameImageAgainChangesNothing) {
  EXPECT_EQ(partAfter({kImage640, "dev_display (Image)", "dev_display (Image)"}),
            (Part{0, 0, 479, 639}));
}

TEST_F(PartFitting, PannedPartOfTheImagesSizeSetThroughTheLibrarySurvives) {
  EXPECT_EQ(partAfter({kImage640, "dev_set_part (100, 100, 579, 739)", "dev_display (Image)"}),
            (Part{100, 100, 579, 739}));
}

TEST_F(PartFitting, PartOfAnotherSizeIsReset) {
  EXPECT_EQ(partAfter({kImage640, "dev_set_part (0, 0, 99, 99)", "dev_display (Image)"}),
            (Part{0, 0, 479, 639}));
}

TEST_F(PartFitting, PartSetBehindTheLibrarysBackSurvivesOnlyAsTheFullImage) {
  EXPECT_EQ(partAfter({kImage640, "set_part (W, 100, 100, 579, 739)", "dev_display (Image)"}),
            (Part{0, 0, 479, 639}));
  EXPECT_EQ(partAfter({kImage640, "set_part (W, 0, 0, 479, 639)", "dev_display (Image)"}),
            (Part{0, 0, 479, 639}));
}

TEST_F(PartFitting, OnlyTheFirstImageCounts) {
  EXPECT_EQ(partAfter({"gen_rectangle1 (Box, 10, 10, 20, 20)", kImage640,
                       "gen_image_const (Small, 'byte', 320, 240)", "concat_obj (Box, Image, Two)",
                       "concat_obj (Two, Small, Three)", "dev_display (Three)"}),
            (Part{0, 0, 479, 639}));
}

TEST_F(PartFitting, RegionsAndContoursLeaveThePartAlone) {
  EXPECT_EQ(partAfter({"gen_rectangle1 (Box, 10, 10, 700, 900)", "dev_display (Box)",
                       "gen_contour_polygon_xld (Line, [0, 600], [0, 800])", "dev_display (Line)"}),
            (Part{0, 0, 511, 511}));
}

TEST_F(PartFitting, OnePixelImage) {
  EXPECT_EQ(partAfter({"gen_image_const (Dot, 'byte', 1, 1)", "dev_display (Dot)"}),
            (Part{0, 0, 0, 0}));
}

TEST_F(PartFitting, EmptyObjectTupleIsNoImage) {
  EXPECT_EQ(partAfter({"gen_empty_obj (Nothing)", "dev_display (Nothing)"}),
            (Part{0, 0, 511, 511}));
}

TEST_F(PartFitting, FailedDisplayReportsItsNumberAndLeavesTheWindowUsable) {
  Snippet failing({"dev_open_window (0, 0, 512, 512, 'black', W)", kImage640,
                   "set_system ('standin_fail', ['DispObj', 5555])", "dev_display (Image)"});
  Record record = failing.run();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->errorCode, 5555);
  EXPECT_STREQ(record->progLineName, "dev_display");
  EXPECT_EQ(record->progLineNum, 4);
  EXPECT_EQ(partAfter({kImage640, "dev_display (Image)"}), (Part{0, 0, 479, 639}))
      << "the window lock is free again";
}

TEST_F(PartFitting, ImageShowsPixelForPixelWhenThePartIsTheWindow) {
  Snippet lines(
      {"dev_open_window (0, 0, 64, 48, 'black', W)", "gen_image_const (Image, 'byte', 64, 48)",
       "set_grayval (Image, [0, 47, 20], [0, 63, 33], [10, 250, 128])", "dev_display (Image)",
       "dump_window_image (Dump, W)", "get_grayval (Dump, [0, 47, 20, 1], [0, 63, 33, 1], Values)"},
      {"Values"});
  ASSERT_EQ(lines.run(), nullptr);
  // Three channels per point.
  EXPECT_EQ(lines.longs("Values"),
            (std::vector<long>{10, 10, 10, 250, 250, 250, 128, 128, 128, 0, 0, 0}));
}

}  // namespace
}  // namespace quorvex::test
