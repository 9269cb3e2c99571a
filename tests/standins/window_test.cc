// Stand-in windows as the display code relies on them: handles, extents, parts, the
// background and images drawn through the part. Dumps, native windows, monitors and low-level
// error reporting are checked through the library (tests/display, tests/api).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

TEST(Drawing, ImagesGoThroughThePart) {
  TestWindow window(0, 0, 4, 4);
  std::vector<std::uint8_t> pixels = {10, 20, 30, 40};
  SetPart(window.handle, 0, 0, 1, 1);
  DispObj(wrapGray(pixels, 2, 2), window.handle);
  const HObject zoomed = window.dump();
  EXPECT_EQ(pixel(zoomed, 1, 1), tuple({10, 10, 10}));
  EXPECT_EQ(pixel(zoomed, 2, 3), tuple({40, 40, 40}));
  std::vector<std::uint8_t> big(16);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i);
  TestWindow small(0, 0, 2, 2);
  SetPart(small.handle, 0, 0, 3, 3);
  DispObj(wrapGray(big, 4, 4), small.handle);
  EXPECT_EQ(pixel(small.dump(), 1, 0), tuple({13, 13, 13})) << "the pixel under the centre";
  SetLut(small.handle, "inverse");
  DispObj(wrapGray(big, 4, 4), small.handle);
  EXPECT_EQ(pixel(small.dump(), 0, 0), tuple({250, 250, 250}));
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
