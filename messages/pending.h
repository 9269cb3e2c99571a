// When a message reaches its callback. A callback may call back into the library, so it never
// runs while this thread holds one of the library's locks, and never inside another callback
// on the same thread:
//  - a message sent while neither is the case is delivered at once;
//  - one sent under a lock waits on its thread and is delivered when the thread releases its
//    last library lock, before the operation that sent it takes its next step;
//  - one sent while a callback runs (by that callback's own calls into the library) waits
//    until the callback returns and is delivered right after it.
// Waiting messages keep the order of sending across both channels, and each carries the
// handler its channel's slot held when it was sent.
#ifndef QUORVEX_MESSAGES_PENDING_H
#define QUORVEX_MESSAGES_PENDING_H

#include <exception>

#include "common/annotated_mutex.h"
#include "quorvex.h"

namespace quorvex::messages {

// Delivers `text` to `handler` now or after what waits, by the rules above. A callback's
// exception ends that delivery only (see CallbackFailures).
void send(hMessageHandler handler, const char* text) noexcept;

// Counts the library locks this thread holds; the last release delivers what waited.
void holdMessages() noexcept;
void releaseMessages() noexcept;

// A library lock, held for its scope; messages sent meanwhile wait for its release.
class QUORVEX_SCOPED_CAPABILITY HoldingLock {
 public:
  explicit HoldingLock(common::Mutex& mutex) QUORVEX_ACQUIRE(mutex) : mutex_(mutex) {
    mutex_.lock();
    holdMessages();
  }
  ~HoldingLock() QUORVEX_RELEASE() {
    mutex_.unlock();
    releaseMessages();
  }
  HoldingLock(const HoldingLock&) = delete;
  HoldingLock& operator=(const HoldingLock&) = delete;

 private:
  common::Mutex& mutex_;
};

class CallbackFailures;
// Keeps a callback's failure for the innermost open frame on this thread, if any.
void noteCallbackFailure(std::exception_ptr failure) noexcept;

// What a callback throws is caught where its message is delivered, so that it unwinds neither
// the library's locks nor the vendor's frames. An export's frame opens one of these: the
// first failure of a callback during the export is kept for the export to report; a failure
// with no frame open on the thread (an engine thread of its own, an export without a record)
// is dropped.
class CallbackFailures {
 public:
  CallbackFailures() noexcept;
  ~CallbackFailures();
  // The first callback failure since this frame opened, or null; taking it clears it.
  std::exception_ptr take() noexcept;
  CallbackFailures(const CallbackFailures&) = delete;
  CallbackFailures& operator=(const CallbackFailures&) = delete;

 private:
  CallbackFailures* outer_;
  std::exception_ptr failure_;
  friend void noteCallbackFailure(std::exception_ptr failure) noexcept;
};

}  // namespace quorvex::messages

#endif
