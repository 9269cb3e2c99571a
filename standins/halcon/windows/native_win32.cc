// Real native windows for the graphics windows of the Windows build: one window class of the
// stand-in's own, a top-level window per graphics window, created with the style the mode asks
// for and destroyed when the graphics window closes. The stand-in draws into its framebuffer
// only; the native window carries the place, size and style that the system reports.
#include <windows.h>

#include <mutex>

#include "windows/window.h"

namespace HalconCpp {
namespace Standin {

namespace {

constexpr wchar_t kClassName[] = L"QuorvexStandinGraphicsWindow";

HINSTANCE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&kClassName), &module);
  return module;
}

bool registerClass() {
  static std::once_flag once;
  static bool registered = false;
  std::call_once(once, [] {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = thisModule();
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassExW(&windowClass) != 0;
  });
  return registered;
}

}  // namespace

std::uintptr_t createNativeWindow(const Window& window, bool visible) {
  if (!registerClass()) return 0;
  const DWORD style = static_cast<DWORD>(window.style) | (visible ? WS_VISIBLE : 0);
  HWND hwnd = CreateWindowExW(static_cast<DWORD>(window.exStyle), kClassName, L"", style,
                              window.col, window.row, window.width, window.height, nullptr, nullptr,
                              thisModule(), nullptr);
  return reinterpret_cast<std::uintptr_t>(hwnd);
}

void destroyNativeWindow(std::uintptr_t osHandle) {
  HWND hwnd = reinterpret_cast<HWND>(osHandle);
  // Only the creating thread may destroy a window; from any other thread the window is asked
  // to close, which its own thread does when it next handles messages.
  if (hwnd && !DestroyWindow(hwnd)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

}  // namespace Standin
}  // namespace HalconCpp
