// A test of the display operators through the exported interface: hinit once per process,
// and every window the library registered closed again before and after each test.
#ifndef QUORVEX_TESTS_DISPLAY_DISPLAY_FIXTURE_H
#define QUORVEX_TESTS_DISPLAY_DISPLAY_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "quorvex.h"
#include "support/message_capture.h"
#include "support/record_assertions.h"
#include "support/snippet.h"
#include "support/standin_control.h"

namespace quorvex::test {

// The hinit mode of this test program; the logo switch cannot be turned off again, so the
// programs with and without the logo are separate.
int hinitMode();

inline void closeRegisteredWindows() {
  Snippet closeAll({"dev_get_window (Window)", "while (Window # -1)", "dev_close_window ()",
                    "dev_get_window (Window)", "endwhile"});
  EXPECT_EQ(closeAll.run(), nullptr);
}

// The three planes of a window's dump, read from the stand-in directly.
struct WindowPixels {
  std::vector<std::uint8_t> red, green, blue;
  std::size_t width = 0, height = 0;
};

inline WindowPixels windowPixels(long window) {
  HalconCpp::Standin::InsideScope inside;
  HalconCpp::HObject dump;
  HalconCpp::DumpWindowImage(&dump, HalconCpp::HTuple(static_cast<HalconCpp::Hlong>(window)));
  HalconCpp::HTuple red, green, blue, type, width, height;
  HalconCpp::GetImagePointer3(dump, &red, &green, &blue, &type, &width, &height);
  const auto w = static_cast<std::size_t>(width[0].L()),
             h = static_cast<std::size_t>(height[0].L());
  auto plane = [n = w * h](const HalconCpp::HTuple& address) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(address[0].L());
    return std::vector<std::uint8_t>(bytes, bytes + n);
  };
  return {plane(red), plane(green), plane(blue), w, h};
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
