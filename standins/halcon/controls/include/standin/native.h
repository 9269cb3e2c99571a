// The stand-in's native windows, for the stand-in of the Windows user-interface calls
// (standins/user32): every graphics window has a native window, whose handle is the value
// GetOsWindowHandle returns, with style words, a position and a size. Moving or resizing the
// native window moves or resizes the graphics window and the other way round. Not part of
// the vendor's interface; the quorvex library never includes this header.
#ifndef STANDIN_NATIVE_H
#define STANDIN_NATIVE_H

#include <cstdint>
#include <string>
#include <vector>

#include "halconcpp/HalconCppBase.h"

namespace HalconCpp {
namespace Standin {
namespace Native {

struct Rect {
  std::int32_t left;
  std::int32_t top;
  std::int32_t right;  // exclusive, as Windows' RECT
  std::int32_t bottom;
};

struct WindowState {
  std::int32_t style;
  std::int32_t exStyle;
  std::int32_t x;  // = the graphics window's column
  std::int32_t y;  // = its row
  std::int32_t cx;
  std::int32_t cy;
  std::uint32_t posFlags;  // the flags of the latest setPosition, 0 before any
};

// The SetWindowPos flags that setPosition honours; every flag is recorded.
constexpr std::uint32_t kNoSize = 0x1;
constexpr std::uint32_t kNoMove = 0x2;

// Each returns false for a native handle that no open window has.
HALCONCPP_API bool windowState(std::uintptr_t hwnd, WindowState* state);
// Sets GWL_STYLE (extended false) or GWL_EXSTYLE and reports the previous value.
HALCONCPP_API bool setStyle(std::uintptr_t hwnd, bool extended, std::int32_t value,
                            std::int32_t* previous);
// Moves (unless kNoMove) and resizes (unless kNoSize) the window; false also for a size
// below 1 or above the largest window side when the size is applied.
HALCONCPP_API bool setPosition(std::uintptr_t hwnd, std::int32_t x, std::int32_t y, std::int32_t cx,
                               std::int32_t cy, std::uint32_t flags);

// The monitors of the "standin_monitors" control; the first is the primary one.
HALCONCPP_API std::vector<Rect> monitors();

// Adds an entry to the "standin_user32_calls" log.
HALCONCPP_API void logUser32Call(const std::string& call);

}  // namespace Native
}  // namespace Standin
}  // namespace HalconCpp

#endif
