// The exported-call frame: every export runs its body through one of these two templates,
// so that no C++ exception ever crosses the C boundary and each catch list is stated once.
#ifndef QUORVEX_API_CALL_FRAME_H
#define QUORVEX_API_CALL_FRAME_H

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "api/error_record.h"
#include "messages/pending.h"

namespace quorvex::api {

// Which vendor exceptions an export turns into records of their own kind.
enum class Catches {
  HalconAndEngine,  // HException, then HDevEngineException
  HalconOnly,       // HException only
};

// Builds the kind-0 record for an exception outside the export's catch list.
ErrorMsg* errorFromUnexpected(const char* what);

// Runs `body` and turns what it throws into a record: null when it completes. Exceptions the
// catch list does not name still become records: kind 0 with a message that says what
// escaped.
template <Catches kCatches = Catches::HalconAndEngine, typename Body>
ErrorMsg* caughtRecord(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return nullptr;
  } catch (const engine::HException& e) {
    return errorFromHException(e);
  } catch (const engine::HDevEngineException& e) {
    if constexpr (kCatches == Catches::HalconAndEngine) {
      return errorFromEngineException(e);
    } else {
      return errorFromUnexpected((std::string("engine error: ") + e.Message()).c_str());
    }
  } catch (const std::bad_alloc&) {
    return outOfMemoryRecord();
  } catch (const std::exception& e) {
    return errorFromUnexpected(e.what());
  } catch (...) {
    return errorFromUnexpected("unknown exception");
  }
}

// Runs `body` for an export that returns an error record: null when the body completes, the
// record of the caught exception otherwise. A message callback that threw during the export
// gives the record when the body gave none (messages/pending.h).
template <Catches kCatches = Catches::HalconAndEngine, typename Body>
ErrorMsg* recordFrame(Body&& body) noexcept {
  messages::CallbackFailures callbacks;
  ErrorMsg* record = caughtRecord<kCatches>(std::forward<Body>(body));
  if (std::exception_ptr failure = callbacks.take()) {
    if (!record) record = caughtRecord([&] { std::rethrow_exception(failure); });
  }
  return record;
}

// Runs `body` for an export that returns a value and has no record to report in: any
// exception gives `fallback` instead.
template <typename Result, typename Body>
Result valueFrame(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

// The same for an export without a result; tells whether the body completed.
template <typename Body>
bool voidFrame(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace quorvex::api

#endif
