// smooth_image's two passes over a byte plane (recursive_blocks.cc) as one job on the operators'
// threads: the first pass's parts, then, once all of them are done, the bands of blocks. One
// hand-off a call instead of one a pass: at 640 x 480 a call is a tenth of a millisecond, and on
// a busy machine a worker that has to be woken twice misses the second pass more often than not.
#ifndef QUORVEX_STANDINS_HALCON_RECURSIVE_PHASES_H
#define QUORVEX_STANDINS_HALCON_RECURSIVE_PHASES_H

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/threads.h"

namespace HalconCpp {
namespace Standin {

// Runs first(0) ... first(firsts - 1) and then second(0) ... second(seconds - 1). Each thread
// of the job claims the next part of a phase until none is left, and at the end of the first
// phase waits only for parts that another thread has claimed and is running, never for one
// that nobody took: a thread that comes late, or not at all, leaves its parts to the others,
// and a thread that runs the job's parts one after the other runs them all. In the second
// phase a thread first takes the parts numbered as the first phase's parts it ran, whose data
// its own cache holds, then any left. A part that raises still counts as done; forBands raises
// its exception again once every thread has finished.
inline void forTwoPhases(int firsts, const std::function<void(int)>& first, int seconds,
                         const std::function<void(int)>& second) {
  std::atomic<int> nextFirst{0}, firstsDone{0};
  const auto taken = std::make_unique<std::atomic<bool>[]>(static_cast<std::size_t>(seconds));
  for (int part = 0; part < seconds; ++part) taken[static_cast<std::size_t>(part)] = false;
  const auto take = [&](int part) {
    if (!taken[static_cast<std::size_t>(part)].exchange(true)) second(part);
  };
  const int threads = std::max(firsts, seconds);
  forBands(threads, threads, [&](int, std::int64_t, std::int64_t) {
    std::uint64_t ran = 0;  // the first phase's parts below 64 this thread ran
    for (int part; (part = nextFirst.fetch_add(1)) < firsts;) {
      struct Done {
        std::atomic<int>& count;
        ~Done() { count.fetch_add(1, std::memory_order_release); }
      } done{firstsDone};
      if (part < 64) ran |= std::uint64_t{1} << part;
      first(part);
    }
    awaitCount(firstsDone, firsts);
    for (int part = 0; part < std::min(seconds, 64); ++part) {
      if (ran >> part & 1) take(part);
    }
    for (int part = 0; part < seconds; ++part) take(part);
  });
}

}  // namespace Standin
}  // namespace HalconCpp

#endif
