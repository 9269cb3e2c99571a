// Objects, shapes and text placed anywhere relative to the window: larger than it, offset
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
  Snippet largest({"set_system ('standin_resize_at_dump', [8192, 1])",
                   "set_system ('standin_resize_at_dump', [])"});
  EXPECT_EQ(largest.run(), nullptr);
}

}  // namespace
}  // namespace quorvex::test
