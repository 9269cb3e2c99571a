// The process-wide table of graphics windows. Each window is an RGB framebuffer with its
// place on the screen, its native window's style words, a part and drawing settings. One
// mutex guards the whole table; operations run their work on a window while holding it.
#ifndef QUORVEX_STANDINS_HALCON_WINDOW_H
#define QUORVEX_STANDINS_HALCON_WINDOW_H

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/handle_table.h"
#include "core/memory_bounds.h"
#include "core/params.h"
#include "core/runs.h"
#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"
#include "windows/colors.h"

namespace HalconCpp {
namespace Standin {

// The largest side of a window, so that a framebuffer stays within 32-bit memory.
constexpr std::int32_t kMaxWindowSide = 8192;

struct Window {
  Hlong handle = 0;
  std::uintptr_t osHandle = 0;  // the native window's HWND as an integer
  // Extents: the window's place on the screen; the native window's X, Y, cx, cy.
  std::int32_t row = 0;
  std::int32_t col = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> planes[3];  // red, green, blue; width x height each
  PixelReservation reservation;         // the planes' share of "standin_pixel_limit"
  Rgb background{0, 0, 0};
  HTuple part;  // Row1, Column1, Row2, Column2, each as the caller gave it

  // Drawing settings.
  bool fill = true;  // SetDraw 'fill' or 'margin'
  std::string shape = "original";
  int colored = 0;  // 3, 6 or 12 while SetColored was the latest; 0 after SetColor
  std::vector<Rgb> colors{Rgb{255, 255, 255}};
  std::string lut = "default";  // the LUT's name; "" while lutValues holds the table
  HTuple lutValues;             // set_lut with values: red, green, blue per entry
  double lutHue = 0.0;          // set_lut_style
  double lutSaturation = 1.0;
  double lutIntensity = 1.0;
  bool fixedLut = false;  // set_fixed_lut
  std::string textCursor = "invisible";
  std::string mouseCursor = "arrow";
  HTuple paint = HTuple("default");
  int lineWidth = 1;
  // The colours as set_color, set_rgb, set_gray or set_colored named them, for get_color.
  std::vector<std::string> colorNames{"white"};
  std::vector<Hlong> lineStyle;  // set_line_style: drawn, skipped, ... pixels; empty is solid
  std::string insert = "copy";   // set_insert
  std::string comprise = "object";
  std::string fix = "true";  // set_fix
  int partStyle = 0;
  int lineApprox = 0;
  Runs icon;         // set_icon
  std::string type;  // set_window_type's type when the window opened

  // Text output: the position of the next WriteString in image coordinates, the column that
  // NewLine returns to, and the font as SetFont gave it with the pixel height it means.
  double textRow = 0;
  double textCol = 0;
  double lineStartCol = 0;
  std::string font = "-Courier New-16-*-*-*-*-*-";
  int fontHeight = 16;
  bool fontBold = false;

  // The native window's style words and the flags of its latest SetWindowPos.
  std::int32_t style = 0;
  std::int32_t exStyle = 0;
  std::uint32_t posFlags = 0;

  std::size_t pixelCount() const {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
  // Fills the framebuffer with the background colour.
  void clear();
  // New size: the content keeps its top-left, the rest shows the background. Raises 6001 in
  // `op` when the new planes would pass "standin_pixel_limit"; a null `op` (a size the
  // native window already has) never raises.
  void resize(std::int32_t newWidth, std::int32_t newHeight, const char* op = nullptr);
};

class WindowTable {
 public:
  // Adds a window and gives it the next handle, and the next made-up native handle unless it
  // has a native window of its own. Raises 5101 in `op` when "standin_window_limit" windows
  // are open.
  Hlong add(Window window, const char* op);
  // Raises 5100 in `op` for a handle that is not open.
  void remove(Hlong handle, const char* op);

  // Runs fn(Window&) under the table's lock; raises 5100 in `op` for a handle that is not
  // open.
  template <typename Fn>
  decltype(auto) with(Hlong handle, const char* op, Fn&& fn) {
    return windows_.with(
        handle, [op] { missing(op); }, std::forward<Fn>(fn));
  }

  // The same by native handle; false when no open window has it.
  template <typename Fn>
  bool withNative(std::uintptr_t osHandle, Fn&& fn) {
    return windows_.any([&](Window& window) {
      if (window.osHandle != osHandle) return false;
      fn(window);
      return true;
    });
  }

  template <typename Fn>
  void forEach(Fn&& fn) {
    windows_.forEach(std::forward<Fn>(fn));
  }

 private:
  [[noreturn]] static void missing(const char* op);

  quorvex::common::HandleTable<Hlong, Window> windows_{3600};
  // Made-up native handles for windows without a native window of their own.
  std::atomic<std::uintptr_t> nextOsHandle_{0x10000};
};

WindowTable& windowTable();

// The type and background set_window_type and set_window_attr chose for new windows.
void applyWindowDefaults(Window* window);

// New drawing colours with the names get_color gives for them; SetColored's cycle ends.
inline void setColors(Window& window, std::vector<Rgb> colors, std::vector<std::string> names) {
  window.colors = std::move(colors);
  window.colorNames = std::move(names);
  window.colored = 0;
}

// The handle of a window operation's first control parameter: one integer, else 1401/1201.
Hlong handleOf(const HTuple& windowHandle, const char* op);

// The call log ("standin_call_log"): records window operations with their arguments while
// recording is on.
bool callLogRecording();
void logCall(const std::string& entry);
std::string argText(const HTuple& value);
std::string argText(const HObject& value);

// Builds "Name(arg, arg, ...)" and logs it, only while recording.
template <typename... Args>
void logWindowCall(const char* name, const Args&... args) {
  if (!callLogRecording()) return;
  std::string entry = std::string(name) + "(";
  bool first = true;
  ((entry += (first ? "" : ", ") + argText(args), first = false), ...);
  logCall(entry + ")");
}

// The native window behind a graphics window. On Windows it is a real top-level window of
// the stand-in's own window class, so that the system's user-interface calls work on the
// handle GetOsWindowHandle returns; creation returns 0 when the system refuses. Elsewhere
// there is none: the table hands out made-up handles that the user32 stand-in knows.
#if defined(_WIN32)
std::uintptr_t createNativeWindow(const Window& window, bool visible);
void destroyNativeWindow(std::uintptr_t osHandle);
#else
inline std::uintptr_t createNativeWindow(const Window&, bool) {
  return 0;
}
inline void destroyNativeWindow(std::uintptr_t) {}
#endif

// The "standin_null_os_handle" control.
bool nullOsHandle();

}  // namespace Standin
}  // namespace HalconCpp

#endif
