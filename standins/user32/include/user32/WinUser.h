/* Stand-in for the few Windows user-interface calls that quorvex makes on a graphics
 * window's native handle, with the Windows names, types, constants and calling convention.
 * Valid C and C++. On Windows the library includes <windows.h> instead; this header is for
 * the other platforms, where the stand-in library "user32" implements the calls over the
 * image-processing stand-in's native windows. */
#ifndef USER32_WINUSER_H
#define USER32_WINUSER_H

/* The Windows API's convention: stdcall on 32-bit x86, the platform's default elsewhere. */
#if defined(__i386__)
#define WINAPI __attribute__((stdcall))
#else
#define WINAPI
#endif

/* Windows' LONG and DWORD are 32 bits everywhere, also where C's long is not. */
typedef int BOOL;
typedef int LONG;
typedef unsigned int DWORD;
typedef unsigned int UINT;

typedef struct HWND__* HWND;
typedef struct HMONITOR__* HMONITOR;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *PRECT, *LPRECT;

typedef struct tagMONITORINFO {
  DWORD cbSize; /* must be sizeof(MONITORINFO), 40 */
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
} MONITORINFO, *LPMONITORINFO;

#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_OVERLAPPEDWINDOW (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400

#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)

#define MONITOR_DEFAULTTONULL 0x00000000
#define MONITOR_DEFAULTTOPRIMARY 0x00000001
#define MONITOR_DEFAULTTONEAREST 0x00000002
#define MONITORINFOF_PRIMARY 0x00000001

#ifdef __cplusplus
extern "C" {
#endif

/* GWL_STYLE or GWL_EXSTYLE of a window; 0 for another index or an unknown window. */
LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex);
/* Sets GWL_STYLE or GWL_EXSTYLE and returns the previous value; 0 on failure. */
LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);
/* The monitor with the largest intersection with the window; without one, NULL, the primary
 * (first) monitor or the nearest, as dwFlags says. NULL for an unknown window. */
HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD dwFlags);
/* Fails unless lpmi->cbSize is sizeof(MONITORINFO). The work area is the whole monitor. */
BOOL WINAPI GetMonitorInfoA(HMONITOR hMonitor, LPMONITORINFO lpmi);
/* Moves (unless SWP_NOMOVE) and resizes (unless SWP_NOSIZE) the window; the graphics window
 * follows: row = Y, column = X, width = cx, height = cy. The flags are recorded. */
BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                         UINT uFlags);

#ifdef __cplusplus
}
#endif

#endif
