# 64-bit Windows with mingw-w64. x86_64 unwinds through the system's table-based SEH, which
# every module registers with Windows itself, so each module can carry its own static copy of
# the whole runtime (C++ library, unwinder, winpthread): only system DLLs are imported.
set(QUORVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(QUORVEX_MINGW_RUNTIME_FLAGS "-static")
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake")
# wine64 lives in wine's library folder, not on the PATH.
find_program(QUORVEX_WINE64 wine64 PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine)
if(QUORVEX_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${QUORVEX_WINE64}")
endif()
