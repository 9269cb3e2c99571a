// Bounds on what images and windows hold in one process, taken before the memory is: a
// program that makes images or opens windows in a loop fails with the vendor's error at the
// operator that would pass a bound, long before the machine runs out of memory.
//   "standin_pixel_limit": bytes of pixels that images and window framebuffers may hold
//       together (default 4 GiB on 64-bit targets, 1 GiB on 32-bit ones); beyond: 6001.
//   "standin_window_limit": windows open at once (default 256); beyond: 5101.
//   "standin_pixel_bytes": read-only, the bytes held now.
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

// Raises 5101 in `op` when `open` windows are already at the bound.
void checkWindowCount(std::size_t open, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
