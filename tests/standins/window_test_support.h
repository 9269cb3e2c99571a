// Windows for tests: opened for the test, closed when it ends.
#ifndef QUORVEX_TESTS_STANDINS_WINDOW_TEST_SUPPORT_H
#define QUORVEX_TESTS_STANDINS_WINDOW_TEST_SUPPORT_H

#include "standins/iconic_test_support.h"

namespace quorvex::test {

struct TestWindow {
  TestWindow(Hlong row, Hlong col, Hlong width, Hlong height) {
    HalconCpp::OpenWindow(row, col, width, height, 0, "visible", "", &handle);
  }
  ~TestWindow() {
    try {
      HalconCpp::CloseWindow(handle);
    } catch (const HalconCpp::HException&) {
      // Closed by the test itself.
    }
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HObject dump() const {
    HObject image;
    HalconCpp::DumpWindowImage(&image, handle);
    return image;
  }
  HTuple part() const {
    HTuple r1, c1, r2, c2;
    HalconCpp::GetPart(handle, &r1, &c1, &r2, &c2);
    return r1.Append(c1).Append(r2).Append(c2);
  }

  HTuple handle;
};

// The values of every channel of one pixel.
inline HTuple pixel(const HObject& image, Hlong row, Hlong col) {
  HTuple values;
  HalconCpp::GetGrayval(image, row, col, &values);
  return values;
}

}  // namespace quorvex::test

#endif
