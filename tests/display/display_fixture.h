// A test of the display operators through the exported interface: hinit once per process,
// and every window the library registered closed again before and after each test.
#ifndef QUORVEX_TESTS_DISPLAY_DISPLAY_FIXTURE_H
#define QUORVEX_TESTS_DISPLAY_DISPLAY_FIXTURE_H

#include <gtest/gtest.h>

#include "api/message_capture.h"
#include "api/record_assertions.h"
#include "api/snippet.h"
#include "api/standin_control.h"
#include "quorvex.h"

namespace quorvex::test {

// The hinit mode of this test program; the logo switch cannot be turned off again, so the
// programs with and without the logo are separate.
int hinitMode();

inline void closeRegisteredWindows() {
  Snippet closeAll({"dev_get_window (Window)", "while (Window # -1)", "dev_close_window ()",
                    "dev_get_window (Window)", "endwhile"});
  EXPECT_EQ(closeAll.run(), nullptr);
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool initialised = [] {
      EXPECT_OK(hinit(hinitMode()));
      return true;
    }();
    (void)initialised;
    hsetFullscreen(0);
    closeRegisteredWindows();
  }
  void TearDown() override {
    clearFaults();
    hsetFullscreen(0);
    hsetVerbosity(0);
    closeRegisteredWindows();
  }
};

}  // namespace quorvex::test

#endif
