// Bounds on what images and windows hold in one process, taken before the memory is: a
// program that makes images or opens windows in a loop fails with the vendor's error at the
// operator that would pass a bound, long before the machine runs out of memory.
//   "standin_pixel_limit": bytes of pixels that images and window framebuffers may hold
//       together (default 4 GiB on 64-bit targets, 1 GiB on 32-bit ones); beyond: 6001.
//   "standin_window_limit": windows open at once (default 256); beyond: 5101.
//   "standin_pixel_bytes": read-only, the bytes held now.
// The runs of regions (core/runs.h) count against the pixel bound as well: a region of
// millions of runs (a threshold of a striped image, a chain of region operators) holds more
// memory than its image, and fails with 6001 before it is built.
#ifndef QUORVEX_STANDINS_HALCON_MEMORY_BOUNDS_H
#define QUORVEX_STANDINS_HALCON_MEMORY_BOUNDS_H

#include <cstdint>

namespace HalconCpp {
namespace Standin {

// A share of the pixel bound, given back when the holder goes.
class PixelReservation {
 public:
  PixelReservation() = default;
  // Raises 6001 in `op` when `bytes` more would pass the bound.
  PixelReservation(std::uint64_t bytes, const char* op);
  ~PixelReservation();
  PixelReservation(PixelReservation&& other) noexcept;
  PixelReservation& operator=(PixelReservation&& other) noexcept;
  PixelReservation(const PixelReservation&) = delete;
  PixelReservation& operator=(const PixelReservation&) = delete;

  // Holds `bytes` instead: raises 6001 in `op` when growing would pass the bound, and then
  // holds what it held. A null `op` never raises (a resize the native side already made).
  void change(std::uint64_t bytes, const char* op);

 private:
  std::uint64_t bytes_ = 0;
};

// Takes `bytes` of run storage from the pixel bound before they are allocated. Raises 6001
// in the operation the caller entered when they would pass the bound; outside any operation
// (a window repainting itself) it takes them regardless, as a resize does.
void chargeRunStorage(std::uint64_t bytes);
void releaseRunStorage(std::uint64_t bytes);

// Raises 5101 in `op` when `open` windows are already at the bound.
void checkWindowCount(std::size_t open, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
