// The native side of stand-in windows: the user32 stand-in, monitors, the native handle and
// low-level error reporting.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "standins/window_test_support.h"
#include "user32/WinUser.h"

extern "C" int winuser_c_monitorinfo_size(void);
extern "C" LONG winuser_c_style_of(HWND window);

namespace {

using namespace HalconCpp;
using namespace quorvex::test;

HWND hwndOf(const TestWindow& window) {
  HTuple os, display;
  GetOsWindowHandle(window.handle, &os, &display);
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(os.L()));
}

HTuple extentsOf(const TestWindow& window) {
  HTuple row, col, width, height;
  GetWindowExtents(window.handle, &row, &col, &width, &height);
  return row.Append(col).Append(width).Append(height);
}

struct MonitorsRestored {
  ~MonitorsRestored() { SetSystem("standin_monitors", tuple({0, 0, 1920, 1080})); }
};

TEST(NativeWindows, EachWindowHasItsOwnNonZeroNativeHandle) {
  TestWindow a(0, 0, 4, 4), b(0, 0, 4, 4);
  HTuple os, display;
  GetOsWindowHandle(a.handle, &os, &display);
  EXPECT_NE(os.L(), 0);
  EXPECT_EQ(display, HTuple(0));
  EXPECT_NE(hwndOf(a), hwndOf(b));
}

TEST(NativeWindows, TheNullHandleControlMakesTheNativeHandleZero) {
  struct Restore {
    ~Restore() { SetSystem("standin_null_os_handle", "false"); }
  } restore;
  TestWindow window(0, 0, 4, 4);
  SetSystem("standin_null_os_handle", "true");
  HTuple os, value;
  GetOsWindowHandle(window.handle, &os, nullptr);
  EXPECT_EQ(os, HTuple(0));
  GetSystem("standin_null_os_handle", &value);
  EXPECT_EQ(value, HTuple("true"));
  SetSystem("standin_null_os_handle", "false");
  GetOsWindowHandle(window.handle, &os, nullptr);
  EXPECT_NE(os.L(), 0);
  EXPECT_EQ(errorOf([&] { SetSystem("standin_null_os_handle", "yes"); }), 1302);
}

TEST(NativeWindows, NewWindowsHaveTheOverlappedStylesAndTheStylesCanChange) {
  TestWindow window(0, 0, 4, 4);
  const HWND hwnd = hwndOf(window);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE), WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
  EXPECT_EQ(winuser_c_style_of(hwnd), GetWindowLongW(hwnd, GWL_STYLE));

  const LONG borderless = GetWindowLongW(hwnd, GWL_STYLE) & ~(WS_CAPTION | WS_THICKFRAME);
  EXPECT_EQ(SetWindowLongW(hwnd, GWL_STYLE, borderless),
            static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), borderless);
  EXPECT_EQ(SetWindowLongW(hwnd, GWL_EXSTYLE, 0), WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE), 0);
  EXPECT_EQ(GetWindowLongW(hwnd, -21), 0);  // no other index

  HTuple native;
  GetSystem("standin_native_windows", &native);
  bool found = false;
  for (Hlong i = 0; i + 8 < native.Length(); i += 9) {
    if (native[i].L() != window.handle.L()) continue;
    found = true;
    EXPECT_EQ(native[i + 2].L(), borderless);
    EXPECT_EQ(native[i + 3].L(), 0);
  }
  EXPECT_TRUE(found);
}

TEST(NativeWindows, InvisibleWindowsLackTheVisibleStyle) {
  HTuple handle;
  OpenWindow(0, 0, 4, 4, 0, "buffer", "", &handle);
  HTuple os;
  GetOsWindowHandle(handle, &os, nullptr);
  const auto hwnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(os.L()));
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE, 0);
  CloseWindow(handle);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE), 0);  // a closed window is unknown
}

