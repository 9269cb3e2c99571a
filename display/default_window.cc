#include "display/default_window.h"

#include "messages/channels.h"

namespace quorvex::display {

void openDefaultWindow(HDevOperatorImplCppNative& impl) {
  engine::HDevOperatorImplCpp& operators = impl;
  HTuple window;
  int result = operators.DevOpenWindow(HTuple(0), HTuple(0), HTuple(640), HTuple(480),
                                       HTuple("black"), &window);
  if (result != engine::kSuccess) {
    messages::writeStdErr(
        messages::assemble("Opened default window failed: error ", result).c_str());
  }
  // After a failed opening this sets the part of whatever window is active, as the engine
  // would.
  result = operators.DevSetPart(HTuple(0), HTuple(0), HTuple(479), HTuple(639));
  if (result != engine::kSuccess) {
    messages::writeStdErr(
        messages::assemble("Opened default window failed: error ", result).c_str());
  }
  if (messages::verbose()) {
    messages::writeStdOut(
        messages::assemble("Opened default window with ID ", window.ToString().Text()).c_str());
  }
}

}  // namespace quorvex::display
