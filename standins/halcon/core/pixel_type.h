// The vendor's pixel types. Every plane holds one type; an image's type is its planes'. Byte
// is the default everywhere: an operator takes another type only where it names it among the
// types it accepts (imagesOf), and refuses the rest with H_ERR_WIT.
#ifndef QUORVEX_STANDINS_HALCON_PIXEL_TYPE_H
#define QUORVEX_STANDINS_HALCON_PIXEL_TYPE_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace HalconCpp {
namespace Standin {

// 'direction' holds halved angles 0..179 (255: no direction), 'cyclic' bytes whose arithmetic
// wraps around, 'real' 4-byte floats, 'complex' two of them.
enum class PixelType : std::uint8_t {
  Byte,
  Int1,
  Int2,
  Uint2,
  Int4,
  Real,
  Direction,
  Cyclic,
  Complex,
};
constexpr int kPixelTypeCount = 9;

// The reference's names ('byte', 'int2', ...), and back: false for any other name.
const char* pixelTypeName(PixelType type);
bool pixelTypeOf(const std::string& name, PixelType* type);
std::size_t elementSize(PixelType type);

// The smallest and largest value a pixel holds (complex: those of its parts).
double lowestValue(PixelType type);
double highestValue(PixelType type);
// A value as a pixel of the type holds it: clipped to the type's range, rounded to the
// nearest integer for the integer types (NaN is 0); 'direction' gives 255 beyond 0..179.
double storableValue(PixelType type, double value);

// A computed value as the arithmetic operators store it: cyclic values wrap around 256 and
// direction values around 180 (their arithmetic is modular), every other type as
// storableValue.
double arithmeticValue(PixelType type, double value);

class PixelTypes {
 public:
  constexpr PixelTypes(std::initializer_list<PixelType> types) {
    for (const PixelType type : types) bits_ |= bit(type);
  }
  static constexpr PixelTypes all() {
    PixelTypes types{};
    types.bits_ = (1u << kPixelTypeCount) - 1;
    return types;
  }
  constexpr bool has(PixelType type) const { return (bits_ & bit(type)) != 0; }

 private:
  static constexpr unsigned bit(PixelType type) { return 1u << static_cast<unsigned>(type); }
  unsigned bits_ = 0;
};

// The types held in one byte a pixel, which byte histograms take as they are.
constexpr PixelTypes kByteSizedTypes{PixelType::Byte, PixelType::Direction, PixelType::Cyclic};

// Every type but complex: what the arithmetic, feature and colour operators take.
constexpr PixelTypes kRealValuedTypes{PixelType::Byte,      PixelType::Int1,  PixelType::Int2,
                                      PixelType::Uint2,     PixelType::Int4,  PixelType::Real,
                                      PixelType::Direction, PixelType::Cyclic};

}  // namespace Standin
}  // namespace HalconCpp

#endif
