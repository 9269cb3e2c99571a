// Message callbacks that call back into the library, or throw, while a window is being opened:
// they run after the library's window lock is released, in the order the messages were sent.
#include <stdexcept>
#include <string>

#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Lines = std::vector<std::string>;

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
