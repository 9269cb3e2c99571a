// Stand-in windows as the display code relies on them: handles, extents, parts, settings,
// drawing through the part, dumps, the call log, the native windows of the user32 stand-in,
// monitors and low-level error reporting.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "standins/window_test_support.h"
#include "user32/WinUser.h"

extern "C" int winuser_c_monitorinfo_size(void);
extern "C" LONG winuser_c_style_of(HWND window);

namespace {

using namespace HalconCpp;
using namespace quorvex::test;
using Picture = std::vector<std::string>;

HTuple extentsOf(const TestWindow& window) {
  HTuple row, col, width, height;
  GetWindowExtents(window.handle, &row, &col, &width, &height);
  return row.Append(col).Append(width).Append(height);
}

HWND hwndOf(const TestWindow& window) {
  HTuple os;
  GetOsWindowHandle(window.handle, &os, nullptr);
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(os.L()));
}

HTuple range(const HTuple& values, Hlong from, Hlong to) {
  HTuple out;
  for (Hlong i = from; i <= to; ++i) out.Append(values[i]);
  return out;
}

// The native record of a window: [NativeHandle, Style, ExStyle, X, Y, Cx, Cy, PosFlags].
HTuple nativeRecord(const TestWindow& window) {
  HTuple native, record;
  GetSystem("standin_native_windows", &native);
  for (Hlong i = 0; i + 8 < native.Length(); i += 9) {
    if (native[i].L() != window.handle.L()) continue;
    for (Hlong j = 1; j < 9; ++j) record.Append(native[i + j]);
  }
  return record;
}

// One channel's rows, '#' where the value is `on`.
Picture picture(const HObject& image, Hlong channel, Hlong on) {
  HTuple width, height;
  GetImageSize(image, &width, &height);
  HObject single;
  AccessChannel(image, &single, channel);
  Picture rows;
  for (Hlong r = 0; r < height.L(); ++r) {
    std::string row;
    for (Hlong c = 0; c < width.L(); ++c) row += pixel(single, r, c)[0].L() == on ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
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

TEST(Drawing, RegionsAndContoursFollowTheSettings) {
  TestWindow window(0, 0, 8, 6);
  HObject rectangle, line, squares;
  GenRectangle1(&rectangle, 0, 1, 5, 6);
  SetDraw(window.handle, "margin");
  SetColor(window.handle, "green");
  SetLineWidth(window.handle, 2);
  DispObj(rectangle, window.handle);
  EXPECT_EQ(picture(window.dump(), 2, 255),
            (Picture{".######.", ".######.", ".##..##.", ".##..##.", ".######.", ".######."}));
  ClearWindow(window.handle);
  SetLineWidth(window.handle, 1);
  GenContourPolygonXld(&line, HTuple(-1e12).Append(HTuple(1e12)), tuple({3, 3}));
  DispObj(line, window.handle);  // far points are clipped, not walked
  EXPECT_EQ(picture(window.dump(), 2, 255), Picture(6, "...#...."));
  GenRectangle1(&squares, tuple({0, 0, 0, 0}), tuple({0, 2, 4, 6}), tuple({0, 0, 0, 0}),
                tuple({0, 2, 4, 6}));
  SetColored(window.handle, 3);
  DispObj(squares, window.handle);
  EXPECT_EQ(pixel(window.dump(), 0, 2).Append(pixel(window.dump(), 0, 6)),
            tuple({0, 255, 0, 255, 0, 0}));
  SetColored(window.handle, 12);
  HObject seven;
  GenRectangle1(&seven, tuple({1, 1, 1, 1, 1, 1, 1}), tuple({0, 1, 2, 3, 4, 5, 6}),
                tuple({1, 1, 1, 1, 1, 1, 1}), tuple({0, 1, 2, 3, 4, 5, 6}));
  SetDraw(window.handle, "fill");
  DispObj(seven, window.handle);
  EXPECT_EQ(pixel(window.dump(), 1, 6), tuple({105, 105, 105})) << "the seventh of twelve";
  SetShape(window.handle, "rectangle1");
  SetColor(window.handle, "white");
  GenCircle(&rectangle, 3.0, 3.0, 2.0);
  DispObj(rectangle, window.handle);
  EXPECT_EQ(pixel(window.dump(), 1, 1), tuple({255, 255, 255}));
}

TEST(Dumps, ChannelCountFollowsTheControlAndDumpsAreCopies) {
  struct Restore {
    ~Restore() { SetSystem("standin_dump_channels", 3); }
  } restore;
  TestWindow window(0, 0, 3, 2);
  SetWindowParam(window.handle, "background_color", "#0a141e");
  ClearWindow(window.handle);
  const HTuple all = tuple({10, 20, 30, 255});
  for (Hlong channels = 0; channels <= 4; ++channels) {
    SetSystem("standin_dump_channels", channels);
    HObject dump = window.dump();
    HTuple count;
    CountChannels(dump, &count);
    EXPECT_EQ(count, HTuple(channels));
    if (channels) {
      EXPECT_EQ(pixel(dump, 1, 2), range(all, 0, channels - 1));
    }
  }
  SetSystem("standin_dump_channels", 3);
  const HObject before = window.dump();
  SetColor(window.handle, "white");
  HObject region;
  GenRectangle1(&region, 0, 0, 1, 2);
  DispObj(region, window.handle);
  EXPECT_EQ(pixel(before, 0, 0), tuple({10, 20, 30}));
}

TEST(NativeWindows, StylesPositionsAndTheirRecord) {
  TestWindow window(10, 20, 30, 40);
  const HWND hwnd = hwndOf(window);
  const LONG overlapped = static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), overlapped);
  EXPECT_EQ(winuser_c_style_of(hwnd), overlapped);
  EXPECT_EQ(SetWindowLongW(hwnd, GWL_EXSTYLE, 0), WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
  EXPECT_EQ(SetWindowPos(hwnd, HWND_TOP, 100, 200, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE), TRUE);
  EXPECT_EQ(extentsOf(window), tuple({200, 100, 64, 48}));
  EXPECT_EQ(SetWindowPos(hwnd, nullptr, 0, 0, 32, 16, SWP_NOMOVE), TRUE);
  EXPECT_EQ(range(nativeRecord(window), 1, 7),
            tuple({overlapped, 0, 100, 200, 32, 16, SWP_NOMOVE}));
  SetWindowExtents(window.handle, 30, 40, 50, 60);
  EXPECT_EQ(range(nativeRecord(window), 3, 6), tuple({40, 30, 50, 60}));
  EXPECT_EQ(SetWindowPos(hwnd, nullptr, 0, 0, 0, 16, SWP_NOMOVE), FALSE);

  SetSystem("standin_user32_calls", HTuple());
  GetWindowLongW(hwnd, GWL_EXSTYLE);
  HTuple calls;
  GetSystem("standin_user32_calls", &calls);
  EXPECT_EQ(calls, HTuple(("GetWindowLongW(" +
                           std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)) + ", -20)")
                              .c_str()));
  struct Restore {
    ~Restore() { SetSystem("standin_null_os_handle", "false"); }
  } restore;
  SetSystem("standin_null_os_handle", "true");
  EXPECT_EQ(hwndOf(window), nullptr);
}

