#include "operators/xld/xld_link_tables.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "core/threads.h"

namespace HalconCpp {
namespace Standin {
namespace linking {

namespace {

// Planes up to a 4096 x 4096 image's are kept.
constexpr std::size_t kKeptPlane = std::size_t{4098} * 4098;
thread_local ZeroPlane keptPlane;

// The tables of up to this many points (and rows) are kept.
constexpr std::size_t kKeptPoints = std::size_t{1} << 19;
thread_local std::unique_ptr<LinkTables> keptTables;

}  // namespace

ZeroPlane zeroPlane(std::size_t size) {
  if (keptPlane.bytes && keptPlane.size == size) return std::move(keptPlane);
  ZeroPlane plane;
  // Zeroed by the allocator: a large plane comes as fresh pages, which only those the points
  // touch ever fill.
  plane.bytes.reset(static_cast<std::uint8_t*>(std::calloc(size, 1)));
  if (!plane.bytes) throw std::bad_alloc();
  plane.size = size;
  return plane;
}

void keepZeroPlane(ZeroPlane plane, const std::vector<std::size_t>& place, bool zeroed) {
  if (plane.size > kKeptPlane) return;
  if (!zeroed) {
    for (const std::size_t i : place) plane.bytes[i] = 0;
  }
  keptPlane = std::move(plane);
}

int partsFor(std::int64_t items, int bands) {
  return bands > 1 ? static_cast<int>(std::min<std::int64_t>(items, 8 * std::int64_t{bands})) : 1;
}

void inParts(std::int64_t items, int bands, int parts,
             const std::function<void(std::int64_t, std::int64_t)>& body) {
  TakenFromEnds taken(static_cast<std::uint32_t>(parts));
  forBands(bands, bands, [&](int, std::int64_t, std::int64_t) {
    for (std::int64_t part = taken.next(); part >= 0; part = taken.next()) {
      body(bandStart(items, parts, static_cast<int>(part)),
           bandStart(items, parts, static_cast<int>(part) + 1));
    }
  });
}

void inPhases(int bands, std::initializer_list<Phase> phases) {
  const std::vector<Phase> list(phases);
  std::vector<std::unique_ptr<TakenFromEnds>> taken;
  for (const Phase& phase : list) {
    taken.push_back(std::make_unique<TakenFromEnds>(static_cast<std::uint32_t>(phase.parts)));
  }
  const std::unique_ptr<std::atomic<int>[]> done(new std::atomic<int>[list.size()]());
  std::atomic<bool> failed{false};
  forBands(bands, bands, [&](int, std::int64_t, std::int64_t) {
    // A thread whose part raises still takes the parts left, so that none is left for the others
    // to wait for; it raises once the phase is done, and no thread starts the next.
    std::exception_ptr error;
    for (std::size_t p = 0; p < list.size(); ++p) {
      const Phase& phase = list[p];
      if (p > 0) {
        awaitCount(done[p - 1], list[p - 1].parts);
        if (error) std::rethrow_exception(error);
        if (failed.load(std::memory_order_relaxed)) return;
        // Every thread reads the same finished phases: all of them stop here, or none.
        if (phase.go && !phase.go()) return;
      }
      for (std::int64_t part = taken[p]->next(); part >= 0; part = taken[p]->next()) {
        try {
          phase.body(bandStart(phase.items, phase.parts, static_cast<int>(part)),
                     bandStart(phase.items, phase.parts, static_cast<int>(part) + 1));
        } catch (...) {
          if (!error) error = std::current_exception();
          failed.store(true, std::memory_order_relaxed);
        }
        done[p].fetch_add(1, std::memory_order_release);
      }
    }
    if (error) std::rethrow_exception(error);
  });
}

TablesOfCall::TablesOfCall() : tables_(keptOnThread(keptTables)) {}

TablesOfCall::~TablesOfCall() {
  // The rows' table follows the image's height, the others the points.
  if (tables_.held.capacity() > kKeptPoints || tables_.rowStart.capacity() > kKeptPoints) {
    tables_ = LinkTables();
  }
}

}  // namespace linking
}  // namespace Standin
}  // namespace HalconCpp
