// Displaying objects: the active window's part follows the first image by the fitting rule,
// and what is displayed reaches the window.
#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Part = std::vector<long>;

// Runs `lines` after opening a 512 x 512 window W, then reads W's part.
Part partAfter(std::vector<std::string> lines) {
  lines.insert(lines.begin(), "dev_open_window (0, 0, 512, 512, 'black', W)");
  lines.push_back("get_part (W, Row1, Column1, Row2, Column2)");
  Snippet snippet(lines, {"Row1", "Column1", "Row2", "Column2"});
  Record record = snippet.run();
  EXPECT_EQ(record, nullptr) << describe(record.get());
  return snippet.firstOfEach();
}

using PartFitting = DisplayTest;

// The decision table, one row each: the part before the display of a 640 x 480 image, set
// through the library (remembered) or behind its back, and the part after.
TEST_F(PartFitting, TheDecisionTable) {
  const std::string image = "gen_image_const (Image, 'byte', 640, 480)";
  const Part fitted{0, 0, 479, 639};
  const std::pair<std::string, Part> rows[] = {
      {"* fresh window: remembered 512 x 512, other size", fitted},
      {"dev_display (Image)", fitted},                              // remembered, same size: kept
      {"dev_set_part (100, 100, 579, 739)", {100, 100, 579, 739}},  // remembered, same size
      {"dev_set_part (0, 0, 99, 99)", fitted},                      // remembered, other size
      {"set_part (W, 100, 100, 579, 739)", fitted},  // not remembered, off the origin
      {"set_part (W, 0, 100, 479, 739)", fitted},    // not remembered, column off the origin
      {"set_part (W, 100, 0, 579, 639)", fitted},    // not remembered, row off the origin
      {"set_part (W, 0, 0, 479, 639)", fitted},      // not remembered, at the origin, same size
      {"set_part (W, 0, 0, 99, 99)", fitted},        // not remembered, at the origin, other size
      {"set_part (W, 0, 0, 478, 639)", fitted}};     // one row short
  for (const auto& [before, expected] : rows) {
    EXPECT_EQ(partAfter({image, before, "dev_display (Image)"}), expected) << before;
  }
  // A part kept as it was stays kept: a second display after an unremembered full-image part.
  EXPECT_EQ(partAfter({image, "set_part (W, 0, 0, 479, 639)", "dev_display (Image)",
                       "dev_set_part (10, 10, 489, 649)", "dev_display (Image)"}),
            (Part{10, 10, 489, 649}));
}

// Each row: the objects displayed in a fresh 512 x 512 window, and its part after.
TEST_F(PartFitting, TheFirstImageCountsAndOtherObjectsLeaveThePart) {
  const std::pair<std::vector<std::string>, Part> rows[] = {
      {{"gen_rectangle1 (Box, 10, 10, 20, 20)", "gen_image_const (Image, 'byte', 640, 480)",
        "gen_image_const (Small, 'byte', 320, 240)", "concat_obj (Box, Image, Two)",
        "concat_obj (Two, Small, Three)", "dev_display (Three)"},
       {0, 0, 479, 639}},
      {{"gen_rectangle1 (Box, 10, 10, 700, 900)", "dev_display (Box)",
        "gen_contour_polygon_xld (Line, [0, 600], [0, 800])", "dev_display (Line)"},
       {0, 0, 511, 511}},
      {{"gen_image_const (Dot, 'byte', 1, 1)", "dev_display (Dot)"}, {0, 0, 0, 0}},
      {{"gen_empty_obj (Nothing)", "dev_display (Nothing)"}, {0, 0, 511, 511}}};
  for (const auto& [lines, expected] : rows) EXPECT_EQ(partAfter(lines), expected) << lines[0];
}

TEST_F(PartFitting, FailedDisplayReportsItsNumberAndLeavesTheWindowUsable) {
  Snippet failing({"dev_open_window (0, 0, 512, 512, 'black', W)",
                   "gen_image_const (Image, 'byte', 640, 480)",
                   "set_system ('standin_fail', ['DispObj', 5555])", "dev_display (Image)"});
  Record record = failing.run();
  EXPECT_STREQ(record ? record->progLineName : "", "dev_display");
  EXPECT_FAILS(record.release(), ErrorKindEngine, 5555);
  EXPECT_EQ(partAfter({"gen_image_const (Image, 'byte', 640, 480)", "dev_display (Image)"}),
            (Part{0, 0, 479, 639}))
      << "the window lock is free again";
}

TEST_F(PartFitting, ImageShowsPixelForPixelWhenThePartIsTheWindow) {
  Snippet lines(
      {"dev_open_window (0, 0, 64, 48, 'black', W)", "gen_image_const (Image, 'byte', 64, 48)",
       "set_grayval (Image, [0, 47, 20], [0, 63, 33], [10, 250, 128])", "dev_display (Image)",
       "dump_window_image (Dump, W)", "get_grayval (Dump, [0, 47, 20, 1], [0, 63, 33, 1], Values)"},
      {"Values"});
  ASSERT_EQ(lines.run(), nullptr);
  EXPECT_EQ(lines.longs("Values"),
            (std::vector<long>{10, 10, 10, 250, 250, 250, 128, 128, 128, 0, 0, 0}));
}

}  // namespace
}  // namespace quorvex::test
