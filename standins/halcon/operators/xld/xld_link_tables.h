// The linking's buffers (xld_link.cc): its plane of states and its tables of the points, kept by
// the calling thread from call to call, and the parts its bands share out.
#ifndef QUORVEX_STANDINS_HALCON_XLD_LINK_TABLES_H
#define QUORVEX_STANDINS_HALCON_XLD_LINK_TABLES_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "operators/xld/xld_link_point.h"

namespace HalconCpp {
namespace Standin {
namespace linking {

// The linking's plane of states, all 0, kept by each thread for its next call of the same size:
// a fresh one costs a page fault and the zeroing of every page the points touch. A call that
// fails on the way leaves its plane to be freed.
struct ZeroPlane {
  std::unique_ptr<std::uint8_t[], void (*)(void*)> bytes{nullptr, std::free};
  std::size_t size = 0;
};
// The calling thread's plane of `size`, all 0.
ZeroPlane zeroPlane(std::size_t size);
// The states are set at the points' places alone: zeroing those (unless `zeroed` already) makes
// the plane new again, kept for the thread's next call.
void keepZeroPlane(ZeroPlane plane, const std::vector<std::size_t>& place, bool zeroed = false);

// Items [0, count) taken one at a time from both ends: the operator's calling thread from the
// first, the pool's threads from the last. On two threads each then takes, step after step, the
// rows it took in the step before, whose points, tables and states its own cache holds, while one
// the machine holds up still leaves the rest of its share to the other.
class TakenFromEnds {
 public:
  explicit TakenFromEnds(std::uint32_t count) : ends_(count), caller_(std::this_thread::get_id()) {}
  // The next item not yet taken, or -1.
  std::int64_t next() {
    const bool first = std::this_thread::get_id() == caller_;
    std::uint64_t word = ends_.load(std::memory_order_relaxed);
    for (;;) {
      const auto lo = static_cast<std::uint32_t>(word >> 32), hi = static_cast<std::uint32_t>(word);
      if (lo >= hi) return -1;
      const std::uint64_t taken = first ? word + (std::uint64_t{1} << 32) : word - 1;
      if (ends_.compare_exchange_weak(word, taken, std::memory_order_relaxed)) {
        return first ? lo : hi - 1;
      }
    }
  }

 private:
  // The first item left in the high half, the end of those left in the low half.
  std::atomic<std::uint64_t> ends_;
  std::thread::id caller_;
};

// Parts enough for each of `bands` threads to take several, so that one the machine holds up
// leaves the rest of its share to the others.
int partsFor(std::int64_t items, int bands);
// Calls body(begin, end) for `parts` contiguous parts of [0, items), on `bands` threads that
// each take the next part not yet taken (TakenFromEnds).
void inParts(std::int64_t items, int bands, int parts,
             const std::function<void(std::int64_t, std::int64_t)>& body);
// A phase of inPhases: body(begin, end) for `parts` contiguous parts of [0, items), run only
// when `go` (if given) is true once the phases before it are done.
struct Phase {
  std::int64_t items;
  int parts;
  std::function<void(std::int64_t, std::int64_t)> body;
  std::function<bool()> go;
};
// The phases one after the other, each started once every part of the one before is done, in one
// job: one hand-off to the pool's threads instead of one a phase. Each thread takes the parts of
// a phase as inParts does (the same end in each phase, whose rows its cache holds), and waits
// between phases only for parts another thread has taken and still runs, never for one nobody
// took.
void inPhases(int bands, std::initializer_list<Phase> phases);

// The points' pixels, each with its state in the two lowest bits (so that the pixels alone still
// order them; an image has at most 2^30 pixels, which leaves them free even in 32 bits) and its
// point: the plane of states is filled without a read of every point, each a miss of the cache.
using Held = std::vector<std::pair<std::size_t, const LinkPoint*>>;

inline Held::value_type heldOf(const LinkPoint& point) {
  return {point.pixel << 2 | static_cast<std::size_t>(point.state & 3), &point};
}

// The tables of a call, a few of the points' size each, kept by the calling thread for its next
// call: fresh ones cost the zeroing of every page, on the calling thread alone, before the bands
// start. Each call sets every entry it reads.
struct LinkTables {
  Held held;
  std::vector<std::size_t> rowStart, place, above, below, root, next, last, groupRoot;
  std::vector<std::uint8_t> strong;
};

// A contour's lists before they are its own, kept by each thread that builds contours.
struct BuildScratch {
  std::vector<const LinkPoint*> points;
  std::vector<std::vector<double>> values;
};

// The calling thread's tables for one call, let go after a call of more points than are kept.
class TablesOfCall {
 public:
  TablesOfCall();
  ~TablesOfCall();
  TablesOfCall(const TablesOfCall&) = delete;
  TablesOfCall& operator=(const TablesOfCall&) = delete;
  LinkTables& operator*() { return tables_; }

 private:
  LinkTables& tables_;
};

}  // namespace linking
}  // namespace Standin
}  // namespace HalconCpp

#endif
