// Messages sent while the library holds one of its locks wait on the sending thread and are
// delivered once that thread holds none: a callback never runs under a library lock, so it
// may call back into the library, and one that unwinds leaves no lock behind.
#ifndef QUORVEX_MESSAGES_PENDING_H
#define QUORVEX_MESSAGES_PENDING_H

#include "engine/annotated_mutex.h"

namespace quorvex::messages {

// Counts the library locks this thread holds; messages it sends meanwhile wait.
void holdMessages() noexcept;
void releaseMessages() noexcept;

// Whether messages wait on this thread.
bool anyPending() noexcept;

// Delivers this thread's waiting messages in the order they were sent, unless it still holds
// a library lock. A callback's exception propagates; the message it was given counts as
// delivered and the later ones keep waiting.
void deliverPending();

// A library lock, held for its scope, under which this thread's messages wait. They are
// delivered by the exported-call frame, after every lock is released.
class QUORVEX_SCOPED_CAPABILITY HoldingLock {
 public:
  explicit HoldingLock(engine::Mutex& mutex) QUORVEX_ACQUIRE(mutex) : mutex_(mutex) {
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
  engine::Mutex& mutex_;
};

}  // namespace quorvex::messages

#endif
