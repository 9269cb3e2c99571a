// The platform's user-interface calls for native windows: the real ones on Windows, the
// stand-in's on other systems, with the same names, types and constants.
#ifndef QUORVEX_DISPLAY_PLATFORM_UI_H
#define QUORVEX_DISPLAY_PLATFORM_UI_H

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "user32/WinUser.h"
#endif

#endif
