// Displaying objects: the active window's part follows the first image by the fitting rule;
// objects, shapes and text are placed anywhere relative to the window: larger than it, offset
// from it, partly or wholly outside it, through parts of any size and position. Every row
// runs as a program; the pixels it probes were worked out by hand, and under the address
// sanitizer every row also shows that nothing outside the buffers is touched.
#include <string>
#include <vector>

#include "display/display_fixture.h"
#include "standins/window_pixels.h"

namespace quorvex::test {
namespace {

const Rgb kBlack{0, 0, 0}, kRed{255, 0, 0}, kMark{200, 200, 200}, kGrey{100, 100, 100},
    kSmall{50, 50, 50};

// A window 100 pixels wide and 80 high with its part at 0, 0, 79, 99, a 300 x 200 image Big
// of 200 in columns 0..9 and 100 elsewhere, and a 50 x 40 image Small of 50.
const std::vector<std::string> kSetting = {"dev_open_window (0, 0, 100, 80, 'black', W)",
                                           "gen_image_const (Big, 'byte', 300, 200)",
                                           "gen_rectangle1 (All, 0, 0, 199, 299)",
                                           "paint_region (All, Big, Big, 100, 'fill')",
                                           "gen_rectangle1 (Mark, 0, 0, 199, 9)",
                                           "paint_region (Mark, Big, Big, 200, 'fill')",
                                           "gen_image_const (Small, 'byte', 50, 40)",
                                           "paint_region (All, Small, Small, 50, 'fill')",
                                           "set_color (W, 'red')"};

struct Probe {
  std::size_t row, column;
  Rgb color;
};

struct Placement {
  std::vector<std::string> lines;
  std::vector<Probe> probes;
};

void checkPlacements(const std::vector<Placement>& rows) {
  for (const Placement& placement : rows) {
    std::vector<std::string> lines = kSetting;
    lines.insert(lines.end(), placement.lines.begin(), placement.lines.end());
    Snippet snippet(lines, {"W"});
    std::string shown;
    for (const std::string& line : placement.lines) shown += line + "; ";
    Record record = snippet.run();
    ASSERT_EQ(record, nullptr) << shown << ": " << describe(record.get());
    const WindowPixels pixels = windowPixels(snippet.longAt("W"));
    ASSERT_EQ(pixels.width * pixels.height, 100u * 80u) << shown;
    for (const Probe& probe : placement.probes) {
      EXPECT_EQ(pixelAt(pixels, probe.row, probe.column), probe.color)
          << shown << " at " << probe.row << ", " << probe.column;
    }
    closeRegisteredWindows();
  }
}

using Placements = DisplayTest;

TEST_F(Placements, ImagesLargerThanOffsetFromOrOutsideThePart) {
  checkPlacements({
      // One to one: the part shows the image's top-left 100 x 80.
      {{"disp_obj (Big, W)"}, {{40, 5, kMark}, {40, 50, kGrey}, {79, 99, kGrey}}},
      // The part fitted to Small (50 x 40, two window pixels an image pixel), Big drawn next.
      {{"concat_obj (Small, Big, Both)", "dev_display (Both)"},
       {{40, 19, kMark}, {40, 20, kGrey}, {79, 99, kGrey}}},
      // The part fitted to Big: three columns and two and a half rows a window pixel.
      {{"concat_obj (Big, Small, Both)", "dev_display (Both)"},
       {{15, 16, kSmall}, {16, 16, kGrey}, {40, 2, kMark}, {40, 3, kGrey}}},
      // Zoomed out twice: window column x shows image column 2x + 1.
      {{"set_part (W, 0, 0, 159, 199)", "disp_obj (Big, W)"},
       {{40, 4, kMark}, {40, 5, kGrey}, {79, 99, kGrey}}},
      // The image starts 50 pixels into the window.
      {{"set_part (W, -50, -50, 29, 49)", "disp_obj (Big, W)"},
       {{10, 10, kBlack}, {60, 55, kMark}, {60, 65, kGrey}, {79, 99, kGrey}}},
      // Only the image's bottom-right 50 x 50 corner is in the part.
      {{"set_part (W, 150, 250, 229, 349)", "disp_obj (Big, W)"},
       {{10, 10, kGrey}, {10, 60, kBlack}, {60, 10, kBlack}}},
      // Zoomed out so far that no window pixel's centre falls on the image.
      {{"set_part (W, 0, 0, 99999, 99999)", "disp_obj (Big, W)"}, {{0, 0, kBlack}}},
      {{"set_part (W, -100000, -100000, 100000, 100000)", "disp_obj (Big, W)"},
       {{0, 0, kBlack}, {40, 50, kBlack}, {79, 99, kBlack}}},
      {{"set_part (W, -100000, -100000, -99921, -99901)", "disp_obj (Big, W)"},
       {{0, 0, kBlack}, {79, 99, kBlack}}},
      {{"set_part (W, 99000, 99000, 100000, 100000)", "disp_obj (Big, W)"}, {{0, 0, kBlack}}},
      // Zoomed in on a fraction of a pixel.
      {{"set_part (W, 10.25, 9.5, 10.75, 10.5)", "disp_obj (Big, W)"},
       {{0, 0, kMark}, {0, 99, kGrey}}},
      // The table is the library's remembered setting, so it is set back for later windows.
      {{"dev_set_lut ('inverse')", "set_part (W, -10, 290, 69, 389)", "disp_obj (Big, W)",
        "dev_set_lut ('default')"},
       {{20, 9, Rgb{155, 155, 155}}, {20, 10, kBlack}, {5, 5, kBlack}}},
      {{"compose3 (Big, Big, Big, Color)", "set_part (W, -10, 290, 69, 389)",
        "disp_obj (Color, W)"},
       {{20, 9, kGrey}, {20, 10, kBlack}}},
  });
}

TEST_F(Placements, RegionsAndContoursLargerThanOrOutsideTheWindow) {
  checkPlacements({
      {{"gen_rectangle1 (Box, -1000, -1000, 1000, 1000)", "disp_obj (Box, W)"},
       {{0, 0, kRed}, {79, 99, kRed}}},
      // A border along the window's edge is no border: it runs on outside.
      {{"set_draw (W, 'margin')", "set_line_width (W, 5)",
        "gen_rectangle1 (Box, -1000, -1000, 1000, 1000)", "disp_obj (Box, W)"},
       {{0, 0, kBlack}, {40, 50, kBlack}}},
      {{"set_draw (W, 'margin')", "set_line_width (W, 3)",
        "gen_rectangle1 (Box, 10, 10, 2000, 2000)", "disp_obj (Box, W)"},
       {{12, 50, kRed}, {13, 50, kBlack}, {50, 12, kRed}, {50, 13, kBlack}}},
      {{"set_part (W, -50, -50, 29, 49)", "gen_rectangle1 (Box, 0, 0, 10, 10)",
        "disp_obj (Box, W)"},
       {{55, 55, kRed}, {49, 55, kBlack}, {61, 61, kBlack}}},
      // 2500.0125 rows and 2000.01 columns a window pixel: the box fills rows 20..59 and
      // columns 25..74.
      {{"set_part (W, -100000, -100000, 100000, 100000)",
        "gen_rectangle1 (Box, -50000, -50000, 50000, 50000)", "disp_obj (Box, W)"},
       {{20, 25, kRed}, {59, 74, kRed}, {19, 25, kBlack}, {20, 24, kBlack}, {60, 74, kBlack}}},
      {{"set_draw (W, 'margin')", "set_part (W, -100000, -100000, 100000, 100000)",
        "gen_rectangle1 (Box, -50000, -50000, 50000, 50000)", "disp_obj (Box, W)"},
       {{20, 50, kRed}, {40, 50, kBlack}}},
      {{"dev_set_shape ('outer_circle')", "gen_rectangle1 (Box, -500, -500, -400, -400)",
        "disp_obj (Box, W)", "dev_set_shape ('original')"},
       {{0, 0, kBlack}}},
      {{"gen_contour_polygon_xld (Line, [-1000000, 1000000], [-1000000, 1000000])",
        "disp_obj (Line, W)"},
       {{40, 40, kRed}, {40, 41, kBlack}}},
      {{"set_line_width (W, 9)", "gen_contour_polygon_xld (Line, [-4, -4], [-50, 500])",
        "disp_obj (Line, W)"},
       {{0, 50, kRed}, {1, 50, kBlack}}},
      {{"set_part (W, 0, 0, 0, 0)", "gen_contour_polygon_xld (Line, [0, 99999], [0, 0])",
        "disp_obj (Line, W)"},
       {{40, 50, kRed}, {0, 0, kBlack}}},
  });
}

TEST_F(Placements, ShapesAndTextOutsideTheWindow) {
  checkPlacements({
      {{"disp_rectangle1 (W, -1000000, -1000000, 1000000, 1000000)"},
       {{0, 0, kRed}, {79, 99, kRed}}},
      {{"disp_circle (W, 40, 50, 1000000)"}, {{0, 0, kRed}, {79, 99, kRed}}},
      {{"set_draw (W, 'margin')", "disp_circle (W, -1000000, -1000000, 10)"}, {{0, 0, kBlack}}},
      {{"set_draw (W, 'margin')", "disp_rectangle2 (W, 40, 50, 0, 1000000, 1000000)"},
       {{0, 0, kBlack}}},
      {{"disp_rectangle2 (W, 40, 50, 0.5, 1000000, 1000000)"}, {{0, 0, kRed}, {79, 99, kRed}}},
      {{"disp_line (W, -1000000, 20, 1000000, 20)"}, {{0, 20, kRed}, {79, 20, kRed}}},
      {{"disp_cross (W, -1000000, -1000000, 1000000, 0)",
        "disp_arrow (W, 5, -1000000, 5, 1000000, 1000000)"},
       {{5, 0, kRed}, {5, 99, kRed}, {6, 0, kBlack}}},
      {{"set_part (W, -100000, -100000, -99921, -99901)", "disp_line (W, -100000, 0, 100000, 0)"},
       {{0, 0, kBlack}}},
      // 12 pixels a character at the default 16 pixel font.
      {{"set_tposition (W, -10, 95)", "write_string (W, 'www')"}, {{0, 0, kBlack}}},
      {{"set_tposition (W, 1000000, -1000000)", "write_string (W, 'abc')"}, {{0, 0, kBlack}}},
      {{"set_tposition (W, 1e300, -1e300)", "write_string (W, 'abc')"}, {{0, 0, kBlack}}},
      {{"set_tposition (W, -1e300, 1e300)", "write_string (W, 'abc')"}, {{0, 0, kBlack}}},
      {{"set_font (W, '-Courier New-2000-')", "set_tposition (W, -1000, -1000)",
        "write_string (W, 'MMMM')"},
       {}},
      {{"set_part (W, -100000, -100000, 100000, 100000)", "set_tposition (W, 0, 0)",
        "write_string (W, 'HHHHHHHHHHHHHHHHHHHHHHHHHHHHHH')"},
       {{0, 0, kBlack}}},
  });
}

// The size a window is resized to just before a dump is checked as a window's size is.
TEST_F(Placements, ImpossibleSizesAtTheNextDumpAreWrongValues) {
  const std::pair<std::string, unsigned> rows[] = {{"[0, 10]", 1302},    {"[10, -5]", 1302},
                                                   {"[8193, 10]", 1302}, {"['a', 10]", 1202},
                                                   {"[10.5, 10]", 1202}, {"[10]", 1402}};
  for (const auto& [size, error] : rows) {
    Snippet snippet({"set_system ('standin_resize_at_dump', " + size + ")"});
    EXPECT_FAILS(snippet.run().release(), ErrorKindEngine, error) << size;
  }
  Snippet::ran({"set_system ('standin_resize_at_dump', [8192, 1])",
                "set_system ('standin_resize_at_dump', [])"});
}

using Rect = std::vector<long>;

// Runs `lines` after opening a 512 x 512 window W, then reads W's part.
Rect partAfter(std::vector<std::string> lines) {
  lines.insert(lines.begin(), "dev_open_window (0, 0, 512, 512, 'black', W)");
  lines.push_back("get_part (W, Row1, Column1, Row2, Column2)");
  const Snippet snippet = Snippet::ran(lines, {"Row1", "Column1", "Row2", "Column2"});
  return snippet.firstOfEach();
}

using PartFitting = DisplayTest;

// The decision table, one row each: the part before the display of a 640 x 480 image, set
// through the library (remembered) or behind its back, and the part after.
TEST_F(PartFitting, TheDecisionTable) {
  const std::string image = "gen_image_const (Image, 'byte', 640, 480)";
  const Rect fitted{0, 0, 479, 639};
  const std::pair<std::string, Rect> rows[] = {
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
            (Rect{10, 10, 489, 649}));
}

// Each row: the objects displayed in a fresh 512 x 512 window, and its part after.
TEST_F(PartFitting, TheFirstImageCountsAndOtherObjectsLeaveThePart) {
  const std::pair<std::vector<std::string>, Rect> rows[] = {
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
            (Rect{0, 0, 479, 639}))
      << "the window lock is free again";
}

TEST_F(PartFitting, ImageShowsPixelForPixelWhenThePartIsTheWindow) {
  const Snippet lines = Snippet::ran(
      {"dev_open_window (0, 0, 64, 48, 'black', W)", "gen_image_const (Image, 'byte', 64, 48)",
       "set_grayval (Image, [0, 47, 20], [0, 63, 33], [10, 250, 128])", "dev_display (Image)",
       "dump_window_image (Dump, W)", "get_grayval (Dump, [0, 47, 20, 1], [0, 63, 33, 1], Values)"},
      {"Values"});
  EXPECT_EQ(lines.longs("Values"),
            (std::vector<long>{10, 10, 10, 250, 250, 250, 128, 128, 128, 0, 0, 0}));
}

}  // namespace
}  // namespace quorvex::test
