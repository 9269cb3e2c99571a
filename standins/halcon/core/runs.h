// Regions as sorted runs: the pixels of each row as horizontal intervals, ordered by row and
// first column, never overlapping or touching within a row. Shared by regions, image
// domains and the windows' drawing, which maps runs into window coordinates.
#ifndef QUORVEX_STANDINS_HALCON_RUNS_H
#define QUORVEX_STANDINS_HALCON_RUNS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/memory_bounds.h"

namespace HalconCpp {
namespace Standin {

struct Run {
  std::int32_t row;
  std::int32_t begin;  // first column
  std::int32_t end;    // last column, inclusive
};
// Every allocation of runs is charged to the pixel bound (memory_bounds.h) before it is
// made, with what the heap keeps beside it, so that no operator can build more runs than
// the bound allows, whatever it builds them with.
template <typename T>
struct ChargedAllocator {
  using value_type = T;
  static constexpr std::uint64_t kOverhead = 64;

  ChargedAllocator() = default;
  template <typename U>
  ChargedAllocator(const ChargedAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    const std::uint64_t bytes = std::uint64_t{n} * sizeof(T) + kOverhead;
    chargeRunStorage(bytes);
    try {
      return std::allocator<T>().allocate(n);
    } catch (...) {
      releaseRunStorage(bytes);
      throw;
    }
  }
  void deallocate(T* p, std::size_t n) noexcept {
    std::allocator<T>().deallocate(p, n);
    releaseRunStorage(std::uint64_t{n} * sizeof(T) + kOverhead);
  }
  template <typename U>
  bool operator==(const ChargedAllocator<U>&) const noexcept {
    return true;
  }
  template <typename U>
  bool operator!=(const ChargedAllocator<U>&) const noexcept {
    return false;
  }
};

using Runs = std::vector<Run, ChargedAllocator<Run>>;

// Sorts runs and merges those that overlap or touch, so that any list becomes canonical.
Runs normalizeRuns(Runs runs);

Runs rectangleRuns(std::int32_t row1, std::int32_t col1, std::int32_t row2, std::int32_t col2);
// The pixels whose centres lie within `radius` of the centre.
Runs circleRuns(double row, double col, double radius);
Runs clipRuns(const Runs& runs, std::int32_t rows, std::int32_t cols);

std::int64_t runsArea(const Runs& runs);
// Centre of mass; (0, 0) for an empty region, as the vendor reports it.
void runsCenter(const Runs& runs, double* row, double* col);
bool runsContain(const Runs& runs, std::int32_t row, std::int32_t col);
// Bounding box; false for an empty region.
bool runsBox(const Runs& runs, std::int32_t* row1, std::int32_t* col1, std::int32_t* row2,
             std::int32_t* col2);

// 8-connected (or 4-connected) components, ordered by their first run (top-most, then
// left-most).
std::vector<Runs> connectedRuns(const Runs& runs, int neighbourhood = 8);

// The inner border of a region: every pixel of it within `width` pixels (horizontally,
// vertically or diagonally) of a pixel outside it.
Runs marginRuns(const Runs& runs, int width);

}  // namespace Standin
}  // namespace HalconCpp

#endif
