#include "messages/channels.h"

#include <atomic>
#include <deque>
#include <new>
#include <string>
#include <utility>

#include "messages/pending.h"

namespace quorvex::messages {
namespace {

// Plain process-wide values set by the caller at any time from any thread. Relaxed atomics
// are single aligned loads and stores, which is all these need: no ordering with anything
// else is promised.
std::atomic<hMessageHandler> stdOutHandler{nullptr};
std::atomic<hMessageHandler> stdErrHandler{nullptr};
std::atomic<bool> verboseFlag{false};

// This thread's state. The counters are plain thread-locals, so the common case (no lock
// held, no callback running, nothing waiting) touches no queue.
thread_local int heldLocks = 0;
thread_local bool inCallback = false;
thread_local std::size_t waitingCount = 0;
thread_local CallbackFailures* openFrame = nullptr;

struct Waiting {
  hMessageHandler handler;
  std::string text;
};

std::deque<Waiting>& waiting() {
  thread_local std::deque<Waiting> queue;
  return queue;
}

bool mayDeliver() noexcept {
  return heldLocks == 0 && !inCallback;
}

void callHandler(hMessageHandler handler, const char* text) noexcept {
  inCallback = true;
  try {
    handler(text);
  } catch (...) {
    noteCallbackFailure(std::current_exception());
  }
  inCallback = false;
}

// Each message leaves the queue before its callback runs, so what the callback sends goes
// behind the ones still waiting.
void deliverWaiting() noexcept {
  while (mayDeliver() && waitingCount != 0) {
    std::deque<Waiting>& queue = waiting();
    Waiting next = std::move(queue.front());
    queue.pop_front();
    --waitingCount;
    callHandler(next.handler, next.text.c_str());
  }
}

void sendOn(const std::atomic<hMessageHandler>& slot, const char* text) noexcept {
  send(slot.load(std::memory_order_relaxed), text);
}

}  // namespace

void send(hMessageHandler handler, const char* text) noexcept {
  if (!handler) return;
  if (mayDeliver() && waitingCount == 0) {
    callHandler(handler, text);
    deliverWaiting();  // what the callback's own calls sent
    return;
  }
  try {
    waiting().push_back(Waiting{handler, text});
    ++waitingCount;
  } catch (const std::bad_alloc&) {
    // Dropped: a message that cannot be copied cannot wait.
  }
  deliverWaiting();
}

void holdMessages() noexcept {
  ++heldLocks;
}
void releaseMessages() noexcept {
  --heldLocks;
  deliverWaiting();
}

void noteCallbackFailure(std::exception_ptr failure) noexcept {
  if (openFrame && !openFrame->failure_) openFrame->failure_ = std::move(failure);
}

CallbackFailures::CallbackFailures() noexcept : outer_(openFrame) {
  openFrame = this;
}
CallbackFailures::~CallbackFailures() {
  openFrame = outer_;
}
std::exception_ptr CallbackFailures::take() noexcept {
  return std::exchange(failure_, nullptr);
}

void setStdOutHandler(hMessageHandler handler) {
  stdOutHandler.store(handler, std::memory_order_relaxed);
}
void setStdErrHandler(hMessageHandler handler) {
  stdErrHandler.store(handler, std::memory_order_relaxed);
}

void writeStdOut(const char* text) {
  sendOn(stdOutHandler, text);
}
void writeStdErr(const char* text) {
  sendOn(stdErrHandler, text);
}

void setVerbose(bool on) {
  verboseFlag.store(on, std::memory_order_relaxed);
}
bool verbose() {
  return verboseFlag.load(std::memory_order_relaxed);
}

}  // namespace quorvex::messages
