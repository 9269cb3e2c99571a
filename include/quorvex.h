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
 *     allocator must match. A parameter-name text is the engine's, never released by the
 *     caller (see 11).
 *  3. Out-parameters. A create function stores NULL before anything else, so its
 *     out-parameter is NULL after a failure. Every other function writes its out-parameter
 *     only as the last step of success and leaves it untouched on failure.
 *  4. NULL. Every release function accepts NULL and then does nothing. Any other NULL
 *     pointer argument is reported, never dereferenced: a function that returns a record
 *     returns a kind-0 record whose message names the function and the argument
 *     ("hcreateTuple: tuple is NULL"); a value function returns 0, 0.0 or NULL; an append
 *     does nothing. Non-NULL handles must be valid, unreleased handles of the right kind: a
 *     handle is the engine object itself, so a released or made-up one is not detected.
 *  5. Threads. The library starts no thread and takes no lock in these functions. A handle
 *     is used by one thread at a time; different handles are independent. Records and
 *     texts may be released on any thread.
 *  6. Texts are NUL-terminated 8-bit strings that the library passes through without any
 *     conversion; what they mean is the engine's. Use UTF-8: the stand-in engine reads names,
 *     paths and string elements as UTF-8 (the vendor's 11.0 engine reads them in the
 *     process's code page, which is UTF-8 on Linux). The language packages send UTF-8.
 *  7. Calling convention: every function and the message callback are cdecl on Windows, for
 *     every compiler and whatever its default (QUORVEX_CALL is __cdecl there), and cdecl on
 *     32-bit x86 elsewhere; other targets have one convention. A consumer may define
 *     QUORVEX_CALL and QUORVEX_API before including this header; the library itself is built
 *     with the definitions below.
 *  8. Integers. The engine's integers are as wide as a pointer: 32 bits on 32-bit targets,
 *     64 bits on 64-bit targets, where procedures compute with them and may return values
 *     beyond 32 bits. The interface passes integers as 32 bits (hgetTupleElemLong); see the
 *     tuple section for reading a wider one.
 *  9. Version. QUORVEX_VERSION_MAJOR, _MINOR, _PATCH and QUORVEX_VERSION_STRING below give
 *     the library's own release (the build reads them from here); the "11.0" of the
 *     library's file name is the engine release it is made for. This header needs no other
 *     file of this project.
 * 10. Callbacks return normally. No exception of any language and no longjmp may leave a
 *     message callback: the library's frames are not built to be unwound by a foreign
 *     runtime. (A C++ exception of the library's own runtime is caught where the message is
 *     delivered; see the message section.)
 * 11. Lifetimes. The library does not tie a call to the program or procedure it was made
 *     from: release calls first. A parameter-name text is the engine's own: the library
 *     hands on the engine's pointer and promises no lifetime for it, so copy it before the
 *     next call into the library. (The stand-in engine keeps it, and a call's procedure
 *     data, until the procedure is released; the vendor's engine documents neither.)
 *
 * The header is C89 and C++98 clean.
 */
#ifndef QUORVEX_H
#define QUORVEX_H

#include <stdint.h>

#define QUORVEX_VERSION_MAJOR 0
#define QUORVEX_VERSION_MINOR 1
#define QUORVEX_VERSION_PATCH 0
#define QUORVEX_VERSION_STRING "0.1.0"

#ifndef QUORVEX_CALL
#if defined(_WIN32)
#define QUORVEX_CALL __cdecl
#elif defined(__i386__)
#define QUORVEX_CALL __attribute__((cdecl))
#else
#define QUORVEX_CALL
#endif
#endif

#ifndef QUORVEX_API
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

/* One failure. Text fields are NULL or NUL-terminated copies owned by the record. Read by
 * position, the layout is:
 *   32-bit targets: eight 4-byte fields at offsets 0, 4, 8, ..., 28; 32 bytes in all.
 *   64-bit targets: kind 0 (4 bytes, then 4 of padding), procName 8, progLineName 16,
 *                   errorCode 24, progLineNum 28, message 32, errorText 40, reserved 48;
 *                   56 bytes in all (pointers are 8 bytes, the integers stay 4). */
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
typedef struct QuorvexProgram* ProgramHandle;
typedef struct QuorvexProgramCall* ProgramCallHandle;
typedef struct QuorvexProcedure* ProcedureHandle;
typedef struct QuorvexProcedureCall* ProcedureCallHandle;

/* Releases a record and its texts; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hclearErrorMsg(ErrorMsg* msg);

/* ---- Initialisation and engine settings ------------------------------------------ */

/* Call once before any program or procedure runs. Sets the system parameters "width" and
 * "height" to 512 and "use_window_thread" to "true", and registers the library's display
 * operators with the engine. Mode 1 also switches the logo overlay on (for good). */
QUORVEX_API ErrorMsg* QUORVEX_CALL hinit(int32_t mode);
/* Does nothing; returns 0. */
QUORVEX_API int32_t QUORVEX_CALL hprepareShutdown(void);
/* Set an engine attribute to one string, or to one integer. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hsetEngineAttribute(const char* name, const char* value);
QUORVEX_API ErrorMsg* QUORVEX_CALL hsetEngineAttributeInt(const char* name, int32_t value);
/* Adds a folder in which external procedures (NAME.hdvp) are looked for. */
QUORVEX_API ErrorMsg* QUORVEX_CALL haddProcedurePath(const char* path);
/* Drops the loaded procedures, so that edited files are read again. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hunloadAllProcedures(void);
/* Stores a new tuple holding the system parameter `query` in *tuple; the caller releases it
 * with hfreeTuple. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hgetsystem(const char* query, TupleHandle* tuple);
/* Not available with this engine: always return a record, which the caller releases with
 * hclearErrorMsg. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hstartDebugServer(void);
QUORVEX_API ErrorMsg* QUORVEX_CALL hstopDebugServer(void);

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
 * of a kind the accessor does not accept gives 0, 0.0 or NULL.
 * hgetTupleElemLong returns an integer element's low 32 bits only: on 64-bit targets an
 * element beyond the 32-bit range comes back cut (2^31 as -2^31, 2^32 + 5 as 5).
 * hgetTupleElemDouble accepts integer elements too and converts them, exactly up to 2^53 in
 * magnitude: read both, and the double gives the value where it lies in that range and
 * agrees with the low 32 bits; otherwise the value cannot be read through this interface
 * (2^53 + 1 converts to 2^53, which the low bits contradict). */
QUORVEX_API int32_t QUORVEX_CALL hgetTupleElemType(TupleHandle tuple, int32_t index);
QUORVEX_API double QUORVEX_CALL hgetTupleElemDouble(TupleHandle tuple, int32_t index);
QUORVEX_API int32_t QUORVEX_CALL hgetTupleElemLong(TupleHandle tuple, int32_t index);
/* A copy of a string element; the caller releases it with hfreeTupleElemString. */
QUORVEX_API char* QUORVEX_CALL hgetTupleElemString_TO_BE_FREED(TupleHandle tuple, int32_t index);
/* Releases a text from hgetTupleElemString_TO_BE_FREED; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hfreeTupleElemString(char* text);
/* Releases a tuple; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hfreeTuple(TupleHandle tuple);

/* ---- Programs and procedures ------------------------------------------------------ */

/* Loads the program file (.hdev) into *program; the caller releases it with hfreeProgram. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hcreateProgram(const char* file, ProgramHandle* program);
/* A call of the program's main procedure in *call; released with hfreeProgramCall. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hcreateProgramCall(ProgramHandle program,
                                                      ProgramCallHandle* call);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprogramcallExecute(ProgramCallHandle call);
/* Release a program or a program call; NULL does nothing. hfreeTuple, hfreeProgram and
 * hfreeProgramCall are one function and release any of the three kinds. */
QUORVEX_API void QUORVEX_CALL hfreeProgram(ProgramHandle program);
QUORVEX_API void QUORVEX_CALL hfreeProgramCall(ProgramCallHandle call);

/* Loads the external procedure NAME (NAME.hdvp in the procedure paths) into *procedure; the
 * caller releases it with hfreeProcedure. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hcreateProcedure(const char* name, ProcedureHandle* procedure);
/* A call of the procedure in *call; the caller releases it with hfreeProcedureCall. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hcreateProcedureCall(ProcedureHandle procedure,
                                                        ProcedureCallHandle* call);
/* Parameter indices are the engine's: the first parameter is 1. The tuple stays the
 * caller's; the call keeps a copy. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedurecallSetInputCtrlParamTuple(ProcedureCallHandle call,
                                                                        int32_t index,
                                                                        TupleHandle tuple);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedurecallExecute(ProcedureCallHandle call);
/* Stores a new tuple with a copy of the output in *tuple; the caller releases it with
 * hfreeTuple. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedurecallGetOutputCtrlParamTuple(ProcedureCallHandle call,
                                                                         int32_t index,
                                                                         TupleHandle* tuple);
/* The number of parameters in each group. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetInputCtrlParamCount(ProcedureHandle procedure,
                                                                    int32_t* count);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetInputIconicParamCount(ProcedureHandle procedure,
                                                                      int32_t* count);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetOutputCtrlParamCount(ProcedureHandle procedure,
                                                                     int32_t* count);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetOutputIconicParamCount(ProcedureHandle procedure,
                                                                       int32_t* count);
/* A parameter's name. The text belongs to the procedure: the caller never releases it. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetInputCtrlParamName(ProcedureHandle procedure,
                                                                   int32_t index,
                                                                   const char** paramName);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetInputIconicParamName(ProcedureHandle procedure,
                                                                     int32_t index,
                                                                     const char** paramName);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetOutputCtrlParamName(ProcedureHandle procedure,
                                                                    int32_t index,
                                                                    const char** paramName);
QUORVEX_API ErrorMsg* QUORVEX_CALL hprocedureGetOutputIconicParamName(ProcedureHandle procedure,
                                                                      int32_t index,
                                                                      const char** paramName);
/* Every parameter is reported with dimension 0: store 0 in *dimension and return 0. The
 * four are one function. */
QUORVEX_API int32_t QUORVEX_CALL hprocedureGetInputCtrlParamDimension(ProcedureHandle procedure,
                                                                      int32_t index,
                                                                      int32_t* dimension);
QUORVEX_API int32_t QUORVEX_CALL hprocedureGetInputIconicParamDimension(ProcedureHandle procedure,
                                                                        int32_t index,
                                                                        int32_t* dimension);
QUORVEX_API int32_t QUORVEX_CALL hprocedureGetOutputCtrlParamDimension(ProcedureHandle procedure,
                                                                       int32_t index,
                                                                       int32_t* dimension);
QUORVEX_API int32_t QUORVEX_CALL hprocedureGetOutputIconicParamDimension(ProcedureHandle procedure,
                                                                         int32_t index,
                                                                         int32_t* dimension);
/* Release a procedure or a procedure call; NULL does nothing. */
QUORVEX_API void QUORVEX_CALL hfreeProcedure(ProcedureHandle procedure);
QUORVEX_API void QUORVEX_CALL hfreeProcedureCall(ProcedureCallHandle call);

/* ---- Windows ---------------------------------------------------------------------- */

/* Non-zero: every window opened from now on loses its frame and covers its monitor. Returns
 * 0. Windows already open are not touched. */
QUORVEX_API int32_t QUORVEX_CALL hsetFullscreen(int32_t enable);
/* Opens a 640 x 480 black window showing the part 0, 0 to 479, 639, which becomes the
 * active window for programs. A refused opening is reported on the standard-error channel,
 * not as a record. Needs hinit first. */
QUORVEX_API ErrorMsg* QUORVEX_CALL hopenDefaultWindow(void);

/* ---- Messages ------------------------------------------------------------------ */

/* A message callback: one NUL-terminated text without a line end, valid until the callback
 * returns. Each message goes to the callback its channel held when the message was sent;
 * replacing a callback or closing a channel later does not redirect it. The callback is
 * entered on the thread that sends the message (for a program's windows, the thread that
 * runs the program), in the order of sending across both channels, and:
 *  - never while the library holds a lock of its own: a message sent under one (the
 *    fullscreen message of a window being opened, a low-level error met while drawing)
 *    waits until the thread releases that lock and is delivered before the operation's next
 *    step: a window's fullscreen message comes before its display settings are applied and
 *    before the program's next line. A low-level error handler called under a lock has
 *    returned to the image-processing library by then;
 *  - never inside another callback on the same thread: what a callback's own calls into the
 *    library send is delivered right after that callback returns.
 * A callback may therefore call any function of this interface, running a program or a
 * procedure and opening the default window included.
 * A C++ exception of the library's own runtime that a callback throws anyway ends the
 * delivery of that message only. A function that can fail and had no record to return then
 * returns a kind-0 record with the exception's text; the three functions below (which always
 * return NULL), the other functions, and display operations on a thread that is inside no
 * function of this interface drop it. */
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
