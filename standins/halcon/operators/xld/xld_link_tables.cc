#include "operators/xld/xld_link_tables.h"

#include <algorithm>
#include <atomic>
#include <new>

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
