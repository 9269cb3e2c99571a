// sobel_amp's 'x' and 'y': the signed derivative along one axis, an int1 image from bytes.
#ifndef QUORVEX_STANDINS_HALCON_SOBEL_SIGNED_H
#define QUORVEX_STANDINS_HALCON_SOBEL_SIGNED_H

#include "halconcpp/HObject.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

enum class SobelAxis { None, X, Y };

// The image convolved with B ('x') or A ('y') over 4, after the smoothing, each channel an
// int1 plane (rounded to the nearest, clipped to -128..127); the input's domain.
HObject signedSobelImages(const HObject& input, const char* op, SobelAxis axis,
                          const SobelSmoothing& smoothing);

}  // namespace Standin
}  // namespace HalconCpp

#endif
