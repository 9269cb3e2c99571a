// The rank filters on the pixel types beside byte (int2, uint2, int4, real): each plane read as
// doubles, the grey values replaced by their place among the plane's distinct values, the
// window of the mask kept as counts of those places, and the place of the rank turned back
// into its grey value. Byte images keep the histogram path of image_median.cc.
#ifndef QUORVEX_STANDINS_HALCON_TYPED_RANK_H
#define QUORVEX_STANDINS_HALCON_TYPED_RANK_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "core/image.h"
#include "core/pixel_type.h"
#include "halconcpp/HObject.h"
#include "halconcpp/HTuple.h"
#include "operators/filters/image_kernels.h"

namespace HalconCpp {
namespace Standin {

constexpr PixelTypes kRankTypes{PixelType::Byte, PixelType::Int2, PixelType::Uint2, PixelType::Int4,
                                PixelType::Real};

// A Margin parameter before the image's type is known: a constant of any finite value; a byte
// image takes only 0 ... 255 (checked by byteMargin).
struct TypedMargin {
  Margin::Kind kind = Margin::Mirrored;
  double value = 0;
};
TypedMargin typedMarginOf(const HTuple& value, const char* op, int n);
Margin byteMargin(const TypedMargin& margin, const char* op, int n);

// The grey value of rank `rank` (0: the least) among the mask's pixels about each pixel of the
// extent, beyond the edges as the margin says.
void rankDoubles(const double* src, PlaneSize size, const Extent& extent, const Runs& mask,
                 const TypedMargin& margin, std::size_t rank, double* dst, const char* op);

using BytePlaneFilter =
    std::function<void(const std::uint8_t*, PlaneSize, const Extent&, std::uint8_t*)>;
using TypedPlaneFilter = std::function<void(const double*, PlaneSize, const Extent&, double*)>;
// Each channel of each image through `bytes` (byte images) or `typed` (the others, stored back
// as the type stores a value), into an image of the same type, size and domain.
HObject rankFilterImages(const HObject& input, const char* op, const BytePlaneFilter& bytes,
                         const TypedPlaneFilter& typed);

}  // namespace Standin
}  // namespace HalconCpp

#endif
