// The six remembered display settings: set on the active window, remembered, and replayed
// on every window opened later, in a fixed order, the colour through the operator that set it.
#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

using Calls = std::vector<std::string>;

class SettingsReplay : public DisplayTest {
 protected:
  void TearDown() override {
    backToTheInitialSettings();
    DisplayTest::TearDown();
  }

  // For the tests after this one: the initial settings, and no window open.
  static void backToTheInitialSettings() {
    Snippet::ran({"dev_open_window (0, 0, 64, 64, 'black', W)", "dev_set_draw ('fill')",
                  "dev_set_shape ('original')", "dev_set_lut ('default')",
                  "dev_set_paint ('default')", "dev_set_line_width (1)", "dev_set_colored (12)",
                  "set_system ('standin_call_log', 'stop')",
                  "set_system ('standin_call_log', 'clear')"});
    closeRegisteredWindows();
  }

  // The window calls made while `lines` run and a new window opens afterwards, from the
  // first call after its part was read, with the new window's handle written as W.
  Calls replayedAfter(std::vector<std::string> lines) {
    lines.insert(
        lines.end(),
        {"set_system ('standin_call_log', 'clear')", "set_system ('standin_call_log', 'start')",
         "dev_open_window (0, 0, 64, 64, 'black', New)", "set_system ('standin_call_log', 'stop')",
         "get_system ('standin_call_log', Log)"});
    const Snippet snippet = Snippet::ran(lines, {"New", "Log"});
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

Calls replay(const char* draw, const char* paint, const char* lineWidth, const char* colour) {
  return {std::string("SetDraw(W, ") + draw + ")",
          "SetShape(W, 'original')",
          "SetLut(W, 'default')",
          std::string("SetPaint(W, ") + paint + ")",
          std::string("SetLineWidth(W, ") + lineWidth + ")",
          colour};
}

// Each row: lines run before a new window opens, and the settings replayed on it. The colour
// comes last, through the operator that set it last; without a window nothing is remembered;
// the settings outlive every window; the paint is taken unchecked.
TEST_F(SettingsReplay, NewWindowsGetTheRememberedSettingsInOrder) {
  const std::string open = "dev_open_window (0, 0, 64, 64, 'black', A)";
  const std::pair<std::vector<std::string>, Calls> rows[] = {
      {{}, replay("'fill'", "'default'", "1", "SetColored(W, 12)")},
      {{open, "dev_set_colored (3)", "dev_set_color ('green')"},
       replay("'fill'", "'default'", "1", "SetColor(W, 'green')")},
      {{open, "dev_set_color ('green')", "dev_set_colored (3)"},
       replay("'fill'", "'default'", "1", "SetColored(W, 3)")},
      {{open, "dev_set_line_width (3)", "dev_set_draw ('margin')", "dev_close_window ()"},
       replay("'margin'", "'default'", "3", "SetColored(W, 12)")},
      {{"dev_set_color ('red')", "dev_set_line_width (5)"},
       replay("'fill'", "'default'", "1", "SetColored(W, 12)")},
      {{open, "dev_set_paint (['default', 3, 2.5])"},
       replay("'fill'", "['default', 3, 2.5]", "1", "SetColored(W, 12)")}};
  for (const auto& [lines, expected] : rows) {
    EXPECT_EQ(replayedAfter(lines), expected) << (lines.empty() ? "" : lines.back());
    backToTheInitialSettings();
  }
}

TEST_F(SettingsReplay, RefusedSettingIsNotRemembered) {
  Snippet refused({"dev_open_window (0, 0, 64, 64, 'black', A)", "dev_set_color ('green')",
                   "dev_set_color ('no such colour')"});
  Record record = refused.run();
  EXPECT_EQ(record ? record->progLineNum : 0, 3);
  const Calls calls = replayedAfter({});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "SetColor(W, 'green')");
}

TEST_F(SettingsReplay, AReplayedSettingThatFailsIsDroppedAndTheRestApply) {
  // The injected fault fires before the stand-in logs the call.
  const Calls calls = replayedAfter({"set_system ('standin_fail', ['SetLut', 5555])"});
  EXPECT_EQ(calls, (Calls{"SetDraw(W, 'fill')", "SetShape(W, 'original')", "SetPaint(W, 'default')",
                          "SetLineWidth(W, 1)", "SetColored(W, 12)"}));
  const Snippet active = Snippet::ran({"dev_get_window (Active)"}, {"Active"});
  EXPECT_NE(active.longAt("Active"), -1) << "the window opened and is registered";
}

}  // namespace
}  // namespace quorvex::test
