// Stand-in windows as the display code relies on them: handles, extents, parts and the
// background; and, as program lines meet them, the lines no other suite runs: a window
// parameter refused, a dump to a file, the font list and a region drawn. Images drawn through
// the part, dumps, native windows, monitors and low-level error reporting are checked through
// the library (tests/display, tests/api).
#include <gtest/gtest.h>

#include <filesystem>

#include "standins/engine_support.h"
#include "standins/iconic_test_support.h"
#include "user32/WinUser.h"

extern "C" int winuser_c_monitorinfo_size(void);

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HTuple extentsOf(const TestWindow& window) {
  HTuple row, col, width, height;
  GetWindowExtents(window.handle, &row, &col, &width, &height);
  return row.Append(col).Append(width).Append(height);
}

TEST(Windows, OpenGivesUniqueHandlesTheFullPartAndABlackFramebuffer) {
  TestWindow a(10, 20, 8, 6), b(0, 0, 4, 4);
  EXPECT_GE(a.handle[0].L(), 3600);
  EXPECT_NE(a.handle, b.handle);
  EXPECT_EQ(extentsOf(a), tuple({10, 20, 8, 6}));
  EXPECT_EQ(a.part(), tuple({0, 0, 5, 7}));
  EXPECT_EQ(pixel(a.dump(), 5, 7), tuple({0, 0, 0}));
  HTuple handle;
  EXPECT_EQ(errorOf([&] { OpenWindow(0, 0, 0.4, 4, 0, "visible", "", &handle); }), 1303)
      << "reals round to whole pixels";
}

TEST(Windows, BackgroundShowsFromTheNextClearAndResizingKeepsTheTopLeftAndThePart) {
  TestWindow window(0, 0, 4, 3);
  SetWindowParam(window.handle, "background_color", "#102030");
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({0, 0, 0}));
  ClearWindow(window.handle);
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({16, 32, 48}));
  SetColor(window.handle, "red");
  HObject region;
  GenRectangle1(&region, 0, 0, 2, 3);
  DispObj(region, window.handle);
  SetWindowExtents(window.handle, 5, 6, 6, 2);
  EXPECT_EQ(extentsOf(window), tuple({5, 6, 6, 2}));
  EXPECT_EQ(window.part(), tuple({0, 0, 2, 3}));
  EXPECT_EQ(pixel(window.dump(), 1, 3), tuple({255, 0, 0}));
  EXPECT_EQ(pixel(window.dump(), 1, 5), tuple({16, 32, 48}));
  SetPart(window.handle, 0.5, 1, 10.25, 20);
  HTuple r1, c1, r2, c2;
  GetPart(window.handle, &r1, &c1, &r2, &c2);
  EXPECT_EQ(r1[0].Type() * 10 + c1[0].Type(), eElementTypeDouble * 10 + eElementTypeLong)
      << "the part keeps the kinds of its values";
}

// The header compiled as C (winuser_check.c) lays the monitor record out as C++ does.
TEST(NativeWindows, TheHeaderGivesCTheSameLayout) {
  EXPECT_EQ(winuser_c_monitorinfo_size(), static_cast<int>(sizeof(MONITORINFO)));
}

TEST(WindowFaults, AFailedDrawingDrawsNothing) {
  FaultsCleared cleared;
  TestWindow window(0, 0, 2, 2);
  HObject region;
  GenRectangle1(&region, 0, 0, 1, 1);
  injectFault("DispObj", 9999);
  EXPECT_EQ(errorOf([&] { DispObj(region, window.handle); }), 9999);
  EXPECT_EQ(pixel(window.dump(), 0, 0), tuple({0, 0, 0}));
}

const char* const kOpen = "open_window (0, 0, 64, 48, 0, 'visible', '', W)";

// The error a line raises in a window that is closed again whatever happens.
long errorInWindow(const std::string& line) {
  return programError({kOpen, "try", line, "catch (E)", "close_window (W)", "throw (E)", "endtry"});
}

