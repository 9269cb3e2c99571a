/* Compiles the user32 stand-in's header as C, as a C caller would include it. */
#include "user32/WinUser.h"

typedef char monitorinfo_is_40_bytes[sizeof(MONITORINFO) == 40 ? 1 : -1];
typedef char rect_is_16_bytes[sizeof(RECT) == 16 ? 1 : -1];

int winuser_c_monitorinfo_size(void) {
  MONITORINFO info;
  info.cbSize = sizeof info;
  return (int)info.cbSize;
}

/* Calls through the header's declaration from C, so that the convention is C's view too. */
LONG winuser_c_style_of(HWND window) {
  return GetWindowLongW(window, GWL_STYLE);
}
