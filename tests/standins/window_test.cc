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

TEST(WindowLines, AnUnknownParameterIsRefused) {
  EXPECT_EQ(programError({kOpen, "try", "set_window_param (W, 'border', 'red')", "catch (E)",
                          "close_window (W)", "throw (E)", "endtry"}),
            1302);
}

TEST(WindowLines, DumpToAPngFile) {
  const std::string folder = makeTempFolder("quorvex_dump_");
  const std::string stem = folder + "/dumped";
  EXPECT_EQ(runLines({kOpen, "dump_window (W, 'png', In1)", "close_window (W)",
                      "file_exists (In1 + '.png', R)"},
                     {HTuple(stem.c_str())})[0]
                .L(),
            1);
  EXPECT_TRUE(std::filesystem::exists(stem + ".png"));
  EXPECT_EQ(programError({kOpen, "try", "dump_window (W, 'bmp', 'x')", "catch (E)",
                          "close_window (W)", "throw (E)", "endtry"}),
            1302);
  std::filesystem::remove_all(folder);
}

TEST(WindowLines, TheFontList) {
  EXPECT_GT(runLines({kOpen, "query_font (W, Fonts)", "close_window (W)", "R := |Fonts|"})[0].L(),
            0);
}

TEST(WindowLines, ARegionDrawnInTheCurrentColour) {
  const HTuple grays = runLines({kOpen, "set_color (W, 'white')", "set_draw (W, 'fill')",
                                 "gen_rectangle1 (Box, 10, 10, 20, 20)", "disp_region (Box, W)",
                                 "dump_window_image (Dump, W)", "access_channel (Dump, Red, 1)",
                                 "get_grayval (Red, [15, 30], [15, 30], R)", "close_window (W)"});
  ASSERT_EQ(grays.Length(), 2);
  EXPECT_EQ(grays[0].L(), 255) << "inside the region";
  EXPECT_EQ(grays[1].L(), 0) << "outside it";
}

TEST(WindowLines, ExtentsHandleAndColouredMode) {
  const HTuple values =
      runLines({kOpen, "set_window_extents (W, 5, 6, 70, 50)",
                "get_window_extents (W, Row, Column, Width, Height)",
                "get_os_window_handle (W, OsHandle, OsDisplay)", "set_colored (W, 12)",
                "close_window (W)", "R := [Row, Column, Width, Height, |OsHandle|]"});
  EXPECT_EQ(values.ToString().str(), "[5, 6, 70, 50, 1]");
  EXPECT_NE(programError({kOpen, "try", "set_colored (W, 5)", "catch (E)", "close_window (W)",
                          "throw (E)", "endtry"}),
            0)
      << "6, 12 and 24 colours only";
}

// The red channel of the window at the points, after the drawing lines, white on black.
HTuple drawnAt(const Lines& drawing, const char* rows, const char* cols) {
  Lines lines{kOpen, "set_color (W, 'white')"};
  lines.insert(lines.end(), drawing.begin(), drawing.end());
  lines.insert(lines.end(), {"dump_window_image (Dump, W)", "access_channel (Dump, Red, 1)",
                             std::string("get_grayval (Red, ") + rows + ", " + cols + ", R)",
                             "close_window (W)"});
  return runLines(lines);
}

// disp_polygon, disp_ellipse, disp_arc and disp_channel, 11.0: a polyline through the points
// (not closed); the ellipse filled or as its outline; the arc from its begin point round the
// centre through Angle, anticlockwise; the named channel as grey values.
TEST(WindowLines, CurvesPolygonsAndChannels) {
  const struct {
    const char* what;
    Lines drawing;
    const char* rows;
    const char* cols;
    const char* expected;
  } cases[] = {
      {"polygon (2,2)-(2,10)-(10,10): on its sides, not on the closing one",
       {"disp_polygon (W, [2, 2, 10], [2, 10, 10])"},
       "[2, 6, 6]",
       "[6, 10, 6]",
       "[255, 255, 0]"},
      {"filled ellipse about (10,10), radii 5 along the columns and 3 along the rows",
       {"set_draw (W, 'fill')", "disp_ellipse (W, 10, 10, 0, 5, 3)"},
       "[10, 12, 10, 14]",
       "[14, 10, 16, 10]",
       "[255, 255, 0, 0]"},
      {"ellipse outline: its ends, not its centre",
       {"set_draw (W, 'margin')", "disp_ellipse (W, 10, 10, 0, 5, 3)"},
       "[10, 10, 7]",
       "[15, 10, 10]",
       "[255, 0, 255]"},
      {"quarter arc from (10,15) about (10,10): up to (5,10), not down to (15,10)",
       {"disp_arc (W, 10, 10, 1.5707963, 10, 15)"},
       "[10, 5, 15]",
       "[15, 10, 10]",
       "[255, 255, 0]"},
      {"the second channel of a (0, 200, 0) image as grey values",
       {"gen_image_const (R0, 'byte', 64, 64)", "gen_image_proto (R0, G0, 200)",
        "compose3 (R0, G0, R0, I)", "disp_channel (I, W, 2)"},
       "[0]",
       "[0]",
       "200"},
  };
  for (const auto& c : cases) {
    try {
      EXPECT_EQ(text(drawnAt(c.drawing, c.rows, c.cols)), c.expected) << c.what;
    } catch (const HDevEngineException& e) {
      ADD_FAILURE() << c.what << ": " << e.Message();
    }
  }
}

}  // namespace
