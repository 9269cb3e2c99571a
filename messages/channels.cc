#include "messages/channels.h"

#include <atomic>

namespace quorvex::messages {
namespace {

// Plain process-wide values set by the caller at any time from any thread. Relaxed atomics
// are single aligned loads and stores, which is all these need: no ordering with anything
// else is promised.
std::atomic<hMessageHandler> stdOutHandler{nullptr};
std::atomic<hMessageHandler> stdErrHandler{nullptr};
std::atomic<bool> verboseFlag{false};

void deliver(const std::atomic<hMessageHandler>& slot, const char* text) {
  if (hMessageHandler handler = slot.load(std::memory_order_relaxed)) handler(text);
}

}  // namespace

void setStdOutHandler(hMessageHandler handler) {
  stdOutHandler.store(handler, std::memory_order_relaxed);
}

void setStdErrHandler(hMessageHandler handler) {
  stdErrHandler.store(handler, std::memory_order_relaxed);
}

void writeStdOut(const char* text) {
  deliver(stdOutHandler, text);
}
void writeStdErr(const char* text) {
  deliver(stdErrHandler, text);
}

void setVerbose(bool on) {
  verboseFlag.store(on, std::memory_order_relaxed);
}
bool verbose() {
  return verboseFlag.load(std::memory_order_relaxed);
}

}  // namespace quorvex::messages
