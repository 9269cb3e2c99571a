// The pool behind forBands: one job at a time, its parts taken in turn by the workers and the
// calling thread. At 640 x 480 an operator's work is a fraction of a millisecond, so the
// hand-off must cost microseconds, not a wake-up through the kernel: workers that just finished
// a part spin briefly on the job word before they sleep, parts are taken with a compare-and-
// swap, and the caller spins briefly before it sleeps on the last part. Every spin is
// bounded, so that a busy machine loses no core to it.
#ifndef QUORVEX_STANDINS_HALCON_THREAD_POOL_H
#define QUORVEX_STANDINS_HALCON_THREAD_POOL_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>

#include "common/annotated_mutex.h"

namespace HalconCpp {
namespace Standin {

// Workers are detached and the pool is never destroyed, so that no static destructor waits
// for them.
class Pool {
 public:
  // False when another job holds the pool: the caller then does the work alone. Otherwise
  // calls part(0) ... part(parts - 1) on the workers and this thread, returns when all are
  // done and raises again the first exception a part raised.
  bool run(int parts, const std::function<void(int)>& part) QUORVEX_EXCLUDES(mutex_);

 private:
  void startWorkers(int wanted) QUORVEX_EXCLUDES(mutex_);
  void work(std::uint32_t seen) QUORVEX_EXCLUDES(mutex_);
  std::uint32_t nextJob(std::uint32_t seen, bool spin) QUORVEX_EXCLUDES(mutex_);
  bool takeParts(std::uint32_t job) QUORVEX_EXCLUDES(mutex_);
  void waitForParts() QUORVEX_EXCLUDES(mutex_);

  // The job's number (high half) and the parts no thread has taken yet (low half), in one
  // word, so that a worker late from an earlier job can never take a part of this one.
  std::atomic<std::uint64_t> job_{0};
  std::atomic<int> unfinished_{0};
  std::atomic<bool> busy_{false};
  std::atomic<int> started_{0};
  // Workers asleep on wake_, and the caller asleep on done_: only then is a notify needed.
  std::atomic<int> sleepers_{0};
  std::atomic<bool> callerAsleep_{false};
  // A part raised: error_ holds the first exception.
  std::atomic<bool> failed_{false};
  // Written by the caller before it publishes the job in job_, read only by a thread that
  // took one of its parts, which the caller waits for before it writes them again.
  const std::function<void(int)>* part_ = nullptr;
  int parts_ = 0;

  quorvex::common::Mutex mutex_;
  std::condition_variable_any wake_, done_;
  std::exception_ptr error_ QUORVEX_GUARDED_BY(mutex_);
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
