// The six remembered display settings: set on the active window, remembered, and replayed
// on every window opened later, in a fixed order, the colour through the operator that set it.
#include <algorithm>

#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Calls = std::vector<std::string>;

class SettingsReplay : public DisplayTest {
 protected:
  void TearDown() override {
    // Back to the initial settings, for the tests after this one.
    Snippet reset({"dev_open_window (0, 0, 64, 64, 'black', W)", "dev_set_draw ('fill')",
                   "dev_set_shape ('original')", "dev_set_lut ('default')",
                   "dev_set_paint ('default')", "dev_set_line_width (1)", "dev_set_colored (12)",
                   "set_system ('standin_call_log', 'stop')",
                   "set_system ('standin_call_log', 'clear')"});
    EXPECT_EQ(reset.run(), nullptr);
    DisplayTest::TearDown();
  }

  // The window calls made while `lines` run and a new window opens afterwards, from the
  // first call after its part was read, with the new window's handle written as W.
  Calls replayedAfter(std::vector<std::string> lines) {
    lines.insert(
        lines.end(),
        {"set_system ('standin_call_log', 'clear')", "set_system ('standin_call_log', 'start')",
         "dev_open_window (0, 0, 64, 64, 'black', New)", "set_system ('standin_call_log', 'stop')",
         "get_system ('standin_call_log', Log)"});
    Snippet snippet(lines, {"New", "Log"});
    Record record = snippet.run();
    EXPECT_EQ(record, nullptr) << describe(record.get());
    const std::string handle = std::to_string(snippet.longAt("New"));
    Tuple log = snippet.value("Log");
    Calls calls;
    bool afterPart = false;
    for (int32_t i = 0; log && i < hgetTupleLength(log.get()); ++i) {
      std::string call = stringAt(log.get(), i);
      if (afterPart) {
        const auto at = call.find(handle);
        if (at != std::string::npos) call.replace(at, handle.size(), "W");
        calls.push_back(call);
      }
      if (call.rfind("GetPart(", 0) == 0) afterPart = true;
    }
    return calls;
  }
};

TEST_F(SettingsReplay, NewWindowGetsTheInitialSettingsInOrder) {
  EXPECT_EQ(replayedAfter({}),
            (Calls{"SetDraw(W, 'fill')", "SetShape(W, 'original')", "SetLut(W, 'default')",
                   "SetPaint(W, 'default')", "SetLineWidth(W, 1)", "SetColored(W, 12)"}));
}

TEST_F(SettingsReplay, LastColourOperatorDecidesWhichIsReplayed) {
  const Calls named = replayedAfter({"dev_open_window (0, 0, 64, 64, 'black', A)",
                                     "dev_set_colored (3)", "dev_set_color ('green')"});
  ASSERT_FALSE(named.empty());
  EXPECT_EQ(named.back(), "SetColor(W, 'green')");
  EXPECT_EQ(std::count_if(named.begin(), named.end(),
                          [](const std::string& c) { return c.rfind("SetColored", 0) == 0; }),
            0);

  const Calls numbered = replayedAfter({"dev_open_window (0, 0, 64, 64, 'black', A)",
                                        "dev_set_color ('green')", "dev_set_colored (3)"});
  ASSERT_FALSE(numbered.empty());
  EXPECT_EQ(numbered.back(), "SetColored(W, 3)");
}

TEST_F(SettingsReplay, SettingsOutliveEveryWindow) {
  const Calls calls =
      replayedAfter({"dev_open_window (0, 0, 64, 64, 'black', A)", "dev_set_line_width (3)",
                     "dev_set_draw ('margin')", "dev_close_window ()"});
  EXPECT_EQ(calls, (Calls{"SetDraw(W, 'margin')", "SetShape(W, 'original')", "SetLut(W, 'default')",
                          "SetPaint(W, 'default')", "SetLineWidth(W, 3)", "SetColored(W, 12)"}));
}

TEST_F(SettingsReplay, WithoutAWindowNothingIsRemembered) {
  const Calls calls = replayedAfter({"dev_set_color ('red')", "dev_set_line_width (5)"});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "SetColored(W, 12)");
  EXPECT_EQ(calls[4], "SetLineWidth(W, 1)");
}

TEST_F(SettingsReplay, RefusedSettingIsNotRemembered) {
  Snippet refused({"dev_open_window (0, 0, 64, 64, 'black', A)", "dev_set_color ('green')",
                   "dev_set_color ('no such colour')"});
  Record record = refused.run();
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->progLineNum, 3);
  const Calls calls = replayedAfter({});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "SetColor(W, 'green')");
}

TEST_F(SettingsReplay, PaintTakesAnyTupleUnchecked) {
  const Calls calls = replayedAfter(
      {"dev_open_window (0, 0, 64, 64, 'black', A)", "dev_set_paint (['default', 3, 2.5])"});
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[3], "SetPaint(W, ['default', 3, 2.5])");
}

TEST_F(SettingsReplay, AReplayedSettingThatFailsIsDroppedAndTheRestApply) {
  // The injected fault fires before the stand-in logs the call.
  const Calls calls = replayedAfter({"set_system ('standin_fail', ['SetLut', 5555])"});
  EXPECT_EQ(calls, (Calls{"SetDraw(W, 'fill')", "SetShape(W, 'original')", "SetPaint(W, 'default')",
                          "SetLineWidth(W, 1)", "SetColored(W, 12)"}));
  Snippet active({"dev_get_window (Active)"}, {"Active"});
  ASSERT_EQ(active.run(), nullptr);
  EXPECT_NE(active.longAt("Active"), -1) << "the window opened and is registered";
}

}  // namespace
}  // namespace quorvex::test