TEST(NativeWindows, SetWindowPosMovesAndResizesTheGraphicsWindow) {
  TestWindow window(10, 20, 30, 40);
  const HWND hwnd = hwndOf(window);
  EXPECT_EQ(SetWindowPos(hwnd, HWND_TOP, 100, 200, 64, 48, SWP_NOZORDER | SWP_NOACTIVATE), TRUE);
  EXPECT_EQ(extentsOf(window), tuple({200, 100, 64, 48}));
  HTuple width;
  GetImageSize(window.dump(), &width, nullptr);
  EXPECT_EQ(width, HTuple(64));

  EXPECT_EQ(SetWindowPos(hwnd, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_FRAMECHANGED), TRUE);
  EXPECT_EQ(extentsOf(window), tuple({6, 5, 64, 48}));
  EXPECT_EQ(SetWindowPos(hwnd, nullptr, 0, 0, 32, 16, SWP_NOMOVE), TRUE);
  EXPECT_EQ(extentsOf(window), tuple({6, 5, 32, 16}));
  EXPECT_EQ(SetWindowPos(hwnd, nullptr, 0, 0, 0, 16, SWP_NOMOVE), FALSE);
  EXPECT_EQ(SetWindowPos(reinterpret_cast<HWND>(std::uintptr_t{8}), nullptr, 0, 0, 1, 1, 0), FALSE);

  HTuple native;
  GetSystem("standin_native_windows", &native);
  for (Hlong i = 0; i + 8 < native.Length(); i += 9) {
    if (native[i].L() != window.handle.L()) continue;
    EXPECT_EQ(native[i + 4].L(), 5);
    EXPECT_EQ(native[i + 5].L(), 6);
    EXPECT_EQ(native[i + 6].L(), 32);
    EXPECT_EQ(native[i + 7].L(), 16);
    EXPECT_EQ(native[i + 8].L(), SWP_NOMOVE);  // the flags of the latest move
  }
}

TEST(NativeWindows, SetWindowExtentsMovesTheNativeWindow) {
  TestWindow window(0, 0, 8, 8);
  const HWND hwnd = hwndOf(window);
  SetWindowExtents(window.handle, 30, 40, 50, 60);
  const HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONULL);
  ASSERT_NE(monitor, nullptr);
  HTuple native;
  GetSystem("standin_native_windows", &native);
  for (Hlong i = 0; i + 8 < native.Length(); i += 9) {
    if (native[i].L() != window.handle.L()) continue;
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(native[i + 1].L())), hwnd);
    EXPECT_EQ(tuple({native[i + 4].L(), native[i + 5].L(), native[i + 6].L(), native[i + 7].L()}),
              tuple({40, 30, 50, 60}));
  }
}

TEST(Monitors, TheWindowBelongsToTheMonitorItOverlapsMost) {
  MonitorsRestored restored;
  SetSystem("standin_monitors", tuple({0, 0, 1920, 1080, 1920, 0, 3200, 1024}));
  HTuple monitors;
  GetSystem("standin_monitors", &monitors);
  EXPECT_EQ(monitors, tuple({0, 0, 1920, 1080, 1920, 0, 3200, 1024}));
  TestWindow window(100, 1800, 400, 300);  // 120 columns on the first, 280 on the second
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_EQ(GetMonitorInfoA(MonitorFromWindow(hwndOf(window), MONITOR_DEFAULTTONULL), &info), TRUE);
  EXPECT_EQ(info.rcMonitor.left, 1920);
  EXPECT_EQ(info.rcMonitor.right, 3200);
  EXPECT_EQ(info.rcWork.bottom, 1024);
  EXPECT_EQ(info.dwFlags, 0u);
}

TEST(Monitors, AWindowOffEveryMonitorFallsBackAsTheFlagsSay) {
  MonitorsRestored restored;
  SetSystem("standin_monitors", tuple({0, 0, 1920, 1080, 1920, 0, 3200, 1024}));
  TestWindow window(2000, 3000, 100, 100);  // below the second monitor, right of the first
  const HWND hwnd = hwndOf(window);
  EXPECT_EQ(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONULL), nullptr);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_EQ(GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info), TRUE);
  EXPECT_EQ(info.rcMonitor.left, 1920);
  ASSERT_EQ(GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info), TRUE);
  EXPECT_EQ(info.rcMonitor.left, 0);
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));

  SetWindowExtents(window.handle, 10, -500, 100, 100);  // left of the first monitor
  ASSERT_EQ(GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info), TRUE);
  EXPECT_EQ(info.rcMonitor.left, 0);
}

