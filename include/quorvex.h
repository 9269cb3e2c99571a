/* quorvex: a flat C interface to the HDevelop engine for scripting languages and
 * foreign-function bridges.
 *
 * Conventions
 *  1. Errors are values. A function that can fail returns an ErrorMsg pointer: NULL means
 *     success, anything else is a record that the caller owns and releases with
 *     hclearErrorMsg. Nothing is kept inside the library about a failure, and no C++
 *     exception ever leaves a function of this interface.
 *  2. Ownership. Every handle a create function stores and every text returned by
 *     hgetTupleElemString_TO_BE_FREED belongs to the caller, who releases it with the
 *     release function named beside the declaration: the library's own, since the
 *     allocator must match. Parameter-name texts belong to the procedure and are never
 *     released by the caller.
 *  3. Out-parameters. A create function stores NULL before anything else, so its
 *     out-parameter is NULL after a failure. Every other function writes its out-parameter
 *     only as the last step of success and leaves it untouched on failure.
 *  4. NULL. Every release function accepts NULL and then does nothing. Other handle
 *     arguments must be valid, unreleased handles of the right kind.
 *  5. Threads. The library starts no thread and takes no lock in these functions. A handle
 *     is used by one thread at a time; different handles are independent. Records and
 *     texts may be released on any thread.
 *  6. Texts are NUL-terminated 8-bit strings, passed through without any conversion.
 *  7. Calling convention: cdecl on 32-bit x86 (QUORVEX_CALL), the platform's default
 *     elsewhere.
 */
#ifndef QUORVEX_H
#define QUORVEX_H

#include <stdint.h>

#if defined(__i386__) || defined(_M_IX86)
#if defined(_MSC_VER)
#define QUORVEX_CALL __cdecl
#else
#define QUORVEX_CALL __attribute__((cdecl))
#endif
#else
#define QUORVEX_CALL
#endif

#if defined(QUORVEX_BUILDING_LIBRARY)
#if defined(_WIN32)
#define QUORVEX_API __declspec(dllexport)
#else
#define QUORVEX_API __attribute__((visibility("default")))
#endif
#elif defined(_WIN32)
#define QUORVEX_API __declspec(dllimport)
#else
#define QUORVEX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Kinds of error record. */
enum {
  ErrorKindMessage = 0, /* a plain text of the library's own */
  ErrorKindHalcon = 1,  /* an image-processing operator failed */
  ErrorKindEngine = 2   /* the HDevelop engine failed, with procedure and line */
};

/* One failure. Eight 32-bit fields on 32-bit targets, read by position. Text fields are
 * NULL or NUL-terminated copies owned by the record. */
typedef struct ErrorMsg {
  int32_t kind;        /* ErrorKindMessage, ErrorKindHalcon or ErrorKindEngine */
  char* procName;      /* operator (kind 1) or executing procedure (kind 2); else NULL */
  char* progLineName;  /* operator or procedure called on the failing line (kind 2) */
  int32_t errorCode;   /* the error number; -1 for kind 0 */
  int32_t progLineNum; /* line in its procedure body from 1 (kind 2); else -1 */
  char* message;       /* the failure's message */
  char* errorText;     /* the error number's standard text, NULL if it has none */
  char* reserved;      /* always NULL */
} ErrorMsg;

/* Opaque handles. */
typedef struct QuorvexTuple* TupleHandle;

/* Releases a record and its texts; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hclearErrorMsg(ErrorMsg* msg);

/* ---- Tuples of integers, reals and strings ---------------------------------------- */

/* Element type codes. */
enum { TupleElemLong = 1, TupleElemDouble = 2, TupleElemString = 4 };

/* Stores a new empty tuple in *tuple; the caller releases it with hfreeTuple. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hcreateTuple(TupleHandle* tuple);
/* Append one element at the end. On failure the tuple is unchanged. */
QUORVEX_API void QUORVEX_CALL happendTupleDouble(TupleHandle tuple, double value);
QUORVEX_API void QUORVEX_CALL happendTupleLong(TupleHandle tuple, int32_t value);
QUORVEX_API void QUORVEX_CALL happendTupleString(TupleHandle tuple, const char* value);
/* The number of elements. */
QUORVEX_API int32_t QUORVEX_CALL hgetTupleLength(TupleHandle tuple);
/* Element access, index from 0. Read the type first: an index out of range or an element
 * of a kind the accessor does not accept gives 0, 0.0 or NULL. */
QUORVEX_API int32_t QUORVEX_CALL hgetTupleElemType(TupleHandle tuple, int32_t index);
QUORVEX_API double QUORVEX_CALL hgetTupleElemDouble(TupleHandle tuple, int32_t index);
QUORVEX_API int32_t QUORVEX_CALL hgetTupleElemLong(TupleHandle tuple, int32_t index);
/* A copy of a string element; the caller releases it with hfreeTupleElemString. */
QUORVEX_API char* QUORVEX_CALL hgetTupleElemString_TO_BE_FREED(TupleHandle tuple, int32_t index);
/* Releases a text from hgetTupleElemString_TO_BE_FREED; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hfreeTupleElemString(char* text);
/* Releases a tuple; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hfreeTuple(TupleHandle tuple);

/* ---- Messages ------------------------------------------------------------------ */

/* A message callback: one NUL-terminated text without a line end, valid until the callback
 * returns. It may be entered on any thread that sends a message. */
typedef void(QUORVEX_CALL* hMessageHandler)(const char* text);

/* Set the standard-output and standard-error callbacks; NULL closes the channel and its
 * messages are dropped. Always return NULL. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hsetStdOutHandler(hMessageHandler handler);
QUORVEX_API ErrorMsg* QUORVEX_CALL hsetStdErrHandler(hMessageHandler handler);
/* 0 switches the informational lines off; any other value switches them on and routes the
 * image-processing library's low-level errors to the standard-error callback (which stays
 * so when switched off again). Always returns NULL. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hsetVerbosity(int32_t verbosity);

#ifdef __cplusplus
}
#endif

#endif /* QUORVEX_H */
