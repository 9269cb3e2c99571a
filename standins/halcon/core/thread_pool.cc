#include "core/thread_pool.h"

#include <algorithm>
#include <chrono>
#include <thread>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#endif

namespace HalconCpp {
namespace Standin {

namespace {

constexpr std::uint64_t kPartsMask = 0xffffffffu;
// How long a thread spins before it sleeps: a few tens of microseconds, the cost of a wake-up
// through the kernel on a loaded machine, and a small share of a 640 x 480 operator.
constexpr std::chrono::microseconds kSpinFor{40};
// The first part of the spin pauses; the rest yields, so that on a busy machine another
// runnable thread gets the core instead of this one's spin.
constexpr std::chrono::microseconds kPauseFor{10};

std::uint32_t jobOf(std::uint64_t word) {
  return static_cast<std::uint32_t>(word >> 32);
}

// Tells the core that this is a spin, so that its sibling thread and its power draw gain.
void relax() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  __builtin_ia32_pause();
#elif defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
  _mm_pause();
#elif defined(__GNUC__) && defined(__aarch64__)
  __asm__ __volatile__("yield");
#endif
}

// True as soon as done() is; false when kSpinFor passed first.
template <typename Done>
bool spinUntil(const Done& done) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    for (int i = 0; i < 16; ++i) {
      if (done()) return true;
      relax();
    }
    const auto spent = std::chrono::steady_clock::now() - start;
    if (spent >= kSpinFor) return false;
    if (spent >= kPauseFor) std::this_thread::yield();
  }
}

}  // namespace

bool Pool::run(int parts, const std::function<void(int)>& part) {
  if (parts < 1) return true;
  if (busy_.exchange(true, std::memory_order_acquire)) return false;
  startWorkers(parts - 1);
  part_ = &part;
  parts_ = parts;
  unfinished_.store(parts, std::memory_order_relaxed);
  const std::uint32_t job = jobOf(job_.load(std::memory_order_relaxed)) + 1;
  job_.store(std::uint64_t{job} << 32 | static_cast<std::uint32_t>(parts));
  // Spinning workers see the job by themselves; sleeping ones need the kernel, and only as
  // many as there are parts beyond the caller's. The lock orders the notify after a sleeper's
  // last look at job_, so that none misses it.
  const int asleep = sleepers_.load();
  if (asleep > 0) {
    { quorvex::common::Lock lock(mutex_); }
    if (parts - 1 >= asleep) {
      wake_.notify_all();
    } else {
      for (int i = 0; i < parts - 1; ++i) wake_.notify_one();
    }
  }
  takeParts(job);
  waitForParts();
  std::exception_ptr error;
  if (failed_.load(std::memory_order_acquire)) {
    quorvex::common::Lock lock(mutex_);
    error = error_;
    error_ = nullptr;
    failed_.store(false, std::memory_order_relaxed);
  }
  busy_.store(false, std::memory_order_release);
  if (error) std::rethrow_exception(error);
  return true;
}

void Pool::startWorkers(int wanted) {
  if (started_.load(std::memory_order_acquire) >= wanted) return;
  quorvex::common::Lock lock(mutex_);
  while (started_.load(std::memory_order_relaxed) < wanted) {
    std::thread(&Pool::work, this, jobOf(job_.load(std::memory_order_relaxed))).detach();
    started_.fetch_add(1, std::memory_order_release);
  }
}

void Pool::work(std::uint32_t seen) {
  // Jobs in a row of which this worker took no part. After one such job it still spins: a
  // wake-up through the kernel can come later than a small job's end, and a worker that slept
  // after it would miss every next job of a caller calling back to back in the same way.
  // After two it sleeps: the jobs have fewer parts than the pool has threads, and its spin
  // would only take a core from the others.
  int missed = 2;
  for (;;) {
    seen = nextJob(seen, missed < 2);
    missed = takeParts(seen) ? 0 : std::min(missed + 1, 2);
  }
}

std::uint32_t Pool::nextJob(std::uint32_t seen, bool spin) {
  const auto fresh = [&] { return jobOf(job_.load(std::memory_order_acquire)) != seen; };
  if (!spin || !spinUntil(fresh)) {
    // Counted before the last look at job_, so that a caller that publishes after it sees a
    // sleeper and notifies.
    sleepers_.fetch_add(1);
    {
      quorvex::common::Lock lock(mutex_);
      while (jobOf(job_.load()) == seen) wake_.wait(mutex_);
    }
    sleepers_.fetch_sub(1, std::memory_order_relaxed);
  }
  return jobOf(job_.load(std::memory_order_acquire));
}

bool Pool::takeParts(std::uint32_t job) {
  bool took = false;
  std::uint64_t word = job_.load(std::memory_order_acquire);
  for (;;) {
    if (jobOf(word) != job || (word & kPartsMask) == 0) return took;
    if (!job_.compare_exchange_weak(word, word - 1, std::memory_order_acq_rel,
                                    std::memory_order_acquire)) {
      continue;
    }
    took = true;
    // The job cannot end before this part does, so part_ and parts_ are still its own.
    const int index = parts_ - static_cast<int>(word & kPartsMask);
    try {
      (*part_)(index);
    } catch (...) {
      quorvex::common::Lock lock(mutex_);
      if (!error_) error_ = std::current_exception();
      failed_.store(true, std::memory_order_relaxed);
    }
    if (unfinished_.fetch_sub(1) == 1 && callerAsleep_.load()) {
      { quorvex::common::Lock lock(mutex_); }
      done_.notify_all();
    }
    word = job_.load(std::memory_order_acquire);
  }
}

void Pool::waitForParts() {
  const auto finished = [&] { return unfinished_.load(std::memory_order_acquire) == 0; };
  if (spinUntil(finished)) return;
  // Flagged before the last look at unfinished_, so that the thread ending the last part sees
  // the flag and notifies.
  callerAsleep_.store(true);
  {
    quorvex::common::Lock lock(mutex_);
    while (unfinished_.load() != 0) done_.wait(mutex_);
  }
  callerAsleep_.store(false, std::memory_order_relaxed);
}

}  // namespace Standin
}  // namespace HalconCpp
