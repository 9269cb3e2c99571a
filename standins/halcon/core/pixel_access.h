// Pixels of any type read and written as doubles, for the operators that take several types:
// one reader or writer per plane, chosen once, so that loops stay free of the type switch.
#ifndef QUORVEX_STANDINS_HALCON_PIXEL_ACCESS_H
#define QUORVEX_STANDINS_HALCON_PIXEL_ACCESS_H

#include <cstddef>
#include <cstdint>

#include "core/image.h"

namespace HalconCpp {
namespace Standin {

// Pixel i of a plane's memory; complex pixels read as their real part.
using PixelReader = double (*)(const std::uint8_t* data, std::size_t i);
// Stores storableValue(type, value) at pixel i; complex pixels get it as their real part and
// 0 as their imaginary part.
using PixelWriter = void (*)(std::uint8_t* data, std::size_t i, double value);

PixelReader readerOf(PixelType type);
PixelWriter writerOf(PixelType type);

// Whether values of the type are reals (real, complex) rather than integers.
inline bool holdsReals(PixelType type) {
  return type == PixelType::Real || type == PixelType::Complex;
}

// Whether the window shows the type's values as they are (byte, direction, cyclic) rather
// than through displayBytes.
inline bool displaysAsBytes(PixelType type) {
  return type == PixelType::Byte || type == PixelType::Direction || type == PixelType::Cyclic;
}

// An image of another type as the window shows it: a byte image of the same size and domain,
// its values mapped linearly from the smallest value in the domain (0) to the largest (255)
// over all channels; a domain of one value shows that value clipped to 0..255.
ImagePtr displayBytes(const ImageObject& image, const char* op);

}  // namespace Standin
}  // namespace HalconCpp

#endif
