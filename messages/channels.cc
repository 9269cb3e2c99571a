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

void deliver(const std::atomic<hMessageHandler>& slot, const char* text) {
  if (hMessageHandler handler = slot.load(std::memory_order_relaxed)) handler(text);
}

// This thread's locks and waiting messages. The two counters are plain thread-locals, so
// the common case (nothing held, nothing waiting) touches no queue.
thread_local int heldLocks = 0;
thread_local std::size_t waitingCount = 0;

struct Waiting {
  const std::atomic<hMessageHandler>* slot;
  std::string text;
};

std::deque<Waiting>& waiting() {
  thread_local std::deque<Waiting> queue;
  return queue;
}

// Sends now when nothing waits and no lock is held; otherwise queues behind the waiting ones,
// so that the order stays the order of sending. A message that cannot be queued is dropped.
void send(const std::atomic<hMessageHandler>& slot, const char* text) {
  if (heldLocks == 0 && waitingCount == 0) {
    deliver(slot, text);
    return;
  }
  try {
    waiting().push_back(Waiting{&slot, text});
    ++waitingCount;
  } catch (const std::bad_alloc&) {
    return;
  }
  deliverPending();
}

}  // namespace

void holdMessages() noexcept {
  ++heldLocks;
}
void releaseMessages() noexcept {
  --heldLocks;
}

bool anyPending() noexcept {
  return waitingCount != 0;
}

// Each message leaves the queue before its callback runs, so a callback that calls back into
// the library (which delivers too) neither repeats nor reorders the others.
void deliverPending() {
  while (heldLocks == 0 && waitingCount != 0) {
    std::deque<Waiting>& queue = waiting();
    Waiting next = std::move(queue.front());
    queue.pop_front();
    --waitingCount;
    deliver(*next.slot, next.text.c_str());
  }
}

void setStdOutHandler(hMessageHandler handler) {
  stdOutHandler.store(handler, std::memory_order_relaxed);
}

void setStdErrHandler(hMessageHandler handler) {
  stdErrHandler.store(handler, std::memory_order_relaxed);
}

void writeStdOut(const char* text) {
  send(stdOutHandler, text);
}
void writeStdErr(const char* text) {
  send(stdErrHandler, text);
}

void setVerbose(bool on) {
  verboseFlag.store(on, std::memory_order_relaxed);
}
bool verbose() {
  return verboseFlag.load(std::memory_order_relaxed);
}

}  // namespace quorvex::messages
