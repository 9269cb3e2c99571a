// sobel_amp on a byte plane without smoothing (size 3), in whole numbers: the masks' sums of
// bytes are exact in 16 bits, and every amplitude rounds as the doubles do.
#ifndef QUORVEX_STANDINS_HALCON_SOBEL_BYTES_H
#define QUORVEX_STANDINS_HALCON_SOBEL_BYTES_H

#include <cstdint>

#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

// The same bytes as sobelPlane's doubles, in rows shared out on the operators' threads.
void sobelBytes(const std::uint8_t* src, PlaneSize size, SobelAmplitude amplitude,
                std::uint8_t* dst);

}  // namespace Standin
}  // namespace HalconCpp

#endif
