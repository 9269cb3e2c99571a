// The user32 stand-in: Windows user-interface calls on the image-processing stand-in's
// native windows. Every call is added to the "standin_user32_calls" log, its handles and
// numbers in decimal, e.g. "SetWindowPos(65536, 0, 10, 20, 300, 200, 20)".
#include "user32/WinUser.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "standin/native.h"

namespace {

namespace Native = HalconCpp::Standin::Native;

// Monitor handles are opaque: a base value plus the monitor's index.
constexpr std::uintptr_t kMonitorBase = 0x4D000000;

std::uintptr_t handleValue(const void* handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

template <typename... Args>
void logCall(const char* name, const Args&... args) {
  std::string entry = std::string(name) + "(";
  bool first = true;
  ((entry += (first ? "" : ", ") + std::to_string(args), first = false), ...);
  Native::logUser32Call(entry + ")");
}

std::int64_t overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

std::int64_t gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  return std::max<std::int64_t>({0, b0 - a1, a0 - b1});
}

}  // namespace

extern "C" {

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
  logCall("GetWindowLongW", handleValue(hWnd), nIndex);
  Native::WindowState state;
  if (!Native::windowState(handleValue(hWnd), &state)) return 0;
  if (nIndex == GWL_STYLE) return state.style;
  if (nIndex == GWL_EXSTYLE) return state.exStyle;
  return 0;
}

LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
  logCall("SetWindowLongW", handleValue(hWnd), nIndex, dwNewLong);
  if (nIndex != GWL_STYLE && nIndex != GWL_EXSTYLE) return 0;
  std::int32_t previous = 0;
  if (!Native::setStyle(handleValue(hWnd), nIndex == GWL_EXSTYLE, dwNewLong, &previous)) return 0;
  return previous;
}

HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD dwFlags) {
  logCall("MonitorFromWindow", handleValue(hwnd), dwFlags);
  Native::WindowState state;
  if (!Native::windowState(handleValue(hwnd), &state)) return nullptr;
  const std::int64_t left = state.x, top = state.y;
  const std::int64_t right = left + state.cx, bottom = top + state.cy;
  const std::vector<Native::Rect> monitors = Native::monitors();
  std::size_t best = monitors.size();
  std::int64_t bestArea = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const Native::Rect& m = monitors[i];
    const std::int64_t area =
        overlap(left, right, m.left, m.right) * overlap(top, bottom, m.top, m.bottom);
    if (area > bestArea) {
      bestArea = area;
      best = i;
    }
  }
  if (best == monitors.size()) {
    if (dwFlags == MONITOR_DEFAULTTOPRIMARY && !monitors.empty()) best = 0;
    if (dwFlags == MONITOR_DEFAULTTONEAREST) {
      std::int64_t bestDistance = -1;
      for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Native::Rect& m = monitors[i];
        const std::int64_t dx = gap(left, right, m.left, m.right);
        const std::int64_t dy = gap(top, bottom, m.top, m.bottom);
        if (bestDistance < 0 || dx * dx + dy * dy < bestDistance) {
          bestDistance = dx * dx + dy * dy;
          best = i;
        }
      }
    }
  }
  if (best == monitors.size()) return nullptr;
  return reinterpret_cast<HMONITOR>(kMonitorBase + best);
}

BOOL WINAPI GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi) {
  logCall("GetMonitorInfoA", handleValue(hMonitor), handleValue(lpmi));
  if (!lpmi || lpmi->cbSize != sizeof(MONITORINFO)) return FALSE;
  const std::vector<Native::Rect> monitors = Native::monitors();
  const std::uintptr_t value = handleValue(hMonitor);
  if (value < kMonitorBase || value - kMonitorBase >= monitors.size()) return FALSE;
  const std::size_t index = value - kMonitorBase;
  const Native::Rect& m = monitors[index];
  lpmi->rcMonitor = RECT{m.left, m.top, m.right, m.bottom};
  lpmi->rcWork = lpmi->rcMonitor;
  lpmi->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                         UINT uFlags) {
  logCall("SetWindowPos", handleValue(hWnd), handleValue(hWndInsertAfter), X, Y, cx, cy, uFlags);
  return Native::setPosition(handleValue(hWnd), X, Y, cx, cy, uFlags) ? TRUE : FALSE;
}

}  // extern "C"
