// The default window a caller opens with hopenDefaultWindow and its lines on the message
// channels; the fullscreen mode: new windows lose their frame and cover the monitor that holds
// them.
#include <string>

#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Lines = std::vector<std::string>;

class DefaultWindow : public DisplayTest {
 protected:
  // Width, height, last row and last column of the part of the active window.
  std::vector<long> sizeAndPart() {
    const Snippet lines =
        Snippet::ran({"dev_get_window (W)", "get_window_extents (W, Row, Column, Width, Height)",
                      "get_part (W, Row1, Column1, Row2, Column2)"},
                     {"Width", "Height", "Row2", "Column2"});
    return lines.firstOfEach();
  }
  MessageCapture capture;
};

TEST_F(DefaultWindow, QuietWhenVerbosityIsOff) {
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_TRUE(MessageCapture::out().empty());
  EXPECT_TRUE(MessageCapture::err().empty());
  EXPECT_EQ(sizeAndPart(), (std::vector<long>{640, 480, 479, 639}));
  const Snippet lines = Snippet::ran(
      {"dev_get_window (W)", "dump_window_image (D, W)", "get_grayval (D, 240, 320, V)"}, {"V"});
  EXPECT_EQ(lines.longs("V"), (std::vector<long>{0, 0, 0})) << "black";
}

TEST_F(DefaultWindow, OneIdentificationLinePerCallWithVerbosityOn) {
  hsetVerbosity(1);
  EXPECT_OK(hopenDefaultWindow());
  const long first = activeWindow();
  EXPECT_OK(hopenDefaultWindow());
  const long second = activeWindow();
  EXPECT_NE(first, second) << "a second call opens a second window, which becomes active";
  EXPECT_EQ(MessageCapture::out(),
            (Lines{"Opened default window with ID " + std::to_string(first),
                   "Opened default window with ID " + std::to_string(second)}));
  EXPECT_TRUE(MessageCapture::err().empty());
}

TEST_F(DefaultWindow, RefusedOpeningIsReportedNotReturned) {
  hsetVerbosity(1);
  injectFault("OpenWindow", 5112);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(MessageCapture::err(), Lines{"Opened default window failed: error 5112"});
  EXPECT_EQ(MessageCapture::out(), Lines{"Opened default window with ID []"});
  EXPECT_EQ(activeWindow(), -1);
}

TEST_F(DefaultWindow, RefusedPartIsReportedWithItsNumber) {
  injectFault("SetPart", 5113);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(MessageCapture::err(), Lines{"Opened default window failed: error 5113"});
}

#ifndef _WIN32  // on Windows: fullscreen_native_test.cc
TEST_F(DefaultWindow, FullscreenKeepsTheFixedPart) {
  hsetFullscreen(1);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(sizeAndPart(), (std::vector<long>{1920, 1080, 479, 639}));
}
#endif

class Fullscreen : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Snippet::ran({"set_system ('standin_monitors', [0, 0, 1920, 1080, 1920, 0, 3840, 1080])"});
  }
  void TearDown() override {
    Snippet::ran({"set_system ('standin_monitors', [0, 0, 1920, 1080])",
                  "set_system ('standin_null_os_handle', 'false')"});
    DisplayTest::TearDown();
  }

  // Opens a window at column `column` and reads its extents back.
  std::vector<long> extentsOfWindowAt(int column) {
    const Snippet lines =
        Snippet::ran({"dev_open_window (100, " + std::to_string(column) + ", 640, 480, 'black', W)",
                      "get_window_extents (W, Row, Column, Width, Height)"},
                     {"Row", "Column", "Width", "Height"});
    return lines.firstOfEach();
  }

  MessageCapture capture;
};

// Monitors of the stand-in's choosing and its native-window records exist off Windows only
// (fullscreen_native_test.cc).
#ifndef _WIN32
// Each row: the switch's value, the column a 640 x 480 window is opened at, and its extents.
// A window off every monitor covers the nearest one.
TEST_F(Fullscreen, WindowsCoverTheirMonitor) {
  const std::tuple<int, int, std::vector<long>> rows[] = {{1, 2000, {0, 1920, 1920, 1080}},
                                                          {-1, 50, {0, 0, 1920, 1080}},
                                                          {2, 5000, {0, 1920, 1920, 1080}},
                                                          {0, 2000, {100, 2000, 640, 480}}};
  for (const auto& [on, column, extents] : rows) {
    EXPECT_EQ(hsetFullscreen(on), 0);
    EXPECT_EQ(extentsOfWindowAt(column), extents) << on << " " << column;
  }
  EXPECT_TRUE(MessageCapture::err().empty());
}

// The native window loses the caption and the sizing frame (WS_CAPTION | WS_THICKFRAME,
// 0x00C40000) of its overlapped style 0x10CF0000, and the window and client edges of its
// extended style; it is moved with SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED.
TEST_F(Fullscreen, StylesAndTheNativeMove) {
  hsetFullscreen(1);
  const Snippet lines = Snippet::ran({"dev_open_window (100, 2000, 640, 480, 'black', W)",
                                      "get_system ('standin_native_windows', Native)"},
                                     {"W", "Native"});
  const std::vector<long> native = lines.longs("Native");
  std::vector<long> record;
  for (std::size_t i = 0; i + 8 < native.size(); i += 9) {
    if (native[i] == lines.longAt("W"))
      record.assign(native.begin() + i + 2, native.begin() + i + 9);
  }
  EXPECT_EQ(record, (std::vector<long>{0x100B0000, 0, 1920, 0, 1920, 1080, 0x34}));
}
#endif

// Each row: a control that spoils the change, and what the library says; the window keeps
// the size it was opened with and stays registered and active.
TEST_F(Fullscreen, FailuresAreReportedAndTheWindowStaysRegistered) {
  hsetFullscreen(1);
  const std::pair<const char*, const char*> rows[] = {
      {"set_system ('standin_fail', ['SetWindowExtents', 5100])",
       "unknown error in changeWindowFullscreen"},
      {"set_system ('standin_null_os_handle', 'true')",
       "fullscreen: got invalid window handle from GetOsWindowHandle"}};
  for (const auto& [control, message] : rows) {
    MessageCapture::clear();
    const Snippet lines = Snippet::ran(
        {control, "dev_open_window (100, 200, 640, 480, 'black', W)", "dev_get_window (Active)",
         "get_window_extents (W, Row, Column, Width, Height)"},
        {"W", "Active", "Width"});
    EXPECT_EQ(lines.longAt("Active"), lines.longAt("W"));
    EXPECT_EQ(lines.longAt("Width"), 640);
    EXPECT_EQ(MessageCapture::err(), Lines{message});
  }
}

}  // namespace
}  // namespace quorvex::test
