// The default window a caller opens with hopenDefaultWindow and its lines on the message
// channels; the fullscreen mode: new windows lose their frame and cover the monitor that holds
// them; and message callbacks that call back into the library, or throw, while a window is
// being opened: they run after the library's window lock is released, in the order the
// messages were sent.
#include <stdexcept>
#include <string>

#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Lines = std::vector<std::string>;

class DefaultWindow : public DisplayTest {
 protected:
  long activeWindow() {
    const Snippet lines = Snippet::ran({"dev_get_window (Active)"}, {"Active"});
    return lines.longAt("Active");
  }
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

const char kNoHandle[] = "fullscreen: got invalid window handle from GetOsWindowHandle";

// Both channels in one list, in the order of delivery, and what the callbacks do besides.
struct Channels {
  static Lines& lines() {
    static Lines instance;
    return instance;
  }
  static int& reopenings() {
    static int count = 0;
    return count;
  }
  static void QUORVEX_CALL out(const char* text) { lines().push_back(std::string("out: ") + text); }
  static void QUORVEX_CALL err(const char* text) { lines().push_back(std::string("err: ") + text); }
  // Opens one more default window from inside its first message.
  static void QUORVEX_CALL reopen(const char* text) {
    err(text);
    if (reopenings()++ == 0) {
      EXPECT_OK(hopenDefaultWindow());
    }
  }
  static void QUORVEX_CALL raise(const char* text) {
    err(text);
    throw std::runtime_error("handler gave up");
  }
};

class MessageReentry : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Channels::lines().clear();
    Channels::reopenings() = 0;
    hsetStdOutHandler(&Channels::out);
    hsetStdErrHandler(&Channels::err);
  }
  void TearDown() override {
    hsetStdOutHandler(nullptr);
    hsetStdErrHandler(nullptr);
    Snippet::ran({"set_system ('standin_null_os_handle', 'false')"});
    DisplayTest::TearDown();
  }
  // Every window still registered makes the next fullscreen change fail.
  static void spoilFullscreen() {
    hsetFullscreen(1);
    Snippet::ran({"set_system ('standin_null_os_handle', 'true')"});
  }
  // Closes every registered window and tells how many there were.
  static long closeAndCount() {
    const Snippet lines =
        Snippet::ran({"N := 0", "dev_get_window (W)", "while (W # -1)", "dev_close_window ()",
                      "N := N + 1", "dev_get_window (W)", "endwhile"},
                     {"N"});
    return lines.longAt("N");
  }
};

// The lines and their order are those the library has always sent: the failed change first,
// then the new window's identification.
TEST_F(MessageReentry, TheOrderAcrossChannelsIsTheOrderOfSending) {
  spoilFullscreen();
  hsetVerbosity(1);
  EXPECT_OK(hopenDefaultWindow());
  const Snippet active = Snippet::ran({"dev_get_window (W)"}, {"W"});
  EXPECT_EQ(Channels::lines(),
            (Lines{std::string("err: ") + kNoHandle,
                   "out: Opened default window with ID " + std::to_string(active.longAt("W"))}));
}

TEST_F(MessageReentry, ACallbackOpensAWindowFromInsideAMessage) {
  spoilFullscreen();
  hsetStdErrHandler(&Channels::reopen);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(Channels::reopenings(), 2) << "the nested opening's own message came too";
  EXPECT_EQ(Channels::lines(), (Lines(2, std::string("err: ") + kNoHandle)));
  EXPECT_EQ(closeAndCount(), 2);
}

// The message of a window a program opens arrives before hprocedurecallExecute returns.
TEST_F(MessageReentry, ACallbackOpensAWindowWhileAProcedureRuns) {
  spoilFullscreen();
  hsetStdErrHandler(&Channels::reopen);
  Snippet::ran({"dev_open_window (0, 0, 320, 240, 'black', W)"});
  EXPECT_EQ(Channels::reopenings(), 2);
  EXPECT_EQ(closeAndCount(), 2);
}

TEST_F(MessageReentry, AThrowingCallbackGivesARecordAndLeavesTheLibraryUsable) {
  spoilFullscreen();
  hsetVerbosity(1);
  hsetStdErrHandler(&Channels::raise);
  Record record(hopenDefaultWindow());
  EXPECT_EQ(describe(record.get()),
            "kind 0, errorCode -1, procName null, progLineName null, progLineNum -1, "
            "message \"unexpected failure: handler gave up\", errorText null");
  ASSERT_EQ(Channels::lines().size(), 2u) << "the identification line is still delivered";
  EXPECT_EQ(Channels::lines()[1].rfind("out: Opened default window with ID ", 0), 0u);

  hsetStdErrHandler(&Channels::reopen);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(Channels::reopenings(), 2);
  EXPECT_EQ(closeAndCount(), 3) << "no lock was left behind";
}

}  // namespace
}  // namespace quorvex::test