TEST(NativeWindows, MonitorsNearestAndPrimary) {
  struct Restore {
    ~Restore() { SetSystem("standin_monitors", tuple({0, 0, 1920, 1080})); }
  } restore;
  SetSystem("standin_monitors", tuple({0, 0, 1920, 1080, 1920, 0, 3200, 1024}));
  const auto leftOf = [](HWND hwnd, DWORD flags) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    return GetMonitorInfoA(MonitorFromWindow(hwnd, flags), &info) ? info.rcMonitor.left : -1;
  };
  TestWindow window(100, 1800, 400, 300);  // 120 columns on the first, 280 on the second
  EXPECT_EQ(leftOf(hwndOf(window), MONITOR_DEFAULTTONULL), 1920);
  SetWindowExtents(window.handle, 2000, 3000, 100, 100);  // off every monitor
  EXPECT_EQ(MonitorFromWindow(hwndOf(window), MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(leftOf(hwndOf(window), MONITOR_DEFAULTTONEAREST), 1920);
  EXPECT_EQ(leftOf(hwndOf(window), MONITOR_DEFAULTTOPRIMARY), 0);
  EXPECT_EQ(winuser_c_monitorinfo_size(), 40);
  MONITORINFO info{};
  info.cbSize = 36;
  EXPECT_EQ(GetMonitorInfoA(MonitorFromWindow(hwndOf(window), MONITOR_DEFAULTTOPRIMARY), &info),
            FALSE);
}

std::string reported;
int WINAPI lowLevelHandler(const char* text) {
  reported += text;
  reported += ';';
  return 0;
}

TEST(LowLevelErrors, TheInstalledCallbackReceivesTheTexts) {
  struct Restore {
    ~Restore() { SetSystem("do_low_error", "false"); }
  } restore;
  reported.clear();
  SetSystem("standin_low_level_error", "nobody listens");
  const auto address = static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(&lowLevelHandler));
  SetSystem("do_low_error", HTuple("callback").Append(HTuple(address)));
  SetSystem("standin_low_level_error", "first");
  SetSystem("standin_low_level_error", "second");
  SetSystem("do_low_error", "false");
  SetSystem("standin_low_level_error", "third");
  EXPECT_EQ(reported, "first;second;");
  EXPECT_EQ(errorOf([&] { SetSystem("do_low_error", HTuple("callback").Append(HTuple(0))); }),
            1302);
}

TEST(WindowFaults, AFailedDrawingDrawsNothing) {
  FaultsCleared cleared;
  TestWindow window(0, 0, 2, 2);
  HObject region;
  GenRectangle1(&region, 0, 0, 1, 1);
  armFault("DispObj", 9999);
  EXPECT_EQ(errorOf([&] { DispObj(region, window.handle); }), 9999);
  EXPECT_EQ(pixel(window.dump(), 0, 0), tuple({0, 0, 0}));
}

}  // namespace
