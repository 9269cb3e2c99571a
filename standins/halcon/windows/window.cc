// The window table and the operators that open, close, place and frame windows.
#include "windows/window.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "halconcpp/HOperatorsWindow.h"
#include "standin/controls.h"

namespace HalconCpp {
namespace Standin {

namespace {

// The native window's style words as Windows gives a new top-level window: an overlapped
// window with caption and frame, visible unless opened "invisible" or as a "buffer".
constexpr std::int32_t kOverlappedWindow = 0x00CF0000;
constexpr std::int32_t kVisible = 0x10000000;
constexpr std::int32_t kWindowEdgeClientEdge = 0x00000100 | 0x00000200;

// Screen positions are bounded like region coordinates.
constexpr Hlong kMaxPosition = 100000;

}  // namespace

void Window::clear() {
  const std::uint8_t values[3] = {background.red, background.green, background.blue};
  for (int c = 0; c < 3; ++c) planes[c].assign(pixelCount(), values[c]);
}

void Window::resize(std::int32_t newWidth, std::int32_t newHeight, const char* op) {
  reservation.change(
      3 * static_cast<std::uint64_t>(newWidth) * static_cast<std::uint64_t>(newHeight), op);
  const std::uint8_t values[3] = {background.red, background.green, background.blue};
  const auto keptWidth = static_cast<std::size_t>(std::min(width, newWidth));
  const std::int32_t keptRows = std::min(height, newHeight);
  for (int c = 0; c < 3; ++c) {
    std::vector<std::uint8_t> resized(
        static_cast<std::size_t>(newWidth) * static_cast<std::size_t>(newHeight), values[c]);
    for (std::int32_t y = 0; y < keptRows; ++y) {
      std::memcpy(resized.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(newWidth),
                  planes[c].data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                  keptWidth);
    }
    planes[c] = std::move(resized);
  }
  width = newWidth;
  height = newHeight;
}

Hlong WindowTable::add(Window window, const char* op) {
  return windows_.add(std::move(window), [&](Hlong handle, Window& admitted, std::size_t count) {
    checkWindowCount(count, op);
    admitted.handle = handle;
    if (admitted.osHandle == 0) admitted.osHandle = nextOsHandle_.fetch_add(0x100);
  });
}

void WindowTable::remove(Hlong handle, const char* op) {
  if (!windows_.remove(handle)) missing(op);
}

void WindowTable::missing(const char* op) {
  fail(op, H_ERR_WINDOW_HANDLE);
}

WindowTable& windowTable() {
  static WindowTable* table = new WindowTable;  // outlives every static destructor
  return *table;
}

Hlong handleOf(const HTuple& windowHandle, const char* op) {
  return oneInteger(windowHandle, op, 1);
}

}  // namespace Standin

using namespace Standin;

namespace {

// Positions and sizes are pixels; a real value is rounded to the nearest one, as the
// vendor converts reals given for integer parameters.
double pixelsOf(const HTuple& value, const char* op, int n, double low, double high) {
  const double pixels = std::round(oneNumber(value, op, n));
  if (!(pixels >= low && pixels <= high)) fail(op, 1300 + n);
  return pixels;
}

std::int32_t positionOf(const HTuple& value, const char* op, int n) {
  return static_cast<std::int32_t>(pixelsOf(value, op, n, -static_cast<double>(kMaxPosition),
                                            static_cast<double>(kMaxPosition)));
}

std::int32_t sideOf(const HTuple& value, const char* op, int n) {
  return static_cast<std::int32_t>(pixelsOf(value, op, n, 1, kMaxWindowSide));
}

HTuple fullPart(std::int32_t width, std::int32_t height) {
  HTuple part(Hlong{0});
  part.Append(HTuple(Hlong{0}));
  part.Append(HTuple(static_cast<Hlong>(height - 1)));
  part.Append(HTuple(static_cast<Hlong>(width - 1)));
  return part;
}

}  // namespace

void OpenWindow(const HTuple& Row, const HTuple& Column, const HTuple& Width, const HTuple& Height,
                const HTuple& FatherWindow, const HTuple& Mode, const HTuple& Machine,
                HTuple* WindowHandle) {
  ApiScope scope("OpenWindow");
  logWindowCall("OpenWindow", Row, Column, Width, Height, FatherWindow, Mode, Machine);
  const char* op = "open_window";
  Window window;
  window.row = positionOf(Row, op, 1);
  window.col = positionOf(Column, op, 2);
  window.width = sideOf(Width, op, 3);
  window.height = sideOf(Height, op, 4);
  // Only top-level windows: the stand-in has no father windows to nest in.
  if (oneInteger(FatherWindow, op, 5) != 0) fail(op, 1305);
  const std::string mode = oneString(Mode, op, 6);
  if (mode != "visible" && mode != "invisible" && mode != "buffer") fail(op, 1306);
  if (!oneString(Machine, op, 7).empty()) fail(op, 1307);
  window.style = kOverlappedWindow | (mode == "visible" ? kVisible : 0);
  window.exStyle = kWindowEdgeClientEdge;
  window.part = fullPart(window.width, window.height);
  applyWindowDefaults(&window);
  window.reservation.change(3 * static_cast<std::uint64_t>(window.pixelCount()), op);
  window.clear();
#if defined(_WIN32)
  window.osHandle = createNativeWindow(window, mode == "visible");
  if (window.osHandle == 0) fail(op, H_ERR_NO_MEMORY);
#endif
  const std::uintptr_t osHandle = window.osHandle;
  Hlong handle = 0;
  try {
    handle = windowTable().add(std::move(window), op);
  } catch (...) {
    // A window the table refuses (too many open) must not leave its native window behind.
    destroyNativeWindow(osHandle);
    throw;
  }
  countLive("windows", 1);
  setOutput(WindowHandle, HTuple(handle));
}

void CloseWindow(const HTuple& WindowHandle) {
  ApiScope scope("CloseWindow");
  logWindowCall("CloseWindow", WindowHandle);
  const char* op = "close_window";
  const Hlong handle = handleOf(WindowHandle, op);
  std::uintptr_t osHandle = 0;
  windowTable().with(handle, op, [&](Window& window) { osHandle = window.osHandle; });
  windowTable().remove(handle, op);
  destroyNativeWindow(osHandle);
  countLive("windows", -1);
}

void ClearWindow(const HTuple& WindowHandle) {
  ApiScope scope("ClearWindow");
  logWindowCall("ClearWindow", WindowHandle);
  windowTable().with(handleOf(WindowHandle, "clear_window"), "clear_window",
                     [](Window& window) { window.clear(); });
}

void SetWindowParam(const HTuple& WindowHandle, const HTuple& Param, const HTuple& Value) {
  ApiScope scope("SetWindowParam");
  logWindowCall("SetWindowParam", WindowHandle, Param, Value);
  const char* op = "set_window_param";
  const Hlong handle = handleOf(WindowHandle, op);
  if (oneString(Param, op, 2) != "background_color") fail(op, 1302);
  Rgb color;
  if (!parseColor(oneString(Value, op, 3), &color)) fail(op, 1303);
  // The new background shows from the next ClearWindow or resize on, as the vendor's does.
  windowTable().with(handle, op, [&](Window& window) { window.background = color; });
}

void SetWindowExtents(const HTuple& WindowHandle, const HTuple& Row, const HTuple& Column,
                      const HTuple& Width, const HTuple& Height) {
  ApiScope scope("SetWindowExtents");
  logWindowCall("SetWindowExtents", WindowHandle, Row, Column, Width, Height);
  const char* op = "set_window_extents";
  const Hlong handle = handleOf(WindowHandle, op);
  const std::int32_t row = positionOf(Row, op, 2);
  const std::int32_t col = positionOf(Column, op, 3);
  const std::int32_t width = sideOf(Width, op, 4);
  const std::int32_t height = sideOf(Height, op, 5);
  windowTable().with(handle, op, [&](Window& window) {
    window.resize(width, height, op);
    window.row = row;
    window.col = col;
  });
}

void GetWindowExtents(const HTuple& WindowHandle, HTuple* Row, HTuple* Column, HTuple* Width,
                      HTuple* Height) {
  ApiScope scope("GetWindowExtents");
  logWindowCall("GetWindowExtents", WindowHandle);
  const char* op = "get_window_extents";
  Hlong extents[4];
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) {
    extents[0] = window.row;
    extents[1] = window.col;
    extents[2] = window.width;
    extents[3] = window.height;
  });
  setOutput(Row, HTuple(extents[0]));
  setOutput(Column, HTuple(extents[1]));
  setOutput(Width, HTuple(extents[2]));
  setOutput(Height, HTuple(extents[3]));
}

