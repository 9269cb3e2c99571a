// Images resampled through a mapping from output pixels back to input coordinates, shared by
// the affine and the projective image transformations so that both sample alike.
#ifndef QUORVEX_STANDINS_HALCON_IMAGE_WARP_H
#define QUORVEX_STANDINS_HALCON_IMAGE_WARP_H

#include <cstdint>
#include <functional>

#include "core/image.h"

namespace HalconCpp {
namespace Standin {

// Where the output pixel (row, col) comes from in the input, pixel centres at whole numbers;
// false when it comes from nowhere (a projective map's points at infinity).
using BackMap = std::function<bool(double row, double col, double* x, double* y)>;

// A width x height image of the input's channels. A pixel whose source lies inside the input
// (and, with `domainOnly`, whose nearest source pixel lies in the input's domain) is sampled
// there and joins the output's domain; the others stay 0 outside it.
ImagePtr warpedImage(const ImagePtr& image, const BackMap& back, std::int32_t width,
                     std::int32_t height, bool interpolate, bool domainOnly, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