// An unknown window parameter and dump format are wrong values; 6, 12 and 24 colours only.
TEST(WindowLines, WrongValuesAreRefused) {
  EXPECT_EQ(errorInWindow("set_window_param (W, 'border', 'red')"), 1302);
  EXPECT_EQ(errorInWindow("dump_window (W, 'bmp', 'x')"), 1302);
  EXPECT_NE(errorInWindow("set_colored (W, 5)"), 0);
}

TEST(WindowLines, DumpToAPngFileExtentsHandleAndFonts) {
  const std::string folder = makeTempFolder("quorvex_dump_");
  const std::string stem = folder + "/dumped";
  EXPECT_EQ(text(runLines({kOpen, "dump_window (W, 'png', In1)", "close_window (W)",
                           "file_exists (In1 + '.png', R)"},
                          {HTuple(stem.c_str())})),
            "1");
  EXPECT_TRUE(std::filesystem::exists(stem + ".png"));
  std::filesystem::remove_all(folder);
  EXPECT_EQ(text(runLines({kOpen, "set_window_extents (W, 5, 6, 70, 50)",
                           "get_window_extents (W, Row, Column, Width, Height)",
                           "get_os_window_handle (W, OsHandle, OsDisplay)", "set_colored (W, 12)",
                           "query_font (W, Fonts)", "close_window (W)",
                           "R := [Row, Column, Width, Height, |OsHandle|, |Fonts| > 0]"})),
            "[5, 6, 70, 50, 1, 1]");
}

// disp_region, disp_polygon, disp_ellipse, disp_arc and disp_channel, 11.0: the region in the
// current colour; a polyline through the points (not closed); the ellipse filled or as its
// outline; the arc from its begin point round the centre through Angle, anticlockwise; the
// named channel as grey values. Each case: the drawing lines after a white colour, the points
// and the red channel of the window there.
TEST(WindowLines, RegionsCurvesPolygonsAndChannels) {
  const struct {
    const char* what;
    const char* drawing;
    const char* rows;
    const char* cols;
    const char* expected;
  } cases[] = {
      {"a filled region: inside, outside",
       "set_draw (W, 'fill')\ngen_rectangle1 (Box, 10, 10, 20, 20)\ndisp_region (Box, W)",
       "[15, 30]", "[15, 30]", "[255, 0]"},
      {"polygon (2,2)-(2,10)-(10,10): on its sides, not on the closing one",
       "disp_polygon (W, [2, 2, 10], [2, 10, 10])", "[2, 6, 6]", "[6, 10, 6]", "[255, 255, 0]"},
      {"filled ellipse about (10,10), radii 5 along the columns and 3 along the rows",
       "set_draw (W, 'fill')\ndisp_ellipse (W, 10, 10, 0, 5, 3)", "[10, 12, 10, 14]",
       "[14, 10, 16, 10]", "[255, 255, 0, 0]"},
      {"ellipse outline: its ends, not its centre",
       "set_draw (W, 'margin')\ndisp_ellipse (W, 10, 10, 0, 5, 3)", "[10, 10, 7]", "[15, 10, 10]",
       "[255, 0, 255]"},
      {"quarter arc from (10,15) about (10,10): up to (5,10), not down to (15,10)",
       "disp_arc (W, 10, 10, 1.5707963, 10, 15)", "[10, 5, 15]", "[15, 10, 10]", "[255, 255, 0]"},
      {"the second channel of a (0, 200, 0) image as grey values",
       "gen_image_const (R0, 'byte', 64, 64)\ngen_image_proto (R0, G0, 200)\n"
       "compose3 (R0, G0, R0, I)\ndisp_channel (I, W, 2)",
       "[0]", "[0]", "200"},
  };
  for (const auto& c : cases) {
    const Lines lines = with(
        with({kOpen, "set_color (W, 'white')"}, split(c.drawing)),
        {"dump_window_image (Dump, W)", "access_channel (Dump, Red, 1)",
         std::string("get_grayval (Red, ") + c.rows + ", " + c.cols + ", R)", "close_window (W)"});
    expectText(lines, c.expected, c.what);
  }
}

}  // namespace
