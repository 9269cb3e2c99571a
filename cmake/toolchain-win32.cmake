# 32-bit Windows with mingw-w64, the library's real target. Debian's i686 compilers unwind
# with DWARF-2 tables, which each module registers with "its" unwinder when it loads. An
# exception thrown in one DLL and caught in another only unwinds when all of them share one
# unwinder, so the unwinder is the one shared runtime DLL (libgcc_s_dw2-1.dll, installed
# beside the others); the C++ library and winpthread stay static in every module. Nothing
# 32-bit runs on this machine's kernel, so there is no emulator.
set(QUORVEX_MINGW_TRIPLE i686-w64-mingw32)
set(QUORVEX_MINGW_RUNTIME_FLAGS
    "-static-libstdc++ -shared-libgcc -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
# Doubles in SSE2 registers rather than the x87 unit, whose double rounding would make reals
# differ by a bit from the other builds (see toolchain-i386.cmake).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake")
