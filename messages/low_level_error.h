// The handler through which the image-processing library reports its low-level errors. It
// is handed to that library as an integer address, and called with the stdcall convention
// on 32-bit x86, as the vendor's library calls it.
#ifndef QUORVEX_MESSAGES_LOW_LEVEL_ERROR_H
#define QUORVEX_MESSAGES_LOW_LEVEL_ERROR_H

#if defined(__i386__) || defined(_M_IX86)
#if defined(_MSC_VER)
#define QUORVEX_STDCALL __stdcall
#else
#define QUORVEX_STDCALL __attribute__((stdcall))
#endif
#else
#define QUORVEX_STDCALL
#endif

namespace quorvex::messages {

// Writes "low level error: " followed by `text` to the standard-error channel and returns
// 2, the vendor's success code, whatever the channel did. Never lets an exception out.
int QUORVEX_STDCALL onLowLevelError(const char* text);

// Installs onLowLevelError with the image-processing library ("do_low_error"). Raises what
// the library raises.
void installLowLevelErrorHandler();

}  // namespace quorvex::messages

#endif
