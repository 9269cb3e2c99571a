// Controls of the stand-ins that the vendor's libraries do not have: fault injection, the
// marker of code running inside the stand-ins, and object monitors. Shared by both stand-in
// libraries and by tests; the quorvex library itself never includes this header.
#ifndef STANDIN_CONTROLS_H
#define STANDIN_CONTROLS_H

#include <string>

#include "halconcpp/HalconCppBase.h"

namespace HalconCpp {
class HTuple;

namespace Standin {

// Marks the calling thread as running inside the stand-ins for as long as it lives, so that
// the stand-ins' own bookkeeping (tuples they build, operators they call for themselves)
// neither fires nor consumes an injected fault.
class HALCONCPP_API InsideScope {
 public:
  InsideScope();
  ~InsideScope();
  InsideScope(const InsideScope&) = delete;
  InsideScope& operator=(const InsideScope&) = delete;
};

// Marks the calling thread as outside the stand-ins for as long as it lives, restoring its
// depth afterwards. The engine leaves its inside scope this way while it runs the caller's
// display implementation: that code's calls into the stand-ins are the caller's own, so a
// fault armed for them must fire.
class HALCONCPP_API OutsideScope {
 public:
  OutsideScope();
  ~OutsideScope();
  OutsideScope(const OutsideScope&) = delete;
  OutsideScope& operator=(const OutsideScope&) = delete;

 private:
  int savedDepth_;
};

HALCONCPP_API bool calledFromOutside();

// An armed fault as it fires: its error number and, when the arming gave one, the message
// to raise instead of the operation's usual one.
struct Fault {
  Hlong errorCode = 0;
  bool hasMessage = false;
  std::string message;
};

// Consumes one pending fault for `operation` if there is one. Fires regardless of the
// thread's depth: an interpreter calls it for its program's own operator lines.
HALCONCPP_API bool takeFault(const char* operation, Fault* fault);

// The exception a fired fault raises in the image-processing stand-in: the operation's
// usual error for the number, or, with a message given, HException(message, number) with
// no operator name.
[[noreturn]] HALCONCPP_API void raiseFault(const char* operation, const Fault& fault);

// The first statement of every public operation of the image-processing stand-in: entered
// from outside, a pending fault for `operation` raises HException; then the thread counts
// as inside until the scope ends.
class HALCONCPP_API ApiScope {
 public:
  explicit ApiScope(const char* operation);
  ~ApiScope();
  ApiScope(const ApiScope&) = delete;
  ApiScope& operator=(const ApiScope&) = delete;

 private:
  InsideScope inside_;
  const char* outer_;
};

// The operation the caller entered on this thread (as its ApiScope names it), or null
// outside one: what a bound checked deep inside shared code names in its error.
HALCONCPP_API const char* currentOperation();

// Whether set_check's 'give_error' mode is on for the calling thread: the engine lets a
// failing operator line raise only while it is.
HALCONCPP_API bool giveErrorChecked();

// Fires a pending fault for `operation` as HException, whatever the thread's depth.
HALCONCPP_API void raiseFaultIfPending(const char* operation);

// The "standin_fail" control: [Operation, ErrorNumber], [Operation, ErrorNumber, Count] or
// [Operation, ErrorNumber, Count, Message] arms a fault; an empty tuple clears every pending
// one.
HALCONCPP_API void armFaults(const HTuple& value);
HALCONCPP_API HTuple pendingFaults();

// The "standin_fail_nth" control: [Operation, ErrorNumber, N] fails only the N-th call of
// `Operation` from now on (N = 1: the next one). It stays pending until that call comes, so
// a sweep can tell whether a run reached it.
void armNthFault(const HTuple& value);

// The "standin_fail_seen" control: every operation that consulted the fault table (a call
// from outside while any fault is armed) since it was last set, in name order.
void clearSeenOperations(const HTuple& value);
HTuple seenOperations();

// Further controls that a stand-in module adds to the system parameters: SetSystem of
// `name` calls `set` (null: read-only), GetSystem calls `get` (null: write-only).
using ControlSetter = void (*)(const HTuple& value);
using ControlGetter = HTuple (*)();
HALCONCPP_API void registerControl(const char* name, ControlSetter set, ControlGetter get);

// Adds the text of an error number to GetErrorText; each stand-in module registers its own
// numbers when it is loaded.
HALCONCPP_API void registerErrorText(Hlong errorCode, const char* text);

// Live-object monitors, read as the system parameter "standin_live_<kind>".
HALCONCPP_API void countLive(const char* kind, int delta);
HALCONCPP_API Hlong liveCount(const std::string& kind);

}  // namespace Standin
}  // namespace HalconCpp

#endif
