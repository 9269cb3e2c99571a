/* Compiled by check_header.py in every language mode the header promises, warnings as errors.
 * The checks below are compile-time: a false one declares an array of negative size. */
#include <stddef.h>

#include "quorvex.h"

#define QUORVEX_CHECK(name, holds) typedef char name[(holds) ? 1 : -1]

#if defined(_WIN32) || defined(__i386__)
/* Taking an export's address as an explicitly cdecl pointer fails to compile when the
 * header left the compiler's default (stdcall under -mrtd or /Gz) in place. */
#if defined(_WIN32)
#define CHECK_CDECL __cdecl
#else
#define CHECK_CDECL __attribute__((cdecl))
#endif
typedef ErrorMsg*(CHECK_CDECL* InitFunction)(int32_t mode);
typedef void(CHECK_CDECL* HandlerFunction)(const char* text);
typedef ErrorMsg*(CHECK_CDECL* SetHandlerFunction)(HandlerFunction handler);
static void takeAddresses(void) {
  InitFunction init = hinit;
  SetHandlerFunction setHandler = hsetStdOutHandler;
  hMessageHandler handler = (HandlerFunction)0;
  (void)init;
  (void)setHandler;
  (void)handler;
}
#endif

#if defined(__x86_64__) || defined(_M_X64) || defined(__aarch64__)
QUORVEX_CHECK(kind_first, offsetof(ErrorMsg, kind) == 0);
QUORVEX_CHECK(proc_name_at_8, offsetof(ErrorMsg, procName) == 8);
QUORVEX_CHECK(line_name_at_16, offsetof(ErrorMsg, progLineName) == 16);
QUORVEX_CHECK(code_at_24, offsetof(ErrorMsg, errorCode) == 24);
QUORVEX_CHECK(line_at_28, offsetof(ErrorMsg, progLineNum) == 28);
QUORVEX_CHECK(message_at_32, offsetof(ErrorMsg, message) == 32);
QUORVEX_CHECK(text_at_40, offsetof(ErrorMsg, errorText) == 40);
QUORVEX_CHECK(reserved_at_48, offsetof(ErrorMsg, reserved) == 48);
QUORVEX_CHECK(record_is_56, sizeof(ErrorMsg) == 56);
#else
QUORVEX_CHECK(kind_first, offsetof(ErrorMsg, kind) == 0);
QUORVEX_CHECK(proc_name_at_4, offsetof(ErrorMsg, procName) == 4);
QUORVEX_CHECK(line_name_at_8, offsetof(ErrorMsg, progLineName) == 8);
QUORVEX_CHECK(code_at_12, offsetof(ErrorMsg, errorCode) == 12);
QUORVEX_CHECK(line_at_16, offsetof(ErrorMsg, progLineNum) == 16);
QUORVEX_CHECK(message_at_20, offsetof(ErrorMsg, message) == 20);
QUORVEX_CHECK(text_at_24, offsetof(ErrorMsg, errorText) == 24);
QUORVEX_CHECK(reserved_at_28, offsetof(ErrorMsg, reserved) == 28);
QUORVEX_CHECK(record_is_32, sizeof(ErrorMsg) == 32);
#endif

QUORVEX_CHECK(element_codes, TupleElemLong == 1 && TupleElemDouble == 2 && TupleElemString == 4);

int main(void) {
#if defined(_WIN32) || defined(__i386__)
  takeAddresses();
#endif
  return 0;
}
