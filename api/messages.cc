#include "api/call_frame.h"
#include "api/export.h"
#include "messages/channels.h"
#include "messages/low_level_error.h"

// These three never fail: each returns null whatever it is given.

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hsetStdOutHandler(hMessageHandler handler) {
  quorvex::messages::setStdOutHandler(handler);
  return nullptr;
}

QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hsetStdErrHandler(hMessageHandler handler) {
  quorvex::messages::setStdErrHandler(handler);
  return nullptr;
}

// Switching off leaves the low-level handler installed: only the informational lines stop.
// Switching on comes first and stays, even when the handler cannot be installed.
QUORVEX_EXPORT ErrorMsg* QUORVEX_CALL hsetVerbosity(int32_t verbosity) {
  namespace messages = quorvex::messages;
  messages::setVerbose(verbosity != 0);
  if (verbosity != 0 && !quorvex::api::voidFrame(messages::installLowLevelErrorHandler)) {
    messages::writeStdErr("could not set \"do_low_error\" handler");
  }
  return nullptr;
}
