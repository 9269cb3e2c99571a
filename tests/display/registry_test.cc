// The window registry as programs see it: which window is active after opening, choosing
// and closing windows, and the argument checks of the window operations; and the six
// remembered display settings: set on the active window, remembered, and replayed on every
// window opened later, in a fixed order, the colour through the operator that set it.
#include "display/display_fixture.h"

namespace quorvex::test {
namespace {

class Registry : public DisplayTest {};

TEST_F(Registry, ActivationOrderFollowsOpeningChoosingAndClosing) {
  const Snippet lines = Snippet::ran(
      {"dev_open_window (0, 0, 160, 120, 'black', P)",
       "dev_open_window (0, 0, 160, 120, 'black', Q)",
       "dev_open_window (0, 0, 160, 120, 'black', R)", "dev_get_window (AfterOpening)",
       "dev_set_window (P)", "dev_get_window (AfterChoosing)", "dev_close_window ()",
       "dev_get_window (AfterFirstClose)", "dev_close_window ()",
       "dev_get_window (AfterSecondClose)", "dev_close_window ()", "dev_get_window (AfterLast)"},
      {"P", "Q", "R", "AfterOpening", "AfterChoosing", "AfterFirstClose", "AfterSecondClose",
       "AfterLast"});
  const long p = lines.longAt("P"), q = lines.longAt("Q"), r = lines.longAt("R");
  EXPECT_EQ(lines.longAt("AfterOpening"), r);
  EXPECT_EQ(lines.longAt("AfterChoosing"), p);
  EXPECT_EQ(lines.longAt("AfterFirstClose"), r) << "closing P leaves Q, R: R active";
  EXPECT_EQ(lines.longAt("AfterSecondClose"), q);
  EXPECT_EQ(lines.longAt("AfterLast"), -1);
  // A closed window is really closed; an unregistered handle keeps the active window.
  const Snippet open =
      Snippet::ran({"dev_open_window (0, 0, 160, 120, 'black', W)", "dev_close_window ()"}, {"W"});
  Snippet use({"W := " + std::to_string(open.longAt("W")),
               "get_window_extents (W, Row, Column, Width, Height)"});
  Record record = use.run();
  EXPECT_STREQ(record ? record->progLineName : "", "get_window_extents");
  const Snippet kept = Snippet::ran({"dev_open_window (0, 0, 160, 120, 'black', A)",
                                     "dev_set_window (A + 1000)", "dev_get_window (Active)"},
                                    {"A", "Active"});
  EXPECT_EQ(kept.longAt("Active"), kept.longAt("A"));
}

struct CheckCase {
  const char* line;
  int32_t number;
};

class ArgumentChecks : public DisplayTest, public ::testing::WithParamInterface<CheckCase> {};

// The library refuses the value itself, before any window operation is called.
TEST_P(ArgumentChecks, RefusedWithTheParametersNumber) {
  Snippet lines({"dev_open_window (0, 0, 160, 120, 'black', P)",
                 "dev_open_window (0, 0, 160, 120, 'black', Q)",
                 "set_system ('standin_call_log', 'clear')",
                 "set_system ('standin_call_log', 'start')", GetParam().line});
  Record record = lines.run();
  const Snippet log = Snippet::ran(
      {"set_system ('standin_call_log', 'stop')", "get_system ('standin_call_log', Log)",
       "set_system ('standin_call_log', 'clear')", "N := |Log|"},
      {"N"});
  EXPECT_EQ(log.longAt("N"), 0);
  EXPECT_EQ(record ? record->progLineNum : 0, 5);
  EXPECT_FAILS(record.release(), ErrorKindEngine, GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    DisplayOperations, ArgumentChecks,
    ::testing::Values(
        CheckCase{"dev_open_window (0, 0, '640', 480, 'black', W)", 1203},
        CheckCase{"dev_open_window (0, 0, 640, '480', 'black', W)", 1204},
        CheckCase{"dev_open_window (0, '0', 640, 480, 'black', W)", 1202},
        CheckCase{"dev_open_window (0, 0, 640, 480, ['black', 'white'], W)", 1405},
        CheckCase{"dev_open_window (0, 0, 640, 480, 0, W)", 1205},
        CheckCase{"dev_open_window ([], 0, 640, 480, 'black', W)", 1401},
        CheckCase{"dev_set_window ('P')", 1201}, CheckCase{"dev_set_window ([P, Q])", 1401},
        CheckCase{"dev_set_window (1.0)", 1201}, CheckCase{"dev_set_part (0, 0, 'x', 10)", 1203},
        CheckCase{"dev_set_part (0, 0, 10, [])", 1404}, CheckCase{"dev_set_color (5)", 1201},
        CheckCase{"dev_set_colored ('red')", 1201}, CheckCase{"dev_set_colored (3.0)", 1201},
        CheckCase{"dev_set_line_width ([1, 2])", 1401}, CheckCase{"dev_set_line_width (2.0)", 1201},
        CheckCase{"dev_set_draw (1)", 1201}));

TEST_F(Registry, WithNoWindowEveryOperationSucceedsAndChangesNothing) {
  const Snippet lines = Snippet::ran(
      {"dev_get_window (Before)", "dev_clear_window ()", "dev_close_window ()",
       "dev_set_window (17)", "dev_set_window_extents (-1, -1, 800, 600)",
       "dev_set_part ('any', [], 1, 2)", "dev_set_color ('red')",
       "gen_image_const (Image, 'byte', 64, 48)", "dev_display (Image)", "dev_get_window (After)"},
      {"Before", "After"});
  EXPECT_EQ(lines.longAt("Before"), -1);
  EXPECT_EQ(lines.longAt("After"), -1);
  // The argument checks come first even then.
  Snippet color({"dev_set_color (5)"}), width({"dev_set_line_width ([1, 2])"});
  EXPECT_FAILS(color.run().release(), ErrorKindEngine, 1201);
  EXPECT_FAILS(width.run().release(), ErrorKindEngine, 1401);
}

// Each row: the extents set on a window opened at (20, 30) 160 x 120, and the extents then.
// A negative value keeps that extent; zero is a value like any other. A real position and
// size pass the checks.
TEST_F(Registry, NegativeExtentsKeepTheCurrentOnes) {
  using Extents = std::vector<long>;
  const std::pair<std::string, Extents> rows[] = {{"-1, -1, 800, 600", {20, 30, 800, 600}},
                                                  {"5, 6, -1, -7", {5, 6, 160, 120}},
                                                  {"0, 0, 300, 200", {0, 0, 300, 200}},
                                                  {"-1, 0, -1, 1", {20, 0, 160, 1}}};
  for (const auto& [set, expected] : rows) {
    const Snippet lines = Snippet::ran(
        {"dev_open_window (20, 30, 160, 120, 'black', W)", "dev_set_window_extents (" + set + ")",
         "get_window_extents (W, Row, Column, Width, Height)"},
        {"Row", "Column", "Width", "Height"});
    EXPECT_EQ(lines.firstOfEach(), expected) << set;
  }
  const Snippet real = Snippet::ran({"dev_open_window (0.0, 10.5, 200.0, 100.0, 'black', W)",
                                     "get_window_extents (W, Row, Column, Width, Height)"},
                                    {"Width", "Height"});
  EXPECT_EQ(real.firstOfEach(), (std::vector<long>{200, 100}));
}

TEST_F(Registry, RefusedBackgroundLeavesAnUnregisteredWindowOpen) {
  const Snippet first =
      Snippet::ran({"dev_open_window (0, 0, 160, 120, 'black', First)"}, {"First"});
  const long before = liveCount("windows");
  Snippet refused({"dev_open_window (0, 0, 160, 120, 'no such colour', Second)"});
  Record record = refused.run();
  EXPECT_STREQ(record ? record->progLineName : "", "dev_open_window");
  EXPECT_EQ(liveCount("windows"), before + 1) << "the refused window stays open";
  EXPECT_EQ(activeWindow(), first.longAt("First"));
}

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

// hinit makes a new instance: it forgets what the old one remembered and starts again from
// the initial settings.
TEST_F(SettingsReplay, ANewInstanceStartsFromTheInitialSettings) {
  Snippet::ran({"dev_open_window (0, 0, 64, 64, 'black', A)", "dev_set_lut ('gray')",
                "dev_set_draw ('margin')", "dev_set_color ('red')"});
  closeRegisteredWindows();
  EXPECT_OK(hinit(hinitMode()));
  EXPECT_EQ(replayedAfter({}), replay("'fill'", "'default'", "1", "SetColored(W, 12)"));
}

TEST_F(SettingsReplay, RefusedSettingsAreNotRememberedNorReplayed) {
  Snippet refused({"dev_open_window (0, 0, 64, 64, 'black', A)", "dev_set_color ('green')",
                   "dev_set_color ('no such colour')"});
  Record record = refused.run();
  EXPECT_EQ(record ? record->progLineNum : 0, 3);
  const Calls calls = replayedAfter({});
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "SetColor(W, 'green')");
  backToTheInitialSettings();
  // A replayed setting that fails is dropped and the rest apply; the injected fault fires
  // before the stand-in logs the call.
  const Calls dropped = replayedAfter({"set_system ('standin_fail', ['SetLut', 5555])"});
  EXPECT_EQ(dropped, (Calls{"SetDraw(W, 'fill')", "SetShape(W, 'original')",
                            "SetPaint(W, 'default')", "SetLineWidth(W, 1)", "SetColored(W, 12)"}));
  EXPECT_NE(activeWindow(), -1) << "the window opened and is registered";
}

}  // namespace
}  // namespace quorvex::test
