#include "render/blend.h"

#include <cstdint>

#include "render/blend_detail.h"

namespace quorvex::render {

namespace detail {

void blendPixels(const BlendPlanes& planes, std::size_t begin, std::size_t end) {
  for (std::size_t p = begin; p < end; ++p) {
    // Alpha is read once, before any channel is written: a window plane may be the alpha plane.
    const unsigned a = planes.alpha[p];
    planes.red[p] = blendByte(planes.logoRed[p], planes.red[p], a);
    planes.green[p] = blendByte(planes.logoGreen[p], planes.green[p], a);
    planes.blue[p] = blendByte(planes.logoBlue[p], planes.blue[p], a);
  }
}

bool needsReferenceOrder(const BlendPlanes& planes, std::size_t n) {
  if (n == 0) return false;
  const std::uintptr_t written[] = {
      reinterpret_cast<std::uintptr_t>(planes.red),
      reinterpret_cast<std::uintptr_t>(planes.green),
      reinterpret_cast<std::uintptr_t>(planes.blue),
  };
  const std::uintptr_t all[] = {
      written[0],
      written[1],
      written[2],
      reinterpret_cast<std::uintptr_t>(planes.logoRed),
      reinterpret_cast<std::uintptr_t>(planes.logoGreen),
      reinterpret_cast<std::uintptr_t>(planes.logoBlue),
      reinterpret_cast<std::uintptr_t>(planes.alpha),
  };
  for (const std::uintptr_t w : written) {
    for (const std::uintptr_t x : all) {
      const bool overlap = w < x + n && x < w + n;
      if (overlap && w != x) return true;
    }
  }
  return false;
}

}  // namespace detail

void blendReference(const BlendPlanes& planes, std::size_t n) {
  detail::blendPixels(planes, 0, n);
}

}  // namespace quorvex::render
