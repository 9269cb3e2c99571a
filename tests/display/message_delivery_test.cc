// When and where message callbacks run while windows are opened: on the sending thread, never
// under the library's window lock, before the operation's next step, never inside another
// callback, each message to the callback its channel held when it was sent; and callbacks that
// call back into the library, or throw.
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
  // What the standard-error callback does after opening one more default window from inside
  // its first message: nothing, replace itself, or close its channel.
  static hMessageHandler& replacement() {
    static hMessageHandler handler = nullptr;
    return handler;
  }
  static void QUORVEX_CALL out(const char* text) { lines().push_back(std::string("out: ") + text); }
  static void QUORVEX_CALL err(const char* text) { lines().push_back(std::string("err: ") + text); }
  static void QUORVEX_CALL otherErr(const char* text) {
    lines().push_back(std::string("other err: ") + text);
  }
  // Opens one more default window from inside its first message.
  static void QUORVEX_CALL reopen(const char* text) {
    err(text);
    if (reopenings()++ == 0) {
      EXPECT_OK(hopenDefaultWindow());
    }
  }
  static void QUORVEX_CALL reopenThenReplace(const char* text) {
    reopen(text);
    if (reopenings() == 1) hsetStdErrHandler(replacement());
  }
  static void QUORVEX_CALL raise(const char* text) {
    err(text);
    throw std::runtime_error("handler gave up");
  }
  // Notes the system value "width" as the message arrives.
  static void QUORVEX_CALL readWidth(const char* text) {
    TupleHandle width = nullptr;
    EXPECT_OK(hgetsystem("width", &width));
    lines().push_back(std::string(text) + ", width " + std::to_string(hgetTupleElemLong(width, 0)));
    hfreeTuple(width);
  }
  // Notes the active window's line width as the message arrives.
  static void QUORVEX_CALL readLineWidth(const char* text) {
    const Snippet read =
        Snippet::ran({"dev_get_window (W)", "get_line_width (W, Width)"}, {"Width"});
    lines().push_back(std::string(text) + ", line width " + std::to_string(read.longAt("Width")));
  }
  // Marks where each callback begins and ends, calling into the library in between.
  static void QUORVEX_CALL spanOut(const char* text) { span("out", text); }
  static void QUORVEX_CALL spanErr(const char* text) { span("err", text); }
  static void span(const std::string& channel, const char* text) {
    lines().push_back("begin " + channel);
    TupleHandle width = nullptr;
    EXPECT_OK(hgetsystem("width", &width));
    hfreeTuple(width);
    if (channel == "err" && reopenings() > 0 && reopenings()-- == 1) {
      EXPECT_OK(hopenDefaultWindow());
    }
    lines().push_back("end " + channel);
    (void)text;
  }
};

class MessageDelivery : public DisplayTest {
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
TEST_F(MessageDelivery, TheOrderAcrossChannelsIsTheOrderOfSending) {
  spoilFullscreen();
  hsetVerbosity(1);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(Channels::lines(),
            (Lines{std::string("err: ") + kNoHandle,
                   "out: Opened default window with ID " + std::to_string(activeWindow())}));
}

// A window's message arrives before the program's next line runs, not when the program ends.
TEST_F(MessageDelivery, AProgramsNextLineRunsAfterTheMessage) {
  spoilFullscreen();
  hsetStdErrHandler(&Channels::readWidth);
  const Snippet program =
      Snippet::ran({"get_system ('width', Before)", "dev_open_window (0, 0, 320, 240, 'black', W)",
                    "set_system ('width', 777)", "set_system ('width', Before)"},
                   {"Before"});
  EXPECT_EQ(Channels::lines(),
            Lines{std::string(kNoHandle) + ", width " + std::to_string(program.longAt("Before"))});
}

// The message comes before the remembered settings reach the new window (its line width is
// still the window's own, 1, not the remembered 3).
TEST_F(MessageDelivery, AWindowsMessageComesBeforeItsSettings) {
  Snippet::ran({"dev_open_window (0, 0, 64, 64, 'black', W)", "dev_set_line_width (3)",
                "dev_close_window ()"});
  spoilFullscreen();
  hsetStdErrHandler(&Channels::readLineWidth);
  EXPECT_OK(hopenDefaultWindow());
  const Snippet after = Snippet::ran(
      {"dev_get_window (W)", "get_line_width (W, Width)", "dev_set_line_width (1)"}, {"Width"});
  EXPECT_EQ(Channels::lines(), Lines{std::string(kNoHandle) + ", line width 1"});
  EXPECT_EQ(after.longAt("Width"), 3) << "the settings were still replayed";
}

// Each row: whether the standard-error callback opens one more default window from inside its
// first message, and the callbacks' entries and exits: never one inside another, what the
// nested opening sent delivered after the callback that caused it.
TEST_F(MessageDelivery, CallbacksNeverNest) {
  const std::pair<int, Lines> rows[] = {{0, {"begin err", "end err", "begin out", "end out"}},
                                        {1,
                                         {"begin err", "end err", "begin err", "end err",
                                          "begin out", "end out", "begin out", "end out"}}};
  for (const auto& [reopen, entries] : rows) {
    Channels::lines().clear();
    Channels::reopenings() = reopen;
    spoilFullscreen();
    hsetVerbosity(1);
    hsetStdOutHandler(&Channels::spanOut);
    hsetStdErrHandler(&Channels::spanErr);
    EXPECT_OK(hopenDefaultWindow());
    EXPECT_EQ(Channels::lines(), entries) << "reopen " << reopen;
    EXPECT_EQ(closeAndCount(), 1 + reopen);
  }
}

// Each row: what the first callback does to its channel after opening a second window from
// inside its message, and who receives the second window's message: the callback the channel
// held when that message was sent.
TEST_F(MessageDelivery, EachMessageGoesToTheCallbackOfItsSending) {
  const std::pair<hMessageHandler, const char*> rows[] = {
      {&Channels::otherErr, "replaced"}, {nullptr, "closed"}, {&Channels::reopen, "kept"}};
  for (const auto& [replacement, what] : rows) {
    Channels::lines().clear();
    Channels::reopenings() = 0;
    Channels::replacement() = replacement;
    spoilFullscreen();
    hsetStdErrHandler(&Channels::reopenThenReplace);
    EXPECT_OK(hopenDefaultWindow());
    EXPECT_EQ(Channels::lines(), (Lines(2, std::string("err: ") + kNoHandle))) << what;
    EXPECT_EQ(closeAndCount(), 2);
  }
}

TEST_F(MessageDelivery, ACallbackOpensAWindowWhileAProcedureRuns) {
  spoilFullscreen();
  hsetStdErrHandler(&Channels::reopen);
  Snippet::ran({"dev_open_window (0, 0, 320, 240, 'black', W)"});
  EXPECT_EQ(Channels::reopenings(), 2) << "the nested opening's own message came too";
  EXPECT_EQ(closeAndCount(), 2);
}

TEST_F(MessageDelivery, AThrowingCallbackGivesARecordAndLeavesTheLibraryUsable) {
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
