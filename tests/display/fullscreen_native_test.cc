// The fullscreen mode on Windows, where the stand-in's windows are real native windows and
// the library moves them through the system's USER32: a new window covers the monitor that
// USER32 reports for its place, loses its caption, sizing frame and edges, and keeps its
// other style bits. (Monitor layouts of the stand-in's own choosing are tested off Windows.)
#include <windows.h>

#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

struct Native {
  std::vector<long> extents;  // row, column, width, height as get_window_extents reads them
  HWND hwnd = nullptr;
};

Native openWindowAt(int row, int column) {
  const Snippet lines = Snippet::ran({"dev_open_window (" + std::to_string(row) + ", " +
                                          std::to_string(column) + ", 640, 480, 'black', W)",
                                      "get_window_extents (W, Row, Column, Width, Height)",
                                      "get_os_window_handle (W, OSWindow, OSDisplay)"},
                                     {"Row", "Column", "Width", "Height", "OSWindow"});
  return {
      {lines.longAt("Row"), lines.longAt("Column"), lines.longAt("Width"), lines.longAt("Height")},
      reinterpret_cast<HWND>(static_cast<INT_PTR>(lines.longAt("OSWindow")))};
}

RECT monitorAt(int row, int column) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoA(MonitorFromPoint(POINT{column, row}, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcMonitor;
}

std::vector<long> asExtents(const RECT& r) {
  return {r.top, r.left, r.right - r.left, r.bottom - r.top};
}

class NativeFullscreen : public DisplayTest {
 protected:
  MessageCapture capture;
};

TEST_F(NativeFullscreen, WindowCoversItsMonitorAsUser32ReportsIt) {
  const struct { int row, column; } places[] = {{100, 50}, {0, 0}, {300, 5000}, {-200, -900}};
  hsetFullscreen(1);
  for (const auto& place : places) {
    SCOPED_TRACE(std::to_string(place.row) + ", " + std::to_string(place.column));
    const std::vector<long> monitor = asExtents(monitorAt(place.row, place.column));
    const Native window = openWindowAt(place.row, place.column);
    ASSERT_TRUE(IsWindow(window.hwnd));
    EXPECT_EQ(window.extents, monitor);
    RECT rect = {};
    GetWindowRect(window.hwnd, &rect);
    EXPECT_EQ(asExtents(rect), monitor);
    EXPECT_EQ(GetWindowLongW(window.hwnd, GWL_STYLE) & 0x00C40000, 0);
    EXPECT_EQ(GetWindowLongW(window.hwnd, GWL_EXSTYLE) & 0x00020301, 0);
    EXPECT_NE(GetWindowLongW(window.hwnd, GWL_STYLE) & WS_VISIBLE, 0);
  }
  EXPECT_TRUE(MessageCapture::err().empty());
}

TEST_F(NativeFullscreen, OffLeavesTheNativeWindowFramedAndClosingDestroysIt) {
  const Native window = openWindowAt(100, 200);
  EXPECT_EQ(window.extents, (std::vector<long>{100, 200, 640, 480}));
  EXPECT_EQ(GetWindowLongW(window.hwnd, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  closeRegisteredWindows();
  EXPECT_FALSE(IsWindow(window.hwnd));
}

TEST_F(NativeFullscreen, DefaultWindowCoversTheMonitorAndKeepsItsPart) {
  hsetFullscreen(1);
  EXPECT_OK(hopenDefaultWindow());
  const Snippet lines =
      Snippet::ran({"dev_get_window (W)", "get_window_extents (W, Row, Column, Width, Height)",
                    "get_part (W, Row1, Column1, Row2, Column2)"},
                   {"Width", "Height", "Row2", "Column2"});
  const std::vector<long> monitor = asExtents(monitorAt(0, 0));
  EXPECT_EQ(lines.firstOfEach(), (std::vector<long>{monitor[2], monitor[3], 479, 639}));
}

}  // namespace
}  // namespace quorvex::test