TEST(Monitors, GetMonitorInfoChecksTheStructureSize) {
  TestWindow window(0, 0, 10, 10);
  EXPECT_EQ(sizeof(MONITORINFO), 40u);
  EXPECT_EQ(winuser_c_monitorinfo_size(), 40);
  const HMONITOR monitor = MonitorFromWindow(hwndOf(window), MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = 36;
  EXPECT_EQ(GetMonitorInfoA(monitor, &info), FALSE);
  info.cbSize = 44;
  EXPECT_EQ(GetMonitorInfoA(monitor, &info), FALSE);
  info.cbSize = sizeof info;
  EXPECT_EQ(GetMonitorInfoA(monitor, &info), TRUE);
  EXPECT_EQ(info.rcMonitor.right, 1920);
  EXPECT_EQ(GetMonitorInfoA(monitor, nullptr), FALSE);
  EXPECT_EQ(GetMonitorInfoA(nullptr, &info), FALSE);
}

TEST(Monitors, TheControlRejectsMalformedRectangles) {
  MonitorsRestored restored;
  EXPECT_EQ(errorOf([&] { SetSystem("standin_monitors", tuple({0, 0, 10})); }), 1402);
  EXPECT_EQ(errorOf([&] { SetSystem("standin_monitors", HTuple()); }), 1402);
  EXPECT_EQ(errorOf([&] { SetSystem("standin_monitors", tuple({0, 0, 0, 10})); }), 1302);
  EXPECT_EQ(errorOf([&] {
              SetSystem("standin_monitors",
                        HTuple(0.0).Append(HTuple(0)).Append(HTuple(1)).Append(HTuple(1)));
            }),
            1202);
}

TEST(User32Calls, EveryCallIsLoggedWithItsArguments) {
  TestWindow window(0, 0, 4, 4);
  const HWND hwnd = hwndOf(window);
  SetSystem("standin_user32_calls", HTuple());
  GetWindowLongW(hwnd, GWL_EXSTYLE);
  SetWindowPos(hwnd, nullptr, 1, 2, 3, 4, SWP_NOZORDER);
  HTuple calls;
  GetSystem("standin_user32_calls", &calls);
  const std::string h = std::to_string(reinterpret_cast<std::uintptr_t>(hwnd));
  ASSERT_EQ(calls.Length(), 2);
  EXPECT_EQ(calls[0].S().str(), "GetWindowLongW(" + h + ", -20)");
  EXPECT_EQ(calls[1].S().str(), "SetWindowPos(" + h + ", 0, 1, 2, 3, 4, 4)");
  SetSystem("standin_user32_calls", HTuple());
  GetSystem("standin_user32_calls", &calls);
  EXPECT_EQ(calls.Length(), 0);
}

// The handler a caller installs: the convention of a Windows callback.
std::string reported;
int WINAPI lowLevelHandler(const char* text) {
  reported += text;
  reported += ';';
  return 0;
}

TEST(LowLevelErrors, TheInstalledHandlerReceivesTheText) {
  struct Restore {
    ~Restore() { SetSystem("do_low_error", "false"); }
  } restore;
  reported.clear();
  SetSystem("standin_low_level_error", "nobody listens");  // no handler: dropped
  const auto address = static_cast<Hlong>(reinterpret_cast<std::uintptr_t>(&lowLevelHandler));
  HTuple callback = HTuple("callback").Append(HTuple(address));
  SetSystem("do_low_error", callback);
  HTuple value;
  GetSystem("do_low_error", &value);
  EXPECT_EQ(value, callback);
  SetSystem("standin_low_level_error", "first");
  SetSystem("standin_low_level_error", "second");
  EXPECT_EQ(reported, "first;second;");

  SetSystem("do_low_error", "false");  // removes the callback
  SetSystem("standin_low_level_error", "third");
  EXPECT_EQ(reported, "first;second;");
  GetSystem("do_low_error", &value);
  EXPECT_EQ(value, HTuple("false"));

  EXPECT_EQ(errorOf([&] { SetSystem("do_low_error", "maybe"); }), 1302);
  EXPECT_EQ(errorOf([&] { SetSystem("do_low_error", HTuple("callback").Append(HTuple(0))); }),
            1302);
  EXPECT_EQ(errorOf([&] { SetSystem("do_low_error", HTuple("handler").Append(HTuple(1))); }), 1302);
  EXPECT_EQ(errorOf([&] { SetSystem("do_low_error", HTuple("callback").Append(HTuple("f"))); }),
            1202);
  EXPECT_EQ(errorOf([&] { SetSystem("standin_low_level_error", 5); }), 1202);
}

}  // namespace
