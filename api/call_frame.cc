#include "api/call_frame.h"
#include "api/handles.h"

namespace quorvex::api {

ErrorMsg* errorFromUnexpected(const char* what) {
  try {
    return errorFromText((std::string("unexpected failure: ") + what).c_str());
  } catch (...) {
    return outOfMemoryRecord();
  }
}

// A callback's exception ends the delivery of its own message only: each round delivers
// what still waits, so every message is offered once.
ErrorMsg* deliverPendingMessages(ErrorMsg* record) noexcept {
  while (messages::anyPending()) {
    ErrorMsg* failure = caughtRecord(messages::deliverPending);
    if (!failure) break;
    if (record) {
      releaseRecord(failure);
    } else {
      record = failure;
    }
  }
  return record;
}

void deliverPendingMessages() noexcept {
  releaseRecord(deliverPendingMessages(nullptr));
}

ErrorMsg* nullArgument(const char* exportName, std::initializer_list<Argument> arguments) {
  for (const Argument& argument : arguments) {
    if (argument.value) continue;
    try {
      return errorFromText((std::string(exportName) + ": " + argument.name + " is NULL").c_str());
    } catch (...) {
      return outOfMemoryRecord();
    }
  }
  return nullptr;
}

}  // namespace quorvex::api
