// The fullscreen mode: new windows lose their frame and cover the monitor that holds them.
#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Lines = std::vector<std::string>;

class Fullscreen : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Snippet monitors({"set_system ('standin_monitors', [0, 0, 1920, 1080, 1920, 0, 3840, 1080])"});
    ASSERT_EQ(monitors.run(), nullptr);
  }
  void TearDown() override {
    Snippet monitors({"set_system ('standin_monitors', [0, 0, 1920, 1080])",
                      "set_system ('standin_null_os_handle', 'false')"});
    EXPECT_EQ(monitors.run(), nullptr);
    DisplayTest::TearDown();
  }

  // Opens a window at column `column` and reads its extents back.
  std::vector<long> extentsOfWindowAt(int column) {
    Snippet lines({"dev_open_window (100, " + std::to_string(column) + ", 640, 480, 'black', W)",
                   "get_window_extents (W, Row, Column, Width, Height)"},
                  {"Row", "Column", "Width", "Height"});
    Record record = lines.run();
    EXPECT_EQ(record, nullptr) << describe(record.get());
    return {lines.longAt("Row"), lines.longAt("Column"), lines.longAt("Width"),
            lines.longAt("Height")};
  }

  MessageCapture capture;
};

// Monitors of the stand-in's choosing exist off Windows only (fullscreen_native_test.cc).
#ifndef _WIN32
TEST_F(Fullscreen, WindowCoversTheSecondMonitor) {
  EXPECT_EQ(hsetFullscreen(1), 0);
  EXPECT_EQ(extentsOfWindowAt(2000), (std::vector<long>{0, 1920, 1920, 1080}));
  EXPECT_TRUE(MessageCapture::err().empty());
}

TEST_F(Fullscreen, WindowOnTheFirstMonitorCoversIt) {
  hsetFullscreen(-1);
  EXPECT_EQ(extentsOfWindowAt(50), (std::vector<long>{0, 0, 1920, 1080}));
}
#endif

TEST_F(Fullscreen, OffLeavesWindowsAsRequested) {
  hsetFullscreen(2);
  EXPECT_EQ(hsetFullscreen(0), 0);
  EXPECT_EQ(extentsOfWindowAt(2000), (std::vector<long>{100, 2000, 640, 480}));
}

TEST_F(Fullscreen, MissingNativeHandleIsReportedAndTheWindowStaysRegistered) {
  hsetFullscreen(1);
  Snippet lines({"set_system ('standin_null_os_handle', 'true')",
                 "dev_open_window (100, 200, 640, 480, 'black', W)", "dev_get_window (Active)",
                 "get_window_extents (W, Row, Column, Width, Height)"},
                {"W", "Active", "Width"});
  ASSERT_EQ(lines.run(), nullptr);
  EXPECT_EQ(lines.longAt("Active"), lines.longAt("W"));
  EXPECT_EQ(lines.longAt("Width"), 640);
  EXPECT_EQ(MessageCapture::err(),
            Lines{"fullscreen: got invalid window handle from GetOsWindowHandle"});
}

TEST_F(Fullscreen, OtherFailuresAreReportedAsUnknown) {
  hsetFullscreen(1);
  Snippet lines({"set_system ('standin_fail', ['SetWindowExtents', 5100])",
                 "dev_open_window (100, 200, 640, 480, 'black', W)", "dev_get_window (Active)"},
                {"W", "Active"});
  ASSERT_EQ(lines.run(), nullptr);
  EXPECT_EQ(lines.longAt("Active"), lines.longAt("W"));
  EXPECT_EQ(MessageCapture::err(), Lines{"unknown error in changeWindowFullscreen"});
}

}  // namespace
}  // namespace quorvex::test
