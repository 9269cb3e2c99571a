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
  // Width, height, last row and last column of the part of the active window.
  std::vector<long> sizeAndPart() {
    Snippet lines({"dev_get_window (W)", "get_window_extents (W, Row, Column, Width, Height)",
                   "get_part (W, Row1, Column1, Row2, Column2)"},
                  {"Width", "Height", "Row2", "Column2"});
    EXPECT_EQ(lines.run(), nullptr);
    return lines.firstOfEach();
  }
  MessageCapture capture;
};

TEST_F(DefaultWindow, QuietWhenVerbosityIsOff) {
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_TRUE(MessageCapture::out().empty());
  EXPECT_TRUE(MessageCapture::err().empty());
  EXPECT_EQ(sizeAndPart(), (std::vector<long>{640, 480, 479, 639}));
  Snippet lines({"dev_get_window (W)", "dump_window_image (D, W)", "get_grayval (D, 240, 320, V)"},
                {"V"});
  ASSERT_EQ(lines.run(), nullptr);
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

}  // namespace
}  // namespace quorvex::test
