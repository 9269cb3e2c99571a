// Stand-in windows as the display code relies on them: handles, extents, parts and the
// background. Images drawn through the part, dumps, native windows, monitors and low-level
// error reporting are checked through the library (tests/display, tests/api).
#include <gtest/gtest.h>

#include "standins/iconic_test_support.h"
#include "user32/WinUser.h"

extern "C" int winuser_c_monitorinfo_size(void);

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HTuple extentsOf(const TestWindow& window) {
  HTuple row, col, width, height;
  GetWindowExtents(window.handle, &row, &col, &width, &height);
  return row.Append(col).Append(width).Append(height);
}

TEST(Windows, OpenGivesUniqueHandlesTheFullPartAndABlackFramebuffer) {
  TestWindow a(10, 20, 8, 6), b(0, 0, 4, 4);
  EXPECT_GE(a.handle[0].L(), 3600);
  EXPECT_NE(a.handle, b.handle);
  EXPECT_EQ(extentsOf(a), tuple({10, 20, 8, 6}));
  EXPECT_EQ(a.part(), tuple({0, 0, 5, 7}));
  EXPECT_EQ(pixel(a.dump(), 5, 7), tuple({0, 0, 0}));
  HTuple handle;
  EXPECT_EQ(errorOf([&] { OpenWindow(0, 0, 0.4, 4, 0, "visible", "", &handle); }), 1303)
      << "reals round to whole pixels";
}

TEST(Windows, BackgroundShowsFromTheNextClearAndResizingKeepsTheTopLeftAndThePart) {
  TestWindow window(0, 0, 4, 3);
  SetWindowParam(window.handle, "background_color", "#102030");
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({0, 0, 0}));
  ClearWindow(window.handle);
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({16, 32, 48}));
  SetColor(window.handle, "red");
  HObject region;
  GenRectangle1(&region, 0, 0, 2, 3);
  DispObj(region, window.handle);
  SetWindowExtents(window.handle, 5, 6, 6, 2);
  EXPECT_EQ(extentsOf(window), tuple({5, 6, 6, 2}));
  EXPECT_EQ(window.part(), tuple({0, 0, 2, 3}));
  EXPECT_EQ(pixel(window.dump(), 1, 3), tuple({255, 0, 0}));
  EXPECT_EQ(pixel(window.dump(), 1, 5), tuple({16, 32, 48}));
  SetPart(window.handle, 0.5, 1, 10.25, 20);
  HTuple r1, c1, r2, c2;
  GetPart(window.handle, &r1, &c1, &r2, &c2);
  EXPECT_EQ(r1[0].Type() * 10 + c1[0].Type(), eElementTypeDouble * 10 + eElementTypeLong)
      << "the part keeps the kinds of its values";
}

// The header compiled as C (winuser_check.c) lays the monitor record out as C++ does.
TEST(NativeWindows, TheHeaderGivesCTheSameLayout) {
  EXPECT_EQ(winuser_c_monitorinfo_size(), static_cast<int>(sizeof(MONITORINFO)));
}

TEST(WindowFaults, AFailedDrawingDrawsNothing) {
  FaultsCleared cleared;
  TestWindow window(0, 0, 2, 2);
  HObject region;
  GenRectangle1(&region, 0, 0, 1, 1);
  injectFault("DispObj", 9999);
  EXPECT_EQ(errorOf([&] { DispObj(region, window.handle); }), 9999);
  EXPECT_EQ(pixel(window.dump(), 0, 0), tuple({0, 0, 0}));
}

}  // namespace
