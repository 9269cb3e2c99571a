// Planes of one image as an encoder takes them: bytes, or 16-bit samples in the machine's
// order (uint2, which TIFF alone holds).
#ifndef QUORVEX_STANDINS_HALCON_PLANE_VIEW_H
#define QUORVEX_STANDINS_HALCON_PLANE_VIEW_H

#include <cstdint>
#include <vector>

namespace HalconCpp {
namespace Standin {

struct PlaneView {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<const std::uint8_t*> planes;
  std::size_t sampleBytes = 1;
};

}  // namespace Standin
}  // namespace HalconCpp

#endif
