#include "messages/low_level_error.h"

#include <cstdint>

#include "engine/vendor.h"
#include "messages/channels.h"

namespace quorvex::messages {

int QUORVEX_STDCALL onLowLevelError(const char* text) {
  try {
    writeStdErr(assemble("low level error: ", text ? text : "").c_str());
  } catch (...) {
    // Entered from inside the vendor's library: nothing may escape into it.
  }
  return engine::kSuccess;
}

void installLowLevelErrorHandler() {
  engine::HTuple name("do_low_error");
  engine::HTuple value("callback");
  value.Append(engine::HTuple(
      static_cast<engine::Hlong>(reinterpret_cast<std::intptr_t>(&onLowLevelError))));
  HalconCpp::SetSystem(name, value);
}

}  // namespace quorvex::messages