void GetOsWindowHandle(const HTuple& WindowHandle, HTuple* OSWindowHandle,
                       HTuple* OSDisplayHandle) {
  ApiScope scope("GetOsWindowHandle");
  logWindowCall("GetOsWindowHandle", WindowHandle);
  const char* op = "get_os_window_handle";
  std::uintptr_t osHandle = 0;
  windowTable().with(handleOf(WindowHandle, op), op,
                     [&](Window& window) { osHandle = window.osHandle; });
  if (nullOsHandle()) osHandle = 0;
  setOutput(OSWindowHandle, HTuple(static_cast<Hlong>(osHandle)));
  // Windows has no display connection; the vendor reports 0 there.
  setOutput(OSDisplayHandle, HTuple(Hlong{0}));
}

void SetPart(const HTuple& WindowHandle, const HTuple& Row1, const HTuple& Column1,
             const HTuple& Row2, const HTuple& Column2) {
  ApiScope scope("SetPart");
  logWindowCall("SetPart", WindowHandle, Row1, Column1, Row2, Column2);
  const char* op = "set_part";
  const Hlong handle = handleOf(WindowHandle, op);
  const HTuple* corners[] = {&Row1, &Column1, &Row2, &Column2};
  double values[4];
  HTuple part;
  for (int i = 0; i < 4; ++i) {
    values[i] = oneNumber(*corners[i], op, i + 2);
    if (!(std::fabs(values[i]) <= kMaxPosition)) fail(op, 1302 + i);
    part.Append(*corners[i]);
  }
  if (values[2] < values[0]) fail(op, 1304);
  if (values[3] < values[1]) fail(op, 1305);
  windowTable().with(handle, op, [&](Window& window) { window.part = part; });
}

void GetPart(const HTuple& WindowHandle, HTuple* Row1, HTuple* Column1, HTuple* Row2,
             HTuple* Column2) {
  ApiScope scope("GetPart");
  logWindowCall("GetPart", WindowHandle);
  const char* op = "get_part";
  HTuple part;
  windowTable().with(handleOf(WindowHandle, op), op, [&](Window& window) { part = window.part; });
  HTuple* outputs[] = {Row1, Column1, Row2, Column2};
  for (int i = 0; i < 4; ++i) setOutput(outputs[i], HTuple(part[i]));
}

}  // namespace HalconCpp
