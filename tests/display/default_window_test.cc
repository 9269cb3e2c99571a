// The default window a caller opens with hopenDefaultWindow, and its lines on the message
// channels.
#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Lines = std::vector<std::string>;

class DefaultWindow : public DisplayTest {
 protected:
  long activeWindow() {
    Snippet lines({"dev_get_window (Active)"}, {"Active"});
    EXPECT_EQ(lines.run(), nullptr);
    return lines.longAt("Active");
  }
  MessageCapture capture;
};

TEST_F(DefaultWindow, QuietWhenVerbosityIsOff) {
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_TRUE(MessageCapture::out().empty());
  EXPECT_TRUE(MessageCapture::err().empty());
  Snippet lines({"dev_get_window (W)", "get_window_extents (W, Row, Column, Width, Height)",
                 "get_part (W, Row1, Column1, Row2, Column2)", "dump_window_image (D, W)",
                 "get_grayval (D, 240, 320, Background)"},
                {"Width", "Height", "Row2", "Column2", "Background"});
  ASSERT_EQ(lines.run(), nullptr);
  EXPECT_EQ(lines.longs("Background"), (std::vector<long>{0, 0, 0})) << "black";
  EXPECT_EQ(lines.longAt("Width"), 640);
  EXPECT_EQ(lines.longAt("Height"), 480);
  EXPECT_EQ(lines.longAt("Row2"), 479);
  EXPECT_EQ(lines.longAt("Column2"), 639);
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
  Snippet lines({"dev_get_window (W)", "get_window_extents (W, Row, Column, Width, Height)",
                 "get_part (W, Row1, Column1, Row2, Column2)"},
                {"Width", "Height", "Row2", "Column2"});
  ASSERT_EQ(lines.run(), nullptr);
  EXPECT_EQ(lines.longAt("Width"), 1920);
  EXPECT_EQ(lines.longAt("Height"), 1080);
  EXPECT_EQ(lines.longAt("Row2"), 479);
  EXPECT_EQ(lines.longAt("Column2"), 639);
}
#endif

}  // namespace
}  // namespace quorvex::test
