// hinit itself, in a program of its own: it sets the system parameters, switches the logo on
// for mode 1 only and for good, keeps what it did when a later step fails, and a second call
// replaces the display-operator instance. The tests run in the order written.
#include <string>

#include "quorvex.h"
#include "support/record_assertions.h"
#include "support/snippet.h"
#include "support/standin_control.h"

namespace quorvex::test {
namespace {

using HalconCpp::HTuple;

// The three parameters hinit sets, each first set to something else.
void unsetParameters() {
  HalconCpp::SetSystem("width", HTuple(100));
  HalconCpp::SetSystem("height", HTuple(200));
  HalconCpp::SetSystem("use_window_thread", HTuple("false"));
}

std::string parameters() {
  HTuple width, height, thread;
  HalconCpp::GetSystem("width", &width);
  HalconCpp::GetSystem("height", &height);
  HalconCpp::GetSystem("use_window_thread", &thread);
  return width.ToString().str() + " " + height.ToString().str() + " " + thread.ToString().str();
}

// Opens a window on a grey background through the library: the logo's overlay darkens every
// pixel outside its copies by one level.
bool logoShown() {
  const Snippet lines =
      Snippet::ran({"dev_open_window (0, 0, 640, 480, '#646464', W)", "dump_window_image (D, W)",
                    "get_grayval (D, 240, 320, V)", "dev_close_window ()"},
                   {"V"});
  return lines.longAt("V") != 100;
}

TEST(Hinit, TheDefaultWindowNeedsItFirst) {
  Record record(hopenDefaultWindow());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->kind, ErrorKindMessage);
  EXPECT_STREQ(record->message,
               "hopenDefaultWindow needs hinit first: no display operators exist yet");
}

TEST(Hinit, EveryModeButOneSetsTheParametersAndLeavesTheLogoOff) {
  for (int mode : {0, 2, 7, -1}) {
    unsetParameters();
    EXPECT_OK(hinit(mode));
    EXPECT_EQ(parameters(), "512 512 'true'") << mode;
    EXPECT_FALSE(logoShown()) << mode;
  }
  HTuple width;
  HalconCpp::GetSystem("width", &width);
  EXPECT_EQ(width[0].Type(), HalconCpp::eElementTypeLong);
}

TEST(Hinit, ASecondCallReplacesTheInstanceAndItsWindows) {
  const Snippet open = Snippet::ran({"dev_open_window (0, 0, 64, 48, 'black', W)"}, {"W"});
  EXPECT_EQ(activeWindow(), open.longAt("W"));
  EXPECT_OK(hinit(0));
  EXPECT_EQ(activeWindow(), -1);
}

TEST(Hinit, AFailingStepKeepsWhatCameBefore) {
  FaultsCleared cleared;
  // The logo switch comes first: it stays on though the first parameter fails.
  unsetParameters();
  injectFault("SetSystem", 1302);
  EXPECT_FAILS(hinit(1), ErrorKindHalcon, 1302);
  EXPECT_EQ(parameters(), "100 200 'false'");

  // The instance's construction fails (its logo images): the parameters stay set.
  injectFault("GenImage3Extern", 5555);
  EXPECT_FAILS(hinit(0), ErrorKindHalcon, 5555);
  EXPECT_EQ(parameters(), "512 512 'true'");

  // The registration fails: the new instance is already the library's, the engine keeps the
  // one before, so the default window opens where the engine's lines do not see it.
  EXPECT_EQ(activeWindow(), -1);
  injectFault("HDevEngine::SetHDevOperatorImpl", 4444);
  EXPECT_FAILS(hinit(0), ErrorKindMessage, -1);
  EXPECT_OK(hopenDefaultWindow());
  EXPECT_EQ(activeWindow(), -1);

  EXPECT_OK(hinit(0));
  EXPECT_TRUE(logoShown()) << "mode 1 switched the logo on, and no mode switches it off";
}

}  // namespace
}  // namespace quorvex::test
