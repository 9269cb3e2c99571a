#include "display/fullscreen.h"

#include <atomic>
#include <cstdint>
#include <stdexcept>

#include "display/platform_ui.h"
#include "messages/channels.h"

namespace quorvex::display {
namespace {

// Caption and sizing frame; the four edge styles of the extended style word.
constexpr LONG kFrameStyles = 0x00C40000;
constexpr LONG kEdgeStyles = 0x00020301;
// SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED: keep the stacking place, do not
// activate, and let the changed styles take effect.
constexpr UINT kPositionFlags = 0x34;

// Read once per opening, written by the caller at any time: one aligned byte.
std::atomic<bool> fullscreen{false};

}  // namespace

void setFullscreen(bool on) {
  fullscreen.store(on, std::memory_order_relaxed);
}
bool fullscreenEnabled() {
  return fullscreen.load(std::memory_order_relaxed);
}

void changeWindowFullscreen(const engine::HTuple& window) noexcept {
  try {
    engine::HTuple osWindow, osDisplay;
    HalconCpp::GetOsWindowHandle(window, &osWindow, &osDisplay);
    const engine::Hlong native = osWindow[0].L();
    if (native == 0) {
      throw std::runtime_error("fullscreen: got invalid window handle from GetOsWindowHandle");
    }
    const HWND handle = reinterpret_cast<HWND>(static_cast<std::intptr_t>(native));

    const LONG style = GetWindowLongW(handle, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(handle, GWL_EXSTYLE);
    SetWindowLongW(handle, GWL_STYLE, style & ~kFrameStyles);
    SetWindowLongW(handle, GWL_EXSTYLE, exStyle & ~kEdgeStyles);

    // The whole monitor, not its work area.
    const HMONITOR monitor = MonitorFromWindow(handle, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const int left = info.rcMonitor.left;
    const int top = info.rcMonitor.top;
    const int width = info.rcMonitor.right - info.rcMonitor.left;
    const int height = info.rcMonitor.bottom - info.rcMonitor.top;

    HalconCpp::SetWindowExtents(window, engine::HTuple(static_cast<engine::Hlong>(top)),
                                engine::HTuple(static_cast<engine::Hlong>(left)),
                                engine::HTuple(static_cast<engine::Hlong>(width)),
                                engine::HTuple(static_cast<engine::Hlong>(height)));
    SetWindowPos(handle, nullptr, left, top, width, height, kPositionFlags);
  } catch (const std::runtime_error& e) {
    messages::writeStdErr(e.what());
  } catch (...) {
    messages::writeStdErr("unknown error in changeWindowFullscreen");
  }
}

}  // namespace quorvex::display
